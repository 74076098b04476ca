#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"

#include "toolkit/markup/context/QVTMarkupFunctions.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOffice2007SystemTheme, CQVTCommandBarsOfficeXPTheme)

CQVTCommandBarsOffice2007SystemTheme::CQVTCommandBarsOffice2007SystemTheme()
    : m_pMarkupContext(MarkupCreateContext(nullptr, TRUE))
{
    // Waits for: CQVTFrameThemeOffice2007System (Frames package), the frame
    // drawn from the built-in style, made here in place of any the base made.
    // Meanwhile the frame's slot stays empty.
    // Waits for: CQVTRibbonThemeOffice2007System (Ribbon III package), the
    // ribbon's markup theme, made here likewise. Meanwhile the ribbon draws
    // from the resource images.
}

CQVTCommandBarsOffice2007SystemTheme::~CQVTCommandBarsOffice2007SystemTheme()
{
    MarkupReleaseContext(m_pMarkupContext);
}

CQVTFramePaintManager* CQVTCommandBarsOffice2007SystemTheme::GetFramePaintManager()
{
    // As made by the constructor: never made on request.
    return m_pFramePaintManager;
}

CQVTRibbonPaintManager* CQVTCommandBarsOffice2007SystemTheme::GetRibbonPaintManager()
{
    return CQVTCommandBarsOfficeXPTheme::GetRibbonPaintManager();
}
