// The frame tests' site: the main window's ribbon with a quick-access
// toolbar of twenty commands, whose source list the customize menu offers;
// it handles every test command and records what reaches it.
#pragma once

#include <afxwin.h>

#include <atomic>
#include <utility>
#include <vector>

#include "tests/toolkit/ribbon/ribbon_host.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"

// Commands of the quick-access toolbar beyond the ribbon's own.
const int kFirstQuickAccessId = 3401;
const int kQuickAccessCount = 20;

class CFrameHost : public CRibbonHost
{
public:
    // New bars, the toolbar filled and its source list taken.
    void ResetFrame(int cx, int cy);
    CQVTControl* GetQuickAccess(int nIndex) const;
    CQVTControl* GetCustomizeButton() const;
    CQVTControl* GetMoreButton() const;
    // The popup bar a ribbon control has open, null when none shows.
    CQVTPopupBar* GetOpenPopup(CQVTControl* pControl) const;
    // The screen rectangle of a control of a bar.
    CRect ScreenRectOf(CQVTControl* pControl) const;

    std::vector<int> m_commands;            // WM_COMMAND ids, in order
    std::vector<std::vector<int>> m_menus;  // visible item ids of each menu the ribbon offered
    std::atomic<int> m_nMenusOffered{0};
    int m_nCustomizeNotifies = 0;                  // 9607 reaching the site
    std::vector<std::pair<UINT, int>> m_notifies;  // control notifications: code, control id
    int m_nDragControlChanges = 0;                 // the bars' drag control changing

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
};
