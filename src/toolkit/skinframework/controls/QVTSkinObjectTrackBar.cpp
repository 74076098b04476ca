#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"

namespace {
const UINT kTrackBarTickColor = 204;

// A rectangle with its axes swapped (the vertical bar is laid out as a
// horizontal one).
CRect TrackBarTurn(const CRect& rc)
{
    return CRect(rc.top, rc.left, rc.bottom, rc.right);
}
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectTrackBar, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectTrackBar, CQVTSkinObjectControl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(TBM_SETTICFREQ, &CQVTSkinObjectTrackBar::OnSetTicFreq)
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectTrackBar::OnMouseLeave)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectTrackBar::OnPrintClient)
END_MESSAGE_MAP()

CQVTSkinObjectTrackBar::CQVTSkinObjectTrackBar()
{
    m_strClassName = u"TRACKBAR";
}

BOOL CQVTSkinObjectTrackBar::OnEraseBkgnd(CDC* pDC)
{
    return EraseUnlessSkinned(pDC, 1);
}

void CQVTSkinObjectTrackBar::OnPaint()
{
    PaintSkinned(1, TRUE);
}

LRESULT CQVTSkinObjectTrackBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    return PrintSkinned(wParam, lParam, 1);
}

LRESULT CQVTSkinObjectTrackBar::OnSetTicFreq(WPARAM wParam, LPARAM /*lParam*/)
{
    m_nTickFrequency = static_cast<int>(wParam);
    return Default();
}

void CQVTSkinObjectTrackBar::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    CRect rcThumb;
    ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rcThumb));
    const BOOL bHot = rcThumb.PtInRect(point);
    if (bHot != m_bHot)
    {
        m_bHot = bHot;
        InvalidateClient();
        if (bHot)
            RequestLeaveNotice();
    }
    Default();
}

LRESULT CQVTSkinObjectTrackBar::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (m_bHot)
    {
        m_bHot = FALSE;
        InvalidateClient();
    }
    return Default();
}

LRESULT CQVTSkinObjectTrackBar::NotifyCustomDraw(CDC* pDC, DWORD dwStage, DWORD_PTR dwItem, const CRect& rc)
{
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent == nullptr)
        return 0;
    NMCUSTOMDRAW nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
    nm.hdr.code = NM_CUSTOMDRAW;
    nm.dwDrawStage = dwStage;
    nm.hdc = pDC->GetSafeHdc();
    nm.rc = rc;
    nm.dwItemSpec = dwItem;
    return ::SendMessageW(hParent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void CQVTSkinObjectTrackBar::LayoutTrackBar()
{
    const DWORD dwStyle = GetStyle();
    m_dwLayoutStyle = dwStyle;
    ::SendMessageW(m_hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&m_rcChannel));
    // Some systems answer the channel of a vertical bar in horizontal form.
    if ((dwStyle & TBS_VERT) && m_rcChannel.Width() > m_rcChannel.Height())
        m_rcChannel = TrackBarTurn(m_rcChannel);
    ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&m_rcThumb));
    m_nThumbLength = (dwStyle & TBS_VERT) ? m_rcThumb.Width() : m_rcThumb.Height();
}

int CQVTSkinObjectTrackBar::ValueToPixel(int nValue)
{
    const int nMin = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0));
    const int nMax = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0));
    const BOOL bVertical = (m_dwLayoutStyle & TBS_VERT) != 0;
    const int nStart = bVertical ? m_rcChannel.top : m_rcChannel.left;
    const int nLength = bVertical ? m_rcChannel.Height() : m_rcChannel.Width();
    // The ticks line up with the thumb's centre: the channel less the thumb.
    const int nThumb = bVertical ? m_rcThumb.Height() : m_rcThumb.Width();
    return QVTSkinTrackBarValueToPixel(nStart + nThumb / 2, nLength - nThumb + 1, nValue, nMin, nMax);
}

void CQVTSkinObjectTrackBar::DrawTicks(CDC* pDC)
{
    const DWORD dwStyle = m_dwLayoutStyle;
    if (dwStyle & TBS_NOTICKS)
        return;
    const BOOL bVertical = (dwStyle & TBS_VERT) != 0;
    CQVTSkinManagerClass* pClass = GetSkinClass();
    COLORREF clrTick = GetColor(COLOR_BTNTEXT);
    if (pClass != nullptr)
        clrTick = pClass->GetThemeColor(bVertical ? 10 : 9, 1, kTrackBarTickColor, clrTick);
    const BOOL bBoth = (dwStyle & TBS_BOTH) != 0;
    const BOOL bTopLeft = bBoth || (dwStyle & TBS_TOP) != 0;
    const BOOL bBottomRight = bBoth || (dwStyle & TBS_TOP) == 0;
    const int nTickLength = ScaleY(3);
    HDC hDC = pDC->GetSafeHdc();
    auto drawTick = [&](int nPixel, int nLength) {
        if (bVertical)
        {
            if (bTopLeft)
                QVTSkinFillSolidRect(hDC, m_rcThumb.left - 2 - nLength, nPixel, nLength, 1, clrTick);
            if (bBottomRight)
                QVTSkinFillSolidRect(hDC, m_rcThumb.right + 2, nPixel, nLength, 1, clrTick);
        }
        else
        {
            if (bTopLeft)
                QVTSkinFillSolidRect(hDC, nPixel, m_rcThumb.top - 2 - nLength, 1, nLength, clrTick);
            if (bBottomRight)
                QVTSkinFillSolidRect(hDC, nPixel, m_rcThumb.bottom + 2, 1, nLength, clrTick);
        }
    };
    const int nMin = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0));
    const int nMax = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0));
    drawTick(ValueToPixel(nMin), nTickLength + 1);
    drawTick(ValueToPixel(nMax), nTickLength + 1);

    const int nTicks = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETNUMTICS, 0, 0)) - 2;
    const DWORD* pTicks = reinterpret_cast<const DWORD*>(::SendMessageW(m_hWnd, TBM_GETPTICS, 0, 0));
    if (pTicks != nullptr)
        for (int i = 0; i < nTicks; ++i)
            if (QVTSkinTrackBarIsTickDrawn(i, m_nTickFrequency))
                drawTick(ValueToPixel(static_cast<int>(pTicks[i])), nTickLength);

    if (dwStyle & TBS_ENABLESELRANGE)
    {
        const int nSelStart = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETSELSTART, 0, 0));
        const int nSelEnd = static_cast<int>(::SendMessageW(m_hWnd, TBM_GETSELEND, 0, 0));
        if (nSelStart < nSelEnd && nSelStart >= nMin)
            for (int nStep = 0; nStep < 3; ++nStep)
            {
                drawTick(ValueToPixel(nSelStart) - nStep, nTickLength - nStep);
                drawTick(ValueToPixel(nSelEnd) + nStep, nTickLength - nStep);
            }
    }
}

void CQVTSkinObjectTrackBar::DrawChannel(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass != nullptr)
        pClass->DrawThemeBackground(pDC, (m_dwLayoutStyle & TBS_VERT) ? 2 : 1, 1, m_rcChannel);
}

void CQVTSkinObjectTrackBar::DrawThumb(CDC* pDC)
{
    const DWORD dwStyle = m_dwLayoutStyle;
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if ((dwStyle & TBS_NOTHUMB) || pClass == nullptr)
        return;
    const BOOL bVertical = (dwStyle & TBS_VERT) != 0;
    int nPart = 0;
    if (dwStyle & TBS_BOTH)
        nPart = bVertical ? 6 : 3;
    else if (bVertical)
        nPart = (dwStyle & TBS_LEFT) ? 7 : 8;
    else
        nPart = (dwStyle & TBS_TOP) ? 5 : 4;
    int nState = 1;
    if (!IsWindowEnabled())
        nState = 5;
    else if (::GetCapture() == m_hWnd)
        nState = 3;
    else if (m_bHot)
        nState = 2;
    else if (::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        nState = 4;
    pClass->DrawThemeBackground(pDC, nPart, nState, m_rcThumb);
}

void CQVTSkinObjectTrackBar::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    const LRESULT lPrePaint = NotifyCustomDraw(pDC, CDDS_PREPAINT, 0, rc);
    ::FillRect(pDC->GetSafeHdc(), &rc, GetParentBrush(WM_CTLCOLORSTATIC, pDC->GetSafeHdc()));
    if (::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
    {
        pDC->SetBkColor(GetColor(COLOR_BTNHIGHLIGHT));
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->DrawFocusRect(rc);
    }
    LayoutTrackBar();
    const BOOL bItems = (lPrePaint & CDRF_NOTIFYITEMDRAW) != 0;
    auto drawItem = [&](DWORD_PTR dwItem, const CRect& rcItem,
                        void (CQVTSkinObjectTrackBar::*pfnDraw)(CDC*)) {
        if (bItems)
            NotifyCustomDraw(pDC, CDDS_ITEMPREPAINT, dwItem, rcItem);
        (this->*pfnDraw)(pDC);
        if (bItems)
            NotifyCustomDraw(pDC, CDDS_ITEMPOSTPAINT, dwItem, rcItem);
    };
    drawItem(TBCD_TICS, rc, &CQVTSkinObjectTrackBar::DrawTicks);
    drawItem(TBCD_CHANNEL, m_rcChannel, &CQVTSkinObjectTrackBar::DrawChannel);
    drawItem(TBCD_THUMB, m_rcThumb, &CQVTSkinObjectTrackBar::DrawThumb);
    if (lPrePaint & CDRF_NOTIFYPOSTPAINT)
        NotifyCustomDraw(pDC, CDDS_POSTPAINT, 0, rc);
}
