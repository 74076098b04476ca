// The flat single-colour button themes: Office 2013 and those built on it,
// Visual Studio 2012 (dark and light), Visual Studio 2015 and Windows 10.
#pragma once

#include "toolkit/controls/button/QVTButtonThemeUltraFlat.h"

class CQVTButtonThemeOffice2013 : public CQVTButtonThemeUltraFlat
{
public:
    CQVTButtonThemeOffice2013();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;
    void DrawPushButtonText(CDC* pDC, CQVTButton* pButton) override;
    void DrawPushButtonIcon(CDC* pDC, CQVTButton* pButton) override;
    void DrawPushButtonDropDown(CDC* pDC, CQVTButton* pButton) override;
    COLORREF GetTextColor(CQVTButton* pButton) override;
    void DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton) override;
    void DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton) override;
    void DrawGroupBox(CDC* pDC, CQVTButton* pButton) override;

    CQVTPaintManagerColor m_clrBack;
    CQVTPaintManagerColor m_clrBackHilite;
    CQVTPaintManagerColor m_clrBackPushed;
    CQVTPaintManagerColor m_clrBackDisabled;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrBorderHilite;
    CQVTPaintManagerColor m_clrBorderPushed;
    CQVTPaintManagerColor m_clrBorderDefault;
    CQVTPaintManagerColor m_clrBorderDisabled;
    CQVTPaintManagerColor m_clrText;
    CQVTPaintManagerColor m_clrTextCheck;
    CQVTPaintManagerColor m_clrTextHilite;
    CQVTPaintManagerColor m_clrTextPushed;
    CQVTPaintManagerColor m_clrTextDisabled;
    CQVTPaintManagerColor m_clrMark;
    CQVTPaintManagerColor m_clrMarkHilite;
    CQVTPaintManagerColor m_clrMarkPushed;
    CQVTPaintManagerColor m_clrMarkDisabled;

protected:
    // The defaults of the "Controls.Button" keys, in the order of the members.
    struct Defaults
    {
        COLORREF clr[18];
    };
    static const Defaults s_office2013Defaults;
    static const Defaults s_visualStudio2015Defaults;
    void LoadColors(const Defaults& defaults);
    // Fill, mark and frame of a mark for the button's state.
    void GetMarkColors(CQVTButton* pButton, COLORREF& clrFill, COLORREF& clrMark, COLORREF& clrFrame);
};

class CQVTButtonThemeVisualStudio2012 : public CQVTButtonThemeOffice2013
{
public:
    explicit CQVTButtonThemeVisualStudio2012(BOOL bDark);
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;
    COLORREF GetTextColor(CQVTButton* pButton) override;
    void DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton) override;
    void DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton) override;
    BOOL IsDark() const { return m_bDark; }

protected:
    BOOL m_bDark;
};

class CQVTButtonThemeVisualStudio2015 : public CQVTButtonThemeOffice2013
{
public:
    CQVTButtonThemeVisualStudio2015();
    void RefreshMetrics(CQVTButton* pButton) override;
};

class CQVTButtonThemeNativeWindows10 : public CQVTButtonThemeOffice2013
{
public:
    CQVTButtonThemeNativeWindows10();
    void RefreshMetrics(CQVTButton* pButton) override;
};
