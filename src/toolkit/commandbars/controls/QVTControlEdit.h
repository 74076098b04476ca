// The command-bar control that hosts a real edit window on a toolbar or in
// a popup: an optional label and icon, the edit window, and at the right
// edge optional spin buttons (held, they step faster and faster) and a
// buddy button. It reports to the site with the edit notification codes.
#pragma once

#include <richedit.h>

#include <memory>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTEditFieldHost.h"

class CQVTControlComboBoxAutoCompleteWnd;
class CQVTPropExchange;

// Notification codes of edit controls beyond the system's EN_ codes.
enum QVTEditNotify : UINT
{
    QVT_EN_SPINUP = 4104,
    QVT_EN_SPINDOWN = 4105,
    QVT_EN_BUDDYBUTTONCLICK = 4106
};

// The record of a spin notification: the site that answers non-zero does the
// step itself.
struct NMQVTEDITSPIN : public NMQVTCONTROL
{
    int iDelta;  // step times direction
};

class CQVTControlEdit : public CQVTControl, public CQVTEditFieldHost
{
    DECLARE_SERIAL(CQVTControlEdit)

public:
    // The part under the mouse, held in the selected state.
    enum SelectedPart
    {
        partEdit = 1,
        partSpinUp = 4,
        partSpinDown = 5,
        partBuddy = 6
    };
    enum
    {
        TIMER_SPIN = 435
    };

    CQVTControlEdit();
    ~CQVTControlEdit() override;

    void SetEditHint(LPCTSTR lpszHint);
    void SetReadOnly(BOOL bReadOnly);
    BOOL GetReadOnly() const { return m_bReadOnly; }
    void SetNumbersOnly(BOOL bNumbersOnly);
    BOOL IsNumbersOnly() const { return m_bNumbersOnly; }
    void SetShowSpinButtons(BOOL bShow);
    BOOL IsSpinButtonsVisible() const { return m_bShowSpinButtons; }
    void SetBuddyButtonId(int nId);
    int GetBuddyButtonId() const { return m_nBuddyButtonId; }
    void ShowLabel(BOOL bShow);
    BOOL IsLabelVisible() const { return m_bLabel; }
    // Shell auto-completion flags for the window (0 off); FALSE when the
    // shell's completion cannot be bound to a window that exists.
    BOOL SetShellAutoComplete(DWORD dwFlags);
    DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
    CQVTControlEditCtrl* GetEditCtrl() const { return m_pEdit; }
    // Parts in the parent bar's coordinates.
    CRect GetSpinButtonsRect() const;
    CRect GetBuddyButtonRect() const;

    // CQVTControl
    void OnEnabledChanged() override;
    void SetFocused(BOOL bFocused) override;
    BOOL GetFocused() const override { return m_bFocused; }
    void SetRect(CRect rcControl) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(CQVTControl* pOther) override;
    void SetHideFlags(DWORD dwFlags) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void OnUnderlineActivate() override;
    void OnThemeChanged() override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL IsFocusable() const override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void SetParent(CQVTCommandBar* pParent) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int bSelected) override;
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }
    int GetCustomizeMinWidth() const override { return m_nLabelWidth + 10; }
    void OnRemoved() override;
    void OnActionChanged(int nProperty) override;
    void OnActionChanging(int nProperty) override;
    CQVTControl* Clone(BOOL bRecursive = FALSE) override;
    // The keys its state is saved under.
    void DoPropExchange(CQVTPropExchange* pPX) override;

    CQVTControlEditCtrl* CreateEditCtrl() override;
    virtual void DrawEditIcon(CDC* pDC, CRect rc);
    // CQVTEditCtrlHost
    CQVTControl* GetEditHostControl() override { return this; }
    void OnEditSetFocus(HWND hWndPrevious) override;
    void OnEditKillFocus() override;
    void OnEditChanged() override;
    virtual void OnSpin(int nStep, int nDirection);

    // The text after a step of the spin buttons, from the text before: the
    // value moves by step times direction, then back towards where it came
    // from to the nearest multiple of step, within the range of an int.
    static CString AFX_CDECL SpinText(const CString& strText, int nStep, int nDirection);

protected:
    void UpdateEditWindow();
    void RunSpinLoop(int nPart);
    void RunBuddyLoop();
    void SetSelectedPart(int nPart);

    BOOL m_bLabel;  // the caption shows as a label
    BOOL m_bReadOnly;
    CString m_strTextAtFocus;  // Escape puts it back
    DWORD m_dwShellAutoCompleteFlags;
    std::unique_ptr<CQVTControlComboBoxAutoCompleteWnd> m_pAutoComplete;  // bound to the window
    BOOL m_bShowSpinButtons;
    int m_nBuddyButtonId;  // a buddy button when above 0
    BOOL m_bNumbersOnly;   // digits only
};
