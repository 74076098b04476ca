// The toolkit's button with the standard theme, drawn into DIBs and on the
// screen: frames and their reversal when pressed, marks, group boxes, images
// by state, hot tracking under the real pointer, and no painting by the
// system when the pushed state changes.
#include "button_harness.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/controls/QVTControlsResource.h"
#include "toolkit/controls/button/QVTButtonTheme.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

namespace {

// The standard theme without the visual style: classic frames.
const int kClassicStandard = 8;

COLORREF Sys(int nIndex)
{
    return ::GetSysColor(nIndex);
}

// Lengths of the 96-DPI design on this screen (the program also runs at 144).
int Px(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}

int Py(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}

}  // namespace

TEST(Button, RunsAtTheDpiOfItsPrefix)
{
    const char* pszDpi = std::getenv("SONDREL_EXPECTED_DPI");
    EXPECT_EQ(pszDpi ? atoi(pszDpi) : 96, QVTDpiScaler()->GetDpiX());
}

TEST(Button, ClassicFramesReverseWhenPressedAndTheCaptionMoves)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T("Record"), BS_PUSHBUTTON, CRect(10, 10, 110, 40));
    ASSERT_TRUE(pButton);
    pButton->SetTheme(kClassicStandard);
    EXPECT_FALSE(pButton->IsSystemLook());

    ButtonPicture up(pButton);
    int w = up.Width(), h = up.Height();
    EXPECT_EQ(up.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(up.At(w - 1, h - 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(up.At(1, 1), Sys(COLOR_BTNFACE));
    EXPECT_EQ(up.At(w - 2, h - 2), Sys(COLOR_BTNSHADOW));
    CRect rcTextUp = up.BoundsOf(Sys(COLOR_BTNTEXT));
    ASSERT_FALSE(rcTextUp.IsRectEmpty());
    // The caption is centred.
    EXPECT_LE(abs((rcTextUp.left + rcTextUp.right) - w), 4);

    pButton->SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(pButton->GetPushedState(), 1u);
    ButtonPicture down(pButton);
    EXPECT_EQ(down.At(0, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(down.At(w - 1, h - 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(down.At(1, 1), Sys(COLOR_BTNSHADOW));
    CRect rcTextDown = down.BoundsOf(Sys(COLOR_BTNTEXT));
    EXPECT_EQ(rcTextDown.TopLeft(), rcTextUp.TopLeft() + CSize(Px(1), Py(1)));
    pButton->SendMessage(BM_SETSTATE, FALSE);

    // The default button has a dark frame of its own outside the others.
    CQVTButton* pDefault = parent.Add(_T("OK"), BS_DEFPUSHBUTTON, CRect(120, 10, 220, 40), IDOK);
    pDefault->SetTheme(kClassicStandard);
    ButtonPicture def(pDefault);
    EXPECT_EQ(def.At(0, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(def.At(1, 1), Sys(COLOR_BTNHIGHLIGHT));

    // Disabled: the caption in the disabled colour.
    pButton->EnableWindow(FALSE);
    ButtonPicture disabled(pButton);
    EXPECT_EQ(disabled.CountOf(Sys(COLOR_BTNTEXT)), 0);
    EXPECT_GT(disabled.CountOf(Sys(COLOR_GRAYTEXT)), 10);
}

TEST(Button, TheSystemDoesNotPaintWhenThePushedStateChanges)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 110, 40));
    pButton->SetTheme(12);  // flat: a system frame would stand out
    pButton->UpdateWindow();
    PumpMessages(50);
    CClientDC dc(pButton);
    COLORREF clrCorner = dc.GetPixel(0, 0), clrInside = dc.GetPixel(20, 15);
    ASSERT_EQ(clrCorner, (COLORREF)0xABABAB);

    // Straight after the message, before any paint message: nothing drawn.
    pButton->SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(dc.GetPixel(0, 0), clrCorner);
    EXPECT_EQ(dc.GetPixel(20, 15), clrInside);
    EXPECT_TRUE(pButton->GetUpdateRect(nullptr));
    // Then the theme paints the pushed look.
    pButton->UpdateWindow();
    EXPECT_EQ(dc.GetPixel(20, 15), (COLORREF)0xF2E1D5);  // pushed, not hot: drawn hot

    // The caption changes without the system's painting either.
    pButton->SendMessage(BM_SETSTATE, FALSE);
    pButton->UpdateWindow();
    pButton->SetWindowText(_T("Stop"));
    EXPECT_EQ(dc.GetPixel(20, 15), clrInside);
    EXPECT_EQ(pButton->GetButtonText(), CString(_T("Stop")));
}

TEST(Button, HotTrackingEndsWhenThePointerLeaves)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T("Play"), BS_PUSHBUTTON, CRect(10, 10, 110, 40));
    pButton->SetTheme(12);
    parent.SetForegroundWindow();
    parent.Raise();
    MouseMoveTo(CPoint(5, 5));

    MouseMoveTo(WindowCentre(pButton->m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return pButton->IsHot() != FALSE; }));
    EXPECT_EQ(ButtonPicture(pButton).At(3, 3), (COLORREF)0xF2E1D5);

    // One jump far away: no move over the button reports it, the leave notice does.
    MouseMoveTo(CPoint(5, 5));
    EXPECT_TRUE(PumpUntil([&] { return pButton->IsHot() == FALSE; }));
    EXPECT_EQ(ButtonPicture(pButton).At(3, 3), (COLORREF)0xFDFDFD);
}

TEST(Button, CheckBoxesRadiosAndPushLikeBoxes)
{
    CButtonParent parent;
    CQVTButton* pCheck = parent.Add(_T("Split"), BS_AUTOCHECKBOX, CRect(10, 10, 150, 30), 101);
    CQVTButton* pThree = parent.Add(_T("Mixed"), BS_AUTO3STATE, CRect(10, 40, 150, 60), 102);
    CQVTButton* pRadio = parent.Add(_T("Loop"), BS_AUTORADIOBUTTON, CRect(10, 70, 150, 90), 103);
    CQVTButton* pLike = parent.Add(_T("Pause"), BS_AUTOCHECKBOX | BS_PUSHLIKE, CRect(160, 10, 260, 40), 104);
    for (CQVTButton* p : {pCheck, pThree, pRadio})
        p->SetTheme(12);
    pLike->SetTheme(kClassicStandard);

    // The mark at the left edge, centred vertically, 13 pixels square.
    ButtonPicture unchecked(pCheck);
    CRect rcFrame = unchecked.BoundsOf(0xABABAB);
    EXPECT_EQ(rcFrame.left, 0);
    EXPECT_EQ(rcFrame.Size(), CSize(Px(13), Py(13)));
    EXPECT_EQ(rcFrame.top, (20 - Py(13)) / 2);
    EXPECT_EQ(unchecked.CountIn(rcFrame, 0x8B8B8B), 0);
    // The caption right of the mark, in the check-box text colour.
    CRect rcText = unchecked.BoundsOf(0x444444);
    EXPECT_GE(rcText.left, Px(13) + Px(3));

    pCheck->SetCheck(BST_CHECKED);
    EXPECT_TRUE(pCheck->GetChecked());
    ButtonPicture checked(pCheck);
    EXPECT_GT(checked.CountIn(rcFrame, 0x8B8B8B), 5);

    // Indeterminate: a filled square inside the frame.
    pThree->SetCheck(BST_INDETERMINATE);
    ButtonPicture mixed(pThree);
    EXPECT_EQ(mixed.At(6, 10), (COLORREF)0x8B8B8B);
    EXPECT_EQ(mixed.At(2, 10), (COLORREF)0xFDFDFD);

    // A radio button: a disc, with a dot when checked.
    ButtonPicture off(pRadio);
    EXPECT_EQ(off.At(6, 10), (COLORREF)0xFDFDFD);
    EXPECT_NE(off.At(0, 0), (COLORREF)0xFDFDFD);
    pRadio->SetCheck(BST_CHECKED);
    ButtonPicture on(pRadio);
    EXPECT_EQ(on.At(Px(13) / 2, 10), (COLORREF)0x8B8B8B);

    // A push-like check box is a push button that keeps its state.
    EXPECT_TRUE(pLike->IsPushButton());
    ButtonPicture likeUp(pLike);
    EXPECT_EQ(likeUp.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    pLike->SetCheck(BST_CHECKED);
    EXPECT_TRUE(pLike->GetChecked());
    ButtonPicture likeDown(pLike);
    EXPECT_EQ(likeDown.At(0, 0), Sys(COLOR_3DDKSHADOW));

    // Alignment defaults: push-like centred, others left, both vertically centred.
    EXPECT_EQ(pLike->GetTextAlignment(), (DWORD)(BS_CENTER | BS_VCENTER));
    EXPECT_EQ(pCheck->GetTextAlignment(), (DWORD)(BS_LEFT | BS_VCENTER));
}

TEST(Button, GroupBoxesRunTheirFrameThroughTheCaption)
{
    CButtonParent parent;
    CQVTButton* pGroup = parent.Add(_T("Input"), BS_GROUPBOX, CRect(10, 10, 200, 100));
    pGroup->SetTheme(12);
    ButtonPicture picture(pGroup);
    CRect rcFrame = picture.BoundsOf(0xABABAB);
    CRect rcText = picture.BoundsOf(0x444444);
    ASSERT_FALSE(rcText.IsRectEmpty());
    EXPECT_EQ(rcFrame.left, 0);
    EXPECT_EQ(rcFrame.right, 190);
    EXPECT_EQ(rcFrame.bottom, 90);
    // The top line runs at the middle of the text height, and not under the caption.
    EXPECT_GT(rcFrame.top, 0);
    EXPECT_LT(rcFrame.top, rcText.bottom);
    EXPECT_EQ(picture.CountIn(CRect(rcText.left, rcFrame.top, rcText.right, rcFrame.top + 1), 0xABABAB), 0);
    EXPECT_EQ(picture.At(2, rcFrame.top), (COLORREF)0xABABAB);
    EXPECT_EQ(picture.At(rcText.right + 6, rcFrame.top), (COLORREF)0xABABAB);
}

TEST(Button, ImagesFollowTheButtonsState)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 50, 40));
    pButton->SetTheme(12);
    pButton->SetDpiScaling(FALSE);
    ASSERT_TRUE(pButton->SetIcon(CSize(16, 16), QVT_IDI_TASKDIALOG_ERROR, QVT_IDI_TASKDIALOG_INFORMATION));
    EXPECT_EQ(pButton->GetImageSize(), CSize(16, 16));
    const COLORREF clrRed = RGB(206, 38, 38), clrBlue = RGB(38, 100, 200);

    auto count = [&](COLORREF clr) {
        ButtonPicture picture(pButton);
        int n = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                n += NearColor(picture.At(x, y), clr, 12);
        return n;
    };
    EXPECT_GT(count(clrRed), 20);
    EXPECT_EQ(count(clrBlue), 0);

    // Hot: the pointer over it.
    parent.SetForegroundWindow();
    parent.Raise();
    MouseMoveTo(WindowCentre(pButton->m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return pButton->IsHot() != FALSE; }));
    EXPECT_GT(count(clrBlue), 20);
    EXPECT_EQ(count(clrRed), 0);
    MouseMoveTo(CPoint(5, 5));
    PumpUntil([&] { return pButton->IsHot() == FALSE; });

    // Disabled: the derived grey image.
    pButton->EnableWindow(FALSE);
    EXPECT_EQ(count(clrRed), 0);
    pButton->EnableWindow(TRUE);

    // An image that cannot be loaded keeps the old one.
    CQVTImageManagerIcon* pBefore = pButton->GetIcon();
    EXPECT_FALSE(pButton->SetIcon(CSize(16, 16), 4242u));
    EXPECT_EQ(pButton->GetIcon(), pBefore);
    EXPECT_FALSE(pButton->SetIcon(CSize(16, 16), QVT_IDI_TASKDIALOG_ERROR, 4242));
    EXPECT_EQ(pButton->GetIcon(), pBefore);

    // Beside a caption, the image stands left of the text.
    pButton->SetWindowText(_T("Go"));
    pButton->MoveWindow(10, 10, 120, 30);
    ButtonPicture both(pButton);
    CRect rcText = both.BoundsOf(0x444444);
    int nRedRight = 0;
    for (int y = 0; y < both.Height(); ++y)
        for (int x = 0; x < both.Width(); ++x)
            if (NearColor(both.At(x, y), clrRed, 12))
                nRedRight = std::max(nRedRight, x + 1);
    EXPECT_GT(nRedRight, 0);
    // The icon's own edge is transparent: the gap shows a few pixels wider.
    EXPECT_GE(rcText.left - nRedRight, pButton->GetImageGap());
    EXPECT_LE(rcText.left - nRedRight, pButton->GetImageGap() + 4);
}

TEST(Button, BitmapsWithoutAlphaLoseTheirMaskColourAndAlphaBitmapsKeepTheirs)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 110, 50));
    pButton->SetTheme(12);
    pButton->SetDpiScaling(FALSE);

    // The nine-grid's top-left pixel is red: that part goes, the others show.
    ASSERT_TRUE(pButton->SetBitmap(CSize(0, 0), 4301));
    EXPECT_EQ(pButton->GetImageSize(), CSize(30, 30));
    {
        ButtonPicture picture(pButton);
        EXPECT_EQ(picture.CountOf(RGB(255, 0, 0)), 0);
        EXPECT_EQ(picture.CountOf(RGB(0, 255, 0)), 100);
        EXPECT_EQ(picture.CountOf(RGB(0, 0, 128)), 100);
        // Centred: the grid's middle part in the middle of the button.
        EXPECT_EQ(picture.At(50, 20), RGB(255, 255, 255));
    }

    // Straight alpha: the first column of each frame is clear, the rest solid.
    ASSERT_TRUE(pButton->SetBitmap(CSize(0, 0), 4302));
    EXPECT_EQ(pButton->GetImageSize(), CSize(64, 16));
    {
        ButtonPicture picture(pButton);
        EXPECT_EQ(picture.CountOf(RGB(255, 0, 0)), 14 * 16);
        EXPECT_EQ(picture.CountOf(RGB(0, 255, 0)), 14 * 16);
        CRect rcRed = picture.BoundsOf(RGB(255, 0, 0));
        EXPECT_EQ(picture.At(rcRed.left - 2, rcRed.top), (COLORREF)0xFDFDFD);
    }

    // A bitmap the program lacks keeps the one before.
    CQVTImageManagerIcon* pBefore = pButton->GetIcon();
    EXPECT_FALSE(pButton->SetBitmap(CSize(0, 0), 4399));
    EXPECT_EQ(pButton->GetIcon(), pBefore);
}

TEST(Button, NativeLookFollowsTheSystemsVisualStyle)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 110, 40));
    EXPECT_TRUE(pButton->IsSystemLook());
    ButtonPicture standard(pButton);
    pButton->SetTheme(kClassicStandard);
    ButtonPicture classic(pButton);
    BOOL bNative = pButton->GetTheme()->IsNativeUse(pButton);
    EXPECT_FALSE(bNative);
    pButton->SetTheme(6);
    EXPECT_TRUE(pButton->IsSystemLook());
    bNative = pButton->GetTheme()->IsNativeUse(pButton);
    EXPECT_EQ(bNative != FALSE, VisualStylesExpected());
    // With the visual style the system draws the face; without it the
    // classic frame stands.
    bool bSame = standard.At(0, 0) == classic.At(0, 0) && standard.At(50, 15) == classic.At(50, 15) &&
                 standard.At(99, 29) == classic.At(99, 29);
    EXPECT_EQ(bSame, !VisualStylesExpected());
}

TEST(Button, TooltipsAndParentNotices)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T("Record"), BS_PUSHBUTTON, CRect(10, 10, 110, 40), 222);
    pButton->SetTooltip(_T("Start recording"));
    pButton->GetToolTipContext()->SetDelayTime(TTDT_INITIAL, 100);
    // The tip needs this application in the foreground, which tests running
    // beside this one may take: enter the button again until it shows.
    bool bShown = false;
    for (int nTry = 0; nTry < 3 && !bShown; ++nTry)
    {
        MouseMoveTo(CPoint(5, 5));
        PumpMessages(300);
        parent.SetForegroundWindow();
        parent.Raise();
        MouseMoveTo(WindowCentre(pButton->m_hWnd));
        bShown = PumpUntil(
            [&] {
                CWnd* pTip = pButton->GetToolTipContext()->GetToolTip();
                return pTip && ::IsWindowVisible(pTip->m_hWnd);
            },
            2000);
    }
    EXPECT_TRUE(bShown);
    MouseMoveTo(CPoint(5, 5));
    PumpMessages(100);

    // Outside the inner area there is no tool.
    TOOLINFO ti = {};
    ti.cbSize = CQVTToolTipContext::hitSize;
    EXPECT_EQ(pButton->OnToolHitTest(CPoint(1, 1), &ti), -1);
    EXPECT_EQ(pButton->OnToolHitTest(CPoint(50, 15), &ti), 1);
    CQVTToolTipContext::FreeToolInfo(reinterpret_cast<QVT_TOOLTIPHITINFO*>(&ti));

    parent.m_commands.clear();
    pButton->NotifyParent();
    ASSERT_EQ(parent.m_commands.size(), 1u);
    EXPECT_EQ(parent.m_commands[0].first, (UINT)MAKEWPARAM(222, CQVTButton::notifyCode));
    EXPECT_EQ(parent.m_commands[0].second, pButton->m_hWnd);
}

TEST(Button, MarkupCaptionsAreRebuiltWithTheTextAndFallBackToPlain)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T("<TextBlock Foreground='#0000FF'>Rec</TextBlock>"), BS_PUSHBUTTON,
                                     CRect(10, 10, 110, 40));
    pButton->SetTheme(12);
    EXPECT_EQ(pButton->GetMarkupElement(), nullptr);
    pButton->EnableMarkup(TRUE);
    ASSERT_TRUE(pButton->GetMarkupContext());
    ASSERT_TRUE(pButton->GetMarkupElement());
    {
        ButtonPicture picture(pButton);
        EXPECT_GT(picture.CountOf(RGB(0, 0, 255)), 5);
        EXPECT_EQ(picture.CountOf(0x444444), 0);
    }
    // A new caption builds a new element.
    pButton->SetWindowText(_T("<TextBlock Foreground='#00FF00'>Stop</TextBlock>"));
    EXPECT_NE(pButton->GetMarkupElement(), nullptr);
    EXPECT_EQ(ButtonPicture(pButton).CountOf(RGB(0, 0, 255)), 0);
    EXPECT_GT(ButtonPicture(pButton).CountOf(RGB(0, 255, 0)), 5);

    // Text that is not markup leaves no element: the theme draws it plain.
    pButton->SetWindowText(_T("Play"));
    EXPECT_EQ(pButton->GetMarkupElement(), nullptr);
    EXPECT_GT(ButtonPicture(pButton).CountOf(0x444444), 5);

    pButton->EnableMarkup(FALSE);
    EXPECT_EQ(pButton->GetMarkupContext(), nullptr);
}
