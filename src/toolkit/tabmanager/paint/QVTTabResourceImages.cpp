#include "toolkit/tabmanager/paint/QVTTabResourceImages.h"

// Filled when the foundation's resource image set exists (QVTResourceImages,
// IsValid, LoadFile, GetSource, DrawImageColorKeyed, GetIniColor). Until
// then no set is loaded: images are missing and colours take their defaults.

BOOL AFXAPI QVTTabResourceImagesLoaded()
{
    return FALSE;
}

BOOL AFXAPI QVTTabDrawResourceImage(CDC* /*pDC*/, LPCTSTR /*lpszImage*/, const CRect& /*rcDest*/,
                                    int /*nFrame*/, int /*nFrames*/, const CRect& /*rcMargins*/)
{
    return FALSE;
}

COLORREF AFXAPI QVTTabResourceColor(LPCTSTR /*lpszSection*/, LPCTSTR /*lpszKey*/, COLORREF clrDefault)
{
    return clrDefault;
}
