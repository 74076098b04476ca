#include "toolkit/commandbars/statusbar/QVTStatusBarSwitchPane.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarSwitchPane, CQVTStatusBarPane)

namespace {
CQVTStatusBarPaintManager* PainterOf(CQVTStatusBar* pBar)
{
    CQVTPaintManager* pPaintManager = pBar ? pBar->GetPaintManager() : QVTPaintManager();
    return pPaintManager ? pPaintManager->GetStatusBarPaintManager() : nullptr;
}
}  // namespace

void CQVTStatusBarSwitchPane::AddSwitch(UINT nID, int nIconId)
{
    m_switches.push_back({nID, nIconId, FALSE, FALSE, FALSE});
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

CQVTStatusBarSwitchPane::SWITCH* CQVTStatusBarSwitchPane::GetSwitch(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSwitchCount())
        return nullptr;
    return &m_switches[static_cast<size_t>(nIndex)];
}

int CQVTStatusBarSwitchPane::GetWidth()
{
    CQVTStatusBarPaintManager* pPainter = PainterOf(m_pStatusBar);
    return pPainter ? pPainter->DrawSwitchPane(nullptr, m_rcPane, this) : 0;
}

void CQVTStatusBarSwitchPane::Draw(CDC* pDC, CRect rcItem)
{
    CQVTStatusBarPaintManager* pPainter = PainterOf(m_pStatusBar);
    if (pPainter)
        pPainter->DrawSwitchPane(pDC, rcItem, this);
}
