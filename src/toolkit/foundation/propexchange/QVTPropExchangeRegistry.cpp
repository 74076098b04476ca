#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CQVTPropExchangeRegistry, CQVTPropExchange)

namespace {
// Reads a value whole; FALSE when it is missing or cannot be read.
BOOL QueryValue(HKEY hKey, LPCTSTR pszName, std::vector<BYTE>& data, DWORD* pType = nullptr)
{
    for (int nTry = 0; nTry < 4; ++nTry)
    {
        DWORD nSize = 0;
        if (::RegQueryValueEx(hKey, pszName, nullptr, nullptr, nullptr, &nSize) != ERROR_SUCCESS)
            return FALSE;
        data.resize(nSize);
        DWORD nRead = nSize;
        LONG lResult =
            ::RegQueryValueEx(hKey, pszName, nullptr, pType, data.empty() ? nullptr : data.data(), &nRead);
        if (lResult == ERROR_SUCCESS)
        {
            data.resize(nRead);
            return TRUE;
        }
        // The value grew in between: ask again.
        if (lResult != ERROR_MORE_DATA)
            return FALSE;
    }
    return FALSE;
}

BOOL QueryString(HKEY hKey, LPCTSTR pszName, CString& strValue)
{
    std::vector<BYTE> data;
    if (!QueryValue(hKey, pszName, data))
        return FALSE;
    size_t nChars = data.size() / sizeof(WCHAR);
    const WCHAR* p = reinterpret_cast<const WCHAR*>(data.data());
    size_t nLength = 0;
    while (nLength < nChars && p[nLength] != 0)
        ++nLength;
    strValue = CString(p, static_cast<int>(nLength));
    return TRUE;
}

BOOL SetString(HKEY hKey, LPCTSTR pszName, const CString& strValue)
{
    return ::RegSetValueEx(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.GetString()),
                           (strValue.GetLength() + 1) * sizeof(WCHAR)) == ERROR_SUCCESS;
}
}  // namespace

CQVTPropExchangeRegistry::CQVTPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection)
    : m_hSectionKey(nullptr), m_hParentKey(hParentKey), m_strSectionName(lpszSection ? lpszSection : u""),
      m_bCloseParentKey(FALSE)
{
    m_bLoading = bLoading;
    if (m_hParentKey == nullptr)
    {
        CWinApp* pApp = AfxGetApp();
        m_hParentKey = pApp != nullptr ? pApp->GetAppRegistryKey() : nullptr;
        m_bCloseParentKey = m_hParentKey != nullptr;
    }
}

CQVTPropExchangeRegistry::~CQVTPropExchangeRegistry()
{
    if (m_hSectionKey != nullptr)
        ::RegCloseKey(m_hSectionKey);
    if (m_bCloseParentKey && m_hParentKey != nullptr)
        ::RegCloseKey(m_hParentKey);
}

BOOL CQVTPropExchangeRegistry::OnBeforeExchange()
{
    if (m_hParentKey == nullptr)
        return FALSE;
    if (!m_bInitialized)
    {
        m_bInitialized = TRUE;
        REGSAM access = m_bLoading ? KEY_READ : KEY_WRITE;
        // A parent opened for reading may not allow creation: open an
        // existing key first.
        if (!m_bLoading ||
            ::RegOpenKeyEx(m_hParentKey, m_strSectionName, 0, access, &m_hSectionKey) != ERROR_SUCCESS)
        {
            m_hSectionKey = nullptr;
            DWORD dwDisposition = 0;
            if (::RegCreateKeyEx(m_hParentKey, m_strSectionName, 0, nullptr, 0, access, nullptr,
                                 &m_hSectionKey, &dwDisposition) != ERROR_SUCCESS)
                m_hSectionKey = nullptr;
        }
    }
    return m_hSectionKey != nullptr;
}

BOOL CQVTPropExchangeRegistry::ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                                            const void* pvDefault)
{
    if (!m_bLoading)
    {
        if (!m_bUseDefaultOnSave)
            pvDefault = nullptr;
        if (!OnBeforeExchange())
            return FALSE;
        if (IsSamePropValue(vtProp, pvProp, pvDefault))
        {
            if (!m_bEmptySection)
                ::RegDeleteValue(m_hSectionKey, pszPropName);
            return TRUE;
        }
        switch (vtProp)
        {
        case VT_I2:
        case VT_I4:
        case VT_BOOL:
        case VT_UI1:
        {
            DWORD dw = 0;
            if (vtProp == VT_I2)
                dw = *static_cast<const WORD*>(pvProp);
            else if (vtProp == VT_UI1)
                dw = *static_cast<const BYTE*>(pvProp);
            else
                dw = *static_cast<const DWORD*>(pvProp);
            return ::RegSetValueEx(m_hSectionKey, pszPropName, 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&dw), sizeof dw) == ERROR_SUCCESS;
        }
        case VT_R4:
        case VT_R8:
            return ::RegSetValueEx(m_hSectionKey, pszPropName, 0, REG_BINARY,
                                   static_cast<const BYTE*>(pvProp), GetVarTypeSize(vtProp)) == ERROR_SUCCESS;
        case VT_QVT_STRING:
            return SetString(m_hSectionKey, pszPropName, *static_cast<const CString*>(pvProp));
        case VT_QVT_RECT:
        case VT_QVT_SIZE:
        {
            CString strValue;
            ValueToText(vtProp, pvProp, strValue);
            return SetString(m_hSectionKey, pszPropName, strValue);
        }
        default:
            return FALSE;
        }
    }

    if (!m_bUseDefaultOnLoad)
        pvDefault = nullptr;
    if (!OnBeforeExchange())
        return CopyPropValue(vtProp, pvProp, pvDefault);
    switch (vtProp)
    {
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_UI1:
    {
        DWORD dw = 0;
        DWORD nSize = sizeof dw;
        if (::RegQueryValueEx(m_hSectionKey, pszPropName, nullptr, nullptr, reinterpret_cast<BYTE*>(&dw),
                              &nSize) != ERROR_SUCCESS)
            return CopyPropValue(vtProp, pvProp, pvDefault);
        if (vtProp == VT_I2)
            *static_cast<WORD*>(pvProp) = static_cast<WORD>(dw);
        else if (vtProp == VT_UI1)
            *static_cast<BYTE*>(pvProp) = static_cast<BYTE>(dw);
        else
            *static_cast<DWORD*>(pvProp) = dw;
        return TRUE;
    }
    case VT_R4:
    case VT_R8:
    {
        std::vector<BYTE> data;
        // Anything but the bytes written on save is not this value.
        if (!QueryValue(m_hSectionKey, pszPropName, data) ||
            data.size() != static_cast<size_t>(GetVarTypeSize(vtProp)))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        std::memcpy(pvProp, data.data(), data.size());
        return TRUE;
    }
    case VT_QVT_STRING:
    case VT_QVT_RECT:
    case VT_QVT_SIZE:
    {
        CString strValue;
        if (!QueryString(m_hSectionKey, pszPropName, strValue))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        if (vtProp == VT_QVT_STRING)
        {
            *static_cast<CString*>(pvProp) = strValue;
            return TRUE;
        }
        // Stored as text on save: read back the same way.
        return TextToValue(vtProp, strValue, pvProp, pvDefault);
    }
    default:
        return FALSE;
    }
}

BOOL CQVTPropExchangeRegistry::ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!m_bLoading)
        return ::RegSetValueEx(m_hSectionKey, pszPropName, 0, REG_BINARY, pData, pData ? nBytes : 0) ==
               ERROR_SUCCESS;

    std::vector<BYTE> data;
    if (!QueryValue(m_hSectionKey, pszPropName, data))
        return FALSE;
    DWORD nSize = static_cast<DWORD>(data.size());
    if (pData == nullptr)
    {
        pData = static_cast<BYTE*>(std::malloc(nSize ? nSize : 1));
        if (pData == nullptr)
            return FALSE;
        nBytes = nSize;
    }
    else if (nBytes < nSize)
    {
        return FALSE;
    }
    if (nSize > 0)
        std::memcpy(pData, data.data(), nSize);
    return TRUE;
}

CQVTPropExchange* CQVTPropExchangeRegistry::GetSection(LPCTSTR pszSection)
{
    OnBeforeExchange();
    CQVTPropExchangeRegistry* pSection = new CQVTPropExchangeRegistry(m_bLoading, m_hSectionKey, pszSection);
    InitSection(pSection);
    return pSection;
}

void CQVTPropExchangeRegistry::EmptySection()
{
    CQVTPropExchange::EmptySection();
    if (m_hSectionKey != nullptr)
    {
        ::RegCloseKey(m_hSectionKey);
        m_hSectionKey = nullptr;
    }
    if (m_hParentKey != nullptr && !m_strSectionName.IsEmpty())
    {
        ::RegDeleteTree(m_hParentKey, m_strSectionName);
        ::RegDeleteKey(m_hParentKey, m_strSectionName);
    }
    m_bInitialized = FALSE;
}

BOOL CQVTPropExchangeRegistry::CanOmitDefaults() const
{
    return TRUE;
}

BOOL CQVTPropExchangeRegistry::PrefersBinaryData() const
{
    return TRUE;
}
