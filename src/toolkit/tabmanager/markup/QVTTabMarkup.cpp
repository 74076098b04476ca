#include "toolkit/tabmanager/markup/QVTTabMarkup.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"

// Parsing, measuring and rendering a caption are filled when the markup
// engine's entry functions exist (MarkupParseText, MarkupMeasureElement,
// MarkupSetDefaultFont, MarkupRenderElement). Until then no caption parses,
// so every caption takes the plain-text path, and measuring and rendering
// report failure.

CQVTMarkupUIElement* AFXAPI QVTTabParseMarkupCaption(CQVTMarkupContext* /*pContext*/,
                                                     const CString& /*strCaption*/)
{
    return nullptr;
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

void AFXAPI QVTTabReleaseMarkupCaption(CQVTMarkupUIElement*& pElement)
{
    if (pElement)
        pElement->InternalRelease();
    pElement = nullptr;
}

void AFXAPI QVTTabReleaseMarkupContext(CQVTMarkupContext*& pContext)
{
    if (pContext)
        pContext->Release();
    pContext = nullptr;
}
