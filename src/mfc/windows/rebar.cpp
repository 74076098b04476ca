#include <afxwin.h>
#include <afxext.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CReBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CReBar, CControlBar)

// The control.

BOOL CReBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&init);
    return CWnd::Create(REBARCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

UINT CReBarCtrl::GetBandCount() const
{
    return static_cast<UINT>(::SendMessage(m_hWnd, RB_GETBANDCOUNT, 0, 0));
}

BOOL CReBarCtrl::GetBandInfo(UINT uBand, REBARBANDINFO* prbbi) const
{
    return ::SendMessage(m_hWnd, RB_GETBANDINFO, uBand, reinterpret_cast<LPARAM>(prbbi)) != 0;
}

BOOL CReBarCtrl::SetBandInfo(UINT uBand, REBARBANDINFO* prbbi)
{
    return ::SendMessage(m_hWnd, RB_SETBANDINFO, uBand, reinterpret_cast<LPARAM>(prbbi)) != 0;
}

BOOL CReBarCtrl::InsertBand(UINT uIndex, REBARBANDINFO* prbbi)
{
    return ::SendMessage(m_hWnd, RB_INSERTBAND, uIndex, reinterpret_cast<LPARAM>(prbbi)) != 0;
}

BOOL CReBarCtrl::DeleteBand(UINT uBand)
{
    return ::SendMessage(m_hWnd, RB_DELETEBAND, uBand, 0) != 0;
}

int CReBarCtrl::IDToIndex(UINT uBandID) const
{
    return static_cast<int>(::SendMessage(m_hWnd, RB_IDTOINDEX, uBandID, 0));
}

UINT CReBarCtrl::GetBarHeight() const
{
    return static_cast<UINT>(::SendMessage(m_hWnd, RB_GETBARHEIGHT, 0, 0));
}

// The bar.

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, &CReBar::OnHeightChange)
END_MESSAGE_MAP()

CReBar::CReBar()
{
    SetBorders(0, 0, 0, 0);
}

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&init);
    m_dwStyle = dwStyle & CBRS_ALL;
    // The bars' layout places and sizes the rebar, not the control itself.
    const DWORD dwWindowStyle =
        (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    return CWnd::Create(REBARCLASSNAME, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CReBar::AddBarBand(CWnd* pBar, REBARBANDINFO& rbbi)
{
    if (!pBar || !pBar->GetSafeHwnd() || !GetSafeHwnd())
        return FALSE;
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    CSize size = rcBar.Size();
    CControlBar* pControlBar = DYNAMIC_DOWNCAST(CControlBar, pBar);
    if (pControlBar)
        size = pControlBar->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    rbbi.cbSize = sizeof(REBARBANDINFO);
    rbbi.fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
    rbbi.hwndChild = pBar->GetSafeHwnd();
    rbbi.cxMinChild = size.cx;
    rbbi.cyMinChild = size.cy;
    rbbi.cx = size.cx;
    if (!GetReBarCtrl().InsertBand(static_cast<UINT>(-1), &rbbi))
        return FALSE;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame)
        pFrame->RecalcLayout();
    return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, CBitmap* pbmp, DWORD dwStyle)
{
    REBARBANDINFO rbbi = {};
    rbbi.fStyle = dwStyle;
    if (pszText)
    {
        rbbi.fMask |= RBBIM_TEXT;
        rbbi.lpText = const_cast<LPTSTR>(pszText);
    }
    if (pbmp)
    {
        rbbi.fMask |= RBBIM_BACKGROUND;
        rbbi.hbmBack = static_cast<HBITMAP>(pbmp->GetSafeHandle());
    }
    return AddBarBand(pBar, rbbi);
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText, DWORD dwStyle)
{
    REBARBANDINFO rbbi = {};
    rbbi.fStyle = dwStyle;
    rbbi.fMask = RBBIM_COLORS;
    rbbi.clrFore = clrFore;
    rbbi.clrBack = clrBack;
    if (pszText)
    {
        rbbi.fMask |= RBBIM_TEXT;
        rbbi.lpText = const_cast<LPTSTR>(pszText);
    }
    return AddBarBand(pBar, rbbi);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (!GetSafeHwnd())
        return CSize(0, 0);
    CRect rc;
    GetWindowRect(&rc);
    const int nHeight = static_cast<int>(GetReBarCtrl().GetBarHeight());
    if (bHorz)
        return CSize(bStretch ? 32767 : rc.Width(), nHeight);
    return CSize(nHeight, bStretch ? 32767 : rc.Height());
}

CSize CReBar::CalcDynamicLayout(int, DWORD nMode)
{
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CReBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    // The bands' windows update themselves at idle time.
}

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame)
        pFrame->DelayRecalcLayout();
}
