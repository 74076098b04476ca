// The toolkit's numbered colours: the platform's system colours (0 to 30)
// and colours derived from them (31 to 62), each with an optional custom
// override; fixed colours of the XP-style variants; and ten gradients.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTWinThemeWrapper;

enum QVTSystemTheme
{
    qvtSystemThemeUnknown = 0,
    qvtSystemThemeBlue = 1,
    qvtSystemThemeOlive = 2,
    qvtSystemThemeSilver = 3,
    qvtSystemThemeRoyale = 4,
    qvtSystemThemeAero = 5,
    qvtSystemThemeAuto = 6,
    qvtSystemThemeDefault = 7,
};

class CQVTColorManager : public CQVTCmdTarget
{
public:
    enum
    {
        colorCount = 63,
        gradientCount = 10,
    };
    static const COLORREF noColor = 0xFFFFFFFF;

    // Replaces GetSysColor for colours 1 to 29 (the skin framework's hook).
    typedef COLORREF(AFX_CDECL* PFNGETSYSCOLOR)(int nIndex);

    CQVTColorManager();
    ~CQVTColorManager() override;

    // n above 62 is a literal COLORREF; else the custom colour when set,
    // otherwise the standard one.
    COLORREF GetColor(int nIndex) const;
    // Sets (or, with noColor, clears) the custom colour n.
    void SetColor(int nIndex, COLORREF clrCustom);
    COLORREF GetStandardColor(int nIndex) const;
    // The XP-style colour of n for the current theme; noColor when none.
    COLORREF GetThemeColor(int nIndex) const;
    const CQVTPaintManagerColorGradient& GetGradientColor(int nIndex) const;

    void RefreshColors(BOOL bResetCustomColors = TRUE);
    // The steps of RefreshColors after the system colours.
    void RefreshBlendedColors(BOOL bHighContrast);
    void RefreshShadedColors();
    void RefreshTreeViewBorderColor();
    void RefreshThemeColors();
    void RefreshThemeGradients();
    void ResetCustomColors();

    int DetectSystemTheme();
    // Detection through a given theme wrapper.
    int DetectSystemTheme(CQVTWinThemeWrapper& wrapper);
    // The selected theme, or the detected one when the selection is automatic.
    int GetCurrentSystemTheme() const;
    int GetDetectedSystemTheme() const { return m_nDetectedTheme; }
    void SetCurrentSystemTheme(int nTheme) { m_nSelectedTheme = nTheme; }

    BOOL IsThemeColorsDisabled() const { return m_bThemeColorsDisabled; }
    void DisableThemeColors(BOOL bDisable) { m_bThemeColorsDisabled = bDisable; }
    void SetDetectRoyale(BOOL bDetect) { m_bDetectRoyale = bDetect; }
    void SetDetectAero(BOOL bDetect) { m_bDetectAero = bDetect; }
    void SetGetSysColorPtr(PFNGETSYSCOLOR pfn) { m_pfnGetSysColor = pfn; }
    PFNGETSYSCOLOR GetGetSysColorPtr() const { return m_pfnGetSysColor; }

    // TRUE for 1 to 8 bits per pixel; the screen's depth without a DC.
    static BOOL AFXAPI IsLowColorDisplay(HDC hDC = nullptr);
    // The screen's depth is asked once (a screen DC and server round trips
    // each time) and kept until the display changes: WM_DISPLAYCHANGE gives
    // the new depth, 0 asks the screen again.
    static void AFXAPI OnDisplayChange(int nBitsPerPixel);

    // Per channel (c1 x w + c2 x (D - w) + D / 2) / D, D = 100 for w below
    // 100, else 1000.
    static COLORREF AFXAPI BlendColors(COLORREF clr1, COLORREF clr2, int nWeight);

    // Distances in a brightness-weighted RGB space; with bScaled, dark first
    // colours get up to twice the threshold.
    static BOOL AFXAPI IsColorDistanceAbove(COLORREF clr1, COLORREF clr2, BOOL bScaled, float fThreshold);
    // The point between the two at the scaled distance from clr1.
    static COLORREF AFXAPI MoveColorCloser(COLORREF clr1, COLORREF clr2, float fAmount);
    // The colour on the line from black (or white) through clr2 at the scaled
    // distance from clr1.
    static COLORREF AFXAPI EnsureColorContrast(COLORREF clr1, COLORREF clr2, float fAmount);

private:
    int ThemeForColors() const;
    void SetStandard(int nIndex, COLORREF clr) { m_clrStandard[nIndex] = clr; }
    // The screen's depth asked once for a whole refresh: each question is a
    // screen DC and server round trips.
    BOOL IsLowColorScreen() const;

    CQVTPaintManagerColorGradient m_gradients[gradientCount];
    BOOL m_bDetectRoyale = TRUE;
    BOOL m_bDetectAero = TRUE;
    BOOL m_bThemeColorsDisabled = FALSE;
    COLORREF m_clrStandard[colorCount];
    COLORREF m_clrCustom[colorCount];
    COLORREF m_clrTheme[colorCount];
    PFNGETSYSCOLOR m_pfnGetSysColor = nullptr;
    int m_nSelectedTheme = qvtSystemThemeAuto;
    int m_nDetectedTheme = qvtSystemThemeUnknown;
    // During RefreshColors: the screen's depth as read at its start, else -1.
    int m_nRefreshLowColor = -1;
};

CQVTColorManager* AFXAPI QVTColorManager();

// Colour n of the process-wide manager.
COLORREF AFXAPI GetColorByIndex(int nIndex);
void AFXAPI RefreshColorManagerColors(BOOL bResetCustomColors = TRUE);

// Seven system metrics read once, when first asked for.
class CQVTSystemMetrics
{
public:
    CQVTSystemMetrics();
    virtual ~CQVTSystemMetrics() {}

    int m_nBorderY;
    int m_nCaptionY;
    int m_nFrameY;
    int m_nSmallIconX;
    int m_nSmallIconY;
    int m_nIconX;
    int m_nIconY;
};

CQVTSystemMetrics* AFXAPI QVTSystemMetrics();
