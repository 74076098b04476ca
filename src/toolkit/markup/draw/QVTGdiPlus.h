// Owners of the GDI+ objects markup draws with. The platform offers only the
// flat API (Gdip* functions on opaque pointers); each object here holds one
// such pointer and deletes it with the matching function, so no path through
// a drawing operation leaks a brush, pen, path or image.
#pragma once

#include <afxwin.h>
#include <gdiplus.h>

#include <type_traits>

namespace QVTGdiPlus {
using namespace Gdiplus::DllExports;
using Gdiplus::GpStatus;

// GDI+ is started once per process on first use and left running: the
// process's own start-up may start it too, and GDI+ counts the starts.
BOOL AFXAPI EnsureStarted();

// One owned GDI+ object, deleted by pfnDelete; move-only. The deleter is an
// auto parameter: gcc ignores the calling convention of a parameter of the
// flat API's function-pointer type, and says so for every owner type.
template <class T, auto pfnDelete>
class CHandle
{
    static_assert(std::is_same_v<decltype(pfnDelete(static_cast<T*>(nullptr))), GpStatus>,
                  "the flat API's deleter of T");

public:
    CHandle() = default;
    explicit CHandle(T* p) : m_p(p) {}
    ~CHandle() { Reset(); }
    CHandle(CHandle&& other) noexcept : m_p(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    T* Get() const { return m_p; }
    operator T*() const { return m_p; }
    // For the flat API's out parameters: the previous object is deleted first.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset(T* p = nullptr)
    {
        if (m_p != nullptr)
            pfnDelete(m_p);
        m_p = p;
    }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

typedef CHandle<Gdiplus::GpGraphics, &GdipDeleteGraphics> CGpGraphics;
typedef CHandle<Gdiplus::GpMatrix, &GdipDeleteMatrix> CGpMatrix;
typedef CHandle<Gdiplus::GpBrush, &GdipDeleteBrush> CGpBrush;
typedef CHandle<Gdiplus::GpPen, &GdipDeletePen> CGpPen;
typedef CHandle<Gdiplus::GpPath, &GdipDeletePath> CGpPath;
typedef CHandle<Gdiplus::GpFont, &GdipDeleteFont> CGpFont;
typedef CHandle<Gdiplus::GpFontFamily, &GdipDeleteFontFamily> CGpFontFamily;
typedef CHandle<Gdiplus::GpStringFormat, &GdipDeleteStringFormat> CGpStringFormat;
typedef CHandle<Gdiplus::GpImage, &GdipDisposeImage> CGpImage;
typedef CHandle<Gdiplus::GpImageAttributes, &GdipDisposeImageAttributes> CGpImageAttributes;
typedef CHandle<Gdiplus::GpRegion, &GdipDeleteRegion> CGpRegion;

inline Gdiplus::RectF MakeRectF(float x, float y, float cx, float cy)
{
    Gdiplus::RectF rc;
    rc.X = x;
    rc.Y = y;
    rc.Width = cx;
    rc.Height = cy;
    return rc;
}

inline Gdiplus::Rect MakeRect(int x, int y, int cx, int cy)
{
    Gdiplus::Rect rc;
    rc.X = x;
    rc.Y = y;
    rc.Width = cx;
    rc.Height = cy;
    return rc;
}

// A solid brush of an ARGB colour, or none.
CGpBrush AFXAPI CreateSolidFill(Gdiplus::ARGB argb);
// An identity matrix, or none.
CGpMatrix AFXAPI CreateMatrix();
// A copy of the matrix, or none.
CGpMatrix AFXAPI CloneMatrix(Gdiplus::GpMatrix* pMatrix);
}  // namespace QVTGdiPlus
