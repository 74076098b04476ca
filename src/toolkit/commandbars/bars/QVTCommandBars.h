// The one object that owns every bar of a frame window or dialog (the site):
// the bar list, the four dock bars, the options, the theme and the images
// the bars share. It answers the site's messages (activation, settings and
// colour changes, idle update), filters its queued keys, lays the site out
// again when bars change and repaints every bar after a theme change.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBar;
class CQVTCommandBarKeyboardTip;
class CQVTCommandBarList;
class CQVTCommandBarsContextMenus;
class CQVTCommandBarsFrameHook;
class CQVTCommandBarsOptions;
class CQVTControl;
class CQVTControlAction;
class CQVTControlActions;
class CQVTControls;
class CQVTCustomizeDropSource;
class CQVTDockBar;
class CQVTImageManager;
class CQVTKeyboardManager;
class CQVTPropExchange;
class CQVTMouseManager;
class CQVTPopupBar;
class CQVTReBar;
class CQVTToolBar;
class CQVTPaintManager;
class CQVTShortcutManager;
class CQVTToolTipContext;
struct QVT_BARS_EXCHANGE_PARAM;

class CQVTCommandBars : public CQVTCmdTarget, public IQVTApplicationEvents
{
    DECLARE_DYNCREATE(CQVTCommandBars)

public:
    CQVTCommandBars();
    ~CQVTCommandBars() override;

    static CQVTCommandBars* AFX_CDECL CreateCommandBars();

    void SetSite(CWnd* pSite);
    CWnd* GetSite() const { return m_pSite; }
    // The four dock bars, children of the site; throws CResourceException
    // when one cannot be made (those made before it stay).
    void EnableDocking();
    CQVTDockBar* GetDockBar(int nPosition) const;

    // Adds a bar made from the class (null: the class of new toolbars).
    CQVTCommandBar* Add(LPCTSTR lpszName, int nPosition, CRuntimeClass* pBarClass = nullptr);
    // Takes over the bar: it joins the list when its window was made, and is
    // deleted otherwise.
    CQVTCommandBar* AddCommandBar(CQVTCommandBar* pBar, LPCTSTR lpszName, int nPosition);
    void Remove(CQVTCommandBar* pBar);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_arrBars.size()); }
    CQVTCommandBar* GetAt(int nIndex) const;
    int FindIndex(CQVTCommandBar* pBar) const;
    CQVTCommandBar* GetToolBar(UINT nId) const;
    // The bar of id 1 when it is a menu bar.
    virtual CQVTCommandBar* GetMenuBar() const;

    // Docks the bar at a position 0..3; other positions have no dock bar.
    BOOL DockCommandBar(CQVTCommandBar* pBar, int nPosition);
    BOOL DockCommandBar(CQVTCommandBar* pBar, LPRECT lpRect, CQVTDockBar* pDockBar);
    BOOL FloatCommandBar(CQVTCommandBar* pBar);
    CQVTDockBar* CanDock(CPoint point, CQVTDockBar* pPreferred = nullptr) const;

    CQVTPaintManager* GetPaintManager() const;
    void SetPaintManager(CQVTPaintManager* pPaintManager);
    void SetTheme(int nTheme);
    CQVTImageManager* GetImageManager() const;
    CQVTCommandBarsOptions* GetCommandBarsOptions() const { return m_pOptions; }
    CQVTToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    CQVTShortcutManager* GetShortcutManager() const { return m_pShortcutManager; }
    // The options alone, in the profile section "<profile>-Options".
    void LoadOptions(LPCTSTR lpszProfileName);
    void SaveOptions(LPCTSTR lpszProfileName);

    // Controls added to a bar are linked to the action of their id while
    // actions are enabled.
    void EnableActions(BOOL bEnable = TRUE) { m_bEnableActions = bEnable; }
    BOOL IsActionsEnabled() const { return m_bEnableActions; }
    CQVTControlActions* GetActions() const { return m_pActions; }
    CQVTControlAction* CreateAction(int nId);
    CQVTControlAction* FindAction(int nId) const;

    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
    // Customize mode: controls are dragged instead of executed (the drag
    // control is cleared and the keyboard cues show meanwhile).
    void SetCustomizeMode(BOOL bMode);
    BOOL IsCustomizeAvail() const { return m_bCustomizeAvail; }
    BOOL IsCustomizeAnything() const { return m_bCustomizeAnything; }
    void SetCustomizeAnything(BOOL bAnything) { m_bCustomizeAnything = bAnything; }
    // The drag-and-drop of customize mode and the open customize window.
    CQVTCustomizeDropSource* GetDropSource() const { return m_pDropSource.get(); }
    CQVTControl* GetDragControl() const { return m_pDragControl; }
    // The control selected or last dropped in customize mode (held by a
    // reference); the site hears of every change.
    void SetDragControl(CQVTControl* pControl);

    virtual void RecalcFrameLayout(BOOL bDelay = FALSE);
    void RedrawCommandBars();
    void InvalidateCommandBars();
    void UpdateDelayedFrameLayout();
    static void AFX_CDECL ClosePopups(CQVTCommandBars* pCommandBars = nullptr);

    void ShowKeyboardCues(BOOL bShow);
    BOOL IsKeyboardCuesVisible() const { return m_bKeyboardCuesVisible; }
    void SetKeyboardCuesToggling(BOOL bToggling) { m_bKeyboardCuesToggling = bToggling; }
    BOOL IsKeyboardCuesToggling() const { return m_bKeyboardCuesToggling; }
    void SetIgnoreShiftMenuKey(BOOL bIgnore) { m_bIgnoreShiftMenuKey = bIgnore; }

    // The site's messages; TRUE when one was consumed.
    BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The site's queued keyboard messages; TRUE when one was eaten.
    BOOL PreTranslateFrameMessage(MSG* pMsg);

    BOOL IsLayoutRTL() const;
    // The bars' theme draws the site's frame through a hook of their own;
    // enabling twice applies the hook again.
    void EnableFrameTheme(BOOL bEnable = TRUE);
    BOOL IsFrameThemeEnabled() const;
    // The frame hook draws on desktop composition.
    BOOL IsFrameCompositionEnabled() const;
    CQVTCommandBarsFrameHook* GetFrameHook() const { return m_pFrameHook; }
    void HideCommandBars(BOOL bHide);
    BOOL IsCommandBarsHidden() const { return m_bCommandBarsHidden; }
    void ToggleVisible(int nIndex);
    int GetContextHelpId() const { return m_nContextHelpId; }
    void SetContextHelpId(int nId) { m_nContextHelpId = nId; }
    virtual UINT GetActiveDocTemplate();
    BOOL IsDestroying() const { return m_bDestroying; }

    // A site holding a rebar (id AFX_IDW_REBAR) takes the bars as bands.
    virtual void OnToolBarAdded(CQVTCommandBar* pBar);
    virtual void OnToolBarRemoved(CQVTCommandBar* pBar);
    virtual void OnTrackingModeChanged(CQVTCommandBar* pBar, int bMode);
    virtual void CreateKeyboardTips(CQVTCommandBar* pBar);

    // The thread's managers of tracking (usable without a bars object).
    static CQVTMouseManager* AFX_CDECL GetMouseManager();
    static CQVTKeyboardManager* AFX_CDECL GetKeyboardManager();

    // Mnemonics and keyboard focus across bars (QVTCommandBarsKeyboard.cpp).
    BOOL ProcessMnemonic(UINT nChar);
    // A key pressed with Alt: Alt itself shows the keyboard cues (not
    // eaten), another key runs as a mnemonic; TRUE when it did.
    BOOL ProcessAltKey(UINT nKey);
    CQVTControl* FindAccelControl(CQVTCommandBar* pBar, UINT nChar, BOOL& bAmbiguous);
    // The next navigable control after the index; across the shown bars
    // when the keyboard-cue option lets mnemonics search every bar.
    CQVTControl* GetNextControl(CQVTControls*& pControls, int& nIndex) const;
    // The bar (direction 0) or the next shown one takes the keyboard.
    BOOL SetFocusedCommandBar(CQVTCommandBar* pBar, int nDirection = 0);
    int GetNextVisibleBar(int nIndex, int nDirection) const;

    // A popup tracked in a loop of its own until it closes; with
    // TPM_RETURNCMD the chosen command (0 when dismissed), else 1.
    static int AFX_CDECL TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd,
                                        LPCRECT lpExclude = nullptr, CWnd* pWndOwner = nullptr,
                                        CQVTCommandBars* pCommandBars = nullptr);
    static int AFX_CDECL TrackPopupBar(CQVTPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pWnd,
                                       LPCRECT lpExclude = nullptr, CWnd* pWndOwner = nullptr);
    static void AFX_CDECL PumpTrackingMessages(CQVTCommandBar* pPopup);

    // Keyboard tips (QVTCommandBarsKeyboardTips.cpp).
    void ShowKeyboardTips(CQVTCommandBar* pBar, int nLevel = 1);
    void HideKeyboardTips();
    // The level of the tips shown for that very bar, else 0.
    int GetKeyboardTipsLevel(const CQVTCommandBar* pBar) const;
    int GetKeyboardTipCount() const { return static_cast<int>(m_arrKeyboardTips.size()); }
    CQVTCommandBarKeyboardTip* GetKeyboardTip(int nIndex) const;
    CQVTCommandBar* GetKeyboardTipsBar() const { return m_pKeyboardTipsBar; }
    // The level the next tips show at, set before a bar starts tracking.
    void SetKeyboardTipsLevel(int nLevel) { m_nKeyboardTipsLevel = nLevel; }
    // A bar's CreateKeyboardTips adds its tips here; the bars own them. An
    // explicit tip is the target's own text, kept as given when laid out.
    CQVTCommandBarKeyboardTip* AddKeyboardTip(CObject* pTarget, const CString& strCaption, CPoint pt,
                                              DWORD dwAlign, BOOL bEnabled, const CString& strExplicitTip);
    // The bars' one warning sound for a key that does nothing; the count
    // lets a caller see that it sounded.
    static void AFX_CDECL Beep();
    static LONG AFX_CDECL GetBeepCount();
    int GetKeyboardTipsTyped() const { return m_nKeyboardTipsTyped; }

    // The bars' menus (QVTCommandBarsMenus.cpp).
    CQVTCommandBarsContextMenus* GetContextMenus() const { return m_pContextMenus; }
    virtual void ContextMenu(CQVTCommandBar* pBar, CPoint ptScreen);
    virtual CQVTPopupBar* GetToolbarsPopup();
    virtual void GetHiddenControls(CQVTCommandBar* pBar, CQVTPopupBar* pPopup);
    virtual void GetAddOrRemovePopup(CQVTCommandBar* pBar, CQVTPopupBar* pPopup);
    // Hidden commands are those the options list as hidden and not as used;
    // a popup whose controls are all hidden hides with them.
    virtual BOOL IsHiddenCommand(UINT nId) const;
    virtual BOOL IsHiddenControl(CQVTControl* pControl) const;
    void SetCommandUsed(UINT nId);
    // Menu-bar popups show their captions in capitals.
    void SetMenuUpperCase(BOOL bUpperCase) { m_bMenuUpperCase = bUpperCase; }
    BOOL IsMenuUpperCase() const { return m_bMenuUpperCase; }
    void SetDefaultMenuID(UINT nId) { m_nDefaultMenuID = nId; }

    // The saved layout (QVTCommandBarsLayout.cpp): the dock layout in the
    // profile sections "<profile>-Summary", "-Bar<n>" and "-DockBar<n>", and
    // the bars' and controls' customization as an archive block in
    // "<profile>-Controls" (or in a hidden file the profile names).
    void WriteLayoutState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized = TRUE);
    void ReadLayoutState(LPCTSTR lpszProfileName, BOOL bSilent = FALSE);
    virtual BOOL SaveCommandBarList(CQVTPropExchange* pPX, CQVTCommandBarList* pCommandBarList);
    virtual BOOL LoadCommandBarList(CQVTPropExchange* pPX, CQVTCommandBarList* pCommandBarList);
    virtual void GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                        QVT_BARS_EXCHANGE_PARAM* pParam);
    virtual void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList, BOOL bSilent = FALSE);
    // The file large blocks go to; empty: one named after the profile.
    void SetCustomizationFileName(LPCTSTR lpszFileName) { m_strCustomizationFileName = lpszFileName; }
    CString GetCustomizationFileName(LPCTSTR lpszProfileName) const;
    // An answer given in advance to "toolbar changed by an update" questions:
    // positive keeps the new toolbar, zero or less the user's; unset asks.
    void SetMergeAnswer(int nAnswer)
    {
        m_bMergeAnswerSet = TRUE;
        m_nMergeAnswer = nAnswer;
    }
    void ResetMergeAnswer() { m_bMergeAnswerSet = FALSE; }

    // Whether the input desktop is another than the user's ("Default"), as
    // while the workstation is locked.
    static BOOL AFX_CDECL IsInputDesktopNotDefault();

    // IQVTApplicationEvents
    void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) override;

    // Registered under the name "CQVTCommandBars::m_nRedrawMsg": the site
    // repaints every bar when it gets it.
    static const UINT m_nRedrawMsg;

    // Classes bars are made from; an application may substitute subclasses
    // before bars are made.
    static CRuntimeClass* m_pToolBarClass;
    static CRuntimeClass* m_pMenuBarClass;
    static CRuntimeClass* m_pPopupBarClass;
    static CRuntimeClass* m_pPopupToolBarClass;
    static CRuntimeClass* m_pDockBarClass;

protected:
    CQVTReBar* GetSiteReBar() const;
    BOOL m_bIgnoreShiftMenuKey;         // Alt+Shift+letter is no mnemonic
    BOOL m_bCustomizeAnything;          // customize drags act on every bar
    CQVTPaintManager* m_pPaintManager;  // own theme; null: the global one
    CQVTImageManager* m_pImageManager;  // own images; null: the global ones
    CQVTControl* m_pDragControl;        // control selected in customize mode
    std::unique_ptr<CQVTCustomizeDropSource> m_pDropSource;
    UINT m_nDefaultMenuID;  // menu id when no MDI child is active
    BOOL m_bCustomizeMode;
    BOOL m_bCustomizeAvail;  // the site handles the customize command
    CQVTCommandBarsOptions* m_pOptions;
    std::vector<CQVTCommandBar*> m_arrBars;  // in creation order; one reference each
    CQVTDockBar* m_pDocks[4];                // top, bottom, left, right
    CWnd* m_pSite;
    CQVTToolTipContext* m_pToolTipContext;
    BOOL m_bKeyboardCuesVisible;   // menu underlines drawn now
    int m_nContextHelpId;          // of the control last made hot
    BOOL m_bRecalcLayout;          // layout lock: frame layout skipped
    BOOL m_bKeyboardCuesToggling;  // cues hidden until Alt shows them
    BOOL m_bRightToLeft;           // the site was right-to-left when set
    BOOL m_bCommandBarsHidden;
    BOOL m_bDestroying;
    CQVTShortcutManager* m_pShortcutManager;
    CQVTControlActions* m_pActions;
    BOOL m_bEnableActions;  // controls are linked to the actions of their ids
    std::vector<std::unique_ptr<CQVTCommandBarKeyboardTip>> m_arrKeyboardTips;  // shown tip windows
    CQVTCommandBar* m_pKeyboardTipsBar;                                         // the bar they stand for
    int m_nKeyboardTipsLevel;                                                   // 0 none
    int m_nKeyboardTipsTyped;                                                   // characters typed so far
    CQVTCommandBarsContextMenus* m_pContextMenus;
    BOOL m_bMenuUpperCase;
    CString m_strCustomizationFileName;
    BOOL m_bMergeAnswerSet;
    int m_nMergeAnswer;
    CQVTCommandBarsFrameHook* m_pFrameHook;  // draws the site's frame, or null
    BOOL m_bFrameHookOwned;                  // the bars delete the hook

    // The archive block of the saved layout; FALSE when nothing was written
    // or read (the stored block then stays as it was).
    BOOL WriteControlsBlock(LPCTSTR lpszProfileName, BOOL bOnlyCustomized);
    BOOL ReadControlsBlock(LPCTSTR lpszProfileName, BOOL bSilent);
    BOOL IsHiddenControlAtDepth(CQVTControl* pControl, int nDepth) const;

    friend class CQVTCommandBarsOptions;
    friend class CQVTCommandBar;
};
