#include "toolkit/tabmanager/manager/QVTTabManagerItem.h"

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
