#include "toolkit/markup/context/QVTMarkupDelegate.h"

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"

HRESULT AFXAPI MarkupInvokeDelegateMethod(IDispatch* pTarget, LPCWSTR lpszMethod, CQVTMarkupObject* pSender,
                                          CQVTMarkupObject* pArgs)
{
    if (pTarget == nullptr || lpszMethod == nullptr)
        return E_POINTER;
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR pszName = const_cast<LPOLESTR>(lpszMethod);
    HRESULT hr = pTarget->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_SYSTEM_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    // Dispatch parameters go last first.
    VARIANTARG args[2];
    args[0].vt = VT_DISPATCH;
    args[0].pdispVal = pArgs != nullptr ? pArgs->GetIDispatch(FALSE) : nullptr;
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = pSender != nullptr ? pSender->GetIDispatch(FALSE) : nullptr;
    DISPPARAMS params = {args, nullptr, 2, 0};
    EXCEPINFO excep = {};
    UINT nArgErr = 0;
    hr = pTarget->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, nullptr, &excep,
                         &nArgErr);
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    return hr;
}

void CQVTMarkupOleDelegate::Execute(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs)
{
    MarkupInvokeDelegateMethod(m_pTarget, m_strMethod, pSender, pArgs);
}

void CQVTMarkupOleAutoDelegate::Execute(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs)
{
    if (m_pMap != nullptr && m_pMap->GetHandler() != nullptr)
        MarkupInvokeDelegateMethod(m_pMap->GetHandler(), m_strMethod, pSender, pArgs);
}

CQVTMarkupDelegateMap::~CQVTMarkupDelegateMap()
{
    for (auto& item : m_map)
        item.second->InternalRelease();
}

void CQVTMarkupDelegateMap::SetAt(LPCWSTR lpszName, CQVTMarkupDelegate* pDelegate)
{
    if (lpszName == nullptr || pDelegate == nullptr)
        return;
    auto it = m_map.find(CString(lpszName));
    if (it == m_map.end())
    {
        m_map.emplace(CString(lpszName), pDelegate);
        return;
    }
    // Handler tables hold references of their own, so the old one may go.
    CQVTMarkupDelegate* pOld = it->second;
    it->second = pDelegate;
    if (pOld != pDelegate)
        pOld->InternalRelease();
}

CQVTMarkupDelegate* CQVTMarkupDelegateMap::Lookup(LPCWSTR lpszName) const
{
    if (lpszName == nullptr)
        return nullptr;
    auto it = m_map.find(CString(lpszName));
    return it != m_map.end() ? it->second : nullptr;
}

CQVTMarkupEventHandlerTable::~CQVTMarkupEventHandlerTable()
{
    for (auto& item : m_map)
    {
        for (CQVTMarkupDelegate* pDelegate : item.second)
            pDelegate->InternalRelease();
    }
}

void CQVTMarkupEventHandlerTable::Add(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupDelegate* pDelegate)
{
    if (pEvent == nullptr || pDelegate == nullptr)
        return;
    m_map[pEvent].push_back(pDelegate);
}

void CQVTMarkupEventHandlerTable::Invoke(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupObject* pSender,
                                         CQVTMarkupRoutedEventArgs* pArgs)
{
    auto it = m_map.find(pEvent);
    if (it == m_map.end())
        return;
    // A handler may add handlers: run the ones present now, each held alive.
    std::vector<CQVTMarkupDelegate*> delegates = it->second;
    for (CQVTMarkupDelegate* pDelegate : delegates)
        pDelegate->InternalAddRef();
    for (CQVTMarkupDelegate* pDelegate : delegates)
    {
        pDelegate->Execute(pSender, pArgs);
        pDelegate->InternalRelease();
    }
}

int CQVTMarkupEventHandlerTable::GetHandlerCount(CQVTMarkupRoutedEvent* pEvent) const
{
    auto it = m_map.find(pEvent);
    return it != m_map.end() ? static_cast<int>(it->second.size()) : 0;
}
