// Where a popup bar opens and how it lays its controls out: the direction
// from its opening control, the fit into the monitor's work area (flip,
// upwards, scroll, columns), the rarely used commands behind the expand
// button, the scrolled layout, the tear-off and resize grippers and their
// drag loops.
#include "toolkit/commandbars/bars/QVTPopupBar.h"

#include <afxext.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"

namespace {

const WCHAR kGlyphScrollUp = 76;
const WCHAR kGlyphScrollDown = 77;

int ScrollButtonHeight()
{
    return QVTDpiScaler()->ScaleY(16);
}

BOOL RectsMeet(const CRect& a, const CRect& b)
{
    CRect rc;
    return rc.IntersectRect(a, b);
}

}  // namespace

// Direction.

void CQVTPopupBar::UpdateLocation()
{
    if (!m_pControlPopup)
        return;
    CQVTCommandBar* pParent = m_pControlPopup->GetParent();
    if (!pParent || !pParent->GetSafeHwnd())
        return;
    m_dwDirection = 0;
    const BOOL bReversed = (m_pControlPopup->GetFlags() & qvtFlagLeftPopup) || pParent->IsLayoutRTL();
    CQVTPopupBar* pParentPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pParent);
    if ((pParent->GetFlags() & qvtBarFlagAdaptiveLayout) && pParent->IsPopupBar())
    {
        m_dwDirection = directionBelow | (bReversed ? directionReversed : 0);
    }
    else
    {
        const int nPosition = pParent->GetPosition();
        if (nPosition == qvtBarTop || nPosition == qvtBarBottom ||
            (nPosition == qvtBarFloating && pParent->GetType() != qvtBarTypePopup))
            m_dwDirection |= directionBelow;
        if (nPosition == qvtBarRight || bReversed)
            m_dwDirection |= directionReversed;
        if (pParentPopup && pParentPopup->GetType() == qvtBarTypePopup &&
            (pParentPopup->m_dwDirection & directionReversed))
            m_dwDirection |= directionReversed;
    }
    m_rcExclude = m_pControlPopup->GetRect();
    if (!pParent->IsPopupBar() && m_pControlPopup->GetType() == qvtControlComboBox)
        m_dwDirection |= directionBelow;
    else
        AdjustExcludeRect(m_rcExclude, TRUE);
    pParent->ClientToScreen(&m_rcExclude);
    m_ptPopup = (m_dwDirection & directionBelow) ? CPoint(m_rcExclude.left, m_rcExclude.bottom)
                                                 : CPoint(m_rcExclude.right, m_rcExclude.top);
}

// Placement.

void CQVTPopupBar::GetMonitorAreas(const CRect& rcExclude, CPoint pt, CRect& rcWork, CRect& rcScreen) const
{
    CQVTMultiMonitor* pMonitors = QVTMultiMonitor();
    if (rcExclude.IsRectNull())
    {
        rcWork = pMonitors->GetWorkAreaFromPoint(pt);
        rcScreen = pMonitors->GetScreenAreaFromPoint(pt);
    }
    else
    {
        rcWork = pMonitors->GetWorkAreaFromRect(&rcExclude);
        rcScreen = pMonitors->GetScreenAreaFromRect(&rcExclude);
    }
    // The primary monitor's work area is the one the system keeps
    // (SPI_SETWORKAREA); Wine's monitor information does not follow it.
    if (rcScreen.left == 0 && rcScreen.top == 0)
    {
        CRect rcSystem;
        if (::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcSystem, 0) && !rcSystem.IsRectEmpty())
            rcWork = rcSystem;
    }
}

// Where a popup goes: what CalcPopupRect's steps read and move.
struct CQVTPopupBar::CPopupPlacement
{
    CPoint pt;        // the anchor
    CRect rcExclude;  // kept uncovered, in screen coordinates; null for none
    CRect rcWork;     // the area the popup must fit
    CSize sz;         // the popup's size, cut when it scrolls
    int x = 0;        // its top-left corner
    int y = 0;
    BOOL bBelow = FALSE;       // opens below the excluded rectangle
    BOOL bReversed = FALSE;    // opens leftwards
    BOOL bScroll = FALSE;      // cut to fit: its items scroll
    BOOL bColumnMode = FALSE;  // too tall a popup wraps into columns
};

CRect CQVTPopupBar::CalcPopupRect(CPoint pt, CSize sz)
{
    CPopupPlacement place;
    place.pt = pt;
    place.rcExclude = m_rcExclude;
    CRect rcScreen;
    GetMonitorAreas(place.rcExclude, pt, place.rcWork, rcScreen);
    if (place.rcExclude.IsRectNull())
    {
        if (rcScreen.PtInRect(pt) && !place.rcWork.PtInRect(pt))
            place.rcWork = rcScreen;
    }
    else if (!RectsMeet(place.rcWork, place.rcExclude) && RectsMeet(rcScreen, place.rcExclude))
        place.rcWork = rcScreen;
    place.rcWork.bottom -= QVTDpiScaler()->ScaleY(5);

    CQVTCommandBars* pCommandBars = GetCommandBars();
    place.bColumnMode =
        (pCommandBars && pCommandBars->GetCommandBarsOptions()->bWrapLargePopups) || IsMultiColumn();
    place.bBelow = (m_dwDirection & directionBelow) != 0;
    place.bReversed = (m_dwDirection & directionReversed) != 0;
    place.sz = sz;
    if (m_nMaxHeight > 0 && place.sz.cy > m_nMaxHeight)
    {
        place.sz.cy = m_nMaxHeight;
        place.bScroll = TRUE;
    }
    place.x = pt.x;
    place.y = pt.y;
    PlacePopupVertically(place);
    PlacePopupHorizontally(place);
    m_dwDirection = (m_dwDirection & ~static_cast<DWORD>(directionReversed | directionBelow)) |
                    (place.bReversed ? directionReversed : 0) | (place.bBelow ? directionBelow : 0);
    SetPopupScrolling(place.bScroll, place.sz);
    return CRect(CPoint(place.x, place.y), place.sz);
}

void CQVTPopupBar::PlacePopupVertically(CPopupPlacement& place)
{
    const CRect& rcWork = place.rcWork;
    const BOOL bAtPoint = place.rcExclude.Height() == 0;
    if (bAtPoint && (m_dwDirection & directionBottomAlign))
        place.y -= place.sz.cy;
    if (bAtPoint && place.pt.y > rcWork.bottom)
    {
        place.y = place.pt.y - place.sz.cy;
        return;
    }
    if (place.y + place.sz.cy <= rcWork.bottom)
        return;
    if (bAtPoint)
    {
        if (place.pt.y < rcWork.top + rcWork.Height() / 2)
            place.y = rcWork.bottom - place.sz.cy;
        else
            place.y = place.pt.y - place.sz.cy;
        place.y = std::max(place.y, static_cast<int>(rcWork.top));
    }
    else if (place.bBelow)
        PlaceBelowPopupElsewhere(place);
    else
        place.y = std::max(static_cast<int>(rcWork.bottom) - static_cast<int>(place.sz.cy),
                           static_cast<int>(rcWork.top));
    if (place.y + place.sz.cy > rcWork.bottom && place.y == rcWork.top)
        FitPopupToWorkHeight(place);
}

// No room below the excluded rectangle: above it, else beside its control
// in column mode, else scrolling on the larger side.
void CQVTPopupBar::PlaceBelowPopupElsewhere(CPopupPlacement& place)
{
    const CRect& rcWork = place.rcWork;
    if (place.rcExclude.top - place.sz.cy >= rcWork.top)
    {
        place.y = place.rcExclude.top - place.sz.cy;
        return;
    }
    if (place.bColumnMode)
    {
        place.bBelow = FALSE;
        if (m_pControlPopup && m_pControlPopup->GetParent())
        {
            place.rcExclude = m_pControlPopup->GetRect();
            AdjustExcludeRect(place.rcExclude, TRUE);
            m_pControlPopup->GetParent()->ClientToScreen(&place.rcExclude);
        }
        if (!place.bReversed)
            place.x = place.rcExclude.right;
        place.y = std::max(static_cast<int>(rcWork.bottom) - static_cast<int>(place.sz.cy),
                           static_cast<int>(rcWork.top));
        return;
    }
    place.bScroll = TRUE;
    if (place.rcExclude.CenterPoint().y <= rcWork.top + rcWork.Height() / 2)
    {
        place.y = place.rcExclude.bottom;
        place.sz.cy = rcWork.bottom - place.rcExclude.bottom;
    }
    else
    {
        place.y = rcWork.top;
        place.sz.cy = place.rcExclude.top - rcWork.top;
    }
}

// Taller than the work area from its top: cut and scrolled, or a menu
// wrapped into further columns at the work area's height.
void CQVTPopupBar::FitPopupToWorkHeight(CPopupPlacement& place)
{
    if (!place.bColumnMode)
    {
        place.bScroll = TRUE;
        place.sz.cy = place.rcWork.bottom - place.y;
    }
    else if (m_barType == qvtBarTypePopup && !IsMultiColumn())
    {
        place.sz = CalcDynamicLayout(place.rcWork.Height(), 0);
        if (place.sz.cy > place.rcWork.Height())
        {
            place.bScroll = TRUE;
            place.sz.cy = place.rcWork.Height();
        }
    }
}

void CQVTPopupBar::PlacePopupHorizontally(CPopupPlacement& place)
{
    const CRect& rcWork = place.rcWork;
    const CRect& rcExclude = place.rcExclude;
    const CSize sz = place.sz;
    const BOOL bHasWidth = rcExclude.Width() > 0;
    if (place.bBelow && place.bReversed)
        place.x = (bHasWidth ? rcExclude.right : place.pt.x) - sz.cx;
    else if (place.bReversed)
        place.x = (bHasWidth ? rcExclude.left : place.pt.x) - sz.cx;
    BOOL bFlipped = FALSE;
    if (place.x + sz.cx > rcWork.right)
    {
        if (bHasWidth)
            place.x = place.bBelow ? rcWork.right - sz.cx : rcExclude.left - sz.cx;
        else
            place.x = place.pt.x - sz.cx >= rcWork.left ? place.pt.x - sz.cx : rcWork.right - sz.cx;
        place.bReversed = TRUE;
        bFlipped = TRUE;
    }
    else if (place.x < rcWork.left)
    {
        if (bHasWidth)
        {
            place.x = place.bBelow ? rcWork.left : rcExclude.right;
            place.bReversed = FALSE;
        }
        else if (place.bReversed)
        {
            place.x = rcWork.left;
            place.bReversed = FALSE;
        }
    }
    if (bFlipped && place.x < rcWork.left)
        place.x = rcWork.left;
}

void CQVTPopupBar::SetPopupScrolling(BOOL bScroll, CSize sz)
{
    if (bScroll && m_barType == qvtBarTypePopup && m_barPosition == qvtBarPopup)
    {
        if (!m_bScrolling)
        {
            m_nFirstVisible = 0;
            m_nEndVisible = 0;
        }
        m_bScrolling = TRUE;
        LayoutScrolled(sz, FALSE);
    }
    else
    {
        m_bScrolling = FALSE;
        m_rcScrollUp.SetRectEmpty();
        m_rcScrollDown.SetRectEmpty();
    }
}

// Layout.

BOOL CQVTPopupBar::IsMultiColumn() const
{
    return m_bMultiColumn;
}

CQVTControl* CQVTPopupBar::GetResizableControl() const
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() == this && pControl->GetType() == qvtControlGallery &&
            pControl->IsCustomizeResizeAllow())
            return pControl;
    }
    return nullptr;
}

int CQVTPopupBar::GetResizeModeOf(CQVTControl* pResizable)
{
    // A gallery whose items all span its width (a list) lays no more items
    // in a row when widened: its gripper resizes the height only.
    const CQVTControlGallery* pGallery = DYNAMIC_DOWNCAST(CQVTControlGallery, pResizable);
    if (!pGallery)
        return resizeBoth;
    BOOL bAnyItem = FALSE;
    for (int i = 0; i < pGallery->GetItemCount(); ++i)
    {
        CQVTControlGalleryItem* pItem = pGallery->GetItem(i);
        if (!pItem || pItem->IsLabel())
            continue;
        if (pItem->GetSize().cx != 0)
            return resizeBoth;
        bAnyItem = TRUE;
    }
    return bAnyItem ? resizeHeight : resizeBoth;
}

int CQVTPopupBar::GetResizeMode() const
{
    return m_nResizeMode;
}

void CQVTPopupBar::UpdateExpandingState()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CQVTCommandBarsOptions* pOptions = pCommandBars ? pCommandBars->GetCommandBarsOptions() : nullptr;
    if (!pOptions || pOptions->bAlwaysShowFullMenus)
    {
        for (int i = 0; i < GetControlCount(); ++i)
            if (GetControl(i)->GetParent() == this)
                GetControl(i)->SetUsageMark(FALSE);
        m_bExpanded = TRUE;
        m_bShowExpandButton = FALSE;
        return;
    }
    m_bShowExpandButton = FALSE;
    BOOL bShownCommand = FALSE;
    BOOL bHiddenCommand = FALSE;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() != this)
            continue;
        const BOOL bVisible = pControl->IsVisible(qvtHidePopup | qvtHideExpand);
        if (!pCommandBars->IsHiddenControl(pControl))
        {
            pControl->SetUsageMark(FALSE);
            if (bVisible)
                bShownCommand = TRUE;
        }
        else
        {
            pControl->SetUsageMark(bVisible);
            if (bVisible)
                bHiddenCommand = TRUE;
        }
    }
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() == this && (pControl->GetHideFlags() & qvtHideExpand))
            pControl->SetHideFlags(pControl->GetHideFlags() & ~qvtHideExpand);
    }
    // All rarely used: all show. Nothing to hide: no expand button.
    if (!bShownCommand || !bHiddenCommand || m_bExpanded)
        return;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() == this && pControl->GetUsageMark())
            pControl->SetHideFlags(pControl->GetHideFlags() | qvtHideExpand);
    }
    m_bShowExpandButton = TRUE;
    if (!m_pExpandButton)
    {
        m_pExpandButton = new CControlExpandButton();
        m_pExpandButton->SetParent(this);
    }
}

CRect CQVTPopupBar::GetPopupBorders()
{
    return GetMargins();
}

CSize CQVTPopupBar::LayoutPopupMenu(int nHeightLimit)
{
    m_bInLayout = TRUE;
    CWnd* pDCWnd = GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow();
    CClientDC dc(pDCWnd);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTFontDC font(&dc, pPaintManager->GetCommandBarFont(this));
    CQVTDpiScaler* pDpi = QVTDpiScaler();

    CQVTControl* pResizable = GetResizableControl();
    m_nResizeMode = pResizable ? GetResizeModeOf(pResizable) : resizeNone;
    if (nHeightLimit == 0)
    {
        for (int i = GetControlCount() - 1; i >= 0; --i)
            if (GetControl(i)->GetParent() == this)
                GetControl(i)->OnCalcDynamicSize(0);
    }
    UpdateExpandingState();
    UpdateShortcuts();

    const CRect rcMargins = GetPopupBorders();
    CRect rcBorders = rcMargins;
    int nTearOff = 0;
    if (m_bTearOffPopup)
        nTearOff = pPaintManager->DrawPopupBarStrip(&dc, CRect(0, 0, 0, 0), FALSE, FALSE).cy;
    rcBorders.top += nTearOff;
    int nExpand = 0;
    if (m_bShowExpandButton && m_pExpandButton)
        nExpand = pDpi->ScaleY(m_pExpandButton->GetSize(&dc).cy);
    const int nGripper =
        m_nResizeMode == resizeNone ? 0 : pDpi->ScaleY(m_nResizeMode == resizeHeight ? 8 : 11);
    rcBorders.bottom += nExpand + nGripper;

    CSize sz(0, 0);
    const int nFixedWidth = m_nMRUWidth > 0 && m_nMRUWidth < 30000 ? m_nMRUWidth : 0;
    m_pControls->CalcPopupSize(sz, &dc, nHeightLimit, nFixedWidth, rcBorders);
    m_bMultiColumn = FALSE;
    for (int i = 0; i < GetControlCount(); ++i)
        if (GetControl(i)->GetParent() == this && GetControl(i)->IsVisible() && GetControl(i)->GetWrap() &&
            i > 0)
            m_bMultiColumn = TRUE;

    m_rcTearOffGripper =
        nTearOff ? CRect(rcMargins.left, rcMargins.top, sz.cx - rcMargins.right, rcMargins.top + nTearOff)
                 : CRect(0, 0, 0, 0);
    PlaceExpandButton(sz);
    m_rcResizeGripper = nGripper ? CRect(0, sz.cy - nGripper, sz.cx, sz.cy) : CRect(0, 0, 0, 0);
    m_bInLayout = FALSE;
    return sz;
}

void CQVTPopupBar::PlaceExpandButton(CSize szBar)
{
    if (!m_pExpandButton)
        return;
    if (!m_bShowExpandButton)
    {
        m_pExpandButton->SetRect(CRect(0, 0, 0, 0));
        return;
    }
    const CRect rcMargins = GetPopupBorders();
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    const int nHeight = QVTDpiScaler()->ScaleY(m_pExpandButton->GetSize(&dc).cy);
    const int nGripper =
        m_nResizeMode == resizeNone ? 0 : QVTDpiScaler()->ScaleY(m_nResizeMode == resizeHeight ? 8 : 11);
    const int nBottom = szBar.cy - rcMargins.bottom - nGripper;
    m_pExpandButton->SetRect(CRect(rcMargins.left, nBottom - nHeight, szBar.cx - rcMargins.right, nBottom));
}

CSize CQVTPopupBar::CalcDynamicLayout(int nLength, DWORD)
{
    return LayoutPopupMenu(nLength);
}

CSize CQVTPopupToolBar::CalcDynamicLayout(int, DWORD)
{
    m_bInLayout = TRUE;
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTFontDC font(&dc, pPaintManager->GetCommandBarFont(this));
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rcBorders(pDpi->ScaleX(m_rcBorders.left), pDpi->ScaleY(m_rcBorders.top),
                    pDpi->ScaleX(m_rcBorders.right), pDpi->ScaleY(m_rcBorders.bottom));
    int nTearOff = 0;
    if (m_bTearOffPopup)
        nTearOff = pPaintManager->DrawPopupBarStrip(&dc, CRect(0, 0, 0, 0), FALSE, FALSE).cy;
    rcBorders.top += nTearOff;
    const CSize sz = m_pControls->CalcDynamicSize(&dc, m_nMRUWidth, LM_HORZ | LM_COMMIT | qvtLayoutWrapGroups,
                                                  rcBorders, 0);
    m_rcTearOffGripper =
        nTearOff ? CRect(rcBorders.left, rcBorders.top - nTearOff, sz.cx - rcBorders.right, rcBorders.top)
                 : CRect(0, 0, 0, 0);
    m_bShowExpandButton = FALSE;
    m_nResizeMode = resizeNone;
    m_bInLayout = FALSE;
    return sz;
}

// Scrolling.

void CQVTPopupBar::LayoutScrolled(CSize szBar, BOOL bFromEnd)
{
    CClientDC dc(GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow());
    const CRect rcMargins = GetPopupBorders();
    const int nScroll = ScrollButtonHeight();
    const int nCount = GetControlCount();
    int nTop = rcMargins.top + m_rcTearOffGripper.Height();
    int nBottom = szBar.cy - rcMargins.bottom;
    if (m_bShowExpandButton && m_pExpandButton)
        nBottom -= QVTDpiScaler()->ScaleY(m_pExpandButton->GetSize(&dc).cy);
    nBottom -= m_rcResizeGripper.Height();
    const int nLeft = rcMargins.left;
    const int nRight = szBar.cx - rcMargins.right;

    std::vector<int> heights(static_cast<size_t>(nCount), 0);
    std::vector<int> separators(static_cast<size_t>(nCount), 0);
    std::vector<BOOL> shown(static_cast<size_t>(nCount), FALSE);
    int nLastShown = -1;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() != this || !pControl->IsVisible(qvtHidePopup))
            continue;
        shown[static_cast<size_t>(i)] = TRUE;
        heights[static_cast<size_t>(i)] = pControl->GetRect().Height();
        if (pControl->GetBeginGroup())
            separators[static_cast<size_t>(i)] =
                GetPaintManager()->DrawCommandBarSeparator(&dc, this, pControl, FALSE).cy;
        nLastShown = i;
    }
    auto moreAfter = [&](int nIndex) {
        for (int i = nIndex + 1; i < nCount; ++i)
            if (shown[static_cast<size_t>(i)])
                return TRUE;
        return FALSE;
    };
    auto moreBefore = [&](int nIndex) {
        for (int i = nIndex - 1; i >= 0; --i)
            if (shown[static_cast<size_t>(i)])
                return TRUE;
        return FALSE;
    };

    int nFirst = std::max(0, std::min(m_nFirstVisible, nCount));
    int nEnd = nFirst;
    if (bFromEnd)
    {
        nEnd = std::max(0, std::min(m_nEndVisible, nCount));
        const int nLimitTop = nTop;
        int y = nBottom - (moreAfter(nEnd - 1) ? nScroll : 0);
        nFirst = nEnd;
        for (int i = nEnd - 1; i >= 0; --i)
        {
            if (!shown[static_cast<size_t>(i)])
                continue;
            const int h = heights[static_cast<size_t>(i)];
            const int nTopLimit = nLimitTop + (moreBefore(i) ? nScroll : 0);
            if (nFirst != nEnd && y - h < nTopLimit)
                break;
            y -= h;
            nFirst = i;
            if (moreBefore(i))
                y -= separators[static_cast<size_t>(i)];
        }
    }
    else
    {
        int y = nTop + (moreBefore(nFirst) ? nScroll : 0);
        BOOL bPlaced = FALSE;
        for (int i = nFirst; i < nCount; ++i)
        {
            if (!shown[static_cast<size_t>(i)])
                continue;
            const int nSeparator = bPlaced ? separators[static_cast<size_t>(i)] : 0;
            const int h = heights[static_cast<size_t>(i)];
            const int nLimit = nBottom - (i < nLastShown ? nScroll : 0);
            if (bPlaced && y + nSeparator + h > nLimit)
                break;
            y += nSeparator + h;
            nEnd = i + 1;
            bPlaced = TRUE;
        }
    }
    m_nFirstVisible = nFirst;
    m_nEndVisible = nEnd;

    const BOOL bUp = moreBefore(nFirst);
    const BOOL bDown = moreAfter(nEnd - 1);
    int y = nTop + (bUp ? nScroll : 0);
    const int nLimit = nBottom - (bDown ? nScroll : 0);
    BOOL bPlaced = FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (!shown[static_cast<size_t>(i)])
            continue;
        if (i < nFirst || i >= nEnd)
        {
            pControl->SetHideFlags(pControl->GetHideFlags() | qvtHidePopup);
            continue;
        }
        pControl->SetHideFlags(pControl->GetHideFlags() & ~qvtHidePopup);
        if (bPlaced)
            y += separators[static_cast<size_t>(i)];
        const int nHeight = std::min(heights[static_cast<size_t>(i)], std::max(0, nLimit - y));
        pControl->SetRect(CRect(nLeft, y, nRight, y + nHeight));
        pControl->SetRowRect(CRect(nLeft, nTop, nRight, nLimit));
        y += heights[static_cast<size_t>(i)];
        bPlaced = TRUE;
    }
    m_rcScrollUp = bUp ? CRect(nLeft, nTop, nRight, nTop + nScroll) : CRect(0, 0, 0, 0);
    m_rcScrollDown = bDown ? CRect(nLeft, nBottom - nScroll, nRight, nBottom) : CRect(0, 0, 0, 0);
    CRect rcClient(0, 0, szBar.cx, szBar.cy);
    PlaceExpandButton(rcClient.Size());
}

void CQVTPopupBar::ScrollBy(int nDirection)
{
    if (!m_bScrolling || !GetSafeHwnd())
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nCount = GetControlCount();
    if (nDirection > 0)
    {
        int nEnd = m_nEndVisible;
        while (nEnd < nCount && !GetControl(nEnd)->IsVisible(qvtHidePopup))
            ++nEnd;
        if (nEnd >= nCount)
        {
            KillTimer(TIMER_SCROLLDOWN);
            m_bScrollDownTimer = FALSE;
            return;
        }
        m_nEndVisible = nEnd + 1;
        LayoutScrolled(rcClient.Size(), TRUE);
    }
    else
    {
        int nFirst = m_nFirstVisible - 1;
        while (nFirst >= 0 && !GetControl(nFirst)->IsVisible(qvtHidePopup))
            --nFirst;
        if (nFirst < 0)
        {
            KillTimer(TIMER_SCROLLUP);
            m_bScrollUpTimer = FALSE;
            return;
        }
        m_nFirstVisible = nFirst;
        LayoutScrolled(rcClient.Size(), FALSE);
    }
    Redraw(nullptr, FALSE);
}

void CQVTPopupBar::EnsureVisibleByScroll(int nIndex)
{
    if (!GetSafeHwnd() || nIndex < 0 || nIndex >= GetControlCount())
        return;
    if (nIndex >= m_nFirstVisible && nIndex < m_nEndVisible)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (nIndex < m_nFirstVisible)
    {
        m_nFirstVisible = nIndex;
        LayoutScrolled(rcClient.Size(), FALSE);
    }
    else
    {
        m_nEndVisible = nIndex + 1;
        LayoutScrolled(rcClient.Size(), TRUE);
    }
    Redraw(nullptr, FALSE);
}

// Drawing of the popup's own parts.

void CQVTPopupBar::DrawCommandBar(CDC* pDC, CRect rcClipBox)
{
    CQVTCommandBar::DrawCommandBar(pDC, rcClipBox);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    const COLORREF clrArrow = ::GetSysColor(COLOR_GRAYTEXT);
    const int nInsetX = QVTDpiScaler()->ScaleX(2);
    const int nInsetY = QVTDpiScaler()->ScaleY(2);
    if (!m_rcScrollUp.IsRectEmpty())
    {
        CRect rc = m_rcScrollUp;
        rc.DeflateRect(nInsetX, nInsetY);
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphScrollUp, rc, clrArrow);
    }
    if (!m_rcScrollDown.IsRectEmpty())
    {
        CRect rc = m_rcScrollDown;
        rc.DeflateRect(nInsetX, nInsetY);
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphScrollDown, rc, clrArrow);
    }
    if (!m_rcTearOffGripper.IsRectEmpty())
        pPaintManager->DrawPopupBarStrip(pDC, m_rcTearOffGripper, m_bTearOffSelected, TRUE);
    if (!m_rcResizeGripper.IsRectEmpty())
        pPaintManager->DrawPopupResizeGripper(pDC, m_rcResizeGripper, m_nResizeMode);
    if (m_bShowExpandButton && m_pExpandButton && !m_pExpandButton->GetRect().IsRectEmpty())
        m_pExpandButton->Draw(pDC);
}

// The drag loops.

void CQVTPopupBar::TrackResize(CPoint point)
{
    CQVTControl* pControl = GetResizableControl();
    if (!pControl)
        return;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    CQVTObjectRef<CQVTControl> keepControl(pControl);
    const int nOldWidth = pControl->GetWidth();
    const int nOldHeight = pControl->GetHeight();
    const CSize szStart = pControl->GetRect().Size();
    CPoint ptStart = point;
    ClientToScreen(&ptStart);
    const BOOL bMirror = IsLayoutRTL();
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    pMouseManager->EnterDragLoop();
    SetCapture();
    BOOL bCancel = FALSE;
    while (::GetCapture() == m_hWnd)
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
        {
            bCancel = TRUE;
            break;
        }
        if (msg.message == WM_MOUSEMOVE)
        {
            CPoint pt;
            ::GetCursorPos(&pt);
            const int dx = bMirror ? ptStart.x - pt.x : pt.x - ptStart.x;
            const int dy = pt.y - ptStart.y;
            if (m_nResizeMode & resizeWidth)
                pControl->SetWidth(
                    std::max(pControl->GetCustomizeMinWidth(), static_cast<int>(szStart.cx) + dx));
            if (m_nResizeMode & resizeHeight)
                pControl->SetHeight(
                    std::max(pControl->GetCustomizeMinHeight(), static_cast<int>(szStart.cy) + dy));
            OnRecalcLayout();
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    pMouseManager->ExitDragLoop();
    if (bCancel)
    {
        pControl->SetWidth(nOldWidth);
        pControl->SetHeight(nOldHeight);
        OnRecalcLayout();
    }
}

CQVTToolBar* CQVTPopupBar::TearOffToolBar()
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars)
        return nullptr;
    CQVTToolBar* pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pCommandBars->GetToolBar(m_nTearOffId));
    if (pToolBar)
    {
        pCommandBars->FloatCommandBar(pToolBar);
        pToolBar->SetVisible(TRUE);
        return pToolBar;
    }
    pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, pCommandBars->Add(m_strTearOffCaption, qvtBarFloating));
    if (!pToolBar)
        return nullptr;
    pToolBar->SetBarID(m_nTearOffId);
    pToolBar->SetTearOff(TRUE);
    pToolBar->SetMRUWidth(m_nTearOffWidth);
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->GetParent() != this || pControl == m_pExpandButton)
            continue;
        CQVTControl* pCopy = pToolBar->GetControls()->AddCopy(pControl);
        if (pCopy)
            pCopy->SetHideFlags(pCopy->GetHideFlags() & ~static_cast<DWORD>(qvtHidePopup | qvtHideExpand));
    }
    CWnd* pSite = pCommandBars->GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_TEAROFFTOOLBAR, reinterpret_cast<WPARAM>(pToolBar),
                           reinterpret_cast<LPARAM>(this));
    return pToolBar;
}

void CQVTPopupBar::TrackTearOff(CPoint point)
{
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
    CRect rcNear = m_rcTearOffGripper;
    ClientToScreen(&rcNear);
    rcNear.InflateRect(QVTDpiScaler()->ScaleX(10), QVTDpiScaler()->ScaleY(10));
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    pMouseManager->EnterDragLoop();
    m_bTearOffTracking = TRUE;
    SetCapture();
    CQVTToolBar* pToolBar = nullptr;
    BOOL bShown = FALSE;
    while (::GetCapture() == m_hWnd)
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message != WM_MOUSEMOVE)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
            continue;
        }
        CPoint pt;
        ::GetCursorPos(&pt);
        if (rcNear.PtInRect(pt))
        {
            if (bShown && pToolBar && pToolBar->GetSafeHwnd())
                pToolBar->ShowWindow(SW_HIDE);
            bShown = FALSE;
            continue;
        }
        if (!pToolBar)
            pToolBar = TearOffToolBar();
        if (!pToolBar || !pToolBar->GetSafeHwnd())
            continue;
        const CSize sz = pToolBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        const int y = pt.y - QVTDpiScaler()->ScaleY(10);
        pToolBar->SetWindowPos(&CWnd::wndTop, pt.x - sz.cx / 2, y, sz.cx, sz.cy,
                               SWP_NOACTIVATE | SWP_SHOWWINDOW);
        bShown = TRUE;
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_bTearOffTracking = FALSE;
    pMouseManager->ExitDragLoop();
    if (bShown)
        CQVTCommandBars::ClosePopups(GetCommandBars());
    else if (pToolBar && pToolBar->GetSafeHwnd() && !pToolBar->IsWindowVisible())
        pToolBar->SetVisible(FALSE);
}
