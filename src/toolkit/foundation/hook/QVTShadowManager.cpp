#include "toolkit/foundation/hook/QVTShadowManager.h"

#include <algorithm>
#include <vector>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"

namespace {
// Strip thickness: alpha strips fade over four pixels, solid ones are two.
const int kAlphaThickness = 4;
const int kSolidThickness = 2;

DWORD ShadowPixel(COLORREF clr, int nAlpha, double dFactor)
{
    const DWORD r = static_cast<DWORD>(GetRValue(clr) * dFactor);
    const DWORD g = static_cast<DWORD>(GetGValue(clr) * dFactor);
    const DWORD b = static_cast<DWORD>(GetBValue(clr) * dFactor);
    return (static_cast<DWORD>(nAlpha) << 24) | (r << 16) | (g << 8) | b;
}

void UnhookFromOwner(HWND hWndOwner, CQVTHookManagerHookAble* pShadow)
{
    try
    {
        QVTHookManager()->RemoveHook(hWndOwner, pShadow);
    }
    catch (CException* e)
    {
        // The hook manager is gone at the very end: nothing left to unhook.
        e->Delete();
    }
}
}  // namespace

// One shadow window

BEGIN_MESSAGE_MAP(CQVTShadowManager::CShadowWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQVTShadowManager::CShadowWnd::CShadowWnd(CQVTShadowManager* pManager, HWND hWndOwner, int nKind,
                                          BOOL bControlShadow, int nLevel)
    : m_pManager(pManager), m_hWndOwner(hWndOwner), m_nKind(nKind), m_bControlShadow(bControlShadow),
      m_nLevel(nLevel), m_bRegionSet(FALSE)
{
}

BOOL CQVTShadowManager::CShadowWnd::CreateShadowWindow(const CRect& rcScreen)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    const DWORD dwExStyle = WS_EX_TOOLWINDOW | (IsBlended() ? WS_EX_LAYERED : 0);
    return CreateEx(dwExStyle, lpszClass, nullptr, WS_POPUP, rcScreen.left, rcScreen.top, rcScreen.Width(),
                    rcScreen.Height(), ::GetParent(m_hWndOwner), nullptr);
}

void CQVTShadowManager::CShadowWnd::ExcludeRects(const CArray<CRect, const CRect&>& rects, BOOL bCornerRegion)
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    HRGN hRegion = ::CreateRectRgn(0, 0, rcWindow.Width(), rcWindow.Height());
    BOOL bChanged = FALSE;
    if (bCornerRegion)
    {
        // The corner shadow shows where the owner's region cut the rectangle.
        HRGN hOwner = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(m_hWndOwner, hOwner) != ERROR)
        {
            ::CombineRgn(hRegion, hRegion, hOwner, RGN_DIFF);
            bChanged = TRUE;
        }
        ::DeleteObject(hOwner);
    }
    for (INT_PTR i = 0; i < rects.GetSize(); ++i)
    {
        CRect rcCut;
        if (!rcCut.IntersectRect(rects[i], rcWindow))
            continue;
        rcCut.OffsetRect(-rcWindow.TopLeft());
        HRGN hCut = ::CreateRectRgnIndirect(&rcCut);
        ::CombineRgn(hRegion, hRegion, hCut, RGN_DIFF);
        ::DeleteObject(hCut);
        bChanged = TRUE;
    }
    if (bChanged)
    {
        ::SetWindowRgn(m_hWnd, hRegion, FALSE);
        m_bRegionSet = TRUE;
    }
    else
    {
        ::DeleteObject(hRegion);
    }
}

BOOL CQVTShadowManager::CShadowWnd::IsBlended() const
{
    // The corner shadow lies over its whole owner and only its region keeps
    // it off the owner: Wine drops the region of a layered window that no
    // compositor blends, and stacks it over the owner once it is mapped,
    // which hid a rounded popup behind a black box. It stays a plain window.
    return m_pManager->m_bAlphaShadow && m_nKind != shadowCorner;
}

int CQVTShadowManager::CShadowWnd::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT&)
{
    if (nMessage == WM_SHOWWINDOW)
    {
        ShowWindow(wParam ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    else if (nMessage == WM_DESTROY)
    {
        // Leaves the owner's sink, then the list, and deletes itself.
        UnhookFromOwner(m_hWndOwner, this);
        DestroyWindow();
    }
    return hookContinue;
}

void CQVTShadowManager::CShadowWnd::PostNcDestroy()
{
    UnhookFromOwner(m_hWndOwner, this);
    m_pManager->ForgetShadow(this);
    delete this;
}

void CQVTShadowManager::CShadowWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (IsBlended())
        dc.FillSolidRect(rc, RGB(0, 0, 0));
    else
        ::FillRect(dc.GetSafeHdc(), &rc, ::GetSysColorBrush(COLOR_BTNSHADOW));
}

BOOL CQVTShadowManager::CShadowWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CQVTShadowManager::CShadowWnd::OnNcHitTest(CPoint)
{
    return HTTRANSPARENT;
}

void CQVTShadowManager::CShadowWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (IsBlended() && cx > 0 && cy > 0)
        UpdateLayered(cx, cy);
}

void CQVTShadowManager::CShadowWnd::UpdateLayered(int cx, int cy)
{
    if (!m_pManager->m_pfnUpdateLayeredWindow)
        return;
    LPBYTE pBits = nullptr;
    HBITMAP hBitmap = CQVTImageManager::Create32BitDIBSection(nullptr, cx, cy, &pBits);
    if (!hBitmap)
        return;
    FillShadowBits(reinterpret_cast<DWORD*>(pBits), cx, cy, m_nKind, m_pManager->m_nShadowOptions,
                   m_pManager->m_clrShadow);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    POINT ptSrc = {0, 0};
    SIZE size = {cx, cy};
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    m_pManager->m_pfnUpdateLayeredWindow(m_hWnd, nullptr, nullptr, &size, hDC, &ptSrc, 0, &bf, ULW_ALPHA);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DeleteObject(hBitmap);
}

// Manager

CQVTShadowManager::CQVTShadowManager()
{
    HMODULE hUser = ::GetModuleHandleW(u"USER32");
    if (hUser)
        m_pfnUpdateLayeredWindow =
            reinterpret_cast<PFNUPDATELAYEREDWINDOW>(::GetProcAddress(hUser, "UpdateLayeredWindow"));
    m_bAlphaShadow = m_pfnUpdateLayeredWindow && !CQVTColorManager::IsLowColorDisplay();
}

CQVTShadowManager::~CQVTShadowManager()
{
    std::vector<CShadowWnd*> shadows;
    for (POSITION pos = m_lstShadows.GetHeadPosition(); pos;)
        shadows.push_back(m_lstShadows.GetNext(pos));
    for (CShadowWnd* pShadow : shadows)
        pShadow->DestroyWindow();
    m_lstShadows.RemoveAll();
}

void CQVTShadowManager::ForgetShadow(CShadowWnd* pShadow)
{
    POSITION pos = m_lstShadows.Find(pShadow);
    if (pos)
        m_lstShadows.RemoveAt(pos);
}

void AFX_CDECL CQVTShadowManager::FillShadowBits(DWORD* pBits, int cx, int cy, int nKind, int nOptions,
                                                 COLORREF clrShadow)
{
    // Forced shadows are half as dark.
    const int m = (nOptions & shadowAlways) ? 1 : 2;
    const int u = 3 * m;
    const int v = 15 * m;
    for (int nRow = 0; nRow < cy; ++nRow)
    {
        DWORD* pRow = pBits + static_cast<size_t>(nRow) * cx;  // bottom-up: row 0 is the lowest
        for (int x = 0; x < cx; ++x)
        {
            int a = 0;
            double f = 0;
            if (nKind == shadowCorner)
            {
                a = 60 * m;
                f = 1;
            }
            else if (nKind == shadowBottom)
            {
                const int y = std::min(nRow, 3);  // from the outer, lower edge
                if (x < 4)
                {
                    a = u * (x + 1) * (y + 1);
                    f = (x + 1) * (y + 1) / 20.0;
                }
                else if (x >= cx - 4)
                {
                    const int j = cx - x;
                    a = u * j * (y + 1);
                    f = j * (y + 1) / 20.0;
                }
                else
                {
                    a = v * (y + 1);
                    f = (y + 1) / 4.0;
                }
            }
            else
            {
                const int j = std::min(cx - x, 4);  // 1 at the outer, right column
                const int k = cy - 1 - nRow;        // from the top
                if (k < 4)
                {
                    a = u * j * (k + 1);
                    f = j * (k + 1) / 20.0;
                }
                else
                {
                    a = v * j;
                    f = j / 4.0;
                }
            }
            pRow[x] = ShadowPixel(clrShadow, a, f);
        }
    }
}

void CQVTShadowManager::SetShadow(CWnd* pWnd, const CRect& rcExclude, int nLevel)
{
    if (pWnd)
        SetShadow(pWnd->GetSafeHwnd(), rcExclude, nLevel);
}

void CQVTShadowManager::SetShadow(HWND hWnd, const CRect& rcExclude, int nLevel)
{
    if (!::IsWindow(hWnd))
        return;
    if (!(m_nShadowOptions & shadowAlways))
    {
        BOOL bDropShadow = FALSE;
        ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bDropShadow, 0);
        if (!m_bAlphaShadow || !bDropShadow)
            return;
    }
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    const int t = m_bAlphaShadow ? kAlphaThickness : kSolidThickness;
    CreateShadow(hWnd, CRect(rc.right, rc.top + t, rc.right + t, rc.bottom), shadowRight, FALSE, nLevel,
                 rcExclude);
    CreateShadow(hWnd, CRect(rc.left + t, rc.bottom, rc.right + t, rc.bottom + t), shadowBottom, FALSE,
                 nLevel, rcExclude);
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(hWnd, hRegion) == COMPLEXREGION)
        CreateShadow(hWnd, rc, shadowCorner, FALSE, nLevel, rcExclude);
    ::DeleteObject(hRegion);
}

void CQVTShadowManager::SetControlShadow(const CRect& rcControl, CWnd* pWnd)
{
    if (!pWnd ||
        (m_nShadowOptions & (shadowAlways | shadowExcludeRect)) != (shadowAlways | shadowExcludeRect))
        return;
    const CRect& rc = rcControl;
    const int t = m_bAlphaShadow ? kAlphaThickness : kSolidThickness;
    CreateShadow(pWnd->GetSafeHwnd(), CRect(rc.right, rc.top + t, rc.right + t, rc.bottom), shadowRight, TRUE,
                 0, CRect(0, 0, 0, 0));
    CreateShadow(pWnd->GetSafeHwnd(), CRect(rc.left + t, rc.bottom, rc.right + t, rc.bottom + t),
                 shadowBottom, TRUE, 0, CRect(0, 0, 0, 0));
}

CQVTShadowManager::CShadowWnd* CQVTShadowManager::CreateShadow(HWND hWndOwner, CRect rcShadow, int nKind,
                                                               BOOL bControl, int nLevel,
                                                               const CRect& rcExclude)
{
    // A strip meeting a strip of the other kind reaches over to join it.
    for (POSITION pos = m_lstShadows.GetHeadPosition(); pos;)
    {
        CShadowWnd* pOther = m_lstShadows.GetNext(pos);
        CRect rcOther;
        pOther->GetWindowRect(&rcOther);
        if (nKind == shadowBottom && pOther->GetKind() == shadowRight && rcShadow.left == rcOther.right - 1 &&
            rcShadow.top > rcOther.top && rcShadow.bottom < rcOther.bottom)
            rcShadow.left -= 1 + 2 * rcOther.Width();
        else if (nKind == shadowRight && pOther->GetKind() == shadowBottom &&
                 rcShadow.top == rcOther.bottom - 1 && rcShadow.right > rcOther.left &&
                 rcShadow.right <= rcOther.right)
            rcShadow.top -= 2 * rcOther.Height();
    }

    CShadowWnd* pShadow = new CShadowWnd(this, hWndOwner, nKind, bControl, nLevel);
    if (!pShadow->CreateShadowWindow(rcShadow))
    {
        delete pShadow;
        return nullptr;
    }
    m_lstShadows.AddTail(pShadow);

    CArray<CRect, const CRect&> cuts;
    if ((m_nShadowOptions & shadowExcludeRect) && !rcExclude.IsRectEmpty())
        cuts.Add(rcExclude);
    for (POSITION pos = m_lstShadows.GetHeadPosition(); pos;)
    {
        CShadowWnd* pOther = m_lstShadows.GetNext(pos);
        if (pOther == pShadow || pOther->GetLevel() != nLevel ||
            (nKind == shadowCorner && pOther->GetOwnerWindow() == hWndOwner))
            continue;
        CRect rcOwner;
        ::GetWindowRect(pOther->GetOwnerWindow(), &rcOwner);
        cuts.Add(rcOwner);
    }
    pShadow->ExcludeRects(cuts, nKind == shadowCorner);

    const BOOL bTopmost = (::GetWindowLongPtrW(hWndOwner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    ::SetWindowPos(pShadow->GetSafeHwnd(), bTopmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    QVTHookManager()->SetHook(hWndOwner, pShadow);
    return pShadow;
}

void CQVTShadowManager::RemoveShadowsOf(CWnd* pWnd)
{
    if (pWnd)
        RemoveShadowsOf(pWnd->GetSafeHwnd());
}

void CQVTShadowManager::RemoveShadowsOf(HWND hWnd)
{
    std::vector<CShadowWnd*> shadows;
    for (POSITION pos = m_lstShadows.GetHeadPosition(); pos;)
    {
        CShadowWnd* pShadow = m_lstShadows.GetNext(pos);
        if (pShadow->GetOwnerWindow() == hWnd)
            shadows.push_back(pShadow);
    }
    for (CShadowWnd* pShadow : shadows)
    {
        UnhookFromOwner(hWnd, pShadow);
        pShadow->DestroyWindow();
    }
}

void CQVTShadowManager::OffsetShadows(CWnd* pWnd, int dy)
{
    if (!pWnd)
        return;
    for (POSITION pos = m_lstShadows.GetHeadPosition(); pos;)
    {
        CShadowWnd* pShadow = m_lstShadows.GetNext(pos);
        if (pShadow->GetOwnerWindow() != pWnd->GetSafeHwnd())
            continue;
        CRect rc;
        pShadow->GetWindowRect(&rc);
        ::SetWindowPos(pShadow->GetSafeHwnd(), nullptr, rc.left, rc.top + dy, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}
