// The media file class. Its read side (probing an existing file) is here; its
// write side (encoding and muxing) is engine::media::FileWriteSide, to which
// the write calls are forwarded.
#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <mutex>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"
#include "engine/core/ConnectionPoints.h"
#include "engine/media/FileWriteSide.h"
#include "engine/objects/CodecTable.h"
#include "engine/objects/MediaProbe.h"

namespace engine {

namespace {

HRESULT GetBagInteger(IMediaPropertyBag5* bag, const char16_t* name, LONGLONG* value) {
  BSTR key = SysAllocString(reinterpret_cast<const OLECHAR*>(name));
  if (!key) return E_OUTOFMEMORY;
  HRESULT hr = bag->GetInteger(key, 0, value);
  SysFreeString(key);
  return hr;
}

HRESULT GetBagString(IMediaPropertyBag5* bag, const char16_t* name, std::u16string* value) {
  BSTR key = SysAllocString(reinterpret_cast<const OLECHAR*>(name));
  if (!key) return E_OUTOFMEMORY;
  BSTR text = nullptr;
  HRESULT hr = bag->GetString(key, 0, &text);
  SysFreeString(key);
  if (SUCCEEDED(hr)) *value = FromWide(text);
  SysFreeString(text);
  return hr;
}

HRESULT SetBagString(IMediaPropertyBag5* bag, const std::u16string& name, const std::u16string& value) {
  BSTR key = ToBstr(name);
  BSTR text = ToBstr(value);
  HRESULT hr = (key && text) ? bag->SetString(key, 0, text, 0) : E_OUTOFMEMORY;
  SysFreeString(key);
  SysFreeString(text);
  return hr;
}

class CMediaFile : public ComClass,
                   public IMediaFile5,
                   public IMediaContainerInfo5,
                   public IConnectionPointContainer,
                   public ISupportErrorInfo {
 public:
  CMediaFile()
      : events_(static_cast<IMediaFile5*>(this), static_cast<IConnectionPointContainer*>(this),
                DIID__IMediaFile5Events) {}

  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaFile5)) return static_cast<IMediaFile5*>(this);
    if (IsEqualIID(riid, IID_IMediaContainerInfo5)) return static_cast<IMediaContainerInfo5*>(this);
    if (IsEqualIID(riid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
    if (IsEqualIID(riid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

  // Settings and writing failures say why (an unknown codec, one the container
  // cannot hold, one without an encoder) through the error object.
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, IID_IMediaFile5) ? S_OK : S_FALSE;
  }

  // --- IMediaFile5 -------------------------------------------------------

  HRESULT STDMETHODCALLTYPE SetContainerType(LONG type) override {
    std::lock_guard<std::mutex> hold(lock_);
    if (mode_ != Mode::None) return MEDIA_E_ALREADY_OPEN;
    HRESULT hr = Guard([&] { return writer_.SetContainerType(type); });
    if (SUCCEEDED(hr)) container_ = type;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetContainerType(LONG* type) override {
    if (!type) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *type = container_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetStreamSettings(IMediaPropertyBag5* profile) override {
    if (!profile) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    if (mode_ != Mode::None) return MEDIA_E_ALREADY_OPEN;
    HRESULT hr = Guard([&] { return writer_.SetStreamSettings(profile); });
    if (SUCCEEDED(hr)) profile_ = profile;
    return Explained(hr);
  }
  HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5* tags) override {
    std::lock_guard<std::mutex> hold(lock_);
    tags_ = tags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** tags) override {
    if (!tags) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *tags = tags_.Copy();
    return *tags ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Command(LONG command, IMediaPropertyBag5* operation) override {
    return Guard([&]() -> HRESULT {
      if (command == MEDIAFILE_CMD_OPEN) return Open(operation);
      if (command == MEDIAFILE_CMD_FINISH) return Finish();
      return E_INVALIDARG;
    });
  }

  HRESULT STDMETHODCALLTYPE GetFileName(BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    return ReturnBstr(fileName_, name);
  }

  HRESULT STDMETHODCALLTYPE GetStreamCount(LONG streamType, LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    std::lock_guard<std::mutex> hold(lock_);
    if (streamType != MEDIA_STREAM_AUDIO && streamType != MEDIA_STREAM_VIDEO) return E_INVALIDARG;
    *count = static_cast<LONG>(StreamsOf(streamType).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SelectStream(LONG streamType, LONG index) override {
    std::lock_guard<std::mutex> hold(lock_);
    if (streamType != MEDIA_STREAM_AUDIO && streamType != MEDIA_STREAM_VIDEO) return E_INVALIDARG;
    if (index < 0 || index >= static_cast<LONG>(StreamsOf(streamType).size())) return E_INVALIDARG;
    Selected(streamType) = index;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSelectedStream(LONG streamType, LONG* index) override {
    if (!index) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    if (streamType != MEDIA_STREAM_AUDIO && streamType != MEDIA_STREAM_VIDEO) return E_INVALIDARG;
    *index = Selected(streamType);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDuration(LONG streamType, double* ms) override {
    if (!ms) return E_POINTER;
    *ms = 0;
    std::lock_guard<std::mutex> hold(lock_);
    if (streamType == MEDIA_STREAM_ANY) {
      *ms = mode_ == Mode::Reading ? probe_.durationMs : WrittenMs();
      return S_OK;
    }
    if (streamType != MEDIA_STREAM_AUDIO && streamType != MEDIA_STREAM_VIDEO) return E_INVALIDARG;
    const ProbedStream* s = SelectedStream(streamType);
    if (s) *ms = s->durationMs;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetStreamFormat(LONG streamType, REFIID riid, void** format) override {
    if (!format) return E_POINTER;
    *format = nullptr;
    return Guard([&]() -> HRESULT {
      std::lock_guard<std::mutex> hold(lock_);
      const ProbedStream* s = SelectedStream(streamType);
      if (!s) return E_INVALIDARG;
      if (streamType == MEDIA_STREAM_AUDIO) {
        ComPtr<IMediaAudioFormat5> audio;
        HRESULT hr = CreateAudioFormatFromState(s->audio, audio.Out());
        if (FAILED(hr)) return hr;
        return audio->QueryInterface(riid, format);
      }
      ComPtr<IMediaVideoFormat5> video;
      HRESULT hr = CreateVideoFormatFromState(s->video, video.Out());
      if (FAILED(hr)) return hr;
      return video->QueryInterface(riid, format);
    });
  }
  HRESULT STDMETHODCALLTYPE GetStreamProperties(LONG streamType, IMediaPropertyBag5** properties) override {
    if (!properties) return E_POINTER;
    *properties = nullptr;
    return Guard([&]() -> HRESULT {
      std::lock_guard<std::mutex> hold(lock_);
      const ProbedStream* s = SelectedStream(streamType);
      if (!s) return E_INVALIDARG;
      ComPtr<IMediaPropertyBag5> bag;
      HRESULT hr = CreatePropertyBag(IID_IMediaPropertyBag5, bag.OutVoid());
      if (FAILED(hr)) return hr;
      if (!s->language.empty()) {
        hr = SetBagString(bag.Get(), MEDIA_PROP_LANGUAGE_NAME, s->language);
        if (FAILED(hr)) return hr;
      }
      *properties = bag.Detach();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE IsSeekable(VARIANT_BOOL* seekable) override {
    if (!seekable) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *seekable = (mode_ == Mode::Reading && probe_.seekable) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE WriteSample(IMediaSample5* sample) override {
    if (!sample) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    if (mode_ != Mode::Writing) return MEDIA_E_NOT_OPEN;
    HRESULT hr = Guard([&] { return writer_.WriteSample(sample); });
    RefreshWrittenStream();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE ReadVideoFrame(double ms, IMediaSample5** frame) override {
    if (frame) *frame = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetCodecCount(LONG* count) override {
    if (!count) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *count = static_cast<LONG>(ListContainerCodecs(container_).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCodecFormatCount(LONG codec, LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    std::lock_guard<std::mutex> hold(lock_);
    auto codecs = ListContainerCodecs(container_);
    if (codec < 0 || codec >= static_cast<LONG>(codecs.size())) return E_INVALIDARG;
    *count = static_cast<LONG>(codecs[codec].size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCodecFormat(LONG codec, LONG format, IMediaAudioFormat5** value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    return Guard([&]() -> HRESULT {
      std::lock_guard<std::mutex> hold(lock_);
      auto codecs = ListContainerCodecs(container_);
      if (codec < 0 || codec >= static_cast<LONG>(codecs.size())) return E_INVALIDARG;
      if (format < 0 || format >= static_cast<LONG>(codecs[codec].size())) return E_INVALIDARG;
      const ListedFormat& f = codecs[codec][format];
      AudioFormatState s = DefaultAudioFormat(MEDIA_FORMAT_KIND_GENERIC);
      s.codec = f.codec;
      s.sampleRate = f.sampleRate;
      s.channels = f.channels;
      s.bitrate = f.bitrate;
      return CreateAudioFormatFromState(s, value);
    });
  }

  // --- IMediaContainerInfo5 -----------------------------------------------

  HRESULT STDMETHODCALLTYPE GetContainerInterface(REFIID riid, void** value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE GetContainerValues(LONG* first, LONG* second) override {
    if (!first || !second) return E_POINTER;
    *first = 1;
    *second = 0;
    return S_OK;
  }

  // --- IConnectionPointContainer -------------------------------------------

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    return FindPoint({&events_}, riid, point);
  }

 private:
  enum class Mode { None, Reading, Writing, Finished };

  HRESULT Explained(HRESULT hr) {
    if (FAILED(hr) && !writer_.LastError().empty()) return Fail(hr, IID_IMediaFile5, FromUtf8(writer_.LastError()));
    return hr;
  }

  HRESULT Open(IMediaPropertyBag5* operation) {
    if (!operation) return E_POINTER;
    LONGLONG kind = 0;
    if (FAILED(GetBagInteger(operation, MEDIA_PROP_OPERATION, &kind))) return E_INVALIDARG;
    LONGLONG opMode = 0;
    if (FAILED(GetBagInteger(operation, MEDIA_PROP_OPERATION_MODE, &opMode))) opMode = MEDIA_MODE_FILE;
    std::u16string name;
    GetBagString(operation, MEDIA_PROP_FILE_NAME, &name);

    std::lock_guard<std::mutex> hold(lock_);
    if (mode_ == Mode::Reading || mode_ == Mode::Writing) return MEDIA_E_ALREADY_OPEN;
    if (kind == MEDIA_OPERATION_READ) {
      if (opMode != MEDIA_MODE_FILE) return E_INVALIDARG;  // devices are the capture source's
      ProbeResult probe;
      std::u16string why;
      HRESULT hr = ProbeMediaFile(name, &probe, &why);
      if (FAILED(hr)) return Fail(hr, IID_IMediaFile5, u"\"" + name + u"\" cannot be read: " + why);
      ComPtr<IMediaPropertyBag5> tags;
      hr = MakeTags(probe, tags.Out());
      if (FAILED(hr)) return hr;
      probe_ = std::move(probe);
      tags_ = tags;
      container_ = probe_.container;
      fileName_ = name;
      selected_[0] = selected_[1] = 0;
      mode_ = Mode::Reading;
      return S_OK;
    }
    if (kind == MEDIA_OPERATION_WRITE) {
      HRESULT hr = writer_.Open(operation);
      if (FAILED(hr)) return Explained(hr);
      fileName_ = name;
      probe_ = ProbeResult();
      probe_.container = container_;
      selected_[0] = selected_[1] = 0;
      mode_ = Mode::Writing;
      RefreshWrittenStream();
      return hr;
    }
    return E_INVALIDARG;
  }

  HRESULT Finish() {
    HRESULT hr = S_FALSE;
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (mode_ == Mode::Reading) {
        probe_ = ProbeResult();
        probe_.container = container_;
        mode_ = Mode::None;
        return S_OK;
      }
      if (mode_ != Mode::Writing) return S_FALSE;
      hr = writer_.Finish();
      RefreshWrittenStream();
      mode_ = Mode::Finished;
    }
    VARIANT percent, cancel;
    VariantInit(&percent);
    percent.vt = VT_I4;
    percent.lVal = 100;
    VARIANT_BOOL cancelled = VARIANT_FALSE;
    VariantInit(&cancel);
    cancel.vt = VT_BOOL | VT_BYREF;
    cancel.pboolVal = &cancelled;
    events_.Fire(MEDIAFILE_DISPID_PROGRESS, {percent, cancel});
    return hr;
  }

  // The written audio stream, as the stream methods report it while writing.
  void RefreshWrittenStream() {
    if (mode_ != Mode::Writing && mode_ != Mode::Finished) return;
    if (probe_.streams.empty()) {
      ProbedStream s;
      s.type = MEDIA_STREAM_AUDIO;
      const media::EncoderSettings& e = writer_.Settings();
      s.audio = DefaultAudioFormat(MEDIA_FORMAT_KIND_GENERIC);
      s.audio.codec = e.codec != 0 ? e.codec : MEDIA_CODEC_PCM;
      s.audio.kind = s.audio.codec == MEDIA_CODEC_MP3   ? MEDIA_FORMAT_KIND_MP3
                     : s.audio.codec == MEDIA_CODEC_AAC ? MEDIA_FORMAT_KIND_AAC
                                                        : MEDIA_FORMAT_KIND_GENERIC;
      s.audio.sampleRate = e.sampleRate;
      s.audio.channels = e.channels;
      s.audio.bitrate = e.bitRate;
      probe_.streams.push_back(s);
    }
    probe_.streams[0].durationMs = writer_.WrittenMs();
    probe_.durationMs = probe_.streams[0].durationMs;
  }

  double WrittenMs() const { return probe_.durationMs; }

  HRESULT MakeTags(const ProbeResult& probe, IMediaPropertyBag5** out) {
    ComPtr<IMediaPropertyBag5> bag;
    HRESULT hr = CreatePropertyBag(IID_IMediaPropertyBag5, bag.OutVoid());
    if (FAILED(hr)) return hr;
    for (const auto& tag : probe.tags) {
      hr = SetBagString(bag.Get(), tag.first, tag.second);
      if (FAILED(hr)) return hr;
    }
    BSTR key = SysAllocString(reinterpret_cast<const OLECHAR*>(MEDIA_PROP_PROTECTED));
    if (!key) return E_OUTOFMEMORY;
    hr = bag->SetInteger(key, 0, 0, 0);
    SysFreeString(key);
    if (FAILED(hr)) return hr;
    *out = bag.Detach();
    return S_OK;
  }

  std::vector<const ProbedStream*> StreamsOf(LONG type) const {
    std::vector<const ProbedStream*> out;
    for (const ProbedStream& s : probe_.streams)
      if (s.type == type) out.push_back(&s);
    return out;
  }
  LONG& Selected(LONG type) { return selected_[type == MEDIA_STREAM_VIDEO ? 0 : 1]; }
  const ProbedStream* SelectedStream(LONG type) {
    if (type != MEDIA_STREAM_AUDIO && type != MEDIA_STREAM_VIDEO) return nullptr;
    auto streams = StreamsOf(type);
    LONG index = Selected(type);
    return (index >= 0 && index < static_cast<LONG>(streams.size())) ? streams[index] : nullptr;
  }

  std::mutex lock_;
  ConnectionPoint events_;
  Mode mode_ = Mode::None;
  LONG container_ = MEDIA_CONTAINER_UNKNOWN;
  ComPtr<IMediaPropertyBag5> profile_;
  ComPtr<IMediaPropertyBag5> tags_;
  std::u16string fileName_;
  ProbeResult probe_;
  LONG selected_[2] = {0, 0};
  media::FileWriteSide writer_;
};

}  // namespace

HRESULT CreateMediaFile(REFIID riid, void** ppv) { return ComObject<CMediaFile>::Create(riid, ppv); }

}  // namespace engine
