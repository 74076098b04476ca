#include "toolkit/commandbars/bars/QVTDockBar.h"

#include <afxext.h>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {
const TCHAR kDockBarClass[] = _T("QVTDockBar");
const TCHAR* const kDockBarTitles[] = {_T("qvtBarTop"), _T("qvtBarBottom"), _T("qvtBarLeft"),
                                       _T("qvtBarRight")};
}  // namespace

IMPLEMENT_DYNCREATE(CQVTDockBar, CWnd)

BEGIN_MESSAGE_MAP(CQVTDockBar, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTDockBar::OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SIZEPARENT, &CQVTDockBar::OnSizeParent)
END_MESSAGE_MAP()

CQVTDockBar::CQVTDockBar() : m_dwStyle(0), m_pCommandBars(nullptr)
{
    // A new dock bar holds one empty row.
    m_arrBars.push_back(nullptr);
}

CQVTDockBar::~CQVTDockBar()
{
    DestroyWindow();
}

BOOL CQVTDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    CQVTDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), kDockBarClass, 0);
    const DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | WS_CLIPSIBLINGS;
    return CWnd::Create(kDockBarClass, kDockBarTitles[GetPosition()], dwWindowStyle, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
}

int CQVTDockBar::GetPosition() const
{
    if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM))
        return 0;
    if (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        return 1;
    if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT))
        return 2;
    return 3;
}

int CQVTDockBar::FindBar(CQVTCommandBar* pBar) const
{
    for (size_t i = 0; i < m_arrBars.size(); ++i)
        if (pBar && m_arrBars[i] == pBar)
            return static_cast<int>(i);
    return -1;
}

CSize CQVTDockBar::CalcDockBarLayout(int nLength, DWORD dwMode)
{
    // Filled when toolbars dock (docking package): the rows' bars are laid
    // out here. Until then no bar can join a row, so every row is empty and
    // the strip takes no room.
    const BOOL bHorz = (dwMode & LM_HORZDOCK) != 0;
    return bHorz ? CSize(nLength, 0) : CSize(0, nLength);
}

LRESULT CQVTDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pLayout || !(GetStyle() & WS_VISIBLE))
        return 0;
    CRect rcAvail(pLayout->rect);
    const int nPosition = GetPosition();
    const BOOL bHorz = nPosition < 2;
    DWORD dwMode = bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    if (pLayout->bStretch)
        dwMode |= LM_STRETCH;
    const CSize size = CalcDockBarLayout(bHorz ? rcAvail.Width() : rcAvail.Height(), dwMode);

    CRect rc = rcAvail;
    switch (nPosition)
    {
    case 0:
        rc.bottom = rc.top + size.cy;
        pLayout->rect.top += size.cy;
        break;
    case 1:
        rc.top = rc.bottom - size.cy;
        pLayout->rect.bottom -= size.cy;
        break;
    case 2:
        rc.right = rc.left + size.cx;
        pLayout->rect.left += size.cx;
        break;
    default:
        rc.left = rc.right - size.cx;
        pLayout->rect.right -= size.cx;
        break;
    }
    if (pLayout->hDWP)
        pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, nullptr, rc.left, rc.top, rc.Width(),
                                         rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
    return 0;
}

void CQVTDockBar::OnPaint()
{
    CPaintDC dc(this);
    if (m_pCommandBars && m_pCommandBars->GetPaintManager())
        m_pCommandBars->GetPaintManager()->FillDockBar(&dc, this);
}

LRESULT CQVTDockBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (pDC && m_pCommandBars && m_pCommandBars->GetPaintManager())
        m_pCommandBars->GetPaintManager()->FillDockBar(pDC, this);
    return 1;
}

BOOL CQVTDockBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
