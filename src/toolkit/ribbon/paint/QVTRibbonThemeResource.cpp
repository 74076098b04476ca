#include "toolkit/ribbon/paint/QVTRibbonThemeResource.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/paint/QVTRibbonTabTheme.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

namespace QVTRibbonResourceDraw {

const COLORREF kResourceKeyColor = RGB(0xFF, 0x00, 0xFF);
const COLORREF kResourceNoColor = 0xFFFFFFFF;

CQVTDpiScaler* Dpi()
{
    return QVTDpiScaler();
}

CString ContextImage(LPCTSTR lpszFormat, int nColor)
{
    CString str;
    str.Format(lpszFormat, QVTRibbonContextColorName(nColor));
    return str;
}

CString WithoutAmpersands(const CString& strText)
{
    CString str;
    for (int i = 0; i < strText.GetLength(); ++i)
    {
        if (strText[i] == _T('&'))
        {
            if (i + 1 < strText.GetLength() && strText[i + 1] == _T('&'))
                str += _T('&');
            ++i;
            if (i < strText.GetLength() && strText[i] != _T('&'))
                str += strText[i];
            continue;
        }
        str += strText[i];
    }
    return str;
}

// The small icon of a frame: none for tool windows or without a system menu.
HICON FrameSmallIcon(CWnd* pFrame)
{
    if (!pFrame || !pFrame->GetSafeHwnd())
        return nullptr;
    if ((pFrame->GetExStyle() & WS_EX_TOOLWINDOW) || !(pFrame->GetStyle() & WS_SYSMENU))
        return nullptr;
    HICON hIcon = reinterpret_cast<HICON>(pFrame->SendMessage(WM_GETICON, ICON_SMALL, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(pFrame->GetSafeHwnd(), GCLP_HICONSM));
    return hIcon;
}

}  // namespace QVTRibbonResourceDraw

using namespace QVTRibbonResourceDraw;

CQVTRibbonThemeResource::CQVTRibbonThemeResource(CQVTPaintManager* pPaintManager)
    : CQVTRibbonPaintManager(pPaintManager)
{
}

BOOL CQVTRibbonThemeResource::IsImagesLoaded() const
{
    CQVTResourceImages* pImages = GetImages();
    return pImages && pImages->IsValid();
}

BOOL CQVTRibbonThemeResource::DrawImageFrame(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames,
                                             CRect rcMargins, BOOL bKeyed, BOOL bMirrorInRtl)
{
    CQVTResourceImage* pImage = LoadImage(lpszImage);
    if (!pImage)
        return FALSE;
    pImage->SetMirrorInRtl(bMirrorInRtl);
    pImage->DrawFrame(pDC, rc, nFrame, nFrames, rcMargins, bKeyed ? kResourceKeyColor : CLR_NONE);
    return TRUE;
}

BOOL CQVTRibbonThemeResource::DrawImageFrameOnGlass(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame,
                                                    int nFrames, CRect rcMargins, BOOL bGlass,
                                                    BOOL bMirrorInRtl)
{
    CQVTResourceImage* pImage = LoadImage(lpszImage);
    if (!pImage)
        return FALSE;
    pImage->SetMirrorInRtl(bMirrorInRtl);
    pImage->DrawImageKeyedAlpha(pDC, rc, pImage->GetSource(nFrame, nFrames), rcMargins, kResourceKeyColor,
                                bGlass ? 1 : 0);
    return TRUE;
}

int CQVTRibbonThemeResource::GetTabContextColor(const CQVTRibbonTab* pTab) const
{
    return pTab ? pTab->GetContextColor() : 0;
}

// Metrics.

void CQVTRibbonThemeResource::RefreshMetrics()
{
    CQVTRibbonPaintManager::RefreshMetrics();
    CQVTResourceImages* pImages = GetImages();
    if (!pImages || !pImages->IsValid())
        return;
    auto color = [pImages](LPCTSTR lpszKey, COLORREF clrDefault) {
        return pImages->GetIniColor(_T("Ribbon"), lpszKey, clrDefault);
    };
    m_clrRibbonFace = color(_T("RibbonFace"), kResourceNoColor);
    m_clrRibbonInactiveFace = color(_T("RibbonInactiveFace"), m_clrRibbonFace);

    CQVTTabPaintManagerColorSet* pColorSet = m_pTabPaintManager ? m_pTabPaintManager->GetColorSet() : nullptr;
    if (pColorSet)
    {
        const COLORREF clrText = color(_T("TabNormalText"), kResourceNoColor);
        pColorSet->m_clrText.SetStandardValue(clrText);
        pColorSet->m_clrTextHighlighted.SetStandardValue(color(_T("TabHighlightText"), clrText));
        pColorSet->m_clrTextSelected.SetStandardValue(color(_T("TabSelectedText"), kResourceNoColor));
    }
    m_clrGroupCaptionText = color(_T("GroupCaptionText"), kResourceNoColor);
    m_clrMinimizedFrameEdgeHighLight = color(_T("MinimizedFrameEdgeHighLight"), kResourceNoColor);
    m_clrMinimizedFrameEdgeShadow = color(_T("MinimizedFrameEdgeShadow"), kResourceNoColor);
    m_clrRecentFileListEdgeShadow = color(_T("RecentFileListEdgeShadow"), kResourceNoColor);
    m_clrRecentFileListEdgeHighLight = color(_T("RecentFileListEdgeHighLight"), kResourceNoColor);
    m_nGroupSpacing = Dpi()->ScaleX(pImages->GetIniInt(_T("Ribbon"), _T("GroupSpacing"), 2));
    m_bFlatFrame = pImages->GetIniInt(_T("Window"), _T("FlatFrame"), 0) != 0;
    m_clrFileButtonText = color(_T("FileButtonText"), kResourceNoColor);
    m_rcFileButtonMargin =
        Dpi()->ScaleRect(pImages->GetIniRect(_T("Ribbon"), _T("FileButtonMargin"), CRect(0, 0, 0, 0)));
    // A count of 0 or less would divide by zero when a frame is picked.
    m_nFileButtonImageCount = pImages->GetIniInt(_T("Ribbon"), _T("FileButtonImageCount"), 3);
    if (m_nFileButtonImageCount <= 0)
        m_nFileButtonImageCount = 3;
}

int CQVTRibbonThemeResource::GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const
{
    int nHeight = ::GetSystemMetrics(SM_CYCAPTION);
    if (pRibbonBar && pRibbonBar->IsDwmEnabled())
        return nHeight;
    if (!pRibbonBar || !pRibbonBar->IsQuickAccessVisible() || pRibbonBar->IsQuickAccessBelowRibbon())
        nHeight -= Dpi()->ScaleY(3);
    return nHeight;
}

CSize CQVTRibbonThemeResource::GetOptionButtonSize() const
{
    if (!IsImagesLoaded())
        return CSize(0, 0);
    CQVTResourceImage* pImage = LoadImage(_T("RIBBONOPTIONBUTTON"));
    if (!pImage)
        return CSize(0, 0);
    return pImage->GetSource(0, 4).Size();
}

// Groups.

void CQVTRibbonThemeResource::DrawGroup(CDC* pDC, CQVTRibbonGroup* pGroup)
{
    if (!IsImagesLoaded() || pGroup->IsReduced())
        return;
    const CRect rcGroup = pGroup->GetRect();
    CRect rcCaption(rcGroup);
    rcCaption.top = rcCaption.bottom - m_nGroupCaptionHeight;
    CRect rcClient(rcGroup);
    rcClient.bottom = rcCaption.top;
    const int nFrame = pGroup->IsHighlighted() ? 1 : 0;
    const CRect rcMargins(5, 5, 5, 5);

    const int nContext = GetTabContextColor(pGroup->GetParentTab());
    CString strClient;
    CString strCaption;
    BOOL bWhole = FALSE;
    if (nContext)
    {
        strClient = ContextImage(_T("CONTEXTTAB%sGROUPCLIENT"), nContext);
        if (LoadImage(strClient))
            bWhole = TRUE;
        else
        {
            strClient = _T("CONTEXTTABGROUPCLIENT");
            strCaption = _T("CONTEXTTABGROUPCAPTION");
        }
    }
    else
    {
        strClient = _T("RIBBONGROUPCLIENT");
        strCaption = _T("RIBBONGROUPCAPTION");
    }
    if (!bWhole && !LoadImage(strCaption))
        bWhole = TRUE;
    if (bWhole)
        DrawImageFrame(pDC, strClient, rcGroup, nFrame, 2, rcMargins, FALSE);
    else
    {
        DrawImageFrame(pDC, strClient, rcClient, nFrame, 2, rcMargins, FALSE);
        DrawImageFrame(pDC, strCaption, rcCaption, nFrame, 2, rcMargins, FALSE);
    }

    // The separator at the group's right edge.
    CQVTResourceImage* pSeparator = LoadImage(_T("RIBBONGROUPSEPARATOR"));
    if (pSeparator)
    {
        const CRect rcSeparator(rcGroup.right - Dpi()->ScaleX(1), rcGroup.top + Dpi()->ScaleY(2),
                                rcGroup.right + Dpi()->ScaleX(2), rcGroup.bottom - Dpi()->ScaleY(5));
        pSeparator->DrawImageColorKeyed(pDC, rcSeparator, pSeparator->GetSource(0, 1), CRect(0, 0, 0, 0),
                                        kResourceKeyColor);
    }

    CRect rcText(rcCaption);
    rcText.OffsetRect(0, -Dpi()->ScaleY(1));
    if (pGroup->IsOptionButtonVisible())
        rcText.right -= Dpi()->ScaleX(1) + m_nGroupCaptionHeight;
    rcText.DeflateRect(Dpi()->ScaleX(2), 0);
    if (rcText.Width() <= 0)
        return;
    CQVTFontDC font(pDC, GetGroupCaptionFont(), m_clrGroupCaptionText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(WithoutAmpersands(pGroup->GetCaption()), rcText,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

CSize CQVTRibbonThemeResource::DrawControlGroupPopup(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    if (!IsImagesLoaded())
        return CSize(0, 0);
    const int nFrame = pControl->GetPopuped() ? 2 : (pControl->GetSelected() ? 1 : 0);
    CQVTRibbonGroupControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTRibbonGroupControlPopup, pControl);
    CQVTRibbonGroup* pGroup = pPopup ? pPopup->m_pGroup : nullptr;
    if (!pGroup)
    {
        // The quick-access group popup.
        if (bDraw)
            DrawImageFrameOnGlass(pDC, _T("RIBBONGROUPQUICKACCESS"), pControl->GetRect(), nFrame, 3,
                                  CRect(2, 2, 2, 2), IsControlOnGlass(pControl));
        return m_pPaintManager ? m_pPaintManager->DrawControlToolBarParent(pDC, pControl, bDraw)
                               : CSize(0, 0);
    }
    const CRect rc = pControl->GetRect();
    const int nControlHeight = m_pPaintManager ? m_pPaintManager->GetControlHeight() : 22;
    CSize sz(std::max(Dpi()->ScaleX(42), 2 * nControlHeight - Dpi()->ScaleX(3)), GetRowHeight() * 3);
    CFont* pFont = m_pPaintManager ? m_pPaintManager->GetControlFont(pControl) : nullptr;
    CQVTFontDC font(pDC, pFont);
    if (bDraw)
    {
        const int nContext = GetTabContextColor(pGroup->GetParentTab());
        if (!nContext || !DrawImageFrame(pDC, ContextImage(_T("CONTEXTTAB%sGROUPBUTTON"), nContext), rc,
                                         nFrame, 3, CRect(5, 5, 5, 5), FALSE))
            DrawImageFrame(pDC, _T("RIBBONGROUPBUTTON"), rc, nFrame, 3, CRect(5, 5, 5, 5), FALSE);

        CQVTImageManager* pImageManager = pControl->GetImageManager();
        const int nIconId = pGroup->GetIconId() > 0 ? pGroup->GetIconId() : pControl->GetIconId();
        CQVTImageManagerIcon* pIcon =
            pImageManager && nIconId > 0 ? pImageManager->GetImage(static_cast<UINT>(nIconId), 16) : nullptr;
        if (pIcon && m_pPaintManager)
        {
            CSize szIcon(Dpi()->ScaleX(16), Dpi()->ScaleY(16));
            CPoint ptIcon(rc.CenterPoint().x - szIcon.cx / 2, rc.top + Dpi()->ScaleY(4));
            if (szIcon.cx < Dpi()->ScaleX(20))
            {
                CQVTResourceImage* pFrameImage = LoadImage(_T("RIBBONGROUPBUTTONICON"));
                if (pFrameImage)
                {
                    CSize szFrame = pFrameImage->GetSource(0, 1).Size();
                    szFrame.cx = std::max(static_cast<int>(szFrame.cx),
                                          static_cast<int>(szIcon.cx + 2 * Dpi()->ScaleX(5)));
                    szFrame.cy = std::max(static_cast<int>(szFrame.cy),
                                          static_cast<int>(szIcon.cy + 2 * Dpi()->ScaleY(5)));
                    const CRect rcFrame(
                        CPoint(rc.CenterPoint().x - szFrame.cx / 2, rc.top + Dpi()->ScaleY(2)), szFrame);
                    pFrameImage->DrawImageColorKeyed(pDC, rcFrame, pFrameImage->GetSource(0, 1),
                                                     CRect(0, 0, 0, 0), kResourceKeyColor);
                    ptIcon = CPoint(rcFrame.CenterPoint().x - szIcon.cx / 2,
                                    rcFrame.CenterPoint().y - szIcon.cy / 2);
                }
            }
            m_pPaintManager->DrawImage(pDC, ptIcon, szIcon, pIcon, pControl->GetSelected(),
                                       pControl->GetPressed(), pControl->GetEnabled(), FALSE,
                                       pControl->GetPopuped(), 0);
        }
        CRect rcText(rc);
        rcText.bottom -= m_nGroupCaptionHeight + Dpi()->ScaleY(2);
        rcText.top = rcText.bottom - 2 * Dpi()->ScaleY(15);
        if (m_pPaintManager)
        {
            pDC->SetTextColor(m_pPaintManager->GetControlTextColor(pControl));
            m_pPaintManager->DrawControlTextBelowIcon(pDC, pControl, rcText, TRUE, FALSE, TRUE);
        }
        return sz;
    }
    if (m_pPaintManager)
    {
        const CSize szText = m_pPaintManager->DrawControlTextBelowIcon(pDC, pControl, rc, FALSE, FALSE, TRUE);
        sz.cx = std::max(static_cast<int>(sz.cx), static_cast<int>(szText.cx + Dpi()->ScaleX(5)));
    }
    return sz;
}

CSize CQVTRibbonThemeResource::DrawControlGroupOption(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize szOption(Dpi()->ScaleX(15), Dpi()->ScaleY(14));
    if (!bDraw || !IsImagesLoaded())
        return szOption;
    CQVTResourceImage* pImage = LoadImage(_T("RIBBONOPTIONBUTTON"));
    if (!pImage)
        return szOption;
    const int nFrame = pControl->GetPressed() ? 2 : (pControl->GetSelected() ? 1 : 0);
    const CRect rcSrc = pImage->GetSource(nFrame, 4);
    const CSize szFrame(Dpi()->ScaleX(rcSrc.Width()), Dpi()->ScaleY(rcSrc.Height()));
    const CRect rc = pControl->GetRect();
    const CRect rcDest(CPoint(rc.CenterPoint().x - szFrame.cx / 2, rc.CenterPoint().y - szFrame.cy / 2),
                       szFrame);
    pImage->DrawImageColorKeyed(pDC, rcDest, rcSrc, CRect(0, 0, 0, 0), kResourceKeyColor);
    return szOption;
}

void CQVTRibbonThemeResource::FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups)
{
    if (!IsImagesLoaded())
        return;
    const int nContext = GetTabContextColor(pTab);
    if (!nContext)
    {
        DrawImageFrame(pDC, _T("RIBBONGROUPS"), rcGroups, 0, 1, CRect(8, 8, 8, 8), FALSE);
        return;
    }
    const CString strImage = ContextImage(_T("CONTEXTTAB%sCLIENT"), nContext);
    CQVTResourceImage* pImage = LoadImage(strImage);
    if (!pImage)
        return;
    const CRect rcMargins = pImage->GetWidth() < 5 ? CRect(1, 8, 1, 8) : CRect(8, 8, 8, 8);
    DrawImageFrame(pDC, strImage, rcGroups, 0, 1, rcMargins, FALSE);
}

void CQVTRibbonThemeResource::FillGroupPopupBackground(CDC* pDC, CQVTRibbonGroup* pGroup)
{
    if (!IsImagesLoaded())
        return;
    const CRect rc = pGroup->GetRect();
    pDC->FillSolidRect(rc, m_clrRibbonFace);
    CRect rcImage(rc);
    rcImage.InflateRect(Dpi()->ScaleX(3), Dpi()->ScaleY(3));
    const int nContext = GetTabContextColor(pGroup->GetParentTab());
    CString strImage = nContext ? ContextImage(_T("CONTEXTTAB%sGROUPPOPUPBACKGROUND"), nContext)
                                : CString(_T("RIBBONGROUPPOPUPBACKGROUND"));
    if (!LoadImage(strImage))
        strImage = nContext ? ContextImage(_T("CONTEXTTAB%sCLIENT"), nContext) : CString(_T("RIBBONGROUPS"));
    CQVTResourceImage* pImage = LoadImage(strImage);
    if (!pImage)
        return;
    const CRect rcMargins = pImage->GetWidth() < 8 ? CRect(2, 8, 2, 8) : CRect(8, 8, 8, 8);
    DrawImageFrame(pDC, strImage, rcImage, 0, 1, rcMargins, FALSE);
}

// Tabs and context headers.

void CQVTRibbonThemeResource::DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab)
{
    if (!IsImagesLoaded())
        return;
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pTab->GetTabManager());
    CQVTRibbonBar* pRibbonBar = pControlTab ? pControlTab->GetRibbonBar() : nullptr;
    CRect rc = pTab->GetRect();
    CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(0, 1, -1, -1), qvtTabPositionTop);

    BOOL bSelected = pTab->IsSelected();
    BOOL bHot = pTab->IsHighlighted();
    const BOOL bPressed = pTab->IsPressed();
    BOOL bFocused = bSelected && pControlTab && pControlTab->IsFocused();
    if (pRibbonBar && pRibbonBar->IsBackstageViewVisible() && bSelected)
        bSelected = FALSE;
    if (pRibbonBar && pRibbonBar->IsRibbonMinimized())
    {
        if (pControlTab->GetPopuped())
        {
            bHot = FALSE;
            bFocused = FALSE;
        }
        else if (!pControlTab->GetSelected() || !bFocused)
        {
            bSelected = FALSE;
            bFocused = FALSE;
        }
        else
        {
            bSelected = FALSE;
            bFocused = FALSE;
            bHot = TRUE;
        }
    }

    const int nContext = GetTabContextColor(pTab);
    if (bSelected || bHot)
    {
        const CRect rcMargins(5, 5, 5, 5);
        BOOL bDrawn = FALSE;
        if (nContext)
        {
            const CString strImage = ContextImage(_T("CONTEXTTAB%s"), nContext);
            CQVTResourceImage* pImage = LoadImage(strImage);
            if (pImage && pImage->GetHeight() < 70)
            {
                const int nFrame = bSelected ? (bFocused ? 2 : 1) : 0;
                bDrawn = DrawImageFrame(pDC, strImage, rc, nFrame, 3, rcMargins, TRUE);
            }
            else if (pImage)
            {
                if (bSelected && (bFocused || bHot))
                    bDrawn = DrawImageFrame(pDC, _T("RIBBONTAB"), rc, 5, 6, rcMargins, TRUE);
                else
                    bDrawn = DrawImageFrame(pDC, strImage, rc, bSelected ? 3 : 1, 5, rcMargins, TRUE);
            }
        }
        if (!bDrawn && !nContext)
        {
            const int nFrame = bSelected ? (bFocused ? 5 : (bHot ? 4 : 3)) : (bPressed ? 2 : (bHot ? 1 : 0));
            DrawImageFrame(pDC, _T("RIBBONTAB"), rc, nFrame, 6, rcMargins, TRUE);
        }
    }

    const CRect rcTab = pTab->GetRect();
    if (pTab->IsTruncated())
    {
        CQVTResourceImage* pSeparator = LoadImage(_T("RIBBONTABSEPARATOR"));
        if (pSeparator)
        {
            const int cx = Dpi()->ScaleX(pSeparator->GetWidth());
            const CRect rcSeparator(rcTab.right - cx, rcTab.top, rcTab.right,
                                    rcTab.bottom - Dpi()->ScaleY(1));
            pSeparator->DrawImage(pDC, rcSeparator, pSeparator->GetSource(0, 1));
        }
    }
    CQVTRibbonTabContextHeader* pHeader = pTab->GetContextHeader();
    if (nContext && pHeader)
    {
        CQVTResourceImage* pSeparator = LoadImage(_T("CONTEXTTABSEPARATOR"));
        if (pSeparator)
        {
            const int cx = Dpi()->ScaleX(1);
            const int nBottom = rcTab.bottom - Dpi()->ScaleY(1);
            if (pHeader->m_pFirstTab == pTab)
                pSeparator->DrawImage(pDC, CRect(rcTab.left, rcTab.top, rcTab.left + cx, nBottom),
                                      pSeparator->GetSource(0, 1));
            if (pHeader->m_pLastTab == pTab)
                pSeparator->DrawImage(pDC, CRect(rcTab.right - cx, rcTab.top, rcTab.right, nBottom),
                                      pSeparator->GetSource(0, 1));
        }
    }
}

void CQVTRibbonThemeResource::DrawContextTabBackground(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc)
{
    if (!IsImagesLoaded() || !pRibbonBar)
        return;
    for (CQVTRibbonTabContextHeader* pHeader : pRibbonBar->GetContextHeaders().GetHeaders())
    {
        if (!pHeader->m_pFirstTab || !pHeader->m_pLastTab || !pHeader->m_nColor)
            continue;
        const CRect rcBack(pHeader->m_pFirstTab->GetRect().left, rc.top, pHeader->m_pLastTab->GetRect().right,
                           pHeader->m_pLastTab->GetRect().bottom);
        DrawImageFrame(pDC, ContextImage(_T("CONTEXTTAB%sBACKGROUND"), pHeader->m_nColor), rcBack, 0, 1,
                       CRect(2, 2, 2, 2), FALSE);
    }
}

void CQVTRibbonThemeResource::DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                                                 const CQVTRibbonTabContextHeaders& headers)
{
    if (!IsImagesLoaded())
        return;
    CQVTTabPaintManagerColorSet* pColorSet = m_pTabPaintManager->GetColorSet();
    const COLORREF clrText = pColorSet ? static_cast<COLORREF>(pColorSet->m_clrText) : 0;
    CQVTFontDC font(pDC, &m_pTabPaintManager->GetNormalFont(), clrText);
    pDC->SetBkMode(TRANSPARENT);
    for (CQVTRibbonTabContextHeader* pHeader : headers)
    {
        if (!DrawImageFrame(pDC, ContextImage(_T("CONTEXTTAB%sHEADER"), pHeader->m_nColor), pHeader->m_rcRect,
                            0, 1, CRect(2, 4, 2, 2), FALSE))
            break;
        CRect rcText(pHeader->m_rcRect);
        rcText.top +=
            (pRibbonBar->IsFrameThemeEnabled() ? pRibbonBar->GetFrameTopBorder() : 0) - Dpi()->ScaleY(2);
        if (IsRectOnGlassCaption(pRibbonBar, rcText))
        {
            rcText.DeflateRect(Dpi()->ScaleX(5), 0);
            DrawCaptionTextOnGlass(pDC, rcText, pHeader->m_strCaption, pRibbonBar->GetSite(),
                                   pRibbonBar->IsFrameActive());
        }
        else
            pDC->DrawText(pHeader->m_strCaption, rcText,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

// The bar.

void CQVTRibbonThemeResource::FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar)
{
    if (!IsImagesLoaded())
        return;
    CRect rc;
    pRibbonBar->GetClientRect(&rc);
    if (pRibbonBar->IsFrameThemeEnabled())
        rc.top += ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION);
    const CRect rcTabs = pRibbonBar->GetTabControlRect();
    CRect rcFace(rc.left, std::max(static_cast<int>(rc.top), static_cast<int>(rcTabs.top)), rc.right,
                 rc.bottom);
    pDC->FillSolidRect(rcFace, m_clrRibbonFace);

    if (m_bFlatFrame)
    {
        CRect rcTabRow(rc.left, rcTabs.top, rc.right, rcTabs.bottom);
        if (pRibbonBar->IsDwmEnabled())
        {
            pDC->FillSolidRect(rcTabRow, 0);
            DrawImageFrame(pDC, _T("RIBBONTABBACKGROUNDDWM"), rcTabRow, 0, 1, CRect(10, 0, 10, 0), FALSE);
        }
        else if (pRibbonBar->IsFrameThemeEnabled() && !pRibbonBar->IsFrameActive())
            pDC->FillSolidRect(rcTabRow, m_clrRibbonInactiveFace);
    }
    if (pRibbonBar->IsQuickAccessBelowRibbon() && pRibbonBar->IsQuickAccessVisible())
        DrawImageFrame(pDC, _T("RIBBONQUICKACCESSFRAME"), pRibbonBar->GetQuickAccessRect(), 0, 1,
                       CRect(3, 3, 3, 3), FALSE);
    if (pRibbonBar->GetGroupsHeightIfVisible() == 0 && !pRibbonBar->IsQuickAccessBelowRibbon())
    {
        CRect rcClient;
        pRibbonBar->GetClientRect(&rcClient);
        pDC->FillSolidRect(rcClient.left, rcClient.bottom - Dpi()->ScaleY(2), rcClient.Width(), 1,
                           m_clrMinimizedFrameEdgeShadow);
        pDC->FillSolidRect(rcClient.left, rcClient.bottom - Dpi()->ScaleY(1), rcClient.Width(), 1,
                           m_clrMinimizedFrameEdgeHighLight);
    }
}

void CQVTRibbonThemeResource::DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    if (!IsImagesLoaded())
        return;
    CRect rc = pRibbonBar->GetCaptionRect();
    rc.top -= 1;
    DrawImageFrame(pDC, _T("FRAMETOPCENTER"), rc, bActive ? 0 : 1, 2, CRect(0, 5, 0, 3), FALSE);
    DrawRibbonFrameQuickAccess(pDC, pRibbonBar);
    if (pRibbonBar->GetContextHeaders().GetCount() > 0)
        DrawContextHeaders(pDC, pRibbonBar, pRibbonBar->GetContextHeaders().GetHeaders());
}

void CQVTRibbonThemeResource::DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    if (!IsImagesLoaded())
        return;
    const CRect rcCaption = pRibbonBar->GetCaptionRect();
    const int nFrame = bActive ? 0 : 1;
    if (pRibbonBar->IsDwmEnabled())
        pDC->FillSolidRect(rcCaption, 0);
    else
    {
        CQVTResourceImage* pLeft = LoadImage(_T("FRAMETOPLEFT"));
        CQVTResourceImage* pRight = LoadImage(_T("FRAMETOPRIGHT"));
        const int cxLeft = pLeft ? Dpi()->ScaleX(pLeft->GetWidth()) : 0;
        const int cxRight = pRight ? Dpi()->ScaleX(pRight->GetWidth()) : 0;
        if (pLeft)
            DrawImageFrame(pDC, _T("FRAMETOPLEFT"),
                           CRect(rcCaption.left, rcCaption.top, rcCaption.left + cxLeft, rcCaption.bottom),
                           nFrame, 2, CRect(0, 5, 0, 3), TRUE);
        if (pRight)
            DrawImageFrame(pDC, _T("FRAMETOPRIGHT"),
                           CRect(rcCaption.right - cxRight, rcCaption.top, rcCaption.right, rcCaption.bottom),
                           nFrame, 2, CRect(0, 5, 0, 3), FALSE);
        DrawImageFrame(
            pDC, _T("FRAMETOPCENTER"),
            CRect(rcCaption.left + cxLeft, rcCaption.top, rcCaption.right - cxRight, rcCaption.bottom),
            nFrame, 2, CRect(0, 5, 0, 3), FALSE);
    }
    DrawRibbonFrameQuickAccess(pDC, pRibbonBar);

    HICON hIcon = FrameSmallIcon(pRibbonBar->GetSite());
    if (hIcon && !pRibbonBar->GetSystemButton())
    {
        const CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
        const int x = ::GetSystemMetrics(SM_CXFRAME) + Dpi()->ScaleX(1);
        const int y = rcCaption.top + (rcCaption.Height() - Dpi()->ScaleY(1) - szIcon.cy) / 2;
        DrawFrameIcon(pDC, pRibbonBar, CRect(CPoint(x, y), szIcon), hIcon);
        CQVTResourceImage* pSeparator = LoadImage(_T("SYSTEMICONSEPARATOR"));
        if (pSeparator && pRibbonBar->IsQuickAccessVisible())
        {
            const CSize sz(Dpi()->ScaleX(pSeparator->GetWidth()), Dpi()->ScaleY(pSeparator->GetHeight()));
            const CRect rcSeparator(
                CPoint(x + szIcon.cx + Dpi()->ScaleX(6), rcCaption.CenterPoint().y - sz.cy / 2), sz);
            pSeparator->DrawImageStretched(pDC, rcSeparator, pSeparator->GetSource(0, 1));
        }
    }
    if (pRibbonBar->GetContextHeaders().GetCount() > 0)
        DrawContextHeaders(pDC, pRibbonBar, pRibbonBar->GetContextHeaders().GetHeaders());

    CWnd* pSite = pRibbonBar->GetSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    CString strTitle;
    pSite->GetWindowText(strTitle);
    CRect rcText = pRibbonBar->GetCaptionTextRect();
    if (pSite->GetStyle() & WS_MAXIMIZE)
        rcText.OffsetRect(0, pRibbonBar->GetFrameTopBorder() / 2);
    CQVTFontDC font(pDC, m_pPaintManager ? m_pPaintManager->GetSmallCaptionFont() : nullptr);
    pDC->SetBkMode(TRANSPARENT);
    const int nWidth = pDC->GetTextExtent(strTitle).cx;
    const UINT nAlign = nWidth > rcText.Width() ? DT_LEFT : DT_CENTER;
    if (IsRectOnGlassCaption(pRibbonBar, rcText))
        DrawCaptionTextOnGlass(pDC, rcText, strTitle, pSite, bActive);
    else
        pDC->DrawText(strTitle, rcText, nAlign | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CQVTRibbonThemeResource::DrawRibbonFrameQuickAccess(CDC* pDC, CQVTRibbonBar* pRibbonBar)
{
    if (!pRibbonBar->IsQuickAccessVisible() || pRibbonBar->IsQuickAccessBelowRibbon())
        return;
    BOOL bVisibleControl = FALSE;
    for (int i = 0; i < pRibbonBar->GetControlCount() && !bVisibleControl; ++i)
    {
        CQVTControl* pControl = pRibbonBar->GetControl(i);
        bVisibleControl = pControl && pControl->IsVisible() && pRibbonBar->IsQuickAccessControl(pControl);
    }
    if (!bVisibleControl)
        return;
    CRect rc = pRibbonBar->GetQuickAccessRect();
    rc.left -= Dpi()->ScaleX(15);
    rc.top += Dpi()->ScaleY(2);
    rc.bottom = rc.top + pRibbonBar->GetQuickAccessRowHeight();
    const BOOL bGlass = IsRectOnGlassCaption(pRibbonBar, rc);
    DrawImageFrame(pDC, bGlass ? _T("RIBBONQUICKACCESSAREADWM") : _T("RIBBONQUICKACCESSAREA"), rc, 0, 1,
                   CRect(16, 3, 16, 3), FALSE, TRUE);
}

void CQVTRibbonThemeResource::DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl)
{
    if (!IsImagesLoaded())
        return;
    const int nFrame =
        !pControl->GetEnabled() ? 4 : (pControl->GetPopuped() ? 2 : (pControl->GetSelected() ? 1 : 0));
    DrawImageFrameOnGlass(pDC, _T("RIBBONQUICKACCESSBUTTON"), pControl->GetRect(), nFrame, 5,
                          CRect(2, 2, 2, 2), IsControlOnGlass(pControl));
}

void CQVTRibbonThemeResource::DrawRibbonQuickAccessMoreButton(CDC* pDC, CQVTControl* pControl)
{
    if (!IsImagesLoaded())
        return;
    const int nFrame = pControl->GetPopuped() ? 2 : (pControl->GetSelected() ? 1 : 0);
    DrawImageFrameOnGlass(pDC, _T("RIBBONQUICKACCESSMORE"), pControl->GetRect(), nFrame, 4, CRect(2, 2, 2, 2),
                          IsControlOnGlass(pControl));
}

void CQVTRibbonThemeResource::DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    if (!IsImagesLoaded())
        return;
    if (!LoadImage(_T("FILEBUTTON")))
    {
        if (m_pPaintManager)
            m_pPaintManager->DrawControlToolBarParent(pDC, pControl, TRUE);
        return;
    }
    const BOOL bPopuped = pControl->GetPopuped();
    const int nSelected = pControl->GetSelected();
    CRect rcFace(rc);
    int nFrame = 0;
    int nFrames = 3;
    CRect rcMargins(3, 3, 3, 3);
    if (m_nFileButtonImageCount == 7)
    {
        nFrames = 7;
        if (!pControl->GetEnabled())
            nFrame = 5;
        else if (bPopuped)
            nFrame = nSelected ? 3 : 2;
        else if (nSelected == 2 || nSelected == 3)
            nFrame = 4;
        else if (nSelected)
            nFrame = 1;
        if (bPopuped)
            rcFace.OffsetRect(0, 1);
        else
            rcFace.bottom -= 1;
    }
    else
        nFrame = bPopuped ? 2 : (nSelected ? 1 : 0);
    DrawImageFrame(pDC, _T("FILEBUTTON"), rcFace, nFrame, nFrames, rcMargins, FALSE);
    if (pControl->GetStyle() != qvtButtonIcon)
    {
        CQVTFontDC font(pDC, m_pPaintManager ? m_pPaintManager->GetRegularFont() : nullptr,
                        m_clrFileButtonText);
        CRect rcText(rcFace);
        if (m_pPaintManager)
            m_pPaintManager->DrawTextApi(pDC, WithoutAmpersands(pControl->GetCaption()), rcText,
                                         DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                                         IsControlOnGlass(pControl));
    }
}

void CQVTRibbonThemeResource::DrawRibbonScrollButton(CDC* pDC, CQVTControl* pControl, BOOL bScrollLeft)
{
    if (!IsImagesLoaded())
        return;
    const int nFrame = pControl->GetPressed() ? 2 : (pControl->GetSelected() ? 1 : 0);
    const CRect rc = pControl->GetRect();
    DrawImageFrame(pDC, bScrollLeft ? _T("RIBBONGROUPSSCROLLLEFT") : _T("RIBBONGROUPSSCROLLRIGHT"), rc,
                   nFrame, 3, CRect(4, 6, 3, 6), TRUE, TRUE);
    CQVTResourceImage* pGlyph =
        LoadImage(bScrollLeft ? _T("RIBBONGROUPSSCROLLLEFTGLYPH") : _T("RIBBONGROUPSSCROLLRIGHTGLYPH"));
    if (!pGlyph)
        return;
    const CRect rcSrc = pGlyph->GetSource(nFrame, 3);
    const CSize sz(Dpi()->ScaleX(rcSrc.Width()), Dpi()->ScaleY(rcSrc.Height()));
    const CRect rcGlyph(CPoint(rc.CenterPoint().x - sz.cx / 2, rc.CenterPoint().y - sz.cy / 2), sz);
    pGlyph->DrawImageColorKeyed(pDC, rcGlyph, rcSrc, CRect(0, 0, 0, 0), kResourceKeyColor);
}

void CQVTRibbonThemeResource::FillMorePopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar)
{
    if (!IsImagesLoaded())
        return;
    CRect rc;
    pPopupBar->GetClientRect(&rc);
    if (!DrawImageFrame(pDC, _T("MOREPOPUPBARFRAME"), rc, 0, 1, CRect(4, 4, 4, 4), FALSE))
        DrawImageFrame(pDC, _T("POPUPBARFRAME"), rc, 0, 1, CRect(4, 4, 4, 4), FALSE);
}

void CQVTRibbonThemeResource::FillSystemPopupBar(CDC* pDC, CQVTCommandBar* pPopupBar)
{
    if (!IsImagesLoaded())
        return;
    CRect rc;
    pPopupBar->GetClientRect(&rc);
    const CRect rcBorders = Dpi()->UnscaleRect(pPopupBar->GetMargins());
    DrawImageFrame(pDC, _T("RIBBONSYSTEMMENU"), rc, 0, 1, rcBorders, FALSE);
    // The button shown in the caption lies over the menu: its part inside
    // the popup is drawn again.
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pPopupBar);
    CQVTRibbonControlSystemButton* pButton =
        pPopup ? DYNAMIC_DOWNCAST(CQVTRibbonControlSystemButton, pPopup->GetControlPopup()) : nullptr;
    CQVTRibbonBar* pRibbonBar = pButton ? pButton->GetRibbonBar() : nullptr;
    if (pRibbonBar && pRibbonBar->GetSafeHwnd() && pButton->GetStyle() == qvtButtonAutomatic)
    {
        CRect rcButton = pButton->GetRect();
        pRibbonBar->ClientToScreen(&rcButton);
        pPopupBar->ScreenToClient(&rcButton);
        CRect rcOverlap;
        if (rcOverlap.IntersectRect(rcButton, rc))
        {
            const int nSaved = pDC->SaveDC();
            pDC->IntersectClipRect(rcOverlap);
            DrawRibbonFrameSystemButton(pDC, pButton, rcButton);
            pDC->RestoreDC(nSaved);
        }
    }
    const COLORREF clrRecent =
        GetImages()->GetIniColor(_T("Ribbon"), _T("RecentFileListBackground"), kResourceNoColor);
    CQVTControls* pControls = pPopupBar->GetControls();
    for (int i = 0; pControls && i < pControls->GetCount(); ++i)
    {
        CQVTControl* pControl = pControls->GetAt(i);
        if (pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemRecentFileList)) &&
            clrRecent != kResourceNoColor)
        {
            pDC->FillSolidRect(pControl->GetRect(), clrRecent);
            break;
        }
    }
}

CSize CQVTRibbonThemeResource::DrawSystemPopupBarButton(CDC* pDC, CQVTControl* pControl)
{
    if (IsImagesLoaded())
    {
        const int nFrame = pControl->GetSelected() ? 1 : 0;
        DrawImageFrame(pDC, _T("RIBBONSYSTEMMENUBUTTON"), pControl->GetRect(), nFrame, 2, CRect(2, 2, 2, 2),
                       TRUE);
    }
    return m_pPaintManager ? m_pPaintManager->DrawControlToolBarParent(pDC, pControl, TRUE) : CSize(0, 0);
}

BOOL CQVTRibbonThemeResource::DrawRibbonGroupControlButton(CDC* pDC, CQVTControl* pControl)
{
    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    if (!pGroup || !pGroup->IsControlsGrouping() || pControl->GetType() == qvtControlSplitButtonPopup)
        return FALSE;
    if (!IsImagesLoaded())
        return TRUE;
    const int nIndex = pGroup->IndexOf(pControl);
    CQVTControl* pNext = nullptr;
    for (int i = nIndex + 1; i < pGroup->GetCount() && !pNext; ++i)
        if (pGroup->GetAt(i)->IsVisible())
            pNext = pGroup->GetAt(i);
    const BOOL bFirst = pControl->GetBeginGroup() || nIndex == 0;
    const BOOL bLast = !pNext || pNext->GetBeginGroup();
    LPCTSTR lpszImage = bFirst && bLast ? _T("TOOLBARBUTTONSSPECIALSINGLE")
                        : bFirst        ? _T("TOOLBARBUTTONSSPECIALLEFT")
                        : bLast         ? _T("TOOLBARBUTTONSSPECIALRIGHT")
                                        : _T("TOOLBARBUTTONSSPECIALCENTER");
    const int nSelected = pControl->GetSelected();
    const int nPressed = pControl->GetPressed();
    const BOOL bChecked = pControl->GetChecked() != 0;
    int nFrame = 0;
    if (!pControl->GetEnabled())
        nFrame = (nSelected == 2 || nSelected == 3) ? 1 : 0;
    else if (pControl->GetPopuped())
        nFrame = 3;
    else if (bChecked && !nPressed)
        nFrame = nSelected ? 4 : 3;
    else if (nPressed == 2 || nPressed == 3)
        nFrame = 2;
    else if (nSelected && nPressed)
        nFrame = 2;
    else if (nSelected || nPressed)
        nFrame = 1;
    DrawImageFrame(pDC, lpszImage, pControl->GetRect(), nFrame, 5, CRect(2, 2, 2, 2), TRUE);
    return TRUE;
}
