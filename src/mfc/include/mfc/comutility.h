// _bstr_t and _variant_t: value wrappers over BSTR and VARIANT. Every
// conversion goes through oleaut32 (SysAllocString, VariantChangeType,
// VariantCopy); failures raise _com_error through _com_issue_error.
//
// Integer widths under Winelib: long is 64 bits and also serves as
// __int64/LONGLONG, LONG is int. So the long constructor stores VT_I4 when
// the value fits 32 bits (what Windows code passing a long expects) and
// VT_I8 otherwise; pass VT_I8 explicitly to force it. int (LONG, HRESULT)
// stores VT_I4 unless told VT_INT. The unsigned forms mirror this.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

class _variant_t;

// Raise a _com_error for hr (defined with _com_error, in comdef.h).
[[noreturn]] void WINAPI _com_issue_error(HRESULT hr);
// As above, with the error information punk offers for riid, if any.
[[noreturn]] void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid);

namespace _com_util {
// Conversions between the ANSI code page and BSTR; the caller frees the
// result (SysFreeString / delete[]). Throw _com_error(E_OUTOFMEMORY).
BSTR WINAPI ConvertStringToBSTR(const char* pSrc);
char* WINAPI ConvertBSTRToString(BSTR pSrc);
}  // namespace _com_util

// A shared, reference-counted BSTR. Copies share one string; operations that
// change the text give this object a new string of its own, so other copies
// never see the change.
class _bstr_t
{
public:
    _bstr_t() noexcept : m_Data(nullptr) {}
    _bstr_t(const _bstr_t& s) noexcept;
    _bstr_t(_bstr_t&& s) noexcept : m_Data(s.m_Data) { s.m_Data = nullptr; }
    _bstr_t(const char* s);
    _bstr_t(const OLECHAR* s);
    _bstr_t(const _variant_t& var);
    // fCopy false takes ownership of bstr.
    _bstr_t(BSTR bstr, bool fCopy);
    ~_bstr_t() noexcept { _Free(); }

    _bstr_t& operator=(const _bstr_t& s) noexcept;
    _bstr_t& operator=(_bstr_t&& s) noexcept;
    _bstr_t& operator=(const char* s);
    _bstr_t& operator=(const OLECHAR* s);
    _bstr_t& operator=(const _variant_t& var);

    _bstr_t& operator+=(const _bstr_t& s);
    _bstr_t operator+(const _bstr_t& s) const;
    friend _bstr_t operator+(const char* s1, const _bstr_t& s2);
    friend _bstr_t operator+(const OLECHAR* s1, const _bstr_t& s2);

    operator const OLECHAR*() const noexcept;
    operator OLECHAR*() const noexcept;
    // ANSI text made on first use and owned by the shared string.
    operator const char*() const;
    operator char*() const;

    // True when there is no string at all (an empty BSTR is a string).
    bool operator!() const noexcept;
    bool operator==(const _bstr_t& str) const noexcept { return _Compare(str) == 0; }
    bool operator!=(const _bstr_t& str) const noexcept { return _Compare(str) != 0; }
    bool operator<(const _bstr_t& str) const noexcept { return _Compare(str) < 0; }
    bool operator>(const _bstr_t& str) const noexcept { return _Compare(str) > 0; }
    bool operator<=(const _bstr_t& str) const noexcept { return _Compare(str) <= 0; }
    bool operator>=(const _bstr_t& str) const noexcept { return _Compare(str) >= 0; }

    // A BSTR the caller owns: a copy, or (fCopy false) the wrapped one.
    BSTR copy(bool fCopy = true) const;
    unsigned int length() const noexcept;

    // Replace the text with a copy of s.
    void Assign(BSTR s);
    // The wrapped BSTR by reference; unshared first so writes stay ours.
    BSTR& GetBSTR();
    // Frees the text and returns a slot for an [out] BSTR parameter.
    BSTR* GetAddress();
    // Take ownership of s.
    void Attach(BSTR s);
    // Give up the BSTR; the caller frees it. A shared string is copied.
    BSTR Detach();

private:
    struct Data_t;
    Data_t* m_Data;

    explicit _bstr_t(Data_t* data) noexcept : m_Data(data) {}
    void _Free() noexcept;
    void _Unshare();
    int _Compare(const _bstr_t& str) const noexcept;
};

// VARIANT with value semantics. Extractors convert through
// VariantChangeType and throw _com_error on failure.
class _variant_t : public tagVARIANT
{
public:
    _variant_t() noexcept { VariantInit(this); }
    _variant_t(const VARIANT& varSrc);
    _variant_t(const VARIANT* pSrc);
    _variant_t(const _variant_t& varSrc);
    _variant_t(_variant_t&& varSrc) noexcept;
    // fCopy false takes varSrc's contents and leaves it VT_EMPTY.
    _variant_t(VARIANT& varSrc, bool fCopy);

    _variant_t(short sSrc, VARTYPE vtSrc = VT_I2);  // VT_I2, VT_BOOL
    _variant_t(int iSrc, VARTYPE vtSrc = VT_I4);    // VT_I4, VT_INT, VT_ERROR, VT_BOOL
    _variant_t(long lSrc, VARTYPE vtSrc = VT_I4);   // VT_I4/VT_I8 (see above), VT_ERROR, VT_BOOL
    _variant_t(float fltSrc) noexcept;
    _variant_t(double dblSrc, VARTYPE vtSrc = VT_R8);  // VT_R8, VT_DATE
    _variant_t(const CY& cySrc) noexcept;
    _variant_t(const _bstr_t& bstrSrc);
    _variant_t(const OLECHAR* pSrc);
    _variant_t(const char* pSrc);
    _variant_t(IDispatch* pSrc, bool fAddRef = true) noexcept;
    _variant_t(bool boolSrc) noexcept;
    _variant_t(IUnknown* pSrc, bool fAddRef = true) noexcept;
    _variant_t(const DECIMAL& decSrc) noexcept;
    _variant_t(BYTE bSrc) noexcept;
    _variant_t(char cSrc) noexcept;
    _variant_t(unsigned short usSrc) noexcept;
    _variant_t(unsigned int uiSrc, VARTYPE vtSrc = VT_UI4);   // VT_UI4, VT_UINT
    _variant_t(unsigned long ulSrc, VARTYPE vtSrc = VT_UI4);  // VT_UI4/VT_UI8
    _variant_t(long long i8Src) : _variant_t(long(i8Src), VT_I8) {}
    _variant_t(unsigned long long ui8Src) : _variant_t((unsigned long)ui8Src, VT_UI8) {}

    ~_variant_t() noexcept { VariantClear(this); }

    // Extractors: the value converted to the type, or _com_error.
    operator short() const;
    operator unsigned short() const;
    operator int() const;
    operator unsigned int() const;
    operator long() const;
    operator unsigned long() const;
    operator float() const;
    operator double() const;
    operator CY() const;
    operator _bstr_t() const;
    operator IDispatch*() const;  // AddRef'd for the caller
    operator bool() const;
    operator IUnknown*() const;  // AddRef'd for the caller
    operator DECIMAL() const;
    operator BYTE() const;
    operator char() const;

    _variant_t& operator=(const VARIANT& varSrc);
    _variant_t& operator=(const VARIANT* pSrc);
    _variant_t& operator=(const _variant_t& varSrc);
    _variant_t& operator=(_variant_t&& varSrc) noexcept;
    _variant_t& operator=(short sSrc) { return _Replace(_variant_t(sSrc)); }
    _variant_t& operator=(int iSrc) { return _Replace(_variant_t(iSrc)); }
    _variant_t& operator=(long lSrc) { return _Replace(_variant_t(lSrc)); }
    _variant_t& operator=(float fltSrc) { return _Replace(_variant_t(fltSrc)); }
    _variant_t& operator=(double dblSrc) { return _Replace(_variant_t(dblSrc)); }
    _variant_t& operator=(const CY& cySrc) { return _Replace(_variant_t(cySrc)); }
    _variant_t& operator=(const _bstr_t& bstrSrc) { return _Replace(_variant_t(bstrSrc)); }
    _variant_t& operator=(const OLECHAR* pSrc) { return _Replace(_variant_t(pSrc)); }
    _variant_t& operator=(const char* pSrc) { return _Replace(_variant_t(pSrc)); }
    _variant_t& operator=(IDispatch* pSrc) { return _Replace(_variant_t(pSrc)); }
    _variant_t& operator=(bool boolSrc) { return _Replace(_variant_t(boolSrc)); }
    _variant_t& operator=(IUnknown* pSrc) { return _Replace(_variant_t(pSrc)); }
    _variant_t& operator=(const DECIMAL& decSrc) { return _Replace(_variant_t(decSrc)); }
    _variant_t& operator=(BYTE bSrc) { return _Replace(_variant_t(bSrc)); }
    _variant_t& operator=(char cSrc) { return _Replace(_variant_t(cSrc)); }
    _variant_t& operator=(unsigned short usSrc) { return _Replace(_variant_t(usSrc)); }
    _variant_t& operator=(unsigned int uiSrc) { return _Replace(_variant_t(uiSrc)); }
    _variant_t& operator=(unsigned long ulSrc) { return _Replace(_variant_t(ulSrc)); }
    _variant_t& operator=(long long i8Src) { return _Replace(_variant_t(i8Src)); }
    _variant_t& operator=(unsigned long long ui8Src) { return _Replace(_variant_t(ui8Src)); }

    // Same type and same value (strings by content, interfaces by pointer).
    bool operator==(const VARIANT& varSrc) const noexcept;
    bool operator==(const VARIANT* pSrc) const noexcept;
    bool operator!=(const VARIANT& varSrc) const noexcept { return !(*this == varSrc); }
    bool operator!=(const VARIANT* pSrc) const noexcept { return !(*this == pSrc); }

    void Clear();
    void Attach(VARIANT& varSrc);
    VARIANT Detach() noexcept;
    VARIANT& GetVARIANT() noexcept { return *this; }
    // Clears and returns the VARIANT for an [out] parameter.
    VARIANT* GetAddress();
    // Convert in place (or from pSrc); throws _com_error on failure.
    void ChangeType(VARTYPE vartype, const _variant_t* pSrc = NULL);
    void SetString(const char* pSrc);

private:
    _variant_t& _Replace(_variant_t&& other) noexcept;
    // A copy of this value as vt, or _com_error.
    _variant_t _ConvertedTo(VARTYPE vt) const;
};
