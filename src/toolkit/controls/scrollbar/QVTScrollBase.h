// The toolkit's own scroll-bar logic: from a rectangle and a SCROLLINFO it
// lays out arrows, track and thumb, hit-tests points and runs the modal
// tracking of a pressed part with auto-repeat. It reports scroll commands
// through DoScroll and leaves every pixel to a scroll-bar paint manager.
// Controls embed it as a second base and answer its virtual operations.
#pragma once

#include <afxwin.h>

#include <memory>

class CQVTScrollBarPaintManager;

// Hit codes of the parts of a scroll bar.
enum QVTScrollBarHit
{
    qvtScrollHitNone = 0,
    qvtScrollHitUpArrow = 60,
    qvtScrollHitDownArrow = 61,
    qvtScrollHitPageUp = 62,
    qvtScrollHitPageDown = 63,
    qvtScrollHitThumb = 64,
    qvtScrollHitBeyondTrack = 65
};

// The geometry of one scroll bar, all along the bar's axis unless noted.
struct QVT_SCROLLBAR_POSINFO
{
    int posMin;
    int posMax;
    int page;
    int pos;
    int pxTop;  // the rectangle's extent along the bar
    int pxBottom;
    int pxLeft;  // and across it
    int pxRight;
    int cpxThumb;     // thumb length
    int pxUpArrow;    // end of the first arrow
    int pxDownArrow;  // start of the second arrow
    int pxThumbBottom;
    int pxThumbTop;
    int pxPopup;  // parts beyond this coordinate hit 65; 0 none
    int cxy;      // movable length: track less thumb
    int pxStart;  // track start
    RECT rc;
    int ht;  // the pressed part while tracking, else the hot part
    BOOL fVert;
    BOOL fSizebox;
};

// The state of one tracking loop; exists only while it runs.
struct QVT_SCROLLBAR_TRACKINFO
{
    BOOL fHitOld;  // the cursor is over the pressed part
    RECT rcTrack;  // the pressed part
    UINT cmdSB;    // 0 line up, 1 line down, 2 page up, 3 page down, 4 thumb
    UINT_PTR hTimerSB;
    int dpxThumb;  // cursor to thumb start while dragging
    int pxOld;     // last thumb pixel
    int posOld;    // last position sent
    int posNew;
    int pxStartDrag;  // where the drag began, for the snap back
    int posStartDrag;
    HWND hWndTrack;
    QVT_SCROLLBAR_POSINFO* pSBInfo;
    BOOL bTrackThumb;
};

class CQVTScrollBase
{
public:
    enum
    {
        TIMER_SCROLL_REPEAT = 23345,
        TIMER_SCROLL_ANIMATION = 23346
    };

    CQVTScrollBase();
    virtual ~CQVTScrollBase();
    CQVTScrollBase(const CQVTScrollBase&) = delete;
    CQVTScrollBase& operator=(const CQVTScrollBase&) = delete;

    // What the owner answers.
    virtual CWnd* GetParentWindow() const = 0;
    virtual BOOL IsEnabled() const = 0;
    virtual CQVTScrollBarPaintManager* GetScrollBarPaintManager() const = 0;
    virtual void GetScrollBarRect(CRect& rc) = 0;
    virtual void GetScrollInfo(SCROLLINFO* pSI) = 0;
    virtual void RedrawScrollBar() = 0;
    virtual void OnAnimationTimer() {}
    virtual void DoScroll(int cmd, int pos) = 0;
    virtual void CalcScrollBarInfo(LPRECT lprc, QVT_SCROLLBAR_POSINFO* pSBInfo, SCROLLINFO* pSI);

    // A hit code of the point, 0 outside the bar and for a size box.
    int HitTestScrollBar(POINT pt) const;
    // Runs the modal tracking of the part under the point (client
    // coordinates of pWnd); bDirect jumps the thumb to a pressed page area.
    void TrackScrollBar(CWnd* pWnd, CPoint point, QVT_SCROLLBAR_POSINFO* pSBInfo, BOOL bDirect);
    // Fetches rectangle and SCROLLINFO from the owner and recomputes.
    void UpdateScrollBarInfo();

    QVT_SCROLLBAR_POSINFO* GetScrollBarPosInfo() { return &m_spi; }
    const QVT_SCROLLBAR_POSINFO* GetScrollBarPosInfo() const { return &m_spi; }
    const QVT_SCROLLBAR_TRACKINFO* GetScrollBarTrackInfo() const { return m_pSBTrack.get(); }
    BOOL IsTracking() const { return m_pSBTrack != nullptr; }
    // The thumb is being dragged.
    BOOL IsThumbDragging() const { return m_pSBTrack && m_pSBTrack->bTrackThumb; }
    // The part drawn pressed now (0 none) and the part drawn hot (0 none).
    int GetPressedPart() const;
    int GetHotPart() const { return m_pSBTrack ? 0 : m_nHotPart; }
    void SetHotPart(int nHotPart) { m_nHotPart = nHotPart; }
    int GetThemeStyle() const { return m_nThemeStyle; }
    int GetRepeatInterval() const { return m_nRepeatInterval; }
    BOOL IsAnimating() const { return m_bAnimating; }

    // The position a thumb pixel stands for.
    int PixelToPosition(int px) const;

protected:
    void CalcTrackDragRect(QVT_SCROLLBAR_TRACKINFO* pSBTrack, CRect& rc) const;
    void RunTrackingLoop(HWND hWnd);
    void OnPressMessage(UINT message, CPoint point);
    void OnDragMessage(UINT message, WPARAM wParam, CPoint point);
    void OnRepeatTimer();
    void EndTracking();
    void StartRepeatTimer(UINT nInterval);
    CRect GetPartRect(int ht) const;

    QVT_SCROLLBAR_POSINFO m_spi;                          // the geometry
    std::unique_ptr<QVT_SCROLLBAR_TRACKINFO> m_pSBTrack;  // null except while tracking
    int m_nHotPart;                                       // part under the mouse, kept by the owner
    int m_nThemeStyle;                                    // set by the control's theme factory
    BOOL m_bAnimating;      // messages keep being pumped after tracking while set
    int m_nRepeatInterval;  // ms of the running repeat timer
    BOOL m_bTrackingEnded;  // the loop's end request
};
