// A panel that places its children at offsets given by the attached Left,
// Top, Right and Bottom; Left wins over Right and Top over Bottom.
#pragma once

#include "toolkit/markup/panels/QVTMarkupPanel.h"

class CQVTMarkupCanvas : public CQVTMarkupPanel
{
    DECLARE_MARKUPCLASS(CQVTMarkupCanvas)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    // 0 when unset.
    static int AFX_CDECL GetLeft(CQVTMarkupObject* pElement);
    static int AFX_CDECL GetTop(CQVTMarkupObject* pElement);
    static int AFX_CDECL GetRight(CQVTMarkupObject* pElement);
    static int AFX_CDECL GetBottom(CQVTMarkupObject* pElement);
    static void AFX_CDECL SetLeft(CQVTMarkupObject* pElement, int nValue);
    static void AFX_CDECL SetTop(CQVTMarkupObject* pElement, int nValue);
    static void AFX_CDECL SetRight(CQVTMarkupObject* pElement, int nValue);
    static void AFX_CDECL SetBottom(CQVTMarkupObject* pElement, int nValue);

    static CQVTMarkupDependencyProperty* m_pLeftProperty;
    static CQVTMarkupDependencyProperty* m_pTopProperty;
    static CQVTMarkupDependencyProperty* m_pRightProperty;
    static CQVTMarkupDependencyProperty* m_pBottomProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    void SetLeftMethod(LPDISPATCH pElement, long nValue);
    void SetTopMethod(LPDISPATCH pElement, long nValue);
    void SetRightMethod(LPDISPATCH pElement, long nValue);
    void SetBottomMethod(LPDISPATCH pElement, long nValue);
    long GetLeftMethod(LPDISPATCH pElement);
    long GetTopMethod(LPDISPATCH pElement);
    long GetRightMethod(LPDISPATCH pElement);
    long GetBottomMethod(LPDISPATCH pElement);
    DECLARE_DISPATCH_MAP()
};
