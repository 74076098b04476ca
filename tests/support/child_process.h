// Runs this test program a second time with one test and an environment
// variable, so that a second process reads what the first one wrote. The
// program's .exe must be a fake PE module (see the image and property
// exchange tests' CMakeLists), so Wine starts it by its bare name.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The child's exit code; 99 when it could not be started.
inline DWORD RunTestInChildProcess(const char16_t* pszTest, const char16_t* pszVariable,
                                   const std::u16string& value)
{
    WCHAR szModule[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    std::u16string module(szModule);
    size_t nSlash = module.find_last_of(u"\\/");
    if (nSlash != std::u16string::npos)
        module = module.substr(nSlash + 1);
    SetEnvironmentVariableW(pszVariable, value.c_str());
    std::u16string command = module + u" --gtest_filter=" + pszTest;
    std::vector<WCHAR> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    DWORD code = 99;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        WaitForSingleObject(pi.hProcess, 120000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    SetEnvironmentVariableW(pszVariable, nullptr);
    return code;
}

// The value this process was started with as a child, or empty.
inline std::u16string ChildProcessValue(const char16_t* pszVariable)
{
    WCHAR szValue[1024] = {};
    DWORD n = GetEnvironmentVariableW(pszVariable, szValue, 1024);
    return n > 0 && n < 1024 ? std::u16string(szValue, n) : std::u16string();
}
