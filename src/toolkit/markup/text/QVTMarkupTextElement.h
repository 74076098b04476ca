// The text elements: the base that owns the font and brush properties, which
// inherit down the inline tree, and the inline, whose protocol lets the text
// block lay out and draw runs, spans and embedded elements without knowing
// their kinds.
#pragma once

#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"

class CQVTMarkupBrush;
class CQVTMarkupDrawingContext;
class CQVTMarkupInlineCollection;

// A position inside an inline's content; opaque to the text block, which only
// compares positions. QVT_NO_TEXTPOS ends an inline's sequence.
typedef UINT64 QVT_TEXTPOS;
const QVT_TEXTPOS QVT_NO_TEXTPOS = ~static_cast<UINT64>(0);

enum QVTMarkupTextDecoration
{
    qvtTextDecorationNone = 0,
    qvtTextDecorationUnderline = 1,
    qvtTextDecorationStrikethrough = 2,
};

enum QVTMarkupBaselineAlignment
{
    qvtBaselineTop = 0,
    qvtBaselineCenter = 1,
    qvtBaselineBottom = 2,
    qvtBaselineBaseline = 3,
    qvtBaselineTextTop = 4,
    qvtBaselineTextBottom = 5,
    qvtBaselineSubscript = 6,
    qvtBaselineSuperscript = 7,
};

class CQVTMarkupTextElement : public CQVTMarkupFrameworkContentElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupTextElement)

public:
    // Effective values, borrowed; null when nothing up the tree sets them.
    CQVTMarkupBrush* GetBackground();
    CQVTMarkupBrush* GetForeground();

    static CQVTMarkupDependencyProperty* m_pBackgroundProperty;
    static CQVTMarkupDependencyProperty* m_pForegroundProperty;
    static CQVTMarkupDependencyProperty* m_pFontSizeProperty;
    static CQVTMarkupDependencyProperty* m_pFontWeightProperty;
    static CQVTMarkupDependencyProperty* m_pFontFamilyProperty;
    static CQVTMarkupDependencyProperty* m_pFontStyleProperty;
    static CQVTMarkupDependencyProperty* m_pTextDecorationsProperty;
    static CQVTMarkupDependencyProperty* m_pFontQualityProperty;
    static CQVTMarkupDependencyProperty* m_pFontCharsetProperty;

    // The converters of the enumeration properties, shared with the text block.
    static CQVTMarkupObject* AFX_CDECL ConvertFontWeight(CQVTMarkupBuilder* pBuilder,
                                                         CQVTMarkupObject* pSource,
                                                         CQVTMarkupDependencyProperty* pProperty);
    static CQVTMarkupObject* AFX_CDECL ConvertFontStyle(CQVTMarkupBuilder* pBuilder,
                                                        CQVTMarkupObject* pSource,
                                                        CQVTMarkupDependencyProperty* pProperty);
    static CQVTMarkupObject* AFX_CDECL ConvertTextDecorations(CQVTMarkupBuilder* pBuilder,
                                                              CQVTMarkupObject* pSource,
                                                              CQVTMarkupDependencyProperty* pProperty);
    static CQVTMarkupObject* AFX_CDECL ConvertFontQuality(CQVTMarkupBuilder* pBuilder,
                                                          CQVTMarkupObject* pSource,
                                                          CQVTMarkupDependencyProperty* pProperty);

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    VARIANT GetTagProperty();
    void SetTagProperty(const VARIANT& value);
    long GetTextDecorationsProperty();
    void SetTextDecorationsProperty(long nValue);
    long GetFontSizeProperty();
    void SetFontSizeProperty(long nValue);
    long GetFontWeightProperty();
    void SetFontWeightProperty(long nValue);
    BSTR GetFontFamilyProperty();
    void SetFontFamilyProperty(LPCWSTR lpszValue);
    long GetFontStyleProperty();
    void SetFontStyleProperty(long nValue);
    LPDISPATCH GetBackgroundProperty();
    void SetBackgroundProperty(LPDISPATCH pDispatch);
    LPDISPATCH GetForegroundProperty();
    void SetForegroundProperty(LPDISPATCH pDispatch);
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupInline : public CQVTMarkupTextElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupInline)

public:
    CQVTMarkupInline();

    // The first leaf of this inline's subtree (itself for leaves).
    virtual CQVTMarkupInline* GetFirstInline() { return this; }
    virtual QVT_TEXTPOS GetFirstPosition() { return QVT_NO_TEXTPOS; }
    // Moves to the next position, QVT_NO_TEXTPOS past the last.
    virtual void GetNextPosition(QVT_TEXTPOS& pos) { pos = 0; }
    virtual BOOL IsWordBreak(QVT_TEXTPOS pos) { return FALSE; }
    virtual BOOL IsLineBreak(QVT_TEXTPOS pos) { return FALSE; }
    virtual BOOL IsCarriageReturn(QVT_TEXTPOS pos) { return FALSE; }
    virtual BOOL IsSpaceOrTab(QVT_TEXTPOS pos) { return FALSE; }
    virtual void ArrangeRange(const RECT& rc, QVT_TEXTPOS from) {}
    // Width and height of [from, to) as floats.
    virtual void MeasureRange(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to, float* pSize);
    virtual SIZE GetRangeExtent(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to);
    virtual void RenderRange(CQVTMarkupDrawingContext* pDC, const RECT& rc, QVT_TEXTPOS from, QVT_TEXTPOS to)
    {
    }
    virtual void PrepareMeasure(CQVTMarkupDrawingContext* pDC) {}
    virtual int GetDescent() { return 0; }
    // Ascent and descent of the font last prepared, or null.
    virtual const int* GetMetrics() { return nullptr; }

    CQVTMarkupInputElement* InputHitTest(POINT pt) override { return this; }

    // The next leaf in document order, or null: climbs out of spans whose
    // last child this is.
    static CQVTMarkupInline* AFX_CDECL GetNextInline(CQVTMarkupInline* pInline);

    QVTMarkupBaselineAlignment GetBaselineAlignment();
    int GetIndexInCollection() const { return m_nPosition; }
    void SetIndexInCollection(int nIndex) { m_nPosition = nIndex; }

    static CQVTMarkupDependencyProperty* m_pBaselineAlignmentProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

    int m_nPosition;  // index in the holding collection, -1 outside one

private:
    long GetBaselineAlignmentProperty();
    void SetBaselineAlignmentProperty(long nValue);
    DECLARE_DISPATCH_MAP()
};
