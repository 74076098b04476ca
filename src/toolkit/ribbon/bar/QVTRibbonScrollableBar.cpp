#include "toolkit/ribbon/bar/QVTRibbonScrollableBar.h"

#include <algorithm>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"

IMPLEMENT_SERIAL(CQVTRibbonGroupScrollButton, CQVTControlButton, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {
// Pixels one press of a scroll button moves the groups.
const int kScrollStep = 40;
}  // namespace

CQVTRibbonGroupScrollButton::CQVTRibbonGroupScrollButton() : m_pScrollableBar(nullptr), m_bScrollLeft(TRUE)
{
    m_bTemporary = TRUE;
    m_dwFlags = qvtFlagSkipFocus;
}

CSize CQVTRibbonGroupScrollButton::GetSize(CDC*)
{
    return m_rcControl.Size();
}

CSize CQVTRibbonGroupScrollButton::Draw(CDC* pDC)
{
    CQVTCommandBar* pBar = GetParent();
    if (pBar && pBar->IsRibbonBar())
    {
        CQVTRibbonPaintManager* pRibbonPaintManager =
            static_cast<CQVTRibbonBar*>(pBar)->GetRibbonPaintManager();
        if (pRibbonPaintManager)
            pRibbonPaintManager->DrawRibbonScrollButton(pDC, this, m_bScrollLeft);
    }
    return m_rcControl.Size();
}

void CQVTRibbonGroupScrollButton::OnExecute()
{
    if (m_pScrollableBar)
        m_pScrollableBar->OnGroupsScroll(m_bScrollLeft);
}

CQVTRibbonScrollableBar::CQVTRibbonScrollableBar()
    : m_pScrollBar(nullptr), m_pScrollLeft(nullptr), m_pScrollRight(nullptr), m_nGroupsScrollPos(0)
{
}

CQVTRibbonScrollableBar::~CQVTRibbonScrollableBar() {}

void CQVTRibbonScrollableBar::InitScrollableBar(CQVTCommandBar* pBar)
{
    m_pScrollBar = pBar;
    m_pScrollLeft = new CQVTRibbonGroupScrollButton();
    m_pScrollLeft->m_pScrollableBar = this;
    m_pScrollLeft->m_bScrollLeft = TRUE;
    m_pScrollLeft->SetHideFlags(qvtHideGeneric);
    pBar->GetControls()->InsertControl(m_pScrollLeft, -1);
    m_pScrollRight = new CQVTRibbonGroupScrollButton();
    m_pScrollRight->m_pScrollableBar = this;
    m_pScrollRight->m_bScrollLeft = FALSE;
    m_pScrollRight->SetHideFlags(qvtHideGeneric);
    pBar->GetControls()->InsertControl(m_pScrollRight, -1);
}

void CQVTRibbonScrollableBar::ShowScrollButtons(BOOL bScrollLeft, BOOL bScrollRight)
{
    if (!m_pScrollLeft || !m_pScrollRight)
        return;
    const CRect rcArea = GetGroupsArea();
    const int cx = QVTDpiScaler()->ScaleX(12);
    m_pScrollLeft->SetHideFlags(bScrollLeft ? 0 : qvtHideGeneric);
    m_pScrollRight->SetHideFlags(bScrollRight ? 0 : qvtHideGeneric);
    if (bScrollLeft)
        m_pScrollLeft->SetRect(CRect(rcArea.left, rcArea.top, rcArea.left + cx, rcArea.bottom));
    if (bScrollRight)
        m_pScrollRight->SetRect(CRect(rcArea.right - cx, rcArea.top, rcArea.right, rcArea.bottom));
}

void CQVTRibbonScrollableBar::SetGroupsScrollPos(int nScrollPos)
{
    nScrollPos = std::max(0, nScrollPos);
    if (nScrollPos == m_nGroupsScrollPos)
        return;
    m_nGroupsScrollPos = nScrollPos;
    if (m_pScrollBar && m_pScrollBar->IsRibbonBar())
        static_cast<CQVTRibbonBar*>(m_pScrollBar)->RequestLayout();
}

void CQVTRibbonScrollableBar::OnGroupsScroll(BOOL bScrollLeft)
{
    const int nStep = QVTDpiScaler()->ScaleX(kScrollStep);
    SetGroupsScrollPos(m_nGroupsScrollPos + (bScrollLeft ? -nStep : nStep));
}

void CQVTRibbonScrollableBar::EnsureVisible(CQVTRibbonGroup* pGroup)
{
    if (!pGroup)
        return;
    const CRect rcArea = GetGroupsArea();
    const CRect rcGroup = pGroup->GetRect();
    if (rcGroup.left < rcArea.left)
        SetGroupsScrollPos(m_nGroupsScrollPos - (rcArea.left - rcGroup.left));
    else if (rcGroup.right > rcArea.right)
        SetGroupsScrollPos(m_nGroupsScrollPos + (rcGroup.right - rcArea.right));
}
