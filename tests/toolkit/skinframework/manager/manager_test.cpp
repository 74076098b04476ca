// The skin manager: loading and unloading skins with the notices of both
// states, the compatibility layer, the attach exclusions, dialog textures,
// colour filters, theme handles and persistent modules.
#include <commctrl.h>
#include <prsht.h>

#include "tests/toolkit/skinframework/skin_test_support.h"
#include "skin_object_test_support.h"
#include "skin_window_test_support.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "win_thread.h"

namespace {
const LPCTSTR kSkinManagerLayersKey =
    u"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

void SkinManagerSetLayer(const BYTE* pValue, DWORD cbValue)
{
    WCHAR szExe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szExe, MAX_PATH);
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, kSkinManagerLayersKey, 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    if (pValue != nullptr)
        ::RegSetValueExW(hKey, szExe, 0, REG_SZ, pValue, cbValue);
    else
        ::RegDeleteValueW(hKey, szExe);
    ::RegCloseKey(hKey);
    QVTSkinManager()->ReadCompatibilityLayer();
}

BOOL AFXAPI SkinManagerLowColor(HDC)
{
    return TRUE;
}

struct SkinManagerCountingFilter : CQVTSkinManagerColorFilter
{
    SkinManagerCountingFilter(COLORREF nAdd, COLORREF nMultiply, int* pnDeleted)
        : m_nAdd(nAdd), m_nMultiply(nMultiply), m_pnDeleted(pnDeleted)
    {
    }
    ~SkinManagerCountingFilter() override { ++*m_pnDeleted; }
    void ApplyColorFilter(COLORREF& clr) override { clr = (clr + m_nAdd) * m_nMultiply; }
    COLORREF m_nAdd, m_nMultiply;
    int* m_pnDeleted;
};

struct SkinManagerRefusingFilter : IQVTSkinManagerWindowFilter
{
    BOOL FilterWindow(HWND, LPCTSTR, const CREATESTRUCT*) override { return TRUE; }
};

// A parent dialog that answers PSM_GETTABCONTROL as a property sheet does.
HWND g_skinManagerTab = nullptr;
INT_PTR CALLBACK SkinManagerSheetProc(HWND hDlg, UINT message, WPARAM, LPARAM)
{
    if (message == 0x474)
    {
        ::SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(g_skinManagerTab));
        return TRUE;
    }
    return FALSE;
}

HWND SkinManagerCreateSheet()
{
    struct
    {
        DLGTEMPLATE dlg;
        WORD menu, cls, title;
    } tmpl = {{WS_POPUP, 0, 0, 0, 0, 100, 100}, 0, 0, 0};
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tmpl.dlg, nullptr,
                                        &SkinManagerSheetProc, 0);
}
}  // namespace

TEST(SkinManager, LoadsEachSkinAndUnloadsWithNoticesOfBothStates)
{
    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    HWND hWnd = SkinTestCreateWindow(SkinTestSystemClass());
    CSkinTestObject* pObject = static_cast<CSkinTestObject*>(QVTSkinManager()->Lookup(hWnd));
    ASSERT_NE(nullptr, pObject);
    CQVTSkinManager* pManager = QVTSkinManager();

    for (LPCTSTR ini : {u"NormalBlue.ini", u"NormalBlack2.ini", u"NormalSilver.ini", u""})
    {
        EXPECT_TRUE(pManager->LoadSkin(SkinModulePath(), ini)) << CStringA(ini).GetString();
        EXPECT_TRUE(pManager->IsSkinLoaded());
        ASSERT_NE(nullptr, pManager->GetMetrics());
        EXPECT_NE(nullptr, pManager->GetSkinClass(nullptr, u"button"));
    }
    EXPECT_EQ(CString(u"NormalBlue_ini"), pManager->GetResourceFile()->GetIniFileName())
        << "an empty name's default";
    ASSERT_EQ(4u, pObject->m_skinChanges.size());
    EXPECT_EQ(std::make_pair(FALSE, TRUE), pObject->m_skinChanges[0]);
    EXPECT_EQ(std::make_pair(TRUE, TRUE), pObject->m_skinChanges[1]);

    // The skin's system colours, and -1 for any other id.
    EXPECT_EQ(pManager->GetMetrics()->GetColor(COLOR_BTNFACE),
              pManager->GetThemeSysColor(1601 + COLOR_BTNFACE));
    EXPECT_EQ(static_cast<COLORREF>(-1), pManager->GetThemeSysColor(1700));
    EXPECT_EQ(pObject, pManager->Lookup(hWnd)) << "a new skin keeps the window's object";

    EXPECT_TRUE(pManager->LoadSkin(SkinLightPath(), u"Blue.ini"));
    EXPECT_FALSE(pManager->LoadSkin(SkinLightPath(), u"")) << "light.msstyles names no default schema";
    EXPECT_FALSE(pManager->IsSkinLoaded());
    EXPECT_TRUE(pManager->LoadSkin(SkinModulePath(), u"NormalBlue.ini"));

    pObject->m_skinChanges.clear();
    SkinTestPump();
    EXPECT_FALSE(pManager->LoadSkin(nullptr, nullptr));
    EXPECT_FALSE(pManager->IsSkinLoaded());
    EXPECT_EQ(nullptr, pManager->GetSchema());
    EXPECT_EQ(nullptr, pManager->GetMetrics());
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), pManager->GetThemeSysColor(1601 + COLOR_BTNFACE));
    ASSERT_EQ(1u, pObject->m_skinChanges.size());
    EXPECT_EQ(std::make_pair(TRUE, FALSE), pObject->m_skinChanges[0]);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, hWnd, WM_SYSCOLORCHANGE, WM_SYSCOLORCHANGE, PM_REMOVE))
        << "top-level windows of the process are told";
    ::DestroyWindow(hWnd);
}

TEST(SkinManager, WindowsOfAnotherThreadGetTheNoticePosted)
{
    QVTSkinManager()->LoadSkin(nullptr, nullptr);
    HANDLE hReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hOther = nullptr;
    MSG received = {};
    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    WinThread thread([&] {
        QVTSkinManager()->EnableThreadHook();
        hOther = SkinTestCreateWindow(SkinTestSystemClass());
        ::SetEvent(hReady);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        {
            if (msg.message == WM_SKINFRAMEWORK_SKINCHANGED)
            {
                received = msg;
                ::DestroyWindow(hOther);
                ::PostQuitMessage(0);
            }
            ::DispatchMessageW(&msg);
        }
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hReady, 10000));
    CSkinTestObject* pObject = static_cast<CSkinTestObject*>(QVTSkinManager()->Lookup(hOther));
    ASSERT_NE(nullptr, pObject) << "the other thread's creation hook attached it";
    EXPECT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlue.ini"));
    thread.join();
    EXPECT_EQ(hOther, received.hwnd);
    EXPECT_EQ(0u, received.wParam);
    EXPECT_EQ(1, received.lParam);
    EXPECT_EQ(nullptr, QVTSkinManager()->Lookup(hOther));
    QVTSkinManager()->LoadSkin(nullptr, nullptr);
    ::CloseHandle(hReady);
}

TEST(SkinManager, CompatibilityLayerAndLowColourRefuseTheSkin)
{
    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    HWND hWnd = SkinTestCreateWindow(SkinTestSystemClass());
    CSkinTestObject* pObject = static_cast<CSkinTestObject*>(QVTSkinManager()->Lookup(hWnd));
    ASSERT_NE(nullptr, pObject);

    // "DISABLETHEMES" with its NUL: 28 bytes.
    SkinManagerSetLayer(reinterpret_cast<const BYTE*>(u"DISABLETHEMES"), 28);
    EXPECT_TRUE(QVTSkinManager()->IsThemesDisabled());
    EXPECT_FALSE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlue.ini"));
    EXPECT_TRUE(pObject->m_skinChanges.empty()) << "no notice";
    SkinManagerSetLayer(reinterpret_cast<const BYTE*>(u"DISABLETHEMES2"), 30);
    EXPECT_FALSE(QVTSkinManager()->IsThemesDisabled());
    SkinManagerSetLayer(nullptr, 0);
    EXPECT_FALSE(QVTSkinManager()->IsThemesDisabled());

    // A display of 8 bits or fewer: refused, but told.
    CQVTSkinManager::s_pfnIsLowColorDisplay = &SkinManagerLowColor;
    EXPECT_FALSE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlue.ini"));
    CQVTSkinManager::s_pfnIsLowColorDisplay = &CQVTColorManager::IsLowColorDisplay;
    ASSERT_EQ(1u, pObject->m_skinChanges.size());
    EXPECT_EQ(std::make_pair(FALSE, FALSE), pObject->m_skinChanges[0]);
    ::DestroyWindow(hWnd);
}

TEST(SkinManager, ExcludedWindowsAndClassesGetNoObject)
{
    SkinTestClassMap map({SkinTestSystemClass(), u"EDIT"}, RUNTIME_CLASS(CSkinTestObject));
    CQVTSkinManager* pManager = QVTSkinManager();
    HWND hWnd = SkinTestCreateWindow(SkinTestOwnClass());
    CREATESTRUCT cs = {};
    cs.cx = 120;
    for (LPCTSTR name : {u"tooltips_class32", u"#43", u"IME", u"ime", u"MSCTFIME UI", u"CicMarshalWndClass",
                         u"WorkerW", u"workerw", u"SHELLDLL_DefView"})
        EXPECT_EQ(nullptr, pManager->AttachSkinObject(hWnd, name, &cs, FALSE)) << CStringA(name).GetString();
    EXPECT_EQ(nullptr, pManager->AttachSkinObject(hWnd, u"Internet Explorer_Server", &cs, FALSE));
    CREATESTRUCT zero = {};
    EXPECT_EQ(nullptr, pManager->AttachSkinObject(hWnd, SkinTestSystemClass(), &zero, FALSE))
        << "all-zero creation";
    EXPECT_EQ(nullptr, pManager->AttachSkinObject(::GetDesktopWindow(), SkinTestSystemClass(), &cs, FALSE))
        << "a window of another process";
    SkinManagerRefusingFilter filter;
    pManager->SetWindowFilter(&filter);
    EXPECT_EQ(nullptr, pManager->AttachSkinObject(hWnd, SkinTestSystemClass(), &cs, FALSE));
    pManager->SetWindowFilter(nullptr);

    // The input method's window that the system makes at a thread's first
    // window is left alone.
    typedef HWND(WINAPI * PFNGETIMEWND)(HWND);
    auto pfnImeWindow =
        reinterpret_cast<PFNGETIMEWND>(::GetProcAddress(::LoadLibraryW(u"imm32.dll"), "ImmGetDefaultIMEWnd"));
    ASSERT_NE(nullptr, pfnImeWindow);
    HWND hFirst = nullptr, hIme = nullptr;
    CQVTSkinObject* pFirstObject = nullptr;
    CQVTSkinObject* pImeObject = nullptr;
    WinThread([&] {
        pManager->EnableThreadHook();
        hFirst = SkinTestCreateWindow(SkinTestSystemClass());
        hIme = pfnImeWindow(hFirst);
        pFirstObject = pManager->Lookup(hFirst);
        pImeObject = pManager->Lookup(hIme);
        ::DestroyWindow(hFirst);
    }).join();
    EXPECT_NE(nullptr, hIme);
    EXPECT_NE(nullptr, pFirstObject);
    EXPECT_EQ(nullptr, pImeObject);

    // A Windows Forms class is looked up by the word between its first two dots.
    CQVTSkinObject* pObject = pManager->AttachSkinObject(hWnd, u"WindowsForms10.EDIT.app.0.1", &cs, FALSE);
    ASSERT_NE(nullptr, pObject);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CSkinTestObject)));
    EXPECT_TRUE(pObject->m_bWindowsForms);
    EXPECT_EQ(pObject, pManager->Lookup(hWnd));
    pManager->Remove(hWnd);
    EXPECT_EQ(nullptr, pManager->Lookup(hWnd));
    ::DestroyWindow(hWnd);
}

TEST(SkinManager, ChildDialogTextureFollowsItsSheet)
{
    SkinTestClassMap map({u"#32770"}, RUNTIME_CLASS(CSkinTestObject));
    CQVTSkinManager* pManager = QVTSkinManager();
    HWND hSheet = SkinManagerCreateSheet();
    ASSERT_NE(nullptr, hSheet);
    HWND hPage = SkinTestCreateWindow(SkinTestOwnClass(), WS_CHILD, hSheet);
    g_skinManagerTab = SkinTestCreateWindow(SkinTestOwnClass(), WS_CHILD, hSheet);
    CREATESTRUCT cs = {};
    cs.cx = 50;
    cs.hwndParent = hSheet;
    cs.style = WS_CHILD | DS_CONTROL;
    auto textureOf = [&](const CREATESTRUCT& create) {
        CQVTSkinObject* pObject =
            pManager->AttachSkinObject(hPage, u"#32770", const_cast<CREATESTRUCT*>(&create), FALSE);
        const int nTexture = pObject != nullptr ? pObject->m_nDialogTexture : -1;
        pManager->Remove(hPage);
        return nTexture;
    };

    // A sheet whose data is not where a property sheet keeps it.
    ::SetWindowLongPtrW(hSheet, DWLP_USER, 0x10);
    EXPECT_EQ(6, textureOf(cs));
    struct
    {
        HWND hSelf;
        PROPSHEETHEADERW header;
    } data = {hSheet, {}};
    ::SetWindowLongPtrW(hSheet, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    EXPECT_EQ(6, textureOf(cs));
    data.header.dwFlags = PSH_WIZARD;
    EXPECT_EQ(2, textureOf(cs)) << "a wizard's page";
    CREATESTRUCT popup = cs;
    popup.style = WS_POPUP;
    EXPECT_EQ(2, textureOf(popup));
    g_skinManagerTab = nullptr;
    EXPECT_EQ(2, textureOf(cs)) << "no tab control: no sheet";
    ::DestroyWindow(hSheet);
}

TEST(SkinManager, ColorFiltersThemeHandlesAndApplyOptions)
{
    CQVTSkinManager* pManager = QVTSkinManager();
    int nDeleted = 0;
    EXPECT_FALSE(pManager->HasColorFilters());
    pManager->AddColorFilter(new SkinManagerCountingFilter(1, 1, &nDeleted));
    pManager->AddColorFilter(new SkinManagerCountingFilter(0, 2, &nDeleted));
    EXPECT_TRUE(pManager->HasColorFilters());
    COLORREF clr = 3;
    pManager->ApplyColorFilter(&clr);
    EXPECT_EQ(8u, clr) << "in order";
    pManager->RemoveColorFilters();
    EXPECT_EQ(2, nDeleted);
    EXPECT_FALSE(pManager->HasColorFilters());

    // A class going away takes its theme handles with it.
    {
        auto skin = SkinLoad(SkinModulePath(), u"NormalBlue.ini");
        ASSERT_TRUE(skin->ok);
        CQVTSkinManagerClass* pClass = skin->schema->GetClass(u"BUTTON");
        ASSERT_NE(nullptr, pClass);
        CQVTSkinManager::RegisterThemeHandle(reinterpret_cast<void*>(0x7001), pClass);
        CQVTSkinManager::RegisterThemeHandle(reinterpret_cast<void*>(0x7002), pClass);
        EXPECT_EQ(pClass, CQVTSkinManager::GetThemeClass(reinterpret_cast<void*>(0x7001)));
        CQVTSkinManager::UnregisterThemeHandle(reinterpret_cast<void*>(0x7001));
        EXPECT_EQ(nullptr, CQVTSkinManager::GetThemeClass(reinterpret_cast<void*>(0x7001)));
        EXPECT_EQ(pClass, CQVTSkinManager::GetThemeClass(reinterpret_cast<void*>(0x7002)));
    }
    EXPECT_EQ(nullptr, CQVTSkinManager::GetThemeClass(reinterpret_cast<void*>(0x7002)));

    SkinTestClassMap map({SkinTestSystemClass()}, RUNTIME_CLASS(CSkinTestObject));
    HWND hWnd = SkinTestCreateWindow(SkinTestSystemClass());
    CSkinTestObject* pObject = static_cast<CSkinTestObject*>(pManager->Lookup(hWnd));
    ASSERT_NE(nullptr, pObject);
    pManager->SetApplyOptions(qvtSkinApplyMetrics);
    EXPECT_EQ(static_cast<UINT>(qvtSkinApplyMetrics), pManager->GetApplyOptions());
    EXPECT_TRUE(pObject->m_skinChanges.empty()) << "without a skin only the word changes";
    ASSERT_TRUE(pManager->LoadSkin(SkinModulePath(), u"NormalBlue.ini"));
    pObject->m_skinChanges.clear();
    pManager->SetApplyOptions(qvtSkinApplyAll);
    ASSERT_EQ(1u, pObject->m_skinChanges.size());
    EXPECT_EQ(std::make_pair(TRUE, TRUE), pObject->m_skinChanges[0]);
    pManager->LoadSkin(nullptr, nullptr);
    ::DestroyWindow(hWnd);
}

TEST(SkinManager, PersistentModulesAreThoseReachedThroughImports)
{
    CQVTSkinManager* pManager = QVTSkinManager();
    EXPECT_TRUE(pManager->IsPersistentModule(::GetModuleHandleW(nullptr)));
    EXPECT_TRUE(pManager->IsPersistentModule(::GetModuleHandleW(u"user32.dll")));
    // Imported by user32 and gdi32, not by the program itself.
    HMODULE hWin32u = ::GetModuleHandleW(u"win32u.dll");
    ASSERT_NE(nullptr, hWin32u);
    EXPECT_TRUE(pManager->IsPersistentModule(hWin32u));
    HMODULE hLoaded = ::LoadLibraryW(u"cabinet.dll");
    ASSERT_NE(nullptr, hLoaded);
    EXPECT_FALSE(pManager->IsPersistentModule(hLoaded)) << "only loaded";
    EXPECT_FALSE(pManager->IsPersistentModule(hLoaded)) << "the cached answer";
    ::FreeLibrary(hLoaded);
}

TEST(SkinManager, DrawingRoutinesPaintWithTheLoadedSkinOnly)
{
    CQVTSkinManager* pManager = QVTSkinManager();
    pManager->LoadSkin(nullptr, nullptr);
    DibCanvas canvas(20, 20);
    CRect rc(0, 0, 20, 20);
    EXPECT_FALSE(QVTSkinDrawEdge(canvas.dc.m_hDC, &rc, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(QVTSkinDrawFrameControl(canvas.dc.m_hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(400, canvas.CountOf(RGB(255, 255, 255)));

    ASSERT_TRUE(pManager->LoadSkin(SkinModulePath(), u"NormalBlack2.ini"));
    DibCanvas expected(20, 20);
    CRect rcExpected(rc);
    ASSERT_TRUE(
        QVTSkinDrawEdge(pManager->GetMetrics(), expected.dc.m_hDC, &rcExpected, EDGE_RAISED, BF_RECT));
    EXPECT_TRUE(QVTSkinDrawEdge(canvas.dc.m_hDC, &rc, EDGE_RAISED, BF_RECT));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(expected.At(x, y), canvas.At(x, y)) << x << "," << y;
    EXPECT_TRUE(QVTSkinDrawFrameControl(canvas.dc.m_hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH));
    pManager->LoadSkin(nullptr, nullptr);
}
