#include "toolkit/skinframework/objects/QVTSkinObject.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/skinframework/controls/QVTSkinObjectStandardControls.h"
#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

UINT WM_SKINFRAMEWORK_QUERYSTATE = 0;
UINT WM_SKINFRAMEWORK_SKINCHANGED = 0;
UINT WM_SKINFRAMEWORK_UPDATESTATE = 0;

void AFXAPI QVTSkinRegisterMessages()
{
    if (WM_SKINFRAMEWORK_UPDATESTATE != 0)
        return;
    WM_SKINFRAMEWORK_QUERYSTATE = ::RegisterWindowMessageW(u"WM_SKINFRAMEWORK_QUERYSTATE");
    WM_SKINFRAMEWORK_SKINCHANGED = ::RegisterWindowMessageW(u"WM_SKINFRAMEWORK_SKINCHANGED");
    WM_SKINFRAMEWORK_UPDATESTATE = ::RegisterWindowMessageW(u"WM_SKINFRAMEWORK_UPDATESTATE");
}

IMPLEMENT_DYNCREATE(CQVTSkinObject, CWnd)

BEGIN_MESSAGE_MAP(CQVTSkinObject, CWnd)
END_MESSAGE_MAP()

CQVTSkinObject::CQVTSkinObject()
{
    QVTSkinRegisterMessages();
    ::InitializeCriticalSection(&m_csDescriptors);
}

CQVTSkinObject::~CQVTSkinObject()
{
    // The window belongs to its own code: the object never destroys it.
    m_hWnd = nullptr;
    SetSchema(nullptr);
    m_descriptors.clear();
    ::DeleteCriticalSection(&m_csDescriptors);
}

void CQVTSkinObject::OnFinalRelease()
{
    m_hWnd = nullptr;
    delete this;
}

void CQVTSkinObject::SetSchema(CQVTSkinManagerSchema* pSchema)
{
    if (pSchema != nullptr)
        pSchema->InternalAddRef();
    if (m_pSchema != nullptr)
        m_pSchema->InternalRelease();
    m_pSchema = pSchema;
}

void CQVTSkinObject::OnSkinChanged(BOOL /*bPrevState*/, BOOL /*bNewState*/)
{
    RefreshMetrics();
}

void CQVTSkinObject::RefreshMetrics()
{
    m_nDrawingEnabled = -1;
}

void CQVTSkinObject::QueryOptOut()
{
    m_bOptedOut = FALSE;
    if (m_hWnd != nullptr && CWnd::FromHandlePermanent(m_hWnd) != nullptr)
        m_bOptedOut = ::SendMessageW(m_hWnd, WM_SKINFRAMEWORK_QUERYSTATE, 0, 0) != 0;
}

void CQVTSkinObject::OnWindowAttached(LPCREATESTRUCT /*lpcs*/, BOOL bAtCreation)
{
    QueryOptOut();
    if (!bAtCreation)
        RefreshMetrics();
}

void CQVTSkinObject::OnWindowDetached(BOOL /*bAtDestruction*/) {}

BOOL CQVTSkinObject::QueryDrawingEnabled()
{
    return TRUE;
}

BOOL CQVTSkinObject::OnWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (IsMessagePassedThrough(message) || IsHandledAtDefaultProc(message))
        return FALSE;
    return OnWndMsg(message, wParam, lParam, &result);
}

BOOL CQVTSkinObject::OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (IsMessagePassedThrough(message))
        return FALSE;
    if (message == WM_SKINFRAMEWORK_QUERYSTATE)
    {
        result = 0;
        return TRUE;
    }
    if (message == WM_SKINFRAMEWORK_SKINCHANGED)
    {
        OnSkinChanged(static_cast<BOOL>(wParam), static_cast<BOOL>(lParam));
        result = 0;
        return TRUE;
    }
    return OnWndMsg(message, wParam, lParam, &result);
}

BOOL CQVTSkinObject::IsHandledAtDefaultProc(UINT message)
{
    if (message == WM_TIMER || m_bSystemWndProc)
        return FALSE;
    return TRUE;
}

BOOL CQVTSkinObject::IsMessagePassedThrough(UINT message)
{
    if (message == WM_SETCURSOR || message == WM_NOTIFY || message == WM_COMMAND || message == WM_ACTIVATE)
        return TRUE;
    if (message == WM_SKINFRAMEWORK_UPDATESTATE)
        QueryOptOut();
    return FALSE;
}

void CQVTSkinObject::AttachHook(HWND hWnd, LPCREATESTRUCT lpcs, BOOL bAtCreation)
{
    m_hWnd = hWnd;
    m_bUnicode = ::IsWindowUnicode(hWnd);
    WNDPROC pfnProc = reinterpret_cast<WNDPROC>(m_bUnicode ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)
                                                           : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    const void* pHookProc = reinterpret_cast<const void*>(&CQVTSkinManager::HookWndProc);
    m_bSystemWndProc = CQVTSkinManagerApiHookBase::IsSystemAddress(reinterpret_cast<const void*>(pfnProc));
    if (!m_bSystemWndProc && QVTOSVersion()->IsWin9x())
        m_bSystemWndProc = reinterpret_cast<ULONG_PTR>(pfnProc) > 0x70000000 &&
                           reinterpret_cast<const void*>(pfnProc) != pHookProc;

    if (!m_bSystemWndProc && !m_bAlwaysSubclass)
    {
        // Served through the intercepted default procedures only.
        OnWindowAttached(lpcs, bAtCreation);
        return;
    }
    if (!m_bSubclassed)
    {
        m_pfnPrevWndProc = reinterpret_cast<WNDPROC>(m_bUnicode ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)
                                                                : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
        const LONG_PTR nHook = reinterpret_cast<LONG_PTR>(&CQVTSkinManager::HookWndProc);
        if (m_bUnicode)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, nHook);
        else
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, nHook);
        m_bSubclassed = TRUE;
    }
    OnWindowAttached(lpcs, bAtCreation);
}

void CQVTSkinObject::UnattachHook(BOOL bAtDestruction)
{
    if (m_bSubclassed)
    {
        LRESULT lTaken = 0;
        if (!bAtDestruction)
            lTaken = ::SendMessageW(m_hWnd, WM_HOOKMANAGER_SINKREMOVED,
                                    reinterpret_cast<WPARAM>(&CQVTSkinManager::HookWndProc),
                                    reinterpret_cast<LPARAM>(m_pfnPrevWndProc));
        // A nonzero answer: another subclasser took our procedure out of its
        // chain, and putting ours back would cut its own.
        if (lTaken == 0)
        {
            const LONG_PTR nPrev = reinterpret_cast<LONG_PTR>(m_pfnPrevWndProc);
            if (m_bUnicode)
                ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, nPrev);
            else
                ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, nPrev);
        }
        m_bSubclassed = FALSE;
    }
    OnWindowDetached(bAtDestruction);
}

CQVTSkinManagerClass* CQVTSkinObject::GetSkinClass()
{
    return m_pManager != nullptr ? m_pManager->GetSkinClass(this, m_strClassName) : nullptr;
}

CQVTSkinManagerSchema* CQVTSkinObject::GetSchema()
{
    if (m_pSchema != nullptr)
        return m_pSchema;
    return m_pManager != nullptr ? m_pManager->GetSchema() : nullptr;
}

CQVTSkinManagerMetrics* CQVTSkinObject::GetMetrics()
{
    CQVTSkinManagerSchema* pSchema = GetSchema();
    return pSchema != nullptr ? pSchema->GetMetrics() : nullptr;
}

COLORREF CQVTSkinObject::GetColor(int nIndex)
{
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    if (pMetrics != nullptr)
        return pMetrics->GetColor(nIndex);
    return QVTColorManager()->GetColor(nIndex < 0 ? 0 : nIndex);
}

BOOL CQVTSkinObject::IsSkinEnabled()
{
    if (m_bOptedOut || m_hWnd == nullptr || m_pManager == nullptr)
        return FALSE;
    return m_pManager->IsSkinLoaded();
}

BOOL CQVTSkinObject::IsDrawingEnabled(BOOL bRecompute)
{
    if (m_nDrawingEnabled == -1 || bRecompute)
        m_nDrawingEnabled = QueryDrawingEnabled() ? 1 : 0;
    return m_nDrawingEnabled != 0;
}

void CQVTSkinObject::PushDefWindowProc(UINT message, UINT nKind, void* pProc, ULONG_PTR nArgument)
{
    // The object outlives every default procedure running on it.
    InternalAddRef();
    ::EnterCriticalSection(&m_csDescriptors);
    m_descriptors.push_back(DEFWINDOW_DESCRIPTIOR{nKind, pProc, nArgument, message});
    ::LeaveCriticalSection(&m_csDescriptors);
}

void CQVTSkinObject::PopDefWindowProc()
{
    ::EnterCriticalSection(&m_csDescriptors);
    const bool bPopped = !m_descriptors.empty();
    if (bPopped)
        m_descriptors.pop_back();
    ::LeaveCriticalSection(&m_csDescriptors);
    if (bPopped)
        InternalRelease();
}

UINT CQVTSkinObject::GetCurrentDefWindowProcMessage()
{
    ::EnterCriticalSection(&m_csDescriptors);
    const UINT nMessage = m_descriptors.empty() ? 0 : m_descriptors.back().nMessage;
    ::LeaveCriticalSection(&m_csDescriptors);
    return nMessage;
}

LRESULT CQVTSkinObject::CallDefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    PushDefWindowProc(message, 0, nullptr, 0);
    const LRESULT lResult = ::DefWindowProcW(m_hWnd, message, wParam, lParam);
    PopDefWindowProc();
    return lResult;
}

LRESULT CQVTSkinObject::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    DEFWINDOW_DESCRIPTIOR descriptor = {0, nullptr, 0, 0};
    ::EnterCriticalSection(&m_csDescriptors);
    if (!m_descriptors.empty())
        descriptor = m_descriptors.back();
    ::LeaveCriticalSection(&m_csDescriptors);

    typedef LRESULT(WINAPI * PFNCALLWINDOWPROC)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
    typedef LRESULT(WINAPI * PFNDEFFRAMEPROC)(HWND, HWND, UINT, WPARAM, LPARAM);
    switch (descriptor.nKind)
    {
    case 0:
        if (m_pfnPrevWndProc == nullptr)
            return 0;
        return ::CallWindowProcW(m_pfnPrevWndProc, m_hWnd, message, wParam, lParam);
    case 1:
        return reinterpret_cast<PFNCALLWINDOWPROC>(descriptor.pProc)(
            reinterpret_cast<WNDPROC>(descriptor.nArgument), m_hWnd, message, wParam, lParam);
    case 2:
    case 3:
    case 5:
        return reinterpret_cast<WNDPROC>(descriptor.pProc)(m_hWnd, message, wParam, lParam);
    case 4:
        return reinterpret_cast<PFNDEFFRAMEPROC>(descriptor.pProc)(
            m_hWnd, reinterpret_cast<HWND>(descriptor.nArgument), message, wParam, lParam);
    default:
        return 0;
    }
}

CString AFX_CDECL CQVTSkinObject::GetWindowPath(HWND hWnd, BOOL bParentOnly)
{
    if (bParentOnly)
    {
        HWND hParent = ::GetParent(hWnd);
        return hParent != nullptr ? GetWindowPath(hParent, FALSE) : CString(u"/");
    }
    CString strPath;
    // Bounded: a parent chain never loops, but a window may die midway.
    for (int nDepth = 0; hWnd != nullptr && nDepth < 256; ++nDepth)
    {
        WCHAR szClass[257] = {};
        ::GetClassNameW(hWnd, szClass, 257);
        strPath = CString(u"/") + szClass + strPath;
        hWnd = ::GetParent(hWnd);
    }
    return strPath;
}

// The class map.

CQVTSkinObject* CQVTSkinObjectClassInfo::CreateObject()
{
    if (m_pClass == nullptr)
        return nullptr;
    CObject* pObject = m_pClass->CreateObject();
    if (pObject != nullptr && !pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObject)))
    {
        delete pObject;
        return nullptr;
    }
    return static_cast<CQVTSkinObject*>(pObject);
}

CQVTSkinObjectClassInfo* CQVTSkinObjectClassMap::AddClass(LPCTSTR lpszName, CQVTSkinObjectClassInfo* pInfo)
{
    CString strKey(lpszName);
    strKey.MakeUpper();
    CQVTWriteLock lock(m_lock);
    if (pInfo->m_pMap != nullptr)
        pInfo->InternalAddRef();
    else
        pInfo->m_pMap = this;
    void* pOld = nullptr;
    if (m_map.Lookup(strKey, pOld) && pOld != pInfo)
        static_cast<CQVTSkinObjectClassInfo*>(pOld)->InternalRelease();
    m_map.SetAt(strKey, pInfo);
    return pInfo;
}

CQVTSkinObjectClassInfo* CQVTSkinObjectClassMap::AddClass(LPCTSTR lpszName, CRuntimeClass* pClass)
{
    return AddClass(lpszName, new CQVTSkinObjectClassInfo(pClass));
}

void CQVTSkinObjectClassMap::AddAlias(LPCTSTR lpszName, LPCTSTR lpszTarget)
{
    if (Lookup(lpszName) != nullptr)
        return;
    if (lpszTarget == nullptr || *lpszTarget == 0)
    {
        AddClass(lpszName, static_cast<CRuntimeClass*>(nullptr));
        return;
    }
    CQVTSkinObjectClassInfo* pTarget = Lookup(lpszTarget);
    if (pTarget != nullptr)
        AddClass(lpszName, pTarget);
}

CQVTSkinObjectClassInfo* CQVTSkinObjectClassMap::Lookup(LPCTSTR lpszName)
{
    if (lpszName == nullptr)
        return nullptr;
    CString strKey(lpszName);
    strKey.MakeUpper();
    CQVTReadLock lock(m_lock);
    void* pInfo = nullptr;
    return m_map.Lookup(strKey, pInfo) ? static_cast<CQVTSkinObjectClassInfo*>(pInfo) : nullptr;
}

void CQVTSkinObjectClassMap::RemoveAll()
{
    CQVTWriteLock lock(m_lock);
    POSITION pos = m_map.GetStartPosition();
    while (pos != nullptr)
    {
        CString strKey;
        void* pInfo = nullptr;
        m_map.GetNextAssoc(pos, strKey, pInfo);
        static_cast<CQVTSkinObjectClassInfo*>(pInfo)->InternalRelease();
    }
    m_map.RemoveAll();
}

void CQVTSkinObjectClassMap::AddStandardClasses()
{
    static const struct
    {
        LPCTSTR lpszName;
        CRuntimeClass* pClass;
    } kClasses[] = {
        {u"Button", RUNTIME_CLASS(CQVTSkinObjectButton)},
        {u"ComboBox", RUNTIME_CLASS(CQVTSkinObjectComboBox)},
        {u"Edit", RUNTIME_CLASS(CQVTSkinObjectEdit)},
        {u"ListBox", RUNTIME_CLASS(CQVTSkinObjectListBox)},
        {u"SysDateTimePick32", RUNTIME_CLASS(CQVTSkinObjectDateTime)},
        {u"SysMonthCal32", RUNTIME_CLASS(CQVTSkinObjectMonthCal)},
        {u"ScrollBar", RUNTIME_CLASS(CQVTSkinObjectScrollBar)},
        {u"SysListView32", RUNTIME_CLASS(CQVTSkinObjectListView)},
        {u"SysHeader32", RUNTIME_CLASS(CQVTSkinObjectHeader)},
        {u"msctls_statusbar32", RUNTIME_CLASS(CQVTSkinObjectStatusBar)},
        {u"SysTreeView32", RUNTIME_CLASS(CQVTSkinObjectTreeView)},
        {u"msctls_progress32", RUNTIME_CLASS(CQVTSkinObjectProgress)},
        {u"msctls_trackbar32", RUNTIME_CLASS(CQVTSkinObjectTrackBar)},
        {u"SysTabControl32", RUNTIME_CLASS(CQVTSkinObjectTab)},
        {u"MDIClient", RUNTIME_CLASS(CQVTSkinObjectMDIClient)},
        {u"msctls_updown32", RUNTIME_CLASS(CQVTSkinObjectSpin)},
        {u"ToolbarWindow32", RUNTIME_CLASS(CQVTSkinObjectToolBar)},
        {u"ReBarWindow32", RUNTIME_CLASS(CQVTSkinObjectReBar)},
    };
    for (const auto& entry : kClasses)
        AddClass(entry.lpszName, entry.pClass);

    static const LPCTSTR kAliases[][2] = {
        {u"SysIPAddress32", u"Edit"},
        {u"msctls_hotkey32", u"Edit"},
        {u"TEdit", u"Edit"},
        {u"TMemo", u"Edit"},
        {u"TRichEditViewer", u"Edit"},
        {u"ComboLBox", u"ListBox"},
        {u"TListBox", u"ListBox"},
        {u"ATL:ScrollBar", u"ScrollBar"},
        {u"TScrollBar", u"ScrollBar"},
        {u"TButton", u"Button"},
        {u"TRadioButton", u"Button"},
        {u"TCheckBox", u"Button"},
        {u"TGroupBox", u"Button"},
        {u"TNewProgressBar", u"msctls_progress32"},
        {u"TProgressBar", u"msctls_progress32"},
        {u"TComboBox", u"ComboBox"},
        {u"TTrackBar", u"msctls_trackbar32"},
        {u"TTabControl", u"SysTabControl32"},
        {u"TTreeView", u"SysTreeView32"},
        {u"TListView", u"SysListView32"},
    };
    for (const auto& alias : kAliases)
        AddAlias(alias[0], alias[1]);

    // Windows that no class object skins.
    AddAlias(u"#32768", nullptr);
    AddAlias(u"QVTSkinManagerMenu", nullptr);
    AddAlias(u"SysPager", nullptr);
}

// The paint DC.

CQVTSkinObjectPaintDC::CQVTSkinObjectPaintDC(CQVTSkinObject* pObject) : m_hWndPaint(pObject->m_hWnd)
{
    ZeroMemory(&m_ps, sizeof(m_ps));
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    HDC hDC = nullptr;
    if (msg.message == WM_PAINT && msg.wParam != 0)
        hDC = reinterpret_cast<HDC>(msg.wParam);
    else
        hDC = ::BeginPaint(m_hWndPaint, &m_ps);
    if (hDC == nullptr || !Attach(hDC))
    {
        if (m_ps.hdc != nullptr)
            ::EndPaint(m_hWndPaint, &m_ps);
        AfxThrowResourceException();
    }
}

CQVTSkinObjectPaintDC::~CQVTSkinObjectPaintDC()
{
    if (m_ps.hdc != nullptr)
        ::EndPaint(m_hWndPaint, &m_ps);
    Detach();
}
