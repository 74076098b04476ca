// A dialog whose children follow its size by their anchors.
#pragma once

#include "toolkit/controls/resize/QVTResize.h"

class CQVTResizeDialog : public CDialog, public CQVTResize
{
    DECLARE_DYNCREATE(CQVTResizeDialog)

public:
    // The derived dialog sets the template.
    CQVTResizeDialog();

protected:
    BOOL OnInitDialog() override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pMMI);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// Group boxes of this class draw themselves and stay opaque.
class CQVTResizeGroupBox : public CButton
{
    DECLARE_DYNAMIC(CQVTResizeGroupBox)
};
