// Kept apart from the popup bar's other code: the skinned menus link this
// alone.
#include "toolkit/commandbars/bars/QVTPopupBar.h"

BOOL CQVTPopupBar::ScrollButtonHitTest(SCROLLBUTTONSTATE* pState, CPoint point)
{
    if (pState == nullptr || pState->hWnd == nullptr)
        return FALSE;
    if (!pState->rcButton.IsRectEmpty() && pState->rcButton.PtInRect(point))
    {
        if (!pState->bTimerRunning)
            pState->bTimerRunning = ::SetTimer(pState->hWnd, pState->nTimerId, 200, nullptr) != 0;
        return TRUE;
    }
    if (pState->bTimerRunning)
        ::KillTimer(pState->hWnd, pState->nTimerId);
    pState->bTimerRunning = FALSE;
    return FALSE;
}
