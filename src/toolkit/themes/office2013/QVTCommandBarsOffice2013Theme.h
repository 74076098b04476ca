// The flat theme of plain filled faces with one-pixel borders: no gradients,
// bevels or shadows. Every colour comes from a named key of the resource
// images' INI with a built-in default, grouped into colour sets by surface.
// The later flat themes derive from it and change colours, metrics and a
// few operations.
//
// The class spans two files: this one's .cpp holds the colours, metrics and
// element paint managers; QVTCommandBarsOffice2013ThemeDraw.cpp the drawing.
#pragma once

#include "toolkit/themes/modernui/QVTCommandBarsModernUITheme.h"
#include "toolkit/themes/office2013/QVTColorSetState.h"

class CQVTCommandBars;

class CQVTCommandBarsOffice2013Theme : public CQVTCommandBarsModernUITheme
{
    DECLARE_DYNAMIC(CQVTCommandBarsOffice2013Theme)

public:
    CQVTCommandBarsOffice2013Theme();
    ~CQVTCommandBarsOffice2013Theme() override;

    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    COLORREF GetControlEditBackColor(CQVTControl* pControl) override;
    CSize DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    COLORREF GetControlTextColor(CQVTControl* pControl) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;
    BOOL DrawControlEntryHook(CDC* pDC, CQVTControl* pControl) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    void DrawControlRectangle(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked,
                              int barType) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void DrawAdjacentControlsSeparator(CDC* pDC, CRect rc, CQVTControl* pPrev, CQVTControl* pNext,
                                       BOOL bDraw) override;
    void FillDockBar(CDC* pDC, CQVTDockBar* pDockBar) override;
    void FillWorkspace(CDC* pDC, CRect rc) override;
    void RefreshMetrics() override;
    void Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) override;
    void DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical) override;
    CSize DrawControlCheckBox(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override;
    int GetThemeId() const override { return qvtThemeOffice2013; }
    BOOL HasResourceLook() const override { return TRUE; }
    void DrawControlMarlettCaption(CDC* pDC, CQVTControl* pControl) override;
    void DrawDropDownGlyph(CDC* pDC, CQVTControl* pControl, CPoint pt, BOOL bSelected, BOOL bPopuped,
                           BOOL bEnabled, BOOL bVertical) override;
    void DrawPopupCheckMark(CDC* pDC, CRect rc, CQVTControl* pControl) override;
    void DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText) override;
    CQVTRibbonPaintManager* GetRibbonPaintManager() override;

    // Hands a background number to the ribbon's paint manager and redraws
    // the bars; FALSE when there is no such paint manager or no bars.
    virtual BOOL SetRibbonBackground(CQVTCommandBars* pCommandBars, int nBackground);
    // Copies the colour sets' standard values into the base colour table.
    virtual void UpdateColorTable();
    virtual COLORREF GetControlGlyphColor(CQVTControl* pControl);
    // The dark or light line of a separator on a bar of the given type;
    // pure red for a type no set covers.
    virtual COLORREF GetSeparatorColor(int barType, BOOL bDark);
    virtual void GetCheckBoxColors(BOOL bPressed, BOOL bHighlighted, BOOL bEnabled, COLORREF& clrMark,
                                   COLORREF& clrBack, COLORREF& clrBorder);
    // Squares of one pixel (96 DPI) every four along a line up to nEnd.
    virtual void DrawDottedLine(CDC* pDC, int x, int y, int nEnd, COLORREF clr, BOOL bVertical);

    // A control of a ribbon's quick-access row that lies in the caption.
    static BOOL AFX_CDECL IsCaptionControl(CQVTControl* pControl);

public:
    CQVTColorSetStateMenu m_csMenu;
    CQVTColorSetStateRibbon m_csRibbon;
    CQVTColorSetStateToolbar m_csToolbar;
    CQVTColorSetStateCheckMark m_csCheckMark;
    CQVTColorSetStateComboBox m_csComboBox;
    CQVTColorSetStateCheckBox m_csCheckBox;

    CQVTPaintManagerColor m_clrBack;  // dock bars and flat bars
    CQVTPaintManagerColorGradient m_grcWorkspace;
    CQVTPaintManagerColor m_clrGlyph;
    CQVTPaintManagerColor m_clrGlyphHighlight;
    CQVTPaintManagerColor m_clrGlyphPushed;
    CQVTPaintManagerColor m_clrGlyphDisabled;
    CQVTPaintManagerColor m_clrMessageBarText;
    CQVTPaintManagerColor m_clrCaptionButtonActiveFill;
    // The caption's controls of a ribbon whose quick-access row lies in it.
    COLORREF m_clrFrameCaptionTextActive;
    COLORREF m_clrFrameCaptionTextInactive;
    COLORREF m_clrCaptionButtonHotBack;
    COLORREF m_clrCaptionButtonPressedBack;

protected:
    // Fills with the fill colour, then frames with the border colour when it
    // differs; "no colour" skips either.
    void FillAndFrame(CDC* pDC, const CRect& rc, COLORREF clrBorder, COLORREF clrFill);
    // The set of the bar type: menu for popups, ribbon, else toolbar.
    CQVTColorSetStateButton& GetColorSet(int barType);
    // The popup's border opens towards the toolbar control that dropped it.
    void DrawPopupGap(CDC* pDC, CQVTCommandBar* pBar);
    void DrawEditSpinButtons(CDC* pDC, CQVTControlEdit* pEdit, BOOL bEnabled);
    void DrawFlatCheckBoxMark(CDC* pDC, const CRect& rcMark, BOOL bSelected, BOOL bPressed, int nChecked,
                              BOOL bEnabled) override;
    void DrawFlatRadioButtonMark(CDC* pDC, const CRect& rcMark, BOOL bSelected, BOOL bPressed, int nChecked,
                                 BOOL bEnabled) override;

    // The control whose glyph is being drawn: Triangle takes its colour.
    CQVTControl* m_pGlyphControl = nullptr;
};
