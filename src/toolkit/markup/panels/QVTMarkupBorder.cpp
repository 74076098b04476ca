#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupDecorator, CQVTMarkupFrameworkElement, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupBorder, CQVTMarkupDecorator, u"Border",
                      &CQVTMarkupBorder::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupBorder::m_pBackgroundProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupBorder::m_pPaddingProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupBorder::m_pBorderThicknessProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupBorder::m_pBorderBrushProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupBorder::m_pCornerRadiusProperty = nullptr;

// Decorator

CQVTMarkupDecorator::CQVTMarkupDecorator() : m_pChild(nullptr) {}

CQVTMarkupDecorator::~CQVTMarkupDecorator()
{
    SetChild(nullptr);
}

void CQVTMarkupDecorator::SetChild(CQVTMarkupUIElement* pChild)
{
    ReplaceLogicalChild(m_pChild, pChild);
}

CQVTMarkupVisual* CQVTMarkupDecorator::GetVisualChild(int nIndex)
{
    return nIndex == 0 ? m_pChild : nullptr;
}

void CQVTMarkupDecorator::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pContent);
    if (pElement == nullptr)
        CQVTMarkupBuilder::ThrowCannotAddContent(pContent, this, u"CQVTMarkupUIElement");
    if (m_pChild != nullptr)
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(
            u"'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.",
            GetType()->GetClassName(), pElement->GetType()->GetClassName(), GetType()->GetClassName());
    pElement->InternalAddRef();
    SetChild(pElement);
}

// Border

void AFX_CDECL CQVTMarkupBorder::RegisterMarkupProperties()
{
    CQVTMarkupBrush::EnsureMarkupClass();
    CQVTMarkupThickness::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pBrushType = CQVTMarkupBrush::GetMarkupType();
    CQVTMarkupType* pThicknessType = CQVTMarkupThickness::GetMarkupType();
    const DWORD dwLengths = QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_X | QVT_MARKUP_SCALE_Y;
    m_pBackgroundProperty = CQVTMarkupDependencyProperty::Register(
        u"Background", pBrushType, pType, new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
    m_pPaddingProperty = CQVTMarkupDependencyProperty::Register(
        u"Padding", pThicknessType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupThickness(), dwLengths));
    m_pBorderThicknessProperty = CQVTMarkupDependencyProperty::Register(
        u"BorderThickness", pThicknessType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupThickness(), dwLengths));
    m_pBorderBrushProperty = CQVTMarkupDependencyProperty::Register(
        u"BorderBrush", pBrushType, pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
    m_pCornerRadiusProperty = CQVTMarkupDependencyProperty::Register(
        u"CornerRadius", pThicknessType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupThickness(),
                                       QVT_MARKUP_AFFECTS_RENDER | QVT_MARKUP_SCALE_X | QVT_MARKUP_SCALE_Y));
}

SIZE CQVTMarkupBorder::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    CQVTMarkupThickness* pBorder = MarkupCast<CQVTMarkupThickness>(GetValue(m_pBorderThicknessProperty));
    CQVTMarkupThickness* pPadding = MarkupCast<CQVTMarkupThickness>(GetValue(m_pPaddingProperty));
    __int64 nInsetX = 0, nInsetY = 0;
    if (pBorder != nullptr)
    {
        nInsetX += __int64(pBorder->left) + pBorder->right;
        nInsetY += __int64(pBorder->top) + pBorder->bottom;
    }
    if (pPadding != nullptr)
    {
        nInsetX += __int64(pPadding->left) + pPadding->right;
        nInsetY += __int64(pPadding->top) + pPadding->bottom;
    }
    CQVTMarkupUIElement* pChild = GetChild();
    if (pChild == nullptr)
        return SIZE{MarkupSaturate(nInsetX), MarkupSaturate(nInsetY)};
    pChild->Measure(pDC, SIZE{MarkupSaturate(std::max<__int64>(0, szAvailable.cx - nInsetX)),
                              MarkupSaturate(std::max<__int64>(0, szAvailable.cy - nInsetY))});
    const SIZE szChild = pChild->GetDesiredSize();
    return SIZE{MarkupSaturate(szChild.cx + nInsetX), MarkupSaturate(szChild.cy + nInsetY)};
}

SIZE CQVTMarkupBorder::ArrangeOverride(SIZE szFinal)
{
    if (CQVTMarkupUIElement* pChild = GetChild())
    {
        RECT rc = {0, 0, szFinal.cx, szFinal.cy};
        rc = CQVTMarkupThickness::Deflate(
            rc, MarkupCast<CQVTMarkupThickness>(GetValue(m_pBorderThicknessProperty)));
        rc = CQVTMarkupThickness::Deflate(rc, MarkupCast<CQVTMarkupThickness>(GetValue(m_pPaddingProperty)));
        pChild->Arrange(rc);
    }
    return szFinal;
}

void CQVTMarkupBorder::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const SIZE size = GetRenderSize();
    if (size.cx < 1 || size.cy < 1)
        return;
    CQVTMarkupThickness* pBorder = MarkupCast<CQVTMarkupThickness>(GetValue(m_pBorderThicknessProperty));
    CQVTMarkupBrush* pBorderBrush = MarkupCast<CQVTMarkupBrush>(GetValue(m_pBorderBrushProperty));
    CQVTMarkupBrush* pBackground = MarkupCast<CQVTMarkupBrush>(GetValue(m_pBackgroundProperty));
    if (pBorderBrush == nullptr && pBackground == nullptr)
        return;
    const int nLeft = pBorder != nullptr ? pBorder->left : 0, nTop = pBorder != nullptr ? pBorder->top : 0;
    const int nRight = pBorder != nullptr ? pBorder->right : 0,
              nBottom = pBorder != nullptr ? pBorder->bottom : 0;

    CQVTMarkupCornerRadius radius;
    BOOL bRounded = FALSE;
    if (CQVTMarkupThickness* pCorners = MarkupCast<CQVTMarkupThickness>(GetValue(m_pCornerRadiusProperty)))
    {
        bRounded = pCorners->left != 0 || pCorners->top != 0 || pCorners->right != 0 || pCorners->bottom != 0;
        radius = CQVTMarkupCornerRadius::FromCorners(pCorners->left, pCorners->top, pCorners->right,
                                                     pCorners->bottom);
    }

    const BOOL bAnySide = nLeft != 0 || nTop != 0 || nRight != 0 || nBottom != 0;
    if (bAnySide && pBorderBrush != nullptr)
        pDC->DrawRectangle(RECT{0, 0, size.cx, size.cy}, pBorderBrush, pBorder, bRounded ? &radius : nullptr);

    const RECT rcInner = {nLeft, nTop, MarkupSaturate(__int64(size.cx) - nRight),
                          MarkupSaturate(__int64(size.cy) - nBottom)};
    if (pBackground == nullptr || rcInner.right <= rcInner.left || rcInner.bottom <= rcInner.top)
        return;
    if (bRounded)
    {
        // The background's corners follow the inside of the frame.
        for (double& r : radius.r)
            r = std::max(0.0, r - nLeft / 2.0);
    }
    pDC->FillRectangle(rcInner, pBackground, bRounded ? &radius : nullptr);
}

CQVTMarkupInputElement* CQVTMarkupBorder::InputHitTestCore(POINT)
{
    return GetValue(m_pBackgroundProperty) != nullptr ? this : nullptr;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupBorder, CQVTMarkupDecorator)
    DISP_PROPERTY_EX_ID(CQVTMarkupBorder, "Background", 500, GetBackgroundProperty, SetBackgroundProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupBorder, "BorderThickness", 501, GetBorderThicknessProperty,
                        SetBorderThicknessProperty, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupBorder, "Padding", 502, GetPaddingProperty, SetPaddingProperty, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupBorder, "BorderBrush", 503, GetBorderBrushProperty, SetBorderBrushProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupBorder, "CornerRadius", 504, GetCornerRadiusProperty,
                        SetCornerRadiusProperty, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupBorder, "Child", 505, GetChildProperty, SetChildProperty, VT_DISPATCH)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupBorder::GetBackgroundProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pBackgroundProperty);
}

void CQVTMarkupBorder::SetBackgroundProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pBackgroundProperty, pDispatch);
}

LPDISPATCH CQVTMarkupBorder::GetBorderThicknessProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pBorderThicknessProperty);
}

void CQVTMarkupBorder::SetBorderThicknessProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pBorderThicknessProperty, pDispatch);
}

LPDISPATCH CQVTMarkupBorder::GetPaddingProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pPaddingProperty);
}

void CQVTMarkupBorder::SetPaddingProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pPaddingProperty, pDispatch);
}

LPDISPATCH CQVTMarkupBorder::GetBorderBrushProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pBorderBrushProperty);
}

void CQVTMarkupBorder::SetBorderBrushProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pBorderBrushProperty, pDispatch);
}

LPDISPATCH CQVTMarkupBorder::GetCornerRadiusProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pCornerRadiusProperty);
}

void CQVTMarkupBorder::SetCornerRadiusProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pCornerRadiusProperty, pDispatch);
}

LPDISPATCH CQVTMarkupBorder::GetChildProperty()
{
    return QVTMarkupAutomation::DispatchOf(GetChild());
}

void CQVTMarkupBorder::SetChildProperty(LPDISPATCH pDispatch)
{
    CQVTMarkupUIElement* pChild = nullptr;
    if (pDispatch != nullptr)
    {
        pChild = MarkupCast<CQVTMarkupUIElement>(CQVTMarkupObject::FromDispatch(pDispatch, FALSE));
        if (pChild == nullptr)
            AfxThrowOleException(E_INVALIDARG);
        pChild->InternalAddRef();
    }
    SetChild(pChild);
    InvalidateMeasure();
}
