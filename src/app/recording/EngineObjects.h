// Small helpers for talking to the media engine: a counted reference, a BSTR
// made for one call, and creation by class id.
#pragma once

#include <afx.h>

#include <utility>

#include "engine/MediaEngine.h"

template <class T>
class CEngineRef
{
public:
    CEngineRef() = default;
    // Adopts a reference the caller already owns.
    explicit CEngineRef(T* p) : m_p(p) {}
    CEngineRef(const CEngineRef& other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CEngineRef(CEngineRef&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CEngineRef& operator=(CEngineRef other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~CEngineRef() { Reset(); }

    void Reset()
    {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }
    // Takes a new reference to p.
    void Assign(T* p)
    {
        if (p)
            p->AddRef();
        Reset();
        m_p = p;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }
    T** Out()
    {
        Reset();
        return &m_p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    template <class U>
    HRESULT QueryTo(const IID& iid, CEngineRef<U>& out) const
    {
        if (!m_p)
        {
            out.Reset();
            return E_POINTER;
        }
        return m_p->QueryInterface(iid, out.OutVoid());
    }

private:
    T* m_p = nullptr;
};

// A BSTR for one engine call; running out of memory raises the framework's
// memory exception.
class CEngineString
{
public:
    explicit CEngineString(LPCTSTR psz)
    {
        m_b = SysAllocString(psz ? psz : _T(""));
        if (!m_b)
            AfxThrowMemoryException();
    }
    ~CEngineString() { SysFreeString(m_b); }
    CEngineString(const CEngineString&) = delete;
    CEngineString& operator=(const CEngineString&) = delete;
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};

// Takes a BSTR the engine handed out, frees it and returns its text.
inline CString TakeEngineString(BSTR b)
{
    CString s(b ? b : _T(""));
    SysFreeString(b);
    return s;
}

template <class T>
HRESULT CreateEngineObject(const CLSID& clsid, const IID& iid, CEngineRef<T>& out)
{
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out.OutVoid());
}
