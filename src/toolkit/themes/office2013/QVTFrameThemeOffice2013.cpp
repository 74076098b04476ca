#include "toolkit/themes/office2013/QVTFrameThemeOffice2013.h"

#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/themes/office2013/QVTColorSetState.h"

IMPLEMENT_DYNAMIC(CQVTFrameThemeOffice2013, CQVTFrameThemeModernUI)

namespace {
const LPCTSTR kOffice2013FrameSection = _T("CommandBars.Frame");
const LPCTSTR kOffice2013BackstageSection = _T("CommandBars.Ribbon.Backstage");

// One state's set: "<prefix><state>Border", "...FillColor", "...BackgroundColor".
void Office2013ReadButtonSet(CQVTColorSetCaptionButton& cs, LPCTSTR lpszPrefix, LPCTSTR lpszState,
                             COLORREF clrBorder, COLORREF clrFill, COLORREF clrBackground)
{
    const CString strKey = CString(lpszPrefix) + lpszState;
    QVTReadIniColor(cs.m_clrBorder, kOffice2013FrameSection, strKey + _T("Border"), clrBorder);
    QVTReadIniColor(cs.m_clrFill, kOffice2013FrameSection, strKey + _T("FillColor"), clrFill);
    QVTReadIniColor(cs.m_clrBackground, kOffice2013FrameSection, strKey + _T("BackgroundColor"),
                    clrBackground);
}

void Office2013SetButtonSet(CQVTColorSetCaptionButton& cs, COLORREF clrBackground, COLORREF clrBorder,
                            COLORREF clrFill)
{
    cs.m_clrBackground.SetStandardValue(clrBackground);
    cs.m_clrBorder.SetStandardValue(clrBorder);
    cs.m_clrFill.SetStandardValue(clrFill);
}
}  // namespace

CQVTFrameThemeOffice2013::CQVTFrameThemeOffice2013(CQVTPaintManager* pPaintManager)
    : CQVTFrameThemeModernUI(pPaintManager), m_bFlatFrame(FALSE)
{
}

void CQVTFrameThemeOffice2013::RefreshMetrics()
{
    // The frame base, the style archive's parts, then the keys below.
    CQVTFrameThemeModernUI::RefreshMetrics();
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    LPCTSTR s = kOffice2013FrameSection;

    m_bFlatFrame = GetResourceImagesIniInt(s, _T("FlatFrame"), 0);
    m_nCaptionHeight = pScaler->ScaleY(GetResourceImagesIniInt(s, _T("CaptionHeight"), 26));
    const CSize szChild = GetResourceImagesIniSize(s, _T("MDIChildWindowCaptionButtonSize"), CSize(0, 0));
    if (szChild.cx > 0 && szChild.cy > 0)
        m_szChildCaptionButton = CSize(pScaler->ScaleX(szChild.cx), pScaler->ScaleY(szChild.cy));

    QVTReadIniColor(m_clrFrameBorderActive, s, _T("ActiveBorderColor"), RGB(43, 87, 154));
    QVTReadIniColor(m_clrFrameBorderInactive, s, _T("InactiveBorderColor"), RGB(131, 131, 131));
    QVTReadIniColor(m_clrCaptionTextActive, s, _T("ActiveFontColor"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrCaptionTextInactive, s, _T("InactiveFontColor"), RGB(177, 177, 177));
    QVTReadIniColor(m_clrCaptionBorder, s, _T("CaptionBorder"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrCaptionBackgroundActive, s, _T("ActiveCaptionColor"), RGB(255, 255, 255));
    QVTReadIniColor(m_clrCaptionBackgroundInactive, s, _T("InactiveCaptionColor"), RGB(255, 255, 255));

    const COLORREF kNone = CQVTPaintManagerColor::noColor;
    const struct
    {
        LPCTSTR lpszState;
        CQVTColorSetCaptionButton* pCaption;
        CQVTColorSetCaptionButton* pClose;
        COLORREF clrBorder, clrFill, clrBackground;
    } states[] = {
        {_T("Active"), &m_csCaptionButtonActive, &m_csCloseButtonActive, RGB(255, 255, 255),
         RGB(119, 119, 119), kNone},
        {_T("Inactive"), &m_csCaptionButtonInactive, &m_csCloseButtonInactive, RGB(255, 255, 255),
         RGB(198, 198, 198), kNone},
        {_T("Hot"), &m_csCaptionButtonHot, &m_csCloseButtonHot, RGB(213, 225, 242), RGB(62, 109, 181),
         RGB(213, 225, 242)},
        {_T("Pressed"), &m_csCaptionButtonPressed, &m_csCloseButtonPressed, RGB(163, 189, 227),
         RGB(25, 71, 138), RGB(163, 189, 227)},
    };
    for (const auto& state : states)
    {
        Office2013ReadButtonSet(*state.pCaption, _T("CaptionButton"), state.lpszState, state.clrBorder,
                                state.clrFill, state.clrBackground);
        Office2013ReadButtonSet(*state.pClose, _T("CloseButton"), state.lpszState, state.clrBorder,
                                state.clrFill, state.clrBackground);
    }

    LPCTSTR b = kOffice2013BackstageSection;
    QVTReadIniColor(m_clrBackstageCaptionTextActive, b, _T("FrameCaptionActiveText"), RGB(68, 68, 68));
    QVTReadIniColor(m_clrBackstageCaptionTextInactive, b, _T("FrameCaptionInactiveText"), RGB(177, 177, 177));
    Office2013SetButtonSet(m_csBackstageButtonActive, kNone, kNone,
                           GetResourceImagesIniColor(b, _T("FrameCaptionActiveText"), RGB(0, 0, 0)));
    Office2013SetButtonSet(m_csBackstageButtonInactive, kNone, kNone,
                           GetResourceImagesIniColor(b, _T("FrameCaptionButtonInactiveFill"), RGB(0, 0, 0)));
    const COLORREF clrHotBack = GetResourceImagesIniColor(b, _T("FrameCaptionButtonHotBack"), RGB(0, 0, 0));
    Office2013SetButtonSet(m_csBackstageButtonHot, clrHotBack, clrHotBack,
                           GetResourceImagesIniColor(b, _T("FrameCaptionButtonHotFill"), RGB(0, 0, 0)));
    const COLORREF clrPressedBack =
        GetResourceImagesIniColor(b, _T("FrameCaptionButtonPressedBack"), RGB(0, 0, 0));
    Office2013SetButtonSet(m_csBackstageButtonPressed, clrPressedBack, clrPressedBack,
                           GetResourceImagesIniColor(b, _T("FrameCaptionButtonPressedFill"), RGB(0, 0, 0)));
    m_clrTitleTextActive.SetStandardValue(m_clrCaptionTextActive.GetStandardValue());
    m_clrRibbonTitleTextActive.SetStandardValue(m_clrBackstageCaptionTextActive.GetStandardValue());

    NONCLIENTMETRICS ncm = {};
    ncm.cbSize = sizeof(ncm);
    LOGFONT lf = {};
    if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        lf = ncm.lfCaptionFont;
    lf.lfHeight = -pScaler->ScaleY(GetResourceImagesIniInt(s, _T("FontSize"), 12));
    lf.lfWeight = FW_NORMAL;
    const CString strFace = GetResourceImagesIniString(s, _T("FontFace"), _T("Segoe UI"));
    lstrcpyn(lf.lfFaceName, strFace, LF_FACESIZE);
    m_fontCaption.SetStandardFont(&lf);
}

CRect CQVTFrameThemeOffice2013::CalcFrameBorders(IQVTFrameHook* pFrameHook)
{
    CRect rc = CQVTFrameThemeModernUI::CalcFrameBorders(pFrameHook);
    const HWND hWnd = pFrameHook->GetSite();
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
    // A maximized MDI child keeps the system caption's height above its client.
    if ((dwStyle & WS_MAXIMIZE) && (::GetWindowLongPtr(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
        rc.top += ::GetSystemMetrics(SM_CYCAPTION) - m_nCaptionHeight;
    return rc;
}

void CQVTFrameThemeOffice2013::FillCaptionBackground(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive)
{
    const COLORREF clr = bActive ? m_clrCaptionBackgroundActive : m_clrCaptionBackgroundInactive;
    if (clr != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(rc, clr);
    if (m_clrCaptionBorder.GetValue() != CQVTPaintManagerColor::noColor && !rc.IsRectEmpty())
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_clrCaptionBorder);
}

BOOL CQVTFrameThemeOffice2013::IsBackstageVisible(CQVTRibbonBar* pRibbonBar) const
{
    // The view sets the mode while it covers the ribbon.
    return pRibbonBar && pRibbonBar->IsBackstageMode();
}

const CQVTColorSetCaptionButton& CQVTFrameThemeOffice2013::GetButtonColorSet(int nId, BOOL bSelected,
                                                                             BOOL bPressed,
                                                                             BOOL bEnabledAndActive,
                                                                             BOOL bBackstage) const
{
    const BOOL bClose = nId == SC_CLOSE;
    // The close button keeps its own hot and pressed colours over the backstage.
    if (bBackstage && !(bClose && (bSelected || bPressed)))
        return bPressed            ? m_csBackstageButtonPressed
               : bSelected         ? m_csBackstageButtonHot
               : bEnabledAndActive ? m_csBackstageButtonActive
                                   : m_csBackstageButtonInactive;
    if (bClose)
        return bPressed            ? m_csCloseButtonPressed
               : bSelected         ? m_csCloseButtonHot
               : bEnabledAndActive ? m_csCloseButtonActive
                                   : m_csCloseButtonInactive;
    return GetCaptionButtonColorSet(bSelected, bPressed, bEnabledAndActive);
}

void CQVTFrameThemeOffice2013::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed,
                                                 BOOL bEnabled, BOOL bActive, CQVTRibbonBar* pRibbonBar)
{
    CQVTModernUIFrameCaptionButton* pPart = GetCaptionButtonPart(nId);
    if (!pPart || !pPart->GetElement())
        return;
    pPart->ApplyColorSet(
        GetButtonColorSet(nId, bSelected, bPressed, bEnabled && bActive, IsBackstageVisible(pRibbonBar)));
    pPart->Render(pDC, rc);
}

CQVTFrameShadow* CQVTFrameThemeOffice2013::CreateShadow(CWnd* pFrame)
{
    if (!pFrame || !pFrame->GetSafeHwnd())
        return nullptr;
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    return CQVTFrameShadowManager::GetInstance()->EnableShadow(
        pFrame, RGB(0, 0, 0), pScaler->ScaleX(shadowOuterSize), pScaler->ScaleX(shadowInnerSize),
        CPoint(0, 0), shadowTransparency);
}
