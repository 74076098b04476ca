// Lets the bars' theme draw the site window's frame: it subclasses the frame
// through the hook manager, answers the non-client messages itself and gives
// the frame a region shaped by the theme's frame paint manager. With desktop
// composition the compositor draws the frame and the hook only extends it
// into the client area. A ribbon draws its own caption inside the client
// area; the hook then hides its own.
#pragma once

#include <afxwin.h>

#include <memory>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/foundation/core/QVTNotifyConnection.h"
#include "toolkit/foundation/hook/QVTHookManager.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CQVTCommandBars;
class CQVTControls;

// Timers the hook sets on its frame.
enum
{
    QVT_FRAMEHOOK_TIMER_HOT = 44209,          // a hot caption button checks the mouse left it
    QVT_FRAMEHOOK_TIMER_SCROLLSTYLES = 44241  // the scroll styles are fixed again
};

class CQVTCommandBarsFrameHook : public CQVTHookManagerHookAble,
                                 public IQVTFrameHook,
                                 private IQVTPaintManagerEvents,
                                 private IQVTFrameShadowManagerEvents
{
public:
    // A caption button: its id is the system command it sends.
    class CControlCaptionButton : public CQVTControl
    {
    public:
        CControlCaptionButton(CQVTCommandBarsFrameHook* pFrame, int nId, int nHit);

        int GetSelected() const override;
        int GetPressed() const override;
        int GetHitCode() const { return m_nHit; }
        void SetHitCode(int nHit) { m_nHit = nHit; }

    private:
        int m_nHit;                          // the hit-test code the button reports
        CQVTCommandBarsFrameHook* m_pFrame;  // its hook
    };

    CQVTCommandBarsFrameHook();
    ~CQVTCommandBarsFrameHook() override;
    CQVTCommandBarsFrameHook(const CQVTCommandBarsFrameHook&) = delete;
    CQVTCommandBarsFrameHook& operator=(const CQVTCommandBarsFrameHook&) = delete;

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    virtual void RemoveFrameShadow();
    // A paint manager of the hook's own, used when the hook has no bars.
    virtual void SetPaintManager(CQVTPaintManager* pPaintManager);
    // The bars' theme is about to change, and has changed.
    void OnThemeChanging();
    void OnThemeChanged();

    // Hooks the bars' site; none detaches.
    void AttachCommandBars(CQVTCommandBars* pCommandBars);
    void Detach();

    CQVTFramePaintManager* GetFramePaintManager() const;
    CQVTPaintManager* GetPaintManager() const;
    CRect CalcFrameBorders() const;
    BOOL IsMDIMaximized() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;

    // What the frame paint managers ask.
    HWND GetSite() const override { return m_hwndFrame; }
    BOOL IsFrameActive() const override { return m_bActive; }
    BOOL IsDwmEnabled() const override { return m_bDwmFrame; }
    BOOL IsCaptionVisible() const override;
    int GetCaptionHeight() const override;
    BOOL IsFrameHasStatusBar(int* pnHeight = nullptr) const override;
    CQVTRibbonBar* GetRibbonBar() const override { return m_pRibbonBar; }
    CQVTFrameShadow* GetFrameShadow() const override { return m_pShadow; }
    CQVTControls* GetCaptionButtons() const override { return m_pCaptionButtons; }
    void DrawRibbonFrameCaption(CDC* pDC) override;
    void RecalcFrameLayout();
    void DelayRecalcFrame();
    void UpdateFrameRegion();
    void RedrawFrame();
    void RedrawRibbonBar();
    void UpdateCaptionButtons();

    HWND GetSafeHwnd() const { return m_hwndFrame; }
    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }
    CQVTControl* GetHotButton() const { return m_pButtonHot; }
    BOOL IsButtonPressed() const { return m_bButtonPressed; }
    BOOL IsAttached() const { return m_bAttached; }
    // The compositor's top border as the frame extends into the client area.
    int GetDwmTopBorder() const;

    // The process-wide switch that lets frames follow desktop composition
    // (on by default).
    static void AFX_CDECL EnableDwm(BOOL bEnable) { s_bAllowDwm = bEnable; }
    static BOOL AFX_CDECL IsDwmAllowed() { return s_bAllowDwm; }
    // Registered "WM_GETFRAMEHOOK": a hooked frame answers its hook.
    static UINT AFX_CDECL GetFrameHookMessage();
    // The hook of a hooked frame, or null.
    static CQVTCommandBarsFrameHook* AFX_CDECL FromFrame(HWND hWnd);

protected:
    virtual void OnUpdateMDIChildTheme() {}

private:
    void OnPaintManagerDestroyed(CQVTPaintManager* pPaintManager) override;
    void OnShadowDestroyed(HWND hWndFrame, CQVTFrameShadow* pShadow) override;

    // Handlers of the hooked messages; TRUE when handled.
    BOOL OnNcActivate(WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    BOOL OnNcCalcSize(WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    BOOL OnNcHitTest(WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    BOOL OnNcPaint(LRESULT& lResult);
    void OnNcMouseMove(CPoint ptScreen);
    BOOL OnNcLButtonDown(CPoint ptScreen);
    void OnWindowPosChanging(WINDOWPOS* pPos);
    BOOL IsShadowWindow(HWND hWnd) const;
    BOOL OnTimer(UINT_PTR nIdEvent);
    void OnSizeOrStyle(UINT nMessage, WPARAM wParam);
    void OnGetMinMaxInfo(LPARAM lParam, LRESULT& lResult);
    void OnCompositionChanged();
    void TrackCaptionButton(CQVTControl* pButton);
    void ShowSystemMenu(LPARAM lParam);
    CQVTControl* HitTestCaptionButton(CPoint ptScreen) const;
    void SetFrameRegion(CSize sz, BOOL bForce);
    void FixScrollStyles();
    void CreateFrameShadow();
    void UpdateDwmFlag();
    BOOL IsFrameWindow() const;
    CPoint ToWindow(CPoint ptScreen) const;
    void InstallWinEventHook();
    void RemoveWinEventHook();
    void OnResourceImagesChanged(UINT nEvent, WPARAM wParam, LPARAM lParam);
    static void CALLBACK WinEventProc(HWINEVENTHOOK hHook, DWORD dwEvent, HWND hWnd, LONG idObject,
                                      LONG idChild, DWORD dwThread, DWORD dwTime);

    int m_nInDefaultActivation;         // above 0 while the system's activation or a forced recalc runs
    HWND m_hwndFrame;                   // the hooked window (the bars' site)
    CQVTRibbonBar* m_pRibbonBar;        // the bars' menu bar when it is a ribbon
    CQVTCommandBars* m_pCommandBars;    // the attached bars
    CQVTPaintManager* m_pPaintManager;  // own, referenced and observed
    BOOL m_bUseGlobalPaintManager;      // without bars: the global one, else the own one
    BOOL m_bActive;                     // the activation state as drawn
    CSize m_szFrameRegion;              // the size the region was last made for
    BOOL m_bDelayReclalcLayout;         // a recalculation waits for the idle update
    CQVTControls* m_pCaptionButtons;    // close, restore, maximize, minimize
    CQVTControl* m_pButtonHot;          // the button under the mouse
    BOOL m_bButtonPressed;              // the hot button is held down
    BOOL m_bAttached;                   // hooked to a frame
    BOOL m_bInUpdateFrame;              // a region update runs
    BOOL m_bDwmFrame;                   // desktop composition draws the frame
    BOOL m_bDestroying;                 // the destructor runs: the frame is not touched
    BOOL m_bExtendTopDockBar;           // the compositor frame covers the top dock bar too
    CQVTFrameShadow* m_pShadow;         // the frame's shadow or null
    BOOL m_bFixScrollStyles;            // scroll styles are hidden from the system's frame
    UINT m_nMsgUpdateSkinState;         // registered "WM_SKINFRAMEWORK_UPDATESTATE"
    UINT m_nMsgQuerySkinState;          // registered "WM_SKINFRAMEWORK_QUERYSTATE"
    CQVTNotifySink* m_pSink;            // to the resource images
    std::shared_ptr<BOOL> m_pAlive;     // held by a running press loop: FALSE once the hook is gone
    BOOL m_bWinEventUser = FALSE;       // counted among the window-event hook's users

    static BOOL s_bAllowDwm;
};

// Registered at start-up; hooked MDI children take their theme from it.
extern const UINT QVT_WM_UPDATE_MDI_CHILD_THEME;
