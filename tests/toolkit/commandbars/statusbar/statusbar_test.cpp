// The status bar in a dialog: its row of fixed, text-sized and stretching
// panes with groups and the first misfit hiding the rest, the message
// pane's text through the window messages, pane state through command UI
// (the overtype indicator included), the visibility of bar and panes in the
// registry, an INI profile (each read back by a second process) and a
// property exchange, double clicks and button panes under real input, and
// the pixels of the Office XP look.
#include <afxwin.h>
#include <afxext.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/support/test_resources.h"
#include "tests/toolkit/tabmanager/tab_input.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarSwitchPane.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/office/QVTStatusBarThemeOfficeXP.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

class CStatusBarTestApp : public CWinApp
{
public:
    CStatusBarTestApp() : CWinApp(_T("StatusBarTest")) {}
};
CStatusBarTestApp theApp;

const UINT ID_CAPS = 59137, ID_NUM = 59138, ID_SCRL = 59139, ID_OVR = 59140;
const UINT ID_BUTTON_PANE = 40100;
const UINT ID_MISSING_STRING = 40200;
const TCHAR kRegistryKey[] = _T("Sondrel Tests");
const TCHAR kSection[] = _T("StatusBarTest");

// The site: records the notifications and commands that reach it, and
// answers the pane update of the caps indicator.
class CStatusSite : public CQVTDialogBase<CDialog>
{
public:
    CStatusSite() : CQVTDialogBase<CDialog>(IDD_TEST_SITE) {}

    std::vector<int> m_dblClickItems;
    std::vector<CPoint> m_dblClickPoints;
    std::vector<UINT> m_commands;
    LRESULT m_lDblClickAnswer = 0;
    BOOL m_bCapsEnabled = TRUE;
    int m_nCapsCheck = 0;
    CString m_strCapsText = _T("CAP");

protected:
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_NOTIFY)
        {
            const NMMOUSE* pNM = reinterpret_cast<const NMMOUSE*>(lParam);
            if (pNM->hdr.code == static_cast<UINT>(NM_DBLCLK))
            {
                m_dblClickItems.push_back(static_cast<int>(pNM->dwItemSpec));
                m_dblClickPoints.push_back(pNM->pt);
                *pResult = m_lDblClickAnswer;
                return TRUE;
            }
        }
        if (message == WM_COMMAND && lParam == 0)
            m_commands.push_back(LOWORD(wParam));
        return CQVTDialogBase<CDialog>::OnWndMsg(message, wParam, lParam, pResult);
    }
    afx_msg void OnUpdateCaps(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(m_bCapsEnabled);
        pCmdUI->SetCheck(m_nCapsCheck);
        pCmdUI->SetText(m_strCapsText);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStatusSite, CDialog)
    ON_UPDATE_COMMAND_UI(ID_CAPS, &CStatusSite::OnUpdateCaps)
END_MESSAGE_MAP()

}  // namespace

class StatusBarTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pSite = new CStatusSite();
        s_pSite->Create(IDD_TEST_SITE, nullptr);
        s_pSite->SetWindowPos(&CWnd::wndTopMost, 40, 620, 420, 160, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        PumpMessages(50);
    }
    static void TearDownTestSuite()
    {
        s_pSite->DestroyWindow();
        delete s_pSite;
        s_pSite = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(s_pSite->GetSafeHwnd());
        CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
        m_pBar = new CQVTStatusBar();
        ASSERT_TRUE(m_pBar->Create(s_pSite));
        m_pBar->MoveWindow(0, 0, 400, 24);
        s_pSite->m_dblClickItems.clear();
        s_pSite->m_dblClickPoints.clear();
        s_pSite->m_commands.clear();
        s_pSite->m_lDblClickAnswer = 0;
    }
    void TearDown() override
    {
        m_pBar->DestroyWindow();
        delete m_pBar;
    }
    // Three panes: the message pane stretching, a fixed one and a second
    // stretching one.
    void MakeThreePanes()
    {
        const UINT ids[] = {0, ID_CAPS, ID_NUM};
        ASSERT_TRUE(m_pBar->SetIndicators(ids, 3));
        m_pBar->GetPane(1)->SetWidth(50);
        m_pBar->GetPane(2)->SetWidth(20);
        m_pBar->GetPane(2)->SetStyle(SBPS_STRETCH);
    }
    // Sizes the bar so that its panes have that much room inside.
    void SetInsideWidth(int cxInside)
    {
        CRect rc(0, 0, 1000, 30);
        m_pBar->MoveWindow(rc);
        CRect rcInside(rc);
        m_pBar->CalcInsideRect(rcInside, TRUE);
        m_pBar->MoveWindow(0, 0, 1000 - rcInside.Width() + cxInside, 30);
    }

    static CStatusSite* s_pSite;
    CQVTStatusBar* m_pBar = nullptr;
};

CStatusSite* StatusBarTest::s_pSite = nullptr;

namespace {

TEST_F(StatusBarTest, StretchingPanesShareTheSpareAndNarrowBarsHideFromTheFirstMisfit)
{
    MakeThreePanes();
    const int nGroup = m_pBar->GetGroupSpacing();
    // Widths: 1 (no borders), 50 + 2, 20 + 2, and a group gap before the second and third.
    const int cxFixed = 1 + 52 + 22 + 2 * nGroup;
    SetInsideWidth(cxFixed + 11);
    CQVTStatusBarPane* pMessage = m_pBar->GetPane(0);
    CQVTStatusBarPane* pCaps = m_pBar->GetPane(1);
    CQVTStatusBarPane* pNum = m_pBar->GetPane(2);
    EXPECT_EQ(1 + 5, pMessage->GetRect().Width()) << "the first stretching pane takes 11 / 2";
    EXPECT_EQ(52, pCaps->GetRect().Width());
    EXPECT_EQ(22 + 6, pNum->GetRect().Width()) << "the last one takes the rest";
    EXPECT_EQ(pMessage->GetRect().right + nGroup, pCaps->GetRect().left);
    EXPECT_EQ(pCaps->GetRect().right + nGroup, pNum->GetRect().left);

    // Too narrow for the fixed pane: it and every pane after it go.
    SetInsideWidth(40);
    EXPECT_FALSE(pCaps->IsVisible());
    EXPECT_TRUE(pCaps->GetRect().IsRectEmpty());
    EXPECT_FALSE(pNum->IsVisible()) << "hidden although it could stretch into the room left";
    EXPECT_TRUE(pMessage->IsVisible());
    EXPECT_EQ(CQVTStatusBarPane::hiddenNoFit, pNum->GetHideFlags());

    SetInsideWidth(cxFixed + 11);
    EXPECT_TRUE(pCaps->IsVisible());
    EXPECT_TRUE(pNum->IsVisible());
    EXPECT_EQ(28, pNum->GetRect().Width());

    // A pane hidden by the user leaves its room to the stretching ones.
    pCaps->SetVisible(FALSE);
    EXPECT_TRUE(pCaps->GetRect().IsRectEmpty());
    EXPECT_EQ(1 + (63 + nGroup) / 2, pMessage->GetRect().Width()) << "52 and a gap more to share";
    EXPECT_EQ(pMessage->GetRect().right + nGroup, pNum->GetRect().left)
        << "the hidden pane's group starts here";
}

TEST_F(StatusBarTest, IndicatorsTextsAndTheMessagePane)
{
    const UINT missing[] = {ID_CAPS, ID_MISSING_STRING, ID_NUM};
    EXPECT_FALSE(m_pBar->SetIndicators(missing, 3));
    EXPECT_EQ(2, m_pBar->GetPaneCount()) << "stops at the missing string";

    MakeThreePanes();
    EXPECT_EQ(CString(_T("CAP")), m_pBar->GetPaneText(1));
    EXPECT_EQ(SBPS_STRETCH | SBPS_NOBORDERS, m_pBar->GetPaneStyle(0));
    EXPECT_EQ(1, m_pBar->CommandToIndex(ID_CAPS));
    EXPECT_EQ(-1, m_pBar->CommandToIndex(12345));
    EXPECT_EQ(nullptr, m_pBar->GetPane(-1));
    EXPECT_EQ(nullptr, m_pBar->GetPane(3));
    EXPECT_FALSE(m_pBar->SetPaneText(7, _T("x")));

    EXPECT_EQ(0, m_pBar->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(_T("Recording"))));
    EXPECT_EQ(CString(_T("Recording")), m_pBar->GetPaneText(0));
    EXPECT_EQ(9, m_pBar->SendMessage(WM_GETTEXTLENGTH));
    TCHAR buffer[8];
    for (TCHAR& c : buffer)
        c = _T('#');
    EXPECT_EQ(4, m_pBar->SendMessage(WM_GETTEXT, 5, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(CString(_T("Reco")), CString(buffer));
    EXPECT_EQ(_T('#'), buffer[5]);
    // A zero-length buffer is left alone.
    for (TCHAR& c : buffer)
        c = _T('#');
    EXPECT_EQ(0, m_pBar->SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(_T('#'), buffer[0]);

    // Without a message pane there is nothing to set.
    const UINT noMessage[] = {ID_CAPS};
    m_pBar->SetIndicators(noMessage, 1);
    EXPECT_EQ(-1, m_pBar->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(_T("x"))));
    EXPECT_EQ(0, m_pBar->SendMessage(WM_GETTEXTLENGTH));

    // The height follows the font and the minimum.
    const int cyDefault = m_pBar->CalcFixedLayout(TRUE, TRUE).cy;
    EXPECT_GE(cyDefault, CQVTPaintManager::DpiY(20));
    m_pBar->SendMessage(SB_SETMINHEIGHT, 57);
    EXPECT_EQ(57, m_pBar->CalcFixedLayout(TRUE, TRUE).cy);
}

TEST_F(StatusBarTest, PanesWithTooltipsAreToolsOfTheBar)
{
    const UINT ids[] = {0, ID_CAPS, ID_NUM};
    m_pBar->SetIndicators(ids, 3);
    m_pBar->GetPane(1)->SetTooltip(_T("Caps Lock"));
    SetInsideWidth(300);
    QVT_TOOLTIPHITINFO info = {};
    info.cbSize = sizeof(info);
    const CRect rcCaps = m_pBar->GetPane(1)->GetRect();
    EXPECT_EQ(static_cast<INT_PTR>(ID_CAPS),
              m_pBar->OnToolHitTest(rcCaps.CenterPoint(), reinterpret_cast<TOOLINFO*>(&info)));
    EXPECT_EQ(CString(_T("Caps Lock")), CString(info.lpszText));
    EXPECT_EQ(rcCaps, CRect(info.rect));
    CQVTToolTipContext::FreeToolInfo(&info);
    // A pane without a tooltip, and the space outside the panes, are no tools.
    EXPECT_EQ(-1, m_pBar->OnToolHitTest(m_pBar->GetPane(2)->GetRect().CenterPoint(), nullptr));
    EXPECT_EQ(-1, m_pBar->OnToolHitTest(CPoint(-5, -5), nullptr));
}

TEST_F(StatusBarTest, TextSizedPanesFollowTheirTextAndIcons)
{
    const UINT ids[] = {0, ID_SCRL};
    m_pBar->SetIndicators(ids, 2);
    SetInsideWidth(400);
    CQVTStatusBarPane* pPane = m_pBar->GetPane(1);
    CClientDC dc(m_pBar);
    CFont* pOld = dc.SelectObject(pPane->GetFont());
    const int cxText = dc.GetTextExtent(_T("SCRL")).cx;
    const int cxLonger = dc.GetTextExtent(_T("SCROLL LOCK")).cx;
    dc.SelectObject(pOld);
    const CRect rcPadding = pPane->GetPadding();
    EXPECT_EQ(cxText + rcPadding.left + rcPadding.right, pPane->GetWidth());
    EXPECT_EQ(pPane->GetWidth() + 2, pPane->GetRect().Width());
    pPane->SetText(_T("SCROLL LOCK"));
    EXPECT_EQ(cxLonger + rcPadding.left + rcPadding.right + 2, pPane->GetRect().Width()) << "laid out again";
    m_pBar->SetUpperCase(TRUE);
    pPane->SetText(_T("scroll lock"));
    EXPECT_EQ(CString(_T("SCROLL LOCK")), pPane->GetDisplayText());
}

TEST_F(StatusBarTest, CommandUiUpdatesPanesAndTheOvertypeIndicator)
{
    const UINT ids[] = {0, ID_CAPS, ID_OVR};
    m_pBar->SetIndicators(ids, 3);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    const BYTE nInsert = keys[VK_INSERT];

    s_pSite->m_bCapsEnabled = FALSE;
    s_pSite->m_nCapsCheck = 1;
    s_pSite->m_strCapsText = _T("Caps!");
    keys[VK_INSERT] = 0;
    ::SetKeyboardState(keys);
    m_pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(m_pBar->GetPane(1)->IsEnabled());
    EXPECT_TRUE(m_pBar->GetPane(1)->IsPopOut());
    EXPECT_EQ(CString(_T("Caps!")), m_pBar->GetPaneText(1));
    EXPECT_EQ(CString(_T("INS")), m_pBar->GetPaneText(2));
    EXPECT_FALSE(m_pBar->GetPane(2)->IsEnabled()) << "Insert toggled off";

    keys[VK_INSERT] = 1;
    ::SetKeyboardState(keys);
    s_pSite->m_bCapsEnabled = TRUE;
    s_pSite->m_nCapsCheck = 0;
    m_pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(m_pBar->GetPane(2)->IsEnabled());
    EXPECT_TRUE(m_pBar->GetPane(1)->IsEnabled());
    EXPECT_FALSE(m_pBar->GetPane(1)->IsPopOut());

    keys[VK_INSERT] = nInsert;
    ::SetKeyboardState(keys);

    // A hidden bar is not updated.
    m_pBar->ShowWindow(SW_HIDE);
    s_pSite->m_strCapsText = _T("never");
    m_pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(CString(_T("Caps!")), m_pBar->GetPaneText(1));
}

TEST_F(StatusBarTest, PanesStateStringsOfAnyShape)
{
    const UINT ids[] = {0, ID_CAPS, ID_NUM, ID_SCRL};
    m_pBar->SetIndicators(ids, 4);
    m_pBar->EnableCustomization();
    m_pBar->SetPanesState(_T("59137=1;59138=0;59139=1;61234=0"));
    EXPECT_TRUE(m_pBar->FindPane(ID_CAPS)->IsVisible());
    EXPECT_FALSE(m_pBar->FindPane(ID_NUM)->IsVisible());
    EXPECT_TRUE(m_pBar->FindPane(ID_SCRL)->IsVisible());
    EXPECT_EQ(CString(_T("0=1;59137=1;59138=0;59139=1")), m_pBar->GetPanesState());

    // Line feeds separate too, and numbers may carry a base prefix.
    m_pBar->SetPanesState(_T("59138=1\n0xE701=0"));
    EXPECT_TRUE(m_pBar->FindPane(ID_NUM)->IsVisible());
    EXPECT_FALSE(m_pBar->FindPane(ID_CAPS)->IsVisible());

    // Malformed items are skipped and change nothing.
    const CString before = m_pBar->GetPanesState();
    const TCHAR* junk[] = {_T(""),        _T(";;;;"),    _T("abc"), _T("=0"),   _T("59137"),
                           _T("59137="),  _T("59137=x"), _T("0=0"), _T("-1=0"), _T("99999999999999999999=0"),
                           _T("59137 0"), _T("=;=;=")};
    for (const TCHAR* pszJunk : junk)
    {
        m_pBar->SetPanesState(pszJunk);
        EXPECT_EQ(before, m_pBar->GetPanesState()) << CStringA(pszJunk).GetString();
    }
    CString strLong;
    for (int i = 0; i < 5000; ++i)
        strLong += _T("59137=;");
    m_pBar->SetPanesState(strLong);
    EXPECT_EQ(before, m_pBar->GetPanesState());
}

// The visibility of bar and panes written by this process, read by a second.
void SaveThreePanesHidingNum(CQVTStatusBar* pBar, BOOL bHideBar)
{
    const UINT ids[] = {0, ID_CAPS, ID_NUM, ID_SCRL};
    pBar->SetIndicators(ids, 4);
    pBar->EnableCustomization();
    pBar->FindPane(ID_NUM)->SetVisible(FALSE);
    pBar->ShowWindow(bHideBar ? SW_HIDE : SW_SHOWNA);
    pBar->SaveState(kSection);
}

TEST_F(StatusBarTest, StateRoundTripsThroughTheRegistryAndAnIniFile)
{
    // The registry first.
    theApp.SetRegistryKey(kRegistryKey);
    SaveThreePanesHidingNum(m_pBar, TRUE);
    EXPECT_EQ(0u, theApp.GetProfileInt(kSection, _T("StatusBar"), 7)) << "a hidden bar stores 0";
    EXPECT_EQ(CString(_T("0=1;59137=1;59138=0;59139=1")),
              theApp.GetProfileString(kSection, _T("StatusBarPanes")));
    EXPECT_EQ(0u, commontest::RunSelf("StatusBarTest.ReadBackInASecondProcess", u"SONDREL_STATUSBAR_STATE",
                                      u"registry hidden"));
    SaveThreePanesHidingNum(m_pBar, FALSE);
    EXPECT_EQ(7u, theApp.GetProfileInt(kSection, _T("StatusBar"), 7)) << "a visible bar leaves no value";
    EXPECT_EQ(0u, commontest::RunSelf("StatusBarTest.ReadBackInASecondProcess", u"SONDREL_STATUSBAR_STATE",
                                      u"registry shown"));

    // A bar the user may not customize keeps no pane list.
    m_pBar->EnableCustomization(FALSE);
    m_pBar->SaveState(kSection);
    EXPECT_EQ(CString(_T("none")), theApp.GetProfileString(kSection, _T("StatusBarPanes"), _T("none")));
    free(const_cast<LPTSTR>(theApp.m_pszRegistryKey));
    theApp.m_pszRegistryKey = nullptr;

    // Then an INI file.
    TCHAR szTemp[MAX_PATH] = {};
    ::GetTempPath(MAX_PATH, szTemp);
    const CString strIni = CString(szTemp) + _T("statusbar_test.ini");
    ::DeleteFile(strIni);
    LPCTSTR pszOldProfile = theApp.m_pszProfileName;
    theApp.m_pszProfileName = _tcsdup(strIni);
    SaveThreePanesHidingNum(m_pBar, TRUE);
    EXPECT_EQ(0u, commontest::RunSelf("StatusBarTest.ReadBackInASecondProcess", u"SONDREL_STATUSBAR_STATE",
                                      u"ini hidden " + std::u16string(static_cast<LPCTSTR>(strIni))));
    free(const_cast<LPTSTR>(theApp.m_pszProfileName));
    theApp.m_pszProfileName = pszOldProfile;
    ::DeleteFile(strIni);
}

// The second process: the bar made as the first one made it reads the state.
TEST_F(StatusBarTest, ReadBackInASecondProcess)
{
    const CString strState(commontest::Environment(u"SONDREL_STATUSBAR_STATE").c_str());
    if (strState.IsEmpty())
        GTEST_SKIP() << "run by the round-trip test in a second process";
    if (strState.Left(8) == _T("registry"))
        theApp.SetRegistryKey(kRegistryKey);
    else
        theApp.m_pszProfileName = _tcsdup(strState.Mid(strState.Find(_T(' '), 4) + 1));
    const UINT ids[] = {0, ID_CAPS, ID_NUM, ID_SCRL};
    m_pBar->SetIndicators(ids, 4);
    m_pBar->EnableCustomization();
    m_pBar->ShowWindow(SW_SHOWNA);
    m_pBar->LoadState(kSection);
    EXPECT_EQ(strState.Find(_T("hidden")) < 0, (m_pBar->GetStyle() & WS_VISIBLE) != 0);
    EXPECT_TRUE(m_pBar->FindPane(ID_CAPS)->IsVisible());
    EXPECT_FALSE(m_pBar->FindPane(ID_NUM)->IsVisible());
    EXPECT_TRUE(m_pBar->FindPane(ID_SCRL)->IsVisible());
}

TEST_F(StatusBarTest, StateRoundTripsThroughAPropertyExchange)
{
    const UINT ids[] = {0, ID_CAPS, ID_NUM};
    m_pBar->SetIndicators(ids, 3);
    m_pBar->EnableCustomization();
    m_pBar->FindPane(ID_CAPS)->SetVisible(FALSE);
    m_pBar->ShowWindow(SW_HIDE);
    {
        CQVTPropExchangeRegistry px(FALSE, HKEY_CURRENT_USER,
                                    _T("Software\\Sondrel Tests\\StatusBarExchange"));
        m_pBar->DoPropExchange(&px);
    }
    m_pBar->FindPane(ID_CAPS)->SetVisible(TRUE);
    m_pBar->ShowWindow(SW_SHOWNA);
    {
        CQVTPropExchangeRegistry px(TRUE, HKEY_CURRENT_USER,
                                    _T("Software\\Sondrel Tests\\StatusBarExchange"));
        m_pBar->DoPropExchange(&px);
    }
    EXPECT_FALSE(m_pBar->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(m_pBar->FindPane(ID_CAPS)->IsVisible());
    EXPECT_TRUE(m_pBar->FindPane(ID_NUM)->IsVisible());
    ::RegDeleteKey(HKEY_CURRENT_USER, _T("Software\\Sondrel Tests\\StatusBarExchange"));
}

TEST_F(StatusBarTest, DoubleClicksNotifyTheSiteAndButtonPanesSendTheirCommand)
{
    const UINT ids[] = {0, ID_CAPS, ID_BUTTON_PANE};
    m_pBar->SetIndicators(ids, 3);
    CQVTStatusBarPane* pButton = m_pBar->GetPane(2);
    pButton->SetButton(TRUE);
    pButton->SetWidth(60);
    s_pSite->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    PumpMessages(30);
    auto ScreenCentre = [&](CQVTStatusBarPane* pPane) {
        CPoint pt = pPane->GetRect().CenterPoint();
        m_pBar->ClientToScreen(&pt);
        return pt;
    };

    // A double click on the caps pane names it to the site.
    const CPoint ptCaps = ScreenCentre(m_pBar->GetPane(1));
    MouseMoveTo(ptCaps);
    MouseLeftDown();
    MouseLeftUp();
    MouseLeftDown();
    MouseLeftUp();
    PumpMessages(50);
    ASSERT_EQ(1u, s_pSite->m_dblClickItems.size());
    EXPECT_EQ(1, s_pSite->m_dblClickItems[0]);
    CPoint ptClient(ptCaps);
    m_pBar->ScreenToClient(&ptClient);
    EXPECT_EQ(ptClient, s_pSite->m_dblClickPoints[0]);
    EXPECT_TRUE(s_pSite->m_commands.empty());

    // A click on the button pane sends its command; it is hot under the pointer.
    const CPoint ptButton = ScreenCentre(pButton);
    MouseMoveTo(ptButton);
    PumpMessages(30);
    EXPECT_EQ(pButton, m_pBar->GetHotPane());
    EXPECT_TRUE(pButton->IsHot());
    TabInput::Drive([&](DWORD dwUi) {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 40);
        ScriptWaitForCapture(dwUi, true);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUi, false);
    });
    ASSERT_EQ(1u, s_pSite->m_commands.size());
    EXPECT_EQ(ID_BUTTON_PANE, s_pSite->m_commands[0]);

    // Released outside the pane, nothing is sent.
    TabInput::Drive([&](DWORD dwUi) {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 40);
        ScriptWaitForCapture(dwUi, true);
        TabInput::Move(ptCaps);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_EQ(1u, s_pSite->m_commands.size());
    // While a drag loop of the bars runs, no pane becomes hot.
    MouseMoveTo(ptCaps);
    PumpMessages(30);
    ASSERT_EQ(nullptr, m_pBar->GetHotPane());
    CQVTMouseManager::GetThreadManager()->EnterDragLoop();
    MouseMoveTo(ptButton);
    PumpMessages(30);
    EXPECT_EQ(nullptr, m_pBar->GetHotPane());
    CQVTMouseManager::GetThreadManager()->ExitDragLoop();
    // A disabled button pane never becomes hot.
    pButton->SetEnabled(FALSE);
    MouseMoveTo(ptButton);
    PumpMessages(30);
    EXPECT_EQ(nullptr, m_pBar->GetHotPane());
    MouseMoveTo(CPoint(5, 5));
}

TEST_F(StatusBarTest, ChildWindowsSitInsideTheirPanes)
{
    const UINT ids[] = {0, ID_CAPS};
    m_pBar->SetIndicators(ids, 2);
    CWnd* pChild = new CWnd();
    ASSERT_TRUE(pChild->CreateEx(0, _T("EDIT"), _T(""), WS_CHILD, CRect(0, 0, 10, 10), m_pBar, 1));
    CQVTStatusBarPane* pPane = m_pBar->GetPane(1);
    pPane->SetWidth(80);
    pPane->SetChild(pChild, TRUE);
    SetInsideWidth(300);
    CRect rcChild;
    pChild->GetWindowRect(&rcChild);
    m_pBar->ScreenToClient(&rcChild);
    CRect rcExpected(pPane->GetRect());
    rcExpected.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
    EXPECT_EQ(rcExpected, rcChild);
    EXPECT_TRUE(pChild->GetStyle() & WS_VISIBLE);
    SetInsideWidth(30);
    EXPECT_FALSE(pChild->GetStyle() & WS_VISIBLE) << "its pane did not fit";
    const HWND hChild = pChild->GetSafeHwnd();
    m_pBar->RemoveAll();
    EXPECT_FALSE(::IsWindow(hChild)) << "the pane destroyed the window it owned";
    delete pChild;
}

TEST_F(StatusBarTest, OfficeXpLookFramesPanesAndSeparatesGroups)
{
    ASSERT_TRUE(DYNAMIC_DOWNCAST(CQVTStatusBarThemeOfficeXP, QVTPaintManager()->GetStatusBarPaintManager()));
    const UINT ids[] = {0, ID_CAPS, ID_NUM};
    m_pBar->SetIndicators(ids, 3);
    m_pBar->GetPane(0)->SetBeginGroup(FALSE);
    m_pBar->GetPane(2)->SetStyle(SBPS_NOBORDERS);
    m_pBar->GetPane(2)->SetBackgroundColor(RGB(0, 128, 0));
    SetInsideWidth(300);
    CRect rcClient;
    m_pBar->GetClientRect(&rcClient);
    DibCanvas canvas(rcClient.Width(), rcClient.Height());
    m_pBar->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()), PRF_CLIENT);

    CQVTPaintManager* pTheme = QVTPaintManager();
    const CRect rcCaps = m_pBar->GetPane(1)->GetRect();
    EXPECT_EQ(pTheme->GetColor(COLOR_3DSHADOW), canvas.At(rcCaps.left, rcCaps.top + 3));
    EXPECT_EQ(pTheme->GetColor(COLOR_3DSHADOW), canvas.At(rcCaps.right - 1, rcCaps.top + 3));
    EXPECT_EQ(pTheme->GetColor(COLOR_3DSHADOW), canvas.At(rcCaps.left + 3, rcCaps.bottom - 1));
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), canvas.At(1, 1)) << "the face";
    // The borderless third pane begins a group: a separator two pixels to its left.
    const CRect rcNum = m_pBar->GetPane(2)->GetRect();
    EXPECT_EQ(pTheme->GetColor(39), canvas.At(rcNum.left - 2, rcNum.top + 3));
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(rcNum.left, rcNum.top + 3)) << "no inset without borders";
    // Text in the bar's text colour.
    EXPECT_GT(canvas.CountOf(QVTPaintManager()->GetStatusBarPaintManager()->m_clrText.GetValue()), 0);
}

TEST_F(StatusBarTest, GripperAndVisualStyleFaces)
{
    const UINT ids[] = {0};
    m_pBar->SetIndicators(ids, 1);
    m_pBar->SetShowSizeGripper(TRUE);
    SetInsideWidth(200);
    CRect rcClient;
    m_pBar->GetClientRect(&rcClient);
    CQVTStatusBarPaintManager* pPainter = QVTPaintManager()->GetStatusBarPaintManager();
    DibCanvas canvas(rcClient.Width(), rcClient.Height());
    m_pBar->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()), PRF_CLIENT);
    // The classic gripper: three pairs of diagonals in the bottom-right corner.
    const int r = rcClient.right, b = rcClient.bottom;
    EXPECT_EQ(pPainter->m_clrGripperDark.GetValue(), canvas.At(r - 4, b - 1));
    EXPECT_EQ(pPainter->m_clrGripperLite.GetValue(), canvas.At(r - 3, b - 1));
    EXPECT_EQ(pPainter->m_clrGripperDark.GetValue(), canvas.At(r - 1, b - 12));
    EXPECT_NE(pPainter->m_clrGripperDark.GetValue(), canvas.At(r - 16, b - 1));
    // The gripper's corner sizes the dialog, the rest is the bar's own.
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    EXPECT_EQ(HTBOTTOMRIGHT,
              m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rcWindow.right - 2, rcWindow.bottom - 2)));
    EXPECT_EQ(HTCLIENT,
              m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rcWindow.left + 5, rcWindow.top + 2)));
    m_pBar->SetShowSizeGripper(FALSE);
    EXPECT_EQ(HTCLIENT,
              m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rcWindow.right - 2, rcWindow.bottom - 2)));

    // With the status-bar style asked for, the face and gripper are the style's
    // own where styles are on, and classic where they are off.
    CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(qvtThemeOffice2000);
    pTheme->m_bThemedStatusBar = TRUE;
    pTheme->RefreshMetrics();
    const BOOL bStyled = pTheme->GetStatusBarTheme().GetThemeHandle() != nullptr;
    const char* pszStyles = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    EXPECT_EQ(!pszStyles || std::string(pszStyles) != "0", bStyled != FALSE);
    DibCanvas styled(rcClient.Width(), rcClient.Height()), expected(rcClient.Width(), rcClient.Height());
    pTheme->GetStatusBarPaintManager()->FillStatusBar(&styled.dc, m_pBar);
    if (bStyled)
        pTheme->GetStatusBarTheme().DrawThemeBackground(expected.dc.GetSafeHdc(), 0, 0, rcClient, nullptr);
    else
        expected.dc.FillSolidRect(rcClient, GetColorByIndex(COLOR_3DFACE));
    EXPECT_EQ(expected.At(5, 5), styled.At(5, 5));
    EXPECT_EQ(expected.At(rcClient.Width() / 2, rcClient.Height() - 2),
              styled.At(rcClient.Width() / 2, rcClient.Height() - 2));
    pTheme->InternalRelease();
}

}  // namespace

TEST_F(StatusBarTest, ARightClickOffersThePanesAndTheChosenOneIsSwitched)
{
    MakeThreePanes();
    m_pBar->EnableCustomization(TRUE);
    m_pBar->GetPane(1)->SetCaption(_T("Caps Lock"));
    s_pSite->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    s_pSite->SetForegroundWindow();
    PumpMessages(30);
    CQVTStatusBarPane* pCaps = m_pBar->GetPane(1);
    ASSERT_TRUE(pCaps->IsVisible());
    CPoint pt = pCaps->GetRect().CenterPoint();
    m_pBar->ClientToScreen(&pt);
    // The menu's first entry after its title is the caps pane: Enter
    // switches it off, and the next time on again.
    for (BOOL bVisibleAfter : {FALSE, TRUE})
    {
        const DWORD dwUiThread = ::GetCurrentThreadId();
        RunInputScript([&] {
            ScriptMouseMove(pt, 40);
            ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, 40);
            ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 300);
            SendKey(VK_DOWN, false);
            SendKey(VK_DOWN, true);
            ::Sleep(100);
            SendKey(VK_RETURN, false);
            SendKey(VK_RETURN, true);
            ScriptWaitForCapture(dwUiThread, false, 3000);
            ::Sleep(100);
        });
        EXPECT_EQ(bVisibleAfter, pCaps->IsVisible());
        EXPECT_EQ(!bVisibleAfter, (pCaps->GetHideFlags() & CQVTStatusBarPane::hiddenByUser) != 0);
    }
    EXPECT_TRUE(s_pSite->m_commands.empty());
    // The menu's sound started the sound thread, which must end before the
    // static destructors.
    QVTSoundPlayer()->Stop();
}
