#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectStandardControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
// Selects a font for the block's life.
class ButtonFontScope
{
public:
    ButtonFontScope(HDC hDC, HWND hWnd) : m_hDC(hDC)
    {
        HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
        if (hFont != nullptr)
            m_hOld = ::SelectObject(hDC, hFont);
    }
    ~ButtonFontScope()
    {
        if (m_hOld != nullptr)
            ::SelectObject(m_hDC, m_hOld);
    }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectButton, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectButton, CQVTSkinObjectControl)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectButton::OnMouseLeave)
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectButton::OnButtonCreate)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectButton::OnPrintClient)
    ON_MESSAGE(WM_SETTEXT, &CQVTSkinObjectButton::OnButtonSetText)
    ON_MESSAGE(BM_SETSTATE, &CQVTSkinObjectButton::OnSetState)
    ON_MESSAGE(WM_SETFOCUS, &CQVTSkinObjectButton::OnInvalidatingMessage)
    ON_MESSAGE(WM_KILLFOCUS, &CQVTSkinObjectButton::OnInvalidatingMessage)
    ON_MESSAGE(BM_SETSTYLE, &CQVTSkinObjectButton::OnInvalidatingMessage)
    ON_MESSAGE(BM_SETCHECK, &CQVTSkinObjectButton::OnInvalidatingMessage)
    ON_MESSAGE(WM_CAPTURECHANGED, &CQVTSkinObjectButton::OnInvalidatingMessage)
    ON_MESSAGE(WM_ENABLE, &CQVTSkinObjectButton::OnButtonEnable)
    ON_MESSAGE(WM_UPDATEUISTATE, &CQVTSkinObjectButton::OnButtonUpdateUIState)
END_MESSAGE_MAP()

CQVTSkinObjectButton::CQVTSkinObjectButton()
{
    m_strClassName = u"BUTTON";
    m_nCtlColorMessage = WM_CTLCOLORBTN;
}

int CQVTSkinObjectButton::GetButtonType()
{
    return QVTSkinButtonType(static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)), m_nTypeOverride);
}

BOOL CQVTSkinObjectButton::IsButtonSkinned()
{
    return QVTSkinIsButtonSkinned(GetButtonType());
}

void CQVTSkinObjectButton::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    CQVTSkinObjectControl::OnSkinChanged(bPrevState, bNewState);
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CQVTSkinObjectButton::OnWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (!IsButtonSkinned())
        return FALSE;
    return CQVTSkinObjectControl::OnWindowProcMessage(message, wParam, lParam, result);
}

BOOL CQVTSkinObjectButton::OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam,
                                                  LRESULT& result)
{
    if (!IsButtonSkinned())
        return FALSE;
    if ((message == WM_PAINT || message == WM_PRINTCLIENT) && wParam != 0 && IsPartSkinned(1))
    {
        PaintButton(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        result = 0;
        return TRUE;
    }
    return CQVTSkinObjectControl::OnDefWindowProcMessage(message, wParam, lParam, result);
}

BOOL CQVTSkinObjectButton::IsHandledAtDefaultProc(UINT message)
{
    if (m_bWindowsForms)
        return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    if (message == WM_TIMER)
        return FALSE;
    return CQVTSkinObjectControl::IsHandledAtDefaultProc(message);
}

LRESULT CQVTSkinObjectButton::DefaultHidden()
{
    // The system paints at once on these messages: hidden, it does not.
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const BOOL bVisible = (dwStyle & WS_VISIBLE) != 0;
    if (bVisible)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle & ~WS_VISIBLE));
    const LRESULT lResult = Default();
    if (bVisible && ::IsWindow(m_hWnd))
        ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) | WS_VISIBLE);
    return lResult;
}

BOOL CQVTSkinObjectButton::OnEraseBkgnd(CDC* /*pDC*/)
{
    if (IsPartSkinned(1))
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CQVTSkinObjectButton::SetMouseOver(BOOL bMouseOver)
{
    if (bMouseOver == m_bMouseOver)
        return;
    m_bMouseOver = bMouseOver;
    InvalidateClient();
    if (bMouseOver)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
}

void CQVTSkinObjectButton::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    Default();
    if (GetButtonType() == qvtSkinButtonGroupBox || !::IsWindow(m_hWnd))
        return;
    CRect rc;
    GetClientRect(&rc);
    SetMouseOver(rc.PtInRect(point));
}

LRESULT CQVTSkinObjectButton::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT lResult = Default();
    if (GetButtonType() != qvtSkinButtonGroupBox)
        SetMouseOver(FALSE);
    return lResult;
}

LRESULT CQVTSkinObjectButton::OnButtonCreate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnCreate(wParam, lParam);
    if (lResult != -1)
        InvalidateClient();
    return lResult;
}

LRESULT CQVTSkinObjectButton::OnButtonSetText(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT lResult = DefaultHidden();
    if (GetButtonType() == qvtSkinButtonGroupBox && IsPartSkinned(4))
    {
        // The old caption's area is re-filled before the new one is drawn.
        CClientDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        rc.bottom = rc.top + dc.GetTextExtent(u"Xg", 2).cy + 2;
        ::FillRect(dc.GetSafeHdc(), &rc, GetParentBrush(WM_CTLCOLORBTN, dc.GetSafeHdc()));
    }
    InvalidateClient();
    return lResult;
}

LRESULT CQVTSkinObjectButton::OnSetState(WPARAM wParam, LPARAM /*lParam*/)
{
    DefaultHidden();
    m_bPushed = wParam != 0;
    InvalidateClient();
    return 0;
}

LRESULT CQVTSkinObjectButton::OnInvalidatingMessage(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return DefaultInvalidate();
}

LRESULT CQVTSkinObjectButton::OnButtonEnable(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    InvalidateClient();
    return 0;
}

LRESULT CQVTSkinObjectButton::OnButtonUpdateUIState(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CallDefWindowProc(WM_UPDATEUISTATE, wParam, lParam);
    InvalidateClient();
    return lResult;
}

void CQVTSkinObjectButton::OnPaint()
{
    if (!IsPartSkinned(1))
    {
        Default();
        return;
    }
    CQVTSkinObjectPaintDC dc(this);
    PaintButton(&dc);
}

LRESULT CQVTSkinObjectButton::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    if (wParam != 0 && IsPartSkinned(1))
    {
        PaintButton(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return 0;
    }
    return Default();
}

void CQVTSkinObjectButton::PaintButton(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    if (GetButtonType() == qvtSkinButtonGroupBox)
    {
        ButtonFontScope font(pDC->GetSafeHdc(), m_hWnd);
        pDC->SetBkColor(GetColor(COLOR_BTNFACE));
        DrawControl(pDC, rc);
        return;
    }
    CQVTBufferDC memDC(pDC->GetSafeHdc(), rc);
    HBRUSH hBrush = GetParentBrush(WM_CTLCOLORBTN, memDC.GetSafeHdc());
    if (hBrush == static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)))
    {
        // A transparent parent shows through: no buffer.
        memDC.Discard();
        ButtonFontScope font(pDC->GetSafeHdc(), m_hWnd);
        DrawControl(pDC, rc);
        return;
    }
    ::FillRect(memDC.GetSafeHdc(), &rc, hBrush);
    ButtonFontScope font(memDC.GetSafeHdc(), m_hWnd);
    DrawControl(&memDC, rc);
}

void CQVTSkinObjectButton::DrawControl(CDC* pDC, CRect rc)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return;
    const DWORD dwStyle = GetStyle();
    const int nType = GetButtonType();
    const BOOL bHot = m_bMouseOver || ::GetCapture() == m_hWnd;
    const int nCheck = static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0));
    int nPart = 1;
    int nState = 1;
    QVTSkinButtonPartState(nType, dwStyle, bHot, m_bPushed, nCheck, IsWindowEnabled(), &nPart, &nState);

    if (nPart == 1)
    {
        pClass->DrawThemeBackground(pDC, nPart, nState, rc);
        if (nType == qvtSkinButtonSplit || nType == qvtSkinButtonDefSplit)
        {
            CRect rcInner(rc);
            rcInner.DeflateRect(ScaleX(4), ScaleY(4));
            const BOOL bEnabled = IsWindowEnabled();
            CRect rcArrow(rcInner.right - ScaleX(12), rcInner.top, rcInner.right, rcInner.bottom);
            QVTGlyphFont()->DrawGlyph(pDC, static_cast<WCHAR>(77), rcArrow,
                                      GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
            const int x = rcArrow.left - ScaleX(4);
            QVTSkinFillSolidRect(pDC->GetSafeHdc(), x, rcInner.top, 1, rcInner.Height(),
                                 GetColor(bEnabled ? COLOR_BTNSHADOW : COLOR_GRAYTEXT));
            QVTSkinFillSolidRect(pDC->GetSafeHdc(), x + 1, rcInner.top, 1, rcInner.Height(),
                                 GetColor(COLOR_BTNHIGHLIGHT));
        }
    }
    DrawContent(pDC, rc, nType, nPart, nState);
}

void CQVTSkinObjectButton::DrawContent(CDC* pDC, const CRect& rcClient, int nType, int nPart, int nState)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    const DWORD dwStyle = GetStyle();
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    const int cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    const int cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    const int cxEdge = pMetrics != nullptr ? pMetrics->m_cxEdge : ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = pMetrics != nullptr ? pMetrics->m_cyEdge : ::GetSystemMetrics(SM_CYEDGE);
    const BOOL bPushLike = QVTSkinIsPushLikeButton(nType, dwStyle);
    const DWORD dwAlign = QVTSkinButtonAlignment(nType, dwStyle);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(pDC->GetSafeHdc(), &tm);
    CString strText;
    GetWindowText(strText);

    CRect rcText(rcClient);
    if (nPart == 2 || nPart == 3)
    {
        SIZE size = {13, 13};
        if (!pClass->GetThemePartSize(nPart, nState, nullptr, qvtSkinSizeTrue, &size) || size.cx <= 0)
            size = SIZE{13, 13};
        size.cx = ScaleX(size.cx);
        size.cy = ScaleY(size.cy);
        CRect rcGlyph(rcClient);
        if (dwStyle & BS_LEFTTEXT)
            rcGlyph.left = rcClient.right - size.cx;
        rcGlyph.right = rcGlyph.left + size.cx;
        const int nLine = tm.tmHeight * 5 / 4;
        if ((dwAlign & BS_VCENTER) == BS_TOP)
            rcGlyph.top = rcClient.top + (nLine - size.cy) / 2;
        else if ((dwAlign & BS_VCENTER) == BS_BOTTOM)
            rcGlyph.top = rcClient.bottom - nLine + (nLine - size.cy) / 2;
        else
            rcGlyph.top = rcClient.top + (rcClient.Height() - size.cy) / 2;
        rcGlyph.bottom = rcGlyph.top + size.cy;
        pClass->DrawThemeBackground(pDC, nPart, nState, rcGlyph);
        if (dwStyle & BS_LEFTTEXT)
            rcText.right = rcGlyph.left - ScaleX(3);
        else
            rcText.left = rcGlyph.right + ScaleX(3);
    }
    else if (nPart == 4)
    {
        CRect rcFrame(rcClient);
        rcFrame.top += tm.tmHeight / 2;
        pClass->DrawThemeBackground(pDC, nPart, nState, rcFrame);
        if (strText.IsEmpty())
            return;
        CRect rcCalc(0, 0, 0, 0);
        pDC->DrawText(strText, rcCalc, DT_CALCRECT | DT_SINGLELINE);
        const int nWidth = rcCalc.Width() + 2 * cxEdge;
        CRect rcCaption(rcClient.left + cxBorder + ScaleX(8), rcClient.top, 0,
                        rcClient.top + rcCalc.Height());
        if ((dwStyle & BS_CENTER) == BS_RIGHT)
            rcCaption.left = rcClient.right - cxBorder - ScaleX(6) - nWidth;
        else if ((dwStyle & BS_CENTER) == BS_CENTER)
            rcCaption.left = rcClient.left + (rcClient.Width() - nWidth) / 2 + cxBorder;
        rcCaption.right = rcCaption.left + nWidth;
        ::FillRect(pDC->GetSafeHdc(), &rcCaption, GetParentBrush(WM_CTLCOLORBTN, pDC->GetSafeHdc()));
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(
            pClass->GetThemeColor(nPart, nState, qvtSkinPropTextColor, GetColor(COLOR_BTNTEXT)));
        UINT nFormat = DT_SINGLELINE | DT_CENTER | DT_NOCLIP;
        if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
            nFormat |= DT_HIDEPREFIX;
        pClass->DrawThemeText(pDC, nPart, nState, strText, nFormat, rcCaption);
        return;
    }
    else
        rcText.DeflateRect(cxEdge, cyEdge);

    CRect rcFocus(rcText);
    if (dwStyle & (BS_BITMAP | BS_ICON))
    {
        const BOOL bIcon = (dwStyle & BS_ICON) != 0;
        HANDLE hImage = reinterpret_cast<HANDLE>(
            ::SendMessageW(m_hWnd, BM_GETIMAGE, bIcon ? IMAGE_ICON : IMAGE_BITMAP, 0));
        if (hImage != nullptr)
        {
            int cx = 0;
            int cy = 0;
            if (bIcon)
                QVTSkinGetIconSize(static_cast<HICON>(hImage), &cx, &cy);
            else
            {
                BITMAP bm = {};
                ::GetObjectW(hImage, sizeof(bm), &bm);
                cx = bm.bmWidth;
                cy = bm.bmHeight;
            }
            int x = rcText.left + (rcText.Width() - cx) / 2;
            int y = rcText.top + (rcText.Height() - cy) / 2;
            if ((dwAlign & BS_CENTER) == BS_LEFT)
                x = rcText.left;
            else if ((dwAlign & BS_CENTER) == BS_RIGHT)
                x = rcText.right - cx;
            if ((dwAlign & BS_VCENTER) == BS_TOP)
                y = rcText.top;
            else if ((dwAlign & BS_VCENTER) == BS_BOTTOM)
                y = rcText.bottom - cy;
            const UINT nFlags = (bIcon ? DST_ICON : DST_BITMAP) | (IsWindowEnabled() ? 0 : DSS_DISABLED);
            ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(hImage), 0, x, y, cx,
                         cy, nFlags);
        }
    }
    else if (!strText.IsEmpty() && nType != qvtSkinButtonUserButton)
    {
        if (bPushLike && !(dwStyle & BS_MULTILINE))
            rcText.DeflateRect(cxBorder, cyBorder);
        UINT nFormat = (dwStyle & BS_MULTILINE) ? (DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL)
                                                : (DT_SINGLELINE | DT_NOCLIP);
        CRect rcCalc(rcText);
        pDC->DrawText(strText, rcCalc, nFormat | DT_CALCRECT);
        CRect rcDraw(rcText);
        switch (dwAlign & BS_CENTER)
        {
        case BS_LEFT:
            rcDraw.left += bPushLike ? cxBorder : 0;
            break;
        case BS_RIGHT:
            rcDraw.right -= bPushLike ? cxBorder : 0;
            nFormat |= DT_RIGHT;
            break;
        default:
            nFormat |= DT_CENTER;
            break;
        }
        switch (dwAlign & BS_VCENTER)
        {
        case BS_TOP:
            rcDraw.bottom = rcDraw.top + rcCalc.Height();
            break;
        case BS_BOTTOM:
            rcDraw.top = rcDraw.bottom - rcCalc.Height();
            break;
        default:
            rcDraw.top += (rcDraw.Height() - rcCalc.Height()) / 2;
            rcDraw.bottom = rcDraw.top + rcCalc.Height();
            break;
        }
        if (GetExStyle() & WS_EX_RTLREADING)
            nFormat |= DT_RTLREADING;
        if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
            nFormat |= DT_HIDEPREFIX;
        pDC->SetBkMode(TRANSPARENT);
        COLORREF clrText = GetColor(COLOR_BTNTEXT);
        if (nPart != 1)
            clrText = pClass->GetThemeColor(nPart, nState, qvtSkinPropTextColor, clrText);
        pDC->SetTextColor(clrText);
        pClass->DrawThemeText(pDC, nPart, nState, strText, nFormat, rcDraw);
        if (!bPushLike)
        {
            const int nWidth = rcCalc.Width();
            rcFocus = rcDraw;
            if (nFormat & DT_CENTER)
                rcFocus.left = rcDraw.left + (rcDraw.Width() - nWidth) / 2;
            else if (nFormat & DT_RIGHT)
                rcFocus.left = rcDraw.right - nWidth;
            rcFocus.right = rcFocus.left + nWidth;
            rcFocus.InflateRect(cxBorder, cyBorder);
            rcFocus.IntersectRect(rcFocus, rcClient);
        }
    }
    if (::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
    {
        if (bPushLike)
            rcFocus.DeflateRect(cxBorder, cyBorder);
        const COLORREF clrOldText = pDC->SetTextColor(RGB(0, 0, 0));
        const COLORREF clrOldBack = pDC->SetBkColor(RGB(255, 255, 255));
        pDC->DrawFocusRect(rcFocus);
        pDC->SetTextColor(clrOldText);
        pDC->SetBkColor(clrOldBack);
    }
}
