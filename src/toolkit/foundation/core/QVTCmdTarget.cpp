#include "toolkit/foundation/core/QVTCmdTarget.h"

const IID IID_IQVTCmdTargetProvider = {
    0x1965CF4C, 0x7BE1, 0x4E09, {0x94, 0xB4, 0xDC, 0xEF, 0x78, 0xB1, 0x6D, 0x04}};

IMPLEMENT_DYNAMIC(CQVTCmdTarget, CCmdTarget)

BEGIN_INTERFACE_MAP(CQVTCmdTarget, CCmdTarget)
    INTERFACE_PART(CQVTCmdTarget, IID_IQVTCmdTargetProvider, CmdTargetProvider)
END_INTERFACE_MAP()

CQVTCmdTarget::CQVTCmdTarget() {}

CQVTCmdTarget::~CQVTCmdTarget() {}

CCmdTarget* AFX_CDECL CQVTCmdTarget::FromInterface(IUnknown* pUnknown)
{
    if (!pUnknown)
        return nullptr;

    IQVTCmdTargetProvider* pProvider = nullptr;
    if (SUCCEEDED(
            pUnknown->QueryInterface(IID_IQVTCmdTargetProvider, reinterpret_cast<void**>(&pProvider))) &&
        pProvider)
    {
        CCmdTarget* pTarget = pProvider->GetCmdTarget();
        pProvider->Release();
        return pTarget;
    }

    IDispatch* pDispatch = nullptr;
    if (SUCCEEDED(pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDispatch))) && pDispatch)
    {
        CCmdTarget* pTarget = CCmdTarget::FromIDispatch(pDispatch);
        pDispatch->Release();
        return pTarget;
    }
    return nullptr;
}

STDMETHODIMP_(ULONG) CQVTCmdTarget::XCmdTargetProvider::AddRef()
{
    METHOD_PROLOGUE(CQVTCmdTarget, CmdTargetProvider)
    return pThis->ExternalAddRef();
}

STDMETHODIMP_(ULONG) CQVTCmdTarget::XCmdTargetProvider::Release()
{
    METHOD_PROLOGUE(CQVTCmdTarget, CmdTargetProvider)
    return pThis->ExternalRelease();
}

STDMETHODIMP CQVTCmdTarget::XCmdTargetProvider::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    METHOD_PROLOGUE(CQVTCmdTarget, CmdTargetProvider)
    return static_cast<HRESULT>(pThis->ExternalQueryInterface(&iid, ppvObj));
}

CCmdTarget* STDMETHODCALLTYPE CQVTCmdTarget::XCmdTargetProvider::GetCmdTarget()
{
    METHOD_PROLOGUE(CQVTCmdTarget, CmdTargetProvider)
    return pThis;
}
