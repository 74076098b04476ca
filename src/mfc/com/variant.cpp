// _variant_t: VARIANT with value semantics over oleaut32.
#include <comdef.h>

#include "mfc/com/variantequality.h"

#include <climits>
#include <cstring>

namespace {

void Check(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_error(hr);
}

bool SameBstr(BSTR a, BSTR b)
{
    UINT la = SysStringLen(a), lb = SysStringLen(b);
    return la == lb && (la == 0 || memcmp(a, b, la * sizeof(OLECHAR)) == 0);
}

}  // namespace

_variant_t::_variant_t(const VARIANT& varSrc)
{
    VariantInit(this);
    Check(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
}

_variant_t::_variant_t(const VARIANT* pSrc)
{
    VariantInit(this);
    if (!pSrc)
        _com_issue_error(E_POINTER);
    Check(VariantCopy(this, const_cast<VARIANT*>(pSrc)));
}

_variant_t::_variant_t(const _variant_t& varSrc)
{
    VariantInit(this);
    Check(VariantCopy(this, const_cast<_variant_t*>(&varSrc)));
}

_variant_t::_variant_t(_variant_t&& varSrc) noexcept
{
    memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&varSrc), sizeof(VARIANT));
    V_VT(&varSrc) = VT_EMPTY;
}

_variant_t::_variant_t(VARIANT& varSrc, bool fCopy)
{
    VariantInit(this);
    if (fCopy)
    {
        Check(VariantCopy(this, &varSrc));
    }
    else
    {
        memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
        V_VT(&varSrc) = VT_EMPTY;
    }
}

_variant_t::_variant_t(short sSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_BOOL)
    {
        V_VT(this) = VT_BOOL;
        V_BOOL(this) = sSrc ? VARIANT_TRUE : VARIANT_FALSE;
    }
    else if (vtSrc == VT_I2)
    {
        V_VT(this) = VT_I2;
        V_I2(this) = sSrc;
    }
    else
    {
        _com_issue_error(E_INVALIDARG);
    }
}

_variant_t::_variant_t(int iSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    switch (vtSrc)
    {
    case VT_I4:
        V_I4(this) = iSrc;
        break;
    case VT_INT:
        V_INT(this) = iSrc;
        break;
    case VT_ERROR:
        V_ERROR(this) = iSrc;
        break;
    case VT_BOOL:
        V_BOOL(this) = iSrc ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        _com_issue_error(E_INVALIDARG);
    }
    V_VT(this) = vtSrc;
}

_variant_t::_variant_t(long lSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_I4 && (lSrc < INT_MIN || lSrc > INT_MAX))
        vtSrc = VT_I8;  // a 64-bit value must not be cut to 32 bits
    switch (vtSrc)
    {
    case VT_I4:
        V_I4(this) = LONG(lSrc);
        break;
    case VT_I8:
        V_I8(this) = lSrc;
        break;
    case VT_INT:
    case VT_ERROR:
        if (lSrc < INT_MIN || lSrc > INT_MAX)
            _com_issue_error(DISP_E_OVERFLOW);
        V_I4(this) = LONG(lSrc);
        break;
    case VT_BOOL:
        V_BOOL(this) = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        _com_issue_error(E_INVALIDARG);
    }
    V_VT(this) = vtSrc;
}

_variant_t::_variant_t(float fltSrc) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_R4;
    V_R4(this) = fltSrc;
}

_variant_t::_variant_t(double dblSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc != VT_R8 && vtSrc != VT_DATE)
        _com_issue_error(E_INVALIDARG);
    V_VT(this) = vtSrc;
    V_R8(this) = dblSrc;
}

_variant_t::_variant_t(const CY& cySrc) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_CY;
    V_CY(this) = cySrc;
}

_variant_t::_variant_t(const _bstr_t& bstrSrc)
{
    VariantInit(this);
    BSTR copy = bstrSrc.copy();
    V_VT(this) = VT_BSTR;
    V_BSTR(this) = copy;
}

_variant_t::_variant_t(const OLECHAR* pSrc)
{
    VariantInit(this);
    BSTR copy = nullptr;
    if (pSrc && !(copy = SysAllocString(pSrc)))
        _com_issue_error(E_OUTOFMEMORY);
    V_VT(this) = VT_BSTR;
    V_BSTR(this) = copy;
}

_variant_t::_variant_t(const char* pSrc)
{
    VariantInit(this);
    BSTR converted = _com_util::ConvertStringToBSTR(pSrc);
    V_VT(this) = VT_BSTR;
    V_BSTR(this) = converted;
}

_variant_t::_variant_t(IDispatch* pSrc, bool fAddRef) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_DISPATCH;
    V_DISPATCH(this) = pSrc;
    if (pSrc && fAddRef)
        pSrc->AddRef();
}

_variant_t::_variant_t(bool boolSrc) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_BOOL;
    V_BOOL(this) = boolSrc ? VARIANT_TRUE : VARIANT_FALSE;
}

_variant_t::_variant_t(IUnknown* pSrc, bool fAddRef) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_UNKNOWN;
    V_UNKNOWN(this) = pSrc;
    if (pSrc && fAddRef)
        pSrc->AddRef();
}

_variant_t::_variant_t(const DECIMAL& decSrc) noexcept
{
    VariantInit(this);
    V_DECIMAL(this) = decSrc;  // overlays vt: set the type afterwards
    V_VT(this) = VT_DECIMAL;
}

_variant_t::_variant_t(BYTE bSrc) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_UI1;
    V_UI1(this) = bSrc;
}

_variant_t::_variant_t(char cSrc) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_I1;
    V_I1(this) = cSrc;
}

_variant_t::_variant_t(unsigned short usSrc) noexcept
{
    VariantInit(this);
    V_VT(this) = VT_UI2;
    V_UI2(this) = usSrc;
}

_variant_t::_variant_t(unsigned int uiSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_UI4)
        V_UI4(this) = uiSrc;
    else if (vtSrc == VT_UINT)
        V_UINT(this) = uiSrc;
    else
        _com_issue_error(E_INVALIDARG);
    V_VT(this) = vtSrc;
}

_variant_t::_variant_t(unsigned long ulSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_UI4 && ulSrc > UINT_MAX)
        vtSrc = VT_UI8;
    if (vtSrc == VT_UI4)
        V_UI4(this) = ULONG(ulSrc);
    else if (vtSrc == VT_UI8)
        V_UI8(this) = ulSrc;
    else if (vtSrc == VT_UINT && ulSrc <= UINT_MAX)
        V_UINT(this) = UINT(ulSrc);
    else
        _com_issue_error(E_INVALIDARG);
    V_VT(this) = vtSrc;
}

_variant_t _variant_t::_ConvertedTo(VARTYPE vt) const
{
    _variant_t result;
    Check(VariantChangeType(&result, const_cast<_variant_t*>(this), 0, vt));
    return result;
}

_variant_t::operator short() const
{
    return V_VT(this) == VT_I2 ? V_I2(this) : _ConvertedTo(VT_I2).iVal;
}

_variant_t::operator unsigned short() const
{
    return V_VT(this) == VT_UI2 ? V_UI2(this) : _ConvertedTo(VT_UI2).uiVal;
}

_variant_t::operator int() const
{
    if (V_VT(this) == VT_I4)
        return V_I4(this);
    if (V_VT(this) == VT_INT)
        return V_INT(this);
    return _ConvertedTo(VT_I4).lVal;
}

_variant_t::operator unsigned int() const
{
    if (V_VT(this) == VT_UI4)
        return V_UI4(this);
    if (V_VT(this) == VT_UINT)
        return V_UINT(this);
    return _ConvertedTo(VT_UI4).ulVal;
}

_variant_t::operator long() const
{
    if (V_VT(this) == VT_I4)
        return V_I4(this);
    if (V_VT(this) == VT_I8)
        return V_I8(this);
    return _ConvertedTo(VT_I8).llVal;
}

_variant_t::operator unsigned long() const
{
    if (V_VT(this) == VT_UI4)
        return V_UI4(this);
    if (V_VT(this) == VT_UI8)
        return V_UI8(this);
    return _ConvertedTo(VT_UI8).ullVal;
}

_variant_t::operator float() const
{
    return V_VT(this) == VT_R4 ? V_R4(this) : _ConvertedTo(VT_R4).fltVal;
}

_variant_t::operator double() const
{
    return V_VT(this) == VT_R8 ? V_R8(this) : _ConvertedTo(VT_R8).dblVal;
}

_variant_t::operator CY() const
{
    return V_VT(this) == VT_CY ? V_CY(this) : _ConvertedTo(VT_CY).cyVal;
}

_variant_t::operator _bstr_t() const
{
    if (V_VT(this) == VT_BSTR)
        return _bstr_t(V_BSTR(this), true);
    _variant_t converted = _ConvertedTo(VT_BSTR);
    return _bstr_t(converted.Detach().bstrVal, false);
}

_variant_t::operator IDispatch*() const
{
    IDispatch* result;
    if (V_VT(this) == VT_DISPATCH)
    {
        result = V_DISPATCH(this);
    }
    else
    {
        _variant_t converted = _ConvertedTo(VT_DISPATCH);
        result = V_DISPATCH(&converted);
        if (result)
            result->AddRef();
        return result;  // the temporary's reference goes with it
    }
    if (result)
        result->AddRef();
    return result;
}

_variant_t::operator bool() const
{
    return (V_VT(this) == VT_BOOL ? V_BOOL(this) : _ConvertedTo(VT_BOOL).boolVal) != VARIANT_FALSE;
}

_variant_t::operator IUnknown*() const
{
    IUnknown* result;
    if (V_VT(this) == VT_UNKNOWN)
    {
        result = V_UNKNOWN(this);
    }
    else
    {
        _variant_t converted = _ConvertedTo(VT_UNKNOWN);
        result = V_UNKNOWN(&converted);
    }
    if (result)
        result->AddRef();
    return result;
}

_variant_t::operator DECIMAL() const
{
    DECIMAL result = V_VT(this) == VT_DECIMAL ? V_DECIMAL(this) : _ConvertedTo(VT_DECIMAL).decVal;
    result.wReserved = 0;  // the part that overlays vt
    return result;
}

_variant_t::operator BYTE() const
{
    return V_VT(this) == VT_UI1 ? V_UI1(this) : _ConvertedTo(VT_UI1).bVal;
}

_variant_t::operator char() const
{
    return V_VT(this) == VT_I1 ? V_I1(this) : _ConvertedTo(VT_I1).cVal;
}

_variant_t& _variant_t::_Replace(_variant_t&& other) noexcept
{
    VariantClear(this);
    memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
    V_VT(&other) = VT_EMPTY;
    return *this;
}

_variant_t& _variant_t::operator=(const VARIANT& varSrc)
{
    if (&varSrc != this)
        _Replace(_variant_t(varSrc));
    return *this;
}

_variant_t& _variant_t::operator=(const VARIANT* pSrc)
{
    if (pSrc != this)
        _Replace(_variant_t(pSrc));
    return *this;
}

_variant_t& _variant_t::operator=(const _variant_t& varSrc)
{
    if (&varSrc != this)
        _Replace(_variant_t(varSrc));
    return *this;
}

_variant_t& _variant_t::operator=(_variant_t&& varSrc) noexcept
{
    if (&varSrc != this)
        _Replace(std::move(varSrc));
    return *this;
}

bool _variant_t::operator==(const VARIANT& varSrc) const noexcept
{
    return *this == &varSrc;
}

bool _variant_t::operator==(const VARIANT* pSrc) const noexcept
{
    return SondrelVariantsEqual(this, pSrc);
}

void _variant_t::Clear()
{
    Check(VariantClear(this));
}

void _variant_t::Attach(VARIANT& varSrc)
{
    Clear();
    memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
    V_VT(&varSrc) = VT_EMPTY;
}

VARIANT _variant_t::Detach() noexcept
{
    VARIANT result;
    memcpy(&result, static_cast<VARIANT*>(this), sizeof(VARIANT));
    V_VT(this) = VT_EMPTY;
    return result;
}

VARIANT* _variant_t::GetAddress()
{
    Clear();
    return this;
}

void _variant_t::ChangeType(VARTYPE vartype, const _variant_t* pSrc)
{
    if (!pSrc)
        pSrc = this;
    if (pSrc != this || vartype != V_VT(this))
        Check(VariantChangeType(this, const_cast<_variant_t*>(pSrc), 0, vartype));
}

void _variant_t::SetString(const char* pSrc)
{
    *this = pSrc;
}

bool SondrelVariantsEqual(const VARIANT* a, const VARIANT* pSrc) noexcept
{
    if (!a || !pSrc)
        return false;
    if (pSrc == a)
        return true;
    if (V_VT(a) != V_VT(pSrc))
        return false;
    switch (V_VT(a))
    {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_I1:
        return V_I1(a) == V_I1(pSrc);
    case VT_UI1:
        return V_UI1(a) == V_UI1(pSrc);
    case VT_I2:
        return V_I2(a) == V_I2(pSrc);
    case VT_UI2:
        return V_UI2(a) == V_UI2(pSrc);
    case VT_I4:
        return V_I4(a) == V_I4(pSrc);
    case VT_UI4:
        return V_UI4(a) == V_UI4(pSrc);
    case VT_INT:
        return V_INT(a) == V_INT(pSrc);
    case VT_UINT:
        return V_UINT(a) == V_UINT(pSrc);
    case VT_I8:
        return V_I8(a) == V_I8(pSrc);
    case VT_UI8:
        return V_UI8(a) == V_UI8(pSrc);
    case VT_R4:
        return V_R4(a) == V_R4(pSrc);
    case VT_R8:
    case VT_DATE:
        return V_R8(a) == V_R8(pSrc);
    case VT_CY:
        return V_CY(a).int64 == V_CY(pSrc).int64;
    case VT_BOOL:
        return V_BOOL(a) == V_BOOL(pSrc);
    case VT_ERROR:
        return V_ERROR(a) == V_ERROR(pSrc);
    case VT_BSTR:
        return SameBstr(V_BSTR(a), V_BSTR(pSrc));
    case VT_DISPATCH:
        return V_DISPATCH(a) == V_DISPATCH(pSrc);
    case VT_UNKNOWN:
        return V_UNKNOWN(a) == V_UNKNOWN(pSrc);
    case VT_DECIMAL:
    {
        DECIMAL left = V_DECIMAL(a), right = V_DECIMAL(pSrc);
        return VarDecCmp(&left, &right) == VARCMP_EQ;
    }
    default:
        return VarCmp(const_cast<VARIANT*>(a), const_cast<VARIANT*>(pSrc), LOCALE_USER_DEFAULT, 0) ==
               VARCMP_EQ;
    }
}
