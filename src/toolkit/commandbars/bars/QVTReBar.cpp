#include "toolkit/commandbars/bars/QVTReBar.h"

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"

IMPLEMENT_DYNAMIC(CQVTReBar, CReBar)

BOOL CQVTReBar::AddToolBar(CQVTToolBar* pToolBar, DWORD dwStyle)
{
    if (!pToolBar || !pToolBar->GetSafeHwnd() || !GetSafeHwnd())
        return FALSE;
    const CSize size = pToolBar->CalcDockingLayout(32000, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    pToolBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pToolBar->GetDockBar())
        pToolBar->GetDockBar()->RemoveCommandBar(pToolBar);
    // The band's own gripper moves it.
    pToolBar->SetBarStyle(pToolBar->GetBarStyle() & ~QVT_CBRS_GRIPPER);
    if (!AddBar(pToolBar, nullptr, nullptr, dwStyle))
        return FALSE;
    REBARBANDINFO rbbi = {};
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = RBBIM_ID;
    rbbi.wID = pToolBar->GetBarID();
    const UINT nBands = GetReBarCtrl().GetBandCount();
    return nBands > 0 && GetReBarCtrl().SetBandInfo(nBands - 1, &rbbi);
}

int CQVTReBar::FindBand(CQVTToolBar* pToolBar) const
{
    if (!pToolBar || !GetSafeHwnd())
        return -1;
    const UINT nBands = GetReBarCtrl().GetBandCount();
    for (UINT i = 0; i < nBands; ++i)
    {
        REBARBANDINFO rbbi = {};
        rbbi.cbSize = sizeof(rbbi);
        rbbi.fMask = RBBIM_CHILD;
        if (GetReBarCtrl().GetBandInfo(i, &rbbi) && rbbi.hwndChild == pToolBar->GetSafeHwnd())
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CQVTReBar::DeleteToolBar(CQVTToolBar* pToolBar)
{
    const int nBand = FindBand(pToolBar);
    return nBand >= 0 && GetReBarCtrl().DeleteBand(static_cast<UINT>(nBand));
}

CQVTToolBar* CQVTReBar::GetToolBar(int nBand) const
{
    if (nBand < 0 || !GetSafeHwnd())
        return nullptr;
    REBARBANDINFO rbbi = {};
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE;
    if (!GetReBarCtrl().GetBandInfo(static_cast<UINT>(nBand), &rbbi) || !rbbi.hwndChild)
        return nullptr;
    return DYNAMIC_DOWNCAST(CQVTToolBar, CWnd::FromHandlePermanent(rbbi.hwndChild));
}
