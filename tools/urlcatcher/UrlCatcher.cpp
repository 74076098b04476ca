// Appends its own command line, as UTF-8 and one line per start, to the file
// named by the value "Log" of HKCU\Software\SondrelUrlCatcher, which the test
// that registered it wrote into its prefix (the program it is started from
// inherits nothing of the test's environment); without that value it writes
// nothing.
#include <windows.h>

#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    WCHAR szLog[MAX_PATH] = {};
    DWORD cbLog = sizeof(szLog) - sizeof(WCHAR);
    if (::RegGetValueW(HKEY_CURRENT_USER, u"Software\\SondrelUrlCatcher", u"Log", RRF_RT_REG_SZ, nullptr,
                       szLog, &cbLog) != ERROR_SUCCESS ||
        szLog[0] == 0)
        return 1;
    LPCWSTR pszLine = ::GetCommandLineW();
    int nLength = 0;
    while (pszLine[nLength] != 0)
        ++nLength;
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, pszLine, nLength, nullptr, 0, nullptr, nullptr);
    std::vector<char> text(static_cast<size_t>(nBytes) + 1);
    ::WideCharToMultiByte(CP_UTF8, 0, pszLine, nLength, text.data(), nBytes, nullptr, nullptr);
    text[nBytes] = '\n';

    // Several starts may write at once: each appends its line whole.
    HANDLE hFile = ::CreateFileW(szLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 2;
    DWORD nWritten = 0;
    BOOL bWritten = ::WriteFile(hFile, text.data(), static_cast<DWORD>(text.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
    return bWritten && nWritten == text.size() ? 0 : 3;
}
