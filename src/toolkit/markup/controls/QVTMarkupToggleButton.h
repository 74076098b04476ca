// Buttons with a checked state that a click cycles: the toggle base (with
// Checked, Unchecked and Indeterminate bubbling on every change), the check
// box and the radio button, whose group is the radio buttons sharing its
// parent. Both draw a 13-pixel glyph left of their content.
#pragma once

#include "toolkit/markup/controls/QVTMarkupButtonBase.h"

enum QVTMarkupCheckState
{
    qvtUnchecked = 0,
    qvtChecked = 1,
    qvtIndeterminate = 2,
};

class CQVTMarkupToggleButton : public CQVTMarkupButtonBase
{
    DECLARE_MARKUPCLASS(CQVTMarkupToggleButton)

public:
    void OnClick() override;
    virtual void OnToggle();
    virtual void OnChecked(CQVTMarkupRoutedEventArgs* pArgs);
    virtual void OnUnchecked(CQVTMarkupRoutedEventArgs* pArgs);
    virtual void OnIndeterminate(CQVTMarkupRoutedEventArgs* pArgs);

    QVTMarkupCheckState GetChecked();
    void SetChecked(QVTMarkupCheckState state);
    BOOL IsThreeState();

    static CQVTMarkupDependencyProperty* m_pIsCheckedProperty;
    static CQVTMarkupDependencyProperty* m_pIsThreeStateProperty;
    static CQVTMarkupRoutedEvent* m_pCheckedEvent;
    static CQVTMarkupRoutedEvent* m_pUncheckedEvent;
    static CQVTMarkupRoutedEvent* m_pIndeterminateEvent;

protected:
    // Measure and arrange of the glyph buttons: content right of the glyph.
    SIZE MeasureGlyphButton(CQVTMarkupDrawingContext* pDC, SIZE szAvailable, BOOL bMinHeightWithoutContent);
    SIZE ArrangeGlyphButton(SIZE szFinal);
    // The glyph rectangle, vertically centred.
    RECT GetGlyphRect();
    // The theme state 1..4 the glyph's base state starts from.
    int GetThemeBaseState();
    void RenderGlyphFocus(CQVTMarkupDrawingContext* pDC);

private:
    static void AFX_CDECL RegisterMarkupProperties();
    static void AFX_CDECL OnIsCheckedChanged(CQVTMarkupObject* pObject,
                                             CQVTMarkupPropertyChangedEventArgs* pArgs);

    long GetIsCheckedProperty();
    void SetIsCheckedProperty(long nValue);
    BOOL GetIsThreeStateProperty();
    void SetIsThreeStateProperty(BOOL bValue);
    LPDISPATCH GetCheckedEventProperty();
    LPDISPATCH GetIndeterminateEventProperty();
    LPDISPATCH GetUncheckedEventProperty();
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupCheckBox : public CQVTMarkupToggleButton
{
    DECLARE_MARKUPCLASS(CQVTMarkupCheckBox)

public:
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    void OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC) override;
};

class CQVTMarkupRadioButton : public CQVTMarkupToggleButton
{
    DECLARE_MARKUPCLASS(CQVTMarkupRadioButton)

public:
    // A click never unchecks a radio button.
    void OnToggle() override;
    // Unchecks the other radio buttons of the same parent first.
    void OnChecked(CQVTMarkupRoutedEventArgs* pArgs) override;
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    void OnRenderFocusVisual(CQVTMarkupDrawingContext* pDC) override;
};
