#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"

#include <algorithm>

#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/markup/draw/QVTGdiPlusGradients.h"

namespace {
const TCHAR kListenerTitle[] = _T("CQVTFrameShadowManager::CWtsEventListener");

int FrameShadowClampSize(int nSize)
{
    return std::max(0, std::min(nSize, CQVTFrameShadowManager::kMaxShadowSize));
}
}  // namespace

QVT_IMPLEMENT_SINGLETON(CQVTFrameShadowManager, QVTFrameShadowManagerInstance, nullptr)

// Session listener

CQVTFrameShadowManager::CWtsEventListener::CWtsEventListener(CQVTFrameShadowManager* pManager)
    : m_pManager(pManager)
{
    m_hWtsApi = ::LoadLibraryW(u"wtsapi32.dll");
    if (m_hWtsApi != nullptr)
    {
        m_pfnRegister =
            reinterpret_cast<PFNREGISTER>(::GetProcAddress(m_hWtsApi, "WTSRegisterSessionNotification"));
        m_pfnUnregister =
            reinterpret_cast<PFNUNREGISTER>(::GetProcAddress(m_hWtsApi, "WTSUnRegisterSessionNotification"));
    }
}

CQVTFrameShadowManager::CWtsEventListener::~CWtsEventListener()
{
    SetRegistered(FALSE);
    // The window is left to the process's end: the manager goes at the
    // process's exit too, where destroying a window, or posting to it, made
    // Wine end the process with code 0. Detached, it only does the default.
    Detach();
    if (m_hWtsApi != nullptr)
        ::FreeLibrary(m_hWtsApi);
}

BOOL CQVTFrameShadowManager::CWtsEventListener::CreateListener()
{
    return CreateEx(0, AfxRegisterWndClass(0), kListenerTitle, WS_POPUP, -100, -100, -50, -50, nullptr,
                    nullptr);
}

void CQVTFrameShadowManager::CWtsEventListener::SetRegistered(BOOL bRegister)
{
    if (m_hWnd == nullptr || m_bRegistered == bRegister || m_pfnRegister == nullptr ||
        m_pfnUnregister == nullptr)
        return;
    if (bRegister)
        m_bRegistered = m_pfnRegister(m_hWnd, NOTIFY_FOR_THIS_SESSION);
    else
    {
        m_pfnUnregister(m_hWnd);
        m_bRegistered = FALSE;
    }
}

LRESULT CQVTFrameShadowManager::CWtsEventListener::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_WTSSESSION_CHANGE)
        return CWnd::WindowProc(message, wParam, lParam);
    // A console session connecting is local again; one going away is not
    // remote, so only the remote events change the state.
    if (wParam == WTS_REMOTE_CONNECT)
        m_pManager->SetRemoteSession(TRUE, TRUE);
    else if (wParam == WTS_REMOTE_DISCONNECT)
        m_pManager->SetRemoteSession(FALSE, TRUE);
    return 0;
}

// Manager

CQVTFrameShadowManager::CQVTFrameShadowManager()
{
    HMODULE hUser = ::GetModuleHandleW(u"USER32");
    if (hUser != nullptr)
        m_pfnUpdateLayeredWindow =
            reinterpret_cast<PFNUPDATELAYEREDWINDOW>(::GetProcAddress(hUser, "UpdateLayeredWindow"));
    m_bRemoteSession = ::GetSystemMetrics(SM_REMOTESESSION) != 0;
    m_nEffectiveOptions = ComputeEffectiveOptions();
    m_pListener = new CWtsEventListener(this);
    if (!m_pListener->CreateListener())
    {
        delete m_pListener;
        m_pListener = nullptr;
    }
}

CQVTFrameShadowManager::~CQVTFrameShadowManager()
{
    std::vector<HWND> frames;
    {
        CQVTSpinLock lock(m_guard);
        for (const auto& entry : m_shadows)
            frames.push_back(entry.first);
    }
    for (HWND hWndFrame : frames)
        DisableShadow(hWndFrame);
    for (const auto& entry : m_threadHooks)
        ::UnhookWindowsHookEx(entry.second.hHook);
    m_threadHooks.clear();
    delete m_pListener;
}

CQVTFrameShadowManager* AFX_CDECL CQVTFrameShadowManager::GetInstance()
{
    return QVTFrameShadowManagerInstance();
}

CQVTFrameShadow* CQVTFrameShadowManager::EnableShadow(CWnd* pFrame, COLORREF clr, int nOuterSize,
                                                      int nInnerSize, CPoint ptOffset, BYTE nTransparency)
{
    return EnableShadow(pFrame->GetSafeHwnd(), clr, nOuterSize, nInnerSize, ptOffset, nTransparency);
}

CQVTFrameShadow* CQVTFrameShadowManager::EnableShadow(HWND hWndFrame, COLORREF clr, int nOuterSize,
                                                      int nInnerSize, CPoint ptOffset, BYTE nTransparency)
{
    if (!IsShadowSupported() || (m_nEffectiveOptions & optionNoShadows) || !::IsWindow(hWndFrame))
        return nullptr;
    {
        CQVTSpinLock lock(m_guard);
        auto it = m_shadows.find(hWndFrame);
        if (it != m_shadows.end())
            return it->second;
    }
    if (clr == static_cast<COLORREF>(-1))
        clr = m_clrDefault;
    if (nOuterSize == 0)
        nOuterSize = m_nDefaultOuterSize;
    if (nInnerSize == 0)
        nInnerSize = m_nDefaultInnerSize;
    if (ptOffset.x < 1 && ptOffset.y < 1)
        ptOffset = m_ptDefaultOffset;
    if (nTransparency == 0)
        nTransparency = m_nDefaultTransparency;

    // Windows are made outside the lock: their messages pass the thread's
    // hook, which looks shadows up.
    CQVTFrameShadow* pShadow = new CQVTFrameShadow(this, hWndFrame);
    if (!m_blendPositions.empty())
        pShadow->SetBlendStops(static_cast<int>(m_blendPositions.size()), m_blendPositions.data(),
                               m_blendFactors.data());
    const DWORD dwThreadId = pShadow->m_dwThreadId;
    BOOL bCounted = FALSE;
    {
        CQVTSpinLock lock(m_guard);
        m_shadows[hWndFrame] = pShadow;
        bCounted = AddThreadHook(dwThreadId);
    }
    if (!bCounted || !pShadow->Create(clr, nOuterSize, nInnerSize, ptOffset, nTransparency))
    {
        // Nothing of a shadow that could not be made may stay behind.
        {
            CQVTSpinLock lock(m_guard);
            m_shadows.erase(hWndFrame);
            if (bCounted)
                ReleaseThreadHook(dwThreadId);
        }
        pShadow->DestroyShadowWindows();
        pShadow->InternalRelease();
        return nullptr;
    }
    AddObserver(pShadow);
    if (m_pListener != nullptr)
        m_pListener->SetRegistered(TRUE);
    NotifyObservers(
        [&](IQVTFrameShadowManagerEvents* pObserver) { pObserver->OnShadowCreated(hWndFrame, pShadow); });
    return pShadow;
}

void CQVTFrameShadowManager::DisableShadow(CWnd* pFrame)
{
    DisableShadow(pFrame->GetSafeHwnd());
}

void CQVTFrameShadowManager::DisableShadow(HWND hWndFrame)
{
    CQVTFrameShadow* pShadow = nullptr;
    BOOL bEmpty = FALSE;
    {
        CQVTSpinLock lock(m_guard);
        auto it = m_shadows.find(hWndFrame);
        if (it == m_shadows.end())
            return;
        pShadow = it->second;
        m_shadows.erase(it);
        ReleaseThreadHook(pShadow->m_dwThreadId);
        bEmpty = m_shadows.empty();
    }
    NotifyObservers(
        [&](IQVTFrameShadowManagerEvents* pObserver) { pObserver->OnShadowDestroyed(hWndFrame, pShadow); });
    RemoveObserver(pShadow);
    pShadow->DestroyShadowWindows();
    pShadow->InternalRelease();
    if (bEmpty && m_pListener != nullptr)
        m_pListener->SetRegistered(FALSE);
}

CQVTFrameShadow* CQVTFrameShadowManager::GetShadow(HWND hWndFrame)
{
    CQVTSpinLock lock(m_guard);
    auto it = m_shadows.find(hWndFrame);
    return it == m_shadows.end() ? nullptr : it->second;
}

int CQVTFrameShadowManager::GetShadowCount()
{
    CQVTSpinLock lock(m_guard);
    return static_cast<int>(m_shadows.size());
}

CQVTFrameShadow* CQVTFrameShadowManager::FindAndHold(HWND hWndFrame)
{
    CQVTSpinLock lock(m_guard);
    auto it = m_shadows.find(hWndFrame);
    if (it == m_shadows.end())
        return nullptr;
    it->second->InternalAddRef();
    return it->second;
}

std::vector<CQVTFrameShadow*> CQVTFrameShadowManager::HoldAll()
{
    std::vector<CQVTFrameShadow*> shadows;
    CQVTSpinLock lock(m_guard);
    for (const auto& entry : m_shadows)
    {
        entry.second->InternalAddRef();
        shadows.push_back(entry.second);
    }
    return shadows;
}

int CQVTFrameShadowManager::ComputeEffectiveOptions() const
{
    if (m_nOptions & optionNoShadows)
        return optionNoShadows | optionInvisible | optionNoHitTest;
    int nOptions = m_nOptions & (optionInvisible | optionNoHitTest);
    if (m_bRemoteSession)
    {
        if (m_nOptions & optionRemoteInvisibleNoHitTest)
            nOptions |= optionInvisible | optionNoHitTest;
        if (m_nOptions & optionRemoteInvisible)
            nOptions |= optionInvisible;
    }
    return nOptions;
}

void CQVTFrameShadowManager::ApplyEffectiveOptions()
{
    const int nOld = m_nEffectiveOptions;
    const int nNew = ComputeEffectiveOptions();
    if (nOld == nNew)
        return;
    m_nEffectiveOptions = nNew;
    NotifyObservers(
        [&](IQVTFrameShadowManagerEvents* pObserver) { pObserver->OnShadowOptionsChanged(nOld, nNew); });
}

void CQVTFrameShadowManager::SetOptions(int nOptions)
{
    m_nOptions = nOptions;
    ApplyEffectiveOptions();
}

void CQVTFrameShadowManager::SetRemoteSession(BOOL bRemote, BOOL bUpdate)
{
    bRemote = bRemote ? TRUE : FALSE;
    if (m_bRemoteSession == bRemote)
        return;
    m_bRemoteSession = bRemote;
    ApplyEffectiveOptions();
    if (bUpdate)
        UpdateAll(TRUE);
}

void CQVTFrameShadowManager::SetDefaults(COLORREF clr, int nOuterSize, int nInnerSize, CPoint ptOffset,
                                         BYTE nTransparency)
{
    m_clrDefault = clr;
    m_nDefaultOuterSize = FrameShadowClampSize(nOuterSize);
    m_nDefaultInnerSize = FrameShadowClampSize(nInnerSize);
    m_ptDefaultOffset = ptOffset;
    m_nDefaultTransparency = nTransparency;
}

BOOL CQVTFrameShadowManager::SetBlendStops(const std::vector<float>& positions,
                                           const std::vector<float>& factors)
{
    if (positions.size() != factors.size())
        return FALSE;
    if (!positions.empty() &&
        !QVTGdiPlus::IsValidBlend(factors.data(), positions.data(), static_cast<int>(positions.size())))
        return FALSE;
    m_blendPositions = positions;
    m_blendFactors = factors;
    return TRUE;
}

int CQVTFrameShadowManager::GetBlendStops(std::vector<float>* pPositions, std::vector<float>* pFactors) const
{
    if (pPositions != nullptr)
        *pPositions = m_blendPositions;
    if (pFactors != nullptr)
        *pFactors = m_blendFactors;
    return static_cast<int>(m_blendPositions.size());
}

void CQVTFrameShadowManager::UpdateAll(BOOL bRedraw)
{
    if (m_bUpdating)
        return;
    m_bUpdating = TRUE;
    for (CQVTFrameShadow* pShadow : HoldAll())
    {
        // Another thread's shadows are left to their own thread's messages.
        if (pShadow->GetSafeHwnd() != nullptr &&
            ::GetWindowThreadProcessId(pShadow->GetSafeHwnd(), nullptr) == ::GetCurrentThreadId())
            pShadow->Update(TRUE, bRedraw);
        pShadow->InternalRelease();
    }
    m_bUpdating = FALSE;
}

int CQVTFrameShadowManager::GetThreadHookCount(DWORD dwThreadId)
{
    CQVTSpinLock lock(m_guard);
    auto it = m_threadHooks.find(dwThreadId);
    return it == m_threadHooks.end() ? 0 : it->second.nCount;
}

BOOL CQVTFrameShadowManager::AddThreadHook(DWORD dwThreadId)
{
    auto it = m_threadHooks.find(dwThreadId);
    if (it != m_threadHooks.end())
    {
        ++it->second.nCount;
        return TRUE;
    }
    HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &CallWndRetProc, nullptr, dwThreadId);
    if (hHook == nullptr)
        return FALSE;
    m_threadHooks[dwThreadId] = CFrameShadowHook{hHook, 1};
    return TRUE;
}

void CQVTFrameShadowManager::ReleaseThreadHook(DWORD dwThreadId)
{
    auto it = m_threadHooks.find(dwThreadId);
    if (it == m_threadHooks.end())
        return;
    if (--it->second.nCount > 0)
        return;
    ::UnhookWindowsHookEx(it->second.hHook);
    m_threadHooks.erase(it);
}

LRESULT CALLBACK CQVTFrameShadowManager::CallWndRetProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
    {
        try
        {
            const CWPRETSTRUCT* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
            switch (pMessage->message)
            {
            case WM_DESTROY:
            case WM_SHOWWINDOW:
            case WM_WINDOWPOSCHANGING:
            case WM_WINDOWPOSCHANGED:
            case WM_STYLECHANGED:
            case WM_NCPAINT:
                GetInstance()->OnFrameMessage(pMessage);
                break;
            }
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CQVTFrameShadowManager::OnFrameMessage(const CWPRETSTRUCT* pMessage)
{
    if (pMessage->message == WM_DESTROY)
    {
        DisableShadow(pMessage->hwnd);
        return;
    }
    CQVTFrameShadow* pShadow = FindAndHold(pMessage->hwnd);
    if (pShadow == nullptr)
        return;
    pShadow->OnFrameMessage(pMessage->message, pMessage->wParam, pMessage->lParam);
    pShadow->InternalRelease();
}
