#include "toolkit/markup/text/QVTMarkupTextBlock.h"

#include <cmath>

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/text/QVTMarkupRun.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupTextBlock, CQVTMarkupFrameworkElement, u"TextBlock",
                      &CQVTMarkupTextBlock::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupTextBlock::m_pTextWrappingProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextBlock::m_pTextTrimmingProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextBlock::m_pTextAlignmentProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextBlock::m_pPaddingProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupTextBlock::m_pTextProperty = nullptr;

namespace {
const QVTMARKUPKEYWORD kWrappings[] = {
    {u"NoWrap", qvtNoWrap}, {u"Wrap", qvtWrap}, {u"WrapWithOverflow", qvtWrapWithOverflow}};
const QVTMARKUPKEYWORD kTrimmings[] = {{u"None", qvtTrimmingNone},
                                       {u"CharacterEllipsis", qvtCharacterEllipsis},
                                       {u"WordEllipsis", qvtWordEllipsis}};
const QVTMARKUPKEYWORD kAlignments[] = {{u"Left", qvtTextAlignLeft},
                                        {u"Right", qvtTextAlignRight},
                                        {u"Center", qvtTextAlignCenter},
                                        {u"Justify", qvtTextAlignJustify}};

CQVTMarkupObject* AFX_CDECL ConvertWrapping(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                            CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kWrappings);
}

CQVTMarkupObject* AFX_CDECL ConvertTrimming(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                            CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kTrimmings);
}

CQVTMarkupObject* AFX_CDECL ConvertAlignment(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                             CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kAlignments);
}

}  // namespace

// The state of one layout pass.
struct CQVTMarkupTextBlock::CLayoutState
{
    float penX = 0, penY = 0;
    float widest = 0;
    std::unique_ptr<CLine> line;                   // being filled
    std::unique_ptr<CLinePart> pending;            // the word being collected
    std::deque<std::unique_ptr<CLinePart>> queue;  // parts of a word not yet placed
    CQVTMarkupDrawingContext* pDC = nullptr;
    int nWrapping = qvtNoWrap;
    int nTrimming = qvtTrimmingNone;
    BOOL bJustify = FALSE;
};

CQVTMarkupTextBlock::CLinePart::CLinePart(CQVTMarkupInline* pInlineIn, QVT_TEXTPOS from, QVT_TEXTPOS to,
                                          BOOL bNewParagraphIn)
    : pInline(pInlineIn), start(from), end(to), bNewParagraph(bNewParagraphIn)
{
    pInline->InternalAddRef();
}

CQVTMarkupTextBlock::CLinePart::~CLinePart()
{
    pInline->InternalRelease();
}

RECT CQVTMarkupTextBlock::CLinePart::GetRect() const
{
    const double dLeft = double(x) + xOffset, dTop = double(y) + yOffset;
    return RECT{MarkupTruncate(dLeft), MarkupTruncate(dTop), MarkupTruncate(dLeft + width),
                MarkupTruncate(dTop + height)};
}

void AFX_CDECL CQVTMarkupTextBlock::RegisterMarkupProperties()
{
    CQVTMarkupTextElement::EnsureMarkupClass();
    CQVTMarkupRun::EnsureMarkupClass();
    CQVTMarkupThickness::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    for (CQVTMarkupDependencyProperty* pProperty :
         {CQVTMarkupTextElement::m_pBackgroundProperty, CQVTMarkupTextElement::m_pForegroundProperty,
          CQVTMarkupTextElement::m_pFontSizeProperty, CQVTMarkupTextElement::m_pFontWeightProperty,
          CQVTMarkupTextElement::m_pFontFamilyProperty, CQVTMarkupTextElement::m_pFontStyleProperty,
          CQVTMarkupTextElement::m_pTextDecorationsProperty, CQVTMarkupTextElement::m_pFontQualityProperty,
          CQVTMarkupTextElement::m_pFontCharsetProperty})
        CQVTMarkupDependencyProperty::AddOwner(pProperty, pType);
    CQVTMarkupType* pEnumType = CQVTMarkupEnum::GetMarkupType();
    m_pTextWrappingProperty = CQVTMarkupDependencyProperty::Register(
        u"TextWrapping", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertWrapping, QVT_MARKUP_AFFECTS_MEASURE));
    m_pTextTrimmingProperty = CQVTMarkupDependencyProperty::Register(
        u"TextTrimming", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertTrimming, QVT_MARKUP_AFFECTS_MEASURE));
    m_pTextAlignmentProperty = CQVTMarkupDependencyProperty::Register(
        u"TextAlignment", pEnumType, pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertAlignment, QVT_MARKUP_AFFECTS_ARRANGE));
    m_pPaddingProperty = CQVTMarkupDependencyProperty::Register(
        u"Padding", CQVTMarkupThickness::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupThickness(),
                                       QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_X | QVT_MARKUP_SCALE_Y));
    m_pTextProperty = CQVTMarkupDependencyProperty::Register(
        u"Text", CQVTMarkupString::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupTextBlock::CQVTMarkupTextBlock()
    : m_pInlines(new CQVTMarkupInlineCollection(this)), m_nCachedWidth(-1), m_szLayout{0, 0}
{
}

CQVTMarkupTextBlock::~CQVTMarkupTextBlock()
{
    m_lines.clear();
    // Let go first: a text block being destroyed is not measured again.
    m_pInlines->SetOwner(nullptr);
    m_pInlines->RemoveAll();
    m_pInlines->InternalRelease();
}

CQVTMarkupObject* CQVTMarkupTextBlock::GetLogicalChild(int nIndex)
{
    return nIndex == 0 ? m_pInlines : nullptr;
}

BOOL CQVTMarkupTextBlock::HasContentObject()
{
    return m_pInlines->HasContentObject();
}

void CQVTMarkupTextBlock::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    m_pInlines->SetContentObject(pBuilder, pContent);
}

void CQVTMarkupTextBlock::SetText(LPCWSTR lpszText)
{
    SetValue(m_pTextProperty, CQVTMarkupString::CreateValue(lpszText));
}

void CQVTMarkupTextBlock::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                            CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    if (pProperty != nullptr && pProperty == m_pTextProperty)
    {
        // The lines hold the old inlines: they go first.
        m_lines.clear();
        m_nCachedWidth = -1;
        m_pInlines->RemoveAll();
        CQVTMarkupAutoPtr run(CQVTMarkupRun::GetMarkupType()->CreateObject(GetMarkupContext()));
        if (pNewValue != nullptr)
            pNewValue->InternalAddRef();
        run->SetValue(CQVTMarkupRun::m_pTextProperty, pNewValue);
        m_pInlines->Add(run.Detach());
    }
    CQVTMarkupFrameworkElement::OnPropertyChanged(pProperty, pOldValue, pNewValue);
}

void CQVTMarkupTextBlock::InvalidateMeasure()
{
    m_nCachedWidth = -1;
    CQVTMarkupFrameworkElement::InvalidateMeasure();
}

void CQVTMarkupTextBlock::InvalidateMeasureCore(CQVTMarkupDrawingContext* pDC)
{
    m_nCachedWidth = -1;
    CQVTMarkupFrameworkElement::InvalidateMeasureCore(pDC);
}

CQVTMarkupThickness* CQVTMarkupTextBlock::GetPadding()
{
    return MarkupCast<CQVTMarkupThickness>(GetValue(m_pPaddingProperty));
}

// Layout

SIZE CQVTMarkupTextBlock::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    CQVTMarkupThickness* pPadding = GetPadding();
    const __int64 h = pPadding != nullptr ? __int64(pPadding->left) + pPadding->right : 0;
    const __int64 v = pPadding != nullptr ? __int64(pPadding->top) + pPadding->bottom : 0;
    CalculateLines(pDC, static_cast<int>(std::max<__int64>(szAvailable.cx - h, 0)));
    return SIZE{MarkupTruncate(double(m_szLayout.cx) + h), MarkupTruncate(double(m_szLayout.cy) + v)};
}

void CQVTMarkupTextBlock::MeasurePart(CLayoutState& state, CLinePart* pPart)
{
    float size[2] = {0, 0};
    pPart->pInline->MeasureRange(state.pDC, pPart->start, pPart->end, size);
    pPart->width = size[0];
    pPart->height = size[1];
    pPart->nDescent = pPart->pInline->GetDescent();
    if (const int* pMetrics = pPart->pInline->GetMetrics())
    {
        pPart->nAscentMetric = pMetrics[0];
        pPart->nDescentMetric = pMetrics[1];
    }
}

std::unique_ptr<CQVTMarkupTextBlock::CLinePart> CQVTMarkupTextBlock::CreateOwnRunPart(CLayoutState& state,
                                                                                      LPCWSTR lpszText)
{
    CQVTMarkupAutoPtr run(CQVTMarkupRun::GetMarkupType()->CreateObject(GetMarkupContext()));
    CQVTMarkupRun* pRun = static_cast<CQVTMarkupRun*>(run.Get());
    pRun->SetText(lpszText);
    // Not one of the inlines: the text block's own font and brushes apply.
    pRun->SetLogicalParent(this);
    const QVT_TEXTPOS first = pRun->GetFirstPosition();
    QVT_TEXTPOS last = first;
    for (int i = 0; i < pRun->GetTextLength(); ++i)
        pRun->GetNextPosition(last);
    std::unique_ptr<CLinePart> pPart(new CLinePart(pRun, first, last, FALSE));
    pRun->PrepareMeasure(state.pDC);
    return pPart;
}

void CQVTMarkupTextBlock::CalculateLines(CQVTMarkupDrawingContext* pDC, int nWidth)
{
    CLayoutState state;
    state.pDC = pDC;
    state.nWrapping = GetMarkupEnumValue(GetValue(m_pTextWrappingProperty), qvtNoWrap);
    if (state.nWrapping != qvtNoWrap)
        state.bJustify =
            GetMarkupEnumValue(GetValue(m_pTextAlignmentProperty), qvtTextAlignLeft) == qvtTextAlignJustify;
    else
        state.nTrimming = GetMarkupEnumValue(GetValue(m_pTextTrimmingProperty), qvtTrimmingNone);
    const BOOL bBypass = pDC != nullptr && pDC->BypassesLayoutCache();
    CQVTMarkupContext* pContext = GetMarkupContext();
    const UINT nFontVersion = pContext != nullptr ? pContext->GetDefaultFontVersion() : 0;
    if (nWidth == m_nCachedWidth && nFontVersion == m_nCachedFontVersion && !bBypass)
        return;
    m_nCachedWidth = nWidth;
    m_nCachedFontVersion = nFontVersion;
    m_lines.clear();
    state.line.reset(new CLine());

    CQVTMarkupInline* pFirst = m_pInlines->GetAt(0);
    if (pFirst != nullptr)
        pFirst = pFirst->GetFirstInline();
    if (pFirst == nullptr)
    {
        // The filler: an empty piece of the text block's font.
        std::unique_ptr<CLinePart> pFiller = CreateOwnRunPart(state, u" ");
        pFiller->end = pFiller->start;
        MeasurePart(state, pFiller.get());
        state.queue.push_back(std::move(pFiller));
    }
    for (CQVTMarkupInline* pInline = pFirst; pInline != nullptr;
         pInline = CQVTMarkupInline::GetNextInline(pInline))
    {
        pInline->PrepareMeasure(pDC);
        QVT_TEXTPOS pos = pInline->GetFirstPosition();
        state.pending.reset(new CLinePart(pInline, pos, pos, FALSE));
        while (pos != QVT_NO_TEXTPOS)
        {
            state.pending->end = pos;
            BOOL bSkippedReturn = FALSE;
            if (pInline->IsCarriageReturn(pos))
            {
                pInline->GetNextPosition(pos);
                bSkippedReturn = TRUE;
            }
            if (state.nWrapping != qvtNoWrap && pInline->IsWordBreak(pos))
            {
                MeasurePart(state, state.pending.get());
                AddPendingPart(state, nWidth);
                // A return before the break is dropped, not carried into the next word.
                if (bSkippedReturn && state.pending != nullptr)
                    state.pending->start = state.pending->end = pos;
            }
            if (pInline->IsLineBreak(pos))
            {
                MeasurePart(state, state.pending.get());
                AddPendingPart(state, nWidth);
                if (state.line->parts.empty())
                {
                    // An empty line gets the height of the text block's font.
                    std::unique_ptr<CLinePart> pFiller = CreateOwnRunPart(state, u" ");
                    pFiller->end = pFiller->start;
                    MeasurePart(state, pFiller.get());
                    state.queue.push_back(std::move(pFiller));
                    AddPendingPart(state, nWidth);
                }
                CloseLine(state, nWidth);
                pInline->GetNextPosition(pos);
                state.pending.reset(new CLinePart(pInline, pos, pos, TRUE));
            }
            else
            {
                pInline->GetNextPosition(pos);
            }
        }
        if (!state.pending->IsEmpty() || state.pending->bNewParagraph)
        {
            // A word may go on in the next inline: it is placed as a whole.
            MeasurePart(state, state.pending.get());
            state.queue.push_back(std::move(state.pending));
        }
        state.pending.reset();
    }
    AddPendingPart(state, nWidth);
    CloseLine(state, nWidth);
    m_szLayout = {MarkupTruncate(state.widest), MarkupTruncate(state.penY)};
    if (bBypass)
        m_nCachedWidth = -1;
}

void CQVTMarkupTextBlock::AddPendingPart(CLayoutState& state, int nWidth)
{
    if (state.pending != nullptr && (!state.pending->IsEmpty() || state.pending->bNewParagraph))
    {
        std::unique_ptr<CLinePart> pNext(
            new CLinePart(state.pending->pInline, state.pending->end, state.pending->end, FALSE));
        state.queue.push_back(std::move(state.pending));
        state.pending = std::move(pNext);
    }
    if (state.nWrapping != qvtNoWrap && state.penX > 0 && !state.queue.empty())
    {
        double dWord = state.penX;
        for (const std::unique_ptr<CLinePart>& pPart : state.queue)
            dWord += pPart->width;
        if (MarkupTruncate(dWord) > nWidth)
        {
            // The whole word moves to the next line.
            state.line->bWrapped = TRUE;
            CloseLine(state, nWidth);
        }
    }
    while (!state.queue.empty())
    {
        std::unique_ptr<CLinePart> pPart = std::move(state.queue.front());
        state.queue.pop_front();
        CQVTMarkupInline* pInline = pPart->pInline;

        if (state.penX == 0 && state.penY > 0 && pInline->IsSpaceOrTab(pPart->start))
        {
            // A line after the first starts without its blanks.
            while (pPart->start != pPart->end && pInline->IsSpaceOrTab(pPart->start))
                pInline->GetNextPosition(pPart->start);
            if (pPart->start == QVT_NO_TEXTPOS)
                pPart->start = pPart->end;
            if (pPart->IsEmpty())
                continue;
            MeasurePart(state, pPart.get());
        }

        if (state.nWrapping == qvtWrap && MarkupTruncate(double(state.penX) + pPart->width) > nWidth &&
            !pPart->IsEmpty())
        {
            // A word wider than the line is broken between characters; each
            // line takes at least one, and no step leaves the part.
            const QVT_TEXTPOS e = pPart->end;
            QVT_TEXTPOS accepted = pPart->start;
            pInline->GetNextPosition(accepted);
            if (accepted == QVT_NO_TEXTPOS)
                accepted = e;
            while (accepted != e)
            {
                QVT_TEXTPOS next = accepted;
                pInline->GetNextPosition(next);
                if (next == QVT_NO_TEXTPOS)
                    break;
                float size[2] = {0, 0};
                pInline->MeasureRange(state.pDC, pPart->start, next, size);
                if (MarkupTruncate(double(size[0]) + state.penX) > nWidth)
                    break;
                accepted = next;
            }
            std::unique_ptr<CLinePart> pRest(new CLinePart(pInline, accepted, e, FALSE));
            pPart->end = accepted;
            MeasurePart(state, pPart.get());
            PlacePart(state, std::move(pPart));
            state.line->bWrapped = TRUE;
            CloseLine(state, nWidth);
            if (!pRest->IsEmpty())
            {
                MeasurePart(state, pRest.get());
                state.queue.push_front(std::move(pRest));
            }
            continue;
        }

        CLinePart* pLast = state.line->parts.empty() ? nullptr : state.line->parts.back().get();
        if (!state.bJustify && pLast != nullptr && pLast->pInline == pInline && pLast->end == pPart->start &&
            !pPart->bNewParagraph)
        {
            // Consecutive words of one run become one piece again: drawn with
            // one text call and measured as a whole.
            state.penX -= pLast->width;
            pLast->end = pPart->end;
            MeasurePart(state, pLast);
            state.penX += pLast->width;
            continue;
        }
        PlacePart(state, std::move(pPart));
    }
}

void CQVTMarkupTextBlock::PlacePart(CLayoutState& state, std::unique_ptr<CLinePart> pPart)
{
    pPart->x = state.penX;
    pPart->y = state.penY;
    pPart->pLine = state.line.get();
    state.penX += pPart->width;
    state.line->parts.push_back(std::move(pPart));
}

void CQVTMarkupTextBlock::CloseLine(CLayoutState& state, int nWidth)
{
    CLine* pLine = state.line.get();
    if (pLine->parts.empty())
        return;
    if (state.nTrimming != qvtTrimmingNone && MarkupTruncate(state.penX) > nWidth)
        TrimLine(state, nWidth);
    double dWidth = 0;
    int nMaxDescent = 0;
    for (const std::unique_ptr<CLinePart>& pPart : pLine->parts)
    {
        dWidth += pPart->width;
        nMaxDescent = std::max(nMaxDescent, pPart->nDescent);
    }
    pLine->width = static_cast<float>(dWidth);
    pLine->maxDescent = static_cast<float>(nMaxDescent);
    float height = 0;
    for (const std::unique_ptr<CLinePart>& pPart : pLine->parts)
        height = std::max(height, pPart->height - pPart->nDescent + pLine->maxDescent);
    pLine->height = height;
    state.widest = std::max(state.widest, pLine->width);
    state.penX = 0;
    state.penY += pLine->height;
    m_lines.push_back(std::move(state.line));
    state.line.reset(new CLine());
}

void CQVTMarkupTextBlock::TrimLine(CLayoutState& state, int nWidth)
{
    std::unique_ptr<CLinePart> pEllipsis = CreateOwnRunPart(state, u"...");
    MeasurePart(state, pEllipsis.get());
    const int nLimit = MarkupTruncate(double(nWidth) - MarkupTruncate(pEllipsis->width));
    std::vector<std::unique_ptr<CLinePart>>& parts = state.line->parts;
    double w = 0;
    size_t i = 0;
    for (; i < parts.size(); ++i)
    {
        if (MarkupTruncate(w + parts[i]->width) > nLimit)
            break;
        w += parts[i]->width;
    }
    if (i < parts.size())
    {
        CLinePart* p = parts[i].get();
        CQVTMarkupInline* pInline = p->pInline;
        const QVT_TEXTPOS originalEnd = p->end;
        BOOL bHasCandidate = w != 0;
        QVT_TEXTPOS candidate = p->start;
        QVT_TEXTPOS lastFit = p->start;
        p->end = p->start;
        for (;;)
        {
            MeasurePart(state, p);
            if (MarkupTruncate(w + p->width) > nLimit)
                break;
            lastFit = p->end;
            if (state.nTrimming == qvtWordEllipsis && pInline->IsWordBreak(p->end))
            {
                candidate = p->end;
                bHasCandidate = TRUE;
            }
            // The cut lies inside the part: the walk never passes its end.
            if (p->end == originalEnd)
                break;
            pInline->GetNextPosition(p->end);
            if (p->end == QVT_NO_TEXTPOS)
                break;
        }
        p->end = state.nTrimming == qvtWordEllipsis && bHasCandidate ? candidate : lastFit;
        MeasurePart(state, p);
        w += p->width;
        parts.erase(parts.begin() + i + 1, parts.end());
    }
    pEllipsis->x = static_cast<float>(w);
    pEllipsis->y = state.penY;
    pEllipsis->pLine = state.line.get();
    parts.push_back(std::move(pEllipsis));
}

SIZE CQVTMarkupTextBlock::ArrangeOverride(SIZE szFinal)
{
    CQVTMarkupThickness* pPadding = GetPadding();
    const int nPadLeft = pPadding != nullptr ? pPadding->left : 0,
              nPadTop = pPadding != nullptr ? pPadding->top : 0;
    const int nPadRight = pPadding != nullptr ? pPadding->right : 0;
    const int nAlignment = GetMarkupEnumValue(GetValue(m_pTextAlignmentProperty), qvtTextAlignLeft);
    for (const std::unique_ptr<CLine>& pLine : m_lines)
    {
        const __int64 nFree = __int64(szFinal.cx) - MarkupTruncate(pLine->width);
        __int64 nSpace = nFree - nPadLeft - nPadRight;
        __int64 nOffset = 0;
        __int64 nGaps = 0;
        if (nAlignment == qvtTextAlignRight)
            nOffset = nSpace;
        else if (nAlignment == qvtTextAlignCenter)
            nOffset = nSpace / 2;
        else if (nAlignment == qvtTextAlignJustify && pLine->bWrapped && nFree >= 1)
        {
            for (const std::unique_ptr<CLinePart>& pPart : pLine->parts)
                nGaps += pPart->bNewParagraph ? 0 : 1;
            --nGaps;
        }
        BOOL bFirstWord = TRUE;
        for (const std::unique_ptr<CLinePart>& pPart : pLine->parts)
        {
            if (nAlignment == qvtTextAlignJustify && !pPart->bNewParagraph)
            {
                if (!bFirstWord && nGaps >= 1 && nSpace >= 1)
                {
                    const __int64 nShare = std::max<__int64>(nSpace / nGaps, 1);
                    nSpace -= nShare;
                    --nGaps;
                    nOffset += nShare;
                }
                bFirstWord = FALSE;
            }
            pPart->xOffset = static_cast<float>(nPadLeft + nOffset);
            double dOffsetY = double(nPadTop) + pLine->height - pPart->height;
            switch (pPart->pInline->GetBaselineAlignment())
            {
            case qvtBaselineTop:
            case qvtBaselineTextTop:
                dOffsetY += pPart->height - pLine->height;
                break;
            case qvtBaselineCenter:
                dOffsetY += (pPart->height - pLine->height) / 2;
                break;
            case qvtBaselineBaseline:
                dOffsetY += pPart->nDescent - pLine->maxDescent;
                break;
            case qvtBaselineSubscript:
                dOffsetY += pPart->nDescent - pLine->maxDescent / 2;
                break;
            case qvtBaselineSuperscript:
                dOffsetY += (pPart->height - pLine->height) + pLine->maxDescent / 2 - pPart->nDescent;
                break;
            default:
                break;
            }
            pPart->yOffset = static_cast<float>(dOffsetY);
            pPart->pInline->ArrangeRange(pPart->GetRect(), pPart->start);
        }
    }
    return szFinal;
}

// Drawing and hit testing

void CQVTMarkupTextBlock::OnRender(CQVTMarkupDrawingContext* pDC)
{
    const SIZE size = GetRenderSize();
    CQVTMarkupBrush* pOwnBackground =
        MarkupCast<CQVTMarkupBrush>(GetValue(CQVTMarkupTextElement::m_pBackgroundProperty));
    if (pOwnBackground != nullptr)
        pDC->FillRectangle(RECT{0, 0, size.cx, size.cy}, pOwnBackground);
    CQVTMarkupContext* pContext = GetMarkupContext();
    CQVTMarkupAutoPtr defaultBrush(
        new CQVTMarkupSolidColorBrush(pContext != nullptr ? pContext->GetDefaultTextColor() : RGB(0, 0, 0)));
    CQVTMarkupBrush* pDefault = static_cast<CQVTMarkupBrush*>(defaultBrush.Get());
    CQVTMarkupBrush* pSelected = nullptr;
    BOOL bAnySelected = FALSE;
    const RECT& rcClip = pDC->GetClipBox();
    for (const std::unique_ptr<CLine>& pLine : m_lines)
    {
        for (const std::unique_ptr<CLinePart>& pPart : pLine->parts)
        {
            const RECT rc = pPart->GetRect();
            RECT rcVisible;
            if (!::IntersectRect(&rcVisible, &rc, &rcClip))
                continue;
            CQVTMarkupInline* pInline = pPart->pInline;
            CQVTMarkupBrush* pBackground = pInline->GetBackground();
            if (pBackground != nullptr && pBackground != pOwnBackground)
                pDC->FillRectangle(rc, pBackground);
            CQVTMarkupBrush* pForeground = pInline->GetForeground();
            if (pForeground == nullptr)
                pForeground = pDefault;
            if (!bAnySelected || pForeground != pSelected)
            {
                pDC->SetTextColor(pForeground);
                pSelected = pForeground;
                bAnySelected = TRUE;
            }
            pInline->RenderRange(pDC, rc, pPart->start, pPart->end);
            DrawDecorations(pDC, pPart.get(), pDefault);
        }
    }
    pDC->SetTextColor(nullptr);
}

void CQVTMarkupTextBlock::DrawDecorations(CQVTMarkupDrawingContext* pDC, const CLinePart* pPart,
                                          CQVTMarkupBrush* pDefault)
{
    CQVTMarkupObject* pHolder =
        pPart->pInline->FindValueOwner(CQVTMarkupTextElement::m_pTextDecorationsProperty);
    if (pHolder == nullptr)
        return;
    const int nDecoration =
        GetMarkupEnumValue(pHolder->GetValue(CQVTMarkupTextElement::m_pTextDecorationsProperty), 0);
    if (nDecoration != qvtTextDecorationUnderline && nDecoration != qvtTextDecorationStrikethrough)
        return;
    const int B = MarkupTruncate(double(pPart->y) + pPart->yOffset + pPart->height);
    const int d = pPart->nDescent;
    const int t = std::max(d / 4, 1);
    int nTop = 0;
    if (nDecoration == qvtTextDecorationUnderline)
        nTop = B - (d - t) + ((d - t) % 2);
    else
        nTop = B - d - (pPart->nAscentMetric - pPart->nDescentMetric - t) / 2;
    const double dLeft = double(pPart->x) + pPart->xOffset;
    CQVTMarkupBrush* pBrush =
        MarkupCast<CQVTMarkupBrush>(pHolder->GetValue(CQVTMarkupTextElement::m_pForegroundProperty));
    pDC->FillRectangle(RECT{MarkupTruncate(dLeft), nTop, MarkupTruncate(dLeft + pPart->width), nTop + t},
                       pBrush != nullptr ? pBrush : pDefault);
}

CQVTMarkupInputElement* CQVTMarkupTextBlock::InputHitTestCore(POINT pt)
{
    for (const std::unique_ptr<CLine>& pLine : m_lines)
    {
        for (const std::unique_ptr<CLinePart>& pPart : pLine->parts)
        {
            const RECT rc = pPart->GetRect();
            if (::PtInRect(&rc, pt))
                return pPart->pInline->InputHitTest(pt);
        }
    }
    return this;
}
