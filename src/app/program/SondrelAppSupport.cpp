// The support mail: a readable description of the system as the body of a
// "mailto:" link the user's mail program opens, and the DirectX line it
// shares with crash reports.
#include "app/program/SondrelApp.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "app/program/DirectXVersion.h"
#include "app/program/ProductInfo.h"

namespace SondrelSupport {

// The processor identifier is cut here, however long the stored value.
const DWORD kMaxProcessorIdentifier = 1024;

const TCHAR kEnvironmentKey[] = _T("System\\CurrentControlSet\\Control\\Session Manager\\Environment");
const TCHAR kProductOptionsKey[] = _T("SYSTEM\\CurrentControlSet\\Control\\ProductOptions");
const TCHAR kNt4HotfixKey[] = _T("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009");

// A string value of HKEY_LOCAL_MACHINE, at most nMaxChars characters. Values
// of other types, and absent ones, read as empty.
CString ReadMachineString(LPCTSTR pszKey, LPCTSTR pszValue, DWORD nMaxChars)
{
    CString strText;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return strText;
    DWORD dwType = 0, cbData = 0;
    if (::RegQueryValueExW(hKey, pszValue, nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS &&
        (dwType == REG_SZ || dwType == REG_EXPAND_SZ) && cbData > 0)
    {
        // Room for a terminator the stored value may lack.
        std::vector<WCHAR> buffer(cbData / sizeof(WCHAR) + 2, 0);
        DWORD cbRead = static_cast<DWORD>((buffer.size() - 1) * sizeof(WCHAR));
        if (::RegQueryValueExW(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()),
                               &cbRead) == ERROR_SUCCESS &&
            (dwType == REG_SZ || dwType == REG_EXPAND_SZ))
        {
            size_t nChars = cbRead / sizeof(WCHAR);
            if (nChars > buffer.size() - 1)
                nChars = buffer.size() - 1;
            size_t nLength = 0;
            while (nLength < nChars && buffer[nLength] != 0)
                ++nLength;
            if (nLength > nMaxChars)
                nLength = nMaxChars;
            strText = CString(buffer.data(), static_cast<int>(nLength));
        }
    }
    ::RegCloseKey(hKey);
    return strText;
}

BOOL MachineKeyExists(LPCTSTR pszKey)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return FALSE;
    ::RegCloseKey(hKey);
    return TRUE;
}

CString NtProductName(const OSVERSIONINFOEXW& os)
{
    const DWORD nMajor = os.dwMajorVersion, nMinor = os.dwMinorVersion;
    if (nMajor == 6 && nMinor == 3)
        return _T("Windows 8.1 ");
    if (nMajor == 6 && nMinor == 2)
        return _T("Windows 8 ");
    if (nMajor == 6 && nMinor == 1)
        return _T("Windows 7 ");
    if (nMajor == 6 && nMinor == 0)
        return _T("Win Vista ");
    if (nMajor == 5 && nMinor == 2)
        return _T("Microsoft Windows Server 2003 family, ");
    if (nMajor == 5 && nMinor == 1)
        return _T("Microsoft Windows XP ");
    if (nMajor == 5 && nMinor == 0)
        return _T("Microsoft Windows 2000 ");
    if (nMajor < 5)
        return _T("Microsoft Windows NT ");
    return CString();
}

CString NtProductType(const OSVERSIONINFOEXW& os)
{
    const DWORD nMajor = os.dwMajorVersion, nMinor = os.dwMinorVersion;
    const WORD nSuite = os.wSuiteMask;
    if (os.wProductType == VER_NT_WORKSTATION)
    {
        if (nMajor == 4)
            return _T("Workstation 4.0 ");
        return (nSuite & VER_SUITE_PERSONAL) ? _T("Home Edition ") : _T("Professional ");
    }
    if (os.wProductType != VER_NT_SERVER && os.wProductType != VER_NT_DOMAIN_CONTROLLER)
        return CString();
    if (nMajor == 5 && nMinor == 2)
    {
        if (nSuite & VER_SUITE_DATACENTER)
            return _T("Datacenter Edition ");
        if (nSuite & VER_SUITE_ENTERPRISE)
            return _T("Enterprise Edition ");
        if (nSuite & VER_SUITE_BLADE)
            return _T("Web Edition ");
        return _T("Standard Edition ");
    }
    if (nMajor == 5 && nMinor == 0)
    {
        if (nSuite & VER_SUITE_DATACENTER)
            return _T("Datacenter Server ");
        if (nSuite & VER_SUITE_ENTERPRISE)
            return _T("Advanced Server ");
        return _T("Server ");
    }
    if (nMajor <= 4)
        return (nSuite & VER_SUITE_ENTERPRISE) ? _T("Server 4.0, Enterprise Edition ") : _T("Server 4.0 ");
    return CString();
}

// Without the extended record the stored product type tells the edition.
CString NtProductTypeFromRegistry(const OSVERSIONINFOEXW& os)
{
    CString strType = ReadMachineString(kProductOptionsKey, _T("ProductType"), 80);
    CString strText;
    if (strType.CompareNoCase(_T("WINNT")) == 0)
        strText = _T("Workstation ");
    else if (strType.CompareNoCase(_T("LANMANNT")) == 0)
        strText = _T("Server ");
    else if (strType.CompareNoCase(_T("SERVERNT")) == 0)
        strText = _T("Advanced Server ");
    CString strVersion;
    strVersion.Format(_T("%d.%d "), static_cast<int>(os.dwMajorVersion), static_cast<int>(os.dwMinorVersion));
    return strText + strVersion;
}

// The OS described as the platform's version sample does it.
CString DescribeOSVersion(const OSVERSIONINFOEXW& os, BOOL bExtended)
{
    CString strText;
    const int nBuild = static_cast<int>(os.dwBuildNumber & 0xFFFF);
    int nServicePack = 0;
    while (nServicePack < 128 && os.szCSDVersion[nServicePack] != 0)
        ++nServicePack;
    CString strServicePack(os.szCSDVersion, nServicePack);
    switch (os.dwPlatformId)
    {
    case VER_PLATFORM_WIN32_NT:
    {
        strText = NtProductName(os);
        strText += bExtended ? NtProductType(os) : NtProductTypeFromRegistry(os);
        CString strBuild;
        if (os.dwMajorVersion == 4 && strServicePack.CompareNoCase(_T("Service Pack 6")) == 0 &&
            MachineKeyExists(kNt4HotfixKey))
            strBuild.Format(_T("Service Pack 6a (Build %d)"), nBuild);
        else
            strBuild.Format(_T("%s (Build %d)"), strServicePack.GetString(), nBuild);
        strText += strBuild;
        break;
    }
    case VER_PLATFORM_WIN32_WINDOWS:
        if (os.dwMajorVersion == 4 && os.dwMinorVersion == 0)
        {
            strText = _T("Microsoft Windows 95 ");
            if (strServicePack.GetLength() > 1 &&
                (strServicePack[1] == _T('C') || strServicePack[1] == _T('B')))
                strText += _T("OSR2 ");
        }
        else if (os.dwMajorVersion == 4 && os.dwMinorVersion == 10)
        {
            strText = _T("Microsoft Windows 98 ");
            if (strServicePack.GetLength() > 1 && strServicePack[1] == _T('A'))
                strText += _T("SE ");
        }
        else if (os.dwMajorVersion == 4 && os.dwMinorVersion == 90)
            strText = _T("Microsoft Windows Millennium Edition\n");
        break;
    case VER_PLATFORM_WIN32s:
        strText = _T("Microsoft Win32s\n");
        break;
    default:
        break;
    }
    return strText;
}

// Percent-encodes every UTF-8 byte outside the unreserved set, so that no
// character of the text ends or garbles a mail field.
CString EncodeMailField(const CString& strText)
{
    static const char kHex[] = "0123456789ABCDEF";
    CString strEncoded;
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; ++i)
    {
        unsigned long nCode = static_cast<WCHAR>(strText[i]);
        // A surrogate pair is one character; a lone surrogate becomes U+FFFD.
        if (nCode >= 0xD800 && nCode <= 0xDBFF && i + 1 < nLength &&
            static_cast<WCHAR>(strText[i + 1]) >= 0xDC00 && static_cast<WCHAR>(strText[i + 1]) <= 0xDFFF)
        {
            nCode = 0x10000 + ((nCode - 0xD800) << 10) + (static_cast<WCHAR>(strText[i + 1]) - 0xDC00);
            ++i;
        }
        else if (nCode >= 0xD800 && nCode <= 0xDFFF)
            nCode = 0xFFFD;

        unsigned char bytes[4];
        int nBytes = 0;
        if (nCode < 0x80)
            bytes[nBytes++] = static_cast<unsigned char>(nCode);
        else if (nCode < 0x800)
        {
            bytes[nBytes++] = static_cast<unsigned char>(0xC0 | (nCode >> 6));
            bytes[nBytes++] = static_cast<unsigned char>(0x80 | (nCode & 0x3F));
        }
        else if (nCode < 0x10000)
        {
            bytes[nBytes++] = static_cast<unsigned char>(0xE0 | (nCode >> 12));
            bytes[nBytes++] = static_cast<unsigned char>(0x80 | ((nCode >> 6) & 0x3F));
            bytes[nBytes++] = static_cast<unsigned char>(0x80 | (nCode & 0x3F));
        }
        else
        {
            bytes[nBytes++] = static_cast<unsigned char>(0xF0 | (nCode >> 18));
            bytes[nBytes++] = static_cast<unsigned char>(0x80 | ((nCode >> 12) & 0x3F));
            bytes[nBytes++] = static_cast<unsigned char>(0x80 | ((nCode >> 6) & 0x3F));
            bytes[nBytes++] = static_cast<unsigned char>(0x80 | (nCode & 0x3F));
        }
        for (int b = 0; b < nBytes; ++b)
        {
            const unsigned char c = bytes[b];
            const bool bUnreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                     (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
            if (bUnreserved)
                strEncoded += static_cast<TCHAR>(c);
            else
            {
                strEncoded += _T('%');
                strEncoded += static_cast<TCHAR>(kHex[c >> 4]);
                strEncoded += static_cast<TCHAR>(kHex[c & 0x0F]);
            }
        }
    }
    return strEncoded;
}

// Wine's ShellExecute overflows its stack on a link longer than a path, and
// the support mail is several times that: such a link goes straight to the
// program registered for its scheme. FALSE when there is none.
BOOL StartSchemeHandler(const CString& strUrl)
{
    const int nColon = strUrl.Find(_T(':'));
    if (nColon <= 0)
        return FALSE;
    const CString strScheme = strUrl.Left(nColon);
    WCHAR szCommand[2048] = {};
    DWORD nCommand = 2048;
    if (FAILED(::AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, strScheme, _T("open"), szCommand,
                                   &nCommand)) ||
        szCommand[0] == 0)
        return FALSE;
    WCHAR szExpanded[4096] = {};
    const DWORD nExpanded = ::ExpandEnvironmentStringsW(szCommand, szExpanded, 4096);
    CString strCommand = nExpanded > 0 && nExpanded <= 4096 ? CString(szExpanded) : CString(szCommand);

    // The link is fully encoded: it holds no quote or space to escape.
    BOOL bPlaced = FALSE;
    for (LPCTSTR pszMark : {_T("%1"), _T("%L"), _T("%l")})
    {
        if (strCommand.Find(pszMark) >= 0)
        {
            strCommand.Replace(pszMark, strUrl);
            bPlaced = TRUE;
        }
    }
    if (!bPlaced)
        strCommand += _T(" \"") + strUrl + _T("\"");

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, strCommand.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return FALSE;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return TRUE;
}

}  // namespace SondrelSupport

CString AFXAPI CSondrelApp::GetVersionText()
{
    CString strVersion = ProductInfo::kVersion;
    strVersion.Replace(_T(','), _T('.'));
    return strVersion;
}

void CSondrelApp::QueryDirectXText()
{
    if (!m_strDirectXText.IsEmpty())
        return;
    try
    {
        CString strVersion;
        DWORD dwPacked = 0;
        const HRESULT hr = GetDirectXVersion(strVersion, dwPacked);
        if (FAILED(hr))
            m_strDirectXText = _T("Unknown version of DirectX installed");
        // The files' check answers 0.0 when nothing of DirectX is there.
        else if (dwPacked != 0)
            m_strDirectXText.Format(_T("DirectX %s installed"), strVersion.GetString());
        else
            m_strDirectXText = _T("DirectX not installed");
    }
    catch (CException* e)
    {
        e->Delete();
        m_strDirectXText.Empty();
    }
    catch (...)
    {
        m_strDirectXText.Empty();
    }
}

CString CSondrelApp::BuildSystemReport(int nReason)
{
    const CString strDashes(_T('-'), 49);
    CString strReport = _T("Reason: ");
    if (nReason == 0)
        strReport += _T("customer request");
    else if (nReason == 1)
        strReport += _T("critical exception - application terminated");
    strReport += _T("\r\n\r\nRequest:\r\nPlease write text here!!!\r\n");
    strReport += _T("\r\n\r\n\r\n") + CString(_T('='), 70) + _T("\r\n\r\n");
    strReport += _T("Additional information:\r\n\r\n");
    strReport += CString(_T("Application: ")) + ProductInfo::kName + _T("\r\n");
    strReport += _T("Application version info: ") + GetVersionText() + _T("\r\n");
    strReport +=
        _T("Processor identifier: ") +
        SondrelSupport::ReadMachineString(SondrelSupport::kEnvironmentKey, _T("PROCESSOR_IDENTIFIER"),
                                          SondrelSupport::kMaxProcessorIdentifier) +
        _T("\r\n");

    CString strOS = SondrelSupport::DescribeOSVersion(m_osVersion, m_bOSVersionExFound);
    strReport += _T("OS version info: ") + strOS;
    if (strOS.IsEmpty() || strOS[strOS.GetLength() - 1] != _T('\n'))
        strReport += _T("\r\n");

    CString strHardware;
    strHardware.Format(_T("Hardware information: \r\n%s\r\nOEM ID: %u\r\nNumber of processors: %u\r\n")
                       _T("Page size: %u\r\nAllocation granularity: %u\r\nProcessor type: %u\r\n")
                       _T("Active processor mask: %I64u\r\n%s\r\n"),
                       strDashes.GetString(), static_cast<unsigned>(m_systemInfo.dwOemId),
                       static_cast<unsigned>(m_systemInfo.dwNumberOfProcessors),
                       static_cast<unsigned>(m_systemInfo.dwPageSize),
                       static_cast<unsigned>(m_systemInfo.dwAllocationGranularity),
                       static_cast<unsigned>(m_systemInfo.dwProcessorType),
                       static_cast<unsigned __int64>(m_systemInfo.dwActiveProcessorMask),
                       strDashes.GetString());
    strReport += strHardware;

    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    if (::GlobalMemoryStatusEx(&memory))
    {
        CString strMemory;
        strMemory.Format(_T("Total physical memory: %I64u Mb\r\nFree physical memory: %I64u Mb\r\n"),
                         static_cast<unsigned __int64>(memory.ullTotalPhys >> 20),
                         static_cast<unsigned __int64>(memory.ullAvailPhys >> 20));
        strReport += strMemory;
    }

    QueryDirectXText();
    strReport += m_strDirectXText + _T("\r\n") + strDashes;
    return strReport;
}

CString CSondrelApp::BuildSupportMailto(int nReason)
{
    CString strSubject = CString(_T("Support ")) + ProductInfo::kName + _T(" -- ") + ProductInfo::kWebDomain;
    return CString(_T("mailto:")) + ProductInfo::kSupportMail + _T("?subject=") +
           SondrelSupport::EncodeMailField(strSubject) + _T("&body=") +
           SondrelSupport::EncodeMailField(BuildSystemReport(nReason));
}

void CSondrelApp::OpenSupportMail(int nReason)
{
    CString strUrl = BuildSupportMailto(nReason);
    if (strUrl.GetLength() >= MAX_PATH && SondrelSupport::StartSchemeHandler(strUrl))
        return;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = _T("open");
    info.lpFile = strUrl;
    info.nShow = SW_SHOWNORMAL;
    // A missing mail program is not reported.
    ::ShellExecuteExW(&info);
}
