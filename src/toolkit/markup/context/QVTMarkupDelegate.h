// Delegates: what a routed event calls when it reaches an element. A member
// function of a host class, a named method of an automation object, or a
// method looked up by name on the context's handler object at event time.
// Also the per-element (and per-context) table of handlers by event.
#pragma once

#include <map>
#include <unordered_map>

#include "toolkit/markup/core/QVTMarkupObject.h"

class CQVTMarkupRoutedEvent;
class CQVTMarkupRoutedEventArgs;

class CQVTMarkupDelegate : public CQVTMarkupObject
{
public:
    CQVTMarkupDelegate() : CQVTMarkupObject(flagNoComInit) {}
    virtual void Execute(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs) = 0;
};

// Calls a member function of a host object that outlives the delegate.
template <class THost>
class CQVTMarkupClassDelegate : public CQVTMarkupDelegate
{
public:
    typedef void (THost::*PFNHANDLER)(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs);

    CQVTMarkupClassDelegate(THost* pHost, PFNHANDLER pfnHandler) : m_pHost(pHost), m_pfnHandler(pfnHandler) {}

    void Execute(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs) override
    {
        (m_pHost->*m_pfnHandler)(pSender, pArgs);
    }

private:
    THost* m_pHost;  // not counted
    PFNHANDLER m_pfnHandler;
};

// Invokes a method by name with (sender, arguments) as dispatch parameters.
HRESULT AFXAPI MarkupInvokeDelegateMethod(IDispatch* pTarget, LPCWSTR lpszMethod, CQVTMarkupObject* pSender,
                                          CQVTMarkupObject* pArgs);

class CQVTMarkupOleDelegate : public CQVTMarkupDelegate
{
public:
    CQVTMarkupOleDelegate(IDispatch* pTarget, LPCWSTR lpszMethod)
        : m_pTarget(pTarget), m_strMethod(lpszMethod)
    {
    }
    void Execute(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs) override;

private:
    IDispatch* m_pTarget;  // not counted: it must outlive its use
    CString m_strMethod;
};

class CQVTMarkupDelegateMap;

// Calls the method on whatever handler object the map holds at event time.
class CQVTMarkupOleAutoDelegate : public CQVTMarkupDelegate
{
public:
    CQVTMarkupOleAutoDelegate(CQVTMarkupDelegateMap* pMap, LPCWSTR lpszMethod)
        : m_pMap(pMap), m_strMethod(lpszMethod)
    {
    }
    void Execute(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs) override;

private:
    CQVTMarkupDelegateMap* m_pMap;  // not counted
    CString m_strMethod;
};

// A context's delegates by name (exact), and its handler object.
class CQVTMarkupDelegateMap
{
public:
    ~CQVTMarkupDelegateMap();

    // Takes the caller's reference; a delegate of the same name is replaced.
    void SetAt(LPCWSTR lpszName, CQVTMarkupDelegate* pDelegate);
    CQVTMarkupDelegate* Lookup(LPCWSTR lpszName) const;

    IDispatch* GetHandler() const { return m_pHandler; }
    void SetHandler(IDispatch* pHandler) { m_pHandler = pHandler; }

private:
    struct CNameLess
    {
        bool operator()(const CString& a, const CString& b) const { return _tcscmp(a, b) < 0; }
    };
    std::map<CString, CQVTMarkupDelegate*, CNameLess> m_map;  // counted
    IDispatch* m_pHandler = nullptr;                          // not counted
};

// Handlers by routed event, in the order added; the same delegate may be
// added more than once and then runs as often.
class CQVTMarkupEventHandlerTable
{
public:
    CQVTMarkupEventHandlerTable() = default;
    ~CQVTMarkupEventHandlerTable();
    CQVTMarkupEventHandlerTable(const CQVTMarkupEventHandlerTable&) = delete;
    CQVTMarkupEventHandlerTable& operator=(const CQVTMarkupEventHandlerTable&) = delete;

    // Takes the caller's reference.
    void Add(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupDelegate* pDelegate);
    // Every delegate of the event runs, whatever the handled flag says.
    void Invoke(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs);
    int GetHandlerCount(CQVTMarkupRoutedEvent* pEvent) const;

private:
    std::unordered_map<CQVTMarkupRoutedEvent*, std::vector<CQVTMarkupDelegate*>> m_map;  // counted
};
