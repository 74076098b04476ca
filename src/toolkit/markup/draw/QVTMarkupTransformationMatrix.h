// The world transform an element was drawn under, kept for hit testing and
// repaint rectangles. The base is the identity (plain GDI draws untransformed);
// the GDI+ matrix maps the element's own coordinates to device pixels.
#pragma once

#include "toolkit/markup/draw/QVTGdiPlus.h"

class CQVTMarkupTransformationMatrix : public CObject
{
    DECLARE_DYNAMIC(CQVTMarkupTransformationMatrix)

public:
    CQVTMarkupTransformationMatrix() = default;
    ~CQVTMarkupTransformationMatrix() override = default;

    // A new copy, or null.
    virtual CQVTMarkupTransformationMatrix* Clone();
    // Moves the origin by the point, ahead of the present transform.
    virtual void Translate(POINT pt);
    // Whether ptTest lies in the rectangle's image, from which ptOffset is
    // subtracted; the identity tests the rectangle itself (right and bottom
    // edges excluded).
    virtual BOOL HitTest(const RECT& rc, POINT ptOffset, POINT ptTest);
    // The whole-pixel box round the rectangle's image, less ptOffset.
    virtual RECT GetBoundingRect(const RECT& rc, POINT ptOffset);
};

class CQVTMarkupGdiPlusTransformationMatrix : public CQVTMarkupTransformationMatrix
{
    DECLARE_DYNAMIC(CQVTMarkupGdiPlusTransformationMatrix)

public:
    // Takes over the matrix.
    explicit CQVTMarkupGdiPlusTransformationMatrix(Gdiplus::GpMatrix* pMatrix);

    CQVTMarkupTransformationMatrix* Clone() override;
    void Translate(POINT pt) override;
    // Inside one of the two triangles that cover the image, edges included.
    BOOL HitTest(const RECT& rc, POINT ptOffset, POINT ptTest) override;
    RECT GetBoundingRect(const RECT& rc, POINT ptOffset) override;

    Gdiplus::GpMatrix* GetMatrix() const { return m_matrix.Get(); }
    // Maps a point of device space back into the element's own coordinates;
    // FALSE when the matrix has no inverse (an element scaled to nothing).
    BOOL InverseTransform(Gdiplus::PointF& pt) const;

private:
    // The four corners' images, less the offset; FALSE when the matrix fails.
    BOOL TransformRectCorners(const RECT& rc, POINT ptOffset, Gdiplus::PointF corners[4]) const;

    QVTGdiPlus::CGpMatrix m_matrix;
};
