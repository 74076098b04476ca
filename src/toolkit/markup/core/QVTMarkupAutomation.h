// What the dispatch tables of markup classes share: reading and writing a
// dependency property as an automation value. Values written become new
// value objects; objects travel as their own dispatch interfaces.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupDependencyProperty;

namespace QVTMarkupAutomation {
// A whole-number or enumeration value, nDefault when unset.
long AFXAPI GetInt(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, long nDefault);
void AFXAPI SetInt(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, long nValue);
void AFXAPI SetEnum(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, long nValue);
BOOL AFXAPI GetBool(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, BOOL bDefault);
void AFXAPI SetBool(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, BOOL bValue);
double AFXAPI GetDouble(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, double dDefault);
void AFXAPI SetDouble(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, double dValue);
// The value's dispatch interface with a reference for the caller, or null.
LPDISPATCH AFXAPI GetObjectValue(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty);
// The markup object behind the interface becomes the value (null clears);
// an interface of another kind, or an object of the wrong type, raises
// E_INVALIDARG, which reaches the caller as a dispatch error.
void AFXAPI SetObjectValue(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty,
                           LPDISPATCH pDispatch);
// A tag: VT_NULL when unset, a string as VT_BSTR, any other object as its
// interface. Only a string is written; other variants are ignored.
VARIANT AFXAPI GetTag(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty);
void AFXAPI SetTag(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty, const VARIANT& value);
// The object's own interface with a reference for the caller; null for none.
LPDISPATCH AFXAPI DispatchOf(CQVTMarkupObject* pObject);
}  // namespace QVTMarkupAutomation
