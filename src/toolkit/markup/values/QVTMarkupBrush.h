// The brushes markup can name: solid colours and linear gradients with their
// stops, and the system brush keys of resource lookups.
#pragma once

#include "toolkit/markup/core/QVTMarkupCollection.h"

class CQVTMarkupPoint;

class CQVTMarkupBrush : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupBrush)

public:
    // The COLORREF GDI draws with.
    virtual COLORREF GetColorRef() { return 0; }
    // A colour text gives a solid colour brush.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;
};

class CQVTMarkupSolidColorBrush : public CQVTMarkupBrush
{
    DECLARE_MARKUPCLASS(CQVTMarkupSolidColorBrush)

public:
    CQVTMarkupSolidColorBrush();
    CQVTMarkupSolidColorBrush(BYTE bAlpha, COLORREF clr);
    explicit CQVTMarkupSolidColorBrush(COLORREF clr);

    COLORREF GetColorRef() override;
    // 0xAABBGGRR; opaque black when unset.
    DWORD GetColor();
    void SetColor(BYTE bAlpha, COLORREF clr);
    // Alpha takes no part.
    BOOL IsEqual(CQVTMarkupObject* pObject) override;

    static CQVTMarkupDependencyProperty* m_pColorProperty;

protected:
    // Automation: "Color" reads with alpha, writes with a zero top byte as opaque.
    long GetColorProperty();
    void SetColorProperty(long nColor);
    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupGradientStop : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupGradientStop)

public:
    // 0xAABBGGRR, 0 when unset.
    DWORD GetColor();
    double GetOffset();

    static CQVTMarkupDependencyProperty* m_pColorProperty;
    static CQVTMarkupDependencyProperty* m_pOffsetProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupGradientStops : public CQVTMarkupTypedCollection<CQVTMarkupGradientStop>
{
    DECLARE_MARKUPCLASS(CQVTMarkupGradientStops)
};

class CQVTMarkupLinearGradientBrush : public CQVTMarkupBrush
{
    DECLARE_MARKUPCLASS(CQVTMarkupLinearGradientBrush)

public:
    CQVTMarkupLinearGradientBrush();

    // The first stop's colour; black without stops.
    COLORREF GetColorRef() override;
    // Stops written inside the brush join its stop collection.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    CQVTMarkupGradientStops* GetGradientStops();
    CQVTMarkupPoint* GetStartPoint();
    CQVTMarkupPoint* GetEndPoint();

    static CQVTMarkupDependencyProperty* m_pStartPointProperty;
    static CQVTMarkupDependencyProperty* m_pEndPointProperty;
    static CQVTMarkupDependencyProperty* m_pGradientStopsProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

// A system colour index standing for its brush in resource lookups.
class CQVTMarkupBrushKey : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupBrushKey)

public:
    explicit CQVTMarkupBrushKey(int nKey = 0) : m_nKey(nKey) {}
    int GetKey() const { return m_nKey; }

private:
    int m_nKey;
};
