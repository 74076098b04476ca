#include "toolkit/ribbon/bar/QVTRibbonControls.h"

#include <algorithm>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"

IMPLEMENT_DYNCREATE(CQVTRibbonControls, CQVTControls)
IMPLEMENT_DYNCREATE(CQVTRibbonQuickAccessControls, CQVTControls)

CQVTRibbonBar* CQVTRibbonControls::GetRibbonBar() const
{
    return m_pParent && m_pParent->IsRibbonBar() ? static_cast<CQVTRibbonBar*>(m_pParent) : nullptr;
}

BOOL CQVTRibbonControls::IsControlCopyable(CQVTControl* pControl) const
{
    if (!pControl || pControl->IsTemporary() || pControl->GetRibbonGroup())
        return FALSE;
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (!pRibbonBar)
        return TRUE;
    if (pControl == pRibbonBar->GetSystemButton() || pRibbonBar->IsQuickAccessControl(pControl) ||
        pControl == static_cast<CQVTControl*>(pRibbonBar->GetControlTab()) ||
        pRibbonBar->IsScrollButton(pControl))
        return FALSE;
    return TRUE;
}

BOOL CQVTRibbonControls::IsSystemControl(CQVTControl* pControl) const
{
    if (!pControl)
        return FALSE;
    if (pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonGroupOption)) ||
        pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonGroupControlPopup)) ||
        pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlTab)) ||
        pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlQuickAccessPopup)) ||
        pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlQuickAccessMorePopup)))
        return TRUE;
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    return pRibbonBar && pRibbonBar->IsScrollButton(pControl);
}

BOOL CQVTRibbonControls::IsControlSaved(CQVTControl* pControl) const
{
    return IsControlCopyable(pControl);
}

void CQVTRibbonControls::RemoveBeforeLoad()
{
    for (int i = GetCount() - 1; i >= 0; --i)
        if (IsControlCopyable(GetAt(i)))
            Remove(GetAt(i));
}

void CQVTRibbonControls::Copy(CQVTControls* pSource, BOOL bRecursive)
{
    if (!pSource || pSource == this)
        return;
    // The tab strip, the groups' controls and the quick-access ones stay:
    // their owners copy them.
    RemoveBeforeLoad();
    CQVTRibbonControls* pRibbonSource = DYNAMIC_DOWNCAST(CQVTRibbonControls, pSource);
    for (int i = 0; i < pSource->GetCount(); ++i)
    {
        CQVTControl* pControl = pSource->GetAt(i);
        const BOOL bCopyable =
            pRibbonSource ? pRibbonSource->IsControlCopyable(pControl) : !pControl->IsTemporary();
        if (bCopyable)
            AddCopy(pControl, -1, bRecursive);
    }
}

BOOL CQVTRibbonControls::OnControlRemoving(CQVTControl* pControl)
{
    if (CQVTRibbonBar* pBar = GetRibbonBar())
        pBar->OnSystemButtonRemoving(pControl);
    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    if (pGroup && pGroup->IndexOf(pControl) >= 0)
    {
        // The group lets go of it and removes it from this list itself.
        pGroup->Remove(pControl);
        return TRUE;
    }
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pRibbonBar && pRibbonBar->IsQuickAccessControl(pControl) && pRibbonBar->GetQuickAccessControls() &&
        pRibbonBar->GetQuickAccessControls()->Contains(pControl))
    {
        pRibbonBar->GetQuickAccessControls()->Remove(pControl);
        return TRUE;
    }
    return CQVTControls::OnControlRemoving(pControl);
}

// The quick-access toolbar's controls.

CQVTRibbonQuickAccessControls::CQVTRibbonQuickAccessControls() : m_pRibbonBar(nullptr) {}

BOOL CQVTRibbonQuickAccessControls::Contains(const CQVTControl* pControl) const
{
    return std::find(m_arrControls.begin(), m_arrControls.end(), pControl) != m_arrControls.end();
}

CQVTControl* CQVTRibbonQuickAccessControls::FindDuplicate(const CQVTControl* pSource) const
{
    if (!pSource)
        return nullptr;
    for (CQVTControl* pControl : m_arrControls)
        if (pControl->GetID() == pSource->GetID() && pControl->GetType() == pSource->GetType())
            return pControl;
    return nullptr;
}

void CQVTRibbonQuickAccessControls::OnControlAdded(CQVTControl* pControl)
{
    if (!m_pRibbonBar)
        return;
    // The bar's list shows it before the customize button, in this
    // toolbar's order, and holds one more reference.
    CQVTControls* pBarControls = m_pRibbonBar->GetControls();
    CQVTControl* pCustomize = nullptr;
    for (int i = 0; i < pBarControls->GetCount(); ++i)
        if (pBarControls->GetAt(i)->GetID() == QVT_ID_RIBBONCONTROLQUICKACCESS &&
            pBarControls->GetAt(i)->IsKindOf(RUNTIME_CLASS(CQVTRibbonBarControlQuickAccessPopup)))
            pCustomize = pBarControls->GetAt(i);
    pControl->InternalAddRef();
    pBarControls->InsertControl(pControl, pCustomize ? pCustomize->GetIndex() : -1);
    m_pRibbonBar->RequestLayout();
}

void CQVTRibbonQuickAccessControls::RefreshIndexes()
{
    // The bar's list numbers the controls and makes the bar their parent.
}

void CQVTRibbonQuickAccessControls::Remove(CQVTControl* pControl)
{
    auto it = std::find(m_arrControls.begin(), m_arrControls.end(), pControl);
    if (it == m_arrControls.end())
        return;
    m_arrControls.erase(it);
    CQVTControlRef keep(pControl);
    pControl->InternalRelease();
    if (m_pRibbonBar && pControl->GetControls() == m_pRibbonBar->GetControls())
    {
        CQVTControls* pBarControls = m_pRibbonBar->GetControls();
        const int nIndex = pControl->GetIndex();
        if (nIndex >= 0 && nIndex < pBarControls->GetCount() && pBarControls->GetAt(nIndex) == pControl)
            pBarControls->Remove(pControl);
        m_pRibbonBar->RequestLayout();
    }
}

void CQVTRibbonQuickAccessControls::RemoveAllQuickAccess()
{
    while (!m_arrControls.empty())
        Remove(m_arrControls.back());
}

void CQVTRibbonQuickAccessControls::Copy(CQVTControls* pSource, BOOL bRecursive)
{
    if (!pSource || pSource == this)
        return;
    RemoveAllQuickAccess();
    for (int i = 0; i < pSource->GetCount(); ++i)
        AddCopy(pSource->GetAt(i), -1, bRecursive);
}
