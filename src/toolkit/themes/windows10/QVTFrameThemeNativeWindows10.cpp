#include "toolkit/themes/windows10/QVTFrameThemeNativeWindows10.h"

#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"
#include "toolkit/themes/windows10/QVTAmbientAccent.h"

IMPLEMENT_DYNAMIC(CQVTFrameThemeNativeWindows10, CQVTFrameThemeOffice2013)
IMPLEMENT_DYNAMIC(CQVTFrameThemeVisualStudio2015, CQVTFrameThemeOffice2013)

namespace {
const COLORREF kWindows10FrameNoColor = CQVTPaintManagerColor::noColor;
const LPCTSTR kWindows10FrameSection = _T("CommandBars.Frame");

void Windows10ReadShadowColors(COLORREF& clrActive, COLORREF& clrInactive)
{
    clrActive = GetResourceImagesIniColor(kWindows10FrameSection, _T("ActiveShadowColor"), RGB(0, 122, 204));
    clrInactive =
        GetResourceImagesIniColor(kWindows10FrameSection, _T("InactiveShadowColor"), RGB(48, 48, 48));
}

CQVTFrameShadow* Windows10CreateShadow(CWnd* pFrame, COLORREF clr)
{
    if (!pFrame || !pFrame->GetSafeHwnd())
        return nullptr;
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    return CQVTFrameShadowManager::GetInstance()->EnableShadow(
        pFrame, clr, pScaler->ScaleX(CQVTFrameThemeOffice2013::shadowOuterSize),
        pScaler->ScaleX(CQVTFrameThemeOffice2013::shadowInnerSize), CPoint(0, 0),
        CQVTFrameThemeOffice2013::shadowTransparency);
}

// Black or white, whichever reads on the colour.
COLORREF Windows10ContrastColor(COLORREF clr)
{
    const double dLuminance = 0.299 * GetRValue(clr) + 0.587 * GetGValue(clr) + 0.114 * GetBValue(clr);
    return dLuminance > 255 / 2.0 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

// The node of that name below the parent, made when missing.
CQVTMarkupStaticExtension* Windows10ExtensionBranch(CQVTMarkupStaticExtension* pParent, LPCWSTR lpszName)
{
    if (CQVTMarkupStaticExtension* pNode = pParent->FindExtension(lpszName))
        return pNode;
    CQVTMarkupStaticExtension* pNode = new CQVTMarkupStaticExtension(lpszName);
    pParent->AddExtension(pNode);
    return pNode;
}
}  // namespace

CQVTFrameThemeNativeWindows10::CQVTFrameThemeNativeWindows10(CQVTPaintManager* pPaintManager)
    : CQVTFrameThemeOffice2013(pPaintManager), m_clrActiveShadow(RGB(0, 122, 204)),
      m_clrInactiveShadow(RGB(48, 48, 48)), m_bRestorePartsLoaded(FALSE), m_clrShadow(RGB(0, 122, 204))
{
}

BOOL CQVTFrameThemeNativeWindows10::HasSystemAccent() const
{
    return QVTOSVersion()->IsWin10OrGreater();
}

COLORREF CQVTFrameThemeNativeWindows10::GetSystemAccentColor() const
{
    CQVTApplication* pApplication = QVTAmbientAccent::GetApplication();
    if (!pApplication || !HasSystemAccent())
        return kWindows10FrameNoColor;
    const COleVariant& ambient = pApplication->GetAmbientProperty(0);
    if (ambient.vt != VT_I4 && ambient.vt != VT_UI4 && ambient.vt != VT_INT && ambient.vt != VT_UINT)
        return kWindows10FrameNoColor;
    return static_cast<COLORREF>(ambient.lVal);
}

void CQVTFrameThemeNativeWindows10::RefreshMetrics()
{
    CQVTFrameThemeOffice2013::RefreshMetrics();
    Windows10ReadShadowColors(m_clrActiveShadow, m_clrInactiveShadow);
    const COLORREF clrAccent = GetSystemAccentColor();
    if (clrAccent == kWindows10FrameNoColor)
        return;
    const COLORREF clrText = Windows10ContrastColor(clrAccent);
    m_clrFrameBorderActive.SetStandardValue(clrAccent);
    m_clrCaptionBackgroundActive.SetStandardValue(clrAccent);
    m_csCaptionButtonActive.m_clrBackground.SetStandardValue(clrAccent);
    m_csCloseButtonActive.m_clrBackground.SetStandardValue(clrAccent);
    m_clrCaptionTextActive.SetStandardValue(clrText);
    m_clrBackstageCaptionTextActive.SetStandardValue(clrText);
    m_csCaptionButtonActive.m_clrFill.SetStandardValue(clrText);
    m_csCloseButtonActive.m_clrFill.SetStandardValue(clrText);
}

void CQVTFrameThemeNativeWindows10::RegisterRestoreBrushes(CQVTMarkupContext* pContext)
{
    CQVTMarkupStaticExtension* pRoot = pContext->GetExtensionRoot();
    if (!pRoot)
        return;
    CQVTMarkupStaticExtension* pFrame = Windows10ExtensionBranch(
        Windows10ExtensionBranch(Windows10ExtensionBranch(pRoot, u"Theme"), u"Colors"), u"Frame");
    pFrame->AddExtension(
        new CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty(u"ButtonRestoreActiveBrush", 0));
    pFrame->AddExtension(new CQVTMarkupStaticExtensionBrushProperty(
        u"ButtonRestoreInactiveBrush",
        GetResourceImagesIniColor(kWindows10FrameSection, _T("InactiveCaptionColor"), RGB(255, 255, 255))));
    pFrame->AddExtension(new CQVTMarkupStaticExtensionBrushProperty(
        u"ButtonRestoreHotBrush",
        GetResourceImagesIniColor(kWindows10FrameSection, _T("CaptionButtonHotBackgroundColor"),
                                  RGB(213, 225, 242))));
    pFrame->AddExtension(new CQVTMarkupStaticExtensionBrushProperty(
        u"ButtonRestorePressedBrush",
        GetResourceImagesIniColor(kWindows10FrameSection, _T("CaptionButtonPressedBackgroundColor"),
                                  RGB(163, 189, 227))));
}

void CQVTFrameThemeNativeWindows10::LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext)
{
    if (m_bRestorePartsLoaded)
        return;
    m_bRestorePartsLoaded = TRUE;
    if (pContext)
        RegisterRestoreBrushes(pContext);
    m_frameBorderLeft.LoadPart(hArchive, "Frame/BorderLeft.xaml", pContext);
    m_frameBorderTop.LoadPart(hArchive, "Frame/BorderTop.xaml", pContext);
    m_frameBorderRight.LoadPart(hArchive, "Frame/BorderRight.xaml", pContext);
    m_frameBorderBottom.LoadPart(hArchive, "Frame/BorderBottom.xaml", pContext);
    m_buttonMinimize.LoadPart(hArchive, "Frame/ButtonMinimize.xaml", pContext);
    m_buttonMaximize.LoadPart(hArchive, "Frame/ButtonMaximize.xaml", pContext);
    m_buttonRestoreActive.LoadPart(hArchive, "Frame/ButtonRestoreActive.xaml", pContext);
    m_buttonRestoreInactive.LoadPart(hArchive, "Frame/ButtonRestoreInactive.xaml", pContext);
    m_buttonRestoreHot.LoadPart(hArchive, "Frame/ButtonRestoreHot.xaml", pContext);
    m_buttonRestorePressed.LoadPart(hArchive, "Frame/ButtonRestorePressed.xaml", pContext);
    m_buttonClose.LoadPart(hArchive, "Frame/ButtonClose.xaml", pContext);
}

CQVTModernUIFrameCaptionButton* CQVTFrameThemeNativeWindows10::GetRestorePart(BOOL bSelected, BOOL bPressed,
                                                                              BOOL bActive)
{
    if (bPressed)
        return &m_buttonRestorePressed;
    if (bSelected)
        return &m_buttonRestoreHot;
    return bActive ? &m_buttonRestoreActive : &m_buttonRestoreInactive;
}

void CQVTFrameThemeNativeWindows10::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected,
                                                      BOOL bPressed, BOOL bEnabled, BOOL bActive,
                                                      CQVTRibbonBar* pRibbonBar)
{
    if (nId != SC_RESTORE)
    {
        CQVTFrameThemeOffice2013::DrawCaptionButton(pDC, rc, nId, bSelected, bPressed, bEnabled, bActive,
                                                    pRibbonBar);
        return;
    }
    CQVTModernUIFrameCaptionButton* pPart = GetRestorePart(bSelected, bPressed, bEnabled && bActive);
    if (!pPart->GetElement())
        return;
    pPart->ApplyColorSet(
        GetButtonColorSet(nId, bSelected, bPressed, bEnabled && bActive, IsBackstageVisible(pRibbonBar)));
    pPart->Render(pDC, rc);
}

CQVTFrameShadow* CQVTFrameThemeNativeWindows10::CreateShadow(CWnd* pFrame)
{
    return Windows10CreateShadow(pFrame, m_clrShadow);
}

void CQVTFrameThemeNativeWindows10::OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow)
{
    m_clrShadow = bActive ? m_clrActiveShadow : m_clrInactiveShadow;
    if (pShadow)
        pShadow->SetShadowColor(m_clrShadow);
    CQVTFrameThemeOffice2013::OnFrameActivate(bActive, pFrame, pShadow);
}

void CQVTFrameThemeNativeWindows10::SetAccentColor(COLORREF clr)
{
    m_clrFrameBorderActive.SetCustomValue(clr);
}

COLORREF CQVTFrameThemeNativeWindows10::GetAccentColor() const
{
    return m_clrFrameBorderActive.GetValue();
}

CQVTFrameThemeVisualStudio2015::CQVTFrameThemeVisualStudio2015(CQVTPaintManager* pPaintManager)
    : CQVTFrameThemeOffice2013(pPaintManager), m_clrActiveShadow(RGB(0, 122, 204)),
      m_clrInactiveShadow(RGB(48, 48, 48)), m_bFollowAmbient(TRUE), m_clrShadow(RGB(0, 122, 204))
{
    QVTAmbientAccent::Observe(this);
}

CQVTFrameThemeVisualStudio2015::~CQVTFrameThemeVisualStudio2015()
{
    QVTAmbientAccent::StopObserving(this);
}

void CQVTFrameThemeVisualStudio2015::RefreshMetrics()
{
    CQVTFrameThemeOffice2013::RefreshMetrics();
    Windows10ReadShadowColors(m_clrActiveShadow, m_clrInactiveShadow);
    FollowAmbient();
}

void CQVTFrameThemeVisualStudio2015::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected,
                                                       BOOL bPressed, BOOL bEnabled, BOOL bActive,
                                                       CQVTRibbonBar* pRibbonBar)
{
    CQVTFrameThemeOffice2013::DrawCaptionButton(pDC, rc, nId, bSelected, bPressed, bEnabled, bActive,
                                                pRibbonBar);
    if (!bSelected && !bPressed)
        return;
    const COLORREF clr = (bPressed ? (nId == SC_CLOSE ? m_csCloseButtonPressed : m_csCaptionButtonPressed)
                                   : (nId == SC_CLOSE ? m_csCloseButtonHot : m_csCaptionButtonHot))
                             .m_clrBorder.GetValue();
    if (clr == kWindows10FrameNoColor)
        return;
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clr);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clr);
    if (nId == SC_MINIMIZE || nId == SC_MAXIMIZE || nId == SC_RESTORE)
        pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clr);
}

CQVTFrameShadow* CQVTFrameThemeVisualStudio2015::CreateShadow(CWnd* pFrame)
{
    return Windows10CreateShadow(pFrame, m_clrShadow);
}

void CQVTFrameThemeVisualStudio2015::OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow)
{
    m_clrShadow = bActive ? m_clrActiveShadow : m_clrInactiveShadow;
    if (pShadow)
        pShadow->SetShadowColor(m_clrShadow);
    CQVTFrameThemeOffice2013::OnFrameActivate(bActive, pFrame, pShadow);
}

void CQVTFrameThemeVisualStudio2015::SetAccentColor(COLORREF clr)
{
    m_clrFrameBorderActive.SetCustomValue(clr);
    m_bFollowAmbient = clr == kWindows10FrameNoColor;
}

COLORREF CQVTFrameThemeVisualStudio2015::GetAccentColor() const
{
    return m_clrFrameBorderActive.GetValue();
}

void CQVTFrameThemeVisualStudio2015::FollowAmbient()
{
    if (!m_bFollowAmbient)
        return;
    SetAccentColor(QVTAmbientAccent::Read());
    m_bFollowAmbient = TRUE;
}

void CQVTFrameThemeVisualStudio2015::OnAmbientPropertyChanged(CQVTApplication* /*pApplication*/,
                                                              int nProperty)
{
    if (nProperty == 1)
        FollowAmbient();
}
