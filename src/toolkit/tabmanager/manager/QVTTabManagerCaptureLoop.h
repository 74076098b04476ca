// The mouse-capture loops of tab strips pump the thread's messages
// themselves; these pieces keep them safe: the capture is let go and a quit
// message posted again however the loop ends, and the items the loop works
// on stay allocated while handlers run.
#pragma once

#include <afxwin.h>

#include "toolkit/tabmanager/manager/QVTTabManagerItem.h"

// One reference on an item (or none) for a scope.
class CQVTTabItemReference
{
public:
    explicit CQVTTabItemReference(CQVTTabManagerItem* pItem) : m_pItem(pItem)
    {
        if (m_pItem)
            m_pItem->InternalAddRef();
    }
    ~CQVTTabItemReference()
    {
        if (m_pItem)
            m_pItem->InternalRelease();
    }
    CQVTTabItemReference(const CQVTTabItemReference&) = delete;
    CQVTTabItemReference& operator=(const CQVTTabItemReference&) = delete;
    CQVTTabManagerItem* Get() const { return m_pItem; }

private:
    CQVTTabManagerItem* m_pItem;
};

class CQVTTabCaptureLoop
{
public:
    // Takes the capture; a window that does not get it runs no loop.
    explicit CQVTTabCaptureLoop(CWnd* pWnd);
    ~CQVTTabCaptureLoop();
    CQVTTabCaptureLoop(const CQVTTabCaptureLoop&) = delete;
    CQVTTabCaptureLoop& operator=(const CQVTTabCaptureLoop&) = delete;

    BOOL IsRunning() const { return m_bRunning; }
    void End() { m_bRunning = FALSE; }
    // The next message for the loop to handle. The endings every loop
    // shares are handled here and give FALSE: quit, lost capture (the
    // message is dispatched), WM_CANCELMODE, Escape, the right button;
    // other keys are swallowed.
    BOOL Next(MSG& msg);
    // As Next, but returns at once with FALSE and bIdle set when no message
    // waits before the timeout.
    BOOL NextOrIdle(MSG& msg, DWORD dwTimeout, BOOL& bIdle);
    void Dispatch(const MSG& msg);
    // Lets the capture go when this window still has it.
    void ReleaseCapture();

    CPoint GetPoint() const { return m_ptLast; }
    void SetPoint(CPoint pt) { m_ptLast = pt; }
    HWND GetHwnd() const { return m_hWnd; }

private:
    // GetMessage; FALSE, ending the loop, on a quit message (kept to post
    // again) or an error.
    BOOL Receive(MSG& msg);
    BOOL Filter(MSG& msg);

    HWND m_hWnd;
    BOOL m_bRunning = FALSE;
    BOOL m_bQuit = FALSE;
    WPARAM m_nQuitCode = 0;
    CPoint m_ptLast;
};
