// The base of every item a command bar shows. A control holds its command,
// texts, state and geometry, measures and draws itself through the paint
// manager, takes mouse input from its bar and executes its command by
// notifying the bar's site window. It belongs to one controls collection,
// which belongs to one bar, and is reference counted: whoever executes or
// tracks it holds a reference, since the command may remove it.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/accessibility/QVTAccessible.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBar;
class CQVTCommandBars;
class CQVTControls;
class CQVTControlAction;
class CQVTImageManager;
class CQVTImageManagerIcon;
class CQVTPaintManager;
class CQVTRibbonGroup;
class CQVTCommandBarList;
class CQVTPropExchange;
struct QVT_BARS_EXCHANGE_PARAM;

class CQVTControl : public CQVTCmdTarget, public CQVTAccessible
{
    DECLARE_SERIAL(CQVTControl)

public:
    // Document template ids a control is assigned to or excluded from.
    class CDocTemplateMap : public CMap<UINT, UINT, BOOL, BOOL>
    {
    public:
        void Copy(const CDocTemplateMap& other);
    };

    CQVTControl();
    ~CQVTControl() override;

    // Texts; a custom caption wins over the caption.
    virtual CString GetCaption() const;
    virtual CString GetDescription() const;
    virtual CString GetTooltip() const;

    virtual void SetBeginGroup(BOOL bBeginGroup);
    virtual void SetEnabled(int bEnabled);
    virtual void OnEnabledChanged() {}
    virtual void SetChecked(int bChecked);
    virtual int GetSelected() const { return m_bSelected; }
    virtual void SetFocused(BOOL bFocused) {}
    virtual BOOL GetFocused() const { return FALSE; }
    virtual int GetPressed() const { return m_bPressed; }
    virtual void SetRect(CRect rcControl);
    // Visible unless a hide flag outside the mask is set.
    virtual BOOL IsVisible(DWORD dwSkipFlags = 0) const;
    virtual BOOL IsCaptionVisible() const;
    virtual BOOL Compare(CQVTControl* pOther);
    // The bar the control opens; null for plain controls.
    virtual CQVTCommandBar* GetCommandBar() const { return nullptr; }
    virtual BOOL IsTransparent() const { return FALSE; }
    virtual void SetHideFlags(DWORD dwFlags);
    virtual BOOL IsColumnFillAllowed(int nIndex) const { return TRUE; }
    virtual void OnExecute();
    virtual CSize GetSize(CDC* pDC);
    virtual CSize Draw(CDC* pDC);
    virtual void OnCalcDynamicSize(DWORD dwMode) {}
    virtual CQVTImageManagerIcon* GetImage(int nWidth = 0) const;
    virtual void OnUnderlineActivate() { OnExecute(); }
    virtual BOOL GetPopuped() const { return FALSE; }
    virtual void SetAction(CQVTControlAction* pAction);
    // An action linking the control takes over its texts and enabled state.
    void PrepareForAction(int nId);
    virtual void OnThemeChanged() {}
    virtual void SetWidth(int nWidth);
    virtual void SetHeight(int nHeight);
    virtual CSize GetButtonSize() const;
    virtual CSize GetIconSize() const;
    virtual void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE);
    virtual void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) {}
    virtual BOOL IsCustomizeMode() const;
    virtual BOOL IsFocusable() const { return FALSE; }
    virtual BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) { return FALSE; }
    virtual BOOL OnHookMouseWheel(WPARAM wParam, LPARAM lParam) { return FALSE; }
    virtual void SetParent(CQVTCommandBar* pParent) { m_pParent = pParent; }
    virtual BOOL OnSetPopup(BOOL bPopup) { return FALSE; }
    virtual void OnLButtonUp(CPoint point) {}
    virtual void OnLButtonDown(CPoint point);
    virtual BOOL OnRButtonDown(CPoint point) { return FALSE; }
    virtual BOOL OnRButtonUp(CPoint point) { return FALSE; }
    virtual BOOL OnLButtonDblClk(CPoint point);
    virtual void OnMouseMove(CPoint point) {}
    virtual void OnMouseHover();
    virtual BOOL OnSetSelected(int bSelected);
    virtual void CustomizeStartDrag(CPoint point);
    virtual BOOL CustomizeStartResize(CPoint point);
    virtual void OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point);
    virtual BOOL IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint point, DWORD& dropEffect)
    {
        return TRUE;
    }
    virtual BOOL IsCustomizeDropAvail(CQVTCommandBar* pCommandBar, CPoint point, DWORD& dropEffect)
    {
        return IsCustomizeDragOverAvail(pCommandBar, point, dropEffect);
    }
    virtual BOOL IsCustomizeResizeAllow() const { return FALSE; }
    virtual int GetCustomizeMinWidth() const { return 0; }
    virtual int GetCustomizeMinHeight() const { return 0; }
    virtual void OnIdleUpdate() {}
    virtual void OnRemoved();
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) { return -1; }
    virtual void OnActionChanged(int nProperty);
    virtual void OnActionChanging(int nProperty) {}
    virtual void OnCaptionChanged() {}
    virtual CQVTControl* Clone(BOOL bRecursive = FALSE);
    // The saved layout (QVTControlsExchange.cpp).
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    virtual void GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                        QVT_BARS_EXCHANGE_PARAM* pParam)
    {
    }
    virtual void RestoreCommandBarList(CQVTCommandBarList* pCommandBarList) {}
    virtual void OnLoaded() {}

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Captions split at a tab: the part after it is the automatic shortcut.
    void SetCaption(LPCTSTR lpszCaption);
    void SetCaption(UINT nIDString);
    void SetCustomCaption(LPCTSTR lpszCaption);
    // "description\ntooltip\ncaption\nkeyboard tip".
    void SetPrompt(LPCTSTR lpszPrompt);
    void SetID(int nId);
    void SetVisible(BOOL bVisible);
    void SetUsageMark(BOOL bMark);
    void SetItemDefault(BOOL bDefault);
    BOOL IsItemDefault() const { return m_bDefaultItem; }
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    DWORD GetFlags() const { return m_dwFlags; }
    void SetStyle(int nStyle);
    void SetTooltip(LPCTSTR lpszTooltip) { m_strTooltipText = lpszTooltip; }
    void SetDescription(LPCTSTR lpszDescription) { m_strDescriptionText = lpszDescription; }
    void SetShortcutText(LPCTSTR lpszShortcut);
    void SetParameter(LPCTSTR lpszParameter) { m_strParameter = lpszParameter; }
    void SetIconId(int nId) { m_nIconId = nId; }
    void SetCustomIcon(int nId) { m_nCustomIconId = nId; }
    void SetHelpId(int nId) { m_nHelpId = nId; }
    void SetTag(DWORD_PTR dwTag) { m_nTag = dwTag; }
    void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
    void SetExecuteOnPressInterval(int nInterval) { m_nExecuteOnPressInterval = nInterval; }
    void SetCloseSubMenuOnClick(BOOL bClose) { m_bCloseSubMenuOnClick = bClose; }
    void SetIconSize(CSize sz) { m_szIcon = sz; }
    void SetWrap(BOOL bWrap) { m_bWrap = bWrap; }
    void SetRowRect(CRect rc) { m_rcRow = rc; }
    void SetPressed(int nPressed) { m_bPressed = nPressed; }
    void SetType(int nType) { m_controlType = nType; }

    int GetEnabled() const;
    int GetChecked() const;
    int GetStyle() const;
    CString GetShortcutText() const;
    // The shortcut the popup layout shows: the user's, then the action's, then
    // the one set by code.
    CString GetDisplayedShortcutText() const;
    CString GetKeyboardTip() const;
    void SetKeyboardTip(LPCTSTR lpszTip) { m_strKeyboardTip = lpszTip; }
    // -1: the bar's style.
    void SetCustomStyle(int nStyle) { m_buttonCustomStyle = nStyle; }
    int GetCustomStyle() const { return m_buttonCustomStyle; }
    CString GetParameter() const { return m_strParameter; }
    CString GetCustomCaption() const { return m_strCustomCaption; }
    int GetID() const { return m_nId; }
    int GetIconId() const;
    int GetHelpId() const { return m_nHelpId; }
    // The help id, else the action's help id, else the action's id, else the
    // control's id.
    int GetHelpContextId() const;
    DWORD_PTR GetTag() const { return m_nTag; }
    int GetIndex() const { return m_nIndex; }
    int GetType() const { return m_controlType; }
    BOOL GetBeginGroup() const { return m_bBeginGroup; }
    BOOL GetWrap() const { return m_bWrap; }
    BOOL IsTemporary() const { return m_bTemporary; }
    DWORD GetHideFlags() const { return m_dwHideFlags; }
    CRect GetRect() const { return m_rcControl; }
    CRect GetRowRect() const { return m_rcRow; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetExecuteOnPressInterval() const { return m_nExecuteOnPressInterval; }
    BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
    BOOL GetUsageMark() const { return m_bUsageMark; }
    CQVTControlAction* GetAction() const { return m_pAction; }
    CQVTCommandBar* GetParent() const { return m_pParent; }
    CQVTControls* GetControls() const { return m_pControls; }
    CDocTemplateMap& GetDocTemplatesAssigned() { return m_mapDocTemplatesAssigned; }
    CDocTemplateMap& GetDocTemplatesExcluded() { return m_mapDocTemplatesExcluded; }

    // The ribbon group the control belongs to; null outside one.
    CQVTRibbonGroup* GetRibbonGroup() const { return m_pRibbonGroup; }
    void SetRibbonGroup(CQVTRibbonGroup* pGroup) { m_pRibbonGroup = pGroup; }
    // The style a ribbon group's layout gives a control whose own style is
    // automatic.
    int GetOwnStyle() const { return m_buttonStyle; }
    int GetRibbonStyle() const { return m_buttonRibbonStyle; }
    void SetRibbonStyle(int nStyle) { m_buttonRibbonStyle = nStyle; }

    CQVTImageManager* GetImageManager() const;
    CQVTPaintManager* GetPaintManager() const;
    CQVTCommandBars* GetCommandBars() const;

    void DelayLayoutParent();
    void RedrawParent(BOOL bAnimate = TRUE);
    BOOL IsCursorOver() const;

    // Sends the notification to the site; a zero answer goes through the
    // site's command routing as WM_NOTIFY.
    LRESULT NotifySite(UINT code);
    LRESULT NotifySite(CWnd* pSite, UINT code, NMHDR* pNM);
    // Notification 100, then WM_COMMAND when nobody answered it.
    void ExecuteCommand();

    // A pressed button's own message loop; an empty rectangle means the
    // control's. Ends on the release, on the loss of capture or the parent,
    // and on WM_QUIT, which it posts again.
    void TrackClick(CRect rcTrack = CRect(0, 0, 0, 0));

    // The caption's mnemonic character, empty without one.
    CString GetMnemonicCharacter() const;
    // The caption without mnemonic marks, then a tab and the shortcut text
    // when there is one.
    CString GetAccessibleText() const;

    // The accessible face of one control.
    CCmdTarget* GetAccessibleCmdTarget() override { return this; }
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                               VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
    // The accessible object of this control, with a reference for the caller.
    IDispatch* GetAccessibleDispatch();

    enum
    {
        // The repeat timer of a held button.
        TIMER_EXECUTE_ON_PRESS = 4269
    };

protected:
    friend class CQVTControls;
    friend class CQVTCommandBar;
    DECLARE_INTERFACE_MAP()

    DWORD_PTR m_nTag;     // free user value; menu items put their item data here
    int m_nIndex;         // position in the collection, kept by it
    int m_nId;            // command id
    int m_nIconId;        // icon id when it differs from the command id
    int m_nHelpId;        // help context id
    int m_nCustomIconId;  // icon chosen by the user
    BOOL m_bWrap;         // starts a new row, set by the row layout
    BOOL m_bBeginGroup;   // a separator is drawn before the control
    int m_bEnabled;       // 1, 0, or -1 taken from the action
    int m_bChecked;       // 0, non-zero, or -1 taken from the action
    int m_bSelected;      // 0 none, 1 by the mouse, 2 and up by the keyboard
    int m_bPressed;       // 0 up, 1 held, 2 executing
    BOOL m_bTemporary;    // skipped by copies and keyboard navigation
    CRect m_rcRow;        // the row the layout placed the control in
    CRect m_rcControl;    // in the parent bar's client coordinates
    DWORD m_dwHideFlags;  // QVTHideFlags
    DWORD m_dwFlags;      // QVTControlFlags
    CString m_strCaption;
    CString m_strCustomCaption;
    CString m_strShortcutText;
    CString m_strShortcutTextAuto;  // the part of a caption after a tab
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strParameter;
    CString m_strKeyboardTip;
    CQVTControls* m_pControls;  // owning collection
    int m_controlType;          // QVTControlType
    CQVTCommandBar* m_pParent;  // parent bar
    BOOL m_bUsageMark;          // kept by the popup bar's rarely-used logic
    CString m_strCustomShortcutText;
    CString m_strCategory;
    BOOL m_bDefaultItem;  // drawn bold
    CDocTemplateMap m_mapDocTemplatesAssigned;
    CDocTemplateMap m_mapDocTemplatesExcluded;
    int m_buttonStyle;
    int m_buttonCustomStyle;  // -1 none
    int m_buttonRibbonStyle;  // set by the bar's layout
    BOOL m_bCloseSubMenuOnClick;
    CQVTControlAction* m_pAction;  // linked action, not owned
    int m_nWidth;
    int m_nHeight;
    int m_nExecuteOnPressInterval;              // ms between repeats while held; 0 off
    CSize m_szIcon;                             // (0, 0): the bar's
    CQVTRibbonGroup* m_pRibbonGroup = nullptr;  // set by the group; never copied
};

// Reference held for the length of a block; the control may be released
// (and freed) by whatever the block runs.
class CQVTControlRef
{
public:
    explicit CQVTControlRef(CQVTControl* pControl) : m_pControl(pControl)
    {
        if (m_pControl)
            m_pControl->InternalAddRef();
    }
    ~CQVTControlRef()
    {
        if (m_pControl)
            m_pControl->InternalRelease();
    }
    CQVTControlRef(const CQVTControlRef&) = delete;
    CQVTControlRef& operator=(const CQVTControlRef&) = delete;

private:
    CQVTControl* m_pControl;
};
