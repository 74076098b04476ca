// A pane of small switch buttons side by side, each an icon with its own
// checked, hot and pressed state, as the status-bar paint managers draw it.
#pragma once

#include <vector>

#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"

class CQVTStatusBarSwitchPane : public CQVTStatusBarPane
{
    DECLARE_DYNAMIC(CQVTStatusBarSwitchPane)

public:
    struct SWITCH
    {
        UINT nID;
        int nIconId;
        BOOL bChecked;
        BOOL bHot;
        BOOL bPressed;
    };

    void AddSwitch(UINT nID, int nIconId);
    int GetSwitchCount() const { return static_cast<int>(m_switches.size()); }
    // Null for an index out of range.
    SWITCH* GetSwitch(int nIndex);

    // The sum of the switches' widths.
    int GetWidth() override;
    void Draw(CDC* pDC, CRect rcItem) override;

protected:
    std::vector<SWITCH> m_switches;
};
