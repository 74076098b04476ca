#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarPane, CQVTCmdTarget)

CQVTStatusBarPane::CQVTStatusBarPane()
    : m_nID(0), m_nWidth(0), m_nStyle(0), m_dwHideFlags(0), m_clrText(COLORREF(-1)),
      m_clrBackground(COLORREF(-1)), m_clrTextGray(COLORREF(-1)), m_rcPane(0, 0, 0, 0), m_hWndChild(nullptr),
      m_bAutoDestroyChild(FALSE), m_pStatusBar(nullptr), m_nIndex(-1), m_nAlignment(0), m_nIconId(-1),
      m_rcPadding(CQVTPaintManager::DpiX(3), CQVTPaintManager::DpiY(1), CQVTPaintManager::DpiX(3),
                  CQVTPaintManager::DpiY(1)),
      m_rcMargins(0, 0, 0, 0), m_bButton(FALSE), m_bPressed(FALSE), m_pMarkupElement(nullptr),
      m_bBeginGroup(TRUE), m_nLastWidth(0), m_bCustomizable(TRUE), m_bDarkFace(FALSE)
{
}

CQVTStatusBarPane::~CQVTStatusBarPane()
{
    MarkupReleaseElement(m_pMarkupElement);
    if (m_bAutoDestroyChild && m_hWndChild && ::IsWindow(m_hWndChild))
    {
        CWnd* pChild = CWnd::FromHandlePermanent(m_hWndChild);
        if (pChild)
            pChild->DestroyWindow();
        else
            ::DestroyWindow(m_hWndChild);
    }
}

CString CQVTStatusBarPane::GetDisplayText() const
{
    CString strText(m_strText);
    if (m_pStatusBar && m_pStatusBar->IsUpperCase())
        strText.MakeUpper();
    return strText;
}

BOOL CQVTStatusBarPane::IsHot() const
{
    return m_pStatusBar && m_pStatusBar->GetHotPane() == this;
}

CFont* CQVTStatusBarPane::GetFont()
{
    if (m_font.GetSafeHandle())
        return m_font.GetFont();
    return m_pStatusBar ? m_pStatusBar->GetFont() : QVTPaintManager()->GetStatusFont();
}

void CQVTStatusBarPane::SetFont(const LOGFONT* pLogFont)
{
    m_font.DeleteObject();
    if (pLogFont)
        m_font.CreateFontIndirect(pLogFont);
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

CQVTImageManagerIcon* CQVTStatusBarPane::GetIcon()
{
    if (m_nIconId <= 0)
        return nullptr;
    CQVTImageManager* pImageManager = m_pStatusBar ? m_pStatusBar->GetImageManager() : QVTImageManager();
    return pImageManager ? pImageManager->GetImage(static_cast<UINT>(m_nIconId), 0) : nullptr;
}

int CQVTStatusBarPane::GetWidth()
{
    if (m_nWidth >= 1)
        return m_nWidth;
    const CString strText = GetDisplayText();
    int nWidth = m_rcPadding.left + m_rcPadding.right;
    if (m_pMarkupElement)
    {
        MarkupSetDefaultFont(MarkupGetElementContext(m_pMarkupElement),
                             static_cast<HFONT>(GetFont()->GetSafeHandle()), COLORREF(-1));
        nWidth += MarkupMeasureElement(m_pMarkupElement).cx;
    }
    else if (!strText.IsEmpty())
    {
        CWindowDC dc(nullptr);
        CQVTFontDC font(&dc, GetFont());
        nWidth += dc.GetTextExtent(strText).cx;
    }
    CQVTImageManagerIcon* pIcon = GetIcon();
    if (pIcon)
    {
        nWidth += CQVTPaintManager::DpiX(pIcon->GetWidth());
        if (!strText.IsEmpty())
            nWidth += CQVTPaintManager::DpiX(2);
    }
    return nWidth;
}

void CQVTStatusBarPane::Draw(CDC* pDC, CRect rcItem)
{
    CQVTPaintManager* pPaintManager = m_pStatusBar ? m_pStatusBar->GetPaintManager() : QVTPaintManager();
    CQVTStatusBarPaintManager* pPainter = pPaintManager ? pPaintManager->GetStatusBarPaintManager() : nullptr;
    if (pPainter)
        pPainter->DrawStatusBarPaneEntry(pDC, rcItem, this);
}

void CQVTStatusBarPane::OnLButtonDown(CPoint /*point*/)
{
    if (!m_bButton || !IsEnabled() || !m_pStatusBar || !m_pStatusBar->GetSafeHwnd())
        return;
    CQVTStatusBar* pBar = m_pStatusBar;
    const HWND hWnd = pBar->GetSafeHwnd();
    // The click may remove the pane: it lives until the loop is done.
    InternalAddRef();
    m_bPressed = TRUE;
    Redraw();
    pBar->SetCapture();

    BOOL bClick = FALSE;
    for (;;)
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsWindow(hWnd) || ::GetCapture() != hWnd)
            break;
        if (msg.message == WM_MOUSEMOVE)
        {
            CPoint pt(msg.pt);
            ::ScreenToClient(hWnd, &pt);
            const BOOL bInside = m_rcPane.PtInRect(pt);
            if (bInside != m_bPressed)
            {
                m_bPressed = bInside;
                Redraw();
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP)
        {
            bClick = m_bPressed;
            break;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_CANCELMODE ||
            msg.message == WM_RBUTTONDOWN)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (::IsWindow(hWnd) && ::GetCapture() == hWnd)
        ::ReleaseCapture();
    m_bPressed = FALSE;
    if (::IsWindow(hWnd))
    {
        Redraw();
        if (bClick && m_pStatusBar)
            m_pStatusBar->OnPaneClick(this);
    }
    InternalRelease();
}

void CQVTStatusBarPane::Redraw() const
{
    if (m_pStatusBar && m_pStatusBar->GetSafeHwnd() && !m_rcPane.IsRectEmpty())
        m_pStatusBar->InvalidateRect(m_rcPane, FALSE);
}

void CQVTStatusBarPane::UpdateMarkup()
{
    MarkupReleaseElement(m_pMarkupElement);
    if (m_pStatusBar)
        m_pStatusBar->ParsePaneMarkup(this);
}

void CQVTStatusBarPane::SetText(LPCTSTR lpszText)
{
    const CString strText(lpszText ? lpszText : _T(""));
    if (strText == m_strText)
        return;
    const int nOldWidth = IsVisible() && m_nWidth < 1 ? GetWidth() : 0;
    m_strText = strText;
    UpdateMarkup();
    if (m_pStatusBar)
        m_pStatusBar->OnPaneTextChanged(this, nOldWidth);
}

void CQVTStatusBarPane::SetStyle(UINT nStyle)
{
    if (nStyle == m_nStyle)
        return;
    const BOOL bStretchChanged = ((nStyle ^ m_nStyle) & SBPS_STRETCH) != 0;
    m_nStyle = nStyle;
    if (bStretchChanged && m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
    Redraw();
}

void CQVTStatusBarPane::SetWidth(int nWidth)
{
    if (nWidth == m_nWidth)
        return;
    m_nWidth = nWidth;
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBarPane::SetVisible(BOOL bVisible)
{
    const DWORD dwFlags = bVisible ? (m_dwHideFlags & ~hiddenByUser) : (m_dwHideFlags | hiddenByUser);
    if (dwFlags == m_dwHideFlags)
        return;
    m_dwHideFlags = dwFlags;
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBarPane::SetEnabled(BOOL bEnabled)
{
    SetStyle(bEnabled ? (m_nStyle & ~SBPS_DISABLED) : (m_nStyle | SBPS_DISABLED));
}

void CQVTStatusBarPane::SetTextColor(COLORREF clr)
{
    m_clrText = clr;
    Redraw();
}

void CQVTStatusBarPane::SetBackgroundColor(COLORREF clr)
{
    m_clrBackground = clr;
    Redraw();
}

void CQVTStatusBarPane::SetTextGrayColor(COLORREF clr)
{
    m_clrTextGray = clr;
    Redraw();
}

void CQVTStatusBarPane::SetTextAlignment(int nAlign)
{
    m_nAlignment = nAlign;
    Redraw();
}

void CQVTStatusBarPane::SetIconIndex(int nIconId)
{
    if (nIconId == m_nIconId)
        return;
    m_nIconId = nIconId;
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBarPane::SetPadding(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_rcPadding.SetRect(cxLeft, cyTop, cxRight, cyBottom);
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBarPane::SetMargins(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_rcMargins.SetRect(cxLeft, cyTop, cxRight, cyBottom);
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBarPane::SetBeginGroup(BOOL bBeginGroup)
{
    if (bBeginGroup == m_bBeginGroup)
        return;
    m_bBeginGroup = bBeginGroup;
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

void CQVTStatusBarPane::SetChild(CWnd* pWnd, BOOL bAutoDestroy)
{
    m_hWndChild = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    m_bAutoDestroyChild = bAutoDestroy;
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

CWnd* CQVTStatusBarPane::GetChild() const
{
    return m_hWndChild && ::IsWindow(m_hWndChild) ? CWnd::FromHandle(m_hWndChild) : nullptr;
}
