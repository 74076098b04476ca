// The frame hook: attaching, the message table and the non-client handlers.
// Caption buttons, the region and the window-event hook are in
// QVTCommandBarsFrameHookCaption.cpp.
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"

#ifndef WM_DWMCOMPOSITIONCHANGED
#define WM_DWMCOMPOSITIONCHANGED 0x031E
#endif

const UINT QVT_WM_UPDATE_MDI_CHILD_THEME = ::RegisterWindowMessageW(_T("QVT_WM_UPDATE_MDI_CHILD_THEME"));

BOOL CQVTCommandBarsFrameHook::s_bAllowDwm = TRUE;

namespace {
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED.
const UINT kFrameChangedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
const UINT kSysMenuMessage = 0x0313;
const UINT kIdleUpdateMessage = 0x0363;
const UINT kStatusBarId = 0xE801;  // AFX_IDW_STATUS_BAR

BOOL FrameHookTaskbarAutoHides()
{
    APPBARDATA abd = {sizeof(abd)};
    return (::SHAppBarMessage(ABM_GETSTATE, &abd) & ABS_AUTOHIDE) != 0;
}
}  // namespace

UINT AFX_CDECL CQVTCommandBarsFrameHook::GetFrameHookMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageW(_T("WM_GETFRAMEHOOK"));
    return nMessage;
}

CQVTCommandBarsFrameHook* AFX_CDECL CQVTCommandBarsFrameHook::FromFrame(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd) || !QVTHookManager()->Lookup(hWnd))
        return nullptr;
    return reinterpret_cast<CQVTCommandBarsFrameHook*>(::SendMessage(hWnd, GetFrameHookMessage(), 0, 0));
}

CQVTCommandBarsFrameHook::CQVTCommandBarsFrameHook()
    : m_nInDefaultActivation(0), m_hwndFrame(nullptr), m_pRibbonBar(nullptr), m_pCommandBars(nullptr),
      m_pPaintManager(nullptr), m_bUseGlobalPaintManager(FALSE), m_bActive(TRUE), m_szFrameRegion(0, 0),
      m_bDelayReclalcLayout(FALSE), m_pCaptionButtons(new CQVTControls()), m_pButtonHot(nullptr),
      m_bButtonPressed(FALSE), m_bAttached(FALSE), m_bInUpdateFrame(FALSE), m_bDwmFrame(FALSE),
      m_bDestroying(FALSE), m_bExtendTopDockBar(FALSE), m_pShadow(nullptr), m_bFixScrollStyles(TRUE),
      m_nMsgUpdateSkinState(::RegisterWindowMessageW(_T("WM_SKINFRAMEWORK_UPDATESTATE"))),
      m_nMsgQuerySkinState(::RegisterWindowMessageW(_T("WM_SKINFRAMEWORK_QUERYSTATE"))),
      m_pSink(new CQVTNotifySink()), m_pAlive(std::make_shared<BOOL>(TRUE))
{
    m_bAutoDeleteHook = FALSE;
    QVTPaintManager()->InternalAddRef();
    GetFrameHookMessage();
    m_pCaptionButtons->AddControl(new CControlCaptionButton(this, SC_CLOSE, HTCLOSE));
    m_pCaptionButtons->AddControl(new CControlCaptionButton(this, SC_RESTORE, HTMAXBUTTON));
    m_pCaptionButtons->AddControl(new CControlCaptionButton(this, SC_MAXIMIZE, HTMAXBUTTON));
    m_pCaptionButtons->AddControl(new CControlCaptionButton(this, SC_MINIMIZE, HTMINBUTTON));
    m_pSink->Advise(QVTResourceImages()->GetConnection(), QVT_NOTIFY_RESOURCE_IMAGES_CHANGED,
                    new CQVTNotifySinkClassDelegate<CQVTCommandBarsFrameHook>(
                        this, &CQVTCommandBarsFrameHook::OnResourceImagesChanged));
}

CQVTCommandBarsFrameHook::~CQVTCommandBarsFrameHook()
{
    // A press loop still running on the stack learns the hook is gone.
    *m_pAlive = FALSE;
    m_bDestroying = TRUE;
    m_pButtonHot = nullptr;
    m_pCaptionButtons->RemoveAll();
    m_pCaptionButtons->InternalRelease();
    m_pCaptionButtons = nullptr;
    Detach();
    m_pSink->Delete();
    m_pSink = nullptr;
    if (m_pPaintManager)
    {
        m_pPaintManager->RemoveObserver(this);
        m_pPaintManager->InternalRelease();
        m_pPaintManager = nullptr;
    }
    QVTPaintManager()->InternalRelease();
}

// Attaching.

void CQVTCommandBarsFrameHook::AttachCommandBars(CQVTCommandBars* pCommandBars)
{
    if (static_cast<BOOL>(pCommandBars != nullptr) == m_bAttached && pCommandBars == m_pCommandBars)
        return;
    if (m_bAttached)
        Detach();
    if (!pCommandBars || !pCommandBars->GetSite() || !pCommandBars->GetSite()->GetSafeHwnd())
        return;
    m_pCommandBars = pCommandBars;
    m_pRibbonBar = DYNAMIC_DOWNCAST(CQVTRibbonBar, pCommandBars->GetMenuBar());
    m_hwndFrame = pCommandBars->GetSite()->GetSafeHwnd();
    SetPaintManager(nullptr);
    m_bActive = TRUE;
    m_szFrameRegion = CSize(0, 0);
    m_pButtonHot = nullptr;
    m_bButtonPressed = FALSE;
    m_bDelayReclalcLayout = FALSE;

    QVTHookManager()->SetHook(m_hwndFrame, this);
    m_bAttached = TRUE;
    ::SendMessage(m_hwndFrame, m_nMsgUpdateSkinState, 0, 0);
    UpdateDwmFlag();
    if (m_bDwmFrame)
        ::SetWindowRgn(m_hwndFrame, nullptr, TRUE);
    else
        FixScrollStyles();
    UpdateFrameRegion();
    ::SetWindowPos(m_hwndFrame, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    InstallWinEventHook();
    CreateFrameShadow();
}

void CQVTCommandBarsFrameHook::Detach()
{
    RemoveFrameShadow();
    m_pCommandBars = nullptr;
    m_pRibbonBar = nullptr;
    SetPaintManager(nullptr);
    const HWND hWnd = m_hwndFrame;
    const BOOL bWasAttached = m_bAttached;
    m_bAttached = FALSE;
    QVTHookManager()->RemoveAll(this);
    if (bWasAttached && !m_bDestroying && hWnd && ::IsWindow(hWnd))
    {
        if (m_bDwmFrame)
            CQVTWinThemeWrapper(FALSE).DwmExtendFrameIntoClientArea(hWnd, 0, 0, 0, 0);
        ::SendMessage(hWnd, m_nMsgUpdateSkinState, 0, 0);
        ::SetWindowRgn(hWnd, nullptr, TRUE);
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    }
    m_hwndFrame = nullptr;
    m_bDwmFrame = FALSE;
    RemoveWinEventHook();
}

void CQVTCommandBarsFrameHook::SetPaintManager(CQVTPaintManager* pPaintManager)
{
    if (m_pPaintManager == pPaintManager)
        return;
    if (m_pPaintManager)
    {
        m_pPaintManager->RemoveObserver(this);
        m_pPaintManager->InternalRelease();
    }
    m_pPaintManager = pPaintManager;
    if (m_pPaintManager)
    {
        m_pPaintManager->InternalAddRef();
        m_pPaintManager->AddObserver(this);
    }
}

void CQVTCommandBarsFrameHook::OnPaintManagerDestroyed(CQVTPaintManager* pPaintManager)
{
    if (pPaintManager == m_pPaintManager)
        m_pPaintManager = nullptr;
}

void CQVTCommandBarsFrameHook::OnThemeChanging()
{
    RemoveFrameShadow();
}

void CQVTCommandBarsFrameHook::OnThemeChanged()
{
    if (!m_bAttached)
        return;
    if (CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager())
        pFramePaintManager->RefreshMetrics();
    RecalcFrameLayout();
    CreateFrameShadow();
}

CQVTPaintManager* CQVTCommandBarsFrameHook::GetPaintManager() const
{
    if (m_pCommandBars)
        return m_pCommandBars->GetPaintManager();
    if (m_bUseGlobalPaintManager || !m_pPaintManager)
        return QVTPaintManager();
    return m_pPaintManager;
}

CQVTFramePaintManager* CQVTCommandBarsFrameHook::GetFramePaintManager() const
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetFramePaintManager() : nullptr;
}

void CQVTCommandBarsFrameHook::UpdateDwmFlag()
{
    m_bDwmFrame = s_bAllowDwm && m_hwndFrame && !(GetStyle() & WS_CHILD) &&
                  CQVTWinThemeWrapper(FALSE).DwmIsCompositionEnabled();
}

void CQVTCommandBarsFrameHook::OnResourceImagesChanged(UINT, WPARAM, LPARAM)
{
    if (!m_bAttached || m_bDwmFrame)
        return;
    if (CQVTPaintManager* pPaintManager = GetPaintManager())
        pPaintManager->RefreshMetrics();
    RedrawFrame();
}

// Queries.

DWORD CQVTCommandBarsFrameHook::GetStyle() const
{
    return m_hwndFrame ? static_cast<DWORD>(::GetWindowLongPtr(m_hwndFrame, GWL_STYLE)) : 0;
}

DWORD CQVTCommandBarsFrameHook::GetExStyle() const
{
    return m_hwndFrame ? static_cast<DWORD>(::GetWindowLongPtr(m_hwndFrame, GWL_EXSTYLE)) : 0;
}

BOOL CQVTCommandBarsFrameHook::IsMDIMaximized() const
{
    return (GetStyle() & WS_MAXIMIZE) && (GetExStyle() & WS_EX_MDICHILD);
}

BOOL CQVTCommandBarsFrameHook::IsFrameWindow() const
{
    CWnd* pWnd = m_hwndFrame ? CWnd::FromHandlePermanent(m_hwndFrame) : nullptr;
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd));
}

CRect CQVTCommandBarsFrameHook::CalcFrameBorders() const
{
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    return pFramePaintManager
               ? pFramePaintManager->CalcFrameBorders(const_cast<CQVTCommandBarsFrameHook*>(this))
               : CRect(0, 0, 0, 0);
}

BOOL CQVTCommandBarsFrameHook::IsCaptionVisible() const
{
    if (!m_pRibbonBar)
        return TRUE;
    const DWORD dwStyle = GetStyle();
    if ((dwStyle & WS_CHILD) && (dwStyle & WS_MAXIMIZE))
        return FALSE;
    if (!(dwStyle & WS_CHILD))
        return !m_pRibbonBar->IsVisible() && m_pRibbonBar->GetPosition() == qvtBarTop;
    return (dwStyle & WS_MINIMIZE) != 0;
}

int CQVTCommandBarsFrameHook::GetCaptionHeight() const
{
    const int nTop = CalcFrameBorders().top;
    if (m_pRibbonBar && !IsCaptionVisible())
        return m_pRibbonBar->GetCaptionHeight() + nTop;
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    return (pFramePaintManager ? pFramePaintManager->GetCaptionHeight() : ::GetSystemMetrics(SM_CYCAPTION)) +
           nTop;
}

int CQVTCommandBarsFrameHook::GetDwmTopBorder() const
{
    return m_bDwmFrame ? CalcFrameBorders().top : 0;
}

BOOL CQVTCommandBarsFrameHook::IsFrameHasStatusBar(int* pnHeight) const
{
    if (pnHeight)
        *pnHeight = 0;
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    if (!pFramePaintManager || !pFramePaintManager->m_bAllowStatusBarInFrame || !m_hwndFrame)
        return FALSE;
    HWND hStatus = ::GetDlgItem(m_hwndFrame, kStatusBarId);
    if (!hStatus || !::IsWindowVisible(hStatus))
        return FALSE;
    if (pnHeight)
    {
        CRect rc;
        ::GetWindowRect(hStatus, &rc);
        *pnHeight = rc.Height();
    }
    return TRUE;
}

CPoint CQVTCommandBarsFrameHook::ToWindow(CPoint ptScreen) const
{
    CRect rcWindow;
    ::GetWindowRect(m_hwndFrame, &rcWindow);
    return ptScreen - rcWindow.TopLeft();
}

// Layout and redrawing.

void CQVTCommandBarsFrameHook::RecalcFrameLayout()
{
    if (!m_hwndFrame)
        return;
    m_szFrameRegion = CSize(0, 0);
    m_bDelayReclalcLayout = FALSE;
    ::SetWindowPos(m_hwndFrame, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    if (IsFrameWindow())
        static_cast<CFrameWnd*>(CWnd::FromHandlePermanent(m_hwndFrame))->RecalcLayout(TRUE);
    else
    {
        CRect rc;
        ::GetClientRect(m_hwndFrame, &rc);
        ::SendMessage(m_hwndFrame, WM_SIZE, 0, MAKELPARAM(rc.Width(), rc.Height()));
    }
    RedrawRibbonBar();
}

void CQVTCommandBarsFrameHook::DelayRecalcFrame()
{
    m_bDelayReclalcLayout = TRUE;
    if (m_hwndFrame)
        ::PostMessage(m_hwndFrame, kIdleUpdateMessage, 0, 0);
}

void CQVTCommandBarsFrameHook::RedrawRibbonBar()
{
    if (m_pRibbonBar && m_pRibbonBar->GetSafeHwnd() && m_pRibbonBar->IsVisible())
        m_pRibbonBar->Redraw();
}

void CQVTCommandBarsFrameHook::RedrawFrame()
{
    if (!m_hwndFrame || m_bDwmFrame || !::IsWindowVisible(m_hwndFrame))
        return;
    LRESULT lResult = 0;
    OnNcPaint(lResult);
}

void CQVTCommandBarsFrameHook::DrawRibbonFrameCaption(CDC* pDC)
{
    // The ribbon's caption row, on the frame's own caption when the ribbon
    // is hidden but still owns the title.
    if (!m_pRibbonBar || !pDC)
        return;
    CQVTRibbonPaintManager* pRibbonPaintManager = m_pRibbonBar->GetRibbonPaintManager();
    if (pRibbonPaintManager)
        pRibbonPaintManager->DrawRibbonFrameCaption(pDC, m_pRibbonBar, m_bActive);
}

// The message table.

int CQVTCommandBarsFrameHook::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                            LRESULT& lResult)
{
    if (!m_bAttached || hWnd != m_hwndFrame)
        return hookContinue;
    try
    {
        if (nMessage == QVT_WM_UPDATE_MDI_CHILD_THEME)
        {
            OnUpdateMDIChildTheme();
            return hookHandled;
        }
        if (nMessage == WM_ACTIVATE && m_pShadow)
        {
            CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
            const BOOL bActive =
                LOWORD(wParam) != WA_INACTIVE || IsShadowWindow(reinterpret_cast<HWND>(lParam));
            if (pFramePaintManager)
                pFramePaintManager->OnFrameActivate(bActive, CWnd::FromHandle(m_hwndFrame), m_pShadow);
            return hookContinue;
        }
        if (m_nInDefaultActivation > 0 && !m_bDwmFrame)
        {
            if (nMessage == WM_STYLECHANGING || nMessage == WM_STYLECHANGED ||
                nMessage == WM_WINDOWPOSCHANGED || nMessage == WM_NCPAINT)
                return hookHandled;
            if (nMessage == WM_WINDOWPOSCHANGING)
            {
                reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_FRAMECHANGED;
                return hookHandled;
            }
        }
        if (nMessage == GetFrameHookMessage())
        {
            lResult = reinterpret_cast<LRESULT>(this);
            return hookHandled;
        }
        if (nMessage == m_nMsgQuerySkinState)
        {
            lResult = 1;
            return hookHandled;
        }
        switch (nMessage)
        {
        case WM_WINDOWPOSCHANGING:
            OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
            return hookContinue;
        case WM_WINDOWPOSCHANGED:
            if ((reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED) && !m_bInUpdateFrame)
                UpdateFrameRegion();
            return hookContinue;
        case WM_SIZE:
        case WM_STYLECHANGED:
            OnSizeOrStyle(nMessage, wParam);
            return hookContinue;
        case WM_NCRBUTTONDOWN:
            // Wine's default tracks the button itself and eats the release.
            return IsCaptionVisible() && !m_bDwmFrame && wParam == HTCAPTION ? hookHandled : hookContinue;
        case WM_NCRBUTTONUP:
            if (!IsCaptionVisible() || m_bDwmFrame || wParam != HTCAPTION)
                return hookContinue;
            ShowSystemMenu(lParam);
            return hookHandled;
        case WM_NCLBUTTONDOWN:
            return OnNcLButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) ? hookHandled
                                                                                       : hookContinue;
        case WM_NCMOUSEMOVE:
            if (IsCaptionVisible() && !m_bDwmFrame)
                OnNcMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            return hookContinue;
        case WM_TIMER:
            return OnTimer(wParam) ? hookHandled : hookContinue;
        case WM_NCHITTEST:
            return OnNcHitTest(wParam, lParam, lResult) ? hookHandled : hookContinue;
        case WM_SETTEXT:
            lResult = QVTHookManager()->Default();
            if (IsCaptionVisible())
                RedrawFrame();
            else if (m_pRibbonBar)
                RecalcFrameLayout();
            return hookHandled;
        case WM_NCACTIVATE:
            return !m_bDwmFrame && OnNcActivate(wParam, lParam, lResult) ? hookHandled : hookContinue;
        case WM_GETMINMAXINFO:
            if (m_bDwmFrame)
                return hookContinue;
            OnGetMinMaxInfo(lParam, lResult);
            return hookHandled;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != SC_MINIMIZE || !(GetStyle() & WS_CHILD) || m_bDwmFrame)
                return hookContinue;
            lResult = QVTHookManager()->Default();
            RedrawFrame();
            return hookHandled;
        case WM_NCPAINT:
            return !m_bDwmFrame && OnNcPaint(lResult) ? hookHandled : hookContinue;
        case WM_PRINT:
            if (m_bDwmFrame)
                return hookContinue;
            lResult = QVTHookManager()->Default();
            if (lParam & PRF_NONCLIENT)
            {
                CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
                CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
                if (pFramePaintManager && pDC)
                    pFramePaintManager->DrawFrame(pDC, this);
            }
            return hookHandled;
        case kIdleUpdateMessage:
            if (m_bDelayReclalcLayout)
                RecalcFrameLayout();
            return hookContinue;
        case WM_DWMCOMPOSITIONCHANGED:
            OnCompositionChanged();
            return hookContinue;
        case WM_NCCALCSIZE:
            if (m_nInDefaultActivation > 0)
                return hookContinue;
            return OnNcCalcSize(wParam, lParam, lResult) ? hookHandled : hookContinue;
        default:
            return hookContinue;
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return hookContinue;
}

void CQVTCommandBarsFrameHook::OnWindowPosChanging(WINDOWPOS* pPos)
{
    if ((pPos->flags & SWP_NOSIZE) || (GetStyle() & WS_CHILD))
        return;
    const CSize sz(pPos->cx, pPos->cy);
    if (sz != m_szFrameRegion)
        SetFrameRegion(sz, FALSE);
}

void CQVTCommandBarsFrameHook::OnSizeOrStyle(UINT nMessage, WPARAM wParam)
{
    if (nMessage == WM_SIZE && wParam == SIZE_MINIMIZED && (GetStyle() & WS_MAXIMIZE))
        ::SetWindowLongPtr(m_hwndFrame, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() & ~WS_MAXIMIZE));
    CRect rcWindow;
    ::GetWindowRect(m_hwndFrame, &rcWindow);
    if (nMessage == WM_SIZE && rcWindow.Size() == m_szFrameRegion)
        return;
    SetFrameRegion(rcWindow.Size(), nMessage == WM_STYLECHANGED);
    UpdateCaptionButtons();
    RedrawFrame();
}

void CQVTCommandBarsFrameHook::OnCompositionChanged()
{
    const BOOL bWasDwm = m_bDwmFrame;
    UpdateDwmFlag();
    if (bWasDwm == m_bDwmFrame)
        return;
    ::SetWindowRgn(m_hwndFrame, nullptr, TRUE);
    if (!m_bDwmFrame)
        FixScrollStyles();
    m_szFrameRegion = CSize(0, 0);
    ::SetWindowPos(m_hwndFrame, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
}

void CQVTCommandBarsFrameHook::OnGetMinMaxInfo(LPARAM lParam, LRESULT& lResult)
{
    lResult = QVTHookManager()->Default();
    MINMAXINFO* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    const int h = GetCaptionHeight();
    pInfo->ptMinTrackSize.x = std::max<LONG>(pInfo->ptMinTrackSize.x, 3 * h + ::GetSystemMetrics(SM_CYSIZE) +
                                                                          2 * ::GetSystemMetrics(SM_CXEDGE));
    pInfo->ptMinTrackSize.y = std::max<LONG>(pInfo->ptMinTrackSize.y, h);
}

BOOL CQVTCommandBarsFrameHook::OnNcActivate(WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(m_hwndFrame);
    BOOL bState = static_cast<BOOL>(wParam);
    const BOOL bEnabled = ::IsWindowEnabled(m_hwndFrame);
    if (!bEnabled)
        bState = FALSE;
    else if (pWnd && (pWnd->m_nFlags & WF_STAYACTIVE))
        bState = TRUE;
    if (!::IsWindowVisible(m_hwndFrame))
    {
        m_bActive = bState;
        return FALSE;
    }
    const DWORD dwStyle = GetStyle();
    ++m_nInDefaultActivation;
    if (dwStyle & WS_THICKFRAME)
        ::SetWindowLongPtr(m_hwndFrame, GWL_STYLE, static_cast<LONG_PTR>(dwStyle & ~WS_THICKFRAME));
    lResult = bEnabled ? QVTHookManager()->DefaultWithParams(static_cast<WPARAM>(bState), 0)
                       : QVTHookManager()->DefaultWithParams(wParam, lParam);
    if (dwStyle & WS_THICKFRAME)
        ::SetWindowLongPtr(m_hwndFrame, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_THICKFRAME));
    --m_nInDefaultActivation;
    if (bState != m_bActive)
    {
        m_bActive = bState;
        UpdateCaptionButtons();
        RedrawRibbonBar();
    }
    RedrawFrame();
    return TRUE;
}

BOOL CQVTCommandBarsFrameHook::OnNcCalcSize(WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    RECT* pRect =
        wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const RECT rcProposed = *pRect;
    const BOOL bCaption = IsCaptionVisible();
    const DWORD dwStyle = GetStyle();
    if (m_bDwmFrame)
    {
        lResult = QVTHookManager()->Default();
        if (!bCaption)
            pRect->top = rcProposed.top;
    }
    else
    {
        CRect rcBorders = CalcFrameBorders();
        if (IsFrameHasStatusBar() && !(dwStyle & WS_MAXIMIZE))
            rcBorders.bottom = std::max(1, static_cast<int>(rcBorders.bottom) - QVTDpiScaler()->ScaleY(3));
        pRect->left += rcBorders.left;
        pRect->top += rcBorders.top;
        pRect->right -= rcBorders.right;
        pRect->bottom -= rcBorders.bottom;
        if (bCaption)
            pRect->top += GetCaptionHeight() - rcBorders.top;
        lResult = 0;
    }
    if ((dwStyle & WS_MAXIMIZE) && !(dwStyle & WS_CHILD) && FrameHookTaskbarAutoHides())
        pRect->bottom -= 1;
    pRect->bottom = std::max(pRect->bottom, pRect->top);
    pRect->right = std::max(pRect->right, pRect->left);
    return TRUE;
}

BOOL CQVTCommandBarsFrameHook::OnNcHitTest(WPARAM, LPARAM lParam, LRESULT& lResult)
{
    const CPoint ptScreen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const CPoint pt = ToWindow(ptScreen);
    const DWORD dwStyle = GetStyle();
    if (!IsCaptionVisible())
    {
        lResult = QVTHookManager()->Default();
        if (!m_bDwmFrame)
        {
            CRect rcWindow;
            ::GetWindowRect(m_hwndFrame, &rcWindow);
            if (lResult == HTBORDER && (GetExStyle() & WS_EX_CLIENTEDGE) && (dwStyle & WS_THICKFRAME) &&
                !(dwStyle & WS_MINIMIZE) && ptScreen.y == rcWindow.bottom - 1)
                lResult = HTBOTTOM;
        }
        else if (pt.y < GetCaptionHeight())
        {
            LRESULT lDwm = 0;
            if (CQVTWinThemeWrapper(FALSE).DwmDefWindowProc(m_hwndFrame, WM_NCHITTEST, 0, lParam, &lDwm) ==
                S_OK)
                lResult = lDwm;
        }
        return TRUE;
    }
    if (m_bDwmFrame)
        return FALSE;
    lResult = QVTHookManager()->Default();
    if (lResult == HTMINBUTTON || lResult == HTMAXBUTTON || lResult == HTCLOSE || lResult == HTHELP)
        lResult = HTCAPTION;
    if (CControlCaptionButton* pButton = static_cast<CControlCaptionButton*>(HitTestCaptionButton(ptScreen)))
    {
        lResult = pButton->GetHitCode();
        return TRUE;
    }
    if (lResult != HTNOWHERE && lResult != HTCAPTION)
        return TRUE;
    if (pt.y >= GetCaptionHeight())
        return TRUE;
    if (pt.x < QVTDpiScaler()->ScaleX(7) + ::GetSystemMetrics(SM_CXSMICON))
        lResult = (dwStyle & WS_SYSMENU) ? HTSYSMENU : HTCAPTION;
    else
        lResult = HTCAPTION;
    return TRUE;
}

BOOL CQVTCommandBarsFrameHook::OnNcPaint(LRESULT& lResult)
{
    lResult = 0;
    if (IsMDIMaximized())
        return TRUE;
    UpdateCaptionButtons();
    CQVTFramePaintManager* pFramePaintManager = GetFramePaintManager();
    if (!pFramePaintManager)
        return TRUE;
    HDC hDC = ::GetWindowDC(m_hwndFrame);
    if (!hDC)
        return TRUE;
    // The client area is the bars' and the site's: the frame draws around it.
    CRect rcWindow, rcClient;
    ::GetWindowRect(m_hwndFrame, &rcWindow);
    ::GetClientRect(m_hwndFrame, &rcClient);
    ::MapWindowPoints(m_hwndFrame, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
    rcClient.OffsetRect(-rcWindow.TopLeft());
    ::ExcludeClipRect(hDC, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    pFramePaintManager->DrawFrame(CDC::FromHandle(hDC), this);
    ::ReleaseDC(m_hwndFrame, hDC);
    return TRUE;
}

void CQVTCommandBarsFrameHook::FixScrollStyles()
{
    const DWORD dwFix = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL;
    const DWORD dwStyle = GetStyle();
    if (m_bDwmFrame || !m_bFixScrollStyles || !(dwStyle & dwFix))
        return;
    ++m_nInDefaultActivation;
    ::SetWindowLongPtr(m_hwndFrame, GWL_STYLE, static_cast<LONG_PTR>(dwStyle & ~dwFix));
    CRect rc;
    ::GetWindowRect(m_hwndFrame, &rc);
    ::SendMessage(m_hwndFrame, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&rc));
    ::SetWindowLongPtr(m_hwndFrame, GWL_STYLE, static_cast<LONG_PTR>(dwStyle));
    --m_nInDefaultActivation;
    RedrawFrame();
}
