// Button and tooltip looks drawn from a resource image set: the program
// carries a scheme INI and state images, as the Office 2007 schemes do.
#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/controls/button/button_harness.h"
#include "toolkit/controls/button/QVTButtonThemeResource.h"
#include "toolkit/controls/tooltip/QVTToolTipLooks.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

class ResourceThemeTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandle(nullptr), _T("RESOURCETHEME.INI")));
    }

    COLORREF Centre(CQVTButton* pButton)
    {
        ButtonPicture picture(pButton);
        return picture.At(picture.Width() / 2, picture.Height() / 2);
    }
};

namespace {

// The check box strip's colour of state i, as the image script writes it.
COLORREF StateColour(int i)
{
    return RGB(20 + 18 * i, 240 - 15 * i, 60 + 10 * i);
}

}  // namespace

TEST_F(ResourceThemeTest, PushButtonsTakeTheirStateFromTheStrip)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 90, 40));
    CQVTButton* pDefault = parent.Add(_T(""), BS_DEFPUSHBUTTON, CRect(100, 10, 180, 40));
    pButton->SetTheme(7);
    pDefault->SetTheme(7);

    EXPECT_EQ(Centre(pButton), RGB(200, 10, 10));
    ButtonPicture normal(pButton);
    EXPECT_EQ(normal.At(0, 0), RGB(100, 0, 0));  // the margins keep the frame
    EXPECT_EQ(Centre(pDefault), RGB(200, 200, 10));
    pButton->SetCapture();
    EXPECT_EQ(Centre(pButton), RGB(10, 200, 10));
    pButton->SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(Centre(pButton), RGB(10, 10, 200));
    ::ReleaseCapture();
    pButton->SendMessage(BM_SETSTATE, FALSE);
    // Checked and not hot reads as pressed.
    pButton->SetChecked(TRUE);
    EXPECT_EQ(Centre(pButton), RGB(10, 10, 200));
    pButton->SetChecked(FALSE);
    pButton->EnableWindow(FALSE);
    EXPECT_EQ(Centre(pButton), RGB(128, 128, 128));
}

TEST_F(ResourceThemeTest, MarksAndGroupBoxesOfTheScheme)
{
    CButtonParent parent;
    CQVTButton* pCheck = parent.Add(_T(""), BS_AUTO3STATE, CRect(10, 10, 30, 30));
    CQVTButton* pRadio = parent.Add(_T(""), BS_AUTORADIOBUTTON, CRect(40, 10, 60, 30));
    CQVTButton* pGroup = parent.Add(_T(""), BS_GROUPBOX, CRect(10, 40, 110, 100));
    for (CQVTButton* p : {pCheck, pRadio, pGroup})
        p->SetTheme(7);

    auto mark = [](CQVTButton* p) { return ButtonPicture(p).At(6, 10); };
    EXPECT_EQ(mark(pCheck), StateColour(0));
    pCheck->SetCheck(BST_CHECKED);
    EXPECT_EQ(mark(pCheck), StateColour(4));
    pCheck->SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(mark(pCheck), StateColour(8));
    pCheck->SetCapture();
    EXPECT_EQ(mark(pCheck), StateColour(9));
    ::ReleaseCapture();
    pCheck->EnableWindow(FALSE);
    EXPECT_EQ(mark(pCheck), StateColour(11));

    pRadio->SetCheck(BST_CHECKED);
    EXPECT_EQ(mark(pRadio), StateColour(4));

    // The scheme's group box frame colour.
    ButtonPicture group(pGroup);
    EXPECT_EQ(group.At(0, 30), RGB(10, 200, 30));
}

TEST_F(ResourceThemeTest, Office2013ReadsItsColoursFromTheScheme)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T("Go"), BS_PUSHBUTTON, CRect(10, 10, 90, 40));
    pButton->SetTheme(12);
    ButtonPicture picture(pButton);
    EXPECT_EQ(picture.At(3, 3), RGB(1, 2, 200));
    EXPECT_EQ(picture.At(0, 15), RGB(5, 6, 160));
    EXPECT_GT(picture.CountOf(RGB(40, 50, 60)), 5);
    // Keys the scheme leaves out keep their defaults.
    pButton->SendMessage(BM_SETSTATE, TRUE);
    pButton->SetCapture();
    EXPECT_EQ(Centre(pButton), (COLORREF)0xE3BDA3);
    ::ReleaseCapture();
    pButton->SendMessage(BM_SETSTATE, FALSE);
}

TEST_F(ResourceThemeTest, OfficeTooltipsTakeTheSchemesGradientAndFrame)
{
    CQVTToolTipContext* pContext = new CQVTToolTipContext;
    {
        CQVTToolTipContext::COfficeToolTip tip(pContext);
        DibCanvas canvas(60, 40, RGB(1, 2, 3));
        tip.DrawBackground(&canvas.dc, nullptr, CRect(0, 0, 60, 40));
        EXPECT_EQ(canvas.At(30, 0), RGB(30, 160, 60));
        EXPECT_EQ(canvas.At(0, 20), RGB(30, 160, 60));
        EXPECT_TRUE(NearColor(canvas.At(30, 1), RGB(250, 240, 230), 4));
        EXPECT_TRUE(NearColor(canvas.At(30, 38), RGB(200, 220, 240), 4));
    }
    pContext->InternalRelease();
}
