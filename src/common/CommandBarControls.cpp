#include "common/CommandBarControls.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"

namespace {

// Popup bars nest no deeper than menus do; a bar that (wrongly) holds
// itself further down must not recurse for ever.
const int kDeepestPopup = 32;

void ShowControlsOf(CQVTCommandBar* pBar, int nType, int nId, BOOL bShow, int nDepth)
{
    if (pBar == nullptr || pBar->GetControls() == nullptr || nDepth > kDeepestPopup)
        return;
    CQVTControls* pControls = pBar->GetControls();
    for (int i = 0; i < pControls->GetCount(); ++i)
    {
        CQVTControl* pControl = pControls->GetAt(i);
        if (pControl == nullptr)
            continue;
        if ((nType == 0 || pControl->GetType() == nType) && (nId == -1 || pControl->GetID() == nId))
            pControl->SetVisible(bShow);
        ShowControlsOf(pControl->GetCommandBar(), nType, nId, bShow, nDepth + 1);
    }
}

}  // namespace

void AFXAPI EnableCommandBarControls(CQVTCommandBars* pCommandBars, int nType, int nId, BOOL bShow)
{
    if (pCommandBars == nullptr)
        return;
    for (int i = pCommandBars->GetCount() - 1; i >= 0; --i)
        ShowControlsOf(pCommandBars->GetAt(i), nType, nId, bShow, 0);
}
