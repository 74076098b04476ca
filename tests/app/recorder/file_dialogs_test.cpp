// The file list's information and rename dialogs as a user meets them:
// opened by the recorder's buttons on the selected row, read line by line,
// and answered by real clicks and keys.
#include "recorder_test_support.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/files/FileDesc.h"
#include "app/profiles/ProfilesEditorResource.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/profiles/SondrelProfilesEditor.h"
#include "app/recorder/FileInfo.h"
#include "app/recorder/FileListResource.h"
#include "app/recorder/RenameFile.h"
#include "common/ApplicationBase.h"
#include "real_input.h"
#include "tests/app/shell/shell_test_support.h"

using namespace recordertest;

namespace {

using shelltest::ModalScript;
using Step = ModalScript::Step;

std::vector<std::string> Lines(const CString& text)
{
    std::vector<std::string> lines;
    std::string all = Narrow(text);
    size_t start = 0;
    for (size_t end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(all.substr(start, end - start));
    if (start < all.size())
        lines.push_back(all.substr(start) + "<no line end>");
    return lines;
}

}  // namespace

class FileDialogsTest : public RecorderTest
{
protected:
    CString MakeFile(const std::string& name, const std::string& ffmpegArgs)
    {
        std::string command =
            "ffmpeg -nostdin -loglevel error -y " + ffmpegArgs + " '" + m_folder.unix + "/" + name + "'";
        EXPECT_EQ(0, system(command.c_str())) << command;
        return m_folder.windows + CString(name.c_str());
    }
    void StoreList(const std::vector<CString>& paths)
    {
        std::ofstream out(m_folder.unix + "/filelist.xml");
        out << "<Files><Count>" << paths.size() << "</Count>";
        for (size_t i = 0; i < paths.size(); ++i)
            out << "<File-" << i << "><Path>" << Narrow(paths[i]) << "</Path></File-" << i << ">";
        out << "</Files>";
    }
    bool Exists(const std::string& name) const
    {
        struct stat st;
        return stat((m_folder.unix + "/" + name).c_str(), &st) == 0;
    }
    CListCtrl& List() { return m_pRecorder->m_listFiles; }
    void ClickRow(int nRow)
    {
        CRect rc;
        List().GetItemRect(nRow, &rc, LVIR_LABEL);
        List().ClientToScreen(&rc);
        MouseClickAt(POINT{rc.left + 8, rc.CenterPoint().y});
        PumpTranslated(::GetDoubleClickTime() + 50);
    }
    // The information dialog of the selected row, opened by its button;
    // its text as shown. Where the box shows it: the first line in view and
    // the selection.
    CString ShowInformation(int* pnFirstLine = nullptr, DWORD* pdwSelection = nullptr)
    {
        CString strText;
        ModalScript script({[&] {
                                CFileInfo* pInfo = shelltest::FindThreadWindow<CFileInfo>();
                                if (!pInfo)
                                    return false;
                                pInfo->m_editInfo.GetWindowText(strText);
                                if (pnFirstLine)
                                    *pnFirstLine = pInfo->m_editInfo.GetFirstVisibleLine();
                                if (pdwSelection)
                                    *pdwSelection = pInfo->m_editInfo.GetSel();
                                ::SetForegroundWindow(pInfo->m_hWnd);
                                shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pInfo->m_hWnd, IDOK)));
                                return true;
                            },
                            [] { return shelltest::FindThreadWindow<CFileInfo>() == nullptr; }});
        ClickControl(*m_pRecorder, IDC_FILE_INFORMATION);
        PumpTranslated(100);
        EXPECT_FALSE(script.Stalled());
        EXPECT_TRUE(script.Finished());
        return strText;
    }
    // The information dialog of a description, shown on its own; its text.
    static CString InformationText(CFileDesc* pDesc)
    {
        CString strText;
        ModalScript script({[&] {
            CFileInfo* pInfo = shelltest::FindThreadWindow<CFileInfo>();
            if (!pInfo)
                return false;
            pInfo->m_editInfo.GetWindowText(strText);
            // Queued whole for the dialog's own loop: Enter is its Close.
            SendKey(VK_RETURN, false);
            SendKey(VK_RETURN, true);
            return true;
        }});
        CFileInfo dialog(nullptr);
        dialog.m_pFileDesc = pDesc;
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_FALSE(script.Stalled());
        return strText;
    }
};

namespace {

// Steps that wait for the rename dialog.
CRenameFile* RenameDialog()
{
    return shelltest::FindThreadWindow<CRenameFile>();
}

Step ClickInRename(UINT nID)
{
    return [nID] {
        CRenameFile* pDialog = RenameDialog();
        if (!pDialog)
            return false;
        ::SetForegroundWindow(pDialog->m_hWnd);
        shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pDialog->m_hWnd, nID)));
        return true;
    };
}

Step RenameTextIs(std::string text)
{
    return [text] {
        CRenameFile* pDialog = RenameDialog();
        if (!pDialog || ::GetFocus() != pDialog->m_editName.m_hWnd)
            return false;
        CString s;
        pDialog->m_editName.GetWindowText(s);
        return Narrow(s) == text;
    };
}

Step Keys(std::initializer_list<WORD> keys)
{
    std::vector<WORD> copy(keys);
    return [copy] {
        for (WORD wKey : copy)
        {
            SendKey(wKey, false);
            SendKey(wKey, true);
        }
        return true;
    };
}

// Types a name on the US layout: letters, digits, '.', and the characters
// no file name may hold, with Shift where they need it.
Step Type(std::string text)
{
    return [text] {
        static const struct
        {
            char c;
            WORD wKey;
        } kShifted[] = {{'*', '8'},          {'?', VK_OEM_2},      {'"', VK_OEM_7},
                        {'<', VK_OEM_COMMA}, {'>', VK_OEM_PERIOD}, {'|', VK_OEM_5}};
        for (char c : text)
        {
            WORD wKey = c == '.' ? VK_OEM_PERIOD : static_cast<WORD>(toupper(static_cast<unsigned char>(c)));
            bool bShift = false;
            for (const auto& shifted : kShifted)
                if (shifted.c == c)
                {
                    wKey = shifted.wKey;
                    bShift = true;
                }
            if (bShift)
                SendKey(VK_SHIFT, false);
            SendKey(wKey, false);
            SendKey(wKey, true);
            if (bShift)
                SendKey(VK_SHIFT, true);
        }
        return true;
    };
}

// Waits for a message over the rename dialog, keeps its text and answers it.
Step AnswerMessage(CString* pText)
{
    return [pText] {
        CQVTTaskDialog* pBox = shelltest::FindThreadWindow<CQVTTaskDialog>();
        if (!pBox || !::IsWindowVisible(::GetDlgItem(pBox->m_hWnd, IDOK)))
            return false;
        *pText = pBox->GetConfiguration().pszContent;
        ::SetForegroundWindow(pBox->m_hWnd);
        shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pBox->m_hWnd, IDOK)));
        return true;
    };
}

TEST_F(FileDialogsTest, InformationShowsATaggedMp3LineByLine)
{
    CString path =
        MakeFile("tagged.mp3", "-f lavfi -i sine=duration=2 -ac 2 -ar 44100 -b:a 128k -metadata title=Tune "
                               "-metadata artist=Someone -metadata album=Record -metadata genre=Folk "
                               "-metadata date=2019 -metadata comment=Quiet -metadata copyright=Owner "
                               "-metadata track=7");
    StoreList({path});
    OpenRecorder();
    ASSERT_EQ(1, List().GetItemCount());
    ClickRow(0);
    int nFirstLine = -1;
    DWORD dwSelection = 1;
    CString text = ShowInformation(&nFirstLine, &dwSelection);
    // It opens at its first line, nothing selected: the name and size in view.
    EXPECT_EQ(0, nFirstLine);
    EXPECT_EQ(0u, dwSelection);
    CFileDesc* pItem = m_pRecorder->GetRowItem(0);
    ASSERT_TRUE(pItem && pItem->m_audio.size() == 1u);
    struct stat st;
    ASSERT_EQ(0, stat((m_folder.unix + "/tagged.mp3").c_str(), &st));
    char size[32];
    snprintf(size, sizeof size, "%.2f Kb", st.st_size / 1024.0);
    std::vector<std::string> expected = {
        "File name:\t" + Narrow(path), std::string("File size:\t\t") + size,
        "Audio track:\t1/1",           "\t\tLanguage:\t" + Narrow(pItem->m_audio[0].strName),
        "\t\tFrequency:\t44100 Hz",    "\t\tChannels:\t2",
        "\t\tBitrate:\t\t128 kbps",    "\t\tCodec:\t\t" + Narrow(pItem->m_audio[0].strCodecName),
        "\t\tDuration:\t\t00:02",      "",
        "Media description:",          "\t\tTrack:\t\t7",
        "\t\tTitle:\t\tTune",          "\t\tAuthor:\t\tSomeone",
        "\t\tAlbum:\t\tRecord",        "\t\tGenre:\t\tFolk",
        "\t\tYear:\t\t2019",           "\t\tComment:\tQuiet",
        "\t\tCopyright:\tOwner"};
    EXPECT_EQ(expected, Lines(text));
    EXPECT_EQ("Track 1", Narrow(pItem->m_audio[0].strName));
}

TEST_F(FileDialogsTest, InformationSizesAndAFileThatIsGone)
{
    const std::pair<int, const char*> sizes[] = {
        {1023, "1023 Bytes"}, {1024, "1 Kb"}, {1536, "1.50 Kb"}, {1048576, "1 Mb"}};
    for (const auto& size : sizes)
    {
        SCOPED_TRACE(size.first);
        std::string name = "size" + std::to_string(size.first) + ".bin";
        {
            std::ofstream out(m_folder.unix + "/" + name, std::ios::binary);
            out << std::string(size.first, 'x');
        }
        CFileDesc desc;
        desc.m_strPath = m_folder.windows + CString(name.c_str());
        const CString text = InformationText(&desc);
        // Neither streams nor tags: the name and size lines only.
        EXPECT_EQ((std::vector<std::string>{"File name:\t" + Narrow(desc.m_strPath),
                                            std::string("File size:\t\t") + size.second}),
                  Lines(text));
        if (size.first == 1023)
        {
            // Gone since: still shown, with no size.
            ::DeleteFileW(desc.m_strPath);
            EXPECT_EQ(
                (std::vector<std::string>{"File name:\t" + Narrow(desc.m_strPath), "File size:\t\t0 Bytes"}),
                Lines(CFileInfo::BuildText(desc)));
        }
    }
}

TEST_F(FileDialogsTest, InformationShowsEachVideoStreamWithADashForAnAspectMissingATerm)
{
    // A clip as the engine reads it: 720 by 576 pixels shown at 16:9.
    CString path = MakeFile("clip.avi", "-f lavfi -i testsrc=duration=2:size=720x576:rate=25 -f lavfi -i "
                                        "sine=duration=2 -aspect 16:9 -c:v mpeg4 -b:v 300k -c:a libmp3lame "
                                        "-shortest");
    CFileDescRef clip(new CFileDesc);
    ASSERT_EQ(S_OK, clip->ReadDescription(path));
    ASSERT_EQ(1u, clip->m_video.size());
    const CString text = InformationText(clip.Get());
    const CVideoStreamDesc& video = clip->m_video[0];
    const std::vector<std::string> expected = {"Video track:\t1/1",
                                               "\t\tWidth:\t\t720 pixels",
                                               "\t\tHeight:\t\t576 pixels",
                                               "\t\tFramerate:\t25 fps",
                                               "\t\tBitrate:\t\t" + std::to_string(video.nBitrate / 1000) +
                                                   " kbps",
                                               "\t\tAspect:\t\t16:9",
                                               "\t\tCodec:\t\t" + Narrow(video.strCodecName),
                                               "\t\tDuration:\t\t00:02",
                                               "",
                                               "Audio track:\t1/1"};
    std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(expected, std::vector<std::string>(lines.begin() + 2, lines.begin() + 12));
    EXPECT_GT(video.nBitrate, 0);

    // Streams as a file may describe them: an aspect with either term 0
    // is unknown; rates keep their decimals only when they have some, and
    // bit rates beyond 32 bits are shown whole.
    const struct
    {
        LONG nAspectX, nAspectY;
        double dFrameRate;
        LONGLONG nBitrate;
        const char* pszAspect;
        const char* pszFrameRate;
        const char* pszBitrate;
    } rows[] = {
        {16, 0, 29.97, 1999999, "-", "29.97", "1999"},
        {0, 9, 25.0, 64000, "-", "25", "64"},
        {0, 0, 23.976, 999, "-", "23.98", "0"},
        {4, 3, 50.0, 5000000000LL, "4:3", "50", "5000000"},
    };
    CFileDesc desc;
    desc.m_strPath = path;
    for (const auto& row : rows)
    {
        CVideoStreamDesc stream;
        stream.nAspectX = row.nAspectX;
        stream.nAspectY = row.nAspectY;
        stream.dFrameRate = row.dFrameRate;
        stream.nBitrate = row.nBitrate;
        desc.m_video.push_back(stream);
    }
    std::vector<std::string> tracks, aspects, rates, bitrates;
    for (const std::string& line : Lines(CFileInfo::BuildText(desc)))
    {
        if (line.rfind("Video track:\t", 0) == 0)
            tracks.push_back(line.substr(13));
        else if (line.rfind("\t\tAspect:\t\t", 0) == 0)
            aspects.push_back(line.substr(11));
        else if (line.rfind("\t\tFramerate:\t", 0) == 0)
            rates.push_back(line.substr(13));
        else if (line.rfind("\t\tBitrate:\t\t", 0) == 0)
            bitrates.push_back(line.substr(12));
    }
    EXPECT_EQ((std::vector<std::string>{"1/4", "2/4", "3/4", "4/4"}), tracks);
    for (size_t i = 0; i < std::size(rows); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::string(rows[i].pszAspect), i < aspects.size() ? aspects[i] : "");
        EXPECT_EQ(std::string(rows[i].pszFrameRate) + " fps", i < rates.size() ? rates[i] : "");
        EXPECT_EQ(std::string(rows[i].pszBitrate) + " kbps", i < bitrates.size() ? bitrates[i] : "");
    }
}

TEST_F(FileDialogsTest, RenameCancelsRefusesBadNamesAndRenamesOnOk)
{
    MakeFile("a.wav", "-f lavfi -i sine=duration=1");
    StoreList({m_folder.windows + _T("a.wav")});
    OpenRecorder();
    ASSERT_EQ(1, List().GetItemCount());
    ClickRow(0);

    // Cancel: whatever was typed, nothing changes.
    {
        ModalScript script({ClickInRename(IDC_RENAME_NAME), RenameTextIs("a.wav"),
                            Keys({VK_HOME, VK_DELETE, 'C'}), RenameTextIs("c.wav"), ClickInRename(IDCANCEL),
                            [] { return RenameDialog() == nullptr; }});
        ClickControl(*m_pRecorder, IDC_RENAME_FILE);
        PumpTranslated(100);
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.Stalled());
    }
    EXPECT_TRUE(Exists("a.wav"));
    EXPECT_FALSE(Exists("c.wav"));
    EXPECT_EQ("a.wav", Narrow(List().GetItemText(0, 1)));

    // An empty name and one with a folder are refused with a message, and
    // the dialog stays for a better one.
    CString strEmptyRefused, strFolderRefused;
    {
        ModalScript script(
            {ClickInRename(IDC_RENAME_NAME), RenameTextIs("a.wav"), Keys({VK_END}),
             Keys({VK_BACK, VK_BACK, VK_BACK, VK_BACK, VK_BACK}), RenameTextIs(""), ClickInRename(IDOK),
             AnswerMessage(&strEmptyRefused),
             [] {
                 return RenameDialog() != nullptr && shelltest::FindThreadWindow<CQVTTaskDialog>() == nullptr;
             },
             ClickInRename(IDC_RENAME_NAME), Keys({'D', VK_OEM_2, 'E', VK_OEM_PERIOD, 'W', 'A', 'V'}),
             RenameTextIs("d/e.wav"), ClickInRename(IDOK), AnswerMessage(&strFolderRefused),
             [] {
                 return RenameDialog() != nullptr && shelltest::FindThreadWindow<CQVTTaskDialog>() == nullptr;
             },
             ClickInRename(IDC_RENAME_NAME), Keys({VK_HOME, VK_DELETE, VK_DELETE}), RenameTextIs("e.wav"),
             ClickInRename(IDOK), [] { return RenameDialog() == nullptr; }});
        ClickControl(*m_pRecorder, IDC_RENAME_FILE);
        PumpTranslated(100);
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.Stalled());
    }
    EXPECT_FALSE(strEmptyRefused.IsEmpty());
    EXPECT_FALSE(strFolderRefused.IsEmpty());
    EXPECT_FALSE(Exists("a.wav"));
    EXPECT_TRUE(Exists("e.wav"));
    EXPECT_EQ("e.wav", Narrow(List().GetItemText(0, 1)));
}

TEST_F(FileDialogsTest, EditProfilesOpensTheEditorOnTheFormatAndTheListShowsItsEdits)
{
    OpenRecorder();
    CSondrelProfileManager* pManager = m_pRecorder->GetProfileManager();
    const int nBefore = pManager->GetProfileCount();
    ASSERT_EQ(nBefore, m_pRecorder->m_comboProfiles.GetCount());
    int nShown = -1;
    ModalScript script(
        {[&] {
             CSondrelProfilesEditor* pEditor = shelltest::FindThreadWindow<CSondrelProfilesEditor>();
             if (!pEditor || !pEditor->m_panel.m_hWnd)
                 return false;
             nShown = pEditor->m_panel.m_listProfiles.GetCount();
             ::SetForegroundWindow(pEditor->m_hWnd);
             shelltest::QueueClickAt(WindowCentre(::GetDlgItem(pEditor->m_panel.m_hWnd, IDC_PROFILE_ADD)));
             return true;
         },
         [&] { return pManager->GetProfileCount() == nBefore + 1; },
         [&] {
             SendKey(VK_ESCAPE, false);
             SendKey(VK_ESCAPE, true);
             return true;
         },
         [] { return shelltest::FindThreadWindow<CSondrelProfilesEditor>() == nullptr; }});
    ClickControl(*m_pRecorder, IDC_EDIT_PROFILES);
    PumpTranslated(100);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(nBefore, nShown);
    // Closed without saving: the recorder's list shows the added profile, selected.
    EXPECT_EQ(nBefore + 1, m_pRecorder->m_comboProfiles.GetCount());
    EXPECT_EQ(nBefore, m_pRecorder->m_comboProfiles.GetCurSel());
}

}  // namespace

TEST_F(FileDialogsTest, RenameSaysWhatWentWrongAndKeepsTheDialogForAnotherName)
{
    CString a = MakeFile("a.wav", "-f lavfi -i sine=duration=1");
    StoreList({a});
    OpenRecorder();
    ASSERT_EQ(1, List().GetItemCount());
    ClickRow(0);

    HANDLE hHeld = INVALID_HANDLE_VALUE;
    struct Try
    {
        const char* pszName;
        std::function<void()> before;  // what happens behind the program's back
        UINT nMessage;
    };
    const Try tries[] = {
        {"x*.wav", nullptr, IDS_RENAME_BAD_NAME},
        {"x?.wav", nullptr, IDS_RENAME_BAD_NAME},
        {"x\".wav", nullptr, IDS_RENAME_BAD_NAME},
        {"x<.wav", nullptr, IDS_RENAME_BAD_NAME},
        {"x>.wav", nullptr, IDS_RENAME_BAD_NAME},
        {"x|.wav", nullptr, IDS_RENAME_BAD_NAME},
        {"b.wav",
         [&] { hHeld = ::CreateFileW(a, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr); },
         IDS_RENAME_IN_USE},
        {"b.wav",
         [&] {
             ::CloseHandle(hHeld);
             ::rename((m_folder.unix + "/a.wav").c_str(), (m_folder.unix + "/away.wav").c_str());
         },
         IDS_RENAME_GONE},
    };
    std::vector<CString> messages(std::size(tries));
    std::vector<Step> steps = {ClickInRename(IDC_RENAME_NAME), RenameTextIs("a.wav"), Keys({VK_END})};
    for (size_t i = 0; i < std::size(tries); ++i)
    {
        const Try& t = tries[i];
        // The text is whole selected after each refusal; the first time by Shift+Home.
        if (i == 0)
            steps.push_back([] {
                SendKey(VK_SHIFT, false);
                SendKey(VK_HOME, false);
                SendKey(VK_HOME, true);
                SendKey(VK_SHIFT, true);
                return true;
            });
        steps.push_back([&t] {
            if (t.before)
                t.before();
            return true;
        });
        steps.push_back(Type(t.pszName));
        steps.push_back(RenameTextIs(t.pszName));
        steps.push_back(ClickInRename(IDOK));
        steps.push_back(AnswerMessage(&messages[i]));
        steps.push_back([] {
            return RenameDialog() != nullptr && shelltest::FindThreadWindow<CQVTTaskDialog>() == nullptr;
        });
    }
    // Back in place, the same name goes through.
    steps.push_back([this] {
        ::rename((m_folder.unix + "/away.wav").c_str(), (m_folder.unix + "/a.wav").c_str());
        return true;
    });
    steps.push_back(Type("b.wav"));
    steps.push_back(RenameTextIs("b.wav"));
    steps.push_back(ClickInRename(IDOK));
    steps.push_back([] { return RenameDialog() == nullptr; });
    {
        ModalScript script(std::move(steps));
        ClickControl(*m_pRecorder, IDC_RENAME_FILE);
        PumpTranslated(100);
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.Stalled());
    }
    for (size_t i = 0; i < std::size(tries); ++i)
        EXPECT_EQ(Narrow(LoadAppString(tries[i].nMessage)), Narrow(messages[i])) << tries[i].pszName;
    EXPECT_FALSE(Exists("a.wav"));
    EXPECT_TRUE(Exists("b.wav"));
    EXPECT_EQ("b.wav", Narrow(List().GetItemText(0, 1)));
}
