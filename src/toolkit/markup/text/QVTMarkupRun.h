// A run of text, and the line break, a run of one line feed. Positions are
// the indexes of the run's characters plus one on the terminating zero.
#pragma once

#include "toolkit/markup/text/QVTMarkupTextElement.h"

class CQVTMarkupFont;

class CQVTMarkupRun : public CQVTMarkupInline
{
    DECLARE_MARKUPCLASS(CQVTMarkupRun)

public:
    CQVTMarkupRun();
    ~CQVTMarkupRun() override;

    void OnFinalRelease() override;

    // Null for a run without text.
    LPCWSTR GetText();
    int GetTextLength();
    // Sets Text to a new string value.
    void SetText(LPCWSTR lpszText);

    QVT_TEXTPOS GetFirstPosition() override;
    void GetNextPosition(QVT_TEXTPOS& pos) override;
    BOOL IsWordBreak(QVT_TEXTPOS pos) override;
    BOOL IsLineBreak(QVT_TEXTPOS pos) override;
    BOOL IsCarriageReturn(QVT_TEXTPOS pos) override;
    BOOL IsSpaceOrTab(QVT_TEXTPOS pos) override;
    void MeasureRange(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to, float* pSize) override;
    SIZE GetRangeExtent(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to) override;
    void RenderRange(CQVTMarkupDrawingContext* pDC, const RECT& rc, QVT_TEXTPOS from,
                     QVT_TEXTPOS to) override;
    void PrepareMeasure(CQVTMarkupDrawingContext* pDC) override;
    int GetDescent() override { return m_nDescent; }
    const int* GetMetrics() override { return m_bHasMetrics ? m_nMetrics : nullptr; }

    BOOL HasContentObject() override;
    // Text content becomes the run's Text.
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    // The font description of the run: the context's default with the
    // font properties in effect here.
    void GetLogFont(LOGFONTW* pLogFont);
    CQVTMarkupFont* GetCachedFont() const { return m_pFont; }

    static CQVTMarkupDependencyProperty* m_pTextProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
    void ReleaseFont();
    WCHAR CharAt(QVT_TEXTPOS pos);
    // The characters of [from, to), bounded by the text; FALSE when either
    // position is missing.
    BOOL GetRange(QVT_TEXTPOS from, QVT_TEXTPOS to, LPCWSTR& lpszStart, int& nCount);

    int m_nDescent;           // of the font last prepared
    CQVTMarkupFont* m_pFont;  // counted
    int m_nMetrics[2];        // ascent, descent
    BOOL m_bHasMetrics;

private:
    BSTR GetTextProperty();
    void SetTextProperty(const VARIANT& value);
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupLineBreak : public CQVTMarkupRun
{
    DECLARE_MARKUPCLASS(CQVTMarkupLineBreak)

public:
    CQVTMarkupLineBreak();
};
