// Calling markup objects through their dispatch interfaces by member name,
// as script engines do, and the variants such calls take.
#pragma once

#include <afxwin.h>

#include <vector>

inline HRESULT InvokeByName(IDispatch* pDispatch, LPCWSTR lpszName, WORD wFlags,
                            std::vector<VARIANT> args = {}, VARIANT* pResult = nullptr)
{
    LPOLESTR lpszMember = const_cast<LPOLESTR>(lpszName);
    DISPID id = 0;
    HRESULT hr = pDispatch->GetIDsOfNames(IID_NULL, &lpszMember, 1, 0, &id);
    if (FAILED(hr))
        return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID idPut = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), wFlags == DISPATCH_PROPERTYPUT ? &idPut : nullptr,
                         static_cast<UINT>(reversed.size()), wFlags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO info = {};
    hr = pDispatch->Invoke(id, IID_NULL, 0, wFlags, &params, pResult, &info, nullptr);
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    return hr;
}

// A real BSTR (callees read its length prefix), kept until the program ends.
inline VARIANT Text(LPCWSTR lpszText)
{
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = ::SysAllocString(lpszText);
    return v;
}

inline VARIANT Int(long nValue)
{
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = nValue;
    return v;
}
