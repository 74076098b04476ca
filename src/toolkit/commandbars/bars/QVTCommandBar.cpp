// The bar itself: construction, controls, drawing, command state,
// selection and tracking, menus, window messages and accessibility. The
// class is large, so its other concerns have files of their own beside this
// one: keys while tracking (QVTCommandBarKeyboard.cpp), keyboard tips
// (QVTCommandBarKeyboardTips.cpp), tooltips (QVTCommandBarToolTips.cpp),
// customize-mode insert positions (QVTCommandBarInsertPosition.cpp) and the
// saved layout (QVTCommandBarExchange.cpp).
#include "toolkit/commandbars/bars/QVTCommandBar.h"

#include <afxext.h>

#include <cstdlib>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBarAnimation.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/customize/QVTCustomizeDropSource.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/accessibility/QVTAccessibleLocation.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

IMPLEMENT_SERIAL(CQVTCommandBar, CWnd, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

int CQVTCommandBar::s_nHoverDelay = 300;

BEGIN_MESSAGE_MAP(CQVTCommandBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTCommandBar::OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_TIMER()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CQVTCommandBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, &CQVTCommandBar::OnInitialUpdate)
    ON_MESSAGE(WM_HELPHITTEST, &CQVTCommandBar::OnHelpHitTest)
    ON_MESSAGE(WM_GETOBJECT, &CQVTCommandBar::OnGetObject)
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(CQVTCommandBar, CWnd)
    INTERFACE_PART(CQVTCommandBar, IID_IAccessible, Accessible)
END_INTERFACE_MAP()

// The command UI of one control.

void CQVTCommandBar::CCommandBarCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    if (!m_pControl)
        return;
    // A control linked to an action takes -1 (the action's state) for TRUE.
    m_pControl->SetEnabled(m_pControl->GetAction() ? (bOn ? -1 : 0) : bOn);
}

void CQVTCommandBar::CCommandBarCmdUI::SetCheck(int nCheck)
{
    if (m_pControl)
        m_pControl->SetChecked(nCheck);
}

void CQVTCommandBar::CCommandBarCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_pControl)
        m_pControl->SetCaption(lpszText);
}

// Construction.

CQVTCommandBar::CQVTCommandBar()
    : m_bHoverOpensPopups(TRUE), m_bHideCaret(TRUE), m_nMRUWidth(32767), m_nSelected(-1), m_nPopuped(-1),
      m_hwndCaret(nullptr), m_nBarID(0), m_nTrackingMode(0), m_pOwner(nullptr), m_dwPending(0), m_dwFlags(0),
      m_dwStyle(QVT_CBRS_GRIPPER), m_barType(qvtBarTypeNormal), m_pControls(new CQVTControls()),
      m_barPosition(qvtBarNone), m_pCommandBars(nullptr), m_pOwnerOverride(nullptr), m_szIcons(0, 0),
      m_szButtons(0, 0), m_nTextBelowIcons(2), m_bRightButtonTracking(FALSE), m_bNoNotify(FALSE),
      m_bRecursePopup(FALSE), m_rcInsertMark(0, 0, 0, 0), m_nPopupLock(0), m_nSelectionReason(0),
      m_bCustomizable(TRUE), m_bEnteredByMouse(FALSE), m_nLockRedraw(0), m_pPaintManager(nullptr),
      m_pImageManager(nullptr), m_pCapturedControl(nullptr), m_pToolTipContext(nullptr),
      m_pAnimation(nullptr), m_pCommandResult(nullptr), m_buttonStyle(qvtButtonAutomatic),
      m_nTextOrientation(0), m_bTrackingMouseLeave(FALSE)
{
    m_pControls->SetParent(this);
    m_pAnimation = new CQVTCommandBarAnimation(this);
    CQVTPaintManager::AddRefInstance();
}

CQVTCommandBar::~CQVTCommandBar()
{
    SetCapturedControl(nullptr);
    if (m_nTrackingMode && GetSafeHwnd())
        SetTrackingMode(FALSE, TRUE, FALSE);
    QVTHookManager()->RemoveAll(this);
    CQVTKeyboardManager::GetThreadManager()->UnhookKeyboard(this);
    CQVTMouseManager::GetThreadManager()->OnBarRemoved(this);
    if (m_pControls)
    {
        m_pControls->RemoveAll();
        m_pControls->SetParent(nullptr);
        m_pControls->InternalRelease();
        m_pControls = nullptr;
    }
    ReleasePaintManager();
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
    m_pToolTipContext = nullptr;
    delete m_pAnimation;
    m_pAnimation = nullptr;
    if (GetSafeHwnd())
        DestroyWindow();
    CQVTPaintManager::ReleaseInstance();
}

void CQVTCommandBar::OnFinalRelease()
{
    if (GetSafeHwnd())
        DestroyWindow();
    CCmdTarget::OnFinalRelease();
}

void CQVTCommandBar::ReleasePaintManager()
{
    if (!m_pPaintManager)
        return;
    m_pPaintManager->RemoveObserver(this);
    m_pPaintManager->InternalRelease();
    m_pPaintManager = nullptr;
}

void CQVTCommandBar::SetPaintManager(CQVTPaintManager* pPaintManager)
{
    if (m_pPaintManager == pPaintManager)
        return;
    ReleasePaintManager();
    m_pPaintManager = pPaintManager;
    if (m_pPaintManager)
    {
        m_pPaintManager->InternalAddRef();
        m_pPaintManager->AddObserver(this);
    }
}

void CQVTCommandBar::OnPaintManagerDestroyed(CQVTPaintManager* pPaintManager)
{
    if (pPaintManager != m_pPaintManager)
        return;
    m_pPaintManager->RemoveObserver(this);
    m_pPaintManager = nullptr;
}

// Lookups along the parent chain.

CQVTCommandBars* CQVTCommandBar::GetCommandBars() const
{
    for (const CQVTCommandBar* pBar = this; pBar; pBar = pBar->GetParentCommandBar())
        if (pBar->m_pCommandBars)
            return pBar->m_pCommandBars;
    return nullptr;
}

CQVTCommandBar* CQVTCommandBar::GetRootParent() const
{
    const CQVTCommandBar* pBar = this;
    while (pBar->GetParentCommandBar())
        pBar = pBar->GetParentCommandBar();
    return const_cast<CQVTCommandBar*>(pBar);
}

CQVTPaintManager* CQVTCommandBar::GetPaintManager() const
{
    if (m_pPaintManager)
        return m_pPaintManager;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        return pCommandBars->GetPaintManager();
    CQVTCommandBar* pRoot = GetRootParent();
    if (pRoot->m_pPaintManager)
        return pRoot->m_pPaintManager;
    return QVTPaintManager();
}

CQVTImageManager* CQVTCommandBar::GetImageManager() const
{
    if (m_pImageManager)
        return m_pImageManager;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        return pCommandBars->GetImageManager();
    CQVTCommandBar* pRoot = GetRootParent();
    return pRoot->m_pImageManager ? pRoot->m_pImageManager : QVTImageManager();
}

CWnd* CQVTCommandBar::GetSite() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        return pCommandBars->GetSite();
    CQVTCommandBar* pRoot = GetRootParent();
    if (pRoot->m_pOwner)
        return pRoot->m_pOwner;
    if (pRoot->GetSafeHwnd())
    {
        CWnd* pParent = pRoot->GetParent();
        return pParent ? pParent : pRoot->GetOwner();
    }
    return AfxGetMainWnd();
}

CWnd* CQVTCommandBar::GetOwnerSite() const
{
    for (const CQVTCommandBar* pBar = this; pBar; pBar = pBar->GetParentCommandBar())
    {
        if (pBar->m_pOwnerOverride)
            return pBar->m_pOwnerOverride;
        if (pBar->m_pOwner && pBar->m_pOwner->GetSafeHwnd())
            return pBar->m_pOwner;
    }
    return GetSite();
}

// Controls.

int CQVTCommandBar::GetControlCount() const
{
    return m_pControls ? m_pControls->GetCount() : 0;
}

CQVTControl* CQVTCommandBar::GetControl(int nIndex) const
{
    return m_pControls ? m_pControls->GetAt(nIndex) : nullptr;
}

void CQVTCommandBar::SetControls(CQVTControls* pControls)
{
    if (!pControls || pControls == m_pControls)
        return;
    if (m_pControls)
    {
        m_pControls->SetParent(nullptr);
        m_pControls->InternalRelease();
    }
    m_pControls = pControls;
    m_pControls->SetParent(this);
}

void CQVTCommandBar::OnControlsChanged()
{
    m_dwPending |= pendingLayout;
    m_nSelected = -1;
    m_nPopuped = -1;
}

void CQVTCommandBar::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    if (GetSafeHwnd())
        SetWindowText(m_strTitle);
}

void CQVTCommandBar::SetShowGripper(BOOL bShow)
{
    m_dwStyle = bShow ? (m_dwStyle | QVT_CBRS_GRIPPER) : (m_dwStyle & ~QVT_CBRS_GRIPPER);
}

BOOL CQVTCommandBar::IsCustomizeMode() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars && pCommandBars->IsCustomizeMode();
}

BOOL CQVTCommandBar::IsLayoutRTL() const
{
    return GetSafeHwnd() && (GetExStyle() & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

BOOL CQVTCommandBar::IsFrameCompositionActive() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    return m_barPosition == qvtBarTop && pCommandBars && pCommandBars->IsFrameCompositionEnabled();
}

void CQVTCommandBar::EnableAnimation(BOOL bEnable)
{
    m_pAnimation->SetAnimationEnabled(bEnable);
}

BOOL CQVTCommandBar::IsAnimationEnabled() const
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    return (m_pAnimation && m_pAnimation->GetAnimationEnabled()) ||
           (pPaintManager && pPaintManager->m_bEnableAnimation);
}

BOOL CQVTCommandBar::IsKeyboardCuesVisible() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars ? pCommandBars->IsKeyboardCuesVisible() : TRUE;
}

BOOL CQVTCommandBar::IsTextBelowIcons() const
{
    if (m_nTextBelowIcons != 2)
        return m_nTextBelowIcons == 1;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowTextBelowIcons;
}

CSize CQVTCommandBar::GetIconSize() const
{
    if (m_szIcons.cx > 0 && m_szIcons.cy > 0)
        return m_szIcons;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        const CQVTCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
        const CSize sz = m_barType == qvtBarTypePopup ? pOptions->szPopupIcons
                         : pOptions->bLargeIcons      ? pOptions->szLargeIcons
                                                      : pOptions->szIcons;
        if (sz.cx > 0 && sz.cy > 0)
            return sz;
        if (m_barType != qvtBarTypePopup && pOptions->bLargeIcons)
            return GetLargeIconSize();
    }
    return QVTDpiScaler()->ScaleSize(CSize(16, 16));
}

CSize CQVTCommandBar::GetLargeIconSize() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        const CSize sz = pCommandBars->GetCommandBarsOptions()->szLargeIcons;
        if (sz.cx > 0 && sz.cy > 0)
            return sz;
    }
    return QVTDpiScaler()->ScaleSize(CSize(32, 32));
}

CSize CQVTCommandBar::GetButtonSize() const
{
    if (m_szButtons.cx > 0 && m_szButtons.cy > 0)
        return m_szButtons;
    const CSize szIcon = GetIconSize();
    return CSize(szIcon.cx + QVTDpiScaler()->ScaleX(6), szIcon.cy + QVTDpiScaler()->ScaleY(6));
}

CRect CQVTCommandBar::GetMargins() const
{
    return GetPaintManager()->GetScaledMargins(const_cast<CQVTCommandBar*>(this));
}

void CQVTCommandBar::FillCommandBarEntry(CDC* pDC)
{
    GetPaintManager()->FillCommandBarEntry(pDC, this);
}

void CQVTCommandBar::SetCapturedControl(CQVTControl* pControl)
{
    if (m_pCapturedControl == pControl)
        return;
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (m_pCapturedControl)
    {
        m_pCapturedControl->InternalRelease();
        pMouseManager->RemoveCapture();
    }
    m_pCapturedControl = pControl;
    if (m_pCapturedControl)
    {
        m_pCapturedControl->InternalAddRef();
        pMouseManager->AddCapture();
    }
}

void CQVTCommandBar::UnlockRedraw()
{
    if (m_nLockRedraw > 0)
        --m_nLockRedraw;
    if (m_nLockRedraw == 0 && (m_dwPending & pendingRedraw))
        Redraw(nullptr, FALSE);
}

// Drawing.

void CQVTCommandBar::Redraw(LPCRECT lpRect, BOOL bAnimate)
{
    if (m_nLockRedraw > 0)
    {
        m_dwPending |= pendingRedraw;
        return;
    }
    if (!lpRect)
        m_dwPending &= ~static_cast<DWORD>(pendingRedraw);
    if (GetSafeHwnd() && IsVisible())
        m_pAnimation->RedrawRect(lpRect, bAnimate && IsAnimationEnabled());
}

void CQVTCommandBar::RedrawParents()
{
    for (CQVTCommandBar* pBar = this; pBar; pBar = pBar->GetParentCommandBar())
        pBar->Redraw();
}

void CQVTCommandBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    FillCommandBarEntry(pDC);
    if (IsGripperVisible() || m_barPosition == qvtBarFloating)
        pPaintManager->DrawCommandBarGripper(pDC, this, TRUE);

    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CQVTFontDC font(pDC, pPaintManager->GetCommandBarFont(this));
    BOOL bFirst = TRUE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() != this || !pControl->IsVisible())
            continue;
        if (pControl->GetBeginGroup() && !bFirst)
            pPaintManager->DrawCommandBarSeparator(pDC, this, pControl, TRUE);
        bFirst = FALSE;
        CRect rcIntersect;
        if (rcIntersect.IntersectRect(rcClipBox, pControl->GetRect()) &&
            pDC->RectVisible(pControl->GetRect()))
            pControl->Draw(pDC);
    }
    if (IsCustomizeMode())
        DrawCustomizeMarks(pDC);
    pDC->SetBkMode(nOldMode);
}

void CQVTCommandBar::DrawCustomizeMarks(CDC* pDC)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CQVTControl* pDragControl = pCommandBars ? pCommandBars->GetDragControl() : nullptr;
    if (pDragControl && pDragControl->GetParent() == this && pDragControl->IsVisible())
    {
        CRect rc = pDragControl->GetRect();
        const COLORREF clrFrame = ::GetSysColor(COLOR_BTNTEXT);
        pDC->Draw3dRect(rc, clrFrame, clrFrame);
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(rc, clrFrame, clrFrame);
    }
    if (!m_rcInsertMark.IsRectEmpty())
        DrawInsertMark(pDC);
}

// Command state.

void CQVTCommandBar::OnIdleUpdate(WPARAM, LPARAM)
{
    if (!GetSafeHwnd() || !(GetStyle() & WS_VISIBLE))
        return;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    UpdateDocTemplateControls(pCommandBars ? pCommandBars->GetActiveDocTemplate() : 0);
    OnUpdateCmdUI();
    if (m_dwPending & pendingRedraw)
        Redraw(nullptr, TRUE);
    if (m_dwPending & pendingLayout)
    {
        m_dwPending &= ~static_cast<DWORD>(pendingLayout);
        OnRecalcLayout();
    }
}

void CQVTCommandBar::UpdateDocTemplateControls(UINT nTemplateId)
{
    if (nTemplateId == 0)
        return;
    BOOL bChanged = FALSE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() != this)
            continue;
        const DWORD dwOld = pControl->GetHideFlags();
        DWORD dwFlags = dwOld;
        BOOL bValue = FALSE;
        if (!pControl->GetDocTemplatesAssigned().IsEmpty())
            dwFlags = pControl->GetDocTemplatesAssigned().Lookup(nTemplateId, bValue)
                          ? (dwFlags & ~qvtHideDocTemplate)
                          : (dwFlags | qvtHideDocTemplate);
        if (!pControl->GetDocTemplatesExcluded().IsEmpty())
            dwFlags = pControl->GetDocTemplatesExcluded().Lookup(nTemplateId, bValue)
                          ? (dwFlags | qvtHideDocTemplate)
                          : (dwFlags & ~qvtHideDocTemplate);
        if (dwFlags != dwOld)
        {
            pControl->SetHideFlags(dwFlags);
            bChanged = TRUE;
        }
    }
    if (bChanged)
        m_dwPending |= pendingLayout;
}

void CQVTCommandBar::OnUpdateCmdUI()
{
    if (!GetSafeHwnd())
        return;
    CWnd* pSite = GetOwnerSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    const BOOL bDisableIfNoHandler =
        pCommandBars ? pCommandBars->GetCommandBarsOptions()->bDisableCommandIfNoHandler : FALSE;
    const BOOL bNoNotify = GetRootParent()->m_bNoNotify;
    const BOOL bCustomize = IsCustomizeMode();

    CCommandBarCmdUI state;
    state.m_pOther = nullptr;
    state.m_nIndexMax = static_cast<UINT>(GetControlCount());
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (!pControl->IsVisible(qvtHideGeneric | qvtHidePopup | qvtHideExpand))
            continue;
        CQVTControlRef keepAlive(pControl);
        pControl->OnIdleUpdate();
        if (bNoNotify || (pControl->GetFlags() & qvtFlagManualUpdate))
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = static_cast<UINT>(pControl->GetID());
        state.m_pControl = pControl;
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        if (OnCmdMsg(0, static_cast<int>(CN_UPDATE_CONTROLS), &state, nullptr))
            continue;
        if (OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        if (!bCustomize)
        {
            CQVTToolBar::CControlButtonCustomize* pEntry =
                DYNAMIC_DOWNCAST(CQVTToolBarCustomizeButton, pControl);
            if (pEntry && pControl->GetID() == 0)
            {
                // An "Add or Remove Buttons" entry asks for the control it
                // stands for.
                if (pEntry->m_pTarget)
                {
                    CQVTControl* pPair[2] = {pEntry, pEntry->m_pTarget};
                    pSite->OnCmdMsg(static_cast<UINT>(pEntry->m_pTarget->GetID()),
                                    static_cast<int>(0x80000001), pPair, nullptr);
                }
            }
            else
                state.DoUpdate(pSite, bDisableIfNoHandler);
        }
        else if (pControl->GetEnabled() != -1)
            pControl->SetEnabled(TRUE);
    }
    UpdateDialogControls(pSite, bDisableIfNoHandler);
}

// Selection, popups and tracking.

BOOL CQVTCommandBar::SetSelected(int nSelected, int reason)
{
    if (nSelected == m_nSelected)
        return FALSE;
    m_nSelectionReason = reason;
    if (!GetSafeHwnd())
        return FALSE;
    CQVTControl* pPrevious = GetControl(m_nSelected);
    if (pPrevious)
    {
        pPrevious->OnMouseMove(CPoint(-1, -1));
        pPrevious->OnSetSelected(0);
    }
    m_nSelected = nSelected;
    if (nSelected == -1)
    {
        KillTimer(TIMER_HOVER);
        return TRUE;
    }
    CQVTControl* pControl = GetControl(nSelected);
    if (!pControl)
        return FALSE;
    if (reason != 0)
    {
        OnSelectByKeyboard(pControl);
        pControl->OnSetSelected(std::max(reason, 2));
    }
    else
        pControl->OnSetSelected(1);
    if (m_nTrackingMode)
        AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, nSelected + 1);
    CQVTMouseManager::GetThreadManager()->SetSelectionBar(this);
    if (reason == 0 && m_bHoverOpensPopups)
        SetTimer(TIMER_HOVER, static_cast<UINT>(std::max(0, s_nHoverDelay)), nullptr);
    return TRUE;
}

BOOL CQVTCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard)
{
    if (nPopuped == m_nPopuped)
        return FALSE;
    if (m_nPopuped != -1)
    {
        CQVTControl* pOpen = GetControl(m_nPopuped);
        m_nPopuped = -1;
        if (pOpen)
            pOpen->OnSetPopup(FALSE);
    }
    if (nPopuped == -1)
        return TRUE;
    CQVTControl* pControl = GetControl(nPopuped);
    if (!pControl || !pControl->GetEnabled())
        return FALSE;
    m_nPopuped = nPopuped;
    SetTrackingMode(2, FALSE, bKeyboard);
    SetSelected(nPopuped, bKeyboard ? 1 : 0);
    if (!m_nTrackingMode)
    {
        SetSelected(-1);
        m_nPopuped = -1;
        return FALSE;
    }
    CQVTCommandBarRef keepAlive(this);
    if (!pControl->OnSetPopup(TRUE))
    {
        m_nPopuped = -1;
        return FALSE;
    }
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay)
        SetTimer(TIMER_SHOWFULL, 5000, nullptr);
    return TRUE;
}

BOOL CQVTCommandBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if (m_nTrackingMode && bMode)
    {
        m_nTrackingMode = bMode;
        return FALSE;
    }
    if (bMode == m_nTrackingMode)
        return FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (bMode)
    {
        if (m_barType == qvtBarTypeMenuBar && GetSite())
            GetSite()->SendMessage(QVTWM_MENUBARTRACKING, reinterpret_cast<WPARAM>(this), 0);
        m_nTrackingMode = bMode;
        m_bEnteredByMouse = !bSelectFirst && !bKeyboard;
        m_nSelectionReason = 2;
        if (m_bHideCaret)
        {
            HWND hCaret = m_hwndCaret ? m_hwndCaret : ::GetFocus();
            if (!hCaret && GetSite())
                hCaret = GetSite()->GetSafeHwnd();
            m_hwndCaret = hCaret;
            if (m_hwndCaret)
                ::HideCaret(m_hwndCaret);
        }
        CQVTMouseManager::GetThreadManager()->SetTrack(this);
        CQVTKeyboardManager::GetThreadManager()->HookKeyboard(this);
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        if (bSelectFirst)
            SetSelected(m_pControls->GetNextIndex(-1, 1), 2);
    }
    else
    {
        m_nTrackingMode = 0;
        m_bEnteredByMouse = FALSE;
        m_nSelectionReason = 0;
        CQVTMouseManager::GetThreadManager()->RemoveTrack(this);
        CQVTKeyboardManager::GetThreadManager()->UnhookKeyboard(this);
        SetPopuped(-1);
        if (bSelectFirst)
            SetSelected(-1);
        if (m_hwndCaret)
        {
            ::ShowCaret(m_hwndCaret);
            m_hwndCaret = nullptr;
        }
        Redraw();
        if (GetSafeHwnd() && ::GetFocus() == m_hWnd && GetParent())
        {
            CWnd* pNext = GetParent()->GetNextDlgTabItem(this);
            if (pNext)
                pNext->SetFocus();
        }
        m_nPopupLock = 0;
    }
    if (pCommandBars)
        pCommandBars->OnTrackingModeChanged(this, bMode);
    return TRUE;
}

void CQVTCommandBar::OnControlSelected(BOOL bSelected, CQVTControl* pControl)
{
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_HOTCONTROLCHANGED, bSelected ? reinterpret_cast<WPARAM>(pControl) : 0, 0);
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        int nHelpId = 0;
        if (bSelected && pControl)
            nHelpId = pControl->GetHelpContextId();
        pCommandBars->SetContextHelpId(nHelpId);
    }
    SetStatusText(bSelected && pControl ? pControl->GetDescription() : CString());
}

void CQVTCommandBar::SetStatusText(const CString& strText)
{
    CWnd* pReceiver = nullptr;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        if (!pCommandBars->GetCommandBarsOptions()->bShowDescriptions)
            return;
        pReceiver = pCommandBars->GetSite();
    }
    else
        pReceiver = GetSite();
    if (!pReceiver || !pReceiver->GetSafeHwnd())
        return;
    if (!strText.IsEmpty())
        pReceiver->SendMessage(WM_SETMESSAGESTRING, 0,
                               reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
    else
        pReceiver->SendMessage(WM_POPMESSAGESTRING, 0xE001, 0);
}

// Menus and copies.

BOOL CQVTCommandBar::LoadMenu(CMenu* pMenu, BOOL bRemoveControls)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return FALSE;
    if (bRemoveControls)
        m_pControls->RemoveAll();
    HMENU hMenu = pMenu->GetSafeHmenu();
    const int nCount = ::GetMenuItemCount(hMenu);
    BOOL bSeparator = FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        MENUITEMINFO mii = {sizeof(MENUITEMINFO)};
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        if ((mii.fType & MFT_SEPARATOR) || (mii.wID == 0 && !mii.hSubMenu))
        {
            bSeparator = TRUE;
            continue;
        }
        CQVTControl* pControl = m_pControls->AddMenuItem(pMenu, i);
        if (!pControl)
            continue;
        if (mii.fType & (MFT_MENUBARBREAK | MFT_MENUBREAK))
        {
            pControl->SetFlags(pControl->GetFlags() | qvtFlagWrapRow);
            if (mii.fType & MFT_MENUBARBREAK)
                pControl->SetBeginGroup(TRUE);
        }
        if (bSeparator)
            pControl->SetBeginGroup(TRUE);
        bSeparator = FALSE;
        if (!pControl->GetAction())
        {
            if (mii.fState & MFS_CHECKED)
                pControl->SetChecked(TRUE);
            if (mii.fState & (MFS_GRAYED | MFS_DISABLED))
                pControl->SetEnabled(FALSE);
        }
    }
    CFrameWnd* pFrame = GetSafeHwnd() ? GetParentFrame() : nullptr;
    if (pFrame)
        pFrame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
    return TRUE;
}

void CQVTCommandBar::Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive)
{
    if (!pCommandBar || pCommandBar == this)
        return;
    m_barType = pCommandBar->m_barType;
    m_barPosition = pCommandBar->m_barPosition;
    m_nBarID = pCommandBar->m_nBarID;
    m_dwFlags = pCommandBar->m_dwFlags;
    m_dwStyle = pCommandBar->m_dwStyle;
    m_strTitle = pCommandBar->m_strTitle;
    m_bCustomizable = pCommandBar->m_bCustomizable;
    m_nMRUWidth = pCommandBar->m_nMRUWidth;
    m_szIcons = pCommandBar->m_szIcons;
    m_szButtons = pCommandBar->m_szButtons;
    m_pCommandBars = pCommandBar->m_pCommandBars;
    m_nTextBelowIcons = pCommandBar->m_nTextBelowIcons;
    m_pControls->Copy(pCommandBar->m_pControls, bRecursive);
}

CQVTCommandBar* CQVTCommandBar::Clone(BOOL bRecursive)
{
    CQVTCommandBar* pClone = new CQVTCommandBar();
    pClone->Copy(this, bRecursive);
    return pClone;
}

BOOL CQVTCommandBar::IsPointInBar(CPoint point) const
{
    if (!GetSafeHwnd())
        return FALSE;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (!rcWindow.PtInRect(point))
        return FALSE;
    if (m_barPosition == qvtBarPopup)
    {
        CRgn rgn;
        rgn.CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(m_hWnd, static_cast<HRGN>(rgn.GetSafeHandle())) != ERROR)
            return rgn.PtInRegion(point.x - rcWindow.left, point.y - rcWindow.top);
    }
    return TRUE;
}

void CQVTCommandBar::UpdateShortcuts()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || !pCommandBars->GetCommandBarsOptions()->bAutoUpdateShortcuts)
        return;
    // Context menus show no shortcuts unless the options ask for them.
    const BOOL bEmpty =
        GetRootParent()->IsPopupBar() && !pCommandBars->GetCommandBarsOptions()->bShowContextMenuAccelerators;
    CQVTShortcutManager* pShortcuts = pCommandBars->GetShortcutManager();
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() != this || pControl->GetHideFlags() != 0 || pControl->GetID() == 0)
            continue;
        CString strShortcut = pControl->GetDisplayedShortcutText();
        if (bEmpty)
            strShortcut.Empty();
        else
            pShortcuts->FindShortcutText(pControl->GetID(), strShortcut);
        if (strShortcut != pControl->GetDisplayedShortcutText())
            pControl->SetShortcutText(strShortcut);
    }
}

void CQVTCommandBar::OnRemoved()
{
    if (m_nTrackingMode)
        SetTrackingMode(FALSE, TRUE, FALSE);
    QVTHookManager()->RemoveAll(this);
    CQVTMouseManager::GetThreadManager()->OnBarRemoved(this);
    m_pControls->RemoveAll();
    if (GetSafeHwnd())
        DestroyWindow();
}

// Window messages.

BOOL CQVTCommandBar::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_pToolTipContext && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        m_pToolTipContext->RelayToolTipMessage(this, message, wParam, lParam);
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

int CQVTCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Bars of a set share its tooltip context; a bar on its own would use
    // the framework's tooltips, which the framework layer leaves out.
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && m_barPosition != qvtBarListBox)
        pCommandBars->GetDropSource()->Register(this);
    if (pCommandBars && pCommandBars->GetToolTipContext() && !m_pToolTipContext)
    {
        m_pToolTipContext = pCommandBars->GetToolTipContext();
        m_pToolTipContext->InternalAddRef();
    }
    return 0;
}

void CQVTCommandBar::OnDestroy()
{
    if (m_nTrackingMode)
        SetTrackingMode(FALSE, TRUE, FALSE);
    if (m_pAnimation)
        m_pAnimation->OnDestroyWindow();
    if (CQVTCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->GetDropSource()->Unregister(this);
    CWnd::OnDestroy();
}

void CQVTCommandBar::OnPaint()
{
    CPaintDC dc(this);
    m_pAnimation->OnPaint(dc);
}

LRESULT CQVTCommandBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (pDC)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        DrawCommandBar(pDC, rcClient);
    }
    return 1;
}

BOOL CQVTCommandBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQVTCommandBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_nTrackingMode && m_barPosition != qvtBarPopup && !CQVTDrawHelpers::IsApplicationActive(m_hWnd))
        return;
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    // Another bar's popup is open: this bar waits.
    if (pMouseManager->IsTrackedLock(this) && !m_pCapturedControl)
        return;
    if (pMouseManager->IsMouseLocked())
    {
        // Only the bar whose control holds the mouse follows it.
        if (!m_pCapturedControl)
            return;
        if (m_pCapturedControl->GetRect().PtInRect(point))
        {
            pMouseManager->TrackMouseLeave(m_hWnd);
            m_pCapturedControl->OnMouseMove(point);
            SetSelected(m_pCapturedControl->GetIndex(), 0);
        }
        else
            m_pCapturedControl->OnSetSelected(1);
        return;
    }
    if (IsCustomizeMode())
    {
        ShowCustomizeResizeCursor(point);
        return;
    }
    if (m_nPopuped != -1 && !m_bHoverOpensPopups)
        return;
    const BOOL bKeepSelection =
        m_nTrackingMode && !(IsPopupBar() && m_nPopuped == -1 && m_nSelectionReason == 0);
    int nNewSelected = bKeepSelection ? m_nSelected : -1;
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (pControl)
    {
        nNewSelected = pControl->GetIndex();
        pMouseManager->TrackMouseLeave(m_hWnd);
        pControl->OnMouseMove(point);
    }
    SetSelected(nNewSelected, 0);
}

void CQVTCommandBar::OnMouseLeave()
{
    m_bTrackingMouseLeave = FALSE;
    const BOOL bTrackingKeepsSelection = m_nTrackingMode && !(IsPopupBar() && m_nPopuped == -1);
    if (m_pCapturedControl || m_nPopupLock > 0 || bTrackingKeepsSelection)
        return;
    SetSelected(-1, 0);
}

void CQVTCommandBar::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    OnMouseLeave();
    CWnd::OnNcMouseMove(nHitTest, point);
}

void CQVTCommandBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_barPosition == qvtBarPopup && m_barType == qvtBarTypeNormal && m_nPopuped != -1)
    {
        CQVTControl* pPopuped = GetControl(m_nPopuped);
        if (pPopuped && !pPopuped->GetRect().PtInRect(point))
        {
            if (m_nSelected == m_nPopuped)
                SetSelected(-1);
            SetPopuped(-1);
        }
    }
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (!pControl)
    {
        Default();
        return;
    }
    if (StartAltDrag(pControl, point))
        return;
    pControl->OnLButtonDown(point);
}

void CQVTCommandBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode())
        return;
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (pControl)
        pControl->OnLButtonUp(point);
    else
        Default();
}

void CQVTCommandBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode())
        return;
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (pControl)
        pControl->OnLButtonDblClk(point);
}

void CQVTCommandBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    CQVTControl* pControl = m_pControls->HitTest(point);
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && IsCustomizeMode())
    {
        // The control becomes the one the customize window's menu acts on.
        if (pControl && pControl->IsCustomizeMode())
        {
            CQVTCommandBarRef keepAlive(this);
            pCommandBars->SetDragControl(pControl);
            CPoint ptScreen = point;
            ClientToScreen(&ptScreen);
            pCommandBars->GetDropSource()->ContextMenu(ptScreen);
        }
        return;
    }
    if (pControl && pControl->OnRButtonDown(point))
        return;
}

BOOL CQVTCommandBar::StartAltDrag(CQVTControl* pControl, CPoint point)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || IsCustomizeMode() || (::GetKeyState(VK_MENU) & 0x8000) == 0 || IsPopupBar() ||
        !pCommandBars->GetCommandBarsOptions()->bAltDragCustomization || !pCommandBars->IsCustomizeAvail() ||
        !pControl->IsCustomizeMode())
        return FALSE;
    CQVTCommandBarRef keepAlive(this);
    CQVTControlRef keepControl(pControl);
    pCommandBars->SetCustomizeMode(TRUE);
    SetPopuped(-1);
    SetSelected(-1);
    pControl->CustomizeStartDrag(point);
    pCommandBars->SetCustomizeMode(FALSE);
    pCommandBars->RecalcFrameLayout();
    CQVTCommandBars::ClosePopups(pCommandBars);
    return TRUE;
}

void CQVTCommandBar::ShowCustomizeResizeCursor(CPoint point)
{
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (!pControl || !pControl->IsCustomizeMode() || !pControl->IsCustomizeResizeAllow())
        return;
    const CRect rc = pControl->GetRect();
    const int nGrip = QVTDpiScaler()->ScaleX(2);
    if (std::abs(point.x - rc.left) <= nGrip || std::abs(point.x - rc.right) <= nGrip)
        ::SetCursor(QVTResourceManager()->LoadCursor(QVT_IDC_COMMANDBARS_RESIZE));
}

void CQVTCommandBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (IsCustomizeMode())
        return;
    CQVTControl* pControl = m_pControls->HitTest(point);
    CQVTCommandBarRef keepAlive(this);
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(QVTWM_CONTROLRBUTTONUP, reinterpret_cast<WPARAM>(&point),
                           reinterpret_cast<LPARAM>(pControl)) == 1)
        return;
    CQVTCommandBar* pRoot = GetRootParent();
    BOOL bHandled = FALSE;
    if (pControl)
    {
        if (pRoot->m_bRightButtonTracking)
        {
            pControl->OnLButtonUp(point);
            bHandled = TRUE;
        }
        else
            bHandled = pControl->OnRButtonUp(point);
    }
    if (!bHandled && pRoot != this)
        pRoot->OnPopupRButtonUp(this, point);
}

BOOL CQVTCommandBar::IsInHelpMode() const
{
    CFrameWnd* pFrame = GetSafeHwnd() ? GetParentFrame() : nullptr;
    return pFrame && pFrame->m_bHelpMode;
}

LRESULT CQVTCommandBar::OnNcHitTest(CPoint point)
{
    if (!IsInHelpMode())
        return CWnd::OnNcHitTest(point);
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    CQVTControl* pControl = m_pControls->HitTest(ptClient);
    if (pControl && pControl->GetID() == 0)
    {
        const int nType = pControl->GetType();
        if (nType == qvtControlPopup || nType == qvtControlButtonPopup || nType == qvtControlSplitButtonPopup)
            return HTMENU;
    }
    return HTCLIENT;
}

void CQVTCommandBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (!IsInHelpMode())
    {
        CWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    OnLButtonDown(0, ptClient);
}

void CQVTCommandBar::OnTimer(UINT_PTR nIDEvent)
{
    Default();
    switch (nIDEvent)
    {
    case TIMER_HOVER:
        if (m_nPopupLock == 0)
        {
            KillTimer(TIMER_HOVER);
            CQVTControl* pControl = GetControl(m_nSelected);
            if (pControl)
                pControl->OnMouseHover();
        }
        break;
    case TIMER_SHOWFULL:
        if (m_nPopupLock == 0)
        {
            KillTimer(TIMER_SHOWFULL);
            CQVTControlPopup* pPopuped = DYNAMIC_DOWNCAST(CQVTControlPopup, GetControl(m_nPopuped));
            CQVTPopupBar* pPopup =
                pPopuped ? DYNAMIC_DOWNCAST(CQVTPopupBar, pPopuped->GetCommandBar()) : nullptr;
            if (pPopup && m_nPopuped == m_nSelected && pPopup->IsExpandButtonShown())
                pPopup->ExpandBar();
        }
        break;
    case TIMER_KEYBOARDTIPS:
    {
        CQVTCommandBars* pCommandBars = GetCommandBars();
        if (pCommandBars && CQVTMouseManager::GetThreadManager()->GetLastTracked() == this &&
            pCommandBars->GetKeyboardTipsLevel(this) == 0)
            pCommandBars->ShowKeyboardTips(this, 1);
        break;
    }
    case CQVTCommandBarAnimation::TIMER_ANIMATION:
        m_pAnimation->OnAnimate();
        break;
    case CQVTScrollBase::TIMER_SCROLL_ANIMATION:
    {
        // A control that scrolls itself smoothly (a gallery) steps here when
        // no tracking loop of its own runs.
        BOOL bAnimating = FALSE;
        for (int i = 0; i < GetControlCount(); ++i)
        {
            CQVTScrollBase* pScroll = dynamic_cast<CQVTScrollBase*>(GetControl(i));
            if (pScroll && pScroll->IsAnimating())
            {
                CQVTControlRef keepAlive(GetControl(i));
                pScroll->OnAnimationTimer();
                bAnimating = bAnimating || pScroll->IsAnimating();
            }
        }
        if (!bAnimating && GetSafeHwnd())
            KillTimer(CQVTScrollBase::TIMER_SCROLL_ANIMATION);
        break;
    }
    default:
        break;
    }
}

LRESULT CQVTCommandBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    OnIdleUpdate(wParam, lParam);
    return 0;
}

LRESULT CQVTCommandBar::OnInitialUpdate(WPARAM, LPARAM)
{
    OnIdleUpdate(TRUE, 0);
    return 0;
}

LRESULT CQVTCommandBar::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    const CPoint point(static_cast<int>(static_cast<short>(LOWORD(lParam))),
                       static_cast<int>(static_cast<short>(HIWORD(lParam))));
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (pControl)
    {
        return 0x10000 + pControl->GetHelpContextId();
    }
    const int nChildId = GetDlgCtrlID();
    return nChildId == 0 ? 0 : 0x50000 + nChildId;
}

// Accessibility.

namespace {
HRESULT AllocBarText(const CString& str, BSTR* pbstr)
{
    if (!pbstr)
        return E_POINTER;
    *pbstr = ::SysAllocString(str);
    return *pbstr || str.IsEmpty() ? S_OK : E_OUTOFMEMORY;
}
}  // namespace

LRESULT CQVTCommandBar::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    const LONG nObjectId = static_cast<LONG>(lParam);
    if (nObjectId >= 1 && nObjectId <= 0xFFFFFE)
    {
        CQVTControl* pControl = m_pControls->FindControl(nObjectId);
        if (pControl)
            return LresultFromObject(IID_IAccessible, wParam, &pControl->m_xAccessible);
    }
    else if (nObjectId == OBJID_CLIENT || nObjectId == OBJID_MENU)
        return LresultFromObject(IID_IAccessible, wParam, &m_xAccessible);
    return Default();
}

HRESULT CQVTCommandBar::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = nullptr;
    // Popup bars answer their owner control (their override).
    if (!GetSafeHwnd())
        return E_FAIL;
    return AccessibleObjectFromWindow(m_hWnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(ppdispParent));
}

HRESULT CQVTCommandBar::GetAccessibleChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = GetControlCount();
    return S_OK;
}

HRESULT CQVTCommandBar::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = nullptr;
    CQVTControl* pControl = GetControl(GetChildIndex(&varChild) - 1);
    if (!pControl)
        return E_INVALIDARG;
    *ppdispChild = pControl->GetAccessibleDispatch();
    return S_OK;
}

HRESULT CQVTCommandBar::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    const LONG nChild = GetChildIndex(&varChild);
    if (nChild == 0)
        return AllocBarText(m_strTitle, pszName);
    CQVTControl* pControl = GetControl(nChild - 1);
    if (!pControl)
        return E_INVALIDARG;
    return AllocBarText(pControl->GetAccessibleText(), pszName);
}

HRESULT CQVTCommandBar::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_POINTER;
    ::VariantInit(pvarRole);
    const LONG nChild = GetChildIndex(&varChild);
    if (nChild != 0 && !GetControl(nChild - 1))
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    if (nChild != 0)
        pvarRole->lVal = ROLE_SYSTEM_MENUITEM;
    else if (m_barType == qvtBarTypeMenuBar)
        pvarRole->lVal = ROLE_SYSTEM_MENUBAR;
    else if (m_barType == qvtBarTypePopup)
        pvarRole->lVal = ROLE_SYSTEM_MENUPOPUP;
    else
        pvarRole->lVal = ROLE_SYSTEM_TOOLBAR;
    return S_OK;
}

HRESULT CQVTCommandBar::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_POINTER;
    ::VariantInit(pvarState);
    const LONG nChild = GetChildIndex(&varChild);
    if (nChild != 0 && !GetControl(nChild - 1))
        return E_INVALIDARG;
    LONG lState = IsVisible() ? 0 : STATE_SYSTEM_INVISIBLE;
    if (nChild != 0)
    {
        lState |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
        if (nChild - 1 == m_nSelected)
            lState |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED;
    }
    pvarState->vt = VT_I4;
    pvarState->lVal = lState;
    return S_OK;
}

HRESULT CQVTCommandBar::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                           VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (!GetSafeHwnd())
        return S_FALSE;
    const LONG nChild = GetChildIndex(&varChild);
    CRect rc;
    if (nChild == 0)
        GetWindowRect(&rc);
    else
    {
        CQVTControl* pControl = GetControl(nChild - 1);
        if (!pControl)
            return E_INVALIDARG;
        rc = pControl->GetRect();
        ClientToScreen(&rc);
    }
    return QVTAccessibleLocation(rc, pxLeft, pyTop, pcxWidth, pcyHeight);
}

HRESULT CQVTCommandBar::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (!GetSafeHwnd())
        return S_FALSE;
    CPoint pt;
    if (!QVTAccessibleHitPoint(this, xLeft, yTop, pt))
        return S_FALSE;
    CQVTControl* pControl = m_pControls->HitTest(pt);
    if (pControl)
    {
        pvarChild->vt = VT_DISPATCH;
        pvarChild->pdispVal = pControl->GetAccessibleDispatch();
        return S_OK;
    }
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return S_OK;
}
