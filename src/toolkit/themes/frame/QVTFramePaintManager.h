// The part of a theme that draws a window frame for the frame hook: borders,
// caption background, icon, title and caption buttons, and the frame's
// metrics and window region. Each paint manager makes its own on request.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CQVTControls;
class CQVTFrameShadow;
class CQVTRibbonBar;

// The frame hook as the frame paint managers see it: the frame it hooks and
// the state it keeps for drawing. The hook answers these; tests answer them
// for a plain window.
class IQVTFrameHook
{
public:
    virtual ~IQVTFrameHook() {}

    virtual HWND GetSite() const = 0;
    // The activation state as drawn.
    virtual BOOL IsFrameActive() const = 0;
    // Desktop composition draws the frame.
    virtual BOOL IsDwmEnabled() const = 0;
    virtual BOOL IsCaptionVisible() const = 0;
    // Caption plus top border, in pixels.
    virtual int GetCaptionHeight() const = 0;
    // A visible status bar merged into the bottom border; its height.
    virtual BOOL IsFrameHasStatusBar(int* pnHeight = nullptr) const = 0;
    // The ribbon of the bars, or null.
    virtual CQVTRibbonBar* GetRibbonBar() const = 0;
    virtual CQVTFrameShadow* GetFrameShadow() const = 0;
    // Close, restore, maximize, minimize, laid out in window coordinates.
    virtual CQVTControls* GetCaptionButtons() const = 0;
    // The ribbon's own caption drawing over the frame's.
    virtual void DrawRibbonFrameCaption(CDC* pDC) = 0;
};

class CQVTFramePaintManager : public CObject
{
    DECLARE_DYNAMIC(CQVTFramePaintManager)

public:
    explicit CQVTFramePaintManager(CQVTPaintManager* pPaintManager);
    ~CQVTFramePaintManager() override;

    // The caption area in window coordinates.
    virtual CRect GetCaptionRect(IQVTFrameHook* pFrameHook);
    // The four border widths.
    virtual CRect CalcFrameBorders(IQVTFrameHook* pFrameHook);
    virtual void OnCaptionButtonsLayout(IQVTFrameHook* pFrameHook) {}
    // The window region for that size; null for none. The caller owns it.
    virtual HRGN CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz) = 0;
    virtual void DrawFrame(CDC* pDC, IQVTFrameHook* pFrameHook) = 0;
    // Draws the icon and moves the rectangle's left edge past it.
    virtual void DrawFrameIcon(CDC* pDC, IQVTFrameHook* pFrameHook, CRect& rc);
    // Draws every visible caption button and limits the rectangle's right edge.
    virtual void DrawCaptionButtons(CDC* pDC, IQVTFrameHook* pFrameHook, CRect& rc);
    virtual void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                   BOOL bActive, CQVTRibbonBar* pRibbonBar) = 0;
    virtual void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                   BOOL bActive);
    virtual CSize GetCaptionButtonSize(int nId, HWND hWnd);
    virtual CSize GetCaptionButtonSize();
    virtual CRect GetCaptionButtonMargin();
    virtual int GetCaptionHeight();
    virtual void RefreshMetrics();
    virtual void DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive, CQVTRibbonBar* pRibbonBar);
    virtual void DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive);
    virtual void FillCaptionBackground(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive);
    // The frame's shadow, or null; the caller takes it.
    virtual CQVTFrameShadow* CreateShadow(CWnd* pFrame);
    virtual void OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow) {}

    CQVTPaintManager* GetPaintManager() const { return m_pPaintManager; }
    CFont* GetCaptionFont() { return m_fontCaption.GetFont(); }

    // The frame's large and small icons as the window manager would show them.
    static HICON AFX_CDECL GetFrameLargeIcon(HWND hWnd);
    static HICON AFX_CDECL GetFrameSmallIcon(HWND hWnd);

public:
    BOOL m_bAllowStatusBarInFrame;  // the bottom border may take a status bar
    CQVTPaintManagerFont m_fontCaption;
    BOOL m_bFrameStatusBar;  // unused flag kept for themes that store one
    int m_nCaptionHeight;
    CQVTPaintManager* m_pPaintManager;  // the owner
    BOOL m_bExtendTabsIntoFrame;        // the compositor frame takes the tab row too
    BOOL m_bCaptionCenterAligned;
    HICON m_hIcon;         // drawn in place of the frame's small icon; not owned
    CSize m_szIcon;        // 0 x 0: the icon's own bitmap size
    CRect m_rcIconMargin;  // left and right around the icon
    CRect m_rcCaptionButtonMargin;
    CSize m_szCaptionButton;       // top-level frames
    CSize m_szChildCaptionButton;  // child frames
    CQVTPaintManagerColor m_clrCaptionBackgroundActive;
    CQVTPaintManagerColor m_clrCaptionBackgroundInactive;
    CQVTPaintManagerColor m_clrCaptionTextActive;
    CQVTPaintManagerColor m_clrCaptionTextInactive;
    CQVTPaintManagerColor m_clrTitleTextActive;
    CQVTPaintManagerColor m_clrRibbonCaptionTextActive;
    CQVTPaintManagerColor m_clrRibbonCaptionTextInactive;
    CQVTPaintManagerColor m_clrRibbonTitleTextActive;
};
