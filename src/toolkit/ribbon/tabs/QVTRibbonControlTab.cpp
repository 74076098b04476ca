#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

#include <afxext.h>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/accessibility/QVTAccessibleLocation.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

IMPLEMENT_SERIAL(CQVTRibbonControlTab, CQVTControlPopup, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace QVTRibbonControlTabDetail {

CString WithoutMnemonics(const CString& strText)
{
    CString str;
    for (int i = 0; i < strText.GetLength(); ++i)
    {
        if (strText[i] == _T('&'))
        {
            ++i;
            if (i >= strText.GetLength())
                break;
        }
        str += strText[i];
    }
    return str;
}

}  // namespace QVTRibbonControlTabDetail

CQVTRibbonControlTab::CQVTRibbonControlTab() : m_bFocused(FALSE)
{
    m_dwFlags = qvtFlagNoMovable;
    SetAllowReorder(FALSE);
}

CQVTRibbonControlTab::~CQVTRibbonControlTab()
{
    DeleteAllItems();
}

CQVTRibbonBar* CQVTRibbonControlTab::GetRibbonBar() const
{
    CQVTCommandBar* pBar = m_pParent;
    return pBar && pBar->IsRibbonBar() ? static_cast<CQVTRibbonBar*>(pBar) : nullptr;
}

CQVTRibbonTab* CQVTRibbonControlTab::GetSelectedTab() const
{
    return static_cast<CQVTRibbonTab*>(GetSelectedItem());
}

// The strip as a control.

CSize CQVTRibbonControlTab::GetSize(CDC*)
{
    return CQVTControl::m_rcControl.Size();
}

CSize CQVTRibbonControlTab::Draw(CDC*)
{
    // The bar draws the strip with the ribbon's tab paint manager.
    return CQVTControl::m_rcControl.Size();
}

void CQVTRibbonControlTab::AdjustExcludeRect(CRect& rc, BOOL)
{
    rc.bottom -= 1;
}

void CQVTRibbonControlTab::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControlPopup::Copy(pSource, bRecursive);
    CQVTRibbonControlTab* pSourceTab = DYNAMIC_DOWNCAST(CQVTRibbonControlTab, pSource);
    if (!pSourceTab || pSourceTab == this)
        return;
    DeleteAllItems();
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    for (int i = 0; i < pSourceTab->GetItemCount(); ++i)
    {
        CQVTRibbonTab* pSourceItem = static_cast<CQVTRibbonTab*>(pSourceTab->GetItem(i));
        CQVTRibbonTab* pTab = static_cast<CQVTRibbonTab*>(pSourceItem->GetRuntimeClass()->CreateObject());
        if (!pTab)
            continue;
        pTab->SetRibbonBar(pRibbonBar, m_pParent);
        AddItem(i, pTab);
        pTab->Copy(pSourceItem);
    }
}

void CQVTRibbonControlTab::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(_T("Tab")));
    if (pPX->IsLoading())
    {
        DeleteAllItems();
        POSITION pos = pEnumerator->GetPosition();
        while (pos)
        {
            CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
            CObject* pObject = nullptr;
            if (!section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTRibbonTab)) || !pObject)
                AfxThrowArchiveException(CArchiveException::badClass);
            CQVTRibbonTab* pTab = static_cast<CQVTRibbonTab*>(pObject);
            pTab->SetRibbonBar(GetRibbonBar(), m_pParent);
            AddItem(GetItemCount(), pTab);
            pTab->DoPropExchange(&section);
        }
        return;
    }
    POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(GetItemCount()));
    for (int i = 0; i < GetItemCount() && pos; ++i)
    {
        CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
        CObject* pObject = GetItem(i);
        section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTRibbonTab));
        static_cast<CQVTRibbonTab*>(GetItem(i))->DoPropExchange(&section);
    }
}

BOOL CQVTRibbonControlTab::OnSetPopup(BOOL bPopup)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (bPopup)
    {
        CQVTRibbonTab* pTab = GetSelectedTab();
        CQVTPopupBar* pPopup =
            pRibbonBar && pRibbonBar->IsRibbonMinimized() && pTab && m_pParent && m_pParent->GetSafeHwnd()
                ? pRibbonBar->CreateTabPopupToolBar(pTab)
                : nullptr;
        if (!pPopup)
        {
            m_bPopuped = FALSE;
            return FALSE;
        }
        SetCommandBar(pPopup);
        pPopup->InternalRelease();
        return CQVTControlPopup::OnSetPopup(TRUE);
    }
    m_bPopuped = FALSE;
    if (m_pCommandBar)
        m_pCommandBar->SetTrackingMode(FALSE, TRUE, FALSE);
    if (pRibbonBar)
        pRibbonBar->Redraw();
    return TRUE;
}

BOOL CQVTRibbonControlTab::OnSetSelected(int bSelected)
{
    if (bSelected == m_bSelected)
        return FALSE;
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    // The bar selects this control before telling it: only another
    // selection is cleared, or the strip would lose the keyboard at once.
    if ((bSelected == 2 || bSelected == 3) && pRibbonBar && !pRibbonBar->IsRibbonMinimized() &&
        pRibbonBar->GetControl(pRibbonBar->GetSelectedIndex()) != this)
        pRibbonBar->ClearSelection();
    m_bSelected = bSelected;
    if (pRibbonBar)
        pRibbonBar->OnControlSelected(bSelected, this);
    if (bSelected == 2 || bSelected == 3)
        SetFocused(TRUE);
    if (bSelected)
    {
        if (GetSelectedItem())
            RaiseFocusEvent(GetSelectedItem()->GetIndex());
    }
    else
    {
        SetFocused(FALSE);
        PerformMouseMove(pRibbonBar, CPoint(-1, -1));
    }
    return TRUE;
}

void CQVTRibbonControlTab::SetFocused(BOOL bFocused)
{
    m_bFocused = bFocused;
    if (bFocused && !GetSelectedItem())
    {
        CQVTTabManagerItem* pFirst = FindNextFocusable(-1, +1);
        if (pFirst)
            SetSelectedItem(pFirst);
    }
    RedrawParent(FALSE);
}

void CQVTRibbonControlTab::OnUnderlineActivate()
{
    SetFocused(TRUE);
}

BOOL CQVTRibbonControlTab::OnHookKeyDown(UINT nChar, LPARAM)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (!pRibbonBar)
        return FALSE;
    if (pRibbonBar->GetSafeHwnd())
        CQVTDrawHelpers::MirrorArrowKeyForRTL(pRibbonBar, nChar);
    switch (nChar)
    {
    case VK_LEFT:
    case VK_RIGHT:
    {
        pRibbonBar->HideKeyboardTips();
        CQVTTabManagerItem* pSelected = GetSelectedItem();
        const int nIndex = pSelected ? pSelected->GetIndex() : -1;
        if (FindNextFocusable(nIndex, nChar == VK_LEFT ? -1 : +1))
            PerformKeyDown(nullptr, nChar);
        return TRUE;
    }
    case VK_DOWN:
    {
        pRibbonBar->HideKeyboardTips();
        const int nNext = pRibbonBar->GetControls()->GetNextIndex(m_nIndex, +1, TRUE, TRUE, TRUE);
        if (nNext > m_nIndex)
            pRibbonBar->SetSelected(nNext, CQVTCommandBar::selectByKeyboardForward);
        return TRUE;
    }
    case VK_RETURN:
    case VK_SPACE:
        if (nChar == VK_SPACE && !pRibbonBar->IsRibbonMinimized())
            return FALSE;
        if (pRibbonBar->IsRibbonMinimized())
            pRibbonBar->SetPopuped(m_nIndex, TRUE);
        return TRUE;
    default:
        return FALSE;
    }
}

// The strip's tab logic.

void CQVTRibbonControlTab::Reposition()
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pRibbonBar && pRibbonBar->GetSafeHwnd())
        pRibbonBar->RequestLayout();
}

CQVTTabPaintManager* CQVTRibbonControlTab::GetPaintManager() const
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    return pRibbonBar ? pRibbonBar->GetTabPaintManager() : nullptr;
}

void CQVTRibbonControlTab::RedrawControl(LPCRECT lpRect, BOOL bAnimate)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pRibbonBar && pRibbonBar->GetSafeHwnd())
        pRibbonBar->Redraw(lpRect, bAnimate);
}

CString CQVTRibbonControlTab::GetItemTooltip(const CQVTTabManagerItem* pItem) const
{
    const CString strTooltip = pItem->GetTooltip();
    return strTooltip.IsEmpty() ? pItem->GetCaption() : strTooltip;
}

BOOL CQVTRibbonControlTab::DrawIcon(CDC* pDC, CPoint pt, CQVTTabManagerItem* pItem, BOOL bDraw,
                                    CSize& szIcon) const
{
    CQVTTabPaintManager* pPaintManager = GetPaintManager();
    if (!pItem)
        return pPaintManager ? pPaintManager->m_bShowIcons : FALSE;
    if (pItem->GetImageIndex() == -1 || !pPaintManager || !pPaintManager->m_bShowIcons)
        return FALSE;
    CQVTImageManager* pImageManager = m_pParent ? m_pParent->GetImageManager() : nullptr;
    CQVTImageManagerIcon* pImage =
        pImageManager ? pImageManager->GetImage(static_cast<UINT>(pItem->GetImageIndex()), szIcon.cx)
                      : nullptr;
    if (!pImage)
        return FALSE;
    if (bDraw && pDC)
        const_cast<CQVTTabManagerItem*>(pItem)->DrawImage(pDC, CRect(pt, szIcon), pImage);
    return TRUE;
}

void CQVTRibbonControlTab::SetSelectedItem(CQVTTabManagerItem* pItem)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (!pRibbonBar || !pRibbonBar->GetSafeHwnd())
    {
        CQVTTabManager::SetSelectedItem(pItem);
        return;
    }
    if (!m_bFocused && pItem && !pRibbonBar->IsRibbonMinimized())
        CQVTCommandBars::ClosePopups(pRibbonBar->GetCommandBars());
    if (pItem == GetSelectedItem())
        return;
    CQVTRibbonTab* pTab = static_cast<CQVTRibbonTab*>(pItem);
    if (pRibbonBar->OnTabChanging(pTab))
        return;
    CQVTControlRef keep(this);
    pRibbonBar->LockLayout();
    pRibbonBar->RefreshGroupControls(pTab);
    CQVTTabManager::SetSelectedItem(pItem);
    pRibbonBar->RequestLayout();
    pRibbonBar->UnlockLayout();
    pRibbonBar->OnTabChanged(pTab);
    NotifySite(QVT_CN_EXECUTE);
    if (pTab)
        RaiseFocusEvent(pTab->GetIndex());
}

void CQVTRibbonControlTab::OnItemClick(CQVTTabManagerItem* pItem)
{
    // While customizing, a clicked tab of a customizable ribbon becomes the
    // control the customize window acts on.
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pItem && pCommandBars && pCommandBars->IsCustomizeMode() && pRibbonBar &&
        pRibbonBar->IsCustomizable())
        pCommandBars->SetDragControl(this);
    CQVTTabManager::OnItemClick(pItem);
}

BOOL CQVTRibbonControlTab::IsMouseLocked() const
{
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    return pMouseManager && pMouseManager->GetTrackCount() > 0;
}

BOOL CQVTRibbonControlTab::IsFocused() const
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    return m_bFocused && pRibbonBar && pRibbonBar->IsTrackingMode();
}

void CQVTRibbonControlTab::RaiseFocusEvent(int nTabIndex)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pRibbonBar && pRibbonBar->GetSafeHwnd() && nTabIndex >= 0)
        AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, pRibbonBar->GetSafeHwnd(), GetID(), nTabIndex + 1);
}

// The accessible face.

CQVTRibbonTab* CQVTRibbonControlTab::TabOfChild(const VARIANT& varChild, BOOL* pbValid) const
{
    *pbValid = FALSE;
    if (varChild.vt != VT_I4)
        return nullptr;
    const LONG nChild = varChild.lVal;
    if (nChild == CHILDID_SELF)
    {
        *pbValid = TRUE;
        return nullptr;
    }
    if (nChild < 1 || nChild > GetItemCount())
        return nullptr;
    *pbValid = TRUE;
    return static_cast<CQVTRibbonTab*>(GetItem(nChild - 1));
}

HRESULT CQVTRibbonControlTab::GetAccessibleChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT CQVTRibbonControlTab::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = nullptr;
    BOOL bValid = FALSE;
    TabOfChild(varChild, &bValid);
    // Tabs are simple children: the strip answers for them.
    return bValid ? S_FALSE : E_INVALIDARG;
}

HRESULT CQVTRibbonControlTab::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_POINTER;
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    const CString strName =
        pTab ? QVTRibbonControlTabDetail::WithoutMnemonics(pTab->GetCaption()) : GetCaption();
    *pszName = strName.AllocSysString();
    return S_OK;
}

HRESULT CQVTRibbonControlTab::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_POINTER;
    ::VariantInit(pvarRole);
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = pTab ? ROLE_SYSTEM_PAGETAB : ROLE_SYSTEM_PAGETABLIST;
    return S_OK;
}

HRESULT CQVTRibbonControlTab::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_POINTER;
    ::VariantInit(pvarState);
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    LONG lState = 0;
    if (pTab)
    {
        lState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
        if (pTab->IsSelected())
            lState |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        if (!pTab->IsVisible())
            lState |= STATE_SYSTEM_INVISIBLE;
    }
    else
    {
        lState = STATE_SYSTEM_FOCUSABLE;
        if (!m_pParent || !m_pParent->IsVisible() || !IsVisible())
            lState |= STATE_SYSTEM_INVISIBLE;
    }
    pvarState->vt = VT_I4;
    pvarState->lVal = lState;
    return S_OK;
}

HRESULT CQVTRibbonControlTab::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (!pszDefaultAction)
        return E_POINTER;
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    if (!pTab)
    {
        *pszDefaultAction = nullptr;
        return S_FALSE;
    }
    *pszDefaultAction = ::SysAllocString(_T("Switch"));
    return S_OK;
}

HRESULT CQVTRibbonControlTab::GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT, LONG* pidTopic)
{
    if (pszHelpFile)
        *pszHelpFile = nullptr;
    if (pidTopic)
        *pidTopic = 0;
    return S_FALSE;
}

HRESULT CQVTRibbonControlTab::AccessibleSelect(LONG, VARIANT varChild)
{
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    if (pTab)
        SetCurSel(pTab->GetIndex());
    return S_OK;
}

HRESULT CQVTRibbonControlTab::AccessibleDoDefaultAction(VARIANT varChild)
{
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    if (pTab)
        pTab->Select();
    return S_OK;
}

HRESULT CQVTRibbonControlTab::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                                 VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    BOOL bValid = FALSE;
    CQVTRibbonTab* pTab = TabOfChild(varChild, &bValid);
    if (!bValid)
        return E_INVALIDARG;
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return E_FAIL;
    CRect rc = pTab ? pTab->GetRect() : CQVTControl::m_rcControl;
    m_pParent->ClientToScreen(&rc);
    return QVTAccessibleLocation(rc, pxLeft, pyTop, pcxWidth, pcyHeight);
}

HRESULT CQVTRibbonControlTab::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return E_FAIL;
    CPoint pt;
    if (!QVTAccessibleHitPoint(m_pParent, xLeft, yTop, pt) || !CQVTControl::m_rcControl.PtInRect(pt))
        return S_FALSE;
    CQVTTabManagerItem* pItem = HitTest(pt);
    pvarChild->vt = VT_I4;
    pvarChild->lVal = pItem ? pItem->GetIndex() + 1 : CHILDID_SELF;
    return S_OK;
}
