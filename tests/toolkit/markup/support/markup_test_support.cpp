#include "markup_test_support.h"

#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"
#include "toolkit/markup/values/QVTMarkupString.h"

#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CTestPanel, CQVTMarkupFrameworkElement, u"TestPanel", nullptr)
IMPLEMENT_MARKUPCLASS(CTestElement, CQVTMarkupFrameworkElement, u"TestElement",
                      &CTestElement::RegisterMarkupProperties)

CQVTMarkupRoutedEvent* CTestElement::m_pPokeEvent = nullptr;
CQVTMarkupDependencyProperty* CTestElement::m_pWeightProperty = nullptr;
CQVTMarkupDependencyProperty* CTestElement::m_pLevelProperty = nullptr;
CQVTMarkupDependencyProperty* CTestElement::m_pSpotProperty = nullptr;
CQVTMarkupDependencyProperty* CTestElement::m_pFillProperty = nullptr;

std::vector<CChangeRecord>& ChangeLog()
{
    static std::vector<CChangeRecord> log;
    return log;
}

namespace {
void AFX_CDECL OnObservedChanged(CQVTMarkupObject* pObject, CQVTMarkupPropertyChangedEventArgs* pArgs)
{
    CQVTMarkupInt* pOld = MarkupCast<CQVTMarkupInt>(pArgs->pOldValue);
    CQVTMarkupInt* pNew = MarkupCast<CQVTMarkupInt>(pArgs->pNewValue);
    ChangeLog().push_back(CChangeRecord{pObject, pOld != nullptr ? pOld->GetValue() : -1,
                                        pNew != nullptr ? pNew->GetValue() : -1});
}
}  // namespace

void AFX_CDECL CTestElement::RegisterMarkupProperties()
{
    CQVTMarkupType* pType = GetMarkupType();
    m_pPokeEvent =
        CQVTMarkupDependencyProperty::RegisterRoutedEvent(u"Poke", QVT_MARKUP_ROUTING_BUBBLE, pType);
    m_pWeightProperty = CQVTMarkupDependencyProperty::Register(
        u"Weight", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &OnObservedChanged, QVT_MARKUP_INHERITS));
    m_pLevelProperty = CQVTMarkupDependencyProperty::Register(
        u"Level", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupInt(5), &OnObservedChanged, 0));
    m_pSpotProperty = CQVTMarkupDependencyProperty::Register(
        u"Spot", CQVTMarkupPoint::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_SCALE_X | QVT_MARKUP_SCALE_Y));
    m_pFillProperty =
        CQVTMarkupDependencyProperty::Register(u"Fill", CQVTMarkupBrush::GetMarkupType(), pType);
}

CTestPanel::CTestPanel() : m_pChildren(new CQVTMarkupCollection(CQVTMarkupUIElement::GetMarkupType()))
{
    m_pChildren->SetLogicalParent(this);
}

CTestPanel::~CTestPanel()
{
    m_pChildren->RemoveAll();
    m_pChildren->InternalRelease();
}

int CTestPanel::GetVisualChildrenCount()
{
    return m_pChildren->GetCount();
}

CQVTMarkupVisual* CTestPanel::GetVisualChild(int nIndex)
{
    return nIndex >= 0 && nIndex < m_pChildren->GetCount()
               ? static_cast<CQVTMarkupVisual*>(m_pChildren->GetItem(nIndex))
               : nullptr;
}

void CTestPanel::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pContent))
    {
        m_texts.Add(pString->GetText());
        return;
    }
    if (CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pContent))
    {
        pElement->InternalAddRef();
        AddChild(pElement);
        return;
    }
    CQVTMarkupFrameworkElement::SetContentObject(pBuilder, pContent);
}

void CTestPanel::AddChild(CQVTMarkupUIElement* pChild)
{
    m_pChildren->Add(pChild);
    // Children are logical children of the panel itself.
    pChild->SetLogicalParent(this);
}

CString CTestPanel::GetTexts() const
{
    CString strResult;
    for (int i = 0; i < m_texts.GetSize(); ++i)
    {
        if (i > 0)
            strResult += u"|";
        strResult += m_texts[i];
    }
    return strResult;
}

void CTestPanel::OnRender(CQVTMarkupDrawingContext*)
{
    ++m_nRenderCount;
}

SIZE CTestPanel::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    ++m_nMeasureCount;
    m_szLastAvailable = szAvailable;
    SIZE size = {0, 0};
    for (int i = 0; i < m_pChildren->GetCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = static_cast<CQVTMarkupUIElement*>(m_pChildren->GetItem(i));
        pChild->Measure(pDC, szAvailable);
        size.cx = std::max(size.cx, pChild->GetDesiredSize().cx);
        size.cy += pChild->GetDesiredSize().cy;
    }
    return m_szFixed.cx != 0 || m_szFixed.cy != 0 ? m_szFixed : size;
}

SIZE CTestPanel::ArrangeOverride(SIZE szFinal)
{
    int y = 0;
    for (int i = 0; i < m_pChildren->GetCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = static_cast<CQVTMarkupUIElement*>(m_pChildren->GetItem(i));
        const RECT rc = {0, y, szFinal.cx, y + pChild->GetDesiredSize().cy};
        pChild->Arrange(rc);
        if (!m_bOverlap)
            y += pChild->GetDesiredSize().cy;
    }
    return szFinal;
}

CQVTMarkupUIElement* BuildMarkup(CQVTMarkupContext* pContext, LPCWSTR lpszText, CString* pError)
{
    CQVTMarkupParser parser;
    CQVTMarkupBuilder builder(pContext);
    const size_t nLength = _tcslen(lpszText);
    parser.LoadText(lpszText, lpszText + nLength);
    CQVTMarkupUIElement* pRoot = builder.Parse(&parser);
    if (pError != nullptr)
        *pError = builder.GetErrorText();
    return pRoot;
}

CString BuildError(CQVTMarkupContext* pContext, LPCWSTR lpszText)
{
    CString strError;
    CQVTMarkupUIElement* pRoot = BuildMarkup(pContext, lpszText, &strError);
    if (pRoot != nullptr)
        pRoot->InternalRelease();
    return strError;
}

CString PanelMarkup(LPCWSTR lpszBody)
{
    CString strText(
        u"<TestPanel xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
        u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml' xmlns:qvt='urn:quorvane-markup'>");
    strText += lpszBody;
    strText += u"</TestPanel>";
    return strText;
}

CString RootMarkup(LPCWSTR lpszTag, LPCWSTR lpszAttributes, LPCWSTR lpszBody)
{
    CString strText;
    strText.Format(u"<%ls xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
                   u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml' %ls>%ls</%ls>",
                   lpszTag, lpszAttributes, lpszBody, lpszTag);
    return strText;
}

CQVTMarkupObject* CreateTextValue(LPCWSTR lpszText)
{
    return CQVTMarkupString::CreateValue(lpszText);
}
