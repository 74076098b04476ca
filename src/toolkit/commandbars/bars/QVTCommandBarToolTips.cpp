// The tooltip of a bar: the bars' shared tooltip context asks the bar which
// control is under the cursor and what it says. (A further file of
// CQVTCommandBar.)
#include "toolkit/commandbars/bars/QVTCommandBar.h"

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"

INT_PTR CQVTCommandBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (!GetSafeHwnd() || m_nPopuped != -1)
        return -1;
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (pMouseManager->IsInDragLoop())
        return -1;
    // A popup of another bar is open.
    for (int i = 0; i < pMouseManager->GetTrackCount(); ++i)
    {
        CQVTCommandBar* pTracked = pMouseManager->GetTrackedAt(i);
        if (pTracked != this && pTracked->IsPopupBar())
            return -1;
    }
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CQVTCommandBarsOptions* pOptions = pCommandBars ? pCommandBars->GetCommandBarsOptions() : nullptr;
    if (pOptions && !pOptions->bToolBarScreenTips)
        return -1;
    CQVTControl* pControl = m_pControls->HitTest(point);
    if (!pControl)
        return -1;
    if (IsPopupBar() && !(pOptions && pOptions->bShowPopupBarToolTips) &&
        !(pControl->GetFlags() & qvtFlagShowPopupBarTip))
        return -1;
    const INT_PTR nOwn = pControl->OnToolHitTest(point, pTI);
    if (nOwn != -1)
        return nOwn;
    CString strTip = pControl->GetTooltip();
    if (strTip.IsEmpty())
        return -1;
    if (pOptions && pOptions->bToolBarAccelTips && strTip[0] != _T('<'))
    {
        const CString strShortcut = pControl->GetShortcutText();
        if (!strShortcut.IsEmpty())
            strTip += _T(" (") + strShortcut + _T(")");
    }
    const INT_PTR nHit = pControl->GetID() == 0 ? -1 : pControl->GetID();
    if (pTI)
        CQVTToolTipContext::FillInToolInfoEx(pTI, m_hWnd, pControl->GetRect(), nHit, strTip,
                                             pControl->GetDescription(), GetImageManager());
    return nHit;
}
