// The tip window. The bars build, place and narrow the tips
// (QVTCommandBarKeyboardTips.cpp, QVTCommandBarsKeyboardTips.cpp).
#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"

#include <algorithm>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

BEGIN_MESSAGE_MAP(CQVTCommandBarKeyboardTip, CWnd)
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CQVTCommandBarKeyboardTip::CQVTCommandBarKeyboardTip(CQVTCommandBars* pCommandBars, CObject* pTarget,
                                                     LPCTSTR lpszCaption, CPoint pt, DWORD dwAlign,
                                                     BOOL bEnabled)
    : m_strCaption(lpszCaption), m_pTarget(pTarget), m_pt(pt), m_bEnabled(bEnabled), m_bVisible(TRUE),
      m_pCommandBars(pCommandBars), m_dwAlign(dwAlign), m_bExplicit(FALSE), m_bLayered(FALSE)
{
}

BOOL CQVTCommandBarKeyboardTip::CreateTipWindow(const CRect& rcScreen)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_SAVEBITS, nullptr, nullptr, nullptr);
    DWORD dwExStyle = WS_EX_TOOLWINDOW;
    m_bLayered = !m_bEnabled;
    if (m_bLayered)
        dwExStyle |= WS_EX_LAYERED;
    if (!CreateEx(dwExStyle, lpszClass, m_strTip, WS_POPUP, rcScreen.left, rcScreen.top, rcScreen.Width(),
                  rcScreen.Height(), nullptr, nullptr))
        return FALSE;
    SetWindowPos(&CWnd::wndTopMost, rcScreen.left, rcScreen.top, rcScreen.Width(), rcScreen.Height(),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    CQVTPaintManager* pPaintManager = m_pCommandBars ? m_pCommandBars->GetPaintManager() : QVTPaintManager();
    pPaintManager->DrawTooltipFrame(nullptr, this, TRUE, m_bEnabled);
    if (m_bLayered)
        ::SetLayeredWindowAttributes(m_hWnd, 0, 150, LWA_ALPHA);
    return TRUE;
}

void CQVTCommandBarKeyboardTip::OnPaint()
{
    CPaintDC dc(this);
    CQVTPaintManager* pPaintManager = m_pCommandBars ? m_pCommandBars->GetPaintManager() : QVTPaintManager();
    pPaintManager->DrawTooltipFrame(&dc, this, FALSE, m_bEnabled);
}

LRESULT CQVTCommandBarKeyboardTip::OnNcHitTest(CPoint)
{
    return HTTRANSPARENT;
}

BOOL CQVTCommandBarKeyboardTip::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
