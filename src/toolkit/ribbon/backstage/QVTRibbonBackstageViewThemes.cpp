#include "toolkit/ribbon/backstage/QVTRibbonBackstageViewThemes.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const UINT kBackstageCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_HIDEPREFIX;

int BackstageX(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}

int BackstageY(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}

// A one-frame image at its scaled size, vertically centred, its right edge
// at the rectangle's.
void DrawBackstageGlyphAtRight(CDC* pDC, CQVTResourceImage* pGlyph, const CRect& rc)
{
    const CSize szGlyph(BackstageX(pGlyph->GetWidth()), BackstageY(pGlyph->GetHeight()));
    const CPoint pt(rc.right - szGlyph.cx, rc.top + (rc.Height() - szGlyph.cy) / 2);
    pGlyph->DrawImage(pDC, CRect(pt, szGlyph), pGlyph->GetSource(0, 1));
}

void DrawBackstageCaption(CDC* pDC, CFont* pFont, const CString& strCaption, CRect rcText)
{
    CQVTFontDC font(pDC, pFont);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strCaption, rcText, kBackstageCaptionFormat);
    pDC->SetBkMode(nOldMode);
}

}  // namespace

// Resource theme.

void CQVTRibbonBackstageViewThemeResource::FillBackstage(CDC* pDC, CQVTRibbonBackstageView* pView)
{
    CRect rc;
    pView->GetClientRect(&rc);
    pDC->FillSolidRect(rc, RGB(255, 255, 255));
    pDC->SetTextColor(
        GetResourceImagesIniColor(_T("Ribbon"), _T("BackstageMenuTextColor"), pDC->GetTextColor()));
    if (CQVTResourceImage* pBorder = QVTResourceImages()->LoadValidFile(_T("BackstageTopBorder")))
        pBorder->DrawImageStretched(pDC, CRect(0, 0, rc.Width(), BackstageY(2)), pBorder->GetSource(0, 1));
    if (CQVTResourceImage* pMenu = QVTResourceImages()->LoadValidFile(_T("BackstageMenuBackground")))
        pMenu->DrawImageStretched(pDC, CRect(0, BackstageY(2), pView->GetMenuWidth(), rc.Height()),
                                  pMenu->GetSource(0, 1));
}

void CQVTRibbonBackstageViewThemeResource::DrawControl(CDC* pDC, CQVTRibbonBackstageView* pView,
                                                       CQVTControl* pControl)
{
    if (!pControl->IsVisible() || CQVTRibbonBackstageView::IsMenuSeparator(pControl))
        return;
    // A disabled active tab is drawn disabled, not white.
    COLORREF clrText =
        GetResourceImagesIniColor(_T("Ribbon"), _T("BackstageMenuTextColor"), pDC->GetTextColor());
    if (!pControl->GetEnabled())
        clrText = GetColorByIndex(35);
    else if (pView->IsActiveTab(pControl))
        clrText = RGB(255, 255, 255);
    pDC->SetTextColor(clrText);
    if (CQVTRibbonBackstageView::IsCommand(pControl))
        DrawCommand(pDC, pView, pControl);
    else
        DrawTab(pDC, pView, pControl);
}

void CQVTRibbonBackstageViewThemeResource::DrawCommand(CDC* pDC, CQVTRibbonBackstageView* pView,
                                                       CQVTControl* pControl)
{
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = pControl->GetEnabled() != 0;
    if (pView->IsHotControl(pControl) || pView->IsFocusedControl(pControl))
    {
        if (CQVTResourceImage* pImage = QVTResourceImages()->LoadValidFile(_T("BackstageMenuCommand")))
            pImage->DrawImage(pDC, rc, pImage->GetSource(bEnabled ? 0 : 2, 3), CRect(2, 2, 2, 2));
    }
    CRect rcText(rc.left + GetTextIndent(), rc.top + 2, rc.right - BackstageX(2), rc.bottom - BackstageY(2));
    CQVTImageManager* pImages = pView->GetImageManager();
    CQVTImageManagerIcon* pIcon = pImages ? pImages->GetImage(pControl->GetIconId(), 16) : nullptr;
    if (pIcon)
    {
        // Command images are measured against 120 DPI.
        const CSize szExtent = pIcon->GetExtent();
        const CSize szIcon(QVTDpiScaler()->ScaleX(szExtent.cx, 120),
                           QVTDpiScaler()->ScaleY(szExtent.cy, 120));
        const CPoint pt(rcText.left, rcText.top + (rcText.Height() - szIcon.cy) / 2);
        pIcon->DrawInStateSized(pDC, pt, szIcon, bEnabled ? 0 : 1);
        rcText.left += szIcon.cx + GetImageGap();
    }
    DrawBackstageCaption(pDC, pView->GetCommandFont(), pControl->GetCaption(), rcText);
}

void CQVTRibbonBackstageViewThemeResource::DrawTab(CDC* pDC, CQVTRibbonBackstageView* pView,
                                                   CQVTControl* pControl)
{
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = pControl->GetEnabled() != 0;
    const BOOL bActive = pView->IsActiveTab(pControl);
    if (bActive || pView->IsHotControl(pControl) || pView->IsFocusedControl(pControl))
    {
        if (CQVTResourceImage* pImage = QVTResourceImages()->LoadValidFile(_T("BackstageMenuPage")))
        {
            const int nFrame = !bEnabled ? 3 : bActive ? 1 : 0;
            pImage->DrawImage(pDC, rc, pImage->GetSource(nFrame, 4), CRect(2, 2, 2, 2));
        }
        if (bActive)
        {
            if (CQVTResourceImage* pGlyph = QVTResourceImages()->LoadValidFile(_T("BackstageMenuPageGlyph")))
                DrawBackstageGlyphAtRight(pDC, pGlyph, rc);
        }
    }
    CRect rcText(rc.left + GetTextIndent() + GetMenuMargin(), rc.top + BackstageY(2),
                 rc.right - BackstageX(2), rc.bottom - BackstageY(2));
    CQVTImageManager* pImages = pView->GetImageManager();
    CQVTImageManagerIcon* pIcon = pImages ? pImages->GetImage(pControl->GetIconId(), 16) : nullptr;
    if (pIcon)
    {
        CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
        if (!pIcon->IsVectorIcon())
        {
            szIcon = pIcon->GetExtent();
            CQVTCommandBars* pCommandBars = pView->GetCommandBars();
            if (pView->GetPaintManager() &&
                pView->GetPaintManager()->IsCommandBarsIconDpiScaling(pCommandBars))
                szIcon = CSize(BackstageX(szIcon.cx), BackstageY(szIcon.cy));
        }
        const CPoint pt(rcText.left, rcText.top + (rcText.Height() - szIcon.cy) / 2);
        pIcon->DrawInStateSized(pDC, pt, szIcon, bEnabled ? 0 : 1);
        rcText.left += szIcon.cx + GetImageGap();
    }
    DrawBackstageCaption(pDC, pView->GetTabFont(), pControl->GetCaption(), rcText);
}

// Office 2013 theme and its kin.

void CQVTRibbonBackstageViewThemeOffice2013::FillBackstage(CDC* pDC, CQVTRibbonBackstageView* pView)
{
    CRect rc;
    pView->GetClientRect(&rc);
    pDC->FillSolidRect(rc, m_clrButtonBackNormal);
    if (pView->IsFullWindowMode())
        pDC->FillSolidRect(CRect(pView->GetMenuWidth(), rc.top, rc.right, rc.bottom),
                           pView->GetPageBackgroundColor());
}

void CQVTRibbonBackstageViewThemeOffice2013::DrawControl(CDC* pDC, CQVTRibbonBackstageView* pView,
                                                         CQVTControl* pControl)
{
    if (!pControl->IsVisible())
        return;
    const CRect rc = pControl->GetRect();
    if (CQVTRibbonBackstageView::IsMenuSeparator(pControl))
    {
        const int y = rc.top + rc.Height() / 2;
        pDC->FillSolidRect(CRect(rc.left + GetTextIndent() + GetMenuMargin(), y,
                                 rc.right - GetTextIndent() - GetMenuMargin(), y + BackstageY(1)),
                           m_clrButtonTextDisabled);
        return;
    }
    const BOOL bFocused = pView->IsFocusedControl(pControl);
    const BOOL bHot =
        pView->IsHotControl(pControl) || (CQVTRibbonBackstageView::IsCommand(pControl) && bFocused);
    COLORREF clrText, clrBack;
    if (!pControl->GetEnabled())
    {
        clrText = m_clrButtonTextDisabled;
        clrBack = (bHot || bFocused) ? m_clrButtonBackHighlighted : m_clrButtonBackNormal;
    }
    else if (bHot)
    {
        clrText = m_clrButtonTextHighlighted;
        clrBack = m_clrButtonBackHighlighted;
    }
    else if (pView->IsActiveTab(pControl))
    {
        clrText = m_clrButtonTextSelected;
        clrBack = m_clrButtonBackSelected;
    }
    else
    {
        clrText = m_clrButtonTextNormal;
        clrBack = m_clrButtonBackNormal;
    }
    pDC->FillSolidRect(rc, clrBack);
    pDC->SetTextColor(clrText);
    const int nLeft = pView->IsClassicMode() ? rc.left + GetTextIndent() + GetMenuMargin() : rc.left + 26;
    DrawBackstageCaption(
        pDC, pView->GetCommandFont(), pControl->GetCaption(),
        CRect(nLeft, rc.top + BackstageY(2), rc.right - BackstageX(2), rc.bottom - BackstageY(2)));
}
