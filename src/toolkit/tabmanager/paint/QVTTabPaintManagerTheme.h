// The base of every tab appearance: the thickness of the header, where the
// client area begins, how the strip is laid out and drawn. Subclasses give
// one item and the client area their shape; colours come from the paint
// manager's colour set. The layouts (single row and multi-row) live in
// QVTTabPaintManagerThemeLayout.cpp, apart from the drawing.
#pragma once

#include <afxwin.h>

class CQVTTabManager;
class CQVTTabManagerItem;
class CQVTTabPaintManager;
class CQVTTabPaintManagerColorSet;

class CQVTTabPaintManagerTheme
{
public:
    // The parts DrawWorkspacePart draws around a strip.
    enum WorkspacePart
    {
        workspacePartBorder = 0,
        workspacePartVSplitter = 1,
        workspacePartVSplitterFill = 2,
        workspacePartHSplitterFill = 3,
        workspacePartWorkspace = 4,
    };

    CQVTTabPaintManagerTheme();
    virtual ~CQVTTabPaintManagerTheme();
    CQVTTabPaintManagerTheme(const CQVTTabPaintManagerTheme&) = delete;
    CQVTTabPaintManagerTheme& operator=(const CQVTTabPaintManagerTheme&) = delete;

    // Text height from the paint manager's normal font.
    virtual void RefreshMetrics();
    virtual CRect GetHeaderRect(CRect rcControl, CQVTTabManager* pTabManager);
    virtual CRect GetHeaderClipBox(CDC* pDC, CQVTTabManager* pTabManager);
    virtual CRect GetClientRect(CRect rcControl, CQVTTabManager* pTabManager);
    virtual CRect GetHeaderMargin();
    virtual CRect GetClientMargin();
    virtual int GetItemLength(CDC* pDC, CQVTTabManagerItem* pItem);
    virtual int GetRowHeight(CQVTTabManager* pTabManager);
    virtual CRect GetButtonDrawRect(const CQVTTabManagerItem* pItem);
    virtual void DrawTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcControl);
    // Draws the client area; returns its rectangle (empty in the base).
    virtual CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl);
    virtual void RepositionTabControl(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient);
    virtual void AdjustClientRect(CQVTTabManager* pTabManager, CRect& rcClient);
    virtual void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem);
    virtual void DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart);
    virtual DWORD GetCapabilityMask() const { return 0xFFFF; }
    virtual int GetDefaultColorSet() const;
    virtual int DrawText(CDC* pDC, CQVTTabManager* pTabManager, const CString& strText, LPRECT lpRect,
                         UINT nFormat);

    CQVTTabPaintManager* GetPaintManager() const { return m_pPaintManager; }
    void SetPaintManager(CQVTTabPaintManager* pPaintManager) { m_pPaintManager = pPaintManager; }
    CQVTTabPaintManagerColorSet* GetColorSet() const;
    int GetPosition() const;
    int GetFontHeight() const { return m_nFontHeight; }
    // Thickness of the header for the strip's rows; 0 while hidden.
    int GetHeaderHeight(CQVTTabManager* pTabManager);
    BOOL IsForwardOrder() const { return m_bForwardOrder; }

    // A one-pixel pen line: to pts[0], then by each further offset.
    static void AFX_CDECL DrawPolyLine(CDC* pDC, COLORREF clr, const POINT* pts, int nCount);
    // One line along a side of the rectangle: 0 top and 1 left in clrA, 2
    // bottom and 3 right in clrB; none (-1) draws nothing.
    static void AFX_CDECL DrawSingleLineBorder(CDC* pDC, CRect rc, int nPosition, COLORREF clrA,
                                               COLORREF clrB);
    // The client area filled and, by the paint manager's client frame
    // style, framed in the two colours (0) or lined on its header side (1).
    CRect FillFramedClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl, COLORREF clrTopLeft,
                           COLORREF clrBottomRight);
    // The DC's clip box within a header rectangle.
    static CRect AFX_CDECL ClipBoxWithin(CDC* pDC, const CRect& rcHeader);
    // Fills the polygon with the colour set's item fill for the item and
    // returns the colour used; points absolute or as accumulated offsets.
    COLORREF DrawPolygonGradient(CDC* pDC, CQVTTabManagerItem* pItem, const POINT* pts, int nCount,
                                 BOOL bAbsolute);

    CRect m_rcHeaderMargin;
    int m_nRowMargin = -2;         // between two rows of a multi-row header; negative overlaps
    BOOL m_bForwardOrder = FALSE;  // items before the selected one drawn from the first

protected:
    // The frame and control margin off rc; FALSE, with everything of the
    // strip placed nowhere, when the header is hidden.
    BOOL PrepareLayout(CQVTTabManager* pTabManager, CRect& rc);
    void RepositionSingleRow(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient);
    void RepositionMultiRow(CQVTTabManager* pTabManager, CDC* pDC, CRect rcClient);
    // Each strip button from the last to the first at the far end of the
    // header; returns the header less what they take.
    CRect RepositionNavigateButtons(CQVTTabManager* pTabManager, CRect rcHeader);
    // Leaves each item's natural length as its laid-out and content length
    // (plus nExtraLength laid out); invisible items have none.
    void MeasureItems(CQVTTabManager* pTabManager, CDC* pDC, int nExtraLength);
    // Size to fit: long items share what short ones leave.
    void ShrinkToFit(CQVTTabManager* pTabManager, int nAvailable);
    static void AFX_CDECL SetItemLengths(CQVTTabManagerItem* pItem, int nLength, int nContentLength);
    void DrawRow(CQVTTabManager* pTabManager, CDC* pDC, int nFirst, int nLast, const CRect& rcClipBox);
    void DrawItemIfVisible(CDC* pDC, CQVTTabManagerItem* pItem, const CRect& rcClipBox);

    int m_nFontHeight = 18;
    CQVTTabPaintManager* m_pPaintManager = nullptr;  // not owned
};
