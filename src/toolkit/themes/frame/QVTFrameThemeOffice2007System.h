// The frame drawn from the built-in markup style and coloured by the system
// colours: what a paint manager without a frame of its own hands out.
#pragma once

#include "toolkit/foundation/stream/QVTZipMemFile.h"
#include "toolkit/themes/frame/QVTRibbonMarkupFrameTheme.h"
#include "toolkit/themes/markup/QVTMarkupThemePart.h"

class CQVTMarkupContext;

class CQVTFrameThemeOffice2007System : public CQVTRibbonMarkupFrameTheme
{
    DECLARE_DYNAMIC(CQVTFrameThemeOffice2007System)

public:
    explicit CQVTFrameThemeOffice2007System(CQVTPaintManager* pPaintManager);
    ~CQVTFrameThemeOffice2007System() override;

    CRect CalcFrameBorders(IQVTFrameHook* pFrameHook) override;
    HRGN CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive) override;
    CSize GetCaptionButtonSize(int nId, HWND hWnd) override { return m_szCaptionButton; }
    CSize GetCaptionButtonSize() override { return m_szCaptionButton; }
    CRect GetCaptionButtonMargin() override { return m_rcCaptionButtonMargin; }
    int GetCaptionHeight() override { return m_nCaptionHeight; }
    void RefreshMetrics() override;
    void FillCaptionBackground(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive) override;
    CQVTMarkupThemePart* GetFramePart(int nPart, BOOL bActive) override;
    virtual void LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext);

    // The region's rectangles for a normal frame of that size: six with
    // square bottom corners, eight with round ones.
    static HRGN AFX_CDECL CreateRoundedRegion(CSize sz, BOOL bRoundBottom, int nScale100 = 100);

    // The parts, in the order of the style's entries.
    enum StylePart
    {
        partCaptionActive,
        partCaptionInactive,
        partBorderLeftActive,
        partBorderLeftInactive,
        partBorderLeftCaptionActive,
        partBorderLeftCaptionInactive,
        partBorderTopActive,
        partBorderTopInactive,
        partBorderRightActive,
        partBorderRightInactive,
        partBorderRightCaptionActive,
        partBorderRightCaptionInactive,
        partBorderBottomActive,
        partBorderBottomInactive,
        partButtonSelected,
        partButtonPressed,
        partGlyphMinimize9,
        partGlyphMinimize11,
        partGlyphMaximize9,
        partGlyphMaximize11,
        partGlyphRestore9,
        partGlyphRestore11,
        partGlyphClose9,
        partGlyphClose11,
        partCount
    };
    CQVTMarkupThemePart* GetStylePart(int nPart)
    {
        return nPart >= 0 && nPart < partCount ? &m_parts[nPart] : nullptr;
    }

protected:
    // Loads the style resource from the application's modules.
    void LoadStyle();

    // The system colours the parts were built with: their markup takes the
    // colours as it is parsed.
    static DWORD AFX_CDECL GetSysColorStamp();

    CQVTMarkupContext* m_pMarkupContext;  // owned reference
    CQVTMarkupThemePart m_parts[partCount];
    DWORD m_dwSysColorStamp;  // GetSysColorStamp when the parts were loaded
};
