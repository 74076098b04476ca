// The media file's event sink of CFileDesc (declared in FileDesc.h).
#include "app/files/FileDesc.h"

STDMETHODIMP CVideoFileEvent::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, DIID__IMediaFile5Events) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IUnknown))
    {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CVideoFileEvent::AddRef()
{
    return InterlockedIncrement(&m_nRefs);
}

STDMETHODIMP_(ULONG) CVideoFileEvent::Release()
{
    LONG nRefs = InterlockedDecrement(&m_nRefs);
    if (nRefs == 0)
        delete this;
    return nRefs;
}

STDMETHODIMP CVideoFileEvent::GetTypeInfoCount(UINT* pctinfo)
{
    return E_NOTIMPL;
}

STDMETHODIMP CVideoFileEvent::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo)
{
    return E_NOTIMPL;
}

STDMETHODIMP CVideoFileEvent::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId)
{
    return E_NOTIMPL;
}

STDMETHODIMP CVideoFileEvent::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr)
{
    if (dispIdMember != MEDIAFILE_DISPID_PROGRESS)
        return E_NOTIMPL;
    try
    {
        return InvokeProgress(pDispParams, puArgErr);
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

HRESULT CVideoFileEvent::InvokeProgress(DISPPARAMS* pDispParams, UINT* puArgErr)
{
    if (!pDispParams || pDispParams->cArgs < 2 || !pDispParams->rgvarg)
        return DISP_E_BADPARAMCOUNT;
    // Arguments arrive last first: the percentage is the last element.
    VARIANT& percentArg = pDispParams->rgvarg[pDispParams->cArgs - 1];
    VARIANT& cancelArg = pDispParams->rgvarg[pDispParams->cArgs - 2];

    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantChangeType(&value, &percentArg, 0, VT_I4)))
    {
        if (puArgErr)
            *puArgErr = pDispParams->cArgs - 1;
        return DISP_E_TYPEMISMATCH;
    }
    LONG nPercent = value.lVal;
    VariantInit(&value);
    if (FAILED(VariantChangeType(&value, &cancelArg, 0, VT_I2)))
    {
        if (puArgErr)
            *puArgErr = pDispParams->cArgs - 2;
        return DISP_E_TYPEMISMATCH;
    }
    SHORT nCancel = value.iVal;

    CFileDescObserver* pObserver = m_pOwner ? m_pOwner->GetFirstObserver() : nullptr;
    if (pObserver)
        pObserver->OnFileProgress(nPercent, &nCancel);

    if (V_VT(&cancelArg) & VT_BYREF)
    {
        // Both 16-bit kinds a caller may pass the flag as.
        if (V_VT(&cancelArg) == (VT_I2 | VT_BYREF) && cancelArg.piVal)
            *cancelArg.piVal = nCancel;
        else if (V_VT(&cancelArg) == (VT_BOOL | VT_BYREF) && cancelArg.pboolVal)
            *cancelArg.pboolVal = nCancel;
        else if (V_VT(&cancelArg) == (VT_UI2 | VT_BYREF) && cancelArg.puiVal)
            *cancelArg.puiVal = (USHORT)nCancel;
    }
    return S_OK;
}
