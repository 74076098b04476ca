#include "toolkit/tabmanager/markup/QVTTabMarkup.h"

#include "toolkit/markup/context/QVTMarkupFunctions.h"

CQVTMarkupUIElement* AFXAPI QVTTabParseMarkupCaption(CQVTMarkupContext* pContext, const CString& strCaption)
{
    if (pContext == nullptr || strCaption.IsEmpty())
        return nullptr;
    return MarkupParseText(pContext, strCaption);
}

BOOL AFXAPI QVTTabMeasureMarkupCaption(CQVTMarkupUIElement* pElement, HFONT hFont, CSize& size)
{
    size = CSize(0, 0);
    if (pElement == nullptr)
        return FALSE;
    // Only the font: the colour is the DC's when the caption is drawn.
    MarkupSetDefaultFont(MarkupGetElementContext(pElement), hFont, static_cast<COLORREF>(-1));
    size = MarkupMeasureElement(pElement, INT_MAX, INT_MAX);
    return TRUE;
}

BOOL AFXAPI QVTTabRenderMarkupCaption(CQVTMarkupContext* pContext, CQVTMarkupUIElement* pElement, CDC* pDC,
                                      HFONT hFont, const CRect& rc, BOOL bCentre)
{
    if (pElement == nullptr || pDC == nullptr || pDC->GetSafeHdc() == nullptr)
        return FALSE;
    if (pContext == nullptr)
        pContext = MarkupGetElementContext(pElement);
    // No room along the line: the caption is still markup, so nothing shows.
    if (rc.Width() <= 0)
        return TRUE;
    MarkupSetDefaultFont(pContext, hFont, pDC->GetTextColor());
    CRect rcCaption = rc;
    if (bCentre)
    {
        // As DT_VCENTER does with a line: a caption taller than rc overhangs
        // both edges alike.
        const int cy = MarkupMeasureElement(pElement, rc.Width(), INT_MAX).cy;
        rcCaption.top = rc.top + (rc.Height() - cy) / 2;
        rcCaption.bottom = rcCaption.top + cy;
    }
    MarkupRenderElement(pElement, pDC->GetSafeHdc(), rcCaption);
    return TRUE;
}

void AFXAPI QVTTabReleaseMarkupCaption(CQVTMarkupUIElement*& pElement)
{
    MarkupReleaseElement(pElement);
}

void AFXAPI QVTTabReleaseMarkupContext(CQVTMarkupContext*& pContext)
{
    MarkupReleaseContext(pContext);
}
