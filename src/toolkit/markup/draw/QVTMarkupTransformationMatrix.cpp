#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CQVTMarkupTransformationMatrix, CObject)
IMPLEMENT_DYNAMIC(CQVTMarkupGdiPlusTransformationMatrix, CQVTMarkupTransformationMatrix)

namespace {
// Truncated toward zero; out-of-range and undefined values are pinned to the
// 32-bit range instead of wrapping (a scale of 1e30 gives huge corners).
LONG TruncateToLong(float fValue)
{
    if (std::isnan(fValue))
        return 0;
    if (fValue <= -2147483647.0f)
        return -2147483647;
    if (fValue >= 2147483647.0f)
        return 2147483647;
    return static_cast<LONG>(fValue);
}

double Cross(const Gdiplus::PointF& a, const Gdiplus::PointF& b, const Gdiplus::PointF& p)
{
    return double(b.X - a.X) * (p.Y - a.Y) - double(b.Y - a.Y) * (p.X - a.X);
}

// Edges count as inside. A triangle without area holds nothing: an element
// scaled to nothing on one axis is not hit everywhere.
bool InTriangle(const Gdiplus::PointF& a, const Gdiplus::PointF& b, const Gdiplus::PointF& c,
                const Gdiplus::PointF& p)
{
    const double dArea = Cross(a, b, c);
    if (dArea == 0.0 || !std::isfinite(dArea))
        return false;
    return Cross(a, b, p) * Cross(a, b, c) >= 0.0 && Cross(b, c, p) * Cross(b, c, a) >= 0.0 &&
           Cross(c, a, p) * Cross(c, a, b) >= 0.0;
}
}  // namespace

CQVTMarkupTransformationMatrix* CQVTMarkupTransformationMatrix::Clone()
{
    return new CQVTMarkupTransformationMatrix();
}

void CQVTMarkupTransformationMatrix::Translate(POINT) {}

BOOL CQVTMarkupTransformationMatrix::HitTest(const RECT& rc, POINT, POINT ptTest)
{
    return ::PtInRect(&rc, ptTest);
}

RECT CQVTMarkupTransformationMatrix::GetBoundingRect(const RECT& rc, POINT)
{
    return rc;
}

CQVTMarkupGdiPlusTransformationMatrix::CQVTMarkupGdiPlusTransformationMatrix(Gdiplus::GpMatrix* pMatrix)
    : m_matrix(pMatrix)
{
}

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusTransformationMatrix::Clone()
{
    QVTGdiPlus::CGpMatrix copy = QVTGdiPlus::CloneMatrix(m_matrix);
    if (!copy)
        return nullptr;
    return new CQVTMarkupGdiPlusTransformationMatrix(copy.Detach());
}

void CQVTMarkupGdiPlusTransformationMatrix::Translate(POINT pt)
{
    if (m_matrix)
        QVTGdiPlus::GdipTranslateMatrix(m_matrix, static_cast<float>(pt.x), static_cast<float>(pt.y),
                                        Gdiplus::MatrixOrderPrepend);
}

BOOL CQVTMarkupGdiPlusTransformationMatrix::TransformRectCorners(const RECT& rc, POINT ptOffset,
                                                                 Gdiplus::PointF corners[4]) const
{
    if (!m_matrix)
        return FALSE;
    corners[0] = Gdiplus::PointF(static_cast<float>(rc.left), static_cast<float>(rc.top));
    corners[1] = Gdiplus::PointF(static_cast<float>(rc.right), static_cast<float>(rc.top));
    corners[2] = Gdiplus::PointF(static_cast<float>(rc.right), static_cast<float>(rc.bottom));
    corners[3] = Gdiplus::PointF(static_cast<float>(rc.left), static_cast<float>(rc.bottom));
    if (QVTGdiPlus::GdipTransformMatrixPoints(m_matrix, corners, 4) != Gdiplus::Ok)
        return FALSE;
    for (int i = 0; i < 4; ++i)
    {
        corners[i].X -= static_cast<float>(ptOffset.x);
        corners[i].Y -= static_cast<float>(ptOffset.y);
    }
    return TRUE;
}

BOOL CQVTMarkupGdiPlusTransformationMatrix::HitTest(const RECT& rc, POINT ptOffset, POINT ptTest)
{
    Gdiplus::PointF corners[4];
    if (!TransformRectCorners(rc, ptOffset, corners))
        return FALSE;
    const Gdiplus::PointF pt(static_cast<float>(ptTest.x), static_cast<float>(ptTest.y));
    return InTriangle(corners[0], corners[1], corners[2], pt) ||
           InTriangle(corners[0], corners[2], corners[3], pt);
}

RECT CQVTMarkupGdiPlusTransformationMatrix::GetBoundingRect(const RECT& rc, POINT ptOffset)
{
    Gdiplus::PointF corners[4];
    if (!TransformRectCorners(rc, ptOffset, corners))
        return RECT{0, 0, 0, 0};
    RECT rcBounds = {TruncateToLong(corners[0].X), TruncateToLong(corners[0].Y), TruncateToLong(corners[0].X),
                     TruncateToLong(corners[0].Y)};
    for (int i = 1; i < 4; ++i)
    {
        const LONG x = TruncateToLong(corners[i].X), y = TruncateToLong(corners[i].Y);
        rcBounds.left = std::min(rcBounds.left, x);
        rcBounds.top = std::min(rcBounds.top, y);
        rcBounds.right = std::max(rcBounds.right, x);
        rcBounds.bottom = std::max(rcBounds.bottom, y);
    }
    return rcBounds;
}

BOOL CQVTMarkupGdiPlusTransformationMatrix::InverseTransform(Gdiplus::PointF& pt) const
{
    QVTGdiPlus::CGpMatrix inverse = QVTGdiPlus::CloneMatrix(m_matrix);
    if (!inverse || QVTGdiPlus::GdipInvertMatrix(inverse) != Gdiplus::Ok)
        return FALSE;
    return QVTGdiPlus::GdipTransformMatrixPoints(inverse, &pt, 1) == Gdiplus::Ok && std::isfinite(pt.X) &&
           std::isfinite(pt.Y);
}
