// The newest rich-edit window class the system can give.
#pragma once

#include <afx.h>

enum QVTRichEditSearch
{
    qvtRichEditThisRow = 0,    // only the given row
    qvtRichEditDownToRow = 1,  // newest row down to the given one
    qvtRichEditAnyRow = 2      // newest row down to the oldest
};

// Rows, oldest first: 1.0, 2.0, 3.0, 3.1, 4.0, 4.1, 5.0, 6.0, 7.0.
const int QVT_RICHEDIT_ROWS = 9;

// TRUE when a row's DLL loads and its class is registered; nIndex is set to
// that row and *pWndClass (when given) receives the class with the DLL as its
// instance.
BOOL AFXAPI FindRichEditClass(int nMode, int& nIndex, WNDCLASSW* pWndClass);
