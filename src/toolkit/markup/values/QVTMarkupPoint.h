// Points and point lists of gradients, polylines and polygons.
#pragma once

#include <gdiplus.h>

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupPoint : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupPoint)

public:
    CQVTMarkupPoint() : x(0.0), y(0.0) {}
    CQVTMarkupPoint(double dx, double dy) : x(dx), y(dy) {}

    // "x,y", DPI-scaled by the property's flags.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

    double x;
    double y;
};

class CQVTMarkupPointCollection : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupPointCollection)

public:
    CQVTMarkupPointCollection();
    CQVTMarkupPointCollection(const Gdiplus::PointF* pPoints, int nCount);

    // Pairs "x,y x,y ...", each coordinate DPI-scaled.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

    const std::vector<Gdiplus::PointF>& GetPoints() const { return m_arrPoints; }
    const RECT& GetBounds() const { return m_rcBounds; }
    // The points stretched from the bounds onto a size; an axis without
    // extent stays as it is.
    void GetStretchedPoints(std::vector<Gdiplus::PointF>& points, SIZE size) const;

private:
    std::vector<Gdiplus::PointF> m_arrPoints;
    RECT m_rcBounds;
};
