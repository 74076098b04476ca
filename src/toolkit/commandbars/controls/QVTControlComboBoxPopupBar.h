#pragma once

#include "toolkit/commandbars/bars/QVTPopupBar.h"

class CQVTControlComboBox;

// The list popup of a combo box; this base answers every list operation with
// "none".
class CQVTControlComboBoxPopupBar : public CQVTPopupBar
{
    DECLARE_SERIAL(CQVTControlComboBoxPopupBar)

public:
    virtual int GetCurSel() const { return -1; }
    virtual int FindString(int nStartAfter, LPCTSTR lpszItem) const { return -1; }
    virtual int FindStringExact(int nStartAfter, LPCTSTR lpszItem) const { return -1; }
    virtual int SetTopIndex(int nIndex) { return -1; }
    virtual void SetCurSel(int nIndex) {}
    virtual void GetText(int nIndex, CString& strText) const {}
    // A key while the combo box holds the focus; TRUE when taken.
    virtual BOOL ProcessHookKeyDown(CQVTControlComboBox* pComboBox, UINT nChar, LPARAM lParam);
    virtual int GetCount() const { return -1; }

    CQVTControlComboBox* GetComboBox() const;
};
