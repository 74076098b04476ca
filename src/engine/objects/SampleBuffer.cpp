#include "engine/objects/SampleBuffer.h"

#include "engine/core/ClassTable.h"

namespace engine {

void* CSampleBuffer::FindInterface(REFIID riid) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaSample5)) return static_cast<IMediaSample5*>(this);
  return nullptr;
}

void CSampleBuffer::Assign(int sampleRate, int channels, std::vector<BYTE>&& data, double start) {
  rate_ = sampleRate;
  channels_ = channels;
  bits_ = 16;
  format_.Reset();
  data_ = std::move(data);
  length_ = data_.size();
  start_ = start;
  end_ = -1;
}

double CSampleBuffer::BytesToMs(size_t bytes) const {
  const int align = channels_ * bits_ / 8;
  if (rate_ <= 0 || align <= 0) return 0;
  return 1000.0 * static_cast<double>(bytes / static_cast<size_t>(align)) / rate_;
}

HRESULT CSampleBuffer::GetStreamType(LONG* type) {
  if (!type) return E_POINTER;
  *type = MEDIA_STREAM_AUDIO;
  return S_OK;
}

HRESULT CSampleBuffer::SetFormat(IMediaAudioFormat5* format) {
  return Guard([&]() -> HRESULT {
    if (!format) return E_POINTER;
    LONG rate = 0, channels = 0, bits = 16;
    format->GetSampleRate(&rate);
    format->GetChannels(&channels);
    format->GetBitsPerSample(&bits);
    if (rate <= 0 || channels <= 0) return E_INVALIDARG;
    rate_ = rate;
    channels_ = channels;
    bits_ = bits > 0 ? bits : 16;
    format_ = format;
    return S_OK;
  });
}

HRESULT CSampleBuffer::GetFormat(IMediaAudioFormat5** format) {
  return Guard([&]() -> HRESULT {
    if (!format) return E_POINTER;
    *format = nullptr;
    if (!format_) {
      ComPtr<IMediaAudioFormat5> made;
      HRESULT hr = CreateAudioFormat(IID_IMediaAudioFormat5, made.OutVoid());
      if (FAILED(hr)) return hr;
      made->SetCodecId(MEDIA_CODEC_PCM);
      made->SetSampleRate(rate_);
      made->SetChannels(channels_);
      made->SetBitsPerSample(bits_);
      made->SetBitrate(rate_ * channels_ * bits_);
      format_ = made;
    }
    *format = format_.Copy();
    return S_OK;
  });
}

HRESULT CSampleBuffer::Allocate(LONG bytes) {
  return Guard([&]() -> HRESULT {
    if (bytes < 0) return E_INVALIDARG;
    data_.assign(static_cast<size_t>(bytes), 0);
    length_ = data_.size();
    return S_OK;
  });
}

HRESULT CSampleBuffer::GetBuffer(BYTE** data, LONG* capacity) {
  if (!data) return E_POINTER;
  *data = data_.empty() ? nullptr : data_.data();
  if (capacity) *capacity = static_cast<LONG>(data_.size());
  return S_OK;
}

HRESULT CSampleBuffer::GetLength(LONG* bytes) {
  if (!bytes) return E_POINTER;
  *bytes = static_cast<LONG>(length_);
  return S_OK;
}

HRESULT CSampleBuffer::SetLength(LONG bytes) {
  if (bytes < 0 || static_cast<size_t>(bytes) > data_.size()) return E_INVALIDARG;
  length_ = static_cast<size_t>(bytes);
  return S_OK;
}

HRESULT CSampleBuffer::GetTimes(double* start, double* end) {
  if (start) *start = start_;
  if (end) *end = end_ >= 0 ? end_ : start_ + BytesToMs(length_);
  return S_OK;
}

HRESULT CSampleBuffer::SetTimes(double start, double end) {
  start_ = start;
  end_ = end;
  return S_OK;
}

HRESULT CSampleBuffer::GetDuration(double* ms) {
  if (!ms) return E_POINTER;
  *ms = end_ >= 0 ? end_ - start_ : BytesToMs(length_);
  return S_OK;
}

HRESULT CreateSampleBuffer(REFIID riid, void** ppv) {
  return Guard([&] { return ComObject<CSampleBuffer>::Create(riid, ppv); });
}

}  // namespace engine
