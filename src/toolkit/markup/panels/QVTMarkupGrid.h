// The table layout panel: columns and rows sized in pixels, to content
// (Auto) or by star shares of what is left; children placed in cells by the
// attached Column, Row, ColumnSpan and RowSpan. Measuring runs over four
// groups of cells so that automatic and star sizes resolve in a sound order.
#pragma once

#include <vector>

#include "toolkit/markup/panels/QVTMarkupGridDefinitions.h"
#include "toolkit/markup/panels/QVTMarkupPanel.h"

class CQVTMarkupGrid : public CQVTMarkupPanel
{
    DECLARE_MARKUPCLASS(CQVTMarkupGrid)

public:
    CQVTMarkupGrid();
    ~CQVTMarkupGrid() override;

    void SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                           CQVTMarkupObject* pValue) override;
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    CQVTMarkupColumnDefinitionCollection* GetColumnDefinitions() const { return m_pColumns; }
    CQVTMarkupRowDefinitionCollection* GetRowDefinitions() const { return m_pRows; }
    // The definitions the last measure laid out (the user's, or one implicit star).
    CQVTMarkupDefinitionCollection* GetColumnsInUse() const { return m_pColumnsInUse; }
    CQVTMarkupDefinitionCollection* GetRowsInUse() const { return m_pRowsInUse; }

    // Column and Row read 0 when unset; the spans read 1 when unset or below 1.
    static int AFX_CDECL GetColumn(CQVTMarkupObject* pElement);
    static int AFX_CDECL GetRow(CQVTMarkupObject* pElement);
    static int AFX_CDECL GetColumnSpan(CQVTMarkupObject* pElement);
    static int AFX_CDECL GetRowSpan(CQVTMarkupObject* pElement);
    static void AFX_CDECL SetColumn(CQVTMarkupObject* pElement, int nValue);
    static void AFX_CDECL SetRow(CQVTMarkupObject* pElement, int nValue);
    static void AFX_CDECL SetColumnSpan(CQVTMarkupObject* pElement, int nValue);
    static void AFX_CDECL SetRowSpan(CQVTMarkupObject* pElement, int nValue);

    static CQVTMarkupDependencyProperty* m_pColumnDefinitionsProperty;
    static CQVTMarkupDependencyProperty* m_pRowDefinitionsProperty;
    static CQVTMarkupDependencyProperty* m_pColumnProperty;
    static CQVTMarkupDependencyProperty* m_pRowProperty;
    static CQVTMarkupDependencyProperty* m_pColumnSpanProperty;
    static CQVTMarkupDependencyProperty* m_pRowSpanProperty;

private:
    struct CCell
    {
        int nColumn;
        int nRow;
        int nColumnSpan;
        int nRowSpan;
        int nColumnTypes;  // the size types of its columns, united
        int nRowTypes;
        int nNext;  // the next cell of its group
    };
    // A minimum size asked of a range of several definitions.
    struct SPANKEY
    {
        int nCount;
        int nStart;
        BOOL bColumn;
        int nRequested;
    };
    enum
    {
        kEmptyGroup = 2147483647,
        // Wider than this, star columns are measured as automatic ones.
        kStarLimit = 32000
    };

    static void AFX_CDECL RegisterMarkupProperties();
    static void AFX_CDECL OnCellChanged(CQVTMarkupObject* pObject, CQVTMarkupPropertyChangedEventArgs* pArgs);

    void ValidateDefinitionsStructure();
    static void AFX_CDECL ValidateDefinitionsLayout(CQVTMarkupDefinitionCollection* pDefinitions,
                                                    BOOL bStarsAsAuto);
    void ValidateCells();
    static int AFX_CDECL GetLengthTypeForRange(CQVTMarkupDefinitionCollection* pDefinitions, int nStart,
                                               int nCount);
    static int AFX_CDECL GetMeasureSizeForRange(CQVTMarkupDefinitionCollection* pDefinitions, int nStart,
                                                int nCount);
    static int AFX_CDECL GetFinalSizeForRange(CQVTMarkupDefinitionCollection* pDefinitions, int nStart,
                                              int nCount);
    void MeasureCell(CQVTMarkupDrawingContext* pDC, int nCell, BOOL bForceUnboundedHeight);
    void MeasureCellsGroup(CQVTMarkupDrawingContext* pDC, int nHead, BOOL bIgnoreDesiredWidth,
                           BOOL bForceUnboundedHeight);
    static void AFX_CDECL EnsureMinSizeInDefinitionRange(CQVTMarkupDefinitionCollection* pDefinitions,
                                                         int nStart, int nCount, int nRequested);
    static void AFX_CDECL ResolveStar(CQVTMarkupDefinitionCollection* pDefinitions, double dAvailable);
    static void AFX_CDECL SetFinalSize(CQVTMarkupDefinitionCollection* pDefinitions, int nFinal);
    static int AFX_CDECL CalculateDesiredSize(CQVTMarkupDefinitionCollection* pDefinitions);

    CQVTMarkupRowDefinitionCollection* m_pRows;        // the user's, counted; its logical parent is the grid
    CQVTMarkupColumnDefinitionCollection* m_pColumns;  // likewise
    std::vector<CCell> m_cells;                        // one per child, from the last measure
    int m_nGroupHeads[4];                              // first cell of groups 1 to 4
    BOOL m_bStarColumnCells;                           // some cell lies in a star column
    BOOL m_bStarRowCells;                              // some cell lies in a star row
    BOOL m_bAutoRowGroup3;                             // some group-3 cell lies in an Auto row
    CQVTMarkupDefinitionCollection* m_pColumnsInUse;   // counted
    CQVTMarkupDefinitionCollection* m_pRowsInUse;      // counted

private:
    LPDISPATCH GetColumnDefinitionsProperty();
    LPDISPATCH GetRowDefinitionsProperty();
    long GetColumnMethod(LPDISPATCH pElement);
    void SetColumnMethod(LPDISPATCH pElement, long nValue);
    long GetRowMethod(LPDISPATCH pElement);
    void SetRowMethod(LPDISPATCH pElement, long nValue);
    long GetColumnSpanMethod(LPDISPATCH pElement);
    void SetColumnSpanMethod(LPDISPATCH pElement, long nValue);
    long GetRowSpanMethod(LPDISPATCH pElement);
    void SetRowSpanMethod(LPDISPATCH pElement, long nValue);
    DECLARE_DISPATCH_MAP()
};
