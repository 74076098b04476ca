// The rename dialog: asks for a new name of a file in the recorder's list.
// The caller gives the current name (no folder) and, after OK, reads back
// the new one; moving the file is the caller's.
#pragma once

#include <afxwin.h>

#include <functional>

class CRenameFile : public CDialog
{
public:
    explicit CRenameFile(CWnd* pParent = nullptr);

    // A name the file can take in its own folder: not empty, not "." or
    // "..", and without a separator or a character no file name may hold.
    static BOOL IsAcceptableName(const CString& strName);

    CString m_strFileName;
    // Tries an acceptable name on OK; FALSE keeps the dialog open with the
    // name selected (the caller has said what went wrong). Null: OK closes.
    std::function<BOOL(const CString&)> m_fnApply;
    CEdit m_editName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
