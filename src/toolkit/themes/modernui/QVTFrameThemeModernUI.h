// The flat frame: borders and caption buttons are markup parts from the
// theme's style archive, coloured from the resource images' INI. The flat
// looks derive from it and name their style resource and shadow.
#pragma once

#include "toolkit/foundation/stream/QVTZipMemFile.h"
#include "toolkit/themes/frame/QVTRibbonMarkupFrameTheme.h"
#include "toolkit/themes/markup/QVTMarkupThemePart.h"

class CQVTMarkupContext;

// The colours of caption buttons in one state.
class CQVTColorSetCaptionButton
{
public:
    virtual ~CQVTColorSetCaptionButton() {}
    // From that INI section, system button colours where a key is missing.
    virtual void RefreshMetrics(LPCTSTR lpszSection);

    CQVTPaintManagerColor m_clrBackground;
    CQVTPaintManagerColor m_clrBorder;
    CQVTPaintManagerColor m_clrFill;
};

class CQVTModernUIFrameBorder : public CQVTMarkupThemePart
{};

class CQVTModernUIFrameCaptionButton : public CQVTMarkupThemePart
{
public:
    // Paints the button's elements in the set's colours.
    void ApplyColorSet(const CQVTColorSetCaptionButton& colors);
};

class CQVTFrameThemeModernUI : public CQVTRibbonMarkupFrameTheme
{
    DECLARE_DYNAMIC(CQVTFrameThemeModernUI)

public:
    explicit CQVTFrameThemeModernUI(CQVTPaintManager* pPaintManager);

    CRect CalcFrameBorders(IQVTFrameHook* pFrameHook) override;
    HRGN CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz) override;
    void DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                           BOOL bActive, CQVTRibbonBar* pRibbonBar) override;
    void RefreshMetrics() override;
    CQVTMarkupThemePart* GetFramePart(int nPart, BOOL bActive) override;
    virtual void LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext);
    // The name of the "STYLE" resource the parts come from.
    virtual CString GetStyleResourceName() const = 0;

    // The button part for a system command, or null.
    CQVTModernUIFrameCaptionButton* GetCaptionButtonPart(int nId);
    // The colours a button in that state takes.
    const CQVTColorSetCaptionButton& GetCaptionButtonColorSet(BOOL bSelected, BOOL bPressed,
                                                              BOOL bEnabledAndActive) const;

public:
    BOOL m_bPartsLoaded;
    CQVTPaintManagerColor m_clrFrameBorderActive;
    CQVTPaintManagerColor m_clrFrameBorderInactive;
    CQVTModernUIFrameBorder m_frameBorderLeft;
    CQVTModernUIFrameBorder m_frameBorderTop;
    CQVTModernUIFrameBorder m_frameBorderRight;
    CQVTModernUIFrameBorder m_frameBorderBottom;
    CQVTColorSetCaptionButton m_csCaptionButtonInactive;
    CQVTColorSetCaptionButton m_csCaptionButtonActive;
    CQVTColorSetCaptionButton m_csCaptionButtonHot;
    CQVTColorSetCaptionButton m_csCaptionButtonPressed;
    CQVTModernUIFrameCaptionButton m_buttonMinimize;
    CQVTModernUIFrameCaptionButton m_buttonMaximize;
    CQVTModernUIFrameCaptionButton m_buttonRestore;
    CQVTModernUIFrameCaptionButton m_buttonClose;

protected:
    // The module the style resource is looked for in.
    HMODULE GetStyleModule() const;
};
