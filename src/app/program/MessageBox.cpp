#include "app/program/MessageBox.h"

#include <shellapi.h>

#include "app/program/ProductInfo.h"
#include "app/program/SondrelApp.h"

void CTaskDialogEx::OnHyperlinkClicked(LPCWSTR pszURL)
{
    if (pszURL == nullptr)
        return;
    // Reached from the dialog's window procedure: nothing may unwind into it.
    try
    {
        if (CString(pszURL).CompareNoCase(ProductInfo::kSupportMail) == 0)
        {
            CSondrelApp* pApp = dynamic_cast<CSondrelApp*>(CApplicationBase::GetInstance());
            if (pApp != nullptr)
                pApp->OpenSupportMail(0);
            return;
        }
        ::ShellExecuteW(nullptr, _T("open"), pszURL, nullptr, nullptr, SW_SHOWNORMAL);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
}

UINT AFXAPI MessageBoxIconOf(UINT nFlags)
{
    switch (nFlags & SMB_ICON_MASK)
    {
    case SMB_ICON_WARNING:
    case SMB_ICON_WARNING_ALT:
        return 0xFFFF;
    case SMB_ICON_ERROR:
        return 0xFFFE;
    case SMB_ICON_INFORMATION:
        return 0xFFFD;
    case SMB_ICON_SHIELD:
        return 0xFFFC;
    default:
        return 0;
    }
}

int AFXAPI ShowMessageBox(LPCTSTR pszMainInstruction, LPCTSTR pszContent, LPCTSTR pszTitle, UINT nFlags,
                          CWnd* /*pOwner*/)
{
    CTaskDialogEx dialog;
    if (pszTitle != nullptr)
        dialog.SetWindowTitle(pszTitle);
    if (pszMainInstruction != nullptr)
        dialog.SetMainInstruction(pszMainInstruction);
    if (pszContent != nullptr)
        dialog.SetContent(pszContent);
    if (UINT nIcon = MessageBoxIconOf(nFlags))
        dialog.SetMainIcon(nIcon);
    dialog.EnableHyperlinks(TRUE);
    dialog.SetAllowCancellation(TRUE);

    CString strFooter;
    strFooter.Format(_T("e-mail: <a href=\"%s\">%s</a>"), ProductInfo::kSupportMail,
                     ProductInfo::kSupportMail);
    dialog.SetFooter(strFooter);

    dialog.SetCommonButtons((nFlags & SMB_OK) != 0, (nFlags & SMB_YES) != 0, (nFlags & SMB_NO) != 0,
                            (nFlags & SMB_CANCEL) != 0, (nFlags & SMB_RETRY) != 0, (nFlags & SMB_CLOSE) != 0);
    for (int nExtra : {SMB_ID_EXTRA, SMB_ID_ALL, SMB_ID_SKIP_ALL})
    {
        const UINT nBit = nExtra == SMB_ID_EXTRA ? SMB_EXTRA : nExtra == SMB_ID_ALL ? SMB_ALL : SMB_SKIP_ALL;
        if (nFlags & nBit)
            dialog.AddButton(LoadAppString(nExtra), nExtra);
    }
    return static_cast<int>(dialog.DoModalUseComCtl32(FALSE));
}
