#include "toolkit/commandbars/controls/QVTControlComboBoxAutoCompleteWnd.h"

#include <afxext.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {
// The one call-window hook of the process and the helper it serves.
HHOOK g_hComboAutoCompleteHook = nullptr;
CQVTControlComboBoxAutoCompleteWnd* g_pComboAutoComplete = nullptr;
}  // namespace

LPCTSTR CQVTControlComboBoxAutoCompleteWnd::s_lpszLibrary = _T("shlwapi.dll");
LPCSTR CQVTControlComboBoxAutoCompleteWnd::s_lpszEntry = "SHAutoComplete";

CQVTControlComboBoxAutoCompleteWnd::CQVTControlComboBoxAutoCompleteWnd()
    : m_hWndDropDown(nullptr), m_hWndEdit(nullptr), m_bHooked(FALSE)
{
}

CQVTControlComboBoxAutoCompleteWnd::~CQVTControlComboBoxAutoCompleteWnd()
{
    ResetHooks();
}

HRESULT CQVTControlComboBoxAutoCompleteWnd::ShellAutoComplete(HWND hWndEdit, DWORD dwFlags)
{
    m_hWndEdit = hWndEdit;
    typedef HRESULT(WINAPI * PFNSHAUTOCOMPLETE)(HWND, DWORD);
    HMODULE hLibrary = ::LoadLibrary(s_lpszLibrary);
    if (!hLibrary)
        return E_FAIL;
    auto pfn =
        reinterpret_cast<PFNSHAUTOCOMPLETE>(reinterpret_cast<void*>(::GetProcAddress(hLibrary, s_lpszEntry)));
    const HRESULT hr = pfn ? pfn(hWndEdit, dwFlags) : E_FAIL;
    ::FreeLibrary(hLibrary);
    return hr;
}

void CQVTControlComboBoxAutoCompleteWnd::SetupHooks()
{
    if (m_bHooked)
        return;
    // One hook for the process: a helper that still has it gives it up.
    if (g_pComboAutoComplete && g_pComboAutoComplete != this)
        g_pComboAutoComplete->ResetHooks();
    g_hComboAutoCompleteHook = ::SetWindowsHookEx(
        WH_CALLWNDPROC, &CQVTControlComboBoxAutoCompleteWnd::CallWndProc, nullptr, ::GetCurrentThreadId());
    g_pComboAutoComplete = this;
    m_bHooked = TRUE;
    CQVTKeyboardManager::GetThreadManager()->HookKeyboard(this);
}

void CQVTControlComboBoxAutoCompleteWnd::ResetHooks()
{
    if (!m_bHooked)
        return;
    m_bHooked = FALSE;
    CQVTKeyboardManager::GetThreadManager()->UnhookKeyboard(this);
    if (g_pComboAutoComplete == this)
    {
        if (g_hComboAutoCompleteHook)
            ::UnhookWindowsHookEx(g_hComboAutoCompleteHook);
        g_hComboAutoCompleteHook = nullptr;
        g_pComboAutoComplete = nullptr;
    }
    if (m_hWndDropDown)
        CQVTMouseManager::GetThreadManager()->RemoveTrustedWindow(m_hWndDropDown);
    m_hWndDropDown = nullptr;
}

int CQVTControlComboBoxAutoCompleteWnd::OnHookMessage(HWND /*hWnd*/, UINT nMessage, WPARAM& /*wParam*/,
                                                      LPARAM& /*lParam*/, LRESULT& /*lResult*/)
{
    // The wheel stays away from the bars while the suggestions show.
    if (nMessage == WM_MOUSEWHEEL && m_hWndDropDown)
        return hookHandled;
    return hookContinue;
}

void CQVTControlComboBoxAutoCompleteWnd::OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos)
{
    TCHAR szClass[64] = {};
    ::GetClassName(hWnd, szClass, 64);
    if ((pPos->flags & SWP_SHOWWINDOW) && ::lstrcmpi(szClass, _T("Auto-Suggest Dropdown")) == 0)
    {
        m_hWndDropDown = hWnd;
        CQVTMouseManager::GetThreadManager()->AddTrustedWindow(hWnd);
        if (::IsWindow(m_hWndEdit))
            ::PostMessage(m_hWndEdit, CQVTControlComboBoxEditCtrl::WM_QVT_AUTOSUGGESTSHOWN, 0, 0);
    }
    else if ((pPos->flags & SWP_HIDEWINDOW) && hWnd == m_hWndDropDown)
    {
        CQVTMouseManager::GetThreadManager()->RemoveTrustedWindow(hWnd);
        m_hWndDropDown = nullptr;
    }
}

LRESULT CALLBACK CQVTControlComboBoxAutoCompleteWnd::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hHook = g_hComboAutoCompleteHook;
    if (nCode == HC_ACTION && g_pComboAutoComplete)
    {
        try
        {
            const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (pMsg->message == WM_WINDOWPOSCHANGING && pMsg->lParam)
                g_pComboAutoComplete->OnWindowPosChanging(pMsg->hwnd,
                                                          reinterpret_cast<const WINDOWPOS*>(pMsg->lParam));
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}
