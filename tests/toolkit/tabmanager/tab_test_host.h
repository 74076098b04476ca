// A tab strip in a real window for the tests: a popup window that is also a
// tab manager, laying itself out and painting through its paint manager,
// forwarding mouse and keyboard to the strip, and recording what the strip
// tells it. Without a window it lays out in a rectangle the test gives.
#pragma once

#include <afxwin.h>
#include <windowsx.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

struct TabEvent
{
    std::string kind;  // "select", "swap", "move", "button"
    int a, b, c;
    bool operator==(const TabEvent& o) const { return kind == o.kind && a == o.a && b == o.b && c == o.c; }
};

class CTabTestHost : public CWnd, public CQVTTabManager
{
public:
    // nImageSize > 0: items with an image index show a square of that size.
    explicit CTabTestHost(CQVTTabPaintManager* pPaintManager = nullptr)
        : m_pPaintManager(pPaintManager ? pPaintManager : new CQVTTabPaintManager())
    {
        if (pPaintManager)
            pPaintManager->InternalAddRef();
    }
    ~CTabTestHost() override
    {
        if (m_hWnd)
            DestroyWindow();
        DeleteAllItemsQuietly();
        m_pPaintManager->InternalRelease();
    }

    // A child of one frame window the tests of a program share, so that
    // the active window stays the same from test to test (handing
    // activation to another process takes Wine seconds).
    BOOL CreateStrip(const CRect& rcScreen, DWORD dwExStyle = 0)
    {
        const HWND hFrame = SharedFrame();
        if (!hFrame)
            return FALSE;
        ::SetWindowPos(hFrame, HWND_TOPMOST, rcScreen.left, rcScreen.top, rcScreen.Width(), rcScreen.Height(),
                       SWP_SHOWWINDOW);
        const LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
        if (!CreateEx(dwExStyle, lpszClass, _T("Tabs"), WS_CHILD | WS_VISIBLE, 0, 0, rcScreen.Width(),
                      rcScreen.Height(), hFrame, nullptr))
            return FALSE;
        ::SetForegroundWindow(hFrame);
        ::SetActiveWindow(hFrame);
        ::SetFocus(m_hWnd);
        Reposition();
        UpdateWindow();
        return TRUE;
    }
    static HWND SharedFrame()
    {
        static HWND hFrame = nullptr;
        if (!hFrame || !::IsWindow(hFrame))
            hFrame = ::CreateWindowExW(WS_EX_TOPMOST, _T("STATIC"), _T("Tab tests"),
                                       WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, nullptr,
                                       nullptr, nullptr, nullptr);
        return hFrame;
    }

    // The rectangle laid out in when there is no window.
    void SetLayoutRect(const CRect& rc)
    {
        m_rcLayout = rc;
        Reposition();
    }
    CRect GetLayoutRect() const
    {
        if (m_hWnd)
        {
            CRect rc;
            CWnd::GetClientRect(&rc);
            return rc;
        }
        return m_rcLayout;
    }

    CQVTTabPaintManager* GetPaintManager() const override { return m_pPaintManager; }

    void Reposition() override
    {
        if (m_bHoldLayout)
            return;
        ++m_nRepositions;
        CClientDC dc(m_hWnd ? this : nullptr);
        m_pPaintManager->RepositionTabControl(this, &dc, GetLayoutRect());
        m_arrOffsets.push_back(GetHeaderOffset());
        if (m_hWnd)
            Invalidate(FALSE);
    }

    void RedrawControl(LPCRECT lpRect, BOOL bAnimate) override
    {
        m_arrRedraws.push_back(lpRect ? CRect(lpRect) : CRect(0, 0, 0, 0));
        if (m_hWnd)
            InvalidateRect(lpRect, FALSE);
    }

    BOOL DrawIcon(CDC* pDC, CPoint pt, CQVTTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) const override
    {
        if (!pItem)
            return m_pPaintManager->m_bShowIcons;
        if (pItem->GetImageIndex() < 0)
            return FALSE;
        szIcon = CSize(m_nImageSize, m_nImageSize);
        if (bDraw && pDC)
            pDC->FillSolidRect(pt.x, pt.y, m_nImageSize, m_nImageSize, m_clrImage);
        return TRUE;
    }

    void OnItemClick(CQVTTabManagerItem* pItem) override
    {
        m_arrEvents.push_back({"click", pItem->GetIndex(), 0, 0});
        CQVTTabManager::OnItemClick(pItem);
    }
    void SetSelectedItem(CQVTTabManagerItem* pItem) override
    {
        if (pItem != GetSelectedItem())
            m_arrEvents.push_back({"select", pItem ? pItem->GetIndex() : -1, 0, 0});
        CQVTTabManager::SetSelectedItem(pItem);
    }
    void OnItemsSwapped(CQVTTabManagerItem* pItem, CQVTTabManagerItem* pOther) override
    {
        m_arrEvents.push_back(
            {"swap", static_cast<int>(pItem->GetData()), static_cast<int>(pOther->GetData()), 0});
    }
    void OnItemMoved(CQVTTabManagerItem* pItem, int nOld, int nNew) override
    {
        m_arrEvents.push_back({"move", static_cast<int>(pItem->GetData()), nOld, nNew});
    }
    using CQVTTabManager::OnNavigateButtonClick;
    void OnNavigateButtonClick(UINT nID) override
    {
        m_arrEvents.push_back({"button", static_cast<int>(nID), 0, 0});
        if (m_bDeleteOnButton)
            DeleteAllItems();
    }
    BOOL IsFocused() const override { return m_bFocused; }
    // The window's tooltip question, answered by the strip.
    INT_PTR OnToolHitTest(CPoint pt, TOOLINFO* pTI) const override
    {
        CTabTestHost* pThis = const_cast<CTabTestHost*>(this);
        return pThis->CQVTTabManager::OnToolHitTest(pThis, pt, pTI);
    }

    // Items with data 0, 1, 2... and captions as given.
    void AddItems(const std::vector<CString>& arrCaptions)
    {
        for (const CString& strCaption : arrCaptions)
        {
            CQVTTabManagerItem* pItem = new CQVTTabManagerItem();
            pItem->SetData(GetItemCount());
            AddItem(-1, pItem);
            pItem->SetCaption(strCaption);
        }
    }
    std::vector<int> DataOrder() const
    {
        std::vector<int> arr;
        for (int i = 0; i < GetItemCount(); ++i)
            arr.push_back(static_cast<int>(GetItem(i)->GetData()));
        return arr;
    }
    // Hot and pressed states without a mouse.
    void SetHighlightedForTest(CQVTTabManagerItem* pItem) { m_pHighlighted = pItem; }
    void SetPressedForTest(CQVTTabManagerItem* pItem) { m_pPressed = pItem; }
    // Where a point of the strip lies on the screen.
    CPoint ScreenPoint(CPoint pt) const
    {
        ::ClientToScreen(m_hWnd, &pt);
        return pt;
    }
    // Paints the strip into a DC the way the window does.
    void PaintTo(CDC* pDC, const CRect& rc) { m_pPaintManager->DrawTabControl(this, pDC, rc); }

    CQVTTabPaintManager* m_pPaintManager;
    CRect m_rcLayout = CRect(0, 0, 400, 200);
    int m_nImageSize = 16;
    COLORREF m_clrImage = RGB(0, 128, 0);
    int m_nRepositions = 0;
    BOOL m_bFocused = FALSE;
    BOOL m_bDeleteOnButton = FALSE;
    BOOL m_bHoldLayout = FALSE;  // many items added at once lay out once
    std::vector<TabEvent> m_arrEvents;
    std::vector<int> m_arrOffsets;      // the header offset at every Reposition
    std::function<void()> m_onMessage;  // run for a posted WM_APP
    std::vector<CRect> m_arrRedraws;
    // Called from a message handler, so that a test can see an exception
    // stop at the window procedure.
    int m_nThrowIndexOnPaint = -1;

protected:
    void DeleteAllItemsQuietly()
    {
        // The host's Reposition must not run from the destructor.
        m_bClosing = TRUE;
        CQVTTabManager::DeleteAllItems();
    }

    LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override
    {
        const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        switch (nMessage)
        {
        case WM_PAINT:
            return OnPaintStrip();
        case WM_ERASEBKGND:
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return PerformClick(this, pt), 0;
        case WM_MOUSEMOVE:
            return PerformMouseMove(this, pt), 0;
        case WM_MOUSELEAVE:
            return PerformMouseMove(this, CPoint(-1, -1)), 0;
        case WM_KEYDOWN:
            return PerformKeyDown(this, static_cast<UINT>(wParam)), 0;
        case WM_SIZE:
            return m_bClosing ? 0 : (Reposition(), 0);
        case WM_APP:
            return m_onMessage ? (m_onMessage(), 0) : 0;
        }
        return CWnd::WindowProc(nMessage, wParam, lParam);
    }
    LRESULT OnPaintStrip()
    {
        CPaintDC dc(this);
        if (m_nThrowIndexOnPaint >= 0)
            GetItem(m_nThrowIndexOnPaint);
        CRect rc = GetLayoutRect();
        CQVTBufferDC buffer(dc.GetSafeHdc(), rc);
        m_pPaintManager->DrawTabControl(this, &buffer, rc);
        return 0;
    }

    BOOL m_bClosing = FALSE;
};
