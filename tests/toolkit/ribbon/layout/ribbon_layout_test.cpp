// The ribbon as its window lays it out: the group row's reduction order and
// spacing, the bar's height rules, tabs with their groups' controls, the
// tab-change notifications, narrowing a real window, galleries widening and
// collapsing, labels of field columns, toolbar resources, and the tab row's
// accessible face.
#include <afxext.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

namespace {

// A group whose width and reductions a test scripts: each level may reduce
// it a number of times by 10 pixels; every reduction is logged.
class CScriptedGroup : public CQVTRibbonGroup
{
public:
    CScriptedGroup(int nId, int nWidth, std::vector<std::pair<int, int>>* pLog)
        : m_nWidth(nWidth), m_pLog(pLog)
    {
        SetID(nId);
    }
    int CalcWidth(CDC*) override { return m_nWidth; }
    BOOL ReduceLevel(int nLevel, int) override
    {
        if (m_nBudget[nLevel] <= 0)
            return FALSE;
        --m_nBudget[nLevel];
        m_nWidth -= 10;
        m_pLog->push_back({GetID(), nLevel});
        return TRUE;
    }
    BOOL ExpandGallery(int) override { return FALSE; }

    int m_nWidth;
    int m_nBudget[4] = {0, 0, 0, 0};
    std::vector<std::pair<int, int>>* m_pLog;
};

DWORD HideFlagsOf(CRibbonHost* pHost, int nId)
{
    CQVTControl* pControl = pHost->FindControl(nId);
    return pControl ? pControl->GetHideFlags() : 0xFFFFFFFF;
}

int StyleOf(CRibbonHost* pHost, int nId)
{
    CQVTControl* pControl = pHost->FindControl(nId);
    return pControl ? pControl->GetStyle() : -1;
}

// Focus events of the ribbon's window, as accessibility clients hear them.
std::vector<std::pair<HWND, LONG>> g_focusEvents;
void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG, LONG idChild, DWORD, DWORD)
{
    if (dwEvent == EVENT_OBJECT_FOCUS)
        g_focusEvents.push_back({hWnd, idChild});
}

}  // namespace

class RibbonLayout : public CRibbonHostSuite<RibbonLayout>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(30, 420, 930, 840)); }

protected:
    void SetUp() override { ResetHost(880, 380); }
    CSize Layout(int nWidth)
    {
        return m_pRibbon->CalcDockingLayout(nWidth, LM_COMMIT | LM_HORZDOCK | LM_HORZ);
    }
};

TEST(RibbonGroupRow, ThreeHundredPixelGroupsNeedSevenPixelsBetweenThem)
{
    std::vector<std::pair<int, int>> log;
    CQVTRibbonGroups* pGroups = new CQVTRibbonGroups();
    std::vector<CScriptedGroup*> groups;
    for (int i = 0; i < 3; ++i)
    {
        groups.push_back(new CScriptedGroup(i, 100, &log));
        groups.back()->m_nBudget[0] = 1;
        pGroups->InsertGroup(i, groups.back());
    }
    std::vector<int> widths = {100, 100, 100};
    pGroups->ReduceGroups(nullptr, widths, ScaleX(7) * 2 + 300);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ((std::vector<int>{100, 100, 100}), widths);

    pGroups->ReduceGroups(nullptr, widths, ScaleX(7) * 2 + 299);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 0}}), log);
    EXPECT_EQ((std::vector<int>{100, 100, 90}), widths);
    pGroups->RemoveAll();
    pGroups->InternalRelease();
}

TEST(RibbonGroupRow, CheapLevelsAreExhaustedAcrossAllGroupsRightmostFirst)
{
    std::vector<std::pair<int, int>> log;
    CQVTRibbonGroups* pGroups = new CQVTRibbonGroups();
    for (int i = 0; i < 3; ++i)
    {
        CScriptedGroup* pGroup = new CScriptedGroup(i, 100, &log);
        pGroup->m_nBudget[0] = 1;
        pGroup->m_nBudget[1] = 1;
        pGroup->m_nBudget[3] = 1;
        pGroups->InsertGroup(i, pGroup);
    }
    std::vector<int> widths = {100, 100, 100};
    // Seventy pixels too many: seven reductions, then nothing more helps.
    pGroups->ReduceGroups(nullptr, widths, ScaleX(7) * 2 + 230);
    const std::vector<std::pair<int, int>> expected = {{2, 0}, {1, 0}, {0, 0}, {2, 1},
                                                       {1, 1}, {0, 1}, {2, 3}};
    EXPECT_EQ(expected, log);
    EXPECT_EQ((std::vector<int>{80, 80, 70}), widths);

    // When nothing can shrink any more the loop ends where it is.
    log.clear();
    pGroups->ReduceGroups(nullptr, widths, 10);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 3}, {0, 3}}), log);
    pGroups->RemoveAll();
    pGroups->InternalRelease();
}

TEST_F(RibbonLayout, ContentShowsFromTwoHundredFiftyPixelsOfWidthAndSiteHeight)
{
    EXPECT_EQ(CSize(ScaleX(250) - 1, 0), Layout(ScaleX(250) - 1));
    EXPECT_FALSE(m_pRibbon->IsRibbonContentShown());
    EXPECT_GT(Layout(ScaleX(250)).cy, 0);
    EXPECT_TRUE(m_pRibbon->IsRibbonContentShown());

    s_pHost->ResizeClient(600, ScaleX(250) - 1);
    EXPECT_EQ(0, Layout(600).cy);
    s_pHost->ResizeClient(600, ScaleX(250));
    EXPECT_GT(Layout(600).cy, 0);
}

TEST_F(RibbonLayout, HeightIsCaptionTabsAndGroupsAndMinimizingTakesTheGroupsAway)
{
    const int nFull = Layout(800).cy;
    EXPECT_EQ(m_pRibbon->GetCaptionHeight() + m_pRibbon->GetTabsHeight() + m_pRibbon->GetGroupsHeight(),
              nFull);
    EXPECT_GE(m_pRibbon->GetRibbonPaintManager()->GetRowHeight(), 18);
    EXPECT_EQ(3 * m_pRibbon->GetRibbonPaintManager()->GetRowHeight() +
                  m_pRibbon->GetRibbonPaintManager()->GetGroupCaptionHeight() + ScaleY(10),
              m_pRibbon->GetGroupsHeight());

    m_pRibbon->SetRibbonMinimized(TRUE);
    EXPECT_EQ(1, s_pHost->m_nMinimizeMessages);
    const int nMinimized = Layout(800).cy;
    EXPECT_EQ(nFull - m_pRibbon->GetGroupsHeight() + ScaleY(2), nMinimized);
    for (int nId = ID_RIBBON_RECORD; nId <= ID_RIBBON_INFO; ++nId)
        EXPECT_TRUE(HideFlagsOf(s_pHost, nId) & QVT_RIBBON_HIDE_GROUP) << nId;
    m_pRibbon->SetRibbonMinimized(TRUE);
    EXPECT_EQ(1, s_pHost->m_nMinimizeMessages);

    m_pRibbon->SetRibbonMinimized(FALSE);
    EXPECT_EQ(nFull, Layout(800).cy);
    EXPECT_FALSE(HideFlagsOf(s_pHost, ID_RIBBON_RECORD) & QVT_RIBBON_HIDE_GROUP);
}

TEST_F(RibbonLayout, TabsComeFromStringResourcesSplitAtLineFeeds)
{
    ASSERT_EQ(3, m_pRibbon->GetTabCount());
    EXPECT_EQ(CString(_T("Home")), m_pRibbon->GetTab(0)->GetCaption());
    EXPECT_EQ(CString(), m_pRibbon->GetTab(0)->GetTooltip());
    EXPECT_EQ(CString(_T("Options")), m_pRibbon->GetTab(1)->GetCaption());
    EXPECT_EQ(CString(_T("Settings of the recorder")), m_pRibbon->GetTab(1)->GetTooltip());
    EXPECT_EQ(CString(_T("O")), m_pRibbon->GetTab(1)->GetKeyboardTip());
    EXPECT_EQ(IDS_RIBBON_OPTIONS, m_pRibbon->GetTab(1)->GetID());

    CQVTRibbonTab* pTab = m_pRibbon->AddTab(IDS_RIBBON_SPLIT);
    EXPECT_EQ(CString(_T("Desc")), pTab->GetCaption());
    EXPECT_EQ(CString(_T("Desc")), pTab->GetTooltip());

    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->FindTab(IDS_RIBBON_OPTIONS));
    EXPECT_EQ(nullptr, m_pRibbon->FindTab(1));
    EXPECT_EQ(nullptr, m_pRibbon->GetTab(4));
    EXPECT_EQ(nullptr, m_pRibbon->GetTab(-1));
    // A group captioned by a string takes its part after the line feed.
    EXPECT_EQ(CString(_T("Record")), s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD)->GetCaption());
}

TEST_F(RibbonLayout, CurrentTabShowsItsGroupsAndHidesTheOthersWithFlag128)
{
    EXPECT_EQ(m_pRibbon->GetTab(0), m_pRibbon->GetCurrentTab());
    EXPECT_FALSE(HideFlagsOf(s_pHost, ID_RIBBON_PLAY) & QVT_RIBBON_HIDE_GROUP);
    EXPECT_TRUE(HideFlagsOf(s_pHost, ID_RIBBON_FOLDER) & QVT_RIBBON_HIDE_GROUP);

    m_pRibbon->SetCurrentTab(1);
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    for (int nId = ID_RIBBON_RECORD; nId <= ID_RIBBON_INFO; ++nId)
        EXPECT_TRUE(HideFlagsOf(s_pHost, nId) & QVT_RIBBON_HIDE_GROUP) << nId;
    for (int nId = ID_RIBBON_FOLDER; nId <= ID_RIBBON_SPLITTIME; ++nId)
        EXPECT_FALSE(HideFlagsOf(s_pHost, nId) & QVT_RIBBON_HIDE_GROUP) << nId;
    // The group's own buttons follow their group.
    EXPECT_TRUE(s_pHost->FindGroup(4003)->GetControlGroupOption()->GetHideFlags() & QVT_RIBBON_HIDE_GROUP);
    EXPECT_EQ(std::vector<CQVTRibbonTab*>{m_pRibbon->GetTab(1)}, s_pHost->m_changing);
    EXPECT_EQ(std::vector<CQVTRibbonTab*>{m_pRibbon->GetTab(1)}, s_pHost->m_changed);

    // A hidden group's controls stay hidden on its own tab.
    s_pHost->FindGroup(4004)->SetVisible(FALSE);
    EXPECT_TRUE(HideFlagsOf(s_pHost, ID_RIBBON_FOLDER) & QVT_RIBBON_HIDE_GROUP);
    s_pHost->FindGroup(4004)->SetVisible(TRUE);
    EXPECT_FALSE(HideFlagsOf(s_pHost, ID_RIBBON_FOLDER) & QVT_RIBBON_HIDE_GROUP);
}

TEST_F(RibbonLayout, RefusedTabChangeKeepsTheTabAndRaisesNoFocusEvent)
{
    HWINEVENTHOOK hHook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnWinEvent,
                                            ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hHook);
    g_focusEvents.clear();
    s_pHost->m_lRefuseChange = 1;
    m_pRibbon->SetCurrentTab(2);
    PumpHost(100);
    EXPECT_EQ(m_pRibbon->GetTab(0), m_pRibbon->GetCurrentTab());
    EXPECT_EQ(std::vector<CQVTRibbonTab*>{m_pRibbon->GetTab(2)}, s_pHost->m_changing);
    EXPECT_TRUE(s_pHost->m_changed.empty());
    EXPECT_FALSE(HideFlagsOf(s_pHost, ID_RIBBON_RECORD) & QVT_RIBBON_HIDE_GROUP);
    int nRibbonEvents = 0;
    for (const auto& e : g_focusEvents)
        nRibbonEvents += e.first == m_pRibbon->GetSafeHwnd();
    EXPECT_EQ(0, nRibbonEvents);

    s_pHost->m_lRefuseChange = 0;
    m_pRibbon->SetCurrentTab(2);
    PumpHost(100);
    EXPECT_EQ(m_pRibbon->GetTab(2), m_pRibbon->GetCurrentTab());
    std::vector<LONG> children;
    for (const auto& e : g_focusEvents)
        if (e.first == m_pRibbon->GetSafeHwnd())
            children.push_back(e.second);
    EXPECT_EQ(std::vector<LONG>{3}, children);
    ::UnhookWinEvent(hHook);
}

TEST_F(RibbonLayout, GroupsSitSpacedFromTheLeftOfTheGroupArea)
{
    Layout(880);
    CQVTRibbonTab* pTab = m_pRibbon->GetCurrentTab();
    CQVTRibbonGroups* pGroups = pTab->GetGroups();
    ASSERT_EQ(3, pGroups->GetCount());
    const int nSpacing = m_pRibbon->GetRibbonPaintManager()->GetGroupSpacing();
    ASSERT_GT(nSpacing, 0);
    const CRect rcArea = m_pRibbon->GetGroupsRect();
    EXPECT_EQ(ScaleX(4), pGroups->GetAt(0)->GetRect().left);
    for (int i = 0; i < 3; ++i)
    {
        const CRect rc = pGroups->GetAt(i)->GetRect();
        EXPECT_EQ(rcArea.top + ScaleY(3), rc.top) << i;
        EXPECT_EQ(m_pRibbon->GetGroupsHeight() - ScaleY(7), rc.Height()) << i;
        if (i > 0)
        {
            EXPECT_EQ(pGroups->GetAt(i - 1)->GetRect().right + nSpacing, rc.left) << i;
        }
        // Every control of a group lies inside it, above its caption band.
        CQVTRibbonGroup* pGroup = pGroups->GetAt(i);
        for (int j = 0; j < pGroup->GetCount(); ++j)
        {
            const CRect rcControl = pGroup->GetAt(j)->GetRect();
            EXPECT_TRUE(rc.PtInRect(rcControl.TopLeft())) << i << "," << j;
            EXPECT_LE(rcControl.bottom, pGroup->GetCaptionRect().top) << i << "," << j;
        }
    }
    // Large icons make large buttons; small ones middle buttons.
    EXPECT_EQ(qvtButtonIconAndCaptionBelow, StyleOf(s_pHost, ID_RIBBON_RECORD));
    EXPECT_EQ(qvtButtonIconAndCaption, StyleOf(s_pHost, ID_RIBBON_RENAME));
    // Three middle buttons stack in one column.
    EXPECT_EQ(s_pHost->FindControl(ID_RIBBON_RENAME)->GetRect().left,
              s_pHost->FindControl(ID_RIBBON_INFO)->GetRect().left);
    EXPECT_EQ(s_pHost->FindControl(ID_RIBBON_RENAME)->GetRect().bottom,
              s_pHost->FindControl(ID_RIBBON_DELETE)->GetRect().top);
}

TEST_F(RibbonLayout, NarrowingShrinksTheRightmostGroupFirstAndCollapsesGroupsLast)
{
    int nRecordShrunkAt = 0;
    int nPlaybackShrunkAt = 0;
    for (int nWidth = 880; nWidth >= 260 && !nRecordShrunkAt; nWidth -= 5)
    {
        s_pHost->ResizeClient(nWidth, 380);
        if (!nPlaybackShrunkAt && StyleOf(s_pHost, ID_RIBBON_PLAY) != qvtButtonIconAndCaptionBelow)
            nPlaybackShrunkAt = nWidth;
        if (StyleOf(s_pHost, ID_RIBBON_RECORD) != qvtButtonIconAndCaptionBelow)
            nRecordShrunkAt = nWidth;
    }
    ASSERT_GT(nPlaybackShrunkAt, 0);
    ASSERT_GT(nRecordShrunkAt, 0);
    EXPECT_GT(nPlaybackShrunkAt, nRecordShrunkAt);
    // A whole run of three large buttons becomes middle buttons at once.
    EXPECT_EQ(qvtButtonIconAndCaption, StyleOf(s_pHost, ID_RIBBON_NEXT));
    EXPECT_EQ(qvtButtonIconAndCaption, StyleOf(s_pHost, ID_RIBBON_PREVIOUS));

    s_pHost->ResizeClient(260, 380);
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    EXPECT_TRUE(pFiles->IsReduced());
    EXPECT_TRUE(pFiles->GetControlGroupPopup()->IsVisible());
    EXPECT_EQ(pFiles->GetRect().left, pFiles->GetControlGroupPopup()->GetRect().left);
    EXPECT_TRUE(HideFlagsOf(s_pHost, ID_RIBBON_RENAME) & qvtHideWrap);
    EXPECT_FALSE(pFiles->GetControlGroupOption()->IsVisible());

    // Widening undoes every reduction.
    s_pHost->ResizeClient(880, 380);
    EXPECT_FALSE(pFiles->IsReduced());
    EXPECT_FALSE(pFiles->GetControlGroupPopup()->IsVisible());
    EXPECT_FALSE(HideFlagsOf(s_pHost, ID_RIBBON_RENAME) & qvtHideWrap);
    EXPECT_EQ(qvtButtonIconAndCaptionBelow, StyleOf(s_pHost, ID_RIBBON_RECORD));
}

TEST_F(RibbonLayout, GroupsOfOneControlOrLimitedReductionNeverCollapse)
{
    CQVTRibbonGroup* pPlayback = s_pHost->FindGroup(4002);
    pPlayback->SetReduceLimit(3);
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    pFiles->RemoveAt(2);
    pFiles->RemoveAt(1);
    ASSERT_EQ(1, pFiles->GetCount());
    s_pHost->ResizeClient(260, 380);
    EXPECT_FALSE(pPlayback->IsReduced());
    EXPECT_FALSE(pFiles->IsReduced());
    // The group that may shrink did.
    EXPECT_NE(qvtButtonIconAndCaptionBelow, StyleOf(s_pHost, ID_RIBBON_RECORD));

    // Limit 0: the group keeps its large buttons however narrow the bar.
    s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD)->SetReduceLimit(0);
    s_pHost->ResizeClient(261, 380);
    EXPECT_FALSE(s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD)->IsReduced());
    EXPECT_EQ(qvtButtonIconAndCaptionBelow, StyleOf(s_pHost, ID_RIBBON_RECORD));
}

TEST_F(RibbonLayout, AControlHeightOfZeroReducesByNothingButCollapse)
{
    CQVTPaintManager* pPaintManager = m_pRibbon->GetPaintManager();
    const int nHeight = pPaintManager->m_nControlHeight;
    pPaintManager->m_nControlHeight = 0;
    s_pHost->ResizeClient(300, 380);
    Layout(300);
    pPaintManager->m_nControlHeight = nHeight;
    // No reduction by rows: the large buttons stay large until groups
    // collapse.
    CQVTRibbonGroup* pPlayback = s_pHost->FindGroup(4002);
    EXPECT_TRUE(pPlayback->IsReduced() || StyleOf(s_pHost, ID_RIBBON_PLAY) == qvtButtonIconAndCaptionBelow);
}

TEST_F(RibbonLayout, AGroupsControlsSitInTheBarJustBeforeItsOptionButton)
{
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    CQVTControls* pControls = m_pRibbon->GetControls();
    const int nCount = pControls->GetCount();
    CQVTControl* pFirst = pFiles->Add(qvtControlButton, ID_RIBBON_ABOUT + 1, _T("First"), 0);
    CQVTControl* pLast = pFiles->Add(qvtControlButton, ID_RIBBON_ABOUT + 2, _T("Last"), 99);
    EXPECT_EQ(nCount + 2, pControls->GetCount());
    ASSERT_EQ(5, pFiles->GetCount());
    const int nOption = pFiles->GetControlGroupOption()->GetIndex();
    for (int i = 0; i < pFiles->GetCount(); ++i)
    {
        EXPECT_EQ(nOption - pFiles->GetCount() + i, pFiles->GetAt(i)->GetIndex()) << i;
        EXPECT_EQ(pFiles, pFiles->GetAt(i)->GetRibbonGroup());
    }
    EXPECT_EQ(0, pFiles->IndexOf(pFirst));
    EXPECT_EQ(4, pFiles->IndexOf(pLast));
    EXPECT_EQ(-1, s_pHost->FindGroup(4002)->IndexOf(pFirst));

    // Removing from the bar's list takes it out of the group too.
    pControls->Remove(pFirst);
    EXPECT_EQ(4, pFiles->GetCount());
    EXPECT_EQ(nCount + 1, pControls->GetCount());
    pFiles->Remove(pLast);
    EXPECT_EQ(3, pFiles->GetCount());
    EXPECT_EQ(nCount, pControls->GetCount());

    BOOL bThrown = FALSE;
    try
    {
        pFiles->RemoveAt(3);
    }
    catch (CInvalidArgException* e)
    {
        bThrown = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST_F(RibbonLayout, ToolbarResourcesAreReadOnlyWithinTheirSize)
{
    CQVTRibbonGroup* pGroup = m_pRibbon->GetTab(2)->AddGroup(_T("Loaded"), 4100);
    EXPECT_FALSE(pGroup->LoadToolBar(IDR_RIBBON_FORGEDBAR, FALSE));
    EXPECT_EQ(0, pGroup->GetCount());
    EXPECT_FALSE(pGroup->LoadToolBar(IDR_RIBBON_SHORTBAR, FALSE));
    EXPECT_FALSE(pGroup->LoadToolBar(4999, FALSE));
    EXPECT_EQ(0, pGroup->GetCount());

    ASSERT_TRUE(pGroup->LoadToolBar(IDR_RIBBON_GOODBAR, FALSE));
    ASSERT_EQ(3, pGroup->GetCount());
    EXPECT_EQ(ID_RIBBON_PLAY, pGroup->GetAt(0)->GetID());
    EXPECT_EQ(ID_RIBBON_NEXT, pGroup->GetAt(1)->GetID());
    EXPECT_TRUE(pGroup->GetAt(1)->GetBeginGroup());
    EXPECT_FALSE(pGroup->GetAt(2)->GetBeginGroup());
}

TEST_F(RibbonLayout, TheSiteMayPutItsOwnControlsIntoAToolbarLoadedGroup)
{
    // The site is asked for each button in turn; it hands over an edit for
    // "Next" and asks for a popup for "Previous".
    s_pHost->m_pOwnControl = new CQVTControlEdit();
    s_pHost->m_nOwnControlId = ID_RIBBON_NEXT;
    s_pHost->m_nPopupId = ID_RIBBON_PREVIOUS;
    CQVTRibbonGroup* pGroup = m_pRibbon->GetTab(2)->AddGroup(_T("Own"), 4101);
    ASSERT_TRUE(pGroup->LoadToolBar(IDR_RIBBON_GOODBAR, FALSE));
    EXPECT_EQ(std::vector<UINT>({ID_RIBBON_PLAY, ID_RIBBON_NEXT, ID_RIBBON_PREVIOUS}), s_pHost->m_asked);
    ASSERT_EQ(3, pGroup->GetCount());
    EXPECT_EQ(s_pHost->m_pOwnControl, pGroup->GetAt(1));
    EXPECT_EQ(ID_RIBBON_NEXT, pGroup->GetAt(1)->GetID());
    EXPECT_TRUE(pGroup->GetAt(1)->GetBeginGroup());
    EXPECT_EQ(pGroup, pGroup->GetAt(1)->GetRibbonGroup());
    EXPECT_EQ(qvtControlPopup, pGroup->GetAt(2)->GetType());
    EXPECT_EQ(ID_RIBBON_PREVIOUS, pGroup->GetAt(2)->GetIconId());
    // Each made control is reported, the site's own one as it was given.
    const std::vector<std::pair<UINT, CQVTControl*>> made = {{ID_RIBBON_PLAY, pGroup->GetAt(0)},
                                                             {ID_RIBBON_NEXT, pGroup->GetAt(1)},
                                                             {ID_RIBBON_PREVIOUS, pGroup->GetAt(2)}};
    EXPECT_EQ(made, s_pHost->m_made);
}

TEST_F(RibbonLayout, TheTabRowAnswersAccessibilityClients)
{
    CQVTRibbonControlTab* pStrip = m_pRibbon->GetControlTab();
    LONG nCount = 0;
    ASSERT_EQ(S_OK, pStrip->GetAccessibleChildCount(&nCount));
    EXPECT_EQ(3, nCount);

    VARIANT child;
    child.vt = VT_I4;
    child.lVal = 1;
    BSTR bstr = nullptr;
    ASSERT_EQ(S_OK, pStrip->GetAccessibleName(child, &bstr));
    EXPECT_EQ(CString(_T("Home")), CString(bstr));
    ::SysFreeString(bstr);
    VARIANT var;
    ASSERT_EQ(S_OK, pStrip->GetAccessibleRole(child, &var));
    EXPECT_EQ(ROLE_SYSTEM_PAGETAB, var.lVal);
    ASSERT_EQ(S_OK, pStrip->GetAccessibleState(child, &var));
    EXPECT_EQ(0x300006, var.lVal);
    child.lVal = 2;
    ASSERT_EQ(S_OK, pStrip->GetAccessibleState(child, &var));
    EXPECT_EQ(0x300000, var.lVal);
    ASSERT_EQ(S_OK, pStrip->GetAccessibleDefaultAction(child, &bstr));
    EXPECT_EQ(CString(_T("Switch")), CString(bstr));
    ::SysFreeString(bstr);
    m_pRibbon->GetTab(1)->SetVisible(FALSE);
    ASSERT_EQ(S_OK, pStrip->GetAccessibleState(child, &var));
    EXPECT_EQ(0x308000, var.lVal);
    m_pRibbon->GetTab(1)->SetVisible(TRUE);

    child.lVal = 3;
    EXPECT_EQ(S_OK, pStrip->AccessibleDoDefaultAction(child));
    EXPECT_EQ(m_pRibbon->GetTab(2), m_pRibbon->GetCurrentTab());

    child.lVal = 0;
    ASSERT_EQ(S_OK, pStrip->GetAccessibleRole(child, &var));
    EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, var.lVal);
    ASSERT_EQ(S_OK, pStrip->GetAccessibleState(child, &var));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, var.lVal);
    LONG nTopic = 0;
    EXPECT_EQ(S_FALSE, pStrip->GetAccessibleHelpTopic(&bstr, child, &nTopic));
    child.lVal = 4;
    EXPECT_EQ(E_INVALIDARG, pStrip->GetAccessibleName(child, &bstr));
    EXPECT_EQ(E_INVALIDARG, pStrip->AccessibleDoDefaultAction(child));

    // A point on the second tab hits child 2.
    const CRect rcTab = m_pRibbon->GetTab(1)->GetRect();
    const CPoint pt = s_pHost->ScreenPointOf(rcTab);
    ASSERT_EQ(S_OK, pStrip->AccessibleHitTest(pt.x, pt.y, &var));
    EXPECT_EQ(2, var.lVal);
}

TEST_F(RibbonLayout, HidingTheSelectedTabSelectsTheFirstVisibleOne)
{
    m_pRibbon->SetCurrentTab(1);
    m_pRibbon->GetTab(0)->SetVisible(FALSE);
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    m_pRibbon->GetTab(0)->SetVisible(TRUE);
    m_pRibbon->GetTab(1)->SetVisible(FALSE);
    EXPECT_EQ(m_pRibbon->GetTab(0), m_pRibbon->GetCurrentTab());
}

TEST_F(RibbonLayout, CopiesTakeTheQuickAccessPlaceAndMinimizedState)
{
    m_pRibbon->ShowQuickAccessBelowRibbon(TRUE);
    m_pRibbon->SetRibbonMinimized(TRUE);
    m_pRibbon->GetQuickAccessControls()->Add(new CQVTControlButton(), ID_RIBBON_RECORD);
    EXPECT_TRUE(m_pRibbon->IsQuickAccessControl(m_pRibbon->GetQuickAccessControls()->GetAt(0)));
    CQVTRibbonBar* pCopy = m_pRibbon->CreateCopy();
    ASSERT_NE(nullptr, pCopy);
    EXPECT_TRUE(pCopy->IsQuickAccessBelowRibbon());
    EXPECT_TRUE(pCopy->IsRibbonMinimized());
    ASSERT_EQ(1, pCopy->GetQuickAccessControls()->GetCount());
    EXPECT_EQ(ID_RIBBON_RECORD, pCopy->GetQuickAccessControls()->GetAt(0)->GetID());
    EXPECT_NE(m_pRibbon->GetQuickAccessControls()->GetAt(0), pCopy->GetQuickAccessControls()->GetAt(0));
    // A bar that is not customizable copies no tabs.
    EXPECT_EQ(0, pCopy->GetTabCount());
    pCopy->InternalRelease();
}

TEST_F(RibbonLayout, NeighbouringTabsOfOneContextShareAHeader)
{
    CQVTRibbonTab* pExtra = m_pRibbon->AddTab(_T("Extra"));
    for (CQVTRibbonTab* pTab : {m_pRibbon->GetTab(1), m_pRibbon->GetTab(2)})
    {
        pTab->SetContextColor(qvtRibbonTabContextGreen);
        pTab->SetContextCaption(_T("Tools"));
    }
    Layout(880);
    const CQVTRibbonTabContextHeaderList& headers = m_pRibbon->GetContextHeaders();
    ASSERT_EQ(1, headers.GetCount());
    EXPECT_EQ(m_pRibbon->GetTab(1), headers.GetAt(0)->m_pFirstTab);
    EXPECT_EQ(m_pRibbon->GetTab(2), headers.GetAt(0)->m_pLastTab);
    EXPECT_EQ(m_pRibbon->GetTab(1)->GetRect().left, headers.GetAt(0)->m_rcRect.left);
    EXPECT_EQ(m_pRibbon->GetTab(2)->GetRect().right, headers.GetAt(0)->m_rcRect.right);
    EXPECT_EQ(m_pRibbon->GetCaptionRect().top + ScaleY(4), headers.GetAt(0)->m_rcRect.top);
    EXPECT_EQ(headers.GetAt(0), m_pRibbon->GetTab(2)->GetContextHeader());

    // Another caption or a plain tab between them makes two headers.
    m_pRibbon->GetTab(2)->SetContextColor(0);
    pExtra->SetContextColor(qvtRibbonTabContextGreen);
    pExtra->SetContextCaption(_T("Tools"));
    Layout(880);
    ASSERT_EQ(2, m_pRibbon->GetContextHeaders().GetCount());
    EXPECT_EQ(nullptr, m_pRibbon->GetTab(2)->GetContextHeader());

    // A hidden tab between them does not split the run.
    m_pRibbon->GetTab(2)->SetVisible(FALSE);
    Layout(880);
    ASSERT_EQ(1, m_pRibbon->GetContextHeaders().GetCount());
    EXPECT_EQ(pExtra, m_pRibbon->GetContextHeaders().GetAt(0)->m_pLastTab);

    // A press on the header selects its first tab.
    const CRect rcHeader = m_pRibbon->GetContextHeaders().GetAt(0)->m_rcRect;
    m_pRibbon->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                           MAKELPARAM(rcHeader.CenterPoint().x, rcHeader.CenterPoint().y));
    m_pRibbon->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcHeader.CenterPoint().x, rcHeader.CenterPoint().y));
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
}

TEST_F(RibbonLayout, AWideCaptionShrinksButNeverBelowItsControls)
{
    CQVTRibbonGroup* pHelp = s_pHost->FindGroup(4005);
    pHelp->SetCaption(_T("A caption far wider than the two buttons under it"));
    m_pRibbon->SetCurrentTab(2);
    pHelp->RemoveAt(1);
    Layout(880);
    const int nWide = pHelp->GetRect().Width();
    const int nButton = s_pHost->FindControl(ID_RIBBON_HELPTOPICS)->GetRect().Width();
    ASSERT_GT(nWide, nButton + ScaleX(40));

    Layout(ScaleX(250));
    const int nNarrow = pHelp->GetRect().Width();
    EXPECT_LT(nNarrow, nWide);
    // Controls width plus the group's own margins.
    EXPECT_GE(nNarrow, nButton + ScaleX(4) + ScaleX(5));
    EXPECT_FALSE(pHelp->IsReduced());
}

TEST_F(RibbonLayout, GroupsThatStillDoNotFitScrollFortyPixelsAStep)
{
    CQVTRibbonTab* pTab = m_pRibbon->GetTab(2);
    for (int i = 0; i < 8; ++i)
    {
        CQVTRibbonGroup* pGroup = pTab->AddGroup(_T("More"), 4200 + i);
        pGroup->Add(qvtControlButton, 4300 + 2 * i, _T("One"));
        pGroup->Add(qvtControlButton, 4301 + 2 * i, _T("Two"));
    }
    m_pRibbon->SetCurrentTab(2);
    const int nWidth = ScaleX(300);
    Layout(nWidth);
    CQVTRibbonGroups* pGroups = pTab->GetGroups();
    EXPECT_EQ(0, pGroups->GetScrollOffset());
    EXPECT_FALSE(m_pRibbon->GetScrollButtonLeft()->IsVisible());
    ASSERT_TRUE(m_pRibbon->GetScrollButtonRight()->IsVisible());
    const int nFirstLeft = pGroups->GetAt(0)->GetRect().left;

    // A press on the right button moves the row one step.
    m_pRibbon->GetScrollButtonRight()->OnExecute();
    Layout(nWidth);
    EXPECT_EQ(ScaleX(40), pGroups->GetScrollOffset());
    EXPECT_EQ(nFirstLeft - ScaleX(40), pGroups->GetAt(0)->GetRect().left);
    EXPECT_TRUE(m_pRibbon->GetScrollButtonLeft()->IsVisible());

    // Far past the end the offset stops where the last group is shown. A
    // step starts from the last layout's offset.
    for (int i = 0; i < 40 && m_pRibbon->GetScrollButtonRight()->IsVisible(); ++i)
    {
        m_pRibbon->GetScrollButtonRight()->OnExecute();
        Layout(nWidth);
    }
    const int nLast = pGroups->GetAt(pGroups->GetCount() - 1)->GetRect().right;
    EXPECT_LE(nLast, m_pRibbon->GetGroupsRect().right);
    EXPECT_GT(nLast, m_pRibbon->GetGroupsRect().right - ScaleX(20));
    EXPECT_FALSE(m_pRibbon->GetScrollButtonRight()->IsVisible());

    // Another tab starts unscrolled.
    m_pRibbon->SetCurrentTab(0);
    Layout(nWidth);
    EXPECT_EQ(0, m_pRibbon->GetGroupsScrollPos());
}

TEST_F(RibbonLayout, QuickAccessControlsThatDoNotFitGiveWayToTheMoreButton)
{
    CQVTRibbonQuickAccessControls* pQuick = m_pRibbon->GetQuickAccessControls();
    for (int i = 0; i < 7; ++i)
    {
        CQVTControl* pControl = pQuick->Add(new CQVTControlButton(), ID_RIBBON_RECORD + i);
        pControl->SetStyle(qvtButtonIcon);
    }
    Layout(880);
    CQVTControl* pCustomize = m_pRibbon->GetControls()->FindControl(QVT_ID_RIBBONCONTROLQUICKACCESS);
    CQVTControl* pMore = m_pRibbon->GetControls()->FindControl(QVT_ID_RIBBONCONTROLQUICKACCESSMORE);
    ASSERT_NE(nullptr, pCustomize);
    ASSERT_NE(nullptr, pMore);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(pQuick->GetAt(i)->IsVisible()) << i;
    EXPECT_TRUE(pCustomize->IsVisible());
    EXPECT_FALSE(pMore->IsVisible());
    EXPECT_GT(pCustomize->GetRect().left, pQuick->GetAt(6)->GetRect().right);

    // So narrow that only some fit: those past the limit hide and the more
    // button ends the row in the customize button's place.
    Layout(ScaleX(250));
    int nShown = 0;
    int nRight = 0;
    for (int i = 0; i < 7; ++i)
    {
        if (pQuick->GetAt(i)->IsVisible())
        {
            ++nShown;
            nRight = pQuick->GetAt(i)->GetRect().right;
        }
        else
        {
            for (int j = i + 1; j < 7; ++j)
                EXPECT_FALSE(pQuick->GetAt(j)->IsVisible()) << j;
            break;
        }
    }
    EXPECT_LT(nShown, 7);
    EXPECT_FALSE(pCustomize->IsVisible());
    ASSERT_TRUE(pMore->IsVisible());
    EXPECT_GE(pMore->GetRect().left, nRight);
}

TEST_F(RibbonLayout, ThreeHundredPixelGroupsStandSideBySideIn314Pixels)
{
    std::vector<std::pair<int, int>> log;
    CQVTRibbonTab* pTab = m_pRibbon->AddTab(_T("Scripted"));
    std::vector<CScriptedGroup*> groups;
    for (int i = 0; i < 3; ++i)
    {
        groups.push_back(new CScriptedGroup(i, 100, &log));
        groups.back()->m_nBudget[0] = 1;
        pTab->GetGroups()->InsertGroup(i, groups.back());
    }
    m_pRibbon->SetCurrentTab(3);
    ASSERT_EQ(ScaleX(2), m_pRibbon->GetRibbonPaintManager()->GetGroupSpacing());
    // The group row keeps 4 px each side and 4 more on the right.
    const int nWidth = 314 + 2 * ScaleX(4) + ScaleX(4);
    Layout(nWidth);
    EXPECT_TRUE(log.empty());
    const int nTop = m_pRibbon->GetGroupsRect().top + ScaleY(3);
    const int nHeight = m_pRibbon->GetGroupsHeight() - ScaleY(7);
    EXPECT_EQ(CRect(ScaleX(4), nTop, ScaleX(4) + 105, nTop + nHeight), groups[0]->GetRect());
    EXPECT_EQ(CRect(ScaleX(4) + 107, nTop, ScaleX(4) + 212, nTop + nHeight), groups[1]->GetRect());
    EXPECT_EQ(CRect(ScaleX(4) + 214, nTop, ScaleX(4) + 319, nTop + nHeight), groups[2]->GetRect());

    // One pixel less and the rightmost group gives way first.
    Layout(nWidth - 1);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 0}}), log);
}

TEST_F(RibbonLayout, RightAlignedBarControlsEndTheTabRow)
{
    CQVTControls* pControls = m_pRibbon->GetControls();
    CQVTControl* pOptions = pControls->AddByType(qvtControlButton, ID_RIBBON_FOLDER + 100);
    pOptions->SetCaption(_T("Options"));
    pOptions->SetFlags(qvtFlagRightAlign);
    CQVTControl* pAbout = pControls->AddByType(qvtControlButton, ID_RIBBON_ABOUT + 100);
    pAbout->SetCaption(_T("About"));
    pAbout->SetFlags(qvtFlagRightAlign);
    Layout(880);
    const CRect rcRow = m_pRibbon->GetControlTab()->GetRect();
    EXPECT_EQ(880, pAbout->GetRect().right);
    EXPECT_EQ(pAbout->GetRect().left, pOptions->GetRect().right);
    EXPECT_EQ(pOptions->GetRect().left, rcRow.right);
    const CRect rcTabs = m_pRibbon->GetTabControlRect();
    EXPECT_LE(std::abs(pAbout->GetRect().CenterPoint().y - rcTabs.CenterPoint().y), 1);
    EXPECT_TRUE(pAbout->GetFlags() & QVT_RIBBON_FLAG_BESIDE_TABS);
    EXPECT_TRUE(pOptions->GetFlags() & QVT_RIBBON_FLAG_BESIDE_TABS);
    // The tabs stay left of them.
    EXPECT_LE(m_pRibbon->GetTab(2)->GetRect().right, rcRow.right);
}

TEST_F(RibbonLayout, AGroupingGroupLaysItsRunsOutInRowsLikeSmallToolbars)
{
    CQVTRibbonGroup* pGroup = m_pRibbon->GetTab(2)->AddGroup(_T("Grouped"), 4500);
    pGroup->SetControlsGrouping(TRUE);
    for (int i = 0; i < 6; ++i)
    {
        CQVTControl* pControl = pGroup->Add(qvtControlButton, ID_RIBBON_RECORD + i);
        pControl->SetStyle(qvtButtonIcon);
        pControl->SetBeginGroup(i == 2 || i == 4);
    }
    m_pRibbon->SetCurrentTab(2);
    Layout(880);
    // Three runs of two split over two rows at half the one-row width.
    std::vector<int> rows;
    for (int i = 0; i < 6; ++i)
        rows.push_back(pGroup->GetAt(i)->GetRect().top);
    EXPECT_EQ(rows[0], rows[1]);
    EXPECT_LT(rows[0], rows[5]);
    int nRowStarts = 0;
    for (int i = 0; i < 6; ++i)
        nRowStarts += pGroup->GetAt(i)->GetWrap() ? 1 : 0;
    EXPECT_EQ(2, nRowStarts);
    EXPECT_TRUE(pGroup->GetAt(0)->GetWrap());
    // A run stays on one row: it breaks only where a run begins.
    for (int i = 1; i < 6; ++i)
    {
        if (pGroup->GetAt(i)->GetWrap())
        {
            EXPECT_TRUE(pGroup->GetAt(i)->GetBeginGroup()) << i;
        }
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(pGroup->GetRect().PtInRect(pGroup->GetAt(i)->GetRect().TopLeft())) << i;
}

TEST_F(RibbonLayout, TheTabRowTakesTheKeyboardWhenTheBarSelectsIt)
{
    Layout(880);
    CQVTRibbonControlTab* pStrip = m_pRibbon->GetControlTab();
    // Focusing a strip without a selected tab selects the first visible one.
    pStrip->CQVTTabManager::SetSelectedItem(nullptr);
    m_pRibbon->GetTab(0)->SetVisible(FALSE);
    pStrip->SetFocused(TRUE);
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    pStrip->SetFocused(FALSE);
    m_pRibbon->GetTab(0)->SetVisible(TRUE);
    m_pRibbon->SetCurrentTab(0);

    m_pRibbon->SetTrackingMode(TRUE, FALSE, TRUE);
    m_pRibbon->SetSelected(pStrip->GetIndex(), CQVTCommandBar::selectByKeyboardForward);
    EXPECT_TRUE(pStrip->IsFocused());
    EXPECT_TRUE(pStrip->OnHookKeyDown(VK_RIGHT, 0));
    EXPECT_EQ(m_pRibbon->GetTab(1), m_pRibbon->GetCurrentTab());
    EXPECT_TRUE(pStrip->OnHookKeyDown(VK_LEFT, 0));
    EXPECT_EQ(m_pRibbon->GetTab(0), m_pRibbon->GetCurrentTab());
    // At the first tab Left has nowhere to go.
    EXPECT_TRUE(pStrip->OnHookKeyDown(VK_LEFT, 0));
    EXPECT_EQ(m_pRibbon->GetTab(0), m_pRibbon->GetCurrentTab());
    // Down goes to the first control after the strip.
    EXPECT_TRUE(pStrip->OnHookKeyDown(VK_DOWN, 0));
    CQVTControl* pSelected = m_pRibbon->GetControl(m_pRibbon->GetSelectedIndex());
    ASSERT_NE(nullptr, pSelected);
    EXPECT_GT(pSelected->GetIndex(), pStrip->GetIndex());
    EXPECT_FALSE(pStrip->OnHookKeyDown('A', 0));

    m_pRibbon->SetTrackingMode(FALSE, TRUE, FALSE);
    EXPECT_FALSE(pStrip->IsFocused());
}

namespace {

const int kGalleryId = 4200;
const int kGalleryItemWidth = 40;

// A group of the Home tab holding one gallery of thirty 40-pixel items:
// more than a row of them fits.
CQVTControlGallery* AddGalleryGroup(CQVTRibbonBar* pRibbon, BOOL bExpandable)
{
    CQVTRibbonGroup* pGroup = pRibbon->GetTab(0)->AddGroup(_T("Styles"), 4006);
    CQVTControlGallery* pGallery =
        DYNAMIC_DOWNCAST(CQVTControlGallery, pGroup->AddControl(new CQVTControlGallery(), kGalleryId));
    CQVTControlGalleryItems* pItems = new CQVTControlGalleryItems();
    pItems->SetItemSize(CSize(kGalleryItemWidth, 20));
    for (int i = 0; i < 30; ++i)
        pItems->AddItem(4300 + i);
    pGallery->SetItems(pItems);
    pItems->InternalRelease();
    if (bExpandable)
        pGallery->SetFlags(pGallery->GetFlags() | 1);
    return pGallery;
}

}  // namespace

TEST_F(RibbonLayout, AGalleryWidensByWholeItemsAndCollapsesOnlyWhenNothingElseShrinks)
{
    CQVTControlGallery* pGallery = AddGalleryGroup(m_pRibbon, TRUE);
    const int nStart = pGallery->GetWidth();
    const CRect rcBorders = pGallery->GetBorders();
    const int nFull = rcBorders.left + 30 * kGalleryItemWidth + rcBorders.right;
    ASSERT_LT(nStart + kGalleryItemWidth, nFull);
    // One group grows per layout, by whole items, never past a row of all
    // the items nor past the room there is.
    int nWidth = nStart;
    for (int i = 0; i < 12; ++i)
    {
        Layout(880);
        EXPECT_EQ(0, (pGallery->GetWidth() - nStart) % kGalleryItemWidth);
        EXPECT_LT(pGallery->GetWidth(), nFull);
        EXPECT_GE(pGallery->GetWidth(), nWidth);
        nWidth = pGallery->GetWidth();
    }
    EXPECT_GT(nWidth, nStart);
    // Widened, the groups still fit without scrolling.
    EXPECT_LE(s_pHost->FindGroup(4006)->GetRect().right, 880);
    EXPECT_EQ(0, m_pRibbon->GetTab(0)->GetGroups()->GetScrollOffset());

    // Narrowing: the other groups' large buttons give way before the
    // gallery turns into a button; widening opens it again.
    BOOL bButtonsShrunk = FALSE;
    int nCollapsedAt = 0;
    for (int nNarrow = 880; nNarrow >= 260 && !nCollapsedAt; nNarrow -= 10)
    {
        Layout(nNarrow);
        if (StyleOf(s_pHost, ID_RIBBON_RENAME) != qvtButtonIconAndCaptionBelow)
            bButtonsShrunk = TRUE;
        if (pGallery->IsShowAsButton())
            nCollapsedAt = nNarrow;
    }
    ASSERT_GT(nCollapsedAt, 0);
    EXPECT_TRUE(bButtonsShrunk);
    Layout(880);
    EXPECT_FALSE(pGallery->IsShowAsButton());
}

TEST_F(RibbonLayout, AGalleryWithoutTheWideningFlagKeepsItsWidth)
{
    CQVTControlGallery* pGallery = AddGalleryGroup(m_pRibbon, FALSE);
    const int nStart = pGallery->GetWidth();
    Layout(880);
    Layout(880);
    EXPECT_EQ(nStart, pGallery->GetWidth());
}

TEST_F(RibbonLayout, EditsAndComboBoxesOfOneColumnShareTheWidestLabel)
{
    CQVTRibbonGroup* pGroup = m_pRibbon->GetTab(0)->AddGroup(_T("Fields"), 4007);
    CQVTControlComboBox* pCombo =
        DYNAMIC_DOWNCAST(CQVTControlComboBox, pGroup->Add(qvtControlComboBox, 4210));
    CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pGroup->Add(qvtControlEdit, 4211));
    ASSERT_NE(nullptr, pCombo);
    ASSERT_NE(nullptr, pEdit);
    pCombo->SetCaption(_T("In"));
    pCombo->SetStyle(1);
    pEdit->SetCaption(_T("Output folder name"));
    pEdit->ShowLabel(TRUE);
    pCombo->SetWidth(ScaleX(150));
    pEdit->SetWidth(ScaleX(150));
    s_pHost->ResizeClient(1100, 380);
    Layout(1100);
    ASSERT_EQ(pCombo->GetRect().left, pEdit->GetRect().left);
    ASSERT_EQ(pCombo->GetRect().right, pEdit->GetRect().right);
    EXPECT_GT(pEdit->GetLabelWidth(), 0);
    EXPECT_EQ(pEdit->GetLabelWidth(), pCombo->GetLabelWidth());

    // Without equal widths each keeps the width of its own label.
    pGroup->SetEqualLabelWidth(FALSE);
    Layout(1100);
    EXPECT_LT(pCombo->GetLabelWidth(), pEdit->GetLabelWidth());
}
