#include "toolkit/foundation/accessibility/QVTAccessible.h"

#include <cstddef>

// Wine's import libraries do not define this interface id.
EXTERN_C const IID IID_IAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

namespace {
const HMODULE kBindFailed = reinterpret_cast<HMODULE>(~static_cast<UINT_PTR>(0));
// References of references are followed this deep at most.
const int kMaxVariantDepth = 16;

void ClearOutVariant(VARIANT* pvar)
{
    if (pvar)
        ::VariantInit(pvar);
}

// A handler's exception becomes the caller's error code.
template <class TCall>
HRESULT AccessibleCall(TCall call)
{
    try
    {
        return call();
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return E_OUTOFMEMORY;
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
}  // namespace

CQVTAccessible::CQVTAccessible() {}

CQVTAccessible::~CQVTAccessible()
{
    if (m_hOleacc && m_hOleacc != kBindFailed)
        ::FreeLibrary(m_hOleacc);
}

HRESULT CQVTAccessible::GetAccessibleParent(IDispatch**)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleChildCount(LONG*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleChild(VARIANT, IDispatch**)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleName(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleValue(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleDescription(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleRole(VARIANT, VARIANT*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleState(VARIANT, VARIANT*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleHelp(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleHelpTopic(BSTR*, VARIANT, LONG*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleKeyboardShortcut(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::GetAccessibleFocus(VARIANT* pvarChild)
{
    ClearOutVariant(pvarChild);
    return S_FALSE;
}

HRESULT CQVTAccessible::GetAccessibleSelection(VARIANT* pvarChildren)
{
    ClearOutVariant(pvarChildren);
    return S_FALSE;
}

HRESULT CQVTAccessible::GetAccessibleDefaultAction(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::AccessibleSelect(LONG, VARIANT)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::AccessibleLocation(LONG*, LONG*, LONG*, LONG*, VARIANT)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::AccessibleNavigate(LONG, VARIANT, VARIANT*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::AccessibleHitTest(LONG, LONG, VARIANT*)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::AccessibleDoDefaultAction(VARIANT)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::PutAccessibleName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT CQVTAccessible::PutAccessibleValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

CCmdTarget* CQVTAccessible::GetAccessibleCmdTarget()
{
    return nullptr;
}

LONG AFX_CDECL CQVTAccessible::GetChildIndex(const VARIANT* pvarChild)
{
    for (int nDepth = 0; pvarChild && nDepth < kMaxVariantDepth; ++nDepth)
    {
        switch (pvarChild->vt)
        {
        case VT_EMPTY:
            return 0;
        case VT_I4:
            return pvarChild->lVal;
        case VT_I2:
            return pvarChild->iVal;
        case VT_BYREF | VT_I4:
            return pvarChild->plVal ? *pvarChild->plVal : -1;
        case VT_BYREF | VT_I2:
            return pvarChild->piVal ? *pvarChild->piVal : -1;
        case VT_BYREF | VT_VARIANT:
            pvarChild = pvarChild->pvarVal;
            continue;
        default:
            return -1;
        }
    }
    return -1;
}

void CQVTAccessible::AccessibleNotifyWinEvent(DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild)
{
    if (m_hUser32 == kBindFailed)
        return;
    if (!m_pfnNotifyWinEvent)
    {
        m_hUser32 = ::GetModuleHandleW(u"user32.dll");
        m_pfnNotifyWinEvent =
            m_hUser32 ? reinterpret_cast<PFNNOTIFYWINEVENT>(::GetProcAddress(m_hUser32, "NotifyWinEvent"))
                      : nullptr;
        if (!m_pfnNotifyWinEvent)
        {
            m_hUser32 = kBindFailed;
            return;
        }
    }
    m_pfnNotifyWinEvent(dwEvent, hWnd, idObject, idChild);
}

FARPROC CQVTAccessible::BindOleacc(FARPROC* ppfn, LPCSTR lpszName)
{
    if (m_hOleacc == kBindFailed)
        return nullptr;
    if (!m_hOleacc)
    {
        // A failed load is tried again on the next call.
        m_hOleacc = ::LoadLibraryW(u"oleacc.dll");
        if (!m_hOleacc)
            return nullptr;
    }
    if (!*ppfn)
    {
        *ppfn = ::GetProcAddress(m_hOleacc, lpszName);
        if (!*ppfn)
        {
            ::FreeLibrary(m_hOleacc);
            m_hOleacc = kBindFailed;
            m_pfnLresultFromObject = nullptr;
            m_pfnAccessibleObjectFromWindow = nullptr;
            return nullptr;
        }
    }
    return *ppfn;
}

HRESULT CQVTAccessible::AccessibleObjectFromWindow(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject)
{
    FARPROC pfn = BindOleacc(reinterpret_cast<FARPROC*>(&m_pfnAccessibleObjectFromWindow),
                             "AccessibleObjectFromWindow");
    if (!pfn)
        return E_FAIL;
    return reinterpret_cast<PFNACCESSIBLEOBJECTFROMWINDOW>(pfn)(hWnd, dwObjectID, riid, ppvObject);
}

LRESULT CQVTAccessible::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk)
{
    FARPROC pfn = BindOleacc(reinterpret_cast<FARPROC*>(&m_pfnLresultFromObject), "LresultFromObject");
    if (!pfn)
        return E_FAIL;
    return reinterpret_cast<PFNLRESULTFROMOBJECT>(pfn)(riid, wParam, punk);
}

// The nested interface

CQVTAccessible* CQVTAccessible::XAccessible::Outer()
{
    return reinterpret_cast<CQVTAccessible*>(reinterpret_cast<BYTE*>(this) -
                                             offsetof(CQVTAccessible, m_xAccessible));
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::QueryInterface(REFIID riid, void** ppvObject)
{
    CCmdTarget* pTarget = Outer()->GetAccessibleCmdTarget();
    if (!pTarget)
    {
        if (ppvObject)
            *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    return static_cast<HRESULT>(pTarget->ExternalQueryInterface(&riid, ppvObject));
}

ULONG STDMETHODCALLTYPE CQVTAccessible::XAccessible::AddRef()
{
    CCmdTarget* pTarget = Outer()->GetAccessibleCmdTarget();
    return pTarget ? pTarget->ExternalAddRef() : 1;
}

ULONG STDMETHODCALLTYPE CQVTAccessible::XAccessible::Release()
{
    CCmdTarget* pTarget = Outer()->GetAccessibleCmdTarget();
    return pTarget ? pTarget->ExternalRelease() : 1;
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                                              VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accParent(IDispatch** ppdispParent)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleParent(ppdispParent); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accChildCount(LONG* pcountChildren)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleChildCount(pcountChildren); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accChild(VARIANT varChildID,
                                                                    IDispatch** ppdispChild)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleChild(varChildID, ppdispChild); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accName(VARIANT varID, BSTR* pszName)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleName(varID, pszName); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accValue(VARIANT varID, BSTR* pszValue)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleValue(varID, pszValue); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accDescription(VARIANT varID, BSTR* description)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleDescription(varID, description); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accRole(VARIANT varID, VARIANT* role)
{
    ClearOutVariant(role);
    return AccessibleCall([&] { return Outer()->GetAccessibleRole(varID, role); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accState(VARIANT varID, VARIANT* state)
{
    ClearOutVariant(state);
    return AccessibleCall([&] { return Outer()->GetAccessibleState(varID, state); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accHelp(VARIANT varID, BSTR* help)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleHelp(varID, help); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accHelpTopic(BSTR* helpfile, VARIANT varID,
                                                                        LONG* pidTopic)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleHelpTopic(helpfile, varID, pidTopic); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accKeyboardShortcut(VARIANT varID, BSTR* shortcut)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleKeyboardShortcut(varID, shortcut); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accFocus(VARIANT* pvarID)
{
    ClearOutVariant(pvarID);
    return AccessibleCall([&] { return Outer()->GetAccessibleFocus(pvarID); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accSelection(VARIANT* pvarID)
{
    ClearOutVariant(pvarID);
    return AccessibleCall([&] { return Outer()->GetAccessibleSelection(pvarID); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::get_accDefaultAction(VARIANT varID, BSTR* action)
{
    return AccessibleCall([&] { return Outer()->GetAccessibleDefaultAction(varID, action); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::accSelect(LONG flagsSelect, VARIANT varID)
{
    return AccessibleCall([&] { return Outer()->AccessibleSelect(flagsSelect, varID); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::accLocation(LONG* left, LONG* top, LONG* width,
                                                                   LONG* height, VARIANT varID)
{
    return AccessibleCall([&] { return Outer()->AccessibleLocation(left, top, width, height, varID); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::accNavigate(LONG dir, VARIANT varStart,
                                                                   VARIANT* pvarEnd)
{
    ClearOutVariant(pvarEnd);
    return AccessibleCall([&] { return Outer()->AccessibleNavigate(dir, varStart, pvarEnd); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::accHitTest(LONG left, LONG top, VARIANT* pvarID)
{
    ClearOutVariant(pvarID);
    return AccessibleCall([&] { return Outer()->AccessibleHitTest(left, top, pvarID); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::accDoDefaultAction(VARIANT varID)
{
    return AccessibleCall([&] { return Outer()->AccessibleDoDefaultAction(varID); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::put_accName(VARIANT varID, BSTR name)
{
    return AccessibleCall([&] { return Outer()->PutAccessibleName(varID, name); });
}

HRESULT STDMETHODCALLTYPE CQVTAccessible::XAccessible::put_accValue(VARIANT varID, BSTR value)
{
    return AccessibleCall([&] { return Outer()->PutAccessibleValue(varID, value); });
}
