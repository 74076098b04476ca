#include "toolkit/themes/windows10/QVTStatusBarThemeNativeWindows10.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTAmbientAccent.h"

IMPLEMENT_DYNAMIC(CQVTStatusBarThemeNativeWindows10, CQVTStatusBarThemeOffice2013)
IMPLEMENT_DYNAMIC(CQVTStatusBarThemeVisualStudio2015, CQVTStatusBarThemeNativeWindows10)

namespace {
const COLORREF kWindows10NoColor = CQVTPaintManagerColor::noColor;

COLORREF Windows10GripperLite(COLORREF clr)
{
    return CQVTColorManager::BlendColors(clr, GetColorByIndex(COLOR_WINDOW), 50);
}

COLORREF Windows10GripperDark(COLORREF clr)
{
    return CQVTColorManager::BlendColors(clr, GetColorByIndex(COLOR_WINDOWTEXT), 75);
}
}  // namespace

CQVTStatusBarThemeNativeWindows10::CQVTStatusBarThemeNativeWindows10(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarThemeOffice2013(pPaintManager)
{
}

void CQVTStatusBarThemeNativeWindows10::RefreshKeyColors()
{
    CQVTStatusBarThemeOffice2013::RefreshMetrics();
    const COLORREF clrBack = m_clrBackground.GetValue();
    m_clrGripperLite.SetStandardValue(Windows10GripperLite(clrBack));
    m_clrGripperDark.SetStandardValue(Windows10GripperDark(clrBack));
}

void CQVTStatusBarThemeNativeWindows10::RefreshMetrics()
{
    RefreshKeyColors();
}

void CQVTStatusBarThemeNativeWindows10::DrawGripper(CDC* pDC, CRect rcClient)
{
    CQVTStatusBarThemeVisualStudio2012::DrawDottedGripper(pDC, rcClient, m_clrGripperDark, m_clrGripperLite);
}

void CQVTStatusBarThemeNativeWindows10::SetAccentColor(COLORREF clr)
{
    CQVTPaintManagerColor* accent[] = {&m_clrBackground, &m_clrTextGray, &m_clrButtonBack};
    if (clr == kWindows10NoColor)
    {
        for (CQVTPaintManagerColor* pColor : accent)
            pColor->SetDefaultValue();
        m_clrGripperLite.SetDefaultValue();
        m_clrGripperDark.SetDefaultValue();
        m_clrButtonBackPushed.SetDefaultValue();
        m_clrButtonBackChecked.SetDefaultValue();
        m_clrButtonBackHighlight.SetDefaultValue();
        // The button backs took the gripper's standard values: back to the keys.
        RefreshKeyColors();
        return;
    }
    for (CQVTPaintManagerColor* pColor : accent)
        pColor->SetCustomValue(clr);
    m_clrGripperLite.SetCustomValue(Windows10GripperLite(clr));
    m_clrGripperDark.SetCustomValue(Windows10GripperDark(clr));
    m_clrButtonBackPushed = m_clrGripperDark;
    m_clrButtonBackChecked = m_clrGripperDark;
    m_clrButtonBackHighlight = m_clrGripperLite;
}

COLORREF CQVTStatusBarThemeNativeWindows10::GetAccentColor() const
{
    // The accent is in place when every colour it sets holds what it set.
    const COLORREF clr = m_clrTextGray.GetValue();
    if (!m_clrTextGray.IsCustomValue() || clr == kWindows10NoColor)
        return kWindows10NoColor;
    const COLORREF clrLite = Windows10GripperLite(clr), clrDark = Windows10GripperDark(clr);
    if (m_clrBackground.GetValue() != clr || m_clrButtonBack.GetValue() != clr ||
        m_clrGripperLite.GetValue() != clrLite || m_clrGripperDark.GetValue() != clrDark ||
        m_clrButtonBackPushed.GetValue() != clrDark || m_clrButtonBackChecked.GetValue() != clrDark ||
        m_clrButtonBackHighlight.GetValue() != clrLite)
        return kWindows10NoColor;
    return clr;
}

CQVTStatusBarThemeVisualStudio2015::CQVTStatusBarThemeVisualStudio2015(CQVTPaintManager* pPaintManager)
    : CQVTStatusBarThemeNativeWindows10(pPaintManager), m_bFollowAmbient(TRUE)
{
    QVTAmbientAccent::Observe(this);
}

CQVTStatusBarThemeVisualStudio2015::~CQVTStatusBarThemeVisualStudio2015()
{
    QVTAmbientAccent::StopObserving(this);
}

void CQVTStatusBarThemeVisualStudio2015::RefreshMetrics()
{
    CQVTStatusBarThemeNativeWindows10::RefreshMetrics();
    FollowAmbient();
}

void CQVTStatusBarThemeVisualStudio2015::SetAccentColor(COLORREF clr)
{
    CQVTStatusBarThemeNativeWindows10::SetAccentColor(clr);
    m_bFollowAmbient = clr == kWindows10NoColor;
}

void CQVTStatusBarThemeVisualStudio2015::FollowAmbient()
{
    if (!m_bFollowAmbient)
        return;
    SetAccentColor(QVTAmbientAccent::Read());
    m_bFollowAmbient = TRUE;
}

void CQVTStatusBarThemeVisualStudio2015::OnAmbientPropertyChanged(CQVTApplication* /*pApplication*/,
                                                                  int nProperty)
{
    if (nProperty == 1)
        FollowAmbient();
}
