// The task dialog's own window laid out and painted: the buttons it makes,
// where they stand, the width it takes, its looks.
#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "taskdialog_harness.h"
#include "toolkit/controls/button/QVTButtonTheme.h"
#include "toolkit/foundation/color/QVTColorManager.h"

namespace {

struct Placed
{
    int nID;
    CRect rc;
    CString strText;
};

std::vector<Placed> RowButtons(CRecordingDialog& dlg)
{
    std::vector<Placed> buttons;
    for (int i = 0; i < dlg.GetRowButtonCount(); ++i)
    {
        CQVTButton* pButton = dlg.GetRowButton(i);
        buttons.push_back(
            {pButton->GetDlgCtrlID(), ChildRect(dlg, pButton->m_hWnd), pButton->GetButtonText()});
    }
    return buttons;
}

}  // namespace

TEST(TaskDialogLayout, WithoutButtonsASingleDefaultOk)
{
    CRecordingDialog dlg;
    dlg.SetMainInstruction(u"Recording finished");
    dlg.SetContent(u"The file was saved.");
    std::vector<Placed> buttons;
    DWORD dwDefault = 0;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       buttons = RowButtons(d);
                       dwDefault = (DWORD)d.SendMessage(DM_GETDEFID);
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, IDOK); }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].nID, IDOK);
    EXPECT_EQ(buttons[0].strText, CString(_T("OK")));
    EXPECT_EQ(LOWORD(dwDefault), IDOK);
    EXPECT_EQ(HIWORD(dwDefault), DC_HASDEFID);
}

TEST(TaskDialogLayout, CustomButtonsStandBeforeTheCommonOnes)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"Keep the recording?");
    dlg.AddButton(u"Keep it and record again later", 100);
    dlg.AddButton(u"Drop", 101);
    dlg.SetCommonButtons(TRUE, FALSE, FALSE, TRUE);
    std::vector<Placed> buttons;
    dlg.m_steps = {[&](CRecordingDialog& d) { buttons = RowButtons(d); },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, 101); }};
    EXPECT_EQ(dlg.DoModal(), 101);
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0].nID, 100);
    EXPECT_EQ(buttons[1].nID, 101);
    EXPECT_EQ(buttons[2].nID, IDOK);
    EXPECT_EQ(buttons[3].nID, IDCANCEL);
    // One row, left to right, the last at the right margin.
    for (size_t i = 1; i < buttons.size(); ++i)
    {
        EXPECT_EQ(buttons[i].rc.top, buttons[0].rc.top);
        EXPECT_GT(buttons[i].rc.left, buttons[i - 1].rc.right);
    }
    // Custom buttons at least as wide as the common ones, which are alike.
    EXPECT_EQ(buttons[2].rc.Size(), buttons[3].rc.Size());
    EXPECT_EQ(buttons[1].rc.Width(), buttons[2].rc.Width());
    EXPECT_GT(buttons[0].rc.Width(), buttons[2].rc.Width());
}

TEST(TaskDialogLayout, CommandLinksStackAboveTheRow)
{
    CRecordingDialog dlg;
    dlg.SetMainInstruction(u"What next?");
    dlg.ModifyFlags(0, TDF_USE_COMMAND_LINKS);
    dlg.AddButton(u"&Record again\nStarts a new file in the same folder", 200);
    dlg.AddButton(u"&Play\nListens to what was recorded", 201);
    dlg.AddButton(u"&Open the folder", 202);
    dlg.SetCommonButtons(FALSE, FALSE, FALSE, TRUE);
    std::vector<CRect> links;
    std::vector<Placed> row;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       for (int i = 0; i < d.GetCommandLinkCount(); ++i)
                           links.push_back(ChildRect(d, d.GetCommandLink(i)->m_hWnd));
                       row = RowButtons(d);
                   },
                   [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, 201); }};
    EXPECT_EQ(dlg.DoModal(), 201);
    ASSERT_EQ(links.size(), 3u);
    for (size_t i = 1; i < links.size(); ++i)
    {
        EXPECT_EQ(links[i].left, links[0].left);
        EXPECT_EQ(links[i].Width(), links[0].Width());
        EXPECT_EQ(links[i].top, links[i - 1].bottom);
    }
    // A link with a note is taller than one without.
    EXPECT_GT(links[0].Height(), links[2].Height());
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].nID, IDCANCEL);
    EXPECT_GT(row[0].rc.top, links[2].bottom);
}

TEST(TaskDialogLayout, CommandLinksShowTheirArrowGlyphUnlessAskedNotTo)
{
    // The glyph's green, as the controls' resource draws it.
    const COLORREF kGlyphGreen = RGB(0x1E, 0x8C, 0x3C);
    auto greenPixels = [&](DWORD dwNoIconFlag) {
        CRecordingDialog dlg;
        dlg.SetMainInstruction(u"What next?");
        dlg.ModifyFlags(0, TDF_USE_COMMAND_LINKS | dwNoIconFlag);
        dlg.AddButton(u"&Record again\nStarts a new file in the same folder", 200);
        int nGreen = -1;
        dlg.m_steps = {[&](CRecordingDialog& d) {
            CWnd* pLink = d.GetCommandLink(0);
            CRect rc;
            pLink->GetClientRect(&rc);
            DibCanvas canvas(rc.Width(), rc.Height());
            pLink->SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc.m_hDC, PRF_CLIENT);
            nGreen = canvas.CountOf(kGlyphGreen);
            d.EndDialog(IDOK);
        }};
        dlg.DoModal();
        return nGreen;
    };
    // A 20-pixel arrow is a few dozen pixels of the colour, more at higher DPI.
    EXPECT_GT(greenPixels(0), 40);
    EXPECT_EQ(greenPixels(TDF_USE_COMMAND_LINKS_NO_ICON), 0);
}

TEST(TaskDialogLayout, AWidthInDialogUnitsIsTheClientWidth)
{
    CRecordingDialog dlg;
    dlg.SetContent(u"Short.");
    dlg.SetWidth(300);
    CRect rcClient;
    dlg.m_steps = {[&](CRecordingDialog& d) {
        d.GetClientRect(&rcClient);
        d.EndDialog(IDOK);
    }};
    dlg.DoModal();
    EXPECT_EQ(rcClient.Width(), ::MulDiv(300, LOWORD(::GetDialogBaseUnits()), 4));

    // A width past the screen is held to what the screen allows.
    CRecordingDialog huge;
    huge.SetWidth(0x7FFFFFFF);
    CRect rcHuge;
    int nMax = 0;
    huge.m_steps = {[&](CRecordingDialog& d) {
        d.GetClientRect(&rcHuge);
        nMax = d.GetMaxClientWidth();
        d.EndDialog(IDOK);
    }};
    huge.DoModal();
    EXPECT_EQ(rcHuge.Width(), nMax + 2 * CQVTTaskDialogClient::DluToPixelsX(5));
    EXPECT_LE(rcHuge.Width(), ::GetSystemMetrics(SM_CXSCREEN));

    // A long content widens the dialog beyond its minimum.
    CRecordingDialog wide;
    CString strLong;
    for (int i = 0; i < 40; ++i)
        strLong += _T("recording ");
    wide.SetContent(strLong);
    int nMin = 0;
    wide.m_steps = {[&](CRecordingDialog& d) {
        d.GetClientRect(&rcClient);
        nMin = d.GetMinClientWidth();
        d.EndDialog(IDOK);
    }};
    wide.DoModal();
    EXPECT_GT(rcClient.Width(), nMin + 2 * CQVTTaskDialogClient::DluToPixelsX(5));
}

TEST(TaskDialogLayout, ClassicAndThemedLooks)
{
    auto paint = [](BOOL bThemed, COLORREF* pTop, COLORREF* pSeparator, COLORREF* pBottom, int* pSeparatorY) {
        CRecordingDialog dlg;
        dlg.SetForceThemed(bThemed);
        dlg.SetMainInstruction(u"Title");
        dlg.SetContent(u"Content");
        dlg.SetFooter(u"Footer text");
        dlg.m_steps = {[&](CRecordingDialog& d) {
            CRect rc;
            d.GetClientRect(&rc);
            DibCanvas canvas(rc.Width(), rc.Height());
            d.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc.m_hDC, PRF_CLIENT);
            *pTop = canvas.At(rc.Width() - 3, 2);
            *pSeparatorY = d.GetButtonArea().top;
            *pSeparator = canvas.At(rc.Width() - 3, d.GetButtonArea().top);
            *pBottom = canvas.At(rc.Width() - 3, rc.Height() - 2);
            d.EndDialog(IDOK);
        }};
        dlg.DoModal();
        return dlg.IsThemed();
    };
    COLORREF clrTop, clrSeparator, clrBottom;
    int nSeparator;
    EXPECT_TRUE(paint(TRUE, &clrTop, &clrSeparator, &clrBottom, &nSeparator));
    EXPECT_EQ(clrTop, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(clrSeparator, CQVTColorManager::BlendColors(::GetSysColor(COLOR_3DFACE),
                                                          ::GetSysColor(COLOR_BTNSHADOW), 750));
    EXPECT_EQ(clrBottom, ::GetSysColor(COLOR_3DFACE));

    paint(FALSE, &clrTop, &clrSeparator, &clrBottom, &nSeparator);
    EXPECT_EQ(clrTop, ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(clrSeparator, ::GetSysColor(COLOR_3DFACE));
}

TEST(TaskDialogLayout, ExpandedInformationInTheFooterAreaStandsBelowTheFooter)
{
    struct Result
    {
        CRect rcExpanded, rcFooter, rcButtons;
        COLORREF clrBehindExpanded = 0, clrSeparator = 0;
        int nHeightExpanded = 0, nHeightCollapsed = 0;
    };
    auto run = [](BOOL bInFooter) {
        Result result;
        CRecordingDialog dlg;
        dlg.SetForceThemed(TRUE);
        dlg.SetMainInstruction(u"Recording stopped");
        dlg.SetContent(u"The device went away.");
        dlg.SetFooter(u"Footer");
        dlg.SetExpandedInformation(u"Device: line in");
        dlg.ModifyFlags(0, TDF_EXPANDED_BY_DEFAULT | (bInFooter ? TDF_EXPAND_FOOTER_AREA : 0));
        dlg.m_steps = {
            [&](CRecordingDialog& d) {
                result.rcExpanded = d.GetText(CQVTTaskDialogClient::textExpandedInformation).m_rcText;
                result.rcFooter = d.GetText(CQVTTaskDialogClient::textFooter).m_rcText;
                result.rcButtons = d.GetButtonArea();
                CRect rc;
                d.GetClientRect(&rc);
                result.nHeightExpanded = rc.Height();
                DibCanvas canvas(rc.Width(), rc.Height());
                d.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc.m_hDC, PRF_CLIENT);
                // Right of the short text, level with it.
                result.clrBehindExpanded = canvas.At(rc.Width() - 3, result.rcExpanded.CenterPoint().y);
                if (bInFooter)
                    result.clrSeparator = canvas.At(rc.Width() - 3, result.rcExpanded.top - d.GetMargin().cy);
                // The expando collapses the details: the dialog shrinks.
                CQVTButton* pExpando = d.GetExpandoButton();
                d.SendMessage(WM_COMMAND, MAKEWPARAM(pExpando->GetDlgCtrlID(), BN_CLICKED),
                              (LPARAM)pExpando->m_hWnd);
            },
            [&](CRecordingDialog& d) {
                CRect rc;
                d.GetClientRect(&rc);
                result.nHeightCollapsed = rc.Height();
                d.SendMessage(TDM_CLICK_BUTTON, IDOK);
            }};
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_FALSE(dlg.IsExpanded());
        return result;
    };

    Result footer = run(TRUE);
    ASSERT_FALSE(footer.rcExpanded.IsRectEmpty());
    EXPECT_GT(footer.rcExpanded.top, footer.rcFooter.bottom);
    EXPECT_GT(footer.rcExpanded.top, footer.rcButtons.bottom);
    EXPECT_EQ(footer.clrBehindExpanded, ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(footer.clrSeparator, CQVTColorManager::BlendColors(::GetSysColor(COLOR_3DFACE),
                                                                 ::GetSysColor(COLOR_BTNSHADOW), 750));
    EXPECT_LT(footer.nHeightCollapsed, footer.nHeightExpanded);

    // Without the flag the details stand under the content, on the header's background.
    Result content = run(FALSE);
    ASSERT_FALSE(content.rcExpanded.IsRectEmpty());
    EXPECT_LT(content.rcExpanded.bottom, content.rcButtons.top);
    EXPECT_EQ(content.clrBehindExpanded, ::GetSysColor(COLOR_WINDOW));
    EXPECT_LT(content.nHeightCollapsed, content.nHeightExpanded);
}

TEST(TaskDialogLayout, CommandLinksDrawTheirCaptionsInTheColoursOfTheirState)
{
    auto run = [](BOOL bThemed) {
        std::vector<int> counts;  // normal, hot (normal colour), hot, disabled
        // The pointer away from where the dialog comes up: no link starts hot.
        MouseMoveTo(CPoint(5, 5));
        CRecordingDialog dlg;
        dlg.SetForceThemed(bThemed);
        dlg.SetMainInstruction(u"What next?");
        dlg.ModifyFlags(0, TDF_USE_COMMAND_LINKS);
        dlg.AddButton(u"&Record again\nStarts a new file", 200);
        dlg.AddButton(u"&Play", 201);
        COLORREF clrNormal = bThemed ? 0x551C15 : ::GetSysColor(COLOR_BTNTEXT);
        COLORREF clrHot = bThemed ? 0xE54A00 : ::GetSysColor(COLOR_BTNTEXT);
        dlg.m_steps = {[&](CRecordingDialog& d) {
                           CQVTButton* pLink = d.GetCommandLink(0);
                           auto count = [&](COLORREF clr) {
                               CRect rc;
                               pLink->GetClientRect(&rc);
                               DibCanvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
                               pLink->SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc.m_hDC, PRF_CLIENT);
                               return canvas.CountOf(clr);
                           };
                           counts.push_back(count(clrNormal));
                           // Holding the capture makes it highlighted, as a press does.
                           pLink->SetCapture();
                           counts.push_back(count(clrNormal));
                           counts.push_back(count(clrHot));
                           ::ReleaseCapture();
                           d.SendMessage(TDM_ENABLE_BUTTON, 200, FALSE);
                           counts.push_back(count(::GetSysColor(COLOR_GRAYTEXT)));
                       },
                       [](CRecordingDialog& d) { d.SendMessage(TDM_CLICK_BUTTON, 201); }};
        EXPECT_EQ(dlg.DoModal(), 201);
        return counts;
    };
    std::vector<int> themed = run(TRUE);
    ASSERT_EQ(themed.size(), 4u);
    EXPECT_GT(themed[0], 10);
    EXPECT_EQ(themed[1], 0);
    EXPECT_GT(themed[2], 10);
    EXPECT_GT(themed[3], 10);

    // The classic look writes in the button text colour in every state.
    std::vector<int> classic = run(FALSE);
    ASSERT_EQ(classic.size(), 4u);
    EXPECT_GT(classic[0], 10);
    EXPECT_GT(classic[2], 10);
    EXPECT_GT(classic[3], 10);
}
