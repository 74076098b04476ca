#include "toolkit/ribbon/backstage/QVTRibbonBackstagePaintManager.h"

#include <algorithm>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

CQVTRibbonBackstagePaintManager::CQVTRibbonBackstagePaintManager()
    : m_nMenuMargin(6), m_nCommandGap(2), m_nCommandHeight(26), m_nTabHeight(37), m_nTabGap(1),
      m_nTextIndent(15), m_nImageGap(7), m_nSeparatorHeight(0)
{
}

CQVTRibbonBackstagePaintManager::~CQVTRibbonBackstagePaintManager() {}

void CQVTRibbonBackstagePaintManager::FillBackstage(CDC*, CQVTRibbonBackstageView*) {}

void CQVTRibbonBackstagePaintManager::DrawControl(CDC*, CQVTRibbonBackstageView*, CQVTControl*) {}

void CQVTRibbonBackstagePaintManager::DrawKeyTip(CDC* pDC, CQVTPaintManager* pPaintManager,
                                                 CQVTControl* pControl)
{
    if (!pDC || !pPaintManager || !pControl || !pControl->IsVisible())
        return;
    const CString strTip = pControl->GetKeyboardTip();
    CQVTFontDC font(pDC, pPaintManager->GetRegularFont());
    const CSize szText = pDC->GetTextExtent(strTip);
    const CRect rcControl = pControl->GetRect();
    const CRect rcTip(rcControl.TopLeft(),
                      CSize(std::max(szText.cx + QVTDpiScaler()->ScaleX(6), QVTDpiScaler()->ScaleX(16)),
                            std::max(szText.cy + QVTDpiScaler()->ScaleY(2), QVTDpiScaler()->ScaleY(15))));
    pDC->FillSolidRect(rcTip, pPaintManager->GetColor(24));
    pDC->Draw3dRect(rcTip, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNSHADOW));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetColorByIndex(pControl->GetEnabled() ? 23 : 17));
    CRect rcText = rcTip;
    pDC->DrawText(strTip, rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

int CQVTRibbonBackstagePaintManager::GetCommandHeight()
{
    return QVTDpiScaler()->ScaleY(m_nCommandHeight);
}

int CQVTRibbonBackstagePaintManager::GetTabHeight()
{
    return QVTDpiScaler()->ScaleY(m_nTabHeight);
}

int CQVTRibbonBackstagePaintManager::GetMenuMargin()
{
    return QVTDpiScaler()->ScaleX(m_nMenuMargin);
}

int CQVTRibbonBackstagePaintManager::GetCommandGap()
{
    return QVTDpiScaler()->ScaleY(m_nCommandGap);
}

int CQVTRibbonBackstagePaintManager::GetTabGap()
{
    return QVTDpiScaler()->ScaleY(m_nTabGap);
}

int CQVTRibbonBackstagePaintManager::GetTextIndent()
{
    return QVTDpiScaler()->ScaleX(m_nTextIndent);
}

int CQVTRibbonBackstagePaintManager::GetImageGap()
{
    return QVTDpiScaler()->ScaleX(m_nImageGap);
}

int CQVTRibbonBackstagePaintManager::GetSeparatorHeight()
{
    return QVTDpiScaler()->ScaleY(m_nSeparatorHeight);
}
