// The tabbed replacement of a frame's MDI client, as much of it as the
// command bars use: the bars recognise it by its runtime class, refresh it
// after a theme change and ask it which workspace commands apply now.
#pragma once

#include <afxwin.h>

class CQVTTabClientWorkspace;

class CQVTTabClientWnd : public CWnd
{
    DECLARE_DYNAMIC(CQVTTabClientWnd)

public:
    CQVTTabClientWnd() = default;
    ~CQVTTabClientWnd() override;

    // Takes over the frame's MDI client window; FALSE without one.
    BOOL Attach(CMDIFrameWnd* pFrame);
    void Detach();
    // The tab groups; null: none attached (not owned).
    void SetWorkspace(CQVTTabClientWorkspace* pWorkspace) { m_pWorkspace = pWorkspace; }
    CQVTTabClientWorkspace* GetWorkspace() const { return m_pWorkspace; }

    // Lays the tabs out again and redraws them (after a theme change).
    void Refresh(BOOL bRecalcLayout = TRUE);
    int GetRefreshCount() const { return m_nRefreshCount; }
    // Whether the workspace command (9155 to 9158, 9248) applies to the
    // active child's group now; FALSE without a workspace or an active group.
    BOOL IsWorkspaceCommandEnabled(UINT nID) const;

private:
    CQVTTabClientWorkspace* m_pWorkspace = nullptr;  // tab groups, not owned
    int m_nRefreshCount = 0;                         // refreshes asked for so far
};
