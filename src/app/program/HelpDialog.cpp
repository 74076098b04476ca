#include "app/program/HelpDialog.h"

#include <shellapi.h>

#include "app/program/ProductInfo.h"
#include "app/program/ShellResource.h"
#include "app/program/SondrelApp.h"
#include "common/StreamText.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

BEGIN_MESSAGE_MAP(CHelpDialog, CDialog)
    ON_BN_CLICKED(IDC_HELP_LICENSE, &CHelpDialog::OnLicense)
    ON_BN_CLICKED(IDC_HELP_CREDITS, &CHelpDialog::OnCredits)
    ON_BN_CLICKED(IDC_HELP_DONATE, &CHelpDialog::OnDonate)
    ON_BN_CLICKED(IDC_HELP_CLOSE, &CHelpDialog::OnClose)
    ON_STN_CLICKED(IDC_HELP_SUPPORT_LINK, &CHelpDialog::OnSupportMail)
END_MESSAGE_MAP()

CHelpDialog::CHelpDialog(CWnd* pParent)
{
    m_pParentWnd = pParent;
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_HELP);
    if (pTemplate != nullptr)
        InitModalIndirect(pTemplate, pParent);
}

void CHelpDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HELP_TEXT, m_wndText);
    DDX_Control(pDX, IDC_HELP_LICENSE, m_btnLicense);
    DDX_Control(pDX, IDC_HELP_CREDITS, m_btnCredits);
    DDX_Control(pDX, IDC_HELP_DONATE, m_btnDonate);
    DDX_Control(pDX, IDC_HELP_SUPPORT_LINK, m_wndSupportLink);
    DDX_Control(pDX, IDC_HELP_SITE_LINK, m_wndSiteLink);
}

BOOL CHelpDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();

    SetDlgItemText(IDC_HELP_VERSION, LoadAppString(IDS_VERSION) + _T(" ") + CSondrelApp::GetVersionText());
    SetDlgItemText(IDC_HELP_LEGAL, ProductInfo::kLegalNotice);

    // The support link reaches the dialog as its command: the mail is built
    // here, not opened by the link.
    m_wndSupportLink.m_bLaunchOnClick = 0;
    m_wndSupportLink.SetWindowText(ProductInfo::kSupportMail);
    m_wndSupportLink.SetURL(_T("Send a letter to support"));

    CString strHost = ProductInfo::kWebDomain;
    m_wndSiteLink.SetWindowText(strHost);
    m_wndSiteLink.SetURL(ProductInfo::kWebSite);

    m_btnDonate.EnableMarkup(TRUE);
    m_btnDonate.SetWindowText(_T("<TextBlock><Run FontWeight='Bold'>") + LoadAppString(IDS_DONATE) +
                              _T("...</Run></TextBlock>"));

    CString strCaption;
    GetWindowText(strCaption);
    strCaption.Replace(_T("<->"), ProductInfo::kName);
    SetWindowText(strCaption);

    OnCredits();
    return TRUE;
}

CString AFXAPI CHelpDialog::LoadTextResource(UINT nID)
{
    CString strText;
    IStream* pStream = nullptr;
    HMODULE hLanguage = CQVTResourceManager::GetResourceHandle();
    HMODULE hProgram = AfxGetInstanceHandle();
    HRESULT hr = E_FAIL;
    if (hLanguage != nullptr)
        hr = LoadResourceStream(hLanguage, MAKEINTRESOURCE(nID), _T("TXT"), &pStream);
    if (FAILED(hr) && hProgram != hLanguage)
        hr = LoadResourceStream(hProgram, MAKEINTRESOURCE(nID), _T("TXT"), &pStream);
    if (SUCCEEDED(hr) && pStream != nullptr)
    {
        if (FAILED(ReadStreamText(pStream, STREAM_TEXT_DETECT, strText)))
            strText.Empty();
        pStream->Release();
    }
    return strText;
}

void CHelpDialog::ShowText(UINT nID)
{
    m_wndText.SetWindowText(LoadTextResource(nID));
}

void CHelpDialog::OnLicense()
{
    ShowText(IDT_LICENSE);
}

void CHelpDialog::OnCredits()
{
    ShowText(IDT_DESCRIPTION);
}

void CHelpDialog::OnDonate()
{
    CSondrelApp* pApp = dynamic_cast<CSondrelApp*>(CApplicationBase::GetInstance());
    CString strPage = pApp != nullptr ? pApp->m_strDonationPage : CString(ProductInfo::kDonationPage);
    // A failing browser is not reported.
    ::ShellExecuteW(nullptr, _T("open"), strPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void CHelpDialog::OnClose()
{
    EndDialog(IDOK);
}

void CHelpDialog::OnSupportMail()
{
    CSondrelApp* pApp = dynamic_cast<CSondrelApp*>(CApplicationBase::GetInstance());
    if (pApp != nullptr)
        pApp->OpenSupportMail(0);
}
