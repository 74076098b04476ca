// What makes a bar's group area scrollable: the scroll position, the two
// scroll buttons the group layout shows when groups do not fit, and the
// group under the mouse. The ribbon is one such bar, and so are the popups
// that show a group or a minimized ribbon's tab.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/controls/QVTControlButton.h"

class CQVTCommandBar;
class CQVTRibbonGroup;
class CQVTRibbonGroups;
class CQVTRibbonScrollableBar;

// The left or right scroll button of a group area
// (CQVTRibbonScrollableBar::CControlGroupsScroll).
class CQVTRibbonGroupScrollButton : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonGroupScrollButton)

public:
    // The repeat timer of a held button, on the bar's window.
    static const UINT_PTR kTimerScrollRepeat = 23345;

    CQVTRibbonGroupScrollButton();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    // A press scrolls once at once, then repeats until the button is let go.
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnExecute() override;
    void SetBeginGroup(BOOL) override {}

    CQVTRibbonScrollableBar* m_pScrollableBar;  // not owned
    BOOL m_bScrollLeft;

protected:
    void TrackScroll();
};

class CQVTRibbonScrollableBar
{
public:
    typedef CQVTRibbonGroupScrollButton CControlGroupsScroll;

    // Pixels one press of a scroll button moves the groups.
    static const int kScrollStep = 40;

    CQVTRibbonScrollableBar();
    virtual ~CQVTRibbonScrollableBar();
    CQVTRibbonScrollableBar(const CQVTRibbonScrollableBar&) = delete;
    CQVTRibbonScrollableBar& operator=(const CQVTRibbonScrollableBar&) = delete;

    // The scrollable part of a ribbon or of one of its popups; null for
    // other bars.
    static CQVTRibbonScrollableBar* AFX_CDECL GetScrollableBar(CQVTCommandBar* pBar);

    // Makes the two buttons as temporary controls of the bar.
    void InitScrollableBar(CQVTCommandBar* pBar);
    void ShowScrollButtons(BOOL bScrollLeft, BOOL bScrollRight);
    int GetGroupsScrollPos() const { return m_nGroupsScrollPos; }
    // Clamped to 0 or more; the bar lays out again when it changed.
    void SetGroupsScrollPos(int nScrollPos);
    // Scrolls just enough that the rectangle (of a control in the groups)
    // lies within the group area.
    void EnsureVisible(CQVTRibbonGroups* pGroups, CRect rc);
    CQVTRibbonGroupScrollButton* GetScrollButtonLeft() const { return m_pScrollLeft; }
    CQVTRibbonGroupScrollButton* GetScrollButtonRight() const { return m_pScrollRight; }
    BOOL IsScrollButton(const CQVTControl* pControl) const
    {
        return pControl && (pControl == m_pScrollLeft || pControl == m_pScrollRight);
    }
    BOOL IsScrollButtonVisible(BOOL bLeft) const;
    CQVTCommandBar* GetScrollOwner() const { return m_pScrollBar; }

    // The group under the mouse; the old and new ones are redrawn.
    void HighlightGroup(CQVTRibbonGroup* pGroup);
    CQVTRibbonGroup* GetHighlightedGroup() const { return m_pHighlightedGroup; }

    // Arrow keys between the controls as they are laid out, Enter and Space
    // on the selected one; FALSE when the code is left to the bar.
    BOOL NavigateGroups(int nCode);

    // One step (40 px) towards the start or the end.
    virtual void OnGroupsScroll(BOOL bScrollLeft);
    // The area the group row is laid out in.
    virtual CRect GetGroupsArea() const = 0;
    virtual CQVTRibbonGroup* HitTestGroup(CPoint point) const = 0;

protected:
    // The groups whose last layout the next step starts from.
    virtual CQVTRibbonGroups* GetScrolledGroups() const { return nullptr; }
    // Lays the owner out again after the position changed.
    virtual void OnScrollPosChanged();

    CQVTCommandBar* m_pScrollBar;                // the bar itself
    CQVTRibbonGroupScrollButton* m_pScrollLeft;  // in the bar's controls
    CQVTRibbonGroupScrollButton* m_pScrollRight;
    int m_nGroupsScrollPos;
    CQVTRibbonGroup* m_pHighlightedGroup;  // not owned; cleared with the groups
};
