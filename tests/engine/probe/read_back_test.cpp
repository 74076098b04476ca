// Files the engine writes in each of the nine formats read back through the
// read side as the file list reads them: container, codec, rate, channels and
// duration of what was written.
#include "tests/engine/engine_test_support.h"

#include <cmath>
#include <cstring>

using namespace engine_test;

namespace {

struct WrittenCase {
  const char* file;
  LONG container;
  const CLSID* formatClass;
  LONG codec;  // for the generic format; 0 keeps the class's own
  LONG rate, channels, bitrate;
  LONG expectCodec;
};

// The default profiles of the format table, one per format.
const WrittenCase kWritten[] = {
    {"w.mp3", MEDIA_CONTAINER_MP3, &CLSID_MediaMp3Settings5, 0, 44100, 2, 128000, MEDIA_CODEC_MP3},
    {"w.wma", MEDIA_CONTAINER_ASF, &CLSID_MediaAudioFormat5, MEDIA_CODEC_WMA2, 44100, 2, 128000, MEDIA_CODEC_WMA2},
    {"w.aac", MEDIA_CONTAINER_AAC_ADTS, &CLSID_MediaAacSettings5, 0, 44100, 2, 128000, MEDIA_CODEC_AAC},
    {"w.m4a", MEDIA_CONTAINER_MP4, &CLSID_MediaAacSettings5, 0, 44100, 2, 128000, MEDIA_CODEC_AAC},
    {"w.wav", MEDIA_CONTAINER_WAV, &CLSID_MediaAudioFormat5, MEDIA_CODEC_PCM, 44100, 2, 0, MEDIA_CODEC_PCM},
    {"w.aif", MEDIA_CONTAINER_AIFF, &CLSID_MediaAudioFormat5, MEDIA_CODEC_ALAW, 44100, 2, 0, MEDIA_CODEC_ALAW},
    {"w.ogg", MEDIA_CONTAINER_OGG, &CLSID_MediaAudioFormat5, MEDIA_CODEC_VORBIS, 44100, 2, 128000, MEDIA_CODEC_VORBIS},
    {"w.amr", MEDIA_CONTAINER_AMR, &CLSID_MediaAudioFormat5, MEDIA_CODEC_AMR_NB, 8000, 1, 7000, MEDIA_CODEC_AMR_NB},
    {"w.au", MEDIA_CONTAINER_AU, &CLSID_MediaAudioFormat5, MEDIA_CODEC_ALAW, 44100, 2, 0, MEDIA_CODEC_ALAW},
};

}  // namespace

class ReadBackTest : public ComTest {
 protected:
  ScratchFolder folder;
};

namespace {

TEST_F(ReadBackTest, EveryWrittenFormatReadsBackWithItsDuration) {
  ASSERT_TRUE(folder.Ok());
  for (const WrittenCase& c : kWritten) {
    SCOPED_TRACE(c.file);
    auto format = Create<IMediaAudioFormat5>(*c.formatClass, IID_IMediaAudioFormat5);
    if (c.codec) {
      ASSERT_EQ(S_OK, format->SetCodecId(c.codec));
    }
    format->SetSampleRate(c.rate);
    format->SetChannels(c.channels);
    format->SetBitrate(c.bitrate);
    if (c.container == MEDIA_CONTAINER_AAC_ADTS) {
      ComPtr<IMediaAacSettings5> aac;
      ASSERT_EQ(S_OK, format->QueryInterface(IID_IMediaAacSettings5, aac.OutVoid()));
      aac->SetStreamFormat(MEDIA_AAC_ADTS);
    }
    auto profile = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    auto stream = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    Bstr avformat(u"AVFormat"), streams(u"AudioStreamInfo");
    stream->SetObject(avformat, 0, format.Get(), 1);
    profile->SetObject(streams, MEDIA_ELEMENT_APPEND, stream.Get(), 1);

    auto writer = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, writer->SetContainerType(c.container));
    ASSERT_EQ(S_OK, writer->SetStreamSettings(profile.Get()));
    auto op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    Bstr operation(u"Operation"), mode(u"OperationMode"), fileName(u"FileName"), path(folder.Windows(c.file));
    op->SetInteger(operation, 0, MEDIA_OPERATION_WRITE, 0);
    op->SetInteger(mode, 0, MEDIA_MODE_FILE, 0);
    op->SetString(fileName, 0, path, 0);
    ASSERT_EQ(S_OK, writer->Command(MEDIAFILE_CMD_OPEN, op.Get()));

    // Three seconds of a 440 Hz tone in 500 ms blocks, as capture delivers it.
    auto pcm = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
    const LONG rate = 44100, channels = 2, block = rate / 2;
    long frame = 0;
    for (int i = 0; i < 6; ++i) {
      auto sample = Create<IMediaSample5>(CLSID_MediaSampleBuffer5, IID_IMediaSample5);
      ASSERT_EQ(S_OK, sample->SetFormat(pcm.Get()));
      ASSERT_EQ(S_OK, sample->Allocate(block * channels * 2));
      BYTE* data = nullptr;
      LONG capacity = 0;
      ASSERT_EQ(S_OK, sample->GetBuffer(&data, &capacity));
      int16_t* s = reinterpret_cast<int16_t*>(data);
      for (LONG k = 0; k < block; ++k, ++frame) {
        int16_t v = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440.0 * frame / rate));
        s[2 * k] = s[2 * k + 1] = v;
      }
      sample->SetTimes(i * 500.0, (i + 1) * 500.0);
      ASSERT_EQ(S_OK, writer->WriteSample(sample.Get()));
    }
    ASSERT_TRUE(SUCCEEDED(writer->Command(MEDIAFILE_CMD_FINISH, nullptr)));
    writer.Reset();

    auto reader = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    op->SetInteger(operation, 0, MEDIA_OPERATION_READ, 0);
    ASSERT_EQ(S_OK, reader->Command(MEDIAFILE_CMD_OPEN, op.Get()));
    LONG container = 0, audio = 0;
    reader->GetContainerType(&container);
    reader->GetStreamCount(MEDIA_STREAM_AUDIO, &audio);
    EXPECT_EQ(c.container, container);
    ASSERT_EQ(1, audio);
    double ms = 0;
    reader->GetDuration(MEDIA_STREAM_AUDIO, &ms);
    EXPECT_NEAR(3000.0, ms, 100.0);
    ComPtr<IMediaAudioFormat5> got;
    ASSERT_EQ(S_OK, reader->GetStreamFormat(MEDIA_STREAM_AUDIO, IID_IMediaAudioFormat5, got.OutVoid()));
    LONG codec = 0, gotRate = 0, gotChannels = 0;
    got->GetCodecId(&codec);
    got->GetSampleRate(&gotRate);
    got->GetChannels(&gotChannels);
    EXPECT_EQ(c.expectCodec, codec);
    EXPECT_EQ(c.rate, gotRate);
    EXPECT_EQ(c.channels, gotChannels);
  }
}

}  // namespace
