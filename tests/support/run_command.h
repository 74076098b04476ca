// The program started as the run command starts it (scripts/run.sh): from
// Linux, by the run scripts' own `run_program`, which prepares the prefix
// first. Here the prefix is the test session's, so the program joins the
// test's Wine server and the test reaches its windows. The test program
// defines SONDREL_SOURCE_DIR and SONDREL_BUILD_DIR.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <set>
#include <string>

#include "command_output.h"

namespace runcommand {

// The ids of the running processes of the image name.
inline std::set<DWORD> ProcessIds(const char16_t* pszImage)
{
    std::set<DWORD> ids;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32FirstW(hSnapshot, &entry); bMore; bMore = Process32NextW(hSnapshot, &entry))
    {
        if (lstrcmpiW(entry.szExeFile, reinterpret_cast<LPCWSTR>(pszImage)) == 0)
            ids.insert(entry.th32ProcessID);
    }
    CloseHandle(hSnapshot);
    return ids;
}

// Starts Sondrel and fills the process's handle (all access) and id; false
// when no new Sondrel process appeared in the time. Pumps this thread's
// messages while it waits.
inline bool StartProgram(PROCESS_INFORMATION* pProcess, DWORD dwTimeout = 60000)
{
    const std::set<DWORD> before = ProcessIds(u"Sondrel.exe");
    CommandOutput(
        "cd '" SONDREL_SOURCE_DIR "' && SONDREL_BUILD_DIR='" SONDREL_BUILD_DIR
        "' SONDREL_WINEPREFIX=\"$WINEPREFIX\" bash -c 'source scripts/environment.sh && run_program'"
        " </dev/null >/dev/null 2>&1 &");
    const DWORD dwStart = GetTickCount();
    do
    {
        for (DWORD dwId : ProcessIds(u"Sondrel.exe"))
        {
            if (before.count(dwId))
                continue;
            HANDLE hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, dwId);
            if (!hProcess)
                continue;
            *pProcess = PROCESS_INFORMATION();
            pProcess->hProcess = hProcess;
            pProcess->dwProcessId = dwId;
            return true;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
    } while (GetTickCount() - dwStart < dwTimeout);
    return false;
}

}  // namespace runcommand
