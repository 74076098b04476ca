// A label that shows the image manager's image of its id instead of text:
// a logo in a ribbon group, say. Like any label it is never hot and a click
// does nothing outside customize mode; classes that want a click to act
// replace OnClick.
#pragma once

#include "toolkit/commandbars/controls/QVTControlExtended.h"

class CQVTImageManagerIcon;

class CQVTControlBitmap : public CQVTControlLabel
{
    DECLARE_SERIAL(CQVTControlBitmap)

public:
    CQVTControlBitmap();

    // The image's own size; 0 x 0 without one.
    CSize GetSize(CDC* pDC) override;
    // The image at the control's top-left.
    CSize Draw(CDC* pDC) override;

protected:
    // The image of the id at the first width the manager holds.
    CQVTImageManagerIcon* FindBitmap() const;
    CSize GetBitmapSize(CQVTImageManagerIcon* pIcon) const;
};
