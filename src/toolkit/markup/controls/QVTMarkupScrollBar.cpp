#include "toolkit/markup/controls/QVTMarkupScrollBar.h"

#include <memory>

#include <vssym32.h>

#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/controls/QVTMarkupScrollViewer.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupScrollBar, CQVTMarkupFrameworkElement, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupScrollBarGripper, CQVTMarkupUIElement, nullptr, nullptr)

CQVTMarkupScrollBar::CQVTMarkupScrollBar() : m_nOrientation(1), m_si{}, m_ptOrigin{0, 0}
{
    m_si.cbSize = sizeof(SCROLLINFO);
    m_si.fMask = SIF_ALL;
}

SIZE CQVTMarkupScrollBar::MeasureOverride(CQVTMarkupDrawingContext*, SIZE)
{
    return IsVertical() ? SIZE{::GetSystemMetrics(SM_CXVSCROLL), 0}
                        : SIZE{0, ::GetSystemMetrics(SM_CYHSCROLL)};
}

SIZE CQVTMarkupScrollBar::ArrangeOverride(SIZE szFinal)
{
    m_ptOrigin = GetAbsoluteOffset();
    m_spi.fVert = IsVertical();
    RECT rc = {m_ptOrigin.x, m_ptOrigin.y, m_ptOrigin.x + szFinal.cx, m_ptOrigin.y + szFinal.cy};
    CalcScrollBarInfo(&rc, &m_spi, &m_si);
    return szFinal;
}

void CQVTMarkupScrollBar::GetScrollInfo(SCROLLINFO* pSI)
{
    if (pSI != nullptr)
        *pSI = m_si;
}

void CQVTMarkupScrollBar::SetScrollInfo(const SCROLLINFO& si)
{
    if (si.nMax == m_si.nMax && si.nPage == m_si.nPage && si.nPos == m_si.nPos)
        return;
    m_si = si;
    m_si.cbSize = sizeof(SCROLLINFO);
    InvalidateArrange();
}

CWnd* CQVTMarkupScrollBar::GetParentWindow() const
{
    CQVTMarkupContext* pContext = GetMarkupContext();
    return pContext != nullptr && pContext->GetHostWindow() != nullptr
               ? CWnd::FromHandle(pContext->GetHostWindow())
               : nullptr;
}

BOOL CQVTMarkupScrollBar::IsEnabled() const
{
    const __int64 nSpare = __int64(m_spi.posMax) - m_spi.page - m_spi.posMin;
    return nSpare >= 0 && const_cast<CQVTMarkupScrollBar*>(this)->CQVTMarkupUIElement::IsEnabled();
}

void CQVTMarkupScrollBar::GetScrollBarRect(CRect& rc)
{
    const SIZE szRender = GetRenderSize();
    rc.SetRect(m_ptOrigin.x, m_ptOrigin.y, m_ptOrigin.x + szRender.cx, m_ptOrigin.y + szRender.cy);
}

void CQVTMarkupScrollBar::RedrawScrollBar()
{
    InvalidateVisual();
}

void CQVTMarkupScrollBar::DoScroll(int cmd, int pos)
{
    if (CQVTMarkupScrollViewer* pViewer = MarkupCast<CQVTMarkupScrollViewer>(GetLogicalParent()))
        pViewer->OnScrollCommand(IsVertical(), cmd, pos);
}

void CQVTMarkupScrollBar::UpdateOrigin(CQVTMarkupMouseEventArgs* pArgs)
{
    const POINT ptHost = pArgs->GetPosition();
    const POINT ptLocal = pArgs->GetPosition(this);
    const POINT ptOrigin = {ptHost.x - ptLocal.x, ptHost.y - ptLocal.y};
    if (ptOrigin.x != m_ptOrigin.x || ptOrigin.y != m_ptOrigin.y)
    {
        m_ptOrigin = ptOrigin;
        UpdateScrollBarInfo();
    }
}

void CQVTMarkupScrollBar::OnMouseLeave(CQVTMarkupMouseEventArgs* pArgs)
{
    CQVTMarkupFrameworkElement::OnMouseLeave(pArgs);
    if (GetHotPart() != 0)
    {
        SetHotPart(0);
        InvalidateVisual();
    }
}

void CQVTMarkupScrollBar::OnMouseMove(CQVTMarkupMouseEventArgs* pArgs)
{
    UpdateOrigin(pArgs);
    const int nPart = HitTestScrollBar(pArgs->GetPosition());
    if (nPart != GetHotPart())
    {
        SetHotPart(nPart);
        InvalidateVisual();
    }
    pArgs->SetHandled(TRUE);
}

void CQVTMarkupScrollBar::OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs)
{
    pArgs->SetHandled(TRUE);
    CQVTMarkupContext* pContext = GetMarkupContext();
    CWnd* pHost = GetParentWindow();
    if (pContext == nullptr || pHost == nullptr || !IsEnabled())
        return;
    UpdateOrigin(pArgs);
    // The loop dispatches messages: a repaint or a script may release this
    // bar or its whole tree meanwhile, or a handler throw. Both stay alive
    // until it ends.
    struct CHold
    {
        CQVTMarkupScrollBar* pBar;
        CQVTMarkupContext* pContext;
        CHold(CQVTMarkupScrollBar* pScrollBar, CQVTMarkupContext* pMarkupContext)
            : pBar(pScrollBar), pContext(pMarkupContext)
        {
            pBar->InternalAddRef();
            pContext->AddRef();
        }
        ~CHold()
        {
            if (pContext->GetCaptureElement() == pBar)
                pContext->ReleaseMouseCapture();
            pContext->Release();
            pBar->InternalRelease();
        }
    } hold(this, pContext);
    pContext->CaptureMouse(this);
    const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    TrackScrollBar(pHost, CPoint(pArgs->GetPosition()), &m_spi, bShift);
}

void CQVTMarkupScrollBar::OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs*) {}

RECT CQVTMarkupScrollBar::LocalPartRect(int nFrom, int nTo) const
{
    RECT rc = m_spi.fVert ? RECT{m_spi.pxLeft, nFrom, m_spi.pxRight, nTo}
                          : RECT{nFrom, m_spi.pxLeft, nTo, m_spi.pxRight};
    ::OffsetRect(&rc, -m_ptOrigin.x, -m_ptOrigin.y);
    return rc;
}

void CQVTMarkupScrollBar::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const SIZE szRender = GetRenderSize();
    if ((IsVertical() ? szRender.cx : szRender.cy) <= 0)
        return;
    const RECT rcBar = {0, 0, szRender.cx, szRender.cy};
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(pDC->GetDeviceContext()->CreateDedicatedDC(rcBar));
    HDC hDC = dedicated->GetDC();
    if (hDC == nullptr)
        return;
    const BOOL bEnabled = IsEnabled();
    CQVTWinThemeWrapper theme;
    theme.OpenThemeData(GetMarkupContext() != nullptr ? GetMarkupContext()->GetHostWindow() : nullptr,
                        u"SCROLLBAR");
    if (theme.IsAppThemeActive())
        RenderThemed(theme, hDC, GetPressedPart(), GetHotPart(), bEnabled);
    else
        RenderClassic(hDC, GetPressedPart(), bEnabled);
    dedicated->Flush();
}

void CQVTMarkupScrollBar::RenderThemed(CQVTWinThemeWrapper& theme, HDC hDC, int nPressed, int nHot,
                                       BOOL bEnabled)
{
    auto state = [&](int nPart) { return !bEnabled ? 4 : nPressed == nPart ? 3 : nHot == nPart ? 2 : 1; };
    const BOOL bVert = IsVertical();
    const BOOL bThumb = bEnabled && m_spi.pxThumbBottom <= m_spi.pxDownArrow;
    const int nThumbTop = bThumb ? m_spi.pxThumbTop : m_spi.pxUpArrow;
    const int nThumbBottom = bThumb ? m_spi.pxThumbBottom : m_spi.pxUpArrow;

    RECT rc = LocalPartRect(m_spi.pxTop, m_spi.pxUpArrow);
    theme.DrawThemeBackground(hDC, SBP_ARROWBTN, state(qvtScrollHitUpArrow) + (bVert ? 0 : 8), &rc, nullptr);
    rc = LocalPartRect(m_spi.pxDownArrow, m_spi.pxBottom);
    theme.DrawThemeBackground(hDC, SBP_ARROWBTN, state(qvtScrollHitDownArrow) + (bVert ? 4 : 12), &rc,
                              nullptr);
    if (m_spi.pxDownArrow > m_spi.pxUpArrow)
    {
        rc = LocalPartRect(m_spi.pxUpArrow, nThumbTop);
        theme.DrawThemeBackground(hDC, bVert ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ,
                                  state(qvtScrollHitPageUp), &rc, nullptr);
    }
    if (nThumbBottom > nThumbTop)
    {
        rc = LocalPartRect(nThumbTop, nThumbBottom);
        theme.DrawThemeBackground(hDC, bVert ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, state(qvtScrollHitThumb),
                                  &rc, nullptr);
        if (nThumbBottom - nThumbTop > 13)
            theme.DrawThemeBackground(hDC, bVert ? SBP_GRIPPERVERT : SBP_GRIPPERHORZ,
                                      state(qvtScrollHitThumb), &rc, nullptr);
    }
    rc = LocalPartRect(nThumbBottom, m_spi.pxDownArrow);
    theme.DrawThemeBackground(hDC, bVert ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ,
                              state(qvtScrollHitPageDown), &rc, nullptr);
}

void CQVTMarkupScrollBar::RenderClassic(HDC hDC, int nPressed, BOOL bEnabled)
{
    const BOOL bVert = IsVertical();
    const UINT nDisabled = bEnabled ? 0 : DFCS_INACTIVE;
    RECT rc = LocalPartRect(m_spi.pxTop, m_spi.pxUpArrow);
    ::DrawFrameControl(hDC, &rc, DFC_SCROLL,
                       (bVert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | nDisabled |
                           (nPressed == qvtScrollHitUpArrow ? DFCS_PUSHED : 0));
    rc = LocalPartRect(m_spi.pxDownArrow, m_spi.pxBottom);
    ::DrawFrameControl(hDC, &rc, DFC_SCROLL,
                       (bVert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | nDisabled |
                           (nPressed == qvtScrollHitDownArrow ? DFCS_PUSHED : 0));

    // The track in the brush the desktop gives scroll bars.
    const COLORREF clrOldBk = ::SetBkColor(hDC, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    const COLORREF clrOldText = ::SetTextColor(hDC, ::GetSysColor(COLOR_BTNFACE));
    HBRUSH hBrush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetDesktopWindow(), WM_CTLCOLORSCROLLBAR,
                                                            reinterpret_cast<WPARAM>(hDC),
                                                            reinterpret_cast<LPARAM>(::GetDesktopWindow())));
    RECT rcTrack = LocalPartRect(m_spi.pxUpArrow, m_spi.pxDownArrow);
    ::FillRect(hDC, &rcTrack, hBrush != nullptr ? hBrush : ::GetSysColorBrush(COLOR_SCROLLBAR));
    ::SetBkColor(hDC, clrOldBk);
    ::SetTextColor(hDC, clrOldText);

    const BOOL bThumb = bEnabled && m_spi.pxThumbBottom <= m_spi.pxDownArrow;
    const int nThumbTop = bThumb ? m_spi.pxThumbTop : m_spi.pxUpArrow;
    const int nThumbBottom = bThumb ? m_spi.pxThumbBottom : m_spi.pxUpArrow;
    if (nPressed == qvtScrollHitPageUp)
    {
        rc = LocalPartRect(m_spi.pxUpArrow, nThumbTop);
        ::InvertRect(hDC, &rc);
    }
    if (m_spi.pxDownArrow > m_spi.pxUpArrow && nThumbBottom > nThumbTop)
    {
        rc = LocalPartRect(nThumbTop, nThumbBottom);
        ::SetBkColor(hDC, ::GetSysColor(COLOR_BTNFACE));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        ::DrawEdge(hDC, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    if (nPressed == qvtScrollHitPageDown)
    {
        rc = LocalPartRect(nThumbBottom, m_spi.pxDownArrow);
        ::InvertRect(hDC, &rc);
    }
}

void CQVTMarkupScrollBarGripper::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const SIZE szRender = GetRenderSize();
    pDC->FillSolidRect(RECT{0, 0, szRender.cx, szRender.cy}, ::GetSysColor(COLOR_BTNFACE));
}
