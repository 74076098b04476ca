// Render transforms of elements: rotate, scale, skew and translate, written
// inside a "RenderTransform" holder that is the value of an element's
// RenderTransform. Each turns the drawing context's current matrix into the
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

private:
    CQVTMarkupObject* m_pOwner;  // the holder, not counted
};

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

// What the GDI+ transforms add: their operations on a GDI+ matrix.
class CQVTMarkupGdiPlusTransformObjectImpl
{
public:
    virtual ~CQVTMarkupGdiPlusTransformObjectImpl() = default;
    // Prepends this transform's operations; FALSE at the first that fails.
    virtual BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) = 0;

    // Clones the current GDI+ matrix and applies the transform to the copy.
    CQVTMarkupTransformationMatrix* CreateGdiPlusMatrix(CQVTMarkupTransformationMatrix* pCurrent);
};

class CQVTMarkupGdiPlusRotateTransform : public CQVTMarkupRotateTransform,
                                         public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusRotateTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
};

class CQVTMarkupGdiPlusScaleTransform : public CQVTMarkupScaleTransform,
                                        public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusScaleTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
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

class CQVTMarkupGdiPlusTranslateTransform : public CQVTMarkupTranslateTransform,
                                            public CQVTMarkupGdiPlusTransformObjectImpl
{
    DECLARE_MARKUPCLASS(CQVTMarkupGdiPlusTranslateTransform)

public:
    CQVTMarkupTransformationMatrix* CreateMatrix(CQVTMarkupTransformationMatrix* pCurrent) override;
    BOOL ApplyTo(Gdiplus::GpMatrix* pMatrix) override;
};

// The value of an element's RenderTransform: holds exactly one transform.
class CQVTMarkupRenderTransform : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupRenderTransform)

public:
    CQVTMarkupRenderTransform();

    // A rotate, scale, translate or skew transform is stored in the property
    // of its kind; a second child fails the build.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    void SetOwnerObject(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOwner) override;
    // The transform added as the child, or null.
    CQVTMarkupTransform* GetTransform();
    CQVTMarkupObject* GetOwner() const { return m_pOwner; }

    static CQVTMarkupDependencyProperty* m_pRotateTransformProperty;
    static CQVTMarkupDependencyProperty* m_pScaleTransformProperty;
    static CQVTMarkupDependencyProperty* m_pTranslateTransformProperty;
    static CQVTMarkupDependencyProperty* m_pSkewTransformProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    CQVTMarkupDependencyProperty* m_pCurrentProperty;  // the property holding the child
    CQVTMarkupObject* m_pOwner;                        // the element, not counted
};
