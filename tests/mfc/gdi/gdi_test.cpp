// GDI wrappers drawing into a 32-bit DIB section, checked pixel by pixel,
// and the handle maps behind FromHandle and SelectObject.
#include <afxwin.h>

#include <utility>
#include <vector>

#include "dib_canvas.h"
#include "sondrel_gtest.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 128, 0);

TEST(CDC, FillSolidRectFillsExactlyAndKeepsTheColourAsBackground)
{
    DibCanvas canvas(16, 16);
    canvas.dc.SetBkColor(kGreen);
    canvas.dc.FillSolidRect(2, 3, 4, 5, kRed);
    EXPECT_EQ(20, canvas.CountOf(kRed));
    EXPECT_EQ(kRed, canvas.At(2, 3));
    EXPECT_EQ(kRed, canvas.At(5, 7));
    EXPECT_EQ(kWhite, canvas.At(6, 7));
    EXPECT_EQ(kWhite, canvas.At(5, 8));
    EXPECT_EQ(kRed, canvas.dc.GetBkColor());

    // A negative extent fills the same cells as the mirrored rectangle.
    canvas.Clear(kWhite);
    canvas.dc.FillSolidRect(10, 10, -3, -2, kBlue);
    EXPECT_EQ(6, canvas.CountOf(kBlue));
    EXPECT_EQ(kBlue, canvas.At(7, 8));
    EXPECT_EQ(kBlue, canvas.At(9, 9));
}

TEST(CDC, Draw3dRectOwnsCornersAsCallersExpect)
{
    DibCanvas canvas(16, 16);
    canvas.dc.Draw3dRect(CRect(2, 2, 7, 6), kRed, kBlue);
    // Top row and left column in the first colour, but the top-right and
    // bottom-left corners belong to the second.
    for (int x = 2; x <= 5; ++x)
        EXPECT_EQ(kRed, canvas.At(x, 2)) << x;
    for (int y = 2; y <= 4; ++y)
        EXPECT_EQ(kRed, canvas.At(2, y)) << y;
    for (int y = 2; y <= 5; ++y)
        EXPECT_EQ(kBlue, canvas.At(6, y)) << y;
    for (int x = 2; x <= 6; ++x)
        EXPECT_EQ(kBlue, canvas.At(x, 5)) << x;
    EXPECT_EQ(6, canvas.CountOf(kRed));
    EXPECT_EQ(8, canvas.CountOf(kBlue));
    EXPECT_EQ(kWhite, canvas.At(3, 3));
    EXPECT_EQ(kWhite, canvas.At(7, 2));
}

TEST(CDC, SelectObjectReturnsThePreviousTypedObject)
{
    DibCanvas canvas(8, 8);
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);

    CPen* oldPen = canvas.dc.SelectObject(&pen);
    ASSERT_NE(nullptr, oldPen);
    EXPECT_TRUE(oldPen->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(::GetStockObject(BLACK_PEN), oldPen->GetSafeHandle());
    EXPECT_EQ(&pen, canvas.dc.GetCurrentPen());

    CBrush* oldBrush = canvas.dc.SelectObject(&brush);
    EXPECT_TRUE(oldBrush->IsKindOf(RUNTIME_CLASS(CBrush)));
    canvas.dc.Rectangle(1, 1, 6, 6);
    EXPECT_EQ(kRed, canvas.At(1, 1));   // pen outline
    EXPECT_EQ(kBlue, canvas.At(3, 3));  // brush interior
    EXPECT_EQ(kWhite, canvas.At(6, 6));

    // Selecting the old objects back hands back our own wrappers.
    EXPECT_EQ(&pen, canvas.dc.SelectObject(oldPen));
    EXPECT_EQ(&brush, canvas.dc.SelectObject(oldBrush));

    CGdiObject* previous = canvas.dc.SelectStockObject(NULL_BRUSH);
    EXPECT_EQ(oldBrush->GetSafeHandle(), previous->GetSafeHandle());
    CGdiObject::DeleteTempMap();
}

TEST(CDC, SaveAndRestoreBringBackTheSelection)
{
    DibCanvas canvas(8, 8);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, _T("Tahoma")));
    canvas.dc.SetTextColor(kRed);
    int saved = canvas.dc.SaveDC();
    ASSERT_NE(0, saved);
    canvas.dc.SetTextColor(kBlue);
    canvas.dc.SelectObject(&font);
    canvas.dc.SetMapMode(MM_LOMETRIC);
    canvas.dc.SetViewportOrg(3, 4);
    EXPECT_TRUE(canvas.dc.RestoreDC(saved));
    EXPECT_EQ(kRed, canvas.dc.GetTextColor());
    EXPECT_NE(font.GetSafeHandle(), canvas.dc.GetCurrentFont()->GetSafeHandle());
    EXPECT_EQ(MM_TEXT, canvas.dc.GetMapMode());
    EXPECT_TRUE(canvas.dc.GetViewportOrg() == CPoint(0, 0));
    CGdiObject::DeleteTempMap();
}

TEST(CDC, MappingAndClipping)
{
    DibCanvas canvas(16, 16);
    canvas.dc.SetViewportOrg(4, 2);
    CPoint point(1, 1);
    canvas.dc.LPtoDP(&point);
    EXPECT_TRUE(point == CPoint(5, 3));
    CRect rect(0, 0, 2, 2);
    canvas.dc.LPtoDP(&rect);
    EXPECT_TRUE(rect == CRect(4, 2, 6, 4));
    canvas.dc.DPtoLP(&rect);
    EXPECT_TRUE(rect == CRect(0, 0, 2, 2));
    canvas.dc.SetViewportOrg(0, 0);

    // Clip to a region, then exclude a rectangle from it.
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(2, 2, 10, 10));
    EXPECT_EQ(SIMPLEREGION, canvas.dc.SelectObject(&region));
    EXPECT_EQ(COMPLEXREGION, canvas.dc.ExcludeClipRect(4, 4, 6, 6));
    CRect box;
    canvas.dc.GetClipBox(&box);
    EXPECT_TRUE(box == CRect(2, 2, 10, 10));
    EXPECT_TRUE(canvas.dc.PtVisible(2, 2));
    EXPECT_FALSE(canvas.dc.PtVisible(4, 4));
    EXPECT_FALSE(canvas.dc.RectVisible(CRect(11, 11, 12, 12)));
    canvas.dc.FillSolidRect(0, 0, 16, 16, kRed);
    EXPECT_EQ(64 - 4, canvas.CountOf(kRed));
    EXPECT_EQ(kWhite, canvas.At(1, 1));
    EXPECT_EQ(kWhite, canvas.At(5, 5));

    canvas.dc.SelectClipRgn(nullptr);
    canvas.dc.IntersectClipRect(CRect(0, 0, 1, 1));
    canvas.dc.SetPixelV(0, 0, kBlue);
    canvas.dc.SetPixelV(1, 1, kBlue);
    EXPECT_EQ(kBlue, canvas.dc.GetPixel(0, 0));
    EXPECT_EQ(kWhite, canvas.At(1, 1));
}

TEST(CDC, LinesBlitsAndGradients)
{
    DibCanvas canvas(16, 16);
    CPen pen(PS_SOLID, 1, kBlue);
    CPen* old = canvas.dc.SelectObject(&pen);
    EXPECT_TRUE(canvas.dc.MoveTo(0, 0) == CPoint(0, 0));
    canvas.dc.LineTo(5, 0);
    EXPECT_TRUE(canvas.dc.GetCurrentPosition() == CPoint(5, 0));
    EXPECT_EQ(5, canvas.CountOf(kBlue));  // the end point is not drawn
    canvas.dc.SelectObject(old);

    DibCanvas source(4, 4);
    source.dc.FillSolidRect(0, 0, 4, 4, kRed);
    source.dc.SetPixelV(0, 0, kGreen);
    canvas.dc.BitBlt(10, 10, 4, 4, &source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(kGreen, canvas.At(10, 10));
    EXPECT_EQ(kRed, canvas.At(13, 13));
    // TransparentBlt skips the key colour.
    canvas.Clear(kWhite);
    canvas.dc.TransparentBlt(0, 0, 4, 4, &source.dc, 0, 0, 4, 4, kRed);
    EXPECT_EQ(1, canvas.CountOf(kGreen));
    EXPECT_EQ(kWhite, canvas.At(1, 1));

    canvas.Clear(kWhite);
    TRIVERTEX vertices[2] = {{0, 0, 0, 0, 0, 0}, {16, 1, 0xff00, 0, 0, 0}};
    GRADIENT_RECT mesh = {0, 1};
    EXPECT_TRUE(canvas.dc.GradientFill(vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(0, GetRValue(canvas.At(0, 0)));
    EXPECT_GT(GetRValue(canvas.At(15, 0)), 200);
    EXPECT_EQ(kWhite, canvas.At(0, 1));
}

TEST(CDC, TextThroughCStringNeverWritesIntoTheString)
{
    DibCanvas canvas(64, 32);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, _T("Tahoma")));
    CFont* old = canvas.dc.SelectObject(&font);

    CString text(_T("A long line that cannot fit"));
    CString shared(text);  // shares the buffer
    CRect rect(0, 0, 40, 16);
    canvas.dc.DrawText(shared, rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(text, shared);

    CRect measure(0, 0, 0, 0);
    int height = canvas.dc.DrawText(CString(_T("Hi")), measure, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_GT(height, 0);
    EXPECT_GT(measure.Width(), 0);
    CSize extent = canvas.dc.GetTextExtent(CString(_T("Hi")));
    EXPECT_EQ(measure.Width(), extent.cx);
    EXPECT_EQ(extent, canvas.dc.GetTextExtent(_T("Hi!"), 2));

    TEXTMETRIC metrics;
    ASSERT_TRUE(canvas.dc.GetTextMetrics(&metrics));
    EXPECT_EQ(extent.cy, metrics.tmHeight);
    CString face;
    EXPECT_GT(canvas.dc.GetTextFace(face), 0);
    EXPECT_FALSE(face.IsEmpty());

    canvas.dc.SetBkMode(TRANSPARENT);
    canvas.dc.SetTextColor(kBlue);
    canvas.dc.TextOut(0, 0, CString(_T("W")));
    EXPECT_GT(canvas.CountOf(kBlue) + canvas.CountOf(RGB(0, 0, 0)), 0);
    canvas.dc.SelectObject(old);
}

// Derived DCs redirect text output by overriding the virtual forms; the
// CString conveniences must go through them.
class RecordingDC : public CDC
{
public:
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) override
    {
        calls.push_back(CString(_T("TextOut:")) + CString(lpszString, nCount));
        return CDC::TextOut(x, y, lpszString, nCount);
    }
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) override
    {
        calls.push_back(CString(_T("DrawText:")) + CString(lpszString, nCount));
        return CDC::DrawText(lpszString, nCount, lpRect, nFormat);
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                    LPINT lpDxWidths) override
    {
        calls.push_back(CString(_T("ExtTextOut:")) + CString(lpszString, (int)nCount));
        return CDC::ExtTextOut(x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    BOOL RectVisible(LPCRECT) const override { return FALSE; }
    std::vector<CString> calls;
};

TEST(CDC, StringFormsGoThroughTheVirtualOperations)
{
    RecordingDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CDC& base = dc;
    CRect rect(0, 0, 50, 20);
    base.TextOut(0, 0, CString(_T("one")));
    base.DrawText(CString(_T("two")), rect, DT_SINGLELINE);
    base.ExtTextOut(0, 0, 0, nullptr, CString(_T("three")), nullptr);
    ASSERT_EQ(3u, dc.calls.size());
    EXPECT_EQ(CString(_T("TextOut:one")), dc.calls[0]);
    EXPECT_EQ(CString(_T("DrawText:two")), dc.calls[1]);
    EXPECT_EQ(CString(_T("ExtTextOut:three")), dc.calls[2]);
    EXPECT_FALSE(base.RectVisible(rect));
}

TEST(CFont, PointSizesFollowTheDeviceResolution)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, _T("Tahoma")));
    LOGFONT logFont;
    ASSERT_EQ((int)sizeof(LOGFONT), font.GetLogFont(&logFont));
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(-(dpi * 120 / 720), logFont.lfHeight);
    EXPECT_EQ(0, CString(logFont.lfFaceName).Compare(_T("Tahoma")));

    // Through a DC in a metric mapping mode the height is in its units.
    DibCanvas canvas(4, 4);
    canvas.dc.SetMapMode(MM_TWIPS);
    CFont twips;
    ASSERT_TRUE(twips.CreatePointFont(120, _T("Tahoma"), &canvas.dc));
    twips.GetLogFont(&logFont);
    int pixels = canvas.dc.GetDeviceCaps(LOGPIXELSY) * 120 / 720;
    EXPECT_NEAR(-pixels * 1440 / canvas.dc.GetDeviceCaps(LOGPIXELSY), logFont.lfHeight, 15);
}

TEST(GdiHandleMaps, TemporaryWrappersComeAndGoWithoutTheHandle)
{
    HBRUSH raw = ::CreateSolidBrush(kRed);
    CGdiObject* first = CGdiObject::FromHandle(raw);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, CBrush::FromHandle(raw));  // one wrapper per handle
    EXPECT_TRUE(first->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_FALSE(first->IsKindOf(RUNTIME_CLASS(CPen)));
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(OBJ_BRUSH, ::GetObjectType(raw));  // the handle survives its wrapper

    // An owning wrapper is found instead of a temporary one, until detached.
    {
        CBrush owner;
        owner.Attach(raw);
        EXPECT_EQ(&owner, CBrush::FromHandle(raw));
        EXPECT_EQ(raw, owner.Detach());
        CBrush* temporary = CBrush::FromHandle(raw);
        EXPECT_NE(&owner, temporary);
        owner.Attach(raw);
    }
    EXPECT_EQ(0u, ::GetObjectType(raw));  // the owner deleted it
    CGdiObject::DeleteTempMap();

    // A temporary that deleted its handle is not handed out again.
    HPEN first_pen = ::CreatePen(PS_SOLID, 1, kRed);
    CPen* stale = CPen::FromHandle(first_pen);
    EXPECT_TRUE(stale->DeleteObject());
    EXPECT_EQ(nullptr, stale->GetSafeHandle());
    CPen* fresh = CPen::FromHandle(first_pen);
    EXPECT_NE(stale, fresh);
    EXPECT_EQ(first_pen, fresh->GetSafeHandle());
    CGdiObject::DeleteTempMap();

    EXPECT_EQ(nullptr, CGdiObject::FromHandle(nullptr));
    CPen* none = nullptr;
    EXPECT_EQ(nullptr, none->GetSafeHandle());
    CDC* noDC = nullptr;
    EXPECT_EQ(nullptr, noDC->GetSafeHdc());
}

// Each thread has its own temporaries, dropped when the thread ends
// without touching the handles they wrapped.
DWORD WINAPI WrapOnWorker(LPVOID parameter)
{
    auto* handles = static_cast<std::pair<HBRUSH, CGdiObject*>*>(parameter);
    handles->second = CBrush::FromHandle(handles->first);
    return handles->second->GetSafeHandle() == handles->first ? 0 : 1;
}

TEST(GdiHandleMaps, TemporariesBelongToTheirThread)
{
    HBRUSH raw = ::CreateSolidBrush(kBlue);
    std::pair<HBRUSH, CGdiObject*> handles(raw, nullptr);
    HANDLE worker = ::CreateThread(nullptr, 0, WrapOnWorker, &handles, 0, nullptr);
    ASSERT_NE(nullptr, worker);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(worker, 10000));
    DWORD code = 99;
    ::GetExitCodeThread(worker, &code);
    ::CloseHandle(worker);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(OBJ_BRUSH, ::GetObjectType(raw));  // the worker's exit left it alone
    CBrush* mine = CBrush::FromHandle(raw);
    EXPECT_EQ(raw, mine->GetSafeHandle());
    CGdiObject::DeleteTempMap();
    ::DeleteObject(raw);
}

TEST(GdiHandleMaps, DeviceContexts)
{
    HDC raw = ::CreateCompatibleDC(nullptr);
    CDC* temporary = CDC::FromHandle(raw);
    EXPECT_EQ(raw, temporary->m_hDC);
    EXPECT_EQ(raw, temporary->m_hAttribDC);
    EXPECT_EQ(temporary, CDC::FromHandle(raw));
    CDC::DeleteTempMap();
    EXPECT_EQ(OBJ_MEMDC, ::GetObjectType(raw));
    {
        CDC owner;
        owner.Attach(raw);
        EXPECT_EQ(&owner, CDC::FromHandle(raw));
    }
    EXPECT_EQ(0u, ::GetObjectType(raw));
}

TEST(GdiObjects, BitmapsRegionsAndBrushes)
{
    CBitmap bitmap;
    const BYTE rows[4] = {0x80, 0, 0x40, 0};  // rows are WORD-aligned
    ASSERT_TRUE(bitmap.CreateBitmap(2, 2, 1, 1, rows));
    BITMAP info;
    ASSERT_EQ((int)sizeof(BITMAP), bitmap.GetBitmap(&info));
    EXPECT_EQ(2, info.bmWidth);
    EXPECT_EQ(1, info.bmBitsPixel);
    BYTE bits[4] = {};
    EXPECT_EQ(4u, bitmap.GetBitmapBits(sizeof(bits), bits));
    EXPECT_EQ(0x80, bits[0]);
    EXPECT_EQ(0x40, bits[2]);
    const BYTE flipped[4] = {0x40, 0, 0x80, 0};
    EXPECT_EQ(4u, bitmap.SetBitmapBits(sizeof(flipped), flipped));
    bitmap.GetBitmapBits(sizeof(bits), bits);
    EXPECT_EQ(0x40, bits[0]);

    CRgn a, b, combined;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateEllipticRgn(5, 5, 25, 25));
    ASSERT_TRUE(combined.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, combined.CombineRgn(&a, &b, RGN_OR));
    EXPECT_TRUE(combined.PtInRegion(1, 1));
    EXPECT_TRUE(combined.PtInRegion(CPoint(15, 15)));
    EXPECT_FALSE(combined.PtInRegion(24, 1));
    CRect box;
    EXPECT_EQ(COMPLEXREGION, combined.GetRgnBox(&box));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_NEAR(25, box.right, 1);  // the ellipse's edge is rasterised
    EXPECT_NEAR(25, box.bottom, 1);
    EXPECT_EQ(SIMPLEREGION, combined.CopyRgn(&a));
    EXPECT_TRUE(combined.EqualRgn(&a));
    combined.OffsetRgn(CPoint(5, 5));
    combined.GetRgnBox(&box);
    EXPECT_TRUE(box == CRect(5, 5, 15, 15));
    combined.SetRectRgn(CRect(1, 2, 3, 4));
    combined.GetRgnBox(&box);
    EXPECT_TRUE(box == CRect(1, 2, 3, 4));
    CRgn rounded;
    ASSERT_TRUE(rounded.CreateRoundRectRgn(0, 0, 20, 20, 10, 10));
    EXPECT_FALSE(rounded.PtInRegion(0, 0));
    EXPECT_TRUE(rounded.PtInRegion(10, 0));
    POINT triangle[3] = {{0, 0}, {10, 0}, {0, 10}};
    CRgn polygon;
    ASSERT_TRUE(polygon.CreatePolygonRgn(triangle, 3, ALTERNATE));
    EXPECT_TRUE(polygon.PtInRegion(2, 2));
    EXPECT_FALSE(polygon.PtInRegion(8, 8));

    CBrush hatch(HS_CROSS, kRed);
    LOGBRUSH logBrush;
    ASSERT_TRUE(hatch.GetLogBrush(&logBrush));
    EXPECT_EQ((UINT)BS_HATCHED, logBrush.lbStyle);
    EXPECT_EQ(kRed, logBrush.lbColor);
    CBrush pattern(&bitmap);
    pattern.GetLogBrush(&logBrush);
    EXPECT_EQ((UINT)BS_PATTERN, logBrush.lbStyle);
    CBrush system;
    ASSERT_TRUE(system.CreateSysColorBrush(COLOR_WINDOW));
    system.GetLogBrush(&logBrush);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), logBrush.lbColor);

    CPen pen(PS_DASH, 1, kBlue);
    LOGPEN logPen;
    ASSERT_TRUE(pen.GetLogPen(&logPen));
    EXPECT_EQ((UINT)PS_DASH, logPen.lopnStyle);
    EXPECT_EQ(kBlue, logPen.lopnColor);
}

TEST(GdiObjects, FailedCreationThrowsFromConstructors)
{
    bool thrown = false;
    try
    {
        CBrush brush(static_cast<CBitmap*>(nullptr));
    }
    catch (CException* e)
    {
        thrown = e->IsKindOf(RUNTIME_CLASS(CResourceException));
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

}  // namespace
