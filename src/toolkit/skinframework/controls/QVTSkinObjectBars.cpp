#include <algorithm>
#include <vector>

#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"

// The status bar: drawn from the skin's status parts (Wine's own drawing
// goes through a theme handle the skin does not answer), its metrics
// answered by the intercepted functions.

namespace {

// The status parts of the skin's "STATUS" class.
enum
{
    kStatusBackground = 0,
    kStatusPane = 1,
    kStatusGripperPane = 2,
    kStatusGripper = 3
};

// No more parts than the control itself keeps.
const int kStatusMaxParts = 256;

}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectStatusBar, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectStatusBar, CQVTSkinObjectControl)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectStatusBar::OnPrintClient)
END_MESSAGE_MAP()

CQVTSkinObjectStatusBar::CQVTSkinObjectStatusBar()
{
    m_strClassName = u"STATUS";
}

int CQVTSkinObjectStatusBar::OnCreate(LPCREATESTRUCT /*lpcs*/)
{
    const int nResult = static_cast<int>(Default());
    if (nResult != -1)
        ::SendMessageW(m_hWnd, WM_SETTINGCHANGE, 0, 0);
    return nResult;
}

void CQVTSkinObjectStatusBar::RefreshMetrics()
{
    CQVTSkinObjectControl::RefreshMetrics();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::PostMessageW(m_hWnd, WM_SETTINGCHANGE, 0, 0);
}

BOOL CQVTSkinObjectStatusBar::OnEraseBkgnd(CDC* pDC)
{
    return EraseUnlessSkinned(pDC, kStatusBackground);
}

void CQVTSkinObjectStatusBar::OnPaint()
{
    PaintSkinned(kStatusBackground, TRUE);
}

LRESULT CQVTSkinObjectStatusBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    return PrintSkinned(wParam, lParam, kStatusBackground);
}

void CQVTSkinObjectStatusBar::OnDraw(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    pClass->DrawThemeBackground(pDC, kStatusBackground, 0, rcClient);
    // No gripper while the parent is maximized: there is nothing to size.
    const BOOL bGrip = (GetStyle() & SBARS_SIZEGRIP) != 0 &&
                       !(::GetWindowLongW(::GetParent(m_hWnd), GWL_STYLE) & WS_MAXIMIZE);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), hFont) : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetColor(COLOR_BTNTEXT));
    if (::SendMessageW(m_hWnd, SB_ISSIMPLE, 0, 0))
        DrawStatusPart(pDC, pClass, SB_SIMPLEID, rcClient, bGrip);
    else
    {
        const int nParts =
            std::min(static_cast<int>(::SendMessageW(m_hWnd, SB_GETPARTS, 0, 0)), kStatusMaxParts);
        for (int i = 0; i < nParts; ++i)
        {
            CRect rcPart;
            if (::SendMessageW(m_hWnd, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rcPart)))
                DrawStatusPart(pDC, pClass, i, rcPart, bGrip && i == nParts - 1);
        }
    }
    if (bGrip)
    {
        SIZE sz = {ScaleX(16), ScaleY(16)};
        pClass->GetThemePartSize(kStatusGripper, 0, nullptr, qvtSkinSizeTrue, &sz);
        pClass->DrawThemeBackground(
            pDC, kStatusGripper, 0,
            CRect(rcClient.right - sz.cx, rcClient.bottom - sz.cy, rcClient.right, rcClient.bottom));
    }
    if (hOldFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), hOldFont);
}

void CQVTSkinObjectStatusBar::DrawStatusPart(CDC* pDC, CQVTSkinManagerClass* pClass, int nPart,
                                             const CRect& rcPart, BOOL bGripperPane)
{
    const WPARAM wPart = nPart == SB_SIMPLEID ? 0 : static_cast<WPARAM>(nPart);
    const DWORD dwLength = static_cast<DWORD>(::SendMessageW(m_hWnd, SB_GETTEXTLENGTHW, wPart, 0));
    const UINT nType = HIWORD(dwLength);
    if (!(nType & SBT_NOBORDERS))
        pClass->DrawThemeBackground(pDC, bGripperPane ? kStatusGripperPane : kStatusPane, 0, rcPart);
    if (nType & SBT_OWNERDRAW)
    {
        // The owner draws the part; what the part holds is its data.
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_STATIC;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
        dis.itemID = static_cast<UINT>(wPart);
        dis.hwndItem = m_hWnd;
        dis.hDC = pDC->GetSafeHdc();
        dis.rcItem = rcPart;
        dis.itemData = static_cast<ULONG_PTR>(::SendMessageW(m_hWnd, SB_GETTEXTW, wPart, 0));
        ::SendMessageW(::GetParent(m_hWnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    CRect rcText(rcPart);
    rcText.DeflateRect(ScaleX(3), 0);
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(m_hWnd, SB_GETICON, wPart, 0)))
    {
        const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
        ::DrawIconEx(pDC->GetSafeHdc(), rcText.left, rcText.top + (rcText.Height() - cy) / 2, hIcon, cx, cy,
                     0, nullptr, DI_NORMAL);
        rcText.left += cx + ScaleX(2);
    }
    const int nLength = LOWORD(dwLength);
    if (nLength == 0)
        return;
    std::vector<WCHAR> text(static_cast<size_t>(nLength) + 1, 0);
    ::SendMessageW(m_hWnd, SB_GETTEXTW, wPart, reinterpret_cast<LPARAM>(text.data()));
    // Tabs split the text into its left, centred and right pieces.
    const CString strText(text.data());
    int nStart = 0;
    for (UINT nFormat :
         {static_cast<UINT>(DT_LEFT), static_cast<UINT>(DT_CENTER), static_cast<UINT>(DT_RIGHT)})
    {
        const int nTab = nFormat == DT_RIGHT ? -1 : strText.Find(u'\t', nStart);
        const CString strPiece = nTab < 0 ? strText.Mid(nStart) : strText.Mid(nStart, nTab - nStart);
        if (!strPiece.IsEmpty())
            pDC->DrawText(strPiece, rcText, nFormat | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (nTab < 0)
            break;
        nStart = nTab + 1;
    }
}

// The rebar.

IMPLEMENT_DYNCREATE(CQVTSkinObjectReBar, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectReBar, CQVTSkinObjectControl)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectReBar::OnPrintClient)
END_MESSAGE_MAP()

CQVTSkinObjectReBar::CQVTSkinObjectReBar()
{
    m_strClassName = u"REBAR";
}

int CQVTSkinObjectReBar::OnCreate(LPCREATESTRUCT /*lpcs*/)
{
    return Default() == -1 ? -1 : 0;
}

BOOL CQVTSkinObjectReBar::OnEraseBkgnd(CDC* pDC)
{
    return EraseUnlessSkinned(pDC, 6);
}

void CQVTSkinObjectReBar::OnPaint()
{
    PaintSkinned(6, FALSE);
}

LRESULT CQVTSkinObjectReBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    return PrintSkinned(wParam, lParam, 6);
}

void CQVTSkinObjectReBar::OnDraw(CDC* pTargetDC)
{
    CRect rc;
    GetClientRect(&rc);
    CQVTBufferDC dcBuffer(pTargetDC->GetSafeHdc(), rc);
    CDC* pDC = &dcBuffer;
    CQVTSkinManagerClass* pClass = GetSkinClass();
    if (pClass == nullptr)
        return;
    pClass->DrawThemeBackground(pDC, 6, 1, rc);
    if (GetStyle() & WS_POPUP)
        return;
    const int nCount = static_cast<int>(::SendMessageW(m_hWnd, RB_GETBANDCOUNT, 0, 0));
    REBARINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBIM_IMAGELIST;
    ::SendMessageW(m_hWnd, RB_GETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), hFont) : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetColor(COLOR_WINDOWTEXT));
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ::ScreenToClient(m_hWnd, &ptCursor);
    const BOOL bBorders = (GetStyle() & RBS_BANDBORDERS) != 0;
    int nLastTop = -1;
    for (int i = 0; i < nCount; ++i)
    {
        CString strText;
        REBARBANDINFOW band = {};
        CRect rcBand;
        if (!QVTSkinGetReBarBand(m_hWnd, i, &strText, &band) ||
            !::SendMessageW(m_hWnd, RB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rcBand)))
            continue;
        if (band.fStyle & RBBS_HIDDEN)
            continue;
        if (band.hbmBack != nullptr)
        {
            CBrush brush;
            CBitmap* pBitmap = CBitmap::FromHandle(band.hbmBack);
            if (brush.CreatePatternBrush(pBitmap))
                pDC->FillRect(rcBand, &brush);
        }
        int x = rcBand.left;
        if (!(band.fStyle & RBBS_NOGRIPPER) && ((band.fStyle & RBBS_GRIPPERALWAYS) || nCount > 1))
        {
            pClass->DrawThemeBackground(pDC, 1, 1,
                                        CRect(x + 2, rcBand.top + 2, x + 2 + 6, rcBand.bottom - 2));
            x += 9;
        }
        if (info.himl != nullptr && band.iImage >= 0)
        {
            int cx = 0;
            int cy = 0;
            ::ImageList_GetIconSize(info.himl, &cx, &cy);
            ::ImageList_Draw(info.himl, band.iImage, pDC->GetSafeHdc(), x,
                             rcBand.top + (rcBand.Height() - cy) / 2, ILD_TRANSPARENT);
            x += cx + 2;
        }
        if (!(band.fStyle & RBBS_HIDETITLE) && !strText.IsEmpty())
        {
            CRect rcText(x, rcBand.top, rcBand.right, rcBand.bottom);
            if (band.cxHeader > 0)
                rcText.right = rcBand.left + static_cast<int>(band.cxHeader);
            pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
        if ((band.fStyle & RBBS_USECHEVRON) && static_cast<int>(band.cxIdeal) > rcBand.Width())
        {
            CRect rcChevron(rcBand.right - ScaleX(16), rcBand.top, rcBand.right, rcBand.bottom);
            const BOOL bOver = rcChevron.PtInRect(ptCursor);
            const int nState = bOver ? ((::GetKeyState(VK_LBUTTON) < 0) ? 3 : 2) : 1;
            pClass->DrawThemeBackground(pDC, 4, nState, rcChevron);
        }
        if (bBorders)
        {
            const COLORREF clrLight = GetColor(COLOR_BTNHIGHLIGHT);
            const COLORREF clrShadow = GetColor(COLOR_BTNSHADOW);
            HDC hDC = pDC->GetSafeHdc();
            if (nCount > 1 && rcBand.top == nLastTop)
            {
                QVTSkinFillSolidRect(hDC, rcBand.left - 2, rcBand.top, 1, rcBand.Height(), clrShadow);
                QVTSkinFillSolidRect(hDC, rcBand.left - 1, rcBand.top, 1, rcBand.Height(), clrLight);
            }
            QVTSkinFillSolidRect(hDC, rc.left, rcBand.bottom, rc.Width(), 1, clrShadow);
            QVTSkinFillSolidRect(hDC, rc.left, rcBand.bottom + 1, rc.Width(), 1, clrLight);
        }
        nLastTop = rcBand.top;
    }
    if (hOldFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), hOldFont);
}

// The MDI client.

IMPLEMENT_DYNCREATE(CQVTSkinObjectMDIClient, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectMDIClient, CQVTSkinObjectControl)
    ON_MESSAGE(WM_HSCROLL, &CQVTSkinObjectMDIClient::OnClientScroll)
    ON_MESSAGE(WM_VSCROLL, &CQVTSkinObjectMDIClient::OnClientScroll)
    ON_MESSAGE(0x3F, &CQVTSkinObjectMDIClient::OnClientScrollBoth)
    ON_MESSAGE(WM_NCACTIVATE, &CQVTSkinObjectMDIClient::OnClientNcActivate)
    ON_MESSAGE(WM_SIZE, &CQVTSkinObjectMDIClient::OnClientSize)
    ON_MESSAGE(WM_MDITILE, &CQVTSkinObjectMDIClient::OnArrange)
    ON_MESSAGE(WM_MDICASCADE, &CQVTSkinObjectMDIClient::OnArrange)
    ON_MESSAGE(WM_MDIICONARRANGE, &CQVTSkinObjectMDIClient::OnArrange)
END_MESSAGE_MAP()

CQVTSkinObjectMDIClient::CQVTSkinObjectMDIClient()
{
    m_bAlwaysSubclass = TRUE;
}

void CQVTSkinObjectMDIClient::OnWindowAttached(LPCREATESTRUCT lpcs, BOOL bAtCreation)
{
    HWND hParent = lpcs != nullptr ? lpcs->hwndParent : ::GetParent(m_hWnd);
    CQVTSkinObject* pParent =
        m_pManager != nullptr && hParent != nullptr ? m_pManager->Lookup(hParent) : nullptr;
    if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)) &&
        m_pParentFrame == nullptr)
    {
        m_pParentFrame = static_cast<CQVTSkinObjectFrame*>(pParent);
        m_pParentFrame->InternalAddRef();
        m_pParentFrame->m_pMDIClient = this;
    }
    CQVTSkinObjectControl::OnWindowAttached(lpcs, bAtCreation);
}

void CQVTSkinObjectMDIClient::OnWindowDetached(BOOL bAtDestruction)
{
    if (m_pParentFrame != nullptr)
    {
        if (m_pParentFrame->m_pMDIClient == this)
            m_pParentFrame->m_pMDIClient = nullptr;
        m_pParentFrame->InternalRelease();
        m_pParentFrame = nullptr;
    }
    CQVTSkinObjectControl::OnWindowDetached(bAtDestruction);
}

BOOL CQVTSkinObjectMDIClient::IsHandledAtDefaultProc(UINT message)
{
    return message == WM_SKINFRAMEWORK_QUERYSTATE;
}

LRESULT CQVTSkinObjectMDIClient::OnClientScroll(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const UINT message = GetCurrentMessage()->message;
    const LRESULT lResult = Default();
    RedrawScrollBar(message == WM_HSCROLL ? SB_HORZ : SB_VERT);
    return lResult;
}

LRESULT CQVTSkinObjectMDIClient::OnClientScrollBoth(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const LRESULT lResult = Default();
    RedrawScrollBar(SB_HORZ);
    RedrawScrollBar(SB_VERT);
    return lResult;
}

LRESULT CQVTSkinObjectMDIClient::OnClientNcActivate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnNcActivate(wParam, lParam);
    RedrawScrollBar(SB_HORZ);
    RedrawScrollBar(SB_VERT);
    return lResult;
}

LRESULT CQVTSkinObjectMDIClient::OnClientSize(WPARAM /*wParam*/, LPARAM lParam)
{
    HWND hActive = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0));
    if (m_pManager != nullptr && (m_pManager->GetApplyOptions() & qvtSkinApplyFrames) && hActive != nullptr &&
        (::GetWindowLongW(hActive, GWL_STYLE) & WS_MAXIMIZE))
    {
        CQVTSkinObject* pChild = m_pManager->Lookup(hActive);
        if (pChild != nullptr && pChild->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)) &&
            static_cast<CQVTSkinObjectFrame*>(pChild)->IsFramesSkinned())
        {
            // The child's skinned borders lie outside the client.
            const CRect rcBorders = static_cast<CQVTSkinObjectFrame*>(pChild)->GetBorders();
            ::MoveWindow(hActive, -rcBorders.left, -rcBorders.top,
                         LOWORD(lParam) + rcBorders.left + rcBorders.right,
                         HIWORD(lParam) + rcBorders.top + rcBorders.bottom, TRUE);
            return 0;
        }
    }
    return Default();
}

LRESULT CQVTSkinObjectMDIClient::OnArrange(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // An arrangement asked from inside one runs as the system's.
    if (m_bArranging)
        return Default();
    m_bArranging = TRUE;
    std::vector<HWND> children;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    for (HWND hChild : children)
    {
        CQVTSkinObject* pChild = m_pManager != nullptr ? m_pManager->Lookup(hChild) : nullptr;
        if (pChild == nullptr || !pChild->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
            continue;
        // The frame's size follows the skin's before the system places it.
        ::SetWindowPos(hChild, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (::GetWindowLongW(hChild, GWL_STYLE) & WS_DLGFRAME)
            ::SetTimer(hChild, qvtSkinFrameStyleTimer, 1000, &CQVTSkinObjectFrame::OnFrameTimer);
    }
    const LRESULT lResult = Default();
    for (HWND hChild : children)
    {
        CQVTSkinObject* pChild =
            m_pManager != nullptr && ::IsWindow(hChild) ? m_pManager->Lookup(hChild) : nullptr;
        if (pChild != nullptr && pChild->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
            static_cast<CQVTSkinObjectFrame*>(pChild)->RedrawFrame();
    }
    m_bArranging = FALSE;
    return lResult;
}
