#include "toolkit/controls/taskdialog/QVTTaskDialogProgressCtrl.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQVTTaskDialogProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(CQVTTaskDialogProgressCtrl, CProgressCtrl)
    ON_WM_PAINT()
    ON_MESSAGE(PBM_SETMARQUEE, &CQVTTaskDialogProgressCtrl::OnSetMarquee)
    ON_MESSAGE(PBM_SETSTATE, &CQVTTaskDialogProgressCtrl::OnSetBarState)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

const int kBlocks = 5;

}  // namespace

CQVTTaskDialogProgressCtrl::CQVTTaskDialogProgressCtrl()
    : m_nState(-1), m_nPos(0), m_nInterval(0), m_bRunning(FALSE)
{
}

BOOL CQVTTaskDialogProgressCtrl::IsOlderSystem() const
{
    return !QVTOSVersion()->IsWinVistaOrGreater();
}

BOOL CQVTTaskDialogProgressCtrl::IsOwnMarquee() const
{
    return IsOlderSystem() && (GetStyle() & PBS_MARQUEE);
}

LRESULT CQVTTaskDialogProgressCtrl::OnSetMarquee(WPARAM wParam, LPARAM lParam)
{
    if (!IsOwnMarquee())
        return Default();
    m_bRunning = wParam != 0 && lParam >= 1;
    m_nPos = 0;
    m_nInterval = (int)lParam;
    KillTimer(timerMarquee);
    if (m_bRunning)
        SetTimer(timerMarquee, (UINT)m_nInterval, nullptr);
    Invalidate(FALSE);
    return TRUE;
}

LRESULT CQVTTaskDialogProgressCtrl::OnSetBarState(WPARAM wParam, LPARAM)
{
    m_nState = (int)wParam;
    return Default();
}

void CQVTTaskDialogProgressCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != timerMarquee || !m_bRunning)
    {
        CProgressCtrl::OnTimer(nIDEvent);
        return;
    }
    CRect rc;
    GetClientRect(&rc);
    int nBlock = std::max(1, (rc.Height() - 2) * 2 / 3);
    int nGap = GetBlockGap();
    int nStep = (nBlock + nGap) * (m_nInterval < 51 ? 2 : 1);
    m_nPos += QVTDpiScaler()->ScaleX(nStep);
    if (m_nPos > rc.Width())
        m_nPos = 0;
    Invalidate(FALSE);
}

void CQVTTaskDialogProgressCtrl::OnPaint()
{
    if (!IsOwnMarquee())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(rc, ::GetSysColor(COLOR_3DFACE));
    if (m_nState == PBST_ERROR || m_nState == PBST_PAUSED)
        return;
    int nInner = std::max(1, rc.Height() - 2);
    int nBlock = std::max(1, nInner * 2 / 3);
    int nGap = GetBlockGap();
    for (int i = 0; i < kBlocks; ++i)
    {
        int x = 1 + m_nPos + i * (nBlock + nGap);
        CRect rcBlock(x, 1, std::min<int>(x + nBlock, rc.right - 1), 1 + nInner);
        if (rcBlock.left >= rc.right - 1)
            break;
        dc.FillSolidRect(rcBlock, ::GetSysColor(COLOR_HIGHLIGHT));
    }
}
