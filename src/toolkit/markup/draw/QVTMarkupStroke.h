// The two records drawing operations take: the stroke of an outline, and the
// radii of a rounded rectangle's corners.
#pragma once

#include <afxwin.h>

class CQVTMarkupBrush;
class CQVTMarkupDoubleCollection;

struct CQVTMarkupStroke
{
    int nThickness = 0;                                // device units; below 1 draws nothing
    CQVTMarkupBrush* pBrush = nullptr;                 // not counted; null draws no outline
    CQVTMarkupDoubleCollection* pDashArray = nullptr;  // not counted, or null
    int nStartCap = 0;                                 // line caps and join; 0 keeps the pen's default
    int nEndCap = 0;
    int nLineJoin = 0;
};

// Eight radii met going clockwise from the top of the left edge: top-left
// along the left edge, top-left along the top edge, top-right along the top
// edge, top-right along the right edge, bottom-right along the right edge,
// bottom-right along the bottom edge, bottom-left along the bottom edge,
// bottom-left along the left edge. A null record means square corners.
struct CQVTMarkupCornerRadius
{
    double r[8] = {};

    // Each corner with one radius for both of its places.
    static CQVTMarkupCornerRadius AFX_CDECL FromCorners(double dTopLeft, double dTopRight,
                                                        double dBottomRight, double dBottomLeft)
    {
        CQVTMarkupCornerRadius radius;
        radius.r[0] = radius.r[1] = dTopLeft;
        radius.r[2] = radius.r[3] = dTopRight;
        radius.r[4] = radius.r[5] = dBottomRight;
        radius.r[6] = radius.r[7] = dBottomLeft;
        return radius;
    }
};
