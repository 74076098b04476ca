// The ribbon's context menu and the quick-access toolbar's menus: built
// from the menu resources item by item for the control they are opened
// for, their commands, the popup of the controls that did not fit, and
// where customize-mode drops land. (A third file of CQVTRibbonBar: the bar
// itself is QVTRibbonBar.cpp.)
#include <afxext.h>

#include <cstdlib>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlExtended.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/ribbon/QVTRibbonResource.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/bar/QVTRibbonQuickAccess.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

IMPLEMENT_SERIAL(CQVTRibbonBarControlQuickAccessCommand, CQVTControlButton,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBarMorePopupToolBar, CQVTPopupToolBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace QVTRibbonContextMenuDetail {

// Menu items are marked with the control they act on in their tag.
CQVTControl* TargetOf(const CQVTControl* pItem)
{
    return pItem ? reinterpret_cast<CQVTControl*>(pItem->GetTag()) : nullptr;
}

void SetItemHidden(CQVTControl* pItem, BOOL bHidden)
{
    const DWORD dwFlags = pItem->GetHideFlags();
    pItem->SetHideFlags(bHidden ? (dwFlags | qvtHideGeneric) : (dwFlags & ~qvtHideGeneric));
}

void ClearHideFlags(CQVTControl* pControl, DWORD dwFlags)
{
    if (pControl && (pControl->GetHideFlags() & dwFlags))
        pControl->SetHideFlags(pControl->GetHideFlags() & ~dwFlags);
}

}  // namespace QVTRibbonContextMenuDetail

using namespace QVTRibbonContextMenuDetail;

// The customize menu's command items.

CQVTRibbonBarControlQuickAccessCommand::CQVTRibbonBarControlQuickAccessCommand()
    : m_pQuickAccess(nullptr), m_pSource(nullptr), m_pCopy(nullptr)
{
    m_dwFlags |= qvtFlagManualUpdate;
}

CQVTRibbonBarControlQuickAccessCommand::~CQVTRibbonBarControlQuickAccessCommand()
{
    if (m_pSource)
        m_pSource->InternalRelease();
    if (m_pCopy)
        m_pCopy->InternalRelease();
}

void CQVTRibbonBarControlQuickAccessCommand::SetCommand(CQVTRibbonQuickAccessControls* pQuickAccess,
                                                        CQVTControl* pSource, CQVTControl* pCopy)
{
    m_pQuickAccess = pQuickAccess;
    if (pSource)
        pSource->InternalAddRef();
    if (pCopy)
        pCopy->InternalAddRef();
    if (m_pSource)
        m_pSource->InternalRelease();
    if (m_pCopy)
        m_pCopy->InternalRelease();
    m_pSource = pSource;
    m_pCopy = pCopy;
}

void CQVTRibbonBarControlQuickAccessCommand::OnExecute()
{
    CQVTObjectRef<CQVTControl> keepAlive(this);
    CQVTControlButton::OnExecute();
    if (!m_pQuickAccess || !m_pSource)
        return;
    CQVTRibbonBar* pRibbonBar = m_pQuickAccess->GetRibbonBar();
    if (m_pCopy && m_pQuickAccess->Contains(m_pCopy))
        m_pQuickAccess->Remove(m_pCopy);
    else
    {
        CQVTControl* pCopy = m_pQuickAccess->AddCopy(m_pSource, -1, TRUE);
        ClearHideFlags(pCopy, qvtHideCustomize);
    }
    if (pRibbonBar)
        pRibbonBar->RequestLayout();
}

// The more popup.

CQVTRibbonBarMorePopupToolBar::CQVTRibbonBarMorePopupToolBar() : m_pRibbonBar(nullptr)
{
    SetBorders(CRect(3, 3, 3, 3));
}

CSize CQVTRibbonBarMorePopupToolBar::GetIconSize() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetIconSize() : CQVTPopupToolBar::GetIconSize();
}

CSize CQVTRibbonBarMorePopupToolBar::GetButtonSize() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetButtonSize() : CQVTPopupToolBar::GetButtonSize();
}

void CQVTRibbonBarMorePopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CQVTRibbonPaintManager* pRibbonPaintManager =
        m_pRibbonBar ? m_pRibbonBar->GetRibbonPaintManager() : nullptr;
    if (!pRibbonPaintManager)
    {
        CQVTPopupToolBar::DrawCommandBar(pDC, rcClipBox);
        return;
    }
    pRibbonPaintManager->FillMorePopupToolBar(pDC, this);
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->IsVisible() && pDC->RectVisible(pControl->GetRect()))
            pControl->Draw(pDC);
    }
}

// The ribbon's side.

CQVTPopupBar* CQVTRibbonBar::CreateMoreQuickAccessPopup()
{
    CQVTRibbonBarMorePopupToolBar* pPopup = new CQVTRibbonBarMorePopupToolBar();
    pPopup->SetCommandBars(GetCommandBars());
    pPopup->SetRibbonBar(this);
    CQVTControls* pControls = pPopup->GetControls();
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); ++i)
    {
        CQVTControl* pControl = m_pQuickAccessControls->GetAt(i);
        if (!(pControl->GetHideFlags() & qvtHideWrap))
            continue;
        ClearHideFlags(pControls->AddCopy(pControl, -1, TRUE), qvtHideWrap);
    }
    if (m_pControlQuickAccess)
        ClearHideFlags(pControls->AddCopy(m_pControlQuickAccess, -1, TRUE), qvtHideWrap);
    pPopup->SetMRUWidth(QVTDpiScaler()->ScaleX(300));
    return pPopup;
}

CQVTPopupBar* CQVTRibbonBar::CreateContextMenu(CQVTControl* pControl)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || !pControl)
        return nullptr;
    CWnd* pSite = GetSite();
    if (!m_bShowQuickAccess)
    {
        // Without the toolbar the bars' own menu stands in.
        CQVTPopupBar* pPopup = pCommandBars->GetToolbarsPopup();
        if (pSite && pSite->GetSafeHwnd())
            pSite->SendMessage(QVTWM_TOOLBARSCONTEXTMENU, reinterpret_cast<WPARAM>(this),
                               reinterpret_cast<LPARAM>(pPopup));
        return pPopup;
    }

    CContextMenuTarget target;
    target.pControl = GetContextMenuTarget(pControl);
    const BOOL bCustomizeMenu = target.pControl->GetID() == QVT_ID_RIBBONCONTROLQUICKACCESS;
    CQVTPopupBar* pPopup = LoadContextMenuPopup(pCommandBars, bCustomizeMenu);
    if (!pPopup)
        return nullptr;
    target.bInToolbar = IsQuickAccessControl(target.pControl);
    target.bAllowed = IsAllowQuickAccessControl(target.pControl);
    target.bLocked = ((target.pControl->GetFlags() & qvtFlagNoMovable) && !target.bAllowed) ||
                     target.pControl->IsTemporary();
    CQVTControls* pItems = pPopup->GetControls();
    for (int i = 0; i < pItems->GetCount(); ++i)
        i = PrepareContextMenuItem(pItems, i, target);

    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_TOOLBARSCONTEXTMENU, reinterpret_cast<WPARAM>(this),
                           reinterpret_cast<LPARAM>(pPopup));
    return pPopup;
}

// A gallery inside a popup stands for the control that opened the popup.
CQVTControl* CQVTRibbonBar::GetContextMenuTarget(CQVTControl* pControl) const
{
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pControl->GetType() != qvtControlGallery || pControl->GetCommandBar() || !pBar || !pBar->IsPopupBar())
        return pControl;
    CQVTControlPopup* pOwner = static_cast<CQVTPopupBar*>(pBar)->GetControlPopup();
    return pOwner ? pOwner : pControl;
}

// The menu resource as a popup bar, with the toolbars list added.
CQVTPopupBar* CQVTRibbonBar::LoadContextMenuPopup(CQVTCommandBars* pCommandBars, BOOL bCustomizeMenu)
{
    CMenu menu;
    if (!QVTResourceManager()->LoadMenu(&menu, bCustomizeMenu ? QVT_IDR_RIBBONQUICKACCESSMENU
                                                              : QVT_IDR_RIBBONCONTEXTMENU))
        return nullptr;
    CMenu* pSubMenu = menu.GetSubMenu(0);
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(pCommandBars);
    pPopup->SetOwner(this);
    if (!pSubMenu || !pPopup->LoadMenu(pSubMenu, TRUE))
    {
        pPopup->InternalRelease();
        return nullptr;
    }
    CQVTControl* pToolbars = pPopup->GetControls()->Add(new CQVTControlToolbars(), QVT_ID_TOOLBARLIST,
                                                        nullptr, bCustomizeMenu ? 0 : 2, TRUE);
    if (pToolbars)
        pToolbars->SetBeginGroup(TRUE);
    return pPopup;
}

// One item of the menu: its command renamed to the ribbon's own, shown,
// checked or enabled for the target; the commands item becomes a check
// item per quick-access command. Answers the index of the last item it
// made.
int CQVTRibbonBar::PrepareContextMenuItem(CQVTControls* pItems, int i, const CContextMenuTarget& target)
{
    CQVTControl* pItem = pItems->GetAt(i);
    switch (pItem->GetID())
    {
    case QVT_ID_RIBBONMENU_MORECOMMANDS:
        pItem->SetID(QVT_ID_RIBBONMENU_CUSTOMIZE);
        break;
    case QVT_ID_RIBBONMENU_QUICKACCESSBELOW:
        pItem->SetID(QVT_ID_RIBBONMENU_SHOWBELOW);
        break;
    case QVT_ID_RIBBONMENU_QUICKACCESSABOVE:
        pItem->SetID(QVT_ID_RIBBONMENU_SHOWABOVE);
        break;
    default:
        break;
    }
    CQVTOriginalControls* pSources = m_pQuickAccessControls->GetOriginalControls();
    BOOL bHandled = TRUE;
    switch (pItem->GetID())
    {
    case QVT_ID_RIBBONMENU_REMOVE:
        SetItemHidden(pItem, !target.bInToolbar || target.bLocked);
        pItem->SetTag(reinterpret_cast<DWORD_PTR>(target.pControl));
        break;
    case QVT_ID_RIBBONMENU_ADD:
        SetItemHidden(pItem, target.bInToolbar || target.bLocked);
        pItem->SetEnabled(target.bAllowed);
        pItem->SetTag(reinterpret_cast<DWORD_PTR>(target.pControl));
        break;
    case QVT_ID_RIBBONMENU_CUSTOMIZE:
        break;
    case QVT_ID_RIBBONMENU_SHOWBELOW:
        SetItemHidden(pItem, !m_bShowQuickAccess || m_bShowQuickAccessBelow);
        break;
    case QVT_ID_RIBBONMENU_SHOWABOVE:
        SetItemHidden(pItem, !m_bShowQuickAccess || !m_bShowQuickAccessBelow);
        break;
    case QVT_ID_RIBBONMENU_MINIMIZE:
        pItem->SetChecked(m_bMinimized);
        pItem->SetEnabled(GetTabCount() > 0);
        pItem->SetTag(reinterpret_cast<DWORD_PTR>(target.pControl));
        break;
    case QVT_ID_RIBBONMENU_COMMANDS:
        SetItemHidden(pItem, TRUE);
        return InsertQuickAccessCommands(pItems, i, pSources);
    case QVT_ID_RIBBONMENU_TITLE:
    {
        CQVTControl* pLabel = pItems->SetControlType(pItem, qvtControlLabel);
        if (pLabel)
        {
            pLabel->SetFlags(pLabel->GetFlags() | qvtFlagSkipFocus | qvtFlagManualUpdate);
            pLabel->SetItemDefault(TRUE);
            SetItemHidden(pLabel, pSources == nullptr);
        }
        bHandled = FALSE;
        break;
    }
    default:
        bHandled = FALSE;
        break;
    }
    if (bHandled)
        pItem->SetFlags(pItem->GetFlags() | qvtFlagManualUpdate);
    return i;
}

// After item i, a check item for each command the toolbar may hold,
// checked while its copy is there; answers the index of the last one.
int CQVTRibbonBar::InsertQuickAccessCommands(CQVTControls* pItems, int i, CQVTOriginalControls* pSources)
{
    for (int j = 0; pSources && j < pSources->GetCount(); ++j)
    {
        CQVTControl* pSource = pSources->GetAt(j);
        CQVTControl* pCopy = m_pQuickAccessControls->FindDuplicate(pSource);
        CQVTRibbonBarControlQuickAccessCommand* pCommand = new CQVTRibbonBarControlQuickAccessCommand();
        pItems->InsertControl(pCommand, i + 1);
        pCommand->SetCommand(m_pQuickAccessControls, pSource, pCopy);
        pCommand->SetCaption(pSource->GetCaption());
        pCommand->SetChecked(pCopy != nullptr);
        ++i;
    }
    return i;
}

void CQVTRibbonBar::ShowContextMenu(CPoint point, CQVTControl* pControl)
{
    if (!pControl)
        return;
    CQVTCommandBar* pBar = pControl->GetParent();
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    CQVTCommandBarRef keepAlive(this);
    CQVTControlRef keepControl(pControl);
    pBar->ClientToScreen(&point);
    CQVTPopupBar* pMenu = CreateContextMenu(pControl);
    if (!pMenu)
        return;
    CQVTObjectRef<CQVTCommandBar> keepMenu(pMenu);
    pMenu->InternalRelease();
    if (pMenu->GetControls()->GetVisibleCount() == 0)
        return;
    const UINT nFlags = pBar == this ? TPM_RIGHTBUTTON : TPM_RIGHTBUTTON | TPM_RECURSE;
    CWnd* pOwner = m_bShowQuickAccess ? static_cast<CWnd*>(this) : GetOwnerSite();
    CQVTCommandBars::TrackPopupBar(pMenu, nFlags, point.x, point.y, pOwner);
}

void CQVTRibbonBar::OnPopupRButtonUp(CQVTCommandBar* pPopupBar, CPoint point)
{
    if (!m_bShowQuickAccess || !pPopupBar || !pPopupBar->IsPopupBar())
        return;
    CQVTControlPopup* pOwner = static_cast<CQVTPopupBar*>(pPopupBar)->GetControlPopup();
    if (pOwner && (pOwner == m_pControlQuickAccess || pOwner == m_pControlQuickAccessMore))
        return;
    CQVTCommandBarRef keepAlive(pPopupBar);
    pPopupBar->SetPopuped(-1);
    CQVTControl* pControl = pPopupBar->GetControls()->HitTest(point);
    if (!pControl)
    {
        CQVTRibbonScrollableBar* pScrollable = GetScrollableBar(pPopupBar);
        CQVTRibbonGroup* pGroup =
            pScrollable && pScrollable != this ? pScrollable->HitTestGroup(point) : nullptr;
        CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
        const int nCaption = pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0;
        if (pGroup && point.y >= pGroup->GetRect().bottom - nCaption)
            pControl = pGroup->GetControlGroupPopup();
    }
    if (pControl)
        ShowContextMenu(point, pControl);
}

LRESULT CQVTRibbonBar::OnControlNotify(WPARAM wParam, LPARAM lParam)
{
    NMQVTCONTROL* pNM = reinterpret_cast<NMQVTCONTROL*>(lParam);
    if (!pNM || pNM->code != QVT_CN_EXECUTE)
        return 0;
    try
    {
        return OnQuickAccessCommand(static_cast<UINT>(wParam), pNM);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::exception&)
    {
    }
    return 1;
}

LRESULT CQVTRibbonBar::OnQuickAccessCommand(UINT nId, NMQVTCONTROL* pNM)
{
    CQVTCommandBarRef keepAlive(this);
    CQVTControl* pItem = pNM->pControl;
    switch (nId)
    {
    case QVT_ID_RIBBONMENU_ADD:
    {
        CQVTControl* pTarget = TargetOf(pItem);
        ClosePopups();
        if (!pTarget)
            return 1;
        CQVTControlRef keepTarget(pTarget);
        LockLayout();
        CQVTControl* pCopy = m_pQuickAccessControls->AddCopy(pTarget, -1, TRUE);
        if (pCopy)
        {
            pCopy->SetBeginGroup(FALSE);
            ClearHideFlags(pCopy, qvtHideGeneric | qvtHideWrap | qvtHideCustomize | QVT_RIBBON_HIDE_GROUP);
            pCopy->SetFlags(pCopy->GetFlags() & ~qvtFlagNoMovable);
            const int nType = pCopy->GetType();
            const int nStyle =
                nType == qvtControlPopup || nType == qvtControlGallery ? qvtButtonIcon : qvtButtonAutomatic;
            if (pCopy->GetStyle() != nStyle)
                pCopy->SetStyle(nStyle);
        }
        UnlockLayout();
        RequestLayout();
        return 1;
    }
    case QVT_ID_RIBBONMENU_REMOVE:
    {
        CQVTControl* pTarget = TargetOf(pItem);
        if (pTarget && m_pQuickAccessControls->Contains(pTarget))
            m_pQuickAccessControls->Remove(pTarget);
        RequestLayout();
        return 1;
    }
    case QVT_ID_RIBBONMENU_CUSTOMIZE:
    {
        ClosePopups();
        CWnd* pSite = GetOwnerSite();
        if (pSite && pSite->GetSafeHwnd() &&
            pSite->SendMessage(QVTWM_CONTROLNOTIFY, nId, reinterpret_cast<LPARAM>(pNM)) == 0)
            pSite->SendMessage(WM_COMMAND, nId, 0);
        return 1;
    }
    case QVT_ID_RIBBONMENU_MINIMIZE:
        SetRibbonMinimized(!m_bMinimized);
        return 1;
    default:
        break;
    }
    if (nId >= 9000 && nId <= 10000)
        return 0;
    if (pItem && pItem->GetParent())
        pItem->GetParent()->GetRootParent()->SetTrackingMode(FALSE, TRUE, FALSE);
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(QVTWM_CONTROLNOTIFY, nId, reinterpret_cast<LPARAM>(pNM)) == 0)
        pSite->SendMessage(WM_COMMAND, nId, 0);
    return 1;
}

// Customize-mode drops.

int CQVTRibbonBar::CalcInsertPosition(CQVTControl* pDragged, CPoint point, BOOL& bAfter, CRect& rcMark) const
{
    const int nIndex = CQVTMenuBar::CalcInsertPosition(pDragged, point, bAfter, rcMark);
    CQVTControl* pControl = GetControl(nIndex);
    if (pControl && (pControl == GetSystemButton() || IsQuickAccessControl(pControl)))
        rcMark.SetRectEmpty();
    if (!IsCustomizable() || !rcMark.IsRectEmpty() || !GetCurrentTab())
        return nIndex;
    CQVTRibbonGroup* pGroup = HitTestGroup(point);
    if (!pGroup || !pGroup->GetControlGroupOption() || m_pControls->HitTest(point))
        return nIndex;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const CRect rcGroup = pGroup->GetRect();
    rcMark.SetRect(rcGroup.left + pDpi->ScaleX(2), rcGroup.top + pDpi->ScaleY(2),
                   rcGroup.left + pDpi->ScaleX(8), rcGroup.top + pDpi->ScaleY(22));
    bAfter = FALSE;
    return pGroup->GetControlGroupOption()->GetIndex();
}

DWORD CQVTRibbonBar::InsertControlAt(CQVTControl* pControl, CPoint ptStart, CPoint ptEnd, DWORD dwEffect)
{
    if (!pControl)
        return qvtDropEffectNone;
    CQVTCommandBarRef keepAlive(this);
    CQVTControlRef keepControl(pControl);
    BOOL bAfter = TRUE;
    CRect rcMark;
    const int nIndex = CalcInsertPosition(pControl, ptEnd, bAfter, rcMark);
    CQVTControl* pTarget = GetControl(nIndex);
    if (pTarget == pControl)
    {
        // Dropped where it came from: a short sideways drag toggles the
        // separator before it.
        CQVTDpiScaler* pDpi = QVTDpiScaler();
        const BOOL bMoved = std::abs(ptEnd.x - ptStart.x) > pDpi->ScaleX(4) ||
                            std::abs(ptEnd.y - ptStart.y) > pDpi->ScaleY(4);
        if (bMoved)
            pControl->SetBeginGroup(bAfter && nIndex != 0);
        dwEffect = qvtDropEffectCancelled;
        RequestLayout();
    }
    else if (!pTarget || rcMark.IsRectEmpty())
    {
        // No control near the point, or a place that takes none (the quick
        // access toolbar, the system button): the source keeps its control.
        dwEffect = qvtDropEffectNone;
    }
    else
    {
        ClosePopups();
        ClearSelection();
        CQVTControl* pNew = nullptr;
        CQVTRibbonGroup* pGroup = pTarget->GetRibbonGroup();
        if (pGroup)
        {
            // The group's option control stands for the group's free place:
            // it is no member, and the drop goes to the group's end.
            const int nInGroup = pGroup->IndexOf(pTarget);
            pNew = pGroup->AddClone(pControl, nInGroup < 0 ? pGroup->GetCount() : nInGroup + (bAfter ? 1 : 0),
                                    TRUE);
        }
        else
            pNew = m_pControls->AddCopy(pControl, nIndex + (bAfter ? 1 : 0), TRUE);
        if (pNew)
        {
            pNew->SetBeginGroup(FALSE);
            if (!bAfter && pTarget->GetBeginGroup())
            {
                pNew->SetBeginGroup(TRUE);
                pTarget->SetBeginGroup(FALSE);
            }
            if (bAfter && pTarget == static_cast<CQVTControl*>(m_pControlTab))
                pNew->SetFlags(pNew->GetFlags() | qvtFlagRightAlign);
            if (GetCommandBars())
                GetCommandBars()->SetDragControl(pNew);
        }
        else
            dwEffect = qvtDropEffectNone;  // its class could not be made
        RequestLayout();
    }
    m_rcInsertMark.SetRectEmpty();
    Redraw();
    return dwEffect;
}

void CQVTRibbonBar::OnCustomizeDrop(CQVTControl* pDataObject, DWORD& dropEffect, CPoint ptDrop, CPoint ptDrag)
{
    if (!GetCommandBars() || !pDataObject)
        return;
    CQVTCommandBarRef keepAlive(this);
    dropEffect = InsertControlAt(pDataObject, ptDrag, ptDrop, dropEffect);
    if (dropEffect == qvtDropEffectNone)
        dropEffect = qvtDropEffectCancelled;
    m_rcInsertMark.SetRectEmpty();
    Redraw(nullptr, FALSE);
}
