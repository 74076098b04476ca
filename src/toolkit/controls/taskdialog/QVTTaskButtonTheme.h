// The task dialog's own button looks: the command link (a bold title with a
// note below it, an optional glyph) and the expando button that shows and
// hides the details.
#pragma once

#include "toolkit/controls/button/QVTButtonTheme.h"

class CQVTImageManagerIcon;

class CQVTTaskButtonTheme : public CQVTButtonTheme
{
public:
    explicit CQVTTaskButtonTheme(BOOL bThemed);
    ~CQVTTaskButtonTheme() override;

    void DrawButton(CDC* pDC, CQVTButton* pButton) override;
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void DrawPushButtonText(CDC* pDC, CQVTButton* pButton) override;
    void DrawFocusRect(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;

    // Title and note from the window text (first and second line).
    virtual void RefreshCaption(CQVTButton* pButton);
    // The size the link needs at a width.
    virtual CSize GetButtonSize(CDC* pDC, CQVTButton* pButton, int nWidth);

    // The title's font (the dialog's main instruction font); not owned.
    void SetTitleFont(CFont* pFont) { m_pTitleFont = pFont; }
    // The glyph left of the title, or none; one reference held.
    void SetGlyph(CQVTImageManagerIcon* pGlyph, CSize szGlyph);
    const CString& GetTitle() const { return m_strTitle; }
    const CString& GetNote() const { return m_strNote; }
    BOOL IsThemed() const { return m_bThemed; }

    CQVTPaintManagerColor m_clrTextNormal;
    CQVTPaintManagerColor m_clrTextHot;
    CQVTPaintManagerColor m_clrHighlight;

protected:
    // Title and note rectangles inside the button.
    void CalcTextLayout(CDC* pDC, CQVTButton* pButton, CRect& rcTitle, CRect& rcNote);
    COLORREF GetCaptionColor(CQVTButton* pButton);

    CSize m_szMargin;  // dialog units converted
    int m_nGlyphGap;
    CString m_strCaption;  // the window text the title and note came from
    CString m_strTitle;
    CString m_strNote;
    CFont* m_pTitleFont;
    CQVTImageManagerIcon* m_pGlyph;
    CSize m_szGlyph;
    COLORREF m_clrPressedFace;
    COLORREF m_clrOuterBorder;
    COLORREF m_clrInnerLine1;
    COLORREF m_clrInnerLine2;
    COLORREF m_clrHotFace;
    COLORREF m_clrBackFace;
    BOOL m_bThemed;  // the dialog's themed look
};

class CQVTTaskButtonThemeExpando : public CQVTButtonTheme
{
public:
    CQVTTaskButtonThemeExpando();
    ~CQVTTaskButtonThemeExpando() override;
    void DrawButton(CDC* pDC, CQVTButton* pButton) override;
    void RefreshMetrics(CQVTButton* pButton) override;

    // The chevron's box at the button's left.
    CRect GetGlyphRect(CQVTButton* pButton) const;

protected:
    CQVTWinThemeWrapper* m_themeTaskDialog;  // owned; the chevron's class
};
