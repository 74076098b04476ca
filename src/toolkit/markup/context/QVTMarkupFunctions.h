// The entry functions through which the rest of the program shows markup:
// a host window creates a context, parses its text into an element, measures
// the element to size itself, renders it while painting, relays its mouse
// and cursor messages to it, and releases element and context when done.
// Null arguments give null, FALSE or a zero size; nothing is raised.
#pragma once

#include <afxwin.h>

class CQVTMarkupContext;
class CQVTMarkupUIElement;

// A new context for the window with one reference for the caller; a non-zero
// flag gives it its own DPI scaler for that window.
CQVTMarkupContext* AFXAPI MarkupCreateContext(HWND hWnd, BOOL bDpiAware);
// The element's context (borrowed).
CQVTMarkupContext* AFXAPI MarkupGetElementContext(CQVTMarkupUIElement* pElement);
// The root element with one reference for the caller, or null when the text
// is not markup or does not build (the caller then shows it as plain text).
CQVTMarkupUIElement* AFXAPI MarkupParseText(CQVTMarkupContext* pContext, LPCWSTR lpszText);
CQVTMarkupUIElement* AFXAPI MarkupParseDocument(CQVTMarkupContext* pContext, IStream* pSource);
// The element's desired size for the room given (2147483647: unbounded).
CSize AFXAPI MarkupMeasureElement(CQVTMarkupUIElement* pElement, int cxAvailable = INT_MAX,
                                  int cyAvailable = INT_MAX);
// Measures, arranges and draws the element into the rectangle of the DC.
void AFXAPI MarkupRenderElement(CQVTMarkupUIElement* pElement, HDC hDC, LPCRECT lpRect);
// Only ends the mouse-over state of the context's elements.
BOOL AFXAPI MarkupRelayMessage(CQVTMarkupContext* pContext, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult);
// TRUE when the element handled the message: the window then returns *pResult.
BOOL AFXAPI MarkupRelayElementMessage(CQVTMarkupUIElement* pElement, UINT message, WPARAM wParam,
                                      LPARAM lParam, LRESULT* pResult);
// Each releases one reference and sets the caller's pointer to null.
void AFXAPI MarkupReleaseContext(CQVTMarkupContext*& pContext);
void AFXAPI MarkupReleaseElement(CQVTMarkupUIElement*& pElement);
// The font (null: unchanged) and text colour (-1: unchanged) text is drawn in
// when markup names none.
void AFXAPI MarkupSetDefaultFont(CQVTMarkupContext* pContext, HFONT hFont, COLORREF clrText);
