// What makes a bar's group area scrollable: the scroll position and the two
// scroll buttons the group layout shows when groups do not fit.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/controls/QVTControlButton.h"

class CQVTCommandBar;
class CQVTRibbonGroup;
class CQVTRibbonScrollableBar;

// The left or right scroll button of a group area.
class CQVTRibbonGroupScrollButton : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonGroupScrollButton)

public:
    CQVTRibbonGroupScrollButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnExecute() override;
    void SetBeginGroup(BOOL) override {}

    CQVTRibbonScrollableBar* m_pScrollableBar;  // not owned
    BOOL m_bScrollLeft;
};

class CQVTRibbonScrollableBar
{
public:
    CQVTRibbonScrollableBar();
    virtual ~CQVTRibbonScrollableBar();
    CQVTRibbonScrollableBar(const CQVTRibbonScrollableBar&) = delete;
    CQVTRibbonScrollableBar& operator=(const CQVTRibbonScrollableBar&) = delete;

    // Makes the two buttons as temporary controls of the bar.
    void InitScrollableBar(CQVTCommandBar* pBar);
    void ShowScrollButtons(BOOL bScrollLeft, BOOL bScrollRight);
    int GetGroupsScrollPos() const { return m_nGroupsScrollPos; }
    // Clamped to 0 or more; the bar lays out again when it changed.
    void SetGroupsScrollPos(int nScrollPos);
    // One step (40 px) towards the start or the end.
    void OnGroupsScroll(BOOL bScrollLeft);
    // Scrolls just enough that the group lies within the group area.
    void EnsureVisible(CQVTRibbonGroup* pGroup);
    CQVTRibbonGroupScrollButton* GetScrollButtonLeft() const { return m_pScrollLeft; }
    CQVTRibbonGroupScrollButton* GetScrollButtonRight() const { return m_pScrollRight; }
    BOOL IsScrollButton(const CQVTControl* pControl) const
    {
        return pControl && (pControl == m_pScrollLeft || pControl == m_pScrollRight);
    }

    // The area the group row is laid out in.
    virtual CRect GetGroupsArea() const = 0;

protected:
    CQVTCommandBar* m_pScrollBar;                // the bar itself
    CQVTRibbonGroupScrollButton* m_pScrollLeft;  // in the bar's controls
    CQVTRibbonGroupScrollButton* m_pScrollRight;
    int m_nGroupsScrollPos;
};
