// A common dialog's OK and Cancel leave ending the dialog to the system
// function that runs it: OK only takes the controls' data.
#include <afxdlgs.h>

#include "dialogs_resource.h"
#include "sondrel_gtest.h"

namespace {

class CSystemRunDlg : public CCommonDialog
{
public:
    CSystemRunDlg() : CCommonDialog(nullptr) {}
    CString m_strName;
    int m_nExchanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (pDX->m_bSaveAndValidate)
            ++m_nExchanges;
        DDX_Text(pDX, IDC_NAME, m_strName);
    }
};

}  // namespace

TEST(CommonDialog, OkTakesTheDataAndNeitherButtonEndsTheDialog)
{
    CSystemRunDlg dlg;
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_EQ(dlg.m_lpszTemplateName, nullptr);
    ASSERT_TRUE(dlg.Create(IDD_SETTINGS, nullptr));
    dlg.SetDlgItemText(IDC_NAME, _T("typed"));

    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(dlg.m_nExchanges, 1);
    EXPECT_EQ(dlg.m_strName, CString(_T("typed")));

    dlg.SetDlgItemText(IDC_NAME, _T("dropped"));
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(dlg.m_strName, CString(_T("typed")));
    dlg.DestroyWindow();
}
