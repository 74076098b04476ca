#include "toolkit/commandbars/bars/QVTDialogBar.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

IMPLEMENT_SERIAL(CQVTDialogBar, CQVTToolBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_DYNCREATE(CQVTDialogBarHideButton, CQVTControlButton)
IMPLEMENT_DYNCREATE(CQVTDialogBarCaptionPopup, CQVTControlPopup)
IMPLEMENT_DYNCREATE(CQVTDialogBarCaptionPopupBar, CQVTPopupBar)

BEGIN_MESSAGE_MAP(CQVTDialogBar, CQVTToolBar)
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {

const int kDialogBarCaptionPopupId = 9147;
const int kDialogBarHideId = 9149;
const WCHAR kDialogBarHideGlyph = 69;
const WCHAR kDialogBarDropGlyph = 77;
// The sizing edge of a resizable bar (96-DPI px).
const int kDialogBarGrip = 3;

}  // namespace

// The caption's controls.

CQVTDialogBarHideButton::CQVTDialogBarHideButton()
{
    m_dwFlags = 26;
}

CSize CQVTDialogBarHideButton::GetSize(CDC*)
{
    return CSize(0, 0);
}

CSize CQVTDialogBarHideButton::Draw(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    pPaintManager->DrawControlEntry(pDC, this);
    QVTGlyphFont()->DrawGlyph(pDC, kDialogBarHideGlyph, m_rcControl,
                              pPaintManager->GetControlTextColor(this));
    return m_rcControl.Size();
}

void CQVTDialogBarHideButton::OnExecute()
{
    CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pParent);
    if (!pBar)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(pBar);
    CQVTCommandBars::ClosePopups(pBar->GetCommandBars());
    pBar->SetVisible(FALSE);
}

CQVTDialogBarCaptionPopup::CQVTDialogBarCaptionPopup() : m_bHasPopup(FALSE)
{
    m_dwFlags = 30;
}

CSize CQVTDialogBarCaptionPopup::GetSize(CDC*)
{
    return CSize(0, 0);
}

CSize CQVTDialogBarCaptionPopup::Draw(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (m_bHasPopup)
        pPaintManager->DrawControlEntry(pDC, this);
    const COLORREF clrText = pPaintManager->GetControlTextColor(this);
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rcText = m_rcControl;
    rcText.left += pDpi->ScaleX(2);
    rcText.right -= pDpi->ScaleX(m_bHasPopup ? 15 : 2);
    CQVTFontDC font(pDC, pPaintManager->GetCommandBarFont(m_pParent));
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (m_bHasPopup)
    {
        const int nSide = m_rcControl.Height();
        CRect rcGlyph(m_rcControl.right - nSide, m_rcControl.top, m_rcControl.right, m_rcControl.bottom);
        rcGlyph.DeflateRect(pDpi->ScaleX(2), pDpi->ScaleY(2));
        QVTGlyphFont()->DrawGlyph(pDC, kDialogBarDropGlyph, rcGlyph, clrText);
    }
    return m_rcControl.Size();
}

void CQVTDialogBarCaptionPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    // Without a popup the caption is only text.
    if (m_bHasPopup)
        CQVTControlPopup::OnClick(bKeyboard, pt);
}

BOOL CQVTDialogBarCaptionPopup::OnSetPopup(BOOL bPopup)
{
    if (bPopup && !m_bHasPopup)
        return FALSE;
    return CQVTControlPopup::OnSetPopup(bPopup);
}

CQVTDialogBarCaptionPopupBar::CQVTDialogBarCaptionPopupBar()
{
    m_dwDirection = directionReversed | directionBelow;
}

// The bar.

CQVTDialogBar::CQVTDialogBar()
    : m_bResizable(TRUE), m_bCaptionVisible(TRUE), m_bCaptionPopupEnabled(TRUE), m_nCaptionHeight(0),
      m_hwndChild(nullptr), m_pCaptionPopupBar(nullptr), m_pCaptionPopup(nullptr),
      m_pDialogHideButton(nullptr), m_bActive(FALSE)
{
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    m_rcBorders = CRect(pDpi->ScaleX(3), pDpi->ScaleY(3), pDpi->ScaleX(3), pDpi->ScaleY(3));
    m_szMin = pDpi->ScaleSize(CSize(50, 50));
    m_szDockingClient = pDpi->ScaleSize(CSize(200, 200));
    m_szFloatingClient = m_szDockingClient;
    m_bShowExpandButton = FALSE;
    m_bCustomizable = FALSE;
    m_dwStyle &= ~QVT_CBRS_GRIPPER;
    // Its size is the client's: nothing hides behind an expand button.
    m_dwFlags &= ~dockHideWrap;
    m_pCaptionPopupBar = new CCaptionPopupBar();
    EnableAutomation();
}

CQVTDialogBar::~CQVTDialogBar()
{
    if (m_pCaptionPopupBar)
        m_pCaptionPopupBar->InternalRelease();
}

CQVTCommandBar* CQVTDialogBar::Clone(BOOL bRecursive)
{
    CQVTDialogBar* pClone = new CQVTDialogBar();
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTDialogBar::Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive)
{
    CQVTToolBar::Copy(pCommandBar, bRecursive);
    CQVTDialogBar* pDialogBar = DYNAMIC_DOWNCAST(CQVTDialogBar, pCommandBar);
    if (!pDialogBar || pDialogBar == this)
        return;
    m_rcBorders = pDialogBar->m_rcBorders;
    m_bResizable = pDialogBar->m_bResizable;
    m_bCaptionVisible = pDialogBar->m_bCaptionVisible;
    m_szMin = pDialogBar->m_szMin;
    m_szDockingClient = pDialogBar->m_szDockingClient;
    m_szFloatingClient = pDialogBar->m_szFloatingClient;
    m_bCaptionPopupEnabled = pDialogBar->m_bCaptionPopupEnabled;
    m_strCaption = pDialogBar->m_strCaption;
    m_pCaptionPopup = nullptr;
    m_pDialogHideButton = nullptr;
}

void CQVTDialogBar::SetCaption(LPCTSTR lpszCaption)
{
    if (m_strCaption == lpszCaption)
        return;
    m_strCaption = lpszCaption;
    DelayLayout();
}

void CQVTDialogBar::SetCaptionVisible(BOOL bVisible)
{
    if (m_bCaptionVisible == bVisible)
        return;
    m_bCaptionVisible = bVisible;
    DelayLayout();
}

void CQVTDialogBar::SetCaptionPopupEnabled(BOOL bEnabled)
{
    if (m_bCaptionPopupEnabled == bEnabled)
        return;
    m_bCaptionPopupEnabled = bEnabled;
    DelayLayout();
}

void CQVTDialogBar::SetDockingClientSize(CSize sz)
{
    m_szDockingClient = sz;
    DelayLayout();
}

void CQVTDialogBar::SetFloatingClientSize(CSize sz)
{
    m_szFloatingClient = sz;
    DelayLayout();
}

BOOL CQVTDialogBar::GetClientSizes(CSize& szDocking, CSize& szFloating) const
{
    szDocking = m_szDockingClient;
    szFloating = m_szFloatingClient;
    return TRUE;
}

void CQVTDialogBar::SetClientSizes(CSize szDocking, CSize szFloating)
{
    // Stored sizes are held to what resizing could have made.
    const CSize szMax(32000, 32000);
    m_szDockingClient = CSize(std::max(m_szMin.cx, std::min(szMax.cx, szDocking.cx)),
                              std::max(m_szMin.cy, std::min(szMax.cy, szDocking.cy)));
    m_szFloatingClient = CSize(std::max(m_szMin.cx, std::min(szMax.cx, szFloating.cx)),
                               std::max(m_szMin.cy, std::min(szMax.cy, szFloating.cy)));
    DelayLayout();
}

void CQVTDialogBar::SetChild(CWnd* pChild)
{
    m_hwndChild = pChild ? pChild->GetSafeHwnd() : nullptr;
    if (!m_hwndChild || !GetSafeHwnd())
        return;
    if (::GetParent(m_hwndChild) != m_hWnd)
        ::SetParent(m_hwndChild, m_hWnd);
    PlaceChild();
}

CRect CQVTDialogBar::GetCaptionRect() const
{
    CRect rcClient(0, 0, 0, 0);
    if (GetSafeHwnd())
        GetClientRect(&rcClient);
    return CRect(m_rcBorders.left, m_rcBorders.top, rcClient.right - m_rcBorders.right,
                 m_rcBorders.top + m_nCaptionHeight);
}

// Layout.

CSize CQVTDialogBar::CalcLayout(CSize szClient, int nLength, DWORD dwMode)
{
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CSize sz(szClient.cx + m_rcBorders.left + m_rcBorders.right,
             szClient.cy + m_rcBorders.top + m_rcBorders.bottom);
    if (!m_bCaptionVisible)
    {
        m_nCaptionHeight = 0;
        if (dwMode & LM_STRETCH)
        {
            if (dwMode & LM_VERTDOCK)
                sz.cy = std::max(static_cast<int>(sz.cy), nLength);
            else
                sz.cx = std::max(static_cast<int>(sz.cx), nLength);
        }
        if (m_pCaptionPopup)
            m_pCaptionPopup->SetHideFlags(qvtHideGeneric);
        if (m_pDialogHideButton)
            m_pDialogHideButton->SetHideFlags(qvtHideGeneric);
        return sz;
    }

    m_nCaptionHeight = GetPaintManager()->CalcCommandBarGripperSize(this).cy;
    sz.cy += m_nCaptionHeight;
    if (dwMode & LM_STRETCH)
    {
        if (dwMode & LM_VERTDOCK)
            sz.cy = std::max(static_cast<int>(sz.cy), nLength);
        else
            sz.cx = std::max(static_cast<int>(sz.cx), nLength);
    }
    if (nLength > 0)
    {
        if (dwMode & LM_HORZ)
            sz.cx = std::min(static_cast<int>(sz.cx), nLength);
        else
            sz.cy = std::min(static_cast<int>(sz.cy), nLength);
    }

    const int nMiddle = m_rcBorders.top + m_nCaptionHeight / 2;
    int nRight = sz.cx - m_rcBorders.right;
    if (m_bCloseable && !m_pDialogHideButton)
        m_pDialogHideButton = static_cast<CControlButtonHide*>(
            m_pControls->Add(new CControlButtonHide(), kDialogBarHideId, nullptr, -1, TRUE));
    if (m_pDialogHideButton)
    {
        if (m_bCloseable)
        {
            const int nSide = pDpi->ScaleX(16);
            const int nLeft = sz.cx - pDpi->ScaleX(16) - m_rcBorders.right;
            const int nTop = nMiddle - pDpi->ScaleY(8);
            m_pDialogHideButton->SetHideFlags(0);
            m_pDialogHideButton->SetRect(CRect(nLeft, nTop, nLeft + nSide, nTop + pDpi->ScaleY(16)));
            nRight = nLeft;
        }
        else
            m_pDialogHideButton->SetHideFlags(qvtHideGeneric);
    }
    if (!m_pCaptionPopup)
    {
        m_pCaptionPopup = static_cast<CControlCaptionPopup*>(
            m_pControls->Add(new CControlCaptionPopup(), kDialogBarCaptionPopupId, nullptr, -1, TRUE));
        m_pCaptionPopup->SetCommandBar(m_pCaptionPopupBar);
    }
    m_pCaptionPopup->m_bHasPopup = m_bCaptionPopupEnabled && m_pCaptionPopupBar->GetControlCount() > 0;
    m_pCaptionPopup->SetCaption(m_strCaption.IsEmpty() ? m_strTitle : m_strCaption);
    m_pCaptionPopup->SetHideFlags(0);
    const int nTop = nMiddle - pDpi->ScaleY(8);
    m_pCaptionPopup->SetRect(CRect(m_rcBorders.left, nTop,
                                   std::max(static_cast<int>(m_rcBorders.left), nRight),
                                   nTop + pDpi->ScaleY(16)));
    return sz;
}

CSize CQVTDialogBar::CalcDockingLayout(int nLength, DWORD dwMode, int)
{
    return CalcLayout(m_szDockingClient, nLength, dwMode);
}

CSize CQVTDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (!IsFloating())
        return CalcLayout(m_szDockingClient, nLength, dwMode);
    return CalcLayout(m_szFloatingClient, 32000, dwMode);
}

void CQVTDialogBar::PlaceChild()
{
    if (!m_hwndChild || !::IsWindow(m_hwndChild) || !GetSafeHwnd())
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int x = m_rcBorders.left;
    const int y = m_rcBorders.top + m_nCaptionHeight;
    const int cx = std::max(0, rcClient.Width() - m_rcBorders.left - m_rcBorders.right);
    const int cy = std::max(0, rcClient.Height() - m_rcBorders.top - m_rcBorders.bottom - m_nCaptionHeight);
    ::SetWindowPos(m_hwndChild, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hwndChild, nullptr, TRUE);
}

void CQVTDialogBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    PlaceChild();
}

BOOL CQVTDialogBar::IsPointInBar(CPoint point) const
{
    if (!GetSafeHwnd())
        return FALSE;
    CRect rc = GetCaptionRect();
    ClientToScreen(&rc);
    return rc.PtInRect(point);
}

// The active caption.

void CQVTDialogBar::OnIdleUpdate(WPARAM wParam, LPARAM lParam)
{
    CQVTToolBar::OnIdleUpdate(wParam, lParam);
    if (!GetSafeHwnd())
        return;
    BOOL bActive = FALSE;
    HWND hFocus = ::GetFocus();
    if (hFocus)
    {
        bActive = hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus);
        // A window the bar's child owns (a drop-down, a dialog it opened).
        HWND hOwner = ::GetWindow(hFocus, GW_OWNER);
        if (!hOwner)
            hOwner = ::GetParent(hFocus);
        if (!bActive && hOwner)
            bActive = hOwner == m_hWnd || ::IsChild(m_hWnd, hOwner);
    }
    if (bActive == m_bActive)
        return;
    m_bActive = bActive;
    Redraw(nullptr, FALSE);
}

void CQVTDialogBar::FillCommandBarEntry(CDC* pDC)
{
    CQVTToolBar::FillCommandBarEntry(pDC);
    if (!m_bCaptionVisible || m_nCaptionHeight <= 0)
        return;
    // The caption strip shows where the keyboard is.
    CRect rcCaption = GetCaptionRect();
    pDC->FillSolidRect(rcCaption, ::GetSysColor(m_bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

// Sizing.

LRESULT CQVTDialogBar::OnNcHitTest(CPoint point)
{
    if (!m_bResizable)
        return CQVTToolBar::OnNcHitTest(point);
    CRect rc;
    GetWindowRect(&rc);
    const int dx = QVTDpiScaler()->ScaleX(kDialogBarGrip);
    const int dy = QVTDpiScaler()->ScaleY(kDialogBarGrip);
    const BOOL bLeft = point.x < rc.left + dx;
    const BOOL bRight = point.x >= rc.right - dx;
    const BOOL bTop = point.y < rc.top + dy;
    const BOOL bBottom = point.y >= rc.bottom - dy;
    if (IsFloating())
    {
        if (bTop && bLeft)
            return HTTOPLEFT;
        if (bTop && bRight)
            return HTTOPRIGHT;
        if (bBottom && bLeft)
            return HTBOTTOMLEFT;
        if (bBottom && bRight)
            return HTBOTTOMRIGHT;
        if (bTop)
            return HTTOP;
        if (bBottom)
            return HTBOTTOM;
        if (bLeft)
            return HTLEFT;
        if (bRight)
            return HTRIGHT;
        return CQVTCommandBar::OnNcHitTest(point);
    }
    const int nPosition = GetPosition();
    const BOOL bStretched = (m_dwFlags & dockStretch) != 0;
    const BOOL bSide = nPosition == qvtBarLeft || nPosition == qvtBarRight;
    if (nPosition != qvtBarBottom && bBottom && !(bStretched && bSide))
        return HTBOTTOM;
    if (nPosition == qvtBarBottom && bTop)
        return HTTOP;
    if (nPosition == qvtBarRight)
        return bLeft ? HTLEFT : CQVTCommandBar::OnNcHitTest(point);
    if (bRight && !(bStretched && !bSide))
        return HTRIGHT;
    return CQVTCommandBar::OnNcHitTest(point);
}

BOOL CQVTDialogBar::ResizeFreely(const CRect& rcWindow, int nHitTest)
{
    const CSize szClient(rcWindow.Width() - m_rcBorders.left - m_rcBorders.right,
                         rcWindow.Height() - m_rcBorders.top - m_rcBorders.bottom - m_nCaptionHeight);
    if (szClient.cx < m_szMin.cx || szClient.cy < m_szMin.cy)
        return FALSE;
    if (!IsFloating())
    {
        if (nHitTest == HTLEFT || nHitTest == HTRIGHT)
            m_szDockingClient.cx = szClient.cx;
        else
            m_szDockingClient.cy = szClient.cy;
        CQVTCommandBars* pCommandBars = GetCommandBars();
        if (pCommandBars)
            pCommandBars->RecalcFrameLayout(FALSE);
        return TRUE;
    }
    m_szFloatingClient = szClient;
    CalcDynamicLayout(0, LM_HORZ | LM_COMMIT);
    SetWindowPos(nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw(nullptr, FALSE);
    return TRUE;
}
