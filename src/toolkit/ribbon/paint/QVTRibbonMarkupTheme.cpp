#include "toolkit/ribbon/paint/QVTRibbonMarkupTheme.h"

#include <algorithm>
#include <type_traits>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/resource/QVTResource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"

IMPLEMENT_DYNAMIC(CQVTRibbonMarkupTheme, CQVTRibbonPaintManager)
IMPLEMENT_DYNAMIC(CQVTRibbonThemeOffice2007System, CQVTRibbonMarkupTheme)

namespace {

const COLORREF kMarkupNoColor = 0xFFFFFFFF;

const LPCSTR kMarkupPartEntries[CQVTRibbonMarkupTheme::partCount] = {
    "RibbonFrameCaptionActive.xaml",
    "RibbonFrameCaptionInactive.xaml",
    "RibbonFrameSystemButtonNormal.xaml",
    "RibbonFrameSystemButtonPopuped.xaml",
    "RibbonFrameSystemButtonSelected.xaml",
    "RibbonGroupControlEntry.xaml",
    "RibbonGroupControlEntryLeft.xaml",
    "RibbonGroupControlEntryLeftRight.xaml",
    "RibbonGroupControlEntryRight.xaml",
    "RibbonGroupRect.xaml",
    "RibbonGroupRectBlue.xaml",
    "RibbonGroupRectCyan.xaml",
    "RibbonGroupRectGreen.xaml",
    "RibbonGroupRectOrange.xaml",
    "RibbonGroupRectPurple.xaml",
    "RibbonGroupRectRed.xaml",
    "RibbonGroupRectYellow.xaml",
    "RibbonScrollButtonLeft.xaml",
    "RibbonScrollButtonRight.xaml",
    "RibbonTabHighlighted.xaml",
    "RibbonTabSelected.xaml",
    "RibbonTabSelectedFocused.xaml",
    "RibbonTabSelectedHighlighted.xaml",
    "RibbonContextTabBlue.xaml",
    "RibbonContextTabCyan.xaml",
    "RibbonContextTabGreen.xaml",
    "RibbonContextTabOrange.xaml",
    "RibbonContextTabPurple.xaml",
    "RibbonContextTabRed.xaml",
    "RibbonContextTabYellow.xaml",
    "RibbonTabSelectedBlue.xaml",
    "RibbonTabSelectedFocusedBlue.xaml",
    "RibbonTabSelectedHighlightedBlue.xaml",
    "RibbonTabSelectedCyan.xaml",
    "RibbonTabSelectedFocusedCyan.xaml",
    "RibbonTabSelectedHighlightedCyan.xaml",
    "RibbonTabSelectedGreen.xaml",
    "RibbonTabSelectedFocusedGreen.xaml",
    "RibbonTabSelectedHighlightedGreen.xaml",
    "RibbonTabSelectedOrange.xaml",
    "RibbonTabSelectedFocusedOrange.xaml",
    "RibbonTabSelectedHighlightedOrange.xaml",
    "RibbonTabSelectedPurple.xaml",
    "RibbonTabSelectedFocusedPurple.xaml",
    "RibbonTabSelectedHighlightedPurple.xaml",
    "RibbonTabSelectedRed.xaml",
    "RibbonTabSelectedFocusedRed.xaml",
    "RibbonTabSelectedHighlightedRed.xaml",
    "RibbonTabSelectedYellow.xaml",
    "RibbonTabSelectedFocusedYellow.xaml",
    "RibbonTabSelectedHighlightedYellow.xaml",
    "RibbonFrameCaptionBackstageLeft.xaml",
    "RibbonFrameCaptionBackstageRight.xaml",
};

// The ribbon's colour codes (1 blue, 2 yellow, 3 green, 4 red, 5 purple,
// 6 cyan, 7 orange) as positions in the entries' colour order (blue, cyan,
// green, orange, purple, red, yellow).
int MarkupColorSlot(int nColor)
{
    static const int kSlots[8] = {-1, 0, 6, 2, 5, 4, 1, 3};
    return nColor >= 1 && nColor <= 7 ? kSlots[nColor] : -1;
}

CQVTDpiScaler* MarkupDpi()
{
    return QVTDpiScaler();
}

int MarkupH(int n)
{
    return MarkupDpi()->ScaleX(n);
}

int MarkupV(int n)
{
    return MarkupDpi()->ScaleY(n);
}

CString MarkupStripped(const CString& strText)
{
    CString str(strText);
    StripMnemonics(str);
    return str;
}

void MarkupLine(CDC* pDC, int x1, int y1, int x2, int y2)
{
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

// Whether a control of a grouped row starts its segment: the group's first
// control, a group start or a new row.
BOOL MarkupStartsSegment(CQVTRibbonGroup* pGroup, CQVTControl* pControl)
{
    return pGroup->IndexOf(pControl) == 0 || pControl->GetBeginGroup() || pControl->GetWrap();
}

}  // namespace

CQVTRibbonMarkupTheme::CQVTRibbonMarkupTheme(CQVTPaintManager* pPaintManager)
    : CQVTRibbonPaintManager(pPaintManager), m_clrGlyph(0), m_clrGroupCaption(0), m_clrQuickAccessGlyph(0),
      m_clrReserved(0), m_clrQuickAccessGlyphBelow(0), m_clrQuickAccessSelected(kMarkupNoColor),
      m_clrQuickAccessPressed(kMarkupNoColor), m_clrBackstageSystemButton(0),
      m_clrBackstageSystemButtonSelected(0), m_bLoaded(FALSE),
      m_pMarkupContext(MarkupCreateContext(nullptr, TRUE)), m_pSystemMenuNormal(nullptr),
      m_pSystemMenuSelected(nullptr), m_pSystemMenuPopuped(nullptr), m_pGroupNormal(nullptr),
      m_pGroupHighlighted(nullptr), m_pGroupPopupNormal(nullptr), m_pGroupPopupPopuped(nullptr),
      m_pGroupPopupSelected(nullptr), m_pGroupPopupToolBar(nullptr), m_pBackstageBackButton(nullptr)
{
}

CQVTRibbonMarkupTheme::~CQVTRibbonMarkupTheme()
{
    // The parts hold elements of the context: they go first.
    delete m_pSystemMenuNormal;
    delete m_pSystemMenuSelected;
    delete m_pSystemMenuPopuped;
    delete m_pGroupNormal;
    delete m_pGroupHighlighted;
    delete m_pGroupPopupNormal;
    delete m_pGroupPopupPopuped;
    delete m_pGroupPopupSelected;
    delete m_pGroupPopupToolBar;
    delete m_pBackstageBackButton;
    for (CQVTMarkupThemePart& part : m_parts)
        part.Clear();
    m_partSystemPopupBarEntry.Clear();
    m_partSystemPopupBarButtonNormal.Clear();
    m_partSystemPopupBarButtonSelected.Clear();
    MarkupReleaseContext(m_pMarkupContext);
}

void CQVTRibbonMarkupTheme::LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext)
{
    if (m_bLoaded)
        return;
    if (!pContext)
        pContext = m_pMarkupContext;
    for (int i = 0; i < partCount; ++i)
        m_parts[i].LoadPart(hArchive, kMarkupPartEntries[i], pContext);
    m_partSystemPopupBarEntry.LoadPart(hArchive, "SystemPopupBarEntry.xaml", pContext);
    m_partSystemPopupBarButtonNormal.LoadPart(hArchive, "SystemPopupBarButtonNormal.xaml", pContext);
    m_partSystemPopupBarButtonSelected.LoadPart(hArchive, "SystemPopupBarButtonSelected.xaml", pContext);

    auto load = [hArchive, pContext](auto*& pPart, LPCSTR lpszEntry) {
        using Part = std::remove_reference_t<decltype(*pPart)>;
        pPart = new Part;
        pPart->LoadPart(hArchive, lpszEntry, pContext);
    };
    load(m_pSystemMenuNormal, "RibbonFrameSystemMenuNormal.xaml");
    load(m_pSystemMenuSelected, "RibbonFrameSystemMenuSelected.xaml");
    load(m_pSystemMenuPopuped, "RibbonFrameSystemMenuPopuped.xaml");
    load(m_pGroupNormal, "RibbonGroupNormal.xaml");
    load(m_pGroupHighlighted, "RibbonGroupHighlighted.xaml");
    load(m_pGroupPopupNormal, "RibbonGroupPopupNormal.xaml");
    load(m_pGroupPopupPopuped, "RibbonGroupPopupPopuped.xaml");
    load(m_pGroupPopupSelected, "RibbonGroupPopupSelected.xaml");
    load(m_pGroupPopupToolBar, "RibbonGroupPopupToolBar.xaml");
    load(m_pBackstageBackButton, "RibbonBackstageBackButton.xaml");
    m_bLoaded = TRUE;
}

void CQVTRibbonMarkupTheme::DrawPart(CDC* pDC, CRect rc, int nPart)
{
    if (CQVTMarkupThemePart* pPart = GetPart(nPart))
        pPart->Render(pDC, rc);
}

void CQVTRibbonMarkupTheme::RenderMarkupText(CDC* pDC, CRect rc, LPCWSTR lpszMarkup)
{
    if (!m_pMarkupContext || !lpszMarkup)
        return;
    CQVTMarkupUIElement* pElement = MarkupParseText(m_pMarkupContext, lpszMarkup);
    if (!pElement)
        return;
    MarkupRenderElement(pElement, pDC->GetSafeHdc(), rc);
    MarkupReleaseElement(pElement);
}

int AFX_CDECL CQVTRibbonMarkupTheme::ContextTabPart(int nColor)
{
    const int nSlot = MarkupColorSlot(nColor);
    return nSlot < 0 ? -1 : partContextTab + nSlot;
}

int AFX_CDECL CQVTRibbonMarkupTheme::SelectedTabPart(int nColor, int nState)
{
    nState = std::min(2, std::max(0, nState));
    const int nSlot = MarkupColorSlot(nColor);
    return nSlot < 0 ? partTabSelected + nState : partTabSelectedColored + 3 * nSlot + nState;
}

// Metrics.

void CQVTRibbonMarkupTheme::RefreshMetrics()
{
    CQVTRibbonPaintManager::RefreshMetrics();
    m_clrRibbonFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrMinimizedFrameEdgeShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_clrMinimizedFrameEdgeHighLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrGroupCaption = ::GetSysColor(COLOR_BTNTEXT);
    if (CQVTTabPaintManagerColorSet* pColorSet =
            m_pTabPaintManager ? m_pTabPaintManager->GetColorSet() : nullptr)
    {
        pColorSet->m_clrText.SetStandardValue(m_clrGroupCaption);
        pColorSet->m_clrTextHighlighted.SetStandardValue(m_clrGroupCaption);
        pColorSet->m_clrTextSelected.SetStandardValue(m_clrGroupCaption);
    }
    m_clrQuickAccessGlyph = ::GetSysColor(COLOR_BTNTEXT);
    m_clrQuickAccessGlyphBelow = ::GetSysColor(COLOR_BTNTEXT);
    m_clrRecentFileListEdgeShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_clrRecentFileListEdgeHighLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_nGroupSpacing = MarkupH(2);
    m_bFlatFrame = FALSE;
}

CSize CQVTRibbonMarkupTheme::GetOptionButtonSize() const
{
    return CSize(MarkupH(8), MarkupV(8));
}

// Groups.

void CQVTRibbonMarkupTheme::FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups)
{
    DrawPart(pDC, rcGroups, partGroupRect);
}

void CQVTRibbonMarkupTheme::DrawGroup(CDC* pDC, CQVTRibbonGroup* pGroup)
{
    if (pGroup->IsReduced())
        return;
    CQVTRibbonMarkupThemePartGroup* pPart = pGroup->IsHighlighted() ? m_pGroupHighlighted : m_pGroupNormal;
    if (!pPart || !pPart->GetElement())
        return;
    LOGFONT lf = {};
    CFont* pFont = GetGroupCaptionFont();
    if (pFont && pFont->GetSafeHandle() && pFont->GetLogFont(&lf))
    {
        pPart->SetFontFamily(lf.lfFaceName);
        pPart->SetFontSize(std::abs(lf.lfHeight));
    }
    pPart->SetText(MarkupStripped(pGroup->GetCaption()));
    pPart->SetForeground(m_clrGroupCaption);
    pPart->Render(pDC, pGroup->GetRect());
}

void CQVTRibbonMarkupTheme::FillGroupPopupBackground(CDC* pDC, CQVTRibbonGroup* pGroup)
{
    pDC->SetBkMode(TRANSPARENT);
    pDC->FillSolidRect(pGroup->GetRect(), m_clrRibbonFace);
}

void CQVTRibbonMarkupTheme::FillGroupPopupToolBar(CDC* pDC, CQVTRibbonGroup* pGroup)
{
    CQVTRibbonPaintManager* pOwn = this;
    pOwn->FillGroupPopupBackground(pDC, pGroup);
    const CRect rc = pGroup->GetRect();
    if (m_pGroupPopupToolBar)
        m_pGroupPopupToolBar->Render(pDC, rc);
    pGroup->Draw(pDC, rc);
}

CSize CQVTRibbonMarkupTheme::DrawControlGroupPopup(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    CQVTRibbonGroupControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTRibbonGroupControlPopup, pControl);
    CQVTRibbonGroup* pGroup = pPopup ? pPopup->m_pGroup : nullptr;
    if (!pGroup)
        return m_pPaintManager ? m_pPaintManager->DrawControlToolBarParent(pDC, pControl, bDraw)
                               : CSize(0, 0);

    const int nControlHeight = m_pPaintManager ? m_pPaintManager->GetControlHeight() : 22;
    CSize sz(std::max(MarkupH(42), 2 * nControlHeight - MarkupH(3)), 3 * GetRowHeight());
    const CRect rc = pControl->GetRect();
    CFont* pFont = m_pPaintManager ? m_pPaintManager->GetControlFont(pControl) : nullptr;
    CQVTFontDC font(pDC, pFont);
    if (!bDraw)
    {
        if (m_pPaintManager)
        {
            const CSize szText =
                m_pPaintManager->DrawControlTextBelowIcon(pDC, pControl, rc, FALSE, FALSE, TRUE);
            sz.cx = std::max(static_cast<int>(sz.cx), static_cast<int>(szText.cx + MarkupH(5)));
        }
        return sz;
    }
    CQVTRibbonMarkupThemePartGroup* pPart = pControl->GetPopuped()    ? m_pGroupPopupPopuped
                                            : pControl->GetSelected() ? m_pGroupPopupSelected
                                                                      : m_pGroupPopupNormal;
    if (pPart)
        pPart->Render(pDC, rc);

    CQVTImageManager* pImageManager = pControl->GetImageManager();
    const int nIconId = pGroup->GetIconId() > 0 ? pGroup->GetIconId() : pControl->GetIconId();
    CQVTImageManagerIcon* pIcon =
        pImageManager && nIconId > 0 ? pImageManager->GetImage(static_cast<UINT>(nIconId), 32) : nullptr;
    if (pIcon && m_pPaintManager)
    {
        // A group without a large image shows its small one at its own size,
        // lower down, rather than blown up.
        CSize szIcon(MarkupH(32), MarkupV(32));
        if (!pIcon->IsVectorIcon())
            szIcon = CSize(MarkupH(pIcon->GetExtent().cx), MarkupV(pIcon->GetExtent().cy));
        const int y = rc.top + (szIcon.cx < MarkupH(20) ? MarkupV(9) : MarkupV(4));
        m_pPaintManager->DrawImage(pDC, CPoint(rc.CenterPoint().x - szIcon.cx / 2, y), szIcon, pIcon,
                                   pControl->GetSelected(), pControl->GetPressed(), pControl->GetEnabled(),
                                   FALSE, pControl->GetPopuped(), 0);
    }
    if (m_pPaintManager)
    {
        CRect rcText(rc);
        rcText.bottom -= m_nGroupCaptionHeight + MarkupV(2);
        rcText.top = rcText.bottom - 2 * MarkupV(15);
        pDC->SetTextColor(m_pPaintManager->GetControlTextColor(pControl));
        m_pPaintManager->DrawControlTextBelowIcon(pDC, pControl, rcText, TRUE, FALSE, TRUE);
    }
    return sz;
}

CSize CQVTRibbonMarkupTheme::DrawControlGroupOption(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize szOption(MarkupH(15), MarkupV(14));
    if (!bDraw)
        return szOption;
    const CRect rc = pControl->GetRect();
    if (m_pPaintManager)
        m_pPaintManager->DrawRectangle(pDC, rc, pControl->GetSelected(), pControl->GetPressed(), TRUE, FALSE,
                                       FALSE, qvtBarTypeNormal, qvtBarTop);
    const int x = rc.left + (rc.Width() - MarkupH(6)) / 2;
    const int y = rc.top + (rc.Height() - MarkupV(8)) / 2;
    {
        CPen pen(PS_SOLID, 1, m_clrGlyph);
        CBrush brush(m_clrGlyph);
        CPen* pOldPen = pDC->SelectObject(&pen);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        pDC->MoveTo(x, y + MarkupV(5));
        pDC->LineTo(x, y);
        pDC->LineTo(x + MarkupH(6), y);
        MarkupLine(pDC, x + MarkupH(3), y + MarkupV(3), x + MarkupH(6), y + MarkupV(6));
        const POINT triangle[3] = {{x + MarkupH(3), y + MarkupV(6)},
                                   {x + MarkupH(6), y + MarkupV(3)},
                                   {x + MarkupH(6), y + MarkupV(6)}};
        pDC->Polygon(triangle, 3);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }
    CPen penWhite(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* pOldPen = pDC->SelectObject(&penWhite);
    pDC->MoveTo(x + MarkupH(1), y + MarkupV(5));
    pDC->LineTo(x + MarkupH(1), y + MarkupV(1));
    pDC->LineTo(x + MarkupH(6), y + MarkupV(1));
    pDC->MoveTo(x + MarkupH(4), y + MarkupV(7));
    pDC->LineTo(x + MarkupH(7), y + MarkupV(7));
    pDC->LineTo(x + MarkupH(7), y + MarkupV(2));
    pDC->SetPixel(x + MarkupH(4), y + MarkupV(3), RGB(255, 255, 255));
    pDC->SelectObject(pOldPen);
    return szOption;
}

BOOL CQVTRibbonMarkupTheme::DrawRibbonGroupControlButton(CDC* pDC, CQVTControl* pControl)
{
    CQVTRibbonGroup* pGroup = pControl->GetRibbonGroup();
    if (!pGroup || !pGroup->IsControlsGrouping() || pControl->GetSelected())
        return FALSE;
    const int nIndex = pGroup->IndexOf(pControl);
    if (nIndex < 0)
        return FALSE;
    CQVTControl* pNext = nullptr;
    for (int i = nIndex + 1; i < pGroup->GetCount() && !pNext; ++i)
    {
        CQVTControl* pCandidate = pGroup->GetAt(i);
        if (pCandidate && pCandidate->IsVisible() && pCandidate->GetEnabled())
            pNext = pCandidate;
    }
    const BOOL bStarts = MarkupStartsSegment(pGroup, pControl);
    const BOOL bNextStarts = !pNext || MarkupStartsSegment(pGroup, pNext);
    const int nPart = bStarts && bNextStarts ? partControlEntryLeftRight
                      : bStarts              ? partControlEntryLeft
                      : bNextStarts          ? partControlEntryRight
                                             : partControlEntry;
    DrawPart(pDC, pControl->GetRect(), nPart);
    return TRUE;
}

// Tabs and context headers.

void CQVTRibbonMarkupTheme::DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab)
{
    CQVTRibbonControlTab* pControlTab = dynamic_cast<CQVTRibbonControlTab*>(pTab->GetTabManager());
    CQVTRibbonBar* pRibbonBar = pControlTab ? pControlTab->GetRibbonBar() : nullptr;
    CRect rc = pTab->GetRect();
    CQVTTabPaintManager::DeflateRectByPosition(rc, CRect(0, MarkupV(1), 0, -MarkupV(1)), qvtTabPositionTop);
    const int nColor = pTab->GetContextColor();
    const BOOL bHot = pTab->IsHighlighted();
    if (!pTab->IsSelected())
    {
        if (bHot)
            DrawPart(pDC, rc, partTabHighlighted);
        return;
    }
    if (pRibbonBar && pRibbonBar->IsRibbonMinimized())
    {
        if (pControlTab->GetPopuped())
            DrawPart(pDC, rc, SelectedTabPart(nColor, 0));
        else if (bHot || (pControlTab->GetSelected() && pControlTab->IsFocused()))
            DrawPart(pDC, rc, partTabHighlighted);
        return;
    }
    const int nState = pControlTab && pControlTab->IsFocused() ? 1 : (bHot ? 2 : 0);
    DrawPart(pDC, rc, SelectedTabPart(nColor, nState));
}

void CQVTRibbonMarkupTheme::DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                                               const CQVTRibbonTabContextHeaders& headers)
{
    CQVTTabPaintManagerColorSet* pColorSet = m_pTabPaintManager ? m_pTabPaintManager->GetColorSet() : nullptr;
    const COLORREF clrText =
        pColorSet ? static_cast<COLORREF>(pColorSet->m_clrText) : ::GetSysColor(COLOR_BTNTEXT);
    CQVTFontDC font(pDC, m_pTabPaintManager ? &m_pTabPaintManager->GetNormalFont() : nullptr, clrText);
    pDC->SetBkMode(TRANSPARENT);
    for (CQVTRibbonTabContextHeader* pHeader : headers)
    {
        const int nPart = ContextTabPart(pHeader->m_nColor);
        if (nPart < 0)
            continue;
        DrawPart(pDC, pHeader->m_rcRect, nPart);
        CRect rcText(pHeader->m_rcRect);
        if (pRibbonBar->GetFrameHook())
            rcText.top += pRibbonBar->GetFrameTopBorder() - MarkupV(2);
        if (IsRectOnGlassCaption(pRibbonBar, rcText))
        {
            rcText.DeflateRect(MarkupH(5), 0);
            DrawCaptionTextOnGlass(pDC, rcText, pHeader->m_strCaption, pRibbonBar->GetSite(),
                                   pRibbonBar->IsFrameActive());
        }
        else
            pDC->DrawText(pHeader->m_strCaption, rcText,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

// The bar and its caption.

void CQVTRibbonMarkupTheme::FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar)
{
    CRect rc;
    pRibbonBar->GetClientRect(&rc);
    if (pRibbonBar->GetFrameHook())
    {
        if (pRibbonBar->IsFrameThemeEnabled())
            rc.top += pRibbonBar->GetFrameTopBorder();
        rc.top += GetRibbonCaptionHeight(pRibbonBar);
    }
    pDC->FillSolidRect(rc, m_clrRibbonFace);
    if (pRibbonBar->IsQuickAccessBelowRibbon() && pRibbonBar->IsQuickAccessVisible())
    {
        const CRect rcQuickAccess = pRibbonBar->GetQuickAccessRect();
        const COLORREF clrFrame = ::GetSysColor(COLOR_BTNSHADOW);
        pDC->Draw3dRect(rcQuickAccess, clrFrame, clrFrame);
    }
    if (pRibbonBar->GetGroupsHeightIfVisible() == 0 && !pRibbonBar->IsQuickAccessBelowRibbon())
    {
        CRect rcClient;
        pRibbonBar->GetClientRect(&rcClient);
        pDC->FillSolidRect(rcClient.left, rcClient.bottom - MarkupV(2), rcClient.Width(), 1,
                           m_clrMinimizedFrameEdgeShadow);
        pDC->FillSolidRect(rcClient.left, rcClient.bottom - MarkupV(1), rcClient.Width(), 1,
                           m_clrMinimizedFrameEdgeHighLight);
    }
}

void CQVTRibbonMarkupTheme::DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    if (!pRibbonBar->IsDwmEnabled())
    {
        CRect rc = pRibbonBar->GetCaptionRect();
        rc.top -= 1;
        DrawPart(pDC, rc, bActive ? partCaptionActive : partCaptionInactive);
    }
    DrawRibbonFrameQuickAccess(pDC, pRibbonBar);
    if (pRibbonBar->GetContextHeaders().GetCount() > 0)
        DrawContextHeaders(pDC, pRibbonBar, pRibbonBar->GetContextHeaders().GetHeaders());
}

void CQVTRibbonMarkupTheme::DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    DrawRibbonFrameCaptionFace(pDC, pRibbonBar, bActive);
    DrawRibbonFrameCaptionContent(pDC, pRibbonBar, bActive);
}

void CQVTRibbonMarkupTheme::DrawRibbonFrameCaptionFace(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    if (!pRibbonBar->IsDwmEnabled())
        DrawPart(pDC, pRibbonBar->GetCaptionRect(), bActive ? partCaptionActive : partCaptionInactive);
}

void CQVTRibbonMarkupTheme::DrawRibbonFrameCaptionContent(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    const CRect rcCaption = pRibbonBar->GetCaptionRect();
    CWnd* pSite = pRibbonBar->GetSite();
    CQVTControl* pSystemButton = pRibbonBar->GetSystemButton();
    if (!pSystemButton || pSystemButton->GetStyle() == qvtButtonCaption)
    {
        HICON hIcon = nullptr;
        if (pSite && pSite->GetSafeHwnd() && (pSite->GetStyle() & WS_SYSMENU) &&
            !(pSite->GetExStyle() & WS_EX_TOOLWINDOW))
        {
            hIcon = reinterpret_cast<HICON>(pSite->SendMessage(WM_GETICON, ICON_SMALL, 0));
            if (!hIcon)
                hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(pSite->GetSafeHwnd(), GCLP_HICONSM));
        }
        if (hIcon)
        {
            const CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
            const int x = ::GetSystemMetrics(SM_CXFRAME) + MarkupH(1);
            const int y = rcCaption.top + (rcCaption.Height() - szIcon.cy) / 2;
            DrawFrameIcon(pDC, pRibbonBar, CRect(CPoint(x, y), szIcon), hIcon);
        }
    }
    DrawRibbonFrameQuickAccess(pDC, pRibbonBar);
    if (pRibbonBar->GetContextHeaders().GetCount() > 0)
        DrawContextHeaders(pDC, pRibbonBar, pRibbonBar->GetContextHeaders().GetHeaders());

    DrawFrameCaptionTitle(pDC, pRibbonBar, bActive);
}

void CQVTRibbonMarkupTheme::DrawFrameCaptionTitle(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive)
{
    CWnd* pSite = pRibbonBar->GetSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    CString strTitle;
    pSite->GetWindowText(strTitle);
    CRect rcText = pRibbonBar->GetCaptionTextRect();
    if (pSite->GetStyle() & WS_MAXIMIZE)
        rcText.OffsetRect(0, pRibbonBar->GetFrameTopBorder() / 2);
    CQVTFontDC font(pDC, m_pPaintManager ? m_pPaintManager->GetSmallCaptionFont() : nullptr,
                    ::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    pDC->SetBkMode(TRANSPARENT);
    if (IsRectOnGlassCaption(pRibbonBar, rcText))
        DrawCaptionTextOnGlass(pDC, rcText, strTitle, pSite, bActive);
    else
        pDC->DrawText(strTitle, rcText,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// Buttons.

void CQVTRibbonMarkupTheme::DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    CQVTRibbonBar* pRibbonBar = DYNAMIC_DOWNCAST(CQVTRibbonBar, pBar);
    const BOOL bBelow = !pRibbonBar || pRibbonBar->IsQuickAccessBelowRibbon();
    const CRect rc = pControl->GetRect();
    if (bBelow)
    {
        if (m_pPaintManager)
            m_pPaintManager->DrawRectangle(pDC, rc, pControl->GetSelected(), pControl->GetPressed(),
                                           pControl->GetEnabled(), pControl->GetChecked(),
                                           pControl->GetPopuped(), qvtBarTypeNormal, qvtBarTop);
    }
    else if (pControl->GetEnabled())
    {
        const COLORREF clrFill = pControl->GetPressed() || pControl->GetPopuped() ? m_clrQuickAccessPressed
                                 : pControl->GetSelected()                        ? m_clrQuickAccessSelected
                                                                                  : kMarkupNoColor;
        if (clrFill != kMarkupNoColor)
            pDC->FillSolidRect(rc, clrFill);
    }
    CRect rcGlyph(rc);
    rcGlyph.DeflateRect(1, 1);
    QVTGlyphFont()->DrawGlyph(pDC, 104, rcGlyph, bBelow ? m_clrQuickAccessGlyphBelow : m_clrQuickAccessGlyph);
}

void CQVTRibbonMarkupTheme::DrawRibbonQuickAccessMoreButton(CDC* pDC, CQVTControl* pControl)
{
    CRect rc = pControl->GetRect();
    if (m_pPaintManager)
        m_pPaintManager->DrawRectangle(pDC, rc, pControl->GetSelected(), pControl->GetPressed(),
                                       pControl->GetEnabled(), pControl->GetChecked(), pControl->GetPopuped(),
                                       qvtBarTypeNormal, qvtBarTop);
    QVTGlyphFont()->DrawGlyph(pDC, 83, rc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    rc.DeflateRect(2, 2);
    QVTGlyphFont()->DrawGlyph(pDC, 83, rc, ::GetSysColor(COLOR_BTNTEXT));
}

void CQVTRibbonMarkupTheme::DrawRibbonScrollButton(CDC* pDC, CQVTControl* pControl, BOOL bScrollLeft)
{
    const CRect rc = pControl->GetRect();
    DrawPart(pDC, rc, bScrollLeft ? partScrollLeft : partScrollRight);
    // A right-to-left DC mirrors the button, not the glyph inside it.
    BOOL bLeftGlyph = bScrollLeft;
    if (pDC->GetLayout() & LAYOUT_RTL)
        bLeftGlyph = !bLeftGlyph;
    QVTGlyphFont()->DrawGlyph(pDC, bLeftGlyph ? 74 : 75, rc, ::GetSysColor(COLOR_BTNTEXT));
}

void CQVTRibbonMarkupTheme::DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    CQVTRibbonControlSystemButton* pButton = DYNAMIC_DOWNCAST(CQVTRibbonControlSystemButton, pControl);
    CQVTRibbonBar* pRibbonBar = pButton ? pButton->GetRibbonBar() : nullptr;
    // Off the themed frame the button is an ordinary tool-bar button.
    if (!pRibbonBar || !pRibbonBar->IsFrameThemeEnabled())
    {
        if (m_pPaintManager)
            m_pPaintManager->DrawControlToolBarParent(pDC, pControl, TRUE);
        return;
    }
    const int nState = pControl->GetPopuped() ? qvtImagePressed : pControl->GetSelected() ? qvtImageHot : 0;
    if (rc.top < 0)
        rc.OffsetRect(0, -rc.top);

    if (pControl->GetStyle() != qvtButtonCaption)
    {
        MarkupDrawSystemButtonImage(pDC, pButton, rc, nState);
        return;
    }
    if (pRibbonBar->IsBackstageViewVisible())
    {
        pDC->FillSolidRect(rc, pControl->GetSelected() ? m_clrBackstageSystemButtonSelected
                                                       : m_clrBackstageSystemButton);
        if (m_pBackstageBackButton)
        {
            const int nSide = MarkupV(35);
            const int x = rc.left + 26 - 3;
            m_pBackstageBackButton->Render(
                pDC, CRect(x, rc.top + MarkupV(7), x + nSide, rc.top + MarkupV(7) + nSide));
        }
        return;
    }
    CQVTRibbonMarkupThemePartSystemMenu* pPart = pControl->GetPopuped()    ? m_pSystemMenuPopuped
                                                 : pControl->GetSelected() ? m_pSystemMenuSelected
                                                                           : m_pSystemMenuNormal;
    if (!pPart || !pPart->GetElement())
        return;
    pPart->SetText(MarkupStripped(pControl->GetCaption()));
    pPart->Render(pDC, rc);
}

void CQVTRibbonMarkupTheme::MarkupDrawSystemButtonImage(CDC* pDC, CQVTRibbonControlSystemButton* pButton,
                                                        CRect rc, int nState)
{
    // The vector images' size: the system's large icon.
    const int nVector = ::GetSystemMetrics(SM_CXICON);
    CQVTImageManager* pImageManager = pButton->GetImageManager();
    const int nIconId = pButton->GetIconId();
    CQVTImageManagerIcon* pIcon =
        pImageManager && nIconId > 0 ? pImageManager->GetImage(static_cast<UINT>(nIconId), 32) : nullptr;
    if (pIcon)
    {
        CSize sz;
        if (pIcon->IsVectorIcon())
        {
            const int n = static_cast<int>(nVector * 1.2 + 0.5);
            sz = CSize(n, n);
        }
        else
        {
            sz = pIcon->GetExtent();
            CQVTCommandBars* pCommandBars = pButton->GetCommandBars();
            if (pCommandBars && pCommandBars->GetCommandBarsOptions()->IsDpiScalingEnabled())
                sz = CSize(MarkupH(sz.cx), MarkupV(sz.cy));
        }
        const CPoint pt(rc.left + (rc.Width() - sz.cx) / 2, rc.top + (rc.Height() - sz.cy) / 2);
        pIcon->DrawInStateSized(pDC, pt, sz, nState);
        return;
    }
    CWnd* pSite = pButton->GetParent() ? pButton->GetParent()->GetSite() : nullptr;
    HICON hIcon = pSite && pSite->GetSafeHwnd()
                      ? CQVTFramePaintManager::GetFrameLargeIcon(pSite->GetSafeHwnd())
                      : nullptr;
    if (!hIcon)
        return;
    ::DrawIconEx(pDC->GetSafeHdc(), rc.left + (rc.Width() - nVector) / 2,
                 rc.top + (rc.Height() - nVector) / 2, hIcon, nVector, nVector, 0, nullptr, DI_NORMAL);
}

void CQVTRibbonMarkupTheme::FillMorePopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar)
{
    CRect rc;
    pPopupBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, m_clrRibbonFace);
    const COLORREF clrFrame =
        m_pPaintManager ? m_pPaintManager->GetColor(16) : ::GetSysColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

void CQVTRibbonMarkupTheme::FillSystemPopupBar(CDC* pDC, CQVTCommandBar* pPopupBar)
{
    CRect rc;
    pPopupBar->GetClientRect(&rc);
    m_partSystemPopupBarEntry.Render(pDC, rc);

    // The button in the caption lies over the menu: its part inside the
    // popup is drawn again.
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pPopupBar);
    CQVTRibbonControlSystemButton* pButton =
        pPopup ? DYNAMIC_DOWNCAST(CQVTRibbonControlSystemButton, pPopup->GetControlPopup()) : nullptr;
    CQVTRibbonBar* pRibbonBar = pButton ? pButton->GetRibbonBar() : nullptr;
    if (pRibbonBar && pRibbonBar->GetSafeHwnd() && pPopupBar->GetSafeHwnd() &&
        pRibbonBar->IsFrameThemeEnabled())
    {
        CRect rcButton = pButton->GetRect();
        pRibbonBar->ClientToScreen(&rcButton);
        pPopupBar->ScreenToClient(&rcButton);
        CRect rcOverlap;
        if (rcOverlap.IntersectRect(rcButton, rc))
        {
            const int nSaved = pDC->SaveDC();
            pDC->IntersectClipRect(rcOverlap);
            // The button starts above the menu: the origin moves up to its
            // top, so that it is drawn in its place rather than moved down.
            pDC->OffsetViewportOrg(0, rcButton.top);
            DrawRibbonFrameSystemButton(pDC, pButton, rcButton - CPoint(0, rcButton.top));
            pDC->RestoreDC(nSaved);
        }
    }

    // The first column after the commands (the recent files) lies on the
    // ribbon's face.
    CQVTControls* pControls = pPopupBar->GetControls();
    for (int i = 0; pControls && i < pControls->GetCount(); ++i)
    {
        CQVTControl* pControl = pControls->GetAt(i);
        if (pControl->IsVisible() && pControl->GetWrap() && pControl->IsColumnFillAllowed(i))
        {
            pDC->FillSolidRect(pControl->GetRowRect(), m_clrRibbonFace);
            break;
        }
    }
}

CSize CQVTRibbonMarkupTheme::DrawSystemPopupBarButton(CDC* pDC, CQVTControl* pControl)
{
    CQVTMarkupThemePart& part =
        pControl->GetSelected() ? m_partSystemPopupBarButtonSelected : m_partSystemPopupBarButtonNormal;
    part.Render(pDC, pControl->GetRect());
    return m_pPaintManager ? m_pPaintManager->DrawControlToolBarParent(pDC, pControl, TRUE) : CSize(0, 0);
}

// The system-colour look.

CQVTRibbonThemeOffice2007System::CQVTRibbonThemeOffice2007System(CQVTPaintManager* pPaintManager)
    : CQVTRibbonMarkupTheme(pPaintManager)
{
    HMODULE hModule = nullptr;
    HRSRC hResource =
        QVTResourceManager()->FindResource(&hModule, _T("QVT_IDR_OFFICE2007SYSTEM_STYLE"), _T("STYLE"));
    DWORD nSize = 0;
    const void* pData = CQVTResource::LockBounded(hModule, hResource, &nSize);
    HQVTZIPARCHIVE hArchive = pData ? QVTZipOpenArchive(pData, nSize) : nullptr;
    if (hArchive)
    {
        LoadParts(hArchive, nullptr);
        QVTZipCloseArchive(hArchive);
    }
    // The look's own text face, on the systems that carry it.
    if (m_pPaintManager && QVTOSVersion()->IsWinVistaOrGreater())
    {
        m_pPaintManager->m_strOfficeFont = _T("Segoe UI");
        m_pPaintManager->m_bUseOfficeFont = TRUE;
        m_pPaintManager->SetFontHeight(MarkupV(12));
    }
}

void CQVTRibbonThemeOffice2007System::RefreshMetrics()
{
    CQVTRibbonMarkupTheme::RefreshMetrics();
    if (m_pPaintManager)
    {
        m_pPaintManager->m_bUseFadedIcons = FALSE;
        m_pPaintManager->m_bIconsWithShadow = FALSE;
        m_pPaintManager->m_bUseDisabledIcons = TRUE;
    }
}

int CQVTRibbonThemeOffice2007System::GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const
{
    const int nCaption = ::GetSystemMetrics(SM_CYCAPTION);
    if (pRibbonBar && pRibbonBar->IsQuickAccessVisible() && !pRibbonBar->IsQuickAccessBelowRibbon())
        return nCaption;
    return nCaption - MarkupV(4);
}

void CQVTRibbonThemeOffice2007System::DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl)
{
    CRect rc = pControl->GetRect();
    if (m_pPaintManager)
        m_pPaintManager->DrawRectangle(pDC, rc, pControl->GetSelected(), pControl->GetPressed(),
                                       pControl->GetEnabled(), pControl->GetChecked(), pControl->GetPopuped(),
                                       qvtBarTypeNormal, qvtBarTop);
    rc.DeflateRect(1, 1);
    CRect rcShadow(rc);
    rcShadow.OffsetRect(0, MarkupV(1));
    QVTGlyphFont()->DrawGlyph(pDC, 104, rcShadow, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    QVTGlyphFont()->DrawGlyph(pDC, 104, rc, ::GetSysColor(COLOR_BTNTEXT));
}

BOOL AFX_CDECL CQVTRibbonThemeOffice2007System::HasQuickAccessBand(CQVTRibbonBar* pRibbonBar)
{
    if (!pRibbonBar || !pRibbonBar->IsQuickAccessVisible() || pRibbonBar->IsQuickAccessBelowRibbon())
        return FALSE;
    CQVTRibbonQuickAccessControls* pControls = pRibbonBar->GetQuickAccessControls();
    for (int i = 0; pControls && i < pControls->GetCount(); ++i)
    {
        CQVTControl* pControl = pControls->GetAt(i);
        if (pControl && pControl->IsVisible())
            return TRUE;
    }
    return FALSE;
}

void CQVTRibbonThemeOffice2007System::DrawRibbonFrameQuickAccess(CDC* pDC, CQVTRibbonBar* pRibbonBar)
{
    if (!HasQuickAccessBand(pRibbonBar))
        return;
    CRect rc = pRibbonBar->GetQuickAccessRect();
    rc.left -= MarkupH(15);
    const int nLift = pRibbonBar->IsDwmEnabled()
                          ? pRibbonBar->GetFrameTopBorder() - ::GetSystemMetrics(SM_CYFRAME)
                          : -::GetSystemMetrics(SM_CYFRAME);
    rc.top += nLift / 2;
    rc.bottom -= MarkupV(1);
    const int w = rc.Width();
    const int h = rc.Height();
    if (w <= 0 || h <= 0)
        return;
    CString strMarkup;
    strMarkup.Format(_T("<Path Data='M0 0 S %i %i %i %i L %i %i S %i %i %i %i l 0 0 S  %i %i %i %i Z' ")
                     _T("Stroke='#22FFFFFF' StrokeThickness='2' Fill='#44FFFFFF' ></Path>"),
                     h / 2, 0, h / 4 * 3, h, w - h / 2, h, w, h, w, h / 2, w, 0, w - h / 2, 0);
    RenderMarkupText(pDC, rc, strMarkup);
}
