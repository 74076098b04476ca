// The themed scroll bar as command-bar windows embed it: it draws with the
// scroll-bar paint manager of its command bars (or of the global paint
// manager without any), so that it follows their theme.
#pragma once

#include "toolkit/controls/scrollbar/QVTScrollBarCtrl.h"

class CQVTCommandBars;

class CQVTCommandBarScrollBarCtrl : public CQVTScrollBarCtrl
{
    DECLARE_DYNCREATE(CQVTCommandBarScrollBarCtrl)

public:
    CQVTCommandBarScrollBarCtrl();
    ~CQVTCommandBarScrollBarCtrl() override;

    void SetCommandBars(CQVTCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }

    CQVTScrollBarPaintManager* GetScrollBarPaintManager() const override;

protected:
    CQVTCommandBars* m_pCommandBars;  // set by the window that embeds the control
};
