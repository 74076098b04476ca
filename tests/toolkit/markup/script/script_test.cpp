// Scripts inside markup under the platform's JScript and VBScript: named
// elements and "MarkupContext" seen by scripts, a Click attribute reaching a
// script function that changes a text block, timeouts firing once from the
// message loop, the context's automation object, and the load errors of bad
// scripts word for word.
#include <activscp.h>

#include "dispatch_helpers.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupContextInternalDispatch.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/controls/QVTMarkupButton.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/script/QVTActiveScriptEngine.h"
#include "toolkit/markup/script/QVTActiveScriptStdRuntime.h"
#include "toolkit/markup/text/QVTMarkupTextBlock.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"

namespace {
// The text of the only run of a text block.
CString TextOf(CQVTMarkupTextBlock* pText)
{
    LPDISPATCH pDispatch = pText->GetIDispatch(FALSE);
    LPOLESTR lpszName = const_cast<LPOLESTR>(u"Text");
    DISPID id = 0;
    if (FAILED(pDispatch->GetIDsOfNames(IID_NULL, &lpszName, 1, 0, &id)))
        return u"<no Text>";
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    ::VariantInit(&result);
    pDispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    CString strText(V_VT(&result) == VT_BSTR ? V_BSTR(&result) : u"<not text>");
    ::VariantClear(&result);
    return strText;
}

// Dispatches what is queued for a while, so thread timers can fire.
void PumpFor(DWORD dwMilliseconds)
{
    const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
    while (static_cast<int>(dwEnd - ::GetTickCount()) > 0)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

}  // namespace

TEST(MarkupScript, AClickAttributeReachesAScriptFunctionThatChangesATextBlock)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(context, PanelMarkup(u"<qvt:Script><![CDATA["
                                                      u"var clicks = 0;"
                                                      u"function OnGo(sender, args) {"
                                                      u"  clicks++;"
                                                      u"  label.Text = sender.Name + ' ' + clicks + ' ' + "
                                                      u"      (args.Source == sender);"
                                                      u"}"
                                                      u"label.Text = 'ran';"
                                                      u"]]></qvt:Script>"
                                                      u"<Button Name='go' Click='OnGo'>Go</Button>"
                                                      u"<TextBlock Name='label'>before</TextBlock>")));
    ASSERT_NE(root.Get(), nullptr);
    CQVTMarkupTextBlock* pLabel = root.Find<CQVTMarkupTextBlock>(u"label");
    // The global code ran once the tree was complete.
    EXPECT_EQ(TextOf(pLabel), CString(u"ran"));

    CQVTMarkupButton* pButton = root.Find<CQVTMarkupButton>(u"go");
    pButton->OnClick();
    EXPECT_EQ(TextOf(pLabel), CString(u"go 1 true"));
    pButton->OnClick();
    EXPECT_EQ(TextOf(pLabel), CString(u"go 2 true"));
}

TEST(MarkupScript, ScriptsRunInDocumentOrderInOneEngineAndVBScriptToo)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context, PanelMarkup(u"<qvt:Script Language='JScript'><![CDATA[var order = 'a';]]></qvt:Script>"
                             u"<TextBlock Name='t'>x</TextBlock>"
                             u"<qvt:Script><![CDATA[order += 'b'; t.Text = order;]]></qvt:Script>")));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"t")), CString(u"ab"));

    CContextHolder vbContext;
    CTreeHolder vbRoot(
        BuildMarkup(vbContext, PanelMarkup(u"<TextBlock Name='t'>x</TextBlock>"
                                           u"<qvt:Script Language='VBScript'>t.Text = \"vb \" &amp; "
                                           u"(1 + 2)</qvt:Script>")));
    ASSERT_NE(vbRoot.Get(), nullptr);
    EXPECT_EQ(TextOf(vbRoot.Find<CQVTMarkupTextBlock>(u"t")), CString(u"vb 3"));
}

TEST(MarkupScript, BadScriptsFailTheLoadWithTheirMessages)
{
    CContextHolder context;
    EXPECT_EQ(BuildError(context, PanelMarkup(u"<qvt:Script Language='JScript'>var a;</qvt:Script>"
                                              u"<qvt:Script Language='VBScript'>Dim b</qvt:Script>")),
              CString(u"'VBScript' script engine is not allowed to use when 'JScript' is already used."));
    EXPECT_EQ(BuildError(context, PanelMarkup(u"<qvt:Script Source='nothing.js'>var a;</qvt:Script>")),
              CString(u"qvt:Script does not allow combining script source and content"));

    // A script that throws while it runs: the engine's message and code.
    const CString strThrow = BuildError(
        context, PanelMarkup(u"<qvt:Script>throw new Error(7, 'broken on purpose');</qvt:Script>"));
    EXPECT_EQ(strThrow.Find(u"Script error [0x"), 0) << CStringA(strThrow).GetString();
    EXPECT_NE(strThrow.Find(u"broken on purpose"), -1) << CStringA(strThrow).GetString();
    // A syntax error fails too, and an unknown language with the system's message.
    EXPECT_EQ(
        BuildError(context, PanelMarkup(u"<qvt:Script>function (</qvt:Script>")).Find(u"Script error [0x"),
        0);
    EXPECT_FALSE(
        BuildError(context, PanelMarkup(u"<qvt:Script Language='NoSuchScript'>x</qvt:Script>")).IsEmpty());

    // After all that, a good load in the same context still runs.
    CTreeHolder root(BuildMarkup(
        context, PanelMarkup(u"<TextBlock Name='t'>x</TextBlock><qvt:Script>t.Text = 'fine';</qvt:Script>")));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"t")), CString(u"fine"));
}

TEST(MarkupScript, AScriptSourceIsReadFromAFileAndAnEmptyOneAddsNothing)
{
    WCHAR szFolder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szFolder);
    const CString strScript = CString(szFolder) + u"sondrel_markup_script.js";
    const CString strEmpty = CString(szFolder) + u"sondrel_markup_empty.js";
    const char kCode[] = "\xEF\xBB\xBFt.Text = 'from file \xC3\xA9';";
    for (const auto& file :
         {std::make_pair(strScript, sizeof(kCode) - 1), std::make_pair(strEmpty, size_t(0))})
    {
        HANDLE hFile = ::CreateFileW(file.first, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
        DWORD nWritten = 0;
        ::WriteFile(hFile, kCode, static_cast<DWORD>(file.second), &nWritten, nullptr);
        ::CloseHandle(hFile);
    }
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context, PanelMarkup(u"<TextBlock Name='t'>x</TextBlock><qvt:Script Source='" + strScript + u"'/>")));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"t")), CString(u"from file \u00e9"));

    CTreeHolder empty(BuildMarkup(
        context, PanelMarkup(u"<TextBlock Name='t'>x</TextBlock><qvt:Script Source='" + strEmpty + u"'/>")));
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(context->GetScriptEngine(), nullptr);
    EXPECT_FALSE(BuildError(context, PanelMarkup(u"<qvt:Script Source='" + CString(szFolder) +
                                                 u"sondrel_no_such_script.js'/>"))
                     .IsEmpty());
    ::DeleteFileW(strScript);
    ::DeleteFileW(strEmpty);
}

TEST(MarkupScript, TimeoutsFireOnceFromTheMessageLoopAndCanBeCleared)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context, PanelMarkup(u"<TextBlock Name='t'>x</TextBlock>"
                             u"<TextBlock Name='u'>x</TextBlock>"
                             u"<qvt:Script><![CDATA["
                             u"var fired = 0;"
                             u"setTimeout(function() { fired++; t.Text = 'fired ' + fired; }, 10);"
                             u"var id = setTimeout(function() { u.Text = 'wrong'; }, 10);"
                             u"clearTimeout(id);"
                             u"clearTimeout(12345);"
                             u"debugLog('timeouts set');"
                             u"u.Text = 'null gives ' + setTimeout(null, 10);"
                             u"]]></qvt:Script>")));
    ASSERT_NE(root.Get(), nullptr);
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"t")), CString(u"x"));
    PumpFor(150);
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"t")), CString(u"fired 1"));
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"u")), CString(u"null gives 0"));
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 0);

    // A timeout still pending when the context lets go is cancelled.
    CTreeHolder pending(BuildMarkup(
        context,
        PanelMarkup(u"<qvt:Script>setTimeout(function() { debugLog('late'); }, 100000);</qvt:Script>")));
    ASSERT_NE(pending.Get(), nullptr);
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 1);
    context->CloseScript();
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 0);
}

TEST(MarkupScript, TheSiteAnswersNamedItemsAndTheContextObjectWorksFromOutside)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<TextBlock Name='t'>x</TextBlock><qvt:Script>var a = 1;"
                                         u"</qvt:Script>")));
    ASSERT_NE(root.Get(), nullptr);
    IActiveScriptSite* pSite = context->GetScriptSite();
    IUnknown* pUnknown = reinterpret_cast<IUnknown*>(1);
    ITypeInfo* pTypeInfo = reinterpret_cast<ITypeInfo*>(1);
    ASSERT_EQ(pSite->GetItemInfo(u"t", SCRIPTINFO_IUNKNOWN | SCRIPTINFO_ITYPEINFO, &pUnknown, &pTypeInfo),
              S_OK);
    EXPECT_EQ(pUnknown, root.Find<CQVTMarkupTextBlock>(u"t")->GetIDispatch(FALSE));
    EXPECT_EQ(pTypeInfo, nullptr);
    pUnknown->Release();
    EXPECT_EQ(pSite->GetItemInfo(u"nobody", SCRIPTINFO_IUNKNOWN, &pUnknown, nullptr), E_NOINTERFACE);
    EXPECT_EQ(pUnknown, nullptr);
    EXPECT_EQ(pSite->GetItemInfo(u"t", SCRIPTINFO_ITYPEINFO, &pUnknown, &pTypeInfo), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(pSite->GetItemInfo(u"t", SCRIPTINFO_IUNKNOWN, nullptr, nullptr), E_POINTER);

    IDispatch* pContext = context->GetInternalDispatch()->GetIDispatch(FALSE);
    VARIANT result;
    ::VariantInit(&result);
    // Brushes: the top byte is the alpha, 0 meaning opaque.
    ASSERT_EQ(InvokeByName(pContext, u"CreateSolidBrush", DISPATCH_METHOD, {Int(0x0000FF)}, &result), S_OK);
    CQVTMarkupSolidColorBrush* pBrush =
        MarkupCast<CQVTMarkupSolidColorBrush>(CQVTMarkupObject::FromDispatch(V_DISPATCH(&result), FALSE));
    ASSERT_NE(pBrush, nullptr);
    EXPECT_EQ(pBrush->GetColor(), 0xFF0000FFu);
    ::VariantClear(&result);
    ASSERT_EQ(InvokeByName(pContext, u"CreateSolidBrush", DISPATCH_METHOD, {Int(0x800000FF)}, &result), S_OK);
    pBrush =
        MarkupCast<CQVTMarkupSolidColorBrush>(CQVTMarkupObject::FromDispatch(V_DISPATCH(&result), FALSE));
    EXPECT_EQ(pBrush->GetColor(), 0x800000FFu);
    ::VariantClear(&result);

    // Validation gives "Done." or the error text, and leaves nothing behind.
    ASSERT_EQ(InvokeByName(pContext, u"ValidateXML", DISPATCH_METHOD, {Text(PanelMarkup(u"<TextBlock/>"))},
                           &result),
              S_OK);
    EXPECT_EQ(CString(V_BSTR(&result)), CString(u"Done."));
    ::VariantClear(&result);
    ASSERT_EQ(
        InvokeByName(pContext, u"ValidateXML", DISPATCH_METHOD, {Text(PanelMarkup(u"<Nothing/>"))}, &result),
        S_OK);
    EXPECT_EQ(CString(V_BSTR(&result)), CString(u"The tag 'Nothing' does not exist in XML namespace"));
    ::VariantClear(&result);

    // Objects by tag, none for an unknown tag; a read-only property refuses writes.
    ASSERT_EQ(InvokeByName(pContext, u"CreateObject", DISPATCH_METHOD, {Text(u"Button")}, &result), S_OK);
    EXPECT_NE(MarkupCast<CQVTMarkupButton>(CQVTMarkupObject::FromDispatch(V_DISPATCH(&result), FALSE)),
              nullptr);
    ::VariantClear(&result);
    ASSERT_EQ(InvokeByName(pContext, u"CreateObject", DISPATCH_METHOD, {Text(u"Nothing")}, &result), S_OK);
    EXPECT_EQ(V_DISPATCH(&result), nullptr);
    ::VariantClear(&result);
    EXPECT_EQ(InvokeByName(pContext, u"ToolTipContext", DISPATCH_PROPERTYPUT, {Int(1)}, nullptr),
              DISP_E_EXCEPTION);
    ASSERT_EQ(InvokeByName(pContext, u"DefaultSmoothingMode", DISPATCH_PROPERTYPUT, {Int(4)}, nullptr), S_OK);
    EXPECT_EQ(context->GetDefaultSmoothingMode(), 4);
}

TEST(MarkupScript, AScriptThatReleasesItsOwnButtonDuringTheClickDoesNoHarm)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<qvt:Script><![CDATA["
                                         u"function Drop(sender, args) {"
                                         u"  host.Children.Clear();"
                                         u"  label.Text = 'dropped';"
                                         u"}"
                                         u"]]></qvt:Script>"
                                         u"<TextBlock Name='label'>x</TextBlock>"
                                         u"<StackPanel Name='host'><Button Name='b' Click='Drop'/>"
                                         u"</StackPanel>")));
    ASSERT_NE(root.Get(), nullptr);
    CQVTMarkupButton* pButton = root.Find<CQVTMarkupButton>(u"b");
    ASSERT_NE(pButton, nullptr);
    pButton->InternalAddRef();
    pButton->OnClick();
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"label")), CString(u"dropped"));
    EXPECT_EQ(root->FindName(u"b"), nullptr);
    pButton->InternalRelease();
}

TEST(MarkupScript, AScriptThatParsesOrValidatesMarkupKeepsItsEngine)
{
    // The nested markup has a script of its own: it joins the running engine
    // and sees the outer script's names, and the outer code does not run again.
    CString strNested = PanelMarkup(u"<TextBlock>x</TextBlock><qvt:Script>innerRuns += runs;</qvt:Script>");
    strNested.Replace(u"'", u"\\'");
    CContextHolder context;
    CTreeHolder root(BuildMarkup(
        context,
        PanelMarkup(
            u"<qvt:Script><![CDATA["
            u"var runs = 0, innerRuns = 0; runs++;"
            u"function OnGo(sender, args) {"
            u"  var nested = MarkupContext.Parse('" +
            strNested +
            u"');"
            u"  var bad = MarkupContext.ValidateXML('<Nothing/>');"
            u"  label.Text = 'clicked ' + runs + ' ' + innerRuns + ' ' + (nested != null) + ' ' + bad;"
            u"}"
            u"label.Text = 'loaded ' + MarkupContext.ValidateXML('" +
            strNested +
            u"');"
            u"]]></qvt:Script>"
            u"<Button Name='go' Click='OnGo'>Go</Button>"
            u"<TextBlock Name='label'>before</TextBlock>")));
    ASSERT_NE(root.Get(), nullptr);
    CQVTMarkupTextBlock* pLabel = root.Find<CQVTMarkupTextBlock>(u"label");
    EXPECT_EQ(TextOf(pLabel), CString(u"loaded Done."));
    CQVTActiveScriptEngine* pEngine = context->GetScriptEngine();
    ASSERT_NE(pEngine, nullptr);

    // Each click's parse runs the nested script once in the same engine.
    CQVTMarkupButton* pButton = root.Find<CQVTMarkupButton>(u"go");
    for (int i = 2; i <= 3; ++i)
    {
        pButton->OnClick();
        CString strExpected;
        strExpected.Format(u"clicked 1 %d true The tag 'Nothing' does not exist in XML namespace", i);
        EXPECT_EQ(TextOf(pLabel), strExpected);
        EXPECT_EQ(context->GetScriptEngine(), pEngine);
    }
    context->CloseScript();
}

TEST(MarkupScript, ScriptsSeeTheNamesOfTheVisualTree)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<Button Name='b'><TextBlock Name='inside'>x</TextBlock>"
                                         u"</Button>"
                                         u"<TextBlock Name='t'>a<Run Name='r'>b</Run></TextBlock>"
                                         u"<qvt:Script>t.Text = typeof(r) + ' ' + inside.Text;"
                                         u"</qvt:Script>")));
    ASSERT_NE(root.Get(), nullptr);
    // A run is a logical child of its text block, drawn by it: no visual.
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"t")), CString(u"undefined x"));
    context->CloseScript();
}

TEST(MarkupScript, AHostLettingGoOfTheContextKeepsTheScriptsOfLiveElements)
{
    CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, FALSE);
    CQVTMarkupUIElement* pRoot =
        BuildMarkup(pContext, PanelMarkup(u"<qvt:Script><![CDATA["
                                          u"function OnGo(sender, args) { label.Text = 'clicked'; }"
                                          u"setTimeout(function() { label.Text = 'late'; }, 100000);"
                                          u"]]></qvt:Script>"
                                          u"<Button Name='go' Click='OnGo'>Go</Button>"
                                          u"<TextBlock Name='label'>before</TextBlock>"));
    ASSERT_NE(pRoot, nullptr);
    CQVTMarkupContext* pReleased = pContext;
    MarkupReleaseContext(pReleased);
    EXPECT_EQ(pReleased, nullptr);
    // The tree still answers its clicks.
    MarkupCast<CQVTMarkupButton>(pRoot->FindName(u"go"))->OnClick();
    EXPECT_EQ(TextOf(MarkupCast<CQVTMarkupTextBlock>(pRoot->FindName(u"label"))), CString(u"clicked"));
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 1);
    // The last tree going ends the scripts, and with them their timeouts.
    MarkupReleaseElement(pRoot);
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 0);

    // A root the scripts name is held by the engine only once the host lets go.
    pContext = MarkupCreateContext(nullptr, FALSE);
    CString strNamedRoot =
        PanelMarkup(u"<qvt:Script>setTimeout(function() { top.Children.Clear(); }, 100000);"
                    u"</qvt:Script>");
    strNamedRoot.Replace(u"<TestPanel ", u"<TestPanel Name='top' ");
    pRoot = BuildMarkup(pContext, strNamedRoot);
    ASSERT_NE(pRoot, nullptr);
    MarkupReleaseContext(pContext);
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 1);
    MarkupReleaseElement(pRoot);
    EXPECT_EQ(CQVTActiveScriptStdRuntime::GetPendingTimeoutCount(), 0);
}

TEST(MarkupScript, AnErrorAHandlerRaisedEarlierFailsNoLaterLoad)
{
    CString strNested = PanelMarkup(u"<qvt:Script>nestedRan = true;</qvt:Script>");
    strNested.Replace(u"'", u"\\'");
    CContextHolder context;
    CTreeHolder root(BuildMarkup(context, PanelMarkup(u"<qvt:Script><![CDATA["
                                                      u"var nestedRan = false;"
                                                      u"function Bad(s, a) { throw new Error(3, 'handled'); }"
                                                      u"function Good(s, a) {"
                                                      u"  var nested = MarkupContext.Parse('" +
                                                      strNested +
                                                      u"');"
                                                      u"  label.Text = (nested != null) + ' ' + nestedRan;"
                                                      u"}"
                                                      u"]]></qvt:Script>"
                                                      u"<Button Name='bad' Click='Bad'/>"
                                                      u"<Button Name='good' Click='Good'/>"
                                                      u"<TextBlock Name='label'>x</TextBlock>")));
    ASSERT_NE(root.Get(), nullptr);
    // The engine reports the handler's error, and the click goes on.
    root.Find<CQVTMarkupButton>(u"bad")->OnClick();
    EXPECT_TRUE(context->GetScriptEngine()->HasLastError());
    root.Find<CQVTMarkupButton>(u"good")->OnClick();
    EXPECT_EQ(TextOf(root.Find<CQVTMarkupTextBlock>(u"label")), CString(u"true true"));
    context->CloseScript();
}
