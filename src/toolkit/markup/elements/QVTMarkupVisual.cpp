#include "toolkit/markup/elements/QVTMarkupVisual.h"

#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupVisual, CQVTMarkupInputElement, nullptr, nullptr)

CQVTMarkupVisual::CQVTMarkupVisual()
    : m_ptOffset{0, 0}, m_szRender{0, 0}, m_rcBounds{0, 0, 0, 0}, m_rcExplicitUpdate{0, 0, 0, 0},
      m_rcLastUpdate{0, 0, 0, 0}
{
}

CQVTMarkupInputElement* CQVTMarkupVisual::InputHitTest(POINT pt)
{
    const POINT ptLocal = {pt.x - m_ptOffset.x, pt.y - m_ptOffset.y};
    // Filled when render transforms exist: an element or ancestor with a
    // transform tests the transformed rectangle instead.
    if (!::PtInRect(&m_rcBounds, ptLocal))
        return nullptr;
    RECT rcClip;
    if (GetLayoutClip(&rcClip) && !::PtInRect(&rcClip, ptLocal))
        return nullptr;
    for (int i = GetVisualChildrenCount() - 1; i >= 0; --i)
    {
        CQVTMarkupVisual* pChild = GetVisualChild(i);
        if (pChild == nullptr)
            continue;
        if (CQVTMarkupInputElement* pHit = pChild->InputHitTest(ptLocal))
            return pHit;
    }
    const RECT rcRender = {0, 0, m_szRender.cx, m_szRender.cy};
    return ::PtInRect(&rcRender, ptLocal) ? InputHitTestCore(ptLocal) : nullptr;
}

void CQVTMarkupVisual::HideHostedWindows()
{
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        if (CQVTMarkupVisual* pChild = GetVisualChild(i))
            pChild->HideHostedWindows();
    }
}

void CQVTMarkupVisual::UpdateBoundingRect()
{
    RECT rc = {0, 0, m_szRender.cx, m_szRender.cy};
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        CQVTMarkupVisual* pChild = GetVisualChild(i);
        if (pChild == nullptr)
            continue;
        pChild->UpdateBoundingRect();
        RECT rcChild = pChild->m_rcBounds;
        ::OffsetRect(&rcChild, pChild->m_ptOffset.x, pChild->m_ptOffset.y);
        ::UnionRect(&rc, &rc, &rcChild);
    }
    m_rcBounds = rc;
}

CQVTMarkupVisual* CQVTMarkupVisual::GetVisualParent() const
{
    for (CQVTMarkupObject* p = GetLogicalParent(); p != nullptr; p = p->GetLogicalParent())
    {
        if (CQVTMarkupVisual* pVisual = MarkupCast<CQVTMarkupVisual>(p))
            return pVisual;
    }
    return nullptr;
}

POINT CQVTMarkupVisual::GetAbsoluteOffset() const
{
    POINT pt = m_ptOffset;
    for (CQVTMarkupVisual* p = GetVisualParent(); p != nullptr; p = p->GetVisualParent())
    {
        pt.x += p->m_ptOffset.x;
        pt.y += p->m_ptOffset.y;
    }
    return pt;
}

RECT CQVTMarkupVisual::GetUpdateRect()
{
    RECT rc = ::IsRectEmpty(&m_rcExplicitUpdate) ? m_rcBounds : m_rcExplicitUpdate;
    // Filled when render transforms exist: the rectangle is mapped through the
    // transform chain from the absolute offset.
    if (::EqualRect(&rc, &m_rcLastUpdate))
        return rc;
    RECT rcResult = rc;
    if (!::IsRectEmpty(&m_rcLastUpdate))
        ::UnionRect(&rcResult, &rc, &m_rcLastUpdate);
    m_rcLastUpdate = rc;
    return rcResult;
}

void CQVTMarkupVisual::Render(CQVTMarkupDrawingContext* pDC)
{
    const double dOpacity = GetOpacity();
    const double dSavedOpacity = pDC->GetOpacity();
    pDC->SetOpacity(dOpacity);
    ::SetRectEmpty(&m_rcExplicitUpdate);

    RECT rcClip = pDC->GetClipBox();
    ::OffsetRect(&rcClip, -m_ptOffset.x, -m_ptOffset.y);
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, &rcClip, &m_rcBounds))
    {
        HideHostedWindows();
        pDC->SetOpacity(dSavedOpacity);
        return;
    }
    void* pSavedClip = nullptr;
    RECT rcLayoutClip;
    if (GetLayoutClip(&rcLayoutClip))
    {
        RECT rcInside;
        if (::IsRectEmpty(&rcLayoutClip) || !::IntersectRect(&rcInside, &rcLayoutClip, &rcVisible))
        {
            HideHostedWindows();
            pDC->SetOpacity(dSavedOpacity);
            return;
        }
        pDC->OffsetViewport(m_ptOffset);
        pSavedClip = pDC->SaveClipRegion();
        pDC->IntersectClipRect(rcLayoutClip);
    }
    else
    {
        pDC->OffsetViewport(m_ptOffset);
    }

    const CQVTMarkupRenderTransformState state = PushRenderTransform(pDC);
    int nSavedSmoothing = 0;
    if (state.pCreatedTransform != nullptr)
        nSavedSmoothing = pDC->SetSmoothingMode(4);

    OnRender(pDC);
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        if (CQVTMarkupVisual* pChild = GetVisualChild(i))
            pChild->Render(pDC);
    }
    CQVTMarkupBool* pFocused = MarkupCast<CQVTMarkupBool>(GetValue(m_pIsKeyboardFocusedProperty));
    if (pFocused != nullptr && pFocused->GetValue())
        OnRenderFocusVisual(pDC);

    if (state.pCreatedTransform != nullptr)
        pDC->SetSmoothingMode(nSavedSmoothing);
    PopRenderTransform(pDC, state);
    pDC->RestoreClipRegion(pSavedClip);
    const POINT ptBack = {-m_ptOffset.x, -m_ptOffset.y};
    pDC->OffsetViewport(ptBack);
    pDC->SetOpacity(dSavedOpacity);
}
