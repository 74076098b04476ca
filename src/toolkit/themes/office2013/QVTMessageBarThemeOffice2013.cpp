#include "toolkit/themes/office2013/QVTMessageBarThemeOffice2013.h"

#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/themes/office2013/QVTColorSetState.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTMessageBarThemeOffice2013, CQVTMessageBarPaintManager)

namespace {
const WCHAR kOffice2013MessageBarGlyphClose = 69;
const COLORREF kOffice2013MessageBarNoColor = CQVTPaintManagerColor::noColor;
}  // namespace

CQVTMessageBarThemeOffice2013::CQVTMessageBarThemeOffice2013(CQVTPaintManager* pPaintManager)
    : CQVTMessageBarPaintManager(pPaintManager)
{
}

void CQVTMessageBarThemeOffice2013::RefreshMetrics()
{
    CQVTMessageBarPaintManager::RefreshMetrics();
    LPCTSTR s = _T("CommandBars.MessageBar");
    QVTReadIniColor(m_clrText, s, _T("Text"), RGB(119, 119, 119));
    QVTReadIniColor(m_clrTextHilite, s, _T("TextHilite"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrBack, s, _T("Back"), RGB(252, 247, 182));
    QVTReadIniColor(m_clrBorder, s, _T("Border"), RGB(215, 216, 137));
    QVTReadIniColor(m_clrButtonBack, s, _T("ButtonBack"), RGB(253, 253, 253));
    QVTReadIniColor(m_clrButtonBackHilite, s, _T("ButtonBackHilite"), RGB(240, 240, 240));
    QVTReadIniColor(m_clrButtonBackPushed, s, _T("ButtonBackPushed"), RGB(198, 198, 198));
    QVTReadIniColor(m_clrButtonBorder, s, _T("ButtonBorder"), RGB(171, 171, 171));
    QVTReadIniColor(m_clrButtonBorderHilite, s, _T("ButtonBorderHilite"), RGB(198, 198, 198));
    QVTReadIniColor(m_clrButtonBorderPushed, s, _T("ButtonBorderPushed"), RGB(171, 171, 171));
}

void CQVTMessageBarThemeOffice2013::FillMessageBar(CDC* pDC, CQVTMessageBar* pBar)
{
    if (!pDC || !pBar)
        return;
    const CRect rc = pBar->GetClientRect();
    if (m_clrBack.GetValue() != kOffice2013MessageBarNoColor)
        pDC->FillSolidRect(rc, m_clrBack);
    if (m_clrBorder.GetValue() == kOffice2013MessageBarNoColor)
        return;
    if (m_bBorderLeft)
        pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), m_clrBorder);
    if (m_bBorderTop)
        pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, m_clrBorder);
    if (m_bBorderRight)
        pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), m_clrBorder);
    if (m_bBorderBottom)
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_clrBorder);
}

void CQVTMessageBarThemeOffice2013::DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton)
{
    if (!pDC || !pButton)
        return;
    const BOOL bActive = pButton->m_bHot || pButton->m_bPressed;
    if (pButton->m_nId == SC_CLOSE)
    {
        QVTGlyphFont()->DrawGlyph(pDC, kOffice2013MessageBarGlyphClose, pButton->m_rcButton,
                                  bActive ? m_clrTextHilite : m_clrText);
        return;
    }
    COLORREF clrBack = m_clrButtonBack, clrBorder = m_clrButtonBorder;
    if (pButton->m_bPressed)
    {
        clrBack = m_clrButtonBackPushed;
        clrBorder = m_clrButtonBorderPushed;
    }
    else if (pButton->m_bHot)
    {
        clrBack = m_clrButtonBackHilite;
        clrBorder = m_clrButtonBorderHilite;
    }
    if (clrBack != kOffice2013MessageBarNoColor)
        pDC->FillSolidRect(pButton->m_rcButton, clrBack);
    if (clrBorder != kOffice2013MessageBarNoColor)
        pDC->Draw3dRect(pButton->m_rcButton, clrBorder, clrBorder);
}

void CQVTMessageBarThemeOffice2013::GetCloseButtonRect(CRect& rc, int nRight, int nBarHeight)
{
    const int cx = CQVTPaintManager::DpiX(8);
    const int cy = CQVTPaintManager::DpiY(8);
    const int nTop = (nBarHeight - cy) / 2;
    rc.SetRect(nRight - CQVTPaintManager::DpiX(11) - cx, nTop, nRight - CQVTPaintManager::DpiX(11),
               nTop + cy);
}
