// What the intercepted functions answer while the manager has a skin
// loaded: colours from our program, a test module and comctl32, the skin's
// brushes and fonts, edges and frame controls that outlast a skin change
// on another thread, theme parts drawn for a module that imports the theme
// library, and the default procedures that bring windows to their skin
// objects.
#include <afxwin.h>

#include <commctrl.h>
#include <malloc.h>

#include <stdexcept>
#include <vector>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"
#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"
#include "win_thread.h"

namespace {
const UINT kSkinAnswerAsk = WM_APP + 1;
const UINT kSkinAnswerThrow = WM_APP + 2;
const LRESULT kSkinAnswerReply = 4242;
// Theme parts, states and properties of the button class.
const int kSkinAnswerPushButton = 1;
const int kSkinAnswerCheckBox = 3;
const int kSkinAnswerNormal = 1;
const int kSkinAnswerTextColor = 3803;
const int kSkinAnswerTrueSize = 1;

CString SkinAnswerSkinPath()
{
    WCHAR szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    CString strPath(szPath);
    return strPath.Left(strPath.ReverseFind(_T('\\')) + 1) + _T("Skins\\vista.qvstyles");
}

template <class TFunction>
TFunction SkinAnswerSaved(int nId)
{
    return reinterpret_cast<TFunction>(CQVTSkinManagerLegacyApiHook::GetSavedAddress(nId));
}

// Import entries of every module that hold a replacement of any row.
int SkinAnswerEntriesLeft()
{
    int nLeft = 0;
    CQVTSkinManagerModuleList list(::GetCurrentProcessId(), FALSE);
    for (HMODULE h = list.GetFirstModule(); h != nullptr; h = list.GetNextModule())
    {
        if (!CQVTSkinManagerModuleList::IsValidImage(h))
            continue;
        BYTE* pBase = reinterpret_cast<BYTE*>(h);
        const IMAGE_NT_HEADERS64* pNt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
            pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (dir.VirtualAddress == 0)
            continue;
        for (const IMAGE_IMPORT_DESCRIPTOR* pDescriptor =
                 reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + dir.VirtualAddress);
             CQVTSkinManagerModuleList::IsReadable(pDescriptor, sizeof(*pDescriptor)) &&
             pDescriptor->Name != 0;
             pDescriptor++)
            for (void** ppEntry = reinterpret_cast<void**>(pBase + pDescriptor->FirstThunk);
                 CQVTSkinManagerModuleList::IsReadable(ppEntry, 8) && *ppEntry != nullptr; ppEntry++)
                for (int nId = 0; nId < qvtApiHookRowCount; nId++)
                    if (*ppEntry == CQVTSkinManagerLegacyApiHook::GetRows()[nId].pReplacement)
                        nLeft++;
    }
    return nLeft;
}

// The skin object of the test windows: answers one message, throws on
// another, and notes how it leaves its window.
class CSkinAnswerObject : public CQVTSkinObject
{
    DECLARE_DYNCREATE(CSkinAnswerObject)

public:
    BOOL OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override
    {
        if (message == kSkinAnswerAsk)
        {
            s_nAsked++;
            result = kSkinAnswerReply;
            return TRUE;
        }
        if (message == kSkinAnswerThrow)
            throw std::runtime_error("a skin object that fails");
        return CQVTSkinObject::OnDefWindowProcMessage(message, wParam, lParam, result);
    }
    void OnWindowDetached(BOOL bAtDestruction) override
    {
        // Read entries of the object's lock this thread still held when
        // the manager took its write lock.
        s_nReadsAtDetach = GetLock().GetThreadReadCount();
        s_bDetached = TRUE;
        CQVTSkinObject::OnWindowDetached(bAtDestruction);
    }

    static int s_nAsked;
    static int s_nReadsAtDetach;
    static BOOL s_bDetached;
};
IMPLEMENT_DYNCREATE(CSkinAnswerObject, CQVTSkinObject)
int CSkinAnswerObject::s_nAsked = 0;
int CSkinAnswerObject::s_nReadsAtDetach = -1;
BOOL CSkinAnswerObject::s_bDetached = FALSE;

LRESULT CALLBACK SkinAnswerWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

const WCHAR kSkinAnswerClass[] = u"SkinAnswerTestWindow";

// ExtTextOutW of this program, which pauses on the thread named until the
// test lets it go: the skin's fills draw through it.
typedef BOOL(WINAPI* PFNSKINANSWERTEXTOUT)(HDC, int, int, UINT, const RECT*, LPCWSTR, UINT, const INT*);
PFNSKINANSWERTEXTOUT g_pfnSkinAnswerTextOut = nullptr;
volatile DWORD g_dwSkinAnswerPauseThread = 0;
HANDLE g_hSkinAnswerPaused = nullptr;
HANDLE g_hSkinAnswerResume = nullptr;

BOOL WINAPI SkinAnswerPausingTextOut(HDC hDC, int x, int y, UINT nOptions, const RECT* pRect,
                                     LPCWSTR lpszText, UINT nCount, const INT* pDx)
{
    if (::GetCurrentThreadId() == g_dwSkinAnswerPauseThread)
    {
        g_dwSkinAnswerPauseThread = 0;
        ::SetEvent(g_hSkinAnswerPaused);
        ::WaitForSingleObject(g_hSkinAnswerResume, 20000);
    }
    return g_pfnSkinAnswerTextOut(hDC, x, y, nOptions, pRect, lpszText, nCount, pDx);
}

// Waits for an event while this thread's windows are served; FALSE on time-out.
BOOL SkinAnswerWaitPumping(HANDLE hEvent, DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        const DWORD dwSpent = ::GetTickCount() - dwStart;
        if (dwSpent >= dwMilliseconds)
            return ::WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0;
        const DWORD dw =
            ::MsgWaitForMultipleObjects(1, &hEvent, FALSE, dwMilliseconds - dwSpent, QS_ALLINPUT);
        if (dw == WAIT_OBJECT_0)
            return TRUE;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }
}

}  // namespace

class SkinAnswerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &SkinAnswerWndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kSkinAnswerClass;
        ::RegisterClassW(&wc);
    }
    void SetUp() override
    {
        pManager_->GetClassMap()->AddClass(kSkinAnswerClass, RUNTIME_CLASS(CSkinAnswerObject));
        ASSERT_TRUE(pManager_->LoadSkin(SkinAnswerSkinPath(), _T("NormalBlue.ini")));
    }
    void TearDown() override
    {
        if (pManager_->IsSkinLoaded())
            pManager_->LoadSkin(nullptr, nullptr);
        pManager_->GetClassMap()->AddClass(kSkinAnswerClass, static_cast<CRuntimeClass*>(nullptr));
    }
    CQVTSkinManagerMetrics* Metrics() { return pManager_->GetMetrics(); }

    CQVTSkinManager* pManager_ = QVTSkinManager();
};

TEST_F(SkinAnswerTest, ColoursComeFromTheSkinInEveryModuleUntilTheLastRemoval)
{
    typedef DWORD(WINAPI * PFNSYSCOLOR)(int);
    PFNSYSCOLOR pfnSystem = SkinAnswerSaved<PFNSYSCOLOR>(93);
    ASSERT_NE(pfnSystem, nullptr);
    const COLORREF clrSkin = Metrics()->GetColor(COLOR_BTNFACE);
    ASSERT_EQ(clrSkin, RGB(236, 233, 216));
    ASSERT_NE(pfnSystem(COLOR_BTNFACE), clrSkin) << "the test needs a skin colour the system lacks";

    HMODULE hTest = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hTest, nullptr);
    auto pfnTestColor = reinterpret_cast<PFNSYSCOLOR>(::GetProcAddress(hTest, "SkinHookTestSysColor"));
    ASSERT_NE(pfnTestColor, nullptr);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), clrSkin);
    EXPECT_EQ(pfnTestColor(COLOR_BTNFACE), clrSkin);
    EXPECT_EQ(::GetSysColor(31), pfnSystem(31));

    // comctl32 draws its status text's edge through the skin's routine.
    RECT rc = {0, 0, 60, 20};
    DibCanvas drawn(60, 20);
    DibCanvas skin(60, 20);
    DibCanvas system(60, 20);
    ::DrawStatusTextW(drawn.dc.m_hDC, &rc, u"", 0);
    RECT rcSkin = rc;
    QVTSkinDrawEdge(Metrics(), skin.dc.m_hDC, &rcSkin, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    typedef BOOL(WINAPI * PFNDRAWEDGE)(HDC, LPRECT, UINT, UINT);
    RECT rcSystem = rc;
    SkinAnswerSaved<PFNDRAWEDGE>(95)(system.dc.m_hDC, &rcSystem, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(drawn.At(0, 0), skin.At(0, 0));
    EXPECT_EQ(drawn.At(59, 19), skin.At(59, 19));
    EXPECT_NE(skin.At(0, 0), system.At(0, 0)) << "the skin's edge should differ from the system's";

    pManager_->LoadSkin(nullptr, nullptr);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), pfnSystem(COLOR_BTNFACE));
    EXPECT_EQ(pfnTestColor(COLOR_BTNFACE), pfnSystem(COLOR_BTNFACE));
    EXPECT_EQ(SkinAnswerEntriesLeft(), 0);
    ::FreeLibrary(hTest);
}

TEST_F(SkinAnswerTest, EdgesAndFrameControlsDrawWholeWhileAnotherThreadUnloadsTheSkin)
{
    // Freed memory is overwritten: a drawing that outlives its skin shows it.
    mallopt(M_PERTURB, 0xA5);
    g_pfnSkinAnswerTextOut = reinterpret_cast<PFNSKINANSWERTEXTOUT>(
        ::GetProcAddress(::GetModuleHandleW(u"gdi32.dll"), "ExtTextOutW"));
    ASSERT_NE(g_pfnSkinAnswerTextOut, nullptr);
    CQVTSkinManagerLegacyApiFunction pause(nullptr, "GDI32.DLL", "ExtTextOutW",
                                           reinterpret_cast<void*>(g_pfnSkinAnswerTextOut),
                                           reinterpret_cast<void*>(&SkinAnswerPausingTextOut));
    ASSERT_TRUE(pause.HookImport(::GetModuleHandleW(nullptr)));
    g_hSkinAnswerPaused = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_hSkinAnswerResume = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const COLORREF clrFace = RGB(236, 233, 216);
    struct
    {
        const char* name;
        BOOL (*draw)(HDC, LPRECT);
    } drawings[] = {
        {"edge",
         [](HDC hDC, LPRECT pRect) { return QVTSkinDrawEdge(hDC, pRect, EDGE_RAISED, BF_RECT | BF_MIDDLE); }},
        {"frame control",
         [](HDC hDC, LPRECT pRect) {
             return QVTSkinDrawFrameControl(hDC, pRect, DFC_BUTTON, DFCS_BUTTONPUSH);
         }},
    };
    for (const auto& drawing : drawings)
    {
        if (!pManager_->IsSkinLoaded())
        {
            ASSERT_TRUE(pManager_->LoadSkin(SkinAnswerSkinPath(), _T("NormalBlue.ini")));
        }
        ::ResetEvent(g_hSkinAnswerResume);
        DibCanvas canvas(30, 20, RGB(0, 0, 0));
        BOOL bDrawn = FALSE;
        HANDLE hDrawn = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE hUnloaded = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        WinThread drawer([&] {
            g_dwSkinAnswerPauseThread = ::GetCurrentThreadId();
            RECT rc = {0, 0, 30, 20};
            bDrawn = drawing.draw(canvas.dc.m_hDC, &rc);
            ::SetEvent(hDrawn);
        });
        // The drawer stops at its first fill; the skin goes meanwhile, or
        // waits for the drawing to end.
        EXPECT_TRUE(SkinAnswerWaitPumping(g_hSkinAnswerPaused, 20000)) << drawing.name;
        WinThread unloader([&] {
            pManager_->LoadSkin(nullptr, nullptr);
            ::SetEvent(hUnloaded);
        });
        SkinAnswerWaitPumping(hUnloaded, 2000);
        ::SetEvent(g_hSkinAnswerResume);
        EXPECT_TRUE(SkinAnswerWaitPumping(hDrawn, 20000) && SkinAnswerWaitPumping(hUnloaded, 20000));
        drawer.join();
        unloader.join();
        ::CloseHandle(hDrawn);
        ::CloseHandle(hUnloaded);
        EXPECT_TRUE(bDrawn) << drawing.name;
        EXPECT_EQ(clrFace, canvas.At(15, 10)) << drawing.name << ": the middle in the skin's face colour";
    }
    pause.UnhookImport(::GetModuleHandleW(nullptr));
    mallopt(M_PERTURB, 0);
    ::CloseHandle(g_hSkinAnswerPaused);
    ::CloseHandle(g_hSkinAnswerResume);
}

TEST_F(SkinAnswerTest, SkinBrushesSurviveDeletionAndFontsFollowTheRecordSize)
{
    HBRUSH hBrush = ::GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(hBrush, Metrics()->GetBrush(COLOR_BTNFACE));
    EXPECT_FALSE(::DeleteObject(hBrush));
    LOGBRUSH lb = {};
    EXPECT_EQ(::GetObjectW(hBrush, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(236, 233, 216));
    // Other objects are deleted as ever.
    HBRUSH hOwn = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_TRUE(::DeleteObject(hOwn));

    // A brush value of a colour index plus one fills with the skin's colour.
    DibCanvas canvas(4, 4);
    RECT rc = {0, 0, 4, 4};
    ::FillRect(canvas.dc.m_hDC, &rc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(canvas.At(1, 1), RGB(236, 233, 216));

    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = 500;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &ncm, 0));
    EXPECT_EQ(CString(ncm.lfCaptionFont.lfFaceName).CompareNoCase(u"Tahoma"), 0);
    EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(CString(ncm.lfMenuFont.lfFaceName).CompareNoCase(u"Tahoma"), 0);

    typedef BOOL(WINAPI * PFNSPI)(UINT, UINT, void*, UINT);
    NONCLIENTMETRICSW full = {};
    full.cbSize = sizeof(full);
    NONCLIENTMETRICSW system = {};
    system.cbSize = sizeof(system);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(full), &full, 0));
    ASSERT_TRUE(SkinAnswerSaved<PFNSPI>(115)(SPI_GETNONCLIENTMETRICS, sizeof(system), &system, 0));
    EXPECT_EQ(memcmp(&full, &system, sizeof(full)), 0) << "a record of another size is the system's";
    EXPECT_NE(memcmp(&full.lfCaptionFont, &ncm.lfCaptionFont, sizeof(LOGFONTW)), 0);

    // The narrow record takes the face name through the code page.
    NONCLIENTMETRICSA narrow = {};
    narrow.cbSize = 340;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &narrow, 0));
    EXPECT_STRCASEEQ(narrow.lfCaptionFont.lfFaceName, "Tahoma");
    EXPECT_EQ(narrow.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(narrow.lfCaptionFont.lfHeight, ncm.lfCaptionFont.lfHeight);

    // Without all of metrics, frames and colours the fonts are the system's.
    pManager_->SetApplyOptions(qvtSkinApplyMetrics | qvtSkinApplyFrames);
    NONCLIENTMETRICSW partial = {};
    partial.cbSize = 500;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &partial, 0));
    EXPECT_EQ(memcmp(&partial.lfCaptionFont, &system.lfCaptionFont, sizeof(LOGFONTW)), 0);
    pManager_->SetApplyOptions(qvtSkinApplyAll);
}

TEST_F(SkinAnswerTest, AModuleImportingTheThemeLibraryDrawsSkinParts)
{
    HMODULE hTest = ::LoadLibraryW(u"skinhooktesta.dll");
    ASSERT_NE(hTest, nullptr);
    typedef HRESULT(WINAPI * PFNDRAWPART)(HWND, LPCWSTR, HDC, int, int, const RECT*);
    typedef BOOL(WINAPI * PFNACTIVE)();
    auto pfnDraw = reinterpret_cast<PFNDRAWPART>(::GetProcAddress(hTest, "SkinHookTestDrawPart"));
    auto pfnActive = reinterpret_cast<PFNACTIVE>(::GetProcAddress(hTest, "SkinHookTestThemeActive"));
    ASSERT_NE(pfnDraw, nullptr);
    EXPECT_TRUE(pfnActive());

    RECT rc = {0, 0, 40, 24};
    DibCanvas drawn(40, 24, RGB(255, 0, 255));
    DibCanvas skin(40, 24, RGB(255, 0, 255));
    EXPECT_EQ(pfnDraw(nullptr, u"BUTTON", drawn.dc.m_hDC, kSkinAnswerPushButton, kSkinAnswerNormal, &rc),
              S_OK);
    CQVTSkinManagerClass* pClass = pManager_->GetSkinClass(nullptr, u"BUTTON");
    ASSERT_NE(pClass, nullptr);
    ASSERT_TRUE(pClass->DrawThemeBackground(&skin.dc, kSkinAnswerPushButton, kSkinAnswerNormal, &rc));
    int nDiffer = 0;
    for (int y = 0; y < 24; y++)
        for (int x = 0; x < 40; x++)
            nDiffer += drawn.At(x, y) != skin.At(x, y);
    EXPECT_EQ(nDiffer, 0);
    EXPECT_LT(drawn.CountOf(RGB(255, 0, 255)), 40 * 24 / 2);
    ::FreeLibrary(hTest);
}

TEST_F(SkinAnswerTest, ThemeAnswersFillEveryBufferAndRefuseNullOutPointers)
{
    // The pseudo handle gives the replacements.
    HMODULE hTheme = ::GetModuleHandleW(u"uxtheme.dll");
    ASSERT_EQ(hTheme, CQVTSkinManagerLegacyApiHook::s_hPseudoUxTheme);
    typedef HRESULT(WINAPI * PFNNAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto pfnName = reinterpret_cast<PFNNAME>(::GetProcAddress(hTheme, "GetCurrentThemeName"));
    ASSERT_NE(pfnName, nullptr);
    WCHAR szFile[MAX_PATH];
    WCHAR szColor[32];
    WCHAR szSize[32];
    memset(szSize, 0x41, sizeof(szSize));
    EXPECT_EQ(pfnName(szFile, MAX_PATH, szColor, 32, szSize, 32), S_OK);
    EXPECT_STREQ(CStringA(szFile), CStringA(SkinAnswerSkinPath()));
    EXPECT_STREQ(CStringA(szColor), "normalcolor");
    EXPECT_EQ(szSize[0], 0);
    // Buffers too small get what fits, terminated.
    WCHAR szShortFile[4];
    WCHAR szShortColor[4];
    memset(szShortFile, 0x41, sizeof(szShortFile));
    memset(szShortColor, 0x41, sizeof(szShortColor));
    EXPECT_EQ(pfnName(szShortFile, 4, szShortColor, 4, nullptr, 0), S_OK);
    EXPECT_STREQ(CStringA(szShortFile), CStringA(SkinAnswerSkinPath().Left(3)));
    EXPECT_STREQ(CStringA(szShortColor), "nor");

    typedef HANDLE(WINAPI * PFNOPEN)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI * PFNCLOSE)(HANDLE);
    typedef HRESULT(WINAPI * PFNCOLOR)(HANDLE, int, int, int, COLORREF*);
    typedef HRESULT(WINAPI * PFNPARTSIZE)(HANDLE, HDC, int, int, const RECT*, int, SIZE*);
    auto pfnOpen = reinterpret_cast<PFNOPEN>(::GetProcAddress(hTheme, "OpenThemeData"));
    auto pfnClose = reinterpret_cast<PFNCLOSE>(::GetProcAddress(hTheme, "CloseThemeData"));
    auto pfnColor = reinterpret_cast<PFNCOLOR>(::GetProcAddress(hTheme, "GetThemeColor"));
    auto pfnPartSize = reinterpret_cast<PFNPARTSIZE>(::GetProcAddress(hTheme, "GetThemePartSize"));
    HANDLE hData = pfnOpen(nullptr, u"BUTTON");
    ASSERT_NE(hData, nullptr);
    EXPECT_NE(CQVTSkinManager::GetThemeClass(hData), nullptr);
    EXPECT_EQ(pfnColor(hData, kSkinAnswerPushButton, kSkinAnswerNormal, kSkinAnswerTextColor, nullptr),
              E_POINTER);
    EXPECT_EQ(pfnPartSize(hData, nullptr, kSkinAnswerCheckBox, kSkinAnswerNormal, nullptr,
                          kSkinAnswerTrueSize, nullptr),
              E_POINTER);
    SIZE size = {};
    EXPECT_EQ(pfnPartSize(hData, nullptr, kSkinAnswerCheckBox, kSkinAnswerNormal, nullptr,
                          kSkinAnswerTrueSize, &size),
              S_OK);
    EXPECT_GT(size.cx, 0);
    pfnClose(hData);
    EXPECT_EQ(CQVTSkinManager::GetThemeClass(hData), nullptr);
}

TEST_F(SkinAnswerTest, DefaultProceduresBringTheirThreadsWindowsToTheSkinObject)
{
    HWND hWnd = ::CreateWindowExW(0, kSkinAnswerClass, u"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    CQVTSkinObject* pObject = pManager_->Lookup(hWnd);
    ASSERT_NE(pObject, nullptr);
    EXPECT_FALSE(pObject->IsSubclassed());

    CSkinAnswerObject::s_nAsked = 0;
    EXPECT_EQ(::SendMessageW(hWnd, kSkinAnswerAsk, 0, 0), kSkinAnswerReply);
    EXPECT_EQ(CSkinAnswerObject::s_nAsked, 1);
    // From another thread the default procedure is the system's.
    LRESULT lOther = -1;
    WinThread([&] { lOther = ::DefWindowProcW(hWnd, kSkinAnswerAsk, 0, 0); }).join();
    EXPECT_EQ(lOther, 0);
    EXPECT_EQ(CSkinAnswerObject::s_nAsked, 1);
    // A failing object leaves the message to the system.
    EXPECT_EQ(::SendMessageW(hWnd, kSkinAnswerThrow, 0, 0), 0);

    // The last message removes the object, the object's lock left first.
    CSkinAnswerObject::s_bDetached = FALSE;
    CSkinAnswerObject::s_nReadsAtDetach = -1;
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(CSkinAnswerObject::s_bDetached);
    EXPECT_EQ(CSkinAnswerObject::s_nReadsAtDetach, 0);
    EXPECT_EQ(pManager_->Lookup(hWnd), nullptr);

    // A class registered with the replacement as its procedure keeps the
    // system's own, and works once the interception is gone.
    void* pReplacement =
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "DefWindowProcW"));
    ASSERT_EQ(pReplacement, CQVTSkinManagerLegacyApiHook::GetRows()[117].pReplacement);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = reinterpret_cast<WNDPROC>(pReplacement);
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = u"SkinAnswerPlainClass";
    ASSERT_NE(::RegisterClassW(&wc), 0);
    HWND hPlain = ::CreateWindowExW(0, u"SkinAnswerPlainClass", u"plain", WS_POPUP, 0, 0, 20, 20, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hPlain, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(::GetClassLongPtrW(hPlain, GCLP_WNDPROC)),
              CQVTSkinManagerLegacyApiHook::GetSavedAddress(117));
    pManager_->LoadSkin(nullptr, nullptr);
    WCHAR szText[16] = {};
    EXPECT_EQ(::SendMessageW(hPlain, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(szText)), 5);
    ::DestroyWindow(hPlain);
    ::UnregisterClassW(u"SkinAnswerPlainClass", ::GetModuleHandleW(nullptr));
}

TEST_F(SkinAnswerTest, FramesGrowByTheSkinsBordersAndScrollBarsKeepTheirValues)
{
    CQVTSkinManagerSchema* pSchema = pManager_->GetSchema();
    const CRect rcBorders = pSchema->CalcFrameBorders(WS_OVERLAPPEDWINDOW, WS_EX_WINDOWEDGE);
    RECT rc = {100, 100, 200, 200};
    ASSERT_TRUE(::AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_WINDOWEDGE));
    EXPECT_EQ(rc.left, 100 - rcBorders.left);
    EXPECT_EQ(rc.top, 100 - rcBorders.top);
    EXPECT_EQ(rc.right, 200 + rcBorders.right);
    EXPECT_EQ(rc.bottom, 200 + rcBorders.bottom);
    // Without an extended style, a thick frame, a dialog frame and a caption
    // (sizable or not) bring the window edge; a plain border does not.
    const struct
    {
        DWORD dwStyle;
        DWORD dwEdge;
    } plain[] = {{WS_OVERLAPPEDWINDOW, WS_EX_WINDOWEDGE},
                 {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_WINDOWEDGE},
                 {WS_POPUP | WS_DLGFRAME, WS_EX_WINDOWEDGE},
                 {WS_POPUP | WS_THICKFRAME, WS_EX_WINDOWEDGE},
                 {WS_POPUP | WS_BORDER, 0}};
    for (const auto& row : plain)
    {
        const CRect rcEdge = pSchema->CalcFrameBorders(row.dwStyle, row.dwEdge);
        RECT rcPlain = {100, 100, 200, 200};
        ASSERT_TRUE(::AdjustWindowRect(&rcPlain, row.dwStyle, FALSE));
        EXPECT_EQ(CRect(100 - rcEdge.left, 100 - rcEdge.top, 200 + rcEdge.right, 200 + rcEdge.bottom),
                  CRect(rcPlain))
            << std::hex << row.dwStyle;
    }

    HWND hWnd = ::CreateWindowExW(0, kSkinAnswerClass, u"", WS_POPUP | WS_VSCROLL, 0, 0, 80, 80, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 100, 10, 40, 0};
    ::SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    SCROLLINFO read = {sizeof(read), SIF_ALL};
    ASSERT_TRUE(::GetScrollInfo(hWnd, SB_VERT, &read));
    EXPECT_EQ(read.nMax, 100);
    EXPECT_EQ(read.nPos, 40);
    EXPECT_EQ(::SetScrollPos(hWnd, SB_VERT, 60, TRUE), 40);
    EXPECT_EQ(::GetScrollPos(hWnd, SB_VERT), 60);
    ::DestroyWindow(hWnd);
}

namespace {
// The window as it shows, frame included.
std::vector<COLORREF> SkinAnswerCapture(HWND hWnd, int cx, int cy)
{
    DibCanvas canvas(cx, cy);
    HDC hDC = ::GetWindowDC(hWnd);
    ::BitBlt(canvas.dc.m_hDC, 0, 0, cx, cy, hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hDC);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            pixels.push_back(canvas.At(x, y));
    return pixels;
}

void SkinAnswerPump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
}  // namespace

TEST_F(SkinAnswerTest, AProgramsScrollCallLeavesTheSkinnedBarDrawn)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &SkinAnswerWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = u"SkinAnswerFramedWindow";
    ::RegisterClassW(&wc);
    HWND hWnd = ::CreateWindowExW(WS_EX_NOACTIVATE, u"SkinAnswerFramedWindow", u"Framed",
                                  WS_OVERLAPPEDWINDOW | WS_VSCROLL, 40, 40, 200, 160, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    CQVTSkinObject* pObject = pManager_->Lookup(hWnd);
    ASSERT_NE(pObject, nullptr);
    ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)));
    ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 100, 10, 0, 0};
    ::SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SkinAnswerPump();
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    const std::vector<COLORREF> before = SkinAnswerCapture(hWnd, cx, cy);

    // The thumb moves: the frame draws it where the system would have drawn
    // its own bar.
    si.fMask = SIF_POS;
    si.nPos = 60;
    ::SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    const std::vector<COLORREF> afterCall = SkinAnswerCapture(hWnd, cx, cy);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SkinAnswerPump();
    const std::vector<COLORREF> skinned = SkinAnswerCapture(hWnd, cx, cy);
    EXPECT_NE(before, skinned) << "the thumb should have moved";
    // The frame reached the window through the intercepted default
    // procedure: its own drawing is what shows.
    EXPECT_FALSE(pObject->IsSubclassed());
    DibCanvas drawn(cx, cy);
    static_cast<CQVTSkinObjectFrame*>(pObject)->DrawFrame(&drawn.dc);
    const int nCaptionY = static_cast<CQVTSkinObjectFrame*>(pObject)->GetBorders().top / 2;
    for (int x = cx / 4; x < cx / 2; x += 7)
        EXPECT_EQ(drawn.At(x, nCaptionY), skinned[nCaptionY * cx + x]) << x;
    int nDiffer = 0;
    for (size_t i = 0; i < skinned.size(); i++)
        nDiffer += afterCall[i] != skinned[i];
    EXPECT_EQ(nDiffer, 0);
    ::DestroyWindow(hWnd);
    ::UnregisterClassW(u"SkinAnswerFramedWindow", ::GetModuleHandleW(nullptr));
}

TEST_F(SkinAnswerTest, AFrameworkDialogGetsItsSkinFrameThroughTheDefaultProcedures)
{
    // A captioned dialog template without controls.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE dlg = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, WS_EX_NOACTIVATE, 0, 30, 30, 160, 90};
    memcpy(words.data(), &dlg, sizeof(dlg));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    for (WCHAR ch : std::u16string(u"Dialog"))
        words.push_back(ch);
    words.push_back(0);
    words.push_back(8);
    for (WCHAR ch : std::u16string(u"MS Shell Dlg"))
        words.push_back(ch);
    words.push_back(0);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(words.data())));
    HWND hWnd = dialog.GetSafeHwnd();
    CQVTSkinObject* pObject = pManager_->Lookup(hWnd);
    ASSERT_NE(pObject, nullptr);
    ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)));
    // The framework's procedure was on the window first: the frame is
    // reached through the default procedure the framework calls.
    EXPECT_FALSE(pObject->IsSubclassed());
    ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SkinAnswerPump();
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    const std::vector<COLORREF> shown = SkinAnswerCapture(hWnd, cx, cy);
    CQVTSkinObjectFrame* pFrame = static_cast<CQVTSkinObjectFrame*>(pObject);
    DibCanvas drawn(cx, cy);
    pFrame->DrawFrame(&drawn.dc);
    const int nCaptionY = pFrame->GetBorders().top / 2;
    ASSERT_GT(nCaptionY, 0);
    for (int x = cx / 4; x < cx / 2; x += 7)
        EXPECT_EQ(drawn.At(x, nCaptionY), shown[nCaptionY * cx + x]) << x;
    dialog.DestroyWindow();
}
