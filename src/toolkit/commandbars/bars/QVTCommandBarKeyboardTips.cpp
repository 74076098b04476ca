// The bar's keyboard tips: one for each visible control with a caption,
// and, on a top-level bar, one for each other bar; typed characters narrow
// them until one is carried out. (A further file of CQVTCommandBar.)
#include "toolkit/commandbars/bars/QVTCommandBar.h"

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"

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
        pCommandBars->AddKeyboardTip(pControl, strCaption,
                                     CPoint(rc.left + pDpi->ScaleX(12), rc.bottom - pDpi->ScaleY(11)), 0,
                                     pControl->GetEnabled() != 0, pControl->GetKeyboardTip());
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
        pCommandBars->AddKeyboardTip(pOther, pOther->GetTitle(), rcWindow.TopLeft(), 0, TRUE, CString());
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
    auto& tips = pCommandBars->m_arrKeyboardTips;
    const int nTyped = pCommandBars->m_nKeyboardTipsTyped;
    CQVTCommandBarKeyboardTip* pChosen = nullptr;
    for (const auto& pTip : tips)
    {
        if (pTip->m_strTip.GetLength() > nTyped &&
            CQVTShortcutManager::CompareAccelKey(pTip->m_strTip[nTyped], nChar))
        {
            pChosen = pTip.get();
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
    // A tip's window goes with its object.
    for (size_t i = tips.size(); i-- > 0;)
        if (tips[i]->m_strTip.Left(nTyped + 1) != strPrefix)
            tips.erase(tips.begin() + static_cast<std::ptrdiff_t>(i));
}
