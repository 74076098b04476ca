// Where popups open and how they show: inside the work area (flipping,
// upwards, above their button, scrolling on the larger side, wrapping into
// columns), submenus that keep opening to the left, scroll buttons that
// scroll under the pointer, the animations (a fade sampled from the screen
// while it runs), and the rarely used commands behind the expand button.
#include <afxwin.h>

#include <atomic>
#include <set>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/support/win_thread.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

// The work area set for a test and put back after it.
class WorkAreaScope
{
public:
    explicit WorkAreaScope(const CRect& rc)
    {
        ::SystemParametersInfo(SPI_GETWORKAREA, 0, &m_rcOld, 0);
        CRect rcNew = rc;
        ::SystemParametersInfo(SPI_SETWORKAREA, 0, &rcNew, 0);
    }
    ~WorkAreaScope() { ::SystemParametersInfo(SPI_SETWORKAREA, 0, &m_rcOld, 0); }

private:
    CRect m_rcOld;
};

}  // namespace

class PopupLayout : public BarsFrameSuite<PopupLayout>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(40, 600, 340, 700)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        Options()->animationType = 5;
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        for (CQVTPopupBar* pPopup : m_popups)
            pPopup->InternalRelease();
        m_popups.clear();
        PumpMessages(20);
    }
    static CQVTCommandBarsOptions* Options() { return s_pFrame->GetCommandBars()->GetCommandBarsOptions(); }

    // A popup of the frame's bars holding buttons "Item 1".."Item n".
    CQVTPopupBar* MakePopup(int nItems, int nFirstId = 40100)
    {
        CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(s_pFrame->GetCommandBars());
        pPopup->SetOwner(s_pFrame);
        for (int i = 0; i < nItems; ++i)
        {
            CQVTControl* pControl = pPopup->GetControls()->AddByType(qvtControlButton, nFirstId + i);
            CString strCaption;
            strCaption.Format(_T("Item %d"), i + 1);
            pControl->SetCaption(strCaption);
        }
        m_popups.push_back(pPopup);
        return pPopup;
    }
    static CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }

    std::vector<CQVTPopupBar*> m_popups;
};

TEST_F(PopupLayout, APopupAtTheWorkAreasCornerOpensUpwardsAndToTheLeft)
{
    WorkAreaScope area(CRect(0, 0, 1000, 900));
    CQVTPopupBar* pPopup = MakePopup(4);
    ASSERT_TRUE(pPopup->PopupAt(990, 880));
    const CRect rc = WindowRect(pPopup);
    EXPECT_EQ(990, rc.right);
    EXPECT_EQ(880, rc.bottom);
    EXPECT_GT(rc.Width(), 0);
    EXPECT_TRUE(pPopup->GetDirectionFlags() & CQVTPopupBar::directionReversed);
    pPopup->SetTrackingMode(FALSE);

    // In the upper half a popup that does not fit below is pushed up to the
    // work area's bottom less five pixels; nothing goes above the top.
    CQVTPopupBar* pTall = MakePopup(4);
    ASSERT_TRUE(pTall->PopupAt(100, 300));
    EXPECT_EQ(300, WindowRect(pTall).top);
    pTall->SetTrackingMode(FALSE);
    ASSERT_TRUE(pTall->PopupAt(100, 890));
    EXPECT_EQ(890, WindowRect(pTall).bottom);
    pTall->SetTrackingMode(FALSE);
}

TEST_F(PopupLayout, AMenuBelowItsButtonOpensAboveWhenThereIsRoomAndScrollsOnTheLargerSideWhenNot)
{
    WorkAreaScope area(CRect(0, 0, 1000, 600));
    const int nBottom = 600 - QVTDpiScaler()->ScaleY(5);
    CQVTPopupBar* pPopup = MakePopup(6);
    pPopup->SetDirectionFlags(CQVTPopupBar::directionBelow);
    const CRect rcButton(200, 560, 260, 580);
    ASSERT_TRUE(pPopup->PopupAt(rcButton.left, rcButton.bottom, &rcButton));
    CRect rc = WindowRect(pPopup);
    EXPECT_EQ(rcButton.top, rc.bottom);
    EXPECT_EQ(rcButton.left, rc.left);
    EXPECT_FALSE(pPopup->IsScrolling());
    pPopup->SetTrackingMode(FALSE);

    // Too tall for either side: it scrolls below a button in the upper
    // half, above one in the lower half.
    CQVTPopupBar* pLong = MakePopup(60);
    for (const CRect& rcLong : {CRect(300, 200, 360, 220), CRect(300, 380, 360, 400)})
    {
        pLong->SetDirectionFlags(CQVTPopupBar::directionBelow);
        ASSERT_TRUE(pLong->PopupAt(rcLong.left, rcLong.bottom, &rcLong));
        rc = WindowRect(pLong);
        EXPECT_TRUE(pLong->IsScrolling());
        if (rcLong.top < 300)
        {
            EXPECT_EQ(rcLong.bottom, rc.top);
            EXPECT_EQ(nBottom, rc.bottom);
        }
        else
        {
            EXPECT_EQ(0, rc.top);
            EXPECT_EQ(rcLong.top, rc.bottom);
        }
        EXPECT_GT(pLong->GetEndVisible(), 1);
        EXPECT_LT(pLong->GetEndVisible(), 60);
        EXPECT_FALSE(pLong->GetScrollDownRect().IsRectEmpty());
        EXPECT_TRUE(pLong->GetScrollUpRect().IsRectEmpty());
        pLong->SetTrackingMode(FALSE);
    }
}

TEST_F(PopupLayout, ATallPopupScrollsWhileThePointerRestsOnTheScrollButton)
{
    WorkAreaScope area(CRect(0, 0, 1000, 500));
    CQVTPopupBar* pPopup = MakePopup(50);
    ASSERT_TRUE(pPopup->PopupAt(600, 20));
    ASSERT_TRUE(pPopup->IsScrolling());
    const CRect rcWindow = WindowRect(pPopup);
    EXPECT_LE(rcWindow.bottom, 500 - QVTDpiScaler()->ScaleY(5));
    EXPECT_EQ(0, pPopup->GetFirstVisible());
    const int nEnd = pPopup->GetEndVisible();
    // The controls beyond the shown range are hidden and have no place.
    EXPECT_FALSE(pPopup->GetControl(nEnd)->IsVisible());
    EXPECT_TRUE(pPopup->GetControl(nEnd - 1)->IsVisible());

    CRect rcDown = pPopup->GetScrollDownRect();
    pPopup->ClientToScreen(&rcDown);
    MouseMoveTo(rcDown.CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return pPopup->GetFirstVisible() >= 3; }, 5000));
    EXPECT_GT(pPopup->GetEndVisible(), nEnd);
    EXPECT_FALSE(pPopup->GetScrollUpRect().IsRectEmpty());
    EXPECT_TRUE(pPopup->GetControl(pPopup->GetEndVisible() - 1)->IsVisible());
    EXPECT_FALSE(pPopup->GetControl(0)->IsVisible());

    // Choosing a hidden control from the keyboard scrolls it back into view.
    MouseMoveTo(POINT{200, 650});
    PumpMessages(100);
    pPopup->SetSelected(0, CQVTCommandBar::selectByKeyboardForward);
    EXPECT_EQ(0, pPopup->GetFirstVisible());
    EXPECT_TRUE(pPopup->GetControl(0)->IsVisible());
}

TEST_F(PopupLayout, WithColumnsOnATallPopupWrapsInsteadOfScrolling)
{
    WorkAreaScope area(CRect(0, 0, 1000, 500));
    Options()->bWrapLargePopups = TRUE;
    CQVTPopupBar* pPopup = MakePopup(50);
    ASSERT_TRUE(pPopup->PopupAt(100, 20));
    EXPECT_FALSE(pPopup->IsScrolling());
    EXPECT_TRUE(pPopup->IsMultiColumn());
    const CRect rc = WindowRect(pPopup);
    EXPECT_LE(rc.bottom, 500 - QVTDpiScaler()->ScaleY(5));
    EXPECT_GE(rc.top, 0);
    // Every item has a place inside the popup.
    for (int i = 0; i < pPopup->GetControlCount(); ++i)
    {
        CRect rcControl = pPopup->GetControl(i)->GetRect();
        ASSERT_TRUE(pPopup->GetControl(i)->IsVisible()) << i;
        EXPECT_LE(rcControl.bottom, rc.Height()) << i;
    }
}

TEST_F(PopupLayout, ASubmenuPastTheRightEdgeOpensToTheLeftAndItsOwnSubmenusFollow)
{
    WorkAreaScope area(CRect(0, 0, 1000, 900));
    CQVTPopupBar* pRoot = MakePopup(2);
    CQVTControlPopup* pItem =
        static_cast<CQVTControlPopup*>(pRoot->GetControls()->AddByType(qvtControlPopup, 0));
    pItem->SetCaption(_T("More"));
    CQVTPopupBar* pSub = DYNAMIC_DOWNCAST(CQVTPopupBar, pItem->GetCommandBar());
    ASSERT_NE(nullptr, pSub);
    CQVTControlPopup* pSubItem =
        static_cast<CQVTControlPopup*>(pSub->GetControls()->AddByType(qvtControlPopup, 0));
    pSubItem->SetCaption(_T("Even more"));
    CQVTPopupBar* pSubSub = DYNAMIC_DOWNCAST(CQVTPopupBar, pSubItem->GetCommandBar());
    pSubSub->GetControls()->AddByType(qvtControlButton, 40200)->SetCaption(_T("Deep"));

    ASSERT_TRUE(pRoot->PopupAt(880, 100));
    ASSERT_TRUE(pRoot->SetPopuped(pItem->GetIndex()));
    // Each opens with its right edge on the left edge of its item (as the
    // theme adjusts that edge).
    CRect rcItem = pItem->GetRect();
    pRoot->ClientToScreen(&rcItem);
    const CRect rcSub = WindowRect(pSub);
    EXPECT_NEAR(rcSub.right, rcItem.left, 2);
    EXPECT_TRUE(pSub->GetDirectionFlags() & CQVTPopupBar::directionReversed);
    ASSERT_TRUE(pSub->SetPopuped(pSubItem->GetIndex()));
    CRect rcSubItem = pSubItem->GetRect();
    pSub->ClientToScreen(&rcSubItem);
    EXPECT_NEAR(WindowRect(pSubSub).right, rcSubItem.left, 2);
}

TEST_F(PopupLayout, RandomAnimationShowsEveryKindAndAPopupHostingAWindowNone)
{
    Options()->animationType = 1;
    QVTPaintManager()->m_nAnimationSteps = 1;
    QVTPaintManager()->m_nAnimationTime = 0;
    std::set<int> kinds;
    CQVTPopupBar* pPopup = MakePopup(2);
    for (int i = 0; i < 40 && kinds.size() < 3; ++i)
    {
        ASSERT_TRUE(pPopup->PopupAt(400, 200));
        kinds.insert(pPopup->GetLastAnimation());
        pPopup->SetTrackingMode(FALSE);
    }
    EXPECT_EQ(std::set<int>({qvtAnimateUnfold, qvtAnimateSlide, qvtAnimateFade}), kinds);

    // A hosted window never animates.
    Options()->animationType = 4;
    ASSERT_TRUE(pPopup->CreatePopupWindow());
    CWnd child;
    child.Create(_T("STATIC"), _T(""), WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), pPopup, 1);
    ASSERT_TRUE(pPopup->PopupAt(400, 200));
    EXPECT_EQ(0, pPopup->GetLastAnimation());
    pPopup->SetTrackingMode(FALSE);
    // The hosted window outlived the popup, moved to the site.
    EXPECT_TRUE(::IsWindow(child.GetSafeHwnd()));
    EXPECT_EQ(s_pFrame->GetSafeHwnd(), ::GetParent(child.GetSafeHwnd()));
    child.DestroyWindow();
    QVTPaintManager()->m_nAnimationSteps = 10;
    QVTPaintManager()->m_nAnimationTime = 100;
}

TEST_F(PopupLayout, AFadeShowsFramesBetweenTheOldPictureAndTheMenu)
{
    Options()->animationType = 4;
    CQVTPaintManager* pPaintManager = QVTPaintManager();
    pPaintManager->m_nAnimationSteps = 8;
    pPaintManager->m_nAnimationTime = 1600;
    // Over the frame's white client area.
    CQVTPopupBar* pPopup = MakePopup(3);
    const POINT ptSample = {160, 640};
    std::atomic<bool> bSampling{true};
    std::vector<COLORREF> samples;
    WinThread sampler([&] {
        HDC hScreen = ::GetDC(nullptr);
        while (bSampling)
        {
            samples.push_back(::GetPixel(hScreen, ptSample.x, ptSample.y));
            ::Sleep(15);
        }
        ::ReleaseDC(nullptr, hScreen);
    });
    ::Sleep(100);
    ASSERT_TRUE(pPopup->PopupAt(150, 620));
    // Read at once: the animation's last frame is the menu. (Pumping first
    // could let another program's window take the activation, which closes
    // the menu.)
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clrMenu = ::GetPixel(hScreen, ptSample.x, ptSample.y);
    ::ReleaseDC(nullptr, hScreen);
    bSampling = false;
    sampler.join();
    ASSERT_FALSE(samples.empty());
    const COLORREF clrBefore = samples.front();
    EXPECT_EQ(qvtAnimateFade, pPopup->GetLastAnimation());
    ASSERT_NE(clrBefore, clrMenu);
    std::set<COLORREF> between;
    for (COLORREF clr : samples)
        if (clr != clrBefore && clr != clrMenu)
            between.insert(clr);
    // Several distinct frames, each lying between the two pictures.
    EXPECT_GE(between.size(), 3u);
    for (COLORREF clr : between)
    {
        EXPECT_LE(GetGValue(clr), std::max(GetGValue(clrBefore), GetGValue(clrMenu)));
        EXPECT_GE(GetGValue(clr), std::min(GetGValue(clrBefore), GetGValue(clrMenu)));
    }
    pPaintManager->m_nAnimationSteps = 10;
    pPaintManager->m_nAnimationTime = 100;
}

TEST_F(PopupLayout, RarelyUsedCommandsHideBehindTheExpandButtonUntilExpanded)
{
    Options()->bAlwaysShowFullMenus = FALSE;
    Options()->m_mapHiddenCommands.SetAt(40102, TRUE);
    Options()->m_mapHiddenCommands.SetAt(40103, TRUE);
    CQVTPopupBar* pRoot = MakePopup(4);
    CQVTControlPopup* pItem =
        static_cast<CQVTControlPopup*>(pRoot->GetControls()->AddByType(qvtControlPopup, 0));
    pItem->SetCaption(_T("Chain"));
    CQVTPopupBar* pSub = DYNAMIC_DOWNCAST(CQVTPopupBar, pItem->GetCommandBar());
    for (int nId : {40102, 40104})
        pSub->GetControls()->AddByType(qvtControlButton, nId)->SetCaption(_T("Sub"));

    ASSERT_TRUE(pRoot->PopupAt(400, 100));
    EXPECT_TRUE(pRoot->IsExpandButtonShown());
    EXPECT_FALSE(pRoot->IsExpanded());
    EXPECT_FALSE(pRoot->GetControl(2)->IsVisible());
    EXPECT_FALSE(pRoot->GetControl(3)->IsVisible());
    EXPECT_TRUE(pRoot->GetControl(1)->IsVisible());
    const CRect rcBefore = WindowRect(pRoot);

    // Ctrl+Down expands the popup in place.
    SendKey(VK_CONTROL, false);
    SendKey(VK_DOWN, false);
    SendKey(VK_DOWN, true);
    SendKey(VK_CONTROL, true);
    ASSERT_TRUE(PumpUntil([&] { return pRoot->IsExpanded() == TRUE; }));
    EXPECT_TRUE(pRoot->GetControl(2)->IsVisible());
    EXPECT_GT(WindowRect(pRoot).Height(), rcBefore.Height());
    // The chain's next popup opens expanded.
    ASSERT_TRUE(pRoot->SetPopuped(pItem->GetIndex()));
    EXPECT_TRUE(pSub->IsExpanded());
    EXPECT_TRUE(pSub->GetControl(0)->IsVisible());
    pRoot->SetTrackingMode(FALSE);

    // Used commands are no longer rarely used; a popup whose commands are
    // all rarely used shows them all.
    s_pFrame->GetCommandBars()->SetCommandUsed(40103);
    CQVTPopupBar* pAllHidden = MakePopup(0);
    pAllHidden->GetControls()->AddByType(qvtControlButton, 40102)->SetCaption(_T("Rare"));
    ASSERT_TRUE(pAllHidden->PopupAt(400, 100));
    EXPECT_FALSE(pAllHidden->IsExpandButtonShown());
    EXPECT_TRUE(pAllHidden->GetControl(0)->IsVisible());
}

// Items are as wide as their whole captions in the bar's font: the measure
// must not take the ellipsis the drawing uses for a caption cut short, or
// every popup opens a few pixels wide with its texts cut.
TEST_F(PopupLayout, ItemsAreWideEnoughForTheirWholeCaptions)
{
    CQVTPopupBar* pPopup = MakePopup(2);
    const CString strLong = _T("Show Quick Access Toolbar Below the Ribbon");
    pPopup->GetControl(1)->SetCaption(strLong);
    ASSERT_TRUE(pPopup->PopupAt(100, 200));
    CClientDC dc(pPopup);
    CFont* pOld = dc.SelectObject(pPopup->GetPaintManager()->GetCommandBarFont(pPopup));
    CSize szText(0, 0);
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), strLong, strLong.GetLength(), &szText);
    dc.SelectObject(pOld);
    ASSERT_GT(szText.cx, 0);
    EXPECT_GT(pPopup->GetControl(1)->GetRect().Width(), szText.cx);
    EXPECT_GT(WindowRect(pPopup).Width(), szText.cx);
    pPopup->SetTrackingMode(FALSE);
}
