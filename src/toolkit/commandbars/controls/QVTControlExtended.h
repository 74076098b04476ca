// Small controls for special items: a static label, a check box and a radio
// button, and the toolbars list, which stands in a menu as one placeholder
// and, each time the menu is laid out, hides itself and puts one entry per
// listed toolbar after itself.
#pragma once

#include "toolkit/commandbars/controls/QVTControlButton.h"

class CQVTCommandBars;
class CQVTControls;

class CQVTControlLabel : public CQVTControl
{
    DECLARE_SERIAL(CQVTControlLabel)

public:
    CQVTControlLabel();

    // Never hot.
    int GetSelected() const override { return FALSE; }
    // Clicks only start a customize drag.
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
};

class CQVTControlCheckBox : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTControlCheckBox)

public:
    CQVTControlCheckBox();

    BOOL GetFocused() const override { return GetSelected() != 0; }
    // Space clicks it.
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
};

class CQVTControlRadioButton : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTControlRadioButton)

public:
    CQVTControlRadioButton();

    BOOL GetFocused() const override { return GetSelected() != 0; }
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
};

// One entry of the toolbars list (CQVTControlToolbars::CQVTControlToolbar):
// shows or hides the bar whose index is its tag.
class CQVTControlToolbarsEntry : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTControlToolbarsEntry)

public:
    void OnExecute() override;
};

class CQVTControlToolbars : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTControlToolbars)

public:
    typedef CQVTControlToolbarsEntry CQVTControlToolbar;

    CQVTControlToolbars();

    void OnCalcDynamicSize(DWORD dwMode) override;
    // Only menus take the list.
    BOOL IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint point, DWORD& dropEffect) override;

    // Puts one entry per listed bar into the collection before nIndex (the
    // end for -1), the first beginning a group as asked; with bCustomize the
    // customize command follows when the site handles it. The number added.
    static int AFX_CDECL AddToolbarItems(CQVTControls* pControls, CQVTCommandBars* pCommandBars, int nIndex,
                                         BOOL bBeginGroup, BOOL bCustomize);
};
