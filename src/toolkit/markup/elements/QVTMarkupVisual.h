// An input element with a place in its parent: offset, render size, bounding
// rectangle, visual children, hit testing and the render walk.
#pragma once

#include <memory>

#include "toolkit/markup/elements/QVTMarkupInputElement.h"

class CQVTMarkupTransformationMatrix;

// What PushRenderTransform saved for PopRenderTransform.
struct CQVTMarkupRenderTransformState
{
    void* pSavedTransform = nullptr;
    void* pCreatedTransform = nullptr;
};

class CQVTMarkupVisual : public CQVTMarkupInputElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupVisual)

public:
    CQVTMarkupVisual();
    ~CQVTMarkupVisual() override;

    // Visual children are the logical children too, so walks reach them.
    int GetLogicalChildrenCount() override { return GetVisualChildrenCount(); }
    CQVTMarkupObject* GetLogicalChild(int nIndex) override { return GetVisualChild(nIndex); }

    CQVTMarkupInputElement* InputHitTest(POINT pt) override;

    virtual int GetVisualChildrenCount() { return 0; }
    virtual CQVTMarkupVisual* GetVisualChild(int nIndex) { return nullptr; }
    // FALSE without a clip; an empty clip hides the element.
    virtual BOOL GetLayoutClip(RECT* pClip) { return FALSE; }
    virtual CQVTMarkupRenderTransformState PushRenderTransform(CQVTMarkupDrawingContext* pDC) { return {}; }
    virtual void PopRenderTransform(CQVTMarkupDrawingContext* pDC,
                                    const CQVTMarkupRenderTransformState& state)
    {
    }
    virtual void OnRender(CQVTMarkupDrawingContext* pDC) {}
    virtual void OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC) {}
    virtual CQVTMarkupInputElement* InputHitTestCore(POINT pt) { return this; }
    // Window containers hide their windows when clipped away.
    virtual void HideHostedWindows();
    virtual double GetOpacity() { return 1.0; }
    virtual void InvalidateArrange() {}

    void Render(CQVTMarkupDrawingContext* pDC);

    POINT GetVisualOffset() const { return m_ptOffset; }
    void SetVisualOffset(POINT pt) { m_ptOffset = pt; }
    SIZE GetRenderSize() const { return m_szRender; }
    void SetRenderSize(SIZE sz) { m_szRender = sz; }
    const RECT& GetBoundingRect() const { return m_rcBounds; }
    // Recomputes the bounding rectangles of the visual descendants, then this one.
    void UpdateBoundingRect();
    // Set by elements that repaint less than their bounds.
    void SetExplicitUpdateRect(const RECT& rc) { m_rcExplicitUpdate = rc; }

    // The nearest logical ancestor that is a visual.
    CQVTMarkupVisual* GetVisualParent() const;
    // The sum of this and every visual ancestor's offsets.
    POINT GetAbsoluteOffset() const;
    // The area to repaint, united with the last one reported, so a moved
    // element repaints where it was and where it is.
    RECT GetUpdateRect();

    // The world transform the element was last drawn under when it or an
    // ancestor had a render transform; null under plain GDI.
    CQVTMarkupTransformationMatrix* GetRenderTransformInForce() const { return m_pTransform.get(); }
    // Takes the matrix; null drops it.
    void SetRenderTransformInForce(CQVTMarkupTransformationMatrix* pMatrix);
    // Whether the transform in force covers the element's own area too, or
    // only what it draws inside (a viewbox scales its child, not itself).
    virtual BOOL IsOwnAreaTransformed() const { return TRUE; }

private:
    // The nearest of this element and its ancestors drawn under a transform,
    // and this element's offset from it; null when there is none.
    CQVTMarkupVisual* FindTransformedAncestor(POINT& ptFromAncestor) const;
    // Whether the point (this element's own coordinates) lies in the image
    // of the rectangle under the ancestor's transform.
    BOOL HitTestTransformed(const RECT& rcLocal, POINT ptLocal, CQVTMarkupVisual* pAncestor,
                            POINT ptFromAncestor) const;

    POINT m_ptOffset;         // origin inside the parent
    SIZE m_szRender;          // actual width and height
    RECT m_rcBounds;          // own coordinates: own rectangle and children's bounds
    RECT m_rcExplicitUpdate;  // emptied at each render; replaces the bounds when set
    RECT m_rcLastUpdate;      // last rectangle GetUpdateRect reported
    std::unique_ptr<CQVTMarkupTransformationMatrix> m_pTransform;  // replaced by each render

private:
    LPDISPATCH GetVisualParentProperty();
    void GetBoundingRectMethod(LONG* pnLeft, LONG* pnTop, LONG* pnRight, LONG* pnBottom);
    long GetActualWidthProperty();
    long GetActualHeightProperty();
    DECLARE_DISPATCH_MAP()
};
