// The themes of the backstage's page buttons: the resource theme draws the
// colour scheme's backstage button images, the flat ones their base's fill;
// both draw the separator strips that cross a tab-style button. Only the
// resource and Office 2013 themes draw the button's key tip.
#pragma once

#include "toolkit/controls/button/QVTButtonThemeOffice2013.h"
#include "toolkit/controls/button/QVTButtonThemeResource.h"

#include <vector>

class CQVTRibbonBackstageButton;

class CQVTRibbonBackstageButtonThemeResource : public CQVTButtonThemeResource
{
public:
    CQVTRibbonBackstageButtonThemeResource() = default;
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void DrawButton(CDC* pDC, CQVTButton* pButton) override;
};

class CQVTRibbonBackstageButtonThemeOffice2013 : public CQVTButtonThemeOffice2013
{
public:
    CQVTRibbonBackstageButtonThemeOffice2013() = default;
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
    void DrawButton(CDC* pDC, CQVTButton* pButton) override;
};

class CQVTRibbonBackstageButtonThemeVisualStudio2015 : public CQVTButtonThemeVisualStudio2015
{
public:
    CQVTRibbonBackstageButtonThemeVisualStudio2015() = default;
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
};

class CQVTRibbonBackstageButtonThemeNativeWindows10 : public CQVTButtonThemeNativeWindows10
{
public:
    CQVTRibbonBackstageButtonThemeNativeWindows10() = default;
    void DrawButtonBackground(CDC* pDC, CQVTButton* pButton) override;
};

namespace QVTBackstageButtonDrawing {

// Every sibling separator window that crosses the button: the strip one
// pixel wide at the separator's right edge, in the button's client
// co-ordinates.
std::vector<CRect> GetSeparatorStrips(CQVTButton* pButton);
// The flat themes' separator strips and then the Office 2013 family's fill.
void DrawFlatBackground(CDC* pDC, CQVTButton* pButton, CQVTButtonThemeOffice2013* pTheme);
// The button's key tip at its top-left corner while it is shown in a view.
void DrawButtonKeyTip(CDC* pDC, CQVTButton* pButton);

}  // namespace QVTBackstageButtonDrawing
