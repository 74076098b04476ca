#include "toolkit/themes/frame/QVTRibbonMarkupFrameTheme.h"

#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/markup/QVTMarkupThemePart.h"

IMPLEMENT_DYNAMIC(CQVTRibbonMarkupFrameTheme, CQVTFramePaintManager)

CQVTRibbonMarkupFrameTheme::CQVTRibbonMarkupFrameTheme(CQVTPaintManager* pPaintManager)
    : CQVTFramePaintManager(pPaintManager)
{
}

BOOL CQVTRibbonMarkupFrameTheme::IsCompatibleStyle() const
{
    const int nTheme = m_pPaintManager ? m_pPaintManager->GetThemeId() : -1;
    const CString strCompatibility = GetResourceImagesIniString(_T("Theme"), _T("Compatibility"), _T(""));
    switch (nTheme)
    {
    case qvtThemeResource:
    case qvtThemeRibbon:
        // Those draw their frame from the scheme's images instead.
        return FALSE;
    case qvtThemeOffice2013:
        return strCompatibility.CompareNoCase(_T("Office2013")) == 0;
    case qvtThemeVisualStudio2012:
    case qvtThemeVisualStudio2012Light:
    case qvtThemeVisualStudio2012Dark:
        return strCompatibility.CompareNoCase(_T("VisualStudio2012")) == 0;
    case qvtThemeVisualStudio2015:
        return strCompatibility.CompareNoCase(_T("VisualStudio2015")) == 0;
    case qvtThemeNativeWindows10:
        return strCompatibility.CompareNoCase(_T("NativeWindows10")) == 0;
    default:
        return TRUE;
    }
}

void CQVTRibbonMarkupFrameTheme::DrawFrame(CDC* pDC, IQVTFrameHook* pFrameHook)
{
    if (!IsCompatibleStyle())
        return;
    if (!pFrameHook->IsCaptionVisible())
    {
        DrawFrameBorders(pDC, pFrameHook);
        return;
    }
    const CRect rcCaption = GetCaptionRect(pFrameHook);
    const int nSaved = pDC->SaveDC();
    pDC->ExcludeClipRect(rcCaption);
    DrawFrameBorders(pDC, pFrameHook);
    pDC->RestoreDC(nSaved);
    if (rcCaption.IsRectEmpty())
        return;

    CWnd* pFrame = CWnd::FromHandle(pFrameHook->GetSite());
    const BOOL bActive = pFrameHook->IsFrameActive();
    CQVTBufferDCEx dc(pDC->GetSafeHdc(), rcCaption);
    CRect rc = rcCaption;
    if (!pFrameHook->IsDwmEnabled())
        FillCaptionBackground(&dc, rc, pFrame, bActive);
    DrawFrameIcon(&dc, pFrameHook, rc);
    DrawCaptionButtons(&dc, pFrameHook, rc);
    rc.left += CalcFrameBorders(pFrameHook).left;
    DrawCaptionText(&dc, rc, pFrame, bActive, pFrameHook->GetRibbonBar());
}

void CQVTRibbonMarkupFrameTheme::DrawFrameBorders(CDC* pDC, IQVTFrameHook* pFrameHook)
{
    // A click on the shadow activates it: the frame still looks active.
    CQVTFrameShadow* pShadow = pFrameHook->GetFrameShadow();
    const BOOL bActive =
        pFrameHook->IsFrameActive() || (pShadow && pShadow->IsShadowWindow(::GetActiveWindow()));
    const HWND hWnd = pFrameHook->GetSite();
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    rcClient.OffsetRect(-rcWindow.TopLeft());
    rcWindow.OffsetRect(-rcWindow.TopLeft());
    const int c = ::GetSystemMetrics(SM_CYCAPTION);
    const struct
    {
        int nPart;
        CRect rc;
    } pieces[] = {
        {framePartTop, CRect(rcWindow.left, rcWindow.top, rcWindow.right, rcClient.top)},
        {framePartLeftCaption, CRect(rcWindow.left, rcClient.top, rcClient.left, rcClient.top + c)},
        {framePartLeft, CRect(rcWindow.left, rcClient.top + c, rcClient.left, rcClient.bottom)},
        {framePartRightCaption, CRect(rcClient.right, rcClient.top, rcWindow.right, rcClient.top + c)},
        {framePartRight, CRect(rcClient.right, rcClient.top + c, rcWindow.right, rcClient.bottom)},
        {framePartBottom, CRect(rcWindow.left, rcClient.bottom, rcWindow.right, rcWindow.bottom)},
    };
    for (const auto& piece : pieces)
    {
        CQVTMarkupThemePart* pPart = GetFramePart(piece.nPart, bActive);
        if (pPart && pPart->GetElement() && piece.rc.right > piece.rc.left && piece.rc.bottom > piece.rc.top)
            pPart->Render(pDC, piece.rc);
    }
}
