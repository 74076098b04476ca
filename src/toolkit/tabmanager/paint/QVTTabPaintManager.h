// Measures, lays out and draws tab strips. It holds every visual option of
// a strip, one appearance that decides shapes and one colour set that
// decides colours; the strips that use it are told when the look changes.
// Measuring and drawing one item (caption, image, buttons, ellipses) fill
// QVTTabPaintManagerItem.cpp.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTTabManager;
class CQVTTabManagerAtom;
class CQVTTabManagerItem;
class CQVTTabManagerNavigateButton;
class CQVTTabPaintManagerTheme;
class CQVTTabPaintManagerColorSet;

// Appearance ids of SetAppearance.
enum QVTTabAppearance
{
    qvtTabAppearancePropertyPage = 0,
    qvtTabAppearancePropertyPageSelected = 1,
    qvtTabAppearancePropertyPageFlat = 2,
    qvtTabAppearancePropertyPage2003 = 3,
    qvtTabAppearanceStateButtons = 4,
    qvtTabAppearanceVisualStudio2003 = 5,
    qvtTabAppearanceFlat = 6,
    qvtTabAppearanceExcel2003 = 7,
    qvtTabAppearanceVisio = 8,
    qvtTabAppearanceVisualStudio2005 = 9,
    qvtTabAppearancePropertyPage2007 = 10,
    qvtTabAppearancePropertyPageAccess2007 = 11,
    qvtTabAppearanceVisualStudio2010 = 12,
    qvtTabAppearanceVisualStudio2012 = 13,
    qvtTabAppearanceOffice2013 = 14,
    qvtTabAppearanceVisualStudio2015 = 15,
    qvtTabAppearanceNativeWindows10 = 16,
};

// Colour ids of SetColor: single bits.
enum QVTTabColor
{
    qvtTabColorDefault = 1,
    qvtTabColorVisualStudio2003 = 2,
    qvtTabColorOffice2003 = 4,
    qvtTabColorWinNative = 8,
    qvtTabColorVisualStudio2005 = 16,
    qvtTabColorOffice2007 = 32,
    qvtTabColorVisualStudio2008 = 64,
    qvtTabColorOffice2007Access = 128,
    qvtTabColorVisualStudio2010 = 256,
    qvtTabColorVisualStudio2012 = 512,
    qvtTabColorVisualStudio2012Dark = 1024,
    qvtTabColorOffice2013 = 2048,
    qvtTabColorVisualStudio2015 = 4096,
    qvtTabColorNativeWindows10 = 8192,
};

class CQVTTabPaintManager : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTTabPaintManager)

public:
    explicit CQVTTabPaintManager(int nReserved = 0);
    ~CQVTTabPaintManager() override;

    virtual CQVTTabPaintManagerColorSet* SetColor(int nColorSet);
    // Installs a colour set the paint manager then owns; null only refreshes.
    virtual CQVTTabPaintManagerColorSet* SetColorSet(CQVTTabPaintManagerColorSet* pColorSet);
    virtual CQVTTabPaintManagerTheme* SetAppearance(int nAppearance);
    // Installs an appearance the paint manager then owns, with its default
    // colour set; null only refreshes.
    virtual CQVTTabPaintManagerTheme* SetAppearanceSet(CQVTTabPaintManagerTheme* pAppearance);
    virtual void DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcControl);
    virtual void AdjustClientRect(CQVTTabManager* pTabManager, CRect& rcClient);
    virtual void RepositionTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient);
    virtual void DrawNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc);
    // bDraw FALSE: the item's natural length. TRUE: its buttons, image,
    // caption and focus rectangle inside rcItem.
    virtual int DrawSingleButtonIconAndText(CDC* pDC, CQVTTabManagerItem* pItem, CRect rcItem, BOOL bDraw);
    virtual void RefreshMetrics();
    virtual void RefreshTabManagers();
    virtual void DrawFocusRect(CDC* pDC, CQVTTabManagerItem* pItem, CRect rcItem);

    void SetFontIndirect(const LOGFONT* pLogFont, BOOL bUseSystemFont = FALSE);
    void SetLayout(int nLayout);
    void SetPosition(int nPosition);
    int GetLayout() const { return m_nLayout; }
    int GetPosition() const { return m_nPosition; }
    int GetAppearance() const { return m_nAppearance; }
    int GetColor() const { return m_nColor; }
    CQVTTabPaintManagerTheme* GetAppearanceSet() const { return m_pAppearanceSet; }
    CQVTTabPaintManagerColorSet* GetColorSet() const { return m_pColorSet; }
    BOOL IsLunaColorsDisabled() const;
    COLORREF GetAutomaticColor(COLORREF clrValue) const;
    // Hands out the next automatic colour of the strips sharing this
    // paint manager.
    COLORREF NextAutomaticColor();
    void EnsureVisible(CQVTTabManager* pTabManager, CQVTTabManagerItem* pItem);

    // The font an item is drawn in: vertical on side strips (inverted under
    // the rotated layout), bold for the selected item of an active strip
    // when asked for.
    CQVTFont* GetItemFont(const CQVTTabManager* pTabManager, const CQVTTabManagerItem* pItem);
    BOOL IsVerticalText(const CQVTTabManager* pTabManager) const;
    CQVTFont& GetNormalFont() { return m_fntNormal; }
    CQVTFont& GetBoldFont() { return m_fntBold; }
    CQVTFont& GetVerticalFont() { return m_fntVertical; }
    CQVTFont& GetVerticalBoldFont() { return m_fntVerticalBold; }

    void AddTabManager(CQVTTabManagerAtom* pAtom);
    void RemoveTabManager(CQVTTabManagerAtom* pAtom);
    int GetTabManagerCount() const { return static_cast<int>(m_arrTabManagers.size()); }

    // Margins given for the top position, turned for the others.
    static void AFX_CDECL DeflateRectByPosition(CRect& rc, const CRect& rcMargins, int nPosition);
    static void AFX_CDECL InflateRectByPosition(CRect& rc, const CRect& rcMargins, int nPosition);
    static CRect AFX_CDECL RotateMarginsByPosition(const CRect& rcMargins, int nPosition);
    // Draws text shortened in the middle ("abc...xyz"), or by path for one
    // with a backslash.
    static void AFX_CDECL DrawTextMiddleEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat);
    // The middle-shortened form of a text for a width; what is drawn.
    static CString AFX_CDECL MakeMiddleEllipsisText(CDC* pDC, const CString& strText, int nWidth,
                                                    UINT nFormat);

public:
    BOOL m_bHotTracking = FALSE;
    BOOL m_bShowIcons = TRUE;           // rows and items make room for images
    BOOL m_bBoldSelected = FALSE;       // bold fonts for the selected item of an active strip
    BOOL m_bBoldNormal = FALSE;         // the normal and vertical fonts at weight 700
    BOOL m_bDisableLunaColors = FALSE;  // colour sets ignore their theme variants
    BOOL m_bDrawStateButton = FALSE;    // read by the colour sets' state buttons
    int m_nClientFrame = 0;             // 0 inset on all sides, 1 on the header side, other none
    BOOL m_bStaticFrame = FALSE;        // a two-ring frame around the whole control
    CRect m_rcClientMargin;
    CRect m_rcControlMargin;
    CRect m_rcButtonMargin;       // left/right lengthen items, top/bottom heighten rows
    CRect m_rcButtonTextPadding;  // before the image and after the text
    BOOL m_bFillBackground = TRUE;
    CSize m_szIcon;                        // image size used for measuring
    BOOL m_bDrawTextPathEllipsis = FALSE;  // shorten in the middle
    BOOL m_bDrawTextEndEllipsis = TRUE;
    BOOL m_bDrawTextNoPrefix = TRUE;
    UINT m_nDrawTextFormat = DT_VCENTER;
    BOOL m_bDrawTextHidePrefix = FALSE;      // strip "&" prefixes before drawing
    BOOL m_bMultiRowFixedSelection = FALSE;  // keep rows in order
    BOOL m_bMultiRowJustified = TRUE;
    BOOL m_bDrawFocusRect = TRUE;
    int m_nItemExtraLength = 0;  // added to every visible item in single-row layouts
    BOOL m_bSelectOnButtonDown = TRUE;
    BOOL m_bClearTypeTextQuality = FALSE;
    BOOL m_bRotateImageOnVerticalDraw = FALSE;
    BOOL m_bClipHeader = TRUE;
    CSize m_szNavigateButton;
    CSize m_szItemCloseButton;
    BOOL m_bShowTabs = TRUE;  // header visible
    BOOL m_bMultiRowBacktracking = TRUE;
    int m_nMinTabWidth = 0;  // 0 or less: no minimum
    int m_nMaxTabWidth = 0;  // 0 or less: no maximum
    int m_nFixedTabWidth;
    int m_nToolTipBehaviour = 2;  // 0 none, 1 always, 2 truncated items only
    BOOL m_bVerticalTextTopToBottom = TRUE;
    BOOL m_bOneNoteColors = FALSE;   // items filled with their own colours
    BOOL m_bInvertGradient = FALSE;  // gradients run dark to light
    int m_nReserved1 = 0;
    int m_nReserved2 = 2;

protected:
    void CreateVerticalFont(CQVTFont& font, LOGFONT lf, int nWeight);

    // The steps of DrawSingleButtonIconAndText (QVTTabPaintManagerItem.cpp).
    struct CSingleButtonItem;
    void CollectSingleButtonButtons(CSingleButtonItem& item);
    int MeasureSingleButton(CDC* pDC, const CSingleButtonItem& item);
    void DrawSingleButtonButtons(CDC* pDC, const CSingleButtonItem& item, const CRect& rcItem, CRect& rc);
    void DrawSingleButtonHorizontal(CDC* pDC, const CSingleButtonItem& item, CRect rc);
    void DrawSingleButtonVertical(CDC* pDC, const CSingleButtonItem& item, const CRect& rcItem, CRect rc);

    int m_nReserved;
    CQVTTabPaintManagerTheme* m_pAppearanceSet = nullptr;  // owned
    CQVTTabPaintManagerColorSet* m_pColorSet = nullptr;    // owned
    std::vector<CQVTTabManagerAtom*> m_arrTabManagers;     // not owned
    int m_nAppearance = 0;
    int m_nColor = 0;
    int m_nPosition = 0;
    int m_nLayout = 0;
    CQVTFont m_fntNormal;
    CQVTFont m_fntBold;
    CQVTFont m_fntVertical;
    CQVTFont m_fntVerticalBold;
    BOOL m_bUseStandardFont = TRUE;  // fonts follow the system icon-title font
    int m_nAutomaticColorIndex = 0;
};
