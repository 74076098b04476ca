#include "toolkit/themes/resource/QVTMessageBarThemeResource.h"

#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTMessageBarThemeResource, CQVTMessageBarThemeOffice2003)

namespace {
using QVTResourceThemeColors::kKey;
using QVTResourceThemeColors::kNoColor;
const WCHAR kGlyphClose = 69;

void FillFramed(CDC* pDC, const CRect& rc, COLORREF clrFill, COLORREF clrFrame)
{
    if (clrFill != kNoColor)
        pDC->FillSolidRect(rc, clrFill);
    if (clrFrame != kNoColor)
        pDC->Draw3dRect(rc, clrFrame, clrFrame);
}
}  // namespace

CQVTMessageBarThemeResource::CQVTMessageBarThemeResource(CQVTPaintManager* pPaintManager)
    : CQVTMessageBarThemeOffice2003(pPaintManager)
{
}

CQVTResourceTheme* CQVTMessageBarThemeResource::GetValidTheme() const
{
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    return pTheme && pTheme->GetResourceImages() && pTheme->GetResourceImages()->IsValid() ? pTheme : nullptr;
}

int CQVTMessageBarThemeResource::GetMessageBarHeight()
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    if (pTheme && pTheme->m_nMessageBarHeight >= 1)
        return pTheme->m_nMessageBarHeight;
    return CQVTMessageBarThemeOffice2003::GetMessageBarHeight();
}

CSize CQVTMessageBarThemeResource::GetButtonSize(int nBarHeight)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    if (pTheme && pTheme->m_szMessageBarButton.cx > 0 && pTheme->m_szMessageBarButton.cy > 0)
        return pTheme->m_szMessageBarButton;
    return CQVTMessageBarThemeOffice2003::GetButtonSize(nBarHeight);
}

void CQVTMessageBarThemeResource::FillMessageBar(CDC* pDC, CQVTMessageBar* pBar)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    if (!pTheme || !pDC || !pBar)
    {
        CQVTMessageBarThemeOffice2003::FillMessageBar(pDC, pBar);
        return;
    }
    if (pTheme->m_clrMessageBar.GetValue() != kNoColor)
        pDC->FillSolidRect(pBar->GetClientRect(), pTheme->m_clrMessageBar);
    CRect rcMessage = pBar->GetContentRect();
    if (rcMessage.IsRectEmpty())
        return;
    FillFramed(pDC, rcMessage, kNoColor, pTheme->m_clrMessageBarFrame);
    rcMessage.DeflateRect(1, 1);
    const CQVTPaintManagerColorGradient& grc = pTheme->m_grcMessageBar;
    if (grc.clrLight.GetValue() != kNoColor && grc.clrDark.GetValue() != kNoColor)
        QVTDrawHelpers()->GradientFillWithFactor(pDC, rcMessage, grc, FALSE);
}

void CQVTMessageBarThemeResource::DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton)
{
    CQVTResourceTheme* pTheme = GetValidTheme();
    if (!pTheme || !pDC || !pButton)
    {
        CQVTMessageBarThemeOffice2003::DrawMessageBarButton(pDC, pButton);
        return;
    }
    const CRect rc(pButton->m_rcButton);
    const BOOL bClose = pButton->m_nId == SC_CLOSE;
    if (bClose && pButton->m_bPressed)
        FillFramed(pDC, rc, pTheme->GetColor(33), pTheme->GetColor(50));
    else if (pButton->m_bHot)
        FillFramed(pDC, rc, pTheme->GetColor(31), pTheme->GetColor(32));
    else if (!bClose && !pButton->m_bPressed)
        FillFramed(pDC, rc, RGB(255, 255, 255), pTheme->m_clrMessageBarFrame);
    if (!bClose)
        return;
    CQVTResourceImage* pGlyph = pTheme->LoadImage(_T("FRAMECAPTIONCLOSE17"));
    if (!pGlyph)
    {
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphClose, rc, m_clrText);
        return;
    }
    const CRect rcSource = pGlyph->GetSource(0, 5);
    const CSize sz(CQVTPaintManager::DpiX(rcSource.Width()), CQVTPaintManager::DpiY(rcSource.Height()));
    const CPoint ptCentre = rc.CenterPoint();
    pGlyph->DrawImageColorKeyed(pDC, CRect(CPoint(ptCentre.x - sz.cx / 2, ptCentre.y - sz.cy / 2), sz),
                                rcSource, CRect(0, 0, 0, 0), kKey);
}
