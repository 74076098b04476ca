// One command shown by several controls (a toolbar button, a menu item, a
// ribbon button of one id) keeps its texts and states once, in an action;
// the linked controls take what they do not hold themselves from it and are
// told when it changes. The command bars keep the actions of one bar set,
// sorted by id.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBars;
class CQVTControl;
class CQVTControlActions;

class CQVTControlAction : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTControlAction)

public:
    // What a change notification is about.
    enum Property
    {
        propertyEnabled = 0,
        propertyChecked = 1,
        propertyVisible = 2,
        propertyCaption = 3,
        propertyTooltip = 4,
        propertyDescription = 5,
        propertyIconId = 6,
        propertyShortcutText = 7,
        propertyKeyboardTip = 8
    };

    explicit CQVTControlAction(CQVTControlActions* pActions);
    ~CQVTControlAction() override;

    // Linking; the control's SetAction calls these.
    void AddControl(CQVTControl* pControl);
    void RemoveControl(CQVTControl* pControl);
    void RemoveAllControls();
    int GetControlCount() const { return static_cast<int>(m_arrControls.size()); }
    CQVTControl* GetControl(int nIndex) const;

    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    int GetIconId() const { return m_nIconId; }
    void SetIconId(int nIconId);
    int GetHelpId() const { return m_nHelpId; }
    void SetHelpId(int nHelpId) { m_nHelpId = nHelpId; }
    // Every action reads as enabled while the bars are in customize mode.
    BOOL GetEnabled() const;
    void SetEnabled(BOOL bEnabled);
    int GetChecked() const { return m_nChecked; }
    void SetChecked(int nChecked);
    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);

    CString GetCaption() const { return m_strCaption; }
    // Cut at the first tab, as menu texts carry their shortcut after one.
    void SetCaption(LPCTSTR lpszCaption);
    CString GetTooltip() const { return m_strTooltipText; }
    void SetTooltip(LPCTSTR lpszTooltip);
    CString GetDescription() const { return m_strDescriptionText; }
    void SetDescription(LPCTSTR lpszDescription);
    CString GetCategory() const { return m_strCategory; }
    void SetCategory(LPCTSTR lpszCategory) { m_strCategory = lpszCategory; }
    CString GetShortcutText() const { return m_strShortcutText; }
    void SetShortcutText(LPCTSTR lpszShortcut);
    CString GetKeyboardTip() const { return m_strKeyboardTip; }
    void SetKeyboardTip(LPCTSTR lpszKeyboardTip);
    // "description\ntooltip\ncaption\nkeyboard tip", as a control's.
    void SetPrompt(LPCTSTR lpszPrompt);

    void NotifyChanging(int nProperty);
    void NotifyChanged(int nProperty);
    // Every linked control's bar lays out again at the next idle pass.
    void RedrawControls();

    CQVTCommandBars* GetCommandBars() const;
    CQVTControlActions* GetActions() const { return m_pActions; }

protected:
    int m_nId;
    int m_nIconId;  // 0 or less: the id
    int m_nHelpId;
    BOOL m_bEnabled;
    int m_nChecked;
    BOOL m_bVisible;  // a hidden action hides its controls
    CString m_strCaption;
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strCategory;
    CString m_strShortcutText;
    CString m_strKeyboardTip;
    std::vector<CQVTControl*> m_arrControls;  // linked, not owned
    CQVTControlActions* m_pActions;           // the owning list
};

class CQVTControlActions : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTControlActions)

public:
    explicit CQVTControlActions(CQVTCommandBars* pCommandBars);
    ~CQVTControlActions() override;

    // Null for ids outside 1..268435454 and for ids without an action.
    CQVTControlAction* FindAction(int nId) const;
    // The action of the id, made (and owned by the list) when there is none.
    CQVTControlAction* Add(int nId);
    // Takes over the caller's reference; the id's prompt string is given to
    // the action.
    CQVTControlAction* Insert(int nId, CQVTControlAction* pAction);
    CQVTControlAction* GetAt(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_arrActions.size()); }
    // Unlinks every control of every action and releases the actions.
    void RemoveAll();

    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }

protected:
    std::vector<CQVTControlAction*> m_arrActions;  // by ascending id, one reference each
    CQVTCommandBars* m_pCommandBars;
};
