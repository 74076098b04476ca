// Showing and hiding command-bar controls by kind and id across every bar.
#pragma once

#include <afx.h>

class CQVTCommandBars;

// Walks the bars from the last to the first, and each bar's controls in
// order, into the bars that controls own, to any depth; each control of the
// type (0: any) and id (-1: any) is shown or hidden.
void AFXAPI EnableCommandBarControls(CQVTCommandBars* pCommandBars, int nType, int nId, BOOL bShow);
