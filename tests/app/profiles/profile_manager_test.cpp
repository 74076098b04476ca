// The format table and the profile manager: shipped and user files, default
// profiles, edits that survive a reload, and a user file that cannot be read.
#include "sondrel_gtest.h"

#include <afx.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/formats/AudioFormats.h"
#include "app/profiles/SondrelProfileManager.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out.push_back(static_cast<char>(s[i]));
    return out;
}

TEST(AudioFormats, CommandsFindTheirRowsAndTheOrderVisitsEachFormatOnce)
{
    EXPECT_EQ(0, FindAudioFormatByCommand(25100));
    EXPECT_EQ(8, FindAudioFormatByCommand(25108));
    EXPECT_EQ(-1, FindAudioFormatByCommand(25109));
    EXPECT_EQ(-1, FindAudioFormatByCommand(0));
    std::set<int> seen(std::begin(g_AudioFormatOrder), std::end(g_AudioFormatOrder));
    EXPECT_EQ(9u, seen.size());
    EXPECT_EQ(0, *seen.begin());
    EXPECT_EQ(8, *seen.rbegin());
    EXPECT_EQ(CString(_T("MP3")), CString(g_AudioFormats[g_AudioFormatOrder[0]].pszName));
    EXPECT_EQ(CString(_T("WAV")), CString(g_AudioFormats[g_AudioFormatOrder[8]].pszName));
    // Spellings that stored files and recordings rely on.
    EXPECT_EQ(CString(_T(".aif")), CString(g_AudioFormats[5].pszExtension));
    EXPECT_EQ(CString(_T("MP4Profiles.prop")), CString(g_AudioFormats[3].pszProfilesFile));
    EXPECT_EQ(CString(_T(" AU")), CString(g_AudioFormats[8].pszName));
}

}  // namespace

class ProfileManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        char pattern[] = "/tmp/sondrel-profiles-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_TRUE(made);
        m_unix = made;
        mkdir((m_unix + "/exe").c_str(), 0755);
        mkdir((m_unix + "/exe/SondrelProfiles").c_str(), 0755);
        mkdir((m_unix + "/appdata").c_str(), 0755);
        m_exe = WindowsPath(m_unix + "/exe");
        m_appData = WindowsPath(m_unix + "/appdata");
    }
    void TearDown() override
    {
        std::system(("rm -rf '" + m_unix + "'").c_str());
        CoUninitialize();
    }

    static CString WindowsPath(const std::string& unix)
    {
        WCHAR* dos = wine_get_dos_file_name(unix.c_str());
        CString s(dos ? dos : _T(""));
        HeapFree(GetProcessHeap(), 0, dos);
        return s + _T("\\");
    }

    std::unique_ptr<CSondrelProfileManager> Make()
    {
        return std::make_unique<CSondrelProfileManager>(_T("Sondrel"), _T("SondrelProfiles"), m_exe,
                                                        m_appData);
    }

    std::string UserFile(int nFormat) const
    {
        return m_unix + "/appdata/Quorvane/Sondrel/" + Narrow(g_AudioFormats[nFormat].pszProfilesFile);
    }
    std::string ShippedFile(int nFormat) const
    {
        return m_unix + "/exe/SondrelProfiles/" + Narrow(g_AudioFormats[nFormat].pszProfilesFile);
    }

    // A profile file of the format holding profiles with these names.
    void WriteProfiles(int nFormat, const CString& strWindowsPath, const std::vector<CString>& names)
    {
        CEngineRef<IMediaProfileCollection5> collection;
        ASSERT_EQ(S_OK, CreateEngineObject(CLSID_MediaProfileCollection5, IID_IMediaProfileCollection5,
                                           collection));
        auto manager =
            std::make_unique<CSondrelProfileManager>(_T("Scratch"), _T("Nothing"), m_exe, m_appData);
        manager->SetCurrentFormat(nFormat);
        for (const CString& name : names)
        {
            // A fresh bag per name, so the file holds distinct profiles.
            manager->AddDefaultProfile(-1);
            CEngineRef<IMediaPropertyBag5> added(manager->GetProfile(manager->GetProfileCount() - 1));
            added->SetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, CEngineString(name),
                             MEDIA_PROPFLAG_PROFILE);
            collection->Insert(-1, added.Get());
        }
        ASSERT_EQ(S_OK, collection->Save(CEngineString(strWindowsPath)));
    }

    static CString NameOf(IMediaPropertyBag5* pProfile)
    {
        BSTR b = nullptr;
        if (!pProfile || FAILED(pProfile->GetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, &b)))
            return CString(_T("<none>"));
        return TakeEngineString(b);
    }

    static CEngineRef<IMediaAudioFormat5> FormatOf(IMediaPropertyBag5* pProfile)
    {
        CEngineRef<IMediaPropertyBag5> stream;
        CEngineRef<IMediaAudioFormat5> format;
        if (pProfile && SUCCEEDED(pProfile->GetObject(CEngineString(MEDIA_PROP_AUDIO_STREAM_INFO), 0,
                                                      IID_IMediaPropertyBag5, stream.OutVoid())))
            stream->GetObject(CEngineString(MEDIA_PROP_AV_FORMAT), 0, IID_IMediaAudioFormat5,
                              format.OutVoid());
        return format;
    }

    std::string m_unix;
    CString m_exe;
    CString m_appData;
};

namespace {

TEST_F(ProfileManager, AFirstRunReadsTheShippedFilesAndWritesDefaultsForTheOthers)
{
    WriteProfiles(0, WindowsPath(m_unix + "/exe/SondrelProfiles") + _T("MP3Profiles.prop"),
                  {_T("Shipped A"), _T("Shipped B")});
    std::system(("rm -rf '" + m_unix + "/appdata/Quorvane'").c_str());
    auto manager = Make();
    EXPECT_EQ(-1, manager->GetCurrentFormat());
    EXPECT_EQ(0, manager->GetProfileCount());
    EXPECT_EQ(nullptr, manager->GetProfile(0));

    manager->SetCurrentFormat(0);
    ASSERT_EQ(2, manager->GetProfileCount());
    CEngineRef<IMediaPropertyBag5> second(manager->GetProfile(1));
    EXPECT_EQ(CString(_T("Shipped B")), NameOf(second.Get()));
    EXPECT_FALSE(Exists(UserFile(0))) << "a loaded shipped file is not copied";

    const char* defaults[] = {nullptr,
                              "PCM - 44100 Hz, Stereo",
                              "AAC - 44100 Hz, Stereo",
                              "AAC - 44100 Hz, Stereo",
                              "PCM - 44100 Hz, Stereo",
                              "a-Law - 44100 Hz, Stereo",
                              "Vorbis - 44100 Hz, Stereo",
                              "AMR-NB - 8000 Hz, Mono",
                              "a-Law - 44100 Hz, Stereo"};
    for (int f = 1; f < AUDIO_FORMAT_COUNT; ++f)
    {
        SCOPED_TRACE(f);
        EXPECT_TRUE(Exists(UserFile(f)));
        manager->SetCurrentFormat(f);
        if (f == AUDIO_FORMAT_WMA && manager->GetWMCodecCount() == 0)
        {
            EXPECT_EQ(0, manager->GetProfileCount());
            continue;
        }
        ASSERT_EQ(1, manager->GetProfileCount());
        CEngineRef<IMediaPropertyBag5> profile(manager->GetProfile(-1));
        EXPECT_EQ(defaults[f], Narrow(NameOf(profile.Get())));
        EXPECT_TRUE(FormatOf(profile.Get()));
    }
}

TEST_F(ProfileManager, AUserFileIsReadInsteadOfTheShippedOne)
{
    WriteProfiles(0, WindowsPath(m_unix + "/exe/SondrelProfiles") + _T("MP3Profiles.prop"),
                  {_T("Shipped A"), _T("Shipped B")});
    mkdir((m_unix + "/appdata/Quorvane").c_str(), 0755);
    mkdir((m_unix + "/appdata/Quorvane/Sondrel").c_str(), 0755);
    WriteProfiles(0, WindowsPath(m_unix + "/appdata/Quorvane/Sondrel") + _T("MP3Profiles.prop"),
                  {_T("Mine")});
    auto manager = Make();
    manager->SetCurrentFormat(0);
    ASSERT_EQ(1, manager->GetProfileCount());
    CEngineRef<IMediaPropertyBag5> profile(manager->GetProfile(-1));
    EXPECT_EQ(CString(_T("Mine")), NameOf(profile.Get()));
}

TEST_F(ProfileManager, AnEditedFileReloadsIdentically)
{
    std::string saved;
    {
        auto manager = Make();
        manager->SetCurrentFormat(0);
        CEngineRef<IMediaPropertyBag5> profile(manager->GetProfile(0));
        ASSERT_TRUE(profile);
        profile->SetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0,
                           CEngineString(_T("Edited, \"quoted\" \u00e9")), MEDIA_PROPFLAG_PROFILE);
        FormatOf(profile.Get())->SetBitrate(192000);
        FormatOf(profile.Get())->SetChannels(1);
        manager->AddDefaultProfile(0);
        manager->MoveProfile(1, 0);
        manager->SaveProfiles();
        saved = ReadFile(UserFile(0));
    }
    ASSERT_FALSE(saved.empty());
    auto manager = Make();
    manager->SetCurrentFormat(0);
    ASSERT_EQ(2, manager->GetProfileCount());
    CEngineRef<IMediaPropertyBag5> edited(manager->GetProfile(0));
    EXPECT_EQ(CString(_T("Edited, \"quoted\" \u00e9")), NameOf(edited.Get()));
    LONG nBitrate = 0, nChannels = 0, nRate = 0;
    CEngineRef<IMediaAudioFormat5> format = FormatOf(edited.Get());
    ASSERT_TRUE(format);
    format->GetBitrate(&nBitrate);
    format->GetChannels(&nChannels);
    format->GetSampleRate(&nRate);
    EXPECT_EQ(192000, nBitrate);
    EXPECT_EQ(1, nChannels);
    EXPECT_EQ(44100, nRate);
    CEngineRef<IMediaPropertyBag5> added(manager->GetProfile(1));
    EXPECT_EQ(CString(_T("MP3 - 44100 Hz, Stereo")), NameOf(added.Get()));
    // Saved again unchanged, the file is the same byte for byte.
    manager->SaveProfiles();
    EXPECT_EQ(saved, ReadFile(UserFile(0)));
}

TEST_F(ProfileManager, AnUnreadableUserFileIsReportedAndKept)
{
    mkdir((m_unix + "/appdata/Quorvane").c_str(), 0755);
    mkdir((m_unix + "/appdata/Quorvane/Sondrel").c_str(), 0755);
    const std::string damaged = "this is not a profile file\n\x01\x02";
    {
        std::ofstream out(UserFile(0), std::ios::binary);
        out << damaged;
    }
    auto manager = Make();
    manager->SetCurrentFormat(0);
    EXPECT_FALSE(manager->GetLoadError().IsEmpty());
    EXPECT_EQ(1, manager->GetProfileCount()) << "the defaults stand in for this run";
    EXPECT_EQ(damaged, ReadFile(UserFile(0)));

    manager->RestoreProfiles();
    EXPECT_FALSE(manager->GetLoadError().IsEmpty());
    EXPECT_EQ(damaged, ReadFile(UserFile(0)));

    manager->SetCurrentFormat(4);
    EXPECT_TRUE(manager->GetLoadError().IsEmpty());
}

TEST_F(ProfileManager, RemovingTheLastProfileLeavesTheDefaultAndSelectionsStayInRange)
{
    auto manager = Make();
    manager->SetCurrentFormat(7);
    ASSERT_EQ(1, manager->GetProfileCount());
    manager->AddDefaultProfile(-1);
    EXPECT_EQ(2, manager->GetProfileCount());
    manager->RemoveProfile(0);
    manager->RemoveProfile(0);
    ASSERT_EQ(1, manager->GetProfileCount());
    CEngineRef<IMediaPropertyBag5> profile(manager->GetProfile(-1));
    EXPECT_EQ(CString(_T("AMR-NB - 8000 Hz, Mono")), NameOf(profile.Get()));

    manager->SetCurrentProfileIndex(1);
    EXPECT_EQ(1, manager->GetCurrentProfileIndex());
    EXPECT_EQ(nullptr, manager->GetProfile(-1));
    manager->SetCurrentFormat(0);
    EXPECT_EQ(0, manager->GetCurrentProfileIndex()) << "selections are kept per format";
}

}  // namespace
