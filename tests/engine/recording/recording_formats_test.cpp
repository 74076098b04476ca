// Recording from the sound server's sine source into every format the
// program offers; ffprobe checks container, codec, rate, channels and length.
#include "recording_support.h"

#include <cmath>

using namespace recording_test;

class ComApartment : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

class RecordingFormats : public ComApartment, public ::testing::WithParamInterface<FormatCase> {};

namespace {

const FormatCase kFormats[] = {
    {"MP3", MEDIA_CONTAINER_MP3, ".mp3", MEDIA_CODEC_MP3, 44100, 2, 128000, "mp3", "mp3"},
    {"MP3Mono22k", MEDIA_CONTAINER_MP3, ".mp3", MEDIA_CODEC_MP3, 22050, 1, 64000, "mp3", "mp3"},
    {"WMA", MEDIA_CONTAINER_ASF, ".wma", MEDIA_CODEC_WMA2, 44100, 2, 128000, "asf", "wmav2"},
    {"AAC", MEDIA_CONTAINER_AAC_ADTS, ".aac", MEDIA_CODEC_AAC, 44100, 2, 128000, "aac", "aac"},
    {"M4A", MEDIA_CONTAINER_MP4, ".m4a", MEDIA_CODEC_AAC, 48000, 2, 128000, "mov", "aac"},
    {"WAV", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_PCM, 44100, 2, 0, "wav", "pcm_s16le"},
    {"AIFF", MEDIA_CONTAINER_AIFF, ".aif", MEDIA_CODEC_PCM_BE, 44100, 2, 0, "aiff", "pcm_s16be"},
    {"OGG", MEDIA_CONTAINER_OGG, ".ogg", MEDIA_CODEC_VORBIS, 44100, 2, 128000, "ogg", "vorbis"},
    {"AMR", MEDIA_CONTAINER_AMR, ".amr", MEDIA_CODEC_AMR_NB, 8000, 1, 12000, "amr", "amr_nb"},
    {"AU", MEDIA_CONTAINER_AU, ".au", MEDIA_CODEC_PCM_BE, 44100, 2, 0, "au", "pcm_s16be"},
    {"WavALaw", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_ALAW, 8000, 1, 0, "wav", "pcm_alaw"},
    {"AuMuLaw", MEDIA_CONTAINER_AU, ".au", MEDIA_CODEC_MULAW, 8000, 1, 0, "au", "pcm_mulaw"},
    // Low rates with bit rates their encoders reach there.
    {"OggLowRate", MEDIA_CONTAINER_OGG, ".ogg", MEDIA_CODEC_VORBIS, 8000, 1, 32000, "ogg", "vorbis"},
    {"WmaLowRate", MEDIA_CONTAINER_ASF, ".wma", MEDIA_CODEC_WMA2, 8000, 1, 128000, "asf", "wmav2"},
};

TEST_P(RecordingFormats, RecordsTheSineSourceIntoAPlayableFile) {
  const FormatCase& f = GetParam();
  TempFolder folder;
  DriverOptions o;
  o.format = f;
  o.progress = [](double written, LONG*, bool* stop) { *stop = written >= 2000; };
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty()) << "first error " << r.errors.front() << std::hex << " hr " << r.failure;
  ASSERT_EQ(1u, r.files.size());
  EXPECT_NEAR(2000, r.files[0].writtenMs, 1);

  Probe p = ProbeFile(r.files[0].unixPath);
  ASSERT_TRUE(p.ok) << p.raw;
  EXPECT_EQ(0u, p.formatName.find(f.probeFormat)) << p.formatName;
  EXPECT_EQ(f.probeCodec, p.codec);
  EXPECT_EQ(f.sampleRate, p.sampleRate);
  EXPECT_EQ(f.channels, p.channels);
  EXPECT_NEAR(r.files[0].writtenMs, PlayableMs(p), 100) << p.raw;
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RecordingFormats, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<FormatCase>& i) { return std::string(i.param.name); });

TEST_F(ComApartment, VariableBitrateMp3FollowsTheRateModeOfItsSettings) {
  const FormatCase mp3{"MP3", MEDIA_CONTAINER_MP3, ".mp3", MEDIA_CODEC_MP3, 44100, 2, 192000, "mp3", "mp3"};
  ComPtr<IMediaPropertyBag5> profile = MakeProfile(mp3);
  ASSERT_TRUE(profile);
  ComPtr<IMediaPropertyBag5> stream;
  ASSERT_EQ(S_OK, profile->GetObject(Bstr(MEDIA_PROP_AUDIO_STREAM_INFO), 0, IID_IMediaPropertyBag5, stream.OutVoid()));
  ComPtr<IMediaMp3Settings5> settings;
  ASSERT_EQ(S_OK, stream->GetObject(Bstr(MEDIA_PROP_AV_FORMAT), 0, IID_IMediaMp3Settings5, settings.OutVoid()));
  ASSERT_EQ(S_OK, settings->SetRateMode(MEDIA_MP3_VBR));
  TempFolder folder;
  DriverOptions o;
  o.format = mp3;
  o.profile = profile.Get();
  o.progress = [](double written, LONG*, bool* stop) { *stop = written >= 2000; };
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty());
  ASSERT_EQ(1u, r.files.size());
  // A VBR file starts with its Xing header, which a constant-rate file has not.
  std::string head;
  if (FILE* f = std::fopen(r.files[0].unixPath.c_str(), "rb")) {
    char buf[8192];
    head.assign(buf, std::fread(buf, 1, sizeof buf, f));
    std::fclose(f);
  }
  EXPECT_NE(std::string::npos, head.find("Xing"));
  Probe p = ProbeFile(r.files[0].unixPath);
  ASSERT_TRUE(p.ok) << p.raw;
  EXPECT_NEAR(r.files[0].writtenMs, PlayableMs(p), 100);
}

TEST_F(ComApartment, AContainerThatCannotHoldTheCodecIsRefused) {
  ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  ASSERT_TRUE(file);
  EXPECT_EQ(MEDIA_E_UNSUPPORTED_CONTAINER, file->SetContainerType(4242));
  ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_AMR));
  FormatCase vorbisInAmr{"x", MEDIA_CONTAINER_AMR, ".amr", MEDIA_CODEC_VORBIS, 44100, 2, 128000, "", ""};
  ComPtr<IMediaPropertyBag5> profile = MakeProfile(vorbisInAmr);
  EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, file->SetStreamSettings(profile.Get()));
}

TEST_F(ComApartment, WritingWithoutAFileNameFails) {
  ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  ASSERT_TRUE(file);
  ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_WAV));
  ComPtr<IMediaPropertyBag5> op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  op->SetInteger(Bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
  op->SetInteger(Bstr(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
  op->SetString(Bstr(MEDIA_PROP_FILE_NAME), 0, Bstr(u""), 0);
  EXPECT_TRUE(FAILED(file->Command(MEDIAFILE_CMD_OPEN, op.Get())));
}

}  // namespace
