// Audio format classes: the generic format (any codec of the table) and the
// MP3 and AAC settings, which are audio formats fixed to their codec.
#include "engine/objects/AudioFormat.h"

#include <cstring>
#include <mutex>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"
#include "engine/media/EncoderSettings.h"
#include "engine/objects/CodecTable.h"

namespace engine {

AudioFormatState DefaultAudioFormat(LONG kind) {
  AudioFormatState s;
  s.kind = kind;
  if (kind == MEDIA_FORMAT_KIND_MP3) {
    s.codec = MEDIA_CODEC_MP3;
    s.bitrate = 128000;
  } else if (kind == MEDIA_FORMAT_KIND_AAC) {
    s.codec = MEDIA_CODEC_AAC;
    s.bitrate = 128000;
  }
  return s;
}

std::vector<BYTE> MakeWaveFormat(const AudioFormatState& s) {
  std::vector<BYTE> block(sizeof(WAVEFORMATEX) + s.waveExtra.size(), 0);
  WAVEFORMATEX wf = {};
  const CodecInfo* info = FindCodec(s.codec);
  wf.wFormatTag = info ? info->waveTag : 0;
  wf.nChannels = static_cast<WORD>(s.channels);
  wf.nSamplesPerSec = static_cast<DWORD>(s.sampleRate);
  if (s.codec == MEDIA_CODEC_PCM || s.codec == MEDIA_CODEC_PCM_BE || s.codec == MEDIA_CODEC_PCM24) {
    wf.wBitsPerSample = static_cast<WORD>(s.codec == MEDIA_CODEC_PCM24 ? 24 : s.bitsPerSample);
    wf.nBlockAlign = static_cast<WORD>(s.channels * wf.wBitsPerSample / 8);
    wf.nAvgBytesPerSec = wf.nBlockAlign * wf.nSamplesPerSec;
  } else if (s.codec == MEDIA_CODEC_ALAW || s.codec == MEDIA_CODEC_MULAW) {
    wf.wBitsPerSample = 8;
    wf.nBlockAlign = static_cast<WORD>(s.channels);
    wf.nAvgBytesPerSec = wf.nBlockAlign * wf.nSamplesPerSec;
  } else {
    wf.nBlockAlign = 1;
    wf.nAvgBytesPerSec = static_cast<DWORD>(s.bitrate / 8);
  }
  wf.cbSize = static_cast<WORD>(s.waveExtra.size());
  std::memcpy(block.data(), &wf, sizeof wf);
  if (!s.waveExtra.empty()) std::memcpy(block.data() + sizeof wf, s.waveExtra.data(), s.waveExtra.size());
  return block;
}

namespace {

// One class for the three kinds: the kind decides the CLSID's interface and
// which codecs are allowed.
class CAudioFormat : public ComClass,
                     public IMediaAacSettings5,
                     public IMediaMp3Settings5,
                     public IAudioFormatInternal {
 public:
  explicit CAudioFormat(LONG kind) : state_(DefaultAudioFormat(kind)) {}

  void* FindInterface(REFIID riid) {
    // The MP3 branch is the object's identity and its generic audio format.
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaAudioFormat5))
      return static_cast<IMediaAudioFormat5*>(static_cast<IMediaMp3Settings5*>(this));
    if (IsEqualIID(riid, IID_IMediaMp3Settings5) && state_.kind == MEDIA_FORMAT_KIND_MP3)
      return static_cast<IMediaMp3Settings5*>(this);
    if (IsEqualIID(riid, IID_IMediaAacSettings5) && state_.kind == MEDIA_FORMAT_KIND_AAC)
      return static_cast<IMediaAacSettings5*>(this);
    if (IsEqualIID(riid, IID_IAudioFormatInternal)) return static_cast<IAudioFormatInternal*>(this);
    return nullptr;
  }

  // The kind never changes, so it needs no lock.
  HRESULT STDMETHODCALLTYPE GetKind(LONG* kind) override { return Out(kind, state_.kind); }
  HRESULT STDMETHODCALLTYPE GetCodecId(LONG* codec) override { return Get(codec, &AudioFormatState::codec); }
  HRESULT STDMETHODCALLTYPE SetCodecId(LONG codec) override {
    // Identifiers missing from the table are kept: a profile may name a codec
    // this engine cannot write, and the writer refuses it then.
    if (state_.kind == MEDIA_FORMAT_KIND_MP3 && codec != MEDIA_CODEC_MP3) return E_INVALIDARG;
    if (state_.kind == MEDIA_FORMAT_KIND_AAC && codec != MEDIA_CODEC_AAC) return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(lock_);
    state_.codec = codec;
    if (codec == MEDIA_CODEC_PCM24) state_.bitsPerSample = 24;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSampleRate(LONG* hz) override { return Get(hz, &AudioFormatState::sampleRate); }
  HRESULT STDMETHODCALLTYPE SetSampleRate(LONG hz) override {
    if (hz < media::kMinSampleRate || hz > media::kMaxSampleRate) return E_INVALIDARG;
    return Set(&AudioFormatState::sampleRate, hz);
  }
  HRESULT STDMETHODCALLTYPE GetChannels(LONG* channels) override { return Get(channels, &AudioFormatState::channels); }
  HRESULT STDMETHODCALLTYPE SetChannels(LONG channels) override {
    if (channels < 1 || channels > 8) return E_INVALIDARG;
    return Set(&AudioFormatState::channels, channels);
  }
  HRESULT STDMETHODCALLTYPE GetBitrate(LONG* bps) override { return Get(bps, &AudioFormatState::bitrate); }
  HRESULT STDMETHODCALLTYPE SetBitrate(LONG bps) override {
    if (bps < 0) return E_INVALIDARG;
    return Set(&AudioFormatState::bitrate, bps);
  }
  HRESULT STDMETHODCALLTYPE GetBitsPerSample(LONG* bits) override {
    return Get(bits, &AudioFormatState::bitsPerSample);
  }
  HRESULT STDMETHODCALLTYPE SetBitsPerSample(LONG bits) override {
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return E_INVALIDARG;
    return Set(&AudioFormatState::bitsPerSample, bits);
  }
  HRESULT STDMETHODCALLTYPE GetCodecName(BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Guard([&] {
      AudioFormatState s = GetState();
      if (!s.codecName.empty()) return ReturnBstr(s.codecName, name);
      const CodecInfo* info = FindCodec(s.codec);
      return ReturnBstr(info ? info->name : u"Unknown", name);
    });
  }
  HRESULT STDMETHODCALLTYPE GetDescription(BSTR* text) override {
    if (!text) return E_POINTER;
    *text = nullptr;
    return Guard([&] {
      AudioFormatState s = GetState();
      if (!s.description.empty()) return ReturnBstr(s.description, text);
      return ReturnBstr(DescribeFormat(s.codec, s.sampleRate, s.channels, s.bitrate, s.bitsPerSample), text);
    });
  }
  HRESULT STDMETHODCALLTYPE GetWaveFormat(WAVEFORMATEX** format) override {
    if (!format) return E_POINTER;
    *format = nullptr;
    return Guard([&]() -> HRESULT {
      std::vector<BYTE> block = MakeWaveFormat(GetState());
      void* memory = CoTaskMemAlloc(block.size());
      if (!memory) return E_OUTOFMEMORY;
      std::memcpy(memory, block.data(), block.size());
      *format = static_cast<WAVEFORMATEX*>(memory);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE SetWaveFormat(const WAVEFORMATEX* format) override {
    if (!format) return E_POINTER;
    const LONG rate = static_cast<LONG>(format->nSamplesPerSec);
    if (format->nChannels < 1 || format->nChannels > 8 || rate < media::kMinSampleRate || rate > media::kMaxSampleRate)
      return E_INVALIDARG;
    LONG codec = CodecIdFromWaveTag(format->wFormatTag, format->wBitsPerSample);
    if (codec == 0) return E_INVALIDARG;
    if (state_.kind == MEDIA_FORMAT_KIND_MP3 && codec != MEDIA_CODEC_MP3) return E_INVALIDARG;
    if (state_.kind == MEDIA_FORMAT_KIND_AAC && codec != MEDIA_CODEC_AAC) return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(lock_);
    state_.codec = codec;
    state_.sampleRate = static_cast<LONG>(format->nSamplesPerSec);
    state_.channels = format->nChannels;
    if (format->wBitsPerSample) state_.bitsPerSample = format->wBitsPerSample;
    const CodecInfo* info = FindCodec(codec);
    state_.bitrate = (info && info->compressed) ? static_cast<LONG>(format->nAvgBytesPerSec) * 8 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IMediaAudioFormat5** copy) override {
    if (!copy) return E_POINTER;
    *copy = nullptr;
    return Guard([&] { return CreateAudioFormatFromState(GetState(), copy); });
  }

  HRESULT STDMETHODCALLTYPE GetRateMode(LONG* mode) override { return Get(mode, &AudioFormatState::mp3RateMode); }
  HRESULT STDMETHODCALLTYPE SetRateMode(LONG mode) override {
    if (mode != MEDIA_MP3_CBR && mode != MEDIA_MP3_VBR) return E_INVALIDARG;
    return Set(&AudioFormatState::mp3RateMode, mode);
  }
  HRESULT STDMETHODCALLTYPE GetStreamFormat(LONG* format) override {
    return Get(format, &AudioFormatState::aacStreamFormat);
  }
  HRESULT STDMETHODCALLTYPE SetStreamFormat(LONG format) override {
    if (format != MEDIA_AAC_RAW && format != MEDIA_AAC_ADTS) return E_INVALIDARG;
    return Set(&AudioFormatState::aacStreamFormat, format);
  }

  AudioFormatState GetState() override {
    std::lock_guard<std::mutex> hold(lock_);
    return state_;
  }
  HRESULT SetState(const AudioFormatState& state) override {
    if (state.kind != state_.kind) return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(lock_);
    state_ = state;
    return S_OK;
  }

 private:
  static HRESULT Out(LONG* out, LONG value) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
  }
  HRESULT Get(LONG* out, LONG AudioFormatState::*field) {
    if (!out) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *out = state_.*field;
    return S_OK;
  }
  HRESULT Set(LONG AudioFormatState::*field, LONG value) {
    std::lock_guard<std::mutex> hold(lock_);
    state_.*field = value;
    return S_OK;
  }

  std::mutex lock_;
  AudioFormatState state_;
};

}  // namespace

HRESULT ReadAudioFormat(IUnknown* format, AudioFormatState* state) {
  if (!format || !state) return E_POINTER;
  ComPtr<IAudioFormatInternal> internal;
  if (SUCCEEDED(format->QueryInterface(IID_IAudioFormatInternal, internal.OutVoid()))) {
    *state = internal->GetState();
    return S_OK;
  }
  ComPtr<IMediaAudioFormat5> audio;
  HRESULT hr = format->QueryInterface(IID_IMediaAudioFormat5, audio.OutVoid());
  if (FAILED(hr)) return hr;
  AudioFormatState s;
  audio->GetKind(&s.kind);
  audio->GetCodecId(&s.codec);
  audio->GetSampleRate(&s.sampleRate);
  audio->GetChannels(&s.channels);
  audio->GetBitrate(&s.bitrate);
  audio->GetBitsPerSample(&s.bitsPerSample);
  *state = s;
  return S_OK;
}

HRESULT CreateAudioFormatFromState(const AudioFormatState& state, IMediaAudioFormat5** format) {
  if (!format) return E_POINTER;
  *format = nullptr;
  if (state.kind != MEDIA_FORMAT_KIND_GENERIC && state.kind != MEDIA_FORMAT_KIND_MP3 &&
      state.kind != MEDIA_FORMAT_KIND_AAC)
    return E_INVALIDARG;
  ComPtr<IAudioFormatInternal> internal;
  HRESULT hr = ComObject<CAudioFormat>::Create(IID_IAudioFormatInternal, internal.OutVoid(), state.kind);
  if (FAILED(hr)) return hr;
  hr = internal->SetState(state);
  if (FAILED(hr)) return hr;
  return internal->QueryInterface(IID_IMediaAudioFormat5, reinterpret_cast<void**>(format));
}

HRESULT CreateAudioFormat(REFIID riid, void** ppv) {
  return ComObject<CAudioFormat>::Create(riid, ppv, static_cast<LONG>(MEDIA_FORMAT_KIND_GENERIC));
}
HRESULT CreateMp3Settings(REFIID riid, void** ppv) {
  return ComObject<CAudioFormat>::Create(riid, ppv, static_cast<LONG>(MEDIA_FORMAT_KIND_MP3));
}
HRESULT CreateAacSettings(REFIID riid, void** ppv) {
  return ComObject<CAudioFormat>::Create(riid, ppv, static_cast<LONG>(MEDIA_FORMAT_KIND_AAC));
}

}  // namespace engine
