// The two-pass layout protocol: Measure with caching, Arrange, synchronous
// invalidation that climbs while desired sizes change; visibility, opacity,
// clipping and enabling.
#pragma once

#include "toolkit/markup/elements/QVTMarkupVisual.h"

// Sizes at or above this count as unbounded.
#define QVT_MARKUP_UNBOUNDED_LIMIT 0x40000000
// The unbounded size, and the unset value of Width, Height and their limits.
#define QVT_MARKUP_UNBOUNDED 2147483647

enum QVTMarkupVisibility
{
    qvtVisibilityVisible = 0,
    qvtVisibilityHidden = 1,
    qvtVisibilityCollapsed = 2,
};

class CQVTMarkupUIElement : public CQVTMarkupVisual
{
    DECLARE_MARKUPCLASS(CQVTMarkupUIElement)

public:
    CQVTMarkupUIElement();

    void Measure(CQVTMarkupDrawingContext* pDC, SIZE szAvailable);
    void Arrange(const RECT& rcFinal);

    virtual void InvalidateVisual();
    virtual void InvalidateMeasure();
    virtual void ArrangeCore(const RECT& rcFinal);
    virtual SIZE MeasureCore(CQVTMarkupDrawingContext* pDC, SIZE szAvailable);
    virtual void InvalidateMeasureCore(CQVTMarkupDrawingContext* pDC);

    void InvalidateArrange() override;
    BOOL GetLayoutClip(RECT* pClip) override;
    double GetOpacity() override;
    CQVTMarkupRenderTransformState PushRenderTransform(CQVTMarkupDrawingContext* pDC) override;
    void PopRenderTransform(CQVTMarkupDrawingContext* pDC,
                            const CQVTMarkupRenderTransformState& state) override;

    SIZE GetDesiredSize() const { return m_szDesired; }
    const RECT& GetFinalRect() const { return m_rcFinal; }
    SIZE GetLastAvailableSize() const { return m_szLastAvailable; }
    BOOL IsMeasureDirty() const { return m_bMeasureDirty; }
    BOOL IsArrangeDirty() const { return m_bArrangeDirty; }

    QVTMarkupVisibility GetVisibility();
    BOOL IsEnabled();

    static CQVTMarkupDependencyProperty* m_pClipToBoundsProperty;
    static CQVTMarkupDependencyProperty* m_pVisibilityProperty;
    static CQVTMarkupDependencyProperty* m_pFocusableProperty;
    static CQVTMarkupDependencyProperty* m_pIsEnabledProperty;
    static CQVTMarkupDependencyProperty* m_pOpacityProperty;
    static CQVTMarkupDependencyProperty* m_pRenderTransformProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    SIZE m_szDesired;            // the result of the last measure
    RECT m_rcFinal;              // the last arrange, parent coordinates
    BOOL m_bMeasureNotReusable;  // the last measure may not be reused
    BOOL m_bMeasureDirty;
    SIZE m_szLastAvailable;
    UINT m_nMeasuredFontVersion = 0;  // the context's default font the last measure saw
    BOOL m_bArrangeDirty;
    BOOL m_bNeverArranged;
    BOOL m_bInArrange;
    BOOL m_bInMeasure;

private:
    BOOL GetClipToBoundsProperty();
    void SetClipToBoundsProperty(BOOL bValue);
    long GetVisibilityProperty();
    void SetVisibilityProperty(long nValue);
    BOOL GetFocusableProperty();
    void SetFocusableProperty(BOOL bValue);
    BOOL GetIsEnabledProperty();
    void SetIsEnabledProperty(BOOL bValue);
    LPDISPATCH GetRenderTransformProperty();
    double GetOpacityProperty();
    void SetOpacityProperty(double dValue);
    DECLARE_DISPATCH_MAP()
};
