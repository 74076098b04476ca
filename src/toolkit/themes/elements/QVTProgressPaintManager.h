// The drawing of progress bars: a framed face and a highlight fill for the
// share of the range that is done.
#pragma once

#include <afxwin.h>

class CQVTPaintManager;
class CQVTProgressBase;

class CQVTProgressPaintManager : public CObject
{
    DECLARE_DYNAMIC(CQVTProgressPaintManager)

public:
    explicit CQVTProgressPaintManager(CQVTPaintManager* pPaintManager);

    virtual void DrawProgress(CDC* pDC, CQVTProgressBase* pProgress);
    virtual void RefreshMetrics();

    // The width of the fill for a position: within 0 and the inner width
    // whatever the range, empty and reversed ranges included.
    static int AFX_CDECL GetFillWidth(int nWidth, int nPos, int nLower, int nUpper);

    CQVTPaintManager* m_pPaintManager;
    int m_cyProgress;  // bar height
};
