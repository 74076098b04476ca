// The backstage's paint managers: the resource theme draws the colour
// scheme's backstage images, the Office 2013 theme and its two kin fill
// flat colours from the image set's backstage section.
#pragma once

#include "toolkit/ribbon/backstage/QVTRibbonBackstagePaintManager.h"

class CQVTRibbonBackstageViewThemeResource : public CQVTRibbonBackstagePaintManager
{
public:
    CQVTRibbonBackstageViewThemeResource() = default;
    void FillBackstage(CDC* pDC, CQVTRibbonBackstageView* pView) override;
    void DrawControl(CDC* pDC, CQVTRibbonBackstageView* pView, CQVTControl* pControl) override;

protected:
    void DrawCommand(CDC* pDC, CQVTRibbonBackstageView* pView, CQVTControl* pControl);
    void DrawTab(CDC* pDC, CQVTRibbonBackstageView* pView, CQVTControl* pControl);
};

class CQVTRibbonBackstageViewThemeOffice2013 : public CQVTRibbonBackstagePaintManager
{
public:
    CQVTRibbonBackstageViewThemeOffice2013();
    void FillBackstage(CDC* pDC, CQVTRibbonBackstageView* pView) override;
    void DrawControl(CDC* pDC, CQVTRibbonBackstageView* pView, CQVTControl* pControl) override;

    COLORREF m_clrButtonBackNormal;
    COLORREF m_clrButtonBackSelected;     // the active tab
    COLORREF m_clrButtonBackHighlighted;  // hot, or focused
    COLORREF m_clrButtonTextNormal;
    COLORREF m_clrButtonTextDisabled;  // also the separator line
    COLORREF m_clrButtonTextSelected;
    COLORREF m_clrButtonTextHighlighted;

protected:
    // The six colours but the disabled text, again with other defaults.
    void ReadColors(COLORREF clrBackNormal, COLORREF clrBackSelected, COLORREF clrBackHighlighted,
                    COLORREF clrTextNormal, COLORREF clrTextSelected, COLORREF clrTextHighlighted);
};

class CQVTRibbonBackstageViewThemeVisualStudio2015 : public CQVTRibbonBackstageViewThemeOffice2013
{
public:
    CQVTRibbonBackstageViewThemeVisualStudio2015();
};

// The view gives it six colours derived from the ambient colour.
class CQVTRibbonBackstageViewThemeNativeWindows10 : public CQVTRibbonBackstageViewThemeOffice2013
{
public:
    CQVTRibbonBackstageViewThemeNativeWindows10();
};
