#include "toolkit/themes/paintmanager/QVTPaintManager.h"

#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2000Theme.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"
#include "toolkit/themes/office/QVTCommandBarsOfficeXPTheme.h"
#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"
#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"
#include "toolkit/themes/elements/QVTSliderPaintManager.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"
#include "toolkit/themes/office/QVTVisualStudio6Theme.h"
#include "toolkit/themes/native/QVTCommandBarsNativeXPTheme.h"
#include "toolkit/themes/visualstudio/QVTVisualStudio2008Theme.h"
#include "toolkit/themes/visualstudio/QVTVisualStudio2010Theme.h"
#include "toolkit/themes/office2013/QVTCommandBarsOffice2013Theme.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"
#include "toolkit/themes/visualstudio/QVTCommandBarsVisualStudio2012Theme.h"
#include "toolkit/themes/windows10/QVTCommandBarsNativeWindows10Theme.h"
#include "toolkit/ribbon/paint/QVTRibbonMarkupTheme.h"
#include "toolkit/ribbon/paint/QVTRibbonTheme.h"
#include "toolkit/foundation/image/QVTResourceImages.h"

IMPLEMENT_DYNAMIC(CQVTPaintManager, CQVTCmdTarget)

// The process-wide instance: just the pointer. At exit a still-held
// instance loses the one reference the holder stands for.
class CQVTPaintManagerInstance
{
public:
    ~CQVTPaintManagerInstance()
    {
        if (m_pInstance)
            m_pInstance->InternalRelease();
        m_pInstance = nullptr;
    }

    CQVTPaintManager* m_pInstance = nullptr;
};

namespace {
QVT_IMPLEMENT_SINGLETON(CQVTPaintManagerInstance, PaintManagerInstance, nullptr)

BOOL s_bGlassEnabled = FALSE;
}  // namespace

void CQVTPaintManagerFont::SetStandardFont(const LOGFONT* pLogFont)
{
    if (!pLogFont || (!m_bStandardFont && m_font.GetSafeHandle()))
        return;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(pLogFont);
}

void CQVTPaintManagerFont::SetCustomFont(const LOGFONT* pLogFont)
{
    if (!pLogFont)
    {
        m_bStandardFont = TRUE;
        return;
    }
    m_bStandardFont = FALSE;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(pLogFont);
}

CQVTPaintManager::CQVTPaintManager()
    : m_clrInfoText(0), m_rcMessageBarMargin(0, 0, 0, 0), m_strOfficeFont(_T("Tahoma")),
      m_bUseOfficeFont(FALSE), m_bUseSystemFont(TRUE), m_bClearTypeTextQuality(FALSE),
      m_bThemedCheckBox(FALSE), m_bThemedStatusBar(FALSE), m_bAutoResizeIcons(FALSE), m_bFlatToolBar(FALSE),
      m_bFlatMenuBar(FALSE), m_bBoldCheckMarks(FALSE), m_bCaptionSpacing(FALSE), m_bSplitCaption(TRUE),
      m_nSystemTheme(7), m_bEmbossedDisabledText(TRUE), m_nFontHeight(0), m_nTextHeight(0),
      m_nControlHeight(0), m_nSplitButtonDropDownWidth(0), m_nTwoLineCaptionHeight(0), m_nPopupTextGap(0),
      m_nPopupSplitArrowWidth(0), m_nStatusBarMinHeight(0), m_rcStatusBarPadding(0, 0, 0, 0),
      m_nAnimationSteps(10), m_nAnimationTime(100), m_bUseFadedIcons(FALSE), m_bUseDisabledIcons(FALSE),
      m_bIconsWithShadow(FALSE), m_bMakeDisabledImage(FALSE), m_bAnimation(FALSE), m_bFullRowHighlight(FALSE),
      m_bCheckedPopupDither(FALSE), m_bLabelIndent(TRUE), m_nKeyboardCues(-1), m_bEnableAnimation(FALSE),
      m_pfnSetLayeredWindowAttributes(nullptr), m_pShadowManager(nullptr), m_pGalleryPaintManager(nullptr),
      m_pSliderPaintManager(nullptr), m_pProgressPaintManager(nullptr), m_pStatusBarPaintManager(nullptr),
      m_pScrollBarPaintManager(nullptr), m_pMessageBarPaintManager(nullptr), m_pFramePaintManager(nullptr),
      m_pRibbonPaintManager(nullptr), m_nThemeId(0)
{
    m_grcFace.SetStandardValues(::GetSysColor(COLOR_3DFACE), ::GetSysColor(COLOR_3DSHADOW), 0.5f);
    m_clrShadow.SetStandardValue(::GetSysColor(COLOR_3DSHADOW));
    m_clrLight.SetStandardValue(::GetSysColor(COLOR_3DHIGHLIGHT));
    m_nSplitButtonDropDownWidth = DpiX(11);
    m_nPopupTextGap = DpiX(4);
    m_nPopupSplitArrowWidth = DpiX(20);
    m_nStatusBarMinHeight = DpiY(20);

    HMODULE hUser32 = ::GetModuleHandle(_T("USER32"));
    if (hUser32)
        m_pfnSetLayeredWindowAttributes = reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(
            reinterpret_cast<void*>(::GetProcAddress(hUser32, "SetLayeredWindowAttributes")));

    m_pShadowManager = new CQVTShadowManager();
    m_pGalleryPaintManager = new CQVTControlGalleryPaintManager(this);
    m_pSliderPaintManager = new CQVTSliderThemeOffice2007System(this);
    m_pProgressPaintManager = new CQVTProgressPaintManager(this);
    m_pStatusBarPaintManager = new CQVTStatusBarPaintManager(this);
    m_pScrollBarPaintManager = new CQVTScrollBarThemeWindowsUx();
    m_pMessageBarPaintManager = new CQVTMessageBarPaintManager(this);
}

CQVTPaintManager::~CQVTPaintManager()
{
    // Observers drop their pointer before anything of ours goes.
    NotifyObservers([this](IQVTPaintManagerEvents* pObserver) { pObserver->OnPaintManagerDestroyed(this); });
    m_themeStatusBar.CloseThemeData();
    m_themeButton.CloseThemeData();
    if (m_pShadowManager)
        m_pShadowManager->InternalRelease();
    m_pShadowManager = nullptr;
    delete m_pGalleryPaintManager;
    delete m_pSliderPaintManager;
    delete m_pProgressPaintManager;
    delete m_pStatusBarPaintManager;
    delete m_pScrollBarPaintManager;
    delete m_pMessageBarPaintManager;
    delete m_pFramePaintManager;
    if (m_pRibbonPaintManager)
        m_pRibbonPaintManager->InternalRelease();
    m_pRibbonPaintManager = nullptr;
    m_observers.clear();
}

// The process-wide instance.

CQVTPaintManager* AFX_CDECL CQVTPaintManager::GetInstance()
{
    return PaintManagerInstance()->m_pInstance;
}

BOOL AFX_CDECL CQVTPaintManager::IsGlassEnabled()
{
    return s_bGlassEnabled;
}

void AFX_CDECL CQVTPaintManager::SetGlassEnabled(BOOL bEnabled)
{
    s_bGlassEnabled = bEnabled;
}

CQVTPaintManager* AFX_CDECL CQVTPaintManager::CreateTheme(int nTheme)
{
    CQVTWinThemeWrapper wrapper(FALSE);
    s_bGlassEnabled = wrapper.DwmIsCompositionEnabled();

    CQVTPaintManager* pTheme = nullptr;
    switch (nTheme)
    {
    case qvtThemeOfficeXP:
        pTheme = new CQVTCommandBarsOfficeXPTheme();
        break;
    case qvtThemeOffice2003:
        pTheme = new CQVTCommandBarsOffice2003Theme();
        break;
    case qvtThemeResource:
        pTheme = new CQVTResourceTheme();
        break;
    case qvtThemeVisualStudio6:
        pTheme = new CQVTVisualStudio6Theme();
        break;
    case qvtThemeOffice2007System:
        pTheme = new CQVTCommandBarsOffice2007SystemTheme();
        break;
    case qvtThemeRibbon:
        pTheme = new CQVTRibbonTheme();
        break;
    case qvtThemeNativeWinXP:
        pTheme = new CQVTCommandBarsNativeXPTheme();
        break;
    case qvtThemeVisualStudio2005:
        pTheme = new CQVTVisualStudio2005Theme();
        break;
    case qvtThemeVisualStudio2008:
        pTheme = new CQVTVisualStudio2008Theme();
        break;
    case qvtThemeVisualStudio2010:
        pTheme = new CQVTVisualStudio2010Theme();
        break;
    case qvtThemeOffice2013:
        pTheme = new CQVTCommandBarsOffice2013Theme();
        break;
    case qvtThemeVisualStudio2012:
    case qvtThemeVisualStudio2012Light:
    case qvtThemeVisualStudio2012Dark:
        pTheme = new CQVTCommandBarsVisualStudio2012Theme(nTheme);
        break;
    case qvtThemeVisualStudio2015:
        pTheme = new CQVTCommandBarsVisualStudio2015Theme();
        break;
    case qvtThemeNativeWindows10:
        pTheme = new CQVTCommandBarsNativeWindows10Theme();
        break;
    default:
        // Every other id, and the ids of themes this program does not carry
        // yet, draw in the default theme; the requested id is kept.
        pTheme = new CQVTCommandBarsOffice2000Theme();
        break;
    }
    switch (nTheme)
    {
    case qvtThemeResource:
    case qvtThemeRibbon:
    case qvtThemeOffice2013:
    case qvtThemeVisualStudio2012:
    case qvtThemeVisualStudio2012Light:
    case qvtThemeVisualStudio2012Dark:
    case qvtThemeVisualStudio2015:
    case qvtThemeNativeWindows10:
        s_bGlassEnabled = FALSE;
        break;
    default:
        break;
    }
    pTheme->m_nThemeId = nTheme;
    return pTheme;
}

void AFX_CDECL CQVTPaintManager::SetTheme(int nTheme)
{
    SetCustomTheme(CreateTheme(nTheme));
    CQVTPaintManager* pInstance = GetInstance();
    if (pInstance)
        pInstance->m_nThemeId = nTheme;
    if (pInstance && QVTResourceImages()->GetIniFileName().Find(_T("OFFICE2010")) >= 0)
        pInstance->SetMessageBarPaintManager(new CQVTMessageBarThemeOffice2010(pInstance));
}

void AFX_CDECL CQVTPaintManager::SetCustomTheme(CQVTPaintManager* pTheme)
{
    if (!pTheme)
        return;
    CQVTPaintManagerInstance* pHolder = PaintManagerInstance();
    CQVTPaintManager* pPrevious = pHolder->m_pInstance;
    // Installing the current instance again must not release it.
    if (pTheme == pPrevious)
        return;

    pHolder->m_pInstance = pTheme;
    QVTColorManager()->ResetCustomColors();
    pTheme->m_nThemeId = qvtThemeCustom;
    pTheme->RefreshMetrics();
    QVTColorManager()->RefreshColors(FALSE);
    if (!pPrevious)
        return;

    // Every holder of the old instance now holds the new one.
    const LONG nPrevious = pPrevious->m_dwRef;
    while (pTheme->m_dwRef < nPrevious)
        pTheme->InternalAddRef();
    while (pTheme->m_dwRef > nPrevious && pTheme->m_dwRef > 1)
        pTheme->InternalRelease();
    while (pPrevious->InternalRelease() != 0)
    {
    }
}

CQVTPaintManager* AFX_CDECL CQVTPaintManager::AddRefInstance()
{
    CQVTPaintManager* pInstance = GetInstance();
    if (!pInstance)
    {
        SetTheme(qvtThemeOffice2000);
        return GetInstance();
    }
    pInstance->InternalAddRef();
    return pInstance;
}

void AFX_CDECL CQVTPaintManager::ReleaseInstance()
{
    CQVTPaintManagerInstance* pHolder = PaintManagerInstance();
    CQVTPaintManager* pInstance = pHolder->m_pInstance;
    if (!pInstance)
        return;
    if (pInstance->m_dwRef <= 1)
        pHolder->m_pInstance = nullptr;
    pInstance->InternalRelease();
}

CQVTPaintManager* AFX_CDECL QVTPaintManager()
{
    CQVTPaintManager* pInstance = CQVTPaintManager::GetInstance();
    return pInstance ? pInstance : CQVTPaintManager::AddRefInstance();
}

// Scaling.

int AFX_CDECL CQVTPaintManager::DpiX(int nValue)
{
    return QVTDpiScaler()->ScaleX(nValue);
}

int AFX_CDECL CQVTPaintManager::DpiY(int nValue)
{
    return QVTDpiScaler()->ScaleY(nValue);
}

// Colours.

COLORREF CQVTPaintManager::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex >= colorCount)
        return static_cast<COLORREF>(nIndex);
    return m_arrColor[nIndex].GetValue();
}

void CQVTPaintManager::SetColors(int nCount, const int* pIndexes, const COLORREF* pColors)
{
    if (!pIndexes || !pColors)
        return;
    for (int i = 0; i < nCount; ++i)
        if (pIndexes[i] >= 0 && pIndexes[i] < colorCount)
            m_arrColor[pIndexes[i]].SetStandardValue(pColors[i]);
}

void CQVTPaintManager::RefreshStandardColors()
{
    CQVTColorManager* pColorManager = QVTColorManager();
    pColorManager->RefreshColors(FALSE);
    for (int i = 0; i < colorCount; ++i)
        m_arrColor[i].SetStandardValue(pColorManager->GetColor(i));
}

int CQVTPaintManager::GetCurrentSystemTheme() const
{
    if (m_nSystemTheme == qvtSystemThemeDefault)
        return QVTColorManager()->IsThemeColorsDisabled() ? qvtSystemThemeUnknown
                                                          : QVTColorManager()->GetCurrentSystemTheme();
    if (m_nSystemTheme == qvtSystemThemeAuto)
        return QVTColorManager()->GetDetectedSystemTheme();
    return m_nSystemTheme;
}

// Metrics and fonts.

void CQVTPaintManager::RefreshMetrics()
{
    UpdateFonts();
    RefreshStandardColors();

    m_rcMessageBarMargin.SetRect(DpiX(3), DpiY(3), DpiX(3), DpiY(3));
    m_clrInfoText = GetColor(COLOR_INFOTEXT);
    m_clrShadow.SetStandardValue(GetColor(COLOR_3DSHADOW));
    m_clrLight.SetStandardValue(GetColor(COLOR_3DHIGHLIGHT));
    m_grcFace.SetStandardValues(GetColor(COLOR_3DFACE), GetColor(COLOR_3DSHADOW), 0.5f);

    m_themeStatusBar.CloseThemeData();
    m_themeButton.CloseThemeData();
    if (m_bThemedCheckBox)
        m_themeButton.OpenThemeData(nullptr, _T("BUTTON"));
    if (m_pGalleryPaintManager)
        m_pGalleryPaintManager->RefreshMetrics();
    if (m_pScrollBarPaintManager)
        m_pScrollBarPaintManager->RefreshMetrics();
    if (m_pSliderPaintManager)
        m_pSliderPaintManager->RefreshMetrics();
    if (m_pProgressPaintManager)
        m_pProgressPaintManager->RefreshMetrics();
    if (m_pFramePaintManager)
        m_pFramePaintManager->RefreshMetrics();
    if (m_pStatusBarPaintManager)
        m_pStatusBarPaintManager->RefreshMetrics();
    if (m_pMessageBarPaintManager)
        m_pMessageBarPaintManager->RefreshMetrics();
    if (m_bThemedStatusBar && m_pStatusBarPaintManager &&
        m_themeStatusBar.OpenThemeData(nullptr, _T("STATUS")))
    {
        COLORREF clrText = 0;
        if (SUCCEEDED(m_themeStatusBar.GetThemeColor(1, 0, 3803 /* text colour */, &clrText)))
            m_pStatusBarPaintManager->m_clrText.SetStandardValue(clrText);
    }
    // The ribbon's last.
    if (m_pRibbonPaintManager)
        m_pRibbonPaintManager->RefreshMetrics();
}

// Element paint managers a theme installs: the old one goes, the new one
// belongs to this object and refreshes at once.

void CQVTPaintManager::SetGalleryPaintManager(CQVTControlGalleryPaintManager* pPaintManager)
{
    delete m_pGalleryPaintManager;
    m_pGalleryPaintManager = pPaintManager;
    if (m_pGalleryPaintManager)
        m_pGalleryPaintManager->RefreshMetrics();
}

void CQVTPaintManager::SetScrollBarPaintManager(CQVTScrollBarPaintManager* pPaintManager)
{
    delete m_pScrollBarPaintManager;
    m_pScrollBarPaintManager = pPaintManager;
    if (m_pScrollBarPaintManager)
        m_pScrollBarPaintManager->RefreshMetrics();
}

void CQVTPaintManager::SetSliderPaintManager(CQVTSliderPaintManager* pPaintManager)
{
    delete m_pSliderPaintManager;
    m_pSliderPaintManager = pPaintManager;
    if (m_pSliderPaintManager)
        m_pSliderPaintManager->RefreshMetrics();
}

void CQVTPaintManager::SetProgressPaintManager(CQVTProgressPaintManager* pPaintManager)
{
    delete m_pProgressPaintManager;
    m_pProgressPaintManager = pPaintManager;
    if (m_pProgressPaintManager)
        m_pProgressPaintManager->RefreshMetrics();
}

void CQVTPaintManager::SetStatusBarPaintManager(CQVTStatusBarPaintManager* pPaintManager)
{
    delete m_pStatusBarPaintManager;
    m_pStatusBarPaintManager = pPaintManager;
    if (m_pStatusBarPaintManager)
        m_pStatusBarPaintManager->RefreshMetrics();
}

void CQVTPaintManager::SetMessageBarPaintManager(CQVTMessageBarPaintManager* pPaintManager)
{
    delete m_pMessageBarPaintManager;
    m_pMessageBarPaintManager = pPaintManager;
    if (m_pMessageBarPaintManager)
        m_pMessageBarPaintManager->RefreshMetrics();
}

void CQVTPaintManager::UpdateFonts()
{
    CQVTNonClientMetrics ncm;
    const BYTE nCharSet = QVTResourceManager()->GetFontCharset();
    m_bClearTypeTextQuality = m_bClearTypeTextQuality && QVTOSVersion()->IsWinXPOrGreater();
    const BOOL bClearType = m_bClearTypeTextQuality;

    if (m_bUseSystemFont)
    {
        LOGFONT lf = ncm.lfMenuFont;
        lf.lfCharSet = nCharSet;
        if (lf.lfHeight < 0 && lf.lfHeight > -10)
            lf.lfHeight = -10;
        if (bClearType)
            lf.lfQuality = CLEARTYPE_QUALITY;
        if (m_nFontHeight >= 1)
            lf.lfHeight = -m_nFontHeight;
        const int nHeight = abs(lf.lfHeight);
        m_nTextHeight = std::max(10, nHeight * 110 / 96);
        m_nControlHeight = std::max(18, nHeight * 190 / 96);
        m_nSplitButtonDropDownWidth = QVTDpiScaler()->ScaleY(std::max(m_nTextHeight / 2, 11));
        m_nTwoLineCaptionHeight = (DpiY(2) + nHeight) * 2;
        SetCommonFont(&lf, TRUE);
    }

    LOGFONT lfIcon = {};
    CQVTDrawHelpers::GetIconTitleLogFont(&lfIcon);
    if (bClearType)
        lfIcon.lfQuality = CLEARTYPE_QUALITY;
    if (m_nFontHeight >= 1)
        lfIcon.lfHeight = -m_nFontHeight;
    lfIcon.lfCharSet = nCharSet;
    m_fontIcon.SetStandardFont(&lfIcon);
    lfIcon.lfWeight = FW_BOLD;
    m_fontIconBold.SetStandardFont(&lfIcon);

    LOGFONT lfSmCaption = ncm.lfSmCaptionFont;
    lfSmCaption.lfCharSet = nCharSet;
    LOGFONT lfStatus = ncm.lfStatusFont;
    lfStatus.lfCharSet = nCharSet;
    if (bClearType)
    {
        lfSmCaption.lfQuality = CLEARTYPE_QUALITY;
        lfStatus.lfQuality = CLEARTYPE_QUALITY;
    }
    m_fontSmCaption.SetStandardFont(&lfSmCaption);
    m_fontStatus.SetStandardFont(&lfStatus);
}

void CQVTPaintManager::SetCommonFont(LOGFONT* pLogFont, BOOL bUseSystemFont)
{
    m_bUseSystemFont = bUseSystemFont;
    if (!pLogFont)
        return;
    if (m_bClearTypeTextQuality && QVTOSVersion()->IsWinXPOrGreater())
        pLogFont->lfQuality = CLEARTYPE_QUALITY;

    m_fontRegular.DeleteObject();
    m_fontBold.DeleteObject();
    m_fontVert.DeleteObject();
    m_fontVertBold.DeleteObject();
    m_fontIconBold.SetStandardFont(nullptr);

    if (m_strOfficeFont.CompareNoCase(pLogFont->lfFaceName) == 0)
        m_bUseOfficeFont = TRUE;
    if (bUseSystemFont && m_bUseOfficeFont && CQVTDrawHelpers::FontFaceExists(m_strOfficeFont))
        lstrcpyn(pLogFont->lfFaceName, m_strOfficeFont, LF_FACESIZE);

    LOGFONT lf = *pLogFont;
    m_fontRegular.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&lf);

    LOGFONT lfVert = *pLogFont;
    lfVert.lfEscapement = 2700;
    lfVert.lfOrientation = 900;
    const CString strVertFace = CQVTDrawHelpers::GetDefaultFontFace(m_bUseOfficeFont);
    lstrcpyn(lfVert.lfFaceName, strVertFace, LF_FACESIZE);
    m_fontVert.CreateFontIndirect(&lfVert);
    lfVert.lfWeight = FW_BOLD;
    m_fontVertBold.CreateFontIndirect(&lfVert);

    // A memory DC measures as the screen's does, without the window server.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* pOldFont = dc.SelectObject(m_fontRegular.GetFont());
    const int nBlankHeight = dc.GetTextExtent(_T(" "), 1).cy;
    dc.SelectObject(pOldFont);
    m_nTextHeight = nBlankHeight + DpiY(6);
}

void CQVTPaintManager::SetFontHeight(int nFontHeight)
{
    m_nFontHeight = nFontHeight;
    RefreshMetrics();
    if (!m_pFramePaintManager)
        return;
    CQVTPaintManagerFont& font = m_pFramePaintManager->m_fontCaption;
    if (nFontHeight == 0)
    {
        font.SetCustomFont(nullptr);
        m_pFramePaintManager->RefreshMetrics();
        return;
    }
    LOGFONT lf = {};
    if (font.GetSafeHandle() && ::GetObject(font.GetSafeHandle(), sizeof(lf), &lf) == sizeof(lf))
    {
        lf.lfHeight = -nFontHeight;
        font.SetCustomFont(&lf);
    }
}

int CQVTPaintManager::GetSplitDropDownHeight() const
{
    return m_nTextHeight + DpiY(4);
}

void CQVTPaintManager::GetIconsInfo(BOOL& bUseFadedIcons, BOOL& bUseDisabledIcons,
                                    BOOL& bIconsWithShadow) const
{
    bUseFadedIcons = m_bUseFadedIcons;
    bUseDisabledIcons = m_bUseDisabledIcons;
    bIconsWithShadow = m_bIconsWithShadow;
}

CQVTFramePaintManager* CQVTPaintManager::GetFramePaintManager()
{
    if (!m_pFramePaintManager)
    {
        m_pFramePaintManager = new CQVTFrameThemeOffice2007System(this);
        m_pFramePaintManager->RefreshMetrics();
    }
    return m_pFramePaintManager;
}

CQVTRibbonPaintManager* CQVTPaintManager::GetRibbonPaintManager()
{
    // The default themes draw the ribbon from the built-in style.
    if (!m_pRibbonPaintManager)
    {
        m_pRibbonPaintManager = new CQVTRibbonThemeOffice2007System(this);
        m_pRibbonPaintManager->RefreshMetrics();
    }
    return m_pRibbonPaintManager;
}
