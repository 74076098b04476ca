// One Active Scripting engine chosen by its language name, with the site the
// engine talks to: it forwards to the host's site (the markup context), keeps
// the last script error, and remembers the objects given for named items.
#pragma once

#include <afxwin.h>

#include <activscp.h>

#include <map>

#include "toolkit/foundation/core/QVTCmdTarget.h"

// In none of the platform's import libraries.
extern const IID QVT_IID_IActiveScriptSite;

class CQVTActiveScriptEngine : public CQVTCmdTarget
{
public:
    CQVTActiveScriptEngine();
    ~CQVTActiveScriptEngine() override;

    HRESULT Create(LPCWSTR lpszLanguage, IActiveScriptSite* pHostSite);
    // Records pObject (one reference) under the name when the engine takes it.
    HRESULT AddNamedItem(LPCWSTR lpszName, IUnknown* pObject, DWORD dwFlags);
    // Borrowed, or null.
    IUnknown* GetNamedItem(LPCWSTR lpszName) const;
    HRESULT ParseScript(LPCWSTR lpszCode);
    HRESULT Run();
    void Close();
    // The engine's global names (its functions and variables), borrowed;
    // null before Run.
    IDispatch* GetScriptDispatch() const { return m_pScriptDispatch; }

    BOOL HasScript() const { return m_pScript != nullptr; }
    // Whether the engine has started; before it has, new code waits in its queue.
    BOOL IsStarted() const;
    // The last script error; its code is 0 when there was none.
    const EXCEPINFO& GetLastError() const { return m_lastError; }
    BOOL HasLastError() const { return m_bHasLastError; }

protected:
    DECLARE_INTERFACE_MAP()

    BEGIN_INTERFACE_PART(ActiveScriptSite, IActiveScriptSite)
        STDMETHOD(GetLCID)(LCID * plcid) override;
        STDMETHOD(GetItemInfo)
        (LPCOLESTR pstrName, DWORD dwReturnMask, IUnknown * *ppiunkItem, ITypeInfo * *ppti) override;
        STDMETHOD(GetDocVersionString)(BSTR * pbstrVersion) override;
        STDMETHOD(OnScriptTerminate)(const VARIANT* pvarResult, const EXCEPINFO* pexcepinfo) override;
        STDMETHOD(OnStateChange)(SCRIPTSTATE ssScriptState) override;
        STDMETHOD(OnScriptError)(IActiveScriptError * pscripterror) override;
        STDMETHOD(OnEnterScript)() override;
        STDMETHOD(OnLeaveScript)() override;
    END_INTERFACE_PART(ActiveScriptSite)

private:
    void ClearLastError();
    void StoreLastError(const EXCEPINFO& info);

    IActiveScriptSite* m_pHostSite;  // counted
    IActiveScript* m_pScript;        // counted
    IActiveScriptParse* m_pParser;   // counted
    IDispatch* m_pScriptDispatch;    // counted, after Run
    EXCEPINFO m_lastError;           // owns its strings
    BOOL m_bHasLastError;
    std::map<CString, IUnknown*> m_namedItems;  // counted
};
