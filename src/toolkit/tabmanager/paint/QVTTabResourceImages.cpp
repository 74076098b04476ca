#include "toolkit/tabmanager/paint/QVTTabResourceImages.h"

#include "toolkit/foundation/image/QVTResourceImages.h"

BOOL AFXAPI QVTTabResourceImagesLoaded()
{
    return QVTResourceImages()->IsValid();
}

BOOL AFXAPI QVTTabDrawResourceImage(CDC* pDC, LPCTSTR lpszImage, const CRect& rcDest, int nFrame, int nFrames,
                                    const CRect& rcMargins)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->IsValid() &&
           pImages->DrawImageFrame(pDC, lpszImage, rcDest, nFrame, nFrames, rcMargins, RGB(255, 0, 255));
}

COLORREF AFXAPI QVTTabResourceColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault)
{
    CQVTResourceImages* pImages = QVTResourceImages();
    return pImages->IsValid() ? pImages->GetIniColor(lpszSection, lpszKey, clrDefault) : clrDefault;
}
