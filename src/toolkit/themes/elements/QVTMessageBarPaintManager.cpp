#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTMessageBarPaintManager, CObject)
IMPLEMENT_DYNAMIC(CQVTMessageBarThemeOffice2010, CQVTMessageBarPaintManager)

namespace {
const int kGlyphClose = 69;
}

CQVTMessageBarPaintManager::CQVTMessageBarPaintManager(CQVTPaintManager* pPaintManager)
    : m_pPaintManager(pPaintManager)
{
}

void CQVTMessageBarPaintManager::RefreshMetrics()
{
    m_clrBack.SetStandardValue(GetColorByIndex(COLOR_3DFACE));
    m_clrText.SetStandardValue(GetColorByIndex(COLOR_BTNTEXT));
    m_clrBorder.SetStandardValue(GetColorByIndex(COLOR_3DSHADOW));
    m_clrContent.SetStandardValue(GetColorByIndex(COLOR_INFOBK));
}

void CQVTMessageBarPaintManager::FillMessageBar(CDC* pDC, CQVTMessageBar* pBar)
{
    if (!pDC || !pBar)
        return;
    pDC->FillSolidRect(pBar->GetClientRect(), m_clrBack);
    CRect rcMessage = pBar->GetContentRect();
    if (rcMessage.IsRectEmpty())
        return;
    pDC->Draw3dRect(rcMessage, m_clrBorder, m_clrBorder);
    rcMessage.DeflateRect(1, 1);
    pDC->FillSolidRect(rcMessage, m_clrContent);
}

void CQVTMessageBarPaintManager::DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton)
{
    if (!pDC || !pButton)
        return;
    const CRect rc(pButton->m_rcButton);
    const BOOL bClose = pButton->m_nId == SC_CLOSE;
    if (pButton->m_bPressed || pButton->m_bHot)
    {
        pDC->FillSolidRect(rc, m_clrBack);
        if (m_pPaintManager)
            m_pPaintManager->DrawRectangle(pDC, rc, pButton->m_bHot, pButton->m_bPressed, TRUE, FALSE, FALSE,
                                           qvtBarTypeNormal, qvtBarTop);
    }
    else if (!bClose)
    {
        pDC->FillSolidRect(rc, m_clrBack);
        pDC->Draw3dRect(rc, m_clrBorder, m_clrBorder);
    }
    if (bClose)
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphClose, rc, m_clrText);
}

void CQVTMessageBarPaintManager::GetCloseButtonRect(CRect& rc, int nRight, int nBarHeight)
{
    const int cx = CQVTPaintManager::DpiX(18), cy = CQVTPaintManager::DpiY(18);
    rc.SetRect(nRight - cx, (nBarHeight - cy) / 2, nRight, (nBarHeight - cy) / 2 + cy);
}

CSize CQVTMessageBarPaintManager::GetButtonSize(int nBarHeight)
{
    return CSize(CQVTPaintManager::DpiX(89), nBarHeight - CQVTPaintManager::DpiY(8));
}

int CQVTMessageBarPaintManager::GetMessageBarHeight()
{
    return ::GetSystemMetrics(SM_CYCAPTION) + CQVTPaintManager::DpiY(8);
}

CRect CQVTMessageBarPaintManager::GetMessageBarPadding()
{
    return CRect(CQVTPaintManager::DpiX(5), 0, CQVTPaintManager::DpiX(5), 0);
}

// Office 2010.

CQVTMessageBarThemeOffice2010::CQVTMessageBarThemeOffice2010(CQVTPaintManager* pPaintManager)
    : CQVTMessageBarPaintManager(pPaintManager)
{
}

void CQVTMessageBarThemeOffice2010::RefreshMetrics()
{
    CQVTMessageBarPaintManager::RefreshMetrics();
    m_clrText.SetStandardValue(::GetSysColor(COLOR_BTNTEXT));
    m_clrBack.SetStandardValue(::GetSysColor(COLOR_INFOBK));
    m_clrBorder.SetStandardValue(::GetSysColor(COLOR_BTNSHADOW));
}

void CQVTMessageBarThemeOffice2010::FillMessageBar(CDC* pDC, CQVTMessageBar* pBar)
{
    if (!pDC || !pBar)
        return;
    const CRect rc = pBar->GetClientRect();
    pDC->FillSolidRect(rc, m_clrBack);
    pDC->Draw3dRect(rc, m_clrBorder, m_clrBorder);
}

void CQVTMessageBarThemeOffice2010::DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton)
{
    if (!pDC || !pButton)
        return;
    if (pButton->m_nId != SC_CLOSE)
    {
        CQVTMessageBarPaintManager::DrawMessageBarButton(pDC, pButton);
        return;
    }
    const CPoint c = pButton->m_rcButton.CenterPoint();
    CPen pen(PS_SOLID, 1, m_clrText);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int lines[6][4] = {{-4, -3, 3, 4}, {-4, -4, 4, 4}, {-3, -4, 4, 3},
                             {-4, 2, 3, -5}, {-4, 3, 4, -5}, {-3, 3, 4, -4}};
    for (const auto& line : lines)
    {
        pDC->MoveTo(c.x + line[0], c.y + line[1]);
        pDC->LineTo(c.x + line[2], c.y + line[3]);
    }
    pDC->SelectObject(pOldPen);
}

void CQVTMessageBarThemeOffice2010::GetCloseButtonRect(CRect& rc, int nRight, int nBarHeight)
{
    rc.SetRect(nRight - 19, (nBarHeight - 8) / 2, nRight - 11, (nBarHeight - 8) / 2 + 8);
}
