// The clickable content control the markup buttons derive from: a left press
// captures the mouse, a release over the button raises the bubbling Click,
// and IsPressed and the hover state follow the pointer for drawing.
#pragma once

#include <memory>

#include "toolkit/markup/panels/QVTMarkupContentControl.h"

class CQVTWinThemeWrapper;

class CQVTMarkupButtonBase : public CQVTMarkupContentControl
{
    DECLARE_MARKUPCLASS(CQVTMarkupButtonBase)

public:
    CQVTMarkupButtonBase();
    ~CQVTMarkupButtonBase() override;

    void OnMouseEnter(CQVTMarkupMouseEventArgs* pArgs) override;
    void OnMouseLeave(CQVTMarkupMouseEventArgs* pArgs) override;
    void OnMouseLeftButtonDown(CQVTMarkupMouseButtonEventArgs* pArgs) override;
    void OnMouseLeftButtonUp(CQVTMarkupMouseButtonEventArgs* pArgs) override;
    void OnLostMouseCapture(CQVTMarkupMouseEventArgs* pArgs) override;
    virtual void OnClick();

    BOOL IsPressed();

    static CQVTMarkupRoutedEvent* m_pClickEvent;
    static CQVTMarkupDependencyProperty* m_pIsPressedProperty;

protected:
    CQVTWinThemeWrapper* GetTheme() const { return m_pTheme.get(); }
    BOOL IsMouseOverButton() const { return m_bMouseOver; }

private:
    static void AFX_CDECL RegisterMarkupProperties();
    void SetPressed(BOOL bPressed);

    BOOL GetIsPressedProperty();
    void SetIsPressedProperty(BOOL bValue);
    LPDISPATCH GetClickEventProperty();
    DECLARE_DISPATCH_MAP()

    BOOL m_bPressed;    // the button holds the capture after a press
    BOOL m_bMouseOver;  // the pointer is inside the button
    std::unique_ptr<CQVTWinThemeWrapper> m_pTheme;
};
