// The recording dialog as a user meets it: a real window under Xvfb inside a
// host that stands for the main window, driven by real clicks and keys.
#include "recorder_test_support.h"

#include <cstdlib>
#include <string>

#include "app/formats/AudioFormats.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/program/WMInstaller.h"
#include "app/program/WMInstallerResource.h"
#include "common/ApplicationBase.h"
#include "real_input.h"
#include "tests/app/shell/shell_test_support.h"

using namespace recordertest;

namespace {

bool IsEnabled(CWnd& dialog, UINT nID)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, nID)) != FALSE;
}

bool IsChecked(CWnd& dialog, UINT nID)
{
    return ::IsDlgButtonChecked(dialog.m_hWnd, nID) == BST_CHECKED;
}

CString HeaderText(CListCtrl& list, int nColumn)
{
    WCHAR text[64] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 64;
    list.GetColumn(nColumn, &column);
    return text;
}

// A visible top-level window of the thread other than the host: the
// folder browser.
BOOL CALLBACK FindOtherVisibleWindow(HWND hWnd, LPARAM lParam)
{
    WCHAR title[64] = {};
    ::GetWindowTextW(hWnd, title, 64);
    if (::IsWindowVisible(hWnd) && CString(title) != _T("Recorder host"))
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// A class that makes nothing: the engine's media file on a system without
// the Windows Media codecs.
class CNoMediaFileFactory : public IClassFactory
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv =
            riid == IID_IUnknown || riid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override
    {
        *ppv = nullptr;
        return E_FAIL;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

std::vector<std::pair<UINT, DWORD>> g_restarts;

BOOL WINAPI NoteRestart(UINT uFlags, DWORD dwReason)
{
    g_restarts.emplace_back(uFlags, dwReason);
    return TRUE;
}

}  // namespace

class RecorderDialogTest : public RecorderTest
{};

TEST_F(RecorderDialogTest, FirstStartShowsTheFolderMp3ProfilesTenPercentAndSplitOff)
{
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;

    EXPECT_EQ(Narrow(WindowText(dlg.m_editOutputFolder.m_hWnd)), Narrow(m_folder.windows));
    EXPECT_EQ(dlg.GetProfileManager()->GetCurrentFormat(), g_AudioFormatOrder[0]);
    EXPECT_EQ(Narrow(g_AudioFormats[g_AudioFormatOrder[0]].pszExtension), ".mp3");
    ASSERT_GT(dlg.m_comboProfiles.GetCount(), 0);
    EXPECT_EQ(dlg.m_comboProfiles.GetCount(), dlg.GetProfileManager()->GetProfileCount());
    EXPECT_EQ(dlg.m_comboProfiles.GetCurSel(), dlg.GetProfileManager()->GetCurrentProfileIndex());

    EXPECT_EQ(dlg.m_sliderVolume.GetPos(), 10);
    EXPECT_EQ(Narrow(WindowText(dlg.m_wndVolumeText.m_hWnd)), "10 %");
    EXPECT_EQ(Narrow(WindowText(dlg.m_staticPlayTime.m_hWnd)), "00:00/00:00");

    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT));
    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT_BY_DURATION));
    for (UINT nID : {IDC_SPLIT_BY_DURATION, IDC_SPLIT_BY_SIZE, IDC_SPLIT_VALUE, IDC_MANUAL_SPLIT})
        EXPECT_FALSE(IsEnabled(dlg, nID)) << nID;
    EXPECT_TRUE(IsEnabled(dlg, IDC_RECORD)) << "the player exists";
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, IDC_SETTINGS)));

    // The Record button shows its red disc, the Stop button its dark square.
    m_pHost->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpTranslated(100);
    CClientDC screen(nullptr);
    COLORREF record = screen.GetPixel(ControlCentre(dlg, IDC_RECORD));
    EXPECT_GT(GetRValue(record), 150);
    EXPECT_LT(GetGValue(record), 90);
    COLORREF stop = screen.GetPixel(ControlCentre(dlg, IDC_STOP));
    EXPECT_LT(GetRValue(stop) + GetGValue(stop) + GetBValue(stop), 300);

    // Five columns, their widths at this screen's DPI.
    const char* headers[] = {"#", "File name", "File path", "Duration", "State"};
    const int widths[] = {35, 130, 325, 80, 145};
    ASSERT_EQ(dlg.m_listFiles.GetHeaderCtrl()->GetItemCount(), 5);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(Narrow(HeaderText(dlg.m_listFiles, i)), headers[i]);
        EXPECT_EQ(dlg.m_listFiles.GetColumnWidth(i),
                  MulDiv(widths[i], GetDeviceCaps(CClientDC(nullptr), LOGPIXELSX), 96));
    }
    EXPECT_EQ(dlg.m_listFiles.GetExtendedStyle() & 0x60u, 0x60u);
    EXPECT_EQ(dlg.GetCurrentRow(), -1);
}

TEST_F(RecorderDialogTest, TheSplitControlsFollowTheCheckBoxAndTheRadios)
{
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;

    ClickControl(dlg, IDC_SPLIT);
    ASSERT_TRUE(IsChecked(dlg, IDC_SPLIT));
    EXPECT_TRUE(IsChecked(dlg, IDC_SPLIT_BY_DURATION));
    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT_BY_SIZE));
    for (UINT nID : {IDC_SPLIT_BY_DURATION, IDC_SPLIT_BY_SIZE, IDC_SPLIT_VALUE})
        EXPECT_TRUE(IsEnabled(dlg, nID)) << nID;
    // Each entry's value is its number in the job's unit: seconds, or
    // kilobytes of 1024 bytes.
    auto expectValuesOfUnits = [&](const char* pszUnit, unsigned nUnit, const char* pszSubUnit) {
        for (int i = 0; i < dlg.m_comboSplitValue.GetCount(); ++i)
        {
            const std::string strText = Narrow(ComboText(dlg.m_comboSplitValue, i));
            const size_t nBlank = strText.find(' ');
            ASSERT_NE(nBlank, std::string::npos) << strText;
            const std::string strUnit = strText.substr(nBlank + 1);
            ASSERT_TRUE(strUnit == pszUnit || (pszSubUnit && strUnit == pszSubUnit)) << strText;
            const double dValue = atof(strText.c_str()) * (strUnit == pszUnit ? nUnit : 1);
            EXPECT_EQ(dlg.m_comboSplitValue.GetItemData(i), static_cast<DWORD_PTR>(dValue)) << strText;
        }
    };
    ASSERT_EQ(dlg.m_comboSplitValue.GetCount(), 20);
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 0)), "10 sec");
    // The unit turns from seconds to minutes between 30 sec and 1 min.
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 3)), "30 sec");
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 4)), "1 min");
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 5)), "1.5 min");
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 19)), "240 min");
    EXPECT_EQ(dlg.m_comboSplitValue.GetCurSel(), 9);
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 9)), "5 min");
    expectValuesOfUnits("min", 60, "sec");

    ClickControl(dlg, IDC_SPLIT_BY_SIZE);
    EXPECT_TRUE(IsChecked(dlg, IDC_SPLIT_BY_SIZE));
    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT_BY_DURATION));
    ASSERT_EQ(dlg.m_comboSplitValue.GetCount(), 19);
    EXPECT_EQ(dlg.m_comboSplitValue.GetCurSel(), 6);
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 6)), "5 Mb");
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 0)), "0.25 Mb");
    EXPECT_EQ(Narrow(ComboText(dlg.m_comboSplitValue, 18)), "256 Mb");
    expectValuesOfUnits("Mb", 1024, nullptr);

    ClickControl(dlg, IDC_SPLIT_BY_DURATION);
    EXPECT_EQ(dlg.m_comboSplitValue.GetCount(), 20);

    ClickControl(dlg, IDC_SPLIT);
    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT));
    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT_BY_DURATION));
    EXPECT_FALSE(IsChecked(dlg, IDC_SPLIT_BY_SIZE));
    EXPECT_EQ(dlg.m_comboSplitValue.GetCount(), 0);
    for (UINT nID : {IDC_SPLIT_BY_DURATION, IDC_SPLIT_BY_SIZE, IDC_SPLIT_VALUE})
        EXPECT_FALSE(IsEnabled(dlg, nID)) << nID;
}

TEST_F(RecorderDialogTest, RecordingDisablesAllButRecordAndManualSplitUnlessSplittingByDuration)
{
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;

    dlg.EnableControls(FALSE, FALSE);
    ASSERT_EQ(m_pHost->m_tabCalls.size(), 1u);
    EXPECT_FALSE(m_pHost->m_tabCalls.back());
    for (UINT nID : {IDC_PROFILES,
                     IDC_FILE_LIST,
                     IDC_BROWSE,
                     IDC_EDIT_PROFILES,
                     IDC_DEVICES,
                     IDC_INPUTS,
                     IDC_REFRESH_DEVICES,
                     IDC_FILE_INFORMATION,
                     IDC_RENAME_FILE,
                     IDC_DELETE_FILES,
                     IDC_DELETE_ALL_FILES,
                     IDC_DELETE_FROM_DISK,
                     IDC_PLAY_PAUSE,
                     IDC_STOP,
                     IDC_PREVIOUS,
                     IDC_NEXT,
                     IDC_SPLIT,
                     IDC_SPLIT_BY_DURATION,
                     IDC_SPLIT_BY_SIZE,
                     IDC_SPLIT_VALUE})
        EXPECT_FALSE(IsEnabled(dlg, nID)) << nID;
    EXPECT_TRUE(IsEnabled(dlg, IDC_RECORD));
    EXPECT_TRUE(IsEnabled(dlg, IDC_VOLUME)) << "the volume may change while recording";
    EXPECT_TRUE(IsEnabled(dlg, IDC_MANUAL_SPLIT)) << "splitting is off";

    dlg.EnableControls(TRUE, FALSE);
    EXPECT_TRUE(m_pHost->m_tabCalls.back());
    EXPECT_FALSE(IsEnabled(dlg, IDC_MANUAL_SPLIT));
    EXPECT_FALSE(IsEnabled(dlg, IDC_SPLIT_VALUE)) << "the split box is not checked";

    // By size: a manual split is still possible while recording.
    ClickControl(dlg, IDC_SPLIT);
    ClickControl(dlg, IDC_SPLIT_BY_SIZE);
    dlg.EnableControls(FALSE, FALSE);
    EXPECT_TRUE(IsEnabled(dlg, IDC_MANUAL_SPLIT));
    EXPECT_FALSE(IsEnabled(dlg, IDC_SPLIT_VALUE));
    dlg.EnableControls(TRUE, FALSE);
    EXPECT_TRUE(IsEnabled(dlg, IDC_SPLIT_VALUE));
    EXPECT_TRUE(IsEnabled(dlg, IDC_SPLIT_BY_SIZE));

    // By duration: the markers split; no manual split.
    ClickControl(dlg, IDC_SPLIT_BY_DURATION);
    dlg.EnableControls(FALSE, FALSE);
    EXPECT_FALSE(IsEnabled(dlg, IDC_MANUAL_SPLIT));

    // Without a player nothing can be recorded, whatever the flags say.
    dlg.EnableControls(TRUE, FALSE);
    dlg.m_pPlayer.Reset();
    size_t nTabCalls = m_pHost->m_tabCalls.size();
    dlg.EnableControls(TRUE, TRUE);
    EXPECT_FALSE(IsEnabled(dlg, IDC_RECORD));
    EXPECT_EQ(m_pHost->m_tabCalls.size(), nTabCalls) << "player-only leaves the rest alone";
    EXPECT_TRUE(IsEnabled(dlg, IDC_PLAY_PAUSE));
    dlg.EnableControls(TRUE, FALSE);
    EXPECT_FALSE(IsEnabled(dlg, IDC_RECORD));
}

TEST_F(RecorderDialogTest, AcceleratorsActOnlyWhereTheirButtonsWouldAndEnterAndEscapeDoNothing)
{
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;
    dlg.m_listFiles.SetFocus();
    PumpTranslated(50);

    const struct
    {
        WORD wKey;
        UINT nCommand;
    } keys[] = {{'A', 57600}, {'I', 57603}, {'P', 57604}, {'H', 57605},
                {'S', 57606}, {'N', 57607}, {'B', 57608}};
    for (const auto& key : keys)
    {
        dlg.m_commands.clear();
        PressChord(VK_CONTROL, key.wKey);
        EXPECT_EQ(dlg.m_commands, std::vector<UINT>{key.nCommand}) << "Ctrl+" << (char)key.wKey;
    }

    // As while recording: the buttons are off, and so are their keys, with
    // the focus on Record, the one button still on.
    dlg.EnableControls(FALSE, FALSE);
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDC_RECORD));
    PumpTranslated(30);
    for (const auto& key : keys)
    {
        dlg.m_commands.clear();
        PressChord(VK_CONTROL, key.wKey);
        EXPECT_TRUE(dlg.m_commands.empty()) << "Ctrl+" << (char)key.wKey;
    }
    dlg.EnableControls(TRUE, FALSE);

    // Enter and Escape in a field and on a button leave the recorder open.
    for (UINT nFocus : {IDC_PROFILES, IDC_REFRESH_DEVICES})
    {
        ::SetFocus(::GetDlgItem(dlg.m_hWnd, nFocus));
        KeyPress(VK_RETURN);
        KeyPress(VK_ESCAPE);
        PumpTranslated(50);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_TRUE(dlg.IsWindowVisible());
    }
}

TEST_F(RecorderDialogTest, FormatCommandsSwitchTheProfileListAndUnknownOnesChangeNothing)
{
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;
    CSondrelProfileManager* pProfiles = dlg.GetProfileManager();

    for (int nRow = 0; nRow < AUDIO_FORMAT_COUNT; ++nRow)
    {
        if (nRow == AUDIO_FORMAT_WMA && pProfiles->GetWMCodecCount() == 0)
            continue;
        dlg.OnSelectFormat(g_AudioFormats[nRow].nCommandId);
        EXPECT_EQ(pProfiles->GetCurrentFormat(), nRow);
        ASSERT_EQ(dlg.m_comboProfiles.GetCount(), pProfiles->GetProfileCount()) << nRow;
        for (int i = 0; i < pProfiles->GetProfileCount(); ++i)
        {
            CEngineRef<IMediaPropertyBag5> profile(pProfiles->GetProfile(i));
            BSTR bstrName = nullptr;
            profile->GetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, &bstrName);
            EXPECT_EQ(Narrow(ComboText(dlg.m_comboProfiles, i)), Narrow(TakeEngineString(bstrName)));
        }
    }

    // Choosing a profile in the list makes it the format's profile.
    dlg.OnSelectFormat(g_AudioFormats[0].nCommandId);
    if (dlg.m_comboProfiles.GetCount() > 1)
    {
        dlg.m_comboProfiles.SetFocus();
        KeyPress(VK_DOWN);
        PumpTranslated(50);
        EXPECT_EQ(pProfiles->GetCurrentProfileIndex(), dlg.m_comboProfiles.GetCurSel());
        EXPECT_EQ(pProfiles->GetCurrentProfileIndex(), 1);
    }

    int nFormat = pProfiles->GetCurrentFormat();
    int nProfile = pProfiles->GetCurrentProfileIndex();
    dlg.OnSelectFormat(25099);
    dlg.OnSelectFormat(25109);
    EXPECT_EQ(pProfiles->GetCurrentFormat(), nFormat);
    EXPECT_EQ(pProfiles->GetCurrentProfileIndex(), nProfile);
    EXPECT_EQ(dlg.m_comboProfiles.GetCurSel(), nProfile);
}

TEST(RecorderMicrophoneNames, MicrophonesAreKnownInTheirLanguagesAndABareMicIsNot)
{
    const struct
    {
        const char16_t* name;
        BOOL bMicrophone;
    } cases[] = {
        {u"USB Microphone", TRUE},
        {u"Headset Mic Array", TRUE},
        {u"Mic", FALSE},
        {u"Mic.", FALSE},
        {u"Line In", FALSE},
        {u"MIK 2", TRUE},
        {u"\x041C\x0438\x043A\x0440\x043E\x0444\x043E\x043D (USB)", TRUE},
        {u"Mikrofon", TRUE},
        {u"Microfoon", TRUE},
        {u"MICROFONO interno", TRUE},
        {u"Monitor of Null Output", FALSE},
        {u"", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSondrelDlg::IsMicrophoneName(c.name), c.bMicrophone) << Narrow(CString(c.name));
}

TEST_F(RecorderDialogTest, DevicesPreferMicrophonesAndTheVolumeReachesTheSourceOnRelease)
{
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;
    ASSERT_TRUE(dlg.m_pCaptureSource);
    IMediaCaptureSource5* pSource = dlg.m_pCaptureSource.Get();

    LONG nDevices = 0;
    pSource->GetDeviceCount(&nDevices);
    ASSERT_GT(nDevices, 0) << "the session's sine source";
    ASSERT_EQ(dlg.m_comboDevices.GetCount(), nDevices);
    int nExpected = 0;
    for (LONG i = 0; i < nDevices; ++i)
    {
        BSTR bstrName = nullptr;
        pSource->GetDeviceName(i, &bstrName);
        CString strName = TakeEngineString(bstrName);
        EXPECT_EQ(Narrow(ComboText(dlg.m_comboDevices, i)), Narrow(strName));
        if (CSondrelDlg::IsMicrophoneName(strName))
            nExpected = i;
    }
    LONG nSelected = -1;
    pSource->GetSelectedDevice(&nSelected);
    EXPECT_EQ(nSelected, nExpected);
    EXPECT_EQ(dlg.m_comboDevices.GetCurSel(), nExpected);

    LONG nInputs = 0;
    pSource->GetInputCount(&nInputs);
    LONG nVolume = -1;
    pSource->GetVolume(&nVolume);
    if (nInputs > 0)
    {
        EXPECT_GT(dlg.m_comboInputs.GetCount(), 0);
        EXPECT_NE(dlg.m_comboInputs.GetCurSel(), CB_ERR);
        EXPECT_NEAR(nVolume, 10, 1) << "applied with the input";
    }
    else
    {
        EXPECT_EQ(dlg.m_comboInputs.GetCount(), 0) << "a device without inputs";
    }
    const LONG nVolumeBefore = nVolume;

    // Keys move the text only; the source hears of it at the mouse's release.
    dlg.m_sliderVolume.SetFocus();
    KeyPress(VK_RIGHT);
    KeyPress(VK_RIGHT);
    PumpTranslated(50);
    EXPECT_EQ(dlg.m_sliderVolume.GetPos(), 12);
    EXPECT_EQ(Narrow(WindowText(dlg.m_wndVolumeText.m_hWnd)), "12 %");
    pSource->GetVolume(&nVolume);
    EXPECT_EQ(nVolume, nVolumeBefore);

    // A click on the channel to the right of the thumb pages up and releases.
    CRect rcThumb;
    dlg.m_sliderVolume.GetThumbRect(&rcThumb);
    CRect rcChannel;
    dlg.m_sliderVolume.GetChannelRect(&rcChannel);
    POINT pt = {rcChannel.right - 4, (rcThumb.top + rcThumb.bottom) / 2};
    dlg.m_sliderVolume.ClientToScreen(&pt);
    MouseClickAt(pt);
    PumpTranslated(100);
    int nPos = dlg.m_sliderVolume.GetPos();
    EXPECT_GT(nPos, 12);
    CString strExpected;
    strExpected.Format(_T("%i %%"), nPos);
    EXPECT_EQ(Narrow(WindowText(dlg.m_wndVolumeText.m_hWnd)), Narrow(strExpected));
    pSource->GetVolume(&nVolume);
    EXPECT_NEAR(nVolume, nPos, 1);

    // The volume runs from 0 to 100 exactly.
    dlg.m_sliderVolume.SetFocus();
    KeyPress(VK_END);
    PumpTranslated(50);
    EXPECT_EQ(dlg.m_sliderVolume.GetPos(), 100);
    EXPECT_EQ(Narrow(WindowText(dlg.m_wndVolumeText.m_hWnd)), "100 %");
    KeyPress(VK_HOME);
    PumpTranslated(50);
    EXPECT_EQ(dlg.m_sliderVolume.GetPos(), 0);
    EXPECT_EQ(Narrow(WindowText(dlg.m_wndVolumeText.m_hWnd)), "0 %");

    // Choosing the first device again selects it in the source.
    if (nDevices > 1)
    {
        dlg.m_comboDevices.SetFocus();
        KeyPress(VK_HOME);
        PumpTranslated(50);
        pSource->GetSelectedDevice(&nSelected);
        EXPECT_EQ(nSelected, 0);
    }
}

TEST_F(RecorderDialogTest, TheBrowsedFolderIsStoredWithItsSeparatorAndShown)
{
    // Off the drive's root, in the prefix: the browser walks what it shows.
    const CString strRoot = _T("C:\\SondrelRecorderBrowse");
    const CString strChosen = strRoot + _T("\\Chosen");
    ::CreateDirectoryW(strRoot, nullptr);
    ::CreateDirectoryW(strChosen, nullptr);
    // The browser compares access dates too: read each folder once first.
    for (const CString& strFolder : {strRoot, strChosen})
    {
        WIN32_FIND_DATAW data;
        HANDLE hFind = ::FindFirstFileW(strFolder + _T("\\*"), &data);
        while (hFind != INVALID_HANDLE_VALUE && ::FindNextFileW(hFind, &data))
            ;
        if (hFind != INVALID_HANDLE_VALUE)
            ::FindClose(hFind);
    }
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;
    m_pHost->m_strOutputFolder = strChosen;

    // The browser opens at the current folder; Enter takes it.
    POINT ptBrowse = ControlCentre(dlg, IDC_BROWSE);
    DWORD dwThread = ::GetCurrentThreadId();
    bool bEnded = RunInputScript([&] {
        ScriptMouseMove(ptBrowse);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        // Wait for the browser's window on the test's thread.
        for (int i = 0; i < 200; ++i)
        {
            HWND hBrowser = nullptr;
            ::EnumThreadWindows(dwThread, &FindOtherVisibleWindow, (LPARAM)&hBrowser);
            if (hBrowser)
                break;
            ::Sleep(50);
        }
        ::Sleep(500);
        SendKey(VK_RETURN, false);
        SendKey(VK_RETURN, true);
        ::Sleep(300);
    });
    ASSERT_TRUE(bEnded);
    PumpTranslatedUntil([&] { return m_pHost->m_nFolderSaves > 0; }, 3000);
    ASSERT_EQ(m_pHost->m_nFolderSaves, 1);
    EXPECT_EQ(Narrow(m_pHost->m_strOutputFolder), Narrow(strChosen + _T("\\")));
    EXPECT_EQ(Narrow(WindowText(dlg.m_editOutputFolder.m_hWnd)), Narrow(strChosen + _T("\\")));
}

TEST_F(RecorderDialogTest, WindowsMediaWithoutCodecsRunsTheInstallerAndSaysWhatTheInstallDid)
{
    CNoMediaFileFactory factory;
    DWORD dwCookie = 0;
    ASSERT_EQ(S_OK, ::CoRegisterClassObject(CLSID_MediaFile5, &factory, CLSCTX_INPROC_SERVER,
                                            REGCLS_MULTIPLEUSE, &dwCookie));
    OpenRecorder();
    CTestRecorder& dlg = *m_pRecorder;
    CSondrelProfileManager* pProfiles = dlg.GetProfileManager();
    ASSERT_EQ(0, pProfiles->GetWMCodecCount());
    const int nOther = pProfiles->GetCurrentFormat();
    ASSERT_NE(nOther, AUDIO_FORMAT_WMA);
    g_restarts.clear();
    auto* pfnSaved = CSondrelDlg::s_pfnExitWindowsEx;
    CSondrelDlg::s_pfnExitWindowsEx = &NoteRestart;

    const DWORD dwPlannedReconfiguration = 0x80020004;
    struct Case
    {
        int nInstaller;     // how the installer ends
        bool bCodecsAfter;  // the install brought the codecs
        int nAnswer;        // to the message; 0 for none shown
        UINT nMessage;
        int nFormat;
        std::vector<std::pair<UINT, DWORD>> restarts;
    };
    const Case cases[] = {
        {IDCANCEL, false, 0, 0, nOther, {}},
        {IDOK, false, IDNO, IDS_WM_RESTART, nOther, {}},
        {IDOK, false, IDYES, IDS_WM_RESTART, nOther, {{EWX_REBOOT, dwPlannedReconfiguration}}},
        {IDOK, true, IDOK, IDS_WM_INSTALLED, AUDIO_FORMAT_WMA, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nMessage);
        g_restarts.clear();
        CString strMessage;
        std::vector<shelltest::ModalScript::Step> steps = {[&] {
            CWMInstaller* pInstaller = shelltest::FindThreadWindow<CWMInstaller>();
            if (!pInstaller)
                return false;
            if (c.bCodecsAfter)
                ::CoRevokeClassObject(dwCookie);
            if (c.nInstaller == IDOK)
                pInstaller->EndDialog(IDOK);  // as once the redistributable ran
            else
                shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pInstaller->m_hWnd, IDCANCEL)));
            return true;
        }};
        if (c.nAnswer != 0)
            steps.push_back([&] {
                CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
                if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, c.nAnswer)))
                    return false;
                strMessage = pBox->GetConfiguration().pszContent;
                ::SetForegroundWindow(pBox->m_hWnd);
                shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, c.nAnswer)));
                return true;
            });
        {
            shelltest::ModalScript script(std::move(steps));
            dlg.OnSelectFormat(g_AudioFormats[AUDIO_FORMAT_WMA].nCommandId);
            EXPECT_TRUE(script.Finished());
            EXPECT_FALSE(script.Stalled());
        }
        EXPECT_EQ(Narrow(c.nMessage != 0 ? LoadAppString(c.nMessage) : CString()), Narrow(strMessage));
        EXPECT_EQ(c.nFormat, pProfiles->GetCurrentFormat());
        EXPECT_EQ(c.restarts, g_restarts);
    }
    EXPECT_GT(pProfiles->GetWMCodecCount(), 0);
    CSondrelDlg::s_pfnExitWindowsEx = pfnSaved;
    ::CoRevokeClassObject(dwCookie);
}
