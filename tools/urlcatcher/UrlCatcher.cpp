// Appends its own command line, as UTF-8 and one line per start, to the file
// named by SONDREL_URL_LOG; without that variable it writes nothing.
#include <windows.h>

#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    WCHAR szLog[MAX_PATH] = {};
    DWORD nLog = ::GetEnvironmentVariableW(u"SONDREL_URL_LOG", szLog, MAX_PATH);
    if (nLog == 0 || nLog >= MAX_PATH)
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
