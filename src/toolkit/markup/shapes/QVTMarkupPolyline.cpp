#include "toolkit/markup/shapes/QVTMarkupPolyline.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupPolyline, CQVTMarkupShape, u"Polyline",
                      &CQVTMarkupPolyline::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupPolyline::m_pPointsProperty = nullptr;

using namespace QVTMarkupAutomation;

void AFX_CDECL CQVTMarkupPolyline::RegisterMarkupProperties()
{
    m_pPointsProperty = RegisterPointsProperty(GetMarkupType());
}

SIZE CQVTMarkupPolyline::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    return MeasurePoints(m_pPointsProperty, szAvailable, TRUE);
}

void CQVTMarkupPolyline::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    CQVTMarkupBrush* pFill = nullptr;
    std::vector<Gdiplus::PointF> points;
    if (!PreparePointFigure(m_pPointsProperty, stroke, pFill, points))
        return;
    CSmoothingScope smoothing(this, pDC);
    const int nCount = static_cast<int>(points.size());
    if (stroke.nThickness > 0)
        pDC->DrawPolyline(points.data(), nCount, &stroke);
    if (pFill != nullptr)
        pDC->DrawPolygon(points.data(), nCount, nullptr, pFill);
}
