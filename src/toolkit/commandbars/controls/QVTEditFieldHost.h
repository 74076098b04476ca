// The edit field a control places on its bar: the edit window, the text it
// keeps while no window exists, the grey hint an empty unfocused field
// shows, the window's colours and visibility. Edit controls and combo boxes
// both host one.
#pragma once

#include <richedit.h>

#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"

class CQVTEditFieldHost : public CQVTEditCtrlHost
{
public:
    CQVTEditFieldHost();
    ~CQVTEditFieldHost() override;
    CQVTEditFieldHost(const CQVTEditFieldHost&) = delete;
    CQVTEditFieldHost& operator=(const CQVTEditFieldHost&) = delete;

    // The text; the hint shown in an empty field counts as empty.
    CString GetEditText() const;
    // Writes the window only when the text differs.
    void SetEditText(const CString& strText);
    // The text, or the hint when the text is empty and the field unfocused.
    void SetText(const CString& strText);
    virtual CString GetEditHint() const;
    BOOL HasFocus() const;
    void SetEditIconId(int nId);
    int GetEditIconId() const { return m_nEditIconId; }
    void SetTextLimit(int nLimit);
    int GetTextLimit() const { return m_nTextLimit; }
    void SetEditStyle(DWORD dwStyle);
    DWORD GetEditStyle() const { return m_dwEditStyle; }
    int GetLabelWidth() const { return m_nLabelWidth; }
    virtual void SetLabelWidth(int nLabelWidth);

    virtual CQVTControlEditCtrl* CreateEditCtrl() = 0;
    virtual void GetEditCharFormat(CHARFORMAT2W& cf);
    virtual void AdjustEditIconRect(CRect& rc);
    virtual void OnEditChanged() = 0;

    // CQVTEditCtrlHost
    void OnEditTextChange(BOOL bByCode) override;
    void OnEditDestroy(const CString& strText) override;

protected:
    // Drops a window that lost its bar or must be made again; TRUE when the
    // field is to be placed at the new rectangle.
    BOOL BeginEditPlacement(const CRect& rcNew);
    // Makes the window when there is none (bCreated tells), then gives it
    // the font, the text or hint and the colours; FALSE without a window.
    BOOL PrepareEditWindow(BOOL& bCreated);
    // The window at its rectangle, after the icon, shown with the control.
    void MoveEditWindow(CRect rcEdit);
    void RefreshColors();
    void UpdateVisibility();
    void DestroyEditWindow();
    BOOL IsHintShown() const { return m_bHintShown; }
    // A field that shows the hint is emptied (before it takes the focus or
    // another hint).
    void ClearHint();

    CQVTControlEditCtrl* m_pEdit;  // made on the first placement
    BOOL m_bFocused;
    BOOL m_bRebuild;        // the window is made again at the next placement
    BOOL m_bLayoutDirty;    // label width, icon or theme changed
    int m_nLabelWidth;      // room left of the field
    CString m_strEditHint;  // grey text while empty and unfocused
    mutable CString m_strCachedText;
    mutable BOOL m_bCacheStale;  // the window's text is read next time
    BOOL m_bHintShown;           // the window shows the hint, not a text
    DWORD m_dwEditStyle;         // added to the window's style
    int m_nEditIconId;           // drawn left of the text when above 0
    int m_nTextLimit;            // EM_LIMITTEXT when not 0
    HWND m_hwndFocusBefore;      // gets the focus back when the field gives it up
};
