// Drawing helpers: colour arithmetic against worked examples, gradients
// drawn into 32-bit DIBs (exact on the hand-drawn path, which the tests
// force), shapes and clipping, text fitting, mnemonics and the
// right-to-left and window helpers on real windows.
#include <afxwin.h>

#include <cstdlib>

#include "dib_canvas.h"
#include "draw_colours.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

// The helpers with msimg32 unbound: every gradient is drawn by hand.
class ManualGradients : public ::testing::Test
{
protected:
    ManualGradients() { helpers.m_pfnGradientFill = nullptr; }
    CQVTDrawHelpers helpers;
};

namespace {

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

TEST(DrawHelpersColor, BlendDarkenLightenAndRounding)
{
    EXPECT_EQ(RGB(127, 0, 127), CQVTDrawHelpers::BlendColors(kRed, kBlue, 0.5));
    EXPECT_EQ(kRed, CQVTDrawHelpers::BlendColors(kRed, kBlue, 1.0));
    EXPECT_EQ(RGB(76, 0, 178), CQVTDrawHelpers::BlendColors(kRed, kBlue, 0.3));
    // Factors outside 0..1 stay within the channel range.
    EXPECT_EQ(RGB(255, 0, 0), CQVTDrawHelpers::BlendColors(kRed, kBlue, 2.0));
    EXPECT_EQ(RGB(204, 204, 204), CQVTDrawHelpers::DarkenColor(51, kWhite));
    EXPECT_EQ(RGB(51, 51, 51), CQVTDrawHelpers::LightenColor(51, RGB(0, 0, 0)));
    EXPECT_EQ(RGB(40, 255, 140), CQVTDrawHelpers::LightenColor(0, RGB(40, 255, 140)));

    EXPECT_EQ(3, RoundToInt(2.5));
    EXPECT_EQ(-3, RoundToInt(-2.5));
    EXPECT_EQ(2, RoundToInt(2.49));
    EXPECT_EQ(-2, RoundToInt(-2.49));
}

TEST(DrawHelpersColor, HueLightnessSaturation)
{
    const DWORD grey = RGBToHLS(RGB(100, 100, 100));
    EXPECT_EQ(239u, grey & 0xFF);
    EXPECT_EQ(0u, (grey >> 8) & 0xFF);
    EXPECT_EQ(94u, (grey >> 16) & 0xFF);
    EXPECT_EQ(RGB(127, 127, 127), HLSToRGB(120u << 16));
    EXPECT_EQ(0x0078EF00u, RGBToHLS(kRed));  // hue 0, saturation 239, lightness 120
    EXPECT_EQ(RGB(254, 0, 0), HLSToRGB(0x0078F000u));

    // Round trips stay near: the integer hue scale loses up to two hue steps,
    // which at full saturation moves a channel by about a dozen.
    const COLORREF samples[] = {kRed,
                                RGB(0, 255, 0),
                                kBlue,
                                RGB(255, 255, 0),
                                RGB(30, 90, 200),
                                RGB(200, 60, 10),
                                RGB(250, 240, 230),
                                RGB(5, 10, 40)};
    for (COLORREF sample : samples)
    {
        const COLORREF back = HLSToRGB(RGBToHLS(sample));
        EXPECT_TRUE(Near(sample, back, 16)) << std::hex << sample << " came back as " << back;
    }
}

TEST(DrawHelpersGradient, BoundGradientRunsFromColourToColour)
{
    ASSERT_NE(nullptr, QVTDrawHelpers()->m_pfnGradientFill);
    DibCanvas canvas(100, 10);
    QVTDrawHelpers()->GradientFill(&canvas.dc, CRect(0, 0, 100, 10), kRed, kBlue, TRUE);
    EXPECT_TRUE(Near(kRed, canvas.At(0, 5), 3));
    EXPECT_TRUE(Near(kBlue, canvas.At(99, 5), 3));
    EXPECT_TRUE(Near(RGB(127, 0, 127), canvas.At(50, 5), 3));
    for (int x = 1; x < 100; ++x)
        EXPECT_LE(GetRValue(canvas.At(x, 0)), GetRValue(canvas.At(x - 1, 0)));
    EXPECT_EQ(canvas.At(37, 0), canvas.At(37, 9));
}

TEST_F(ManualGradients, ColumnsAndRowsAreExactBlends)
{
    DibCanvas canvas(100, 20);
    helpers.GradientFill(&canvas.dc, CRect(0, 0, 100, 10), kRed, kBlue, TRUE);
    for (int x = 0; x < 100; ++x)
    {
        const COLORREF expected = CQVTDrawHelpers::BlendColors(kRed, kBlue, 1.0 - x / 100.0);
        ASSERT_EQ(expected, canvas.At(x, 0)) << "column " << x;
        ASSERT_EQ(expected, canvas.At(x, 9)) << "column " << x;
    }
    EXPECT_EQ(100 * 10, canvas.CountOf(kWhite));

    canvas.Clear(kWhite);
    helpers.GradientFill(&canvas.dc, CRect(10, 0, 20, 20), kRed, kBlue, FALSE);
    for (int y = 0; y < 20; ++y)
        ASSERT_EQ(CQVTDrawHelpers::BlendColors(kRed, kBlue, 1.0 - y / 20.0), canvas.At(15, y));
    EXPECT_EQ(kWhite, canvas.At(9, 5));
    EXPECT_EQ(kWhite, canvas.At(20, 5));

    // Only the clip box is painted, with the colours of the whole gradient.
    canvas.Clear(kWhite);
    canvas.dc.IntersectClipRect(30, 0, 40, 20);
    helpers.GradientFill(&canvas.dc, CRect(0, 0, 100, 20), kRed, kBlue, TRUE);
    EXPECT_EQ(100 * 20 - 10 * 20, canvas.CountOf(kWhite));
    EXPECT_EQ(CQVTDrawHelpers::BlendColors(kRed, kBlue, 0.7), canvas.At(30, 3));
}

TEST_F(ManualGradients, EqualColoursEmptyRectanglesAndNullDCs)
{
    DibCanvas canvas(20, 20);
    helpers.GradientFill(&canvas.dc, CRect(2, 2, 12, 7), kBlue, kBlue, TRUE);
    EXPECT_EQ(50, canvas.CountOf(kBlue));
    helpers.GradientFill(&canvas.dc, CRect(5, 5, 5, 15), kRed, kBlue, TRUE);
    helpers.GradientFill(&canvas.dc, nullptr, kRed, kBlue, TRUE);
    helpers.GradientFill(nullptr, CRect(0, 0, 5, 5), kRed, kBlue, TRUE);
    helpers.GradientFillClipped(&canvas.dc, CRect(5, 5, 5, 15), kRed, kBlue, TRUE, CRect(0, 0, 20, 20));
    EXPECT_EQ(400 - 50, canvas.CountOf(kWhite));
}

TEST_F(ManualGradients, ClippedGradientShowsTheSliceOfTheWhole)
{
    DibCanvas full(100, 10), clipped(100, 10);
    helpers.GradientFill(&full.dc, CRect(0, 0, 100, 10), kRed, kBlue, TRUE);
    const CRect clip(50, 0, 100, 10);
    helpers.GradientFillClipped(&clipped.dc, CRect(0, 0, 100, 10), kRed, kBlue, TRUE, clip);
    EXPECT_EQ(50 * 10, clipped.CountOf(kWhite));
    EXPECT_EQ(CQVTDrawHelpers::BlendColors(kRed, kBlue, 0.5), clipped.At(50, 0));
    for (int x = 50; x < 100; ++x)
        EXPECT_TRUE(Near(full.At(x, 4), clipped.At(x, 4), 2)) << "column " << x;

    // Vertically, and clipped at both ends.
    DibCanvas fullV(10, 100), clippedV(10, 100);
    helpers.GradientFill(&fullV.dc, CRect(0, 0, 10, 100), kRed, kBlue, FALSE);
    helpers.GradientFillClipped(&clippedV.dc, CRect(0, 0, 10, 100), kRed, kBlue, FALSE, CRect(2, 20, 8, 60));
    EXPECT_EQ(kWhite, clippedV.At(5, 19));
    EXPECT_EQ(kWhite, clippedV.At(1, 30));
    EXPECT_EQ(kWhite, clippedV.At(5, 60));
    for (int y = 20; y < 60; ++y)
        EXPECT_TRUE(Near(fullV.At(5, y), clippedV.At(5, y), 2)) << "row " << y;

    // No overlap, nothing drawn.
    DibCanvas none(100, 10);
    helpers.GradientFillClipped(&none.dc, CRect(0, 0, 40, 10), kRed, kBlue, TRUE, CRect(50, 0, 100, 10));
    EXPECT_EQ(100 * 10, none.CountOf(kWhite));
}

TEST_F(ManualGradients, FactorSplitsTheGradientAtItsBlend)
{
    CQVTPaintManagerColorGradient gradient;
    gradient.SetStandardValues(kRed, kBlue, 0.5f);
    DibCanvas single(100, 4), direct(100, 4);
    helpers.GradientFillWithFactor(&single.dc, CRect(0, 0, 100, 4), gradient, TRUE);
    helpers.GradientFill(&direct.dc, CRect(0, 0, 100, 4), kRed, kBlue, TRUE);
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(direct.At(x, 1), single.At(x, 1));

    gradient.SetStandardValues(kRed, kBlue, 0.3f);
    gradient.clrDark.SetCustomValue(RGB(0, 255, 0));
    DibCanvas twoHalves(101, 4);
    helpers.GradientFillWithFactor(&twoHalves.dc, CRect(0, 0, 101, 4), gradient, TRUE);
    const COLORREF middle = CQVTDrawHelpers::BlendColors(kRed, RGB(0, 255, 0), 0.3f);
    // Split at right - width / 2 = 51: the second half starts at the blend.
    EXPECT_EQ(kRed, twoHalves.At(0, 0));
    EXPECT_EQ(middle, twoHalves.At(51, 0));
    EXPECT_TRUE(Near(middle, twoHalves.At(50, 0), 6));
    EXPECT_TRUE(Near(RGB(0, 255, 0), twoHalves.At(100, 0), 6));
}

TEST(DrawHelpersShapes, LinesTrianglesBordersAndCorners)
{
    DibCanvas canvas(32, 32);
    const HGDIOBJ originalPen = ::GetCurrentObject(canvas.dc.m_hDC, OBJ_PEN);
    EXPECT_TRUE(CQVTDrawHelpers::DrawLine(&canvas.dc, 2, 1, 10, 1, kRed));
    EXPECT_TRUE(CQVTDrawHelpers::DrawLineRelative(&canvas.dc, 2, 3, 0, 5, kBlue));
    EXPECT_FALSE(CQVTDrawHelpers::DrawLine(nullptr, 0, 0, 1, 1, kRed));
    EXPECT_EQ(8, canvas.CountOf(kRed));  // the end point is not drawn
    EXPECT_EQ(kRed, canvas.At(9, 1));
    EXPECT_EQ(kWhite, canvas.At(10, 1));
    EXPECT_EQ(5, canvas.CountOf(kBlue));
    EXPECT_EQ(originalPen, ::GetCurrentObject(canvas.dc.m_hDC, OBJ_PEN));

    canvas.Clear(kWhite);
    CQVTDrawHelpers::DrawTriangle(&canvas.dc, CPoint(0, 0), CPoint(20, 0), CPoint(0, 20), kRed, kBlue);
    EXPECT_EQ(kRed, canvas.At(0, 0));
    EXPECT_EQ(kBlue, canvas.At(5, 5));
    EXPECT_EQ(kWhite, canvas.At(15, 15));
    CQVTDrawHelpers::DrawTriangle(&canvas.dc, CPoint(20, 20), CPoint(30, 20), CPoint(20, 30), kRed);
    EXPECT_EQ(kRed, canvas.At(22, 22));

    canvas.Clear(kWhite);
    CQVTDrawHelpers::FillRectWithBorder(&canvas.dc, CRect(4, 4, 14, 10), kRed, kBlue);
    EXPECT_EQ(2 * 10 + 2 * 4, canvas.CountOf(kRed));
    EXPECT_EQ(8 * 4, canvas.CountOf(kBlue));
    EXPECT_EQ(kBlue, canvas.At(5, 5));

    canvas.Clear(kWhite);
    const int saved = canvas.dc.SaveDC();
    CQVTDrawHelpers::ExcludeCorners(&canvas.dc, CRect(0, 0, 10, 10), TRUE);
    canvas.dc.FillSolidRect(0, 0, 10, 10, kRed);
    canvas.dc.RestoreDC(saved);
    EXPECT_EQ(kWhite, canvas.At(0, 0));
    EXPECT_EQ(kWhite, canvas.At(9, 0));
    EXPECT_EQ(kRed, canvas.At(0, 9));
    EXPECT_EQ(100 - 2, canvas.CountOf(kRed));
    CQVTDrawHelpers::ExcludeCorners(&canvas.dc, CRect(0, 0, 10, 10), FALSE);
    canvas.dc.FillSolidRect(0, 0, 10, 10, kBlue);
    EXPECT_EQ(100 - 4, canvas.CountOf(kBlue));
}

TEST(DrawHelpersShapes, SameParityRectangles)
{
    EXPECT_EQ(CRect(0, 0, 6, 4), CQVTDrawHelpers::MakeSameParityRect(CRect(0, 0, 7, 4)));
    EXPECT_EQ(CRect(0, 0, 4, 6), CQVTDrawHelpers::MakeSameParityRect(CRect(0, 0, 4, 7)));
    // Odd width under a larger even height: left column and bottom row go too.
    EXPECT_EQ(CRect(11, 10, 14, 17), CQVTDrawHelpers::MakeSameParityRect(CRect(10, 10, 15, 18)));
    // Even width over a smaller odd height: top row and right column go too.
    EXPECT_EQ(CRect(0, 1, 7, 4), CQVTDrawHelpers::MakeSameParityRect(CRect(0, 0, 8, 5)));
    EXPECT_EQ(CRect(0, 0, 5, 9), CQVTDrawHelpers::MakeSameParityRect(CRect(0, 0, 5, 9)));
}

TEST(DrawHelpersShapes, BitmapMaskColourAndMaskedIcon)
{
    DibCanvas canvas(8, 8, RGB(255, 0, 255));
    canvas.dc.SetPixel(3, 3, kBlue);
    HBITMAP hBitmap = static_cast<HBITMAP>(canvas.bitmap.m_hObject);
    // Read through a DC of its own, so take the bitmap out of the canvas first.
    HGDIOBJ hHeld = ::SelectObject(canvas.dc.m_hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SelectObject(canvas.dc.m_hDC, hHeld);
    CBitmap copy;
    copy.Attach(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0));
    EXPECT_EQ(RGB(255, 0, 255), CQVTDrawHelpers::GetBitmapMaskColor(copy));
    EXPECT_EQ(CLR_INVALID,
              CQVTDrawHelpers::GetBitmapMaskColor(reinterpret_cast<HBITMAP>(::GetStockObject(WHITE_BRUSH))));

    HICON hIcon = CQVTDrawHelpers::IconFromBitmapMasked(copy);
    ASSERT_NE(nullptr, hIcon);
    EXPECT_EQ(nullptr, CQVTDrawHelpers::IconFromBitmapMasked(nullptr));
    DibCanvas target(8, 8, RGB(0, 255, 0));
    ::DrawIconEx(target.dc.m_hDC, 0, 0, hIcon, 8, 8, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(RGB(0, 255, 0), target.At(0, 0));  // the mask colour is transparent
    EXPECT_EQ(kBlue, target.At(3, 3));
    ::DestroyIcon(hIcon);
}

TEST(DrawHelpersText, MnemonicsAreStripped)
{
    CString text(_T("&File"));
    StripMnemonics(text);
    EXPECT_TRUE(text == _T("File")) << CStringA(text).GetString();
    text = _T("Save && &Close");
    StripMnemonics(text);
    EXPECT_TRUE(text == _T("Save & Close")) << CStringA(text).GetString();
    text = _T("&&&x&");
    StripMnemonics(text);
    EXPECT_TRUE(text == _T("&x")) << CStringA(text).GetString();

    TCHAR buffer[] = _T("E&xit && &Quit");
    CQVTDrawHelpers::StripMnemonicsInPlace(buffer);
    EXPECT_TRUE(CString(buffer) == _T("Exit & Quit"));
}

TEST(DrawHelpersText, FittedHeightIsTheLargestThatFits)
{
    DibCanvas canvas(200, 60);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, CQVTDrawHelpers::GetDefaultFontFace(TRUE), &canvas.dc));
    LOGFONT lf = {};
    font.GetLogFont(&lf);
    auto extentAt = [&](int height) {
        LOGFONT sized = lf;
        sized.lfHeight = height;
        CFont probe;
        probe.CreateFontIndirect(&sized);
        CFont* old = canvas.dc.SelectObject(&probe);
        CSize size = canvas.dc.GetTextExtent(_T("Recorder"), 8);
        canvas.dc.SelectObject(old);
        return size;
    };
    const CRect rects[] = {CRect(0, 0, 120, 30), CRect(0, 0, 40, 40), CRect(5, 5, 185, 25)};
    for (const CRect& rect : rects)
    {
        const CRect fitted = CQVTDrawHelpers::MakeSameParityRect(rect);
        const int height = CQVTDrawHelpers::FitFontHeightToRect(&canvas.dc, _T("Recorder"), 8, rect, &font);
        ASSERT_GT(height, 0);
        const CSize at = extentAt(height), above = extentAt(height + 1);
        EXPECT_LE(at.cx, fitted.Width());
        EXPECT_LE(at.cy, fitted.Height());
        EXPECT_TRUE(above.cx >= fitted.Width() || above.cy >= fitted.Height()) << "height " << height;
    }
    EXPECT_EQ(0,
              CQVTDrawHelpers::FitFontHeightToRect(&canvas.dc, _T("Recorder"), 8, CRect(0, 0, 1, 1), &font));
    EXPECT_EQ(0,
              CQVTDrawHelpers::FitFontHeightToRect(&canvas.dc, _T("Recorder"), 8, CRect(0, 0, 0, 10), &font));
}

TEST(DrawHelpersText, TextWithColorsAndFittedTextLeaveTheDCAsItWas)
{
    DibCanvas canvas(120, 40);
    canvas.dc.SetTextColor(RGB(1, 2, 3));
    canvas.dc.SetBkColor(RGB(4, 5, 6));
    canvas.dc.SetBkMode(TRANSPARENT);
    CFont font;
    font.CreatePointFont(100, CQVTDrawHelpers::GetDefaultFontFace(FALSE), &canvas.dc);
    const HGDIOBJ originalFont = ::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT);
    CRect rect(0, 0, 120, 20);
    EXPECT_GT(CQVTDrawHelpers::DrawTextWithColors(&canvas.dc, &font, _T("Level"), -1, rect, DT_SINGLELINE,
                                                  kRed, kBlue),
              0);
    EXPECT_GT(canvas.CountOf(kBlue), 0);  // opaque background behind the text
    EXPECT_GT(canvas.CountOf(kRed), 0);
    EXPECT_EQ(RGB(1, 2, 3), canvas.dc.GetTextColor());
    EXPECT_EQ(RGB(4, 5, 6), canvas.dc.GetBkColor());
    EXPECT_EQ(TRANSPARENT, canvas.dc.GetBkMode());
    EXPECT_EQ(originalFont, ::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT));

    canvas.Clear(kWhite);
    CRect box(10, 20, 110, 40);
    EXPECT_GT(CQVTDrawHelpers::DrawFittedText(&canvas.dc, CQVTDrawHelpers::GetDefaultFontFace(FALSE), 0,
                                              _T("Mic"), 3, box, 0, kRed),
              0);
    const CRect inked = canvas.BoundsOfAllBut(kWhite);
    EXPECT_FALSE(inked.IsRectEmpty());
    EXPECT_TRUE(box.PtInRect(inked.TopLeft()));
    EXPECT_TRUE(box.PtInRect(CPoint(inked.right - 1, inked.bottom - 1)));
    EXPECT_EQ(originalFont, ::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT));
}

int CALLBACK FirstFamily(const LOGFONTW* pLogFont, const TEXTMETRICW*, DWORD, LPARAM lParam)
{
    *reinterpret_cast<CString*>(lParam) = pLogFont->lfFaceName;
    return 0;
}

TEST(DrawHelpersText, FontFaces)
{
    EXPECT_FALSE(CQVTDrawHelpers::FontFaceExists(_T("No Such Face At All")));
    // Any installed family is found, whatever the case of its name.
    LOGFONTW any = {};
    any.lfCharSet = DEFAULT_CHARSET;
    CString installed;
    HDC hScreen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(hScreen, &any, FirstFamily, reinterpret_cast<LPARAM>(&installed), 0);
    ::ReleaseDC(nullptr, hScreen);
    ASSERT_FALSE(installed.IsEmpty());
    installed.MakeUpper();
    EXPECT_TRUE(CQVTDrawHelpers::FontFaceExists(installed));
    if (CQVTDrawHelpers::FontFaceExists(_T("Tahoma")))
    {
        EXPECT_TRUE(CQVTDrawHelpers::GetDefaultFontFace(TRUE) == _T("Tahoma"));
    }
    // Arial when installed, else the GUI font's own face.
    LOGFONTW gui = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    const CString face = CQVTDrawHelpers::GetDefaultFontFace(FALSE);
    if (CQVTDrawHelpers::FontFaceExists(_T("Arial")))
        EXPECT_TRUE(face == _T("Arial"));
    else
        EXPECT_TRUE(face == CString(gui.lfFaceName));
    LOGFONTW lf;
    ASSERT_TRUE(CQVTDrawHelpers::GetIconTitleLogFont(&lf));
    EXPECT_NE(0, lf.lfFaceName[0]);
    EXPECT_EQ(CLEARTYPE_QUALITY, lf.lfQuality);
}

namespace {

LRESULT CALLBACK TestWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static const WCHAR kOverride[] = u"from the procedure";
    switch (message)
    {
    case WM_GETTEXT:
        lstrcpynW(reinterpret_cast<LPWSTR>(lParam), kOverride, static_cast<int>(wParam));
        return lstrlenW(reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return lstrlenW(kOverride);
    case WM_PAINT:
    {
        ++*reinterpret_cast<int*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        PAINTSTRUCT ps;
        ::BeginPaint(hWnd, &ps);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND MakeWindow(DWORD dwExStyle, int* pPaints = nullptr, DWORD dwStyle = 0)
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = u"DrawHelpersTestWindow";
        ::RegisterClassW(&wc);
        registered = true;
    }
    HWND hWnd = ::CreateWindowExW(dwExStyle, u"DrawHelpersTestWindow", u"", WS_POPUP | dwStyle, 100, 50, 200,
                                  120, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (pPaints)
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pPaints));
    return hWnd;
}

}  // namespace

TEST(DrawHelpersWindows, RightToLeftTestsAndMirroring)
{
    CWnd rtl, ltr;
    rtl.Attach(MakeWindow(WS_EX_LAYOUTRTL));
    ltr.Attach(MakeWindow(WS_EX_LEFTSCROLLBAR));
    EXPECT_TRUE(IsLayoutRTLOrLeftScrollWnd(&rtl));
    EXPECT_TRUE(IsLayoutRTLOrLeftScrollWnd(&ltr));
    EXPECT_TRUE(IsRtlReadingWnd(&rtl));
    EXPECT_FALSE(IsRtlReadingWnd(&ltr));
    ::SetWindowLongW(rtl.m_hWnd, GWL_EXSTYLE, WS_EX_LAYOUTRTL | WS_EX_RTLREADING);
    EXPECT_FALSE(IsRtlReadingWnd(&rtl));  // both flags: they cancel out
    ::SetWindowLongW(rtl.m_hWnd, GWL_EXSTYLE, WS_EX_LAYOUTRTL);

    UINT key = VK_LEFT;
    MirrorArrowKeyForRTL(&rtl, key);
    EXPECT_EQ(UINT(VK_RIGHT), key);
    MirrorArrowKeyForRTL(&ltr, key);
    EXPECT_EQ(UINT(VK_RIGHT), key);
    key = VK_UP;
    MirrorArrowKeyForRTL(&rtl, key);
    EXPECT_EQ(UINT(VK_UP), key);

    POINT pt = {130, 70};
    ScreenToWindowPoint(&ltr, pt);
    EXPECT_EQ(30, pt.x);
    EXPECT_EQ(20, pt.y);
    pt = {130, 70};
    ScreenToWindowPoint(&rtl, pt);
    EXPECT_EQ(300 - 130, pt.x);
    EXPECT_EQ(20, pt.y);

    EXPECT_EQ(CRect(0, 0, 200, 120), CQVTDrawHelpers::ClientRectFromWnd(&ltr));
    EXPECT_EQ(CRect(100, 50, 300, 170), CQVTDrawHelpers::WindowRectFromHwnd(ltr.m_hWnd));
    ::DestroyWindow(rtl.Detach());
    ::DestroyWindow(ltr.Detach());
    EXPECT_TRUE(CQVTDrawHelpers::ClientRectFromHwnd(reinterpret_cast<HWND>(0x1234)).IsRectNull());
    EXPECT_FALSE(CQVTDrawHelpers::IsRtlReading(nullptr));
}

TEST(DrawHelpersWindows, DCLayout)
{
    DibCanvas canvas(4, 4);
    EXPECT_EQ(0u, GetDCLayout(&canvas.dc));
    EXPECT_EQ(0u, SetDCLayoutReturnOld(canvas.dc.m_hDC, LAYOUT_RTL));
    EXPECT_TRUE(IsDCRightToLeft(&canvas.dc));
    EXPECT_TRUE(IsHdcRightToLeft(canvas.dc.m_hDC));
    SetDCLayout(&canvas.dc, 0);
    EXPECT_FALSE(IsDCRightToLeft(&canvas.dc));
    EXPECT_EQ(0u, GetDCLayout(nullptr));
}

TEST(DrawHelpersWindows, DirectTextPaintPumpAndClassRegistration)
{
    int paints = 0;
    HWND hWnd = MakeWindow(0, &paints, WS_VISIBLE);
    ::SetWindowTextW(hWnd, u"stored title");
    CString text;
    CQVTDrawHelpers::GetWindowTextDirect(hWnd, text);
    EXPECT_TRUE(text == _T("stored title")) << CStringA(text).GetString();

    // Flush what creation left, then one invalidation: one paint, validated.
    CQVTDrawHelpers::PumpPaintMessages(hWnd);
    paints = 0;
    ::InvalidateRect(hWnd, nullptr, FALSE);
    EXPECT_TRUE(CQVTDrawHelpers::PumpPaintMessages(hWnd));
    EXPECT_EQ(1, paints);
    EXPECT_FALSE(::GetUpdateRect(hWnd, nullptr, FALSE));

    double sx = 0, sy = 0;
    EXPECT_TRUE(CQVTDrawHelpers::GetMonitorScaleFactor(hWnd, &sx, &sy));
    EXPECT_DOUBLE_EQ(1.0, sx);
    EXPECT_DOUBLE_EQ(1.0, sy);
    ::DestroyWindow(hWnd);

    EXPECT_TRUE(CQVTDrawHelpers::RegisterWindowClass(nullptr, _T("QVTToolBar"), CS_DBLCLKS));
    WNDCLASSW wc = {};
    ASSERT_TRUE(::GetClassInfoW(AfxGetInstanceHandle() ? AfxGetInstanceHandle() : ::GetModuleHandleW(nullptr),
                                u"QVTToolBar", &wc));
    EXPECT_EQ(UINT(CS_DBLCLKS), wc.style);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), wc.hCursor);
}
