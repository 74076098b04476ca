#include "toolkit/markup/panels/QVTMarkupPanel.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupUIElementCollection, CQVTMarkupCollection, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupPanel, CQVTMarkupFrameworkElement, u"Panel",
                      &CQVTMarkupPanel::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupPanel::m_pBackgroundProperty = nullptr;

void CQVTMarkupUIElementCollection::OnChanged()
{
    if (CQVTMarkupUIElement* pOwner = MarkupCast<CQVTMarkupUIElement>(GetLogicalParent()))
        pOwner->InvalidateMeasure();
}

void AFX_CDECL CQVTMarkupPanel::RegisterMarkupProperties()
{
    CQVTMarkupBrush::EnsureMarkupClass();
    m_pBackgroundProperty = CQVTMarkupDependencyProperty::Register(
        u"Background", CQVTMarkupBrush::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
}

CQVTMarkupPanel::CQVTMarkupPanel() : m_pChildren(new CQVTMarkupUIElementCollection())
{
    m_pChildren->SetLogicalParent(this);
}

CQVTMarkupPanel::~CQVTMarkupPanel()
{
    m_pChildren->SetLogicalParent(nullptr);
    m_pChildren->InternalRelease();
}

int CQVTMarkupPanel::GetVisualChildrenCount()
{
    return m_pChildren->GetCount();
}

CQVTMarkupVisual* CQVTMarkupPanel::GetVisualChild(int nIndex)
{
    return m_pChildren->GetAt(nIndex);
}

BOOL CQVTMarkupPanel::HasContentObject()
{
    return m_pChildren->GetCount() > 0;
}

void CQVTMarkupPanel::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    m_pChildren->SetContentObject(pBuilder, pContent);
}

CQVTMarkupBrush* CQVTMarkupPanel::GetBackground()
{
    return MarkupCast<CQVTMarkupBrush>(GetValue(m_pBackgroundProperty));
}

void CQVTMarkupPanel::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const SIZE size = GetRenderSize();
    CQVTMarkupBrush* pBackground = GetBackground();
    if (size.cx > 0 && size.cy > 0 && pBackground != nullptr)
        pDC->FillRectangle(RECT{0, 0, size.cx, size.cy}, pBackground);
}

CQVTMarkupInputElement* CQVTMarkupPanel::InputHitTestCore(POINT)
{
    return GetBackground() != nullptr ? this : nullptr;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupUIElementCollection, CQVTMarkupObject)
    QVT_MARKUP_COLLECTION_DISPATCH(CQVTMarkupUIElementCollection)
END_DISPATCH_MAP()

BEGIN_DISPATCH_MAP(CQVTMarkupPanel, CQVTMarkupFrameworkElement)
    DISP_PROPERTY_EX_ID(CQVTMarkupPanel, "Background", 500, GetBackgroundProperty, SetBackgroundProperty,
                        VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupPanel, "Children", 501, GetChildrenProperty, SetNotSupported, VT_DISPATCH)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupPanel::GetBackgroundProperty()
{
    return QVTMarkupAutomation::GetObjectValue(this, m_pBackgroundProperty);
}

void CQVTMarkupPanel::SetBackgroundProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pBackgroundProperty, pDispatch);
}

LPDISPATCH CQVTMarkupPanel::GetChildrenProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pChildren);
}
