#include "toolkit/markup/script/QVTActiveScriptStdRuntime.h"

#include <map>
#include <vector>

#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

namespace {
struct CTimeoutTask
{
    IDispatch* pCallback;  // counted
    long nDelay;
    CQVTActiveScriptStdRuntime* pRuntime;  // not counted
};

// The table of pending timeouts, shared by every runtime of the process.
struct CTimeoutTable
{
    CQVTRWCriticalSection lock;
    std::map<UINT_PTR, CTimeoutTask> tasks;
};

CTimeoutTable& TimeoutTable()
{
    // Never destroyed: timers may still be pending while the process exits.
    static CTimeoutTable* pTable = new CTimeoutTable();
    return *pTable;
}

// Takes the task out of the table; FALSE when there was none.
BOOL TakeTask(UINT_PTR nId, CTimeoutTask& task)
{
    CTimeoutTable& table = TimeoutTable();
    CQVTWriteLock lock(table.lock);
    auto it = table.tasks.find(nId);
    if (it == table.tasks.end())
        return FALSE;
    task = it->second;
    table.tasks.erase(it);
    return TRUE;
}
}  // namespace

BEGIN_DISPATCH_MAP(CQVTActiveScriptStdRuntime, CQVTCmdTarget)
    DISP_FUNCTION(CQVTActiveScriptStdRuntime, "setTimeout", SetTimeout, VT_I4, VTS_VARIANT VTS_I4)
    DISP_FUNCTION(CQVTActiveScriptStdRuntime, "clearTimeout", ClearTimeout, VT_EMPTY, VTS_I4)
    DISP_FUNCTION(CQVTActiveScriptStdRuntime, "debugLog", DebugLog, VT_EMPTY, VTS_BSTR)
END_DISPATCH_MAP()

CQVTActiveScriptStdRuntime::CQVTActiveScriptStdRuntime()
{
    EnableAutomation();
}

CQVTActiveScriptStdRuntime::~CQVTActiveScriptStdRuntime()
{
    std::vector<std::pair<UINT_PTR, IDispatch*>> mine;
    {
        CTimeoutTable& table = TimeoutTable();
        CQVTWriteLock lock(table.lock);
        for (auto it = table.tasks.begin(); it != table.tasks.end();)
        {
            if (it->second.pRuntime != this)
            {
                ++it;
                continue;
            }
            mine.emplace_back(it->first, it->second.pCallback);
            it = table.tasks.erase(it);
        }
    }
    for (auto& task : mine)
    {
        ::KillTimer(nullptr, task.first);
        task.second->Release();
    }
}

long CQVTActiveScriptStdRuntime::SetTimeout(const VARIANT& callback, long nMilliseconds)
{
    // Scripts pass null as a null variant, not as a null object.
    IDispatch* pCallback = V_VT(&callback) == VT_DISPATCH ? V_DISPATCH(&callback) : nullptr;
    if (pCallback == nullptr)
        return 0;
    const UINT_PTR nId =
        ::SetTimer(nullptr, 0, static_cast<UINT>(nMilliseconds < 0 ? 0 : nMilliseconds), &OnTimer);
    if (nId == 0)
        return 0;
    pCallback->AddRef();
    IDispatch* pReplaced = nullptr;
    {
        CTimeoutTable& table = TimeoutTable();
        CQVTWriteLock lock(table.lock);
        auto it = table.tasks.find(nId);
        if (it != table.tasks.end())
            pReplaced = it->second.pCallback;
        table.tasks[nId] = CTimeoutTask{pCallback, nMilliseconds, this};
    }
    if (pReplaced != nullptr)
        pReplaced->Release();
    return static_cast<long>(nId);
}

void CQVTActiveScriptStdRuntime::ClearTimeout(long nTimerId)
{
    CTimeoutTask task;
    if (!TakeTask(static_cast<UINT_PTR>(static_cast<ULONG>(nTimerId)), task))
        return;
    ::KillTimer(nullptr, static_cast<UINT_PTR>(static_cast<ULONG>(nTimerId)));
    task.pCallback->Release();
}

void CQVTActiveScriptStdRuntime::DebugLog(LPCWSTR lpszText)
{
    if (lpszText != nullptr)
        ::OutputDebugStringW(lpszText);
}

int AFX_CDECL CQVTActiveScriptStdRuntime::GetPendingTimeoutCount()
{
    CTimeoutTable& table = TimeoutTable();
    CQVTWriteLock lock(table.lock);
    return static_cast<int>(table.tasks.size());
}

void CALLBACK CQVTActiveScriptStdRuntime::OnTimer(HWND, UINT, UINT_PTR nIdEvent, DWORD)
{
    // A timer callback: nothing may unwind into the message loop.
    try
    {
        CTimeoutTask task;
        if (!TakeTask(nIdEvent, task))
            return;
        ::KillTimer(nullptr, nIdEvent);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        task.pCallback->Invoke(0, IID_NULL, 1024, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
        task.pCallback->Release();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}
