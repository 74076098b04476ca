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
// The colour of a key (three decimal numbers), or clrDefault when the set,
// the key or a well-formed value is missing; "-1" is no colour.
COLORREF AFXAPI QVTTabResourceColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault);
