#include "common/XmlSettingsFile.h"

#include "common/Logging.h"
#include "toolkit/foundation/xml/QVTXmlDispatch.h"

namespace {

void ThrowIfFailed(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_error(hr);
}

// "%ld" as the C library reads it: blanks, a sign, then digits; FALSE when
// no digit follows. Numbers beyond 32 bits stop at the limit.
BOOL ParseLeadingInt(const CString& strText, int& nValue)
{
    LPCTSTR p = strText;
    while (*p == _T(' ') || (*p >= _T('\t') && *p <= _T('\r')))
        ++p;
    bool bNegative = false;
    if (*p == _T('+') || *p == _T('-'))
        bNegative = *p++ == _T('-');
    if (*p < _T('0') || *p > _T('9'))
        return FALSE;
    long long nResult = 0;
    for (; *p >= _T('0') && *p <= _T('9'); ++p)
    {
        if (nResult <= 0x80000000LL)
            nResult = nResult * 10 + (*p - _T('0'));
    }
    if (bNegative)
        nResult = -nResult;
    if (nResult > INT_MAX)
        nResult = INT_MAX;
    if (nResult < INT_MIN)
        nResult = INT_MIN;
    nValue = static_cast<int>(nResult);
    return TRUE;
}

}  // namespace

CXmlSettingsFile::CXmlSettingsFile(LPCTSTR pszPath, BOOL bWrite)
    : m_strPath(pszPath != nullptr ? pszPath : _T("")), m_bWrite(bWrite)
{
    m_pDocument = CreateXmlDocument(TRUE, &CLSID_QVTXmlDomDocument, 0, 0);
    if (m_pDocument == nullptr || m_bWrite || m_strPath.IsEmpty())
        return;
    DWORD dwAttributes = ::GetFileAttributesW(m_strPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // A file that does not parse leaves the document empty: every value
    // then reads as missing.
    VARIANT result;
    XmlInvoke(m_pDocument, u"load", DISPATCH_METHOD, {_variant_t(static_cast<LPCTSTR>(m_strPath))}, &result);
    ::VariantClear(&result);
}

CXmlSettingsFile::~CXmlSettingsFile()
{
    if (m_bWrite && m_pDocument != nullptr)
    {
        try
        {
            SaveReplacing();
        }
        catch (...)
        {
            APP_LOG(_T("Save %s: fail"), m_strPath.GetString());
        }
    }
}

IDispatchPtr CXmlSettingsFile::FindChild(IDispatch* pParent, const CString& strName, BOOL bCreate)
{
    VARIANT result;
    ThrowIfFailed(XmlInvoke(pParent, u"selectSingleNode", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                            {_variant_t(static_cast<LPCTSTR>(strName))}, &result));
    IDispatchPtr pChild;
    if (result.vt == VT_DISPATCH && result.pdispVal != nullptr)
        pChild.Attach(result.pdispVal, false);
    else
        ::VariantClear(&result);
    if (pChild != nullptr || !bCreate)
        return pChild;

    ThrowIfFailed(XmlInvoke(m_pDocument, u"createElement", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                            {_variant_t(static_cast<LPCTSTR>(strName))}, &result));
    if (result.vt != VT_DISPATCH || result.pdispVal == nullptr)
    {
        ::VariantClear(&result);
        _com_issue_error(E_UNEXPECTED);
    }
    pChild.Attach(result.pdispVal, false);
    ThrowIfFailed(XmlInvoke(pParent, u"appendChild", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                            {_variant_t(pChild.GetInterfacePtr())}, &result));
    ::VariantClear(&result);
    return pChild;
}

IDispatchPtr CXmlSettingsFile::FindElement(LPCTSTR pszPath, LPCTSTR pszName, BOOL bCreate)
{
    IDispatchPtr pNode = m_pDocument;
    if (pNode == nullptr)
        return pNode;
    CString strPath(pszPath != nullptr ? pszPath : _T(""));
    int nStart = 0;
    while (nStart <= strPath.GetLength() && pNode != nullptr)
    {
        int nEnd = strPath.Find(_T('\\'), nStart);
        if (nEnd < 0)
            nEnd = strPath.GetLength();
        CString strPart = strPath.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (strPart.IsEmpty())
            continue;
        pNode = FindChild(pNode, strPart, bCreate);
    }
    if (pNode != nullptr && pszName != nullptr && *pszName != 0)
        pNode = FindChild(pNode, pszName, bCreate);
    return pNode;
}

BOOL CXmlSettingsFile::GetInt(LPCTSTR pszPath, LPCTSTR pszName, int& nValue)
{
    CString strText;
    if (!GetString(pszPath, pszName, strText))
        return FALSE;
    ParseLeadingInt(strText, nValue);
    return TRUE;
}

BOOL CXmlSettingsFile::GetString(LPCTSTR pszPath, LPCTSTR pszName, CString& strValue)
{
    IDispatchPtr pElement = FindElement(pszPath, pszName, FALSE);
    if (pElement == nullptr)
        return FALSE;
    CString strText;
    if (XmlGetString(pElement, u"text", strText))
        strValue = strText;
    return TRUE;
}

BOOL CXmlSettingsFile::SetInt(LPCTSTR pszPath, LPCTSTR pszName, int nValue)
{
    IDispatchPtr pElement = FindElement(pszPath, pszName, TRUE);
    if (pElement == nullptr)
        return FALSE;
    CString strText;
    strText.Format(_T("%d"), nValue);
    return XmlPutProperty(pElement, u"text", _variant_t(static_cast<LPCTSTR>(strText)));
}

BOOL CXmlSettingsFile::SetString(LPCTSTR pszPath, LPCTSTR pszName, LPCTSTR pszValue)
{
    IDispatchPtr pElement = FindElement(pszPath, pszName, TRUE);
    if (pElement == nullptr)
        return FALSE;
    if (pszValue == nullptr || *pszValue == 0)
        return TRUE;
    return XmlPutProperty(pElement, u"text", _variant_t(static_cast<LPCTSTR>(pszValue)));
}

BOOL CXmlSettingsFile::GetChildNames(LPCTSTR pszPath, CStringArray& names)
{
    names.RemoveAll();
    IDispatchPtr pParent = FindElement(pszPath, nullptr, FALSE);
    if (pParent == nullptr)
        return FALSE;
    for (IDispatchPtr pChild = XmlGetObject(pParent, u"firstChild"); pChild != nullptr;
         pChild = XmlGetObject(pChild, u"nextSibling"))
    {
        long nType = 0;
        if (!XmlGetLong(pChild, u"nodeType", nType) || nType != QVT_XML_NODE_ELEMENT)
            continue;
        _variant_t name;
        if (SUCCEEDED(XmlInvoke(pChild, u"nodeName", DISPATCH_PROPERTYGET, {}, &name)) && name.vt == VT_BSTR)
            names.Add(CString(name.bstrVal));
    }
    return TRUE;
}

BOOL CXmlSettingsFile::SaveReplacing()
{
    // The DOM's own save reports nothing when the disk fills up: the text is
    // written here, every write checked.
    _variant_t xml;
    HRESULT hr = XmlInvoke(m_pDocument, u"xml", DISPATCH_PROPERTYGET, {}, &xml);
    if (FAILED(hr) || xml.vt != VT_BSTR)
    {
        APP_LOG(_T("Save %s: fail (0x%08X)"), m_strPath.GetString(),
                static_cast<unsigned>(FAILED(hr) ? hr : E_FAIL));
        return FALSE;
    }
    std::string bytes =
        LogTextToUtf8(reinterpret_cast<const char16_t*>(xml.bstrVal), ::SysStringLen(xml.bstrVal));

    int nSlash = m_strPath.ReverseFind(_T('\\'));
    CString strFolder = nSlash >= 0 ? m_strPath.Left(nSlash + 1) : CString(_T(".\\"));
    WCHAR szTemp[MAX_PATH + 16] = {};
    if (m_strPath.IsEmpty() || ::GetTempFileNameW(strFolder, _T("xml"), 0, szTemp) == 0)
    {
        APP_LOG(_T("Save %s: fail (%u)"), m_strPath.GetString(), ::GetLastError());
        return FALSE;
    }
    BOOL bWritten = FALSE;
    HANDLE hFile =
        ::CreateFileW(szTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
    {
        size_t cbDone = 0;
        while (cbDone < bytes.size())
        {
            DWORD cbWritten = 0;
            if (!::WriteFile(hFile, bytes.data() + cbDone, static_cast<DWORD>(bytes.size() - cbDone),
                             &cbWritten, nullptr) ||
                cbWritten == 0)
                break;
            cbDone += cbWritten;
        }
        bWritten = cbDone == bytes.size() && ::FlushFileBuffers(hFile);
        if (!::CloseHandle(hFile))
            bWritten = FALSE;
    }
    DWORD dwError = ::GetLastError();
    if (bWritten && ::MoveFileExW(szTemp, m_strPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return TRUE;
    if (bWritten)
        dwError = ::GetLastError();
    ::DeleteFileW(szTemp);
    APP_LOG(_T("Save %s: fail (%u)"), m_strPath.GetString(), dwError);
    return FALSE;
}
