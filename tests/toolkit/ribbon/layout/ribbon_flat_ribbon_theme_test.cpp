// The flat ribbon themes of ids 12, 16 and 17: the background pattern's
// name for every index and DPI, the contrast rule at its limit, INI values
// that do not parse, context headers and flat tabs drawn into DIBs, and a
// pattern image without height.
#include <afxwin.h>
#include <afxext.h>

#include <algorithm>
#include <string>

#include "sondrel_gtest.h"
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/paint/QVTRibbonOffice2013Theme.h"
#include "toolkit/ribbon/paint/QVTRibbonTabTheme.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"

class RibbonFlatRibbonTheme : public CRibbonHostSuite<RibbonFlatRibbonTheme>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(40, 60, 880, 400)); }

protected:
    void SetUp() override
    {
        ResetHost(820, 300);
        CQVTPaintManager::SetTheme(qvtThemeOffice2013);
    }
    void TearDown() override
    {
        QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr);
        CQVTPaintManager::SetTheme(qvtThemeRibbon);
    }
    // The ribbon's theme refreshed with the INI of that name (the bars'
    // theme would install its own).
    CQVTRibbonOffice2013Theme* UseIni(LPCTSTR lpszIni)
    {
        QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), lpszIni);
        CQVTRibbonOffice2013Theme* pTheme = RibbonTheme();
        if (pTheme)
            pTheme->RefreshMetrics();
        return pTheme;
    }
    // The ribbon laid out for that width.
    void LayOut(int cx) { m_pRibbon->CalcDockingLayout(cx, LM_COMMIT | LM_HORZDOCK | LM_HORZ); }
    static CQVTRibbonOffice2013Theme* RibbonTheme()
    {
        return DYNAMIC_DOWNCAST(CQVTRibbonOffice2013Theme, QVTPaintManager()->GetRibbonPaintManager());
    }
};

// The background pattern lies on the caption's face, under what the caption
// shows: drawn with and without it, the caption differs only where the
// pattern has ink, at the caption row's right end, and never where the
// title draws.
TEST_F(RibbonFlatRibbonTheme, ThePatternLiesBetweenTheCaptionsFaceAndItsText)
{
    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_WHITE_INI"));
    ASSERT_NE(nullptr, pTheme);
    // A title long enough to cross the pattern, in ink of its own.
    CString strTitle;
    s_pHost->GetWindowText(strTitle);
    s_pHost->SetWindowText(CString(_T('W'), 120));
    const INT nElement = COLOR_CAPTIONTEXT;
    const COLORREF clrText = ::GetSysColor(nElement), clrInk = RGB(200, 0, 0);
    ::SetSysColors(1, &nElement, &clrInk);
    CRect rcClient;
    m_pRibbon->GetClientRect(&rcClient);
    const CRect rcCaption = m_pRibbon->GetCaptionRect() & rcClient;
    DibCanvas with(rcClient.Width(), rcClient.Height()), without(rcClient.Width(), rcClient.Height());
    pTheme->SetBackgroundImage(2);
    pTheme->DrawRibbonFrameCaption(&with.dc, m_pRibbon, TRUE);
    pTheme->SetBackgroundImage(0);
    pTheme->DrawRibbonFrameCaption(&without.dc, m_pRibbon, TRUE);
    ::SetSysColors(1, &nElement, &clrText);
    s_pHost->SetWindowText(strTitle);

    // The pattern's ink shows over the face, from the caption's top at the
    // right end of the ribbon.
    CRect rcPattern(rcClient.right, rcClient.bottom, 0, 0);
    int nPattern = 0;
    for (int y = 0; y < rcClient.Height(); ++y)
        for (int x = 0; x < rcClient.Width(); ++x)
            if (with.At(x, y) != without.At(x, y))
            {
                ++nPattern;
                rcPattern |= CRect(x, y, x + 1, y + 1);
            }
    EXPECT_GT(nPattern, 200);
    EXPECT_GE(rcPattern.left, rcClient.Width() / 2);
    EXPECT_GE(rcPattern.right, rcClient.Width() * 9 / 10);
    EXPECT_EQ(rcCaption.top, rcPattern.top);
    // The title over it keeps its ink whole.
    int nTextOverPattern = 0;
    for (int y = rcPattern.top; y < rcPattern.bottom; ++y)
        for (int x = rcPattern.left; x < rcPattern.right; ++x)
            if (without.At(x, y) == clrInk)
            {
                ++nTextOverPattern;
                ASSERT_EQ(clrInk, with.At(x, y)) << "at " << x << ", " << y;
            }
    EXPECT_GT(nTextOverPattern, 20);
}

TEST_F(RibbonFlatRibbonTheme, ThemesTwelveSixteenAndSeventeenHaveTheirFlatRibbons)
{
    for (int nTheme : {qvtThemeOffice2013, qvtThemeNativeWindows10, qvtThemeVisualStudio2015})
    {
        SCOPED_TRACE(nTheme);
        CQVTPaintManager::SetTheme(nTheme);
        CQVTRibbonOffice2013Theme* pTheme = RibbonTheme();
        ASSERT_NE(nullptr, pTheme);
        EXPECT_EQ(pTheme, m_pRibbon->GetRibbonPaintManager());
        // The background number reaches the ribbon's paint manager.
        CQVTCommandBarsOffice2013Theme* pBars =
            DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2013Theme, QVTPaintManager());
        ASSERT_NE(nullptr, pBars);
        EXPECT_TRUE(pBars->SetRibbonBackground(s_pHost->GetCommandBars(), 7));
        EXPECT_EQ(7, pTheme->GetBackgroundImage());
    }
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonThemeVisualStudio2015*>(RibbonTheme()));
}

TEST_F(RibbonFlatRibbonTheme, BackgroundPatternNamesForEveryIndexAndDpi)
{
    const LPCTSTR patterns[] = {_T("CALLIGRAPHY"),    _T("CIRCLESANDSTRIPES"),
                                _T("CIRCUIT"),        _T("CLOUDS"),
                                _T("DOODLECIRCLES"),  _T("DOODLEDIAMONDS"),
                                _T("GEOMETRY"),       _T("LUNCHBOX"),
                                _T("SCHOOLSUPPLIES"), _T("SPRING"),
                                _T("STARS"),          _T("STRAWS"),
                                _T("TREERINGS"),      _T("UNDERWATER")};
    const struct
    {
        int nDpi;
        LPCTSTR lpszSize;
    } sizes[] = {{72, _T("SMALL")},   {96, _T("SMALL")},  {97, _T("MEDIUM")},
                 {200, _T("MEDIUM")}, {201, _T("LARGE")}, {288, _T("LARGE")}};
    for (const auto& size : sizes)
    {
        for (int i = 1; i <= 14; ++i)
        {
            SCOPED_TRACE(i);
            EXPECT_EQ(CString(_T("OFFICE2013WHITE")) + size.lpszSize + patterns[i - 1],
                      CQVTRibbonOffice2013Theme::BuildBackgroundImageName(
                          _T("OFFICE2013"), _T("office2013_ini"), size.nDpi, i));
        }
        // Past the last pattern only the theme, colour and size words.
        EXPECT_EQ(CString(_T("OFFICE2013WHITE")) + size.lpszSize,
                  CQVTRibbonOffice2013Theme::BuildBackgroundImageName(_T("OFFICE2013"), _T("A_INI"),
                                                                      size.nDpi, 15));
    }
    const struct
    {
        LPCTSTR lpszTheme;
        LPCTSTR lpszIni;
        LPCTSTR lpszExpected;
    } colours[] = {
        {_T("OFFICE2013"), _T("Office2013Dark_ini"), _T("OFFICE2013DARKGRAYSMALLSTARS")},
        {_T("OFFICE2013"), _T("OFFICE2013LIGHT_INI"), _T("OFFICE2013LIGHTGRAYSMALLSTARS")},
        {_T("OFFICE2016"), _T("OFFICE2016BLACK_INI"), _T("OFFICE2016BLACKSMALLSTARS")},
        {_T("OFFICE2016"), _T("OFFICE2016COLORFUL_INI"), _T("OFFICE2016COLORFULSMALLSTARS")},
        {_T("OFFICE2016"), _T("OFFICE2016DARKGRAY_INI"), _T("OFFICE2016DARKGRAYSMALLSTARS")},
        {_T("OFFICE2016"), _T("OFFICE2016WHITE_INI"), _T("OFFICE2016WHITESMALLSTARS")},
    };
    for (const auto& c : colours)
        EXPECT_EQ(CString(c.lpszExpected),
                  CQVTRibbonOffice2013Theme::BuildBackgroundImageName(c.lpszTheme, c.lpszIni, 96, 11));
    // No pattern, or no INI name: no name.
    EXPECT_EQ(CString(),
              CQVTRibbonOffice2013Theme::BuildBackgroundImageName(_T("OFFICE2013"), _T("A_INI"), 96, 0));
    EXPECT_EQ(CString(),
              CQVTRibbonOffice2013Theme::BuildBackgroundImageName(_T("OFFICE2013"), _T(""), 96, 3));
    EXPECT_EQ(CString(),
              CQVTRibbonOffice2013Theme::BuildBackgroundImageName(_T("OFFICE2013"), nullptr, 96, 3));

    // The theme's own name follows its INI.
    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_DARK_INI"));
    ASSERT_NE(nullptr, pTheme);
    pTheme->SetBackgroundImage(4);
    EXPECT_EQ(CString(_T("OFFICE2013DARKGRAY")) +
                  (QVTDpiScaler()->GetDpiY() <= 96 ? _T("SMALL") : _T("MEDIUM")) + _T("CLOUDS"),
              pTheme->GetBackgroundImageName());
}

TEST_F(RibbonFlatRibbonTheme, ContrastRuleClearsTheFlagWithinEightyThree)
{
    EXPECT_FALSE(CQVTRibbonOffice2013Theme::IsContrastEnough(RGB(117, 117, 117), RGB(200, 200, 200)));
    EXPECT_TRUE(CQVTRibbonOffice2013Theme::IsContrastEnough(RGB(116, 116, 116), RGB(200, 200, 200)));
    // Lightness is the mean of the smallest and largest channel.
    EXPECT_FALSE(CQVTRibbonOffice2013Theme::IsContrastEnough(RGB(0, 234, 100), RGB(200, 200, 200)));
    EXPECT_TRUE(CQVTRibbonOffice2013Theme::IsContrastEnough(RGB(0, 232, 100), RGB(200, 200, 200)));

    CQVTRibbonTabColorSet* pColors = dynamic_cast<CQVTRibbonTabColorSet*>(
        UseIni(_T("FLATTEST_LIGHT_INI"))->GetTabPaintManager()->GetColorSet());
    ASSERT_NE(nullptr, pColors);
    EXPECT_EQ(RGB(116, 116, 116), pColors->m_clrText.GetValue());
    EXPECT_TRUE(pColors->m_bTextContrast);
    pColors = dynamic_cast<CQVTRibbonTabColorSet*>(
        UseIni(_T("FLATTEST_DARK_INI"))->GetTabPaintManager()->GetColorSet());
    ASSERT_NE(nullptr, pColors);
    EXPECT_EQ(RGB(117, 117, 117), pColors->m_clrText.GetValue());
    EXPECT_FALSE(pColors->m_bTextContrast);
}

TEST_F(RibbonFlatRibbonTheme, IniValuesThatDoNotParseOrAreAbsurdTakeTheDefaults)
{
    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_DARK_INI"));
    ASSERT_NE(nullptr, pTheme);
    EXPECT_EQ(ScaleY(28), pTheme->m_nCaptionHeight);
    EXPECT_EQ(RGB(243, 243, 243), pTheme->m_clrRibbonFace);
    EXPECT_EQ(RGB(10, 20, 30), pTheme->m_clrRibbonBorder);
    EXPECT_EQ(CString(_T("OFFICE2013")), pTheme->m_strThemeName);
    pTheme = UseIni(_T("FLATTEST_LIGHT_INI"));
    EXPECT_EQ(ScaleY(28), pTheme->m_nCaptionHeight);
    EXPECT_EQ(CString(_T("OFFICE2016")), pTheme->m_strThemeName);
}

TEST_F(RibbonFlatRibbonTheme, ContextHeadersHaveTheirBandAndFlatTabsTheirOutline)
{
    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_DARK_INI"));
    ASSERT_NE(nullptr, pTheme);
    const COLORREF clrBack = RGB(1, 2, 3);
    DibCanvas canvas(300, 80, clrBack);
    CQVTRibbonTabContextHeader green(m_pRibbon->GetTab(0));
    green.m_nColor = 3;
    green.m_rcRect = CRect(20, 10, 140, 40);
    green.m_strCaption = _T("Tools");
    CQVTRibbonTabContextHeader blue(m_pRibbon->GetTab(0));
    blue.m_nColor = 1;
    blue.m_rcRect = CRect(150, 10, 280, 40);
    pTheme->DrawContextHeaders(&canvas.dc, m_pRibbon, CQVTRibbonTabContextHeaders{&green, &blue});
    const int nBand = ScaleY(4);
    // Green's border from the INI, its back the default; one pixel in at
    // each side.
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(25, 10));
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(25, 10 + nBand - 1));
    EXPECT_EQ(RGB(230, 243, 230), canvas.At(25, 10 + nBand));
    EXPECT_EQ(RGB(230, 243, 230), canvas.At(25, 38));
    EXPECT_EQ(clrBack, canvas.At(20 + ScaleX(1) - 1, 20));
    EXPECT_EQ(RGB(230, 243, 230), canvas.At(20 + ScaleX(1), 38));
    EXPECT_EQ(clrBack, canvas.At(140 - ScaleX(1), 20));
    EXPECT_EQ(RGB(43, 87, 154), canvas.At(200, 11));
    EXPECT_EQ(RGB(213, 225, 242), canvas.At(200, 38));

    // The selected tab: the plain header's back inside, the ribbon border
    // on its left, right and top.
    m_pRibbon->SetCurrentTab(0);
    CQVTRibbonTab* pTab = m_pRibbon->GetTab(0);
    CRect rc = pTab->GetRect();
    DibCanvas tabs(rc.right + 10, rc.bottom + 10, clrBack);
    pTheme->DrawRibbonTab(&tabs.dc, pTab);
    rc.top += ScaleY(1);
    EXPECT_EQ(RGB(200, 200, 200), tabs.At(rc.CenterPoint().x, rc.CenterPoint().y));
    EXPECT_EQ(RGB(10, 20, 30), tabs.At(rc.left, rc.CenterPoint().y));
    EXPECT_EQ(RGB(10, 20, 30), tabs.At(rc.right - 1, rc.CenterPoint().y));
    EXPECT_EQ(RGB(10, 20, 30), tabs.At(rc.CenterPoint().x, rc.top));
    EXPECT_EQ(RGB(200, 200, 200), tabs.At(rc.CenterPoint().x, rc.bottom - 1));
}

// Once any tab is compressed, every tab shows the delimiter at its right
// edge; with room for all of them, none does.
TEST_F(RibbonFlatRibbonTheme, CompressedTabsAreAllSetOffByTheDelimiter)
{
    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_DARK_INI"));
    ASSERT_NE(nullptr, pTheme);
    const COLORREF clrDelimiter = RGB(225, 225, 225);
    // One long caption, which the row shrinks first.
    m_pRibbon->GetTab(1)->SetCaption(_T("Options of the recorder and of everything it writes"));
    m_pRibbon->SetCurrentTab(0);
    for (int cx : {820, 360})
    {
        SCOPED_TRACE(cx);
        LayOut(cx);
        int nUntruncated = -1;
        BOOL bAnyTruncated = FALSE;
        for (int i = 0; i < m_pRibbon->GetTabCount(); ++i)
        {
            if (m_pRibbon->GetTab(i)->IsTruncated())
                bAnyTruncated = TRUE;
            else if (i != m_pRibbon->GetCurrentTab()->GetIndex())
                nUntruncated = i;
        }
        ASSERT_EQ(cx < 820, bAnyTruncated);
        ASSERT_NE(-1, nUntruncated) << "a tab of its full width besides the selected one";
        CQVTRibbonTab* pTab = m_pRibbon->GetTab(nUntruncated);
        const CRect rc = pTab->GetRect();
        DibCanvas canvas(rc.right + 10, rc.bottom + 10, RGB(1, 2, 3));
        pTheme->DrawRibbonTab(&canvas.dc, pTab);
        const COLORREF clrEdge = canvas.At(rc.right - ScaleX(1), rc.CenterPoint().y);
        EXPECT_EQ(bAnyTruncated, clrEdge == clrDelimiter);
        // From top + 3 to bottom - 3 only.
        EXPECT_NE(clrDelimiter, canvas.At(rc.right - ScaleX(1), rc.top + ScaleY(1) + ScaleY(3) - 1));
    }
}

TEST_F(RibbonFlatRibbonTheme, APatternWithoutHeightOrImageDrawsNothing)
{
    EXPECT_EQ(CRect(), CQVTRibbonOffice2013Theme::CalcBackgroundImageRect(CSize(100, 0), 0, 50, 400));
    EXPECT_EQ(CRect(), CQVTRibbonOffice2013Theme::CalcBackgroundImageRect(CSize(0, 20), 0, 50, 400));
    EXPECT_EQ(CRect(), CQVTRibbonOffice2013Theme::CalcBackgroundImageRect(CSize(100, 20), 0, 0, 400));
    // The aspect kept for the height, ending at the right edge.
    EXPECT_EQ(CRect(150, 5, 400, 55),
              CQVTRibbonOffice2013Theme::CalcBackgroundImageRect(CSize(100, 20), 5, 50, 400));

    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_DARK_INI"));
    pTheme->SetBackgroundImage(3);
    CRect rcClient;
    m_pRibbon->GetClientRect(&rcClient);
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    pTheme->DrawRibbonBackgroundImage(&canvas.dc, m_pRibbon);
    for (int x = 0; x < rcClient.Width(); x += 7)
        ASSERT_EQ(RGB(1, 2, 3), canvas.At(x, 5));
}

TEST_F(RibbonFlatRibbonTheme, TheWhitePatternDrawsAtTheRibbonsRightEndInThemesTwelveAndSeventeen)
{
    for (int nTheme : {qvtThemeOffice2013, qvtThemeNativeWindows10})
    {
        SCOPED_TRACE(nTheme);
        CQVTPaintManager::SetTheme(nTheme);
        CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_WHITE_INI"));
        ASSERT_NE(nullptr, pTheme);
        pTheme->SetBackgroundImage(2);
        ASSERT_EQ(0, pTheme->GetBackgroundImageName().Find(_T("OFFICE2013WHITE")));
        CRect rcClient;
        m_pRibbon->GetClientRect(&rcClient);
        const COLORREF clrBack = RGB(0, 0, 120);
        DibCanvas canvas(rcClient.Width(), rcClient.Height(), clrBack);
        pTheme->DrawRibbonBackgroundImage(&canvas.dc, m_pRibbon);

        // The grey ink over the blue ground: red and green rise together.
        // The image keeps its aspect (five to one) for the band's height, so
        // it ends at the right edge and leaves the left of the ribbon alone.
        int nInk = 0;
        int nLeftmost = rcClient.Width();
        for (int y = 0; y < rcClient.Height(); ++y)
            for (int x = 0; x < rcClient.Width(); ++x)
            {
                const COLORREF clr = canvas.At(x, y);
                if (clr != clrBack && GetRValue(clr) == GetGValue(clr) && GetRValue(clr) > 40)
                {
                    ++nInk;
                    nLeftmost = std::min(nLeftmost, x);
                }
            }
        EXPECT_GT(nInk, 200);
        EXPECT_GT(nLeftmost, rcClient.Width() / 2);
        EXPECT_EQ(clrBack, canvas.At(rcClient.Width() - 1, rcClient.Height() - 1));
    }
}

TEST_F(RibbonFlatRibbonTheme, PartsOfTheImageSetsStyleTakeTheThemeBrushes)
{
    // The test image set carries the flat style; its parts name the
    // Theme.Colors brushes, here at their defaults.
    CQVTRibbonOffice2013Theme* pTheme = RibbonTheme();
    ASSERT_NE(nullptr, pTheme);
    ASSERT_TRUE(pTheme->IsPartsLoaded());
    for (int i = 0; i < CQVTRibbonMarkupTheme::partCount; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_NE(nullptr, pTheme->GetPart(i)->GetElement());
    }
    const COLORREF clrBack = RGB(1, 2, 3);
    DibCanvas canvas(200, 60, clrBack);
    pTheme->FillGroupsArea(&canvas.dc, m_pRibbon->GetTab(0), CRect(10, 10, 190, 50));
    EXPECT_EQ(RGB(171, 171, 171), canvas.At(100, 10));
    EXPECT_EQ(RGB(243, 243, 243), canvas.At(100, 30));
    // The selected tab of a context draws its part; the flat theme's own tab
    // drawing is GDI.
    pTheme->DrawPart(&canvas.dc, CRect(10, 10, 60, 40), CQVTRibbonMarkupTheme::ContextTabPart(3));
    EXPECT_EQ(RGB(73, 163, 73), canvas.At(30, 11));
    EXPECT_EQ(RGB(230, 243, 230), canvas.At(30, 30));
}

TEST_F(RibbonFlatRibbonTheme, Windows10GroupsAreaTakesTheTabsContextColour)
{
    CQVTPaintManager::SetTheme(qvtThemeNativeWindows10);
    CQVTRibbonOffice2013Theme* pTheme = RibbonTheme();
    ASSERT_NE(nullptr, dynamic_cast<CQVTRibbonThemeNativeWindows10*>(pTheme));
    CQVTRibbonTab* pTab = m_pRibbon->GetTab(0);
    const COLORREF clrBack = RGB(1, 2, 3);
    // The plain groups rectangle in its brush, a coloured one in the
    // context header's border brush (the style's coloured parts).
    DibCanvas plain(200, 60, clrBack);
    pTheme->FillGroupsArea(&plain.dc, pTab, CRect(10, 10, 190, 50));
    EXPECT_EQ(RGB(171, 171, 171), plain.At(100, 10));
    for (int nColor = 1; nColor <= 7; ++nColor)
    {
        SCOPED_TRACE(nColor);
        pTab->SetContextColor(nColor);
        DibCanvas colored(200, 60, clrBack);
        pTheme->FillGroupsArea(&colored.dc, pTab, CRect(10, 10, 190, 50));
        EXPECT_EQ(RGB(73, 163, 73), colored.At(100, 10));
    }
    pTab->SetContextColor(0);
}

TEST_F(RibbonFlatRibbonTheme, TheBandOverABackstageViewCarriesOnItsMenuAndPage)
{
    CQVTRibbonOffice2013Theme* pTheme = UseIni(_T("FLATTEST_DARK_INI"));
    ASSERT_NE(nullptr, pTheme);
    CRect rcClient;
    m_pRibbon->GetClientRect(&rcClient);
    const COLORREF clrBack = RGB(1, 2, 3);
    m_pRibbon->SetBackstageMode(TRUE, ScaleY(16), ScaleY(64));
    m_pRibbon->SetBackstageMenuWidth(120);
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), clrBack);
    pTheme->FillRibbonBar(&canvas.dc, m_pRibbon);
    const int y = ScaleY(64) - 1;
    EXPECT_EQ(RGB(40, 80, 150), canvas.At(119, y));
    EXPECT_EQ(RGB(250, 240, 230), canvas.At(120, y));
    EXPECT_EQ(RGB(250, 240, 230), canvas.At(rcClient.Width() - 1, y));
    // The view covers the rest: nothing is filled there.
    EXPECT_EQ(clrBack, canvas.At(60, ScaleY(64)));
    m_pRibbon->SetBackstageMode(FALSE);
    m_pRibbon->SetBackstageMenuWidth(0);

    DibCanvas plain(rcClient.Width(), rcClient.Height(), clrBack);
    pTheme->FillRibbonBar(&plain.dc, m_pRibbon);
    EXPECT_NE(RGB(40, 80, 150), plain.At(60, y));
    EXPECT_NE(clrBack, plain.At(60, ScaleY(64)));
}
