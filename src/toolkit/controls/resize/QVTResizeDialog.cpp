#include "toolkit/controls/resize/QVTResizeDialog.h"

IMPLEMENT_DYNCREATE(CQVTResizeDialog, CDialog)
IMPLEMENT_DYNAMIC(CQVTResizeGroupBox, CButton)

BEGIN_MESSAGE_MAP(CQVTResizeDialog, CDialog)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQVTResizeDialog::CQVTResizeDialog() : CQVTResize(this, 0) {}

BOOL CQVTResizeDialog::OnInitDialog()
{
    // A dialog the user cannot size has nothing to grip.
    if (!(GetStyle() & WS_THICKFRAME))
        SetFlag(flagNoSizeIcon);
    CDialog::OnInitDialog();
    Init();
    return TRUE;
}

void CQVTResizeDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    Size();
}

void CQVTResizeDialog::OnGetMinMaxInfo(MINMAXINFO* pMMI)
{
    GetMinMaxInfo(pMMI);
}

void CQVTResizeDialog::OnDestroy()
{
    if (!m_strSection.IsEmpty())
        SavePlacement(m_strSection);
    CDialog::OnDestroy();
}
