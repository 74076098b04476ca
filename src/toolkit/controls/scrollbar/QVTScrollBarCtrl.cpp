#include "toolkit/controls/scrollbar/QVTScrollBarCtrl.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/themes/office2013/QVTScrollBarThemeOffice2013.h"
#include "toolkit/themes/resource/QVTScrollBarThemeResource.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"
#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTWindows10ElementThemes.h"

IMPLEMENT_DYNCREATE(CQVTScrollBarCtrl, CScrollBar)

BEGIN_MESSAGE_MAP(CQVTScrollBarCtrl, CScrollBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTScrollBarCtrl::OnPrintClient)
    ON_WM_ENABLE()
    ON_WM_CONTEXTMENU()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(SBM_SETSCROLLINFO, &CQVTScrollBarCtrl::OnSetScrollInfo)
    ON_MESSAGE(SBM_GETSCROLLINFO, &CQVTScrollBarCtrl::OnGetScrollInfo)
    ON_WM_SETFOCUS()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CQVTScrollBarCtrl::CQVTScrollBarCtrl() : m_bPreSubclassWindow(TRUE)
{
    SetTheme(1);
}

CQVTScrollBarCtrl::~CQVTScrollBarCtrl() {}

BOOL CQVTScrollBarCtrl::SetTheme(int nTheme)
{
    std::unique_ptr<CQVTScrollBarPaintManager> pTheme;
    int nStyle = 0;
    switch (nTheme)
    {
    case 0:
        pTheme = std::make_unique<CQVTScrollBarThemeWindowsClassic>();
        break;
    case 2:
        pTheme = std::make_unique<CQVTScrollBarThemeFlat>();
        nStyle = 2;
        break;
    case 3:
        pTheme = std::make_unique<CQVTScrollBarThemeUltraFlat>();
        nStyle = 2;
        break;
    case 5:
        pTheme = std::make_unique<CQVTScrollBarThemeOffice2000>();
        break;
    case 6:
        pTheme = std::make_unique<CQVTScrollBarThemeOfficeXP>();
        break;
    case 4:
        pTheme = std::make_unique<CQVTScrollBarThemeResource>();
        break;
    case 8:
    case 9:
        pTheme = std::make_unique<CQVTScrollBarThemeResource>();
        nStyle = nTheme == 8 ? 5 : 6;
        break;
    case 11:
        pTheme = std::make_unique<CQVTScrollBarThemeOffice2013>();
        break;
    case 12:
    case 13:
        pTheme = std::make_unique<CQVTScrollBarThemeVisualStudio2012>();
        nStyle = nTheme == 12 ? 8 : CQVTScrollBarThemeVisualStudio2012::styleDark;
        break;
    case 14:
        pTheme = std::make_unique<CQVTScrollBarThemeVisualStudio2015>();
        nStyle = 10;
        break;
    case 15:
        pTheme = std::make_unique<CQVTScrollBarThemeNativeWindows10>();
        nStyle = 11;
        break;
    case 7:
        // Waits for: CQVTScrollBarThemeOffice2003 (7), whose drawing no package
        // describes yet.
        return FALSE;
    default:
        pTheme = std::make_unique<CQVTScrollBarThemeWindowsUx>();
        break;
    }
    m_pTheme = std::move(pTheme);
    m_nThemeStyle = nStyle;
    m_pTheme->RefreshMetrics();
    if (GetSafeHwnd())
        Invalidate(FALSE);
    return TRUE;
}

CWnd* CQVTScrollBarCtrl::GetParentWindow() const
{
    return GetParent();
}

BOOL CQVTScrollBarCtrl::IsEnabled() const
{
    return GetSafeHwnd() && ::IsWindowEnabled(GetSafeHwnd());
}

CQVTScrollBarPaintManager* CQVTScrollBarCtrl::GetScrollBarPaintManager() const
{
    return m_pTheme.get();
}

void CQVTScrollBarCtrl::GetScrollBarRect(CRect& rc)
{
    GetClientRect(&rc);
}

void CQVTScrollBarCtrl::GetScrollInfo(SCROLLINFO* pSI)
{
    pSI->cbSize = sizeof(SCROLLINFO);
    if (!pSI->fMask)
        pSI->fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    ::GetScrollInfo(GetSafeHwnd(), SB_CTL, pSI);
}

void CQVTScrollBarCtrl::RedrawScrollBar()
{
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CQVTScrollBarCtrl::DoScroll(int cmd, int pos)
{
    if (m_spi.fSizebox)
        return;
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    pParent->SendMessage(m_spi.fVert ? WM_VSCROLL : WM_HSCROLL,
                         MAKEWPARAM(static_cast<WORD>(cmd), static_cast<WORD>(pos)),
                         reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

BOOL CQVTScrollBarCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CScrollBar::PreCreateWindow(cs))
        return FALSE;
    m_bPreSubclassWindow = FALSE;
    return TRUE;
}

void CQVTScrollBarCtrl::PreSubclassWindow()
{
    CScrollBar::PreSubclassWindow();
    if (m_bPreSubclassWindow)
        ReadStyle();
}

void CQVTScrollBarCtrl::ReadStyle()
{
    const DWORD dwStyle = GetStyle();
    m_spi.fVert = (dwStyle & SBS_VERT) != 0;
    m_spi.fSizebox = (dwStyle & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

int CQVTScrollBarCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScrollBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    ReadStyle();
    m_pTheme->RefreshMetrics();
    Invalidate(FALSE);
    return 0;
}

void CQVTScrollBarCtrl::DrawScrollBar(CDC* pDC)
{
    ReadStyle();
    if (!IsThumbDragging())
        UpdateScrollBarInfo();
    m_spi.ht = IsTracking() ? m_spi.ht : m_nHotPart;
    if (m_pTheme)
        m_pTheme->DrawScrollBar(pDC, this);
}

void CQVTScrollBarCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CQVTBufferDC dc(dcPaint);
    DrawScrollBar(&dc);
}

LRESULT CQVTScrollBarCtrl::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (pDC)
        DrawScrollBar(pDC);
    return 1;
}

void CQVTScrollBarCtrl::OnEnable(BOOL /*bEnable*/)
{
    Invalidate(FALSE);
}

void CQVTScrollBarCtrl::OnContextMenu(CWnd* /*pWnd*/, CPoint /*point*/)
{
    Default();
    Invalidate(FALSE);
}

void CQVTScrollBarCtrl::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    const int nHot = HitTestScrollBar(point);
    if (nHot == m_nHotPart)
        return;
    m_nHotPart = nHot;
    Invalidate(FALSE);
    if (m_nHotPart)
    {
        TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, GetSafeHwnd(), HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
}

void CQVTScrollBarCtrl::OnMouseLeave()
{
    OnMouseMove(0, CPoint(-1, -1));
}

void CQVTScrollBarCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (GetStyle() & WS_TABSTOP)
        SetFocus();
    // The message's own key state: the keyboard may belong to another window.
    TrackScrollBar(this, point, &m_spi, (nFlags & MK_SHIFT) != 0);
}

void CQVTScrollBarCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OnLButtonDown(nFlags, point);
}

LRESULT CQVTScrollBarCtrl::OnSetScrollInfo(WPARAM wParam, LPARAM /*lParam*/)
{
    const LRESULT lResult = Default();
    if (wParam)
    {
        Invalidate(FALSE);
        UpdateWindow();
    }
    return lResult;
}

LRESULT CQVTScrollBarCtrl::OnGetScrollInfo(WPARAM /*wParam*/, LPARAM lParam)
{
    const LRESULT lResult = Default();
    SCROLLINFO* pSI = reinterpret_cast<SCROLLINFO*>(lParam);
    if (pSI && IsThumbDragging() && (pSI->fMask & SIF_TRACKPOS))
        pSI->nTrackPos = m_pSBTrack->posNew;
    return lResult;
}

void CQVTScrollBarCtrl::OnSetFocus(CWnd* /*pOldWnd*/) {}

void CQVTScrollBarCtrl::OnSysColorChange()
{
    Default();
    QVTColorManager()->RefreshColors(FALSE);
    m_pTheme->RefreshMetrics();
    Invalidate(FALSE);
}
