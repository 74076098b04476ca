// The mouse loops of one toolbar: dragging it between dock bars and rows or
// off them to float, resizing it while it floats, and toggling between its
// last docked and floating places on a double click.
#pragma once

#include <afxwin.h>

class CQVTToolBar;

class CQVTDockContext
{
public:
    enum Mode
    {
        modeNone = 0,
        modeDrag = 1,
        // 10..17: resizing by the hit code HTLEFT..HTBOTTOMRIGHT
    };

    explicit CQVTDockContext(CQVTToolBar* pBar);
    virtual ~CQVTDockContext();

    // Points are in screen coordinates.
    virtual void StartDrag(CPoint point);
    virtual void StartResize(int nHitTest, CPoint point);
    // FALSE when the bar may not change between docked and floating.
    virtual BOOL ToggleDocking();
    // The modal loop; FALSE when the mouse could not be captured.
    virtual BOOL Track();

    CQVTToolBar* m_pBar;
    int m_nMode;
    CPoint m_ptLast;         // the mouse at the last step (screen)
    int m_uMRUDockPosition;  // 0..3, the dock bar the bar was last in
    CRect m_rectMRUDockPos;  // last docked rectangle, dock bar client coordinates
    CPoint m_ptMRUFloatPos;  // last floating position (screen)
    CRect m_rectDragDock;    // where the bar would dock (screen)
    CRect m_rectDragFrame;   // where the bar would float (screen)

protected:
    void Move(CPoint point);
    void Stretch(CPoint point);
    void StretchFreely(CPoint point);
    void StretchToolBar(CPoint point);
    // The work area of the monitor that holds the point.
    static CRect WorkAreaAt(CPoint point);

    CRect m_rectTrack;  // the resized rectangle as the mouse has moved it
};
