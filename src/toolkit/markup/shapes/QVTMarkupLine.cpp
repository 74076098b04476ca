#include "toolkit/markup/shapes/QVTMarkupLine.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupLine, CQVTMarkupShape, u"Line", &CQVTMarkupLine::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pX1Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pY1Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pX2Property = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupLine::m_pY2Property = nullptr;

using namespace QVTMarkupAutomation;

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
