// The base of everything the mouse can reach: input handlers, cursor and
// tooltip, routed-event handlers, and the style and trigger layer of value
// lookup.
#pragma once

#include <memory>

#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"

class CQVTMarkupDrawingContext;
class CQVTMarkupEventHandlerTable;
class CQVTMarkupDelegate;
class CQVTMarkupMouseEventArgs;
class CQVTMarkupMouseButtonEventArgs;
class CQVTMarkupMouseWheelEventArgs;
class CQVTMarkupProperties;
class CQVTMarkupQueryCursorEventArgs;
class CQVTMarkupRoutedEvent;
class CQVTMarkupRoutedEventArgs;
class CQVTMarkupStyle;
class CQVTMarkupTriggerCollection;

class CQVTMarkupInputElement : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupInputElement)

public:
    CQVTMarkupInputElement();
    ~CQVTMarkupInputElement() override;

    // Local value, then active triggers, then the style, then the type's
    // default style.
    CQVTMarkupObject* GetLocalValue(CQVTMarkupDependencyProperty* pProperty) override;
    // Event attributes bind a delegate of the context by name.
    void SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                           CQVTMarkupObject* pValue) override;
    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;

    virtual void OnMouseLeave(CQVTMarkupMouseEventArgs* pArgs);
    virtual void OnMouseEnter(CQVTMarkupMouseEventArgs* pArgs);
    virtual void OnMouseMove(CQVTMarkupMouseEventArgs* pArgs);
    virtual void OnQueryCursor(CQVTMarkupQueryCursorEventArgs* pArgs);
    virtual void OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs);
    virtual void OnMouseRightButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs);
    virtual void OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs);
    virtual void OnMouseRightButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs);
    virtual void OnLostMouseCapture(CQVTMarkupMouseEventArgs* pArgs);
    virtual void OnMouseWheel(CQVTMarkupMouseWheelEventArgs* pArgs);
    // The deepest element under a point in the parent's coordinates.
    virtual CQVTMarkupInputElement* InputHitTest(POINT pt);
    // Takes a style keyed by this element's type from the resources above it.
    virtual void ApplyImplicitStyle();
    // The same with the resource that lookup found (or null), for a caller
    // that already knows it.
    void ApplyFoundStyle(CQVTMarkupObject* pFound);

    // Routes the arguments: bubbling events climb the logical parents until
    // handled, then reach the context's handlers; direct events stay here.
    void RaiseEvent(CQVTMarkupRoutedEventArgs* pArgs);
    // Takes the caller's reference of the delegate.
    void AddHandler(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupDelegate* pDelegate);
    // Runs this element's own delegates for the event.
    void InvokeHandlers(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupRoutedEventArgs* pArgs);

    CQVTMarkupStyle* GetStyle() const { return m_pStyle; }
    // Re-evaluates the style's triggers after a change of pProperty (all of
    // them for null) and reports the values that changed.
    void UpdateTriggers(CQVTMarkupDependencyProperty* pProperty);

    BOOL IsMouseOver();

    static CQVTMarkupDependencyProperty* m_pCursorProperty;
    static CQVTMarkupDependencyProperty* m_pIsMouseOverProperty;
    static CQVTMarkupDependencyProperty* m_pResourcesProperty;
    static CQVTMarkupDependencyProperty* m_pStyleProperty;
    static CQVTMarkupDependencyProperty* m_pIsKeyboardFocusedProperty;
    static CQVTMarkupDependencyProperty* m_pIsFocusableProperty;
    static CQVTMarkupDependencyProperty* m_pToolTipProperty;
    static CQVTMarkupRoutedEvent* m_pMouseLeaveEvent;
    static CQVTMarkupRoutedEvent* m_pMouseEnterEvent;
    static CQVTMarkupRoutedEvent* m_pMouseLeftButtonUpEvent;
    static CQVTMarkupRoutedEvent* m_pMouseLeftButtonDownEvent;
    static CQVTMarkupRoutedEvent* m_pMouseRightButtonUpEvent;
    static CQVTMarkupRoutedEvent* m_pMouseRightButtonDownEvent;
    static CQVTMarkupRoutedEvent* m_pMouseMoveEvent;
    static CQVTMarkupRoutedEvent* m_pLostMouseCaptureEvent;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    static void AFX_CDECL OnStyleChanged(CQVTMarkupObject* pObject,
                                         CQVTMarkupPropertyChangedEventArgs* pArgs);
    static void AFX_CDECL OnCursorChanged(CQVTMarkupObject* pObject,
                                          CQVTMarkupPropertyChangedEventArgs* pArgs);
    void ActivateTriggers(CQVTMarkupStyle* pStyle, CQVTMarkupDependencyProperty* pProperty, BOOL& bChanged);

    std::unique_ptr<CQVTMarkupEventHandlerTable> m_pHandlerTable;  // made on the first handler
    CQVTMarkupTriggerCollection* m_pActiveTriggers;  // counted; holds triggers without parenting them
    CQVTMarkupProperties* m_pTriggerValues;          // counted; the values active triggers set
    CQVTMarkupStyle* m_pStyle;                       // the style in force, counted
    int m_nTriggerDepth;  // trigger updates in progress: triggers that feed each other stop here

private:
    long GetCursorProperty();
    void SetCursorProperty(long nCursor);
    VARIANT GetToolTipProperty();
    void SetToolTipProperty(const VARIANT& value);
    BOOL GetIsMouseOverProperty();
    LPDISPATCH GetMouseLeaveEventProperty();
    LPDISPATCH GetMouseEnterEventProperty();
    LPDISPATCH GetMouseLeftButtonUpEventProperty();
    LPDISPATCH GetMouseLeftButtonDownEventProperty();
    LPDISPATCH GetMouseRightButtonUpEventProperty();
    LPDISPATCH GetMouseRightButtonDownEventProperty();
    LPDISPATCH GetMouseMoveEventProperty();
    LPDISPATCH GetLostMouseCaptureEventProperty();
    LPDISPATCH FindNameMethod(LPCWSTR lpszName);
    BSTR GetNameProperty();
    void SetNameProperty(LPCWSTR lpszName);
    void CaptureMouseMethod();
    void ReleaseMouseCaptureMethod();
    DECLARE_DISPATCH_MAP()
};
