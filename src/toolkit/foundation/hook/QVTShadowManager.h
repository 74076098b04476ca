// Drop shadows of popup windows: a right and a bottom strip (and, for a
// window with a complex region, its cut-off corners) as separate click-through
// windows, layered and alpha-graded where the system can blend them, solid
// otherwise. Each shadow follows its owner through the hook manager.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/hook/QVTHookManager.h"

class CQVTShadowManager : public CQVTCmdTarget
{
public:
    typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                 BLENDFUNCTION*, DWORD);

    enum ShadowKind
    {
        shadowRight = 0,
        shadowBottom = 1,
        shadowCorner = 2
    };
    // Option bits.
    enum
    {
        shadowAlways = 1,      // even when the system's drop-shadow setting is off
        shadowExcludeRect = 2  // strips cut out the given rectangle; with bit 0, controls get shadows
    };

    class CShadowWnd : public CWnd, public CQVTHookManagerHookAble
    {
    public:
        CShadowWnd(CQVTShadowManager* pManager, HWND hWndOwner, int nKind, BOOL bControlShadow, int nLevel);

        BOOL CreateShadowWindow(const CRect& rcScreen);
        HWND GetOwnerWindow() const { return m_hWndOwner; }
        int GetKind() const { return m_nKind; }
        int GetLevel() const { return m_nLevel; }
        BOOL IsControlShadow() const { return m_bControlShadow; }
        BOOL HasRegion() const { return m_bRegionSet; }
        // Cuts the screen rectangles out of the window's region.
        void ExcludeRects(const CArray<CRect, const CRect&>& rects, BOOL bCornerRegion);

        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                          LRESULT& lResult) override;

    protected:
        void PostNcDestroy() override;
        afx_msg void OnPaint();
        afx_msg BOOL OnEraseBkgnd(CDC* pDC);
        afx_msg LRESULT OnNcHitTest(CPoint point);
        afx_msg void OnSize(UINT nType, int cx, int cy);
        DECLARE_MESSAGE_MAP()

    private:
        void UpdateLayered(int cx, int cy);
        // Drawn as a layered window blended by its alpha.
        BOOL IsBlended() const;

        CQVTShadowManager* m_pManager;
        HWND m_hWndOwner;       // the window that casts the shadow
        int m_nKind;            // right strip, bottom strip or corner
        BOOL m_bControlShadow;  // made for a control by SetControlShadow
        int m_nLevel;           // shadows of one level keep out of each other's owners
        BOOL m_bRegionSet;      // a window region was set on it
    };

    CQVTShadowManager();
    ~CQVTShadowManager() override;

    void SetShadow(CWnd* pWnd, const CRect& rcExclude = CRect(0, 0, 0, 0), int nLevel = 0);
    void SetShadow(HWND hWnd, const CRect& rcExclude = CRect(0, 0, 0, 0), int nLevel = 0);
    void SetControlShadow(const CRect& rcControl, CWnd* pWnd);
    void RemoveShadowsOf(CWnd* pWnd);
    void RemoveShadowsOf(HWND hWnd);
    // Moves the owner's shadows down by dy after the owner moved.
    void OffsetShadows(CWnd* pWnd, int dy);

    BOOL IsAlphaShadow() const { return m_bAlphaShadow; }
    int GetShadowOptions() const { return m_nShadowOptions; }
    void SetShadowOptions(int nOptions) { m_nShadowOptions = nOptions; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    void SetShadowColor(COLORREF clr) { m_clrShadow = clr; }
    const CList<CShadowWnd*, CShadowWnd*>& GetShadows() const { return m_lstShadows; }

    // The pixels of a strip cx by cy (bottom-up rows) for the options and
    // colour, as UpdateLayeredWindow gets them.
    static void AFX_CDECL FillShadowBits(DWORD* pBits, int cx, int cy, int nKind, int nOptions,
                                         COLORREF clrShadow);

    // USER32's, looked up once; tests may watch the calls through it.
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;

private:
    friend class CShadowWnd;

    CShadowWnd* CreateShadow(HWND hWndOwner, CRect rcShadow, int nKind, BOOL bControl, int nLevel,
                             const CRect& rcExclude);
    void ForgetShadow(CShadowWnd* pShadow);

    BOOL m_bAlphaShadow = FALSE;  // layered alpha strips are possible
    int m_nShadowOptions = 0;
    COLORREF m_clrShadow = RGB(0, 0, 0);
    CList<CShadowWnd*, CShadowWnd*> m_lstShadows;
};
