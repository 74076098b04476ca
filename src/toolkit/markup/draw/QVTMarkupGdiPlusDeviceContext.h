// The device context that draws markup through GDI+ on one graphics object:
// alpha in every colour, the drawing context's opacity, dashed and capped
// pens, gradients with any number of stops, world transforms and GDI+ text.
// It keeps the GDI device context's fields (opacity, smoothing mode) and its
// rounded-rectangle operations, which end in this class's DrawPath.
#pragma once

#include "toolkit/markup/draw/QVTGdiPlus.h"
#include "toolkit/markup/draw/QVTMarkupDeviceContext.h"

#include <memory>
#include <vector>

class CQVTMarkupGdiPlusImage;
struct CQVTMarkupTextPixels;
struct CQVTMarkupTextScratch;
struct CQVTMarkupGlyph;
struct CQVTMarkupGlyphFont;

class CQVTMarkupGdiPlusDeviceContext : public CQVTMarkupDeviceContext
{
    DECLARE_DYNAMIC(CQVTMarkupGdiPlusDeviceContext)

public:
    // An HDC for GDI code over a transparent 32-bit bitmap of the rectangle's
    // visible part, composited onto the graphics when flushed: GDI drawing
    // lands in the GDI+ frame, transformed and with the opacity of the pixels
    // it drew. A huge element costs what shows of it, not its size.
    class DedicatedDC : public CQVTMarkupDedicatedDC
    {
    public:
        DedicatedDC(CQVTMarkupGdiPlusDeviceContext* pOwner, const RECT& rc);
        ~DedicatedDC() override;

        // Drawing on it uses the element's own coordinates.
        HDC GetDC() override;
        void Flush() override;

    private:
        HBITMAP m_hBitmap;  // 32-bit top-down section of m_rcBitmap's size
        DWORD* m_pBits;
        HGDIOBJ m_hOldBitmap;
        RECT m_rcBitmap;  // the rectangle within the clip box, element coordinates
    };

    // A graphics object on the output DC (on the attribute DC's device when
    // the two differ), in pixels; null when GDI+ cannot draw there.
    static Gdiplus::GpGraphics* AFX_CDECL CreateGraphics(HDC hDC, HDC hAttribDC);

    // Takes the graphics object; a borrowed one is not deleted. hSurface is
    // the DC it was made on, when made on one DC alone.
    CQVTMarkupGdiPlusDeviceContext(Gdiplus::GpGraphics* pGraphics, BOOL bBorrowed, HDC hSurface = nullptr);
    ~CQVTMarkupGdiPlusDeviceContext() override;

    CQVTMarkupTransformationMatrix* GetTransform() override;
    void SetTransform(CQVTMarkupTransformationMatrix* pMatrix) override;
    void OffsetViewport(POINT pt) override;
    int SetSmoothingMode(int nMode, int nTextFlag) override;
    CQVTMarkupDedicatedDC* CreateDedicatedDC(const RECT& rc) override;
    CQVTMarkupDeviceDependentImage* CreateDeviceDependentImage(
        IQVTMarkupDeviceDependentImageSite* pSite) override;
    void DrawEllipse(const RECT& rc, const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill) override;
    void DrawRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                       const CQVTMarkupThickness* pThickness) override;
    void FillRectangle(const RECT& rc, CQVTMarkupBrush* pBrush) override;
    void DrawLine(int x1, int y1, int x2, int y2, const CQVTMarkupStroke* pStroke) override;
    void DrawPolylineF(const Gdiplus::PointF* pPoints, int nCount, const CQVTMarkupStroke* pStroke) override;
    void DrawPolyline(const POINT* pPoints, int nCount, const CQVTMarkupStroke* pStroke) override;
    void DrawPolygonF(const Gdiplus::PointF* pPoints, int nCount, const CQVTMarkupStroke* pStroke,
                      CQVTMarkupBrush* pFill) override;
    void DrawPolygon(const POINT* pPoints, int nCount, const CQVTMarkupStroke* pStroke,
                     CQVTMarkupBrush* pFill) override;
    void DrawPath(CQVTMarkupPathData* pPath, const CQVTMarkupStroke* pStroke,
                  CQVTMarkupBrush* pFill) override;
    void DrawImage(CQVTMarkupDeviceDependentImage* pImage, const RECT& rc) override;
    void DrawIcon(CQVTImageManagerIcon* pIcon, const RECT& rc) override;
    void DrawTextLine(LPCWSTR lpszText, int nLength, const RECT& rc) override;
    void GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize) override;
    SIZE GetTextExtent(LPCWSTR lpszText, int nLength) override;
    void SetTextColor(CQVTMarkupBrush* pBrush) override;
    void SetFont(CQVTMarkupFont* pFont) override;
    BOOL GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent) override;
    void IntersectClipRect(const RECT& rc) override;
    void GetClipBox(RECT* pRect) override;
    void* SaveClipRegion() override;
    void RestoreClipRegion(void* pSaved) override;
    HDC GetDC() override;
    void ReleaseDC(HDC hDC) override;

    Gdiplus::GpGraphics* GetGraphics() const { return m_pGraphics; }
    // The status of the last text measurement.
    Gdiplus::GpStatus MeasureText(LPCWSTR lpszText, int nLength, float* pSize);

    // A GDI+ brush for the markup brush over a rectangle, with the opacity
    // applied; none for brushes GDI+ cannot draw.
    QVTGdiPlus::CGpBrush CreateBrush(CQVTMarkupBrush* pBrush, float x, float y, float cx, float cy);
    // A pen for the stroke over a rectangle; none without a stroke brush.
    QVTGdiPlus::CGpPen CreatePen(const CQVTMarkupStroke* pStroke, float x, float y, float cx, float cy);
    // The alpha byte of an ARGB colour scaled by the opacity.
    Gdiplus::ARGB ApplyOpacity(Gdiplus::ARGB argb) const;

protected:
    // From the clip box in world coordinates: GDI+ under Wine overflows its
    // stack on figures far larger than any surface.
    CGeometryLimits GetGeometryLimits() override;

private:
    // GDI+ draws on a memory DC's 32-bit DIB pixel by pixel, several calls a
    // pixel. Where the world transform only moves by whole pixels, opaque
    // fills, and text in one colour over one opaque colour, are written into
    // the bits here, with the values GDI+ writes.
    struct CSurface
    {
        BYTE* pRow0 = nullptr;  // the top row's pixels; null: not written directly
        ptrdiff_t nStride = 0;  // bytes from one row to the next, down the picture
        int cx = 0;
        int cy = 0;
        POINT ptDevice = {0, 0};  // the DC's own offset when the graphics was made
    };
    void AttachSurface(HDC hDC);
    // Device pixels of world point (0, 0); FALSE unless the transform is a move by whole pixels.
    BOOL GetDeviceOffset(POINT* pOffset);
    // The clip as device rectangles within the surface; null when unknown.
    const std::vector<RECT>* GetDeviceClip(POINT ptOffset);
    BOOL GetClipBoxDirect(RECT* pRect);
    BOOL FillDirect(const RECT& rc, Gdiplus::ARGB argb);
    BOOL DrawTextDirect(LPCWSTR lpszText, int nLength, const RECT& rc);
    // Copies a kept line where it lies whole in one clip rectangle over its colour.
    BOOL PutTextPixels(const CQVTMarkupTextPixels& line, const RECT& rcLayout, DWORD dwBack,
                       const std::vector<RECT>& clip);
    // Composes the line from kept glyphs as GDI+ would draw it; FALSE where
    // GDI+ might draw it otherwise.
    BOOL ComposeText(LPCWSTR lpszText, int nLength, int cx, const LOGFONTW& lf, DWORD dwBack,
                     CQVTMarkupTextPixels& line);
    // Draws the line with GDI+ on a DIB of its own, over the colour beneath.
    void DrawTextAside(LPCWSTR lpszText, int nLength, int cx, int cy, DWORD dwBack,
                       CQVTMarkupTextPixels& line);
    // The box of what differs from the colour beneath, unless it reaches the
    // edge of the cx by cy pixels scanned (rows nStride pixels apart).
    static void KeepTextPixels(const DWORD* pixels, int nStride, int cxBitmap, int cyBitmap, int nMargin,
                               DWORD dwBack, CQVTMarkupTextPixels& line);
    DWORD* PixelAt(int x, int y) const
    {
        return reinterpret_cast<DWORD*>(m_surface.pRow0 + y * m_surface.nStride) + x;
    }

    // Points held within the limits, as floats.
    static std::vector<Gdiplus::PointF> HeldPoints(const CGeometryLimits& limits,
                                                   const Gdiplus::PointF* pPoints, int nCount);
    static RECT HeldRect(const CGeometryLimits& limits, const RECT& rc);
    // A path of the same figures with every cubic curve as short lines.
    static QVTGdiPlus::CGpPath CreateLinePath(const Gdiplus::PointF* pPoints, const BYTE* pTypes, int nCount);
    static QVTGdiPlus::CGpPath CreateEllipseLinePath(float x, float y, float cx, float cy);
    void ApplyQualitySettings();
    // A copy of the GDI+ font for the LOGFONT, made once for the process.
    QVTGdiPlus::CGpFont CachedFont(const LOGFONTW& lf);
    // The text font, made from the DC's selected font on first use.
    Gdiplus::GpFont* GetTextFont();
    // Draws a GDI+ image into the rectangle with the opacity and, for a
    // picture without alpha, the colour key.
    void DrawGdiPlusImage(Gdiplus::GpImage* pImage, UINT cx, UINT cy, const RECT& rc, BOOL bColorKey,
                          COLORREF clrKey);

    int m_nPixelOffsetMode;    // GDI+ PixelOffsetMode the settings use
    int m_nGpSmoothingMode;    // GDI+ SmoothingMode
    int m_nInterpolationMode;  // GDI+ InterpolationMode
    int m_nTextRenderingHint;  // GDI+ TextRenderingHint
    BOOL m_bBorrowed;          // the graphics belongs to someone else
    Gdiplus::GpGraphics* m_pGraphics;
    QVTGdiPlus::CGpFont m_font;            // text font, made on demand
    QVTGdiPlus::CGpBrush m_textBrush;      // none: text is not drawn
    QVTGdiPlus::CGpStringFormat m_format;  // generic typographic, one line
    Gdiplus::ARGB m_argbText;              // the text brush's colour when solid
    BOOL m_bTextSolid;                     // the text brush is one colour
    CSurface m_surface;
    QVTGdiPlus::CGpMatrix m_matrix;  // read back the world transform into
    std::vector<RECT> m_clip;        // the clip in device pixels, when m_bClipKnown
    BOOL m_bClipKnown;
    // The DIB, DC and graphics new text lines are drawn on, kept for the
    // next line.
    std::shared_ptr<CQVTMarkupTextScratch> m_pTextScratch;
    // The glyphs of the last font composed with, and the last line's glyphs
    // and coverage, kept for the next line.
    std::shared_ptr<CQVTMarkupGlyphFont> m_pGlyphFont;
    std::vector<const CQVTMarkupGlyph*> m_glyphs;
    std::vector<BYTE> m_mask;
};
