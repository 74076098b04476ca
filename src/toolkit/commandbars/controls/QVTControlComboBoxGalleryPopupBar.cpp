#include "toolkit/commandbars/controls/QVTControlComboBoxGalleryPopupBar.h"

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

IMPLEMENT_SERIAL(CQVTControlComboBoxGalleryPopupBar, CQVTControlComboBoxPopupBar,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

BEGIN_MESSAGE_MAP(CQVTControlComboBoxGalleryPopupBar, CQVTControlComboBoxPopupBar)
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CQVTControlComboBoxGalleryPopupBar* AFX_CDECL
CQVTControlComboBoxGalleryPopupBar::CreateComboBoxGalleryPopupBar(CQVTCommandBars* pCommandBars)
{
    auto* pPopup = new CQVTControlComboBoxGalleryPopupBar();
    pPopup->SetCommandBars(pCommandBars);
    return pPopup;
}

CQVTControlGallery* CQVTControlComboBoxGalleryPopupBar::GetGalleryItem() const
{
    return GetControlCount() > 0 ? DYNAMIC_DOWNCAST(CQVTControlGallery, GetControl(0)) : nullptr;
}

int CQVTControlComboBoxGalleryPopupBar::GetCurSel() const
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    return pGallery ? pGallery->GetSelectedItem() : -1;
}

int CQVTControlComboBoxGalleryPopupBar::FindString(int nStartAfter, LPCTSTR lpszItem) const
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    return pGallery ? pGallery->FindItem(nStartAfter, lpszItem, FALSE) : -1;
}

int CQVTControlComboBoxGalleryPopupBar::FindStringExact(int nStartAfter, LPCTSTR lpszItem) const
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    return pGallery ? pGallery->FindItem(nStartAfter, lpszItem, TRUE) : -1;
}

int CQVTControlComboBoxGalleryPopupBar::SetTopIndex(int nIndex)
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    if (!pGallery)
        return -1;
    pGallery->ScrollItemToTop(nIndex);
    return 0;
}

void CQVTControlComboBoxGalleryPopupBar::SetCurSel(int nIndex)
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    if (pGallery)
        pGallery->SetSelectedItem(nIndex);
}

void CQVTControlComboBoxGalleryPopupBar::GetText(int nIndex, CString& strText) const
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    strText = pGallery ? pGallery->GetItemCaption(nIndex) : CString();
}

int CQVTControlComboBoxGalleryPopupBar::GetCount() const
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    return pGallery ? pGallery->GetItemCount() : -1;
}

BOOL CQVTControlComboBoxGalleryPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    CQVTControlComboBox* pCombo = GetComboBox();
    if (!CQVTControlComboBoxPopupBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard))
        return FALSE;
    if (bMode)
    {
        CQVTControlGallery* pGallery = GetGalleryItem();
        if (pGallery)
            SetSelected(pGallery->GetIndex(), selectByKeyboardForward);
        if (pCombo)
        {
            pCombo->UpdatePopupSelection();
            pCombo->NotifySite(QVT_CBN_DROPDOWN);
        }
    }
    else if (pCombo)
        pCombo->NotifySite(QVT_CBN_CLOSEUP);
    return TRUE;
}

int CQVTControlComboBoxGalleryPopupBar::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    CQVTControlComboBox* pCombo = GetComboBox();
    if (pCombo && !(pCombo->GetEditCtrl() && pCombo->GetEditCtrl()->IsImeComposing()))
    {
        switch (nChar)
        {
        case VK_ESCAPE:
            if (pCombo->GetFocused())
                return keyNotForBar;
            break;
        case VK_TAB:
            return keyNotForBar;
        case VK_RETURN:
        {
            CQVTControlGallery* pGallery = GetGalleryItem();
            if (pGallery && GetSelectedIndex() == pGallery->GetIndex())
            {
                CQVTObjectRef<CQVTControl> keepCombo(pCombo);
                pCombo->OnExecute();
                return keyHandled;
            }
            break;
        }
        default:
            break;
        }
    }
    return CQVTControlComboBoxPopupBar::OnHookKeyDown(nChar, lParam);
}

void CQVTControlComboBoxGalleryPopupBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    CQVTControlGallery* pGallery = GetGalleryItem();
    CQVTControlComboBox* pCombo = GetComboBox();
    if (pGallery && pCombo && pGallery->GetRect().PtInRect(point) && pGallery->HitTestItem(point) != -1)
    {
        CQVTObjectRef<CQVTControl> keepCombo(pCombo);
        pCombo->OnSelChanged();
        pCombo->OnExecute();
        return;
    }
    CQVTControlComboBoxPopupBar::OnLButtonUp(nFlags, point);
}

CQVTCommandBar* CQVTControlComboBoxGalleryPopupBar::Clone(BOOL bRecursive)
{
    auto* pClone = new CQVTControlComboBoxGalleryPopupBar();
    pClone->Copy(this, bRecursive);
    return pClone;
}
