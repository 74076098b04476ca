#include "toolkit/controls/browse/QVTBrowseDialog.h"
#include "toolkit/controls/QVTControlsResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

IMPLEMENT_DYNAMIC(CQVTBrowseDialog, CCommonDialog)

CQVTBrowseDialog::CQVTBrowseDialog(CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    ZeroMemory(m_szSelPath, sizeof(m_szSelPath));
    QVTResourceManager()->LoadString(&m_strTitle, QVT_IDS_BROWSE_TITLE);

    ZeroMemory(&m_bi, sizeof(m_bi));
    m_bi.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    m_bi.pidlRoot = nullptr;
    m_bi.pszDisplayName = m_szSelPath;
    m_bi.lpszTitle = m_strTitle;
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    m_bi.lpfn = BrowseCallbackProc;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_bi.iImage = 0;
}

BOOL CQVTBrowseDialog::SetSelPath(LPCTSTR lpszPath)
{
    if (!lpszPath)
        lpszPath = _T("");
    size_t nLength = 0;
    while (nLength < MAX_PATH && lpszPath[nLength])
        ++nLength;
    if (nLength >= MAX_PATH)
        return FALSE;
    memcpy(m_szSelPath, lpszPath, (nLength + 1) * sizeof(WCHAR));
    return TRUE;
}

BOOL AFX_CDECL CQVTBrowseDialog::MakeComputerPath(LPWSTR lpszBuffer)
{
    size_t nLength = 0;
    while (nLength < MAX_PATH && lpszBuffer[nLength])
        ++nLength;
    // The name, two backslashes and the terminator must fit.
    if (nLength == 0 || nLength + 2 >= MAX_PATH)
        return FALSE;
    memmove(lpszBuffer + 2, lpszBuffer, (nLength + 1) * sizeof(WCHAR));
    lpszBuffer[0] = '\\';
    lpszBuffer[1] = '\\';
    return TRUE;
}

INT_PTR CQVTBrowseDialog::DoModal()
{
    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)) || !pMalloc)
        return IDCANCEL;

    INT_PTR nResult = IDCANCEL;
    LPITEMIDLIST pidl = ::SHBrowseForFolderW(&m_bi);
    if (pidl)
    {
        WCHAR szPath[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(pidl, szPath))
        {
            memcpy(m_szSelPath, szPath, sizeof(szPath));
            m_szSelPath[MAX_PATH - 1] = 0;
            nResult = IDOK;
        }
        else if ((m_bi.ulFlags & BIF_BROWSEFORCOMPUTER) && m_szSelPath[0] && MakeComputerPath(m_szSelPath))
        {
            nResult = IDOK;
        }
        pMalloc->Free(pidl);
    }
    pMalloc->Release();
    return nResult;
}

int CALLBACK CQVTBrowseDialog::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData)
{
    // The shell calls in here: nothing may unwind through it.
    try
    {
        CQVTBrowseDialog* pDialog = reinterpret_cast<CQVTBrowseDialog*>(lpData);
        if (pDialog)
        {
            pDialog->OnBrowseMessage(hWnd, uMsg, lParam);
        }
        else if (uMsg == BFFM_INITIALIZED)
        {
            WCHAR szPath[MAX_PATH] = {};
            if (::GetCurrentDirectoryW(MAX_PATH, szPath) && szPath[0])
                ::SendMessageW(hWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(szPath));
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

void CQVTBrowseDialog::OnBrowseMessage(HWND hWnd, UINT uMsg, LPARAM lParam)
{
    if (uMsg == BFFM_INITIALIZED)
    {
        WCHAR szPath[MAX_PATH] = {};
        if (m_szSelPath[0])
            memcpy(szPath, m_szSelPath, sizeof(szPath));
        else
            ::GetCurrentDirectoryW(MAX_PATH, szPath);
        szPath[MAX_PATH - 1] = 0;
        if (szPath[0])
            ::SendMessageW(hWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(szPath));
    }
    else if (uMsg == BFFM_SELCHANGED && (m_bi.ulFlags & BIF_STATUSTEXT))
    {
        WCHAR szPath[MAX_PATH] = {};
        if (lParam && ::SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(lParam), szPath))
            ::SendMessageW(hWnd, BFFM_SETSTATUSTEXTW, 1, reinterpret_cast<LPARAM>(szPath));
    }
}
