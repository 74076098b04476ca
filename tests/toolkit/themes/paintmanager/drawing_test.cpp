// What every theme inherits from the paint manager: the colour table, the
// fonts and their rules, caption splitting, text and fills over glass, the
// anti-aliased circle, check marks with and without visual styles, and the
// popup animations.
#include <afxwin.h>

#include <cstdlib>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

// A theme object of the test's own, refreshed as an installed one would be.
class ThemeUnderTest
{
public:
    ThemeUnderTest() : m_pTheme(CQVTPaintManager::CreateTheme(qvtThemeOffice2000))
    {
        m_pTheme->RefreshMetrics();
    }
    ~ThemeUnderTest() { m_pTheme->InternalRelease(); }
    CQVTPaintManager* operator->() const { return m_pTheme; }
    CQVTPaintManager* get() const { return m_pTheme; }

private:
    CQVTPaintManager* m_pTheme;
};

bool ExpectVisualStyles()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return !pszValue || std::string(pszValue) != "0";
}

int FontHeight(CFont* pFont)
{
    LOGFONT lf = {};
    pFont->GetLogFont(&lf);
    return lf.lfHeight;
}

CString FontFace(CFont* pFont)
{
    LOGFONT lf = {};
    pFont->GetLogFont(&lf);
    return lf.lfFaceName;
}

int CALLBACK TakeFirstFace(const LOGFONT* pLogFont, const TEXTMETRIC*, DWORD, LPARAM lParam)
{
    *reinterpret_cast<CString*>(lParam) = pLogFont->lfFaceName;
    return 0;
}

CString FirstInstalledFace()
{
    CString strFace;
    LOGFONT lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    CClientDC dc(nullptr);
    ::EnumFontFamiliesEx(dc.GetSafeHdc(), &lf, TakeFirstFace, reinterpret_cast<LPARAM>(&strFace), 0);
    return strFace;
}

TEST(PaintManagerColors, CustomValuesWinAndNumbersAboveTheTableAreColours)
{
    ThemeUnderTest theme;
    EXPECT_EQ(static_cast<COLORREF>(63), theme->GetColor(63));
    EXPECT_EQ(RGB(10, 20, 30), theme->GetColor(static_cast<int>(RGB(10, 20, 30))));
    const COLORREF clrStandard = theme->GetColor(COLOR_3DFACE);
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), clrStandard);
    theme->GetColorEntry(COLOR_3DFACE).SetCustomValue(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), theme->GetColor(COLOR_3DFACE));
    // A refresh keeps what the application set.
    theme->RefreshMetrics();
    EXPECT_EQ(RGB(1, 2, 3), theme->GetColor(COLOR_3DFACE));
    theme->GetColorEntry(COLOR_3DFACE).SetCustomValue(CQVTPaintManagerColor::noColor);
    EXPECT_EQ(clrStandard, theme->GetColor(COLOR_3DFACE));

    const int indexes[] = {31, 32};
    const COLORREF colors[] = {RGB(9, 9, 9), RGB(8, 8, 8)};
    theme->SetColors(2, indexes, colors);
    EXPECT_EQ(RGB(8, 8, 8), theme->GetColor(32));
}

TEST(PaintManagerFonts, AHeightOverrideSetsEveryBarFontAndTheControlHeight)
{
    ThemeUnderTest theme;
    theme->SetFontHeight(16);
    EXPECT_EQ(-16, FontHeight(theme->GetRegularFont()));
    EXPECT_EQ(-16, FontHeight(theme->GetRegularBoldFont()));
    EXPECT_EQ(-16, FontHeight(theme->GetVerticalFont()));
    EXPECT_EQ(31, theme->GetControlHeight());
    EXPECT_EQ((theme->DpiY(2) + 16) * 2, theme->GetTwoLineCaptionHeight());
    LOGFONT lf = {};
    theme->GetVerticalFont()->GetLogFont(&lf);
    EXPECT_EQ(2700, lf.lfEscapement);
    theme->GetRegularBoldFont()->GetLogFont(&lf);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);

    // The text height is a measured blank plus 6 px.
    CClientDC dc(nullptr);
    CFont* pOld = dc.SelectObject(theme->GetRegularFont());
    const int nBlank = dc.GetTextExtent(_T(" "), 1).cy;
    dc.SelectObject(pOld);
    EXPECT_EQ(nBlank + theme->DpiY(6), theme->GetTextHeight());
}

TEST(PaintManagerFonts, ACustomFontSurvivesARefreshAndTheOfficeFaceWinsWhenAsked)
{
    ThemeUnderTest theme;
    LOGFONT lf = {};
    lf.lfHeight = -23;
    lstrcpy(lf.lfFaceName, _T("Courier New"));
    theme->GetSmallCaptionFontEntry().SetCustomFont(&lf);
    theme->RefreshMetrics();
    EXPECT_EQ(-23, FontHeight(theme->GetSmallCaptionFont()));
    theme->GetSmallCaptionFontEntry().SetCustomFont(nullptr);
    theme->RefreshMetrics();
    EXPECT_NE(-23, FontHeight(theme->GetSmallCaptionFont()));

    // The office face (an installed one here) replaces whatever face the
    // description names.
    const CString strInstalled = FirstInstalledFace();
    ASSERT_FALSE(strInstalled.IsEmpty());
    ASSERT_TRUE(CQVTDrawHelpers::FontFaceExists(strInstalled));
    theme->m_strOfficeFont = strInstalled;
    theme->m_bUseOfficeFont = TRUE;
    LOGFONT lfOther = {};
    lfOther.lfHeight = -12;
    lstrcpy(lfOther.lfFaceName, _T("Some Other Face"));
    theme->SetCommonFont(&lfOther, TRUE);
    EXPECT_EQ(0, strInstalled.CompareNoCase(FontFace(theme->GetRegularFont())));
    // Not asked for the system font, the description's face stands.
    lstrcpy(lfOther.lfFaceName, _T("Some Other Face"));
    theme->SetCommonFont(&lfOther, FALSE);
    EXPECT_EQ(0, FontFace(theme->GetRegularFont()).CompareNoCase(_T("Some Other Face")));
}

TEST(PaintManagerText, CaptionsSplitAtTheBlankNearestTheirMiddle)
{
    struct Case
    {
        LPCTSTR lpszCaption;
        LPCTSTR lpszFirst;
        LPCTSTR lpszSecond;
    };
    const Case cases[] = {
        {_T("Save all files"), _T("Save all"), _T("files")},
        {_T("Record"), _T("Record"), _T("")},
        {_T(" Record"), _T(" Record"), _T("")},
        {_T("Stop recording now"), _T("Stop recording"), _T("now")},
        {_T("A bc"), _T("A"), _T("bc")},
        {_T(""), _T(""), _T("")},
    };
    for (const Case& c : cases)
    {
        CString strFirst;
        CString strSecond;
        CQVTPaintManager::SplitCaptionInTwoLines(c.lpszCaption, strFirst, strSecond);
        EXPECT_EQ(CString(c.lpszFirst), strFirst) << CT2A(c.lpszCaption);
        EXPECT_EQ(CString(c.lpszSecond), strSecond) << CT2A(c.lpszCaption);
    }
}

TEST(PaintManagerText, TextOnGlassIsDrawnAndOpaqueFillsSetTheAlpha)
{
    ThemeUnderTest theme;
    DibCanvas canvas(120, 30, RGB(255, 255, 255));
    CFont* pOld = canvas.dc.SelectObject(theme->GetRegularFont());
    canvas.dc.SetTextColor(RGB(0, 0, 0));
    canvas.dc.SetBkMode(TRANSPARENT);
    CRect rc(0, 0, 120, 30);
    theme->DrawTextApi(&canvas.dc, _T("Glass"), rc, DT_SINGLELINE | DT_VCENTER, TRUE);
    canvas.dc.SelectObject(pOld);
    EXPECT_GT(canvas.Width() * canvas.Height() - canvas.CountOf(RGB(255, 255, 255)), 10);

    DibCanvas fills(20, 10, RGB(10, 20, 30));
    CQVTPaintManager::FillCompositeAlpha(&fills.dc, CRect(0, 0, 10, 10));
    CQVTPaintManager::FillCompositeRect(&fills.dc, CRect(10, 0, 20, 10), RGB(200, 100, 50));
    ::GdiFlush();
    EXPECT_EQ(0xFF0A141Eu, fills.Pixels()[5 * 20 + 5]);
    EXPECT_EQ(0xFFC86432u, fills.Pixels()[5 * 20 + 15]);
}

TEST(PaintManagerText, TheAntialiasedCircleFillsTheMiddleBlendsTheRimAndLeavesTheCorners)
{
    DibCanvas canvas(40, 40, RGB(255, 255, 255));
    CQVTPaintManager::DrawAntialiasedCircle(&canvas.dc, CRect(10, 10, 31, 31), RGB(0, 0, 255),
                                            RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(20, 20));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(10, 10));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(5, 20));
    // The rim is neither colour alone nor the background.
    const COLORREF clrRim = canvas.At(20, 10);
    EXPECT_NE(RGB(255, 255, 255), clrRim);
    EXPECT_NE(RGB(255, 0, 0), clrRim);
    EXPECT_GT(GetBValue(clrRim), 0);

    DibCanvas untouched(40, 40, RGB(255, 255, 255));
    CQVTPaintManager::DrawAntialiasedCircle(&untouched.dc, CRect(10, 10, 30, 20), 0, 0);
    CQVTPaintManager::DrawAntialiasedCircle(&untouched.dc, CRect(10, 10, 10, 10), 0, 0);
    EXPECT_EQ(40 * 40, untouched.CountOf(RGB(255, 255, 255)));
}

TEST(PaintManagerMarks, CheckMarksComeFromTheVisualStyleWhenAskedAndAvailable)
{
    ThemeUnderTest classic;
    ThemeUnderTest themed;
    themed->m_bThemedCheckBox = TRUE;
    themed->RefreshMetrics();
    const CSize szMark =
        classic->DrawControlCheckBoxMark(nullptr, CRect(0, 0, 0, 0), FALSE, FALSE, FALSE, 1, TRUE);
    EXPECT_EQ(CSize(classic->DpiX(13), classic->DpiY(13)), szMark);

    DibCanvas canvasClassic(20, 20, RGB(255, 0, 255));
    DibCanvas canvasThemed(20, 20, RGB(255, 0, 255));
    const CRect rc(CPoint(2, 2), szMark);
    classic->DrawControlCheckBoxMark(&canvasClassic.dc, rc, TRUE, FALSE, FALSE, 1, TRUE);
    themed->DrawControlCheckBoxMark(&canvasThemed.dc, rc, TRUE, FALSE, FALSE, 1, TRUE);
    // Both draw a checked box.
    EXPECT_LT(canvasClassic.CountOf(RGB(255, 0, 255)), 20 * 20 - szMark.cx * szMark.cy / 2);
    EXPECT_LT(canvasThemed.CountOf(RGB(255, 0, 255)), 20 * 20 - szMark.cx * szMark.cy / 2);
    int nDiffering = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            nDiffering += canvasClassic.At(x, y) != canvasThemed.At(x, y);
    if (ExpectVisualStyles())
        EXPECT_GT(nDiffering, 0);
    else
        EXPECT_EQ(0, nDiffering);
}

TEST(PaintManagerMarks, MenuMarksAreGlyphsMirroredOnRightToLeftDCs)
{
    ThemeUnderTest theme;
    const CRect rc(0, 0, 16, 16);
    DibCanvas check(16, 16);
    theme->DrawCheckMark(&check.dc, rc, RGB(0, 0, 0), TRUE);
    DibCanvas glyph71(16, 16);
    QVTGlyphFont()->DrawGlyph(&glyph71.dc, 71, rc, RGB(0, 0, 0));
    DibCanvas glyph72(16, 16);
    QVTGlyphFont()->DrawGlyph(&glyph72.dc, 72, rc, RGB(0, 0, 0));
    ASSERT_GT(check.Width() * check.Height() - check.CountOf(RGB(255, 255, 255)), 5);
    int nDiff71 = 0;
    int nDiff72 = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            nDiff71 += check.At(x, y) != glyph71.At(x, y);
            nDiff72 += check.At(x, y) != glyph72.At(x, y);
        }
    EXPECT_EQ(0, nDiff71);
    EXPECT_GT(nDiff72, 0);

    // Bold marks are drawn twice, a pixel apart.
    theme->m_bBoldCheckMarks = TRUE;
    DibCanvas bold(16, 16);
    theme->DrawCheckMark(&bold.dc, rc, RGB(0, 0, 0), TRUE);
    EXPECT_LT(bold.CountOf(RGB(255, 255, 255)), check.CountOf(RGB(255, 255, 255)));
}

TEST(PaintManagerAnimation, PopupAnimationsDrawTheirFramesAndLeaveTheLastToTheCaller)
{
    ThemeUnderTest theme;
    theme->m_nAnimationTime = 0;
    DibCanvas target(40, 20, RGB(0, 0, 0));
    DibCanvas source(40, 20, RGB(200, 200, 200));
    const CRect rc(0, 0, 40, 20);

    theme->m_nAnimationSteps = 0;
    theme->Animate(&target.dc, &source.dc, rc, qvtAnimateFade);
    EXPECT_EQ(RGB(0, 0, 0), target.At(20, 10));

    // Ten fade steps: nine in-between frames, the last at 90 %.
    theme->m_nAnimationSteps = 10;
    theme->Animate(&target.dc, &source.dc, rc, qvtAnimateFade);
    const int nExpected = 200 * (255 * 9 / 10) / 256;
    EXPECT_EQ(RGB(nExpected, nExpected, nExpected), target.At(20, 10));

    DibCanvas unfolded(40, 20, RGB(0, 0, 0));
    theme->Animate(&unfolded.dc, &source.dc, rc, qvtAnimateUnfold);
    EXPECT_EQ(40 * 20, unfolded.CountOf(RGB(200, 200, 200)));
    DibCanvas other(40, 20, RGB(0, 0, 0));
    theme->Animate(&other.dc, &source.dc, rc, 7);
    EXPECT_EQ(40 * 20, other.CountOf(RGB(0, 0, 0)));
}

TEST(PaintManagerGlyphs, DropDownArrowsPointAwayFromTheBarsEdgeAndTheExpandButtonSitsAtItsEnd)
{
    ThemeUnderTest theme;
    CTestBar* pBar = new CTestBar();
    CQVTControl* pControl = pBar->GetControls()->AddByType(qvtControlButton, 1);
    const CRect rcGlyph(0, 0, theme->DpiX(10), theme->DpiY(10));
    const struct
    {
        int nPosition;
        WCHAR chGlyph;
    } cases[] = {{qvtBarTop, 77}, {qvtBarBottom, 76}, {qvtBarLeft, 75}, {qvtBarRight, 74}};
    for (const auto& c : cases)
    {
        pBar->SetPosition(c.nPosition);
        DibCanvas drawn(20, 20);
        theme->DrawDropDownGlyph(&drawn.dc, pControl, rcGlyph.CenterPoint(), FALSE, FALSE, TRUE, FALSE);
        DibCanvas expected(20, 20);
        QVTGlyphFont()->DrawGlyph(&expected.dc, c.chGlyph, rcGlyph,
                                  theme->GetRectangleTextColor(FALSE, FALSE, TRUE, FALSE, FALSE, 1, 0));
        int nDiffering = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                nDiffering += drawn.At(x, y) != expected.At(x, y);
        EXPECT_EQ(0, nDiffering) << c.nPosition;
        EXPECT_LT(drawn.CountOf(RGB(255, 255, 255)), 400) << c.nPosition;
    }

    // Measuring the expand button places it at the bar's end.
    pBar->SetPosition(qvtBarTop);
    CSize szBar(300, 30);
    EXPECT_EQ(CSize(0, 0),
              theme->DrawSpecialControl(nullptr, qvtSpecialToolbarExpand, pControl, pBar, FALSE, &szBar));
    EXPECT_EQ(CRect(300 - 13, 2, 298, 28), pControl->GetRect());
    pBar->SetPosition(qvtBarLeft);
    szBar = CSize(30, 300);
    theme->DrawSpecialControl(nullptr, qvtSpecialToolbarExpand, pControl, pBar, FALSE, &szBar);
    EXPECT_EQ(CRect(2, 300 - 13, 28, 298), pControl->GetRect());
    EXPECT_EQ(CSize(0, 12),
              theme->DrawSpecialControl(nullptr, qvtSpecialMore, pControl, pBar, FALSE, nullptr));

    // Docked bars have no gripper of the base theme; floating ones a title.
    pBar->SetPosition(qvtBarTop);
    EXPECT_EQ(CSize(0, 0), theme->CQVTPaintManager::DrawCommandBarGripper(nullptr, pBar, FALSE));
    pBar->InternalRelease();
}

TEST(PaintManagerLayout, SizesOutsideTheirRangeAreIgnoredOrKept)
{
    ThemeUnderTest theme;
    // Images without a size fit nothing: the request stands.
    EXPECT_EQ(CSize(16, 16), CQVTPaintManager::AspectFitImage(CSize(0, 0), CSize(16, 16)));
    EXPECT_EQ(CSize(16, 16), CQVTPaintManager::FitImageToBox(CSize(0, 20), CSize(16, 16), 2, TRUE));
    EXPECT_EQ(CSize(8, 4), CQVTPaintManager::AspectFitImage(CSize(32, 16), CSize(8, 8)));

    CTestBar* pBar = new CTestBar();
    CQVTControl* pControl = pBar->GetControls()->AddByType(qvtControlButton, 1);
    pControl->SetCaption(_T("Caption"));
    CClientDC dc(nullptr);
    const CSize szNatural = pControl->GetSize(&dc);
    pControl->SetWidth(-40);
    pControl->SetHeight(-3);
    EXPECT_EQ(szNatural, pControl->GetSize(&dc));
    pControl->SetWidth(123);
    EXPECT_EQ(CSize(123, szNatural.cy), pControl->GetSize(&dc));

    pBar->SetType(qvtBarTypePopup);
    pControl->SetWidth(0);
    CSize sz;
    for (int nFixed : {-5, 0, 30000, INT_MAX})
    {
        pBar->GetControls()->CalcPopupSize(sz, &dc, 0, nFixed, CRect(0, 0, 0, 0));
        EXPECT_EQ(pControl->GetSize(&dc).cx, pControl->GetRect().Width()) << nFixed;
    }
    pBar->InternalRelease();
}

}  // namespace
