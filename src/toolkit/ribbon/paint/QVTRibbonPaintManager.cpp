#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/paint/QVTRibbonTabTheme.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTRibbonPaintManager, CQVTCmdTarget)

LPCTSTR AFXAPI QVTRibbonContextColorName(int nColor)
{
    static const LPCTSTR kNames[] = {_T(""),    _T("BLUE"),   _T("YELLOW"), _T("GREEN"),
                                     _T("RED"), _T("PURPLE"), _T("CYAN"),   _T("ORANGE")};
    return nColor >= 1 && nColor <= 7 ? kNames[nColor] : kNames[0];
}

CQVTRibbonPaintManager::CQVTRibbonPaintManager(CQVTPaintManager* pPaintManager)
    : m_bReserved(TRUE), m_bFlatFrame(FALSE), m_clrRecentFileListEdgeShadow(0),
      m_clrRecentFileListEdgeHighLight(0), m_nControlRowHeight(22), m_nGroupSpacing(0),
      m_nGroupCaptionHeight(0), m_clrRibbonFace(::GetSysColor(COLOR_3DFACE)),
      m_clrRibbonBorder(::GetSysColor(COLOR_3DSHADOW)), m_clrGroupCaptionText(::GetSysColor(COLOR_BTNTEXT)),
      m_clrRibbonInactiveFace(::GetSysColor(COLOR_3DFACE)), m_clrFileButtonText(::GetSysColor(COLOR_BTNTEXT)),
      m_clrMinimizedFrameEdgeHighLight(0), m_clrMinimizedFrameEdgeShadow(0), m_rcFileButtonMargin(0, 0, 0, 0),
      m_nFileButtonImageCount(3), m_pPaintManager(pPaintManager), m_pTabPaintManager(nullptr),
      m_hCachedIcon(nullptr), m_bCachedIconAlpha(FALSE)
{
    m_pTabPaintManager = CQVTRibbonPaintManager::CreateTabPaintManager();
    m_pTabPaintManager->RefreshMetrics();
}

CQVTRibbonPaintManager::~CQVTRibbonPaintManager()
{
    if (m_pTabPaintManager)
        m_pTabPaintManager->InternalRelease();
    m_pTabPaintManager = nullptr;
}

CQVTTabPaintManager* CQVTRibbonPaintManager::CreateTabPaintManager()
{
    CQVTDpiScaler* pDpi = QVTDpiScaler();
    CQVTTabPaintManager* pTabPaintManager = new CQVTTabPaintManager();
    pTabPaintManager->SetAppearanceSet(new CQVTRibbonTabTheme(this));
    pTabPaintManager->SetLayout(qvtTabLayoutSizeToFit);
    pTabPaintManager->SetColorSet(new CQVTRibbonTabColorSet());
    pTabPaintManager->m_bHotTracking = TRUE;
    pTabPaintManager->m_nClientFrame = 1;
    pTabPaintManager->m_rcButtonMargin.SetRect(0, pDpi->ScaleY(2), 0, pDpi->ScaleY(2));
    pTabPaintManager->m_rcButtonTextPadding.SetRect(pDpi->ScaleX(4), 0, pDpi->ScaleX(4), 0);
    pTabPaintManager->m_bFillBackground = FALSE;
    pTabPaintManager->m_bDrawTextEndEllipsis = FALSE;
    pTabPaintManager->m_bDrawTextNoPrefix = FALSE;
    pTabPaintManager->m_bDrawFocusRect = FALSE;
    pTabPaintManager->m_bClipHeader = FALSE;
    pTabPaintManager->m_nItemExtraLength = pDpi->ScaleX(21);
    pTabPaintManager->m_nToolTipBehaviour = 2;
    pTabPaintManager->m_bClearTypeTextQuality =
        m_pPaintManager ? m_pPaintManager->m_bClearTypeTextQuality : FALSE;
    return pTabPaintManager;
}

void CQVTRibbonPaintManager::RefreshMetrics()
{
    LOGFONT lf = {};
    CFont* pRegular = m_pPaintManager ? m_pPaintManager->GetRegularFont() : nullptr;
    if (!pRegular || !pRegular->GetSafeHandle() || !pRegular->GetLogFont(&lf))
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    m_fontGroupCaption.SetStandardFont(&lf);

    CQVTDpiScaler* pDpi = QVTDpiScaler();
    m_nControlRowHeight = (m_pPaintManager ? m_pPaintManager->GetControlHeight() : 18) + pDpi->ScaleY(4);
    m_rcFileButtonMargin.SetRectEmpty();

    m_nGroupCaptionHeight = 2 * pDpi->ScaleY(1);
    HDC hDC = ::CreateDC(_T("DISPLAY"), nullptr, nullptr, nullptr);
    if (hDC)
    {
        HFONT hFont = ::CreateFontIndirect(&lf);
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        SIZE sz = {0, 0};
        ::GetTextExtentPoint32(hDC, _T("#"), 1, &sz);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hFont);
        ::DeleteDC(hDC);
        m_nGroupCaptionHeight += sz.cy;
    }
    else
        m_nGroupCaptionHeight += std::abs(lf.lfHeight);

    if (m_pTabPaintManager)
    {
        m_pTabPaintManager->RefreshMetrics();
        m_pTabPaintManager->SetFontIndirect(&lf, TRUE);
    }
}

CSize CQVTRibbonPaintManager::DrawObject(CDC* pDC, int, CQVTControl* pControl)
{
    return pControl ? pControl->Draw(pDC) : CSize(0, 0);
}

void CQVTRibbonPaintManager::FillTabPopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar)
{
    CRect rc;
    pPopupBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, m_clrRibbonFace);
}

void CQVTRibbonPaintManager::FillGroupPopupToolBar(CDC* pDC, CQVTRibbonGroup* pGroup)
{
    FillGroupPopupBackground(pDC, pGroup);
    pGroup->Draw(pDC, pGroup->GetRect());
}

CQVTResourceImages* CQVTRibbonPaintManager::GetImages() const
{
    return QVTResourceImages();
}

CQVTResourceImage* CQVTRibbonPaintManager::LoadImage(LPCTSTR lpszImageName) const
{
    CQVTResourceImages* pImages = GetImages();
    return pImages ? pImages->LoadFile(lpszImageName) : nullptr;
}

int CQVTRibbonPaintManager::GetRowHeight() const
{
    return std::max(18, m_nControlRowHeight);
}

int CQVTRibbonPaintManager::GetTabsHeight() const
{
    // The tab row holds the tab font with its margins, and never less than
    // the classic 23 pixels.
    const int nText = m_nGroupCaptionHeight - 2 * QVTDpiScaler()->ScaleY(1);
    return std::max(QVTDpiScaler()->ScaleY(23), nText + QVTDpiScaler()->ScaleY(10));
}

BOOL CQVTRibbonPaintManager::IsControlOnGlass(CQVTControl* pControl) const
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (!pBar)
        return FALSE;
    if (pBar->IsRibbonBar() && IsRectOnGlassCaption(static_cast<CQVTRibbonBar*>(pBar), pControl->GetRect()))
        return TRUE;
    return pBar->IsFrameCompositionActive();
}

BOOL AFX_CDECL CQVTRibbonPaintManager::IsRectOnGlassCaption(const CQVTRibbonBar* pRibbonBar, CRect rc)
{
    if (!pRibbonBar || !pRibbonBar->IsRibbonBar() || !pRibbonBar->IsDwmEnabled())
        return FALSE;
    CRect rcCaption = pRibbonBar->GetCaptionRect();
    CQVTRibbonPaintManager* pRibbonPaintManager = pRibbonBar->GetRibbonPaintManager();
    if (pRibbonPaintManager && pRibbonPaintManager->m_bFlatFrame)
        rcCaption.bottom = pRibbonBar->GetTabControlRect().top;
    CRect rcIntersect;
    return rcIntersect.IntersectRect(rcCaption, rc);
}

void CQVTRibbonPaintManager::DrawCaptionTextOnGlass(CDC* pDC, CRect rc, const CString& strText, CWnd* pFrame,
                                                    BOOL bActive)
{
    const UINT nFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    const BOOL bMaximized = pFrame && pFrame->GetSafeHwnd() && (pFrame->GetStyle() & WS_MAXIMIZE);
    OSVERSIONINFO osvi = {sizeof(osvi)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionEx(&osvi);
#pragma GCC diagnostic pop
    const BOOL bBeforeWindows7 =
        osvi.dwMajorVersion < 6 || (osvi.dwMajorVersion == 6 && osvi.dwMinorVersion < 1);
    if (bMaximized && bBeforeWindows7)
    {
        pDC->SetTextColor(0xFFFFFF);
        pDC->DrawText(strText, rc, nFormat);
        return;
    }
    CQVTWinThemeWrapper theme;
    if (!theme.IsThemeActive() ||
        !theme.OpenThemeData(pFrame ? pFrame->GetSafeHwnd() : nullptr, _T("WINDOW")))
    {
        pDC->SetTextColor(0);
        pDC->DrawText(strText, rc, nFormat);
        return;
    }
    CRect rcBuffer(rc);
    rcBuffer.InflateRect(5, 0);
    BP_PAINTPARAMS params = {sizeof(params)};
    HDC hdcPaint = nullptr;
    HPAINTBUFFER hBuffer =
        theme.BeginBufferedPaint(pDC->GetSafeHdc(), rcBuffer, BPBF_TOPDOWNDIB, &params, &hdcPaint);
    if (!hBuffer || !hdcPaint)
    {
        pDC->SetTextColor(0);
        pDC->DrawText(strText, rc, nFormat);
        return;
    }
    ::BitBlt(hdcPaint, rcBuffer.left, rcBuffer.top, rcBuffer.Width(), rcBuffer.Height(), pDC->GetSafeHdc(),
             rcBuffer.left, rcBuffer.top, SRCCOPY);
    ::SetTextColor(hdcPaint, 0);
    ::SetBkMode(hdcPaint, TRANSPARENT);
    ::SelectObject(hdcPaint, ::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT));
    DTTOPTS options = {sizeof(options)};
    options.dwFlags = DTT_COMPOSITED | DTT_GLOWSIZE;
    options.iGlowSize = QVTDpiScaler()->ScaleX(8);
    RECT rcText = rc;
    // Parts and states of the "WINDOW" class: caption 1, maximized caption
    // 5; active 1, inactive 2.
    theme.DrawThemeTextEx(hdcPaint, bMaximized ? 5 : 1, bActive ? 1 : 2, strText, -1, nFormat, &rcText,
                          &options);
    theme.EndBufferedPaint(hBuffer, TRUE);
}

void CQVTRibbonPaintManager::DrawFrameIcon(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc, HICON hIcon)
{
    if (!hIcon)
        return;
    if (!pRibbonBar || !pRibbonBar->IsDwmEnabled())
    {
        ::DrawIconEx(pDC->GetSafeHdc(), rc.left, rc.top, hIcon, rc.Width(), rc.Height(), 0, nullptr,
                     DI_NORMAL);
        return;
    }
    if (m_hCachedIcon != hIcon)
    {
        m_hCachedIcon = hIcon;
        m_bCachedIconAlpha = FALSE;
        ICONINFO info = {};
        if (::GetIconInfo(hIcon, &info))
        {
            BITMAP bm = {};
            if (info.hbmColor && ::GetObject(info.hbmColor, sizeof(bm), &bm) && bm.bmBitsPixel == 32)
            {
                BITMAPINFO bmi = {};
                bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
                bmi.bmiHeader.biWidth = bm.bmWidth;
                bmi.bmiHeader.biHeight = -bm.bmHeight;
                bmi.bmiHeader.biPlanes = 1;
                bmi.bmiHeader.biBitCount = 32;
                std::vector<DWORD> bits(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
                HDC hScreen = ::GetDC(nullptr);
                if (!bits.empty() &&
                    ::GetDIBits(hScreen, info.hbmColor, 0, bm.bmHeight, bits.data(), &bmi, DIB_RGB_COLORS))
                    m_bCachedIconAlpha =
                        std::any_of(bits.begin(), bits.end(), [](DWORD d) { return (d >> 24) != 0; });
                ::ReleaseDC(nullptr, hScreen);
            }
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
    }
    if (m_bCachedIconAlpha)
        ::DrawIconEx(pDC->GetSafeHdc(), rc.left, rc.top, hIcon, rc.Width(), rc.Height(), 0, nullptr,
                     DI_NORMAL);
    else
        CQVTImageManager::DrawIconWithAlpha(pDC, rc.TopLeft(), rc.Size(), hIcon);
}
