// Stands for the Windows Media redistributable in the installer's tests:
// appends the command line it was started with to the file that
// SONDREL_TEST_INSTALLER_LOG names, and ends.
#include <windows.h>

int main()
{
    WCHAR szLog[MAX_PATH] = {};
    if (GetEnvironmentVariableW(u"SONDREL_TEST_INSTALLER_LOG", szLog, MAX_PATH) == 0)
        return 1;
    LPCWSTR pszLine = GetCommandLineW();
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, pszLine, -1, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return 1;
    char* pszUtf8 = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, nBytes + 1));
    WideCharToMultiByte(CP_UTF8, 0, pszLine, -1, pszUtf8, nBytes, nullptr, nullptr);
    pszUtf8[nBytes - 1] = '\n';
    HANDLE hFile = CreateFileW(szLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
    {
        DWORD dwWritten = 0;
        WriteFile(hFile, pszUtf8, static_cast<DWORD>(nBytes), &dwWritten, nullptr);
        CloseHandle(hFile);
    }
    HeapFree(GetProcessHeap(), 0, pszUtf8);
    return 0;
}
