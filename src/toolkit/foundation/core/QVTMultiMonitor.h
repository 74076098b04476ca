// Screen and work areas of the monitor under a point, window, rectangle or the
// cursor, with the primary screen standing in when the system has no
// multi-monitor API.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/core/QVTModuleHandle.h"

class CQVTMultiMonitor
{
public:
    CQVTMultiMonitor();
    virtual ~CQVTMultiMonitor() {}

    // TRUE when all six functions were bound.
    BOOL HasMultiMonitorApi() const { return m_pfnGetMonitorInfo != nullptr; }

    CRect GetScreenArea(HMONITOR hMonitor);
    CRect GetWorkArea(HMONITOR hMonitor);

    CRect GetScreenAreaFromPoint(POINT ptScreen);
    CRect GetScreenAreaFromHwnd(HWND hWnd);
    CRect GetScreenAreaFromRect(LPCRECT lprcScreen);
    CRect GetWorkAreaFromPoint(POINT ptScreen);
    CRect GetWorkAreaFromHwnd(HWND hWnd);
    CRect GetWorkAreaFromRect(LPCRECT lprcScreen);
    CRect GetWorkAreaFromWnd(const CWnd* pWnd);
    CRect GetWorkAreaAtCursor();

    // The caller sets pDevMode->dmSize.
    BOOL GetMonitorDisplaySettings(HWND hWnd, DEVMODEW* pDevMode);

private:
    typedef int(WINAPI* PFNGETSYSTEMMETRICS)(int);
    typedef HMONITOR(WINAPI* PFNMONITORFROMWINDOW)(HWND, DWORD);
    typedef HMONITOR(WINAPI* PFNMONITORFROMRECT)(LPCRECT, DWORD);
    typedef HMONITOR(WINAPI* PFNMONITORFROMPOINT)(POINT, DWORD);
    typedef BOOL(WINAPI* PFNGETMONITORINFOW)(HMONITOR, LPMONITORINFO);
    typedef BOOL(WINAPI* PFNENUMDISPLAYSETTINGSEXW)(LPCWSTR, DWORD, LPDEVMODEW, DWORD);

    CQVTModuleHandle m_user32;
    PFNGETSYSTEMMETRICS m_pfnGetSystemMetrics = nullptr;
    PFNMONITORFROMWINDOW m_pfnMonitorFromWindow = nullptr;
    PFNMONITORFROMRECT m_pfnMonitorFromRect = nullptr;
    PFNMONITORFROMPOINT m_pfnMonitorFromPoint = nullptr;
    PFNGETMONITORINFOW m_pfnGetMonitorInfo = nullptr;
    PFNENUMDISPLAYSETTINGSEXW m_pfnEnumDisplaySettingsEx = nullptr;
};

CQVTMultiMonitor* AFXAPI QVTMultiMonitor();
