// The properties of a loaded skin, parsed from its INI schema, and the
// answers skin objects ask of it: typed values with fall-backs through the
// part, the class and GLOBALS, theme backgrounds drawn from images or
// border fills, and the sizes of skinned window frames.
#pragma once

#include <afxwin.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchemaProperty.h"

class CQVTSkinImage;
class CQVTSkinManagerClass;
class CQVTSkinManagerMetrics;
class CQVTSkinManagerResourceFile;
class CQVTSkinManagerSite;
class CQVTSkinObjectFrame;
struct QVT_SKIN_SCROLLBARPOSINFO;

// Property ids the framework reads.
enum QVTSkinPropertyId : UINT
{
    qvtSkinPropTransparent = 2201,
    qvtSkinPropBorderOnly = 2203,
    qvtSkinPropGlyphTransparent = 2206,
    qvtSkinPropMirrorImage = 2209,
    qvtSkinPropUniformSizing = 2210,
    qvtSkinPropImageCount = 2401,
    qvtSkinPropAlphaLevel = 2402,
    qvtSkinPropBorderSize = 2403,
    qvtSkinPropTrueSizeStretchMark = 2419,
    qvtSkinPropImageFile = 3001,
    qvtSkinPropImageFile1 = 3002,
    qvtSkinPropGlyphImageFile = 3008,
    qvtSkinPropTextShadowOffset = 3402,
    qvtSkinPropSizingMargins = 3601,
    qvtSkinPropContentMargins = 3602,
    qvtSkinPropCaptionMargins = 3603,
    qvtSkinPropBorderColor = 3801,
    qvtSkinPropFillColor = 3802,
    qvtSkinPropTextColor = 3803,
    qvtSkinPropTransparentColor = 3809,
    qvtSkinPropTextShadowColor = 3818,
    qvtSkinPropBgType = 4001,
    qvtSkinPropSizingType = 4004,
    qvtSkinPropContentAlignment = 4006,
    qvtSkinPropVAlign = 4007,
    qvtSkinPropTextShadowType = 4010,
    qvtSkinPropImageLayout = 4011,
    qvtSkinPropGlyphType = 4012,
    qvtSkinPropImageSelectType = 4013,
};

class CQVTSkinManagerSchema : public CQVTCmdTarget, public CQVTSynchronized
{
public:
    explicit CQVTSkinManagerSchema(CQVTSkinManagerResourceFile* pResourceFile);
    ~CQVTSkinManagerSchema() override;

    // Parses the whole schema text of the resource file; S_OK whatever
    // was skipped.
    HRESULT ReadProperties();

    UINT GetClassCode(LPCTSTR lpszClass);
    UINT GetPartCode(LPCTSTR lpszClass, LPCTSTR lpszPart);
    UINT GetStateCode(LPCTSTR lpszPartOrClass, LPCTSTR lpszState);
    int GetEnumCode(LPCTSTR lpszProperty, LPCTSTR lpszValue);
    // The id, 0 when the table lacks the name; *pnType the type digit.
    UINT GetPropertyCode(LPCTSTR lpszProperty, int* pnType);
    UINT GetSectionCode(const CString& strSection);
    static UINT AFX_CDECL MakeSectionCode(UINT nClass, UINT nPart, UINT nState)
    {
        return (nClass + nPart * 64 + nState * 4096) * 16384;
    }

    // The property with fall-backs: the part's state, the part, the class's
    // state, the class, then GLOBALS.
    CQVTSkinManagerSchemaProperty* GetProperty(UINT nClass, int nPart, int nState, UINT nId);
    // S_OK, E_FAIL without the property, E_INVALIDARG for another type.
    HRESULT GetIntProperty(UINT nClass, int nPart, int nState, UINT nId, int* pnValue);
    HRESULT GetBoolProperty(UINT nClass, int nPart, int nState, UINT nId, BOOL* pbValue);
    HRESULT GetColorProperty(UINT nClass, int nPart, int nState, UINT nId, COLORREF* pclrValue);
    HRESULT GetFontProperty(UINT nClass, int nPart, int nState, UINT nId, LOGFONT* pFont);

    // The class of the first known name of a ';'-separated list.
    CQVTSkinManagerClass* GetClass(const CString& strClassList);

    HICON GetWindowIcon(HWND hWnd, BOOL bCheck);
    // The size of a caption button for a caption of height nCaptionHeight.
    CSize GetCaptionButtonSize(CQVTSkinManagerClass* pClass, int nCaptionHeight);

    virtual BOOL DrawThemeBackground(CDC* pDC, CQVTSkinManagerClass* pClass, int nPart, int nState,
                                     const RECT* pRect);
    // Non-client thicknesses (left, top, right, bottom) of a window with
    // these styles; bChildBorderFill tells that a child's skin class draws
    // a border fill.
    virtual CRect CalcFrameBorders(DWORD dwStyle, DWORD dwExStyle, BOOL bChildBorderFill = FALSE);
    int GetFrameBorderCount(DWORD dwStyle, DWORD dwExStyle);
    virtual void RefreshMetrics();
    virtual COLORREF GetWindowColor();
    // The frame of a skinned window: borders, caption, icon, text and
    // caption buttons, into a DC of the window's rectangle.
    virtual BOOL DrawThemeFrame(CDC* pDC, CQVTSkinObjectFrame* pFrame);
    // The thicknesses of the frame's window.
    virtual CRect CalcFrameBorders(CQVTSkinObjectFrame* pFrame);
    // The window region of a frame of that size; the caller owns it. Null
    // when the window keeps its rectangle.
    virtual HRGN CalcFrameRegion(CQVTSkinObjectFrame* pFrame, CSize sz);
    // One non-client (or control) scroll bar of a frame.
    virtual BOOL DrawThemeScrollBar(CDC* pDC, CQVTSkinObjectFrame* pFrame,
                                    QVT_SKIN_SCROLLBARPOSINFO* pSBInfo);
    // The caption buttons placed and drawn; the right limit of the text.
    int DrawCaptionButtons(CDC* pDC, CRect rc, CQVTSkinObjectFrame* pFrame);
    void DrawFrameBorders(CDC* pDC, CRect& rc, CQVTSkinObjectFrame* pFrame);
    void DrawClientEdge(CDC* pDC, const CRect& rc, CQVTSkinObjectFrame* pFrame);
    // Forgets the cached frame regions.
    void FreeFrameRegions();

    CQVTSkinManagerMetrics* GetMetrics() const { return m_pMetrics.get(); }
    CQVTSkinManagerResourceFile* GetResourceFile() const { return m_pResourceFile; }
    CQVTSkinManagerSite* GetSite() const;
    BOOL IsAlphaConversion() const { return m_bAlphaConversion; }
    UINT GetGlobalsClass() const { return m_nGlobalsClass; }
    UINT GetWindowClass() const { return m_nWindowClass; }
    int GetPropertyCount();

private:
    void RemoveProperties();
    void ParseLine(CString strLine, UINT* pnSection);
    BOOL DrawBorderFill(CDC* pDC, CQVTSkinManagerClass* pClass, int nPart, int nState, const RECT* pRect);
    CQVTSkinImage* GetBackgroundImage(CQVTSkinManagerClass* pClass, int nPart, int nState);

    std::map<UINT, std::unique_ptr<CQVTSkinManagerSchemaProperty>> m_properties;  // key: section + id
    CQVTSkinManagerResourceFile* m_pResourceFile;  // a reference held for the schema's life
    std::unique_ptr<CQVTSkinManagerMetrics> m_pMetrics;
    CRITICAL_SECTION m_cs;
    BOOL m_bAlphaConversion = TRUE;  // FALSE when DOCUMENTATION's ALPHALEVEL is 255
    UINT m_nGlobalsClass = 1;
    UINT m_nWindowClass = 6;
    std::map<std::u16string, std::unique_ptr<CQVTSkinManagerClass>> m_classes;  // by upper-cased name

public:
    // The transparent edges of a frame kind at one size: the runs at the
    // left of each frame part and those at the right (relative to the right
    // edge), in window coordinates.
    struct FRAMEREGION
    {
        BOOL bToolWindow;
        CSize szWindow;
        CRect rcBorders;
        CRgn rgnLeft;
        CRgn rgnRight;
    };

private:
    FRAMEREGION* GetFrameRegion(CQVTSkinObjectFrame* pFrame, CSize sz, BOOL bToolWindow);
    std::vector<std::unique_ptr<FRAMEREGION>> m_frameRegions;
};
