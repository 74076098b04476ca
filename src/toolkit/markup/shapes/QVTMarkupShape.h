// Vector shapes: rectangles with optional curved corners, ellipses, lines,
// polylines, polygons and paths. The base carries the fill and the stroke
// (brush, thickness, dashes, caps, join), the stretch mode and the smoothing
// mode; each shape measures itself from its geometry, draws itself through
// the drawing context and, for lines and ellipses, is hit along its outline.
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

class CQVTMarkupRectangle : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupRectangle)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    static CQVTMarkupDependencyProperty* m_pRadiusXProperty;
    static CQVTMarkupDependencyProperty* m_pRadiusYProperty;

protected:
    long GetRadiusXProperty();
    void SetRadiusXProperty(long nValue);
    long GetRadiusYProperty();
    void SetRadiusYProperty(long nValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupEllipse : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupEllipse)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    // Inside the inscribed ellipse.
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override;
};

class CQVTMarkupLine : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupLine)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    // Within half the stroke of the line, end caps included.
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override;

    // X1, Y1, X2, Y2; stretched onto the render size when the shape is.
    void GetLinePoints(int& x1, int& y1, int& x2, int& y2);

    static CQVTMarkupDependencyProperty* m_pX1Property;
    static CQVTMarkupDependencyProperty* m_pY1Property;
    static CQVTMarkupDependencyProperty* m_pX2Property;
    static CQVTMarkupDependencyProperty* m_pY2Property;

protected:
    long GetX1Property();
    void SetX1Property(long nValue);
    long GetY1Property();
    void SetY1Property(long nValue);
    long GetX2Property();
    void SetX2Property(long nValue);
    long GetY2Property();
    void SetY2Property(long nValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupPolyline : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupPolyline)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    // The line first, then the fill over it as a closed figure.
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    static CQVTMarkupDependencyProperty* m_pPointsProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupPolygon : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupPolygon)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    static CQVTMarkupDependencyProperty* m_pPointsProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

class CQVTMarkupPath : public CQVTMarkupShape
{
    DECLARE_MARKUPCLASS(CQVTMarkupPath)

public:
    // Path data written inside the path becomes its Data.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    CQVTMarkupPathData* GetData();

    static CQVTMarkupDependencyProperty* m_pDataProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};
