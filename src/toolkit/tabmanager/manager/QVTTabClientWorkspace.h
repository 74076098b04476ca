// Which workspace commands an MDI tab client enables: a function of its tab
// groups (one tab strip each, each tab keeping its child window's handle),
// how they are arranged and which child is active.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTTabManager;
class CQVTTabManagerItem;

// The workspace commands and their strings.
enum
{
    QVT_ID_WORKSPACE_MOVEPREVIOUS = 9155,
    QVT_ID_WORKSPACE_MOVENEXT = 9156,
    QVT_ID_WORKSPACE_NEWHORIZONTAL = 9157,
    QVT_ID_WORKSPACE_NEWVERTICAL = 9158,
    QVT_ID_WORKSPACE_DETACH = 9248,
};

class CQVTTabClientWorkspace
{
public:
    // FALSE while groups are off, without an active child, or when no group
    // holds its tab; otherwise by the command (others always TRUE). The
    // active child's tab is returned through ppItem when found.
    BOOL IsWorkspaceCommandEnabled(UINT nID, HWND hActiveChild, CQVTTabManagerItem** ppItem = nullptr) const;

    std::vector<CQVTTabManager*> m_arrGroups;  // not owned, in their order on screen
    BOOL m_bEnableGroups = TRUE;
    BOOL m_bHorizontalGroups = TRUE;  // groups stacked one above the other
};
