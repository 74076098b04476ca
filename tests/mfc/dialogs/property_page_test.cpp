// A page a host switches to and from: the first activation leaves the
// controls as the dialog's start filled them, later ones put the members
// back, and leaving takes the controls' data into the members.
#include <afxdlgs.h>

#include "dialogs_resource.h"
#include "sondrel_gtest.h"

namespace {

class CNamePage : public CPropertyPage
{
public:
    CNamePage() : CPropertyPage(IDD_SETTINGS) {}

    CString m_strName = _T("Alice");

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_strName); }
};

CString PageName(CWnd& page)
{
    CString strName;
    page.GetDlgItemText(IDC_NAME, strName);
    return strName;
}

}  // namespace

TEST(PropertyPage, ActivationPutsMembersBackAfterTheFirstAndLeavingTakesTheControls)
{
    CNamePage page;
    ASSERT_TRUE(page.Create(IDD_SETTINGS));
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CDialog)));
    ASSERT_EQ(CString(_T("Alice")), PageName(page));

    // The first activation keeps what the user may already have typed.
    page.SetDlgItemText(IDC_NAME, _T("Bob"));
    page.m_strName = _T("Carol");
    EXPECT_TRUE(page.OnSetActive());
    EXPECT_EQ(CString(_T("Bob")), PageName(page));

    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(CString(_T("Bob")), page.m_strName);

    page.m_strName = _T("Dave");
    EXPECT_TRUE(page.OnSetActive());
    EXPECT_EQ(CString(_T("Dave")), PageName(page));
    EXPECT_TRUE(page.DestroyWindow());
}
