// Helpers shared by the trace-log tests: scratch folders and text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tracetest {

inline std::string Narrow(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
    {
        if (c < 0x80)
            out.push_back(static_cast<char>(c));
        else
            out += "?";
    }
    return out;
}

inline std::u16string Wide(const char* s)
{
    std::u16string out;
    while (*s)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s++)));
    return out;
}

inline const WCHAR* W(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
}

// A fresh folder under the temporary folder, with a space in its name;
// removed with its files when the object goes.
class ScratchFolder
{
public:
    explicit ScratchFolder(const char* tag)
    {
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        char name[96];
        snprintf(name, sizeof(name), "sondrel %s %lu %d\\", tag,
                 static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
        path_ = std::u16string(reinterpret_cast<const char16_t*>(temp)) + Wide(name);
        CreateDirectoryW(W(path_), nullptr);
    }
    ~ScratchFolder() { Remove(path_); }

    const std::u16string& Path() const { return path_; }

    std::vector<std::u16string> Files(const char16_t* pattern = u"*.p7d") const;

    static void Remove(const std::u16string& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(W(folder + u"*"), &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                std::u16string name = reinterpret_cast<const char16_t*>(data.cFileName);
                if (name == u"." || name == u"..")
                    continue;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(folder + name + u"\\");
                else
                    DeleteFileW(W(folder + name));
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(W(folder));
    }

private:
    std::u16string path_;
};

// Full paths of the files in a folder (ending in a backslash) that match.
inline std::vector<std::u16string> FilesIn(const std::u16string& folder, const char16_t* pattern = u"*.p7d")
{
    std::vector<std::u16string> files;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W(folder + pattern), &data);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + reinterpret_cast<const char16_t*>(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return files;
}

inline std::vector<std::u16string> ScratchFolder::Files(const char16_t* pattern) const
{
    return FilesIn(path_, pattern);
}

inline std::string ReadBytes(const std::u16string& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

inline void WriteBytes(const std::u16string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace tracetest
