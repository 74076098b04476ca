// The standard button theme and the base of every other: one drawing order
// and one layout of image and caption, with background, marks and colours
// left to the variants.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTButton;
class CQVTWinThemeWrapper;

class CQVTControlTheme : public CQVTCmdTarget
{
public:
    CQVTControlTheme() = default;
    // The theme number by which a button makes it.
    int GetThemeKind() const { return m_nThemeKind; }

protected:
    int m_nThemeKind = 0;
};

class CQVTButtonTheme : public CQVTControlTheme
{
public:
    CQVTButtonTheme();
    ~CQVTButtonTheme() override;

    virtual void DrawButtonBackground(CDC* pDC, CQVTButton* pButton);
    virtual void DrawFocusRect(CDC* pDC, CQVTButton* pButton);
    virtual void DrawButton(CDC* pDC, CQVTButton* pButton);
    virtual void DrawNativeBackground(CDC* pDC, CQVTButton* pButton);
    virtual void RefreshMetrics(CQVTButton* pButton);
    virtual void DrawPushButtonText(CDC* pDC, CQVTButton* pButton);
    virtual void DrawPushButtonIcon(CDC* pDC, CQVTButton* pButton);
    // The arrow of a split button; no button here has that style.
    virtual void DrawPushButtonDropDown(CDC* pDC, CQVTButton* pButton);
    virtual COLORREF GetTextColor(CQVTButton* pButton);
    virtual void DrawCheckBoxMark(CDC* pDC, CQVTButton* pButton);
    virtual void DrawRadioButtonMark(CDC* pDC, CQVTButton* pButton);
    virtual void DrawGroupBox(CDC* pDC, CQVTButton* pButton);

    // The system's visual style draws this button.
    BOOL IsNativeUse(CQVTButton* pButton) const;
    CQVTWinThemeWrapper* GetNativeTheme() const { return m_themeButton; }
    BOOL IsUseVisualStyle() const { return m_bUseVisualStyle; }
    void SetUseVisualStyle(BOOL bUse) { m_bUseVisualStyle = bUse; }
    BOOL IsFlatGlyphs() const { return m_bFlatGlyphs; }
    int GetBorderGap() const { return m_nBorderGap; }

    // Where things go, from the button's rectangle.
    CSize GetMarkSize(CDC* pDC, CQVTButton* pButton, int nPart);
    CRect GetMarkRect(CDC* pDC, CQVTButton* pButton, int nPart);
    CRect GetCaptionRect(CDC* pDC, CQVTButton* pButton, int nPart);
    CRect GetGroupBoxCaptionRect(CDC* pDC, CQVTButton* pButton);
    CRect GetGroupBoxFrameRect(CDC* pDC, CQVTButton* pButton);
    // The push button's image and caption rectangles and the text format.
    void CalcPushButtonLayout(CDC* pDC, CQVTButton* pButton, CRect& rcImage, CRect& rcText, UINT& nFormat);

    CQVTPaintManagerColor m_crTextDisabled;
    CQVTPaintManagerColor m_crBorderHilite;    // light
    CQVTPaintManagerColor m_crBorderShadow;    // shadow
    CQVTPaintManagerColor m_crBorder3DHilite;  // highlight
    CQVTPaintManagerColor m_crBorder3DShadow;  // dark shadow
    CQVTPaintManagerColor m_crBack;            // face
    CQVTPaintManagerColor m_crText;
    CQVTPaintManagerColor m_crTextCheck;  // check boxes and radio buttons

protected:
    static BOOL AFX_CDECL IsDisabled(CQVTButton* pButton);
    // The caption of a check box, radio button or group box in its rectangle.
    void DrawCaption(CDC* pDC, CQVTButton* pButton, CRect rcCaption, BOOL bGroupBox);
    // Measures the caption (markup or text) within a width; FALSE when empty.
    BOOL MeasureCaption(CDC* pDC, CQVTButton* pButton, int nWidth, UINT nFormat, CSize& szCaption);
    void DrawCaptionText(CDC* pDC, CQVTButton* pButton, CRect rc, UINT nFormat, COLORREF clrText);
    UINT GetUIState(CQVTButton* pButton) const;
    int Scale(int nValue) const;

    CQVTWinThemeWrapper* m_themeButton;  // owned
    BOOL m_bUseVisualStyle;
    int m_nBorderGap;
    BOOL m_bFlatGlyphs;  // check and radio marks drawn flat
    int m_cxBorder;
    int m_cyBorder;
    int m_cyEdge;
    int m_cxEdge;
};
