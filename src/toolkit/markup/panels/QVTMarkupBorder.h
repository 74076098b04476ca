// The one-child containers: the decorator, and the border that draws a
// background and a frame with optional rounded corners and insets its child
// by the frame's thickness and its padding.
#pragma once

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

class CQVTMarkupBrush;
class CQVTMarkupThickness;

class CQVTMarkupDecorator : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupDecorator)

public:
    CQVTMarkupDecorator();
    ~CQVTMarkupDecorator() override;

    CQVTMarkupUIElement* GetChild() const { return m_pChild; }
    // Takes the caller's reference; the old child is unlinked and released.
    void SetChild(CQVTMarkupUIElement* pChild);

    int GetVisualChildrenCount() override { return m_pChild != nullptr ? 1 : 0; }
    CQVTMarkupVisual* GetVisualChild(int nIndex) override;
    BOOL HasContentObject() override { return m_pChild != nullptr; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

private:
    CQVTMarkupUIElement* m_pChild;  // counted; the decorator is its logical parent
};

class CQVTMarkupBorder : public CQVTMarkupDecorator
{
    DECLARE_MARKUPCLASS(CQVTMarkupBorder)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    // Hit only where there is a background, even where the frame is drawn.
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override;

    static CQVTMarkupDependencyProperty* m_pBackgroundProperty;
    static CQVTMarkupDependencyProperty* m_pPaddingProperty;
    static CQVTMarkupDependencyProperty* m_pBorderThicknessProperty;
    static CQVTMarkupDependencyProperty* m_pBorderBrushProperty;
    static CQVTMarkupDependencyProperty* m_pCornerRadiusProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    LPDISPATCH GetBackgroundProperty();
    void SetBackgroundProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetBorderThicknessProperty();
    void SetBorderThicknessProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetPaddingProperty();
    void SetPaddingProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetBorderBrushProperty();
    void SetBorderBrushProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetCornerRadiusProperty();
    void SetCornerRadiusProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetChildProperty();
    void SetChildProperty(LPDISPATCH pDispatch);
    DECLARE_DISPATCH_MAP()
};
