#include "toolkit/markup/panels/QVTMarkupPanel.h"
#include "toolkit/markup/core/QVTMarkupElementEnumerator.h"
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
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "Count", 1, CountMethod, VT_I4, VTS_NONE)
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "Item", 0, ItemMethod, VT_DISPATCH, VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "_NewEnum", DISPID_NEWENUM, NewEnumMethod, VT_UNKNOWN,
                     VTS_NONE)
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "Add", 2, AddMethod, VT_EMPTY, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "Insert", 3, InsertMethod, VT_EMPTY, VTS_I4 VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "Clear", 4, ClearMethod, VT_EMPTY, VTS_NONE)
    DISP_FUNCTION_ID(CQVTMarkupUIElementCollection, "RemoveAt", 5, RemoveAtMethod, VT_EMPTY, VTS_I4)
END_DISPATCH_MAP()

long CQVTMarkupUIElementCollection::CountMethod()
{
    return GetCount();
}

LPDISPATCH CQVTMarkupUIElementCollection::ItemMethod(long nIndex)
{
    return QVTMarkupAutomation::DispatchOf(
        nIndex >= 0 && nIndex < GetCount() ? GetAt(static_cast<int>(nIndex)) : nullptr);
}

LPUNKNOWN CQVTMarkupUIElementCollection::NewEnumMethod()
{
    return new CQVTMarkupElementEnumerator(this, 0);
}

void CQVTMarkupUIElementCollection::AddMethod(LPDISPATCH pDispatch)
{
    InsertMethod(-1, pDispatch);
}

void CQVTMarkupUIElementCollection::InsertMethod(long nIndex, LPDISPATCH pDispatch)
{
    if (pDispatch == nullptr)
        AfxThrowOleException(E_INVALIDARG);
    CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pDispatch, TRUE);
    const int nCount = GetCount();
    Insert(static_cast<int>(nIndex), pObject);
    // Refused: the reference stays with us.
    if (GetCount() == nCount)
        pObject->InternalRelease();
}

void CQVTMarkupUIElementCollection::ClearMethod()
{
    RemoveAll();
}

void CQVTMarkupUIElementCollection::RemoveAtMethod(long nIndex)
{
    RemoveAt(static_cast<int>(nIndex));
}

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
