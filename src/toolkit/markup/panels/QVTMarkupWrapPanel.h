// Children placed along a line until it is full, then on the next line;
// items may all take one fixed width or height.
#pragma once

#include "toolkit/markup/panels/QVTMarkupStackPanel.h"

class CQVTMarkupWrapPanel : public CQVTMarkupPanel
{
    DECLARE_MARKUPCLASS(CQVTMarkupWrapPanel)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    // Horizontal when unset.
    QVTMarkupOrientation GetOrientation();
    void SetOrientation(QVTMarkupOrientation orientation);

    static CQVTMarkupDependencyProperty* m_pOrientationProperty;
    static CQVTMarkupDependencyProperty* m_pItemWidthProperty;
    static CQVTMarkupDependencyProperty* m_pItemHeightProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    // The item's size along and across the lines.
    void GetItemSize(CQVTMarkupUIElement* pChild, BOOL bHorizontal, __int64& nMain, __int64& nCross);
    void ArrangeLine(int nCrossOffset, int nLineCross, int nFirst, int nEnd, BOOL bHorizontal);

private:
    long GetOrientationProperty();
    void SetOrientationProperty(long nValue);
    DECLARE_DISPATCH_MAP()
};
