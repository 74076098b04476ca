// The drag-and-drop of customize mode: the modal loop that carries a control
// from where it was pressed to the bar under the pointer, the bars that take
// drops, and the customize window (the application's own, not the bars')
// that holds the capture while it is open.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"

class CQVTCommandBar;
class CQVTCommandBars;
class CQVTControl;
class CQVTPopupBar;

class CQVTCustomizeDropSource
{
public:
    explicit CQVTCustomizeDropSource(CQVTCommandBars* pCommandBars);
    ~CQVTCustomizeDropSource();
    CQVTCustomizeDropSource(const CQVTCustomizeDropSource&) = delete;
    CQVTCustomizeDropSource& operator=(const CQVTCustomizeDropSource&) = delete;

    // Every bar takes drops from its window's creation to its destruction.
    void Register(CQVTCommandBar* pBar);
    void Unregister(CQVTCommandBar* pBar);
    BOOL IsRegistered(const CQVTCommandBar* pBar) const;

    // Carries the control until the button is released (a drop), or Escape,
    // the right button, a lost capture or WM_QUIT cancel; answers the
    // QVTDropEffect.
    DWORD DoDragDrop(CQVTControl* pControl, BOOL bCopyOnly = FALSE);
    BOOL IsDragging() const { return m_pControl != nullptr; }

    // The open customize window and the context popup it shows for a
    // control (held by a reference); null when closed.
    void SetCustomizeWindow(CWnd* pWnd, CQVTPopupBar* pContextMenu = nullptr);
    CWnd* GetCustomizeWindow() const { return m_pCustomizeWindow; }
    CQVTPopupBar* GetContextMenu() const { return m_pContextMenu; }
    // The customize window's context popup at a screen point.
    void ContextMenu(CPoint ptScreen);

    CQVTCommandBar* GetTarget() const { return m_pTarget; }

private:
    enum LoopEnd
    {
        loopGoesOn,
        loopDrop,
        loopCancel
    };
    LoopEnd RunMessage(MSG& msg, BOOL& bFirstMove);
    void TrackTarget(CPoint ptScreen);
    CQVTCommandBar* FindTargetAt(CPoint ptScreen) const;
    void SetTarget(CQVTCommandBar* pTarget);
    void LeaveTarget();
    DWORD DropOnTarget(CPoint ptScreen);
    void UpdateCursor();
    HCURSOR GetCursor(UINT nId);

    HWND m_hwndCapture;                         // holds the capture during a drag
    CQVTControl* m_pControl;                    // the dragged control, held by a reference while dragged
    BOOL m_bMove;                               // FALSE while Ctrl copies
    BOOL m_bCopyOnly;                           // the drag can only copy
    CQVTCommandBar* m_pTarget;                  // the bar that accepted the drag, held by a reference
    BOOL m_bTargetLost;                         // a target's window went during the drag
    CWnd* m_pCustomizeWindow;                   // the open customize window, null when none
    CQVTPopupBar* m_pContextMenu;               // its context popup, held by a reference
    CPoint m_ptStart;                           // pointer position when the drag began
    std::vector<CQVTCommandBar*> m_arrTargets;  // bars that take drops, in registration order
    CQVTCommandBars* m_pCommandBars;            // owner
    HCURSOR m_hCursorNoDrop;
    HCURSOR m_hCursorMove;
    HCURSOR m_hCursorCopy;
};
