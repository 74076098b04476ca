// The base of every laid-out element: margins, alignments and size limits
// around the UI element's protocol, the clipping they call for, and the
// relayout a layout-affecting change triggers. Subclasses implement only
// MeasureOverride and ArrangeOverride.
#pragma once

#include "toolkit/markup/elements/QVTMarkupUIElement.h"

class CQVTMarkupThickness;

enum QVTMarkupAlignment
{
    qvtAlignLeft = 0,  // Top for vertical alignment
    qvtAlignCenter = 1,
    qvtAlignRight = 2,  // Bottom
    qvtAlignStretch = 3,
};

class CQVTMarkupFrameworkElement : public CQVTMarkupUIElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupFrameworkElement)

public:
    CQVTMarkupFrameworkElement();

    virtual SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable);
    virtual SIZE ArrangeOverride(SIZE szFinal);

    SIZE MeasureCore(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    void ArrangeCore(const RECT& rcFinal) override;
    BOOL GetLayoutClip(RECT* pClip) override;
    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;

    // The effective margin; all sides 0 by default.
    CQVTMarkupThickness* GetMargin();
    QVTMarkupAlignment GetHorizontalAlignment();
    QVTMarkupAlignment GetVerticalAlignment();
    BOOL NeedsClip() const { return m_bNeedsClip; }

    // A length property's value, nDefault when unset or Auto.
    int GetLength(CQVTMarkupDependencyProperty* pProperty, int nDefault);

    static CQVTMarkupDependencyProperty* m_pMarginProperty;
    static CQVTMarkupDependencyProperty* m_pHorizontalAlignmentProperty;
    static CQVTMarkupDependencyProperty* m_pVerticalAlignmentProperty;
    static CQVTMarkupDependencyProperty* m_pWidthProperty;
    static CQVTMarkupDependencyProperty* m_pHeightProperty;
    static CQVTMarkupDependencyProperty* m_pMinWidthProperty;
    static CQVTMarkupDependencyProperty* m_pMinHeightProperty;
    static CQVTMarkupDependencyProperty* m_pMaxWidthProperty;
    static CQVTMarkupDependencyProperty* m_pMaxHeightProperty;
    static CQVTMarkupDependencyProperty* m_pTagProperty;

    // The length converter of Width, Height and their limits: "Auto", or a
    // whole number with an optional unit, DPI-scaled by the property's flags.
    static CQVTMarkupObject* AFX_CDECL ConvertLength(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource,
                                                     CQVTMarkupDependencyProperty* pProperty);

private:
    static void AFX_CDECL RegisterMarkupProperties();
    void ComputeLimits();
    // The offset of ink inside a slot along one axis.
    static int AlignmentOffset(QVTMarkupAlignment alignment, int nSlot, int nInk);

    BOOL m_bNeedsClip;   // the content did not fit its slot or limits
    SIZE m_szUnclipped;  // content size before the maximum limits, kept when clipping
    BOOL m_bUnclippedSaved;
    int m_nMaxHeight;  // limits of the last measure
    int m_nMinHeight;
    int m_nMaxWidth;
    int m_nMinWidth;

private:
    long GetMinWidthProperty();
    void SetMinWidthProperty(long nValue);
    long GetWidthProperty();
    void SetWidthProperty(long nValue);
    long GetMaxWidthProperty();
    void SetMaxWidthProperty(long nValue);
    long GetMinHeightProperty();
    void SetMinHeightProperty(long nValue);
    long GetHeightProperty();
    void SetHeightProperty(long nValue);
    long GetMaxHeightProperty();
    void SetMaxHeightProperty(long nValue);
    LPDISPATCH GetMarginProperty();
    void SetMarginProperty(LPDISPATCH pDispatch);
    long GetHorizontalAlignmentProperty();
    void SetHorizontalAlignmentProperty(long nValue);
    long GetVerticalAlignmentProperty();
    void SetVerticalAlignmentProperty(long nValue);
    VARIANT GetTagProperty();
    void SetTagProperty(const VARIANT& value);
    DECLARE_DISPATCH_MAP()
};
