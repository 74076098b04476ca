#include "toolkit/themes/visualstudio/QVTVisualStudio2005Theme.h"

#include "toolkit/foundation/color/QVTColorManager.h"

IMPLEMENT_DYNAMIC(CQVTVisualStudio2005Theme, CQVTCommandBarsOffice2003Theme)

namespace {
#define VS2005_RGB(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

// One scheme's colours.
struct VisualStudio2005Set
{
    COLORREF toolBar[2];       // at 0.75
    COLORREF expandButton[2];  // at 0.75
    COLORREF dockBar[2];
    COLORREF toolbarShadow;
    COLORREF expandedGripper[2];
    COLORREF face[2];  // the disabled images' base
};

const VisualStudio2005Set kVisualStudio2005Blue = {
    {VS2005_RGB(0xFAF9F5), VS2005_RGB(0xC0C0A8)}, {VS2005_RGB(0xEEEDEA), VS2005_RGB(0x98987E)},
    {VS2005_RGB(0xE5E5D7), VS2005_RGB(0xF4F1E7)}, VS2005_RGB(0xA3A37C),
    {VS2005_RGB(0xCCC7BA), VS2005_RGB(0xCCC7BA)}, {VS2005_RGB(0xF7F5F9), VS2005_RGB(0x7A7999)}};
const VisualStudio2005Set kVisualStudio2005Olive = {
    {VS2005_RGB(0xFAF9F5), VS2005_RGB(0xC0C0A8)}, {VS2005_RGB(0xEEEDEA), VS2005_RGB(0xB0AC9E)},
    {VS2005_RGB(0xE5E5D7), VS2005_RGB(0xF4F1E7)}, VS2005_RGB(0xA3A37C),
    {VS2005_RGB(0xCCC7BA), VS2005_RGB(0xCCC7BA)}, {VS2005_RGB(0xECE9D8), VS2005_RGB(0xACA899)}};
const VisualStudio2005Set kVisualStudio2005Silver = {
    {VS2005_RGB(0xF3F4FA), VS2005_RGB(0x9997B5)}, {VS2005_RGB(0xB3B2C8), VS2005_RGB(0x767492)},
    {VS2005_RGB(0xD7D7E5), VS2005_RGB(0xF3F3F7)}, VS2005_RGB(0x7C7C94),
    {VS2005_RGB(0xD7D7E2), VS2005_RGB(0x8583A2)}, {VS2005_RGB(0xF7F5F9), VS2005_RGB(0x7A7999)}};
}  // namespace

CQVTVisualStudio2005Theme::CQVTVisualStudio2005Theme()
{
    // The scheme comes from the colour manager; the Office 2003 sets stay off.
    m_nSystemTheme = qvtSystemThemeUnknown;
    m_bNoSeparatorHighlight = TRUE;
}

int AFX_CDECL CQVTVisualStudio2005Theme::GetColorScheme()
{
    return QVTColorManager()->GetCurrentSystemTheme();
}

void CQVTVisualStudio2005Theme::RefreshMetrics()
{
    CQVTCommandBarsOffice2003Theme::RefreshMetrics();

    if (IsLowColorDisplay())
        m_grcExpandButton.SetStandardValue(GetColor(COLOR_3DFACE));
    else
        m_grcExpandButton.SetStandardValues(CQVTColorManager::BlendColors(GetColor(5), GetColor(15), 550),
                                            GetColor(16));

    const int nScheme = GetColorScheme();
    const VisualStudio2005Set* pSet = nScheme == qvtSystemThemeBlue     ? &kVisualStudio2005Blue
                                      : nScheme == qvtSystemThemeOlive  ? &kVisualStudio2005Olive
                                      : nScheme == qvtSystemThemeSilver ? &kVisualStudio2005Silver
                                                                        : nullptr;
    if (pSet)
    {
        m_grcToolBar.SetStandardValues(pSet->toolBar[0], pSet->toolBar[1], 0.75f);
        m_grcExpandButton.SetStandardValues(pSet->expandButton[0], pSet->expandButton[1], 0.75f);
        m_grcDockBar.SetStandardValues(pSet->dockBar[0], pSet->dockBar[1], 0.5f);
        m_clrToolbarShadow.SetStandardValue(pSet->toolbarShadow);
        m_grcExpandedGripper.SetStandardValues(pSet->expandedGripper[0], pSet->expandedGripper[1], 0.5f);
        m_grcFace.SetStandardValues(pSet->face[0], pSet->face[1], 0.5f);
        if (nScheme == qvtSystemThemeSilver)
            m_grcPopupedSecond.SetStandardValues(VS2005_RGB(0xE8E8F1), VS2005_RGB(0xB0AEC5), 0.5f);
        else
            m_grcPopupedSecond.SetStandardValueFrom(m_grcToolBar);
    }
    if (nScheme == qvtSystemThemeOlive)
    {
        m_arrColor[31].SetStandardValue(VS2005_RGB(0xB6C68D));
        m_arrColor[33].SetStandardValue(VS2005_RGB(0x93A070));
        m_arrColor[36].SetStandardValue(VS2005_RGB(0xB6C68D));
        m_arrColor[47].SetStandardValue(VS2005_RGB(0xFFFFFF));
    }
    else if (nScheme == qvtSystemThemeSilver)
    {
        m_arrColor[30].SetStandardValue(VS2005_RGB(0xDBDAE4));
        m_arrColor[31].SetStandardValue(VS2005_RGB(0xFFEEC2));
        for (int nIndex : {32, 37, 50})
            m_arrColor[nIndex].SetStandardValue(VS2005_RGB(0x4B4B6F));
        m_arrColor[33].SetStandardValue(VS2005_RGB(0xFE803E));
        for (int nIndex : {35, 60})
            m_arrColor[nIndex].SetStandardValue(VS2005_RGB(0x8D8D8D));
        m_arrColor[36].SetStandardValue(VS2005_RGB(0xFFC06F));
        m_arrColor[38].SetStandardValue(VS2005_RGB(0x545475));
        m_arrColor[39].SetStandardValue(VS2005_RGB(0x6E6D8F));
        m_arrColor[47].SetStandardValue(VS2005_RGB(0x000000));
        m_arrColor[61].SetStandardValue(VS2005_RGB(0x7A7999));
        m_clrTearOff.SetStandardValue(VS2005_RGB(0xC0C0D3));
        m_clrShadow.SetStandardValue(VS2005_RGB(0x7A7999));
    }
    m_grcGripper.SetStandardValueFrom(m_grcToolBar);
    CreateGradientGlyph();
}

#undef VS2005_RGB
