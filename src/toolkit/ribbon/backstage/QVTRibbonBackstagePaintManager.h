// Draws the backstage view and gives its metrics. The themes supply the
// background and the entries; the key tips look alike in all of them.
#pragma once

#include <afxwin.h>

class CQVTControl;
class CQVTPaintManager;
class CQVTRibbonBackstageView;

class CQVTRibbonBackstagePaintManager
{
public:
    CQVTRibbonBackstagePaintManager();
    virtual ~CQVTRibbonBackstagePaintManager();

    virtual void FillBackstage(CDC* pDC, CQVTRibbonBackstageView* pView);
    virtual void DrawControl(CDC* pDC, CQVTRibbonBackstageView* pView, CQVTControl* pControl);
    virtual void DrawKeyTip(CDC* pDC, CQVTPaintManager* pPaintManager, CQVTControl* pControl);
    // Scaled to the screen.
    virtual int GetCommandHeight();
    virtual int GetTabHeight();
    virtual int GetMenuMargin();
    virtual int GetCommandGap();
    virtual int GetTabGap();
    virtual int GetTextIndent();
    virtual int GetImageGap();
    virtual int GetSeparatorHeight();

protected:
    // At 96 DPI.
    int m_nMenuMargin;
    int m_nCommandGap;
    int m_nCommandHeight;
    int m_nTabHeight;
    int m_nTabGap;
    int m_nTextIndent;
    int m_nImageGap;
    int m_nSeparatorHeight;
};
