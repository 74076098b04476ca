// The colours a tab paint manager paints with, and the fills that depend
// on them. The base takes system colours; the family differs in where the
// colours come from and in a few fills. A colour of -1 is no colour.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"

class CQVTTabManager;
class CQVTTabManagerItem;
class CQVTTabManagerNavigateButton;
class CQVTTabPaintManager;

// A light colour of -2 in a gradient selects the dither pattern.
const COLORREF QVT_TAB_DITHER_COLOR = 0xFFFFFFFE;

class CQVTTabPaintManagerColorSet
{
public:
    CQVTTabPaintManagerColorSet();
    virtual ~CQVTTabPaintManagerColorSet();
    CQVTTabPaintManagerColorSet(const CQVTTabPaintManagerColorSet&) = delete;
    CQVTTabPaintManagerColorSet& operator=(const CQVTTabPaintManagerColorSet&) = delete;

    virtual void RefreshMetrics();
    virtual void SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem);
    virtual void FillHeader(CDC* pDC, CRect rc, CQVTTabManager* pTabManager);
    virtual void FillClient(CDC* pDC, CRect rc, CQVTTabManager* pTabManager);
    virtual COLORREF GetClientColor(CQVTTabManager* pTabManager);
    virtual void FillTabButton(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem);
    // The item fill; returns the colour used.
    virtual COLORREF FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem);
    virtual void FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc) = 0;
    virtual COLORREF GetItemColor(CQVTTabManagerItem* pItem);
    virtual BOOL IsThemed() { return FALSE; }

    CQVTTabPaintManager* GetPaintManager() const { return m_pPaintManager; }
    void SetPaintManager(CQVTTabPaintManager* pPaintManager) { m_pPaintManager = pPaintManager; }

    // Fills by the gradient rule of the strip's position: light to dark for
    // top and left, dark to light for bottom and right, across the strip.
    void GradientFill(CDC* pDC, CRect rc, const CQVTPaintManagerColorGradient& grc, int nPosition);
    void GradientFill(CDC* pDC, CRect rc, COLORREF clrLight, COLORREF clrDark, int nPosition);
    // The 8x8 two-colour dither of face and highlight.
    static void AFX_CDECL FillDither(CDC* pDC, const CRect& rc);
    int GetPosition() const;
    BOOL IsStripActive(const CQVTTabManagerItem* pItem) const;

    // The names the appearances use for the members below.
    COLORREF GetFrameColor() const { return m_clrFrameBorder; }
    COLORREF GetBackgroundColor() const { return m_clrClientFace; }
    COLORREF GetWorkspaceColor() const { return m_clrTabClientBack; }
    COLORREF GetWorkspaceLineColor() const { return m_clrTabClientBorder; }
    COLORREF GetHighlightedFrameColor() const;
    COLORREF GetHeaderColor() const { return m_grcHeaderFace.clrDark; }
    COLORREF GetHeaderBackground() const { return m_grcHeaderFace.clrLight; }
    COLORREF GetLightEdge() const { return m_csFrame[0]; }
    COLORREF GetInnerShadow() const { return m_csFrame[1]; }
    COLORREF GetOuterShadow() const { return m_csFrame[2]; }
    COLORREF GetDarkEdge() const { return m_csFrame[3]; }
    COLORREF GetHighlight1() const { return m_csFrame[5]; }
    COLORREF GetHighlight2() const { return m_csFrame[6]; }
    // The one colour that tells a set frames its selected flat tab by
    // extending the fill instead.
    COLORREF GetSelectedFrameColor() const { return m_csFrame[6]; }

    CQVTPaintManagerColorGradient m_grcHeaderFace;
    CQVTPaintManagerColorGradient m_grcAutoHideFace;
    CQVTPaintManagerColor m_clrFrameBorder;
    CQVTPaintManagerColor m_clrClientFace;
    CQVTPaintManagerColor m_clrPaneFace;
    CQVTPaintManagerColor m_clrClientHighlight;
    CQVTPaintManagerColor m_clrTabClientBack;
    CQVTPaintManagerColor m_clrTabClientBorder;
    CQVTPaintManagerColor m_clrButton;
    CQVTPaintManagerColor m_clrButtonPressed;
    CQVTPaintManagerColor m_clrButtonHighlighted;
    CQVTPaintManagerColor m_clrButtonHighlightedClose;
    CQVTPaintManagerColor m_clrReserved[4];
    CQVTPaintManagerColor m_clrButtonSelected;
    CQVTPaintManagerColor m_clrButtonSelectedPressed;
    CQVTPaintManagerColor m_clrButtonSelectedHighlighted;
    CQVTPaintManagerColor m_clrSeparatorHighlight;
    CQVTPaintManagerColor m_clrButtonBorderHot;
    CQVTPaintManagerColor m_clrText;
    CQVTPaintManagerColor m_clrTextPressed;
    CQVTPaintManagerColor m_clrTextHighlighted;
    CQVTPaintManagerColor m_clrTextHighlightedClose;
    CQVTPaintManagerColor m_clrTextSelected;
    CQVTPaintManagerColor m_clrTextSelectedPressed;
    CQVTPaintManagerColor m_clrTextSelectedHighlighted;
    CQVTPaintManagerColor m_clrTextDisabled;
    CQVTPaintManagerColor m_clrActiveFilesGlyph;
    CQVTPaintManagerColor m_clrActiveFilesGlyphHighlighted;
    CQVTPaintManagerColor m_clrActiveFilesGlyphPressed;
    CQVTPaintManagerColor m_clrActiveFilesBack;
    CQVTPaintManagerColor m_clrActiveFilesBackHighlighted;
    CQVTPaintManagerColor m_clrActiveFilesBackPressed;
    CQVTPaintManagerColorGradient m_grcSelectedFace;
    CQVTPaintManagerColorGradient m_grcSelectedBorder;
    // 3D frame colours 1 to 7: light edge, inner shadow, outer shadow, dark
    // edge, border, and the two inner highlights of slanted tabs.
    CQVTPaintManagerColor m_csFrame[7];
    // Edge colours of trapezoid tabs: A for the others, B for the selected
    // one; 1 to 3 the leading slant, the outer edge and the trailing slant,
    // 4 to 6 the lines one pixel inside them.
    CQVTPaintManagerColor m_csStateA[6];
    CQVTPaintManagerColor m_csStateB[6];

protected:
    CQVTTabPaintManager* m_pPaintManager = nullptr;  // not owned
};

// The base with a plain dither for the selected face and raised or sunken
// navigate buttons.
class CQVTTabColorSetDefault : public CQVTTabPaintManagerColorSet
{
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc) override;
};

// Sets the standard value and drops a custom one: every refresh computes
// the colours anew.
namespace QVTTabColors {
void SetStandard(CQVTPaintManagerColor& color, COLORREF clr);
void SetStandard(CQVTPaintManagerColorGradient& gradient, COLORREF clrLight, COLORREF clrDark);
}  // namespace QVTTabColors
