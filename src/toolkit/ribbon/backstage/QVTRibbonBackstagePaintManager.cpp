#include "toolkit/ribbon/backstage/QVTRibbonBackstagePaintManager.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

#include <algorithm>

int CQVTRibbonBackstagePaintManager::GetCommandHeight() const
{
    return QVTDpiScaler()->ScaleY(m_nCommandHeight);
}

int CQVTRibbonBackstagePaintManager::GetTabHeight() const
{
    return QVTDpiScaler()->ScaleY(m_nTabHeight);
}

int CQVTRibbonBackstagePaintManager::GetMenuMargin() const
{
    return QVTDpiScaler()->ScaleX(m_nMenuMargin);
}

int CQVTRibbonBackstagePaintManager::GetCommandGap() const
{
    return QVTDpiScaler()->ScaleY(m_nCommandGap);
}

int CQVTRibbonBackstagePaintManager::GetTabGap() const
{
    return QVTDpiScaler()->ScaleY(m_nTabGap);
}

int CQVTRibbonBackstagePaintManager::GetTextIndent() const
{
    return QVTDpiScaler()->ScaleX(m_nTextIndent);
}

int CQVTRibbonBackstagePaintManager::GetImageGap() const
{
    return QVTDpiScaler()->ScaleX(m_nImageGap);
}

int CQVTRibbonBackstagePaintManager::GetSeparatorHeight() const
{
    return QVTDpiScaler()->ScaleY(m_nSeparatorHeight);
}

void CQVTRibbonBackstagePaintManager::DrawKeyTipBox(CDC* pDC, CPoint ptTopLeft, const CString& strTip,
                                                    CFont* pFont, COLORREF clrBack, BOOL bEnabled)
{
    CQVTFontDC font(pDC, pFont, GetColorByIndex(bEnabled ? 23 : 17));
    const CSize szText = pDC->GetTextExtent(strTip);
    const CSize szBox(std::max<int>(szText.cx + QVTDpiScaler()->ScaleX(6), QVTDpiScaler()->ScaleX(16)),
                      std::max<int>(szText.cy + QVTDpiScaler()->ScaleY(2), QVTDpiScaler()->ScaleY(15)));
    CRect rcBox(ptTopLeft, szBox);
    pDC->FillSolidRect(rcBox, clrBack);
    const COLORREF clrFrame = ::GetSysColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(rcBox, clrFrame, clrFrame);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strTip, rcBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(nOldMode);
}

void CQVTRibbonBackstagePaintManager::DrawKeyTip(CDC* pDC, CQVTPaintManager* pPaintManager,
                                                 CQVTControl* pControl)
{
    if (!pDC || !pPaintManager || !pControl || !pControl->IsVisible())
        return;
    DrawKeyTipBox(pDC, pControl->GetRect().TopLeft(), pControl->GetKeyboardTip(),
                  pPaintManager->GetStatusFont(), pPaintManager->GetColor(24), pControl->GetEnabled() != 0);
}
