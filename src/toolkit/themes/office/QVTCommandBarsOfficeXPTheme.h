// The flat theme the application selects: face-coloured bars, framed
// highlight rectangles for hot, pressed and checked controls, a coloured
// icon column in menus, one-pixel separators and dotted grippers. The later
// flat themes derive from it.
#pragma once

#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CQVTCommandBarsOfficeXPTheme : public CQVTPaintManager
{
    DECLARE_DYNAMIC(CQVTCommandBarsOfficeXPTheme)

public:
    CQVTCommandBarsOfficeXPTheme();

    CSize DrawControlPopupParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    CSize DrawListBoxControl(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                             CQVTCommandBars* pCommandBars) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical) override;
    CSize DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CQVTImageManagerIcon* pImage, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int nShadowFlags) override;
    CSize DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                  BOOL bEnabled) override;
    CSize DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                     int nChecked, BOOL bEnabled) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override;
    int GetThemeId() const override { return qvtThemeOfficeXP; }
    CSize DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;

    virtual void DrawControlCheckFrame(CDC* pDC, CRect rc, CQVTControl* pControl);
    virtual void DrawPopupCheckMark(CDC* pDC, CRect rc, CQVTControl* pControl);
    virtual void DrawPopupSplitDivider(CDC* pDC, CQVTControl* pControl, COLORREF clrText);
    virtual void DrawControlPopupArrow(CDC* pDC, CQVTControl* pControl, COLORREF clrText);
    virtual void FillLabelBackground(CDC* pDC, CRect rc);

protected:
    // Opens a popup's border towards the item of a bar that dropped it.
    void DrawPopupJoin(CDC* pDC, CQVTCommandBar* pBar);
    // Fills with the second colour number, then frames with the first when
    // it differs; -1 skips either.
    void DrawBorderFill(CDC* pDC, const CRect& rc, int nBorder, int nFill);
    void DrawStrokes(CDC* pDC, BOOL bVertical, int nLength, int nFrom, int nTo, int nStart, int nEnd);
    // A check or radio mark: the system's button theme draws it where it
    // is used, else the theme's own flat mark below.
    CSize DrawBoxMark(CDC* pDC, const CRect& rc, BOOL bDraw, BOOL bRadio, BOOL bSelected, BOOL bPressed,
                      int nChecked, BOOL bEnabled);
    // The theme's own marks, where the system's button theme does not draw
    // them: rcMark is the mark's box at the top left of the control's.
    virtual void DrawFlatCheckBoxMark(CDC* pDC, const CRect& rcMark, BOOL bSelected, BOOL bPressed,
                                      int nChecked, BOOL bEnabled);
    virtual void DrawFlatRadioButtonMark(CDC* pDC, const CRect& rcMark, BOOL bSelected, BOOL bPressed,
                                         int nChecked, BOOL bEnabled);
    // A tick of one-pixel lines about the box's centre; nReach is how far
    // its long arm climbs, in pixels.
    static void DrawStrokedTick(CDC* pDC, const CRect& rc, COLORREF clr, int nReach);
};
