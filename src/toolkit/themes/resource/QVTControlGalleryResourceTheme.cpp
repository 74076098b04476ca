#include "toolkit/themes/resource/QVTControlGalleryResourceTheme.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTControlGalleryResourceTheme, CQVTControlGalleryPaintManager)

namespace {
const COLORREF kGallerySeparator = RGB(0xC5, 0xC5, 0xC5);
const int kGalleryButtonFrames = 5;
}  // namespace

CQVTControlGalleryResourceTheme::CQVTControlGalleryResourceTheme(CQVTPaintManager* pPaintManager)
    : CQVTControlGalleryPaintManager(pPaintManager), m_clrSelected(RGB(255, 255, 255)),
      m_clrNormal(RGB(255, 255, 255)), m_clrFrame(RGB(0, 0, 0))
{
}

BOOL CQVTControlGalleryResourceTheme::IsSetValid() const
{
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    CQVTResourceImages* pImages = pTheme ? pTheme->GetResourceImages() : nullptr;
    return pImages && pImages->IsValid();
}

void CQVTControlGalleryResourceTheme::RefreshMetrics()
{
    CQVTControlGalleryPaintManager::RefreshMetrics();
    if (!IsSetValid())
        return;
    CQVTResourceImages* pImages = static_cast<CQVTResourceTheme*>(m_pPaintManager)->GetResourceImages();
    m_cyUpButton = CQVTPaintManager::DpiY(21);
    m_cyDownButton = CQVTPaintManager::DpiY(19);
    m_clrSelected = pImages->GetIniColor(_T("Toolbar"), _T("ControlGallerySelected"), RGB(255, 255, 255));
    m_clrNormal = pImages->GetIniColor(_T("Toolbar"), _T("ControlGalleryNormal"), RGB(255, 255, 255));
    m_clrFrame = pImages->GetIniColor(_T("Toolbar"), _T("ControlGalleryBorder"), RGB(0, 0, 0));
}

void CQVTControlGalleryResourceTheme::FillControl(CDC* pDC, CQVTControlGallery* pGallery, CRect rc)
{
    if (!IsSetValid())
    {
        CQVTControlGalleryPaintManager::FillControl(pDC, pGallery, rc);
        return;
    }
    if (!pDC || !pGallery)
        return;
    if (!pGallery->IsTransparent())
    {
        COLORREF clrFill = m_pPaintManager->GetColor(41);
        if (!pGallery->GetParent() || !pGallery->GetParent()->IsPopupBar())
            clrFill = pGallery->GetSelected() && pGallery->GetEnabled() ? m_clrSelected : m_clrNormal;
        pDC->FillSolidRect(rc, clrFill);
    }
    if (pGallery->GetShowBorders())
        pDC->Draw3dRect(rc, m_clrFrame, m_clrFrame);
    if (pGallery->HasNextControl())
        pDC->FillSolidRect(rc.left, rc.bottom - CQVTPaintManager::DpiY(2), rc.Width(), 1, kGallerySeparator);
}

void CQVTControlGalleryResourceTheme::DrawLabel(CDC* pDC, CQVTControlGalleryItem* pLabel, CRect rc)
{
    if (!IsSetValid())
    {
        CQVTControlGalleryPaintManager::DrawLabel(pDC, pLabel, rc);
        return;
    }
    if (!pDC || !pLabel)
        return;
    pDC->FillSolidRect(rc, m_pPaintManager->GetColor(56));
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, kGallerySeparator);
    CQVTFontDC font(pDC, m_pPaintManager->GetRegularBoldFont());
    CRect rcText(rc);
    rcText.DeflateRect(CQVTPaintManager::DpiX(10), 0);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_pPaintManager->GetColor(44));
    pDC->DrawText(pLabel->GetCaption(), rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CQVTControlGalleryResourceTheme::DrawScrollBar(CDC* pDC, CQVTControlGallery* pGallery)
{
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    const BOOL bValid = pDC && pGallery && IsSetValid();
    CQVTResourceImage* pUp = bValid ? pTheme->LoadImage(_T("CONTROLGALLERYUP")) : nullptr;
    CQVTResourceImage* pDown = pUp ? pTheme->LoadImage(_T("CONTROLGALLERYDOWN")) : nullptr;
    CQVTResourceImage* pPopup = pDown ? pTheme->LoadImage(_T("CONTROLGALLERYPOPUP")) : nullptr;
    if (!pPopup)
    {
        CQVTControlGalleryPaintManager::DrawScrollBar(pDC, pGallery);
        return;
    }
    CRect rcScroll;
    pGallery->GetScrollBarRect(rcScroll);
    if (rcScroll.IsRectEmpty())
        return;
    rcScroll.left = rcScroll.right - CQVTPaintManager::DpiX(15);

    const BOOL bEnabled = pGallery->GetEnabled() != 0;
    const int nPressed = pGallery->GetPressedPart();
    int nHot = pGallery->GetHotScrollPart();
    // An inline gallery of a popup control with nothing selected invites the
    // popup.
    if (nHot == 0 && nPressed == 0 && pGallery->GetSelectedItem() == -1 && pGallery->GetCommandBar() &&
        pGallery->GetType() == qvtControlGallery && pGallery->GetSelected())
        nHot = qvtScrollHitBeyondTrack;
    const int nUpBottom = std::min(rcScroll.top + m_cyUpButton, static_cast<int>(rcScroll.bottom));
    const int nDownBottom = std::min(nUpBottom + m_cyDownButton, static_cast<int>(rcScroll.bottom));
    struct Button
    {
        int nId;
        CRect rc;
        CQVTResourceImage* pImage;
    } buttons[] = {
        {qvtScrollHitUpArrow, CRect(rcScroll.left, rcScroll.top, rcScroll.right, nUpBottom), pUp},
        {qvtScrollHitDownArrow, CRect(rcScroll.left, nUpBottom, rcScroll.right, nDownBottom), pDown},
        {qvtScrollHitBeyondTrack, CRect(rcScroll.left, nDownBottom, rcScroll.right, rcScroll.bottom), pPopup},
    };
    for (const Button& button : buttons)
    {
        if (button.rc.IsRectEmpty())
            continue;
        int nFrame = 0;
        if (!bEnabled || !pGallery->IsScrollButtonEnabled(button.nId))
            nFrame = 4;
        else if (nPressed == button.nId)
            nFrame = 3;
        else if (nHot == button.nId)
            nFrame = 2;
        else if (nHot != 0 || nPressed != 0)
            nFrame = 1;
        button.pImage->DrawImageColorKeyed(pDC, button.rc,
                                           button.pImage->GetSource(nFrame, kGalleryButtonFrames),
                                           CRect(2, 2, 2, 2), QVTResourceThemeColors::kKey);
    }
}
