// The scroll bars of the markup scroll viewer: elements that share the
// toolkit scroll bar's geometry, hit testing and modal tracking, draw their
// arrows, track and thumb with the window theme or classic frame controls,
// and report every scroll command to the viewer that owns them. The gripper
// fills the corner between two bars.
#pragma once

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

class CQVTWinThemeWrapper;

class CQVTMarkupScrollBar : public CQVTMarkupFrameworkElement, public CQVTScrollBase
{
    DECLARE_MARKUPCLASS(CQVTMarkupScrollBar)

public:
    CQVTMarkupScrollBar();

    BOOL IsVertical() const { return m_nOrientation == 1; }
    void SetOrientation(UINT nOrientation) { m_nOrientation = nOrientation; }

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    void OnMouseLeave(CQVTMarkupMouseEventArgs* pArgs) override;
    void OnMouseMove(CQVTMarkupMouseEventArgs* pArgs) override;
    void OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs) override;
    void OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs) override;

    void GetScrollInfo(SCROLLINFO* pSI) override;
    // Stores a new range, page or position; nMin alone does not count.
    void SetScrollInfo(const SCROLLINFO& si);

    // The scroll base's owner operations.
    CWnd* GetParentWindow() const override;
    // A range the page does not fill, and an enabled element.
    BOOL IsEnabled() const override;
    CQVTScrollBarPaintManager* GetScrollBarPaintManager() const override { return nullptr; }
    void GetScrollBarRect(CRect& rc) override;
    void RedrawScrollBar() override;
    void DoScroll(int cmd, int pos) override;

private:
    // Where the element's origin lies in the host window's client area.
    void UpdateOrigin(CQVTMarkupMouseEventArgs* pArgs);
    void RenderThemed(CQVTWinThemeWrapper& theme, HDC hDC, int nPressed, int nHot, BOOL bEnabled);
    void RenderClassic(HDC hDC, int nPressed, BOOL bEnabled);
    // A part's rectangle in the element's own coordinates.
    RECT LocalPartRect(int nFrom, int nTo) const;

    UINT m_nOrientation;  // 1 vertical, 0 horizontal
    SCROLLINFO m_si;
    POINT m_ptOrigin;  // host client coordinates of the element's origin
};

class CQVTMarkupScrollBarGripper : public CQVTMarkupUIElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupScrollBarGripper)

public:
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
};
