#include "toolkit/markup/draw/QVTMarkupDeviceContext.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/markup/image/QVTMarkupDeviceDependentImage.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

IMPLEMENT_DYNAMIC(CQVTMarkupDeviceContext, CObject)

void* const CQVTMarkupDeviceContext::kNoClip = reinterpret_cast<void*>(~static_cast<UINT_PTR>(0));

namespace {
// A pen and a brush selected for one drawing operation, deleted and put back
// when it ends.
class CSelectedPenAndBrush
{
public:
    CSelectedPenAndBrush(HDC hDC, const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill, int nMaxPenWidth)
        : m_hDC(hDC)
    {
        if (pStroke != nullptr && pStroke->nThickness > 0 && pStroke->pBrush != nullptr)
            m_hPen = ::CreatePen(PS_SOLID, std::min(pStroke->nThickness, nMaxPenWidth),
                                 pStroke->pBrush->GetColorRef());
        if (pFill != nullptr)
            m_hBrush = ::CreateSolidBrush(pFill->GetColorRef());
        m_hOldPen = ::SelectObject(hDC, m_hPen != nullptr ? static_cast<HGDIOBJ>(m_hPen)
                                                          : ::GetStockObject(NULL_PEN));
        m_hOldBrush = ::SelectObject(hDC, m_hBrush != nullptr ? static_cast<HGDIOBJ>(m_hBrush)
                                                              : ::GetStockObject(NULL_BRUSH));
    }
    ~CSelectedPenAndBrush()
    {
        ::SelectObject(m_hDC, m_hOldPen);
        ::SelectObject(m_hDC, m_hOldBrush);
        if (m_hPen != nullptr)
            ::DeleteObject(m_hPen);
        if (m_hBrush != nullptr)
            ::DeleteObject(m_hBrush);
    }
    CSelectedPenAndBrush(const CSelectedPenAndBrush&) = delete;
    CSelectedPenAndBrush& operator=(const CSelectedPenAndBrush&) = delete;

    BOOL HasPen() const { return m_hPen != nullptr; }
    BOOL HasBrush() const { return m_hBrush != nullptr; }

private:
    HDC m_hDC;
    HPEN m_hPen = nullptr;
    HBRUSH m_hBrush = nullptr;
    HGDIOBJ m_hOldPen;
    HGDIOBJ m_hOldBrush;
};

// GDI's paths and shapes are only sound within 27 bits: coordinates beyond
// lie far outside any surface and are held there.
const LONG kCoordinateLimit = 134217727;

// Float points to whole ones, rounded half away from zero and held within the limit.
LONG RoundCoordinate(float fValue)
{
    if (!(fValue > -kCoordinateLimit))
        return -kCoordinateLimit;
    if (fValue >= kCoordinateLimit)
        return kCoordinateLimit;
    return static_cast<LONG>(std::lround(static_cast<double>(fValue)));
}

std::vector<POINT> ToWholePoints(const Gdiplus::PointF* pPoints, int nCount)
{
    std::vector<POINT> points;
    if (pPoints == nullptr || nCount <= 0)
        return points;
    points.resize(nCount);
    for (int i = 0; i < nCount; ++i)
        points[i] = {RoundCoordinate(pPoints[i].X), RoundCoordinate(pPoints[i].Y)};
    return points;
}

// One entry of the gradient's stop table.
struct CGradientStop
{
    BYTE bBlue, bGreen, bRed, bZero;
    double dOffset;
    double dDifference;  // to the previous entry's offset
    int nIndex;          // in the brush's list
};

// The colour at parameter t, as a DIB pixel (blue in the low byte).
DWORD GradientPixel(const std::vector<CGradientStop>& stops, double t)
{
    auto pixel = [](const CGradientStop& stop) {
        return DWORD(stop.bBlue) | (DWORD(stop.bGreen) << 8) | (DWORD(stop.bRed) << 16);
    };
    if (t <= stops.front().dOffset)
        return pixel(stops.front());
    if (t >= stops.back().dOffset)
        return pixel(stops.back());
    for (size_t i = 1; i < stops.size(); ++i)
    {
        const CGradientStop& stop = stops[i];
        if (stop.dOffset <= t || stop.dDifference == 0.0)
            continue;
        const CGradientStop& previous = stops[i - 1];
        const double f = (stop.dOffset - t) / stop.dDifference;
        auto channel = [f](BYTE bPrevious, BYTE bThis) {
            const double dValue = bPrevious * f + bThis * (1.0 - f);
            return static_cast<DWORD>(std::clamp(dValue, 0.0, 255.0));
        };
        return channel(previous.bBlue, stop.bBlue) | (channel(previous.bGreen, stop.bGreen) << 8) |
               (channel(previous.bRed, stop.bRed) << 16);
    }
    return pixel(stops.back());
}
}  // namespace

// Dedicated DC

CQVTMarkupDedicatedDC::CQVTMarkupDedicatedDC(CQVTMarkupDeviceContext* pOwner, const RECT& rc)
    : m_pOwner(pOwner), m_hDC(nullptr), m_rc(rc), m_ptOrigin{-rc.left, -rc.top}
{
}

CQVTMarkupDedicatedDC::~CQVTMarkupDedicatedDC()
{
    if (m_hDC != nullptr && m_pOwner != nullptr)
        m_pOwner->ReleaseDC(m_hDC);
}

HDC CQVTMarkupDedicatedDC::GetDC()
{
    if (m_hDC == nullptr && m_pOwner != nullptr)
        m_hDC = m_pOwner->GetDC();
    return m_hDC;
}

// Device context

CQVTMarkupDeviceContext::CQVTMarkupDeviceContext(HDC hDC, HDC hAttribDC)
    : m_hDC(hDC),
      m_hAttribDC(hAttribDC != nullptr ? hAttribDC : hDC), m_szWindowExt{1, 1}, m_szViewportExt{1, 1},
      m_dOpacity(1.0), m_hOldFont(nullptr), m_nSmoothingMode(0)
{
    if (m_hDC == nullptr || !::GetWindowExtEx(m_hDC, &m_szWindowExt) ||
        !::GetViewportExtEx(m_hDC, &m_szViewportExt) || m_szWindowExt.cx == 0 || m_szWindowExt.cy == 0 ||
        m_szViewportExt.cx == 0 || m_szViewportExt.cy == 0)
    {
        m_szWindowExt = {1, 1};
        m_szViewportExt = {1, 1};
    }
    m_szWindowExt = {std::abs(m_szWindowExt.cx), std::abs(m_szWindowExt.cy)};
    m_szViewportExt = {std::abs(m_szViewportExt.cx), std::abs(m_szViewportExt.cy)};
}

CQVTMarkupDeviceContext::~CQVTMarkupDeviceContext()
{
    SetFont(nullptr);
}

CQVTMarkupTransformationMatrix* CQVTMarkupDeviceContext::GetTransform()
{
    return nullptr;
}

void CQVTMarkupDeviceContext::SetTransform(CQVTMarkupTransformationMatrix*) {}

void CQVTMarkupDeviceContext::OffsetViewport(POINT pt)
{
    // The point is in logical units; the viewport origin moves in device units.
    const POINT ptDevice = {static_cast<LONG>(__int64(pt.x) * m_szViewportExt.cx / m_szWindowExt.cx),
                            static_cast<LONG>(__int64(pt.y) * m_szViewportExt.cy / m_szWindowExt.cy)};
    ::OffsetViewportOrgEx(m_hDC, ptDevice.x, ptDevice.y, nullptr);
    if (m_hAttribDC != m_hDC)
        ::OffsetViewportOrgEx(m_hAttribDC, ptDevice.x, ptDevice.y, nullptr);
}

int CQVTMarkupDeviceContext::SetSmoothingMode(int, int)
{
    return m_nSmoothingMode;
}

CQVTMarkupDedicatedDC* CQVTMarkupDeviceContext::CreateDedicatedDC(const RECT& rc)
{
    return new CQVTMarkupDedicatedDC(this, rc);
}

CQVTMarkupDeviceDependentImage* CQVTMarkupDeviceContext::CreateDeviceDependentImage(
    IQVTMarkupDeviceDependentImageSite* pSite)
{
    return new CQVTMarkupGdiImage(pSite);
}

void CQVTMarkupDeviceContext::DrawEllipse(const RECT& rc, const CQVTMarkupStroke* pStroke,
                                          CQVTMarkupBrush* pFill)
{
    CSelectedPenAndBrush tools(m_hDC, pStroke, pFill, kMaxPenWidth);
    if (tools.HasPen() || tools.HasBrush())
    {
        const CGeometryLimits limits = GetGeometryLimits();
        ::Ellipse(m_hDC, limits.X(rc.left), limits.Y(rc.top), limits.X(rc.right), limits.Y(rc.bottom));
    }
}

void CQVTMarkupDeviceContext::DrawRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                            const CQVTMarkupThickness* pThickness)
{
    if (pBrush == nullptr || pThickness == nullptr)
        return;
    if (pThickness->left > 0)
        FillRectangle(
            RECT{rc.left, rc.top,
                 static_cast<LONG>(std::min<__int64>(__int64(rc.left) + pThickness->left, rc.right)),
                 rc.bottom},
            pBrush);
    if (pThickness->right > 0)
        FillRectangle(
            RECT{static_cast<LONG>(std::max<__int64>(__int64(rc.right) - pThickness->right, rc.left)), rc.top,
                 rc.right, rc.bottom},
            pBrush);
    if (pThickness->top > 0)
        FillRectangle(
            RECT{rc.left, rc.top, rc.right,
                 static_cast<LONG>(std::min<__int64>(__int64(rc.top) + pThickness->top, rc.bottom))},
            pBrush);
    if (pThickness->bottom > 0)
        FillRectangle(
            RECT{rc.left,
                 static_cast<LONG>(std::max<__int64>(__int64(rc.bottom) - pThickness->bottom, rc.top)),
                 rc.right, rc.bottom},
            pBrush);
}

void CQVTMarkupDeviceContext::FillRectangle(const RECT& rc, CQVTMarkupBrush* pBrush)
{
    if (CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pBrush))
        FillSolid(rc, pSolid->GetColorRef());
    else if (CQVTMarkupLinearGradientBrush* pGradient = MarkupCast<CQVTMarkupLinearGradientBrush>(pBrush))
        FillLinearGradient(rc, pGradient);
}

void CQVTMarkupDeviceContext::FillSolid(const RECT& rc, COLORREF clr)
{
    const COLORREF clrOld = ::SetBkColor(m_hDC, clr & 0xFFFFFF);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, clrOld);
}

void CQVTMarkupDeviceContext::FillLinearGradient(const RECT& rc, CQVTMarkupLinearGradientBrush* pBrush)
{
    CQVTMarkupGradientStops* pStops = pBrush->GetGradientStops();
    const __int64 nWidth = __int64(rc.right) - rc.left, nHeight = __int64(rc.bottom) - rc.top;
    if (pStops == nullptr || pStops->GetCount() == 0 || nWidth < 1 || nHeight < 1)
        return;
    if (pStops->GetCount() == 1)
    {
        FillSolid(rc, pStops->GetAt(0)->GetColor() & 0xFFFFFF);
        return;
    }
    const CQVTMarkupPoint* pStart = pBrush->GetStartPoint();
    const CQVTMarkupPoint* pEnd = pBrush->GetEndPoint();
    const double sx = (pStart != nullptr ? pStart->x : 0.0) * nWidth;
    const double sy = (pStart != nullptr ? pStart->y : 0.0) * nHeight;
    const double ex = (pEnd != nullptr ? pEnd->x : 1.0) * nWidth;
    const double ey = (pEnd != nullptr ? pEnd->y : 1.0) * nHeight;
    if (sx == ex && sy == ey)
        return;

    // Only the part the clip lets through is computed: a gradient over a huge
    // element costs no more than one over its visible part.
    RECT rcClip;
    if (::GetClipBox(m_hDC, &rcClip) == ERROR)
        return;
    const __int64 nClipLeft = std::max<__int64>(__int64(rcClip.left) - rc.left, 0);
    const __int64 nClipTop = std::max<__int64>(__int64(rcClip.top) - rc.top, 0);
    const __int64 nClipRight = std::min<__int64>(__int64(rcClip.right) - rc.left, nWidth);
    const __int64 nClipBottom = std::min<__int64>(__int64(rcClip.bottom) - rc.top, nHeight);
    if (nClipRight <= nClipLeft || nClipBottom <= nClipTop)
        return;
    const int cx = static_cast<int>(nClipRight - nClipLeft), cy = static_cast<int>(nClipBottom - nClipTop);

    std::vector<CGradientStop> stops;
    stops.reserve(pStops->GetCount());
    for (int i = 0; i < pStops->GetCount(); ++i)
    {
        CQVTMarkupGradientStop* pStop = pStops->GetAt(i);
        const DWORD dwColor = pStop->GetColor();
        stops.push_back(CGradientStop{GetBValue(dwColor), GetGValue(dwColor), GetRValue(dwColor), 0,
                                      pStop->GetOffset(), 0.0, i});
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const CGradientStop& a, const CGradientStop& b) { return a.dOffset < b.dOffset; });
    for (size_t i = 1; i < stops.size(); ++i)
        stops[i].dDifference = stops[i].dOffset - stops[i - 1].dOffset;

    LPBYTE pBits = nullptr;
    HBITMAP hBitmap = CQVTImageManager::Create32BitDIBSection(m_hDC, cx, cy, &pBits);
    if (hBitmap == nullptr || pBits == nullptr)
    {
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        return;
    }
    const double d = std::sqrt((ex - sx) * (ex - sx) + (ey - sy) * (ey - sy));
    const double ux = (ex - sx) / d, uy = (ey - sy) / d;
    // A bottom-up section: the clip part's top row is the last in memory.
    DWORD* pPixels = reinterpret_cast<DWORD*>(pBits);
    auto row = [&](int j) { return pPixels + size_t(cy - 1 - j) * cx; };
    auto parameter = [&](__int64 x, __int64 r) {
        return ((double(x) - sx) * ux + (double(r) + 1.0 - sy) * uy) / d;
    };
    if (sy == ey)
    {
        DWORD* pFirst = row(0);
        for (int i = 0; i < cx; ++i)
            pFirst[i] = GradientPixel(stops, parameter(nClipLeft + i, nClipTop));
        for (int j = 1; j < cy; ++j)
            std::copy(pFirst, pFirst + cx, row(j));
    }
    else if (sx == ex)
    {
        for (int j = 0; j < cy; ++j)
        {
            DWORD* pRow = row(j);
            std::fill(pRow, pRow + cx, GradientPixel(stops, parameter(nClipLeft, nClipTop + j)));
        }
    }
    else
    {
        for (int j = 0; j < cy; ++j)
        {
            DWORD* pRow = row(j);
            for (int i = 0; i < cx; ++i)
                pRow[i] = GradientPixel(stops, parameter(nClipLeft + i, nClipTop + j));
        }
    }

    HDC hMemDC = ::CreateCompatibleDC(m_hDC);
    if (hMemDC != nullptr)
    {
        HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
        ::BitBlt(m_hDC, static_cast<int>(rc.left + nClipLeft), static_cast<int>(rc.top + nClipTop), cx, cy,
                 hMemDC, 0, 0, SRCCOPY);
        ::SelectObject(hMemDC, hOld);
        ::DeleteDC(hMemDC);
    }
    ::DeleteObject(hBitmap);
}

void CQVTMarkupDeviceContext::DrawLine(int x1, int y1, int x2, int y2, const CQVTMarkupStroke* pStroke)
{
    CSelectedPenAndBrush tools(m_hDC, pStroke, nullptr, kMaxPenWidth);
    if (!tools.HasPen())
        return;
    const CGeometryLimits limits = GetGeometryLimits();
    ::MoveToEx(m_hDC, limits.X(x1), limits.Y(y1), nullptr);
    ::LineTo(m_hDC, limits.X(x2), limits.Y(y2));
}

void CQVTMarkupDeviceContext::DrawPolylineF(const Gdiplus::PointF* pPoints, int nCount,
                                            const CQVTMarkupStroke* pStroke)
{
    const std::vector<POINT> points = ToWholePoints(pPoints, nCount);
    DrawPolyline(points.data(), static_cast<int>(points.size()), pStroke);
}

void CQVTMarkupDeviceContext::DrawPolyline(const POINT* pPoints, int nCount, const CQVTMarkupStroke* pStroke)
{
    if (pPoints == nullptr || nCount < 2)
        return;
    CSelectedPenAndBrush tools(m_hDC, pStroke, nullptr, kMaxPenWidth);
    if (!tools.HasPen())
        return;
    const CGeometryLimits limits = GetGeometryLimits();
    std::vector<POINT> points(nCount);
    for (int i = 0; i < nCount; ++i)
        points[i] = limits.Point(pPoints[i].x, pPoints[i].y);
    ::Polyline(m_hDC, points.data(), nCount);
}

void CQVTMarkupDeviceContext::DrawPolygonF(const Gdiplus::PointF* pPoints, int nCount,
                                           const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill)
{
    const std::vector<POINT> points = ToWholePoints(pPoints, nCount);
    DrawPolygon(points.data(), static_cast<int>(points.size()), pStroke, pFill);
}

void CQVTMarkupDeviceContext::DrawPolygon(const POINT* pPoints, int nCount, const CQVTMarkupStroke* pStroke,
                                          CQVTMarkupBrush* pFill)
{
    if (pPoints == nullptr || nCount < 2)
        return;
    CSelectedPenAndBrush tools(m_hDC, pStroke, pFill, kMaxPenWidth);
    if (!tools.HasPen() && !tools.HasBrush())
        return;
    const CGeometryLimits limits = GetGeometryLimits();
    std::vector<POINT> points(nCount);
    for (int i = 0; i < nCount; ++i)
        points[i] = limits.Point(pPoints[i].x, pPoints[i].y);
    ::Polygon(m_hDC, points.data(), nCount);
}

void CQVTMarkupDeviceContext::DrawPath(CQVTMarkupPathData* pPath, const CQVTMarkupStroke* pStroke,
                                       CQVTMarkupBrush* pFill)
{
    if (pPath == nullptr || pPath->GetCount() == 0)
        return;
    CSelectedPenAndBrush tools(m_hDC, pStroke, pFill, kMaxPenWidth);
    if (!tools.HasPen() && !tools.HasBrush())
        return;
    const MARKUP_POINTF* pPoints = pPath->GetPoints();
    const BYTE* pTypes = pPath->GetTypes();
    const int nCount = pPath->GetCount();
    const CGeometryLimits limits = GetGeometryLimits();
    ::BeginPath(m_hDC);
    for (int i = 0; i < nCount; ++i)
    {
        const BYTE bType = pTypes[i] & QVT_PATH_TYPE_MASK;
        if (bType == QVT_PATH_BEZIER && i + 2 < nCount)
        {
            const POINT bezier[3] = {limits.Point(pPoints[i].x, pPoints[i].y),
                                     limits.Point(pPoints[i + 1].x, pPoints[i + 1].y),
                                     limits.Point(pPoints[i + 2].x, pPoints[i + 2].y)};
            ::PolyBezierTo(m_hDC, bezier, 3);
            i += 2;
        }
        else if (bType == QVT_PATH_START)
        {
            const POINT pt = limits.Point(pPoints[i].x, pPoints[i].y);
            ::MoveToEx(m_hDC, pt.x, pt.y, nullptr);
        }
        else
        {
            const POINT pt = limits.Point(pPoints[i].x, pPoints[i].y);
            ::LineTo(m_hDC, pt.x, pt.y);
        }
        if (pTypes[i] & QVT_PATH_CLOSE)
            ::CloseFigure(m_hDC);
    }
    ::EndPath(m_hDC);
    if (tools.HasPen() && tools.HasBrush())
        ::StrokeAndFillPath(m_hDC);
    else if (tools.HasBrush())
        ::FillPath(m_hDC);
    else
        ::StrokePath(m_hDC);
}

void CQVTMarkupDeviceContext::DrawImage(CQVTMarkupDeviceDependentImage* pImage, const RECT& rc)
{
    if (pImage != nullptr && pImage->GetIcon() != nullptr)
        DrawIcon(pImage->GetIcon(), rc);
}

void CQVTMarkupDeviceContext::DrawIcon(CQVTImageManagerIcon* pIcon, const RECT& rc)
{
    if (pIcon == nullptr || m_hDC == nullptr)
        return;
    pIcon->DrawSized(CDC::FromHandle(m_hDC), CPoint(rc.left, rc.top),
                     CSize(rc.right - rc.left, rc.bottom - rc.top));
}

void AFX_CDECL CQVTMarkupDeviceContext::AddRoundRectangleFigure(CQVTMarkupPathBuilder& builder, double dLeft,
                                                                double dTop, double dRight, double dBottom,
                                                                const CQVTMarkupCornerRadius& radius)
{
    const double dHalfWidth = std::max(0.0, (dRight - dLeft) / 2),
                 dHalfHeight = std::max(0.0, (dBottom - dTop) / 2);
    double r[8];
    for (int i = 0; i < 8; ++i)
    {
        // Places 1, 2, 5 and 6 lie along the top and bottom edges.
        const double dLimit = (i == 1 || i == 2 || i == 5 || i == 6) ? dHalfWidth : dHalfHeight;
        r[i] = radius.r[i] > 0.0 ? std::min(radius.r[i], dLimit) : 0.0;
    }
    auto point = [](double x, double y) {
        return MARKUP_POINTF{static_cast<float>(x), static_cast<float>(y)};
    };
    builder.MoveTo(static_cast<float>(dLeft), static_cast<float>(dTop + r[0]));
    builder.BezierTo(point(dLeft, dTop), point(dLeft + r[1], dTop), point(dLeft + r[1], dTop));
    builder.LineTo(static_cast<float>(dRight - r[2]), static_cast<float>(dTop));
    builder.BezierTo(point(dRight, dTop), point(dRight, dTop + r[3]), point(dRight, dTop + r[3]));
    builder.LineTo(static_cast<float>(dRight), static_cast<float>(dBottom - r[4]));
    builder.BezierTo(point(dRight, dBottom), point(dRight - r[5], dBottom), point(dRight - r[5], dBottom));
    builder.LineTo(static_cast<float>(dLeft + r[6]), static_cast<float>(dBottom));
    builder.BezierTo(point(dLeft, dBottom), point(dLeft, dBottom - r[7]), point(dLeft, dBottom - r[7]));
    builder.CloseFigure();
}

CQVTMarkupPathData* AFX_CDECL CQVTMarkupDeviceContext::CreateRoundRectanglePath(
    double dLeft, double dTop, double dRight, double dBottom, const CQVTMarkupCornerRadius& radius)
{
    CQVTMarkupPathBuilder builder;
    AddRoundRectangleFigure(builder, dLeft, dTop, dRight, dBottom, radius);
    CQVTMarkupPathData* pPath = builder.CreatePathData();
    // Its outline is stroked at half-pixel offsets, whatever the smoothing.
    pPath->SetPixelOffsetMode(4);
    return pPath;
}

CQVTMarkupDeviceContext::CGeometryLimits CQVTMarkupDeviceContext::GetGeometryLimits()
{
    RECT rcClip = {0, 0, 0, 0};
    if (m_hDC == nullptr || ::GetClipBox(m_hDC, &rcClip) == ERROR)
        ::SetRectEmpty(&rcClip);
    const __int64 nMargin = 32768 + __int64(kMaxPenWidth);
    auto hold = [](__int64 nValue) {
        return static_cast<LONG>(std::clamp<__int64>(nValue, -kCoordinateLimit, kCoordinateLimit));
    };
    return CGeometryLimits{{hold(rcClip.left - nMargin), hold(rcClip.top - nMargin),
                            hold(rcClip.right + nMargin), hold(rcClip.bottom + nMargin)}};
}

void CQVTMarkupDeviceContext::FillRoundRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                                 const CQVTMarkupCornerRadius* pRadius)
{
    if (pRadius == nullptr)
    {
        FillRectangle(rc, pBrush);
        return;
    }
    CQVTMarkupAutoPtr path(CreateRoundRectanglePath(rc.left, rc.top, rc.right, rc.bottom, *pRadius));
    DrawPath(static_cast<CQVTMarkupPathData*>(path.Get()), nullptr, pBrush);
}

void CQVTMarkupDeviceContext::DrawRoundRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                                 const CQVTMarkupThickness* pThickness,
                                                 const CQVTMarkupCornerRadius* pRadius)
{
    if (pRadius == nullptr)
    {
        DrawRectangle(rc, pBrush, pThickness);
        return;
    }
    if (pThickness == nullptr)
        return;
    if (pThickness->left > kMaxPenWidth)
    {
        // A frame wider than the surface shows: the ring between the outline
        // and the outline inset by the width, filled, paints what the wide
        // pen would, where GDI cannot widen a path that far.
        const double w = std::max(0, pThickness->left);
        CQVTMarkupCornerRadius inner = *pRadius;
        for (double& r : inner.r)
            r = std::max(0.0, r - w);
        CQVTMarkupPathBuilder builder;
        AddRoundRectangleFigure(builder, rc.left, rc.top, rc.right, rc.bottom, *pRadius);
        if (double(rc.right) - rc.left > 2 * w && double(rc.bottom) - rc.top > 2 * w)
            AddRoundRectangleFigure(builder, rc.left + w, rc.top + w, rc.right - w, rc.bottom - w, inner);
        CQVTMarkupAutoPtr ring(builder.CreatePathData());
        const int nOldMode = ::SetPolyFillMode(m_hDC, ALTERNATE);
        DrawPath(static_cast<CQVTMarkupPathData*>(ring.Get()), nullptr, pBrush);
        ::SetPolyFillMode(m_hDC, nOldMode);
        return;
    }
    // The pen is centred on the outline: inset by half its width, it stays inside.
    const double dInset = pThickness->left / 2.0;
    CQVTMarkupAutoPtr path(CreateRoundRectanglePath(rc.left + dInset, rc.top + dInset, rc.right - dInset,
                                                    rc.bottom - dInset, *pRadius));
    CQVTMarkupStroke stroke;
    stroke.nThickness = pThickness->left;
    stroke.pBrush = pBrush;
    DrawPath(static_cast<CQVTMarkupPathData*>(path.Get()), &stroke, nullptr);
}

void CQVTMarkupDeviceContext::DrawTextLine(LPCWSTR lpszText, int nLength, const RECT& rc)
{
    if (lpszText == nullptr || nLength <= 0 || m_hDC == nullptr)
        return;
    if (m_hAttribDC == m_hDC)
    {
        ::ExtTextOutW(m_hDC, rc.left, rc.top, 0, nullptr, lpszText, nLength, nullptr);
        return;
    }
    DrawTextWithAdvances(lpszText, nLength, rc);
}

void CQVTMarkupDeviceContext::DrawTextWithAdvances(LPCWSTR lpszText, int nLength, const RECT& rc)
{
    // The line keeps the attribute DC's layout: each character advances by
    // its width there, its glyph centred in that cell, and every word starts
    // where the attribute DC measures it.
    TEXTMETRICW tmAttrib = {}, tmOutput = {};
    ::GetTextMetricsW(m_hAttribDC, &tmAttrib);
    ::GetTextMetricsW(m_hDC, &tmOutput);
    std::vector<int> advances(nLength, 0);
    int nLeadIn = 0;
    auto addToPrevious = [&](int i, int nAmount) {
        if (i > 0)
            advances[i - 1] += nAmount;
        else
            nLeadIn += nAmount;
    };
    __int64 nSummed = 0;    // advances so far, the current character's included
    __int64 nRunStart = 0;  // where the current word starts, as the attribute DC measures
    int nRunFirst = 0;
    for (int i = 0; i < nLength; ++i)
    {
        const UINT ch = lpszText[i];
        INT nAttrib = 0, nOutput = 0;
        nAttrib = ::GetCharWidthW(m_hAttribDC, ch, ch, &nAttrib) ? nAttrib - tmAttrib.tmOverhang
                                                                 : tmAttrib.tmAveCharWidth;
        nOutput = ::GetCharWidthW(m_hDC, ch, ch, &nOutput) ? nOutput - tmOutput.tmOverhang
                                                           : tmOutput.tmAveCharWidth;
        const int nShift = (nAttrib - nOutput) / 2;
        advances[i] = nAttrib - nShift;
        addToPrevious(i, nShift);
        nSummed += nAttrib;
        if (ch == tmAttrib.tmBreakChar)
        {
            SIZE size = {0, 0};
            ::GetTextExtentPoint32W(m_hAttribDC, lpszText + nRunFirst, i - nRunFirst + 1, &size);
            const __int64 nPosition = nRunStart + size.cx - tmAttrib.tmOverhang;
            addToPrevious(i, static_cast<int>(nPosition - nSummed));
            nSummed = nPosition;
            nRunStart = nPosition;
            nRunFirst = i + 1;
        }
    }
    const UINT nAlign = ::GetTextAlign(m_hDC);
    int nLead = nLeadIn;
    if ((nAlign & TA_CENTER) == TA_CENTER)
        nLead = nLeadIn / 2;
    else if ((nAlign & TA_CENTER) == TA_RIGHT)
        nLead = 0;
    int x = rc.left + nLead;
    if (nAlign & TA_UPDATECP)
    {
        POINT pt;
        ::GetCurrentPositionEx(m_hDC, &pt);
        ::MoveToEx(m_hDC, pt.x + nLead, pt.y, nullptr);
        x = pt.x + nLead;
    }
    ::ExtTextOutW(m_hDC, x, rc.top, 0, nullptr, lpszText, nLength, advances.data());
}

void CQVTMarkupDeviceContext::GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize)
{
    SIZE size = GetTextExtent(lpszText, nLength);
    pSize[0] = static_cast<float>(size.cx);
    pSize[1] = static_cast<float>(size.cy);
}

SIZE CQVTMarkupDeviceContext::GetTextExtent(LPCWSTR lpszText, int nLength)
{
    SIZE size = {0, 0};
    if (lpszText != nullptr && nLength > 0)
        ::GetTextExtentPoint32W(m_hAttribDC, lpszText, nLength, &size);
    else
    {
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(m_hAttribDC, &tm);
        size.cy = tm.tmHeight;
    }
    return size;
}

void CQVTMarkupDeviceContext::SetTextColor(CQVTMarkupBrush* pBrush)
{
    ::SetTextColor(m_hDC, pBrush != nullptr ? pBrush->GetColorRef() & 0xFFFFFF : 0);
}

void CQVTMarkupDeviceContext::SetFont(CQVTMarkupFont* pFont)
{
    if (m_hDC == nullptr)
        return;
    if (pFont == nullptr)
    {
        if (m_hOldFont != nullptr)
        {
            ::SelectObject(m_hDC, m_hOldFont);
            if (m_hAttribDC != m_hDC)
                ::SelectObject(m_hAttribDC, m_hOldFont);
            m_hOldFont = nullptr;
        }
        return;
    }
    HFONT hFont = pFont->GetFontHandle();
    if (hFont == nullptr)
        return;
    // Under Wine every selection of a font re-reads the X resources: select
    // only a font that is not in place already.
    if (::GetCurrentObject(m_hAttribDC, OBJ_FONT) == hFont &&
        (m_hAttribDC == m_hDC || ::GetCurrentObject(m_hDC, OBJ_FONT) == hFont))
        return;
    HGDIOBJ hOld = nullptr;
    if (m_hAttribDC != m_hDC)
        hOld = ::SelectObject(m_hDC, hFont);
    HGDIOBJ hOldAttrib = ::SelectObject(m_hAttribDC, hFont);
    if (m_hOldFont == nullptr)
        m_hOldFont = static_cast<HFONT>(m_hAttribDC != m_hDC ? hOld : hOldAttrib);
}

BOOL CQVTMarkupDeviceContext::GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent)
{
    if (pFont == nullptr || pFont->GetFontHandle() == nullptr || pnAscent == nullptr || pnDescent == nullptr)
        return FALSE;
    HGDIOBJ hOld = ::SelectObject(m_hDC, pFont->GetFontHandle());
    TEXTMETRICW tm = {};
    const BOOL bResult = ::GetTextMetricsW(m_hDC, &tm);
    ::SelectObject(m_hDC, hOld);
    if (!bResult)
        return FALSE;
    *pnAscent = tm.tmAscent;
    *pnDescent = tm.tmDescent;
    return TRUE;
}

void CQVTMarkupDeviceContext::IntersectClipRect(const RECT& rc)
{
    ::IntersectClipRect(m_hDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CQVTMarkupDeviceContext::GetClipBox(RECT* pRect)
{
    if (::GetClipBox(m_hDC, pRect) == ERROR)
        ::SetRectEmpty(pRect);
}

void* CQVTMarkupDeviceContext::SaveClipRegion()
{
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    if (hRegion == nullptr)
        return nullptr;
    if (::GetClipRgn(m_hDC, hRegion) != 1)
    {
        ::DeleteObject(hRegion);
        return kNoClip;
    }
    return hRegion;
}

void CQVTMarkupDeviceContext::RestoreClipRegion(void* pSaved)
{
    if (pSaved == nullptr)
        return;
    if (pSaved == kNoClip)
    {
        ::ExtSelectClipRgn(m_hDC, nullptr, RGN_COPY);
        return;
    }
    HRGN hRegion = static_cast<HRGN>(pSaved);
    ::ExtSelectClipRgn(m_hDC, hRegion, RGN_COPY);
    ::DeleteObject(hRegion);
}

HDC CQVTMarkupDeviceContext::GetDC()
{
    return m_hDC;
}

void CQVTMarkupDeviceContext::ReleaseDC(HDC) {}
