#include "toolkit/commandbars/controls/QVTControlExtended.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"

IMPLEMENT_SERIAL(CQVTControlLabel, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTControlCheckBox, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTControlRadioButton, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTControlToolbars, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_DYNCREATE(CQVTControlToolbarsEntry, CQVTControlButton)

namespace {

const TCHAR kToolbarEntry[] = _T("CQVTControlToolbar");

CString DoubleAmpersands(const CString& strText)
{
    CString strDoubled(strText);
    strDoubled.Replace(_T("&"), _T("&&"));
    return strDoubled;
}

}  // namespace

// Label.

CQVTControlLabel::CQVTControlLabel()
{
    m_controlType = qvtControlLabel;
    m_dwFlags = qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable;
}

void CQVTControlLabel::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!bKeyboard && m_pParent && m_pParent->IsCustomizeMode())
        CustomizeStartDrag(pt);
}

// Check box and radio button.

CQVTControlCheckBox::CQVTControlCheckBox()
{
    m_controlType = qvtControlCheckBox;
}

BOOL CQVTControlCheckBox::OnHookKeyDown(UINT nChar, LPARAM)
{
    if (nChar != VK_SPACE)
        return FALSE;
    OnClick(TRUE);
    return TRUE;
}

CQVTControlRadioButton::CQVTControlRadioButton()
{
    m_controlType = qvtControlRadioButton;
}

BOOL CQVTControlRadioButton::OnHookKeyDown(UINT nChar, LPARAM)
{
    if (nChar != VK_SPACE)
        return FALSE;
    OnClick(TRUE);
    return TRUE;
}

// The toolbars list.

CQVTControlToolbars::CQVTControlToolbars()
{
    m_controlType = qvtControlButton;
}

void CQVTControlToolbarsEntry::OnExecute()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return;
    const int nIndex = static_cast<int>(m_nTag);
    CQVTCommandBars::ClosePopups(pCommandBars);
    pCommandBars->ToggleVisible(nIndex);
}

int AFX_CDECL CQVTControlToolbars::AddToolbarItems(CQVTControls* pControls, CQVTCommandBars* pCommandBars,
                                                   int nIndex, BOOL bBeginGroup, BOOL bCustomize)
{
    if (!pControls || !pCommandBars)
        return 0;
    int nAdded = 0;
    for (int i = 0; i < pCommandBars->GetCount(); ++i)
    {
        CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pCommandBars->GetAt(i));
        if (!pToolBar || !pToolBar->IsContextMenuPresent())
            continue;
        CQVTControl* pEntry = pControls->Add(new CQVTControlToolbar(), QVT_ID_TOOLBARLIST, kToolbarEntry,
                                             nIndex < 0 ? -1 : nIndex + nAdded, TRUE);
        pEntry->SetTag(static_cast<DWORD_PTR>(i));
        pEntry->SetCaption(DoubleAmpersands(pToolBar->GetTitle()));
        pEntry->SetFlags(pEntry->GetFlags() | qvtFlagManualUpdate);
        pEntry->SetChecked(pToolBar->IsVisible());
        pEntry->SetBeginGroup(nAdded == 0 && bBeginGroup);
        ++nAdded;
    }
    if (bCustomize && pCommandBars->IsCustomizeAvail())
    {
        CQVTControl* pCustomize = pControls->AddByType(qvtControlButton, QVT_ID_CUSTOMIZE, nullptr,
                                                       nIndex < 0 ? -1 : nIndex + nAdded);
        if (pCustomize)
        {
            pCustomize->SetBeginGroup(TRUE);
            ++nAdded;
        }
    }
    return nAdded;
}

void CQVTControlToolbars::OnCalcDynamicSize(DWORD)
{
    if (!m_pControls)
        return;
    // The entries of the last layout go first.
    while (CQVTControl* pNext = m_pControls->GetAt(m_nIndex + 1))
    {
        if (!pNext->IsTemporary() || pNext->GetParameter() != kToolbarEntry)
            break;
        m_pControls->Remove(pNext);
    }
    if (IsCustomizeMode() && m_pParent && m_pParent->IsCustomizeMode())
    {
        SetHideFlags(0);
        return;
    }
    SetHideFlags(m_dwHideFlags | qvtHideGeneric);
    AddToolbarItems(m_pControls, GetCommandBars(), m_nIndex + 1, m_bBeginGroup, FALSE);
}

BOOL CQVTControlToolbars::IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint, DWORD& dropEffect)
{
    if (pCommandBar && pCommandBar->GetType() == qvtBarTypePopup)
        return TRUE;
    dropEffect = 0;
    return FALSE;
}
