// The skewing about a centre point of an element's render transform: the markup class
// that holds its properties and, in the same file, the GDI+ class the markup
// names, which turns them into matrix operations (the pair is one transform).
#pragma once

#include "toolkit/markup/transforms/QVTMarkupTransform.h"

class CQVTMarkupSkewTransform : public CQVTMarkupTransform
{
    DECLARE_MARKUPCLASS(CQVTMarkupSkewTransform)

public:
    static CQVTMarkupDependencyProperty* m_pAngleXProperty;
    static CQVTMarkupDependencyProperty* m_pAngleYProperty;
    static CQVTMarkupDependencyProperty* m_pCenterXProperty;
    static CQVTMarkupDependencyProperty* m_pCenterYProperty;

protected:
    double GetAngleXProperty() { return GetDouble(m_pAngleXProperty); }
    void SetAngleXProperty(double dValue);
    double GetAngleYProperty() { return GetDouble(m_pAngleYProperty); }
    void SetAngleYProperty(double dValue);
    double GetCenterXProperty() { return GetDouble(m_pCenterXProperty); }
    void SetCenterXProperty(double dValue);
    double GetCenterYProperty() { return GetDouble(m_pCenterYProperty); }
    void SetCenterYProperty(double dValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupGdiPlusSkewTransform : public CQVTMarkupSkewTransform,
                                       public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusSkewTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    // The shear factor is the angle over 45 degrees, not its tangent.
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
};
