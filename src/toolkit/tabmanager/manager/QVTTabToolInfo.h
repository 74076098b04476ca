// Fills the record a window's OnToolHitTest answers with, for a rectangle
// of a tab strip.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

// The text is copied with malloc, as the framework frees it.
void AFXAPI QVTTabFillInToolInfo(TOOLINFO* pTI, CWnd* pWnd, const CRect& rc, INT_PTR nID, LPCTSTR lpszText,
                                 LPCTSTR lpszDescription);
