// The markup classes of shapes, paths, transforms, images and controls,
// named once: MarkupEnsureAllClasses calls this, which links their
// registrations in and registers them.
#include "toolkit/markup/controls/QVTMarkupButton.h"
#include "toolkit/markup/controls/QVTMarkupScrollBar.h"
#include "toolkit/markup/controls/QVTMarkupScrollViewer.h"
#include "toolkit/markup/controls/QVTMarkupToggleButton.h"
#include "toolkit/markup/image/QVTMarkupImage.h"
#include "toolkit/markup/panels/QVTMarkupViewbox.h"
#include "toolkit/markup/shapes/QVTMarkupEllipse.h"
#include "toolkit/markup/shapes/QVTMarkupLine.h"
#include "toolkit/markup/shapes/QVTMarkupPath.h"
#include "toolkit/markup/shapes/QVTMarkupPolygon.h"
#include "toolkit/markup/shapes/QVTMarkupPolyline.h"
#include "toolkit/markup/shapes/QVTMarkupRectangle.h"
#include "toolkit/markup/transforms/QVTMarkupRenderTransform.h"
#include "toolkit/markup/transforms/QVTMarkupRotateTransform.h"
#include "toolkit/markup/transforms/QVTMarkupScaleTransform.h"
#include "toolkit/markup/transforms/QVTMarkupSkewTransform.h"
#include "toolkit/markup/transforms/QVTMarkupTranslateTransform.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"

void AFXAPI MarkupEnsureGraphicsClasses()
{
    static void(AFX_CDECL* const kEnsure[])() = {
        &CQVTMarkupPathGeometryFigures::EnsureMarkupClass,
        &CQVTMarkupPathGeometry::EnsureMarkupClass,
        &CQVTMarkupShape::EnsureMarkupClass,
        &CQVTMarkupRectangle::EnsureMarkupClass,
        &CQVTMarkupEllipse::EnsureMarkupClass,
        &CQVTMarkupLine::EnsureMarkupClass,
        &CQVTMarkupPolyline::EnsureMarkupClass,
        &CQVTMarkupPolygon::EnsureMarkupClass,
        &CQVTMarkupPath::EnsureMarkupClass,
        &CQVTMarkupTransform::EnsureMarkupClass,
        &CQVTMarkupRotateTransform::EnsureMarkupClass,
        &CQVTMarkupScaleTransform::EnsureMarkupClass,
        &CQVTMarkupSkewTransform::EnsureMarkupClass,
        &CQVTMarkupTranslateTransform::EnsureMarkupClass,
        &CQVTMarkupGdiPlusRotateTransform::EnsureMarkupClass,
        &CQVTMarkupGdiPlusScaleTransform::EnsureMarkupClass,
        &CQVTMarkupGdiPlusSkewTransform::EnsureMarkupClass,
        &CQVTMarkupGdiPlusTranslateTransform::EnsureMarkupClass,
        &CQVTMarkupRenderTransform::EnsureMarkupClass,
        &CQVTMarkupViewbox::EnsureMarkupClass,
        &CQVTMarkupPage::EnsureMarkupClass,
        &CQVTMarkupWindowContainer::EnsureMarkupClass,
        &CQVTMarkupImage::EnsureMarkupClass,
        &CQVTMarkupButtonBase::EnsureMarkupClass,
        &CQVTMarkupButton::EnsureMarkupClass,
        &CQVTMarkupToggleButton::EnsureMarkupClass,
        &CQVTMarkupCheckBox::EnsureMarkupClass,
        &CQVTMarkupRadioButton::EnsureMarkupClass,
        &CQVTMarkupScrollBar::EnsureMarkupClass,
        &CQVTMarkupScrollBarGripper::EnsureMarkupClass,
        &CQVTMarkupScrollViewer::EnsureMarkupClass,
    };
    for (auto pfnEnsure : kEnsure)
        pfnEnsure();
}
