#include "toolkit/ribbon/groups/QVTRibbonGroups.h"

#include <afxext.h>

#include <algorithm>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

IMPLEMENT_DYNCREATE(CQVTRibbonGroups, CQVTCmdTarget)

CQVTRibbonGroups::CQVTRibbonGroups() : m_pParentTab(nullptr), m_nScrollOffset(0) {}

CQVTRibbonGroups::~CQVTRibbonGroups()
{
    for (CQVTRibbonGroup* pGroup : m_arrGroups)
        pGroup->InternalRelease();
    m_arrGroups.clear();
}

CQVTRibbonBar* CQVTRibbonGroups::GetRibbonBar() const
{
    return m_pParentTab ? m_pParentTab->GetRibbonBar() : nullptr;
}

CQVTRibbonGroup* CQVTRibbonGroups::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_arrGroups[static_cast<size_t>(nIndex)] : nullptr;
}

void CQVTRibbonGroups::RefreshIndexes()
{
    for (size_t i = 0; i < m_arrGroups.size(); ++i)
        m_arrGroups[i]->SetIndex(static_cast<int>(i));
}

CQVTRibbonGroup* CQVTRibbonGroups::Add(LPCTSTR lpszCaption, int nId)
{
    return InsertAt(GetCount(), lpszCaption, nId);
}

CQVTRibbonGroup* CQVTRibbonGroups::InsertAt(int nIndex, LPCTSTR lpszCaption, int nId)
{
    CQVTRibbonGroup* pGroup = new CQVTRibbonGroup();
    pGroup->SetID(nId);
    pGroup->SetCaption(lpszCaption);
    InsertGroup(nIndex, pGroup);
    if (nId > 0)
        pGroup->LoadToolBar(static_cast<UINT>(nId), TRUE);
    return pGroup;
}

void CQVTRibbonGroups::InsertGroup(int nIndex, CQVTRibbonGroup* pGroup)
{
    if (!pGroup)
        return;
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    pGroup->Attach(this, pRibbonBar, m_pParentTab ? m_pParentTab->GetParent() : nullptr);
    if (nIndex < 0 || nIndex > GetCount())
        nIndex = GetCount();
    m_arrGroups.insert(m_arrGroups.begin() + nIndex, pGroup);
    RefreshIndexes();
    pGroup->OnAdded();
    if (pRibbonBar)
    {
        pRibbonBar->RefreshGroupControls(pRibbonBar->GetCurrentTab());
        pRibbonBar->RequestLayout();
    }
}

void CQVTRibbonGroups::Remove(CQVTRibbonGroup* pGroup)
{
    auto it = std::find(m_arrGroups.begin(), m_arrGroups.end(), pGroup);
    if (it == m_arrGroups.end())
        return;
    m_arrGroups.erase(it);
    pGroup->OnRemoved();
    pGroup->InternalRelease();
    RefreshIndexes();
}

void CQVTRibbonGroups::RemoveAll()
{
    std::vector<CQVTRibbonGroup*> arrGroups;
    arrGroups.swap(m_arrGroups);
    for (CQVTRibbonGroup* pGroup : arrGroups)
    {
        pGroup->OnRemoved();
        pGroup->InternalRelease();
    }
}

void CQVTRibbonGroups::Copy(CQVTRibbonGroups* pSource)
{
    if (!pSource || pSource == this)
        return;
    RemoveAll();
    for (int i = 0; i < pSource->GetCount(); ++i)
    {
        CQVTRibbonGroup* pSourceGroup = pSource->GetAt(i);
        CQVTRibbonGroup* pGroup =
            static_cast<CQVTRibbonGroup*>(pSourceGroup->GetRuntimeClass()->CreateObject());
        if (!pGroup)
            continue;
        InsertGroup(i, pGroup);
        pGroup->Copy(pSourceGroup);
        pGroup->Attach(this, GetRibbonBar(), m_pParentTab ? m_pParentTab->GetParent() : nullptr);
    }
}

CQVTRibbonGroup* CQVTRibbonGroups::HitTest(CPoint point) const
{
    for (CQVTRibbonGroup* pGroup : m_arrGroups)
        if (pGroup->IsVisible() && pGroup->GetRect().PtInRect(point))
            return pGroup;
    return nullptr;
}

void CQVTRibbonGroups::ReduceGroups(CDC* pDC, std::vector<int>& arrWidths, int nAvailable)
{
    const int nGap = QVTDpiScaler()->ScaleX(7);
    const int nCount = GetCount();
    auto total = [&]() {
        int nTotal = 0;
        int nLast = -1;
        for (int i = 0; i < nCount; ++i)
            if (arrWidths[static_cast<size_t>(i)] != 0)
                nLast = i;
        for (int i = 0; i < nCount; ++i)
        {
            nTotal += arrWidths[static_cast<size_t>(i)];
            if (i != nLast && arrWidths[static_cast<size_t>(i)] != 0)
                nTotal += nGap;
        }
        return nTotal;
    };
    int nTotal = total();
    const BOOL bRoomAtStart = nTotal < nAvailable;
    while (nTotal > nAvailable)
    {
        BOOL bReduced = FALSE;
        for (int nLevel = 0; nLevel <= 3 && !bReduced; ++nLevel)
        {
            for (int i = nCount - 1; i >= 0 && !bReduced; --i)
            {
                CQVTRibbonGroup* pGroup = m_arrGroups[static_cast<size_t>(i)];
                if (!pGroup->IsVisible() || !pGroup->ReduceLevel(nLevel, nTotal - nAvailable))
                    continue;
                const int nWidth = pGroup->CalcWidth(pDC);
                nTotal += nWidth - arrWidths[static_cast<size_t>(i)];
                arrWidths[static_cast<size_t>(i)] = nWidth;
                bReduced = TRUE;
            }
        }
        if (!bReduced)
            break;
    }
    if (!bRoomAtStart)
        return;
    for (int i = nCount - 1; i >= 0; --i)
    {
        CQVTRibbonGroup* pGroup = m_arrGroups[static_cast<size_t>(i)];
        if (pGroup->IsVisible() && pGroup->ExpandGallery(nAvailable - nTotal))
        {
            arrWidths[static_cast<size_t>(i)] = pGroup->CalcWidth(pDC);
            break;
        }
    }
}

void CQVTRibbonGroups::CalcLayout(CDC* pDC, int nWidth, DWORD, CRect rcMargins)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    // The bar showing the groups scrolls them: the ribbon, or a tab popup.
    CQVTRibbonScrollableBar* pScrollable =
        CQVTRibbonScrollableBar::GetScrollableBar(m_pParentTab ? m_pParentTab->GetParent() : nullptr);
    if (!pScrollable)
        pScrollable = pRibbonBar;
    if (m_arrGroups.empty())
    {
        if (pScrollable)
            pScrollable->ShowScrollButtons(FALSE, FALSE);
        m_nScrollOffset = 0;
        return;
    }
    std::vector<int> arrWidths(m_arrGroups.size(), 0);
    for (CQVTRibbonGroup* pGroup : m_arrGroups)
        if (pGroup->IsVisible())
            pGroup->OnBeforeCalcSize(pDC);
    for (size_t i = 0; i < m_arrGroups.size(); ++i)
        if (m_arrGroups[i]->IsVisible())
            arrWidths[i] = m_arrGroups[i]->CalcWidth(pDC);

    const int nAvailable = nWidth - rcMargins.right - rcMargins.left;
    ReduceGroups(pDC, arrWidths, nAvailable);

    CQVTRibbonPaintManager* pRibbonPaintManager = pRibbonBar ? pRibbonBar->GetRibbonPaintManager() : nullptr;
    const int nSpacing = pRibbonPaintManager ? pRibbonPaintManager->GetGroupSpacing() : 0;
    const int nStep = QVTDpiScaler()->ScaleX(5);
    int nTotal = -QVTDpiScaler()->ScaleX(7);
    for (size_t i = 0; i < m_arrGroups.size(); ++i)
        if (m_arrGroups[i]->IsVisible())
            nTotal += nStep + arrWidths[i] + nSpacing;

    const int nScrollPos = pScrollable ? pScrollable->GetGroupsScrollPos() : 0;
    m_nScrollOffset = nTotal > nAvailable ? std::max(0, std::min(nTotal - nAvailable, nScrollPos)) : 0;
    if (pScrollable)
        pScrollable->ShowScrollButtons(m_nScrollOffset >= 1, nTotal - m_nScrollOffset - nAvailable >= 1);

    int x = rcMargins.left - m_nScrollOffset;
    for (size_t i = 0; i < m_arrGroups.size(); ++i)
    {
        CQVTRibbonGroup* pGroup = m_arrGroups[i];
        if (!pGroup->IsVisible())
            continue;
        pGroup->Reposition(arrWidths[i], CPoint(x, rcMargins.top));
        x += nStep + nSpacing + arrWidths[i];
    }
    for (CQVTRibbonGroup* pGroup : m_arrGroups)
        if (pGroup->IsVisible())
            pGroup->OnAfterCalcSize();
}

void CQVTRibbonGroups::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTPropExchangeEnumeratorPtr pEnumerator(pPX->GetEnumerator(_T("Group")));
    if (pPX->IsLoading())
    {
        // A class that cannot be made ends the load; the groups read in
        // full so far stay.
        RemoveAll();
        POSITION pos = pEnumerator->GetPosition();
        while (pos)
        {
            CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
            CObject* pObject = nullptr;
            if (!section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTRibbonGroup)) || !pObject)
                AfxThrowArchiveException(CArchiveException::badClass);
            CQVTRibbonGroup* pGroup = static_cast<CQVTRibbonGroup*>(pObject);
            pGroup->Attach(this, GetRibbonBar(), m_pParentTab ? m_pParentTab->GetParent() : nullptr);
            try
            {
                pGroup->DoPropExchange(&section);
            }
            catch (CException*)
            {
                // A group read in part is not kept: its controls and own
                // buttons leave the bar with it.
                pGroup->OnRemoved();
                pGroup->InternalRelease();
                throw;
            }
            InsertGroup(GetCount(), pGroup);
        }
        return;
    }
    POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(GetCount()));
    for (CQVTRibbonGroup* pGroup : m_arrGroups)
    {
        if (!pos)
            break;
        CQVTPropExchangeSection section(pEnumerator->GetNext(pos));
        CObject* pObject = pGroup;
        section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTRibbonGroup));
        pGroup->DoPropExchange(&section);
    }
}
