// The bars' saved layout as a user meets it: rows, floating bars, hidden
// bars, customized buttons, options and shortcuts saved through the
// registry and an INI file and read back by a second process; large
// blocks in a hidden file; positions saved on another screen; a toolbar
// the program changed since; and profiles and blocks that are broken or
// forged, which change nothing.
#include <afxwin.h>
#include <afxext.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/common/common_test_support.h"
#include "tests/support/win_thread.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTCommandBarList.h"
#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/bars/QVTDockContext.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlExtended.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"

namespace {

// A control the archive cannot write: its class is not serializable.
class CUnsavableControl : public CQVTControlButton
{
    DECLARE_DYNCREATE(CUnsavableControl)
};
IMPLEMENT_DYNCREATE(CUnsavableControl, CQVTControlButton)

CWinApp& TestApp()
{
    return KeptTestApp(_T("CommandBarsLayoutTest"));
}

const TCHAR kRegistryKey[] = _T("Sondrel Tests");
const char16_t kChildVariable[] = u"SONDREL_LAYOUT_CHILD";

void UseRegistry()
{
    CWinApp& app = TestApp();
    free(const_cast<LPTSTR>(app.m_pszRegistryKey));
    app.m_pszRegistryKey = nullptr;
    app.SetRegistryKey(kRegistryKey);
}

void UseIniFile(const CString& strIni)
{
    CWinApp& app = TestApp();
    free(const_cast<LPTSTR>(app.m_pszRegistryKey));
    app.m_pszRegistryKey = nullptr;
    free(const_cast<LPTSTR>(app.m_pszProfileName));
    app.m_pszProfileName = _tcsdup(strIni);
}

CString TempPath(LPCTSTR lpszName)
{
    TCHAR szTemp[MAX_PATH] = {};
    ::GetTempPath(MAX_PATH, szTemp);
    return CString(szTemp) + lpszName;
}

void DeleteSection(LPCTSTR lpszProfile, LPCTSTR lpszSuffix)
{
    CString strSection;
    strSection.Format(_T("%s%s"), lpszProfile, lpszSuffix);
    TestApp().WriteProfileString(strSection, nullptr, nullptr);
}

// Forgets every section a profile may have.
void ClearProfile(LPCTSTR lpszProfile)
{
    for (LPCTSTR lpszSuffix : {_T("-Summary"), _T("-Controls"), _T("-Options")})
        DeleteSection(lpszProfile, lpszSuffix);
    for (int i = 0; i < 8; ++i)
    {
        CString strSuffix;
        strSuffix.Format(_T("-Bar%d"), i);
        DeleteSection(lpszProfile, strSuffix);
        strSuffix.Format(_T("-DockBar%d"), i);
        DeleteSection(lpszProfile, strSuffix);
    }
}

std::vector<BYTE> StoredBlock(LPCTSTR lpszProfile)
{
    CString strSection;
    strSection.Format(_T("%s-Controls"), lpszProfile);
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    std::vector<BYTE> bytes;
    if (TestApp().GetProfileBinary(strSection, _T("Controls"), &pData, &nBytes) && pData)
        bytes.assign(pData, pData + nBytes);
    delete[] pData;
    return bytes;
}

void StoreBlock(LPCTSTR lpszProfile, const std::vector<BYTE>& bytes)
{
    CString strSection;
    strSection.Format(_T("%s-Controls"), lpszProfile);
    TestApp().WriteProfileBinary(strSection, _T("Controls"), const_cast<BYTE*>(bytes.data()),
                                 static_cast<UINT>(bytes.size()));
    TestApp().WriteProfileInt(strSection, _T("LoadFromFile"), 0);
}

// Answers this process's message boxes with a button, counting them, until
// told to stop.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(int nButton)
        : m_thread([this, nButton] {
              while (!m_bStop)
              {
                  HWND hBox = ::FindWindow(_T("#32770"), nullptr);
                  DWORD dwProcess = 0;
                  if (hBox)
                      ::GetWindowThreadProcessId(hBox, &dwProcess);
                  if (hBox && dwProcess == ::GetCurrentProcessId() && ::IsWindowVisible(hBox) &&
                      hBox != m_hLast)
                  {
                      m_hLast = hBox;
                      ++m_nSeen;
                      ::PostMessage(hBox, WM_COMMAND, nButton, 0);
                  }
                  ::Sleep(20);
              }
          })
    {
    }
    ~MessageBoxAnswerer()
    {
        m_bStop = true;
        m_thread.join();
    }
    int Seen() const { return m_nSeen; }

private:
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nSeen{0};
    HWND m_hLast = nullptr;
    WinThread m_thread;
};

}  // namespace

class Layout : public BarsFrameSuite<Layout>
{
public:
    static void SetUpTestSuite()
    {
        TestApp();
        UseRegistry();
        CreateFrame(kFrame, TRUE);
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        UseRegistry();
        RestoreFrame(kFrame);
        PumpMessages(20);
    }
    void TearDown() override
    {
        s_pFrame->ResetBars();
        PumpMessages(20);
    }
    static CQVTCommandBars* Bars() { return s_pFrame->GetCommandBars(); }
    static CQVTToolBar* Bar(UINT nId) { return DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->GetToolBar(nId)); }

    // The program's own bars, as it makes them at every start: three
    // built-in toolbars in rows of their own, the third joining the first's
    // row; nButtons of "Standard" give its definition.
    static void MakeProgramBars(int nStandardButtons = 5)
    {
        struct Def
        {
            UINT nId;
            LPCTSTR lpszTitle;
            UINT nFirst;
            int nCount;
        };
        const Def defs[] = {{100, _T("Standard"), 40400, nStandardButtons},
                            {101, _T("Format"), 40410, 3},
                            {102, _T("Extra"), 40420, 2}};
        for (const Def& def : defs)
        {
            CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(def.lpszTitle, qvtBarTop));
            ASSERT_NE(nullptr, pBar);
            pBar->SetBarID(def.nId);
            std::vector<UINT> ids;
            for (int i = 0; i < def.nCount; ++i)
                ids.push_back(def.nFirst + static_cast<UINT>(i));
            pBar->SetButtons(ids.data(), def.nCount);
            for (int i = 0; i < pBar->GetControlCount(); ++i)
            {
                CString strCaption;
                strCaption.Format(_T("%s %d"), def.lpszTitle, i);
                pBar->GetControl(i)->SetCaption(strCaption);
            }
            pBar->GetControls()->CreateOriginalControls();
        }
        Bars()->GetShortcutManager()->CreateDefaultAccelerators();
        Bars()->RecalcFrameLayout();
        CRect rcStandard;
        Bar(100)->GetWindowRect(&rcStandard);
        CRect rcDrop;
        Bar(102)->GetWindowRect(&rcDrop);
        rcDrop.OffsetRect(rcStandard.right + 20 - rcDrop.left,
                          rcStandard.CenterPoint().y - rcDrop.CenterPoint().y);
        Bars()->DockCommandBar(Bar(102), &rcDrop, Bars()->GetDockBar(qvtBarTop));
        PumpMessages(20);
    }

    // What a user did: customized "Standard", floated "Format", hid
    // "Extra", changed an option and a shortcut.
    static void ChangeLikeAUser()
    {
        CQVTToolBar* pStandard = Bar(100);
        pStandard->GetControls()->Remove(1);
        pStandard->GetControl(0)->SetCaption(_T("Renamed"));
        ASSERT_TRUE(Bars()->FloatCommandBar(Bar(101)));
        Bar(101)->SetWindowPos(nullptr, kFloat.x, kFloat.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Bar(102)->SetVisible(FALSE);
        Bars()->GetCommandBarsOptions()->animationType = 3;
        Bars()->GetShortcutManager()->AddAccelerator(40401, FVIRTKEY | FCONTROL, 'J');
    }

    // Options, layout and shortcuts, in the dialog host's order.
    static void SaveAll(LPCTSTR lpszProfile)
    {
        Bars()->SaveOptions(lpszProfile);
        Bars()->WriteLayoutState(lpszProfile, TRUE);
        Bars()->GetShortcutManager()->SaveAccelerators(lpszProfile);
    }
    static void LoadAll(LPCTSTR lpszProfile, BOOL bSilent = FALSE)
    {
        Bars()->LoadOptions(lpszProfile);
        Bars()->ReadLayoutState(lpszProfile, bSilent);
        Bars()->GetShortcutManager()->LoadAccelerators(lpszProfile);
        PumpMessages(20);
    }

    static CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }

    static const CRect kFrame;
    static const CPoint kFloat;
};

const CRect Layout::kFrame(40, 560, 600, 860);

const CPoint Layout::kFloat(300, 900);

TEST_F(Layout, SavedLayoutComesBackInASecondProcessThroughTheRegistryAndAnIniFile)
{
    const TCHAR kProfile[] = _T("LayoutRoundTrip");
    for (int nStore = 0; nStore < 2; ++nStore)
    {
        const CString strIni = TempPath(_T("layout_test.ini"));
        if (nStore == 1)
        {
            ::DeleteFile(strIni);
            UseIniFile(strIni);
        }
        ClearProfile(kProfile);
        s_pFrame->ResetBars();
        MakeProgramBars();
        ChangeLikeAUser();
        SaveAll(kProfile);
        // Nothing was customized but "Standard": the only bar in the block.
        CString strSection;
        strSection.Format(_T("%s-Bar2"), kProfile);
        EXPECT_EQ(0u, TestApp().GetProfileInt(strSection, _T("Visible"), 7));
        EXPECT_EQ(7u, TestApp().GetProfileInt(strSection, _T("Floating"), 7));
        EXPECT_FALSE(StoredBlock(kProfile).empty());
        EXPECT_EQ(
            0u, commontest::RunSelf("Layout.ReadBackInASecondProcess", kChildVariable,
                                    nStore == 0 ? u"registry" : u"ini " + std::u16string(strIni.GetString())))
            << (nStore == 0 ? "registry" : "ini file");
        if (nStore == 1)
            ::DeleteFile(strIni);
    }
    UseRegistry();
}

TEST_F(Layout, ReadBackInASecondProcess)
{
    const CString strStore(commontest::Environment(kChildVariable).c_str());
    if (strStore.IsEmpty())
        GTEST_SKIP() << "run by the round-trip test in a second process";
    if (strStore.Left(4) == _T("ini "))
        UseIniFile(strStore.Mid(4));
    MakeProgramBars();
    LoadAll(_T("LayoutRoundTrip"));

    CQVTToolBar* pStandard = Bar(100);
    int nSaved = 0;
    for (int i = 0; i < pStandard->GetControlCount(); ++i)
        nSaved += pStandard->GetControl(i)->IsTemporary() ? 0 : 1;
    ASSERT_EQ(4, nSaved);
    EXPECT_EQ(CString(_T("Renamed")), pStandard->GetControl(0)->GetCaption());
    EXPECT_EQ(40402, pStandard->GetControl(1)->GetID());
    ASSERT_NE(nullptr, pStandard->GetControls()->GetOriginalControls());
    EXPECT_EQ(5, pStandard->GetControls()->GetOriginalControls()->GetCount());
    EXPECT_TRUE(Bar(101)->IsFloating());
    EXPECT_EQ(kFloat, WindowRect(Bar(101)).TopLeft());
    EXPECT_FALSE(Bar(102)->IsVisible());
    // Shown again, "Extra" is back in the row of "Standard".
    Bar(102)->SetVisible(TRUE);
    PumpMessages(20);
    EXPECT_EQ(WindowRect(pStandard).top, WindowRect(Bar(102)).top);
    EXPECT_LT(WindowRect(pStandard).right, WindowRect(Bar(102)).left);
    EXPECT_EQ(3, Bars()->GetCommandBarsOptions()->animationType);
    BOOL bFound = FALSE;
    CQVTShortcutManagerAccelTable* pTable = Bars()->GetShortcutManager()->GetAccelTable();
    for (int i = 0; i < pTable->GetCount(); ++i)
        bFound |= pTable->GetAt(i)->cmd == 40401 && pTable->GetAt(i)->key[0].key == 'J';
    EXPECT_TRUE(bFound);
}

TEST_F(Layout, ABlockAbove16000BytesGoesToAHiddenFileAndOneOf16000StaysInTheProfile)
{
    const TCHAR kProfile[] = _T("LayoutLarge");
    ClearProfile(kProfile);
    const CString strFile = TempPath(_T("layout_test_block"));
    ::SetFileAttributes(strFile, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFile(strFile);
    MakeProgramBars();
    Bars()->SetCustomizationFileName(strFile);
    CQVTToolBar* pStandard = Bar(100);
    CString strSection;
    strSection.Format(_T("%s-Controls"), kProfile);

    // The block's size for a caption of a length, with or without a check
    // box (whose class record has an odd length, so both parities are
    // reachable in steps of one character, two bytes).
    auto sizeFor = [&](int nLength, bool bCheckBox) -> size_t {
        pStandard->GetControl(0)->SetCaption(CString(_T('x'), nLength));
        CQVTControl* pCheck = pStandard->GetControls()->FindControl(40499);
        if (bCheckBox && !pCheck)
            pStandard->GetControls()->Add(new CQVTControlCheckBox(), 40499);
        if (!bCheckBox && pCheck)
            pStandard->GetControls()->Remove(pCheck);
        Bars()->WriteLayoutState(kProfile, TRUE);
        if (TestApp().GetProfileInt(strSection, _T("LoadFromFile"), 0))
        {
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            ::GetFileAttributesEx(strFile, GetFileExInfoStandard, &data);
            return data.nFileSizeLow;
        }
        return StoredBlock(kProfile).size();
    };
    const int nBase = 1000;
    for (size_t nTarget : {size_t(16000), size_t(16001)})
    {
        int nLength = -1;
        bool bCheckBox = false;
        for (bool bWith : {false, true})
        {
            const size_t nBaseSize = sizeFor(nBase, bWith);
            if (nTarget > nBaseSize && (nTarget - nBaseSize) % 2 == 0)
            {
                nLength = nBase + static_cast<int>((nTarget - nBaseSize) / 2);
                bCheckBox = bWith;
            }
        }
        ASSERT_GT(nLength, 0);
        ASSERT_EQ(nTarget, sizeFor(nLength, bCheckBox));
        const BOOL bInFile = TestApp().GetProfileInt(strSection, _T("LoadFromFile"), 0);
        if (nTarget == 16000)
        {
            EXPECT_FALSE(bInFile);
            continue;
        }
        EXPECT_TRUE(bInFile);
        EXPECT_EQ(strFile, TestApp().GetProfileString(strSection, _T("Controls")));
        const DWORD dwAttributes = ::GetFileAttributes(strFile);
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, dwAttributes);
        EXPECT_TRUE(dwAttributes & FILE_ATTRIBUTE_HIDDEN);
    }

    // The file reads back: a fresh program takes the long caption.
    const CString strCaption = pStandard->GetControl(0)->GetCaption();
    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    EXPECT_EQ(strCaption, Bar(100)->GetControl(0)->GetCaption());

    // A file that cannot be written leaves the saved layout as it was: the
    // profile still names the old, whole file.
    std::vector<BYTE> before(16001);
    {
        CFile file(strFile, CFile::modeRead | CFile::shareDenyNone);
        before.resize(static_cast<size_t>(file.GetLength()));
        file.Read(before.data(), static_cast<UINT>(before.size()));
    }
    Bars()->SetCustomizationFileName(TempPath(_T("no such folder\\layout_block")));
    Bar(100)->GetControl(0)->SetCaption(CString(_T('y'), 9000));
    Bars()->WriteLayoutState(kProfile, TRUE);
    EXPECT_EQ(strFile, TestApp().GetProfileString(strSection, _T("Controls")));
    {
        CFile file(strFile, CFile::modeRead | CFile::shareDenyNone);
        std::vector<BYTE> after(static_cast<size_t>(file.GetLength()));
        file.Read(after.data(), static_cast<UINT>(after.size()));
        EXPECT_EQ(before, after);
    }
    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    EXPECT_EQ(strCaption, Bar(100)->GetControl(0)->GetCaption());

    // Missing and empty files named by the profile are skipped.
    ::SetFileAttributes(strFile, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFile(strFile);
    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    EXPECT_EQ(CString(_T("Standard 0")), Bar(100)->GetControl(0)->GetCaption());
    ClearProfile(kProfile);
}

TEST_F(Layout, AFailedSaveKeepsThePreviouslySavedCustomization)
{
    const TCHAR kProfile[] = _T("LayoutFailedSave");
    ClearProfile(kProfile);
    MakeProgramBars();
    Bar(100)->GetControl(0)->SetCaption(_T("Kept"));
    Bars()->WriteLayoutState(kProfile, TRUE);
    const std::vector<BYTE> saved = StoredBlock(kProfile);
    ASSERT_FALSE(saved.empty());

    // A control whose class cannot be written makes the archive throw.
    Bar(100)->GetControls()->AddControl(new CUnsavableControl());
    Bar(100)->GetControl(0)->SetCaption(_T("Lost"));
    Bars()->WriteLayoutState(kProfile, TRUE);
    EXPECT_EQ(saved, StoredBlock(kProfile));

    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    EXPECT_EQ(CString(_T("Kept")), Bar(100)->GetControl(0)->GetCaption());
    ClearProfile(kProfile);
}

TEST_F(Layout, PositionsSavedOnAnotherScreenAreScaledAndKeptOnTheWorkArea)
{
    const TCHAR kProfile[] = _T("LayoutScaled");
    CWinApp& app = TestApp();
    MakeProgramBars();
    const CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    const CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(CPoint(0, 0));
    struct Case
    {
        CSize saved;
        CPoint stored;
        CPoint expected;
    };
    const Case cases[] = {
        // 1920 by 1080 to this screen: multiplied, then divided.
        {CSize(1920, 1080), CPoint(960, 540), CPoint(960 * screen.cx / 1920, 540 * screen.cy / 1080)},
        // The same screen, or an unknown one, leaves positions alone.
        {screen, CPoint(300, 200), CPoint(300, 200)},
        {CSize(0, 1080), CPoint(300, 200), CPoint(300, 200)},
        // Past the work area: an icon's size inside it.
        {screen, CPoint(INT_MAX, INT_MAX),
         CPoint(rcWork.right - ::GetSystemMetrics(SM_CXICON), rcWork.bottom - ::GetSystemMetrics(SM_CYICON))},
        // Values that overflow a 32-bit multiplication.
        {CSize(1, 1), CPoint(2000000000, 2000000000),
         CPoint(rcWork.right - ::GetSystemMetrics(SM_CXICON), rcWork.bottom - ::GetSystemMetrics(SM_CYICON))},
        {screen, CPoint(INT_MIN, INT_MIN), rcWork.TopLeft()},
    };
    for (const Case& c : cases)
    {
        ClearProfile(kProfile);
        CString strSection;
        strSection.Format(_T("%s-Summary"), kProfile);
        app.WriteProfileInt(strSection, _T("Bars"), 1);
        app.WriteProfileInt(strSection, _T("ScreenCX"), c.saved.cx);
        app.WriteProfileInt(strSection, _T("ScreenCY"), c.saved.cy);
        strSection.Format(_T("%s-Bar0"), kProfile);
        app.WriteProfileInt(strSection, _T("BarID"), 101);
        app.WriteProfileInt(strSection, _T("Floating"), 1);
        app.WriteProfileInt(strSection, _T("XPos"), c.stored.x);
        app.WriteProfileInt(strSection, _T("YPos"), c.stored.y);
        Bars()->ReadLayoutState(kProfile);
        PumpMessages(10);
        ASSERT_TRUE(Bar(101)->IsFloating());
        EXPECT_EQ(c.expected, WindowRect(Bar(101)).TopLeft()) << c.stored.x << " saved at " << c.saved.cx;
    }
    ClearProfile(kProfile);
}

TEST_F(Layout, AToolbarThatChangedSinceItWasCustomizedAsksOnceUnlessLoadedSilently)
{
    const TCHAR kProfile[] = _T("LayoutChanged");
    ClearProfile(kProfile);
    MakeProgramBars(5);
    Bar(100)->GetControl(0)->SetCaption(_T("Mine"));
    Bar(101)->GetControl(0)->SetCaption(_T("Mine too"));
    Bars()->WriteLayoutState(kProfile, TRUE);

    // The program now defines "Standard" with six buttons; "Format" is as
    // it was and takes the customization without a question.
    struct Case
    {
        BOOL bSilent;
        int nPreset;  // 0 none, 1 keep the new definition, -1 take the user's
        int nButton;  // the answer given to the question
        int nAsked;
        LPCTSTR lpszCaption;
    };
    const Case cases[] = {
        {FALSE, 0, IDNO, 1, _T("Mine")},      {FALSE, 0, IDYES, 1, _T("Standard 0")},
        {TRUE, 0, IDNO, 0, _T("Standard 0")}, {FALSE, 1, IDNO, 0, _T("Standard 0")},
        {FALSE, -1, IDYES, 0, _T("Mine")},
    };
    for (const Case& c : cases)
    {
        s_pFrame->ResetBars();
        MakeProgramBars(6);
        if (c.nPreset != 0)
            Bars()->SetMergeAnswer(c.nPreset);
        int nAsked = 0;
        {
            MessageBoxAnswerer answerer(c.nButton);
            Bars()->ReadLayoutState(kProfile, c.bSilent);
            nAsked = answerer.Seen();
        }
        EXPECT_EQ(c.nAsked, nAsked) << c.bSilent << c.nPreset;
        EXPECT_EQ(CString(c.lpszCaption), Bar(100)->GetControl(0)->GetCaption()) << c.bSilent << c.nPreset;
        // The toolbar keeps the program's new definition as its original.
        EXPECT_EQ(6, Bar(100)->GetControls()->GetOriginalControls()->GetCount());
        EXPECT_EQ(CString(_T("Mine too")), Bar(101)->GetControl(0)->GetCaption());
    }
    ClearProfile(kProfile);
}

TEST_F(Layout, PopupBarsAreLinkedByNumberAndALinkIntoItselfIsRefused)
{
    const TCHAR kProfile[] = _T("LayoutPopups");
    ClearProfile(kProfile);
    MakeProgramBars();
    // A popup button on "Standard" opening a popup bar with an item and a
    // nested popup.
    CQVTControlPopup* pPopup =
        static_cast<CQVTControlPopup*>(Bar(100)->GetControls()->Add(new CQVTControlPopup(), 40450));
    CQVTPopupBar* pMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pMenu->GetControls()->Add(new CQVTControlButton(), 40451)->SetCaption(_T("Inside"));
    CQVTControlPopup* pNested =
        static_cast<CQVTControlPopup*>(pMenu->GetControls()->Add(new CQVTControlPopup(), 40452));
    CQVTPopupBar* pNestedMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pNestedMenu->GetControls()->Add(new CQVTControlButton(), 40453)->SetCaption(_T("Deeper"));
    pNested->SetCommandBar(pNestedMenu);
    pPopup->SetCommandBar(pMenu);
    pNestedMenu->InternalRelease();
    pMenu->InternalRelease();
    Bars()->WriteLayoutState(kProfile, TRUE);

    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    CQVTControlPopup* pLoaded =
        DYNAMIC_DOWNCAST(CQVTControlPopup, Bar(100)->GetControls()->FindControl(40450));
    ASSERT_NE(nullptr, pLoaded);
    ASSERT_NE(nullptr, pLoaded->GetCommandBar());
    EXPECT_EQ(CString(_T("Inside")), pLoaded->GetCommandBar()->GetControl(0)->GetCaption());
    CQVTControlPopup* pLoadedNested =
        DYNAMIC_DOWNCAST(CQVTControlPopup, pLoaded->GetCommandBar()->GetControl(1));
    ASSERT_NE(nullptr, pLoadedNested);
    ASSERT_NE(nullptr, pLoadedNested->GetCommandBar());
    EXPECT_EQ(CString(_T("Deeper")), pLoadedNested->GetCommandBar()->GetControl(0)->GetCaption());

    // A block whose nested popup names its own bar: the link is refused and
    // the walks over popups end.
    s_pFrame->ResetBars();
    MakeProgramBars();
    pPopup = static_cast<CQVTControlPopup*>(Bar(100)->GetControls()->Add(new CQVTControlPopup(), 40450));
    pMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pNested = static_cast<CQVTControlPopup*>(pMenu->GetControls()->Add(new CQVTControlPopup(), 40452));
    pPopup->SetCommandBar(pMenu);
    pMenu->InternalRelease();
    Bars()->WriteLayoutState(kProfile, TRUE);
    // The nested popup links to the bar that holds it, so that the block
    // carries the loop.
    pNested->SetCommandBarId(0);
    pNested->SetCommandBar(pMenu);
    Bars()->WriteLayoutState(kProfile, TRUE);
    pNested->SetCommandBar(nullptr);
    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    pLoaded = DYNAMIC_DOWNCAST(CQVTControlPopup, Bar(100)->GetControls()->FindControl(40450));
    ASSERT_NE(nullptr, pLoaded);
    ASSERT_NE(nullptr, pLoaded->GetCommandBar());
    pLoadedNested = DYNAMIC_DOWNCAST(CQVTControlPopup, pLoaded->GetCommandBar()->GetControl(0));
    ASSERT_NE(nullptr, pLoadedNested);
    EXPECT_EQ(nullptr, pLoadedNested->GetCommandBar());
    EXPECT_EQ(nullptr, Bar(100)->GetControls()->FindControl(qvtControlButton, 99999, FALSE, TRUE));
    ClearProfile(kProfile);
}

TEST_F(Layout, ComboBoxesAndGalleriesComeBackWithTheirListsOptionsAndPopups)
{
    const TCHAR kProfile[] = _T("LayoutCombo");
    ClearProfile(kProfile);
    MakeProgramBars();
    auto* pCombo = static_cast<CQVTControlComboBox*>(
        Bar(100)->GetControls()->Add(new CQVTControlComboBox(Bars()), 40460));
    pCombo->SetDropDownListStyle(TRUE);
    for (LPCTSTR lpszItem : {_T("alpha"), _T("beta"), _T("gamma")})
        pCombo->AddString(lpszItem);
    pCombo->SetItemData(1, 0xBEEF);
    pCombo->GetComboList()->SetListIconId(700);
    pCombo->SetEditHint(_T("Find"));
    pCombo->SetAutoComplete(TRUE);
    pCombo->SetDropDownItemCount(5);
    pCombo->SetStyle(1);
    pCombo->SetTextLimit(40);
    pCombo->SetEditStyle(ES_NUMBER);
    pCombo->SetWidth(150);
    // A gallery with a popup of its own follows the box in the block: a
    // key the box read or wrote out of turn would garble it.
    auto* pGallery =
        static_cast<CQVTControlGallery*>(Bar(100)->GetControls()->Add(new CQVTControlGallery(), 40461));
    pGallery->SetShowLabels(FALSE);
    pGallery->SetShowScrollBar(FALSE);
    pGallery->SetMargin(1, 2, 3, 4);
    pGallery->SetResizable(TRUE);
    CQVTPopupBar* pMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pMenu->GetControls()->Add(new CQVTControlButton(), 40462)->SetCaption(_T("More"));
    pGallery->SetCommandBar(pMenu);
    pMenu->InternalRelease();
    Bars()->WriteLayoutState(kProfile, TRUE);
    ASSERT_FALSE(StoredBlock(kProfile).empty()) << "the block was written";

    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    auto* pLoadedCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, Bar(100)->GetControls()->FindControl(40460));
    ASSERT_NE(nullptr, pLoadedCombo);
    ASSERT_NE(nullptr, pLoadedCombo->GetComboList());
    ASSERT_EQ(3, pLoadedCombo->GetCount());
    EXPECT_TRUE(pLoadedCombo->GetLBText(2) == _T("gamma"));
    EXPECT_EQ(0xBEEFu, pLoadedCombo->GetItemData(1));
    EXPECT_EQ(700, pLoadedCombo->GetComboList()->GetListIconId());
    EXPECT_TRUE(pLoadedCombo->GetDropDownListStyle());
    EXPECT_TRUE(pLoadedCombo->GetEditHint() == _T("Find"));
    EXPECT_TRUE(pLoadedCombo->GetAutoComplete());
    EXPECT_EQ(5, pLoadedCombo->GetDropDownItemCount());
    EXPECT_EQ(1, pLoadedCombo->GetComboStyle());
    EXPECT_EQ(40, pLoadedCombo->GetTextLimit());
    EXPECT_EQ(static_cast<DWORD>(ES_NUMBER), pLoadedCombo->GetEditStyle());
    EXPECT_EQ(150, pLoadedCombo->GetWidth());
    // The loaded list belongs to these bars, its list box owned by the site.
    EXPECT_EQ(Bars(), pLoadedCombo->GetComboList()->GetCommandBars());
    EXPECT_EQ(Bars()->GetSite()->GetSafeHwnd(),
              ::GetWindow(pLoadedCombo->GetComboList()->GetListBoxHwnd(), GW_OWNER));
    auto* pLoadedGallery = DYNAMIC_DOWNCAST(CQVTControlGallery, Bar(100)->GetControls()->FindControl(40461));
    ASSERT_NE(nullptr, pLoadedGallery);
    EXPECT_FALSE(pLoadedGallery->GetShowLabels());
    EXPECT_FALSE(pLoadedGallery->GetShowScrollBar());
    EXPECT_EQ(CRect(1, 2, 3, 4), pLoadedGallery->GetMargin());
    EXPECT_TRUE(pLoadedGallery->IsResizable());
    ASSERT_NE(nullptr, pLoadedGallery->GetCommandBar());
    EXPECT_EQ(CString(_T("More")), pLoadedGallery->GetCommandBar()->GetControl(0)->GetCaption());

    // A forged block that links the box to a plain popup bar: the box keeps
    // a list of its own.
    s_pFrame->ResetBars();
    MakeProgramBars();
    pCombo = static_cast<CQVTControlComboBox*>(
        Bar(100)->GetControls()->Add(new CQVTControlComboBox(Bars()), 40460));
    pMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pMenu->GetControls()->Add(new CQVTControlButton(), 40463);
    pCombo->SetCommandBar(pMenu);
    pMenu->InternalRelease();
    Bars()->WriteLayoutState(kProfile, TRUE);
    s_pFrame->ResetBars();
    MakeProgramBars();
    Bars()->ReadLayoutState(kProfile);
    pLoadedCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, Bar(100)->GetControls()->FindControl(40460));
    ASSERT_NE(nullptr, pLoadedCombo);
    EXPECT_NE(nullptr, pLoadedCombo->GetComboList());
    EXPECT_EQ(0, pLoadedCombo->GetCount());
    ClearProfile(kProfile);
}

TEST_F(Layout, ComboBoxKeysFollowTheSchemaTheBlockWasWrittenWith)
{
    // Written and read back with one schema each time, as a block of that
    // age is: the keys that schema lacks keep their defaults.
    struct Case
    {
        UINT nSchema;
        BOOL bHint;       // above 8
        BOOL bEditStyle;  // above 16
        BOOL bTextLimit;  // above 34
    };
    for (const Case& c : {Case{8, FALSE, FALSE, FALSE}, Case{9, TRUE, FALSE, FALSE},
                          Case{17, TRUE, TRUE, FALSE}, Case{35, TRUE, TRUE, TRUE}})
    {
        SCOPED_TRACE(c.nSchema);
        auto* pCombo = new CQVTControlComboBox(Bars());
        pCombo->SetEditHint(_T("Find"));
        pCombo->SetDropDownItemCount(5);
        pCombo->SetEditStyle(ES_NUMBER);
        pCombo->SetTextLimit(40);
        pCombo->SetStyle(1);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            CQVTPropExchangeArchive px(ar);
            px.SetSchema(c.nSchema);
            pCombo->DoPropExchange(&px);
            int nAfter = 1234;
            PropExchangeInt(&px, _T("After"), nAfter, 0);
            ar.Close();
        }
        file.SeekToBegin();
        auto* pLoaded = new CQVTControlComboBox(Bars());
        int nAfter = 0;
        {
            CArchive ar(&file, CArchive::load);
            CQVTPropExchangeArchive px(ar);
            px.SetSchema(c.nSchema);
            pLoaded->DoPropExchange(&px);
            PropExchangeInt(&px, _T("After"), nAfter, 0);
        }
        EXPECT_EQ(1234, nAfter) << "the box read exactly what it wrote";
        EXPECT_EQ(1, pLoaded->GetComboStyle());
        EXPECT_EQ(c.bHint ? CString(_T("Find")) : CString(), pLoaded->GetEditHint());
        EXPECT_EQ(c.bHint ? 5 : 12, pLoaded->GetDropDownItemCount());
        EXPECT_EQ(c.bEditStyle ? static_cast<DWORD>(ES_NUMBER) : 0u, pLoaded->GetEditStyle());
        EXPECT_EQ(c.bTextLimit ? 40 : 0, pLoaded->GetTextLimit());
        pCombo->InternalRelease();
        pLoaded->InternalRelease();
    }
}

TEST_F(Layout, BrokenAndForgedProfilesChangeNothing)
{
    const TCHAR kProfile[] = _T("LayoutForged");
    CWinApp& app = TestApp();
    ClearProfile(kProfile);
    MakeProgramBars();
    const CRect rcStandard = WindowRect(Bar(100));
    const CRect rcFormat = WindowRect(Bar(101));
    CString strSummary, strDock, strBar;
    strSummary.Format(_T("%s-Summary"), kProfile);
    strDock.Format(_T("%s-DockBar0"), kProfile);
    strBar.Format(_T("%s-Bar0"), kProfile);
    for (int nBars : {INT_MAX, -1, INT_MIN})
    {
        app.WriteProfileInt(strSummary, _T("Bars"), nBars);
        app.WriteProfileInt(strDock, _T("Bars"), nBars);
        Bars()->ReadLayoutState(kProfile);
    }
    // Unknown ids in the rows are row breaks; the known bars stay.
    app.WriteProfileInt(strDock, _T("Bars"), 5);
    const int rows[] = {0, 7777, 100, 0, -5};
    for (int k = 0; k < 5; ++k)
    {
        CString strKey;
        strKey.Format(_T("Bar#%d"), k);
        app.WriteProfileInt(strDock, strKey, rows[k]);
    }
    app.WriteProfileInt(strBar, _T("BarID"), 7777);
    app.WriteProfileInt(strSummary, _T("Bars"), 1);
    Bars()->ReadLayoutState(kProfile);
    PumpMessages(10);
    EXPECT_EQ(rcStandard, WindowRect(Bar(100)));
    EXPECT_EQ(rcFormat.Size(), WindowRect(Bar(101)).Size());
    const std::vector<CQVTCommandBar*>& list = Bars()->GetDockBar(qvtBarTop)->GetBars();
    EXPECT_EQ(nullptr, list.front());
    EXPECT_EQ(nullptr, list.back());
    for (size_t i = 1; i < list.size(); ++i)
        EXPECT_FALSE(list[i] == nullptr && list[i - 1] == nullptr) << i;

    // A block file that is a folder, or missing, is skipped.
    CString strControls;
    strControls.Format(_T("%s-Controls"), kProfile);
    app.WriteProfileInt(strControls, _T("LoadFromFile"), 1);
    const int nControls = Bar(100)->GetControls()->GetCount();
    for (const CString& strPath : {TempPath(_T("")), TempPath(_T("no such block")), CString()})
    {
        app.WriteProfileString(strControls, _T("Controls"), strPath);
        Bars()->ReadLayoutState(kProfile);
        EXPECT_EQ(nControls, Bar(100)->GetControls()->GetCount());
    }
    ClearProfile(kProfile);
}

namespace {

// A block of one customized toolbar, as the bars write it.
std::vector<BYTE> ValidBlock(CQVTCommandBars* pBars, LPCTSTR lpszProfile)
{
    pBars->WriteLayoutState(lpszProfile, TRUE);
    return StoredBlock(lpszProfile);
}

}  // namespace

TEST_F(Layout, TheBlockReaderSurvivesTruncatedCorruptAndForgedBlocks)
{
    const TCHAR kProfile[] = _T("LayoutFuzz");
    ClearProfile(kProfile);
    MakeProgramBars();
    CQVTControlPopup* pPopup =
        static_cast<CQVTControlPopup*>(Bar(100)->GetControls()->Add(new CQVTControlPopup(), 40450));
    CQVTPopupBar* pMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pMenu->GetControls()->Add(new CQVTControlButton(), 40451);
    pPopup->SetCommandBar(pMenu);
    pMenu->InternalRelease();
    Bar(101)->GetControl(0)->SetCaption(_T("Changed"));
    // A toolbar marked as torn off: hiding it removes it from the bars,
    // which once freed it while the bars were still removing it.
    Bar(100)->SetTearOff(TRUE);
    const std::vector<BYTE> tornOff = ValidBlock(Bars(), kProfile);
    Bar(100)->SetTearOff(FALSE);
    const std::vector<BYTE> valid = ValidBlock(Bars(), kProfile);
    ASSERT_GT(valid.size(), 100u);

    // Inputs that broke the reader once are kept here and replayed first.
    std::vector<std::vector<BYTE>> inputs = {
        {},
        {0xFF},
        {0x01, 0x00, 0x00, 0x00},
        // A count of bars far beyond the block.
        {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00},
        tornOff,
    };
    // Every truncation of the valid block.
    for (size_t n = 0; n < valid.size(); n += std::max<size_t>(1, valid.size() / 61))
        inputs.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n));
    // Seeded mutations: flipped bytes, forged counts, foreign class names.
    std::mt19937 random(20261207);
    for (int i = 0; i < 300; ++i)
    {
        std::vector<BYTE> mutated = valid;
        const int nEdits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < nEdits; ++e)
        {
            const size_t nAt = random() % mutated.size();
            switch (random() % 4)
            {
            case 0:
                mutated[nAt] ^= static_cast<BYTE>(1u << (random() % 8));
                break;
            case 1:
                mutated[nAt] = 0xFF;
                break;
            case 2:
                if (nAt + 4 <= mutated.size())
                {
                    const UINT nHuge = 0x7FFFFFFFu - static_cast<UINT>(random() % 16);
                    memcpy(&mutated[nAt], &nHuge, 4);
                }
                break;
            default:
                mutated.erase(mutated.begin() + static_cast<std::ptrdiff_t>(nAt));
                break;
            }
        }
        inputs.push_back(mutated);
    }
    // A class the toolkit has that is no bar, in place of the toolbar's.
    std::vector<BYTE> foreign = valid;
    const std::string strToolBar = "CQVTToolBar";
    const std::string strForeign = "CQVTDockBar";
    for (size_t i = 0; i + strToolBar.size() <= foreign.size(); ++i)
        if (std::equal(strToolBar.begin(), strToolBar.end(),
                       foreign.begin() + static_cast<std::ptrdiff_t>(i)))
            std::copy(strForeign.begin(), strForeign.end(), foreign.begin() + static_cast<std::ptrdiff_t>(i));
    inputs.push_back(foreign);

    for (size_t i = 0; i < inputs.size(); ++i)
    {
        s_pFrame->ResetBars();
        MakeProgramBars();
        StoreBlock(kProfile, inputs[i]);
        // Silently: a forged block may look like a changed toolbar.
        Bars()->ReadLayoutState(kProfile, TRUE);
        // Whatever was read, the program's bars are there and whole.
        ASSERT_NE(nullptr, Bar(100)) << i;
        ASSERT_NE(nullptr, Bar(101)) << i;
        EXPECT_GE(Bar(100)->GetControlCount(), 0) << i;
    }
    // The foreign class changed nothing.
    EXPECT_EQ(CString(_T("Format 0")), Bar(101)->GetControl(0)->GetCaption());
    ClearProfile(kProfile);
}

TEST_F(Layout, AControlOfSchema17WithoutCustomStyleLoadsWithNone)
{
    CQVTControlButton* pControl = new CQVTControlButton();
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CQVTPropExchangeArchive px(ar);
        px.SetSchema(17);
        pControl->SetCaption(_T("Old"));
        pControl->SetCustomStyle(0);
        pControl->DoPropExchange(&px);
        ar.Close();
    }
    file.SeekToBegin();
    CQVTControlButton* pLoaded = new CQVTControlButton();
    pLoaded->SetCustomStyle(5);
    {
        CArchive ar(&file, CArchive::load);
        CQVTPropExchangeArchive px(ar);
        px.SetSchema(17);
        pLoaded->DoPropExchange(&px);
    }
    EXPECT_EQ(CString(_T("Old")), pLoaded->GetCaption());
    EXPECT_EQ(-1, pLoaded->GetCustomStyle());
    // From schema 18 on, 0 is a style of its own.
    file.SetLength(0);
    {
        CArchive ar(&file, CArchive::store);
        CQVTPropExchangeArchive px(ar);
        px.SetSchema(18);
        pControl->DoPropExchange(&px);
        ar.Close();
    }
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        CQVTPropExchangeArchive px(ar);
        px.SetSchema(18);
        pLoaded->DoPropExchange(&px);
    }
    EXPECT_EQ(0, pLoaded->GetCustomStyle());
    pControl->InternalRelease();
    pLoaded->InternalRelease();
}
