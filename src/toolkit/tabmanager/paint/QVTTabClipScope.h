// Narrows a DC's clip region for a block and puts the old one back after,
// whatever was narrowed in between.
#pragma once

#include <afxwin.h>

class CQVTTabClipScope
{
public:
    explicit CQVTTabClipScope(CDC* pDC);
    ~CQVTTabClipScope();
    CQVTTabClipScope(const CQVTTabClipScope&) = delete;
    CQVTTabClipScope& operator=(const CQVTTabClipScope&) = delete;

    // Logical coordinates, as the DC draws.
    void Intersect(const CRect& rc);
    void IntersectPolygon(const POINT* pts, int nCount);
    void Exclude(const CRect& rc);

private:
    CDC* m_pDC;
    HRGN m_hSaved = nullptr;  // null: there was no clip region
};
