#include "toolkit/commandbars/bars/QVTPopupBar.h"

#include <afxext.h>

#include <cstdlib>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"

IMPLEMENT_SERIAL(CQVTPopupBar, CQVTCommandBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_DYNCREATE(CQVTPopupBarExpandButton, CQVTControlButton)
IMPLEMENT_SERIAL(CQVTPopupToolBar, CQVTPopupBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

BEGIN_MESSAGE_MAP(CQVTPopupBar, CQVTCommandBar)
    ON_WM_MOUSEACTIVATE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
    ON_WM_NCACTIVATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_FLOATSTATUS, &CQVTPopupBar::OnFloatStatus)
END_MESSAGE_MAP()

namespace {

const TCHAR kPopupBarClass[] = _T("QVTPopupBar");

// The window class of popup bars, registered once for the process.
BOOL RegisterPopupBarClass()
{
    WNDCLASS wc = {};
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (::GetClassInfo(hInstance, kPopupBarClass, &wc))
        return TRUE;
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupBarClass;
    return AfxRegisterClass(&wc);
}

}  // namespace

// The expand button.

CQVTPopupBarExpandButton::CQVTPopupBarExpandButton()
{
    m_nId = QVT_ID_POPUPBAR_EXPAND;
    m_dwFlags = qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable | qvtFlagShowPopupBarTip;
}

CSize CQVTPopupBarExpandButton::GetSize(CDC* pDC)
{
    return GetPaintManager()->DrawSpecialControl(pDC, qvtSpecialMore, this, m_pParent, FALSE, nullptr);
}

CSize CQVTPopupBarExpandButton::Draw(CDC* pDC)
{
    return GetPaintManager()->DrawSpecialControl(pDC, qvtSpecialMore, this, m_pParent, TRUE, nullptr);
}

void CQVTPopupBarExpandButton::OnExecute()
{
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pParent);
    if (pPopup)
        pPopup->ExpandBar();
}

// Construction.

CQVTPopupBar::CQVTPopupBar()
    : m_pControlPopup(nullptr), m_ptPopup(0, 0), m_rcExclude(0, 0, 0, 0), m_dwDirection(0),
      m_bExpanded(FALSE), m_bShowExpandButton(FALSE), m_bExpanding(FALSE), m_pExpandButton(nullptr),
      m_bTearOffPopup(FALSE), m_nTearOffId(0), m_nTearOffWidth(0), m_rcTearOffGripper(0, 0, 0, 0),
      m_bTearOffSelected(FALSE), m_bTearOffTracking(FALSE), m_nResizeMode(resizeNone),
      m_rcResizeGripper(0, 0, 0, 0), m_bShowShadow(TRUE), m_rcBorders(2, 4, 2, 4), m_nMaxHeight(0),
      m_bScrolling(FALSE), m_nFirstVisible(0), m_nEndVisible(0), m_rcScrollUp(0, 0, 0, 0),
      m_rcScrollDown(0, 0, 0, 0), m_bScrollUpTimer(FALSE), m_bScrollDownTimer(FALSE), m_bInLayout(FALSE),
      m_nShowLock(0), m_bRedrawWhenShown(FALSE), m_bContextMenu(FALSE), m_bClosing(FALSE),
      m_bMultiColumn(FALSE), m_nLastAnimation(0), m_bExpandTimer(FALSE), m_bDoubleGripper(FALSE)
{
    m_barType = qvtBarTypePopup;
    m_barPosition = qvtBarPopup;
    // The base's gripper style stays on: for a menu the flat themes draw it
    // as the icon column.
}

CQVTPopupBar::~CQVTPopupBar()
{
    if (m_pExpandButton)
    {
        m_pExpandButton->SetParent(nullptr);
        m_pExpandButton->InternalRelease();
        m_pExpandButton = nullptr;
    }
}

CQVTPopupBar* AFX_CDECL CQVTPopupBar::CreatePopupBar(CQVTCommandBars* pCommandBars)
{
    CRuntimeClass* pClass =
        CQVTCommandBars::m_pPopupBarClass ? CQVTCommandBars::m_pPopupBarClass : RUNTIME_CLASS(CQVTPopupBar);
    CObject* pObject = pClass->CreateObject();
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pObject);
    if (!pPopup)
    {
        delete pObject;
        pPopup = new CQVTPopupBar();
    }
    pPopup->SetCommandBars(pCommandBars);
    return pPopup;
}

CQVTPopupToolBar* AFX_CDECL CQVTPopupToolBar::CreatePopupToolBar(CQVTCommandBars* pCommandBars)
{
    CRuntimeClass* pClass = CQVTCommandBars::m_pPopupToolBarClass ? CQVTCommandBars::m_pPopupToolBarClass
                                                                  : RUNTIME_CLASS(CQVTPopupToolBar);
    CObject* pObject = pClass->CreateObject();
    CQVTPopupToolBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupToolBar, pObject);
    if (!pPopup)
    {
        delete pObject;
        pPopup = new CQVTPopupToolBar();
    }
    pPopup->SetCommandBars(pCommandBars);
    return pPopup;
}

CQVTPopupToolBar::CQVTPopupToolBar()
{
    m_barType = qvtBarTypeNormal;
}

CQVTCommandBar* CQVTPopupToolBar::Clone(BOOL bRecursive)
{
    CQVTPopupToolBar* pClone = static_cast<CQVTPopupToolBar*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, bRecursive);
    return pClone;
}

CQVTCommandBar* CQVTPopupBar::Clone(BOOL bRecursive)
{
    CQVTPopupBar* pClone = static_cast<CQVTPopupBar*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTPopupBar::Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive)
{
    CQVTCommandBar::Copy(pCommandBar, bRecursive);
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pCommandBar);
    if (!pPopup || pPopup == this)
        return;
    m_bTearOffPopup = pPopup->m_bTearOffPopup;
    m_strTearOffCaption = pPopup->m_strTearOffCaption;
    m_nTearOffId = pPopup->m_nTearOffId;
    m_nTearOffWidth = pPopup->m_nTearOffWidth;
    m_bShowShadow = pPopup->m_bShowShadow;
    m_rcBorders = pPopup->m_rcBorders;
    m_nMRUWidth = pPopup->m_nMRUWidth;
}

void CQVTPopupBar::SetTearOffPopup(LPCTSTR lpszCaption, UINT nID, int nWidth)
{
    m_bTearOffPopup = lpszCaption != nullptr;
    m_strTearOffCaption = lpszCaption;
    m_nTearOffId = nID;
    m_nTearOffWidth = nWidth;
}

CQVTCommandBar* CQVTPopupBar::GetParentCommandBar() const
{
    return m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
}

BOOL CQVTPopupBar::IsVisible() const
{
    return GetSafeHwnd() && ::IsWindowVisible(m_hWnd);
}

void CQVTPopupBar::DelayRedraw()
{
    // A popup shows its change at once.
    Redraw(nullptr, TRUE);
}

void CQVTPopupBar::OnControlsChanged()
{
    CQVTCommandBar::OnControlsChanged();
    if (GetSafeHwnd() && m_nTrackingMode)
        OnRecalcLayout();
}

CQVTControl* CQVTPopupBar::GetDefaultItem() const
{
    for (int i = 0; i < GetControlCount(); ++i)
        if (GetControl(i)->IsItemDefault() && GetControl(i)->IsVisible())
            return GetControl(i);
    return nullptr;
}

// The window.

BOOL CQVTPopupBar::CreatePopupWindow()
{
    if (GetSafeHwnd())
        return TRUE;
    if (!RegisterPopupBarClass())
        return FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CWnd* pSite = GetSite();
    const BOOL bSaveBits = !pCommandBars || pCommandBars->GetCommandBarsOptions()->bUseSaveBits;
    WNDCLASS wc = {};
    ::GetClassInfo(AfxGetInstanceHandle(), kPopupBarClass, &wc);
    if (((wc.style & CS_SAVEBITS) != 0) != bSaveBits)
    {
        // The class's one style follows the options of the bars that show a
        // popup now; make a throw-away window to reach the class.
        HWND hTemp = ::CreateWindowEx(0, kPopupBarClass, _T(""), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      AfxGetInstanceHandle(), nullptr);
        if (hTemp)
        {
            const ULONG_PTR nStyle = bSaveBits ? (wc.style | CS_SAVEBITS) : (wc.style & ~CS_SAVEBITS);
            ::SetClassLongPtr(hTemp, GCL_STYLE, static_cast<LONG_PTR>(nStyle));
            ::DestroyWindow(hTemp);
        }
    }
    DWORD dwExStyle = WS_EX_TOOLWINDOW;
    const BOOL bRightToLeft =
        pCommandBars ? pCommandBars->IsLayoutRTL()
                     : (pSite && pSite->GetSafeHwnd() && (pSite->GetExStyle() & WS_EX_LAYOUTRTL));
    if (bRightToLeft)
        dwExStyle |= WS_EX_LAYOUTRTL;
    HWND hOwner = pSite ? pSite->GetSafeHwnd() : nullptr;
    return CreateEx(dwExStyle, kPopupBarClass, m_strTitle, 0x86000100, 0, 0, 0, 0, hOwner, nullptr);
}

BOOL CQVTPopupBar::DestroyWindow()
{
    if (!GetSafeHwnd())
        return FALSE;
    // Windows hosted in the popup outlive it.
    CWnd* pSite = GetSite();
    HWND hSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    HWND hChild = ::GetWindow(m_hWnd, GW_CHILD);
    while (hChild)
    {
        HWND hNext = ::GetWindow(hChild, GW_HWNDNEXT);
        ::ShowWindow(hChild, SW_HIDE);
        if (hSite)
            ::SetParent(hChild, hSite);
        hChild = hNext;
    }
    return CQVTCommandBar::DestroyWindow();
}

int CQVTPopupBar::OnMouseActivate(CWnd*, UINT, UINT)
{
    return MA_NOACTIVATE;
}

BOOL CQVTPopupBar::OnNcActivate(BOOL bActive)
{
    if (bActive)
        return FALSE;
    return static_cast<BOOL>(Default());
}

LRESULT CQVTPopupBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    return (m_dwStyle & 0x100) && (wParam & FS_SYNCACTIVE) ? TRUE : FALSE;
}

void CQVTPopupBar::OnSize(UINT nType, int cx, int cy)
{
    CQVTCommandBar::OnSize(nType, cx, cy);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (pPaintManager)
        pPaintManager->SetCommandBarRegion(this);
}

// Showing.

BOOL CQVTPopupBar::Popup(CQVTControl* pControlPopup, BOOL bSelectFirst)
{
    m_pControlPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pControlPopup);
    if (!CreatePopupWindow())
        return FALSE;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    if (m_pToolTipContext)
        m_pToolTipContext->DeactivateToolTip();
    ++m_nShowLock;
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_INITPOPUP, 0, reinterpret_cast<LPARAM>(this));

    m_bTearOffSelected = FALSE;
    m_bShowExpandButton = FALSE;
    m_bExpanded = IsCustomizeMode() || CQVTMouseManager::GetThreadManager()->IsMenusExpanded();

    UpdateLocation();
    const CSize sz = CalcDynamicLayout(0, 0);
    const CRect rc = CalcPopupRect(m_ptPopup, sz);
    UINT nFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (IsWindowVisible())
        nFlags |= SWP_NOZORDER;
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);

    CQVTCommandBar* pParent = GetParentCommandBar();
    if (m_pControlPopup && (!pParent || !pParent->GetSafeHwnd()))
    {
        --m_nShowLock;
        DestroyWindow();
        return FALSE;
    }
    SetTrackingMode(TRUE, bSelectFirst, bSelectFirst);
    OnUpdateCmdUI();
    ShowPopupWindow();
    QVTSoundPlayer()->PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    AddShadows();

    if (--m_nShowLock == 0 && m_bRedrawWhenShown)
    {
        m_bRedrawWhenShown = FALSE;
        Redraw(nullptr, FALSE);
    }
    return TRUE;
}

BOOL CQVTPopupBar::PopupAt(int x, int y, LPCRECT lpExclude, BOOL bSelectFirst)
{
    m_ptPopup = CPoint(x, y);
    if (lpExclude)
        m_rcExclude = *lpExclude;
    return Popup(nullptr, bSelectFirst);
}

void CQVTPopupBar::AdjustExcludeRect(CRect& rc, BOOL bVertical)
{
    if (m_pControlPopup)
        m_pControlPopup->AdjustExcludeRect(rc, bVertical);
}

int CQVTPopupBar::GetAnimationType() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return 5;
    switch (pCommandBars->GetCommandBarsOptions()->animationType)
    {
    case 0:
    {
        BOOL bAnimation = FALSE;
        if (!::SystemParametersInfo(SPI_GETMENUANIMATION, 0, &bAnimation, 0) || !bAnimation)
            return 5;
        BOOL bFade = FALSE;
        return ::SystemParametersInfo(SPI_GETMENUFADE, 0, &bFade, 0) && bFade ? qvtAnimateFade
                                                                              : qvtAnimateSlide;
    }
    case 1:
    {
        const int kRandom[3] = {qvtAnimateFade, qvtAnimateSlide, qvtAnimateUnfold};
        return kRandom[std::rand() % 3];
    }
    case 2:
        return qvtAnimateUnfold;
    case 3:
        return qvtAnimateSlide;
    case 4:
        return qvtAnimateFade;
    default:
        return 5;
    }
}

void CQVTPopupBar::ShowPopupWindow()
{
    int nAnimation = GetAnimationType();
    if (::GetWindow(m_hWnd, GW_CHILD))
        nAnimation = 5;
    // Of the popups a bar opens while it tracks only the first animates.
    CQVTCommandBar* pParent = GetParentCommandBar();
    const BOOL bAnimate = !pParent || pParent->IsEnteredByMouse();
    if (pParent)
        pParent->SetEnteredByMouse(FALSE);
    m_nLastAnimation = 0;
    if (!bAnimate || nAnimation < qvtAnimateUnfold || nAnimation > qvtAnimateFade || IsCustomizeMode())
        return;

    if (pParent && pParent->GetSafeHwnd())
        pParent->UpdateWindow();
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->UpdateWindow();

    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CClientDC dcWindow(this);
    CDC dcContent;
    dcContent.CreateCompatibleDC(&dcWindow);
    CBitmap bmpContent;
    bmpContent.CreateCompatibleBitmap(&dcWindow, rcClient.Width(), rcClient.Height());
    CBitmap* pOldContent = dcContent.SelectObject(&bmpContent);
    DrawCommandBar(&dcContent, rcClient);

    // The picture under the popup, from the screen.
    CDC dcScreen;
    dcScreen.CreateCompatibleDC(&dcWindow);
    CBitmap bmpScreen;
    bmpScreen.CreateCompatibleBitmap(&dcWindow, rcClient.Width(), rcClient.Height());
    CBitmap* pOldScreen = dcScreen.SelectObject(&bmpScreen);
    HDC hDesktop = ::GetDC(nullptr);
    const DWORD dwLayout = ::GetLayout(dcScreen.GetSafeHdc());
    ::SetLayout(dcScreen.GetSafeHdc(), 0);
    ::BitBlt(dcScreen.GetSafeHdc(), 0, 0, rcClient.Width(), rcClient.Height(), hDesktop, rcWindow.left,
             rcWindow.top, SRCCOPY);
    ::SetLayout(dcScreen.GetSafeHdc(), dwLayout);
    ::ReleaseDC(nullptr, hDesktop);

    dcWindow.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcScreen, 0, 0, SRCCOPY);
    GetPaintManager()->Animate(&dcWindow, &dcContent, rcClient, nAnimation);
    dcWindow.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcContent, 0, 0, SRCCOPY);
    ValidateRect(nullptr);
    m_nLastAnimation = nAnimation;

    dcScreen.SelectObject(pOldScreen);
    dcContent.SelectObject(pOldContent);
}

void CQVTPopupBar::RemoveShadows()
{
    CQVTShadowManager* pShadows = GetPaintManager()->GetShadowManager();
    if (pShadows && GetSafeHwnd())
        pShadows->RemoveShadowsOf(this);
}

void CQVTPopupBar::AddShadows()
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTShadowManager* pShadows = pPaintManager->GetShadowManager();
    if (!pShadows || !GetSafeHwnd() || m_barPosition != qvtBarPopup || !m_bShowShadow ||
        !pShadows->GetShadowOptions() || IsCustomizeMode())
        return;
    pShadows->RemoveShadowsOf(this);
    pShadows->SetShadow(this, m_rcExclude);
}

// Tracking and closing.

BOOL CQVTPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if (bMode)
    {
        const BOOL bEntered = CQVTCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
        if (bEntered && GetSafeHwnd())
            ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, m_hWnd, OBJID_MENU, CHILDID_SELF);
        return bEntered;
    }
    if (m_bClosing)
        return FALSE;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    m_bClosing = TRUE;
    CWnd* pSite = GetSite();
    const BOOL bLeft = CQVTCommandBar::SetTrackingMode(FALSE, bSelectFirst, bKeyboard);
    KillTimer(TIMER_SCROLLDOWN);
    KillTimer(TIMER_SCROLLUP);
    m_bScrollDownTimer = m_bScrollUpTimer = FALSE;
    if (GetSafeHwnd())
    {
        ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, m_hWnd, OBJID_MENU, CHILDID_SELF);
        RemoveShadows();
        DestroyWindow();
    }
    CQVTCommandBar* pParent = GetParentCommandBar();
    if (pParent && m_pControlPopup && pParent->GetPopupedIndex() == m_pControlPopup->GetIndex())
        pParent->SetPopuped(-1);
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_POPUPCLOSED, 0, reinterpret_cast<LPARAM>(this));
    ::Sleep(1);
    m_pControlPopup = nullptr;
    if (pSite && pSite->GetSafeHwnd())
        pSite->UpdateWindow();
    m_bClosing = FALSE;
    return bLeft;
}

BOOL CQVTPopupBar::SetSelected(int nSelected, int reason)
{
    if (reason != selectByMouse && m_bScrolling && nSelected >= 0)
        EnsureVisibleByScroll(nSelected);
    return CQVTCommandBar::SetSelected(nSelected, reason);
}

int CQVTPopupBar::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    if (nChar == VK_DOWN && m_bShowExpandButton && !m_bExpanded && !IsCustomizeMode() && m_nPopupLock == 0)
    {
        const BOOL bControl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        const BOOL bOnLast =
            m_nSelected != -1 && m_pControls->GetNextIndex(m_nSelected, 1, TRUE, FALSE, TRUE) <= m_nSelected;
        if (bControl || bOnLast)
        {
            ExpandBar();
            return keyHandled;
        }
    }
    return CQVTCommandBar::OnHookKeyDown(nChar, lParam);
}

// Expanding.

BOOL CQVTPopupBar::ExpandBar()
{
    if (m_bExpanded || !m_bShowExpandButton)
        return FALSE;
    if (m_pToolTipContext)
        m_pToolTipContext->DeactivateToolTip();
    m_bExpanding = TRUE;
    m_bExpanded = TRUE;
    SetPopuped(-1);
    SetSelected(-1);
    OnRecalcLayout();
    // The rest of the chain opens expanded.
    CQVTMouseManager::GetThreadManager()->SetMenusExpanded(TRUE);
    return TRUE;
}

// Re-placement.

void CQVTPopupBar::OnRecalcLayout()
{
    if (m_bInLayout || !GetSafeHwnd() || !m_nTrackingMode)
        return;
    UpdateShortcuts();
    UpdateLocation();
    const CSize sz = CalcDynamicLayout(0, 0);
    const CRect rcNew = CalcPopupRect(m_ptPopup, sz);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (!m_bExpanding && rcNew == rcWindow)
    {
        Redraw(nullptr, FALSE);
        return;
    }
    ReplacePopup(rcNew);
}

void CQVTPopupBar::ReplacePopup(CRect rcNew)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    const BOOL bTipsShown = pCommandBars && pCommandBars->GetKeyboardTipsLevel(this) > 0;
    if (bTipsShown)
        pCommandBars->HideKeyboardTips();
    RemoveShadows();
    CRect rcOld;
    GetWindowRect(&rcOld);
    const int nAnimation = GetAnimationType();
    if (m_bExpanding && nAnimation >= qvtAnimateUnfold && nAnimation <= qvtAnimateFade)
    {
        // The old picture stays while the window grows; the new one is
        // stretched in by groups of newly shown items.
        CClientDC dcOld(this);
        CDC dcSource;
        dcSource.CreateCompatibleDC(&dcOld);
        CBitmap bmpSource;
        bmpSource.CreateCompatibleBitmap(&dcOld, rcNew.Width(), rcNew.Height());
        CBitmap* pOldSource = dcSource.SelectObject(&bmpSource);
        SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOREDRAW);
        DrawCommandBar(&dcSource, CRect(0, 0, rcNew.Width(), rcNew.Height()));
        CClientDC dcWindow(this);
        GetPaintManager()->AnimateExpanding(this, &dcWindow, &dcSource, rcNew.top >= rcOld.top);
        dcWindow.BitBlt(0, 0, rcNew.Width(), rcNew.Height(), &dcSource, 0, 0, SRCCOPY);
        ValidateRect(nullptr);
        dcSource.SelectObject(pOldSource);
        QVTSoundPlayer()->PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    }
    else
    {
        SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    AddShadows();
    if (m_pControlPopup)
        m_pControlPopup->UpdateShadow();
    Redraw(nullptr, FALSE);
    if (bTipsShown)
        PostMessage(WM_TIMER, TIMER_KEYBOARDTIPS, 0);
    m_bExpanding = FALSE;
}

// Mouse.

void CQVTPopupBar::OnMouseMove(UINT nFlags, CPoint point)
{
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (pMouseManager->IsInDragLoop())
        return;
    // Moving inside the popup keeps its control selected in the parent.
    CQVTCommandBar* pParent = GetParentCommandBar();
    if (pParent && m_pControlPopup && pParent->GetSelectedIndex() != m_pControlPopup->GetIndex() &&
        pParent->GetPopupedIndex() == m_pControlPopup->GetIndex())
        pParent->SetSelected(m_pControlPopup->GetIndex(), selectByMouse);

    if (m_bScrolling)
    {
        if (!m_rcScrollDown.IsRectEmpty() && m_rcScrollDown.PtInRect(point))
        {
            if (!m_bScrollDownTimer)
            {
                SetPopuped(-1);
                SetTimer(TIMER_SCROLLDOWN, 200, nullptr);
                m_bScrollDownTimer = TRUE;
            }
            return;
        }
        if (!m_rcScrollUp.IsRectEmpty() && m_rcScrollUp.PtInRect(point))
        {
            if (!m_bScrollUpTimer)
            {
                SetPopuped(-1);
                SetTimer(TIMER_SCROLLUP, 200, nullptr);
                m_bScrollUpTimer = TRUE;
            }
            return;
        }
    }
    if (m_bTearOffPopup && !m_rcTearOffGripper.IsRectEmpty() && m_rcTearOffGripper.PtInRect(point))
    {
        if (!m_bTearOffSelected)
        {
            m_bTearOffSelected = TRUE;
            SetSelected(-1);
            SetPopuped(-1);
            SetTimer(TIMER_TEAROFF, 80, nullptr);
            Redraw(nullptr, FALSE);
        }
        return;
    }
    if (m_pExpandButton && m_bShowExpandButton && m_pExpandButton->GetRect().PtInRect(point))
    {
        if (!m_bExpandTimer)
        {
            CQVTCommandBars* pCommandBars = GetCommandBars();
            if (pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay)
            {
                SetTimer(TIMER_EXPAND, 900, nullptr);
                m_bExpandTimer = TRUE;
            }
            SetSelected(-1);
            SetPopuped(-1);
            m_pExpandButton->OnSetSelected(1);
        }
        return;
    }
    if (m_bExpandTimer)
    {
        KillTimer(TIMER_EXPAND);
        m_bExpandTimer = FALSE;
        if (m_pExpandButton)
            m_pExpandButton->OnSetSelected(0);
    }
    CQVTCommandBar::OnMouseMove(nFlags, point);
}

void CQVTPopupBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bTearOffPopup && !IsCustomizeMode() && m_rcTearOffGripper.PtInRect(point))
    {
        TrackTearOff(point);
        return;
    }
    if (m_nResizeMode != resizeNone && m_rcResizeGripper.PtInRect(point))
    {
        TrackResize(point);
        return;
    }
    if (m_pExpandButton && m_bShowExpandButton && m_pExpandButton->GetRect().PtInRect(point))
    {
        ExpandBar();
        return;
    }
    CQVTCommandBar::OnLButtonDown(nFlags, point);
}

BOOL CQVTPopupBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_nResizeMode != resizeNone && nHitTest == HTCLIENT)
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (m_rcResizeGripper.PtInRect(pt))
        {
            LPCTSTR lpszCursor = m_nResizeMode == resizeHeight ? IDC_SIZENS
                                 : IsLayoutRTL()               ? IDC_SIZENESW
                                                               : IDC_SIZENWSE;
            ::SetCursor(::LoadCursor(nullptr, lpszCursor));
            return TRUE;
        }
    }
    return CQVTCommandBar::OnSetCursor(pWnd, nHitTest, message);
}

void CQVTPopupBar::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case TIMER_SCROLLDOWN:
    case TIMER_SCROLLUP:
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        const BOOL bDown = nIDEvent == TIMER_SCROLLDOWN;
        const CRect rc = bDown ? m_rcScrollDown : m_rcScrollUp;
        if (rc.IsRectEmpty() || !rc.PtInRect(pt))
        {
            KillTimer(nIDEvent);
            (bDown ? m_bScrollDownTimer : m_bScrollUpTimer) = FALSE;
            return;
        }
        ScrollBy(bDown ? 1 : -1);
        return;
    }
    case TIMER_TEAROFF:
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        const BOOL bHot = m_rcTearOffGripper.PtInRect(pt);
        if (bHot != m_bTearOffSelected)
        {
            m_bTearOffSelected = bHot;
            Redraw(nullptr, FALSE);
        }
        if (!bHot && !m_bTearOffTracking)
            KillTimer(TIMER_TEAROFF);
        return;
    }
    case TIMER_EXPAND:
        KillTimer(TIMER_EXPAND);
        m_bExpandTimer = FALSE;
        ExpandBar();
        return;
    default:
        CQVTCommandBar::OnTimer(nIDEvent);
    }
}

HRESULT CQVTPopupBar::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    if (!m_pControlPopup)
        return CQVTCommandBar::GetAccessibleParent(ppdispParent);
    m_pControlPopup->m_xAccessible.AddRef();
    *ppdispParent = &m_pControlPopup->m_xAccessible;
    return S_OK;
}
