#include "toolkit/markup/values/QVTMarkupPoint.h"

#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupPoint, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPointCollection, CQVTMarkupObject, nullptr, nullptr)

CQVTMarkupObject* CQVTMarkupPoint::ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    LPCWSTR lpszText = pString->GetText();
    LPCWSTR lpszComma = _tcschr(lpszText, u',');
    if (lpszComma == nullptr)
        return nullptr;
    CString strX(lpszText, static_cast<int>(lpszComma - lpszText));
    double dx = 0.0, dy = 0.0;
    if (!CQVTMarkupBuilder::ReadNumber(strX, dx) || !CQVTMarkupBuilder::ReadNumber(lpszComma + 1, dy))
        return nullptr;
    CQVTMarkupContext* pContext = GetConversionContext(pBuilder);
    const DWORD dwFlags = GetAssociatedProperty() != nullptr ? GetAssociatedProperty()->GetFlags() : 0;
    if (pContext != nullptr && (dwFlags & QVT_MARKUP_SCALE_X))
        dx = pContext->ScaleXDouble(dx);
    if (pContext != nullptr && (dwFlags & QVT_MARKUP_SCALE_Y))
        dy = pContext->ScaleYDouble(dy);
    return new CQVTMarkupPoint(dx, dy);
}

CQVTMarkupPointCollection::CQVTMarkupPointCollection() : m_rcBounds{0, 0, 0, 0} {}

CQVTMarkupPointCollection::CQVTMarkupPointCollection(const Gdiplus::PointF* pPoints, int nCount)
    : m_rcBounds{0, 0, 0, 0}
{
    if (pPoints == nullptr || nCount <= 0)
        return;
    m_arrPoints.assign(pPoints, pPoints + nCount);
    float fLeft = pPoints[0].X, fTop = pPoints[0].Y, fRight = pPoints[0].X, fBottom = pPoints[0].Y;
    for (int i = 1; i < nCount; ++i)
    {
        fLeft = std::min(fLeft, pPoints[i].X);
        fTop = std::min(fTop, pPoints[i].Y);
        fRight = std::max(fRight, pPoints[i].X);
        fBottom = std::max(fBottom, pPoints[i].Y);
    }
    m_rcBounds = {RoundToInt(fLeft), RoundToInt(fTop), RoundToInt(fRight), RoundToInt(fBottom)};
}

namespace {
// One coordinate of a point list: spaces, an optional '-', digits with at
// most one '.'; one space or comma after it is consumed.
BOOL ReadPointNumber(LPCWSTR& p, float& fValue)
{
    while (*p == u' ')
        ++p;
    bool bNegative = false;
    if (*p == u'-')
    {
        bNegative = true;
        ++p;
    }
    double dValue = 0.0, dScale = 0.0;
    bool bAny = false, bPoint = false;
    for (; *p != 0 && *p != u' ' && *p != u','; ++p)
    {
        if (*p == u'.')
        {
            if (bPoint)
                return FALSE;
            bPoint = true;
            dScale = 0.1;
        }
        else if (*p >= u'0' && *p <= u'9')
        {
            bAny = true;
            if (!bPoint)
                dValue = dValue * 10 + (*p - u'0');
            else
            {
                dValue += (*p - u'0') * dScale;
                dScale /= 10;
            }
        }
        else
        {
            return FALSE;
        }
    }
    if (!bAny)
        return FALSE;
    if (*p == u' ' || *p == u',')
        ++p;
    fValue = static_cast<float>(bNegative ? -dValue : dValue);
    return TRUE;
}
}  // namespace

CQVTMarkupObject* CQVTMarkupPointCollection::ConvertFrom(CQVTMarkupBuilder* pBuilder,
                                                         CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    CQVTMarkupContext* pContext = GetConversionContext(pBuilder);
    std::vector<Gdiplus::PointF> points;
    LPCWSTR p = pString->GetText();
    while (*p != 0)
    {
        float x = 0, y = 0;
        if (!ReadPointNumber(p, x) || !ReadPointNumber(p, y))
            return nullptr;
        while (*p == u' ')
            ++p;
        if (pContext != nullptr)
        {
            x = pContext->ScaleXFloat(x);
            y = pContext->ScaleYFloat(y);
        }
        points.push_back(Gdiplus::PointF(x, y));
    }
    return new CQVTMarkupPointCollection(points.data(), static_cast<int>(points.size()));
}

void CQVTMarkupPointCollection::GetStretchedPoints(std::vector<Gdiplus::PointF>& points, SIZE size) const
{
    points = m_arrPoints;
    const int nWidth = m_rcBounds.right - m_rcBounds.left, nHeight = m_rcBounds.bottom - m_rcBounds.top;
    if (nWidth == 0 && nHeight == 0)
        return;
    for (Gdiplus::PointF& pt : points)
    {
        if (nWidth != 0)
            pt.X = (pt.X - m_rcBounds.left) * size.cx / nWidth;
        if (nHeight != 0)
            pt.Y = (pt.Y - m_rcBounds.top) * size.cy / nHeight;
    }
}
