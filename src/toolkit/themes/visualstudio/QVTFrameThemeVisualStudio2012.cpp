#include "toolkit/themes/visualstudio/QVTFrameThemeVisualStudio2012.h"

#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/themes/frame/QVTFrameIni.h"

IMPLEMENT_DYNAMIC(CQVTFrameThemeVisualStudio2012, CQVTFrameThemeModernUI)
IMPLEMENT_DYNAMIC(CQVTFrameThemeVisualStudio2012Light, CQVTFrameThemeVisualStudio2012)
IMPLEMENT_DYNAMIC(CQVTFrameThemeVisualStudio2012Dark, CQVTFrameThemeVisualStudio2012)

CQVTFrameThemeVisualStudio2012::CQVTFrameThemeVisualStudio2012(CQVTPaintManager* pPaintManager,
                                                               COLORREF clrCaption)
    : CQVTFrameThemeModernUI(pPaintManager), m_clrShadowActive(RGB(0, 122, 204)),
      m_clrShadowInactive(RGB(48, 48, 48)), m_nShadowOuterSize(5), m_nShadowInnerSize(3),
      m_nShadowTransparency(128), m_clrCaption(clrCaption), m_clrShadow(RGB(0, 122, 204)),
      m_bStyleFound(FALSE)
{
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    m_rcIconMargin.SetRect(pScaler->ScaleX(12), 0, pScaler->ScaleX(12), 0);
    m_szCaptionButton = CSize(pScaler->ScaleX(34), pScaler->ScaleY(26));
    m_clrCaptionBackgroundActive.SetCustomValue(clrCaption);
    m_clrCaptionBackgroundInactive.SetCustomValue(clrCaption);
}

void CQVTFrameThemeVisualStudio2012::RefreshMetrics()
{
    CQVTFrameThemeModernUI::RefreshMetrics();
    m_szCaptionButton = CSize(QVTDpiScaler()->ScaleX(34), QVTDpiScaler()->ScaleY(26));
    if (!m_bStyleFound)
        return;
    m_clrCaptionBackgroundActive.SetCustomValue(
        QVTFrameIni::ReadColor(_T("Frame.Active"), _T("CaptionColor"), RGB(239, 239, 242)));
    m_clrCaptionBackgroundInactive.SetCustomValue(
        QVTFrameIni::ReadColor(_T("Frame.Inactive"), _T("CaptionColor"), RGB(239, 239, 242)));
}

void CQVTFrameThemeVisualStudio2012::LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext)
{
    CQVTFrameThemeModernUI::LoadParts(hArchive, pContext);
    m_bStyleFound = TRUE;
}

CRect CQVTFrameThemeVisualStudio2012::CalcFrameBorders(IQVTFrameHook* pFrameHook)
{
    CRect rc = CQVTFrameThemeModernUI::CalcFrameBorders(pFrameHook);
    const HWND hWnd = pFrameHook->GetSite();
    if ((::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_MAXIMIZE) &&
        (::GetWindowLongPtr(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
        rc.top -= QVTDpiScaler()->ScaleY(4);
    return rc;
}

CQVTFrameShadow* CQVTFrameThemeVisualStudio2012::CreateShadow(CWnd* pFrame)
{
    if (!pFrame)
        return nullptr;
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    return CQVTFrameShadowManager::GetInstance()->EnableShadow(
        pFrame, m_clrShadow, pScaler->ScaleX(m_nShadowOuterSize), pScaler->ScaleX(m_nShadowInnerSize),
        CPoint(0, 0), static_cast<BYTE>(m_nShadowTransparency));
}

void CQVTFrameThemeVisualStudio2012::OnFrameActivate(BOOL bActive, CWnd* pFrame, CQVTFrameShadow* pShadow)
{
    m_clrShadow = bActive ? m_clrShadowActive : m_clrShadowInactive;
    if (pShadow)
        pShadow->SetShadowColor(m_clrShadow);
    CQVTFrameThemeModernUI::OnFrameActivate(bActive, pFrame, pShadow);
}

CQVTFrameThemeVisualStudio2012Light::CQVTFrameThemeVisualStudio2012Light(CQVTPaintManager* pPaintManager)
    : CQVTFrameThemeVisualStudio2012(pPaintManager, RGB(239, 239, 242))
{
}

CQVTFrameThemeVisualStudio2012Dark::CQVTFrameThemeVisualStudio2012Dark(CQVTPaintManager* pPaintManager)
    : CQVTFrameThemeVisualStudio2012(pPaintManager, RGB(45, 45, 48))
{
}
