// The bars' options as a user's settings: the profile section that holds
// only what a user changes by working, the whole set through every store and
// read by a second process, older schemas, forged counts, and the keyboard
// cues and icon scaling they switch.
#include <afxwin.h>

#include <string>

#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/foundation/propexchange/store_exchange.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const char16_t kChildVariable[] = u"SONDREL_OPTIONS_CHILD";
const TCHAR kStoreRoot[] = _T("Software\\Sondrel Tests\\Options");

CWinApp& TestApp()
{
    return KeptTestApp(_T("CommandBarsOptionsTest"), _T("Sondrel Tests"));
}

struct BarsScope
{
    BarsScope() : pBars(CQVTCommandBars::CreateCommandBars()) {}
    ~BarsScope() { pBars->InternalRelease(); }
    CQVTCommandBarsOptions* operator->() const { return pBars->GetCommandBarsOptions(); }
    CQVTCommandBars* pBars;
};

// Every persisted option away from its default.
void ChangeEverything(CQVTCommandBarsOptions* pOptions)
{
    pOptions->bAlwaysShowFullMenus = FALSE;
    pOptions->bShowFullAfterDelay = FALSE;
    pOptions->bToolBarScreenTips = FALSE;
    pOptions->bToolBarAccelTips = TRUE;
    pOptions->bLargeIcons = TRUE;
    pOptions->bSyncFloatingBars = FALSE;
    pOptions->bShowExpandButtonAlways = FALSE;
    pOptions->bDblClickFloat = TRUE;
    pOptions->bShowTextBelowIcons = TRUE;
    pOptions->bAltDragCustomization = FALSE;
    pOptions->bAutoHideUnusedPopups = FALSE;
    pOptions->animationType = 4;
    pOptions->keyboardCuesUse = 5;
    pOptions->szIcons = CSize(24, 24);
    pOptions->szLargeIcons = CSize(40, 40);
    pOptions->szPopupIcons = CSize(20, 20);
    pOptions->m_mapUsedCommands.SetAt(100, TRUE);
    pOptions->m_mapUsedCommands.SetAt(40001, TRUE);
    pOptions->m_mapHiddenCommands.SetAt(7, TRUE);
    pOptions->bAutoScaleDpiGalleryItems = FALSE;
    pOptions->SetDpiScaling(FALSE);
}

CString Describe(CQVTCommandBarsOptions* p)
{
    CString str;
    str.Format(
        _T("%d%d%d%d%d %d%d%d%d%d%d anim%d cues%d icons%dx%d,%dx%d,%dx%d used%d,%d,%d hidden%d dpi%d%d%d"),
        p->bAlwaysShowFullMenus, p->bShowFullAfterDelay, p->bToolBarScreenTips, p->bToolBarAccelTips,
        p->bLargeIcons, p->bSyncFloatingBars, p->bShowExpandButtonAlways, p->bDblClickFloat,
        p->bShowTextBelowIcons, p->bAltDragCustomization, p->bAutoHideUnusedPopups, p->animationType,
        p->keyboardCuesUse, p->szIcons.cx, p->szIcons.cy, p->szLargeIcons.cx, p->szLargeIcons.cy,
        p->szPopupIcons.cx, p->szPopupIcons.cy, static_cast<int>(p->m_mapUsedCommands.GetCount()),
        p->m_mapUsedCommands.PLookup(100) != nullptr, p->m_mapUsedCommands.PLookup(40001) != nullptr,
        p->m_mapHiddenCommands.PLookup(7) != nullptr, p->bAutoScaleDpiGalleryItems,
        p->bAutoScaleDpiToolbarIcons, p->bAutoScaleDpiToolbarIconsModified);
    return str;
}

CString TempPath(LPCTSTR lpszName)
{
    TCHAR szDir[MAX_PATH] = {};
    ::GetTempPath(MAX_PATH, szDir);
    return CString(szDir) + lpszName;
}

template <class TBody>
void Exchange(Store store, BOOL bLoading, TBody body)
{
    ExchangeThroughStore(store, bLoading, StorePlace(store, _T("sondrel-options"), _T("Set")), kStoreRoot,
                         _T("Options"), body);
}

// The value names of a profile key.
CString ValueNames(HKEY hKey)
{
    CString strNames;
    for (DWORD i = 0;; ++i)
    {
        TCHAR szName[256] = {};
        DWORD cch = _countof(szName);
        if (::RegEnumValue(hKey, i, szName, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        strNames += CString(szName) + _T(" ");
    }
    return strNames;
}

}  // namespace

TEST(CommandBarsOptions, TheProfileSectionHoldsOnlyWhatAUserChangesByWorking)
{
    CWinApp& app = TestApp();
    HKEY hApp = app.GetAppRegistryKey();
    ASSERT_NE(nullptr, hApp);
    // A value of an earlier save is gone after the next one.
    HKEY hStale = app.GetSectionKey(_T("Work-Options"));
    ::RegSetValueEx(hStale, _T("Stale"), 0, REG_SZ, reinterpret_cast<const BYTE*>(_T("x")), 4);
    ::RegCloseKey(hStale);
    {
        BarsScope bars;
        ChangeEverything(bars.operator->());
        bars.pBars->SaveOptions(_T("Work"));
    }
    HKEY hSection = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyEx(hApp, _T("Work-Options"), 0, KEY_READ, &hSection));
    // The registry lists its values by name.
    EXPECT_EQ(CString(_T("AlwaysShowFullMenus Animation LargeIcons ShowFullAfterDelay ToolBarAccelTips ")
                      _T("ToolBarScreenTips ")),
              ValueNames(hSection));
    HKEY hUsed = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyEx(hSection, _T("UsedCommands"), 0, KEY_READ, &hUsed));
    EXPECT_EQ(CString(_T("Count Item0 Item1 ")), ValueNames(hUsed));
    ::RegCloseKey(hUsed);
    ::RegCloseKey(hSection);
    ::RegCloseKey(hApp);

    BarsScope loaded;
    loaded->bSyncFloatingBars = FALSE;
    loaded.pBars->LoadOptions(_T("Work"));
    EXPECT_FALSE(loaded->bAlwaysShowFullMenus);
    EXPECT_TRUE(loaded->bLargeIcons);
    EXPECT_EQ(4, loaded->animationType);
    EXPECT_EQ(2, static_cast<int>(loaded->m_mapUsedCommands.GetCount()));
    EXPECT_TRUE(loaded->m_mapHiddenCommands.IsEmpty());
    EXPECT_EQ(1, loaded->keyboardCuesUse);
    EXPECT_FALSE(loaded->bSyncFloatingBars);
}

TEST(CommandBarsOptions, EveryStoreKeepsTheWholeSetForASecondProcess)
{
    ComScope com;
    for (Store store : kStores)
    {
        BarsScope bars;
        ChangeEverything(bars.operator->());
        Exchange(store, FALSE, [&](CQVTPropExchange* pPX) { bars->DoPropExchange(pPX); });
    }
    EXPECT_EQ(0u, commontest::RunSelf("CommandBarsOptions.ReadBackInTheSecondProcess", kChildVariable, u"1"));
}

TEST(CommandBarsOptions, ReadBackInTheSecondProcess)
{
    if (commontest::Environment(kChildVariable).empty())
        GTEST_SKIP() << "runs in the second process";
    ComScope com;
    BarsScope expected;
    ChangeEverything(expected.operator->());
    for (Store store : kStores)
    {
        BarsScope bars;
        bars->m_mapUsedCommands.SetAt(999, TRUE);
        Exchange(store, TRUE, [&](CQVTPropExchange* pPX) { bars->DoPropExchange(pPX); });
        EXPECT_EQ(Describe(expected.operator->()), Describe(bars.operator->())) << static_cast<int>(store);
    }
}

TEST(CommandBarsOptions, OlderSchemasLeaveNewerOptionsAlone)
{
    HKEY hRoot = nullptr;
    ::RegCreateKeyEx(HKEY_CURRENT_USER, kStoreRoot, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &hRoot,
                     nullptr);
    ASSERT_NE(nullptr, hRoot);
    for (int nSchema : {8, 9})
    {
        ::RegDeleteTree(hRoot, _T("Old"));
        {
            CQVTPropExchangeRegistry px(FALSE, hRoot, _T("Old"));
            PropExchangeInt(&px, _T("Schema"), nSchema, 0);
            int nCues = 6;
            PropExchangeInt(&px, _T("KeyboardCuesUse"), nCues, 0);
            int nAnimation = 3;
            PropExchangeInt(&px, _T("Animation"), nAnimation, 0);
        }
        BarsScope bars;
        CQVTPropExchangeRegistry px(TRUE, hRoot, _T("Old"));
        bars->DoPropExchange(&px);
        EXPECT_EQ(nSchema == 8 ? 1 : 6, bars->keyboardCuesUse) << nSchema;
        EXPECT_EQ(3, bars->animationType);
    }
    ::RegCloseKey(hRoot);
}

TEST(CommandBarsOptions, ForgedCountsEndWithTheStoredItems)
{
    HKEY hRoot = nullptr;
    ::RegCreateKeyEx(HKEY_CURRENT_USER, kStoreRoot, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &hRoot,
                     nullptr);
    ASSERT_NE(nullptr, hRoot);
    ::RegDeleteTree(hRoot, _T("Forged"));
    {
        CQVTPropExchangeRegistry px(FALSE, hRoot, _T("Forged"));
        CQVTPropExchange* pUsed = px.GetSection(_T("UsedCommands"));
        pUsed->WriteCount(2000000000);
        int nId = 33;
        PropExchangeInt(pUsed, _T("Item0"), nId, 0);
        nId = 34;
        PropExchangeInt(pUsed, _T("Item1"), nId, 0);
        pUsed->InternalRelease();
    }
    BarsScope bars;
    {
        CQVTPropExchangeRegistry px(TRUE, hRoot, _T("Forged"));
        bars->DoPropExchange(&px, TRUE);
    }
    EXPECT_EQ(2, static_cast<int>(bars->m_mapUsedCommands.GetCount()));
    EXPECT_NE(nullptr, bars->m_mapUsedCommands.PLookup(34));
    ::RegCloseKey(hRoot);

    // An archive's set claims more ids than it holds.
    const CString strPath = TempPath(_T("sondrel-options-forged.bin"));
    {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        CQVTPropExchangeArchive px(ar);
        int nSchema = 43;
        PropExchangeInt(&px, _T("Schema"), nSchema, 43);
        for (int i = 0; i < 5; ++i)
        {
            BOOL bValue = TRUE;
            PropExchangeBool(&px, _T("Flag"), bValue, TRUE);
        }
        ar.WriteCount(0x7FFFFFFF);
        ar << static_cast<DWORD>(5) << 1;
        ar.Close();
    }
    CFile file(strPath, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    BOOL bRefused = FALSE;
    try
    {
        CQVTPropExchangeArchive px(ar);
        bars->DoPropExchange(&px);
    }
    catch (CArchiveException* e)
    {
        bRefused = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
}

TEST(CommandBarsOptions, KeyboardCuesAndIconScalingFollowTheSystemUntilSet)
{
    BarsScope bars;
    EXPECT_TRUE(bars->IsDpiScalingEnabled());
    CQVTDpiScaler::SetImageScaling(FALSE);
    EXPECT_FALSE(bars->IsDpiScalingEnabled());
    bars->SetDpiScaling(TRUE);
    EXPECT_TRUE(bars->IsDpiScalingEnabled());
    CQVTDpiScaler::SetImageScaling(TRUE);
    bars->SetDpiScaling(FALSE);
    EXPECT_FALSE(bars->IsDpiScalingEnabled());

    BOOL bSystemCues = TRUE;
    ::SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &bSystemCues, 0);
    ::SystemParametersInfo(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(FALSE)), 0);
    BOOL bNow = TRUE;
    if (!::SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &bNow, 0) || bNow)
        GTEST_SKIP() << "the system keeps its keyboard-cue setting";
    bars->ShowKeyboardCues(2);
    EXPECT_FALSE(bars.pBars->IsKeyboardCuesVisible());
    EXPECT_TRUE(bars.pBars->IsKeyboardCuesToggling());
    // Alt shows them until the key is released.
    bars.pBars->ShowKeyboardCues(TRUE);
    EXPECT_TRUE(bars.pBars->IsKeyboardCuesVisible());
    bars->ShowKeyboardCues(0);
    EXPECT_TRUE(bars.pBars->IsKeyboardCuesVisible());
    EXPECT_FALSE(bars.pBars->IsKeyboardCuesToggling());
    bars->ShowKeyboardCues(1);
    EXPECT_FALSE(bars.pBars->IsKeyboardCuesVisible());
    ::SystemParametersInfo(SPI_SETKEYBOARDCUES, 0,
                           reinterpret_cast<PVOID>(static_cast<UINT_PTR>(bSystemCues)), 0);
}
