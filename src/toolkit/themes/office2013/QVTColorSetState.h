// The colour sets of the flat themes: one colour per control state for each
// kind of surface, read by name from the resource images' INI, each key with
// its built-in default. A key of "-1" gives no colour; the drawing then skips
// that fill or frame.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

// Text, back and border of a button in six states.
class CQVTColorSetStateButton : public CQVTCmdTarget
{
public:
    // The section, and the defaults of the two cells that differ between
    // the sets.
    CQVTColorSetStateButton(LPCTSTR lpszSection, COLORREF clrBackCheckedHighlight,
                            COLORREF clrBorderCheckedHighlight);

    // Reads the 18 "Button..." keys of the set's section.
    virtual void RefreshColors();
    LPCTSTR GetSection() const { return m_lpszSection; }

    CQVTPaintManagerColor m_clrButtonText;
    CQVTPaintManagerColor m_clrButtonTextHighlight;
    CQVTPaintManagerColor m_clrButtonTextPushed;
    CQVTPaintManagerColor m_clrButtonTextDisabled;
    CQVTPaintManagerColor m_clrButtonTextChecked;
    CQVTPaintManagerColor m_clrButtonTextCheckedHighlight;
    CQVTPaintManagerColor m_clrButtonBack;
    CQVTPaintManagerColor m_clrButtonBackHighlight;
    CQVTPaintManagerColor m_clrButtonBackPushed;
    CQVTPaintManagerColor m_clrButtonBackDisabled;
    CQVTPaintManagerColor m_clrButtonBackChecked;
    CQVTPaintManagerColor m_clrButtonBackCheckedHighlight;
    CQVTPaintManagerColor m_clrButtonBorder;
    CQVTPaintManagerColor m_clrButtonBorderHighlight;
    CQVTPaintManagerColor m_clrButtonBorderPushed;
    CQVTPaintManagerColor m_clrButtonBorderDisabled;
    CQVTPaintManagerColor m_clrButtonBorderChecked;
    CQVTPaintManagerColor m_clrButtonBorderCheckedHighlight;

private:
    LPCTSTR m_lpszSection;  // a literal
    COLORREF m_clrDefaultBackCheckedHighlight;
    COLORREF m_clrDefaultBorderCheckedHighlight;
};

// Popup menus: "CommandBars.Menu".
class CQVTColorSetStateMenu : public CQVTColorSetStateButton
{
public:
    CQVTColorSetStateMenu();
    void RefreshColors() override;

    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrGripper;  // the icon column
    CQVTPaintManagerColorGradient m_grcSeparator;
};

// Ribbon controls: "CommandBars.Ribbon".
class CQVTColorSetStateRibbon : public CQVTColorSetStateButton
{
public:
    CQVTColorSetStateRibbon();
    void RefreshColors() override;

    CQVTPaintManagerColor m_clrTabTextInactive;
    CQVTPaintManagerColor m_clrTabBackInactive;
};

// Toolbars and menu bars: "CommandBars.Toolbar".
class CQVTColorSetStateToolbar : public CQVTColorSetStateButton
{
public:
    CQVTColorSetStateToolbar();
    void RefreshColors() override;

    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrBorderEdit;
    CQVTPaintManagerColor m_clrGripper;
    CQVTPaintManagerColor m_clrDisabledIcon;
    CQVTPaintManagerColorGradient m_grcSeparator;
};

// Check marks of popup items: "CommandBars".
class CQVTColorSetStateCheckMark
{
public:
    virtual ~CQVTColorSetStateCheckMark() {}
    virtual void RefreshColors();

    CQVTPaintManagerColor m_clrMark;
    CQVTPaintManagerColor m_clrMarkHighlight;
    CQVTPaintManagerColor m_clrMarkPushed;
    CQVTPaintManagerColor m_clrMarkDisabled;
    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrBackHighlight;
    CQVTPaintManagerColor m_clrBackPushed;
    CQVTPaintManagerColor m_clrBackDisabled;
};

// Combo boxes, their drop-down button and its marker: "CommandBars".
class CQVTColorSetStateComboBox
{
public:
    virtual ~CQVTColorSetStateComboBox() {}
    virtual void RefreshColors();

    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrBackHighlight;
    CQVTPaintManagerColor m_clrBackDropped;
    CQVTPaintManagerColor m_clrBackDisabled;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrBorderHighlight;
    CQVTPaintManagerColor m_clrBorderDropped;
    CQVTPaintManagerColor m_clrBorderDisabled;
    CQVTPaintManagerColor m_clrDropDownBack;
    CQVTPaintManagerColor m_clrDropDownBackHighlight;
    CQVTPaintManagerColor m_clrDropDownBackDropped;
    CQVTPaintManagerColor m_clrDropDownBackDisabled;
    CQVTPaintManagerColor m_clrDropDownBorder;
    CQVTPaintManagerColor m_clrDropDownBorderHighlight;
    CQVTPaintManagerColor m_clrDropDownBorderDropped;
    CQVTPaintManagerColor m_clrDropDownBorderDisabled;
    CQVTPaintManagerColor m_clrDropDownMarker;
    CQVTPaintManagerColor m_clrDropDownMarkerHighlight;
    CQVTPaintManagerColor m_clrDropDownMarkerDropped;
    CQVTPaintManagerColor m_clrDropDownMarkerDisabled;
};

// Check boxes and radio buttons: "CommandBars.CheckBox".
class CQVTColorSetStateCheckBox
{
public:
    virtual ~CQVTColorSetStateCheckBox() {}
    virtual void RefreshColors();

    CQVTPaintManagerColor m_clrMark;
    CQVTPaintManagerColor m_clrMarkHighlight;
    CQVTPaintManagerColor m_clrMarkPushed;
    CQVTPaintManagerColor m_clrMarkDisabled;
    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrBackHighlight;
    CQVTPaintManagerColor m_clrBackPushed;
    CQVTPaintManagerColor m_clrBackDisabled;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrBorderHighlight;
    CQVTPaintManagerColor m_clrBorderPushed;
    CQVTPaintManagerColor m_clrBorderDisabled;
};

// Reads one colour into the standard value; a custom value stays.
void AFXAPI QVTReadIniColor(CQVTPaintManagerColor& clr, LPCTSTR lpszSection, LPCTSTR lpszKey,
                            COLORREF clrDefault);
