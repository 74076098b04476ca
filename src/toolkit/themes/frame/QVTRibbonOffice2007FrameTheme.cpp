#include "toolkit/themes/frame/QVTRibbonOffice2007FrameTheme.h"

#include <algorithm>

#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/themes/frame/QVTFrameIni.h"
#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"

IMPLEMENT_DYNAMIC(CQVTRibbonOffice2007FrameTheme, CQVTFramePaintManager)

namespace {
const COLORREF kResourceFrameKey = RGB(255, 0, 255);
const int kResourceFrameBorder = 4;
const UINT kResourceFrameStatusBarId = 0xE801;  // the frame's status bar

void ResourceFrameFill(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr)
{
    if (cx > 0 && cy > 0 && clr != CQVTPaintManagerColor::noColor)
        pDC->FillSolidRect(x, y, cx, cy, clr);
}
}  // namespace

CQVTRibbonOffice2007FrameTheme::CQVTRibbonOffice2007FrameTheme(CQVTPaintManager* pPaintManager)
    : CQVTFramePaintManager(pPaintManager), m_bFlatFrame(FALSE)
{
    m_bCaptionCenterAligned = TRUE;
    for (int i = 0; i < 4; ++i)
        m_clrBorderActive[i] = m_clrBorderInactive[i] = CQVTPaintManagerColor::noColor;
}

CQVTResourceImages* CQVTRibbonOffice2007FrameTheme::GetImages() const
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages && pImages->IsValid() ? pImages : nullptr;
}

void CQVTRibbonOffice2007FrameTheme::RefreshMetrics()
{
    CQVTFramePaintManager::RefreshMetrics();
    if (!GetImages())
        return;
    m_nCaptionHeight = std::max(::GetSystemMetrics(SM_CYCAPTION), 17);
    for (int i = 0; i < 4; ++i)
    {
        CString strKey;
        strKey.Format(_T("BorderActive%d"), i);
        m_clrBorderActive[i] = QVTFrameIni::ReadColor(_T("Window"), strKey, CQVTPaintManagerColor::noColor);
        strKey.Format(_T("BorderInactive%d"), i);
        m_clrBorderInactive[i] = QVTFrameIni::ReadColor(_T("Window"), strKey, CQVTPaintManagerColor::noColor);
    }
    const COLORREF none = CQVTPaintManagerColor::noColor;
    m_clrTitleTextActive.SetStandardValue(
        QVTFrameIni::ReadColor(_T("Window"), _T("CaptionTextActiveTitle"), none));
    m_clrCaptionTextInactive.SetStandardValue(
        QVTFrameIni::ReadColor(_T("Window"), _T("CaptionTextInActive"), none));
    m_clrCaptionTextActive.SetStandardValue(
        QVTFrameIni::ReadColor(_T("Window"), _T("CaptionTextActive"), none));
    m_bFlatFrame = QVTFrameIni::ReadInt(_T("Window"), _T("FlatFrame"), 0) != 0;

    CQVTNonClientMetrics ncm;
    LOGFONT lf = ncm.lfCaptionFont;
    lf.lfWeight = FW_NORMAL;
    if (m_pPaintManager && m_pPaintManager->m_bClearTypeTextQuality && QVTOSVersion()->IsWinXPOrGreater())
        lf.lfQuality = CLEARTYPE_QUALITY;
    if (m_pPaintManager && m_pPaintManager->m_bUseOfficeFont && !m_pPaintManager->m_strOfficeFont.IsEmpty() &&
        CQVTDrawHelpers::FontFaceExists(m_pPaintManager->m_strOfficeFont))
        lstrcpyn(lf.lfFaceName, m_pPaintManager->m_strOfficeFont, LF_FACESIZE);
    if (lf.lfHeight < 0 && lf.lfHeight > -11)
        lf.lfHeight = -11;
    else if (lf.lfHeight >= 0 && lf.lfHeight < 11)
        lf.lfHeight = 11;
    lf.lfCharSet = QVTResourceManager()->GetFontCharset();
    m_fontCaption.SetStandardFont(&lf);
}

CRect CQVTRibbonOffice2007FrameTheme::CalcFrameBorders(IQVTFrameHook* pFrameHook)
{
    if ((::GetWindowLongPtr(pFrameHook->GetSite(), GWL_STYLE) & WS_MAXIMIZE) || pFrameHook->IsDwmEnabled())
        return CQVTFramePaintManager::CalcFrameBorders(pFrameHook);
    return CRect(kResourceFrameBorder, kResourceFrameBorder, kResourceFrameBorder, kResourceFrameBorder);
}

HRGN CQVTRibbonOffice2007FrameTheme::CreateFrameRegion(IQVTFrameHook* pFrameHook, CSize sz)
{
    if (::GetWindowLongPtr(pFrameHook->GetSite(), GWL_STYLE) & WS_MAXIMIZE)
        return nullptr;
    const BOOL bStatusBar = m_bAllowStatusBarInFrame || pFrameHook->IsFrameHasStatusBar();
    return CQVTFrameThemeOffice2007System::CreateRoundedRegion(sz, bStatusBar, QVTDpiScaler()->ScaleX(100));
}

int AFX_CDECL CQVTRibbonOffice2007FrameTheme::GetGlyphSize(int nButtonWidth)
{
    if (nButtonWidth < 15)
        return 13;
    return nButtonWidth < 27 ? 17 : 23;
}

void CQVTRibbonOffice2007FrameTheme::DrawSideBorders(CDC* pDC, const CRect& rcWindow, int nBorder,
                                                     int nCaption, int nStatusBar, const COLORREF* pColors)
{
    const int nBottom = rcWindow.bottom - (nStatusBar > 0 ? nBorder + nStatusBar : 0);
    // Widths of the columns from the outside in.
    const int nRest = std::max(0, nBorder - 3);
    const int widths[4] = {1, 1, m_bFlatFrame ? nRest : 1, m_bFlatFrame ? 1 : nRest};
    int nOffset = 0;
    for (int i = 0; i < 4 && nOffset < nBorder; ++i)
    {
        const int cx = std::min(widths[i], nBorder - nOffset);
        const int nColumnBottom = i == 0 ? rcWindow.bottom : nBottom;
        ResourceFrameFill(pDC, rcWindow.left + nOffset, nCaption, cx, nColumnBottom - nCaption, pColors[i]);
        ResourceFrameFill(pDC, rcWindow.right - nOffset - cx, nCaption, cx, nColumnBottom - nCaption,
                          pColors[i]);
        nOffset += cx;
    }
}

void CQVTRibbonOffice2007FrameTheme::DrawBottomBorder(CDC* pDC, const CRect& rcWindow, int nBorder,
                                                      const COLORREF* pColors, BOOL bMaximized, BOOL bActive)
{
    const int nTop = rcWindow.bottom - nBorder;
    const int cxInner = rcWindow.Width() - 2 * nBorder;
    if (m_bFlatFrame)
    {
        ResourceFrameFill(pDC, rcWindow.left + nBorder, nTop, cxInner, 1, pColors[3]);
        ResourceFrameFill(pDC, rcWindow.left + nBorder, nTop + 1, cxInner, nBorder - 2, pColors[2]);
    }
    else
    {
        ResourceFrameFill(pDC, rcWindow.left + nBorder, nTop, cxInner, nBorder - 1, pColors[3]);
    }
    const COLORREF clrLine = bMaximized ? pColors[3] : (bActive ? pColors[0] : m_clrBorderInactive[0]);
    ResourceFrameFill(pDC, rcWindow.left, rcWindow.bottom - 1, rcWindow.Width(), 1, clrLine);
}

void CQVTRibbonOffice2007FrameTheme::DrawCaptionImages(CDC* pDC, const CRect& rcCaption, BOOL bActive)
{
    CQVTResourceImages* pImages = GetImages();
    if (!pImages || rcCaption.IsRectEmpty())
        return;
    const int nFrame = bActive ? 0 : 1;
    const CRect rcMargins(0, 5, 0, 3);
    CQVTResourceImage* pLeft = pImages->LoadFile(_T("FRAMETOPLEFT"));
    CQVTResourceImage* pRight = pImages->LoadFile(_T("FRAMETOPRIGHT"));
    const int cxLeft = pLeft ? std::min(pLeft->GetWidth(), rcCaption.Width() / 2) : 0;
    const int cxRight = pRight ? std::min(pRight->GetWidth(), rcCaption.Width() / 2) : 0;
    if (pLeft)
        pLeft->DrawFrame(pDC, CRect(rcCaption.left, rcCaption.top, rcCaption.left + cxLeft, rcCaption.bottom),
                         nFrame, 2, rcMargins);
    if (pRight)
        pRight->DrawFrame(pDC,
                          CRect(rcCaption.right - cxRight, rcCaption.top, rcCaption.right, rcCaption.bottom),
                          nFrame, 2, rcMargins);
    if (CQVTResourceImage* pCenter = pImages->LoadFile(_T("FRAMETOPCENTER")))
        pCenter->DrawFrame(
            pDC, CRect(rcCaption.left + cxLeft, rcCaption.top, rcCaption.right - cxRight, rcCaption.bottom),
            nFrame, 2, rcMargins);
}

void CQVTRibbonOffice2007FrameTheme::DrawStatusBarPieces(CDC* pDC, IQVTFrameHook* pFrameHook,
                                                         const CRect& rcWindow, int nBorder, int nStatusBar,
                                                         const COLORREF* pColors)
{
    const int cx = nBorder - 1;
    if (cx <= 0 || nStatusBar <= 0)
        return;
    BOOL bFirstDark = FALSE;
    BOOL bLastDark = FALSE;
    CQVTStatusBar* pStatusBar = DYNAMIC_DOWNCAST(
        CQVTStatusBar,
        CWnd::FromHandlePermanent(::GetDlgItem(pFrameHook->GetSite(), kResourceFrameStatusBarId)));
    if (pStatusBar)
    {
        BOOL bFirst = TRUE;
        for (int i = 0; i < pStatusBar->GetPaneCount(); ++i)
        {
            CQVTStatusBarPane* pPane = pStatusBar->GetPane(i);
            if (!pPane || !pPane->IsVisible())
                continue;
            if (bFirst)
                bFirstDark = pPane->IsDarkFace();
            bFirst = FALSE;
            bLastDark = pPane->IsDarkFace();
        }
    }
    const int nTop = rcWindow.bottom - nBorder - nStatusBar;
    const CRect rcLeft(rcWindow.left + 1, nTop, rcWindow.left + 1 + cx, nTop + nStatusBar);
    const CRect rcRight(rcWindow.right - 1 - cx, nTop, rcWindow.right - 1, nTop + nStatusBar);
    if (m_bFlatFrame)
    {
        ResourceFrameFill(pDC, rcLeft.left, rcLeft.top, cx, nStatusBar, pColors[2]);
        ResourceFrameFill(pDC, rcLeft.right - 1, rcLeft.top, 1, nStatusBar, pColors[3]);
        ResourceFrameFill(pDC, rcRight.left, rcRight.top, cx, nStatusBar, pColors[2]);
        ResourceFrameFill(pDC, rcRight.left, rcRight.top, 1, nStatusBar, pColors[3]);
        return;
    }
    CQVTResourceImages* pImages = GetImages();
    if (!pImages)
        return;
    const CRect rcMargins(0, 3, 0, 3);
    pImages->DrawImageFrame(pDC, bFirstDark ? _T("STATUSBARDARK") : _T("STATUSBARLIGHT"), rcLeft, 0, 1,
                            rcMargins);
    pImages->DrawImageFrame(pDC, bLastDark ? _T("STATUSBARDARK") : _T("STATUSBARLIGHT"), rcRight, 0, 1,
                            rcMargins);
}

void CQVTRibbonOffice2007FrameTheme::DrawFrame(CDC* pDC, IQVTFrameHook* pFrameHook)
{
    const HWND hWnd = pFrameHook->GetSite();
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    rcWindow.OffsetRect(-rcWindow.TopLeft());
    const int nBorder = std::max(0, (rcWindow.Width() - rcClient.Width()) / 2);
    const BOOL bActive = pFrameHook->IsFrameActive();
    const BOOL bMaximized = (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_MAXIMIZE) != 0;
    const COLORREF* pColors = bActive ? m_clrBorderActive : m_clrBorderInactive;
    const int nCaption = std::min(pFrameHook->GetCaptionHeight(), rcWindow.Height());
    int nStatusBar = 0;
    if (!pFrameHook->IsFrameHasStatusBar(&nStatusBar))
        nStatusBar = 0;

    DrawSideBorders(pDC, rcWindow, nBorder, nCaption, nStatusBar, pColors);
    DrawBottomBorder(pDC, rcWindow, nBorder, pColors, bMaximized, bActive);

    const CRect rcCaption(0, 0, rcWindow.right, nCaption);
    CWnd* pFrame = CWnd::FromHandle(hWnd);
    if (pFrameHook->IsCaptionVisible())
    {
        if (!rcCaption.IsRectEmpty())
        {
            CQVTBufferDCEx dc(pDC->GetSafeHdc(), rcCaption);
            DrawCaptionImages(&dc, rcCaption, bActive);
            CRect rc(7, rcCaption.top + nBorder, rcCaption.right - nBorder, rcCaption.bottom - 3);
            DrawFrameIcon(&dc, pFrameHook, rc);
            DrawCaptionButtons(&dc, pFrameHook, rc);
            DrawCaptionText(&dc, rc, pFrame, bActive);
            if (m_bFlatFrame)
                ResourceFrameFill(&dc, nBorder, nCaption - 1, rcWindow.Width() - 2 * nBorder, 1, pColors[3]);
        }
    }
    else
    {
        DrawCaptionImages(pDC, rcCaption, bActive);
        pFrameHook->DrawRibbonFrameCaption(pDC);
    }

    if (nStatusBar > 0)
        DrawStatusBarPieces(pDC, pFrameHook, rcWindow, nBorder, nStatusBar, pColors);

    CQVTResourceImages* pImages = GetImages();
    if (nBorder > 3 && pImages)
    {
        const int nFrame = bActive ? 0 : 1;
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            CQVTResourceImage* pCorner =
                pImages->LoadFile(nSide == 0 ? _T("FRAMEBOTTOMLEFT") : _T("FRAMEBOTTOMRIGHT"));
            if (!pCorner)
                continue;
            const CSize sz(QVTDpiScaler()->ScaleX(pCorner->GetWidth()),
                           QVTDpiScaler()->ScaleY(pCorner->GetSource(0, 2).Height()));
            const int x = nSide == 0 ? 0 : rcWindow.right - sz.cx;
            pCorner->DrawFrame(pDC, CRect(x, rcWindow.bottom - sz.cy, x + sz.cx, rcWindow.bottom), nFrame, 2,
                               CRect(0, 0, 0, 0), kResourceFrameKey);
        }
    }
}

void CQVTRibbonOffice2007FrameTheme::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected,
                                                       BOOL bPressed, BOOL bEnabled, BOOL bActive,
                                                       CQVTRibbonBar* pRibbonBar)
{
    LPCTSTR lpszName = nullptr;
    switch (nId)
    {
    case SC_MINIMIZE:
        lpszName = _T("MINIMIZE");
        break;
    case SC_MAXIMIZE:
        lpszName = _T("MAXIMIZE");
        break;
    case SC_CLOSE:
        lpszName = _T("CLOSE");
        break;
    case SC_RESTORE:
        lpszName = _T("RESTORE");
        break;
    default:
        return;
    }
    CQVTResourceImages* pImages = GetImages();
    if (!pImages)
        return;
    if (bSelected || bPressed)
    {
        CString strButton;
        strButton.Format(_T("FRAMECAPTION%sBUTTON"), lpszName);
        CQVTResourceImage* pButton = pImages->LoadFile(strButton);
        if (!pButton)
            pButton = pImages->LoadFile(_T("FRAMECAPTIONBUTTON"));
        if (pButton)
            pButton->DrawFrame(pDC, rc, bSelected && bPressed ? 1 : 0, 2, CRect(3, 3, 3, 3),
                               kResourceFrameKey);
    }
    CString strGlyph;
    strGlyph.Format(_T("FRAMECAPTION%s%d"), lpszName, GetGlyphSize(rc.Width()));
    CQVTResourceImage* pGlyph = pImages->LoadFile(strGlyph);
    if (!pGlyph)
        return;
    int nFrame = 0;
    if (!bEnabled || !bActive)
        nFrame = 3;
    else if (bSelected && bPressed)
        nFrame = 2;
    else if (bSelected || bPressed)
        nFrame = 1;
    const CSize sz(QVTDpiScaler()->ScaleX(pGlyph->GetWidth()),
                   QVTDpiScaler()->ScaleY(pGlyph->GetSource(0, 5).Height()));
    const CPoint pt((rc.left + rc.right - sz.cx) / 2, (rc.top + rc.bottom - sz.cy) / 2);
    pGlyph->DrawFrame(pDC, CRect(pt, sz), nFrame, 5, CRect(0, 0, 0, 0), kResourceFrameKey);
}

void CQVTRibbonOffice2007FrameTheme::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected,
                                                       BOOL bPressed, BOOL bEnabled, BOOL bActive)
{
    DrawCaptionButton(pDC, CRect(rc), nId, bSelected, bPressed, bEnabled, bActive, nullptr);
}

void CQVTRibbonOffice2007FrameTheme::DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive,
                                                     CQVTRibbonBar* pRibbonBar)
{
    CQVTFramePaintManager::DrawCaptionText(pDC, CRect(rc), pFrame, bActive, pRibbonBar);
}

void CQVTRibbonOffice2007FrameTheme::DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive)
{
    CQVTFramePaintManager::DrawCaptionText(pDC, CRect(rc), pFrame, bActive);
}
