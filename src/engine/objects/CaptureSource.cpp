#include "engine/objects/CaptureSource.h"

#include "engine/core/ClassTable.h"
#include "engine/objects/SampleBuffer.h"

#include <cmath>
#include <functional>

namespace engine {

namespace {

std::u16string Text(const std::string& utf8) { return FromUtf8(utf8); }

template <class T>
bool IsIndexOf(LONG index, const std::vector<T>& items) {
  return index >= 0 && index < static_cast<LONG>(items.size());
}

// The count and the names of the devices and of the inputs, read under the lock.
template <class T>
HRESULT CountOf(std::mutex& lock, const std::vector<T>& items, LONG* count) {
  if (!count) return E_POINTER;
  std::lock_guard<std::mutex> g(lock);
  *count = static_cast<LONG>(items.size());
  return S_OK;
}

// A pause or a continue as the capture source answers it.
HRESULT MarkResult(pulse::CaptureMark mark) {
  switch (mark) {
    case pulse::CaptureMark::AtMoment:
      return S_OK;
    case pulse::CaptureMark::AtDelivered:
      return MEDIA_S_MOMENT_AT_DELIVERED;
    default:
      return MEDIA_E_DEVICE_LOST;
  }
}

template <class T, class Describe>
HRESULT NameOf(std::mutex& lock, const std::vector<T>& items, LONG index, BSTR* name, Describe describe) {
  return Guard([&]() -> HRESULT {
    if (!name) return E_POINTER;
    *name = nullptr;
    std::lock_guard<std::mutex> g(lock);
    if (!IsIndexOf(index, items)) return E_INVALIDARG;
    return ReturnBstr(Text(describe(items[static_cast<size_t>(index)])), name);
  });
}

}  // namespace

CCaptureSource::CCaptureSource() = default;

CCaptureSource::~CCaptureSource() {
  if (capture_) capture_->Stop();
}

void* CCaptureSource::FindInterface(REFIID riid) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaCaptureSource5))
    return static_cast<IMediaCaptureSource5*>(this);
  if (IsEqualIID(riid, IID_IMediaSource5)) return static_cast<IMediaSource5*>(this);
  if (IsEqualIID(riid, IID_IMediaFile5)) return static_cast<IMediaFile5*>(this);
  if (IsEqualIID(riid, IID_IMediaReadWait5)) return static_cast<IMediaReadWait5*>(this);
  return nullptr;
}

HRESULT CCaptureSource::EnsureConnection() {
  if (connection_ && connection_->IsReady()) return S_OK;
  connection_ = pulse::PulseConnection::Get();
  return connection_ ? S_OK : HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
}

const pulse::SourceInfo* CCaptureSource::Selected() const {
  if (!IsIndexOf(selected_, devices_)) return nullptr;
  return &devices_[static_cast<size_t>(selected_)];
}

HRESULT CCaptureSource::RefreshDevices() {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::mutex> g(lock_);
    HRESULT hr = EnsureConnection();
    if (FAILED(hr)) {
      devices_.clear();
      selected_ = -1;
      return hr;
    }
    std::string current = Selected() ? Selected()->name : std::string();
    devices_ = connection_->ListSources(false);
    selected_ = -1;
    for (size_t i = 0; i < devices_.size(); ++i)
      if (devices_[i].name == current) selected_ = static_cast<int>(i);
    if (selected_ < 0 && !devices_.empty()) selected_ = 0;
    return S_OK;
  });
}

HRESULT CCaptureSource::GetDeviceCount(LONG* count) { return CountOf(lock_, devices_, count); }

HRESULT CCaptureSource::GetDeviceName(LONG index, BSTR* name) {
  return NameOf(lock_, devices_, index, name, [](const pulse::SourceInfo& s) { return s.description; });
}

HRESULT CCaptureSource::SelectDevice(LONG index) {
  std::lock_guard<std::mutex> g(lock_);
  if (!IsIndexOf(index, devices_)) return E_INVALIDARG;
  if (capture_ && capture_->IsRunning()) return MEDIA_E_ALREADY_OPEN;
  if (index != selected_) {
    inputs_.clear();
    selectedInput_ = -1;
  }
  selected_ = index;
  return S_OK;
}

HRESULT CCaptureSource::GetSelectedDevice(LONG* index) {
  if (!index) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *index = selected_;
  return S_OK;
}

HRESULT CCaptureSource::RefreshInputs() {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::mutex> g(lock_);
    inputs_.clear();
    selectedInput_ = -1;
    const pulse::SourceInfo* s = Selected();
    if (!s) return S_FALSE;
    HRESULT hr = EnsureConnection();
    if (FAILED(hr)) return hr;
    pulse::SourceInfo fresh;
    if (!connection_->GetSource(s->name, &fresh)) return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
    devices_[static_cast<size_t>(selected_)] = fresh;
    inputs_ = fresh.ports;
    for (size_t i = 0; i < inputs_.size(); ++i)
      if (inputs_[i].name == fresh.activePort) selectedInput_ = static_cast<int>(i);
    return S_OK;
  });
}

HRESULT CCaptureSource::GetInputCount(LONG* count) { return CountOf(lock_, inputs_, count); }

HRESULT CCaptureSource::GetInputName(LONG index, BSTR* name) {
  return NameOf(lock_, inputs_, index, name,
                [](const pulse::PortInfo& p) { return p.description.empty() ? p.name : p.description; });
}

HRESULT CCaptureSource::SelectInput(LONG index) {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::mutex> g(lock_);
    if (!IsIndexOf(index, inputs_)) return E_INVALIDARG;
    const pulse::SourceInfo* s = Selected();
    if (!s || FAILED(EnsureConnection())) return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
    if (!connection_->SetSourcePort(s->name, inputs_[static_cast<size_t>(index)].name)) return E_FAIL;
    selectedInput_ = index;
    return S_OK;
  });
}

HRESULT CCaptureSource::SetVolume(LONG percent) {
  return Guard([&]() -> HRESULT {
    if (percent < 0 || percent > 100) return E_INVALIDARG;
    std::lock_guard<std::mutex> g(lock_);
    const pulse::SourceInfo* s = Selected();
    if (!s || FAILED(EnsureConnection())) return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
    return connection_->SetSourceVolume(s->name, percent) ? S_OK : E_FAIL;
  });
}

HRESULT CCaptureSource::GetVolume(LONG* percent) {
  return Guard([&]() -> HRESULT {
    if (!percent) return E_POINTER;
    std::lock_guard<std::mutex> g(lock_);
    const pulse::SourceInfo* s = Selected();
    if (!s || FAILED(EnsureConnection())) return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
    int v = connection_->GetSourceVolume(s->name);
    if (v < 0) return E_FAIL;
    *percent = v;
    return S_OK;
  });
}

HRESULT CCaptureSource::StartCapture() {
  if (capture_ && capture_->IsRunning()) return MarkResult(capture_->Resume());
  HRESULT hr = FindSelectedDevice();
  if (FAILED(hr)) return hr;
  const pulse::SourceInfo* s = Selected();
  rate_ = s->sampleRate > 0 ? s->sampleRate : 44100;
  channels_ = s->channels == 1 ? 1 : 2;
  auto capture = std::make_shared<pulse::PulseCapture>(connection_, s->name, rate_, channels_);
  std::string error;
  if (!capture->Start(&error)) return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
  capture_ = capture;
  position_ = 0;
  return S_OK;
}

// The selected device, or the first one when none was chosen yet.
HRESULT CCaptureSource::FindSelectedDevice() {
  HRESULT hr = EnsureConnection();
  if (FAILED(hr)) return hr;
  if (!Selected()) {
    devices_ = connection_->ListSources(false);
    selected_ = devices_.empty() ? -1 : 0;
  }
  return Selected() ? S_OK : HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
}

HRESULT CCaptureSource::Start(LONG mode) {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::mutex> g(lock_);
    return StartCapture();
  });
}

HRESULT CCaptureSource::Pause() {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::mutex> g(lock_);
    if (!capture_ || !capture_->IsRunning()) return S_FALSE;
    return MarkResult(capture_->Pause());
  });
}

HRESULT CCaptureSource::Stop() {
  std::shared_ptr<pulse::PulseCapture> capture;
  {
    std::lock_guard<std::mutex> g(lock_);
    capture.swap(capture_);
  }
  if (capture) capture->Stop();
  return S_OK;
}

HRESULT CCaptureSource::Command(LONG command, IUnknown* argument) {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::mutex> g(lock_);
    switch (command) {
      case MEDIAJOB_CMD_PREPARE:
        return S_OK;
      case MEDIAJOB_CMD_BEGIN_ITEM: {
        // The item starts now: sound from before it belongs to no file.
        HRESULT hr = StartCapture();
        if (FAILED(hr)) return hr;
        capture_->DropQueued();
        position_ = 0;
        return S_OK;
      }
      case MEDIAJOB_CMD_END_ITEM:
        return S_OK;
      default:
        return E_INVALIDARG;
    }
  });
}

HRESULT CCaptureSource::GetStreamCount(LONG streamType, LONG* count) {
  if (!count) return E_POINTER;
  *count = streamType == MEDIA_STREAM_VIDEO ? 0 : 1;
  return S_OK;
}

HRESULT CCaptureSource::GetDuration(LONG streamType, double* ms) {
  if (!ms) return E_POINTER;
  *ms = streamType == MEDIA_STREAM_VIDEO ? 0 : MEDIA_LIVE_SOURCE_DURATION_MS;
  return S_OK;
}

HRESULT CCaptureSource::GetPosition(LONG streamType, double* ms) {
  if (!ms) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *ms = streamType == MEDIA_STREAM_VIDEO ? 0 : position_;
  return S_OK;
}

HRESULT CCaptureSource::Rewind(LONG streamType) {
  // A live source cannot go back; the next block is simply what comes next.
  return S_FALSE;
}

HRESULT CCaptureSource::ReadAudio(double ms, IMediaSample5** sample) {
  return Guard([&]() -> HRESULT {
    if (!sample) return E_POINTER;
    *sample = nullptr;
    std::shared_ptr<pulse::PulseCapture> capture;
    ComPtr<IMediaWaitSink5> sink;
    int rate, channels, waitMs;
    double start;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (!capture_) {
        HRESULT hr = StartCapture();
        if (FAILED(hr)) return hr;
      }
      capture = capture_;
      rate = rate_;
      channels = channels_;
      start = position_;
      sink = waitSink_;
      waitMs = waitMs_;
    }
    if (capture->HasFailed()) return MEDIA_E_DEVICE_LOST;
    if (!(ms > 0)) return S_FALSE;
    // Blocks are read as they are captured; a minute is far beyond any caller's.
    if (ms > 60000) return E_INVALIDARG;
    const size_t frames = static_cast<size_t>(std::llround(ms * rate / 1000.0));
    std::vector<BYTE> data(frames * static_cast<size_t>(2 * channels));
    size_t got = 0;
    HRESULT sinkResult = S_OK;
    std::function<pulse::WaitAnswer()> onWait;
    if (sink)
      onWait = [&sink, &sinkResult]() {
        try {
          sinkResult = sink->OnWaiting();
        } catch (...) {
          sinkResult = E_UNEXPECTED;
        }
        if (sinkResult == S_OK) return pulse::WaitAnswer::GoOn;
        return FAILED(sinkResult) ? pulse::WaitAnswer::EndNow : pulse::WaitAnswer::End;
      };
    pulse::CaptureStatus status = capture->Read(data.data(), data.size(), &got, 5000, onWait, waitMs);
    if (status == pulse::CaptureStatus::Interrupted && FAILED(sinkResult)) return sinkResult;
    if (status == pulse::CaptureStatus::Failed || status == pulse::CaptureStatus::TimedOut) return MEDIA_E_DEVICE_LOST;
    got -= got % static_cast<size_t>(2 * channels);
    if (got == 0) return S_FALSE;
    data.resize(got);
    ComObject<CSampleBuffer>* buffer = new ComObject<CSampleBuffer>();
    buffer->Assign(rate, channels, std::move(data), start);
    {
      std::lock_guard<std::mutex> g(lock_);
      position_ += 1000.0 * static_cast<double>(got / static_cast<size_t>(2 * channels)) / rate;
    }
    *sample = buffer;  // the creation reference goes to the caller
    return S_OK;
  });
}

HRESULT CCaptureSource::SetWaitSink(IMediaWaitSink5* sink, LONG intervalMs) {
  if (sink && (intervalMs < 10 || intervalMs > 1000)) return E_INVALIDARG;
  ComPtr<IMediaWaitSink5> old;
  {
    std::lock_guard<std::mutex> g(lock_);
    old = std::move(waitSink_);
    waitSink_ = sink;
    if (sink) waitMs_ = intervalMs;
  }
  return S_OK;  // the old sink is released outside the lock
}

HRESULT CCaptureSource::ReadVideo(IMediaSample5** frame) {
  if (frame) *frame = nullptr;
  return S_FALSE;
}

HRESULT CCaptureSource::GetAudioFormat(IMediaAudioFormat5** format) {
  return Guard([&]() -> HRESULT {
    if (!format) return E_POINTER;
    *format = nullptr;
    ComPtr<IMediaAudioFormat5> made;
    HRESULT hr = CreateAudioFormat(IID_IMediaAudioFormat5, made.OutVoid());
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> g(lock_);
    const pulse::SourceInfo* s = Selected();
    int rate = capture_ ? rate_ : (s && s->sampleRate > 0 ? s->sampleRate : 44100);
    int channels = capture_ ? channels_ : (s && s->channels == 1 ? 1 : 2);
    made->SetCodecId(MEDIA_CODEC_PCM);
    made->SetSampleRate(rate);
    made->SetChannels(channels);
    made->SetBitsPerSample(16);
    made->SetBitrate(rate * channels * 16);
    *format = made.Detach();
    return S_OK;
  });
}

// --- the selected device as a media file opened for reading ---------------

HRESULT CCaptureSource::SetContainerType(LONG) { return MEDIA_E_UNSUPPORTED_CONTAINER; }

HRESULT CCaptureSource::GetContainerType(LONG* type) {
  if (!type) return E_POINTER;
  *type = MEDIA_CONTAINER_UNKNOWN;
  return S_OK;
}

HRESULT CCaptureSource::SetStreamSettings(IMediaPropertyBag5*) { return E_NOTIMPL; }
HRESULT CCaptureSource::SetTags(IMediaPropertyBag5*) { return E_NOTIMPL; }

HRESULT CCaptureSource::GetTags(IMediaPropertyBag5** tags) {
  if (!tags) return E_POINTER;
  *tags = nullptr;
  return S_FALSE;
}

HRESULT CCaptureSource::Command(LONG command, IMediaPropertyBag5* operation) {
  return Guard([&]() -> HRESULT {
    if (command == MEDIAFILE_CMD_FINISH) return Stop();
    if (command != MEDIAFILE_CMD_OPEN || !operation) return E_INVALIDARG;
    BSTR name = SysAllocString(MEDIA_PROP_OPERATION);
    LONGLONG op = 0;
    HRESULT hr = operation->GetInteger(name, 0, &op);
    SysFreeString(name);
    if (FAILED(hr) || op != MEDIA_OPERATION_READ) return E_INVALIDARG;
    name = SysAllocString(MEDIA_PROP_OPERATION_MODE);
    LONGLONG mode = 0;
    hr = operation->GetInteger(name, 0, &mode);
    SysFreeString(name);
    if (FAILED(hr) || mode != MEDIA_MODE_DEVICE) return E_INVALIDARG;
    // Opening only finds the device: the stream starts with the first start
    // or read, so that another device may still be chosen before that (a
    // running stream keeps its device).
    std::lock_guard<std::mutex> g(lock_);
    return FindSelectedDevice();
  });
}

HRESULT CCaptureSource::GetFileName(BSTR* name) {
  return Guard([&]() -> HRESULT {
    if (!name) return E_POINTER;
    *name = nullptr;
    std::lock_guard<std::mutex> g(lock_);
    const pulse::SourceInfo* s = Selected();
    return s ? ReturnBstr(Text(s->description), name) : S_FALSE;
  });
}

HRESULT CCaptureSource::SelectStream(LONG streamType, LONG index) {
  return streamType == MEDIA_STREAM_AUDIO && index == 0 ? S_OK : E_INVALIDARG;
}

HRESULT CCaptureSource::GetSelectedStream(LONG streamType, LONG* index) {
  if (!index) return E_POINTER;
  *index = streamType == MEDIA_STREAM_AUDIO ? 0 : -1;
  return S_OK;
}

HRESULT CCaptureSource::GetStreamFormat(LONG streamType, REFIID riid, void** format) {
  return Guard([&]() -> HRESULT {
    if (!format) return E_POINTER;
    *format = nullptr;
    if (streamType != MEDIA_STREAM_AUDIO) return E_INVALIDARG;
    ComPtr<IMediaAudioFormat5> f;
    HRESULT hr = GetAudioFormat(f.Out());
    return FAILED(hr) ? hr : f->QueryInterface(riid, format);
  });
}

HRESULT CCaptureSource::GetStreamProperties(LONG, IMediaPropertyBag5** properties) {
  if (properties) *properties = nullptr;
  return E_NOTIMPL;
}

HRESULT CCaptureSource::IsSeekable(VARIANT_BOOL* seekable) {
  if (!seekable) return E_POINTER;
  *seekable = VARIANT_FALSE;
  return S_OK;
}

HRESULT CCaptureSource::WriteSample(IMediaSample5*) { return E_NOTIMPL; }

HRESULT CCaptureSource::ReadVideoFrame(double, IMediaSample5** frame) {
  if (frame) *frame = nullptr;
  return E_NOTIMPL;
}

HRESULT CCaptureSource::GetCodecCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CCaptureSource::GetCodecFormatCount(LONG, LONG* count) {
  if (count) *count = 0;
  return E_INVALIDARG;
}

HRESULT CCaptureSource::GetCodecFormat(LONG, LONG, IMediaAudioFormat5** value) {
  if (value) *value = nullptr;
  return E_INVALIDARG;
}

HRESULT CreateCaptureSource(REFIID riid, void** ppv) {
  return Guard([&] { return ComObject<CCaptureSource>::Create(riid, ppv); });
}

}  // namespace engine
