// The frame of the resource theme and the ribbon theme: borders in the
// colour scheme's colours, caption and buttons from its images.
#pragma once

#include "toolkit/themes/frame/QVTFramePaintManager.h"

class CQVTResourceImages;

class CQVTRibbonOffice2007FrameTheme : public CQVTFramePaintManager
{
    DECLARE_DYNAMIC(CQVTRibbonOffice2007FrameTheme)

public:
    explicit CQVTRibbonOffice2007FrameTheme(CQVTPaintManager* pPaintManager);

    CRect CalcFrameBorders(IQVTFrameHook* pFrameHook) override;
    HRGN CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz) override;
    void DrawFrame(CDC* pDC, IQVTFrameHook* pFrameHook) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive) override;
    void RefreshMetrics() override;
    void DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    void DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive) override;

    // The glyph set for a button of that width: 13, 17 or 23.
    static int AFX_CDECL GetGlyphSize(int nButtonWidth);

    COLORREF m_clrBorderActive[4];  // outermost first; -1 none
    COLORREF m_clrBorderInactive[4];
    BOOL m_bFlatFrame;

protected:
    CQVTResourceImages* GetImages() const;
    void DrawSideBorders(CDC* pDC, const CRect& rcWindow, int nBorder, int nCaption, int nStatusBar,
                         const COLORREF* pColors);
    void DrawBottomBorder(CDC* pDC, const CRect& rcWindow, int nBorder, const COLORREF* pColors,
                          BOOL bMaximized, BOOL bActive);
    void DrawCaptionImages(CDC* pDC, const CRect& rcCaption, BOOL bActive);
    void DrawStatusBarPieces(CDC* pDC, IQVTFrameHook* pFrameHook, const CRect& rcWindow, int nBorder,
                             int nStatusBar, const COLORREF* pColors);
};
