// An ellipse filling its render size, hit only inside its outline.
#pragma once

#include "toolkit/markup/shapes/QVTMarkupShape.h"

class CQVTMarkupEllipse : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupEllipse)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    // Inside the inscribed ellipse.
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override;
};
