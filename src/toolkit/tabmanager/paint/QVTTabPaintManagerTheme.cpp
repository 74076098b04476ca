#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

#include <algorithm>
#include <vector>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabClipScope.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

CQVTTabPaintManagerTheme::CQVTTabPaintManagerTheme() {}

CQVTTabPaintManagerTheme::~CQVTTabPaintManagerTheme() {}

CQVTTabPaintManagerColorSet* CQVTTabPaintManagerTheme::GetColorSet() const
{
    return m_pPaintManager ? m_pPaintManager->GetColorSet() : nullptr;
}

int CQVTTabPaintManagerTheme::GetPosition() const
{
    return m_pPaintManager ? m_pPaintManager->GetPosition() : qvtTabPositionTop;
}

int CQVTTabPaintManagerTheme::GetDefaultColorSet() const
{
    return qvtTabColorDefault;
}

void CQVTTabPaintManagerTheme::RefreshMetrics()
{
    if (!m_pPaintManager)
        return;
    // A memory DC measures as the screen's does, without the window server.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CQVTFontDC font(&dc, &m_pPaintManager->GetNormalFont());
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), _T(" "), 1, &size);
    m_nFontHeight = std::max(static_cast<int>(size.cy) + 3, 18);
}

int CQVTTabPaintManagerTheme::GetHeaderHeight(CQVTTabManager* pTabManager)
{
    if (!m_pPaintManager->m_bShowTabs)
        return 0;
    const int nRows = std::max(pTabManager->GetRowCount(), 1);
    int nHeight = nRows * GetRowHeight(pTabManager) + (nRows - 1) * m_nRowMargin;
    if (pTabManager->GetLayout() == qvtTabLayoutRotated)
        for (int i = 0; i < pTabManager->GetItemCount(); ++i)
            nHeight = std::max(nHeight, pTabManager->GetItem(i)->GetButtonLength());
    const CRect rcMargin = GetHeaderMargin();
    return nHeight + rcMargin.top + rcMargin.bottom;
}

CRect CQVTTabPaintManagerTheme::GetHeaderRect(CRect rc, CQVTTabManager* pTabManager)
{
    const int nHeight = GetHeaderHeight(pTabManager);
    switch (GetPosition())
    {
    case qvtTabPositionLeft:
        return CRect(rc.left, rc.top, rc.left + nHeight, rc.bottom);
    case qvtTabPositionBottom:
        return CRect(rc.left, rc.bottom - nHeight, rc.right, rc.bottom);
    case qvtTabPositionRight:
        return CRect(rc.right - nHeight, rc.top, rc.right, rc.bottom);
    default:
        return CRect(rc.left, rc.top, rc.right, rc.top + nHeight);
    }
}

CRect AFX_CDECL CQVTTabPaintManagerTheme::ClipBoxWithin(CDC* pDC, const CRect& rcHeader)
{
    CRect rcClip;
    pDC->GetClipBox(rcClip);
    CRect rc;
    rc.IntersectRect(rcClip, rcHeader);
    return rc;
}

CRect CQVTTabPaintManagerTheme::GetHeaderClipBox(CDC* pDC, CQVTTabManager* pTabManager)
{
    return ClipBoxWithin(pDC, pTabManager->GetHeaderRect());
}

CRect CQVTTabPaintManagerTheme::FillFramedClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl,
                                                 COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const CRect rc = GetClientRect(rcControl, pTabManager);
    const int nFrame = m_pPaintManager->m_nClientFrame;
    if (nFrame == 0 || nFrame == 1)
        pColorSet->FillClient(pDC, rc, pTabManager);
    if (nFrame == 0)
        QVTTabDraw::Draw3dRect(pDC, rc, clrTopLeft, clrBottomRight);
    else if (nFrame == 1)
        DrawSingleLineBorder(pDC, rc, GetPosition(), clrTopLeft, clrBottomRight);
    return rc;
}

CRect CQVTTabPaintManagerTheme::GetClientRect(CRect rc, CQVTTabManager* pTabManager)
{
    if (!m_pPaintManager->m_bShowTabs)
        return rc;
    const CRect rcHeader = GetHeaderRect(rc, pTabManager);
    switch (GetPosition())
    {
    case qvtTabPositionLeft:
        rc.left = rcHeader.right - 1;
        break;
    case qvtTabPositionBottom:
        rc.bottom = rcHeader.top + 1;
        break;
    case qvtTabPositionRight:
        rc.right = rcHeader.left + 1;
        break;
    default:
        rc.top = rcHeader.bottom - 1;
    }
    return rc;
}

CRect CQVTTabPaintManagerTheme::GetHeaderMargin()
{
    return m_rcHeaderMargin;
}

CRect CQVTTabPaintManagerTheme::GetClientMargin()
{
    return m_pPaintManager->m_rcClientMargin;
}

int CQVTTabPaintManagerTheme::GetItemLength(CDC* pDC, CQVTTabManagerItem* pItem)
{
    return m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

int CQVTTabPaintManagerTheme::GetRowHeight(CQVTTabManager* pTabManager)
{
    const CRect& rcMargin = m_pPaintManager->m_rcButtonMargin;
    int nHeight = m_nFontHeight + rcMargin.top + rcMargin.bottom;
    if (m_pPaintManager->m_bShowIcons)
    {
        CSize szIcon = m_pPaintManager->m_szIcon;
        pTabManager->DrawIcon(nullptr, CPoint(0, 0), nullptr, FALSE, szIcon);
        nHeight = std::max(
            nHeight, static_cast<int>(rcMargin.top + rcMargin.bottom + 4 + std::max(szIcon.cx, szIcon.cy)));
    }
    return nHeight;
}

CRect CQVTTabPaintManagerTheme::GetButtonDrawRect(const CQVTTabManagerItem* pItem)
{
    CRect rc = pItem->GetRect();
    rc.InflateRect(2, 2);
    return rc;
}

CRect CQVTTabPaintManagerTheme::FillClient(CDC* /*pDC*/, CQVTTabManager* /*pTabManager*/, CRect /*rcControl*/)
{
    return CRect(0, 0, 0, 0);
}

void CQVTTabPaintManagerTheme::AdjustClientRect(CQVTTabManager* pTabManager, CRect& rcClient)
{
    const int nPosition = GetPosition();
    CQVTTabPaintManager::DeflateRectByPosition(rcClient, m_pPaintManager->m_rcControlMargin, nPosition);
    rcClient = GetClientRect(rcClient, pTabManager);
    CQVTTabPaintManager::DeflateRectByPosition(rcClient, GetClientMargin(), nPosition);
    if (m_pPaintManager->m_nClientFrame == 0)
        rcClient.DeflateRect(2, 2);
    else if (m_pPaintManager->m_nClientFrame == 1)
        CQVTTabPaintManager::DeflateRectByPosition(rcClient, CRect(0, 2, 0, 0), nPosition);
}

void CQVTTabPaintManagerTheme::DrawSingleButton(CDC* /*pDC*/, CQVTTabManagerItem* /*pItem*/) {}

int CQVTTabPaintManagerTheme::DrawText(CDC* pDC, CQVTTabManager* /*pTabManager*/, const CString& strText,
                                       LPRECT lpRect, UINT nFormat)
{
    return pDC->DrawText(strText, lpRect, nFormat);
}

void CQVTTabPaintManagerTheme::DrawItemIfVisible(CDC* pDC, CQVTTabManagerItem* pItem, const CRect& rcClipBox)
{
    if (!pItem->IsVisible())
        return;
    CRect rcDraw = GetButtonDrawRect(pItem);
    CRect rcMeet;
    if (rcMeet.IntersectRect(rcDraw, rcClipBox))
        DrawSingleButton(pDC, pItem);
}

void CQVTTabPaintManagerTheme::DrawRow(CQVTTabManager* pTabManager, CDC* pDC, int nFirst, int nLast,
                                       const CRect& rcClipBox)
{
    nLast = std::min(nLast, pTabManager->GetItemCount() - 1);
    CQVTTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    const int nSelected = pSelected ? pSelected->GetIndex() : -1;
    const BOOL bSelectedInRow = nSelected >= nFirst && nSelected <= nLast;
    if (m_bForwardOrder)
    {
        const int nSplit = bSelectedInRow ? nSelected : nLast + 1;
        for (int i = nFirst; i < nSplit; ++i)
            DrawItemIfVisible(pDC, pTabManager->GetItem(i), rcClipBox);
        for (int i = nLast; i > nSplit; --i)
            DrawItemIfVisible(pDC, pTabManager->GetItem(i), rcClipBox);
    }
    else
    {
        for (int i = nLast; i >= nFirst; --i)
            if (i != nSelected)
                DrawItemIfVisible(pDC, pTabManager->GetItem(i), rcClipBox);
    }
    if (bSelectedInRow)
        DrawItemIfVisible(pDC, pSelected, rcClipBox);
}

void CQVTTabPaintManagerTheme::DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rc)
{
    CQVTTabPaintManager* pPaintManager = m_pPaintManager;
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    const int nPosition = GetPosition();
    if (pTabManager->IsDrawStaticFrame())
    {
        pDC->Draw3dRect(rc, pColorSet->GetFrameColor(), pColorSet->GetFrameColor());
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(rc, pColorSet->GetBackgroundColor(), pColorSet->GetBackgroundColor());
        CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(1, 0, 1, 1), nPosition);
    }
    if (pPaintManager->m_bFillBackground)
        pDC->FillSolidRect(rc, pColorSet->GetBackgroundColor());
    CQVTTabPaintManager::DeflateRectByPosition(rc, pPaintManager->m_rcControlMargin, nPosition);
    pDC->SetBkMode(TRANSPARENT);
    if (pPaintManager->m_bFillBackground)
        FillClient(pDC, pTabManager, rc);

    CRect rcClipBox;
    if (pPaintManager->m_bClipHeader)
        rcClipBox = GetHeaderClipBox(pDC, pTabManager);
    else
        pDC->GetClipBox(rcClipBox);
    if (!rcClipBox.IsRectEmpty())
    {
        CQVTTabClipScope clip(pDC);
        if (pPaintManager->m_bClipHeader)
        {
            clip.Intersect(rcClipBox);
            pColorSet->FillHeader(pDC, pTabManager->GetHeaderRect(), pTabManager);
        }
        CQVTTabManager::CRowIndexer& rows = pTabManager->GetRowIndexer();
        for (int nRow = rows.GetRowCount() - 1; nRow >= 0; --nRow)
        {
            const CQVTTabManager::CRowIndexer::ROW_ITEMS& row = rows.GetRowItems()[nRow];
            DrawRow(pTabManager, pDC, row.nFirstItem, row.nLastItem, rcClipBox);
        }
    }

    CQVTTabManagerNavigateButtons& buttons = pTabManager->GetNavigateButtons();
    for (int i = buttons.GetSize() - 1; i >= 0; --i)
        buttons.GetAt(i)->Draw(pDC);
}

void CQVTTabPaintManagerTheme::DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    CRect rc(lpRect);
    const BOOL bStaticFrame = m_pPaintManager->m_bStaticFrame;
    switch (nPart)
    {
    case workspacePartBorder:
        if (bStaticFrame)
        {
            const int w = rc.Width(), h = rc.Height();
            const int x1 = pScaler->ScaleX(1), x2 = pScaler->ScaleX(2), y1 = pScaler->ScaleY(1);
            pDC->Draw3dRect(x1, 0, w - x2, h - y1, ::GetSysColor(COLOR_3DFACE), ::GetSysColor(COLOR_3DFACE));
            pDC->Draw3dRect(0, 0, w, h, pColorSet->GetFrameColor(), pColorSet->GetFrameColor());
        }
        break;
    case workspacePartVSplitter:
        if (bStaticFrame)
            lpRect->top -= 1;
        else
            ::InflateRect(lpRect, 2, 2);
        break;
    case workspacePartVSplitterFill:
    case workspacePartHSplitterFill:
        if (bStaticFrame)
        {
            pDC->FillSolidRect(rc, pColorSet->GetBackgroundColor());
            if (nPart == workspacePartVSplitterFill)
                pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), pColorSet->GetFrameColor());
            else
                pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pColorSet->GetFrameColor());
        }
        else
            pDC->FillSolidRect(rc, pColorSet->GetHeaderColor());
        break;
    case workspacePartWorkspace:
        pDC->FillSolidRect(rc, pColorSet->GetWorkspaceColor());
        break;
    }
}

void AFX_CDECL CQVTTabPaintManagerTheme::DrawPolyLine(CDC* pDC, COLORREF clr, const POINT* pts, int nCount)
{
    if (clr == 0xFFFFFFFF || nCount < 1)
        return;
    CQVTPenDC pen(pDC->GetSafeHdc(), clr);
    CPoint pt = pts[0];
    pDC->MoveTo(pt);
    for (int i = 1; i < nCount; ++i)
    {
        pt.Offset(pts[i].x, pts[i].y);
        pDC->LineTo(pt);
    }
}

void AFX_CDECL CQVTTabPaintManagerTheme::DrawSingleLineBorder(CDC* pDC, CRect rc, int nPosition,
                                                              COLORREF clrA, COLORREF clrB)
{
    switch (nPosition)
    {
    case qvtTabPositionTop:
        if (clrA != 0xFFFFFFFF)
            pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clrA);
        break;
    case qvtTabPositionLeft:
        if (clrA != 0xFFFFFFFF)
            pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clrA);
        break;
    case qvtTabPositionBottom:
        if (clrB != 0xFFFFFFFF)
            pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrB);
        break;
    case qvtTabPositionRight:
        if (clrB != 0xFFFFFFFF)
            pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrB);
        break;
    }
}

COLORREF CQVTTabPaintManagerTheme::DrawPolygonGradient(CDC* pDC, CQVTTabManagerItem* pItem, const POINT* pts,
                                                       int nCount, BOOL bAbsolute)
{
    if (nCount < 3)
        return 0xFFFFFFFF;
    std::vector<CPoint> arrPoints(nCount);
    arrPoints[0] = pts[0];
    for (int i = 1; i < nCount; ++i)
        arrPoints[i] = bAbsolute ? CPoint(pts[i]) : arrPoints[i - 1] + CPoint(pts[i]);
    CRect rcBounds(arrPoints[0], arrPoints[0]);
    for (const CPoint& pt : arrPoints)
    {
        rcBounds.left = std::min(rcBounds.left, pt.x);
        rcBounds.top = std::min(rcBounds.top, pt.y);
        rcBounds.right = std::max(rcBounds.right, pt.x + 1);
        rcBounds.bottom = std::max(rcBounds.bottom, pt.y + 1);
    }

    // The fill is rendered off screen for the polygon's box, then copied
    // through the polygon as clip region.
    CDC dcMemory;
    CBitmap bitmap;
    if (!dcMemory.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, rcBounds.Width(), rcBounds.Height()))
        return 0xFFFFFFFF;
    CBitmap* pOldBitmap = dcMemory.SelectObject(&bitmap);
    const COLORREF clrFill =
        GetColorSet()->FillNavigateArea(&dcMemory, CRect(0, 0, rcBounds.Width(), rcBounds.Height()), pItem);

    {
        CQVTTabClipScope clip(pDC);
        clip.IntersectPolygon(arrPoints.data(), nCount);
        pDC->BitBlt(rcBounds.left, rcBounds.top, rcBounds.Width(), rcBounds.Height(), &dcMemory, 0, 0,
                    SRCCOPY);
    }
    dcMemory.SelectObject(pOldBitmap);
    return clrFill;
}
