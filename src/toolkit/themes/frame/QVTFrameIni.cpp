#include "toolkit/themes/frame/QVTFrameIni.h"

#include <stdio.h>

#include "toolkit/foundation/image/QVTResourceImages.h"

namespace QVTFrameIni {

BOOL ReadInts(LPCTSTR lpszSection, LPCTSTR lpszKey, int* pValues, int nCount)
{
    const CStringA strText(GetResourceImagesIniString(lpszSection, lpszKey, _T("")));
    const char* p = strText;
    int values[4] = {};
    if (nCount < 1 || nCount > 4)
        return FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        int nUsed = 0;
        // Values beyond a screen's size are damage, not metrics: refusing
        // them keeps the arithmetic on them far from overflow.
        long nValue = 0;
        if (sscanf(p, " %ld%n", &nValue, &nUsed) != 1 || nValue < -100000 || nValue > 100000)
            return FALSE;
        values[i] = static_cast<int>(nValue);
        p += nUsed;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p)
        return FALSE;
    for (int i = 0; i < nCount; ++i)
        pValues[i] = values[i];
    return TRUE;
}

int ReadInt(LPCTSTR lpszSection, LPCTSTR lpszKey, int nDefault)
{
    int n = nDefault;
    ReadInts(lpszSection, lpszKey, &n, 1);
    return n;
}

COLORREF ReadColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault)
{
    int rgb[3] = {};
    if (ReadInts(lpszSection, lpszKey, rgb, 3))
    {
        for (int n : rgb)
            if (n < 0 || n > 255)
                return clrDefault;
        return RGB(rgb[0], rgb[1], rgb[2]);
    }
    int n = 0;
    if (ReadInts(lpszSection, lpszKey, &n, 1) && n == -1)
        return 0xFFFFFFFF;
    return clrDefault;
}

HRGN CreateRegionFromRects(const CRect* pRects, int nCount)
{
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; hRegion && i < nCount; ++i)
    {
        const CRect& rc = pRects[i];
        if (rc.left >= rc.right || rc.top >= rc.bottom)
            continue;
        HRGN hPiece = ::CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom);
        if (hPiece)
        {
            ::CombineRgn(hRegion, hRegion, hPiece, RGN_OR);
            ::DeleteObject(hPiece);
        }
    }
    return hRegion;
}

}  // namespace QVTFrameIni
