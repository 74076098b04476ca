#include "app/recorder/RenameFile.h"

#include "app/program/MessageBox.h"
#include "app/program/resource.h"
#include "app/recorder/FileListResource.h"
#include "common/ApplicationBase.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

CRenameFile::CRenameFile(CWnd* pParent)
{
    m_pParentWnd = pParent;
    // Through the resource manager, so that a language resource can replace it.
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_RENAME_FILE);
    if (pTemplate != nullptr)
        InitModalIndirect(pTemplate, pParent);
}

BOOL CRenameFile::IsAcceptableName(const CString& strName)
{
    return !strName.IsEmpty() && strName.FindOneOf(_T("\\/:*?\"<>|")) < 0 && strName != _T(".") &&
           strName != _T("..");
}

void CRenameFile::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RENAME_NAME, m_editName);
}

BOOL CRenameFile::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_editName.SetWindowText(m_strFileName);
    return TRUE;
}

void CRenameFile::OnOK()
{
    CString strName;
    m_editName.GetWindowText(strName);
    // A name the rename would refuse later is refused here, where the user
    // can still correct it.
    if (!IsAcceptableName(strName))
    {
        ShowMessageBox(nullptr, LoadAppString(IDS_RENAME_BAD_NAME), LoadAppString(IDS_TITLE_ERROR),
                       SMB_ERROR_OK, this);
        m_editName.SetFocus();
        m_editName.SetSel(0, -1);
        return;
    }
    if (m_fnApply && !m_fnApply(strName))
    {
        m_editName.SetFocus();
        m_editName.SetSel(0, -1);
        return;
    }
    m_strFileName = strName;
    CDialog::OnOK();
}
