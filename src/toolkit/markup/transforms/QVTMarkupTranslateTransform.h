// The translation of an element's render transform: the markup class
// that holds its properties and, in the same file, the GDI+ class the markup
// names, which turns them into matrix operations (the pair is one transform).
#pragma once

#include "toolkit/markup/transforms/QVTMarkupTransform.h"

class CQVTMarkupTranslateTransform : public CQVTMarkupTransform
{
    DECLARE_MARKUPCLASS(CQVTMarkupTranslateTransform)

public:
    static CQVTMarkupDependencyProperty* m_pXProperty;
    static CQVTMarkupDependencyProperty* m_pYProperty;

protected:
    double GetXProperty() { return GetDouble(m_pXProperty); }
    void SetXProperty(double dValue);
    double GetYProperty() { return GetDouble(m_pYProperty); }
    void SetYProperty(double dValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupGdiPlusTranslateTransform : public CQVTMarkupTranslateTransform,
                                            public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusTranslateTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
};
