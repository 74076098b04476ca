// Active Accessibility for toolkit objects: a mix-in whose nested IAccessible
// hands every call to an overridable handler, and the three oleacc and user32
// entry points it needs, bound on first use. A derived command target lists
// the nested interface in its interface map:
//     INTERFACE_PART(CMyBar, IID_IAccessible, Accessible)
// and returns itself from GetAccessibleCmdTarget.
#pragma once

#include <afxwin.h>
#include <oleacc.h>

class CQVTAccessible
{
public:
    CQVTAccessible();
    virtual ~CQVTAccessible();
    CQVTAccessible(const CQVTAccessible&) = delete;
    CQVTAccessible& operator=(const CQVTAccessible&) = delete;

    virtual HRESULT GetAccessibleParent(IDispatch** ppdispParent);
    virtual HRESULT GetAccessibleChildCount(LONG* pcountChildren);
    virtual HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild);
    virtual HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName);
    virtual HRESULT GetAccessibleValue(VARIANT varChild, BSTR* pszValue);
    virtual HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription);
    virtual HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole);
    virtual HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState);
    virtual HRESULT GetAccessibleHelp(VARIANT varChild, BSTR* pszHelp);
    virtual HRESULT GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic);
    virtual HRESULT GetAccessibleKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut);
    virtual HRESULT GetAccessibleFocus(VARIANT* pvarChild);
    virtual HRESULT GetAccessibleSelection(VARIANT* pvarChildren);
    virtual HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction);
    virtual HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild);
    virtual HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                       VARIANT varChild);
    virtual HRESULT AccessibleNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt);
    virtual HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild);
    virtual HRESULT AccessibleDoDefaultAction(VARIANT varChild);
    virtual HRESULT PutAccessibleName(VARIANT varChild, BSTR szName);
    virtual HRESULT PutAccessibleValue(VARIANT varChild, BSTR szValue);
    // The command target whose reference count and interface map serve the
    // interface; null in the base.
    virtual CCmdTarget* GetAccessibleCmdTarget();

    // The child a client asked for: 0 the object itself, -1 none.
    static LONG AFX_CDECL GetChildIndex(const VARIANT* pvarChild);

    void AccessibleNotifyWinEvent(DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild);
    HRESULT AccessibleObjectFromWindow(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject);
    LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);

    class XAccessible : public IAccessible
    {
    public:
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                DISPID* rgDispId) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                         DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                         UINT* puArgErr) override;
        HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
        HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pcountChildren) override;
        HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChildID, IDispatch** ppdispChild) override;
        HRESULT STDMETHODCALLTYPE get_accName(VARIANT varID, BSTR* pszName) override;
        HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varID, BSTR* pszValue) override;
        HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varID, BSTR* description) override;
        HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varID, VARIANT* role) override;
        HRESULT STDMETHODCALLTYPE get_accState(VARIANT varID, VARIANT* state) override;
        HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varID, BSTR* help) override;
        HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpfile, VARIANT varID, LONG* pidTopic) override;
        HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varID, BSTR* shortcut) override;
        HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarID) override;
        HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarID) override;
        HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varID, BSTR* action) override;
        HRESULT STDMETHODCALLTYPE accSelect(LONG flagsSelect, VARIANT varID) override;
        HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                              VARIANT varID) override;
        HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT varStart, VARIANT* pvarEnd) override;
        HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* pvarID) override;
        HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varID) override;
        HRESULT STDMETHODCALLTYPE put_accName(VARIANT varID, BSTR name) override;
        HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varID, BSTR value) override;

    private:
        CQVTAccessible* Outer();
    } m_xAccessible;

private:
    typedef void(WINAPI* PFNNOTIFYWINEVENT)(DWORD, HWND, LONG, LONG);
    typedef LRESULT(WINAPI* PFNLRESULTFROMOBJECT)(REFIID, WPARAM, LPUNKNOWN);
    typedef HRESULT(WINAPI* PFNACCESSIBLEOBJECTFROMWINDOW)(HWND, DWORD, REFIID, void**);

    // The oleacc function's address, loading the library on first use.
    FARPROC BindOleacc(FARPROC* ppfn, LPCSTR lpszName);

    PFNNOTIFYWINEVENT m_pfnNotifyWinEvent = nullptr;
    PFNLRESULTFROMOBJECT m_pfnLresultFromObject = nullptr;
    PFNACCESSIBLEOBJECTFROMWINDOW m_pfnAccessibleObjectFromWindow = nullptr;
    HMODULE m_hUser32 = nullptr;  // all ones: the bind failed, never tried again
    HMODULE m_hOleacc = nullptr;  // all ones: the bind failed, never tried again
};
