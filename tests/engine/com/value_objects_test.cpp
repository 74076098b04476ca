// Property bags, marker lists and audio formats as the program uses them:
// typed values, lists by element index, objects inside bags, markers with
// their bags, codec settings and wave-format blocks.
#include "tests/engine/engine_test_support.h"

#include <cmath>
#include <utility>

using namespace engine_test;

class PropertyBagTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    bag = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    ASSERT_TRUE(bag);
  }
  void TearDown() override {
    bag.Reset();
    ComTest::TearDown();
  }
  ComPtr<IMediaPropertyBag5> bag;
};

namespace {

TEST_F(PropertyBagTest, TypedValuesRoundTripAndRefuseOtherTypes) {
  Bstr op(u"Operation"), name(u"FileName"), text(u"C:\\Music\\Record-000.mp3");
  ASSERT_EQ(S_OK, bag->SetInteger(op, 0, 200, 0));
  ASSERT_EQ(S_OK, bag->SetString(name, 0, text, 0));
  LONGLONG v = 0;
  EXPECT_EQ(S_OK, bag->GetInteger(op, 0, &v));
  EXPECT_EQ(200, v);
  Bstr out;
  EXPECT_EQ(S_OK, bag->GetString(name, 0, out.Out()));
  EXPECT_EQ(u"C:\\Music\\Record-000.mp3", out.Str());
  // 64-bit values survive.
  ASSERT_EQ(S_OK, bag->SetInteger(op, 0, -5000000000LL, 0));
  EXPECT_EQ(S_OK, bag->GetInteger(op, 0, &v));
  EXPECT_EQ(-5000000000LL, v);

  EXPECT_EQ(DISP_E_TYPEMISMATCH, bag->GetString(op, 0, out.Out()));
  EXPECT_EQ(nullptr, static_cast<BSTR>(out));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, bag->GetInteger(name, 0, &v));
  LONG type = 0;
  EXPECT_EQ(S_OK, bag->GetValueType(name, 0, &type));
  EXPECT_EQ(MEDIA_VALUE_STRING, type);

  // Missing names and elements.
  Bstr missing(u"Title");
  EXPECT_EQ(E_INVALIDARG, bag->GetString(missing, 0, out.Out()));
  EXPECT_EQ(E_INVALIDARG, bag->GetInteger(op, 1, &v));
  LONG count = -1;
  EXPECT_EQ(S_OK, bag->GetCount(missing, &count));
  EXPECT_EQ(0, count);
  // A plain literal serves as a name as well as a BSTR does.
  EXPECT_EQ(S_OK, bag->GetInteger(const_cast<BSTR>(u"Operation"), 0, &v));
  // An empty name is refused.
  EXPECT_EQ(E_INVALIDARG, bag->SetInteger(const_cast<BSTR>(u""), 0, 1, 0));
}

TEST_F(PropertyBagTest, ListsAreAddressedByElementIndex) {
  Bstr list(u"AudioStreamInfo");
  for (int i = 0; i < 3; ++i) ASSERT_EQ(S_OK, bag->SetInteger(list, MEDIA_ELEMENT_APPEND, 10 + i, i));
  LONG count = 0;
  bag->GetCount(list, &count);
  EXPECT_EQ(3, count);
  // Element equal to the count appends; beyond it is refused.
  EXPECT_EQ(S_OK, bag->SetInteger(list, 3, 13, 0));
  EXPECT_EQ(E_INVALIDARG, bag->SetInteger(list, 5, 15, 0));
  EXPECT_EQ(E_INVALIDARG, bag->SetInteger(list, -2, 15, 0));
  // Replacing keeps the others.
  EXPECT_EQ(S_OK, bag->SetInteger(list, 1, 99, 2));
  LONGLONG v = 0;
  LONG flags = 0;
  bag->GetInteger(list, 1, &v);
  bag->GetFlags(list, 1, &flags);
  EXPECT_EQ(99, v);
  EXPECT_EQ(2, flags);
  bag->GetInteger(list, 2, &v);
  EXPECT_EQ(12, v);

  // Removing an element shifts the rest; removing the whole list forgets it.
  EXPECT_EQ(S_OK, bag->Remove(list, 0));
  bag->GetInteger(list, 0, &v);
  EXPECT_EQ(99, v);
  EXPECT_EQ(S_FALSE, bag->Remove(list, 7));
  EXPECT_EQ(S_OK, bag->Remove(list, -1));
  bag->GetCount(list, &count);
  EXPECT_EQ(0, count);
  EXPECT_EQ(S_FALSE, bag->Remove(list, -1));
}

TEST_F(PropertyBagTest, ObjectsAreHeldAndHandedOutByInterface) {
  ComPtr<IMediaPropertyBag5> stream = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  ComPtr<IMediaMp3Settings5> mp3 = Create<IMediaMp3Settings5>(CLSID_MediaMp3Settings5, IID_IMediaMp3Settings5);
  Bstr avformat(u"AVFormat"), streams(u"AudioStreamInfo");
  ASSERT_EQ(S_OK, stream->SetObject(avformat, 0, mp3.Get(), MEDIA_PROPFLAG_PROFILE));
  ASSERT_EQ(S_OK, bag->SetObject(streams, MEDIA_ELEMENT_APPEND, stream.Get(), MEDIA_PROPFLAG_PROFILE));

  ComPtr<IMediaPropertyBag5> gotStream;
  ASSERT_EQ(S_OK, bag->GetObject(streams, 0, IID_IMediaPropertyBag5, gotStream.OutVoid()));
  EXPECT_EQ(stream.Get(), gotStream.Get());
  ComPtr<IMediaAudioFormat5> format;
  ASSERT_EQ(S_OK, gotStream->GetObject(avformat, 0, IID_IMediaAudioFormat5, format.OutVoid()));
  // The same object, not a copy: a change through one reference shows in the other.
  ASSERT_EQ(S_OK, format->SetBitrate(192000));
  LONG bitrate = 0;
  mp3->GetBitrate(&bitrate);
  EXPECT_EQ(192000, bitrate);
  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, gotStream->GetObject(avformat, 0, IID_IMediaAacSettings5, &p));
  EXPECT_EQ(nullptr, p);
  EXPECT_EQ(E_INVALIDARG, bag->GetObject(const_cast<BSTR>(u"Missing"), 0, IID_IUnknown, &p));
  bag->SetInteger(const_cast<BSTR>(u"ContainerType"), 0, -1, 0);
  EXPECT_EQ(DISP_E_TYPEMISMATCH, bag->GetObject(const_cast<BSTR>(u"ContainerType"), 0, IID_IUnknown, &p));
  EXPECT_EQ(E_POINTER, bag->SetObject(streams, 0, nullptr, 0));
  // A bag cannot hold itself (it could never be freed).
  EXPECT_EQ(E_INVALIDARG, bag->SetObject(streams, MEDIA_ELEMENT_APPEND, bag.Get(), 0));
  // Releasing the outer bag releases what it holds.
  mp3.Reset();
  format.Reset();
  gotStream.Reset();
  stream.Reset();
  EXPECT_EQ(S_OK, bag->RemoveAll());
  LONG names = -1;
  bag->GetPropertyCount(&names);
  EXPECT_EQ(0, names);
}

TEST_F(PropertyBagTest, NamesKeepTheirFirstOrderAndOptionsAreKept) {
  const char16_t* names[] = {u"ProfileName", u"ContainerType", u"AudioStreamInfo", u"ProfileComment"};
  for (const char16_t* n : names) bag->SetInteger(const_cast<BSTR>(n), 0, 1, 0);
  bag->SetInteger(const_cast<BSTR>(u"ProfileName"), 0, 2, 0);  // replacing does not move it
  LONG count = 0;
  bag->GetPropertyCount(&count);
  ASSERT_EQ(4, count);
  for (LONG i = 0; i < count; ++i) {
    Bstr n;
    ASSERT_EQ(S_OK, bag->GetPropertyName(i, n.Out()));
    EXPECT_EQ(std::u16string(names[i]), n.Str());
  }
  Bstr n;
  EXPECT_EQ(E_INVALIDARG, bag->GetPropertyName(4, n.Out()));

  // The application turns every option on for its global configuration.
  EXPECT_EQ(S_OK, bag->SetOptions(-1));
  LONG options = 0;
  EXPECT_EQ(S_OK, bag->GetOptions(&options));
  EXPECT_EQ(-1, options);
}

}  // namespace

class MarkerListTest : public ComTest {};

namespace {

TEST_F(MarkerListTest, MarkersAreAddedDisabledAndEnabledByIndex) {
  auto markers = Create<IMediaMarkerList5>(CLSID_MediaMarkerList5, IID_IMediaMarkerList5);
  VARIANT_BOOL enabled = VARIANT_TRUE;
  markers->GetEnabled(&enabled);
  EXPECT_EQ(VARIANT_FALSE, enabled);
  ASSERT_EQ(S_OK, markers->SetEnabled(VARIANT_TRUE));
  markers->GetEnabled(&enabled);
  EXPECT_EQ(VARIANT_TRUE, enabled);

  // As the recording job adds a marker every 2 s.
  for (double t = 2000; t < 8000; t += 2000) {
    LONG index = -1;
    ASSERT_EQ(S_OK, markers->Add(t, 0.0, nullptr, &index));
    ASSERT_EQ(S_OK, markers->EnableMarker(index, VARIANT_TRUE));
  }
  LONG index = -1;
  ASSERT_EQ(S_OK, markers->Add(9000, 0.0, nullptr, &index));
  EXPECT_EQ(3, index);
  LONG count = 0;
  markers->GetCount(&count);
  EXPECT_EQ(4, count);
  double time = 0, length = -1;
  markers->GetMarker(1, &time, &length, &enabled);
  EXPECT_EQ(4000.0, time);
  EXPECT_EQ(0.0, length);
  EXPECT_EQ(VARIANT_TRUE, enabled);
  markers->GetMarker(3, &time, nullptr, &enabled);
  EXPECT_EQ(VARIANT_FALSE, enabled);
  EXPECT_EQ(E_INVALIDARG, markers->GetMarker(4, &time, nullptr, nullptr));
  EXPECT_EQ(E_INVALIDARG, markers->EnableMarker(-1, VARIANT_TRUE));
  EXPECT_EQ(E_INVALIDARG, markers->Add(-1.0, 0.0, nullptr, &index));
  EXPECT_EQ(E_INVALIDARG, markers->Add(std::nan(""), 0.0, nullptr, &index));

  // A marker's bag is made once and kept, so its "MarkerName" stays.
  ComPtr<IMediaPropertyBag5> props;
  ASSERT_EQ(S_OK, markers->GetProperties(0, props.Out()));
  Bstr markerName(u"MarkerName"), value(u"Chorus");
  props->SetString(markerName, 0, value, 0);
  props.Reset();
  ASSERT_EQ(S_OK, markers->GetProperties(0, props.Out()));
  Bstr got;
  EXPECT_EQ(S_OK, props->GetString(markerName, 0, got.Out()));
  EXPECT_EQ(u"Chorus", got.Str());

  EXPECT_EQ(S_OK, markers->Remove(0));
  markers->GetMarker(0, &time, nullptr, nullptr);
  EXPECT_EQ(4000.0, time);
  EXPECT_EQ(S_OK, markers->Clear());
  markers->GetCount(&count);
  EXPECT_EQ(0, count);
}

}  // namespace

class AudioFormatTest : public ComTest {};

namespace {

TEST_F(AudioFormatTest, CodecSettingsHaveTheirKindsAndDefaults) {
  struct Case {
    const CLSID* clsid;
    LONG kind, codec, bitrate;
  } cases[] = {
      {&CLSID_MediaAudioFormat5, MEDIA_FORMAT_KIND_GENERIC, MEDIA_CODEC_PCM, 0},
      {&CLSID_MediaMp3Settings5, MEDIA_FORMAT_KIND_MP3, MEDIA_CODEC_MP3, 128000},
      {&CLSID_MediaAacSettings5, MEDIA_FORMAT_KIND_AAC, MEDIA_CODEC_AAC, 128000},
  };
  for (const Case& c : cases) {
    auto f = Create<IMediaAudioFormat5>(*c.clsid, IID_IMediaAudioFormat5);
    LONG kind = 0, codec = 0, rate = 0, channels = 0, bitrate = -1;
    f->GetKind(&kind);
    f->GetCodecId(&codec);
    f->GetSampleRate(&rate);
    f->GetChannels(&channels);
    f->GetBitrate(&bitrate);
    EXPECT_EQ(c.kind, kind);
    EXPECT_EQ(c.codec, codec);
    EXPECT_EQ(44100, rate);
    EXPECT_EQ(2, channels);
    EXPECT_EQ(c.bitrate, bitrate);
  }
  // Codec settings stay on their codec; the generic format takes any.
  auto mp3 = Create<IMediaMp3Settings5>(CLSID_MediaMp3Settings5, IID_IMediaMp3Settings5);
  EXPECT_EQ(E_INVALIDARG, mp3->SetCodecId(MEDIA_CODEC_AAC));
  EXPECT_EQ(S_OK, mp3->SetRateMode(MEDIA_MP3_VBR));
  EXPECT_EQ(E_INVALIDARG, mp3->SetRateMode(7));
  auto aac = Create<IMediaAacSettings5>(CLSID_MediaAacSettings5, IID_IMediaAacSettings5);
  EXPECT_EQ(S_OK, aac->SetStreamFormat(MEDIA_AAC_ADTS));  // the AAC format's option 2
  EXPECT_EQ(E_INVALIDARG, aac->SetStreamFormat(0));
  LONG streamFormat = 0;
  aac->GetStreamFormat(&streamFormat);
  EXPECT_EQ(MEDIA_AAC_ADTS, streamFormat);
  auto generic = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
  EXPECT_EQ(S_OK, generic->SetCodecId(MEDIA_CODEC_AMR_NB));
  // Rates from 8 to 384 kHz, whichever way they are set.
  const std::pair<LONG, HRESULT> kRates[] = {{0, E_INVALIDARG}, {1, E_INVALIDARG}, {7999, E_INVALIDARG},
                                             {8000, S_OK},      {384000, S_OK},    {384001, E_INVALIDARG}};
  for (const auto& [rate, hr] : kRates) {
    EXPECT_EQ(hr, generic->SetSampleRate(rate)) << rate;
    WAVEFORMATEX wave = {};
    wave.wFormatTag = 1;
    wave.nChannels = 1;
    wave.nSamplesPerSec = static_cast<DWORD>(rate);
    wave.wBitsPerSample = 16;
    wave.nBlockAlign = 2;
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * 2;
    auto pcm = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
    EXPECT_EQ(hr, pcm->SetWaveFormat(&wave)) << rate;
  }
  // An AMR NB format is described by the mode its bit rate stands for: the
  // stored whole kbit/s, the true rates, the nearest mode up to the last one.
  const std::pair<LONG, const char16_t*> kModes[] = {
      {12000, u"12.20 kbps, 8000 Hz, Mono"}, {12200, u"12.20 kbps, 8000 Hz, Mono"},
      {11201, u"12.20 kbps, 8000 Hz, Mono"}, {11199, u"10.20 kbps, 8000 Hz, Mono"},
      {40000, u"12.20 kbps, 8000 Hz, Mono"}, {4000, u"4.75 kbps, 8000 Hz, Mono"}};
  generic->SetSampleRate(8000);
  generic->SetChannels(1);
  for (const auto& [bitrate, text] : kModes) {
    generic->SetBitrate(bitrate);
    Bstr description;
    ASSERT_EQ(S_OK, generic->GetDescription(description.Out()));
    EXPECT_EQ(text, description.Str()) << bitrate;
  }
  EXPECT_EQ(E_INVALIDARG, generic->SetChannels(0));
  EXPECT_EQ(E_INVALIDARG, generic->SetBitrate(-1));

  Bstr name;
  ASSERT_EQ(S_OK, mp3->GetCodecName(name.Out()));
  EXPECT_EQ(u"Mpeg Layer 3", name.Str());
  ASSERT_EQ(S_OK, generic->GetCodecName(name.Out()));
  EXPECT_EQ(u"AMR NB", name.Str());
}

TEST_F(AudioFormatTest, WaveFormatBlocksDescribeTheCodec) {
  auto alaw = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
  alaw->SetCodecId(MEDIA_CODEC_ALAW);
  WAVEFORMATEX* wf = nullptr;
  ASSERT_EQ(S_OK, alaw->GetWaveFormat(&wf));
  EXPECT_EQ(6, wf->wFormatTag);
  EXPECT_EQ(2, wf->nChannels);
  EXPECT_EQ(44100u, wf->nSamplesPerSec);
  EXPECT_EQ(2, wf->nBlockAlign);
  EXPECT_EQ(88200u, wf->nAvgBytesPerSec);
  EXPECT_EQ(0, wf->cbSize);
  CoTaskMemFree(wf);

  // The conversion driver hands its silence format over as a PCM block.
  WAVEFORMATEX pcm = {};
  pcm.wFormatTag = 1;
  pcm.nChannels = 1;
  pcm.nSamplesPerSec = 22050;
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = 2;
  pcm.nAvgBytesPerSec = 44100;
  ASSERT_EQ(S_OK, alaw->SetWaveFormat(&pcm));
  LONG codec = 0, rate = 0, channels = 0;
  alaw->GetCodecId(&codec);
  alaw->GetSampleRate(&rate);
  alaw->GetChannels(&channels);
  EXPECT_EQ(MEDIA_CODEC_PCM, codec);
  EXPECT_EQ(22050, rate);
  EXPECT_EQ(1, channels);
  pcm.wFormatTag = 0x1234;  // unknown to the engine
  EXPECT_EQ(E_INVALIDARG, alaw->SetWaveFormat(&pcm));

  // A clone is equal and independent.
  ComPtr<IMediaAudioFormat5> copy;
  ASSERT_EQ(S_OK, alaw->Clone(copy.Out()));
  EXPECT_NE(alaw.Get(), copy.Get());
  copy->SetSampleRate(8000);
  alaw->GetSampleRate(&rate);
  EXPECT_EQ(22050, rate);
  Bstr description;
  ASSERT_EQ(S_OK, copy->GetDescription(description.Out()));
  EXPECT_EQ(u"8000 Hz, 16 bit, Mono", description.Str());
}

TEST_F(AudioFormatTest, WindowsMediaContainerListsCodecsWithDistinctFormats) {
  auto file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  LONG codecs = -1;
  ASSERT_EQ(S_OK, file->GetCodecCount(&codecs));
  EXPECT_EQ(0, codecs);  // no container type yet
  ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_ASF));
  ASSERT_EQ(S_OK, file->GetCodecCount(&codecs));
  ASSERT_GE(codecs, 1);
  LONG formats = 0;
  ASSERT_EQ(S_OK, file->GetCodecFormatCount(0, &formats));
  ASSERT_GE(formats, 2);
  std::vector<std::string> blocks;
  bool has128Stereo44 = false;
  for (LONG i = 0; i < formats; ++i) {
    ComPtr<IMediaAudioFormat5> f;
    ASSERT_EQ(S_OK, file->GetCodecFormat(0, i, f.Out()));
    WAVEFORMATEX* wf = nullptr;
    ASSERT_EQ(S_OK, f->GetWaveFormat(&wf));
    blocks.emplace_back(reinterpret_cast<const char*>(wf), sizeof(WAVEFORMATEX) + wf->cbSize);
    CoTaskMemFree(wf);
    LONG rate = 0, channels = 0, bitrate = 0;
    f->GetSampleRate(&rate);
    f->GetChannels(&channels);
    f->GetBitrate(&bitrate);
    if (rate == 44100 && channels == 2 && bitrate / 1000 == 128) has128Stereo44 = true;
  }
  EXPECT_TRUE(has128Stereo44);
  // The editor finds a profile's format by its block: blocks must differ.
  for (size_t i = 0; i < blocks.size(); ++i)
    for (size_t j = i + 1; j < blocks.size(); ++j) EXPECT_NE(blocks[i], blocks[j]) << i << " " << j;
  ComPtr<IMediaAudioFormat5> f;
  EXPECT_EQ(E_INVALIDARG, file->GetCodecFormat(0, formats, f.Out()));
  EXPECT_EQ(E_INVALIDARG, file->GetCodecFormat(codecs, 0, f.Out()));
}

}  // namespace

class EngineAuxTest : public ComTest {};

namespace {

TEST_F(EngineAuxTest, KeepsTheGlobalConfigurationAndCountsOnePass) {
  // As the application starts: the global configuration with every option on.
  auto config = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  ASSERT_EQ(S_OK, config->SetOptions(-1));
  Bstr tempPath(u"TempPath"), value(u"C:\\Temp\\Quorvane\\Sondrel\\");
  config->SetString(tempPath, 0, value, 0);
  auto aux = Create<IMediaEngineAux5>(CLSID_MediaEngineAux5, IID_IMediaEngineAux5);
  ComPtr<IMediaPropertyBag5> got;
  EXPECT_EQ(S_FALSE, aux->GetConfiguration(got.Out()));
  EXPECT_EQ(E_POINTER, aux->Initialize(nullptr));
  ASSERT_EQ(S_OK, aux->Initialize(config.Get()));
  ASSERT_EQ(S_OK, aux->GetConfiguration(got.Out()));
  EXPECT_EQ(config.Get(), got.Get());
  auto mp3 = Create<IUnknown>(CLSID_MediaMp3Settings5, IID_IUnknown);
  LONG passes = 0;
  ASSERT_EQ(S_OK, aux->GetPassCount(mp3.Get(), &passes));
  EXPECT_EQ(1, passes);
  EXPECT_EQ(S_OK, aux->SetPassInfo(mp3.Get(), 0, value));
  EXPECT_EQ(E_INVALIDARG, aux->SetPassInfo(mp3.Get(), 1, value));
}

}  // namespace
