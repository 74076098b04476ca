// The system button and the application menu: the recent-file items a
// layout builds from the application's list (numbers, "&", no duplicates,
// the end at an empty path), the pins written back to a pinnable list that
// may be shorter than the entries, the menu's borders and foot row by theme,
// and where the tab row starts beside the button.
#include <afxadv.h>
#include <afxext.h>

#include <memory>

#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const int kSystemFirstMru = 57616;
const int kSystemOpenId = 57601;

// A recent-file list control over a list of the test's.
class CSystemTestRecentFiles : public CQVTRibbonControlSystemRecentFileList
{
public:
    CRecentFileList* GetRecentFileList() override { return m_pList; }
    CRecentFileList* m_pList = nullptr;
};

// Twelve files, the fourth with "&" in its name; the list keeps the newest
// first, so they are added from the last.
void FillSystemTestFiles(CRecentFileList& list)
{
    for (int i = 12; i >= 1; --i)
    {
        CString strPath;
        if (i == 4)
            strPath = _T("C:\\Takes\\R&B take.wav");
        else
            strPath.Format(_T("C:\\Takes\\take%02d.wav"), i);
        list.Add(strPath);
    }
}

int CountSystemFileItems(CQVTCommandBar* pBar)
{
    int nCount = 0;
    for (int i = 0; i < pBar->GetControlCount(); ++i)
        if (pBar->GetControl(i)->GetID() >= kSystemFirstMru &&
            pBar->GetControl(i)->GetID() < kSystemFirstMru + 16)
            ++nCount;
    return nCount;
}

}  // namespace

class RibbonSystem : public CRibbonHostSuite<RibbonSystem>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(60, 80, 900, 420)); }

protected:
    void SetUp() override { ResetHost(820, 300); }
    void TearDown() override
    {
        if (m_pMenu)
            m_pMenu->InternalRelease();
        m_pMenu = nullptr;
    }

    // An application menu with one command, the recent-file list after it
    // and an exit button in its foot.
    CQVTRibbonSystemPopupBar* MakeMenu(CRecentFileList* pList)
    {
        m_pMenu = new CQVTRibbonSystemPopupBar();
        m_pMenu->SetCommandBars(s_pHost->GetCommandBars());
        m_pMenu->GetControls()->Add(new CQVTRibbonControlSystemPopupBarListItem(), kSystemOpenId);
        m_pMenu->GetControl(0)->SetCaption(_T("&Open"));
        auto* pRecent = new CSystemTestRecentFiles();
        pRecent->m_pList = pList;
        m_pMenu->GetControls()->Add(pRecent, kSystemFirstMru);
        pRecent->SetCaption(_T("Recent Takes"));
        m_pMenu->GetControls()->Add(new CQVTRibbonControlSystemPopupBarButton(), 57665);
        m_pMenu->GetControls()->GetAt(m_pMenu->GetControlCount() - 1)->SetCaption(_T("E&xit"));
        return m_pMenu;
    }

    CQVTRibbonSystemPopupBar* m_pMenu = nullptr;
};

TEST_F(RibbonSystem, RecentFilesAreNumberedOnceAndRebuiltWithoutDuplicates)
{
    CRecentFileList list(0, _T("Recent Takes"), _T("File%d"), 12);
    FillSystemTestFiles(list);
    CQVTRibbonSystemPopupBar* pMenu = MakeMenu(&list);

    // Twice: the second layout removes the first one's items by their ids.
    for (int nRun = 0; nRun < 2; ++nRun)
    {
        pMenu->CalcDynamicLayout(0, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
        ASSERT_EQ(12, CountSystemFileItems(pMenu) - 1);  // the caption shares the first id
    }
    // Items follow the caption, in the list's order.
    const int nCaption = 1;
    for (int i = 0; i < 12; ++i)
    {
        CQVTControl* pItem = pMenu->GetControl(nCaption + 1 + i);
        SCOPED_TRACE(i);
        ASSERT_TRUE(pItem->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemRecentFileListFileItem)));
        EXPECT_EQ(kSystemFirstMru + i, pItem->GetID());
        EXPECT_TRUE(pItem->IsTemporary());
        CString strTitle;
        strTitle.Format(_T("take%02d.wav"), i + 1);
        if (i == 3)
            strTitle = _T("R&&B take.wav");
        CString strExpected = strTitle;
        if (i < 9)
            strExpected.Format(_T("&%d %s"), i + 1, static_cast<LPCTSTR>(strTitle));
        EXPECT_EQ(strExpected, pItem->GetCaption());
        EXPECT_EQ(list[i], pItem->GetParameter());
    }
    // An "&" shows once, and only the number is a mnemonic.
    EXPECT_EQ(CString(_T("&4 R&&B take.wav")),
              CQVTRibbonControlSystemRecentFileList::FormatRecentFileCaption(_T("R&B take.wav"), 4));
    EXPECT_EQ(CString(_T("a&&b")),
              CQVTRibbonControlSystemRecentFileList::FormatRecentFileCaption(_T("a&b"), 10));
    EXPECT_EQ(CString(_T("x")), CQVTRibbonControlSystemRecentFileList::FormatRecentFileCaption(_T("x"), 0));

    // An empty path ends the items, though later entries are filled.
    list.m_arrNames[5].Empty();
    pMenu->CalcDynamicLayout(0, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
    EXPECT_EQ(5, CountSystemFileItems(pMenu) - 1);
}

TEST_F(RibbonSystem, PinsGoToThePinnableListEvenWhenItIsShorter)
{
    CQVTPinableRecentFileList list(0, _T("Recent Takes"), _T("File%d"), 12);
    FillSystemTestFiles(list);
    list.m_bShowPins = TRUE;
    // Items only for the first two files; the second one pinned.
    list.AddItem(_T(""), -1);
    list.AddItem(_T("Second take"), -1)->m_bPinned = TRUE;
    CQVTRibbonSystemPopupBar* pMenu = MakeMenu(&list);
    pMenu->CalcDynamicLayout(0, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
    ASSERT_EQ(12, CountSystemFileItems(pMenu) - 1);

    auto* pFirst =
        DYNAMIC_DOWNCAST(CQVTRibbonControlSystemRecentFileListPinableFileItem, pMenu->GetControl(2));
    auto* pSecond =
        DYNAMIC_DOWNCAST(CQVTRibbonControlSystemRecentFileListPinableFileItem, pMenu->GetControl(3));
    auto* pLast =
        DYNAMIC_DOWNCAST(CQVTRibbonControlSystemRecentFileListPinableFileItem, pMenu->GetControl(13));
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    ASSERT_NE(nullptr, pLast);
    EXPECT_FALSE(pFirst->GetChecked());
    EXPECT_TRUE(pSecond->GetChecked());
    EXPECT_EQ(CString(_T("&2 Second take")), pSecond->GetCaption());

    // A release in the pin's 28 pixels toggles the pin, and the list hears it.
    pFirst->SetRect(CRect(10, 40, 310, 61));
    const CRect rcPin = pFirst->GetPinRect();
    EXPECT_EQ(QVTDpiScaler()->ScaleX(28), rcPin.Width());
    pFirst->OnLButtonUp(rcPin.CenterPoint());
    EXPECT_TRUE(pFirst->GetChecked());
    EXPECT_TRUE(list.GetItem(0)->m_bPinned);
    pSecond->SetRect(CRect(10, 61, 310, 82));
    pSecond->OnLButtonUp(pSecond->GetPinRect().CenterPoint());
    EXPECT_FALSE(list.GetItem(1)->m_bPinned);

    // The twelfth file has no item in the list: its pin stays the control's.
    pLast->SetChecked(TRUE);
    EXPECT_TRUE(pLast->GetChecked());
    EXPECT_EQ(2, list.GetItemCount());
}

TEST_F(RibbonSystem, MenuBordersAndFootRowFollowTheTheme)
{
    CRecentFileList list(0, _T("Recent Takes"), _T("File%d"), 4);
    CQVTRibbonSystemPopupBar* pMenu = MakeMenu(&list);
    CQVTDpiScaler* pDpi = QVTDpiScaler();

    // Below the flat themes: a 29-pixel band at the foot holds the buttons,
    // right-aligned.
    const CSize sz = pMenu->CalcDynamicLayout(0, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
    EXPECT_EQ(pDpi->ScaleRect(CRect(6, 18, 6, 29)), pMenu->GetMargins());
    CQVTControl* pExit = pMenu->GetControl(pMenu->GetControlCount() - 1);
    ASSERT_TRUE(pExit->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemPopupBarButton)));
    EXPECT_TRUE(pExit->IsVisible());
    const CRect rcExit = pExit->GetRect();
    EXPECT_EQ(sz.cx - pDpi->ScaleX(6) + pDpi->ScaleX(1), rcExit.right);
    EXPECT_EQ(sz.cy - pDpi->ScaleY(29) + pDpi->ScaleY(4), rcExit.top);
    EXPECT_EQ(sz.cy - pDpi->ScaleY(3), rcExit.bottom);
    EXPECT_GT(rcExit.Width(), 0);
    // The command column ends above the band.
    EXPECT_LE(pMenu->GetControl(0)->GetRect().bottom, rcExit.top);

    // The flat themes frame the menu with 2 pixels all round.
    CQVTPaintManager::SetTheme(qvtThemeOffice2013);
    pMenu->CalcDynamicLayout(0, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
    EXPECT_EQ(pDpi->ScaleRect(CRect(2, 2, 2, 2)), pMenu->GetMargins());
    CQVTPaintManager::SetTheme(qvtThemeRibbon);
}

TEST_F(RibbonSystem, TabRowStartsBesideTheSystemButton)
{
    const CRect rcTabsAlone = m_pRibbon->GetControlTab()->GetRect();
    EXPECT_EQ(ScaleX(2), rcTabsAlone.left);
    EXPECT_EQ(nullptr, m_pRibbon->GetSystemButton());

    CQVTRibbonControlSystemButton* pButton = m_pRibbon->AddSystemButton(57600);
    ASSERT_NE(nullptr, pButton);
    EXPECT_EQ(pButton, m_pRibbon->AddSystemButton(57600));
    EXPECT_EQ(0, pButton->GetIndex());
    pButton->SetCaption(_T("&File"));
    pButton->SetStyle(qvtButtonCaption);
    s_pHost->ResizeClient(820, 300);
    PumpHost(50);

    const CRect rcButton = pButton->GetRect();
    EXPECT_EQ(m_pRibbon->GetTabControlRect().top, rcButton.top);
    EXPECT_GE(rcButton.Width(), ScaleX(56));
    EXPECT_GE(m_pRibbon->GetControlTab()->GetRect().left, rcButton.right + ScaleX(7));

    // Removing the button forgets it; the row starts at 2 pixels again.
    m_pRibbon->GetControls()->Remove(pButton);
    EXPECT_EQ(nullptr, m_pRibbon->GetSystemButton());
    s_pHost->ResizeClient(820, 301);
    PumpHost(50);
    EXPECT_EQ(ScaleX(2), m_pRibbon->GetControlTab()->GetRect().left);
}

namespace {
// Counts what a double-click executes.
class CSystemTestDblClickButton : public CQVTRibbonControlSystemButton
{
public:
    void OnExecute() override { ++m_nExecuted; }
    int m_nExecuted = 0;
};
}  // namespace

TEST_F(RibbonSystem, DoubleClickOnATopLevelFramesButtonOnlyClosesPopups)
{
    auto* pButton = new CSystemTestDblClickButton();
    m_pRibbon->GetControls()->Add(pButton, 57600, nullptr, 0);
    ASSERT_FALSE(s_pHost->GetStyle() & WS_CHILD);

    EXPECT_TRUE(pButton->OnLButtonDblClk(CPoint(1, 1)));
    EXPECT_EQ(0, pButton->m_nExecuted);
    // Without the flag, or with a button of the tab row, it executes.
    pButton->SetCloseOnDblClick(FALSE);
    EXPECT_TRUE(pButton->OnLButtonDblClk(CPoint(1, 1)));
    EXPECT_EQ(1, pButton->m_nExecuted);
    pButton->SetCloseOnDblClick(TRUE);
    pButton->SetStyle(qvtButtonCaption);
    EXPECT_TRUE(pButton->OnLButtonDblClk(CPoint(1, 1)));
    EXPECT_EQ(2, pButton->m_nExecuted);
}
