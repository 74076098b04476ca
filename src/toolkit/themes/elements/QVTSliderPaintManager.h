// Sliders are scroll bars to the paint managers: the base keeps the
// scroll-bar metrics but with slider-sized buttons and a fixed thumb; the
// Office 2007 look draws a channel with ticks, round minus and plus buttons
// and a pointed thumb.
#pragma once

#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

class CQVTPaintManager;

// The tick marks of a slider, answered by the slider's scroll base owner
// when it has any.
class IQVTSliderTicks
{
public:
    virtual ~IQVTSliderTicks() {}
    virtual int GetTickCount() const = 0;
    virtual int GetTick(int nIndex) const = 0;
};

class CQVTSliderPaintManager : public CQVTScrollBarPaintManager
{
    DECLARE_DYNAMIC(CQVTSliderPaintManager)

public:
    explicit CQVTSliderPaintManager(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;

    CQVTPaintManager* m_pPaintManager;
};

class CQVTSliderThemeOffice2007System : public CQVTSliderPaintManager
{
    DECLARE_DYNAMIC(CQVTSliderThemeOffice2007System)

public:
    explicit CQVTSliderThemeOffice2007System(CQVTPaintManager* pPaintManager);

    void DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar) override;

protected:
    void DrawTick(CDC* pDC, int x, int y);
    void DrawButton(CDC* pDC, const CRect& rcArrow, BOOL bHot, BOOL bPressed, BOOL bPlus);
    void DrawThumb(CDC* pDC, const CRect& rcThumb, BOOL bHot, BOOL bPressed);
};
