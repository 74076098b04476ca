#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"

#include <commctrl.h>

#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

UINT_PTR(WINAPI* CQVTSkinObjectFrame::s_pfnSetTimer)(HWND, UINT_PTR, UINT, TIMERPROC) = ::SetTimer;

namespace {
const UINT kSkinFrameIsActiveIcon = 0x0035;  // WM_ISACTIVEICON
const UINT kSkinFrameHotInterval = 50;
const UINT kSkinFrameStyleInterval = 1000;
// Property of the tab's page image.
const UINT kSkinFramePageImage = 3007;

DWORD SkinFrameAltSlot()
{
    // Made once, on the first frame's thread; never freed (the process's).
    static const DWORD dwSlot = ::TlsAlloc();
    return dwSlot;
}

// a * b / c rounded as MulDiv rounds, in 64 bits; 0 for a zero divisor.
LONGLONG SkinFrameMulDiv64(LONGLONG a, LONGLONG b, LONGLONG c)
{
    if (c == 0)
        return 0;
    const bool bNegative = ((a < 0) != (b < 0)) != (c < 0);
    const unsigned __int128 n = static_cast<unsigned __int128>(a < 0 ? -a : a) * (b < 0 ? -b : b);
    const unsigned __int128 d = static_cast<unsigned __int128>(c < 0 ? -c : c);
    const LONGLONG q = static_cast<LONGLONG>((n + d / 2) / d);
    return bNegative ? -q : q;
}

BOOL SkinFrameIsCtlColor(UINT message)
{
    return message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN ||
           message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC;
}

BOOL SkinFrameIsComboBox(HWND hWnd, UINT nStyle)
{
    WCHAR szClass[16] = {};
    if (hWnd == nullptr || ::GetClassNameW(hWnd, szClass, 16) == 0 || ::lstrcmpiW(szClass, u"ComboBox") != 0)
        return FALSE;
    return (static_cast<UINT>(::GetWindowLongW(hWnd, GWL_STYLE)) & 0x0F) == nStyle;
}

// The framework's grey control colours: the dialog brush for static,
// button and dialog backgrounds; edits, message boxes and scroll bars, and
// list boxes other than a drop-down combo's, keep their own.
BOOL SkinFrameGrayCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor, HBRUSH hBrush, COLORREF clrText)
{
    if (hBrush == nullptr || nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_MSGBOX ||
        nCtlColor == CTLCOLOR_SCROLLBAR)
        return FALSE;
    if (nCtlColor == CTLCOLOR_LISTBOX && !SkinFrameIsComboBox(::GetParent(hWnd), CBS_DROPDOWN))
        return FALSE;
    LOGBRUSH lb = {};
    ::GetObjectW(hBrush, sizeof(lb), &lb);
    ::SetBkColor(hDC, lb.lbColor);
    ::SetTextColor(hDC, clrText);
    return TRUE;
}

// Frames are looked up for timers through the manager.
CQVTSkinObjectFrame* SkinFrameLookup(HWND hWnd)
{
    CQVTSkinObject* pObject = QVTSkinManager()->Lookup(hWnd);
    if (pObject == nullptr || !pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
        return nullptr;
    return static_cast<CQVTSkinObjectFrame*>(pObject);
}

// The manager's lock, shared, while a frame draws from the schema.
class SkinFrameManagerRead
{
public:
    explicit SkinFrameManagerRead(CQVTSkinManager* pManager) : m_pManager(pManager)
    {
        if (m_pManager != nullptr)
            m_pManager->GetLock().EnterRead();
    }
    ~SkinFrameManagerRead()
    {
        if (m_pManager != nullptr)
            m_pManager->GetLock().LeaveRead();
    }
    SkinFrameManagerRead(const SkinFrameManagerRead&) = delete;
    SkinFrameManagerRead& operator=(const SkinFrameManagerRead&) = delete;

private:
    CQVTSkinManager* m_pManager;
};

// Holds a reference to a frame for a loop that may outlive its window.
class SkinFrameHold
{
public:
    explicit SkinFrameHold(CQVTSkinObjectFrame* pFrame) : m_pFrame(pFrame) { m_pFrame->InternalAddRef(); }
    ~SkinFrameHold() { m_pFrame->InternalRelease(); }
    SkinFrameHold(const SkinFrameHold&) = delete;
    SkinFrameHold& operator=(const SkinFrameHold&) = delete;

private:
    CQVTSkinObjectFrame* m_pFrame;
};
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectFrame, CQVTSkinObject)
IMPLEMENT_DYNCREATE(CQVTSkinObjectUser32Control, CQVTSkinObjectFrame)
IMPLEMENT_DYNCREATE(CQVTSkinObjectComCtl32Control, CQVTSkinObjectUser32Control)

BEGIN_MESSAGE_MAP(CQVTSkinObjectFrame, CQVTSkinObject)
    ON_MESSAGE(WM_NCPAINT, &CQVTSkinObjectFrame::OnNcPaint)
    ON_MESSAGE(WM_NCCALCSIZE, &CQVTSkinObjectFrame::OnNcCalcSize)
    ON_MESSAGE(WM_NCMOUSEMOVE, &CQVTSkinObjectFrame::OnNcMouseMove)
    ON_MESSAGE(WM_NCHITTEST, &CQVTSkinObjectFrame::OnNcHitTest)
    ON_MESSAGE(WM_NCLBUTTONDOWN, &CQVTSkinObjectFrame::OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, &CQVTSkinObjectFrame::OnNcLButtonDown)
    ON_MESSAGE(WM_NCRBUTTONUP, &CQVTSkinObjectFrame::OnNcRButtonUp)
    ON_MESSAGE(WM_NCMOUSELEAVE, &CQVTSkinObjectFrame::OnNcMouseLeave)
    ON_MESSAGE(WM_NCACTIVATE, &CQVTSkinObjectFrame::OnNcActivate)
    ON_MESSAGE(WM_SETTEXT, &CQVTSkinObjectFrame::OnSetText)
    ON_MESSAGE(WM_STYLECHANGED, &CQVTSkinObjectFrame::OnStyleChanged)
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectFrame::OnCreate)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, &CQVTSkinObjectFrame::OnWindowPosChanging)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, &CQVTSkinObjectFrame::OnWindowPosChanged)
    ON_MESSAGE(WM_PAINT, &CQVTSkinObjectFrame::OnPaint)
    ON_MESSAGE(WM_PRINT, &CQVTSkinObjectFrame::OnPrint)
    ON_MESSAGE(WM_HSCROLL, &CQVTSkinObjectFrame::OnScroll)
    ON_MESSAGE(WM_VSCROLL, &CQVTSkinObjectFrame::OnScroll)
    ON_MESSAGE(WM_GETMINMAXINFO, &CQVTSkinObjectFrame::OnGetMinMaxInfo)
    ON_MESSAGE(WM_SYSCOMMAND, &CQVTSkinObjectFrame::OnSysCommand)
    ON_MESSAGE(WM_ERASEBKGND, &CQVTSkinObjectFrame::OnEraseBkgnd)
    ON_MESSAGE(WM_SYSKEYDOWN, &CQVTSkinObjectFrame::OnSysKeyDown)
    ON_MESSAGE(WM_SYSKEYUP, &CQVTSkinObjectFrame::OnSysKeyUp)
    ON_MESSAGE(WM_KEYUP, &CQVTSkinObjectFrame::OnKeyUp)
    ON_MESSAGE(WM_SETICON, &CQVTSkinObjectFrame::OnSetIcon)
END_MESSAGE_MAP()

// Caption buttons.

BOOL CQVTSkinObjectFrame::CCaptionButton::IsPressed() const
{
    return m_pFrame->m_pButtonPressed == this;
}

BOOL CQVTSkinObjectFrame::CCaptionButton::IsHighlighted() const
{
    return m_pFrame->m_pButtonHot == this;
}

int CQVTSkinObjectFrame::CCaptionButton::GetState(BOOL bActive) const
{
    int nState = 1;
    if (!m_bEnabled)
        nState = 4;
    else if (IsPressed() && IsHighlighted())
        nState = 3;
    else if (IsHighlighted() && m_pFrame->m_pButtonPressed == nullptr)
        nState = 2;
    return bActive ? nState : nState + 4;
}

void CQVTSkinObjectFrame::CCaptionButton::Draw(CDC* pDC, BOOL bActive)
{
    if (m_rcButton.IsRectEmpty())
        return;
    CQVTSkinManagerSchema* pSchema = m_pFrame->GetSchema();
    CQVTSkinManagerClass* pClass = pSchema != nullptr ? pSchema->GetClass(u"WINDOW") : nullptr;
    if (pClass != nullptr && pClass->DrawThemeBackground(pDC, m_nClassPart, GetState(bActive), m_rcButton))
        return;
    // A skin without the button's images gets the system's button.
    UINT nType = DFCS_CAPTIONCLOSE;
    if (m_nHTCode == HTMAXBUTTON)
        nType = m_nCommand == SC_RESTORE ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    else if (m_nHTCode == HTMINBUTTON)
        nType = m_nCommand == SC_RESTORE ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
    else if (m_nHTCode == HTHELP)
        nType = DFCS_CAPTIONHELP;
    if (!m_bEnabled)
        nType |= DFCS_INACTIVE;
    else if (IsPressed() && IsHighlighted())
        nType |= DFCS_PUSHED;
    CRect rc(m_rcButton);
    if (pSchema != nullptr)
        QVTSkinDrawFrameControl(pSchema, pDC->GetSafeHdc(), &rc, DFC_CAPTION, nType);
    else
        ::DrawFrameControl(pDC->GetSafeHdc(), &rc, DFC_CAPTION, nType);
}

BOOL CQVTSkinObjectFrame::CCaptionButton::HitTest(CPoint ptWindow) const
{
    if (!m_bEnabled)
        return FALSE;
    CRect rc(m_rcButton);
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(m_pFrame->m_hWnd, GWL_STYLE));
    if ((dwStyle & WS_MAXIMIZE) && !(dwStyle & WS_CHILD))
    {
        // Buttons reach the screen's edge when maximized.
        rc.top -= QVTDpiScaler()->ScaleY(2);
        if (!m_pFrame->m_arrButtons.empty() && m_pFrame->m_arrButtons.front().get() == this)
            rc.right += QVTDpiScaler()->ScaleX(2);
    }
    return rc.PtInRect(ptWindow);
}

// The frame.

CQVTSkinObjectFrame::CQVTSkinObjectFrame()
{
    m_strClassName = u"WINDOW";
    m_nDialogTexture = 1;
    ZeroMemory(m_spi, sizeof(m_spi));
    m_spi[0].nBar = SB_HORZ;
    m_spi[1].nBar = SB_VERT;
    m_spi[1].fVert = TRUE;
}

CQVTSkinObjectFrame::~CQVTSkinObjectFrame()
{
    RemoveButtons();
}

void CQVTSkinObjectFrame::RemoveButtons()
{
    m_pButtonHot = nullptr;
    m_pButtonPressed = nullptr;
    m_arrButtons.clear();
}

BOOL CQVTSkinObjectFrame::IsWindowAlive() const
{
    return m_hWnd != nullptr && ::IsWindow(m_hWnd);
}

BOOL CQVTSkinObjectFrame::IsFramesSkinned()
{
    return m_pManager != nullptr && (m_pManager->GetApplyOptions() & qvtSkinApplyFrames) != 0 &&
           IsSkinEnabled();
}

BOOL CQVTSkinObjectFrame::IsFlatScrollBars() const
{
    // The common controls' flat bars draw themselves.
    typedef BOOL(WINAPI * PFNFLATSBGETSCROLLPROP)(HWND, int, LPINT);
    static PFNFLATSBGETSCROLLPROP pfnGetProp = reinterpret_cast<PFNFLATSBGETSCROLLPROP>(
        ::GetProcAddress(::GetModuleHandleW(u"comctl32.dll"), "FlatSB_GetScrollProp"));
    if (pfnGetProp == nullptr || m_hWnd == nullptr)
        return FALSE;
    int nStyle = 0;
    return pfnGetProp(m_hWnd, WSB_PROP_VSTYLE, &nStyle) && nStyle != 0;
}

BOOL CQVTSkinObjectFrame::HasCaptionOrThickFrame()
{
    const DWORD dwStyle = GetStyle();
    return (dwStyle & WS_CAPTION) == WS_CAPTION || (dwStyle & WS_THICKFRAME) != 0;
}

BOOL CQVTSkinObjectFrame::IsMDIChild()
{
    return (GetExStyle() & WS_EX_MDICHILD) != 0;
}

BOOL CQVTSkinObjectFrame::IsMaximizedMDIChild()
{
    return IsMDIChild() && (GetStyle() & WS_MAXIMIZE) != 0;
}

BOOL CQVTSkinObjectFrame::IsMDIFitOptions()
{
    const UINT nOptions = m_pManager != nullptr ? m_pManager->GetApplyOptions() : 0;
    return (nOptions & 1) != 0 && (nOptions & qvtSkinApplyFrames) != 0;
}

HWND CQVTSkinObjectFrame::GetTopLevelWindow()
{
    HWND hWnd = m_hWnd;
    // Bounded: a parent chain never loops, but a window may die midway.
    for (int nDepth = 0; hWnd != nullptr && nDepth < 256; ++nDepth)
    {
        if (!(::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
            return hWnd;
        HWND hParent = ::GetParent(hWnd);
        if (hParent == nullptr)
            return hWnd;
        hWnd = hParent;
    }
    return hWnd;
}

void CQVTSkinObjectFrame::ScreenToFrame(LPPOINT lpPoint)
{
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    if (GetExStyle() & WS_EX_LAYOUTRTL)
        lpPoint->x = rcWindow.right - 1 - lpPoint->x;
    else
        lpPoint->x -= rcWindow.left;
    lpPoint->y -= rcWindow.top;
}

void CQVTSkinObjectFrame::ClientToFrame(LPPOINT lpPoint)
{
    ::ClientToScreen(m_hWnd, lpPoint);
    ScreenToFrame(lpPoint);
}

void CQVTSkinObjectFrame::ReadBorders()
{
    CQVTSkinManagerSchema* pSchema = GetSchema();
    if (pSchema != nullptr && m_hWnd != nullptr)
        m_rcBorders = pSchema->CalcFrameBorders(this);
    else
        m_rcBorders.SetRectEmpty();
}

void CQVTSkinObjectFrame::UpdateButtons()
{
    const DWORD dwStyle = GetStyle(), dwExStyle = GetExStyle();
    if (dwStyle == m_dwStyle && dwExStyle == m_dwExStyle)
        return;
    m_dwStyle = dwStyle;
    m_dwExStyle = dwExStyle;
    RebuildButtons(dwStyle, dwExStyle);
}

void CQVTSkinObjectFrame::RebuildButtons(DWORD dwStyle, DWORD dwExStyle)
{
    RemoveButtons();
    if ((dwStyle & WS_CAPTION) != WS_CAPTION)
        return;
    const BOOL bTool = (dwExStyle & WS_EX_TOOLWINDOW) != 0;
    const BOOL bSysMenu = (dwStyle & WS_SYSMENU) != 0;
    const BOOL bMinMax = bSysMenu && !bTool && (dwStyle & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
    const BOOL bDialogFrame = (dwStyle & WS_DLGFRAME) || (dwExStyle & WS_EX_DLGMODALFRAME);
    const BOOL bMinimized = (dwStyle & WS_MINIMIZE) != 0, bMaximized = (dwStyle & WS_MAXIMIZE) != 0;

    if (!bDialogFrame || bSysMenu)
    {
        BOOL bEnabled = TRUE;
        if ((bMinMax || (bSysMenu && !bTool)) && !IsMDIChild())
        {
            HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
            const UINT nState = hMenu != nullptr ? ::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND) : 0;
            if (nState != static_cast<UINT>(-1) && (nState & (MF_GRAYED | MF_DISABLED)))
                bEnabled = FALSE;
        }
        m_arrButtons.push_back(
            std::make_unique<CCaptionButton>(SC_CLOSE, HTCLOSE, bTool ? 19 : 18, bEnabled, this));
    }
    if (bMinMax && !bMaximized)
        m_arrButtons.push_back(std::make_unique<CCaptionButton>(SC_MAXIMIZE, HTMAXBUTTON, 17,
                                                                (dwStyle & WS_MAXIMIZEBOX) != 0, this));
    if (bMinMax && !bMinimized && bMaximized)
        m_arrButtons.push_back(std::make_unique<CCaptionButton>(SC_RESTORE, HTMAXBUTTON, 21,
                                                                (dwStyle & WS_MAXIMIZEBOX) != 0, this));
    if (bMinMax)
        m_arrButtons.push_back(std::make_unique<CCaptionButton>(bMinimized ? SC_RESTORE : SC_MINIMIZE,
                                                                HTMINBUTTON, bMinimized ? 21 : 15,
                                                                (dwStyle & WS_MINIMIZEBOX) != 0, this));
    if ((dwExStyle & WS_EX_CONTEXTHELP) && !bTool && bSysMenu)
        m_arrButtons.push_back(std::make_unique<CCaptionButton>(SC_CONTEXTHELP, HTHELP, 23, TRUE, this));
}

CQVTSkinObjectFrame::CCaptionButton* CQVTSkinObjectFrame::HitTestButton(CPoint ptWindow)
{
    for (const auto& pButton : m_arrButtons)
        if (pButton->HitTest(ptWindow))
            return pButton.get();
    return nullptr;
}

CQVTSkinObjectFrame::CCaptionButton* CQVTSkinObjectFrame::FindButtonAt(CPoint ptScreen)
{
    ScreenToFrame(&ptScreen);
    return HitTestButton(ptScreen);
}

// Scroll bars.

void CQVTSkinObjectFrame::UpdateScrollBarsVisibility()
{
    const DWORD dwStyle = GetStyle();
    m_spi[0].fVisible = (dwStyle & WS_HSCROLL) != 0;
    m_spi[1].fVisible = (dwStyle & WS_VSCROLL) != 0;
    for (SCROLLBARPOSINFO& spi : m_spi)
    {
        // The bar whose thumb is dragged keeps its layout.
        if (!spi.fVisible || (m_pSBTrack != nullptr && m_pSBTrack->pSBInfo == &spi))
            continue;
        SetupScrollInfo(&spi);
    }
}

void CQVTSkinObjectFrame::SetupScrollInfo(SCROLLBARPOSINFO* pSBInfo)
{
    if (m_hWnd == nullptr)
        return;
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    CRect rcBar;
    if (pSBInfo->nBar == SB_CTL)
        rcBar = rcClient;
    else
    {
        CPoint ptOrigin(0, 0);
        ClientToFrame(&ptOrigin);
        if (GetExStyle() & WS_EX_LAYOUTRTL)
            ptOrigin.x -= rcClient.Width() - 1;
        rcClient.OffsetRect(ptOrigin);
        CQVTSkinManagerMetrics* pMetrics = GetMetrics();
        const int cxV = pMetrics != nullptr ? pMetrics->m_cxVScroll : ::GetSystemMetrics(SM_CXVSCROLL);
        const int cyH = pMetrics != nullptr ? pMetrics->m_cyHScroll : ::GetSystemMetrics(SM_CYHSCROLL);
        if (pSBInfo->nBar == SB_VERT)
        {
            if (GetExStyle() & WS_EX_LEFTSCROLLBAR)
                rcBar.SetRect(rcClient.left - cxV, rcClient.top, rcClient.left, rcClient.bottom);
            else
                rcBar.SetRect(rcClient.right, rcClient.top, rcClient.right + cxV, rcClient.bottom);
        }
        else
            rcBar.SetRect(rcClient.left, rcClient.bottom, rcClient.right, rcClient.bottom + cyH);
    }
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS};
    if (!::GetScrollInfo(m_hWnd, pSBInfo->nBar, &si))
    {
        si.nMin = si.nMax = si.nPos = 0;
        si.nPage = 0;
    }
    SCROLLBARINFO sbi = {sizeof(SCROLLBARINFO)};
    const LONG idObject =
        pSBInfo->nBar == SB_CTL ? OBJID_CLIENT : (pSBInfo->nBar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL);
    pSBInfo->fDisabled =
        ::GetScrollBarInfo(m_hWnd, idObject, &sbi) && (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
    CalcScrollBarInfo(&rcBar, pSBInfo, &si);
}

void CQVTSkinObjectFrame::CalcScrollBarInfo(LPRECT lpRect, SCROLLBARPOSINFO* pSBInfo, const SCROLLINFO* pSI)
{
    pSBInfo->rc = *lpRect;
    pSBInfo->posMin = pSI->nMin;
    pSBInfo->posMax = pSI->nMax;
    pSBInfo->page = static_cast<int>(std::min<UINT>(pSI->nPage, 0x7FFFFFFF));
    pSBInfo->pos = pSI->nPos;
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    int nArrow = 0;
    if (pSBInfo->fVert)
    {
        pSBInfo->pxTop = lpRect->top;
        pSBInfo->pxBottom = lpRect->bottom;
        pSBInfo->pxLeft = lpRect->left;
        pSBInfo->pxRight = lpRect->right;
        nArrow = pMetrics != nullptr ? pMetrics->m_cyVScroll : ::GetSystemMetrics(SM_CYVSCROLL);
    }
    else
    {
        pSBInfo->pxTop = lpRect->left;
        pSBInfo->pxBottom = lpRect->right;
        pSBInfo->pxLeft = lpRect->top;
        pSBInfo->pxRight = lpRect->bottom;
        nArrow = pMetrics != nullptr ? pMetrics->m_cxHScroll : ::GetSystemMetrics(SM_CXHSCROLL);
    }
    const int nLength = std::max(0, pSBInfo->pxBottom - pSBInfo->pxTop);
    const int nArrowLength = std::min(nLength / 2, nArrow);
    pSBInfo->pxUpArrow = pSBInfo->pxTop + nArrowLength;
    pSBInfo->pxDownArrow = pSBInfo->pxBottom - nArrowLength;

    // In 64 bits: INT_MIN..INT_MAX is a range of 2^32.
    const LONGLONG nRange = static_cast<LONGLONG>(pSBInfo->posMax) - pSBInfo->posMin + 1;
    const LONGLONG nPage = pSBInfo->page;
    if (nPage != 0 && nRange > 0)
    {
        LONGLONG nThumb = SkinFrameMulDiv64(pSBInfo->pxDownArrow - pSBInfo->pxUpArrow, nPage, nRange);
        const int nMinThumb = std::max(nArrow / 2, QVTDpiScaler()->ScaleY(16));
        pSBInfo->cpxThumb =
            static_cast<int>(std::max<LONGLONG>(std::min<LONGLONG>(nThumb, nLength), nMinThumb));
    }
    else
        pSBInfo->cpxThumb = nArrow;
    pSBInfo->pxMin = pSBInfo->pxTop + nArrowLength;
    pSBInfo->pxPopup = std::max(0, pSBInfo->pxBottom - pSBInfo->pxMin - nArrowLength - pSBInfo->cpxThumb);
    const LONGLONG nDivisor = nRange - std::max<LONGLONG>(nPage, 1);
    if (nDivisor <= 0)
        pSBInfo->pxThumbTop = pSBInfo->pxMin - 1;
    else
    {
        const LONGLONG nOffset = std::min<LONGLONG>(
            std::max<LONGLONG>(static_cast<LONGLONG>(pSBInfo->pos) - pSBInfo->posMin, 0), nDivisor);
        pSBInfo->pxThumbTop =
            pSBInfo->pxMin + static_cast<int>(SkinFrameMulDiv64(nOffset, pSBInfo->pxPopup, nDivisor));
    }
    pSBInfo->pxThumbBottom = pSBInfo->pxThumbTop + pSBInfo->cpxThumb;
}

int AFX_CDECL CQVTSkinObjectFrame::PixelToScrollPos(const SCROLLBARPOSINFO* pSBInfo, int px)
{
    const LONGLONG nPageOffset = pSBInfo->page != 0 ? pSBInfo->page - 1 : 0;
    if (px < pSBInfo->pxMin || pSBInfo->pxPopup <= 0)
        return pSBInfo->posMin;
    const LONGLONG nLast =
        std::max<LONGLONG>(static_cast<LONGLONG>(pSBInfo->posMax) - nPageOffset, pSBInfo->posMin);
    if (px >= pSBInfo->pxMin + pSBInfo->pxPopup)
        return static_cast<int>(nLast);
    const LONGLONG nSpan = static_cast<LONGLONG>(pSBInfo->posMax) - pSBInfo->posMin - nPageOffset;
    const LONGLONG nPos = pSBInfo->posMin + SkinFrameMulDiv64(px - pSBInfo->pxMin, nSpan, pSBInfo->pxPopup);
    return static_cast<int>(std::min(std::max<LONGLONG>(nPos, pSBInfo->posMin), nLast));
}

int AFX_CDECL CQVTSkinObjectFrame::HitTestScrollBar(const SCROLLBARPOSINFO* pSBInfo, CPoint pt)
{
    if (!pSBInfo->fVisible || pSBInfo->fDisabled || !::PtInRect(&pSBInfo->rc, pt))
        return qvtSkinScrollNone;
    const int px = pSBInfo->fVert ? pt.y : pt.x;
    if (px < pSBInfo->pxUpArrow)
        return qvtSkinScrollFirstArrow;
    if (px >= pSBInfo->pxDownArrow)
        return qvtSkinScrollSecondArrow;
    if (px < pSBInfo->pxThumbTop)
        return qvtSkinScrollPageBefore;
    if (px < pSBInfo->pxThumbBottom)
        return qvtSkinScrollThumb;
    return qvtSkinScrollPageAfter;
}

CRect CQVTSkinObjectFrame::GetPartRect(const SCROLLBARPOSINFO* pSBInfo, int ht) const
{
    int nFrom = 0, nTo = 0;
    switch (ht)
    {
    case qvtSkinScrollFirstArrow:
        nFrom = pSBInfo->pxTop, nTo = pSBInfo->pxUpArrow;
        break;
    case qvtSkinScrollSecondArrow:
        nFrom = pSBInfo->pxDownArrow, nTo = pSBInfo->pxBottom;
        break;
    case qvtSkinScrollPageBefore:
        nFrom = pSBInfo->pxUpArrow, nTo = pSBInfo->pxThumbTop;
        break;
    case qvtSkinScrollPageAfter:
        nFrom = pSBInfo->pxThumbBottom, nTo = pSBInfo->pxDownArrow;
        break;
    default:
        nFrom = pSBInfo->pxThumbTop, nTo = pSBInfo->pxThumbBottom;
        break;
    }
    return pSBInfo->fVert ? CRect(pSBInfo->pxLeft, nFrom, pSBInfo->pxRight, nTo)
                          : CRect(nFrom, pSBInfo->pxLeft, nTo, pSBInfo->pxRight);
}

BOOL CQVTSkinObjectFrame::IsSizeGripVisible()
{
    HWND hWnd = m_hWnd;
    for (int nDepth = 0; hWnd != nullptr && nDepth < 256; ++nDepth)
    {
        const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
        if (dwStyle & WS_THICKFRAME)
            break;
        if (!(dwStyle & WS_CHILD) || (dwStyle & WS_CAPTION) == WS_CAPTION)
            return FALSE;
        hWnd = ::GetParent(hWnd);
    }
    if (hWnd == nullptr || ::IsZoomed(hWnd))
        return FALSE;
    CRect rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    const int cx = pMetrics != nullptr ? pMetrics->m_cxEdge : 2,
              cy = pMetrics != nullptr ? pMetrics->m_cyEdge : 2;
    return std::abs(rcClient.right - rcWindow.right) <= cx &&
           std::abs(rcClient.bottom - rcWindow.bottom) <= cy;
}

// Hit testing and hot tracking.

UINT CQVTSkinObjectFrame::HitTestFrame(CPoint ptScreen)
{
    CPoint pt(ptScreen);
    ScreenToFrame(&pt);
    UpdateScrollBarsVisibility();
    if (m_spi[1].fVisible && ::PtInRect(&m_spi[1].rc, pt))
        return HTVSCROLL;
    if (m_spi[0].fVisible && ::PtInRect(&m_spi[0].rc, pt))
        return HTHSCROLL;
    if (m_spi[0].fVisible && m_spi[1].fVisible && IsSizeGripVisible())
    {
        CRect rcBox(m_spi[1].rc.left, m_spi[0].rc.top, m_spi[1].rc.right, m_spi[0].rc.bottom);
        if (rcBox.PtInRect(pt))
            return (GetExStyle() & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
    if (CCaptionButton* pButton = HitTestButton(pt))
        return pButton->m_nHTCode;
    return 0;
}

BOOL CQVTSkinObjectFrame::OnNcMouseMoveHook(CPoint ptScreen)
{
    const BOOL bLeft = ptScreen.x == -1 && ptScreen.y == -1;
    CCaptionButton* pHot = bLeft ? nullptr : FindButtonAt(ptScreen);
    if (pHot != m_pButtonHot)
    {
        m_pButtonHot = pHot;
        RedrawFrame();
        if (pHot == nullptr)
            ::KillTimer(m_hWnd, qvtSkinFrameHotTimer);
    }
    if (pHot != nullptr)
    {
        s_pfnSetTimer(m_hWnd, qvtSkinFrameHotTimer, kSkinFrameHotInterval,
                      &CQVTSkinObjectFrame::OnFrameTimer);
        return TRUE;
    }
    if (m_pSBTrack != nullptr)
        return TRUE;

    CPoint pt(ptScreen);
    if (!bLeft)
    {
        ScreenToFrame(&pt);
        UpdateScrollBarsVisibility();
    }
    BOOL bHot = FALSE;
    for (SCROLLBARPOSINFO& spi : m_spi)
    {
        const int ht = bLeft ? qvtSkinScrollNone : HitTestScrollBar(&spi, pt);
        if (ht != spi.ht)
        {
            spi.ht = ht;
            RedrawScrollBar(spi.nBar);
        }
        bHot = bHot || ht != qvtSkinScrollNone;
    }
    if (bHot)
        s_pfnSetTimer(m_hWnd, qvtSkinFrameHotTimer, kSkinFrameHotInterval,
                      &CQVTSkinObjectFrame::OnFrameTimer);
    else
        ::KillTimer(m_hWnd, qvtSkinFrameHotTimer);
    return bHot;
}

void CALLBACK CQVTSkinObjectFrame::OnFrameTimer(HWND hWnd, UINT /*message*/, UINT_PTR nIDEvent,
                                                DWORD /*dwTime*/)
{
    try
    {
        CQVTSkinObjectFrame* pFrame = SkinFrameLookup(hWnd);
        if (pFrame == nullptr)
        {
            ::KillTimer(hWnd, nIDEvent);
            return;
        }
        SkinFrameHold hold(pFrame);
        if (nIDEvent == qvtSkinFrameStyleTimer)
        {
            ::KillTimer(hWnd, nIDEvent);
            pFrame->RefreshFrameStyle();
            pFrame->RedrawFrame();
            return;
        }
        if (nIDEvent != qvtSkinFrameHotTimer || ::GetCapture() != nullptr)
            return;
        CPoint pt;
        ::GetCursorPos(&pt);
        CRect rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        const UINT nHit = rcWindow.PtInRect(pt) ? pFrame->HitTestFrame(pt) : 0;
        if (!rcWindow.PtInRect(pt) || nHit == HTNOWHERE || nHit == HTCLIENT || nHit == HTBOTTOMLEFT ||
            nHit == HTBOTTOMRIGHT)
        {
            pFrame->OnNcMouseMoveHook(CPoint(-1, -1));
            ::KillTimer(hWnd, nIDEvent);
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}

// Drawing.

void CQVTSkinObjectFrame::RedrawFrame()
{
    if (!IsWindowAlive())
        return;
    if (!IsFramesSkinned())
    {
        ::SendMessageW(m_hWnd, WM_NCPAINT, 1, 0);
        return;
    }
    HDC hDC = ::GetWindowDC(m_hWnd);
    if (hDC == nullptr)
        return;
    CDC dc;
    dc.Attach(hDC);
    DrawFrame(&dc);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hDC);
}

void CQVTSkinObjectFrame::RedrawScrollBar(int nBar)
{
    SCROLLBARPOSINFO* pSBInfo = nBar == SB_CTL ? &m_spi[1] : GetScrollBarPosInfo(nBar);
    if (!pSBInfo->fVisible || !IsWindowAlive() || m_nLockDrawing > 0)
        return;
    if (m_pSBTrack == nullptr || m_pSBTrack->pSBInfo != pSBInfo)
        SetupScrollInfo(pSBInfo);
    HDC hDC = pSBInfo->nBar == SB_CTL ? ::GetDC(m_hWnd) : ::GetWindowDC(m_hWnd);
    if (hDC == nullptr)
        return;
    CDC dc;
    dc.Attach(hDC);
    {
        SkinFrameManagerRead managerRead(m_pManager);
        DrawScrollBar(&dc, pSBInfo);
    }
    dc.Detach();
    ::ReleaseDC(m_hWnd, hDC);
}

void CQVTSkinObjectFrame::DrawScrollBar(CDC* pDC, SCROLLBARPOSINFO* pSBInfo)
{
    CQVTSkinManagerSchema* pSchema = GetSchema();
    const CRect rc(pSBInfo->rc);
    if (pSchema == nullptr || rc.IsRectEmpty())
        return;
    CQVTBufferDCEx dcBuffer(pDC->GetSafeHdc(), rc);
    pSchema->DrawThemeScrollBar(&dcBuffer, this, pSBInfo);
}

void CQVTSkinObjectFrame::DrawSizeBox(CDC* pDC)
{
    CRect rcBox(m_spi[1].rc.left, m_spi[0].rc.top, m_spi[1].rc.right, m_spi[0].rc.bottom);
    if (rcBox.IsRectEmpty())
        return;
    QVTSkinFillSolidRect(pDC->GetSafeHdc(), rcBox, GetColor(COLOR_BTNFACE));
    if (!IsSizeGripVisible())
        return;
    CQVTSkinManagerSchema* pSchema = GetSchema();
    if (CQVTSkinManagerClass* pClass = pSchema != nullptr ? pSchema->GetClass(u"SCROLLBAR") : nullptr)
        pClass->DrawThemeBackground(pDC, 10, 1, rcBox);
}

void CQVTSkinObjectFrame::DrawFrame(CDC* pDC)
{
    if (m_nLockDrawing > 0 || pDC == nullptr || m_hWnd == nullptr)
        return;
    // A skin load on another thread waits until the drawing is done: it
    // frees the schema drawn with.
    SkinFrameManagerRead managerRead(m_pManager);
    CQVTSkinManagerSchema* pSchema = GetSchema();
    if (pSchema == nullptr)
        return;
    UpdateButtons();
    pSchema->DrawThemeFrame(pDC, this);
    UpdateScrollBarsVisibility();
    for (SCROLLBARPOSINFO& spi : m_spi)
        if (spi.fVisible)
            DrawScrollBar(pDC, &spi);
    if (m_spi[0].fVisible && m_spi[1].fVisible)
        DrawSizeBox(pDC);
}

// Region and frame fit.

void CQVTSkinObjectFrame::UpdateRegion(SIZE sz)
{
    if (m_bInUpdateRegion || !IsWindowAlive() || !HasCaptionOrThickFrame())
        return;
    if (CSize(sz) == m_szFrameRegion)
        return;
    m_bInUpdateRegion = TRUE;
    HRGN hRgn = nullptr;
    {
        SkinFrameManagerRead managerRead(m_pManager);
        CQVTSkinManagerSchema* pSchema = GetSchema();
        if (pSchema != nullptr && m_pManager != nullptr && m_pManager->IsSkinLoaded() && IsFramesSkinned())
        {
            ReadBorders();
            hRgn = pSchema->CalcFrameRegion(this, sz);
        }
    }
    if (hRgn != nullptr)
    {
        // The window owns the region once it is set.
        if (::SetWindowRgn(m_hWnd, hRgn, TRUE))
            m_bRegion = TRUE;
        else
            ::DeleteObject(hRgn);
    }
    else if (m_bRegion)
    {
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        m_bRegion = FALSE;
    }
    m_szFrameRegion = sz;
    m_bInUpdateRegion = FALSE;
}

void CQVTSkinObjectFrame::FitFrame()
{
    if (!HasCaptionOrThickFrame() || m_pManager == nullptr || !m_pManager->IsSkinLoaded())
        return;
    const DWORD dwStyle = GetStyle(), dwExStyle = GetExStyle();
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    if (IsFramesSkinned() && !(dwStyle & WS_CHILD) && !(dwStyle & (WS_MAXIMIZE | WS_MINIMIZE)))
    {
        // The system's own answer: the intercepted one gives the skin's frame.
        CRect rcSystem(0, 0, 100, 100);
        CQVTSkinManagerApiHookBase* pHook = m_pManager->GetApiHook();
        if (pHook == nullptr || !pHook->AdjustWindowRectExOrig(&rcSystem, dwStyle, FALSE, dwExStyle))
            ::AdjustWindowRectEx(&rcSystem, dwStyle, FALSE, dwExStyle);
        ReadBorders();
        const int dx = m_rcBorders.left + m_rcBorders.right - (rcSystem.Width() - 100);
        const int dy = m_rcBorders.top + m_rcBorders.bottom - (rcSystem.Height() - 100);
        if (dx != 0 || dy != 0)
        {
            rcWindow.right = rcWindow.left + std::max(0, rcWindow.Width() + dx);
            rcWindow.bottom = rcWindow.top + std::max(0, rcWindow.Height() + dy);
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.Width(), rcWindow.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::GetWindowRect(m_hWnd, &rcWindow);
        }
    }
    UpdateRegion(rcWindow.Size());
}

void CQVTSkinObjectFrame::RefreshFrameStyle()
{
    if (!IsWindowAlive() || !IsFramesSkinned())
        return;
    const DWORD dwStyle = GetStyle();
    if (!(dwStyle & WS_DLGFRAME))
        return;
    ++m_nLockDrawing;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle & ~WS_DLGFRAME));
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SendMessageW(m_hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
    --m_nLockDrawing;
}

BOOL CQVTSkinObjectFrame::RefreshMenuBar()
{
    m_dwStyle = static_cast<DWORD>(-1);
    OnMenuChanged();
    RedrawFrame();
    return TRUE;
}

// Skin changes and attachment.

void CQVTSkinObjectFrame::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    if (!IsWindowAlive())
        return;
    if (bNewState)
        RefreshFrameStyle();
    if (!bPrevState)
        m_bActive = ::SendMessageW(m_hWnd, kSkinFrameIsActiveIcon, 0, 0) != 0;
    m_dwStyle = static_cast<DWORD>(-1);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RefreshMetrics();
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    m_szFrameRegion = CSize(0, 0);
    UpdateRegion(rcWindow.Size());
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CQVTSkinObjectFrame::RefreshMetrics()
{
    CQVTSkinObject::RefreshMetrics();
    m_szFrameRegion = CSize(0, 0);
    if (m_hWnd != nullptr)
        ::PostMessageW(m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
}

void CQVTSkinObjectFrame::OnWindowAttached(LPCREATESTRUCT lpcs, BOOL bAtCreation)
{
    CQVTSkinObject::OnWindowAttached(lpcs, bAtCreation);
    if (!bAtCreation)
        FitFrame();
}

void CQVTSkinObjectFrame::OnWindowDetached(BOOL bAtDestruction)
{
    CQVTSkinObject::OnWindowDetached(bAtDestruction);
    if (m_bRegion && !bAtDestruction && IsWindowAlive())
    {
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    m_bRegion = FALSE;
}

// Message routing.

BOOL CQVTSkinObjectFrame::IsMessagePassedThrough(UINT message)
{
    if (message == WM_ENTERIDLE)
    {
        const DWORD dwStyle = GetStyle();
        if ((dwStyle & WS_MINIMIZE) && (dwStyle & WS_VISIBLE) && (dwStyle & WS_CAPTION) == WS_CAPTION &&
            IsFramesSkinned())
            RedrawFrame();
    }
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK)
        SetAltPressed(FALSE);
    if (m_nLockDrawing > 0 &&
        (message == WM_NCCALCSIZE || message == WM_STYLECHANGING || message == WM_STYLECHANGED))
        return TRUE;
    if (!IsFramesSkinned())
    {
        switch (message)
        {
        case WM_NCCALCSIZE:
        case WM_NCHITTEST:
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED:
        case WM_NCMOUSELEAVE:
        case WM_PRINT:
            return TRUE;
        default:
            break;
        }
    }
    return CQVTSkinObject::IsMessagePassedThrough(message);
}

BOOL CQVTSkinObjectFrame::OnWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    // The notice posted to the windows of other threads: a subclassed
    // window's default procedure would drop it.
    if (message == WM_SKINFRAMEWORK_SKINCHANGED && message != 0)
    {
        OnSkinChanged(static_cast<BOOL>(wParam), static_cast<BOOL>(lParam));
        result = 0;
        return TRUE;
    }
    if (SkinFrameIsCtlColor(message) && !IsHandledAtDefaultProc(message) &&
        HandleControlColor(message, wParam, lParam, result))
        return TRUE;
    return CQVTSkinObject::OnWindowProcMessage(message, wParam, lParam, result);
}

BOOL CQVTSkinObjectFrame::OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam,
                                                 LRESULT& result)
{
    if (SkinFrameIsCtlColor(message) && HandleControlColor(message, wParam, lParam, result))
        return TRUE;
    return CQVTSkinObject::OnDefWindowProcMessage(message, wParam, lParam, result);
}

// Colours and brushes.

HBRUSH CQVTSkinObjectFrame::GetPropertyPageBrush()
{
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (pMetrics == nullptr)
        return nullptr;
    if (pMetrics->m_brushDialogTexture.GetSafeHandle() == nullptr)
    {
        CQVTSkinManagerSchema* pSchema = GetSchema();
        CQVTSkinManagerClass* pClass = pSchema != nullptr ? pSchema->GetClass(u"TAB") : nullptr;
        CQVTSkinImage* pImage = pClass != nullptr
                                    ? pClass->GetImage(pClass->GetThemeString(10, 0, kSkinFramePageImage))
                                    : nullptr;
        HBITMAP hBitmap = nullptr;
        if (pImage != nullptr && pImage->GetWidth() > 0 && pImage->GetHeight() > 0)
        {
            const CRect rc(0, 0, pImage->GetWidth(), pImage->GetHeight());
            HDC hScreen = ::GetDC(nullptr);
            hBitmap = ::CreateCompatibleBitmap(hScreen, rc.Width(), rc.Height());
            CDC dc;
            dc.Attach(::CreateCompatibleDC(hScreen));
            ::ReleaseDC(nullptr, hScreen);
            HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hBitmap);
            QVTSkinFillSolidRect(dc.GetSafeHdc(), rc, GetColor(COLOR_BTNFACE));
            pImage->DrawImage(&dc, rc, rc, CRect(0, 0, 0, 0), CLR_INVALID, 1, FALSE, pSchema->GetSite());
            ::SelectObject(dc.GetSafeHdc(), hOld);
            ::DeleteDC(dc.Detach());
        }
        if (hBitmap != nullptr)
        {
            LOGBRUSH lb = {BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(hBitmap)};
            pMetrics->SetDialogTextureBrush(lb);
            // The brush keeps its own copy of the pattern.
            ::DeleteObject(hBitmap);
        }
        if (pMetrics->m_brushDialogTexture.GetSafeHandle() == nullptr)
            return static_cast<HBRUSH>(pMetrics->m_brushButtonFace.GetSafeHandle());
    }
    return static_cast<HBRUSH>(pMetrics->m_brushDialogTexture.GetSafeHandle());
}

BOOL CQVTSkinObjectFrame::HandleControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_strClassName.CompareNoCase(u"COMBOBOX") == 0 || !IsSkinEnabled())
        return FALSE;
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (pMetrics == nullptr)
        return FALSE;
    HDC hDC = reinterpret_cast<HDC>(wParam);
    HWND hChild = reinterpret_cast<HWND>(lParam);
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) && m_pManager != nullptr &&
        m_pManager->Lookup(hChild) != nullptr)
    {
        ::SetBkColor(hDC, GetColor(COLOR_WINDOW));
        ::SetTextColor(hDC, GetColor(COLOR_WINDOWTEXT));
        result = reinterpret_cast<LRESULT>(pMetrics->m_brushWindow.GetSafeHandle());
        return TRUE;
    }
    HBRUSH hDialog = static_cast<HBRUSH>(pMetrics->m_brushButtonFace.GetSafeHandle());
    if (!SkinFrameGrayCtlColor(hDC, hChild, message - WM_CTLCOLORMSGBOX, hDialog, GetColor(COLOR_BTNTEXT)))
        return FALSE;
    if (m_nDialogTexture == 6)
    {
        HBRUSH hPage = GetPropertyPageBrush();
        // The pattern lines up with the page, wherever the child lies.
        CRect rcChild;
        ::GetWindowRect(hChild, &rcChild);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&rcChild), 2);
        ::SetBrushOrgEx(hDC, -rcChild.left, -rcChild.top, nullptr);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, GetColor(COLOR_BTNTEXT));
        result = reinterpret_cast<LRESULT>(hPage);
        return TRUE;
    }
    ::SetTextColor(hDC, GetColor(COLOR_BTNTEXT));
    result = reinterpret_cast<LRESULT>(hDialog);
    return TRUE;
}

UINT CQVTSkinObjectFrame::GetClientBrushMessage()
{
    return m_nCtlColorMessage;
}

HBRUSH CQVTSkinObjectFrame::GetClientBrush(CDC* pDC)
{
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (pMetrics == nullptr)
        return ::GetSysColorBrush(COLOR_BTNFACE);
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent == nullptr || CWnd::FromHandlePermanent(hParent) == nullptr)
        return pMetrics->GetBrush(COLOR_BTNFACE);
    const UINT nMessage = GetClientBrushMessage();
    const LRESULT lBrush = ::SendMessageW(hParent, nMessage, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()),
                                          reinterpret_cast<LPARAM>(m_hWnd));
    if (lBrush == 0)
        return nMessage == WM_CTLCOLOREDIT || nMessage == WM_CTLCOLORLISTBOX
                   ? static_cast<HBRUSH>(pMetrics->m_brushWindow.GetSafeHandle())
                   : pMetrics->GetBrush(COLOR_BTNFACE);
    if (lBrush > 0 && lBrush < 31)
        return pMetrics->GetBrush(static_cast<int>(lBrush) - 1);
    return reinterpret_cast<HBRUSH>(lBrush);
}

void CQVTSkinObjectFrame::OnMenuChanged() {}

// The Alt key, per thread.

BOOL AFX_CDECL CQVTSkinObjectFrame::IsAltPressed()
{
    const DWORD dwSlot = SkinFrameAltSlot();
    return dwSlot != TLS_OUT_OF_INDEXES && ::TlsGetValue(dwSlot) != nullptr;
}

void AFX_CDECL CQVTSkinObjectFrame::SetAltPressed(BOOL bPressed)
{
    const DWORD dwSlot = SkinFrameAltSlot();
    if (dwSlot != TLS_OUT_OF_INDEXES)
        ::TlsSetValue(dwSlot, bPressed ? reinterpret_cast<LPVOID>(1) : nullptr);
}
