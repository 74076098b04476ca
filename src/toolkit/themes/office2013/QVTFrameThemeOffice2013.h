// The flat frame of the Office 2013 look: markup borders and caption
// buttons from the "XAML_STYLE" archive, a plain caption with a one-pixel
// line along its bottom, caption buttons coloured by state with sets of
// their own for the close button, and a soft black shadow.
#pragma once

#include "toolkit/themes/modernui/QVTFrameThemeModernUI.h"

class CQVTFrameThemeOffice2013 : public CQVTFrameThemeModernUI
{
    DECLARE_DYNAMIC(CQVTFrameThemeOffice2013)

public:
    explicit CQVTFrameThemeOffice2013(CQVTPaintManager* pPaintManager);

    CString GetStyleResourceName() const override { return _T("XAML_STYLE"); }
    void RefreshMetrics() override;
    CRect CalcFrameBorders(IQVTFrameHook* pFrameHook) override;
    void FillCaptionBackground(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    CQVTFrameShadow* CreateShadow(CWnd* pFrame) override;

    // Whether the ribbon shows its backstage view over the frame.
    virtual BOOL IsBackstageVisible(CQVTRibbonBar* pRibbonBar) const;
    // The colours a caption button takes in that state.
    const CQVTColorSetCaptionButton& GetButtonColorSet(int nId, BOOL bSelected, BOOL bPressed,
                                                       BOOL bEnabledAndActive, BOOL bBackstage) const;

    // The shadow every frame of the look gets.
    enum
    {
        shadowOuterSize = 5,  // at 96 DPI
        shadowInnerSize = 3,
        shadowTransparency = 128
    };

public:
    BOOL m_bFlatFrame;
    CQVTPaintManagerColor m_clrCaptionBorder;  // the caption's bottom row
    CQVTColorSetCaptionButton m_csCloseButtonInactive;
    CQVTColorSetCaptionButton m_csCloseButtonActive;
    CQVTColorSetCaptionButton m_csCloseButtonHot;
    CQVTColorSetCaptionButton m_csCloseButtonPressed;
    // While the backstage view covers the caption.
    CQVTPaintManagerColor m_clrBackstageCaptionTextActive;
    CQVTPaintManagerColor m_clrBackstageCaptionTextInactive;
    CQVTColorSetCaptionButton m_csBackstageButtonInactive;
    CQVTColorSetCaptionButton m_csBackstageButtonActive;
    CQVTColorSetCaptionButton m_csBackstageButtonHot;
    CQVTColorSetCaptionButton m_csBackstageButtonPressed;
};
