#pragma once

#include "toolkit/commandbars/controls/QVTControlComboBoxPopupBar.h"

class CQVTControlGallery;

// The popup of a gallery combo box: its first control is a gallery, and the
// combo box's list operations work on that gallery's items.
class CQVTControlComboBoxGalleryPopupBar : public CQVTControlComboBoxPopupBar
{
    DECLARE_SERIAL(CQVTControlComboBoxGalleryPopupBar)

public:
    // Takes one reference on a popup bar made for the combo box's bars.
    static CQVTControlComboBoxGalleryPopupBar* AFX_CDECL
    CreateComboBoxGalleryPopupBar(CQVTCommandBars* pCommandBars);

    CQVTControlGallery* GetGalleryItem() const;

    int GetCurSel() const override;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const override;
    int FindStringExact(int nStartAfter, LPCTSTR lpszItem) const override;
    int SetTopIndex(int nIndex) override;
    void SetCurSel(int nIndex) override;
    void GetText(int nIndex, CString& strText) const override;
    int GetCount() const override;

    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;

protected:
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
