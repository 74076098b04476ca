#include "toolkit/commandbars/bars/QVTCommandBarList.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTPopupBar.h"

CQVTCommandBarList::~CQVTCommandBarList()
{
    RemoveAll();
}

void CQVTCommandBarList::Add(CQVTCommandBar* pBar)
{
    if (!pBar)
        return;
    pBar->InternalAddRef();
    m_arrBars.push_back(pBar);
}

CQVTCommandBar* CQVTCommandBarList::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrBars[static_cast<size_t>(nIndex)];
}

BOOL CQVTCommandBarList::Contains(const CQVTCommandBar* pBar) const
{
    return std::find(m_arrBars.begin(), m_arrBars.end(), pBar) != m_arrBars.end();
}

CQVTCommandBar* CQVTCommandBarList::FindCommandBar(UINT nId) const
{
    for (CQVTCommandBar* pBar : m_arrBars)
        if (pBar->GetBarID() == nId)
            return pBar;
    return nullptr;
}

void CQVTCommandBarList::RemoveAll()
{
    std::vector<CQVTCommandBar*> bars;
    bars.swap(m_arrBars);
    for (CQVTCommandBar* pBar : bars)
        pBar->InternalRelease();
}

void CQVTCommandBarsContextMenus::Add(CQVTCommandBar* pPopup)
{
    CQVTPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CQVTPopupBar, pPopup);
    if (pPopupBar)
        pPopupBar->SetContextMenu(TRUE);
    CQVTCommandBarList::Add(pPopup);
}
