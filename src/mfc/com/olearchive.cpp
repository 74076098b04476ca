// Archive forms of COleVariant, COleDateTime and COleDateTimeSpan.
#include <afxdisp.h>

#include <cstring>
#include <vector>

namespace {

[[noreturn]] void ThrowCorrupt(CArchive& ar)
{
    AfxThrowArchiveException(CArchiveException::badIndex,
                             ar.m_strFileName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(ar.m_strFileName));
}

// Reads a byte count of string data in pieces, so a damaged count meets the
// end of the archive before it can make a huge allocation.
BSTR ReadBstrBytes(CArchive& ar, DWORD byteCount)
{
    if (byteCount == 0)
        return nullptr;
    std::vector<BYTE> bytes;
    const DWORD piece = 64 * 1024;
    for (DWORD done = 0; done < byteCount;)
    {
        DWORD now = std::min(piece, byteCount - done);
        bytes.resize(done + now);
        ar.EnsureRead(bytes.data() + done, now);
        done += now;
    }
    BSTR result = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(bytes.data()), byteCount);
    if (!result)
        AfxThrowMemoryException();
    return result;
}

template <class T>
T ReadRaw(CArchive& ar)
{
    T value;
    ar.EnsureRead(&value, sizeof value);
    return value;
}

}  // namespace

CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& varSrc)
{
    const VARIANT* v = &varSrc;
    if (v->vt & (VT_BYREF | VT_ARRAY))
        AfxThrowNotSupportedException();
    switch (v->vt)
    {
    case VT_DISPATCH:
    case VT_UNKNOWN:
        AfxThrowNotSupportedException();
    default:
        break;
    }
    ar << WORD(v->vt);
    switch (v->vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        break;
    case VT_BOOL:
        ar << WORD(v->boolVal);
        break;
    case VT_UI1:
        ar << v->bVal;
        break;
    case VT_I1:
        ar << BYTE(v->cVal);
        break;
    case VT_I2:
        ar << WORD(v->iVal);
        break;
    case VT_UI2:
        ar << WORD(v->uiVal);
        break;
    case VT_I4:
        ar << UINT(v->lVal);
        break;
    case VT_UI4:
        ar << UINT(v->ulVal);
        break;
    case VT_INT:
        ar << UINT(v->intVal);
        break;
    case VT_UINT:
        ar << UINT(v->uintVal);
        break;
    case VT_ERROR:
        ar << UINT(v->scode);
        break;
    case VT_I8:
        ar << LONGLONG(v->llVal);
        break;
    case VT_UI8:
        ar << ULONGLONG(v->ullVal);
        break;
    case VT_CY:
        ar << UINT(v->cyVal.Lo);
        ar << UINT(v->cyVal.Hi);
        break;
    case VT_R4:
        ar << v->fltVal;
        break;
    case VT_R8:
        ar << v->dblVal;
        break;
    case VT_DATE:
        ar << v->date;
        break;
    case VT_BSTR:
    {
        DWORD byteCount = SysStringByteLen(v->bstrVal);
        ar << UINT(byteCount);
        if (byteCount)
            ar.Write(v->bstrVal, byteCount);
        break;
    }
    default:
        AfxThrowNotSupportedException();
    }
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc)
{
    varSrc.Clear();
    WORD type = 0;
    ar >> type;
    // Build the value aside, so a failure leaves the variant empty.
    VARIANT value;
    VariantInit(&value);
    switch (type)
    {
    case VT_EMPTY:
    case VT_NULL:
        break;
    case VT_BOOL:
        value.boolVal = VARIANT_BOOL(ReadRaw<WORD>(ar));
        break;
    case VT_UI1:
        value.bVal = ReadRaw<BYTE>(ar);
        break;
    case VT_I1:
        value.cVal = static_cast<signed char>(ReadRaw<BYTE>(ar));
        break;
    case VT_I2:
        value.iVal = ReadRaw<SHORT>(ar);
        break;
    case VT_UI2:
        value.uiVal = ReadRaw<USHORT>(ar);
        break;
    case VT_I4:
        value.lVal = ReadRaw<LONG>(ar);
        break;
    case VT_UI4:
        value.ulVal = ReadRaw<ULONG>(ar);
        break;
    case VT_INT:
        value.intVal = ReadRaw<INT>(ar);
        break;
    case VT_UINT:
        value.uintVal = ReadRaw<UINT>(ar);
        break;
    case VT_ERROR:
        value.scode = ReadRaw<SCODE>(ar);
        break;
    case VT_I8:
        value.llVal = ReadRaw<LONGLONG>(ar);
        break;
    case VT_UI8:
        value.ullVal = ReadRaw<ULONGLONG>(ar);
        break;
    case VT_CY:
        value.cyVal.Lo = ReadRaw<ULONG>(ar);
        value.cyVal.Hi = ReadRaw<LONG>(ar);
        break;
    case VT_R4:
        value.fltVal = ReadRaw<FLOAT>(ar);
        break;
    case VT_R8:
        value.dblVal = ReadRaw<DOUBLE>(ar);
        break;
    case VT_DATE:
        value.date = ReadRaw<DATE>(ar);
        break;
    case VT_BSTR:
        value.bstrVal = ReadBstrBytes(ar, ReadRaw<DWORD>(ar));
        break;
    default:
        ThrowCorrupt(ar);
    }
    value.vt = type;
    varSrc.Attach(value);
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTime& dateSrc)
{
    ar << int(dateSrc.m_status);
    return ar << dateSrc.m_dt;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc)
{
    int status = ReadRaw<int>(ar);
    DATE dt = ReadRaw<DATE>(ar);
    dateSrc.m_dt = dt;
    // A status the type doesn't know can only come from damage.
    dateSrc.m_status = status >= COleDateTime::error && status <= COleDateTime::null
                           ? COleDateTime::DateTimeStatus(status)
                           : COleDateTime::invalid;
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTimeSpan& dateSpanSrc)
{
    ar << int(dateSpanSrc.m_status);
    return ar << dateSpanSrc.m_span;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTimeSpan& dateSpanSrc)
{
    int status = ReadRaw<int>(ar);
    double span = ReadRaw<double>(ar);
    dateSpanSrc.m_span = span;
    dateSpanSrc.m_status = status >= COleDateTimeSpan::valid && status <= COleDateTimeSpan::null
                               ? COleDateTimeSpan::DateTimeSpanStatus(status)
                               : COleDateTimeSpan::invalid;
    return ar;
}
