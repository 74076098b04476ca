// The combo box of the command bars: a current text with a drop-down
// button that opens a list popup. As a drop-down list the text is the
// selected entry; editable, a child edit window sits over the text. The
// list is a popup bar hosting a real list box (or, for gallery combo boxes,
// a gallery); an editable box completes typed text from the list, or from
// the shell's auto-completion. Changes reach the site as the codes of
// QVTComboNotify.
#pragma once

#include <richedit.h>

#include "toolkit/commandbars/controls/QVTControlComboBoxEditCtrl.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxList.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTEditFieldHost.h"

class CQVTControlComboBoxAutoCompleteWnd;
class CQVTControlGallery;
class CQVTPropExchange;

// Codes the combo box sends its site.
enum QVTComboNotify : UINT
{
    QVT_CBN_SELCHANGE = 1,
    QVT_CBN_SETFOCUS = 3,
    QVT_CBN_KILLFOCUS = 4,
    QVT_CBN_EDITCHANGE = 5,
    QVT_CBN_DROPDOWN = 7,
    QVT_CBN_CLOSEUP = 8,
    QVT_CBN_SELENDOK = 9,
    QVT_CBN_SELENDCANCEL = 10
};

class CQVTControlComboBox : public CQVTControlPopup, public CQVTEditFieldHost
{
    DECLARE_SERIAL(CQVTControlComboBox)

public:
    // The part under the mouse, held in the selected state.
    enum
    {
        selectedText = 1,
        selectedDropDown = 5
    };

    explicit CQVTControlComboBox(CQVTCommandBars* pCommandBars = nullptr);
    ~CQVTControlComboBox() override;

    // Entries of the list.
    int AddString(LPCTSTR lpszItem);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    void DeleteItem(int nIndex);
    void ResetContent();
    int GetCount() const;
    CString GetLBText(int nIndex) const;
    void SetItemData(int nIndex, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nStartAfter, LPCTSTR lpszItem) const;
    int GetCurSel() const;
    void SetCurSel(int nIndex);

    // The text shown: the edit's, or the selected entry's.
    CString GetText() const;
    void SetEditHint(LPCTSTR lpszHint);
    void SetDropDownListStyle(BOOL bEditable = TRUE);
    BOOL GetDropDownListStyle() const { return m_bDropDown; }
    void SetStyle(int nComboStyle);
    int GetComboStyle() const { return m_nComboStyle; }
    void SetDropDownItemCount(int nCount) { m_nDropDownItemCount = nCount; }
    int GetDropDownItemCount() const { return m_nDropDownItemCount; }
    void SetAutoComplete(BOOL bAutoComplete) { m_bAutoComplete = bAutoComplete; }
    BOOL GetAutoComplete() const { return m_bAutoComplete; }
    HRESULT SetShellAutoComplete(DWORD dwFlags);
    DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
    int GetThumbWidth() const { return m_nThumbWidth; }
    void SetThumbWidth(int nThumbWidth);
    CQVTControlComboBoxEditCtrl* GetEditCtrl() const
    {
        return static_cast<CQVTControlComboBoxEditCtrl*>(m_pEdit);
    }
    // The drop-down button, in the parent bar's coordinates.
    CRect GetDropDownRect() const;
    CQVTControlComboBoxPopupBar* GetComboPopup() const;
    CQVTControlComboBoxList* GetComboList() const;
    // The list follows the text: the exact entry selected, else the first
    // that starts with it scrolled to the top and nothing selected.
    void UpdatePopupSelection();

    // CQVTControl
    void OnEnabledChanged() override;
    void SetFocused(BOOL bFocused) override;
    BOOL GetFocused() const override { return m_bFocused; }
    void SetRect(CRect rcControl) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(CQVTControl* pOther) override;
    void SetHideFlags(DWORD dwFlags) override;
    void OnExecute() override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void OnUnderlineActivate() override;
    void OnThemeChanged() override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL IsFocusable() const override { return TRUE; }
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    BOOL OnHookMouseWheel(WPARAM wParam, LPARAM lParam) override;
    void SetParent(CQVTCommandBar* pParent) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnMouseMove(CPoint point) override;
    void OnMouseHover() override {}
    BOOL OnSetSelected(int bSelected) override;
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }
    int GetCustomizeMinWidth() const override;
    void OnRemoved() override;
    void OnActionChanged(int nProperty) override;
    void OnActionChanging(int nProperty) override;
    CQVTControl* Clone(BOOL bRecursive = FALSE) override;
    CSize Draw(CDC* pDC) override;
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    // Only a list of its own kind: a forged block keeps the box's own list.
    BOOL CanTakeLoadedBar(CQVTCommandBar* pBar) const override;

    virtual CString GetListBoxText() const;
    virtual void DrawEditText(CDC* pDC, CRect rcText);
    void OnEditChanged() override;
    virtual void OnSelChanged();
    CQVTControlComboBoxEditCtrl* CreateEditCtrl() override;
    // CQVTEditCtrlHost
    CQVTControl* GetEditHostControl() override { return this; }
    void OnEditSetFocus(HWND hWndPrevious) override;
    void OnEditKillFocus() override;
    virtual void DrawListItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureListItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {}

    // The whole edit text selected and scrolled into view.
    void SelectEditText();
    // Shown while the popup is open or the edit is focused: the text and
    // the selection Escape puts back.
    int GetSelectionAtDrop() const { return m_nLastSel; }

protected:
    friend class CQVTControlComboBoxList;
    friend class CQVTControlComboBoxGalleryPopupBar;

    void UpdateEditWindow();
    // Keys the edit window takes as a dialog would pass them on; 2 when the
    // window is to get the key as it is.
    int EditKeyDown(UINT nChar, LPARAM lParam);

    BOOL m_bDropDown;       // editable
    int m_nComboStyle;      // 1: the caption is a label left of the box
    int m_nLastSel;         // list selection Escape puts back
    CString m_strLastText;  // text Escape puts back
    int m_nThumbWidth;      // the drop-down button
    BOOL m_bAutoComplete;
    BOOL m_bDelete;  // the last key deleted: no completion for it
    DWORD m_dwShellAutoCompleteFlags;
    BOOL m_bSelEndOk;  // executed since the popup opened or the focus came
    int m_nDropDownItemCount;
    CQVTControlComboBoxAutoCompleteWnd* m_pAutoComplete;  // while shell auto-complete is on
    int m_nCurSel;                                        // without a list popup bar
    BOOL m_bIgnoreSelection;                              // the text is being set from the list
};
