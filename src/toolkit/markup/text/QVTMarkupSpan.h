// The inlines that format what they hold: span, bold, italic and underline.
#pragma once

#include "toolkit/markup/text/QVTMarkupTextElement.h"

class CQVTMarkupSpan : public CQVTMarkupInline
{
    DECLARE_MARKUPCLASS(CQVTMarkupSpan)

public:
    CQVTMarkupSpan();
    ~CQVTMarkupSpan() override;

    CQVTMarkupInline* GetFirstInline() override;
    int GetLogicalChildrenCount() override { return 1; }
    CQVTMarkupObject* GetLogicalChild(int nIndex) override;
    BOOL HasContentObject() override;
    BOOL AllowWhiteSpaceContent() override { return TRUE; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    CQVTMarkupInlineCollection* GetInlines() const { return m_pInlines; }

private:
    CQVTMarkupInlineCollection* m_pInlines;  // owned

private:
    LPDISPATCH GetInlinesProperty();
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupBold : public CQVTMarkupSpan
{
    DECLARE_MARKUPCLASS(CQVTMarkupBold)

public:
    CQVTMarkupBold();
};

class CQVTMarkupItalic : public CQVTMarkupSpan
{
    DECLARE_MARKUPCLASS(CQVTMarkupItalic)

public:
    CQVTMarkupItalic();
};

class CQVTMarkupUnderline : public CQVTMarkupSpan
{
    DECLARE_MARKUPCLASS(CQVTMarkupUnderline)

public:
    CQVTMarkupUnderline();
};
