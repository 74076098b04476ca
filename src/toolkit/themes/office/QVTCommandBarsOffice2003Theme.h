// The gradient theme: the flat theme with bars filled by two-colour
// gradients that line up across neighbouring bars, gradient highlights on
// hot, pressed and checked controls, embossed dot grippers, separators with
// a light second line and a gradient expand button. Its colours follow the
// visual style's colour scheme (blue, olive, silver) or, without one, derive
// from the system colours. The resource and the later gradient themes fill
// the same members from INI files or fixed sets.
#pragma once

#include <commctrl.h>

#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"

class CQVTCommandBarsOffice2003Theme : public CQVTCommandBarsOfficeXPTheme
{
    DECLARE_DYNAMIC(CQVTCommandBarsOffice2003Theme)

public:
    CQVTCommandBarsOffice2003Theme();
    ~CQVTCommandBarsOffice2003Theme() override;

    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void FillDockBar(CDC* pDC, CQVTDockBar* pDockBar) override;
    void RefreshMetrics() override;
    void DrawExpandGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical) override;
    void DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical) override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    CRect GetScaledMargins(CQVTCommandBar* pBar) override;
    CSize DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw) override;
    CSize DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override;
    int GetThemeId() const override { return qvtThemeOffice2003; }

    // A floating bar that can dock is filled row by row with gradients.
    virtual BOOL HasGradientFloatingFace(CQVTCommandBar* pBar);

    // The glyph image: the second popuped gradient over a fixed shape,
    // the backdrop of the "more" button.
    void CreateGradientGlyph();
    HIMAGELIST GetGradientGlyph() const { return m_hGlyphImageList; }
    BOOL IsSchemeColors() const { return m_bSchemeColors; }

public:
    CQVTPaintManagerColorGradient m_grcDockBar;          // dock bars and what shows round docked bars
    CQVTPaintManagerColorGradient m_grcToolBar;          // face of toolbars
    CQVTPaintManagerColorGradient m_grcExpandButton;     // face of the toolbar expand button
    CQVTPaintManagerColorGradient m_grcPopupedSecond;    // tints the gradient glyph
    CQVTPaintManagerColorGradient m_grcExpandedGripper;  // icon column of temporary popup items
    CQVTPaintManagerColorGradient m_grcGripper;          // icon column of popup menus
    CQVTPaintManagerColorGradient m_grcPopuped;          // face of a control whose popup is open
    CQVTPaintManagerColor m_clrToolbarShadow;            // line along a docked toolbar's outer edge
    CQVTPaintManagerColor m_clrTearOff;                  // face of a popup's tear-off strip
    BOOL m_bSchemeColors;          // a scheme set or INI supplied the colours: gradient highlights on
    BOOL m_bNoDotHighlight;        // gripper dots without their light copy
    BOOL m_bNoSeparatorHighlight;  // separators without their light line
    int m_nSeparatorIndent;        // inset of separator lines from their row's ends, at 96 DPI
    CQVTPaintManagerColorGradient m_grcChecked;   // face of a checked control
    CQVTPaintManagerColorGradient m_grcPressed;   // face of a pressed control
    CQVTPaintManagerColorGradient m_grcSelected;  // face of a hot control

protected:
    // Low-colour displays get plain faces; tests reach that path here.
    virtual BOOL IsLowColorDisplay() const;
    // The top dock bar of a frame drawn over desktop composition, filled for
    // the glass; tests reach that path here.
    virtual BOOL IsDockBarOnGlass(CQVTDockBar* pDockBar) const;

    // A rectangle widened to at least half the screen from its left edge, so
    // that the gradients of neighbouring bars line up.
    static CRect AFX_CDECL ScreenWideRect(CRect rc);
    // The parent window's rectangle in the bar's client coordinates.
    static CRect AFX_CDECL ParentRectInBar(CQVTCommandBar* pBar);
    void FillDockedHorizontalBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc);
    void FillDockedVerticalBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc);
    void FillFloatingGradientBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc);
    void FillParentBackground(CDC* pDC, CQVTCommandBar* pBar, const CRect& rcParent);
    void FillGradient(CDC* pDC, const CRect& rc, const CQVTPaintManagerColorGradient& grc, BOOL bHorizontal);
    void FrameGradient(CDC* pDC, const CRect& rc, const CQVTPaintManagerColorGradient& grc, int nFrame,
                       BOOL bHorizontal);
    void DrawDot(CDC* pDC, int x, int y, COLORREF clrLight);
    void ApplySchemeSet(int nScheme);
    void DrawExpandButton(CDC* pDC, CQVTControl* pControl, CQVTCommandBar* pBar, BOOL bHiddenControls);

    HIMAGELIST m_hGlyphImageList;  // one 16 x 16 image, owned
};
