// The Visual Studio 2012 frame: the flat markup frame with wide caption
// buttons, a caption in the bars' face colour and a blue glow that greys
// out while the frame is inactive.
#pragma once

#include "toolkit/themes/modernui/QVTFrameThemeModernUI.h"

class CQVTFrameThemeVisualStudio2012 : public CQVTFrameThemeModernUI
{
    DECLARE_DYNAMIC(CQVTFrameThemeVisualStudio2012)

public:
    CQVTFrameThemeVisualStudio2012(CQVTPaintManager* pPaintManager, COLORREF clrCaption);

    void RefreshMetrics() override;
    CRect CalcFrameBorders(IQVTFrameHook* pFrameHook) override;
    void LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext) override;
    CString GetStyleResourceName() const override { return _T("QVT_IDR_VS2012_STYLE"); }
    CQVTFrameShadow* CreateShadow(CWnd* pFrame) override;
    void OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow) override;

    // The glow's colour as the frame's activation left it.
    COLORREF GetShadowColor() const { return m_clrShadow; }
    BOOL IsStyleFound() const { return m_bStyleFound; }

public:
    COLORREF m_clrShadowActive;
    COLORREF m_clrShadowInactive;
    int m_nShadowOuterSize;  // px at 96 DPI
    int m_nShadowInnerSize;  // px at 96 DPI
    int m_nShadowTransparency;

protected:
    COLORREF m_clrCaption;  // the variant's caption colour without a style
    COLORREF m_clrShadow;   // what the last activation chose
    BOOL m_bStyleFound;     // the style archive gave parts
};

class CQVTFrameThemeVisualStudio2012Light : public CQVTFrameThemeVisualStudio2012
{
    DECLARE_DYNAMIC(CQVTFrameThemeVisualStudio2012Light)

public:
    explicit CQVTFrameThemeVisualStudio2012Light(CQVTPaintManager* pPaintManager);
};

class CQVTFrameThemeVisualStudio2012Dark : public CQVTFrameThemeVisualStudio2012
{
    DECLARE_DYNAMIC(CQVTFrameThemeVisualStudio2012Dark)

public:
    explicit CQVTFrameThemeVisualStudio2012Dark(CQVTPaintManager* pPaintManager);
};
