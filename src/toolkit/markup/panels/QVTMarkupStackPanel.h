// Children in a row or a column, each given unbounded room along it.
#pragma once

#include "toolkit/markup/panels/QVTMarkupPanel.h"

enum QVTMarkupOrientation
{
    qvtOrientationHorizontal = 0,
    qvtOrientationVertical = 1,
};

// The converter of both panels' Orientation.
CQVTMarkupObject* AFX_CDECL ConvertMarkupOrientation(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource,
                                                     CQVTMarkupDependencyProperty* pProperty);

class CQVTMarkupStackPanel : public CQVTMarkupPanel
{
    DECLARE_MARKUPCLASS(CQVTMarkupStackPanel)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    // Vertical when unset.
    QVTMarkupOrientation GetOrientation();
    void SetOrientation(QVTMarkupOrientation orientation);

    static CQVTMarkupDependencyProperty* m_pOrientationProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    long GetOrientationProperty();
    void SetOrientationProperty(long nValue);
    DECLARE_DISPATCH_MAP()
};
