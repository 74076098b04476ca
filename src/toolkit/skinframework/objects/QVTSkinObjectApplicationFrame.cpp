#include "toolkit/skinframework/objects/QVTSkinObjectApplicationFrame.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/objects/QVTSkinPopupMenu.h"

namespace {
// The frame's hot-tracking timer interval over the menu bar.
const UINT kAppFrameHotInterval = 50;

// Keeps the object alive while a menu loop may destroy its window.
class AppFrameHold
{
public:
    explicit AppFrameHold(CQVTSkinObject* pObject) : m_pObject(pObject) { m_pObject->InternalAddRef(); }
    ~AppFrameHold() { m_pObject->InternalRelease(); }
    AppFrameHold(const AppFrameHold&) = delete;
    AppFrameHold& operator=(const AppFrameHold&) = delete;

private:
    CQVTSkinObject* m_pObject;
};
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectApplicationFrame, CQVTSkinObjectFrame)

BEGIN_MESSAGE_MAP(CQVTSkinObjectApplicationFrame, CQVTSkinObjectFrame)
    ON_MESSAGE(WM_NCCALCSIZE, &CQVTSkinObjectApplicationFrame::OnAppNcCalcSize)
    ON_MESSAGE(WM_CONTEXTMENU, &CQVTSkinObjectApplicationFrame::OnContextMenu)
END_MESSAGE_MAP()

CQVTSkinObjectApplicationFrame::CQVTSkinObjectApplicationFrame()
    : m_rcMenuBar(0, 0, 0, 0), m_pMenuBar(std::make_unique<CQVTSkinPopupMenu>(nullptr, nullptr, TRUE))
{
}

CQVTSkinObjectApplicationFrame::~CQVTSkinObjectApplicationFrame() = default;

BOOL CQVTSkinObjectApplicationFrame::IsMenusSkinned()
{
    return m_pManager != nullptr && (m_pManager->GetApplyOptions() & qvtSkinApplyMenus) != 0;
}

BOOL CQVTSkinObjectApplicationFrame::HasMenuBar()
{
    if (m_hWnd == nullptr || (GetStyle() & WS_CHILD))
        return FALSE;
    HMENU hMenu = ::GetMenu(m_hWnd);
    return hMenu != nullptr && ::IsMenu(hMenu);
}

void CQVTSkinObjectApplicationFrame::OnWindowDetached(BOOL bAtDestruction)
{
    m_rcMenuBar.SetRectEmpty();
    m_pMenuBar->m_nSelected = -1;
    CQVTSkinObjectFrame::OnWindowDetached(bAtDestruction);
}

LRESULT CQVTSkinObjectApplicationFrame::OnAppNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = OnNcCalcSize(wParam, lParam);
    LPRECT lpRect =
        wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<LPRECT>(lParam);
    m_rcMenuBar.SetRectEmpty();
    if (lpRect == nullptr || IsFlatScrollBars() || !IsMenusSkinned() || !HasMenuBar())
        return lResult;
    m_pMenuBar->m_hMenu = ::GetMenu(m_hWnd);
    m_pMenuBar->m_hWndOwner = m_pMenuBar->m_hWndBar = m_hWnd;
    const int nWidth = std::max(0, (int)(lpRect->right - lpRect->left));
    CWindowDC dc(nullptr);
    const CPoint ptOrigin(m_rcBorders.left, m_rcBorders.top);
    const int nHeight = m_pMenuBar->LayoutMenuBar(&dc, ptOrigin, nWidth);
    if (nHeight <= 0)
        return lResult;
    m_rcMenuBar.SetRect(ptOrigin.x, ptOrigin.y, ptOrigin.x + nWidth, ptOrigin.y + nHeight);
    lpRect->top += nHeight;
    lpRect->bottom = std::max(lpRect->bottom, lpRect->top);
    return lResult;
}

void CQVTSkinObjectApplicationFrame::DrawFrame(CDC* pDC)
{
    if (pDC != nullptr && m_nLockDrawing == 0 && !m_rcMenuBar.IsRectEmpty() && IsMenusSkinned() &&
        HasMenuBar())
    {
        HWND hWndMdiChild = nullptr;
        if (m_pMDIClient != nullptr && ::IsWindow(m_pMDIClient->m_hWnd))
            hWndMdiChild =
                reinterpret_cast<HWND>(::SendMessageW(m_pMDIClient->m_hWnd, WM_MDIGETACTIVE, 0, 0));
        CQVTBufferDCEx buffer(pDC->GetSafeHdc(), m_rcMenuBar);
        m_pMenuBar->DrawMenuBar(&buffer, m_rcMenuBar, hWndMdiChild);
    }
    CQVTSkinObjectFrame::DrawFrame(pDC);
}

void CQVTSkinObjectApplicationFrame::DrawMenuBarNow()
{
    RedrawFrame();
}

void CQVTSkinObjectApplicationFrame::OnMenuChanged()
{
    if (m_hWnd == nullptr)
        return;
    if (SKINMENUTRACKER::GetThreadTracker() != nullptr && m_pMenuBar->m_pTracker != nullptr)
        return;  // the loop's levels point into the bar
    const BOOL bBar = HasMenuBar();
    m_pMenuBar->m_hMenu = bBar ? ::GetMenu(m_hWnd) : nullptr;
    m_pMenuBar->m_nSelected = -1;
    m_pMenuBar->RebuildItems();
    if (!bBar)
        m_rcMenuBar.SetRectEmpty();
    // The bar's height comes with the next WM_NCCALCSIZE.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       SWP_NOOWNERZORDER);
}

UINT CQVTSkinObjectApplicationFrame::HitTestFrame(CPoint ptScreen)
{
    if (!m_rcMenuBar.IsRectEmpty() && IsMenusSkinned())
    {
        CPoint pt(ptScreen);
        ScreenToFrame(&pt);
        CRect rcBar = m_rcMenuBar;
        rcBar.bottom += 1;
        if (rcBar.PtInRect(pt))
            return HTMENU;
    }
    return CQVTSkinObjectFrame::HitTestFrame(ptScreen);
}

BOOL CQVTSkinObjectApplicationFrame::OnNcMouseMoveHook(CPoint ptScreen)
{
    const BOOL bFrame = CQVTSkinObjectFrame::OnNcMouseMoveHook(ptScreen);
    if (m_rcMenuBar.IsRectEmpty() || !IsMenusSkinned() || m_pMenuBar->m_pTracker != nullptr)
        return bFrame;
    const BOOL bLeft = ptScreen.x == -1 && ptScreen.y == -1;
    int nIndex = bLeft ? -1 : m_pMenuBar->HitTest(ptScreen);
    CQVTSkinPopupMenuItem* pItem = m_pMenuBar->GetItem(nIndex);
    if (pItem != nullptr && !pItem->IsSelectable())
        nIndex = -1;
    if (nIndex != m_pMenuBar->m_nSelected)
    {
        m_pMenuBar->m_nSelected = nIndex;
        DrawMenuBarNow();
    }
    if (nIndex < 0)
        return bFrame;
    s_pfnSetTimer(m_hWnd, qvtSkinFrameHotTimer, kAppFrameHotInterval, &CQVTSkinObjectFrame::OnFrameTimer);
    return TRUE;
}

BOOL CQVTSkinObjectApplicationFrame::OnSysCommandHook(UINT nID, LPARAM lParam)
{
    if (!IsMenusSkinned())
        return CQVTSkinObjectFrame::OnSysCommandHook(nID, lParam);
    const UINT nCommand = nID & 0xFFF0;
    if (nCommand == SC_DEFAULT)
        return TRUE;
    if ((nCommand != SC_MOUSEMENU && nCommand != SC_KEYMENU) || !HasMenuBar() || m_rcMenuBar.IsRectEmpty())
        return CQVTSkinObjectFrame::OnSysCommandHook(nID, lParam);
    // An Alt released while the menus are open comes back as a key command.
    if (SKINMENUTRACKER::GetThreadTracker() != nullptr)
        return TRUE;
    AppFrameHold hold(this);
    m_pMenuBar->m_hMenu = ::GetMenu(m_hWnd);
    m_pMenuBar->m_hWndOwner = m_pMenuBar->m_hWndBar = m_hWnd;
    m_pMenuBar->m_nSelected = -1;
    ::KillTimer(m_hWnd, qvtSkinFrameHotTimer);
    SKINMENUTRACKER tracker;
    tracker.m_pSchema = GetSchema();
    if (nCommand == SC_MOUSEMENU)
        tracker.TrackMenuBar(m_pMenuBar.get(), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    else
        tracker.TrackMenuBarKey(m_pMenuBar.get(), LOWORD(lParam));
    return TRUE;
}

BOOL CQVTSkinObjectApplicationFrame::ShowSystemMenu(CPoint ptScreen, UINT nDefaultItem)
{
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (hMenu == nullptr)
        return FALSE;
    ::SetMenuDefaultItem(hMenu, nDefaultItem, FALSE);
    AppFrameHold hold(this);
    SKINMENUTRACKER tracker;
    tracker.m_pSchema = GetSchema();
    return tracker.TrackPopup(hMenu, QVT_TPM_SYSTEMMENU | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, m_hWnd,
                              nullptr) != 0;
}

LRESULT CQVTSkinObjectApplicationFrame::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != m_hWnd || !IsMenusSkinned() || lParam == -1 ||
        SKINMENUTRACKER::GetThreadTracker() != nullptr)
        return Default();
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const LRESULT nHit = ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, lParam);
    switch (nHit)
    {
    case HTCAPTION:
    case HTSYSMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    {
        UINT nDefault = SC_MAXIMIZE;
        if (nHit == HTSYSMENU)
            nDefault = SC_CLOSE;
        else if (::IsIconic(m_hWnd) || ::IsZoomed(m_hWnd))
            nDefault = SC_RESTORE;
        ShowSystemMenu(pt, nDefault);
        return 0;
    }
    case HTMENU:
        return 0;
    default:
        return Default();
    }
}
