// Skin objects on real windows: attach and subclass by the system-procedure
// test, the class map, Default() through each descriptor form, the opt-out,
// the foreign subclasser's chain, removal at WM_NCDESTROY and window paths.
#include <commctrl.h>

#include "tests/toolkit/skinframework/skin_test_support.h"
#include "skin_object_test_support.h"
#include "skin_window_test_support.h"
#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"

namespace {
WNDPROC SkinObjectsProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

// A skin loaded for one test.
struct SkinObjectsLoadedSkin
{
    SkinObjectsLoadedSkin() { EXPECT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlue.ini")); }
    ~SkinObjectsLoadedSkin() { QVTSkinManager()->LoadSkin(nullptr, nullptr); }
};

// What the default procedures of the descriptor forms were called with.
struct SkinObjectsCall
{
    int nForm = 0;
    HWND hWnd = nullptr;
    ULONG_PTR nArgument = 0;
    UINT message = 0;
    WPARAM wParam = 0;
};
SkinObjectsCall g_skinObjectsCall;

LRESULT CALLBACK SkinObjectsCallWindowProcForm(WNDPROC pfnPrev, HWND hWnd, UINT message, WPARAM wParam,
                                               LPARAM)
{
    g_skinObjectsCall = {1, hWnd, reinterpret_cast<ULONG_PTR>(pfnPrev), message, wParam};
    return 101;
}
LRESULT CALLBACK SkinObjectsDefWindowProcForm(HWND hWnd, UINT message, WPARAM wParam, LPARAM)
{
    g_skinObjectsCall = {2, hWnd, 0, message, wParam};
    return 102;
}
LRESULT CALLBACK SkinObjectsDefFrameProcForm(HWND hWnd, HWND hClient, UINT message, WPARAM wParam, LPARAM)
{
    g_skinObjectsCall = {4, hWnd, reinterpret_cast<ULONG_PTR>(hClient), message, wParam};
    return 104;
}
}  // namespace

TEST(SkinObjects, TemplateDialogAndItsControlsAreAttachedAndSubclassed)
{
    SkinTestClassMap map({u"#32770", u"Button", u"Edit", u"SysListView32"}, RUNTIME_CLASS(CSkinTestObject));
    SkinObjectsLoadedSkin skin;
    const int nLiveBefore = CSkinTestObject::s_nLive;
    HWND hDlg = SkinTestCreateTemplateDialog();
    ASSERT_NE(nullptr, hDlg);
    std::vector<HWND> windows = {hDlg, ::GetDlgItem(hDlg, 1), ::GetDlgItem(hDlg, 2), ::GetDlgItem(hDlg, 3)};
    for (HWND hWnd : windows)
    {
        ASSERT_NE(nullptr, hWnd);
        WCHAR szClass[64] = {};
        ::GetClassNameW(hWnd, szClass, 64);
        CQVTSkinObject* pObject = QVTSkinManager()->Lookup(hWnd);
        ASSERT_NE(nullptr, pObject) << CStringA(szClass).GetString();
        EXPECT_TRUE(pObject->IsSystemWindowProc()) << CStringA(szClass).GetString();
        EXPECT_TRUE(pObject->IsSubclassed()) << CStringA(szClass).GetString();
        EXPECT_EQ(&CQVTSkinManager::HookWndProc, SkinObjectsProcOf(hWnd)) << CStringA(szClass).GetString();
        // With a skin loaded, the hooked procedure offers messages to the object.
        EXPECT_EQ(77, ::SendMessageW(hWnd, kSkinTestCountedMessage, 0, 0)) << CStringA(szClass).GetString();
    }
    EXPECT_EQ(2, QVTSkinManager()->Lookup(hDlg)->m_nDialogTexture) << "a top-level dialog";
    EXPECT_EQ(nLiveBefore + 4, CSkinTestObject::s_nLive);

    // The system's own procedures keep answering what the objects leave alone.
    ::SetWindowTextW(windows[2], u"typed");
    WCHAR szText[16] = {};
    ::GetWindowTextW(windows[2], szText, 16);
    EXPECT_EQ(CString(u"typed"), CString(szText));

    ::DestroyWindow(hDlg);
    for (HWND hWnd : windows)
        EXPECT_EQ(nullptr, QVTSkinManager()->Lookup(hWnd));
    EXPECT_EQ(nLiveBefore, CSkinTestObject::s_nLive) << "WM_NCDESTROY releases every object";
}

TEST(SkinObjects, TopLevelWindowsAreSubclassedOnlyWithASystemProcedure)
{
    SkinTestClassMap map({SkinTestSystemClass(), SkinTestOwnClass()}, RUNTIME_CLASS(CSkinTestObject));
    HWND hSystem = SkinTestCreateWindow(SkinTestSystemClass());
    HWND hOwn = SkinTestCreateWindow(SkinTestOwnClass());
    CQVTSkinObject* pSystem = QVTSkinManager()->Lookup(hSystem);
    CQVTSkinObject* pOwn = QVTSkinManager()->Lookup(hOwn);
    ASSERT_NE(nullptr, pSystem);
    ASSERT_NE(nullptr, pOwn);
    EXPECT_TRUE(pSystem->IsSubclassed());
    EXPECT_EQ(&CQVTSkinManager::HookWndProc, SkinObjectsProcOf(hSystem));
    // Our own procedure is reached through the default procedures only.
    EXPECT_FALSE(pOwn->IsSystemWindowProc());
    EXPECT_FALSE(pOwn->IsSubclassed());
    EXPECT_NE(&CQVTSkinManager::HookWndProc, SkinObjectsProcOf(hOwn));
    ::DestroyWindow(hSystem);
    ::DestroyWindow(hOwn);
}

TEST(SkinObjects, SystemAddressesAreUser32Comctl32AndNarrowHandles)
{
    EXPECT_TRUE(IsModuleEnumerationSupported());
    EXPECT_TRUE(CQVTSkinManagerApiHookBase::IsSystemAddress(reinterpret_cast<void*>(0xFFFF0012)));
    EXPECT_TRUE(CQVTSkinManagerApiHookBase::IsSystemAddress(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "DefWindowProcW"))));
    WNDCLASSW wc = {};
    ASSERT_TRUE(::GetClassInfoW(nullptr, WC_LISTVIEWW, &wc));
    EXPECT_TRUE(CQVTSkinManagerApiHookBase::IsSystemAddress(reinterpret_cast<void*>(wc.lpfnWndProc)));
    EXPECT_FALSE(CQVTSkinManagerApiHookBase::IsSystemAddress(reinterpret_cast<void*>(&SkinTestPump)));
    EXPECT_FALSE(CQVTSkinManagerApiHookBase::IsSystemAddress(nullptr));
}

TEST(SkinObjects, ClassesThatStayUnskinnedGetNoObject)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PAGESCROLLER_CLASS};
    ::InitCommonControlsEx(&icc);
    HWND hHost = SkinTestCreateWindow(SkinTestSystemClass());
    HWND hPager = SkinTestCreateWindow(WC_PAGESCROLLERW, WS_CHILD, hHost);
    ASSERT_NE(nullptr, hPager);
    EXPECT_EQ(nullptr, QVTSkinManager()->Lookup(hPager));
    CREATESTRUCT cs = {};
    cs.cx = 10;
    for (LPCTSTR name : {u"#32768", u"QVTSkinManagerMenu", u"SysPager"})
    {
        EXPECT_EQ(nullptr, QVTSkinManager()->AttachSkinObject(hHost, name, &cs, FALSE))
            << CStringA(name).GetString();
        EXPECT_EQ(nullptr, QVTSkinManager()->Lookup(hHost));
    }
    ::DestroyWindow(hHost);
}

TEST(SkinObjectClassMap, AliasesShareEntriesAndNamesIgnoreCase)
{
    CQVTSkinObjectClassMap map;
    map.AddStandardClasses();
    EXPECT_EQ(map.Lookup(u"Edit"), map.Lookup(u"TMemo"));
    EXPECT_EQ(map.Lookup(u"ListBox"), map.Lookup(u"ComboLBox"));
    EXPECT_EQ(map.Lookup(u"msctls_progress32"), map.Lookup(u"tnewprogressbar"));
    for (LPCTSTR name : {u"#32768", u"QVTSkinManagerMenu", u"SysPager"})
    {
        ASSERT_NE(nullptr, map.Lookup(name));
        EXPECT_EQ(nullptr, map.Lookup(name)->CreateObject());
    }

    CQVTSkinObjectClassInfo* pButton = map.AddClass(u"Button", RUNTIME_CLASS(CSkinTestObject));
    EXPECT_EQ(pButton, map.Lookup(u"BUTTON"));
    EXPECT_EQ(pButton, map.Lookup(u"button"));
    map.AddAlias(u"TSpeedButton", u"Button");
    EXPECT_EQ(pButton, map.Lookup(u"TSpeedButton"));
    EXPECT_EQ(2, pButton->m_dwRef) << "one reference per name";
    map.AddAlias(u"TSpeedButton", u"Edit");
    EXPECT_EQ(pButton, map.Lookup(u"TSpeedButton")) << "an alias present is not replaced";
    map.AddAlias(u"TNothing", u"NoSuchClass");
    EXPECT_EQ(nullptr, map.Lookup(u"TNothing"));

    CQVTSkinObject* pObject = map.Lookup(u"tspeedbutton")->CreateObject();
    ASSERT_NE(nullptr, pObject);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CSkinTestObject)));
    pObject->InternalRelease();

    pButton->InternalAddRef();
    map.RemoveAll();
    EXPECT_EQ(1, pButton->m_dwRef);
    EXPECT_EQ(nullptr, map.Lookup(u"Button"));
    pButton->InternalRelease();
}

TEST(SkinObjects, DefaultContinuesInTheProcedureOfEachDescriptorForm)
{
    SkinTestClassMap map({SkinTestOwnClass()}, RUNTIME_CLASS(CSkinTestSubclassingObject));
    SkinObjectsLoadedSkin skin;
    HWND hWnd = SkinTestCreateWindow(SkinTestOwnClass());
    CQVTSkinObject* pObject = QVTSkinManager()->Lookup(hWnd);
    ASSERT_NE(nullptr, pObject);
    ASSERT_TRUE(pObject->IsSubclassed());

    // Form 0, through the hooked procedure: the window's own procedure.
    g_skinTestOwnProcCalls = 0;
    EXPECT_EQ(kSkinTestOwnProcAnswer, ::SendMessageW(hWnd, kSkinTestDefaultMessage, 0, 0));
    EXPECT_EQ(1, g_skinTestOwnProcCalls);

    // The other forms, as the intercepted default procedures push them.
    HWND hClient = reinterpret_cast<HWND>(0x4242);
    struct
    {
        UINT nKind;
        void* pProc;
        ULONG_PTR nArgument;
        int nForm;
        LRESULT nResult;
    } forms[] = {
        {1, reinterpret_cast<void*>(&SkinObjectsCallWindowProcForm), 0x5151, 1, 101},
        {2, reinterpret_cast<void*>(&SkinObjectsDefWindowProcForm), 0, 2, 102},
        {3, reinterpret_cast<void*>(&SkinObjectsDefWindowProcForm), 0, 2, 102},
        {4, reinterpret_cast<void*>(&SkinObjectsDefFrameProcForm), reinterpret_cast<ULONG_PTR>(hClient), 4,
         104},
        {5, reinterpret_cast<void*>(&SkinObjectsDefWindowProcForm), 0, 2, 102},
        {6, reinterpret_cast<void*>(&SkinObjectsDefWindowProcForm), 0, 0, 0},
    };
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    const DWORD nRefBefore = pObject->m_dwRef;
    for (const auto& form : forms)
    {
        g_skinObjectsCall = {};
        pObject->PushDefWindowProc(kSkinTestDefaultMessage, form.nKind, form.pProc, form.nArgument);
        EXPECT_EQ(nRefBefore + 1, pObject->m_dwRef) << "a running default procedure holds the object";
        EXPECT_EQ(kSkinTestDefaultMessage, pObject->GetCurrentDefWindowProcMessage());
        const MSG saved = pState->m_lastSentMsg;
        pState->m_lastSentMsg = {hWnd, kSkinTestDefaultMessage, 9, 0};
        WPARAM wParam = 9;
        LPARAM lParam = 0;
        LRESULT lResult = -1;
        EXPECT_TRUE(pObject->OnDefWindowProcMessage(kSkinTestDefaultMessage, wParam, lParam, lResult));
        pState->m_lastSentMsg = saved;
        pObject->PopDefWindowProc();
        EXPECT_EQ(form.nResult, lResult) << "kind " << form.nKind;
        EXPECT_EQ(form.nForm, g_skinObjectsCall.nForm) << "kind " << form.nKind;
        if (form.nForm != 0)
        {
            EXPECT_EQ(hWnd, g_skinObjectsCall.hWnd) << "kind " << form.nKind;
            EXPECT_EQ(kSkinTestDefaultMessage, g_skinObjectsCall.message) << "kind " << form.nKind;
            EXPECT_EQ(9u, g_skinObjectsCall.wParam) << "kind " << form.nKind;
            EXPECT_EQ(form.nArgument, g_skinObjectsCall.nArgument) << "kind " << form.nKind;
        }
    }
    EXPECT_EQ(nRefBefore, pObject->m_dwRef);
    EXPECT_EQ(0u, pObject->GetCurrentDefWindowProcMessage());
    ::DestroyWindow(hWnd);
}

TEST(SkinObjects, OptedOutWindowIsSkippedUntilAskedAgain)
{
    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    SkinObjectsLoadedSkin skin;
    HWND hWnd = SkinTestCreateWindow(SkinTestSystemClass());
    CSkinTestObject* pObject = static_cast<CSkinTestObject*>(QVTSkinManager()->Lookup(hWnd));
    ASSERT_NE(nullptr, pObject);
    // The window answers the question itself, as a framework window.
    SkinTestForeignSubclass::Install(hWnd);
    SkinTestForeignSubclass::s_nQueryStateAnswer = 1;
    CWnd wnd;
    wnd.Attach(hWnd);

    ::SendMessageW(hWnd, WM_SKINFRAMEWORK_UPDATESTATE, 0, 0);
    EXPECT_TRUE(pObject->IsOptedOut());
    EXPECT_EQ(0, ::SendMessageW(hWnd, kSkinTestCountedMessage, 0, 0));
    EXPECT_EQ(0, pObject->m_nCounted) << "an opted-out window's messages pass by the object";

    SkinTestForeignSubclass::s_nQueryStateAnswer = 0;
    EXPECT_EQ(0, pObject->m_nCounted);
    ::SendMessageW(hWnd, WM_SKINFRAMEWORK_UPDATESTATE, 0, 0);
    EXPECT_FALSE(pObject->IsOptedOut());
    EXPECT_EQ(77, ::SendMessageW(hWnd, kSkinTestCountedMessage, 0, 0));
    EXPECT_EQ(1, pObject->m_nCounted);

    wnd.Detach();
    ::DestroyWindow(hWnd);
}

TEST(SkinObjects, UnsubclassingKeepsTheChainOfAForeignSubclasser)
{
    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    WNDPROC pfnSystem =
        reinterpret_cast<WNDPROC>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "DefWindowProcW"));
    for (LRESULT nAnswer : {1, 0})
    {
        HWND hWnd = SkinTestCreateWindow(SkinTestSystemClass());
        ASSERT_NE(nullptr, QVTSkinManager()->Lookup(hWnd));
        SkinTestForeignSubclass::Install(hWnd);
        SkinTestForeignSubclass::s_nSinkRemovedAnswer = nAnswer;
        SkinTestForeignSubclass::s_wSinkRemoved = 0;
        QVTSkinManager()->Remove(hWnd);
        EXPECT_EQ(nullptr, QVTSkinManager()->Lookup(hWnd));
        EXPECT_EQ(reinterpret_cast<WPARAM>(&CQVTSkinManager::HookWndProc),
                  SkinTestForeignSubclass::s_wSinkRemoved);
        EXPECT_EQ(reinterpret_cast<LPARAM>(pfnSystem), SkinTestForeignSubclass::s_lSinkRemoved);
        if (nAnswer != 0)
        {
            // The subclasser re-chained itself: its procedure stays and now
            // leads straight to the system's.
            EXPECT_EQ(&SkinTestForeignProc, SkinObjectsProcOf(hWnd));
            EXPECT_EQ(pfnSystem, SkinTestForeignSubclass::s_pfnNext);
        }
        else
            EXPECT_EQ(pfnSystem, SkinObjectsProcOf(hWnd)) << "no answer: the saved procedure is put back";
        SkinTestForeignSubclass::s_nSinkRemovedAnswer = 0;
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSystem));
        ::DestroyWindow(hWnd);
    }
}

TEST(SkinObjects, WindowPathListsClassesFromTheTop)
{
    HWND hDlg = SkinTestCreateTemplateDialog();
    HWND hButton = ::GetDlgItem(hDlg, 1);
    EXPECT_EQ(CString(u"/#32770/Button"), CQVTSkinObject::GetWindowPath(hButton, FALSE));
    EXPECT_EQ(CString(u"/#32770"), CQVTSkinObject::GetWindowPath(hButton, TRUE));
    EXPECT_EQ(CString(u"/#32770"), CQVTSkinObject::GetWindowPath(hDlg, FALSE));
    EXPECT_EQ(CString(u"/"), CQVTSkinObject::GetWindowPath(hDlg, TRUE));
    ::DestroyWindow(hDlg);
}

TEST(SkinObjects, PaintDCTakesTheDCAPaintMessageCarries)
{
    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    SkinObjectsLoadedSkin skin;
    HWND hWnd = SkinTestCreateWindow(SkinTestSystemClass());
    ASSERT_NE(nullptr, QVTSkinManager()->Lookup(hWnd));
    DibCanvas canvas(10, 10);
    ::SendMessageW(hWnd, WM_PAINT, reinterpret_cast<WPARAM>(canvas.dc.m_hDC), 0);
    EXPECT_EQ(25, canvas.CountOf(RGB(255, 0, 0)));
    // Without one it paints through BeginPaint, and the DC stays untouched.
    ::SendMessageW(hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(25, canvas.CountOf(RGB(255, 0, 0)));
    ::DestroyWindow(hWnd);
}
