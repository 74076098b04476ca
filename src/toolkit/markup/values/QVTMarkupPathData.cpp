#include "toolkit/markup/values/QVTMarkupPathData.h"

#include <cmath>

// Filled when the path mini-language parser exists: the tag "Data", the text
// conversion of a "Data" attribute and the path geometry children. Until
// then paths are only made by code, and a "Data" text converts to no value.
IMPLEMENT_MARKUPCLASS(CQVTMarkupPathData, CQVTMarkupObject, nullptr, nullptr)

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
