#include "toolkit/ribbon/paint/QVTRibbonOffice2013Theme.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTGdiPlus.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/paint/QVTRibbonTabTheme.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTRibbonOffice2013Theme, CQVTRibbonMarkupTheme)

namespace {

const COLORREF kFlatNoColor = 0xFFFFFFFF;

struct FlatBrush
{
    LPCTSTR lpszName;
    LPCTSTR lpszSection;
    LPCTSTR lpszKey;  // null: the brush's own name
    COLORREF clrDefault;
};

const FlatBrush kFlatBrushes[] = {
    {_T("TabSelectedHighlightedDarkBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("TabSelectedHighlightedLightBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(243, 243, 243)},
    {_T("TabSelectedFocusedDarkBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("TabSelectedFocusedLightBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(243, 243, 243)},
    {_T("TabSelectedDarkBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("TabSelectedLightBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(243, 243, 243)},
    {_T("TabNormalBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(255, 0, 0)},
    {_T("GroupRectBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("GroupPopupToolbarBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("GroupPopupSelectedBorderBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("GroupPopupSelectedBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(243, 243, 243)},
    {_T("GroupPopupPopupedBorderBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("GroupPopupPopupedBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(243, 243, 243)},
    {_T("GroupPopupNormalBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("GroupNormalBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("GroupHighlightedBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(171, 171, 171)},
    {_T("FrameSystemMenuSelectedBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(42, 138, 212)},
    {_T("FrameSystemMenuSelectedTextBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(255, 255, 255)},
    {_T("FrameSystemMenuPopupedBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(42, 141, 212)},
    {_T("FrameSystemMenuPopupedTextBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(255, 255, 255)},
    {_T("FrameSystemMenuNormalBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(51, 51, 51)},
    {_T("FrameSystemMenuNormalTextBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(255, 255, 255)},
    {_T("FrameContextHeaderBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(230, 243, 230)},
    {_T("FrameContextHeaderBorderBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(73, 163, 73)},
    {_T("FrameContextHeaderTextBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(73, 163, 73)},
    {_T("FrameCaptionInactiveBackBrush"), _T("CommandBars.Frame"), _T("InactiveCaptionColor"),
     RGB(255, 255, 255)},
    {_T("FrameCaptionActiveBackBrush"), _T("CommandBars.Frame"), _T("ActiveCaptionColor"),
     RGB(255, 255, 255)},
    {_T("FrameCaptionBackstageLeftBrush"), _T("CommandBars.Ribbon.Backstage"), _T("ButtonBackNormal"),
     RGB(255, 255, 255)},
    {_T("FrameCaptionBackstageRightBrush"), _T("CommandBars.Ribbon.Backstage"), _T("PageBackground"),
     RGB(255, 255, 255)},
    {_T("SystemPopupBarEntryBorderBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(255, 255, 255)},
    {_T("SystemPopupBarEntryBackBrush"), _T("CommandBars.Ribbon.Xaml"), nullptr, RGB(255, 255, 255)},
};

const LPCTSTR kFlatContextNames[8] = {_T("None"), _T("Blue"),   _T("Yellow"), _T("Green"),
                                      _T("Red"),  _T("Purple"), _T("Cyan"),   _T("Orange")};
const CQVTRibbonOffice2013Theme::CContextColors kFlatContextDefaults[8] = {
    {RGB(243, 243, 243), RGB(243, 243, 243), RGB(102, 102, 102)},
    {RGB(43, 87, 154), RGB(213, 225, 242), RGB(62, 109, 181)},
    {RGB(242, 203, 29), RGB(255, 251, 230), RGB(152, 119, 21)},
    {RGB(73, 163, 73), RGB(230, 243, 230), RGB(73, 138, 73)},
    {RGB(226, 101, 102), RGB(248, 212, 212), RGB(202, 90, 92)},
    {RGB(201, 89, 156), RGB(252, 240, 247), RGB(161, 64, 122)},
    {RGB(153, 200, 233), RGB(205, 230, 247), RGB(1, 89, 138)},
    {RGB(255, 157, 0), RGB(255, 248, 237), RGB(207, 92, 10)},
};

const LPCTSTR kFlatPatterns[15] = {nullptr,
                                   _T("CALLIGRAPHY"),
                                   _T("CIRCLESANDSTRIPES"),
                                   _T("CIRCUIT"),
                                   _T("CLOUDS"),
                                   _T("DOODLECIRCLES"),
                                   _T("DOODLEDIAMONDS"),
                                   _T("GEOMETRY"),
                                   _T("LUNCHBOX"),
                                   _T("SCHOOLSUPPLIES"),
                                   _T("SPRING"),
                                   _T("STARS"),
                                   _T("STRAWS"),
                                   _T("TREERINGS"),
                                   _T("UNDERWATER")};

// An INI colour of three numbers 0-255; anything else is no colour and
// takes the default.
COLORREF FlatColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault)
{
    const CString strValue = GetResourceImagesIniString(lpszSection, lpszKey, _T(""));
    int rgb[3] = {};
    int nCount = 0;
    int i = 0;
    const int nLength = strValue.GetLength();
    while (i < nLength)
    {
        const TCHAR ch = strValue[i];
        if (ch == _T(' ') || ch == _T('\t') || ch == _T(','))
        {
            ++i;
            continue;
        }
        if (ch < _T('0') || ch > _T('9') || nCount == 3)
            return clrDefault;
        int n = 0;
        while (i < nLength && strValue[i] >= _T('0') && strValue[i] <= _T('9'))
        {
            n = n * 10 + (strValue[i] - _T('0'));
            if (n > 255)
                return clrDefault;
            ++i;
        }
        rgb[nCount++] = n;
    }
    return nCount == 3 ? RGB(rgb[0], rgb[1], rgb[2]) : clrDefault;
}

int FlatLightness(COLORREF clr)
{
    const int r = GetRValue(clr);
    const int g = GetGValue(clr);
    const int b = GetBValue(clr);
    return (std::min({r, g, b}) + std::max({r, g, b})) / 2;
}

Gdiplus::ARGB FlatArgb(COLORREF clr)
{
    return 0xFF000000u | (static_cast<Gdiplus::ARGB>(GetRValue(clr)) << 16) |
           (static_cast<Gdiplus::ARGB>(GetGValue(clr)) << 8) | GetBValue(clr);
}

int FlatH(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}

int FlatV(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}

}  // namespace

CQVTRibbonOffice2013Theme::CThemeStaticExtension::CThemeStaticExtension()
    : CQVTMarkupStaticExtension(_T("Theme"))
{
    CQVTMarkupStaticExtension* pColors = new CQVTMarkupStaticExtension(_T("Colors"));
    for (const FlatBrush& brush : kFlatBrushes)
        pColors->AddExtension(new CQVTMarkupStaticExtensionBrushProperty(
            brush.lpszName,
            FlatColor(brush.lpszSection, brush.lpszKey ? brush.lpszKey : brush.lpszName, brush.clrDefault)));
    AddExtension(pColors);
}

CQVTRibbonOffice2013Theme::CQVTRibbonOffice2013Theme(CQVTPaintManager* pPaintManager)
    : CQVTRibbonMarkupTheme(pPaintManager), m_nCaptionHeight(0), m_clrRibbonInactiveFaceState(0),
      m_clrTabBackInactiveState(0), m_clrBackstageCaptionLeft(0), m_clrBackstageCaptionRight(0),
      m_clrTabDelimiter(0), m_clrGroupOption(0), m_clrGroupCaptionFlat(0), m_clrCaptionTextActive(0),
      m_clrCaptionTextInactive(0), m_clrToolbarButtonText(0), m_clrCaptionButtonHot(0),
      m_clrCaptionButtonPressed(0), m_clrBackstageButtonNormal(0), m_clrBackstageButtonHighlighted(0),
      m_nBackgroundImage(0)
{
    std::copy(std::begin(kFlatContextDefaults), std::end(kFlatContextDefaults), m_contextColors);
    if (m_pMarkupContext && m_pMarkupContext->GetExtensionRoot())
        m_pMarkupContext->GetExtensionRoot()->AddExtension(new CThemeStaticExtension());
}

const CQVTRibbonOffice2013Theme::CContextColors& CQVTRibbonOffice2013Theme::GetContextColors(int nColor) const
{
    return m_contextColors[nColor >= 0 && nColor <= 7 ? nColor : 0];
}

BOOL AFX_CDECL CQVTRibbonOffice2013Theme::IsContrastEnough(COLORREF clrText, COLORREF clrBack)
{
    return std::abs(FlatLightness(clrText) - FlatLightness(clrBack)) >= 84;
}

void CQVTRibbonOffice2013Theme::RefreshMetrics()
{
    CQVTRibbonMarkupTheme::RefreshMetrics();
    // An absurd height falls back to the default.
    int nCaption = GetResourceImagesIniInt(_T("CommandBars.Frame"), _T("CaptionHeight"), 28);
    if (nCaption <= 0 || nCaption > 200)
        nCaption = 28;
    m_nCaptionHeight = FlatV(nCaption);

    const LPCTSTR lpszRibbon = _T("CommandBars.Ribbon");
    const LPCTSTR lpszFrame = _T("CommandBars.Frame");
    const LPCTSTR lpszBackstage = _T("CommandBars.Ribbon.Backstage");
    m_clrRibbonFace = FlatColor(lpszRibbon, _T("RibbonFace"), RGB(243, 243, 243));
    m_clrRibbonBorder = FlatColor(lpszRibbon, _T("RibbonBorder"), RGB(171, 171, 171));
    m_clrRibbonInactiveFace = FlatColor(lpszRibbon, _T("RibbonInactiveFace"), RGB(222, 222, 222));
    m_clrRibbonInactiveFaceState = FlatColor(lpszRibbon, _T("RibbonInactiveFaceState"), RGB(222, 222, 222));
    m_clrMinimizedFrameEdgeShadow = FlatColor(lpszRibbon, _T("MinimizedFrameEdgeShadow"), RGB(243, 243, 243));
    m_clrMinimizedFrameEdgeHighLight =
        FlatColor(lpszRibbon, _T("MinimizedFrameEdgeHighLight"), RGB(243, 243, 243));
    m_clrGroupOption = FlatColor(lpszRibbon, _T("ControlGroupOption"), RGB(119, 119, 119));
    m_clrGroupCaptionFlat = FlatColor(lpszRibbon, _T("GroupCaption"), RGB(119, 119, 119));
    m_clrTabBackInactiveState = FlatColor(lpszRibbon, _T("TabBackInactiveState"), RGB(255, 255, 255));
    m_clrToolbarButtonText = FlatColor(_T("CommandBars.Toolbar"), _T("ButtonText"), RGB(38, 38, 38));
    m_clrCaptionTextActive = FlatColor(lpszFrame, _T("ActiveFontColor"), RGB(38, 38, 38));
    m_clrCaptionTextInactive = FlatColor(lpszFrame, _T("InactiveFontColor"), RGB(38, 38, 38));
    m_clrCaptionButtonHot = FlatColor(lpszFrame, _T("CaptionButtonHotBackgroundColor"), RGB(255, 255, 255));
    m_clrCaptionButtonPressed =
        FlatColor(lpszFrame, _T("CaptionButtonPressedBackgroundColor"), RGB(255, 255, 255));
    m_clrBackstageCaptionLeft = FlatColor(lpszBackstage, _T("ButtonBackNormal"), RGB(255, 255, 255));
    m_clrBackstageButtonNormal = m_clrBackstageCaptionLeft;
    m_clrBackstageCaptionRight = FlatColor(lpszBackstage, _T("PageBackground"), RGB(255, 255, 255));
    m_clrBackstageButtonHighlighted =
        FlatColor(lpszBackstage, _T("ButtonBackHighlighted"), RGB(255, 255, 255));
    m_strBackstageImagePrefixHighlighted =
        GetResourceImagesIniString(lpszBackstage, _T("ButtonImagePrefixHighlighted"), _T(""));
    m_strBackstageImagePrefixNormal =
        GetResourceImagesIniString(lpszBackstage, _T("ButtonImagePrefixNormal"), _T(""));
    m_clrTabDelimiter = FlatColor(lpszRibbon, _T("RibbonTabDelimeter"), RGB(225, 225, 225));
    m_clrGroupCaption = m_clrGroupCaptionFlat;

    CQVTTabPaintManagerColorSet* pColorSet = m_pTabPaintManager ? m_pTabPaintManager->GetColorSet() : nullptr;
    if (pColorSet)
    {
        pColorSet->m_clrButton.SetCustomValue(
            FlatColor(lpszRibbon, _T("TabBackInactive"), RGB(255, 255, 255)));
        pColorSet->m_clrButtonHighlighted.SetCustomValue(
            FlatColor(lpszRibbon, _T("TabBackHighlighted"), RGB(255, 255, 255)));
        pColorSet->m_clrText.SetCustomValue(FlatColor(lpszRibbon, _T("TabTextInactive"), RGB(38, 38, 38)));
        pColorSet->m_clrTextHighlighted.SetCustomValue(
            FlatColor(lpszRibbon, _T("TabTextHighlighted"), RGB(0, 114, 198)));
        pColorSet->m_clrTextSelected.SetCustomValue(
            FlatColor(lpszRibbon, _T("TabTextSelected"), RGB(0, 114, 198)));
    }

    for (int i = 0; i < 8; ++i)
    {
        const CString strName(kFlatContextNames[i]);
        const LPCTSTR lpszContext = _T("CommandBars.Ribbon.TabContext");
        m_contextColors[i].clrBorder =
            FlatColor(lpszContext, _T("Color") + strName + _T("Border"), kFlatContextDefaults[i].clrBorder);
        m_contextColors[i].clrBack =
            FlatColor(lpszContext, _T("Color") + strName + _T("Back"), kFlatContextDefaults[i].clrBack);
        m_contextColors[i].clrText =
            FlatColor(lpszContext, _T("Color") + strName + _T("Text"), kFlatContextDefaults[i].clrText);
    }

    // Text too close to the plain header's back in lightness.
    if (CQVTRibbonTabColorSet* pRibbonColors = dynamic_cast<CQVTRibbonTabColorSet*>(pColorSet))
    {
        if (!IsContrastEnough(pRibbonColors->m_clrText.GetValue(), m_contextColors[0].clrBack))
            pRibbonColors->m_bTextContrast = FALSE;
    }

    m_strThemeName = GetResourceImagesIniString(_T("Theme"), _T("Name"), _T("OFFICE2013"));
    LoadXamlStyle();
}

void CQVTRibbonOffice2013Theme::LoadXamlStyle()
{
    if (m_bLoaded)
        return;
    CQVTResourceImages* pImages = GetImages();
    HMODULE hModule = pImages ? pImages->GetHandle() : nullptr;
    HRSRC hResource = hModule ? ::FindResource(hModule, _T("XAML_STYLE"), _T("STYLE")) : nullptr;
    if (!hResource)
    {
        hModule = nullptr;
        hResource = QVTResourceManager()->FindResource(&hModule, _T("XAML_STYLE"), _T("STYLE"));
    }
    DWORD nSize = 0;
    const void* pData = CQVTResource::LockBounded(hModule, hResource, &nSize);
    if (!pData)
        return;
    HQVTZIPARCHIVE hArchive = QVTZipOpenArchive(pData, nSize);
    if (!hArchive)
        return;
    LoadParts(hArchive, nullptr);
    QVTZipCloseArchive(hArchive);
}

int CQVTRibbonOffice2013Theme::GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const
{
    if (pRibbonBar && pRibbonBar->IsDwmEnabled())
        return QVTSystemMetrics()->m_nCaptionY;
    return m_nCaptionHeight;
}

// The background pattern.

CString AFX_CDECL CQVTRibbonOffice2013Theme::BuildBackgroundImageName(LPCTSTR lpszThemeName,
                                                                      LPCTSTR lpszIniName, int nDpi,
                                                                      int nIndex)
{
    CString strIni(lpszIniName ? lpszIniName : _T(""));
    if (nIndex == 0 || strIni.IsEmpty())
        return CString();
    strIni.MakeUpper();
    const CString strTheme(lpszThemeName ? lpszThemeName : _T(""));
    CString strName;
    if (strTheme == _T("OFFICE2013"))
    {
        strName = _T("OFFICE2013");
        strName += strIni.Find(_T("DARK_INI")) >= 0    ? _T("DARKGRAY")
                   : strIni.Find(_T("LIGHT_INI")) >= 0 ? _T("LIGHTGRAY")
                                                       : _T("WHITE");
    }
    else if (strTheme == _T("OFFICE2016"))
    {
        strName = _T("OFFICE2016");
        strName += strIni.Find(_T("BLACK_INI")) >= 0      ? _T("BLACK")
                   : strIni.Find(_T("COLORFUL_INI")) >= 0 ? _T("COLORFUL")
                   : strIni.Find(_T("DARKGRAY_INI")) >= 0 ? _T("DARKGRAY")
                                                          : _T("WHITE");
    }
    strName += nDpi <= 96 ? _T("SMALL") : (nDpi <= 200 ? _T("MEDIUM") : _T("LARGE"));
    if (nIndex >= 1 && nIndex <= 14)
        strName += kFlatPatterns[nIndex];
    return strName;
}

CString CQVTRibbonOffice2013Theme::GetBackgroundImageName()
{
    CQVTResourceImages* pImages = GetImages();
    return BuildBackgroundImageName(m_strThemeName, pImages ? pImages->GetIniFileName().GetString() : nullptr,
                                    QVTDpiScaler()->GetDpiY(), m_nBackgroundImage);
}

CRect AFX_CDECL CQVTRibbonOffice2013Theme::CalcBackgroundImageRect(CSize szImage, int nTop, int nHeight,
                                                                   int nRight)
{
    // An image without height (or width) has no aspect to keep.
    if (szImage.cx <= 0 || szImage.cy <= 0 || nHeight <= 0)
        return CRect();
    const int nWidth = MulDiv(szImage.cx, nHeight, szImage.cy);
    return CRect(nRight - nWidth, nTop, nRight, nTop + nHeight);
}

void CQVTRibbonOffice2013Theme::DrawRibbonBackgroundImage(CDC* pDC, CQVTRibbonBar* pRibbonBar)
{
    const CString strName = GetBackgroundImageName();
    if (strName.IsEmpty())
        return;
    CQVTResourceImage* pImage = LoadImage(strName);
    if (!pImage)
        return;
    CRect rcRibbon;
    pRibbonBar->GetClientRect(&rcRibbon);
    int nTop = rcRibbon.top;
    if (pRibbonBar->IsDwmEnabled())
        nTop += pRibbonBar->GetFrameTopBorder();
    int nHeight = GetRibbonCaptionHeight(pRibbonBar);
    if (pRibbonBar->IsCaptionRowShown())
        nHeight += FlatV(1) + m_nControlRowHeight;
    const CRect rc = CalcBackgroundImageRect(pImage->GetExtent(), nTop, nHeight, rcRibbon.right);
    if (rc.IsRectEmpty())
        return;
    pImage->DrawImageStretched(pDC, rc, pImage->GetSource(0, 1));
}

// The caption.

void CQVTRibbonOffice2013Theme::DrawBackstageCaptionParts(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc)
{
    const int nEdge = std::min(static_cast<int>(rc.right),
                               std::max(static_cast<int>(rc.left), pRibbonBar->GetBackstageMenuWidth()));
    DrawPart(pDC, CRect(rc.left, rc.top, nEdge, rc.bottom), partCaptionBackstageLeft);
    DrawPart(pDC, CRect(nEdge, rc.top, rc.right, rc.bottom), partCaptionBackstageRight);
}

void CQVTRibbonOffice2013Theme::DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    if (!pRibbonBar->IsBackstageMode())
    {
        // The pattern lies on the caption's face, under everything the
        // caption shows.
        DrawRibbonFrameCaptionFace(pDC, pRibbonBar, bActive);
        DrawRibbonBackgroundImage(pDC, pRibbonBar);
        DrawRibbonFrameCaptionContent(pDC, pRibbonBar, bActive);
        return;
    }
    // The caption continues the backstage's menu and page colours; it shows
    // no window icon and no context headers meanwhile.
    if (!pRibbonBar->IsDwmEnabled())
        DrawBackstageCaptionParts(pDC, pRibbonBar, pRibbonBar->GetCaptionRect());
    DrawRibbonBackgroundImage(pDC, pRibbonBar);
    DrawRibbonFrameQuickAccess(pDC, pRibbonBar);
    DrawFrameCaptionTitle(pDC, pRibbonBar, bActive);
}

void CQVTRibbonOffice2013Theme::DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    if (!pRibbonBar->IsBackstageMode() || pRibbonBar->IsDwmEnabled())
    {
        CQVTRibbonMarkupTheme::DrawRibbonFrameCaptionBar(pDC, pRibbonBar, bActive);
        return;
    }
    CRect rc = pRibbonBar->GetCaptionRect();
    rc.top -= 1;
    DrawBackstageCaptionParts(pDC, pRibbonBar, rc);
    DrawRibbonFrameQuickAccess(pDC, pRibbonBar);
}

void CQVTRibbonOffice2013Theme::DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                                                   const CQVTRibbonTabContextHeaders& headers)
{
    using namespace QVTGdiPlus;
    if (headers.empty() || !EnsureStarted())
        return;
    CGpGraphics graphics;
    if (GdipCreateFromHDC(pDC->GetSafeHdc(), graphics.Receive()) != Gdiplus::Ok)
        return;
    CRect rcClient;
    pRibbonBar->GetClientRect(&rcClient);
    const BOOL bRtl = (pRibbonBar->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    HFONT hFont = m_pTabPaintManager ? static_cast<HFONT>(m_pTabPaintManager->GetNormalFont().GetSafeHandle())
                                     : nullptr;
    CGpFont font;
    if (hFont)
    {
        HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), hFont);
        GdipCreateFontFromDC(pDC->GetSafeHdc(), font.Receive());
        ::SelectObject(pDC->GetSafeHdc(), hOld);
    }
    CGpStringFormat format;
    GdipCreateStringFormat(Gdiplus::StringFormatFlagsNoWrap, LANG_NEUTRAL, format.Receive());
    if (format)
    {
        GdipSetStringFormatAlign(format, Gdiplus::StringAlignmentCenter);
        GdipSetStringFormatLineAlign(format, Gdiplus::StringAlignmentCenter);
        GdipSetStringFormatTrimming(format, Gdiplus::StringTrimmingEllipsisCharacter);
    }
    for (CQVTRibbonTabContextHeader* pHeader : headers)
    {
        CRect rc(pHeader->m_rcRect);
        if (bRtl)
            rc = CRect(rcClient.right - rc.right, rc.top, rcClient.right - rc.left, rc.bottom);
        rc.DeflateRect(FlatH(1), 0);
        if (rc.Width() <= 0 || rc.Height() <= 0)
            continue;
        const CContextColors& colors = GetContextColors(pHeader->m_nColor);
        const int nBand = std::min(FlatV(4), static_cast<int>(rc.Height()));
        CGpBrush border = CreateSolidFill(FlatArgb(colors.clrBorder));
        CGpBrush back = CreateSolidFill(FlatArgb(colors.clrBack));
        GdipFillRectangleI(graphics, border, rc.left, rc.top, rc.Width(), nBand);
        if (rc.Height() > nBand)
            GdipFillRectangleI(graphics, back, rc.left, rc.top + nBand, rc.Width(), rc.Height() - nBand);
        if (!font || !format || pHeader->m_strCaption.IsEmpty())
            continue;
        CString strCaption(pHeader->m_strCaption);
        CQVTCommandBars* pCommandBars = pRibbonBar->GetCommandBars();
        if (pCommandBars && pCommandBars->IsMenuUpperCase())
            strCaption.MakeUpper();
        const float cxText = static_cast<float>(std::max(0, rc.Width() - FlatH(10)));
        const Gdiplus::RectF rcText =
            MakeRectF(static_cast<float>(rc.left + (rc.Width() - cxText) / 2),
                      static_cast<float>(rc.top + nBand), cxText, static_cast<float>(rc.Height() - nBand));
        CGpBrush text = CreateSolidFill(FlatArgb(colors.clrText));
        GdipDrawString(graphics, reinterpret_cast<const WCHAR*>(strCaption.GetString()),
                       strCaption.GetLength(), font, &rcText, format, text);
    }
}

void CQVTRibbonOffice2013Theme::DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    LOGFONT lf = {};
    CFont* pFont = GetGroupCaptionFont();
    if (pFont && pFont->GetSafeHandle() && pFont->GetLogFont(&lf))
    {
        for (CQVTRibbonMarkupThemePartSystemMenu* pPart :
             {m_pSystemMenuNormal, m_pSystemMenuSelected, m_pSystemMenuPopuped})
        {
            if (!pPart)
                continue;
            pPart->SetCaptionFontFamily(lf.lfFaceName);
            pPart->SetCaptionFontSize(std::abs(lf.lfHeight));
        }
    }
    CQVTRibbonMarkupTheme::DrawRibbonFrameSystemButton(pDC, pControl, rc);
}

// Tabs and the bar.

BOOL AFX_CDECL CQVTRibbonOffice2013Theme::IsTabShownSelected(CQVTRibbonTab* pTab)
{
    if (!pTab->IsSelected())
        return FALSE;
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pTab->GetTabManager());
    CQVTRibbonBar* pRibbonBar = pControlTab ? pControlTab->GetRibbonBar() : nullptr;
    return !pRibbonBar || !pRibbonBar->IsRibbonMinimized() || pControlTab->GetPopuped();
}

void CQVTRibbonOffice2013Theme::DrawSelectedFlatTab(CDC* pDC, CRect rc, COLORREF clrOutline)
{
    pDC->FillSolidRect(rc, m_contextColors[0].clrBack);
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clrOutline);
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrOutline);
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clrOutline);
}

void CQVTRibbonOffice2013Theme::DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab)
{
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pTab->GetTabManager());
    CQVTRibbonBar* pRibbonBar = pControlTab ? pControlTab->GetRibbonBar() : nullptr;
    CRect rc = pTab->GetRect();
    CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(0, FlatV(1), 0, 0), qvtTabPositionTop);
    if (IsTabShownSelected(pTab))
        DrawSelectedFlatTab(pDC, rc, m_clrRibbonBorder);
    else
    {
        CQVTTabPaintManagerColorSet* pColorSet =
            m_pTabPaintManager ? m_pTabPaintManager->GetColorSet() : nullptr;
        COLORREF clrFace = m_clrTabBackInactiveState;
        if ((!pRibbonBar || pRibbonBar->IsFrameActive()) && pColorSet)
            clrFace = pTab->IsHighlighted() ? pColorSet->m_clrButtonHighlighted.GetValue()
                                            : pColorSet->m_clrButton.GetValue();
        pDC->FillSolidRect(rc, clrFace);
    }
    // Once any tab is compressed, every tab is set off from the next.
    CQVTTabManager* pManager = pTab->GetTabManager();
    BOOL bCompressed = FALSE;
    for (int i = 0; pManager && !bCompressed && i < pManager->GetItemCount(); ++i)
        bCompressed = pManager->GetItem(i)->IsTruncated();
    if (bCompressed)
        pDC->FillSolidRect(rc.right - FlatH(1), rc.top + FlatV(3), FlatH(1), rc.Height() - 2 * FlatV(3),
                           m_clrTabDelimiter);
}

void CQVTRibbonOffice2013Theme::FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar)
{
    CRect rc;
    pRibbonBar->GetClientRect(&rc);
    int nTop = rc.top;
    if (pRibbonBar->IsDwmEnabled())
        nTop += pRibbonBar->GetFrameTopBorder();
    if (pRibbonBar->GetFrameHook())
        nTop += GetRibbonCaptionHeight(pRibbonBar);
    int nBand = 0;
    if (pRibbonBar->IsBackstageMode())
    {
        // The band over the backstage view carries on its menu and page.
        const int nBottom = std::max(nTop, pRibbonBar->GetBackstageBandHeight());
        const int nEdge = std::min(static_cast<int>(rc.right), pRibbonBar->GetBackstageMenuWidth());
        pDC->FillSolidRect(CRect(rc.left, nTop, nEdge, nBottom), m_clrBackstageCaptionLeft);
        pDC->FillSolidRect(CRect(nEdge, nTop, rc.right, nBottom), m_clrBackstageCaptionRight);
        return;
    }
    if (pRibbonBar->IsCaptionRowShown())
    {
        nBand = FlatV(1) + m_nControlRowHeight;
        pDC->FillSolidRect(rc.left, nTop, rc.Width(), nBand,
                           pRibbonBar->IsFrameActive() ? m_clrRibbonInactiveFace
                                                       : m_clrRibbonInactiveFaceState);
    }
    pDC->FillSolidRect(CRect(rc.left, nTop + nBand, rc.right, rc.bottom), m_clrRibbonFace);
    if (pRibbonBar->GetGroupsHeightIfVisible() == 0 && !pRibbonBar->IsQuickAccessBelowRibbon())
    {
        pDC->FillSolidRect(rc.left, rc.bottom - FlatV(2), rc.Width(), 1, m_clrMinimizedFrameEdgeShadow);
        pDC->FillSolidRect(rc.left, rc.bottom - FlatV(1), rc.Width(), 1, m_clrMinimizedFrameEdgeHighLight);
    }
}

// Windows 10.

CQVTRibbonThemeNativeWindows10::CQVTRibbonThemeNativeWindows10(CQVTPaintManager* pPaintManager)
    : CQVTRibbonOffice2013Theme(pPaintManager), m_clrAccent(0), m_clrAccentText(0)
{
    CQVTMarkupStaticExtension* pRoot = m_pMarkupContext ? m_pMarkupContext->GetExtensionRoot() : nullptr;
    CQVTMarkupStaticExtension* pColors = pRoot ? pRoot->FindExtension(_T("Theme.Colors")) : nullptr;
    if (!pColors)
        return;
    const struct
    {
        LPCTSTR lpszName;
        int nKind;
    } accents[] = {
        {_T("FrameCaptionActiveBackAccentBrush"), 0},      {_T("FrameSystemMenuNormalBackAccentBrush"), 1},
        {_T("FrameSystemMenuSelectedBackAccentBrush"), 3}, {_T("FrameSystemMenuPopupedBackAccentBrush"), 2},
        {_T("FrameSystemMenuNormalTextAccentBrush"), 4},   {_T("FrameSystemMenuSelectedTextAccentBrush"), 5},
        {_T("FrameSystemMenuPopupedTextAccentBrush"), 6},  {_T("FrameCaptionBackstageLeftAccentBrush"), 0},
        {_T("FrameCaptionBackstageRightAccentBrush"), 0},  {_T("BackstageSysButtonBackTextAccentNormal"), 4},
    };
    for (const auto& accent : accents)
        pColors->AddExtension(
            new CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty(accent.lpszName, accent.nKind));
}

void CQVTRibbonThemeNativeWindows10::RefreshMetrics()
{
    CQVTRibbonOffice2013Theme::RefreshMetrics();
    CQVTRibbonTabColorSet* pColorSet =
        m_pTabPaintManager ? dynamic_cast<CQVTRibbonTabColorSet*>(m_pTabPaintManager->GetColorSet())
                           : nullptr;
    if (pColorSet)
    {
        const LPCTSTR lpszRibbon = _T("CommandBars.Ribbon");
        pColorSet->m_clrReserved[0].SetCustomValue(
            FlatColor(lpszRibbon, _T("TabBorderHighlighted"), RGB(255, 255, 255)));
        pColorSet->m_clrReserved[1].SetCustomValue(
            FlatColor(lpszRibbon, _T("TabBorderTabContext1"), RGB(193, 193, 193)));
        pColorSet->m_clrReserved[2].SetCustomValue(
            FlatColor(lpszRibbon, _T("TabBorderTabContext2"), RGB(255, 255, 255)));
        pColorSet->m_clrReserved[3].SetCustomValue(
            FlatColor(lpszRibbon, _T("TabBorderKeyTips"), RGB(255, 162, 111)));
    }
    m_clrAccent = QVTApplication()->GetAmbientColor(0);
    m_clrAccentText = QVTApplication()->GetAmbientColor(3);
}

void CQVTRibbonThemeNativeWindows10::DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab)
{
    if (!IsTabShownSelected(pTab))
    {
        CQVTRibbonOffice2013Theme::DrawRibbonTab(pDC, pTab);
        CQVTRibbonTabColorSet* pColorSet =
            m_pTabPaintManager ? dynamic_cast<CQVTRibbonTabColorSet*>(m_pTabPaintManager->GetColorSet())
                               : nullptr;
        // A hot tab's outline; a context tab's sides.
        if (pColorSet && (pTab->IsHighlighted() || pTab->GetContextColor()))
        {
            CRect rc = pTab->GetRect();
            CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(0, FlatV(1), 0, 0), qvtTabPositionTop);
            const COLORREF clr = pTab->IsHighlighted() ? pColorSet->m_clrReserved[0].GetValue()
                                                       : pColorSet->m_clrReserved[1].GetValue();
            pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clr);
            pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clr);
        }
        return;
    }
    CRect rc = pTab->GetRect();
    CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(0, FlatV(1), 0, 0), qvtTabPositionTop);
    const int nColor = pTab->GetContextColor();
    DrawSelectedFlatTab(pDC, rc,
                        nColor >= 1 && nColor <= 7 ? GetContextColors(nColor).clrBorder : m_clrRibbonBorder);
}

void CQVTRibbonThemeNativeWindows10::FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups)
{
    const int nColor = pTab ? pTab->GetContextColor() : 0;
    DrawPart(pDC, rcGroups,
             nColor >= 1 && nColor <= 7 ? partGroupRect + 1 + ContextTabPart(nColor) - partContextTab
                                        : partGroupRect);
}
