#include "toolkit/markup/text/QVTMarkupInlineUIContainer.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupInlineUIContainer, CQVTMarkupInline, u"InlineUIContainer", nullptr)

namespace {
// What an element in the text flow is offered: the text block's own size
// plays no part.
const SIZE kOfferedSize = {32000, 32000};
}  // namespace

CQVTMarkupInlineUIContainer::CQVTMarkupInlineUIContainer() : m_pChild(nullptr) {}

CQVTMarkupInlineUIContainer::~CQVTMarkupInlineUIContainer()
{
    SetChild(nullptr);
}

void CQVTMarkupInlineUIContainer::SetChild(CQVTMarkupUIElement* pChild)
{
    ReplaceLogicalChild(m_pChild, pChild);
}

CQVTMarkupObject* CQVTMarkupInlineUIContainer::GetLogicalChild(int nIndex)
{
    return nIndex == 0 ? m_pChild : nullptr;
}

void CQVTMarkupInlineUIContainer::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pContent);
    if (pElement == nullptr)
        CQVTMarkupBuilder::ThrowCannotAddContent(pContent, this, u"CQVTMarkupUIElement");
    pElement->InternalAddRef();
    SetChild(pElement);
}

QVT_TEXTPOS CQVTMarkupInlineUIContainer::GetFirstPosition()
{
    return m_pChild != nullptr ? 0 : QVT_NO_TEXTPOS;
}

void CQVTMarkupInlineUIContainer::GetNextPosition(QVT_TEXTPOS& pos)
{
    pos = pos == 0 ? 1 : QVT_NO_TEXTPOS;
}

void CQVTMarkupInlineUIContainer::ArrangeRange(const RECT& rc, QVT_TEXTPOS from)
{
    if (from == 0 && m_pChild != nullptr)
        m_pChild->Arrange(rc);
}

void CQVTMarkupInlineUIContainer::MeasureRange(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from,
                                               QVT_TEXTPOS to, float* pSize)
{
    const SIZE size = GetRangeExtent(pDC, from, to);
    pSize[0] = static_cast<float>(size.cx);
    pSize[1] = static_cast<float>(size.cy);
}

SIZE CQVTMarkupInlineUIContainer::GetRangeExtent(CQVTMarkupDrawingContext* pDC, QVT_TEXTPOS from, QVT_TEXTPOS)
{
    if (from != 0 || m_pChild == nullptr)
        return SIZE{0, 0};
    m_pChild->Measure(pDC, kOfferedSize);
    return m_pChild->GetDesiredSize();
}

void CQVTMarkupInlineUIContainer::RenderRange(CQVTMarkupDrawingContext* pDC, const RECT&, QVT_TEXTPOS from,
                                              QVT_TEXTPOS)
{
    if (from == 0 && m_pChild != nullptr)
        m_pChild->Render(pDC);
}

CQVTMarkupInputElement* CQVTMarkupInlineUIContainer::InputHitTest(POINT pt)
{
    if (m_pChild != nullptr)
    {
        if (CQVTMarkupInputElement* pHit = m_pChild->InputHitTest(pt))
            return pHit;
    }
    return this;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupInlineUIContainer, CQVTMarkupInline)
    DISP_PROPERTY_EX_ID(CQVTMarkupInlineUIContainer, "Child", 700, GetChildProperty, SetChildProperty,
                        VT_DISPATCH)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupInlineUIContainer::GetChildProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pChild);
}

void CQVTMarkupInlineUIContainer::SetChildProperty(LPDISPATCH pDispatch)
{
    CQVTMarkupObject* pObject =
        pDispatch != nullptr ? CQVTMarkupObject::FromDispatch(pDispatch, FALSE) : nullptr;
    CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pObject);
    if (pObject != nullptr && pElement == nullptr)
        AfxThrowOleException(E_INVALIDARG);
    if (pElement != nullptr)
        pElement->InternalAddRef();
    SetChild(pElement);
}
