// The painting of one bar: an off-screen copy of the bar's last image, and,
// when animation is on, a short cross-fade from the old image of a changed
// part (a control turning hot, pressed or checked) to the new one. Without
// animation the paint is double-buffered.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

class CQVTCommandBar;

class CQVTCommandBarAnimation
{
public:
    enum
    {
        TIMER_ANIMATION = 707907,
        ANIMATION_INTERVAL = 50,  // ms per step
        LAST_STEP = 6
    };

    explicit CQVTCommandBarAnimation(CQVTCommandBar* pBar);
    virtual ~CQVTCommandBarAnimation();
    CQVTCommandBarAnimation(const CQVTCommandBarAnimation&) = delete;
    CQVTCommandBarAnimation& operator=(const CQVTCommandBarAnimation&) = delete;

    void OnPaint(CPaintDC& dc);
    // Null redraws the whole bar.
    void RedrawRect(LPCRECT lpRect, BOOL bAnimate);
    // One timer step of every running fade.
    void OnAnimate();
    void OnDestroyWindow();
    void RemoveAnimations();

    BOOL IsAnimationEnabled() const;
    void SetAnimationEnabled(BOOL bEnable) { m_bAnimationEnabled = bEnable; }
    BOOL GetAnimationEnabled() const { return m_bAnimationEnabled; }
    void SetAlwaysBuffer(BOOL bAlwaysBuffer) { m_bAlwaysBuffer = bAlwaysBuffer; }
    int GetAnimationCount() const { return static_cast<int>(m_animations.size()); }
    BOOL IsTimerRunning() const { return m_nTimer != 0; }
    BOOL HasCache() const { return m_bmpCache.GetSafeHandle() != nullptr; }

protected:
    // One cross-fade: the new and the old image of a rectangle.
    class CAnimateInfo
    {
    public:
        CAnimateInfo() = default;
        ~CAnimateInfo();
        CAnimateInfo(const CAnimateInfo&) = delete;
        CAnimateInfo& operator=(const CAnimateInfo&) = delete;

        HBITMAP hNew = nullptr;
        DWORD* pNewBits = nullptr;
        HBITMAP hOld = nullptr;
        DWORD* pOldBits = nullptr;
        CRect rc;                        // client coordinates
        int nStep = 1;                   // 1 to LAST_STEP
        std::vector<CRect> arrExcluded;  // later redraws the fade leaves alone
    };

    void DrawBar(CDC* pDC, const CRect& rcClip);
    BOOL EnsureCache(const CRect& rcClient);
    void DrawStep(CAnimateInfo* pInfo);
    void StopTimer();

    CQVTCommandBar* m_pBar;    // owner, not counted
    CBitmap m_bmpCache;        // last image of the whole client area
    BOOL m_bDirty;             // the cache must be redrawn at the next paint
    UINT_PTR m_nTimer;         // running animation timer, 0 none
    BOOL m_bAnimationEnabled;  // this bar's own switch
    BOOL m_bAlwaysBuffer;      // paint through the cache even without animation
    std::vector<std::unique_ptr<CAnimateInfo>> m_animations;
};
