#include "toolkit/controls/taskdialog/QVTTaskDialog.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTOSVersion.h"

#include <shellapi.h>

namespace TD = QVTTaskDialogAPI;

IMPLEMENT_DYNAMIC(CQVTTaskDialog, CQVTTaskDialogFrame)

CQVTTaskDialog::CQVTTaskDialog(CWnd* pParentWnd)
    : CQVTTaskDialogFrame(&m_config), m_nButtonPressed(0), m_hWndTaskDialog(nullptr), m_bUseComCtl32(TRUE)
{
    ZeroMemory(&m_config, sizeof(m_config));
    m_config.cbSize = sizeof(m_config);
    HINSTANCE hInstance = AfxGetInstanceHandle();
    m_config.hInstance = hInstance ? hInstance : ::GetModuleHandleW(nullptr);
    m_config.hwndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    m_config.pfCallback = TaskDialogCallbackProc;
    m_config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
    m_config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pszAppName)
        SetTaskDialogText(m_config.pszWindowTitle, pApp->m_pszAppName);
}

CQVTTaskDialog::~CQVTTaskDialog()
{
    ResetConfiguration();
}

void AFX_CDECL CQVTTaskDialog::SetTaskDialogText(PCWSTR& pszField, PCWSTR pszText)
{
    if (!IS_INTRESOURCE(pszField))
        delete[] pszField;
    pszField = nullptr;
    if (IS_INTRESOURCE(pszText))
    {
        pszField = pszText;
        return;
    }
    size_t nLength = 0;
    while (pszText[nLength])
        ++nLength;
    if (nLength == 0)
        return;
    WCHAR* pszCopy = new WCHAR[nLength + 1];
    memcpy(pszCopy, pszText, (nLength + 1) * sizeof(WCHAR));
    pszField = pszCopy;
}

void CQVTTaskDialog::ResetConfiguration()
{
    for (PCWSTR* pField :
         {&m_config.pszWindowTitle, &m_config.pszMainInstruction, &m_config.pszContent,
          &m_config.pszVerificationText, &m_config.pszExpandedInformation, &m_config.pszExpandedControlText,
          &m_config.pszCollapsedControlText, &m_config.pszFooter})
        SetTaskDialogText(*pField, nullptr);
    m_config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
    m_config.pszMainIcon = nullptr;
    m_config.pszFooterIcon = nullptr;
    m_config.dwCommonButtons = 0;
    m_config.cButtons = 0;
    m_config.pButtons = nullptr;
    m_config.cRadioButtons = 0;
    m_config.pRadioButtons = nullptr;
    for (auto* pArray : {&m_arrButtons, &m_arrRadioButtons})
    {
        for (INT_PTR i = 0; i < pArray->GetSize(); ++i)
            SetTaskDialogText((*pArray)[i].pszButtonText, nullptr);
        pArray->RemoveAll();
    }
    m_nButtonPressed = 0;
    m_bInputBox = FALSE;
}

BOOL CQVTTaskDialog::SendToDialog(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWndTaskDialog || !::IsWindow(m_hWndTaskDialog))
        return TRUE;
    return ::SendMessage(m_hWndTaskDialog, message, wParam, lParam) != 0;
}

BOOL CQVTTaskDialog::SetWindowTitle(PCWSTR pszText)
{
    // An id is loaded now: later loads see the text.
    if (IS_INTRESOURCE(pszText) && pszText)
    {
        CString strTitle;
        UINT nID = (UINT)(UINT_PTR)pszText;
        if (m_config.hInstance &&
            ::FindResourceW(m_config.hInstance, MAKEINTRESOURCEW(nID / 16 + 1), RT_STRING))
            strTitle = LoadTaskDialogString(m_config.hInstance, pszText);
        SetTaskDialogText(m_config.pszWindowTitle, strTitle);
    }
    else
    {
        SetTaskDialogText(m_config.pszWindowTitle, pszText ? pszText : u"");
    }
    if (m_hWndTaskDialog && ::IsWindow(m_hWndTaskDialog))
        return ::SetWindowTextW(m_hWndTaskDialog, m_config.pszWindowTitle ? m_config.pszWindowTitle : u"");
    return TRUE;
}

BOOL CQVTTaskDialog::SetMainInstruction(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszMainInstruction, pszText ? pszText : u"");
    return SendToDialog(TDM_SET_ELEMENT_TEXT, TD::elementMainInstruction,
                        (LPARAM)m_config.pszMainInstruction);
}

BOOL CQVTTaskDialog::SetContent(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszContent, pszText ? pszText : u"");
    return SendToDialog(TDM_SET_ELEMENT_TEXT, TD::elementContent, (LPARAM)m_config.pszContent);
}

BOOL CQVTTaskDialog::SetFooter(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszFooter, pszText ? pszText : u"");
    return SendToDialog(TDM_SET_ELEMENT_TEXT, TD::elementFooter, (LPARAM)m_config.pszFooter);
}

void CQVTTaskDialog::SetVerificationText(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszVerificationText, pszText ? pszText : u"");
}

void CQVTTaskDialog::SetExpandedInformation(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszExpandedInformation, pszText ? pszText : u"");
}

void CQVTTaskDialog::SetExpandedControlText(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszExpandedControlText, pszText ? pszText : u"");
}

void CQVTTaskDialog::SetCollapsedControlText(PCWSTR pszText)
{
    SetTaskDialogText(m_config.pszCollapsedControlText, pszText ? pszText : u"");
}

BOOL CQVTTaskDialog::SetMainIcon(PCWSTR pszIcon)
{
    m_config.dwFlags &= ~TDF_USE_HICON_MAIN;
    m_config.pszMainIcon = pszIcon;
    return SendToDialog(TDM_UPDATE_ICON, 0, (LPARAM)pszIcon);
}

void CQVTTaskDialog::SetFooterIcon(PCWSTR pszIcon)
{
    m_config.dwFlags &= ~TDF_USE_HICON_FOOTER;
    m_config.pszFooterIcon = pszIcon;
}

void CQVTTaskDialog::SetCommonButtons(BOOL bOk, BOOL bYes, BOOL bNo, BOOL bCancel, BOOL bRetry, BOOL bClose)
{
    m_config.dwCommonButtons = (bOk ? TDCBF_OK_BUTTON : 0) | (bYes ? TDCBF_YES_BUTTON : 0) |
                               (bNo ? TDCBF_NO_BUTTON : 0) | (bCancel ? TDCBF_CANCEL_BUTTON : 0) |
                               (bRetry ? TDCBF_RETRY_BUTTON : 0) | (bClose ? TDCBF_CLOSE_BUTTON : 0);
}

void AFX_CDECL CQVTTaskDialog::SetButtonEntry(
    CArray<TD::_TASKDIALOG_BUTTON, const TD::_TASKDIALOG_BUTTON&>& arrButtons, PCWSTR pszText, int nButtonID)
{
    for (INT_PTR i = 0; i < arrButtons.GetSize(); ++i)
    {
        if (arrButtons[i].nButtonID == nButtonID)
        {
            SetTaskDialogText(arrButtons[i].pszButtonText, pszText ? pszText : u"");
            return;
        }
    }
    TD::_TASKDIALOG_BUTTON entry = {nButtonID, nullptr};
    SetTaskDialogText(entry.pszButtonText, pszText ? pszText : u"");
    arrButtons.Add(entry);
}

void CQVTTaskDialog::AddButton(PCWSTR pszText, int nButtonID)
{
    SetButtonEntry(m_arrButtons, pszText, nButtonID);
    m_config.pButtons = m_arrButtons.GetData();
    m_config.cButtons = (UINT)m_arrButtons.GetSize();
}

void CQVTTaskDialog::AddRadioButton(PCWSTR pszText, int nButtonID)
{
    SetButtonEntry(m_arrRadioButtons, pszText, nButtonID);
    m_config.pRadioButtons = m_arrRadioButtons.GetData();
    m_config.cRadioButtons = (UINT)m_arrRadioButtons.GetSize();
}

void CQVTTaskDialog::SetAllowCancellation(BOOL bAllow)
{
    ModifyFlags(TDF_ALLOW_DIALOG_CANCELLATION, bAllow ? TDF_ALLOW_DIALOG_CANCELLATION : 0);
}

void CQVTTaskDialog::EnableHyperlinks(BOOL bEnable)
{
    ModifyFlags(TDF_ENABLE_HYPERLINKS, bEnable ? TDF_ENABLE_HYPERLINKS : 0);
}

BOOL CQVTTaskDialog::ModifyFlags(DWORD dwRemove, DWORD dwAdd)
{
    DWORD dwFlags = (m_config.dwFlags & ~dwRemove) | dwAdd;
    if (dwFlags == m_config.dwFlags)
        return FALSE;
    m_config.dwFlags = dwFlags;
    return TRUE;
}

BOOL CQVTTaskDialog::SetDialogHandle(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    m_hWndTaskDialog = hWnd;
    return TRUE;
}

INT_PTR CQVTTaskDialog::DoModalUseComCtl32(BOOL bUseComCtl32)
{
    m_bUseComCtl32 = bUseComCtl32;
    return DoModal();
}

TD::PFNTASKDIALOGINDIRECT CQVTTaskDialog::GetPlatformTaskDialog()
{
    if (!m_bUseComCtl32 || m_bInputBox || m_bUseMarkup || !QVTOSVersion()->IsWinVistaOrGreater())
        return nullptr;
    static CQVTModuleHandle comctl32;
    TD::PFNTASKDIALOGINDIRECT pfn = nullptr;
    if ((!comctl32.GetHandle() && !comctl32.LoadLibrary(u"ComCtl32.dll")) ||
        !comctl32.GetProcAddress(&pfn, "TaskDialogIndirect", MAKELONG(0, 6)))
        return nullptr;
    return pfn;
}

INT_PTR CQVTTaskDialog::DoModalPlatform(TD::PFNTASKDIALOGINDIRECT pfnTaskDialogIndirect)
{
    // The platform has no question icon: it gets one as a handle, for the
    // call only.
    HICON hMainIcon = nullptr, hFooterIcon = nullptr;
    if (!(m_config.dwFlags & TDF_USE_HICON_MAIN) &&
        m_config.pszMainIcon == MAKEINTRESOURCEW(TD::iconQuestion))
    {
        CQVTSystemMetrics* pMetrics = QVTSystemMetrics();
        hMainIcon = CreateIcon(m_config.pszMainIcon, FALSE, CSize(pMetrics->m_nIconX, pMetrics->m_nIconY));
        if (hMainIcon)
        {
            m_config.hMainIcon = hMainIcon;
            m_config.dwFlags |= TDF_USE_HICON_MAIN;
        }
    }
    if (!(m_config.dwFlags & TDF_USE_HICON_FOOTER) &&
        m_config.pszFooterIcon == MAKEINTRESOURCEW(TD::iconQuestion))
    {
        CQVTSystemMetrics* pMetrics = QVTSystemMetrics();
        hFooterIcon = CreateIcon(m_config.pszFooterIcon, FALSE,
                                 CSize(pMetrics->m_nSmallIconX, pMetrics->m_nSmallIconY));
        if (hFooterIcon)
        {
            m_config.hFooterIcon = hFooterIcon;
            m_config.dwFlags |= TDF_USE_HICON_FOOTER;
        }
    }
    int nButton = 0;
    HRESULT hr = pfnTaskDialogIndirect(&m_config, &nButton, &m_nSelRadioButtonID, &m_bVerification);
    m_nButtonPressed = SUCCEEDED(hr) ? nButton : 0;
    if (hMainIcon)
    {
        ::DestroyIcon(hMainIcon);
        m_config.pszMainIcon = MAKEINTRESOURCEW(TD::iconQuestion);
        m_config.dwFlags &= ~TDF_USE_HICON_MAIN;
    }
    if (hFooterIcon)
    {
        ::DestroyIcon(hFooterIcon);
        m_config.pszFooterIcon = MAKEINTRESOURCEW(TD::iconQuestion);
        m_config.dwFlags &= ~TDF_USE_HICON_FOOTER;
    }
    return m_nButtonPressed;
}

INT_PTR CQVTTaskDialog::DoModal()
{
    m_config.pButtons = m_arrButtons.GetData();
    m_config.cButtons = (UINT)m_arrButtons.GetSize();
    m_config.pRadioButtons = m_arrRadioButtons.GetData();
    m_config.cRadioButtons = (UINT)m_arrRadioButtons.GetSize();
    m_pConfig = &m_config;
    if (TD::PFNTASKDIALOGINDIRECT pfn = GetPlatformTaskDialog())
        return DoModalPlatform(pfn);
    m_nButtonPressed = (int)CQVTTaskDialogFrame::DoModal();
    return m_nButtonPressed;
}

HRESULT CALLBACK CQVTTaskDialog::TaskDialogCallbackProc(HWND hWnd, UINT uNotification, WPARAM wParam,
                                                        LPARAM lParam, LONG_PTR dwRefData)
{
    CQVTTaskDialog* pDialog = reinterpret_cast<CQVTTaskDialog*>(dwRefData);
    if (!pDialog)
        return E_FAIL;
    // The platform's dialog and our own window call in here alike: nothing
    // may unwind through either.
    try
    {
        if (uNotification == TDN_DIALOG_CONSTRUCTED)
            pDialog->SetDialogHandle(hWnd);
        if (uNotification == TDN_DESTROYED)
        {
            pDialog->OnDialogDestroyed();
            pDialog->ClearDialogHandle();
            return S_OK;
        }
        return pDialog->OnNotify(uNotification, wParam, lParam);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return E_FAIL;
}

HRESULT CQVTTaskDialog::OnNotify(UINT uNotification, WPARAM wParam, LPARAM lParam)
{
    switch (uNotification)
    {
    case TDN_CREATED:
        return S_OK;
    case TDN_NAVIGATED:
        OnNavigated();
        return S_OK;
    case TDN_BUTTON_CLICKED:
    {
        BOOL bClose = TRUE;
        OnButtonClicked((int)wParam, bClose);
        return bClose ? S_OK : S_FALSE;
    }
    case TDN_HYPERLINK_CLICKED:
        OnHyperlinkClicked(reinterpret_cast<LPCWSTR>(lParam));
        return S_OK;
    case TDN_TIMER:
    {
        BOOL bReset = FALSE;
        OnTimer((DWORD)wParam, bReset);
        return bReset ? 1 : 0;
    }
    case TDN_RADIO_BUTTON_CLICKED:
        OnRadioButtonClicked((int)wParam);
        return S_OK;
    case TDN_DIALOG_CONSTRUCTED:
        OnDialogConstructed();
        return S_OK;
    case TDN_VERIFICATION_CLICKED:
        OnVerificationClicked(wParam != 0);
        return S_OK;
    case TDN_HELP:
        OnHelp();
        return S_OK;
    case TDN_EXPANDO_BUTTON_CLICKED:
        OnExpandoButtonClicked(wParam != 0);
        return S_OK;
    case TD::TDN_INPUTBOX_CHANGED:
        OnInputBoxChanged();
        return S_OK;
    }
    return E_NOTIMPL;
}

void CQVTTaskDialog::OnDialogConstructed() {}

void CQVTTaskDialog::OnDialogDestroyed() {}

void CQVTTaskDialog::OnHyperlinkClicked(LPCWSTR pszURL)
{
    if (pszURL)
        ::ShellExecuteW(nullptr, u"open", pszURL, nullptr, nullptr, SW_SHOW);
}

void CQVTTaskDialog::OnButtonClicked(int, BOOL& bCloseDialog)
{
    bCloseDialog = TRUE;
}

void CQVTTaskDialog::OnRadioButtonClicked(int) {}

void CQVTTaskDialog::OnVerificationClicked(BOOL) {}

void CQVTTaskDialog::OnHelp() {}

void CQVTTaskDialog::OnInputBoxChanged() {}

void CQVTTaskDialog::OnExpandoButtonClicked(BOOL) {}

void CQVTTaskDialog::OnTimer(DWORD, BOOL&) {}

void CQVTTaskDialog::OnNavigated() {}
