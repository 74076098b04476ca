// The IEnumVARIANT scripts walk a markup collection with (for each): the
// items as their dispatch interfaces, from a position of its own.
#pragma once

#include <afxwin.h>

class CQVTMarkupCollection;

class CQVTMarkupElementEnumerator : public IEnumVARIANT
{
public:
    // Holds a reference on the collection; the count starts at 1.
    CQVTMarkupElementEnumerator(CQVTMarkupCollection* pCollection, int nPosition);
    virtual ~CQVTMarkupElementEnumerator();

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Next)(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched) override;
    STDMETHOD(Skip)(ULONG celt) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumVARIANT** ppEnum) override;

private:
    LONG m_nRefCount;
    CQVTMarkupCollection* m_pCollection;  // counted
    int m_nPosition;
};
