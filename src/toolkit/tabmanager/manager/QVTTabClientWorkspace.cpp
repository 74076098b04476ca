#include "toolkit/tabmanager/manager/QVTTabClientWorkspace.h"

#include "toolkit/tabmanager/manager/QVTTabManager.h"

BOOL CQVTTabClientWorkspace::IsWorkspaceCommandEnabled(UINT nID, HWND hActiveChild,
                                                       CQVTTabManagerItem** ppItem) const
{
    if (ppItem)
        *ppItem = nullptr;
    if (!m_bEnableGroups || !hActiveChild)
        return FALSE;
    const int nGroups = static_cast<int>(m_arrGroups.size());
    int nGroup = -1;
    CQVTTabManagerItem* pItem = nullptr;
    for (int i = 0; i < nGroups && !pItem; ++i)
    {
        pItem = m_arrGroups[i] ? m_arrGroups[i]->FindItemByHandle(hActiveChild) : nullptr;
        nGroup = i;
    }
    if (!pItem)
        return FALSE;
    if (ppItem)
        *ppItem = pItem;

    const int nItems = m_arrGroups[nGroup]->GetItemCount();
    switch (nID)
    {
    case QVT_ID_WORKSPACE_MOVEPREVIOUS:
        return nGroup > 0;
    case QVT_ID_WORKSPACE_MOVENEXT:
        return nGroup < nGroups - 1;
    case QVT_ID_WORKSPACE_NEWHORIZONTAL:
        return nItems > 1 && (nGroups == 1 || m_bHorizontalGroups);
    case QVT_ID_WORKSPACE_NEWVERTICAL:
        return nItems > 1 && (nGroups == 1 || !m_bHorizontalGroups);
    case QVT_ID_WORKSPACE_DETACH:
        return nItems >= 1;
    default:
        return TRUE;
    }
}
