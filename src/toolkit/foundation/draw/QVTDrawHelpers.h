// Drawing support every toolkit painter shares: two-colour gradients
// (msimg32 when the system has it, by hand otherwise), colour arithmetic,
// small shapes, fonts and fitted text, right-to-left tests and window
// geometry. msimg32 and the GDI layout functions are bound at run time.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

class CQVTPaintManagerColorGradient;

class CQVTDrawHelpers
{
public:
    typedef BOOL(WINAPI* PFNALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    typedef BOOL(WINAPI* PFNTRANSPARENTBLT)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    CQVTDrawHelpers();
    virtual ~CQVTDrawHelpers();

    // Gradients; a null or empty rectangle draws nothing.
    void GradientFill(CDC* pDC, LPCRECT lpRect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorz);
    // Draws only the part inside the clip rectangle, with the colours that
    // part has in the gradient over the whole rectangle.
    void GradientFillClipped(CDC* pDC, LPCRECT lpRect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorz,
                             LPCRECT lpClip);
    // Light to dark; a factor other than 0.5 puts their blend in the middle.
    void GradientFillWithFactor(CDC* pDC, LPCRECT lpRect, const CQVTPaintManagerColorGradient& grc,
                                BOOL bHorz, LPCRECT lpClip = nullptr);
    static void AFXAPI FillRectWithBorder(CDC* pDC, LPCRECT lpRect, COLORREF clrBorder, COLORREF clrFill);

    // Colour arithmetic (COLORREF = 0x00BBGGRR).
    static COLORREF AFXAPI BlendColors(COLORREF clrA, COLORREF clrB, double dFactor);
    static COLORREF AFXAPI DarkenColor(long lAmount, COLORREF clr);
    static COLORREF AFXAPI LightenColor(long lAmount, COLORREF clr);
    // Hue in the low byte (0..239), saturation (0..240), lightness (0..240).
    static DWORD AFXAPI RGBToHLS(COLORREF clr);
    static COLORREF AFXAPI HLSToRGB(DWORD dwHLS);

    // Shapes and images.
    static BOOL AFXAPI DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF clr);
    static BOOL AFXAPI DrawLineRelative(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr);
    static void AFXAPI DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clrPen,
                                    COLORREF clrBrush = 0xFFFFFFFF);
    static void AFXAPI ExcludeCorners(CDC* pDC, CRect rc, BOOL bTopOnly = FALSE);
    static void AFXAPI DrawImageListIcon(CDC* pDC, LPCRECT lpRect, HIMAGELIST hImageList, int nIndex);
    static HICON AFXAPI IconFromBitmapMasked(HBITMAP hBitmap);
    static COLORREF AFXAPI GetBitmapMaskColor(HBITMAP hBitmap);
    static CRect AFXAPI MakeSameParityRect(const CRect& rc);

    // Fonts and text.
    static BOOL AFXAPI GetIconTitleLogFont(LOGFONTW* pLogFont);
    static CString AFXAPI GetDefaultFontFace(BOOL bUseTahoma);
    static BOOL AFXAPI FontFaceExists(LPCTSTR lpszFaceName);
    // 0xFFFFFFFF leaves the text colour alone, or draws on a transparent
    // background; the DC is left as it was.
    static int AFXAPI DrawTextWithColors(CDC* pDC, CFont* pFont, LPCTSTR lpszText, int nCount, LPRECT lpRect,
                                         UINT nFormat, COLORREF clrText, COLORREF clrBack);
    // The largest font height at which the text fits the rectangle; 0 when
    // none does.
    static int AFXAPI FitFontHeightToRect(CDC* pDC, LPCTSTR lpszText, int nCount, const CRect& rc,
                                          CFont* pFont);
    // Size in tenths of a point; 0 fits the text to the rectangle and centres it.
    static int AFXAPI DrawFittedText(CDC* pDC, LPCTSTR lpszFaceName, int nPointSize, LPCTSTR lpszText,
                                     int nCount, LPRECT lpRect, UINT nFormat, COLORREF clrText,
                                     COLORREF clrBack = 0xFFFFFFFF);
    // "&File" becomes "File", "&&" becomes "&".
    static void AFXAPI StripMnemonics(CString& strText);
    static void AFXAPI StripMnemonicsInPlace(LPTSTR lpszText);
    // The window's text without going through its window procedure.
    static void AFXAPI GetWindowTextDirect(HWND hWnd, CString& strText);

    // Layout and right-to-left.
    static DWORD AFXAPI GetHdcLayout(HDC hDC);
    static DWORD AFXAPI GetDCLayout(CDC* pDC);
    static BOOL AFXAPI IsHdcRightToLeft(HDC hDC);
    static BOOL AFXAPI IsDCRightToLeft(CDC* pDC);
    static void AFXAPI SetDCLayout(CDC* pDC, DWORD dwLayout);
    static DWORD AFXAPI SetDCLayoutReturnOld(HDC hDC, DWORD dwLayout);
    static BOOL AFXAPI IsLayoutRTLOrLeftScroll(HWND hWnd);
    static BOOL AFXAPI IsLayoutRTLOrLeftScrollWnd(CWnd* pWnd);
    static BOOL AFXAPI IsRtlReading(HWND hWnd);
    static BOOL AFXAPI IsRtlReadingWnd(CWnd* pWnd);
    static void AFXAPI MirrorArrowKeyForRTL(CWnd* pWnd, UINT& nChar);
    static void AFXAPI ScreenToWindowPoint(CWnd* pWnd, POINT& pt);

    // Windows and screens.
    static CRect AFXAPI ClientRectFromWnd(const CWnd* pWnd);
    static CRect AFXAPI ClientRectFromHwnd(HWND hWnd);
    static CRect AFXAPI WindowRectFromWnd(const CWnd* pWnd);
    static CRect AFXAPI WindowRectFromHwnd(HWND hWnd);
    static CRect AFXAPI EmptyRect() { return CRect(0, 0, 0, 0); }
    static BOOL AFXAPI IsApplicationActive(HWND hWnd);
    // Dispatches the window's waiting paint messages; FALSE when a quit
    // message was met (it is left, or posted again, for the main loop).
    static BOOL AFXAPI PumpPaintMessages(HWND hWnd);
    static BOOL AFXAPI RegisterWindowClass(HINSTANCE hInstance, LPCTSTR lpszClassName, UINT nStyle,
                                           HICON hIcon = nullptr, HBRUSH hbrBackground = nullptr);
    static BOOL AFXAPI GetMonitorScaleFactor(HWND hWnd, double* pScaleX, double* pScaleY);
    static BOOL AFXAPI IsLowColorDC(HDC hDC);
    static BOOL AFXAPI IsDefaultDpi();
    static BOOL AFXAPI IsDefaultDpiX();
    static BOOL AFXAPI IsDefaultDpiY();

    // Halves away from zero.
    static int AFXAPI RoundToInt(double dValue);

    PFNALPHABLEND m_pfnAlphaBlend = nullptr;
    PFNTRANSPARENTBLT m_pfnTransparentBlt = nullptr;
    PFNGRADIENTFILL m_pfnGradientFill = nullptr;

private:
    void GradientFillManual(CDC* pDC, const CRect& rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorz);

    HMODULE m_hMsImg32 = nullptr;
};

CQVTDrawHelpers* AFXAPI QVTDrawHelpers();

// The helpers other subsystems call by their plain names.
inline DWORD AFXAPI GetDCLayout(CDC* pDC)
{
    return CQVTDrawHelpers::GetDCLayout(pDC);
}
inline DWORD AFXAPI SetDCLayoutReturnOld(HDC hDC, DWORD dwLayout)
{
    return CQVTDrawHelpers::SetDCLayoutReturnOld(hDC, dwLayout);
}
inline void AFXAPI SetDCLayout(CDC* pDC, DWORD dwLayout)
{
    CQVTDrawHelpers::SetDCLayout(pDC, dwLayout);
}
inline BOOL AFXAPI IsDCRightToLeft(CDC* pDC)
{
    return CQVTDrawHelpers::IsDCRightToLeft(pDC);
}
inline BOOL AFXAPI IsHdcRightToLeft(HDC hDC)
{
    return CQVTDrawHelpers::IsHdcRightToLeft(hDC);
}
inline BOOL AFXAPI IsLayoutRTLOrLeftScrollWnd(CWnd* pWnd)
{
    return CQVTDrawHelpers::IsLayoutRTLOrLeftScrollWnd(pWnd);
}
inline BOOL AFXAPI IsRtlReadingWnd(CWnd* pWnd)
{
    return CQVTDrawHelpers::IsRtlReadingWnd(pWnd);
}
inline void AFXAPI MirrorArrowKeyForRTL(CWnd* pWnd, UINT& nChar)
{
    CQVTDrawHelpers::MirrorArrowKeyForRTL(pWnd, nChar);
}
inline void AFXAPI ScreenToWindowPoint(CWnd* pWnd, POINT& pt)
{
    CQVTDrawHelpers::ScreenToWindowPoint(pWnd, pt);
}
inline void AFXAPI StripMnemonics(CString& strText)
{
    CQVTDrawHelpers::StripMnemonics(strText);
}
inline DWORD AFXAPI RGBToHLS(COLORREF clr)
{
    return CQVTDrawHelpers::RGBToHLS(clr);
}
inline COLORREF AFXAPI HLSToRGB(DWORD dwHLS)
{
    return CQVTDrawHelpers::HLSToRGB(dwHLS);
}
inline int AFXAPI RoundToInt(double dValue)
{
    return CQVTDrawHelpers::RoundToInt(dValue);
}
