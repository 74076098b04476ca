#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageButtonThemes.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"

#include <algorithm>
#include <climits>

IMPLEMENT_SERIAL(CQVTRibbonBackstageCommand, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBackstageMenuSeparator, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBackstageTab, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTRibbonBackstageMenuSeparator::CQVTRibbonBackstageMenuSeparator()
{
    SetFlags(GetFlags() | qvtFlagSkipFocus);
}

CQVTRibbonBackstageTab::CQVTRibbonBackstageTab() : m_hwndPage(nullptr), m_szMinimumPage(0, 0) {}

CQVTRibbonBackstageTab::CQVTRibbonBackstageTab(HWND hwndPage) : m_hwndPage(hwndPage), m_szMinimumPage(0, 0) {}

CWnd* CQVTRibbonBackstageTab::GetPageWindow() const
{
    return m_hwndPage ? CWnd::FromHandle(m_hwndPage) : nullptr;
}

void CQVTRibbonBackstageTab::AssignPageKeyTips()
{
    m_arrPageKeyTips.clear();
    m_arrPageButtons.clear();
    if (!m_hwndPage || !::IsWindow(m_hwndPage))
        return;
    int nButton = 0;
    for (HWND hChild = ::GetWindow(m_hwndPage, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (!pChild || !pChild->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageButton)))
            continue;
        // The eleventh button gets "1" again: only the first digit of its number.
        CString strNumber;
        strNumber.Format(_T("%d"), nButton++);
        const WCHAR chTip = strNumber[0];
        m_arrPageKeyTips.push_back(chTip);
        m_arrPageButtons.push_back(hChild);
        ::SendMessage(hChild, CQVTRibbonBackstageButton::WM_QVT_SETKEYTIP, chTip, 0);
    }
}

void CQVTRibbonBackstageTab::ShowPageKeyTips(BOOL bShow)
{
    for (HWND hButton : m_arrPageButtons)
    {
        ::SendMessage(hButton, CQVTRibbonBackstageButton::WM_QVT_SHOWKEYTIP, bShow, 0);
        ::RedrawWindow(hButton, nullptr, nullptr, RDW_INVALIDATE);
    }
}

void CQVTRibbonBackstageTab::PressPageButton(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrPageButtons.size()))
        AfxThrowInvalidArgException();
    ::PostMessage(m_arrPageButtons[nIndex], BM_CLICK, 0, 0);
}

WCHAR CQVTRibbonBackstageTab::GetPageKeyTip(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrPageKeyTips.size()))
        return 0;
    return m_arrPageKeyTips[nIndex];
}

int CQVTRibbonBackstageTab::GetPageKeyTipCount() const
{
    return static_cast<int>(std::min<size_t>(m_arrPageKeyTips.size(), INT_MAX));
}

// The page button.

IMPLEMENT_DYNCREATE(CQVTRibbonBackstageButton, CQVTButton)

BEGIN_MESSAGE_MAP(CQVTRibbonBackstageButton, CQVTButton)
    ON_MESSAGE(CQVTRibbonBackstageButton::WM_QVT_SETKEYTIP, &CQVTRibbonBackstageButton::OnSetKeyTip)
    ON_MESSAGE(CQVTRibbonBackstageButton::WM_QVT_SHOWKEYTIP, &CQVTRibbonBackstageButton::OnShowKeyTip)
END_MESSAGE_MAP()

CQVTRibbonBackstageButton::CQVTRibbonBackstageButton() : m_bTabStyle(FALSE), m_bShowKeyTip(FALSE)
{
    SetTheme(7);
}

BOOL CQVTRibbonBackstageButton::SetTheme(int nTheme)
{
    CQVTButtonTheme* pTheme = nullptr;
    switch (nTheme)
    {
    case 7:
        pTheme = new CQVTRibbonBackstageButtonThemeResource;
        break;
    case 12:
        pTheme = new CQVTRibbonBackstageButtonThemeOffice2013;
        break;
    case 16:
        pTheme = new CQVTRibbonBackstageButtonThemeVisualStudio2015;
        break;
    case 17:
        pTheme = new CQVTRibbonBackstageButtonThemeNativeWindows10;
        break;
    default:
        return CQVTButton::SetTheme(nTheme);
    }
    SetThemeObject(pTheme);
    return TRUE;
}

CQVTRibbonBackstageView* CQVTRibbonBackstageButton::FindBackstageView() const
{
    for (HWND hAncestor = m_hWnd ? ::GetParent(m_hWnd) : nullptr; hAncestor;
         hAncestor = ::GetParent(hAncestor))
    {
        CWnd* pAncestor = CWnd::FromHandlePermanent(hAncestor);
        if (pAncestor && pAncestor->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageView)))
            return static_cast<CQVTRibbonBackstageView*>(pAncestor);
    }
    return nullptr;
}

void CQVTRibbonBackstageButton::SetTabStyle(BOOL bTabStyle)
{
    if (m_bTabStyle == bTabStyle)
        return;
    m_bTabStyle = bTabStyle;
    if (m_hWnd)
        Invalidate(FALSE);
}

LRESULT CQVTRibbonBackstageButton::OnSetKeyTip(WPARAM wParam, LPARAM)
{
    const TCHAR szTip[2] = {static_cast<TCHAR>(wParam), 0};
    m_strKeyTip = szTip;
    return 0;
}

LRESULT CQVTRibbonBackstageButton::OnShowKeyTip(WPARAM wParam, LPARAM)
{
    m_bShowKeyTip = static_cast<BOOL>(wParam);
    return 0;
}

// The separator window.

IMPLEMENT_DYNAMIC(CQVTRibbonBackstageSeparator, CWnd)

BEGIN_MESSAGE_MAP(CQVTRibbonBackstageSeparator, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CQVTRibbonBackstageSeparator::Create(CWnd* pParent, const CRect& rc, UINT nID)
{
    return CWnd::Create(AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), nullptr,
                        WS_CHILD | WS_VISIBLE, rc, pParent, nID);
}

BOOL CQVTRibbonBackstageSeparator::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQVTRibbonBackstageSeparator::OnPaint()
{
    // The page's background with the separator line along the right edge,
    // where the buttons it crosses draw their part of it.
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(rc, GetResourceImagesIniColor(_T("CommandBars.Ribbon.Backstage"), _T("PageBackground"),
                                                   ::GetSysColor(COLOR_WINDOW)));
    rc.left = rc.right - 1;
    dc.FillSolidRect(rc, GetResourceImagesIniColor(_T("CommandBars.Ribbon.Backstage"), _T("PageSeparator"),
                                                   RGB(225, 225, 225)));
}
