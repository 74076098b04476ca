// The process's frame shadows: one per themed frame, followed through a
// window hook per UI thread that counts the shadows of its thread, with the
// options that hide shadows or let the mouse through them (also while the
// session is remote) and the observers told when shadows come and go.
#pragma once

#include <afxwin.h>

#include <map>
#include <vector>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/sync/QVTRWCriticalSection.h"

// Session notifications; Wine's headers leave them out.
#ifndef WM_WTSSESSION_CHANGE
#define WM_WTSSESSION_CHANGE 0x02B1
#endif
#ifndef WTS_REMOTE_CONNECT
#define WTS_REMOTE_CONNECT 0x3
#define WTS_REMOTE_DISCONNECT 0x4
#endif
#ifndef NOTIFY_FOR_THIS_SESSION
#define NOTIFY_FOR_THIS_SESSION 0
#endif

class CQVTFrameShadow;
class CQVTFrameShadowManager;

// Observers of the shadow manager. Base implementations do nothing.
class IQVTFrameShadowManagerEvents
{
public:
    virtual ~IQVTFrameShadowManagerEvents() {}
    virtual void OnShadowCreated(HWND hWndFrame, CQVTFrameShadow* pShadow) {}
    virtual void OnShadowDestroyed(HWND hWndFrame, CQVTFrameShadow* pShadow) {}
    virtual void OnShadowOptionsChanged(int nOldOptions, int nNewOptions) {}
};

class CQVTFrameShadowManager : public CQVTCmdTarget,
                               public CQVTObservable<CQVTFrameShadowManager, IQVTFrameShadowManagerEvents>
{
public:
    typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                 BLENDFUNCTION*, DWORD);

    // Option bits.
    enum
    {
        optionNoShadows = 1,
        optionInvisible = 2,
        optionNoHitTest = 4,
        optionRemoteInvisibleNoHitTest = 8,
        optionRemoteInvisible = 16
    };

    // The hidden window that hears remote-desktop changes.
    class CWtsEventListener : public CWnd
    {
    public:
        explicit CWtsEventListener(CQVTFrameShadowManager* pManager);
        ~CWtsEventListener() override;

        BOOL CreateListener();
        // Registers with the session notifications while shadows exist.
        void SetRegistered(BOOL bRegister);
        BOOL IsRegistered() const { return m_bRegistered; }

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        typedef BOOL(WINAPI* PFNREGISTER)(HWND, DWORD);
        typedef BOOL(WINAPI* PFNUNREGISTER)(HWND);

        CQVTFrameShadowManager* m_pManager;
        HMODULE m_hWtsApi = nullptr;  // wtsapi32.dll, loaded with the listener
        PFNREGISTER m_pfnRegister = nullptr;
        PFNUNREGISTER m_pfnUnregister = nullptr;
        BOOL m_bRegistered = FALSE;
    };

    CQVTFrameShadowManager();
    ~CQVTFrameShadowManager() override;

    static CQVTFrameShadowManager* AFX_CDECL GetInstance();

    // The frame's shadow, made when it has none. Colour -1, sizes 0, an
    // offset below 1 in both coordinates and transparency 0 take the
    // manager's defaults. None when shadows are off or unsupported, or the
    // window cannot be made.
    CQVTFrameShadow* EnableShadow(HWND hWndFrame, COLORREF clr = static_cast<COLORREF>(-1),
                                  int nOuterSize = 0, int nInnerSize = 0, CPoint ptOffset = CPoint(0, 0),
                                  BYTE nTransparency = 0);
    CQVTFrameShadow* EnableShadow(CWnd* pFrame, COLORREF clr = static_cast<COLORREF>(-1), int nOuterSize = 0,
                                  int nInnerSize = 0, CPoint ptOffset = CPoint(0, 0), BYTE nTransparency = 0);
    void DisableShadow(HWND hWndFrame);
    void DisableShadow(CWnd* pFrame);
    CQVTFrameShadow* GetShadow(HWND hWndFrame);
    int GetShadowCount();

    BOOL IsShadowSupported() const { return m_pfnUpdateLayeredWindow != nullptr; }

    void SetOptions(int nOptions);
    int GetOptions() const { return m_nOptions; }
    int GetEffectiveOptions() const { return m_nEffectiveOptions; }
    void SetRemoteSession(BOOL bRemote, BOOL bUpdate);
    BOOL IsRemoteSession() const { return m_bRemoteSession; }

    // What EnableShadow takes when its arguments ask for the defaults.
    void SetDefaults(COLORREF clr, int nOuterSize, int nInnerSize, CPoint ptOffset, BYTE nTransparency);
    // Stops every new shadow is given: equal counts, as GDI+ takes them. An
    // invalid pair is refused and the stops stay as they were; empty clears.
    BOOL SetBlendStops(const std::vector<float>& positions, const std::vector<float>& factors);
    int GetBlendStops(std::vector<float>* pPositions, std::vector<float>* pFactors) const;

    void UpdateAll(BOOL bRedraw);

    // Shadows of the thread counted on its window hook; 0 when it has none.
    int GetThreadHookCount(DWORD dwThreadId);
    CWtsEventListener* GetSessionListener() { return m_pListener; }

    // USER32's, looked up once; tests watch the calls through it.
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;

    // Largest outer and inner sizes kept: a shadow is a few pixels wide, and
    // a size beyond this only makes bitmaps no screen shows.
    static const int kMaxShadowSize = 256;

private:
    friend class CQVTFrameShadow;

    struct CFrameShadowHook
    {
        HHOOK hHook;
        int nCount;  // shadows of the thread
    };

    static LRESULT CALLBACK CallWndRetProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnFrameMessage(const CWPRETSTRUCT* pMessage);
    int ComputeEffectiveOptions() const;
    void ApplyEffectiveOptions();
    BOOL AddThreadHook(DWORD dwThreadId);
    void ReleaseThreadHook(DWORD dwThreadId);
    // Holds the shadow of the frame for the caller, or null.
    CQVTFrameShadow* FindAndHold(HWND hWndFrame);
    std::vector<CQVTFrameShadow*> HoldAll();

    int m_nOptions = optionRemoteInvisibleNoHitTest;
    int m_nEffectiveOptions = 0;
    BOOL m_bRemoteSession = FALSE;
    CWtsEventListener* m_pListener = nullptr;
    std::map<HWND, CQVTFrameShadow*> m_shadows;
    int m_nDefaultOuterSize = 0;
    int m_nDefaultInnerSize = 0;
    CPoint m_ptDefaultOffset = CPoint(0, 0);
    COLORREF m_clrDefault = 0;
    BYTE m_nDefaultTransparency = 0;
    std::vector<float> m_blendPositions;
    std::vector<float> m_blendFactors;
    QVTSpinGuard m_guard;  // guards m_shadows and m_threadHooks
    std::map<DWORD, CFrameShadowHook> m_threadHooks;
    BOOL m_bUpdating = FALSE;  // UpdateAll is running
};
