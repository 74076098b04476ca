#include "common/LanguageStrings.h"

#include <set>

#include "common/XmlSettingsFile.h"

namespace {

const TCHAR kElements[] = _T("Elements");
const TCHAR kElementPrefix[] = _T("Element-");

// The index of a child named "Element-<i>" as the pack's writer names it
// (decimal, no sign, no leading zero), or -1.
long long ElementIndex(const CString& strName)
{
    const int nPrefix = static_cast<int>(_tcslen(kElementPrefix));
    if (strName.GetLength() <= nPrefix || strName.Left(nPrefix) != kElementPrefix)
        return -1;
    CString strDigits = strName.Mid(nPrefix);
    if (strDigits.GetLength() > 10 || (strDigits[0] == _T('0') && strDigits.GetLength() > 1))
        return -1;
    long long nIndex = 0;
    for (int i = 0; i < strDigits.GetLength(); ++i)
    {
        if (strDigits[i] < _T('0') || strDigits[i] > _T('9'))
            return -1;
        nIndex = nIndex * 10 + (strDigits[i] - _T('0'));
    }
    return nIndex;
}

}  // namespace

void AFXAPI CLanguageStrings::ReplaceEscapes(CString& strText)
{
    strText.Replace(_T("\\r"), _T("\r"));
    strText.Replace(_T("\\n"), _T("\n"));
    strText.Replace(_T("\\t"), _T("\t"));
    strText.Replace(_T("\\sp"), _T(" "));
}

BOOL CLanguageStrings::Load(LPCTSTR pszPath)
{
    CXmlSettingsFile file(pszPath, FALSE);
    int nCodePage = 1252;
    file.GetInt(kElements, _T("CodePage"), nCodePage);
    m_nCodePage = static_cast<UINT>(nCodePage);
    int nCount = 0;
    file.GetInt(kElements, _T("Count"), nCount);
    if (nCount < 1)
        return TRUE;

    // The count is the file's word: only elements the document holds are
    // visited, in index order, so a huge count costs nothing.
    CStringArray names;
    file.GetChildNames(kElements, names);
    std::set<long long> indexes;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        long long nIndex = ElementIndex(names[i]);
        if (nIndex >= 0 && nIndex < nCount)
            indexes.insert(nIndex);
    }
    for (long long nIndex : indexes)
    {
        CString strPath;
        strPath.Format(_T("%s\\%s%i"), kElements, kElementPrefix, static_cast<int>(nIndex));
        int nID = 0;
        file.GetInt(strPath, _T("ID"), nID);
        CString strText;
        CString strDescription;
        file.GetString(strPath, _T("Text"), strText);
        file.GetString(strPath, _T("Description"), strDescription);
        ReplaceEscapes(strText);
        ReplaceEscapes(strDescription);
        if (!strText.IsEmpty())
            m_texts[static_cast<UINT>(nID)] = strText;
        if (!strDescription.IsEmpty())
            m_descriptions[static_cast<UINT>(nID)] = strDescription;
    }
    return TRUE;
}

LPCTSTR CLanguageStrings::GetText(UINT nID) const
{
    auto it = m_texts.find(nID);
    return it != m_texts.end() ? it->second.GetString() : nullptr;
}

LPCTSTR CLanguageStrings::GetDescription(UINT nID) const
{
    auto it = m_descriptions.find(nID);
    return it != m_descriptions.end() ? it->second.GetString() : nullptr;
}
