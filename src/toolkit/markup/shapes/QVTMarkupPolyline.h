// An open figure through its Points.
#pragma once

#include "toolkit/markup/shapes/QVTMarkupShape.h"

class CQVTMarkupPolyline : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupPolyline)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    // The line first, then the fill over it as a closed figure.
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    static CQVTMarkupDependencyProperty* m_pPointsProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
