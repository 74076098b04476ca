// The ribbon drawn from small markup documents, one per state of each
// element, read from a "STYLE" archive; glyphs, text and icons are drawn
// with GDI, the glyph font and the owner paint manager. A missing or broken
// entry leaves its part empty, and an empty part draws nothing.
#pragma once

#include "toolkit/foundation/stream/QVTZipMemFile.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/themes/markup/QVTMarkupThemePart.h"

class CQVTMarkupContext;
class CQVTRibbonControlSystemButton;

// The system button's caption part: the text of its "Caption" element.
class CQVTRibbonMarkupThemePartSystemMenu : public CQVTMarkupThemePart
{
public:
    void SetText(LPCTSTR lpszText) { SetCaption(lpszText); }
};

// A group part: its "CaptionText" element takes the group's caption.
class CQVTRibbonMarkupThemePartGroup : public CQVTMarkupThemePart
{
public:
    void SetText(LPCTSTR lpszText) { SetCaptionText(lpszText); }
    void SetFontFamily(LPCTSTR lpszFamily) { SetCaptionTextFontFamily(lpszFamily); }
    void SetFontSize(int nSize) { SetCaptionTextFontSize(nSize); }
    void SetForeground(COLORREF clr) { SetCaptionTextForeground(clr); }
};

class CQVTRibbonMarkupTheme : public CQVTRibbonPaintManager
{
    DECLARE_DYNAMIC(CQVTRibbonMarkupTheme)

public:
    // The indexed parts, in the order of their entries.
    enum Part
    {
        partCaptionActive = 0,
        partCaptionInactive = 1,
        partSystemButtonNormal = 2,
        partSystemButtonPopuped = 3,
        partSystemButtonSelected = 4,
        partControlEntry = 5,
        partControlEntryLeft = 6,
        partControlEntryLeftRight = 7,
        partControlEntryRight = 8,
        partGroupRect = 9,  // then one per colour, 10..16
        partScrollLeft = 17,
        partScrollRight = 18,
        partTabHighlighted = 19,
        partTabSelected = 20,
        partTabSelectedFocused = 21,
        partTabSelectedHighlighted = 22,
        partContextTab = 23,          // then one per colour, 23..29
        partTabSelectedColored = 30,  // three per colour, 30..50
        partCaptionBackstageLeft = 51,
        partCaptionBackstageRight = 52,
        partCount = 53
    };

    explicit CQVTRibbonMarkupTheme(CQVTPaintManager* pPaintManager);
    ~CQVTRibbonMarkupTheme() override;

    void RefreshMetrics() override;
    void DrawGroup(CDC* pDC, CQVTRibbonGroup* pGroup) override;
    void FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups) override;
    CSize DrawControlGroupPopup(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar) override;
    CSize DrawControlGroupOption(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                            const CQVTRibbonTabContextHeaders& headers) override;
    void DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab) override;
    void DrawContextTabBackground(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc) override {}
    void FillGroupPopupBackground(CDC* pDC, CQVTRibbonGroup* pGroup) override;
    void DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) override;
    void DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) override;
    void DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl) override;
    void DrawRibbonQuickAccessMoreButton(CDC* pDC, CQVTControl* pControl) override;
    void DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    void DrawRibbonScrollButton(CDC* pDC, CQVTControl* pControl, BOOL bScrollLeft) override;
    void FillMorePopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar) override;
    void FillSystemPopupBar(CDC* pDC, CQVTCommandBar* pPopupBar) override;
    CSize DrawSystemPopupBarButton(CDC* pDC, CQVTControl* pControl) override;
    BOOL DrawRibbonGroupControlButton(CDC* pDC, CQVTControl* pControl) override;
    void FillGroupPopupToolBar(CDC* pDC, CQVTRibbonGroup* pGroup) override;
    CSize GetOptionButtonSize() const override;
    // The quick-access area of the caption row; nothing here.
    virtual void DrawRibbonFrameQuickAccess(CDC* pDC, CQVTRibbonBar* pRibbonBar) {}
    virtual int GetReservedMetric() const { return 0; }

    // Parses every part from the open archive, once per theme; pContext
    // null takes the theme's own context.
    void LoadParts(HQVTZIPARCHIVE hArchive, CQVTMarkupContext* pContext);
    BOOL IsPartsLoaded() const { return m_bLoaded; }
    // Renders indexed part nPart into the rectangle; nothing for an empty
    // part or an index out of range.
    virtual void DrawPart(CDC* pDC, CRect rc, int nPart);
    // Parses the markup in the theme's context and renders it.
    void RenderMarkupText(CDC* pDC, CRect rc, LPCWSTR lpszMarkup);
    CQVTMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    CQVTMarkupThemePart* GetPart(int nPart)
    {
        return nPart >= 0 && nPart < partCount ? &m_parts[nPart] : nullptr;
    }

    // The part of a context tab of that colour, -1 without a colour; the
    // selected tab's part (state 0 selected, 1 focused, 2 highlighted).
    static int AFX_CDECL ContextTabPart(int nColor);
    static int AFX_CDECL SelectedTabPart(int nColor, int nState);

public:
    COLORREF m_clrGlyph;
    COLORREF m_clrGroupCaption;
    COLORREF m_clrQuickAccessGlyph;
    COLORREF m_clrReserved;
    COLORREF m_clrQuickAccessGlyphBelow;
    COLORREF m_clrQuickAccessSelected;  // -1: no fill
    COLORREF m_clrQuickAccessPressed;   // -1: no fill
    COLORREF m_clrBackstageSystemButton;
    COLORREF m_clrBackstageSystemButtonSelected;
    CString m_strReserved1;
    CString m_strReserved2;

protected:
    // The button's 32-pixel image centred in the rectangle, else the frame's
    // large icon; nothing without either.
    void MarkupDrawSystemButtonImage(CDC* pDC, CQVTRibbonControlSystemButton* pButton, CRect rc, int nState);
    // The site's title in the caption's text rectangle, on glass where the
    // caption is composited.
    void DrawFrameCaptionTitle(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive);
    // The caption in two steps: its face, then the icon, quick-access row,
    // context headers and title over it.
    void DrawRibbonFrameCaptionFace(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive);
    void DrawRibbonFrameCaptionContent(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive);

    BOOL m_bLoaded;
    CQVTMarkupContext* m_pMarkupContext;  // owned reference
    CQVTMarkupThemePart m_parts[partCount];
    CQVTMarkupThemePart m_partSystemPopupBarEntry;
    CQVTMarkupThemePart m_partSystemPopupBarButtonNormal;
    CQVTMarkupThemePart m_partSystemPopupBarButtonSelected;
    CQVTRibbonMarkupThemePartSystemMenu* m_pSystemMenuNormal;
    CQVTRibbonMarkupThemePartSystemMenu* m_pSystemMenuSelected;
    CQVTRibbonMarkupThemePartSystemMenu* m_pSystemMenuPopuped;
    CQVTRibbonMarkupThemePartGroup* m_pGroupNormal;
    CQVTRibbonMarkupThemePartGroup* m_pGroupHighlighted;
    CQVTRibbonMarkupThemePartGroup* m_pGroupPopupNormal;
    CQVTRibbonMarkupThemePartGroup* m_pGroupPopupPopuped;
    CQVTRibbonMarkupThemePartGroup* m_pGroupPopupSelected;
    CQVTRibbonMarkupThemePartGroup* m_pGroupPopupToolBar;
    CQVTMarkupThemePart* m_pBackstageBackButton;
};

// The system-colour look of the ribbon: the markup theme with the parts of
// the built-in "QVT_IDR_OFFICE2007SYSTEM_STYLE" archive.
class CQVTRibbonThemeOffice2007System : public CQVTRibbonMarkupTheme
{
    DECLARE_DYNAMIC(CQVTRibbonThemeOffice2007System)

public:
    explicit CQVTRibbonThemeOffice2007System(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl) override;
    int GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const override;
    void DrawRibbonFrameQuickAccess(CDC* pDC, CQVTRibbonBar* pRibbonBar) override;

    // Whether the quick-access bar stands above the ribbon with a visible
    // control: only then is its band drawn.
    static BOOL AFX_CDECL HasQuickAccessBand(CQVTRibbonBar* pRibbonBar);
};
