// The task dialog's configuration and button entry in the platform's
// published layout, declared here so that the toolkit's own dialog and the
// platform's TaskDialogIndirect read the same bytes.
#pragma once

#include <windows.h>

namespace QVTTaskDialogAPI {

#pragma pack(push, 1)

struct _TASKDIALOG_BUTTON
{
    int nButtonID;
    PCWSTR pszButtonText;  // text or string id
};

typedef HRESULT(CALLBACK* PFTASKDIALOGCALLBACK)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                                LONG_PTR lpRefData);

struct TASKDIALOGCONFIG
{
    UINT cbSize;
    HWND hwndParent;
    HINSTANCE hInstance;
    DWORD dwFlags;
    DWORD dwCommonButtons;
    PCWSTR pszWindowTitle;
    union
    {
        HICON hMainIcon;
        PCWSTR pszMainIcon;
    };
    PCWSTR pszMainInstruction;
    PCWSTR pszContent;
    UINT cButtons;
    const _TASKDIALOG_BUTTON* pButtons;
    int nDefaultButton;
    UINT cRadioButtons;
    const _TASKDIALOG_BUTTON* pRadioButtons;
    int nDefaultRadioButton;
    PCWSTR pszVerificationText;
    PCWSTR pszExpandedInformation;
    PCWSTR pszExpandedControlText;
    PCWSTR pszCollapsedControlText;
    union
    {
        HICON hFooterIcon;
        PCWSTR pszFooterIcon;
    };
    PCWSTR pszFooter;
    PFTASKDIALOGCALLBACK pfCallback;
    LONG_PTR lpCallbackData;
    UINT cxWidth;  // dialog units
};

#pragma pack(pop)

static_assert(sizeof(_TASKDIALOG_BUTTON) == 12, "a button entry is 12 bytes");
static_assert(sizeof(TASKDIALOGCONFIG) == 160, "the configuration is 160 bytes");

typedef HRESULT(WINAPI* PFNTASKDIALOGINDIRECT)(const TASKDIALOGCONFIG* pConfig, int* pnButton,
                                               int* pnRadioButton, BOOL* pfVerificationFlagChecked);

// The standard icons, as icon values.
enum StandardIcon : WORD
{
    iconQuestion = 65531,  // the toolkit's own, the platform has none
    iconShield = 65532,
    iconInformation = 65533,
    iconError = 65534,
    iconWarning = 65535,
};

// Elements of TDM_SET_ELEMENT_TEXT and places of TDM_UPDATE_ICON.
enum Element
{
    elementContent = 0,
    elementExpandedInformation = 1,
    elementFooter = 2,
    elementMainInstruction = 3,
};

// Notification of a changed input box, beyond the platform's codes.
const UINT TDN_INPUTBOX_CHANGED = 200;

}  // namespace QVTTaskDialogAPI
