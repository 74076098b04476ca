// File descriptions of real files, made by ffmpeg and read through the
// engine as the file list reads them.
#include "tests/app/recording/recording_test_support.h"

#include <sys/stat.h>

#include "app/files/FileDesc.h"

using namespace app_test;

class FileDescTest : public ComTest
{
protected:
    // Runs ffmpeg quietly into the scratch folder; the Windows path back.
    CString Make(const std::string& name, const std::string& args)
    {
        std::string path = m_folder.unix + "/" + name;
        std::string command = "ffmpeg -nostdin -loglevel error -y " + args + " '" + path + "'";
        EXPECT_EQ(0, RunShell(command)) << command;
        return m_folder.windows + CString(name.c_str());
    }
    CString WriteBytes(const std::string& name, const std::string& bytes)
    {
        std::string path = m_folder.unix + "/" + name;
        FILE* f = fopen(path.c_str(), "wb");
        EXPECT_TRUE(f != nullptr);
        if (f)
        {
            fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        return m_folder.windows + CString(name.c_str());
    }

    ScratchFolder m_folder;
};

namespace {

const char kSine3sStereo[] = "-f lavfi -i sine=frequency=440:duration=3 -ac 2 -ar 44100 ";

TEST_F(FileDescTest, AnMp3IsDescribedFromItsStreamAndTags)
{
    CString path = Make("take.mp3", std::string(kSine3sStereo) +
                                        "-c:a libmp3lame -b:a 128k -metadata title='  Morning Take  ' "
                                        "-metadata artist=' Someone '");
    CFileDescRef desc(new CFileDesc);
    ASSERT_EQ(S_OK, desc->ReadDescription(path));
    EXPECT_TRUE(desc->m_bRead);
    EXPECT_EQ(path, desc->m_strPath);
    EXPECT_EQ(CString(_T("Morning Take")), desc->m_strTitle);
    EXPECT_EQ(CString(_T("Someone")), desc->m_strArtist);
    EXPECT_EQ(MEDIA_CONTAINER_MP3, desc->m_nContainerType);
    EXPECT_TRUE(desc->m_bLimits);  // neither AAC nor a simple container
    EXPECT_TRUE(desc->m_bSeekable);
    EXPECT_EQ(0, desc->m_nVideoCount);
    ASSERT_EQ(1, desc->m_nAudioCount);
    const CAudioStreamDesc* audio = desc->GetSelectedAudio();
    ASSERT_TRUE(audio != nullptr);
    EXPECT_EQ(CString(_T("Track 1")), audio->strName);
    EXPECT_FALSE(audio->strCodecName.IsEmpty());
    EXPECT_EQ(44100, audio->nSampleRate);
    EXPECT_EQ(2, audio->nChannels);
    EXPECT_NEAR(128000, audio->nBitrate, 8000);
    EXPECT_NEAR(3000, audio->dDuration, 100);
    EXPECT_EQ((LONG)(audio->dDuration / 1000), audio->nSeconds);
    EXPECT_EQ(audio->dDuration, desc->m_dDuration);
    EXPECT_EQ(audio->dDuration, desc->GetAudioDuration());
    EXPECT_TRUE(desc->GetSelectedVideo() == nullptr);
}

TEST_F(FileDescTest, SimpleAacIsWithinLimitsAndFiveChannelsAreNot)
{
    CString m4a = Make("simple.m4a", std::string(kSine3sStereo) + "-c:a aac -b:a 128k");
    CFileDescRef simple(new CFileDesc);
    ASSERT_EQ(S_OK, simple->ReadDescription(m4a));
    EXPECT_EQ(MEDIA_CONTAINER_MP4, simple->m_nContainerType);
    EXPECT_FALSE(simple->m_bLimits);

    CString wide = Make("wide.m4a", "-f lavfi -i sine=duration=1 -ac 5 -ar 44100 -c:a aac -b:a 128k");
    CFileDescRef five(new CFileDesc);
    ASSERT_EQ(S_OK, five->ReadDescription(wide));
    ASSERT_TRUE(five->GetSelectedAudio() != nullptr);
    EXPECT_EQ(5, five->GetSelectedAudio()->nChannels);
    EXPECT_TRUE(five->m_bLimits);
}

TEST_F(FileDescTest, TheSimpleLimitsHoldUpToTheirEdgesAndNoFurther)
{
    const std::string kPicture = "-f lavfi -i testsrc=duration=1:rate=10:size=";
    const std::string kSound = " -f lavfi -i sine=duration=1 -c:v mpeg4 -c:a aac -b:a 96k -shortest ";
    const struct
    {
        const char* pszName;
        std::string strArgs;
        BOOL bLimits;
    } rows[] = {
        {"vga.m4a", kPicture + "640x480" + kSound + "-ar 48000 -ac 2", FALSE},
        {"wider.m4a", kPicture + "641x480" + kSound + "-ar 48000 -ac 2", TRUE},
        {"taller.m4a", kPicture + "640x481" + kSound + "-ar 48000 -ac 2", TRUE},
        {"faster.m4a", "-f lavfi -i sine=duration=1 -c:a aac -b:a 96k -ar 64000 -ac 2", TRUE},
        {"three.m4a", "-f lavfi -i sine=duration=1 -c:a aac -b:a 96k -ar 48000 -ac 3", TRUE},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.pszName);
        CFileDescRef desc(new CFileDesc);
        ASSERT_EQ(S_OK, desc->ReadDescription(Make(row.pszName, row.strArgs)));
        EXPECT_EQ(MEDIA_CONTAINER_MP4, desc->m_nContainerType);
        EXPECT_EQ(row.bLimits, desc->m_bLimits);
    }
}

TEST_F(FileDescTest, TitlesFallBackToTheFileName)
{
    CString blank = Make("Take 7.final.wav", "-f lavfi -i sine=duration=1 -metadata title='    '");
    CFileDescRef a(new CFileDesc);
    ASSERT_EQ(S_OK, a->ReadDescription(blank));
    EXPECT_EQ(CString(_T("Take 7.final")), a->m_strTitle);

    CString bare = Make("noext", "-f lavfi -i sine=duration=1 -f wav");
    CFileDescRef b(new CFileDesc);
    ASSERT_EQ(S_OK, b->ReadDescription(bare));
    EXPECT_EQ(CString(_T("noext")), b->m_strTitle);
}

TEST_F(FileDescTest, TheFirstResultStandsUntilTheFileIsClosed)
{
    CString missing = m_folder.windows + _T("gone.mp3");
    CString present = Make("here.wav", "-f lavfi -i sine=duration=1");

    CFileDescRef desc(new CFileDesc);
    HRESULT hr = desc->ReadDescription(missing);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), hr);
    EXPECT_TRUE(desc->m_bRead);
    EXPECT_EQ(hr, desc->m_hrRead);

    // A second path is not read: the first answer and path stand.
    EXPECT_EQ(hr, desc->ReadDescription(present));
    EXPECT_EQ(missing, desc->m_strPath);

    desc->CloseFile();
    EXPECT_FALSE(desc->m_bRead);
    EXPECT_EQ(S_OK, desc->ReadDescription(present));
    EXPECT_EQ(present, desc->m_strPath);
    EXPECT_NEAR(1000, desc->GetAudioDuration(), 50);

    // Closed and read again, the same file gives the same description.
    desc->CloseFile();
    EXPECT_EQ(S_OK, desc->ReadDescription(present));
    EXPECT_EQ(1, desc->m_nAudioCount);
}

TEST_F(FileDescTest, VideoFilesAreDescribedAndSilentOnesRefused)
{
    CString silent = Make("silent.avi", "-f lavfi -i testsrc=duration=1:size=320x240:rate=10 -c:v mpeg4");
    CFileDescRef refused(new CFileDesc);
    EXPECT_EQ(-1, refused->ReadDescription(silent));
    EXPECT_TRUE(refused->m_bRead);
    EXPECT_EQ(-1, refused->m_hrRead);

    CString clip = Make("clip.avi", "-f lavfi -i testsrc=duration=2:size=720x576:rate=25 "
                                    "-f lavfi -i sine=duration=2 -c:v mpeg4 -c:a libmp3lame -shortest");
    CFileDescRef desc(new CFileDesc);
    ASSERT_EQ(S_OK, desc->ReadDescription(clip));
    EXPECT_EQ(MEDIA_CONTAINER_AVI, desc->m_nContainerType);
    ASSERT_EQ(1, desc->m_nVideoCount);
    const CVideoStreamDesc* video = desc->GetSelectedVideo();
    ASSERT_TRUE(video != nullptr);
    EXPECT_EQ(720, video->nWidth);
    EXPECT_EQ(576, video->nHeight);
    EXPECT_EQ(13, video->nCodecId);
    EXPECT_NEAR(25.0, video->dFrameRate, 0.01);
    EXPECT_EQ((LONG)(video->dFrameRate * video->dDuration / 1000), video->nFrameCount);
    EXPECT_EQ(video->dDuration, desc->m_dDuration);
    EXPECT_TRUE(desc->m_bLimits);  // wider than 640
}

TEST_F(FileDescTest, FlashFilesAreRecognisedWithoutTheEngine)
{
    for (const char* sig : {"FWS", "CWS"})
    {
        SCOPED_TRACE(sig);
        CString path = WriteBytes(std::string("movie-") + sig + ".swf", std::string(sig) + "\x09rest of it");
        CFileDescRef desc(new CFileDesc);
        ASSERT_EQ(S_OK, desc->ReadDescription(path));
        EXPECT_TRUE(desc->m_bSwf);
        EXPECT_EQ(MEDIA_CONTAINER_SWF, desc->m_nContainerType);
        EXPECT_TRUE(desc->m_bLimits);
        EXPECT_EQ(0, desc->m_nAudioCount);
        EXPECT_EQ(CString(_T("movie-")) + CString(sig), desc->m_strTitle);
    }
    // Two bytes of a signature are not one.
    CString shortFile = WriteBytes("short.swf", "FW");
    CFileDescRef desc(new CFileDesc);
    EXPECT_NE(S_OK, desc->ReadDescription(shortFile));
    EXPECT_FALSE(desc->m_bSwf);
}

TEST_F(FileDescTest, PipesAndFoldersAreRefusedWithoutWaiting)
{
    // Nobody writes into the pipe: opening it for reading would wait forever.
    std::string fifo = m_folder.unix + "/take.mp3";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    CFileDescRef pipe(new CFileDesc);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED),
              pipe->ReadDescription(m_folder.windows + _T("take.mp3")));

    CFileDescRef folder(new CFileDesc);
    EXPECT_TRUE(FAILED(folder->ReadDescription(m_folder.windows)));
}

// An observer that cancels and remembers what it heard.
class CancellingObserver : public CFileDescObserver
{
public:
    explicit CancellingObserver(std::vector<LONG>* pHeard) : m_pHeard(pHeard) {}
    void OnFileProgress(LONG nPercent, SHORT* pnCancel) override
    {
        m_pHeard->push_back(nPercent);
        m_pHeard->push_back(*pnCancel);
        *pnCancel = VARIANT_TRUE;
    }

private:
    std::vector<LONG>* m_pHeard;
};

TEST(VideoFileEventTest, ProgressReachesTheFirstObserverAndItsAnswerGoesBack)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        CFileDescRef desc(new CFileDesc);
        std::vector<LONG> heard;
        std::vector<LONG> second;
        desc->AddObserver(std::make_unique<CancellingObserver>(&heard));
        desc->AddObserver(std::make_unique<CancellingObserver>(&second));
        CVideoFileEvent* sink = new CVideoFileEvent(desc.Get());

        IDispatch* dispatch = nullptr;
        ASSERT_EQ(S_OK, sink->QueryInterface(DIID__IMediaFile5Events, (void**)&dispatch));
        dispatch->Release();
        IUnknown* other = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(E_NOINTERFACE, sink->QueryInterface(DIID__IMediaPlayer5Events, (void**)&other));
        EXPECT_TRUE(other == nullptr);

        // Arguments last first, as a caller lays them out: (percent, &cancel).
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT args[2];
        VariantInit(&args[0]);
        args[0].vt = VT_BOOL | VT_BYREF;
        args[0].pboolVal = &cancel;
        VariantInit(&args[1]);
        args[1].vt = VT_I4;
        args[1].lVal = 40;
        DISPPARAMS params = {args, nullptr, 2, 0};
        EXPECT_EQ(S_OK, sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
        EXPECT_EQ((std::vector<LONG>{40, 0}), heard);
        EXPECT_TRUE(second.empty());
        EXPECT_EQ(VARIANT_TRUE, cancel);

        // Other events are not this sink's.
        EXPECT_EQ(E_NOTIMPL,
                  sink->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        EXPECT_EQ(DISP_E_BADPARAMCOUNT,
                  sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));

        // With its owner gone the sink forwards nothing.
        sink->DetachOwner();
        cancel = VARIANT_FALSE;
        EXPECT_EQ(S_OK, sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
        EXPECT_EQ(2u, heard.size());
        EXPECT_EQ(VARIANT_FALSE, cancel);
        EXPECT_EQ(0u, sink->Release());
    }
    CoUninitialize();
}

}  // namespace
