#include "toolkit/markup/script/QVTActiveScriptEngine.h"

#include "toolkit/markup/core/QVTMarkupGuard.h"

namespace {
// The engines' interfaces are in none of the platform's import libraries.
const IID kIIDActiveScript = {0xbb1a2ae1, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
const IID kIIDActiveScriptParse = {
    0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};
}  // namespace

const IID QVT_IID_IActiveScriptSite = {
    0xdb01a1e3, 0xa42b, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};

namespace {
template <class T>
void ReleaseInterface(T*& p)
{
    if (p != nullptr)
    {
        T* pOld = p;
        p = nullptr;
        pOld->Release();
    }
}

}  // namespace

BEGIN_INTERFACE_MAP(CQVTActiveScriptEngine, CQVTCmdTarget)
    INTERFACE_PART(CQVTActiveScriptEngine, QVT_IID_IActiveScriptSite, ActiveScriptSite)
END_INTERFACE_MAP()

CQVTActiveScriptEngine::CQVTActiveScriptEngine()
    : m_pHostSite(nullptr), m_pScript(nullptr), m_pParser(nullptr), m_pScriptDispatch(nullptr), m_lastError{},
      m_bHasLastError(FALSE)
{
}

CQVTActiveScriptEngine::~CQVTActiveScriptEngine()
{
    Close();
}

HRESULT CQVTActiveScriptEngine::Create(LPCWSTR lpszLanguage, IActiveScriptSite* pHostSite)
{
    Close();
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(lpszLanguage, &clsid);
    if (SUCCEEDED(hr))
        hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, kIIDActiveScript,
                                reinterpret_cast<void**>(&m_pScript));
    if (SUCCEEDED(hr))
        hr = m_pScript->QueryInterface(kIIDActiveScriptParse, reinterpret_cast<void**>(&m_pParser));
    if (SUCCEEDED(hr))
        hr = m_pParser->InitNew();
    if (SUCCEEDED(hr))
        hr = m_pScript->SetScriptSite(&m_xActiveScriptSite);
    if (FAILED(hr))
    {
        Close();
        return hr;
    }
    m_pHostSite = pHostSite;
    if (m_pHostSite != nullptr)
        m_pHostSite->AddRef();
    return S_OK;
}

HRESULT CQVTActiveScriptEngine::AddNamedItem(LPCWSTR lpszName, IUnknown* pObject, DWORD dwFlags)
{
    if (m_pScript == nullptr || lpszName == nullptr)
        return E_UNEXPECTED;
    const HRESULT hr = m_pScript->AddNamedItem(lpszName, dwFlags);
    if (SUCCEEDED(hr) && pObject != nullptr)
    {
        pObject->AddRef();
        IUnknown*& pSlot = m_namedItems[CString(lpszName)];
        if (pSlot != nullptr)
            pSlot->Release();
        pSlot = pObject;
    }
    return hr;
}

IUnknown* CQVTActiveScriptEngine::GetNamedItem(LPCWSTR lpszName) const
{
    if (lpszName == nullptr)
        return nullptr;
    auto it = m_namedItems.find(CString(lpszName));
    return it != m_namedItems.end() ? it->second : nullptr;
}

HRESULT CQVTActiveScriptEngine::ParseScript(LPCWSTR lpszCode)
{
    if (m_pScript == nullptr || m_pParser == nullptr)
        return E_UNEXPECTED;
    ClearLastError();
    // A started engine runs new code at once: taking it back to initialised
    // would drop what the code running now stands on.
    SCRIPTSTATE state = SCRIPTSTATE_UNINITIALIZED;
    HRESULT hr = m_pScript->GetScriptState(&state);
    if (SUCCEEDED(hr) && state == SCRIPTSTATE_UNINITIALIZED)
        hr = m_pScript->SetScriptState(SCRIPTSTATE_INITIALIZED);
    if (SUCCEEDED(hr))
        hr = m_pParser->ParseScriptText(lpszCode, nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE,
                                        nullptr, nullptr);
    return hr;
}

HRESULT CQVTActiveScriptEngine::Run()
{
    if (m_pScript == nullptr)
        return E_UNEXPECTED;
    ClearLastError();
    const HRESULT hr = m_pScript->SetScriptState(SCRIPTSTATE_CONNECTED);
    if (SUCCEEDED(hr) && m_pScriptDispatch == nullptr)
        m_pScript->GetScriptDispatch(nullptr, &m_pScriptDispatch);
    return hr;
}

BOOL CQVTActiveScriptEngine::IsStarted() const
{
    SCRIPTSTATE state = SCRIPTSTATE_UNINITIALIZED;
    return m_pScript != nullptr && SUCCEEDED(m_pScript->GetScriptState(&state)) &&
           (state == SCRIPTSTATE_STARTED || state == SCRIPTSTATE_CONNECTED);
}

void CQVTActiveScriptEngine::Close()
{
    ClearLastError();
    if (m_pScript != nullptr)
        m_pScript->SetScriptState(SCRIPTSTATE_DISCONNECTED);
    ReleaseInterface(m_pScriptDispatch);
    ReleaseInterface(m_pHostSite);
    ReleaseInterface(m_pParser);
    if (m_pScript != nullptr)
    {
        m_pScript->Close();
        ReleaseInterface(m_pScript);
    }
    std::map<CString, IUnknown*> items;
    items.swap(m_namedItems);
    for (auto& item : items)
        item.second->Release();
}

void CQVTActiveScriptEngine::ClearLastError()
{
    ::SysFreeString(m_lastError.bstrSource);
    ::SysFreeString(m_lastError.bstrDescription);
    ::SysFreeString(m_lastError.bstrHelpFile);
    m_lastError = EXCEPINFO{};
    m_bHasLastError = FALSE;
}

void CQVTActiveScriptEngine::StoreLastError(const EXCEPINFO& info)
{
    ClearLastError();
    m_lastError = info;
    m_lastError.bstrSource = info.bstrSource != nullptr ? ::SysAllocString(info.bstrSource) : nullptr;
    m_lastError.bstrDescription =
        info.bstrDescription != nullptr ? ::SysAllocString(info.bstrDescription) : nullptr;
    m_lastError.bstrHelpFile = info.bstrHelpFile != nullptr ? ::SysAllocString(info.bstrHelpFile) : nullptr;
    m_lastError.pfnDeferredFillIn = nullptr;
    m_bHasLastError = TRUE;
}

// The site part

STDMETHODIMP_(ULONG) CQVTActiveScriptEngine::XActiveScriptSite::AddRef()
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->ExternalAddRef();
}

STDMETHODIMP_(ULONG) CQVTActiveScriptEngine::XActiveScriptSite::Release()
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->ExternalRelease();
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return (HRESULT)pThis->ExternalQueryInterface(&iid, ppvObj);
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::GetLCID(LCID* plcid)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->GetLCID(plcid) : E_NOTIMPL;
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::GetItemInfo(LPCOLESTR pstrName, DWORD dwReturnMask,
                                                                    IUnknown** ppiunkItem, ITypeInfo** ppti)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr
               ? pThis->m_pHostSite->GetItemInfo(pstrName, dwReturnMask, ppiunkItem, ppti)
               : TYPE_E_ELEMENTNOTFOUND;
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::GetDocVersionString(BSTR* pbstrVersion)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->GetDocVersionString(pbstrVersion) : E_NOTIMPL;
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::OnScriptTerminate(const VARIANT* pvarResult,
                                                                          const EXCEPINFO* pexcepinfo)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->OnScriptTerminate(pvarResult, pexcepinfo)
                                         : S_OK;
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::OnStateChange(SCRIPTSTATE ssScriptState)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->OnStateChange(ssScriptState) : S_OK;
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::OnScriptError(IActiveScriptError* pscripterror)
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return MarkupGuard<HRESULT>(E_UNEXPECTED, [&]() {
        if (pscripterror != nullptr)
        {
            EXCEPINFO info = {};
            if (SUCCEEDED(pscripterror->GetExceptionInfo(&info)))
            {
                if (info.pfnDeferredFillIn != nullptr)
                    info.pfnDeferredFillIn(&info);
                pThis->StoreLastError(info);
                ::SysFreeString(info.bstrSource);
                ::SysFreeString(info.bstrDescription);
                ::SysFreeString(info.bstrHelpFile);
            }
        }
        return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->OnScriptError(pscripterror) : E_NOTIMPL;
    });
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::OnEnterScript()
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->OnEnterScript() : S_OK;
}

STDMETHODIMP CQVTActiveScriptEngine::XActiveScriptSite::OnLeaveScript()
{
    METHOD_PROLOGUE(CQVTActiveScriptEngine, ActiveScriptSite)
    return pThis->m_pHostSite != nullptr ? pThis->m_pHostSite->OnLeaveScript() : S_OK;
}
