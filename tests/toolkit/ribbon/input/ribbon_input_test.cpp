// The ribbon as a user meets it, with the real pointer: clicks on tabs
// switch them and hide the other tabs' groups, a double click on the
// current tab minimizes and restores the ribbon, the wheel over the ribbon
// turns its tabs, and hovering a group highlights it until the pointer
// leaves.
#include <afxext.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

namespace {

// Pumps through the bars' pre-translation, as the program's loop does.
template <class TCondition>
bool PumpHostUntil(TCondition condition, DWORD dwTimeout = 3000)
{
    const DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeout)
            return condition();
        PumpHost(10);
    }
    return true;
}

void WheelAt(CPoint pt, int nDelta)
{
    MouseMoveTo(pt);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(nDelta);
    ::SendInput(1, &input, sizeof(input));
}

}  // namespace

class RibbonInput : public CRibbonHostSuite<RibbonInput>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(120, 120, 940, 480), TRUE); }

protected:
    void SetUp() override
    {
        ResetHost(800, 320);
        s_pHost->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        s_pHost->SetForegroundWindow();
        PumpHost(50);
    }
    void TearDown() override { MouseMoveTo(CPoint(5, 1000)); }
    CPoint TabPoint(int nIndex) const { return s_pHost->ScreenPointOf(m_pRibbon->GetTab(nIndex)->GetRect()); }
    int RibbonHeight() const
    {
        CRect rc;
        m_pRibbon->GetWindowRect(&rc);
        return rc.Height();
    }
};

TEST_F(RibbonInput, ClicksOnTabsSwitchThemAndHideTheOtherTabsGroups)
{
    MouseClickAt(TabPoint(1));
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetCurrentTab() == m_pRibbon->GetTab(1); }));
    EXPECT_TRUE(s_pHost->FindControl(ID_RIBBON_RECORD)->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);
    EXPECT_FALSE(s_pHost->FindControl(ID_RIBBON_FOLDER)->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);
    EXPECT_EQ(std::vector<CQVTRibbonTab*>{m_pRibbon->GetTab(1)}, s_pHost->m_changed);

    // A refused change keeps the tab.
    s_pHost->m_lRefuseChange = 1;
    MouseClickAt(TabPoint(2));
    PumpHostUntil([&] { return s_pHost->m_changing.size() >= 2; });
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    EXPECT_EQ(1u, s_pHost->m_changed.size());
    s_pHost->m_lRefuseChange = 0;

    MouseClickAt(TabPoint(0));
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetCurrentTab() == m_pRibbon->GetTab(0); }));
    EXPECT_FALSE(s_pHost->FindControl(ID_RIBBON_RECORD)->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);
    EXPECT_TRUE(s_pHost->FindControl(ID_RIBBON_FOLDER)->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);
}

TEST_F(RibbonInput, DoubleClickOnTheCurrentTabMinimizesAndRestores)
{
    const int nFull = RibbonHeight();
    const int nGroups = m_pRibbon->GetGroupsHeight();
    const CPoint pt = TabPoint(0);
    MouseClickAt(pt);
    MouseClickAt(pt);
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->IsRibbonMinimized() && RibbonHeight() < nFull; }));
    EXPECT_EQ(nFull - nGroups + QVTDpiScaler()->ScaleY(2), RibbonHeight());
    EXPECT_EQ(1, s_pHost->m_nMinimizeMessages);
    EXPECT_TRUE(s_pHost->FindControl(ID_RIBBON_RECORD)->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);

    ::Sleep(::GetDoubleClickTime() + 50);
    MouseClickAt(pt);
    MouseClickAt(pt);
    ASSERT_TRUE(PumpHostUntil([&] { return !m_pRibbon->IsRibbonMinimized() && RibbonHeight() == nFull; }));
    EXPECT_FALSE(s_pHost->FindControl(ID_RIBBON_RECORD)->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);
}

TEST_F(RibbonInput, TheWheelOverTheRibbonTurnsItsTabs)
{
    const CPoint pt = s_pHost->ScreenPointOf(m_pRibbon->GetGroupsRect());
    WheelAt(pt, -WHEEL_DELTA);
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetCurrentTab() == m_pRibbon->GetTab(1); }));
    WheelAt(pt, -WHEEL_DELTA);
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetCurrentTab() == m_pRibbon->GetTab(2); }));
    // Past the last tab nothing turns.
    WheelAt(pt, -WHEEL_DELTA);
    PumpHost(100);
    EXPECT_EQ(m_pRibbon->GetTab(2), m_pRibbon->GetCurrentTab());
    WheelAt(pt, WHEEL_DELTA);
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetCurrentTab() == m_pRibbon->GetTab(1); }));
}

TEST_F(RibbonInput, HoveringAGroupHighlightsItUntilThePointerLeaves)
{
    CQVTRibbonGroup* pGroup = s_pHost->FindGroup(4003);
    // A point of the group that no control covers: its caption band.
    const CPoint pt = s_pHost->ScreenPointOf(pGroup->GetCaptionRect());
    MouseMoveTo(pt);
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetHighlightedGroup() == pGroup; }));
    EXPECT_TRUE(pGroup->IsHighlighted());

    // Another group takes the highlight.
    CQVTRibbonGroup* pOther = s_pHost->FindGroup(4002);
    MouseMoveTo(s_pHost->ScreenPointOf(pOther->GetCaptionRect()));
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetHighlightedGroup() == pOther; }));

    // Leaving the ribbon clears it.
    CRect rcHost;
    s_pHost->GetWindowRect(&rcHost);
    MouseMoveTo(CPoint(rcHost.CenterPoint().x, rcHost.bottom - 5));
    ASSERT_TRUE(PumpHostUntil([&] { return m_pRibbon->GetHighlightedGroup() == nullptr; }));
}
