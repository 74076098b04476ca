// The base of an element's render transforms (rotate, scale, skew and
// translate, each in a file of its own, written inside a "RenderTransform"
// holder). Each turns the drawing context's current matrix into the
// element's; rotation, scaling and skewing act about the centre point given
// in the element's own coordinates. They act only where drawing goes through
// GDI+: plain GDI has no world transform.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"
#include "toolkit/markup/draw/QVTGdiPlus.h"

class CQVTMarkupRenderTransform;
class CQVTMarkupTransformationMatrix;

class CQVTMarkupTransform : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupTransform)

public:
    CQVTMarkupTransform();

    // Any change relays out the element the holder belongs to.
    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;
    void SetOwnerObject(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOwner) override;
    // A new matrix, the current one with this transform applied first; null
    // for the plain classes and when the matrix operations fail.
    virtual CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent);

protected:
    // A double property, 0 when unset.
    double GetDouble(CQVTMarkupDependencyProperty* pProperty);
    // Registers a double property of a transform class with the given
    // scaling flags.
    static CQVTMarkupDependencyProperty* RegisterDoubleProperty(LPCWSTR lpszName, CQVTMarkupType* pOwner,
                                                                DWORD dwFlags);

private:
    CQVTMarkupObject* m_pOwner;  // the holder, not counted
};

// What the GDI+ transforms add: their operations on a GDI+ matrix.
class CQVTMarkupGdiPlusTransformObjectImpl
{
public:
    virtual ~CQVTMarkupGdiPlusTransformObjectImpl() = default;
    // Prepends this transform's operations; FALSE at the first that fails.
    virtual BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) = 0;

    // Clones the current GDI+ matrix and applies the transform to the copy.
    CQVTMarkupTransformationMatrix* CreateGdiPlusMatrix(CQVTMarkupTransformationMatrix* pCurrent);

protected:
    static float ToSingle(double dValue) { return static_cast<float>(dValue); }

    // Translate to the centre, the operation, translate back: every call
    // prepended, so the operation acts about the centre.
    template <class TOperation>
    static BOOL ApplyAboutCentre(Gdiplus::GpMatrix* pMatrix, double cx, double cy, TOperation operation)
    {
        return QVTGdiPlus::GdipTranslateMatrix(pMatrix, ToSingle(cx), ToSingle(cy),
                                               Gdiplus::MatrixOrderPrepend) == Gdiplus::Ok &&
               operation() == Gdiplus::Ok &&
               QVTGdiPlus::GdipTranslateMatrix(pMatrix, ToSingle(-cx), ToSingle(-cy),
                                               Gdiplus::MatrixOrderPrepend) == Gdiplus::Ok;
    }
};
