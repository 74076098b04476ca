// The device-context interface markup draws through, realised with plain
// GDI: fills (solid and linear gradients), border bands, ellipses, lines,
// polygons, paths, rounded rectangles, icons and text, fonts and metrics,
// the viewport origin, clipping and the smoothing state. GDI ignores alpha
// and opacity: every colour is drawn as its 24-bit RGB value.
#pragma once

#include <afxwin.h>
#include <gdiplus.h>

#include "toolkit/markup/draw/QVTMarkupStroke.h"

class CQVTImageManagerIcon;
class CQVTMarkupBrush;
class CQVTMarkupDeviceContext;
class CQVTMarkupDeviceDependentImage;
class CQVTMarkupFont;
class IQVTMarkupDeviceDependentImageSite;
class CQVTMarkupLinearGradientBrush;
class CQVTMarkupPathBuilder;
class CQVTMarkupPathData;
class CQVTMarkupThickness;
class CQVTMarkupTransformationMatrix;

// An HDC for GDI drawing into one rectangle; under GDI the device context's own.
class CQVTMarkupDedicatedDC
{
public:
    CQVTMarkupDedicatedDC(CQVTMarkupDeviceContext* pOwner, const RECT& rc);
    virtual ~CQVTMarkupDedicatedDC();

    CQVTMarkupDedicatedDC(const CQVTMarkupDedicatedDC&) = delete;
    CQVTMarkupDedicatedDC& operator=(const CQVTMarkupDedicatedDC&) = delete;

    // Asks the owner once and keeps the answer.
    virtual HDC GetDC();
    virtual void Flush() {}

protected:
    CQVTMarkupDeviceContext* m_pOwner;
    HDC m_hDC;  // null until first asked for
    RECT m_rc;
    POINT m_ptOrigin;  // the rectangle's left and top, negated
};

class CQVTMarkupDeviceContext : public CObject
{
    DECLARE_DYNAMIC(CQVTMarkupDeviceContext)

public:
    // hAttribDC measures text; null means the output DC.
    CQVTMarkupDeviceContext(HDC hDC, HDC hAttribDC);
    ~CQVTMarkupDeviceContext() override;

    // GDI has no world transform: null, and nothing.
    virtual CQVTMarkupTransformationMatrix* GetTransform();
    virtual void SetTransform(CQVTMarkupTransformationMatrix* pMatrix);
    virtual void OffsetViewport(POINT pt);
    // GDI has no smoothing: the stored mode stays 0.
    virtual int SetSmoothingMode(int nMode, int nTextFlag);
    virtual CQVTMarkupDedicatedDC* CreateDedicatedDC(const RECT& rc);
    virtual CQVTMarkupDeviceDependentImage* CreateDeviceDependentImage(
        IQVTMarkupDeviceDependentImageSite* pSite);
    virtual void DrawEllipse(const RECT& rc, const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill);
    // Four bands of the given widths inside the rectangle.
    virtual void DrawRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                               const CQVTMarkupThickness* pThickness);
    virtual void FillRectangle(const RECT& rc, CQVTMarkupBrush* pBrush);
    virtual void DrawLine(int x1, int y1, int x2, int y2, const CQVTMarkupStroke* pStroke);
    virtual void DrawPolylineF(const Gdiplus::PointF* pPoints, int nCount, const CQVTMarkupStroke* pStroke);
    virtual void DrawPolyline(const POINT* pPoints, int nCount, const CQVTMarkupStroke* pStroke);
    virtual void DrawPolygonF(const Gdiplus::PointF* pPoints, int nCount, const CQVTMarkupStroke* pStroke,
                              CQVTMarkupBrush* pFill);
    virtual void DrawPolygon(const POINT* pPoints, int nCount, const CQVTMarkupStroke* pStroke,
                             CQVTMarkupBrush* pFill);
    // Fills, then outlines.
    virtual void DrawPath(CQVTMarkupPathData* pPath, const CQVTMarkupStroke* pStroke, CQVTMarkupBrush* pFill);
    virtual void DrawImage(CQVTMarkupDeviceDependentImage* pImage, const RECT& rc);
    virtual void DrawIcon(CQVTImageManagerIcon* pIcon, const RECT& rc);
    // Without radii, the square-cornered operations.
    virtual void FillRoundRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                    const CQVTMarkupCornerRadius* pRadius);
    virtual void DrawRoundRectangle(const RECT& rc, CQVTMarkupBrush* pBrush,
                                    const CQVTMarkupThickness* pThickness,
                                    const CQVTMarkupCornerRadius* pRadius);
    // One line, top-left at the rectangle's, in the current font and colour.
    virtual void DrawTextLine(LPCWSTR lpszText, int nLength, const RECT& rc);
    virtual void GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize);
    virtual SIZE GetTextExtent(LPCWSTR lpszText, int nLength);
    // Null is black.
    virtual void SetTextColor(CQVTMarkupBrush* pBrush);
    // Null puts back the font the DC held before the first selection.
    virtual void SetFont(CQVTMarkupFont* pFont);
    virtual BOOL GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent);
    virtual void IntersectClipRect(const RECT& rc);
    virtual void GetClipBox(RECT* pRect);
    // An opaque copy of the clip, for RestoreClipRegion.
    virtual void* SaveClipRegion();
    virtual void RestoreClipRegion(void* pSaved);
    virtual HDC GetDC();
    virtual void ReleaseDC(HDC hDC);

    double GetOpacity() const { return m_dOpacity; }
    void SetOpacity(double dOpacity) { m_dOpacity = dOpacity; }

    // What SaveClipRegion returns when the DC had no clip region.
    static void* const kNoClip;

    // Pens are never wider than this: GDI widening paths with far wider pens
    // corrupts memory or takes minutes. Wider strokes are drawn this wide,
    // and wider rounded frames as the filled ring they cover.
    enum
    {
        kMaxPenWidth = 4096
    };

protected:
    // Where shapes are held: GDI rasterises a whole outline before it clips,
    // so a billion-pixel figure costs it seconds. Within 32768 pixels (and a
    // pen's width) of the clip box nothing moves; beyond, coordinates are held
    // at that distance, which only a curve of a larger radius passing through
    // the visible part would show.
    struct CGeometryLimits
    {
        RECT rc;

        LONG X(double dValue) const { return Hold(dValue, rc.left, rc.right); }
        LONG Y(double dValue) const { return Hold(dValue, rc.top, rc.bottom); }
        POINT Point(double x, double y) const { return POINT{X(x), Y(y)}; }

    private:
        static LONG Hold(double dValue, LONG nLow, LONG nHigh)
        {
            if (!(dValue > nLow))
                return nLow;
            if (dValue >= nHigh)
                return nHigh;
            return static_cast<LONG>(dValue);
        }
    };
    virtual CGeometryLimits GetGeometryLimits();
    // The closed outline of a rounded rectangle; radii are kept within half
    // of each edge, so opposite corners never cross.
    static void AFX_CDECL AddRoundRectangleFigure(CQVTMarkupPathBuilder& builder, double dLeft, double dTop,
                                                  double dRight, double dBottom,
                                                  const CQVTMarkupCornerRadius& radius);
    static CQVTMarkupPathData* AFX_CDECL CreateRoundRectanglePath(double dLeft, double dTop, double dRight,
                                                                  double dBottom,
                                                                  const CQVTMarkupCornerRadius& radius);

    HDC m_hDC;        // output
    HDC m_hAttribDC;  // measuring
    SIZE m_szWindowExt;
    SIZE m_szViewportExt;
    double m_dOpacity;
    HFONT m_hOldFont;  // selected before the first SetFont, null when none
    int m_nSmoothingMode;

private:
    void FillSolid(const RECT& rc, COLORREF clr);
    void FillLinearGradient(const RECT& rc, CQVTMarkupLinearGradientBrush* pBrush);
    void DrawTextWithAdvances(LPCWSTR lpszText, int nLength, const RECT& rc);
};
