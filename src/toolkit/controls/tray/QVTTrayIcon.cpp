#include "toolkit/controls/tray/QVTTrayIcon.h"

#include <algorithm>

#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

const TCHAR kTrayIconClass[] = _T("QVTTrayIcon");
const TCHAR kHiddenParentClass[] = _T("QVTTrayIconHiddenParent");
const UINT kAddFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
const UINT kDefaultAnimationTimer = 1001;
// Windows XP's shell takes the notify data without its balloon icon.
const DWORD kNotifyDataSizeWindowsXP = 968;
// The caption's animation of DrawAnimatedRects.
const int kAnimateCaption = 3;

UINT TaskbarCreatedMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageW(u"TaskbarCreated");
    return nMessage;
}

BOOL IsWindowAnimationOn()
{
    ANIMATIONINFO info = {sizeof(info), 0};
    return ::SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0) && info.iMinAnimate != 0;
}

struct TrayClockSearch
{
    CRect* pRect;
};

BOOL CALLBACK FindTrayParts(HWND hWnd, LPARAM lParam)
{
    TrayClockSearch* pSearch = reinterpret_cast<TrayClockSearch*>(lParam);
    WCHAR szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (::lstrcmpiW(szClass, u"TrayNotifyWnd") == 0)
    {
        ::GetWindowRect(hWnd, pSearch->pRect);
        return TRUE;
    }
    if (::lstrcmpiW(szClass, u"TrayClockWClass") == 0)
    {
        CRect rcClock;
        ::GetWindowRect(hWnd, &rcClock);
        if (rcClock.bottom >= pSearch->pRect->bottom - 5)
            pSearch->pRect->right = rcClock.left;
        else
            pSearch->pRect->top = rcClock.bottom;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CQVTTrayIcon, CWnd)
    ON_MESSAGE(WM_TRAYICON_NOTIFY, &CQVTTrayIcon::OnTrayIconNotify)
    ON_WM_SETTINGCHANGE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CQVTTrayIcon::CQVTTrayIcon()
    : m_nFlagsToAdd(kAddFlags), m_nIconId(0), m_nAnimationTimerId(kDefaultAnimationTimer),
      m_nAnimationIndex(0), m_nDefaultItem(0), m_bDefaultByPosition(TRUE), m_bHidden(TRUE), m_bRemoved(TRUE),
      m_bAddPending(FALSE), m_hwndOwner(nullptr), m_nTipCapacity(64), m_hIcon(nullptr), m_listAnimation(10)
{
    memset(&m_nid, 0, sizeof(m_nid));
    m_nid.cbSize = GetNotifyDataSize(QVTOSVersion()->IsWinXP());
    m_nid.uCallbackMessage = WM_TRAYICON_NOTIFY;
    TaskbarCreatedMessage();
    CQVTDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), kTrayIconClass, 0);
}

CQVTTrayIcon::~CQVTTrayIcon()
{
    RemoveIcon();
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_wndHiddenParent.GetSafeHwnd())
        m_wndHiddenParent.DestroyWindow();
    RemoveAnimationIcons();
    DestroyOwnedIcon(m_hIcon);
    m_hIcon = nullptr;
}

DWORD AFX_CDECL CQVTTrayIcon::GetNotifyDataSize(BOOL bWindowsXP)
{
    return bWindowsXP ? kNotifyDataSizeWindowsXP : static_cast<DWORD>(sizeof(NOTIFYICONDATAW));
}

void CQVTTrayIcon::DestroyOwnedIcon(HICON hIcon)
{
    if (!hIcon)
        return;
    if (m_nid.hIcon == hIcon)
        m_nid.hIcon = nullptr;
    ::DestroyIcon(hIcon);
}

BOOL CQVTTrayIcon::Create(LPCTSTR lpszTip, CWnd* pOwner, UINT nIconId)
{
    return Create(lpszTip, pOwner, nIconId, 0, 0, FALSE);
}

BOOL CQVTTrayIcon::Create(LPCTSTR lpszTip, CWnd* pOwner, UINT nIconId, UINT nTrayId, UINT nDefaultItem,
                          BOOL bDefaultByPosition)
{
    m_nIconId = nIconId;
    m_strTip = lpszTip;
    m_hwndOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    m_nTipCapacity = 127;
    SetIconResource(nIconId);
    SetTooltipText(lpszTip);
    if (!GetSafeHwnd() && !CreateEx(0, kTrayIconClass, lpszTip, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
        return FALSE;
    m_nid.hWnd = GetSafeHwnd();
    m_nid.uID = nTrayId;
    m_nDefaultItem = nDefaultItem;
    m_bDefaultByPosition = bDefaultByPosition;
    m_nFlagsToAdd = kAddFlags;
    return AddIcon();
}

BOOL CQVTTrayIcon::Notify(DWORD dwMessage)
{
    return ::Shell_NotifyIconW(dwMessage, &m_nid);
}

BOOL AFX_CDECL CQVTTrayIcon::HasStateSupport()
{
    static const BOOL bSupported = HIWORD(CQVTModuleHandle(_T("shell32.dll")).GetDllVersion()) >= 5;
    return bSupported;
}

BOOL CQVTTrayIcon::AddIcon()
{
    if (!m_bRemoved)
        RemoveIcon();
    m_nid.uFlags = m_nFlagsToAdd;
    if (!Notify(NIM_ADD))
    {
        m_bAddPending = TRUE;
        return FALSE;
    }
    m_bHidden = FALSE;
    m_bRemoved = FALSE;
    return TRUE;
}

BOOL CQVTTrayIcon::RemoveIcon()
{
    m_bAddPending = FALSE;
    if (m_bRemoved)
        return TRUE;
    m_nid.uFlags = 0;
    if (!Notify(NIM_DELETE))
        return FALSE;
    m_bHidden = TRUE;
    m_bRemoved = TRUE;
    return TRUE;
}

BOOL CQVTTrayIcon::HideIcon()
{
    if (m_bHidden || m_bRemoved)
        return TRUE;
    if (!HasStateSupport())
        return RemoveIcon();
    m_nid.uFlags = NIF_STATE;
    m_nid.dwState = m_nid.dwStateMask = NIS_HIDDEN;
    m_bHidden = Notify(NIM_MODIFY);
    return m_bHidden;
}

BOOL CQVTTrayIcon::ShowIcon()
{
    if (m_bRemoved)
        return AddIcon();
    if (!m_bHidden)
        return TRUE;
    if (!HasStateSupport())
        return AddIcon();
    m_nid.uFlags = NIF_STATE;
    m_nid.dwState = 0;
    m_nid.dwStateMask = NIS_HIDDEN;
    if (!Notify(NIM_MODIFY))
        return FALSE;
    m_bHidden = FALSE;
    m_bRemoved = FALSE;
    return TRUE;
}

BOOL CQVTTrayIcon::SetIcon(HICON hIcon)
{
    if (hIcon == m_nid.hIcon)
        return TRUE;
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = hIcon;
    if (m_bHidden)
        return TRUE;
    return Notify(NIM_MODIFY);
}

BOOL CQVTTrayIcon::SetTipText(LPCTSTR lpszText)
{
    m_nid.uFlags = NIF_TIP;
    const int nCapacity = std::min(m_nTipCapacity, static_cast<int>(_countof(m_nid.szTip)));
    lstrcpynW(m_nid.szTip, lpszText ? lpszText : u"", nCapacity);
    if (m_bHidden)
        return TRUE;
    return Notify(NIM_MODIFY);
}

void CQVTTrayIcon::SetTooltipText(LPCTSTR lpszText)
{
    m_strTip = CString(lpszText).Left(m_nTipCapacity - 1);
    SetTipText(m_strTip);
}

BOOL CQVTTrayIcon::SetIconResource(UINT nIconId)
{
    HICON hIcon = QVTResourceManager()->LoadIcon(
        nIconId, CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
    if (!hIcon)
        return FALSE;
    HICON hOld = m_hIcon;
    m_hIcon = hIcon;
    m_nIconId = nIconId;
    BOOL bResult = SetIcon(m_hIcon);
    if (hOld && hOld != m_hIcon)
        DestroyOwnedIcon(hOld);
    return bResult;
}

// An icon that is in the tray, or whose last add failed, is added again.
BOOL CQVTTrayIcon::AddIconAgain()
{
    if ((m_bHidden || m_bRemoved) && !m_bAddPending)
        return FALSE;
    m_nid.uFlags = m_nFlagsToAdd;
    m_bAddPending = !Notify(NIM_ADD);
    if (m_bAddPending)
        return FALSE;
    m_bHidden = FALSE;
    m_bRemoved = FALSE;
    return TRUE;
}

// Animation.

void CQVTTrayIcon::StartAnimation(UINT nMilliseconds)
{
    if (GetSafeHwnd())
        SetTimer(m_nAnimationTimerId, nMilliseconds, nullptr);
}

void CQVTTrayIcon::StartAnimation(UINT nTimerId, UINT nMilliseconds)
{
    m_nAnimationTimerId = nTimerId;
    StartAnimation(nMilliseconds);
}

void CQVTTrayIcon::StopAnimation()
{
    if (GetSafeHwnd())
        KillTimer(m_nAnimationTimerId);
    SetTipText(m_strTip);
    SetIconResource(m_nIconId);
}

void CQVTTrayIcon::StopAnimation(int)
{
    StopAnimation();
}

BOOL CQVTTrayIcon::SetAnimationIcons(const UINT* pIconIds, int nCount, const CString* pTips)
{
    RemoveAnimationIcons();
    const CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    for (int i = 0; i < nCount && pIconIds; ++i)
    {
        HICON hIcon = QVTResourceManager()->LoadIcon(pIconIds[i], szIcon);
        if (!hIcon)
            return FALSE;
        m_listAnimation.AddTail(TRAYICONDATA{hIcon, pTips ? pTips[i] : CString()});
    }
    return TRUE;
}

BOOL CQVTTrayIcon::SetAnimationIcons(const UINT* pIconIds, const CString* pTips, int nCount)
{
    return SetAnimationIcons(pIconIds, nCount, pTips);
}

void CQVTTrayIcon::RemoveAnimationIcons()
{
    while (!m_listAnimation.IsEmpty())
        DestroyOwnedIcon(m_listAnimation.RemoveHead().hIcon);
}

void CQVTTrayIcon::StepAnimation()
{
    const UINT nCount = static_cast<UINT>(m_listAnimation.GetCount());
    if (nCount == 0)
        return;
    // A list replaced while the animation ran may be shorter now.
    if (m_nAnimationIndex >= nCount)
        m_nAnimationIndex = 0;
    const TRAYICONDATA& frame = m_listAnimation.GetAt(m_listAnimation.FindIndex(m_nAnimationIndex));
    SetTipText(frame.strTip.IsEmpty() ? m_strTip : frame.strTip);
    if (frame.hIcon)
        SetIcon(frame.hIcon);
    m_nAnimationIndex = (m_nAnimationIndex + 1) % nCount;
}

void CQVTTrayIcon::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_nAnimationTimerId)
        StepAnimation();
}

BOOL CQVTTrayIcon::HideToParent(CWnd* pWnd)
{
    if (!m_wndHiddenParent.GetSafeHwnd())
    {
        CQVTDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), kHiddenParentClass, 0);
        if (!m_wndHiddenParent.CreateEx(0, kHiddenParentClass, _T(""), WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr))
            return FALSE;
    }
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    ::SetParent(pWnd->GetSafeHwnd(), m_wndHiddenParent.GetSafeHwnd());
    return TRUE;
}

void CQVTTrayIcon::MinimizeToTray(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return;
    CRect rcTray;
    if (IsWindowAnimationOn() && GetTrayWindowRect(rcTray))
    {
        CRect rcWindow;
        pWnd->GetWindowRect(&rcWindow);
        ::DrawAnimatedRects(pWnd->GetSafeHwnd(), kAnimateCaption, &rcWindow, &rcTray);
    }
    HideToParent(pWnd);
    pWnd->ShowWindow(SW_HIDE);
}

void CQVTTrayIcon::RestoreFromTray(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return;
    ::SetParent(pWnd->GetSafeHwnd(), nullptr);
    CRect rcTray;
    if (IsWindowAnimationOn() && GetTrayWindowRect(rcTray))
    {
        CRect rcWindow;
        pWnd->GetWindowRect(&rcWindow);
        ::DrawAnimatedRects(pWnd->GetSafeHwnd(), kAnimateCaption, &rcTray, &rcWindow);
    }
    pWnd->SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    if (m_wndHiddenParent.GetSafeHwnd())
        m_wndHiddenParent.SetActiveWindow();
    pWnd->SetActiveWindow();
    pWnd->SetForegroundWindow();
}

BOOL CQVTTrayIcon::GetTrayWindowRect(CRect& rc) const
{
    // A taskbar without a rectangle (Wine's hidden one) tells nothing.
    HWND hTray = ::FindWindowW(u"Shell_TrayWnd", nullptr);
    if (hTray)
    {
        CRect rcTaskbar;
        ::GetWindowRect(hTray, &rcTaskbar);
        TrayClockSearch search = {&rcTaskbar};
        ::EnumChildWindows(hTray, &FindTrayParts, reinterpret_cast<LPARAM>(&search));
        if (!rcTaskbar.IsRectEmpty())
        {
            rc = rcTaskbar;
            return TRUE;
        }
    }
    APPBARDATA data = {};
    data.cbSize = sizeof(data);
    if (::SHAppBarMessage(ABM_GETTASKBARPOS, &data))
    {
        const CRect rcBar(data.rc);
        if (data.uEdge == ABE_TOP || data.uEdge == ABE_BOTTOM)
            rc.SetRect(rcBar.right - 100, rcBar.top, rcBar.right - 16, rcBar.bottom);
        else if (data.uEdge == ABE_LEFT || data.uEdge == ABE_RIGHT)
            rc.SetRect(rcBar.left, rcBar.bottom - 100, rcBar.right, rcBar.bottom - 16);
        return TRUE;
    }
    CRect rcWork;
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0))
    {
        rc.SetRect(rcWork.right - 150, rcWork.bottom - 30, rcWork.right, rcWork.bottom);
        return TRUE;
    }
    return FALSE;
}

LRESULT CQVTTrayIcon::OnTrayIconNotify(WPARAM wParam, LPARAM lParam)
{
    return OnTrayNotification(wParam, lParam);
}

LRESULT CQVTTrayIcon::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_nid.uID || !m_hwndOwner)
        return 0;
    if (::SendMessageW(m_hwndOwner, WM_TRAYICON_NOTIFY, wParam, lParam))
        return 1;
    switch (LOWORD(lParam))
    {
    case WM_LBUTTONDBLCLK:
        return SendDefaultCommand();
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
    case NIN_SELECT:
    case NIN_KEYSELECT:
        return ShowTrayMenu();
    default:
        return 1;
    }
}

BOOL CQVTTrayIcon::SendDefaultCommand()
{
    ::SetForegroundWindow(m_hwndOwner);
    UINT nCommand = m_nDefaultItem;
    if (m_bDefaultByPosition)
    {
        CMenu menu;
        if (!QVTResourceManager()->LoadMenu(&menu, m_nid.uID))
            return 0;
        CMenu* pSubMenu = menu.GetSubMenu(0);
        if (!pSubMenu)
            return 0;
        nCommand = pSubMenu->GetMenuItemID(static_cast<int>(m_nDefaultItem));
    }
    ::SendMessageW(m_hwndOwner, WM_COMMAND, nCommand, 0);
    return 1;
}

BOOL CQVTTrayIcon::ShowTrayMenu()
{
    CMenu menu;
    if (!QVTResourceManager()->LoadMenu(&menu, m_nid.uID))
        return 0;
    CMenu* pSubMenu = menu.GetSubMenu(0);
    if (!pSubMenu)
        return 0;
    ::SetMenuDefaultItem(pSubMenu->GetSafeHmenu(), m_nDefaultItem, m_bDefaultByPosition);
    CPoint pt;
    ::GetCursorPos(&pt);
    ::SetForegroundWindow(m_hwndOwner);
    ::TrackPopupMenu(pSubMenu->GetSafeHmenu(), 0, pt.x, pt.y, 0, m_hwndOwner, nullptr);
    ::PostMessageW(m_hwndOwner, WM_NULL, 0, 0);
    menu.DestroyMenu();
    m_nid.uFlags = 0;
    Notify(NIM_SETFOCUS);
    return 1;
}

void CQVTTrayIcon::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CWnd::OnSettingChange(uFlags, lpszSection);
    if (uFlags == SPI_SETWORKAREA && m_bAddPending)
        AddIconAgain();
}

LRESULT CQVTTrayIcon::OnTaskbarCreated(WPARAM, LPARAM)
{
    AddIconAgain();
    return 0;
}

LRESULT CQVTTrayIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A registered message cannot stand in a static message map.
    if (message == TaskbarCreatedMessage())
        return OnTaskbarCreated(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}
