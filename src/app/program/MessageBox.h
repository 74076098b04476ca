// The program's one message box: a toolkit task dialog with a title, a
// content text, an icon and buttons chosen by one flags word of the
// program's own, and the support address as a link in its footer.
#pragma once

#include "toolkit/controls/taskdialog/QVTTaskDialog.h"

// The flags word of ShowMessageBox: buttons in bits 0-5 (and 0x40, 0x80,
// 0x1000), the main icon as one value of bits 8-15.
enum : UINT
{
    SMB_OK = 0x0001,
    SMB_YES = 0x0002,
    SMB_NO = 0x0004,
    SMB_CANCEL = 0x0008,
    SMB_RETRY = 0x0010,
    SMB_CLOSE = 0x0020,
    SMB_EXTRA = 0x0040,     // string and command 20116
    SMB_ALL = 0x0080,       // "All", command 20112
    SMB_SKIP_ALL = 0x1000,  // "Skip All", command 20114

    SMB_ICON_MASK = 0xFF00,
    SMB_ICON_WARNING = 0x0100,
    SMB_ICON_ERROR = 0x0200,
    SMB_ICON_INFORMATION = 0x0300,
    SMB_ICON_SHIELD = 0x0400,
    SMB_ICON_WARNING_ALT = 0x0500,

    // What the callers use.
    SMB_ERROR_OK = SMB_ICON_ERROR | SMB_OK,
    SMB_ERROR_YESNO = SMB_ICON_ERROR | SMB_YES | SMB_NO,
    SMB_INFO_OK = SMB_ICON_INFORMATION | SMB_OK,
    SMB_INFO_YESNO = SMB_ICON_INFORMATION | SMB_YES | SMB_NO,
};

// Command ids of the extra buttons (their string ids too).
enum : int
{
    SMB_ID_EXTRA = 20116,
    SMB_ID_ALL = 20112,
    SMB_ID_SKIP_ALL = 20114,
};

// The message box's task dialog: a click on the support address opens the
// support mail; any other link is opened by the shell.
class CTaskDialogEx : public CQVTTaskDialog
{
public:
    CTaskDialogEx() : CQVTTaskDialog(nullptr) {}

    void OnHyperlinkClicked(LPCWSTR pszURL) override;
};

// Shows the message box modally and returns the pressed button's command id
// (IDOK, IDCANCEL, IDRETRY, IDYES, IDNO, IDCLOSE or an extra button's id).
// Texts may be null. The owner is accepted for the callers' sake: the box
// has no parent.
int AFXAPI ShowMessageBox(LPCTSTR pszMainInstruction, LPCTSTR pszContent, LPCTSTR pszTitle, UINT nFlags,
                          CWnd* pOwner);

// The task-dialog icon of a flags word's bits 8-15; 0 for none.
UINT AFXAPI MessageBoxIconOf(UINT nFlags);
