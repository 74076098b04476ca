#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTControlGalleryPaintManager, CObject)

namespace {
const WCHAR kGlyphGalleryUp = 76;
const WCHAR kGlyphGalleryDown = 77;
const WCHAR kGlyphGalleryPopup = 104;
}  // namespace

CQVTControlGalleryPaintManager::CQVTControlGalleryPaintManager(CQVTPaintManager* pPaintManager)
    : m_pPaintManager(pPaintManager), m_cyUpButton(CQVTPaintManager::DpiY(19)),
      m_cyDownButton(CQVTPaintManager::DpiY(19)), m_cxScrollBar(CQVTPaintManager::DpiX(16))
{
}

void CQVTControlGalleryPaintManager::RefreshMetrics()
{
    m_cyUpButton = CQVTPaintManager::DpiY(19);
    m_cyDownButton = CQVTPaintManager::DpiY(19);
    m_cxScrollBar = CQVTPaintManager::DpiX(16);
    m_clrBorder.SetStandardValue(m_pPaintManager->GetColor(52));
}

void CQVTControlGalleryPaintManager::FillControl(CDC* pDC, CQVTControlGallery* pGallery, CRect rc)
{
    if (!pDC || !pGallery)
        return;
    if (!pGallery->IsTransparent())
        pDC->FillSolidRect(rc, m_pPaintManager->GetColor(41));
    if (pGallery->GetShowBorders())
        pDC->Draw3dRect(rc, m_clrBorder, m_clrBorder);
    if (pGallery->HasNextControl())
        pDC->FillSolidRect(rc.left, rc.bottom - CQVTPaintManager::DpiY(2), rc.Width(), 1,
                           m_pPaintManager->GetColor(39));
}

void CQVTControlGalleryPaintManager::DrawLabel(CDC* pDC, CQVTControlGalleryItem* pLabel, CRect rc)
{
    if (!pDC || !pLabel)
        return;
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(56));
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_pPaintManager->GetColor(52));
    CQVTFontDC font(pDC, m_pPaintManager->GetRegularBoldFont());
    CRect rcText(rc);
    rcText.DeflateRect(CQVTPaintManager::DpiX(10), 0);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_pPaintManager->GetColor(44));
    pDC->DrawText(pLabel->GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CQVTControlGalleryPaintManager::DrawItemBackground(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected,
                                                        BOOL bPressed, BOOL bChecked, int nKind)
{
    m_pPaintManager->DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked, FALSE, nKind,
                                   qvtBarPopup);
}

COLORREF CQVTControlGalleryPaintManager::GetItemTextColor(BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                                          BOOL bChecked, int nKind)
{
    return m_pPaintManager->GetRectangleTextColor(bSelected, bPressed, bEnabled, bChecked, FALSE, nKind,
                                                  qvtBarPopup);
}

void CQVTControlGalleryPaintManager::DrawImageOf(CDC* pDC, CQVTControlGalleryItem* pItem, CPoint pt, CSize sz,
                                                 BOOL bEnabled)
{
    CQVTImageManagerIcon* pImage = pItem->GetImage();
    if (pImage)
        m_pPaintManager->DrawImage(pDC, pt, sz, pImage, FALSE, FALSE, bEnabled, FALSE, FALSE, FALSE);
}

void CQVTControlGalleryPaintManager::DrawItem(CDC* pDC, CRect rcItem, CQVTControlGalleryItem* pItem,
                                              BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked,
                                              CQVTControlGallery* pGallery)
{
    if (!pDC || !pItem)
        return;
    CQVTImageManagerIcon* pImage = pItem->GetImage();
    const CString strCaption = pItem->GetCaption();
    const int nStyle = pGallery ? pGallery->GetStyle() : qvtButtonAutomatic;
    const BOOL bCaption = !strCaption.IsEmpty() &&
                          (nStyle == qvtButtonIconAndCaption || nStyle == qvtButtonIconAndCaptionBelow ||
                           nStyle == qvtButtonCaptionAndDescription);
    pDC->SetBkMode(TRANSPARENT);

    if (pImage && !bCaption)
    {
        DrawItemBackground(pDC, rcItem, bEnabled, bSelected, bPressed, bChecked, qvtBarTypeNormal);
        const CSize sz = pImage->GetExtent();
        const CPoint pt(rcItem.CenterPoint().x - sz.cx / 2, rcItem.CenterPoint().y - sz.cy / 2);
        DrawImageOf(pDC, pItem, pt, sz, bEnabled);
        return;
    }

    if (pImage && (nStyle == qvtButtonIconAndCaption || nStyle == qvtButtonCaptionAndDescription))
    {
        const int nMargin = CQVTPaintManager::DpiX(2);
        const CSize sz = pImage->GetExtent();
        DrawItemBackground(pDC, rcItem, bEnabled, bSelected, FALSE, FALSE, qvtBarTypePopup);
        const int nColumn = std::max(static_cast<int>(sz.cx), rcItem.Height() - CQVTPaintManager::DpiY(4));
        if (bChecked)
        {
            CRect rcCheck(rcItem.left + nMargin, rcItem.top + nMargin, rcItem.left + nMargin + nColumn,
                          rcItem.bottom - nMargin);
            DrawItemBackground(pDC, rcCheck, bEnabled, FALSE, FALSE, TRUE, qvtBarTypeNormal);
        }
        const CPoint pt(rcItem.left + nMargin + (nColumn - sz.cx) / 2, rcItem.CenterPoint().y - sz.cy / 2);
        DrawImageOf(pDC, pItem, pt, sz, bEnabled);

        pDC->SetTextColor(GetItemTextColor(bEnabled, bSelected, FALSE, FALSE, qvtBarTypePopup));
        CRect rcText(rcItem);
        rcText.left += nMargin + nColumn + CQVTPaintManager::DpiX(2) + sz.cx / 3;
        if (nStyle == qvtButtonIconAndCaption)
        {
            CQVTFontDC font(pDC, m_pPaintManager->GetRegularFont());
            pDC->DrawText(strCaption, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            return;
        }
        CQVTFontDC font(pDC, m_pPaintManager->GetRegularBoldFont());
        pDC->DrawText(strCaption, rcText, DT_SINGLELINE | DT_TOP | DT_NOPREFIX | DT_END_ELLIPSIS);
        const int nCaptionHeight = pDC->GetTextExtent(CString(_T("XXX"))).cy;
        font.SetFont(m_pPaintManager->GetRegularFont());
        CRect rcDescription(rcText);
        rcDescription.top += nCaptionHeight;
        pDC->DrawText(pItem->GetDescription(), rcDescription, DT_WORDBREAK | DT_NOPREFIX);
        return;
    }

    if (pImage)
    {
        // The caption below the picture.
        DrawItemBackground(pDC, rcItem, bEnabled, bSelected, bPressed, bChecked, qvtBarTypeNormal);
        const CSize sz = pImage->GetExtent();
        const CPoint pt(rcItem.CenterPoint().x - sz.cx / 2, rcItem.top + CQVTPaintManager::DpiY(2));
        DrawImageOf(pDC, pItem, pt, sz, bEnabled);
        CRect rcText(rcItem);
        rcText.top += sz.cy + CQVTPaintManager::DpiY(4);
        CQVTFontDC font(pDC, m_pPaintManager->GetRegularFont());
        pDC->SetTextColor(GetItemTextColor(bEnabled, bSelected, bPressed, bChecked, qvtBarTypeNormal));
        pDC->DrawText(strCaption, rcText, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        return;
    }

    DrawItemBackground(pDC, rcItem, bEnabled, bSelected, FALSE, bChecked, qvtBarTypePopup);
    pDC->SetTextColor(GetItemTextColor(bEnabled, bSelected, FALSE, bChecked, qvtBarTypePopup));
    CQVTFontDC font(pDC, m_pPaintManager->GetRegularFont());
    CRect rcText(rcItem);
    rcText.left += CQVTPaintManager::DpiX(3);
    pDC->DrawText(strCaption, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CQVTControlGalleryPaintManager::DrawScrollBar(CDC* pDC, CQVTControlGallery* pGallery)
{
    if (!pDC || !pGallery)
        return;
    CRect rcScroll;
    pGallery->GetScrollBarRect(rcScroll);
    if (rcScroll.IsRectEmpty())
        return;
    pDC->FillSolidRect(rcScroll, m_pPaintManager->GetColor(30));

    const BOOL bEnabled = pGallery->GetEnabled() != 0;
    const int nPressed = pGallery->GetPressedPart();
    const int nHot = pGallery->GetHotScrollPart();
    const int nUpBottom = std::min(rcScroll.top + m_cyUpButton, static_cast<int>(rcScroll.bottom));
    const int nDownBottom = std::min(nUpBottom + m_cyDownButton, static_cast<int>(rcScroll.bottom));
    struct Button
    {
        int nId;
        CRect rc;
        WCHAR chGlyph;
        int nInset;
    } buttons[] = {
        {qvtScrollHitUpArrow, CRect(rcScroll.left, rcScroll.top, rcScroll.right, nUpBottom), kGlyphGalleryUp,
         2},
        {qvtScrollHitDownArrow, CRect(rcScroll.left, nUpBottom, rcScroll.right, nDownBottom),
         kGlyphGalleryDown, 2},
        {qvtScrollHitBeyondTrack, CRect(rcScroll.left, nDownBottom, rcScroll.right, rcScroll.bottom),
         kGlyphGalleryPopup, 3},
    };
    for (const Button& button : buttons)
    {
        if (button.rc.IsRectEmpty())
            continue;
        const BOOL bButtonEnabled = bEnabled && pGallery->IsScrollButtonEnabled(button.nId);
        const BOOL bButtonPressed = bButtonEnabled && nPressed == button.nId;
        const BOOL bButtonHot = bButtonEnabled && !bButtonPressed && nHot == button.nId;
        m_pPaintManager->DrawRectangle(pDC, button.rc, bButtonHot || bButtonPressed, bButtonPressed,
                                       bButtonEnabled, FALSE, FALSE, qvtBarTypeNormal, qvtBarPopup);
        CRect rcGlyph(button.rc);
        rcGlyph.DeflateRect(CQVTPaintManager::DpiX(button.nInset), CQVTPaintManager::DpiY(button.nInset));
        QVTGlyphFont()->DrawGlyph(pDC, button.chGlyph, rcGlyph,
                                  GetItemTextColor(bButtonEnabled, bButtonHot || bButtonPressed,
                                                   bButtonPressed, FALSE, qvtBarTypeNormal));
    }
}
