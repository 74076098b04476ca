#include "toolkit/tabmanager/manager/QVTTabClientWnd.h"

#include "toolkit/tabmanager/manager/QVTTabClientWorkspace.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"

IMPLEMENT_DYNAMIC(CQVTTabClientWnd, CWnd)

CQVTTabClientWnd::~CQVTTabClientWnd()
{
    Detach();
}

BOOL CQVTTabClientWnd::Attach(CMDIFrameWnd* pFrame)
{
    if (GetSafeHwnd() || !pFrame || !::IsWindow(pFrame->m_hWndMDIClient))
        return FALSE;
    return SubclassWindow(pFrame->m_hWndMDIClient);
}

void CQVTTabClientWnd::Detach()
{
    if (GetSafeHwnd())
        UnsubclassWindow();
}

void CQVTTabClientWnd::Refresh(BOOL bRecalcLayout)
{
    ++m_nRefreshCount;
    if (m_pWorkspace)
    {
        for (CQVTTabManager* pGroup : m_pWorkspace->m_arrGroups)
        {
            if (!pGroup)
                continue;
            if (bRecalcLayout)
                pGroup->OnItemsChanged();
            pGroup->RedrawControl(nullptr, FALSE);
        }
    }
    if (GetSafeHwnd())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

BOOL CQVTTabClientWnd::IsWorkspaceCommandEnabled(UINT nID) const
{
    if (!m_pWorkspace || !GetSafeHwnd())
        return FALSE;
    HWND hActive = reinterpret_cast<HWND>(::SendMessage(m_hWnd, WM_MDIGETACTIVE, 0, 0));
    return m_pWorkspace->IsWorkspaceCommandEnabled(nID, hActive);
}
