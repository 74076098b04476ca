#include "toolkit/markup/text/QVTMarkupSpan.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/text/QVTMarkupInlineCollection.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupSpan, CQVTMarkupInline, u"Span", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupBold, CQVTMarkupSpan, u"Bold", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupItalic, CQVTMarkupSpan, u"Italic", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupUnderline, CQVTMarkupSpan, u"Underline", nullptr)

CQVTMarkupSpan::CQVTMarkupSpan() : m_pInlines(new CQVTMarkupInlineCollection(this)) {}

CQVTMarkupSpan::~CQVTMarkupSpan()
{
    m_pInlines->SetOwner(nullptr);
    m_pInlines->InternalRelease();
}

CQVTMarkupInline* CQVTMarkupSpan::GetFirstInline()
{
    CQVTMarkupInline* pFirst = m_pInlines->GetAt(0);
    return pFirst != nullptr ? pFirst->GetFirstInline() : this;
}

CQVTMarkupObject* CQVTMarkupSpan::GetLogicalChild(int nIndex)
{
    return nIndex == 0 ? m_pInlines : nullptr;
}

BOOL CQVTMarkupSpan::HasContentObject()
{
    return m_pInlines->HasContentObject();
}

void CQVTMarkupSpan::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    m_pInlines->SetContentObject(pBuilder, pContent);
}

CQVTMarkupBold::CQVTMarkupBold()
{
    EnsureMarkupClass();
    SetValue(m_pFontWeightProperty, new CQVTMarkupEnum(700));
}

CQVTMarkupItalic::CQVTMarkupItalic()
{
    EnsureMarkupClass();
    SetValue(m_pFontStyleProperty, new CQVTMarkupEnum(1));
}

CQVTMarkupUnderline::CQVTMarkupUnderline()
{
    EnsureMarkupClass();
    SetValue(m_pTextDecorationsProperty, new CQVTMarkupEnum(qvtTextDecorationUnderline));
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupSpan, CQVTMarkupInline)
    DISP_PROPERTY_EX_ID(CQVTMarkupSpan, "Inlines", 700, GetInlinesProperty, SetNotSupported, VT_DISPATCH)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupSpan::GetInlinesProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pInlines);
}
