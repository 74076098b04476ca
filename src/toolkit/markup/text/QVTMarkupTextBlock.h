// The element that shows text: it breaks its inlines into words, places the
// words on lines within the available width (wrapping, trimming with an
// ellipsis, alignment, justification, baseline alignment), draws each piece
// with its own font, brushes and decorations, and tells which inline lies
// under a point. The layout is kept for the width it was made for.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/text/QVTMarkupTextElement.h"

class CQVTMarkupInlineCollection;

enum QVTMarkupTextWrapping
{
    qvtNoWrap = 0,
    qvtWrap = 1,
    qvtWrapWithOverflow = 2,
};

enum QVTMarkupTextTrimming
{
    qvtTrimmingNone = 0,
    qvtCharacterEllipsis = 1,
    qvtWordEllipsis = 2,
};

enum QVTMarkupTextAlignment
{
    qvtTextAlignLeft = 0,
    qvtTextAlignRight = 1,
    qvtTextAlignCenter = 2,
    qvtTextAlignJustify = 3,
};

class CQVTMarkupTextBlock : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupTextBlock)

public:
    struct CLine;

    // One piece of one inline placed on one line.
    struct CLinePart
    {
        CLinePart(CQVTMarkupInline* pInline, QVT_TEXTPOS from, QVT_TEXTPOS to, BOOL bNewParagraph);
        ~CLinePart();
        CLinePart(const CLinePart&) = delete;
        CLinePart& operator=(const CLinePart&) = delete;

        BOOL IsEmpty() const { return start == end; }
        // The rectangle the arrange pass gives the piece.
        RECT GetRect() const;

        CQVTMarkupInline* pInline;  // counted
        QVT_TEXTPOS start;
        QVT_TEXTPOS end;                 // exclusive
        float x = 0, y = 0;              // where the layout placed it
        float xOffset = 0, yOffset = 0;  // added by the arrange pass
        CLine* pLine = nullptr;
        float width = 0, height = 0;
        int nDescent = 0;
        int nAscentMetric = 0, nDescentMetric = 0;  // of the inline's font
        BOOL bNewParagraph;                         // begins right after a line feed
    };

    struct CLine
    {
        std::vector<std::unique_ptr<CLinePart>> parts;
        float width = 0;  // the parts' widths summed
        float height = 0;
        float maxDescent = 0;
        BOOL bWrapped = FALSE;  // ended because the next word did not fit
    };

    CQVTMarkupTextBlock();
    ~CQVTMarkupTextBlock() override;

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    CQVTMarkupInputElement* InputHitTestCore(POINT pt) override;
    void InvalidateMeasure() override;
    void InvalidateMeasureCore(CQVTMarkupDrawingContext* pDC) override;
    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;

    BOOL HasContentObject() override;
    BOOL AllowWhiteSpaceContent() override { return TRUE; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    int GetLogicalChildrenCount() override { return 1; }
    CQVTMarkupObject* GetLogicalChild(int nIndex) override;

    CQVTMarkupInlineCollection* GetInlines() const { return m_pInlines; }
    // Replaces every inline with one run of the text.
    void SetText(LPCWSTR lpszText);

    // The layout of the last measure.
    const std::vector<std::unique_ptr<CLine>>& GetLines() const { return m_lines; }
    SIZE GetLayoutSize() const { return m_szLayout; }

    static CQVTMarkupDependencyProperty* m_pTextWrappingProperty;
    static CQVTMarkupDependencyProperty* m_pTextTrimmingProperty;
    static CQVTMarkupDependencyProperty* m_pTextAlignmentProperty;
    static CQVTMarkupDependencyProperty* m_pPaddingProperty;
    static CQVTMarkupDependencyProperty* m_pTextProperty;

private:
    // Automation.
    long GetTextWrappingProperty();
    void SetTextWrappingProperty(long nValue);
    long GetTextTrimmingProperty();
    void SetTextTrimmingProperty(long nValue);
    long GetTextAlignmentProperty();
    void SetTextAlignmentProperty(long nValue);
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
    LPDISPATCH GetPaddingProperty();
    void SetPaddingProperty(LPDISPATCH pDispatch);
    long GetFontQualityProperty();
    void SetFontQualityProperty(long nValue);
    LPDISPATCH GetBackgroundProperty();
    void SetBackgroundProperty(const VARIANT& value);
    LPDISPATCH GetForegroundProperty();
    void SetForegroundProperty(const VARIANT& value);
    BSTR GetTextProperty();
    void SetTextProperty(const VARIANT& value);
    LPDISPATCH GetInlinesProperty();
    // A brush from a dispatch interface or a colour text.
    void SetBrushProperty(CQVTMarkupDependencyProperty* pProperty, const VARIANT& value);
    DECLARE_DISPATCH_MAP()

    struct CLayoutState;

    static void AFX_CDECL RegisterMarkupProperties();
    void CalculateLines(CQVTMarkupDrawingContext* pDC, int nWidth);
    void MeasurePart(CLayoutState& state, CLinePart* pPart);
    void AddPendingPart(CLayoutState& state, int nWidth);
    void PlacePart(CLayoutState& state, std::unique_ptr<CLinePart> pPart);
    void CloseLine(CLayoutState& state, int nWidth);
    void TrimLine(CLayoutState& state, int nWidth);
    // A part of a run of the text block's own font, made for this layout.
    std::unique_ptr<CLinePart> CreateOwnRunPart(CLayoutState& state, LPCWSTR lpszText);
    void DrawDecorations(CQVTMarkupDrawingContext* pDC, const CLinePart* pPart, CQVTMarkupBrush* pDefault);
    CQVTMarkupThickness* GetPadding();

    CQVTMarkupInlineCollection* m_pInlines;  // owned; its owner is the text block
    std::vector<std::unique_ptr<CLine>> m_lines;
    int m_nCachedWidth;             // the width the lines were made for, -1 for none
    UINT m_nCachedFontVersion = 0;  // the context's default font they were made in
    SIZE m_szLayout;                // the text's size without padding
};
