// The surface markup elements measure and draw on: it owns one device
// context object, chosen when it is made, forwards every drawing operation
// to it, and keeps the little state the render pass needs between
// operations (the current font, a cached clip box, the text smoothing flag).
#pragma once

#include <afxwin.h>

#include <memory>

#include "toolkit/markup/draw/QVTMarkupDeviceContext.h"

class CQVTMarkupContext;
class CQVTMarkupFont;

class CQVTMarkupDrawingContext
{
public:
    // Measuring: over a memory DC compatible with the screen, owned.
    explicit CQVTMarkupDrawingContext(CQVTMarkupContext* pContext);
    // Drawing on the caller's DC; a null attribute DC means the output DC.
    CQVTMarkupDrawingContext(CQVTMarkupContext* pContext, HDC hDC, HDC hAttribDC = nullptr);
    virtual ~CQVTMarkupDrawingContext();

    CQVTMarkupDrawingContext(const CQVTMarkupDrawingContext&) = delete;
    CQVTMarkupDrawingContext& operator=(const CQVTMarkupDrawingContext&) = delete;

    // When true, measuring never reuses stored desired sizes.
    virtual BOOL BypassesLayoutCache() { return FALSE; }
    virtual void DrawTextLine(LPCWSTR lpszText, int nLength, const RECT& rc);

    // Fills; a null radius means square corners.
    void FillRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                       const CQVTMarkupCornerRadius* pRadius = nullptr);
    // Opaque whatever the colour's top byte holds.
    void FillSolidRect(const RECT& rc, COLORREF clr);
    // Nothing without a brush or a thickness.
    void DrawRectangle(const RECT& rc, CQVTMarkupBrush* pBrush, const CQVTMarkupThickness* pThickness,
                       const CQVTMarkupCornerRadius* pRadius = nullptr);
    // A frame one pixel wide at 96 DPI, scaled per axis by the context's DPI.
    void DrawFrame(const RECT& rc, CQVTMarkupBrush* pBrush);
    void DrawEllipse(const RECT& rc, const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill);
    // Nothing for a null stroke or one thinner than a pixel.
    void DrawLine(int x1, int y1, int x2, int y2, const CQVTMarkupStroke* pStroke);
    void DrawPolyline(const Gdiplus::PointF* pPoints, int nCount, const CQVTMarkupStroke* pStroke);
    void DrawPolygon(const Gdiplus::PointF* pPoints, int nCount, const CQVTMarkupStroke* pStroke,
                     CQVTMarkupBrush* pFill);
    void DrawPath(CQVTMarkupPathData* pPath, const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill);
    void DrawImage(CQVTMarkupDeviceDependentImage* pImage, const RECT& rc);

    SIZE GetTextExtent(LPCWSTR lpszText, int nLength);
    void GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize);
    // Null is black.
    void SetTextColor(CQVTMarkupBrush* pBrush);
    // Holds a reference on the selected font; null puts back the DC's own.
    void SetFont(CQVTMarkupFont* pFont);
    CQVTMarkupFont* GetFont() const { return m_pFont; }
    BOOL GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent);

    double GetOpacity() const;
    void SetOpacity(double dOpacity);
    // Returns the previous mode.
    int SetSmoothingMode(int nMode);
    int SetSmoothingModeAndTextFlag(int nMode, int nTextFlag);

    void OffsetViewport(POINT pt);
    void IntersectClipRect(const RECT& rc);
    void* SaveClipRegion();
    // Null does nothing.
    void RestoreClipRegion(void* pSaved);
    // The cached clip box, in the current viewport's coordinates.
    const RECT& GetClipBox() const { return m_rcClipBox; }

    CQVTMarkupTransformationMatrix* GetTransform();
    void SetTransform(CQVTMarkupTransformationMatrix* pMatrix);

    HDC GetDC();
    void ReleaseDC(HDC hDC);

    HDC GetOutputDC() const { return m_hDC; }
    HDC GetAttribDC() const { return m_hAttribDC; }
    CQVTMarkupContext* GetMarkupContext() const { return m_pContext; }
    CQVTMarkupDeviceContext* GetDeviceContext() const { return m_pDeviceContext.get(); }

    // The process-wide switch: markup may draw with GDI+ where the markup
    // context and the DC allow it.
    static BOOL AFX_CDECL IsGdiPlusEnabled() { return m_bGdiPlus; }
    static void AFX_CDECL EnableGdiPlus(BOOL bEnable) { m_bGdiPlus = bEnable; }

private:
    void Initialize();
    void UpdateClipBox();

    HDC m_hDC;
    HDC m_hAttribDC;
    CQVTMarkupFont* m_pFont;  // counted while selected
    RECT m_rcClipBox;
    BOOL m_bOwnsDC;
    std::unique_ptr<CQVTMarkupDeviceContext> m_pDeviceContext;
    CQVTMarkupContext* m_pContext;  // not counted
    int m_nTextFlag;                // the text smoothing flag last given

    static BOOL m_bGdiPlus;
};
