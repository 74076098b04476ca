// A line from (X1, Y1) to (X2, Y2), hit along its stroke.
#pragma once

#include "toolkit/markup/shapes/QVTMarkupShape.h"

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
