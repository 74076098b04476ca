// Helpers shared by the tests of the common components and the program:
// the registry's two hives redirected to keys of the test's own, and a
// read-only key, as a user without rights to the machine's hive meets it.
#pragma once

#include <afx.h>
#include <aclapi.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace commontest {

inline const WCHAR* Wc(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
}

// While it lives, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process
// are two fresh keys under the real user hive; both go with it.
class RegistryRedirect
{
public:
    RegistryRedirect()
    {
        static int counter = 0;
        char name[80];
        std::snprintf(name, sizeof(name), "Software\\Sondrel Tests\\%lu-%d",
                      static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
        for (const char* p = name; *p; ++p)
            base_.push_back(static_cast<char16_t>(*p));
        RegCreateKeyExW(HKEY_CURRENT_USER, Wc(base_ + u"\\User"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &user_, nullptr);
        RegCreateKeyExW(HKEY_CURRENT_USER, Wc(base_ + u"\\Machine"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &machine_, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, user_);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
    }
    ~RegistryRedirect()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(user_);
        RegCloseKey(machine_);
        RegDeleteTreeW(HKEY_CURRENT_USER, Wc(base_));
    }
    RegistryRedirect(const RegistryRedirect&) = delete;
    RegistryRedirect& operator=(const RegistryRedirect&) = delete;

    // Where the redirected hives really are, for another process to read.
    std::u16string UserPath() const { return base_ + u"\\User"; }
    std::u16string MachinePath() const { return base_ + u"\\Machine"; }

    // Points one of the user's shell folders (e.g. "AppData", "My Music") at
    // a folder of the test's choosing.
    void SetShellFolder(const char16_t* name, const std::u16string& folder)
    {
        HKEY key = nullptr;
        RegCreateKeyExW(user_, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                        0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExW(key, Wc(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(char16_t)));
        RegCloseKey(key);
    }

private:
    std::u16string base_;
    HKEY user_ = nullptr;
    HKEY machine_ = nullptr;
};

// This program's own image, to start again in a second process. Wine names
// a Winelib program after its ".exe"; the image beside it is the ".exe.so"
// (the ".exe" there is a shell script for Unix).
inline std::u16string ProgramImage()
{
    WCHAR module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::u16string path(reinterpret_cast<const char16_t*>(module));
    if (GetFileAttributesW(Wc(path + u".so")) != INVALID_FILE_ATTRIBUTES)
        path += u".so";
    return path;
}

// Runs one test of this program in a second process, with an environment
// variable set for it; its exit code (0: passed), or 99 when it did not end
// within the time (it is then ended).
inline DWORD RunSelf(const char* filter, const char16_t* variable, const std::u16string& value,
                     DWORD milliseconds = 300000)
{
    SetEnvironmentVariableW(Wc(variable), Wc(value));
    std::u16string command = u"\"" + ProgramImage() + u"\" --gtest_filter=";
    for (const char* p = filter; *p; ++p)
        command.push_back(static_cast<char16_t>(*p));
    std::u16string line = command + u'\0';
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DWORD code = 99;
    if (CreateProcessW(nullptr, const_cast<LPWSTR>(Wc(line)), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process))
    {
        if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(Wc(variable), nullptr);
    return code;
}

// The value of an environment variable; empty when it is not set.
inline std::u16string Environment(const char16_t* variable)
{
    WCHAR value[2048] = {};
    DWORD n = GetEnvironmentVariableW(Wc(variable), value, 2048);
    return n > 0 && n < 2048 ? std::u16string(reinterpret_cast<const char16_t*>(value)) : std::u16string();
}

// Lets everyone read (and the test delete) the key, and no one write it.
inline bool MakeKeyReadOnly(HKEY root, const char16_t* path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, Wc(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    char buffer[256];
    PACL acl = reinterpret_cast<PACL>(buffer);
    InitializeAcl(acl, sizeof(buffer), ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    bool done = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    FreeSid(everyone);
    RegCloseKey(key);
    return done;
}

inline bool SetRegistryDword(HKEY root, const char16_t* path, const char16_t* name, DWORD value,
                             DWORD type = REG_DWORD)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, Wc(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool done = RegSetValueExW(key, Wc(name), 0, type, reinterpret_cast<const BYTE*>(&value),
                               sizeof(value)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

inline bool SetRegistryBytes(HKEY root, const char16_t* path, const char16_t* name, DWORD type,
                             const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, Wc(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool done = RegSetValueExW(key, Wc(name), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

inline bool SetRegistryString(HKEY root, const char16_t* path, const char16_t* name,
                              const std::u16string& text)
{
    return SetRegistryBytes(root, path, name, REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

}  // namespace commontest

// Failures show CStrings as UTF-8 text.
inline void PrintTo(const CString& text, std::ostream* os)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.GetString(), text.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.GetString(), text.GetLength(), &utf8[0], n, nullptr, nullptr);
    *os << '"' << utf8 << '"';
}
