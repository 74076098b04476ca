#include "toolkit/ribbon/backstage/QVTRibbonBackstageButtonThemes.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstagePaintManager.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"

namespace {

const COLORREF kBackstageButtonKeyColor = RGB(255, 0, 255);

BOOL IsTabStyleButton(CQVTButton* pButton)
{
    CQVTRibbonBackstageButton* pBackstage = DYNAMIC_DOWNCAST(CQVTRibbonBackstageButton, pButton);
    return pBackstage && pBackstage->IsTabStyle();
}

}  // namespace

std::vector<CRect> QVTBackstageButtonDrawing::GetSeparatorStrips(CQVTButton* pButton)
{
    std::vector<CRect> arrStrips;
    HWND hParent = pButton->m_hWnd ? ::GetParent(pButton->m_hWnd) : nullptr;
    if (!hParent)
        return arrStrips;
    CRect rcButton;
    ::GetWindowRect(pButton->m_hWnd, &rcButton);
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (!pChild || !pChild->IsKindOf(RUNTIME_CLASS(CQVTRibbonBackstageSeparator)))
            continue;
        CRect rcSeparator, rcCross;
        ::GetWindowRect(hChild, &rcSeparator);
        if (!rcCross.IntersectRect(rcSeparator, rcButton))
            continue;
        CRect rcStrip(rcSeparator.right - QVTDpiScaler()->ScaleX(1), rcSeparator.top, rcSeparator.right,
                      rcSeparator.bottom);
        pButton->ScreenToClient(&rcStrip);
        arrStrips.push_back(rcStrip);
    }
    return arrStrips;
}

void QVTBackstageButtonDrawing::DrawFlatBackground(CDC* pDC, CQVTButton* pButton,
                                                   CQVTButtonThemeOffice2013* pTheme)
{
    if (IsTabStyleButton(pButton))
    {
        const COLORREF clrSeparator = GetResourceImagesIniColor(_T("CommandBars.Ribbon.Backstage"),
                                                                _T("PageSeparator"), RGB(225, 225, 225));
        for (const CRect& rcStrip : GetSeparatorStrips(pButton))
            pDC->FillSolidRect(rcStrip, clrSeparator);
    }
    pTheme->CQVTButtonThemeOffice2013::DrawButtonBackground(pDC, pButton);
}

// Resource theme.

void CQVTRibbonBackstageButtonThemeResource::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    const BOOL bTabStyle = IsTabStyleButton(pButton);
    if (bTabStyle)
    {
        if (CQVTResourceImage* pSeparator = QVTResourceImages()->LoadValidFile(_T("BACKSTAGEPANESEPARATOR")))
        {
            // The image's first column is the line: the whole image squeezed
            // into one pixel shows only its transparent edge.
            CRect rcLine = pSeparator->GetSource(0, 1);
            rcLine.right = rcLine.left + 1;
            for (const CRect& rcStrip : QVTBackstageButtonDrawing::GetSeparatorStrips(pButton))
                pSeparator->DrawImage(pDC, rcStrip, rcLine, CRect(0, 30, 0, 30));
        }
    }
    const BOOL bHot = pButton->IsHighlighted();
    const BOOL bPushed = pButton->GetPushedState() != 0;
    const BOOL bChecked = pButton->GetChecked() != 0;
    if (pButton->GetFlatStyle() && !bChecked && !bPushed && !bHot)
        return;
    if (IsNativeUse(pButton))
    {
        DrawNativeBackground(pDC, pButton);
        return;
    }
    const BOOL bDisabled = IsDisabled(pButton);
    CRect rc = pButton->GetButtonRect();
    if (pButton->GetUseShadow() && !bDisabled)
    {
        const int cyShadow = QVTDpiScaler()->ScaleY(2);
        if (CQVTResourceImage* pShadow = QVTResourceImages()->LoadValidFile(_T("BACKSTAGEBUTTONSHADOW")))
            pShadow->DrawImageColorKeyed(pDC, CRect(rc.left, rc.bottom - cyShadow, rc.right, rc.bottom),
                                         pShadow->GetSource(0, 1), CRect(3, 0, 3, 0),
                                         kBackstageButtonKeyColor);
        rc.bottom -= cyShadow;
    }
    CQVTResourceImage* pFace = QVTResourceImages()->LoadValidFile(_T("BACKSTAGEBUTTON"));
    if (!pFace)
        pFace = QVTResourceImages()->LoadValidFile(_T("PUSHBUTTON"));
    if (!pFace)
    {
        CQVTButtonTheme::DrawButtonBackground(pDC, pButton);
        return;
    }
    int nFrame;
    if (bDisabled)
        nFrame = 3;
    else if (bPushed || (bHot && !bChecked))
        nFrame = 2;
    else if (bChecked)
        nFrame = 1;
    else
        nFrame = pButton->GetButtonStyle() == BS_DEFPUSHBUTTON ? 4 : 0;
    pFace->DrawImageColorKeyed(pDC, rc, pFace->GetSource(nFrame, 5), CRect(4, 4, 4, 4),
                               kBackstageButtonKeyColor);
    if (bTabStyle && bHot)
    {
        if (CQVTResourceImage* pGlyph = QVTResourceImages()->LoadValidFile(_T("BACKSTAGEBUTTONGLYPH")))
        {
            const CSize szGlyph(QVTDpiScaler()->ScaleX(pGlyph->GetWidth()),
                                QVTDpiScaler()->ScaleY(pGlyph->GetHeight()));
            const int y = rc.top + (rc.Height() - szGlyph.cy) / 2;
            pGlyph->DrawImage(pDC, CRect(CPoint(rc.right - szGlyph.cx, y), szGlyph), pGlyph->GetSource(0, 1));
        }
    }
}

void CQVTRibbonBackstageButtonThemeResource::DrawButton(CDC* pDC, CQVTButton* pButton)
{
    CQVTButtonThemeResource::DrawButton(pDC, pButton);
    QVTBackstageButtonDrawing::DrawButtonKeyTip(pDC, pButton);
}

// The flat themes.

void CQVTRibbonBackstageButtonThemeOffice2013::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    QVTBackstageButtonDrawing::DrawFlatBackground(pDC, pButton, this);
}

void CQVTRibbonBackstageButtonThemeOffice2013::DrawButton(CDC* pDC, CQVTButton* pButton)
{
    CQVTButtonThemeOffice2013::DrawButton(pDC, pButton);
    QVTBackstageButtonDrawing::DrawButtonKeyTip(pDC, pButton);
}

void CQVTRibbonBackstageButtonThemeVisualStudio2015::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    QVTBackstageButtonDrawing::DrawFlatBackground(pDC, pButton, this);
}

void CQVTRibbonBackstageButtonThemeNativeWindows10::DrawButtonBackground(CDC* pDC, CQVTButton* pButton)
{
    QVTBackstageButtonDrawing::DrawFlatBackground(pDC, pButton, this);
}

// Key tips.

void QVTBackstageButtonDrawing::DrawButtonKeyTip(CDC* pDC, CQVTButton* pButton)
{
    CQVTRibbonBackstageButton* pBackstage = DYNAMIC_DOWNCAST(CQVTRibbonBackstageButton, pButton);
    if (!pBackstage || !pBackstage->IsShowKeyTip())
        return;
    CQVTRibbonBackstageView* pView = pBackstage->FindBackstageView();
    if (!pView)
        return;
    CQVTRibbonBackstagePaintManager::DrawKeyTipBox(pDC, pButton->GetButtonRect().TopLeft(),
                                                   pBackstage->GetKeyTip(), pView->GetKeyTipFont(),
                                                   pView->GetKeyTipBackColor(), pButton->IsWindowEnabled());
}
