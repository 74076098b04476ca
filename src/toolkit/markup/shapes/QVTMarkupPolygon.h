// A closed figure through its Points.
#pragma once

#include "toolkit/markup/shapes/QVTMarkupShape.h"

class CQVTMarkupPolygon : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupPolygon)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    static CQVTMarkupDependencyProperty* m_pPointsProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
