#pragma once

#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"

// The edit window of an editable combo box: the edit control's window,
// which also closes the combo's list when the shell's suggestions show.
class CQVTControlComboBoxEditCtrl : public CQVTControlEditCtrl
{
    DECLARE_DYNAMIC(CQVTControlComboBoxEditCtrl)

public:
    enum
    {
        // Posted when the shell's suggestion list shows.
        WM_QVT_AUTOSUGGESTSHOWN = 10354
    };

protected:
    afx_msg LRESULT OnAutoSuggestShown(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
