// Every button theme made by number, drawn into DIBs in the normal, hot,
// pushed, checked and disabled states: the fill and the frame each state
// takes, the caption colours and the marks.
#include "button_harness.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/controls/button/QVTButtonThemeOffice2013.h"
#include "toolkit/controls/button/QVTButtonThemeResource.h"
#include "toolkit/controls/button/QVTButtonThemeUltraFlat.h"
#include "toolkit/foundation/color/QVTColorManager.h"

namespace {

COLORREF ColorOf(int nIndex)
{
    return GetColorByIndex(nIndex);
}

enum class State
{
    Normal,
    Hot,
    Pushed,  // pushed while hot
    Checked,
    Disabled
};

// Puts a caption-less push button into the state, draws it, and puts it back.
struct Sample
{
    COLORREF fill;
    COLORREF frame;
};

Sample Draw(CQVTButton* pButton, State state)
{
    switch (state)
    {
    case State::Hot:
        pButton->SetCapture();
        break;
    case State::Pushed:
        pButton->SetCapture();
        pButton->SendMessage(BM_SETSTATE, TRUE);
        break;
    case State::Checked:
        pButton->SetChecked(TRUE);
        break;
    case State::Disabled:
        pButton->EnableWindow(FALSE);
        break;
    default:
        break;
    }
    ButtonPicture picture(pButton);
    Sample sample{picture.At(picture.Width() / 2, picture.Height() / 2), picture.At(0, picture.Height() / 2)};
    ::ReleaseCapture();
    pButton->SendMessage(BM_SETSTATE, FALSE);
    pButton->SetChecked(FALSE);
    pButton->EnableWindow(TRUE);
    return sample;
}

struct ThemeCase
{
    int nNumber;
    State state;
    COLORREF fill;
    COLORREF frame;
};

void ExpectLooks(const std::vector<ThemeCase>& cases)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 70, 34));
    for (const ThemeCase& c : cases)
    {
        pButton->SetTheme(c.nNumber);
        Sample sample = Draw(pButton, c.state);
        EXPECT_EQ(sample.fill, c.fill) << "theme " << c.nNumber << " state " << (int)c.state;
        EXPECT_EQ(sample.frame, c.frame) << "theme " << c.nNumber << " state " << (int)c.state;
    }
}

}  // namespace

TEST(ButtonThemes, NumbersMakeTheirThemes)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T("Go"), BS_PUSHBUTTON, CRect(10, 10, 70, 34));
    const int nKinds[][2] = {{0, 0},   {1, 1},   {2, 2},   {3, 3},   {4, 4},   {5, 5},
                             {6, 0},   {7, 7},   {8, 0},   {11, 0},  {12, 12}, {13, 14},
                             {14, 14}, {15, 15}, {16, 16}, {17, 17}, {18, 0},  {99, 0}};
    for (const auto& kind : nKinds)
    {
        EXPECT_TRUE(pButton->SetTheme(kind[0]));
        EXPECT_EQ(pButton->GetTheme()->GetThemeKind(), kind[1]) << kind[0];
        EXPECT_EQ(pButton->IsSystemLook() != FALSE, kind[0] == 0 || kind[0] == 6) << kind[0];
    }
    // 13 and 14 are the same dark theme; 15 the light one.
    pButton->SetTheme(13);
    EXPECT_TRUE(static_cast<CQVTButtonThemeVisualStudio2012*>(pButton->GetTheme())->IsDark());
    pButton->SetTheme(15);
    EXPECT_FALSE(static_cast<CQVTButtonThemeVisualStudio2012*>(pButton->GetTheme())->IsDark());
    // The private message sets a theme by number too.
    EXPECT_EQ(pButton->SendMessage(CQVTButton::WM_QVT_SETBUTTONTHEME, 12), 0);
    EXPECT_EQ(pButton->GetTheme()->GetThemeKind(), 12);

    // A theme object adopted: the system look follows its kind.
    pButton->SetThemeObject(new CQVTButtonTheme);
    EXPECT_TRUE(pButton->IsSystemLook());
    pButton->SetThemeObject(new CQVTButtonThemeFlat);
    EXPECT_FALSE(pButton->IsSystemLook());
    // Themes 2, 3 and 7 give the button text colour; the others their own.
    pButton->SetTheme(2);
    EXPECT_EQ(pButton->GetTextColor(), ::GetSysColor(COLOR_BTNTEXT));
    pButton->SetTheme(12);
    EXPECT_EQ(pButton->GetTextColor(), (COLORREF)-1);
}

TEST(ButtonThemes, FlatAndUltraFlatFamilies)
{
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE), clrShadow = ColorOf(COLOR_BTNSHADOW),
             clrWindow = ColorOf(COLOR_WINDOW);
    COLORREF clrHot = CQVTColorManager::BlendColors(clrFace, clrWindow, 30);
    COLORREF clrPushed = CQVTColorManager::BlendColors(clrShadow, clrFace, 50);
    ExpectLooks({
        {1, State::Normal, clrFace, ColorOf(COLOR_WINDOWFRAME)},
        {1, State::Hot, clrFace, ColorOf(COLOR_WINDOWFRAME)},
        {2, State::Normal, clrFace, clrShadow},
        {2, State::Hot, clrHot, clrShadow},
        {2, State::Pushed, clrPushed, clrShadow},
        {3, State::Normal, clrFace, ColorOf(COLOR_BTNHIGHLIGHT)},
        {3, State::Pushed, clrFace, clrShadow},
        {4, State::Normal, ColorOf(30), clrShadow},
        {4, State::Hot, ColorOf(31), ColorOf(32)},
        {4, State::Pushed, ColorOf(33), ColorOf(32)},
        {4, State::Checked, ColorOf(36), ColorOf(32)},
    });

    // Ultra-flat: a checked button has a shadow frame outside a light one.
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 70, 34));
    pButton->SetTheme(2);
    pButton->SetChecked(TRUE);
    ButtonPicture checked(pButton);
    EXPECT_EQ(checked.At(0, 10), clrShadow);
    COLORREF clrChecked = static_cast<CQVTButtonThemeUltraFlat*>(pButton->GetTheme())->m_crBackChecked;
    EXPECT_EQ(checked.At(30, 12), clrChecked);
    // 40 % window, 50 % colour 30, 10 % hot, each term rounded down.
    COLORREF c30 = ColorOf(30);
    EXPECT_EQ(GetRValue(clrChecked),
              GetRValue(clrWindow) * 40 / 100 + GetRValue(c30) * 50 / 100 + GetRValue(clrHot) * 10 / 100);
}

TEST(ButtonThemes, Office2003FollowsTheColourScheme)
{
    int nScheme = QVTColorManager()->GetCurrentSystemTheme();
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 70, 34));
    pButton->SetTheme(5);
    auto* pTheme = static_cast<CQVTButtonThemeOffice2003*>(pButton->GetTheme());
    EXPECT_EQ(pTheme->IsLunaTheme() != FALSE, nScheme != 0);
    Sample normal = Draw(pButton, State::Normal);
    Sample hot = Draw(pButton, State::Hot);
    if (nScheme == 0)
    {
        EXPECT_EQ(normal.fill, ColorOf(30));
        EXPECT_EQ(hot.fill, ColorOf(31));
        return;
    }
    COLORREF clrFace = nScheme == 2 ? 0x9FD4C5 : nScheme == 3 ? 0xD3C0C0 : 0xF0C7A9;
    COLORREF clrLight = nScheme == 2 ? 0x385D3F : nScheme == 3 ? 0x0B4B4B : 0x800000;
    EXPECT_EQ(normal.fill, clrFace);
    EXPECT_EQ(hot.frame, clrLight);
    EXPECT_EQ(pTheme->GetTextColor(pButton), RGB(0, 0, 0));
}

TEST(ButtonThemes, Office2013AndTheVisualStudioFamilies)
{
    ExpectLooks({
        {12, State::Normal, 0xFDFDFD, 0xABABAB},
        {12, State::Hot, 0xF2E1D5, 0xE3BDA3},
        {12, State::Pushed, 0xE3BDA3, 0x9A572B},
        {12, State::Checked, 0xF2E1D5, 0xE3BDA3},
        {12, State::Disabled, 0xFDFDFD, 0xE1E1E1},
        {13, State::Normal, 0x302D2D, 0x464343},
        {14, State::Hot, 0x201F1F, 0xCC7A00},
        {14, State::Pushed, 0xCC7A00, 0xCC7A00},
        {14, State::Disabled, 0x302D2D, 0x464343},
        {15, State::Normal, 0xF2EEEE, 0xDBCECC},
        {15, State::Hot, 0xF5DEC9, 0xCC7A00},
        {16, State::Normal, 0xF2EEEE, 0xDBCECC},
        {16, State::Pushed, 0xCC7A00, 0xCC7A00},
        {17, State::Hot, 0xF5DEC9, 0xCC7A00},
    });

    // A default button's hot face is half way between hot and pushed.
    CButtonParent parent;
    CQVTButton* pDefault = parent.Add(_T(""), BS_DEFPUSHBUTTON, CRect(10, 10, 70, 34));
    pDefault->SetTheme(12);
    EXPECT_EQ(Draw(pDefault, State::Hot).fill, CQVTColorManager::BlendColors(0xE3BDA3, 0xF2E1D5, 50));
    EXPECT_EQ(Draw(pDefault, State::Normal).frame, (COLORREF)0xE3BDA3);
    // An idle default Visual Studio 2012 button shows the hot face.
    pDefault->SetTheme(15);
    EXPECT_EQ(Draw(pDefault, State::Normal).fill, (COLORREF)0xF5DEC9);

    // Captions: the theme's text colours by state; none moves when pressed.
    CQVTButton* pButton = parent.Add(_T("Go"), BS_PUSHBUTTON, CRect(80, 10, 140, 34));
    pButton->SetTheme(14);
    ButtonPicture dark(pButton);
    CRect rcText = dark.BoundsOf(0xF1F1F1);
    EXPECT_FALSE(rcText.IsRectEmpty());
    pButton->SetCapture();
    pButton->SendMessage(BM_SETSTATE, TRUE);
    ButtonPicture pressed(pButton);
    EXPECT_EQ(pressed.BoundsOf(0xFFFFFF), rcText);
    ::ReleaseCapture();
    pButton->SendMessage(BM_SETSTATE, FALSE);
}

TEST(ButtonThemes, MarksOfTheFlatFamilies)
{
    CButtonParent parent;
    CQVTButton* pCheck = parent.Add(_T(""), BS_AUTOCHECKBOX, CRect(10, 10, 30, 30));
    CQVTButton* pRadio = parent.Add(_T(""), BS_AUTORADIOBUTTON, CRect(40, 10, 60, 30));

    // Ultra-flat: face and shadow frame; checked marks in the button text colour.
    pCheck->SetTheme(2);
    pCheck->SetCheck(BST_CHECKED);
    ButtonPicture check(pCheck);
    CRect rcFrame = check.BoundsOf(ColorOf(COLOR_BTNSHADOW));
    EXPECT_EQ(rcFrame.Size(), CSize(QVTDpiScaler()->ScaleX(13), QVTDpiScaler()->ScaleY(13)));
    EXPECT_GT(check.CountIn(rcFrame, ColorOf(COLOR_BTNTEXT)), 5);

    // Visual Studio 2012 uses those marks with its own mark colour.
    pCheck->SetTheme(14);
    ButtonPicture darkCheck(pCheck);
    EXPECT_GT(darkCheck.CountOf(0x999999), 5);

    // A disc: solid inside, its ring blended over the background outside.
    pRadio->SetTheme(12);
    ButtonPicture radio(pRadio);
    EXPECT_EQ(radio.At(6, 10), (COLORREF)0xFDFDFD);
    int nBlended = 0;
    for (int x = 0; x < 13; ++x)
    {
        COLORREF c = radio.At(x, 10);
        nBlended += c != 0xFDFDFD && c != 0xABABAB && c != RGB(1, 2, 3) && c != ::GetSysColor(COLOR_BTNFACE);
    }
    EXPECT_GT(nBlended, 0);
    pRadio->SetCheck(BST_CHECKED);
    EXPECT_EQ(ButtonPicture(pRadio).At(QVTDpiScaler()->ScaleX(13) / 2, 10), (COLORREF)0x8B8B8B);
}

TEST(ButtonThemes, ResourceThemeWithoutImagesDrawsTheStandardFrame)
{
    CButtonParent parent;
    CQVTButton* pButton = parent.Add(_T(""), BS_PUSHBUTTON, CRect(10, 10, 70, 34));
    pButton->SetTheme(7);
    ButtonPicture picture(pButton);
    EXPECT_EQ(picture.At(0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(picture.At(59, 23), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(pButton->GetTheme()->GetBorderGap(), 2);
}
