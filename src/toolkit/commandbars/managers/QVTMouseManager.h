// The thread's mouse side of tracking: the bars that track (in the order
// they started), a thread mouse hook that closes the popups when the user
// clicks elsewhere, the swallowed release of the click that opened a
// context menu, mouse-leave emulation by a 50 ms timer, the windows whose
// clicks keep the menus open, and the locks that keep a parent bar still
// while its child popup is open. One manager per thread, made on first use.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTCommandBar;

class CQVTMouseManager : public CNoTrackObject
{
public:
    CQVTMouseManager();
    ~CQVTMouseManager() override;

    // The calling thread's manager.
    static CQVTMouseManager* AFX_CDECL GetThreadManager();

    // Tracked bars.
    void SetTrack(CQVTCommandBar* pBar);
    void RemoveTrack(CQVTCommandBar* pBar);
    BOOL IsTracked(CQVTCommandBar* pBar) const;
    int GetTrackCount() const { return static_cast<int>(m_arrTracked.size()); }
    CQVTCommandBar* GetTrackedAt(int nIndex) const;
    CQVTCommandBar* GetLastTracked() const { return m_arrTracked.empty() ? nullptr : m_arrTracked.back(); }
    // The first tracked bar ends its tracking until none is left (a root
    // closes its children with it).
    void SendTrackLost();
    // With the first tracked bar locked: every unlocked tracked bar ends.
    void SendTrackLostRecurse();
    void LockMouseMove(BOOL bLock);
    // Whether input to the bar is held back: TRUE for a locked or foreign bar
    // while bars track, and for no bar at all.
    BOOL IsTrackedLock(const CQVTCommandBar* pBar) const;
    CQVTCommandBar* HitTestTrackedBar(POINT ptScreen) const;

    // Bars routing mouse moves to a control that holds the mouse.
    void AddCapture() { ++m_nCaptureCount; }
    void RemoveCapture();
    BOOL IsMouseLocked() const { return m_nCaptureCount > 0; }

    // The bar that last selected a control.
    void SetSelectionBar(CQVTCommandBar* pBar) { m_pSelectionBar = pBar; }
    CQVTCommandBar* GetSelectionBar() const { return m_pSelectionBar; }
    // A bar going away is forgotten.
    void OnBarRemoved(CQVTCommandBar* pBar);

    // Clicks inside these windows leave the menus open.
    void AddTrustedWindow(HWND hWnd);
    void RemoveTrustedWindow(HWND hWnd);
    BOOL IsTrustedWindow(HWND hWnd) const;

    // The window is sent WM_MOUSELEAVE when the cursor leaves it.
    void TrackMouseLeave(HWND hWnd);
    HWND GetMouseLeaveWindow() const { return m_hWndMouseLeave; }

    // The popup loop asks for each queued message whether it ends tracking.
    BOOL PreviewTrackLost(CQVTCommandBar* pPopup, const MSG* pMsg) const;

    // The release of the click that opened a context menu reaches no window.
    void SetSwallowNextButtonUp(BOOL bSwallow = TRUE) { m_bSwallowNextButtonUp = bSwallow; }
    BOOL IsSwallowingNextButtonUp() const { return m_bSwallowNextButtonUp; }

    // Once a popup of a chain was expanded, the next ones open expanded.
    void SetMenusExpanded(BOOL bExpanded) { m_bMenusExpanded = bExpanded; }
    BOOL IsMenusExpanded() const { return m_bMenusExpanded; }

    // Modal drag loops raise it: hot tracking and tooltips pause meanwhile.
    void EnterDragLoop() { ++m_nDragLoop; }
    void ExitDragLoop() { --m_nDragLoop; }
    BOOL IsInDragLoop() const { return m_nDragLoop > 0; }

    // Controls of the thread that hold the keyboard focus (a combo box being
    // typed in): hovering an edit selects nothing meanwhile.
    void AddFocusedControl() { ++m_nFocusedControls; }
    void RemoveFocusedControl()
    {
        if (m_nFocusedControls > 0)
            --m_nFocusedControls;
    }
    int GetFocusedControlCount() const { return m_nFocusedControls; }

    enum
    {
        TIMER_MOUSELEAVE = 113341
    };

private:
    static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK MouseLeaveTimerProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);
    // TRUE when a tracked bar holds the screen point.
    BOOL BarHoldsPoint(CQVTCommandBar* pBar, HWND hWndUnder, POINT ptScreen) const;
    // Shows a mouse message to the tracked bars; TRUE eats it.
    BOOL OnMouseHook(UINT message, POINT ptScreen);
    void ProcessTrackedBars(UINT message, POINT ptScreen);
    void OnMouseLeaveTimer(HWND hWnd);

    int m_nCaptureCount;                        // bars routing moves to a held control
    std::vector<CQVTCommandBar*> m_arrTracked;  // in the order they started tracking
    HHOOK m_hHookMouse;                         // WH_MOUSE of the thread
    CQVTCommandBar* m_pSelectionBar;            // bar that last selected a control
    HWND m_hWndMouseLeave;                      // window under mouse-leave emulation
    std::vector<HWND> m_arrTrusted;             // clicks here keep the menus open
    BOOL m_bSwallowNextButtonUp;                // set when a popup menu opens from a click
    POINT m_ptLast;                             // last position the hook saw
    AFX_MODULE_STATE* m_pModuleState;           // captured by SetTrack
    BOOL m_bMenusExpanded;                      // the chain's popups open expanded
    int m_nDragLoop;                            // modal drag loops running
    int m_nFocusedControls = 0;                 // controls holding the focus
};
