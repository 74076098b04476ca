// A UI element placed in the flow of text: two positions, a word of its own.
#pragma once

#include "toolkit/markup/text/QVTMarkupTextElement.h"

class CQVTMarkupUIElement;

class CQVTMarkupInlineUIContainer : public CQVTMarkupInline
{
    DECLARE_MARKUPCLASS(CQVTMarkupInlineUIContainer)

public:
    CQVTMarkupInlineUIContainer();
    ~CQVTMarkupInlineUIContainer() override;

    CQVTMarkupUIElement* GetChild() const { return m_pChild; }
    // Takes the caller's reference; the old child is unlinked and released.
    void SetChild(CQVTMarkupUIElement* pChild);

    int GetLogicalChildrenCount() override { return m_pChild != nullptr ? 1 : 0; }
    CQVTMarkupObject* GetLogicalChild(int nIndex) override;
    BOOL HasContentObject() override { return m_pChild != nullptr; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    QVT_TEXTPOS GetFirstPosition() override;
    void GetNextPosition(QVT_TEXTPOS& pos) override;
    BOOL IsWordBreak(QVT_TEXTPOS pos) override { return pos == 0 || pos == 1; }
    void ArrangeRange(const RECT& rc, QVT_TEXTPOS from) override;
    void MeasureRange(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to, float* pSize) override;
    SIZE GetRangeExtent(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS to) override;
    void RenderRange(CQVTMarkupDrawingContext* pDC, const RECT& rc, QVT_TEXTPOS from,
                     QVT_TEXTPOS to) override;
    CQVTMarkupInputElement* InputHitTest(POINT pt) override;

private:
    CQVTMarkupUIElement* m_pChild;  // counted; the container is its logical parent

private:
    LPDISPATCH GetChildProperty();
    void SetChildProperty(LPDISPATCH pDispatch);
    DECLARE_DISPATCH_MAP()
};
