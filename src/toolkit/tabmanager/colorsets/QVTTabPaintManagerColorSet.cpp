#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

namespace {

const COLORREF kTabColorNone = 0xFFFFFFFF;

}  // namespace

namespace QVTTabColors {

void SetStandard(CQVTPaintManagerColor& color, COLORREF clr)
{
    color.SetStandardValue(clr);
    color.SetDefaultValue();
}

void SetStandard(CQVTPaintManagerColorGradient& gradient, COLORREF clrLight, COLORREF clrDark)
{
    gradient.SetStandardValues(clrLight, clrDark);
    gradient.clrLight.SetDefaultValue();
    gradient.clrDark.SetDefaultValue();
}

}  // namespace QVTTabColors

using namespace QVTTabColors;

CQVTTabPaintManagerColorSet::CQVTTabPaintManagerColorSet() {}

CQVTTabPaintManagerColorSet::~CQVTTabPaintManagerColorSet() {}

int CQVTTabPaintManagerColorSet::GetPosition() const
{
    return m_pPaintManager ? m_pPaintManager->GetPosition() : qvtTabPositionTop;
}

BOOL CQVTTabPaintManagerColorSet::IsStripActive(const CQVTTabManagerItem* pItem) const
{
    CQVTTabManager* pManager = pItem ? pItem->GetTabManager() : nullptr;
    return !pManager || pManager->IsActive();
}

COLORREF CQVTTabPaintManagerColorSet::GetHighlightedFrameColor() const
{
    return m_clrButtonBorderHot.GetValue() != kTabColorNone ? m_clrButtonBorderHot.GetValue()
                                                            : m_clrFrameBorder.GetValue();
}

void CQVTTabPaintManagerColorSet::RefreshMetrics()
{
    const COLORREF clrFace = GetColorByIndex(COLOR_3DFACE);
    const COLORREF clrShadow = GetColorByIndex(COLOR_3DSHADOW);
    const COLORREF clrHighlight = GetColorByIndex(COLOR_3DHIGHLIGHT);
    const COLORREF clrBtnText = GetColorByIndex(COLOR_BTNTEXT);
    const COLORREF clrWindow = GetColorByIndex(COLOR_WINDOW);

    SetStandard(m_grcHeaderFace, clrFace, clrFace);
    SetStandard(m_grcAutoHideFace, clrFace, clrFace);
    SetStandard(m_clrFrameBorder, clrShadow);
    SetStandard(m_clrClientFace, clrFace);
    SetStandard(m_clrPaneFace, clrFace);
    SetStandard(m_clrClientHighlight, clrHighlight);
    SetStandard(m_clrTabClientBack, GetColorByIndex(COLOR_APPWORKSPACE));
    SetStandard(m_clrTabClientBorder, clrShadow);
    SetStandard(m_clrButton, clrFace);
    SetStandard(m_clrButtonPressed, clrFace);
    SetStandard(m_clrButtonHighlighted, clrFace);
    SetStandard(m_clrButtonHighlightedClose, kTabColorNone);
    for (CQVTPaintManagerColor& color : m_clrReserved)
        SetStandard(color, kTabColorNone);
    const BOOL bExcel = m_pPaintManager && m_pPaintManager->GetAppearance() == qvtTabAppearanceExcel2003;
    SetStandard(m_clrButtonSelected, bExcel ? clrWindow : clrFace);
    SetStandard(m_clrButtonSelectedPressed, kTabColorNone);
    SetStandard(m_clrButtonSelectedHighlighted, clrFace);
    SetStandard(m_clrSeparatorHighlight, clrHighlight);
    SetStandard(m_clrButtonBorderHot, kTabColorNone);
    SetStandard(m_clrText, clrBtnText);
    SetStandard(m_clrTextPressed, kTabColorNone);
    SetStandard(m_clrTextHighlighted, RGB(0, 0, 0x80));
    SetStandard(m_clrTextHighlightedClose, kTabColorNone);
    SetStandard(m_clrTextSelected, clrBtnText);
    SetStandard(m_clrTextSelectedPressed, kTabColorNone);
    SetStandard(m_clrTextSelectedHighlighted, clrBtnText);
    SetStandard(m_clrTextDisabled, GetColorByIndex(COLOR_GRAYTEXT));
    SetStandard(m_clrActiveFilesGlyph, kTabColorNone);
    SetStandard(m_clrActiveFilesGlyphHighlighted, kTabColorNone);
    SetStandard(m_clrActiveFilesGlyphPressed, kTabColorNone);
    SetStandard(m_clrActiveFilesBack, kTabColorNone);
    SetStandard(m_clrActiveFilesBackHighlighted, kTabColorNone);
    SetStandard(m_clrActiveFilesBackPressed, kTabColorNone);
    const COLORREF clrSelection = GetColorByIndex(COLOR_HIGHLIGHT);
    SetStandard(m_grcSelectedFace, clrWindow, clrWindow);
    SetStandard(m_grcSelectedBorder, clrSelection, clrSelection);

    const COLORREF arrFrame[7] = {
        clrHighlight, clrShadow, GetColorByIndex(COLOR_3DDKSHADOW), clrShadow, clrShadow, clrFace, clrFace};
    for (int i = 0; i < 7; ++i)
        SetStandard(m_csFrame[i], arrFrame[i]);
    const COLORREF arrState[6] = {clrBtnText,    clrShadow,     clrBtnText,
                                  kTabColorNone, kTabColorNone, kTabColorNone};
    for (int i = 0; i < 6; ++i)
    {
        SetStandard(m_csStateA[i], arrState[i]);
        SetStandard(m_csStateB[i], arrState[i]);
    }
    SetStandard(m_csStateB[3], clrWindow);
    SetStandard(m_csStateB[4], clrShadow);
}

void CQVTTabPaintManagerColorSet::SetTextColor(CDC* pDC, CQVTTabManagerItem* pItem)
{
    COLORREF clr;
    if (!pItem->IsEnabled())
        clr = m_clrTextDisabled;
    else if (!IsStripActive(pItem))
        clr = m_clrTextSelectedHighlighted;
    else if (pItem->IsSelected())
        clr = m_clrTextSelected;
    else if (pItem->IsHighlighted())
        clr = m_clrTextHighlighted;
    else
        clr = m_clrText;
    pDC->SetTextColor(clr);
}

void AFX_CDECL CQVTTabPaintManagerColorSet::FillDither(CDC* pDC, const CRect& rc)
{
    static const WORD kPattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    CBitmap bitmap;
    if (!bitmap.CreateBitmap(8, 8, 1, 1, kPattern))
        return;
    CBrush brush;
    if (!brush.CreatePatternBrush(&bitmap))
        return;
    const COLORREF clrOldText = pDC->SetTextColor(GetColorByIndex(COLOR_3DFACE));
    const COLORREF clrOldBack = pDC->SetBkColor(GetColorByIndex(COLOR_3DHIGHLIGHT));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    pDC->SelectObject(pOldBrush);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBack);
}

void CQVTTabPaintManagerColorSet::GradientFill(CDC* pDC, CRect rc, COLORREF clrLight, COLORREF clrDark,
                                               int nPosition)
{
    if (rc.IsRectEmpty())
        return;
    if (clrLight == QVT_TAB_DITHER_COLOR)
    {
        FillDither(pDC, rc);
        return;
    }
    BOOL bLightFirst = nPosition == qvtTabPositionTop || nPosition == qvtTabPositionLeft;
    if (m_pPaintManager && m_pPaintManager->m_bInvertGradient)
        bLightFirst = !bLightFirst;
    const BOOL bHorizontal = !QVTIsHorizontalTabPosition(nPosition);
    QVTDrawHelpers()->GradientFill(pDC, rc, bLightFirst ? clrLight : clrDark,
                                   bLightFirst ? clrDark : clrLight, bHorizontal);
}

void CQVTTabPaintManagerColorSet::GradientFill(CDC* pDC, CRect rc, const CQVTPaintManagerColorGradient& grc,
                                               int nPosition)
{
    GradientFill(pDC, rc, grc.clrLight.GetValue(), grc.clrDark.GetValue(), nPosition);
}

void CQVTTabPaintManagerColorSet::FillHeader(CDC* pDC, CRect rc, CQVTTabManager* /*pTabManager*/)
{
    GradientFill(pDC, rc, m_grcHeaderFace, GetPosition());
}

void CQVTTabPaintManagerColorSet::FillClient(CDC* pDC, CRect rc, CQVTTabManager* pTabManager)
{
    pDC->FillSolidRect(rc, GetClientColor(pTabManager));
}

COLORREF CQVTTabPaintManagerColorSet::GetClientColor(CQVTTabManager* pTabManager)
{
    CQVTTabManagerItem* pSelected = pTabManager ? pTabManager->GetSelectedItem() : nullptr;
    return pSelected ? GetItemColor(pSelected) : m_clrButtonSelected.GetValue();
}

void CQVTTabPaintManagerColorSet::FillTabButton(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    const int nPosition = GetPosition();
    if (!pItem->IsSelected())
    {
        if (!QVTIsHorizontalTabPosition(nPosition))
        {
            pDC->FillSolidRect(rc.left + 2, rc.bottom, rc.Width() - 4, 1, m_clrFrameBorder);
            pDC->FillSolidRect(rc.left + 2, rc.bottom + 1, rc.Width() - 4, 1, m_clrSeparatorHighlight);
        }
        else
        {
            pDC->FillSolidRect(rc.right, rc.top + 2, 1, rc.Height() - 4, m_clrFrameBorder);
            pDC->FillSolidRect(rc.right + 1, rc.top + 2, 1, rc.Height() - 4, m_clrSeparatorHighlight);
        }
        return;
    }
    if (m_pPaintManager && m_pPaintManager->m_bOneNoteColors)
        pDC->FillSolidRect(rc, GetItemColor(pItem));
    else
        GradientFill(pDC, rc, m_grcSelectedFace, nPosition);
    const COLORREF clrTopLeft = m_grcSelectedBorder.clrLight, clrBottomRight = m_grcSelectedBorder.clrDark;
    pDC->Draw3dRect(rc, clrTopLeft, clrBottomRight);
}

COLORREF CQVTTabPaintManagerColorSet::FillNavigateArea(CDC* pDC, CRect rc, CQVTTabManagerItem* pItem)
{
    const COLORREF clr = GetItemColor(pItem);
    pDC->FillSolidRect(rc, clr);
    return clr;
}

COLORREF CQVTTabPaintManagerColorSet::GetItemColor(CQVTTabManagerItem* pItem)
{
    if (m_pPaintManager && m_pPaintManager->m_bOneNoteColors)
        return pItem->GetColor();
    if (pItem->IsSelected())
        return IsStripActive(pItem) ? m_clrButtonSelected : m_clrButtonSelectedHighlighted;
    if (pItem->IsPressed())
        return m_clrButtonPressed;
    if (pItem->IsHighlighted())
        return m_clrButtonHighlighted;
    return m_clrButton;
}

void CQVTTabColorSetDefault::RefreshMetrics()
{
    CQVTTabPaintManagerColorSet::RefreshMetrics();
    SetStandard(m_grcSelectedFace, QVT_TAB_DITHER_COLOR, GetColorByIndex(COLOR_3DFACE));
    SetStandard(m_grcSelectedBorder, GetColorByIndex(COLOR_3DSHADOW), GetColorByIndex(COLOR_3DHIGHLIGHT));
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == qvtTabAppearanceExcel2003)
    {
        SetStandard(m_clrButtonSelected, GetColorByIndex(COLOR_3DFACE));
        SetStandard(m_clrButton, GetColorByIndex(COLOR_WINDOW));
        SetStandard(m_clrFrameBorder, GetColorByIndex(COLOR_BTNTEXT));
    }
}

void CQVTTabColorSetDefault::FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc)
{
    CRect rcGlyph = rc;
    if (pButton->IsEnabled())
    {
        if (pButton->IsPressed())
        {
            pDC->Draw3dRect(rc, GetColorByIndex(COLOR_3DSHADOW), GetColorByIndex(COLOR_3DHIGHLIGHT));
            rcGlyph.OffsetRect(1, 1);
        }
        else if (pButton->IsHighlighted())
            pDC->Draw3dRect(rc, GetColorByIndex(COLOR_3DHIGHLIGHT), GetColorByIndex(COLOR_3DSHADOW));
    }
    pButton->DrawEntry(pDC, rcGlyph, m_clrActiveFilesGlyph, pButton->IsEnabled());
}
