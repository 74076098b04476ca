// The markup engine as tab captions use it: a caption parsed in the strip's
// markup context, measured without limits and rendered in the item font.
#pragma once

#include <afxwin.h>

class CQVTMarkupContext;
class CQVTMarkupUIElement;

// The caption's element tree, or null when it cannot be had (the caption
// is then drawn as plain text).
CQVTMarkupUIElement* AFXAPI QVTTabParseMarkupCaption(CQVTMarkupContext* pContext, const CString& strCaption);
// Releases and clears.
void AFXAPI QVTTabReleaseMarkupCaption(CQVTMarkupUIElement*& pElement);
void AFXAPI QVTTabReleaseMarkupContext(CQVTMarkupContext*& pContext);
// FALSE when the element could not be measured.
BOOL AFXAPI QVTTabMeasureMarkupCaption(CQVTMarkupUIElement* pElement, CSize& size);
// The DC's text colour and the font are the caption's defaults.
BOOL AFXAPI QVTTabRenderMarkupCaption(CQVTMarkupContext* pContext, CQVTMarkupUIElement* pElement, CDC* pDC,
                                      HFONT hFont, const CRect& rc);
