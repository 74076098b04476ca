#include "toolkit/commandbars/messagebar/QVTMessageBar.h"

#include "toolkit/themes/paintmanager/QVTPaintManager.h"

CQVTMessageBarButton* CQVTMessageBar::AddButton(UINT nId, const CRect& rc)
{
    m_buttons.push_back(std::make_unique<CQVTMessageBarButton>(nId, rc));
    return m_buttons.back().get();
}

CQVTMessageBarButton* CQVTMessageBar::FindButton(UINT nId) const
{
    for (const auto& pButton : m_buttons)
        if (pButton->m_nId == nId)
            return pButton.get();
    return nullptr;
}

CQVTMessageBarButton* CQVTMessageBar::GetButton(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return nullptr;
    return m_buttons[static_cast<size_t>(nIndex)].get();
}

CRect CQVTMessageBar::GetContentRect() const
{
    CRect rc(m_rcClient);
    const CRect rcMargins = QVTPaintManager()->GetMessageBarMargins();
    rc.DeflateRect(rcMargins.left, rcMargins.top, rcMargins.right, rcMargins.bottom);
    if (FindButton(SC_CLOSE))
        rc.right -= CQVTPaintManager::DpiX(18);
    return rc;
}
