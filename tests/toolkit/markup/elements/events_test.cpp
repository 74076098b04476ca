// Routed events and delegates: per-element handler order, bubbling to the
// context's handlers, direct events, event attributes resolved at event
// time, and content elements forwarding layout requests to their host.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"
#include "toolkit/markup/elements/QVTMarkupKeyboardNavigation.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
// Collects the calls its delegates make.
class CRecorder
{
public:
    void OnFirst(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs* pArgs)
    {
        m_calls.push_back(u"first");
        pArgs->SetHandled(TRUE);
        pArgs->SetHandled(FALSE);
    }
    void OnSecond(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs*) { m_calls.push_back(u"second"); }
    void OnParent(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs*) { m_calls.push_back(u"parent"); }
    void OnContext(CQVTMarkupObject* pSender, CQVTMarkupRoutedEventArgs*)
    {
        m_calls.push_back(u"context");
        m_pContextSender = pSender;
    }

    std::vector<CString> m_calls;
    CQVTMarkupObject* m_pContextSender = nullptr;
};

CQVTMarkupDelegate* Delegate(CRecorder* pRecorder,
                             void (CRecorder::*pfn)(CQVTMarkupObject*, CQVTMarkupRoutedEventArgs*))
{
    return new CQVTMarkupClassDelegate<CRecorder>(pRecorder, pfn);
}

// An automation object whose methods markup handlers name.
class CScriptHandler : public CCmdTarget
{
public:
    CScriptHandler() { EnableAutomation(); }
    void OnPoke(IDispatch* pSender, IDispatch* pArgs)
    {
        ++m_nPokes;
        m_pSender = pSender;
        m_bArgs = pArgs != nullptr;
    }

    int m_nPokes = 0;
    IDispatch* m_pSender = nullptr;
    BOOL m_bArgs = FALSE;

protected:
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CScriptHandler, CCmdTarget)
    DISP_FUNCTION(CScriptHandler, "OnPoke", OnPoke, VT_EMPTY, VTS_DISPATCH VTS_DISPATCH)
END_DISPATCH_MAP()

// A content element with one property that affects measuring and one that
// affects only rendering.
class CTestContent : public CQVTMarkupFrameworkContentElement
{
    DECLARE_MARKUPCLASS(CTestContent)

public:
    static CQVTMarkupDependencyProperty* m_pSizeProperty;
    static CQVTMarkupDependencyProperty* m_pInkProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties()
    {
        m_pSizeProperty = CQVTMarkupDependencyProperty::Register(
            u"Size", CQVTMarkupInt::GetMarkupType(), GetMarkupType(),
            new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
        m_pInkProperty = CQVTMarkupDependencyProperty::Register(
            u"Ink", CQVTMarkupInt::GetMarkupType(), GetMarkupType(),
            new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_RENDER));
    }
};

CQVTMarkupDependencyProperty* CTestContent::m_pSizeProperty = nullptr;
CQVTMarkupDependencyProperty* CTestContent::m_pInkProperty = nullptr;
IMPLEMENT_MARKUPCLASS(CTestContent, CQVTMarkupFrameworkContentElement, u"TestContent",
                      &CTestContent::RegisterMarkupProperties)

}  // namespace

TEST(MarkupEvents, EveryHandlerOfAnElementRunsAndHandledStopsTheBubble)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<TestPanel x:Name='p'><TestElement x:Name='e'/></TestPanel>")));
    CQVTMarkupInputElement* pElement = root.Find<CQVTMarkupInputElement>(u"e");
    CQVTMarkupInputElement* pParent = root.Find<CQVTMarkupInputElement>(u"p");
    CRecorder recorder;
    pElement->AddHandler(CTestElement::m_pPokeEvent, Delegate(&recorder, &CRecorder::OnFirst));
    pElement->AddHandler(CTestElement::m_pPokeEvent, Delegate(&recorder, &CRecorder::OnSecond));
    pParent->AddHandler(CTestElement::m_pPokeEvent, Delegate(&recorder, &CRecorder::OnParent));
    context->AddHandler(CTestElement::m_pPokeEvent, Delegate(&recorder, &CRecorder::OnContext));

    CQVTMarkupRoutedEventArgs args(CTestElement::m_pPokeEvent, pElement);
    pElement->RaiseEvent(&args);
    EXPECT_EQ(recorder.m_calls, (std::vector<CString>{u"first", u"second"}));
    // A handler cannot take "handled" back.
    EXPECT_TRUE(args.IsHandled());

    // Unhandled, the event bubbles to the parent and then to the context.
    recorder.m_calls.clear();
    CQVTMarkupRoutedEventArgs fromParent(CTestElement::m_pPokeEvent, pParent);
    pParent->RaiseEvent(&fromParent);
    EXPECT_EQ(recorder.m_calls, (std::vector<CString>{u"parent", u"context"}));
    EXPECT_EQ(recorder.m_pContextSender, pParent);
}

TEST(MarkupEvents, DirectEventsStayOnTheirElement)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<TestPanel x:Name='p'><TestElement x:Name='e'/></TestPanel>")));
    CQVTMarkupInputElement* pElement = root.Find<CQVTMarkupInputElement>(u"e");
    CRecorder recorder;
    root.Find<CQVTMarkupInputElement>(u"p")->AddHandler(CQVTMarkupInputElement::m_pMouseMoveEvent,
                                                        Delegate(&recorder, &CRecorder::OnParent));
    context->AddHandler(CQVTMarkupInputElement::m_pMouseMoveEvent,
                        Delegate(&recorder, &CRecorder::OnContext));
    pElement->AddHandler(CQVTMarkupInputElement::m_pMouseMoveEvent,
                         Delegate(&recorder, &CRecorder::OnSecond));
    CQVTMarkupRoutedEventArgs args(CQVTMarkupInputElement::m_pMouseMoveEvent, pElement);
    pElement->RaiseEvent(&args);
    EXPECT_EQ(recorder.m_calls, (std::vector<CString>{u"second"}));
    // Arguments without an event go nowhere.
    CQVTMarkupRoutedEventArgs none(nullptr, pElement);
    pElement->RaiseEvent(&none);
    EXPECT_EQ(recorder.m_calls.size(), 1u);
}

TEST(MarkupEvents, EventAttributesCallTheHandlerObjectSetLater)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(context, PanelMarkup(u"<TestElement x:Name='e' Poke='OnPoke'/>")));
    CQVTMarkupInputElement* pElement = root.Find<CQVTMarkupInputElement>(u"e");
    ASSERT_NE(pElement, nullptr);

    // No handler object yet: nothing happens.
    CQVTMarkupRoutedEventArgs first(CTestElement::m_pPokeEvent, pElement);
    pElement->RaiseEvent(&first);

    CScriptHandler* pHandler = new CScriptHandler();
    context->SetHandler(pHandler->GetIDispatch(FALSE));
    CQVTMarkupRoutedEventArgs second(CTestElement::m_pPokeEvent, pElement);
    pElement->RaiseEvent(&second);
    EXPECT_EQ(pHandler->m_nPokes, 1);
    EXPECT_EQ(pHandler->m_pSender, pElement->GetIDispatch(FALSE));
    EXPECT_TRUE(pHandler->m_bArgs);

    // A method delegate registered by name calls its own target.
    CScriptHandler* pTarget = new CScriptHandler();
    context->SetMethod(pTarget->GetIDispatch(FALSE), u"OnPoke");
    context->SetHandler(nullptr);
    CQVTMarkupRoutedEventArgs third(CTestElement::m_pPokeEvent, pElement);
    pElement->RaiseEvent(&third);
    // The element still holds the automatic delegate, which finds no handler now.
    EXPECT_EQ(pTarget->m_nPokes, 0);
    CTreeHolder again(BuildMarkup(context, PanelMarkup(u"<TestElement x:Name='e' Poke='OnPoke'/>")));
    CQVTMarkupInputElement* pAgain = again.Find<CQVTMarkupInputElement>(u"e");
    CQVTMarkupRoutedEventArgs fourth(CTestElement::m_pPokeEvent, pAgain);
    pAgain->RaiseEvent(&fourth);
    EXPECT_EQ(pTarget->m_nPokes, 1);
    pTarget->InternalRelease();
    pHandler->InternalRelease();
}

TEST(MarkupEvents, MousePositionsAreRelativeToTheElement)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<TestPanel Margin='10,20,0,0'><TestElement x:Name='e' Height='5' "
                                         u"Margin='3'/></TestPanel>")));
    CQVTMarkupUIElement* pRoot = root.Get();
    {
        CQVTMarkupDrawingContext dc(context);
        pRoot->Measure(&dc, SIZE{100, 100});
    }
    pRoot->Arrange(RECT{0, 0, 100, 100});
    CQVTMarkupInputElement* pElement = root.Find<CQVTMarkupInputElement>(u"e");
    CQVTMarkupMouseEventArgs args(nullptr, pElement, nullptr, POINT{50, 60});
    const POINT pt = args.GetPosition(pElement);
    EXPECT_EQ(pt.x, 50 - 10 - 3);
    EXPECT_EQ(pt.y, 60 - 20 - 3);
    EXPECT_EQ(args.GetPosition(nullptr).x, 50);
}

TEST(MarkupContentElements, ForwardLayoutRequestsToTheirHost)
{
    CRecordingContext* pContext = new CRecordingContext();
    {
        CTreeHolder root(BuildMarkup(pContext, PanelMarkup(u"<TestPanel x:Name='host'/>")));
        CTestPanel* pHost = root.Find<CTestPanel>(u"host");
        {
            CQVTMarkupDrawingContext dc(pContext);
            root->Measure(&dc, SIZE{100, 100});
        }
        root->Arrange(RECT{0, 0, 100, 100});
        CQVTMarkupObject* pContent = pContext->CreateMarkupObject(FindMarkupType(u"TestContent"));
        pContent->SetLogicalParent(pHost);
        pContext->m_elements.clear();
        const int nMeasures = pHost->m_nMeasureCount;
        pContent->SetValue(CTestContent::m_pSizeProperty, new CQVTMarkupInt(3));
        EXPECT_EQ(pHost->m_nMeasureCount, nMeasures + 1);
        pContext->m_elements.clear();
        pContent->SetValue(CTestContent::m_pInkProperty, new CQVTMarkupInt(3));
        EXPECT_EQ(pHost->m_nMeasureCount, nMeasures + 1);
        ASSERT_EQ(pContext->m_elements.size(), 1u);
        EXPECT_EQ(pContext->m_elements[0], pHost);

        // Without a host the requests go nowhere; Tag is a property of it too.
        pContent->SetLogicalParent(nullptr);
        pContext->m_elements.clear();
        pContent->SetValue(CTestContent::m_pInkProperty, new CQVTMarkupInt(4));
        EXPECT_TRUE(pContext->m_elements.empty());
        EXPECT_EQ(CQVTMarkupDependencyProperty::FindProperty(pContent->GetType(), u"Tag"),
                  CQVTMarkupFrameworkElement::m_pTagProperty);
        pContent->InternalRelease();
    }
    pContext->Release();
}

TEST(MarkupKeyboardNavigation, PropertiesAreStoredAndMessagesDeclined)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<TestElement x:Name='e' KeyboardNavigation.IsTabStop='False' "
                                         u"KeyboardNavigation.TabNavigation='cycle'/>")));
    CQVTMarkupObject* pElement = root.Find<CQVTMarkupObject>(u"e");
    ASSERT_NE(pElement, nullptr);
    EXPECT_FALSE(
        static_cast<CQVTMarkupBool*>(pElement->GetValue(CQVTMarkupKeyboardNavigation::m_pIsTabStopProperty))
            ->GetValue());
    EXPECT_EQ(static_cast<CQVTMarkupEnum*>(
                  pElement->GetValue(CQVTMarkupKeyboardNavigation::m_pTabNavigationProperty))
                  ->GetValue(),
              2);
    EXPECT_EQ(
        static_cast<CQVTMarkupInt*>(pElement->GetValue(CQVTMarkupKeyboardNavigation::m_pTabIndexProperty))
            ->GetValue(),
        2147483647);
    EXPECT_EQ(
        BuildError(context, PanelMarkup(u"<TestElement KeyboardNavigation.TabNavigation='Sideways'/>")),
        CString(u"Cannot convert string in attribute 'TabNavigation' to object of type 'CQVTMarkupEnum'"));
    LRESULT lResult = 77;
    EXPECT_FALSE(context->GetKeyboardNavigation()->OnWndMsg(WM_KEYDOWN, VK_TAB, 0, &lResult));
    EXPECT_EQ(lResult, 77);
}
