#include "toolkit/markup/shapes/QVTMarkupShape.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupStretch.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupShape, CQVTMarkupFrameworkElement, u"Shape",
                      &CQVTMarkupShape::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupRectangle, CQVTMarkupShape, u"Rectangle",
                      &CQVTMarkupRectangle::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupEllipse, CQVTMarkupShape, u"Ellipse", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupLine, CQVTMarkupShape, u"Line", &CQVTMarkupLine::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPolyline, CQVTMarkupShape, u"Polyline",
                      &CQVTMarkupPolyline::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPolygon, CQVTMarkupShape, u"Polygon",
                      &CQVTMarkupPolygon::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPath, CQVTMarkupShape, u"Path", &CQVTMarkupPath::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pFillProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeThicknessProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeDashArrayProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeStartLineCapProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeEndLineCapProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeLineJoinProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStrokeMiterLimitProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pStretchProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupShape::m_pSmoothingModeProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRectangle::m_pRadiusXProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRectangle::m_pRadiusYProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pX1Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pY1Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pX2Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pY2Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupPolyline::m_pPointsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupPolygon::m_pPointsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupPath::m_pDataProperty = nullptr;

using namespace QVTMarkupAutomation;

namespace {
CQVTMarkupObject* AFX_CDECL ConvertLineCap(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                           CQVTMarkupDependencyProperty*)
{
    static const QVTMARKUPKEYWORD kCaps[] = {{u"Flat", 0}, {u"Square", 1}, {u"Round", 2}, {u"Triangle", 3}};
    return ConvertMarkupKeyword(pSource, kCaps);
}

CQVTMarkupObject* AFX_CDECL ConvertLineJoin(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                            CQVTMarkupDependencyProperty*)
{
    static const QVTMARKUPKEYWORD kJoins[] = {{u"Miter", 0}, {u"Bevel", 1}, {u"Round", 2}};
    return ConvertMarkupKeyword(pSource, kJoins);
}

CQVTMarkupObject* AFX_CDECL ConvertSmoothingMode(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                 CQVTMarkupDependencyProperty*)
{
    static const QVTMARKUPKEYWORD kModes[] = {
        {u"Default", 0}, {u"None", 1}, {u"HighSpeed", 2}, {u"HighQuality", 3}, {u"AntiAlias", 4}};
    return ConvertMarkupKeyword(pSource, kModes);
}

// A measured length from bounds that may span the whole 32-bit range.
int ClampLength(__int64 nValue)
{
    return static_cast<int>(std::clamp<__int64>(nValue, 0, QVT_MARKUP_UNBOUNDED));
}

BOOL IsBounded(int nSize)
{
    return nSize < QVT_MARKUP_UNBOUNDED_LIMIT;
}
}  // namespace

// Shape

BEGIN_DISPATCH_MAP(CQVTMarkupShape, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX(CQVTMarkupShape, "Fill", GetFillProperty, SetFillProperty, VT_DISPATCH)
    DISP_PROPERTY_EX(CQVTMarkupShape, "Stroke", GetStrokeProperty, SetStrokeProperty, VT_DISPATCH)
    DISP_PROPERTY_EX(CQVTMarkupShape, "StrokeThickness", GetStrokeThicknessProperty,
                     SetStrokeThicknessProperty, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupShape, "StrokeStartLineCap", GetStrokeStartLineCapProperty,
                     SetStrokeStartLineCapProperty, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupShape, "StrokeEndLineCap", GetStrokeEndLineCapProperty,
                     SetStrokeEndLineCapProperty, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupShape, "StrokeLineJoin", GetStrokeLineJoinProperty, SetStrokeLineJoinProperty,
                     VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupShape, "StrokeDashArray", GetStrokeDashArrayProperty,
                     SetStrokeDashArrayProperty, VT_DISPATCH)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupShape::RegisterMarkupProperties()
{
    CQVTMarkupBrush::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupDouble::EnsureMarkupClass();
    CQVTMarkupDoubleCollection::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pBrushType = CQVTMarkupBrush::GetMarkupType();
    CQVTMarkupType* pEnumType = CQVTMarkupEnum::GetMarkupType();
    m_pFillProperty = CQVTMarkupDependencyProperty::Register(
        u"Fill", pBrushType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
    m_pStrokeProperty = CQVTMarkupDependencyProperty::Register(
        u"Stroke", pBrushType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
    m_pStrokeThicknessProperty = CQVTMarkupDependencyProperty::Register(
        u"StrokeThickness", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupInt(1), QVT_MARKUP_AFFECTS_RENDER | QVT_MARKUP_SCALE_X));
    m_pStrokeDashArrayProperty = CQVTMarkupDependencyProperty::Register(
        u"StrokeDashArray", CQVTMarkupDoubleCollection::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
    m_pStrokeStartLineCapProperty = CQVTMarkupDependencyProperty::Register(
        u"StrokeStartLineCap", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(0), &ConvertLineCap, QVT_MARKUP_AFFECTS_RENDER));
    m_pStrokeEndLineCapProperty = CQVTMarkupDependencyProperty::Register(
        u"StrokeEndLineCap", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(0), &ConvertLineCap, QVT_MARKUP_AFFECTS_RENDER));
    m_pStrokeLineJoinProperty = CQVTMarkupDependencyProperty::Register(
        u"StrokeLineJoin", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(0), &ConvertLineJoin, QVT_MARKUP_AFFECTS_RENDER));
    m_pStrokeMiterLimitProperty = CQVTMarkupDependencyProperty::Register(
        u"StrokeMiterLimit", CQVTMarkupDouble::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
    m_pStretchProperty = CQVTMarkupDependencyProperty::Register(
        u"Stretch", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(qvtStretchNone), &ConvertMarkupStretch,
                                       QVT_MARKUP_AFFECTS_RENDER));
    m_pSmoothingModeProperty = CQVTMarkupDependencyProperty::Register(
        u"SmoothingMode", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupEnum(0), &ConvertSmoothingMode,
                                       QVT_MARKUP_AFFECTS_RENDER));
}

CQVTMarkupBrush* CQVTMarkupShape::GetFill()
{
    return MarkupCast<CQVTMarkupBrush>(GetValue(m_pFillProperty));
}

CQVTMarkupBrush* CQVTMarkupShape::GetStrokeBrush()
{
    return MarkupCast<CQVTMarkupBrush>(GetValue(m_pStrokeProperty));
}

int CQVTMarkupShape::GetStrokeThickness()
{
    return GetMarkupEnumValue(GetValue(m_pStrokeThicknessProperty), 1);
}

BOOL CQVTMarkupShape::IsStretched()
{
    return GetMarkupEnumValue(GetValue(m_pStretchProperty), qvtStretchNone) != qvtStretchNone;
}

void CQVTMarkupShape::GetStroke(CQVTMarkupStroke* pStroke)
{
    pStroke->pBrush = GetStrokeBrush();
    pStroke->nThickness = pStroke->pBrush != nullptr ? GetStrokeThickness() : 0;
    pStroke->pDashArray = MarkupCast<CQVTMarkupDoubleCollection>(GetValue(m_pStrokeDashArrayProperty));
    pStroke->nStartCap = GetMarkupEnumValue(GetValue(m_pStrokeStartLineCapProperty), 0);
    pStroke->nEndCap = GetMarkupEnumValue(GetValue(m_pStrokeEndLineCapProperty), 0);
    pStroke->nLineJoin = GetMarkupEnumValue(GetValue(m_pStrokeLineJoinProperty), 0);
}

SIZE CQVTMarkupShape::MeasureOverride(CQVTMarkupDrawingContext*, SIZE)
{
    return SIZE{0, 0};
}

SIZE CQVTMarkupShape::MeasureBounds(const RECT& rcBounds, SIZE szAvailable, BOOL bHalfStrokeWhenFlat)
{
    SIZE size = {ClampLength(std::max<__int64>(__int64(rcBounds.right) - rcBounds.left, rcBounds.right)),
                 ClampLength(std::max<__int64>(__int64(rcBounds.bottom) - rcBounds.top, rcBounds.bottom))};
    if (bHalfStrokeWhenFlat && GetStrokeBrush() != nullptr)
    {
        const int nHalf = static_cast<int>((__int64(GetStrokeThickness()) + 1) / 2);
        if (size.cx == 0)
            size.cx = nHalf;
        if (size.cy == 0)
            size.cy = nHalf;
    }
    if (IsStretched())
    {
        if (IsBounded(szAvailable.cx))
            size.cx = szAvailable.cx;
        if (IsBounded(szAvailable.cy))
            size.cy = szAvailable.cy;
    }
    return size;
}

BOOL CQVTMarkupShape::GetDrawnPoints(CQVTMarkupDependencyProperty* pProperty,
                                     std::vector<Gdiplus::PointF>& points)
{
    CQVTMarkupPointCollection* pPoints = MarkupCast<CQVTMarkupPointCollection>(GetValue(pProperty));
    if (pPoints == nullptr || pPoints->GetPoints().empty())
        return FALSE;
    if (IsStretched())
        pPoints->GetStretchedPoints(points, GetRenderSize());
    else
        points = pPoints->GetPoints();
    return TRUE;
}

CQVTMarkupDependencyProperty* CQVTMarkupShape::RegisterPointsProperty(CQVTMarkupType* pOwnerType)
{
    CQVTMarkupPointCollection::EnsureMarkupClass();
    return CQVTMarkupDependencyProperty::Register(
        u"Points", CQVTMarkupPointCollection::GetMarkupType(), pOwnerType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
}

SIZE CQVTMarkupShape::MeasurePoints(CQVTMarkupDependencyProperty* pProperty, SIZE szAvailable,
                                    BOOL bHalfStrokeWhenFlat)
{
    CQVTMarkupPointCollection* pPoints = MarkupCast<CQVTMarkupPointCollection>(GetValue(pProperty));
    if (pPoints == nullptr || pPoints->GetPoints().empty())
        return SIZE{0, 0};
    return MeasureBounds(pPoints->GetBounds(), szAvailable, bHalfStrokeWhenFlat);
}

BOOL CQVTMarkupShape::PreparePointFigure(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupStroke& stroke,
                                         CQVTMarkupBrush*& pFill, std::vector<Gdiplus::PointF>& points)
{
    GetStroke(&stroke);
    pFill = GetFill();
    return (stroke.pBrush != nullptr || pFill != nullptr) && GetDrawnPoints(pProperty, points);
}

CQVTMarkupShape::CSmoothingScope::CSmoothingScope(CQVTMarkupShape* pShape, CQVTMarkupDrawingContext* pDC)
    : m_pDC(pDC),
      m_nPrevious(pDC->SetSmoothingMode(GetMarkupEnumValue(pShape->GetValue(m_pSmoothingModeProperty), 0)))
{
}

CQVTMarkupShape::CSmoothingScope::~CSmoothingScope()
{
    m_pDC->SetSmoothingMode(m_nPrevious);
}

LPDISPATCH CQVTMarkupShape::GetFillProperty()
{
    return GetObjectValue(this, m_pFillProperty);
}

void CQVTMarkupShape::SetFillProperty(LPDISPATCH pDispatch)
{
    SetObjectValue(this, m_pFillProperty, pDispatch);
}

LPDISPATCH CQVTMarkupShape::GetStrokeProperty()
{
    return GetObjectValue(this, m_pStrokeProperty);
}

void CQVTMarkupShape::SetStrokeProperty(LPDISPATCH pDispatch)
{
    SetObjectValue(this, m_pStrokeProperty, pDispatch);
}

long CQVTMarkupShape::GetStrokeThicknessProperty()
{
    return GetStrokeThickness();
}

void CQVTMarkupShape::SetStrokeThicknessProperty(long nValue)
{
    SetInt(this, m_pStrokeThicknessProperty, nValue);
}

long CQVTMarkupShape::GetStrokeStartLineCapProperty()
{
    return GetInt(this, m_pStrokeStartLineCapProperty, 0);
}

void CQVTMarkupShape::SetStrokeStartLineCapProperty(long nValue)
{
    SetEnum(this, m_pStrokeStartLineCapProperty, nValue);
}

long CQVTMarkupShape::GetStrokeEndLineCapProperty()
{
    return GetInt(this, m_pStrokeEndLineCapProperty, 0);
}

void CQVTMarkupShape::SetStrokeEndLineCapProperty(long nValue)
{
    SetEnum(this, m_pStrokeEndLineCapProperty, nValue);
}

long CQVTMarkupShape::GetStrokeLineJoinProperty()
{
    return GetInt(this, m_pStrokeLineJoinProperty, 0);
}

void CQVTMarkupShape::SetStrokeLineJoinProperty(long nValue)
{
    SetEnum(this, m_pStrokeLineJoinProperty, nValue);
}

LPDISPATCH CQVTMarkupShape::GetStrokeDashArrayProperty()
{
    return GetObjectValue(this, m_pStrokeDashArrayProperty);
}

void CQVTMarkupShape::SetStrokeDashArrayProperty(LPDISPATCH pDispatch)
{
    SetObjectValue(this, m_pStrokeDashArrayProperty, pDispatch);
}

// Rectangle

BEGIN_DISPATCH_MAP(CQVTMarkupRectangle, CQVTMarkupShape)
    DISP_PROPERTY_EX(CQVTMarkupRectangle, "RadiusX", GetRadiusXProperty, SetRadiusXProperty, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupRectangle, "RadiusY", GetRadiusYProperty, SetRadiusYProperty, VT_I4)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupRectangle::RegisterMarkupProperties()
{
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    m_pRadiusXProperty = CQVTMarkupDependencyProperty::Register(
        u"RadiusX", pIntType, GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER | QVT_MARKUP_SCALE_X));
    m_pRadiusYProperty = CQVTMarkupDependencyProperty::Register(
        u"RadiusY", pIntType, GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER | QVT_MARKUP_SCALE_Y));
}

SIZE CQVTMarkupRectangle::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
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

void CQVTMarkupRectangle::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    GetStroke(&stroke);
    CQVTMarkupBrush* pFill = GetFill();
    const SIZE size = GetRenderSize();
    if ((stroke.pBrush == nullptr && pFill == nullptr) || size.cx == 0 || size.cy == 0)
        return;
    CSmoothingScope smoothing(this, pDC);
    const int t = stroke.nThickness;
    const double rx =
        std::min((double(size.cx) - t) * 0.5, double(GetMarkupEnumValue(GetValue(m_pRadiusXProperty), 0)));
    const double ry =
        std::min((double(size.cy) - t) * 0.5, double(GetMarkupEnumValue(GetValue(m_pRadiusYProperty), 0)));
    CQVTMarkupCornerRadius radius;
    const CQVTMarkupCornerRadius* pRadius = nullptr;
    if (rx > 0 && ry > 0)
    {
        radius.r[0] = radius.r[3] = radius.r[4] = radius.r[7] = ry;
        radius.r[1] = radius.r[2] = radius.r[5] = radius.r[6] = rx;
        pRadius = &radius;
    }
    if (pFill != nullptr)
    {
        const int nInset = t / 2;
        pDC->FillRectangle(RECT{nInset, nInset, size.cx - nInset, size.cy - nInset}, pFill, pRadius);
    }
    if (t > 0)
    {
        CQVTMarkupAutoPtr thickness(new CQVTMarkupThickness(t, t, t, t));
        pDC->DrawRectangle(RECT{0, 0, size.cx, size.cy}, stroke.pBrush,
                           static_cast<CQVTMarkupThickness*>(thickness.Get()), pRadius);
    }
}

long CQVTMarkupRectangle::GetRadiusXProperty()
{
    return GetInt(this, m_pRadiusXProperty, 0);
}

void CQVTMarkupRectangle::SetRadiusXProperty(long nValue)
{
    SetInt(this, m_pRadiusXProperty, nValue);
}

long CQVTMarkupRectangle::GetRadiusYProperty()
{
    return GetInt(this, m_pRadiusYProperty, 0);
}

void CQVTMarkupRectangle::SetRadiusYProperty(long nValue)
{
    SetInt(this, m_pRadiusYProperty, nValue);
}

// Ellipse

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

// Line

BEGIN_DISPATCH_MAP(CQVTMarkupLine, CQVTMarkupShape)
    DISP_PROPERTY_EX(CQVTMarkupLine, "X1", GetX1Property, SetX1Property, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupLine, "X2", GetX2Property, SetX2Property, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupLine, "Y1", GetY1Property, SetY1Property, VT_I4)
    DISP_PROPERTY_EX(CQVTMarkupLine, "Y2", GetY2Property, SetY2Property, VT_I4)
END_DISPATCH_MAP()

void AFX_CDECL CQVTMarkupLine::RegisterMarkupProperties()
{
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    CQVTMarkupType* pType = GetMarkupType();
    const DWORD dwX = QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_X;
    const DWORD dwY = QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_Y;
    m_pX1Property = CQVTMarkupDependencyProperty::Register(u"X1", pIntType, pType,
                                                           new CQVTMarkupPropertyMetadata(nullptr, dwX));
    m_pY1Property = CQVTMarkupDependencyProperty::Register(u"Y1", pIntType, pType,
                                                           new CQVTMarkupPropertyMetadata(nullptr, dwY));
    m_pX2Property = CQVTMarkupDependencyProperty::Register(u"X2", pIntType, pType,
                                                           new CQVTMarkupPropertyMetadata(nullptr, dwX));
    m_pY2Property = CQVTMarkupDependencyProperty::Register(u"Y2", pIntType, pType,
                                                           new CQVTMarkupPropertyMetadata(nullptr, dwY));
}

SIZE CQVTMarkupLine::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    const int x1 = GetInt(this, m_pX1Property, 0), y1 = GetInt(this, m_pY1Property, 0);
    const int x2 = GetInt(this, m_pX2Property, 0), y2 = GetInt(this, m_pY2Property, 0);
    SIZE size = {std::max(x1, x2), std::max(y1, y2)};
    if ((x1 == x2 || y1 == y2) && GetStrokeBrush() != nullptr)
    {
        const int nHalf = static_cast<int>((__int64(GetStrokeThickness()) + 1) / 2);
        if (x1 == x2)
            size.cx = ClampLength(__int64(size.cx) + nHalf);
        if (y1 == y2)
            size.cy = ClampLength(__int64(size.cy) + nHalf);
    }
    if (IsStretched())
    {
        if (IsBounded(szAvailable.cx))
            size.cx = szAvailable.cx;
        if (IsBounded(szAvailable.cy))
            size.cy = szAvailable.cy;
    }
    return size;
}

void CQVTMarkupLine::GetLinePoints(int& x1, int& y1, int& x2, int& y2)
{
    x1 = GetInt(this, m_pX1Property, 0);
    y1 = GetInt(this, m_pY1Property, 0);
    x2 = GetInt(this, m_pX2Property, 0);
    y2 = GetInt(this, m_pY2Property, 0);
    if (!IsStretched())
        return;
    const SIZE size = GetRenderSize();
    if (x1 > x2)
        x1 = size.cx, x2 = 0;
    else if (x1 < x2)
        x1 = 0, x2 = size.cx;
    else
        x1 = x2 = size.cx / 2;
    if (y1 > y2)
        y1 = size.cy, y2 = 0;
    else if (y1 < y2)
        y1 = 0, y2 = size.cy;
    else
        y1 = y2 = size.cy / 2;
}

void CQVTMarkupLine::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    GetStroke(&stroke);
    if (stroke.nThickness < 1)
        return;
    int x1, y1, x2, y2;
    GetLinePoints(x1, y1, x2, y2);
    if (x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0)
        return;
    CSmoothingScope smoothing(this, pDC);
    pDC->DrawLine(x1, y1, x2, y2, &stroke);
}

CQVTMarkupInputElement* CQVTMarkupLine::InputHitTestCore(POINT pt)
{
    if (GetStrokeBrush() == nullptr || GetStrokeThickness() == 0)
        return nullptr;
    const double dHalf = GetStrokeThickness() * 0.5;
    int x1, y1, x2, y2;
    GetLinePoints(x1, y1, x2, y2);
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    const double px = double(pt.x) - x1, py = double(pt.y) - y1;
    if (std::min(dx, 0.0) > px + dHalf || px - dHalf > std::max(dx, 0.0) || std::min(dy, 0.0) > py + dHalf ||
        py - dHalf > std::max(dy, 0.0))
        return nullptr;
    if (dx == 0.0)
        return std::fabs(px) <= dHalf ? this : nullptr;
    return std::fabs(px * dy / dx - py) <= std::fabs(dHalf / std::cos(std::atan(dy / dx))) ? this : nullptr;
}

long CQVTMarkupLine::GetX1Property()
{
    return GetInt(this, m_pX1Property, 0);
}

void CQVTMarkupLine::SetX1Property(long nValue)
{
    SetInt(this, m_pX1Property, nValue);
}

long CQVTMarkupLine::GetY1Property()
{
    return GetInt(this, m_pY1Property, 0);
}

void CQVTMarkupLine::SetY1Property(long nValue)
{
    SetInt(this, m_pY1Property, nValue);
}

long CQVTMarkupLine::GetX2Property()
{
    return GetInt(this, m_pX2Property, 0);
}

void CQVTMarkupLine::SetX2Property(long nValue)
{
    SetInt(this, m_pX2Property, nValue);
}

long CQVTMarkupLine::GetY2Property()
{
    return GetInt(this, m_pY2Property, 0);
}

void CQVTMarkupLine::SetY2Property(long nValue)
{
    SetInt(this, m_pY2Property, nValue);
}

// Polyline and polygon

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

// Path

void AFX_CDECL CQVTMarkupPath::RegisterMarkupProperties()
{
    CQVTMarkupPathData::EnsureMarkupClass();
    m_pDataProperty = CQVTMarkupDependencyProperty::Register(
        u"Data", CQVTMarkupPathData::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
}

void CQVTMarkupPath::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupPathData* pData = MarkupCast<CQVTMarkupPathData>(pContent))
    {
        pData->InternalAddRef();
        SetValue(m_pDataProperty, pData);
        return;
    }
    CQVTMarkupShape::SetContentObject(pBuilder, pContent);
}

CQVTMarkupPathData* CQVTMarkupPath::GetData()
{
    return MarkupCast<CQVTMarkupPathData>(GetValue(m_pDataProperty));
}

SIZE CQVTMarkupPath::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    CQVTMarkupPathData* pData = GetData();
    if (pData == nullptr || pData->GetCount() == 0)
        return SIZE{0, 0};
    return MeasureBounds(pData->GetBounds(), szAvailable, FALSE);
}

void CQVTMarkupPath::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    GetStroke(&stroke);
    CQVTMarkupBrush* pFill = GetFill();
    CQVTMarkupPathData* pData = GetData();
    if ((stroke.pBrush == nullptr && pFill == nullptr) || pData == nullptr)
        return;
    if (!IsStretched())
    {
        pDC->DrawPath(pData, &stroke, pFill);
        return;
    }
    CQVTMarkupAutoPtr stretched(pData->GetStretchedData(GetRenderSize()));
    pDC->DrawPath(static_cast<CQVTMarkupPathData*>(stretched.Get()), &stroke, pFill);
}
