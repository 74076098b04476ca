// The bars' keyboard tips: made for the bar that shows them, given unique
// texts and placed, hidden together. (A further file of CQVTCommandBars.)
#include "toolkit/commandbars/bars/QVTCommandBars.h"

#include <algorithm>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"

namespace {

// Characters that may stand second in a tip when no caption letter is free:
// digits first, as the tips have always used them, then letters.
const TCHAR kSecondCharacters[] = _T("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");

}  // namespace

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
    return m_arrKeyboardTips[static_cast<size_t>(nIndex)].get();
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

CQVTCommandBarKeyboardTip* CQVTCommandBars::AddKeyboardTip(CObject* pTarget, const CString& strCaption,
                                                           CPoint pt, DWORD dwAlign, BOOL bEnabled,
                                                           const CString& strExplicitTip)
{
    auto pTip = std::make_unique<CQVTCommandBarKeyboardTip>(this, pTarget, strCaption, pt, dwAlign, bEnabled);
    if (!strExplicitTip.IsEmpty())
    {
        pTip->m_strTip = strExplicitTip;
        pTip->m_strTip.MakeUpper();
        pTip->m_strExplicitTip = strExplicitTip;
    }
    m_arrKeyboardTips.push_back(std::move(pTip));
    return m_arrKeyboardTips.back().get();
}

void CQVTCommandBars::HideKeyboardTips()
{
    // Taken out first: a window destroyed below may bring the bars here again.
    std::vector<std::unique_ptr<CQVTCommandBarKeyboardTip>> tips;
    tips.swap(m_arrKeyboardTips);
    tips.clear();
    m_pKeyboardTipsBar = nullptr;
    m_nKeyboardTipsLevel = 0;
    m_nKeyboardTipsTyped = 0;
}

namespace {

// Gives every tip of a group sharing a first character a second one; the
// texts stay unique (no tip is another's prefix) as long as characters last.
void MakeTipsUnique(const std::vector<std::unique_ptr<CQVTCommandBarKeyboardTip>>& tips)
{
    for (size_t i = 0; i < tips.size(); ++i)
    {
        const TCHAR chFirst = tips[i]->m_strTip[0];
        std::vector<CQVTCommandBarKeyboardTip*> group;
        group.push_back(tips[i].get());
        for (size_t j = i + 1; j < tips.size(); ++j)
            if (tips[j]->m_strTip[0] == chFirst)
                group.push_back(tips[j].get());
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
        CQVTCommandBarKeyboardTip* pTip = m_arrKeyboardTips[i].get();
        if (!pTip->m_strTip.IsEmpty())
        {
            pTip->m_bExplicit = TRUE;
            continue;
        }
        if (pTip->m_strCaption.IsEmpty())
        {
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
    for (const auto& pTip : m_arrKeyboardTips)
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
    for (const auto& pTip : m_arrKeyboardTips)
        if (pTip->GetSafeHwnd())
            pTip->SetWindowPos(nullptr, 0, 0, 0, 0,
                               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                                   SWP_NOOWNERZORDER);
}
