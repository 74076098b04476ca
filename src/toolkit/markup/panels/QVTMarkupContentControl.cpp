#include "toolkit/markup/panels/QVTMarkupContentControl.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupContentControl, CQVTMarkupControl, nullptr,
                      &CQVTMarkupContentControl::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupContentControl::m_pContentProperty = nullptr;

namespace {
// Content written as an attribute: a text block of the text.
CQVTMarkupObject* AFX_CDECL ConvertContent(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource,
                                           CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    CQVTMarkupContext* pContext =
        pBuilder != nullptr ? pBuilder->GetMarkupContext() : pSource->GetMarkupContext();
    CQVTMarkupAutoPtr textBlock(CQVTMarkupTextBlock::GetMarkupType()->CreateObject(pContext));
    textBlock->SetContentObject(pBuilder, pString);
    return textBlock.Detach();
}
}  // namespace

void AFX_CDECL CQVTMarkupContentControl::RegisterMarkupProperties()
{
    CQVTMarkupTextBlock::EnsureMarkupClass();
    m_pContentProperty = CQVTMarkupDependencyProperty::Register(
        u"Content", CQVTMarkupUIElement::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertContent, QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupContentControl::~CQVTMarkupContentControl()
{
    // The content's parent link points here: cut it before the value goes.
    if (CQVTMarkupUIElement* pContent = GetContent())
        pContent->SetLogicalParent(nullptr);
}

CQVTMarkupUIElement* CQVTMarkupContentControl::GetContent()
{
    return MarkupCast<CQVTMarkupUIElement>(GetValue(m_pContentProperty));
}

CQVTMarkupVisual* CQVTMarkupContentControl::GetVisualChild(int nIndex)
{
    return nIndex == 0 ? GetContent() : nullptr;
}

void CQVTMarkupContentControl::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                                 CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    if (pProperty != nullptr && pProperty == m_pContentProperty)
    {
        // The content is the control's one logical child.
        if (pOldValue != nullptr && pOldValue->GetLogicalParent() == this)
            pOldValue->SetLogicalParent(nullptr);
        if (pNewValue != nullptr)
            pNewValue->SetLogicalParent(this);
    }
    CQVTMarkupControl::OnPropertyChanged(pProperty, pOldValue, pNewValue);
}

void CQVTMarkupContentControl::SetContentObject(CQVTMarkupBuilder*, CQVTMarkupObject* pContent)
{
    if (GetContent() != nullptr)
        CQVTMarkupBuilder::ThrowBuilderErrorFormat(
            u"'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.",
            GetType()->GetClassName(), pContent != nullptr ? pContent->GetType()->GetClassName() : u"",
            GetType()->GetClassName());
    if (CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pContent))
    {
        CQVTMarkupAutoPtr textBlock(CQVTMarkupTextBlock::GetMarkupType()->CreateObject(GetMarkupContext()));
        textBlock->SetContentObject(nullptr, pString);
        SetValue(m_pContentProperty, textBlock.Detach());
        return;
    }
    if (CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pContent))
    {
        pElement->InternalAddRef();
        SetValue(m_pContentProperty, pElement);
        return;
    }
    CQVTMarkupBuilder::ThrowCannotAddContent(pContent, this, u"CQVTMarkupUIElement");
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupContentControl, CQVTMarkupControl)
    DISP_PROPERTY_EX_ID(CQVTMarkupContentControl, "Content", 600, GetContentProperty, SetContentProperty,
                        VT_DISPATCH)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupContentControl::GetContentProperty()
{
    return QVTMarkupAutomation::DispatchOf(GetContent());
}

void CQVTMarkupContentControl::SetContentProperty(LPDISPATCH pDispatch)
{
    QVTMarkupAutomation::SetObjectValue(this, m_pContentProperty, pDispatch);
}
