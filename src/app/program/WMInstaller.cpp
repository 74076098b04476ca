#include "app/program/WMInstaller.h"

#include <shellapi.h>
#include <wincrypt.h>
#include <wininet.h>

#include "app/program/MessageBox.h"
#include "app/program/ProductInfo.h"
#include "app/program/WMInstallerResource.h"
#include "app/program/resource.h"
#include "common/ApplicationBase.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

const TCHAR kInstallerParameters[] = _T("/Q:A /R:N");
const int kInstallerWaits = 100;

LONG InstallerFileSize(LPCTSTR pszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesEx(pszPath, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
        data.nFileSizeLow > 0x7FFFFFFF)
        return 0;
    return static_cast<LONG>(data.nFileSizeLow);
}

}  // namespace

BEGIN_MESSAGE_MAP(CWMInstaller, CDialog)
    ON_BN_CLICKED(IDC_WM_INSTALLER_INSTALL, &CWMInstaller::OnInstall)
    ON_MESSAGE(WM_DOWNLOAD_PROGRESS, &CWMInstaller::OnDownloadProgress)
END_MESSAGE_MAP()

CWMInstaller::CWMInstaller(CWnd* pParent, LPCTSTR pszUrl, LPCTSTR pszSha256, LPCTSTR pszLocalPath)
{
    m_pParentWnd = pParent;
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_WM_INSTALLER);
    if (pTemplate != nullptr)
        InitModalIndirect(pTemplate, pParent);
    m_pDownloader = new CFileDownloader;
    m_pDownloader->m_strUrl = pszUrl != nullptr ? pszUrl : ProductInfo::kWMInstallerUrl;
    m_pDownloader->m_strLocalPath = pszLocalPath != nullptr ? CString(pszLocalPath) : DefaultLocalPath();
    m_strSha256 = pszSha256 != nullptr ? pszSha256 : ProductInfo::kWMInstallerSha256;
}

CWMInstaller::~CWMInstaller()
{
    m_pDownloader->Stop();
    m_pDownloader->Release();
}

CString AFXAPI CWMInstaller::DefaultLocalPath()
{
    TCHAR szModule[MAX_PATH] = {};
    GetModuleFileName(nullptr, szModule, MAX_PATH);
    CString strFolder(szModule);
    strFolder = strFolder.Left(strFolder.ReverseFind(_T('\\')) + 1);
    strFolder.TrimRight(_T('\\'));
    int nCut = strFolder.ReverseFind(_T('\\'));
    if (nCut >= 0)
        strFolder = strFolder.Left(nCut);
    return strFolder + _T("\\WMFdist.exe");
}

CString AFXAPI CWMInstaller::FileSha256(LPCTSTR pszPath)
{
    CString strDigest;
    HANDLE hFile = CreateFile(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return strDigest;
    HCRYPTPROV hProvider = 0;
    HCRYPTHASH hHash = 0;
    bool bOk = CryptAcquireContext(&hProvider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
               CryptCreateHash(hProvider, CALG_SHA_256, 0, 0, &hHash);
    BYTE buffer[65536];
    DWORD dwRead = 0;
    while (bOk)
    {
        if (!ReadFile(hFile, buffer, sizeof buffer, &dwRead, nullptr))
            bOk = false;
        else if (dwRead == 0)
            break;
        else if (!CryptHashData(hHash, buffer, dwRead, 0))
            bOk = false;
    }
    BYTE digest[32] = {};
    DWORD dwDigest = sizeof digest;
    if (bOk && CryptGetHashParam(hHash, HP_HASHVAL, digest, &dwDigest, 0) && dwDigest == sizeof digest)
    {
        for (BYTE b : digest)
            strDigest.AppendFormat(_T("%02x"), b);
    }
    if (hHash != 0)
        CryptDestroyHash(hHash);
    if (hProvider != 0)
        CryptReleaseContext(hProvider, 0);
    CloseHandle(hFile);
    return strDigest;
}

void CWMInstaller::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WM_INSTALLER_PROGRESS, m_wndProgress);
    DDX_Control(pDX, IDC_WM_INSTALLER_INSTALL, m_btnInstall);
}

BOOL CWMInstaller::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndProgress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
    return TRUE;
}

void CWMInstaller::ShowError(UINT nMessageId)
{
    ShowMessageBox(nullptr, LoadAppString(nMessageId), LoadAppString(IDS_TITLE_ERROR), SMB_ERROR_OK, this);
}

void CWMInstaller::OnInstall()
{
    try
    {
        DWORD dwFlags = 0;
        if (!QueryInternetConnectedState(&dwFlags))
        {
            ShowError(IDS_CHECK_CONNECTION);
            return;
        }
        if ((dwFlags & INTERNET_CONNECTION_OFFLINE) != 0 &&
            !InternetGoOnline(const_cast<LPTSTR>(static_cast<LPCTSTR>(m_pDownloader->m_strUrl)), m_hWnd, 0))
        {
            ShowError(IDS_CHECK_CONNECTION);
            return;
        }
        m_pDownloader->Stop();
        m_btnInstall.EnableWindow(FALSE);
        if (!m_pDownloader->QueryRemoteSize(m_pDownloader->m_strUrl))
        {
            ShowError(IDS_WM_DOWNLOAD_ERROR);
            return;
        }
        if (InstallerFileSize(m_pDownloader->m_strLocalPath) == m_pDownloader->GetExpectedSize())
        {
            BOOL bRan = RunInstaller(m_pDownloader->m_strLocalPath);
            m_btnInstall.EnableWindow(TRUE);
            if (bRan)
                EndDialog(IDOK);
            else
                ShowError(IDS_WM_DOWNLOAD_ERROR);
            return;
        }
        m_pDownloader->Start(m_hWnd, TRUE);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}

LRESULT CWMInstaller::OnDownloadProgress(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!::IsWindow(m_hWnd))
        return 0;
    try
    {
        if (lParam == DOWNLOAD_PROGRESS_FINISHED)
        {
            if (m_pDownloader->Succeeded() && RunInstaller(m_pDownloader->m_strLocalPath))
                EndDialog(IDOK);
            else
                ShowError(IDS_WM_DOWNLOAD_ERROR);
            m_wndProgress.SetPos(0);
            m_btnInstall.EnableWindow(TRUE);
        }
        else if (lParam != DOWNLOAD_PROGRESS_LOOP_ENDED)
        {
            double dPosition = m_pDownloader->GetDone() * 1000.0 /
                               (static_cast<double>(m_pDownloader->GetExpectedSize()) + 1);
            m_wndProgress.SetPos(static_cast<int>(dPosition));
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return 0;
}

BOOL CWMInstaller::RunInstaller(LPCTSTR pszPath)
{
    LONG nExpected = m_pDownloader->GetExpectedSize();
    if (nExpected <= 0 || InstallerFileSize(pszPath) != nExpected)
        return FALSE;
    // Only the published file runs: anything else is removed, so that the
    // next attempt downloads it anew.
    if (FileSha256(pszPath).CompareNoCase(m_strSha256) != 0)
    {
        DeleteFile(pszPath);
        return FALSE;
    }
    TCHAR szFullPath[MAX_PATH] = {};
    DWORD dwLength = GetFullPathName(pszPath, MAX_PATH, szFullPath, nullptr);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return FALSE;

    SHELLEXECUTEINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_UNICODE;
    info.hwnd = ::GetDesktopWindow();
    info.lpVerb = _T("open");
    info.lpFile = szFullPath;
    info.lpParameters = kInstallerParameters;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteEx(&info) || reinterpret_cast<INT_PTR>(info.hInstApp) <= 32)
    {
        if (info.hProcess != nullptr)
            CloseHandle(info.hProcess);
        return FALSE;
    }
    if (info.hProcess != nullptr)
    {
        for (int i = 0; i < kInstallerWaits; ++i)
        {
            Sleep(100);
            if (WaitForSingleObject(info.hProcess, 50) != WAIT_TIMEOUT)
                break;
        }
        CloseHandle(info.hProcess);
    }
    return TRUE;
}

void CWMInstaller::OnCancel()
{
    m_pDownloader->Stop();
    m_btnInstall.EnableWindow(TRUE);
    CDialog::OnCancel();
}
