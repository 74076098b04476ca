// The command-bar control that hosts a real edit window on a toolbar or in
// a popup: an optional label and icon, the edit window, and at the right
// edge optional spin buttons (held, they step faster and faster) and a
// buddy button. It reports to the site with the edit notification codes.
#pragma once

#include <richedit.h>

#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"
#include "toolkit/commandbars/controls/QVTControl.h"

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

class CQVTControlEdit : public CQVTControl, public CQVTEditCtrlHost
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

    // The text; the hint shown in an empty edit counts as empty.
    CString GetEditText() const;
    // Writes the window only when the text differs.
    void SetEditText(const CString& strText);
    // The text, or the hint when the text is empty.
    void SetText(const CString& strText);
    void SetEditHint(LPCTSTR lpszHint);
    CString GetEditHint() const;
    void SetReadOnly(BOOL bReadOnly);
    BOOL GetReadOnly() const { return m_bReadOnly; }
    void SetNumbersOnly(BOOL bNumbersOnly);
    BOOL IsNumbersOnly() const { return m_bNumbersOnly; }
    void SetShowSpinButtons(BOOL bShow);
    BOOL IsSpinButtonsVisible() const { return m_bShowSpinButtons; }
    void SetBuddyButtonId(int nId);
    int GetBuddyButtonId() const { return m_nBuddyButtonId; }
    void SetEditIconId(int nId);
    int GetEditIconId() const { return m_nEditIconId; }
    void SetTextLimit(int nLimit);
    int GetTextLimit() const { return m_nTextLimit; }
    void SetEditStyle(DWORD dwStyle);
    DWORD GetEditStyle() const { return m_dwEditStyle; }
    void ShowLabel(BOOL bShow);
    BOOL IsLabelVisible() const { return m_bLabel; }
    // Shell auto-completion flags for the window (0 off).
    BOOL SetShellAutoComplete(DWORD dwFlags);
    DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
    CQVTControlEditCtrl* GetEditCtrl() const { return m_pEdit; }
    BOOL HasFocus() const;
    // Parts in the parent bar's coordinates.
    CRect GetSpinButtonsRect() const;
    CRect GetBuddyButtonRect() const;
    int GetLabelWidth() const { return m_nLabelWidth; }

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

    virtual CQVTControlEditCtrl* CreateEditCtrl();
    virtual void SetLabelWidth(int nLabelWidth);
    virtual void DrawEditIcon(CDC* pDC, CRect rc);
    // CQVTEditCtrlHost
    CQVTControl* GetEditHostControl() override { return this; }
    void OnEditSetFocus(HWND hWndPrevious) override;
    void OnEditKillFocus() override;
    void OnEditTextChange(BOOL bByCode) override;
    void OnEditDestroy(const CString& strText) override;
    virtual void AdjustEditIconRect(CRect& rc);
    virtual void OnEditChanged();
    virtual void GetEditCharFormat(CHARFORMAT2W& cf);
    virtual void OnSpin(int nStep, int nDirection);

    // The text after a step of the spin buttons, from the text before: the
    // value moves by step times direction, then back towards where it came
    // from to the nearest multiple of step, within the range of an int.
    static CString AFX_CDECL SpinText(const CString& strText, int nStep, int nDirection);

protected:
    void UpdateEditWindow();
    void UpdateVisibility();
    void RefreshColors();
    void DestroyEditWindow();
    BOOL IsHintShown() const;
    void RunSpinLoop(int nPart);
    void RunBuddyLoop();
    void SetSelectedPart(int nPart);

    CQVTControlEditCtrl* m_pEdit;  // made on the first placement
    BOOL m_bLabel;                 // the caption shows as a label
    BOOL m_bReadOnly;
    int m_nLabelWidth;         // room left of the edit
    BOOL m_bLayoutDirty;       // label width or theme changed
    BOOL m_bRebuild;           // the window is made again at the next placement
    CString m_strEditHint;     // grey text while empty and unfocused
    CString m_strTextAtFocus;  // Escape puts it back
    mutable CString m_strCachedText;
    mutable BOOL m_bCacheStale;  // the window's text is read next time
    BOOL m_bFocused;
    DWORD m_dwShellAutoCompleteFlags;
    DWORD m_dwEditStyle;  // added to the window's style
    BOOL m_bShowSpinButtons;
    int m_nEditIconId;       // drawn left of the edit when above 0
    int m_nTextLimit;        // EM_LIMITTEXT when not 0
    int m_nBuddyButtonId;    // a buddy button when above 0
    BOOL m_bNumbersOnly;     // digits only
    HWND m_hwndFocusBefore;  // gets the focus back when the edit gives it up
    BOOL m_bHintShown;       // the window shows the hint, not a text
};
