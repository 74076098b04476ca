// Theme backgrounds drawn into 32-bit DIBs from both skins: frames by
// state, true sizes, nine-grids that shrink, tiling, border fills,
// mirroring, solid areas, and bad counts or margins that draw nothing.
#include "skin_test_support.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/images/QVTSkinImage.h"

namespace {
const COLORREF kDrawingWhite = RGB(255, 255, 255);

struct DrawingFolderSkin
{
    SkinTempFolder folder;
    std::unique_ptr<SkinLoaded> skin;
};

// Twelve by four: four red columns, four green, four blue.
std::string DrawingBands()
{
    return SkinBmp24(12, 4, [](int x, int) {
        return x < 4 ? RGB(255, 0, 0) : x < 8 ? RGB(0, 255, 0) : RGB(0, 0, 255);
    });
}

std::unique_ptr<DrawingFolderSkin> DrawingSkinWith(const std::vector<std::u16string>& lines)
{
    auto result = std::make_unique<DrawingFolderSkin>();
    result->folder.WriteBytes(u"Bands.bmp", DrawingBands());
    result->folder.WriteBytes(u"Tiles.bmp", SkinBmp24(4, 4, [](int x, int) {
                                  return x < 2 ? RGB(255, 255, 0) : RGB(0, 255, 255);
                              }));
    result->skin = SkinLoadLines(result->folder, lines);
    return result;
}

BOOL DrawingDraw(CQVTSkinManagerClass* cls, DibCanvas& canvas, int part, int state, CRect rc)
{
    return cls->DrawThemeBackground(&canvas.dc, part, state, &rc);
}
}  // namespace

TEST(SkinDrawing, PushButtonDrawsEachStateFromItsFrame)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    ASSERT_TRUE(skin->ok);
    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    const COLORREF fills[5] = {RGB(236, 233, 216), 0, RGB(30, 60, 140), RGB(200, 200, 190),
                               RGB(236, 233, 216)};
    std::vector<COLORREF> seen;
    for (int state = 1; state <= 5; ++state)
    {
        DibCanvas canvas(60, 30);
        ASSERT_TRUE(DrawingDraw(button, canvas, 1, state, CRect(0, 0, 60, 30)));
        seen.push_back(canvas.At(30, 25));
        if (fills[state - 1] != 0)
        {
            EXPECT_EQ(fills[state - 1], canvas.At(30, 25)) << "state " << state;
        }
        EXPECT_EQ(kDrawingWhite, canvas.At(0, 0)) << "magenta corners are transparent, state " << state;
        EXPECT_EQ(state == 5   ? RGB(49, 106, 197)
                  : state == 4 ? RGB(160, 160, 150)
                               : RGB(90, 90, 80),
                  canvas.At(0, 15))
            << "border of state " << state;
    }
    EXPECT_NE(seen[0], seen[1]);
    // Five frames: a state beyond them takes the first.
    DibCanvas first(60, 30), seventh(60, 30);
    DrawingDraw(button, first, 1, 1, CRect(0, 0, 60, 30));
    DrawingDraw(button, seventh, 1, 7, CRect(0, 0, 60, 30));
    EXPECT_EQ(first.CountOf(RGB(236, 233, 216)), seventh.CountOf(RGB(236, 233, 216)));
    EXPECT_EQ(first.At(30, 5), seventh.At(30, 5));

    // light.msstyles draws its own five frames, each different.
    auto light = SkinLoad(SkinLightPath(), u"Blue.ini");
    ASSERT_TRUE(light->ok);
    std::vector<std::vector<COLORREF>> lightSeen;
    for (int state = 1; state <= 5; ++state)
    {
        DibCanvas canvas(75, 23);
        ASSERT_TRUE(DrawingDraw(light->Class(u"BUTTON"), canvas, 1, state, CRect(0, 0, 75, 23)));
        EXPECT_GT(75 * 23 - canvas.CountOf(kDrawingWhite), 2 * 75) << "state " << state;
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 75; ++x)
                pixels.push_back(canvas.At(x, y));
        lightSeen.push_back(pixels);
    }
    for (int i = 1; i < 5; ++i)
        EXPECT_NE(lightSeen[0], lightSeen[i]) << "state " << i + 1;
}

TEST(SkinDrawing, TrueSizeCheckBoxIsCentredAndNotScaled)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    DibCanvas canvas(41, 41);
    ASSERT_TRUE(DrawingDraw(button, canvas, 3, 5, CRect(0, 0, 41, 41)));
    const int size = QVTDpiScaler()->ScaleX(13);
    const int at = (41 - size) / 2;
    EXPECT_EQ(CRect(at, at, at + size, at + size), canvas.BoundsOfAllBut(kDrawingWhite));

    // light.msstyles's check box: its frame, centred, never larger.
    auto light = SkinLoad(SkinLightPath(), u"Blue.ini");
    SIZE lightSize = {};
    ASSERT_TRUE(light->Class(u"BUTTON")->GetThemePartSize(3, 5, nullptr, qvtSkinSizeTrue, &lightSize));
    DibCanvas lightCanvas(61, 61);
    ASSERT_TRUE(DrawingDraw(light->Class(u"BUTTON"), lightCanvas, 3, 5, CRect(0, 0, 61, 61)));
    const CSize scaled(QVTDpiScaler()->ScaleX(lightSize.cx), QVTDpiScaler()->ScaleY(lightSize.cy));
    const CRect centred(CPoint((61 - scaled.cx) / 2, (61 - scaled.cy) / 2), scaled);
    CRect drawn = lightCanvas.BoundsOfAllBut(kDrawingWhite);
    EXPECT_FALSE(drawn.IsRectEmpty());
    EXPECT_EQ(centred, drawn | centred) << "inside the centred frame";
    EXPECT_GT(drawn.Width(), scaled.cx / 2);

    SIZE sz = {};
    ASSERT_TRUE(button->GetThemePartSize(3, 1, nullptr, qvtSkinSizeTrue, &sz));
    EXPECT_EQ(CSize(13, 13), CSize(sz));
    CRect rc(0, 0, 40, 30);
    ASSERT_TRUE(button->GetThemePartSize(1, 1, &rc, qvtSkinSizeDraw, &sz));
    EXPECT_EQ(CSize(40, 30), CSize(sz));
    ASSERT_TRUE(button->GetThemePartSize(1, 1, &rc, qvtSkinSizeTrue, &sz));
    EXPECT_EQ(CSize(18, 21), CSize(sz));
    EXPECT_FALSE(skin->Class(u"EDIT")->GetThemePartSize(1, 1, &rc, qvtSkinSizeTrue, &sz)) << "a border fill";
}

TEST(SkinDrawing, NarrowDestinationShrinksBothMarginsAndDropsTheMiddle)
{
    auto s = DrawingSkinWith({u"[Button]", u"ImageFile = Bands.bmp", u"SizingMargins = 4, 4, 0, 0"});
    CQVTSkinManagerClass* button = s->skin->Class(u"BUTTON");
    DibCanvas wide(20, 4);
    ASSERT_TRUE(DrawingDraw(button, wide, 0, 0, CRect(0, 0, 20, 4)));
    EXPECT_EQ(4, wide.CountOf(RGB(255, 0, 0)) / 4);
    EXPECT_EQ(12, wide.CountOf(RGB(0, 255, 0)) / 4);
    EXPECT_EQ(4, wide.CountOf(RGB(0, 0, 255)) / 4);

    DibCanvas narrow(6, 4);
    ASSERT_TRUE(DrawingDraw(button, narrow, 0, 0, CRect(0, 0, 6, 4)));
    EXPECT_EQ(0, narrow.CountOf(RGB(0, 255, 0)));
    EXPECT_EQ(RGB(255, 0, 0), narrow.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), narrow.At(5, 0));
    EXPECT_EQ(0, narrow.CountOf(kDrawingWhite));
}

TEST(SkinDrawing, TilingRepeatsTheSourceAndCutsTheLastCopy)
{
    auto s = DrawingSkinWith(
        {u"[Button]", u"ImageFile = Tiles.bmp", u"SizingType = Tile", u"[Edit]", u"ImageFile = Tiles.bmp"});
    DibCanvas tiled(10, 4), stretched(10, 4);
    ASSERT_TRUE(DrawingDraw(s->skin->Class(u"BUTTON"), tiled, 0, 0, CRect(0, 0, 10, 4)));
    ASSERT_TRUE(DrawingDraw(s->skin->Class(u"EDIT"), stretched, 0, 0, CRect(0, 0, 10, 4)));
    const COLORREF yellow = RGB(255, 255, 0), cyan = RGB(0, 255, 255);
    const COLORREF expected[10] = {yellow, yellow, cyan, cyan, yellow, yellow, cyan, cyan, yellow, yellow};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(expected[x], tiled.At(x, 2)) << x;
    EXPECT_EQ(cyan, stretched.At(9, 2));

    // A pattern of three by five pixels over a large area: the same picture,
    // left to right and right to left, without a seam where one large tile
    // meets the next (neither side divides its size), from a bounded number
    // of copies (counted as the records of a metafile).
    s->folder.WriteBytes(u"Dots.bmp", SkinBmp24(3, 5, [](int x, int y) { return RGB(x * 120, y * 60, 90); }));
    auto dots = SkinLoadLines(s->folder, {u"[Button]", u"ImageFile = Dots.bmp", u"SizingType = Tile"});
    for (DWORD dwLayout : {0u, static_cast<DWORD>(LAYOUT_RTL)})
    {
        DibCanvas canvas(301, 300);
        ::SetLayout(canvas.dc.m_hDC, dwLayout);
        ASSERT_TRUE(DrawingDraw(dots->Class(u"BUTTON"), canvas, 0, 0, CRect(0, 0, 300, 300)));
        int nWrong = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x)
                nWrong += canvas.At(x + (dwLayout ? 1 : 0), y) != RGB(x % 3 * 120, y % 5 * 60, 90);
        EXPECT_EQ(0, nWrong) << dwLayout;
    }
    CDC meta;
    meta.Attach(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
    CRect rcLarge(0, 0, 1200, 900);
    ASSERT_TRUE(dots->Class(u"BUTTON")->DrawThemeBackground(&meta, 0, 0, &rcLarge));
    HENHMETAFILE hMeta = ::CloseEnhMetaFile(meta.Detach());
    int nCopies = 0;
    struct Counter
    {
        static int CALLBACK Count(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
        {
            const DWORD t = pRecord->iType;
            *reinterpret_cast<int*>(lParam) +=
                t == EMR_BITBLT || t == EMR_STRETCHBLT || t == EMR_ALPHABLEND || t == EMR_STRETCHDIBITS;
            return TRUE;
        }
    };
    ::EnumEnhMetaFile(nullptr, hMeta, &Counter::Count, &nCopies, nullptr);
    ::DeleteEnhMetaFile(hMeta);
    EXPECT_GT(nCopies, 0);
    EXPECT_LE(nCopies, 64);
}

TEST(SkinDrawing, BorderFillDrawsStripsAndTheFill)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    DibCanvas canvas(20, 12, RGB(0, 0, 0));
    ASSERT_TRUE(DrawingDraw(skin->Class(u"EDIT"), canvas, 1, 1, CRect(0, 0, 20, 12)));
    const int b = QVTDpiScaler()->ScaleX(1);
    EXPECT_EQ(RGB(160, 160, 150), canvas.At(0, 5));
    EXPECT_EQ(RGB(160, 160, 150), canvas.At(19, 11));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(b, b));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(10, 6));

    auto s =
        DrawingSkinWith({u"[Edit]", u"BgType = BorderFill", u"BorderColor = 1 2 3", u"BorderSize = 3",
                         u"FillColor = 9 9 9", u"BorderOnly = True", u"[Button]", u"BgType = BorderFill",
                         u"BorderSize = 999999", u"BorderColor = 1 2 3", u"[Listbox]", u"BgType = None"});
    DibCanvas only(20, 12, RGB(0, 0, 0));
    ASSERT_TRUE(DrawingDraw(s->skin->Class(u"EDIT"), only, 0, 0, CRect(0, 0, 20, 12)));
    EXPECT_EQ(RGB(1, 2, 3), only.At(QVTDpiScaler()->ScaleX(3) - 1, 6));
    EXPECT_EQ(RGB(0, 0, 0), only.At(10, 6)) << "border only";
    DibCanvas none(20, 12, RGB(0, 0, 0));
    EXPECT_TRUE(DrawingDraw(s->skin->Class(u"LISTBOX"), none, 0, 0, CRect(0, 0, 20, 12)));
    EXPECT_EQ(0, 240 - none.CountOf(RGB(0, 0, 0)));
    DibCanvas huge(20, 12, RGB(0, 0, 0));
    EXPECT_TRUE(DrawingDraw(s->skin->Class(u"BUTTON"), huge, 0, 0, CRect(0, 0, 20, 12)));
}

TEST(SkinDrawing, MirroredDCMirrorsTheBitmapOnceAndBack)
{
    auto s = DrawingSkinWith(
        {u"[Button]", u"ImageFile = Bands.bmp", u"[Edit]", u"ImageFile = Bands.bmp", u"MirrorImage = False"});
    CQVTSkinManagerClass* button = s->skin->Class(u"BUTTON");
    CQVTSkinImage* image = button->GetImage(u"BANDS.BMP");
    DibCanvas ltr(12, 4);
    ASSERT_TRUE(DrawingDraw(button, ltr, 0, 0, CRect(0, 0, 12, 4)));
    ASSERT_TRUE(image != nullptr);
    EXPECT_FALSE(image->IsMirrored());

    DibCanvas rtl(12, 4);
    ::SetLayout(rtl.dc.m_hDC, LAYOUT_RTL);
    ASSERT_TRUE(DrawingDraw(button, rtl, 0, 0, CRect(0, 0, 12, 4)));
    EXPECT_TRUE(image->IsMirrored());
    // The right-to-left copy flips the mirror image back: the picture keeps
    // its orientation, while a part that may not be mirrored shows flipped.
    EXPECT_EQ(RGB(255, 0, 0), rtl.At(0, 1));
    EXPECT_EQ(RGB(0, 0, 255), rtl.At(11, 1));
    DibCanvas rtlFixed(12, 4);
    ::SetLayout(rtlFixed.dc.m_hDC, LAYOUT_RTL);
    ASSERT_TRUE(DrawingDraw(s->skin->Class(u"EDIT"), rtlFixed, 0, 0, CRect(0, 0, 12, 4)));
    EXPECT_EQ(RGB(0, 0, 255), rtlFixed.At(0, 1));
    DibCanvas again(12, 4);
    ASSERT_TRUE(DrawingDraw(button, again, 0, 0, CRect(0, 0, 12, 4)));
    EXPECT_FALSE(image->IsMirrored());
    EXPECT_EQ(RGB(255, 0, 0), again.At(0, 1));
}

TEST(SkinDrawing, UniformAreasAreFoundOnceAndFilled)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    CQVTSkinManagerClass* tab = skin->Class(u"TAB");
    DibCanvas canvas(40, 40, RGB(0, 0, 0));
    ASSERT_TRUE(DrawingDraw(tab, canvas, 9, 1, CRect(0, 0, 40, 40)));
    CQVTSkinImage* pane = tab->GetImage(u"BLUE\\TABPANE.BMP");
    ASSERT_TRUE(pane != nullptr);
    bool found = false;
    for (const auto& solid : pane->GetSolidRects())
        found |= CRect(solid.rc) == CRect(2, 2, 7, 7) && solid.clr == RGB(255, 255, 255);
    EXPECT_TRUE(found);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(20, 20));
    EXPECT_EQ(40 * 40 - 156, canvas.CountOf(RGB(255, 255, 255))) << "a one-pixel border around one colour";
}

TEST(SkinDrawing, BadCountsAndMarginsDrawNothing)
{
    auto skin = SkinLoad(SkinDataPath(u"hostile\\hostile.qvstyles"), u"");
    ASSERT_TRUE(skin->ok);
    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    struct
    {
        int part;
        const char* what;
    } cases[] = {{3, "negative horizontal margins"},
                 {2, "a million frames in eight pixels"},
                 {4, "horizontal margins wider than the frame"},
                 {5, "vertical margins taller than the frame"}};
    for (const auto& c : cases)
    {
        DibCanvas canvas(30, 30);
        DrawingDraw(button, canvas, c.part, 1, CRect(0, 0, 30, 30));
        EXPECT_EQ(30 * 30, canvas.CountOf(kDrawingWhite)) << c.what;
    }
    // IMAGECOUNT 0 and negative read as one frame.
    auto s = DrawingSkinWith({u"[Button]", u"ImageFile = Bands.bmp", u"ImageCount = -3", u"[Edit]",
                              u"ImageFile = Bands.bmp", u"ImageCount = 0", u"SizingMargins = 1, 1, -1, 0"});
    DibCanvas negative(12, 4), zero(12, 4), margins(12, 4);
    EXPECT_TRUE(DrawingDraw(s->skin->Class(u"BUTTON"), negative, 0, 1, CRect(0, 0, 12, 4)));
    EXPECT_EQ(RGB(0, 0, 255), negative.At(11, 0));
    // A negative vertical margin draws nothing either.
    DrawingDraw(s->skin->Class(u"EDIT"), margins, 0, 1, CRect(0, 0, 12, 4));
    EXPECT_EQ(48, margins.CountOf(kDrawingWhite));

    // The close button's fifty frames in eight pixels have no proportions.
    CQVTSkinManagerClass* window = skin->Class(u"WINDOW");
    EXPECT_EQ(CSize(22, 22), skin->schema->GetCaptionButtonSize(window, 22));
}

TEST(SkinDrawing, CaptionButtonKeepsTheImageProportions)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    // 21 by 21 frames: width = 21 * h / 21 + (21 - 21) * 4 / 21.
    EXPECT_EQ(CSize(18, 18), skin->schema->GetCaptionButtonSize(skin->Class(u"WINDOW"), 18));
    auto s = DrawingSkinWith({u"[Window.CloseButton]", u"ImageFile = Bands.bmp"});
    // 12 by 4: 12 * 20 / 4 + 8 * 4 / 4.
    EXPECT_EQ(CSize(68, 20), s->skin->schema->GetCaptionButtonSize(s->skin->Class(u"WINDOW"), 20));
    auto edit = DrawingSkinWith({u"[Window.CloseButton]", u"BgType = BorderFill"});
    EXPECT_EQ(CSize(20, 20), edit->skin->schema->GetCaptionButtonSize(edit->skin->Class(u"WINDOW"), 20));
}

TEST(SkinDrawing, TextTakesTheSkinColourAndItsShadow)
{
    auto s = DrawingSkinWith({u"[Button]", u"TextColor = 255 0 0", u"TextShadowType = Single",
                              u"TextShadowOffset = 2, 2", u"TextShadowColor = 0 0 255", u"[Edit]",
                              u"TextColor = 0 128 0"});
    DibCanvas canvas(80, 30);
    ::SelectObject(canvas.dc.m_hDC, ::GetStockObject(SYSTEM_FONT));
    CRect rc(0, 0, 80, 30);
    ASSERT_TRUE(s->skin->Class(u"BUTTON")->DrawThemeText(&canvas.dc, 0, 0, u"MMMM", DT_SINGLELINE, &rc));
    EXPECT_GT(canvas.CountOf(RGB(255, 0, 0)), 10);
    EXPECT_GT(canvas.CountOf(RGB(0, 0, 255)), 5);
    DibCanvas plain(80, 30);
    ::SelectObject(plain.dc.m_hDC, ::GetStockObject(SYSTEM_FONT));
    ASSERT_TRUE(s->skin->Class(u"EDIT")->DrawThemeText(&plain.dc, 0, 0, u"MMMM", DT_SINGLELINE, &rc));
    EXPECT_GT(plain.CountOf(RGB(0, 128, 0)), 10);
    EXPECT_EQ(0, plain.CountOf(RGB(0, 0, 255))) << "no shadow";
    EXPECT_EQ(kDrawingWhite, plain.At(79, 29)) << "no background";
}

TEST(SkinDrawing, ColourFiltersRewriteTheImageOnce)
{
    SkinTestSite site;
    site.filter = TRUE;
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini", &site);
    CQVTSkinManagerClass* button = skin->Class(u"BUTTON");
    DibCanvas canvas(60, 30);
    ASSERT_TRUE(DrawingDraw(button, canvas, 1, 3, CRect(0, 0, 60, 30)));
    EXPECT_EQ(RGB(140, 60, 30), canvas.At(30, 25)) << "the pressed fill with red and blue swapped";
    EXPECT_EQ(RGB(80, 90, 90), canvas.At(0, 15)) << "the border, drawn from the bitmap";
    EXPECT_EQ(kDrawingWhite, canvas.At(0, 0)) << "the transparent colour is left alone";
    const int calls = site.calls;
    DibCanvas again(60, 30);
    ASSERT_TRUE(DrawingDraw(button, again, 1, 3, CRect(0, 0, 60, 30)));
    EXPECT_EQ(RGB(80, 90, 90), again.At(0, 15)) << "filtered once, not twice";
    EXPECT_LT(site.calls - calls, 100) << "the pixels are not filtered again";
}
