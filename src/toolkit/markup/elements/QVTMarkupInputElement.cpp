#include "toolkit/markup/elements/QVTMarkupInputElement.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/core/QVTMarkupProperties.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/styles/QVTMarkupResourceDictionary.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupInputElement, CQVTMarkupObject, nullptr,
                      &CQVTMarkupInputElement::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pCursorProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pIsMouseOverProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pResourcesProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pStyleProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pIsKeyboardFocusedProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pIsFocusableProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupInputElement::m_pToolTipProperty = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseLeaveEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseEnterEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseLeftButtonUpEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseLeftButtonDownEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseRightButtonUpEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseRightButtonDownEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pMouseMoveEvent = nullptr;
CQVTMarkupRoutedEvent* CQVTMarkupInputElement::m_pLostMouseCaptureEvent = nullptr;

namespace {
// Triggers feeding each other through their setters stop at this depth.
const int kMaxTriggerDepth = 8;
// BasedOn chains walked for triggers; sealing refuses loops, this bounds the rest.
const int kMaxStyleChain = 64;

struct CCursorName
{
    CQVTMarkupString* pKeyword;
    int nCursor;
};

CQVTMarkupObject* AFX_CDECL ConvertCursor(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                          CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    using namespace QVTMarkupKeyword;
    const CCursorName names[] = {{&None, 0},
                                 {&Arrow, 32512},
                                 {&IBeam, 32513},
                                 {&Wait, 32514},
                                 {&QVTMarkupKeyword::Cross, 32515},
                                 {&UpArrow, 32516},
                                 {&SizeNWSE, 32642},
                                 {&SizeNESW, 32643},
                                 {&SizeWE, 32644},
                                 {&SizeNS, 32645},
                                 {&SizeAll, 32646},
                                 {&No, 32648},
                                 {&Hand, 32649},
                                 {&AppStarting, 32650}};
    for (const CCursorName& name : names)
    {
        if (pString->IsEqualNoCase(name.pKeyword))
            return new CQVTMarkupInt(name.nCursor);
    }
    return new CQVTMarkupInt(CQVTMarkupBuilder::ReadWholeNumber(pString->GetText()));
}

BOOL ValuesEqual(CQVTMarkupObject* pFirst, CQVTMarkupObject* pSecond)
{
    if (pFirst == nullptr || pSecond == nullptr)
        return pFirst == pSecond;
    return pFirst == pSecond || pFirst->IsEqual(pSecond);
}

// Old values of the properties a trigger update touches, first record kept.
class COldValues
{
public:
    ~COldValues()
    {
        for (auto& entry : m_entries)
        {
            if (entry.second != nullptr)
                entry.second->InternalRelease();
        }
    }
    void Record(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pValue)
    {
        for (auto& entry : m_entries)
        {
            if (entry.first == pProperty)
                return;
        }
        if (pValue != nullptr)
            pValue->InternalAddRef();
        m_entries.emplace_back(pProperty, pValue);
    }
    std::vector<std::pair<CQVTMarkupDependencyProperty*, CQVTMarkupObject*>> m_entries;
};

void PushToChildren(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty,
                    CQVTMarkupObject* pOld, CQVTMarkupObject* pNew)
{
    const int nCount = pObject->GetLogicalChildrenCount();
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupObject* pChild = pObject->GetLogicalChild(i);
        if (pChild == nullptr)
            continue;
        if (pChild->IsKindOf(pProperty->GetOwnerType()))
            pChild->OnPropertyChanged(pProperty, pOld, pNew);
        PushToChildren(pChild, pProperty, pOld, pNew);
    }
}
}  // namespace

void AFX_CDECL CQVTMarkupInputElement::RegisterMarkupProperties()
{
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupBool::EnsureMarkupClass();
    CQVTMarkupStyle::EnsureMarkupClass();
    CQVTMarkupResourceDictionary::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pCursorProperty = CQVTMarkupDependencyProperty::Register(
        u"Cursor", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertCursor, &OnCursorChanged, 0));
    m_pIsMouseOverProperty = CQVTMarkupDependencyProperty::Register(
        u"IsMouseOver", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), 0));
    m_pResourcesProperty =
        CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupStyle::m_pResourcesProperty, pType);
    m_pStyleProperty =
        CQVTMarkupDependencyProperty::Register(u"Style", CQVTMarkupStyle::GetMarkupType(), pType,
                                               new CQVTMarkupPropertyMetadata(nullptr, &OnStyleChanged, 0));
    m_pIsKeyboardFocusedProperty = CQVTMarkupDependencyProperty::Register(
        u"IsKeyboardFocused", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), QVT_MARKUP_AFFECTS_RENDER));
    m_pIsFocusableProperty = CQVTMarkupDependencyProperty::Register(
        u"IsFocusable", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateFalse(), 0));
    m_pToolTipProperty =
        CQVTMarkupDependencyProperty::Register(u"ToolTip", CQVTMarkupObject::GetMarkupType(), pType);
    m_pMouseLeaveEvent = CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseLeave", 0, pType);
    m_pMouseEnterEvent = CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseEnter", 0, pType);
    m_pMouseLeftButtonUpEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseLeftButtonUp", 0, pType);
    m_pMouseLeftButtonDownEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseLeftButtonDown", 0, pType);
    m_pMouseRightButtonUpEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseRightButtonUp", 0, pType);
    m_pMouseRightButtonDownEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseRightButtonDown", 0, pType);
    m_pMouseMoveEvent = CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"MouseMove", 0, pType);
    m_pLostMouseCaptureEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"LostMouseCapture", 0, pType);
}

CQVTMarkupInputElement::CQVTMarkupInputElement()
    : m_pActiveTriggers(nullptr), m_pTriggerValues(nullptr), m_pStyle(nullptr), m_nTriggerDepth(0)
{
}

CQVTMarkupInputElement::~CQVTMarkupInputElement()
{
    m_pHandlerTable.reset();
    if (m_pActiveTriggers != nullptr)
        m_pActiveTriggers->InternalRelease();
    if (m_pTriggerValues != nullptr)
        m_pTriggerValues->InternalRelease();
    if (m_pStyle != nullptr)
        m_pStyle->InternalRelease();
}

void AFX_CDECL CQVTMarkupInputElement::OnStyleChanged(CQVTMarkupObject* pObject,
                                                      CQVTMarkupPropertyChangedEventArgs* pArgs)
{
    CQVTMarkupInputElement* pElement = static_cast<CQVTMarkupInputElement*>(pObject);
    CQVTMarkupStyle* pStyle = MarkupCast<CQVTMarkupStyle>(pArgs->pNewValue);
    if (pStyle != nullptr)
    {
        pStyle->Seal();
        pStyle->InternalAddRef();
    }
    CQVTMarkupStyle* pOld = pElement->m_pStyle;
    pElement->m_pStyle = pStyle;
    CQVTMarkupProperties::NoteScopeChange();
    if (pOld != nullptr)
        pOld->InternalRelease();
}

void AFX_CDECL CQVTMarkupInputElement::OnCursorChanged(CQVTMarkupObject* pObject,
                                                       CQVTMarkupPropertyChangedEventArgs*)
{
    CQVTMarkupContext* pContext = pObject->GetMarkupContext();
    if (pContext != nullptr && pContext->GetMouseOverElement() != nullptr)
        pContext->QueryCursor();
}

CQVTMarkupObject* CQVTMarkupInputElement::GetLocalValue(CQVTMarkupDependencyProperty* pProperty)
{
    if (CQVTMarkupObject* pValue = CQVTMarkupObject::GetLocalValue(pProperty))
        return pValue;
    if (m_pTriggerValues != nullptr)
    {
        if (CQVTMarkupObject* pValue = m_pTriggerValues->Get(pProperty))
            return pValue;
    }
    if (m_pStyle != nullptr)
    {
        if (CQVTMarkupObject* pValue = m_pStyle->GetMergedValue(pProperty))
            return pValue;
    }
    if (CQVTMarkupStyle* pDefault = GetType()->GetDefaultStyle())
        return pDefault->GetMergedValue(pProperty);
    return nullptr;
}

void CQVTMarkupInputElement::SetPropertyObject(CQVTMarkupBuilder* pBuilder,
                                               CQVTMarkupDependencyProperty* pProperty,
                                               CQVTMarkupObject* pValue)
{
    if (pProperty == nullptr || !pProperty->IsEvent())
    {
        CQVTMarkupObject::SetPropertyObject(pBuilder, pProperty, pValue);
        return;
    }
    CQVTMarkupContext* pContext = GetMarkupContext();
    if (pContext == nullptr)
        CQVTMarkupBuilder::ThrowBuilderError(u"Markup Context is NULL");
    CQVTMarkupString* pName = MarkupCast<CQVTMarkupString>(pValue);
    LPCWSTR lpszName = pName != nullptr ? pName->GetText() : u"";
    CQVTMarkupDelegate* pDelegate = pContext->FindDelegate(lpszName);
    if (pDelegate == nullptr)
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(u"'%ls' delegate not found", lpszName);
    pDelegate->InternalAddRef();
    AddHandler(static_cast<CQVTMarkupRoutedEvent*>(pProperty), pDelegate);
}

void CQVTMarkupInputElement::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                               CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    CQVTMarkupObject::OnPropertyChanged(pProperty, pOldValue, pNewValue);
    UpdateTriggers(pProperty);
}

void CQVTMarkupInputElement::OnMouseLeave(CQVTMarkupMouseEventArgs*)
{
    ClearValue(m_pIsMouseOverProperty);
}

void CQVTMarkupInputElement::OnMouseEnter(CQVTMarkupMouseEventArgs*)
{
    SetValue(m_pIsMouseOverProperty, CQVTMarkupBool::CreateTrue());
}

void CQVTMarkupInputElement::OnMouseMove(CQVTMarkupMouseEventArgs*) {}

void CQVTMarkupInputElement::OnQueryCursor(CQVTMarkupQueryCursorEventArgs* pArgs)
{
    CQVTMarkupInt* pCursor = MarkupCast<CQVTMarkupInt>(GetValue(m_pCursorProperty));
    if (pCursor == nullptr)
        return;
    pArgs->SetHandled(TRUE);
    pArgs->SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(pCursor->GetValue())));
}

void CQVTMarkupInputElement::OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs*) {}
void CQVTMarkupInputElement::OnMouseRightButtonUp(CQVTMarkupMouseButtonEventArgs*) {}
void CQVTMarkupInputElement::OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs*) {}
void CQVTMarkupInputElement::OnMouseRightButtonDown(CQVTMarkupMouseButtonEventArgs*) {}
void CQVTMarkupInputElement::OnLostMouseCapture(CQVTMarkupMouseEventArgs*) {}
void CQVTMarkupInputElement::OnMouseWheel(CQVTMarkupMouseWheelEventArgs*) {}

CQVTMarkupInputElement* CQVTMarkupInputElement::InputHitTest(POINT)
{
    return nullptr;
}

void CQVTMarkupInputElement::ApplyImplicitStyle()
{
    ApplyFoundStyle(m_pStyle == nullptr ? CQVTMarkupResourceDictionary::FindResource(this, GetType())
                                        : nullptr);
}

void CQVTMarkupInputElement::ApplyFoundStyle(CQVTMarkupObject* pFound)
{
    if (m_pStyle == nullptr)
    {
        CQVTMarkupStyle* pStyle = MarkupCast<CQVTMarkupStyle>(pFound);
        if (pStyle != nullptr)
        {
            pStyle->Seal();
            pStyle->InternalAddRef();
            m_pStyle = pStyle;
            CQVTMarkupProperties::NoteScopeChange();
        }
    }
    if (m_pStyle != nullptr)
        UpdateTriggers(nullptr);
}

BOOL CQVTMarkupInputElement::IsMouseOver()
{
    CQVTMarkupBool* pValue = MarkupCast<CQVTMarkupBool>(GetValue(m_pIsMouseOverProperty));
    return pValue != nullptr && pValue->GetValue();
}

// Routed events

void CQVTMarkupInputElement::AddHandler(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupDelegate* pDelegate)
{
    if (pEvent == nullptr || pDelegate == nullptr)
        return;
    if (m_pHandlerTable == nullptr)
        m_pHandlerTable.reset(new CQVTMarkupEventHandlerTable());
    m_pHandlerTable->Add(pEvent, pDelegate);
}

void CQVTMarkupInputElement::InvokeHandlers(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupRoutedEventArgs* pArgs)
{
    if (m_pHandlerTable != nullptr)
        m_pHandlerTable->Invoke(pEvent, this, pArgs);
}

void CQVTMarkupInputElement::RaiseEvent(CQVTMarkupRoutedEventArgs* pArgs)
{
    if (pArgs == nullptr || pArgs->GetEvent() == nullptr)
        return;
    CQVTMarkupRoutedEvent* pEvent = pArgs->GetEvent();
    if (!pEvent->IsBubbling())
    {
        InvokeHandlers(pEvent, pArgs);
        return;
    }
    // Handlers may release elements of the chain: hold the source.
    CQVTMarkupAutoPtr hold(this);
    InternalAddRef();
    for (CQVTMarkupObject* p = this; p != nullptr; p = p->GetLogicalParent())
    {
        if (CQVTMarkupInputElement* pElement = MarkupCast<CQVTMarkupInputElement>(p))
        {
            pElement->InvokeHandlers(pEvent, pArgs);
            if (pArgs->IsHandled())
                return;
        }
    }
    CQVTMarkupContext* pContext = GetMarkupContext();
    if (pContext != nullptr && pContext->GetHandlerTable() != nullptr)
        pContext->GetHandlerTable()->Invoke(pEvent, this, pArgs);
}

// Triggers

void CQVTMarkupInputElement::ActivateTriggers(CQVTMarkupStyle* pStyle,
                                              CQVTMarkupDependencyProperty* pProperty, BOOL& bChanged)
{
    std::vector<CQVTMarkupStyle*> chain;
    for (CQVTMarkupStyle* p = pStyle; p != nullptr && static_cast<int>(chain.size()) < kMaxStyleChain;
         p = p->GetBasedOn())
    {
        if (std::find(chain.begin(), chain.end(), p) != chain.end())
            break;
        chain.push_back(p);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    {
        CQVTMarkupTriggerCollection* pTriggers = (*it)->GetTriggers();
        if (pTriggers == nullptr)
            continue;
        for (int i = pTriggers->GetCount() - 1; i >= 0; --i)
        {
            CQVTMarkupTrigger* pTrigger = pTriggers->GetAt(i);
            CQVTMarkupDependencyProperty* pTriggerProperty =
                pTrigger != nullptr ? pTrigger->GetProperty() : nullptr;
            if (pTriggerProperty == nullptr || (pProperty != nullptr && pTriggerProperty != pProperty))
                continue;
            if (!ValuesEqual(pTrigger->GetValue(), GetValue(pTriggerProperty)))
                continue;
            if (m_pActiveTriggers == nullptr)
                m_pActiveTriggers = new CQVTMarkupTriggerCollection(FALSE);
            if (m_pActiveTriggers->IndexOf(pTrigger) >= 0)
                continue;
            pTrigger->InternalAddRef();
            m_pActiveTriggers->Add(pTrigger);
            bChanged = TRUE;
        }
    }
}

void CQVTMarkupInputElement::UpdateTriggers(CQVTMarkupDependencyProperty* pProperty)
{
    CQVTMarkupStyle* pStyle = m_pStyle != nullptr ? m_pStyle : GetType()->GetDefaultStyle();
    if (pStyle == nullptr && m_pActiveTriggers == nullptr)
        return;
    if (m_nTriggerDepth >= kMaxTriggerDepth)
        return;
    ++m_nTriggerDepth;
    CQVTMarkupAutoPtr hold(this);
    InternalAddRef();
    try
    {
        COldValues oldValues;
        BOOL bChanged = FALSE;
        if (m_pActiveTriggers != nullptr)
        {
            for (int i = m_pActiveTriggers->GetCount() - 1; i >= 0; --i)
            {
                CQVTMarkupTrigger* pTrigger = m_pActiveTriggers->GetAt(i);
                CQVTMarkupDependencyProperty* pTriggerProperty = pTrigger->GetProperty();
                if (pProperty != nullptr && pTriggerProperty != pProperty)
                    continue;
                if (ValuesEqual(pTrigger->GetValue(), GetValue(pTriggerProperty)))
                    continue;
                if (CQVTMarkupSetterCollection* pSetters = pTrigger->GetSetters())
                {
                    for (int j = 0; j < pSetters->GetCount(); ++j)
                    {
                        CQVTMarkupDependencyProperty* pSetterProperty = pSetters->GetAt(j)->GetProperty();
                        if (pSetterProperty == nullptr || m_pTriggerValues == nullptr)
                            continue;
                        oldValues.Record(pSetterProperty, m_pTriggerValues->Get(pSetterProperty));
                        m_pTriggerValues->Clear(pSetterProperty);
                    }
                }
                m_pActiveTriggers->RemoveAt(i);
                bChanged = TRUE;
            }
        }
        if (pStyle != nullptr)
            ActivateTriggers(pStyle, pProperty, bChanged);
        if (bChanged && m_pActiveTriggers != nullptr)
        {
            for (int i = 0; i < m_pActiveTriggers->GetCount(); ++i)
            {
                CQVTMarkupSetterCollection* pSetters = m_pActiveTriggers->GetAt(i)->GetSetters();
                for (int j = 0; pSetters != nullptr && j < pSetters->GetCount(); ++j)
                {
                    CQVTMarkupSetter* pSetter = pSetters->GetAt(j);
                    CQVTMarkupDependencyProperty* pSetterProperty = pSetter->GetProperty();
                    CQVTMarkupObject* pValue = pSetter->GetValue();
                    if (pSetterProperty == nullptr)
                        continue;
                    if (m_pTriggerValues == nullptr)
                        m_pTriggerValues = new CQVTMarkupProperties(nullptr);
                    CQVTMarkupObject* pCurrent = m_pTriggerValues->Get(pSetterProperty);
                    if (ValuesEqual(pCurrent, pValue))
                        continue;
                    oldValues.Record(pSetterProperty, pCurrent);
                    if (pValue != nullptr)
                        pValue->InternalAddRef();
                    m_pTriggerValues->Set(pSetterProperty, pValue);
                }
            }
        }
        for (auto& entry : oldValues.m_entries)
        {
            CQVTMarkupObject* pNew =
                m_pTriggerValues != nullptr ? m_pTriggerValues->Get(entry.first) : nullptr;
            if (ValuesEqual(entry.second, pNew))
                continue;
            OnPropertyChanged(entry.first, entry.second, pNew);
            if (entry.first->GetFlags() & QVT_MARKUP_INHERITS)
                PushToChildren(this, entry.first, entry.second, pNew);
        }
    }
    catch (...)
    {
        --m_nTriggerDepth;
        throw;
    }
    --m_nTriggerDepth;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupInputElement, CQVTMarkupObject)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "Cursor", 100, GetCursorProperty, SetCursorProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "ToolTip", 101, GetToolTipProperty, SetToolTipProperty,
                        VT_VARIANT)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "IsMouseOver", 102, GetIsMouseOverProperty, SetNotSupported,
                        VT_BOOL)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseLeaveEvent", 104, GetMouseLeaveEventProperty,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseEnterEvent", 105, GetMouseEnterEventProperty,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseLeftButtonUpEvent", 106,
                        GetMouseLeftButtonUpEventProperty, SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseLeftButtonDownEvent", 107,
                        GetMouseLeftButtonDownEventProperty, SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseRightButtonUpEvent", 108,
                        GetMouseRightButtonUpEventProperty, SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseRightButtonDownEvent", 109,
                        GetMouseRightButtonDownEventProperty, SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "MouseMoveEvent", 110, GetMouseMoveEventProperty,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "LostMouseCaptureEvent", 111,
                        GetLostMouseCaptureEventProperty, SetNotSupported, VT_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupInputElement, "FindName", 112, FindNameMethod, VT_DISPATCH, VTS_BSTR)
    DISP_PROPERTY_EX_ID(CQVTMarkupInputElement, "Name", 113, GetNameProperty, SetNameProperty, VT_BSTR)
    DISP_FUNCTION_ID(CQVTMarkupInputElement, "CaptureMouse", 114, CaptureMouseMethod, VT_EMPTY, VTS_NONE)
    DISP_FUNCTION_ID(CQVTMarkupInputElement, "ReleaseMouseCapture", 115, ReleaseMouseCaptureMethod, VT_EMPTY,
                     VTS_NONE)
END_DISPATCH_MAP()

long CQVTMarkupInputElement::GetCursorProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pCursorProperty, 0);
}

void CQVTMarkupInputElement::SetCursorProperty(long nCursor)
{
    QVTMarkupAutomation::SetInt(this, m_pCursorProperty, nCursor);
}

VARIANT CQVTMarkupInputElement::GetToolTipProperty()
{
    VARIANT result;
    ::VariantInit(&result);
    CQVTMarkupObject* pValue = GetValue(m_pToolTipProperty);
    if (pValue == nullptr)
    {
        V_VT(&result) = VT_NULL;
    }
    else if (CQVTMarkupString* pText = MarkupCast<CQVTMarkupString>(pValue))
    {
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = ::SysAllocString(pText->GetText());
    }
    else
    {
        V_VT(&result) = VT_DISPATCH;
        V_DISPATCH(&result) = QVTMarkupAutomation::DispatchOf(pValue);
    }
    return result;
}

void CQVTMarkupInputElement::SetToolTipProperty(const VARIANT& value)
{
    // Only text is taken; anything else leaves the tip as it is.
    if (V_VT(&value) == VT_BSTR)
        SetValue(m_pToolTipProperty,
                 CQVTMarkupString::CreateValue(V_BSTR(&value) != nullptr ? V_BSTR(&value) : u""));
}

BOOL CQVTMarkupInputElement::GetIsMouseOverProperty()
{
    return IsMouseOver();
}

LPDISPATCH CQVTMarkupInputElement::GetMouseLeaveEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseLeaveEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetMouseEnterEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseEnterEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetMouseLeftButtonUpEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseLeftButtonUpEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetMouseLeftButtonDownEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseLeftButtonDownEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetMouseRightButtonUpEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseRightButtonUpEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetMouseRightButtonDownEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseRightButtonDownEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetMouseMoveEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pMouseMoveEvent);
}

LPDISPATCH CQVTMarkupInputElement::GetLostMouseCaptureEventProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pLostMouseCaptureEvent);
}

LPDISPATCH CQVTMarkupInputElement::FindNameMethod(LPCWSTR lpszName)
{
    return QVTMarkupAutomation::DispatchOf(lpszName != nullptr ? FindName(lpszName) : nullptr);
}

BSTR CQVTMarkupInputElement::GetNameProperty()
{
    LPCWSTR lpszName = GetName();
    return ::SysAllocString(lpszName != nullptr ? lpszName : u"");
}

void CQVTMarkupInputElement::SetNameProperty(LPCWSTR lpszName)
{
    SetValue(m_pNameProperty, CQVTMarkupString::CreateValue(lpszName != nullptr ? lpszName : u""));
}

void CQVTMarkupInputElement::CaptureMouseMethod()
{
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->CaptureMouse(this);
}

void CQVTMarkupInputElement::ReleaseMouseCaptureMethod()
{
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->ReleaseMouseCapture();
}
