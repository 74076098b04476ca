#include "toolkit/commandbars/controls/QVTControlComboBoxEditCtrl.h"

#include <afxext.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTControlComboBoxEditCtrl, CQVTControlEditCtrl)

BEGIN_MESSAGE_MAP(CQVTControlComboBoxEditCtrl, CQVTControlEditCtrl)
    ON_MESSAGE(WM_QVT_AUTOSUGGESTSHOWN, &CQVTControlComboBoxEditCtrl::OnAutoSuggestShown)
END_MESSAGE_MAP()

LRESULT CQVTControlComboBoxEditCtrl::OnAutoSuggestShown(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    CQVTControl* pControl = GetHostControl();
    CQVTCommandBar* pBar = GetHostBar();
    if (pBar && pControl->GetPopuped())
        pBar->SetPopuped(-1);
    return 0;
}
