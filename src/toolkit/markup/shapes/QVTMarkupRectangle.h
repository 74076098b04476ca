// A rectangle, its corners optionally curved by RadiusX and RadiusY.
#pragma once

#include "toolkit/markup/shapes/QVTMarkupShape.h"

class CQVTMarkupRectangle : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupRectangle)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    static CQVTMarkupDependencyProperty* m_pRadiusXProperty;
    static CQVTMarkupDependencyProperty* m_pRadiusYProperty;

protected:
    long GetRadiusXProperty();
    void SetRadiusXProperty(long nValue);
    long GetRadiusYProperty();
    void SetRadiusYProperty(long nValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
