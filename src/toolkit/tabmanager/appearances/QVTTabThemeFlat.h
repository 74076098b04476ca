// Flat tabs: filled rectangles framed in one colour; the property-page
// variant with softened corners, and its Visual Studio 2010 form.
#pragma once

#include "toolkit/tabmanager/paint/QVTTabPaintManagerTheme.h"

class CQVTTabThemeFlat : public CQVTTabPaintManagerTheme
{
public:
    CQVTTabThemeFlat();

    int GetDefaultColorSet() const override;
    CRect FillClient(CDC* pDC, CQVTTabManager* pTabManager, CRect rcControl) override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};

class CAppearanceSetPropertyPageFlat : public CQVTTabThemeFlat
{
public:
    int GetDefaultColorSet() const override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;

    BOOL m_bFlatFrame = TRUE;        // one-pixel frames with softened corners
    BOOL m_bEllipseCorners = FALSE;  // kept for the stored look; not drawn differently
    BOOL m_bFrameUnselected = TRUE;  // items neither selected nor hot get a shape too

protected:
    // The softened outer corners of a flat frame: pixels blended towards the
    // header behind and towards the frame.
    void SoftenCorners(CDC* pDC, const CRect& rc, COLORREF clrFrame, COLORREF clrBehind);
    // Drawing clipped to the item less its corner squares (the outer two
    // only, or all four).
    void ExcludeItemCorners(CDC* pDC, const CRect& rc, BOOL bOuterOnly);
};

class CQVTTabThemeVisualStudio2010 : public CAppearanceSetPropertyPageFlat
{
public:
    CQVTTabThemeVisualStudio2010();

    int GetDefaultColorSet() const override;
    void DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem) override;
};
