#include "toolkit/markup/elements/QVTMarkupKeyboardNavigation.h"

#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupKeyboardNavigation, CQVTMarkupObject, u"KeyboardNavigation",
                      &CQVTMarkupKeyboardNavigation::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupKeyboardNavigation::m_pIsTabStopProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupKeyboardNavigation::m_pTabNavigationProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupKeyboardNavigation::m_pTabIndexProperty = nullptr;

CQVTMarkupObject* AFX_CDECL CQVTMarkupKeyboardNavigation::ConvertTabNavigation(CQVTMarkupBuilder*,
                                                                               CQVTMarkupObject* pSource,
                                                                               CQVTMarkupDependencyProperty*)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    static const LPCWSTR kNames[] = {u"Continue", u"Once", u"Cycle", u"None", u"Contained", u"Local"};
    for (int i = 0; i < static_cast<int>(std::size(kNames)); ++i)
    {
        if (pString->IsEqualNoCase(kNames[i]))
            return new CQVTMarkupEnum(i);
    }
    return nullptr;
}

void AFX_CDECL CQVTMarkupKeyboardNavigation::RegisterMarkupProperties()
{
    CQVTMarkupBool::EnsureMarkupClass();
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pIsTabStopProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"IsTabStop", CQVTMarkupBool::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(CQVTMarkupBool::CreateTrue(), 0));
    m_pTabNavigationProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"TabNavigation", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertTabNavigation, 0));
    m_pTabIndexProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"TabIndex", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupInt(2147483647), 0));
}

CQVTMarkupKeyboardNavigation::CQVTMarkupKeyboardNavigation()
    : m_pFocusedElement(nullptr), m_pLastFocused(nullptr), m_pOwner(nullptr)
{
}

CQVTMarkupKeyboardNavigation::CQVTMarkupKeyboardNavigation(CQVTMarkupContext* pOwner)
    : m_pFocusedElement(nullptr), m_pLastFocused(nullptr), m_pOwner(pOwner)
{
}

CQVTMarkupKeyboardNavigation::~CQVTMarkupKeyboardNavigation()
{
    if (m_pFocusedElement != nullptr)
        m_pFocusedElement->InternalRelease();
    if (m_pLastFocused != nullptr)
        m_pLastFocused->InternalRelease();
}

BOOL CQVTMarkupKeyboardNavigation::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    // Focus movement by the keyboard is not defined for markup: the
    // attached properties are only stored.
    return FALSE;
}
