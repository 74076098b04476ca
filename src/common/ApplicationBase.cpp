#include "common/ApplicationBase.h"

#include <shlobj.h>

#include <atomic>

#include "common/LanguageStrings.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

std::atomic<CApplicationBase*> g_pInstance{nullptr};

// What Windows' own path functions take: far beyond MAX_PATH.
const DWORD kPathBuffer = 2600;

// What the resource manager refuses of a language module.
void AFX_CDECL LogResourceLine(LPCTSTR lpszLine)
{
    if (CApplicationBase* pApp = g_pInstance.load())
        pApp->WriteLogInto(lpszLine);
}

}  // namespace

CApplicationBase::CApplicationBase(LPCTSTR pszMutexName, LPCTSTR pszAppName)
    : CWinApp(pszAppName), m_strTraceLibrary(P7_LIBRARY_NAME)
{
    ZeroMemory(&m_osVersion, sizeof(m_osVersion));
    ZeroMemory(&m_systemInfo, sizeof(m_systemInfo));
    if (!InitializeCriticalSectionAndSpinCount(&m_logLock, 0))
        AfxThrowOleException(HRESULT_FROM_WIN32(::GetLastError()));
    g_pInstance = this;
    CQVTResourceManager::SetLogHandler(&LogResourceLine);
    m_strMutexName = pszMutexName != nullptr ? pszMutexName : _T("");
    m_strAppName = pszAppName != nullptr ? pszAppName : _T("");

    WCHAR szPath[kPathBuffer] = {};
    DWORD nLength = ::GetModuleFileNameW(nullptr, szPath, kPathBuffer);
    m_strExePath = CString(szPath, static_cast<int>(nLength < kPathBuffer ? nLength : kPathBuffer - 1));
    int nLast = m_strExePath.ReverseFind(_T('\\'));
    m_strExeFolder = m_strExePath.Left(nLast + 1);
    int nFirst = m_strExePath.Find(_T('\\'));
    m_strDriveRoot = nFirst >= 0 ? m_strExePath.Left(nFirst + 1) : CString();

    m_osVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    m_bOSVersionExFound = ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&m_osVersion));
    m_bOSVersionFound = m_bOSVersionExFound;
    if (!m_bOSVersionExFound)
    {
        ZeroMemory(&m_osVersion, sizeof(m_osVersion));
        m_osVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        m_bOSVersionFound = ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&m_osVersion));
    }
    ::GetSystemInfo(&m_systemInfo);

    GetSpecialFolder(CSIDL_PROGRAM_FILES_COMMON, m_strCommonFolder, TRUE, _T("Common"));

    // Held for the program's life; a second instance is let in all the same.
    m_hMutex = ::CreateMutexW(nullptr, FALSE, m_strMutexName);
}

CApplicationBase::~CApplicationBase()
{
    ReleaseFrame();
    DeleteCriticalSection(&m_logLock);
}

int CApplicationBase::ExitInstance()
{
    // A Winelib program's global objects are destroyed after Wine has ended
    // the process, when no system call works any more: the frame lets go
    // here, where the framework ends the application.
    ReleaseFrame();
    return CWinApp::ExitInstance();
}

void CApplicationBase::ReleaseFrame()
{
    if (m_bReleased)
        return;
    m_bReleased = TRUE;
    m_skinFiles.RemoveAll();
    m_pLanguageStrings.reset();
    WriteLogInto(_T("destroy languages support: done"));
    if (m_hMutex != nullptr)
    {
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    WriteLogInto(_T("destroy product mutex: done"));
    m_pMainDialog.reset();

    CApplicationBase* pSelf = this;
    g_pInstance.compare_exchange_strong(pSelf, nullptr);
    ReleaseLoggers(true);

    if (m_bOleInitialized)
        ::OleUninitialize();
    if (m_bComInitialized)
        ::CoUninitialize();
    m_bOleInitialized = FALSE;
    m_bComInitialized = FALSE;
}

CApplicationBase* AFXAPI CApplicationBase::GetInstance()
{
    return g_pInstance.load();
}

BOOL CApplicationBase::InitCOM(DWORD, BOOL bCom, BOOL bOle)
{
    // Only a start that succeeded is balanced at the end.
    if (bCom && !m_bComInitialized)
        m_bComInitialized = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (bOle && !m_bOleInitialized)
        m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return TRUE;
}

BOOL CApplicationBase::InitMfc(LPCTSTR pszRegistryKey)
{
    ::InitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(pszRegistryKey != nullptr ? pszRegistryKey : _T("Local AppWizard-Generated Applications"));
    return TRUE;
}

void AFXAPI CApplicationBase::AppendPathPart(CString& strPath, LPCTSTR pszPart, BOOL bCreate)
{
    if (pszPart != nullptr)
        strPath += pszPart;
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] != _T('\\'))
        strPath += _T('\\');
    if (bCreate && !strPath.IsEmpty())
        ::CreateDirectoryW(strPath, nullptr);
}

BOOL CApplicationBase::GetSpecialFolder(int nCsidl, CString& strPath, BOOL bUseFallback,
                                        LPCTSTR pszFallbackName)
{
    WCHAR szFolder[kPathBuffer] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, nCsidl | CSIDL_FLAG_CREATE, nullptr, 0, szFolder)))
    {
        strPath = szFolder;
        AppendPathPart(strPath, nullptr, FALSE);
        return TRUE;
    }
    if (bUseFallback)
    {
        strPath = m_strExeFolder;
        if (pszFallbackName != nullptr)
            AppendPathPart(strPath, pszFallbackName, TRUE);
    }
    return FALSE;
}

void AFXAPI CApplicationBase::ListFiles(LPCTSTR pszFolder, LPCTSTR pszPattern, CStringArray& files)
{
    CString strFolder(pszFolder != nullptr ? pszFolder : _T(""));
    AppendPathPart(strFolder, nullptr, FALSE);
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW(strFolder + (pszPattern != nullptr ? pszPattern : _T("*")), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.Add(strFolder + data.cFileName);
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
}

void CApplicationBase::ScanSkins(LPCTSTR pszFolder)
{
    m_strSkinsFolder = pszFolder != nullptr ? pszFolder : _T("");
    m_skinFiles.RemoveAll();
    for (LPCTSTR pszPattern : {_T("*.qvstyles"), _T("*.msstyles")})
    {
        WIN32_FIND_DATAW data;
        HANDLE hFind = ::FindFirstFileW(m_strSkinsFolder + pszPattern, &data);
        if (hFind == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            CString strName(data.cFileName);
            if (strName != _T(".") && strName != _T("..") &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                m_skinFiles.Add(strName);
        } while (::FindNextFileW(hFind, &data));
        ::FindClose(hFind);
    }
}

int CApplicationBase::FindSkin(LPCTSTR pszName) const
{
    if (pszName == nullptr)
        return -1;
    for (INT_PTR i = 0; i < m_skinFiles.GetSize(); ++i)
    {
        if (m_skinFiles[i].CompareNoCase(pszName) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

CString CApplicationBase::GetSkinPath(int nIndex) const
{
    if (m_skinFiles.IsEmpty())
        return CString();
    if (nIndex < 0 || nIndex >= m_skinFiles.GetSize())
        nIndex = 0;
    return m_strSkinsFolder + m_skinFiles[nIndex];
}

BOOL CApplicationBase::RunMainDialog(INT_PTR& nResult)
{
    if (!m_pMainDialog)
        return FALSE;
    try
    {
        nResult = m_pMainDialog->DoModal();
        return TRUE;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return FALSE;
}
