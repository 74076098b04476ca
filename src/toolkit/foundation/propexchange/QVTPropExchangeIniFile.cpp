#include "toolkit/foundation/propexchange/QVTPropExchangeIniFile.h"

#include <vector>

IMPLEMENT_DYNAMIC(CQVTPropExchangeIniFile, CQVTPropExchange)

namespace {
// Stands for a missing key, so an empty value can be told apart from it.
const WCHAR kMissing[] = u"\x01\x02\x03";
// Values longer than this are refused rather than cut.
const DWORD kMaxValueChars = 16 * 1024 * 1024;
const DWORD kMaxSectionNameChars = 64 * 1024 * 1024;
}  // namespace

CQVTPropExchangeIniFile::CQVTPropExchangeIniFile(BOOL bLoading, LPCTSTR lpszParentSection,
                                                 LPCTSTR lpszSection)
    : m_bDeleteFile(TRUE)
{
    m_bLoading = bLoading;
    m_bEmptySection = TRUE;
    CString strName(lpszSection ? lpszSection : u"");
    if (lpszParentSection != nullptr)
        m_strSectionName = CString(lpszParentSection) + u"\\" + strName;
    else
        m_strSectionName = strName;
}

CQVTPropExchangeIniFile::~CQVTPropExchangeIniFile()
{
    if (!m_bChildSection && m_bDeleteFile && !m_strFileName.IsEmpty())
        ::DeleteFile(m_strFileName);
}

void CQVTPropExchangeIniFile::SetIniFileName(LPCTSTR lpszIniFile)
{
    m_strFileName = lpszIniFile ? lpszIniFile : u"";
    m_bDeleteFile = FALSE;
    m_bEmptySection = FALSE;
}

BOOL CQVTPropExchangeIniFile::OnBeforeExchange()
{
    if (!m_bInitialized)
    {
        if (m_strFileName.IsEmpty())
        {
            WCHAR szFolder[MAX_PATH + 1] = {};
            WCHAR szFile[MAX_PATH + 1] = {};
            DWORD n = ::GetTempPath(MAX_PATH, szFolder);
            if (n == 0 || n > MAX_PATH || ::GetTempFileName(szFolder, u"qvt", 0, szFile) == 0)
                return FALSE;
            m_strFileName = szFile;
            m_bDeleteFile = TRUE;
        }
        m_bInitialized = TRUE;
    }
    return !m_strFileName.IsEmpty();
}

BOOL CQVTPropExchangeIniFile::ReadValue(LPCTSTR pszPropName, CString& strValue)
{
    std::vector<WCHAR> buffer(256);
    for (;;)
    {
        DWORD nLength = ::GetPrivateProfileString(m_strSectionName, pszPropName, kMissing, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), m_strFileName);
        if (nLength + 1 < buffer.size())
        {
            strValue = CString(buffer.data(), static_cast<int>(nLength));
            return strValue != kMissing;
        }
        // Cut: read again with room to spare, up to a sane bound.
        if (buffer.size() >= kMaxValueChars)
            return FALSE;
        buffer.resize(buffer.size() < 16000 ? 16000 : buffer.size() * 2);
    }
}

BOOL CQVTPropExchangeIniFile::ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                                           const void* pvDefault)
{
    if (m_bLoading)
    {
        if (!m_bUseDefaultOnLoad)
            pvDefault = nullptr;
        if (!OnBeforeExchange())
            return CopyPropValue(vtProp, pvProp, pvDefault);
        CString strValue;
        if (!ReadValue(pszPropName, strValue))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        // An empty string is a value of its own; for other types it means none.
        if (strValue.IsEmpty() && vtProp != VT_QVT_STRING)
            return CopyPropValue(vtProp, pvProp, pvDefault);
        return ExchangePropAsText(strValue, vtProp, pvProp, pvDefault);
    }

    if (!m_bUseDefaultOnSave)
        pvDefault = nullptr;
    if (!OnBeforeExchange())
        return FALSE;
    if (IsSamePropValue(vtProp, pvProp, pvDefault))
    {
        if (!m_bEmptySection)
            ::WritePrivateProfileString(m_strSectionName, pszPropName, nullptr, m_strFileName);
        return TRUE;
    }
    CString strValue;
    if (!ExchangePropAsText(strValue, vtProp, pvProp, pvDefault))
        return FALSE;
    // The profile reader trims blanks around a value and strips one pair of
    // quotes: such a value is written quoted, so it reads back whole.
    int nLength = strValue.GetLength();
    if (nLength > 0 && (_istspace(strValue[0]) || _istspace(strValue[nLength - 1]) || strValue[0] == u'"' ||
                        strValue[0] == u'\''))
        strValue = u"\"" + strValue + u"\"";
    return ::WritePrivateProfileString(m_strSectionName, pszPropName, strValue, m_strFileName);
}

CQVTPropExchange* CQVTPropExchangeIniFile::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CQVTPropExchangeIniFile* pSection = new CQVTPropExchangeIniFile(m_bLoading, m_strSectionName, pszSection);
    InitSection(pSection);
    pSection->m_strFileName = m_strFileName;
    pSection->m_bDeleteFile = m_bDeleteFile;
    return pSection;
}

void CQVTPropExchangeIniFile::EmptySection()
{
    if (m_bEmptySection || m_strSectionName.IsEmpty())
        return;
    CQVTPropExchange::EmptySection();
    if (m_strFileName.IsEmpty())
        return;
    std::vector<WCHAR> buffer(8000);
    DWORD nLength = 0;
    for (;;)
    {
        nLength =
            ::GetPrivateProfileSectionNames(buffer.data(), static_cast<DWORD>(buffer.size()), m_strFileName);
        if (nLength != buffer.size() - 2 || buffer.size() >= kMaxSectionNameChars)
            break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<CString> doomed;
    CString strPrefix = m_strSectionName + u"\\";
    for (const WCHAR* p = buffer.data(); p < buffer.data() + nLength && *p; p += _tcslen(p) + 1)
    {
        CString strName(p);
        if (strName == m_strSectionName || strName.Left(strPrefix.GetLength()) == strPrefix)
            doomed.push_back(strName);
    }
    for (const CString& strName : doomed)
        ::WritePrivateProfileString(strName, nullptr, nullptr, m_strFileName);
}

BOOL CQVTPropExchangeIniFile::CanOmitDefaults() const
{
    return TRUE;
}

BOOL CQVTPropExchangeIniFile::PrefersBinaryData() const
{
    return FALSE;
}
