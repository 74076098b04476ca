// COleVariant: VARIANT with MFC's constructors; failures throw COleException.
#include <afxdisp.h>

#include <climits>
#include <cstring>

#include "mfc/com/variantequality.h"

namespace {

void CheckOle(HRESULT hr)
{
    if (FAILED(hr))
    {
        if (hr == E_OUTOFMEMORY)
            AfxThrowMemoryException();
        AfxThrowOleException(hr);
    }
}

BSTR AllocOrThrow(const OLECHAR* text, UINT length)
{
    BSTR result = SysAllocStringLen(text, length);
    if (!result)
        AfxThrowMemoryException();
    return result;
}

UINT TextLength(LPCTSTR text)
{
    UINT n = 0;
    while (text[n])
        ++n;
    return n;
}

}  // namespace

COleVariant::COleVariant(const VARIANT& varSrc)
{
    VariantInit(this);
    CheckOle(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
}

COleVariant::COleVariant(LPCVARIANT pSrc)
{
    VariantInit(this);
    if (pSrc)
        CheckOle(VariantCopy(this, const_cast<VARIANT*>(pSrc)));
}

COleVariant::COleVariant(const COleVariant& varSrc)
{
    VariantInit(this);
    CheckOle(VariantCopy(this, const_cast<COleVariant*>(&varSrc)));
}

COleVariant::COleVariant(COleVariant&& varSrc) noexcept
{
    memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&varSrc), sizeof(VARIANT));
    varSrc.vt = VT_EMPTY;
}

COleVariant::COleVariant(LPCTSTR lpszSrc)
{
    VariantInit(this);
    SetString(lpszSrc, VT_BSTR);
}

COleVariant::COleVariant(LPCTSTR lpszSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    SetString(lpszSrc, vtSrc);
}

COleVariant::COleVariant(const CString& strSrc)
{
    VariantInit(this);
    bstrVal = AllocOrThrow(strSrc.GetString(), UINT(strSrc.GetLength()));
    vt = VT_BSTR;
}

COleVariant::COleVariant(BYTE nSrc)
{
    VariantInit(this);
    vt = VT_UI1;
    bVal = nSrc;
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_BOOL)
        boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else if (vtSrc == VT_I2)
        iVal = nSrc;
    else
        AfxThrowInvalidArgException();
    vt = vtSrc;
}

COleVariant::COleVariant(int lSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    switch (vtSrc)
    {
    case VT_I4:
        lVal = lSrc;
        break;
    case VT_INT:
        intVal = lSrc;
        break;
    case VT_ERROR:
        scode = lSrc;
        break;
    case VT_BOOL:
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        AfxThrowInvalidArgException();
    }
    vt = vtSrc;
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    bool narrow = lSrc >= INT_MIN && lSrc <= INT_MAX;
    if (vtSrc == VT_I4 && !narrow)
        vtSrc = VT_I8;  // never cut a 64-bit value to 32 bits
    switch (vtSrc)
    {
    case VT_I4:
        lVal = LONG(lSrc);
        break;
    case VT_I8:
        llVal = lSrc;
        break;
    case VT_ERROR:
        if (!narrow)
            AfxThrowInvalidArgException();
        scode = SCODE(lSrc);
        break;
    case VT_BOOL:
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        AfxThrowInvalidArgException();
    }
    vt = vtSrc;
}

COleVariant::COleVariant(unsigned int nSrc)
{
    VariantInit(this);
    vt = VT_UI4;
    ulVal = nSrc;
}

COleVariant::COleVariant(unsigned long nSrc)
{
    VariantInit(this);
    if (nSrc <= UINT_MAX)
    {
        vt = VT_UI4;
        ulVal = ULONG(nSrc);
    }
    else
    {
        vt = VT_UI8;
        ullVal = nSrc;
    }
}

COleVariant::COleVariant(unsigned long long nSrc)
{
    VariantInit(this);
    vt = VT_UI8;
    ullVal = nSrc;
}

COleVariant::COleVariant(float fltSrc)
{
    VariantInit(this);
    vt = VT_R4;
    fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc)
{
    VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::COleVariant(const COleDateTime& timeSrc)
{
    VariantInit(this);
    vt = VT_DATE;
    date = timeSrc.m_dt;
}

COleVariant::COleVariant(const CY& cySrc)
{
    VariantInit(this);
    vt = VT_CY;
    cyVal = cySrc;
}

void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc)
{
    if (!pSrc)
        pSrc = this;
    if (pSrc != this || vartype != vt)
        CheckOle(VariantChangeType(this, pSrc, 0, vartype));
}

void COleVariant::Attach(VARIANT& varSrc)
{
    CheckOle(VariantClear(this));
    memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
    varSrc.vt = VT_EMPTY;
}

VARIANT COleVariant::Detach()
{
    VARIANT result;
    memcpy(&result, static_cast<VARIANT*>(this), sizeof(VARIANT));
    vt = VT_EMPTY;
    return result;
}

void COleVariant::SetString(LPCTSTR lpszSrc, VARTYPE vtSrc)
{
    if (vtSrc != VT_BSTR)
        AfxThrowInvalidArgException();
    BSTR text = lpszSrc ? AllocOrThrow(lpszSrc, TextLength(lpszSrc)) : nullptr;
    VariantClear(this);
    vt = VT_BSTR;
    bstrVal = text;
}

BOOL COleVariant::operator==(const VARIANT& varSrc) const
{
    return SondrelVariantsEqual(this, &varSrc);
}

BOOL COleVariant::operator==(LPCVARIANT pSrc) const
{
    return SondrelVariantsEqual(this, pSrc);
}

const COleVariant& COleVariant::Replace(COleVariant&& other) noexcept
{
    VariantClear(this);
    memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
    other.vt = VT_EMPTY;
    return *this;
}

const COleVariant& COleVariant::operator=(const VARIANT& varSrc)
{
    if (&varSrc != this)
        Replace(COleVariant(varSrc));
    return *this;
}

const COleVariant& COleVariant::operator=(LPCVARIANT pSrc)
{
    if (pSrc != this)
        Replace(COleVariant(pSrc));
    return *this;
}

const COleVariant& COleVariant::operator=(const COleVariant& varSrc)
{
    if (&varSrc != this)
        Replace(COleVariant(varSrc));
    return *this;
}

const COleVariant& COleVariant::operator=(COleVariant&& varSrc) noexcept
{
    if (&varSrc != this)
        Replace(std::move(varSrc));
    return *this;
}

const COleVariant& COleVariant::operator=(const COleDateTime& dateSrc)
{
    return Replace(COleVariant(dateSrc));
}
