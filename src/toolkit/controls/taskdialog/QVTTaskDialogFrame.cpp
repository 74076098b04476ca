#include "toolkit/controls/taskdialog/QVTTaskDialogFrame.h"
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

#include <cstdlib>

namespace TD = QVTTaskDialogAPI;

IMPLEMENT_DYNAMIC(CQVTTaskDialogFrame, CQVTTaskDialogClient)

BEGIN_MESSAGE_MAP(CQVTTaskDialogFrame, CQVTTaskDialogClient)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(TDM_NAVIGATE_PAGE, &CQVTTaskDialogFrame::OnNavigatePage)
    ON_MESSAGE(TDM_CLICK_BUTTON, &CQVTTaskDialogFrame::OnClickButton)
    ON_MESSAGE(TDM_SET_MARQUEE_PROGRESS_BAR, &CQVTTaskDialogFrame::OnSetMarqueeProgressBar)
    ON_MESSAGE(TDM_SET_PROGRESS_BAR_STATE, &CQVTTaskDialogFrame::OnSetProgressBarState)
    ON_MESSAGE(TDM_SET_PROGRESS_BAR_RANGE, &CQVTTaskDialogFrame::OnSetProgressBarRange)
    ON_MESSAGE(TDM_SET_PROGRESS_BAR_POS, &CQVTTaskDialogFrame::OnSetProgressBarPos)
    ON_MESSAGE(TDM_SET_PROGRESS_BAR_MARQUEE, &CQVTTaskDialogFrame::OnSetProgressBarMarquee)
    ON_MESSAGE(TDM_SET_ELEMENT_TEXT, &CQVTTaskDialogFrame::OnSetElementText)
    ON_MESSAGE(TDM_CLICK_RADIO_BUTTON, &CQVTTaskDialogFrame::OnClickRadioButton)
    ON_MESSAGE(TDM_ENABLE_BUTTON, &CQVTTaskDialogFrame::OnEnableButton)
    ON_MESSAGE(TDM_ENABLE_RADIO_BUTTON, &CQVTTaskDialogFrame::OnEnableRadioButton)
    ON_MESSAGE(TDM_CLICK_VERIFICATION, &CQVTTaskDialogFrame::OnClickVerification)
    ON_MESSAGE(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE,
               &CQVTTaskDialogFrame::OnSetButtonElevationRequiredState)
    ON_MESSAGE(TDM_UPDATE_ICON, &CQVTTaskDialogFrame::OnUpdateIcon)
END_MESSAGE_MAP()

CQVTTaskDialogFrame::CQVTTaskDialogFrame(TD::TASKDIALOGCONFIG* pConfig)
    : CQVTTaskDialogClient(pConfig), m_lpDlgTemplate(nullptr), m_dwTickCount(0), m_nTimerInterval(200)
{
}

CQVTTaskDialogFrame::~CQVTTaskDialogFrame()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    free(m_lpDlgTemplate);
}

DWORD CQVTTaskDialogFrame::GetDialogStyle() const
{
    DWORD dwStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | DS_MODALFRAME | DS_NOIDLEMSG |
                    DS_3DLOOK | DS_ABSALIGN;
    if ((m_pConfig->dwFlags & TDF_ALLOW_DIALOG_CANCELLATION) ||
        (m_pConfig->dwCommonButtons & TDCBF_CANCEL_BUTTON))
        dwStyle |= WS_SYSMENU;
    if (m_pConfig->dwFlags & TDF_CAN_BE_MINIMIZED)
        dwStyle |= WS_MINIMIZEBOX;
    return dwStyle;
}

CString CQVTTaskDialogFrame::GetWindowTitle() const
{
    CString strTitle = LoadTaskDialogString(m_pConfig->hInstance, m_pConfig->pszWindowTitle);
    if (!strTitle.IsEmpty())
        return strTitle;
    // Without a title: the running module's file name.
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(hInstance ? hInstance : ::GetModuleHandleW(nullptr), szPath, MAX_PATH);
    WCHAR szName[_MAX_FNAME] = {}, szExtension[_MAX_EXT] = {};
    _wsplitpath_s(szPath, nullptr, 0, nullptr, 0, szName, _MAX_FNAME, szExtension, _MAX_EXT);
    strTitle.Format(_T("%s%s"), szName, szExtension);
    return strTitle;
}

INT_PTR CQVTTaskDialogFrame::DoModal()
{
    ::ReleaseCapture();
    if (!m_lpDlgTemplate)
    {
        m_lpDlgTemplate = static_cast<LPDLGTEMPLATE>(malloc(templateSize));
        if (!m_lpDlgTemplate)
            return -1;
    }
    memset(m_lpDlgTemplate, 0, templateSize);
    m_lpDlgTemplate->style = GetDialogStyle();
    m_lpDlgTemplate->dwExtendedStyle = (m_pConfig->dwFlags & TDF_RTL_LAYOUT) ? WS_EX_LAYOUTRTL : 0;
    if (!m_lpDialogTemplate && !m_hDialogTemplate && !m_lpszTemplateName)
        InitModalIndirect(m_lpDlgTemplate, CWnd::FromHandle(m_pConfig->hwndParent));
    return CQVTTaskDialogClient::DoModal();
}

int CQVTTaskDialogFrame::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    SetWindowText(GetWindowTitle());
    if (!(m_pConfig->dwFlags & TDF_USE_HICON_MAIN) && IS_INTRESOURCE(m_pConfig->pszMainIcon))
    {
        switch ((UINT)(UINT_PTR)m_pConfig->pszMainIcon)
        {
        case TD::iconWarning:
            ::MessageBeep(MB_ICONEXCLAMATION);
            break;
        case TD::iconError:
            ::MessageBeep(MB_ICONHAND);
            break;
        case TD::iconInformation:
            ::MessageBeep(MB_ICONASTERISK);
            break;
        }
    }
    if (!CreateClient(TRUE))
        return 0;
    SendNotify(TDN_DIALOG_CONSTRUCTED);
    SendNotify(TDN_CREATED);
    return 0;
}

void CQVTTaskDialogFrame::OnDestroy()
{
    CQVTTaskDialogClient::OnDestroy();
    SendNotify(TDN_DESTROYED);
}

void CQVTTaskDialogFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == timerCallback)
    {
        DWORD dwNow = ::GetTickCount();
        if (SendNotify(TDN_TIMER, dwNow - m_dwTickCount) == S_FALSE)
            m_dwTickCount = ::GetTickCount();
    }
    Default();
}

BOOL CQVTTaskDialogFrame::OnInitDialog()
{
    BOOL bResult = CQVTTaskDialogClient::OnInitDialog();
    int nDefault = m_pConfig->nDefaultButton;
    if (nDefault == 0)
    {
        if (m_arrCommandButtons.GetSize() > 0)
            nDefault = m_arrCommandButtons[0]->GetDlgCtrlID();
        else if (m_arrCommonButtons.GetSize() > 0)
            nDefault = m_arrCommonButtons[0]->GetDlgCtrlID();
    }
    HWND hDefault = nDefault > 0 ? ::GetDlgItem(m_hWnd, nDefault) : nullptr;
    if (hDefault)
    {
        SendMessage(DM_SETDEFID, (WPARAM)nDefault);
        if (!m_wndInputBox.m_hWnd)
            PostMessage(WM_NEXTDLGCTL, (WPARAM)hDefault, 1);
    }
    m_dwTickCount = ::GetTickCount();
    if (m_pConfig->dwFlags & TDF_CALLBACK_TIMER)
        SetTimer(timerCallback, m_nTimerInterval, nullptr);
    return bResult;
}

BOOL CQVTTaskDialogFrame::PreTranslateMessage(MSG* pMsg)
{
    // F1 asks for help once per press; its key-up goes nowhere either.
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_F1 &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
    {
        BOOL bRepeat = (pMsg->lParam & 0x40000000) != 0;
        if (pMsg->message == WM_KEYDOWN && !bRepeat)
            SendNotify(TDN_HELP);
        return TRUE;
    }
    return CQVTTaskDialogClient::PreTranslateMessage(pMsg);
}

HWND CQVTTaskDialogFrame::GetButtonChild(int nID) const
{
    HWND hChild = ::GetDlgItem(m_hWnd, nID);
    if (!hChild)
        return nullptr;
    WCHAR szClass[16] = {};
    ::GetClassNameW(hChild, szClass, 16);
    return ::lstrcmpiW(szClass, u"Button") == 0 ? hChild : nullptr;
}

BOOL CQVTTaskDialogFrame::IsRadioButton(HWND hWnd) const
{
    return hWnd && (::SendMessage(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON);
}

LRESULT CQVTTaskDialogFrame::OnNavigatePage(WPARAM, LPARAM lParam)
{
    TD::TASKDIALOGCONFIG* pConfig = reinterpret_cast<TD::TASKDIALOGCONFIG*>(lParam);
    if (!pConfig)
        return 0;
    m_pConfig = pConfig;
    KillTimer(timerCallback);
    SetWindowText(GetWindowTitle());
    if (!CreateClient(FALSE))
        return 0;
    OnInitDialog();
    SendNotify(TDN_DIALOG_CONSTRUCTED);
    SendNotify(TDN_NAVIGATED);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnClickButton(WPARAM wParam, LPARAM)
{
    HWND hChild = ::GetDlgItem(m_hWnd, (int)wParam);
    if (!hChild)
        return 0;
    SendMessage(WM_COMMAND, MAKEWPARAM((UINT)wParam, 0), (LPARAM)hChild);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetMarqueeProgressBar(WPARAM wParam, LPARAM)
{
    if (!m_wndProgressBar.m_hWnd)
        return 0;
    if (wParam)
        m_wndProgressBar.ModifyStyle(0, PBS_MARQUEE);
    else
        m_wndProgressBar.ModifyStyle(PBS_MARQUEE, 0);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetProgressBarState(WPARAM wParam, LPARAM)
{
    if (!m_wndProgressBar.m_hWnd)
        return 0;
    m_wndProgressBar.SendMessage(PBM_SETSTATE, wParam);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetProgressBarRange(WPARAM, LPARAM lParam)
{
    if (!m_wndProgressBar.m_hWnd)
        return 0;
    m_wndProgressBar.SendMessage(PBM_SETRANGE, 0, lParam);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetProgressBarPos(WPARAM wParam, LPARAM)
{
    if (!m_wndProgressBar.m_hWnd)
        return 0;
    m_wndProgressBar.SendMessage(PBM_SETPOS, wParam);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetProgressBarMarquee(WPARAM wParam, LPARAM lParam)
{
    if (!m_wndProgressBar.m_hWnd)
        return 0;
    m_wndProgressBar.SendMessage(PBM_SETMARQUEE, wParam, wParam ? lParam : 0);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetElementText(WPARAM wParam, LPARAM lParam)
{
    int nText;
    CQVTTaskDialogLinkCtrl* pLink = nullptr;
    switch (wParam)
    {
    case TD::elementContent:
        nText = textContent;
        pLink = &m_wndContent;
        break;
    case TD::elementExpandedInformation:
        nText = textExpandedInformation;
        pLink = &m_wndExpandedInformation;
        break;
    case TD::elementFooter:
        nText = textFooter;
        pLink = &m_wndFooter;
        break;
    case TD::elementMainInstruction:
        nText = textMainInstruction;
        break;
    default:
        return 0;
    }
    m_pTexts[nText]->SetText(LoadTaskDialogString(m_pConfig->hInstance, reinterpret_cast<PCWSTR>(lParam)));
    if (pLink && pLink->m_hWnd)
        pLink->DestroyWindow();
    if ((m_pConfig->dwFlags & TDF_ENABLE_HYPERLINKS) && (nText == textContent || nText == textFooter))
        CreateLinkControl(*pLink, nText);
    RecalcLayout(FALSE);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnClickRadioButton(WPARAM wParam, LPARAM)
{
    HWND hRadio = GetButtonChild((int)wParam);
    if (!IsRadioButton(hRadio))
        return 0;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (IsRadioButton(hChild))
            ::SendMessage(hChild, BM_SETCHECK, hChild == hRadio ? BST_CHECKED : BST_UNCHECKED, 0);
    m_nSelRadioButtonID = (int)wParam;
    SendNotify(TDN_RADIO_BUTTON_CLICKED, wParam);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnEnableButton(WPARAM wParam, LPARAM lParam)
{
    HWND hButton = GetButtonChild((int)wParam);
    if (!hButton)
        return 0;
    // The focus moves on before its button goes grey.
    if (!lParam && ::GetFocus() == hButton)
        PostMessage(WM_NEXTDLGCTL, (WPARAM)::GetNextDlgTabItem(m_hWnd, hButton, FALSE), 1);
    ::EnableWindow(hButton, lParam != 0);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnEnableRadioButton(WPARAM wParam, LPARAM lParam)
{
    HWND hRadio = GetButtonChild((int)wParam);
    if (!IsRadioButton(hRadio))
        return 0;
    ::EnableWindow(hRadio, lParam != 0);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnClickVerification(WPARAM wParam, LPARAM lParam)
{
    if (!m_pBtnVerify || !m_pBtnVerify->m_hWnd)
        return 0;
    m_bVerification = wParam != 0;
    m_pBtnVerify->SendMessage(BM_SETCHECK, m_bVerification ? BST_CHECKED : BST_UNCHECKED);
    SendNotify(TDN_VERIFICATION_CLICKED, m_bVerification);
    if (lParam)
        m_pBtnVerify->SetFocus();
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnSetButtonElevationRequiredState(WPARAM wParam, LPARAM lParam)
{
    HWND hButton = GetButtonChild((int)wParam);
    if (!hButton)
        return 0;
    ::SendMessage(hButton, BCM_SETSHIELD, 0, lParam);
    return 1;
}

LRESULT CQVTTaskDialogFrame::OnUpdateIcon(WPARAM wParam, LPARAM lParam)
{
    PCWSTR pszIcon = reinterpret_cast<PCWSTR>(lParam);
    if (wParam == 0)
    {
        if (m_hIconMain)
            ::DestroyIcon(m_hIconMain);
        m_hIconMain = CreateIcon(pszIcon, (m_pConfig->dwFlags & TDF_USE_HICON_MAIN) != 0, m_szIconMain);
    }
    else if (wParam == 1)
    {
        if (m_hIconFooter)
            ::DestroyIcon(m_hIconFooter);
        m_hIconFooter = CreateIcon(pszIcon, (m_pConfig->dwFlags & TDF_USE_HICON_FOOTER) != 0, m_szIconFooter);
    }
    else
    {
        return 0;
    }
    RecalcLayout(FALSE);
    return 1;
}
