// The default theme: the classic 3-D look, raised and sunken edges in the
// button-face colours and highlighted menu items.
#pragma once

#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CQVTCommandBarsOffice2000Theme : public CQVTPaintManager
{
    DECLARE_DYNAMIC(CQVTCommandBarsOffice2000Theme)

public:
    CQVTCommandBarsOffice2000Theme();

    CSize DrawControlPopupParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    CSize DrawListBoxControl(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                             CQVTCommandBars* pCommandBars) override;
    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CQVTImageManagerIcon* pImage, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int nShadowFlags) override;
    void DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags) override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical) override;
    void RefreshMetrics() override;
    CRect GetScaledMargins(CQVTCommandBar* pBar) override;
    CSize DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw) override;
    CSize DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize GetPopupBarButtonSize(CQVTCommandBar* pBar) override;
    int GetThemeId() const override { return qvtThemeOffice2000; }
    CSize DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;

    // The field parts of edits and combo boxes.
    virtual void DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected);
    virtual void DrawComboDropDownButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPopuped);
    virtual void DrawEditSpinButtons(CDC* pDC, CQVTControlEdit* pEdit);

protected:
    void DrawRaisedEdge(CDC* pDC, const CRect& rc) { Draw3dRect(pDC, rc, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW); }
    void DrawSunkenEdge(CDC* pDC, const CRect& rc) { Draw3dRect(pDC, rc, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT); }

    int m_nPopupBarText;  // colour number of popup captions
};
