// The classic three-dimensional tab, the default appearance, and its variant
// that frames only the selected and the hot item.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CQVTTabThemeOffice2000 : public CQVTTabPaintManagerTheme
{
public:
    CQVTTabThemeOffice2000();

    CRect GetHeaderClipBox(CDC* pDC, CQVTTabManager* pTabManager) override;
    CRect GetClientMargin() override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};

class CAppearanceSetPropertyPageSelected : public CQVTTabThemeOffice2000
{
public:
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};

// Helpers every appearance draws with.
namespace QVTTabDraw {
// A one-pixel frame, light top-left and dark bottom-right; none skips a side.
void Draw3dRect(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight);
void FrameRect(CDC* pDC, const CRect& rc, COLORREF clr);
// The side of a rectangle that faces the header of a strip at nPosition.
CRect HeaderSide(const CRect& rc, int nPosition, int nWidth = 1);
}  // namespace QVTTabDraw
