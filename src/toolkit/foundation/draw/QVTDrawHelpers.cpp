#include "toolkit/foundation/draw/QVTDrawHelpers.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

QVT_IMPLEMENT_SINGLETON(CQVTDrawHelpers, QVTDrawHelpers, nullptr)

namespace {

typedef DWORD(WINAPI* PFNGETLAYOUT)(HDC);
typedef DWORD(WINAPI* PFNSETLAYOUT)(HDC, DWORD);

FARPROC GdiProc(const char* pszName)
{
    HMODULE hGdi = ::GetModuleHandleW(_T("GDI32.DLL"));
    return hGdi ? ::GetProcAddress(hGdi, pszName) : nullptr;
}

PFNGETLAYOUT GetLayoutProc()
{
    static const PFNGETLAYOUT pfn = reinterpret_cast<PFNGETLAYOUT>(GdiProc("GetLayout"));
    return pfn;
}

PFNSETLAYOUT SetLayoutProc()
{
    static const PFNSETLAYOUT pfn = reinterpret_cast<PFNSETLAYOUT>(GdiProc("SetLayout"));
    return pfn;
}

int ClampChannel(int n)
{
    return std::min(std::max(n, 0), 255);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF clr)
{
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(clr) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(clr) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(clr) << 8);
    v.Alpha = 0;
    return v;
}

int HueToRGB(int m1, int m2, int h)
{
    if (h < 0)
        h += 255;
    else if (h >= 256)
        h -= 255;
    const int d = (m2 - m1) / 255;
    if (h * 6 < 255)
        return (m1 + d * h * 6) / 255;
    if (h * 2 < 255)
        return m2 / 255;
    if (h * 3 >= 510)
        return m1 / 255;
    return (m1 + d * (170 - h) * 6) / 255;
}

LONG ExStyle(HWND hWnd)
{
    return hWnd && ::IsWindow(hWnd) ? ::GetWindowLongW(hWnd, GWL_EXSTYLE) : 0;
}

int CALLBACK FindFaceProc(const LOGFONTW* pLogFont, const TEXTMETRICW*, DWORD, LPARAM lParam)
{
    return ::lstrcmpiW(pLogFont->lfFaceName, reinterpret_cast<LPCWSTR>(lParam)) == 0 ? 0 : 1;
}

CSize TextExtentIn(CDC* pDC, CFont* pFont, LPCTSTR lpszText, int nCount)
{
    CQVTFontDC font(pDC, pFont);
    return pDC->GetTextExtent(lpszText, nCount);
}

CSize ExtentAtHeight(CDC* pDC, LOGFONT lf, int nHeight, LPCTSTR lpszText, int nCount)
{
    lf.lfHeight = nHeight;
    CFont font;
    if (!font.CreateFontIndirect(&lf))
        return CSize(0, 0);
    return TextExtentIn(pDC, &font, lpszText, nCount);
}

}  // namespace

CQVTDrawHelpers::CQVTDrawHelpers()
{
    m_hMsImg32 = ::LoadLibraryW(_T("msimg32.dll"));
    if (m_hMsImg32)
    {
        m_pfnAlphaBlend = reinterpret_cast<PFNALPHABLEND>(::GetProcAddress(m_hMsImg32, "AlphaBlend"));
        m_pfnTransparentBlt =
            reinterpret_cast<PFNTRANSPARENTBLT>(::GetProcAddress(m_hMsImg32, "TransparentBlt"));
        m_pfnGradientFill = reinterpret_cast<PFNGRADIENTFILL>(::GetProcAddress(m_hMsImg32, "GradientFill"));
    }
}

CQVTDrawHelpers::~CQVTDrawHelpers()
{
    // The module stays loaded: painters may still hold its addresses.
}

void CQVTDrawHelpers::GradientFill(CDC* pDC, LPCRECT lpRect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorz)
{
    if (!pDC || !pDC->GetSafeHdc() || !lpRect || ::IsRectEmpty(lpRect))
        return;
    const CRect rc(lpRect);
    if (IsLowColorDC(pDC->GetSafeHdc()) || clrFrom == clrTo)
    {
        pDC->FillSolidRect(rc, clrFrom);
        return;
    }
    if (m_pfnGradientFill && !(IsDCRightToLeft(pDC) && QVTOSVersion()->IsWin9x()))
    {
        TRIVERTEX vertices[2] = {Vertex(rc.left, rc.top, clrFrom), Vertex(rc.right, rc.bottom, clrTo)};
        GRADIENT_RECT mesh = {0, 1};
        m_pfnGradientFill(pDC->GetSafeHdc(), vertices, 2, &mesh, 1,
                          bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    GradientFillManual(pDC, rc, clrFrom, clrTo, bHorz);
}

void CQVTDrawHelpers::GradientFillManual(CDC* pDC, const CRect& rc, COLORREF clrFrom, COLORREF clrTo,
                                         BOOL bHorz)
{
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    CRect rcArea;
    if (rcClip.IsRectEmpty())
        rcArea = rc;
    else if (!rcArea.IntersectRect(&rcClip, &rc))
        return;

    if (bHorz)
    {
        const double dWidth = std::max(rc.Width(), 1);
        for (int x = rcArea.left; x < rcArea.right; ++x)
            pDC->FillSolidRect(x, rcArea.top, 1, rcArea.Height(),
                               BlendColors(clrFrom, clrTo, 1.0 - (x - rc.left) / dWidth));
    }
    else
    {
        const double dHeight = std::max(rc.Height(), 1);
        for (int y = rcArea.top; y < rcArea.bottom; ++y)
            pDC->FillSolidRect(rcArea.left, y, rcArea.Width(), 1,
                               BlendColors(clrFrom, clrTo, 1.0 - (y - rc.top) / dHeight));
    }
}

void CQVTDrawHelpers::GradientFillClipped(CDC* pDC, LPCRECT lpRect, COLORREF clrFrom, COLORREF clrTo,
                                          BOOL bHorz, LPCRECT lpClip)
{
    if (!lpClip)
    {
        GradientFill(pDC, lpRect, clrFrom, clrTo, bHorz);
        return;
    }
    // An empty rectangle has no gradient to take a slice of.
    if (!lpRect || ::IsRectEmpty(lpRect))
        return;

    const CRect rcFull(lpRect), rcClip(lpClip);
    // Along the gradient: where the whole runs and where the clip lets it show.
    const LONG nFullStart = bHorz ? rcFull.left : rcFull.top, nFullEnd = bHorz ? rcFull.right : rcFull.bottom;
    const LONG nClipStart = bHorz ? rcClip.left : rcClip.top, nClipEnd = bHorz ? rcClip.right : rcClip.bottom;
    if (nFullStart >= nClipEnd || nFullEnd <= nClipStart)
        return;
    CRect rc(rcFull);
    if (bHorz)
    {
        rc.top = std::max(rc.top, rcClip.top);
        rc.bottom = std::min(rc.bottom, rcClip.bottom);
    }
    else
    {
        rc.left = std::max(rc.left, rcClip.left);
        rc.right = std::min(rc.right, rcClip.right);
    }
    // The slice keeps the colours the whole has at its ends.
    LONG& nStart = bHorz ? rc.left : rc.top;
    LONG& nEnd = bHorz ? rc.right : rc.bottom;
    const float fLength = static_cast<float>(nFullEnd - nFullStart);
    COLORREF clrStart = clrFrom, clrEnd = clrTo;
    if (nStart < nClipStart)
    {
        nStart = nClipStart;
        clrStart = BlendColors(clrFrom, clrTo, (nFullEnd - nClipStart) / fLength);
    }
    if (nEnd > nClipEnd)
    {
        nEnd = nClipEnd;
        clrEnd = BlendColors(clrFrom, clrTo, (nFullEnd - nClipEnd) / fLength);
    }
    GradientFill(pDC, rc, clrStart, clrEnd, bHorz);
}

void CQVTDrawHelpers::GradientFillWithFactor(CDC* pDC, LPCRECT lpRect,
                                             const CQVTPaintManagerColorGradient& grc, BOOL bHorz,
                                             LPCRECT lpClip)
{
    if (!lpRect)
        return;
    const COLORREF clrLight = grc.clrLight.GetValue(), clrDark = grc.clrDark.GetValue();
    if (grc.fGradientFactor == 0.5f)
    {
        GradientFillClipped(pDC, lpRect, clrLight, clrDark, bHorz, lpClip);
        return;
    }
    const COLORREF clrMiddle = BlendColors(clrLight, clrDark, grc.fGradientFactor);
    CRect rcFirst(lpRect), rcSecond(lpRect);
    if (bHorz)
    {
        const int nSplit = lpRect->right - (lpRect->right - lpRect->left) / 2;
        rcFirst.right = nSplit;
        rcSecond.left = nSplit;
    }
    else
    {
        const int nSplit = lpRect->bottom - (lpRect->bottom - lpRect->top) / 2;
        rcFirst.bottom = nSplit;
        rcSecond.top = nSplit;
    }
    GradientFillClipped(pDC, rcFirst, clrLight, clrMiddle, bHorz, lpClip);
    GradientFillClipped(pDC, rcSecond, clrMiddle, clrDark, bHorz, lpClip);
}

void AFXAPI CQVTDrawHelpers::FillRectWithBorder(CDC* pDC, LPCRECT lpRect, COLORREF clrBorder,
                                                COLORREF clrFill)
{
    if (!pDC || !pDC->GetSafeHdc() || !lpRect)
        return;
    CRect rc(lpRect);
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
    rc.DeflateRect(1, 1);
    pDC->FillSolidRect(rc, clrFill);
}

COLORREF AFXAPI CQVTDrawHelpers::BlendColors(COLORREF clrA, COLORREF clrB, double dFactor)
{
    auto blend = [dFactor](int a, int b) {
        return ClampChannel(static_cast<int>(a * dFactor + b * (1.0 - dFactor)));
    };
    return RGB(blend(GetRValue(clrA), GetRValue(clrB)), blend(GetGValue(clrA), GetGValue(clrB)),
               blend(GetBValue(clrA), GetBValue(clrB)));
}

COLORREF AFXAPI CQVTDrawHelpers::DarkenColor(long lAmount, COLORREF clr)
{
    const int nKeep = static_cast<int>(255 - lAmount);
    return RGB(ClampChannel(::MulDiv(GetRValue(clr), nKeep, 255)),
               ClampChannel(::MulDiv(GetGValue(clr), nKeep, 255)),
               ClampChannel(::MulDiv(GetBValue(clr), nKeep, 255)));
}

COLORREF AFXAPI CQVTDrawHelpers::LightenColor(long lAmount, COLORREF clr)
{
    const int nAmount = static_cast<int>(lAmount);
    auto lighten = [nAmount](int c) { return ClampChannel(c + ::MulDiv(255 - c, nAmount, 255)); };
    return RGB(lighten(GetRValue(clr)), lighten(GetGValue(clr)), lighten(GetBValue(clr)));
}

DWORD AFXAPI CQVTDrawHelpers::RGBToHLS(COLORREF clr)
{
    const int r = GetRValue(clr), g = GetGValue(clr), b = GetBValue(clr);
    const int nMax = std::max(std::max(r, g), b), nMin = std::min(std::min(r, g), b);
    const int l2 = (nMax + nMin + 1) / 2;
    int nHue = 255, nSat = 0;
    if (nMax != nMin)
    {
        const int d = nMax - nMin;
        nSat = l2 < 127 ? (d * 256 + 256) / (nMax + nMin) : d * 256 / (512 - (nMax + nMin));
        if (r == nMax)
            nHue = (g - b) * 256 / d;
        else if (g == nMax)
            nHue = (b - r) * 256 / d + 512;
        else
            nHue = (r - g) * 256 / d + 1024;
        nHue /= 6;
        if (nHue < 0)
            nHue += 256;
    }
    const DWORD h = std::min(nHue * 239 / 255, 239);
    const DWORD s = std::min(nSat * 240 / 255, 240);
    const DWORD l = std::min(l2 * 240 / 255, 240);
    return h | (s << 8) | (l << 16);
}

COLORREF AFXAPI CQVTDrawHelpers::HLSToRGB(DWORD dwHLS)
{
    const int h = static_cast<int>(dwHLS & 0xFF) * 255 / 240;
    const int s = static_cast<int>((dwHLS >> 8) & 0xFF) * 255 / 240;
    const int l = static_cast<int>((dwHLS >> 16) & 0xFF) * 255 / 240;
    if (s == 0)
    {
        const int n = ClampChannel(l);
        return RGB(n, n, n);
    }
    const int m2 = l < 128 ? l * (s + 255) : (l + s - l * s / 255) * 255;
    const int m1 = l * 510 - m2;
    return RGB(ClampChannel(HueToRGB(m1, m2, h + 85)), ClampChannel(HueToRGB(m1, m2, h)),
               ClampChannel(HueToRGB(m1, m2, h - 85)));
}

BOOL AFXAPI CQVTDrawHelpers::DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF clr)
{
    if (!pDC || !pDC->GetSafeHdc())
        return FALSE;
    CQVTPenDC pen(pDC->GetSafeHdc(), clr);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    return TRUE;
}

BOOL AFXAPI CQVTDrawHelpers::DrawLineRelative(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr)
{
    return DrawLine(pDC, x, y, x + cx, y + cy, clr);
}

void AFXAPI CQVTDrawHelpers::DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clrPen,
                                          COLORREF clrBrush)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    CQVTPenDC pen(pDC->GetSafeHdc(), clrPen);
    CQVTBrushDC brush(pDC->GetSafeHdc(), clrBrush == 0xFFFFFFFF ? clrPen : clrBrush);
    const POINT points[3] = {pt0, pt1, pt2};
    pDC->Polygon(points, 3);
}

void AFXAPI CQVTDrawHelpers::ExcludeCorners(CDC* pDC, CRect rc, BOOL bTopOnly)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    const int cx = QVTDpiScaler()->ScaleX(1), cy = QVTDpiScaler()->ScaleY(1);
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + cx, rc.top + cy);
    pDC->ExcludeClipRect(rc.right - cx, rc.top, rc.right, rc.top + cy);
    if (!bTopOnly)
    {
        pDC->ExcludeClipRect(rc.left, rc.bottom - cy, rc.left + cx, rc.bottom);
        pDC->ExcludeClipRect(rc.right - cx, rc.bottom - cy, rc.right, rc.bottom);
    }
}

void AFXAPI CQVTDrawHelpers::DrawImageListIcon(CDC* pDC, LPCRECT lpRect, HIMAGELIST hImageList, int nIndex)
{
    if (!pDC || !pDC->GetSafeHdc() || !lpRect || !hImageList)
        return;
    HICON hIcon = ::ImageList_GetIcon(hImageList, nIndex, ILD_NORMAL);
    if (!hIcon)
        return;
    ::DrawIconEx(pDC->GetSafeHdc(), lpRect->left, lpRect->top, hIcon, lpRect->right - lpRect->left,
                 lpRect->bottom - lpRect->top, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(hIcon);
}

HICON AFXAPI CQVTDrawHelpers::IconFromBitmapMasked(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    HIMAGELIST hImageList = ::ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!hImageList)
        return nullptr;
    HICON hIcon = nullptr;
    if (::ImageList_AddMasked(hImageList, hBitmap, GetBitmapMaskColor(hBitmap)) >= 0)
        hIcon = ::ImageList_GetIcon(hImageList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hImageList);
    return hIcon;
}

COLORREF AFXAPI CQVTDrawHelpers::GetBitmapMaskColor(HBITMAP hBitmap)
{
    if (!hBitmap || ::GetObjectType(hBitmap) != OBJ_BITMAP)
        return CLR_INVALID;
    CQVTCompatibleDC dc(nullptr, hBitmap);
    return dc.GetSafeHdc() ? dc.GetPixel(0, 0) : CLR_INVALID;
}

CRect AFXAPI CQVTDrawHelpers::MakeSameParityRect(const CRect& rc)
{
    CRect result(rc);
    const int w = rc.Width(), h = rc.Height();
    const bool bOddWidth = (w & 1) != 0, bOddHeight = (h & 1) != 0;
    if (bOddWidth && !bOddHeight)
    {
        result.right -= 1;
        if (h > w)
        {
            result.left += 1;
            result.bottom -= 1;
        }
    }
    else if (!bOddWidth && bOddHeight)
    {
        result.bottom -= 1;
        if (w > h)
        {
            result.top += 1;
            result.right -= 1;
        }
    }
    return result;
}

BOOL AFXAPI CQVTDrawHelpers::GetIconTitleLogFont(LOGFONTW* pLogFont)
{
    if (!pLogFont)
        return FALSE;
    memset(pLogFont, 0, sizeof(LOGFONTW));
    if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(LOGFONTW), pLogFont, 0))
        return FALSE;
    if (QVTOSVersion()->IsWinXPOrGreater())
        pLogFont->lfQuality = CLEARTYPE_QUALITY;
    pLogFont->lfCharSet = QVTResourceManager()->GetFontCharset();
    return TRUE;
}

CString AFXAPI CQVTDrawHelpers::GetDefaultFontFace(BOOL bUseTahoma)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    const CString strGuiFace(lf.lfFaceName);
    if (lf.lfCharSet > SYMBOL_CHARSET && QVTOSVersion()->IsWin2000OrGreater() &&
        strGuiFace.CompareNoCase(_T("MS Shell Dlg")) != 0)
        return strGuiFace;
    if (bUseTahoma && FontFaceExists(_T("Tahoma")))
        return CString(_T("Tahoma"));
    if (FontFaceExists(_T("Arial")))
        return CString(_T("Arial"));
    return strGuiFace;
}

BOOL AFXAPI CQVTDrawHelpers::FontFaceExists(LPCTSTR lpszFaceName)
{
    if (!lpszFaceName || !*lpszFaceName)
        return FALSE;
    // A memory DC lists the same fonts as the screen's without asking the
    // window server, and naming the face lists that family alone.
    HDC hDC = ::CreateCompatibleDC(nullptr);
    if (!hDC)
        return FALSE;
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    const int nResult =
        ::EnumFontFamiliesExW(hDC, &lf, FindFaceProc, reinterpret_cast<LPARAM>(lpszFaceName), 0);
    ::DeleteDC(hDC);
    return nResult == 0;
}

int AFXAPI CQVTDrawHelpers::DrawTextWithColors(CDC* pDC, CFont* pFont, LPCTSTR lpszText, int nCount,
                                               LPRECT lpRect, UINT nFormat, COLORREF clrText,
                                               COLORREF clrBack)
{
    if (!pDC || !pDC->GetSafeHdc())
        return 0;
    CQVTFontDC font(pDC, pFont, clrText);
    COLORREF clrOldBack = 0xFFFFFFFF;
    int nOldMode;
    if (clrBack != 0xFFFFFFFF)
    {
        clrOldBack = pDC->SetBkColor(clrBack);
        nOldMode = pDC->SetBkMode(OPAQUE);
    }
    else
        nOldMode = pDC->SetBkMode(TRANSPARENT);

    const int nResult = pDC->DrawText(lpszText, nCount, lpRect, nFormat);

    if (clrOldBack != 0xFFFFFFFF)
        pDC->SetBkColor(clrOldBack);
    pDC->SetBkMode(nOldMode);
    return nResult;
}

int AFXAPI CQVTDrawHelpers::FitFontHeightToRect(CDC* pDC, LPCTSTR lpszText, int nCount, const CRect& rect,
                                                CFont* pFont)
{
    if (!pDC || !pDC->GetSafeHdc() || !pFont || !pFont->GetSafeHandle())
        return 0;
    const CRect rc = MakeSameParityRect(rect);
    if (rc.IsRectEmpty())
        return 0;
    LOGFONT lf = {};
    if (!pFont->GetLogFont(&lf))
        return 0;
    const int W = rc.Width(), H = rc.Height();
    const CSize extent = TextExtentIn(pDC, pFont, lpszText, nCount);
    int nHeight = (extent.cy <= extent.cx && extent.cx > 0) ? ::MulDiv(extent.cy, W, extent.cx) : H;
    if (nHeight < 1)
        return 0;

    auto fitsInside = [&](const CSize& size) { return size.cx < W && size.cy < H; };
    auto exceeds = [&](const CSize& size) { return size.cx > W || size.cy > H; };

    CSize size = ExtentAtHeight(pDC, lf, nHeight, lpszText, nCount);
    if (fitsInside(size))
    {
        // A cell taller than the rectangle cannot fit: this also stops fonts
        // whose extent does not grow with the height.
        while (nHeight < H)
        {
            size = ExtentAtHeight(pDC, lf, nHeight + 1, lpszText, nCount);
            if (!fitsInside(size))
                break;
            ++nHeight;
        }
        return nHeight;
    }
    while (exceeds(size))
    {
        if (--nHeight < 1)
            return 0;
        size = ExtentAtHeight(pDC, lf, nHeight, lpszText, nCount);
    }
    return nHeight;
}

int AFXAPI CQVTDrawHelpers::DrawFittedText(CDC* pDC, LPCTSTR lpszFaceName, int nPointSize, LPCTSTR lpszText,
                                           int nCount, LPRECT lpRect, UINT nFormat, COLORREF clrText,
                                           COLORREF clrBack)
{
    if (!pDC || !pDC->GetSafeHdc() || !lpRect)
        return 0;
    CFont font;
    if (nPointSize != 0)
    {
        if (!font.CreatePointFont(nPointSize, lpszFaceName, pDC))
            return 0;
        return DrawTextWithColors(pDC, &font, lpszText, nCount, lpRect, nFormat, clrText, clrBack);
    }
    if (!font.CreatePointFont(80, lpszFaceName, pDC))
        return 0;
    const int nHeight = FitFontHeightToRect(pDC, lpszText, nCount, CRect(lpRect), &font);
    if (nHeight < 1)
        return 0;
    LOGFONT lf = {};
    font.GetLogFont(&lf);
    lf.lfHeight = nHeight;
    CFont fitted;
    if (!fitted.CreateFontIndirect(&lf))
        return 0;
    return DrawTextWithColors(pDC, &fitted, lpszText, nCount, lpRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                              clrText, clrBack);
}

void AFXAPI CQVTDrawHelpers::StripMnemonics(CString& strText)
{
    if (strText.Find(_T('&')) < 0)
        return;
    LPTSTR pszBuffer = strText.GetBuffer();
    StripMnemonicsInPlace(pszBuffer);
    strText.ReleaseBuffer();
}

void AFXAPI CQVTDrawHelpers::StripMnemonicsInPlace(LPTSTR lpszText)
{
    if (!lpszText)
        return;
    LPTSTR pszOut = lpszText;
    for (LPCTSTR pszIn = lpszText; *pszIn; ++pszIn)
    {
        if (*pszIn == _T('&'))
        {
            // The character after the ampersand stays, even a second one.
            if (!*++pszIn)
                break;
        }
        *pszOut++ = *pszIn;
    }
    *pszOut = 0;
}

void AFXAPI CQVTDrawHelpers::GetWindowTextDirect(HWND hWnd, CString& strText)
{
    strText.Empty();
    if (!hWnd || !::IsWindow(hWnd))
        return;
    const int nLength = static_cast<int>(::DefWindowProcW(hWnd, WM_GETTEXTLENGTH, 0, 0));
    if (nLength <= 0)
        return;
    LPTSTR pszBuffer = strText.GetBuffer(nLength + 1);
    const int nCopied = static_cast<int>(
        ::DefWindowProcW(hWnd, WM_GETTEXT, nLength + 1, reinterpret_cast<LPARAM>(pszBuffer)));
    strText.ReleaseBuffer(std::max(0, std::min(nCopied, nLength)));
}

DWORD AFXAPI CQVTDrawHelpers::GetHdcLayout(HDC hDC)
{
    PFNGETLAYOUT pfn = GetLayoutProc();
    return pfn && hDC ? pfn(hDC) : 0;
}

DWORD AFXAPI CQVTDrawHelpers::GetDCLayout(CDC* pDC)
{
    return pDC ? GetHdcLayout(pDC->GetSafeHdc()) : 0;
}

BOOL AFXAPI CQVTDrawHelpers::IsHdcRightToLeft(HDC hDC)
{
    return GetHdcLayout(hDC) == LAYOUT_RTL;
}

BOOL AFXAPI CQVTDrawHelpers::IsDCRightToLeft(CDC* pDC)
{
    return GetDCLayout(pDC) == LAYOUT_RTL;
}

void AFXAPI CQVTDrawHelpers::SetDCLayout(CDC* pDC, DWORD dwLayout)
{
    PFNSETLAYOUT pfn = SetLayoutProc();
    if (pfn && pDC && pDC->GetSafeHdc())
        pfn(pDC->GetSafeHdc(), dwLayout);
}

DWORD AFXAPI CQVTDrawHelpers::SetDCLayoutReturnOld(HDC hDC, DWORD dwLayout)
{
    PFNSETLAYOUT pfn = SetLayoutProc();
    return pfn && hDC ? pfn(hDC, dwLayout) : 0;
}

BOOL AFXAPI CQVTDrawHelpers::IsLayoutRTLOrLeftScroll(HWND hWnd)
{
    return (ExStyle(hWnd) & (WS_EX_LAYOUTRTL | WS_EX_LEFTSCROLLBAR)) != 0;
}

BOOL AFXAPI CQVTDrawHelpers::IsLayoutRTLOrLeftScrollWnd(CWnd* pWnd)
{
    return IsLayoutRTLOrLeftScroll(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

BOOL AFXAPI CQVTDrawHelpers::IsRtlReading(HWND hWnd)
{
    const LONG nStyle = ExStyle(hWnd);
    return ((nStyle & WS_EX_RTLREADING) != 0) != ((nStyle & WS_EX_LAYOUTRTL) != 0);
}

BOOL AFXAPI CQVTDrawHelpers::IsRtlReadingWnd(CWnd* pWnd)
{
    return IsRtlReading(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

void AFXAPI CQVTDrawHelpers::MirrorArrowKeyForRTL(CWnd* pWnd, UINT& nChar)
{
    if (!pWnd || !(ExStyle(pWnd->GetSafeHwnd()) & WS_EX_LAYOUTRTL))
        return;
    if (nChar == VK_LEFT)
        nChar = VK_RIGHT;
    else if (nChar == VK_RIGHT)
        nChar = VK_LEFT;
}

void AFXAPI CQVTDrawHelpers::ScreenToWindowPoint(CWnd* pWnd, POINT& pt)
{
    const HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    const CRect rcWindow = WindowRectFromHwnd(hWnd);
    pt.y -= rcWindow.top;
    if (ExStyle(hWnd) & WS_EX_LAYOUTRTL)
        pt.x = rcWindow.right - pt.x;
    else
        pt.x -= rcWindow.left;
}

CRect AFXAPI CQVTDrawHelpers::ClientRectFromWnd(const CWnd* pWnd)
{
    return ClientRectFromHwnd(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

CRect AFXAPI CQVTDrawHelpers::ClientRectFromHwnd(HWND hWnd)
{
    CRect rc(0, 0, 0, 0);
    if (hWnd && ::IsWindow(hWnd))
        ::GetClientRect(hWnd, &rc);
    return rc;
}

CRect AFXAPI CQVTDrawHelpers::WindowRectFromWnd(const CWnd* pWnd)
{
    return WindowRectFromHwnd(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

CRect AFXAPI CQVTDrawHelpers::WindowRectFromHwnd(HWND hWnd)
{
    CRect rc(0, 0, 0, 0);
    if (hWnd && ::IsWindow(hWnd))
        ::GetWindowRect(hWnd, &rc);
    return rc;
}

BOOL AFXAPI CQVTDrawHelpers::IsApplicationActive(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    HWND hTop = ::GetAncestor(hWnd, GA_ROOT);
    if (!hTop)
        hTop = hWnd;
    while (HWND hOwner = ::GetWindow(hTop, GW_OWNER))
        hTop = hOwner;
    return ::GetForegroundWindow() == ::GetLastActivePopup(hTop);
}

BOOL AFXAPI CQVTDrawHelpers::PumpPaintMessages(HWND hWnd)
{
    static const UINT kMessages[] = {WM_PAINT, WM_ERASEBKGND, WM_SYNCPAINT, WM_NCPAINT};
    for (;;)
    {
        MSG msg = {};
        bool bFound = false;
        for (UINT nMessage : kMessages)
        {
            if (::PeekMessageW(&msg, hWnd, nMessage, nMessage, PM_NOREMOVE))
            {
                bFound = true;
                break;
            }
        }
        if (!bFound)
            return TRUE;
        if (msg.message == WM_QUIT)
            return FALSE;
        if (!::PeekMessageW(&msg, hWnd, msg.message, msg.message, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        ::DispatchMessageW(&msg);
        ::ValidateRect(msg.hwnd, nullptr);
    }
}

BOOL AFXAPI CQVTDrawHelpers::RegisterWindowClass(HINSTANCE hInstance, LPCTSTR lpszClassName, UINT nStyle,
                                                 HICON hIcon, HBRUSH hbrBackground)
{
    if (!hInstance)
        hInstance = AfxGetInstanceHandle();
    if (!hInstance)
        hInstance = ::GetModuleHandleW(nullptr);
    WNDCLASS wc = {};
    wc.style = nStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = lpszClassName;
    return AfxRegisterClass(&wc);
}

BOOL AFXAPI CQVTDrawHelpers::GetMonitorScaleFactor(HWND hWnd, double* pScaleX, double* pScaleY)
{
    DEVMODEW dm = {};
    dm.dmSize = sizeof(dm);
    if (!QVTMultiMonitor()->GetMonitorDisplaySettings(hWnd, &dm))
        return FALSE;
    const CRect rcMonitor = QVTMultiMonitor()->GetScreenAreaFromHwnd(hWnd);
    if (rcMonitor.IsRectEmpty())
        return FALSE;
    if (pScaleX)
        *pScaleX = static_cast<double>(dm.dmPelsWidth) / rcMonitor.Width();
    if (pScaleY)
        *pScaleY = static_cast<double>(dm.dmPelsHeight) / rcMonitor.Height();
    return TRUE;
}

BOOL AFXAPI CQVTDrawHelpers::IsLowColorDC(HDC hDC)
{
    return CQVTColorManager::IsLowColorDisplay(hDC);
}

BOOL AFXAPI CQVTDrawHelpers::IsDefaultDpi()
{
    return IsDefaultDpiX() && IsDefaultDpiY();
}

BOOL AFXAPI CQVTDrawHelpers::IsDefaultDpiX()
{
    return QVTDpiScaler()->ScaleX(96, 96) == 96;
}

BOOL AFXAPI CQVTDrawHelpers::IsDefaultDpiY()
{
    return QVTDpiScaler()->ScaleY(96, 96) == 96;
}

int AFXAPI CQVTDrawHelpers::RoundToInt(double dValue)
{
    return static_cast<int>(dValue >= 0 ? std::floor(dValue + 0.5) : std::ceil(dValue - 0.5));
}
