// Skinned menus: the popup window that shows one level of a menu, its
// items, and the tracker that runs the modal menu loop (mouse, keyboard,
// submenu delays, scrolling, mnemonics) and sends the owner window the
// notifications it expects of a system menu.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTSkinManagerClass;
class CQVTSkinManagerMetrics;
class CQVTSkinManagerSchema;
class CQVTSkinPopupMenu;
struct SKINMENUTRACKER;

// The TrackPopupMenuEx flag that marks a system menu.
const UINT QVT_TPM_SYSTEMMENU = 0x200;

// One position of a menu. Its state, type, identifier, bitmap and text are
// read from the menu each time, so a menu changed by the owner while it is
// shown is drawn as it stands.
class CQVTSkinPopupMenuItem
{
public:
    CQVTSkinPopupMenuItem(CQVTSkinPopupMenu* pLevel, HMENU hMenu, int nIndex);

    BOOL GetInfo(MENUITEMINFOW& mii, UINT fMask) const;
    UINT GetState() const;
    UINT GetType() const;
    UINT GetID() const;
    HBITMAP GetBitmap() const;
    ULONG_PTR GetItemData() const;
    // The whole text, read by its length; empty for items without one.
    CString GetText() const;
    static CString AFX_CDECL ReadMenuText(HMENU hMenu, UINT nPosition);

    BOOL IsSeparator() const;
    BOOL IsOwnerDraw() const { return (GetType() & MFT_OWNERDRAW) != 0; }
    BOOL IsDisabled() const { return (GetState() & (MFS_DISABLED | MFS_GRAYED)) != 0; }
    BOOL IsDefault() const { return (GetState() & MFS_DEFAULT) != 0; }
    // The MDI child's system-menu item and its minimize, restore and close
    // buttons on a menu bar.
    BOOL IsSystemMenuItem() const;
    BOOL IsMdiButton() const;
    // An item the selection may rest on.
    BOOL IsSelectable() const;

    CRect m_rcItem;               // in the level's client coordinates (window coordinates for a bar)
    CQVTSkinPopupMenu* m_pLevel;  // the level it belongs to
    int m_nIndex;                 // its position in the menu
    HMENU m_hMenu;                // the menu of the level
    HMENU m_hSubMenu;             // null without one
};

class CQVTSkinPopupMenu : public CWnd
{
public:
    enum
    {
        TIMER_CLOSEDELAY = 2747,
        TIMER_OPENDELAY = 2764,
        TIMER_SCROLLUP = 5001,
        TIMER_SCROLLDOWN = 5002,
    };
    // One of the two scroll buttons of a popup taller than the work area.
    struct SCROLLBUTTON
    {
        CRect rc;  // empty when not shown
        UINT nTimer;
        BOOL bTimer;
    };

    CQVTSkinPopupMenu(SKINMENUTRACKER* pTracker, HMENU hMenu, BOOL bMenuBar);
    ~CQVTSkinPopupMenu() override;

    // Reads the positions of the menu again (item objects only, no layout).
    void RebuildItems();
    int GetItemCount() const { return (int)m_items.size(); }
    CQVTSkinPopupMenuItem* GetItem(int nIndex) const;

    // The popup window, owned by the owner window.
    BOOL CreatePopupWindow(HWND hWndOwner);
    static LPCTSTR AFX_CDECL GetWindowClassName() { return u"QVTSkinManagerMenu"; }
    // Measures the items and returns the popup's size; nMaxHeight is the
    // work area's height (a taller single column then scrolls).
    CSize MeasurePopup(int nMaxHeight);
    // Lays the menu bar out in a window of the width, from the given
    // top-left corner (window coordinates); returns the bar's height (0
    // for a bar without items).
    int LayoutMenuBar(CDC* pDC, CPoint ptOrigin, int nWidth);
    void DrawMenuBar(CDC* pDC, const CRect& rcBar, HWND hWndMdiChild);

    // The item under a screen point, -1 for none (also over a scroll
    // button); pbInside tells whether the point lies in the level at all.
    int HitTest(CPoint ptScreen, BOOL* pbInside = nullptr);
    CRect GetItemScreenRect(int nIndex);
    // Scrolls by one item (nDirection -1 up, +1 down); FALSE at the end.
    BOOL ScrollBy(int nDirection);
    void EnsureVisible(int nIndex);
    void RedrawItem(int nIndex);
    void DrawPopup(CDC* pDC);
    // Places the visible items and the scroll buttons of a scrolling popup.
    void LayoutScrolled();

    BOOL IsMenuBar() const { return m_bMenuBar; }
    BOOL IsRightToLeft() const;
    HMENU GetMenu() const { return m_hMenu; }

    SKINMENUTRACKER* m_pTracker;
    HMENU m_hMenu;
    std::vector<CQVTSkinPopupMenuItem*> m_items;
    HWND m_hWndOwner = nullptr;
    int m_nSelected = -1;
    int m_nPrevSelected = -1;
    BOOL m_bMenuBar;
    BOOL m_bSystemMenu = FALSE;
    BOOL m_bDropDown = FALSE;
    BOOL m_bOpenLeftwards = FALSE;
    UINT m_nCloseDelayTimer = 0;
    UINT m_nOpenDelayTimer = 0;
    CQVTSkinPopupMenu* m_pParentLevel = nullptr;
    CQVTSkinPopupMenu* m_pChildLevel = nullptr;
    CRect m_rcMargins;
    int m_nTextWidth = 0;
    int m_nImageWidth = 0;
    BOOL m_bGutter = FALSE;
    // Scrolling: the first and last items shown and the offset of the items.
    BOOL m_bScrolling = FALSE;
    int m_nFirstVisible = 0;
    int m_nLastVisible = -1;
    int m_nScrollOffset = 0;
    SCROLLBUTTON m_scrollUp = {CRect(0, 0, 0, 0), TIMER_SCROLLUP, FALSE};
    SCROLLBUTTON m_scrollDown = {CRect(0, 0, 0, 0), TIMER_SCROLLDOWN, FALSE};
    int m_nParentIndex = 0;  // the item's position in the parent level
    // The menu bar's window coordinates origin: the owner's window rect.
    HWND m_hWndBar = nullptr;

protected:
    void PostNcDestroy() override;
    void MeasureItem(CDC* pDC, CQVTSkinPopupMenuItem* pItem, CSize& sz);
    void DrawItem(CDC* pDC, CQVTSkinPopupMenuItem* pItem, int nIndex);
    CQVTSkinManagerClass* GetMenuClass();
    CQVTSkinManagerMetrics* GetMetrics();
    COLORREF GetSysColor(int nIndex);
    int Scale(int n) const;

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The menu loop's state. One lives on the stack of each loop.
struct SKINMENUTRACKER
{
    SKINMENUTRACKER();
    ~SKINMENUTRACKER();

    // The menu bar of a frame, pressed by the mouse at a screen point.
    BOOL TrackMenuBar(CQVTSkinPopupMenu* pMenuBar, CPoint pt);
    // The menu bar entered from the keyboard (Alt, Alt+letter, F10).
    BOOL TrackMenuBarKey(CQVTSkinPopupMenu* pMenuBar, UINT nChar);
    // A context or system menu, with the flags of TrackPopupMenuEx. FALSE
    // for a null owner or an empty menu; with TPM_RETURNCMD the command
    // chosen (0 for none), else TRUE.
    UINT_PTR TrackPopup(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lprcExclude);
    void RunLoop();
    void EndMenu();
    void SelectItem(CQVTSkinPopupMenu* pLevel, int nIndex);
    void OpenSubmenu(CQVTSkinPopupMenu* pLevel);
    void CloseSubmenu(CQVTSkinPopupMenu* pLevel);
    void ExecuteItem(CQVTSkinPopupMenu* pLevel, int nIndex);
    void OnKey(CQVTSkinPopupMenu* pLevel, UINT nKey);
    void OnChar(CQVTSkinPopupMenu* pLevel, UINT nChar);
    // The window's system menu, opened from its menu bar.
    void OpenSystemMenu();
    // "-": the system menu of the maximized MDI child the bar shows, or of
    // the MDI child that owns the bar; FALSE when there is none.
    BOOL OpenMdiChildSystemMenu(CQVTSkinPopupMenu* pMenuBar);

    // The tracker running on this thread, or null.
    static SKINMENUTRACKER* AFX_CDECL GetThreadTracker();

    BOOL m_bKeyboard = FALSE;
    BOOL m_bInLoop = FALSE;
    BOOL m_bEnding = FALSE;
    CQVTSkinPopupMenu* m_pTopLevel = nullptr;
    CQVTSkinPopupMenu* m_pFocusLevel = nullptr;
    UINT m_nCommand = 0;
    UINT m_nCommandMessage = 0;  // WM_COMMAND, WM_SYSCOMMAND or WM_MENUCOMMAND; 0 for none
    WPARAM m_wCommand = 0;
    LPARAM m_lCommand = 0;
    BOOL m_bHaveCommand = FALSE;
    CQVTSkinManagerSchema* m_pSchema = nullptr;
    UINT m_nShowDelay = 400;
    BOOL m_bNoNotify = FALSE;
    BOOL m_bReturnCommand = FALSE;
    BOOL m_bRightButton = FALSE;
    HWND m_hWndOwner = nullptr;
    BOOL m_bButtonDown = FALSE;   // a button went down inside the menus
    BOOL m_bSkipFirstUp = FALSE;  // the opening click of a top popup
    BOOL m_bSystemMenu = FALSE;
    CQVTSkinPopupMenu* m_pMenuBar = nullptr;  // the frame's, not owned

private:
    BOOL BeginLoop(HWND hWndOwner);
    void FinishLoop();
    // A menu-bar loop's start and end, by mouse or by key.
    BOOL BeginMenuBar(CQVTSkinPopupMenu* pMenuBar, BOOL bKeyboard);
    void EndMenuBar(CQVTSkinPopupMenu* pMenuBar);
    // Sends or posts the chosen command; the answer of TrackPopup.
    UINT_PTR DeliverCommand();
    BOOL ProcessMessage(MSG& msg, BOOL& bRemove);
    BOOL OnMouseMessage(MSG& msg, BOOL& bRemove);
    CQVTSkinPopupMenu* LevelFromPoint(CPoint ptScreen, int* pnIndex);
    void DestroyLevel(CQVTSkinPopupMenu* pLevel);
    void PlacePopup(CQVTSkinPopupMenu* pLevel, CQVTSkinPopupMenu* pParent, int nIndex, CSize sz);
    BOOL ShowPopup(CQVTSkinPopupMenu* pLevel);
    void SendMenuSelect(CQVTSkinPopupMenu* pLevel, int nIndex);
    void SendInitMenuPopup(CQVTSkinPopupMenu* pLevel);
    void MoveInMenuBar(int nDirection);
    int NextSelectable(CQVTSkinPopupMenu* pLevel, int nFrom, int nDirection);
    BOOL IsOwnerAlive() const;
    BOOL ScrollButtonTimer(CQVTSkinPopupMenu* pLevel, CPoint ptScreen);
    void RepostMouseDown(const MSG& msg);

    SKINMENUTRACKER* m_pPrevTracker = nullptr;
    BOOL m_bQuit = FALSE;
    WPARAM m_nQuitCode = 0;
    BOOL m_bOwnerGone = FALSE;
    BOOL m_bIdleSent = FALSE;
    BOOL m_bOpeningByDelay = FALSE;
};

// Shows a menu as a skinned popup for the owner (the interception's
// TrackPopupMenu answers and the frames' context menus); the answer of
// TrackPopupMenuEx.
UINT_PTR AFXAPI QVTSkinTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner,
                                      LPCRECT lprcExclude);
