// One open registry key, closed on every path out. Reads leave the caller's
// value alone unless the stored value is of the kind asked for and fits:
// settings of the wrong type or size fall back to their defaults.
#pragma once

#include <afx.h>

class CRegistryKey
{
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Both close what is open first.
    BOOL Open(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired);
    // Creates the key when it is missing.
    BOOL Create(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired);
    void Close();
    BOOL IsOpen() const { return m_hKey != nullptr; }
    HKEY GetHandle() const { return m_hKey; }

    // Copies the default (cbData bytes, when given) into the buffer, then the
    // stored bytes when the value exists and fits the buffer; cbData then
    // holds their count. FALSE when closed, absent or larger than the buffer.
    BOOL ReadBinary(LPCTSTR pszName, const void* pDefault, DWORD& cbData, void* pBuffer);
    // A 32-bit number: REG_DWORD, or REG_BINARY of exactly four bytes.
    BOOL ReadDword(LPCTSTR pszName, DWORD& dwValue);
    // Sets the string to the default (when given), then to the stored text
    // up to its first zero, cut to nLimit characters. Only string values
    // count; FALSE when closed, absent or of another type.
    BOOL ReadString(LPCTSTR pszName, LPCTSTR pszDefault, CString& strValue, int nLimit);

    BOOL WriteBinary(LPCTSTR pszName, const void* pData, DWORD cbData);
    BOOL WriteDword(LPCTSTR pszName, DWORD dwValue);
    BOOL WriteString(LPCTSTR pszName, LPCTSTR pszText);

private:
    HKEY m_hKey = nullptr;
};
