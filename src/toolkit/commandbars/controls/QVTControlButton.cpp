#include "toolkit/commandbars/controls/QVTControlButton.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"

IMPLEMENT_SERIAL(CQVTControlButton, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlButton::CQVTControlButton() : m_dwExtraStyle(0)
{
    m_controlType = qvtControlButton;
}

void CQVTControlButton::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!GetEnabled())
        return;
    if (m_pParent && m_pParent->IsCustomizeMode())
    {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
        CustomizeStartDrag(pt);
        return;
    }
    if (bKeyboard)
    {
        OnExecute();
        return;
    }
    // In a menu the command runs on the button's release.
    if (m_pParent && m_pParent->GetType() == qvtBarTypePopup && m_nExecuteOnPressInterval <= 0)
        return;
    TrackClick(m_rcControl);
}

void CQVTControlButton::OnLButtonUp(CPoint point)
{
    if (!GetEnabled() || !m_pParent)
        return;
    if (m_pParent->GetType() == qvtBarTypePopup || m_pParent->GetPosition() == qvtBarPopup)
        OnExecute();
}

void CQVTControlButton::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControl::Copy(pSource, bRecursive);
    CQVTControlButton* pButton = DYNAMIC_DOWNCAST(CQVTControlButton, pSource);
    if (pButton)
        m_dwExtraStyle = pButton->m_dwExtraStyle;
}
