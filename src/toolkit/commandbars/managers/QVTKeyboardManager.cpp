#include "toolkit/commandbars/managers/QVTKeyboardManager.h"

#include <algorithm>
#include <exception>

#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/hook/QVTHookManager.h"

namespace {

CThreadLocal<CQVTKeyboardManager> s_keyboardManager;

HINSTANCE HookModule(AFX_MODULE_STATE* pModuleState)
{
    if (pModuleState && pModuleState->m_hCurrentInstanceHandle)
        return pModuleState->m_hCurrentInstanceHandle;
    return ::GetModuleHandle(nullptr);
}

}  // namespace

CQVTKeyboardManager::CQVTKeyboardManager()
    : m_hHookKeyboard(nullptr), m_hHookCallWndProc(nullptr), m_pModuleState(nullptr)
{
}

CQVTKeyboardManager::~CQVTKeyboardManager()
{
    if (m_hHookKeyboard)
        ::UnhookWindowsHookEx(m_hHookKeyboard);
    if (m_hHookCallWndProc)
        ::UnhookWindowsHookEx(m_hHookCallWndProc);
}

CQVTKeyboardManager* AFX_CDECL CQVTKeyboardManager::GetThreadManager()
{
    return s_keyboardManager.GetData();
}

BOOL CQVTKeyboardManager::IsHooked(CQVTHookManagerHookAble* pHookAble) const
{
    return std::find(m_arrHookAbles.begin(), m_arrHookAbles.end(), pHookAble) != m_arrHookAbles.end();
}

void CQVTKeyboardManager::HookKeyboard(CQVTHookManagerHookAble* pHookAble)
{
    m_pModuleState = AfxGetModuleState();
    const DWORD dwThread = ::GetCurrentThreadId();
    if (!m_hHookKeyboard)
        m_hHookKeyboard =
            ::SetWindowsHookEx(WH_KEYBOARD, &KeyboardProc, HookModule(m_pModuleState), dwThread);
    if (!m_hHookCallWndProc)
        m_hHookCallWndProc =
            ::SetWindowsHookEx(WH_CALLWNDPROC, &CallWndProc, HookModule(m_pModuleState), dwThread);
    if (pHookAble && !IsHooked(pHookAble))
        m_arrHookAbles.push_back(pHookAble);
}

void CQVTKeyboardManager::UnhookKeyboard(CQVTHookManagerHookAble* pHookAble)
{
    auto it = std::find(m_arrHookAbles.begin(), m_arrHookAbles.end(), pHookAble);
    if (it != m_arrHookAbles.end())
        m_arrHookAbles.erase(it);
    if (!m_arrHookAbles.empty())
        return;
    if (m_hHookKeyboard)
        ::UnhookWindowsHookEx(m_hHookKeyboard);
    if (m_hHookCallWndProc)
        ::UnhookWindowsHookEx(m_hHookCallWndProc);
    m_hHookKeyboard = nullptr;
    m_hHookCallWndProc = nullptr;
}

BOOL CQVTKeyboardManager::ProcessKeyboardHooks(UINT message, WPARAM wParam, LPARAM lParam)
{
    // An object may leave (or others join) while it handles the key: each is
    // asked only while it is still hooked.
    const std::vector<CQVTHookManagerHookAble*> hookAbles = m_arrHookAbles;
    for (auto it = hookAbles.rbegin(); it != hookAbles.rend(); ++it)
    {
        if (!IsHooked(*it))
            continue;
        WPARAM wParamIn = wParam;
        LPARAM lParamIn = lParam;
        LRESULT lResult = 0;
        const int nAnswer = (*it)->OnHookMessage(nullptr, message, wParamIn, lParamIn, lResult);
        if (nAnswer == CQVTHookManagerHookAble::hookHandled)
            return TRUE;
        if (nAnswer == CQVTHookManagerHookAble::hookStop)
            return FALSE;
    }
    return TRUE;
}

BOOL CQVTKeyboardManager::OnKeyboardHook(WPARAM wParam, LPARAM lParam)
{
    // A drag or resize loop reads its own keys (Escape cancels it): the
    // tracked bars must not take them first.
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (pMouseManager->IsInDragLoop())
        return FALSE;
    if (lParam & (1 << 29))
    {
        if (!pMouseManager->IsMouseLocked() && wParam == VK_MENU)
        {
            // Holding Alt repeats the key: only its first press closes.
            if (lParam & (1 << 30))
                return FALSE;
            pMouseManager->SendTrackLost();
            return TRUE;
        }
    }
    return ProcessKeyboardHooks(WM_KEYDOWN, wParam, lParam);
}

LRESULT CALLBACK CQVTKeyboardManager::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CQVTKeyboardManager* pManager = s_keyboardManager.GetDataNA();
    HHOOK hHook = pManager ? pManager->m_hHookKeyboard : nullptr;
    if (pManager && nCode == HC_ACTION && !(lParam & 0x80000000) && !pManager->m_arrHookAbles.empty())
    {
        try
        {
            if (pManager->OnKeyboardHook(wParam, lParam))
                return 1;
        }
        catch (CException* e)
        {
            e->Delete();
            return 1;
        }
        catch (const std::exception&)
        {
            return 1;
        }
        // The manager may have gone with the last tracking bar.
        pManager = s_keyboardManager.GetDataNA();
        hHook = pManager ? pManager->m_hHookKeyboard : nullptr;
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

LRESULT CALLBACK CQVTKeyboardManager::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CQVTKeyboardManager* pManager = s_keyboardManager.GetDataNA();
    HHOOK hHook = pManager ? pManager->m_hHookCallWndProc : nullptr;
    const CWPSTRUCT* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage && pMessage->message == WM_ACTIVATEAPP && !pMessage->wParam)
    {
        try
        {
            CQVTMouseManager::GetThreadManager()->SendTrackLost();
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (const std::exception&)
        {
        }
        pManager = s_keyboardManager.GetDataNA();
        hHook = pManager ? pManager->m_hHookCallWndProc : nullptr;
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}
