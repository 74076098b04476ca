// The task dialog client's width, layout and control placement.
#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/controls/taskdialog/QVTTaskButtonTheme.h"
#include "toolkit/controls/taskdialog/QVTTaskDialogClient.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace TD = QVTTaskDialogAPI;

CSize CQVTTaskDialogClient::MeasureWrapped(const CString& strText, CFont* pFont, int nWidth,
                                           UINT nExtraFormat)
{
    CClientDC dc(this);
    CQVTFontDC font(&dc, pFont);
    CRect rc(0, 0, std::max(nWidth, 1), 0);
    dc.DrawText(strText, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | nExtraFormat);
    return rc.Size();
}

CSize CQVTTaskDialogClient::MeasureTextWidth(const CString& strText, CFont* pFont, int& nWidth,
                                             int nPreferred, int nExtra, BOOL* pbFits)
{
    CClientDC dc(this);
    CQVTFontDC font(&dc, pFont);
    CRect rcLine(0, 0, 0, 0);
    dc.DrawText(strText, &rcLine, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    CSize szExtent = rcLine.Size();
    if (pbFits)
        *pbFits = TRUE;
    if (szExtent.cx > DluToPixelsX(nPreferred))
    {
        // A long text widens the dialog by E per W of its extent.
        nWidth += ::MulDiv(szExtent.cx, nExtra, nPreferred);
        if (pbFits)
            *pbFits = FALSE;
        return MeasureWrapped(strText, pFont, nWidth);
    }
    if (szExtent.cx > nWidth)
    {
        CSize szWrapped = MeasureWrapped(strText, pFont, nWidth);
        if (szWrapped.cx <= nWidth)
            return szExtent;
        if (pbFits)
            *pbFits = FALSE;
        return szWrapped;
    }
    return szExtent;
}

CSize CQVTTaskDialogClient::MeasureText(const CQVTTaskDialogText& text, CFont* pFont, int nWidth)
{
    if (text.IsEmpty())
        return CSize(0, 0);
    if (text.m_pElement && m_pMarkupContext)
    {
        MarkupSetDefaultFont(m_pMarkupContext, static_cast<HFONT>(pFont ? pFont->GetSafeHandle() : nullptr),
                             (COLORREF)-1);
        return MarkupMeasureElement(text.m_pElement, std::max(nWidth, 1), INT_MAX);
    }
    return MeasureWrapped(text.GetText(), pFont, nWidth);
}

void CQVTTaskDialogClient::MeasureTextRecord(const CQVTTaskDialogText& text, int& nWidth,
                                             BOOL bMainInstruction)
{
    if (text.IsEmpty())
        return;
    if (text.m_pElement && m_pMarkupContext)
    {
        // Unconstrained first; past the preferred width the dialog widens by
        // the same rule as for text, then the element wraps at that width.
        CFont* pFont = bMainInstruction ? m_fontLarge.GetFont() : m_font.GetFont();
        MarkupSetDefaultFont(m_pMarkupContext, static_cast<HFONT>(pFont->GetSafeHandle()), (COLORREF)-1);
        CSize size = MarkupMeasureElement(text.m_pElement, INT_MAX, INT_MAX);
        int nPreferred = bMainInstruction ? 275 : 330, nExtra = bMainInstruction ? 14 : 7;
        int nGrown = nWidth;
        if (size.cx > DluToPixelsX(nPreferred))
            nGrown += ::MulDiv(size.cx, nExtra, nPreferred);
        if (size.cx > nWidth)
        {
            size = MarkupMeasureElement(text.m_pElement, std::max(nGrown, 1), INT_MAX);
            nWidth = std::max<int>(nWidth, std::min<int>(size.cx, nGrown));
        }
        return;
    }
    BOOL bFits = TRUE;
    int nMeasureWidth = nWidth;
    CSize size = bMainInstruction
                     ? MeasureTextWidth(text.GetText(), m_fontLarge.GetFont(), nMeasureWidth, 275, 14, &bFits)
                     : MeasureTextWidth(text.GetText(), m_font.GetFont(), nMeasureWidth, 330, 7, &bFits);
    if (!bFits)
        nWidth = std::max<int>(size.cx, nWidth);
}

int CQVTTaskDialogClient::GetMainIconColumn() const
{
    return m_hIconMain ? m_szIconMain.cx + m_szMargin.cx : 0;
}

int CQVTTaskDialogClient::GetFooterIconColumn() const
{
    return m_hIconFooter ? m_szIconFooter.cx + m_szMargin.cx : 0;
}

int CQVTTaskDialogClient::CalcClientWidth()
{
    int mx = m_szMargin.cx;
    if (m_pConfig->cxWidth != 0)
    {
        // A width asked for, within what the screen allows.
        int nWidth =
            ::MulDiv((int)std::min<UINT>(m_pConfig->cxWidth, 0x7FFF), LOWORD(::GetDialogBaseUnits()), 4) -
            2 * mx;
        return std::min(std::max(nWidth, m_nMinClientWidth), m_nMaxClientWidth);
    }

    int nWidth = m_nMinClientWidth;
    int nRowWidth = 2 * mx - m_nButtonGap;
    for (INT_PTR i = 0; i < m_arrCommonButtons.GetSize(); ++i)
        nRowWidth += m_nButtonGap + m_mapWndSize[m_arrCommonButtons[i]->m_hWnd].cx;
    if (!IsCommandLinks())
        nWidth = std::max(nWidth, nRowWidth);
    if (m_pBtnVerify)
        nWidth = std::max<int>(nWidth, mx + m_mapWndSize[m_pBtnVerify->m_hWnd].cx + nRowWidth);
    if (m_pBtnExpando)
        nWidth = std::max<int>(nWidth, mx + m_mapWndSize[m_pBtnExpando->m_hWnd].cx + nRowWidth);

    int nMainColumn = GetMainIconColumn();
    int nFooterColumn = GetFooterIconColumn();
    int nExpandedColumn = IsExpandedInFooter() ? nFooterColumn : nMainColumn;
    for (INT_PTR i = 0; i < m_arrRadioButtons.GetSize(); ++i)
        nWidth = std::max<int>(nWidth, m_mapWndSize[m_arrRadioButtons[i]->m_hWnd].cx + nMainColumn);
    if (m_pBtnVerify)
        nWidth = std::max<int>(nWidth, m_mapWndSize[m_pBtnVerify->m_hWnd].cx);
    if (m_pBtnExpando)
        nWidth = std::max<int>(nWidth, m_mapWndSize[m_pBtnExpando->m_hWnd].cx);

    int nText = nWidth - nMainColumn;
    MeasureTextRecord(*m_pTexts[textMainInstruction], nText, TRUE);
    nWidth = nText + nMainColumn;
    nText = nWidth - nMainColumn;
    MeasureTextRecord(*m_pTexts[textContent], nText, FALSE);
    nWidth = nText + nMainColumn;

    for (INT_PTR i = 0; i < m_arrCommandButtons.GetSize(); ++i)
    {
        CQVTTaskButtonTheme* pTheme = static_cast<CQVTTaskButtonTheme*>(m_arrCommandButtons[i]->GetTheme());
        pTheme->RefreshCaption(m_arrCommandButtons[i]);
        int nTitle = 0;
        CSize szTitle = pTheme->GetTitle().IsEmpty()
                            ? CSize(0, 0)
                            : MeasureTextWidth(pTheme->GetTitle(), m_fontLarge.GetFont(), nTitle, 120, 30);
        int nNote = 0;
        if (!pTheme->GetNote().IsEmpty())
        {
            CQVTTaskDialogText note(this);
            note.m_strText = pTheme->GetNote();
            MeasureTextRecord(note, nNote, FALSE);
            if (nNote == 0)
                nNote = MeasureWrapped(note.m_strText, m_font.GetFont(), 0x7FFF).cx;
        }
        int nLink = std::max<int>(szTitle.cx, nNote) + (m_pGlyphImage ? m_szGlyph.cx : 0) +
                    m_nCommandTextIndent + 2 * mx;
        nWidth = std::max(nWidth, nLink + 2 + nMainColumn);
    }

    nText = nWidth - nExpandedColumn;
    MeasureTextRecord(*m_pTexts[textExpandedInformation], nText, FALSE);
    nWidth = nText + nExpandedColumn;
    nText = nWidth - nFooterColumn;
    MeasureTextRecord(*m_pTexts[textFooter], nText, FALSE);
    nWidth = nText + nFooterColumn;
    return std::min(nWidth, m_nMaxClientWidth);
}

void CQVTTaskDialogClient::CalcButtonArea(int nWidth, int nTop)
{
    int mx = m_szMargin.cx, my = m_szMargin.cy;
    CSize szColumn(0, 0);
    for (CQVTButton* pButton : {m_pBtnExpando, m_pBtnVerify})
    {
        if (!pButton)
            continue;
        CSize size = m_mapWndSize[pButton->m_hWnd];
        szColumn.cx = std::max(szColumn.cx, size.cx);
        szColumn.cy += size.cy;
    }
    // Rows of buttons, each as wide as its buttons, right-aligned.
    int nAvailable = nWidth - m_nButtonGap - szColumn.cx;
    int nRowsHeight = 0, nRowWidth = 0, nRowHeight = 0, nRows = 0;
    for (INT_PTR i = 0; i < m_arrCommonButtons.GetSize(); ++i)
    {
        CSize size = m_mapWndSize[m_arrCommonButtons[i]->m_hWnd];
        if (nRowWidth > 0 && nRowWidth + m_nButtonGap + size.cx > nAvailable)
        {
            nRowsHeight += nRowHeight + m_nButtonRowGap;
            nRowWidth = nRowHeight = 0;
        }
        nRowWidth += (nRowWidth > 0 ? m_nButtonGap : 0) + size.cx;
        nRowHeight = std::max<int>(nRowHeight, size.cy);
        nRows = 1;
    }
    nRowsHeight += nRows ? nRowHeight : 0;
    int nHeight = std::max<int>(nRowsHeight, szColumn.cy) + 2 * my - 2;
    m_rcCommon = CRect(mx, nTop, mx + nWidth, nTop + nHeight);
}

CSize CQVTTaskDialogClient::Layout(int nWidth)
{
    int mx = m_szMargin.cx, my = m_szMargin.cy, sy = m_szSpacing.cy;
    int nMainColumn = GetMainIconColumn();
    int nFooterColumn = GetFooterIconColumn();
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    int nTextWidth = nWidth - nMainColumn;

    CSize szMain = MeasureText(*m_pTexts[textMainInstruction], m_fontLarge.GetFont(), nTextWidth);
    m_rcMainInstruction = CRect(CPoint(mx + nMainColumn, my), CSize(nTextWidth, szMain.cy));
    CSize szContent = MeasureText(*m_pTexts[textContent], m_font.GetFont(), nTextWidth);
    m_rcContent = CRect(CPoint(mx + nMainColumn, m_rcMainInstruction.bottom + pDpi->ScaleY(1) + my),
                        CSize(nTextWidth, szContent.cy));
    int y = std::max<int>(m_rcContent.bottom + sy, 4 * my - pDpi->ScaleY(3));

    const CQVTTaskDialogText& expanded = *m_pTexts[textExpandedInformation];
    if (!IsExpandedInFooter())
    {
        if (!expanded.IsEmpty() && m_bExpanded)
        {
            CSize size = MeasureText(expanded, m_font.GetFont(), nTextWidth);
            m_rcExpandedInformation = CRect(CPoint(mx + nMainColumn, y + sy), CSize(nTextWidth, size.cy));
            y = m_rcExpandedInformation.bottom + sy;
        }
        else if (!expanded.IsEmpty())
        {
            m_rcExpandedInformation = CRect(m_rcContent.left, y, m_rcContent.right, y + sy);
            y += sy;
        }
        else
        {
            m_rcExpandedInformation = CRect(m_rcContent.left, y, m_rcContent.right, y);
        }
    }

    if (m_wndProgressBar.m_hWnd)
    {
        int x = m_rcContent.left;
        int nHeight = 5 * my / 2 - my;
        m_wndProgressBar.SetWindowPos(nullptr, x, y + my, mx + nWidth - x, nHeight,
                                      SWP_NOZORDER | SWP_NOACTIVATE);
        y += my + nHeight + my;
    }

    m_rcRadio = CRect(m_rcContent.left + mx, y, m_rcContent.left + mx, y);
    if (m_arrRadioButtons.GetSize() > 0)
    {
        y += my;
        m_rcRadio.top = y;
        for (INT_PTR i = 0; i < m_arrRadioButtons.GetSize(); ++i)
        {
            CSize size = m_mapWndSize[m_arrRadioButtons[i]->m_hWnd];
            m_arrRadioButtons[i]->SetWindowPos(nullptr, m_rcContent.left + mx, y, size.cx, size.cy,
                                               SWP_NOZORDER | SWP_NOACTIVATE);
            m_rcRadio.right = std::max<int>(m_rcRadio.right, m_rcContent.left + mx + size.cx);
            y += size.cy + (i + 1 < m_arrRadioButtons.GetSize() ? pDpi->ScaleY(3) : 0);
        }
        m_rcRadio.bottom = y;
    }

    if (m_wndInputBox.m_hWnd)
    {
        int x = m_rcContent.left;
        m_wndInputBox.SetWindowPos(nullptr, x, y + my, mx + nWidth - x, 2 * my,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        y += 3 * my;
    }

    m_rcCommand = CRect(m_rcContent.left + pDpi->ScaleX(1), y + pDpi->ScaleY(1),
                        nWidth - pDpi->ScaleX(1) + mx, y + pDpi->ScaleY(1));
    if (m_arrCommandButtons.GetSize() > 0)
    {
        CClientDC dc(this);
        CQVTFontDC font(&dc, m_font.GetFont());
        for (INT_PTR i = 0; i < m_arrCommandButtons.GetSize(); ++i)
        {
            CQVTButton* pLink = m_arrCommandButtons[i];
            CSize size = static_cast<CQVTTaskButtonTheme*>(pLink->GetTheme())
                             ->GetButtonSize(&dc, pLink, m_rcCommand.Width());
            m_mapWndSize[pLink->m_hWnd] = size;
            m_rcCommand.bottom += size.cy;
        }
        m_rcCommand.bottom += my;
    }

    CalcButtonArea(nWidth, m_rcCommand.bottom + sy + my);
    int nHeight = m_rcCommon.bottom;

    m_rcFooter = CRect(0, 0, 0, 0);
    if (!m_pTexts[textFooter]->IsEmpty())
    {
        int nFooterWidth = nWidth - nFooterColumn;
        CSize size = MeasureText(*m_pTexts[textFooter], m_font.GetFont(), nFooterWidth);
        size.cy = std::max<int>(size.cy, m_hIconFooter ? m_szIconFooter.cy : 0);
        m_rcFooter =
            CRect(CPoint(mx + nFooterColumn - pDpi->ScaleX(1), m_rcCommon.bottom + pDpi->ScaleY(1) + my),
                  CSize(nFooterWidth, size.cy));
        nHeight = m_rcFooter.bottom + pDpi->ScaleY(1) + 2 * my;
    }

    if (IsExpandedInFooter())
    {
        m_rcExpandedInformation = CRect(0, 0, 0, 0);
        if (m_bExpanded && !expanded.IsEmpty())
        {
            CSize size = MeasureText(expanded, m_font.GetFont(), nWidth);
            m_rcExpandedInformation = CRect(CPoint(mx, nHeight + my), CSize(nWidth, size.cy));
            nHeight = m_rcExpandedInformation.bottom + 2 * my;
        }
    }
    return CSize(nWidth + 2 * mx, nHeight);
}

void CQVTTaskDialogClient::RecalcLayout(BOOL bMoveWindow)
{
    if (!m_hWnd)
        return;
    const CSize szClient = Layout(CalcClientWidth());
    ApplyTabOrder();
    PositionCommonButtons();
    PositionExpandoAndVerify();
    PositionCommandLinks();
    PositionTextWindows();
    PlaceDialogWindow(szClient, bMoveWindow);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

// The tab order follows the z-order, first in the list first.
void CQVTTaskDialogClient::ApplyTabOrder()
{
    std::vector<HWND> order;
    auto add = [&order](HWND hWnd) {
        if (hWnd && ::IsWindow(hWnd))
            order.push_back(hWnd);
    };
    add(m_wndContent.m_hWnd);
    if (!IsExpandedInFooter())
        add(m_wndExpandedInformation.m_hWnd);
    add(m_wndProgressBar.m_hWnd);
    for (INT_PTR i = 0; i < m_arrRadioButtons.GetSize(); ++i)
        add(m_arrRadioButtons[i]->m_hWnd);
    add(m_wndInputBox.m_hWnd);
    for (INT_PTR i = 0; i < m_arrCommandButtons.GetSize(); ++i)
        add(m_arrCommandButtons[i]->m_hWnd);
    add(m_pBtnExpando ? m_pBtnExpando->m_hWnd : nullptr);
    add(m_pBtnVerify ? m_pBtnVerify->m_hWnd : nullptr);
    for (INT_PTR i = 0; i < m_arrCommonButtons.GetSize(); ++i)
        add(m_arrCommonButtons[i]->m_hWnd);
    add(m_wndFooter.m_hWnd);
    if (IsExpandedInFooter())
        add(m_wndExpandedInformation.m_hWnd);
    HWND hAfter = HWND_TOP;
    for (HWND hWnd : order)
    {
        ::SetWindowPos(hWnd, hAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        hAfter = hWnd;
    }
}

// Row buttons: rows right-aligned in the button area, wrapped at its edge.
void CQVTTaskDialogClient::PositionCommonButtons()
{
    int nColumn = 0;
    for (CQVTButton* pButton : {m_pBtnExpando, m_pBtnVerify})
        if (pButton)
            nColumn = std::max<int>(nColumn, m_mapWndSize[pButton->m_hWnd].cx);
    const int nAreaLeft = m_rcCommon.left + nColumn + (nColumn ? m_nButtonGap : 0);
    std::vector<std::vector<CQVTButton*>> rows(1);
    int nRowWidth = 0;
    for (INT_PTR i = 0; i < m_arrCommonButtons.GetSize(); ++i)
    {
        CSize size = m_mapWndSize[m_arrCommonButtons[i]->m_hWnd];
        if (!rows.back().empty() && nAreaLeft + nRowWidth + m_nButtonGap + size.cx > m_rcCommon.right)
        {
            rows.emplace_back();
            nRowWidth = 0;
        }
        nRowWidth += (rows.back().empty() ? 0 : m_nButtonGap) + size.cx;
        rows.back().push_back(m_arrCommonButtons[i]);
    }
    int y = m_rcCommon.top + m_szMargin.cy - QVTDpiScaler()->ScaleY(1);
    for (const auto& row : rows)
    {
        int nWidthOfRow = 0, nHeightOfRow = 0;
        for (CQVTButton* pButton : row)
        {
            CSize size = m_mapWndSize[pButton->m_hWnd];
            nWidthOfRow += (nWidthOfRow ? m_nButtonGap : 0) + size.cx;
            nHeightOfRow = std::max<int>(nHeightOfRow, size.cy);
        }
        int x = m_rcCommon.right - nWidthOfRow;
        for (CQVTButton* pButton : row)
        {
            CSize size = m_mapWndSize[pButton->m_hWnd];
            pButton->SetWindowPos(nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            x += size.cx + m_nButtonGap;
        }
        y += nHeightOfRow + m_nButtonRowGap;
    }
}

// The expando above the verification box, at the area's left.
void CQVTTaskDialogClient::PositionExpandoAndVerify()
{
    const int my = m_szMargin.cy;
    const int xColumn = m_szMargin.cx + QVTDpiScaler()->ScaleX(3);
    if (m_pBtnExpando)
    {
        CSize size = m_mapWndSize[m_pBtnExpando->m_hWnd];
        int yExpando =
            m_pBtnVerify ? m_rcCommon.top + my : m_rcCommon.top + (m_rcCommon.Height() - size.cy) / 2;
        m_pBtnExpando->SetWindowPos(nullptr, xColumn, yExpando, size.cx, size.cy,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pBtnVerify)
    {
        CSize size = m_mapWndSize[m_pBtnVerify->m_hWnd];
        int yVerify = m_pBtnExpando ? m_rcCommon.top + my + m_mapWndSize[m_pBtnExpando->m_hWnd].cy
                                    : m_rcCommon.top + (m_rcCommon.Height() - size.cy) / 2;
        m_pBtnVerify->SetWindowPos(nullptr, xColumn, yVerify, size.cx, size.cy,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Command links one below the other.
void CQVTTaskDialogClient::PositionCommandLinks()
{
    int y = m_rcCommand.top + m_szMargin.cx + QVTDpiScaler()->ScaleY(2) + m_szSpacing.cy / 2 - m_szMargin.cy;
    y = std::max<int>(y, m_rcCommand.top);
    for (INT_PTR i = 0; i < m_arrCommandButtons.GetSize(); ++i)
    {
        CSize size = m_mapWndSize[m_arrCommandButtons[i]->m_hWnd];
        m_arrCommandButtons[i]->SetWindowPos(nullptr, m_rcCommand.left, y, m_rcCommand.Width(), size.cy,
                                             SWP_NOZORDER | SWP_NOACTIVATE);
        y += size.cy;
    }
}

// The texts' rectangles; with hyperlinks, their link windows over them.
void CQVTTaskDialogClient::PositionTextWindows()
{
    m_pTexts[textMainInstruction]->m_rcText = m_rcMainInstruction;
    m_pTexts[textContent]->m_rcText = m_rcContent;
    m_pTexts[textFooter]->m_rcText = m_rcFooter;
    m_pTexts[textExpandedInformation]->m_rcText = m_bExpanded ? m_rcExpandedInformation : CRect(0, 0, 0, 0);
    if (!(m_pConfig->dwFlags & TDF_ENABLE_HYPERLINKS))
        return;
    const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (m_wndContent.m_hWnd)
        m_wndContent.SetWindowPos(nullptr, m_rcContent.left, m_rcContent.top, m_rcContent.Width(),
                                  m_rcContent.Height(), nFlags);
    if (m_wndFooter.m_hWnd)
        m_wndFooter.SetWindowPos(nullptr, m_rcFooter.left, m_rcFooter.top, m_rcFooter.Width(),
                                 m_rcFooter.Height(), nFlags);
    if (m_wndExpandedInformation.m_hWnd)
    {
        m_wndExpandedInformation.SetWindowPos(nullptr, m_rcExpandedInformation.left,
                                              m_rcExpandedInformation.top, m_rcExpandedInformation.Width(),
                                              m_rcExpandedInformation.Height(), nFlags);
        m_wndExpandedInformation.ShowWindow(m_bExpanded ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

// The window: centred over the parent or the work area, a little up and left.
void CQVTTaskDialogClient::PlaceDialogWindow(CSize szClient, BOOL bMoveWindow)
{
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CRect rcClient(CPoint(0, 0), szClient);
    HWND hWndParent = m_pConfig->hwndParent;
    CRect rcCentre;
    if ((m_pConfig->dwFlags & TDF_POSITION_RELATIVE_TO_WINDOW) && hWndParent && ::IsWindow(hWndParent))
        ::GetWindowRect(hWndParent, &rcCentre);
    else
        rcCentre = QVTMultiMonitor()->GetWorkAreaFromHwnd(m_hWnd);
    rcClient.OffsetRect(rcCentre.left + (rcCentre.Width() - szClient.cx) / 2 - pDpi->ScaleX(3),
                        rcCentre.top + (rcCentre.Height() - szClient.cy) / 2 - pDpi->ScaleY(12));
    CRect rcWindow(rcClient);
    ::AdjustWindowRectEx(&rcWindow, GetStyle(), FALSE, GetExStyle());
    if (bMoveWindow)
        SetWindowPos(nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
