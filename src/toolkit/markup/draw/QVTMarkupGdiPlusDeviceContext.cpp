#include "toolkit/markup/draw/QVTMarkupGdiPlusDeviceContext.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/foundation/core/QVTCriticalSection.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/image/QVTImageManagerResource.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/image/QVTMarkupDeviceDependentImage.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

IMPLEMENT_DYNAMIC(CQVTMarkupGdiPlusDeviceContext, CQVTMarkupDeviceContext)

using namespace QVTGdiPlus;

namespace {
// Pixels of the dedicated DC's bitmap that GDI never touched keep this
// value: GDI writes a zero top byte, so the marker tells drawn pixels apart.
const DWORD kUntouchedPixel = 0x01000000;

Gdiplus::ARGB ArgbFromMarkupColor(DWORD dwColor)
{
    // Markup colours are 0xAABBGGRR.
    return (dwColor & 0xFF000000) | ((dwColor & 0xFF) << 16) | (dwColor & 0xFF00) | ((dwColor >> 16) & 0xFF);
}

Gdiplus::RectF BoundsOf(const Gdiplus::PointF* pPoints, int nCount)
{
    float fLeft = pPoints[0].X, fTop = pPoints[0].Y, fRight = fLeft, fBottom = fTop;
    for (int i = 1; i < nCount; ++i)
    {
        fLeft = std::min(fLeft, pPoints[i].X);
        fTop = std::min(fTop, pPoints[i].Y);
        fRight = std::max(fRight, pPoints[i].X);
        fBottom = std::max(fBottom, pPoints[i].Y);
    }
    return MakeRectF(fLeft, fTop, fRight - fLeft, fBottom - fTop);
}

Gdiplus::RectF RectFOf(const RECT& rc)
{
    return MakeRectF(static_cast<float>(rc.left), static_cast<float>(rc.top),
                     static_cast<float>(double(rc.right) - rc.left),
                     static_cast<float>(double(rc.bottom) - rc.top));
}

// A GDI+ bitmap over a copy of 32-bit pixels, top row first.
CGpImage BitmapFromPixels(const DWORD* pPixels, int cx, int cy, Gdiplus::PixelFormat format)
{
    CGpImage image;
    if (pPixels == nullptr || cx <= 0 || cy <= 0)
        return image;
    Gdiplus::GpBitmap* pBitmap = nullptr;
    if (GdipCreateBitmapFromScan0(cx, cy, 0, format, nullptr, &pBitmap) != Gdiplus::Ok)
        return image;
    image.Reset(pBitmap);
    Gdiplus::BitmapData data = {};
    Gdiplus::GpRect rc = MakeRect(0, 0, cx, cy);
    if (GdipBitmapLockBits(pBitmap, &rc, Gdiplus::ImageLockModeWrite, format, &data) != Gdiplus::Ok)
    {
        image.Reset();
        return image;
    }
    for (int y = 0; y < cy; ++y)
        memcpy(static_cast<BYTE*>(data.Scan0) + size_t(y) * data.Stride, pPixels + size_t(y) * cx,
               size_t(cx) * 4);
    GdipBitmapUnlockBits(pBitmap, &data);
    return image;
}

// The 32-bit pixels of a bitmap, top row first.
BOOL ReadPixels(HBITMAP hBitmap, int cx, int cy, std::vector<DWORD>& pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.assign(size_t(cx) * cy, 0);
    HDC hDC = ::GetDC(nullptr);
    const int nLines = ::GetDIBits(hDC, hBitmap, 0, cy, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hDC);
    return nLines == cy;
}

// An icon handle as ARGB pixels: its own alpha when its colour bitmap has
// any, else opaque with the mask's pixels transparent.
CGpImage BitmapFromIconHandle(HICON hIcon)
{
    ICONINFO info = {};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info))
        return CGpImage();
    CGpImage image;
    BITMAP bm = {};
    if (info.hbmColor != nullptr && ::GetObjectW(info.hbmColor, sizeof(bm), &bm) && bm.bmWidth > 0 &&
        bm.bmHeight > 0)
    {
        std::vector<DWORD> colour, mask;
        if (ReadPixels(info.hbmColor, bm.bmWidth, bm.bmHeight, colour))
        {
            const bool bAlpha =
                std::any_of(colour.begin(), colour.end(), [](DWORD p) { return (p & 0xFF000000) != 0; });
            if (!bAlpha)
            {
                const bool bMask =
                    info.hbmMask != nullptr && ReadPixels(info.hbmMask, bm.bmWidth, bm.bmHeight, mask);
                for (size_t i = 0; i < colour.size(); ++i)
                    colour[i] = (bMask && (mask[i] & 0xFFFFFF) != 0) ? 0 : (colour[i] | 0xFF000000);
            }
            image = BitmapFromPixels(colour.data(), bm.bmWidth, bm.bmHeight, PixelFormat32bppARGB);
        }
    }
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return image;
}

// A 32-bit alpha bitmap (rows bottom-up when its height is positive).
CGpImage BitmapFromAlphaBitmap(HBITMAP hBitmap, BOOL bPremultiplied)
{
    DIBSECTION section = {};
    if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(section), &section) != sizeof(section) ||
        section.dsBm.bmBits == nullptr || section.dsBm.bmBitsPixel != 32)
        return CGpImage();
    const int cx = section.dsBm.bmWidth, cy = section.dsBm.bmHeight;
    if (cx <= 0 || cy <= 0)
        return CGpImage();
    ::GdiFlush();
    const DWORD* pBits = static_cast<const DWORD*>(section.dsBm.bmBits);
    std::vector<DWORD> pixels(size_t(cx) * cy);
    const bool bBottomUp = section.dsBmih.biHeight > 0;
    for (int y = 0; y < cy; ++y)
        memcpy(&pixels[size_t(y) * cx], pBits + size_t(bBottomUp ? cy - 1 - y : y) * cx, size_t(cx) * 4);
    return BitmapFromPixels(pixels.data(), cx, cy,
                            bPremultiplied ? PixelFormat32bppPARGB : PixelFormat32bppARGB);
}

// GDI+ fonts by LOGFONT and resolution, handed out as copies. Making one
// realises a GDI font, for which Wine reads the X resources and asks its
// server: a repaint changes fonts for every run of text.
class CFontCache
{
public:
    CGpFont Copy(HDC hDC, const LOGFONTW& lfGiven, Gdiplus::REAL fDpi)
    {
        LOGFONTW lf = lfGiven;
        // Only the name counts, not what follows its end.
        const size_t nName = _tcsnlen(lf.lfFaceName, LF_FACESIZE - 1);
        std::fill(lf.lfFaceName + nName, lf.lfFaceName + LF_FACESIZE, WCHAR(0));
        std::string strKey(reinterpret_cast<const char*>(&lf), sizeof(lf));
        strKey.append(reinterpret_cast<const char*>(&fDpi), sizeof(fDpi));
        CGpFont copy;
        CQVTCriticalSectionLock lock(m_cs);
        auto it = m_fonts.find(strKey);
        if (it == m_fonts.end())
        {
            CGpFont font;
            if (hDC == nullptr || GdipCreateFontFromLogfontW(hDC, &lf, font.Receive()) != Gdiplus::Ok ||
                !font)
                return copy;
            if (m_fonts.size() >= 256)
                m_fonts.clear();
            it = m_fonts.emplace(strKey, std::move(font)).first;
        }
        GdipCloneFont(it->second, copy.Receive());
        return copy;
    }

private:
    CQVTCriticalSection m_cs;
    std::unordered_map<std::string, CGpFont> m_fonts;
};

CFontCache& FontCache()
{
    // Never destroyed: GDI+ may be gone at exit.
    static CFontCache* s_pCache = new CFontCache();
    return *s_pCache;
}

// The smoothing-mode table: smoothing, pixel offset, interpolation, text
// hint with and without the text flag.
struct CQualitySettings
{
    int nSmoothing;
    int nPixelOffset;
    int nInterpolation;
    int nTextHint;
    int nTextHintWithFlag;
};

const CQualitySettings kQuality[] = {
    {4, 2, 7, 0, 0}, {3, 3, 1, 0, 0}, {1, 1, 1, 0, 0}, {2, 2, 2, 0, 4}, {4, 2, 7, 0, 4},
};
}  // namespace

// Dedicated DC

CQVTMarkupGdiPlusDeviceContext::DedicatedDC::DedicatedDC(CQVTMarkupGdiPlusDeviceContext* pOwner,
                                                         const RECT& rc)
    : CQVTMarkupDedicatedDC(pOwner, rc), m_hBitmap(nullptr), m_pBits(nullptr),
      m_hOldBitmap(nullptr), m_rcBitmap{0, 0, 0, 0}
{
}

CQVTMarkupGdiPlusDeviceContext::DedicatedDC::~DedicatedDC()
{
    if (m_hDC != nullptr)
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteDC(m_hDC);
        m_hDC = nullptr;
    }
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_pOwner = nullptr;  // the base must not hand the memory DC to the owner
}

HDC CQVTMarkupGdiPlusDeviceContext::DedicatedDC::GetDC()
{
    if (m_hDC != nullptr || m_pOwner == nullptr)
        return m_hDC;
    // Only what the clip box shows gets pixels. Its bounds are in the
    // element's coordinates, through any world transform; a scaled or turned
    // picture samples a pixel or two beyond them at its edges.
    RECT rcClip = {0, 0, 0, 0};
    m_pOwner->GetClipBox(&rcClip);
    const LONG nMargin = 2;
    auto grow = [](LONG nValue, LONG nBy) {
        return static_cast<LONG>(std::clamp<__int64>(__int64(nValue) + nBy, INT_MIN, INT_MAX));
    };
    rcClip = {grow(rcClip.left, -nMargin), grow(rcClip.top, -nMargin), grow(rcClip.right, nMargin),
              grow(rcClip.bottom, nMargin)};
    if (!::IntersectRect(&m_rcBitmap, &m_rc, &rcClip))
        return nullptr;
    const __int64 cx = __int64(m_rcBitmap.right) - m_rcBitmap.left,
                  cy = __int64(m_rcBitmap.bottom) - m_rcBitmap.top;
    // Bounded like any bitmap: a huge surface gets no DC rather than a huge allocation.
    if (cx <= 0 || cy <= 0 || cx > 0x4000 || cy > 0x4000)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(cx);
    info.bmiHeader.biHeight = -static_cast<LONG>(cy);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (m_hBitmap == nullptr || pBits == nullptr)
        return nullptr;
    m_pBits = static_cast<DWORD*>(pBits);
    std::fill(m_pBits, m_pBits + cx * cy, kUntouchedPixel);
    m_hDC = ::CreateCompatibleDC(nullptr);
    if (m_hDC == nullptr)
        return nullptr;
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    ::SetViewportOrgEx(m_hDC, -m_rcBitmap.left, -m_rcBitmap.top, nullptr);
    ::SetBkMode(m_hDC, TRANSPARENT);
    return m_hDC;
}

void CQVTMarkupGdiPlusDeviceContext::DedicatedDC::Flush()
{
    CQVTMarkupGdiPlusDeviceContext* pOwner = static_cast<CQVTMarkupGdiPlusDeviceContext*>(m_pOwner);
    if (m_hDC == nullptr || m_pBits == nullptr || pOwner == nullptr)
        return;
    ::GdiFlush();
    const int cx = m_rcBitmap.right - m_rcBitmap.left, cy = m_rcBitmap.bottom - m_rcBitmap.top;
    // What GDI drew is opaque; what alpha-aware drawing (themes) blended over
    // the empty bitmap is premultiplied already; untouched pixels vanish.
    // The section's own pixels are mended and lent to GDI+, not copied.
    for (DWORD *pPixel = m_pBits, *pEnd = m_pBits + size_t(cx) * cy; pPixel != pEnd; ++pPixel)
    {
        if (*pPixel == kUntouchedPixel)
            *pPixel = 0;
        else if ((*pPixel & 0xFF000000) == 0)
            *pPixel |= 0xFF000000;
    }
    Gdiplus::GpBitmap* pBitmap = nullptr;
    if (GdipCreateBitmapFromScan0(cx, cy, cx * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(m_pBits),
                                  &pBitmap) != Gdiplus::Ok)
        return;
    CGpImage image(pBitmap);
    GdipDrawImageRectI(pOwner->GetGraphics(), image, m_rcBitmap.left, m_rcBitmap.top, cx, cy);
}

// Device context

Gdiplus::GpGraphics* AFX_CDECL CQVTMarkupGdiPlusDeviceContext::CreateGraphics(HDC hDC, HDC hAttribDC)
{
    if (hDC == nullptr || !EnsureStarted())
        return nullptr;
    Gdiplus::GpGraphics* pGraphics = nullptr;
    const GpStatus status = (hAttribDC == nullptr || hAttribDC == hDC)
                                ? GdipCreateFromHDC(hDC, &pGraphics)
                                : GdipCreateFromHDC2(hDC, hAttribDC, &pGraphics);
    if (status != Gdiplus::Ok || pGraphics == nullptr)
        return nullptr;
    GdipSetPageUnit(pGraphics, Gdiplus::UnitPixel);
    // The DC's own clip bounds drawing, and the render walk's clip box, as it
    // would under GDI.
    HRGN hClip = ::CreateRectRgn(0, 0, 0, 0);
    if (hClip != nullptr)
    {
        if (::GetClipRgn(hDC, hClip) == 1)
            GdipSetClipHrgn(pGraphics, hClip, Gdiplus::CombineModeReplace);
        ::DeleteObject(hClip);
    }
    return pGraphics;
}

CQVTMarkupGdiPlusDeviceContext::CQVTMarkupGdiPlusDeviceContext(Gdiplus::GpGraphics* pGraphics, BOOL bBorrowed,
                                                               HDC hSurface)
    : CQVTMarkupDeviceContext(nullptr, nullptr), m_nPixelOffsetMode(0), m_nGpSmoothingMode(4),
      m_nInterpolationMode(7), m_nTextRenderingHint(0), m_bBorrowed(bBorrowed), m_pGraphics(pGraphics),
      m_argbText(0), m_bTextSolid(FALSE), m_bClipKnown(FALSE)
{
    AttachSurface(hSurface);
    m_format.Reset();
    CQVTMarkupGdiPlusDeviceContext::SetSmoothingMode(0, 1);
    ApplyQualitySettings();
    Gdiplus::GpStringFormat* pGeneric = nullptr;
    if (GdipStringFormatGetGenericTypographic(&pGeneric) == Gdiplus::Ok && pGeneric != nullptr)
    {
        GdipCloneStringFormat(pGeneric, m_format.Receive());
        if (m_format)
            GdipSetStringFormatFlags(m_format, Gdiplus::StringFormatFlagsNoClip |
                                                   Gdiplus::StringFormatFlagsNoWrap |
                                                   Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                                                   Gdiplus::StringFormatFlagsNoFitBlackBox);
    }
}

CQVTMarkupGdiPlusDeviceContext::~CQVTMarkupGdiPlusDeviceContext()
{
    m_font.Reset();
    m_textBrush.Reset();
    m_format.Reset();
    if (m_pGraphics != nullptr && !m_bBorrowed)
        GdipDeleteGraphics(m_pGraphics);
}

void CQVTMarkupGdiPlusDeviceContext::ApplyQualitySettings()
{
    if (m_pGraphics == nullptr)
        return;
    GdipSetSmoothingMode(m_pGraphics, static_cast<Gdiplus::SmoothingMode>(m_nGpSmoothingMode));
    GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(m_nPixelOffsetMode));
    GdipSetInterpolationMode(m_pGraphics, static_cast<Gdiplus::InterpolationMode>(m_nInterpolationMode));
    GdipSetTextRenderingHint(m_pGraphics, static_cast<Gdiplus::TextRenderingHint>(m_nTextRenderingHint));
}

CQVTMarkupDeviceContext::CGeometryLimits CQVTMarkupGdiPlusDeviceContext::GetGeometryLimits()
{
    RECT rcClip = {0, 0, 0, 0};
    GetClipBox(&rcClip);
    const __int64 nMargin = 32768 + __int64(kMaxPenWidth);
    // Well inside the float range that GDI+ computes in.
    const __int64 nLimit = 134217727;
    auto hold = [nLimit](__int64 nValue) {
        return static_cast<LONG>(std::clamp<__int64>(nValue, -nLimit, nLimit));
    };
    return CGeometryLimits{{hold(rcClip.left - nMargin), hold(rcClip.top - nMargin),
                            hold(rcClip.right + nMargin), hold(rcClip.bottom + nMargin)}};
}

std::vector<Gdiplus::PointF> CQVTMarkupGdiPlusDeviceContext::HeldPoints(const CGeometryLimits& limits,
                                                                        const Gdiplus::PointF* pPoints,
                                                                        int nCount)
{
    auto hold = [](float fValue, LONG nLow, LONG nHigh) {
        if (!(fValue > nLow))
            return static_cast<float>(nLow);
        return std::min(fValue, static_cast<float>(nHigh));
    };
    std::vector<Gdiplus::PointF> points(nCount);
    for (int i = 0; i < nCount; ++i)
        points[i] = Gdiplus::PointF(hold(pPoints[i].X, limits.rc.left, limits.rc.right),
                                    hold(pPoints[i].Y, limits.rc.top, limits.rc.bottom));
    return points;
}

CGpPath CQVTMarkupGdiPlusDeviceContext::CreateLinePath(const Gdiplus::PointF* pPoints, const BYTE* pTypes,
                                                       int nCount)
{
    // GDI+ under Wine overflows its stack flattening the curves of a large
    // figure: curves become lines here first, about one every four pixels of
    // the control polygon, at most 256 to a curve.
    std::vector<Gdiplus::PointF> points;
    std::vector<BYTE> types;
    points.reserve(nCount);
    types.reserve(nCount);
    for (int i = 0; i < nCount; ++i)
    {
        const BYTE bType = pTypes[i] & QVT_PATH_TYPE_MASK;
        if (bType != QVT_PATH_BEZIER || i == 0 || i + 2 >= nCount)
        {
            points.push_back(pPoints[i]);
            types.push_back(bType == QVT_PATH_BEZIER ? BYTE(QVT_PATH_LINE | (pTypes[i] & QVT_PATH_CLOSE))
                                                     : pTypes[i]);
            continue;
        }
        const Gdiplus::PointF p0 = pPoints[i - 1], p1 = pPoints[i], p2 = pPoints[i + 1], p3 = pPoints[i + 2];
        auto distance = [](const Gdiplus::PointF& a, const Gdiplus::PointF& b) {
            return std::hypot(double(b.X) - a.X, double(b.Y) - a.Y);
        };
        const double dLength = distance(p0, p1) + distance(p1, p2) + distance(p2, p3);
        const int nSegments = static_cast<int>(std::clamp(std::ceil(dLength / 4.0), 1.0, 256.0));
        for (int k = 1; k <= nSegments; ++k)
        {
            const double t = double(k) / nSegments, u = 1.0 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            points.push_back(Gdiplus::PointF(static_cast<float>(a * p0.X + b * p1.X + c * p2.X + d * p3.X),
                                             static_cast<float>(a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y)));
            types.push_back(QVT_PATH_LINE);
        }
        types.back() |= pTypes[i + 2] & QVT_PATH_CLOSE;
        i += 2;
    }
    CGpPath path;
    GdipCreatePath2(points.data(), types.data(), static_cast<int>(points.size()), Gdiplus::FillModeAlternate,
                    path.Receive());
    return path;
}

CGpPath CQVTMarkupGdiPlusDeviceContext::CreateEllipseLinePath(float x, float y, float cx, float cy)
{
    // Four quarter curves with the usual control distance.
    const float k = 0.5522847498f;
    const float rx = cx / 2, ry = cy / 2, mx = x + rx, my = y + ry;
    const Gdiplus::PointF points[13] = {{x + cx, my}, {x + cx, my + ry * k}, {mx + rx * k, y + cy},
                                        {mx, y + cy}, {mx - rx * k, y + cy}, {x, my + ry * k},
                                        {x, my},      {x, my - ry * k},      {mx - rx * k, y},
                                        {mx, y},      {mx + rx * k, y},      {x + cx, my - ry * k},
                                        {x + cx, my}};
    BYTE types[13] = {QVT_PATH_START};
    for (int i = 1; i < 13; ++i)
        types[i] = QVT_PATH_BEZIER;
    types[12] |= QVT_PATH_CLOSE;
    return CreateLinePath(points, types, 13);
}

RECT CQVTMarkupGdiPlusDeviceContext::HeldRect(const CGeometryLimits& limits, const RECT& rc)
{
    return RECT{limits.X(rc.left), limits.Y(rc.top), limits.X(rc.right), limits.Y(rc.bottom)};
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusDeviceContext::GetTransform()
{
    CGpMatrix matrix = CreateMatrix();
    if (!matrix || GdipGetWorldTransform(m_pGraphics, matrix) != Gdiplus::Ok)
        return nullptr;
    return new CQVTMarkupGdiPlusTransformationMatrix(matrix.Detach());
}

void CQVTMarkupGdiPlusDeviceContext::SetTransform(CQVTMarkupTransformationMatrix* pMatrix)
{
    CQVTMarkupGdiPlusTransformationMatrix* pGdiPlus =
        DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusTransformationMatrix, pMatrix);
    if (pGdiPlus != nullptr && pGdiPlus->GetMatrix() != nullptr)
        GdipSetWorldTransform(m_pGraphics, pGdiPlus->GetMatrix());
}

void CQVTMarkupGdiPlusDeviceContext::OffsetViewport(POINT pt)
{
    GdipTranslateWorldTransform(m_pGraphics, static_cast<float>(pt.x), static_cast<float>(pt.y),
                                Gdiplus::MatrixOrderPrepend);
    // GDI drawing on the graphics' own DC lands at the same place.
    HDC hDC = GetDC();
    if (hDC == nullptr)
        return;
    SIZE szWindow = {1, 1}, szViewport = {1, 1};
    if (!::GetWindowExtEx(hDC, &szWindow) || !::GetViewportExtEx(hDC, &szViewport) || szWindow.cx == 0 ||
        szWindow.cy == 0)
        szWindow = szViewport = {1, 1};
    ::OffsetViewportOrgEx(
        hDC, static_cast<int>(__int64(pt.x) * std::abs(szViewport.cx) / std::abs(szWindow.cx)),
        static_cast<int>(__int64(pt.y) * std::abs(szViewport.cy) / std::abs(szWindow.cy)), nullptr);
    ReleaseDC(hDC);
}

int CQVTMarkupGdiPlusDeviceContext::SetSmoothingMode(int nMode, int nTextFlag)
{
    const int nPrevious = m_nSmoothingMode;
    if (nMode < 0 || nMode >= static_cast<int>(_countof(kQuality)))
        return nPrevious;
    const CQualitySettings& settings = kQuality[nMode];
    m_nGpSmoothingMode = settings.nSmoothing;
    m_nPixelOffsetMode = settings.nPixelOffset;
    m_nInterpolationMode = settings.nInterpolation;
    m_nTextRenderingHint = nTextFlag > 0 ? settings.nTextHintWithFlag : settings.nTextHint;
    m_nSmoothingMode = nMode;
    if (nMode != nPrevious)
        ApplyQualitySettings();
    return nPrevious;
}

CQVTMarkupDedicatedDC* CQVTMarkupGdiPlusDeviceContext::CreateDedicatedDC(const RECT& rc)
{
    return new DedicatedDC(this, rc);
}

CQVTMarkupDeviceDependentImage* CQVTMarkupGdiPlusDeviceContext::CreateDeviceDependentImage(
    IQVTMarkupDeviceDependentImageSite* pSite)
{
    return new CQVTMarkupGdiPlusImage(pSite);
}

Gdiplus::ARGB CQVTMarkupGdiPlusDeviceContext::ApplyOpacity(Gdiplus::ARGB argb) const
{
    const double dOpacity = std::clamp(m_dOpacity, 0.0, 1.0);
    const double dAlpha = double(argb >> 24) / 255.0 * dOpacity * 255.0;
    return (static_cast<Gdiplus::ARGB>(static_cast<int>(dAlpha)) << 24) | (argb & 0xFFFFFF);
}

CGpBrush CQVTMarkupGdiPlusDeviceContext::CreateBrush(CQVTMarkupBrush* pBrush, float x, float y, float cx,
                                                     float cy)
{
    if (CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pBrush))
        return CreateSolidFill(ApplyOpacity(ArgbFromMarkupColor(pSolid->GetColor())));
    CQVTMarkupLinearGradientBrush* pGradient = MarkupCast<CQVTMarkupLinearGradientBrush>(pBrush);
    CQVTMarkupGradientStops* pStops = pGradient != nullptr ? pGradient->GetGradientStops() : nullptr;
    if (pStops == nullptr || pStops->GetCount() == 0)
        return CGpBrush();

    const CQVTMarkupPoint* pStart = pGradient->GetStartPoint();
    const CQVTMarkupPoint* pEnd = pGradient->GetEndPoint();
    const Gdiplus::PointF ptStart(static_cast<float>((pStart != nullptr ? pStart->x : 0.0) * cx + x),
                                  static_cast<float>((pStart != nullptr ? pStart->y : 0.0) * cy + y));
    const Gdiplus::PointF ptEnd(static_cast<float>((pEnd != nullptr ? pEnd->x : 1.0) * cx + x),
                                static_cast<float>((pEnd != nullptr ? pEnd->y : 1.0) * cy + y));
    struct CStop
    {
        Gdiplus::ARGB argb;
        float fOffset;
    };
    std::vector<CStop> stops;
    for (int i = 0; i < pStops->GetCount(); ++i)
    {
        CQVTMarkupGradientStop* pStop = pStops->GetAt(i);
        stops.push_back(
            {ApplyOpacity(ArgbFromMarkupColor(pStop->GetColor())), static_cast<float>(pStop->GetOffset())});
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const CStop& a, const CStop& b) { return a.fOffset < b.fOffset; });

    Gdiplus::GpLineGradient* pLine = nullptr;
    if (GdipCreateLineBrush(&ptStart, &ptEnd, stops.front().argb, stops.back().argb,
                            Gdiplus::WrapModeTileFlipXY, &pLine) != Gdiplus::Ok ||
        pLine == nullptr)
        return CGpBrush();
    CGpBrush brush(pLine);
    // The first and last colours run out to both ends of the axis.
    std::vector<Gdiplus::ARGB> colours;
    std::vector<float> positions;
    colours.push_back(stops.front().argb);
    positions.push_back(0.0f);
    for (const CStop& stop : stops)
    {
        colours.push_back(stop.argb);
        positions.push_back(std::clamp(stop.fOffset, 0.0f, 1.0f));
    }
    colours.push_back(stops.back().argb);
    positions.push_back(1.0f);
    GdipSetLinePresetBlend(pLine, colours.data(), positions.data(), static_cast<int>(colours.size()));
    return brush;
}

CGpPen CQVTMarkupGdiPlusDeviceContext::CreatePen(const CQVTMarkupStroke* pStroke, float x, float y, float cx,
                                                 float cy)
{
    CGpPen pen;
    if (pStroke == nullptr || pStroke->pBrush == nullptr)
        return pen;
    const float fWidth = static_cast<float>(std::min<int>(pStroke->nThickness, kMaxPenWidth));
    if (CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pStroke->pBrush))
    {
        GdipCreatePen1(ApplyOpacity(ArgbFromMarkupColor(pSolid->GetColor())), fWidth, Gdiplus::UnitWorld,
                       pen.Receive());
    }
    else
    {
        CGpBrush brush = CreateBrush(pStroke->pBrush, x, y, cx, cy);
        if (!brush)
            return pen;
        GdipCreatePen2(brush, fWidth, Gdiplus::UnitWorld, pen.Receive());
    }
    if (!pen)
        return pen;
    if (pStroke->pDashArray != nullptr && pStroke->pDashArray->GetCount() > 0)
    {
        std::vector<float> dashes = pStroke->pDashArray->GetValues();
        if (dashes.size() == 1)
            dashes.push_back(dashes.front());
        // A dash or gap of zero or less (or no number at all) is refused by
        // GDI+; the pen then stays solid.
        if (std::all_of(dashes.begin(), dashes.end(), [](float f) { return f > 0.0f && std::isfinite(f); }))
            GdipSetPenDashArray(pen, dashes.data(), static_cast<int>(dashes.size()));
    }
    if (pStroke->nLineJoin != 0)
        GdipSetPenLineJoin(pen, static_cast<Gdiplus::LineJoin>(pStroke->nLineJoin));
    if (pStroke->nStartCap != 0)
        GdipSetPenStartCap(pen, static_cast<Gdiplus::LineCap>(pStroke->nStartCap));
    if (pStroke->nEndCap != 0)
        GdipSetPenEndCap(pen, static_cast<Gdiplus::LineCap>(pStroke->nEndCap));
    return pen;
}

void CQVTMarkupGdiPlusDeviceContext::DrawEllipse(const RECT& rcEllipse, const CQVTMarkupStroke* pStroke,
                                                 CQVTMarkupBrush* pFill)
{
    const RECT rc = HeldRect(GetGeometryLimits(), rcEllipse);
    const int t = pStroke != nullptr && pStroke->pBrush != nullptr ? std::max(pStroke->nThickness, 0) : 0;
    const float x = rc.left + t / 2.0f, y = rc.top + t / 2.0f;
    const float cx = static_cast<float>(double(rc.right) - rc.left - t),
                cy = static_cast<float>(double(rc.bottom) - rc.top - t);
    CGpPath outline = CreateEllipseLinePath(x, y, cx, cy);
    if (!outline)
        return;
    if (pFill != nullptr)
    {
        CGpBrush brush = CreateBrush(pFill, x, y, cx, cy);
        if (brush)
            GdipFillPath(m_pGraphics, brush, outline);
    }
    if (t > 0)
    {
        CGpPen pen = CreatePen(pStroke, x, y, cx, cy);
        if (pen)
            GdipDrawPath(m_pGraphics, pen, outline);
    }
}

void CQVTMarkupGdiPlusDeviceContext::DrawRectangle(const RECT& rcBorder, CQVTMarkupBrush* pBrush,
                                                   const CQVTMarkupThickness* pThickness)
{
    if (pBrush == nullptr || pThickness == nullptr)
        return;
    const RECT rc = HeldRect(GetGeometryLimits(), rcBorder);
    const Gdiplus::RectF rcF = RectFOf(rc);
    CGpBrush brush = CreateBrush(pBrush, rcF.X, rcF.Y, rcF.Width, rcF.Height);
    if (!brush)
        return;
    // Bands wider than the rectangle stop at its far side, as under GDI.
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    const int nLeft = std::clamp(pThickness->left, 0, cx), nRight = std::clamp(pThickness->right, 0, cx);
    const int nTop = std::clamp(pThickness->top, 0, cy), nBottom = std::clamp(pThickness->bottom, 0, cy);
    const int cxInner = std::max(cx - nLeft - nRight, 0);
    if (CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pBrush))
    {
        const Gdiplus::ARGB argb = ApplyOpacity(ArgbFromMarkupColor(pSolid->GetColor()));
        const RECT bands[4] = {{rc.left, rc.top, rc.left + nLeft, rc.bottom},
                               {rc.right - nRight, rc.top, rc.right, rc.bottom},
                               {rc.left + nLeft, rc.top, rc.left + nLeft + cxInner, rc.top + nTop},
                               {rc.left + nLeft, rc.bottom - nBottom, rc.left + nLeft + cxInner, rc.bottom}};
        if (FillDirect(bands[0], argb) && FillDirect(bands[1], argb) && FillDirect(bands[2], argb) &&
            FillDirect(bands[3], argb))
            return;
    }
    if (nLeft > 0)
        GdipFillRectangleI(m_pGraphics, brush, rc.left, rc.top, nLeft, cy);
    if (nRight > 0)
        GdipFillRectangleI(m_pGraphics, brush, rc.right - nRight, rc.top, nRight, cy);
    if (nTop > 0 && cxInner > 0)
        GdipFillRectangleI(m_pGraphics, brush, rc.left + nLeft, rc.top, cxInner, nTop);
    if (nBottom > 0 && cxInner > 0)
        GdipFillRectangleI(m_pGraphics, brush, rc.left + nLeft, rc.bottom - nBottom, cxInner, nBottom);
}

void CQVTMarkupGdiPlusDeviceContext::FillRectangle(const RECT& rcFill, CQVTMarkupBrush* pBrush)
{
    CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pBrush);
    if (pSolid != nullptr && FillDirect(rcFill, ApplyOpacity(ArgbFromMarkupColor(pSolid->GetColor()))))
        return;
    const RECT rc = HeldRect(GetGeometryLimits(), rcFill);
    const Gdiplus::RectF rcF = RectFOf(rc);
    CGpBrush brush = CreateBrush(pBrush, rcF.X, rcF.Y, rcF.Width, rcF.Height);
    if (brush)
        GdipFillRectangleI(m_pGraphics, brush, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

void CQVTMarkupGdiPlusDeviceContext::DrawLine(int nX1, int nY1, int nX2, int nY2,
                                              const CQVTMarkupStroke* pStroke)
{
    const CGeometryLimits limits = GetGeometryLimits();
    const int x1 = limits.X(nX1), y1 = limits.Y(nY1), x2 = limits.X(nX2), y2 = limits.Y(nY2);
    const float fLeft = static_cast<float>(std::min(x1, x2)), fTop = static_cast<float>(std::min(y1, y2));
    CGpPen pen = CreatePen(pStroke, fLeft, fTop, static_cast<float>(std::abs(double(x2) - x1)),
                           static_cast<float>(std::abs(double(y2) - y1)));
    if (pen)
        GdipDrawLineI(m_pGraphics, pen, x1, y1, x2, y2);
}

void CQVTMarkupGdiPlusDeviceContext::DrawPolylineF(const Gdiplus::PointF* pPoints, int nCount,
                                                   const CQVTMarkupStroke* pStroke)
{
    if (pPoints == nullptr || nCount < 2)
        return;
    const std::vector<Gdiplus::PointF> points = HeldPoints(GetGeometryLimits(), pPoints, nCount);
    const Gdiplus::RectF rcBox = BoundsOf(points.data(), nCount);
    CGpPen pen = CreatePen(pStroke, rcBox.X, rcBox.Y, rcBox.Width, rcBox.Height);
    if (pen)
        GdipDrawLines(m_pGraphics, pen, points.data(), nCount);
}

void CQVTMarkupGdiPlusDeviceContext::DrawPolyline(const POINT* pPoints, int nCount,
                                                  const CQVTMarkupStroke* pStroke)
{
    if (pPoints == nullptr || nCount < 2)
        return;
    std::vector<Gdiplus::PointF> points(nCount);
    for (int i = 0; i < nCount; ++i)
        points[i] = Gdiplus::PointF(static_cast<float>(pPoints[i].x), static_cast<float>(pPoints[i].y));
    DrawPolylineF(points.data(), nCount, pStroke);
}

void CQVTMarkupGdiPlusDeviceContext::DrawPolygonF(const Gdiplus::PointF* pGivenPoints, int nCount,
                                                  const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill)
{
    if (pGivenPoints == nullptr || nCount < 2)
        return;
    const std::vector<Gdiplus::PointF> held = HeldPoints(GetGeometryLimits(), pGivenPoints, nCount);
    const Gdiplus::PointF* pPoints = held.data();
    const Gdiplus::RectF rcBox = BoundsOf(pPoints, nCount);
    if (pFill != nullptr)
    {
        CGpBrush brush = CreateBrush(pFill, rcBox.X, rcBox.Y, rcBox.Width, rcBox.Height);
        if (brush)
        {
            GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(m_nPixelOffsetMode));
            GdipFillPolygon(m_pGraphics, brush, pPoints, nCount, Gdiplus::FillModeAlternate);
        }
    }
    if (pStroke != nullptr && pStroke->nThickness >= 1)
    {
        CGpPen pen = CreatePen(pStroke, rcBox.X, rcBox.Y, rcBox.Width, rcBox.Height);
        if (pen)
        {
            // An odd width centred on whole coordinates covers whole pixels
            // only without the half-pixel offset.
            GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(
                                                    pStroke->nThickness % 2 != 0 ? 0 : m_nPixelOffsetMode));
            GdipDrawPolygon(m_pGraphics, pen, pPoints, nCount);
            GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(m_nPixelOffsetMode));
        }
    }
}

void CQVTMarkupGdiPlusDeviceContext::DrawPolygon(const POINT* pPoints, int nCount,
                                                 const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill)
{
    if (pPoints == nullptr || nCount < 2)
        return;
    std::vector<Gdiplus::PointF> points(nCount);
    for (int i = 0; i < nCount; ++i)
        points[i] = Gdiplus::PointF(static_cast<float>(pPoints[i].x), static_cast<float>(pPoints[i].y));
    DrawPolygonF(points.data(), nCount, pStroke, pFill);
}

void CQVTMarkupGdiPlusDeviceContext::DrawPath(CQVTMarkupPathData* pPath, const CQVTMarkupStroke* pStroke,
                                              CQVTMarkupBrush* pFill)
{
    if (pPath == nullptr || pPath->GetCount() == 0)
        return;
    static_assert(sizeof(MARKUP_POINTF) == sizeof(Gdiplus::PointF), "path points are GDI+ points");
    const std::vector<Gdiplus::PointF> points = HeldPoints(
        GetGeometryLimits(), reinterpret_cast<const Gdiplus::PointF*>(pPath->GetPoints()), pPath->GetCount());
    CGpPath path = CreateLinePath(points.data(), pPath->GetTypes(), pPath->GetCount());
    if (!path)
        return;
    const Gdiplus::RectF rcBounds = RectFOf(pPath->GetBounds());
    if (pFill != nullptr)
    {
        CGpBrush brush = CreateBrush(pFill, rcBounds.X, rcBounds.Y, rcBounds.Width, rcBounds.Height);
        if (brush)
        {
            GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(m_nPixelOffsetMode));
            GdipFillPath(m_pGraphics, brush, path);
        }
    }
    if (pStroke != nullptr && pStroke->nThickness >= 1)
    {
        CGpPen pen = CreatePen(pStroke, rcBounds.X, rcBounds.Y, rcBounds.Width, rcBounds.Height);
        if (pen)
        {
            const int nMode =
                pPath->GetPixelOffsetMode() != 0 ? pPath->GetPixelOffsetMode() : m_nPixelOffsetMode;
            GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(nMode));
            GdipDrawPath(m_pGraphics, pen, path);
            GdipSetPixelOffsetMode(m_pGraphics, static_cast<Gdiplus::PixelOffsetMode>(m_nPixelOffsetMode));
        }
    }
}

void CQVTMarkupGdiPlusDeviceContext::DrawGdiPlusImage(Gdiplus::GpImage* pImage, UINT cx, UINT cy,
                                                      const RECT& rc, BOOL bColorKey, COLORREF clrKey)
{
    CGpImageAttributes attributes;
    if (GdipCreateImageAttributes(attributes.Receive()) != Gdiplus::Ok)
        return;
    Gdiplus::ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i)
        matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = static_cast<float>(std::clamp(m_dOpacity, 0.0, 1.0));
    GdipSetImageAttributesColorMatrix(attributes, Gdiplus::ColorAdjustTypeDefault, TRUE, &matrix, nullptr,
                                      Gdiplus::ColorMatrixFlagsDefault);
    if (bColorKey)
    {
        const Gdiplus::ARGB argbKey =
            0xFF000000 | (GetRValue(clrKey) << 16) | (GetGValue(clrKey) << 8) | GetBValue(clrKey);
        GdipSetImageAttributesColorKeys(attributes, Gdiplus::ColorAdjustTypeDefault, TRUE, argbKey, argbKey);
    }
    GdipDrawImageRectRect(m_pGraphics, pImage, static_cast<float>(rc.left), static_cast<float>(rc.top),
                          static_cast<float>(double(rc.right) - rc.left),
                          static_cast<float>(double(rc.bottom) - rc.top), 0.0f, 0.0f, static_cast<float>(cx),
                          static_cast<float>(cy), Gdiplus::UnitPixel, attributes, nullptr, nullptr);
}

void CQVTMarkupGdiPlusDeviceContext::DrawImage(CQVTMarkupDeviceDependentImage* pImage, const RECT& rc)
{
    if (pImage == nullptr)
        return;
    if (Gdiplus::GpImage* pGpImage = pImage->GetGdiPlusImage())
    {
        // A picture without alpha of its own has the mask colour as its transparent colour.
        BOOL bColorKey = FALSE;
        COLORREF clrKey = 0;
        IQVTMarkupDeviceDependentImageSite* pSite = pImage->GetSite();
        CQVTMarkupContext* pContext = pSite != nullptr ? pSite->GetMarkupContext() : nullptr;
        UINT nFlags = 0;
        if (pContext != nullptr && GdipGetImageFlags(pGpImage, &nFlags) == Gdiplus::Ok &&
            (nFlags & (Gdiplus::ImageFlagsHasAlpha | Gdiplus::ImageFlagsHasTranslucent)) == 0)
        {
            bColorKey = TRUE;
            clrKey = pContext->GetMaskColor();
        }
        DrawGdiPlusImage(pGpImage, pImage->GetWidth(), pImage->GetHeight(), rc, bColorKey, clrKey);
        return;
    }
    if (CQVTImageManagerIcon* pIcon = pImage->GetIcon())
        DrawIcon(pIcon, rc);
}

void CQVTMarkupGdiPlusDeviceContext::DrawIcon(CQVTImageManagerIcon* pIcon, const RECT& rc)
{
    if (pIcon == nullptr)
        return;
    CGpImage image;
    if (pIcon->IsRasterIcon())
    {
        CQVTImageManagerRasterImageHandle& normal = pIcon->GetNormalImage();
        CQVTImageManagerRasterImageHandle plain;
        CQVTImageManagerRasterImageHandle* pHandle = &normal;
        if (QVT_IMAGERESOURCE_INFO* pSlice = normal.GetResourceInfo())
        {
            // A picture pooled in a shared strip is copied out first.
            pSlice->pResource->CopyTo(pSlice, plain);
            pHandle = &plain;
        }
        if (pHandle->IsAlpha() && pHandle->GetBitmap() != nullptr)
            image = BitmapFromAlphaBitmap(pHandle->GetBitmap(), pHandle->IsPremultiplied());
        else if (pHandle->GetIcon() != nullptr)
            image = BitmapFromIconHandle(pHandle->GetIcon());
    }
    if (image)
    {
        UINT cx = 0, cy = 0;
        GdipGetImageWidth(image, &cx);
        GdipGetImageHeight(image, &cy);
        DrawGdiPlusImage(image, cx, cy, rc, FALSE, 0);
        return;
    }
    // Vector icons, and pictures that would not convert, draw with GDI on the
    // graphics' own DC.
    HDC hDC = GetDC();
    if (hDC == nullptr)
        return;
    pIcon->DrawSized(CDC::FromHandle(hDC), CPoint(rc.left, rc.top),
                     CSize(rc.right - rc.left, rc.bottom - rc.top));
    ReleaseDC(hDC);
}

Gdiplus::GpFont* CQVTMarkupGdiPlusDeviceContext::GetTextFont()
{
    if (m_font)
        return m_font;
    LOGFONTW lf = {};
    HDC hDC = GetDC();
    HGDIOBJ hFont = hDC != nullptr ? ::GetCurrentObject(hDC, OBJ_FONT) : nullptr;
    if (hFont == nullptr || ::GetObjectW(hFont, sizeof(lf), &lf) != sizeof(lf))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (hDC != nullptr)
    {
        GdipCreateFontFromLogfontW(hDC, &lf, m_font.Receive());
        ReleaseDC(hDC);
    }
    return m_font;
}

void CQVTMarkupGdiPlusDeviceContext::DrawTextLine(LPCWSTR lpszText, int nLength, const RECT& rc)
{
    if (lpszText == nullptr || nLength <= 0 || ::IsRectEmpty(&rc) || !m_textBrush)
        return;
    if (nLength > 0 && (lpszText[nLength - 1] == u' ' || lpszText[nLength - 1] == u'\t'))
        --nLength;
    Gdiplus::GpFont* pFont = GetTextFont();
    if (pFont == nullptr || nLength <= 0)
        return;
    if (DrawTextDirect(lpszText, nLength, rc))
        return;
    const Gdiplus::RectF layout = RectFOf(rc);
    GdipDrawString(m_pGraphics, lpszText, nLength, pFont, &layout, m_format, m_textBrush);
}

Gdiplus::GpStatus CQVTMarkupGdiPlusDeviceContext::MeasureText(LPCWSTR lpszText, int nLength, float* pSize)
{
    pSize[0] = pSize[1] = 0.0f;
    Gdiplus::GpFont* pFont = GetTextFont();
    if (pFont == nullptr)
        return Gdiplus::GenericError;
    if (lpszText == nullptr || nLength < 0)
        return Gdiplus::InvalidParameter;
    const Gdiplus::RectF layout = MakeRectF(0.0f, 0.0f, 0.0f, 0.0f);
    Gdiplus::RectF bounds;
    const Gdiplus::GpStatus status = GdipMeasureString(m_pGraphics, lpszText, nLength, pFont, &layout,
                                                       m_format, &bounds, nullptr, nullptr);
    if (status == Gdiplus::Ok)
    {
        pSize[0] = bounds.Width;
        pSize[1] = bounds.Height;
    }
    return status;
}

void CQVTMarkupGdiPlusDeviceContext::GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize)
{
    MeasureText(lpszText, nLength, pSize);
}

SIZE CQVTMarkupGdiPlusDeviceContext::GetTextExtent(LPCWSTR lpszText, int nLength)
{
    float size[2] = {0.0f, 0.0f};
    if (MeasureText(lpszText, nLength, size) != Gdiplus::Ok)
        return SIZE{0, 0};
    return SIZE{RoundToInt(size[0]), RoundToInt(size[1])};
}

void CQVTMarkupGdiPlusDeviceContext::SetTextColor(CQVTMarkupBrush* pBrush)
{
    m_textBrush.Reset();
    m_bTextSolid = FALSE;
    if (pBrush == nullptr)
        return;
    m_textBrush = CreateBrush(pBrush, 0.0f, 0.0f, 1.0f, 1.0f);
    if (CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pBrush))
    {
        m_argbText = ApplyOpacity(ArgbFromMarkupColor(pSolid->GetColor()));
        m_bTextSolid = TRUE;
    }
}

void CQVTMarkupGdiPlusDeviceContext::SetFont(CQVTMarkupFont* pFont)
{
    m_font.Reset();
    if (pFont == nullptr)
        return;
    m_font = CachedFont(pFont->GetLogFont());
}

CGpFont CQVTMarkupGdiPlusDeviceContext::CachedFont(const LOGFONTW& lf)
{
    Gdiplus::REAL fDpi = 0.0f;
    GdipGetDpiY(m_pGraphics, &fDpi);
    CGpFont font = FontCache().Copy(nullptr, lf, fDpi);
    if (font)
        return font;
    HDC hDC = GetDC();
    if (hDC == nullptr)
        return font;
    font = FontCache().Copy(hDC, lf, fDpi);
    ReleaseDC(hDC);
    return font;
}

BOOL CQVTMarkupGdiPlusDeviceContext::GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent)
{
    if (pFont == nullptr || pnAscent == nullptr || pnDescent == nullptr)
        return FALSE;
    CGpFont font = CachedFont(pFont->GetLogFont());
    BOOL bResult = FALSE;
    if (font)
    {
        CGpFontFamily family;
        INT nStyle = 0;
        float fSize = 0.0f;
        UINT16 nAscent = 0, nDescent = 0, nEm = 0;
        if (GdipGetFamily(font, family.Receive()) == Gdiplus::Ok &&
            GdipGetFontStyle(font, &nStyle) == Gdiplus::Ok && GdipGetFontSize(font, &fSize) == Gdiplus::Ok &&
            GdipGetCellAscent(family, nStyle, &nAscent) == Gdiplus::Ok &&
            GdipGetCellDescent(family, nStyle, &nDescent) == Gdiplus::Ok &&
            GdipGetEmHeight(family, nStyle, &nEm) == Gdiplus::Ok && nEm != 0)
        {
            *pnAscent = static_cast<int>(nAscent * fSize / nEm);
            *pnDescent = static_cast<int>(nDescent * fSize / nEm);
            bResult = TRUE;
        }
    }
    else if (HDC hDC = pFont->GetFontHandle() != nullptr ? GetDC() : nullptr)
    {
        HGDIOBJ hOld = ::SelectObject(hDC, pFont->GetFontHandle());
        TEXTMETRICW tm = {};
        bResult = ::GetTextMetricsW(hDC, &tm);
        ::SelectObject(hDC, hOld);
        if (bResult)
        {
            *pnAscent = tm.tmAscent;
            *pnDescent = tm.tmDescent;
        }
        ReleaseDC(hDC);
    }
    return bResult;
}

void CQVTMarkupGdiPlusDeviceContext::IntersectClipRect(const RECT& rc)
{
    m_bClipKnown = FALSE;
    GdipSetClipRectI(m_pGraphics, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     Gdiplus::CombineModeIntersect);
}

void CQVTMarkupGdiPlusDeviceContext::GetClipBox(RECT* pRect)
{
    // GDI+ makes a DC to answer, and every element asks twice.
    if (GetClipBoxDirect(pRect))
        return;
    Gdiplus::GpRect rc;
    if (GdipGetVisibleClipBoundsI(m_pGraphics, &rc) != Gdiplus::Ok)
    {
        ::SetRectEmpty(pRect);
        return;
    }
    *pRect = {rc.X, rc.Y, static_cast<LONG>(std::min<__int64>(__int64(rc.X) + rc.Width, INT_MAX)),
              static_cast<LONG>(std::min<__int64>(__int64(rc.Y) + rc.Height, INT_MAX))};
}

void* CQVTMarkupGdiPlusDeviceContext::SaveClipRegion()
{
    CGpRegion region;
    if (GdipCreateRegion(region.Receive()) != Gdiplus::Ok || GdipGetClip(m_pGraphics, region) != Gdiplus::Ok)
        return nullptr;
    return region.Detach();
}

void CQVTMarkupGdiPlusDeviceContext::RestoreClipRegion(void* pSaved)
{
    if (pSaved == nullptr)
        return;
    CGpRegion region(static_cast<Gdiplus::GpRegion*>(pSaved));
    m_bClipKnown = FALSE;
    GdipSetClipRegion(m_pGraphics, region, Gdiplus::CombineModeReplace);
}

HDC CQVTMarkupGdiPlusDeviceContext::GetDC()
{
    HDC hDC = nullptr;
    if (m_pGraphics == nullptr || GdipGetDC(m_pGraphics, &hDC) != Gdiplus::Ok)
        return nullptr;
    return hDC;
}

void CQVTMarkupGdiPlusDeviceContext::ReleaseDC(HDC hDC)
{
    if (hDC != nullptr && m_pGraphics != nullptr)
        GdipReleaseDC(m_pGraphics, hDC);
}
