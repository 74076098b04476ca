#include "toolkit/themes/office/QVTCommandBarsOffice2007SystemTheme.h"

#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/ribbon/paint/QVTRibbonMarkupTheme.h"
#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOffice2007SystemTheme, CQVTCommandBarsOfficeXPTheme)

CQVTCommandBarsOffice2007SystemTheme::CQVTCommandBarsOffice2007SystemTheme()
    : m_pMarkupContext(MarkupCreateContext(nullptr, TRUE))
{
    // The frame drawn from the built-in style, in place of any the base made.
    delete m_pFramePaintManager;
    m_pFramePaintManager = new CQVTFrameThemeOffice2007System(this);
    m_pFramePaintManager->RefreshMetrics();
    // The ribbon drawn from the same style.
    if (m_pRibbonPaintManager)
        m_pRibbonPaintManager->InternalRelease();
    // The new ribbon theme refreshes this one while it is made.
    m_pRibbonPaintManager = nullptr;
    m_pRibbonPaintManager = new CQVTRibbonThemeOffice2007System(this);
    m_pRibbonPaintManager->RefreshMetrics();
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
