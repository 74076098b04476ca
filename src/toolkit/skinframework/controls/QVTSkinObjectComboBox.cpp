#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/controls/QVTSkinObjectStandardControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
BOOL ComboIsBorderFill(CQVTSkinManagerClass* pClass, int nPart)
{
    return pClass != nullptr && pClass->GetThemeEnumValue(nPart, 0, qvtSkinPropBgType, 0) == 1;
}
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectComboBox, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectComboBox, CQVTSkinObjectControl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectComboBox::OnMouseLeave)
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectComboBox::OnComboCreate)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectComboBox::OnPrintClient)
    ON_MESSAGE(WM_SETFOCUS, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
    ON_MESSAGE(WM_KILLFOCUS, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
    ON_MESSAGE(WM_CAPTURECHANGED, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
    ON_MESSAGE(BM_SETSTYLE, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
    ON_MESSAGE(WM_ENABLE, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
    ON_MESSAGE(WM_UPDATEUISTATE, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
    ON_MESSAGE(WM_LBUTTONUP, &CQVTSkinObjectComboBox::OnInvalidatingMessage)
END_MESSAGE_MAP()

CQVTSkinObjectComboBox::CQVTSkinObjectComboBox()
{
    m_strClassName = u"COMBOBOX";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}

UINT CQVTSkinObjectComboBox::GetClientBrushMessage()
{
    if (!::IsWindowEnabled(m_hWnd))
        return WM_CTLCOLORSTATIC;
    COMBOBOXINFO info = {sizeof(info)};
    if (::GetComboBoxInfo(m_hWnd, &info) && info.hwndItem != nullptr && info.hwndItem != m_hWnd &&
        (::GetWindowLongW(info.hwndItem, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

LRESULT CQVTSkinObjectComboBox::OnComboCreate(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT lResult = Default();
    if (lResult == -1 || !IsSkinEnabled())
        return lResult;
    InvalidateClient();
    // The skin draws the border.
    ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) & ~WS_BORDER);
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    if (dwExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))
    {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE,
                         static_cast<LONG>(dwExStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return lResult;
}

void CQVTSkinObjectComboBox::SetMouseOver(BOOL bMouseOver)
{
    if (bMouseOver == m_bMouseOver)
        return;
    m_bMouseOver = bMouseOver;
    InvalidateClient();
    if (bMouseOver)
        RequestLeaveNotice();
}

void CQVTSkinObjectComboBox::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    Default();
    if (!::IsWindow(m_hWnd))
        return;
    CRect rc;
    GetClientRect(&rc);
    SetMouseOver(rc.PtInRect(point));
}

LRESULT CQVTSkinObjectComboBox::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT lResult = Default();
    SetMouseOver(FALSE);
    return lResult;
}

LRESULT CQVTSkinObjectComboBox::OnInvalidatingMessage(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return DefaultInvalidate();
}

BOOL CQVTSkinObjectComboBox::OnEraseBkgnd(CDC* /*pDC*/)
{
    if (IsPartSkinned(1) && !m_bSystemPainting)
        return TRUE;
    return static_cast<BOOL>(Default());
}

int CQVTSkinObjectComboBox::GetDrawState()
{
    if (!IsWindowEnabled())
        return 4;
    if (::GetKeyState(VK_LBUTTON) < 0 && ::SendMessageW(m_hWnd, CB_GETDROPPEDSTATE, 0, 0))
        return 3;
    if (m_bMouseOver || ::GetCapture() == m_hWnd)
        return 2;
    return 1;
}

void CQVTSkinObjectComboBox::OnPaint()
{
    if (!IsPartSkinned(1) || m_bSystemPainting)
    {
        Default();
        return;
    }
    CQVTSkinObjectPaintDC dc(this);
    DrawControl(&dc);
}

LRESULT CQVTSkinObjectComboBox::OnPrintClient(WPARAM wParam, LPARAM /*lParam*/)
{
    if (wParam == 0 || !IsPartSkinned(1) || m_bSystemPainting)
        return Default();
    DrawControl(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return 0;
}

void CQVTSkinObjectComboBox::DrawControl(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rc;
    GetClientRect(&rc);
    const DWORD dwStyle = GetStyle();
    HBRUSH hClient = GetClientBrush(pDC);
    if ((dwStyle & 3) < 2)
    {
        // A simple combo: only the border around its edit field.
        const int nItem =
            static_cast<int>(::SendMessageW(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        CRect rcEdit(rc.left, rc.top, rc.right, rc.top + nItem + 2 * ::GetSystemMetrics(SM_CYFIXEDFRAME));
        CQVTSkinManagerClass* pEdit = GetSchema() != nullptr ? GetSchema()->GetClass(u"EDIT") : nullptr;
        if (ComboIsBorderFill(pEdit, 0))
            QVTSkinFrameRect(pDC->GetSafeHdc(), rcEdit, 1,
                             pEdit->GetThemeColor(0, 0, qvtSkinPropBorderColor, GetColor(COLOR_BTNSHADOW)));
        else
        {
            pDC->Draw3dRect(rcEdit, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNHIGHLIGHT));
            CRect rcInner(rcEdit);
            rcInner.DeflateRect(1, 1);
            pDC->Draw3dRect(rcInner, GetColor(COLOR_3DDKSHADOW), GetColor(COLOR_BTNFACE));
        }
        rcEdit.DeflateRect(1, 1);
        QVTSkinFrameRectBrush(pDC->GetSafeHdc(), rcEdit, pDpi->ScaleX(1), hClient);
        return;
    }
    const int nState = GetDrawState();
    CQVTBufferDC memDC(pDC->GetSafeHdc(), rc);
    ::FillRect(memDC.GetSafeHdc(), &rc, hClient);
    // The system draws the content into the buffer, our painting off.
    m_bSystemPainting = TRUE;
    CQVTSkinObjectControl::DefWindowProc(WM_PRINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), PRF_CLIENT);
    m_bSystemPainting = FALSE;
    const int cxButton = ::GetSystemMetrics(SM_CXVSCROLL);
    CRect rcButton(rc.right - cxButton, rc.top, rc.right, rc.bottom);
    if (GetExStyle() & WS_EX_LEFTSCROLLBAR)
        rcButton = CRect(rc.left, rc.top, rc.left + cxButton, rc.bottom);
    if (ComboIsBorderFill(pClass, 0))
    {
        QVTSkinFrameRect(memDC.GetSafeHdc(), rc, 1,
                         pClass->GetThemeColor(0, 0, qvtSkinPropBorderColor, GetColor(COLOR_BTNSHADOW)));
        CRect rcInner(rc);
        rcInner.DeflateRect(1, 1);
        QVTSkinFrameRectBrush(memDC.GetSafeHdc(), rcInner, pDpi->ScaleX(2), hClient);
    }
    else
    {
        CRect rcInner(rc);
        rcInner.DeflateRect(pDpi->ScaleX(3), pDpi->ScaleY(3));
        if (GetExStyle() & WS_EX_LEFTSCROLLBAR)
            rcInner.left = rcButton.right;
        else
            rcInner.right = rcButton.left;
        const int nSave = memDC.SaveDC();
        memDC.ExcludeClipRect(rcInner);
        pClass->DrawThemeBackground(&memDC, 0, nState, rc);
        memDC.RestoreDC(nSave);
    }
    rcButton.DeflateRect(0, 1);
    pClass->DrawThemeBackground(&memDC, 1, nState, rcButton);
}

// The date-time picker.

IMPLEMENT_DYNCREATE(CQVTSkinObjectDateTime, CQVTSkinObjectComboBox)

BEGIN_MESSAGE_MAP(CQVTSkinObjectDateTime, CQVTSkinObjectComboBox)
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectDateTime::OnDateCreate)
    ON_MESSAGE(WM_LBUTTONDOWN, &CQVTSkinObjectDateTime::OnDateButtonDown)
END_MESSAGE_MAP()

CQVTSkinObjectDateTime::CQVTSkinObjectDateTime() {}

BOOL CQVTSkinObjectDateTime::IsButtonSkinned()
{
    const DWORD dwVersion = GetComCtlVersion();
    const BOOL bVersion =
        dwVersion >= MAKELONG(10, 6) || (dwVersion >= MAKELONG(52, 5) && dwVersion < 0x60000);
    return bVersion && !(GetExStyle() & WS_EX_CLIENTEDGE);
}

LRESULT CQVTSkinObjectDateTime::OnDateCreate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnCreate(wParam, lParam);
    if (lResult != -1)
        InvalidateClient();
    return lResult;
}

UINT CQVTSkinObjectDateTime::GetClientBrushMessage()
{
    return IsWindowEnabled() ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
}

void CQVTSkinObjectDateTime::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    CQVTSkinObjectComboBox::OnSkinChanged(bPrevState, bNewState);
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CQVTSkinObjectDateTime::RefreshMetrics()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
    {
        const struct
        {
            int nWhich;
            int nColor;
        } kColors[] = {{MCSC_BACKGROUND, COLOR_WINDOW},     {MCSC_MONTHBK, COLOR_WINDOW},
                       {MCSC_TEXT, COLOR_WINDOWTEXT},       {MCSC_TITLEBK, COLOR_ACTIVECAPTION},
                       {MCSC_TITLETEXT, COLOR_CAPTIONTEXT}, {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}};
        for (const auto& entry : kColors)
            ::SendMessageW(m_hWnd, DTM_SETMCCOLOR, static_cast<WPARAM>(entry.nWhich),
                           static_cast<LPARAM>(GetColor(entry.nColor)));
    }
    CQVTSkinObjectComboBox::RefreshMetrics();
}

LRESULT CQVTSkinObjectDateTime::OnDateButtonDown(WPARAM /*wParam*/, LPARAM lParam)
{
    CRect rc;
    GetClientRect(&rc);
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    const CRect rcButton(rc.right - ::GetSystemMetrics(SM_CXVSCROLL), rc.top, rc.right, rc.bottom);
    // Only a button the skin draws: the system's own takes its own clicks.
    if (IsWindowEnabled() && !(GetStyle() & DTS_UPDOWN) && rcButton.PtInRect(point) && IsPartSkinned(1) &&
        IsButtonSkinned())
    {
        ::SetFocus(m_hWnd);
        return CQVTSkinObjectControl::DefWindowProc(WM_SYSKEYDOWN, VK_DOWN, 0);
    }
    return Default();
}

void CQVTSkinObjectDateTime::DrawControl(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rc;
    GetClientRect(&rc);
    const BOOL bEnabled = IsWindowEnabled();
    const COLORREF clrBack = GetColor(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE);
    CQVTBufferDC memDC(pDC->GetSafeHdc(), rc);
    QVTSkinFillSolidRect(memDC.GetSafeHdc(), rc, clrBack);
    m_bSystemPainting = TRUE;
    CQVTSkinObjectControl::DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()),
                                         PRF_CLIENT);
    m_bSystemPainting = FALSE;
    const int cxButton = ::GetSystemMetrics(SM_CXVSCROLL);
    const CRect rcButton(rc.right - cxButton, rc.top, rc.right, rc.bottom);
    const int nState = GetDrawState();
    if (IsButtonSkinned())
    {
        if (ComboIsBorderFill(pClass, 0))
        {
            QVTSkinFrameRect(memDC.GetSafeHdc(), rc, 1,
                             pClass->GetThemeColor(0, 0, qvtSkinPropBorderColor, GetColor(COLOR_BTNSHADOW)));
            CRect rcInner(rc);
            rcInner.DeflateRect(1, 1);
            QVTSkinFrameRect(memDC.GetSafeHdc(), rcInner, 1, clrBack);
        }
        else
        {
            CRect rcInner(rc);
            rcInner.DeflateRect(pDpi->ScaleX(2), pDpi->ScaleY(2));
            const int nSave = memDC.SaveDC();
            memDC.ExcludeClipRect(rcInner);
            pClass->DrawThemeBackground(&memDC, 0, nState, rc);
            memDC.RestoreDC(nSave);
        }
        if (!(GetStyle() & DTS_UPDOWN))
        {
            CRect rcDrop(rcButton);
            rcDrop.DeflateRect(0, 1, 1, 1);
            pClass->DrawThemeBackground(&memDC, 1, nState, rcDrop);
        }
    }
    else
    {
        CRect rcBeside(rc);
        rcBeside.right = rcButton.left - pDpi->ScaleX(3);
        QVTSkinFrameRect(memDC.GetSafeHdc(), rcBeside, 1, clrBack);
    }
    if (GetStyle() & DTS_SHOWNONE)
    {
        CQVTSkinManagerClass* pButton = GetSchema() != nullptr ? GetSchema()->GetClass(u"BUTTON") : nullptr;
        if (pButton != nullptr)
        {
            SIZE size = {13, 13};
            if (!pButton->GetThemePartSize(3, 1, nullptr, qvtSkinSizeTrue, &size) || size.cx <= 0)
                size = SIZE{13, 13};
            const int nSquare = rc.Height() - 2 * pDpi->ScaleY(1);
            const int cx = pDpi->ScaleX(size.cx);
            const int cy = pDpi->ScaleY(size.cy);
            const int x = rc.left + pDpi->ScaleX(1) + (nSquare - cx) / 2;
            const int y = rc.top + pDpi->ScaleY(1) + (nSquare - cy) / 2;
            DATETIMEPICKERINFO info = {sizeof(info)};
            ::SendMessageW(m_hWnd, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info));
            const BOOL bChecked = (info.stateCheck & STATE_SYSTEM_CHECKED) != 0;
            pButton->DrawThemeBackground(&memDC, 3, (bEnabled ? 1 : 4) + (bChecked ? 4 : 0),
                                         CRect(x, y, x + cx, y + cy));
        }
    }
}

void CQVTSkinObjectDateTime::DrawFrame(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if ((GetExStyle() & WS_EX_CLIENTEDGE) && pClass != nullptr && IsSkinEnabled() &&
        !ComboIsBorderFill(pClass, 0))
    {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
        CRect rcInner(rcWindow);
        rcInner.DeflateRect(QVTDpiScaler()->ScaleX(2), QVTDpiScaler()->ScaleY(2));
        const int nState = !IsWindowEnabled() ? 4 : (m_bMouseOver || ::GetCapture() == m_hWnd) ? 2 : 1;
        const int nSave = pDC->SaveDC();
        pDC->ExcludeClipRect(rcInner);
        pClass->DrawThemeBackground(pDC, 0, nState, rcWindow);
        pDC->RestoreDC(nSave);
        return;
    }
    CQVTSkinObjectComboBox::DrawFrame(pDC);
}
