#include "app/program/HelpDialog.h"

#include <shellapi.h>

#include <algorithm>

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

    SetDlgItemText(IDC_HELP_VERSION, LoadAppString(IDS_VERSION) + _T(" ") + CSondrelApp::GetVersionText());
    SetDlgItemText(IDC_HELP_LEGAL, ProductInfo::kLegalNotice);
    FitLegalNotice();
    CenterWindow();

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
    // The dialog's own focus would select the whole text: it opens with the
    // caret at the text's start instead.
    m_wndText.SetFocus();
    m_wndText.SetSel(0, 0);
    return FALSE;
}

// The template was laid out for narrower fonts than Wine's: the notice
// widens up to the controls beside it and, when it still does not fit,
// wraps onto as many lines as it needs, with what lies below it moved down
// and the dialog grown by as much.
void CHelpDialog::FitLegalNotice()
{
    CWnd* pLegal = GetDlgItem(IDC_HELP_LEGAL);
    if (pLegal == nullptr)
        return;
    CString strText;
    pLegal->GetWindowText(strText);
    CRect rcLegal;
    pLegal->GetWindowRect(&rcLegal);
    ScreenToClient(&rcLegal);
    CClientDC dc(pLegal);
    CFont* pOldFont = dc.SelectObject(pLegal->GetFont());
    CSize szText(0, 0);
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), strText, strText.GetLength(), &szText);
    if (szText.cx <= rcLegal.Width())
    {
        dc.SelectObject(pOldFont);
        return;
    }

    // The room ends a gap before the nearest control beside the line, or at
    // the dialog's right margin (as wide as its left one).
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcGap(0, 0, 4, 0);
    MapDialogRect(&rcGap);
    int nRight = rcClient.right - rcLegal.left;
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetWindow(GW_HWNDNEXT))
    {
        if (pChild == pLegal)
            continue;
        CRect rc;
        pChild->GetWindowRect(&rc);
        ScreenToClient(&rc);
        if (rc.left >= rcLegal.left + rcLegal.Width() / 2 && rc.top < rcLegal.bottom &&
            rc.bottom > rcLegal.top)
            nRight = std::min<int>(nRight, rc.left - rcGap.right);
    }
    CRect rcNew = rcLegal;
    rcNew.right = std::max<int>(rcLegal.right, std::min<int>(rcLegal.left + szText.cx, nRight));
    if (szText.cx > rcNew.Width())
    {
        CRect rcWrapped(0, 0, rcNew.Width(), 0);
        dc.DrawText(strText, &rcWrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        rcNew.bottom = rcNew.top + std::max<int>(rcLegal.Height(), rcWrapped.Height());
    }
    dc.SelectObject(pOldFont);

    const int nGrowth = rcNew.bottom - rcLegal.bottom;
    if (nGrowth > 0)
    {
        for (CWnd* pChild = GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetWindow(GW_HWNDNEXT))
        {
            CRect rc;
            pChild->GetWindowRect(&rc);
            ScreenToClient(&rc);
            if (pChild != pLegal && rc.top >= rcLegal.bottom)
                pChild->SetWindowPos(nullptr, rc.left, rc.top + nGrowth, 0, 0,
                                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height() + nGrowth,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    pLegal->SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
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
