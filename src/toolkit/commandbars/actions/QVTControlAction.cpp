#include "toolkit/commandbars/actions/QVTControlAction.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

IMPLEMENT_DYNAMIC(CQVTControlAction, CQVTCmdTarget)
IMPLEMENT_DYNAMIC(CQVTControlActions, CQVTCmdTarget)

namespace {
const int kLastActionId = 268435454;
}

CQVTControlAction::CQVTControlAction(CQVTControlActions* pActions)
    : m_nId(0), m_nIconId(0), m_nHelpId(0), m_bEnabled(TRUE), m_nChecked(0), m_bVisible(TRUE),
      m_pActions(pActions)
{
}

CQVTControlAction::~CQVTControlAction()
{
    RemoveAllControls();
}

CQVTControl* CQVTControlAction::GetControl(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetControlCount())
        return nullptr;
    return m_arrControls[static_cast<size_t>(nIndex)];
}

void CQVTControlAction::AddControl(CQVTControl* pControl)
{
    if (!pControl || std::find(m_arrControls.begin(), m_arrControls.end(), pControl) != m_arrControls.end())
        return;
    m_arrControls.push_back(pControl);
    pControl->PrepareForAction(m_nId);
}

void CQVTControlAction::RemoveControl(CQVTControl* pControl)
{
    auto it = std::find(m_arrControls.begin(), m_arrControls.end(), pControl);
    if (it == m_arrControls.end())
        return;
    m_arrControls.erase(it);
    pControl->SetEnabled(TRUE);
}

void CQVTControlAction::RemoveAllControls()
{
    while (!m_arrControls.empty())
    {
        CQVTControl* pControl = m_arrControls.front();
        const size_t nBefore = m_arrControls.size();
        pControl->SetAction(nullptr);
        // A control that does not let go (linked elsewhere) is dropped here.
        if (m_arrControls.size() == nBefore && !m_arrControls.empty() && m_arrControls.front() == pControl)
            m_arrControls.erase(m_arrControls.begin());
    }
}

CQVTCommandBars* CQVTControlAction::GetCommandBars() const
{
    return m_pActions ? m_pActions->GetCommandBars() : nullptr;
}

BOOL CQVTControlAction::GetEnabled() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->IsCustomizeMode())
        return TRUE;
    return m_bEnabled;
}

void CQVTControlAction::NotifyChanging(int nProperty)
{
    const std::vector<CQVTControl*> controls = m_arrControls;
    for (CQVTControl* pControl : controls)
        pControl->OnActionChanging(nProperty);
}

void CQVTControlAction::NotifyChanged(int nProperty)
{
    const std::vector<CQVTControl*> controls = m_arrControls;
    for (CQVTControl* pControl : controls)
        pControl->OnActionChanged(nProperty);
}

void CQVTControlAction::RedrawControls()
{
    for (CQVTControl* pControl : m_arrControls)
        if (pControl->GetParent())
            pControl->GetParent()->DelayLayout();
}

void CQVTControlAction::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    NotifyChanging(propertyEnabled);
    m_bEnabled = bEnabled;
    NotifyChanged(propertyEnabled);
    for (CQVTControl* pControl : m_arrControls)
        pControl->RedrawParent();
}

void CQVTControlAction::SetChecked(int nChecked)
{
    if (m_nChecked == nChecked)
        return;
    NotifyChanging(propertyChecked);
    m_nChecked = nChecked;
    NotifyChanged(propertyChecked);
    for (CQVTControl* pControl : m_arrControls)
        pControl->RedrawParent();
}

void CQVTControlAction::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    NotifyChanging(propertyVisible);
    m_bVisible = bVisible;
    NotifyChanged(propertyVisible);
    RedrawControls();
}

void CQVTControlAction::SetIconId(int nIconId)
{
    if (m_nIconId == nIconId)
        return;
    NotifyChanging(propertyIconId);
    m_nIconId = nIconId;
    NotifyChanged(propertyIconId);
    RedrawControls();
}

void CQVTControlAction::SetCaption(LPCTSTR lpszCaption)
{
    CString strCaption(lpszCaption);
    const int nTab = strCaption.Find(_T('\t'));
    if (nTab >= 0)
        strCaption = strCaption.Left(nTab);
    if (strCaption == m_strCaption)
        return;
    NotifyChanging(propertyCaption);
    m_strCaption = strCaption;
    NotifyChanged(propertyCaption);
    RedrawControls();
}

void CQVTControlAction::SetTooltip(LPCTSTR lpszTooltip)
{
    if (m_strTooltipText == lpszTooltip)
        return;
    NotifyChanging(propertyTooltip);
    m_strTooltipText = lpszTooltip;
    NotifyChanged(propertyTooltip);
}

void CQVTControlAction::SetDescription(LPCTSTR lpszDescription)
{
    if (m_strDescriptionText == lpszDescription)
        return;
    NotifyChanging(propertyDescription);
    m_strDescriptionText = lpszDescription;
    NotifyChanged(propertyDescription);
}

void CQVTControlAction::SetShortcutText(LPCTSTR lpszShortcut)
{
    if (m_strShortcutText == lpszShortcut)
        return;
    NotifyChanging(propertyShortcutText);
    m_strShortcutText = lpszShortcut;
    NotifyChanged(propertyShortcutText);
    RedrawControls();
}

void CQVTControlAction::SetKeyboardTip(LPCTSTR lpszKeyboardTip)
{
    if (m_strKeyboardTip == lpszKeyboardTip)
        return;
    NotifyChanging(propertyKeyboardTip);
    m_strKeyboardTip = lpszKeyboardTip;
    NotifyChanged(propertyKeyboardTip);
}

void CQVTControlAction::SetPrompt(LPCTSTR lpszPrompt)
{
    const CString strPrompt(lpszPrompt);
    CStringArray parts;
    int nStart = 0;
    for (;;)
    {
        const int nNewLine = strPrompt.Find(_T('\n'), nStart);
        if (nNewLine < 0)
        {
            parts.Add(strPrompt.Mid(nStart));
            break;
        }
        parts.Add(strPrompt.Mid(nStart, nNewLine - nStart));
        nStart = nNewLine + 1;
    }
    if (parts.GetSize() == 1)
    {
        SetTooltip(strPrompt);
        SetDescription(strPrompt);
    }
    else
    {
        SetTooltip(parts[1]);
        SetDescription(parts[0]);
    }
    if (m_strCaption.IsEmpty() && parts.GetSize() > 2)
        SetCaption(parts[2]);
    if (m_strKeyboardTip.IsEmpty() && parts.GetSize() > 3)
        SetKeyboardTip(parts[3]);
}

// The list.

CQVTControlActions::CQVTControlActions(CQVTCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

CQVTControlActions::~CQVTControlActions()
{
    RemoveAll();
}

CQVTControlAction* CQVTControlActions::FindAction(int nId) const
{
    if (nId < 1 || nId > kLastActionId)
        return nullptr;
    auto it = std::lower_bound(m_arrActions.begin(), m_arrActions.end(), nId,
                               [](const CQVTControlAction* pAction, int n) { return pAction->GetID() < n; });
    return it != m_arrActions.end() && (*it)->GetID() == nId ? *it : nullptr;
}

CQVTControlAction* CQVTControlActions::Add(int nId)
{
    CQVTControlAction* pAction = FindAction(nId);
    if (pAction)
        return pAction;
    return Insert(nId, new CQVTControlAction(this));
}

CQVTControlAction* CQVTControlActions::Insert(int nId, CQVTControlAction* pAction)
{
    if (!pAction)
        return nullptr;
    pAction->SetID(nId);
    CString strPrompt;
    if (nId > 0 && QVTResourceManager()->LoadString(&strPrompt, static_cast<UINT>(nId)))
        pAction->SetPrompt(strPrompt);
    auto it = std::upper_bound(m_arrActions.begin(), m_arrActions.end(), nId,
                               [](int n, const CQVTControlAction* pOther) { return n < pOther->GetID(); });
    m_arrActions.insert(it, pAction);
    return pAction;
}

CQVTControlAction* CQVTControlActions::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrActions[static_cast<size_t>(nIndex)];
}

void CQVTControlActions::RemoveAll()
{
    std::vector<CQVTControlAction*> actions;
    actions.swap(m_arrActions);
    for (CQVTControlAction* pAction : actions)
    {
        pAction->RemoveAllControls();
        pAction->InternalRelease();
    }
}
