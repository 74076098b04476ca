// The rounded highlight frame of the Visual Studio themes: one-pixel edges
// that stop three pixels short of each corner, the corner's diagonal pixel
// set, and the two edge pixels beside each corner gap blended into what lies
// beneath, at 60 and 120 of 255, so that the corner looks round.
#pragma once

#include <afxwin.h>

void AFXAPI QVTDrawRoundedFrame(CDC* pDC, const CRect& rc, COLORREF clrFrame);

// clr over clrBelow at nAlpha of 255, per channel and rounded.
COLORREF AFXAPI QVTBlendOver(COLORREF clr, COLORREF clrBelow, int nAlpha);
