// The flat Visual Studio 2012 look in light or dark fixed colours, held in
// one colour set: framed control faces, an accent status bar, a frame with
// wide caption buttons and the slim scroll bars. The style is fixed when the
// theme is made (a change of style makes a new theme).
//
// The class spans two files: this one's .cpp holds the colours, metrics and
// element paint managers; QVTCommandBarsVisualStudio2012ThemeDraw.cpp the
// drawing.
#pragma once

#include <memory>

#include "toolkit/themes/modernui/QVTCommandBarsModernUITheme.h"
#include "toolkit/themes/visualstudio/QVTCommandBarsColorSet.h"

class CQVTFrameThemeVisualStudio2012;

class CQVTCommandBarsVisualStudio2012Theme : public CQVTCommandBarsModernUITheme
{
    DECLARE_DYNAMIC(CQVTCommandBarsVisualStudio2012Theme)

public:
    // The theme id it was made for: 15 the dark look, any other the light.
    explicit CQVTCommandBarsVisualStudio2012Theme(int nStyle = qvtThemeVisualStudio2012);
    ~CQVTCommandBarsVisualStudio2012Theme() override;

    int GetThemeId() const override { return qvtThemeVisualStudio2012; }
    BOOL HasResourceLook() const override { return TRUE; }
    void RefreshMetrics() override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    void FillDockBar(CDC* pDC, CQVTDockBar* pDockBar) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override {}
    COLORREF GetControlEditBackColor(CQVTControl* pControl) override;
    BOOL DrawControlEntryHook(CDC* pDC, CQVTControl* pControl) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void DrawPopupCheckMark(CDC* pDC, CRect rc, CQVTControl* pControl) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                  BOOL bEnabled) override;
    void Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) override;
    void DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical) override;
    void DrawDropDownGlyph(CDC* pDC, CQVTControl* pControl, CPoint pt, BOOL bSelected, BOOL bPopuped,
                           BOOL bEnabled, BOOL bVertical) override;
    void DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText) override;
    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;

    virtual COLORREF GetControlGlyphColor(CQVTControl* pControl);
    // Vertical lines only: squares of one pixel every four (96 DPI).
    virtual void DrawDottedLine(CDC* pDC, int x, int y, int nEnd, COLORREF clr, BOOL bVertical);

    BOOL IsDark() const { return m_bDark; }
    CQVTCommandBarsColorSet* GetColorSet() const { return m_pColorSet.get(); }
    CQVTFrameThemeVisualStudio2012* GetFrameTheme() const;

protected:
    // The colour of a set entry.
    COLORREF Entry(int nIndex) const { return (*m_pColorSet)[nIndex].GetValue(); }
    // Frame (B, F): a one-pixel frame, the inside filled.
    void DrawFrameFill(CDC* pDC, CRect rc, COLORREF clrBorder, COLORREF clrFill);
    // Check frame (B, F): 2 px in, framed twice, the inside filled.
    void DrawCheckFrameFill(CDC* pDC, CRect rc, COLORREF clrBorder, COLORREF clrFill);
    // The first entry of the combo-box group of the control's state.
    int GetComboGroup(CQVTControl* pControl) const;

    BOOL m_bDark;                                          // fixed at construction
    std::unique_ptr<CQVTCommandBarsColorSet> m_pColorSet;  // owned
    CQVTControl* m_pGlyphControl = nullptr;                // whose glyph Triangle draws
};
