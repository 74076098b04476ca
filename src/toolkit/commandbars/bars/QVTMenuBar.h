// The menu bar: the toolbar that takes the place of the frame's Win32 menu.
// It is built from a menu resource, takes the frame's menu away (and gives it
// back when the frame is destroyed) and takes the keyboard on Alt or F10
// alone. In an MDI frame it follows the active child: the child's
// system-menu popup and its minimize, restore and close buttons while it is
// maximized, and one set of controls per document template, switched when
// the MDI client is given another frame menu.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTMenuBar;

// A maximized child's close (9151), restore (9152) and minimize (9153)
// button (CQVTMenuBar::CControlMDIButton): a glyph caption in the symbol
// font; executing it sends the child the system command.
class CQVTMenuBarMDIButton : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTMenuBarMDIButton)

public:
    CQVTMenuBarMDIButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnExecute() override;
    // The system command of the button's id, 0 for another id.
    static UINT AFX_CDECL SysCommandOf(int nId);
};

// The popup of the child's system menu
// (CQVTMenuBar::CControlMDISysMenuPopup::CQVTSysMenuPopupBar).
class CQVTMenuBarSysMenuPopupBar : public CQVTPopupBar
{
    DECLARE_DYNCREATE(CQVTMenuBarSysMenuPopupBar)

public:
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;
};

// The maximized child's icon at the start of the bar, opening the child's
// system menu (CQVTMenuBar::CControlMDISysMenuPopup).
class CQVTMenuBarMDISysMenuPopup : public CQVTControlPopup
{
    DECLARE_DYNCREATE(CQVTMenuBarMDISysMenuPopup)

public:
    typedef CQVTMenuBarSysMenuPopupBar CQVTSysMenuPopupBar;

    CQVTMenuBarMDISysMenuPopup();
    ~CQVTMenuBarMDISysMenuPopup() override;

    // Takes the child's icon and rebuilds the popup from its system menu.
    void SetMDISysMenu(HWND hWndChild, HMENU hSysMenu);
    HMENU GetSysMenu() const { return m_hSysMenu; }
    HWND GetChild() const { return m_hWndChild; }
    HICON GetIcon() const { return m_hIcon; }

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;

protected:
    int IconSize(CDC* pDC) const;

    HICON m_hIcon;  // a copy of the child's small icon, owned
    HMENU m_hSysMenu;
    HWND m_hWndChild;
};

// One document template's controls (CQVTMenuBarMDIMenuInfo).
class CQVTMenuBarMDIMenuInfo : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTMenuBarMDIMenuInfo)

public:
    // The controls get one reference; they are bound to the bars.
    CQVTMenuBarMDIMenuInfo(CQVTCommandBars* pCommandBars, UINT nIDResource);
    ~CQVTMenuBarMDIMenuInfo() override;

    CQVTControls* m_pControls;  // one reference
    UINT m_nIDResource;
    BOOL m_bChanged;           // the controls differ from their original copy
    HICON m_hIcon;             // the template's icon (a shared resource icon)
    CString m_strTitle;        // the template's document name
    CString m_strDescription;  // the template's registry file-type name
};

// The template menus by menu resource id (CQVTMenuBarMDIMenus).
class CQVTMenuBarMDIMenus : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTMenuBarMDIMenus)

public:
    explicit CQVTMenuBarMDIMenus(CQVTMenuBar* pMenuBar);
    ~CQVTMenuBarMDIMenus() override;

    CQVTMenuBarMDIMenuInfo* Lookup(UINT nIDMenu) const;
    // Takes the entry's reference; an entry already under the id goes.
    void SetAt(UINT nIDMenu, CQVTMenuBarMDIMenuInfo* pInfo);
    // Drops the entry from the map without releasing it; FALSE when none.
    BOOL Detach(UINT nIDMenu);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_map.GetCount()); }
    POSITION GetStartPosition() const { return m_map.GetStartPosition(); }
    void GetNextAssoc(POSITION& pos, UINT& nIDMenu, CQVTMenuBarMDIMenuInfo*& pInfo) const;
    CQVTMenuBar* GetMenuBar() const { return m_pMenuBar; }

protected:
    CMap<UINT, UINT, CQVTMenuBarMDIMenuInfo*, CQVTMenuBarMDIMenuInfo*> m_map;
    CQVTMenuBar* m_pMenuBar;
};

class CQVTMenuBar : public CQVTToolBar
{
    DECLARE_SERIAL(CQVTMenuBar)

public:
    typedef CQVTMenuBarMDIButton CControlMDIButton;
    typedef CQVTMenuBarMDISysMenuPopup CControlMDISysMenuPopup;

    // Bits of the "Flags" word the menu bar reads.
    enum MenuBarFlags
    {
        flagHideMinimizeBox = 0x100,
        flagHideMaximizeBox = 0x200,
        flagIgnoreSetMenuMessage = 0x400,  // the template menu does not follow WM_MDISETMENU
        flagHideClose = 0x1000,
        flagAddMDISysPopup = 0x2000
    };

    // The timer the bar posts itself to follow the MDI children.
    static const UINT_PTR kTimerSyncActiveChild = 12223;

    CQVTMenuBar();
    ~CQVTMenuBar() override;

    // Builds the controls from the menu resource and hooks the site; 0 only
    // sets the hooks up again. FALSE, with nothing changed, when the menu
    // cannot be loaded or gives no controls.
    virtual BOOL LoadMenuBar(UINT nIDMenu);
    // Shows the controls of another template menu.
    virtual void SwitchMDIMenu(UINT nIDMenu, CMenu* pMenu = nullptr);
    // Adds or removes the maximized child's popup and buttons.
    virtual void RefreshSysButtons();

    void DoPropExchange(CQVTPropExchange* pPX) override;
    void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList) override;
    // After a save that switched back to the bar's own menu: the template
    // menu of the active child again.
    void RefreshAfterSave();

    BOOL ResetToolBar(BOOL bPrompt = TRUE) override;
    BOOL IsResetAllowed() override;
    void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    UINT GetDefaultMenuResource() const { return m_nIDResource; }
    UINT GetCurrentMenuResource() const { return m_nIDResourceCurrent; }
    CQVTMenuBarMDIMenus* GetMDIMenus() const { return m_pMDIMenus; }
    HMENU GetFrameMenu() const { return m_hMenuFrame; }
    BOOL IsMDIFrame() const { return m_bMDIFrame; }
    HWND GetHookedChild() const { return m_hWndActiveChild; }
    // The popup of the child's system menu while it is shown.
    CControlMDISysMenuPopup* GetSysMenuPopup() const;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    // Hooks the site and the MDI client, takes the frame's menu and the
    // MDI system-command icons.
    void SetupHook();
    // Hooks the active child (in place of the one hooked before) and
    // refreshes the buttons when shown.
    void SyncActiveMDIChild();
    void PostSyncTimer();
    HWND GetMDIClient() const;
    HWND GetActiveMDIChild(BOOL* pbMaximized = nullptr) const;
    void RemoveSysButtons();
    // A new collection (one reference for the caller) of the menu's
    // controls, bound to the bars; the bar's own controls stay.
    CQVTControls* BuildMenuControls(CMenu* pMenu);
    void UpdateChangedFlags();

    BOOL m_bMDIFrame;
    HWND m_hWndActiveChild;  // hooked
    HWND m_hWndSite;         // hooked
    HWND m_hWndMDIClient;    // hooked
    HMENU m_hMenuFrame;      // the frame's own menu while the bar stands for it
    BOOL m_bFrameMenuTaken;
    UINT m_nIDResource;         // the default menu
    UINT m_nIDResourceCurrent;  // the menu of the controls shown
    CQVTMenuBarMDIMenus* m_pMDIMenus;
    BOOL m_bSwitchedForSave;  // a save showed the bar's own menu for a while
};
