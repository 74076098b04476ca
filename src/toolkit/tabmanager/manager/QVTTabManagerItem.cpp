#include "toolkit/tabmanager/manager/QVTTabManagerItem.h"

#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/markup/QVTTabMarkup.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

IMPLEMENT_DYNCREATE(CQVTTabManagerItem, CQVTCmdTarget)

CQVTTabManagerItem::CQVTTabManagerItem()
{
    EnableAutomation();
}

CQVTTabManagerItem::~CQVTTabManagerItem()
{
    m_arrNavigateButtons.RemoveAll();
    QVTTabReleaseMarkupCaption(m_pMarkupUIElement);
}

CString CQVTTabManagerItem::GetCaption() const
{
    return m_pTabManager ? m_pTabManager->GetItemCaption(this) : m_strCaption;
}

COLORREF CQVTTabManagerItem::GetColor() const
{
    return m_pTabManager ? m_pTabManager->GetItemColor(this) : m_clrItem;
}

void CQVTTabManagerItem::SetCaption(LPCTSTR lpszCaption)
{
    const CString strCaption(lpszCaption);
    if (strCaption == m_strCaption)
        return;
    m_strCaption = strCaption;
    QVTTabReleaseMarkupCaption(m_pMarkupUIElement);
    if (m_pTabManager && m_pTabManager->GetMarkupContext())
        m_pMarkupUIElement = QVTTabParseMarkupCaption(m_pTabManager->GetMarkupContext(), m_strCaption);
    Reposition();
}

void CQVTTabManagerItem::SetEnabled(BOOL bEnabled)
{
    if (!bEnabled == !m_bEnabled)
        return;
    m_bEnabled = bEnabled;
    Reposition();
}

void CQVTTabManagerItem::SetVisible(BOOL bVisible)
{
    if (!bVisible == !m_bVisible)
        return;
    m_bVisible = bVisible;
    Reposition();
}

BOOL CQVTTabManagerItem::IsSelected() const
{
    return m_pTabManager && m_pTabManager->GetSelectedItem() == this;
}

BOOL CQVTTabManagerItem::IsHighlighted() const
{
    return m_pTabManager && m_pTabManager->GetHighlightedItem() == this;
}

BOOL CQVTTabManagerItem::IsPressed() const
{
    return m_pTabManager && m_pTabManager->GetPressedItem() == this;
}

void CQVTTabManagerItem::SetRect(const CRect& rcItem)
{
    m_rcItem = rcItem;
    for (int i = m_arrNavigateButtons.GetSize() - 1; i >= 0; --i)
        m_arrNavigateButtons.GetAt(i)->SetRect(CRect(0, 0, 0, 0));
}

void CQVTTabManagerItem::Select()
{
    if (m_pTabManager)
        m_pTabManager->OnItemClick(this);
}

void CQVTTabManagerItem::Reposition()
{
    if (m_pTabManager)
        m_pTabManager->Reposition();
}

void CQVTTabManagerItem::OnRemoved()
{
    m_arrNavigateButtons.RemoveAll();
}

namespace {

// A quarter turn of the pixels, counter-clockwise or clockwise.
void Turn(CQVTTabPixelBlock& from, CQVTTabPixelBlock& to, int n, bool bClockwise)
{
    ::GdiFlush();
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
        {
            if (bClockwise)
                to.At(n - 1 - y, x) = from.At(x, y);
            else
                to.At(y, n - 1 - x) = from.At(x, y);
        }
}

}  // namespace

void CQVTTabManagerItem::DrawImage(CDC* pDC, const CRect& rcIcon, CQVTImageManagerIcon* pImage)
{
    if (!pDC || !pImage)
        return;
    const int nState = !m_bEnabled       ? qvtImageDisabled
                       : IsHighlighted() ? qvtImageHot
                       : IsSelected()    ? qvtImageChecked
                                         : qvtImageNormal;
    CQVTTabPaintManager* pPaintManager = m_pTabManager ? m_pTabManager->GetPaintManager() : nullptr;
    const int nPosition = m_pTabManager ? m_pTabManager->GetPosition() : qvtTabPositionTop;
    if (pPaintManager && pPaintManager->m_bRotateImageOnVerticalDraw && rcIcon.Width() == rcIcon.Height() &&
        rcIcon.Width() > 0 && (nPosition == qvtTabPositionLeft || nPosition == qvtTabPositionRight))
    {
        // The background turned back a quarter, the icon drawn upright on it,
        // and the whole turned forward again: the icon shows turned clockwise.
        const int n = rcIcon.Width();
        CQVTTabPixelBlock background(n, n), turned(n, n);
        CDC dcMemory;
        if (background.IsValid() && turned.IsValid() && dcMemory.CreateCompatibleDC(pDC))
        {
            HGDIOBJ hOld = ::SelectObject(dcMemory.GetSafeHdc(), background.GetBitmap());
            ::BitBlt(dcMemory.GetSafeHdc(), 0, 0, n, n, pDC->GetSafeHdc(), rcIcon.left, rcIcon.top, SRCCOPY);
            Turn(background, turned, n, false);
            ::SelectObject(dcMemory.GetSafeHdc(), turned.GetBitmap());
            pImage->DrawInStateSized(&dcMemory, CPoint(0, 0), CSize(n, n), nState);
            ::SelectObject(dcMemory.GetSafeHdc(), hOld);
            Turn(turned, background, n, true);
            pDC->DrawState(rcIcon.TopLeft(), CSize(n, n), background.GetBitmap(), DST_BITMAP | DSS_NORMAL,
                           static_cast<HBRUSH>(nullptr));
            return;
        }
    }
    pImage->DrawInStateSized(pDC, rcIcon.TopLeft(), rcIcon.Size(), nState);
}
