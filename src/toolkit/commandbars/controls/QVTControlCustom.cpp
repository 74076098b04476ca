#include "toolkit/commandbars/controls/QVTControlCustom.h"

#include <afxext.h>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"

IMPLEMENT_SERIAL(CQVTControlCustom, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlCustom::CQVTControlCustom()
    : m_hwndControl(nullptr), m_rcBorders(0, 0, 0, 0), m_bShowWindow(TRUE), m_szControl(0, 0),
      m_nVerticalOptions(0), m_nControlId(0)
{
    m_dwFlags |= qvtFlagNoMovable;
}

CQVTControlCustom::~CQVTControlCustom()
{
    QVTHookManager()->RemoveAll(this);
}

void CQVTControlCustom::SetControl(HWND hWnd)
{
    if (hWnd == m_hwndControl)
        return;
    if (m_hwndControl)
        QVTHookManager()->RemoveHook(m_hwndControl, this);
    m_hwndControl = ::IsWindow(hWnd) ? hWnd : nullptr;
    if (m_hwndControl)
        QVTHookManager()->SetHook(m_hwndControl, this);
}

void CQVTControlCustom::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_rcBorders.SetRect(cxLeft, cyTop, cxRight, cyBottom);
}

BOOL CQVTControlCustom::IsWindowInBar() const
{
    return m_hwndControl && ::IsWindow(m_hwndControl) && m_pParent && m_pParent->GetSafeHwnd() &&
           ::GetParent(m_hwndControl) == m_pParent->GetSafeHwnd();
}

BOOL CQVTControlCustom::IsWindowShown() const
{
    return m_hwndControl && ::IsWindow(m_hwndControl) &&
           (::GetWindowLong(m_hwndControl, GWL_STYLE) & WS_VISIBLE);
}

void CQVTControlCustom::SetRect(CRect rcControl)
{
    if (m_rcControl == rcControl && IsWindowInBar())
        return;
    m_rcControl = rcControl;
    if (!m_hwndControl || !::IsWindow(m_hwndControl))
        return;
    if (m_pParent && m_pParent->GetSafeHwnd())
    {
        if (::GetParent(m_hwndControl) != m_pParent->GetSafeHwnd())
        {
            const LONG lStyle = ::GetWindowLong(m_hwndControl, GWL_STYLE);
            ::SetWindowLong(m_hwndControl, GWL_STYLE, (lStyle & ~WS_POPUP) | WS_CHILD);
            ::SetParent(m_hwndControl, m_pParent->GetSafeHwnd());
        }
        CRect rcWindow(rcControl);
        rcWindow.DeflateRect(m_rcBorders);
        ::MoveWindow(m_hwndControl, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(), TRUE);
    }
    ShowHide();
}

void CQVTControlCustom::ShowHide()
{
    if ((m_pControls && m_pControls->IsOriginals()) || !IsWindowInBar())
        return;
    const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
    const BOOL bShow = m_pParent && m_pParent->GetSafeHwnd() && m_bShowWindow && IsVisible(0);
    ::SetWindowPos(m_hwndControl, nullptr, 0, 0, 0, 0, nFlags | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

CSize CQVTControlCustom::GetSize(CDC* pDC)
{
    if (m_hwndControl && ::IsWindow(m_hwndControl) && m_bShowWindow)
        return CSize(m_szControl.cx + m_rcBorders.left + m_rcBorders.right,
                     m_szControl.cy + m_rcBorders.top + m_rcBorders.bottom);
    return CQVTControlButton::GetSize(pDC);
}

CSize CQVTControlCustom::Draw(CDC* pDC)
{
    if (IsWindowShown())
        return m_rcControl.Size();
    return CQVTControlButton::Draw(pDC);
}

void CQVTControlCustom::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (IsWindowShown() && !(m_pParent && m_pParent->IsCustomizeMode()))
        return;
    CQVTControlButton::OnClick(bKeyboard, pt);
}

void CQVTControlCustom::OnEnabledChanged()
{
    if (m_hwndControl && ::IsWindow(m_hwndControl))
        ::EnableWindow(m_hwndControl, GetEnabled() ? TRUE : FALSE);
}

void CQVTControlCustom::OnActionChanged(int nProperty)
{
    CQVTControlButton::OnActionChanged(nProperty);
    if (nProperty == 2)
        ShowHide();
}

void CQVTControlCustom::OnCalcDynamicSize(DWORD dwMode)
{
    const BOOL bVertical = (dwMode & LM_VERTDOCK) != 0;
    if (m_nVerticalOptions == 0)
        SetHideFlags(bVertical ? (m_dwHideFlags | qvtHideDockingPosition)
                               : (m_dwHideFlags & ~qvtHideDockingPosition));
    else if (m_nVerticalOptions == 2)
    {
        m_bShowWindow = !bVertical;
        ShowHide();
    }
}

void CQVTControlCustom::SetHideFlags(DWORD dwFlags)
{
    if (dwFlags == m_dwHideFlags)
        return;
    m_dwHideFlags = dwFlags;
    ShowHide();
    DelayLayoutParent();
}

void CQVTControlCustom::OnRemoved()
{
    m_bShowWindow = FALSE;
    if (m_hwndControl && ::IsWindow(m_hwndControl))
        ::ShowWindow(m_hwndControl, SW_HIDE);
    CQVTControlButton::OnRemoved();
}

BOOL CQVTControlCustom::IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint /*point*/,
                                                 DWORD& dropEffect)
{
    if (pCommandBar && pCommandBar->IsPopupBar())
        return TRUE;
    dropEffect = DROPEFFECT_NONE;
    return FALSE;
}

void CQVTControlCustom::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControlCustom* pCustom = DYNAMIC_DOWNCAST(CQVTControlCustom, pSource);
    if (pCustom && pCustom != this)
    {
        m_rcBorders = pCustom->m_rcBorders;
        m_nVerticalOptions = pCustom->m_nVerticalOptions;
        m_szControl = pCustom->m_szControl;
        SetControl(pCustom->m_hwndControl);
        m_nControlId = pCustom->m_nControlId;
    }
    CQVTControlButton::Copy(pSource, bRecursive);
}

void CQVTControlCustom::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTControlButton::DoPropExchange(pPX);
    RECT rcBorders = m_rcBorders;
    PropExchangeRectScaled(pPX, _T("Borders"), rcBorders, CRect(0, 0, 0, 0));
    SIZE szControl = m_szControl;
    PropExchangeSizeScaled(pPX, _T("ControlSize"), szControl, CSize(0, 0));
    PropExchangeInt(pPX, _T("VerticalOptions"), m_nVerticalOptions, 0);
    if (pPX->GetSchema() >= 6)
        PropExchangeInt(pPX, _T("ControlId"), m_nControlId, 0);
    if (!pPX->IsLoading())
        return;
    m_rcBorders = rcBorders;
    m_szControl = szControl;
    if (m_nControlId == 0)
        return;

    // The window again: a dialog item of the site, else of a bar.
    CQVTCommandBars* pCommandBars = GetCommandBars();
    HWND hWnd = nullptr;
    if (pCommandBars && pCommandBars->GetSite() && pCommandBars->GetSite()->GetSafeHwnd())
        hWnd = ::GetDlgItem(pCommandBars->GetSite()->GetSafeHwnd(), m_nControlId);
    for (int i = 0; !hWnd && pCommandBars && i < pCommandBars->GetCount(); ++i)
    {
        CQVTCommandBar* pBar = pCommandBars->GetAt(i);
        if (pBar && pBar->GetSafeHwnd())
            hWnd = ::GetDlgItem(pBar->GetSafeHwnd(), m_nControlId);
    }
    if (hWnd)
        SetControl(hWnd);
}

int CQVTControlCustom::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                     LRESULT& /*lResult*/)
{
    if (nMessage == WM_MOUSEMOVE && m_pParent && m_pParent->GetSafeHwnd())
    {
        CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        ::MapWindowPoints(hWnd, m_pParent->GetSafeHwnd(), &point, 1);
        m_pParent->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
    }
    return hookContinue;
}
