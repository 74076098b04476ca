// Task-dialog texts written in markup: drawn by the markup engine, their
// hyperlinks clicked with the real pointer reporting the hyperlink's target.
#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "taskdialog_harness.h"

TEST(TaskDialogMarkup, TextsRenderAsMarkupAndHyperlinksGiveTheirTarget)
{
    CRecordingDialog dlg;
    dlg.EnableMarkup(TRUE);
    dlg.SetMainInstruction(u"<TextBlock Foreground='#C00000'>Disk full</TextBlock>");
    dlg.SetContent(u"<TextBlock FontSize='16'>Read <Hyperlink Tag='https://example.org/space'>how to free "
                   u"space</Hyperlink> "
                   u"first.</TextBlock>");
    BOOL bElements = FALSE;
    int nRed = 0;
    POINT ptLink = {-1, -1};
    WinThread script;
    dlg.m_steps = {[&](CRecordingDialog& d) {
                       ::SetWindowPos(d.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                       bElements =
                           d.GetText(CQVTTaskDialogClient::textMainInstruction).m_pElement != nullptr &&
                           d.GetText(CQVTTaskDialogClient::textContent).m_pElement != nullptr;
                       CRect rc;
                       d.GetClientRect(&rc);
                       DibCanvas canvas(rc.Width(), rc.Height());
                       d.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.dc.m_hDC, PRF_CLIENT);
                       nRed = canvas.CountOf(RGB(0xC0, 0, 0));
                       // The hyperlink's ink: its own colour, in the content's rectangle.
                       CRect rcContent = d.GetText(CQVTTaskDialogClient::textContent).m_rcText;
                       for (int y = rcContent.top; y < rcContent.bottom && ptLink.x < 0; ++y)
                           for (int x = rcContent.left; x < rcContent.right && ptLink.x < 0; ++x)
                               if (canvas.At(x, y) == RGB(0, 150, 150))
                                   ptLink = CPoint(x + 3, y);
                       if (ptLink.x < 0)
                           return;
                       d.ClientToScreen(&ptLink);
                       script = WinThread([&] {
                           ScriptMouseMove(ptLink, 100);
                           ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
                           ScriptMouseButton(MOUSEEVENTF_LEFTUP);
                       });
                   },
                   // The click comes from the script's thread: closed once it
                   // has reached the dialog.
                   [](CRecordingDialog& d) {
                       if (d.m_links.empty())
                       {
                           d.RepeatStep();
                           return;
                       }
                       d.SendMessage(TDM_CLICK_BUTTON, IDOK);
                   }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    script.join();
    MouseMoveTo(CPoint(5, 5));
    EXPECT_TRUE(bElements);
    EXPECT_GT(nRed, 10);
    ASSERT_GE(ptLink.x, 0);
    ASSERT_EQ(dlg.m_links.size(), 1u);
    EXPECT_EQ(dlg.m_links[0], CString(_T("https://example.org/space")));
}
