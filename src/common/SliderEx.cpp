#include "common/SliderEx.h"

#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

namespace {

const UINT_PTR kSettleTimerId = 1;
const UINT kSettleTickMs = 20;
const int kSettleTicks = 30;
// The channel's inset beyond half the thumb, at each end.
const int kChannelMargin = 8;
const int kMarkerWidth = 14;
const int kMarkerHeight = 7;
const COLORREF kGrey = RGB(0xA8, 0xA8, 0xA8);

COLORREF Darken(long lAmount, COLORREF clr)
{
    return CQVTDrawHelpers::DarkenColor(lAmount, clr);
}

COLORREF Lighten(long lAmount, COLORREF clr)
{
    return CQVTDrawHelpers::LightenColor(lAmount, clr);
}

}  // namespace

IMPLEMENT_DYNAMIC(CSliderEx, CWnd)

BEGIN_MESSAGE_MAP(CSliderEx, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_MOUSELEAVE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSliderEx::CSliderEx() = default;

CSliderEx::~CSliderEx() = default;

// ---------------------------------------------------------------------------
// Values

int CSliderEx::ClampIntoRange(int nValue) const
{
    if (nValue > m_nMax)
        nValue = m_nMax;
    if (nValue < m_nMin)
        nValue = m_nMin;
    return nValue;
}

int CSliderEx::Clamp(int nValue) const
{
    const int nTop = m_bLimitMode ? m_nUpper : m_nMax;
    const int nBottom = m_bLimitMode ? m_nLower : m_nMin;
    if (nValue > nTop)
        nValue = nTop;
    if (nValue < nBottom)
        nValue = nBottom;
    return nValue;
}

void CSliderEx::KeepLimitsInRange()
{
    // Limits outside the range would put the position outside it too.
    m_nLower = ClampIntoRange(m_nLower);
    m_nUpper = ClampIntoRange(m_nUpper);
    if (m_nUpper < m_nLower)
        m_nUpper = m_nLower;
}

void CSliderEx::SetRange(int nA, int nB)
{
    m_nMin = nA < nB ? nA : nB;
    m_nMax = nA < nB ? nB : nA;
    KeepLimitsInRange();
    m_nPos = Clamp(m_nPos);
    Invalidate();
}

void CSliderEx::SetLimits(int nA, int nB)
{
    m_nLower = nA < nB ? nA : nB;
    m_nUpper = nA < nB ? nB : nA;
    KeepLimitsInRange();
    m_nPos = Clamp(m_nPos);
    Invalidate();
}

void CSliderEx::EnableLimits(BOOL bEnable)
{
    m_bLimitMode = bEnable;
    m_nPos = Clamp(m_nPos);
    Invalidate();
}

void CSliderEx::SetPos(int nPos)
{
    nPos = Clamp(nPos);
    if (nPos == m_nPos)
        return;
    m_nPos = nPos;
    Invalidate();
}

void CSliderEx::SetThumbWidth(int nWidth)
{
    if (nWidth == m_nThumbWidth)
        return;
    m_nThumbWidth = nWidth;
    Invalidate();
}

void CSliderEx::SetThumbHeight(int nHeight)
{
    if (nHeight == m_nThumbHeight)
        return;
    m_nThumbHeight = nHeight;
    Invalidate();
}

void CSliderEx::ShowLimitMarkers(BOOL bShow)
{
    if (bShow == m_bMarkersShown)
        return;
    m_bMarkersShown = bShow;
    Invalidate();
}

void CSliderEx::EnableLimitMarkers(BOOL bEnable)
{
    if (bEnable == m_bMarkersEnabled)
        return;
    m_bMarkersEnabled = bEnable;
    Invalidate();
}

void CSliderEx::SetEnabledLook(BOOL bEnabled)
{
    if (bEnabled == m_bEnabledLook)
        return;
    m_bEnabledLook = bEnabled;
    Invalidate();
}

void CSliderEx::SetChannelInverted(BOOL bInverted)
{
    if (bInverted == m_bChannelInverted)
        return;
    m_bChannelInverted = bInverted;
    Invalidate();
}

void CSliderEx::Invalidate()
{
    if (m_hWnd != nullptr)
        CWnd::Invalidate(FALSE);
}

BOOL CSliderEx::SubclassControl(HWND hWnd)
{
    if (!SubclassWindow(hWnd))
        return FALSE;
    m_hCursor = ::LoadCursorW(nullptr, IDC_HAND);
    Invalidate();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Geometry

CRect CSliderEx::GetChannelRect() const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rc;
    rc.left = m_nThumbWidth / 2 + kChannelMargin;
    rc.right = rcClient.Width() - m_nThumbWidth / 2 - kChannelMargin;
    rc.top = (rcClient.Height() - m_nChannelHeight + 1) / 2;
    rc.bottom = rc.top + m_nChannelHeight;
    return rc;
}

int CSliderEx::ValueToPixel(int nValue) const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    // Placed from the minimum, so a range that does not start at 0 still
    // spans the channel.
    const double dSpan = rcClient.Width() - 2 * kChannelMargin - m_nThumbWidth;
    return static_cast<int>(dSpan * (static_cast<double>(nValue) - m_nMin) / Range()) + kChannelMargin;
}

int CSliderEx::PointToValue(int x) const
{
    CRect rcChannel = GetChannelRect();
    // A slider narrower than its thumb has no channel to point into.
    if (rcChannel.Width() <= 0)
        return m_nMin;
    return static_cast<int>(static_cast<double>(x - rcChannel.left) * Range() / rcChannel.Width()) + m_nMin;
}

CRect CSliderEx::GetThumbRect() const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rc;
    rc.left = ValueToPixel(m_nPos);
    rc.right = rc.left + m_nThumbWidth;
    const int nMiddle = (rcClient.Height() - m_nThumbHeight + 1) / 2;
    rc.top = nMiddle - 1;
    rc.bottom = nMiddle + m_nThumbHeight + 1;
    return rc;
}

CRect CSliderEx::GetLimitsRect() const
{
    CRect rcChannel = GetChannelRect();
    return CRect(ValueToPixel(m_nLower) + m_nThumbWidth / 2, rcChannel.top,
                 ValueToPixel(m_nUpper) + m_nThumbWidth / 2, rcChannel.bottom);
}

CRect CSliderEx::GetLowerMarkerRect() const
{
    CRect rcLimits = GetLimitsRect();
    return CRect(rcLimits.left - kMarkerWidth / 2, rcLimits.top - kMarkerHeight,
                 rcLimits.left + kMarkerWidth / 2, rcLimits.top);
}

CRect CSliderEx::GetUpperMarkerRect() const
{
    CRect rcLimits = GetLimitsRect();
    return CRect(rcLimits.right - kMarkerWidth / 2, rcLimits.top - kMarkerHeight,
                 rcLimits.right + kMarkerWidth / 2, rcLimits.top);
}

BOOL CSliderEx::IsOverActivePart(CPoint point) const
{
    if (m_bEnabledLook && (GetChannelRect().PtInRect(point) || GetThumbRect().PtInRect(point)))
        return TRUE;
    return m_bMarkersShown && m_bMarkersEnabled &&
           (GetLowerMarkerRect().PtInRect(point) || GetUpperMarkerRect().PtInRect(point));
}

// ---------------------------------------------------------------------------
// Mouse

void CSliderEx::Notify(UINT nMessage)
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(nMessage, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CSliderEx::StopTimer()
{
    if (m_nTimer != 0)
    {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
}

void CSliderEx::TrackLeave()
{
    if (m_bTrackingLeave)
        return;
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_bTrackingLeave = ::TrackMouseEvent(&track);
}

void CSliderEx::MoveThumbTo(int x)
{
    int nValue = Clamp(PointToValue(x));
    if (nValue == m_nPos)
        return;
    m_nPos = nValue;
    m_bChangedByDrag = TRUE;
    Notify(WM_SLIDEREX_CHANGING);
    m_nSettleCountdown = kSettleTicks;
    if (m_nTimer == 0 && m_bSettleTimer && m_hWnd != nullptr)
        m_nTimer = SetTimer(kSettleTimerId, kSettleTickMs, nullptr);
}

void CSliderEx::KeepPositionInLimits()
{
    // A limit dragged past the position takes it along, as a drag would.
    int nPos = Clamp(m_nPos);
    if (nPos == m_nPos)
        return;
    m_nPos = nPos;
    m_bChangedByDrag = TRUE;
    Notify(WM_SLIDEREX_RELEASED);
}

void CSliderEx::DragLowerMarker(int x)
{
    int nValue = ClampIntoRange(PointToValue(x));
    if (nValue > m_nUpper)
        nValue = m_nUpper;
    // Two markers held together part at the first move: leftward moves the
    // lower one and lets the upper one go.
    if (nValue != m_nLower && (nValue <= m_nLower || !m_bUpperDragged))
    {
        m_nLower = nValue;
        m_bUpperDragged = FALSE;
        Notify(WM_SLIDEREX_LOWER_CHANGED);
    }
    KeepPositionInLimits();
}

void CSliderEx::DragUpperMarker(int x)
{
    int nValue = ClampIntoRange(PointToValue(x));
    if (nValue < m_nLower)
        nValue = m_nLower;
    if (nValue != m_nUpper && (nValue >= m_nUpper || !m_bLowerDragged))
    {
        m_nUpper = nValue;
        m_bLowerDragged = FALSE;
        Notify(WM_SLIDEREX_UPPER_CHANGED);
    }
    KeepPositionInLimits();
}

int CSliderEx::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (m_hCursor == nullptr)
        m_hCursor = ::LoadCursorW(nullptr, IDC_HAND);
    return CWnd::OnCreate(lpCreateStruct);
}

void CSliderEx::OnDestroy()
{
    StopTimer();
    CWnd::OnDestroy();
}

void CSliderEx::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kSettleTimerId)
    {
        if (!::IsWindow(m_hWnd))
        {
            StopTimer();
        }
        else if (--m_nSettleCountdown < 0)
        {
            m_nSettleCountdown = kSettleTicks;
            StopTimer();
            if (m_bThumbDragged)
                Notify(WM_SLIDEREX_RELEASED);
        }
    }
    CWnd::OnTimer(nIDEvent);
}

void CSliderEx::OnMouseLeave()
{
    m_bTrackingLeave = FALSE;
    Invalidate();
    CWnd::OnMouseLeave();
}

void CSliderEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bEnabledLook && (GetChannelRect().PtInRect(point) || GetThumbRect().PtInRect(point)))
    {
        ::SetCursor(m_hCursor);
        SetCapture();
        m_bThumbDragged = TRUE;
        MoveThumbTo(point.x);
        Invalidate();
    }
    else if (m_bMarkersShown && m_bMarkersEnabled)
    {
        if (GetLowerMarkerRect().PtInRect(point))
        {
            m_bLowerDragged = TRUE;
            if (!m_bUpperDragged)
            {
                SetCapture();
                ::SetCursor(m_hCursor);
            }
            Invalidate();
        }
        if (GetUpperMarkerRect().PtInRect(point))
        {
            m_bUpperDragged = TRUE;
            if (!m_bLowerDragged)
            {
                SetCapture();
                ::SetCursor(m_hCursor);
            }
            Invalidate();
        }
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CSliderEx::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The second press of a quick pair is a press like the first: a control
    // taken over from a dialog may ask for double clicks.
    OnLButtonDown(nFlags, point);
}

void CSliderEx::OnMouseMove(UINT nFlags, CPoint point)
{
    TrackLeave();
    if (m_bThumbDragged)
    {
        MoveThumbTo(point.x);
    }
    else if (m_bLowerDragged || m_bUpperDragged)
    {
        // Markers held together: the lower one takes a move to the left,
        // then the upper one, still held, a move to the right.
        if (m_bLowerDragged)
            DragLowerMarker(point.x);
        if (m_bUpperDragged)
            DragUpperMarker(point.x);
    }
    else if (IsOverActivePart(point))
    {
        ::SetCursor(m_hCursor);
    }
    Invalidate();
    CWnd::OnMouseMove(nFlags, point);
}

void CSliderEx::EndDrag(BOOL bReleaseCapture)
{
    StopTimer();
    const BOOL bThumb = m_bThumbDragged;
    const BOOL bMarker = m_bLowerDragged || m_bUpperDragged;
    m_bThumbDragged = FALSE;
    m_bLowerDragged = FALSE;
    m_bUpperDragged = FALSE;
    if (bReleaseCapture)
    {
        ::ReleaseCapture();
        ::SetCursor(m_hCursor);
    }
    if (bThumb)
        Notify(WM_SLIDEREX_RELEASED);
    m_bChangedByDrag = FALSE;
    if (bMarker)
        Notify(WM_SLIDEREX_LIMITS_RELEASED);
    if (bReleaseCapture)
        Invalidate();
}

void CSliderEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bThumbDragged || m_bLowerDragged || m_bUpperDragged)
        EndDrag(TRUE);
    CWnd::OnLButtonUp(nFlags, point);
}

void CSliderEx::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != this && (m_bThumbDragged || m_bLowerDragged || m_bUpperDragged))
        EndDrag(FALSE);
    CWnd::OnCaptureChanged(pWnd);
}

// ---------------------------------------------------------------------------
// Painting

COLORREF CSliderEx::Greyed(COLORREF clr) const
{
    return CQVTDrawHelpers::BlendColors(kGrey, clr, 0.7);
}

void CSliderEx::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CQVTBufferDC buffer(dc.m_hDC, rcClient);
    if (buffer.GetSafeHdc() != nullptr)
        Paint(&buffer);
}

void CSliderEx::Paint(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    const BOOL bInside = rcClient.PtInRect(ptCursor);

    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF clrLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    pDC->FillSolidRect(rcClient, ::GetSysColor(COLOR_BTNFACE));

    // The channel, and the band between the limits in the other shading.
    const CRect rcChannel = GetChannelRect();
    const COLORREF clrLightFill = m_bEnabledLook ? Lighten(200, clrLight) : Greyed(Lighten(200, clrLight));
    const COLORREF clrDarkFill = m_bMarkersEnabled ? Darken(20, clrShadow) : Greyed(Darken(20, clrShadow));
    auto edge = [this](COLORREF clr) { return m_bEnabledLook ? clr : Greyed(clr); };
    pDC->FillSolidRect(rcChannel, m_bChannelInverted ? clrDarkFill : clrLightFill);
    pDC->Draw3dRect(rcChannel, edge(Darken(50, clrShadow)),
                    edge(Lighten(m_bChannelInverted ? 150 : 250, clrLight)));
    if (m_nLower != m_nUpper)
    {
        const CRect rcLimits = GetLimitsRect();
        pDC->FillSolidRect(rcLimits, m_bChannelInverted ? clrLightFill : clrDarkFill);
        pDC->Draw3dRect(rcLimits, edge(Darken(50, clrShadow)),
                        edge(Lighten(m_bChannelInverted ? 250 : 150, clrLight)));
        if (m_bMarkersShown)
        {
            PaintMarkers(pDC, rcChannel,
                         m_bLowerDragged || (bInside && GetLowerMarkerRect().PtInRect(ptCursor)),
                         m_bUpperDragged || (bInside && GetUpperMarkerRect().PtInRect(ptCursor)));
        }
    }
    PaintThumb(pDC, m_bThumbDragged || (bInside && GetThumbRect().PtInRect(ptCursor)));
}

void CSliderEx::PaintMarkers(CDC* pDC, const CRect& rcChannel, BOOL bHoverLower, BOOL bHoverUpper)
{
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    auto markerColor = [&](BOOL bHover) {
        COLORREF clr = Darken(bHover ? 60 : 80, clrShadow);
        return m_bMarkersEnabled ? clr : Greyed(clr);
    };
    const CRect rcLimits = GetLimitsRect();
    const COLORREF clrLower = markerColor(bHoverLower);
    const struct
    {
        int x;
        COLORREF clr;
    } markers[] = {{rcLimits.left, clrLower}, {rcLimits.right, markerColor(bHoverUpper)}};
    for (const auto& marker : markers)
    {
        // A downward triangle, 15 wide and 7 high, its tip a pixel above the
        // channel; eight outlines from the outside in, each lighter.
        const int nTipY = rcChannel.top - 1;
        const int nTopY = nTipY - kMarkerHeight;
        COLORREF clr = marker.clr;
        for (int i = 0; i < 8; ++i)
        {
            const CPoint ptTip(marker.x, nTipY - i);
            const int nHalf = kMarkerHeight - i;
            CQVTDrawHelpers::DrawLine(pDC, marker.x - nHalf, nTopY, ptTip.x, ptTip.y, clr);
            CQVTDrawHelpers::DrawLine(pDC, ptTip.x, ptTip.y, marker.x + nHalf, nTopY, clr);
            CQVTDrawHelpers::DrawLine(pDC, marker.x - nHalf, nTopY, marker.x + nHalf + 1, nTopY, clr);
            clr = Lighten(20, clr);
        }
    }
    // Ticks below the channel at both limits, in the lower marker's colour.
    CQVTDrawHelpers::DrawLine(pDC, rcLimits.left, rcChannel.bottom, rcLimits.left, rcChannel.bottom + 4,
                              clrLower);
    CQVTDrawHelpers::DrawLine(pDC, rcLimits.right - 1, rcChannel.bottom, rcLimits.right - 1,
                              rcChannel.bottom + 4, clrLower);
}

void CSliderEx::PaintThumb(CDC* pDC, BOOL bHover)
{
    const long lAmount = bHover ? 40 : 60;
    COLORREF clrFace = Darken(lAmount, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    COLORREF clrEdge = Darken(lAmount, ::GetSysColor(COLOR_BTNSHADOW));
    if (!m_bEnabledLook)
    {
        clrFace = Greyed(clrFace);
        clrEdge = Greyed(clrEdge);
    }
    const CRect rcThumb = GetThumbRect();
    const int nThird = rcThumb.Height() / 3;
    CRect rcTop(rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.top + nThird);
    CRect rcMiddle(rcThumb.left, rcTop.bottom, rcThumb.right, rcThumb.bottom - nThird);
    CRect rcBottom(rcThumb.left, rcMiddle.bottom, rcThumb.right, rcThumb.bottom);
    CQVTDrawHelpers* pHelpers = QVTDrawHelpers();
    pHelpers->GradientFill(pDC, rcTop, clrEdge, clrFace, FALSE);
    pDC->FillSolidRect(rcMiddle, clrFace);
    pHelpers->GradientFill(pDC, rcBottom, clrFace, clrEdge, FALSE);
    pDC->Draw3dRect(rcThumb, clrEdge, clrEdge);
}
