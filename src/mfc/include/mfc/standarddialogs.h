// Standard dialogs.
#pragma once

// Base of the dialogs the system runs itself (file, folder, colour, font):
// the system function ends the dialog, so OK and Cancel only exchange data.
class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    void OnOK() override;
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()
};
