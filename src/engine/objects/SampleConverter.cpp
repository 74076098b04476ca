#include "engine/objects/SampleConverter.h"

#include "engine/core/ClassTable.h"
#include "engine/objects/SampleBuffer.h"

#include "engine/media/FFmpegLibrary.h"

#include <vector>

namespace engine {

CSampleConverter::~CSampleConverter() {
  if (swr_) media::Av().swr_free(&swr_);
}

void* CSampleConverter::FindInterface(REFIID riid) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaSampleConverter5))
    return static_cast<IMediaSampleConverter5*>(this);
  return nullptr;
}

HRESULT CSampleConverter::Command(LONG command, IUnknown* argument, IUnknown** result) {
  return Guard([&]() -> HRESULT {
    if (result) *result = nullptr;
    std::lock_guard<std::mutex> g(lock_);
    switch (command) {
      case MEDIACONV_CMD_CONFIGURE:
        return Configure(argument);
      case MEDIACONV_CMD_CONVERT:
        return Convert(argument, result);
      default:
        return E_INVALIDARG;
    }
  });
}

HRESULT CSampleConverter::Configure(IUnknown* argument) {
  if (!argument) return E_POINTER;
  ComPtr<IMediaAudioFormat5> format;
  // Video formats are accepted and kept: this engine writes no video, so there
  // is nothing to convert for them.
  if (FAILED(argument->QueryInterface(IID_IMediaAudioFormat5, format.OutVoid()))) {
    target_.Reset();
    targetRate_ = targetChannels_ = 0;
    return S_OK;
  }
  LONG rate = 0, channels = 0;
  format->GetSampleRate(&rate);
  format->GetChannels(&channels);
  if (rate <= 0 || channels <= 0 || channels > 8) return MEDIA_E_UNSUPPORTED_FORMAT;
  target_ = format;
  targetRate_ = rate;
  targetChannels_ = channels;
  if (swr_) media::Av().swr_free(&swr_);
  return S_OK;
}

HRESULT CSampleConverter::Convert(IUnknown* argument, IUnknown** result) {
  if (!argument || !result) return E_POINTER;
  ComPtr<IMediaSample5> sample;
  HRESULT hr = argument->QueryInterface(IID_IMediaSample5, sample.OutVoid());
  if (FAILED(hr)) return hr;
  ComPtr<IMediaAudioFormat5> format;
  hr = sample->GetFormat(format.Out());
  if (FAILED(hr)) return hr;
  LONG rate = 0, channels = 0, bits = 16;
  format->GetSampleRate(&rate);
  format->GetChannels(&channels);
  format->GetBitsPerSample(&bits);
  if (rate <= 0 || channels <= 0 || channels > 8 || bits != 16) return MEDIA_E_UNSUPPORTED_FORMAT;
  if (!targetRate_ || (rate == targetRate_ && channels == targetChannels_)) {
    *result = sample.Copy();
    return S_OK;
  }
  if (!swr_ || rate != fromRate_ || channels != fromChannels_) {
    std::string missing;
    if (!media::LoadFFmpeg(&missing))
      return Fail(MEDIA_E_UNSUPPORTED_FORMAT, IID_IMediaSampleConverter5, FromUtf8(missing));
    media::Av().swr_free(&swr_);
    AVChannelLayout in, out;
    media::Av().av_channel_layout_default(&in, channels);
    media::Av().av_channel_layout_default(&out, targetChannels_);
    int err = media::Av().swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_S16, targetRate_, &in, AV_SAMPLE_FMT_S16, rate,
                                              0, nullptr);
    if (err < 0 || media::Av().swr_init(swr_) < 0) {
      media::Av().swr_free(&swr_);
      return MEDIA_E_UNSUPPORTED_FORMAT;
    }
    fromRate_ = rate;
    fromChannels_ = channels;
  }
  BYTE* data = nullptr;
  LONG capacity = 0, length = 0;
  sample->GetBuffer(&data, &capacity);
  sample->GetLength(&length);
  int frames = length / (2 * channels);
  int outMax = media::Av().swr_get_out_samples(swr_, frames);
  if (outMax < 0) return E_FAIL;
  std::vector<BYTE> out(static_cast<size_t>(outMax) * 2 * static_cast<size_t>(targetChannels_));
  uint8_t* outPlanes[1] = {out.data()};
  const uint8_t* inPlanes[1] = {data};
  int got = media::Av().swr_convert(swr_, outPlanes, outMax, frames > 0 ? inPlanes : nullptr, frames);
  if (got < 0) return E_FAIL;
  out.resize(static_cast<size_t>(got) * 2 * static_cast<size_t>(targetChannels_));
  double start = 0;
  sample->GetTimes(&start, nullptr);
  ComObject<CSampleBuffer>* converted = new ComObject<CSampleBuffer>();
  converted->Assign(targetRate_, targetChannels_, std::move(out), start);
  *result = static_cast<IMediaSample5*>(converted);
  return S_OK;
}

HRESULT CreateSampleConverter(REFIID riid, void** ppv) {
  return Guard([&] { return ComObject<CSampleConverter>::Create(riid, ppv); });
}

}  // namespace engine
