// Single-purpose framework elements: the viewbox, which scales its one child
// to fit (vector icons of the ribbon and frame themes), the page, a plain
// one-child root, and the window container, which places a real child window
// of the host inside the markup layout.
#pragma once

#include "toolkit/markup/panels/QVTMarkupBorder.h"

class CQVTMarkupViewbox : public CQVTMarkupDecorator
{
    DECLARE_MARKUPCLASS(CQVTMarkupViewbox)

public:
    CQVTMarkupViewbox();

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    // The child keeps its own size and is scaled and centred when drawn.
    SIZE ArrangeOverride(SIZE szFinal) override;
    // The scale and offset of the last arrange, ahead of the current
    // transform; the viewbox's own RenderTransform is not applied.
    CQVTMarkupRenderTransformState PushRenderTransform(CQVTMarkupDrawingContext* pDC) override;
    BOOL IsOwnAreaTransformed() const override { return FALSE; }

    float GetScaleX() const { return m_fScaleX; }
    float GetScaleY() const { return m_fScaleY; }
    float GetOffsetX() const { return m_fOffsetX; }
    float GetOffsetY() const { return m_fOffsetY; }

    static CQVTMarkupDependencyProperty* m_pStretchProperty;

protected:
    long GetStretchProperty();
    void SetStretchProperty(long nValue);
    LPDISPATCH GetChildProperty();
    void SetChildProperty(LPDISPATCH pDispatch);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();

    float m_fScaleX;  // the transform the last arrange computed
    float m_fScaleY;
    float m_fOffsetX;
    float m_fOffsetY;
};

class CQVTMarkupPage : public CQVTMarkupDecorator
{
    DECLARE_MARKUPCLASS(CQVTMarkupPage)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    // Only the child can be hit, never the page.
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override { return nullptr; }

protected:
    LPDISPATCH GetContentProperty();
    void SetContentProperty(LPDISPATCH pDispatch);

    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupWindowContainer : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupWindowContainer)

public:
    CQVTMarkupWindowContainer();

    // The window is the host's child; the element never creates or destroys it.
    void AttachWindow(HWND hWnd);
    HWND GetWindow() const { return m_hWnd; }

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    // Moves the window onto the element's place in the host and shows it.
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    void HideHostedWindows() override;

protected:
    long GetChildProperty();
    void SetChildProperty(long nWindow);

    DECLARE_DISPATCH_MAP()

private:
    HWND m_hWnd;      // not owned
    SIZE m_szWindow;  // taken when the window was attached
};
