// Default handlers: each passes its message on to the window class.
#include <afxwin.h>

int CWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return (int)Default();
}

BOOL CWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    return (BOOL)Default();
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnNcPaint()
{
    Default();
}

void CWnd::OnSyncPaint()
{
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC* pDC)
{
    return (BOOL)Default();
}

void CWnd::OnSize(UINT nType, int cx, int cy)
{
    Default();
}

void CWnd::OnMove(int x, int y)
{
    Default();
}

void CWnd::OnSizing(UINT fwSide, LPRECT pRect)
{
    Default();
}

void CWnd::OnMoving(UINT fwSide, LPRECT pRect)
{
    Default();
}

void CWnd::OnEnterSizeMove()
{
    Default();
}

void CWnd::OnExitSizeMove()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR nIDEvent)
{
    Default();
}

void CWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnRButtonUp(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMButtonDown(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMButtonUp(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
}

BOOL CWnd::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    return (BOOL)Default();
}

void CWnd::OnMouseLeave()
{
    Default();
}

void CWnd::OnMouseHover(UINT nFlags, CPoint point)
{
    Default();
}

int CWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    return (int)Default();
}

BOOL CWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return (BOOL)Default();
}

void CWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    Default();
}

LRESULT CWnd::OnNcHitTest(CPoint point)
{
    return (LRESULT)Default();
}

void CWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    Default();
}

BOOL CWnd::OnNcActivate(BOOL bActive)
{
    return (BOOL)Default();
}

void CWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcRButtonDown(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcRButtonUp(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcMButtonDown(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcMouseHover(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcMouseLeave()
{
    Default();
}

void CWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    Default();
}

void CWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    Default();
}

void CWnd::OnSetFocus(CWnd* pOldWnd)
{
    Default();
}

void CWnd::OnKillFocus(CWnd* pNewWnd)
{
    Default();
}

void CWnd::OnCaptureChanged(CWnd* pWnd)
{
    Default();
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    Default();
}

void CWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    Default();
}

void CWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    Default();
}

void CWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

BOOL CWnd::OnQueryEndSession()
{
    return (BOOL)Default();
}

void CWnd::OnEndSession(BOOL bEnding)
{
    Default();
}

void CWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    Default();
}

void CWnd::OnSysColorChange()
{
    Default();
}

void CWnd::OnContextMenu(CWnd* pWnd, CPoint pos)
{
    Default();
}

void CWnd::OnInitMenu(CMenu* pMenu)
{
    Default();
}

void CWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    Default();
}

void CWnd::OnUnInitMenuPopup(CMenu* pPopupMenu, UINT nFlags)
{
    Default();
}

void CWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    Default();
}

LRESULT CWnd::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    return (LRESULT)Default();
}

void CWnd::OnEnterMenuLoop(BOOL bIsTrackPopupMenu)
{
    Default();
}

void CWnd::OnExitMenuLoop(BOOL bIsTrackPopupMenu)
{
    Default();
}

void CWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    Default();
}

UINT CWnd::OnGetDlgCode()
{
    return (UINT)Default();
}

void CWnd::OnEnable(BOOL bEnable)
{
    Default();
}

void CWnd::OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct)
{
    Default();
}

void CWnd::OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct)
{
    Default();
}

LRESULT CWnd::OnThemeChanged()
{
    return (LRESULT)Default();
}

void CWnd::OnCompositionChanged()
{
    Default();
}

void CWnd::OnDropFiles(HDROP hDropInfo)
{
    Default();
}

BOOL CWnd::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
{
    return (BOOL)Default();
}

BOOL CWnd::OnHelpInfo(HELPINFO* lpHelpInfo)
{
    return (BOOL)Default();
}

void CWnd::OnCancelMode()
{
    Default();
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return (HCURSOR)Default();
}

void CWnd::OnSessionChange(UINT nSessionState, UINT nId)
{
    Default();
}

BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR)
{
    return (BOOL)Default();
}

UINT CWnd::OnPowerBroadcast(UINT, LPARAM)
{
    return (UINT)Default();
}

LRESULT CWnd::OnPrintClient(CDC*, UINT)
{
    return Default();
}

void CWnd::OnUpdateUIState(UINT, UINT)
{
    Default();
}

void CWnd::OnChangeUIState(UINT, UINT)
{
    Default();
}

UINT CWnd::OnQueryUIState()
{
    return (UINT)Default();
}

void CWnd::OnMenuRButtonUp(UINT, CMenu*)
{
    Default();
}

void CWnd::OnXButtonDown(UINT, UINT, CPoint)
{
    Default();
}

void CWnd::OnXButtonUp(UINT, UINT, CPoint)
{
    Default();
}
