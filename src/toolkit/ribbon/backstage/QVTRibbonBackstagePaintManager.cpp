#include "toolkit/ribbon/backstage/QVTRibbonBackstagePaintManager.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageViewThemes.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

#include <algorithm>

namespace {

const TCHAR kBackstageColorSection[] = _T("CommandBars.Ribbon.Backstage");

}  // namespace

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

// The Office 2013 family's colours.

CQVTRibbonBackstageViewThemeOffice2013::CQVTRibbonBackstageViewThemeOffice2013()
{
    m_nMenuMargin = 0;
    m_nCommandGap = 0;
    m_nCommandHeight = 37;
    m_nTabHeight = 37;
    m_nTabGap = 0;
    m_nSeparatorHeight = 21;
    m_clrButtonTextDisabled =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonTextDisabled"), RGB(62, 109, 181));
    ReadColors(RGB(43, 87, 154), RGB(62, 109, 181), RGB(25, 71, 138), RGB(255, 255, 255), RGB(255, 255, 255),
               RGB(255, 255, 255));
}

void CQVTRibbonBackstageViewThemeOffice2013::ReadColors(COLORREF clrBackNormal, COLORREF clrBackSelected,
                                                        COLORREF clrBackHighlighted, COLORREF clrTextNormal,
                                                        COLORREF clrTextSelected, COLORREF clrTextHighlighted)
{
    m_clrButtonBackNormal =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonBackNormal"), clrBackNormal);
    m_clrButtonBackSelected =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonBackSelected"), clrBackSelected);
    m_clrButtonBackHighlighted =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonBackHighlighted"), clrBackHighlighted);
    m_clrButtonTextNormal =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonTextNormal"), clrTextNormal);
    m_clrButtonTextSelected =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonTextSelected"), clrTextSelected);
    m_clrButtonTextHighlighted =
        GetResourceImagesIniColor(kBackstageColorSection, _T("ButtonTextHighlighted"), clrTextHighlighted);
}

CQVTRibbonBackstageViewThemeVisualStudio2015::CQVTRibbonBackstageViewThemeVisualStudio2015()
{
    ReadColors(RGB(255, 243, 156), RGB(253, 244, 191), RGB(253, 244, 191), RGB(115, 97, 57), RGB(115, 97, 57),
               RGB(115, 97, 57));
}

CQVTRibbonBackstageViewThemeNativeWindows10::CQVTRibbonBackstageViewThemeNativeWindows10()
{
    ReadColors(RGB(255, 243, 156), RGB(253, 244, 191), RGB(253, 244, 191), RGB(115, 97, 57), RGB(115, 97, 57),
               RGB(115, 97, 57));
}
