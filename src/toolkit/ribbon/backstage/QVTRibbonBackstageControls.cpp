#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"

#include <climits>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"

IMPLEMENT_SERIAL(CQVTRibbonBackstageCommand, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBackstageMenuSeparator, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonBackstageTab, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_DYNCREATE(CQVTRibbonBackstageButton, CQVTButton)
IMPLEMENT_DYNCREATE(CQVTRibbonBackstageSeparator, CWnd)

CQVTRibbonBackstageCommand::CQVTRibbonBackstageCommand() {}

CQVTRibbonBackstageMenuSeparator::CQVTRibbonBackstageMenuSeparator()
{
    m_dwFlags |= qvtFlagSkipFocus;
}

CQVTRibbonBackstageTab::CQVTRibbonBackstageTab(HWND hwndPage) : m_hwndPage(hwndPage), m_szMinimumPage(0, 0) {}

void CQVTRibbonBackstageTab::AssignPageKeyTips()
{
    m_arrPageKeyTips.RemoveAll();
    m_arrPageButtons.RemoveAll();
    if (!m_hwndPage || !::IsWindow(m_hwndPage))
        return;
    int nButton = 0;
    for (HWND hwndChild = ::GetWindow(m_hwndPage, GW_CHILD); hwndChild;
         hwndChild = ::GetWindow(hwndChild, GW_HWNDNEXT))
    {
        CWnd* pChild = CWnd::FromHandlePermanent(hwndChild);
        if (!pChild || !pChild->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageButton)))
            continue;
        CString strNumber;
        strNumber.Format(_T("%d"), nButton++);
        const TCHAR chTip = strNumber[0];
        m_arrPageKeyTips.Add(chTip);
        m_arrPageButtons.Add(hwndChild);
        ::SendMessage(hwndChild, CQVTRibbonBackstageButton::WM_QVT_SETKEYTIP, static_cast<WPARAM>(chTip), 0);
    }
}

void CQVTRibbonBackstageTab::ShowPageKeyTips(BOOL bShow)
{
    for (INT_PTR i = 0; i < m_arrPageButtons.GetSize(); ++i)
    {
        const HWND hwndButton = m_arrPageButtons[i];
        if (!::IsWindow(hwndButton))
            continue;
        ::SendMessage(hwndButton, CQVTRibbonBackstageButton::WM_QVT_SHOWKEYTIP, static_cast<WPARAM>(bShow),
                      0);
        ::RedrawWindow(hwndButton, nullptr, nullptr, RDW_INVALIDATE);
    }
}

void CQVTRibbonBackstageTab::PressPageButton(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_arrPageButtons.GetSize())
        AfxThrowInvalidArgException();
    ::PostMessage(m_arrPageButtons[nIndex], BM_CLICK, 0, 0);
}

TCHAR CQVTRibbonBackstageTab::GetPageKeyTip(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_arrPageKeyTips.GetSize())
        return 0;
    return m_arrPageKeyTips[nIndex];
}

int CQVTRibbonBackstageTab::GetPageKeyTipCount() const
{
    const INT_PTR nCount = m_arrPageKeyTips.GetSize();
    return nCount > INT_MAX ? INT_MAX : static_cast<int>(nCount);
}

BEGIN_MESSAGE_MAP(CQVTRibbonBackstageButton, CQVTButton)
    ON_MESSAGE(WM_QVT_SETKEYTIP, &CQVTRibbonBackstageButton::OnSetKeyTip)
    ON_MESSAGE(WM_QVT_SHOWKEYTIP, &CQVTRibbonBackstageButton::OnShowKeyTip)
END_MESSAGE_MAP()

CQVTRibbonBackstageButton::CQVTRibbonBackstageButton() : m_bTabStyle(FALSE), m_bShowKeyTip(FALSE)
{
    // Waits for: CQVTRibbonBackstageButtonThemeResource (button theme 7 of the
    // backstage buttons): until it exists the button keeps its base theme.
}

LRESULT CQVTRibbonBackstageButton::OnSetKeyTip(WPARAM wParam, LPARAM)
{
    m_strKeyTip = CString(static_cast<TCHAR>(wParam));
    return 0;
}

LRESULT CQVTRibbonBackstageButton::OnShowKeyTip(WPARAM wParam, LPARAM)
{
    m_bShowKeyTip = static_cast<BOOL>(wParam);
    return 0;
}
