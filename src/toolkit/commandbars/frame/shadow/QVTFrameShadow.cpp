#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"

#include <algorithm>

#include "toolkit/markup/draw/QVTGdiPlusGradients.h"

namespace {
const TCHAR kFrameShadowTitle[] = _T("QVTFrameShadow");
const UINT_PTR kRestoreTimer = 1;
const UINT kRestoreDelay = 250;
}  // namespace

LONG CQVTFrameShadow::s_nLive = 0;

CQVTFrameShadow::CQVTFrameShadow(CQVTFrameShadowManager* pManager, HWND hWndFrame)
    : m_pManager(pManager), m_hWndFrame(hWndFrame),
      m_dwThreadId(::GetWindowThreadProcessId(hWndFrame, nullptr))
{
    ::InterlockedIncrement(&s_nLive);
}

CQVTFrameShadow::~CQVTFrameShadow()
{
    ::InterlockedDecrement(&s_nLive);
    for (CBand*& pBand : m_pBands)
    {
        delete pBand;
        pBand = nullptr;
    }
}

void CQVTFrameShadow::OnFinalRelease()
{
    DestroyShadowWindows();
    delete this;
}

BOOL CQVTFrameShadow::Create(COLORREF clr, int nOuterSize, int nInnerSize, CPoint ptOffset,
                             BYTE nTransparency)
{
    const int nMax = CQVTFrameShadowManager::kMaxShadowSize;
    m_clrShadow = clr & 0x00FFFFFF;
    m_nOuterSize = std::max(0, std::min(nOuterSize, nMax));
    m_nInnerSize = std::max(0, std::min(nInnerSize, nMax));
    m_ptOffset = CPoint(std::max(-nMax, std::min<int>(ptOffset.x, nMax)),
                        std::max(-nMax, std::min<int>(ptOffset.y, nMax)));
    m_nTransparency = nTransparency;

    LPCTSTR lpszClass = AfxRegisterWndClass(0);
    if (!CreateEx(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, lpszClass, kFrameShadowTitle, WS_POPUP, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr))
        return FALSE;
    const DWORD dwExStyle =
        WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | (IsResizable() ? 0 : WS_EX_TRANSPARENT);
    for (CBand*& pBand : m_pBands)
    {
        pBand = new CBand(this);
        if (!pBand->CreateEx(dwExStyle, lpszClass, kFrameShadowTitle, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr))
            return FALSE;
    }
    m_bEnabled = TRUE;
    m_centreFactors = {0.0f, 0.0f};
    m_centrePositions = {0.0f, 1.0f};
    if (::IsWindowVisible(m_hWndFrame))
        Show();
    return TRUE;
}

void CQVTFrameShadow::DestroyShadowWindows()
{
    m_bEnabled = FALSE;
    for (CBand* pBand : m_pBands)
        if (pBand != nullptr && pBand->GetSafeHwnd() != nullptr)
            pBand->DestroyWindow();
    if (m_hWnd != nullptr)
        DestroyWindow();
}

LRESULT CQVTFrameShadow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kRestoreTimer)
    {
        OnRestoreTimer();
        return 0;
    }
    if (message == WM_DESTROY && m_bEnabled)
    {
        // Destroyed from outside (its thread ending): the manager lets go.
        HWND hWndFrame = m_hWndFrame;
        CQVTFrameShadowManager* pManager = m_pManager;
        InternalAddRef();
        pManager->DisableShadow(hWndFrame);
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        InternalRelease();
        return lResult;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

HWND CQVTFrameShadow::GetBandWindow(int nBand) const
{
    if (nBand < 0 || nBand >= bandCount || m_pBands[nBand] == nullptr)
        return nullptr;
    return m_pBands[nBand]->GetSafeHwnd();
}

BOOL CQVTFrameShadow::IsShadowWindow(HWND hWnd) const
{
    if (hWnd == nullptr)
        return FALSE;
    if (hWnd == m_hWnd)
        return TRUE;
    for (int i = 0; i < bandCount; ++i)
        if (GetBandWindow(i) == hWnd)
            return TRUE;
    return FALSE;
}

BOOL CQVTFrameShadow::IsBandVisible(int nBand) const
{
    HWND hWnd = GetBandWindow(nBand);
    return hWnd != nullptr && ::IsWindowVisible(hWnd);
}

BOOL CQVTFrameShadow::IsResizable()
{
    if (m_nResizable == -1)
        m_nResizable = (::GetWindowLongW(m_hWndFrame, GWL_STYLE) & WS_THICKFRAME) != 0 &&
                       (m_pManager->GetEffectiveOptions() & CQVTFrameShadowManager::optionNoHitTest) == 0;
    return m_nResizable;
}

void CQVTFrameShadow::UpdateHitTestStyle()
{
    m_nResizable = -1;
    const BOOL bResizable = IsResizable();
    for (CBand* pBand : m_pBands)
    {
        if (pBand == nullptr || pBand->GetSafeHwnd() == nullptr)
            continue;
        if (bResizable)
            pBand->ModifyStyleEx(WS_EX_TRANSPARENT, 0);
        else
            pBand->ModifyStyleEx(0, WS_EX_TRANSPARENT);
    }
}

void CQVTFrameShadow::OnShadowOptionsChanged(int nOldOptions, int nNewOptions)
{
    if (!m_bEnabled)
        return;
    if ((nOldOptions ^ nNewOptions) & CQVTFrameShadowManager::optionNoHitTest)
        UpdateHitTestStyle();
    if ((nOldOptions ^ nNewOptions) & CQVTFrameShadowManager::optionInvisible)
        Update(FALSE, TRUE);
}

void CQVTFrameShadow::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_bEnabled)
        return;
    switch (message)
    {
    case WM_SHOWWINDOW:
        if (wParam)
            Show();
        else
            Hide();
        break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    {
        const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pPos->flags & SWP_SHOWWINDOW)
            Show();
        else if (pPos->flags & SWP_HIDEWINDOW)
            Hide();
        Reposition();
        break;
    }
    case WM_STYLECHANGED:
        if (static_cast<int>(wParam) == GWL_STYLE)
            UpdateHitTestStyle();
        break;
    case WM_NCPAINT:
        if (m_bMinimized && !::IsIconic(m_hWndFrame))
            SetTimer(kRestoreTimer, kRestoreDelay, nullptr);
        break;
    }
}

void CQVTFrameShadow::OnRestoreTimer()
{
    KillTimer(kRestoreTimer);
    if (!m_bMinimized || ::IsIconic(m_hWndFrame))
        return;
    m_bMinimized = FALSE;
    Update(TRUE, TRUE);
}

void CQVTFrameShadow::Show()
{
    m_bShown = TRUE;
    Update(TRUE, TRUE);
}

void CQVTFrameShadow::Hide()
{
    m_bShown = FALSE;
    HideBands();
}

void CQVTFrameShadow::HideBands()
{
    for (CBand* pBand : m_pBands)
        if (pBand != nullptr && pBand->GetSafeHwnd() != nullptr && pBand->IsWindowVisible())
            pBand->SetWindowPos(nullptr, 0, 0, 0, 0,
                                SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQVTFrameShadow::SetShadowColor(COLORREF clr)
{
    clr &= 0x00FFFFFF;
    if (m_clrShadow == clr)
        return;
    m_clrShadow = clr;
    Update(FALSE, TRUE);
}

BOOL CQVTFrameShadow::SetBlendStops(int nCount, const float* pPositions, const float* pFactors)
{
    if (nCount != 0 && !QVTGdiPlus::IsValidBlend(pFactors, pPositions, nCount))
        return FALSE;
    m_edgeFactors.clear();
    m_edgePositions.clear();
    m_reversedEdgeFactors.clear();
    m_cornerFactors.clear();
    m_cornerPositions.clear();
    for (int i = 0; i < nCount; ++i)
    {
        // A stop is the shadow's strength f at distance p from the frame:
        // the edges run from the frame outwards, the corners' path
        // gradients from their outline (0) to their centre (1).
        m_edgeFactors.push_back(1.0f - pFactors[i]);
        m_edgePositions.push_back(pPositions[i]);
    }
    m_reversedEdgeFactors.assign(m_edgeFactors.rbegin(), m_edgeFactors.rend());
    for (int i = nCount; i-- > 0;)
    {
        m_cornerFactors.push_back(pFactors[i]);
        m_cornerPositions.push_back(1.0f - pPositions[i]);
    }
    Update(FALSE, TRUE);
    return TRUE;
}

CQVTFrameShadow::CDrawingRects AFX_CDECL CQVTFrameShadow::ComputeDrawingRects(int cx, int cy, int nOuterSize,
                                                                              int nInnerSize)
{
    // A frame narrower or lower than twice the corner leaves the edges and
    // the centre no room: their sizes stop at 0 instead of turning negative.
    CDrawingRects rects;
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    const int nCornerX = std::max(0, std::min(nInnerSize, (cx - 2 * nOuterSize) / 2) + nOuterSize);
    const int nCornerY = std::max(0, std::min(nInnerSize, (cy - 2 * nOuterSize) / 2) + nOuterSize);
    rects.szCorner = CSize(std::min(nCornerX, cx / 2), std::min(nCornerY, cy / 2));
    const int w = rects.szCorner.cx;
    const int h = rects.szCorner.cy;
    const int nMiddleX = std::max(0, cx - 2 * w);
    const int nMiddleY = std::max(0, cy - 2 * h);
    rects.rcEdges[0] = CRect(CPoint(0, h), CSize(w, nMiddleY));
    rects.rcEdges[1] = CRect(CPoint(w, 0), CSize(nMiddleX, h));
    rects.rcEdges[2] = CRect(CPoint(cx - w, h), CSize(w, nMiddleY));
    rects.rcEdges[3] = CRect(CPoint(w, cy - h), CSize(nMiddleX, h));
    rects.rcCentre = CRect(CPoint(w, h), CSize(nMiddleX, nMiddleY));
    return rects;
}

int CQVTFrameShadow::HitTestZone(CPoint ptScreen) const
{
    CRect rcFrame;
    if (!::GetWindowRect(m_hWndFrame, &rcFrame) || !m_rcShadow.PtInRect(ptScreen) ||
        rcFrame.PtInRect(ptScreen))
        return zoneNone;
    if (ptScreen.y < rcFrame.top)
        return ptScreen.x < rcFrame.left ? zoneTopLeft : ptScreen.x >= rcFrame.right ? zoneTopRight : zoneTop;
    if (ptScreen.y >= rcFrame.bottom)
        return ptScreen.x < rcFrame.left     ? zoneBottomLeft
               : ptScreen.x >= rcFrame.right ? zoneBottomRight
                                             : zoneBottom;
    return ptScreen.x < rcFrame.left ? zoneLeft : zoneRight;
}
