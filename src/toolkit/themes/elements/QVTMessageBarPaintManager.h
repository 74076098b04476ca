// The drawing of message bars: the bar's face, the framed message area and
// its buttons; the Office 2010 look fills the bar with the info colour and
// draws the close button as a thin cross.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"

class CQVTMessageBar;
class CQVTMessageBarButton;
class CQVTPaintManager;

class CQVTMessageBarPaintManager : public CObject
{
    DECLARE_DYNAMIC(CQVTMessageBarPaintManager)

public:
    explicit CQVTMessageBarPaintManager(CQVTPaintManager* pPaintManager);

    virtual void RefreshMetrics();
    virtual void FillMessageBar(CDC* pDC, CQVTMessageBar* pBar);
    virtual void DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton);
    virtual void GetCloseButtonRect(CRect& rc, int nRight, int nBarHeight);
    virtual CSize GetButtonSize(int nBarHeight);
    virtual int GetMessageBarHeight();
    virtual CRect GetMessageBarPadding();

    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrText;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrContent;  // the message area
    CQVTPaintManager* m_pPaintManager;
};

class CQVTMessageBarThemeOffice2010 : public CQVTMessageBarPaintManager
{
    DECLARE_DYNAMIC(CQVTMessageBarThemeOffice2010)

public:
    explicit CQVTMessageBarThemeOffice2010(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void FillMessageBar(CDC* pDC, CQVTMessageBar* pBar) override;
    void DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton) override;
    void GetCloseButtonRect(CRect& rc, int nRight, int nBarHeight) override;

    CQVTPaintManagerColor m_clrExtra;  // free for derived looks
};
