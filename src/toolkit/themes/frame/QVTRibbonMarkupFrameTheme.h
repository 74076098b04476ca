// A frame whose borders and caption are drawn from markup parts: the base
// of the system frame and of the flat frames.
#pragma once

#include "toolkit/themes/frame/QVTFramePaintManager.h"

class CQVTMarkupThemePart;

class CQVTRibbonMarkupFrameTheme : public CQVTFramePaintManager
{
    DECLARE_DYNAMIC(CQVTRibbonMarkupFrameTheme)

public:
    // The border parts GetFramePart hands out.
    enum FramePart
    {
        framePartTop = 0,
        framePartLeft = 1,
        framePartLeftCaption = 2,
        framePartRight = 3,
        framePartRightCaption = 4,
        framePartBottom = 5
    };

    explicit CQVTRibbonMarkupFrameTheme(CQVTPaintManager* pPaintManager);

    void DrawFrame(CDC* pDC, IQVTFrameHook* pFrameHook) override;
    virtual void DrawFrameBorders(CDC* pDC, IQVTFrameHook* pFrameHook);
    // The part for that border, or null when the theme has none.
    virtual CQVTMarkupThemePart* GetFramePart(int nPart, BOOL bActive) = 0;

    // Whether the resource images' [Theme] "Compatibility" suits the owner's
    // theme: a set made for another look draws nothing.
    BOOL IsCompatibleStyle() const;
};
