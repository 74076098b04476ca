// Children docked to the edges in order; the last one fills what is left
// unless LastChildFill is off.
#pragma once

#include "toolkit/markup/panels/QVTMarkupPanel.h"

enum QVTMarkupDock
{
    qvtDockLeft = 0,
    qvtDockTop = 1,
    qvtDockRight = 2,
    qvtDockBottom = 3,
};

class CQVTMarkupDockPanel : public CQVTMarkupPanel
{
    DECLARE_MARKUPCLASS(CQVTMarkupDockPanel)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    BOOL GetLastChildFill();
    void SetLastChildFill(BOOL bFill);
    // Left when unset.
    static QVTMarkupDock AFX_CDECL GetDock(CQVTMarkupObject* pElement);
    static void AFX_CDECL SetDock(CQVTMarkupObject* pElement, QVTMarkupDock dock);

    static CQVTMarkupDependencyProperty* m_pLastChildFillProperty;
    static CQVTMarkupDependencyProperty* m_pDockProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    static void AFX_CDECL OnDockChanged(CQVTMarkupObject* pObject, CQVTMarkupPropertyChangedEventArgs* pArgs);

private:
    BOOL GetLastChildFillProperty();
    void SetLastChildFillProperty(BOOL bValue);
    long GetDockMethod(LPDISPATCH pElement);
    void SetDockMethod(LPDISPATCH pElement, long nValue);
    DECLARE_DISPATCH_MAP()
};
