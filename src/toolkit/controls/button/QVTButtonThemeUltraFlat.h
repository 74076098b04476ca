// The flat button themes: flat, ultra-flat, and the Office 2000, XP and 2003
// looks built on the ultra-flat one.
#pragma once

#include "toolkit/controls/button/QVTButtonTheme.h"

class CQVTButtonThemeFlat : public CQVTButtonTheme
{
public:
    CQVTButtonThemeFlat();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
};

class CQVTButtonThemeUltraFlat : public CQVTButtonTheme
{
public:
    CQVTButtonThemeUltraFlat();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;
    void DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton) override;
    void DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton) override;
    void DrawGroupBox(CDC* pDC, CQVTButton* pButton) override;

    // A disc filled with one colour, its edge blended into the ring colour.
    static void AFX_CDECL DrawAntialiasedDisc(CDC* pDC, const CRect& rc, COLORREF clrRing, COLORREF clrFill);
    BOOL IsHighlightWhenPushed() const { return m_bHiglightButtons; }

    CQVTPaintManagerColor m_crBackHilite;  // hot background
    CQVTPaintManagerColor m_crBackPushed;
    CQVTPaintManagerColor m_crBackChecked;
    CQVTPaintManagerColor m_crBorderPushed;
    CQVTPaintManagerColor m_crTextPushed;
    CQVTPaintManagerColor m_crTextHilite;
    CQVTPaintManagerColor m_crCheckMark;  // -1: the text colour

protected:
    // The look a push button's state asks for.
    enum class Look
    {
        Normal,
        Hot,
        Pushed,
        Checked
    };
    Look GetLook(CQVTButton* pButton) const;
    // Fill and frame of the ultra-flat marks; the mark's colour.
    void GetMarkColors(CQVTButton* pButton, COLORREF& clrFill, COLORREF& clrFrame, COLORREF& clrMark);
    void DrawFrameWithoutCaption(CDC* pDC, CQVTButton* pButton, COLORREF clrFrame);

    BOOL m_bHiglightButtons;  // a pushed button that is not highlighted is drawn hot
};

class CQVTButtonThemeOffice2000 : public CQVTButtonThemeUltraFlat
{
public:
    CQVTButtonThemeOffice2000();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
};

class CQVTButtonThemeOfficeXP : public CQVTButtonThemeUltraFlat
{
public:
    CQVTButtonThemeOfficeXP();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;
};

class CQVTButtonThemeOffice2003 : public CQVTButtonThemeOfficeXP
{
public:
    CQVTButtonThemeOffice2003();
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;
    BOOL IsLunaTheme() const { return m_bLunaTheme; }

protected:
    BOOL m_bLunaTheme;  // the system shows one of its colour schemes
};
