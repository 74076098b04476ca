// CQVTTabPaintManager: measuring and drawing one item.
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

#include <algorithm>
#include <vector>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/markup/QVTTabMarkup.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

namespace {

const TCHAR kEllipsis[] = _T("...");

int TextWidth(CDC* pDC, const CString& str)
{
    SIZE size = {};
    ::GetTextExtentPoint32W(pDC->GetSafeHdc(), str, str.GetLength(), &size);
    return size.cx;
}

}  // namespace

CString AFX_CDECL CQVTTabPaintManager::MakeMiddleEllipsisText(CDC* pDC, const CString& strText, int nWidth,
                                                              UINT nFormat)
{
    CString strMeasure = strText;
    if (!(nFormat & DT_NOPREFIX))
        CQVTDrawHelpers::StripMnemonics(strMeasure);
    const int nEllipsisWidth = TextWidth(pDC, kEllipsis);
    const int nTextWidth = TextWidth(pDC, strMeasure);
    if (nTextWidth <= nWidth)
        return strText;
    if (nWidth <= nEllipsisWidth)
        return kEllipsis;

    const int nAvailable = nWidth - nEllipsisWidth;
    const int nLength = strMeasure.GetLength();
    auto parts = [&](int n) { return strMeasure.Left(n - n / 2) + strMeasure.Right(n / 2); };
    // The kept count stays within the text whatever the measured widths.
    int n = nTextWidth > 0 ? static_cast<int>(static_cast<LONGLONG>(nLength) * nAvailable / nTextWidth) : 0;
    n = std::min(std::max(n, 0), nLength);
    while (n < nLength && TextWidth(pDC, parts(n)) < nAvailable)
        ++n;
    while (n > 0 && TextWidth(pDC, parts(n)) > nAvailable)
        --n;
    return strMeasure.Left(n - n / 2) + kEllipsis + strMeasure.Right(n / 2);
}

void AFX_CDECL CQVTTabPaintManager::DrawTextMiddleEllipsis(CDC* pDC, const CString& strText, CRect rc,
                                                           UINT nFormat)
{
    if (strText.Find(_T('\\')) >= 0)
    {
        pDC->DrawText(strText, rc, nFormat | DT_PATH_ELLIPSIS);
        return;
    }
    const CString strDraw = MakeMiddleEllipsisText(pDC, strText, rc.Width(), nFormat);
    // Shortened parts come from the text as measured, prefixes already gone.
    const UINT nDrawFormat = strDraw == strText ? nFormat : nFormat | DT_NOPREFIX;
    pDC->DrawText(strDraw, rc, nDrawFormat);
}

// What measuring and drawing one item as a single button share.
struct CQVTTabPaintManager::CSingleButtonItem
{
    CQVTTabManager* pTabManager;
    CQVTTabManagerItem* pItem;
    CQVTFont* pFont;
    CSize szIcon;
    BOOL bImage;
    BOOL bVertical;
    BOOL bCompressedOther;  // a compressed layout's item other than the selected one
    int nIconLength;        // along the strip
    std::vector<CQVTTabManagerNavigateButton*> arrButtons;  // shown at the far end
    int nButtonsLength;                                     // along the strip, with their gap
};

int CQVTTabPaintManager::DrawSingleButtonIconAndText(CDC* pDC, CQVTTabManagerItem* pItem, CRect rcItem,
                                                     BOOL bDraw)
{
    CQVTTabManager* pTabManager = pItem ? pItem->GetTabManager() : nullptr;
    if (!pTabManager || !pDC || !m_pAppearanceSet)
        return 0;
    CSingleButtonItem item;
    item.pTabManager = pTabManager;
    item.pItem = pItem;
    item.bVertical = IsVerticalText(pTabManager);
    item.pFont = GetItemFont(pTabManager, pItem);
    CQVTFontDC fontDC(pDC, item.pFont);
    item.szIcon = m_szIcon;
    item.bImage = pTabManager->DrawIcon(pDC, CPoint(0, 0), pItem, FALSE, item.szIcon);
    item.nIconLength = item.bVertical ? item.szIcon.cy : item.szIcon.cx;
    item.bCompressedOther = m_nLayout == qvtTabLayoutCompressed && !pItem->IsSelected();
    CollectSingleButtonButtons(item);
    if (!bDraw)
        return MeasureSingleButton(pDC, item);

    CRect rc = rcItem;
    DrawSingleButtonButtons(pDC, item, rcItem, rc);
    if (m_pColorSet)
        m_pColorSet->SetTextColor(pDC, pItem);
    const int nExcess = pItem->GetButtonLength() - pItem->GetContentLength();
    if (nExcess > 0)
    {
        if (item.bVertical)
            rc.DeflateRect(0, nExcess / 2);
        else
            rc.DeflateRect(nExcess / 2, 0);
    }
    if (item.bVertical)
        DrawSingleButtonVertical(pDC, item, rcItem, rc);
    else
        DrawSingleButtonHorizontal(pDC, item, rc);
    if (pItem->IsSelected() && pTabManager->IsFocused())
        DrawFocusRect(pDC, pItem, rcItem);
    return 0;
}

// The item's own buttons that show, at its far end.
void CQVTTabPaintManager::CollectSingleButtonButtons(CSingleButtonItem& item)
{
    item.nButtonsLength = 0;
    CQVTTabManagerNavigateButtons& buttons = item.pItem->GetNavigateButtons();
    for (int i = 0; i < buttons.GetSize(); ++i)
    {
        CQVTTabManagerNavigateButton* pButton = buttons.GetAt(i);
        if (item.bCompressedOther || !item.pTabManager->IsNavigateButtonVisible(pButton))
            continue;
        item.arrButtons.push_back(pButton);
        item.nButtonsLength += item.bVertical ? pButton->GetSize().cy : pButton->GetSize().cx;
    }
    if (item.nButtonsLength != 0)
        item.nButtonsLength += 3;
}

// The item's length along the strip, within the minimum and maximum widths.
int CQVTTabPaintManager::MeasureSingleButton(CDC* pDC, const CSingleButtonItem& item)
{
    CQVTTabManager* pTabManager = item.pTabManager;
    auto measure = [&](CQVTTabManagerItem* p) {
        CSize size;
        if (p->GetMarkupUIElement() && QVTTabMeasureMarkupCaption(p->GetMarkupUIElement(), *item.pFont, size))
            return size.cx;
        CRect rcText(0, 0, 0, 0);
        m_pAppearanceSet->DrawText(pDC, pTabManager, p->GetCaption(), rcText,
                                   DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE |
                                       (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0));
        return static_cast<int>(rcText.Width());
    };
    int nLength;
    if (m_nLayout == qvtTabLayoutFixed)
        nLength = m_nFixedTabWidth;
    else if (item.bCompressedOther)
        nLength = item.nIconLength + QVTDpiScaler()->ScaleX(8);
    else
    {
        int nText = 0;
        if (m_nLayout == qvtTabLayoutCompressed)
        {
            for (int i = 0; i < pTabManager->GetItemCount(); ++i)
                nText = std::max(nText, measure(pTabManager->GetItem(i)));
        }
        else
            nText = measure(item.pItem);
        nLength = m_rcButtonTextPadding.left + m_rcButtonTextPadding.right + nText +
                  (item.bImage ? item.nIconLength : 0) + item.nButtonsLength;
    }
    nLength += m_rcButtonMargin.left + m_rcButtonMargin.right;
    if (m_nMinTabWidth >= 1 && nLength < m_nMinTabWidth)
        nLength = m_nMinTabWidth;
    if (m_nMaxTabWidth >= 1 && nLength > m_nMaxTabWidth)
        nLength = m_nMaxTabWidth;
    return nLength;
}

// The buttons from the far end inwards, centred across the item's rectangle
// less the button margins (turned at the bottom and on side strips); rc
// loses their length.
void CQVTTabPaintManager::DrawSingleButtonButtons(CDC* pDC, const CSingleButtonItem& item,
                                                  const CRect& rcItem, CRect& rc)
{
    if (item.arrButtons.empty())
        return;
    const CRect rcMargin = RotateMarginsByPosition(m_rcButtonMargin, m_nPosition);
    if (m_pColorSet)
        m_pColorSet->SetTextColor(pDC, item.pItem);
    if (item.bVertical)
        rc.bottom -= 3;
    else
        rc.right -= 3;
    for (auto it = item.arrButtons.rbegin(); it != item.arrButtons.rend(); ++it)
    {
        CQVTTabManagerNavigateButton* pButton = *it;
        const CSize size = pButton->GetSize();
        CRect rcButton;
        if (item.bVertical)
        {
            const int nAcross = (rcItem.left + rcMargin.left + rcItem.right - rcMargin.right) / 2;
            rcButton.SetRect(nAcross - size.cx / 2, rc.bottom - size.cy, nAcross - size.cx / 2 + size.cx,
                             rc.bottom);
            rc.bottom -= size.cy;
        }
        else
        {
            const int nAcross = (rcItem.top + rcMargin.top + rcItem.bottom - rcMargin.bottom) / 2;
            rcButton.SetRect(rc.right - size.cx, nAcross - size.cy / 2, rc.right,
                             nAcross - size.cy / 2 + size.cy);
            rc.right -= size.cx;
        }
        pButton->SetRect(rcButton);
        pButton->Draw(pDC);
    }
}

// Icon, then the caption (markup, or text with the strip's ellipsis rule).
void CQVTTabPaintManager::DrawSingleButtonHorizontal(CDC* pDC, const CSingleButtonItem& item, CRect rc)
{
    CQVTTabManager* pTabManager = item.pTabManager;
    const CRect rcMargin = RotateMarginsByPosition(m_rcButtonMargin, m_nPosition);
    rc.left += m_rcButtonTextPadding.left + m_rcButtonMargin.left;
    rc.top += rcMargin.top;
    rc.bottom -= rcMargin.bottom;
    if (item.bImage)
    {
        CSize szIcon = item.szIcon;
        const CPoint pt(rc.left - 1, rc.CenterPoint().y - szIcon.cy / 2);
        if (rc.Width() > szIcon.cx)
            pTabManager->DrawIcon(pDC, pt, item.pItem, TRUE, szIcon);
        rc.left += szIcon.cx + 2;
    }
    if (item.bCompressedOther || rc.right <= rc.left)
        return;
    rc.right -= m_rcButtonTextPadding.right + m_rcButtonMargin.right;
    if (item.bImage)
        rc.right += 2;
    CQVTMarkupUIElement* pMarkup = item.pItem->GetMarkupUIElement();
    if (pMarkup && QVTTabRenderMarkupCaption(pTabManager->GetMarkupContext(), pMarkup, pDC, *item.pFont, rc,
                                             (m_nDrawTextFormat & DT_VCENTER) != 0))
        return;
    const CString strCaption = item.pItem->GetCaption();
    if (m_bDrawTextPathEllipsis)
    {
        DrawTextMiddleEllipsis(pDC, strCaption, rc,
                               DT_SINGLELINE | (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0) | m_nDrawTextFormat);
        return;
    }
    CString strText = strCaption;
    if (m_bDrawTextHidePrefix)
        CQVTDrawHelpers::StripMnemonics(strText);
    const UINT nFormat = DT_SINGLELINE | (m_bDrawTextNoPrefix || m_bDrawTextHidePrefix ? DT_NOPREFIX : 0) |
                         (m_bDrawTextEndEllipsis ? DT_END_ELLIPSIS : 0) | m_nDrawTextFormat;
    m_pAppearanceSet->DrawText(pDC, pTabManager, strText, rc, nFormat);
}

// Icon at the start, then the caption turned along the strip, downward or
// upward.
void CQVTTabPaintManager::DrawSingleButtonVertical(CDC* pDC, const CSingleButtonItem& item,
                                                   const CRect& rcItem, CRect rc)
{
    const CRect rcMargin = RotateMarginsByPosition(m_rcButtonMargin, m_nPosition);
    rc.top += m_rcButtonTextPadding.left + m_rcButtonMargin.left;
    rc.left += rcMargin.left;
    rc.right -= rcMargin.right;
    const BOOL bDownward = m_bVerticalTextTopToBottom;
    if (item.bImage)
    {
        CSize szIcon = item.szIcon;
        const int x = rc.CenterPoint().x - szIcon.cx / 2;
        const CPoint pt(x, bDownward ? rc.top - 1 : rc.bottom - szIcon.cy);
        if (rc.Height() > szIcon.cy)
            item.pTabManager->DrawIcon(pDC, pt, item.pItem, TRUE, szIcon);
        if (bDownward)
            rc.top += szIcon.cy + 2;
        else
            rc.bottom -= szIcon.cy + 2;
    }
    if (item.bCompressedOther || rcItem.bottom <= rc.top + 8)
        return;
    CString strText = item.pItem->GetCaption();
    if (!m_bDrawTextNoPrefix)
        CQVTDrawHelpers::StripMnemonics(strText);
    SIZE szText = {};
    ::GetTextExtentPoint32W(pDC->GetSafeHdc(), strText, strText.GetLength(), &szText);
    const int nFarEnd =
        rc.bottom - std::max(static_cast<int>(m_rcButtonTextPadding.right) - 4, 0) - m_rcButtonMargin.right;
    const int nLength = std::max(nFarEnd - static_cast<int>(rc.top), 0);
    // The rotated line is centred across the item; downward text hangs to
    // the left of its origin, upward text to the right.
    const int nCentre = (rcItem.left + rcItem.right) / 2 + (m_nPosition == qvtTabPositionRight ? 1 : 0);
    CPoint ptOrigin(nCentre + szText.cy / 2, rc.top);
    if (!bDownward)
    {
        ptOrigin.x -= szText.cy;
        ptOrigin.y += std::min(nLength, static_cast<int>(szText.cx));
    }
    CRect rcText(ptOrigin.x, ptOrigin.y, ptOrigin.x + nLength, ptOrigin.y + szText.cy);
    const UINT nFormat = DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE;
    if (m_bDrawTextPathEllipsis)
        DrawTextMiddleEllipsis(pDC, strText, rcText, nFormat);
    else
        m_pAppearanceSet->DrawText(pDC, item.pTabManager, strText, rcText,
                                   nFormat | (m_bDrawTextEndEllipsis ? DT_END_ELLIPSIS : 0));
}
