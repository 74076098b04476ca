#include "toolkit/markup/elements/QVTMarkupVisual.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_MARKUPCLASS(CQVTMarkupVisual, CQVTMarkupInputElement, nullptr, nullptr)

CQVTMarkupVisual::CQVTMarkupVisual()
    : m_ptOffset{0, 0}, m_szRender{0, 0}, m_rcBounds{0, 0, 0, 0}, m_rcExplicitUpdate{0, 0, 0, 0},
      m_rcLastUpdate{0, 0, 0, 0}
{
}

CQVTMarkupVisual::~CQVTMarkupVisual() = default;

void CQVTMarkupVisual::SetRenderTransformInForce(CQVTMarkupTransformationMatrix* pMatrix)
{
    m_pTransform.reset(pMatrix);
}

CQVTMarkupVisual* CQVTMarkupVisual::FindTransformedAncestor(POINT& ptFromAncestor) const
{
    ptFromAncestor = {0, 0};
    for (const CQVTMarkupVisual* p = this; p != nullptr; p = p->GetVisualParent())
    {
        if (p->m_pTransform != nullptr && (p != this || IsOwnAreaTransformed()))
            return const_cast<CQVTMarkupVisual*>(p);
        ptFromAncestor.x += p->m_ptOffset.x;
        ptFromAncestor.y += p->m_ptOffset.y;
    }
    return nullptr;
}

BOOL CQVTMarkupVisual::HitTestTransformed(const RECT& rcLocal, POINT ptLocal, CQVTMarkupVisual* pAncestor,
                                          POINT ptFromAncestor) const
{
    // The transform maps the ancestor's coordinates to the window's, where
    // the local point sits at the absolute offset.
    RECT rc = rcLocal;
    ::OffsetRect(&rc, ptFromAncestor.x, ptFromAncestor.y);
    const POINT ptAbsolute = GetAbsoluteOffset();
    const POINT ptTest = {ptLocal.x + ptAbsolute.x, ptLocal.y + ptAbsolute.y};
    return pAncestor->m_pTransform->HitTest(rc, POINT{0, 0}, ptTest);
}

CQVTMarkupInputElement* CQVTMarkupVisual::InputHitTest(POINT pt)
{
    POINT ptLocal = {pt.x - m_ptOffset.x, pt.y - m_ptOffset.y};
    // An element drawn under a render transform (its own or an ancestor's)
    // is hit where it was drawn: the transformed rectangle, edges included.
    POINT ptFromAncestor;
    CQVTMarkupVisual* pTransformed = FindTransformedAncestor(ptFromAncestor);
    auto inside = [&](const RECT& rc) {
        return pTransformed != nullptr ? HitTestTransformed(rc, ptLocal, pTransformed, ptFromAncestor)
                                       : ::PtInRect(&rc, ptLocal);
    };
    if (!inside(m_rcBounds))
        return nullptr;
    RECT rcClip;
    if (GetLayoutClip(&rcClip) && !inside(rcClip))
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
    if (!inside(rcRender))
        return nullptr;
    if (pTransformed != nullptr)
    {
        // Shapes test their outline in their own coordinates: the point is
        // taken back through the transform.
        CQVTMarkupGdiPlusTransformationMatrix* pMatrix =
            DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusTransformationMatrix, pTransformed->m_pTransform.get());
        const POINT ptAbsolute = GetAbsoluteOffset();
        Gdiplus::PointF ptDevice(static_cast<float>(ptLocal.x + ptAbsolute.x),
                                 static_cast<float>(ptLocal.y + ptAbsolute.y));
        if (pMatrix != nullptr && pMatrix->InverseTransform(ptDevice))
            ptLocal = {MarkupSaturate(__int64(MarkupTruncate(std::floor(ptDevice.X))) - ptFromAncestor.x),
                       MarkupSaturate(__int64(MarkupTruncate(std::floor(ptDevice.Y))) - ptFromAncestor.y)};
    }
    return InputHitTestCore(ptLocal);
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
    POINT ptFromAncestor;
    if (CQVTMarkupVisual* pTransformed = FindTransformedAncestor(ptFromAncestor))
    {
        // Where the transform put the rectangle, relative to the absolute
        // offset the caller adds.
        ::OffsetRect(&rc, ptFromAncestor.x, ptFromAncestor.y);
        rc = pTransformed->m_pTransform->GetBoundingRect(rc, POINT{0, 0});
        // Anti-aliased edges may reach the next pixel. A huge scale stops
        // well inside the 32-bit range, leaving room for the offsets added.
        const POINT ptAbsolute = GetAbsoluteOffset();
        auto local = [](LONG nValue, LONG nOffset, LONG nGrow) {
            const __int64 nLimit = QVT_MARKUP_UNBOUNDED_LIMIT;
            return static_cast<LONG>(std::clamp<__int64>(__int64(nValue) - nOffset + nGrow, -nLimit, nLimit));
        };
        rc = {local(rc.left, ptAbsolute.x, -1), local(rc.top, ptAbsolute.y, -1),
              local(rc.right, ptAbsolute.x, 1), local(rc.bottom, ptAbsolute.y, 1)};
    }
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
    // What Render changes in the drawing context, put back however it ends:
    // a drawing that throws must not leave the host's DC offset or clipped.
    class CRenderState
    {
    public:
        explicit CRenderState(CQVTMarkupDrawingContext* pDrawingContext)
            : m_pDC(pDrawingContext), m_dSavedOpacity(pDrawingContext->GetOpacity())
        {
        }
        ~CRenderState()
        {
            if (m_bSmoothingSet)
                m_pDC->SetSmoothingMode(m_nSavedSmoothing);
            if (m_bTransformPushed)
                m_pVisual->PopRenderTransform(m_pDC, m_transform);
            if (m_bClipSaved)
                m_pDC->RestoreClipRegion(m_pSavedClip);
            if (m_bOffset)
                m_pDC->OffsetViewport(POINT{-m_ptOffset.x, -m_ptOffset.y});
            m_pDC->SetOpacity(m_dSavedOpacity);
        }
        void Offset(POINT pt)
        {
            m_pDC->OffsetViewport(pt);
            m_ptOffset = pt;
            m_bOffset = TRUE;
        }
        void SaveClip()
        {
            m_pSavedClip = m_pDC->SaveClipRegion();
            m_bClipSaved = TRUE;
        }
        void PushTransform(CQVTMarkupVisual* pVisual)
        {
            m_transform = pVisual->PushRenderTransform(m_pDC);
            m_pVisual = pVisual;
            m_bTransformPushed = TRUE;
            if (m_transform.pCreatedTransform != nullptr)
            {
                m_nSavedSmoothing = m_pDC->SetSmoothingMode(4);
                m_bSmoothingSet = TRUE;
            }
        }

    private:
        CQVTMarkupDrawingContext* m_pDC;
        double m_dSavedOpacity;
        POINT m_ptOffset = {0, 0};
        BOOL m_bOffset = FALSE;
        void* m_pSavedClip = nullptr;
        BOOL m_bClipSaved = FALSE;
        CQVTMarkupVisual* m_pVisual = nullptr;
        CQVTMarkupRenderTransformState m_transform = {};
        BOOL m_bTransformPushed = FALSE;
        int m_nSavedSmoothing = 0;
        BOOL m_bSmoothingSet = FALSE;
    } state(pDC);
    pDC->SetOpacity(GetOpacity());
    ::SetRectEmpty(&m_rcExplicitUpdate);

    RECT rcClip = pDC->GetClipBox();
    ::OffsetRect(&rcClip, -m_ptOffset.x, -m_ptOffset.y);
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, &rcClip, &m_rcBounds))
    {
        HideHostedWindows();
        return;
    }
    RECT rcLayoutClip;
    if (GetLayoutClip(&rcLayoutClip))
    {
        RECT rcInside;
        if (::IsRectEmpty(&rcLayoutClip) || !::IntersectRect(&rcInside, &rcLayoutClip, &rcVisible))
        {
            HideHostedWindows();
            return;
        }
        state.Offset(m_ptOffset);
        state.SaveClip();
        pDC->IntersectClipRect(rcLayoutClip);
    }
    else
    {
        state.Offset(m_ptOffset);
    }
    state.PushTransform(this);

    OnRender(pDC);
    for (int i = 0; i < GetVisualChildrenCount(); ++i)
    {
        if (CQVTMarkupVisual* pChild = GetVisualChild(i))
            pChild->Render(pDC);
    }
    CQVTMarkupBool* pFocused = MarkupCast<CQVTMarkupBool>(GetValue(m_pIsKeyboardFocusedProperty));
    if (pFocused != nullptr && pFocused->GetValue())
        OnRenderFocusVisual(pDC);
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupVisual, CQVTMarkupInputElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupVisual, "VisualParent", 200, GetVisualParentProperty, SetNotSupported,
                        VT_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupVisual, "GetBoundingRect", 201, GetBoundingRectMethod, VT_EMPTY,
                     VTS_PI4 VTS_PI4 VTS_PI4 VTS_PI4)
    DISP_PROPERTY_EX_ID(CQVTMarkupVisual, "ActualWidth", 202, GetActualWidthProperty, SetNotSupported, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupVisual, "ActualHeight", 203, GetActualHeightProperty, SetNotSupported,
                        VT_I4)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupVisual::GetVisualParentProperty()
{
    return QVTMarkupAutomation::DispatchOf(GetVisualParent());
}

void CQVTMarkupVisual::GetBoundingRectMethod(LONG* pnLeft, LONG* pnTop, LONG* pnRight, LONG* pnBottom)
{
    CQVTMarkupContext* pContext = GetMarkupContext();
    const CRect rc = pContext != nullptr ? pContext->GetElementWindowRect(this, FALSE) : CRect(0, 0, 0, 0);
    if (pnLeft != nullptr)
        *pnLeft = rc.left;
    if (pnTop != nullptr)
        *pnTop = rc.top;
    if (pnRight != nullptr)
        *pnRight = rc.right;
    if (pnBottom != nullptr)
        *pnBottom = rc.bottom;
}

long CQVTMarkupVisual::GetActualWidthProperty()
{
    return m_szRender.cx;
}

long CQVTMarkupVisual::GetActualHeightProperty()
{
    return m_szRender.cy;
}
