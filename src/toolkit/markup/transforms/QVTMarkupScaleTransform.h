// The scaling about a centre point of an element's render transform: the markup class
// that holds its properties and, in the same file, the GDI+ class the markup
// names, which turns them into matrix operations (the pair is one transform).
#pragma once

#include "toolkit/markup/transforms/QVTMarkupTransform.h"

class CQVTMarkupScaleTransform : public CQVTMarkupTransform
{
    DECLARE_MARKUPCLASS(CQVTMarkupScaleTransform)

public:
    static CQVTMarkupDependencyProperty* m_pScaleXProperty;
    static CQVTMarkupDependencyProperty* m_pScaleYProperty;
    static CQVTMarkupDependencyProperty* m_pCenterXProperty;
    static CQVTMarkupDependencyProperty* m_pCenterYProperty;

protected:
    double GetScaleXProperty() { return GetDouble(m_pScaleXProperty); }
    void SetScaleXProperty(double dValue);
    double GetScaleYProperty() { return GetDouble(m_pScaleYProperty); }
    void SetScaleYProperty(double dValue);
    double GetCenterXProperty() { return GetDouble(m_pCenterXProperty); }
    void SetCenterXProperty(double dValue);
    double GetCenterYProperty() { return GetDouble(m_pCenterYProperty); }
    void SetCenterYProperty(double dValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupGdiPlusScaleTransform : public CQVTMarkupScaleTransform,
                                        public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusScaleTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
};
