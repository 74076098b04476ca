// The player's event sink: a dispatch interface that hands each event to a
// member function of its owner, chosen by dispid from a table (the first
// entry whose dispid matches, or is -1, takes it).
#pragma once

#include <afx.h>
#include <afxmt.h>

#include <vector>

#include "engine/MediaEngine.h"

template <class TOwner>
class CEventsHelper : public IDispatch
{
public:
    typedef HRESULT (TOwner::*Handler)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                       DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                       UINT* puArgErr);

    explicit CEventsHelper(TOwner* pOwner) : m_pOwner(pOwner) {}
    virtual ~CEventsHelper()
    {
        CSingleLock lock(&m_lock, TRUE);
        m_handlers.clear();
    }
    CEventsHelper(const CEventsHelper&) = delete;
    CEventsHelper& operator=(const CEventsHelper&) = delete;

    void AddHandler(DISPID dispid, Handler pfn)
    {
        CSingleLock lock(&m_lock, TRUE);
        m_handlers.push_back({dispid, pfn});
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, DIID__IMediaPlayer5Events) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, IID_IUnknown))
        {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG nRefs = InterlockedDecrement(&m_nRefs);
        if (nRefs == 0)
            delete this;
        return nRefs;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                               DISPID* rgDispId) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override
    {
        CSingleLock lock(&m_lock, TRUE);
        for (const Entry& entry : m_handlers)
        {
            if (entry.dispid != dispIdMember && entry.dispid != -1)
                continue;
            // The engine's thread must never meet our exceptions.
            try
            {
                return (m_pOwner->*entry.pfn)(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult,
                                              pExcepInfo, puArgErr);
            }
            catch (CException* e)
            {
                e->Delete();
                return E_FAIL;
            }
            catch (...)
            {
                return E_FAIL;
            }
        }
        return E_NOTIMPL;
    }

private:
    struct Entry
    {
        DISPID dispid;
        Handler pfn;
    };

    TOwner* m_pOwner;
    LONG m_nRefs = 1;
    CCriticalSection m_lock;  // guards the table
    std::vector<Entry> m_handlers;
};
