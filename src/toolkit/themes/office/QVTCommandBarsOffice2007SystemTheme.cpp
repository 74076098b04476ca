#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"

#include "toolkit/markup/context/QVTMarkupFunctions.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOffice2007SystemTheme, CQVTCommandBarsOfficeXPTheme)

CQVTCommandBarsOffice2007SystemTheme::CQVTCommandBarsOffice2007SystemTheme()
    : m_pMarkupContext(MarkupCreateContext(nullptr, TRUE))
{
    // The frame paint manager drawn from the built-in style and the ribbon's
    // markup theme take their slots here, in place of any the base made, once
    // frame paint managers and the ribbon's markup theme exist; until then
    // the frame's stays empty and the ribbon draws from the resource images.
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
