#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

// The up-down control.

IMPLEMENT_DYNCREATE(CQVTSkinObjectSpin, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectSpin, CQVTSkinObjectControl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectSpin::OnMouseLeave)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectSpin::OnPrintClient)
END_MESSAGE_MAP()

CQVTSkinObjectSpin::CQVTSkinObjectSpin()
{
    m_strClassName = u"SPIN";
}

BOOL CQVTSkinObjectSpin::OnEraseBkgnd(CDC* pDC)
{
    return EraseUnlessSkinned(pDC, 1);
}

void CQVTSkinObjectSpin::OnPaint()
{
    PaintSkinned(1, TRUE);
}

LRESULT CQVTSkinObjectSpin::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    return PrintSkinned(wParam, lParam, 1);
}

BOOL CQVTSkinObjectSpin::IsSpinEnabled()
{
    int nLow = 0;
    int nHigh = 0;
    ::SendMessageW(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLow), reinterpret_cast<LPARAM>(&nHigh));
    if (nLow == nHigh || !IsWindowEnabled())
        return FALSE;
    HWND hBuddy = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0));
    return hBuddy == nullptr || ::IsWindowEnabled(hBuddy);
}

int CQVTSkinObjectSpin::HitTest(CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    return QVTSkinSpinHitTest(rc, point, (GetStyle() & UDS_HORZ) != 0);
}

void CQVTSkinObjectSpin::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    HDC hDC = pDC->GetSafeHdc();
    QVTSkinFillSolidRect(hDC, rc, GetColor(COLOR_BTNFACE));
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return;
    const DWORD dwStyle = GetStyle();
    HWND hBuddy = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0));
    if (hBuddy != nullptr && (::GetWindowLongW(hBuddy, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) &&
        (dwStyle & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
    {
        // The arrows join the edit box: its border around them, open toward it.
        QVTSkinFillSolidRect(hDC, rc, GetColor(COLOR_WINDOW));
        CQVTSkinManagerClass* pEdit = GetSchema() != nullptr ? GetSchema()->GetClass(u"EDIT") : nullptr;
        const COLORREF clrBorder =
            pEdit != nullptr ? pEdit->GetThemeColor(0, 0, qvtSkinPropBorderColor, GetColor(COLOR_BTNSHADOW))
                             : GetColor(COLOR_BTNSHADOW);
        QVTSkinFrameRect(hDC, rc, 1, clrBorder);
        if (dwStyle & UDS_ALIGNRIGHT)
        {
            QVTSkinFillSolidRect(hDC, rc.left, rc.top + 1, 1, rc.Height() - 2, GetColor(COLOR_WINDOW));
            rc.DeflateRect(0, 1, 1, 1);
        }
        else
        {
            QVTSkinFillSolidRect(hDC, rc.right - 1, rc.top + 1, 1, rc.Height() - 2, GetColor(COLOR_WINDOW));
            rc.DeflateRect(1, 1, 0, 1);
        }
    }
    const BOOL bEnabled = IsSpinEnabled();
    CRect rcFirst(rc);
    CRect rcSecond(rc);
    if (dwStyle & UDS_HORZ)
    {
        rcFirst.right = rcSecond.left = (rc.left + rc.right) / 2;
        pClass->DrawThemeBackground(pDC, 4, QVTSkinSpinState(1, m_nHot, m_nPressed, bEnabled), rcFirst);
        pClass->DrawThemeBackground(pDC, 3, QVTSkinSpinState(2, m_nHot, m_nPressed, bEnabled), rcSecond);
    }
    else
    {
        rcFirst.bottom = rcSecond.top = (rc.top + rc.bottom) / 2;
        pClass->DrawThemeBackground(pDC, 1, QVTSkinSpinState(2, m_nHot, m_nPressed, bEnabled), rcFirst);
        pClass->DrawThemeBackground(pDC, 2, QVTSkinSpinState(1, m_nHot, m_nPressed, bEnabled), rcSecond);
    }
}

void CQVTSkinObjectSpin::SetHot(int nHot)
{
    if (nHot == m_nHot)
        return;
    m_nHot = nHot;
    InvalidateClient();
    if (nHot != 0)
        RequestLeaveNotice();
}

void CQVTSkinObjectSpin::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    Default();
    m_nPressed = HitTest(point);
    InvalidateClient();
}

void CQVTSkinObjectSpin::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    m_nPressed = 0;
    Default();
    InvalidateClient();
}

void CQVTSkinObjectSpin::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    SetHot(HitTest(point));
    Default();
}

LRESULT CQVTSkinObjectSpin::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    SetHot(0);
    return Default();
}

// The header.

IMPLEMENT_DYNCREATE(CQVTSkinObjectHeader, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectHeader, CQVTSkinObjectControl)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CQVTSkinObjectHeader::OnMouseLeave)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectHeader::OnPrintClient)
END_MESSAGE_MAP()

CQVTSkinObjectHeader::CQVTSkinObjectHeader()
{
    m_strClassName = u"HEADER";
}

void CQVTSkinObjectHeader::OnPaint()
{
    PaintSkinned(1, TRUE);
}

LRESULT CQVTSkinObjectHeader::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    return PrintSkinned(wParam, lParam, 1);
}

void CQVTSkinObjectHeader::OnDraw(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    CRect rc;
    GetClientRect(&rc);
    QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc, GetColor(COLOR_BTNFACE));
    if (pClass == nullptr)
        return;
    BOOL bFilterBar = FALSE;
    if ((GetStyle() & HDS_FILTERBAR) && GetComCtlVersion() >= 0x50050)
    {
        CQVTSkinObjectControl::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
        bFilterBar = TRUE;
    }
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), hFont) : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    const int nCount = static_cast<int>(::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0));
    int nRight = rc.left;
    for (int nOrder = 0; nOrder < nCount; ++nOrder)
    {
        const int nIndex =
            static_cast<int>(::SendMessageW(m_hWnd, HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder), 0));
        CRect rcItem;
        if (!::SendMessageW(m_hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(nIndex),
                            reinterpret_cast<LPARAM>(&rcItem)))
            continue;
        nRight = rcItem.right > nRight ? rcItem.right : nRight;
        if (bFilterBar)
            rcItem.bottom = (rc.top + rc.bottom) / 2;
        CRect rcTest;
        if (!rcTest.IntersectRect(rcItem, rcClip))
            continue;
        const int nState = nIndex == m_nHot ? (m_bPressed ? 3 : 2) : 1;
        pClass->DrawThemeBackground(pDC, 1, nState, rcItem);
        DrawItem(pDC, nIndex, rcItem, nState);
    }
    if (nRight < rc.right)
        pClass->DrawThemeBackground(pDC, 0, 1, CRect(nRight, rc.top, rc.right, rc.bottom));
    if (hOldFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), hOldFont);
}

void CQVTSkinObjectHeader::DrawItem(CDC* pDC, int nIndex, CRect rcItem, int nState)
{
    CString strText;
    HDITEMW item = {};
    if (!QVTSkinGetHeaderItem(m_hWnd, nIndex, &strText, &item))
        return;
    if (item.fmt & HDF_OWNERDRAW)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_HEADER;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
        dis.itemID = static_cast<UINT>(nIndex);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nState == 3 ? ODS_SELECTED : 0;
        dis.hwndItem = m_hWnd;
        dis.hDC = pDC->GetSafeHdc();
        dis.rcItem = rcItem;
        dis.itemData = static_cast<ULONG_PTR>(item.lParam);
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != nullptr &&
            ::SendMessageW(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis)) != 0)
            return;
    }
    if (nState == 3)
        rcItem.OffsetRect(1, 1);
    const int nEdge = ::GetSystemMetrics(SM_CXEDGE);
    CRect rcContent(rcItem);
    rcContent.DeflateRect(nEdge * 3, 0);
    // The sort arrow takes the right of the item.
    if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN))
    {
        CRect rcArrow(rcContent.right - ScaleX(12), rcContent.top, rcContent.right, rcContent.bottom);
        QVTGlyphFont()->DrawGlyph(pDC, static_cast<WCHAR>((item.fmt & HDF_SORTUP) ? 76 : 77), rcArrow,
                                  GetColor(COLOR_BTNSHADOW));
        rcContent.right = rcArrow.left;
    }
    HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, HDM_GETIMAGELIST, 0, 0));
    if ((item.fmt & HDF_IMAGE) && hImages != nullptr && item.iImage >= 0)
    {
        int cx = ScaleX(16);
        int cy = ScaleY(16);
        ::ImageList_GetIconSize(hImages, &cx, &cy);
        int nMargin = static_cast<int>(::SendMessageW(m_hWnd, HDM_GETBITMAPMARGIN, 0, 0));
        if (nMargin <= 0)
            nMargin = ::GetSystemMetrics(SM_CXBORDER) * 3;
        int x = rcContent.left;
        if (item.fmt & HDF_BITMAP_ON_RIGHT)
        {
            x = rcContent.right - cx;
            rcContent.right = x - nMargin;
        }
        else
            rcContent.left += cx + nMargin;
        ::ImageList_Draw(hImages, item.iImage, pDC->GetSafeHdc(), x, rcItem.top + (rcItem.Height() - cy) / 2,
                         ILD_TRANSPARENT);
    }
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    const int nAlign = item.fmt & HDF_JUSTIFYMASK;
    nFormat |= nAlign == HDF_RIGHT ? DT_RIGHT : nAlign == HDF_CENTER ? DT_CENTER : DT_LEFT;
    if (!strText.IsEmpty())
        pDC->DrawText(strText, rcContent, nFormat);
}

int CQVTSkinObjectHeader::HitTest(CPoint point, UINT* pnFlags)
{
    HDHITTESTINFO info = {};
    info.pt = point;
    const int nItem =
        static_cast<int>(::SendMessageW(m_hWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (pnFlags != nullptr)
        *pnFlags = info.flags;
    return (info.flags & HHT_ONHEADER) ? nItem : -1;
}

void CQVTSkinObjectHeader::SetHot(int nHot)
{
    if (nHot == m_nHot)
        return;
    m_nHot = nHot;
    InvalidateClient();
    if (nHot != -1)
        RequestLeaveNotice();
}

void CQVTSkinObjectHeader::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    UINT nFlags = 0;
    HitTest(point, &nFlags);
    if (nFlags & HHT_ONHEADER)
    {
        m_bPressed = TRUE;
        InvalidateClient();
    }
    Default();
}

void CQVTSkinObjectHeader::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    m_bPressed = FALSE;
    InvalidateClient();
    Default();
}

void CQVTSkinObjectHeader::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    SetHot(HitTest(point, nullptr));
    Default();
}

LRESULT CQVTSkinObjectHeader::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    SetHot(-1);
    return Default();
}
