// Controls that put something other than a drawn button on a bar: a custom
// control hosting a window the application made (re-parented, placed inside
// its borders, shown, hidden and enabled with the control, its mouse moves
// reaching the bar), and a progress control measured by the theme.
#include <afxwin.h>
#include <afxext.h>

#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/controls/QVTControlCustom.h"
#include "toolkit/commandbars/controls/QVTControlProgress.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CustomControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Never shown: the windows inside keep their own visibility bits.
        ASSERT_TRUE(m_site.CreateEx(0, AfxRegisterWndClass(0), _T("Site"), WS_POPUP, CRect(0, 0, 400, 200),
                                    nullptr, 0));
        m_pBar = new CTestBar();
        m_pBar->m_pParentWnd = &m_site;
        ASSERT_TRUE(m_pBar->Create(qvtBarTop));
        m_pBar->MoveWindow(0, 0, 400, 40);
        // The hosted window starts as a popup of the site, as a dialog might make it.
        ASSERT_TRUE(
            m_edit.CreateEx(0, _T("EDIT"), _T("42"), WS_POPUP | WS_BORDER, CRect(0, 0, 50, 20), &m_site, 0));
        m_pCustom = static_cast<CQVTControlCustom*>(m_pBar->GetControls()->AddByType(qvtControlCustom, 2001));
        ASSERT_NE(nullptr, m_pCustom);
        m_pCustom->SetControl(m_edit.GetSafeHwnd());
        m_pCustom->SetSize(CSize(60, 22));
        m_pCustom->SetBorders(2, 3, 4, 5);
    }
    void TearDown() override
    {
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        m_edit.DestroyWindow();
        m_site.DestroyWindow();
    }
    CRect EditRectInBar() const
    {
        CRect rc;
        m_edit.GetWindowRect(&rc);
        m_pBar->ScreenToClient(&rc);
        return rc;
    }
    BOOL EditShown() const { return (m_edit.GetStyle() & WS_VISIBLE) != 0; }

    CWnd m_site;
    CWnd m_edit;
    CTestBar* m_pBar = nullptr;
    CQVTControlCustom* m_pCustom = nullptr;
};

namespace {

TEST_F(CustomControl, WindowMovesIntoTheBarInsideItsBorders)
{
    EXPECT_EQ(qvtControlButton, m_pCustom->GetType()) << "made as type 7, reports the button's type";
    EXPECT_TRUE(m_pCustom->GetFlags() & qvtFlagNoMovable);
    CClientDC dc(m_pBar);
    EXPECT_EQ(CSize(60 + 6, 22 + 8), m_pCustom->GetSize(&dc));

    m_pBar->Layout(400);
    const CRect rcControl = m_pCustom->GetRect();
    EXPECT_EQ(CSize(66, 30), rcControl.Size());
    EXPECT_EQ(m_pBar->GetSafeHwnd(), ::GetParent(m_edit.GetSafeHwnd()));
    EXPECT_TRUE(m_edit.GetStyle() & WS_CHILD);
    EXPECT_FALSE(m_edit.GetStyle() & WS_POPUP);
    EXPECT_EQ(CRect(rcControl.left + 2, rcControl.top + 3, rcControl.right - 4, rcControl.bottom - 5),
              EditRectInBar());
    EXPECT_TRUE(EditShown());

    // A copy hosts the very same window.
    CQVTControl* pCopy = m_pCustom->Clone();
    EXPECT_EQ(m_edit.GetSafeHwnd(), static_cast<CQVTControlCustom*>(pCopy)->GetControl());
    EXPECT_EQ(CRect(2, 3, 4, 5), static_cast<CQVTControlCustom*>(pCopy)->GetBorders());
    pCopy->InternalRelease();
}

TEST_F(CustomControl, ShownHiddenAndEnabledWithTheControl)
{
    m_pBar->Layout(400);
    ASSERT_TRUE(EditShown());
    m_pCustom->SetEnabled(FALSE);
    EXPECT_FALSE(m_edit.IsWindowEnabled());
    m_pCustom->SetEnabled(TRUE);
    EXPECT_TRUE(m_edit.IsWindowEnabled());

    m_pCustom->SetVisible(FALSE);
    EXPECT_FALSE(EditShown());
    m_pCustom->SetVisible(TRUE);
    EXPECT_TRUE(EditShown());

    // Docked vertically: option 0 hides the control, option 2 only its window.
    m_pCustom->OnCalcDynamicSize(LM_VERTDOCK);
    EXPECT_FALSE(m_pCustom->IsVisible());
    EXPECT_FALSE(EditShown());
    m_pCustom->OnCalcDynamicSize(LM_HORZDOCK);
    EXPECT_TRUE(m_pCustom->IsVisible());
    EXPECT_TRUE(EditShown());

    m_pCustom->SetVerticalPositionOption(2);
    m_pCustom->OnCalcDynamicSize(LM_VERTDOCK);
    EXPECT_TRUE(m_pCustom->IsVisible()) << "keeps its place";
    EXPECT_FALSE(EditShown());
    CClientDC dc(m_pBar);
    EXPECT_NE(CSize(66, 30), m_pCustom->GetSize(&dc)) << "measured as a button meanwhile";
    m_pCustom->OnCalcDynamicSize(LM_HORZDOCK);
    EXPECT_TRUE(EditShown());

    m_pCustom->SetVerticalPositionOption(1);
    m_pCustom->OnCalcDynamicSize(LM_VERTDOCK);
    EXPECT_TRUE(EditShown()) << "option 1 stays as it is";

    // Removed from the bar, the window hides; it stays the application's.
    m_pBar->GetControls()->Remove(m_pCustom);
    EXPECT_FALSE(EditShown());
    EXPECT_TRUE(::IsWindow(m_edit.GetSafeHwnd()));
}

TEST_F(CustomControl, MouseMovesOverTheWindowHotTrackTheBar)
{
    CQVTControl* pButton = m_pBar->GetControls()->AddByType(qvtControlButton, 2002);
    pButton->SetCaption(_T("Go"));
    m_pBar->Layout(400);
    ASSERT_NE(-1, m_pCustom->GetIndex());
    // As in a popup, which hot-tracks while the application is not active.
    m_pBar->SetPosition(qvtBarPopup);
    m_edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_pCustom->GetIndex(), m_pBar->GetSelectedIndex());
}

TEST(ProgressControl, SizesFromTheThemeAndCopiesItsRange)
{
    CQVTControlProgress progress;
    EXPECT_EQ(CQVTPaintManager::DpiX(100), progress.GetWidth());
    CClientDC dc(nullptr);
    EXPECT_EQ(CSize(CQVTPaintManager::DpiX(100), QVTPaintManager()->GetProgressPaintManager()->m_cyProgress),
              progress.GetSize(&dc));
    progress.SetHeight(7);
    EXPECT_EQ(7, progress.GetSize(&dc).cy);

    progress.SetRange(10, 20);
    progress.SetPos(15);
    CQVTControl* pClone = progress.Clone();
    CQVTControlProgress* pCopy = DYNAMIC_DOWNCAST(CQVTControlProgress, pClone);
    ASSERT_NE(nullptr, pCopy);
    int nLower = 0, nUpper = 0;
    pCopy->GetRange(nLower, nUpper);
    EXPECT_EQ(10, nLower);
    EXPECT_EQ(20, nUpper);
    EXPECT_EQ(15, pCopy->GetPos());
    pClone->InternalRelease();
}

}  // namespace
