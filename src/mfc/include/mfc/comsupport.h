// _com_error and the _com_ptr_t smart pointer.
//
// _COM_SMARTPTR_TYPEDEF(I, iid) takes the IID as any const IID object with
// linkage. Both spellings work:
//     _COM_SMARTPTR_TYPEDEF(IStream, IID_IStream);
//     _COM_SMARTPTR_TYPEDEF(IStream, __uuidof(IStream));
// __uuidof is the Windows headers' emulation: it knows every interface and
// class those headers declare; declare one's own interface's id with
// __CRT_UUID_DECL(IMyInterface, 0x..., ...) after its definition.
//
// Errors are thrown as _com_error objects (by value) through
// _com_issue_error, as the compiler's own COM support does.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <ocidl.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "mfc/comutility.h"

class _com_error
{
public:
    // Takes ownership of perrinfo unless fAddRef.
    _com_error(HRESULT hr, IErrorInfo* perrinfo = NULL, bool fAddRef = false) noexcept;
    _com_error(const _com_error& that) noexcept;
    virtual ~_com_error() noexcept;
    _com_error& operator=(const _com_error& that) noexcept;

    HRESULT Error() const noexcept { return m_hresult; }
    WORD WCode() const noexcept { return HRESULTToWCode(m_hresult); }
    // AddRef'd for the caller; NULL when there is none.
    IErrorInfo* ErrorInfo() const noexcept;

    // From the error information, empty when there is none.
    _bstr_t Description() const;
    DWORD HelpContext() const noexcept;
    _bstr_t HelpFile() const;
    _bstr_t Source() const;
    ::GUID GUID() const noexcept;

    // The system's text for the HRESULT (made on first use, owned here), or
    // "IDispatch error #n" / "Unknown error 0x...".
    const TCHAR* ErrorMessage() const noexcept;

    static HRESULT WCodeToHRESULT(WORD wCode) noexcept
    {
        // wCode n maps to 0x80040200 + n, capped at the end of FACILITY_ITF.
        return wCode >= 0xFE00 ? HRESULT(0x8004FFFFu) : HRESULT(0x80040200u + wCode);
    }
    static WORD HRESULTToWCode(HRESULT hr) noexcept
    {
        return (hr >= HRESULT(0x80040200u) && hr <= HRESULT(0x8004FFFFu)) ? WORD(hr - HRESULT(0x80040200u))
                                                                          : 0;
    }

private:
    HRESULT m_hresult;
    IErrorInfo* m_perrinfo;
    mutable TCHAR* m_pszMsg;
};

template <class _Interface, const IID* _IID>
class _com_IIID
{
public:
    typedef _Interface Interface;
    static _Interface* GetInterfacePtr() noexcept { return NULL; }
    static _Interface& GetInterface() noexcept { return *GetInterfacePtr(); }
    static const IID& GetIID() noexcept { return *_IID; }
};

template <class _IIID>
class _com_ptr_t
{
public:
    typedef _IIID ThisIIID;
    typedef typename _IIID::Interface Interface;

    static const IID& GetIID() noexcept { return ThisIIID::GetIID(); }

    _com_ptr_t() noexcept : m_pInterface(NULL) {}
    _com_ptr_t(Interface* pInterface) noexcept : m_pInterface(pInterface) { _AddRef(); }
    _com_ptr_t(Interface* pInterface, bool fAddRef) noexcept : m_pInterface(pInterface)
    {
        if (fAddRef)
            _AddRef();
    }
    _com_ptr_t(const _com_ptr_t& cp) noexcept : m_pInterface(cp.m_pInterface) { _AddRef(); }
    _com_ptr_t(_com_ptr_t&& cp) noexcept : m_pInterface(cp.m_pInterface) { cp.m_pInterface = NULL; }

    // From another interface: QueryInterface; E_NOINTERFACE leaves it NULL,
    // other failures raise.
    template <class _OtherIID>
    _com_ptr_t(const _com_ptr_t<_OtherIID>& p) : m_pInterface(NULL)
    {
        _QueryConstruct(p.GetInterfacePtr());
    }
    template <class _InterfaceType,
              class = typename std::enable_if<!std::is_same<_InterfaceType, Interface>::value>::type>
    _com_ptr_t(_InterfaceType* p) : m_pInterface(NULL)
    {
        _QueryConstruct(p);
    }
    _com_ptr_t(const _variant_t& varSrc) : m_pInterface(NULL)
    {
        _variant_t unknown;
        unknown.ChangeType(VT_UNKNOWN, &varSrc);
        _QueryConstruct(V_UNKNOWN(&unknown));
    }

    // Creates an instance; raises on failure.
    explicit _com_ptr_t(const CLSID& clsid, IUnknown* pOuter = NULL, DWORD dwClsContext = CLSCTX_ALL)
        : m_pInterface(NULL)
    {
        HRESULT hr = CreateInstance(clsid, pOuter, dwClsContext);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
    }
    explicit _com_ptr_t(LPCWSTR str, IUnknown* pOuter = NULL, DWORD dwClsContext = CLSCTX_ALL)
        : m_pInterface(NULL)
    {
        HRESULT hr = CreateInstance(str, pOuter, dwClsContext);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
    }
    explicit _com_ptr_t(LPCSTR str, IUnknown* pOuter = NULL, DWORD dwClsContext = CLSCTX_ALL)
        : m_pInterface(NULL)
    {
        HRESULT hr = CreateInstance(str, pOuter, dwClsContext);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
    }

    ~_com_ptr_t() noexcept { _Release(); }

    _com_ptr_t& operator=(Interface* pInterface) noexcept
    {
        if (m_pInterface != pInterface)
        {
            Interface* old = m_pInterface;
            m_pInterface = pInterface;
            _AddRef();
            if (old)
                old->Release();
        }
        return *this;
    }
    _com_ptr_t& operator=(const _com_ptr_t& cp) noexcept { return operator=(cp.m_pInterface); }
    _com_ptr_t& operator=(_com_ptr_t&& cp) noexcept
    {
        if (this != std::addressof(cp))
        {
            _Release();
            m_pInterface = cp.m_pInterface;
            cp.m_pInterface = NULL;
        }
        return *this;
    }
    template <class _OtherIID>
    _com_ptr_t& operator=(const _com_ptr_t<_OtherIID>& p)
    {
        HRESULT hr = _QueryInterface(p.GetInterfacePtr());
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
        return *this;
    }
    template <class _InterfaceType,
              class = typename std::enable_if<!std::is_same<_InterfaceType, Interface>::value>::type>
    _com_ptr_t& operator=(_InterfaceType* p)
    {
        HRESULT hr = _QueryInterface(p);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
        return *this;
    }
    _com_ptr_t& operator=(const _variant_t& varSrc)
    {
        _com_ptr_t fresh(varSrc);
        return *this = std::move(fresh);
    }

    void Attach(Interface* pInterface) noexcept
    {
        _Release();
        m_pInterface = pInterface;
    }
    void Attach(Interface* pInterface, bool fAddRef) noexcept
    {
        _Release();
        m_pInterface = pInterface;
        if (fAddRef)
            _AddRef();
    }
    Interface* Detach() noexcept
    {
        Interface* old = m_pInterface;
        m_pInterface = NULL;
        return old;
    }

    operator Interface*() const noexcept { return m_pInterface; }
    operator Interface&() const
    {
        if (!m_pInterface)
            _com_issue_error(E_POINTER);
        return *m_pInterface;
    }
    Interface& operator*() const
    {
        if (!m_pInterface)
            _com_issue_error(E_POINTER);
        return *m_pInterface;
    }
    // Releases what is held and returns the slot for an [out] parameter.
    Interface** operator&() noexcept
    {
        _Release();
        return &m_pInterface;
    }
    Interface* operator->() const
    {
        if (!m_pInterface)
            _com_issue_error(E_POINTER);
        return m_pInterface;
    }
    explicit operator bool() const noexcept { return m_pInterface != NULL; }
    bool operator!() const noexcept { return m_pInterface == NULL; }

    // Identity comparisons go through IUnknown, as COM defines identity.
    template <class _OtherIID>
    bool operator==(const _com_ptr_t<_OtherIID>& p) const
    {
        return _CompareUnknown(p.GetInterfacePtr()) == 0;
    }
    template <class _InterfaceType>
    bool operator==(_InterfaceType* p) const
    {
        return _CompareUnknown(p) == 0;
    }
    // NULL, 0 and nullptr arrive here as null pointers.
    bool operator==(Interface* p) const { return _CompareUnknown(p) == 0; }
    template <class _OtherIID>
    bool operator!=(const _com_ptr_t<_OtherIID>& p) const
    {
        return !(*this == p);
    }
    template <class _InterfaceType>
    bool operator!=(_InterfaceType* p) const
    {
        return !(*this == p);
    }
    bool operator!=(Interface* p) const { return !(*this == p); }
    template <class _OtherIID>
    bool operator<(const _com_ptr_t<_OtherIID>& p) const
    {
        return _CompareUnknown(p.GetInterfacePtr()) < 0;
    }
    template <class _InterfaceType>
    bool operator<(_InterfaceType* p) const
    {
        return _CompareUnknown(p) < 0;
    }
    template <class _OtherIID>
    bool operator>(const _com_ptr_t<_OtherIID>& p) const
    {
        return _CompareUnknown(p.GetInterfacePtr()) > 0;
    }
    template <class _InterfaceType>
    bool operator>(_InterfaceType* p) const
    {
        return _CompareUnknown(p) > 0;
    }
    template <class _OtherIID>
    bool operator<=(const _com_ptr_t<_OtherIID>& p) const
    {
        return _CompareUnknown(p.GetInterfacePtr()) <= 0;
    }
    template <class _InterfaceType>
    bool operator<=(_InterfaceType* p) const
    {
        return _CompareUnknown(p) <= 0;
    }
    template <class _OtherIID>
    bool operator>=(const _com_ptr_t<_OtherIID>& p) const
    {
        return _CompareUnknown(p.GetInterfacePtr()) >= 0;
    }
    template <class _InterfaceType>
    bool operator>=(_InterfaceType* p) const
    {
        return _CompareUnknown(p) >= 0;
    }

    // Raise E_POINTER when empty; Release also empties the pointer.
    void AddRef()
    {
        if (!m_pInterface)
            _com_issue_error(E_POINTER);
        m_pInterface->AddRef();
    }
    void Release()
    {
        if (!m_pInterface)
            _com_issue_error(E_POINTER);
        m_pInterface->Release();
        m_pInterface = NULL;
    }

    Interface* GetInterfacePtr() const noexcept { return m_pInterface; }
    Interface*& GetInterfacePtr() noexcept { return m_pInterface; }

    HRESULT CreateInstance(const CLSID& rclsid, IUnknown* pOuter = NULL,
                           DWORD dwClsContext = CLSCTX_ALL) noexcept
    {
        _Release();
        if (pOuter)
        {
            // Aggregation hands out the inner IUnknown only.
            IUnknown* pUnknown = NULL;
            HRESULT hr = CoCreateInstance(rclsid, pOuter, dwClsContext, IID_IUnknown,
                                          reinterpret_cast<void**>(&pUnknown));
            if (FAILED(hr))
                return hr;
            hr = pUnknown->QueryInterface(GetIID(), reinterpret_cast<void**>(&m_pInterface));
            pUnknown->Release();
            return hr;
        }
        return CoCreateInstance(rclsid, NULL, dwClsContext, GetIID(),
                                reinterpret_cast<void**>(&m_pInterface));
    }
    // A "{...}" class id string or a ProgID.
    HRESULT CreateInstance(LPCWSTR clsidString, IUnknown* pOuter = NULL,
                           DWORD dwClsContext = CLSCTX_ALL) noexcept
    {
        if (!clsidString)
            return E_INVALIDARG;
        CLSID clsid;
        HRESULT hr = clsidString[0] == u'{' ? CLSIDFromString(clsidString, &clsid)
                                            : CLSIDFromProgID(clsidString, &clsid);
        if (FAILED(hr))
            return hr;
        return CreateInstance(clsid, pOuter, dwClsContext);
    }
    HRESULT CreateInstance(LPCSTR clsidStringA, IUnknown* pOuter = NULL,
                           DWORD dwClsContext = CLSCTX_ALL) noexcept
    {
        if (!clsidStringA)
            return E_INVALIDARG;
        int size = MultiByteToWideChar(CP_ACP, 0, clsidStringA, -1, NULL, 0);
        if (size <= 0)
            return HRESULT_FROM_WIN32(GetLastError());
        WCHAR* wide = static_cast<WCHAR*>(CoTaskMemAlloc(size * sizeof(WCHAR)));
        if (!wide)
            return E_OUTOFMEMORY;
        MultiByteToWideChar(CP_ACP, 0, clsidStringA, -1, wide, size);
        HRESULT hr = CreateInstance(static_cast<LPCWSTR>(wide), pOuter, dwClsContext);
        CoTaskMemFree(wide);
        return hr;
    }

    template <class _InterfaceType>
    HRESULT QueryInterface(const IID& iid, _InterfaceType*& p) noexcept
    {
        if (!m_pInterface)
            return E_POINTER;
        return m_pInterface->QueryInterface(iid, reinterpret_cast<void**>(&p));
    }
    template <class _InterfaceType>
    HRESULT QueryInterface(const IID& iid, _InterfaceType** p) noexcept
    {
        return QueryInterface(iid, *p);
    }

private:
    Interface* m_pInterface;

    void _AddRef() noexcept
    {
        if (m_pInterface)
            m_pInterface->AddRef();
    }
    void _Release() noexcept
    {
        if (m_pInterface)
        {
            Interface* old = m_pInterface;
            m_pInterface = NULL;
            old->Release();
        }
    }

    template <class _InterfaceType>
    HRESULT _QueryInterface(_InterfaceType* p) noexcept
    {
        HRESULT hr = E_NOINTERFACE;
        Interface* fresh = NULL;
        if (p)
            hr = p->QueryInterface(GetIID(), reinterpret_cast<void**>(&fresh));
        _Release();
        m_pInterface = SUCCEEDED(hr) ? fresh : NULL;
        return p ? hr : S_OK;
    }
    template <class _InterfaceType>
    void _QueryConstruct(_InterfaceType* p)
    {
        HRESULT hr = _QueryInterface(p);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
    }

    template <class _InterfaceType>
    int _CompareUnknown(_InterfaceType* p) const
    {
        IUnknown* pu1 = NULL;
        IUnknown* pu2 = NULL;
        if (m_pInterface)
        {
            HRESULT hr = m_pInterface->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pu1));
            if (FAILED(hr))
                _com_issue_error(hr);
            pu1->Release();
        }
        if (p)
        {
            HRESULT hr = p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pu2));
            if (FAILED(hr))
                _com_issue_error(hr);
            pu2->Release();
        }
        return pu1 == pu2 ? 0 : (pu1 < pu2 ? -1 : 1);
    }
};

template <class _InterfaceType, class _IIID>
bool operator==(_InterfaceType* p, const _com_ptr_t<_IIID>& cp)
{
    return cp == p;
}
template <class _InterfaceType, class _IIID>
bool operator!=(_InterfaceType* p, const _com_ptr_t<_IIID>& cp)
{
    return cp != p;
}

#define _COM_SMARTPTR_TYPEDEF(Interface, IID) typedef _com_ptr_t<_com_IIID<Interface, &(IID)>> Interface##Ptr

// Smart pointers for the interfaces the compiler support predefines.
_COM_SMARTPTR_TYPEDEF(IUnknown, IID_IUnknown);
_COM_SMARTPTR_TYPEDEF(IDispatch, IID_IDispatch);
_COM_SMARTPTR_TYPEDEF(IErrorInfo, IID_IErrorInfo);
_COM_SMARTPTR_TYPEDEF(ISupportErrorInfo, IID_ISupportErrorInfo);
_COM_SMARTPTR_TYPEDEF(IStream, IID_IStream);
_COM_SMARTPTR_TYPEDEF(ISequentialStream, IID_ISequentialStream);
_COM_SMARTPTR_TYPEDEF(IPersistStream, IID_IPersistStream);
_COM_SMARTPTR_TYPEDEF(IEnumVARIANT, IID_IEnumVARIANT);
_COM_SMARTPTR_TYPEDEF(IConnectionPoint, IID_IConnectionPoint);
_COM_SMARTPTR_TYPEDEF(IConnectionPointContainer, IID_IConnectionPointContainer);
