#include "toolkit/themes/visualstudio/QVTScrollBarThemeVisualStudio2012.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

IMPLEMENT_DYNAMIC(CQVTScrollBarThemeVisualStudio2012, CQVTScrollBarPaintManager)
IMPLEMENT_DYNAMIC(CQVTScrollBarThemeVisualStudio2015, CQVTScrollBarThemeVisualStudio2012)

namespace {
const QVT_FLAT_SCROLLBAR_COLORS kVisualStudio2012ScrollLight = {
    RGB(232, 232, 236), RGB(202, 203, 211), RGB(134, 137, 153), RGB(28, 151, 234),
    RGB(0, 122, 204),   RGB(208, 209, 215), RGB(136, 136, 136), RGB(106, 106, 106)};
const QVT_FLAT_SCROLLBAR_COLORS kVisualStudio2012ScrollDark = {
    RGB(62, 62, 66),  RGB(85, 85, 88),    RGB(153, 153, 153), RGB(28, 151, 234),
    RGB(0, 122, 204), RGB(104, 104, 104), RGB(158, 158, 158), RGB(239, 235, 239)};

// Pressed wins over hot, as the tracked part has no hot part.
COLORREF VisualStudioScrollStateColor(CQVTScrollBase* pScrollBar, int nPart, COLORREF clrNormal,
                                      COLORREF clrHot, COLORREF clrPressed)
{
    if (pScrollBar->GetPressedPart() == nPart)
        return clrPressed;
    if (pScrollBar->GetHotPart() == nPart)
        return clrHot;
    return clrNormal;
}

// A colour read as "-1" paints nothing.
void VisualStudioScrollFill(CDC* pDC, const CRect& rc, COLORREF clr)
{
    if (clr != COLORREF(-1))
        pDC->FillSolidRect(rc, clr);
}
}  // namespace

QVT_FLAT_SCROLLBAR_COLORS CQVTScrollBarThemeVisualStudio2012::GetColors(int nThemeStyle) const
{
    return nThemeStyle == styleDark ? kVisualStudio2012ScrollDark : kVisualStudio2012ScrollLight;
}

void CQVTScrollBarThemeVisualStudio2012::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    const QVT_SCROLLBAR_POSINFO& spi = *pScrollBar->GetScrollBarPosInfo();
    // A bar squeezed below a pixel (or turned inside out) has nothing to show.
    if (!spi.fSizebox)
    {
        CRect rc;
        pScrollBar->GetScrollBarRect(rc);
        if ((spi.fVert ? rc.Height() : rc.Width()) < 1)
            return;
    }
    CQVTScrollBarPaintManager::DrawScrollBar(pDC, pScrollBar);
}

void CQVTScrollBarThemeVisualStudio2012::DrawBackgroundHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                            const QVT_SCROLLBAR_PARTS& parts)
{
    VisualStudioScrollFill(pDC, parts.rcWhole, GetColors(pScrollBar->GetThemeStyle()).clrTrack);
}

void CQVTScrollBarThemeVisualStudio2012::DrawBackgroundVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                            const QVT_SCROLLBAR_PARTS& parts)
{
    VisualStudioScrollFill(pDC, parts.rcWhole, GetColors(pScrollBar->GetThemeStyle()).clrTrack);
}

void CQVTScrollBarThemeVisualStudio2012::DrawGlyphs(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                    const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    const QVT_FLAT_SCROLLBAR_COLORS colors = GetColors(pScrollBar->GetThemeStyle());
    auto arrowColor = [&](int nHit) {
        return parts.bEnabled ? VisualStudioScrollStateColor(pScrollBar, nHit, colors.clrArrow,
                                                             colors.clrArrowHot, colors.clrArrowPressed)
                              : colors.clrArrowDisabled;
    };
    DrawArrowGlyphPair(pDC, parts, bVert, arrowColor(qvtScrollHitUpArrow), arrowColor(qvtScrollHitDownArrow));
}

void CQVTScrollBarThemeVisualStudio2012::DrawSlimThumb(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    if (!parts.bEnabled || parts.rcThumb.IsRectEmpty())
        return;
    const QVT_FLAT_SCROLLBAR_COLORS colors = GetColors(pScrollBar->GetThemeStyle());
    CRect rcThumb(parts.rcThumb);
    if (bVert)
        rcThumb.DeflateRect(QVTDpiScaler()->ScaleX(5), 0);
    else
        rcThumb.DeflateRect(0, QVTDpiScaler()->ScaleY(5));
    if (rcThumb.IsRectEmpty())
        return;
    VisualStudioScrollFill(pDC, rcThumb,
                           VisualStudioScrollStateColor(pScrollBar, qvtScrollHitThumb, colors.clrThumb,
                                                        colors.clrThumbHot, colors.clrThumbPressed));
}

void CQVTScrollBarThemeVisualStudio2012::DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                             const QVT_SCROLLBAR_PARTS& parts)
{
    DrawGlyphs(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeVisualStudio2012::DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                             const QVT_SCROLLBAR_PARTS& parts)
{
    DrawGlyphs(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeVisualStudio2012::DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    DrawSlimThumb(pDC, pScrollBar, parts, FALSE);
}

void CQVTScrollBarThemeVisualStudio2012::DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    DrawSlimThumb(pDC, pScrollBar, parts, TRUE);
}

void CQVTScrollBarThemeVisualStudio2012::DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    VisualStudioScrollFill(pDC, pScrollBar->GetScrollBarPosInfo()->rc,
                           GetColors(pScrollBar->GetThemeStyle()).clrTrack);
}

CQVTScrollBarThemeVisualStudio2015::CQVTScrollBarThemeVisualStudio2015()
    : m_colors(kVisualStudio2012ScrollLight)
{
}

void CQVTScrollBarThemeVisualStudio2015::RefreshMetrics()
{
    CQVTScrollBarThemeVisualStudio2012::RefreshMetrics();
    const LPCTSTR lpszSection = _T("Common.ScrollBar");
    m_colors.clrTrack = GetResourceImagesIniColor(lpszSection, _T("NormalBack"), RGB(243, 243, 243));
    m_colors.clrArrowDisabled =
        GetResourceImagesIniColor(lpszSection, _T("DisabledScrollArrow"), RGB(171, 171, 171));
    m_colors.clrArrow = GetResourceImagesIniColor(lpszSection, _T("NormalScrollArrow"), RGB(119, 119, 119));
    m_colors.clrArrowHot =
        GetResourceImagesIniColor(lpszSection, _T("SelectedScrollArrow"), RGB(119, 119, 119));
    m_colors.clrArrowPressed =
        GetResourceImagesIniColor(lpszSection, _T("PressedScrollArrow"), RGB(119, 119, 119));
    m_colors.clrThumb = GetResourceImagesIniColor(lpszSection, _T("NormalThumbBack"), RGB(255, 255, 255));
    m_colors.clrThumbHot =
        GetResourceImagesIniColor(lpszSection, _T("SelectedThumbBack"), RGB(240, 240, 240));
    m_colors.clrThumbPressed =
        GetResourceImagesIniColor(lpszSection, _T("PressedThumbBack"), RGB(240, 240, 240));
}

QVT_FLAT_SCROLLBAR_COLORS CQVTScrollBarThemeVisualStudio2015::GetColors(int /*nThemeStyle*/) const
{
    return m_colors;
}
