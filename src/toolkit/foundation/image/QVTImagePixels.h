// Pixel buffers shared by the image manager's files and the resource images:
// 32-bit pixels (blue, green, red, alpha) in bottom-up rows, as GetDIBits
// gives them for a positive height.
#pragma once

#include <afxwin.h>

#include <vector>

namespace QVTImagePixels {

// Any bitmap's pixels converted to 32 bits; FALSE for a null or unreadable one.
BOOL Read(HBITMAP hBitmap, std::vector<DWORD>& pixels, CSize& size);
// A bottom-up 32-bit DIB section holding the pixels.
HBITMAP CreateSection(const DWORD* pPixels, int cx, int cy, LPBYTE* lpBits = nullptr);
void Premultiply(DWORD* pPixels, size_t nCount);
DWORD PremultiplyPixel(DWORD dwPixel);
void MirrorRows(DWORD* pPixels, int cx, int cy);

// Scoped memory DC with one bitmap selected.
class CQVTSelectedBitmapDC
{
public:
    CQVTSelectedBitmapDC(HDC hCompatible, HBITMAP hBitmap);
    ~CQVTSelectedBitmapDC();
    CQVTSelectedBitmapDC(const CQVTSelectedBitmapDC&) = delete;
    CQVTSelectedBitmapDC& operator=(const CQVTSelectedBitmapDC&) = delete;
    operator HDC() const { return m_hDC; }
    BOOL IsValid() const { return m_hDC != nullptr; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};

// Deletes a GDI object when it goes.
class CQVTGdiObjectOwner
{
public:
    explicit CQVTGdiObjectOwner(HGDIOBJ hObject = nullptr) : m_hObject(hObject) {}
    ~CQVTGdiObjectOwner()
    {
        if (m_hObject)
            ::DeleteObject(m_hObject);
    }
    CQVTGdiObjectOwner(const CQVTGdiObjectOwner&) = delete;
    CQVTGdiObjectOwner& operator=(const CQVTGdiObjectOwner&) = delete;
    HGDIOBJ Detach()
    {
        HGDIOBJ h = m_hObject;
        m_hObject = nullptr;
        return h;
    }
    HGDIOBJ Get() const { return m_hObject; }

private:
    HGDIOBJ m_hObject;
};

}  // namespace QVTImagePixels
