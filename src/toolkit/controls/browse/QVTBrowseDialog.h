// The system's folder browser run like a common dialog: it opens at a set
// folder, or at the current directory, and hands back the chosen path.
#pragma once

#include <afxdlgs.h>
#include <shlobj.h>

class CQVTBrowseDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CQVTBrowseDialog)

public:
    explicit CQVTBrowseDialog(CWnd* pParentWnd = nullptr);

    // The folder to open at. A path of MAX_PATH characters or more does not
    // fit the buffer and is refused, leaving the one set before.
    BOOL SetSelPath(LPCTSTR lpszPath);
    LPCTSTR GetSelPath() const { return m_szSelPath; }

    // IDOK with the chosen path in the buffer, or IDCANCEL.
    INT_PTR DoModal() override;

    // A computer's display name as a UNC name ("\\NAME"), in place; FALSE
    // when the result would not fit the buffer.
    static BOOL AFX_CDECL MakeComputerPath(LPWSTR lpszBuffer);

    // Callers may change the flags (BIF_STATUSTEXT, BIF_BROWSEFORCOMPUTER)
    // and the title before DoModal.
    BROWSEINFOW m_bi;

protected:
    static int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
    void OnBrowseMessage(HWND hWnd, UINT uMsg, LPARAM lParam);

    WCHAR m_szSelPath[MAX_PATH];  // the initial folder, then the chosen one
    CString m_strTitle;
};
