// The backstage view as a user meets it: the system button opens it over
// the frame, its menu shows pages and runs commands, key tips reach the
// commands, tabs and page buttons, and closing gives the frame back all it
// hid, pages included.
#include <afxdlgs.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "toolkit/commandbars/bars/QVTCommandBarScrollBarCtrl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"

namespace {

const int kBackstageSave = 3310;
const int kBackstageSend = 3311;
const int kBackstageOpen = 3312;
const int kBackstageOptions = 3313;
const int kBackstageInfo = 3320;
const int kBackstageShare = 3321;
const int kBackstageAbout = 3330;

// A page as applications make them: a popup window with controls, which
// records the commands its controls send.
class CBackstageTestPage : public CWnd
{
public:
    BOOL CreatePage(CWnd* pOwner)
    {
        return CreateEx(
            WS_EX_CONTROLPARENT,
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW)),
            _T("Page"), WS_POPUP | WS_CLIPCHILDREN, CRect(0, 0, 300, 200), pOwner, 0);
    }
    HWND AddEdit(BOOL bMultiLine, int nId, int y)
    {
        return ::CreateWindowEx(
            WS_EX_CLIENTEDGE, _T("Edit"), _T(""),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (bMultiLine ? ES_MULTILINE | ES_WANTRETURN : 0), 20, y, 200,
            bMultiLine ? 60 : 24, m_hWnd, reinterpret_cast<HMENU>(INT_PTR(nId)), nullptr, nullptr);
    }

    std::vector<UINT> m_commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        // Clicks and cancels; the edits' own notifications are no commands.
        if (HIWORD(wParam) == 0)
            m_commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

// A page that will not let go of the user's input.
class CBackstageRefusingPage : public CPropertyPage
{
public:
    BOOL CreatePage(CWnd* pOwner)
    {
        struct
        {
            DLGTEMPLATE dt;
            WORD wMenu, wClass, wTitle, wPad;
        } tmpl = {};
        tmpl.dt.style = WS_POPUP;
        tmpl.dt.cx = 200;
        tmpl.dt.cy = 120;
        return CreateIndirect(&tmpl.dt, pOwner);
    }
    BOOL OnKillActive() override
    {
        ++m_nKillActive;
        return FALSE;
    }
    BOOL OnSetActive() override
    {
        ++m_nSetActive;
        return CPropertyPage::OnSetActive();
    }

    int m_nKillActive = 0;
    int m_nSetActive = 0;
};

void BackstageWheel(int nDelta)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(nDelta);
    ::SendInput(1, &input, sizeof(input));
}

void BackstageKey(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
    PumpHost(60);
}

}  // namespace

class RibbonBackstage : public CRibbonFrameSuite
{
protected:
    void SetUp() override
    {
        CRibbonFrameSuite::SetUp();
        m_pButton = m_pRibbon->AddSystemButton(0);
        m_pButton->SetCaption(_T("&File"));
        m_pButton->SetStyle(qvtButtonCaption);
        m_pView = new CQVTRibbonBackstageView();
        m_pView->SetCommandBars(s_pHost->GetCommandBars());
        m_pButton->SetCommandBar(m_pView);
        m_pView->InternalRelease();
        // A control beside the tabs, and a window of the frame's own.
        m_pAbout = m_pRibbon->GetControls()->AddByType(qvtControlButton, kBackstageAbout);
        m_pAbout->SetCaption(_T("About"));
        m_pAbout->SetFlags(qvtFlagRightAlign);
        m_hwndChild = ::CreateWindowEx(0, _T("Static"), _T("status"), WS_CHILD | WS_VISIBLE, 10, 300, 200, 20,
                                       s_pHost->m_hWnd, nullptr, nullptr, nullptr);
        s_pHost->ResizeClient(1200, 421);
        PumpHost(50);
    }
    void TearDown() override
    {
        if (m_pView->GetSafeHwnd())
            m_pView->SetTrackingMode(FALSE);
        PumpHost(20);
        for (CWnd* pPage : m_pages)
        {
            if (pPage->GetSafeHwnd())
                pPage->DestroyWindow();
            delete pPage;
        }
        m_pages.clear();
        if (::IsWindow(m_hwndChild))
            ::DestroyWindow(m_hwndChild);
        CRibbonFrameSuite::TearDown();
    }

    CQVTControl* AddCommand(LPCTSTR lpszCaption, int nId)
    {
        CQVTControl* pControl = new CQVTRibbonBackstageCommand();
        m_pView->GetControls()->Add(pControl, nId);
        pControl->SetCaption(lpszCaption);
        return pControl;
    }
    CQVTRibbonBackstageTab* AddTab(LPCTSTR lpszCaption, int nId, CWnd* pPage)
    {
        auto* pTab = new CQVTRibbonBackstageTab(pPage ? pPage->GetSafeHwnd() : nullptr);
        m_pView->GetControls()->Add(pTab, nId);
        pTab->SetCaption(lpszCaption);
        return pTab;
    }
    CBackstageTestPage* NewPage()
    {
        auto* pPage = new CBackstageTestPage();
        pPage->CreatePage(s_pHost);
        m_pages.push_back(pPage);
        return pPage;
    }
    bool OpenView()
    {
        MouseClickAt(s_pHost->ScreenRectOf(m_pButton).CenterPoint());
        return PumpFrameUntil([&] { return m_pView->IsVisible() != FALSE; });
    }
    bool CloseByEscape()
    {
        m_pView->SetFocus();
        BackstageKey(VK_ESCAPE);
        return PumpFrameUntil([&] { return m_pView->GetSafeHwnd() == nullptr; });
    }
    CRect ViewRectInSite() const
    {
        CRect rc;
        m_pView->GetWindowRect(&rc);
        s_pHost->ScreenToClient(&rc);
        return rc;
    }
    CPoint ScreenPointOf(CQVTControl* pControl) const
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        m_pView->ClientToScreen(&pt);
        return pt;
    }

    CQVTRibbonControlSystemButton* m_pButton = nullptr;
    CQVTRibbonBackstageView* m_pView = nullptr;
    CQVTControl* m_pAbout = nullptr;
    HWND m_hwndChild = nullptr;
    std::vector<CWnd*> m_pages;
};

TEST_F(RibbonBackstage, ResourceThemeLiesBelowTheTabRowAndKeepsTheRibbon)
{
    AddCommand(_T("Save"), kBackstageSave);
    ASSERT_TRUE(m_pAbout->IsVisible());
    ASSERT_TRUE(OpenView());
    EXPECT_TRUE(m_pRibbon->IsBackstageViewVisible());
    EXPECT_FALSE(m_pRibbon->IsBackstageMode());
    const CRect rcView = ViewRectInSite();
    CRect rcSite;
    s_pHost->GetClientRect(&rcSite);
    EXPECT_EQ(ScaleY(1) + m_pRibbon->GetTabsHeight() + m_pRibbon->GetCaptionHeight() +
                  m_pRibbon->GetFrameTopBorder(),
              rcView.top);
    EXPECT_EQ(rcSite.bottom, rcView.bottom);
    EXPECT_EQ(rcSite.right, rcView.right);
    EXPECT_TRUE(m_pAbout->IsVisible());
    EXPECT_TRUE(m_pRibbon->IsQuickAccessVisible());
    EXPECT_FALSE(::IsWindowVisible(m_hwndChild));
    EXPECT_TRUE(m_pRibbon->IsWindowVisible());
    // The frame's activation and focus stay away from its hidden windows.
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    LRESULT lResult = 1;
    EXPECT_TRUE(pBars->OnFrameWndMsg(WM_SETFOCUS, 0, 0, &lResult));
    EXPECT_TRUE(pBars->OnFrameWndMsg(WM_ACTIVATE, WA_ACTIVE, 0, &lResult));
    EXPECT_EQ(0, lResult);

    ASSERT_TRUE(CloseByEscape());
    EXPECT_FALSE(pBars->OnFrameWndMsg(WM_SETFOCUS, 0, 0, &lResult));
    EXPECT_FALSE(m_pRibbon->IsBackstageViewVisible());
    EXPECT_TRUE(::IsWindowVisible(m_hwndChild));
    EXPECT_FALSE(m_pButton->GetPopuped());
}

TEST_F(RibbonBackstage, FlatThemeCoversAllBelowTheBandAndGivesEverythingBack)
{
    m_pView->SetTheme(12);
    AddCommand(_T("Save"), kBackstageSave);
    const CRect rcButton = m_pButton->GetRect();
    ASSERT_TRUE(m_pAbout->IsVisible());
    ASSERT_TRUE(m_pRibbon->IsQuickAccessVisible());
    ASSERT_TRUE(OpenView());

    const CRect rcView = ViewRectInSite();
    CRect rcSite;
    s_pHost->GetClientRect(&rcSite);
    EXPECT_EQ(CRect(0, ScaleY(64), rcSite.right, rcSite.bottom), rcView);
    EXPECT_TRUE(m_pRibbon->IsBackstageMode());
    EXPECT_EQ(m_pView->GetMenuWidth(), m_pRibbon->GetBackstageMenuWidth());
    EXPECT_EQ(CRect(0, ScaleY(16), m_pView->GetMenuWidth(), ScaleY(64)), m_pButton->GetRect());
    EXPECT_FALSE(m_pRibbon->IsQuickAccessVisible());
    EXPECT_FALSE(m_pAbout->IsVisible());
    EXPECT_FALSE(::IsWindowVisible(m_hwndChild));
    // It follows the frame's size.
    s_pHost->ResizeClient(1000, 380);
    PumpHost(50);
    s_pHost->GetClientRect(&rcSite);
    EXPECT_EQ(CRect(0, ScaleY(64), rcSite.right, rcSite.bottom), ViewRectInSite());

    ASSERT_TRUE(CloseByEscape());
    EXPECT_FALSE(m_pRibbon->IsBackstageMode());
    EXPECT_EQ(0, m_pRibbon->GetBackstageMenuWidth());
    EXPECT_TRUE(m_pRibbon->IsQuickAccessVisible());
    EXPECT_TRUE(m_pAbout->IsVisible());
    EXPECT_TRUE(::IsWindowVisible(m_hwndChild));
    EXPECT_EQ(rcButton, m_pButton->GetRect());
}

TEST_F(RibbonBackstage, ATabShowsItsPageAtTheLayoutRectangleAndTellsTheSite)
{
    m_pView->SetTheme(12);
    CBackstageTestPage* pInfo = NewPage();
    CBackstageTestPage* pShare = NewPage();
    AddCommand(_T("Save"), kBackstageSave);
    CQVTRibbonBackstageTab* pInfoTab = AddTab(_T("Info"), kBackstageInfo, pInfo);
    pInfoTab->SetItemDefault(TRUE);
    CQVTRibbonBackstageTab* pShareTab = AddTab(_T("Share"), kBackstageShare, pShare);
    pShareTab->SetMinimumPageSize(CSize(3000, 0));
    ASSERT_TRUE(OpenView());
    EXPECT_EQ(pInfoTab, m_pView->GetActiveTab());
    EXPECT_EQ(m_pView->m_hWnd, ::GetParent(pInfo->m_hWnd));

    s_pHost->m_notifies.clear();
    MouseClickAt(ScreenPointOf(pShareTab));
    ASSERT_TRUE(PumpFrameUntil([&] { return m_pView->GetActiveTab() == pShareTab; }));
    EXPECT_EQ(m_pView->m_hWnd, ::GetParent(pShare->m_hWnd));
    EXPECT_FALSE(pShare->GetStyle() & WS_POPUP);
    EXPECT_TRUE(pShare->GetStyle() & WS_CHILD);
    EXPECT_TRUE(pShare->IsWindowVisible());
    CRect rcPage;
    pShare->GetWindowRect(&rcPage);
    m_pView->ScreenToClient(&rcPage);
    EXPECT_EQ(m_pView->GetPageRect(), rcPage);
    EXPECT_EQ(m_pView->GetMenuWidth(), rcPage.left);
    EXPECT_EQ(ScaleY(2), rcPage.top);
    // The page is never narrower than the tab asks.
    EXPECT_EQ(m_pView->GetMenuWidth() + 3000, rcPage.right);
    EXPECT_EQ((std::vector<std::pair<UINT, int>>{{0x1100u, kBackstageShare}}), s_pHost->m_notifies);
    // The page left goes back to the frame, hidden.
    EXPECT_EQ(s_pHost->m_hWnd, ::GetParent(pInfo->m_hWnd));
    EXPECT_FALSE(pInfo->IsWindowVisible());

    ASSERT_TRUE(CloseByEscape());
    EXPECT_EQ(s_pHost->m_hWnd, ::GetParent(pShare->m_hWnd));
    EXPECT_TRUE(::IsWindow(pShare->m_hWnd));
}

TEST_F(RibbonBackstage, KeyTipsTellCommandsApartAndReachTabsAndPageButtons)
{
    // No mnemonics and one first letter; a shared mnemonic; a tab.
    CQVTControl* pSave = AddCommand(_T("Save"), kBackstageSave);
    CQVTControl* pSend = AddCommand(_T("Send"), kBackstageSend);
    CQVTControl* pOpen = AddCommand(_T("&Open"), kBackstageOpen);
    CQVTControl* pOptions = AddCommand(_T("&Options"), kBackstageOptions);
    // A long tip of its own on a free letter; a caption whose letters are
    // all taken.
    CQVTControl* pExport = AddCommand(_T("Export"), kBackstageSave + 100);
    pExport->SetKeyboardTip(_T("xy"));
    CQVTControl* pEs = AddCommand(_T("Es"), kBackstageSave + 101);
    CBackstageTestPage* pPage = NewPage();
    std::vector<CQVTRibbonBackstageButton*> buttons;
    for (int i = 0; i < 12; ++i)
    {
        auto* pButton = new CQVTRibbonBackstageButton();
        pButton->Create(_T("Go"), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                        CRect(10 + 22 * i, 100, 30 + 22 * i, 120), pPage, 5000 + i);
        buttons.push_back(pButton);
    }
    CQVTRibbonBackstageTab* pTab = AddTab(_T("&Info"), kBackstageInfo, pPage);
    ASSERT_TRUE(OpenView());
    EXPECT_EQ(CString(_T("S")), pSave->GetKeyboardTip());
    EXPECT_EQ(CString(_T("E")), pSend->GetKeyboardTip());
    EXPECT_EQ(CString(_T("OO")), pOpen->GetKeyboardTip());
    EXPECT_EQ(CString(_T("OP")), pOptions->GetKeyboardTip());
    EXPECT_EQ(CString(_T("X")), pExport->GetKeyboardTip());
    EXPECT_EQ(CString(_T("1")), pEs->GetKeyboardTip());
    EXPECT_EQ(CString(_T("I")), pTab->GetKeyboardTip());
    // Twelve buttons: "0" to "9", then the first digit of 10 and 11.
    ASSERT_EQ(12, pTab->GetPageKeyTipCount());
    const CString strTips = _T("012345678911");
    for (int i = 0; i < 12; ++i)
    {
        EXPECT_EQ(strTips[i], pTab->GetPageKeyTip(i));
        EXPECT_EQ(CString(strTips[i]), buttons[static_cast<size_t>(i)]->GetKeyTip());
    }

    // Alt, then the tab's letter: the page buttons show their tips, and a
    // digit presses its button.
    BackstageKey(VK_MENU);
    EXPECT_EQ(CQVTRibbonBackstageView::keyTipWaiting, m_pView->GetKeyTipState());
    BackstageKey('I');
    EXPECT_EQ(CQVTRibbonBackstageView::keyTipPage, m_pView->GetKeyTipState());
    EXPECT_EQ(pTab, m_pView->GetActiveTab());
    EXPECT_TRUE(buttons[0]->IsShowKeyTip());
    EXPECT_TRUE(buttons[11]->IsShowKeyTip());
    BackstageKey('3');
    ASSERT_TRUE(PumpFrameUntil([&] { return !pPage->m_commands.empty(); }));
    EXPECT_EQ(std::vector<UINT>{5003u}, pPage->m_commands);
    EXPECT_EQ(CQVTRibbonBackstageView::keyTipNone, m_pView->GetKeyTipState());
    EXPECT_FALSE(buttons[3]->IsShowKeyTip());

    // The first letter of a pair narrows the tips; an unmatched key ends it.
    m_pView->SetFocus();
    BackstageKey(VK_MENU);
    BackstageKey('O');
    EXPECT_EQ(CQVTRibbonBackstageView::keyTipSecondChar, m_pView->GetKeyTipState());
    EXPECT_EQ(_T('O'), m_pView->GetPendingKeyTipChar());
    BackstageKey('Z');
    EXPECT_EQ(CQVTRibbonBackstageView::keyTipNone, m_pView->GetKeyTipState());
    EXPECT_TRUE(m_pView->IsVisible());

    BackstageKey(VK_MENU);
    BackstageKey('O');
    BackstageKey('P');
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kBackstageOptions}, s_pHost->m_commands);
    EXPECT_EQ(nullptr, m_pView->GetSafeHwnd());

    // The second command of the shared letter, by its own letter.
    ASSERT_TRUE(OpenView());
    s_pHost->m_commands.clear();
    BackstageKey(VK_MENU);
    BackstageKey('E');
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kBackstageSend}, s_pHost->m_commands);
    for (CQVTRibbonBackstageButton* pButton : buttons)
    {
        pButton->DestroyWindow();
        delete pButton;
    }
}

TEST_F(RibbonBackstage, EscapeClosesFromAMultiLineEditButGoesToThePageFromASingleLine)
{
    CBackstageTestPage* pPage = NewPage();
    const HWND hwndLine = pPage->AddEdit(FALSE, 601, 10);
    const HWND hwndText = pPage->AddEdit(TRUE, 602, 50);
    CQVTRibbonBackstageTab* pTab = AddTab(_T("Info"), kBackstageInfo, pPage);
    pTab->SetItemDefault(TRUE);
    ASSERT_TRUE(OpenView());
    // Tab goes from the menu into the page.
    ASSERT_EQ(m_pView->m_hWnd, ::GetFocus());
    BackstageKey(VK_TAB);
    EXPECT_TRUE(::GetFocus() == pPage->m_hWnd || ::IsChild(pPage->m_hWnd, ::GetFocus()));

    MouseClickAt(WindowCentre(hwndLine));
    ASSERT_EQ(hwndLine, ::GetFocus());
    BackstageKey(VK_ESCAPE);
    EXPECT_TRUE(m_pView->IsVisible());
    EXPECT_EQ(std::vector<UINT>{IDCANCEL}, pPage->m_commands);

    MouseClickAt(WindowCentre(hwndText));
    ASSERT_EQ(hwndText, ::GetFocus());
    BackstageKey(VK_ESCAPE);
    EXPECT_TRUE(PumpFrameUntil([&] { return m_pView->GetSafeHwnd() == nullptr; }));
    EXPECT_EQ(s_pHost->m_hWnd, ::GetParent(pPage->m_hWnd));
}

TEST_F(RibbonBackstage, TheWheelScrollsATallMenuByOneLineStep)
{
    m_pView->SetTheme(5);
    std::vector<CQVTRibbonBackstageTab*> tabs;
    for (int i = 0; i < 20; ++i)
    {
        CString strCaption;
        strCaption.Format(_T("Page %d"), i + 1);
        tabs.push_back(AddTab(strCaption, kBackstageInfo + i, nullptr));
    }
    ASSERT_TRUE(OpenView());
    ASSERT_TRUE(m_pView->IsScrollBarVisible());
    EXPECT_TRUE(m_pView->GetBarScrollBarCtrl(SB_VERT)->IsWindowVisible());
    EXPECT_EQ(nullptr, m_pView->GetBarScrollBarCtrl(SB_HORZ));
    EXPECT_EQ(ScaleY(38), m_pView->GetLineStep());
    const CRect rcFirst = tabs[0]->GetRect();

    MouseMoveTo(ScreenPointOf(tabs[2]));
    m_pView->SetFocus();
    BackstageWheel(-WHEEL_DELTA);
    ASSERT_TRUE(PumpFrameUntil([&] { return m_pView->GetScrollPosition() != 0; }));
    EXPECT_EQ(ScaleY(38), m_pView->GetScrollPosition());
    EXPECT_EQ(rcFirst.top - ScaleY(38), tabs[0]->GetRect().top);
    EXPECT_EQ(ScaleY(38), m_pView->GetBarScrollBarCtrl(SB_VERT)->GetScrollPos());
    BackstageWheel(WHEEL_DELTA);
    ASSERT_TRUE(PumpFrameUntil([&] { return m_pView->GetScrollPosition() == 0; }));
    EXPECT_EQ(rcFirst, tabs[0]->GetRect());
}

TEST_F(RibbonBackstage, APageThatRefusesToLeaveStillComesBackToTheFrameAlive)
{
    auto* pRefusing = new CBackstageRefusingPage();
    ASSERT_TRUE(pRefusing->CreatePage(s_pHost));
    m_pages.push_back(pRefusing);
    CQVTRibbonBackstageTab* pFirst = AddTab(_T("Info"), kBackstageInfo, pRefusing);
    pFirst->SetItemDefault(TRUE);
    CQVTRibbonBackstageTab* pSecond = AddTab(_T("Share"), kBackstageShare, NewPage());
    ASSERT_TRUE(OpenView());
    EXPECT_EQ(1, pRefusing->m_nSetActive);
    EXPECT_EQ(pFirst, m_pView->GetActiveTab());

    // The page keeps the view on itself.
    MouseClickAt(ScreenPointOf(pSecond));
    PumpHost(60);
    EXPECT_EQ(1, pRefusing->m_nKillActive);
    EXPECT_EQ(pFirst, m_pView->GetActiveTab());

    ASSERT_TRUE(CloseByEscape());
    ASSERT_TRUE(::IsWindow(pRefusing->m_hWnd));
    EXPECT_EQ(s_pHost->m_hWnd, ::GetParent(pRefusing->m_hWnd));
    EXPECT_FALSE(pRefusing->IsWindowVisible());
}

TEST_F(RibbonBackstage, WindowsThatLeftTheFrameMeanwhileAreNotShownAgain)
{
    const HWND hwndGone = ::CreateWindowEx(0, _T("Static"), _T("gone"), WS_CHILD | WS_VISIBLE, 10, 330, 100,
                                           20, s_pHost->m_hWnd, nullptr, nullptr, nullptr);
    CBackstageTestPage* pElsewhere = NewPage();
    ASSERT_TRUE(OpenView());
    ASSERT_FALSE(::IsWindowVisible(m_hwndChild));
    ASSERT_FALSE(::IsWindowVisible(hwndGone));
    ::DestroyWindow(hwndGone);
    ::SetParent(m_hwndChild, pElsewhere->m_hWnd);
    pElsewhere->ShowWindow(SW_SHOWNOACTIVATE);

    ASSERT_TRUE(CloseByEscape());
    EXPECT_FALSE(::GetWindowLong(m_hwndChild, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(RibbonBackstage, TheButtonOpensTheViewAgainOnceItClosed)
{
    AddCommand(_T("Save"), kBackstageSave);
    for (int nTheme : {5, 12})
    {
        m_pView->SetTheme(nTheme);
        ASSERT_TRUE(OpenView()) << nTheme;
        ASSERT_TRUE(CloseByEscape()) << nTheme;
        ::Sleep(::GetDoubleClickTime());
        EXPECT_TRUE(OpenView()) << nTheme;
        if (nTheme == 12)
        {
            // Over the covered ribbon the button (left of the menu's edge)
            // closes the view.
            MouseClickAt(s_pHost->ScreenRectOf(m_pButton).CenterPoint());
            EXPECT_TRUE(PumpFrameUntil([&] { return m_pView->GetSafeHwnd() == nullptr; }));
        }
        else
            EXPECT_TRUE(CloseByEscape());
        ::Sleep(::GetDoubleClickTime());
    }
}

TEST_F(RibbonBackstage, ArrowsPassOverSeparatorsAndEnterOrAClickRunsTheCommand)
{
    m_pView->SetTheme(12);
    CQVTControl* pSave = AddCommand(_T("Save"), kBackstageSave);
    m_pView->GetControls()->Add(new CQVTRibbonBackstageMenuSeparator(), 0);
    CQVTControl* pSend = AddCommand(_T("Send"), kBackstageSend);
    CQVTControl* pOpen = AddCommand(_T("Open"), kBackstageOpen);
    pSave->SetItemDefault(TRUE);
    ASSERT_TRUE(OpenView());
    EXPECT_EQ(pSave, m_pView->GetFocusedControl());
    BackstageKey(VK_DOWN);
    EXPECT_EQ(pSend, m_pView->GetFocusedControl());
    BackstageKey(VK_UP);
    EXPECT_EQ(pSave, m_pView->GetFocusedControl());
    BackstageKey(VK_DOWN);
    BackstageKey(VK_RETURN);
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kBackstageSend}, s_pHost->m_commands);
    EXPECT_EQ(nullptr, m_pView->GetSafeHwnd());

    ::Sleep(::GetDoubleClickTime());
    ASSERT_TRUE(OpenView());
    s_pHost->m_commands.clear();
    MouseClickAt(ScreenPointOf(pOpen));
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kBackstageOpen}, s_pHost->m_commands);
}

TEST_F(RibbonBackstage, BarsDestroyedWhileTheViewIsOpenLeaveThePageAndTheFrameWhole)
{
    CBackstageTestPage* pPage = NewPage();
    AddTab(_T("Info"), kBackstageInfo, pPage)->SetItemDefault(TRUE);
    ASSERT_TRUE(OpenView());
    ASSERT_EQ(m_pView->m_hWnd, ::GetParent(pPage->m_hWnd));
    s_pHost->ResetFrame(1200, 420);
    m_pRibbon = s_pHost->GetRibbon();
    ASSERT_TRUE(::IsWindow(pPage->m_hWnd));
    EXPECT_EQ(s_pHost->m_hWnd, ::GetParent(pPage->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(m_hwndChild));
    // The new bars' view is another one; the old one went with its button.
    m_pButton = m_pRibbon->AddSystemButton(0);
    m_pView = new CQVTRibbonBackstageView();
    m_pButton->SetCommandBar(m_pView);
    m_pView->InternalRelease();
}
