// The native theme: bars, menus and controls drawn with the system's visual
// styles (the rebar, toolbar, combo box, window, spin and menu classes),
// and the classic drawing of the default theme wherever a class is missing
// or a call fails. Without visual styles it draws as the default theme.
#pragma once

#include <memory>

#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"

class CQVTCommandBarsNativeXPTheme : public CQVTCommandBarsOffice2000Theme
{
    DECLARE_DYNAMIC(CQVTCommandBarsNativeXPTheme)

public:
    CQVTCommandBarsNativeXPTheme();
    ~CQVTCommandBarsNativeXPTheme() override;

    int GetThemeId() const override { return qvtThemeNativeWinXP; }
    void RefreshMetrics() override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                       BOOL bPopuped, int barType, int barPosition) override;
    void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) override;
    void FillDockBar(CDC* pDC, CQVTDockBar* pDockBar) override;
    CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl, BOOL bDraw) override;
    void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    void DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled) override;
    void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) override;
    void DrawControlMarlettCaption(CDC* pDC, CQVTControl* pControl) override;
    void DrawComboDropDownButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPopuped) override;
    CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void DrawEditSpinButtons(CDC* pDC, CQVTControlEdit* pEdit) override;
    CSize DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    void DrawControlEntry(CDC* pDC, CQVTControl* pControl) override;
    COLORREF GetControlTextColor(CQVTControl* pControl) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                   int barType, int barPosition) override;
    void AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical) override;
    int GetPopupBarGutterWidth(CQVTCommandBar* pBar) override;

    // The rebar and toolbar classes are open: the bars draw with visual styles.
    BOOL IsThemeActive() const;
    // The menu class is open.
    BOOL IsMenuThemed() const;
    // Menus are flat: the system's setting, else the rebar class's flag.
    BOOL IsFlatMenu() const { return m_bFlatMenu; }

    CQVTWinThemeWrapper& GetRebarTheme() { return *m_themes[classRebar]; }
    CQVTWinThemeWrapper& GetToolbarTheme() { return *m_themes[classToolbar]; }
    CQVTWinThemeWrapper& GetMenuTheme() { return *m_themes[classMenu]; }

public:
    BOOL m_bThemedCheckBackground;  // checked popup items on the menu's check background
    COLORREF m_clrSeparatorDark;    // the band's edge shadow
    COLORREF m_clrSeparatorLight;   // the band's edge highlight
    COLORREF m_clrToolbarTextHot;
    COLORREF m_clrToolbarTextPressed;

protected:
    enum ThemeClass
    {
        classRebar,
        classToolbar,
        classComboBox,
        classWindow,
        classSpin,
        classMenu,
        classCount
    };

    // Draws one part of a class; FALSE when the class is closed or the call
    // fails, and the caller falls back.
    BOOL DrawPart(ThemeClass nClass, CDC* pDC, int nPart, int nState, const CRect& rc,
                  const CRect* pClip = nullptr);
    // The toolbar button state of a control face (1 normal to 6 hot checked).
    static int AFX_CDECL GetToolbarButtonState(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                               BOOL bPopuped);
    // The system's flat-menu setting, FALSE when the call fails.
    virtual BOOL GetSystemFlatMenu() const;
    // A popup control on a flat toolbar, which draws as a flat menu item.
    BOOL IsFlatBarPopupControl(CQVTControl* pControl);

    std::unique_ptr<CQVTWinThemeWrapper> m_themes[classCount];
    BOOL m_bFlatMenu;

private:
    BOOL FillPopupBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc);
    void FillDockedBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc);
    void FillFloatingBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc);
};
