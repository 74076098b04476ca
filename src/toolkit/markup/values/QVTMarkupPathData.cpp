#include "toolkit/markup/values/QVTMarkupPathData.h"

#include <cmath>

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupPathDataParser.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupPathGeometryFigures, CQVTMarkupObject, u"Figures", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPathGeometry, CQVTMarkupObject, u"PathGeometry",
                      &CQVTMarkupPathGeometry::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPathData, CQVTMarkupObject, u"Data",
                      &CQVTMarkupPathData::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupPathGeometry::m_pFiguresProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupPathData::m_pPathGeometryProperty = nullptr;

namespace {
LONG SaturatedLong(double dValue)
{
    if (!(dValue > -2147483647.0))
        return -2147483647;
    if (dValue > 2147483647.0)
        return 2147483647;
    return static_cast<LONG>(dValue);
}
}  // namespace

void AFX_CDECL CQVTMarkupPathGeometry::RegisterMarkupProperties()
{
    CQVTMarkupPathGeometryFigures::EnsureMarkupClass();
    m_pFiguresProperty = CQVTMarkupDependencyProperty::Register(
        u"Figures", CQVTMarkupPathGeometryFigures::GetMarkupType(), GetMarkupType());
}

void CQVTMarkupPathGeometry::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupPathGeometryFigures* pFigures = MarkupCast<CQVTMarkupPathGeometryFigures>(pContent))
    {
        pFigures->InternalAddRef();
        SetValue(m_pFiguresProperty, pFigures);
        return;
    }
    CQVTMarkupObject::SetContentObject(pBuilder, pContent);
}

void AFX_CDECL CQVTMarkupPathData::RegisterMarkupProperties()
{
    CQVTMarkupPathGeometry::EnsureMarkupClass();
    m_pPathGeometryProperty = CQVTMarkupDependencyProperty::Register(
        u"PathGeometry", CQVTMarkupPathGeometry::GetMarkupType(), GetMarkupType());
}

CQVTMarkupPathData::CQVTMarkupPathData() : m_rcBounds{0, 0, 0, 0}, m_dwPixelOffsetMode(0) {}

CQVTMarkupPathData::CQVTMarkupPathData(const MARKUP_POINTF* pPoints, const BYTE* pTypes, int nCount)
    : m_rcBounds{0, 0, 0, 0}, m_dwPixelOffsetMode(0)
{
    if (pPoints != nullptr && pTypes != nullptr && nCount > 0)
    {
        m_arrPoints.assign(pPoints, pPoints + nCount);
        m_arrTypes.assign(pTypes, pTypes + nCount);
    }
    UpdateBounds();
}

CQVTMarkupObject* CQVTMarkupPathData::ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    CQVTMarkupPathDataParser parser(pBuilder, GetConversionContext(pBuilder), pString->GetText());
    parser.Parse();
    return parser.CreatePathData();
}

void CQVTMarkupPathData::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupPathGeometry* pGeometry = MarkupCast<CQVTMarkupPathGeometry>(pContent))
    {
        pGeometry->InternalAddRef();
        SetValue(m_pPathGeometryProperty, pGeometry);
        return;
    }
    CQVTMarkupObject::SetContentObject(pBuilder, pContent);
}

CQVTMarkupPathData* CQVTMarkupPathData::GetStretchedData(SIZE size) const
{
    std::vector<MARKUP_POINTF> points = m_arrPoints;
    const double dWidth = double(m_rcBounds.right) - m_rcBounds.left;
    const double dHeight = double(m_rcBounds.bottom) - m_rcBounds.top;
    for (MARKUP_POINTF& pt : points)
    {
        // A flat path (one straight line) keeps that axis: there is nothing
        // to divide by, and no point may be left unset.
        if (dWidth != 0.0)
            pt.x = CQVTMarkupPathDataParser::ClampCoordinate((pt.x - m_rcBounds.left) * size.cx / dWidth);
        if (dHeight != 0.0)
            pt.y = CQVTMarkupPathDataParser::ClampCoordinate((pt.y - m_rcBounds.top) * size.cy / dHeight);
    }
    CQVTMarkupPathData* pStretched =
        new CQVTMarkupPathData(points.data(), m_arrTypes.data(), static_cast<int>(points.size()));
    pStretched->m_dwPixelOffsetMode = m_dwPixelOffsetMode;
    return pStretched;
}

void CQVTMarkupPathData::UpdateBounds()
{
    if (m_arrPoints.empty())
    {
        ::SetRectEmpty(&m_rcBounds);
        return;
    }
    double dLeft = 2147483647.0, dTop = 2147483647.0, dRight = -2147483647.0, dBottom = -2147483647.0;
    for (const MARKUP_POINTF& pt : m_arrPoints)
    {
        dLeft = std::min<double>(dLeft, pt.x);
        dTop = std::min<double>(dTop, pt.y);
        dRight = std::max<double>(dRight, pt.x);
        dBottom = std::max<double>(dBottom, pt.y);
    }
    m_rcBounds = {SaturatedLong(std::floor(dLeft)), SaturatedLong(std::floor(dTop)),
                  SaturatedLong(std::ceil(dRight)), SaturatedLong(std::ceil(dBottom))};
}

void CQVTMarkupPathBuilder::MoveTo(float x, float y)
{
    const MARKUP_POINTF pt = {x, y};
    if (!m_arrTypes.empty() && (m_arrTypes.back() & QVT_PATH_TYPE_MASK) == QVT_PATH_START)
    {
        m_arrPoints.back() = pt;
        return;
    }
    m_arrPoints.push_back(pt);
    m_arrTypes.push_back(QVT_PATH_START);
}

void CQVTMarkupPathBuilder::LineTo(float x, float y)
{
    m_arrPoints.push_back(MARKUP_POINTF{x, y});
    m_arrTypes.push_back(QVT_PATH_LINE);
}

void CQVTMarkupPathBuilder::BezierTo(const MARKUP_POINTF& c1, const MARKUP_POINTF& c2,
                                     const MARKUP_POINTF& end)
{
    m_arrPoints.insert(m_arrPoints.end(), {c1, c2, end});
    m_arrTypes.insert(m_arrTypes.end(), 3, QVT_PATH_BEZIER);
}

void CQVTMarkupPathBuilder::CloseFigure()
{
    if (!m_arrTypes.empty())
        m_arrTypes.back() |= QVT_PATH_CLOSE;
}

CQVTMarkupPathData* CQVTMarkupPathBuilder::CreatePathData() const
{
    return new CQVTMarkupPathData(m_arrPoints.data(), m_arrTypes.data(),
                                  static_cast<int>(m_arrPoints.size()));
}
