// The GDI+ device context's second file: what it writes straight into a 32-bit
// DIB instead of through GDI+, which on such a surface reads and writes every
// pixel through a pair of calls. Opaque fills, and text in one colour over
// one opaque colour, where the world transform moves by whole pixels only,
// get the exact values GDI+ gives them; anything else goes to GDI+ as before.
//
// GDI+ here draws a line of text as GDI's grey glyph bitmaps of the same
// font (GetGlyphOutlineW, GGO_GRAY8_BITMAP, one code unit at a time) placed
// at whole-pixel advances from the layout corner, the baseline one ascent
// down, no kerning or shaping; it adds the coverage of overlapping glyphs
// (at most full), scales it by the brush's alpha to alpha = coverage *
// alpha / 64, and blends each channel as round(ink * alpha / 255) +
// round(back * (255 - alpha) / 255). A line whose glyphs all fit the layout
// width is composed so from glyphs kept once per font (measured against
// GDI+ over every code unit below U+10000); GDI+ draws the rest.
#include "toolkit/markup/draw/QVTMarkupGdiPlusDeviceContext.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "toolkit/foundation/core/QVTCriticalSection.h"

using namespace QVTGdiPlus;

// A text line as GDI+ draws it over one opaque colour: the pixels around the
// layout rectangle's corner that differ from that colour.
struct CQVTMarkupTextPixels
{
    BOOL bUsable = FALSE;  // FALSE: the line reached past the margins; GDI+ draws it
    int x = 0;             // offset of pixels[0] from the layout rectangle's corner
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::vector<DWORD> pixels;
};

// A DIB on a memory DC, as the surface is (GDI+ blends onto such a DC
// otherwise than onto a bitmap of its own), with a graphics made on it;
// grown when a line needs more room.
struct CQVTMarkupTextScratch
{
    CQVTMarkupTextScratch(int cxBitmap, int cyBitmap) : cx(cxBitmap), cy(cyBitmap)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        hDC = hBitmap != nullptr && pBits != nullptr ? ::CreateCompatibleDC(nullptr) : nullptr;
        if (hDC == nullptr)
            return;
        hOld = ::SelectObject(hDC, hBitmap);
        pixels = static_cast<DWORD*>(pBits);
        pGraphics = CQVTMarkupGdiPlusDeviceContext::CreateGraphics(hDC, nullptr);
    }
    ~CQVTMarkupTextScratch()
    {
        if (pGraphics != nullptr)
            GdipDeleteGraphics(pGraphics);
        if (hDC != nullptr)
        {
            ::SelectObject(hDC, hOld);
            ::DeleteDC(hDC);
        }
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
    }
    CQVTMarkupTextScratch(const CQVTMarkupTextScratch&) = delete;
    CQVTMarkupTextScratch& operator=(const CQVTMarkupTextScratch&) = delete;

    int cx, cy;
    HBITMAP hBitmap = nullptr;
    HDC hDC = nullptr;
    HGDIOBJ hOld = nullptr;
    DWORD* pixels = nullptr;
    Gdiplus::GpGraphics* pGraphics = nullptr;
};

namespace {
using CTextPixels = CQVTMarkupTextPixels;

// Lines drawn before, by font, colour, settings and text: a repaint draws
// the same lines again. Bounded by its number of pixels; the oldest go first.
class CTextPixelsCache
{
public:
    std::shared_ptr<const CTextPixels> Find(const std::string& strKey)
    {
        CQVTCriticalSectionLock lock(m_cs);
        auto it = m_map.find(strKey);
        if (it == m_map.end())
            return nullptr;
        m_order.splice(m_order.begin(), m_order, it->second.itOrder);
        return it->second.pLine;
    }
    void Add(const std::string& strKey, std::shared_ptr<const CTextPixels> pLine)
    {
        CQVTCriticalSectionLock lock(m_cs);
        if (m_map.count(strKey) != 0)
            return;
        m_nPixels += pLine->pixels.size();
        m_order.push_front(strKey);
        m_map.emplace(strKey, CEntry{std::move(pLine), m_order.begin()});
        while (m_nPixels > kMaxPixels && !m_order.empty())
        {
            auto it = m_map.find(m_order.back());
            m_nPixels -= it->second.pLine->pixels.size();
            m_map.erase(it);
            m_order.pop_back();
        }
    }

private:
    static const size_t kMaxPixels = 2 * 1024 * 1024;  // 8 MB
    struct CEntry
    {
        std::shared_ptr<const CTextPixels> pLine;
        std::list<std::string>::iterator itOrder;
    };
    CQVTCriticalSection m_cs;
    std::unordered_map<std::string, CEntry> m_map;
    std::list<std::string> m_order;  // most recently used first
    size_t m_nPixels = 0;
};

CTextPixelsCache& TextPixelsCache()
{
    // Never destroyed: it holds no handles, and lines may be drawn at exit.
    static CTextPixelsCache* s_pCache = new CTextPixelsCache();
    return *s_pCache;
}

template <class T>
void AppendBytes(std::string& str, const T& value)
{
    str.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

// The rows of a DIB section run down or up, and GetObject reports the
// height without its sign: a pixel GDI reads tells. Two marks written where
// a visible pixel's row lies either way, read back through the DC, say which
// one GDI took; the pixels are put back at once.
BOOL FindRowOrder(HDC hDC, BYTE* pBits, int cx, int cy, POINT ptDevice, BOOL* pbBottomUp)
{
    RECT rcClip;
    if (::GetClipBox(hDC, &rcClip) == ERROR || ::IsRectEmpty(&rcClip))
        return FALSE;
    const __int64 x = __int64(rcClip.left) + ptDevice.x;
    __int64 y = __int64(rcClip.top) + ptDevice.y;
    if (2 * y == __int64(cy) - 1 && rcClip.bottom - rcClip.top > 1)
        ++y;
    if (x < 0 || x >= cx || y < 0 || y >= cy)
        return FALSE;
    if (cy == 1)
    {
        *pbBottomUp = FALSE;
        return TRUE;
    }
    if (2 * y == __int64(cy) - 1)
        return FALSE;
    const ptrdiff_t nRow = ptrdiff_t(cx) * 4;
    DWORD* pDown = reinterpret_cast<DWORD*>(pBits + y * nRow + x * 4);
    DWORD* pUp = reinterpret_cast<DWORD*>(pBits + (cy - 1 - y) * nRow + x * 4);
    ::GdiFlush();
    const DWORD dwDown = *pDown, dwUp = *pUp;
    *pDown = 0x00010203;
    *pUp = 0x00040506;
    const COLORREF clr = ::GetPixel(hDC, static_cast<int>(x - ptDevice.x), static_cast<int>(y - ptDevice.y));
    *pDown = dwDown;
    *pUp = dwUp;
    if (clr != RGB(1, 2, 3) && clr != RGB(4, 5, 6))
        return FALSE;
    *pbBottomUp = clr == RGB(4, 5, 6);
    return TRUE;
}

}  // namespace

// One glyph as GDI gives it: its advance, and its coverage (0 to 64) in a
// box placed from the pen and the baseline.
struct CQVTMarkupGlyph
{
    int nAdvance = 0;
    int x = 0;  // the box's left from the pen
    int y = 0;  // the box's top from the baseline, down
    int cx = 0;
    int cy = 0;
    std::vector<BYTE> coverage;  // cx by cy, rows of cx
};

// The glyphs of one font, made as lines need them. Glyphs are only ever
// added (their addresses stay), under the cache's lock.
struct CQVTMarkupGlyphFont
{
    explicit CQVTMarkupGlyphFont(const LOGFONTW& lfFont) : lf(lfFont) {}
    ~CQVTMarkupGlyphFont()
    {
        if (hFont != nullptr)
            ::DeleteObject(hFont);
    }
    CQVTMarkupGlyphFont(const CQVTMarkupGlyphFont&) = delete;
    CQVTMarkupGlyphFont& operator=(const CQVTMarkupGlyphFont&) = delete;

    LOGFONTW lf;
    HFONT hFont = nullptr;
    BOOL bUsable = FALSE;             // the font was made and measured
    std::atomic<bool> bCached{true};  // FALSE once the cache let it go: it takes no more glyphs
    int nAscent = 0;
    std::unordered_map<WCHAR, CQVTMarkupGlyph> glyphs;
};

namespace {
using CGlyph = CQVTMarkupGlyph;
using CGlyphFont = CQVTMarkupGlyphFont;

// Glyphs by font for every thread, read on one memory DC under the lock.
// Bounded by the bytes of coverage held: past the bound every font goes
// (threads composing a line keep theirs until they are done).
class CGlyphCache
{
public:
    std::shared_ptr<CGlyphFont> Font(const LOGFONTW& lf)
    {
        std::string strKey(reinterpret_cast<const char*>(&lf), sizeof(lf));
        CQVTCriticalSectionLock lock(m_cs);
        auto it = m_fonts.find(strKey);
        if (it != m_fonts.end())
            return it->second;
        if (m_fonts.size() >= kMaxFonts)
            DropAll();
        std::shared_ptr<CGlyphFont> pFont = std::make_shared<CGlyphFont>(lf);
        pFont->hFont = ::CreateFontIndirectW(&lf);
        TEXTMETRICW tm = {};
        if (pFont->hFont != nullptr && Select(*pFont) && ::GetTextMetricsW(m_hDC, &tm))
        {
            pFont->nAscent = tm.tmAscent;
            pFont->bUsable = TRUE;
        }
        m_fonts.emplace(std::move(strKey), pFont);
        return pFont;
    }

    // The glyphs of the text, in order; FALSE when one cannot be had.
    BOOL Glyphs(CGlyphFont& font, LPCWSTR lpszText, int nLength, std::vector<const CGlyph*>& glyphs)
    {
        glyphs.resize(size_t(nLength));
        CQVTCriticalSectionLock lock(m_cs);
        if (!font.bCached)
            return FALSE;
        for (int i = 0; i < nLength; ++i)
        {
            auto it = font.glyphs.find(lpszText[i]);
            if (it == font.glyphs.end())
            {
                CGlyph glyph;
                if (!Select(font) || !ReadGlyph(lpszText[i], glyph))
                    return FALSE;
                m_nBytes += glyph.coverage.size() + sizeof(CGlyph);
                it = font.glyphs.emplace(lpszText[i], std::move(glyph)).first;
            }
            glyphs[size_t(i)] = &it->second;
        }
        if (m_nBytes > kMaxBytes)
            DropAll();  // the glyphs handed out live on with the caller's font
        return TRUE;
    }

private:
    static const size_t kMaxFonts = 64;
    static const size_t kMaxBytes = 4 * 1024 * 1024;

    BOOL Select(const CGlyphFont& font)
    {
        if (m_hDC == nullptr)
            m_hDC = ::CreateCompatibleDC(nullptr);
        if (m_hDC == nullptr || font.hFont == nullptr)
            return FALSE;
        // Selecting a font realises it, which costs Wine a read of the X
        // resources: the last one stays selected.
        if (m_hSelected != font.hFont && ::SelectObject(m_hDC, font.hFont) == nullptr)
            return FALSE;
        m_hSelected = font.hFont;
        return TRUE;
    }
    BOOL ReadGlyph(WCHAR ch, CGlyph& glyph)
    {
        static const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS gm = {};
        const DWORD nSize = ::GetGlyphOutlineW(m_hDC, ch, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &kIdentity);
        if (nSize == GDI_ERROR || nSize > 1024 * 1024)
            return FALSE;
        glyph.nAdvance = gm.gmCellIncX;
        if (nSize == 0)
            return TRUE;  // a blank
        std::vector<BYTE> bits(nSize);
        if (::GetGlyphOutlineW(m_hDC, ch, GGO_GRAY8_BITMAP, &gm, nSize, bits.data(), &kIdentity) == GDI_ERROR)
            return FALSE;
        // Rows of the bitmap are DWORD-aligned.
        const size_t nPitch = (size_t(gm.gmBlackBoxX) + 3) & ~size_t(3);
        if (gm.gmBlackBoxX > 4096 || gm.gmBlackBoxY > 4096 || nPitch * gm.gmBlackBoxY > nSize)
            return FALSE;
        glyph.x = gm.gmptGlyphOrigin.x;
        glyph.y = -gm.gmptGlyphOrigin.y;
        glyph.cx = static_cast<int>(gm.gmBlackBoxX);
        glyph.cy = static_cast<int>(gm.gmBlackBoxY);
        glyph.coverage.resize(size_t(glyph.cx) * glyph.cy);
        for (int y = 0; y < glyph.cy; ++y)
        {
            const BYTE* pRow = &bits[size_t(y) * nPitch];
            if (std::any_of(pRow, pRow + glyph.cx, [](BYTE c) { return c > 64; }))
                return FALSE;
            std::copy_n(pRow, glyph.cx, &glyph.coverage[size_t(y) * glyph.cx]);
        }
        return TRUE;
    }
    void DropAll()
    {
        // No font of the map may stay selected once its owner lets it go.
        if (m_hDC != nullptr)
            ::SelectObject(m_hDC, ::GetStockObject(SYSTEM_FONT));
        m_hSelected = nullptr;
        for (auto& entry : m_fonts)
            entry.second->bCached = false;
        m_fonts.clear();
        m_nBytes = 0;
    }

    CQVTCriticalSection m_cs;
    HDC m_hDC = nullptr;
    HFONT m_hSelected = nullptr;
    std::unordered_map<std::string, std::shared_ptr<CGlyphFont>> m_fonts;
    size_t m_nBytes = 0;
};

CGlyphCache& GlyphCache()
{
    // Never destroyed: lines may be drawn at exit.
    static CGlyphCache* s_pCache = new CGlyphCache();
    return *s_pCache;
}

// Code units GDI+ lays out otherwise than one glyph after another: controls
// (a tab, a line feed) and line separators; surrogates, which it was not
// measured with in pairs.
BOOL IsComposable(WCHAR ch)
{
    return ch >= 0x20 && !(ch >= 0x7F && ch <= 0x9F) && !(ch >= 0xD800 && ch <= 0xDFFF) && ch != 0x2028 &&
           ch != 0x2029;
}

BYTE BlendChannel(DWORD dwInk, DWORD dwBack, int nAlpha)
{
    return static_cast<BYTE>((dwInk * nAlpha + 127) / 255 + (dwBack * (255 - nAlpha) + 127) / 255);
}

}  // namespace

void CQVTMarkupGdiPlusDeviceContext::AttachSurface(HDC hDC)
{
    m_surface = CSurface();
    if (hDC == nullptr || ::GetObjectType(hDC) != OBJ_MEMDC || ::GetMapMode(hDC) != MM_TEXT ||
        ::GetGraphicsMode(hDC) != GM_COMPATIBLE)
        return;
    DIBSECTION section = {};
    HGDIOBJ hBitmap = ::GetCurrentObject(hDC, OBJ_BITMAP);
    if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(section), &section) != sizeof(section) ||
        section.dsBm.bmBits == nullptr || section.dsBm.bmBitsPixel != 32 ||
        section.dsBmih.biCompression != BI_RGB || section.dsBm.bmWidth <= 0 || section.dsBm.bmHeight <= 0)
        return;
    POINT ptViewport = {0, 0}, ptWindow = {0, 0};
    ::GetViewportOrgEx(hDC, &ptViewport);
    ::GetWindowOrgEx(hDC, &ptWindow);
    const POINT ptDevice = {ptViewport.x - ptWindow.x, ptViewport.y - ptWindow.y};
    const ptrdiff_t nRow = ptrdiff_t(section.dsBm.bmWidth) * 4;
    BYTE* pBits = static_cast<BYTE*>(section.dsBm.bmBits);
    BOOL bBottomUp = FALSE;
    if (!FindRowOrder(hDC, pBits, section.dsBm.bmWidth, section.dsBm.bmHeight, ptDevice, &bBottomUp))
        return;
    m_surface.pRow0 = bBottomUp ? pBits + (section.dsBm.bmHeight - 1) * nRow : pBits;
    m_surface.nStride = bBottomUp ? -nRow : nRow;
    m_surface.cx = section.dsBm.bmWidth;
    m_surface.cy = section.dsBm.bmHeight;
    m_surface.ptDevice = ptDevice;
    m_matrix = CreateMatrix();
    if (!m_matrix)
        m_surface = CSurface();
}

BOOL CQVTMarkupGdiPlusDeviceContext::GetDeviceOffset(POINT* pOffset)
{
    if (m_surface.pRow0 == nullptr || GdipGetWorldTransform(m_pGraphics, m_matrix) != Gdiplus::Ok)
        return FALSE;
    Gdiplus::REAL m[6] = {};
    if (GdipGetMatrixElements(m_matrix, m) != Gdiplus::Ok || m[0] != 1.0f || m[1] != 0.0f || m[2] != 0.0f ||
        m[3] != 1.0f)
        return FALSE;
    // Whole pixels well inside the range a rectangle may be moved by.
    const float fLimit = 1 << 24;
    if (!(std::abs(m[4]) < fLimit && std::abs(m[5]) < fLimit) || m[4] != std::floor(m[4]) ||
        m[5] != std::floor(m[5]))
        return FALSE;
    Gdiplus::REAL fScale = 0.0f;
    Gdiplus::Unit unit = Gdiplus::UnitWorld;
    if (GdipGetPageScale(m_pGraphics, &fScale) != Gdiplus::Ok || fScale != 1.0f ||
        GdipGetPageUnit(m_pGraphics, &unit) != Gdiplus::Ok || unit != Gdiplus::UnitPixel)
        return FALSE;
    *pOffset = {static_cast<LONG>(m[4]) + m_surface.ptDevice.x,
                static_cast<LONG>(m[5]) + m_surface.ptDevice.y};
    return TRUE;
}

const std::vector<RECT>* CQVTMarkupGdiPlusDeviceContext::GetDeviceClip(POINT ptOffset)
{
    if (m_bClipKnown)
        return &m_clip;
    // GDI+ keeps the clip in device space: read in world coordinates while
    // the transform is a plain move, it stays right until the clip changes.
    CGpRegion region;
    CGpMatrix identity = CreateMatrix();
    INT nCount = 0;
    BOOL bInfinite = FALSE;
    if (!identity || GdipCreateRegion(region.Receive()) != Gdiplus::Ok ||
        GdipGetClip(m_pGraphics, region) != Gdiplus::Ok ||
        GdipIsInfiniteRegion(region, m_pGraphics, &bInfinite) != Gdiplus::Ok)
        return nullptr;
    const RECT rcSurface = {0, 0, m_surface.cx, m_surface.cy};
    m_clip.clear();
    if (bInfinite)
    {
        // Unclipped: scans of an endless region come back empty.
        m_clip.push_back(rcSurface);
        m_bClipKnown = TRUE;
        return &m_clip;
    }
    if (GdipGetRegionScansCount(region, reinterpret_cast<UINT*>(&nCount), identity) != Gdiplus::Ok ||
        nCount < 0)
        return nullptr;
    std::vector<Gdiplus::GpRect> scans(static_cast<size_t>(nCount));
    if (nCount > 0 && GdipGetRegionScansI(region, scans.data(), &nCount, identity) != Gdiplus::Ok)
        return nullptr;
    for (int i = 0; i < nCount && i < static_cast<int>(scans.size()); ++i)
    {
        const Gdiplus::GpRect& scan = scans[i];
        auto device = [](__int64 nValue, LONG nOffset) {
            return static_cast<LONG>(std::clamp<__int64>(nValue + nOffset, INT_MIN / 2, INT_MAX / 2));
        };
        const RECT rcScan = {device(scan.X, ptOffset.x), device(scan.Y, ptOffset.y),
                             device(__int64(scan.X) + scan.Width, ptOffset.x),
                             device(__int64(scan.Y) + scan.Height, ptOffset.y)};
        RECT rcVisible;
        if (::IntersectRect(&rcVisible, &rcScan, &rcSurface))
            m_clip.push_back(rcVisible);
    }
    m_bClipKnown = TRUE;
    return &m_clip;
}

BOOL CQVTMarkupGdiPlusDeviceContext::GetClipBoxDirect(RECT* pRect)
{
    POINT ptOffset;
    const std::vector<RECT>* pClip = GetDeviceOffset(&ptOffset) ? GetDeviceClip(ptOffset) : nullptr;
    if (pClip == nullptr)
        return FALSE;
    RECT rcBox = {0, 0, 0, 0};
    for (const RECT& rc : *pClip)
        ::UnionRect(&rcBox, &rcBox, &rc);
    ::OffsetRect(&rcBox, -ptOffset.x, -ptOffset.y);
    *pRect = rcBox;
    return TRUE;
}

BOOL CQVTMarkupGdiPlusDeviceContext::FillDirect(const RECT& rc, Gdiplus::ARGB argb)
{
    POINT ptOffset;
    if ((argb >> 24) != 0xFF || !GetDeviceOffset(&ptOffset))
        return FALSE;
    const std::vector<RECT>* pClip = GetDeviceClip(ptOffset);
    if (pClip == nullptr)
        return FALSE;
    auto device = [](LONG nValue, LONG nOffset) {
        return static_cast<LONG>(std::clamp<__int64>(__int64(nValue) + nOffset, INT_MIN, INT_MAX));
    };
    const RECT rcDevice = {device(rc.left, ptOffset.x), device(rc.top, ptOffset.y),
                           device(rc.right, ptOffset.x), device(rc.bottom, ptOffset.y)};
    const DWORD dwPixel = 0xFF000000 | (argb & 0xFFFFFF);
    ::GdiFlush();
    for (const RECT& rcClip : *pClip)
    {
        RECT rcFill;
        if (!::IntersectRect(&rcFill, &rcDevice, &rcClip))
            continue;
        for (int y = rcFill.top; y < rcFill.bottom; ++y)
            std::fill(PixelAt(rcFill.left, y), PixelAt(rcFill.right, y), dwPixel);
    }
    return TRUE;
}

BOOL CQVTMarkupGdiPlusDeviceContext::DrawTextDirect(LPCWSTR lpszText, int nLength, const RECT& rc)
{
    POINT ptOffset;
    if (!m_bTextSolid || !m_font || !GetDeviceOffset(&ptOffset))
        return FALSE;
    const std::vector<RECT>* pClip = GetDeviceClip(ptOffset);
    LOGFONTW lf = {};
    if (pClip == nullptr || GdipGetLogFontW(m_font, m_pGraphics, &lf) != Gdiplus::Ok)
        return FALSE;
    // The colour beneath, taken where the layout rectangle shows first.
    const RECT rcLayout = {rc.left + ptOffset.x, rc.top + ptOffset.y, rc.right + ptOffset.x,
                           rc.bottom + ptOffset.y};
    const DWORD* pBack = nullptr;
    for (const RECT& rcClip : *pClip)
    {
        RECT rcShown;
        if (pBack == nullptr && ::IntersectRect(&rcShown, &rcLayout, &rcClip))
            pBack = PixelAt(rcShown.left, rcShown.top);
    }
    ::GdiFlush();
    if (pBack == nullptr || (*pBack >> 24) != 0xFF)
        return FALSE;
    const DWORD dwBack = *pBack;

    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    Gdiplus::REAL fDpi = 0.0f;
    GdipGetDpiY(m_pGraphics, &fDpi);
    std::string strKey;
    AppendBytes(strKey, lf);
    AppendBytes(strKey, fDpi);
    AppendBytes(strKey, m_argbText);
    AppendBytes(strKey, dwBack);
    for (int nSetting : {m_nTextRenderingHint, m_nGpSmoothingMode, m_nPixelOffsetMode, cx, cy})
        AppendBytes(strKey, nSetting);
    strKey.append(reinterpret_cast<const char*>(lpszText), size_t(nLength) * sizeof(WCHAR));
    std::shared_ptr<const CTextPixels> pLine = TextPixelsCache().Find(strKey);
    if (pLine == nullptr)
    {
        std::shared_ptr<CTextPixels> pNew = std::make_shared<CTextPixels>();
        if (!ComposeText(lpszText, nLength, cx, lf, dwBack, *pNew))
            DrawTextAside(lpszText, nLength, cx, cy, dwBack, *pNew);
        TextPixelsCache().Add(strKey, pNew);
        pLine = pNew;
    }
    if (!pLine->bUsable)
        return FALSE;

    return PutTextPixels(*pLine, rcLayout, dwBack, *pClip);
}

BOOL CQVTMarkupGdiPlusDeviceContext::PutTextPixels(const CQVTMarkupTextPixels& line, const RECT& rcLayout,
                                                   DWORD dwBack, const std::vector<RECT>& clip)
{
    // GDI+ blends a line its clip cuts otherwise than a whole one, and
    // anything but that colour beneath changes the blend: GDI+ draws those.
    const POINT ptAt = {rcLayout.left + line.x, rcLayout.top + line.y};
    const RECT rcLine = {ptAt.x, ptAt.y, ptAt.x + line.cx, ptAt.y + line.cy};
    const auto itWhole = std::find_if(clip.begin(), clip.end(), [&rcLine](const RECT& rcClip) {
        RECT rcBoth;
        return ::IntersectRect(&rcBoth, &rcLine, &rcClip) && ::EqualRect(&rcBoth, &rcLine);
    });
    if (line.cx > 0 && itWhole == clip.end())
        return FALSE;
    for (int y = rcLine.top; y < rcLine.bottom; ++y)
    {
        const DWORD *pPixel = PixelAt(rcLine.left, y), *pEnd = PixelAt(rcLine.right, y);
        if (std::find_if(pPixel, pEnd, [dwBack](DWORD p) { return p != dwBack; }) != pEnd)
            return FALSE;
    }
    for (int y = rcLine.top; y < rcLine.bottom; ++y)
        std::copy_n(&line.pixels[size_t(y - ptAt.y) * line.cx], line.cx, PixelAt(rcLine.left, y));
    return TRUE;
}

BOOL CQVTMarkupGdiPlusDeviceContext::ComposeText(LPCWSTR lpszText, int nLength, int cx, const LOGFONTW& lf,
                                                 DWORD dwBack, CQVTMarkupTextPixels& line)
{
    // Only the hints and fonts it was measured with: GDI+ draws underlines,
    // strike-outs and turned or narrowed text its own way.
    if ((m_nTextRenderingHint != Gdiplus::TextRenderingHintSystemDefault &&
         m_nTextRenderingHint != Gdiplus::TextRenderingHintAntiAlias) ||
        lf.lfUnderline || lf.lfStrikeOut || lf.lfEscapement != 0 || lf.lfOrientation != 0 ||
        lf.lfWidth != 0 || !std::all_of(lpszText, lpszText + nLength, IsComposable))
        return FALSE;
    if (!m_pGlyphFont || !m_pGlyphFont->bCached || std::memcmp(&m_pGlyphFont->lf, &lf, sizeof(lf)) != 0)
        m_pGlyphFont = GlyphCache().Font(lf);
    std::shared_ptr<CQVTMarkupGlyphFont> pFont = m_pGlyphFont;
    std::vector<const CQVTMarkupGlyph*>& glyphs = m_glyphs;
    if (!pFont->bUsable || !GlyphCache().Glyphs(*pFont, lpszText, nLength, glyphs))
        return FALSE;

    // GDI+ leaves out what passes the layout width: that line is its own.
    __int64 nPen = 0;
    RECT rcInk = {0, 0, 0, 0};
    for (const CQVTMarkupGlyph* pGlyph : glyphs)
    {
        if (pGlyph->cx > 0 && pGlyph->cy > 0)
        {
            const RECT rcGlyph = {static_cast<LONG>(nPen + pGlyph->x), pFont->nAscent + pGlyph->y,
                                  static_cast<LONG>(nPen + pGlyph->x + pGlyph->cx),
                                  pFont->nAscent + pGlyph->y + pGlyph->cy};
            ::UnionRect(&rcInk, &rcInk, &rcGlyph);
        }
        nPen += pGlyph->nAdvance;
        if (nPen > cx || nPen < -cx)
            return FALSE;
    }
    line.bUsable = TRUE;
    if (::IsRectEmpty(&rcInk))
        return TRUE;  // blanks only
    const int cxInk = rcInk.right - rcInk.left, cyInk = rcInk.bottom - rcInk.top;
    if (cxInk > 4096 || cyInk > 1024)
    {
        line.bUsable = FALSE;
        return FALSE;
    }

    // Coverage of overlapping glyphs adds up, to full at most.
    std::vector<BYTE>& mask = m_mask;
    mask.assign(size_t(cxInk) * cyInk, 0);
    nPen = 0;
    for (const CQVTMarkupGlyph* pGlyph : glyphs)
    {
        const int xGlyph = static_cast<int>(nPen + pGlyph->x - rcInk.left);
        const int yGlyph = pFont->nAscent + pGlyph->y - rcInk.top;
        for (int y = 0; y < pGlyph->cy; ++y)
        {
            const BYTE* pCoverage = &pGlyph->coverage[size_t(y) * pGlyph->cx];
            BYTE* pMask = &mask[size_t(y + yGlyph) * cxInk + xGlyph];
            for (int x = 0; x < pGlyph->cx; ++x)
                pMask[x] = static_cast<BYTE>(std::min(64, pMask[x] + pCoverage[x]));
        }
        nPen += pGlyph->nAdvance;
    }

    // The blend of each coverage level, worked out once for the line.
    const int nInkAlpha = static_cast<int>(m_argbText >> 24);
    DWORD levels[65];
    for (int c = 0; c <= 64; ++c)
    {
        const int nAlpha = c * nInkAlpha / 64;
        levels[c] = 0xFF000000;
        for (int nShift : {0, 8, 16})
            levels[c] |= DWORD(BlendChannel((m_argbText >> nShift) & 0xFF, (dwBack >> nShift) & 0xFF, nAlpha))
                         << nShift;
    }
    levels[0] = dwBack;
    line.x = rcInk.left;
    line.y = rcInk.top;
    line.cx = cxInk;
    line.cy = cyInk;
    line.pixels.resize(mask.size());
    std::transform(mask.begin(), mask.end(), line.pixels.begin(), [&levels](BYTE c) { return levels[c]; });
    return TRUE;
}

void CQVTMarkupGdiPlusDeviceContext::DrawTextAside(LPCWSTR lpszText, int nLength, int cx, int cy,
                                                   DWORD dwBack, CQVTMarkupTextPixels& line)
{
    // GDI+ itself draws the line, with this context's settings, onto a
    // bitmap of the colour beneath with room around the layout rectangle.
    // The rectangle is the line's measured size, so a margin of the font's
    // height holds what reaches past it (an overhang); a line that reaches
    // the margin's edge is left to GDI+. Measuring it again here would cost
    // GDI+ as much as drawing it.
    LOGFONTW lf = {};
    if (cx < 0 || cy < 0 || GdipGetLogFontW(m_font, m_pGraphics, &lf) != Gdiplus::Ok)
        return;
    const int nMargin =
        static_cast<int>(std::min<__int64>(std::max<__int64>(cy, std::abs(__int64(lf.lfHeight))), 512)) + 4;
    const __int64 cxBitmap = __int64(cx) + 2 * nMargin;
    const __int64 cyBitmap = __int64(cy) + 2 * nMargin;
    if (cxBitmap > 4096 || cyBitmap > 1024)
        return;
    CQVTMarkupTextScratch* pScratch = m_pTextScratch.get();
    if (pScratch == nullptr || pScratch->cx < cxBitmap || pScratch->cy < cyBitmap)
    {
        m_pTextScratch.reset();
        const int cxNew = static_cast<int>(std::max<__int64>(cxBitmap, pScratch ? pScratch->cx : 256));
        const int cyNew = static_cast<int>(std::max<__int64>(cyBitmap, pScratch ? pScratch->cy : 64));
        m_pTextScratch = std::make_shared<CQVTMarkupTextScratch>(cxNew, cyNew);
        pScratch = m_pTextScratch.get();
    }
    if (pScratch->pGraphics == nullptr)
        return;
    const int nStride = pScratch->cx;
    ::GdiFlush();
    for (__int64 y = 0; y < cyBitmap; ++y)
        std::fill_n(pScratch->pixels + y * nStride, cxBitmap, dwBack);
    Gdiplus::GpGraphics* pGraphics = pScratch->pGraphics;
    GdipSetSmoothingMode(pGraphics, static_cast<Gdiplus::SmoothingMode>(m_nGpSmoothingMode));
    GdipSetPixelOffsetMode(pGraphics, static_cast<Gdiplus::PixelOffsetMode>(m_nPixelOffsetMode));
    GdipSetInterpolationMode(pGraphics, static_cast<Gdiplus::InterpolationMode>(m_nInterpolationMode));
    GdipSetTextRenderingHint(pGraphics, static_cast<Gdiplus::TextRenderingHint>(m_nTextRenderingHint));
    CGpBrush brush = CreateSolidFill(m_argbText);
    const Gdiplus::RectF layout = MakeRectF(static_cast<float>(nMargin), static_cast<float>(nMargin),
                                            static_cast<float>(cx), static_cast<float>(cy));
    const BOOL bDrawn = brush && GdipDrawString(pGraphics, lpszText, nLength, m_font, &layout, m_format,
                                                brush) == Gdiplus::Ok;
    ::GdiFlush();
    if (!bDrawn)
        return;
    KeepTextPixels(pScratch->pixels, nStride, static_cast<int>(cxBitmap), static_cast<int>(cyBitmap), nMargin,
                   dwBack, line);
}

void CQVTMarkupGdiPlusDeviceContext::KeepTextPixels(const DWORD* pixels, int nStride, int cxBitmap,
                                                    int cyBitmap, int nMargin, DWORD dwBack,
                                                    CQVTMarkupTextPixels& line)
{
    RECT rcTouched = {LONG(cxBitmap), LONG(cyBitmap), 0, 0};
    for (int y = 0; y < cyBitmap; ++y)
    {
        for (int x = 0; x < cxBitmap; ++x)
        {
            if (pixels[size_t(y) * nStride + x] == dwBack)
                continue;
            rcTouched = {std::min<LONG>(rcTouched.left, x), std::min<LONG>(rcTouched.top, y),
                         std::max<LONG>(rcTouched.right, x + 1), std::max<LONG>(rcTouched.bottom, y + 1)};
        }
    }
    if (rcTouched.left >= rcTouched.right)
    {
        line.bUsable = TRUE;  // nothing drawn
        return;
    }
    // A line that reaches the bitmap's edge may go on beyond it.
    if (rcTouched.left == 0 || rcTouched.top == 0 || rcTouched.right == cxBitmap ||
        rcTouched.bottom == cyBitmap)
        return;
    line.x = rcTouched.left - nMargin;
    line.y = rcTouched.top - nMargin;
    line.cx = rcTouched.right - rcTouched.left;
    line.cy = rcTouched.bottom - rcTouched.top;
    line.pixels.resize(size_t(line.cx) * line.cy);
    for (int y = 0; y < line.cy; ++y)
        std::copy_n(&pixels[size_t(y + rcTouched.top) * nStride + rcTouched.left], line.cx,
                    &line.pixels[size_t(y) * line.cx]);
    line.bUsable = TRUE;
}
