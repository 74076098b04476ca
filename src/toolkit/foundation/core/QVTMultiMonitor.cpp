#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"

#include <tchar.h>

QVT_IMPLEMENT_SINGLETON(CQVTMultiMonitor, QVTMultiMonitor, nullptr)

CQVTMultiMonitor::CQVTMultiMonitor()
{
    if (m_user32.GetModuleHandle(_T("User32.dll")))
    {
        BOOL bAll = m_user32.GetProcAddress(&m_pfnGetSystemMetrics, "GetSystemMetrics");
        bAll = m_user32.GetProcAddress(&m_pfnMonitorFromWindow, "MonitorFromWindow") && bAll;
        bAll = m_user32.GetProcAddress(&m_pfnMonitorFromRect, "MonitorFromRect") && bAll;
        bAll = m_user32.GetProcAddress(&m_pfnMonitorFromPoint, "MonitorFromPoint") && bAll;
        bAll = m_user32.GetProcAddress(&m_pfnGetMonitorInfo, "GetMonitorInfoW") && bAll;
        bAll = m_user32.GetProcAddress(&m_pfnEnumDisplaySettingsEx, "EnumDisplaySettingsExW") && bAll;
        if (bAll)
            return;
    }
    // The whole API or none of it.
    m_pfnGetSystemMetrics = nullptr;
    m_pfnMonitorFromWindow = nullptr;
    m_pfnMonitorFromRect = nullptr;
    m_pfnMonitorFromPoint = nullptr;
    m_pfnGetMonitorInfo = nullptr;
    m_pfnEnumDisplaySettingsEx = nullptr;
}

CRect CQVTMultiMonitor::GetScreenArea(HMONITOR hMonitor)
{
    if (hMonitor && m_pfnGetMonitorInfo)
    {
        MONITORINFO info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(MONITORINFO);
        if (m_pfnGetMonitorInfo(hMonitor, &info))
            return CRect(info.rcMonitor);
    }
    return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

CRect CQVTMultiMonitor::GetWorkArea(HMONITOR hMonitor)
{
    if (hMonitor && m_pfnGetMonitorInfo)
    {
        MONITORINFO info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(MONITORINFO);
        if (m_pfnGetMonitorInfo(hMonitor, &info))
            return CRect(info.rcWork);
    }
    CRect rcWork(0, 0, 0, 0);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    return rcWork;
}

CRect CQVTMultiMonitor::GetScreenAreaFromPoint(POINT ptScreen)
{
    return GetScreenArea(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(ptScreen, MONITOR_DEFAULTTONULL)
                                               : nullptr);
}

CRect CQVTMultiMonitor::GetScreenAreaFromHwnd(HWND hWnd)
{
    return GetScreenArea(m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL)
                                                : nullptr);
}

CRect CQVTMultiMonitor::GetScreenAreaFromRect(LPCRECT lprcScreen)
{
    return GetScreenArea(m_pfnMonitorFromRect && lprcScreen
                             ? m_pfnMonitorFromRect(lprcScreen, MONITOR_DEFAULTTONULL)
                             : nullptr);
}

CRect CQVTMultiMonitor::GetWorkAreaFromPoint(POINT ptScreen)
{
    return GetWorkArea(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(ptScreen, MONITOR_DEFAULTTONULL)
                                             : nullptr);
}

CRect CQVTMultiMonitor::GetWorkAreaFromHwnd(HWND hWnd)
{
    return GetWorkArea(m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL)
                                              : nullptr);
}

CRect CQVTMultiMonitor::GetWorkAreaFromRect(LPCRECT lprcScreen)
{
    return GetWorkArea(m_pfnMonitorFromRect && lprcScreen
                           ? m_pfnMonitorFromRect(lprcScreen, MONITOR_DEFAULTTONULL)
                           : nullptr);
}

CRect CQVTMultiMonitor::GetWorkAreaFromWnd(const CWnd* pWnd)
{
    return GetWorkAreaFromHwnd(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

CRect CQVTMultiMonitor::GetWorkAreaAtCursor()
{
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    return GetWorkAreaFromPoint(pt);
}

BOOL CQVTMultiMonitor::GetMonitorDisplaySettings(HWND hWnd, DEVMODEW* pDevMode)
{
    if (!pDevMode || !m_pfnMonitorFromWindow || !m_pfnGetMonitorInfo || !m_pfnEnumDisplaySettingsEx)
        return FALSE;
    HMONITOR hMonitor = m_pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL);
    if (!hMonitor)
        return FALSE;
    MONITORINFOEXW info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(MONITORINFOEXW);
    if (!m_pfnGetMonitorInfo(hMonitor, reinterpret_cast<LPMONITORINFO>(&info)))
        return FALSE;
    return m_pfnEnumDisplaySettingsEx(info.szDevice, ENUM_CURRENT_SETTINGS, pDevMode, 0);
}
