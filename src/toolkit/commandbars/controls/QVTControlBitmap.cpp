#include "toolkit/commandbars/controls/QVTControlBitmap.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

IMPLEMENT_SERIAL(CQVTControlBitmap, CQVTControlLabel, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlBitmap::CQVTControlBitmap() {}

CQVTImageManagerIcon* CQVTControlBitmap::FindBitmap() const
{
    CQVTImageManager* pImageManager = GetImageManager();
    return pImageManager ? pImageManager->GetImage(static_cast<UINT>(GetIconId()), 0) : nullptr;
}

CSize CQVTControlBitmap::GetBitmapSize(CQVTImageManagerIcon* pIcon) const
{
    if (!pIcon)
        return CSize(0, 0);
    CSize sz = pIcon->GetExtent();
    // Vector images are designed at 96 DPI.
    if (pIcon->IsVectorIcon())
        sz = CSize(QVTDpiScaler()->ScaleX(sz.cx), QVTDpiScaler()->ScaleY(sz.cy));
    return sz;
}

CSize CQVTControlBitmap::GetSize(CDC* /*pDC*/)
{
    return GetBitmapSize(FindBitmap());
}

CSize CQVTControlBitmap::Draw(CDC* pDC)
{
    CQVTImageManagerIcon* pIcon = FindBitmap();
    const CSize sz = GetBitmapSize(pIcon);
    if (pIcon && sz.cx > 0 && sz.cy > 0)
        pIcon->DrawSized(pDC, GetRect().TopLeft(), sz);
    return sz;
}
