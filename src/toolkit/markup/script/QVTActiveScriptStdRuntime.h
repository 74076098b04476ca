// The functions every markup script sees as globals: setTimeout and
// clearTimeout over windowless thread timers, and debugLog. Pending timeouts
// live in one process-wide table; a runtime that goes away cancels its own.
#pragma once

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTActiveScriptStdRuntime : public CQVTCmdTarget
{
public:
    CQVTActiveScriptStdRuntime();
    ~CQVTActiveScriptStdRuntime() override;

    // The timer id, 0 without a callback or a timer.
    long SetTimeout(const VARIANT& callback, long nMilliseconds);
    void ClearTimeout(long nTimerId);
    void DebugLog(LPCWSTR lpszText);

    // Timeouts of all runtimes still waiting.
    static int AFX_CDECL GetPendingTimeoutCount();

protected:
    DECLARE_DISPATCH_MAP()

private:
    static void CALLBACK OnTimer(HWND hWnd, UINT nMessage, UINT_PTR nIdEvent, DWORD dwTime);
};
