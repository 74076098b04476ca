#include "toolkit/skinframework/objects/QVTSkinPopupMenu.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
// Parts of the skin's "MENU" class.
enum SkinMenuPart
{
    skinMenuPopupBackground = 9,
    skinMenuPopupBorders = 10,
    skinMenuPopupCheck = 11,
    skinMenuPopupCheckBackground = 12,
    skinMenuPopupGutter = 13,
    skinMenuPopupItem = 14,
    skinMenuPopupSeparator = 15,
    skinMenuPopupSubmenu = 16,
    skinMenuSystemClose = 17,
    skinMenuSystemMaximize = 18,
    skinMenuSystemMinimize = 19,
    skinMenuSystemRestore = 20,
};
// Glyphs of the toolkit's glyph font.
const WCHAR kSkinMenuGlyphClose = 69;
const WCHAR kSkinMenuGlyphCheck = 71;
const WCHAR kSkinMenuGlyphArrowLeft = 74;
const WCHAR kSkinMenuGlyphArrowRight = 75;
const WCHAR kSkinMenuGlyphScrollUp = 76;
const WCHAR kSkinMenuGlyphScrollDown = 77;
// What an owner-drawn item may claim: more would make a popup nothing can
// draw or place.
const UINT kSkinMenuMaxMeasure = 4096;

DWORD SkinMenuTrackerSlot()
{
    static const DWORD dwSlot = ::TlsAlloc();
    return dwSlot;
}

typedef BOOL(WINAPI* PFNGETMENUINFO)(HMENU, LPMENUINFO);

// Reached through the user library at run time, as older systems lack it.
BOOL SkinMenuIsNotifyByPos(HMENU hMenu)
{
    static PFNGETMENUINFO pfnGetMenuInfo =
        reinterpret_cast<PFNGETMENUINFO>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "GetMenuInfo"));
    if (pfnGetMenuInfo == nullptr || hMenu == nullptr)
        return FALSE;
    MENUINFO mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIM_STYLE;
    return pfnGetMenuInfo(hMenu, &mi) && (mi.dwStyle & MNS_NOTIFYBYPOS) != 0;
}

// The primary monitor's work area as the system parameter sets it (the
// monitor information may not follow it).
CRect SkinMenuWorkArea(CPoint pt)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    CRect rc;
    if (!::GetMonitorInfoW(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi) ||
        (mi.dwFlags & MONITORINFOF_PRIMARY))
    {
        if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0) && !rc.IsRectEmpty())
            return rc;
    }
    return CRect(mi.rcWork);
}

BOOL SkinMenuIsRtlWindow(HWND hWnd)
{
    return hWnd != nullptr && (::GetWindowLongW(hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)) != 0;
}

// The character after the first "&" that is not doubled; 0 for none.
WCHAR SkinMenuMnemonic(const CString& strText, BOOL* pbExplicit)
{
    *pbExplicit = FALSE;
    for (int i = 0; i + 1 < strText.GetLength(); i++)
    {
        if (strText[i] != u'&')
            continue;
        if (strText[i + 1] == u'&')
        {
            i++;
            continue;
        }
        *pbExplicit = TRUE;
        return strText[i + 1];
    }
    return strText.IsEmpty() ? 0 : strText[0];
}

WCHAR SkinMenuLower(WCHAR ch)
{
    WCHAR sz[2] = {ch, 0};
    ::CharLowerBuffW(sz, 1);
    return sz[0];
}
}  // namespace

// Items.

CQVTSkinPopupMenuItem::CQVTSkinPopupMenuItem(CQVTSkinPopupMenu* pLevel, HMENU hMenu, int nIndex)
    : m_rcItem(0, 0, 0, 0), m_pLevel(pLevel), m_nIndex(nIndex), m_hMenu(hMenu), m_hSubMenu(nullptr)
{
    MENUITEMINFOW mii = {};
    if (GetInfo(mii, MIIM_SUBMENU))
        m_hSubMenu = mii.hSubMenu;
}

BOOL CQVTSkinPopupMenuItem::GetInfo(MENUITEMINFOW& mii, UINT fMask) const
{
    mii = MENUITEMINFOW{};
    mii.cbSize = sizeof(mii);
    mii.fMask = fMask;
    return ::IsMenu(m_hMenu) && ::GetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &mii);
}

UINT CQVTSkinPopupMenuItem::GetState() const
{
    MENUITEMINFOW mii;
    return GetInfo(mii, MIIM_STATE) ? mii.fState : 0;
}

UINT CQVTSkinPopupMenuItem::GetType() const
{
    MENUITEMINFOW mii;
    return GetInfo(mii, MIIM_FTYPE) ? mii.fType : 0;
}

UINT CQVTSkinPopupMenuItem::GetID() const
{
    MENUITEMINFOW mii;
    return GetInfo(mii, MIIM_ID) ? mii.wID : 0;
}

HBITMAP CQVTSkinPopupMenuItem::GetBitmap() const
{
    MENUITEMINFOW mii;
    if (!GetInfo(mii, MIIM_BITMAP | MIIM_FTYPE))
        return nullptr;
    if (mii.hbmpItem != nullptr)
        return mii.hbmpItem;
    // An old-style bitmap item keeps its handle where the text would be.
    if (mii.fType & MFT_BITMAP)
    {
        MENUITEMINFOW data;
        if (GetInfo(data, MIIM_TYPE))
            return reinterpret_cast<HBITMAP>(data.dwTypeData);
    }
    return nullptr;
}

ULONG_PTR CQVTSkinPopupMenuItem::GetItemData() const
{
    MENUITEMINFOW mii;
    return GetInfo(mii, MIIM_DATA) ? mii.dwItemData : 0;
}

CString CQVTSkinPopupMenuItem::ReadMenuText(HMENU hMenu, UINT nPosition)
{
    CString strText;
    if (!::IsMenu(hMenu))
        return strText;
    const int nLength = ::GetMenuStringW(hMenu, nPosition, nullptr, 0, MF_BYPOSITION);
    if (nLength <= 0)
        return strText;
    LPWSTR lpsz = strText.GetBuffer(nLength + 1);
    const int nRead = ::GetMenuStringW(hMenu, nPosition, lpsz, nLength + 1, MF_BYPOSITION);
    strText.ReleaseBuffer(std::max(0, std::min(nRead, nLength)));
    return strText;
}

CString CQVTSkinPopupMenuItem::GetText() const
{
    return ReadMenuText(m_hMenu, m_nIndex);
}

BOOL CQVTSkinPopupMenuItem::IsSeparator() const
{
    const UINT nType = GetType();
    if (nType & MFT_SEPARATOR)
        return TRUE;
    // A plain item with neither text nor bitmap nor submenu shows as one.
    return !(nType & (MFT_OWNERDRAW | MFT_BITMAP)) && m_hSubMenu == nullptr && GetBitmap() == nullptr &&
           GetText().IsEmpty() && GetID() == 0;
}

BOOL CQVTSkinPopupMenuItem::IsSystemMenuItem() const
{
    return m_pLevel != nullptr && m_pLevel->IsMenuBar() && m_nIndex == 0 && m_hSubMenu != nullptr &&
           GetBitmap() != nullptr && (GetType() & MFT_BITMAP) != 0;
}

BOOL CQVTSkinPopupMenuItem::IsMdiButton() const
{
    if (m_pLevel == nullptr || !m_pLevel->IsMenuBar() || m_hSubMenu != nullptr || GetBitmap() == nullptr)
        return FALSE;
    const UINT nID = GetID();
    return nID == SC_MINIMIZE || nID == SC_RESTORE || nID == SC_CLOSE;
}

BOOL CQVTSkinPopupMenuItem::IsSelectable() const
{
    return !IsSeparator() && !IsMdiButton();
}

// The level.

BEGIN_MESSAGE_MAP(CQVTSkinPopupMenu, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTSkinPopupMenu::OnPrintClient)
END_MESSAGE_MAP()

CQVTSkinPopupMenu::CQVTSkinPopupMenu(SKINMENUTRACKER* pTracker, HMENU hMenu, BOOL bMenuBar)
    : m_pTracker(pTracker), m_hMenu(hMenu), m_bMenuBar(bMenuBar)
{
    const int nMargin = Scale(3);
    m_rcMargins.SetRect(nMargin, nMargin, nMargin, nMargin);
    RebuildItems();
}

CQVTSkinPopupMenu::~CQVTSkinPopupMenu()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
    {
        ::KillTimer(m_hWnd, TIMER_CLOSEDELAY);
        ::KillTimer(m_hWnd, TIMER_OPENDELAY);
        ::KillTimer(m_hWnd, TIMER_SCROLLUP);
        ::KillTimer(m_hWnd, TIMER_SCROLLDOWN);
        DestroyWindow();
    }
    for (CQVTSkinPopupMenuItem* pItem : m_items)
        delete pItem;
}

void CQVTSkinPopupMenu::PostNcDestroy()
{
    // The tracker or the frame owns the level; its window may go first
    // (with the owner window).
}

int CQVTSkinPopupMenu::Scale(int n) const
{
    return QVTDpiScaler()->ScaleX(n);
}

void CQVTSkinPopupMenu::RebuildItems()
{
    for (CQVTSkinPopupMenuItem* pItem : m_items)
        delete pItem;
    m_items.clear();
    const int nCount = ::IsMenu(m_hMenu) ? ::GetMenuItemCount(m_hMenu) : 0;
    m_items.reserve(std::max(0, nCount));
    for (int i = 0; i < nCount; i++)
        m_items.push_back(new CQVTSkinPopupMenuItem(this, m_hMenu, i));
    if (m_nSelected >= nCount)
        m_nSelected = -1;
}

CQVTSkinPopupMenuItem* CQVTSkinPopupMenu::GetItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_items.size() ? m_items[nIndex] : nullptr;
}

BOOL CQVTSkinPopupMenu::IsRightToLeft() const
{
    if (m_bMenuBar)
        return SkinMenuIsRtlWindow(m_hWndOwner);
    return m_hWnd != nullptr && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

CQVTSkinManagerClass* CQVTSkinPopupMenu::GetMenuClass()
{
    CQVTSkinManagerSchema* pSchema = m_pTracker != nullptr ? m_pTracker->m_pSchema : nullptr;
    if (pSchema == nullptr)
        pSchema = QVTSkinManager()->GetSchema();
    return pSchema != nullptr ? pSchema->GetClass(u"MENU") : nullptr;
}

CQVTSkinManagerMetrics* CQVTSkinPopupMenu::GetMetrics()
{
    CQVTSkinManagerSchema* pSchema = m_pTracker != nullptr ? m_pTracker->m_pSchema : nullptr;
    if (pSchema == nullptr)
        pSchema = QVTSkinManager()->GetSchema();
    return pSchema != nullptr ? pSchema->GetMetrics() : nullptr;
}

COLORREF CQVTSkinPopupMenu::GetSysColor(int nIndex)
{
    CQVTSkinManagerMetrics* pMetrics = GetMetrics();
    return pMetrics != nullptr ? pMetrics->GetColor(nIndex) : ::GetSysColor(nIndex);
}

namespace {
// The menu font of the skin (or the system's), plain or bold, for one
// drawing or measuring pass.
class CSkinMenuFonts
{
public:
    explicit CSkinMenuFonts(CQVTSkinManagerMetrics* pMetrics)
    {
        LOGFONT lf = {};
        if (pMetrics == nullptr || pMetrics->m_fntMenu.GetLogFont(&lf) == 0)
        {
            NONCLIENTMETRICSW ncm = {};
            ncm.cbSize = sizeof(ncm);
            ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
            lf = ncm.lfMenuFont;
        }
        m_hFont = ::CreateFontIndirectW(&lf);
        lf.lfWeight = FW_BOLD;
        m_hBold = ::CreateFontIndirectW(&lf);
    }
    ~CSkinMenuFonts()
    {
        ::DeleteObject(m_hFont);
        ::DeleteObject(m_hBold);
    }
    HFONT m_hFont;
    HFONT m_hBold;
};

CSize SkinMenuTextExtent(HDC hDC, const CString& str)
{
    SIZE sz = {0, 0};
    if (!str.IsEmpty())
    {
        RECT rc = {0, 0, 0, 0};
        ::DrawTextW(hDC, str, str.GetLength(), &rc, DT_SINGLELINE | DT_CALCRECT);
        sz.cx = rc.right - rc.left;
        sz.cy = rc.bottom - rc.top;
    }
    return sz;
}

void SkinMenuSplitText(const CString& strText, CString& strLabel, CString& strAccel)
{
    const int nTab = strText.Find(u'\t');
    strLabel = nTab >= 0 ? strText.Left(nTab) : strText;
    strAccel = nTab >= 0 ? strText.Mid(nTab + 1) : CString();
}
}  // namespace

void CQVTSkinPopupMenu::MeasureItem(CDC* pDC, CQVTSkinPopupMenuItem* pItem, CSize& sz)
{
    const UINT nType = pItem->GetType();
    sz = CSize(0, 0);
    if (pItem->IsSeparator())
    {
        sz.cy = Scale(m_bGutter ? 6 : 9);
        return;
    }
    const int nMinHeight = Scale(m_bGutter ? 22 : 17);
    // Windows 10 measures owner-drawn items as text items of the look.
    if ((nType & MFT_OWNERDRAW) && QVTOSVersion()->IsWin10OrGreater())
    {
        CString strLabel, strAccel;
        SkinMenuSplitText(pItem->GetText(), strLabel, strAccel);
        const CSize szLabel = SkinMenuTextExtent(pDC->GetSafeHdc(), strLabel);
        const CSize szAccel = SkinMenuTextExtent(pDC->GetSafeHdc(), strAccel);
        sz.cx = m_nImageWidth + Scale(m_bGutter ? 55 : 44) + szLabel.cx + szAccel.cx;
        sz.cy = std::max(std::max(nMinHeight, Scale(20)), (int)std::max(szLabel.cy, szAccel.cy) + Scale(4));
        return;
    }
    if (nType & MFT_OWNERDRAW)
    {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = pItem->GetID();
        mis.itemData = pItem->GetItemData();
        if (m_hWndOwner != nullptr && ::IsWindow(m_hWndOwner))
            ::SendMessageW(m_hWndOwner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        // An owner that answers nothing leaves an item of a text item's
        // height, so that it can still be reached and chosen.
        sz.cx = (int)std::min(mis.itemWidth, kSkinMenuMaxMeasure) + Scale(12);
        sz.cy = mis.itemHeight != 0 ? (int)std::min(mis.itemHeight, kSkinMenuMaxMeasure) : nMinHeight;
        return;
    }
    if (nType & MFT_BITMAP)
    {
        HBITMAP hBitmap = pItem->GetBitmap();
        BITMAP bm = {};
        if (hBitmap != nullptr && reinterpret_cast<ULONG_PTR>(hBitmap) > 11)
            ::GetObjectW(hBitmap, sizeof(bm), &bm);
        sz.cx = m_nImageWidth + bm.bmWidth;
        sz.cy = std::max(nMinHeight, (int)bm.bmHeight + Scale(4));
        return;
    }
    CString strLabel, strAccel;
    SkinMenuSplitText(pItem->GetText(), strLabel, strAccel);
    CSize szLabel = SkinMenuTextExtent(pDC->GetSafeHdc(), strLabel);
    CSize szAccel = SkinMenuTextExtent(pDC->GetSafeHdc(), strAccel);
    sz.cx = m_nImageWidth + Scale(m_bGutter ? 55 : 44) + szLabel.cx + szAccel.cx;
    sz.cy = std::max(nMinHeight, (int)std::max(szLabel.cy, szAccel.cy) + Scale(4));
}

CSize CQVTSkinPopupMenu::MeasurePopup(int nMaxHeight)
{
    RebuildItems();
    // The gutter look needs a skin that frames its popups and no item the
    // owner draws.
    m_bGutter = FALSE;
    CQVTSkinManagerClass* pClass = GetMenuClass();
    if (pClass != nullptr)
    {
        int nBorder = 0;
        m_bGutter = SUCCEEDED(pClass->GetSchema()->GetIntProperty(
            pClass->GetClassCode(), skinMenuPopupBackground, 0, qvtSkinPropBorderSize, &nBorder));
    }
    for (CQVTSkinPopupMenuItem* pItem : m_items)
        if (pItem->IsOwnerDraw())
            m_bGutter = FALSE;

    m_nImageWidth = Scale(m_bGutter ? 33 : 17);
    for (CQVTSkinPopupMenuItem* pItem : m_items)
    {
        HBITMAP hBitmap = pItem->GetBitmap();
        if (hBitmap == nullptr || reinterpret_cast<ULONG_PTR>(hBitmap) <= 11)
            continue;
        BITMAP bm = {};
        if (::GetObjectW(hBitmap, sizeof(bm), &bm) == 0)
            continue;
        m_nImageWidth = std::max(m_nImageWidth, (int)bm.bmWidth + Scale(4) + (m_bGutter ? 5 + 3 : 0));
    }

    CWindowDC dc(nullptr);
    CSkinMenuFonts fonts(GetMetrics());
    HGDIOBJ hOldFont = ::SelectObject(dc.GetSafeHdc(), fonts.m_hFont);
    std::vector<CSize> sizes(m_items.size());
    m_nTextWidth = 0;
    for (size_t i = 0; i < m_items.size(); i++)
    {
        ::SelectObject(dc.GetSafeHdc(), m_items[i]->IsDefault() ? fonts.m_hBold : fonts.m_hFont);
        MeasureItem(&dc, m_items[i], sizes[i]);
    }
    ::SelectObject(dc.GetSafeHdc(), hOldFont);

    // Columns: a menu break starts a new one to the right of the widest
    // item of the previous column.
    int x = m_rcMargins.left, y = m_rcMargins.top, nColumnStart = 0, nWidth = 0, nHeight = 0, nColumns = 1;
    int nColumnWidth = 0;
    auto closeColumn = [&](int nEnd) {
        for (int j = nColumnStart; j < nEnd; j++)
        {
            m_items[j]->m_rcItem.left = x;
            m_items[j]->m_rcItem.right = x + nColumnWidth;
        }
        nWidth += nColumnWidth + 4;
        m_nTextWidth = std::max(m_nTextWidth, nColumnWidth);
    };
    for (int i = 0; i < (int)m_items.size(); i++)
    {
        if (i > 0 && (m_items[i]->GetType() & (MFT_MENUBREAK | MFT_MENUBARBREAK)))
        {
            closeColumn(i);
            x += nColumnWidth + Scale(4);
            nColumnWidth = 0;
            nColumnStart = i;
            y = m_rcMargins.top;
            nColumns++;
        }
        m_items[i]->m_rcItem.top = y;
        m_items[i]->m_rcItem.bottom = y + sizes[i].cy;
        y += sizes[i].cy;
        nColumnWidth = std::max(nColumnWidth, (int)sizes[i].cx);
        nHeight = std::max(nHeight, y - m_rcMargins.top);
    }
    closeColumn((int)m_items.size());
    CSize szPopup(m_rcMargins.left + m_rcMargins.right - 4 + nWidth,
                  m_rcMargins.top + m_rcMargins.bottom + nHeight);
    if (m_items.empty())
        szPopup.cx = m_rcMargins.left + m_rcMargins.right + Scale(20);

    m_bScrolling = nColumns == 1 && nMaxHeight > 0 && szPopup.cy > nMaxHeight;
    m_nFirstVisible = 0;
    m_nScrollOffset = 0;
    m_nLastVisible = (int)m_items.size() - 1;
    m_scrollUp.rc.SetRectEmpty();
    m_scrollDown.rc.SetRectEmpty();
    if (m_bScrolling)
        szPopup.cy = nMaxHeight;
    return szPopup;
}

void CQVTSkinPopupMenu::LayoutScrolled()
{
    if (!m_bScrolling || m_hWnd == nullptr)
        return;
    CRect rcClient;
    GetClientRect(rcClient);
    const int nButton = Scale(22);
    const int nCount = (int)m_items.size();
    m_nFirstVisible = std::max(0, std::min(m_nFirstVisible, nCount - 1));
    const int nTop = m_rcMargins.top + (m_nFirstVisible > 0 ? nButton : 0);
    m_nScrollOffset = nTop - (nCount > 0 ? m_items[m_nFirstVisible]->m_rcItem.top : 0);
    // The bottom button shows unless every remaining item fits without it.
    int nBottom = rcClient.bottom - m_rcMargins.bottom;
    BOOL bAllFit = nCount == 0 || m_items[nCount - 1]->m_rcItem.bottom + m_nScrollOffset <= nBottom;
    if (!bAllFit)
        nBottom -= nButton;
    m_nLastVisible = m_nFirstVisible;
    for (int i = m_nFirstVisible; i < nCount; i++)
    {
        if (m_items[i]->m_rcItem.bottom + m_nScrollOffset > nBottom && i > m_nFirstVisible)
            break;
        m_nLastVisible = i;
    }
    const int nLeft = m_rcMargins.left, nRight = rcClient.right - m_rcMargins.right;
    if (m_nFirstVisible > 0)
        m_scrollUp.rc.SetRect(nLeft, m_rcMargins.top, nRight, m_rcMargins.top + nButton);
    else
        m_scrollUp.rc.SetRectEmpty();
    if (!bAllFit)
        m_scrollDown.rc.SetRect(nLeft, nBottom, nRight, nBottom + nButton);
    else
        m_scrollDown.rc.SetRectEmpty();
}

BOOL CQVTSkinPopupMenu::ScrollBy(int nDirection)
{
    if (!m_bScrolling)
        return FALSE;
    if (nDirection < 0 && m_nFirstVisible == 0)
        return FALSE;
    if (nDirection > 0 && m_scrollDown.rc.IsRectEmpty())
        return FALSE;
    m_nFirstVisible += nDirection < 0 ? -1 : 1;
    LayoutScrolled();
    Invalidate(FALSE);
    UpdateWindow();
    return TRUE;
}

void CQVTSkinPopupMenu::EnsureVisible(int nIndex)
{
    if (!m_bScrolling || nIndex < 0 || nIndex >= (int)m_items.size())
        return;
    BOOL bMoved = FALSE;
    while (nIndex < m_nFirstVisible && m_nFirstVisible > 0)
    {
        m_nFirstVisible--;
        LayoutScrolled();
        bMoved = TRUE;
    }
    while (nIndex > m_nLastVisible && !m_scrollDown.rc.IsRectEmpty())
    {
        m_nFirstVisible++;
        LayoutScrolled();
        bMoved = TRUE;
    }
    if (bMoved)
        Invalidate(FALSE);
}

CRect CQVTSkinPopupMenu::GetItemScreenRect(int nIndex)
{
    CQVTSkinPopupMenuItem* pItem = GetItem(nIndex);
    if (pItem == nullptr)
        return CRect(0, 0, 0, 0);
    CRect rc = pItem->m_rcItem;
    if (m_bMenuBar)
    {
        HWND hWndBar = m_hWndBar != nullptr ? m_hWndBar : m_hWndOwner;
        CRect rcWindow;
        ::GetWindowRect(hWndBar, rcWindow);
        // A mirrored window counts its frame from the right.
        if (::GetWindowLongW(hWndBar, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
            return CRect(rcWindow.right - rc.right, rcWindow.top + rc.top, rcWindow.right - rc.left,
                         rcWindow.top + rc.bottom);
        rc.OffsetRect(rcWindow.TopLeft());
        return rc;
    }
    if (m_hWnd == nullptr)
        return CRect(0, 0, 0, 0);
    rc.OffsetRect(0, m_nScrollOffset);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
    rc.NormalizeRect();
    return rc;
}

int CQVTSkinPopupMenu::HitTest(CPoint ptScreen, BOOL* pbInside)
{
    if (pbInside != nullptr)
        *pbInside = FALSE;
    if (m_bMenuBar)
    {
        for (int i = 0; i < (int)m_items.size(); i++)
            if (!m_items[i]->m_rcItem.IsRectEmpty() && GetItemScreenRect(i).PtInRect(ptScreen))
            {
                if (pbInside != nullptr)
                    *pbInside = TRUE;
                return i;
            }
        return -1;
    }
    if (m_hWnd == nullptr || !::IsWindowVisible(m_hWnd))
        return -1;
    CRect rcWindow;
    GetWindowRect(rcWindow);
    if (!rcWindow.PtInRect(ptScreen))
        return -1;
    if (pbInside != nullptr)
        *pbInside = TRUE;
    CPoint pt = ptScreen;
    ::ScreenToClient(m_hWnd, &pt);
    if ((!m_scrollUp.rc.IsRectEmpty() && m_scrollUp.rc.PtInRect(pt)) ||
        (!m_scrollDown.rc.IsRectEmpty() && m_scrollDown.rc.PtInRect(pt)))
        return -1;
    const int nFirst = m_bScrolling ? m_nFirstVisible : 0;
    const int nLast = m_bScrolling ? m_nLastVisible : (int)m_items.size() - 1;
    pt.y -= m_nScrollOffset;
    for (int i = nFirst; i <= nLast && i < (int)m_items.size(); i++)
        if (m_items[i]->m_rcItem.PtInRect(pt))
            return i;
    return -1;
}

void CQVTSkinPopupMenu::RedrawItem(int nIndex)
{
    if (m_bMenuBar)
    {
        HWND hWnd = m_hWndBar != nullptr ? m_hWndBar : m_hWndOwner;
        if (hWnd != nullptr && ::IsWindow(hWnd))
            ::SendMessageW(hWnd, WM_NCPAINT, 1, 0);
        return;
    }
    if (m_hWnd == nullptr)
        return;
    CQVTSkinPopupMenuItem* pItem = GetItem(nIndex);
    if (pItem == nullptr)
        return;
    CRect rc = pItem->m_rcItem;
    rc.OffsetRect(0, m_nScrollOffset);
    InvalidateRect(rc, FALSE);
}

BOOL CQVTSkinPopupMenu::CreatePopupWindow(HWND hWndOwner)
{
    m_hWndOwner = hWndOwner;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(hInstance, GetWindowClassName(), &wc))
    {
        wc.style = CS_DBLCLKS | CS_SAVEBITS;
        BOOL bShadow = FALSE;
        if (::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bShadow, 0) && bShadow)
            wc.style |= CS_DROPSHADOW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = hInstance;
        wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = GetWindowClassName();
        if (!::RegisterClassW(&wc))
            return FALSE;
    }
    DWORD dwExStyle = WS_EX_TOOLWINDOW;
    if (SkinMenuIsRtlWindow(hWndOwner))
        dwExStyle |= WS_EX_LAYOUTRTL;
    HWND hWnd = ::CreateWindowExW(dwExStyle, GetWindowClassName(), u"", WS_POPUP, 0, 0, 100, 100, hWndOwner,
                                  nullptr, hInstance, nullptr);
    if (hWnd == nullptr)
        return FALSE;
    if (!SubclassWindow(hWnd))
    {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

// Drawing.

void CQVTSkinPopupMenu::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(rcClient);
    CQVTBufferDC buffer(dc.GetSafeHdc(), rcClient);
    DrawPopup(&buffer);
}

LRESULT CQVTSkinPopupMenu::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    if (pDC != nullptr)
        DrawPopup(pDC);
    return 0;
}

void CQVTSkinPopupMenu::DrawPopup(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(rcClient);
    HDC hDC = pDC->GetSafeHdc();
    CQVTSkinManagerClass* pClass = GetMenuClass();
    if (m_bGutter && pClass != nullptr)
    {
        pClass->DrawThemeBackground(pDC, skinMenuPopupBorders, 0, rcClient);
        CRect rcInside = rcClient;
        rcInside.DeflateRect(Scale(3), Scale(3));
        pClass->DrawThemeBackground(pDC, skinMenuPopupBackground, 0, rcInside);
        CRect rcGutter(rcInside.left, rcInside.top,
                       rcInside.left + m_nImageWidth + m_rcMargins.left - Scale(5), rcInside.bottom);
        pClass->DrawThemeBackground(pDC, skinMenuPopupGutter, 0, rcGutter);
    }
    else
    {
        QVTSkinFillSolidRect(hDC, rcClient, GetSysColor(COLOR_MENU));
        QVTSkinFrameRect(hDC, rcClient, 1, GetSysColor(COLOR_BTNSHADOW));
    }

    CSkinMenuFonts fonts(GetMetrics());
    HGDIOBJ hOldFont = ::SelectObject(hDC, fonts.m_hFont);
    ::SetBkMode(hDC, TRANSPARENT);
    if (m_bScrolling)
    {
        if (!m_scrollUp.rc.IsRectEmpty())
            QVTGlyphFont()->DrawGlyph(pDC, kSkinMenuGlyphScrollUp, m_scrollUp.rc,
                                      GetSysColor(m_nFirstVisible > 0 ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
        if (!m_scrollDown.rc.IsRectEmpty())
            QVTGlyphFont()->DrawGlyph(pDC, kSkinMenuGlyphScrollDown, m_scrollDown.rc,
                                      GetSysColor(COLOR_MENUTEXT));
    }
    const int nFirst = m_bScrolling ? m_nFirstVisible : 0;
    const int nLast = m_bScrolling ? m_nLastVisible : (int)m_items.size() - 1;
    int nSaved = ::SaveDC(hDC);
    if (m_bScrolling)
    {
        int nTop = m_scrollUp.rc.IsRectEmpty() ? m_rcMargins.top : m_scrollUp.rc.bottom;
        int nBottom =
            m_scrollDown.rc.IsRectEmpty() ? rcClient.bottom - m_rcMargins.bottom : m_scrollDown.rc.top;
        ::IntersectClipRect(hDC, rcClient.left, nTop, rcClient.right, nBottom);
    }
    for (int i = nFirst; i <= nLast && i < (int)m_items.size(); i++)
    {
        ::SelectObject(hDC, m_items[i]->IsDefault() ? fonts.m_hBold : fonts.m_hFont);
        DrawItem(pDC, m_items[i], i);
    }
    ::RestoreDC(hDC, nSaved);
    ::SelectObject(hDC, hOldFont);
}

void CQVTSkinPopupMenu::DrawItem(CDC* pDC, CQVTSkinPopupMenuItem* pItem, int nIndex)
{
    HDC hDC = pDC->GetSafeHdc();
    CRect rc = pItem->m_rcItem;
    rc.OffsetRect(0, m_nScrollOffset);
    const UINT nState = pItem->GetState();
    const UINT nType = pItem->GetType();
    const BOOL bSelected = nIndex == m_nSelected;
    const BOOL bDisabled = (nState & (MFS_DISABLED | MFS_GRAYED)) != 0;
    CQVTSkinManagerClass* pClass = m_bGutter ? GetMenuClass() : nullptr;

    if (!m_bGutter && (nType & MFT_MENUBARBREAK) && nIndex > 0)
    {
        QVTSkinFillSolidRect(hDC, rc.left - Scale(3), rc.top, 1, rc.Height(), GetSysColor(COLOR_BTNSHADOW));
        QVTSkinFillSolidRect(hDC, rc.left - Scale(3) + 1, rc.top, 1, rc.Height(),
                             GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if (nType & MFT_OWNERDRAW)
    {
        ::SetTextColor(hDC, GetSysColor(COLOR_MENUTEXT));
        ::SetBkColor(hDC, GetSysColor(COLOR_MENU));
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = pItem->GetID();
        dis.itemAction = ODA_DRAWENTIRE;
        if (bSelected)
            dis.itemState |= ODS_SELECTED;
        if (nState & MFS_GRAYED)
            dis.itemState |= ODS_GRAYED;
        if (nState & MFS_DISABLED)
            dis.itemState |= ODS_DISABLED;
        if (nState & MFS_CHECKED)
            dis.itemState |= ODS_CHECKED;
        if (nState & MFS_DEFAULT)
            dis.itemState |= ODS_DEFAULT;
        dis.hwndItem = reinterpret_cast<HWND>(m_hMenu);
        dis.hDC = hDC;
        dis.rcItem = rc;
        dis.itemData = pItem->GetItemData();
        int nSaved = ::SaveDC(hDC);
        if (m_hWndOwner != nullptr && ::IsWindow(m_hWndOwner))
            ::SendMessageW(m_hWndOwner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        ::RestoreDC(hDC, nSaved);
        if (pItem->m_hSubMenu != nullptr)
        {
            CRect rcArrow(rc.right - Scale(16), rc.top, rc.right, rc.bottom);
            QVTGlyphFont()->DrawGlyph(pDC,
                                      IsRightToLeft() ? kSkinMenuGlyphArrowLeft : kSkinMenuGlyphArrowRight,
                                      rcArrow, GetSysColor(COLOR_MENUTEXT));
        }
        return;
    }
    if (pItem->IsSeparator())
    {
        if (pClass != nullptr)
        {
            CRect rcSeparator(m_rcMargins.left + m_nImageWidth, rc.top, rc.right, rc.bottom);
            pClass->DrawThemeBackground(pDC, skinMenuPopupSeparator, 0, rcSeparator);
        }
        else
        {
            const int y = rc.top + rc.Height() / 2;
            QVTSkinFillSolidRect(hDC, rc.left + Scale(1), y, rc.Width() - Scale(2), 1,
                                 GetSysColor(COLOR_BTNSHADOW));
            QVTSkinFillSolidRect(hDC, rc.left + Scale(1), y + 1, rc.Width() - Scale(2), 1,
                                 GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        return;
    }
    if (bSelected && !bDisabled)
    {
        if (pClass != nullptr)
            pClass->DrawThemeBackground(pDC, skinMenuPopupItem, 2, rc);
        else
            QVTSkinFillSolidRect(hDC, rc, GetSysColor(COLOR_HIGHLIGHT));
    }
    COLORREF clrText = GetSysColor(bDisabled                          ? COLOR_GRAYTEXT
                                   : (bSelected && pClass == nullptr) ? COLOR_HIGHLIGHTTEXT
                                                                      : COLOR_MENUTEXT);
    ::SetTextColor(hDC, clrText);

    // Check marks.
    MENUITEMINFOW mii;
    pItem->GetInfo(mii, MIIM_CHECKMARKS | MIIM_STATE);
    HBITMAP hCheck = (nState & MFS_CHECKED) ? mii.hbmpChecked : mii.hbmpUnchecked;
    if (hCheck != nullptr)
    {
        BITMAP bm = {};
        if (::GetObjectW(hCheck, sizeof(bm), &bm))
        {
            HDC hMemDC = ::CreateCompatibleDC(hDC);
            HGDIOBJ hOld = ::SelectObject(hMemDC, hCheck);
            const int xCentre = rc.left + Scale(m_bGutter ? 16 : 11);
            ::BitBlt(hDC, xCentre - bm.bmWidth / 2, rc.top + (rc.Height() - bm.bmHeight) / 2, bm.bmWidth,
                     bm.bmHeight, hMemDC, 0, 0, SRCAND);
            ::SelectObject(hMemDC, hOld);
            ::DeleteDC(hMemDC);
        }
    }
    else if (nState & MFS_CHECKED)
    {
        if (pClass != nullptr)
        {
            CRect rcStrip(rc.left, rc.top, rc.left + Scale(22), rc.bottom);
            pClass->DrawThemeBackground(pDC, skinMenuPopupCheckBackground, bDisabled ? 1 : 2, rcStrip);
            CRect rcMark(0, 0, Scale(20), Scale(20));
            rcMark.OffsetRect(rcStrip.CenterPoint() - rcMark.CenterPoint());
            pClass->DrawThemeBackground(pDC, skinMenuPopupCheck, bDisabled ? 2 : 1, rcMark);
        }
        else
        {
            CRect rcMark(rc.left, rc.top, rc.left + Scale(22), rc.bottom);
            QVTGlyphFont()->DrawGlyph(pDC, kSkinMenuGlyphCheck, rcMark, clrText);
        }
    }

    // Item bitmaps.
    HBITMAP hBitmap = pItem->GetBitmap();
    const ULONG_PTR nSystemBitmap = reinterpret_cast<ULONG_PTR>(hBitmap);
    CRect rcImage(rc.left, rc.top, rc.left + m_nImageWidth, rc.bottom);
    if (hBitmap == HBMMENU_POPUP_CLOSE || hBitmap == HBMMENU_POPUP_RESTORE ||
        hBitmap == HBMMENU_POPUP_MAXIMIZE || hBitmap == HBMMENU_POPUP_MINIMIZE)
    {
        const int nPart = hBitmap == HBMMENU_POPUP_CLOSE      ? skinMenuSystemClose
                          : hBitmap == HBMMENU_POPUP_RESTORE  ? skinMenuSystemRestore
                          : hBitmap == HBMMENU_POPUP_MAXIMIZE ? skinMenuSystemMaximize
                                                              : skinMenuSystemMinimize;
        CRect rcGlyph(0, 0, Scale(16), Scale(16));
        rcGlyph.OffsetRect(rcImage.CenterPoint() - rcGlyph.CenterPoint());
        if (pClass != nullptr)
            pClass->DrawThemeBackground(pDC, nPart, bDisabled ? 2 : 1, rcGlyph);
        else if (hBitmap == HBMMENU_POPUP_CLOSE)
            QVTGlyphFont()->DrawGlyph(pDC, kSkinMenuGlyphClose, rcGlyph, clrText);
        else
        {
            const UINT nFrame = hBitmap == HBMMENU_POPUP_RESTORE    ? DFCS_CAPTIONRESTORE
                                : hBitmap == HBMMENU_POPUP_MAXIMIZE ? DFCS_CAPTIONMAX
                                                                    : DFCS_CAPTIONMIN;
            QVTSkinDrawFrameControl(hDC, rcGlyph, DFC_CAPTION, nFrame | DFCS_FLAT);
        }
    }
    else if (hBitmap != nullptr && nSystemBitmap > 11)
    {
        BITMAP bm = {};
        if (::GetObjectW(hBitmap, sizeof(bm), &bm))
        {
            const int x =
                (nType & MFT_BITMAP) ? rc.left + m_nImageWidth : rcImage.CenterPoint().x - bm.bmWidth / 2;
            const int y = rc.top + (rc.Height() - bm.bmHeight) / 2;
            HDC hMemDC = ::CreateCompatibleDC(hDC);
            HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
            if (bm.bmBitsPixel == 32)
            {
                BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                ::GdiAlphaBlend(hDC, x, y, bm.bmWidth, bm.bmHeight, hMemDC, 0, 0, bm.bmWidth, bm.bmHeight,
                                bf);
            }
            else
                ::TransparentBlt(hDC, x, y, bm.bmWidth, bm.bmHeight, hMemDC, 0, 0, bm.bmWidth, bm.bmHeight,
                                 ::GetPixel(hMemDC, 0, 0));
            ::SelectObject(hMemDC, hOld);
            ::DeleteDC(hMemDC);
        }
    }
    if (nType & MFT_BITMAP)
        return;

    CString strLabel, strAccel;
    SkinMenuSplitText(pItem->GetText(), strLabel, strAccel);
    CRect rcText(rc.left + m_nImageWidth + Scale(m_bGutter ? 8 : 4), rc.top, rc.right - Scale(20), rc.bottom);
    if (!strLabel.IsEmpty())
        QVTSkinDrawText(hDC, strLabel, strLabel.GetLength(), rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                        nullptr);
    if (!strAccel.IsEmpty())
        QVTSkinDrawText(hDC, strAccel, strAccel.GetLength(), rcText, DT_RIGHT | DT_VCENTER | DT_SINGLELINE,
                        nullptr);
    if (pItem->m_hSubMenu != nullptr)
    {
        CRect rcArrow(rc.right - Scale(7) - Scale(16), rc.top, rc.right - Scale(7), rc.bottom);
        if (pClass != nullptr)
            pClass->DrawThemeBackground(pDC, skinMenuPopupSubmenu, bDisabled ? 2 : 1, rcArrow);
        else
            QVTGlyphFont()->DrawGlyph(
                pDC, IsRightToLeft() ? kSkinMenuGlyphArrowLeft : kSkinMenuGlyphArrowRight, rcArrow, clrText);
    }
}

// The menu bar.

int CQVTSkinPopupMenu::LayoutMenuBar(CDC* pDC, CPoint ptOrigin, int nWidth)
{
    RebuildItems();
    if (m_items.empty())
        return 0;
    HDC hDC = pDC->GetSafeHdc();
    CSkinMenuFonts fonts(GetMetrics());
    HGDIOBJ hOldFont = ::SelectObject(hDC, fonts.m_hFont);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(hDC, &tm);
    const int nRow = ::GetSystemMetrics(SM_CYMENU);
    int x = ptOrigin.x, y = ptOrigin.y;
    const int nRight = ptOrigin.x + nWidth;
    int nRowStart = 0;
    // Right-justified items and the MDI buttons of the last row go flush
    // right.
    for (int i = 0; i < (int)m_items.size(); i++)
    {
        CQVTSkinPopupMenuItem* pItem = m_items[i];
        int cx;
        if (pItem->IsSystemMenuItem())
            cx = Scale(16) + 2 + 2;
        else if (pItem->IsSeparator())
            cx = Scale(6);
        else if (pItem->IsMdiButton())
            cx = nRow;
        else
        {
            CString strLabel, strAccel;
            SkinMenuSplitText(pItem->GetText(), strLabel, strAccel);
            cx = SkinMenuTextExtent(hDC, strLabel).cx + 2 * (tm.tmAveCharWidth + 1);
        }
        if (i > 0 && x + cx > nRight && x > ptOrigin.x)
        {
            x = ptOrigin.x;
            y += nRow;
            nRowStart = i;
        }
        pItem->m_rcItem.SetRect(x, y, x + cx, y + nRow);
        x += cx;
    }
    int nFlush = (int)m_items.size();
    while (nFlush > nRowStart && (m_items[nFlush - 1]->IsMdiButton()))
        nFlush--;
    for (int i = nRowStart; i < nFlush; i++)
        if (m_items[i]->GetType() & MFT_RIGHTJUSTIFY)
        {
            nFlush = i;
            break;
        }
    int nShift = nRight - m_items.back()->m_rcItem.right;
    if (nShift > 0)
        for (int i = nFlush; i < (int)m_items.size(); i++)
            m_items[i]->m_rcItem.OffsetRect(nShift, 0);
    ::SelectObject(hDC, hOldFont);
    return y + nRow + 1 - ptOrigin.y;
}

void CQVTSkinPopupMenu::DrawMenuBar(CDC* pDC, const CRect& rcBar, HWND hWndMdiChild)
{
    HDC hDC = pDC->GetSafeHdc();
    QVTSkinFillSolidRect(hDC, rcBar, GetSysColor(COLOR_BTNFACE));
    QVTSkinFillSolidRect(hDC, rcBar.left, rcBar.bottom - 1, rcBar.Width(), 1, GetSysColor(COLOR_WINDOW));
    CSkinMenuFonts fonts(GetMetrics());
    HGDIOBJ hOldFont = ::SelectObject(hDC, fonts.m_hFont);
    ::SetBkMode(hDC, TRANSPARENT);
    CQVTSkinManagerSchema* pSchema = m_pTracker != nullptr ? m_pTracker->m_pSchema : nullptr;
    if (pSchema == nullptr)
        pSchema = QVTSkinManager()->GetSchema();
    for (int i = 0; i < (int)m_items.size(); i++)
    {
        CQVTSkinPopupMenuItem* pItem = m_items[i];
        const CRect& rc = pItem->m_rcItem;
        const BOOL bSelected = i == m_nSelected;
        const BOOL bDisabled = pItem->IsDisabled();
        if (pItem->IsSeparator())
            continue;
        if (pItem->IsSystemMenuItem())
        {
            HICON hIcon = pSchema != nullptr && hWndMdiChild != nullptr
                              ? pSchema->GetWindowIcon(hWndMdiChild, TRUE)
                              : nullptr;
            if (hIcon != nullptr)
                ::DrawIconEx(hDC, rc.CenterPoint().x - Scale(8), rc.CenterPoint().y - Scale(8), hIcon,
                             Scale(16), Scale(16), 0, nullptr, DI_NORMAL);
            continue;
        }
        if (pItem->IsMdiButton())
        {
            const UINT nID = pItem->GetID();
            const int nPart = nID == SC_RESTORE ? 22 : nID == SC_MINIMIZE ? 16 : 20;
            const int nState = bDisabled ? 4 : bSelected ? 2 : 1;
            CQVTSkinManagerClass* pWindow = pSchema != nullptr ? pSchema->GetClass(u"WINDOW") : nullptr;
            CRect rcButton = rc;
            rcButton.DeflateRect(1, 1);
            if (pWindow == nullptr || !pWindow->DrawThemeBackground(pDC, nPart, nState, rcButton))
                QVTSkinDrawFrameControl(hDC, rcButton, DFC_CAPTION,
                                        (nID == SC_RESTORE    ? DFCS_CAPTIONRESTORE
                                         : nID == SC_MINIMIZE ? DFCS_CAPTIONMIN
                                                              : DFCS_CAPTIONCLOSE) |
                                            (bSelected ? DFCS_PUSHED : 0) | (bDisabled ? DFCS_INACTIVE : 0));
            continue;
        }
        if (bSelected)
            QVTSkinFillSolidRect(hDC, rc, GetSysColor(COLOR_HIGHLIGHT));
        ::SetTextColor(hDC, GetSysColor(bDisabled   ? COLOR_GRAYTEXT
                                        : bSelected ? COLOR_HIGHLIGHTTEXT
                                                    : COLOR_MENUTEXT));
        CString strLabel, strAccel;
        SkinMenuSplitText(pItem->GetText(), strLabel, strAccel);
        CRect rcText = rc;
        QVTSkinDrawText(hDC, strLabel, strLabel.GetLength(), rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                        nullptr);
    }
    ::SelectObject(hDC, hOldFont);
}

// The tracker.

SKINMENUTRACKER::SKINMENUTRACKER()
{
    UINT nDelay = 0;
    if (::SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &nDelay, 0))
        m_nShowDelay = nDelay;
}

SKINMENUTRACKER::~SKINMENUTRACKER() = default;

SKINMENUTRACKER* SKINMENUTRACKER::GetThreadTracker()
{
    const DWORD dwSlot = SkinMenuTrackerSlot();
    return dwSlot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<SKINMENUTRACKER*>(::TlsGetValue(dwSlot));
}

BOOL SKINMENUTRACKER::IsOwnerAlive() const
{
    return !m_bOwnerGone && m_hWndOwner != nullptr && ::IsWindow(m_hWndOwner);
}

BOOL SKINMENUTRACKER::BeginLoop(HWND hWndOwner)
{
    m_hWndOwner = hWndOwner;
    if (m_pSchema == nullptr)
    {
        CQVTSkinManager* pManager = QVTSkinManager();
        CQVTSkinObject* pObject = pManager->Lookup(hWndOwner);
        m_pSchema = pObject != nullptr ? pObject->GetSchema() : pManager->GetSchema();
    }
    const DWORD dwSlot = SkinMenuTrackerSlot();
    if (dwSlot != TLS_OUT_OF_INDEXES)
    {
        m_pPrevTracker = static_cast<SKINMENUTRACKER*>(::TlsGetValue(dwSlot));
        ::TlsSetValue(dwSlot, this);
    }
    if (!m_bNoNotify)
        ::SendMessageW(hWndOwner, WM_ENTERMENULOOP, m_pMenuBar == nullptr, 0);
    if (!IsOwnerAlive())
        return FALSE;
    ::SendMessageW(hWndOwner, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWndOwner), MAKELPARAM(HTCAPTION, 0));
    if (!IsOwnerAlive())
        return FALSE;
    ::SetCapture(hWndOwner);
    return TRUE;
}

void SKINMENUTRACKER::SendInitMenuPopup(CQVTSkinPopupMenu* pLevel)
{
    if (m_bNoNotify || !IsOwnerAlive())
        return;
    ::SendMessageW(m_hWndOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pLevel->m_hMenu),
                   MAKELPARAM(pLevel->m_nParentIndex, pLevel->m_bSystemMenu ? 1 : 0));
}

void SKINMENUTRACKER::SendMenuSelect(CQVTSkinPopupMenu* pLevel, int nIndex)
{
    if (!IsOwnerAlive())
        return;
    CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(nIndex);
    if (pItem == nullptr)
        return;
    UINT nFlags = (pItem->GetState() | pItem->GetType()) & 0xFFFF;
    UINT nItem = pItem->GetID();
    if (pItem->m_hSubMenu != nullptr)
    {
        nFlags |= MF_POPUP;
        nItem = nIndex;
    }
    if (!m_bKeyboard)
        nFlags |= MF_MOUSESELECT;
    if (pLevel->m_bSystemMenu)
        nFlags |= MF_SYSMENU;
    ::SendMessageW(m_hWndOwner, WM_MENUSELECT, MAKEWPARAM(nItem & 0xFFFF, nFlags & 0xFFFF),
                   reinterpret_cast<LPARAM>(pLevel->m_hMenu));
}

void SKINMENUTRACKER::SelectItem(CQVTSkinPopupMenu* pLevel, int nIndex)
{
    if (pLevel == nullptr)
        return;
    if (pLevel->GetItem(nIndex) == nullptr)
        nIndex = -1;
    if (pLevel->m_nSelected == nIndex)
        return;
    HWND hWndTimers = pLevel->m_hWnd;
    if (hWndTimers != nullptr)
    {
        ::KillTimer(hWndTimers, CQVTSkinPopupMenu::TIMER_OPENDELAY);
        ::KillTimer(hWndTimers, CQVTSkinPopupMenu::TIMER_CLOSEDELAY);
    }
    pLevel->m_nOpenDelayTimer = pLevel->m_nCloseDelayTimer = 0;
    pLevel->m_nPrevSelected = pLevel->m_nSelected;
    pLevel->m_nSelected = nIndex;
    pLevel->RedrawItem(pLevel->m_nPrevSelected);
    pLevel->RedrawItem(nIndex);
    pLevel->EnsureVisible(nIndex);
    m_pFocusLevel = pLevel;
    if (nIndex >= 0)
        SendMenuSelect(pLevel, nIndex);
}

void SKINMENUTRACKER::PlacePopup(CQVTSkinPopupMenu* pLevel, CQVTSkinPopupMenu* pParent, int nIndex, CSize sz)
{
    const int n3 = QVTDpiScaler()->ScaleX(3);
    CRect rcItem = pParent->GetItemScreenRect(nIndex);
    CRect rcWork = SkinMenuWorkArea(rcItem.CenterPoint());
    CRect rc;
    if (pParent->IsMenuBar())
    {
        rc = CRect(CPoint(rcItem.left, rcItem.bottom), sz);
        if (::IsIconic(m_hWndOwner))
        {
            rc.OffsetRect(0, rcItem.top - sz.cy - rc.top);
            if (rc.top < rcWork.top)
                rc.OffsetRect(0, rcItem.bottom - rc.top);
        }
        if (SkinMenuIsRtlWindow(m_hWndOwner))
        {
            rc.OffsetRect(rcItem.right - rc.right, 0);
            pLevel->m_bOpenLeftwards = TRUE;
        }
        if (rc.right > rcWork.right)
            rc.OffsetRect(rcWork.right - rc.right, 0);
        if (rc.bottom > rcWork.bottom)
            rc.OffsetRect(0, rcItem.top - ::GetSystemMetrics(SM_CYMENU) - sz.cy + rcItem.Height() - rc.top);
    }
    else
    {
        rc = CRect(CPoint(rcItem.right - n3, rcItem.top - n3), sz);
        if (pParent->m_bOpenLeftwards || rc.right > rcWork.right)
        {
            rc.OffsetRect(rcItem.left - sz.cx + n3 - rc.left, 0);
            pLevel->m_bOpenLeftwards = TRUE;
        }
        if (rc.bottom > rcWork.bottom)
            rc.OffsetRect(0, rcItem.bottom + n3 - sz.cy - rc.top);
    }
    // Clamp into the work area.
    if (rc.right > rcWork.right)
        rc.OffsetRect(rcWork.right - rc.right, 0);
    if (rc.left < rcWork.left)
        rc.OffsetRect(rcWork.left - rc.left, 0);
    if (rc.bottom > rcWork.bottom)
        rc.OffsetRect(0, rcWork.bottom - rc.bottom);
    if (rc.top < rcWork.top)
        rc.OffsetRect(0, rcWork.top - rc.top);
    // Never over the item it opened from.
    CRect rcInner = rc, rcOverlap;
    rcInner.DeflateRect(n3, n3);
    if (!pParent->IsMenuBar() && rcOverlap.IntersectRect(rcInner, rcItem))
    {
        if (rcItem.right + sz.cx <= rcWork.right && !pLevel->m_bOpenLeftwards)
            rc.OffsetRect(rcItem.right - rc.left, 0);
        else
            rc.OffsetRect(rcItem.left - rc.right, 0);
    }
    ::SetWindowPos(pLevel->m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

BOOL SKINMENUTRACKER::ShowPopup(CQVTSkinPopupMenu* pLevel)
{
    if (pLevel->m_hWnd == nullptr)
        return FALSE;
    pLevel->LayoutScrolled();
    ::SetWindowPos(pLevel->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    ::UpdateWindow(pLevel->m_hWnd);
    QVTSoundPlayer()->PlaySystemSound(CQVTSoundPlayer::soundMenuPopup);
    return TRUE;
}

void SKINMENUTRACKER::OpenSubmenu(CQVTSkinPopupMenu* pLevel)
{
    if (pLevel == nullptr || !IsOwnerAlive())
        return;
    CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(pLevel->m_nSelected);
    if (pItem == nullptr || pItem->m_hSubMenu == nullptr || !::IsMenu(pItem->m_hSubMenu))
        return;
    if (pLevel->m_pChildLevel != nullptr)
    {
        if (pLevel->m_nCloseDelayTimer == 0 && pLevel->m_pChildLevel->m_nParentIndex == pLevel->m_nSelected)
            return;
        CloseSubmenu(pLevel);
    }
    if (pLevel->m_hWnd != nullptr)
        ::KillTimer(pLevel->m_hWnd, CQVTSkinPopupMenu::TIMER_OPENDELAY);
    pLevel->m_nOpenDelayTimer = 0;

    auto* pChild = new CQVTSkinPopupMenu(this, pItem->m_hSubMenu, FALSE);
    pChild->m_hWndOwner = m_hWndOwner;
    pChild->m_nParentIndex = pLevel->m_nSelected;
    pChild->m_bSystemMenu = pLevel->m_bSystemMenu;
    pChild->m_bDropDown = !m_bOpeningByDelay;
    pChild->m_pParentLevel = pLevel;
    SendInitMenuPopup(pChild);
    if (!IsOwnerAlive() || m_bEnding)
    {
        delete pChild;
        return;
    }
    pChild->RebuildItems();
    if (pItem->IsDisabled() || pChild->GetItemCount() == 0)
    {
        delete pChild;
        return;
    }
    if (!pChild->CreatePopupWindow(m_hWndOwner))
    {
        delete pChild;
        return;
    }
    pLevel->m_pChildLevel = pChild;
    ::UpdateWindow(m_hWndOwner);
    CRect rcItem = pLevel->GetItemScreenRect(pLevel->m_nSelected);
    CSize sz = pChild->MeasurePopup(SkinMenuWorkArea(rcItem.CenterPoint()).Height());
    PlacePopup(pChild, pLevel, pLevel->m_nSelected, sz);
    if (m_bKeyboard)
        pChild->m_nSelected = NextSelectable(pChild, -1, 1);
    ShowPopup(pChild);
    m_pFocusLevel = pChild;
    if (pChild->m_nSelected >= 0)
        SendMenuSelect(pChild, pChild->m_nSelected);
}

void SKINMENUTRACKER::DestroyLevel(CQVTSkinPopupMenu* pLevel)
{
    if (pLevel == nullptr)
        return;
    DestroyLevel(pLevel->m_pChildLevel);
    pLevel->m_pChildLevel = nullptr;
    if (!m_bNoNotify && IsOwnerAlive())
        ::SendMessageW(m_hWndOwner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(pLevel->m_hMenu),
                       MAKELPARAM(0, pLevel->m_bSystemMenu ? MF_SYSMENU : 0));
    if (m_pFocusLevel == pLevel)
        m_pFocusLevel = pLevel->m_pParentLevel;
    delete pLevel;
}

void SKINMENUTRACKER::CloseSubmenu(CQVTSkinPopupMenu* pLevel)
{
    if (pLevel == nullptr || pLevel->m_pChildLevel == nullptr)
        return;
    if (pLevel->m_hWnd != nullptr)
        ::KillTimer(pLevel->m_hWnd, CQVTSkinPopupMenu::TIMER_CLOSEDELAY);
    pLevel->m_nCloseDelayTimer = 0;
    CQVTSkinPopupMenu* pChild = pLevel->m_pChildLevel;
    pLevel->m_pChildLevel = nullptr;
    DestroyLevel(pChild);
    m_pFocusLevel = pLevel;
}

void SKINMENUTRACKER::ExecuteItem(CQVTSkinPopupMenu* pLevel, int nIndex)
{
    CQVTSkinPopupMenuItem* pItem = pLevel != nullptr ? pLevel->GetItem(nIndex) : nullptr;
    if (pItem == nullptr || pItem->IsSeparator())
        return;
    if (pItem->m_hSubMenu != nullptr)
    {
        SelectItem(pLevel, nIndex);
        OpenSubmenu(pLevel);
        return;
    }
    if (pItem->IsDisabled())
    {
        EndMenu();
        return;
    }
    m_nCommand = pItem->GetID();
    m_bHaveCommand = TRUE;
    if (pLevel->m_bSystemMenu)
    {
        m_nCommandMessage = WM_SYSCOMMAND;
        m_wCommand = m_nCommand;
        CPoint pt;
        ::GetCursorPos(&pt);
        m_lCommand = m_bKeyboard ? 0 : MAKELPARAM(pt.x, pt.y);
    }
    else if (SkinMenuIsNotifyByPos(pLevel->m_hMenu))
    {
        m_nCommandMessage = WM_MENUCOMMAND;
        m_wCommand = nIndex;
        m_lCommand = reinterpret_cast<LPARAM>(pLevel->m_hMenu);
    }
    else
    {
        m_nCommandMessage = WM_COMMAND;
        m_wCommand = MAKEWPARAM(m_nCommand & 0xFFFF, 0);
        m_lCommand = 0;
    }
    QVTSoundPlayer()->PlaySystemSound(CQVTSoundPlayer::soundMenuCommand);
    EndMenu();
}

void SKINMENUTRACKER::EndMenu()
{
    m_bEnding = TRUE;
}

int SKINMENUTRACKER::NextSelectable(CQVTSkinPopupMenu* pLevel, int nFrom, int nDirection)
{
    const int nCount = pLevel->GetItemCount();
    if (nCount == 0)
        return -1;
    int nIndex = nFrom;
    for (int i = 0; i < nCount; i++)
    {
        nIndex = nIndex < 0 && nDirection < 0 ? nCount - 1 : (nIndex + nDirection + nCount) % nCount;
        if (pLevel->GetItem(nIndex)->IsSelectable())
            return nIndex;
    }
    return -1;
}

void SKINMENUTRACKER::MoveInMenuBar(int nDirection)
{
    CQVTSkinPopupMenu* pBar = m_pMenuBar;
    if (pBar == nullptr || m_pTopLevel != pBar)
        return;
    const BOOL bOpen = pBar->m_pChildLevel != nullptr;
    const BOOL bFromSystemMenu = bOpen && pBar->m_pChildLevel->m_bSystemMenu;
    // Left of the first item lies the window's system menu.
    if (nDirection < 0 && !bFromSystemMenu && pBar->m_nSelected >= 0 &&
        pBar->m_nSelected == NextSelectable(pBar, -1, 1) &&
        (::GetWindowLongW(m_hWndOwner, GWL_STYLE) & WS_SYSMENU))
    {
        OpenSystemMenu();
        return;
    }
    CloseSubmenu(pBar);
    const int nIndex =
        NextSelectable(pBar, bFromSystemMenu && nDirection > 0 ? -1 : pBar->m_nSelected, nDirection);
    SelectItem(pBar, nIndex);
    m_pFocusLevel = pBar;
    if (bOpen)
        OpenSubmenu(pBar);
}

BOOL SKINMENUTRACKER::OpenMdiChildSystemMenu(CQVTSkinPopupMenu* pMenuBar)
{
    CQVTSkinPopupMenuItem* pFirst = pMenuBar->GetItem(0);
    if (pFirst != nullptr && pFirst->IsSystemMenuItem())
    {
        SelectItem(pMenuBar, 0);
        OpenSubmenu(pMenuBar);
        return TRUE;
    }
    if (!IsOwnerAlive() || (::GetWindowLongW(m_hWndOwner, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0)
        return FALSE;
    OpenSystemMenu();
    return TRUE;
}

void SKINMENUTRACKER::OpenSystemMenu()
{
    CQVTSkinPopupMenu* pBar = m_pMenuBar;
    if (pBar == nullptr || m_pTopLevel != pBar || !IsOwnerAlive())
        return;
    HMENU hMenu = ::GetSystemMenu(m_hWndOwner, FALSE);
    if (hMenu == nullptr || ::GetMenuItemCount(hMenu) <= 0)
        return;
    CloseSubmenu(pBar);
    SelectItem(pBar, -1);
    auto* pLevel = new CQVTSkinPopupMenu(this, hMenu, FALSE);
    pLevel->m_hWndOwner = m_hWndOwner;
    pLevel->m_bSystemMenu = TRUE;
    pLevel->m_pParentLevel = pBar;
    SendInitMenuPopup(pLevel);
    if (!IsOwnerAlive() || m_bEnding || !pLevel->CreatePopupWindow(m_hWndOwner))
    {
        delete pLevel;
        return;
    }
    pBar->m_pChildLevel = pLevel;
    // Under the window's top-left corner, where the system's icon sits.
    CRect rcWindow;
    ::GetWindowRect(m_hWndOwner, rcWindow);
    CPoint pt(rcWindow.left, rcWindow.top);
    if (!pBar->m_items.empty())
        pt = pBar->GetItemScreenRect(0).TopLeft();
    const CRect rcWork = SkinMenuWorkArea(pt);
    const CSize sz = pLevel->MeasurePopup(rcWork.Height());
    CRect rc(pt, sz);
    if (rc.right > rcWork.right)
        rc.OffsetRect(rcWork.right - rc.right, 0);
    if (rc.bottom > rcWork.bottom)
        rc.OffsetRect(0, rcWork.bottom - rc.bottom);
    rc.OffsetRect(std::max(0L, (long)(rcWork.left - rc.left)), std::max(0L, (long)(rcWork.top - rc.top)));
    ::SetWindowPos(pLevel->m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (m_bKeyboard)
        pLevel->m_nSelected = NextSelectable(pLevel, -1, 1);
    ShowPopup(pLevel);
    m_pFocusLevel = pLevel;
    if (pLevel->m_nSelected >= 0)
        SendMenuSelect(pLevel, pLevel->m_nSelected);
}

void SKINMENUTRACKER::OnKey(CQVTSkinPopupMenu* pLevel, UINT nKey)
{
    if (pLevel == nullptr)
        return;
    if (pLevel->IsRightToLeft())
        nKey = nKey == VK_LEFT ? VK_RIGHT : nKey == VK_RIGHT ? VK_LEFT : nKey;
    CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(pLevel->m_nSelected);
    switch (nKey)
    {
    case VK_RETURN:
        if (pItem == nullptr)
            return;
        if (pItem->IsDisabled())
            EndMenu();
        else if (pItem->m_hSubMenu != nullptr)
            OpenSubmenu(pLevel);
        else
            ExecuteItem(pLevel, pLevel->m_nSelected);
        return;
    case VK_MENU:
    case VK_F10:
        EndMenu();
        return;
    case VK_ESCAPE:
        if (pLevel->m_pParentLevel != nullptr)
            CloseSubmenu(pLevel->m_pParentLevel);
        else
            EndMenu();
        return;
    case VK_UP:
    case VK_DOWN:
        if (pLevel->IsMenuBar())
        {
            OpenSubmenu(pLevel);
            return;
        }
        SelectItem(pLevel, NextSelectable(pLevel, pLevel->m_nSelected, nKey == VK_UP ? -1 : 1));
        return;
    case VK_LEFT:
        if (pLevel->m_pParentLevel != nullptr && !pLevel->m_pParentLevel->IsMenuBar())
            CloseSubmenu(pLevel->m_pParentLevel);
        else
            MoveInMenuBar(-1);
        return;
    case VK_RIGHT:
        if (!pLevel->IsMenuBar() && pItem != nullptr && pItem->m_hSubMenu != nullptr)
            OpenSubmenu(pLevel);
        else
            MoveInMenuBar(1);
        return;
    }
}

void SKINMENUTRACKER::OnChar(CQVTSkinPopupMenu* pLevel, UINT nChar)
{
    if (pLevel == nullptr)
        return;
    const WCHAR chTyped = SkinMenuLower((WCHAR)nChar);
    const int nCount = pLevel->GetItemCount();
    std::vector<int> explicitMatches, implicitMatches;
    for (int i = 1; i <= nCount; i++)
    {
        const int nIndex = ((pLevel->m_nSelected < 0 ? -1 : pLevel->m_nSelected) + i + nCount) % nCount;
        CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(nIndex);
        if (!pItem->IsSelectable() || pItem->IsOwnerDraw())
            continue;
        BOOL bExplicit = FALSE;
        const WCHAR ch = SkinMenuMnemonic(pItem->GetText(), &bExplicit);
        if (ch == 0 || SkinMenuLower(ch) != chTyped)
            continue;
        (bExplicit ? explicitMatches : implicitMatches).push_back(nIndex);
    }
    const std::vector<int>& matches = explicitMatches.empty() ? implicitMatches : explicitMatches;
    if (matches.empty())
    {
        if (pLevel->IsMenuBar() && nChar == u' ')
        {
            OpenSystemMenu();
            return;
        }
        if (m_bNoNotify || !IsOwnerAlive())
            return;
        UINT nFlags = pLevel->IsMenuBar() ? 0 : MF_POPUP;
        if (pLevel->m_bSystemMenu)
            nFlags |= MF_SYSMENU;
        const LRESULT lResult = ::SendMessageW(m_hWndOwner, WM_MENUCHAR, MAKEWPARAM(nChar & 0xFFFF, nFlags),
                                               reinterpret_cast<LPARAM>(pLevel->m_hMenu));
        switch (HIWORD(lResult))
        {
        case MNC_CLOSE:
            EndMenu();
            break;
        case MNC_EXECUTE:
            SelectItem(pLevel, LOWORD(lResult));
            ExecuteItem(pLevel, LOWORD(lResult));
            break;
        case MNC_SELECT:
            SelectItem(pLevel, LOWORD(lResult));
            break;
        default:
            ::MessageBeep(0);
            if (pLevel->IsMenuBar())
                EndMenu();
            break;
        }
        return;
    }
    SelectItem(pLevel, matches.front());
    if (matches.size() == 1)
        OnKey(pLevel, VK_RETURN);
}

CQVTSkinPopupMenu* SKINMENUTRACKER::LevelFromPoint(CPoint ptScreen, int* pnIndex)
{
    // The deepest level first: popups lie over their parents.
    std::vector<CQVTSkinPopupMenu*> levels;
    for (CQVTSkinPopupMenu* p = m_pTopLevel; p != nullptr; p = p->m_pChildLevel)
        levels.push_back(p);
    for (auto it = levels.rbegin(); it != levels.rend(); ++it)
    {
        BOOL bInside = FALSE;
        const int nIndex = (*it)->HitTest(ptScreen, &bInside);
        if (bInside)
        {
            *pnIndex = nIndex;
            return *it;
        }
    }
    *pnIndex = -1;
    return nullptr;
}

BOOL SKINMENUTRACKER::ScrollButtonTimer(CQVTSkinPopupMenu* pLevel, CPoint ptScreen)
{
    if (!pLevel->m_bScrolling || pLevel->m_hWnd == nullptr)
        return FALSE;
    CPoint pt = ptScreen;
    ::ScreenToClient(pLevel->m_hWnd, &pt);
    BOOL bHit = FALSE;
    for (CQVTSkinPopupMenu::SCROLLBUTTON* pButton : {&pLevel->m_scrollUp, &pLevel->m_scrollDown})
    {
        CQVTPopupBar::SCROLLBUTTONSTATE state = {pLevel->m_hWnd, pButton->nTimer, pButton->rc,
                                                 pButton->bTimer};
        if (CQVTPopupBar::ScrollButtonHitTest(&state, pt))
            bHit = TRUE;
        pButton->bTimer = state.bTimerRunning;
    }
    return bHit;
}

void SKINMENUTRACKER::RepostMouseDown(const MSG& msg)
{
    // Hardware input went to the owner, which holds the capture: hand the
    // click to the window under the pointer as it would have arrived.
    HWND hWnd = ::WindowFromPoint(msg.pt);
    if (hWnd == nullptr)
        return;
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    const LRESULT nHit = ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(msg.pt.x, msg.pt.y));
    const BOOL bRight = msg.message == WM_RBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN;
    if (nHit == HTCLIENT)
    {
        CPoint pt = msg.pt;
        ::ScreenToClient(hWnd, &pt);
        ::PostMessageW(hWnd, bRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, bRight ? MK_RBUTTON : MK_LBUTTON,
                       MAKELPARAM(pt.x, pt.y));
    }
    else if (nHit != HTNOWHERE && nHit != HTERROR && nHit != HTTRANSPARENT)
        ::PostMessageW(hWnd, bRight ? WM_NCRBUTTONDOWN : WM_NCLBUTTONDOWN, nHit,
                       MAKELPARAM(msg.pt.x, msg.pt.y));
}

BOOL SKINMENUTRACKER::OnMouseMessage(MSG& msg, BOOL& bRemove)
{
    const CPoint pt = msg.pt;
    int nIndex = -1;
    CQVTSkinPopupMenu* pLevel = LevelFromPoint(pt, &nIndex);
    switch (msg.message)
    {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    {
        for (CQVTSkinPopupMenu* p = m_pTopLevel; p != nullptr; p = p->m_pChildLevel)
            ScrollButtonTimer(p, pt);
        if (pLevel == nullptr || nIndex < 0)
            return TRUE;
        if (pLevel->IsMenuBar() && pLevel->m_pChildLevel == nullptr && !m_bButtonDown &&
            pLevel->m_nSelected < 0)
            return TRUE;
        if (nIndex == pLevel->m_nSelected)
        {
            // Back on the item of the open submenu: it stays.
            if (pLevel->m_hWnd != nullptr && pLevel->m_nCloseDelayTimer)
                ::KillTimer(pLevel->m_hWnd, CQVTSkinPopupMenu::TIMER_CLOSEDELAY);
            pLevel->m_nCloseDelayTimer = 0;
            return TRUE;
        }
        m_bKeyboard = FALSE;
        if (!pLevel->GetItem(nIndex)->IsSelectable())
            return TRUE;
        if (pLevel->IsMenuBar())
        {
            const BOOL bOpen = pLevel->m_pChildLevel != nullptr;
            CloseSubmenu(pLevel);
            SelectItem(pLevel, nIndex);
            if (bOpen)
                OpenSubmenu(pLevel);
            return TRUE;
        }
        CQVTSkinPopupMenu* pChild = pLevel->m_pChildLevel;
        // Close whatever lies below the level the pointer is in.
        if (pChild != nullptr && pChild->m_pChildLevel != nullptr)
            CloseSubmenu(pChild);
        SelectItem(pLevel, nIndex);
        if (pLevel->m_hWnd != nullptr)
        {
            if (pChild != nullptr)
            {
                ::SetTimer(pLevel->m_hWnd, CQVTSkinPopupMenu::TIMER_CLOSEDELAY, m_nShowDelay, nullptr);
                pLevel->m_nCloseDelayTimer = CQVTSkinPopupMenu::TIMER_CLOSEDELAY;
            }
            CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(nIndex);
            if (pItem->m_hSubMenu != nullptr)
            {
                ::SetTimer(pLevel->m_hWnd, CQVTSkinPopupMenu::TIMER_OPENDELAY, m_nShowDelay, nullptr);
                pLevel->m_nOpenDelayTimer = CQVTSkinPopupMenu::TIMER_OPENDELAY;
            }
        }
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    {
        const BOOL bRight = msg.message == WM_RBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN;
        m_bKeyboard = FALSE;
        if (pLevel == nullptr)
        {
            EndMenu();
            RepostMouseDown(msg);
            return TRUE;
        }
        if (bRight && !m_bRightButton)
            return TRUE;
        m_bButtonDown = TRUE;
        if (nIndex >= 0 && pLevel->GetItem(nIndex)->IsMdiButton())
        {
            // The MDI child's buttons: pressed here, chosen on the release.
            CloseSubmenu(pLevel);
            SelectItem(pLevel, nIndex);
            return TRUE;
        }
        if (nIndex < 0 || !pLevel->GetItem(nIndex)->IsSelectable())
            return TRUE;
        // The right button of a menu tracked with it chooses as a release does.
        if (bRight)
        {
            CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(nIndex);
            m_bButtonDown = FALSE;
            SelectItem(pLevel, nIndex);
            if (pItem->m_hSubMenu != nullptr)
                OpenSubmenu(pLevel);
            else if (!pItem->IsDisabled())
                ExecuteItem(pLevel, nIndex);
            return TRUE;
        }
        if (pLevel->IsMenuBar() && pLevel->m_nSelected == nIndex && pLevel->m_pChildLevel != nullptr &&
            m_pMenuBar == pLevel)
        {
            // A press on the open item's title closes the menu.
            EndMenu();
            return TRUE;
        }
        if (pLevel->m_pChildLevel != nullptr && pLevel->m_pChildLevel->m_nParentIndex != nIndex)
            CloseSubmenu(pLevel);
        SelectItem(pLevel, nIndex);
        OpenSubmenu(pLevel);
        return TRUE;
    }
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
    {
        const BOOL bRight = msg.message == WM_RBUTTONUP || msg.message == WM_NCRBUTTONUP;
        if (bRight && !m_bRightButton)
        {
            if (pLevel != nullptr && nIndex >= 0 && IsOwnerAlive())
                ::SendMessageW(m_hWndOwner, WM_MENURBUTTONUP, nIndex,
                               reinterpret_cast<LPARAM>(pLevel->m_hMenu));
            return TRUE;
        }
        if (!m_bButtonDown)
            return TRUE;
        m_bButtonDown = FALSE;
        if (pLevel == nullptr)
        {
            EndMenu();
            return TRUE;
        }
        CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(nIndex);
        if (pItem != nullptr && pItem->IsMdiButton())
        {
            // Chosen where it was pressed; released elsewhere it lets go.
            if (pLevel->m_nSelected == nIndex && !pItem->IsDisabled())
                ExecuteItem(pLevel, nIndex);
            else
                SelectItem(pLevel, -1);
            return TRUE;
        }
        if (pItem == nullptr || !pItem->IsSelectable())
            return TRUE;
        if (pItem->m_hSubMenu != nullptr)
        {
            SelectItem(pLevel, nIndex);
            OpenSubmenu(pLevel);
        }
        else if (!pItem->IsDisabled())
            ExecuteItem(pLevel, nIndex);
        return TRUE;
    }
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
    {
        if (pLevel == nullptr)
        {
            EndMenu();
            return TRUE;
        }
        CQVTSkinPopupMenuItem* pItem = pLevel->GetItem(nIndex);
        if (pItem != nullptr && pItem->m_hSubMenu != nullptr)
        {
            const UINT nDefault = ::GetMenuDefaultItem(pItem->m_hSubMenu, TRUE, GMDI_GOINTOPOPUPS);
            if (nDefault != (UINT)-1)
            {
                CQVTSkinPopupMenu* pChild = pLevel->m_pChildLevel;
                if (pChild != nullptr && pChild->m_hMenu == pItem->m_hSubMenu)
                    ExecuteItem(pChild, (int)nDefault);
            }
        }
        return TRUE;
    }
    }
    return FALSE;
}

BOOL SKINMENUTRACKER::ProcessMessage(MSG& msg, BOOL& bRemove)
{
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
        return OnMouseMessage(msg, bRemove);
    if (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)
        return OnMouseMessage(msg, bRemove);
    CQVTSkinPopupMenu* pFocus = m_pFocusLevel != nullptr ? m_pFocusLevel : m_pTopLevel;
    switch (msg.message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (m_bButtonDown && (::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0))
            return TRUE;
        m_bKeyboard = TRUE;
        switch (msg.wParam)
        {
        case VK_RETURN:
        case VK_MENU:
        case VK_ESCAPE:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_F10:
            OnKey(pFocus, (UINT)msg.wParam);
            return TRUE;
        case VK_CANCEL:
        case VK_F1:
            return TRUE;
        case VK_TAB:
            if (pFocus != nullptr && pFocus->IsMenuBar() && pFocus->m_pChildLevel == nullptr)
            {
                EndMenu();
                return TRUE;
            }
            break;
        }
        ::TranslateMessage(&msg);
        return TRUE;
    case WM_KEYUP:
        ::TranslateMessage(&msg);
        return TRUE;
    case WM_CHAR:
    case WM_SYSCHAR:
        m_bKeyboard = TRUE;
        OnChar(pFocus, (UINT)msg.wParam);
        return TRUE;
    case WM_SYSKEYUP:
        return TRUE;
    case WM_TIMER:
        for (CQVTSkinPopupMenu* p = m_pTopLevel; p != nullptr; p = p->m_pChildLevel)
        {
            if (p->m_hWnd == nullptr || p->m_hWnd != msg.hwnd)
                continue;
            switch (msg.wParam)
            {
            case CQVTSkinPopupMenu::TIMER_OPENDELAY:
                ::KillTimer(p->m_hWnd, CQVTSkinPopupMenu::TIMER_OPENDELAY);
                p->m_nOpenDelayTimer = 0;
                m_bOpeningByDelay = TRUE;
                OpenSubmenu(p);
                m_bOpeningByDelay = FALSE;
                return TRUE;
            case CQVTSkinPopupMenu::TIMER_CLOSEDELAY:
                ::KillTimer(p->m_hWnd, CQVTSkinPopupMenu::TIMER_CLOSEDELAY);
                p->m_nCloseDelayTimer = 0;
                CloseSubmenu(p);
                return TRUE;
            case CQVTSkinPopupMenu::TIMER_SCROLLUP:
            case CQVTSkinPopupMenu::TIMER_SCROLLDOWN:
            {
                CPoint pt;
                ::GetCursorPos(&pt);
                if (ScrollButtonTimer(p, pt))
                    p->ScrollBy(msg.wParam == CQVTSkinPopupMenu::TIMER_SCROLLUP ? -1 : 1);
                return TRUE;
            }
            }
        }
        return FALSE;
    }
    return FALSE;
}

void SKINMENUTRACKER::RunLoop()
{
    m_bInLoop = TRUE;
    while (!m_bEnding)
    {
        if (!IsOwnerAlive() ||
            (m_pTopLevel != nullptr && !m_pTopLevel->IsMenuBar() && !::IsMenu(m_pTopLevel->m_hMenu)))
        {
            m_bOwnerGone = !IsOwnerAlive();
            break;
        }
        if (::GetCapture() != m_hWndOwner)
            break;
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (!m_bIdleSent)
            {
                m_bIdleSent = TRUE;
                if (!m_bNoNotify)
                {
                    CQVTSkinPopupMenu* pFocus = m_pFocusLevel != nullptr ? m_pFocusLevel : m_pTopLevel;
                    HWND hWndPopup =
                        pFocus != nullptr && pFocus->m_hWnd != nullptr ? pFocus->m_hWnd : nullptr;
                    ::SendMessageW(m_hWndOwner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(hWndPopup));
                }
                continue;
            }
            ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT)
        {
            // For the application's loop, after the menu has gone.
            m_bQuit = TRUE;
            m_nQuitCode = msg.wParam;
            EndMenu();
            break;
        }
        if (msg.message != WM_TIMER && msg.message != WM_PAINT && msg.message != WM_NCPAINT)
            m_bIdleSent = FALSE;
        BOOL bRemove = TRUE;
        if (!ProcessMessage(msg, bRemove))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bInLoop = FALSE;
}

void SKINMENUTRACKER::FinishLoop()
{
    if (!IsOwnerAlive())
        m_bOwnerGone = TRUE;
    // A menu bar belongs to its frame, which may have gone with the owner.
    CQVTSkinPopupMenu* pTop = m_pTopLevel;
    if (pTop != nullptr)
    {
        if (pTop->IsMenuBar())
        {
            // The frame holds its bar for the loop, even when the window went.
            CQVTSkinPopupMenu* pChild = pTop->m_pChildLevel;
            pTop->m_pChildLevel = nullptr;
            DestroyLevel(pChild);
            pTop->m_nSelected = -1;
            pTop->RedrawItem(-1);
        }
        else
            DestroyLevel(pTop);
    }
    m_pTopLevel = m_pFocusLevel = nullptr;
    if (!m_bOwnerGone && IsOwnerAlive())
    {
        ::SendMessageW(m_hWndOwner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        if (!m_bNoNotify && IsOwnerAlive())
            ::SendMessageW(m_hWndOwner, WM_EXITMENULOOP, m_pMenuBar == nullptr, 0);
    }
    // A menu opened from inside another menu's loop hands the capture back:
    // the outer loop ends when it loses it.
    SKINMENUTRACKER* pOuter = m_pPrevTracker;
    if (pOuter != nullptr && pOuter->m_bInLoop && !pOuter->m_bEnding && pOuter->IsOwnerAlive())
        ::SetCapture(pOuter->m_hWndOwner);
    else if (::GetCapture() == m_hWndOwner && m_hWndOwner != nullptr)
        ::ReleaseCapture();
    const DWORD dwSlot = SkinMenuTrackerSlot();
    if (dwSlot != TLS_OUT_OF_INDEXES)
        ::TlsSetValue(dwSlot, m_pPrevTracker);
    if (m_bQuit)
        ::PostQuitMessage((int)m_nQuitCode);
}

UINT_PTR SKINMENUTRACKER::TrackPopup(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner,
                                     LPCRECT lprcExclude)
{
    if (hWndOwner == nullptr || !::IsWindow(hWndOwner) || !::IsMenu(hMenu) || ::GetMenuItemCount(hMenu) <= 0)
        return FALSE;
    m_bRightButton = (nFlags & TPM_RIGHTBUTTON) != 0;
    m_bNoNotify = (nFlags & TPM_NONOTIFY) != 0;
    m_bReturnCommand = (nFlags & TPM_RETURNCMD) != 0;
    m_bSystemMenu = (nFlags & QVT_TPM_SYSTEMMENU) != 0;

    if (!BeginLoop(hWndOwner))
    {
        FinishLoop();
        return FALSE;
    }
    if (!m_bNoNotify)
        ::SendMessageW(hWndOwner, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);

    auto* pLevel = new CQVTSkinPopupMenu(this, hMenu, FALSE);
    pLevel->m_bSystemMenu = m_bSystemMenu;
    pLevel->m_hWndOwner = hWndOwner;
    m_pTopLevel = m_pFocusLevel = pLevel;
    SendInitMenuPopup(pLevel);
    if (IsOwnerAlive() && ::IsMenu(hMenu) && pLevel->CreatePopupWindow(hWndOwner))
    {
        const CRect rcWork = SkinMenuWorkArea(CPoint(x, y));
        CSize sz = pLevel->MeasurePopup(rcWork.Height());
        const BOOL bRtl = SkinMenuIsRtlWindow(hWndOwner);
        if (bRtl && !(nFlags & TPM_CENTERALIGN))
            nFlags ^= TPM_RIGHTALIGN;
        CRect rc(CPoint(x, y), sz);
        if (nFlags & TPM_CENTERALIGN)
            rc.OffsetRect(-sz.cx / 2, 0);
        else if (nFlags & TPM_RIGHTALIGN)
        {
            rc.OffsetRect(-sz.cx, 0);
            pLevel->m_bOpenLeftwards = TRUE;
        }
        else if ((nFlags & TPM_VERTICAL) && lprcExclude != nullptr)
            rc.OffsetRect(lprcExclude->right - rc.left, 0);
        if (nFlags & TPM_BOTTOMALIGN)
            rc.OffsetRect(0, -sz.cy);
        else if (nFlags & TPM_VCENTERALIGN)
            rc.OffsetRect(0, -sz.cy / 2);
        // Into the work area, off the exclude rectangle.
        if (rc.right > rcWork.right)
        {
            rc.OffsetRect(rcWork.right - rc.right, 0);
            if (lprcExclude != nullptr && (nFlags & TPM_VERTICAL) && rc.left < lprcExclude->right)
                rc.OffsetRect(lprcExclude->left - rc.right, 0);
        }
        if (rc.left < rcWork.left)
            rc.OffsetRect(rcWork.left - rc.left, 0);
        if (rc.bottom > rcWork.bottom)
        {
            if (lprcExclude != nullptr && !(nFlags & TPM_VERTICAL))
                rc.OffsetRect(0, lprcExclude->top - rc.bottom);
            else
                rc.OffsetRect(0, rcWork.bottom - rc.bottom);
        }
        if (rc.top < rcWork.top)
            rc.OffsetRect(0, rcWork.top - rc.top);
        ::SetWindowPos(pLevel->m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        ShowPopup(pLevel);
        RunLoop();
    }
    FinishLoop();

    return DeliverCommand();
}

UINT_PTR SKINMENUTRACKER::DeliverCommand()
{
    if (!m_bHaveCommand)
        return m_bReturnCommand ? 0 : TRUE;
    if (m_bReturnCommand)
        return m_nCommand;
    if (IsOwnerAlive())
    {
        if (m_nCommandMessage == WM_COMMAND)
            ::PostMessageW(m_hWndOwner, WM_COMMAND, m_wCommand, m_lCommand);
        else
        {
            ::SendMessageW(m_hWndOwner, m_nCommandMessage, m_wCommand, m_lCommand);
            if (m_nCommandMessage == WM_SYSCOMMAND && ::IsWindow(m_hWndOwner))
                ::SendMessageW(m_hWndOwner, WM_NCPAINT, 1, 0);
        }
    }
    return TRUE;
}

BOOL SKINMENUTRACKER::BeginMenuBar(CQVTSkinPopupMenu* pMenuBar, BOOL bKeyboard)
{
    m_pMenuBar = pMenuBar;
    if (!BeginLoop(pMenuBar->m_hWndOwner))
    {
        FinishLoop();
        return FALSE;
    }
    m_pTopLevel = m_pFocusLevel = pMenuBar;
    pMenuBar->m_pTracker = this;
    m_bKeyboard = bKeyboard;
    if (!m_bNoNotify)
        ::SendMessageW(m_hWndOwner, WM_INITMENU, reinterpret_cast<WPARAM>(pMenuBar->m_hMenu), 0);
    return TRUE;
}

void SKINMENUTRACKER::EndMenuBar(CQVTSkinPopupMenu* pMenuBar)
{
    FinishLoop();
    pMenuBar->m_pTracker = nullptr;
    DeliverCommand();
}

BOOL SKINMENUTRACKER::TrackMenuBar(CQVTSkinPopupMenu* pMenuBar, CPoint pt)
{
    if (pMenuBar == nullptr || !BeginMenuBar(pMenuBar, FALSE))
        return FALSE;
    int nIndex = pMenuBar->HitTest(pt);
    m_bButtonDown = (::GetKeyState(VK_LBUTTON) < 0);
    if (nIndex >= 0 && IsOwnerAlive())
    {
        SelectItem(pMenuBar, nIndex);
        OpenSubmenu(pMenuBar);
        RunLoop();
    }
    EndMenuBar(pMenuBar);
    return TRUE;
}

BOOL SKINMENUTRACKER::TrackMenuBarKey(CQVTSkinPopupMenu* pMenuBar, UINT nChar)
{
    if (pMenuBar == nullptr || !BeginMenuBar(pMenuBar, TRUE))
        return FALSE;
    if (nChar == 0)
        SelectItem(pMenuBar, NextSelectable(pMenuBar, -1, 1));
    else if (nChar == u' ')
        OpenSystemMenu();
    else if (nChar != u'-' || !OpenMdiChildSystemMenu(pMenuBar))
        OnChar(pMenuBar, nChar);
    if ((pMenuBar->m_nSelected >= 0 || pMenuBar->m_pChildLevel != nullptr) && !m_bEnding && IsOwnerAlive())
        RunLoop();
    EndMenuBar(pMenuBar);
    return TRUE;
}

UINT_PTR AFXAPI QVTSkinTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner,
                                      LPCRECT lprcExclude)
{
    try
    {
        // A menu asked for while another is open (a context menu over one of
        // its items) opens over it; the outer menu goes on afterwards.
        SKINMENUTRACKER tracker;
        return tracker.TrackPopup(hMenu, nFlags, x, y, hWndOwner, lprcExclude);
    }
    catch (...)
    {
        return FALSE;
    }
}
