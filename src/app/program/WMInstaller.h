// Offers to download and run the Windows Media Format redistributable when
// the system lacks the Windows Media codecs: downloads it with a progress
// bar, checks its digest, runs it silently and ends with IDOK once it ran.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "app/program/FileDownloader.h"

class CWMInstaller : public CDialog
{
public:
    // The address, the digest and the local file default to the product's.
    explicit CWMInstaller(CWnd* pParent = nullptr, LPCTSTR pszUrl = nullptr, LPCTSTR pszSha256 = nullptr,
                          LPCTSTR pszLocalPath = nullptr);
    ~CWMInstaller() override;

    // TRUE when the file is complete, carries the expected digest and its
    // program was started; a file with another digest is deleted.
    BOOL RunInstaller(LPCTSTR pszPath);

    // The parent folder of the program's folder with "\WMFdist.exe".
    static CString AFXAPI DefaultLocalPath();
    // The file's SHA-256 in lower-case hex; empty when it cannot be read.
    static CString AFXAPI FileSha256(LPCTSTR pszPath);

    CFileDownloader* GetDownloader() const { return m_pDownloader; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    afx_msg void OnInstall();
    afx_msg LRESULT OnDownloadProgress(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void ShowError(UINT nMessageId);

    CFileDownloader* m_pDownloader = nullptr;
    CString m_strSha256;  // what the downloaded file's digest must be
    CProgressCtrl m_wndProgress;
    CButton m_btnInstall;
};
