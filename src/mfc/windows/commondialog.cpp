// CCommonDialog: the framework's face of a dialog that a system function runs.
#include <afxdlgs.h>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

BEGIN_MESSAGE_MAP(CCommonDialog, CDialog)
END_MESSAGE_MAP()

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd) {}

void CCommonDialog::OnOK()
{
    // The system's dialog procedure ends the dialog once the data are valid.
    UpdateData(TRUE);
}

void CCommonDialog::OnCancel() {}
