// The tip window, and the tips of the bars: built by each bar, given unique
// texts and places by the bars, narrowed by typed keys.
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

namespace {

// Characters that may stand second in a tip when no caption letter is free:
// digits first, as the tips have always used them, then letters.
const TCHAR kSecondCharacters[] = _T("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");

}  // namespace

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

// The bar's tips.

void CQVTCommandBar::CreateKeyboardTips()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return;
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (!pControl->IsVisible() || (pControl->GetFlags() & qvtFlagSkipFocus) ||
            pControl->GetType() == qvtControlGallery)
            continue;
        const CString strCaption = pControl->GetCaption();
        if (strCaption.IsEmpty())
            continue;
        const CRect rc = pControl->GetRect();
        CQVTCommandBarKeyboardTip* pTip = new CQVTCommandBarKeyboardTip(
            pCommandBars, pControl, strCaption,
            CPoint(rc.left + pDpi->ScaleX(12), rc.bottom - pDpi->ScaleY(11)), 0, pControl->GetEnabled() != 0);
        const CString strExplicit = pControl->GetKeyboardTip();
        if (!strExplicit.IsEmpty())
        {
            pTip->m_strTip = strExplicit;
            pTip->m_strTip.MakeUpper();
            pTip->m_strExplicitTip = strExplicit;
        }
        pCommandBars->m_arrKeyboardTips.push_back(pTip);
    }
    if (GetParentCommandBar())
        return;
    for (int i = 0; i < pCommandBars->GetCount(); ++i)
    {
        CQVTCommandBar* pOther = pCommandBars->GetAt(i);
        if (pOther == this || !pOther->IsVisible() || !pOther->GetSafeHwnd())
            continue;
        CRect rcWindow;
        pOther->GetWindowRect(&rcWindow);
        pCommandBars->m_arrKeyboardTips.push_back(new CQVTCommandBarKeyboardTip(
            pCommandBars, pOther, pOther->GetTitle(), rcWindow.TopLeft(), 0, TRUE));
    }
}

void CQVTCommandBar::OnKeyboardTip(CQVTCommandBarKeyboardTip* pTip)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pTip || !pCommandBars)
        return;
    CQVTControl* pControl = DYNAMIC_DOWNCAST(CQVTControl, pTip->m_pTarget);
    if (pControl)
    {
        CQVTObjectRef<CQVTControl> keepAlive(pControl);
        pCommandBars->HideKeyboardTips();
        pControl->OnUnderlineActivate();
        return;
    }
    CQVTCommandBar* pBar = DYNAMIC_DOWNCAST(CQVTCommandBar, pTip->m_pTarget);
    if (pBar)
        pCommandBars->SetFocusedCommandBar(pBar, 0);
}

void CQVTCommandBar::HideKeyboardTips()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        pCommandBars->HideKeyboardTips();
}

void CQVTCommandBar::ShowKeyboardTipChar(UINT nChar)
{
    if (nChar == VK_SHIFT || nChar == VK_CONTROL)
        return;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || pCommandBars->m_arrKeyboardTips.empty())
    {
        CQVTCommandBars::Beep();
        return;
    }
    std::vector<CQVTCommandBarKeyboardTip*>& tips = pCommandBars->m_arrKeyboardTips;
    const int nTyped = pCommandBars->m_nKeyboardTipsTyped;
    CQVTCommandBarKeyboardTip* pChosen = nullptr;
    for (CQVTCommandBarKeyboardTip* pTip : tips)
    {
        if (pTip->m_strTip.GetLength() > nTyped &&
            CQVTShortcutManager::CompareAccelKey(pTip->m_strTip[nTyped], nChar))
        {
            pChosen = pTip;
            break;
        }
    }
    if (!pChosen)
    {
        CQVTCommandBars::Beep();
        return;
    }
    if (pChosen->m_strTip.GetLength() - 1 <= nTyped)
    {
        if (!pChosen->m_bEnabled)
        {
            CQVTCommandBars::Beep();
            return;
        }
        CQVTObjectRef<CQVTCommandBar> keepAlive(this);
        OnKeyboardTip(pChosen);
        return;
    }
    pCommandBars->m_nKeyboardTipsTyped = nTyped + 1;
    const CString strPrefix = pChosen->m_strTip.Left(nTyped + 1);
    for (size_t i = tips.size(); i-- > 0;)
    {
        CQVTCommandBarKeyboardTip* pTip = tips[i];
        if (pTip->m_strTip.Left(nTyped + 1) == strPrefix)
            continue;
        if (pTip->GetSafeHwnd())
            pTip->DestroyWindow();
        delete pTip;
        tips.erase(tips.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

// The bars' side.

namespace {

// Beeps since the program started.
LONG g_nKeyboardBeeps = 0;

}  // namespace

void AFX_CDECL CQVTCommandBars::Beep()
{
    ::InterlockedIncrement(&g_nKeyboardBeeps);
    ::MessageBeep(0);
}

LONG AFX_CDECL CQVTCommandBars::GetBeepCount()
{
    return g_nKeyboardBeeps;
}

CQVTCommandBarKeyboardTip* CQVTCommandBars::GetKeyboardTip(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetKeyboardTipCount())
        return nullptr;
    return m_arrKeyboardTips[static_cast<size_t>(nIndex)];
}

int CQVTCommandBars::GetKeyboardTipsLevel(const CQVTCommandBar* pBar) const
{
    return pBar && pBar == m_pKeyboardTipsBar ? m_nKeyboardTipsLevel : 0;
}

void CQVTCommandBars::CreateKeyboardTips(CQVTCommandBar* pBar)
{
    if (pBar)
        pBar->CreateKeyboardTips();
}

void CQVTCommandBars::HideKeyboardTips()
{
    std::vector<CQVTCommandBarKeyboardTip*> tips;
    tips.swap(m_arrKeyboardTips);
    for (CQVTCommandBarKeyboardTip* pTip : tips)
    {
        if (pTip->GetSafeHwnd())
            pTip->DestroyWindow();
        delete pTip;
    }
    m_pKeyboardTipsBar = nullptr;
    m_nKeyboardTipsLevel = 0;
    m_nKeyboardTipsTyped = 0;
}

namespace {

// Gives every tip of a group sharing a first character a second one; the
// texts stay unique (no tip is another's prefix) as long as characters last.
void MakeTipsUnique(std::vector<CQVTCommandBarKeyboardTip*>& tips)
{
    for (size_t i = 0; i < tips.size(); ++i)
    {
        const TCHAR chFirst = tips[i]->m_strTip[0];
        std::vector<CQVTCommandBarKeyboardTip*> group;
        group.push_back(tips[i]);
        for (size_t j = i + 1; j < tips.size(); ++j)
            if (tips[j]->m_strTip[0] == chFirst)
                group.push_back(tips[j]);
        if (group.size() < 2)
            continue;
        CString strUsed = _T("& ");
        for (size_t j = 1; j < group.size(); ++j)
            if (group[j]->m_strTip.GetLength() == 2)
                strUsed += group[j]->m_strTip[1];
        if (group[0]->m_strTip.GetLength() == 2)
            strUsed += group[0]->m_strTip[1];
        for (CQVTCommandBarKeyboardTip* pTip : group)
        {
            if (pTip->m_strTip.GetLength() > 1)
                continue;
            CString strCaption = pTip->m_strCaption;
            strCaption.MakeUpper();
            TCHAR chSecond = 0;
            for (int nBlank = strCaption.Find(_T(' ')); nBlank >= 0 && !chSecond;
                 nBlank = strCaption.Find(_T(' '), nBlank + 1))
            {
                if (nBlank + 1 < strCaption.GetLength() && strUsed.Find(strCaption[nBlank + 1]) < 0)
                    chSecond = strCaption[nBlank + 1];
            }
            if (!chSecond)
            {
                int nStart = strCaption.GetLength() > 0 && strCaption[0] == _T('&') ? 1 : 0;
                if (nStart < strCaption.GetLength() && strCaption[nStart] == chFirst)
                    ++nStart;
                for (int k = nStart; k < strCaption.GetLength() && !chSecond; ++k)
                    if (strUsed.Find(strCaption[k]) < 0)
                        chSecond = strCaption[k];
            }
            // No caption letter is free: the next character no tip of the
            // group holds yet. A counter's digit alone would repeat after 9.
            for (const TCHAR* p = kSecondCharacters; *p && !chSecond; ++p)
                if (strUsed.Find(*p) < 0)
                    chSecond = *p;
            if (!chSecond)
                continue;
            strUsed += chSecond;
            pTip->m_strTip += chSecond;
        }
    }
}

}  // namespace

void CQVTCommandBars::ShowKeyboardTips(CQVTCommandBar* pBar, int nLevel)
{
    HideKeyboardTips();
    if (!m_pOptions->bShowKeyboardTips || !pBar || !pBar->GetSafeHwnd())
        return;
    if (m_pToolTipContext)
        m_pToolTipContext->DeactivateToolTip();
    m_pKeyboardTipsBar = pBar;
    m_nKeyboardTipsLevel = nLevel;
    m_nKeyboardTipsTyped = 0;
    pBar->UpdateWindow();
    CreateKeyboardTips(pBar);
    if (m_arrKeyboardTips.empty())
    {
        m_pKeyboardTipsBar = nullptr;
        return;
    }

    CClientDC dc(pBar);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTFontDC font(&dc, pPaintManager->GetStatusFont());

    // Texts, from the last tip to the first.
    for (size_t i = m_arrKeyboardTips.size(); i-- > 0;)
    {
        CQVTCommandBarKeyboardTip* pTip = m_arrKeyboardTips[i];
        if (!pTip->m_strTip.IsEmpty())
        {
            pTip->m_bExplicit = TRUE;
            continue;
        }
        if (pTip->m_strCaption.IsEmpty())
        {
            delete pTip;
            m_arrKeyboardTips.erase(m_arrKeyboardTips.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        CString strCaption = pTip->m_strCaption;
        strCaption.MakeUpper();
        const int nPos = CQVTShortcutManager::FindAccelPos(strCaption);
        pTip->m_strTip = CString(strCaption[nPos >= 0 ? nPos + 1 : 0]);
    }
    MakeTipsUnique(m_arrKeyboardTips);

    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const BOOL bRightToLeft = IsLayoutRTL();
    for (CQVTCommandBarKeyboardTip* pTip : m_arrKeyboardTips)
    {
        if (!pTip->m_bVisible)
            continue;
        const CSize szText = dc.GetTextExtent(pTip->m_strTip);
        const int nHeight = std::max(static_cast<int>(szText.cy) + pDpi->ScaleY(2), pDpi->ScaleY(15));
        const int nWidth = std::max(static_cast<int>(szText.cx) + pDpi->ScaleX(6), pDpi->ScaleX(16));
        CPoint pt = pTip->m_pt;
        if (DYNAMIC_DOWNCAST(CQVTControl, pTip->m_pTarget))
            pBar->ClientToScreen(&pt);
        const int nOffsetY = (pTip->m_dwAlign & CQVTCommandBarKeyboardTip::alignCenterVertically)
                                 ? nHeight / 2
                             : (pTip->m_dwAlign & CQVTCommandBarKeyboardTip::alignBottom) ? nHeight
                                                                                          : 0;
        const int nOffsetX =
            (pTip->m_dwAlign & CQVTCommandBarKeyboardTip::alignCenterHorizontally)      ? nWidth / 2
            : bRightToLeft || (pTip->m_dwAlign & CQVTCommandBarKeyboardTip::alignRight) ? nWidth
                                                                                        : 0;
        const CRect rc(pt.x - nOffsetX, pt.y - nOffsetY, pt.x - nOffsetX + nWidth, pt.y - nOffsetY + nHeight);
        pTip->CreateTipWindow(rc);
    }
    for (CQVTCommandBarKeyboardTip* pTip : m_arrKeyboardTips)
        if (pTip->GetSafeHwnd())
            pTip->SetWindowPos(nullptr, 0, 0, 0, 0,
                               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                                   SWP_NOOWNERZORDER);
}
