// Keyboard shortcuts as a user meets them: typed chords and single strokes
// reaching a frame's command handler, the texts menus show, texts parsed
// back, and tables saved through every store and read by a second process.
// The keyboard tests run with the display's one US layout.
#include <afxwin.h>

#include <string>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/common/common_test_support.h"
#include "tests/support/win_thread.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/foundation/propexchange/store_exchange.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

namespace {

CWinApp& TestApp()
{
    return KeptTestApp(_T("CommandBarsShortcutsTest"), _T("Sondrel Tests"));
}

const char16_t kChildVariable[] = u"SONDREL_SHORTCUTS_CHILD";
const TCHAR kRegistryRoot[] = _T("Software\\Sondrel Tests\\Shortcuts");

QVT_SHORTCUTMANAGER_ACCEL Accel(int nCmd, BYTE fVirt, WORD wKey, BYTE fVirt2 = 0, WORD wKey2 = 0)
{
    QVT_SHORTCUTMANAGER_ACCEL accel = {};
    accel.cmd = nCmd;
    accel.key[0].fVirt = fVirt;
    accel.key[0].key = wKey;
    accel.key[1].fVirt = fVirt2;
    accel.key[1].key = wKey2;
    return accel;
}

const BYTE kCtrl = FVIRTKEY | FCONTROL;

// A table with every kind of stroke the texts know.
const QVT_SHORTCUTMANAGER_ACCEL kSample[] = {
    Accel(100, kCtrl, 'K', kCtrl, 'C'),      Accel(101, kCtrl | FSHIFT, VK_F5),
    Accel(102, FVIRTKEY | FALT, VK_NUMPAD7), Accel(103, FVIRTKEY | QVT_FWINKEY, 'E'),
    Accel(104, FVIRTKEY, VK_DELETE),         Accel(105, kCtrl, 0x7F),
};

std::string Narrow(const CString& str)
{
    return std::string(CT2A(str));
}

// The table as a store keeps it.
CString Texts(CQVTShortcutManager& manager)
{
    CString strAll;
    CQVTShortcutManagerAccelTable* pTable = manager.GetAccelTable();
    for (int i = 0; i < pTable->GetCount(); ++i)
    {
        CString strOne;
        strOne.Format(_T("%d=%s;"), pTable->GetAt(i)->cmd,
                      static_cast<LPCTSTR>(manager.FormatAccelForExchange(pTable->GetAt(i))));
        strAll += strOne;
    }
    return strAll;
}

CString TempPath(LPCTSTR lpszName)
{
    TCHAR szDir[MAX_PATH] = {};
    ::GetTempPath(MAX_PATH, szDir);
    return CString(szDir) + lpszName;
}

}  // namespace

TEST(ShortcutTexts, StrokesFormatWithTheirModifiersAndChordsWithBothStrokes)
{
    CQVTShortcutManager manager(nullptr);
    const LPCTSTR expected[] = {_T("Ctrl+K, Ctrl+C"), _T("Ctrl+Shift+F5"), _T("Alt+Num 7"), _T("Win+E"),
                                _T("Del")};
    for (size_t i = 0; i < _countof(expected); ++i)
        EXPECT_EQ(CString(expected[i]), manager.FormatAccel(&kSample[i]));
    // What a store keeps names a key without a name by its number.
    EXPECT_EQ(CString(_T("Ctrl+0x7f")), manager.FormatAccelForExchange(&kSample[5]));

    // Character strokes: control characters as Ctrl and their letter, Escape
    // and Tab as nothing, a key of 0 as its modifiers alone.
    QVT_SHORTCUTMANAGER_ACCEL accel = Accel(1, FNOINVERT, 1);
    EXPECT_EQ(CString(_T("Ctrl+A")), manager.FormatAccel(&accel));
    accel = Accel(1, 0, _T('x'));
    EXPECT_EQ(CString(_T("x")), manager.FormatAccel(&accel));
    accel = Accel(1, FALT, 27);
    EXPECT_EQ(CString(_T("Alt+")), manager.FormatAccel(&accel));
    accel = Accel(1, FVIRTKEY | FCONTROL | FSHIFT, 0);
    EXPECT_EQ(CString(_T("Ctrl+Shift")), manager.FormatAccel(&accel));
    // Break carries no modifier names: its name has them.
    accel = Accel(1, FVIRTKEY | FCONTROL, VK_CANCEL);
    EXPECT_EQ(CString(_T("Ctrl+Break")), manager.FormatAccel(&accel));

    int nPriority = 0;
    accel = Accel(1, FVIRTKEY | FALT | FSHIFT, 'Q');
    manager.FormatAccel(&accel, &nPriority);
    EXPECT_EQ(2, nPriority);
}

TEST(ShortcutTexts, TextsParseBackToTheirStrokesAndBrokenTextsAreRefused)
{
    CQVTShortcutManager manager(nullptr);
    for (const QVT_SHORTCUTMANAGER_ACCEL& sample : kSample)
    {
        const CString strText = manager.FormatAccelForExchange(&sample);
        QVT_SHORTCUTMANAGER_ACCEL parsed = {};
        ASSERT_TRUE(manager.ParseShortcut(strText, &parsed)) << static_cast<LPCTSTR>(strText);
        EXPECT_EQ(sample.key[0].fVirt, parsed.key[0].fVirt) << static_cast<LPCTSTR>(strText);
        EXPECT_EQ(sample.key[0].key, parsed.key[0].key) << static_cast<LPCTSTR>(strText);
        EXPECT_EQ(sample.key[1].fVirt, parsed.key[1].fVirt) << static_cast<LPCTSTR>(strText);
        EXPECT_EQ(sample.key[1].key, parsed.key[1].key) << static_cast<LPCTSTR>(strText);
    }
    QVT_SHORTCUTMANAGER_ACCEL parsed = {};
    ASSERT_TRUE(manager.ParseShortcut(_T("Alt+page up"), &parsed));
    EXPECT_EQ(FVIRTKEY | FALT, parsed.key[0].fVirt);
    EXPECT_EQ(VK_PRIOR, parsed.key[0].key);

    for (LPCTSTR lpszBroken : {_T(""), _T("Ctrl+"), _T("0x"), _T("0x123456"), _T("0xZZ"), _T("0x0000"),
                               _T("Ctrl+Nothing"), _T("Ctrl+K, "), _T(", Ctrl+K")})
    {
        EXPECT_FALSE(manager.ParseShortcut(lpszBroken, &parsed)) << static_cast<LPCTSTR>(lpszBroken);
    }
}

TEST(ShortcutTexts, MenusShowThePlainestShortcutUnlessTheirsIsOneOfTheCommand)
{
    CQVTShortcutManager manager(nullptr);
    const QVT_SHORTCUTMANAGER_ACCEL accels[] = {Accel(7, kCtrl, 'S'), Accel(7, FVIRTKEY | FALT, 'S'),
                                                Accel(7, FVIRTKEY, 'S'), Accel(8, kCtrl, 'O')};
    manager.SetAccelerators(accels, _countof(accels));
    CString strText;
    EXPECT_TRUE(manager.FindShortcutText(7, strText));
    EXPECT_EQ(CString(_T("S")), strText);
    strText = _T("Alt+S");
    EXPECT_TRUE(manager.FindShortcutText(7, strText));
    EXPECT_EQ(CString(_T("Alt+S")), strText);
    strText = _T("Ctrl+O");
    EXPECT_FALSE(manager.FindShortcutText(9, strText));
    EXPECT_TRUE(strText.IsEmpty());

    // An emptied table with an application's defaults shows nothing.
    manager.CreateDefaultAccelerators();
    manager.SetAccelerators(nullptr, 0);
    strText = _T("Ctrl+O");
    EXPECT_FALSE(manager.FindShortcutText(8, strText));
    EXPECT_TRUE(strText.IsEmpty());
    manager.Reset();
    EXPECT_TRUE(manager.FindShortcutText(8, strText));
    EXPECT_EQ(CString(_T("Ctrl+O")), strText);
}

TEST(ShortcutTexts, MnemonicMarksAndTheKeysThatTypeThem)
{
    EXPECT_EQ(0, CQVTShortcutManager::FindAccelPos(_T("&File")));
    EXPECT_EQ(7, CQVTShortcutManager::FindAccelPos(_T("&&Save &As")));
    EXPECT_EQ(-1, CQVTShortcutManager::FindAccelPos(_T("&&Save")));
    EXPECT_EQ(-1, CQVTShortcutManager::FindAccelPos(_T("Trailing&")));
    EXPECT_EQ(-1, CQVTShortcutManager::FindAccelPos(_T("Both && trailing&")));
    EXPECT_EQ(-1, CQVTShortcutManager::FindAccelPos(nullptr));

    EXPECT_TRUE(CQVTShortcutManager::CompareAccelKey(_T('f'), 'F'));
    EXPECT_TRUE(CQVTShortcutManager::CompareAccelKey(_T('F'), 'F'));
    EXPECT_TRUE(CQVTShortcutManager::CompareAccelKey(_T('3'), VK_NUMPAD3));
    EXPECT_FALSE(CQVTShortcutManager::CompareAccelKey(_T('4'), VK_NUMPAD3));
    // The US layout types '!' with Shift and '1'.
    EXPECT_TRUE(CQVTShortcutManager::CompareAccelKey(_T('!'), '1'));
    EXPECT_TRUE(CQVTShortcutManager::CompareAccelKey(_T(';'), VK_OEM_1));
    EXPECT_FALSE(CQVTShortcutManager::CompareAccelKey(_T('x'), 'Y'));
    EXPECT_FALSE(CQVTShortcutManager::CompareAccelKey(_T('a'), VK_LEFT));

    EXPECT_EQ(static_cast<UINT>('A'), CQVTShortcutManager::CharToVirtualKey(_T('a')));
    EXPECT_EQ(static_cast<UINT>('1'), CQVTShortcutManager::CharToVirtualKey(_T('!')));
    EXPECT_EQ(0u, CQVTShortcutManager::CharToVirtualKey(static_cast<TCHAR>(0x4E2D)));
}

TEST(ShortcutTexts, APlainEscapeIsNoShortcutUntilAllowed)
{
    CQVTShortcutManager manager(nullptr);
    QVT_SHORTCUTMANAGER_ACCEL escape = Accel(1, FVIRTKEY, VK_ESCAPE);
    QVT_SHORTCUTMANAGER_ACCEL shiftEscape = Accel(1, FVIRTKEY | FSHIFT, VK_ESCAPE);
    EXPECT_FALSE(manager.IsShortcutAllowed(&escape));
    EXPECT_TRUE(manager.IsShortcutAllowed(&shiftEscape));
    manager.m_bAllowEscapeShortcut = TRUE;
    EXPECT_TRUE(manager.IsShortcutAllowed(&escape));
}

// Typing on a frame whose bars translate its keys.
class ShortcutKeys : public BarsFrameSuite<ShortcutKeys>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(60, 420, 360, 520)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        const QVT_SHORTCUTMANAGER_ACCEL accels[] = {
            Accel(100, kCtrl, 'K', kCtrl, 'C'), Accel(101, kCtrl, 'K'), Accel(102, kCtrl, 'K', kCtrl, 'D'),
            Accel(103, kCtrl, 'S'), Accel(0, kCtrl, 'J')};
        Manager()->SetAccelerators(accels, _countof(accels));
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpTranslated(30);
    }
    static CQVTShortcutManager* Manager() { return s_pFrame->GetCommandBars()->GetShortcutManager(); }
    static void CtrlChord(WORD wFirst, WORD wSecond)
    {
        SendKey(VK_CONTROL, false);
        SendKey(wFirst, false);
        SendKey(wFirst, true);
        if (wSecond)
        {
            SendKey(wSecond, false);
            SendKey(wSecond, true);
        }
        SendKey(VK_CONTROL, true);
    }
};

TEST_F(ShortcutKeys, AChordSendsItsCommandAndASingleStrokeSendsItsOwn)
{
    CtrlChord('K', 'C');
    ASSERT_TRUE(PumpTranslatedUntil([] { return !s_pFrame->m_commands.empty(); }));
    PumpTranslated(100);
    EXPECT_EQ(std::vector<UINT>({100u}), s_pFrame->m_commands);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, Manager()->GetDisableCount());

    s_pFrame->m_commands.clear();
    CtrlChord('S', 0);
    ASSERT_TRUE(PumpTranslatedUntil([] { return !s_pFrame->m_commands.empty(); }));
    EXPECT_EQ(std::vector<UINT>({103u}), s_pFrame->m_commands);
    // The command ate the key.
    EXPECT_EQ(s_pFrame->m_keys.end(), std::find(s_pFrame->m_keys.begin(), s_pFrame->m_keys.end(), 'S'));
}

TEST_F(ShortcutKeys, AFirstStrokeAloneSendsTheSingleCommandWithoutWaitingForMoreInput)
{
    // Something else happens well after the chord's wait would have ended.
    HWND hFrame = s_pFrame->GetSafeHwnd();
    CtrlChord('K', 0);
    WinThread later([hFrame] {
        ::Sleep(1500);
        ::PostMessage(hFrame, WM_APP + 1, 0, 0);
    });
    ASSERT_TRUE(PumpTranslatedUntil([] { return s_pFrame->m_events.size() >= 2; }, 8000));
    EXPECT_EQ(std::vector<UINT>({101u, WM_APP + 1}), s_pFrame->m_events);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, Manager()->GetDisableCount());
}

TEST_F(ShortcutKeys, AClickOrACommandThatEndsTheChordWaitCancelsTheSingleStroke)
{
    // Ctrl+K is a single stroke and the start of chords: a click during the
    // wait is the user's next action, not a timeout.
    MouseMoveTo(WindowCentre(s_pFrame->GetSafeHwnd()));
    PumpTranslated(30);
    CtrlChord('K', 0);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpTranslated(800);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, Manager()->GetDisableCount());

    // A command that arrives during the wait is the only one (a longer wait:
    // the command is posted from another thread once the wait has begun).
    s_pFrame->m_commands.clear();
    const DWORD dwTimeout = CQVTShortcutManager::s_dwChordTimeout;
    CQVTShortcutManager::s_dwChordTimeout = 3000;
    const DWORD dwThread = ::GetCurrentThreadId();
    HWND hFrame = s_pFrame->GetSafeHwnd();
    WinThread commander([dwThread, hFrame] {
        if (ScriptWaitForCapture(dwThread, true))
            ::PostMessage(hFrame, WM_COMMAND, 103, 0);
    });
    CtrlChord('K', 0);
    PumpTranslatedUntil([] { return !s_pFrame->m_commands.empty(); });
    PumpTranslated(300);
    commander.join();
    CQVTShortcutManager::s_dwChordTimeout = dwTimeout;
    EXPECT_EQ(std::vector<UINT>({103u}), s_pFrame->m_commands);
}

TEST_F(ShortcutKeys, ASecondKeyThatCompletesNoChordIsKeptForTheWindow)
{
    CQVTShortcutManagerAccelTable* pTable = Manager()->GetAccelTable();
    // Without the single stroke, a wrong second key goes back to the queue.
    const QVT_SHORTCUTMANAGER_ACCEL chordOnly[] = {Accel(100, kCtrl, 'K', kCtrl, 'C')};
    Manager()->SetAccelerators(chordOnly, 1);
    ASSERT_EQ(1, pTable->GetCount());
    SendKey(VK_CONTROL, false);
    SendKey('K', false);
    SendKey('K', true);
    SendKey(VK_CONTROL, true);
    SendKey('X', false);
    SendKey('X', true);
    ASSERT_TRUE(PumpTranslatedUntil([] {
        return std::find(s_pFrame->m_keys.begin(), s_pFrame->m_keys.end(), 'X') != s_pFrame->m_keys.end();
    }));
    PumpTranslated(50);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    EXPECT_EQ(1, std::count(s_pFrame->m_keys.begin(), s_pFrame->m_keys.end(), 'X'));
}

TEST_F(ShortcutKeys, AQuitDuringTheChordWaitEndsItAndStaysQueued)
{
    const QVT_SHORTCUTMANAGER_ACCEL chordOnly[] = {Accel(100, kCtrl, 'K', kCtrl, 'C')};
    Manager()->SetAccelerators(chordOnly, 1);
    // Posted once the wait holds the mouse.
    const DWORD dwThread = ::GetCurrentThreadId();
    WinThread quitter([dwThread] {
        GUITHREADINFO info = {sizeof(info)};
        for (int i = 0; i < 200; ++i)
        {
            if (::GetGUIThreadInfo(dwThread, &info) && info.hwndCapture)
                break;
            ::Sleep(5);
        }
        ::PostThreadMessage(dwThread, WM_QUIT, 7, 0);
    });
    SendKey(VK_CONTROL, false);
    SendKey('K', false);
    SendKey('K', true);
    SendKey(VK_CONTROL, true);
    PumpTranslatedUntil([] { return false; }, 1000);
    quitter.join();
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, Manager()->GetDisableCount());
}

TEST_F(ShortcutKeys, NothingTranslatesWhileDisabledOrForCommandZero)
{
    Manager()->DisableShortcuts(TRUE);
    CtrlChord('S', 0);
    PumpTranslated(150);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    EXPECT_EQ(1, std::count(s_pFrame->m_keys.begin(), s_pFrame->m_keys.end(), 'S'));
    Manager()->DisableShortcuts(FALSE);

    // Hidden bars turn shortcuts off until they show again.
    s_pFrame->GetCommandBars()->HideCommandBars(TRUE);
    EXPECT_EQ(1, Manager()->GetDisableCount());
    s_pFrame->GetCommandBars()->HideCommandBars(FALSE);
    EXPECT_EQ(0, Manager()->GetDisableCount());

    CtrlChord('J', 0);
    PumpTranslated(150);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
}

// Persistence.

namespace {

template <class TBody>
void Exchange(Store store, BOOL bLoading, TBody body)
{
    ExchangeThroughStore(store, bLoading, StorePlace(store, _T("sondrel-shortcuts"), _T("Table")),
                         kRegistryRoot, _T("Shortcuts"), body);
}

const CString kSampleTexts =
    _T("100=Ctrl+K, Ctrl+C;101=Ctrl+Shift+F5;102=Alt+Num 7;103=Win+E;104=Del;105=Ctrl+0x7f;");

}  // namespace

TEST(ShortcutStores, TablesRoundTripThroughEveryStoreAndTheProfileIntoASecondProcess)
{
    ComScope com;
    for (Store store : kStores)
    {
        CQVTShortcutManager manager(nullptr);
        manager.SetAccelerators(kSample, _countof(kSample));
        Exchange(store, FALSE, [&](CQVTPropExchange* pPX) { manager.DoPropExchange(pPX); });
    }
    TestApp();
    {
        CQVTShortcutManager manager(nullptr);
        manager.SetAccelerators(kSample, _countof(kSample));
        manager.CreateDefaultAccelerators();
        manager.SaveAccelerators(_T("Profile"));
    }
    EXPECT_EQ(0u, commontest::RunSelf("ShortcutStores.ReadBackInTheSecondProcess", kChildVariable, u"1"));
}

// The second process, started by the test above.
TEST(ShortcutStores, ReadBackInTheSecondProcess)
{
    if (commontest::Environment(kChildVariable).empty())
        GTEST_SKIP() << "runs in the second process";
    ComScope com;
    for (Store store : kStores)
    {
        CQVTShortcutManager manager(nullptr);
        manager.AddAccelerator(1, kCtrl, 'Z');
        Exchange(store, TRUE, [&](CQVTPropExchange* pPX) { manager.DoPropExchange(pPX); });
        EXPECT_EQ(Narrow(kSampleTexts), Narrow(Texts(manager))) << static_cast<int>(store);
    }
    TestApp();
    CQVTShortcutManager manager(nullptr);
    manager.AddAccelerator(1, kCtrl, 'Z');
    manager.CreateDefaultAccelerators();
    manager.LoadAccelerators(_T("Profile"));
    EXPECT_EQ(Narrow(kSampleTexts), Narrow(Texts(manager)));
}

TEST(ShortcutStores, BrokenProfileValuesLoadOnlyWhatIsWhole)
{
    CWinApp& theApp = TestApp();
    const LPCTSTR lpszSection = _T("Broken");
    HKEY hApp = theApp.GetAppRegistryKey();
    ASSERT_NE(nullptr, hApp);
    ::RegDeleteTree(hApp, lpszSection);
    ::RegCloseKey(hApp);
    CQVTShortcutManager manager(nullptr);
    manager.AddAccelerator(1, kCtrl, 'Z');
    manager.CreateDefaultAccelerators();

    // Without a value the table stays; an unknown version loads nothing.
    theApp.WriteProfileInt(lpszSection, _T("AcceleratorsVersion"), 1);
    manager.LoadAccelerators(lpszSection);
    EXPECT_EQ(std::string("1=Ctrl+Z;"), Narrow(Texts(manager)));
    BYTE bytes[12] = {5, 0, 0, 0, kCtrl, 0, 'Q', 0, 0, 0, 0, 0};
    theApp.WriteProfileBinary(lpszSection, _T("Accelerators"), bytes, sizeof(bytes));
    theApp.WriteProfileInt(lpszSection, _T("AcceleratorsVersion"), 7);
    manager.LoadAccelerators(lpszSection);
    EXPECT_EQ(std::string("1=Ctrl+Z;"), Narrow(Texts(manager)));

    // Records: one whole, one for command 0, one with flags no table knows,
    // then a part of a record.
    std::vector<BYTE> blob = {5,    0, 0,     0, kCtrl, 0, 'Q', 0, 0, 0, 0, 0, 0,    0,
                              0,    0, kCtrl, 0, 'W',   0, 0,   0, 0, 0, 6, 0, 0,    0,
                              0xC1, 0, 'E',   0, 0,     0, 0,   0, 7, 0, 0, 0, kCtrl};
    theApp.WriteProfileBinary(lpszSection, _T("Accelerators"), blob.data(), static_cast<UINT>(blob.size()));
    theApp.WriteProfileInt(lpszSection, _T("AcceleratorsVersion"), 1);
    manager.LoadAccelerators(lpszSection);
    EXPECT_EQ(std::string("5=Ctrl+Q;"), Narrow(Texts(manager)));

    // Version 0: 6-byte system records.
    const BYTE old[] = {kCtrl, 0, 'R', 0, 9, 0, FVIRTKEY, 0, VK_F2, 0, 10, 0, 0xFF};
    theApp.WriteProfileBinary(lpszSection, _T("Accelerators"), const_cast<BYTE*>(old), sizeof(old));
    theApp.WriteProfileInt(lpszSection, _T("AcceleratorsVersion"), 0);
    manager.LoadAccelerators(lpszSection);
    EXPECT_EQ(std::string("9=Ctrl+R;10=F2;"), Narrow(Texts(manager)));
}

TEST(ShortcutStores, UnparsableKeysAndForgedCountsLoadTheRest)
{
    ComScope com;
    const CString strPath = TempPath(_T("sondrel-shortcuts-broken.xml"));
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, _T("Shortcuts"));
        int nSchema = 43;
        PropExchangeInt(&px, _T("Schema"), nSchema, 0);
        CQVTPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("Shortcut")));
        POSITION pos = enumerator->GetPosition(4);
        const LPCTSTR keys[] = {_T("Ctrl+"), _T("Ctrl+B"), _T("0x123456"), _T("Shift+Num 0")};
        for (int i = 0; pos; ++i)
        {
            CQVTPropExchange* pItem = enumerator->GetNext(pos);
            int nId = 20 + i;
            CString strKey = keys[i];
            PropExchangeInt(pItem, _T("Id"), nId, 0);
            PropExchangeString(pItem, _T("Key"), strKey, _T(""));
            pItem->InternalRelease();
        }
        ASSERT_TRUE(px.SaveToFile(strPath));
    }
    CQVTShortcutManager manager(nullptr);
    {
        CQVTPropExchangeXMLNode px(TRUE, nullptr, _T("Shortcuts"));
        ASSERT_TRUE(px.LoadFromFile(strPath));
        manager.DoPropExchange(&px);
    }
    EXPECT_EQ(std::string("21=Ctrl+B;23=Shift+Num 0;"), Narrow(Texts(manager)));

    // An archive whose count claims more records than it holds.
    const CString strArchive = TempPath(_T("sondrel-shortcuts-forged.bin"));
    {
        CFile file(strArchive, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        CQVTPropExchangeArchive px(ar);
        px.ExchangeSchema();
        px.WriteCount(0xFFFF);
        const QVT_SHORTCUTMANAGER_ACCEL one = Accel(5, kCtrl, 'Q');
        px.WriteBlock(_T("Data"), reinterpret_cast<LPBYTE>(const_cast<QVT_SHORTCUTMANAGER_ACCEL*>(&one)),
                      sizeof(one));
        ar.Close();
    }
    CFile file(strArchive, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    CQVTPropExchangeArchive px(ar);
    BOOL bRefused = FALSE;
    try
    {
        manager.DoPropExchange(&px);
    }
    catch (CArchiveException* e)
    {
        bRefused = TRUE;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
    EXPECT_EQ(std::string("5=Ctrl+Q;"), Narrow(Texts(manager)));
}
