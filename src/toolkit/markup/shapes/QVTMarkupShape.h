// The base of vector shapes: rectangles with optional curved corners,
// ellipses, lines, polylines, polygons and paths, each in a file of its own.
// It carries the fill and the stroke (brush, thickness, dashes, caps, join),
// the stretch mode and the smoothing mode; each shape measures itself from
// its geometry, draws itself through the drawing context and, for lines and
// ellipses, is hit along its outline.
#pragma once

#include <gdiplus.h>

#include <vector>

#include "toolkit/markup/draw/QVTMarkupStroke.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

class CQVTMarkupBrush;
class CQVTMarkupPathData;

class CQVTMarkupShape : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupShape)

public:
    // The stroke record every drawing operation takes: no thickness without
    // a stroke brush.
    void GetStroke(CQVTMarkupStroke* pStroke);
    CQVTMarkupBrush* GetFill();
    CQVTMarkupBrush* GetStrokeBrush();
    int GetStrokeThickness();
    // Any stretch but None maps the geometry onto the whole render size.
    BOOL IsStretched();

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;

    static CQVTMarkupDependencyProperty* m_pFillProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeThicknessProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeDashArrayProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeStartLineCapProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeEndLineCapProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeLineJoinProperty;
    static CQVTMarkupDependencyProperty* m_pStrokeMiterLimitProperty;
    static CQVTMarkupDependencyProperty* m_pStretchProperty;
    static CQVTMarkupDependencyProperty* m_pSmoothingModeProperty;

protected:
    // Sets the shape's smoothing mode for the drawing and puts the previous back.
    class CSmoothingScope
    {
    public:
        CSmoothingScope(CQVTMarkupShape* pShape, CQVTMarkupDrawingContext* pDC);
        ~CSmoothingScope();

    private:
        CQVTMarkupDrawingContext* m_pDC;
        int m_nPrevious;
    };

    // A measured size from geometry bounds: the figure counts from the origin
    // when it lies in positive coordinates; bounded available sizes replace
    // it when stretched.
    SIZE MeasureBounds(const RECT& rcBounds, SIZE szAvailable, BOOL bHalfStrokeWhenFlat);
    // The points of a point list, stretched onto the render size when the
    // shape is; FALSE without points.
    BOOL GetDrawnPoints(CQVTMarkupDependencyProperty* pProperty, std::vector<Gdiplus::PointF>& points);

    // A measured length from bounds that may span the whole 32-bit range.
    static int ClampLength(__int64 nValue);
    static BOOL IsBounded(int nSize) { return nSize < QVT_MARKUP_UNBOUNDED_LIMIT; }

    // Point-list shapes: their "Points" property, its measure, and the
    // points to draw with the stroke and fill (FALSE when nothing draws).
    static CQVTMarkupDependencyProperty* RegisterPointsProperty(CQVTMarkupType* pOwnerType);
    SIZE MeasurePoints(CQVTMarkupDependencyProperty* pProperty, SIZE szAvailable, BOOL bHalfStrokeWhenFlat);
    BOOL PreparePointFigure(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupStroke& stroke,
                            CQVTMarkupBrush*& pFill, std::vector<Gdiplus::PointF>& points);

    // Automation.
    LPDISPATCH GetFillProperty();
    void SetFillProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetStrokeProperty();
    void SetStrokeProperty(LPDISPATCH pDispatch);
    long GetStrokeThicknessProperty();
    void SetStrokeThicknessProperty(long nValue);
    long GetStrokeStartLineCapProperty();
    void SetStrokeStartLineCapProperty(long nValue);
    long GetStrokeEndLineCapProperty();
    void SetStrokeEndLineCapProperty(long nValue);
    long GetStrokeLineJoinProperty();
    void SetStrokeLineJoinProperty(long nValue);
    LPDISPATCH GetStrokeDashArrayProperty();
    void SetStrokeDashArrayProperty(LPDISPATCH pDispatch);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
