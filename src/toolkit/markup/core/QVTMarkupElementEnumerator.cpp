#include "toolkit/markup/core/QVTMarkupElementEnumerator.h"

#include "toolkit/markup/core/QVTMarkupCollection.h"

CQVTMarkupElementEnumerator::CQVTMarkupElementEnumerator(CQVTMarkupCollection* pCollection, int nPosition)
    : m_nRefCount(1), m_pCollection(pCollection), m_nPosition(nPosition)
{
    if (m_pCollection != nullptr)
        m_pCollection->InternalAddRef();
}

CQVTMarkupElementEnumerator::~CQVTMarkupElementEnumerator()
{
    if (m_pCollection != nullptr)
        m_pCollection->InternalRelease();
}

STDMETHODIMP CQVTMarkupElementEnumerator::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumVARIANT))
    {
        *ppvObject = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CQVTMarkupElementEnumerator::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefCount));
}

STDMETHODIMP_(ULONG) CQVTMarkupElementEnumerator::Release()
{
    const LONG nCount = ::InterlockedDecrement(&m_nRefCount);
    if (nCount == 0)
        delete this;
    return static_cast<ULONG>(nCount < 0 ? 0 : nCount);
}

STDMETHODIMP CQVTMarkupElementEnumerator::Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched)
{
    if (rgVar == nullptr && celt != 0)
        return E_POINTER;
    const int nCount = m_pCollection != nullptr ? m_pCollection->GetCount() : 0;
    ULONG nFetched = 0;
    while (nFetched < celt && m_nPosition >= 0 && m_nPosition < nCount)
    {
        CQVTMarkupObject* pItem = m_pCollection->GetLogicalChild(m_nPosition++);
        ::VariantInit(&rgVar[nFetched]);
        V_VT(&rgVar[nFetched]) = VT_DISPATCH;
        V_DISPATCH(&rgVar[nFetched]) = pItem != nullptr ? pItem->GetIDispatch(TRUE) : nullptr;
        ++nFetched;
    }
    if (pCeltFetched != nullptr)
        *pCeltFetched = nFetched;
    return nFetched == celt ? S_OK : S_FALSE;
}

STDMETHODIMP CQVTMarkupElementEnumerator::Skip(ULONG celt)
{
    const int nCount = m_pCollection != nullptr ? m_pCollection->GetCount() : 0;
    const __int64 nTarget = __int64(m_nPosition) + celt;
    if (nTarget >= nCount)
    {
        m_nPosition = nCount > 0 ? nCount - 1 : 0;
        return S_FALSE;
    }
    m_nPosition = static_cast<int>(nTarget);
    return S_OK;
}

STDMETHODIMP CQVTMarkupElementEnumerator::Reset()
{
    m_nPosition = 0;
    return S_OK;
}

STDMETHODIMP CQVTMarkupElementEnumerator::Clone(IEnumVARIANT** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    // A COM method: a failed allocation is an error code, not an exception.
    try
    {
        *ppEnum = new CQVTMarkupElementEnumerator(m_pCollection, m_nPosition);
    }
    catch (...)
    {
        *ppEnum = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
