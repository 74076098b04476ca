#include "toolkit/themes/resource/QVTScrollBarThemeResource.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTScrollBarThemeResource, CQVTScrollBarThemeWindowsUx)

namespace {
using QVTResourceThemeColors::kKey;
const int kGlyphSize = 9;  // a cell of the arrow-glyph strip
const int kGlyphCells = 16;

CQVTResourceImage* LoadSetImage(LPCTSTR lpszName)
{
    return QVTResourceImages()->LoadValidFile(lpszName);
}
}  // namespace

CQVTScrollBarThemeResource::CQVTScrollBarThemeResource()
    : m_bDark(FALSE), m_nPressedPart(0), m_nHotPart(0), m_bEnabled(FALSE), m_nThumbLength(0),
      m_nThumbOffset(0), m_pGlyphs(nullptr), m_pTrack(nullptr)
{
}

void CQVTScrollBarThemeResource::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    const QVT_SCROLLBAR_POSINFO& spi = *pScrollBar->GetScrollBarPosInfo();
    m_bDark = pScrollBar->GetThemeStyle() == kDarkStyle;
    m_nPressedPart = pScrollBar->GetPressedPart();
    m_nHotPart = pScrollBar->GetHotPart();
    const QVT_SCROLLBAR_PARTS parts = CalcParts(pScrollBar);
    m_bEnabled = parts.bEnabled;
    m_nThumbLength = spi.fVert ? parts.rcThumb.Height() : parts.rcThumb.Width();
    m_nThumbOffset =
        spi.fVert ? parts.rcThumb.top - parts.rcTrack.top : parts.rcThumb.left - parts.rcTrack.left;
    m_rcArrowFirst = parts.rcArrowFirst;
    m_rcArrowSecond = parts.rcArrowSecond;
    m_rcPageBefore = parts.rcPageBefore;
    m_rcPageAfter = parts.rcPageAfter;
    m_rcTrack = spi.rc;
    if (spi.fVert)
        m_rcTrack.DeflateRect(1, 0);
    else
        m_rcTrack.DeflateRect(0, 1);

    // The light glyphs serve the dark style when it has none of its own.
    m_pGlyphs = m_bDark ? LoadSetImage(_T("CONTROLGALLERYSCROLLARROWGLYPHSDARK")) : nullptr;
    if (!m_pGlyphs)
        m_pGlyphs = LoadSetImage(_T("CONTROLGALLERYSCROLLARROWGLYPHS"));
    m_pTrack = LoadSetImage(spi.fVert ? (m_bDark ? _T("CONTROLGALLERYSCROLLVERTICALDARK")
                                                 : _T("CONTROLGALLERYSCROLLVERTICALLIGHT"))
                                      : (m_bDark ? _T("CONTROLGALLERYSCROLLHORIZONTALDARK")
                                                 : _T("CONTROLGALLERYSCROLLHORIZONTALLIGHT")));
    if (spi.fSizebox && LoadSetImage(m_bDark ? _T("CONTROLGALLERYSCROLLSIZEBOXDARK")
                                             : _T("CONTROLGALLERYSCROLLSIZEBOXLIGHT")))
        DrawSizeBox(pDC, pScrollBar);
    else if (IsDrawing())
        CQVTScrollBarPaintManager::DrawScrollBar(pDC, pScrollBar);
    else
        CQVTScrollBarThemeWindowsUx::DrawScrollBar(pDC, pScrollBar);
    m_pGlyphs = nullptr;
    m_pTrack = nullptr;
}

// Background and pressed pages.

void CQVTScrollBarThemeResource::DrawBackground(CDC* pDC)
{
    m_pTrack->DrawImageStretched(pDC, m_rcTrack, m_pTrack->GetSource(0, 2));
}

void CQVTScrollBarThemeResource::DrawBackgroundHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                    const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawBackground(pDC);
    else
        CQVTScrollBarThemeWindowsUx::DrawBackgroundHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawBackgroundVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                    const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawBackground(pDC);
    else
        CQVTScrollBarThemeWindowsUx::DrawBackgroundVert(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawTrack(CDC* pDC, BOOL bVert)
{
    // The pressed page, one pixel longer towards the thumb.
    CRect rc;
    if (m_nPressedPart == qvtScrollHitPageUp)
    {
        rc = m_rcPageBefore;
        (bVert ? rc.bottom : rc.right) += 1;
    }
    else if (m_nPressedPart == qvtScrollHitPageDown)
    {
        rc = m_rcPageAfter;
        (bVert ? rc.top : rc.left) -= 1;
    }
    else
        return;
    if (bVert)
        rc.left = m_rcTrack.left, rc.right = m_rcTrack.right;
    else
        rc.top = m_rcTrack.top, rc.bottom = m_rcTrack.bottom;
    if (!rc.IsRectEmpty())
        m_pTrack->DrawImageStretched(pDC, rc, m_pTrack->GetSource(1, 2));
}

void CQVTScrollBarThemeResource::DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                               const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawTrack(pDC, FALSE);
    else
        CQVTScrollBarThemeWindowsUx::DrawTrackHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                               const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawTrack(pDC, TRUE);
    else
        CQVTScrollBarThemeWindowsUx::DrawTrackVert(pDC, pScrollBar, parts);
}

// Arrows.

int CQVTScrollBarThemeResource::GetArrowFrame(int nArrow) const
{
    if (!m_bEnabled)
        return 0;
    if (m_nPressedPart == nArrow)
        return 3;
    if (m_nHotPart == nArrow)
        return 2;
    if (m_nHotPart || m_nPressedPart)
        return 1;
    return 0;
}

void CQVTScrollBarThemeResource::DrawArrowButtons(CDC* pDC, BOOL bVert)
{
    CQVTResourceImage* pArrows =
        LoadSetImage(bVert ? (m_bDark ? _T("CONTROLGALLERYSCROLLARROWSVERTICALDARK")
                                      : _T("CONTROLGALLERYSCROLLARROWSVERTICALLIGHT"))
                           : (m_bDark ? _T("CONTROLGALLERYSCROLLARROWSHORIZONTALDARK")
                                      : _T("CONTROLGALLERYSCROLLARROWSHORIZONTALLIGHT")));
    if (!pArrows)
        return;
    const CRect rcMargins(3, 3, 3, 3);
    pArrows->DrawFrame(pDC, m_rcArrowFirst, GetArrowFrame(qvtScrollHitUpArrow), 4, rcMargins, kKey);
    pArrows->DrawFrame(pDC, m_rcArrowSecond, GetArrowFrame(qvtScrollHitDownArrow), 4, rcMargins, kKey);
}

void CQVTScrollBarThemeResource::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                      const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawArrowButtons(pDC, FALSE);
    else
        CQVTScrollBarThemeWindowsUx::DrawArrowButtonsHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                      const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawArrowButtons(pDC, TRUE);
    else
        CQVTScrollBarThemeWindowsUx::DrawArrowButtonsVert(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawArrowGlyphs(CDC* pDC, BOOL bVert)
{
    // Runs of four cells, numbered from 1: up 1, down 5, left 9, right 13;
    // the first of a run idle, the second for any lit arrow, the fourth disabled.
    const CSize szGlyph(CQVTPaintManager::DpiX(kGlyphSize), CQVTPaintManager::DpiY(kGlyphSize));
    auto draw = [&](const CRect& rcArrow, int nRunStart, int nArrow) {
        const int nFrame = GetArrowFrame(nArrow);
        const int nCell = !m_bEnabled ? nRunStart + 3 : nFrame == 0 ? nRunStart : nRunStart + 1;
        const CPoint ptCentre = rcArrow.CenterPoint();
        const CRect rcGlyph(CPoint(ptCentre.x - szGlyph.cx / 2, ptCentre.y - szGlyph.cy / 2), szGlyph);
        m_pGlyphs->DrawImageColorKeyed(pDC, rcGlyph, m_pGlyphs->GetSource(nCell - 1, kGlyphCells),
                                       CRect(0, 0, 0, 0), kKey);
    };
    draw(m_rcArrowFirst, bVert ? 1 : 9, qvtScrollHitUpArrow);
    draw(m_rcArrowSecond, bVert ? 5 : 13, qvtScrollHitDownArrow);
}

void CQVTScrollBarThemeResource::DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                     const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawArrowGlyphs(pDC, FALSE);
    else
        CQVTScrollBarThemeWindowsUx::DrawArrowGlyphsHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                     const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawArrowGlyphs(pDC, TRUE);
    else
        CQVTScrollBarThemeWindowsUx::DrawArrowGlyphsVert(pDC, pScrollBar, parts);
}

// Thumb and size box.

void CQVTScrollBarThemeResource::DrawThumb(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    if (!m_bEnabled || parts.rcThumb.IsRectEmpty())
        return;
    LPCTSTR lpszLight =
        bVert ? _T("CONTROLGALLERYSCROLLTHUMBVERTICAL") : _T("CONTROLGALLERYSCROLLTHUMBHORIZONTAL");
    CQVTResourceImage* pThumb = m_bDark ? LoadSetImage(bVert ? _T("CONTROLGALLERYSCROLLTHUMBVERTICALDARK")
                                                             : _T("CONTROLGALLERYSCROLLTHUMBHORIZONTALDARK"))
                                        : nullptr;
    if (!pThumb)
        pThumb = LoadSetImage(lpszLight);
    if (!pThumb)
        return;
    const int nFrame = m_nPressedPart == qvtScrollHitThumb ? 2 : m_nHotPart == qvtScrollHitThumb ? 1 : 0;
    pThumb->DrawImage(pDC, parts.rcThumb, pThumb->GetSource(nFrame, 3), CRect(3, 3, 3, 3));
    if (m_nThumbLength <= CQVTPaintManager::DpiX(10))
        return;
    CQVTResourceImage* pGripper = LoadSetImage(bVert ? _T("CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL")
                                                     : _T("CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL"));
    if (!pGripper)
        return;
    const CSize szGripper(CQVTPaintManager::DpiX(8), CQVTPaintManager::DpiY(8));
    const CPoint ptCentre = parts.rcThumb.CenterPoint();
    pGripper->DrawImageColorKeyed(
        pDC, CRect(CPoint(ptCentre.x - szGripper.cx / 2, ptCentre.y - szGripper.cy / 2), szGripper),
        pGripper->GetSource(0, 1), CRect(0, 0, 0, 0), kKey);
}

void CQVTScrollBarThemeResource::DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                               const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawThumb(pDC, parts, FALSE);
    else
        CQVTScrollBarThemeWindowsUx::DrawThumbHorz(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                               const QVT_SCROLLBAR_PARTS& parts)
{
    if (IsDrawing())
        DrawThumb(pDC, parts, TRUE);
    else
        CQVTScrollBarThemeWindowsUx::DrawThumbVert(pDC, pScrollBar, parts);
}

void CQVTScrollBarThemeResource::DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    CQVTResourceImage* pBox = LoadSetImage(m_bDark ? _T("CONTROLGALLERYSCROLLSIZEBOXDARK")
                                                   : _T("CONTROLGALLERYSCROLLSIZEBOXLIGHT"));
    if (!pBox)
    {
        CQVTScrollBarThemeWindowsUx::DrawSizeBox(pDC, pScrollBar);
        return;
    }
    const CRect rc(pScrollBar->GetScrollBarPosInfo()->rc);
    pBox->DrawImageStretched(pDC, rc, pBox->GetSource(0, 1));
    if (CQVTResourceImage* pGripper = LoadSetImage(_T("STATUSBARGRIPPER")))
    {
        const CRect rcSource = pGripper->GetSource(0, 1);
        const CSize sz(CQVTPaintManager::DpiX(rcSource.Width()), CQVTPaintManager::DpiY(rcSource.Height()));
        pGripper->DrawImageColorKeyed(pDC, CRect(CPoint(rc.right - sz.cx, rc.bottom - sz.cy), sz), rcSource,
                                      CRect(0, 0, 0, 0), kKey);
    }
}
