#include "toolkit/tabmanager/manager/QVTTabManagerNavigateButtons.h"

#include <windowsx.h>

#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/manager/QVTTabManagerCaptureLoop.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

namespace {

// Glyphs of the toolkit's glyph font.
enum
{
    glyphArrowUp = 76,
    glyphArrowDown = 77,
    glyphClose = 115,
    glyphArrowLeftFilled = 116,
    glyphArrowRightFilled = 117,
    glyphArrowLeftOutlined = 118,
    glyphArrowRightOutlined = 119,
};

// A repeat step of a held button, in milliseconds.
const DWORD kRepeatInterval = 20;

CString LoadTabString(UINT nID, LPCTSTR lpszDefault)
{
    CString str;
    if (!QVTResourceManager()->LoadString(&str, nID) || str.IsEmpty())
        str = lpszDefault;
    return str;
}

void DrawButtonGlyph(CDC* pDC, WCHAR chGlyph, const CRect& rc, COLORREF clr, BOOL bOutline)
{
    QVTGlyphFont()->DrawGlyph(pDC, chGlyph, rc, clr, 0xFFFFFFFF, bOutline);
}

}  // namespace

CQVTTabManagerNavigateButton* CQVTTabManagerNavigateButtons::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetSize())
        AfxThrowInvalidArgException();
    return m_arrButtons[nIndex].get();
}

CQVTTabManagerNavigateButton::CQVTTabManagerNavigateButton(CQVTTabManager* pManager, UINT nID,
                                                           int nDisplayMode, CQVTTabManagerItem* pItem)
    : m_nID(nID), m_nDisplayMode(nDisplayMode), m_pManager(pManager), m_pItem(pItem)
{
}

CQVTTabManagerNavigateButton::~CQVTTabManagerNavigateButton()
{
    if (m_pManager && m_pManager->m_pHighlightedNavigateButton == this)
        m_pManager->m_pHighlightedNavigateButton = nullptr;
}

CSize CQVTTabManagerNavigateButton::GetSize() const
{
    CQVTTabPaintManager* pPaintManager = m_pManager->GetPaintManager();
    return pPaintManager ? pPaintManager->m_szNavigateButton : CSize(0, 0);
}

void CQVTTabManagerNavigateButton::AdjustWidth(int& nLength)
{
    if (!m_pManager->IsNavigateButtonVisible(this))
        return;
    const CSize size = GetSize();
    nLength -= m_pManager->IsHorizontalPosition() ? size.cx : size.cy;
}

void CQVTTabManagerNavigateButton::Reposition(CRect& rc)
{
    if (!m_pManager->IsNavigateButtonVisible(this))
    {
        m_rcButton.SetRectEmpty();
        return;
    }
    const CSize size = GetSize();
    if (!m_pManager->IsHorizontalPosition())
    {
        const int x = (rc.left + rc.right) / 2 - size.cx / 2;
        m_rcButton.SetRect(x, rc.bottom - size.cy, x + size.cx, rc.bottom);
        rc.bottom -= size.cy;
    }
    else
    {
        const int nMiddle = (rc.top + rc.bottom) / 2;
        m_rcButton.SetRect(rc.right - size.cx, nMiddle - size.cy + size.cy / 2, rc.right,
                           nMiddle + size.cy / 2);
        rc.right -= size.cx;
    }
}

void CQVTTabManagerNavigateButton::Draw(CDC* pDC)
{
    if (m_rcButton.IsRectEmpty())
        return;
    if (CQVTTabPaintManager* pPaintManager = m_pManager->GetPaintManager())
    {
        CRect rc = m_rcButton;
        pPaintManager->DrawNavigateButton(pDC, this, rc);
    }
}

void CQVTTabManagerNavigateButton::DrawEntry(CDC* /*pDC*/, CRect /*rc*/, COLORREF /*clr*/, BOOL /*bEnabled*/)
{
}

void CQVTTabManagerNavigateButton::OnExecute(BOOL /*bTick*/) {}

BOOL CQVTTabManagerNavigateButton::IsHighlighted() const
{
    return m_pManager->GetHighlightedNavigateButton() == this;
}

BOOL CQVTTabManagerNavigateButton::IsItemHighlighted() const
{
    return m_pItem && m_pManager->GetHighlightedItem() == m_pItem;
}

BOOL CQVTTabManagerNavigateButton::IsItemSelected() const
{
    return m_pItem && m_pManager->GetSelectedItem() == m_pItem;
}

BOOL CQVTTabManagerNavigateButton::IsManagerActive() const
{
    return m_pManager->IsActive();
}

BOOL CQVTTabManagerNavigateButton::PerformClick(CWnd* pWnd, CPoint pt)
{
    if (::GetCapture() != nullptr || !m_bEnabled)
        return FALSE;

    // The loop's handlers may free the button (an item's close button goes
    // with its item) or the whole strip.
    CQVTTabManager* pManager = m_pManager;
    const std::weak_ptr<int> buttonLifetime = m_pLifetime;
    const std::weak_ptr<int> managerLifetime = pManager->m_pLifetime;
    CQVTTabItemReference item(m_pItem);
    auto isAlive = [&]() { return !buttonLifetime.expired() && !managerLifetime.expired(); };

    CQVTTabCaptureLoop loop(pWnd);
    loop.SetPoint(pt);
    DWORD dwTick = ::GetTickCount();
    BOOL bReleasedInside = FALSE;
    while (loop.IsRunning())
    {
        if (m_bEnabled && ::GetTickCount() - dwTick > kRepeatInterval)
        {
            dwTick = ::GetTickCount();
            OnExecute(TRUE);
            if (!isAlive())
                return FALSE;
        }
        const BOOL bPressed = m_rcButton.PtInRect(loop.GetPoint());
        if (bPressed != m_bPressed)
        {
            m_bPressed = bPressed;
            pManager->RedrawControl(m_rcButton, TRUE);
            if (!isAlive())
                return FALSE;
        }

        MSG msg;
        BOOL bIdle = FALSE;
        if (!loop.NextOrIdle(msg, kRepeatInterval, bIdle))
        {
            if (bIdle)
                continue;
            break;
        }
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
            loop.SetPoint(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
            break;
        case WM_LBUTTONUP:
            loop.SetPoint(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
            bReleasedInside = m_rcButton.PtInRect(loop.GetPoint());
            loop.End();
            break;
        default:
            loop.Dispatch(msg);
            if (!isAlive())
                return FALSE;
        }
    }
    if (!isAlive())
        return FALSE;
    loop.ReleaseCapture();
    m_bPressed = FALSE;
    pManager->PerformMouseMove(pWnd, loop.GetPoint());
    if (!isAlive())
        return FALSE;
    pManager->RedrawControl(nullptr, FALSE);
    if (bReleasedInside)
        OnExecute(FALSE);
    return bReleasedInside;
}

void CQVTTabManager::CNavigateButtonArrow::AdjustWidth(int& nLength)
{
    // Arrows shown only when needed take no room from the items.
    if (m_nDisplayMode == displayAlways)
        CQVTTabManagerNavigateButton::AdjustWidth(nLength);
}

void CQVTTabManager::CNavigateButtonArrow::Reposition(CRect& rc)
{
    const int nLength = m_pManager->IsHorizontalPosition() ? rc.Width() : rc.Height();
    UpdateState(nLength);
    const int nLayout = m_pManager->GetLayout();
    if (nLayout == qvtTabLayoutMultiRow)
    {
        m_rcButton.SetRectEmpty();
        return;
    }
    if (m_nDisplayMode == displayAuto)
    {
        CQVTTabPaintManagerTheme* pAppearance = m_pManager->GetAppearance();
        const CRect rcMargin = pAppearance ? pAppearance->GetHeaderMargin() : CRect(0, 0, 0, 0);
        const int nOffset = m_pManager->GetHeaderOffset();
        const BOOL bAllFits = m_pManager->GetItemsLength() - 1 + nOffset - rcMargin.left <=
                                  nLength - rcMargin.right - rcMargin.left &&
                              nOffset >= 0;
        if (nLayout == qvtTabLayoutSizeToFit || bAllFits)
        {
            m_rcButton.SetRectEmpty();
            return;
        }
    }
    CQVTTabManagerNavigateButton::Reposition(rc);
}

void CQVTTabManager::CNavigateButtonArrowLeft::UpdateState(int /*nLength*/)
{
    m_strToolTip = m_pManager->IsHorizontalPosition()
                       ? LoadTabString(QVT_IDS_TAB_SCROLLLEFT, _T("Scroll Left"))
                       : LoadTabString(QVT_IDS_TAB_SCROLLUP, _T("Scroll Up"));
    m_bEnabled = m_pManager->GetHeaderOffset() < 0;
}

void CQVTTabManager::CNavigateButtonArrowRight::UpdateState(int nLength)
{
    m_strToolTip = m_pManager->IsHorizontalPosition()
                       ? LoadTabString(QVT_IDS_TAB_SCROLLRIGHT, _T("Scroll Right"))
                       : LoadTabString(QVT_IDS_TAB_SCROLLDOWN, _T("Scroll Down"));
    CQVTTabPaintManagerTheme* pAppearance = m_pManager->GetAppearance();
    const CRect rcMargin = pAppearance ? pAppearance->GetHeaderMargin() : CRect(0, 0, 0, 0);
    m_bEnabled = m_pManager->GetItemsLength() + m_pManager->GetHeaderOffset() >
                 nLength - rcMargin.right - rcMargin.left - 28;
}

void CQVTTabManager::CNavigateButtonArrowLeft::DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    if (!m_pManager->IsHorizontalPosition())
        DrawButtonGlyph(pDC, glyphArrowUp, rc, clr, !bEnabled);
    else if (CQVTDrawHelpers::IsDCRightToLeft(pDC))
        DrawButtonGlyph(pDC, bEnabled ? glyphArrowRightFilled : glyphArrowRightOutlined, rc, clr, FALSE);
    else
        DrawButtonGlyph(pDC, bEnabled ? glyphArrowLeftFilled : glyphArrowLeftOutlined, rc, clr, FALSE);
}

void CQVTTabManager::CNavigateButtonArrowRight::DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    if (!m_pManager->IsHorizontalPosition())
        DrawButtonGlyph(pDC, glyphArrowDown, rc, clr, !bEnabled);
    else if (CQVTDrawHelpers::IsDCRightToLeft(pDC))
        DrawButtonGlyph(pDC, bEnabled ? glyphArrowLeftFilled : glyphArrowLeftOutlined, rc, clr, FALSE);
    else
        DrawButtonGlyph(pDC, bEnabled ? glyphArrowRightFilled : glyphArrowRightOutlined, rc, clr, FALSE);
}

void CQVTTabManager::CNavigateButtonArrowLeft::OnExecute(BOOL bTick)
{
    if (bTick)
        m_pManager->ScrollHeader(0);
}

void CQVTTabManager::CNavigateButtonArrowRight::OnExecute(BOOL bTick)
{
    if (bTick)
        m_pManager->ScrollHeader(1);
}

CQVTTabManager::CNavigateButtonClose::CNavigateButtonClose(CQVTTabManager* pManager, int nDisplayMode,
                                                           CQVTTabManagerItem* pItem)
    : CQVTTabManagerNavigateButton(pManager, buttonClose, nDisplayMode, pItem)
{
    m_strToolTip = LoadTabString(QVT_IDS_TAB_CLOSE, _T("Close"));
}

void CQVTTabManager::CNavigateButtonClose::DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    DrawButtonGlyph(pDC, glyphClose, rc, clr, !bEnabled);
}

void CQVTTabManager::CNavigateButtonClose::OnExecute(BOOL bTick)
{
    if (!bTick)
        m_pManager->OnNavigateButtonClick(this);
}

CSize CQVTTabManager::CNavigateButtonTabClose::GetSize() const
{
    CQVTTabPaintManager* pPaintManager = m_pManager->GetPaintManager();
    return pPaintManager ? pPaintManager->m_szItemCloseButton : CSize(0, 0);
}
