// The command-bar theme of a ribbon application: the resource theme whose
// buttons, menus, check boxes and radio buttons are drawn from the images
// of the process-wide resource image set, in the "Segoe UI" face, with the
// ribbon's own text colours. Its ribbon is drawn by the resource ribbon
// theme.
#pragma once

#include "toolkit/themes/resource/QVTResourceTheme.h"

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
};
