// The drawing routines in the skin's colours, the resource DIB loader and
// the metrics a schema makes.
#include "skin_test_support.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"

namespace {
// A bitmap resource's bytes: header (of headerSize bytes), then extra
// (masks or colours), then the pixels.
std::string RoutinesDib(int width, int height, int bits, DWORD compression, DWORD clrUsed, int headerSize,
                        const std::string& extra, const std::string& pixels)
{
    BITMAPINFOHEADER h = {};
    h.biSize = static_cast<DWORD>(headerSize);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = compression;
    h.biClrUsed = clrUsed;
    std::string data(reinterpret_cast<const char*>(&h), sizeof h);
    data.resize(static_cast<size_t>(headerSize), '\0');
    return data + extra + pixels;
}

std::string RoutinesDwords(std::initializer_list<DWORD> values)
{
    std::string s;
    for (DWORD v : values)
        s.append(reinterpret_cast<const char*>(&v), 4);
    return s;
}

COLORREF RoutinesPixel(HBITMAP hBitmap, int x, int y)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, hBitmap);
    COLORREF c = ::GetPixel(dc.m_hDC, x, y);
    ::SelectObject(dc.m_hDC, old);
    return c;
}
}  // namespace

TEST(SkinRoutines, EdgesAndFrameControlsUseTheSkinColours)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    CQVTSkinManagerMetrics* m = skin->schema->GetMetrics();
    DibCanvas canvas(10, 10);
    CRect rc(0, 0, 10, 10);
    ASSERT_TRUE(QVTSkinDrawEdge(m, canvas.dc.m_hDC, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(m->GetColor(COLOR_3DLIGHT), canvas.At(0, 5));
    EXPECT_EQ(m->GetColor(COLOR_3DLIGHT), canvas.At(5, 0));
    EXPECT_EQ(m->GetColor(COLOR_3DDKSHADOW), canvas.At(9, 5));
    EXPECT_EQ(m->GetColor(COLOR_3DDKSHADOW), canvas.At(5, 9));
    EXPECT_EQ(m->GetColor(COLOR_BTNHIGHLIGHT), canvas.At(1, 5));
    EXPECT_EQ(m->GetColor(COLOR_BTNSHADOW), canvas.At(8, 5));
    EXPECT_EQ(CRect(2, 2, 8, 8), rc);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(5, 5));

    rc = CRect(0, 0, 10, 10);
    ASSERT_TRUE(QVTSkinDrawEdge(m, canvas.dc.m_hDC, &rc, 0, BF_MIDDLE));
    EXPECT_EQ(100, canvas.CountOf(m->GetColor(COLOR_BTNFACE)));
    EXPECT_EQ(CRect(0, 0, 10, 10), rc) << "no BF_ADJUST";
    canvas.Clear(RGB(255, 255, 255));
    ASSERT_TRUE(QVTSkinDrawEdge(m, canvas.dc.m_hDC, &rc, EDGE_SUNKEN, BF_RECT | BF_MONO));
    EXPECT_EQ(m->GetColor(COLOR_WINDOWFRAME), canvas.At(0, 5));
    EXPECT_EQ(m->GetColor(COLOR_WINDOW), canvas.At(1, 5));
    EXPECT_FALSE(QVTSkinDrawEdge(m, canvas.dc.m_hDC, &rc, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE));

    // A pushed push button is sunken and filled with the face colour.
    canvas.Clear(RGB(255, 255, 255));
    rc = CRect(0, 0, 10, 10);
    ASSERT_TRUE(QVTSkinDrawFrameControl(skin->schema, canvas.dc.m_hDC, &rc, DFC_BUTTON,
                                        DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT));
    EXPECT_EQ(m->GetColor(COLOR_BTNSHADOW), canvas.At(0, 5));
    EXPECT_EQ(m->GetColor(COLOR_3DDKSHADOW), canvas.At(1, 5));
    EXPECT_EQ(m->GetColor(COLOR_BTNHIGHLIGHT), canvas.At(9, 5));
    EXPECT_EQ(m->GetColor(COLOR_BTNFACE), canvas.At(5, 5));
    EXPECT_EQ(CRect(2, 2, 8, 8), rc);
    EXPECT_FALSE(QVTSkinDrawFrameControl(skin->schema, canvas.dc.m_hDC, &rc, DFC_BUTTON, DFCS_BUTTONCHECK));
    EXPECT_FALSE(
        QVTSkinDrawFrameControl(skin->schema, canvas.dc.m_hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT));
    // Scroll arrows come from the skin's arrow strip.
    DibCanvas arrow(17, 17);
    rc = CRect(0, 0, 17, 17);
    ASSERT_TRUE(QVTSkinDrawFrameControl(skin->schema, arrow.dc.m_hDC, &rc, DFC_SCROLL, DFCS_SCROLLDOWN));
    EXPECT_EQ(RGB(0, 0, 0), arrow.At(8, 7)) << "the arrow's triangle";
    EXPECT_EQ(RGB(90, 90, 80), arrow.At(0, 8)) << "the arrow button's border";
}

TEST(SkinRoutines, DibLoaderFindsThePixelsAfterHeadersMasksAndColours)
{
    // Blue and green: pixels read from where the masks lie would be red.
    const std::string blueGreen32 = RoutinesDwords({0xFF0000FF, 0xFF00FF00});
    struct
    {
        const char* what;
        std::string data;
        BOOL alpha;
    } good[] = {
        {"plain 32-bit", RoutinesDib(2, 1, 32, BI_RGB, 0, 40, "", blueGreen32), TRUE},
        {"bit fields after a 40-byte header",
         RoutinesDib(2, 1, 32, BI_BITFIELDS, 0, 40, RoutinesDwords({0xFF0000, 0xFF00, 0xFF}), blueGreen32),
         TRUE},
        {"a 124-byte header with its masks inside",
         RoutinesDib(2, 1, 32, BI_BITFIELDS, 0, 124, "", blueGreen32), TRUE},
        {"a colour table before 24-bit pixels",
         RoutinesDib(2, 1, 24, BI_RGB, 2, 40, RoutinesDwords({1, 2}), std::string("\xFF\0\0\0\xFF\0\0\0", 8)),
         FALSE},
    };
    for (auto& c : good)
    {
        // A 124-byte header holds its masks at offset 40.
        if (c.data.size() > 124 && c.data[0] == 124)
            c.data.replace(40, 12, RoutinesDwords({0xFF0000, 0xFF00, 0xFF}));
        BOOL alpha = -1;
        HBITMAP h = QVTSkinLoadDibFromMemory(reinterpret_cast<const BYTE*>(c.data.data()),
                                             static_cast<DWORD>(c.data.size()), &alpha);
        ASSERT_TRUE(h != nullptr) << c.what;
        EXPECT_EQ(c.alpha, alpha) << c.what;
        EXPECT_EQ(RGB(0, 0, 255), RoutinesPixel(h, 0, 0)) << c.what;
        EXPECT_EQ(RGB(0, 255, 0), RoutinesPixel(h, 1, 0)) << c.what;
        ::DeleteObject(h);
    }

    // Eight bits through the palette.
    std::string palette = RoutinesDwords({0x0000FF, 0x00FF00, 0xFF0000});
    std::string eight = RoutinesDib(3, 1, 8, BI_RGB, 3, 40, palette, std::string("\x02\x01\x00\x00", 4));
    BOOL alpha = TRUE;
    HBITMAP h = QVTSkinLoadDibFromMemory(reinterpret_cast<const BYTE*>(eight.data()),
                                         static_cast<DWORD>(eight.size()), &alpha);
    ASSERT_TRUE(h != nullptr);
    EXPECT_FALSE(alpha);
    EXPECT_EQ(RGB(255, 0, 0), RoutinesPixel(h, 0, 0));
    EXPECT_EQ(RGB(0, 255, 0), RoutinesPixel(h, 1, 0));
    EXPECT_EQ(RGB(0, 0, 255), RoutinesPixel(h, 2, 0));
    ::DeleteObject(h);

    struct
    {
        const char* what;
        std::string data;
    } bad[] = {
        {"too short for its pixels", RoutinesDib(2, 2, 32, BI_RGB, 0, 40, "", blueGreen32)},
        {"a header larger than the block",
         RoutinesDib(2, 1, 32, BI_RGB, 0, 40, "", blueGreen32).replace(0, 1, "\xF0")},
        {"a header smaller than 40 bytes",
         RoutinesDib(2, 1, 32, BI_RGB, 0, 40, "", blueGreen32).replace(0, 1, "\x0C")},
        {"sizes that overflow", RoutinesDib(0x7FFFFFFF, 0x7FFFFFFF, 32, BI_RGB, 0, 40, "", blueGreen32)},
        {"no width", RoutinesDib(0, 1, 32, BI_RGB, 0, 40, "", blueGreen32)},
        {"no height", RoutinesDib(2, 0, 32, BI_RGB, 0, 40, "", blueGreen32)},
        {"a colour table larger than the bits allow",
         RoutinesDib(1, 1, 8, BI_RGB, 0x40000000, 40, "", blueGreen32)},
        {"masks cut off", RoutinesDib(2, 1, 32, BI_BITFIELDS, 0, 40, "", "")},
        {"compressed", RoutinesDib(2, 1, 8, BI_RLE8, 0, 40, palette, blueGreen32)},
        {"nothing", ""},
    };
    for (const auto& c : bad)
        EXPECT_TRUE(QVTSkinLoadDibFromMemory(reinterpret_cast<const BYTE*>(c.data.data()),
                                             static_cast<DWORD>(c.data.size()), nullptr) == nullptr)
            << c.what;
}

TEST(SkinRoutines, LightBitFieldBitmapsKeepTheirPixelsInPlace)
{
    // Wine's own bitmap loader reads the same resource: both must agree.
    auto light = SkinLoad(SkinLightPath(), u"Blue.ini");
    ASSERT_TRUE(light->ok);
    HMODULE module = light->file->GetModuleHandle();
    int compared = 0;
    for (LPCTSTR cls : {u"BUTTON", u"SCROLLBAR", u"WINDOW", u"TAB"})
        for (int part = 1; part <= 4; ++part)
        {
            CString name = light->Class(cls)->GetThemeString(part, 1, 3001);
            if (name.IsEmpty())
                continue;
            CString resource = CQVTSkinManagerResourceFile::ResourceNameOf(name);
            BOOL alpha = FALSE;
            HBITMAP ours = QVTSkinLoadDibFromResource(module, resource, &alpha);
            HBITMAP wine =
                static_cast<HBITMAP>(::LoadImageW(module, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            ASSERT_TRUE(ours != nullptr) << CStringA(name).GetString();
            ASSERT_TRUE(wine != nullptr) << CStringA(name).GetString();
            BITMAP a = {}, b = {};
            ::GetObjectW(ours, sizeof a, &a);
            ::GetObjectW(wine, sizeof b, &b);
            ASSERT_EQ(a.bmWidth, b.bmWidth);
            ASSERT_EQ(a.bmHeight, b.bmHeight);
            for (int y = 0; y < a.bmHeight; y += std::max(1, static_cast<int>(a.bmHeight) / 7))
                for (int x = 0; x < a.bmWidth; x += std::max(1, static_cast<int>(a.bmWidth) / 7))
                    ASSERT_EQ(RoutinesPixel(wine, x, y), RoutinesPixel(ours, x, y))
                        << CStringA(name).GetString() << " at " << x << "," << y;
            ::DeleteObject(ours);
            ::DeleteObject(wine);
            ++compared;
        }
    EXPECT_GE(compared, 6);
}

TEST(SkinRoutines, MetricsFollowTheSkinOrTheDefaultTable)
{
    SkinTestSite site;
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini", &site);
    CQVTSkinManagerMetrics* m = skin->schema->GetMetrics();
    CQVTDpiScaler* dpi = QVTDpiScaler();
    EXPECT_EQ(RGB(236, 233, 216), m->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(59, 110, 181), m->GetColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(dpi->ScaleY(23), m->m_cyCaption);
    EXPECT_EQ(dpi->ScaleY(18), m->m_cySmallCaption);
    EXPECT_EQ(dpi->ScaleX(17), m->m_cxVScroll);
    EXPECT_EQ(dpi->ScaleY(17), m->m_cyHScroll);
    LOGFONT lf = {};
    ASSERT_TRUE(m->m_fntCaption.GetLogFont(&lf));
    EXPECT_EQ(0, CString(lf.lfFaceName).CompareNoCase(u"TAHOMA")) << "face names ignore case";
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_EQ(CLR_INVALID, m->GetColor(31));
    EXPECT_TRUE(m->GetBrush(31) == nullptr);
    EXPECT_TRUE(m->IsMetricObject(m->m_fntCaption.GetSafeHandle()));
    EXPECT_TRUE(m->IsMetricObject(m->GetBrush(COLOR_WINDOW)));
    EXPECT_FALSE(m->IsMetricObject(::GetStockObject(WHITE_BRUSH)));

    // Without the metrics option the sizes and fonts are the system's; the colours stay.
    site.options = 0;
    skin->schema->RefreshMetrics();
    EXPECT_EQ(::GetSystemMetrics(SM_CYCAPTION), m->m_cyCaption);
    EXPECT_EQ(::GetSystemMetrics(SM_CXVSCROLL), m->m_cxVScroll);
    EXPECT_EQ(RGB(236, 233, 216), m->GetColor(COLOR_BTNFACE));

    // A skin without SYSMETRICS colours gives the default table, filtered.
    SkinTempFolder folder;
    site.filter = TRUE;
    site.options = 15;
    auto bare = SkinLoadLines(
        folder,
        {u"[Button]", u"TextColor = 1 2 3", u"[SysMetrics]", u"ScrollBarWidth = 0", u"ScrollBarHeight = 0"},
        &site);
    CQVTSkinManagerMetrics* bm = bare->schema->GetMetrics();
    for (int i = 0; i < CQVTSkinManagerMetrics::kColorCount; ++i)
    {
        COLORREF expected = CQVTSkinManagerMetrics::GetDefaultColor(i);
        site.ApplyColorFilter(&expected);
        EXPECT_EQ(expected, bm->GetColor(i)) << i;
    }
    EXPECT_EQ(dpi->ScaleY(::GetSystemMetrics(SM_CYCAPTION) + 1), bm->m_cyCaption);
    // Scroll bars of no width or height keep the system's.
    EXPECT_EQ(::GetSystemMetrics(SM_CXVSCROLL), bm->m_cxVScroll);
    EXPECT_EQ(::GetSystemMetrics(SM_CXHSCROLL), bm->m_cxHScroll);
    EXPECT_EQ(::GetSystemMetrics(SM_CYHSCROLL), bm->m_cyHScroll);
    EXPECT_EQ(::GetSystemMetrics(SM_CYVSCROLL), bm->m_cyVScroll);

    // Sizes a skin overstates are bounded.
    auto hostile = SkinLoad(SkinDataPath(u"hostile\\hostile.qvstyles"), u"");
    CQVTSkinManagerMetrics* hm = hostile->schema->GetMetrics();
    EXPECT_EQ(dpi->ScaleY(CQVTSkinManagerMetrics::kMaxCaptionHeight + 1), hm->m_cyCaption);
    EXPECT_EQ(dpi->ScaleY(2), hm->m_cySmallCaption);
    EXPECT_EQ(dpi->ScaleX(CQVTSkinManagerMetrics::kMaxScrollBarSize), hm->m_cxVScroll);
}

TEST(SkinRoutines, FrameBordersFollowTheStyleBits)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    CQVTSkinManagerSchema* schema = skin->schema;
    CQVTSkinManagerMetrics* m = schema->GetMetrics();
    CQVTDpiScaler* dpi = QVTDpiScaler();
    const int frame = m->m_nBorderWidth;
    EXPECT_EQ(dpi->ScaleX(2) + frame, schema->GetFrameBorderCount(WS_OVERLAPPEDWINDOW, 0));
    EXPECT_EQ(dpi->ScaleX(2) + dpi->ScaleX(2) + frame,
              schema->GetFrameBorderCount(WS_OVERLAPPEDWINDOW, WS_EX_WINDOWEDGE));
    EXPECT_EQ(1, schema->GetFrameBorderCount(WS_CHILD | WS_BORDER, 0));
    EXPECT_EQ(dpi->ScaleX(1) + 1, schema->GetFrameBorderCount(WS_CHILD | WS_BORDER, WS_EX_STATICEDGE));
    EXPECT_EQ(dpi->ScaleX(2) + frame, schema->GetFrameBorderCount(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0));
    EXPECT_EQ(dpi->ScaleX(2),
              schema->GetFrameBorderCount(WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_EX_TOOLWINDOW));

    const int n = schema->GetFrameBorderCount(WS_OVERLAPPEDWINDOW, 0);
    EXPECT_EQ(CRect(n, m->m_cyCaption + n, n, n), schema->CalcFrameBorders(WS_OVERLAPPEDWINDOW, 0));
    const int t = schema->GetFrameBorderCount(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(CRect(t, m->m_cySmallCaption + t, t, t),
              schema->CalcFrameBorders(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW));
    EXPECT_EQ(CRect(3, 3, 3, 3), schema->CalcFrameBorders(WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE));
    EXPECT_EQ(CRect(1 + m->m_cxEdge, 1 + m->m_cyEdge, 1 + m->m_cxEdge, 1 + m->m_cyEdge),
              schema->CalcFrameBorders(WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE, TRUE));
    CRect adjusted(0, 0, dpi->ScaleX(100), dpi->ScaleY(100));
    ::AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, FALSE, 0);
    const int b = -adjusted.left;
    EXPECT_EQ(CRect(b, b + m->m_cyCaption, b, b),
              schema->CalcFrameBorders(WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, 0));
}

TEST(SkinRoutines, WindowIconsComeFromTheWindowOrItsClass)
{
    auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
    CQVTSkinManagerSchema* schema = skin->schema;
    HICON hSmallIcon = ::LoadIconW(nullptr, IDI_QUESTION);
    WNDCLASSEXW wc = {sizeof wc};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = u"SkinIconTestClass";
    wc.hIconSm = hSmallIcon;
    ::RegisterClassExW(&wc);
    HWND withClassIcon = ::CreateWindowExW(0, u"SkinIconTestClass", u"", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                           0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND tool =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, u"SkinIconTestClass", u"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                          0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND dialogFrame = ::CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_DLGFRAME | WS_SYSMENU, 0, 0, 50, 50,
                                         nullptr, nullptr, nullptr, nullptr);
    HWND plain = ::CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(hSmallIcon, schema->GetWindowIcon(withClassIcon, TRUE));
    EXPECT_TRUE(schema->GetWindowIcon(tool, TRUE) == nullptr);
    EXPECT_EQ(hSmallIcon, schema->GetWindowIcon(tool, FALSE));
    EXPECT_TRUE(schema->GetWindowIcon(dialogFrame, FALSE) == nullptr);
    // No icon of its own: the drag icon, else the system's.
    EXPECT_TRUE(schema->GetWindowIcon(plain, TRUE) != nullptr);
    HICON big = ::LoadIconW(nullptr, IDI_WARNING);
    ::SendMessageW(plain, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    EXPECT_EQ(big, schema->GetWindowIcon(plain, TRUE));
    for (HWND h : {withClassIcon, tool, dialogFrame, plain})
        ::DestroyWindow(h);
}
