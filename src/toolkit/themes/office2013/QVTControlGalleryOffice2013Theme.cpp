#include "toolkit/themes/office2013/QVTControlGalleryOffice2013Theme.h"

#include <algorithm>

#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTControlGalleryOffice2013Theme, CQVTControlGalleryPaintManager)

namespace {
const COLORREF kOffice2013GalleryNoColor = 0xFFFFFFFF;

void Office2013GalleryFill(CDC* pDC, const CRect& rc, COLORREF clr)
{
    if (clr != kOffice2013GalleryNoColor && !rc.IsRectEmpty())
        pDC->FillSolidRect(rc, clr);
}

void Office2013GalleryFrame(CDC* pDC, const CRect& rc, COLORREF clr)
{
    if (clr != kOffice2013GalleryNoColor)
        pDC->Draw3dRect(rc, clr, clr);
}
}  // namespace

CQVTControlGalleryOffice2013Theme::CQVTControlGalleryOffice2013Theme(CQVTPaintManager* pPaintManager)
    : CQVTControlGalleryPaintManager(pPaintManager), m_clrBack(RGB(255, 255, 255)),
      m_clrScrollTriangle(RGB(119, 119, 119)), m_clrScrollTriangleHighlight(RGB(68, 68, 68)),
      m_clrScrollTrianglePushed(RGB(0, 0, 0)), m_clrScrollTriangleDisabled(RGB(198, 198, 198)),
      m_clrScrollBorder(RGB(171, 171, 171)), m_clrScrollBorderHighlight(RGB(163, 189, 227)),
      m_clrScrollBorderDisabled(RGB(225, 225, 225)), m_clrScrollBackHighlight(RGB(213, 225, 242)),
      m_clrScrollBackPushed(RGB(163, 189, 227))
{
}

void CQVTControlGalleryOffice2013Theme::RefreshMetrics()
{
    CQVTControlGalleryPaintManager::RefreshMetrics();
    LPCTSTR s = _T("CommandBars.Gallery");
    m_clrBack = GetResourceImagesIniColor(s, _T("Back"), RGB(255, 255, 255));
    m_clrBorder.SetStandardValue(GetResourceImagesIniColor(s, _T("Border"), RGB(171, 175, 178)));
    m_clrScrollTriangle = GetResourceImagesIniColor(s, _T("ScrollTriangle"), RGB(119, 119, 119));
    m_clrScrollTriangleHighlight =
        GetResourceImagesIniColor(s, _T("ScrollTriangleHighlight"), RGB(68, 68, 68));
    m_clrScrollTrianglePushed = GetResourceImagesIniColor(s, _T("ScrollTrianglePushed"), RGB(0, 0, 0));
    m_clrScrollTriangleDisabled =
        GetResourceImagesIniColor(s, _T("ScrollTriangleDisabled"), RGB(198, 198, 198));
    m_clrScrollBorder = GetResourceImagesIniColor(s, _T("ScrollBorder"), RGB(171, 171, 171));
    m_clrScrollBorderHighlight =
        GetResourceImagesIniColor(s, _T("ScrollBorderHighlight"), RGB(163, 189, 227));
    m_clrScrollBorderDisabled = GetResourceImagesIniColor(s, _T("ScrollBorderDisabled"), RGB(225, 225, 225));
    m_clrScrollBackHighlight = GetResourceImagesIniColor(s, _T("ScrollBackHighlight"), RGB(213, 225, 242));
    m_clrScrollBackPushed = GetResourceImagesIniColor(s, _T("ScrollBackPushed"), RGB(163, 189, 227));
}

void CQVTControlGalleryOffice2013Theme::FillControl(CDC* pDC, CQVTControlGallery* pGallery, CRect rc)
{
    if (!pDC || !pGallery)
        return;
    if (!pGallery->IsTransparent())
        Office2013GalleryFill(pDC, rc, m_clrBack);
    if (pGallery->GetShowBorders())
        Office2013GalleryFrame(pDC, rc, m_clrBorder);
    else if (pGallery->HasNextControl())
        Office2013GalleryFill(pDC,
                              CRect(rc.left, rc.bottom - CQVTPaintManager::DpiY(2), rc.right,
                                    rc.bottom - CQVTPaintManager::DpiY(2) + 1),
                              m_pPaintManager->GetColorEntry(39));
}

void CQVTControlGalleryOffice2013Theme::DrawScrollGlyph(CDC* pDC, int nPart, CPoint pt, COLORREF clr)
{
    if (clr == kOffice2013GalleryNoColor)
        return;
    auto x = [](int n) { return CQVTPaintManager::DpiX(n); };
    auto y = [](int n) { return CQVTPaintManager::DpiY(n); };
    auto triangle = [&](CPoint apex, CPoint base0, CPoint base1) {
        CPen pen(PS_SOLID, 1, clr);
        CBrush brush(clr);
        CPen* pOldPen = pDC->SelectObject(&pen);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        const POINT pts[3] = {apex, base0, base1};
        pDC->Polygon(pts, 3);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    };
    if (nPart == qvtScrollHitUpArrow)
        triangle(CPoint(pt.x, pt.y - y(1)), CPoint(pt.x - x(2), pt.y + y(1)),
                 CPoint(pt.x + x(2), pt.y + y(1)));
    else if (nPart == qvtScrollHitDownArrow)
        triangle(CPoint(pt.x, pt.y + y(1)), CPoint(pt.x - x(2), pt.y - y(1)),
                 CPoint(pt.x + x(2), pt.y - y(1)));
    else
    {
        pDC->FillSolidRect(pt.x - x(3), pt.y - y(2), x(7), std::max(1, y(1)), clr);
        triangle(CPoint(pt.x, pt.y + y(3)), CPoint(pt.x - x(2), pt.y + y(1)),
                 CPoint(pt.x + x(2), pt.y + y(1)));
    }
}

void CQVTControlGalleryOffice2013Theme::DrawScrollBar(CDC* pDC, CQVTControlGallery* pGallery)
{
    if (!pDC || !pGallery)
        return;
    CRect rcScroll;
    pGallery->GetScrollBarRect(rcScroll);
    if (rcScroll.IsRectEmpty())
        return;
    Office2013GalleryFill(pDC, rcScroll, m_clrBack);

    const BOOL bEnabled = pGallery->GetEnabled() != 0;
    const int nPressed = pGallery->GetPressedPart();
    const int nHot = pGallery->GetHotScrollPart();
    const int nUpBottom = std::min(rcScroll.top + m_cyUpButton, static_cast<int>(rcScroll.bottom));
    const int nDownBottom = std::min(nUpBottom + m_cyDownButton, static_cast<int>(rcScroll.bottom));
    // Each button is a pixel wider than the area and overlaps the next by one.
    const struct
    {
        int nId;
        CRect rc;
    } buttons[] = {
        {qvtScrollHitUpArrow, CRect(rcScroll.left, rcScroll.top, rcScroll.right + 1, nUpBottom + 1)},
        {qvtScrollHitDownArrow, CRect(rcScroll.left, nUpBottom, rcScroll.right + 1, nDownBottom + 1)},
        {qvtScrollHitBeyondTrack, CRect(rcScroll.left, nDownBottom, rcScroll.right + 1, rcScroll.bottom)},
    };
    CQVTDCSaveState state(pDC);
    for (const auto& button : buttons)
    {
        if (button.rc.IsRectEmpty())
            continue;
        const BOOL bDisabled = !bEnabled || (button.nId != qvtScrollHitBeyondTrack &&
                                             !pGallery->IsScrollButtonEnabled(button.nId));
        const BOOL bPressed = !bDisabled && nPressed == button.nId;
        const BOOL bHot = !bDisabled && !bPressed && nHot == button.nId;
        COLORREF clrGlyph;
        if (bDisabled)
        {
            Office2013GalleryFrame(pDC, button.rc, m_clrScrollBorder);
            Office2013GalleryFill(
                pDC, CRect(button.rc.left, button.rc.top + 1, button.rc.left + 1, button.rc.bottom - 1),
                m_clrScrollBorderDisabled);
            clrGlyph = m_clrScrollTriangleDisabled;
        }
        else if (bPressed || bHot)
        {
            Office2013GalleryFill(pDC, button.rc,
                                  bPressed ? m_clrScrollBackPushed : m_clrScrollBackHighlight);
            Office2013GalleryFrame(pDC, button.rc, m_clrScrollBorderHighlight);
            clrGlyph = bPressed ? m_clrScrollTrianglePushed : m_clrScrollTriangleHighlight;
        }
        else
        {
            Office2013GalleryFrame(pDC, button.rc, m_clrScrollBorder);
            clrGlyph = m_clrScrollTriangle;
        }
        DrawScrollGlyph(pDC, button.nId, button.rc.CenterPoint(), clrGlyph);
        // A lit button keeps its border: later neighbours draw around it.
        if (bPressed || bHot)
            pDC->ExcludeClipRect(button.rc);
    }
}
