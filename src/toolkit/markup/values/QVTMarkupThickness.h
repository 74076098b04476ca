// The four-sided value of margins, paddings and border widths.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupThickness : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupThickness)

public:
    CQVTMarkupThickness() : left(0), top(0), right(0), bottom(0) {}
    explicit CQVTMarkupThickness(int nUniform)
        : left(nUniform), top(nUniform), right(nUniform), bottom(nUniform)
    {
    }
    CQVTMarkupThickness(int nHorizontal, int nVertical)
        : left(nHorizontal), top(nVertical), right(nHorizontal), bottom(nVertical)
    {
    }
    CQVTMarkupThickness(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    // "l, t, r, b" or one number for all sides, each with an optional unit.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

    // The rectangle shrunk by the thickness; unchanged for none.
    static RECT AFX_CDECL Deflate(const RECT& rc, const CQVTMarkupThickness* pThickness);

    int left;
    int top;
    int right;
    int bottom;

protected:
    DECLARE_DISPATCH_MAP()
};
