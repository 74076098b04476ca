// The window-less logic of one tab strip: its items, which of them is
// selected, hot and pressed, hit testing, the capture loops of a click and
// of drag reordering, keyboard moves, tooltips, scrolling and the strip's
// navigate buttons. Measuring and drawing belong to the tab paint manager;
// a host class supplies the window, the paint manager and the repainting.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "toolkit/tabmanager/manager/QVTTabManagerAtom.h"
#include "toolkit/tabmanager/manager/QVTTabManagerItem.h"
#include "toolkit/tabmanager/manager/QVTTabManagerNavigateButtons.h"

class CQVTTabPaintManager;
class CQVTTabPaintManagerTheme;
class CQVTMarkupContext;

// The automatic tab colours: 0x1000000 + n stands for entry n of a fixed
// table of eight.
enum
{
    qvtTabAutomaticColorFirst = 0x1000000,
    qvtTabAutomaticColorCount = 8,
};
inline BOOL IsTabAutomaticColor(COLORREF clr)
{
    return clr >= qvtTabAutomaticColorFirst && clr < qvtTabAutomaticColorFirst + qvtTabAutomaticColorCount;
}

enum QVTTabPosition
{
    qvtTabPositionTop = 0,
    qvtTabPositionLeft = 1,
    qvtTabPositionBottom = 2,
    qvtTabPositionRight = 3,
};

// Top and bottom strips run horizontally.
inline BOOL QVTIsHorizontalTabPosition(int nPosition)
{
    return nPosition == qvtTabPositionTop || nPosition == qvtTabPositionBottom;
}

enum QVTTabLayout
{
    qvtTabLayoutAutoSize = 0,
    qvtTabLayoutSizeToFit = 1,
    qvtTabLayoutFixed = 2,
    qvtTabLayoutCompressed = 3,
    qvtTabLayoutMultiRow = 4,
    qvtTabLayoutRotated = 5,
};

// The strings of the navigate buttons' tooltips.
enum
{
    QVT_IDS_TAB_SCROLLLEFT = 9800,
    QVT_IDS_TAB_SCROLLRIGHT = 9801,
    QVT_IDS_TAB_CLOSE = 9802,
    QVT_IDS_TAB_SCROLLUP = 9803,
    QVT_IDS_TAB_SCROLLDOWN = 9804,
};

class CQVTTabManager : public CQVTTabManagerAtom
{
public:
    class CNavigateButtonArrow;
    class CNavigateButtonArrowLeft;
    class CNavigateButtonArrowRight;
    class CNavigateButtonClose;
    class CNavigateButtonTabClose;

    // The rows of a multi-row strip: first and last item index of each.
    class CRowIndexer
    {
    public:
        struct ROW_ITEMS
        {
            int nFirstItem;
            int nLastItem;
        };
        explicit CRowIndexer(CQVTTabManager* pManager) : m_pManager(pManager) {}
        // Makes nRowCount empty rows (at least one).
        ROW_ITEMS* CreateIndexer(int nRowCount);
        ROW_ITEMS* GetRowItems() { return m_rows.data(); }
        int GetRowCount() const { return static_cast<int>(m_rows.size()); }

    private:
        std::vector<ROW_ITEMS> m_rows;
        CQVTTabManager* m_pManager;
    };

    CQVTTabManager();
    ~CQVTTabManager() override;

    virtual CString GetItemCaption(const CQVTTabManagerItem* pItem) const;
    virtual DWORD_PTR GetItemData(const CQVTTabManagerItem* pItem) const;
    virtual COLORREF GetItemColor(const CQVTTabManagerItem* pItem) const;
    virtual CString GetItemTooltip(const CQVTTabManagerItem* pItem) const;
    virtual void OnItemsChanged();
    virtual void SetSelectedItem(CQVTTabManagerItem* pItem);
    virtual BOOL ClickItem(CQVTTabManagerItem* pItem);
    virtual void GetItemMetrics(CSize* pNormal, CSize* pMin = nullptr, CSize* pMax = nullptr) const;
    virtual int GetItemsLength() const;
    virtual CQVTTabPaintManager* GetPaintManager() const = 0;
    // Redraws a rectangle of the strip, or all of it for null.
    virtual void RedrawControl(LPCRECT lpRect, BOOL bAnimate) = 0;
    virtual BOOL IsAllowReorder() const;
    virtual void SetAllowReorder(BOOL bAllowReorder);
    virtual BOOL IsDrawStaticFrame() const;
    // Draws (bDraw) or measures the item's image at pt; szIcon comes in as
    // the paint manager's icon size and goes out as the image's. TRUE when
    // there is an image. For a null item: whether the strip shows images.
    virtual BOOL DrawIcon(CDC* pDC, CPoint pt, CQVTTabManagerItem* pItem, BOOL bDraw,
                          CSize& szIcon) const = 0;
    virtual int GetPosition() const;
    // 0 scrolls towards the start, 1 towards the end.
    virtual void ScrollHeader(int nDirection);
    virtual INT_PTR OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFO* pTI);
    virtual BOOL PerformKeyDown(CWnd* pWnd, UINT nChar);
    virtual CQVTMarkupContext* GetMarkupContext() const;
    virtual BOOL IsNavigateButtonAutoVisible(CQVTTabManagerNavigateButton* pButton) const;
    virtual BOOL IsNavigateButtonVisible(CQVTTabManagerNavigateButton* pButton) const;
    virtual void OnItemClick(CQVTTabManagerItem* pItem);
    virtual BOOL CanClickItem(CQVTTabManagerItem* pItem) const;
    virtual void ReOrder(CWnd* pWnd, CPoint pt, CQVTTabManagerItem* pItem);
    virtual void OnItemsSwapped(CQVTTabManagerItem* pItem, CQVTTabManagerItem* pOther);
    virtual void OnItemMoved(CQVTTabManagerItem* pItem, int nOldIndex, int nNewIndex);
    virtual void OnNavigateButtonClick(UINT nID);
    virtual void OnNavigateButtonClick(CQVTTabManagerNavigateButton* pButton);
    virtual BOOL IsMouseLocked() const;
    virtual BOOL IsFocused() const;

    // Inserts at nIndex (the end for an index outside the array); makes a
    // new item for null. The strip takes the reference.
    CQVTTabManagerItem* AddItem(int nIndex, CQVTTabManagerItem* pItem = nullptr);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    // Throws the framework's invalid-argument exception out of range.
    CQVTTabManagerItem* GetItem(int nIndex) const;
    CQVTTabManagerItem* FindItemByHandle(HWND hHandle) const;

    int GetCurSel() const;
    void SetCurSel(int nIndex);
    CQVTTabManagerItem* GetSelectedItem() const { return m_pSelected; }
    CQVTTabManagerItem* GetHighlightedItem() const { return m_pHighlighted; }
    CQVTTabManagerItem* GetPressedItem() const { return m_pPressed; }
    CQVTTabManagerNavigateButton* GetHighlightedNavigateButton() const
    {
        return m_pHighlightedNavigateButton;
    }
    CQVTTabManagerItem* FindNextFocusable(int nIndex, int nDirection) const;

    CQVTTabManagerItem* HitTest(CPoint pt) const;
    CQVTTabManagerNavigateButton* HitTestNavigateButton(CPoint pt, BOOL bGlobalOnly,
                                                        int* pnIndex = nullptr) const;
    // The host's mouse-down; TRUE when a button or an item took it.
    BOOL PerformClick(CWnd* pWnd, CPoint pt, BOOL bNoItemClick = FALSE);
    // Hot tracking; the host passes an off-strip point when the mouse leaves.
    void PerformMouseMove(CWnd* pWnd, CPoint pt);
    // Selection on button-up: the capture loop of a press on an item.
    void TrackClick(CWnd* pWnd, CPoint pt, CQVTTabManagerItem* pItem);

    int GetHeaderOffset() const { return m_nHeaderOffset; }
    // Clamped to at most 0; lays out again when it changed.
    void SetHeaderOffset(int nOffset);
    void EnsureVisible(CQVTTabManagerItem* pItem);

    int GetLayout() const;
    BOOL IsHorizontalPosition() const;
    CQVTTabPaintManagerTheme* GetAppearance() const;

    BOOL IsActive() const { return m_bActive; }
    void SetActive(BOOL bActive) { m_bActive = bActive; }
    int GetCloseButtonMode() const { return m_nCloseButtonMode; }
    // Items added from now on get a close button of their own in this mode.
    void SetCloseButtonMode(int nMode) { m_nCloseButtonMode = nMode; }
    // Owned; captions become markup while one is set.
    void SetMarkupContext(CQVTMarkupContext* pContext);

    CRect GetHeaderRect() const { return m_rcHeader; }
    CRect GetTabControlRect() const { return m_rcControl; }
    CRect GetTabClientRect() const { return m_rcClient; }
    CQVTTabManagerNavigateButtons& GetNavigateButtons() { return m_arrNavigateButtons; }
    CQVTTabManagerNavigateButton* FindNavigateButton(UINT nID) const;
    CRowIndexer& GetRowIndexer() { return *m_pRowIndexer; }
    int GetRowCount() const { return m_pRowIndexer->GetRowCount(); }
    int GetScrollStep() const { return m_nScrollStep; }

protected:
    friend class CQVTTabPaintManager;
    friend class CQVTTabPaintManagerTheme;
    friend class CQVTTabManagerNavigateButton;

    // A capture loop's end: what the dispatched messages may have freed.
    BOOL IsAlive(const std::weak_ptr<int>& lifetime) const { return !lifetime.expired(); }
    void RedrawItem(CQVTTabManagerItem* pItem, BOOL bAnimate);
    void RedrawButton(CQVTTabManagerNavigateButton* pButton, BOOL bAnimate);
    void SwapItems(int nFirst, int nSecond);
    // Joins the strips of the paint manager that lays this one out.
    void AttachPaintManager(CQVTTabPaintManager* pPaintManager);

    CQVTTabManagerItem* m_pSelected = nullptr;
    CQVTTabManagerItem* m_pHighlighted = nullptr;  // under the mouse
    CQVTTabManagerItem* m_pPressed = nullptr;      // held during a click
    CQVTTabManagerNavigateButton* m_pHighlightedNavigateButton = nullptr;
    int m_nHeaderOffset = 0;  // scroll position of the row, at most 0
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bActive = TRUE;                        // colour sets paint the selected item's close button by it
    int m_nCloseButtonMode = 0;                   // display mode of the items' own close buttons; 0 none
    CRect m_rcHeader;                             // when not empty, hits only count inside it
    CRect m_rcControl;                            // hits only count inside it
    CRect m_rcClient;                             // below the header, as the layout left it
    std::vector<CQVTTabManagerItem*> m_arrItems;  // one reference held on each
    CQVTTabManagerNavigateButtons m_arrNavigateButtons;
    std::unique_ptr<CRowIndexer> m_pRowIndexer;
    int m_nScrollStep = 20;  // pixels per arrow step
    CQVTMarkupContext* m_pMarkupContext = nullptr;
    std::shared_ptr<int> m_pLifetime = std::make_shared<int>(0);

private:
    CQVTTabPaintManager* m_pAttachedPaintManager = nullptr;
};

class CQVTTabManager::CNavigateButtonArrow : public CQVTTabManagerNavigateButton
{
public:
    using CQVTTabManagerNavigateButton::CQVTTabManagerNavigateButton;
    void AdjustWidth(int& nLength) override;
    void Reposition(CRect& rc) override;

protected:
    // The arrow's tooltip and enabled state for a header of length nLength.
    virtual void UpdateState(int nLength) = 0;
};

class CQVTTabManager::CNavigateButtonArrowLeft : public CQVTTabManager::CNavigateButtonArrow
{
public:
    CNavigateButtonArrowLeft(CQVTTabManager* pManager, int nDisplayMode)
        : CNavigateButtonArrow(pManager, buttonLeft, nDisplayMode)
    {
    }
    void DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    void OnExecute(BOOL bTick) override;

protected:
    void UpdateState(int nLength) override;
};

class CQVTTabManager::CNavigateButtonArrowRight : public CQVTTabManager::CNavigateButtonArrow
{
public:
    CNavigateButtonArrowRight(CQVTTabManager* pManager, int nDisplayMode)
        : CNavigateButtonArrow(pManager, buttonRight, nDisplayMode)
    {
    }
    void DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    void OnExecute(BOOL bTick) override;

protected:
    void UpdateState(int nLength) override;
};

class CQVTTabManager::CNavigateButtonClose : public CQVTTabManagerNavigateButton
{
public:
    CNavigateButtonClose(CQVTTabManager* pManager, int nDisplayMode, CQVTTabManagerItem* pItem = nullptr);
    void DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    void OnExecute(BOOL bTick) override;
};

class CQVTTabManager::CNavigateButtonTabClose : public CQVTTabManager::CNavigateButtonClose
{
public:
    using CNavigateButtonClose::CNavigateButtonClose;
    CSize GetSize() const override;
};
