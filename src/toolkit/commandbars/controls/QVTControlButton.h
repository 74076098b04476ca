// The plain command button of toolbars and menus: a mouse click follows the
// press in the control's own loop and executes on release; inside a menu it
// executes on the button's release.
#pragma once

#include "toolkit/commandbars/controls/QVTControl.h"

class CQVTControlButton : public CQVTControl
{
    DECLARE_SERIAL(CQVTControlButton)

public:
    CQVTControlButton();

    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint point) override;
    void Copy(CQVTControl* pSource, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CQVTPropExchange* pPX) override;

    DWORD GetExtraStyle() const { return m_dwExtraStyle; }
    void SetExtraStyle(DWORD dwStyle) { m_dwExtraStyle = dwStyle; }

protected:
    DWORD m_dwExtraStyle;  // read by the ribbon's group layout
};
