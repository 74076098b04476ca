// The profiles editor as a user meets it: the modal editor on a manager,
// driven by real clicks and keys inside its modal loop; the list commands
// with their counter and selection, typing names, restore and save read by
// a second process, and the settings pages writing the selected profile's
// audio format.
#include "sondrel_gtest.h"

#include <afxwin.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "app/formats/AudioFormats.h"
#include "app/profiles/ProfilesEditorResource.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/profiles/SondrelProfilesEditor.h"
#include "child_process.h"
#include "file_size_limit.h"
#include "modal_script.h"
#include "real_input.h"
#include "tests/app/shell/shell_test_support.h"

namespace {

const char16_t kChildVariable[] = u"SONDREL_PROFILES_EDITOR_CHILD";
constexpr int kWav = 4;
constexpr int kM4a = 3;

std::string AsciiOf(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out.push_back(static_cast<char>(s[i]));
    return out;
}

CString WindowsFolder(const std::string& unix)
{
    WCHAR* dos = wine_get_dos_file_name(unix.c_str());
    CString s(dos ? dos : _T(""));
    HeapFree(GetProcessHeap(), 0, dos);
    return s + _T("\\");
}

CString ProfileName(IMediaPropertyBag5* pProfile)
{
    BSTR b = nullptr;
    if (!pProfile || FAILED(pProfile->GetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, &b)))
        return CString(_T("<none>"));
    return TakeEngineString(b);
}

std::vector<std::string> ManagerNames(CSondrelProfileManager& manager)
{
    std::vector<std::string> names;
    for (int i = 0; i < manager.GetProfileCount(); ++i)
    {
        CEngineRef<IMediaPropertyBag5> profile(manager.GetProfile(i));
        names.push_back(AsciiOf(ProfileName(profile.Get())));
    }
    return names;
}

LONG AudioStreamCount(IMediaPropertyBag5* pProfile)
{
    LONG n = -1;
    if (pProfile)
        pProfile->GetCount(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), &n);
    return n;
}

struct FormatValues
{
    LONG nCodec = -1, nRate = -1, nChannels = -1, nBitrate = -1;
    bool operator==(const FormatValues& o) const
    {
        return nCodec == o.nCodec && nRate == o.nRate && nChannels == o.nChannels && nBitrate == o.nBitrate;
    }
};

void PrintTo(const FormatValues& v, std::ostream* os)
{
    *os << v.nCodec << " " << v.nRate << " Hz " << v.nChannels << " ch " << v.nBitrate << " bit/s";
}

FormatValues SelectedValues(CSondrelProfileManager& manager)
{
    FormatValues v;
    CEngineRef<IMediaPropertyBag5> profile(manager.GetProfile(-1));
    CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
    if (format)
    {
        format->GetCodecId(&v.nCodec);
        format->GetSampleRate(&v.nRate);
        format->GetChannels(&v.nChannels);
        format->GetBitrate(&v.nBitrate);
    }
    return v;
}

std::vector<std::string> ListTexts(CListBox& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        CString s;
        list.GetText(i, s);
        texts.push_back(AsciiOf(s));
    }
    return texts;
}

std::vector<std::string> ComboTexts(CComboBox& combo)
{
    std::vector<std::string> texts;
    for (int i = 0; i < combo.GetCount(); ++i)
    {
        CString s;
        combo.GetLBText(i, s);
        texts.push_back(AsciiOf(s));
    }
    return texts;
}

std::string Text(CWnd& wnd)
{
    CString s;
    wnd.GetWindowText(s);
    return AsciiOf(s);
}

POINT ListEntryPoint(CListBox& list, int nIndex)
{
    CRect rc;
    list.GetItemRect(nIndex, &rc);
    list.ClientToScreen(&rc);
    return POINT{rc.left + 10, rc.CenterPoint().y};
}

// A profile file of a format with a fresh default profile per name.
void WriteProfileFile(int nFormat, const CString& strPath, const CString& strExe, const CString& strAppData,
                      const std::vector<CString>& names)
{
    CEngineRef<IMediaProfileCollection5> collection;
    ASSERT_EQ(S_OK,
              CreateEngineObject(CLSID_MediaProfileCollection5, IID_IMediaProfileCollection5, collection));
    CSondrelProfileManager scratch(_T("Scratch"), _T("Nothing"), strExe, strAppData);
    scratch.SetCurrentFormat(nFormat);
    for (const CString& name : names)
    {
        scratch.AddDefaultProfile(-1);
        CEngineRef<IMediaPropertyBag5> added(scratch.GetProfile(scratch.GetProfileCount() - 1));
        added->SetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, CEngineString(name),
                         MEDIA_PROPFLAG_PROFILE);
        collection->Insert(-1, added.Get());
    }
    ASSERT_EQ(S_OK, collection->Save(CEngineString(strPath)));
}

// One second of a 440-Hz tone, 44.1 kHz stereo as capture delivers it,
// written through the engine with the profile as the recorder hands it over.
HRESULT RecordSecond(IMediaPropertyBag5* pProfile, LONG nContainer, const CString& strPath)
{
    CEngineRef<IMediaFile5> file;
    CEngineRef<IMediaPropertyBag5> op;
    CEngineRef<IMediaSample5> sample;
    CEngineRef<IMediaAudioFormat5> pcm;
    HRESULT hr = CreateEngineObject(CLSID_MediaFile5, IID_IMediaFile5, file);
    if (SUCCEEDED(hr))
        hr = CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, op);
    if (SUCCEEDED(hr))
        hr = CreateEngineObject(CLSID_MediaSampleBuffer5, IID_IMediaSample5, sample);
    if (SUCCEEDED(hr))
        hr = CreateEngineObject(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5, pcm);
    if (SUCCEEDED(hr))
        hr = file->SetContainerType(nContainer);
    if (SUCCEEDED(hr))
        hr = file->SetStreamSettings(pProfile);
    if (FAILED(hr))
        return hr;
    op->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
    op->SetInteger(CEngineString(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
    op->SetString(CEngineString(MEDIA_PROP_FILE_NAME), 0, CEngineString(strPath), 0);
    if (FAILED(hr = file->Command(MEDIAFILE_CMD_OPEN, op.Get())))
        return hr;
    pcm->SetSampleRate(44100);
    pcm->SetChannels(2);
    pcm->SetBitsPerSample(16);
    sample->SetFormat(pcm.Get());
    sample->Allocate(44100 * 4);
    BYTE* pData = nullptr;
    LONG nCapacity = 0;
    sample->GetBuffer(&pData, &nCapacity);
    short* pSamples = reinterpret_cast<short*>(pData);
    for (int i = 0; pSamples && i < 44100; ++i)
        pSamples[2 * i] = pSamples[2 * i + 1] =
            static_cast<short>(8000 * std::sin(i * 2 * 3.14159265 * 440 / 44100));
    hr = file->WriteSample(sample.Get());
    const HRESULT hrFinish = file->Command(MEDIAFILE_CMD_FINISH, nullptr);
    return FAILED(hr) ? hr : hrFinish;
}

// The engine's own reading of a file: its container type, and its codec,
// rate and channel count (the bit rate left out).
std::pair<LONG, FormatValues> ReadBack(const CString& strPath)
{
    CEngineRef<IMediaFile5> file;
    CEngineRef<IMediaPropertyBag5> op;
    CEngineRef<IMediaAudioFormat5> format;
    LONG nContainer = 0;
    FormatValues values;
    values.nBitrate = 0;
    if (FAILED(CreateEngineObject(CLSID_MediaFile5, IID_IMediaFile5, file)) ||
        FAILED(CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, op)))
        return {0, values};
    op->SetInteger(CEngineString(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_READ, 0);
    op->SetInteger(CEngineString(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
    op->SetString(CEngineString(MEDIA_PROP_FILE_NAME), 0, CEngineString(strPath), 0);
    if (FAILED(file->Command(MEDIAFILE_CMD_OPEN, op.Get())))
        return {0, values};
    file->GetContainerType(&nContainer);
    if (SUCCEEDED(file->GetStreamFormat(MEDIA_STREAM_AUDIO, IID_IMediaAudioFormat5, format.OutVoid())) &&
        format)
    {
        format->GetCodecId(&values.nCodec);
        format->GetSampleRate(&values.nRate);
        format->GetChannels(&values.nChannels);
    }
    file->Command(MEDIAFILE_CMD_FINISH, nullptr);
    return {nContainer, values};
}

// ffprobe's "key=value" entries of a file, written beside it as <file>.probe.
std::map<std::string, std::string> ReadProbe(const std::string& strUnixPath)
{
    std::map<std::string, std::string> values;
    FILE* pFile = std::fopen((strUnixPath + ".probe").c_str(), "r");
    if (!pFile)
        return values;
    char line[512];
    while (std::fgets(line, sizeof line, pFile))
    {
        std::string entry(line);
        while (!entry.empty() && (entry.back() == '\n' || entry.back() == '\r'))
            entry.pop_back();
        const size_t nEquals = entry.find('=');
        if (nEquals != std::string::npos)
            values[entry.substr(0, nEquals)] = entry.substr(nEquals + 1);
    }
    std::fclose(pFile);
    return values;
}

// The user's choice in a drop-down list: its selection and the notification
// the list sends its page.
void Choose(CWnd& page, CComboBox& combo, UINT nID, int nIndex)
{
    combo.SetCurSel(nIndex);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
}

// A key queued for the modal loop, which reads it as the dialogs' own keys.
void Press(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
}

// A click queued whole for the modal loop: pumping here would dispatch it
// inside the script's step, past the dialogs' own message handling.
void QueueClickAt(POINT pt)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

// Steps of a script run inside the editor's modal loop.
using Step = modaltest::ModalScript::Step;

Step Do(std::function<void()> action)
{
    return [action] {
        action();
        return true;
    };
}

Step Until(std::function<bool()> condition)
{
    return condition;
}

// Lets the loop run a few ticks: what a click should not change has had
// its chance to change.
Step Idle(int nTicks = 6)
{
    auto left = std::make_shared<int>(nTicks);
    return [left] { return --*left <= 0; };
}

Step Click(std::function<HWND()> target)
{
    return Do([target] { QueueClickAt(WindowCentre(target())); });
}

// Opens a drop-down list with a click and clicks its entry. The list is
// found when the steps run: the editor does not exist before.
std::vector<Step> ChooseEntry(std::function<CComboBox&()> combo, int nIndex, int nShown = -2)
{
    if (nShown == -2)
        nShown = nIndex;
    return {Do([combo] { QueueClickAt(WindowCentre(combo().m_hWnd)); }),
            Until([combo] { return combo().GetDroppedState() != FALSE; }), Do([combo, nIndex] {
                COMBOBOXINFO info = {sizeof info};
                combo().GetComboBoxInfo(&info);
                RECT rc;
                ::SendMessageW(info.hwndList, LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc));
                POINT pt{rc.left + 10, (rc.top + rc.bottom) / 2};
                ::ClientToScreen(info.hwndList, &pt);
                QueueClickAt(pt);
            }),
            Until([combo, nShown] { return !combo().GetDroppedState() && combo().GetCurSel() == nShown; })};
}

// A class that makes nothing: the engine's class out of memory.
class CFailingFactory : public IClassFactory
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory)
        {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override
    {
        *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

class ProfilesEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        char pattern[] = "/tmp/sondrel-editor-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_TRUE(made);
        m_unix = made;
        for (const char* folder :
             {"/exe", "/exe/SondrelProfiles", "/appdata", "/appdata/Quorvane", "/appdata/Quorvane/Sondrel"})
            mkdir((m_unix + folder).c_str(), 0755);
        m_exe = WindowsFolder(m_unix + "/exe");
        m_appData = WindowsFolder(m_unix + "/appdata");
    }
    void TearDown() override
    {
        m_pManager.reset();
        std::system(("rm -rf '" + m_unix + "'").c_str());
        CoUninitialize();
    }

    void MakeManager(int nFormat, const std::vector<CString>& names)
    {
        if (!names.empty())
            WriteProfileFile(nFormat, UserFile(nFormat), m_exe, m_appData, names);
        m_pManager =
            std::make_unique<CSondrelProfileManager>(_T("Sondrel"), _T("SondrelProfiles"), m_exe, m_appData);
        m_pManager->SetCurrentFormat(nFormat);
    }
    CString UserFile(int nFormat) const
    {
        return WindowsFolder(m_unix + "/appdata/Quorvane/Sondrel") + g_AudioFormats[nFormat].pszProfilesFile;
    }

    // Runs the editor modally with the steps; its result.
    INT_PTR RunEditor(std::vector<Step> steps)
    {
        CSondrelProfilesEditor editor;
        editor.m_pManager = m_pManager.get();
        m_pEditor = &editor;
        // Waits for the editor to be up and brings it to the front.
        steps.insert(steps.begin(), Until([&editor] {
                         if (!editor.m_hWnd || !::IsWindowVisible(editor.m_hWnd))
                             return false;
                         ::SetForegroundWindow(editor.m_hWnd);
                         return true;
                     }));
        modaltest::ModalScript script(std::move(steps));
        INT_PTR nResult = editor.DoModal();
        m_pEditor = nullptr;
        EXPECT_FALSE(script.Stalled());
        EXPECT_TRUE(script.Finished());
        return nResult;
    }
    CSondrelProfilesPanel& Panel() { return m_pEditor->m_panel; }
    Step ClickButton(UINT nID)
    {
        return Click([this, nID] { return ::GetDlgItem(Panel().m_hWnd, nID); });
    }
    Step ClickEntry(int nIndex)
    {
        return Do([this, nIndex] { QueueClickAt(ListEntryPoint(Panel().m_listProfiles, nIndex)); });
    }
    // The list, counter and name box show the manager's profiles and selection.
    Step Shows(std::vector<std::string> names, std::string counter)
    {
        return Until([this, names, counter] {
            CSondrelProfilesPanel& panel = Panel();
            const int nSelected = m_pManager->GetCurrentProfileIndex();
            return ListTexts(panel.m_listProfiles) == names && ManagerNames(*m_pManager) == names &&
                   Text(panel.m_editCounter) == counter && panel.m_listProfiles.GetCurSel() == nSelected &&
                   nSelected < static_cast<int>(names.size()) && Text(panel.m_editName) == names[nSelected];
        });
    }
    std::function<CComboBox&()> AudioCombo(UINT nID)
    {
        return [this, nID]() -> CComboBox& {
            CAudioProfilesEditor& page = Panel().m_pageAudio;
            return nID == IDC_AUDIO_CODEC     ? page.m_comboCodec
                   : nID == IDC_AUDIO_BITRATE ? page.m_comboBitrate
                                              : page.m_comboFrequency;
        };
    }
    std::function<CComboBox&()> WMCombo(UINT nID)
    {
        return [this, nID]() -> CComboBox& {
            CWMAudioProfilesEditor& page = Panel().m_pageWM;
            return nID == IDC_AUDIO_CODEC ? page.m_comboCodec : page.m_comboFormat;
        };
    }
    static void Append(std::vector<Step>& steps, std::vector<Step> more)
    {
        for (Step& step : more)
            steps.push_back(std::move(step));
    }

    std::string m_unix;
    CString m_exe;
    CString m_appData;
    std::unique_ptr<CSondrelProfileManager> m_pManager;
    CSondrelProfilesEditor* m_pEditor = nullptr;
};

namespace {

TEST_F(ProfilesEditorTest, MovesAndDeletesKeepTheSelectionWhereTheUserExpectsIt)
{
    MakeManager(kWav, {_T("A"), _T("B"), _T("C")});
    RunEditor({
        Shows({"A", "B", "C"}, "1/3"),
        // Up on the first and down on the last do nothing.
        ClickButton(IDC_PROFILE_UP),
        Idle(),
        Shows({"A", "B", "C"}, "1/3"),
        ClickButton(IDC_PROFILE_DOWN),
        Shows({"B", "A", "C"}, "2/3"),
        ClickEntry(2),
        Shows({"B", "A", "C"}, "3/3"),
        ClickButton(IDC_PROFILE_DOWN),
        Idle(),
        Shows({"B", "A", "C"}, "3/3"),
        ClickButton(IDC_PROFILE_UP),
        Shows({"B", "C", "A"}, "2/3"),
        // Deleting the last selects the first.
        ClickEntry(2),
        Shows({"B", "C", "A"}, "3/3"),
        ClickButton(IDC_PROFILE_DELETE),
        Shows({"B", "C"}, "1/2"),
        // Any other keeps the index, now showing the profile that followed.
        ClickButton(IDC_PROFILE_DELETE),
        Shows({"C"}, "1/1"),
        // The only one gives way to a default profile.
        ClickButton(IDC_PROFILE_DELETE),
        Shows({"PCM - 44100 Hz, Stereo"}, "1/1"),
        Do([] { Press(VK_ESCAPE); }),
    });
}

TEST_F(ProfilesEditorTest, InsertAddTypingRestoreAndSaveActOnTheManagerAtOnceAndAFailedSaveSaysSo)
{
    const std::string kDefault = "PCM - 44100 Hz, Stereo";
    MakeManager(kWav, {_T("A"), _T("B"), _T("C")});
    std::unique_ptr<FileSizeLimit> pFullDisk;
    CString strMessage;
    std::vector<Step> steps = {
        ClickEntry(1),
        Shows({"A", "B", "C"}, "2/3"),
        ClickButton(IDC_PROFILE_INSERT),
        Shows({"A", "B", kDefault, "C"}, "3/4"),
        ClickButton(IDC_PROFILE_ADD),
        Shows({"A", "B", kDefault, "C", kDefault}, "5/5"),
        // Each keystroke renames the profile and its entry.
        Click([this] { return Panel().m_editName.m_hWnd; }),
        Do([] { Press(VK_END); }),
        Do([] { Press('Q'); }),
        Shows({"A", "B", kDefault, "C", kDefault + "q"}, "5/5"),
        Do([] { Press('W'); }),
        Shows({"A", "B", kDefault, "C", kDefault + "qw"}, "5/5"),
        // The file's profiles come back; the selection was past their end.
        ClickButton(IDC_PROFILE_RESTORE),
        Shows({"A", "B", "C"}, "1/3"),
        ClickEntry(2),
        Click([this] { return Panel().m_editName.m_hWnd; }),
        Do([] { Press(VK_END); }),
        Do([] { Press('Q'); }),
        Shows({"A", "B", "Cq"}, "3/3"),
        ClickButton(IDC_PROFILE_SAVE),
        Shows({"A", "B", "Cq"}, "3/3"),
        // Typed after the save: kept in memory only.
        Click([this] { return Panel().m_editName.m_hWnd; }),
        Do([] { Press(VK_END); }),
        Do([] { Press('W'); }),
        Shows({"A", "B", "Cqw"}, "3/3"),
        // A save onto a full disk says so and keeps both the edits and the
        // file saved before.
        Do([&pFullDisk] { pFullDisk = std::make_unique<FileSizeLimit>(0); }),
        ClickButton(IDC_PROFILE_SAVE),
        Until([&strMessage] {
            auto* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
            if (pBox == nullptr)
                return false;
            strMessage = pBox->GetConfiguration().pszContent;
            ::SetForegroundWindow(pBox->m_hWnd);
            Press(VK_RETURN);
            return true;
        }),
        Until([] { return shelltest::FindThreadWindow<CQVTTaskDialog>() == nullptr; }),
        Do([&pFullDisk] { pFullDisk.reset(); }),
        Shows({"A", "B", "Cqw"}, "3/3"),
        ClickButton(IDC_PROFILE_APPLY),
    };
    EXPECT_EQ(IDOK, RunEditor(std::move(steps)));
    EXPECT_EQ((std::vector<std::string>{"A", "B", "Cqw"}), ManagerNames(*m_pManager));
    EXPECT_NE(shelltest::Utf8(strMessage).find("could not be saved"), std::string::npos);
    EXPECT_NE(shelltest::Utf8(strMessage).find("disk full"), std::string::npos);

    // Another process reads what was saved.
    std::u16string value = std::u16string(reinterpret_cast<const char16_t*>(m_exe.GetString())) + u"|" +
                           std::u16string(reinterpret_cast<const char16_t*>(m_appData.GetString()));
    EXPECT_EQ(0u, RunTestInChildProcess(u"ProfilesEditorChild.ReadsTheSavedProfiles", kChildVariable, value));
    EXPECT_EQ(0, access((m_unix + "/child-read").c_str(), F_OK)) << "the child did not run its test";

    // Closed without "Apply profile": the edits stay all the same.
    EXPECT_EQ(IDCANCEL, RunEditor({
                            Shows({"A", "B", "Cqw"}, "3/3"),
                            ClickButton(IDC_PROFILE_DELETE),
                            Shows({"A", "B"}, "1/2"),
                            Do([] { Press(VK_ESCAPE); }),
                        }));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), ManagerNames(*m_pManager));
}

// Runs only in the second process that the save test starts.
TEST(ProfilesEditorChild, ReadsTheSavedProfiles)
{
    std::u16string value = ChildProcessValue(kChildVariable);
    if (value.empty())
        GTEST_SKIP() << "runs only as the second process of the save test";
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        size_t nBar = value.find(u'|');
        CString strExe(value.substr(0, nBar).c_str());
        CString strAppData(value.substr(nBar + 1).c_str());
        CSondrelProfileManager manager(_T("Sondrel"), _T("SondrelProfiles"), strExe, strAppData);
        manager.SetCurrentFormat(kWav);
        EXPECT_EQ((std::vector<std::string>{"A", "B", "Cq"}), ManagerNames(manager));
        if (!HasFailure())
        {
            CString strMarker = strAppData.Left(strAppData.GetLength() - 1);
            strMarker = strMarker.Left(strMarker.ReverseFind(_T('\\')) + 1) + _T("child-read");
            HANDLE h = ::CreateFileW(strMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ::CloseHandle(h);
        }
    }
    CoUninitialize();
}

TEST_F(ProfilesEditorTest, AmrInM4aOffersItsModesAndStoresTheirWholeKilobits)
{
    MakeManager(kM4a, {});
    CAudioProfilesEditor* pPage = nullptr;
    std::vector<Step> steps = {Do([&] { pPage = &Panel().m_pageAudio; }),
                               Until([&] { return ComboTexts(pPage->m_comboCodec).size() == 4u; })};
    Append(steps, ChooseEntry(AudioCombo(IDC_AUDIO_CODEC), 2));
    steps.push_back(Until([&] {
        return ComboTexts(pPage->m_comboBitrate) ==
               std::vector<std::string>{"4.75 ", "5.15 ", "5.9 ", "6.7 ", "7.4 ", "7.95 ", "10.2 ", "12.2 "};
    }));
    steps.push_back(Do([&] {
        EXPECT_EQ("AMR NB", AsciiOf([&] {
                      CString s;
                      pPage->m_comboCodec.GetLBText(2, s);
                      return s;
                  }()));
        EXPECT_EQ(std::vector<std::string>{"8000"}, ComboTexts(pPage->m_comboFrequency));
        EXPECT_EQ(std::vector<std::string>{"Mono"}, ComboTexts(pPage->m_comboChannels));
        EXPECT_EQ((FormatValues{MEDIA_CODEC_AMR_NB, 8000, 1, 12000}), SelectedValues(*m_pManager));
        EXPECT_EQ(7, pPage->m_comboBitrate.GetCurSel());
    }));
    Append(steps, ChooseEntry(AudioCombo(IDC_AUDIO_BITRATE), 4));
    steps.push_back(Until([&] { return SelectedValues(*m_pManager).nBitrate == 8000; }));
    steps.push_back(Do([] { Press(VK_ESCAPE); }));
    RunEditor(std::move(steps));
    EXPECT_EQ((FormatValues{MEDIA_CODEC_AMR_NB, 8000, 1, 8000}), SelectedValues(*m_pManager));
    CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
    EXPECT_EQ(1, AudioStreamCount(profile.Get()));
}

TEST_F(ProfilesEditorTest, ACodecChangeReplacesTheStreamOnlyOnceTheNewFormatExists)
{
    MakeManager(kWav, {});
    CFailingFactory factory;
    DWORD dwCookie = 0;
    std::vector<Step> steps = {Until([&] { return Panel().m_pageAudio.m_comboCodec.GetCurSel() == 0; })};
    Append(steps, ChooseEntry(AudioCombo(IDC_AUDIO_CODEC), 3));
    steps.push_back(Until([&] {
        CAudioProfilesEditor& page = Panel().m_pageAudio;
        return SelectedValues(*m_pManager) == FormatValues{MEDIA_CODEC_GSM_MS, 8000, 1, 13000} &&
               page.m_comboBitrate.GetCount() == 0 && !page.m_comboBitrate.IsWindowEnabled() &&
               ComboTexts(page.m_comboFrequency) == std::vector<std::string>{"8000"};
    }));
    // No new format can be made: the profile keeps the one it has.
    steps.push_back(Do([&] {
        EXPECT_EQ(S_OK, CoRegisterClassObject(CLSID_MediaAudioFormat5, &factory, CLSCTX_INPROC_SERVER,
                                              REGCLS_MULTIPLEUSE, &dwCookie));
    }));
    Append(steps, ChooseEntry(AudioCombo(IDC_AUDIO_CODEC), 0, 3));
    steps.push_back(Do([&] {
        CoRevokeClassObject(dwCookie);
        dwCookie = 0;
        EXPECT_EQ((FormatValues{MEDIA_CODEC_GSM_MS, 8000, 1, 13000}), SelectedValues(*m_pManager));
    }));
    steps.push_back(Do([] { Press(VK_ESCAPE); }));
    RunEditor(std::move(steps));
    if (dwCookie)
        CoRevokeClassObject(dwCookie);
    CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
    EXPECT_EQ(1, AudioStreamCount(profile.Get()));
    EXPECT_EQ((FormatValues{MEDIA_CODEC_GSM_MS, 8000, 1, 13000}), SelectedValues(*m_pManager));
}

TEST_F(ProfilesEditorTest, WindowsMediaFormatsTakeThePlaceOfTheProfilesStream)
{
    MakeManager(AUDIO_FORMAT_WMA, {});
    ASSERT_GE(m_pManager->GetWMCodecCount(), 2);
    WMCodecInfo* pSecond = m_pManager->GetWMCodec(1);
    ASSERT_GE(pSecond->arrFormats.GetSize(), 2);
    {
        // A format no codec lists, and a video stream.
        CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
        CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
        ASSERT_TRUE(format);
        format->SetSampleRate(11025);
        CEngineRef<IMediaPropertyBag5> video;
        ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5, video));
        profile->SetObject(CEngineString(MEDIA_PROP_VIDEO_STREAM_INFO), MEDIA_ELEMENT_APPEND, video.Get(),
                           MEDIA_PROPFLAG_PROFILE);
    }
    auto listedValues = [](IMediaAudioFormat5* pFormat) {
        FormatValues v;
        pFormat->GetCodecId(&v.nCodec);
        pFormat->GetSampleRate(&v.nRate);
        pFormat->GetChannels(&v.nChannels);
        pFormat->GetBitrate(&v.nBitrate);
        return v;
    };
    const FormatValues firstOfFirst = listedValues(m_pManager->GetWMCodec(0)->arrFormats[0]->pFormat);
    const FormatValues secondOfSecond = listedValues(pSecond->arrFormats[1]->pFormat);
    auto streams = [this](LPCTSTR pszName) {
        CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
        LONG n = -1;
        profile->GetCount(CEngineString(pszName), &n);
        return n;
    };

    std::vector<Step> steps = {
        // Shown with its codec's first format, which it now holds alone.
        Until([&] {
            CWMAudioProfilesEditor& page = Panel().m_pageWM;
            return page.m_comboCodec.GetCurSel() == 0 && page.m_comboFormat.GetCurSel() == 0 &&
                   SelectedValues(*m_pManager) == firstOfFirst;
        }),
        Do([&] { EXPECT_EQ(1, streams(MEDIA_PROP_AUDIO_STREAM_INFO)); }),
    };
    Append(steps, ChooseEntry(WMCombo(IDC_AUDIO_CODEC), 1));
    steps.push_back(Until([&] {
        return SelectedValues(*m_pManager) == FormatValues{MEDIA_CODEC_WMA1, 44100, 2, 128000} &&
               Panel().m_pageWM.m_comboFormat.GetCurSel() == 0;
    }));
    steps.push_back(Do([&] {
        EXPECT_EQ(1, streams(MEDIA_PROP_AUDIO_STREAM_INFO));
        EXPECT_EQ(1, streams(MEDIA_PROP_VIDEO_STREAM_INFO));
    }));
    Append(steps, ChooseEntry(WMCombo(IDC_WM_AUDIO_FORMAT), 1));
    steps.push_back(Until([&] { return SelectedValues(*m_pManager) == secondOfSecond; }));
    steps.push_back(Do([] { Press(VK_ESCAPE); }));
    RunEditor(std::move(steps));
    EXPECT_EQ(1, streams(MEDIA_PROP_AUDIO_STREAM_INFO));
    EXPECT_EQ(0, streams(MEDIA_PROP_VIDEO_STREAM_INFO));
}

// Choosing a Windows Media codec takes its 128 kbit/s 44.1 kHz stereo format:
// formats that miss it by one in a value stand before it and are passed over.
TEST_F(ProfilesEditorTest, AWindowsMediaCodecStartsAtIts128KbitStereoFormatOf44100Hz)
{
    MakeManager(AUDIO_FORMAT_WMA, {});
    ASSERT_GE(m_pManager->GetWMCodecCount(), 2);
    WMCodecInfo* pSecond = m_pManager->GetWMCodec(1);
    const FormatValues kListed[] = {
        {MEDIA_CODEC_WMA1, 44100, 1, 128000}, {MEDIA_CODEC_WMA1, 44100, 3, 128000},
        {MEDIA_CODEC_WMA1, 44099, 2, 128000}, {MEDIA_CODEC_WMA1, 44101, 2, 128000},
        {MEDIA_CODEC_WMA1, 44100, 2, 127999}, {MEDIA_CODEC_WMA1, 44100, 2, 129000},
        {MEDIA_CODEC_WMA1, 44100, 2, 128999}, {MEDIA_CODEC_WMA1, 44100, 2, 128000},
    };
    const int nTarget = 6;
    for (int i = 0; i < static_cast<int>(std::size(kListed)); ++i)
    {
        CEngineRef<IMediaAudioFormat5> format;
        ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5, format));
        format->SetCodecId(kListed[i].nCodec);
        format->SetSampleRate(kListed[i].nRate);
        format->SetChannels(kListed[i].nChannels);
        format->SetBitrate(kListed[i].nBitrate);
        auto* pInfo = new WMFormatInfo;
        pInfo->strDescription.Format(_T("Listed %d"), i);
        pInfo->pFormat = format.Get();
        pInfo->pFormat->AddRef();
        pSecond->arrFormats.InsertAt(i, pInfo);
    }
    std::vector<Step> steps = {Until([&] { return Panel().m_pageWM.m_comboCodec.GetCurSel() == 0; })};
    Append(steps, ChooseEntry(WMCombo(IDC_AUDIO_CODEC), 1));
    steps.push_back(Until([&] {
        return SelectedValues(*m_pManager) == kListed[nTarget] &&
               Panel().m_pageWM.m_comboFormat.GetCurSel() == nTarget;
    }));
    steps.push_back(Do([] { Press(VK_ESCAPE); }));
    RunEditor(std::move(steps));
    EXPECT_EQ(kListed[nTarget], SelectedValues(*m_pManager));
}

// ffprobe's names of what the engine writes, by container and codec.
std::string ProbedContainer(LONG nContainer)
{
    switch (nContainer)
    {
    case MEDIA_CONTAINER_MP4:
        return "mov,mp4,m4a,3gp,3g2,mj2";
    case MEDIA_CONTAINER_AAC_ADTS:
        return "aac";
    case MEDIA_CONTAINER_WAV:
        return "wav";
    case MEDIA_CONTAINER_MP3:
        return "mp3";
    case MEDIA_CONTAINER_AIFF:
        return "aiff";
    case MEDIA_CONTAINER_OGG:
        return "ogg";
    case MEDIA_CONTAINER_AMR:
        return "amr";
    case MEDIA_CONTAINER_AU:
        return "au";
    case MEDIA_CONTAINER_ASF:
        return "asf";
    default:
        return "?";
    }
}

std::string ProbedCodec(LONG nCodec)
{
    const std::pair<LONG, const char*> kNames[] = {
        {MEDIA_CODEC_PCM, "pcm_s16le"},     {MEDIA_CODEC_PCM_BE, "pcm_s16be"},
        {MEDIA_CODEC_ALAW, "pcm_alaw"},     {MEDIA_CODEC_MULAW, "pcm_mulaw"},
        {MEDIA_CODEC_MS_ADPCM, "adpcm_ms"}, {MEDIA_CODEC_IMA_ADPCM, "adpcm_ima_wav"},
        {MEDIA_CODEC_GSM_MS, "gsm_ms"},     {MEDIA_CODEC_AMR_NB, "amr_nb"},
        {MEDIA_CODEC_AMR_WB, "amr_wb"},     {MEDIA_CODEC_MP3, "mp3"},
        {MEDIA_CODEC_AAC, "aac"},           {MEDIA_CODEC_VORBIS, "vorbis"},
        {MEDIA_CODEC_WMA1, "wmav1"},        {MEDIA_CODEC_WMA2, "wmav2"},
    };
    for (const auto& name : kNames)
    {
        if (name.first == nCodec)
            return name.second;
    }
    return "?";
}

// Every codec, rate, channel count and bit rate the settings pages offer, in
// every format, records a second through the engine into a file that ffprobe
// reads as the profile says and the engine reads back with the format's
// container and the profile's codec. The pages are driven by the lists' own
// notifications: the matrix is too large for real clicks.
TEST_F(ProfilesEditorTest, EveryOfferOfTheSettingsPagesRecordsWhatItSays)
{
    struct Offer
    {
        int nFormat;
        FormatValues values;
        std::string strFile;
    };
    std::vector<Offer> offers;
    std::map<std::string, int> counts;  // format and codec name: the offers
    MakeManager(kWav, {});
    const std::string strFolder = m_unix + "/files";
    mkdir(strFolder.c_str(), 0755);
    const CString strWindowsFolder = WindowsFolder(strFolder);
    auto record = [&](int nFormat, const std::string& strKey) {
        CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
        const FormatValues v = SelectedValues(*m_pManager);
        char name[96];
        std::snprintf(name, sizeof name, "%d-%ld-%ld-%ld-%ld%s", nFormat, static_cast<long>(v.nCodec),
                      static_cast<long>(v.nRate), static_cast<long>(v.nChannels),
                      static_cast<long>(v.nBitrate),
                      AsciiOf(CString(g_AudioFormats[nFormat].pszExtension)).c_str());
        EXPECT_EQ(S_OK, RecordSecond(profile.Get(), g_AudioFormats[nFormat].nContainerType,
                                     strWindowsFolder + CString(name)))
            << name;
        offers.push_back(Offer{nFormat, v, strFolder + "/" + name});
        ++counts[strKey];
    };
    auto contains = [](const std::vector<std::string>& texts, const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    auto walkAudioPage = [&](int nFormat) {
        m_pManager->SetCurrentFormat(nFormat);
        Panel().RefreshList(TRUE);
        CAudioProfilesEditor& page = Panel().m_pageAudio;
        for (int c = 0; c < page.m_comboCodec.GetCount(); ++c)
        {
            Choose(page, page.m_comboCodec, IDC_AUDIO_CODEC, c);
            CString strCodec;
            page.m_comboCodec.GetLBText(c, strCodec);
            const std::string strKey =
                AsciiOf(CString(g_AudioFormats[nFormat].pszName)) + " " + AsciiOf(strCodec);
            counts[strKey] += 0;  // an offered codec that records nothing counts too
            CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(-1));
            CEngineRef<IMediaAudioFormat5> format = GetProfileAudioFormat(profile.Get());
            ASSERT_TRUE(format) << strKey;
            for (LONG nRate : {8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000})
            {
                for (LONG nChannels : {1, 2})
                {
                    // The bit rates offered with this rate and channel count;
                    // without bit rates, the rate and count must be offered.
                    format->SetSampleRate(nRate);
                    format->SetChannels(nChannels);
                    m_pManager->SetProfile(profile.Get(), -1);
                    page.SelectCurrent();
                    // Each entry stands for its kbit/s (the AMR modes for their whole kbit/s).
                    for (int b = 0; b < page.m_comboBitrate.GetCount(); ++b)
                    {
                        format->SetBitrate(static_cast<LONG>(page.m_comboBitrate.GetItemData(b)) * 1000);
                        m_pManager->SetProfile(profile.Get(), -1);
                        record(nFormat, strKey);
                    }
                    if (page.m_comboBitrate.GetCount() == 0 &&
                        contains(ComboTexts(page.m_comboFrequency), std::to_string(nRate)) &&
                        contains(ComboTexts(page.m_comboChannels), nChannels == 1 ? "Mono" : "Stereo"))
                        record(nFormat, strKey);
                }
            }
        }
    };
    std::vector<Step> steps = {Do([&] {
        for (int nFormat = 0; nFormat < AUDIO_FORMAT_COUNT; ++nFormat)
        {
            if (nFormat != AUDIO_FORMAT_WMA)
                walkAudioPage(nFormat);
        }
        m_pManager->SetCurrentFormat(AUDIO_FORMAT_WMA);
        Panel().RefreshList(TRUE);
        CWMAudioProfilesEditor& page = Panel().m_pageWM;
        for (int c = 0; c < page.m_comboCodec.GetCount(); ++c)
        {
            Choose(page, page.m_comboCodec, IDC_AUDIO_CODEC, c);
            CString strCodec;
            page.m_comboCodec.GetLBText(c, strCodec);
            counts["WMA " + AsciiOf(strCodec)] += 0;
            for (int f = 0; f < page.m_comboFormat.GetCount(); ++f)
            {
                Choose(page, page.m_comboFormat, IDC_WM_AUDIO_FORMAT, f);
                record(AUDIO_FORMAT_WMA, "WMA " + AsciiOf(strCodec));
            }
        }
        Press(VK_ESCAPE);
    })};
    RunEditor(std::move(steps));

    // What the engine records of each list: AAC has no room for high bit
    // rates at low sample rates, LAME's tables end at 160 kbit/s below 32 kHz
    // and at 64 below 16, M4A holds no MP3 below 16 kHz, Vorbis records a
    // band of bit rates around each rate.
    const std::map<std::string, int> kCounts = {
        {" AU PCM", 16},
        {" AU a-Law", 16},
        {" AU u-Law", 16},
        {"AAC AAC MPEG2/4", 147},
        {"AIFF PCM", 16},
        {"AIFF a-Law", 16},
        {"AIFF u-Law", 16},
        {"AMR AMR NB", 8},
        {"AMR AMR WB ACELP", 9},
        {"M4A AAC MPEG2/4", 147},
        {"M4A AMR NB", 8},
        {"M4A AMR WB ACELP", 9},
        {"M4A Mpeg Layer 3", 96},
        {"MP3 Mpeg Layer 3", 100},
        {"OGG Ogg Vorbis", 118},
        {"WAV GSM 6.10", 1},
        {"WAV IMA ADPCM", 16},
        {"WAV MS ADPCM", 16},
        {"WAV PCM", 16},
        {"WAV a-Law", 16},
        {"WAV u-Law", 16},
        {"WMA Windows Media Audio 1", 33},
        {"WMA Windows Media Audio 2", 33},
    };
    EXPECT_EQ(kCounts, counts);

    // The engine reads every file back; ffprobe reads the files that bring a
    // rate, channel count or bit rate new to their format and codec.
    std::map<std::string, std::set<LONG>> seen;
    std::string strProbed;
    for (const Offer& offer : offers)
    {
        SCOPED_TRACE(offer.strFile);
        const LONG nContainer = g_AudioFormats[offer.nFormat].nContainerType;
        const FormatValues& v = offer.values;
        WCHAR* pDos = wine_get_dos_file_name(offer.strFile.c_str());
        const std::pair<LONG, FormatValues> read = ReadBack(CString(pDos ? pDos : _T("")));
        HeapFree(GetProcessHeap(), 0, pDos);
        EXPECT_EQ(nContainer, read.first);
        EXPECT_EQ((FormatValues{v.nCodec, v.nRate, v.nChannels, 0}), read.second);
        const std::string strKey = std::to_string(offer.nFormat) + " " + std::to_string(v.nCodec);
        const bool bNew = seen[strKey + " r"].insert(v.nRate).second |
                          seen[strKey + " c"].insert(v.nChannels).second |
                          seen[strKey + " b"].insert(v.nBitrate).second;
        if (bNew)
            strProbed += " '" + offer.strFile + "'";
    }
    ASSERT_EQ(0, std::system(("printf '%s\\n'" + strProbed +
                              " | xargs -P 4 -I{} sh -c 'ffprobe -v error -show_entries "
                              "format=format_name,duration:stream=codec_name,sample_rate,channels,bit_rate "
                              "-of default=nw=1 {} > {}.probe'")
                                 .c_str()));
    int nProbed = 0;
    for (const Offer& offer : offers)
    {
        std::map<std::string, std::string> probe = ReadProbe(offer.strFile);
        if (probe.empty())
            continue;
        ++nProbed;
        SCOPED_TRACE(offer.strFile);
        const LONG nContainer = g_AudioFormats[offer.nFormat].nContainerType;
        const FormatValues& v = offer.values;
        EXPECT_EQ(ProbedContainer(nContainer), probe["format_name"]);
        EXPECT_EQ(ProbedCodec(v.nCodec), probe["codec_name"]);
        EXPECT_EQ(std::to_string(v.nRate), probe["sample_rate"]);
        EXPECT_EQ(std::to_string(v.nChannels), probe["channels"]);
        // The bit rate where the file states the encoder's: MP3 frames, the
        // Vorbis header, the ASF stream.
        if (nContainer == MEDIA_CONTAINER_MP3 || nContainer == MEDIA_CONTAINER_OGG ||
            nContainer == MEDIA_CONTAINER_ASF)
        {
            EXPECT_EQ(std::to_string(v.nBitrate), probe["bit_rate"]);
        }
        // AMR and ADTS files hold no length of their own.
        if (nContainer != MEDIA_CONTAINER_AMR && nContainer != MEDIA_CONTAINER_AAC_ADTS)
        {
            EXPECT_NEAR(1.0, std::atof(probe["duration"].c_str()), 0.2);
        }
    }
    EXPECT_LT(100, nProbed);
}

}  // namespace
