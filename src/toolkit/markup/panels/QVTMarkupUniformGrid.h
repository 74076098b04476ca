// A panel of equal cells filled row by row, optionally from a first column;
// rows or columns left unset follow from the number of visible children.
#pragma once

#include "toolkit/markup/panels/QVTMarkupPanel.h"

class CQVTMarkupUniformGrid : public CQVTMarkupPanel
{
    DECLARE_MARKUPCLASS(CQVTMarkupUniformGrid)

public:
    CQVTMarkupUniformGrid();

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    // The values the last measure used.
    int GetEffectiveColumns() const { return m_nColumns; }
    int GetEffectiveRows() const { return m_nRows; }
    int GetEffectiveFirstColumn() const { return m_nFirstColumn; }

    static CQVTMarkupDependencyProperty* m_pFirstColumnProperty;
    static CQVTMarkupDependencyProperty* m_pColumnsProperty;
    static CQVTMarkupDependencyProperty* m_pRowsProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    void UpdateComputedValues();

    int m_nColumns;      // at least 1: the layout divides by it
    int m_nRows;         // at least 1
    int m_nFirstColumn;  // within the first row

private:
    long GetColumnsProperty();
    void SetColumnsProperty(long nValue);
    long GetRowsProperty();
    void SetRowsProperty(long nValue);
    long GetFirstColumnProperty();
    void SetFirstColumnProperty(long nValue);
    DECLARE_DISPATCH_MAP()
};
