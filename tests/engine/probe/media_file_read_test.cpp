// Reading files through the media file object as the file list does: files
// made by the ffmpeg tool in a scratch folder, opened with "Operation" 1, and
// checked for container, streams, durations, formats and tags.
#include "tests/engine/engine_test_support.h"

#include <ocidl.h>

#include <cmath>

using namespace engine_test;

namespace {

struct FileCase {
  const char* file;
  const char* ffmpegArgs;  // output options for a 440 Hz sine input
  double seconds;
  LONG container;
  LONG codec;
  LONG sampleRate;
  LONG channels;
};

const FileCase kCases[] = {
    {"a.wav", "-c:a pcm_s16le -ar 44100 -ac 2", 2.0, MEDIA_CONTAINER_WAV, MEDIA_CODEC_PCM, 44100, 2},
    {"a.mp3", "-c:a libmp3lame -b:a 128k -ar 44100 -ac 2", 3.0, MEDIA_CONTAINER_MP3, MEDIA_CODEC_MP3, 44100, 2},
    {"a.aif", "-c:a pcm_s16be -ar 22050 -ac 1", 1.5, MEDIA_CONTAINER_AIFF, MEDIA_CODEC_PCM_BE, 22050, 1},
    {"a.au", "-c:a pcm_alaw -ar 8000 -ac 1", 2.0, MEDIA_CONTAINER_AU, MEDIA_CODEC_ALAW, 8000, 1},
    {"a.ogg", "-c:a libvorbis -b:a 128k -ar 44100 -ac 2", 2.5, MEDIA_CONTAINER_OGG, MEDIA_CODEC_VORBIS, 44100, 2},
    {"a.m4a", "-c:a aac -b:a 128k -ar 48000 -ac 2", 2.0, MEDIA_CONTAINER_MP4, MEDIA_CODEC_AAC, 48000, 2},
    // Raw ADTS has no duration in any header; the demuxer only guesses it.
    {"a.aac", "-c:a aac -b:a 96k -ar 44100 -ac 2 -f adts", 5.0, MEDIA_CONTAINER_AAC_ADTS, MEDIA_CODEC_AAC, 44100, 2},
    {"a.wma", "-c:a wmav2 -b:a 128k -ar 44100 -ac 2", 2.0, MEDIA_CONTAINER_ASF, MEDIA_CODEC_WMA2, 44100, 2},
};

}  // namespace

class MediaFileReadTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_TRUE(folder.Ok());
  }

  // Makes a sine recording with the ffmpeg tool.
  void MakeSine(const std::string& name, double seconds, const std::string& args) {
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd,
                  "ffmpeg -nostdin -y -f lavfi -i sine=frequency=440:sample_rate=44100:duration=%.3f %s '%s'", seconds,
                  args.c_str(), folder.Unix(name).c_str());
    ASSERT_TRUE(RunTool(cmd)) << cmd;
  }

  ComPtr<IMediaFile5> OpenForReading(const std::u16string& path, HRESULT expected = S_OK) {
    auto file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    auto op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    Bstr operation(u"Operation"), mode(u"OperationMode"), fileName(u"FileName"), value(path);
    op->SetInteger(operation, 0, MEDIA_OPERATION_READ, 0);
    op->SetInteger(mode, 0, MEDIA_MODE_FILE, 0);
    op->SetString(fileName, 0, value, 0);
    EXPECT_EQ(expected, file->Command(MEDIAFILE_CMD_OPEN, op.Get()));
    return file;
  }

  ScratchFolder folder;
};

namespace {

TEST_F(MediaFileReadTest, ReportsContainerStreamsDurationsAndFormats) {
  for (const FileCase& c : kCases) {
    SCOPED_TRACE(c.file);
    MakeSine(c.file, c.seconds, c.ffmpegArgs);
    auto file = OpenForReading(folder.Windows(c.file));
    LONG container = -1, audio = -1, video = -1;
    file->GetContainerType(&container);
    file->GetStreamCount(MEDIA_STREAM_AUDIO, &audio);
    file->GetStreamCount(MEDIA_STREAM_VIDEO, &video);
    EXPECT_EQ(c.container, container);
    EXPECT_EQ(1, audio);
    EXPECT_EQ(0, video);
    ASSERT_EQ(S_OK, file->SelectStream(MEDIA_STREAM_AUDIO, 0));
    EXPECT_EQ(E_INVALIDARG, file->SelectStream(MEDIA_STREAM_AUDIO, 1));
    double ms = 0;
    ASSERT_EQ(S_OK, file->GetDuration(MEDIA_STREAM_AUDIO, &ms));
    // Encoders add a frame of padding at most; 100 ms is well above it.
    EXPECT_NEAR(c.seconds * 1000.0, ms, 100.0);
    double videoMs = -1;
    file->GetDuration(MEDIA_STREAM_VIDEO, &videoMs);
    EXPECT_EQ(0.0, videoMs);

    ComPtr<IMediaAudioFormat5> format;
    ASSERT_EQ(S_OK, file->GetStreamFormat(MEDIA_STREAM_AUDIO, IID_IMediaAudioFormat5, format.OutVoid()));
    LONG codec = 0, rate = 0, channels = 0, bitrate = 0;
    format->GetCodecId(&codec);
    format->GetSampleRate(&rate);
    format->GetChannels(&channels);
    format->GetBitrate(&bitrate);
    EXPECT_EQ(c.codec, codec);
    EXPECT_EQ(c.sampleRate, rate);
    EXPECT_EQ(c.channels, channels);
    EXPECT_GT(bitrate, 0);
    Bstr codecName;
    EXPECT_EQ(S_OK, format->GetCodecName(codecName.Out()));
    EXPECT_FALSE(codecName.Str().empty());
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_INVALIDARG, file->GetStreamFormat(MEDIA_STREAM_VIDEO, IID_IMediaVideoFormat5, &p));
    EXPECT_EQ(S_OK, file->Command(MEDIAFILE_CMD_FINISH, nullptr));
  }
}

TEST_F(MediaFileReadTest, ReadsTitleAndArtistTagsAndSkipsCoverArt) {
  // Cover art is a picture stream in the file, not a video.
  ASSERT_TRUE(
      RunTool("ffmpeg -nostdin -y -f lavfi -i sine=frequency=440:duration=2 -f lavfi -i color=c=red:s=32x32:d=1 "
              "-map 0:a -map 1:v -frames:v 1 -c:a libmp3lame -b:a 128k -c:v png -disposition:v attached_pic "
              "-id3v2_version 3 -metadata 'title=  Morning take  ' -metadata 'artist=Ünïcode Band' '" +
              folder.Unix("tagged.mp3") + "'"));
  auto file = OpenForReading(folder.Windows("tagged.mp3"));
  LONG video = -1;
  file->GetStreamCount(MEDIA_STREAM_VIDEO, &video);
  EXPECT_EQ(0, video);
  ComPtr<IMediaPropertyBag5> tags;
  ASSERT_EQ(S_OK, file->GetTags(tags.Out()));
  ASSERT_TRUE(tags);
  Bstr title(u"Title"), artist(u"Artist"), album(u"Album"), value;
  ASSERT_EQ(S_OK, tags->GetString(title, 0, value.Out()));
  EXPECT_EQ(u"  Morning take  ", value.Str());  // trimming is the reader's business
  ASSERT_EQ(S_OK, tags->GetString(artist, 0, value.Out()));
  EXPECT_EQ(u"Ünïcode Band", value.Str());
  EXPECT_EQ(E_INVALIDARG, tags->GetString(album, 0, value.Out()));
  LONGLONG isProtected = -1;
  EXPECT_EQ(S_OK, tags->GetInteger(const_cast<BSTR>(u"Protected"), 0, &isProtected));
  EXPECT_EQ(0, isProtected);
  VARIANT_BOOL seekable = VARIANT_FALSE;
  file->IsSeekable(&seekable);
  EXPECT_EQ(VARIANT_TRUE, seekable);
  Bstr name;
  file->GetFileName(name.Out());
  EXPECT_EQ(folder.Windows("tagged.mp3"), name.Str());
}

TEST_F(MediaFileReadTest, DescribesVideoStreams) {
  ASSERT_TRUE(
      RunTool("ffmpeg -nostdin -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 -f lavfi "
              "-i sine=duration=2 -c:v mpeg4 -c:a pcm_s16le -shortest '" +
              folder.Unix("clip.avi") + "'"));
  auto file = OpenForReading(folder.Windows("clip.avi"));
  LONG container = 0, video = 0, audio = 0;
  file->GetContainerType(&container);
  file->GetStreamCount(MEDIA_STREAM_VIDEO, &video);
  file->GetStreamCount(MEDIA_STREAM_AUDIO, &audio);
  EXPECT_EQ(MEDIA_CONTAINER_AVI, container);
  EXPECT_EQ(1, video);
  EXPECT_EQ(1, audio);
  ComPtr<IMediaVideoFormat5> format;
  ASSERT_EQ(S_OK, file->GetStreamFormat(MEDIA_STREAM_VIDEO, IID_IMediaVideoFormat5, format.OutVoid()));
  LONG codec = 0, width = 0, height = 0, num = 0, den = 0;
  double fps = 0;
  format->GetCodecId(&codec);
  format->GetWidth(&width);
  format->GetHeight(&height);
  format->GetFrameRate(&fps);
  format->GetAspect(&num, &den);
  EXPECT_EQ(MEDIA_VIDEO_CODEC_MPEG4, codec);
  EXPECT_EQ(320, width);
  EXPECT_EQ(240, height);
  EXPECT_NEAR(25.0, fps, 0.01);
  EXPECT_EQ(4, num);
  EXPECT_EQ(3, den);
  double ms = 0;
  file->GetDuration(MEDIA_STREAM_VIDEO, &ms);
  EXPECT_NEAR(2000.0, ms, 100.0);
}

TEST_F(MediaFileReadTest, MissingAndForeignFilesFailWithTheirOwnResults) {
  OpenForReading(folder.Windows("missing.mp3"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  WriteUnixFile(folder.Unix("noise.mp3"), std::string(4096, '\x5a'));
  auto file = OpenForReading(folder.Windows("noise.mp3"), MEDIA_E_PROBE_FAILED);
  LONG audio = -1;
  file->GetStreamCount(MEDIA_STREAM_AUDIO, &audio);
  EXPECT_EQ(0, audio);
  WriteUnixFile(folder.Unix("empty.wav"), "");
  OpenForReading(folder.Windows("empty.wav"), MEDIA_E_PROBE_FAILED);

  // An operation bag without "Operation", or a device mode, is refused.
  auto bare = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  EXPECT_EQ(E_INVALIDARG, file->Command(MEDIAFILE_CMD_OPEN, bare.Get()));
  EXPECT_EQ(E_POINTER, file->Command(MEDIAFILE_CMD_OPEN, nullptr));
  EXPECT_EQ(E_INVALIDARG, file->Command(42, bare.Get()));
}

TEST_F(MediaFileReadTest, ReopensOnlyAfterClosingAndFiresNothingWhileReading) {
  MakeSine("one.wav", 1.0, "-c:a pcm_s16le");
  MakeSine("two.wav", 2.0, "-c:a pcm_s16le");
  auto file = OpenForReading(folder.Windows("one.wav"));

  // A second open without closing is refused and keeps the first file.
  auto op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  Bstr operation(u"Operation"), fileName(u"FileName"), two(folder.Windows("two.wav"));
  op->SetInteger(operation, 0, MEDIA_OPERATION_READ, 0);
  op->SetString(fileName, 0, two, 0);
  EXPECT_EQ(MEDIA_E_ALREADY_OPEN, file->Command(MEDIAFILE_CMD_OPEN, op.Get()));
  double ms = 0;
  file->GetDuration(MEDIA_STREAM_AUDIO, &ms);
  EXPECT_NEAR(1000.0, ms, 50.0);

  // The file list listens on the file's events; connecting works while open.
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(S_OK, file->QueryInterface(IID_IConnectionPointContainer, container.OutVoid()));
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__IMediaFile5Events, point.Out()));
  ComPtr<IConnectionPoint> wrong;
  EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(DIID__IMediaPlayer5Events, wrong.Out()));
  IID iid = {};
  point->GetConnectionInterface(&iid);
  EXPECT_TRUE(IsEqualIID(iid, DIID__IMediaFile5Events));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(12345));

  EXPECT_EQ(S_OK, file->Command(MEDIAFILE_CMD_FINISH, nullptr));
  EXPECT_EQ(S_FALSE, file->Command(MEDIAFILE_CMD_FINISH, nullptr));
  ASSERT_EQ(S_OK, file->Command(MEDIAFILE_CMD_OPEN, op.Get()));
  file->GetDuration(MEDIA_STREAM_AUDIO, &ms);
  EXPECT_NEAR(2000.0, ms, 50.0);
}

}  // namespace
