// The markup push button: its content inside a padding and a 4-pixel edge,
// drawn by the window theme's push button or, classically or with a
// Background of its own, as a raised or pressed 3-D frame.
#pragma once

#include "toolkit/markup/controls/QVTMarkupButtonBase.h"

class CQVTMarkupButton : public CQVTMarkupButtonBase
{
    DECLARE_MARKUPCLASS(CQVTMarkupButton)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    void OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC) override;

private:
    // The 3-D frame in the given colours around rc.
    void DrawClassicFrame(CQVTMarkupDrawingContext* pDC, const RECT& rc, COLORREF clrLight,
                          COLORREF clrShadow, COLORREF clrDarkShadow);
};

// Shared by the buttons: the padding, or none.
CQVTMarkupThickness* AFXAPI MarkupButtonPadding(CQVTMarkupControl* pControl);
// Opens the "BUTTON" theme class on the theme for the element's host window.
void AFXAPI MarkupOpenButtonTheme(CQVTMarkupObject* pElement, CQVTWinThemeWrapper* pTheme);
