// The markup context's script half, apart from its layout and input half: the
// script state the builder fills and runs, the Active Scripting site the
// engine talks to, and the named items scripts see.
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupContextInternalDispatch.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/core/QVTMarkupGuard.h"
#include "toolkit/markup/core/QVTMarkupObject.h"
#include "toolkit/markup/elements/QVTMarkupVisual.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"
#include "toolkit/markup/script/QVTActiveScriptEngine.h"
#include "toolkit/markup/script/QVTActiveScriptStdRuntime.h"

namespace {
const WCHAR kStdRuntimeItem[] = u"__QVTActiveScriptStdRuntime";
const WCHAR kContextItem[] = u"MarkupContext";

}  // namespace

void CQVTMarkupContext::AddScript(CQVTMarkupBuilder*, LPCWSTR lpszLanguage, LPCWSTR lpszCode)
{
    const CString strLanguage(lpszLanguage != nullptr ? lpszLanguage : u"");
    if (m_pScriptEngine != nullptr && strLanguage != m_strScriptLanguage)
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(
            u"'%ls' script engine is not allowed to use when '%ls' is already used.", strLanguage.GetString(),
            m_strScriptLanguage.GetString());
    if (m_pScriptEngine == nullptr)
    {
        m_pScriptEngine = new CQVTActiveScriptEngine();
        HRESULT hr = m_pScriptEngine->Create(strLanguage, &m_xActiveScriptSite);
        if (SUCCEEDED(hr))
            hr = m_pScriptEngine->AddNamedItem(kStdRuntimeItem, nullptr, SCRIPTITEM_GLOBALMEMBERS);
        if (SUCCEEDED(hr))
        {
            CStringArray arrNames;
            GetNamedItems(arrNames);
            for (INT_PTR i = 0; i < arrNames.GetSize() && SUCCEEDED(hr); ++i)
                hr = m_pScriptEngine->AddNamedItem(arrNames[i], nullptr, SCRIPTITEM_ISVISIBLE);
        }
        if (FAILED(hr))
        {
            CloseScript();
            CQVTMarkupBuilder::ThrowComError(hr);
        }
        m_strScriptLanguage = strLanguage;
    }
    m_arrScripts.emplace_back(lpszCode != nullptr ? lpszCode : u"");
}

void CQVTMarkupContext::AddNamedElements(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pElement)
{
    if (m_pScriptEngine == nullptr || pElement == nullptr)
        return;
    if (LPCWSTR lpszName = pElement->GetName())
    {
        const HRESULT hr = m_pScriptEngine->AddNamedItem(
            lpszName, reinterpret_cast<IUnknown*>(pElement->GetIDispatch(FALSE)), SCRIPTITEM_ISVISIBLE);
        if (FAILED(hr))
            CQVTMarkupBuilder::ThrowComError(hr);
        ++m_mapScriptHolds[pElement];
    }
    // Scripts see what is shown: the names of the visual tree.
    CQVTMarkupVisual* pVisual = MarkupCast<CQVTMarkupVisual>(pElement);
    const int nCount = pVisual != nullptr ? pVisual->GetVisualChildrenCount() : 0;
    for (int i = 0; i < nCount; ++i)
        AddNamedElements(pBuilder, pVisual->GetVisualChild(i));
}

void CQVTMarkupContext::RunScripts(CQVTMarkupBuilder*)
{
    if (m_pScriptEngine == nullptr)
        return;
    // The platform's engines report an error in running code to the site
    // and still answer success: the recorded error fails the load as well.
    // Texts run once: a later parse into the same engine runs only its own.
    std::vector<CString> arrScripts;
    arrScripts.swap(m_arrScripts);
    for (const CString& strCode : arrScripts)
    {
        const HRESULT hr = m_pScriptEngine->ParseScript(strCode);
        if (FAILED(hr) || m_pScriptEngine->HasLastError())
            ThrowScriptError(FAILED(hr) ? hr : E_FAIL);
    }
    // A parse asked for by the engine's own first run: the engine queues the
    // new code behind what it runs now, and starting it again would run the
    // whole queue once more from inside itself.
    if (IsInScriptParse() && !m_pScriptEngine->IsStarted())
        return;
    const HRESULT hr = m_pScriptEngine->Run();
    if (FAILED(hr) || m_pScriptEngine->HasLastError())
        ThrowScriptError(FAILED(hr) ? hr : E_FAIL);
    // Event attributes name script functions: without a handler object of
    // its own, the script's global names answer them.
    if (m_pDelegateMap != nullptr && m_pDelegateMap->GetHandler() == nullptr)
        m_pDelegateMap->SetHandler(m_pScriptEngine->GetScriptDispatch());
}

void CQVTMarkupContext::ThrowScriptError(HRESULT hr)
{
    if (m_pScriptEngine == nullptr || !m_pScriptEngine->HasLastError())
        CQVTMarkupBuilder::ThrowComError(hr);
    const EXCEPINFO& error = m_pScriptEngine->GetLastError();
    const unsigned nCode = static_cast<unsigned>(error.scode != 0 ? error.scode : error.wCode);
    CQVTMarkupBuilder::ThrowBuilderErrorFormat(
        u"Script error [0x%08X]: %ls", nCode,
        error.bstrDescription != nullptr ? static_cast<LPCWSTR>(error.bstrDescription) : u"<unknown>");
}

void CQVTMarkupContext::AddScriptRoot(CQVTMarkupObject* pRoot)
{
    if (m_pScriptEngine != nullptr && pRoot != nullptr)
        m_arrScriptRoots.push_back(pRoot);
}

void CQVTMarkupContext::OnHostReleased()
{
    m_bHostReleased = TRUE;
    CloseScriptWhenUnused();
}

void CQVTMarkupContext::CloseScriptWhenUnused()
{
    if (!m_bHostReleased || m_pScriptEngine == nullptr)
        return;
    for (CQVTMarkupObject* pRoot : m_arrScriptRoots)
    {
        if (!IsHeldOnlyByScripts(pRoot))
            return;
    }
    // Closing lets go of the engine's references, the last ones on the context.
    AddRef();
    CloseScript();
    Release();
}

BOOL CQVTMarkupContext::IsHeldOnlyByScripts(CQVTMarkupObject* pRoot)
{
    auto it = m_mapScriptHolds.find(pRoot);
    return it != m_mapScriptHolds.end() && static_cast<long>(pRoot->m_dwRef) <= it->second;
}

void CQVTMarkupContext::CloseScript()
{
    m_arrScriptRoots.clear();
    m_mapScriptHolds.clear();
    m_arrScripts.clear();
    m_strScriptLanguage.Empty();
    if (m_pScriptEngine != nullptr)
    {
        if (m_pDelegateMap != nullptr && m_pDelegateMap->GetHandler() != nullptr &&
            m_pDelegateMap->GetHandler() == m_pScriptEngine->GetScriptDispatch())
            m_pDelegateMap->SetHandler(nullptr);
        CQVTActiveScriptEngine* pEngine = m_pScriptEngine;
        m_pScriptEngine = nullptr;
        pEngine->Close();
        pEngine->InternalRelease();
    }
    if (m_pStdRuntime != nullptr)
    {
        CQVTActiveScriptStdRuntime* pRuntime = m_pStdRuntime;
        m_pStdRuntime = nullptr;
        pRuntime->InternalRelease();
    }
}

void CQVTMarkupContext::GetNamedItems(CStringArray& arrNames)
{
    arrNames.Add(kContextItem);
}

HRESULT CQVTMarkupContext::GetNamedItem(LPCWSTR lpszName, IUnknown** ppUnknown)
{
    if (ppUnknown == nullptr)
        return E_POINTER;
    *ppUnknown = nullptr;
    if (lpszName == nullptr || _tcscmp(lpszName, kContextItem) != 0)
        return E_NOINTERFACE;
    *ppUnknown = GetInternalDispatch()->GetIDispatch(TRUE);
    return *ppUnknown != nullptr ? S_OK : E_NOINTERFACE;
}

CQVTMarkupContextInternalDispatch* CQVTMarkupContext::GetInternalDispatch()
{
    if (m_pInternalDispatch == nullptr)
        m_pInternalDispatch = new CQVTMarkupContextInternalDispatch(this);
    return m_pInternalDispatch;
}

// The site

STDMETHODIMP CQVTMarkupContext::CScriptSite::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, QVT_IID_IActiveScriptSite))
    {
        *ppvObject = static_cast<IActiveScriptSite*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CQVTMarkupContext::CScriptSite::AddRef()
{
    return m_pContext->AddRef();
}

STDMETHODIMP_(ULONG) CQVTMarkupContext::CScriptSite::Release()
{
    return m_pContext->Release();
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::GetLCID(LCID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::GetItemInfo(LPCOLESTR pstrName, DWORD dwReturnMask,
                                                         IUnknown** ppiunkItem, ITypeInfo** ppti)
{
    return MarkupGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
        if (ppti != nullptr && (dwReturnMask & SCRIPTINFO_ITYPEINFO) != 0)
            *ppti = nullptr;
        if ((dwReturnMask & SCRIPTINFO_IUNKNOWN) == 0)
            return TYPE_E_ELEMENTNOTFOUND;
        if (ppiunkItem == nullptr)
            return E_POINTER;
        *ppiunkItem = nullptr;
        if (pstrName != nullptr && _tcscmp(pstrName, kStdRuntimeItem) == 0)
        {
            if (m_pContext->m_pStdRuntime == nullptr)
                m_pContext->m_pStdRuntime = new CQVTActiveScriptStdRuntime();
            *ppiunkItem = m_pContext->m_pStdRuntime->GetIDispatch(TRUE);
            return S_OK;
        }
        HRESULT hr = m_pContext->GetNamedItem(pstrName, ppiunkItem);
        if (*ppiunkItem != nullptr)
            return hr;
        IUnknown* pElement = m_pContext->m_pScriptEngine != nullptr
                                 ? m_pContext->m_pScriptEngine->GetNamedItem(pstrName)
                                 : nullptr;
        if (pElement == nullptr)
            return FAILED(hr) ? hr : E_NOINTERFACE;
        pElement->AddRef();
        *ppiunkItem = pElement;
        // The engine keeps what it is given until it closes.
        if (CQVTMarkupObject* pObject =
                CQVTMarkupObject::FromDispatch(static_cast<IDispatch*>(pElement), FALSE))
            ++m_pContext->m_mapScriptHolds[pObject];
        return S_OK;
    });
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::GetDocVersionString(BSTR*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::OnScriptTerminate(const VARIANT*, const EXCEPINFO*)
{
    return S_OK;
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::OnStateChange(SCRIPTSTATE)
{
    return S_OK;
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::OnScriptError(IActiveScriptError*)
{
    // The engine keeps the error record.
    return E_NOTIMPL;
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::OnEnterScript()
{
    return S_OK;
}

STDMETHODIMP CQVTMarkupContext::CScriptSite::OnLeaveScript()
{
    return S_OK;
}
