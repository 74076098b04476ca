#include "tests/toolkit/commandbars/support/bars_frame.h"

IMPLEMENT_DYNAMIC(CBarsFrame, CFrameWnd)

CBarsFrame::CBarsFrame() : m_pCommandBars(nullptr) {}

CBarsFrame::~CBarsFrame()
{
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_pCommandBars)
        m_pCommandBars->InternalRelease();
    m_pCommandBars = nullptr;
}

BOOL CBarsFrame::CreateSite(const CRect& rc, UINT nIDMenu)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!Create(lpszClass, _T("Bars"), WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CLIPCHILDREN, rc, nullptr,
                nIDMenu ? MAKEINTRESOURCE(nIDMenu) : nullptr, WS_EX_TOPMOST))
        return FALSE;
    ResetBars();
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    SetFocus();
    UpdateWindow();
    return TRUE;
}

void CBarsFrame::ResetBars()
{
    if (m_pCommandBars)
        m_pCommandBars->InternalRelease();
    m_pCommandBars = CQVTCommandBars::CreateCommandBars();
    m_pCommandBars->SetSite(this);
    m_pCommandBars->EnableDocking();
    m_commands.clear();
    m_keys.clear();
    m_appMessages.clear();
    m_events.clear();
    m_nSysKeyMenu = 0;
    m_visibilityChanges.clear();
}

BOOL CBarsFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_pCommandBars && m_pCommandBars->PreTranslateFrameMessage(pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CBarsFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_KEYDOWN)
        m_keys.push_back(static_cast<UINT>(wParam));
    if (message == WM_DESTROY)
        m_hMenuAtDestroy = ::GetMenu(m_hWnd);
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        ++m_nSysKeyMenu;
    if (message == QVTWM_TOOLBARVISIBLECHANGED)
        m_visibilityChanges.push_back(lParam);
    if (message >= WM_APP && message < WM_APP + 100)
    {
        m_appMessages.push_back(message - WM_APP);
        m_events.push_back(message);
        return TRUE;
    }
    if (m_pCommandBars && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult))
        return TRUE;
    return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CBarsFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
    {
        m_commands.push_back(LOWORD(wParam));
        m_events.push_back(LOWORD(wParam));
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CBarsFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL bTestCommand = (nID >= 100 && nID < 1000) || (nID >= 40000 && nID < 41000) ||
                              (nID == QVT_ID_CUSTOMIZE && m_bHandleCustomize);
    if (bTestCommand && nCode == CN_COMMAND && pHandlerInfo)
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CNotifyRecordingFrame::RecordCodes(UINT nFirst, UINT nLast)
{
    m_nFirstCode = nFirst;
    m_nLastCode = nLast;
}

BOOL CNotifyRecordingFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == QVTWM_CONTROLNOTIFY)
    {
        const NMHDR* pNM = reinterpret_cast<const NMHDR*>(lParam);
        if (pNM->code >= m_nFirstCode && pNM->code <= m_nLastCode)
            m_codes.push_back(pNM->code);
        *pResult = pNM->code == QVT_CN_EXECUTE ? 0 : 1;
        return TRUE;
    }
    return CBarsFrame::OnWndMsg(message, wParam, lParam, pResult);
}

bool PumpTranslated(DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            if (AfxPreTranslateMessage(&msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        if (::GetTickCount() - dwStart >= dwMilliseconds)
            return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
