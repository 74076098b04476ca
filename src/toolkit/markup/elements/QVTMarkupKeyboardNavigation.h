// The keyboard-navigation attached properties. Markup may set them on any
// element; they are stored, and the context's keyboard messages are offered
// to this object, which declines them.
#pragma once

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"

class CQVTMarkupKeyboardNavigation : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupKeyboardNavigation)

public:
    CQVTMarkupKeyboardNavigation();
    // The navigation of one context; holds no reference on it.
    explicit CQVTMarkupKeyboardNavigation(CQVTMarkupContext* pOwner);
    ~CQVTMarkupKeyboardNavigation() override;

    // WM_KEYDOWN, WM_SETFOCUS and WM_KILLFOCUS; returns whether handled and
    // leaves the result alone when not.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    static CQVTMarkupDependencyProperty* m_pIsTabStopProperty;
    static CQVTMarkupDependencyProperty* m_pTabNavigationProperty;
    static CQVTMarkupDependencyProperty* m_pTabIndexProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    static CQVTMarkupObject* AFX_CDECL ConvertTabNavigation(CQVTMarkupBuilder* pBuilder,
                                                            CQVTMarkupObject* pSource,
                                                            CQVTMarkupDependencyProperty* pProperty);

    CQVTMarkupObject* m_pFocusedElement;  // counted
    CQVTMarkupObject* m_pLastFocused;     // counted
    CQVTMarkupContext* m_pOwner;          // not counted
};
