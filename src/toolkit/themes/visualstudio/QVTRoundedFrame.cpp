#include "toolkit/themes/visualstudio/QVTRoundedFrame.h"

COLORREF AFXAPI QVTBlendOver(COLORREF clr, COLORREF clrBelow, int nAlpha)
{
    auto channel = [nAlpha](int c, int below) { return (c * nAlpha + below * (255 - nAlpha) + 127) / 255; };
    return RGB(channel(GetRValue(clr), GetRValue(clrBelow)), channel(GetGValue(clr), GetGValue(clrBelow)),
               channel(GetBValue(clr), GetBValue(clrBelow)));
}

void AFXAPI QVTDrawRoundedFrame(CDC* pDC, const CRect& rc, COLORREF clrFrame)
{
    // Too small for rounded corners: a plain frame.
    if (rc.Width() < 7 || rc.Height() < 7)
    {
        if (!rc.IsRectEmpty())
            pDC->Draw3dRect(rc, clrFrame, clrFrame);
        return;
    }
    const int l = rc.left, t = rc.top, r = rc.right - 1, b = rc.bottom - 1;
    pDC->FillSolidRect(l + 3, t, rc.Width() - 6, 1, clrFrame);
    pDC->FillSolidRect(l + 3, b, rc.Width() - 6, 1, clrFrame);
    pDC->FillSolidRect(l, t + 3, 1, rc.Height() - 6, clrFrame);
    pDC->FillSolidRect(r, t + 3, 1, rc.Height() - 6, clrFrame);

    auto blend = [&](int x, int y, int nAlpha) {
        const COLORREF clrBelow = pDC->GetPixel(x, y);
        if (clrBelow != CLR_INVALID)
            pDC->SetPixel(x, y, QVTBlendOver(clrFrame, clrBelow, nAlpha));
    };
    // Corners as (x, y, step along x, step along y) towards the inside.
    const int corners[4][4] = {{l, t, 1, 1}, {r, t, -1, 1}, {l, b, 1, -1}, {r, b, -1, -1}};
    for (const auto& c : corners)
    {
        const int x = c[0], y = c[1], dx = c[2], dy = c[3];
        pDC->SetPixel(x + dx, y + dy, clrFrame);
        blend(x + dx, y, 60);
        blend(x + 2 * dx, y, 120);
        blend(x, y + dy, 60);
        blend(x, y + 2 * dy, 120);
    }
}
