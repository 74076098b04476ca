// What the message-bar paint managers draw from: the bar's client rectangle
// and its buttons, each with a command id, a rectangle and its hot and
// pressed states. The close button has the id SC_CLOSE.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

class CQVTMessageBarButton
{
public:
    CQVTMessageBarButton(UINT nId, const CRect& rc) : m_nId(nId), m_rcButton(rc) {}

    UINT m_nId;
    CRect m_rcButton;
    BOOL m_bHot = FALSE;
    BOOL m_bPressed = FALSE;
};

class CQVTMessageBar
{
public:
    CQVTMessageBar() = default;
    CQVTMessageBar(const CQVTMessageBar&) = delete;
    CQVTMessageBar& operator=(const CQVTMessageBar&) = delete;

    void SetClientRect(const CRect& rc) { m_rcClient = rc; }
    CRect GetClientRect() const { return m_rcClient; }

    CQVTMessageBarButton* AddButton(UINT nId, const CRect& rc);
    // The first button with the id, or null.
    CQVTMessageBarButton* FindButton(UINT nId) const;
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    CQVTMessageBarButton* GetButton(int nIndex) const;

    // The client rectangle less the current paint manager's message-bar
    // margins, and less room for a close button on the right.
    CRect GetContentRect() const;

private:
    CRect m_rcClient;
    std::vector<std::unique_ptr<CQVTMessageBarButton>> m_buttons;
};
