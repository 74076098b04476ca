#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

IMPLEMENT_DYNAMIC(CQVTScrollBarPaintManager, CObject)

CQVTScrollBarPaintManager::CQVTScrollBarPaintManager()
    : m_cxHScroll(0), m_cyHScroll(0), m_cxVScroll(0), m_cyVScroll(0), m_nThumbSize(0), m_crBackPushed(0),
      m_crBackHilite(0), m_crBorderHilite(0), m_crBorder(0), m_crBackground(0)
{
}

CQVTScrollBarPaintManager::~CQVTScrollBarPaintManager() {}

void CQVTScrollBarPaintManager::RefreshMetrics()
{
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_crBackPushed = GetColorByIndex(COLOR_3DFACE);
    m_crBackHilite = GetColorByIndex(COLOR_3DFACE);
    m_crBorderHilite = GetColorByIndex(COLOR_3DSHADOW);
    m_crBorder = GetColorByIndex(COLOR_3DSHADOW);
    m_crBackground = GetColorByIndex(COLOR_3DFACE);
}

QVT_SCROLLBAR_PARTS AFX_CDECL CQVTScrollBarPaintManager::CalcParts(CQVTScrollBase* pScrollBar)
{
    const QVT_SCROLLBAR_POSINFO& spi = *pScrollBar->GetScrollBarPosInfo();
    QVT_SCROLLBAR_PARTS parts;
    const LONGLONG nScrollable = static_cast<LONGLONG>(spi.posMax) - spi.page - spi.posMin + 1;
    parts.bEnabled = nScrollable > 0 && pScrollBar->IsEnabled();

    int nThumbTop = spi.pxThumbTop, nThumbBottom = spi.pxThumbBottom;
    if (!parts.bEnabled || spi.pxThumbBottom > spi.pxDownArrow)
        nThumbTop = nThumbBottom = spi.pxUpArrow;

    auto Along = [&spi](int nFrom, int nTo) {
        return spi.fVert ? CRect(spi.rc.left, nFrom, spi.rc.right, nTo)
                         : CRect(nFrom, spi.rc.top, nTo, spi.rc.bottom);
    };
    parts.rcWhole = spi.rc;
    parts.rcArrowFirst = Along(spi.pxTop, spi.pxUpArrow);
    parts.rcArrowSecond = Along(spi.pxDownArrow, spi.pxBottom);
    parts.rcTrack = Along(spi.pxUpArrow, spi.pxDownArrow);
    parts.rcThumb = Along(nThumbTop, nThumbBottom);
    parts.rcPageBefore = Along(spi.pxUpArrow, nThumbTop);
    parts.rcPageAfter = Along(nThumbBottom, spi.pxDownArrow);
    return parts;
}

int AFX_CDECL CQVTScrollBarPaintManager::GetPartState(CQVTScrollBase* pScrollBar, int nPart, BOOL bEnabled)
{
    if (!bEnabled)
        return 4;
    if (pScrollBar->GetPressedPart() == nPart)
        return 3;
    if (pScrollBar->GetHotPart() == nPart)
        return 2;
    return 1;
}

void AFX_CDECL CQVTScrollBarPaintManager::DrawArrowGlyphPair(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts,
                                                             BOOL bVert, COLORREF clrFirst,
                                                             COLORREF clrSecond)
{
    // The glyph font's arrows: left 74, right 75, up 76, down 77.
    const CRect* arrows[] = {&parts.rcArrowFirst, &parts.rcArrowSecond};
    const WCHAR glyphs[] = {static_cast<WCHAR>(bVert ? 76 : 74), static_cast<WCHAR>(bVert ? 77 : 75)};
    const COLORREF colors[] = {clrFirst, clrSecond};
    for (int i = 0; i < 2; ++i)
    {
        if (arrows[i]->Width() < 6 || arrows[i]->Height() < 6 || colors[i] == COLORREF(-1))
            continue;
        QVTGlyphFont()->DrawGlyph(pDC, glyphs[i], *arrows[i], colors[i]);
    }
}

void CQVTScrollBarPaintManager::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    if (pScrollBar->GetScrollBarPosInfo()->fSizebox)
    {
        DrawSizeBox(pDC, pScrollBar);
        return;
    }
    const QVT_SCROLLBAR_PARTS parts = CalcParts(pScrollBar);
    if (pScrollBar->GetScrollBarPosInfo()->fVert)
    {
        DrawBackgroundVert(pDC, pScrollBar, parts);
        DrawArrowButtonsVert(pDC, pScrollBar, parts);
        DrawArrowGlyphsVert(pDC, pScrollBar, parts);
        DrawTrackVert(pDC, pScrollBar, parts);
        DrawThumbVert(pDC, pScrollBar, parts);
    }
    else
    {
        DrawBackgroundHorz(pDC, pScrollBar, parts);
        DrawArrowButtonsHorz(pDC, pScrollBar, parts);
        DrawArrowGlyphsHorz(pDC, pScrollBar, parts);
        DrawTrackHorz(pDC, pScrollBar, parts);
        DrawThumbHorz(pDC, pScrollBar, parts);
    }
}
