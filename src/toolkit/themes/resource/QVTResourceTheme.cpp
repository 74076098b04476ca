#include "toolkit/themes/resource/QVTResourceTheme.h"

#include "toolkit/ribbon/paint/QVTRibbonThemeResource.h"

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/frame/QVTRibbonOffice2007FrameTheme.h"
#include "toolkit/themes/resource/QVTControlGalleryResourceTheme.h"
#include "toolkit/themes/resource/QVTMessageBarThemeResource.h"
#include "toolkit/themes/resource/QVTProgressResourceTheme.h"
#include "toolkit/themes/resource/QVTScrollBarThemeResource.h"
#include "toolkit/themes/resource/QVTSliderResourceTheme.h"
#include "toolkit/themes/resource/QVTStatusBarThemeResource.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTResourceTheme, CQVTCommandBarsOffice2003Theme)

namespace {
using QVTResourceThemeColors::kNoColor;

BOOL IsColor(COLORREF clr)
{
    return clr != kNoColor;
}
}  // namespace

CQVTResourceTheme::CQVTResourceTheme()
    : m_nMessageBarHeight(0), m_szMessageBarButton(0, 0), m_pImages(QVTResourceImages())
{
    // Shadow mode 3: popups and the controls that open them cast shadows.
    m_pShadowManager->SetShadowOptions(CQVTShadowManager::shadowAlways |
                                       CQVTShadowManager::shadowExcludeRect);
    m_nSystemTheme = qvtSystemThemeUnknown;
    m_bThemedStatusBar = TRUE;
    m_bCaptionSpacing = TRUE;
    SetSliderPaintManager(new CQVTSliderResourceTheme(this));
    SetProgressPaintManager(new CQVTProgressResourceTheme(this));
    SetScrollBarPaintManager(new CQVTScrollBarThemeResource());
    SetMessageBarPaintManager(new CQVTMessageBarThemeResource(this));
    SetStatusBarPaintManager(new CQVTStatusBarThemeResource(this));
    SetGalleryPaintManager(new CQVTControlGalleryResourceTheme(this));
}

CQVTResourceTheme::~CQVTResourceTheme()
{
    // The next theme is already installed: whatever it keeps beyond one
    // drawing holds its own reference, and the rest is loaded again.
    if (m_pImages)
        m_pImages->RemoveAllImages();
}

CQVTResourceImage* CQVTResourceTheme::LoadImage(LPCTSTR lpszImageName) const
{
    return m_pImages ? m_pImages->LoadFile(lpszImageName) : nullptr;
}

void CQVTResourceTheme::SetImageHandle(HMODULE hModule, LPCTSTR lpszIniName)
{
    if (m_pImages)
        m_pImages->SetModule(hModule, lpszIniName);
    RefreshMetrics();
}

CQVTFramePaintManager* CQVTResourceTheme::GetFramePaintManager()
{
    // Made on first request: frames drawn from the set's images.
    if (!m_pFramePaintManager)
    {
        m_pFramePaintManager = new CQVTRibbonOffice2007FrameTheme(this);
        m_pFramePaintManager->RefreshMetrics();
    }
    return m_pFramePaintManager;
}

CQVTRibbonPaintManager* CQVTResourceTheme::GetRibbonPaintManager()
{
    if (!m_pRibbonPaintManager)
    {
        m_pRibbonPaintManager = new CQVTRibbonThemeResource(this);
        m_pRibbonPaintManager->RefreshMetrics();
    }
    return m_pRibbonPaintManager;
}

// Colours.

void CQVTResourceTheme::RefreshMetrics()
{
    CQVTCommandBarsOffice2003Theme::RefreshMetrics();
    if (!m_pImages || !m_pImages->IsValid())
        return;
    ReadIniColors();

    m_arrColor[41].SetStandardValue(RGB(0xF6, 0xF6, 0xF6));
    for (int nIndex = 44; nIndex <= 47; ++nIndex)
        m_arrColor[nIndex].SetStandardValue(RGB(0, 0, 0));
    for (int nIndex : {35, 58, 60})
        m_arrColor[nIndex].SetStandardValue(RGB(0x8D, 0x8D, 0x8D));
    m_arrColor[52].SetStandardValue(m_clrToolbarShadow.GetStandardValue());
    m_grcPopupedSecond.SetStandardValues(m_grcPopuped.clrLight.GetStandardValue(),
                                         m_grcPopuped.clrDark.GetStandardValue(),
                                         m_grcPopuped.fGradientFactor);
    if (m_pShadowManager)
        m_pShadowManager->SetShadowColor(0);
    m_bSchemeColors = TRUE;
    CreateGradientGlyph();
}

void CQVTResourceTheme::ReadIniColors()
{
    CQVTResourceImages* pImages = m_pImages;
    auto color = [pImages](LPCTSTR lpszSection, LPCTSTR lpszKey) {
        return pImages->GetIniColor(lpszSection, lpszKey, kNoColor);
    };
    auto gradient = [&color](CQVTPaintManagerColorGradient& grc, LPCTSTR lpszSection, LPCTSTR lpszDark,
                             LPCTSTR lpszLight, float fFactor) {
        const COLORREF clrDark = color(lpszSection, lpszDark);
        grc.SetStandardValues(color(lpszSection, lpszLight), clrDark, fFactor);
    };
    auto entry = [this, &color](int nIndex, LPCTSTR lpszSection, LPCTSTR lpszKey) {
        m_arrColor[nIndex].SetStandardValue(color(lpszSection, lpszKey));
    };

    // In the order the schemes list them.
    m_clrStatusBarShadow.SetStandardValue(color(_T("StatusBar"), _T("StatusBarShadow")));
    gradient(m_grcStatusBarTop, _T("StatusBar"), _T("StatusBarFaceTopDark"), _T("StatusBarFaceTopLight"),
             0.5f);
    gradient(m_grcStatusBarBottom, _T("StatusBar"), _T("StatusBarFaceBottomDark"),
             _T("StatusBarFaceBottomLight"), 0.5f);
    m_grcDockBar.SetStandardValue(color(_T("Toolbar"), _T("DockBarFace")));
    gradient(m_grcToolBar, _T("Toolbar"), _T("ToolbarFaceDark"), _T("ToolbarFaceLight"), 0.75f);
    m_clrToolbarShadow.SetStandardValue(color(_T("Toolbar"), _T("ToolbarFaceShadow")));
    gradient(m_grcExpandButton, _T("Toolbar"), _T("ControlToolbarExpandDark"),
             _T("ControlToolbarExpandLight"), 0.75f);
    gradient(m_grcPopuped, _T("Toolbar"), _T("ControlHighlightPopupedDark"),
             _T("ControlHighlightPopupedLight"), 0.5f);
    gradient(m_grcGripper, _T("Toolbar"), _T("MenuPopupGripperDark"), _T("MenuPopupGripperLight"), 0.5f);
    gradient(m_grcExpandedGripper, _T("Toolbar"), _T("MenuPopupExpandedGripperDark"),
             _T("MenuPopupExpandedGripperLight"), 0.5f);
    m_clrTearOff.SetStandardValue(color(_T("Toolbar"), _T("MenuPopupTearOffGripper")));
    m_clrMenuBarText.SetStandardValue(color(_T("Toolbar"), _T("MenuBarText")));
    entry(43, _T("Toolbar"), _T("MenuPopupBorder"));
    entry(38, _T("Toolbar"), _T("ToolbarGripper"));
    entry(54, _T("Window"), _T("WindowFrame"));
    m_clrShadow.SetStandardValue(color(_T("Toolbar"), _T("FloatingBarGripper")));
    m_clrLight.SetStandardValue(color(_T("Toolbar"), _T("FloatingBarGripperText")));
    entry(61, _T("Toolbar"), _T("FloatingBarBorder"));
    entry(12, _T("Workspace"), _T("AppWorkspace"));
    entry(51, _T("Window"), _T("ButtonFace"));
    entry(30, _T("Toolbar"), _T("ToolbarFace"));
    entry(39, _T("Toolbar"), _T("ToolbarSeparator"));
    entry(40, _T("Toolbar"), _T("ControlDisabledIcon"));
    m_clrWorkspace[0].SetStandardValue(color(_T("Workspace"), _T("WorkspaceClientTop")));
    m_clrWorkspace[1].SetStandardValue(color(_T("Workspace"), _T("WorkspaceClientMiddle")));
    m_clrWorkspace[2].SetStandardValue(color(_T("Workspace"), _T("WorkspaceClientBottom")));
    entry(31, _T("Window"), _T("HighlightSelected"));
    entry(32, _T("Window"), _T("HighlightSelectedBorder"));
    entry(33, _T("Window"), _T("HighlightPressed"));
    entry(50, _T("Window"), _T("HighlightPressedBorder"));
    entry(36, _T("Window"), _T("HighlightChecked"));
    entry(37, _T("Window"), _T("HighlightCheckedBorder"));
    gradient(m_grcSelected, _T("Window"), _T("HighlightSelectedDark"), _T("HighlightSelectedLight"), 0.5f);
    gradient(m_grcChecked, _T("Window"), _T("HighlightCheckedDark"), _T("HighlightCheckedLight"), 0.5f);
    gradient(m_grcPressed, _T("Window"), _T("HighlightPressedDark"), _T("HighlightPressedLight"), 0.5f);
    entry(56, _T("Toolbar"), _T("ControlLabel"));
    entry(53, _T("Toolbar"), _T("ControlEditBorder"));
    gradient(m_grcFace, _T("Toolbar"), _T("ControlDisabledIconDark"), _T("ControlDisabledIconLight"), 0.5f);

    const int nHeight = pImages->GetIniInt(_T("MessageBar"), _T("MessageBarHeight"), 0);
    m_nMessageBarHeight = nHeight >= 1 ? DpiY(nHeight) : nHeight;
    const CSize szButton =
        pImages->GetIniSize(_T("MessageBar"), _T("MessageBarDefaultButtonSize"), CSize(0, 0));
    m_szMessageBarButton = CSize(DpiX(szButton.cx), DpiY(szButton.cy));
    gradient(m_grcMessageBar, _T("MessageBar"), _T("MessageBarDark"), _T("MessageBarLight"), 0.5f);
    m_clrMessageBarFrame.SetStandardValue(color(_T("MessageBar"), _T("MessageBarFrame")));
    m_clrInfoText = color(_T("MessageBar"), _T("MessageBarText"));
    m_clrMessageBar.SetStandardValue(color(_T("MessageBar"), _T("MessageBar")));
}

COLORREF CQVTResourceTheme::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                                  BOOL bPopuped, int barType, int barPosition)
{
    if (barType == qvtBarTypeMenuBar && bEnabled && !bSelected && !bPressed && !bChecked && !bPopuped &&
        IsColor(m_clrMenuBarText))
        return m_clrMenuBarText;
    return CQVTCommandBarsOffice2003Theme::GetRectangleTextColor(bSelected, bPressed, bEnabled, bChecked,
                                                                 bPopuped, barType, barPosition);
}

// The MDI workspace.

void CQVTResourceTheme::FillWorkspace(CDC* pDC, CRect rc)
{
    CQVTResourceImage* pCorner =
        m_pImages && m_pImages->IsValid() ? LoadImage(_T("WORKSPACETOPLEFT")) : nullptr;
    if (!pCorner)
    {
        CQVTCommandBarsOffice2003Theme::FillWorkspace(pDC, rc);
        return;
    }
    CQVTDCSaveState state(pDC);
    pDC->IntersectClipRect(rc);
    const CRect rcSource = pCorner->GetSource(0, 1);
    const CRect rcCorner(rc.TopLeft(), CSize(std::min<int>(DpiX(rcSource.Width()), rc.Width()),
                                             std::min<int>(DpiY(rcSource.Height()), rc.Height())));
    // Beside a corner narrower than the workspace the top colour goes on.
    if (rcCorner.right < rc.right && IsColor(m_clrWorkspace[0]))
        pDC->FillSolidRect(rcCorner.right, rc.top, rc.right - rcCorner.right, rcCorner.Height(),
                           m_clrWorkspace[0]);
    pCorner->DrawImage(pDC, CRect(rc.TopLeft(), CSize(DpiX(rcSource.Width()), DpiY(rcSource.Height()))),
                       rcSource);

    const int nRest = rc.bottom - rcCorner.bottom;
    if (nRest <= 0)
        return;
    const CRect rcUpper(rc.left, rcCorner.bottom, rc.right, rcCorner.bottom + nRest / 3);
    const CRect rcLower(rc.left, rcUpper.bottom, rc.right, rc.bottom);
    if (IsColor(m_clrWorkspace[0]) && IsColor(m_clrWorkspace[1]))
        QVTDrawHelpers()->GradientFill(pDC, rcUpper, m_clrWorkspace[0], m_clrWorkspace[1], FALSE);
    if (IsColor(m_clrWorkspace[1]) && IsColor(m_clrWorkspace[2]))
        QVTDrawHelpers()->GradientFill(pDC, rcLower, m_clrWorkspace[1], m_clrWorkspace[2], FALSE);
}
