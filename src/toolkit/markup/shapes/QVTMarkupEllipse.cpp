#include "toolkit/markup/shapes/QVTMarkupEllipse.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupEllipse, CQVTMarkupShape, u"Ellipse", nullptr)

using namespace QVTMarkupAutomation;

SIZE CQVTMarkupEllipse::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    SIZE size = {0, 0};
    if (IsStretched())
    {
        if (IsBounded(szAvailable.cx))
            size.cx = szAvailable.cx;
        if (IsBounded(szAvailable.cy))
            size.cy = szAvailable.cy;
    }
    return size;
}

void CQVTMarkupEllipse::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    GetStroke(&stroke);
    CQVTMarkupBrush* pFill = GetFill();
    if (stroke.pBrush == nullptr && pFill == nullptr)
        return;
    CSmoothingScope smoothing(this, pDC);
    const SIZE size = GetRenderSize();
    pDC->DrawEllipse(RECT{0, 0, size.cx, size.cy}, &stroke, pFill);
}

CQVTMarkupInputElement* CQVTMarkupEllipse::InputHitTestCore(POINT pt)
{
    const SIZE size = GetRenderSize();
    const int a = size.cx / 2, b = size.cy / 2;
    // An ellipse a pixel thin is its rectangle: the half axis would be 0.
    if (a < 1 || b < 1)
        return this;
    const double dx = double(pt.x) - a, dy = double(pt.y) - b;
    return dx * dx / (double(a) * a) + dy * dy / (double(b) * b) <= 1.0 ? this : nullptr;
}
