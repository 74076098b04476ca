#include "toolkit/commandbars/bars/QVTToolBar.h"

#include <afxext.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/actions/QVTControlAction.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTDockContext.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

IMPLEMENT_SERIAL(CQVTToolBar, CQVTCommandBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_DYNCREATE(CQVTToolBarExpandButton, CQVTControlPopup)
IMPLEMENT_DYNCREATE(CQVTToolBarHideButton, CQVTControlButton)
IMPLEMENT_DYNCREATE(CQVTToolBarCustomizeButton, CQVTControlButton)

BEGIN_MESSAGE_MAP(CQVTToolBar, CQVTCommandBar)
    ON_MESSAGE(WM_SIZEPARENT, &CQVTToolBar::OnSizeParent)
    ON_MESSAGE(WM_FLOATSTATUS, &CQVTToolBar::OnFloatStatus)
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEACTIVATE()
    ON_WM_CLOSE()
    ON_WM_NCACTIVATE()
    ON_WM_NCCREATE()
    ON_WM_NCHITTEST()
    ON_WM_SETFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

const TCHAR kToolBarClass[] = _T("QVTToolBar");
const TCHAR kCustomizeListEntry[] = _T("AddRemoveButtons");
// The id toolbars placed on an edge of their site carry, so that the site's
// repositioning reaches them.
const UINT kEdgeBarId = AFX_IDW_CONTROLBAR_FIRST + 0x10;

#pragma pack(push, 1)
struct ToolBarResourceHeader
{
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
};
#pragma pack(pop)

}  // namespace

// The bar's own buttons.

CQVTToolBarExpandButton::CQVTToolBarExpandButton() : m_bHiddenControls(FALSE)
{
    m_controlType = qvtControlButtonPopup;
    m_dwFlags = qvtFlagLeftPopup | qvtFlagManualUpdate | qvtFlagNoMovable;
}

CSize CQVTToolBarExpandButton::GetSize(CDC*)
{
    return CSize(0, 0);
}

CSize CQVTToolBarExpandButton::Draw(CDC* pDC)
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pParent);
    const int nKind = pToolBar && pToolBar->IsFloating() ? qvtSpecialDropDown : qvtSpecialToolbarExpand;
    return GetPaintManager()->DrawSpecialControl(pDC, nKind, this, m_pParent, TRUE, &m_bHiddenControls);
}

BOOL CQVTToolBarExpandButton::OnSetPopup(BOOL bPopup)
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pParent);
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!bPopup || !pToolBar || !pCommandBars)
        return CQVTControlPopup::OnSetPopup(bPopup);

    QVTCREATEBARSTRUCT cs = {};
    cs.bPopup = TRUE;
    cs.nType = 1;
    cs.nID = m_nId;
    CWnd* pSite = pCommandBars->GetSite();
    CQVTPopupBar* pPopup = nullptr;
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(QVTWM_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs)) != 0)
    {
        pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, cs.pCommandBar);
        if (!pPopup && cs.pCommandBar)
            cs.pCommandBar->InternalRelease();
    }
    if (!pPopup)
        pPopup = CQVTPopupToolBar::CreatePopupToolBar(pCommandBars);
    SetCommandBar(pPopup);
    pPopup->InternalRelease();

    pCommandBars->GetHiddenControls(pToolBar, pPopup);
    if (pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways || pCommandBars->IsCustomizeAvail())
    {
        CQVTControlPopup* pAddRemove = static_cast<CQVTControlPopup*>(
            pPopup->GetControls()->Add(new CQVTControlPopup(), QVT_ID_ADDREMOVE_BUTTONS, nullptr, -1, TRUE));
        pAddRemove->SetBeginGroup(pPopup->GetControlCount() > 1);
        CQVTPopupBar* pList = CQVTPopupBar::CreatePopupBar(pCommandBars);
        pCommandBars->GetAddOrRemovePopup(pToolBar, pList);
        pAddRemove->SetCommandBar(pList);
        pList->InternalRelease();
    }
    return CQVTControlPopup::OnSetPopup(TRUE);
}

CQVTToolBarHideButton::CQVTToolBarHideButton()
{
    m_dwFlags = qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable;
}

CSize CQVTToolBarHideButton::GetSize(CDC*)
{
    return CSize(0, 0);
}

CSize CQVTToolBarHideButton::Draw(CDC* pDC)
{
    return GetPaintManager()->DrawSpecialControl(pDC, qvtSpecialClose, this, m_pParent, TRUE, nullptr);
}

void CQVTToolBarHideButton::OnExecute()
{
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pParent);
    if (!pToolBar)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(pToolBar);
    CQVTCommandBars::ClosePopups(pToolBar->GetCommandBars());
    pToolBar->SetVisible(FALSE);
}

void CQVTToolBarCustomizeButton::OnExecute()
{
    if (!m_pToolBar)
        return;
    CQVTObjectRef<CQVTCommandBar> keepBar(m_pToolBar);
    if (!m_pTarget)
    {
        // "Reset Toolbar".
        CQVTCommandBars::ClosePopups(m_pToolBar->GetCommandBars());
        m_pToolBar->ResetToolBar(TRUE);
        return;
    }
    const DWORD dwFlags = m_pTarget->GetHideFlags() ^ qvtHideCustomize;
    m_pTarget->SetHideFlags(dwFlags);
    SetChecked(!(dwFlags & qvtHideCustomize));
    m_pToolBar->DelayLayout();
    m_pToolBar->OnRecalcLayout();
    CQVTCommandBars* pCommandBars = m_pToolBar->GetCommandBars();
    if (pCommandBars)
    {
        pCommandBars->RecalcFrameLayout(FALSE);
        pCommandBars->GetCommandBarsOptions()->bDirty = TRUE;
    }
    RedrawParent(FALSE);
}

// Construction.

CQVTToolBar::CQVTToolBar()
    : m_bVisible(TRUE), m_bBuiltIn(TRUE), m_bTearOff(FALSE), m_bCloseable(TRUE), m_bContextMenuPresent(TRUE),
      m_bCustomizeDialogPresent(TRUE), m_bShowExpandButton(TRUE), m_bInRecalcLayout(FALSE),
      m_bHiddenWithBars(FALSE), m_bVisibleBeforeHidden(FALSE), m_bHiddenWithFrame(FALSE),
      m_bFloatUnplaced(FALSE), m_hWndFocusBefore(nullptr), m_pExpandButton(nullptr), m_pHideButton(nullptr),
      m_pDockBar(nullptr)
{
    m_dwFlags = dockTop | dockBottom | dockLeft | dockRight | dockFloat | dockHideWrap;
    m_pDockContext = std::make_unique<CQVTDockContext>(this);
}

CQVTToolBar::~CQVTToolBar() {}

BOOL CQVTToolBar::IsMovable() const
{
    return (m_dwFlags & (dockTop | dockBottom | dockLeft | dockRight | dockFloat)) != 0 &&
           !IsCustomizeMode() && m_pCommandBars != nullptr;
}

CQVTCommandBar* CQVTToolBar::Clone(BOOL bRecursive)
{
    CQVTToolBar* pClone = static_cast<CQVTToolBar*>(GetRuntimeClass()->CreateObject());
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTToolBar::Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive)
{
    CQVTCommandBar::Copy(pCommandBar, bRecursive);
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pCommandBar);
    if (!pToolBar || pToolBar == this)
        return;
    m_bBuiltIn = pToolBar->m_bBuiltIn;
    m_bTearOff = pToolBar->m_bTearOff;
    m_bCloseable = pToolBar->m_bCloseable;
    m_bContextMenuPresent = pToolBar->m_bContextMenuPresent;
    m_bCustomizeDialogPresent = pToolBar->m_bCustomizeDialogPresent;
    m_bShowExpandButton = pToolBar->m_bShowExpandButton;
    m_pExpandButton = nullptr;
    m_pHideButton = nullptr;
}

void CQVTToolBar::OnRemoved()
{
    m_pExpandButton = nullptr;
    m_pHideButton = nullptr;
    CQVTCommandBar::OnRemoved();
}

void CQVTToolBar::EnsureExpandButton()
{
    if (m_pExpandButton && m_pExpandButton->GetControls() == m_pControls)
        return;
    m_pExpandButton = static_cast<CControlButtonExpand*>(
        m_pControls->Add(new CControlButtonExpand(), QVT_ID_TOOLBAR_EXPAND, nullptr, -1, TRUE));
}

void CQVTToolBar::EnsureHideButton()
{
    if (m_pHideButton && m_pHideButton->GetControls() == m_pControls)
        return;
    m_pHideButton = static_cast<CControlButtonHide*>(
        m_pControls->Add(new CControlButtonHide(), QVT_ID_TOOLBAR_HIDE, nullptr, -1, TRUE));
}

void CQVTToolBar::TakeOutOwnButtons(BOOL bExpand, BOOL bHide)
{
    if (bExpand && m_pExpandButton)
        m_pExpandButton->SetHideFlags(m_pExpandButton->GetHideFlags() | qvtHideGeneric);
    if (bHide && m_pHideButton)
        m_pHideButton->SetHideFlags(m_pHideButton->GetHideFlags() | qvtHideGeneric);
}

void CQVTToolBar::ShowExpandButton(BOOL bShow)
{
    if (m_bShowExpandButton == bShow)
        return;
    m_bShowExpandButton = bShow;
    if (!bShow && m_pExpandButton)
        m_pExpandButton->SetHideFlags(qvtHideGeneric);
    DelayLayout();
}

BOOL CQVTToolBar::HasOverflow() const
{
    for (int i = 0; i < GetControlCount(); ++i)
        if (GetControl(i)->GetHideFlags() == qvtHideWrap)
            return TRUE;
    return FALSE;
}

// Resources and buttons.

BOOL CQVTToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadIcons)
{
    HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_TOOLBAR);
    HRSRC hResource = ::FindResource(hInstance, MAKEINTRESOURCE(nIDResource), RT_TOOLBAR);
    if (!hResource)
        return FALSE;
    const DWORD dwSize = ::SizeofResource(hInstance, hResource);
    HGLOBAL hGlobal = ::LoadResource(hInstance, hResource);
    const BYTE* pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    if (!pData || dwSize < sizeof(ToolBarResourceHeader))
        return FALSE;
    ToolBarResourceHeader header;
    std::memcpy(&header, pData, sizeof(header));
    // The ids must be in the resource: a count larger than it is refused.
    if (header.wVersion != 1 ||
        dwSize < sizeof(header) + static_cast<DWORD>(header.wItemCount) * sizeof(WORD))
        return FALSE;
    std::vector<UINT> ids(header.wItemCount);
    for (size_t i = 0; i < ids.size(); ++i)
    {
        WORD wId = 0;
        std::memcpy(&wId, pData + sizeof(header) + i * sizeof(WORD), sizeof(WORD));
        ids[i] = wId;
    }
    if (!SetButtons(ids.data(), static_cast<int>(ids.size())))
        return FALSE;
    m_nBarID = nIDResource;

    if (bLoadIcons)
    {
        std::vector<UINT> commands;
        for (UINT nId : ids)
            if (nId != 0)
                commands.push_back(nId);
        const CSize szIcon(header.wWidth, header.wHeight);
        CQVTImageManager* pImageManager = GetImageManager();
        if (!pImageManager || szIcon.cx <= 0 || szIcon.cy <= 0 ||
            !pImageManager->SetIcons(nIDResource, commands.data(), static_cast<int>(commands.size()), szIcon))
            return FALSE;
        if (header.wWidth != 16)
            m_szIcons = szIcon;
    }
    m_pControls->CreateOriginalControls();
    return TRUE;
}

BOOL CQVTToolBar::LoadMenu(CMenu* pMenu, BOOL bRemoveControls)
{
    if (bRemoveControls && pMenu && ::IsMenu(pMenu->GetSafeHmenu()))
    {
        // The bar's own buttons go with the other controls.
        m_pExpandButton = nullptr;
        m_pHideButton = nullptr;
    }
    return CQVTCommandBar::LoadMenu(pMenu, bRemoveControls);
}

BOOL CQVTToolBar::SetButtons(const UINT* pButtons, int nCount)
{
    m_pControls->RemoveAll();
    m_pExpandButton = nullptr;
    m_pHideButton = nullptr;
    if (nCount > 0 && !pButtons)
        return FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : GetSite();
    BOOL bBeginGroup = FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        if (pButtons[i] == 0)
        {
            bBeginGroup = TRUE;
            continue;
        }
        QVTCREATECONTROLSTRUCT cs = {};
        cs.nID = pButtons[i];
        cs.bToolBar = TRUE;
        cs.nIndex = GetControlCount();
        cs.pCommandBar = this;
        cs.strCaption = m_strTitle;
        cs.controlType = qvtControlButton;
        cs.bBeginGroup = bBeginGroup;
        if (pSite && pSite->GetSafeHwnd())
            pSite->SendMessage(QVTWM_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
        CQVTControl* pControl = cs.pControl
                                    ? m_pControls->AddControl(cs.pControl)
                                    : m_pControls->AddByType(cs.controlType, static_cast<int>(cs.nID));
        if (pControl)
        {
            CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pControl);
            if (pPopup)
                pPopup->SetIconId(static_cast<int>(cs.nID));
            pControl->SetBeginGroup(cs.bBeginGroup);
            cs.pControl = pControl;
            if (pSite && pSite->GetSafeHwnd())
                pSite->SendMessage(QVTWM_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
        }
        bBeginGroup = FALSE;
    }
    DelayLayout();
    return TRUE;
}

// The window.

BOOL CQVTToolBar::CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating)
{
    if (!pParentWnd || !pParentWnd->GetSafeHwnd())
        return FALSE;
    const BOOL bRightToLeft = GetCommandBars() && GetCommandBars()->IsLayoutRTL();
    if (!GetSafeHwnd())
    {
        CQVTDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), kToolBarClass, CS_DBLCLKS);
        const DWORD dwStyle = bFloating ? 0x86000100 : 0x46000100;
        CSize size(QVTDpiScaler()->ScaleX(100), QVTDpiScaler()->ScaleY(100));
        if (m_pDockContext && !m_pDockContext->m_rectDragFrame.IsRectEmpty())
            size = m_pDockContext->m_rectDragFrame.Size();
        if (!CreateEx(bRightToLeft ? WS_EX_LAYOUTRTL : 0, kToolBarClass, m_strTitle, dwStyle & ~WS_VISIBLE, 0,
                      0, size.cx, size.cy, pParentWnd->GetSafeHwnd(),
                      bFloating ? nullptr : reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEdgeBarId))))
            return FALSE;
        // A new floating window has no place of its own yet: its first
        // layout puts it at the cursor.
        m_bFloatUnplaced = bFloating;
    }
    if (bFloating)
    {
        // Wine brings a window that becomes top-level through SetParent to
        // the top with activation, shown or not, and the bar would take the
        // focus: a docked bar leaves its dock bar while it is still a child
        // window, and a bar made floating is top-level already.
        if (::GetAncestor(m_hWnd, GA_PARENT) != ::GetDesktopWindow())
        {
            ModifyStyle(WS_POPUP, WS_CHILD);
            ::SetParent(m_hWnd, nullptr);
        }
        ModifyStyle(WS_CHILD | 0x100, WS_POPUP);
        ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pParentWnd->GetSafeHwnd()));
        if (pParentWnd->GetExStyle() & WS_EX_TOPMOST)
            SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    else
    {
        m_bFloatUnplaced = FALSE;
        ModifyStyle(WS_POPUP, WS_CHILD);
        ::SetParent(m_hWnd, pParentWnd->GetSafeHwnd());
        SetDlgCtrlID(static_cast<int>(kEdgeBarId));
    }
    if (m_bVisible)
        ShowWindow(SW_SHOWNA);
    return TRUE;
}

BOOL CQVTToolBar::Create(int nPosition)
{
    if (nPosition < qvtBarTop || nPosition > qvtBarFloating)
        return FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : nullptr;
    if (!pSite || !pSite->GetSafeHwnd())
        return FALSE;
    if (nPosition == qvtBarFloating)
    {
        if (!CreateToolBarWindow(pSite, TRUE))
            return FALSE;
        m_barPosition = qvtBarFloating;
        OnRecalcLayout();
        return TRUE;
    }
    if (pCommandBars->DockCommandBar(this, nPosition))
        return TRUE;
    // Without dock bars the bar sits on its edge of the site, placed by the
    // site's repositioning.
    if (!CreateToolBarWindow(pSite, FALSE))
        return FALSE;
    m_barPosition = nPosition;
    // A bar in a site without dock bars (a dialog) can neither be dragged
    // nor floated: it has no dock context, and takes the keyboard with the
    // focus.
    m_pDockContext.reset();
    pCommandBars->RecalcFrameLayout(FALSE);
    return TRUE;
}

void CQVTToolBar::RecalcSiteLayout()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        pCommandBars->RecalcFrameLayout(FALSE);
        return;
    }
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
    {
        CRect rc;
        pSite->GetClientRect(&rc);
        pSite->SendMessage(WM_SIZE, 0, MAKELPARAM(rc.Width(), rc.Height()));
    }
}

BOOL CQVTToolBar::IsVisible() const
{
    return m_bVisible && GetSafeHwnd() != nullptr;
}

void CQVTToolBar::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    m_bVisible = bVisible;
    if (bVisible)
    {
        if (GetSafeHwnd())
            ShowWindow(SW_SHOWNA);
        OnRecalcLayout();
    }
    else
    {
        if (m_nTrackingMode)
            SetTrackingMode(FALSE, TRUE, FALSE);
        if (GetSafeHwnd())
            ShowWindow(SW_HIDE);
        if (!IsFloating())
            RecalcSiteLayout();
    }
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_TOOLBARVISIBLECHANGED, reinterpret_cast<WPARAM>(this), bVisible);
    if (!pCommandBars)
        return;
    pCommandBars->GetCommandBarsOptions()->bDirty = TRUE;
    if (!bVisible && m_bTearOff)
        pCommandBars->Remove(this);
}

void CQVTToolBar::HideWithBars(BOOL bHide)
{
    if (m_bHiddenWithBars == bHide)
        return;
    m_bHiddenWithBars = bHide;
    if (bHide)
    {
        m_bVisibleBeforeHidden = m_bVisible;
        if (m_bVisible)
        {
            m_bVisible = FALSE;
            if (GetSafeHwnd())
                ShowWindow(SW_HIDE);
        }
        return;
    }
    if (!m_bVisibleBeforeHidden)
        return;
    m_bVisible = TRUE;
    if (GetSafeHwnd())
        ShowWindow(SW_SHOWNA);
    if (m_barType == qvtBarTypeMenuBar)
        RecalcSiteLayout();
}

// Layout.

CRect CQVTToolBar::GetMargins() const
{
    return CQVTCommandBar::GetMargins();
}

CRect CQVTToolBar::GetBorders()
{
    CRect rcBorder = GetMargins();
    if (IsGripperVisible() && GetSafeHwnd() && !IsFloating())
    {
        const CSize szGripper = GetPaintManager()->CalcCommandBarGripperSize(this);
        rcBorder.left += szGripper.cx;
        rcBorder.top += szGripper.cy;
    }
    return rcBorder;
}

CSize CQVTToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth)
{
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    CQVTFontDC font(&dc, GetPaintManager()->GetCommandBarFont(this));
    CRect rcBorder = GetBorders();
    TakeOutOwnButtons(FALSE, TRUE);
    const BOOL bHorizontal = (dwMode & LM_HORZDOCK) != 0;
    const int nExpandRoom = bHorizontal ? QVTDpiScaler()->ScaleX(11) : QVTDpiScaler()->ScaleY(11);
    CQVTCommandBars* pCommandBars = GetCommandBars();
    const BOOL bAlways = !pCommandBars || pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways;

    CSize sz(0, 0);
    if (m_bShowExpandButton)
    {
        EnsureExpandButton();
        TakeOutOwnButtons(TRUE, FALSE);
        if (!bAlways)
        {
            sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorder, nWidth);
            if (!(dwMode & LM_COMMIT))
            {
                if (m_pControls->GetVisibleCount() >= 2)
                {
                    const int nMin = nExpandRoom + (bHorizontal ? rcBorder.left : rcBorder.top);
                    if (bHorizontal)
                        sz.cx = std::max(static_cast<int>(sz.cx), nMin);
                    else
                        sz.cy = std::max(static_cast<int>(sz.cy), nMin);
                }
                return sz;
            }
            if (HasOverflow())
            {
                (bHorizontal ? rcBorder.right : rcBorder.bottom) += nExpandRoom;
                sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorder, nWidth);
            }
        }
        else
        {
            (bHorizontal ? rcBorder.right : rcBorder.bottom) += nExpandRoom;
            sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorder, nWidth);
        }
    }
    else
        sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorder, nWidth);

    if (m_bShowExpandButton && m_pExpandButton && (dwMode & LM_COMMIT))
    {
        m_pExpandButton->SetHideFlags(0);
        m_pExpandButton->m_bHiddenControls = HasOverflow();
        CSize szBar = sz;
        GetPaintManager()->DrawSpecialControl(&dc, qvtSpecialToolbarExpand, m_pExpandButton, this, FALSE,
                                              &szBar);
    }
    if ((dwMode & LM_COMMIT) && IsLayoutPending())
        Redraw();
    return sz;
}

CSize CQVTToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (!IsFloating())
        return CalcDockingLayout(nLength, dwMode);
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTFontDC font(&dc, pPaintManager->GetCommandBarFont(this));
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rcBorder = GetMargins();
    const CSize szCaption = GetSafeHwnd() ? pPaintManager->CalcCommandBarGripperSize(this) : CSize(0, 0);
    rcBorder.top += szCaption.cy + pDpi->ScaleY(1);
    if (m_bCloseable)
        EnsureHideButton();
    if (m_bShowExpandButton && GetCommandBars())
        EnsureExpandButton();
    TakeOutOwnButtons(TRUE, TRUE);

    CSize sz(0, 0);
    if (m_barType == qvtBarTypePopup)
        m_pControls->CalcPopupSize(sz, &dc, 0, 0, rcBorder);
    else
        sz = m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorder, 0);

    const int nSide = szCaption.cy;
    const int nRight = sz.cx - pDpi->ScaleX(3);
    const int nTop = pDpi->ScaleY(3);
    if (m_pHideButton && m_bCloseable && nSide > 0)
    {
        m_pHideButton->SetHideFlags(0);
        m_pHideButton->SetRect(CRect(nRight - nSide, nTop, nRight, nTop + nSide));
    }
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (m_pExpandButton && m_bShowExpandButton && nSide > 0 && pCommandBars &&
        pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways)
    {
        const int nExpandRight = (m_pHideButton && m_bCloseable) ? nRight - nSide : nRight;
        if (nExpandRight - nSide > pDpi->ScaleX(3))
        {
            m_pExpandButton->SetHideFlags(0);
            m_pExpandButton->m_bHiddenControls = HasOverflow();
            m_pExpandButton->SetRect(CRect(nExpandRight - nSide, nTop, nExpandRight, nTop + nSide));
        }
    }
    return sz;
}

void CQVTToolBar::OnRecalcLayout()
{
    if (!GetSafeHwnd() || !m_bVisible || m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    if (!IsFloating())
        RecalcSiteLayout();
    else
    {
        const CSize sz = CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        const BOOL bPlace = m_bFloatUnplaced || rcWindow.IsRectEmpty();
        if (bPlace)
        {
            // A new floating bar opens at the cursor, inside the work area.
            CPoint pt;
            ::GetCursorPos(&pt);
            const CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(pt);
            pt.x = std::min(static_cast<int>(pt.x), static_cast<int>(rcWork.right) - static_cast<int>(sz.cx));
            pt.y = std::max(
                std::min(static_cast<int>(pt.y), static_cast<int>(rcWork.bottom) - static_cast<int>(sz.cy)),
                static_cast<int>(rcWork.top));
            rcWindow = CRect(pt, sz);
        }
        SetWindowPos(nullptr, rcWindow.left, rcWindow.top, sz.cx, sz.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE | (bPlace || IsWindowVisible() ? 0 : SWP_NOMOVE));
        m_bFloatUnplaced = FALSE;
        Redraw(nullptr, FALSE);
    }
    m_bInRecalcLayout = FALSE;
}

LRESULT CQVTToolBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pLayout || !m_bVisible || !(GetStyle() & WS_VISIBLE) || IsFloating())
        return 0;
    const CRect rcAvail(pLayout->rect);
    const BOOL bHorizontal = m_barPosition == qvtBarTop || m_barPosition == qvtBarBottom;
    DWORD dwMode = LM_COMMIT | (bHorizontal ? (LM_HORZDOCK | LM_HORZ) : LM_VERTDOCK);
    if (m_dwFlags & dockStretch)
        dwMode |= LM_STRETCH;
    if (m_dwFlags & dockHideWrap)
        dwMode |= qvtLayoutHideWrap;
    const CSize sz = CalcDockingLayout(bHorizontal ? rcAvail.Width() : rcAvail.Height(), dwMode);
    CRect rc = rcAvail;
    if (bHorizontal)
        rc.right = std::min(rc.right, rc.left + sz.cx);
    else
        rc.bottom = std::min(rc.bottom, rc.top + sz.cy);
    switch (m_barPosition)
    {
    case qvtBarBottom:
        rc.top = rc.bottom - sz.cy;
        pLayout->rect.bottom -= sz.cy;
        break;
    case qvtBarLeft:
        rc.right = rc.left + sz.cx;
        pLayout->rect.left += sz.cx;
        break;
    case qvtBarRight:
        rc.left = rc.right - sz.cx;
        pLayout->rect.right -= sz.cx;
        break;
    default:
        rc.bottom = rc.top + sz.cy;
        pLayout->rect.top += sz.cy;
        break;
    }
    if (pLayout->hDWP)
        AfxRepositionWindow(pLayout, m_hWnd, rc);
    Redraw(nullptr, FALSE);
    return 0;
}

// Messages.

LRESULT CQVTToolBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if (!IsFloating())
        return (m_dwStyle & 0x100) && (wParam & FS_SYNCACTIVE) ? TRUE : FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    const BOOL bSync = !pCommandBars || pCommandBars->GetCommandBarsOptions()->bSyncFloatingBars;
    CWnd* pTop = GetTopLevelOwner();
    if (bSync && (wParam & FS_DEACTIVATE) && m_bVisible && pTop &&
        !CQVTDrawHelpers::IsApplicationActive(m_hWnd))
    {
        m_bHiddenWithFrame = TRUE;
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
    if (bSync && (wParam & FS_ACTIVATE) && m_bHiddenWithFrame)
    {
        CWnd* pForeground = CWnd::GetForegroundWindow();
        if (pForeground && pForeground->IsWindowVisible() && !pForeground->IsIconic())
        {
            m_bHiddenWithFrame = FALSE;
            ShowWindow(SW_SHOWNA);
            RecalcSiteLayout();
        }
    }
    if (wParam & FS_SHOW)
        ShowWindow(SW_SHOWNA);
    if (wParam & FS_HIDE)
        ShowWindow(SW_HIDE);
    if (wParam & FS_ENABLE)
        EnableWindow(TRUE);
    if (wParam & FS_DISABLE)
        EnableWindow(FALSE);
    return (m_dwStyle & 0x100) && (wParam & FS_SYNCACTIVE) ? TRUE : FALSE;
}

void CQVTToolBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (pControl && pControl->OnRButtonDown(point))
        return;
    if (IsCustomizeMode())
    {
        CQVTCommandBar::OnRButtonDown(nFlags, point);
        return;
    }
    CQVTCommandBars* pCommandBars = GetCommandBars();
    SetTrackingMode(FALSE, TRUE, FALSE);
    SetSelected(-1);
    if (!pCommandBars)
        return;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    pCommandBars->ContextMenu(this, ptScreen);
}

void CQVTToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (IsFloating())
        SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_pControls->HitTest(point))
    {
        CQVTCommandBar::OnLButtonDown(nFlags, point);
        return;
    }
    CQVTCommandBars::ClosePopups(GetCommandBars());
    if (!IsMovable() || !m_pDockContext || (!IsFloating() && !m_pDockBar))
        return;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    m_pDockContext->StartDrag(ptScreen);
}

void CQVTToolBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pControls->HitTest(point) || !IsMovable() || !m_pDockContext)
    {
        CQVTCommandBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    m_pDockContext->ToggleDocking();
}

void CQVTToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    const BOOL bSizing = nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT;
    if (bSizing && m_pCommandBars && m_pDockContext && !IsCustomizeMode() && (IsFloating() || IsFreeSizing()))
    {
        CQVTObjectRef<CQVTCommandBar> keepAlive(this);
        m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
        return;
    }
    CQVTCommandBar::OnNcLButtonDown(nHitTest, point);
}

int CQVTToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (IsFloating() || IsCustomizeMode())
        return MA_NOACTIVATE;
    return CQVTCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void CQVTToolBar::OnClose() {}

BOOL CQVTToolBar::OnNcActivate(BOOL bActive)
{
    if (bActive)
        return FALSE;
    return static_cast<BOOL>(Default());
}

BOOL CQVTToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CQVTCommandBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    if (m_dwStyle & 0x100)
    {
        CWnd* pTop = GetTopLevelParent();
        CWnd* pForeground = CWnd::GetForegroundWindow();
        BOOL bActive = pTop && pForeground == pTop;
        if (!bActive && pTop && pForeground && pTop->GetLastActivePopup() == pForeground)
            bActive = pForeground->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE) != 0;
        SendMessage(WM_FLOATSTATUS, bActive ? FS_ACTIVATE : FS_DEACTIVATE);
    }
    return TRUE;
}

LRESULT CQVTToolBar::OnNcHitTest(CPoint point)
{
    if (!IsFloating())
        return CQVTCommandBar::OnNcHitTest(point);
    CRect rc;
    GetWindowRect(&rc);
    const int dx = QVTDpiScaler()->ScaleX(3);
    const int dy = QVTDpiScaler()->ScaleY(3);
    if (point.y < rc.top + dy)
        return HTTOP;
    if (point.y >= rc.bottom - dy)
        return HTBOTTOM;
    if (point.x < rc.left + dx)
        return HTLEFT;
    if (point.x >= rc.right - dx)
        return HTRIGHT;
    return CQVTCommandBar::OnNcHitTest(point);
}

void CQVTToolBar::OnSetFocus(CWnd* pOldWnd)
{
    CQVTCommandBar::OnSetFocus(pOldWnd);
    if (!m_hWndFocusBefore && pOldWnd)
        m_hWndFocusBefore = pOldWnd->GetSafeHwnd();
    // Only a bar that cannot dock (one in a dialog) takes the keyboard with
    // the focus; a dockable bar keeps the other bars' hot tracking going.
    if (!m_pDockContext && !m_nTrackingMode)
        SetTrackingMode(TRUE, TRUE, TRUE);
}

int CQVTToolBar::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    if (nChar == VK_TAB && ::GetFocus() == m_hWnd && GetParent() && !(::GetKeyState(VK_CONTROL) & 0x8000))
    {
        // In a dialog Tab leaves the bar for the next tab item.
        const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        CWnd* pParent = GetParent();
        CQVTObjectRef<CQVTCommandBar> keepAlive(this);
        SetTrackingMode(FALSE, TRUE, FALSE);
        CWnd* pNext = pParent->GetNextDlgTabItem(this, bShift);
        if (pNext)
            pNext->SetFocus();
        return keyHandled;
    }
    return CQVTCommandBar::OnHookKeyDown(nChar, lParam);
}

// Reset and the customize list.

BOOL CQVTToolBar::IsResetAllowed()
{
    if (!IsCustomizable())
        return FALSE;
    return !m_pControls->GetOriginalControls() || m_pControls->IsChanged();
}

BOOL CQVTToolBar::ResetToolBar(BOOL bPrompt)
{
    if (!m_bBuiltIn || m_nBarID == 0 || !IsCustomizable())
        return FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : GetSite();
    if (bPrompt)
    {
        CString strFormat;
        if (!QVTResourceManager()->LoadString(&strFormat, QVT_IDS_CONFIRM_RESET))
            strFormat = _T("%s");
        CString strMessage;
        strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
        const int nAnswer = ::MessageBox(pSite ? pSite->GetSafeHwnd() : nullptr, strMessage, AfxGetAppName(),
                                         MB_OKCANCEL | MB_ICONEXCLAMATION);
        if (nAnswer != IDOK)
            return FALSE;
    }
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    CQVTOriginalControls* pOriginals = m_pControls->GetOriginalControls();
    if (pOriginals)
    {
        pOriginals->InternalAddRef();
        m_pControls->RemoveAll();
        m_pExpandButton = nullptr;
        m_pHideButton = nullptr;
        for (int i = 0; i < pOriginals->GetCount(); ++i)
            if (!pOriginals->GetAt(i)->IsTemporary())
                m_pControls->AddCopy(pOriginals->GetAt(i), -1, TRUE);
        pOriginals->InternalRelease();
    }
    else
        LoadToolBar(m_nBarID, FALSE);
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_RESETCOMMANDBAR, reinterpret_cast<WPARAM>(this), 0);
    OnIdleUpdate(TRUE, 0);
    DelayLayout();
    OnRecalcLayout();
    return TRUE;
}

void CQVTToolBar::BuildCustomizeList(CQVTPopupBar* pPopup)
{
    if (!pPopup)
        return;
    pPopup->GetControls()->RemoveAll();
    // Controls the user removed come back as hidden ones, so that the list
    // and the original controls line up.
    CQVTOriginalControls* pOriginals = m_pControls->GetOriginalControls();
    if (pOriginals)
    {
        for (int i = 0; i < pOriginals->GetCount(); ++i)
        {
            CQVTControl* pOriginal = pOriginals->GetAt(i);
            if (pOriginal->IsTemporary())
                continue;
            BOOL bPresent = FALSE;
            for (int j = 0; j < GetControlCount() && !bPresent; ++j)
                bPresent = GetControl(j)->GetID() == pOriginal->GetID() &&
                           GetControl(j)->GetType() == pOriginal->GetType();
            if (bPresent)
                continue;
            CQVTControl* pBack = m_pControls->AddCopy(pOriginal, std::min(i, GetControlCount()), TRUE);
            if (pBack)
                pBack->SetHideFlags(pBack->GetHideFlags() | qvtHideCustomize);
        }
    }
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl == m_pExpandButton || pControl == m_pHideButton)
            continue;
        if (pControl->GetAction() && !pControl->GetAction()->IsVisible())
            continue;
        if ((pControl->GetHideFlags() & 0xC1) || !pControl->IsCustomizeMode())
            continue;
        CControlButtonCustomize* pEntry = static_cast<CControlButtonCustomize*>(
            pPopup->GetControls()->Add(new CControlButtonCustomize(), 0, kCustomizeListEntry, -1, TRUE));
        pEntry->m_pTarget = pControl;
        pEntry->m_pToolBar = this;
        pEntry->SetIconId(pControl->GetIconId());
        CString strCaption = pControl->GetCaption();
        if (strCaption.IsEmpty())
            strCaption = pControl->GetTooltip();
        pEntry->SetCaption(strCaption);
        pEntry->SetChecked(!(pControl->GetHideFlags() & qvtHideCustomize));
        pEntry->SetCloseSubMenuOnClick(FALSE);
    }
    if (pOriginals && !m_bTearOff && m_bBuiltIn)
    {
        CControlButtonCustomize* pReset = static_cast<CControlButtonCustomize*>(pPopup->GetControls()->Add(
            new CControlButtonCustomize(), QVT_ID_RESET_TOOLBAR, kCustomizeListEntry, -1, TRUE));
        pReset->m_pToolBar = this;
        pReset->SetBeginGroup(TRUE);
        pReset->SetFlags(pReset->GetFlags() | qvtFlagManualUpdate);
    }
}
