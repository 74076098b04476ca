// The command-bar theme of a ribbon application: the resource theme whose
// buttons, menus, check boxes and radio buttons are drawn from the images
// of the process-wide resource image set, in the "Segoe UI" face, with the
// ribbon's own text colours. Its ribbon is drawn by the resource ribbon
// theme.
//
// The parts of single controls (split buttons, menu items, edit spin
// buttons, grippers, separators) are drawn in QVTRibbonThemeControls.cpp;
// this file holds the colours, faces, marks, tooltips and popup regions.
#pragma once

#include "toolkit/themes/resource/QVTResourceTheme.h"

class CQVTControlEdit;

class CQVTRibbonTheme : public CQVTResourceTheme
{
    DECLARE_DYNAMIC(CQVTRibbonTheme)

public:
    CQVTRibbonTheme();

    int GetThemeId() const override { return qvtThemeRibbon; }
    void RefreshMetrics() override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    CSize DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                  BOOL bEnabled) override;
    CSize DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                     int nChecked, BOOL bEnabled) override;
    void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    void DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    COLORREF GetControlEditBackColor(CQVTControl* pControl) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    // With bFlag the tooltip window only gets the popup region.
    void DrawTooltipFrame(CDC* pDC, CWnd* pToolTip, BOOL bFlag, BOOL bInfoColor) override;
    // The region of a popup: its rectangle with the four corner pixels cut.
    static void AFX_CDECL SetPopupRegion(CWnd* pWnd);
    COLORREF GetControlTextColor(CQVTControl* pControl) override;
    void SetCommandBarRegion(CQVTCommandBar* pBar) override;

    // Control parts (QVTRibbonThemeControls.cpp).
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags) override;
    CSize DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void DrawPopupSplitDivider(CDC* pDC, CQVTControl* pControl, COLORREF clrText) override;
    void DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText) override;

public:
    COLORREF m_clrEditNormal;
    COLORREF m_clrEditSelected;
    COLORREF m_clrEditDisabledBorder;
    COLORREF m_clrMenuSeparator;
    COLORREF m_clrRibbonText;
    COLORREF m_clrRibbonGrayText;
    COLORREF m_clrMenuGripperShadow;
    CQVTPaintManagerColor m_clrMenuGripper;
    CQVTPaintManagerColorGradient m_grcMenuExpandedGripper;
    BOOL m_bNoGroupSpacing;  // the INI sets a group spacing of 0

protected:
    BOOL IsImagesLoaded() const;
    BOOL DrawFrame(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames, CRect rcMargins,
                   BOOL bKeyed);
    CSize DrawMark(CDC* pDC, LPCTSTR lpszImage, int nFrames, CRect rc, BOOL bDraw, BOOL bSelected,
                   BOOL bPressed, int nChecked, BOOL bEnabled);
    // The frame of a four-frame toolbar button image for the state; -1
    // draws nothing.
    static int ToolbarButtonFrame(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped);
    // An image's frame at its own (scaled) size, centred in the rectangle.
    BOOL DrawCentredFrame(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames);
    void DrawSpinButtons(CDC* pDC, CQVTControlEdit* pEdit, BOOL bEnabled);
};
