// A dialog with command bars, as the user meets it: the dock bars it makes,
// the layout its bars get when the bars ask for one, a click on a button
// that runs the site's command handler, and the state the site's update
// handlers give the buttons.
#include <afxext.h>

#include "real_input.h"
#include "site_dialog.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "tests/toolkit/commandbars/support/bars_frame.h"

namespace {

// Counts the bars objects alive, to see which a dialog releases.
class CCountingBars : public CQVTCommandBars
{
    DECLARE_DYNCREATE(CCountingBars)

public:
    CCountingBars() { ++s_nAlive; }
    ~CCountingBars() override { --s_nAlive; }
    static int s_nAlive;
};
IMPLEMENT_DYNCREATE(CCountingBars, CQVTCommandBars)
int CCountingBars::s_nAlive = 0;

}  // namespace

// One shown site for every test: hiding a shown top-level window takes
// seconds under the test display, so the window stays and its bars are new
// for each test.
class DialogHost : public SiteDialogSuite<DialogHost>
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, s_pDialog->GetSafeHwnd()); }
};

namespace {

TEST_F(DialogHost, MakesFourDockBarsWithTheirIdsStylesAndTexts)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset(FALSE);
    struct Expected
    {
        int nPosition;
        UINT nId;
        DWORD dwBarStyle;
        LPCTSTR lpszText;
    };
    const Expected expected[] = {{0, 59419, 0x2800, _T("qvtBarTop")},
                                 {1, 59422, 0x8200, _T("qvtBarBottom")},
                                 {2, 59420, 0x1400, _T("qvtBarLeft")},
                                 {3, 59421, 0x4100, _T("qvtBarRight")}};
    HWND hPrevious = nullptr;
    for (const Expected& e : expected)
    {
        CQVTDockBar* pDock = dialog.GetCommandBars()->GetDockBar(e.nPosition);
        ASSERT_NE(nullptr, pDock);
        EXPECT_EQ(dialog.GetSafeHwnd(), ::GetParent(pDock->GetSafeHwnd()));
        EXPECT_EQ(e.nId, static_cast<UINT>(pDock->GetDlgCtrlID()));
        EXPECT_EQ(e.dwBarStyle, pDock->GetBarStyle());
        EXPECT_EQ(e.nPosition, pDock->GetPosition());
        const DWORD dwStyle = pDock->GetStyle();
        EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
                  dwStyle & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
        CString strText;
        pDock->GetWindowText(strText);
        EXPECT_EQ(CString(e.lpszText), strText);
        // Made in this order: each later one below the one before in z-order.
        if (hPrevious)
        {
            EXPECT_EQ(hPrevious, ::GetWindow(pDock->GetSafeHwnd(), GW_HWNDPREV));
        }
        hPrevious = pDock->GetSafeHwnd();
    }
    EXPECT_EQ(nullptr, dialog.GetCommandBars()->GetDockBar(4));
}

TEST_F(DialogHost, ASecondInitReleasesTheFirstBarsAndSavingWithoutBarsDoesNothing)
{
    CSiteDialog unborn;
    unborn.SaveCommandBars(_T("Profile"));
    EXPECT_EQ(nullptr, unborn.GetCommandBars());
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset(FALSE);
    const int nBefore = CCountingBars::s_nAlive;
    ASSERT_TRUE(dialog.InitCommandBars(RUNTIME_CLASS(CCountingBars)));
    EXPECT_EQ(nBefore + 1, CCountingBars::s_nAlive);
    CQVTCommandBars* pFirst = dialog.GetCommandBars();
    // Held here, so that the new bars cannot take the old ones' place.
    pFirst->InternalAddRef();
    ASSERT_TRUE(dialog.InitCommandBars(RUNTIME_CLASS(CCountingBars)));
    EXPECT_NE(pFirst, dialog.GetCommandBars());
    EXPECT_EQ(nBefore + 2, CCountingBars::s_nAlive);
    pFirst->InternalRelease();
    EXPECT_EQ(nBefore + 1, CCountingBars::s_nAlive);
    EXPECT_EQ(dialog.GetSafeHwnd(), dialog.GetCommandBars()->GetSite()->GetSafeHwnd());
    dialog.Reset(FALSE);
    EXPECT_EQ(nBefore, CCountingBars::s_nAlive);
}

TEST_F(DialogHost, BarsAskingForALayoutSendTheDialogItsClientSize)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    CTestBar* pBar = dialog.GetBar();
    ASSERT_NE(nullptr, pBar);

    // Moved off its place, the bar comes back to the top when the bars ask
    // the dialog for a layout.
    pBar->MoveWindow(10, 80, 50, 20);
    const int nSizes = dialog.m_nSizes;
    dialog.GetCommandBars()->RecalcFrameLayout(FALSE);
    EXPECT_EQ(nSizes + 1, dialog.m_nSizes);
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    dialog.ScreenToClient(&rcBar);
    CRect rcClient;
    dialog.GetClientRect(&rcClient);
    EXPECT_EQ(0, rcBar.top);
    EXPECT_EQ(rcClient.Width(), rcBar.Width());
    EXPECT_GT(rcBar.Height(), 10);

    // A lock or a missing site stops it.
    CQVTCommandBars* pDetached = CQVTCommandBars::CreateCommandBars();
    pDetached->RecalcFrameLayout(FALSE);
    pDetached->RedrawCommandBars();
    pDetached->InternalRelease();
    EXPECT_EQ(nSizes + 1, dialog.m_nSizes);
}

TEST_F(DialogHost, BarListFindsRemovesAndAfterRemoveAllLaysOutOnce)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    CQVTCommandBars* pBars = dialog.GetCommandBars();
    CTestBar* pSecond = new CTestBar();
    ASSERT_EQ(pSecond, pBars->AddCommandBar(pSecond, _T("Second"), qvtBarTop));
    pSecond->SetBarID(0);
    EXPECT_EQ(2, pBars->GetCount());
    EXPECT_EQ(nullptr, pBars->GetAt(-1));
    EXPECT_EQ(nullptr, pBars->GetAt(2));
    EXPECT_EQ(1, pBars->FindIndex(pSecond));
    // Id 0 finds nothing, even with a bar of id 0.
    EXPECT_EQ(nullptr, pBars->GetToolBar(0));
    dialog.GetBar()->SetBarID(7);
    EXPECT_EQ(dialog.GetBar(), pBars->GetToolBar(7));

    // A bar that is not in the list changes nothing.
    CTestBar stranger;
    pBars->Remove(&stranger);
    EXPECT_EQ(2, pBars->GetCount());

    // A bar whose window cannot be made is deleted and not listed.
    CTestBar* pOrphan = new CTestBar();
    pOrphan->m_pParentWnd = nullptr;
    CQVTCommandBars* pNoSite = CQVTCommandBars::CreateCommandBars();
    EXPECT_EQ(nullptr, pNoSite->AddCommandBar(pOrphan, _T("Orphan"), qvtBarTop));
    EXPECT_EQ(0, pNoSite->GetCount());
    pNoSite->InternalRelease();

    const int nSizes = dialog.m_nSizes;
    pBars->RemoveAll();
    EXPECT_EQ(0, pBars->GetCount());
    EXPECT_EQ(nSizes + 1, dialog.m_nSizes);
}

TEST_F(DialogHost, CanDockAcceptsPointsWithinTwentyPixelsOfADockBar)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset(FALSE);
    CQVTCommandBars* pBars = dialog.GetCommandBars();
    dialog.SendMessage(WM_SIZE, 0, 0);
    CQVTDockBar* pTop = pBars->GetDockBar(0);
    CRect rcTop;
    pTop->GetWindowRect(&rcTop);
    const int x = rcTop.CenterPoint().x;
    EXPECT_EQ(pTop, pBars->CanDock(CPoint(x, rcTop.top - 19)));
    EXPECT_NE(pTop, pBars->CanDock(CPoint(x, rcTop.top - 20)));
    CQVTDockBar* pBottom = pBars->GetDockBar(1);
    // The preferred dock bar is tried first.
    CRect rcBottom;
    pBottom->GetWindowRect(&rcBottom);
    EXPECT_EQ(pBottom, pBars->CanDock(rcBottom.CenterPoint(), pBottom));
    EXPECT_EQ(nullptr, pBars->CanDock(CPoint(-5000, -5000)));
}

TEST_F(DialogHost, AmbientColourChangesPostARedrawAndOtherPropertiesDoNot)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset(FALSE);
    MSG msg;
    while (::PeekMessage(&msg, dialog.GetSafeHwnd(), CQVTCommandBars::m_nRedrawMsg,
                         CQVTCommandBars::m_nRedrawMsg, PM_REMOVE))
    {
    }
    dialog.GetCommandBars()->OnAmbientPropertyChanged(nullptr, 2);
    EXPECT_FALSE(::PeekMessage(&msg, dialog.GetSafeHwnd(), CQVTCommandBars::m_nRedrawMsg,
                               CQVTCommandBars::m_nRedrawMsg, PM_REMOVE));
    dialog.GetCommandBars()->OnAmbientPropertyChanged(nullptr, 0);
    EXPECT_TRUE(::PeekMessage(&msg, dialog.GetSafeHwnd(), CQVTCommandBars::m_nRedrawMsg,
                              CQVTCommandBars::m_nRedrawMsg, PM_REMOVE));
}

TEST_F(DialogHost, ADisplayChangeGivesTheColoursTheNewDepth)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset(FALSE);
    dialog.SendMessage(WM_DISPLAYCHANGE, 8, MAKELPARAM(1280, 1024));
    EXPECT_TRUE(CQVTColorManager::IsLowColorDisplay());
    dialog.SendMessage(WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 1024));
    EXPECT_FALSE(CQVTColorManager::IsLowColorDisplay());
    CQVTColorManager::OnDisplayChange(0);
}

TEST_F(DialogHost, AClickOnAButtonRunsTheSiteHandlerOnce)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    CQVTControl* pNew = dialog.FindControl(ID_TEST_NEW);
    ASSERT_NE(nullptr, pNew);
    // A command the options hide shows again once it is used.
    CQVTCommandBarsOptions* pOptions = dialog.GetCommandBars()->GetCommandBarsOptions();
    pOptions->m_mapHiddenCommands.SetAt(ID_TEST_NEW, TRUE);
    EXPECT_TRUE(dialog.GetCommandBars()->IsHiddenCommand(ID_TEST_NEW));
    EXPECT_TRUE(dialog.GetCommandBars()->IsHiddenControl(pNew));
    QueueClickAt(dialog.ScreenCenterOf(pNew));
    PumpMessages();
    EXPECT_EQ(1, dialog.m_nNew);
    EXPECT_EQ(0, dialog.m_nOpen);
    EXPECT_FALSE(dialog.GetCommandBars()->IsHiddenCommand(ID_TEST_NEW));
    EXPECT_TRUE(pOptions->bDirty);
    // Released, the button is up again.
    EXPECT_EQ(0, pNew->GetPressed());
}

TEST_F(DialogHost, ANonZeroAnswerToTheNotificationSuppressesTheCommand)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    dialog.m_lNotifyAnswer = 1;
    QueueClickAt(dialog.ScreenCenterOf(dialog.FindControl(ID_TEST_NEW)));
    PumpMessages();
    EXPECT_EQ(0, dialog.m_nNew);

    // Unanswered, the notification reaches ON_NOTIFY handlers, whose
    // result also stands for the command.
    dialog.m_lNotifyAnswer = 0;
    QueueClickAt(dialog.ScreenCenterOf(dialog.FindControl(ID_TEST_PRINT)));
    PumpMessages();
    EXPECT_EQ(1, dialog.m_nPrintNotify);
    EXPECT_EQ(0, dialog.m_nPrint);
}

TEST_F(DialogHost, UpdateHandlersDisableAndCheckButtonsAndTheNextPaintShowsIt)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    CQVTControl* pOpen = dialog.FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    const CRect rc = pOpen->GetRect();
    CTestBar* pBar = dialog.GetBar();
    // The default theme: a checked button is a sunken, dithered square;
    // its caption turns grey when disabled.
    const COLORREF clrLight = ::GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF clrGray = ::GetSysColor(COLOR_GRAYTEXT);
    pBar->UpdateWindow();
    const int nLightBefore = CDibCapture(pBar).CountIn(rc, clrLight);
    EXPECT_EQ(0, CDibCapture(pBar).CountIn(rc, clrGray));

    dialog.m_nOpenChecked = 1;
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_EQ(1, pOpen->GetChecked());
    pBar->UpdateWindow();
    EXPECT_GT(CDibCapture(pBar).CountIn(rc, clrLight), nLightBefore + rc.Width() * rc.Height() / 4);

    dialog.m_nOpenChecked = 0;
    dialog.m_bOpenEnabled = FALSE;
    dialog.SendMessage(WM_KICKIDLE, 0, 0);
    EXPECT_FALSE(pOpen->GetEnabled());
    pBar->UpdateWindow();
    EXPECT_GT(CDibCapture(pBar).CountIn(rc, clrGray), 5);

    // A disabled button does not run its command.
    QueueClickAt(dialog.ScreenCenterOf(pOpen));
    PumpMessages();
    EXPECT_EQ(0, dialog.m_nOpen);

    // Without an update or command handler, a command is disabled.
    CQVTControl* pBold = dialog.FindControl(ID_TEST_BOLD);
    ASSERT_NE(nullptr, pBold);
    EXPECT_FALSE(pBold->GetEnabled());
}

TEST_F(DialogHost, AWmQuitWhileAButtonIsHeldEndsThePressAndTheMessageLoop)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    CQVTControl* pNew = dialog.FindControl(ID_TEST_NEW);
    MouseMoveTo(dialog.ScreenCenterOf(pNew));
    PumpMessages();
    // The quit arrives while the press loop runs: posted from the first
    // message the loop dispatches.
    struct QuitPoster
    {
        static void CALLBACK OnTimer(HWND, UINT, UINT_PTR nId, DWORD)
        {
            ::KillTimer(nullptr, nId);
            ::PostQuitMessage(42);
        }
    };
    ::SetTimer(nullptr, 0, 10, &QuitPoster::OnTimer);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpMessages();
    // The press loop gave up without executing and left the button up.
    EXPECT_EQ(0, dialog.m_nNew);
    EXPECT_EQ(0, pNew->GetPressed());
    // The quit is there again for the application's loop.
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42, static_cast<int>(msg.wParam));
    MouseLeftUp();
    PumpMessages();
    EXPECT_EQ(0, dialog.m_nNew);
}

TEST_F(DialogHost, HoldingARepeatingButtonExecutesAtPressAndThenUntilReleased)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    CQVTControl* pNew = dialog.FindControl(ID_TEST_NEW);
    pNew->SetExecuteOnPressInterval(20);
    // The third execution lets go of the button.
    dialog.m_pfnOnNew = [](CSiteDialog* pDialog) {
        // Not pumped here: the press loop itself must take the release.
        if (pDialog->m_nNew == 3)
            SendMouse(MOUSEEVENTF_LEFTUP);
    };
    MouseMoveTo(dialog.ScreenCenterOf(pNew));
    PumpMessages();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpMessages();
    EXPECT_EQ(3, dialog.m_nNew);
    EXPECT_EQ(0, pNew->GetPressed());
}

}  // namespace

namespace {

CString ClipboardText()
{
    CString strText;
    if (!::OpenClipboard(nullptr))
        return strText;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    if (hData)
    {
        strText = static_cast<LPCWSTR>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return strText;
}

void SetClipboardText(LPCTSTR lpszText)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const size_t nBytes = (::lstrlenW(lpszText) + 1) * sizeof(WCHAR);
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    memcpy(::GlobalLock(hData), lpszText, nBytes);
    ::GlobalUnlock(hData);
    ::SetClipboardData(CF_UNICODETEXT, hData);
    ::CloseClipboard();
}

}  // namespace

TEST_F(DialogHost, KeysTypedInABarEditReachItAndItsOwnEditCommandsComeFirst)
{
    CSiteDialog& dialog = *s_pDialog;
    dialog.Reset();
    QVT_SHORTCUTMANAGER_ACCEL accel = {};
    accel.cmd = ID_TEST_OPEN;
    accel.key[0].fVirt = FVIRTKEY;
    accel.key[0].key = 'B';
    dialog.GetCommandBars()->GetShortcutManager()->SetAccelerators(&accel, 1);
    auto* pEdit =
        static_cast<CQVTControlEdit*>(dialog.GetBar()->GetControls()->AddByType(qvtControlEdit, ID_TEST_NEW));
    ASSERT_NE(nullptr, pEdit);
    pEdit->SetWidth(120);
    dialog.GetBar()->OnRecalcLayout();
    dialog.SetForegroundWindow();
    dialog.SetFocus();
    PumpTranslated(50);
    ASSERT_NE(nullptr, pEdit->GetEditCtrl());

    // Outside the edit, B is the accelerator.
    const int nOpen = dialog.m_nOpen;
    SendKey('B', false);
    SendKey('B', true);
    PumpTranslated(50);
    EXPECT_EQ(nOpen + 1, dialog.m_nOpen);

    // In the edit it is typed.
    pEdit->SetFocused(TRUE);
    PumpTranslated(50);
    ASSERT_EQ(pEdit->GetEditCtrl()->GetSafeHwnd(), ::GetFocus());
    SendKey('B', false);
    SendKey('B', true);
    PumpTranslated(50);
    EXPECT_EQ(nOpen + 1, dialog.m_nOpen);
    CString strText;
    pEdit->GetEditCtrl()->GetWindowText(strText);
    EXPECT_EQ(CString(_T("b")), strText);

    // The site's Copy command copies the edit's selection.
    SetClipboardText(_T("before"));
    pEdit->GetEditCtrl()->SetSel(0, -1);
    dialog.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    EXPECT_EQ(CString(_T("b")), ClipboardText());
    pEdit->SetFocused(FALSE);
    dialog.GetCommandBars()->GetShortcutManager()->SetAccelerators(nullptr, 0);
}
