// Links handed to the shell, caught: the test prefix's "mailto", "http" and
// "https" handler is tools/urlcatcher (SondrelUrlCatcher, built into the
// test programs' folder), which appends the command line it was started
// with to the file that HKCU\Software\SondrelUrlCatcher "Log" names.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace urlcatcher {

inline std::u16string ModuleFolder()
{
    WCHAR module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::u16string path(reinterpret_cast<const char16_t*>(module));
    return path.substr(0, path.find_last_of(u"\\/") + 1);
}

// The handler's image: the ".exe.so" (the ".exe" beside it is a Unix script).
inline std::u16string CatcherImage()
{
    return ModuleFolder() + u"SondrelUrlCatcher.exe.so";
}

// Points the schemes at the handler in this prefix (every test program has a
// prefix copy of its own) and starts an empty log; the log's path.
inline std::u16string RegisterUrlCatcher(const std::u16string& logPath)
{
    std::u16string command = u"\"" + CatcherImage() + u"\" \"%1\"";
    for (const char16_t* scheme : {u"mailto", u"http", u"https"})
    {
        HKEY hScheme = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, reinterpret_cast<LPCWSTR>(scheme), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &hScheme, nullptr) != ERROR_SUCCESS)
            continue;
        RegSetValueExW(hScheme, u"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(u""),
                       sizeof(char16_t));
        HKEY hCommand = nullptr;
        if (RegCreateKeyExW(hScheme, u"shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &hCommand, nullptr) == ERROR_SUCCESS)
        {
            RegSetValueExW(hCommand, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>((command.size() + 1) * sizeof(char16_t)));
            RegCloseKey(hCommand);
        }
        RegCloseKey(hScheme);
    }
    DeleteFileW(reinterpret_cast<LPCWSTR>(logPath.c_str()));
    HKEY hCatcher = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\SondrelUrlCatcher", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &hCatcher, nullptr) == ERROR_SUCCESS)
    {
        RegSetValueExW(hCatcher, u"Log", 0, REG_SZ, reinterpret_cast<const BYTE*>(logPath.c_str()),
                       static_cast<DWORD>((logPath.size() + 1) * sizeof(char16_t)));
        RegCloseKey(hCatcher);
    }
    return logPath;
}

// The links the handler was given, in order: each start's last argument,
// without its quotes, as UTF-8.
inline std::vector<std::string> CaughtUrls(const std::u16string& logPath)
{
    std::vector<std::string> urls;
    HANDLE hFile = CreateFileW(reinterpret_cast<LPCWSTR>(logPath.c_str()), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return urls;
    std::string text;
    char buffer[4096];
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        text.append(buffer, nRead);
    CloseHandle(hFile);
    size_t p = 0;
    while (p < text.size())
    {
        size_t end = text.find('\n', p);
        if (end == std::string::npos)
            break;  // a line still being written
        std::string line = text.substr(p, end - p);
        p = end + 1;
        // The image comes first, quoted; the link is what follows it.
        size_t start = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
        std::string url = start == std::string::npos ? std::string() : line.substr(start);
        while (!url.empty() && url[0] == ' ')
            url.erase(0, 1);
        if (url.size() >= 2 && url.front() == '"' && url.back() == '"')
            url = url.substr(1, url.size() - 2);
        urls.push_back(url);
    }
    return urls;
}

// Waits until the handler was started n times (it runs in a process of its
// own); what was caught by then.
inline std::vector<std::string> WaitForCaughtUrls(const std::u16string& logPath, size_t n,
                                                  DWORD dwTimeout = 20000)
{
    DWORD dwStart = GetTickCount();
    std::vector<std::string> urls = CaughtUrls(logPath);
    while (urls.size() < n && GetTickCount() - dwStart < dwTimeout)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return urls;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
        urls = CaughtUrls(logPath);
    }
    return urls;
}

// %XX sequences decoded into their bytes.
inline std::string PercentDecode(const std::string& text)
{
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0)
        {
            decoded.push_back(static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2])));
            i += 2;
        }
        else
            decoded.push_back(text[i]);
    }
    return decoded;
}

// One field ("subject", "body") of a mailto link, decoded; "<absent>" when
// the link has none.
inline std::string MailField(const std::string& url, const std::string& name)
{
    size_t query = url.find('?');
    if (query == std::string::npos)
        return "<absent>";
    size_t p = query + 1;
    while (p <= url.size())
    {
        size_t end = url.find('&', p);
        if (end == std::string::npos)
            end = url.size();
        std::string field = url.substr(p, end - p);
        if (field.compare(0, name.size() + 1, name + "=") == 0)
            return PercentDecode(field.substr(name.size() + 1));
        p = end + 1;
    }
    return "<absent>";
}

}  // namespace urlcatcher
