#include "toolkit/markup/shapes/QVTMarkupShape.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupStretch.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupShape, CQVTMarkupFrameworkElement, u"Shape",
                      &CQVTMarkupShape::RegisterMarkupProperties)

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
}  // namespace

int CQVTMarkupShape::ClampLength(__int64 nValue)
{
    return static_cast<int>(std::clamp<__int64>(nValue, 0, QVT_MARKUP_UNBOUNDED));
}

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
