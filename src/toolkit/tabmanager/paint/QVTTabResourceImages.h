// The resource image set as tab strips read it: whether one is loaded,
// frames of its named images, and colours of its INI text.
#pragma once

#include <afxwin.h>

BOOL AFXAPI QVTTabResourceImagesLoaded();
// Draws frame nFrame of nFrames stacked in the named image, stretched into
// rcDest with unstretched margins, magenta transparent. FALSE when the set
// has no such image.
BOOL AFXAPI QVTTabDrawResourceImage(CDC* pDC, LPCTSTR lpszImage, const CRect& rcDest, int nFrame, int nFrames,
                                    const CRect& rcMargins);
// The colour of a key (three decimal numbers), or clrDefault when no set is
// loaded or the key is missing; "-1" is no colour, other values the set's
// reading of them.
COLORREF AFXAPI QVTTabResourceColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault);
