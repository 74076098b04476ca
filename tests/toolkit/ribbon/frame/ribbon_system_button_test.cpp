// What the ribbon's other parts do once a system button stands at the front
// of its controls: Escape in a minimized tab's popup leaves the tab row
// tracking, a customize drop on the button is refused, and a control added
// to the quick access toolbar lands one place further in the ribbon.
#include <afxwin.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/bar/QVTRibbonQuickAccess.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

namespace {

int SystemCallersIndexIn(const CQVTControls* pControls, const CQVTControl* pControl)
{
    for (int i = 0; i < pControls->GetCount(); ++i)
        if (pControls->GetAt(i) == pControl)
            return i;
    return -1;
}

}  // namespace

class RibbonSystemButtonCallers : public CRibbonFrameSuite
{
protected:
    CQVTRibbonControlSystemButton* AddButton()
    {
        CQVTRibbonControlSystemButton* pButton = m_pRibbon->AddSystemButton(0);
        pButton->SetCaption(_T("&File"));
        pButton->SetStyle(qvtButtonCaption);
        s_pHost->ResizeClient(1200, 421);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
        return pButton;
    }
    // A click on a tab of the minimized ribbon; the popup it opened.
    CQVTPopupBar* OpenTabPopup(int nTab)
    {
        m_pRibbon->SetRibbonMinimized(TRUE);
        PumpFrameUntil([&] { return !m_pRibbon->IsLayoutPending(); });
        MouseClickAt(s_pHost->ScreenPointOf(m_pRibbon->GetTab(nTab)->GetRect()));
        CQVTControl* pTabs = m_pRibbon->GetControlTab();
        PumpFrameUntil([&] { return s_pHost->GetOpenPopup(pTabs) != nullptr; });
        return s_pHost->GetOpenPopup(pTabs);
    }
};

TEST_F(RibbonSystemButtonCallers, EscapeInATabPopupLeavesTheTabRowTrackingOnlyWithASystemButton)
{
    // Without a button Escape closes every popup and ends the tracking.
    CQVTPopupBar* pPopup = OpenTabPopup(1);
    ASSERT_NE(nullptr, pPopup);
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(PumpFrameUntil([&] { return !pPopup->IsVisible(); }));
    EXPECT_EQ(0, m_pRibbon->GetTrackingMode());

    // With one the popup's own Escape closes it and the tab row keeps the
    // keyboard; a second Escape ends the tracking.
    m_pRibbon->SetRibbonMinimized(FALSE);
    AddButton();
    pPopup = OpenTabPopup(1);
    ASSERT_NE(nullptr, pPopup);
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(PumpFrameUntil([&] { return !pPopup->IsVisible(); }));
    EXPECT_NE(0, m_pRibbon->GetTrackingMode());
    KeyPress(VK_ESCAPE);
    EXPECT_TRUE(PumpFrameUntil([&] { return m_pRibbon->GetTrackingMode() == 0; }));
}

TEST_F(RibbonSystemButtonCallers, ACustomizeDropOnTheButtonIsRefused)
{
    CQVTRibbonControlSystemButton* pButton = AddButton();
    m_pRibbon->SetCustomizable(TRUE);
    // Customizing everything makes even the fixed button a place to drop on.
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    pBars->SetCustomizeAnything(TRUE);
    CQVTControl* pPlay = s_pHost->FindControl(ID_RIBBON_PLAY);
    ASSERT_NE(nullptr, pPlay);
    const int nCount = m_pRibbon->GetControlCount();
    const CPoint ptButton = pButton->GetRect().CenterPoint();
    BOOL bAfter = FALSE;
    CRect rcMark;
    EXPECT_EQ(0, m_pRibbon->CalcInsertPosition(pPlay, ptButton, bAfter, rcMark));
    EXPECT_TRUE(rcMark.IsRectEmpty());
    EXPECT_EQ(qvtDropEffectNone, m_pRibbon->InsertControlAt(pPlay, ptButton, ptButton));
    EXPECT_EQ(nCount, m_pRibbon->GetControlCount());
    EXPECT_EQ(pButton, m_pRibbon->GetControl(0));
    EXPECT_EQ(nullptr, pBars->GetDragControl());
    EXPECT_TRUE(m_pRibbon->GetInsertMark().IsRectEmpty());
    pBars->SetCustomizeAnything(FALSE);
}

TEST_F(RibbonSystemButtonCallers, AQuickAccessControlLandsBehindTheButtonInTheToolbarsOrder)
{
    CQVTRibbonQuickAccessControls* pQuickAccess = m_pRibbon->GetQuickAccessControls();
    CQVTControls* pRibbonControls = m_pRibbon->GetControls();
    CQVTControl* pCustomize = s_pHost->GetCustomizeButton();
    CQVTControl* pFirst = pQuickAccess->AddByType(qvtControlButton, 3450);
    EXPECT_EQ(SystemCallersIndexIn(pRibbonControls, pCustomize) - 1,
              SystemCallersIndexIn(pRibbonControls, pFirst));

    CQVTRibbonControlSystemButton* pButton = AddButton();
    CQVTControl* pSecond = pQuickAccess->AddByType(qvtControlButton, 3451);
    EXPECT_EQ(pButton, m_pRibbon->GetControl(0));
    EXPECT_EQ(SystemCallersIndexIn(pRibbonControls, pFirst) + 1,
              SystemCallersIndexIn(pRibbonControls, pSecond));
    EXPECT_EQ(SystemCallersIndexIn(pRibbonControls, pCustomize) - 1,
              SystemCallersIndexIn(pRibbonControls, pSecond));
    // The toolbar's own controls, in its order, one after the other.
    const int nBase = SystemCallersIndexIn(pRibbonControls, pQuickAccess->GetAt(0));
    EXPECT_GT(nBase, 0);
    for (int i = 0; i < pQuickAccess->GetCount(); ++i)
        EXPECT_EQ(pQuickAccess->GetAt(i), pRibbonControls->GetAt(nBase + i)) << i;
}
