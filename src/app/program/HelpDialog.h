// The about box: the program's description or its licence in a read-only
// box, the version, the legal notice, a bold markup "Donate..." button and
// two links, the support mail and the web site. Its template comes through
// the toolkit's resource manager, so that a language resource can replace
// it, and so do its texts.
#pragma once

#include <afxwin.h>

#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/controls/hyperlink/QVTHyperLink.h"

class CHelpDialog : public CDialog
{
public:
    explicit CHelpDialog(CWnd* pParent = nullptr);

    // The text of a "TXT" resource: the language resource's, else the
    // program's own; empty when neither has it.
    static CString AFXAPI LoadTextResource(UINT nID);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnLicense();
    afx_msg void OnCredits();
    afx_msg void OnDonate();
    afx_msg void OnClose();
    afx_msg void OnSupportMail();
    DECLARE_MESSAGE_MAP()

    void ShowText(UINT nID);
    // Sizes the legal notice to its text in the dialog's font.
    void FitLegalNotice();

    CEdit m_wndText;
    CButton m_btnLicense;
    CButton m_btnCredits;
    CQVTButton m_btnDonate;
    CQVTHyperLink m_wndSupportLink;
    CQVTHyperLink m_wndSiteLink;
};
