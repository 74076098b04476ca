// A command-bar control drawn as a link: its caption in the link colour,
// red while hot and grey when disabled, with the hand cursor over it. A
// click opens the control's tooltip text (a document or an address) with
// the shell; the site gets no command. Classes that open something else
// replace OnClick.
#pragma once

#include "toolkit/commandbars/controls/QVTControl.h"

class CQVTControlHyperlink : public CQVTControl
{
    DECLARE_SERIAL(CQVTControlHyperlink)

public:
    CQVTControlHyperlink();

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnExecute() override;
    void OnMouseMove(CPoint point) override;

    static const COLORREF clrLink = RGB(0, 150, 150);
    static const COLORREF clrLinkHot = RGB(255, 0, 0);

protected:
    // The paint manager's regular font, else the stock GUI font.
    CFont* GetLinkFont() const;

    HCURSOR m_hCursor;  // the system hand, not owned
};
