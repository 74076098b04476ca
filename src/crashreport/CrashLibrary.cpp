// The DLL's entry points, exported by ordinal. None lets a C++ exception
// escape; each answers 0 for success.
#include <windows.h>

#include "crashreport/CrashReporter.h"

namespace {

using crashreport::ReporterState;
using crashreport::Text;

// Static initialisation: the DLL needs no entry code.
SRWLOCK g_lock = SRWLOCK_INIT;
ReporterState g_state;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
void* g_firstChance = nullptr;
LONG g_reporting = 0;

class Lock
{
public:
    Lock() { AcquireSRWLockExclusive(&g_lock); }
    ~Lock() { ReleaseSRWLockExclusive(&g_lock); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

// Runs the callback, writes the report, and answers the folder. The crashing
// thread may have died holding the lock: after a second it goes on without.
std::u16string Report(EXCEPTION_POINTERS* pointers)
{
    bool locked = false;
    for (int i = 0; i < 100 && !locked; ++i)
    {
        locked = TryAcquireSRWLockExclusive(&g_lock) != FALSE;
        if (!locked)
            Sleep(10);
    }
    CrashCallbackProc callback = g_state.callback;
    void* data = g_state.callbackData;
    if (locked)
        ReleaseSRWLockExclusive(&g_lock);
    if (callback != nullptr)
    {
        try
        {
            callback(data);
        }
        catch (...)
        {
        }
    }
    std::u16string folder;
    try
    {
        // The callback adds through the entry points, which take the lock.
        if (locked)
            AcquireSRWLockExclusive(&g_lock);
        ReporterState state = g_state;
        if (locked)
            ReleaseSRWLockExclusive(&g_lock);
        folder = crashreport::WriteReport(state, pointers);
        if (!folder.empty())
            crashreport::StartSender(state, folder);
    }
    catch (...)
    {
    }
    return folder;
}

// Under Wine, frame-based dispatch faults again on the program's own C++
// frames (their unwind data is not Windows'), so a crash would never reach
// the unhandled-exception filter: the faults that end a program are taken
// first, unless Wine's own modules raised them (they catch their own).
bool IsFatalCode(DWORD code)
{
    switch (code)
    {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
    case 0x80000101:  // abort(), and so an uncaught C++ exception
        return true;
    default:
        return false;
    }
}

bool IsSystemAddress(const void* address)
{
    HMODULE module = nullptr;
    WCHAR path[MAX_PATH] = {}, system[MAX_PATH] = {};
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module) ||
        GetModuleFileNameW(module, path, MAX_PATH) == 0)
        return false;
    UINT n = GetSystemWindowsDirectoryW(system, MAX_PATH);
    return n > 0 && n < MAX_PATH &&
           CompareStringOrdinal(path, static_cast<int>(n), system, static_cast<int>(n), TRUE) == CSTR_EQUAL;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

LONG CALLBACK CrashFirstChance(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    if (record == nullptr || !IsFatalCode(record->ExceptionCode) ||
        (record->ExceptionCode != 0x80000101 && IsSystemAddress(record->ExceptionAddress)))
        return EXCEPTION_CONTINUE_SEARCH;
    CrashFilter(pointers);
    TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers)
{
    // A fault while reporting ends the process without a second report.
    if (InterlockedExchange(&g_reporting, 1) != 0)
        return EXCEPTION_EXECUTE_HANDLER;
    Report(pointers);
    return EXCEPTION_EXECUTE_HANDLER;
}

bool IsInstalled()
{
    Lock lock;
    return g_state.installed;
}

}  // namespace

extern "C" {

int WINAPI CrashInstall(const CrashInstallRecord* pRecord)
{
    try
    {
        if (pRecord == nullptr || pRecord->cbSize != sizeof(CrashInstallRecord))
            return 1;
        Lock lock;
        if (g_state.installed)
            return 2;
        ReporterState state;
        state.installed = true;
        state.flags = pRecord->dwFlags;
        state.appName = Text(pRecord->pszAppName);
        state.appVersion = Text(pRecord->pszAppVersion);
        state.mailTo = Text(pRecord->pszMailTo);
        state.mailSubject = Text(pRecord->pszMailSubject);
        state.uploadUrl = Text(pRecord->pszUploadUrl);
        state.privacyUrl = Text(pRecord->pszPrivacyUrl);
        state.languageFile = Text(pRecord->pszLanguageFile);
        state.reportFolder = Text(pRecord->pszReportFolder);
        state.priorities[0] = pRecord->nPriorityUpload;
        state.priorities[1] = pRecord->nPriorityMail;
        state.priorities[2] = pRecord->nPriorityMapi;
        state.restartTimeout = pRecord->nRestartTimeout;
        g_state = std::move(state);
        g_previousFilter = SetUnhandledExceptionFilter(&CrashFilter);
        g_firstChance = AddVectoredExceptionHandler(1, &CrashFirstChance);
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashUninstall()
{
    try
    {
        Lock lock;
        if (!g_state.installed)
            return 1;
        SetUnhandledExceptionFilter(g_previousFilter);
        g_previousFilter = nullptr;
        if (g_firstChance != nullptr)
            RemoveVectoredExceptionHandler(g_firstChance);
        g_firstChance = nullptr;
        g_state = ReporterState();
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashAddFile(LPCWSTR pszPath, LPCWSTR pszDestName, LPCWSTR pszDescription, DWORD dwFlags)
{
    try
    {
        if (pszPath == nullptr || *pszPath == 0)
            return 1;
        Lock lock;
        if (!g_state.installed)
            return 2;
        g_state.files.push_back({Text(pszPath), Text(pszDestName), Text(pszDescription), dwFlags});
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashAddProperty(LPCWSTR pszName, LPCWSTR pszValue)
{
    try
    {
        if (pszName == nullptr || *pszName == 0)
            return 1;
        Lock lock;
        if (!g_state.installed)
            return 2;
        g_state.properties.emplace_back(Text(pszName), Text(pszValue));
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashAddRegistryKey(LPCWSTR pszKeyPath, LPCWSTR pszFileName, DWORD dwFlags)
{
    try
    {
        if (pszKeyPath == nullptr || *pszKeyPath == 0 || pszFileName == nullptr || *pszFileName == 0)
            return 1;
        Lock lock;
        if (!g_state.installed)
            return 2;
        g_state.dumps.push_back({Text(pszKeyPath), Text(pszFileName), dwFlags});
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashAddScreenshot(DWORD dwFlags, int nQuality)
{
    try
    {
        Lock lock;
        if (!g_state.installed)
            return 2;
        g_state.screenshot = true;
        g_state.screenshotFlags = dwFlags;
        g_state.screenshotQuality = nQuality;
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashSetCallback(CrashCallbackProc pfnCallback, void* pUserData)
{
    try
    {
        Lock lock;
        if (!g_state.installed)
            return 2;
        g_state.callback = pfnCallback;
        g_state.callbackData = pUserData;
        return 0;
    }
    catch (...)
    {
        return 3;
    }
}

int WINAPI CrashGenerateReport(CrashExceptionRecord* pRecord)
{
    try
    {
        if (pRecord == nullptr || pRecord->cbSize != sizeof(CrashExceptionRecord) || !IsInstalled())
            return 1;
        if (pRecord->pExceptionPointers != nullptr)
            return Report(pRecord->pExceptionPointers).empty() ? 4 : 0;
        // No exception: the caller's own state, under the code it gives.
        CONTEXT context = {};
        RtlCaptureContext(&context);
        EXCEPTION_RECORD exception = {};
        exception.ExceptionCode = pRecord->dwCode;
        exception.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
        EXCEPTION_POINTERS pointers = {&exception, &context};
        return Report(&pointers).empty() ? 4 : 0;
    }
    catch (...)
    {
        return 3;
    }
}

}  // extern "C"
