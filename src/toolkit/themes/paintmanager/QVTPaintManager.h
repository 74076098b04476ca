// The drawing back end of every command bar and control. Bars and controls
// never draw themselves: they hand a DC, a rectangle and themselves to the
// current paint manager, and each theme is a subclass that overrides the
// drawing it changes. One instance is current for the whole process; every
// holder keeps a reference, and a theme change moves those references to
// the new instance.
//
// The class spans three files: this one's .cpp holds the colours, fonts,
// metrics and the process-wide instance; QVTPaintManagerDraw.cpp the base
// drawing of controls and bars; QVTPaintManagerLayout.cpp the measuring and
// caption layout of controls, which every theme inherits.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"
#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"

class CQVTCommandBar;
class CQVTCommandBars;
class CQVTControl;
class CQVTControlEdit;
class CQVTDockBar;
class CQVTImageManagerIcon;
class CQVTPaintManager;
class CQVTControlGalleryPaintManager;
class CQVTScrollBarPaintManager;
class CQVTSliderPaintManager;
class CQVTProgressPaintManager;
class CQVTFramePaintManager;
class CQVTStatusBarPaintManager;
class CQVTRibbonPaintManager;
class CQVTMessageBarPaintManager;
class CQVTShadowManager;

// Observers of one paint manager (the bars that own one of their own).
class IQVTPaintManagerEvents
{
public:
    virtual ~IQVTPaintManagerEvents() {}
    // The paint manager is being destroyed; the observer drops it.
    virtual void OnPaintManagerDestroyed(CQVTPaintManager* pPaintManager) = 0;
    virtual void OnPaintManagerChanged(CQVTPaintManager* pPaintManager) {}
};

// A font the theme makes, unless the application has set one of its own.
class CQVTPaintManagerFont
{
public:
    CQVTPaintManagerFont() = default;
    virtual ~CQVTPaintManagerFont() {}
    CQVTPaintManagerFont(const CQVTPaintManagerFont&) = delete;
    CQVTPaintManagerFont& operator=(const CQVTPaintManagerFont&) = delete;

    // Re-made only while the font is the standard one, or when none exists.
    void SetStandardFont(const LOGFONT* pLogFont);
    // Null goes back to the standard font at the next refresh.
    void SetCustomFont(const LOGFONT* pLogFont);
    BOOL IsStandardFont() const { return m_bStandardFont; }

    CFont* GetFont() { return &m_font; }
    operator CFont*() { return &m_font; }
    HFONT GetSafeHandle() const { return static_cast<HFONT>(m_font.GetSafeHandle()); }

private:
    CFont m_font;
    BOOL m_bStandardFont = TRUE;
};

// Theme ids the factory knows.
enum QVTPaintTheme
{
    qvtThemeOffice2000 = 0,
    qvtThemeOfficeXP = 1,
    qvtThemeOffice2003 = 2,
    qvtThemeNativeWinXP = 3,
    qvtThemeVisualStudio2005 = 4,
    qvtThemeResource = 5,
    qvtThemeRibbon = 6,
    qvtThemeVisualStudio2008 = 7,
    qvtThemeVisualStudio6 = 8,
    qvtThemeVisualStudio2010 = 9,
    qvtThemeCustom = 10,
    qvtThemeOffice2007System = 11,
    qvtThemeOffice2013 = 12,
    qvtThemeVisualStudio2012 = 13,
    qvtThemeVisualStudio2012Light = 14,
    qvtThemeVisualStudio2012Dark = 15,
    qvtThemeVisualStudio2015 = 16,
    qvtThemeNativeWindows10 = 17
};

// Kinds of DrawSpecialControl.
enum QVTSpecialControl
{
    qvtSpecialToolbarExpand = 0,
    qvtSpecialMore = 1,
    qvtSpecialClose = 2,
    qvtSpecialDropDown = 3
};

// Animation types of Animate.
enum QVTAnimationType
{
    qvtAnimateUnfold = 2,
    qvtAnimateSlide = 3,
    qvtAnimateFade = 4
};

class CQVTPaintManager : public CQVTCmdTarget, public CQVTObservable<CQVTPaintManager, IQVTPaintManagerEvents>
{
    DECLARE_DYNAMIC(CQVTPaintManager)

public:
    enum
    {
        colorCount = 63
    };

    CQVTPaintManager();
    ~CQVTPaintManager() override;

    // The process-wide instance.
    static CQVTPaintManager* AFX_CDECL CreateTheme(int nTheme);
    static void AFX_CDECL SetTheme(int nTheme);
    static void AFX_CDECL SetCustomTheme(CQVTPaintManager* pTheme);
    static CQVTPaintManager* AFX_CDECL AddRefInstance();
    static void AFX_CDECL ReleaseInstance();
    // The current instance, or null when none has been made.
    static CQVTPaintManager* AFX_CDECL GetInstance();
    // Whether the window frame is drawn over desktop composition.
    static BOOL AFX_CDECL IsGlassEnabled();
    static void AFX_CDECL SetGlassEnabled(BOOL bEnabled);

    int GetCurrentTheme() const { return m_nThemeId; }
    void SetCurrentTheme(int nTheme) { m_nThemeId = nTheme; }

    // Drawing operations; a theme overrides what it changes.
    virtual void SetImageHandle(HMODULE hModule, LPCTSTR lpszIniName) {}
    virtual CSize DrawControlPopupParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw);
    virtual CSize DrawControlToolBarParent(CDC* pDC, CQVTControl* pControl, BOOL bDraw);
    // The steps of DrawControlToolBarParent (QVTPaintManagerLayout.cpp).
    struct CToolBarControlLook;
    void GetToolBarControlLook(CQVTControl* pControl, BOOL bDraw, CToolBarControlLook& look);
    CSize DrawToolBarCheckMarkControl(CDC* pDC, CQVTControl* pControl, const CToolBarControlLook& look,
                                      BOOL bDraw);
    CSize DrawToolBarCaptionBelowIcon(CDC* pDC, CQVTControl* pControl, const CToolBarControlLook& look,
                                      BOOL bDraw);
    CSize DrawToolBarTextBelowIcon(CDC* pDC, CQVTControl* pControl, const CToolBarControlLook& look,
                                   BOOL bDraw);
    CSize DrawToolBarCaptionBesideIcon(CDC* pDC, CQVTControl* pControl, const CToolBarControlLook& look,
                                       BOOL bDraw);
    virtual void DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc) = 0;
    virtual CSize DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw);
    virtual COLORREF GetControlEditBackColor(CQVTControl* pControl);
    // The edit-text colour standing for a colour index (COLOR_WINDOWTEXT,
    // COLOR_HIGHLIGHTTEXT or COLOR_GRAYTEXT), else clrDefault.
    COLORREF GetEditTextColor(int nIndex, COLORREF clrDefault) const;
    virtual CSize DrawControlEdit(CDC* pDC, CQVTControl* pControl, BOOL bDraw);
    virtual CSize DrawListBoxControl(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                     CQVTCommandBars* pCommandBars) = 0;
    virtual void FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar) = 0;
    virtual void DrawControlEntry(CDC* pDC, CQVTControl* pControl);
    virtual COLORREF GetControlTextColor(CQVTControl* pControl);
    virtual COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled, BOOL bChecked,
                                           BOOL bPopuped, int barType, int barPosition) = 0;
    virtual BOOL DrawControlEntryHook(CDC* pDC, CQVTControl* pControl) { return FALSE; }
    virtual void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                               BOOL bChecked, BOOL bPopuped, int barType, int barPosition) = 0;
    virtual void DrawControlRectangle(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bPressed,
                                      BOOL bChecked, int barType);
    virtual CSize DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw);
    virtual CSize DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar, CQVTControl* pControl,
                                          BOOL bDraw) = 0;
    virtual void DrawAdjacentControlsSeparator(CDC* pDC, CRect rc, CQVTControl* pPrev, CQVTControl* pNext,
                                               BOOL bDraw)
    {
    }
    virtual void AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical) = 0;
    virtual void FillDockBar(CDC* pDC, CQVTDockBar* pDockBar);
    virtual void FillWorkspace(CDC* pDC, CRect rc);
    virtual void RefreshMetrics();
    virtual void DrawExpandGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical);
    virtual void Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
    virtual void DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr, BOOL bVertical);
    virtual CSize DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl, CQVTCommandBar* pBar,
                                     BOOL bDraw, LPVOID lpParam);
    virtual CRect GetScaledMargins(CQVTCommandBar* pBar);
    virtual CSize DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw) = 0;
    virtual void DrawPopupResizeGripper(CDC* pDC, CRect rc, int nFlags) = 0;
    virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CQVTImageManagerIcon* pImage, BOOL bSelected,
                           BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int nShadowFlags) = 0;
    virtual CSize DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw) = 0;
    virtual CRect GetSplitButtonCommandRect(CQVTControl* pControl);
    virtual CSize DrawControlCheckBox(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw);
    virtual CSize DrawControlCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                          int nChecked, BOOL bEnabled);
    virtual CSize DrawControlRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed,
                                             int nChecked, BOOL bEnabled);
    virtual void FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary) {}
    virtual int GetThemeId() const = 0;
    virtual BOOL HasResourceLook() const { return FALSE; }
    virtual CFont* GetControlFont(CQVTControl* pControl);
    virtual CFont* GetCommandBarFont(CQVTCommandBar* pBar);
    virtual int GetControlTextOrientation(CQVTControl* pControl);
    virtual void UpdateFonts();
    virtual void RefreshStandardColors();
    virtual CSize CalcCommandBarGripperSize(CQVTCommandBar* pBar);
    virtual void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled);
    virtual void DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled);
    virtual void DrawPopupArrow(CDC* pDC, CRect rc, COLORREF clr);
    virtual void DrawControlMarlettCaption(CDC* pDC, CQVTControl* pControl);
    virtual void DrawDropDownGlyph(CDC* pDC, CQVTControl* pControl, CPoint pt, BOOL bSelected, BOOL bPopuped,
                                   BOOL bEnabled, BOOL bVertical);
    virtual void Animate(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nType);
    virtual void AnimateExpanding(CQVTCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bDownward);
    virtual CSize DrawControlText(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw, BOOL bVertical,
                                  BOOL bCentered, BOOL bTriangled);
    virtual int GetPopupBarGutterWidth(CQVTCommandBar* pBar);
    virtual CQVTControlGalleryPaintManager* GetGalleryPaintManager() const { return m_pGalleryPaintManager; }
    virtual CQVTScrollBarPaintManager* GetScrollBarPaintManager() const { return m_pScrollBarPaintManager; }
    virtual CQVTSliderPaintManager* GetSliderPaintManager() const { return m_pSliderPaintManager; }
    virtual CQVTProgressPaintManager* GetProgressPaintManager() const { return m_pProgressPaintManager; }
    virtual CQVTFramePaintManager* GetFramePaintManager();
    virtual CQVTStatusBarPaintManager* GetStatusBarPaintManager() const { return m_pStatusBarPaintManager; }
    virtual CQVTRibbonPaintManager* GetRibbonPaintManager();
    virtual CQVTMessageBarPaintManager* GetMessageBarPaintManager() const
    {
        return m_pMessageBarPaintManager;
    }
    virtual void DrawTooltipFrame(CDC* pDC, CWnd* pToolTip, BOOL bFlag, BOOL bInfoColor);
    // A theme whose popups are not rectangles gives the bar's window its
    // region here whenever the window changes size.
    virtual void SetCommandBarRegion(CQVTCommandBar* pBar) {}
    virtual int GetTwoLineCaptionHeight() const { return m_nTwoLineCaptionHeight; }
    virtual int GetControlHeight() const { return m_nControlHeight; }
    virtual int GetTextHeight() const { return m_nTextHeight; }
    virtual int GetFontHeight() const { return m_nFontHeight; }
    virtual void SetFontHeight(int nFontHeight);
    virtual int GetSplitDropDownHeight() const;
    virtual BOOL IsFlatBar(CQVTCommandBar* pBar);
    virtual CSize GetPopupBarButtonSize(CQVTCommandBar* pBar);
    virtual CSize DrawControlTextEx(CDC* pDC, const CString& strText, CRect rc, UINT nFormat, BOOL bDraw,
                                    BOOL bSelected, BOOL bEnabled);

    // The "STATUS" visual style, open while status bars use visual styles.
    CQVTWinThemeWrapper& GetStatusBarTheme() { return m_themeStatusBar; }

    // Element paint managers a theme installs in place of the current ones;
    // each is owned from then on and refreshed at once.
    void SetGalleryPaintManager(CQVTControlGalleryPaintManager* pPaintManager);
    void SetScrollBarPaintManager(CQVTScrollBarPaintManager* pPaintManager);
    void SetSliderPaintManager(CQVTSliderPaintManager* pPaintManager);
    void SetProgressPaintManager(CQVTProgressPaintManager* pPaintManager);
    void SetMessageBarPaintManager(CQVTMessageBarPaintManager* pPaintManager);
    void SetStatusBarPaintManager(CQVTStatusBarPaintManager* pPaintManager);

    // Measures or draws any control: edits and combo boxes have their own
    // drawing, the rest depends on the kind of bar they sit on.
    CSize DrawControl(CDC* pDC, CQVTControl* pControl, BOOL bDraw);
    // Draws or measures a caption under an icon in up to two lines, with the
    // drop-down glyph after the second (the ribbon's large buttons).
    CSize DrawControlTextBelowIcon(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw, BOOL bVertical,
                                   BOOL bArrow);

    // Colours: 0-62 the table, anything above a literal COLORREF.
    COLORREF GetColor(int nIndex) const;
    CQVTPaintManagerColor& GetColorEntry(int nIndex) { return m_arrColor[nIndex]; }
    void SetColors(int nCount, const int* pIndexes, const COLORREF* pColors);

    void SetCommonFont(LOGFONT* pLogFont, BOOL bUseSystemFont = FALSE);
    CFont* GetRegularFont() { return m_fontRegular.GetFont(); }
    CFont* GetRegularBoldFont() { return m_fontBold.GetFont(); }
    CFont* GetVerticalFont() { return m_fontVert.GetFont(); }
    CFont* GetVerticalBoldFont() { return m_fontVertBold.GetFont(); }
    CFont* GetIconFont() { return m_fontIcon.GetFont(); }
    CFont* GetIconBoldFont() { return m_fontIconBold.GetFont(); }
    CFont* GetSmallCaptionFont() { return m_fontSmCaption.GetFont(); }
    CFont* GetStatusFont() { return m_fontStatus.GetFont(); }
    CQVTPaintManagerFont& GetSmallCaptionFontEntry() { return m_fontSmCaption; }
    CQVTPaintManagerFont& GetIconFontEntry() { return m_fontIcon; }
    CQVTPaintManagerFont& GetStatusFontEntry() { return m_fontStatus; }

    // One-pixel lines and frames.
    void HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr);
    void VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr);
    void Line(CDC* pDC, CPoint p0, CPoint p1);
    // The variants by colour number: a negative number counts as 0.
    void Line(CDC* pDC, int x0, int y0, int x1, int y1, int nPen);
    void Rectangle(CDC* pDC, CRect rc, int nPen, int nBrush);
    void Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight);
    void DrawRectangleByColors(CDC* pDC, CRect rc, COLORREF clrBorder, COLORREF clrFill);

    // Text, optionally over a composited frame.
    void DrawTextApi(CDC* pDC, const CString& str, LPRECT lpRect, UINT nFormat, BOOL bComposited);
    static void AFX_CDECL FillCompositeRect(CDC* pDC, LPCRECT lpRect, COLORREF clr);
    static void AFX_CDECL FillCompositeAlpha(CDC* pDC, LPCRECT lpRect);
    static void AFX_CDECL DrawAntialiasedCircle(CDC* pDC, CRect rc, COLORREF clrBorder, COLORREF clrFill);
    // Splits a caption into two lines at the blank nearest its middle.
    static void AFX_CDECL SplitCaptionInTwoLines(const CString& strCaption, CString& strFirst,
                                                 CString& strSecond);

    // Icon sizes.
    CSize GetAutoIconSize(BOOL bLarge) const;
    int GetControlHeightForIcons() const;
    BOOL IsCommandBarsIconDpiScaling(CQVTCommandBars* pCommandBars) const;
    BOOL IsControlIconDpiScaling(CQVTControl* pControl) const;
    CSize GetControlIconSize(CQVTImageManagerIcon* pImage, CSize szIcon, CQVTControl* pControl,
                             CSize szButton);
    void GetIconsInfo(BOOL& bUseFadedIcons, BOOL& bUseDisabledIcons, BOOL& bIconsWithShadow) const;
    // Fits an image of the given size into a box.
    static CSize AFX_CDECL FitImageToBox(CSize szImage, CSize szBox, int nMargin, BOOL bScale);
    static CSize AFX_CDECL AspectFitImage(CSize szImage, CSize szRequest);

    int GetCurrentSystemTheme() const;
    // The drop shadows of popups; its options are the theme's shadow mode.
    CQVTShadowManager* GetShadowManager() const { return m_pShadowManager; }
    int GetPopupTextGap() const { return m_nPopupTextGap; }
    int GetPopupSplitArrowWidth() const { return m_nPopupSplitArrowWidth; }
    int GetSplitDropDownWidth() const { return m_nSplitButtonDropDownWidth; }
    CRect GetMessageBarMargins() const { return m_rcMessageBarMargin; }
    COLORREF GetInfoTextColor() const { return m_clrInfoText; }

    // DPI scaling of lengths given at 96 DPI.
    static int AFX_CDECL DpiX(int nValue);
    static int AFX_CDECL DpiY(int nValue);

public:
    // Options and metrics the themes and the application read or set.
    CQVTPaintManagerColor m_arrColor[colorCount];
    CQVTPaintManagerColorGradient m_grcFace;  // from colour 15 to 16
    CQVTPaintManagerColor m_clrShadow;        // floating-bar title background
    CQVTPaintManagerColor m_clrLight;         // floating-bar title text, idle special glyphs
    COLORREF m_clrInfoText;
    CQVTPaintManagerColor m_clrExtra[3];  // free for themes
    // The text of bar edits and combo fields: plain, highlighted and
    // disabled; without colour the colour table's window, highlight and
    // grey text colours.
    CQVTPaintManagerColor m_clrEditText;
    CQVTPaintManagerColor m_clrEditTextHighlight;
    CQVTPaintManagerColor m_clrEditTextDisabled;
    CRect m_rcMessageBarMargin;
    CString m_strOfficeFont;
    BOOL m_bUseOfficeFont;
    BOOL m_bUseSystemFont;
    BOOL m_bClearTypeTextQuality;
    BOOL m_bThemedCheckBox;
    BOOL m_bThemedStatusBar;
    BOOL m_bAutoResizeIcons;
    BOOL m_bFlatToolBar;
    BOOL m_bFlatMenuBar;
    BOOL m_bBoldCheckMarks;
    BOOL m_bCaptionSpacing;  // the resource theme's wider caption gaps
    BOOL m_bSplitCaption;    // captions under large icons may take two lines
    int m_nSystemTheme;
    BOOL m_bEmbossedDisabledText;
    int m_nFontHeight;  // override in pixels, 0 none
    int m_nTextHeight;
    int m_nControlHeight;
    int m_nSplitButtonDropDownWidth;
    int m_nTwoLineCaptionHeight;
    int m_nPopupTextGap;
    int m_nPopupSplitArrowWidth;
    int m_nStatusBarMinHeight;
    CRect m_rcStatusBarPadding;
    int m_nAnimationSteps;
    int m_nAnimationTime;
    BOOL m_bUseFadedIcons;
    BOOL m_bUseDisabledIcons;
    BOOL m_bIconsWithShadow;
    BOOL m_bMakeDisabledImage;
    BOOL m_bAnimation;  // bars cross-fade their changes
    BOOL m_bFullRowHighlight;
    BOOL m_bCheckedPopupDither;
    BOOL m_bLabelIndent;
    int m_nKeyboardCues;  // -1 asks the bar
    BOOL m_bEnableAnimation;

protected:
    CQVTFont m_fontRegular;
    CQVTFont m_fontBold;
    CQVTFont m_fontVert;
    CQVTFont m_fontVertBold;
    CQVTPaintManagerFont m_fontSmCaption;
    CQVTPaintManagerFont m_fontIcon;
    CQVTPaintManagerFont m_fontIconBold;
    CQVTPaintManagerFont m_fontStatus;
    CQVTWinThemeWrapper m_themeStatusBar;
    CQVTWinThemeWrapper m_themeButton;

    typedef BOOL(WINAPI* PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    PFNSETLAYEREDWINDOWATTRIBUTES m_pfnSetLayeredWindowAttributes;

    CQVTShadowManager* m_pShadowManager;  // reference counted

    // Element paint managers, owned; every caller tolerates a null one.
    // The frame's and the ribbon's are made on first request.
    CQVTControlGalleryPaintManager* m_pGalleryPaintManager;
    CQVTSliderPaintManager* m_pSliderPaintManager;
    CQVTProgressPaintManager* m_pProgressPaintManager;
    CQVTStatusBarPaintManager* m_pStatusBarPaintManager;
    CQVTScrollBarPaintManager* m_pScrollBarPaintManager;
    CQVTMessageBarPaintManager* m_pMessageBarPaintManager;
    CQVTFramePaintManager* m_pFramePaintManager;
    CQVTRibbonPaintManager* m_pRibbonPaintManager;

    // The id under which this object was installed.
    int m_nThemeId;

    friend class CQVTPaintManagerInstance;

    // The label part of combo boxes and edits, and what it stores on them.
    CSize DrawFieldLabel(CDC* pDC, CQVTControl* pControl, BOOL bDraw, BOOL bCombo);
    void SetFieldLabelWidth(CQVTControl* pControl, int nLabelWidth);
    void SetComboButtonWidth(CQVTControl* pControl, int nWidth);
    // The buddy button of an edit: a face by its state and the icon of its id.
    void DrawEditBuddyButton(CDC* pDC, CQVTControlEdit* pEdit);

    // Layout helpers shared by the toolbar and popup layouts.
    CSize ApplySizeOverride(CQVTControl* pControl, CSize sz);
    CSize DrawCaptionWithArrow(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw, BOOL bVertical,
                               BOOL bCentered, BOOL bArrow);
    void DrawCaptionText(CDC* pDC, CQVTControl* pControl, const CString& strCaption,
                         const CString& strCaptionNoMnemonics, CRect rc, BOOL bVertical, BOOL bCentered);
    CSize DrawControlTextAfterBox(CDC* pDC, CQVTControl* pControl, CRect rc, BOOL bDraw, BOOL bArrow,
                                  CSize szBox, BOOL bImage);
    BOOL IsKeyboardCuesVisible(CQVTControl* pControl) const;
    void DrawKeyboardFocus(CDC* pDC, CQVTControl* pControl);
    int GetEffectiveEnabled(CQVTControl* pControl) const;
    void FillDither(CDC* pDC, CRect rc);
};

// The current instance, made (as the Office 2000 theme) when none exists.
CQVTPaintManager* AFX_CDECL QVTPaintManager();
