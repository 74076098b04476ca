#include "toolkit/markup/shapes/QVTMarkupPolygon.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupPolygon, CQVTMarkupShape, u"Polygon",
                      &CQVTMarkupPolygon::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupPolygon::m_pPointsProperty = nullptr;

using namespace QVTMarkupAutomation;

void AFX_CDECL CQVTMarkupPolygon::RegisterMarkupProperties()
{
    m_pPointsProperty = RegisterPointsProperty(GetMarkupType());
}

SIZE CQVTMarkupPolygon::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    return MeasurePoints(m_pPointsProperty, szAvailable, FALSE);
}

void CQVTMarkupPolygon::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    CQVTMarkupBrush* pFill = nullptr;
    std::vector<Gdiplus::PointF> points;
    if (!PreparePointFigure(m_pPointsProperty, stroke, pFill, points))
        return;
    CSmoothingScope smoothing(this, pDC);
    pDC->DrawPolygon(points.data(), static_cast<int>(points.size()), &stroke, pFill);
}
