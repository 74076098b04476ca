// The flat theme's faces drawn into DIBs: each state's colours on a control
// face without keys and with the test INI ("-1" skips, two numbers give
// black, channels never spill), captions enabled and disabled in it and the
// other flat themes, custom colours across a refresh, the colour table it
// fills, check-box marks and combo boxes by state, the ticks it shares with
// Office XP's, and the pure red of separators on bars no colour set covers.
#include <afxwin.h>

#include <algorithm>
#include <set>
#include <utility>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/themes/office2013/office2013_support.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

using Office2013Test::TestIni;
using Office2013Test::Theme;

const COLORREF kFacesBack = RGB(1, 2, 3);
const CRect kFacesRect(5, 5, 55, 35);

struct FaceCase
{
    const char* pszName;
    int nSelected, nPressed, nEnabled, nChecked, nPopuped;
    COLORREF clrBorder;  // kFacesBack: nothing drawn
    COLORREF clrFill;
};

void ExpectFace(const FaceCase& c, int barType)
{
    SCOPED_TRACE(::testing::Message() << c.pszName << " on bar type " << barType);
    DibCanvas canvas(60, 40, kFacesBack);
    Theme()->DrawRectangle(&canvas.dc, kFacesRect, c.nSelected, c.nPressed, c.nEnabled, c.nChecked,
                           c.nPopuped, barType, barType == qvtBarTypePopup ? qvtBarPopup : qvtBarTop);
    EXPECT_EQ(c.clrBorder, canvas.At(kFacesRect.left, kFacesRect.top));
    EXPECT_EQ(c.clrBorder, canvas.At(kFacesRect.right - 1, kFacesRect.bottom - 1));
    EXPECT_EQ(c.clrFill, canvas.At(30, 20));
}

}  // namespace

TEST(Office2013Faces, EachStateShowsItsDefaultColoursOnEveryBar)
{
    Office2013Test::UseTheme();
    const COLORREF hot = RGB(213, 225, 242), pushed = RGB(163, 189, 227), checked = RGB(194, 213, 242);
    const COLORREF white = RGB(255, 255, 255), disabled = RGB(238, 238, 238);
    const FaceCase common[] = {
        {"idle", 0, 0, 1, 0, 0, kFacesBack, kFacesBack},
        {"hot", 1, 0, 1, 0, 0, hot, hot},
        {"pressed off the control", 0, 1, 1, 0, 0, hot, hot},
        {"pushed", 1, 1, 1, 0, 0, pushed, pushed},
        {"pressed by the keyboard", 0, 2, 1, 0, 0, pushed, pushed},
        {"checked", 0, 0, 1, 1, 0, checked, checked},
        {"indeterminate", 0, 0, 1, 2, 0, checked, white},
        {"checked and pushed", 1, 1, 1, 1, 0, pushed, pushed},
        {"disabled", 1, 0, 0, 0, 0, kFacesBack, kFacesBack},
        {"disabled and checked", 0, 0, 0, 1, 0, disabled, disabled},
        {"disabled, checked, keyboard-selected", 2, 0, 0, 1, 0, kFacesBack, kFacesBack},
    };
    for (int barType : {qvtBarTypeNormal, qvtBarTypeMenuBar, qvtBarTypePopup, qvtBarTypeRibbon})
        for (const FaceCase& c : common)
            ExpectFace(c, barType);

    // The checked hot cell differs by set: the menu's stays the checked blue.
    ExpectFace({"checked and hot", 1, 0, 1, 1, 0, pushed, hot}, qvtBarTypeNormal);
    ExpectFace({"checked and hot", 1, 0, 1, 1, 0, pushed, hot}, qvtBarTypeRibbon);
    ExpectFace({"checked and hot", 1, 0, 1, 1, 0, checked, checked}, qvtBarTypePopup);
    // An open popup: the menu's own colours on a toolbar, the checked ones elsewhere.
    ExpectFace({"popup open", 1, 0, 1, 0, 1, RGB(212, 212, 212), white}, qvtBarTypeNormal);
    ExpectFace({"popup open", 1, 0, 1, 0, 1, checked, checked}, qvtBarTypeMenuBar);

    // A disabled control shows only under the keyboard: a frame, and the fill
    // two pixels inside it.
    for (int nSelected : {2, 3})
    {
        DibCanvas canvas(60, 40, kFacesBack);
        Theme()->DrawRectangle(&canvas.dc, kFacesRect, nSelected, 0, FALSE, 0, FALSE, qvtBarTypeNormal,
                               qvtBarTop);
        EXPECT_EQ(RGB(192, 193, 194), canvas.At(kFacesRect.left, 20));
        EXPECT_EQ(kFacesBack, canvas.At(kFacesRect.left + 1, 20));
        EXPECT_EQ(disabled, canvas.At(kFacesRect.left + 2, 20));
        EXPECT_EQ(disabled, canvas.At(30, 20));
    }
}

// A button's caption drawn on each kind of bar by the flat themes: enabled
// in the text colour, disabled in the disabled one and never in the other.
TEST(Office2013Faces, CaptionsTakeTheDisabledTextColourOnEveryBarOfEachFlatTheme)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    const COLORREF kSystemGrey = CQVTPaintManagerColor::noColor;
    const struct
    {
        int nTheme;
        COLORREF clrText, clrDisabled;
        COLORREF clrBack;  // no edge of a grey caption blends into the text colour over it
    } themes[] = {
        {qvtThemeOffice2013, RGB(68, 68, 68), RGB(177, 177, 177), RGB(255, 255, 255)},
        {qvtThemeVisualStudio2015, RGB(68, 68, 68), RGB(177, 177, 177), RGB(255, 255, 255)},
        {qvtThemeNativeWindows10, RGB(68, 68, 68), RGB(177, 177, 177), RGB(255, 255, 255)},
        // Their disabled text is a grey of the system's colours.
        {qvtThemeVisualStudio2012Light, RGB(30, 30, 30), kSystemGrey, RGB(255, 255, 255)},
        {qvtThemeVisualStudio2012Dark, RGB(241, 241, 241), kSystemGrey, RGB(0, 0, 0)},
    };
    CTestBar* pBar = new CTestBar();
    CQVTControl* pButton = pBar->GetControls()->AddByType(qvtControlButton, 40800);
    pButton->SetCaption(_T("Record"));
    pButton->SetStyle(qvtButtonCaption);
    for (const auto& theme : themes)
    {
        CQVTPaintManager::SetTheme(theme.nTheme);
        for (int barType : {qvtBarTypeNormal, qvtBarTypeMenuBar, qvtBarTypePopup})
        {
            pBar->SetType(barType);
            pBar->SetPosition(barType == qvtBarTypePopup ? qvtBarPopup : qvtBarTop);
            for (BOOL bEnabled : {TRUE, FALSE})
            {
                SCOPED_TRACE(::testing::Message() << "theme " << theme.nTheme << ", bar type " << barType
                                                  << (bEnabled ? ", enabled" : ", disabled"));
                pButton->SetEnabled(bEnabled);
                DibCanvas canvas(200, 60, theme.clrBack);
                pButton->SetRect(
                    CRect(CPoint(0, 0), QVTPaintManager()->DrawControl(&canvas.dc, pButton, FALSE)));
                QVTPaintManager()->DrawControl(&canvas.dc, pButton, TRUE);
                const int nText = canvas.CountOf(theme.clrText);
                EXPECT_TRUE(bEnabled ? nText > 5 : nText == 0) << nText << " pixels of the text colour";
                if (theme.clrDisabled != kSystemGrey)
                {
                    const int nDisabled = canvas.CountOf(theme.clrDisabled);
                    EXPECT_TRUE(bEnabled ? nDisabled == 0 : nDisabled > 5)
                        << nDisabled << " pixels of the disabled colour";
                }
            }
        }
    }
    pBar->InternalRelease();
    Office2013Test::UseTheme();
}

TEST(Office2013Faces, KeysOfTheIniGiveNoColourBlackOrTheirOwnChannels)
{
    TestIni ini;
    Office2013Test::UseTheme();
    CQVTColorSetStateToolbar& tb = Theme()->m_csToolbar;
    EXPECT_EQ(COLORREF(0xFFFFFFFF), tb.m_clrButtonBackHighlight.GetValue()) << "\"-1\"";
    EXPECT_EQ(RGB(0, 0, 0), tb.m_clrButtonBackPushed.GetValue()) << "two numbers";
    EXPECT_EQ(RGB(0, 0, 0), tb.m_clrButtonBorderChecked.GetValue()) << "four numbers";
    EXPECT_EQ(RGB(0, 0, 0), tb.m_clrButtonText.GetValue()) << "a word";
    EXPECT_EQ(RGB(300 & 255, 255, 20), tb.m_clrButtonBackChecked.GetValue()) << "channels stay in place";
    EXPECT_EQ(RGB(255, 255, 255), Theme()->m_clrBack.GetValue()) << "an empty value takes the default";
    EXPECT_EQ(RGB(163, 189, 227), tb.m_clrButtonBorderPushed.GetValue()) << "a missing key takes the default";
    EXPECT_EQ(RGB(163, 189, 227), Theme()->m_csRibbon.m_clrButtonBackPushed.GetValue())
        << "keys belong to their section";

    // The hot face keeps what lies under it and shows only its frame.
    DibCanvas canvas(60, 40, kFacesBack);
    Theme()->DrawRectangle(&canvas.dc, kFacesRect, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypeNormal,
                           qvtBarTop);
    EXPECT_EQ(RGB(10, 20, 30), canvas.At(kFacesRect.left, 20));
    EXPECT_EQ(kFacesBack, canvas.At(30, 20));
    canvas.Clear(kFacesBack);
    Theme()->DrawRectangle(&canvas.dc, kFacesRect, TRUE, TRUE, TRUE, FALSE, FALSE, qvtBarTypeNormal,
                           qvtBarTop);
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(30, 20));

    // The colour table follows the sets.
    EXPECT_EQ(RGB(11, 22, 33), QVTPaintManager()->GetColor(5));
    EXPECT_EQ(RGB(200, 0, 0), QVTPaintManager()->GetColor(38));
    EXPECT_EQ(RGB(0, 0, 200), QVTPaintManager()->GetColor(39));
    EXPECT_EQ(RGB(250, 240, 230), QVTPaintManager()->GetColor(41));
    EXPECT_EQ(RGB(163, 189, 227), QVTPaintManager()->GetColor(50));

    // Edits and combo fields write in the INI's edit colours.
    CQVTControlComboBox* pCombo = new CQVTControlComboBox();
    for (BOOL bEnabled : {TRUE, FALSE})
    {
        pCombo->SetEnabled(bEnabled);
        CHARFORMAT2W cf;
        pCombo->GetEditCharFormat(cf);
        EXPECT_EQ(bEnabled ? RGB(210, 220, 230) : RGB(120, 130, 140), cf.crTextColor) << bEnabled;
    }
    pCombo->InternalRelease();
}

TEST(Office2013Faces, ApplicationColoursOutliveARefresh)
{
    Office2013Test::UseTheme();
    CQVTColorSetStateToolbar& tb = Theme()->m_csToolbar;
    tb.m_clrButtonBackHighlight.SetCustomValue(RGB(9, 99, 199));
    Theme()->m_csCheckBox.m_clrBorder.SetCustomValue(RGB(77, 0, 77));
    {
        TestIni ini;
        Theme()->RefreshMetrics();
        EXPECT_EQ(COLORREF(0xFFFFFFFF), tb.m_clrButtonBackHighlight.GetStandardValue());
        EXPECT_EQ(RGB(9, 99, 199), tb.m_clrButtonBackHighlight.GetValue());
    }
    Theme()->RefreshMetrics();
    DibCanvas canvas(60, 40, kFacesBack);
    Theme()->DrawRectangle(&canvas.dc, kFacesRect, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypeNormal,
                           qvtBarTop);
    EXPECT_EQ(RGB(9, 99, 199), canvas.At(30, 20));
    canvas.Clear(kFacesBack);
    Theme()->DrawControlCheckBoxMark(&canvas.dc, CRect(5, 5, 30, 30), TRUE, FALSE, FALSE, 0, TRUE);
    EXPECT_EQ(RGB(77, 0, 77), canvas.At(5, 10));
    tb.m_clrButtonBackHighlight.SetDefaultValue();
    Theme()->m_csCheckBox.m_clrBorder.SetDefaultValue();
}

TEST(Office2013Marks, CheckBoxesTakeTheirSetsColoursByState)
{
    Office2013Test::UseTheme();
    struct Case
    {
        BOOL bSelected, bPressed, bEnabled;
        COLORREF clrBorder, clrBack, clrMark;
    } cases[] = {
        {FALSE, FALSE, TRUE, RGB(171, 171, 171), RGB(253, 253, 253), RGB(139, 139, 139)},
        {TRUE, FALSE, TRUE, RGB(163, 189, 227), RGB(213, 225, 242), RGB(67, 75, 80)},
        {FALSE, TRUE, TRUE, RGB(163, 189, 227), RGB(213, 225, 242), RGB(67, 75, 80)},
        {TRUE, TRUE, TRUE, RGB(163, 189, 227), RGB(163, 189, 227), RGB(15, 20, 24)},
        {TRUE, TRUE, FALSE, RGB(225, 225, 225), RGB(253, 253, 253), RGB(198, 198, 198)},
    };
    const int n = ThemeTest::X(13);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.bSelected << c.bPressed << c.bEnabled);
        DibCanvas canvas(40, 40, kFacesBack);
        EXPECT_EQ(CSize(n, ThemeTest::Y(13)),
                  Theme()->DrawControlCheckBoxMark(&canvas.dc, CRect(2, 2, 38, 38), TRUE, c.bSelected,
                                                   c.bPressed, 1, c.bEnabled));
        EXPECT_EQ(c.clrBorder, canvas.At(2, 2 + n / 2));
        EXPECT_EQ(c.clrBack, canvas.At(3, 3));
        EXPECT_GT(canvas.CountOf(c.clrMark), 6) << "the check's strokes";
        EXPECT_EQ(kFacesBack, canvas.At(2 + n, 2 + n));
    }
}

// The flat themes share their tick's strokes; Office XP's long arm climbs a
// pixel further. Right to left the box moves across but the tick still
// reads left to right: the same pixels about the box's centre.
TEST(Office2013Marks, TicksKeepTheirThemesReachAndReadTheSameRightToLeft)
{
    struct Case
    {
        int nTheme, nSpan;
    } cases[] = {{qvtThemeOfficeXP, 8}, {qvtThemeOffice2013, 7}};
    const CRect rcBox(2, 2, 2 + ThemeTest::X(13), 2 + ThemeTest::Y(13));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "theme " << c.nTheme);
        CQVTPaintManager::SetTheme(c.nTheme);
        CQVTPaintManager* pTheme = QVTPaintManager();
        // The pixels the tick changes, from the top left of their bounds.
        auto tickPixels = [&](BOOL bRightToLeft, CRect& rcTick) {
            DibCanvas empty(40, 40, kFacesBack), ticked(40, 40, kFacesBack);
            if (bRightToLeft)
            {
                ::SetLayout(empty.dc.m_hDC, LAYOUT_RTL);
                ::SetLayout(ticked.dc.m_hDC, LAYOUT_RTL);
            }
            pTheme->DrawControlCheckBoxMark(&empty.dc, CRect(2, 2, 38, 38), TRUE, FALSE, FALSE, 0, TRUE);
            pTheme->DrawControlCheckBoxMark(&ticked.dc, CRect(2, 2, 38, 38), TRUE, FALSE, FALSE, 1, TRUE);
            std::set<std::pair<int, int>> pixels;
            rcTick.SetRect(40, 40, 0, 0);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x)
                    if (empty.At(x, y) != ticked.At(x, y))
                    {
                        pixels.insert({x, y});
                        rcTick.SetRect(std::min<int>(rcTick.left, x), std::min<int>(rcTick.top, y),
                                       std::max<int>(rcTick.right, x + 1),
                                       std::max<int>(rcTick.bottom, y + 1));
                    }
            std::set<std::pair<int, int>> shape;
            for (const auto& pt : pixels)
                shape.insert({pt.first - rcTick.left, pt.second - rcTick.top});
            return shape;
        };
        CRect rcTick, rcMirrored;
        const auto ltr = tickPixels(FALSE, rcTick);
        EXPECT_EQ(c.nSpan, rcTick.Width());
        EXPECT_EQ(c.nSpan, rcTick.Height());
        EXPECT_EQ(rcBox.CenterPoint().x - 3, rcTick.left);
        const auto rtl = tickPixels(TRUE, rcMirrored);
        EXPECT_EQ(ltr, rtl);
        EXPECT_EQ(rcTick.top, rcMirrored.top);
        EXPECT_GT(rcMirrored.left, 20) << "drawn in the box at the right";
    }
    Office2013Test::UseTheme();
}

TEST(Office2013Marks, SeparatorColoursComeInPairsAndUnknownBarsAreRed)
{
    TestIni ini;
    Office2013Test::UseTheme();
    CQVTCommandBarsOffice2013Theme* pTheme = Theme();
    for (int barType : {qvtBarTypeNormal, qvtBarTypeMenuBar, qvtBarTypeRibbon})
    {
        EXPECT_EQ(RGB(0, 0, 200), pTheme->GetSeparatorColor(barType, TRUE));
        EXPECT_EQ(RGB(0, 200, 0), pTheme->GetSeparatorColor(barType, FALSE));
    }
    EXPECT_EQ(RGB(0, 100, 0), pTheme->GetSeparatorColor(qvtBarTypePopup, TRUE));
    EXPECT_EQ(RGB(255, 255, 255), pTheme->GetSeparatorColor(qvtBarTypePopup, FALSE));
    EXPECT_EQ(RGB(255, 0, 0), pTheme->GetSeparatorColor(4, TRUE));
    EXPECT_EQ(RGB(255, 0, 0), pTheme->GetSeparatorColor(-1, FALSE));
}
