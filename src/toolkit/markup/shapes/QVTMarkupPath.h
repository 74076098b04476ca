// A figure from path data, given as Data or as a PathGeometry child.
#pragma once

#include "toolkit/markup/shapes/QVTMarkupShape.h"

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
