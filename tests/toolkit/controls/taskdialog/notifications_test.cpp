// Notifications of the own task dialog in their order, cancellation, links
// clicked with the real pointer, timer ticks with their reset, a typed input
// box, help, the expando; the configuration's setters and the platform path.
#include "sondrel_gtest.h"
#include "taskdialog_harness.h"

namespace TD = QVTTaskDialogAPI;

TEST(TaskDialogNotifications, ComeInOrderFromConstructionToDestruction)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"Done.");
    dlg.m_steps = {[](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(dlg.m_events.size(), 4u);
    EXPECT_EQ(dlg.CodeAt(0), (int)TDN_DIALOG_CONSTRUCTED);
    EXPECT_EQ(dlg.CodeAt(1), (int)TDN_CREATED);
    EXPECT_EQ(dlg.CodeAt(2), (int)TDN_BUTTON_CLICKED);
    EXPECT_EQ(dlg.m_events[2].second, (WPARAM)IDOK);
    EXPECT_EQ(dlg.CodeAt(3), (int)TDN_DESTROYED);
    EXPECT_EQ(dlg.GetPressedButton(), IDOK);
    EXPECT_EQ(dlg.GetDialogHandle(), nullptr);

    // A click the handler refuses keeps the dialog open.
    CRecordingDialog keep;
    keep.m_bKeepOpen = TRUE;
    keep.m_steps = {[](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); },
                    [](CRecordingDialog& d) {
                        d.m_bKeepOpen = FALSE;
                        d.SendMessage(TDM_CLICK_BUTTON, IDOK);
                    }};
    EXPECT_EQ(keep.DoModal(), IDOK);
    EXPECT_EQ(keep.Count(TDN_BUTTON_CLICKED), 2u);
}

TEST(TaskDialogNotifications, EscapeCancelsOnlyWhenCancellingIsAllowed)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"No way out but OK.");
    BOOL bOpenAfterEscape = FALSE;
    dlg.m_steps = {[](CRecordingDialog& d) { PostKey(::GetFocus(), VK_ESCAPE); },
                   [](CRecordingDialog& d) { d.PostMessage(WM_CLOSE); },
                   [&](CRecordingDialog& d) {
                       bOpenAfterEscape = ::IsWindowVisible(d.m_hWnd);
                       d.SendMessage(TDM_CLICK_BUTTON, IDOK);
                   }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bOpenAfterEscape);
    EXPECT_EQ(dlg.Count(TDN_BUTTON_CLICKED), 1u);
    EXPECT_EQ(dlg.GetDialogStyle() & WS_SYSMENU, 0u);

    CRecordingDialog allowed;
    allowed.SetAllowCancellation(TRUE);
    EXPECT_TRUE(allowed.GetDialogStyle() & WS_SYSMENU);
    allowed.m_steps = {[](CRecordingDialog& d) { PostKey(::GetFocus(), VK_ESCAPE); }};
    EXPECT_EQ(allowed.DoModal(), IDCANCEL);
    ASSERT_EQ(allowed.Count(TDN_BUTTON_CLICKED), 1u);
    EXPECT_EQ(allowed.m_events[2].second, (WPARAM)IDCANCEL);

    // A Cancel button allows it too.
    CRecordingDialog withCancel;
    withCancel.SetCommonButtons(TRUE, FALSE, FALSE, TRUE);
    withCancel.m_steps = {[](CRecordingDialog& d) { PostKey(::GetFocus(), VK_ESCAPE); }};
    EXPECT_EQ(withCancel.DoModal(), IDCANCEL);
}

TEST(TaskDialogNotifications, ALinkClickedWithThePointerGivesItsTarget)
{
    CRecordingDialog dlg;
    dlg.EnableHyperlinks(TRUE);
    dlg.SetContent(u"Read <A HREF=\"https://example.org/help\">the help</A> before recording.");
    dlg.SetFooter(u"No links here.");
    CString strDisplay;
    BOOL bFooterPlain = FALSE;
    std::atomic<bool> bClicked{false};
    POINT ptLink = {};
    WinThread script;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       ::SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                       CQVTTaskDialogLinkCtrl& link = d.GetContentLink();
                       strDisplay = link.GetDisplayText();
                       bFooterPlain = d.GetFooterLink().m_hWnd == nullptr;
                       ASSERT_TRUE(link.m_hWnd);
                       ASSERT_EQ(link.GetLinkCount(), 1);
                       ::UpdateWindow(link.m_hWnd);
                       CRect rcPart = link.GetLink(0)->arrParts[0];
                       link.ClientToScreen(&rcPart);
                       ptLink = rcPart.CenterPoint();
                       script = WinThread([&] {
                           ScriptMouseMove(ptLink, 100);
                           ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
                           ScriptMouseButton(MOUSEEVENTF_LEFTUP);
                           bClicked = true;
                       });
                   },
                   [](CRecordingDialog&) {},
                   [](CRecordingDialog&) {},
                   [](CRecordingDialog&) {},
                   [](CRecordingDialog&) {},
                   [](CRecordingDialog&) {},
                   [&](CRecordingDialog& d) {
                       if (bClicked && !d.m_links.empty())
                           d.SendMessage(TDM_CLICK_BUTTON, IDOK);
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    script.join();
    EXPECT_EQ(strDisplay, CString(_T("Read the help before recording.")));
    EXPECT_TRUE(bFooterPlain);
    ASSERT_EQ(dlg.m_links.size(), 1u);
    EXPECT_EQ(dlg.m_links[0], CString(_T("https://example.org/help")));
    MouseMoveTo(CPoint(5, 5));
}

TEST(TaskDialogNotifications, MalformedAnchorsStayTextAndEndTheParse)
{
    CArray<CQVTTaskDialogLinkCtrl::LINKITEM*, CQVTTaskDialogLinkCtrl::LINKITEM*> links;
    auto parse = [&](LPCTSTR lpszText) {
        for (INT_PTR i = 0; i < links.GetSize(); ++i)
            delete links[i];
        links.RemoveAll();
        return CQVTTaskDialogLinkCtrl::ParseLinks(lpszText, links);
    };
    // A closer before the opener, an opener without closer.
    EXPECT_EQ(parse(_T("</a> then <a href=\"x\">y")), CString(_T("</a> then <a href=\"x\">y")));
    EXPECT_EQ(links.GetSize(), 0);
    // No '>' inside the span, an unclosed quote: both stay, a good link after them parses.
    EXPECT_EQ(parse(_T("<a href=\"x\"</a> <a href=\"open</a> <a href=\"t\">ok</a>")),
              CString(_T("<a href=\"x\"</a> <a href=\"open</a> ok")));
    ASSERT_EQ(links.GetSize(), 1);
    EXPECT_EQ(links[0]->strTarget, CString(_T("t")));
    EXPECT_EQ(links[0]->strLabel, CString(_T("ok")));
    // Two links; the second's start in the display text.
    EXPECT_EQ(parse(_T("<a href=\"1\">one</a> and <A Href=\"2\">two</a>")), CString(_T("one and two")));
    ASSERT_EQ(links.GetSize(), 2);
    EXPECT_EQ(links[1]->nStart, 8u);
    parse(_T(""));
}

TEST(TaskDialogNotifications, TimerTicksCountFromTheLastReset)
{
    CRecordingDialog dlg;
    dlg.ModifyFlags(0, TDF_CALLBACK_TIMER);
    dlg.m_dwResetAfter = 500;
    std::vector<CRecordingDialog::Step> steps(40, [](CRecordingDialog&) {});
    steps.push_back([](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); });
    dlg.m_steps = steps;
    dlg.DoModal();
    ASSERT_GE(dlg.m_timerTicks.size(), 5u);
    // The ticks grow, pass the reset point, and start again from near zero.
    bool bReset = false;
    for (size_t i = 1; i < dlg.m_timerTicks.size(); ++i)
        if (dlg.m_timerTicks[i - 1] >= 500 && dlg.m_timerTicks[i] < 400)
            bReset = true;
    EXPECT_TRUE(bReset);
    EXPECT_GE(dlg.m_timerTicks.front(), 100u);

    // Without the flag no timer notification comes.
    CRecordingDialog quiet;
    quiet.m_steps = std::vector<CRecordingDialog::Step>(10, [](CRecordingDialog&) {});
    quiet.m_steps.push_back([](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); });
    quiet.DoModal();
    EXPECT_EQ(quiet.Count(TDN_TIMER), 0u);
}

TEST(TaskDialogNotifications, ATypedInputBoxKeepsItsText)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"Name the recording:");
    dlg.EnableInputBox(TRUE);
    dlg.SetInputBoxText(u"Take");
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       HWND hEdit = d.GetInputBox().m_hWnd;
                       ::SendMessage(hEdit, EM_SETSEL, 4, 4);
                       for (WCHAR ch : {u' ', u'2'})
                           ::PostMessage(hEdit, WM_CHAR, ch, 1);
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetInputBoxText(), CString(_T("Take 2")));
    EXPECT_EQ(dlg.Count(QVTTaskDialogAPI::TDN_INPUTBOX_CHANGED), 2u);
}

TEST(TaskDialogNotifications, HelpOncePerPressAndTheExpando)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"Content");
    dlg.SetExpandedInformation(u"The details");
    int nHeightCollapsed = 0, nHeightExpanded = 0;
    CString strCollapsed, strExpanded;
    dlg.m_steps = {[&](CRecordingDialog& d) { PostKey(::GetFocus(), VK_F1); },
                   [&](CRecordingDialog& d) {
                       CRect rc;
                       d.GetClientRect(&rc);
                       nHeightCollapsed = rc.Height();
                       strCollapsed = d.GetExpandoButton()->GetButtonText();
                       d.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                                     (LPARAM)d.GetExpandoButton()->m_hWnd);
                       d.GetClientRect(&rc);
                       nHeightExpanded = rc.Height();
                       strExpanded = d.GetExpandoButton()->GetButtonText();
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.Count(TDN_HELP), 1u);
    EXPECT_EQ(strCollapsed, CString(_T("Show &Details")));
    EXPECT_EQ(strExpanded, CString(_T("Hide &Details")));
    EXPECT_GT(nHeightExpanded, nHeightCollapsed);
    ASSERT_EQ(dlg.Count(TDN_EXPANDO_BUTTON_CLICKED), 1u);
    EXPECT_TRUE(dlg.IsExpanded());
}

TEST(TaskDialogConfiguration, SettersKeepTheirRules)
{
    CQVTTaskDialog dlg;
    TD::TASKDIALOGCONFIG& config = dlg.GetConfiguration();
    EXPECT_EQ(config.cbSize, 160u);
    EXPECT_EQ(config.dwFlags, (DWORD)TDF_POSITION_RELATIVE_TO_WINDOW);
    EXPECT_EQ(config.hInstance, ::GetModuleHandleW(nullptr));

    dlg.AddButton(u"First", 100);
    dlg.AddButton(u"Second", 100);
    ASSERT_EQ(dlg.GetButtons().GetSize(), 1);
    EXPECT_EQ(CString(dlg.GetButtons()[0].pszButtonText), CString(_T("Second")));
    dlg.AddButton(MAKEINTRESOURCEW(4201), 101);
    EXPECT_EQ(dlg.GetButtons()[1].pszButtonText, MAKEINTRESOURCEW(4201));

    dlg.SetCommonButtons(FALSE);
    EXPECT_EQ(config.dwCommonButtons, 0u);
    dlg.SetCommonButtons(TRUE, TRUE, TRUE, TRUE, TRUE, TRUE);
    EXPECT_EQ(config.dwCommonButtons, 0x3Fu);

    // A title given as an id is the text at once; one the module lacks is empty.
    dlg.SetWindowTitle(MAKEINTRESOURCEW(4201));
    EXPECT_FALSE(IS_INTRESOURCE(config.pszWindowTitle));
    EXPECT_EQ(CString(config.pszWindowTitle), CString(_T("Title from the table")));
    dlg.SetWindowTitle(MAKEINTRESOURCEW(4299));
    EXPECT_EQ(config.pszWindowTitle, nullptr);
    EXPECT_TRUE(dlg.GetWindowTitle().Find(_T("controls_taskdialog_test")) >= 0);
    EXPECT_EQ(CQVTTaskDialogClient::LoadTaskDialogString(config.hInstance, MAKEINTRESOURCEW(4299)),
              CString());

    // Other texts keep an id; an empty string leaves the field null.
    dlg.SetContent(MAKEINTRESOURCEW(4201));
    EXPECT_EQ(config.pszContent, MAKEINTRESOURCEW(4201));
    dlg.SetContent(u"");
    EXPECT_EQ(config.pszContent, nullptr);

    EXPECT_TRUE(dlg.ModifyFlags(0, TDF_ENABLE_HYPERLINKS));
    EXPECT_FALSE(dlg.ModifyFlags(0, TDF_ENABLE_HYPERLINKS));
    dlg.SetMainIcon(TD::iconWarning);
    EXPECT_EQ(config.pszMainIcon, MAKEINTRESOURCEW(TD::iconWarning));

    // The callback: no object is a failure; destruction does not reach the dispatcher.
    EXPECT_EQ(CQVTTaskDialog::TaskDialogCallbackProc(nullptr, TDN_CREATED, 0, 0, 0), E_FAIL);
    EXPECT_EQ(CQVTTaskDialog::TaskDialogCallbackProc(nullptr, TDN_DESTROYED, 0, 0, (LONG_PTR)&dlg), S_OK);
    EXPECT_EQ(dlg.OnNotify(TDN_DESTROYED, 0, 0), E_NOTIMPL);
    EXPECT_EQ(dlg.OnNotify(150, 0, 0), E_NOTIMPL);
    EXPECT_EQ(dlg.OnNotify(TDN_BUTTON_CLICKED, IDOK, 0), S_OK);
}

namespace {

// The platform's dialog as the forced gate calls it: what it was given.
struct PlatformCall
{
    static DWORD dwFlags;
    static HICON hMainIcon;
    static bool bIconValid;
    static HRESULT WINAPI TaskDialogIndirect(const TD::TASKDIALOGCONFIG* pConfig, int* pnButton, int* pnRadio,
                                             BOOL* pbVerify)
    {
        dwFlags = pConfig->dwFlags;
        hMainIcon = pConfig->hMainIcon;
        ICONINFO info = {};
        bIconValid = ::GetIconInfo(pConfig->hMainIcon, &info) != FALSE;
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
        *pnButton = IDYES;
        *pnRadio = 0;
        *pbVerify = TRUE;
        return S_OK;
    }
};
DWORD PlatformCall::dwFlags = 0;
HICON PlatformCall::hMainIcon = nullptr;
bool PlatformCall::bIconValid = false;

class CPlatformDialog : public CQVTTaskDialog
{
protected:
    TD::PFNTASKDIALOGINDIRECT GetPlatformTaskDialog() override
    {
        // The gate as it stands, then forced open.
        m_bGateOnWine = CQVTTaskDialog::GetPlatformTaskDialog() != nullptr;
        return m_bUseComCtl32 ? &PlatformCall::TaskDialogIndirect : nullptr;
    }

public:
    BOOL m_bGateOnWine = TRUE;
};

}  // namespace

TEST(TaskDialogConfiguration, ThePlatformPathBorrowsAQuestionIconForTheCallOnly)
{
    CPlatformDialog dlg;
    dlg.SetMainIcon(TD::iconQuestion);
    EXPECT_EQ(dlg.DoModalUseComCtl32(TRUE), IDYES);
    // Wine's common controls report 5.81: the real gate stays closed.
    EXPECT_FALSE(dlg.m_bGateOnWine);
    EXPECT_TRUE(PlatformCall::dwFlags & TDF_USE_HICON_MAIN);
    EXPECT_TRUE(PlatformCall::bIconValid);
    // Afterwards the configuration is as it was and the handle is gone.
    EXPECT_FALSE(dlg.GetConfiguration().dwFlags & TDF_USE_HICON_MAIN);
    EXPECT_EQ(dlg.GetConfiguration().pszMainIcon, MAKEINTRESOURCEW(TD::iconQuestion));
    ICONINFO info = {};
    EXPECT_FALSE(::GetIconInfo(PlatformCall::hMainIcon, &info));
    EXPECT_TRUE(dlg.IsVerificationChecked());

    // Other icons go to the platform as they are.
    dlg.SetMainIcon(TD::iconWarning);
    dlg.DoModalUseComCtl32(TRUE);
    EXPECT_FALSE(PlatformCall::dwFlags & TDF_USE_HICON_MAIN);
}

TEST(TaskDialogNotifications, TabWalksTheLinksAndEnterFollowsTheFocusedOne)
{
    CRecordingDialog dlg;
    dlg.EnableHyperlinks(TRUE);
    dlg.SetContent(u"See <a href=\"first://a\">one</a> or <a href=\"second://b\">two</a>.");
    int nFocusedAfterTab = -2;
    BOOL bLinkKeptFocus = FALSE, bFocusMovedOn = FALSE;
    LRESULT nHitBeside = 0, nHitOnLink = 0;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       CQVTTaskDialogLinkCtrl& link = d.GetContentLink();
                       ASSERT_TRUE(link.m_hWnd);
                       ::UpdateWindow(link.m_hWnd);
                       // Clicks beside the links fall through to the dialog.
                       CRect rcClient;
                       link.GetClientRect(&rcClient);
                       CPoint ptBeside(rcClient.right - 1, rcClient.bottom - 1);
                       link.ClientToScreen(&ptBeside);
                       nHitBeside = link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptBeside.x, ptBeside.y));
                       CPoint ptLink = link.GetLink(1)->arrParts[0].CenterPoint();
                       link.ClientToScreen(&ptLink);
                       nHitOnLink = link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptLink.x, ptLink.y));
                       link.SetFocus();
                       PostKey(link.m_hWnd, VK_TAB);
                   },
                   [&](CRecordingDialog& d) {
                       nFocusedAfterTab = d.GetContentLink().GetFocusedLinkIndex();
                       bLinkKeptFocus = ::GetFocus() == d.GetContentLink().m_hWnd;
                       PostKey(::GetFocus(), VK_RETURN);
                   },
                   [](CRecordingDialog& d) { PostKey(::GetFocus(), VK_TAB); },
                   [&](CRecordingDialog& d) {
                       // Tab on the last link leaves the control to the dialog.
                       bFocusMovedOn = ::GetFocus() != d.GetContentLink().m_hWnd &&
                                       d.GetContentLink().GetFocusedLinkIndex() == -1;
                       d.SendMessage(TDM_CLICK_BUTTON, IDOK);
                   }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(nHitBeside, HTTRANSPARENT);
    EXPECT_EQ(nHitOnLink, HTCLIENT);
    EXPECT_EQ(nFocusedAfterTab, 1);
    EXPECT_TRUE(bLinkKeptFocus);
    ASSERT_EQ(dlg.m_links.size(), 1u);
    EXPECT_EQ(dlg.m_links[0], CString(_T("second://b")));
    EXPECT_TRUE(bFocusMovedOn);
    // Enter on a link is the link's, not the default button's.
    EXPECT_EQ(dlg.Count(TDN_BUTTON_CLICKED), 1u);
}

TEST(TaskDialogNotifications, RealClicksOnARadioTheVerificationAndACommandLink)
{
    CRecordingDialog dlg;
    dlg.SetMainInstruction(u"Recording stopped");
    dlg.ModifyFlags(0, TDF_USE_COMMAND_LINKS);
    dlg.AddButton(u"&Keep the file\nIt stays in the list", 300);
    dlg.AddButton(u"&Delete the file", 301);
    dlg.AddRadioButton(u"Low quality", 400);
    dlg.AddRadioButton(u"High quality", 401);
    dlg.SetVerificationText(u"Do not ask again");
    std::atomic<bool> bDone{false};
    POINT ptRadio = {}, ptVerify = {}, ptLink = {};
    int nRadioBefore = 0;
    WinThread script;
    dlg.m_steps = {[&](CRecordingDialog& d) {
        ::SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        d.SetForegroundWindow();
        nRadioBefore = d.GetSelectedRadioButtonId();
        ASSERT_EQ(d.GetRadioButtonCount(), 2);
        ASSERT_EQ(d.GetCommandLinkCount(), 2);
        ASSERT_TRUE(d.GetVerificationButton());
        ptRadio = WindowCentre(d.GetRadioButton(1)->m_hWnd);
        // The box's mark, not the middle of its caption strip.
        CRect rcVerify;
        d.GetVerificationButton()->GetWindowRect(&rcVerify);
        ptVerify = CPoint(rcVerify.left + 6, rcVerify.CenterPoint().y);
        ptLink = WindowCentre(d.GetCommandLink(1)->m_hWnd);
        script = WinThread([&] {
            for (POINT pt : {ptRadio, ptVerify, ptLink})
            {
                ScriptMouseMove(pt, 100);
                ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 80);
                ScriptMouseButton(MOUSEEVENTF_LEFTUP, 150);
            }
            bDone = true;
        });
    }};
    EXPECT_EQ(dlg.DoModal(), 301);
    script.join();
    MouseMoveTo(CPoint(5, 5));
    EXPECT_TRUE(bDone);
    EXPECT_EQ(nRadioBefore, 400);  // the first is chosen when none is named
    EXPECT_EQ(dlg.GetSelectedRadioButtonId(), 401);
    EXPECT_TRUE(dlg.IsVerificationChecked());
    // After construction: the radio, the box, then the command link.
    std::vector<std::pair<UINT, WPARAM>> clicks;
    for (const auto& event : dlg.m_events)
        if (event.first == TDN_RADIO_BUTTON_CLICKED || event.first == TDN_VERIFICATION_CLICKED ||
            event.first == TDN_BUTTON_CLICKED)
            clicks.push_back(event);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {TDN_RADIO_BUTTON_CLICKED, 401}, {TDN_VERIFICATION_CLICKED, 1}, {TDN_BUTTON_CLICKED, 301}};
    EXPECT_EQ(clicks, expected);
}
