// The markup engine as tab captions use it: a caption parsed in the strip's
// markup context, measured without limits and rendered in the item font.
#pragma once

#include <afxwin.h>

class CQVTMarkupContext;
class CQVTMarkupUIElement;

// The caption's element tree, or null when it is not markup or does not build
// (the caption is then drawn as plain text).
CQVTMarkupUIElement* AFXAPI QVTTabParseMarkupCaption(CQVTMarkupContext* pContext, const CString& strCaption);
// Releases and clears.
void AFXAPI QVTTabReleaseMarkupCaption(CQVTMarkupUIElement*& pElement);
void AFXAPI QVTTabReleaseMarkupContext(CQVTMarkupContext*& pContext);
// The caption's size in the font, without limits; FALSE without an element.
BOOL AFXAPI QVTTabMeasureMarkupCaption(CQVTMarkupUIElement* pElement, HFONT hFont, CSize& size);
// Renders the caption in rc with the DC's text colour and the font as its
// defaults, centred across rc when bCentre is set; FALSE when nothing could
// be rendered.
BOOL AFXAPI QVTTabRenderMarkupCaption(CQVTMarkupContext* pContext, CQVTMarkupUIElement* pElement, CDC* pDC,
                                      HFONT hFont, const CRect& rc, BOOL bCentre);
