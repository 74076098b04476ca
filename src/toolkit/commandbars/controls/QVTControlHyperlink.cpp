#include "toolkit/commandbars/controls/QVTControlHyperlink.h"

#include <shellapi.h>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlHyperlink, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlHyperlink::CQVTControlHyperlink() : m_hCursor(::LoadCursor(nullptr, IDC_HAND)) {}

CFont* CQVTControlHyperlink::GetLinkFont() const
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CFont* pFont = pPaintManager ? pPaintManager->GetRegularFont() : nullptr;
    if (pFont && pFont->GetSafeHandle())
        return pFont;
    return CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

CSize CQVTControlHyperlink::GetSize(CDC* pDC)
{
    CFont* pOldFont = pDC->SelectObject(GetLinkFont());
    CSize sz = pDC->GetTextExtent(GetCaption());
    pDC->SelectObject(pOldFont);
    return sz;
}

CSize CQVTControlHyperlink::Draw(CDC* pDC)
{
    const BOOL bEnabled = GetEnabled();
    const BOOL bSelected = GetSelected();
    COLORREF clrText = clrLink;
    if (!bEnabled)
        clrText = ::GetSysColor(COLOR_GRAYTEXT);
    else if (bSelected)
        clrText = clrLinkHot;
    CFont* pOldFont = pDC->SelectObject(GetLinkFont());
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (pPaintManager)
        pPaintManager->DrawControlTextEx(pDC, GetCaption(), GetRect(), DT_SINGLELINE | DT_NOPREFIX, TRUE,
                                         bSelected, bEnabled);
    else
    {
        CRect rc = GetRect();
        pDC->DrawText(GetCaption(), rc, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    }
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
    return GetRect().Size();
}

void CQVTControlHyperlink::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (!bKeyboard && m_pParent && m_pParent->IsCustomizeMode())
    {
        CustomizeStartDrag(pt);
        return;
    }
    OnExecute();
}

void CQVTControlHyperlink::OnExecute()
{
    if (!m_strTooltipText.IsEmpty())
        ::ShellExecuteW(nullptr, u"open", m_strTooltipText, nullptr, nullptr, SW_SHOW);
}

void CQVTControlHyperlink::OnMouseMove(CPoint point)
{
    if (m_hCursor && GetRect().PtInRect(point))
        ::SetCursor(m_hCursor);
}
