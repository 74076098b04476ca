#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace QVTMarkupAutomation {
long AFXAPI GetInt(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, long nDefault)
{
    return GetMarkupEnumValue(pObject->GetValue(pProperty), nDefault);
}

void AFXAPI SetInt(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, long nValue)
{
    pObject->SetValue(pProperty, new CQVTMarkupInt(nValue));
}

void AFXAPI SetEnum(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, long nValue)
{
    pObject->SetValue(pProperty, new CQVTMarkupEnum(nValue));
}

BOOL AFXAPI GetBool(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, BOOL bDefault)
{
    CQVTMarkupBool* pValue = MarkupCast<CQVTMarkupBool>(pObject->GetValue(pProperty));
    return pValue != nullptr ? pValue->GetValue() : bDefault;
}

void AFXAPI SetBool(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, BOOL bValue)
{
    pObject->SetValue(pProperty, bValue ? CQVTMarkupBool::CreateTrue() : CQVTMarkupBool::CreateFalse());
}

double AFXAPI GetDouble(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, double dDefault)
{
    CQVTMarkupDouble* pValue = MarkupCast<CQVTMarkupDouble>(pObject->GetValue(pProperty));
    return pValue != nullptr ? pValue->GetValue() : dDefault;
}

void AFXAPI SetDouble(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, double dValue)
{
    pObject->SetValue(pProperty, new CQVTMarkupDouble(dValue));
}

VARIANT AFXAPI GetTag(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty)
{
    VARIANT result;
    ::VariantInit(&result);
    CQVTMarkupObject* pTag = pObject->GetValue(pProperty);
    if (pTag == nullptr)
    {
        V_VT(&result) = VT_NULL;
    }
    else if (CQVTMarkupString* pText = MarkupCast<CQVTMarkupString>(pTag))
    {
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = ::SysAllocString(pText->GetText());
    }
    else
    {
        V_VT(&result) = VT_DISPATCH;
        V_DISPATCH(&result) = DispatchOf(pTag);
    }
    return result;
}

void AFXAPI SetTag(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, const VARIANT& value)
{
    if (V_VT(&value) == VT_BSTR)
        pObject->SetValue(pProperty,
                          CQVTMarkupString::CreateValue(V_BSTR(&value) != nullptr ? V_BSTR(&value) : u""));
}

LPDISPATCH AFXAPI DispatchOf(CQVTMarkupObject* pObject)
{
    return pObject != nullptr ? pObject->GetIDispatch(TRUE) : nullptr;
}

LPDISPATCH AFXAPI GetObjectValue(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty)
{
    return DispatchOf(pObject->GetValue(pProperty));
}

void AFXAPI SetObjectValue(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty,
                           LPDISPATCH pDispatch)
{
    if (pDispatch == nullptr)
    {
        pObject->ClearValue(pProperty);
        return;
    }
    CQVTMarkupObject* pValue = CQVTMarkupObject::FromDispatch(pDispatch, FALSE);
    if (!pValue->IsKindOf(pProperty->GetPropertyType()))
        AfxThrowOleException(E_INVALIDARG);
    pValue->InternalAddRef();
    pObject->SetValue(pProperty, pValue);
}
}  // namespace QVTMarkupAutomation
