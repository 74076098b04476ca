// The rotation about a centre point of an element's render transform: the markup class
// that holds its properties and, in the same file, the GDI+ class the markup
// names, which turns them into matrix operations (the pair is one transform).
#pragma once

#include "toolkit/markup/transforms/QVTMarkupTransform.h"

class CQVTMarkupRotateTransform : public CQVTMarkupTransform
{
    DECLARE_MARKUPCLASS(CQVTMarkupRotateTransform)

public:
    static CQVTMarkupDependencyProperty* m_pAngleProperty;
    static CQVTMarkupDependencyProperty* m_pCenterXProperty;
    static CQVTMarkupDependencyProperty* m_pCenterYProperty;

protected:
    double GetAngleProperty() { return GetDouble(m_pAngleProperty); }
    void SetAngleProperty(double dValue);
    double GetCenterXProperty() { return GetDouble(m_pCenterXProperty); }
    void SetCenterXProperty(double dValue);
    double GetCenterYProperty() { return GetDouble(m_pCenterYProperty); }
    void SetCenterYProperty(double dValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupGdiPlusRotateTransform : public CQVTMarkupRotateTransform,
                                         public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusRotateTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
};
