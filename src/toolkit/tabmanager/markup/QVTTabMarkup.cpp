#include "toolkit/tabmanager/markup/QVTTabMarkup.h"

// Filled when the markup engine's entry functions exist (create, parse,
// measure and render: MarkupParseText, MarkupMeasureElement,
// MarkupSetDefaultFont, MarkupRenderElement and the two releases). Until
// then no caption parses, so every caption takes the plain-text path, and
// measuring and rendering report failure.

CQVTMarkupUIElement* AFXAPI QVTTabParseMarkupCaption(CQVTMarkupContext* /*pContext*/,
                                                     const CString& /*strCaption*/)
{
    return nullptr;
}

void AFXAPI QVTTabReleaseMarkupCaption(CQVTMarkupUIElement*& pElement)
{
    pElement = nullptr;
}

void AFXAPI QVTTabReleaseMarkupContext(CQVTMarkupContext*& pContext)
{
    pContext = nullptr;
}

BOOL AFXAPI QVTTabMeasureMarkupCaption(CQVTMarkupUIElement* /*pElement*/, CSize& size)
{
    size = CSize(0, 0);
    return FALSE;
}

BOOL AFXAPI QVTTabRenderMarkupCaption(CQVTMarkupContext* /*pContext*/, CQVTMarkupUIElement* /*pElement*/,
                                      CDC* /*pDC*/, HFONT /*hFont*/, const CRect& /*rc*/)
{
    return FALSE;
}
