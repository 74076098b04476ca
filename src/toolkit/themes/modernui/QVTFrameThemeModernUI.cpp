#include "toolkit/themes/modernui/QVTFrameThemeModernUI.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/markup/panels/QVTMarkupBorder.h"
#include "toolkit/markup/panels/QVTMarkupCanvas.h"
#include "toolkit/markup/shapes/QVTMarkupShape.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/themes/frame/QVTFrameIni.h"
#include "toolkit/themes/modernui/QVTCommandBarsModernUITheme.h"
#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"

IMPLEMENT_DYNAMIC(CQVTFrameThemeModernUI, CQVTRibbonMarkupFrameTheme)

namespace {
// A solid brush of that colour; none for -1.
CQVTMarkupObject* ModernUISolidBrush(COLORREF clr)
{
    return clr == CQVTPaintManagerColor::noColor ? nullptr : new CQVTMarkupSolidColorBrush(clr);
}
}  // namespace

void CQVTColorSetCaptionButton::RefreshMetrics(LPCTSTR lpszSection)
{
    m_clrBorder.SetStandardValue(
        QVTFrameIni::ReadColor(lpszSection, _T("Border"), ::GetSysColor(COLOR_BTNSHADOW)));
    m_clrFill.SetStandardValue(
        QVTFrameIni::ReadColor(lpszSection, _T("FillColor"), ::GetSysColor(COLOR_BTNTEXT)));
    m_clrBackground.SetStandardValue(
        QVTFrameIni::ReadColor(lpszSection, _T("BackgroundColor"), ::GetSysColor(COLOR_BTNFACE)));
}

void CQVTModernUIFrameCaptionButton::ApplyColorSet(const CQVTColorSetCaptionButton& colors)
{
    if (CQVTMarkupBorder* pBorder = MarkupCast<CQVTMarkupBorder>(FindElement(u"Border")))
        pBorder->SetValue(CQVTMarkupBorder::m_pBackgroundProperty,
                          ModernUISolidBrush(colors.m_clrBackground));
    CQVTMarkupCanvas* pCanvas = MarkupCast<CQVTMarkupCanvas>(FindElement(u"Canvas"));
    if (!pCanvas)
        return;
    for (int i = 0; i < pCanvas->GetChildCount(); ++i)
    {
        CQVTMarkupShape* pShape = MarkupCast<CQVTMarkupShape>(pCanvas->GetChild(i));
        const LPCWSTR lpszName = pShape ? pShape->GetName() : nullptr;
        if (!lpszName)
            continue;
        const CString strName(lpszName);
        if (strName == _T("Outline"))
        {
            pShape->SetValue(CQVTMarkupShape::m_pStrokeProperty, ModernUISolidBrush(colors.m_clrBorder));
        }
        else if (strName == _T("Stroke"))
        {
            pShape->SetValue(CQVTMarkupShape::m_pStrokeProperty, ModernUISolidBrush(colors.m_clrFill));
        }
        else if (strName.CompareNoCase(_T("Fill")) == 0)
        {
            pShape->SetValue(CQVTMarkupShape::m_pStrokeProperty, ModernUISolidBrush(colors.m_clrFill));
            pShape->SetValue(CQVTMarkupShape::m_pFillProperty, ModernUISolidBrush(colors.m_clrFill));
        }
    }
}

CQVTFrameThemeModernUI::CQVTFrameThemeModernUI(CQVTPaintManager* pPaintManager)
    : CQVTRibbonMarkupFrameTheme(pPaintManager), m_bPartsLoaded(FALSE)
{
}

HMODULE CQVTFrameThemeModernUI::GetStyleModule() const
{
    if (HMODULE hModule = QVTResourceImages()->GetHandle())
        return hModule;
    if (HMODULE hModule = CQVTResourceManager::GetResourceHandle())
        return hModule;
    return ::GetModuleHandle(nullptr);
}

void CQVTFrameThemeModernUI::RefreshMetrics()
{
    CQVTRibbonMarkupFrameTheme::RefreshMetrics();
    CQVTDpiScaler* pScaler = QVTDpiScaler();

    CQVTMarkupContext* pContext = nullptr;
    if (CQVTCommandBarsModernUITheme* pTheme =
            DYNAMIC_DOWNCAST(CQVTCommandBarsModernUITheme, m_pPaintManager))
        pContext = pTheme->GetMarkupContext();
    else if (CQVTCommandBarsOffice2007SystemTheme* pSystem =
                 DYNAMIC_DOWNCAST(CQVTCommandBarsOffice2007SystemTheme, m_pPaintManager))
        pContext = pSystem->GetMarkupContext();
    if (!m_bPartsLoaded && pContext)
    {
        const HMODULE hModule = GetStyleModule();
        const CString strName = GetStyleResourceName();
        HRSRC hResource = strName.IsEmpty() ? nullptr : ::FindResourceW(hModule, strName, _T("STYLE"));
        DWORD nSize = 0;
        const void* pData = CQVTResource::LockBounded(hModule, hResource, &nSize);
        if (HQVTZIPARCHIVE hArchive = pData ? QVTZipOpenArchive(pData, nSize) : nullptr)
        {
            LoadParts(hArchive, pContext);
            QVTZipCloseArchive(hArchive);
        }
        // A missing or damaged style is not looked for again.
        m_bPartsLoaded = TRUE;
    }

    int nValue = 0;
    if (QVTFrameIni::ReadInts(_T("Frame"), _T("CaptionHeight"), &nValue, 1))
        m_nCaptionHeight = pScaler->ScaleY(nValue);
    m_clrFrameBorderInactive.SetStandardValue(QVTFrameIni::ReadColor(
        _T("Frame.Inactive"), _T("BorderColor"), m_clrFrameBorderInactive.GetStandardValue()));
    m_clrFrameBorderActive.SetStandardValue(QVTFrameIni::ReadColor(
        _T("Frame.Active"), _T("BorderColor"), m_clrFrameBorderActive.GetStandardValue()));
    m_clrCaptionTextInactive.SetStandardValue(QVTFrameIni::ReadColor(
        _T("Frame.Inactive"), _T("FontColor"), m_clrCaptionTextInactive.GetStandardValue()));
    m_clrCaptionTextActive.SetStandardValue(QVTFrameIni::ReadColor(
        _T("Frame.Active"), _T("FontColor"), m_clrCaptionTextActive.GetStandardValue()));
    m_clrTitleTextActive.SetStandardValue(m_clrCaptionTextActive.GetStandardValue());
    m_csCaptionButtonInactive.RefreshMetrics(_T("Frame.CaptionButton.Inactive"));
    m_csCaptionButtonActive.RefreshMetrics(_T("Frame.CaptionButton.Active"));
    m_csCaptionButtonHot.RefreshMetrics(_T("Frame.CaptionButton.Hot"));
    m_csCaptionButtonPressed.RefreshMetrics(_T("Frame.CaptionButton.Pressed"));

    NONCLIENTMETRICS ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
    {
        LOGFONT lf = ncm.lfCaptionFont;
        lf.lfWeight = FW_NORMAL;
        if (QVTFrameIni::ReadInts(_T("Frame"), _T("FontSize"), &nValue, 1) && nValue > 0)
            lf.lfHeight = -pScaler->ScaleY(nValue);
        const CString strFace = GetResourceImagesIniString(_T("Frame"), _T("FontFace"), _T(""));
        if (!strFace.IsEmpty())
            lstrcpyn(lf.lfFaceName, strFace, LF_FACESIZE);
        m_fontCaption.SetStandardFont(&lf);
    }
}

void CQVTFrameThemeModernUI::LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext)
{
    m_frameBorderLeft.LoadPart(hArchive, "Frame/BorderLeft.xaml", pContext);
    m_frameBorderTop.LoadPart(hArchive, "Frame/BorderTop.xaml", pContext);
    m_frameBorderRight.LoadPart(hArchive, "Frame/BorderRight.xaml", pContext);
    m_frameBorderBottom.LoadPart(hArchive, "Frame/BorderBottom.xaml", pContext);
    m_buttonMinimize.LoadPart(hArchive, "Frame/ButtonMinimize.xaml", pContext);
    m_buttonMaximize.LoadPart(hArchive, "Frame/ButtonMaximize.xaml", pContext);
    m_buttonRestore.LoadPart(hArchive, "Frame/ButtonRestore.xaml", pContext);
    m_buttonClose.LoadPart(hArchive, "Frame/ButtonClose.xaml", pContext);
}

CRect CQVTFrameThemeModernUI::CalcFrameBorders(IQVTFrameHook* pFrameHook)
{
    const HWND hWnd = pFrameHook->GetSite();
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
    if ((dwStyle & WS_MAXIMIZE) || pFrameHook->IsDwmEnabled())
        return CQVTRibbonMarkupFrameTheme::CalcFrameBorders(pFrameHook);
    if (::GetWindowLongPtr(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
    {
        const int cx = ::GetSystemMetrics(SM_CXFRAME);
        const int cy = ::GetSystemMetrics(SM_CYFRAME);
        return CRect(cx, (dwStyle & WS_CAPTION) ? QVTDpiScaler()->ScaleY(1) : cy, cx, cy);
    }
    return CRect(1, 1, 1, 1);
}

HRGN CQVTFrameThemeModernUI::CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz)
{
    const CRect rc(0, 0, sz.cx, sz.cy);
    return QVTFrameIni::CreateRegionFromRects(&rc, 1);
}

CQVTModernUIFrameCaptionButton* CQVTFrameThemeModernUI::GetCaptionButtonPart(int nId)
{
    switch (nId)
    {
    case SC_MINIMIZE:
        return &m_buttonMinimize;
    case SC_MAXIMIZE:
        return &m_buttonMaximize;
    case SC_RESTORE:
        return &m_buttonRestore;
    case SC_CLOSE:
        return &m_buttonClose;
    default:
        return nullptr;
    }
}

const CQVTColorSetCaptionButton& CQVTFrameThemeModernUI::GetCaptionButtonColorSet(
    BOOL bSelected, BOOL bPressed, BOOL bEnabledAndActive) const
{
    if (bPressed)
        return m_csCaptionButtonPressed;
    if (bSelected)
        return m_csCaptionButtonHot;
    return bEnabledAndActive ? m_csCaptionButtonActive : m_csCaptionButtonInactive;
}

void CQVTFrameThemeModernUI::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed,
                                               BOOL bEnabled, BOOL bActive, CQVTRibbonBar* pRibbonBar)
{
    CQVTModernUIFrameCaptionButton* pPart = GetCaptionButtonPart(nId);
    if (!pPart || !pPart->GetElement())
        return;
    pPart->ApplyColorSet(GetCaptionButtonColorSet(bSelected, bPressed, bEnabled && bActive));
    pPart->Render(pDC, rc);
}

CQVTMarkupThemePart* CQVTFrameThemeModernUI::GetFramePart(int nPart, BOOL bActive)
{
    CQVTModernUIFrameBorder* pPart = nullptr;
    switch (nPart)
    {
    case framePartTop:
        pPart = &m_frameBorderTop;
        break;
    case framePartLeft:
    case framePartLeftCaption:
        pPart = &m_frameBorderLeft;
        break;
    case framePartRight:
    case framePartRightCaption:
        pPart = &m_frameBorderRight;
        break;
    case framePartBottom:
        pPart = &m_frameBorderBottom;
        break;
    default:
        return nullptr;
    }
    if (CQVTMarkupBorder* pBorder = MarkupCast<CQVTMarkupBorder>(pPart->FindElement(u"Border")))
    {
        pBorder->SetValue(CQVTMarkupBorder::m_pBorderBrushProperty,
                          ModernUISolidBrush(bActive ? m_clrFrameBorderActive : m_clrFrameBorderInactive));
        pBorder->SetValue(
            CQVTMarkupBorder::m_pBackgroundProperty,
            ModernUISolidBrush(bActive ? m_clrCaptionBackgroundActive : m_clrCaptionBackgroundInactive));
    }
    return pPart;
}
