#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"

IMPLEMENT_SERIAL(CQVTRibbonTab, CQVTTabManagerItem, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTRibbonTab::CQVTRibbonTab()
    : m_pGroups(new CQVTRibbonGroups()), m_pParent(nullptr), m_pRibbonBar(nullptr), m_nId(0),
      m_nContextColor(0), m_pContextHeader(nullptr)
{
    m_pGroups->SetParentTab(this);
}

CQVTRibbonTab::~CQVTRibbonTab()
{
    m_pGroups->RemoveAll();
    m_pGroups->SetParentTab(nullptr);
    m_pGroups->InternalRelease();
}

void CQVTRibbonTab::SetRibbonBar(CQVTRibbonBar* pRibbonBar, CQVTCommandBar* pParent)
{
    m_pRibbonBar = pRibbonBar;
    m_pParent = pParent;
}

CString CQVTRibbonTab::GetCaption() const
{
    // The bars' options have no upper-case captions: the caption as set.
    return CQVTTabManagerItem::GetCaption();
}

void CQVTRibbonTab::SetVisible(BOOL bVisible)
{
    if (IsVisible() == bVisible)
        return;
    const BOOL bWasSelected = IsSelected();
    CQVTTabManagerItem::SetVisible(bVisible);
    CQVTTabManager* pTabManager = GetTabManager();
    if (bVisible || !bWasSelected || !pTabManager)
        return;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i)
    {
        CQVTTabManagerItem* pItem = pTabManager->GetItem(i);
        if (pItem->IsVisible() && pItem->IsEnabled())
        {
            pItem->Select();
            return;
        }
    }
}

void CQVTRibbonTab::OnRemoved()
{
    m_pGroups->RemoveAll();
    CQVTTabManagerItem::OnRemoved();
}

void CQVTRibbonTab::SetContextColor(int nColor)
{
    if (m_nContextColor == nColor)
        return;
    m_nContextColor = nColor;
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

void CQVTRibbonTab::SetContextCaption(LPCTSTR lpszCaption)
{
    const CString strCaption(lpszCaption ? lpszCaption : _T(""));
    if (m_strContextCaption == strCaption)
        return;
    m_strContextCaption = strCaption;
    if (m_pRibbonBar)
        m_pRibbonBar->RequestLayout();
}

CQVTRibbonGroup* CQVTRibbonTab::AddGroup(UINT nIDCaption)
{
    CString strCaption;
    QVTResourceManager()->LoadString(&strCaption, nIDCaption);
    const int nFeed = strCaption.Find(_T('\n'));
    if (nFeed >= 0)
        strCaption = strCaption.Mid(nFeed + 1);
    return AddGroup(strCaption, static_cast<int>(nIDCaption));
}

CQVTRibbonGroup* CQVTRibbonTab::AddGroup(LPCTSTR lpszCaption, int nId)
{
    return m_pGroups->Add(lpszCaption, nId);
}

CQVTRibbonGroup* CQVTRibbonTab::FindGroup(int nId) const
{
    for (int i = 0; i < m_pGroups->GetCount(); ++i)
        if (m_pGroups->GetAt(i)->GetID() == nId)
            return m_pGroups->GetAt(i);
    return nullptr;
}

void CQVTRibbonTab::Copy(CQVTRibbonTab* pTab)
{
    if (!pTab || pTab == this)
        return;
    SetCaption(pTab->GetCaptionText());
    m_nContextColor = pTab->m_nContextColor;
    m_strContextCaption = pTab->m_strContextCaption;
    m_nId = pTab->m_nId;
    CQVTTabManagerItem::SetVisible(pTab->IsVisible());
    SetTooltip(pTab->GetTooltip());
    m_strKeyboardTip = pTab->m_strKeyboardTip;
    if (pTab->IsSelected() && GetTabManager())
        GetTabManager()->SetSelectedItem(this);
    m_pGroups->Copy(pTab->m_pGroups);
}

void CQVTRibbonTab::DoPropExchange(CQVTPropExchange* pPX)
{
    // A loaded tab was linked to its strip and bar before it reads: the
    // exchange's owner is the layout's parameter record.
    CString strCaption = GetCaptionText();
    CString strTooltip = GetTooltip();
    PropExchangeString(pPX, _T("Caption"), strCaption, _T(""));
    PropExchangeString(pPX, _T("ToolTip"), strTooltip, _T(""));
    PropExchangeInt(pPX, _T("ContextColor"), m_nContextColor, 0);
    PropExchangeString(pPX, _T("ContextCaption"), m_strContextCaption, _T(""));
    PropExchangeInt(pPX, _T("Id"), m_nId, 0);
    BOOL bVisible = IsVisible();
    PropExchangeBool(pPX, _T("Visible"), bVisible, TRUE);
    BOOL bSelected = IsSelected();
    PropExchangeBool(pPX, _T("Selected"), bSelected, FALSE);
    if (pPX->GetSchema() >= 42)
        PropExchangeString(pPX, _T("CustomizeCaption"), m_strCustomizeCaption, _T(""));
    if (pPX->IsLoading())
    {
        SetCaption(strCaption);
        SetTooltip(strTooltip);
        CQVTTabManagerItem::SetVisible(bVisible);
    }
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("Groups")));
        m_pGroups->DoPropExchange(&section);
    }
    if (pPX->IsLoading() && bSelected && m_pTabManager)
        m_pTabManager->SetSelectedItem(this);
}

// Context headers.

CQVTRibbonTabContextHeader::CQVTRibbonTabContextHeader(CQVTRibbonTab* pTab)
    : m_pFirstTab(pTab), m_pLastTab(pTab), m_strCaption(pTab->GetContextCaption()),
      m_nColor(pTab->GetContextColor()), m_rcRect(0, 0, 0, 0)
{
    pTab->SetContextHeader(this);
}

void CQVTRibbonTabContextHeaderList::RemoveAll()
{
    // The bar clears its tabs' links before it rebuilds the list.
    for (CQVTRibbonTabContextHeader* pHeader : m_arrHeaders)
        delete pHeader;
    m_arrHeaders.clear();
}

CQVTRibbonTabContextHeader* CQVTRibbonTabContextHeaderList::HitTest(CPoint point) const
{
    for (CQVTRibbonTabContextHeader* pHeader : m_arrHeaders)
        if (pHeader->m_rcRect.PtInRect(point))
            return pHeader;
    return nullptr;
}
