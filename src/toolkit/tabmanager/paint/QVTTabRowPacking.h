// Distributing the items of a multi-row tab strip over its rows, from their
// lengths alone. Both packings give every item a row; row 0 lies next to the
// client area.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTTabRowPacking
{
public:
    // Rows of a first-fit filling: a row ends when the next item would
    // pass the available length and the row holds something.
    static int AFX_CDECL CountRows(const std::vector<int>& arrLengths, int nAvailable);

    // Fills rows in item order from row 0, each up to its limit (the
    // available length, or with bJustify the remaining length shared by
    // the remaining rows); at an item that passes the limit the rest is
    // tried on the next rows first. The outcome of a row starting at an
    // item never changes, so each is worked out once: the rows come out as
    // an exhaustive search would give them, in time bounded by rows x items
    // x items per row. FALSE when no distribution fits.
    static BOOL AFX_CDECL PackBacktracking(const std::vector<int>& arrLengths, int nRows, int nAvailable,
                                           BOOL bJustify, std::vector<int>& arrRowOfItem);

    // Fills from the outermost row (the first items) towards row 0, which
    // takes the rest; an item that passes a row's limit still joins a short
    // row. Returns the number of rows used.
    static int AFX_CDECL PackBalanced(const std::vector<int>& arrLengths, int nRows, int nAvailable,
                                      BOOL bJustify, std::vector<int>& arrRowOfItem);
};
