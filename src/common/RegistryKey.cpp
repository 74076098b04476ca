#include "common/RegistryKey.h"

#include <cstring>
#include <vector>

BOOL CRegistryKey::Open(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired)
{
    Close();
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(hParent, pszSubKey, 0, samDesired, &hKey) != ERROR_SUCCESS)
        return FALSE;
    m_hKey = hKey;
    return TRUE;
}

BOOL CRegistryKey::Create(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired)
{
    Close();
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(hParent, pszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return FALSE;
    m_hKey = hKey;
    return TRUE;
}

void CRegistryKey::Close()
{
    if (m_hKey != nullptr)
    {
        ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

BOOL CRegistryKey::ReadBinary(LPCTSTR pszName, const void* pDefault, DWORD& cbData, void* pBuffer)
{
    if (pBuffer == nullptr)
        return FALSE;
    if (pDefault != nullptr)
        std::memcpy(pBuffer, pDefault, cbData);
    if (m_hKey == nullptr)
        return FALSE;
    // Read aside: a value larger than the buffer must not leave part of
    // itself behind.
    DWORD cbStored = 0;
    if (::RegQueryValueExW(m_hKey, pszName, nullptr, nullptr, nullptr, &cbStored) != ERROR_SUCCESS ||
        cbStored > cbData)
        return FALSE;
    std::vector<BYTE> bytes(cbStored + 1);
    DWORD cbRead = cbStored;
    if (::RegQueryValueExW(m_hKey, pszName, nullptr, nullptr, bytes.data(), &cbRead) != ERROR_SUCCESS ||
        cbRead > cbData)
        return FALSE;
    std::memcpy(pBuffer, bytes.data(), cbRead);
    cbData = cbRead;
    return TRUE;
}

BOOL CRegistryKey::ReadDword(LPCTSTR pszName, DWORD& dwValue)
{
    if (m_hKey == nullptr)
        return FALSE;
    DWORD dwType = 0;
    DWORD dwRead = 0;
    DWORD cbData = sizeof(dwRead);
    if (::RegQueryValueExW(m_hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwRead), &cbData) !=
            ERROR_SUCCESS ||
        cbData != sizeof(dwRead) || (dwType != REG_DWORD && dwType != REG_BINARY))
        return FALSE;
    dwValue = dwRead;
    return TRUE;
}

BOOL CRegistryKey::ReadString(LPCTSTR pszName, LPCTSTR pszDefault, CString& strValue, int nLimit)
{
    if (pszDefault != nullptr)
        strValue = pszDefault;
    if (m_hKey == nullptr)
        return FALSE;
    DWORD dwType = 0;
    DWORD cbStored = 0;
    if (::RegQueryValueExW(m_hKey, pszName, nullptr, &dwType, nullptr, &cbStored) != ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return FALSE;
    // Whole characters only, and a zero after them whatever was stored.
    std::vector<BYTE> bytes(cbStored + sizeof(WCHAR), 0);
    DWORD cbRead = cbStored;
    if (::RegQueryValueExW(m_hKey, pszName, nullptr, &dwType, bytes.data(), &cbRead) != ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ) || cbRead > cbStored)
        return FALSE;
    size_t nRead = cbRead / sizeof(WCHAR);
    std::vector<WCHAR> text(nRead + 1, 0);
    std::memcpy(text.data(), bytes.data(), nRead * sizeof(WCHAR));
    size_t nLength = 0;
    while (nLength < nRead && text[nLength] != 0)
        ++nLength;
    if (nLimit >= 0 && nLength > static_cast<size_t>(nLimit))
    {
        nLength = static_cast<size_t>(nLimit);
        // Never half of a surrogate pair.
        if (nLength > 0 && IS_HIGH_SURROGATE(text[nLength - 1]))
            --nLength;
    }
    strValue = CString(text.data(), static_cast<int>(nLength));
    return TRUE;
}

BOOL CRegistryKey::WriteBinary(LPCTSTR pszName, const void* pData, DWORD cbData)
{
    return m_hKey != nullptr && ::RegSetValueExW(m_hKey, pszName, 0, REG_BINARY,
                                                 static_cast<const BYTE*>(pData), cbData) == ERROR_SUCCESS;
}

BOOL CRegistryKey::WriteDword(LPCTSTR pszName, DWORD dwValue)
{
    return m_hKey != nullptr &&
           ::RegSetValueExW(m_hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                            sizeof(dwValue)) == ERROR_SUCCESS;
}

BOOL CRegistryKey::WriteString(LPCTSTR pszName, LPCTSTR pszText)
{
    if (m_hKey == nullptr)
        return FALSE;
    if (pszText == nullptr)
        pszText = _T("");
    DWORD cbData = static_cast<DWORD>((_tcslen(pszText) + 1) * sizeof(WCHAR));
    return ::RegSetValueExW(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText), cbData) ==
           ERROR_SUCCESS;
}
