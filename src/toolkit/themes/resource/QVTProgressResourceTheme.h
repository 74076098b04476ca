// Progress bars drawn from the resource image set: the track image over the
// bar, the chunk image over the done part and its last pixels as an end cap.
#pragma once

#include "toolkit/themes/elements/QVTProgressPaintManager.h"

class CQVTProgressResourceTheme : public CQVTProgressPaintManager
{
    DECLARE_DYNAMIC(CQVTProgressResourceTheme)

public:
    explicit CQVTProgressResourceTheme(CQVTPaintManager* pPaintManager);

    void DrawProgress(CDC* pDC, CQVTProgressBase* pProgress) override;
};
