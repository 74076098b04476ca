// The main window as its user meets it, in this process: the ribbon's tabs,
// groups and buttons in their order, the Formats tab chosen, the window
// grown by what the bars take so that the template's area stays free,
// Enter and Escape that never close it, a close that ends it at the first
// tick, colour styles that are saved only when they change, the recording
// buttons shown and hidden by Pause and Continue, and the tray.
#include <afxwin.h>

#include <vector>

#include "app/mainwindow/MainDlg.h"
#include "app/mainwindow/MainWindowResource.h"
#include "app/profiles/SondrelProfileManager.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/app/program/program_test_support.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

using namespace commontest;

// A main window made modeless, so that the test's own loop drives it.
class CTestMainDlg : public CMainDlg
{
public:
    BOOL CreateModeless()
    {
        LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_MAINDLG);
        return pTemplate && CreateIndirect(pTemplate, nullptr);
    }
    using CMainDlg::m_bStartupPending;
};

namespace {

std::vector<int> ControlIds(CQVTRibbonGroup* pGroup)
{
    std::vector<int> ids;
    for (int i = 0; i < pGroup->GetCount(); ++i)
        ids.push_back(pGroup->GetAt(i)->GetID());
    return ids;
}

CQVTControl* FindInBars(CQVTCommandBars* pBars, int nType, int nId)
{
    for (int b = 0; b < pBars->GetCount(); ++b)
    {
        CQVTControls* pControls = pBars->GetAt(b)->GetControls();
        for (int i = 0; i < pControls->GetCount(); ++i)
        {
            CQVTControl* pControl = pControls->GetAt(i);
            if (pControl->GetID() == nId && pControl->GetType() == nType)
                return pControl;
        }
    }
    return nullptr;
}

}  // namespace

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pHives = std::make_unique<RegistryRedirect>();
        m_pApp = std::make_unique<TestSondrelApp>();
        m_pApp->m_nRibbonStyle = ID_STYLE_BLACK;
        m_pApp->m_nRunningCounter = 5;
        m_pApp->m_nMinimizeToTray = 0;
        m_pDlg = std::make_unique<CTestMainDlg>();
        ASSERT_TRUE(m_pDlg->CreateModeless());
        m_pDlg->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        m_pDlg->SetForegroundWindow();
        PumpMessages(200);
    }
    void TearDown() override
    {
        if (m_pDlg && m_pDlg->GetSafeHwnd())
            m_pDlg->DestroyWindow();
        m_pDlg.reset();
        m_pApp.reset();
        m_pHives.reset();
    }
    CQVTRibbonBar* Ribbon() const { return m_pDlg->GetRibbonBar(); }
    CQVTCommandBars* Bars() const { return m_pDlg->GetCommandBars(); }

    std::unique_ptr<RegistryRedirect> m_pHives;
    std::unique_ptr<TestSondrelApp> m_pApp;
    std::unique_ptr<CTestMainDlg> m_pDlg;
};

TEST_F(MainWindow, TheRibbonHoldsItsTabsGroupsAndButtonsInOrder)
{
    CQVTRibbonBar* pRibbon = Ribbon();
    ASSERT_NE(nullptr, pRibbon);
    ASSERT_EQ(3, pRibbon->GetTabCount());
    EXPECT_EQ(CString(_T("Files")), pRibbon->GetTab(0)->GetCaption());
    EXPECT_EQ(CString(_T("Formats")), pRibbon->GetTab(1)->GetCaption());
    EXPECT_EQ(CString(_T("Help")), pRibbon->GetTab(2)->GetCaption());
    // Formats is chosen at start.
    EXPECT_EQ(pRibbon->GetTab(1), pRibbon->GetCurrentTab());

    CQVTRibbonGroup* pFiles = pRibbon->GetTab(0)->FindGroup(IDS_GROUP_FILES_MANAGING);
    ASSERT_NE(nullptr, pFiles);
    EXPECT_EQ((std::vector<int>{25030, 25031, 25032, 25033, 25035}), ControlIds(pFiles));
    EXPECT_TRUE(pFiles->GetAt(3)->GetBeginGroup());
    // Formats in the table's display order, not by command id.
    CQVTRibbonGroup* pFormats = pRibbon->GetTab(1)->FindGroup(IDS_GROUP_SELECT_FORMAT);
    ASSERT_NE(nullptr, pFormats);
    EXPECT_EQ((std::vector<int>{25100, 25101, 25102, 25103, 25107, 25106, 25108, 25105, 25104}),
              ControlIds(pFormats));
    EXPECT_EQ(CString(_T("M4A")), pFormats->GetAt(3)->GetCaption());
    // The recorder's format is checked.
    Ribbon()->OnIdleUpdate(0, 0);
    const int nFormat = m_pDlg->GetRecorder().GetProfileManager()->GetCurrentFormat();
    for (int i = 0; i < pFormats->GetCount(); ++i)
        EXPECT_EQ(pFormats->GetAt(i)->GetID() - ID_FORMAT_FIRST == nFormat,
                  pFormats->GetAt(i)->GetChecked() == 1)
            << i;
    CQVTRibbonGroup* pRecording = pRibbon->GetTab(1)->FindGroup(IDS_GROUP_AUDIO_RECORDING);
    ASSERT_NE(nullptr, pRecording);
    EXPECT_EQ((std::vector<int>{ID_RECORD, ID_STOP, ID_PAUSE_CONTINUE}), ControlIds(pRecording));
    EXPECT_TRUE(pRecording->IsControlsCentering());
    // Stop and Continue wait hidden until a recording runs.
    EXPECT_TRUE(pRecording->GetAt(0)->IsVisible());
    EXPECT_FALSE(pRecording->GetAt(1)->IsVisible());
    EXPECT_FALSE(pRecording->GetAt(2)->IsVisible());
    EXPECT_EQ(qvtControlSplitButtonPopup, pRecording->GetAt(1)->GetType());
    // Stop's popup pauses and Continue's goes on, with one command: each item
    // has its own description, read as a screen reader and a tooltip do.
    struct Item
    {
        int nPopup;
        LPCTSTR pszCaption, pszDescription, pszTooltip;
    };
    const Item items[] = {
        {1, _T("Pause recording"), _T("Hold the recording until Continue"), _T("Pause recording")},
        {2, _T("Continue recording"), _T("Go on with the paused recording"), _T("Continue recording")},
    };
    for (const Item& item : items)
    {
        auto* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pRecording->GetAt(item.nPopup));
        ASSERT_TRUE(pPopup && pPopup->GetCommandBar());
        CQVTControl* pItem = pPopup->GetCommandBar()->GetControls()->FindControl(ID_PAUSE_CONTINUE);
        ASSERT_NE(nullptr, pItem);
        EXPECT_EQ(CString(item.pszCaption), pItem->GetCaption());
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR bstrDescription = nullptr;
        EXPECT_EQ(S_OK, pItem->GetAccessibleDescription(self, &bstrDescription));
        EXPECT_EQ(CString(item.pszDescription), CString(bstrDescription ? bstrDescription : u""));
        ::SysFreeString(bstrDescription);
        EXPECT_EQ(CString(item.pszTooltip), pItem->GetTooltip());
    }

    CQVTRibbonGroup* pInformation = pRibbon->GetTab(2)->FindGroup(IDS_GROUP_INFORMATION);
    ASSERT_NE(nullptr, pInformation);
    EXPECT_EQ((std::vector<int>{ID_RIBBON_LOGO, ID_DONATE, ID_ABOUT, ID_SITE_LINK, ID_SUPPORT_LINK,
                                ID_UPDATES_LINK}),
              ControlIds(pInformation));
    // The site link names the maker.
    EXPECT_EQ(CString(_T("Visit Quorvane Site")), pInformation->GetAt(3)->GetCaption());
    EXPECT_EQ(CString(_T("Go to official site of Quorvane LLC")), pInformation->GetAt(3)->GetDescription());

    // Options and About beside the tabs, the Style popup in the quick access.
    CQVTControl* pOptions = pRibbon->GetControls()->FindControl(IDR_RIBBON_OPTIONS);
    ASSERT_NE(nullptr, pOptions);
    EXPECT_EQ(CString(_T("Options")), pOptions->GetCaption());
    EXPECT_NE(nullptr, pRibbon->GetControls()->FindControl(ID_ABOUT));
    EXPECT_NE(nullptr, pRibbon->GetQuickAccessControls()->FindControl(IDR_RIBBON_STYLE));
}

TEST_F(MainWindow, TheBarsGrowTheWindowAndLeaveTheTemplatesAreaFree)
{
    // The template's client area in pixels.
    CRect rcTemplate(0, 0, 506, 253);
    m_pDlg->MapDialogRect(&rcTemplate);
    CRect rcClient;
    m_pDlg->GetClientRect(&rcClient);
    CRect rcRibbon, rcStatus;
    Ribbon()->GetWindowRect(&rcRibbon);
    m_pDlg->GetStatusBar().GetWindowRect(&rcStatus);
    EXPECT_EQ(rcTemplate.Height(), rcClient.Height() - rcRibbon.Height() - rcStatus.Height());
    EXPECT_EQ(rcTemplate.Width(), rcClient.Width());
    // Four empty panes: the first stretches, the others keep their widths.
    CQVTStatusBar& status = m_pDlg->GetStatusBar();
    ASSERT_EQ(4, status.GetPaneCount());
    EXPECT_TRUE(status.GetPaneStyle(0) & 0x8000000);
    EXPECT_EQ(QVTDpiScaler()->ScaleX(150), status.GetPane(1)->GetWidth());
    EXPECT_EQ(QVTDpiScaler()->ScaleX(160), status.GetPane(3)->GetWidth());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(status.GetPaneText(i).IsEmpty());
    // The program's icon, big and small.
    EXPECT_NE(nullptr, m_pDlg->GetIcon(TRUE));
    EXPECT_NE(nullptr, m_pDlg->GetIcon(FALSE));
    // The recorder fills the space between the bars.
    CRect rcRecorder;
    m_pDlg->GetRecorder().GetWindowRect(&rcRecorder);
    EXPECT_EQ(rcRibbon.bottom, rcRecorder.top);
    EXPECT_EQ(rcStatus.top, rcRecorder.bottom);

    // A new size lays the bars out again without growing twice.
    CRect rcWindow;
    m_pDlg->GetWindowRect(&rcWindow);
    m_pDlg->SetWindowPos(nullptr, 0, 0, rcWindow.Width() + 40, rcWindow.Height() + 30,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(100);
    CRect rcAfter;
    m_pDlg->GetWindowRect(&rcAfter);
    EXPECT_EQ(rcWindow.Width() + 40, rcAfter.Width());
    EXPECT_EQ(rcWindow.Height() + 30, rcAfter.Height());
}

TEST_F(MainWindow, EnterAndEscapeNeverCloseButACloseEndsItAtTheFirstTick)
{
    KeyPress(VK_RETURN);
    KeyPress(VK_ESCAPE);
    PumpMessages(300);
    EXPECT_TRUE(m_pDlg->IsWindowVisible());
    EXPECT_FALSE(m_pApp->m_bClosing);

    m_pDlg->SendMessage(WM_CLOSE);
    EXPECT_TRUE(m_pApp->m_bClosing);
    EXPECT_TRUE(m_pDlg->m_dwState & CMainDlg::STATE_CLOSING);
    // A second close while closing changes nothing.
    m_pDlg->SendMessage(WM_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return !m_pDlg->IsWindowVisible(); }, 2000));
}

TEST_F(MainWindow, TheStartupTaskWaitsWhileARecordingRuns)
{
    m_pDlg->m_dwState |= CMainDlg::STATE_RECORDING;
    m_pDlg->m_bStartupPending = 1;
    PumpMessages(1200);
    EXPECT_EQ(1, m_pDlg->m_bStartupPending);
    m_pDlg->m_dwState &= ~CMainDlg::STATE_RECORDING;
    EXPECT_TRUE(PumpUntil([&] { return m_pDlg->m_bStartupPending == 0; }, 2000));
}

TEST_F(MainWindow, ChoosingTheCurrentStyleSavesNothingAndAnotherIsSavedAndDrawn)
{
    // A point of the tab row right of the tabs, where the scheme's face shows.
    CRect rcRibbon;
    Ribbon()->GetWindowRect(&rcRibbon);
    const CPoint ptFace(rcRibbon.left + rcRibbon.Width() / 2, rcRibbon.top + 35);
    auto FaceColour = [&] {
        m_pDlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages(100);
        HDC hScreen = ::GetDC(nullptr);
        const COLORREF clr = ::GetPixel(hScreen, ptFace.x, ptFace.y);
        ::ReleaseDC(nullptr, hScreen);
        return clr;
    };
    const COLORREF clrBlack = FaceColour();

    m_pDlg->SendMessage(WM_COMMAND, ID_STYLE_BLACK);
    EXPECT_EQ(u"<absent>", RegistryText(HKEY_CURRENT_USER, kProgramKey, u"Skin"));
    EXPECT_EQ(0xDEADu, RegistryNumber(HKEY_CURRENT_USER, kProgramKey, u"RibbonStyle"));

    m_pDlg->SendMessage(WM_COMMAND, ID_STYLE_BLUE);
    EXPECT_EQ(ID_STYLE_BLUE, m_pApp->m_nRibbonStyle);
    EXPECT_EQ(static_cast<DWORD>(ID_STYLE_BLUE),
              RegistryNumber(HKEY_CURRENT_USER, kProgramKey, u"RibbonStyle"));
    const COLORREF clrBlue = FaceColour();
    EXPECT_NE(clrBlack, clrBlue);
    // Blue is bluer than the black scheme's grey.
    EXPECT_GT(GetBValue(clrBlue) - GetRValue(clrBlue), GetBValue(clrBlack) - GetRValue(clrBlack));
}

TEST_F(MainWindow, PauseAndContinueSwapTheRecordingButtonsOnlyWhileRecording)
{
    CQVTControl* pRecord = FindInBars(Bars(), qvtControlButton, ID_RECORD);
    CQVTControl* pStop = FindInBars(Bars(), qvtControlSplitButtonPopup, ID_STOP);
    CQVTControl* pContinue = FindInBars(Bars(), qvtControlSplitButtonPopup, ID_PAUSE_CONTINUE);
    ASSERT_NE(nullptr, pRecord);
    ASSERT_NE(nullptr, pStop);
    ASSERT_NE(nullptr, pContinue);
    // Idle: nothing happens.
    m_pDlg->SendMessage(WM_COMMAND, ID_PAUSE_CONTINUE);
    EXPECT_TRUE(pRecord->IsVisible());
    EXPECT_FALSE(pContinue->IsVisible());
    EXPECT_FALSE(m_pDlg->GetRecorder().IsRecordingPaused());

    // While a recording runs, Pause shows Continue alone and pauses; Continue
    // shows Stop alone and goes on.
    m_pDlg->SetRecording(TRUE);
    m_pDlg->SendMessage(WM_COMMAND, ID_PAUSE_CONTINUE);
    EXPECT_TRUE(m_pDlg->GetRecorder().IsRecordingPaused());
    EXPECT_FALSE(pRecord->IsVisible());
    EXPECT_FALSE(pStop->IsVisible());
    EXPECT_TRUE(pContinue->IsVisible());
    m_pDlg->SendMessage(WM_COMMAND, ID_PAUSE_CONTINUE);
    EXPECT_FALSE(m_pDlg->GetRecorder().IsRecordingPaused());
    EXPECT_FALSE(pRecord->IsVisible());
    EXPECT_TRUE(pStop->IsVisible());
    EXPECT_FALSE(pContinue->IsVisible());
    // Stop asks the job to end.
    m_pDlg->ExchangeStopRequest(0);
    m_pDlg->SendMessage(WM_COMMAND, ID_STOP);
    EXPECT_EQ(1, m_pDlg->GetStopRequest());
    m_pDlg->SetRecording(FALSE);
}

TEST_F(MainWindow, MinimizingGoesIntoTheTrayOnlyWhenAskedAndTheTrayCommandBringsItBack)
{
    CRect rcBefore;
    m_pDlg->GetWindowRect(&rcBefore);
    m_pDlg->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    PumpMessages(100);
    EXPECT_FALSE(m_pDlg->IsInTray());
    EXPECT_TRUE(m_pDlg->IsIconic());
    m_pDlg->SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    PumpMessages(100);
    // The bars' layout left the minimized window alone: it comes back as it was.
    CRect rcAfter;
    m_pDlg->GetWindowRect(&rcAfter);
    EXPECT_EQ(rcBefore.Size(), rcAfter.Size());

    m_pDlg->SendMessage(WM_COMMAND, ID_MINIMIZE_TO_TRAY);
    EXPECT_EQ(1, m_pApp->m_nMinimizeToTray);
    EXPECT_EQ(1u, RegistryNumber(HKEY_CURRENT_USER, kProgramKey, u"MinimizeToTray"));
    ASSERT_NE(nullptr, m_pDlg->GetTrayIcon().GetSafeHwnd());
    m_pDlg->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    PumpMessages(100);
    EXPECT_TRUE(m_pDlg->IsInTray());
    EXPECT_FALSE(m_pDlg->IsWindowVisible());
    m_pDlg->SendMessage(WM_COMMAND, ID_SHOW_HIDE_TRAY);
    PumpMessages(100);
    EXPECT_FALSE(m_pDlg->IsInTray());
    EXPECT_TRUE(m_pDlg->IsWindowVisible());

    m_pDlg->SendMessage(WM_COMMAND, ID_MINIMIZE_TO_TRAY);
    EXPECT_EQ(0, m_pApp->m_nMinimizeToTray);
    EXPECT_TRUE(m_pDlg->GetTrayIcon().IsHidden());
}
