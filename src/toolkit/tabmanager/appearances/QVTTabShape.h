// Shapes of tab items are told for the top position; this turns them for
// an item of any position: u runs along the strip from the item's start, v
// across it from the outer edge towards the client area.
#pragma once

#include <afxwin.h>

#include <functional>

class CQVTTabShape
{
public:
    CQVTTabShape(const CRect& rcItem, int nPosition) : m_rc(rcItem), m_nPosition(nPosition) {}

    // Extent along the strip and across it.
    int Along() const;
    int Across() const;
    CPoint Map(int u, int v) const;
    // The pixels u0..u1-1 by v0..v1-1.
    CRect MapRect(int u0, int v0, int u1, int v1) const;

    void FillRect(CDC* pDC, int u0, int v0, int u1, int v1, COLORREF clr) const;
    // A line of pixels along (v fixed) or across (u fixed); none draws nothing.
    void LineAlong(CDC* pDC, int u, int v, int nLength, COLORREF clr) const;
    void LineAcross(CDC* pDC, int u, int v, int nLength, COLORREF clr) const;
    void Pixel(CDC* pDC, int u, int v, COLORREF clr) const;
    // Mixes the pixel with clr, clr weighted nWeight of 255.
    void BlendPixel(CDC* pDC, int u, int v, COLORREF clr, int nWeight) const;

    const CRect& GetRect() const { return m_rc; }
    int GetPosition() const { return m_nPosition; }

private:
    CRect m_rc;
    int m_nPosition;
};

// rc longer along the strip by nBefore at its start and nAfter at its end.
CRect AFXAPI QVTTabWidenAlong(CRect rc, int nPosition, int nBefore, int nAfter);

// A 32-bit section read and written as rows from the top.
class CQVTTabPixelBlock
{
public:
    CQVTTabPixelBlock(int cx, int cy);
    ~CQVTTabPixelBlock();
    CQVTTabPixelBlock(const CQVTTabPixelBlock&) = delete;
    CQVTTabPixelBlock& operator=(const CQVTTabPixelBlock&) = delete;

    BOOL IsValid() const { return m_pBits != nullptr; }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    // Sections are stored bottom-up.
    DWORD& At(int x, int y) { return m_pBits[(m_cy - 1 - y) * m_cx + x]; }

private:
    HBITMAP m_hBitmap = nullptr;
    DWORD* m_pBits = nullptr;
    int m_cx, m_cy;
};

// Draws with drawTop as if the rectangle lay at the top position, then moves
// the pixels onto rc: turned for side strips, mirrored for the bottom. What
// lay under rc shows through where drawTop draws nothing.
void AFXAPI QVTTabDrawTurned(CDC* pDC, const CRect& rc, int nPosition,
                             const std::function<void(CDC*, CRect)>& drawTop);

// Helpers every appearance draws with.
namespace QVTTabDraw {
// A one-pixel frame, light top-left and dark bottom-right; none skips a side.
void Draw3dRect(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight);
void FrameRect(CDC* pDC, const CRect& rc, COLORREF clr);
// The side of a rectangle that faces the header of a strip at nPosition.
CRect HeaderSide(const CRect& rc, int nPosition, int nWidth = 1);
// A one-pixel line between two points, both ends drawn; none draws nothing.
void Line(CDC* pDC, CPoint ptFrom, CPoint ptTo, COLORREF clr);
}  // namespace QVTTabDraw
