// Recording the sine source with every codec the engine can encode, through a
// profile as the recorder hands it over (made in memory, or read from a
// profile file for the codecs no format lists); ffprobe checks codec, rate,
// channels and length. Codecs without an encoder, outside their container, or
// with values they cannot take fail with a reason.
#include "recording_support.h"

#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

using namespace recording_test;

class CodecApartment : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

struct CodecCase {
  FormatCase format;
  LONG probeRate;  // what the file holds (Opus always decodes at 48 kHz)
  LONG probeChannels;
  bool fromProfileFile;  // the codec is in no format's list: only a profile file names it
  long probeBitRate;     // 0: not checked
  // Sound beyond what was written: the encoder's delay and padding, whole
  // frames (MP3 below 16 kHz: 576 samples, 72 ms at 8 kHz).
  double extraMs = 100;
};

namespace {

const CodecCase kCodecs[] = {
    // M4A's codec list: each needs the MP4-family muxer that takes it.
    {{"M4aMp3", MEDIA_CONTAINER_MP4, ".m4a", MEDIA_CODEC_MP3, 44100, 2, 128000, "mov", "mp3"}, 44100, 2, false, 0},
    {{"M4aAmrNb", MEDIA_CONTAINER_MP4, ".m4a", MEDIA_CODEC_AMR_NB, 8000, 1, 12000, "mov", "amr_nb"}, 8000, 1, false, 0},
    {{"M4aAmrWb", MEDIA_CONTAINER_MP4, ".m4a", MEDIA_CODEC_AMR_WB, 16000, 1, 24000, "mov", "amr_wb"},
     16000,
     1,
     false,
     0},
    {{"AmrWb", MEDIA_CONTAINER_AMR, ".amr", MEDIA_CODEC_AMR_WB, 16000, 1, 13000, "amr", "amr_wb"}, 16000, 1, false, 0},
    // WAV's codec list beyond PCM and G.711.
    {{"WavMsAdpcm", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_MS_ADPCM, 22050, 2, 0, "wav", "adpcm_ms"},
     22050,
     2,
     false,
     0},
    {{"WavImaAdpcm", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_IMA_ADPCM, 44100, 2, 0, "wav", "adpcm_ima_wav"},
     44100,
     2,
     false,
     0},
    {{"WavGsm", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_GSM_MS, 8000, 1, 13000, "wav", "gsm_ms"}, 8000, 1, false, 0},
    // Reached from profile files only.
    {{"WavMp2", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_MP2, 44100, 2, 192000, "wav", "mp2"}, 44100, 2, true, 192000},
    {{"WavAc3", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_AC3, 48000, 2, 128000, "wav", "ac3"}, 48000, 2, true, 128000},
    {{"WavG726At16k", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_G726, 8000, 1, 16000, "wav", "adpcm_g726"},
     8000,
     1,
     true,
     16000},
    {{"WavG726At24k", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_G726, 8000, 1, 24000, "wav", "adpcm_g726"},
     8000,
     1,
     true,
     24000},
    {{"WavG726At32k", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_G726, 8000, 1, 32000, "wav", "adpcm_g726"},
     8000,
     1,
     true,
     32000},
    {{"WavG726At40k", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_G726, 8000, 1, 40000, "wav", "adpcm_g726"},
     8000,
     1,
     true,
     40000},
    {{"WavPcm24", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_PCM24, 48000, 2, 0, "wav", "pcm_s24le"}, 48000, 2, true, 0},
    {{"OggOpus", MEDIA_CONTAINER_OGG, ".ogg", MEDIA_CODEC_OPUS, 24000, 1, 64000, "ogg", "opus"}, 48000, 1, true, 0},
    {{"WmaV1", MEDIA_CONTAINER_ASF, ".wma", MEDIA_CODEC_WMA1, 44100, 2, 128000, "asf", "wmav1"},
     44100,
     2,
     false,
     128000},
    {{"RealAudio", MEDIA_CONTAINER_REALMEDIA, ".rm", MEDIA_CODEC_REALAUDIO, 8000, 1, 0, "rm", "ra_144"},
     8000,
     1,
     true,
     0},
    // A profile file that names no bit rate gets one the codec takes at its
    // rate and channels: the usual one where it can, else the nearest.
    {{"Mp3WithoutRateAt8k", MEDIA_CONTAINER_MP3, ".mp3", MEDIA_CODEC_MP3, 8000, 1, 0, "mp3", "mp3"},
     8000,
     1,
     true,
     64000,
     200},
    {{"VorbisWithoutRateAt8k", MEDIA_CONTAINER_OGG, ".ogg", MEDIA_CODEC_VORBIS, 8000, 1, 0, "ogg", "vorbis"},
     8000,
     1,
     true,
     40000},
    {{"AacWithoutRateAt8k", MEDIA_CONTAINER_AAC_ADTS, ".aac", MEDIA_CODEC_AAC, 8000, 1, 0, "aac", "aac"},
     8000,
     1,
     true,
     0},
    {{"Mp2WithoutRateAt22k", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_MP2, 22050, 2, 0, "wav", "mp2"},
     22050,
     2,
     true,
     160000},
};

std::string NumberText(LONG v) { return std::to_string(static_cast<long>(v)); }

// A profile file with one generic audio format, as a saved profile list holds it.
std::string ProfileFileText(const FormatCase& f) {
  std::string text = "SondrelProfiles 1\nprofile\n";
  text += "  string \"ProfileName\" 1 \"Test\"\n";
  text += "  integer \"ContainerType\" 1 " + NumberText(f.container) + "\n";
  text += "  bag \"AudioStreamInfo\" 1\n    format \"AVFormat\" 1 generic\n";
  text += "      codec " + NumberText(f.codec) + "\n";
  text += "      rate " + NumberText(f.sampleRate) + "\n";
  text += "      channels " + NumberText(f.channels) + "\n";
  text += "      bitrate " + NumberText(f.bitrate) + "\n";
  text += "    end\n  end\nend\nend-of-profiles\n";
  return text;
}

ComPtr<IMediaPropertyBag5> LoadProfileFile(const TempFolder& folder, const FormatCase& f) {
  const std::string path = folder.unix + "/codec.prop";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return nullptr;
  const std::string text = ProfileFileText(f);
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
  ComPtr<IMediaProfileCollection5> profiles =
      Create<IMediaProfileCollection5>(CLSID_MediaProfileCollection5, IID_IMediaProfileCollection5);
  if (!profiles || FAILED(profiles->Load(Bstr(WindowsPath(path))))) return nullptr;
  ComPtr<IMediaPropertyBag5> profile;
  if (FAILED(profiles->GetItem(0, profile.Out()))) return nullptr;
  return profile;
}

// The text of the error object the last failed call left, or empty.
std::string LastErrorText() {
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return std::string();
  BSTR text = nullptr;
  info->GetDescription(&text);
  info->Release();
  std::string out;
  for (const OLECHAR* p = text; p && *p; ++p) out += static_cast<char>(*p);
  SysFreeString(text);
  return out;
}

}  // namespace

class RecordingCodecs : public CodecApartment, public ::testing::WithParamInterface<CodecCase> {};

namespace {

TEST_P(RecordingCodecs, RecordsTheSineSourceThroughAProfile) {
  const CodecCase& c = GetParam();
  TempFolder folder;
  ComPtr<IMediaPropertyBag5> profile = c.fromProfileFile ? LoadProfileFile(folder, c.format) : MakeProfile(c.format);
  ASSERT_TRUE(profile);
  DriverOptions o;
  o.format = c.format;
  o.profile = profile.Get();
  o.progress = [](double written, LONG*, bool* stop) { *stop = written >= 2000; };
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty()) << "first error " << r.errors.front() << std::hex << " hr " << r.failure;
  ASSERT_EQ(1u, r.files.size());

  Probe p = ProbeFile(r.files[0].unixPath);
  ASSERT_TRUE(p.ok) << p.raw;
  EXPECT_EQ(0u, p.formatName.find(c.format.probeFormat)) << p.formatName;
  EXPECT_EQ(c.format.probeCodec, p.codec);
  EXPECT_EQ(c.probeRate, p.sampleRate);
  EXPECT_EQ(c.probeChannels, p.channels);
  EXPECT_NEAR(r.files[0].writtenMs, PlayableMs(p), c.extraMs) << p.raw;
  if (c.probeBitRate) {
    EXPECT_EQ(c.probeBitRate, p.bitRate);
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, RecordingCodecs, ::testing::ValuesIn(kCodecs),
                         [](const ::testing::TestParamInfo<CodecCase>& i) { return std::string(i.param.format.name); });

// The engine reads its own RealMedia file back: container, codec and a length
// counted from the packets, as the header holds none.
TEST_F(CodecApartment, ARealMediaRecordingReadsBackThroughTheEngine) {
  TempFolder folder;
  DriverOptions o;
  o.format = FormatCase{"Real", MEDIA_CONTAINER_REALMEDIA, ".rm", MEDIA_CODEC_REALAUDIO, 8000, 1, 0, "rm", "ra_144"};
  o.progress = [](double written, LONG*, bool* stop) { *stop = written >= 2000; };
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty());
  ASSERT_EQ(1u, r.files.size());
  ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  ComPtr<IMediaPropertyBag5> op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  op->SetInteger(Bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_READ, 0);
  op->SetInteger(Bstr(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
  op->SetString(Bstr(MEDIA_PROP_FILE_NAME), 0, Bstr(WindowsPath(r.files[0].unixPath)), 0);
  ASSERT_EQ(S_OK, file->Command(MEDIAFILE_CMD_OPEN, op.Get()));
  LONG container = 0;
  file->GetContainerType(&container);
  EXPECT_EQ(MEDIA_CONTAINER_REALMEDIA, container);
  ComPtr<IMediaAudioFormat5> format;
  ASSERT_EQ(S_OK, file->GetStreamFormat(MEDIA_STREAM_AUDIO, IID_IMediaAudioFormat5, format.OutVoid()));
  LONG codec = 0, rate = 0, channels = 0;
  format->GetCodecId(&codec);
  format->GetSampleRate(&rate);
  format->GetChannels(&channels);
  EXPECT_EQ(MEDIA_CODEC_REALAUDIO, codec);
  EXPECT_EQ(8000, rate);
  EXPECT_EQ(1, channels);
  double ms = 0;
  file->GetDuration(MEDIA_STREAM_AUDIO, &ms);
  EXPECT_NEAR(r.files[0].writtenMs, ms, 100);
}

// One second of a tone, 44.1 kHz stereo as capture delivers it, written
// through a media file with the profile: the file's path, or empty.
std::string WriteTone(const TempFolder& folder, const FormatCase& f) {
  const std::string path = folder.unix + "/tone" + f.extension;
  ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  ComPtr<IMediaPropertyBag5> op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  ComPtr<IMediaSample5> sample = Create<IMediaSample5>(CLSID_MediaSampleBuffer5, IID_IMediaSample5);
  ComPtr<IMediaAudioFormat5> pcm = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
  if (!file || !op || !sample || !pcm || FAILED(file->SetContainerType(f.container)) ||
      FAILED(file->SetStreamSettings(MakeProfile(f).Get())))
    return std::string();
  op->SetInteger(Bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
  op->SetInteger(Bstr(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
  op->SetString(Bstr(MEDIA_PROP_FILE_NAME), 0, Bstr(WindowsPath(path)), 0);
  if (FAILED(file->Command(MEDIAFILE_CMD_OPEN, op.Get()))) return std::string();
  pcm->SetSampleRate(44100);
  pcm->SetChannels(2);
  sample->SetFormat(pcm.Get());
  sample->Allocate(44100 * 4);
  BYTE* data = nullptr;
  LONG capacity = 0;
  sample->GetBuffer(&data, &capacity);
  int16_t* samples = reinterpret_cast<int16_t*>(data);
  for (int i = 0; i < 44100; ++i)
    samples[2 * i] = samples[2 * i + 1] = static_cast<int16_t>(8000 * std::sin(i * 2 * 3.14159265 * 440 / 44100));
  const bool written = SUCCEEDED(file->WriteSample(sample.Get()));
  return SUCCEEDED(file->Command(MEDIAFILE_CMD_FINISH, nullptr)) && written ? path : std::string();
}

// A profile stores "7.4" as 8000 bit/s and "7.95" as 9000: each must pick its
// own mode, told apart by the frame size in the file (header byte included).
// Other rates take the nearest mode, up to the last one: the values stand one
// bit/s off the midpoints between two modes, and past the top.
TEST_F(CodecApartment, AmrProfilesPickTheModeTheirStoredRateStandsFor) {
  struct ModeCase {
    LONG codec;
    LONG bitrate;
    long frameBytes;
  };
  const ModeCase kModes[] = {
      {MEDIA_CODEC_AMR_NB, 8000, 20},  {MEDIA_CODEC_AMR_NB, 9000, 21},  {MEDIA_CODEC_AMR_NB, 12000, 32},
      {MEDIA_CODEC_AMR_NB, 12200, 32}, {MEDIA_CODEC_AMR_NB, 11199, 27}, {MEDIA_CODEC_AMR_NB, 11201, 32},
      {MEDIA_CODEC_AMR_NB, 40000, 32}, {MEDIA_CODEC_AMR_NB, 4875, 13},  {MEDIA_CODEC_AMR_NB, 4000, 13},
      {MEDIA_CODEC_AMR_WB, 7000, 18},  {MEDIA_CODEC_AMR_WB, 24000, 61}, {MEDIA_CODEC_AMR_WB, 23850, 61},
      {MEDIA_CODEC_AMR_WB, 23449, 59}, {MEDIA_CODEC_AMR_WB, 23451, 61}, {MEDIA_CODEC_AMR_WB, 64000, 61},
  };
  for (const ModeCase& m : kModes) {
    SCOPED_TRACE(m.bitrate);
    TempFolder folder;
    const bool wide = m.codec == MEDIA_CODEC_AMR_WB;
    const std::string path = WriteTone(folder, FormatCase{"AmrMode", MEDIA_CONTAINER_AMR, ".amr", m.codec,
                                                          wide ? 16000 : 8000, 1, m.bitrate, "amr", ""});
    ASSERT_FALSE(path.empty());
    Probe p = ProbeFile(path);
    ASSERT_TRUE(p.ok && p.packets > 0) << p.raw;
    const long header = wide ? 9 : 6;  // "#!AMR-WB\n", "#!AMR\n"
    EXPECT_EQ(m.frameBytes * p.packets, FileSize(path) - header);
  }
}

// What a codec or its container cannot make is refused with a reason before
// any file exists, the same way for every codec: never written with another
// value in its place.
TEST_F(CodecApartment, ValuesACodecCannotTakeAreRefusedWithAReason) {
  struct Refusal {
    FormatCase format;
    const char* reason;
  };
  const Refusal kRefusals[] = {
      {{"", MEDIA_CONTAINER_OGG, "", MEDIA_CODEC_VORBIS, 44100, 2, 32000, "", ""},
       "Ogg Vorbis cannot record 32 kbit/s at 44100 Hz, stereo"},
      {{"", MEDIA_CONTAINER_OGG, "", MEDIA_CODEC_VORBIS, 8000, 1, 128000, "", ""},
       "Ogg Vorbis cannot record 128 kbit/s at 8000 Hz, mono"},
      {{"", MEDIA_CONTAINER_ASF, "", MEDIA_CODEC_WMA2, 22050, 1, 16000, "", ""},
       "Windows Media Audio 2 cannot record 16 kbit/s at 22050 Hz, mono"},
      {{"", MEDIA_CONTAINER_AAC_ADTS, "", MEDIA_CODEC_AAC, 8000, 1, 256000, "", ""},
       "AAC cannot record 256 kbit/s at 8000 Hz, mono"},
      {{"", MEDIA_CONTAINER_MP3, "", MEDIA_CODEC_MP3, 11025, 1, 80000, "", ""},
       "MPEG Layer 3 cannot record 80 kbit/s at 11025 Hz, mono"},
      {{"", MEDIA_CONTAINER_MP3, "", MEDIA_CODEC_MP3, 8000, 1, 128000, "", ""},
       "MPEG Layer 3 cannot record 128 kbit/s at 8000 Hz, mono"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_MP2, 22050, 2, 192000, "", ""},
       "MPEG Layer 2 cannot record 192 kbit/s at 22050 Hz, stereo"},
      {{"", MEDIA_CONTAINER_MP3, "", MEDIA_CODEC_MP3, 24000, 2, 192000, "", ""},
       "MPEG Layer 3 cannot record 192 kbit/s at 24000 Hz, stereo"},
      {{"", MEDIA_CONTAINER_MP4, "", MEDIA_CODEC_MP3, 8000, 1, 64000, "", ""},
       "the container cannot hold MPEG Layer 3 at 8000 Hz"},
      {{"", MEDIA_CONTAINER_MP4, "", MEDIA_CODEC_MP3, 11025, 2, 32000, "", ""},
       "the container cannot hold MPEG Layer 3 at 11025 Hz"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_AC3, 48000, 2, 2000000000, "", ""},
       "AC3 cannot record 2000000 kbit/s at 48000 Hz, stereo"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_MP2, 48000, 2, 2000000000, "", ""},
       "MPEG Layer 2 cannot record 2000000 kbit/s at 48000 Hz, stereo"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_AC3, 384000, 2, 192000, "", ""},
       "AC3 cannot record at 384000 Hz, stereo"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_MP2, 48000, 8, 192000, "", ""},
       "MPEG Layer 2 records mono or stereo, not 8 channels"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_PCM, 44100, 3, 0, "", ""},
       "PCM records mono or stereo, not 3 channels"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_GSM_MS, 16000, 1, 13000, "", ""},
       "GSM 6.10 cannot record at 16000 Hz, mono"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_G726, 8000, 1, 20000, "", ""},
       "G.726 cannot record 20 kbit/s at 8000 Hz, mono"},
      {{"", MEDIA_CONTAINER_AMR, "", MEDIA_CODEC_AMR_NB, 16000, 1, 12000, "", ""},
       "AMR NB cannot record at 16000 Hz, mono"},
      {{"", MEDIA_CONTAINER_MP4, "", MEDIA_CODEC_AMR_WB, 16000, 2, 24000, "", ""},
       "AMR WB cannot record at 16000 Hz, stereo"},
      {{"", MEDIA_CONTAINER_MP4, "", MEDIA_CODEC_ALAW, 8000, 1, 0, "", ""}, "the container cannot hold a-Law"},
      {{"", MEDIA_CONTAINER_MP4, "", MEDIA_CODEC_MULAW, 16000, 2, 0, "", ""}, "the container cannot hold u-Law"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_IMA_ADPCM_QT, 16000, 1, 0, "", ""},
       "the container cannot hold IMA ADPCM (QuickTime)"},
      {{"", MEDIA_CONTAINER_WAV, "", MEDIA_CODEC_IMA_ADPCM_OTHER, 8000, 1, 0, "", ""},
       "the container cannot hold IMA ADPCM (Westwood)"},
  };
  for (const Refusal& r : kRefusals) {
    ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, file->SetContainerType(r.format.container));
    EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, file->SetStreamSettings(MakeProfile(r.format).Get())) << r.reason;
    EXPECT_EQ(r.reason, LastErrorText());
  }
}

// RealAudio fits RealMedia alone; the other RealAudio codecs and unknown
// identifiers fail with an error object that says why.
TEST_F(CodecApartment, CodecsTheFileCannotMakeAreRefusedWithAReason) {
  const LONG kNineFormats[] = {MEDIA_CONTAINER_MP3, MEDIA_CONTAINER_ASF, MEDIA_CONTAINER_AAC_ADTS,
                               MEDIA_CONTAINER_MP4, MEDIA_CONTAINER_WAV, MEDIA_CONTAINER_AIFF,
                               MEDIA_CONTAINER_OGG, MEDIA_CONTAINER_AMR, MEDIA_CONTAINER_AU};
  for (LONG container : kNineFormats) {
    ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, file->SetContainerType(container));
    FormatCase real{"x", container, ".x", MEDIA_CODEC_REALAUDIO, 8000, 1, 0, "", ""};
    EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, file->SetStreamSettings(MakeProfile(real).Get())) << container;
    EXPECT_EQ("the container cannot hold RealAudio", LastErrorText()) << container;
  }

  // Raw GSM 6.10 has a home in none of them (in M4A only a QuickTime file would hold it).
  for (LONG container : {MEDIA_CONTAINER_WAV, MEDIA_CONTAINER_AIFF, MEDIA_CONTAINER_AU, MEDIA_CONTAINER_MP4}) {
    ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, file->SetContainerType(container));
    FormatCase gsm{"x", container, ".x", MEDIA_CODEC_GSM, 8000, 1, 13000, "", ""};
    EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, file->SetStreamSettings(MakeProfile(gsm).Get())) << container;
    EXPECT_EQ("the container cannot hold GSM 6.10", LastErrorText()) << container;
  }

  TempFolder folder;
  const std::pair<LONG, const char*> kWithoutEncoder[] = {{MEDIA_CODEC_REALAUDIO_SIPR, "RealAudio Sipr"},
                                                          {MEDIA_CODEC_REALAUDIO_LOSSLESS, "RealAudio Lossless"}};
  for (const auto& [codec, name] : kWithoutEncoder) {
    // Refused as the settings come once the container is known, else at the start.
    FormatCase real{"x", MEDIA_CONTAINER_REALMEDIA, ".rm", codec, 44100, 2, 0, "", ""};
    ComPtr<IMediaFile5> early = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, early->SetContainerType(MEDIA_CONTAINER_REALMEDIA));
    EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, early->SetStreamSettings(MakeProfile(real).Get())) << name;
    EXPECT_EQ(std::string("no encoder for ") + name, LastErrorText());
    ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, file->SetStreamSettings(MakeProfile(real).Get()));
    ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_REALMEDIA));
    ComPtr<IMediaPropertyBag5> op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    op->SetInteger(Bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
    op->SetInteger(Bstr(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
    op->SetString(Bstr(MEDIA_PROP_FILE_NAME), 0, Bstr(folder.windows + u"real.rm"), 0);
    EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, file->Command(MEDIAFILE_CMD_OPEN, op.Get())) << name;
    EXPECT_EQ(std::string("no encoder for ") + name, LastErrorText());
    EXPECT_EQ(-1, FileSize(folder.unix + "/real.rm")) << name;
  }

  FormatCase unknown{"Unknown", MEDIA_CONTAINER_WAV, ".wav", 0x15999, 44100, 2, 0, "", ""};
  ComPtr<IMediaPropertyBag5> profile = LoadProfileFile(folder, unknown);
  ASSERT_TRUE(profile);
  ComPtr<IMediaFile5> file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_WAV));
  EXPECT_EQ(MEDIA_E_UNSUPPORTED_FORMAT, file->SetStreamSettings(profile.Get()));
  EXPECT_EQ("unknown codec " + std::to_string(0x15999), LastErrorText());
}

}  // namespace
