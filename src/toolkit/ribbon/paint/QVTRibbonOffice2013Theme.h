// The flat ribbon looks of themes 12, 16 and 17: the markup theme with its
// parts read from the image set's "XAML_STYLE" archive and coloured through
// the "Theme.Colors" brushes, flat colours from the image set's INI text,
// tabs and context headers of their own and a background pattern.
#pragma once

#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"
#include "toolkit/ribbon/paint/QVTRibbonMarkupTheme.h"

class CQVTResourceImage;

class CQVTRibbonOffice2013Theme : public CQVTRibbonMarkupTheme
{
    DECLARE_DYNAMIC(CQVTRibbonOffice2013Theme)

public:
    // The "Theme" node with its "Colors" brushes.
    class CThemeStaticExtension : public CQVTMarkupStaticExtension
    {
    public:
        CThemeStaticExtension();
    };

    // Border, back and text of a context colour code.
    struct CContextColors
    {
        COLORREF clrBorder;
        COLORREF clrBack;
        COLORREF clrText;
    };

    explicit CQVTRibbonOffice2013Theme(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) override;
    void DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) override;
    void DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                            const CQVTRibbonTabContextHeaders& headers) override;
    void DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    void DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab) override;
    void FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar) override;
    int GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const override;

    virtual void SetBackgroundImage(int nBackground) { m_nBackgroundImage = nBackground; }
    virtual CString GetBackgroundImageName();
    virtual void DrawRibbonBackgroundImage(CDC* pDC, CQVTRibbonBar* pRibbonBar);

    int GetBackgroundImage() const { return m_nBackgroundImage; }
    const CContextColors& GetContextColors(int nColor) const;
    // The pattern's image name for a theme name, an INI name, a DPI and an
    // index; empty without an index or an INI name.
    static CString AFX_CDECL BuildBackgroundImageName(LPCTSTR lpszThemeName, LPCTSTR lpszIniName, int nDpi,
                                                      int nIndex);
    // Whether two colours' lightness differ enough for text on the other.
    static BOOL AFX_CDECL IsContrastEnough(COLORREF clrText, COLORREF clrBack);
    // The band of an image aspect-kept at that height, ending at nRight;
    // empty for an image without height.
    static CRect AFX_CDECL CalcBackgroundImageRect(CSize szImage, int nTop, int nHeight, int nRight);

protected:
    // The caption's two backstage parts, split at the backstage menu's edge.
    void DrawBackstageCaptionParts(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc);

public:
    int m_nCaptionHeight;
    COLORREF m_clrRibbonInactiveFaceState;
    COLORREF m_clrTabBackInactiveState;
    COLORREF m_clrBackstageCaptionLeft;
    COLORREF m_clrBackstageCaptionRight;
    COLORREF m_clrTabDelimiter;
    COLORREF m_clrGroupOption;
    COLORREF m_clrGroupCaptionFlat;
    COLORREF m_clrCaptionTextActive;
    COLORREF m_clrCaptionTextInactive;
    COLORREF m_clrToolbarButtonText;
    COLORREF m_clrCaptionButtonHot;
    COLORREF m_clrCaptionButtonPressed;
    COLORREF m_clrBackstageButtonNormal;
    COLORREF m_clrBackstageButtonHighlighted;
    CString m_strBackstageImagePrefixHighlighted;
    CString m_strBackstageImagePrefixNormal;
    CString m_strThemeName;

protected:
    // Fills the selected tab with the None back and outlines it but for its
    // bottom; the outline colour is the caller's.
    void DrawSelectedFlatTab(CDC* pDC, CRect rc, COLORREF clrOutline);
    // Whether the tab is drawn selected: in a minimized ribbon only while
    // its popup is open.
    static BOOL AFX_CDECL IsTabShownSelected(CQVTRibbonTab* pTab);
    void LoadXamlStyle();

    int m_nBackgroundImage;
    CContextColors m_contextColors[8];
};

class CQVTRibbonThemeNativeWindows10 : public CQVTRibbonOffice2013Theme
{
public:
    explicit CQVTRibbonThemeNativeWindows10(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab) override;
    void FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups) override;

    COLORREF m_clrAccent;
    COLORREF m_clrAccentText;
};

class CQVTRibbonThemeVisualStudio2015 : public CQVTRibbonOffice2013Theme
{
public:
    explicit CQVTRibbonThemeVisualStudio2015(CQVTPaintManager* pPaintManager)
        : CQVTRibbonOffice2013Theme(pPaintManager)
    {
    }
};
