#include "toolkit/tabmanager/manager/QVTTabManagerCaptureLoop.h"

CQVTTabCaptureLoop::CQVTTabCaptureLoop(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr)
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    ::SetCapture(m_hWnd);
    m_bRunning = ::GetCapture() == m_hWnd;
}

CQVTTabCaptureLoop::~CQVTTabCaptureLoop()
{
    ReleaseCapture();
    if (m_bQuit)
        ::PostQuitMessage(static_cast<int>(m_nQuitCode));
}

void CQVTTabCaptureLoop::ReleaseCapture()
{
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CQVTTabCaptureLoop::Dispatch(const MSG& msg)
{
    ::DispatchMessageW(&msg);
}

BOOL CQVTTabCaptureLoop::Receive(MSG& msg)
{
    const BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
    if (bResult > 0)
        return TRUE;
    if (bResult == 0)
    {
        m_bQuit = TRUE;
        m_nQuitCode = msg.wParam;
    }
    m_bRunning = FALSE;
    return FALSE;
}

BOOL CQVTTabCaptureLoop::Next(MSG& msg)
{
    while (m_bRunning && Receive(msg))
        if (Filter(msg))
            return TRUE;
    return FALSE;
}

BOOL CQVTTabCaptureLoop::NextOrIdle(MSG& msg, DWORD dwTimeout, BOOL& bIdle)
{
    bIdle = FALSE;
    if (!m_bRunning)
        return FALSE;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
    {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, dwTimeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            bIdle = TRUE;
            return FALSE;
        }
    }
    if (!Receive(msg))
        return FALSE;
    if (Filter(msg))
        return TRUE;
    bIdle = m_bRunning;
    return FALSE;
}

BOOL CQVTTabCaptureLoop::Filter(MSG& msg)
{
    if (::GetCapture() != m_hWnd)
    {
        ::DispatchMessageW(&msg);
        m_bRunning = FALSE;
        return FALSE;
    }
    switch (msg.message)
    {
    case WM_CANCELMODE:
    case WM_RBUTTONDOWN:
        m_bRunning = FALSE;
        return FALSE;
    case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE)
            m_bRunning = FALSE;
        return FALSE;
    default:
        return TRUE;
    }
}
