#include "toolkit/commandbars/statusbar/QVTStatusBar.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CQVTStatusBar, CControlBar)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTStatusBar::OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_WM_SYSCOMMAND()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_MESSAGE(WM_SETTEXT, &CQVTStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CQVTStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CQVTStatusBar::OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, &CQVTStatusBar::OnSetMinHeight)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, &CQVTStatusBar::OnUpdateOvertype)
END_MESSAGE_MAP()

namespace {
const TCHAR kStatusBarClass[] = _T("QVTStatusBar");
const DWORD kBorderBits = 0xF00;

// Whether the ribbon theme draws the status bar into the frame.
const int kRibbonThemeId = 6;

// One "id=visible" item, read as "%i=%i" reads it: numbers in any base
// prefix, trailing text ignored. FALSE unless both numbers are there.
BOOL ParsePaneItem(LPCTSTR lpszItem, int& nID, int& nVisible)
{
    char16_t* pEnd = nullptr;
    const LONG nFirst = _tcstol(lpszItem, &pEnd, 0);
    if (pEnd == lpszItem || *pEnd != u'=')
        return FALSE;
    const char16_t* pSecond = pEnd + 1;
    const LONG nSecond = _tcstol(pSecond, &pEnd, 0);
    if (pEnd == pSecond)
        return FALSE;
    nID = static_cast<int>(nFirst);
    nVisible = static_cast<int>(nSecond);
    return TRUE;
}
}  // namespace

// The command UI of one pane.

void CQVTStatusBar::CStatusCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    CQVTStatusBar* pBar = static_cast<CQVTStatusBar*>(m_pOther);
    CQVTStatusBarPane* pPane = pBar ? pBar->GetPane(static_cast<int>(m_nIndex)) : nullptr;
    if (pPane)
        pPane->SetEnabled(bOn);
}

void CQVTStatusBar::CStatusCmdUI::SetCheck(int nCheck)
{
    CQVTStatusBar* pBar = static_cast<CQVTStatusBar*>(m_pOther);
    CQVTStatusBarPane* pPane = pBar ? pBar->GetPane(static_cast<int>(m_nIndex)) : nullptr;
    if (pPane)
        pPane->SetStyle(nCheck ? (pPane->GetStyle() | SBPS_POPOUT) : (pPane->GetStyle() & ~SBPS_POPOUT));
}

void CQVTStatusBar::CStatusCmdUI::SetText(LPCTSTR lpszText)
{
    CQVTStatusBar* pBar = static_cast<CQVTStatusBar*>(m_pOther);
    CQVTStatusBarPane* pPane = pBar ? pBar->GetPane(static_cast<int>(m_nIndex)) : nullptr;
    if (pPane)
        pPane->SetText(lpszText);
}

// Construction.

CQVTStatusBar::CQVTStatusBar()
    : m_pCommandBars(nullptr), m_pFont(nullptr), m_nGroupSpacing(CQVTPaintManager::DpiX(2)),
      m_nMinHeight(CQVTPaintManager::DpiY(20)), m_bShowSizeGripper(FALSE), m_bCustomizable(FALSE),
      m_bShowDisabledText(TRUE), m_bUpperCase(FALSE), m_pHotPane(nullptr), m_pMarkupContext(nullptr),
      m_pToolTipContext(new CQVTToolTipContext()), m_bTrackingMouseLeave(FALSE), m_bBorderBitsOff(FALSE)
{
    CQVTPaintManager::AddRefInstance();
    m_cyTopBorder = CQVTPaintManager::DpiY(2);
    m_cxLeftBorder = 0;
    m_cyBottomBorder = 0;
}

CQVTStatusBar::~CQVTStatusBar()
{
    RemoveAll();
    MarkupReleaseContext(m_pMarkupContext);
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
    m_pToolTipContext = nullptr;
    DestroyWindow();
    CQVTPaintManager::ReleaseInstance();
}

BOOL CQVTStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CQVTStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    CQVTDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), kStatusBarClass, CS_DBLCLKS);

    // A plain bottom bar with a top border draws no border of its own.
    if ((dwStyle & 0xFF00) == (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        dwStyle &= ~0xF80;
    m_dwStyle = dwStyle & CBRS_ALL;
    dwStyle &= ~CBRS_ALL;
    dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | dwCtrlStyle;
    m_bShowSizeGripper = (pParentWnd->GetStyle() & WS_THICKFRAME) != 0;
    return CWnd::CreateEx(0, kStatusBarClass, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CQVTStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CControlBar::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = kStatusBarClass;
    return TRUE;
}

// Panes.

BOOL CQVTStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    RemoveAll();
    BOOL bResult = TRUE;
    for (int i = 0; lpIDArray && i < nIDCount; ++i)
    {
        CQVTStatusBarPane* pPane = AddIndicator(lpIDArray[i]);
        if (lpIDArray[i] != 0)
        {
            CString strText;
            if (!QVTResourceManager()->LoadString(&strText, lpIDArray[i]))
            {
                bResult = FALSE;
                break;
            }
            pPane->m_strText = strText;
            ParsePaneMarkup(pPane);
        }
        else if (i == 0)
        {
            pPane->m_nWidth = 1;
            pPane->m_nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
        }
    }
    UpdateAllPanes(TRUE, FALSE);
    return bResult;
}

CQVTStatusBarPane* CQVTStatusBar::AddIndicator(UINT nID, int nIndex)
{
    if (nIndex < 0)
        nIndex = GetPaneCount();
    if (nIndex > GetPaneCount())
        return nullptr;
    CQVTStatusBarPane* pPane = new CQVTStatusBarPane();
    pPane->m_nID = nID;
    pPane->m_pStatusBar = this;
    m_arrPanes.insert(m_arrPanes.begin() + nIndex, pPane);
    for (int i = nIndex; i < GetPaneCount(); ++i)
        m_arrPanes[static_cast<size_t>(i)]->m_nIndex = i;
    return pPane;
}

void CQVTStatusBar::RemoveAll()
{
    m_pHotPane = nullptr;
    std::vector<CQVTStatusBarPane*> panes;
    panes.swap(m_arrPanes);
    for (CQVTStatusBarPane* pPane : panes)
    {
        pPane->m_pStatusBar = nullptr;
        pPane->m_nIndex = -1;
        pPane->InternalRelease();
    }
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

BOOL CQVTStatusBar::RemoveAt(int nIndex)
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return FALSE;
    if (m_pHotPane == pPane)
        m_pHotPane = nullptr;
    m_arrPanes.erase(m_arrPanes.begin() + nIndex);
    pPane->m_pStatusBar = nullptr;
    pPane->m_nIndex = -1;
    pPane->InternalRelease();
    UpdateAllPanes(TRUE, FALSE);
    return TRUE;
}

CQVTStatusBarPane* CQVTStatusBar::GetPane(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetPaneCount())
        return nullptr;
    return m_arrPanes[static_cast<size_t>(nIndex)];
}

CQVTStatusBarPane* CQVTStatusBar::FindPane(UINT nID) const
{
    const int nIndex = CommandToIndex(nID);
    return nIndex >= 0 ? GetPane(nIndex) : nullptr;
}

int CQVTStatusBar::CommandToIndex(UINT nID) const
{
    for (int i = 0; i < GetPaneCount(); ++i)
        if (m_arrPanes[static_cast<size_t>(i)]->m_nID == nID)
            return i;
    return -1;
}

UINT CQVTStatusBar::GetItemID(int nIndex) const
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nID : 0;
}

BOOL CQVTStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText)
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return FALSE;
    pPane->SetText(lpszNewText);
    return TRUE;
}

CString CQVTStatusBar::GetPaneText(int nIndex) const
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_strText : CString();
}

void CQVTStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    if (pPane)
        pPane->SetStyle(nStyle);
}

UINT CQVTStatusBar::GetPaneStyle(int nIndex) const
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nStyle : 0;
}

void CQVTStatusBar::SetPaneWidth(int nIndex, int cxWidth)
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    if (pPane)
        pPane->SetWidth(cxWidth);
}

CQVTStatusBarPane* CQVTStatusBar::HitTest(CPoint point) const
{
    for (CQVTStatusBarPane* pPane : m_arrPanes)
        if (pPane->IsVisible() && pPane->m_rcPane.PtInRect(point))
            return pPane;
    return nullptr;
}

// Options.

void CQVTStatusBar::SetCommandBars(CQVTCommandBars* pCommandBars)
{
    m_pCommandBars = pCommandBars;
    UpdateAllPanes(TRUE, FALSE);
}

CQVTPaintManager* CQVTStatusBar::GetPaintManager() const
{
    return m_pCommandBars ? m_pCommandBars->GetPaintManager() : QVTPaintManager();
}

CQVTImageManager* CQVTStatusBar::GetImageManager() const
{
    return m_pCommandBars ? m_pCommandBars->GetImageManager() : QVTImageManager();
}

void CQVTStatusBar::SetFont(CFont* pFont, BOOL bRedraw)
{
    m_pFont = pFont;
    if (bRedraw)
        UpdateAllPanes(TRUE, FALSE);
}

CFont* CQVTStatusBar::GetFont() const
{
    if (m_pFont && m_pFont->GetSafeHandle())
        return m_pFont;
    return GetPaintManager()->GetStatusFont();
}

void CQVTStatusBar::SetDrawDisabledText(BOOL bDraw)
{
    m_bShowDisabledText = bDraw;
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CQVTStatusBar::SetUpperCase(BOOL bUpperCase)
{
    m_bUpperCase = bUpperCase;
    UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBar::SetGroupSpacing(int nSpacing)
{
    m_nGroupSpacing = nSpacing;
    UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBar::EnableMarkup(BOOL bEnable)
{
    MarkupReleaseContext(m_pMarkupContext);
    if (bEnable)
        m_pMarkupContext = MarkupCreateContext(GetSafeHwnd(), FALSE);
    for (CQVTStatusBarPane* pPane : m_arrPanes)
        pPane->UpdateMarkup();
    UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBar::ParsePaneMarkup(CQVTStatusBarPane* pPane)
{
    MarkupReleaseElement(pPane->m_pMarkupElement);
    if (m_pMarkupContext && !pPane->m_strText.IsEmpty())
        pPane->m_pMarkupElement = MarkupParseText(m_pMarkupContext, pPane->m_strText);
}

void CQVTStatusBar::OnPaneTextChanged(CQVTStatusBarPane* pPane, int nOldWidth)
{
    if (pPane->IsVisible() && pPane->m_nWidth < 1 && pPane->GetWidth() != nOldWidth)
        UpdateAllPanes(TRUE, FALSE);
    else
        pPane->Redraw();
}

// Layout.

CSize CQVTStatusBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL /*bHorz*/)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    const CRect rcPadding = pPaintManager->m_rcStatusBarPadding;
    // A memory DC measures as the screen's does, without the window server.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CQVTFontDC font(&dc, GetFont());
    const int cyText = dc.GetTextExtent(_T("X"), 1).cy;
    int cy = rcPadding.top + rcPadding.bottom + m_cyTopBorder + m_cyBottomBorder +
             2 * ::GetSystemMetrics(SM_CYBORDER) + cyText;
    cy = std::max(cy, m_nMinHeight);
    cy = std::max(cy, pPaintManager->m_nStatusBarMinHeight);
    return CSize(32767, cy);
}

BOOL CQVTStatusBar::IsGripperShown() const
{
    if (!m_bShowSizeGripper)
        return FALSE;
    CWnd* pParent = GetParent();
    return !pParent || !pParent->IsZoomed();
}

void CQVTStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CControlBar::CalcInsideRect(rect, bHorz);
    const CRect rcPadding = GetPaintManager()->m_rcStatusBarPadding;
    rect.DeflateRect(rcPadding.left, rcPadding.top, rcPadding.right, rcPadding.bottom);
    if (IsGripperShown())
        rect.right -=
            m_cxRightBorder + 2 * ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXVSCROLL);
}

void CQVTStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL /*bUpdateText*/)
{
    if (!bUpdateRects || !GetSafeHwnd())
        return;
    CRect rcInside;
    GetWindowRect(&rcInside);
    rcInside.OffsetRect(-rcInside.left, -rcInside.top);
    CalcInsideRect(rcInside, TRUE);

    // The room the panes leave, and how many stretch into it.
    int nSpare = rcInside.Width();
    int nStretch = 0;
    BOOL bFirstVisible = TRUE, bGroupStarts = FALSE;
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        CQVTStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
        pPane->m_dwHideFlags &= ~CQVTStatusBarPane::hiddenNoFit;
        pPane->m_nIndex = i;
        bGroupStarts = bGroupStarts || pPane->m_bBeginGroup;
        if (!pPane->IsVisible())
            continue;
        pPane->m_nLastWidth = pPane->GetWidth();
        if (pPane->m_nStyle & SBPS_STRETCH)
            ++nStretch;
        nSpare -= pPane->m_nLastWidth + pPane->m_rcMargins.left + pPane->m_rcMargins.right +
                  (pPane->HasBorders() ? 2 : 0) + (bGroupStarts && !bFirstVisible ? m_nGroupSpacing : 0);
        bFirstVisible = FALSE;
        bGroupStarts = FALSE;
    }

    // Left to right; the first pane that does not fit hides itself and all after it.
    int x = rcInside.left;
    BOOL bNoFit = FALSE;
    bFirstVisible = TRUE;
    bGroupStarts = FALSE;
    for (CQVTStatusBarPane* pPane : m_arrPanes)
    {
        bGroupStarts = bGroupStarts || pPane->m_bBeginGroup;
        if (bNoFit)
            pPane->m_dwHideFlags |= CQVTStatusBarPane::hiddenNoFit;
        if (!pPane->IsVisible())
        {
            pPane->m_rcPane.SetRectEmpty();
            continue;
        }
        if (bGroupStarts && !bFirstVisible)
            x += m_nGroupSpacing;
        int nRight = x + pPane->m_nLastWidth + pPane->m_rcMargins.left + (pPane->HasBorders() ? 2 : 0);
        const BOOL bStretch = (pPane->m_nStyle & SBPS_STRETCH) != 0;
        if (bStretch && nStretch > 0)
        {
            if (nSpare >= 1)
            {
                const int nShare = nSpare / nStretch;
                nRight += nShare;
                nSpare -= nShare;
            }
            --nStretch;
        }
        if (nRight > rcInside.right)
        {
            if (!bStretch)
            {
                pPane->m_dwHideFlags |= CQVTStatusBarPane::hiddenNoFit;
                pPane->m_rcPane.SetRectEmpty();
                bNoFit = TRUE;
                continue;
            }
            nRight = rcInside.right;
        }
        pPane->m_rcPane.SetRect(x, rcInside.top + pPane->m_rcMargins.top, nRight,
                                rcInside.bottom - pPane->m_rcMargins.bottom);
        x = nRight + pPane->m_rcMargins.right;
        bFirstVisible = FALSE;
        bGroupStarts = FALSE;
    }

    m_pHotPane = nullptr;
    Invalidate(FALSE);
    PlaceChildWindows();
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(ptCursor))
        SetHotPane(HitTest(ptCursor), ptCursor);
}

void CQVTStatusBar::PlaceChildWindows()
{
    for (CQVTStatusBarPane* pPane : m_arrPanes)
    {
        if (!pPane->m_hWndChild || !::IsWindow(pPane->m_hWndChild))
            continue;
        if (pPane->IsVisible() && !pPane->m_rcPane.IsRectEmpty())
        {
            CRect rc(pPane->m_rcPane);
            if (pPane->HasBorders())
                rc.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
            ::SetWindowPos(pPane->m_hWndChild, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                           SWP_NOZORDER | SWP_SHOWWINDOW);
            ::InvalidateRect(pPane->m_hWndChild, nullptr, TRUE);
        }
        else
            ::ShowWindow(pPane->m_hWndChild, SW_HIDE);
    }
}

void CQVTStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    UpdateAllPanes(TRUE, FALSE);
}

// Drawing.

void CQVTStatusBar::DrawStatusBar(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (m_pCommandBars && pPaintManager->HasResourceLook() && !QVTResourceImages()->IsValid())
        return;
    CQVTStatusBarPaintManager* pPainter = pPaintManager->GetStatusBarPaintManager();
    if (!pPainter)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    pPainter->FillStatusBar(pDC, this);

    CQVTStatusBarPane* pLastVisible = nullptr;
    for (CQVTStatusBarPane* pPane : m_arrPanes)
        if (pPane->IsVisible())
            pLastVisible = pPane;

    BOOL bSeparatorPending = FALSE, bNoVisibleYet = TRUE;
    CQVTFontDC font(pDC, GetFont());
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        CQVTStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
        if (pPane->m_bBeginGroup && !bNoVisibleYet)
            bSeparatorPending = TRUE;
        if (!pPane->IsVisible() || pPane->m_rcPane.IsRectEmpty())
            continue;
        if (pPane->HasBorders())
            pPainter->DrawPaneBorder(pDC, pPane->m_rcPane, pPane, pPane == pLastVisible);
        else if (bSeparatorPending)
            pPainter->DrawPaneSeparator(pDC, pPane->m_rcPane, pPane);
        DrawPaneEntry(pDC, i, pPane->m_rcPane);
        bSeparatorPending = FALSE;
        bNoVisibleYet = FALSE;
    }
    DrawSizeGripper(pDC, rcClient);
}

void CQVTStatusBar::DrawPaneEntry(CDC* pDC, int nIndex, CRect rcItem)
{
    CQVTStatusBarPane* pPane = GetPane(nIndex);
    if (pPane)
        pPane->Draw(pDC, rcItem);
}

void CQVTStatusBar::DrawSizeGripper(CDC* pDC, CRect rcClient)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (m_pCommandBars && pPaintManager->HasResourceLook() && !QVTResourceImages()->IsValid())
        return;
    CQVTStatusBarPaintManager* pPainter = pPaintManager->GetStatusBarPaintManager();
    if (pPainter && IsGripperShown())
        pPainter->DrawGripper(pDC, rcClient);
}

void CQVTStatusBar::OnPaint()
{
    CPaintDC dcPaint(this);
    CQVTBufferDC dc(dcPaint);
    DrawStatusBar(&dc);
}

LRESULT CQVTStatusBar::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (pDC)
        DrawStatusBar(pDC);
    return 1;
}

BOOL CQVTStatusBar::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

// Command UI.

void CQVTStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetPaneCount());
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        state.m_nID = m_arrPanes[static_cast<size_t>(i)]->m_nID;
        state.m_nIndex = static_cast<UINT>(i);
        // The bar's own handlers come first (the overtype indicator).
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        if (pTarget)
            state.DoUpdate(reinterpret_cast<CCmdTarget*>(pTarget), FALSE);
    }
    if (pTarget)
        UpdateDialogControls(reinterpret_cast<CCmdTarget*>(pTarget), bDisableIfNoHndler);
}

void CQVTStatusBar::OnUpdateOvertype(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(_T("INS"));
    pCmdUI->Enable((::GetKeyState(VK_INSERT) & 1) != 0);
}

// Frame.

void CQVTStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    if (((dwOldStyle ^ dwNewStyle) & kBorderBits) && GetSafeHwnd())
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CQVTStatusBar::OnNcHitTest(CPoint point)
{
    if (!IsGripperShown())
        return CControlBar::OnNcHitTest(point);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const int cxGripper =
        m_cxRightBorder + 2 * ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXVSCROLL);
    if (GetExStyle() & WS_EX_LAYOUTRTL)
    {
        if (point.x < rcWindow.left + cxGripper)
            return HTBOTTOMLEFT;
    }
    else if (point.x >= rcWindow.right - cxGripper)
        return HTBOTTOMRIGHT;
    if (point.y < rcWindow.bottom - CQVTPaintManager::DpiY(3))
        return HTCLIENT;
    // Under the ribbon theme a status bar merged into the frame's bottom
    // border sizes the frame from there.
    CWnd* pParent = GetParent();
    if (GetPaintManager()->GetThemeId() == 6 && pParent)
    {
        CQVTCommandBarsFrameHook* pHook = CQVTCommandBarsFrameHook::FromFrame(pParent->GetSafeHwnd());
        if (pHook && pHook->IsFrameHasStatusBar())
            return HTBOTTOM;
    }
    return HTCLIENT;
}

void CQVTStatusBar::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The size box sizes the parent, not the bar.
    if ((nID & 0xFFF0) == SC_SIZE && GetParent())
    {
        GetParent()->SendMessage(WM_SYSCOMMAND, nID, lParam);
        return;
    }
    CControlBar::OnSysCommand(nID, lParam);
}

void CQVTStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    // The base handles the move without the border bits.
    const DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~kBorderBits;
    CControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = dwStyle;
}

void CQVTStatusBar::OnWindowPosChanged(WINDOWPOS* lpWndPos)
{
    CControlBar::OnWindowPosChanged(lpWndPos);
    if ((lpWndPos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) &&
        GetPaintManager()->GetThemeId() == kRibbonThemeId && GetParent())
        GetParent()->SetWindowPos(nullptr, 0, 0, 0, 0,
                                  SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

// Mouse.

void CQVTStatusBar::SetHotPane(CQVTStatusBarPane* pPane, CPoint point)
{
    if (pPane && !(pPane->IsButton() && pPane->IsEnabled()))
        pPane = nullptr;
    if (pPane == m_pHotPane)
    {
        if (pPane)
            pPane->OnMouseMove(point);
        return;
    }
    CQVTStatusBarPane* pOld = m_pHotPane;
    m_pHotPane = pPane;
    if (pPane && !m_bTrackingMouseLeave)
    {
        TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, GetSafeHwnd(), 0};
        m_bTrackingMouseLeave = ::TrackMouseEvent(&tme);
    }
    if (pOld)
    {
        pOld->Redraw();
        pOld->OnMouseMove(CPoint(-1, -1));
    }
    if (pPane)
    {
        pPane->Redraw();
        pPane->OnMouseMove(point);
    }
}

void CQVTStatusBar::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    // Drag loops of the command bars pause hot tracking.
    if (CQVTMouseManager::GetThreadManager()->IsInDragLoop())
        return;
    SetHotPane(HitTest(point), point);
}

void CQVTStatusBar::OnMouseLeave()
{
    m_bTrackingMouseLeave = FALSE;
    SetHotPane(nullptr, CPoint(-1, -1));
}

void CQVTStatusBar::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    if (m_pHotPane)
        m_pHotPane->OnLButtonDown(point);
}

void CQVTStatusBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CQVTStatusBarPane* pPane = HitTest(point);
    NMMOUSE nm = {};
    nm.hdr.hwndFrom = GetSafeHwnd();
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = NM_DBLCLK;
    nm.dwItemSpec = static_cast<DWORD_PTR>(pPane ? pPane->m_nIndex : -1);
    nm.pt = point;
    CWnd* pOwner = GetOwner();
    const LRESULT lResult =
        pOwner ? pOwner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm)) : 0;
    if (!lResult)
        OnLButtonDown(nFlags, point);
}

void CQVTStatusBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bCustomizable)
    {
        CControlBar::OnRButtonUp(nFlags, point);
        return;
    }
    CPoint ptScreen(point);
    ClientToScreen(&ptScreen);
    CreateCustomizePopup(ptScreen);
}

void CQVTStatusBar::OnPaneClick(CQVTStatusBarPane* pPane)
{
    if (pPane)
        SendPaneCommand(pPane->m_nID);
}

void CQVTStatusBar::SendPaneCommand(UINT nID)
{
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_COMMAND, nID, 0);
}

CQVTStatusBar::CControlCustomization::CControlCustomization(CQVTStatusBarPane* pPane) : m_pPane(pPane)
{
    // The entry follows its pane, not a command handler of the site.
    m_dwFlags |= qvtFlagManualUpdate;
}

void CQVTStatusBar::CControlCustomization::OnExecute()
{
    const BOOL bShow = (m_pPane->GetHideFlags() & CQVTStatusBarPane::hiddenByUser) != 0;
    m_pPane->SetVisible(bShow);
    SetChecked(bShow);
    // A chosen entry closes the menu, as a command does.
    CQVTControlRef keepAlive(this);
    CQVTCommandBar* pRoot = m_pParent ? m_pParent->GetRootParent() : nullptr;
    if (pRoot)
        pRoot->OnTrackLost();
}

BOOL CQVTStatusBar::CreateCustomizePopup(CPoint ptScreen)
{
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(m_pCommandBars);
    CQVTControls* pControls = pPopup->GetControls();
    CQVTControl* pTitle = pControls->AddByType(qvtControlLabel, QVT_IDS_CUSTOMIZE_STATUSBAR);
    if (pTitle)
    {
        CString strTitle;
        QVTResourceManager()->LoadString(&strTitle, QVT_IDS_CUSTOMIZE_STATUSBAR);
        pTitle->SetCaption(strTitle);
    }
    BOOL bFirst = TRUE;
    for (CQVTStatusBarPane* pPane : m_arrPanes)
    {
        if (pPane->GetID() == 0 || !pPane->GetCustomizationVisible())
            continue;
        auto* pEntry = new CControlCustomization(pPane);
        pControls->Add(pEntry, static_cast<int>(pPane->GetID()));
        pEntry->SetCaption(pPane->GetCaption().IsEmpty() ? pPane->GetText() : pPane->GetCaption());
        pEntry->SetShortcutText(pPane->GetText());
        pEntry->SetBeginGroup(pPane->GetBeginGroup() && !bFirst);
        pEntry->SetChecked(!(pPane->GetHideFlags() & CQVTStatusBarPane::hiddenByUser));
        bFirst = FALSE;
    }
    CQVTCommandBars::TrackPopupBar(pPopup, 0, ptScreen.x, ptScreen.y, this);
    pPopup->InternalRelease();
    return TRUE;
}

// Text of the message pane.

LRESULT CQVTStatusBar::OnSetText(WPARAM /*wParam*/, LPARAM lParam)
{
    CQVTStatusBarPane* pPane = FindPane(0);
    if (!pPane)
        return -1;
    pPane->SetText(reinterpret_cast<LPCTSTR>(lParam));
    return 0;
}

LRESULT CQVTStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    LPTSTR lpszBuffer = reinterpret_cast<LPTSTR>(lParam);
    const int nBufferLength = static_cast<int>(wParam);
    // A zero-length buffer has no room even for the terminator.
    if (!lpszBuffer || nBufferLength <= 0)
        return 0;
    CQVTStatusBarPane* pPane = FindPane(0);
    const CString strText = pPane ? pPane->m_strText : CString();
    const int nCopy = std::min(strText.GetLength(), nBufferLength - 1);
    memcpy(lpszBuffer, static_cast<LPCTSTR>(strText), nCopy * sizeof(TCHAR));
    lpszBuffer[nCopy] = 0;
    return nCopy;
}

LRESULT CQVTStatusBar::OnGetTextLength(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    CQVTStatusBarPane* pPane = FindPane(0);
    return pPane ? pPane->m_strText.GetLength() : 0;
}

LRESULT CQVTStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM /*lParam*/)
{
    m_nMinHeight = static_cast<int>(wParam);
    return TRUE;
}

// Tooltips and relayed messages.

INT_PTR CQVTStatusBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    const INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    CQVTStatusBarPane* pPane = HitTest(point);
    if (!pPane)
        return -1;
    const INT_PTR nPaneHit = pPane->OnToolHitTest(point, pTI);
    if (nPaneHit != -1)
        return nPaneHit;
    if (pPane->m_strToolTip.IsEmpty())
        return -1;
    if (pTI)
        CQVTToolTipContext::FillInToolInfo(pTI, GetSafeHwnd(), pPane->m_rcPane, pPane->m_nID,
                                           pPane->m_strToolTip);
    return pPane->m_nID;
}

BOOL CQVTStatusBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_SETCURSOR ||
        message == WM_MOUSELEAVE)
    {
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        ScreenToClient(&ptCursor);
        CQVTStatusBarPane* pPane = HitTest(ptCursor);
        LRESULT lResult = 0;
        if (pPane && pPane->m_pMarkupElement &&
            MarkupRelayElementMessage(pPane->m_pMarkupElement, message, wParam, lParam, &lResult))
        {
            *pResult = lResult;
            return TRUE;
        }
        if (m_pMarkupContext && MarkupRelayMessage(m_pMarkupContext, message, wParam, lParam, &lResult))
        {
            *pResult = lResult;
            return TRUE;
        }
        if (m_pToolTipContext && message != WM_SETCURSOR && message != WM_MOUSELEAVE)
            m_pToolTipContext->RelayToolTipMessage(this, message, wParam, lParam);
    }
    return CControlBar::OnWndMsg(message, wParam, lParam, pResult);
}

// State.

CString CQVTStatusBar::GetPanesState() const
{
    CString strState;
    for (CQVTStatusBarPane* pPane : m_arrPanes)
    {
        CString strItem;
        strItem.Format(_T("%i=%i"), static_cast<int>(pPane->m_nID),
                       (pPane->m_dwHideFlags & CQVTStatusBarPane::hiddenByUser) ? 0 : 1);
        if (!strState.IsEmpty())
            strState += _T(';');
        strState += strItem;
    }
    return strState;
}

void CQVTStatusBar::SetPanesState(const CString& strState)
{
    CString strItems(strState);
    strItems.Replace(_T('\n'), _T(';'));
    int nStart = 0;
    while (nStart <= strItems.GetLength())
    {
        int nEnd = strItems.Find(_T(';'), nStart);
        if (nEnd < 0)
            nEnd = strItems.GetLength();
        const CString strItem = strItems.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        int nID = 0, nVisible = 0;
        if (!ParsePaneItem(strItem, nID, nVisible) || nID == 0)
            continue;
        CQVTStatusBarPane* pPane = FindPane(static_cast<UINT>(nID));
        if (!pPane)
            continue;
        if (nVisible)
            pPane->m_dwHideFlags &= ~CQVTStatusBarPane::hiddenByUser;
        else
            pPane->m_dwHideFlags |= CQVTStatusBarPane::hiddenByUser;
    }
    UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBar::SaveState(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    if (!GetSafeHwnd() || (GetStyle() & WS_VISIBLE))
        pApp->WriteProfileString(lpszProfileName, _T("StatusBar"), nullptr);
    else
        pApp->WriteProfileInt(lpszProfileName, _T("StatusBar"), 0);
    const CString strPanes = m_bCustomizable ? GetPanesState() : CString();
    pApp->WriteProfileString(lpszProfileName, _T("StatusBarPanes"),
                             strPanes.IsEmpty() ? nullptr : strPanes.GetString());
}

void CQVTStatusBar::LoadState(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    if (pApp->GetProfileInt(lpszProfileName, _T("StatusBar"), 1) == 0)
    {
        if (GetSafeHwnd())
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_nStateFlags &= ~(delayShow | delayHide);
    }
    if (m_bCustomizable)
        SetPanesState(pApp->GetProfileString(lpszProfileName, _T("StatusBarPanes"), _T("")));
}

void CQVTStatusBar::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    if (pPX->IsLoading())
    {
        BOOL bVisible = TRUE;
        PropExchangeBool(pPX, _T("Visible"), bVisible, TRUE);
        if (GetSafeHwnd())
        {
            const BOOL bShown = (GetStyle() & WS_VISIBLE) != 0;
            if (bVisible && !bShown)
                ShowWindow(SW_SHOWNA);
            else if (!bVisible && bShown)
                ShowWindow(SW_HIDE);
        }
        CString strPanes;
        PropExchangeString(pPX, _T("Panes"), strPanes, _T(""));
        if (m_bCustomizable)
            SetPanesState(strPanes);
        return;
    }
    BOOL bVisible = !GetSafeHwnd() || (GetStyle() & WS_VISIBLE) != 0;
    PropExchangeBool(pPX, _T("Visible"), bVisible, TRUE);
    CString strPanes = m_bCustomizable ? GetPanesState() : CString();
    PropExchangeString(pPX, _T("Panes"), strPanes, _T(""));
}
