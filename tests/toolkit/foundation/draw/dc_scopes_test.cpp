// Device-context scopes: buffers copy exactly their rectangle (or nothing
// when discarded), and every selection scope leaves the DC as it found it,
// on normal exit and when the block is left by an exception.
#include <afxwin.h>

#include <algorithm>
#include <stdexcept>

#include "dib_canvas.h"
#include "draw_colours.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

namespace {

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm = {};
    ::GetObjectW(hBitmap, sizeof(bm), &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

HGDIOBJ Current(CDC& dc, UINT type)
{
    return ::GetCurrentObject(dc.m_hDC, type);
}

}  // namespace

TEST(BufferDC, CopiesItsRectangleInTargetCoordinates)
{
    DibCanvas canvas(64, 40);
    const CRect rect(10, 10, 50, 30);
    {
        CQVTBufferDC buffer(canvas.dc.m_hDC, rect);
        ASSERT_NE(nullptr, buffer.GetSafeHdc());
        const SIZE size = BitmapSize(buffer.GetBitmap());
        EXPECT_EQ(50, size.cx);
        EXPECT_EQ(30, size.cy);
        buffer.FillSolidRect(0, 0, 50, 30, kRed);
        buffer.FillSolidRect(20, 15, 1, 1, kBlue);
        // Nothing reaches the target before the end of the block.
        EXPECT_EQ(kWhite, canvas.At(20, 15));
    }
    EXPECT_EQ(40 * 20, canvas.CountOf(kRed) + canvas.CountOf(kBlue));
    EXPECT_EQ(kBlue, canvas.At(20, 15));
    EXPECT_EQ(kRed, canvas.At(10, 10));
    EXPECT_EQ(kRed, canvas.At(49, 29));
    EXPECT_EQ(kWhite, canvas.At(9, 10));
    EXPECT_EQ(kWhite, canvas.At(50, 29));
}

TEST(BufferDC, RectangleSizedBufferDrawsInTargetCoordinates)
{
    DibCanvas canvas(64, 40);
    const CRect rect(10, 10, 50, 30);
    {
        CQVTBufferDCEx buffer(canvas.dc.m_hDC, rect);
        const SIZE size = BitmapSize(buffer.GetBitmap());
        EXPECT_EQ(40, size.cx);
        EXPECT_EQ(20, size.cy);
        buffer.FillSolidRect(rect, kRed);
        buffer.FillSolidRect(20, 15, 1, 1, kBlue);
    }
    EXPECT_EQ(40 * 20 - 1, canvas.CountOf(kRed));
    EXPECT_EQ(kBlue, canvas.At(20, 15));
    EXPECT_EQ(kRed, canvas.At(10, 10));
    EXPECT_EQ(kWhite, canvas.At(50, 30));
}

TEST(BufferDC, DiscardedBuffersLeaveTheTargetAlone)
{
    DibCanvas canvas(64, 40);
    {
        CQVTBufferDC buffer(canvas.dc.m_hDC, CRect(0, 0, 64, 40));
        buffer.FillSolidRect(0, 0, 64, 40, kRed);
        buffer.Discard();
    }
    {
        CQVTBufferDCEx buffer(canvas.dc.m_hDC, CRect(5, 5, 20, 20));
        buffer.FillSolidRect(5, 5, 15, 15, kRed);
        buffer.Discard();
    }
    EXPECT_EQ(64 * 40, canvas.CountOf(kWhite));
}

TEST(BufferDC, MemoryDCsGiveTheirBitmapBack)
{
    CBitmap first, second;
    first.CreateBitmap(4, 4, 1, 32, nullptr);
    second.CreateBitmap(4, 4, 1, 32, nullptr);
    {
        CQVTCompatibleDC dc(nullptr, &first);
        EXPECT_EQ(first.m_hObject, Current(dc, OBJ_BITMAP));
        dc.SetPixel(0, 0, kRed);
    }
    {
        CQVTBitmapDC dc;
        dc.CreateCompatibleDC(nullptr);
        const HGDIOBJ stock = Current(dc, OBJ_BITMAP);
        dc.SetBitmap(first);
        EXPECT_EQ(kRed, dc.GetPixel(0, 0));
        dc.SetBitmap(second);
        EXPECT_EQ(second.m_hObject, Current(dc, OBJ_BITMAP));
        dc.SetBitmap(nullptr);
        EXPECT_EQ(stock, Current(dc, OBJ_BITMAP));
        dc.SetBitmap(second);
    }
    // A bitmap can be selected in one DC at a time: both must be free again.
    CDC probe;
    probe.CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(probe.m_hDC, first.m_hObject);
    EXPECT_NE(nullptr, old);
    EXPECT_NE(nullptr, ::SelectObject(probe.m_hDC, second.m_hObject));
    ::SelectObject(probe.m_hDC, old);
}

TEST(SelectionScopes, FontScopeRestoresFontAndFirstColour)
{
    DibCanvas canvas(8, 8);
    CFont first, second;
    first.CreatePointFont(90, _T("Tahoma"));
    second.CreatePointFont(140, _T("Tahoma"));
    const HGDIOBJ original = Current(canvas.dc, OBJ_FONT);
    canvas.dc.SetTextColor(kBlue);
    {
        CQVTFontDC scope(&canvas.dc, &first, 0xFFFFFFFF);
        EXPECT_EQ(first.m_hObject, Current(canvas.dc, OBJ_FONT));
        EXPECT_EQ(kBlue, canvas.dc.GetTextColor());
    }
    EXPECT_EQ(original, Current(canvas.dc, OBJ_FONT));
    EXPECT_EQ(kBlue, canvas.dc.GetTextColor());
    {
        CQVTFontDC scope(&canvas.dc, &first, kRed);
        EXPECT_EQ(kRed, canvas.dc.GetTextColor());
        scope.SetColor(RGB(0, 255, 0));
        scope.SetFont(&second);
        EXPECT_EQ(second.m_hObject, Current(canvas.dc, OBJ_FONT));
        scope.SetFont(nullptr);
        EXPECT_EQ(original, Current(canvas.dc, OBJ_FONT));
        scope.SetFont(&first);
    }
    EXPECT_EQ(original, Current(canvas.dc, OBJ_FONT));
    EXPECT_EQ(kBlue, canvas.dc.GetTextColor());

    CQVTFont cached;
    LOGFONT lf = {};
    first.GetLogFont(&lf);
    ASSERT_TRUE(cached.CreateFontIndirect(&lf));
    {
        CQVTFontDC scope(&canvas.dc, &cached);
        EXPECT_EQ(cached.GetSafeHandle(), Current(canvas.dc, OBJ_FONT));
    }
    EXPECT_EQ(original, Current(canvas.dc, OBJ_FONT));

    // Over the font already in place a scope selects nothing, and still puts
    // that font back when the block changed it.
    canvas.dc.SelectObject(&first);
    {
        CQVTFontDC scope(&canvas.dc, &first);
        canvas.dc.SelectObject(&second);
    }
    EXPECT_EQ(first.m_hObject, Current(canvas.dc, OBJ_FONT));
    ::SelectObject(canvas.dc.m_hDC, original);
}

TEST(SelectionScopes, PenAndBrushScopesDrawThenRestoreAndDelete)
{
    DibCanvas canvas(16, 16);
    const HGDIOBJ originalPen = Current(canvas.dc, OBJ_PEN);
    const HGDIOBJ originalBrush = Current(canvas.dc, OBJ_BRUSH);
    HGDIOBJ ourPen = nullptr, ourBrush = nullptr;
    {
        CQVTPenDC pen(canvas.dc.m_hDC, kRed);
        CQVTBrushDC brush(canvas.dc.m_hDC, kBlue);
        canvas.dc.Rectangle(2, 2, 8, 8);
        pen.SetColor(RGB(0, 255, 0));
        canvas.dc.MoveTo(0, 12);
        canvas.dc.LineTo(16, 12);
        ourPen = Current(canvas.dc, OBJ_PEN);
        ourBrush = Current(canvas.dc, OBJ_BRUSH);
        EXPECT_EQ(RGB(0, 255, 0), pen.GetColor());
    }
    EXPECT_EQ(kRed, canvas.At(2, 2));
    EXPECT_EQ(kRed, canvas.At(7, 5));
    EXPECT_EQ(kBlue, canvas.At(4, 4));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(9, 12));
    EXPECT_EQ(originalPen, Current(canvas.dc, OBJ_PEN));
    EXPECT_EQ(originalBrush, Current(canvas.dc, OBJ_BRUSH));
    // The scopes' own objects are gone.
    EXPECT_EQ(0u, ::GetObjectType(ourPen));
    EXPECT_EQ(0u, ::GetObjectType(ourBrush));

    {
        CQVTPenDC pen(canvas.dc.m_hDC, PS_SOLID, 3, kBlue);
        canvas.dc.MoveTo(0, 14);
        canvas.dc.LineTo(16, 14);
    }
    EXPECT_EQ(kBlue, canvas.At(8, 13));
    EXPECT_EQ(kBlue, canvas.At(8, 15));
}

TEST(SelectionScopes, LeavingByAnExceptionRestoresEverything)
{
    DibCanvas canvas(8, 8);
    CFont font;
    font.CreatePointFont(100, _T("Tahoma"));
    const HGDIOBJ originalPen = Current(canvas.dc, OBJ_PEN);
    const HGDIOBJ originalFont = Current(canvas.dc, OBJ_FONT);
    canvas.dc.SetTextColor(kBlue);
    const int savedBefore = ::SaveDC(canvas.dc.m_hDC);
    try
    {
        CQVTDCSaveState state(&canvas.dc);
        CQVTPenDC pen(canvas.dc.m_hDC, kRed);
        CQVTFontDC fontScope(&canvas.dc, &font, kRed);
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.SetViewportOrg(3, 4);
        throw std::runtime_error("painting failed");
    }
    catch (const std::runtime_error&)
    {
    }
    EXPECT_EQ(originalPen, Current(canvas.dc, OBJ_PEN));
    EXPECT_EQ(originalFont, Current(canvas.dc, OBJ_FONT));
    EXPECT_EQ(kBlue, canvas.dc.GetTextColor());
    EXPECT_EQ(OPAQUE, canvas.dc.GetBkMode());
    EXPECT_TRUE(canvas.dc.GetViewportOrg() == CPoint(0, 0));
    // The saved-state scope restored its own level, not the one before it.
    EXPECT_TRUE(::RestoreDC(canvas.dc.m_hDC, savedBefore));

    // A null DC: nothing at either end.
    {
        CQVTDCSaveState state(nullptr);
    }
}
