// The frames the paint managers draw, judged on DIBs: the built-in style's
// borders follow the system colours and its buttons pick their glyphs by
// width; the resource frame draws each scheme's border columns, caption
// images and a centred title; both give the window regions their look
// asks for, whatever the frame's size.
#include <afxwin.h>

#include <vector>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/color_near.h"
#include "tests/toolkit/themes/frame_test_hook.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"
#include "toolkit/themes/frame/QVTRibbonOffice2007FrameTheme.h"

namespace {

const COLORREF kFrameTestBack = RGB(1, 2, 3);

// The system colours a test changes, put back when it ends.
class FrameTestSysColors
{
public:
    FrameTestSysColors(std::initializer_list<int> indexes) : m_indexes(indexes)
    {
        for (int n : m_indexes)
            m_colors.push_back(::GetSysColor(n));
    }
    ~FrameTestSysColors()
    {
        ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_colors.data());
    }

private:
    std::vector<int> m_indexes;
    std::vector<COLORREF> m_colors;
};

struct SystemFrame
{
    SystemFrame() : pTheme(CQVTPaintManager::CreateTheme(qvtThemeOfficeXP))
    {
        pFrame = DYNAMIC_DOWNCAST(CQVTFrameThemeOffice2007System, pTheme->GetFramePaintManager());
    }
    ~SystemFrame() { pTheme->InternalRelease(); }

    CQVTPaintManager* pTheme;
    CQVTFrameThemeOffice2007System* pFrame = nullptr;
};

}  // namespace

TEST(SystemFrame, LoadsEveryPartOfTheBuiltInStyle)
{
    SystemFrame frame;
    ASSERT_NE(nullptr, frame.pFrame);
    for (int i = 0; i < CQVTFrameThemeOffice2007System::partCount; ++i)
        EXPECT_NE(nullptr, frame.pFrame->GetStylePart(i)->GetElement()) << "part " << i;
    EXPECT_EQ(nullptr, frame.pFrame->GetFramePart(6, TRUE));
    EXPECT_EQ(nullptr, frame.pFrame->GetFramePart(-1, FALSE));
}

TEST(SystemFrame, BordersFollowTheSystemColours)
{
    FrameTestSysColors saved({COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_INACTIVECAPTION,
                              COLOR_GRADIENTINACTIVECAPTION});
    SystemFrame frame;
    TestFrameHook hook(CRect(4, 30, 4, 4), CSize(200, 150));
    ASSERT_EQ(CRect(4, 4, 4, 4), frame.pFrame->CalcFrameBorders(&hook));

    const int indexes[] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_INACTIVECAPTION,
                           COLOR_GRADIENTINACTIVECAPTION};
    const COLORREF schemes[][4] = {
        {RGB(200, 20, 20), RGB(20, 180, 40), RGB(90, 90, 200), RGB(230, 200, 20)},
        {RGB(20, 40, 220), RGB(240, 120, 0), RGB(120, 0, 120), RGB(0, 160, 160)},
    };
    for (const auto& colors : schemes)
    {
        ::SetSysColors(4, indexes, colors);
        frame.pTheme->RefreshMetrics();
        for (BOOL bActive : {TRUE, FALSE})
        {
            hook.active = bActive;
            DibCanvas canvas(200, 150, kFrameTestBack);
            frame.pFrame->DrawFrame(&canvas.dc, &hook);
            const COLORREF clrOuter = colors[bActive ? 0 : 2];
            const COLORREF clrInner = colors[bActive ? 1 : 3];
            EXPECT_TRUE(NearColor(clrOuter, canvas.At(0, 90))) << bActive;
            EXPECT_TRUE(NearColor(clrInner, canvas.At(2, 90))) << bActive;
            EXPECT_TRUE(NearColor(clrOuter, canvas.At(199, 90))) << bActive;
            EXPECT_TRUE(NearColor(clrInner, canvas.At(197, 90))) << bActive;
            EXPECT_TRUE(NearColor(clrOuter, canvas.At(100, 149))) << bActive;
            // The client area is left alone.
            EXPECT_EQ(kFrameTestBack, canvas.At(100, 90));
        }
    }
}

TEST(SystemFrame, ButtonsTakeTheSmallGlyphBelow21PixelsAndRegionsRoundTheirCorners)
{
    SystemFrame frame;
    for (int nWidth : {20, 21})
    {
        DibCanvas canvas(40, 40, kFrameTestBack);
        frame.pFrame->DrawCaptionButton(&canvas.dc, CRect(0, 0, nWidth, 20), SC_MINIMIZE, FALSE, FALSE, TRUE,
                                        TRUE);
        EXPECT_EQ(nWidth < 21 ? 9 : 11, canvas.BoundsOfAllBut(kFrameTestBack).Width()) << nWidth;
    }
    // Hot and pressed buttons of no known command get their background and
    // no glyph.
    for (BOOL bPressed : {FALSE, TRUE})
    {
        DibCanvas canvas(40, 40, kFrameTestBack);
        frame.pFrame->DrawCaptionButton(&canvas.dc, CRect(0, 0, 20, 20), SC_CONTEXTHELP, TRUE, bPressed, TRUE,
                                        TRUE);
        EXPECT_TRUE(NearColor(::GetSysColor(bPressed ? COLOR_HIGHLIGHT : COLOR_GRADIENTACTIVECAPTION),
                              canvas.At(10, 10)));
        EXPECT_EQ(kFrameTestBack, canvas.At(30, 30));
    }

    // A bordered popup: the base rule would give it one pixel.
    TestFrameHook hook(CRect(4, 30, 4, 4), CSize(200, 150), WS_POPUP | WS_BORDER);
    EXPECT_EQ(CRect(4, 4, 4, 4), frame.pFrame->CalcFrameBorders(&hook));
    HRGN hRegion = frame.pFrame->CreateFrameRegion(&hook, CSize(100, 80));
    EXPECT_EQ((std::vector<CRect>{CRect(4, 0, 96, 1), CRect(2, 1, 98, 2), CRect(1, 2, 99, 4),
                                  CRect(0, 4, 100, 80)}),
              RegionRects(hRegion));
    ::DeleteObject(hRegion);
    hook.statusBarHeight = 22;
    hRegion = frame.pFrame->CreateFrameRegion(&hook, CSize(100, 80));
    EXPECT_EQ(
        (std::vector<CRect>{CRect(4, 0, 96, 1), CRect(2, 1, 98, 2), CRect(1, 2, 99, 4), CRect(0, 4, 100, 76),
                            CRect(1, 76, 99, 78), CRect(2, 78, 98, 79), CRect(4, 79, 96, 80)}),
        RegionRects(hRegion));
    ::DeleteObject(hRegion);
    ::SetWindowLongPtrW(hook.hwnd, GWL_STYLE, ::GetWindowLongPtrW(hook.hwnd, GWL_STYLE) | WS_MAXIMIZE);
    EXPECT_EQ(nullptr, frame.pFrame->CreateFrameRegion(&hook, CSize(100, 80)));
    EXPECT_EQ(CRect(1, 1, 1, 1), frame.pFrame->CalcFrameBorders(&hook));
}

TEST(FrameRegions, TinyAndHugeFramesGiveNoInvertedOrOverflowingPieces)
{
    for (BOOL bRoundBottom : {FALSE, TRUE})
    {
        for (CSize sz : {CSize(0, 0), CSize(3, 5), CSize(32000, 32000)})
        {
            HRGN hRegion = CQVTFrameThemeOffice2007System::CreateRoundedRegion(sz, bRoundBottom, 150);
            ASSERT_NE(nullptr, hRegion);
            CRect rcBox;
            ::GetRgnBox(hRegion, &rcBox);
            for (const CRect& rc : RegionRects(hRegion))
            {
                EXPECT_TRUE(CRect(0, 0, sz.cx, sz.cy).PtInRect(rc.TopLeft()) && rc.right <= sz.cx &&
                            rc.bottom <= sz.cy)
                    << sz.cx << "x" << sz.cy << " " << rc.left << "," << rc.top << "," << rc.right << ","
                    << rc.bottom;
            }
            if (sz.cx == 32000)
            {
                EXPECT_EQ(CRect(0, 0, 32000, 32000), rcBox);
            }
            ::DeleteObject(hRegion);
        }
    }
}

TEST(ResourceFrame, EachSchemeDrawsItsBorderColumnsCaptionAndCentredTitle)
{
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        ASSERT_NE(nullptr, pTheme);
        auto* pFrame = DYNAMIC_DOWNCAST(CQVTRibbonOffice2007FrameTheme, pTheme->GetFramePaintManager());
        ASSERT_NE(nullptr, pFrame);
        EXPECT_EQ(std::max(::GetSystemMetrics(SM_CYCAPTION), 17), pFrame->GetCaptionHeight());
        TestFrameHook hook(CRect(4, 30, 4, 4), CSize(240, 150));
        COLORREF captions[2] = {};
        for (BOOL bActive : {TRUE, FALSE})
        {
            hook.active = bActive;
            DibCanvas canvas(240, 150, kFrameTestBack);
            pFrame->DrawFrame(&canvas.dc, &hook);
            for (int i = 0; i < 4; ++i)
            {
                CString strKey;
                strKey.Format(bActive ? _T("BorderActive%d") : _T("BorderInactive%d"), i);
                const COLORREF clr = GetResourceImagesIniColor(_T("Window"), strKey, 0xFFFFFFFF);
                EXPECT_EQ(clr, canvas.At(i, 90)) << bActive << " column " << i;
                EXPECT_EQ(clr, canvas.At(239 - i, 90)) << bActive << " column " << i;
            }
            EXPECT_EQ(GetResourceImagesIniColor(_T("Window"),
                                                bActive ? _T("BorderActive0") : _T("BorderInactive0"), 0),
                      canvas.At(120, 149));
            EXPECT_EQ(kFrameTestBack, canvas.At(120, 90));
            captions[bActive ? 0 : 1] = canvas.At(120, 15);
            EXPECT_NE(kFrameTestBack, canvas.At(120, 15));
        }
        EXPECT_NE(captions[0], captions[1]);

        // The title, alone of what changes with the text, centred between
        // the icon and the right border.
        DibCanvas plain(240, 150, kFrameTestBack);
        DibCanvas titled(240, 150, kFrameTestBack);
        hook.active = TRUE;
        pFrame->DrawFrame(&plain.dc, &hook);
        ::SetWindowTextW(hook.hwnd, u"Centred Title");
        pFrame->DrawFrame(&titled.dc, &hook);
        ::SetWindowTextW(hook.hwnd, u"Frame");
        CRect rcText(240, 150, 0, 0);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 240; ++x)
                if (plain.At(x, y) != titled.At(x, y))
                    rcText.UnionRect(rcText.IsRectEmpty() ? CRect(x, y, x + 1, y + 1) : rcText,
                                     CRect(x, y, x + 1, y + 1));
        ASSERT_FALSE(rcText.IsRectEmpty());
        const int nTextLeft = 7 + ::GetSystemMetrics(SM_CXSMICON);
        EXPECT_NEAR((nTextLeft + 236) / 2.0, rcText.CenterPoint().x, 3.0);
    }
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
}

TEST(ResourceFrame, AMergedStatusBarStopsTheInnerColumnsAndARibbonDrawsTheCaption)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    auto* pFrame = DYNAMIC_DOWNCAST(CQVTRibbonOffice2007FrameTheme, pTheme->GetFramePaintManager());
    ASSERT_NE(nullptr, pFrame);
    TestFrameHook hook(CRect(4, 30, 4, 4), CSize(240, 150));
    const int yStatusBar = 150 - 4 - 11;
    DibCanvas plain(240, 150, kFrameTestBack);
    pFrame->DrawFrame(&plain.dc, &hook);
    EXPECT_EQ(RGB(177, 198, 225), plain.At(1, yStatusBar));
    EXPECT_EQ(0, hook.ribbonCaptionDraws);

    hook.statusBarHeight = 22;
    hook.captionVisible = FALSE;
    DibCanvas merged(240, 150, kFrameTestBack);
    pFrame->DrawFrame(&merged.dc, &hook);
    // The outer column runs the full height; the others give way to the
    // status bar's pieces.
    EXPECT_EQ(RGB(59, 90, 130), merged.At(0, yStatusBar));
    EXPECT_EQ(RGB(59, 90, 130), merged.At(239, yStatusBar));
    EXPECT_NE(RGB(177, 198, 225), merged.At(1, yStatusBar));
    EXPECT_NE(kFrameTestBack, merged.At(1, yStatusBar));
    EXPECT_EQ(RGB(177, 198, 225), merged.At(1, 60));
    // The ribbon draws its own caption over the frame's images.
    EXPECT_EQ(1, hook.ribbonCaptionDraws);
    EXPECT_EQ(plain.At(120, 15), merged.At(120, 15));
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
}

TEST(ResourceFrame, BlueBordersAndButtonGlyphsComeFromTheScheme)
{
    CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(_T("Office2007Blue.ini"));
    auto* pFrame = DYNAMIC_DOWNCAST(CQVTRibbonOffice2007FrameTheme, pTheme->GetFramePaintManager());
    ASSERT_NE(nullptr, pFrame);
    const COLORREF active[] = {RGB(59, 90, 130), RGB(177, 198, 225), RGB(194, 217, 247), RGB(176, 203, 239)};
    const COLORREF inactive[] = {RGB(192, 198, 206), RGB(204, 214, 226), RGB(212, 222, 236),
                                 RGB(204, 216, 232)};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(active[i], pFrame->m_clrBorderActive[i]);
        EXPECT_EQ(inactive[i], pFrame->m_clrBorderInactive[i]);
    }

    // Widths 14, 20 and 27 take the 13-, 17- and 23-pixel glyph sets; an
    // inactive frame's buttons their disabled frame.
    CQVTResourceImages* pImages = QVTResourceImages();
    const struct
    {
        int nWidth;
        LPCTSTR lpszGlyph;
        BOOL bActive;
        int nFrame;
    } cases[] = {
        {14, _T("FRAMECAPTIONCLOSE13"), TRUE, 0},
        {20, _T("FRAMECAPTIONCLOSE17"), TRUE, 0},
        {27, _T("FRAMECAPTIONCLOSE23"), TRUE, 0},
        {20, _T("FRAMECAPTIONCLOSE17"), FALSE, 3},
    };
    for (const auto& c : cases)
    {
        DibCanvas drawn(40, 40, kFrameTestBack);
        pFrame->DrawCaptionButton(&drawn.dc, CRect(0, 0, c.nWidth, 21), SC_CLOSE, FALSE, FALSE, TRUE,
                                  c.bActive);
        CQVTResourceImage* pGlyph = pImages->LoadFile(c.lpszGlyph);
        ASSERT_NE(nullptr, pGlyph);
        const CSize sz(ThemeTest::X(pGlyph->GetWidth()), ThemeTest::Y(pGlyph->GetSource(0, 5).Height()));
        DibCanvas expected(40, 40, kFrameTestBack);
        pGlyph->DrawFrame(&expected.dc, CRect(CPoint((c.nWidth - sz.cx) / 2, (21 - sz.cy) / 2), sz), c.nFrame,
                          5, CRect(0, 0, 0, 0), RGB(255, 0, 255));
        EXPECT_EQ(expected.BoundsOfAllBut(kFrameTestBack), drawn.BoundsOfAllBut(kFrameTestBack)) << c.nWidth;
        int nDiffer = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                nDiffer += expected.At(x, y) != drawn.At(x, y);
        EXPECT_EQ(0, nDiffer) << c.nWidth << " " << c.bActive;
    }
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
}

TEST(PaintManagerFrame, CaptionFontFollowsTheFontHeightOverride)
{
    SystemFrame frame;
    LOGFONT lf = {};
    frame.pTheme->SetFontHeight(23);
    ASSERT_TRUE(::GetObject(frame.pFrame->m_fontCaption.GetSafeHandle(), sizeof(lf), &lf));
    EXPECT_EQ(-23, lf.lfHeight);
    EXPECT_FALSE(frame.pFrame->m_fontCaption.IsStandardFont());
    frame.pTheme->SetFontHeight(0);
    EXPECT_TRUE(frame.pFrame->m_fontCaption.IsStandardFont());
    ASSERT_TRUE(::GetObject(frame.pFrame->m_fontCaption.GetSafeHandle(), sizeof(lf), &lf));
    EXPECT_NE(-23, lf.lfHeight);
}

namespace {
// The columns holding text in a colour near the given one.
CRect FrameTestInkOf(const DibCanvas& canvas, int cx, int cy, COLORREF clr)
{
    CRect rc(cx, cy, 0, 0);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            if (NearColor(clr, canvas.At(x, y), 40))
                rc.SetRect(std::min<LONG>(rc.left, x), std::min<LONG>(rc.top, y),
                           std::max<LONG>(rc.right, x + 1), std::max<LONG>(rc.bottom, y + 1));
    return rc;
}
}  // namespace

TEST(FrameCaptionText, ADocumentTitleDrawsTheFrameTitleApartInItsColourWhileActive)
{
    SystemFrame frame;
    frame.pFrame->m_clrCaptionTextActive.SetStandardValue(RGB(255, 0, 0));
    frame.pFrame->m_clrTitleTextActive.SetStandardValue(RGB(0, 0, 255));
    frame.pFrame->m_clrCaptionTextInactive.SetStandardValue(RGB(0, 160, 0));
    CFrameWnd* pFrame = new CFrameWnd();
    ASSERT_TRUE(pFrame->Create(nullptr, u"Take 12.wav - Sondrel", WS_OVERLAPPEDWINDOW | 0x4000));
    pFrame->SetTitle(u"Sondrel");

    DibCanvas active(300, 30);
    frame.pFrame->DrawCaptionText(&active.dc, CRect(0, 0, 300, 30), pFrame, TRUE);
    const CRect rcDocument = FrameTestInkOf(active, 300, 30, RGB(255, 0, 0));
    const CRect rcTitle = FrameTestInkOf(active, 300, 30, RGB(0, 0, 255));
    ASSERT_FALSE(rcDocument.IsRectEmpty());
    ASSERT_FALSE(rcTitle.IsRectEmpty());
    EXPECT_GE(rcTitle.left, rcDocument.right + 2);
    // Drawn whole, without the style, the text ends 2 pixels sooner.
    pFrame->ModifyStyle(0x4000, 0);
    DibCanvas whole(300, 30);
    frame.pFrame->DrawCaptionText(&whole.dc, CRect(0, 0, 300, 30), pFrame, TRUE);
    EXPECT_TRUE(FrameTestInkOf(whole, 300, 30, RGB(0, 0, 255)).IsRectEmpty());
    EXPECT_EQ(rcTitle.right - 2, FrameTestInkOf(whole, 300, 30, RGB(255, 0, 0)).right);
    pFrame->ModifyStyle(0, 0x4000);

    // Inactive, or mirrored, the whole text is one colour.
    DibCanvas inactive(300, 30);
    frame.pFrame->DrawCaptionText(&inactive.dc, CRect(0, 0, 300, 30), pFrame, FALSE);
    EXPECT_TRUE(FrameTestInkOf(inactive, 300, 30, RGB(0, 0, 255)).IsRectEmpty());
    EXPECT_EQ(rcTitle.right, FrameTestInkOf(inactive, 300, 30, RGB(0, 160, 0)).right);
    pFrame->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    DibCanvas mirrored(300, 30);
    frame.pFrame->DrawCaptionText(&mirrored.dc, CRect(0, 0, 300, 30), pFrame, TRUE);
    EXPECT_TRUE(FrameTestInkOf(mirrored, 300, 30, RGB(0, 0, 255)).IsRectEmpty());
    pFrame->DestroyWindow();
}
