// Module state, resource handles, the thread and application objects, the
// message pump and the profile.
#include <afxwin.h>
#include <afxadv.h>

#include <algorithm>
#include <vector>

// Module state and resource handles.
AFX_MODULE_STATE::AFX_MODULE_STATE(BOOL bDLL) : m_bDLL(bDLL) {}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    static AFX_MODULE_STATE state(FALSE);
    return &state;
}

AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState()
{
    return AfxGetModuleState();
}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState()
{
    return AfxGetModuleState();
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_hCurrentInstanceHandle == nullptr)
        pState->m_hCurrentInstanceHandle = ::GetModuleHandle(nullptr);
    return pState->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    return pState->m_hCurrentResourceHandle != nullptr ? pState->m_hCurrentResourceHandle
                                                       : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    // A language module may hold only part of the resources: what it lacks
    // comes from the program's own file.
    HINSTANCE hInst = AfxGetResourceHandle();
    if (::FindResource(hInst, lpszName, lpszType) != nullptr)
        return hInst;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (hInstance != hInst && ::FindResource(hInstance, lpszName, lpszType) != nullptr)
        return hInstance;
    return hInst;
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID)
{
    return AfxFindResourceHandle(MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING);
}

CWinApp* AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWinThread* AFXAPI AfxGetThread()
{
    CWinThread* pThread = AfxGetThreadState()->m_pCurrentWinThread;
    if (pThread != nullptr)
        return pThread;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_nThreadID == ::GetCurrentThreadId())
        return pApp;
    return nullptr;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

LPCTSTR AFXAPI AfxGetAppName()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pszAppName != nullptr)
        return pApp->m_pszAppName;
    LPCTSTR lpszName = AfxGetModuleState()->m_lpszCurrentAppName;
    return lpszName != nullptr ? lpszName : _T("");
}

void AFXAPI AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

// The pump without a thread object follows the same rules.
static BOOL InternalPreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg))
        return TRUE;
    if (pMainWnd != nullptr)
    {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd != nullptr && pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

static BOOL InternalPumpMessage()
{
    MSG& msg = AfxGetThreadState()->m_msgCur;
    BOOL bRet = ::GetMessage(&msg, nullptr, 0, 0);
    if (bRet == 0)
        return FALSE;  // WM_QUIT
    if (bRet == -1)
        return TRUE;
    if (msg.message != WM_KICKIDLE && !AfxPreTranslateMessage(&msg))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    return TRUE;
}

static BOOL InternalIsIdleMessage(MSG* pMsg)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    // A mouse that did not move and paint or caret-blink timers are no
    // reason to run idle work again.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE)
    {
        if (pState->m_ptCursorLast == CPoint(pMsg->pt) && pMsg->message == pState->m_nMsgLast)
            return FALSE;
        pState->m_ptCursorLast = pMsg->pt;
        pState->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL AFXAPI AfxPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->PumpMessage() : InternalPumpMessage();
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->PreTranslateMessage(pMsg) : InternalPreTranslateMessage(pMsg);
}

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->IsIdleMessage(pMsg) : InternalIsIdleMessage(pMsg);
}

// CWinThread.
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_pActiveWnd(nullptr), m_bAutoDelete(TRUE), m_hThread(nullptr), m_nThreadID(0),
      m_msgCur(), m_pfnThreadProc(nullptr), m_pThreadParams(nullptr)
{
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread()
{
    m_pfnThreadProc = pfnThreadProc;
    m_pThreadParams = pParam;
}

CWinThread::~CWinThread()
{
    if (m_hThread != nullptr && m_hThread != ::GetCurrentThread())
        ::CloseHandle(m_hThread);
}

CWnd* CWinThread::GetMainWnd()
{
    if (m_pActiveWnd != nullptr)
        return m_pActiveWnd;
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;  // a user-interface thread must override this
}

int CWinThread::ExitInstance()
{
    int nResult = (int)AfxGetThreadState()->m_msgCur.wParam;
    return nResult;
}

BOOL CWinThread::PumpMessage()
{
    BOOL bResult = InternalPumpMessage();
    m_msgCur = AfxGetThreadState()->m_msgCur;
    return bResult;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    return InternalIsIdleMessage(pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
    {
        // The main window and its bars update their command UI.
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible())
        {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
        }
    }
    else
    {
        AfxLockTempMaps();
        AfxUnlockTempMaps(TRUE);
    }
    return lCount < 0;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    for (;;)
    {
        while (bIdle && !::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do
        {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(pMsg))
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nSig != AfxSig_end; ++e)
        {
            bool bMatch = false;
            if (pMsg->message >= 0xC000 && e->nMessage == 0xC000 && e->nSig > 0xFFFF)
                bMatch = *reinterpret_cast<const UINT*>(e->nSig) == pMsg->message;
            else if (e->nSig == AfxSig_vwlThread)
                bMatch = e->nMessage == pMsg->message;
            if (bMatch)
            {
                (this->*AfxMsgPtrCast<void (CWinThread::*)(WPARAM, LPARAM)>(e->pfn))(pMsg->wParam,
                                                                                     pMsg->lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == nullptr)
    {
        // Thread messages are exceptions' territory too: nothing unwinds
        // out of the pump.
        try
        {
            if (DispatchThreadMessageEx(pMsg))
                return TRUE;
        }
        catch (CException* e)
        {
            ProcessWndProcException(e, pMsg);
            e->Delete();
            return TRUE;
        }
        catch (const std::exception& e)
        {
            AfxReportStdException(e.what(), pMsg);
            return TRUE;
        }
    }
    return InternalPreTranslateMessage(pMsg);
}

LRESULT CWinThread::ProcessWndProcException(CException*, const MSG* pMsg)
{
    if (pMsg == nullptr)
        return 0;
    if (pMsg->message == WM_CREATE)
        return -1;
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, nullptr);
    return 0;
}

BOOL CWinThread::ProcessMessageFilter(int, LPMSG)
{
    return FALSE;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

static DWORD WINAPI AfxThreadEntry(LPVOID pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    AfxGetThreadState()->m_pCurrentWinThread = pThread;
    UINT nResult = 0;
    try
    {
        if (pThread->m_pfnThreadProc != nullptr)
        {
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        }
        else if (!pThread->InitInstance())
        {
            nResult = (UINT)pThread->ExitInstance();
        }
        else
        {
            nResult = (UINT)pThread->Run();
        }
    }
    catch (CException* e)
    {
        MSG msg = {};
        pThread->ProcessWndProcException(e, &msg);
        e->Delete();
        nResult = (UINT)-1;
    }
    catch (const std::exception& e)
    {
        AfxReportStdException(e.what(), nullptr);
        nResult = (UINT)-1;
    }
    catch (...)
    {
        AfxReportStdException("unknown exception", nullptr);
        nResult = (UINT)-1;
    }
    AfxGetThreadState()->m_pCurrentWinThread = nullptr;
    pThread->Delete();
    AfxTermThread();
    return nResult;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, AfxThreadEntry, this,
                               dwCreateFlags | CREATE_SUSPENDED, &m_nThreadID);
    if (m_hThread == nullptr)
        return FALSE;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs))
    {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    CWinThread* pThread = AfxGetThreadState()->m_pCurrentWinThread;
    if (pThread != nullptr && bDelete)
        pThread->Delete();
    AfxGetThreadState()->m_pCurrentWinThread = nullptr;
    AfxTermThread();
    ::ExitThread(nExitCode);
}

// CWinApp.
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(nullptr), m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL),
      m_pszExeName(nullptr), m_pszHelpFilePath(nullptr), m_pszProfileName(nullptr), m_pszRegistryKey(nullptr),
      m_pDocManager(nullptr), m_pRecentFileList(nullptr)
{
    if (lpszAppName != nullptr)
        m_pszAppName = _tcsdup(lpszAppName);
    m_bAutoDelete = FALSE;
    // The application object is made before the entry point, on the main
    // thread; it is that thread's thread object.
    m_nThreadID = ::GetCurrentThreadId();
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_pCurrentWinApp = this;
    pModuleState->m_pCurrentWinThread = this;
}

static void FreeName(LPCTSTR& lpsz)
{
    free(const_cast<LPTSTR>(lpsz));
    lpsz = nullptr;
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    m_pDocManager = nullptr;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    FreeName(m_pszAppName);
    FreeName(m_pszExeName);
    FreeName(m_pszHelpFilePath);
    FreeName(m_pszProfileName);
    FreeName(m_pszRegistryKey);
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (pModuleState->m_pCurrentWinApp == this)
        pModuleState->m_pCurrentWinApp = nullptr;
    if (pModuleState->m_pCurrentWinThread == this)
        pModuleState->m_pCurrentWinThread = nullptr;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
    {
        m_pRecentFileList->WriteList();
        delete m_pRecentFileList;
        m_pRecentFileList = nullptr;
    }
    return CWinThread::ExitInstance();
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, _T("Recent File List"), _T("File%d"),
                                            static_cast<int>(std::min(nMaxMRU, 16u)));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(lpszPathName);
}

int CWinApp::Run()
{
    // Without a main window nothing could ever end the loop.
    if (m_pMainWnd == nullptr)
        AfxPostQuitMessage(0);
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0)
        CWinThread::OnIdle(lCount);
    else if (lCount == 1)
        CWinThread::OnIdle(lCount);  // frees the temporary objects
    return lCount < 1;
}

LRESULT CWinApp::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    // The user has been told about validation failures already.
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
        e->ReportError(MB_ICONSTOP);
    return CWinThread::ProcessWndProcException(e, pMsg);
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    HWND hWndTop = nullptr;
    HWND hWnd = CWnd::GetSafeOwner_(nullptr, &hWndTop);
    LPCTSTR lpszTitle = m_pszAppName != nullptr ? m_pszAppName : _T("");
    if ((nType & MB_ICONMASK) == 0)
    {
        switch (nType & MB_TYPEMASK)
        {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    int nResult = ::MessageBox(hWnd, lpszPrompt, lpszTitle, nType);
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

void CWinApp::CWaitCursor::Step(int nCode)
{
    if (nCode > 0)
    {
        if (nCount++ == 0)
            hRestore = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    }
    else if (nCode < 0)
    {
        // A wait begun with no cursor shown ends with the arrow.
        if (nCount > 0 && --nCount == 0)
            ::SetCursor(hRestore != nullptr ? hRestore : ::LoadCursor(nullptr, IDC_ARROW));
    }
    else if (nCount > 0)
    {
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    }
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_waitCursor.Step(nCode);
}

void AFXAPI AfxDoWaitCursor(int nCode)
{
    if (CWinApp* pApp = AfxGetApp())
    {
        pApp->DoWaitCursor(nCode);
        return;
    }
    static CWinApp::CWaitCursor s_waitCursor;
    s_waitCursor.Step(nCode);
}

BOOL CWinApp::SaveAllModified()
{
    return TRUE;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() {}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIcon(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const
{
    return ::LoadIcon(nullptr, lpszIconName);
}

HICON CWinApp::LoadOEMIcon(UINT nIDIcon) const
{
    return ::LoadIcon(nullptr, MAKEINTRESOURCE(nIDIcon));
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursor(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursor(MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return ::LoadCursor(nullptr, lpszCursorName);
}

HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const
{
    return ::LoadCursor(nullptr, MAKEINTRESOURCE(nIDCursor));
}

// Profile.
void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    LPCTSTR lpszOldKey = m_pszRegistryKey;
    m_pszRegistryKey = _tcsdup(lpszRegistryKey != nullptr ? lpszRegistryKey : _T(""));
    free(const_cast<LPTSTR>(lpszOldKey));
    // Under the registry the profile name is the application's name.
    FreeName(m_pszProfileName);
    m_pszProfileName = _tcsdup(m_pszAppName != nullptr ? m_pszAppName : _T(""));
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    HKEY hSoftKey = nullptr, hCompanyKey = nullptr, hAppKey = nullptr;
    DWORD dw;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, _T("Software"), 0, KEY_WRITE | KEY_READ, &hSoftKey) ==
        ERROR_SUCCESS)
    {
        if (::RegCreateKeyEx(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_WRITE | KEY_READ, nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS)
        {
            ::RegCreateKeyEx(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_WRITE | KEY_READ, nullptr, &hAppKey, &dw);
            ::RegCloseKey(hCompanyKey);
        }
        ::RegCloseKey(hSoftKey);
    }
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == nullptr)
        return nullptr;
    HKEY hSectionKey = nullptr;
    DWORD dw;
    ::RegCreateKeyEx(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                     &hSectionKey, &dw);
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey != nullptr)
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == nullptr)
            return (UINT)nDefault;
        DWORD dwValue = 0, dwType = 0, dwCount = sizeof(DWORD);
        LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, (LPBYTE)&dwValue, &dwCount);
        ::RegCloseKey(hSecKey);
        if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
            return (UINT)dwValue;
        return (UINT)nDefault;
    }
    return ::GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey != nullptr)
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == nullptr)
            return FALSE;
        DWORD dwValue = (DWORD)nValue;
        LONG lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_DWORD, (LPBYTE)&dwValue, sizeof(dwValue));
        ::RegCloseKey(hSecKey);
        return lResult == ERROR_SUCCESS;
    }
    TCHAR szT[16];
    ::wsprintf(szT, _T("%d"), nValue);
    return ::WritePrivateProfileString(lpszSection, lpszEntry, szT, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (lpszDefault == nullptr)
        lpszDefault = _T("");
    if (m_pszRegistryKey != nullptr)
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == nullptr)
            return lpszDefault;
        CString strValue;
        DWORD dwType = 0, dwCount = 0;
        LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
        if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ))
        {
            std::vector<BYTE> buffer(dwCount + sizeof(TCHAR), 0);
            lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, buffer.data(), &dwCount);
            strValue = reinterpret_cast<LPCTSTR>(buffer.data());
        }
        else if (lResult == ERROR_SUCCESS)
        {
            lResult = ERROR_INVALID_DATA;  // not a string
        }
        ::RegCloseKey(hSecKey);
        return lResult == ERROR_SUCCESS ? strValue : CString(lpszDefault);
    }
    // Grow until the value fits: GetPrivateProfileString truncates silently.
    for (DWORD nSize = 256;; nSize *= 2)
    {
        std::vector<TCHAR> buffer(nSize);
        DWORD nLen = ::GetPrivateProfileString(lpszSection, lpszEntry, lpszDefault, buffer.data(), nSize,
                                               m_pszProfileName);
        if (nLen < nSize - 1 || nSize >= (1u << 20))
            return CString(buffer.data());
    }
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (m_pszRegistryKey != nullptr)
    {
        LONG lResult;
        if (lpszEntry == nullptr)
        {
            // No entry: the whole section goes.
            HKEY hAppKey = GetAppRegistryKey();
            if (hAppKey == nullptr)
                return FALSE;
            lResult = ::RegDeleteKey(hAppKey, lpszSection);
            ::RegCloseKey(hAppKey);
        }
        else if (lpszValue == nullptr)
        {
            HKEY hSecKey = GetSectionKey(lpszSection);
            if (hSecKey == nullptr)
                return FALSE;
            lResult = ::RegDeleteValue(hSecKey, lpszEntry);
            ::RegCloseKey(hSecKey);
        }
        else
        {
            HKEY hSecKey = GetSectionKey(lpszSection);
            if (hSecKey == nullptr)
                return FALSE;
            lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                      (DWORD)((lstrlen(lpszValue) + 1) * sizeof(TCHAR)));
            ::RegCloseKey(hSecKey);
        }
        return lResult == ERROR_SUCCESS;
    }
    return ::WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    if (m_pszRegistryKey != nullptr)
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == nullptr)
            return FALSE;
        DWORD dwType = 0, dwCount = 0;
        LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
        if (lResult == ERROR_SUCCESS && dwType == REG_BINARY)
        {
            *ppData = new BYTE[dwCount > 0 ? dwCount : 1];
            lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, *ppData, &dwCount);
        }
        else
        {
            lResult = ERROR_INVALID_DATA;
        }
        ::RegCloseKey(hSecKey);
        if (lResult != ERROR_SUCCESS)
        {
            delete[] * ppData;
            *ppData = nullptr;
            return FALSE;
        }
        *pBytes = dwCount;
        return TRUE;
    }
    // In an INI file each byte is two letters 'A'..'P', low nibble first.
    CString str = GetProfileString(lpszSection, lpszEntry, nullptr);
    int nLen = str.GetLength();
    if (nLen == 0 || (nLen % 2) != 0)
        return FALSE;
    for (int i = 0; i < nLen; ++i)
    {
        if (str[i] < 'A' || str[i] > 'P')
            return FALSE;  // not ours: never hand back made-up bytes
    }
    *pBytes = (UINT)(nLen / 2);
    *ppData = new BYTE[*pBytes];
    for (int i = 0; i < nLen; i += 2)
        (*ppData)[i / 2] = (BYTE)(((str[i + 1] - 'A') << 4) + (str[i] - 'A'));
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (m_pszRegistryKey != nullptr)
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == nullptr)
            return FALSE;
        LONG lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
        ::RegCloseKey(hSecKey);
        return lResult == ERROR_SUCCESS;
    }
    std::vector<TCHAR> text((size_t)nBytes * 2 + 1, 0);
    for (UINT i = 0; i < nBytes; ++i)
    {
        text[i * 2] = (TCHAR)((pData[i] & 0x0F) + 'A');
        text[i * 2 + 1] = (TCHAR)(((pData[i] >> 4) & 0x0F) + 'A');
    }
    return WriteProfileString(lpszSection, lpszEntry, text.data());
}

// Entry.
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    if (hInstance == nullptr)
        hInstance = ::GetModuleHandle(nullptr);
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_hCurrentInstanceHandle = hInstance;
    if (pModuleState->m_hCurrentResourceHandle == nullptr)
        pModuleState->m_hCurrentResourceHandle = hInstance;

    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
    {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->m_nThreadID = ::GetCurrentThreadId();
        pApp->m_hThread = ::GetCurrentThread();
        AfxGetThreadState()->m_pCurrentWinThread = pApp;

        // Names the application lacks come from its file name.
        TCHAR szPath[MAX_PATH] = {};
        ::GetModuleFileName(hInstance, szPath, MAX_PATH);
        LPTSTR lpszName = szPath;
        for (LPTSTR p = szPath; *p != 0; ++p)
        {
            if (*p == '\\' || *p == '/')
                lpszName = p + 1;
        }
        CString strExeName = lpszName;
        int nDot = strExeName.ReverseFind('.');
        if (nDot > 0)
            strExeName = strExeName.Left(nDot);
        if (pApp->m_pszExeName == nullptr)
            pApp->m_pszExeName = _tcsdup(strExeName);
        if (pApp->m_pszAppName == nullptr)
        {
            CString strTitle;
            if (!strTitle.LoadString(AFX_IDS_APP_TITLE))
                strTitle = strExeName;
            pApp->m_pszAppName = _tcsdup(strTitle);
        }
        pModuleState->m_lpszCurrentAppName = pApp->m_pszAppName;
        if (pApp->m_pszProfileName == nullptr)
            pApp->m_pszProfileName = _tcsdup(strExeName + _T(".INI"));
        if (pApp->m_pszHelpFilePath == nullptr)
        {
            CString strHelp = szPath;
            int nExtension = strHelp.ReverseFind('.');
            pApp->m_pszHelpFilePath =
                _tcsdup((nExtension > 0 ? strHelp.Left(nExtension) : strHelp) + _T(".HLP"));
        }
    }
    return TRUE;
}

void AFXAPI AfxWinTerm()
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldCbtFilter != nullptr)
    {
        ::UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
        pState->m_hHookOldCbtFilter = nullptr;
    }
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    int nReturnCode = -1;
    CWinApp* pApp = AfxGetApp();
    // The program's entry point: nothing may unwind into the system.
    try
    {
        if (AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) && pApp != nullptr &&
            pApp->InitApplication())
        {
            if (!pApp->InitInstance())
            {
                if (pApp->m_pMainWnd != nullptr)
                    pApp->m_pMainWnd->DestroyWindow();
                nReturnCode = pApp->ExitInstance();
            }
            else
            {
                nReturnCode = pApp->Run();
            }
        }
    }
    catch (CException* e)
    {
        e->ReportError(MB_ICONSTOP);
        e->Delete();
    }
    catch (const std::exception& e)
    {
        AfxReportStdException(e.what(), nullptr);
    }
    catch (...)
    {
        AfxReportStdException("unknown exception", nullptr);
    }
    AfxWinTerm();
    return nReturnCode;
}

void AFXAPI AfxEnableControlContainer(COccManager*) {}

// Message boxes.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    HWND hWndTop = nullptr;
    HWND hWnd = CWnd::GetSafeOwner_(nullptr, &hWndTop);
    int nResult = ::MessageBox(hWnd, lpszText, AfxGetAppName(), nType);
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}
