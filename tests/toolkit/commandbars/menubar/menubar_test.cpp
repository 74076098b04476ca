// The menu bar as a user meets it: it takes the frame's menu, Alt or F10
// enter it, Down opens a menu, arrows move and Enter runs the command; a
// click elsewhere, Alt and the application's deactivation close it; the
// frame's menu is back when the frame goes. In an MDI frame it follows the
// children: a maximized child's system-menu popup and buttons, and the menu
// of each document template.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/menubar/menubar_test_ids.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"

class CMenuBarTestDocument : public CDocument
{
    DECLARE_DYNCREATE(CMenuBarTestDocument)
};
IMPLEMENT_DYNCREATE(CMenuBarTestDocument, CDocument)

class CMenuBarTestView : public CView
{
    DECLARE_DYNCREATE(CMenuBarTestView)
public:
    void OnDraw(CDC*) override {}
    // The view does not take the focus from the tests' keys.
    void OnActivateView(BOOL, CView*, CView*) override {}
};
IMPLEMENT_DYNCREATE(CMenuBarTestView, CView)

// An MDI frame site: its bars get its messages and queued keys first, and
// it may say it handles the customize command.
class CBarsMDIFrame : public CMDIFrameWnd
{
public:
    BOOL CreateSite(const CRect& rc)
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
        if (!Create(lpszClass, _T("MDI bars"), WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CLIPCHILDREN, rc,
                    nullptr, MAKEINTRESOURCE(IDR_MB_MDI), WS_EX_TOPMOST | WS_EX_NOACTIVATE))
            return FALSE;
        ShowWindow(SW_SHOWNA);
        return TRUE;
    }
    // Fresh bars, with the frame's own menu on the window again.
    void ResetBars(BOOL bHandleCustomize)
    {
        if (m_pCommandBars)
            m_pCommandBars->InternalRelease();
        if (!::GetMenu(m_hWnd))
            ::SetMenu(m_hWnd, m_hMenuDefault);
        m_bHandleCustomize = bHandleCustomize;
        m_pCommandBars = CQVTCommandBars::CreateCommandBars();
        m_pCommandBars->SetSite(this);
        m_pCommandBars->EnableDocking();
    }
    ~CBarsMDIFrame() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
        if (m_pCommandBars)
            m_pCommandBars->InternalRelease();
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_pCommandBars && m_pCommandBars->PreTranslateFrameMessage(pMsg))
            return TRUE;
        return CMDIFrameWnd::PreTranslateMessage(pMsg);
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (m_pCommandBars && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult))
            return TRUE;
        return CMDIFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == QVT_ID_CUSTOMIZE && m_bHandleCustomize && nCode == CN_COMMAND && pHandlerInfo)
            return TRUE;
        if (nID >= 100 && nID < 1000 && nCode == CN_COMMAND && pHandlerInfo)
            return TRUE;
        return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    void PostNcDestroy() override {}

    CQVTCommandBars* m_pCommandBars = nullptr;
    BOOL m_bHandleCustomize = FALSE;
};

namespace {

CWinApp* TestApp()
{
    return &KeptTestApp(_T("MenuBarTest"));
}

std::vector<CString> Captions(CQVTCommandBar* pBar)
{
    std::vector<CString> captions;
    for (int i = 0; i < pBar->GetControlCount(); ++i)
        if (!pBar->GetControl(i)->IsTemporary())
            captions.push_back(pBar->GetControl(i)->GetCaption());
    return captions;
}

std::vector<int> Ids(CQVTCommandBar* pBar)
{
    std::vector<int> ids;
    for (int i = 0; i < pBar->GetControlCount(); ++i)
        ids.push_back(pBar->GetControl(i)->GetID());
    return ids;
}

void Key(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
    PumpTranslated(60);
}

// The open popup of the bar, or null.
CQVTCommandBar* OpenPopup(CQVTCommandBar* pBar)
{
    CQVTControl* pControl = pBar->GetControl(pBar->GetPopupedIndex());
    CQVTCommandBar* pPopup = pControl ? pControl->GetCommandBar() : nullptr;
    return pPopup && pPopup->GetSafeHwnd() && pPopup->IsWindowVisible() ? pPopup : nullptr;
}

}  // namespace

class MenuBarKeyboard : public BarsFrameSuite<MenuBarKeyboard>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(300, 80, 760, 380), FALSE, IDR_MB_MAIN); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        if (!::GetMenu(s_pFrame->GetSafeHwnd()))
            ::SetMenu(s_pFrame->GetSafeHwnd(),
                      ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MB_MAIN)));
        m_hMenu = ::GetMenu(s_pFrame->GetSafeHwnd());
        m_pMenuBar =
            DYNAMIC_DOWNCAST(CQVTMenuBar, s_pFrame->GetCommandBars()->Add(_T("Menu Bar"), qvtBarTop,
                                                                          RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        ASSERT_TRUE(m_pMenuBar->LoadMenuBar(IDR_MB_MAIN));
        s_pFrame->GetCommandBars()->RecalcFrameLayout(FALSE);
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpTranslated(50);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        PumpTranslated(30);
    }

    // Alt pressed and released alone.
    void EnterWithAlt()
    {
        Key(VK_MENU);
        PumpTranslatedUntil([&] { return m_pMenuBar->IsTrackingMode(); }, 2000);
    }

    CQVTMenuBar* m_pMenuBar = nullptr;
    HMENU m_hMenu = nullptr;
};

TEST_F(MenuBarKeyboard, TheBarTakesTheFramesMenuAndItsItems)
{
    EXPECT_EQ(nullptr, ::GetMenu(s_pFrame->GetSafeHwnd()));
    EXPECT_EQ(m_hMenu, m_pMenuBar->GetFrameMenu());
    EXPECT_EQ(m_pMenuBar, s_pFrame->GetCommandBars()->GetMenuBar());
    EXPECT_EQ(1u, m_pMenuBar->GetBarID());
    EXPECT_EQ(qvtBarTypeMenuBar, m_pMenuBar->GetType());
    EXPECT_EQ(static_cast<UINT>(IDR_MB_MAIN), m_pMenuBar->GetDefaultMenuResource());
    EXPECT_EQ(std::vector<CString>({_T("&File"), _T("&Edit"), _T("&View")}), Captions(m_pMenuBar));
    EXPECT_FALSE(m_pMenuBar->IsExpandButtonShown());
    EXPECT_FALSE(m_pMenuBar->IsCloseable());
    // It spans the frame.
    CRect rcBar, rcClient;
    m_pMenuBar->GetWindowRect(&rcBar);
    s_pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Width(), rcBar.Width());

    // A menu that is not there changes nothing; 0 only hooks again.
    EXPECT_FALSE(m_pMenuBar->LoadMenuBar(4242));
    EXPECT_EQ(3, static_cast<int>(Captions(m_pMenuBar).size()));
    EXPECT_TRUE(m_pMenuBar->LoadMenuBar(0));
    EXPECT_EQ(static_cast<UINT>(IDR_MB_MAIN), m_pMenuBar->GetCurrentMenuResource());
}

TEST_F(MenuBarKeyboard, AltThenDownOpensTheFirstMenuArrowsMoveAndEnterRunsTheCommand)
{
    EnterWithAlt();
    ASSERT_TRUE(m_pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, m_pMenuBar->GetSelectedIndex());
    EXPECT_EQ(CQVTCommandBar::selectByKeyboardForward, m_pMenuBar->GetSelectionReason());

    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    EXPECT_EQ(0, m_pMenuBar->GetPopupedIndex());
    CQVTCommandBar* pPopup = OpenPopup(m_pMenuBar);
    EXPECT_EQ(0, pPopup->GetSelectedIndex());

    // Right moves to the next menu, Left back; Down moves in the menu.
    Key(VK_RIGHT);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pMenuBar->GetPopupedIndex() == 1; }, 2000));
    Key(VK_LEFT);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pMenuBar->GetPopupedIndex() == 0; }, 2000));
    pPopup = OpenPopup(m_pMenuBar);
    ASSERT_NE(nullptr, pPopup);
    Key(VK_DOWN);
    EXPECT_EQ(1, pPopup->GetSelectedIndex());
    Key(VK_RETURN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({ID_MB_OPEN}), s_pFrame->m_commands);
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());
    EXPECT_EQ(nullptr, OpenPopup(m_pMenuBar));

    // F10 enters as well; Escape leaves.
    Key(VK_F10);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pMenuBar->IsTrackingMode(); }, 2000));
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());
}

TEST_F(MenuBarKeyboard, AClickElsewhereAltAndDeactivationClose)
{
    // A click into the frame away from the bar.
    EnterWithAlt();
    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    CRect rcFrame;
    s_pFrame->GetWindowRect(&rcFrame);
    MouseMoveTo(CPoint(rcFrame.right - 20, rcFrame.bottom - 20));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpTranslatedUntil(
        [&] { return OpenPopup(m_pMenuBar) == nullptr && !m_pMenuBar->IsTrackingMode(); }, 2000));
    EXPECT_TRUE(s_pFrame->m_commands.empty());

    // Alt.
    EnterWithAlt();
    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    Key(VK_MENU);
    EXPECT_TRUE(PumpTranslatedUntil(
        [&] { return OpenPopup(m_pMenuBar) == nullptr && !m_pMenuBar->IsTrackingMode(); }, 2000));

    // The application losing activation.
    EnterWithAlt();
    Key(VK_DOWN);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return OpenPopup(m_pMenuBar) != nullptr; }, 2000));
    s_pFrame->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(PumpTranslatedUntil(
        [&] { return OpenPopup(m_pMenuBar) == nullptr && !m_pMenuBar->IsTrackingMode(); }, 2000));
    EXPECT_TRUE(s_pFrame->m_commands.empty());
}

TEST_F(MenuBarKeyboard, AltWithShiftOrWithTheBarHiddenDoesNotEnter)
{
    SendKey(VK_SHIFT, false);
    Key(VK_MENU);
    SendKey(VK_SHIFT, true);
    PumpTranslated(50);
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());

    m_pMenuBar->SetVisible(FALSE);
    PumpTranslated(30);
    Key(VK_MENU);
    PumpTranslated(50);
    EXPECT_FALSE(m_pMenuBar->IsTrackingMode());
    m_pMenuBar->SetVisible(TRUE);
}

TEST(MenuBarFrame, TheFramesMenuIsBackWhenTheFrameIsDestroyed)
{
    CBarsFrame* pFrame = new CBarsFrame();
    ASSERT_TRUE(pFrame->CreateSite(CRect(320, 420, 620, 560), IDR_MB_MAIN));
    HMENU hMenu = ::GetMenu(pFrame->GetSafeHwnd());
    ASSERT_NE(nullptr, hMenu);
    CQVTMenuBar* pMenuBar = DYNAMIC_DOWNCAST(
        CQVTMenuBar, pFrame->GetCommandBars()->Add(_T("Menu Bar"), qvtBarTop, RUNTIME_CLASS(CQVTMenuBar)));
    ASSERT_NE(nullptr, pMenuBar);
    ASSERT_TRUE(pMenuBar->LoadMenuBar(IDR_MB_MAIN));
    EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
    pFrame->DestroyWindow();
    EXPECT_EQ(hMenu, pFrame->m_hMenuAtDestroy);
    // It went with the window.
    EXPECT_FALSE(::IsMenu(hMenu));
    delete pFrame;
}

// MDI.

class MenuBarMDI : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        // The application's templates, whose strings the menu bar reads.
        s_pDrawing = new CMultiDocTemplate(IDR_MB_DRAWING, RUNTIME_CLASS(CMenuBarTestDocument),
                                           RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CMenuBarTestView));
        s_pText = new CMultiDocTemplate(IDR_MB_TEXT, RUNTIME_CLASS(CMenuBarTestDocument),
                                        RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CMenuBarTestView));
        TestApp()->AddDocTemplate(s_pDrawing);
        TestApp()->AddDocTemplate(s_pText);
        s_pFrame = new CBarsMDIFrame();
        s_pFrame->CreateSite(CRect(300, 80, 760, 400));
    }
    static void TearDownTestSuite()
    {
        TestApp()->m_pMainWnd = nullptr;
        delete s_pFrame;
        s_pFrame = nullptr;
        delete TestApp()->m_pDocManager;  // with the templates
        TestApp()->m_pDocManager = nullptr;
        s_pDrawing = s_pText = nullptr;
    }

protected:
    void MakeFrame(BOOL bHandleCustomize)
    {
        m_pFrame = s_pFrame;
        ASSERT_NE(nullptr, m_pFrame->GetSafeHwnd());
        m_pFrame->ResetBars(bHandleCustomize);
        TestApp()->m_pMainWnd = m_pFrame;
        m_pMenuBar = DYNAMIC_DOWNCAST(CQVTMenuBar, m_pFrame->m_pCommandBars->Add(_T("Menu Bar"), qvtBarTop,
                                                                                 RUNTIME_CLASS(CQVTMenuBar)));
        ASSERT_NE(nullptr, m_pMenuBar);
        m_pMenuBar->SetFlags(CQVTMenuBar::flagAddMDISysPopup);
        ASSERT_TRUE(m_pMenuBar->LoadMenuBar(IDR_MB_MDI));
        m_pFrame->m_pCommandBars->RecalcFrameLayout(FALSE);
        PumpTranslated(30);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        s_pDrawing->CloseAllDocuments(FALSE);
        s_pText->CloseAllDocuments(FALSE);
        PumpTranslated(30);
    }

    CMDIChildWnd* Open(CMultiDocTemplate* pTemplate)
    {
        CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
        PumpTranslated(30);
        return pDoc ? m_pFrame->MDIGetActive() : nullptr;
    }
    // Until the bar's controls are the wanted ones (the bar follows the
    // children on a posted timer).
    bool WaitForIds(const std::vector<int>& ids)
    {
        return PumpTranslatedUntil([&] { return Ids(m_pMenuBar) == ids; }, 2000);
    }

    static CMultiDocTemplate* s_pDrawing;
    static CMultiDocTemplate* s_pText;
    static CBarsMDIFrame* s_pFrame;
    CBarsMDIFrame* m_pFrame = nullptr;
    CQVTMenuBar* m_pMenuBar = nullptr;
};

CMultiDocTemplate* MenuBarMDI::s_pDrawing = nullptr;

CMultiDocTemplate* MenuBarMDI::s_pText = nullptr;

CBarsMDIFrame* MenuBarMDI::s_pFrame = nullptr;

namespace {

const std::vector<CString> kMdiCaptions = {_T("&File")};
const std::vector<CString> kDrawingCaptions = {_T("&File"), _T("&Draw"), _T("&Window")};
const std::vector<CString> kTextCaptions = {_T("&File"), _T("&Text")};

}  // namespace

TEST_F(MenuBarMDI, ActivatingAChildOfAnotherTemplateSwitchesTheMenu)
{
    MakeFrame(FALSE);
    EXPECT_TRUE(m_pMenuBar->IsMDIFrame());
    EXPECT_EQ(kMdiCaptions, Captions(m_pMenuBar));
    EXPECT_EQ(nullptr, ::GetMenu(m_pFrame->GetSafeHwnd()));

    CMDIChildWnd* pDrawing = Open(s_pDrawing);
    ASSERT_NE(nullptr, pDrawing);
    EXPECT_EQ(kDrawingCaptions, Captions(m_pMenuBar));
    EXPECT_EQ(static_cast<UINT>(IDR_MB_DRAWING), m_pMenuBar->GetCurrentMenuResource());
    EXPECT_EQ(static_cast<UINT>(IDR_MB_DRAWING), m_pFrame->m_pCommandBars->GetActiveDocTemplate());
    // The frame keeps no menu of its own meanwhile.
    EXPECT_EQ(nullptr, ::GetMenu(m_pFrame->GetSafeHwnd()));

    CMDIChildWnd* pText = Open(s_pText);
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(kTextCaptions, Captions(m_pMenuBar));

    m_pFrame->MDIActivate(pDrawing);
    PumpTranslated(30);
    EXPECT_EQ(kDrawingCaptions, Captions(m_pMenuBar));
    EXPECT_EQ(pDrawing->GetSafeHwnd(), m_pMenuBar->GetHookedChild());

    // With the last child gone the frame's own menu is shown again.
    pDrawing->MDIDestroy();
    PumpTranslated(30);
    EXPECT_EQ(kTextCaptions, Captions(m_pMenuBar));
    pText->MDIDestroy();
    PumpTranslated(30);
    EXPECT_EQ(kMdiCaptions, Captions(m_pMenuBar));
    EXPECT_EQ(static_cast<UINT>(IDR_MB_MDI), m_pMenuBar->GetCurrentMenuResource());
    EXPECT_EQ(nullptr, ::GetMenu(m_pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarMDI, CustomizedTemplateMenusKeepTheirControls)
{
    MakeFrame(TRUE);
    ASSERT_TRUE(m_pFrame->m_pCommandBars->IsCustomizeAvail());
    CMDIChildWnd* pDrawing = Open(s_pDrawing);
    ASSERT_NE(nullptr, pDrawing);
    EXPECT_EQ(kDrawingCaptions, Captions(m_pMenuBar));
    // The user takes "Draw" off the drawing menu.
    CQVTControls* pDrawingControls = m_pMenuBar->GetControls();
    pDrawingControls->Remove(1);
    EXPECT_EQ(std::vector<CString>({_T("&File"), _T("&Window")}), Captions(m_pMenuBar));
    EXPECT_TRUE(m_pMenuBar->IsResetAllowed());

    CMDIChildWnd* pText = Open(s_pText);
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(kTextCaptions, Captions(m_pMenuBar));
    EXPECT_NE(pDrawingControls, m_pMenuBar->GetControls());
    ASSERT_NE(nullptr, m_pMenuBar->GetMDIMenus()->Lookup(IDR_MB_DRAWING));
    EXPECT_EQ(CString(_T("Drawing")), m_pMenuBar->GetMDIMenus()->Lookup(IDR_MB_DRAWING)->m_strTitle);
    EXPECT_EQ(CString(_T("Drawing Document")),
              m_pMenuBar->GetMDIMenus()->Lookup(IDR_MB_DRAWING)->m_strDescription);

    m_pFrame->MDIActivate(pDrawing);
    PumpTranslated(30);
    EXPECT_EQ(pDrawingControls, m_pMenuBar->GetControls());
    EXPECT_EQ(std::vector<CString>({_T("&File"), _T("&Window")}), Captions(m_pMenuBar));

    // Reset brings the template's menu back (confirmation off).
    EXPECT_TRUE(m_pMenuBar->ResetToolBar(FALSE));
    EXPECT_EQ(kDrawingCaptions, Captions(m_pMenuBar));

    // The frame's own menu once the children are gone: its entry leaves the
    // map when it is shown.
    pDrawing->MDIDestroy();
    pText->MDIDestroy();
    PumpTranslated(30);
    EXPECT_EQ(kMdiCaptions, Captions(m_pMenuBar));
    EXPECT_EQ(nullptr, m_pMenuBar->GetMDIMenus()->Lookup(IDR_MB_MDI));
    EXPECT_NE(nullptr, m_pMenuBar->GetMDIMenus()->Lookup(IDR_MB_TEXT));
}

TEST_F(MenuBarMDI, AMaximizedChildBringsItsSystemMenuAndButtons)
{
    MakeFrame(FALSE);
    CMDIChildWnd* pChild = Open(s_pDrawing);
    ASSERT_NE(nullptr, pChild);
    const std::vector<int> plain = Ids(m_pMenuBar);
    ASSERT_EQ(3u, plain.size());

    m_pFrame->MDIMaximize(pChild);
    std::vector<int> maximized = {QVT_ID_MDI_SYSMENU};
    maximized.insert(maximized.end(), plain.begin(), plain.end());
    maximized.insert(maximized.end(), {QVT_ID_MDI_MINIMIZE, QVT_ID_MDI_RESTORE, QVT_ID_MDI_CLOSE});
    ASSERT_TRUE(WaitForIds(maximized));
    CQVTMenuBar::CControlMDISysMenuPopup* pSysPopup = m_pMenuBar->GetSysMenuPopup();
    ASSERT_NE(nullptr, pSysPopup);
    EXPECT_NE(nullptr, pSysPopup->GetIcon());
    EXPECT_EQ(::GetSystemMenu(pChild->GetSafeHwnd(), FALSE), pSysPopup->GetSysMenu());
    // The popup holds the system menu's commands; Close is its default.
    CQVTCommandBar* pSysBar = pSysPopup->GetCommandBar();
    ASSERT_NE(nullptr, pSysBar);
    CQVTControl* pClose = pSysBar->GetControls()->FindControl(SC_CLOSE);
    ASSERT_NE(nullptr, pClose);
    EXPECT_TRUE(pClose->IsItemDefault());
    EXPECT_NE(nullptr, pSysBar->GetControls()->FindControl(SC_RESTORE));
    // The buttons sit at the right end of the bar.
    CRect rcBar;
    m_pMenuBar->GetClientRect(&rcBar);
    CQVTControl* pCloseButton = m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_CLOSE);
    EXPECT_GT(pCloseButton->GetRect().left, rcBar.Width() / 2);
    EXPECT_EQ(CString(_T("r")), pCloseButton->GetCaption());
    // The system commands' icons are the image manager's.
    EXPECT_TRUE(m_pMenuBar->GetImageManager()->HasImage(SC_CLOSE));
    EXPECT_TRUE(m_pMenuBar->GetImageManager()->HasImage(SC_RESTORE));

    // Restoring takes them away.
    pChild->MDIRestore();
    ASSERT_TRUE(WaitForIds(plain));

    // The restore button executes on the child.
    m_pFrame->MDIMaximize(pChild);
    ASSERT_TRUE(WaitForIds(maximized));
    m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_RESTORE)->OnExecute();
    ASSERT_TRUE(WaitForIds(plain));
    EXPECT_FALSE(pChild->IsZoomed());

    // And close closes it.
    m_pFrame->MDIMaximize(pChild);
    ASSERT_TRUE(WaitForIds(maximized));
    HWND hChild = pChild->GetSafeHwnd();
    m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_CLOSE)->OnExecute();
    EXPECT_TRUE(PumpTranslatedUntil([&] { return !::IsWindow(hChild); }, 2000));
    EXPECT_TRUE(PumpTranslatedUntil([&] { return Captions(m_pMenuBar) == kMdiCaptions; }, 2000));
    EXPECT_EQ(1, m_pMenuBar->GetControlCount());
}

TEST_F(MenuBarMDI, TheButtonsFollowTheChildsStyleAndTheBarsFlags)
{
    MakeFrame(FALSE);
    CMDIChildWnd* pChild = Open(s_pDrawing);
    ASSERT_NE(nullptr, pChild);
    // A child without a maximize box shows no restore button.
    pChild->ModifyStyle(WS_MAXIMIZEBOX, 0);
    m_pFrame->MDIMaximize(pChild);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pMenuBar->GetSysMenuPopup() != nullptr; }, 2000));
    EXPECT_NE(nullptr, m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_MINIMIZE));
    EXPECT_EQ(nullptr, m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_RESTORE));
    EXPECT_NE(nullptr, m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_CLOSE));

    // The bar's flags hide buttons and the system-menu popup.
    m_pMenuBar->SetFlags(CQVTMenuBar::flagHideClose | CQVTMenuBar::flagHideMinimizeBox,
                         CQVTMenuBar::flagAddMDISysPopup);
    m_pMenuBar->RefreshSysButtons();
    EXPECT_EQ(nullptr, m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_CLOSE));
    EXPECT_EQ(nullptr, m_pMenuBar->GetControls()->FindControl(QVT_ID_MDI_MINIMIZE));
    EXPECT_EQ(nullptr, m_pMenuBar->GetSysMenuPopup());
}
