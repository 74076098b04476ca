#include "toolkit/ribbon/popups/QVTRibbonPopupToolBars.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

IMPLEMENT_SERIAL(CQVTRibbonGroupPopupToolBar, CQVTPopupToolBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonTabPopupToolBar, CQVTPopupToolBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

BEGIN_MESSAGE_MAP(CQVTRibbonGroupPopupToolBar, CQVTPopupToolBar)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CQVTRibbonTabPopupToolBar, CQVTPopupToolBar)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace QVTRibbonPopupDetail {

// Whether hovering may highlight a group of the popup now.
BOOL CanHighlightGroups(const CQVTCommandBar* pBar, const CQVTRibbonBar* pRibbonBar)
{
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    CQVTRibbonPaintManager* pRibbonPaintManager = pRibbonBar ? pRibbonBar->GetRibbonPaintManager() : nullptr;
    return pRibbonPaintManager && pRibbonPaintManager->IsGroupHighlightEnabled() &&
           !pMouseManager->IsMouseLocked() && pBar->GetPopupedIndex() == -1 &&
           CQVTDrawHelpers::IsApplicationActive(pBar->GetSafeHwnd());
}

}  // namespace QVTRibbonPopupDetail

using namespace QVTRibbonPopupDetail;

// The group popup.

CQVTRibbonGroupPopupToolBar::CQVTRibbonGroupPopupToolBar()
    : m_pRibbonBar(nullptr), m_pSourceGroup(nullptr), m_pGroup(nullptr)
{
    SetFlags(qvtBarFlagAdaptiveLayout);
    InitScrollableBar(this);
}

CQVTRibbonGroupPopupToolBar::~CQVTRibbonGroupPopupToolBar()
{
    ReleaseGroup();
}

void CQVTRibbonGroupPopupToolBar::ReleaseGroup()
{
    m_pHighlightedGroup = nullptr;
    if (!m_pGroup)
        return;
    CQVTRibbonGroup* pGroup = m_pGroup;
    m_pGroup = nullptr;
    pGroup->OnRemoved();
    pGroup->InternalRelease();
}

void CQVTRibbonGroupPopupToolBar::OnRemoved()
{
    ReleaseGroup();
    CQVTPopupToolBar::OnRemoved();
    m_pScrollLeft = nullptr;
    m_pScrollRight = nullptr;
}

BOOL CQVTRibbonGroupPopupToolBar::SetGroup(CQVTRibbonGroup* pSourceGroup)
{
    ReleaseGroup();
    if (!pSourceGroup)
        return FALSE;
    CObject* pObject = pSourceGroup->GetRuntimeClass()->CreateObject();
    CQVTRibbonGroup* pGroup = DYNAMIC_DOWNCAST(CQVTRibbonGroup, pObject);
    if (!pGroup)
    {
        delete pObject;
        return FALSE;
    }
    m_pSourceGroup = pSourceGroup;
    m_pRibbonBar = pSourceGroup->GetRibbonBar();
    if (m_pRibbonBar)
    {
        SetCommandBars(m_pRibbonBar->GetCommandBars());
        EnableAnimation(m_pRibbonBar->IsAnimationEnabled());
    }
    pGroup->Attach(nullptr, m_pRibbonBar, this);
    pGroup->OnAdded();
    pGroup->Copy(pSourceGroup);
    // The copy stands alone: it is no group of the tab's row.
    pGroup->Attach(nullptr, m_pRibbonBar, this);
    m_pGroup = pGroup;
    const int nCaption = m_pRibbonBar && m_pRibbonBar->GetRibbonPaintManager()
                             ? m_pRibbonBar->GetRibbonPaintManager()->GetGroupCaptionHeight()
                             : 0;
    SetBorders(CRect(2, 2, 3, QVTDpiScaler()->UnscaleY(nCaption) + 1));
    return TRUE;
}

CQVTRibbonGroupPopupToolBar* CQVTRibbonGroupPopupToolBar::CreateCopy()
{
    CQVTRibbonGroupPopupToolBar* pCopy =
        static_cast<CQVTRibbonGroupPopupToolBar*>(GetRuntimeClass()->CreateObject());
    if (pCopy && m_pSourceGroup)
        pCopy->SetGroup(m_pSourceGroup);
    return pCopy;
}

CSize CQVTRibbonGroupPopupToolBar::GetIconSize() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetIconSize() : CQVTPopupToolBar::GetIconSize();
}

CSize CQVTRibbonGroupPopupToolBar::GetButtonSize() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetButtonSize() : CQVTPopupToolBar::GetButtonSize();
}

BOOL CQVTRibbonGroupPopupToolBar::IsKeyboardCuesVisible() const
{
    return m_pRibbonBar ? m_pRibbonBar->IsKeyboardCuesVisible() : CQVTPopupToolBar::IsKeyboardCuesVisible();
}

CSize CQVTRibbonGroupPopupToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (!m_pGroup || !m_pRibbonBar)
        return CQVTPopupToolBar::CalcDynamicLayout(nLength, dwMode);
    m_bInLayout = TRUE;
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    CQVTFontDC font(&dc, GetPaintManager()->GetCommandBarFont(this));
    const int nHeight = m_pRibbonBar->GetGroupsHeight();
    m_pGroup->OnBeforeCalcSize(&dc);
    const int nWidth = m_pGroup->CalcWidth(&dc);
    m_pGroup->Reposition(nWidth, CPoint(0, 0));
    m_pGroup->OnAfterCalcSize();
    m_bInLayout = FALSE;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    return CSize(pDpi->ScaleX(m_rcBorders.left) + pDpi->ScaleX(m_rcBorders.right) + nWidth,
                 nHeight - pDpi->ScaleY(7));
}

void CQVTRibbonGroupPopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CQVTRibbonPaintManager* pRibbonPaintManager =
        m_pRibbonBar ? m_pRibbonBar->GetRibbonPaintManager() : nullptr;
    if (!m_pGroup || !pRibbonPaintManager)
    {
        CQVTPopupToolBar::DrawCommandBar(pDC, rcClipBox);
        return;
    }
    pDC->SetBkMode(TRANSPARENT);
    pRibbonPaintManager->FillGroupPopupToolBar(pDC, m_pGroup);
}

CRect CQVTRibbonGroupPopupToolBar::GetGroupsArea() const
{
    CRect rc(0, 0, 0, 0);
    if (GetSafeHwnd())
        GetClientRect(&rc);
    return rc;
}

CQVTRibbonGroup* CQVTRibbonGroupPopupToolBar::HitTestGroup(CPoint point) const
{
    return m_pGroup && m_pGroup->GetRect().PtInRect(point) ? m_pGroup : nullptr;
}

BOOL CQVTRibbonGroupPopupToolBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    HighlightGroup(nullptr);
    return CQVTPopupToolBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
}

void CQVTRibbonGroupPopupToolBar::CreateKeyboardTips()
{
    if (m_pRibbonBar && m_pGroup)
        m_pRibbonBar->CreateGroupKeyboardTips(this, m_pGroup, TRUE);
}

BOOL CQVTRibbonGroupPopupToolBar::ProcessNavigationKey(int nCode)
{
    if (nCode != navigateEscape)
        HideKeyboardTips();
    if (NavigateGroups(nCode))
        return TRUE;
    return CQVTPopupToolBar::ProcessNavigationKey(nCode);
}

void CQVTRibbonGroupPopupToolBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (CanHighlightGroups(this, m_pRibbonBar))
    {
        HighlightGroup(m_pGroup);
        CQVTMouseManager::GetThreadManager()->TrackMouseLeave(m_hWnd);
    }
    else
        HighlightGroup(nullptr);
    CQVTPopupToolBar::OnMouseMove(nFlags, point);
}

void CQVTRibbonGroupPopupToolBar::OnMouseLeave()
{
    HighlightGroup(nullptr);
    CQVTPopupToolBar::OnMouseLeave();
}

// The tab popup.

CQVTRibbonTabPopupToolBar::CQVTRibbonTabPopupToolBar()
    : m_pRibbonBar(nullptr), m_pTab(nullptr), m_rcGroups(0, 0, 0, 0), m_rcPopup(0, 0, 0, 0)
{
    SetFlags(qvtBarFlagAdaptiveLayout);
    InitScrollableBar(this);
}

CQVTRibbonTabPopupToolBar::~CQVTRibbonTabPopupToolBar()
{
    ReleaseTab();
}

void CQVTRibbonTabPopupToolBar::ReleaseTab()
{
    m_pHighlightedGroup = nullptr;
    if (!m_pTab)
        return;
    CQVTRibbonTab* pTab = m_pTab;
    m_pTab = nullptr;
    pTab->GetGroups()->RemoveAll();
    pTab->InternalRelease();
}

void CQVTRibbonTabPopupToolBar::OnRemoved()
{
    ReleaseTab();
    CQVTPopupToolBar::OnRemoved();
    m_pScrollLeft = nullptr;
    m_pScrollRight = nullptr;
}

BOOL CQVTRibbonTabPopupToolBar::SetTab(CQVTRibbonTab* pSourceTab)
{
    ReleaseTab();
    if (!pSourceTab)
        return FALSE;
    CObject* pObject = pSourceTab->GetRuntimeClass()->CreateObject();
    CQVTRibbonTab* pTab = DYNAMIC_DOWNCAST(CQVTRibbonTab, pObject);
    if (!pTab)
    {
        delete pObject;
        return FALSE;
    }
    m_pRibbonBar = pSourceTab->GetRibbonBar();
    if (m_pRibbonBar)
    {
        SetCommandBars(m_pRibbonBar->GetCommandBars());
        EnableAnimation(m_pRibbonBar->IsAnimationEnabled());
    }
    pTab->SetRibbonBar(m_pRibbonBar, this);
    // The ribbon lays itself out while groups join: the copy joins first,
    // under the ribbon's layout lock.
    if (m_pRibbonBar)
        m_pRibbonBar->LockLayout();
    pTab->Copy(pSourceTab);
    if (m_pRibbonBar)
        m_pRibbonBar->UnlockLayout();
    pTab->SetRect(pSourceTab->GetRect());
    m_pTab = pTab;
    // Every group of the copy shows: its controls lose the ribbon's
    // other-tab mark.
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetHideFlags() & QVT_RIBBON_HIDE_GROUP)
            pControl->SetHideFlags(pControl->GetHideFlags() & ~QVT_RIBBON_HIDE_GROUP);
    }
    return TRUE;
}

CSize CQVTRibbonTabPopupToolBar::GetIconSize() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetIconSize() : CQVTPopupToolBar::GetIconSize();
}

CSize CQVTRibbonTabPopupToolBar::GetButtonSize() const
{
    return m_pRibbonBar ? m_pRibbonBar->GetButtonSize() : CQVTPopupToolBar::GetButtonSize();
}

BOOL CQVTRibbonTabPopupToolBar::IsKeyboardCuesVisible() const
{
    return m_pRibbonBar ? m_pRibbonBar->IsKeyboardCuesVisible() : CQVTPopupToolBar::IsKeyboardCuesVisible();
}

CQVTRibbonGroups* CQVTRibbonTabPopupToolBar::GetScrolledGroups() const
{
    return m_pTab ? m_pTab->GetGroups() : nullptr;
}

CSize CQVTRibbonTabPopupToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (!m_pTab || !m_pRibbonBar || !m_pRibbonBar->GetSafeHwnd())
        return CQVTPopupToolBar::CalcDynamicLayout(nLength, dwMode);
    m_bInLayout = TRUE;
    CRect rcRibbon;
    m_pRibbonBar->GetWindowRect(&rcRibbon);
    CRect rcWork;
    CRect rcScreen;
    GetMonitorAreas(rcRibbon, rcRibbon.TopLeft(), rcWork, rcScreen);
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    int nLeft = std::max(rcRibbon.left, rcWork.left);
    int nWidth = rcRibbon.right - nLeft;
    if (nLeft + nWidth > rcWork.right)
        nWidth = rcWork.right - nLeft - pDpi->ScaleX(4);
    const int nHeight = m_pRibbonBar->GetGroupsHeight();
    int nTop = m_rcExclude.bottom;
    if (nTop + nHeight > rcWork.bottom)
        nTop = m_rcExclude.top - nHeight;
    m_rcPopup.SetRect(nLeft, nTop, nLeft + nWidth, nTop + nHeight);
    m_rcGroups.SetRect(0, 0, nWidth, nHeight);

    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    CQVTFontDC font(&dc, GetPaintManager()->GetCommandBarFont(this));
    const CRect rcMargins(m_rcGroups.left + pDpi->ScaleX(4), m_rcGroups.top + pDpi->ScaleY(3),
                          pDpi->ScaleX(6), pDpi->ScaleY(3));
    m_pTab->GetGroups()->CalcLayout(&dc, nWidth, LM_COMMIT, rcMargins);
    m_bInLayout = FALSE;
    return CSize(nWidth, nHeight);
}

CRect CQVTRibbonTabPopupToolBar::CalcPopupRect(CPoint pt, CSize sz)
{
    if (m_pTab && !m_rcPopup.IsRectEmpty())
        return m_rcPopup;
    return CQVTPopupToolBar::CalcPopupRect(pt, sz);
}

void CQVTRibbonTabPopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CQVTRibbonPaintManager* pRibbonPaintManager =
        m_pRibbonBar ? m_pRibbonBar->GetRibbonPaintManager() : nullptr;
    if (!m_pTab || !pRibbonPaintManager)
    {
        CQVTPopupToolBar::DrawCommandBar(pDC, rcClipBox);
        return;
    }
    pRibbonPaintManager->FillTabPopupToolBar(pDC, this);
    pRibbonPaintManager->FillGroupsArea(pDC, m_pTab, m_rcGroups);
    pDC->SetBkMode(TRANSPARENT);
    CQVTRibbonGroups* pGroups = m_pTab->GetGroups();
    CRect rcIntersect;
    for (int i = 0; i < pGroups->GetCount(); ++i)
    {
        CQVTRibbonGroup* pGroup = pGroups->GetAt(i);
        if (pGroup->IsVisible() && rcIntersect.IntersectRect(rcClipBox, pGroup->GetRect()))
            pGroup->Draw(pDC, rcClipBox);
    }
    for (CQVTControl* pScroll :
         {static_cast<CQVTControl*>(m_pScrollLeft), static_cast<CQVTControl*>(m_pScrollRight)})
        if (pScroll && pScroll->IsVisible())
            pScroll->Draw(pDC);
}

CQVTRibbonGroup* CQVTRibbonTabPopupToolBar::HitTestGroup(CPoint point) const
{
    if (!m_pTab || !m_rcGroups.PtInRect(point))
        return nullptr;
    return m_pTab->GetGroups()->HitTest(point);
}

void CQVTRibbonTabPopupToolBar::OnGroupsScroll(BOOL bScrollLeft)
{
    if (!m_pTab)
        return;
    SetPopuped(-1);
    HideKeyboardTips();
    CQVTRibbonScrollableBar::OnGroupsScroll(bScrollLeft);
}

BOOL CQVTRibbonTabPopupToolBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    HighlightGroup(nullptr);
    return CQVTPopupToolBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
}

void CQVTRibbonTabPopupToolBar::CreateKeyboardTips()
{
    if (m_pRibbonBar && m_pTab)
        m_pRibbonBar->CreateTabKeyboardTips(this, m_pTab);
}

BOOL CQVTRibbonTabPopupToolBar::ProcessNavigationKey(int nCode)
{
    if (nCode == navigateEscape && m_pRibbonBar && !m_pRibbonBar->GetSystemButton())
    {
        CQVTCommandBars::ClosePopups(GetCommandBars());
        return TRUE;
    }
    if (nCode != navigateEscape)
        HideKeyboardTips();
    if (NavigateGroups(nCode))
        return TRUE;
    return CQVTPopupToolBar::ProcessNavigationKey(nCode);
}

INT_PTR CQVTRibbonTabPopupToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    const INT_PTR nHit = CQVTPopupToolBar::OnToolHitTest(point, pTI);
    if (nHit != -1 && pTI)
    {
        CQVTControl* pControl = GetControls()->HitTest(point);
        if (pControl && pControl->GetRibbonGroup())
            pTI->rect = m_rcGroups;
    }
    return nHit;
}

void CQVTRibbonTabPopupToolBar::OnMouseMove(UINT nFlags, CPoint point)
{
    CQVTRibbonGroup* pGroup = CanHighlightGroups(this, m_pRibbonBar) ? HitTestGroup(point) : nullptr;
    HighlightGroup(pGroup);
    if (pGroup)
        CQVTMouseManager::GetThreadManager()->TrackMouseLeave(m_hWnd);
    CQVTPopupToolBar::OnMouseMove(nFlags, point);
}

void CQVTRibbonTabPopupToolBar::OnMouseLeave()
{
    HighlightGroup(nullptr);
    CQVTPopupToolBar::OnMouseLeave();
}
