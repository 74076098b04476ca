// The toolkit's task dialog: a modal message dialog with a main instruction,
// content, icons, custom buttons or command links, common buttons, radio
// buttons, expandable details, a verification box, a progress bar and a
// footer. It keeps the platform's configuration record, shows either the
// platform's dialog or its own window, and turns notifications into calls of
// its virtual handlers.
#pragma once

#include <afxtempl.h>

#include "toolkit/controls/taskdialog/QVTTaskDialogFrame.h"

class CQVTTaskDialog : public CQVTTaskDialogFrame
{
    DECLARE_DYNAMIC(CQVTTaskDialog)

public:
    explicit CQVTTaskDialog(CWnd* pParentWnd = nullptr);
    ~CQVTTaskDialog() override;

    // Texts take a string or a string id (MAKEINTRESOURCE); with a dialog
    // open, the setters with a live effect update it and give its answer.
    BOOL SetWindowTitle(PCWSTR pszText);
    BOOL SetMainInstruction(PCWSTR pszText);
    BOOL SetContent(PCWSTR pszText);
    BOOL SetFooter(PCWSTR pszText);
    void SetVerificationText(PCWSTR pszText);
    void SetExpandedInformation(PCWSTR pszText);
    void SetExpandedControlText(PCWSTR pszText);
    void SetCollapsedControlText(PCWSTR pszText);
    // An icon value: a standard icon (65531 to 65535) or an icon id.
    BOOL SetMainIcon(PCWSTR pszIcon);
    BOOL SetMainIcon(UINT nIcon) { return SetMainIcon(MAKEINTRESOURCEW(nIcon)); }
    void SetFooterIcon(PCWSTR pszIcon);
    void SetCommonButtons(BOOL bOk, BOOL bYes = FALSE, BOOL bNo = FALSE, BOOL bCancel = FALSE,
                          BOOL bRetry = FALSE, BOOL bClose = FALSE);
    // An entry with the id takes the text; else a new entry is appended.
    void AddButton(PCWSTR pszText, int nButtonID);
    void AddRadioButton(PCWSTR pszText, int nButtonID);
    void SetDefaultButton(int nButtonID) { m_config.nDefaultButton = nButtonID; }
    void SetDefaultRadioButton(int nButtonID) { m_config.nDefaultRadioButton = nButtonID; }
    void SetWidth(UINT cxWidth) { m_config.cxWidth = cxWidth; }
    void SetAllowCancellation(BOOL bAllow = TRUE);
    void EnableHyperlinks(BOOL bEnable = TRUE);
    // TRUE when the flags changed.
    BOOL ModifyFlags(DWORD dwRemove, DWORD dwAdd);

    INT_PTR DoModalUseComCtl32(BOOL bUseComCtl32);
    INT_PTR DoModal() override;

    int GetPressedButton() const { return m_nButtonPressed; }
    HWND GetDialogHandle() const { return m_hWndTaskDialog; }
    BOOL SetDialogHandle(HWND hWnd);
    void ClearDialogHandle() { m_hWndTaskDialog = nullptr; }
    QVTTaskDialogAPI::TASKDIALOGCONFIG& GetConfiguration() { return m_config; }
    const CArray<QVTTaskDialogAPI::_TASKDIALOG_BUTTON, const QVTTaskDialogAPI::_TASKDIALOG_BUTTON&>&
    GetButtons() const
    {
        return m_arrButtons;
    }

    // The assignment rule of every text field: an old string is freed; an
    // id (below 0x10000) is kept as it is, a non-empty string copied, an
    // empty one leaves the field null.
    static void AFX_CDECL SetTaskDialogText(PCWSTR& pszField, PCWSTR pszText);

    static HRESULT CALLBACK TaskDialogCallbackProc(HWND hWnd, UINT uNotification, WPARAM wParam,
                                                   LPARAM lParam, LONG_PTR dwRefData);

    // Notification handlers.
    virtual void OnDialogConstructed();
    virtual void OnDialogDestroyed();
    virtual void OnHyperlinkClicked(LPCWSTR pszURL);
    virtual void OnButtonClicked(int nButtonID, BOOL& bCloseDialog);
    virtual void OnRadioButtonClicked(int nButtonID);
    virtual void OnVerificationClicked(BOOL bChecked);
    virtual void OnHelp();
    virtual void OnInputBoxChanged();
    virtual void OnExpandoButtonClicked(BOOL bExpanded);
    virtual void OnTimer(DWORD dwMilliseconds, BOOL& bReset);
    virtual void OnNavigated();
    virtual HRESULT OnNotify(UINT uNotification, WPARAM wParam, LPARAM lParam);

protected:
    // The platform's TaskDialogIndirect when the platform dialog may be
    // used; null otherwise.
    virtual QVTTaskDialogAPI::PFNTASKDIALOGINDIRECT GetPlatformTaskDialog();
    INT_PTR DoModalPlatform(QVTTaskDialogAPI::PFNTASKDIALOGINDIRECT pfnTaskDialogIndirect);
    // Frees every text and entry and clears the configuration.
    void ResetConfiguration();
    BOOL SendToDialog(UINT message, WPARAM wParam, LPARAM lParam);
    static void AFX_CDECL SetButtonEntry(
        CArray<QVTTaskDialogAPI::_TASKDIALOG_BUTTON, const QVTTaskDialogAPI::_TASKDIALOG_BUTTON&>& arrButtons,
        PCWSTR pszText, int nButtonID);

    QVTTaskDialogAPI::TASKDIALOGCONFIG m_config;
    CArray<QVTTaskDialogAPI::_TASKDIALOG_BUTTON, const QVTTaskDialogAPI::_TASKDIALOG_BUTTON&> m_arrButtons;
    CArray<QVTTaskDialogAPI::_TASKDIALOG_BUTTON, const QVTTaskDialogAPI::_TASKDIALOG_BUTTON&>
        m_arrRadioButtons;
    int m_nButtonPressed;
    HWND m_hWndTaskDialog;  // the open dialog, platform's or own
    BOOL m_bUseComCtl32;    // the platform's dialog may be shown
};
