// Screen geometry of the toolkit's accessible objects, as IAccessible hands
// it over: a rectangle through accLocation's four values, and a point that
// a client hit-tests, taken into a window's client area.
#pragma once

#include <afxwin.h>

// The screen rectangle in accLocation's values; S_OK.
inline HRESULT QVTAccessibleLocation(const CRect& rcScreen, LONG* pxLeft, LONG* pyTop, LONG* pcxWidth,
                                     LONG* pcyHeight)
{
    *pxLeft = rcScreen.left;
    *pyTop = rcScreen.top;
    *pcxWidth = rcScreen.Width();
    *pcyHeight = rcScreen.Height();
    return S_OK;
}

// The screen point in the window's client coordinates; false where it lies
// outside the window.
inline bool QVTAccessibleHitPoint(const CWnd* pWnd, LONG xLeft, LONG yTop, CPoint& ptClient)
{
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    ptClient = CPoint(xLeft, yTop);
    if (!rcWindow.PtInRect(ptClient))
        return false;
    pWnd->ScreenToClient(&ptClient);
    return true;
}
