#include "toolkit/themes/office2013/QVTScrollBarThemeOffice2013.h"

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

IMPLEMENT_DYNAMIC(CQVTScrollBarThemeOffice2013, CQVTScrollBarPaintManager)

namespace {
const COLORREF kOffice2013ScrollNoColor = 0xFFFFFFFF;

// Defaults by state (normal, pressed, selected, disabled) and part.
const COLORREF kOffice2013ScrollDefaults[4][6] = {
    {RGB(243, 243, 243), RGB(171, 171, 171), RGB(255, 255, 255), RGB(119, 119, 119), RGB(171, 171, 171),
     RGB(255, 255, 255)},
    {RGB(243, 243, 243), RGB(119, 119, 119), RGB(240, 240, 240), RGB(119, 119, 119), RGB(119, 119, 119),
     RGB(240, 240, 240)},
    {RGB(243, 243, 243), RGB(119, 119, 119), RGB(255, 255, 255), RGB(119, 119, 119), RGB(171, 171, 171),
     RGB(240, 240, 240)},
    {RGB(243, 243, 243), RGB(243, 243, 243), RGB(243, 243, 243), RGB(171, 171, 171), RGB(243, 243, 243),
     RGB(243, 243, 243)},
};
LPCTSTR const kOffice2013ScrollStates[4] = {_T("Normal"), _T("Pressed"), _T("Selected"), _T("Disabled")};
LPCTSTR const kOffice2013ScrollParts[6] = {_T("Back"),        _T("ScrollBorder"), _T("ScrollBack"),
                                           _T("ScrollArrow"), _T("ThumbBorder"),  _T("ThumbBack")};

void Office2013ScrollFill(CDC* pDC, const CRect& rc, COLORREF clr)
{
    if (clr != kOffice2013ScrollNoColor && !rc.IsRectEmpty())
        pDC->FillSolidRect(rc, clr);
}

void Office2013ScrollFillFramed(CDC* pDC, const CRect& rc, COLORREF clrBorder, COLORREF clrBack)
{
    if (rc.IsRectEmpty())
        return;
    Office2013ScrollFill(pDC, rc, clrBack);
    if (clrBorder != kOffice2013ScrollNoColor)
        pDC->Draw3dRect(rc, clrBorder, clrBorder);
}
}  // namespace

CQVTScrollBarThemeOffice2013::CQVTScrollBarThemeOffice2013() : m_record()
{
    for (int s = 0; s < stateCount; ++s)
        for (int p = 0; p < partCount; ++p)
            m_clrParts[s][p] = kOffice2013ScrollDefaults[s][p];
}

void CQVTScrollBarThemeOffice2013::RefreshMetrics()
{
    CQVTScrollBarPaintManager::RefreshMetrics();
    for (int s = 0; s < stateCount; ++s)
        for (int p = 0; p < partCount; ++p)
        {
            CString strKey(kOffice2013ScrollStates[s]);
            strKey += kOffice2013ScrollParts[p];
            m_clrParts[s][p] =
                GetResourceImagesIniColor(_T("Common.ScrollBar"), strKey, kOffice2013ScrollDefaults[s][p]);
        }
}

CQVTScrollBarThemeOffice2013::COLORRECORD CQVTScrollBarThemeOffice2013::MakeColorRecord(
    CQVTScrollBase* pScrollBar) const
{
    const QVT_SCROLLBAR_PARTS parts = CalcParts(pScrollBar);
    const int nHot = pScrollBar->GetHotPart();
    const int nPressed = pScrollBar->GetPressedPart();
    auto stateOf = [&](int nPart) {
        if (!parts.bEnabled)
            return static_cast<int>(stateDisabled);
        if (nHot == nPart)
            return static_cast<int>(stateSelected);
        if (nPressed == nPart)
            return static_cast<int>(statePressed);
        return static_cast<int>(stateNormal);
    };
    const COLORREF* first = m_clrParts[stateOf(qvtScrollHitUpArrow)];
    const COLORREF* second = m_clrParts[stateOf(qvtScrollHitDownArrow)];
    const COLORREF* thumb = m_clrParts[stateOf(qvtScrollHitThumb)];
    COLORRECORD record;
    record.clrFirstBack = first[partScrollBack];
    record.clrFirstArrow = first[partScrollArrow];
    record.clrFirstBorder = first[partScrollBorder];
    record.clrSecondBack = second[partScrollBack];
    record.clrSecondArrow = second[partScrollArrow];
    record.clrSecondBorder = second[partScrollBorder];
    record.clrTrack = thumb[partBack];
    record.clrThumbBack = thumb[partThumbBack];
    record.clrThumbBorder = thumb[partThumbBorder];
    return record;
}

void CQVTScrollBarThemeOffice2013::DrawScrollBar(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    m_record = MakeColorRecord(pScrollBar);
    CQVTScrollBarPaintManager::DrawScrollBar(pDC, pScrollBar);
}

void CQVTScrollBarThemeOffice2013::DrawBackground(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts)
{
    Office2013ScrollFill(pDC, parts.rcPageBefore, m_record.clrTrack);
    Office2013ScrollFill(pDC, parts.rcPageAfter, m_record.clrTrack);
}

void CQVTScrollBarThemeOffice2013::DrawArrowButtons(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts)
{
    Office2013ScrollFillFramed(pDC, parts.rcArrowFirst, m_record.clrFirstBorder, m_record.clrFirstBack);
    Office2013ScrollFillFramed(pDC, parts.rcArrowSecond, m_record.clrSecondBorder, m_record.clrSecondBack);
}

void CQVTScrollBarThemeOffice2013::DrawArrowGlyphs(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert)
{
    // The glyph font's arrows: left 74, right 75, up 76, down 77.
    const WCHAR chFirst = bVert ? 76 : 74;
    const WCHAR chSecond = bVert ? 77 : 75;
    if (m_record.clrFirstArrow != kOffice2013ScrollNoColor && !parts.rcArrowFirst.IsRectEmpty())
        QVTGlyphFont()->DrawGlyph(pDC, chFirst, parts.rcArrowFirst, m_record.clrFirstArrow);
    if (m_record.clrSecondArrow != kOffice2013ScrollNoColor && !parts.rcArrowSecond.IsRectEmpty())
        QVTGlyphFont()->DrawGlyph(pDC, chSecond, parts.rcArrowSecond, m_record.clrSecondArrow);
}

void CQVTScrollBarThemeOffice2013::DrawThumb(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts)
{
    if (parts.bEnabled)
        Office2013ScrollFillFramed(pDC, parts.rcThumb, m_record.clrThumbBorder, m_record.clrThumbBack);
}

void CQVTScrollBarThemeOffice2013::DrawBackgroundHorz(CDC* pDC, CQVTScrollBase*,
                                                      const QVT_SCROLLBAR_PARTS& parts)
{
    DrawBackground(pDC, parts);
}

void CQVTScrollBarThemeOffice2013::DrawBackgroundVert(CDC* pDC, CQVTScrollBase*,
                                                      const QVT_SCROLLBAR_PARTS& parts)
{
    DrawBackground(pDC, parts);
}

void CQVTScrollBarThemeOffice2013::DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase*,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawArrowButtons(pDC, parts);
}

void CQVTScrollBarThemeOffice2013::DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase*,
                                                        const QVT_SCROLLBAR_PARTS& parts)
{
    DrawArrowButtons(pDC, parts);
}

void CQVTScrollBarThemeOffice2013::DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase*,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    DrawArrowGlyphs(pDC, parts, FALSE);
}

void CQVTScrollBarThemeOffice2013::DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase*,
                                                       const QVT_SCROLLBAR_PARTS& parts)
{
    DrawArrowGlyphs(pDC, parts, TRUE);
}

void CQVTScrollBarThemeOffice2013::DrawThumbHorz(CDC* pDC, CQVTScrollBase*, const QVT_SCROLLBAR_PARTS& parts)
{
    DrawThumb(pDC, parts);
}

void CQVTScrollBarThemeOffice2013::DrawThumbVert(CDC* pDC, CQVTScrollBase*, const QVT_SCROLLBAR_PARTS& parts)
{
    DrawThumb(pDC, parts);
}

void CQVTScrollBarThemeOffice2013::DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar)
{
    if (!pDC || !pScrollBar)
        return;
    Office2013ScrollFill(pDC, CRect(pScrollBar->GetScrollBarPosInfo()->rc),
                         m_clrParts[stateNormal][partBack]);
}
