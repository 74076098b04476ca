#include "toolkit/ribbon/groups/QVTRibbonGroup.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"

IMPLEMENT_SERIAL(CQVTRibbonGroup, CQVTCmdTarget, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonGroupOption, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonGroupControlPopup, CQVTControlPopup, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace QVTRibbonGroupDetail {

void SetGroupHideFlag(CQVTControl* pControl, DWORD dwFlag, BOOL bSet)
{
    const DWORD dwOld = pControl->GetHideFlags();
    const DWORD dwNew = bSet ? (dwOld | dwFlag) : (dwOld & ~dwFlag);
    if (dwNew != dwOld)
        pControl->SetHideFlags(dwNew);
}

#pragma pack(push, 1)
struct ToolBarResourceHeader
{
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
};
#pragma pack(pop)

}  // namespace QVTRibbonGroupDetail

using QVTRibbonGroupDetail::SetGroupHideFlag;

// The group's own controls.

CQVTRibbonGroupOption::CQVTRibbonGroupOption() : m_pGroup(nullptr)
{
    m_bTemporary = FALSE;
    // Part of its group: customizing moves the group, not this button.
    m_dwFlags |= qvtFlagNoMovable;
}

CSize CQVTRibbonGroupOption::GetSize(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = m_pGroup ? m_pGroup->GetRibbonPaintManager() : nullptr;
    return pRibbonPaintManager ? pRibbonPaintManager->DrawControlGroupOption(pDC, this, FALSE) : CSize(0, 0);
}

CSize CQVTRibbonGroupOption::Draw(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = m_pGroup ? m_pGroup->GetRibbonPaintManager() : nullptr;
    return pRibbonPaintManager ? pRibbonPaintManager->DrawControlGroupOption(pDC, this, TRUE) : CSize(0, 0);
}

CQVTRibbonGroupControlPopup::CQVTRibbonGroupControlPopup() : m_pGroup(nullptr)
{
    m_buttonRibbonStyle = qvtButtonIconAndCaptionBelow;
    // Stands for its collapsed group: customizing moves the group.
    m_dwFlags |= qvtFlagNoMovable;
}

CSize CQVTRibbonGroupControlPopup::GetSize(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = m_pGroup ? m_pGroup->GetRibbonPaintManager() : nullptr;
    return pRibbonPaintManager ? pRibbonPaintManager->DrawControlGroupPopup(pDC, this, FALSE) : CSize(0, 0);
}

CSize CQVTRibbonGroupControlPopup::Draw(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = m_pGroup ? m_pGroup->GetRibbonPaintManager() : nullptr;
    return pRibbonPaintManager ? pRibbonPaintManager->DrawControlGroupPopup(pDC, this, TRUE) : CSize(0, 0);
}

BOOL CQVTRibbonGroupControlPopup::OnSetPopup(BOOL bPopup)
{
    if (bPopup)
    {
        // Each opening shows a fresh copy of the group as it is now.
        SetCommandBar(nullptr);
        CQVTRibbonGroupPopupToolBar* pPopup = nullptr;
        if (m_pGroup)
        {
            pPopup = new CQVTRibbonGroupPopupToolBar();
            pPopup->SetCommandBars(GetCommandBars());
            if (!pPopup->SetGroup(m_pGroup))
            {
                pPopup->InternalRelease();
                pPopup = nullptr;
            }
        }
        if (!pPopup)
        {
            m_bPopuped = FALSE;
            return FALSE;
        }
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
        return CQVTControlPopup::OnSetPopup(bPopup);
    }
    // Closing: what customizing changed in the copy goes back to the group,
    // and the bar selects what it had selected before.
    CQVTRibbonGroupPopupToolBar* pPopup = DYNAMIC_DOWNCAST(CQVTRibbonGroupPopupToolBar, m_pCommandBar);
    CQVTObjectRef<CQVTCommandBar> keepPopup(pPopup);
    CQVTControlRef keepAlive(this);
    CQVTCommandBar* pParent = m_pParent;
    const int nSelected = pParent ? pParent->GetSelectedIndex() : -1;
    const BOOL bResult = CQVTControlPopup::OnSetPopup(FALSE);
    CQVTRibbonGroup* pCopy = pPopup ? pPopup->GetGroup() : nullptr;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCopy && m_pGroup && pCopy != m_pGroup && pCommandBars && pCommandBars->IsCustomizeMode())
    {
        m_pGroup->RemoveAll();
        for (int i = 0; i < pCopy->GetCount(); ++i)
        {
            CQVTControl* pClone = m_pGroup->AddClone(pCopy->GetAt(i), -1, TRUE);
            if (pClone)
                SetGroupHideFlag(pClone, QVT_RIBBON_HIDE_GROUP, FALSE);
        }
        if (pParent && pParent->GetSafeHwnd())
            pParent->SetSelected(nSelected);
    }
    return bResult;
}

void CQVTRibbonGroupControlPopup::OnUnderlineActivate()
{
    // The popup is made when it opens.
    if (m_pParent)
        m_pParent->SetPopuped(m_nIndex, TRUE);
}

BOOL CQVTRibbonGroupControlPopup::IsVisible(DWORD dwSkipFlags) const
{
    return m_pGroup && m_pGroup->IsVisible() && CQVTControlPopup::IsVisible(dwSkipFlags);
}

// The group.

CQVTRibbonGroup::CQVTRibbonGroup()
    : m_bControlsCentering(FALSE), m_bControlsGrouping(FALSE), m_nReserved(-1), m_pGroups(nullptr),
      m_pParent(nullptr), m_pRibbonBar(nullptr), m_nId(-1), m_nIconId(-1), m_pControlGroupOption(nullptr),
      m_pControlGroupPopup(nullptr), m_bCollapsed(FALSE), m_bShowOptionButton(FALSE), m_bVisible(TRUE),
      m_nReduceLimit(4), m_nGroupingRows(2), m_bEqualLabelWidth(TRUE), m_nIndex(-1)
{
    m_pControlGroupOption = new CQVTRibbonGroupOption();
    m_pControlGroupOption->m_pGroup = this;
    m_pControlGroupOption->SetRibbonGroup(this);
    m_pControlGroupOption->SetHideFlags(qvtHideGeneric);
    m_pControlGroupPopup = new CQVTRibbonGroupControlPopup();
    m_pControlGroupPopup->m_pGroup = this;
    m_pControlGroupPopup->SetRibbonGroup(this);
    m_pControlGroupPopup->SetHideFlags(qvtHideWrap);
}

CQVTRibbonGroup::~CQVTRibbonGroup()
{
    for (CQVTControl* pControl : m_arrControls)
    {
        pControl->SetRibbonGroup(nullptr);
        pControl->InternalRelease();
    }
    m_arrControls.clear();
    m_pControlGroupOption->m_pGroup = nullptr;
    m_pControlGroupOption->SetRibbonGroup(nullptr);
    m_pControlGroupOption->InternalRelease();
    m_pControlGroupPopup->m_pGroup = nullptr;
    m_pControlGroupPopup->SetRibbonGroup(nullptr);
    m_pControlGroupPopup->InternalRelease();
}

CQVTRibbonTab* CQVTRibbonGroup::GetParentTab() const
{
    return m_pGroups ? m_pGroups->GetParentTab() : nullptr;
}

CQVTRibbonPaintManager* CQVTRibbonGroup::GetRibbonPaintManager() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetRibbonPaintManager() : nullptr;
}

CQVTControls* CQVTRibbonGroup::GetBarControls() const
{
    return m_pParent ? m_pParent->GetControls() : nullptr;
}

void CQVTRibbonGroup::Attach(CQVTRibbonGroups* pGroups, CQVTRibbonBar* pRibbonBar, CQVTCommandBar* pParent)
{
    m_pGroups = pGroups;
    m_pRibbonBar = pRibbonBar;
    m_pParent = pParent;
}

int CQVTRibbonGroup::GetBarIndexOfControl(int nIndex) const
{
    return m_pControlGroupOption->GetIndex() - GetCount() + nIndex;
}

void CQVTRibbonGroup::InsertIntoBar(CQVTControl* pControl, int nIndex)
{
    CQVTControls* pControls = GetBarControls();
    if (!pControls)
        return;
    pControls->InsertControl(pControl, GetBarIndexOfControl(nIndex));
}

CQVTControl* CQVTRibbonGroup::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        AfxThrowInvalidArgException();
    return m_arrControls[static_cast<size_t>(nIndex)];
}

int CQVTRibbonGroup::IndexOf(const CQVTControl* pControl) const
{
    if (!pControl || pControl->GetRibbonGroup() != this)
        return -1;
    auto it = std::find(m_arrControls.begin(), m_arrControls.end(), pControl);
    return it == m_arrControls.end() ? -1 : static_cast<int>(it - m_arrControls.begin());
}

CQVTControl* CQVTRibbonGroup::AddControl(CQVTControl* pControl, int nId, LPCTSTR lpszParameter, int nBefore,
                                         BOOL bTemporary)
{
    if (!pControl)
        return nullptr;
    if (nBefore < 0 || nBefore > GetCount())
        nBefore = GetCount();
    if (nId > 0 || pControl->GetID() == 0)
        pControl->SetID(nId);
    if (lpszParameter)
        pControl->SetParameter(lpszParameter);
    pControl->SetTemporary(bTemporary);
    // The bar's list takes the caller's reference; the group one more.
    InsertIntoBar(pControl, nBefore);
    m_arrControls.insert(m_arrControls.begin() + nBefore, pControl);
    pControl->InternalAddRef();
    pControl->SetRibbonGroup(this);
    SetGroupHideFlag(pControl, QVT_RIBBON_HIDE_GROUP, !m_bVisible);
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
    return pControl;
}

CQVTControl* CQVTRibbonGroup::Add(int nType, int nId, LPCTSTR lpszCaption, int nBefore, BOOL bTemporary)
{
    CQVTControls* pControls = GetBarControls();
    if (!pControls)
        return nullptr;
    // Made by the bar's collection (the site may supply the control), then
    // moved to the group's place in the list.
    CQVTControl* pControl = pControls->AddByType(nType, nId, nullptr, -1, bTemporary);
    if (!pControl)
        return nullptr;
    pControl->InternalAddRef();
    pControls->Remove(pControl);
    if (lpszCaption)
        pControl->SetCaption(lpszCaption);
    return AddControl(pControl, nId, nullptr, nBefore, bTemporary);
}

CQVTControl* CQVTRibbonGroup::AddClone(CQVTControl* pControl, int nBefore, BOOL bRecursive)
{
    if (!pControl)
        return nullptr;
    CQVTControl* pClone = static_cast<CQVTControl*>(pControl->GetRuntimeClass()->CreateObject());
    if (!pClone)
        return nullptr;
    pClone->Copy(pControl, bRecursive);
    return AddControl(pClone, pControl->GetID(), nullptr, nBefore, pControl->IsTemporary());
}

void CQVTRibbonGroup::RemoveAt(int nIndex)
{
    CQVTControl* pControl = GetAt(nIndex);
    CQVTControlRef keep(pControl);
    pControl->SetRibbonGroup(nullptr);
    m_arrControls.erase(m_arrControls.begin() + nIndex);
    CQVTControls* pControls = pControl->GetControls();
    if (pControls)
        pControls->Remove(pControl);
    pControl->InternalRelease();
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

void CQVTRibbonGroup::Remove(CQVTControl* pControl)
{
    const int nIndex = IndexOf(pControl);
    if (nIndex >= 0)
        RemoveAt(nIndex);
}

void CQVTRibbonGroup::RemoveAll()
{
    for (int i = GetCount() - 1; i >= 0; --i)
        RemoveAt(i);
}

void CQVTRibbonGroup::SetCaption(LPCTSTR lpszCaption)
{
    const CString strCaption(lpszCaption ? lpszCaption : _T(""));
    if (m_strCaption == strCaption)
        return;
    m_strCaption = strCaption;
    m_pControlGroupPopup->SetCaption(strCaption);
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

void CQVTRibbonGroup::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    if (m_pRibbonBar)
    {
        m_pRibbonBar->RefreshGroupControls(m_pRibbonBar->GetCurrentTab());
        m_pRibbonBar->RequestLayout();
    }
}

void CQVTRibbonGroup::ShowOptionButton(BOOL bShow)
{
    if (m_bShowOptionButton == bShow)
        return;
    m_bShowOptionButton = bShow;
    SetGroupHideFlag(m_pControlGroupOption, qvtHideGeneric, !bShow);
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

void CQVTRibbonGroup::SetControlsGrouping(BOOL bGrouping)
{
    if (m_bControlsGrouping == bGrouping)
        return;
    m_bControlsGrouping = bGrouping;
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

void CQVTRibbonGroup::SetControlsCentering(BOOL bCentering)
{
    if (m_bControlsCentering == bCentering)
        return;
    m_bControlsCentering = bCentering;
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

BOOL CQVTRibbonGroup::IsHighlighted() const
{
    // In a popup the popup's own copy of the group is the highlighted one.
    CQVTRibbonScrollableBar* pScrollable = CQVTRibbonScrollableBar::GetScrollableBar(m_pParent);
    return pScrollable && pScrollable->GetHighlightedGroup() == this;
}

CRect CQVTRibbonGroup::GetCaptionRect() const
{
    CRect rc(m_rcGroup);
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    rc.top = rc.bottom - (pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0);
    return rc;
}

void CQVTRibbonGroup::OnAdded()
{
    // The option button and the popup join the bar's list; the group's
    // controls then go before the option button.
    CQVTControls* pControls = GetBarControls();
    if (!pControls)
        return;
    if (m_pControlGroupPopup->GetControls() != pControls)
    {
        m_pControlGroupPopup->InternalAddRef();
        pControls->InsertControl(m_pControlGroupPopup, -1);
    }
    if (m_pControlGroupOption->GetControls() != pControls)
    {
        m_pControlGroupOption->InternalAddRef();
        pControls->InsertControl(m_pControlGroupOption, -1);
    }
    m_pControlGroupOption->SetID(m_nId);
    m_pControlGroupPopup->SetID(m_nId);
    m_pControlGroupPopup->SetCaption(m_strCaption);
}

void CQVTRibbonGroup::OnRemoved()
{
    RemoveAll();
    for (CQVTControl* pOwn :
         {static_cast<CQVTControl*>(m_pControlGroupOption), static_cast<CQVTControl*>(m_pControlGroupPopup)})
    {
        CQVTControls* pControls = pOwn->GetControls();
        if (pControls && pControls->GetCount() > pOwn->GetIndex() && pOwn->GetIndex() >= 0 &&
            pControls->GetAt(pOwn->GetIndex()) == pOwn)
            pControls->Remove(pOwn);
    }
}

// Toolbar resources.

BOOL CQVTRibbonGroup::LoadToolBar(UINT nIDResource, BOOL bLoadIcons)
{
    using QVTRibbonGroupDetail::ToolBarResourceHeader;
    HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_TOOLBAR);
    HRSRC hResource =
        hInstance ? ::FindResource(hInstance, MAKEINTRESOURCE(nIDResource), RT_TOOLBAR) : nullptr;
    if (!hResource)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInstance, hResource);
    const DWORD nSize = ::SizeofResource(hInstance, hResource);
    const ToolBarResourceHeader* pHeader =
        hGlobal ? static_cast<const ToolBarResourceHeader*>(::LockResource(hGlobal)) : nullptr;
    if (!pHeader || nSize < sizeof(ToolBarResourceHeader) || pHeader->wVersion != 1)
        return FALSE;
    // The count is trusted only as far as the resource holds ids.
    const DWORD nAvailable = (nSize - sizeof(ToolBarResourceHeader)) / sizeof(WORD);
    if (pHeader->wItemCount > nAvailable)
        return FALSE;
    const WORD* pItems = reinterpret_cast<const WORD*>(pHeader + 1);
    BOOL bBeginGroup = FALSE;
    for (WORD i = 0; i < pHeader->wItemCount; ++i)
    {
        const UINT nId = pItems[i];
        if (nId == 0)
        {
            bBeginGroup = TRUE;
            continue;
        }
        LoadToolBarControl(nId, bBeginGroup);
        bBeginGroup = FALSE;
    }
    if (!bLoadIcons)
        return TRUE;
    CQVTImageManager* pImageManager = m_pParent ? m_pParent->GetImageManager() : nullptr;
    if (!pImageManager)
        return FALSE;
    std::vector<UINT> arrAll(pItems, pItems + pHeader->wItemCount);
    return pImageManager->SetIcons(nIDResource, arrAll.data(), static_cast<int>(arrAll.size()),
                                   CSize(pHeader->wWidth, pHeader->wHeight));
}

// The site may hand over a control of its own, or ask for another type,
// for each button of the resource, as for a toolbar's buttons.
CQVTControl* CQVTRibbonGroup::LoadToolBarControl(UINT nId, BOOL bBeginGroup)
{
    CQVTCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : (m_pParent ? m_pParent->GetSite() : nullptr);
    QVTCREATECONTROLSTRUCT cs = {};
    cs.nID = nId;
    cs.bToolBar = TRUE;
    cs.nIndex = GetCount();
    cs.pCommandBar = m_pParent;
    cs.strCaption = m_pParent ? m_pParent->GetTitle() : CString();
    cs.controlType = qvtControlButton;
    cs.buttonStyle = qvtButtonAutomatic;
    cs.bBeginGroup = bBeginGroup;
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
    CQVTControl* pControl = cs.pControl ? AddControl(cs.pControl, static_cast<int>(nId))
                                        : Add(cs.controlType, static_cast<int>(nId));
    if (!pControl)
        return nullptr;
    if (pControl->GetType() == qvtControlPopup && pControl->GetIconId() != static_cast<int>(nId))
    {
        pControl->SetIconId(static_cast<int>(nId));
        pControl->RedrawParent(FALSE);
    }
    pControl->SetBeginGroup(cs.bBeginGroup && GetCount() > 1);
    cs.pControl = pControl;
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
    return pControl;
}

// Geometry and drawing.

void CQVTRibbonGroup::SetRect(CRect rc)
{
    m_rcGroup = rc;
    if (m_bCollapsed)
    {
        SetGroupHideFlag(m_pControlGroupPopup, qvtHideWrap, FALSE);
        m_pControlGroupPopup->SetRect(rc);
        m_pControlGroupPopup->SetWrap(TRUE);
    }
    else
        SetGroupHideFlag(m_pControlGroupPopup, qvtHideWrap, TRUE);

    if (!m_bShowOptionButton)
    {
        SetGroupHideFlag(m_pControlGroupOption, qvtHideGeneric, TRUE);
        return;
    }
    SetGroupHideFlag(m_pControlGroupOption, qvtHideGeneric, FALSE);
    SetGroupHideFlag(m_pControlGroupOption, qvtHideWrap, m_bCollapsed);
    if (m_bCollapsed)
        return;
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    if (!pRibbonPaintManager)
        return;
    CClientDC dc(CWnd::GetDesktopWindow());
    const CSize sz = pRibbonPaintManager->DrawControlGroupOption(&dc, m_pControlGroupOption, FALSE);
    const int h = pRibbonPaintManager->GetGroupCaptionHeight();
    const int nRight = rc.right - QVTDpiScaler()->ScaleX(2);
    const int nBottom = rc.bottom - QVTDpiScaler()->ScaleY(2);
    const CPoint pt(h / 2 - sz.cx / 2 - h + nRight, h / 2 - sz.cy / 2 - h + nBottom);
    m_pControlGroupOption->SetRect(CRect(pt, sz));
}

void CQVTRibbonGroup::Draw(CDC* pDC, CRect rcClipBox)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    if (!pRibbonPaintManager)
        return;
    pRibbonPaintManager->DrawGroup(pDC, this);
    CQVTPaintManager* pPaintManager = m_pParent ? m_pParent->GetPaintManager() : nullptr;
    BOOL bFirst = TRUE;
    CRect rcIntersect;
    for (CQVTControl* pControl : m_arrControls)
    {
        if (!pControl->IsVisible())
            continue;
        if (pControl->GetBeginGroup() && !bFirst && pPaintManager &&
            (!m_bControlsGrouping || !pControl->GetWrap()))
            pPaintManager->DrawCommandBarSeparator(pDC, m_pParent, pControl, TRUE);
        bFirst = FALSE;
        if (rcIntersect.IntersectRect(rcClipBox, pControl->GetRect()))
            pControl->Draw(pDC);
    }
    if (m_pControlGroupPopup->IsVisible() &&
        rcIntersect.IntersectRect(rcClipBox, m_pControlGroupPopup->GetRect()))
        m_pControlGroupPopup->Draw(pDC);
    if (m_pControlGroupOption->IsVisible() &&
        rcIntersect.IntersectRect(rcClipBox, m_pControlGroupOption->GetRect()))
        m_pControlGroupOption->Draw(pDC);
}

void CQVTRibbonGroup::ArrangeInRow(CDC* pDC)
{
    CQVTRibbonPaintManager* pRibbonPaintManager = GetRibbonPaintManager();
    int x = m_rcGroup.left + QVTDpiScaler()->ScaleX(4);
    const int y = m_rcGroup.top + (pRibbonPaintManager ? pRibbonPaintManager->GetGroupCaptionHeight() : 0);
    for (CQVTControl* pControl : m_arrControls)
    {
        if (!pControl->IsVisible())
            continue;
        const CSize sz = pControl->GetSize(pDC);
        pControl->SetRect(CRect(CPoint(x, y), sz));
        x += sz.cx;
    }
}

// Copies and persistence.

void CQVTRibbonGroup::Copy(CQVTRibbonGroup* pGroup)
{
    if (!pGroup || pGroup == this)
        return;
    m_nId = pGroup->m_nId;
    m_nIconId = pGroup->m_nIconId;
    m_bShowOptionButton = pGroup->m_bShowOptionButton;
    m_strCaption = pGroup->m_strCaption;
    m_pGroups = pGroup->m_pGroups;
    m_bControlsGrouping = pGroup->m_bControlsGrouping;
    m_bControlsCentering = pGroup->m_bControlsCentering;
    m_bEqualLabelWidth = pGroup->m_bEqualLabelWidth;
    m_bVisible = pGroup->m_bVisible;
    m_nReduceLimit = pGroup->m_nReduceLimit;
    for (CQVTControl* pSource : pGroup->m_arrControls)
    {
        CQVTControl* pClone = AddClone(pSource, -1, TRUE);
        if (pClone)
            SetGroupHideFlag(pClone, QVT_RIBBON_HIDE_GROUP, FALSE);
    }
    m_pControlGroupOption->Copy(pGroup->m_pControlGroupOption, FALSE);
    m_pControlGroupPopup->Copy(pGroup->m_pControlGroupPopup, FALSE);
    SetGroupHideFlag(m_pControlGroupOption, QVT_RIBBON_HIDE_GROUP, FALSE);
    SetGroupHideFlag(m_pControlGroupPopup, QVT_RIBBON_HIDE_GROUP, FALSE);
}

void CQVTRibbonGroup::DoPropExchange(CQVTPropExchange* pPX)
{
    PropExchangeInt(pPX, _T("Id"), m_nId, 0);
    PropExchangeInt(pPX, _T("IconId"), m_nIconId, 0);
    PropExchangeBool(pPX, _T("ShowOptionButton"), m_bShowOptionButton, FALSE);
    PropExchangeString(pPX, _T("Caption"), m_strCaption, _T(""));
    PropExchangeBool(pPX, _T("ControlsGrouping"), m_bControlsGrouping, FALSE);
    PropExchangeBool(pPX, _T("ControlsCentering"), m_bControlsCentering, FALSE);
    PropExchangeBool(pPX, _T("Visible"), m_bVisible, TRUE);
    if (pPX->IsLoading())
    {
        // The collection linked the group before it reads; its own buttons
        // join the bar first, so that the loaded controls go before them.
        OnAdded();
        RemoveAll();
    }
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("Controls")));
        ExchangeControls(&section);
    }
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("ControlGroupOption")));
        m_pControlGroupOption->DoPropExchange(&section);
    }
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("ControlGroupPopup")));
        m_pControlGroupPopup->DoPropExchange(&section);
    }
    if (pPX->IsLoading())
        UpdateOwnControls();
}

void CQVTRibbonGroup::ExchangeControls(CQVTPropExchange* pPX)
{
    CQVTPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(_T("Control")));
    if (pPX->IsStoring())
    {
        std::vector<CQVTControl*> saved;
        for (CQVTControl* pControl : m_arrControls)
            if (!pControl->IsTemporary())
                saved.push_back(pControl);
        POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(saved.size()));
        for (size_t i = 0; i < saved.size() && pos; ++i)
        {
            CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
            CObject* pObject = saved[i];
            if (!section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTControl)))
                AfxThrowArchiveException(CArchiveException::badClass);
            saved[i]->DoPropExchange(&section);
        }
        return;
    }
    // A control of a class that cannot be made ends the load; the controls
    // read before it stay.
    POSITION pos = pEnumerator->GetPosition();
    while (pos)
    {
        CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
        CObject* pObject = nullptr;
        if (!section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTControl)) || !pObject)
            AfxThrowArchiveException(CArchiveException::badClass);
        CQVTControl* pControl = DYNAMIC_DOWNCAST(CQVTControl, pObject);
        if (!pControl)
        {
            delete pObject;
            AfxThrowArchiveException(CArchiveException::badClass);
        }
        // The bar lets the control find its command bars' actions.
        pControl->SetParent(m_pParent);
        try
        {
            pControl->DoPropExchange(&section);
        }
        catch (CException*)
        {
            pControl->SetParent(nullptr);
            pControl->InternalRelease();
            throw;
        }
        pControl->SetParent(nullptr);
        AddControl(pControl, pControl->GetID(), nullptr, -1, FALSE);
    }
}

void CQVTRibbonGroup::UpdateOwnControls()
{
    // What the buttons stored of their ids, captions and hide flags gives
    // way to the group's own state.
    m_pControlGroupOption->SetID(m_nId);
    m_pControlGroupPopup->SetID(m_nId);
    m_pControlGroupPopup->SetCaption(m_strCaption);
    SetGroupHideFlag(m_pControlGroupOption, qvtHideGeneric, !m_bShowOptionButton);
    SetGroupHideFlag(m_pControlGroupPopup, qvtHideWrap, !m_bCollapsed);
}
