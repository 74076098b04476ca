#include "toolkit/commandbars/controls/QVTControlComboBoxPopupBar.h"

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

IMPLEMENT_SERIAL(CQVTControlComboBoxPopupBar, CQVTPopupBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlComboBox* CQVTControlComboBoxPopupBar::GetComboBox() const
{
    return DYNAMIC_DOWNCAST(CQVTControlComboBox, m_pControlPopup);
}

BOOL CQVTControlComboBoxPopupBar::ProcessHookKeyDown(CQVTControlComboBox* pComboBox, UINT nChar,
                                                     LPARAM /*lParam*/)
{
    if (!pComboBox)
        return FALSE;
    const int nOld = GetCurSel();
    int nNew = nOld;
    const int nCount = GetCount();
    if (nChar == VK_DOWN || nChar == VK_NEXT)
        nNew = nOld + 1 < nCount ? nOld + 1 : nOld;
    else if (nChar == VK_UP || nChar == VK_PRIOR)
        nNew = nOld >= 1 ? nOld - 1 : nOld;
    else
        return FALSE;
    if (nNew != nOld && nNew >= 0)
    {
        SetCurSel(nNew);
        pComboBox->OnSelChanged();
        pComboBox->SelectEditText();
    }
    return TRUE;
}
