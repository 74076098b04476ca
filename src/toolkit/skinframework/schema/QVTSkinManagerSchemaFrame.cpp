// The schema's drawing of skinned window frames: borders, caption, caption
// buttons, client edges, non-client scroll bars and the window region where
// the frame images are transparent.
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

namespace {
// Cached regions beyond this many are dropped oldest first.
const size_t kSkinFrameRegionCacheSize = 16;
// Marks the pixels a frame part leaves untouched when it is drawn alone.
const COLORREF kSkinFrameRegionKey = RGB(1, 254, 3);

DWORD SkinFrameStyle(HWND hWnd)
{
    return static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
}

DWORD SkinFrameExStyle(HWND hWnd)
{
    return static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_EXSTYLE));
}

// The runs of key-coloured pixels at the left and right edges of a frame
// part drawn alone at its place in the window, added to the two regions
// (the right runs relative to the window's right edge).
void SkinFrameScanPart(CQVTSkinManagerClass* pClass, int nPart, const CRect& rcPart, int cxWindow,
                       CRgn& rgnLeft, CRgn& rgnRight)
{
    if (rcPart.IsRectEmpty() || rcPart.Width() > 32767 || rcPart.Height() > 32767)
        return;
    const CRect rcMargins = pClass->GetThemeRect(nPart, 1, qvtSkinPropSizingMargins);
    const int nLeftLimit = std::min(std::max(0, static_cast<int>(rcMargins.left)), rcPart.Width());
    const int nRightLimit = std::min(std::max(0, static_cast<int>(rcMargins.right)), rcPart.Width());
    if (nLeftLimit == 0 && nRightLimit == 0)
        return;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = rcPart.Width();
    bmi.bmiHeader.biHeight = -rcPart.Height();
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr || pBits == nullptr)
    {
        ::DeleteDC(hDC);
        return;
    }
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    CRect rcDraw(0, 0, rcPart.Width(), rcPart.Height());
    QVTSkinFillSolidRect(hDC, rcDraw, kSkinFrameRegionKey);
    {
        CDC dc;
        dc.Attach(hDC);
        const BOOL bDrawn = pClass->DrawThemeBackground(&dc, nPart, 1, rcDraw);
        dc.Detach();
        if (!bDrawn)
        {
            // Without an image the system draws the frame: nothing is open.
            ::SelectObject(hDC, hOld);
            ::DeleteObject(hBitmap);
            ::DeleteDC(hDC);
            return;
        }
    }
    ::GdiFlush();
    const DWORD* pPixels = static_cast<const DWORD*>(pBits);
    const DWORD dwKey = (GetRValue(kSkinFrameRegionKey) << 16) | (GetGValue(kSkinFrameRegionKey) << 8) |
                        GetBValue(kSkinFrameRegionKey);
    const int cx = rcPart.Width();
    auto open = [&](int x, int y) { return (pPixels[static_cast<size_t>(y) * cx + x] & 0xFFFFFF) == dwKey; };
    for (int y = 0; y < rcPart.Height(); ++y)
    {
        int nLeft = 0;
        while (nLeft < nLeftLimit && open(nLeft, y))
            ++nLeft;
        int nRight = 0;
        while (nRight < nRightLimit && open(cx - 1 - nRight, y))
            ++nRight;
        const int yWindow = rcPart.top + y;
        if (nLeft > 0)
        {
            CRgn rgn;
            rgn.CreateRectRgn(rcPart.left, yWindow, rcPart.left + nLeft, yWindow + 1);
            rgnLeft.CombineRgn(&rgnLeft, &rgn, RGN_OR);
        }
        if (nRight > 0)
        {
            const int xRight = rcPart.right - cxWindow;
            CRgn rgn;
            rgn.CreateRectRgn(xRight - nRight, yWindow, xRight, yWindow + 1);
            rgnRight.CombineRgn(&rgnRight, &rgn, RGN_OR);
        }
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
}

// A state of the arrow rows: up, down, left, right with four states each.
int SkinFrameArrowState(BOOL bVert, BOOL bFirst, int nState)
{
    const int nBase = bVert ? (bFirst ? 0 : 4) : (bFirst ? 8 : 12);
    return nBase + nState;
}
}  // namespace

CRect CQVTSkinManagerSchema::CalcFrameBorders(CQVTSkinObjectFrame* pFrame)
{
    HWND hWnd = pFrame->GetSafeHwnd();
    BOOL bBorderFill = FALSE;
    if (CQVTSkinManagerClass* pClass = pFrame->GetSkinClass())
        bBorderFill = pClass->GetThemeEnumValue(0, 0, qvtSkinPropBgType, 0) == 1;
    return CalcFrameBorders(SkinFrameStyle(hWnd), SkinFrameExStyle(hWnd), bBorderFill);
}

BOOL CQVTSkinManagerSchema::DrawThemeFrame(CDC* pDC, CQVTSkinObjectFrame* pFrame)
{
    if (pDC == nullptr || pFrame == nullptr || !::IsWindow(pFrame->GetSafeHwnd()))
        return FALSE;
    CQVTReadLock frameLock(pFrame->GetLock());
    HWND hWnd = pFrame->GetSafeHwnd();
    const DWORD dwStyle = SkinFrameStyle(hWnd);
    const DWORD dwExStyle = SkinFrameExStyle(hWnd);
    const BOOL bCaption = (dwStyle & WS_CAPTION) == WS_CAPTION;
    const DWORD dwEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    if (!bCaption && (dwExStyle & dwEdges) == 0 && (dwStyle & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME)) == 0)
        return TRUE;
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    rcWindow.OffsetRect(-rcWindow.TopLeft());
    CRect rcBorders = pFrame->GetBorders();

    if (!bCaption)
    {
        DrawFrameBorders(pDC, rcWindow, pFrame);
        return TRUE;
    }

    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const BOOL bTool = (dwExStyle & WS_EX_TOOLWINDOW) != 0;
    if (dwExStyle & WS_EX_CLIENTEDGE)
    {
        CRect rcClient(rcWindow);
        rcClient.DeflateRect(rcBorders.left, rcBorders.top, rcBorders.right, rcBorders.bottom);
        rcClient.InflateRect(pDpi->ScaleX(2), pDpi->ScaleY(2));
        DrawClientEdge(pDC, rcClient, pFrame);
        rcBorders.DeflateRect(pDpi->ScaleX(2), pDpi->ScaleY(2));
    }
    CQVTSkinManagerClass* pClass = GetClass(u"WINDOW");
    if (pClass == nullptr)
        return FALSE;
    const int nState = pFrame->IsActive() ? 1 : 2;
    const CRect rcLeft(0, rcBorders.top, rcBorders.left, rcWindow.bottom - rcBorders.bottom);
    const CRect rcRight(rcWindow.right - rcBorders.right, rcBorders.top, rcWindow.right,
                        rcWindow.bottom - rcBorders.bottom);
    const CRect rcBottom(0, rcWindow.bottom - rcBorders.bottom, rcWindow.right, rcWindow.bottom);
    // A part the skin lacks is filled, so no system frame shows through.
    auto drawPart = [&](CDC* pTarget, int nPart, const CRect& rc) {
        if (rc.IsRectEmpty())
            return;
        if (!pClass->DrawThemeBackground(pTarget, nPart, nState, rc))
            QVTSkinFillSolidRect(
                pTarget->GetSafeHdc(), rc,
                m_pMetrics->GetColor(pFrame->IsActive() ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    };
    drawPart(pDC, bTool ? 10 : 7, rcLeft);
    drawPart(pDC, bTool ? 11 : 8, rcRight);
    drawPart(pDC, bTool ? 12 : 9, rcBottom);

    CRect rcCaption(0, 0, rcWindow.right, rcBorders.top);
    if (rcCaption.IsRectEmpty())
        return TRUE;
    CQVTBufferDCEx dcCaption(pDC->GetSafeHdc(), rcCaption);
    int nCaptionPart = 1;
    if (bTool)
        nCaptionPart = 2;
    else if (dwStyle & WS_MINIMIZE)
        nCaptionPart = 3;
    else if (dwStyle & WS_MAXIMIZE)
        nCaptionPart = 5;
    drawPart(&dcCaption, nCaptionPart, rcCaption);

    const int b = GetFrameBorderCount(dwStyle, dwExStyle) * m_pMetrics->m_cxBorder;
    int xText = rcBorders.left + pDpi->ScaleX(2);
    if (HICON hIcon = GetWindowIcon(hWnd, TRUE))
    {
        const int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
        const int yIcon = b + (rcBorders.top - b - cyIcon) / 2;
        const DWORD dwLayout = ::GetLayout(dcCaption.GetSafeHdc());
        if (dwLayout & LAYOUT_RTL)
            ::SetLayout(dcCaption.GetSafeHdc(), dwLayout | LAYOUT_BITMAPORIENTATIONPRESERVED);
        ::DrawIconEx(dcCaption.GetSafeHdc(), xText, yIcon, hIcon, cxIcon, cyIcon, 0, nullptr, DI_NORMAL);
        if (dwLayout & LAYOUT_RTL)
            ::SetLayout(dcCaption.GetSafeHdc(), dwLayout);
        xText += cxIcon + pDpi->ScaleX(2);
    }
    const int xButtons = DrawCaptionButtons(&dcCaption, rcWindow, pFrame);

    const int nLength = ::GetWindowTextLengthW(hWnd);
    if (nLength > 0)
    {
        CString strText;
        ::GetWindowTextW(hWnd, strText.GetBuffer(nLength + 1), nLength + 1);
        strText.ReleaseBuffer();
        CRect rcText(xText, b + pDpi->ScaleY(1), xButtons, rcBorders.top);
        if (rcText.right > rcText.left)
        {
            HGDIOBJ hOldFont = ::SelectObject(
                dcCaption.GetSafeHdc(),
                (bTool ? m_pMetrics->m_fntSmallCaption : m_pMetrics->m_fntCaption).GetSafeHandle());
            dcCaption.SetTextColor(
                m_pMetrics->GetColor(pFrame->IsActive() ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            dcCaption.SetBkMode(TRANSPARENT);
            UINT nFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
            if (dwExStyle & WS_EX_RIGHT)
                nFlags |= DT_RIGHT;
            if (dwExStyle & WS_EX_RTLREADING)
                nFlags |= DT_RTLREADING;
            pClass->DrawThemeText(&dcCaption, bTool ? 2 : 1, nState, strText, nFlags, rcText);
            ::SelectObject(dcCaption.GetSafeHdc(), hOldFont);
        }
    }
    return TRUE;
}

int CQVTSkinManagerSchema::DrawCaptionButtons(CDC* pDC, CRect rc, CQVTSkinObjectFrame* pFrame)
{
    HWND hWnd = pFrame->GetSafeHwnd();
    const DWORD dwStyle = SkinFrameStyle(hWnd);
    const DWORD dwExStyle = SkinFrameExStyle(hWnd);
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    const CRect rcBorders = pFrame->GetBorders();
    const int b = GetFrameBorderCount(dwStyle, dwExStyle) * m_pMetrics->m_cxBorder;
    if ((dwStyle & WS_MAXIMIZE) && rcBorders.top > 6)
    {
        int nGrow = b - rcBorders.top;
        if (dwExStyle & WS_EX_CLIENTEDGE)
            nGrow += m_pMetrics->m_cxEdge;
        if (nGrow > 0)
            rc.InflateRect(nGrow, nGrow);
    }
    const int c = rcBorders.top;
    int nOffset = (dwExStyle & (WS_EX_WINDOWEDGE | WS_EX_STATICEDGE)) ? 1 : 0;
    if ((dwStyle & WS_THICKFRAME) || ((dwStyle & DS_MODALFRAME) && !(dwExStyle & WS_EX_TOOLWINDOW)))
        nOffset += (pDpi->ScaleY(1) + m_pMetrics->m_nBorderWidth) / 2;
    int nHeight = c - b - pDpi->ScaleY(5);
    if (dwExStyle & WS_EX_CLIENTEDGE)
    {
        nHeight -= pDpi->ScaleY(2);
        nOffset -= pDpi->ScaleY(1);
    }
    nHeight = std::max(nHeight, 0);
    CSize size(nHeight, nHeight);
    if (!(dwExStyle & WS_EX_TOOLWINDOW))
        size = GetCaptionButtonSize(GetClass(u"WINDOW"), nHeight);
    CRect rcButton(CPoint(rc.right - size.cx - b - pDpi->ScaleX(2), nOffset + (c - size.cy) / 2 + rc.top),
                   size);
    for (const auto& pButton : pFrame->GetCaptionButtons())
    {
        pButton->m_rcButton = rcButton;
        pButton->Draw(pDC, pFrame->IsActive());
        rcButton.OffsetRect(-(rcButton.Width() + pDpi->ScaleX(2)), 0);
    }
    return pDpi->ScaleX(2) + rcButton.right;
}

void CQVTSkinManagerSchema::DrawFrameBorders(CDC* pDC, CRect& rc, CQVTSkinObjectFrame* pFrame)
{
    HWND hWnd = pFrame->GetSafeHwnd();
    const DWORD dwStyle = SkinFrameStyle(hWnd);
    const DWORD dwExStyle = SkinFrameExStyle(hWnd);
    const HDC hDC = pDC->GetSafeHdc();
    const DWORD dwEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    if (dwExStyle & WS_EX_WINDOWEDGE)
        QVTSkinDrawEdge(m_pMetrics.get(), hDC, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
    else if (dwExStyle & WS_EX_STATICEDGE)
        QVTSkinDrawEdge(m_pMetrics.get(), hDC, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    else if ((dwStyle & WS_CAPTION) == WS_CAPTION || (dwExStyle & WS_EX_DLGMODALFRAME))
    {
        const int nColor =
            (dwExStyle & dwEdges) == 0 && !(dwStyle & WS_DLGFRAME) ? COLOR_WINDOWFRAME : COLOR_BTNFACE;
        QVTSkinFrameRect(hDC, rc, 1, m_pMetrics->GetColor(nColor));
        rc.DeflateRect(1, 1);
    }
    if (dwStyle & WS_THICKFRAME)
    {
        const int n = m_pMetrics->m_nBorderWidth;
        QVTSkinFrameRect(hDC, rc, n, m_pMetrics->GetColor(COLOR_BTNFACE));
        rc.DeflateRect(n, n);
    }
    else if ((dwStyle & WS_BORDER) && !(dwStyle & WS_DLGFRAME))
    {
        const int n = GetFrameBorderCount(dwStyle, dwExStyle);
        const int cx = n * m_pMetrics->m_cxBorder, cy = n * m_pMetrics->m_cyBorder;
        QVTSkinFrameRect(
            hDC, rc, cx, cy,
            m_pMetrics->GetColor(pFrame->IsActive() ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
        rc.DeflateRect(cx, cy);
    }
    if (dwExStyle & WS_EX_CLIENTEDGE)
        DrawClientEdge(pDC, rc, pFrame);
}

void CQVTSkinManagerSchema::DrawClientEdge(CDC* pDC, const CRect& rc, CQVTSkinObjectFrame* pFrame)
{
    const HDC hDC = pDC->GetSafeHdc();
    CQVTSkinManagerClass* pClass = pFrame->GetSkinClass();
    if (pClass != nullptr && pClass->GetThemeEnumValue(0, 0, qvtSkinPropBgType, 0) == 1)
    {
        QVTSkinFrameRect(hDC, rc, 1, pClass->GetThemeColor(0, 0, qvtSkinPropBorderColor, 0));
        CRect rcInner(rc);
        rcInner.DeflateRect(1, 1);
        const int n = std::max(0, m_pMetrics->m_cxEdge - 1);
        if (n > 0)
        {
            HBRUSH hBrush = pFrame->GetClientBrush(pDC);
            if (hBrush != nullptr)
                QVTSkinFrameRectBrush(hDC, rcInner, n, hBrush);
        }
        return;
    }
    CRect rcEdge(rc);
    QVTSkinDrawEdge(m_pMetrics.get(), hDC, &rcEdge, EDGE_SUNKEN, BF_RECT);
}

BOOL CQVTSkinManagerSchema::DrawThemeScrollBar(CDC* pDC, CQVTSkinObjectFrame* pFrame,
                                               QVT_SKIN_SCROLLBARPOSINFO* pSBInfo)
{
    if (pDC == nullptr || pFrame == nullptr || pSBInfo == nullptr || ::IsRectEmpty(&pSBInfo->rc))
        return FALSE;
    CRect rcBar(pSBInfo->rc);
    const HDC hDC = pDC->GetSafeHdc();
    if (HBRUSH hBrush = m_pMetrics->GetBrush(COLOR_SCROLLBAR))
        ::FillRect(hDC, &rcBar, hBrush);
    CQVTSkinManagerClass* pClass = GetClass(u"SCROLLBAR");
    if (pClass == nullptr)
        return FALSE;

    const LONGLONG nRange = static_cast<LONGLONG>(pSBInfo->posMax) - pSBInfo->page - pSBInfo->posMin;
    BOOL bEnabled = nRange >= 0 && !pSBInfo->fDisabled;
    if (pSBInfo->nBar == SB_CTL && (SkinFrameStyle(pFrame->GetSafeHwnd()) & WS_DISABLED))
        bEnabled = FALSE;
    const BOOL bTracked = pFrame->IsTracking();
    const BOOL bVert = pSBInfo->fVert;
    const int nThumb = bEnabled && pSBInfo->pxDownArrow - pSBInfo->pxUpArrow > pSBInfo->cpxThumb ? 1 : 0;

    auto partState = [&](int ht) {
        if (!bEnabled)
            return 4;
        if (pSBInfo->ht == ht)
            return bTracked ? 3 : 2;
        return 1;
    };
    auto axisRect = [&](int nFrom, int nTo) {
        return bVert ? CRect(pSBInfo->pxLeft, nFrom, pSBInfo->pxRight, nTo)
                     : CRect(nFrom, pSBInfo->pxLeft, nTo, pSBInfo->pxRight);
    };
    const int nImageCount = pClass->GetThemeInt(1, 1, qvtSkinPropImageCount, 16);
    const BOOL bMouseOver = pSBInfo->ht != 0;
    auto drawArrow = [&](BOOL bFirst, const CRect& rc) {
        const int ht = bFirst ? qvtSkinScrollFirstArrow : qvtSkinScrollSecondArrow;
        int nState = SkinFrameArrowState(bVert, bFirst, partState(ht));
        if (bEnabled && bMouseOver && nImageCount == 20 && partState(ht) == 1)
            nState = bVert ? (bFirst ? 17 : 18) : (bFirst ? 19 : 20);
        if (!pClass->DrawThemeBackground(pDC, 1, nState, rc))
            QVTSkinDrawFrameControl(this, hDC, const_cast<CRect*>(&rc), DFC_SCROLL,
                                    (bVert ? (bFirst ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                                           : (bFirst ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)) |
                                        (bEnabled ? 0 : DFCS_INACTIVE));
    };
    drawArrow(TRUE, axisRect(pSBInfo->pxTop, pSBInfo->pxUpArrow));
    drawArrow(FALSE, axisRect(pSBInfo->pxDownArrow, pSBInfo->pxBottom));

    const int nLowerTrack = bVert ? 6 : 4, nUpperTrack = bVert ? 7 : 5;
    if (nThumb == 0)
    {
        CRect rcTrack = axisRect(pSBInfo->pxUpArrow, pSBInfo->pxDownArrow);
        if (!rcTrack.IsRectEmpty())
            pClass->DrawThemeBackground(pDC, nLowerTrack, bEnabled ? 1 : 4, rcTrack);
        return TRUE;
    }
    CRect rcBefore = axisRect(pSBInfo->pxUpArrow, pSBInfo->pxThumbTop);
    CRect rcAfter = axisRect(pSBInfo->pxThumbBottom, pSBInfo->pxDownArrow);
    if (!rcBefore.IsRectEmpty())
        pClass->DrawThemeBackground(pDC, nLowerTrack, partState(qvtSkinScrollPageBefore), rcBefore);
    if (!rcAfter.IsRectEmpty())
        pClass->DrawThemeBackground(pDC, nUpperTrack, partState(qvtSkinScrollPageAfter), rcAfter);
    CRect rcThumb = axisRect(pSBInfo->pxThumbTop, pSBInfo->pxThumbBottom);
    const int nThumbState = partState(qvtSkinScrollThumb);
    pClass->DrawThemeBackground(pDC, bVert ? 3 : 2, nThumbState, rcThumb);
    const int nGripLimit = bVert ? QVTDpiScaler()->ScaleX(13) : QVTDpiScaler()->ScaleX(9);
    if (pSBInfo->cpxThumb > nGripLimit)
        pClass->DrawThemeBackground(pDC, bVert ? 9 : 8, nThumbState, rcThumb);
    return TRUE;
}

CQVTSkinManagerSchema::FRAMEREGION* CQVTSkinManagerSchema::GetFrameRegion(CQVTSkinObjectFrame* pFrame,
                                                                          CSize sz, BOOL bToolWindow)
{
    const CRect rcBorders = pFrame->GetBorders();
    ::EnterCriticalSection(&m_cs);
    for (const auto& pRegion : m_frameRegions)
        if (pRegion->bToolWindow == bToolWindow && pRegion->szWindow == sz && pRegion->rcBorders == rcBorders)
        {
            FRAMEREGION* pFound = pRegion.get();
            ::LeaveCriticalSection(&m_cs);
            return pFound;
        }
    ::LeaveCriticalSection(&m_cs);

    auto pRegion = std::make_unique<FRAMEREGION>();
    pRegion->bToolWindow = bToolWindow;
    pRegion->szWindow = sz;
    pRegion->rcBorders = rcBorders;
    pRegion->rgnLeft.CreateRectRgn(0, 0, 0, 0);
    pRegion->rgnRight.CreateRectRgn(0, 0, 0, 0);
    if (CQVTSkinManagerClass* pClass = GetClass(u"WINDOW"))
    {
        const CRect rcCaption(0, 0, sz.cx, rcBorders.top);
        const CRect rcLeft(0, rcBorders.top, rcBorders.left, sz.cy - rcBorders.bottom);
        const CRect rcRight(sz.cx - rcBorders.right, rcBorders.top, sz.cx, sz.cy - rcBorders.bottom);
        const CRect rcBottom(0, sz.cy - rcBorders.bottom, sz.cx, sz.cy);
        const int nParts[4] = {bToolWindow ? 2 : 1, bToolWindow ? 10 : 7, bToolWindow ? 11 : 8,
                               bToolWindow ? 12 : 9};
        const CRect* pRects[4] = {&rcCaption, &rcLeft, &rcRight, &rcBottom};
        for (int i = 0; i < 4; ++i)
            SkinFrameScanPart(pClass, nParts[i], *pRects[i], sz.cx, pRegion->rgnLeft, pRegion->rgnRight);
    }
    ::EnterCriticalSection(&m_cs);
    if (m_frameRegions.size() >= kSkinFrameRegionCacheSize)
        m_frameRegions.erase(m_frameRegions.begin());
    m_frameRegions.push_back(std::move(pRegion));
    FRAMEREGION* pResult = m_frameRegions.back().get();
    ::LeaveCriticalSection(&m_cs);
    return pResult;
}

HRGN CQVTSkinManagerSchema::CalcFrameRegion(CQVTSkinObjectFrame* pFrame, CSize sz)
{
    if (pFrame == nullptr || sz.cx <= 0 || sz.cy <= 0)
        return nullptr;
    HWND hWnd = pFrame->GetSafeHwnd();
    const DWORD dwStyle = SkinFrameStyle(hWnd);
    const DWORD dwExStyle = SkinFrameExStyle(hWnd);
    if ((dwStyle & WS_MAXIMIZE) && !(dwStyle & WS_CHILD))
    {
        int n = pFrame->GetBorders().left;
        if (dwExStyle & WS_EX_CLIENTEDGE)
            n -= QVTDpiScaler()->ScaleX(2);
        n = std::max(n, 0);
        return ::CreateRectRgn(n, n, sz.cx - n, sz.cy - n);
    }
    HRGN hRgn = ::CreateRectRgn(0, 0, sz.cx, sz.cy);
    if ((dwStyle & WS_CAPTION) != WS_CAPTION)
        return hRgn;
    // Regions are read under the cache's lock: another thread may drop the
    // entry it found once this one adds more.
    FRAMEREGION* pRegion = GetFrameRegion(pFrame, sz, (dwExStyle & WS_EX_TOOLWINDOW) != 0);
    ::EnterCriticalSection(&m_cs);
    BOOL bCached = FALSE;
    for (const auto& p : m_frameRegions)
        bCached = bCached || p.get() == pRegion;
    if (bCached)
    {
        ::CombineRgn(hRgn, hRgn, pRegion->rgnLeft, RGN_DIFF);
        HRGN hRight = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(hRight, pRegion->rgnRight, nullptr, RGN_COPY);
        ::OffsetRgn(hRight, sz.cx, 0);
        ::CombineRgn(hRgn, hRgn, hRight, RGN_DIFF);
        ::DeleteObject(hRight);
    }
    ::LeaveCriticalSection(&m_cs);
    return hRgn;
}

void CQVTSkinManagerSchema::FreeFrameRegions()
{
    ::EnterCriticalSection(&m_cs);
    m_frameRegions.clear();
    ::LeaveCriticalSection(&m_cs);
}
