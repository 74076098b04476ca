#include "toolkit/controls/resize/QVTResize.h"
#include "toolkit/controls/resize/QVTResizeDialog.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

#include <climits>

CQVTResizeItem::CQVTResizeItem(CWnd* pWnd, const CQVTResizeRect& rcAnchors, const CQVTResizeRect& rcRect,
                               BOOL bAttached)
    : m_bTransparent(FALSE), m_bAttached(bAttached), m_bInitialized(FALSE), m_pWnd(pWnd),
      m_rcAnchors(rcAnchors), m_rcRect(rcRect)
{
}

CQVTResizeItem::~CQVTResizeItem()
{
    if (m_bAttached && m_pWnd)
    {
        m_pWnd->Detach();
        delete m_pWnd;
    }
}

BOOL CQVTResizeItem::MakeTransparent(CQVTResize* pResize)
{
    if (pResize->GetFlags() & CQVTResize::flagNoTransparentGroup)
        return FALSE;
    if (!m_pWnd || !::IsWindow(m_pWnd->m_hWnd))
        return FALSE;
    TCHAR szClass[16] = {};
    ::GetClassName(m_pWnd->m_hWnd, szClass, _countof(szClass));
    if (::lstrcmpi(szClass, _T("Button")) != 0)
        return FALSE;
    // A group box that is a tab stop is meant to be seen as a control.
    if ((m_pWnd->GetStyle() & (WS_TABSTOP | 0x7)) != BS_GROUPBOX)
        return FALSE;
    if (m_pWnd->IsKindOf(RUNTIME_CLASS(CQVTResizeGroupBox)))
        return FALSE;
    m_pWnd->ModifyStyleEx(0, WS_EX_TRANSPARENT);
    ::SetWindowPos(m_pWnd->m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_bTransparent = TRUE;
    return TRUE;
}

BEGIN_MESSAGE_MAP(CQVTSizeIcon, CScrollBar)
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CQVTSizeIcon::CQVTSizeIcon() : m_hCursor(::LoadCursor(nullptr, IDC_SIZENWSE)) {}

BOOL CQVTSizeIcon::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_hCursor)
    {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CScrollBar::OnSetCursor(pWnd, nHitTest, message);
}

void CQVTSizeIcon::OnSetFocus(CWnd*)
{
    // The grip never shows the focus.
}

CQVTResize::CQVTResize(CWnd* pWnd, UINT nFlags)
    : m_szWindow(0, 0), m_szInit(0, 0), m_szMin(0, 0), m_szMax(0, 0), m_nFlagsResize(nFlags), m_pwnd(pWnd)
{
}

CQVTResize::~CQVTResize()
{
    RemoveAllControls();
    if (m_scSizeIcon.m_hWnd && ::IsWindow(m_scSizeIcon.m_hWnd))
        m_scSizeIcon.DestroyWindow();
}

void CQVTResize::RemoveAllControls()
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        delete m_arrItems[i];
    m_arrItems.RemoveAll();
}

void CQVTResize::SetControlAnchors(UINT nID, const CQVTResizePoint& ptTopLeft,
                                   const CQVTResizePoint& ptBottomRight)
{
    SetControlAnchors(nID, nullptr,
                      CQVTResizeRect(ptTopLeft.x, ptTopLeft.y, ptBottomRight.x, ptBottomRight.y));
}

void CQVTResize::SetControlAnchors(UINT nID, HWND hWnd, const CQVTResizeRect& rcAnchors)
{
    if (nID != 0)
    {
        for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        {
            CQVTResizeItem* pItem = m_arrItems[i];
            if (pItem->m_pWnd && ::IsWindow(pItem->m_pWnd->m_hWnd) &&
                (UINT)::GetDlgCtrlID(pItem->m_pWnd->m_hWnd) == nID)
            {
                pItem->m_rcAnchors += rcAnchors;
                return;
            }
        }
    }
    if (!hWnd && m_pwnd && ::IsWindow(m_pwnd->m_hWnd))
    {
        HWND hItem = ::GetDlgItem(m_pwnd->m_hWnd, nID);
        if (hItem && ::IsWindow(hItem))
            hWnd = hItem;
    }

    CWnd* pWnd = nullptr;
    BOOL bAttached = FALSE;
    CQVTResizeRect rcRect;
    if (hWnd)
    {
        pWnd = CWnd::FromHandlePermanent(hWnd);
        if (!pWnd)
        {
            pWnd = new CWnd;
            pWnd->Attach(hWnd);
            bAttached = TRUE;
        }
        CRect rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        if (m_pwnd)
            ::MapWindowPoints(nullptr, m_pwnd->GetSafeHwnd(), reinterpret_cast<LPPOINT>(&rcWindow), 2);
        rcRect = CQVTResizeRect(rcWindow);
    }
    // An id that names no child still makes an item; every pass skips it.
    CQVTResizeItem* pItem = new CQVTResizeItem(pWnd, rcAnchors, rcRect, bAttached);
    pItem->MakeTransparent(this);
    m_arrItems.Add(pItem);
}

void CQVTResize::Init()
{
    if (!m_pwnd || !::IsWindow(m_pwnd->m_hWnd))
        return;
    RemoveAllControls();

    CRect rcClient = CQVTDrawHelpers::ClientRectFromWnd(m_pwnd);
    m_szInit = m_szWindow = rcClient.Size();
    if (!(m_nFlagsResize & flagNoMinSize))
        m_szMin = m_szInit;
    if (!(m_nFlagsResize & flagNoClipChildren))
        m_pwnd->ModifyStyle(0, WS_CLIPCHILDREN);

    if (m_nFlagsResize & flagNoSizeIcon)
        return;
    if (!m_scSizeIcon.m_hWnd || !::IsWindow(m_scSizeIcon.m_hWnd))
    {
        CRect rcIcon(rcClient);
        rcIcon.OffsetRect(-1, -1);
        rcIcon.left = rcIcon.right - ::GetSystemMetrics(SM_CXVSCROLL);
        rcIcon.top = rcIcon.bottom - ::GetSystemMetrics(SM_CYHSCROLL);
        m_scSizeIcon.Create(WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, rcIcon, m_pwnd, sizeIconID);
    }
    if (m_scSizeIcon.m_hWnd)
    {
        ::SetWindowPos(m_scSizeIcon.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
        SetControlAnchors(sizeIconID, m_scSizeIcon.m_hWnd, CQVTResizeRect(1, 1, 1, 1));
    }
}

void CQVTResize::AdjustResizeRect(SIZE*) {}

void CQVTResize::Size()
{
    if (m_arrItems.GetSize() == 0)
        return;
    CSize szClient = CQVTDrawHelpers::ClientRectFromWnd(m_pwnd).Size();
    // A minimised window keeps its layout; restoring lays out from the last
    // real size.
    if (szClient.cx == 0 || szClient.cy == 0)
        return;
    AdjustResizeRect(&szClient);
    int dx = szClient.cx - m_szWindow.cx;
    int dy = szClient.cy - m_szWindow.cy;

    INT_PTR nCount = m_arrItems.GetSize();
    HDWP hdwp = ::BeginDeferWindowPos(nCount > INT_MAX ? INT_MAX : (int)nCount);
    BOOL bBatch = hdwp != nullptr;
    for (INT_PTR i = 0; i < nCount; ++i)
        Defer(hdwp, m_arrItems[i], dx, dy);
    EndBatch(hdwp, bBatch);

    InvalidateTransparentItems();
    m_szWindow = szClient;
}

void CQVTResize::EndBatch(HDWP hdwp, BOOL bBatch)
{
    if (hdwp)
    {
        ::EndDeferWindowPos(hdwp);
        return;
    }
    // A failed batch call dropped the positions gathered before it, while
    // their items already hold the new rects: put each window where its
    // item says it is.
    if (!bBatch)
        return;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
    {
        CQVTResizeItem* pItem = m_arrItems[i];
        if (!pItem->m_pWnd || !::IsWindow(pItem->m_pWnd->m_hWnd))
            continue;
        const CQVTResizeRect& rc = pItem->m_rcRect;
        CRect rcTarget((int)rc.left, (int)rc.top, (int)rc.left + (int)(rc.right - rc.left),
                       (int)rc.top + (int)(rc.bottom - rc.top));
        CRect rcCurrent;
        ::GetWindowRect(pItem->m_pWnd->m_hWnd, &rcCurrent);
        if (m_pwnd)
            ::MapWindowPoints(nullptr, m_pwnd->GetSafeHwnd(), reinterpret_cast<LPPOINT>(&rcCurrent), 2);
        if (rcCurrent != rcTarget)
            ::SetWindowPos(pItem->m_pWnd->m_hWnd, nullptr, rcTarget.left, rcTarget.top, rcTarget.Width(),
                           rcTarget.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

BOOL CQVTResize::Defer(HDWP& hdwp, CQVTResizeItem* pItem, int dx, int dy)
{
    if (!pItem->m_pWnd || !::IsWindow(pItem->m_pWnd->m_hWnd))
        return TRUE;
    HWND hWnd = pItem->m_pWnd->m_hWnd;

    if (!pItem->m_bInitialized)
    {
        // Registered after the dialog grew: its whole share at once.
        CSize szClient = CQVTDrawHelpers::ClientRectFromWnd(m_pwnd).Size();
        AdjustResizeRect(&szClient);
        dx = szClient.cx - m_szInit.cx;
        dy = szClient.cy - m_szInit.cy;
        pItem->m_bInitialized = TRUE;
    }

    const CQVTResizeRect& rcAnchors = pItem->m_rcAnchors;
    CQVTResizeRect rcNew(pItem->m_rcRect.left + rcAnchors.left * dx, pItem->m_rcRect.top + rcAnchors.top * dy,
                         pItem->m_rcRect.right + rcAnchors.right * dx,
                         pItem->m_rcRect.bottom + rcAnchors.bottom * dy);
    if (rcNew == pItem->m_rcRect)
        return TRUE;

    int x = (int)rcNew.left;
    int y = (int)rcNew.top;
    int cx = (int)(rcNew.right - rcNew.left);
    int cy = (int)(rcNew.bottom - rcNew.top);

    CRect rcCurrent;
    ::GetWindowRect(hWnd, &rcCurrent);
    if (m_pwnd)
        ::MapWindowPoints(nullptr, m_pwnd->GetSafeHwnd(), reinterpret_cast<LPPOINT>(&rcCurrent), 2);
    BOOL bMoved = x != rcCurrent.left || y != rcCurrent.top;
    BOOL bSized = (int)rcNew.right - x != rcCurrent.Width() || (int)rcNew.bottom - y != rcCurrent.Height();

    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (!bMoved)
        nFlags |= SWP_NOMOVE;
    nFlags |= bSized ? SWP_NOCOPYBITS : SWP_NOSIZE;

    if (hdwp)
    {
        hdwp = ::DeferWindowPos(hdwp, hWnd, nullptr, x, y, cx, cy, nFlags);
        if (hdwp)
        {
            pItem->m_rcRect = rcNew;
            return TRUE;
        }
    }
    // Without a batch the item is placed at once, so that no item stays
    // behind for good when a batch call failed.
    if (!::SetWindowPos(hWnd, nullptr, x, y, cx, cy, nFlags))
        return FALSE;
    pItem->m_rcRect = rcNew;
    return TRUE;
}

void CQVTResize::InvalidateTransparentItems()
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
    {
        CQVTResizeItem* pItem = m_arrItems[i];
        if (pItem->m_bTransparent && pItem->m_pWnd && ::IsWindow(pItem->m_pWnd->m_hWnd))
            ::InvalidateRect(pItem->m_pWnd->m_hWnd, nullptr, TRUE);
    }
}

void CQVTResize::MoveControlsToSize(SIZE szOffset)
{
    INT_PTR nCount = m_arrItems.GetSize();
    HDWP hdwp = ::BeginDeferWindowPos(nCount > INT_MAX ? INT_MAX : (int)nCount);
    BOOL bBatch = hdwp != nullptr;
    for (INT_PTR i = 0; i < nCount; ++i)
    {
        CQVTResizeItem* pItem = m_arrItems[i];
        CQVTResizeRect rcSaved = pItem->m_rcAnchors;
        pItem->m_rcAnchors =
            CQVTResizeRect((float)szOffset.cx, (float)szOffset.cy, (float)szOffset.cx, (float)szOffset.cy);
        pItem->m_bInitialized = TRUE;
        Defer(hdwp, pItem, 1, 1);
        pItem->m_rcAnchors = rcSaved;
    }
    EndBatch(hdwp, bBatch);
    InvalidateTransparentItems();
}

BOOL CQVTResize::SavePlacement(LPCTSTR pszSection)
{
    if (!m_pwnd || !::IsWindow(m_pwnd->m_hWnd))
        return FALSE;
    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(m_pwnd->m_hWnd, &wp))
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return FALSE;
    return pApp->WriteProfileBinary(pszSection, _T("WindowPlacement"), reinterpret_cast<LPBYTE>(&wp),
                                    sizeof(wp));
}

void CQVTResize::GetMinMaxInfo(MINMAXINFO* pMMI)
{
    CRect rcClient = CQVTDrawHelpers::ClientRectFromWnd(m_pwnd);
    if (rcClient.IsRectEmpty())
        return;
    CRect rcWindow = CQVTDrawHelpers::WindowRectFromWnd(m_pwnd);
    int ncx = rcWindow.Width() - rcClient.Width();
    int ncy = rcWindow.Height() - rcClient.Height();

    if (m_szWindow != CSize(0, 0))
    {
        if (m_nFlagsResize & flagHorzFixed)
            pMMI->ptMaxSize.x = pMMI->ptMaxTrackSize.x = m_szWindow.cx + ncx;
        if (m_nFlagsResize & flagVertFixed)
            pMMI->ptMaxSize.y = pMMI->ptMaxTrackSize.y = m_szWindow.cy + ncy;
    }
    if (m_szMin.cx != 0)
        pMMI->ptMinTrackSize.x = m_szMin.cx + ncx;
    if (m_szMin.cy != 0)
        pMMI->ptMinTrackSize.y = m_szMin.cy + ncy;
    if (m_szMax.cx != 0)
        pMMI->ptMaxTrackSize.x = m_szMax.cx + ncx;
    if (m_szMax.cy != 0)
        pMMI->ptMaxTrackSize.y = m_szMax.cy + ncy;
}
