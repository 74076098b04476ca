#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
const UINT_PTR kProgressMarqueeTimer = 102;
const UINT kProgressChunkSize = 2411;
const UINT kProgressSpaceSize = 2412;
const int kProgressMarqueeChunks = 5;
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectProgress, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectProgress, CQVTSkinObjectControl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinObjectProgress::OnPrintClient)
    ON_MESSAGE(PBM_SETMARQUEE, &CQVTSkinObjectProgress::OnSetMarquee)
    ON_MESSAGE(PBM_STEPIT, &CQVTSkinObjectProgress::OnStepIt)
    ON_MESSAGE(PBM_SETPOS, &CQVTSkinObjectProgress::OnSetPos)
END_MESSAGE_MAP()

CQVTSkinObjectProgress::CQVTSkinObjectProgress()
{
    m_strClassName = u"PROGRESS";
}

void CQVTSkinObjectProgress::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    CQVTSkinObjectControl::OnSkinChanged(bPrevState, bNewState);
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd))
        return;
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    DWORD dwNew = dwExStyle;
    CQVTWinThemeWrapper wrapper(TRUE);
    if (bNewState || wrapper.IsAppThemed())
        dwNew &= ~WS_EX_STATICEDGE;
    if (dwNew != dwExStyle)
    {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwNew));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, 0x37);
    }
    InvalidateClient();
}

int CQVTSkinObjectProgress::OnCreate(LPCREATESTRUCT /*lpcs*/)
{
    const int nResult = static_cast<int>(Default());
    if (nResult != -1 && IsSkinEnabled())
    {
        const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
        if (dwExStyle & WS_EX_STATICEDGE)
        {
            ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwExStyle & ~WS_EX_STATICEDGE));
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, 0x37);
        }
    }
    return nResult;
}

BOOL CQVTSkinObjectProgress::OnEraseBkgnd(CDC* pDC)
{
    return EraseUnlessSkinned(pDC, 1);
}

void CQVTSkinObjectProgress::OnPaint()
{
    PaintSkinned(1, TRUE);
}

LRESULT CQVTSkinObjectProgress::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    return PrintSkinned(wParam, lParam, 1);
}

void CQVTSkinObjectProgress::GetChunkSizes(int nThickness, int* pnChunk, int* pnSpace)
{
    const BOOL bVertical = (GetStyle() & PBS_VERTICAL) != 0;
    CQVTSkinManagerClass* pClass = GetSkinClass();
    const int nPart = bVertical ? 4 : 3;
    int nChunk = pClass != nullptr ? pClass->GetThemeInt(nPart, 1, kProgressChunkSize, -1) : -1;
    int nSpace = pClass != nullptr ? pClass->GetThemeInt(nPart, 1, kProgressSpaceSize, -1) : -1;
    nChunk = nChunk < 0 ? nThickness * 2 / 3 : (bVertical ? ScaleY(nChunk) : ScaleX(nChunk));
    nSpace = nSpace < 0 ? 2 : nSpace;
    nSpace = bVertical ? ScaleY(nSpace) : ScaleX(nSpace);
    // A chunk of no pixels would never fill the bar.
    *pnChunk = nChunk < 1 ? 1 : nChunk;
    *pnSpace = nSpace < 0 ? 0 : nSpace;
}

void CQVTSkinObjectProgress::OnDraw(CDC* pDC)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    CRect rc;
    GetClientRect(&rc);
    QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc, GetColor(COLOR_BTNFACE));
    if (pClass == nullptr)
        return;
    const DWORD dwStyle = GetStyle();
    const BOOL bVertical = (dwStyle & PBS_VERTICAL) != 0;
    pClass->DrawThemeBackground(pDC, bVertical ? 2 : 1, 1, rc);
    CRect rcMargins = pClass->GetThemeRect(bVertical ? 2 : 1, 1, qvtSkinPropSizingMargins);
    rc.DeflateRect(ScaleX(rcMargins.left), ScaleY(rcMargins.top), ScaleX(rcMargins.right),
                   ScaleY(rcMargins.bottom));
    if (rc.IsRectEmpty())
        return;

    const int nLength = bVertical ? rc.Height() : rc.Width();
    int nChunk = 0;
    int nSpace = 0;
    GetChunkSizes(bVertical ? rc.Width() : rc.Height(), &nChunk, &nSpace);
    const int nChunkPart = bVertical ? 4 : 3;
    const int nSave = pDC->SaveDC();
    pDC->IntersectClipRect(rc);
    // A chunk at an offset along the bar (from the left, or from the bottom).
    auto drawChunk = [&](int nOffset, int nSize) {
        CRect rcChunk(rc);
        if (bVertical)
        {
            rcChunk.bottom = rc.bottom - nOffset;
            rcChunk.top = rcChunk.bottom - nSize;
        }
        else
        {
            rcChunk.left = rc.left + nOffset;
            rcChunk.right = rcChunk.left + nSize;
        }
        pClass->DrawThemeBackground(pDC, nChunkPart, 1, rcChunk);
    };

    if (dwStyle & PBS_MARQUEE)
    {
        int nOffset = m_nMarqueeOffset;
        for (int i = 0; i < kProgressMarqueeChunks; ++i)
        {
            if (nOffset >= nLength)
                nOffset = 0;
            drawChunk(nOffset, nChunk);
            nOffset += nChunk + nSpace;
        }
    }
    else
    {
        PBRANGE range = {};
        ::SendMessageW(m_hWnd, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        const int nPos = static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0));
        const int nFilled = QVTSkinProgressFilled(nLength, nPos, range.iLow, range.iHigh);
        if (nChunk == 1 && nSpace == 0)
            drawChunk(0, nFilled);
        else
        {
            const int nCount = QVTSkinProgressChunkCount(nFilled, nChunk, nSpace);
            for (int i = 0; i < nCount; ++i)
                drawChunk(i * (nChunk + nSpace), nChunk);
        }
    }
    pDC->RestoreDC(nSave);
}

void CQVTSkinObjectProgress::AdvanceMarquee(int nSteps)
{
    CRect rc;
    GetClientRect(&rc);
    const BOOL bVertical = (GetStyle() & PBS_VERTICAL) != 0;
    int nChunk = 0;
    int nSpace = 0;
    GetChunkSizes(bVertical ? rc.Width() : rc.Height(), &nChunk, &nSpace);
    m_nMarqueeOffset = QVTSkinProgressAdvance(m_nMarqueeOffset, nSteps, nChunk, nSpace,
                                              bVertical ? rc.Height() : rc.Width());
    InvalidateClient();
}

LRESULT CQVTSkinObjectProgress::OnSetMarquee(WPARAM wParam, LPARAM lParam)
{
    KillTimer(kProgressMarqueeTimer);
    if (wParam != 0 && static_cast<int>(lParam) > 0)
    {
        m_nMarqueePeriod = static_cast<int>(lParam);
        SetTimer(kProgressMarqueeTimer, static_cast<UINT>(m_nMarqueePeriod), nullptr);
    }
    return 1;
}

LRESULT CQVTSkinObjectProgress::OnStepIt(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (GetStyle() & PBS_MARQUEE)
    {
        AdvanceMarquee(1);
        return 0;
    }
    const LRESULT lResult = Default();
    InvalidateClient();
    return lResult;
}

LRESULT CQVTSkinObjectProgress::OnSetPos(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return DefaultInvalidate();
}

void CQVTSkinObjectProgress::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kProgressMarqueeTimer)
    {
        Default();
        return;
    }
    AdvanceMarquee(m_nMarqueePeriod < 51 ? 2 : 1);
}
