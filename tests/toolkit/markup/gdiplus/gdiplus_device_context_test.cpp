// The GDI+ device context read back from DIBs: which surfaces get it,
// colours with alpha and opacity, gradients, dashed pens, clipping, world
// transforms, text and the dedicated DC that lets GDI drawing land in the
// GDI+ frame. GDI+ on an HDC does not anti-alias under Wine: pixels are
// checked for coverage, colour and alpha, never for smooth edges.
#include "tests/support/dib_canvas.h"
#include "tests/support/win_thread.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/draw/QVTMarkupGdiPlusDeviceContext.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Channels within one step of each other (GDI+ blends round either way).
bool Near(COLORREF a, COLORREF b, int nTolerance = 1)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

}  // namespace

class MarkupGdiPlus : public testing::Test
{
protected:
    MarkupGdiPlus() : m_canvas(100, 60) {}

    CQVTMarkupGdiPlusDeviceContext* GdiPlus(CQVTMarkupDrawingContext& dc)
    {
        return DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusDeviceContext, dc.GetDeviceContext());
    }
    // A brush with the caller's reference kept until the test ends.
    CQVTMarkupBrush* Solid(BYTE bAlpha, COLORREF clr)
    {
        m_objects.push_back(new CQVTMarkupSolidColorBrush(bAlpha, clr));
        return static_cast<CQVTMarkupBrush*>(m_objects.back());
    }
    CQVTMarkupBrush* Gradient(LPCWSTR lpszBrush)
    {
        CString strText;
        strText.Format(u"<Border xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
                       u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml'><Border.Background>%ls"
                       u"</Border.Background></Border>",
                       lpszBrush);
        CQVTMarkupUIElement* pRoot = BuildMarkup(m_context, strText);
        EXPECT_NE(pRoot, nullptr);
        if (pRoot == nullptr)
            return nullptr;
        m_objects.push_back(pRoot);
        return MarkupCast<CQVTMarkupBrush>(pRoot->GetValue(CQVTMarkupBorder::m_pBackgroundProperty));
    }
    ~MarkupGdiPlus() override
    {
        for (CQVTMarkupObject* pObject : m_objects)
            pObject->InternalRelease();
    }

    CContextHolder m_context;
    DibCanvas m_canvas;
    std::vector<CQVTMarkupObject*> m_objects;
};

TEST_F(MarkupGdiPlus, DrawingContextsTakeGdiPlusUnlessTheContextOrARightToLeftDCRefuses)
{
    {
        CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
        EXPECT_NE(GdiPlus(dc), nullptr);
    }
    {
        // Measuring surfaces too: text is measured the way it is drawn.
        CQVTMarkupDrawingContext dc(m_context);
        EXPECT_NE(GdiPlus(dc), nullptr);
    }
    m_context->EnableGdiPlus(FALSE);
    {
        CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
        EXPECT_EQ(GdiPlus(dc), nullptr);
        EXPECT_EQ(dc.GetTransform(), nullptr);
    }
    m_context->EnableGdiPlus(TRUE);
    ::SetLayout(m_canvas.dc.m_hDC, LAYOUT_RTL);
    {
        CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
        EXPECT_EQ(GdiPlus(dc), nullptr);
    }
    ::SetLayout(m_canvas.dc.m_hDC, 0);
    CQVTMarkupDrawingContext::EnableGdiPlus(FALSE);
    {
        CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
        EXPECT_EQ(GdiPlus(dc), nullptr);
    }
    CQVTMarkupDrawingContext::EnableGdiPlus(TRUE);
}

TEST_F(MarkupGdiPlus, ColoursCarryTheirAlphaTimesTheOpacity)
{
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    dc.FillRectangle(RECT{0, 0, 10, 10}, Solid(0x80, kRed));
    EXPECT_TRUE(Near(m_canvas.At(5, 5), RGB(255, 127, 127))) << std::hex << m_canvas.At(5, 5);
    EXPECT_EQ(m_canvas.At(10, 5), kWhite);

    dc.SetOpacity(0.5);
    dc.FillRectangle(RECT{20, 0, 30, 10}, Solid(0xFF, kBlue));
    EXPECT_TRUE(Near(m_canvas.At(25, 5), RGB(127, 127, 255))) << std::hex << m_canvas.At(25, 5);
    // Half of a half-transparent colour: a quarter of the way.
    dc.FillRectangle(RECT{40, 0, 50, 10}, Solid(0x80, kBlue));
    EXPECT_TRUE(Near(m_canvas.At(45, 5), RGB(191, 191, 255), 2)) << std::hex << m_canvas.At(45, 5);
    // FillSolidRect is opaque whatever the top byte says, but still under the opacity.
    dc.SetOpacity(1.0);
    dc.FillSolidRect(RECT{60, 0, 70, 10}, 0x00000000 | kRed);
    EXPECT_EQ(m_canvas.At(65, 5), kRed);
    // The GDI+ surface remembers its smoothing mode, which GDI never does.
    EXPECT_EQ(dc.SetSmoothingMode(1), 0);
    EXPECT_EQ(dc.SetSmoothingMode(4), 1);
    EXPECT_EQ(dc.SetSmoothingMode(9), 4);
    EXPECT_EQ(dc.SetSmoothingMode(0), 4);
}

TEST_F(MarkupGdiPlus, GradientsRunTheirEndColoursOutToTheAxisEnds)
{
    CQVTMarkupBrush* pBrush = Gradient(
        u"<LinearGradientBrush StartPoint='0,0' EndPoint='1,0'><GradientStop Color='#FF0000' Offset='0.25'/>"
        u"<GradientStop Color='#0000FF' Offset='0.75'/></LinearGradientBrush>");
    ASSERT_NE(pBrush, nullptr);
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    dc.FillRectangle(RECT{0, 0, 100, 10}, pBrush);
    EXPECT_EQ(m_canvas.At(2, 5), kRed);
    EXPECT_EQ(m_canvas.At(20, 5), kRed);
    EXPECT_EQ(m_canvas.At(80, 5), kBlue);
    EXPECT_EQ(m_canvas.At(98, 5), kBlue);
    const COLORREF clrMiddle = m_canvas.At(50, 5);
    EXPECT_GT(GetRValue(clrMiddle), 90);
    EXPECT_GT(GetBValue(clrMiddle), 90);

    // Opacity reaches every stop.
    m_canvas.Clear(kWhite);
    dc.SetOpacity(0.0);
    dc.FillRectangle(RECT{0, 0, 100, 10}, pBrush);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 100 * 60);
}

TEST_F(MarkupGdiPlus, PensHaveTheirThicknessDashesAndNoOutlineWithoutABrush)
{
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    CQVTMarkupAutoPtr dashes(new CQVTMarkupDoubleCollection());
    static_cast<CQVTMarkupDoubleCollection*>(dashes.Get())->Add(2.0);
    CQVTMarkupStroke stroke;
    stroke.nThickness = 2;
    stroke.pBrush = Solid(0xFF, kRed);
    dc.DrawLine(0, 5, 100, 5, &stroke);
    const int nSolid = m_canvas.CountOf(kRed);
    EXPECT_GE(nSolid, 2 * 99);
    EXPECT_LE(nSolid, 2 * 101);

    // One dash length is dash and gap alike: about half the line is drawn.
    m_canvas.Clear(kWhite);
    stroke.pDashArray = static_cast<CQVTMarkupDoubleCollection*>(dashes.Get());
    dc.DrawLine(0, 5, 100, 5, &stroke);
    const int nDashed = m_canvas.CountOf(kRed);
    EXPECT_GT(nDashed, nSolid / 4);
    EXPECT_LT(nDashed, nSolid * 3 / 4);

    m_canvas.Clear(kWhite);
    stroke.pBrush = nullptr;
    dc.DrawLine(0, 5, 100, 5, &stroke);
    dc.DrawEllipse(RECT{0, 0, 50, 50}, &stroke, nullptr);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 100 * 60);

    // An ellipse fills inside the stroke, inset by half its width.
    stroke.pBrush = Solid(0xFF, kRed);
    stroke.pDashArray = nullptr;
    stroke.nThickness = 4;
    dc.DrawEllipse(RECT{0, 0, 40, 40}, &stroke, Solid(0xFF, kBlue));
    EXPECT_EQ(m_canvas.At(20, 20), kBlue);
    EXPECT_EQ(m_canvas.At(20, 1), kRed);
    EXPECT_EQ(m_canvas.At(1, 1), kWhite);
    EXPECT_EQ(m_canvas.At(41, 20), kWhite);
}

TEST_F(MarkupGdiPlus, BordersAreBandsAndClipsNarrowAndComeBack)
{
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(1, 2, 3, 4));
    dc.DrawRectangle(RECT{10, 10, 30, 30}, Solid(0xFF, kRed),
                     static_cast<CQVTMarkupThickness*>(thickness.Get()));
    EXPECT_EQ(m_canvas.At(10, 20), kRed);
    EXPECT_EQ(m_canvas.At(11, 20), kWhite);
    EXPECT_EQ(m_canvas.At(27, 20), kRed);
    EXPECT_EQ(m_canvas.At(26, 20), kWhite);
    EXPECT_EQ(m_canvas.At(20, 11), kRed);
    EXPECT_EQ(m_canvas.At(20, 12), kWhite);
    EXPECT_EQ(m_canvas.At(20, 26), kRed);
    EXPECT_EQ(m_canvas.At(20, 25), kWhite);
    EXPECT_EQ(m_canvas.CountOf(kRed), 20 * 20 - 16 * 14);

    m_canvas.Clear(kWhite);
    void* pSaved = dc.SaveClipRegion();
    ASSERT_NE(pSaved, nullptr);
    dc.IntersectClipRect(RECT{10, 10, 20, 20});
    EXPECT_EQ(CRect(dc.GetClipBox()), CRect(10, 10, 20, 20));
    dc.FillRectangle(RECT{0, 0, 100, 60}, Solid(0xFF, kRed));
    EXPECT_EQ(m_canvas.CountOf(kRed), 100);
    dc.RestoreClipRegion(pSaved);
    EXPECT_EQ(CRect(dc.GetClipBox()), CRect(0, 0, 100, 60));
    dc.FillRectangle(RECT{0, 0, 100, 60}, Solid(0xFF, kBlue));
    EXPECT_EQ(m_canvas.CountOf(kBlue), 100 * 60);
}

TEST_F(MarkupGdiPlus, OffsetsAndWorldTransformsMoveDrawingAndTheClipBox)
{
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    dc.OffsetViewport(POINT{20, 10});
    EXPECT_EQ(CRect(dc.GetClipBox()), CRect(-20, -10, 80, 50));
    dc.FillRectangle(RECT{0, 0, 5, 5}, Solid(0xFF, kRed));
    EXPECT_EQ(m_canvas.At(20, 10), kRed);
    EXPECT_EQ(m_canvas.At(19, 10), kWhite);

    // The current transform can be taken, changed and given back.
    std::unique_ptr<CQVTMarkupTransformationMatrix> saved(dc.GetTransform());
    ASSERT_NE(saved, nullptr);
    std::unique_ptr<CQVTMarkupTransformationMatrix> moved(saved->Clone());
    moved->Translate(POINT{30, 0});
    dc.SetTransform(moved.get());
    dc.FillRectangle(RECT{0, 0, 5, 5}, Solid(0xFF, kBlue));
    EXPECT_EQ(m_canvas.At(50, 10), kBlue);
    dc.SetTransform(saved.get());
    dc.FillRectangle(RECT{0, 20, 5, 25}, Solid(0xFF, kBlue));
    EXPECT_EQ(m_canvas.At(20, 30), kBlue);
    // GDI drawing on the graphics' own DC follows the offset.
    HDC hDC = dc.GetDC();
    ASSERT_NE(hDC, nullptr);
    ::SetPixelV(hDC, 1, 1, kRed);
    dc.ReleaseDC(hDC);
    EXPECT_EQ(m_canvas.At(21, 11), kRed);
}

TEST_F(MarkupGdiPlus, TextNeedsAColourAndLeavesItsTrailingBlankUndrawn)
{
    LOGFONTW lf = m_context->GetDefaultFont();
    lf.lfHeight = -20;
    CQVTMarkupFont* pFont = m_context->GetFont(&lf);
    m_objects.push_back(pFont);
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    dc.SetFont(pFont);
    dc.DrawTextLine(u"Wm", 2, RECT{0, 0, 100, 30});
    EXPECT_EQ(m_canvas.CountOf(kWhite), 100 * 60);

    dc.SetTextColor(Solid(0xFF, kRed));
    dc.DrawTextLine(u"Wm", 2, RECT{0, 0, 100, 30});
    const int nInk = m_canvas.CountOf(kRed);
    EXPECT_GT(nInk, 20);
    // An empty rectangle draws nothing.
    m_canvas.Clear(kWhite);
    dc.DrawTextLine(u"Wm", 2, RECT{0, 0, 0, 30});
    EXPECT_EQ(m_canvas.CountOf(kRed), 0);

    // The trailing blank still counts when measuring.
    const SIZE szWord = dc.GetTextExtent(u"Wm", 2);
    const SIZE szBlank = dc.GetTextExtent(u"Wm ", 3);
    EXPECT_GT(szBlank.cx, szWord.cx);
    EXPECT_EQ(szBlank.cy, szWord.cy);
    float size[2] = {};
    dc.GetTextExtentF(u"Wm", 2, size);
    EXPECT_NEAR(size[0], szWord.cx, 0.5);

    int nAscent = 0, nDescent = 0;
    EXPECT_TRUE(dc.GetFontMetrics(pFont, &nAscent, &nDescent));
    EXPECT_GT(nAscent, 10);
    EXPECT_GT(nDescent, 1);
    EXPECT_LE(nAscent + nDescent, szWord.cy);
    EXPECT_FALSE(dc.GetFontMetrics(nullptr, &nAscent, &nDescent));
}

TEST_F(MarkupGdiPlus, GdiDrawingInADedicatedDCLandsInTheFrameWithUntouchedPixelsClear)
{
    m_canvas.Clear(kBlue);
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    dc.OffsetViewport(POINT{10, 10});
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(
        dc.GetDeviceContext()->CreateDedicatedDC(RECT{5, 5, 25, 25}));
    HDC hDC = dedicated->GetDC();
    ASSERT_NE(hDC, nullptr);
    // Element coordinates: the rectangle's corner is (5, 5).
    RECT rc = {5, 5, 15, 15};
    ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT rcBlack = {15, 15, 20, 20};
    ::FillRect(hDC, &rcBlack, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    // Nothing reaches the frame before the flush.
    EXPECT_EQ(m_canvas.At(15, 15), kBlue);
    dedicated->Flush();
    dedicated.reset();
    EXPECT_EQ(m_canvas.At(15, 15), kWhite);
    EXPECT_EQ(m_canvas.At(24, 24), kWhite);
    EXPECT_EQ(m_canvas.At(25, 25), RGB(0, 0, 0));
    EXPECT_EQ(m_canvas.At(29, 29), RGB(0, 0, 0));
    // What GDI did not touch stays as the frame had it.
    EXPECT_EQ(m_canvas.At(33, 16), kBlue);
    EXPECT_EQ(m_canvas.At(14, 14), kBlue);
    EXPECT_EQ(m_canvas.CountOf(kWhite), 100);
    EXPECT_EQ(m_canvas.CountOf(RGB(0, 0, 0)), 25);

    // A rectangle wholly outside the clip box needs no bitmap at all.
    std::unique_ptr<CQVTMarkupDedicatedDC> hidden(
        dc.GetDeviceContext()->CreateDedicatedDC(RECT{200, 0, 2000000000, 2000000000}));
    EXPECT_EQ(hidden->GetDC(), nullptr);
}

TEST_F(MarkupGdiPlus, AHugeDedicatedDCShowsWhatGdiDrawsOnItsVisiblePart)
{
    // The same GDI drawing straight onto a plain canvas is the oracle.
    auto draw = [](HDC hDC) {
        HGDIOBJ hOld = ::SelectObject(hDC, ::GetStockObject(GRAY_BRUSH));
        ::Ellipse(hDC, -40, -30, 21, 26);
        ::SelectObject(hDC, hOld);
        const RECT rcWhite = {-5, -5, 10, 10}, rcBlack = {55, 25, 90, 50}, rcFar = {5000, 5000, 9000, 9000};
        ::FillRect(hDC, &rcWhite, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FillRect(hDC, &rcBlack, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::FillRect(hDC, &rcFar, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    };
    const RECT rcHuge = {-2000000000, -2000000000, 2000000000, 2000000000};
    for (const RECT& rcElement : {RECT{-12000, -12000, 12000, 12000}, rcHuge})
    {
        SCOPED_TRACE(rcElement.right);
        // The offset below moves the canvas' own viewport too.
        ::SetViewportOrgEx(m_canvas.dc.m_hDC, 0, 0, nullptr);
        m_canvas.Clear(kBlue);
        DibCanvas oracle(100, 60, kBlue);
        ::SetViewportOrgEx(oracle.dc.m_hDC, 30, 20, nullptr);
        draw(oracle.dc.m_hDC);
        CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
        dc.OffsetViewport(POINT{30, 20});
        std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(dc.GetDeviceContext()->CreateDedicatedDC(rcElement));
        HDC hDC = dedicated->GetDC();
        ASSERT_NE(hDC, nullptr);
        draw(hDC);
        dedicated->Flush();
        int nDifferent = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x)
                nDifferent += m_canvas.At(x, y) != oracle.At(x, y);
        EXPECT_EQ(nDifferent, 0);
        EXPECT_EQ(m_canvas.At(0, 0), RGB(128, 128, 128));
        EXPECT_EQ(m_canvas.At(39, 29), kWhite);
        EXPECT_EQ(m_canvas.At(99, 59), RGB(0, 0, 0));
        EXPECT_EQ(m_canvas.At(99, 0), kBlue);
    }

    // Scaled up, the picture still reaches the surface's edges: its bitmap
    // holds the pixels a scaled picture samples beyond the clip box.
    ::SetViewportOrgEx(m_canvas.dc.m_hDC, 0, 0, nullptr);
    m_canvas.Clear(kBlue);
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    dc.OffsetViewport(POINT{30, 20});
    Gdiplus::DllExports::GdipScaleWorldTransform(GdiPlus(dc)->GetGraphics(), 3.0f, 3.0f,
                                                 Gdiplus::MatrixOrderPrepend);
    std::unique_ptr<CQVTMarkupDedicatedDC> dedicated(
        dc.GetDeviceContext()->CreateDedicatedDC(RECT{-12000, -12000, 12000, 12000}));
    HDC hDC = dedicated->GetDC();
    ASSERT_NE(hDC, nullptr);
    const RECT rcAll = {-100, -100, 100, 100};
    ::FillRect(hDC, &rcAll, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    dedicated->Flush();
    EXPECT_EQ(m_canvas.CountOf(RGB(0, 0, 0)), 100 * 60);
}

TEST_F(MarkupGdiPlus, HugeCurvedFiguresDrawWithoutBringingTheProcessDown)
{
    // Curves of this size overflowed GDI+'s stack when it flattened them.
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(2, 2, 2, 2));
    const CQVTMarkupCornerRadius radius = CQVTMarkupCornerRadius::FromCorners(16000, 16000, 16000, 16000);
    dc.DrawRectangle(RECT{0, 0, 32000, 32001}, Solid(0xFF, kRed),
                     static_cast<CQVTMarkupThickness*>(thickness.Get()), &radius);
    const CQVTMarkupCornerRadius huge =
        CQVTMarkupCornerRadius::FromCorners(2000000000, 2000000000, 2000000000, 2000000000);
    dc.FillRectangle(RECT{-2000000000, -2000000000, 2000000000, 2000000000}, Solid(0xFF, kBlue), &huge);
    EXPECT_EQ(m_canvas.At(50, 30), kBlue);
    CQVTMarkupStroke stroke;
    stroke.nThickness = 3;
    stroke.pBrush = Solid(0xFF, kRed);
    dc.DrawEllipse(RECT{-40000, -40000, 40000, 40000}, &stroke, Solid(0xFF, kBlue));
    dc.DrawEllipse(RECT{-2000000000, -5, 2000000000, 5}, &stroke, nullptr);
    // Pens wider than any screen are drawn 4096 pixels wide.
    stroke.nThickness = 1000000000;
    m_canvas.Clear(kWhite);
    dc.DrawLine(-10, 30, 110, 30, &stroke);
    EXPECT_EQ(m_canvas.CountOf(kRed), 100 * 60);
}

TEST_F(MarkupGdiPlus, EachSmoothingModeSetsItsFourQualitySettings)
{
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    CQVTMarkupGdiPlusDeviceContext* pDevice = GdiPlus(dc);
    ASSERT_NE(pDevice, nullptr);
    Gdiplus::GpGraphics* pGraphics = pDevice->GetGraphics();
    struct CRow
    {
        int nSmoothing, nPixelOffset, nInterpolation, nHint, nHintWithFlag;
    };
    const CRow rows[] = {{4, 2, 7, 0, 0}, {3, 3, 1, 0, 0}, {1, 1, 1, 0, 0}, {2, 2, 2, 0, 4}, {4, 2, 7, 0, 4}};
    auto settings = [&]() {
        Gdiplus::SmoothingMode smoothing;
        Gdiplus::PixelOffsetMode offset;
        Gdiplus::InterpolationMode interpolation;
        Gdiplus::TextRenderingHint hint;
        Gdiplus::DllExports::GdipGetSmoothingMode(pGraphics, &smoothing);
        Gdiplus::DllExports::GdipGetPixelOffsetMode(pGraphics, &offset);
        Gdiplus::DllExports::GdipGetInterpolationMode(pGraphics, &interpolation);
        Gdiplus::DllExports::GdipGetTextRenderingHint(pGraphics, &hint);
        CString strSettings;
        strSettings.Format(u"%d %d %d %d", int(smoothing), int(offset), int(interpolation), int(hint));
        return strSettings;
    };
    for (int nFlag : {0, 1})
    {
        for (int nMode = 0; nMode < 5; ++nMode)
        {
            SCOPED_TRACE(nMode * 10 + nFlag);
            // From another mode, so that the settings are applied again.
            pDevice->SetSmoothingMode((nMode + 1) % 5, nFlag);
            EXPECT_EQ(pDevice->SetSmoothingMode(nMode, nFlag), (nMode + 1) % 5);
            CString strExpected;
            // GDI+ keeps low quality as bilinear (3) and high quality as
            // high-quality bicubic (7).
            const int nInterpolation = rows[nMode].nInterpolation == 1   ? 3
                                       : rows[nMode].nInterpolation == 2 ? 7
                                                                         : rows[nMode].nInterpolation;
            strExpected.Format(u"%d %d %d %d", rows[nMode].nSmoothing, rows[nMode].nPixelOffset,
                               nInterpolation, nFlag > 0 ? rows[nMode].nHintWithFlag : rows[nMode].nHint);
            EXPECT_EQ(settings(), strExpected);
        }
    }
    // A mode outside the table changes nothing and is not kept.
    pDevice->SetSmoothingMode(1, 0);
    const CString strBefore = settings();
    EXPECT_EQ(pDevice->SetSmoothingMode(5, 1), 1);
    EXPECT_EQ(pDevice->SetSmoothingMode(-1, 1), 1);
    EXPECT_EQ(settings(), strBefore);
}

namespace {
// The pixel offset mode in force at each stroke of a recorded metafile.
BOOL CALLBACK CollectStrokeOffsets(Gdiplus::EmfPlusRecordType type, UINT nFlags, UINT, const BYTE*,
                                   VOID* pData)
{
    auto* pModes = static_cast<std::vector<int>*>(pData);
    // The first entry is the mode in force; each stroke appends it.
    if (type == Gdiplus::EmfPlusRecordTypeSetPixelOffsetMode)
        pModes->front() = static_cast<int>(nFlags & 0xFF);
    else if (type == Gdiplus::EmfPlusRecordTypeDrawPath || type == Gdiplus::EmfPlusRecordTypeDrawLines)
        pModes->push_back(pModes->front());
    return TRUE;
}
}  // namespace

// The platform draws at whole pixels whatever the mode: the modes are read
// back from what the device context records into a metafile.
TEST_F(MarkupGdiPlus, OddStrokesDrawWithoutTheHalfPixelOffsetAndEvenOnesWithTheStoredOne)
{
    for (int nSmoothing : {0, 1})
    {
        SCOPED_TRACE(nSmoothing);
        Gdiplus::GpMetafile* pMetafile = nullptr;
        Gdiplus::GpRectF frame;
        frame.X = 0;
        frame.Y = 0;
        frame.Width = 100;
        frame.Height = 60;
        ASSERT_EQ(Gdiplus::DllExports::GdipRecordMetafile(m_canvas.dc.m_hDC, Gdiplus::EmfTypeEmfPlusOnly,
                                                          &frame, Gdiplus::MetafileFrameUnitPixel, nullptr,
                                                          &pMetafile),
                  Gdiplus::Ok);
        Gdiplus::GpGraphics* pGraphics = nullptr;
        ASSERT_EQ(Gdiplus::DllExports::GdipGetImageGraphicsContext(pMetafile, &pGraphics), Gdiplus::Ok);
        {
            CQVTMarkupGdiPlusDeviceContext device(pGraphics, TRUE);
            device.SetSmoothingMode(nSmoothing, 0);
            const POINT points[] = {{10, 10}, {50, 10}, {50, 40}};
            CQVTMarkupStroke stroke;
            stroke.pBrush = Solid(0xFF, kRed);
            for (int nThickness : {1, 2, 3, 4})
            {
                stroke.nThickness = nThickness;
                device.DrawPolygon(points, 3, &stroke, nullptr);
            }
        }
        Gdiplus::DllExports::GdipDeleteGraphics(pGraphics);
        std::vector<int> modes = {-1};
        Gdiplus::GpGraphics* pTarget = nullptr;
        Gdiplus::DllExports::GdipCreateFromHDC(m_canvas.dc.m_hDC, &pTarget);
        Gdiplus::GpPointF origin;
        origin.X = 0;
        origin.Y = 0;
        Gdiplus::DllExports::GdipEnumerateMetafileDestPoint(pTarget, pMetafile, &origin,
                                                            &CollectStrokeOffsets, &modes, nullptr);
        Gdiplus::DllExports::GdipDeleteGraphics(pTarget);
        Gdiplus::DllExports::GdipDisposeImage(pMetafile);
        // Smoothing mode 0 stores high quality (2), mode 1 none (3).
        const int nStored = nSmoothing == 0 ? 2 : 3;
        EXPECT_EQ(std::vector<int>(modes.begin() + 1, modes.end()),
                  (std::vector<int>{0, nStored, 0, nStored}));
    }
}

TEST_F(MarkupGdiPlus, ItsOwnPixelsOnA32BitSurfaceAreThoseGdiPlusWouldWrite)
{
    // The same drawing through GDI+ alone, on a context that writes no pixel
    // itself, is the oracle: every byte must match, alpha included.
    DibCanvas oracleCanvas(100, 60);
    CQVTMarkupGdiPlusDeviceContext oracle(
        CQVTMarkupGdiPlusDeviceContext::CreateGraphics(oracleCanvas.dc.m_hDC, nullptr), FALSE);
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    LOGFONTW lf = m_context->GetDefaultFont();
    lf.lfHeight = -17;
    CQVTMarkupFont* pFont = m_context->GetFont(&lf);
    m_objects.push_back(pFont);
    CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(1, 2, 3, 4));
    for (CQVTMarkupDeviceContext* pDC :
         {static_cast<CQVTMarkupDeviceContext*>(&oracle), dc.GetDeviceContext()})
    {
        // The left strip stays transparent: text over it is left to GDI+.
        pDC->FillRectangle(RECT{10, 0, 100, 60}, Solid(0xFF, RGB(250, 240, 200)));
        pDC->OffsetViewport(POINT{7, 5});
        void* pSaved = pDC->SaveClipRegion();
        pDC->IntersectClipRect(RECT{0, 0, 70, 40});
        pDC->DrawRectangle(RECT{-3, -2, 60, 30}, Solid(0xFF, RGB(20, 90, 160)),
                           static_cast<CQVTMarkupThickness*>(thickness.Get()));
        pDC->FillRectangle(RECT{40, 20, 52, 50}, Solid(0x80, RGB(200, 0, 0)));
        pDC->SetFont(pFont);
        pDC->SetTextColor(Solid(0xFF, RGB(10, 10, 120)));
        pDC->DrawTextLine(u"Wag", 3, RECT{4, 0, 40, 20});
        pDC->DrawTextLine(u"gyp", 3, RECT{58, 32, 100, 52});
        pDC->SetTextColor(Solid(0x90, RGB(150, 20, 20)));
        pDC->DrawTextLine(u"Wm", 2, RECT{14, 30, 40, 50});
        pDC->RestoreClipRegion(pSaved);
        pDC->SetTextColor(Solid(0xFF, RGB(10, 10, 120)));
        pDC->DrawTextLine(u"Mum", 3, RECT{-12, 38, 40, 58});
        pDC->SetTextColor(Solid(0x90, RGB(150, 20, 20)));
        pDC->DrawTextLine(u"Wm", 2, RECT{60, 20, 93, 40});
        // Over the frame's edge: two colours beneath.
        pDC->SetTextColor(Solid(0xFF, RGB(10, 10, 120)));
        pDC->DrawTextLine(u"Wag", 3, RECT{50, 5, 93, 25});
        RECT rcClip = {};
        pDC->GetClipBox(&rcClip);
        EXPECT_EQ(CRect(rcClip), CRect(-7, -5, 93, 55));
    }
    int nDifferent = 0;
    for (int i = 0; i < 100 * 60; ++i)
        nDifferent += m_canvas.Pixels()[i] != oracleCanvas.Pixels()[i];
    EXPECT_EQ(nDifferent, 0);
    // Both inks reached the surface, blended at their edges.
    EXPECT_GT(m_canvas.CountOf(RGB(10, 10, 120)), 20);
    EXPECT_GT(m_canvas.CountOf(RGB(20, 90, 160)), 100);
}

TEST_F(MarkupGdiPlus, LinesDrawnOneAfterAnotherKeepNothingOfTheLineBefore)
{
    // New lines are drawn aside, one after another on the same bitmap: each
    // must come out as GDI+ alone draws it, wide before narrow and back.
    DibCanvas oracleCanvas(100, 60);
    CQVTMarkupGdiPlusDeviceContext oracle(
        CQVTMarkupGdiPlusDeviceContext::CreateGraphics(oracleCanvas.dc.m_hDC, nullptr), FALSE);
    CQVTMarkupDrawingContext dc(m_context, m_canvas.dc.m_hDC);
    LOGFONTW lf = m_context->GetDefaultFont();
    lf.lfHeight = -17;
    CQVTMarkupFont* pFont = m_context->GetFont(&lf);
    m_objects.push_back(pFont);
    const struct
    {
        const char16_t* pszText;
        RECT rc;
    } lines[] = {{u"Wide", {2, 2, 60, 24}}, {u"il", {2, 32, 20, 54}}, {u"Mow", {50, 32, 95, 54}}};
    for (CQVTMarkupDeviceContext* pDC :
         {static_cast<CQVTMarkupDeviceContext*>(&oracle), dc.GetDeviceContext()})
    {
        pDC->FillRectangle(RECT{0, 0, 100, 60}, Solid(0xFF, RGB(230, 250, 230)));
        pDC->SetFont(pFont);
        pDC->SetTextColor(Solid(0xFF, RGB(90, 10, 60)));
        for (const auto& line : lines)
            pDC->DrawTextLine(line.pszText,
                              static_cast<int>(std::char_traits<char16_t>::length(line.pszText)), line.rc);
    }
    int nDifferent = 0;
    for (int i = 0; i < 100 * 60; ++i)
        nDifferent += m_canvas.Pixels()[i] != oracleCanvas.Pixels()[i];
    EXPECT_EQ(nDifferent, 0);
    EXPECT_GT(m_canvas.CountOf(RGB(90, 10, 60)), 30);
}

namespace {
struct CTextFontCase
{
    const char16_t* pszFace;  // null: the context's default face
    int nHeight;
    int nWeight;
    BYTE bItalic;
    BYTE bUnderline;
};
struct CTextInkCase
{
    Gdiplus::ARGB argbInk;
    COLORREF clrBack;
};
const CTextFontCase kTextFonts[] = {
    {nullptr, -11, 400, 0, 0},       {nullptr, -13, 700, 0, 0},
    {nullptr, -12, 400, 1, 0},       {u"Times New Roman", -16, 400, 1, 0},
    {u"Courier New", 15, 400, 0, 0}, {nullptr, -29, 700, 1, 0},
    {nullptr, -9, 400, 0, 0},        {nullptr, -14, 400, 0, 1},
};
// Overhangs, overlapping glyphs, blanks, digits, accents, kerning pairs, a
// tab and a right-to-left word.
const char16_t* const kTexts[] = {u"Recording 001",
                                  u"fjord ffi jij",
                                  u"  spaced  out ",
                                  u"caf\u00e9 \u00c5ngstr\u00f6m na\u00efve \u00df\u00e6",
                                  u"0123456789 {[(|)]}@#%&*",
                                  u"AVATAR To Wa",
                                  u"W",
                                  u"a\tb",
                                  u"\u05e9\u05dc\u05d5\u05dd \u0416\u0438\u0437\u043d\u044c"};
const CTextInkCase kInks[] = {{0xFF000000, RGB(255, 255, 255)},
                              {0xFF102030, RGB(240, 244, 255)},
                              {0xFFFFFFFF, RGB(32, 48, 64)},
                              {0x80C04010, RGB(224, 224, 224)}};

LOGFONTW TextCaseFont(LOGFONTW lf, const CTextFontCase& font)
{
    lf.lfHeight = font.nHeight;
    lf.lfWeight = font.nWeight;
    lf.lfItalic = font.bItalic;
    lf.lfUnderline = font.bUnderline;
    if (font.pszFace != nullptr)
    {
        std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), WCHAR(0));
        std::copy_n(font.pszFace, std::char_traits<char16_t>::length(font.pszFace), lf.lfFaceName);
    }
    return lf;
}
}  // namespace

TEST_F(MarkupGdiPlus, NewTextLinesAreByteForByteThoseGdiPlusDraws)
{
    // Every font, text and ink over its background, each line new to the
    // process, cycling through the smoothing modes with and without the text
    // flag; one rectangle in three a pixel narrower than the line, which
    // GDI+ cuts. GDI+ alone on a context that writes no pixel is the oracle.
    const int nBand = 50, nLines = int(std::size(kTexts) * std::size(kInks));
    int nCase = 0;
    for (const CTextFontCase& fontCase : kTextFonts)
    {
        DibCanvas canvas(460, nBand * nLines), oracleCanvas(460, nBand * nLines);
        CQVTMarkupGdiPlusDeviceContext oracle(
            CQVTMarkupGdiPlusDeviceContext::CreateGraphics(oracleCanvas.dc.m_hDC, nullptr), FALSE);
        CQVTMarkupDrawingContext dc(m_context, canvas.dc.m_hDC);
        const LOGFONTW lf = TextCaseFont(m_context->GetDefaultFont(), fontCase);
        CQVTMarkupFont* pFont = m_context->GetFont(&lf);
        m_objects.push_back(pFont);
        std::vector<CString> cases;
        for (const char16_t* pszText : kTexts)
        {
            for (const CTextInkCase& ink : kInks)
            {
                const int nLength = static_cast<int>(std::char_traits<char16_t>::length(pszText));
                const int nMode = nCase % 5, nFlag = (nCase / 5) % 2;
                const int y = nBand * static_cast<int>(cases.size());
                SIZE size = {};
                for (CQVTMarkupDeviceContext* pDC :
                     {static_cast<CQVTMarkupDeviceContext*>(&oracle), dc.GetDeviceContext()})
                {
                    pDC->SetSmoothingMode(nMode, nFlag);
                    pDC->FillRectangle(RECT{0, y, 460, y + nBand}, Solid(0xFF, ink.clrBack));
                    pDC->SetFont(pFont);
                    pDC->SetTextColor(
                        Solid(BYTE(ink.argbInk >> 24),
                              RGB(BYTE(ink.argbInk >> 16), BYTE(ink.argbInk >> 8), BYTE(ink.argbInk))));
                    size = pDC->GetTextExtent(pszText, nLength);
                    const int cx = nCase % 3 == 2 ? size.cx - 1 : size.cx;
                    pDC->DrawTextLine(pszText, nLength, RECT{20, y + 10, 20 + cx, y + 10 + size.cy});
                }
                CString strCase;
                strCase.Format(u"font %d, text \"%ls\", ink %08X, mode %d, flag %d, width %d",
                               int(&fontCase - kTextFonts), pszText, ink.argbInk, nMode, nFlag, int(size.cx));
                cases.push_back(strCase);
                ++nCase;
            }
        }
        for (size_t i = 0; i < cases.size(); ++i)
        {
            const size_t nFirst = i * nBand * 460, nEnd = nFirst + size_t(nBand) * 460;
            const auto itDiffers = std::mismatch(canvas.Pixels() + nFirst, canvas.Pixels() + nEnd,
                                                 oracleCanvas.Pixels() + nFirst);
            EXPECT_EQ(itDiffers.first, canvas.Pixels() + nEnd)
                << static_cast<LPCSTR>(CT2A(cases[i])) << ": first at pixel "
                << (itDiffers.first - canvas.Pixels()) % 460 << ", "
                << (itDiffers.first - canvas.Pixels()) / 460;
        }
        // The ink reached the surface.
        EXPECT_GT(canvas.CountOf(RGB(0, 0, 0)), 10);
    }
}

TEST_F(MarkupGdiPlus, LinesComposedOnSeveralThreadsAtOnceAreThoseGdiPlusDraws)
{
    // Fonts no line used before: the threads make the same glyphs at once,
    // each in an ink of its own, so each composes every line itself.
    const int nThreads = 4, cx = 460, cyBand = 40;
    const int cy = cyBand * static_cast<int>(std::size(kTexts)) * 8;
    std::vector<CQVTMarkupFont*> fonts;
    for (int nHeight = -18; nHeight >= -25; --nHeight)
    {
        const LOGFONTW lf =
            TextCaseFont(m_context->GetDefaultFont(),
                         {nullptr, nHeight, nHeight % 2 ? 700 : 400, BYTE(nHeight % 3 == 0), 0});
        fonts.push_back(m_context->GetFont(&lf));
        m_objects.push_back(fonts.back());
    }
    CQVTMarkupBrush* pBack = Solid(0xFF, RGB(246, 246, 236));
    std::vector<CQVTMarkupBrush*> inks;
    for (int i = 0; i < nThreads; ++i)
        inks.push_back(Solid(0xFF, RGB(40 * i, 20, 90)));
    // Measured beforehand: measuring costs GDI+ as much as drawing, and
    // the threads should meet while they compose. Each thread takes the
    // fonts in an order of its own, so they need different fonts at once.
    std::vector<SIZE> sizes(fonts.size() * std::size(kTexts));
    auto draw = [&](CQVTMarkupDeviceContext& dc, CQVTMarkupBrush* pInk, size_t nFirstFont, BOOL bMeasure) {
        dc.FillRectangle(RECT{0, 0, cx, cy}, pBack);
        dc.SetTextColor(pInk);
        for (size_t i = 0; i < fonts.size(); ++i)
        {
            const size_t nFont = (nFirstFont + i) % fonts.size();
            dc.SetFont(fonts[nFont]);
            for (size_t nText = 0; nText < std::size(kTexts); ++nText)
            {
                const int nLength = static_cast<int>(std::char_traits<char16_t>::length(kTexts[nText]));
                const size_t nLine = nFont * std::size(kTexts) + nText;
                if (bMeasure)
                    sizes[nLine] = dc.GetTextExtent(kTexts[nText], nLength);
                const int y = cyBand * static_cast<int>(nLine) + 5;
                dc.DrawTextLine(kTexts[nText], nLength,
                                RECT{10, y, 10 + sizes[nLine].cx, y + sizes[nLine].cy});
            }
        }
    };
    std::vector<std::unique_ptr<DibCanvas>> oracles, canvases;
    for (int i = 0; i < nThreads; ++i)
    {
        oracles.push_back(std::make_unique<DibCanvas>(cx, cy));
        canvases.push_back(std::make_unique<DibCanvas>(cx, cy));
        CQVTMarkupGdiPlusDeviceContext oracle(
            CQVTMarkupGdiPlusDeviceContext::CreateGraphics(oracles.back()->dc.m_hDC, nullptr), FALSE);
        draw(oracle, inks[size_t(i)], 0, i == 0);
    }
    {
        // Released together, once every thread stands ready.
        HANDLE hStart = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::vector<WinThread> threads;
        for (int i = 0; i < nThreads; ++i)
        {
            threads.emplace_back([&, i] {
                ::WaitForSingleObject(hStart, INFINITE);
                HDC hDC = canvases[size_t(i)]->dc.m_hDC;
                CQVTMarkupGdiPlusDeviceContext dc(
                    CQVTMarkupGdiPlusDeviceContext::CreateGraphics(hDC, nullptr), FALSE, hDC);
                draw(dc, inks[size_t(i)], size_t(i) * 3, FALSE);
            });
        }
        ::Sleep(50);
        ::SetEvent(hStart);
        for (WinThread& thread : threads)
            thread.join();
        ::CloseHandle(hStart);
    }
    for (int i = 0; i < nThreads; ++i)
    {
        EXPECT_TRUE(std::equal(canvases[size_t(i)]->Pixels(), canvases[size_t(i)]->Pixels() + cx * cy,
                               oracles[size_t(i)]->Pixels()))
            << "thread " << i;
        EXPECT_GT(canvases[size_t(i)]->CountOf(RGB(40 * i, 20, 90)), 100) << "thread " << i;
    }
}
