#include "engine/objects/ConversionJob.h"

#include "engine/core/ClassTable.h"
#include "engine/media/FFmpegLibrary.h"
#include "engine/media/FileWriteSide.h"

namespace engine {

void* CConversionJob::FindInterface(REFIID riid) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaConversionJob5))
    return static_cast<IMediaConversionJob5*>(this);
  return nullptr;
}

HRESULT CConversionJob::SetContainerType(LONG type) {
  std::lock_guard<std::mutex> g(lock_);
  container_ = type;
  return S_OK;
}

HRESULT CConversionJob::GetContainerType(LONG* type) {
  if (!type) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *type = container_;
  return S_OK;
}

HRESULT CConversionJob::SetOption(LONG value) {
  std::lock_guard<std::mutex> g(lock_);
  option_ = value;
  return S_OK;
}

HRESULT CConversionJob::GetOption(LONG* value) {
  if (!value) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *value = option_;
  return S_OK;
}

HRESULT CConversionJob::SetProfile(IMediaPropertyBag5* profile) {
  std::lock_guard<std::mutex> g(lock_);
  profile_ = profile;
  return S_OK;
}

HRESULT CConversionJob::GetProfile(IMediaPropertyBag5** profile) {
  if (!profile) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *profile = profile_.Copy();
  return *profile ? S_OK : S_FALSE;
}

HRESULT CConversionJob::SetSplitFlags(LONG flags) {
  std::lock_guard<std::mutex> g(lock_);
  splitFlags_ = flags;
  return S_OK;
}

HRESULT CConversionJob::GetSplitFlags(LONG* flags) {
  if (!flags) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *flags = splitFlags_;
  return S_OK;
}

HRESULT CConversionJob::SetSplitSize(LONG kilobytes) {
  if (kilobytes < 0) return E_INVALIDARG;
  std::lock_guard<std::mutex> g(lock_);
  splitKilobytes_ = kilobytes;
  return S_OK;
}

HRESULT CConversionJob::GetSplitSize(LONG* kilobytes) {
  if (!kilobytes) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *kilobytes = splitKilobytes_;
  return S_OK;
}

HRESULT CConversionJob::SetDurationLimit(double ms) {
  if (ms < 0) return E_INVALIDARG;
  std::lock_guard<std::mutex> g(lock_);
  durationLimit_ = ms;
  return S_OK;
}

HRESULT CConversionJob::GetDurationLimit(double* ms) {
  if (!ms) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *ms = durationLimit_;
  return S_OK;
}

HRESULT CConversionJob::SetMarkerList(IUnknown* markers) {
  return Guard([&]() -> HRESULT {
    ComPtr<IMediaMarkerList5> list;
    if (markers) {
      HRESULT hr = markers->QueryInterface(IID_IMediaMarkerList5, list.OutVoid());
      if (FAILED(hr)) return hr;
    }
    std::lock_guard<std::mutex> g(lock_);
    markers_ = list;
    return S_OK;
  });
}

HRESULT CConversionJob::GetMarkerList(IMediaMarkerList5** markers) {
  if (!markers) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *markers = markers_.Copy();
  return *markers ? S_OK : S_FALSE;
}

HRESULT CConversionJob::SetInput(LONG index, IUnknown* source, double duration) {
  return Guard([&]() -> HRESULT {
    if (index < 0) return E_INVALIDARG;
    std::lock_guard<std::mutex> g(lock_);
    if (static_cast<size_t>(index) > inputs_.size()) return E_INVALIDARG;
    if (static_cast<size_t>(index) == inputs_.size()) inputs_.emplace_back();
    inputs_[static_cast<size_t>(index)].source = source;
    inputs_[static_cast<size_t>(index)].duration = duration;
    return S_OK;
  });
}

HRESULT CConversionJob::GetInputCount(LONG* count) {
  if (!count) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *count = static_cast<LONG>(inputs_.size());
  return S_OK;
}

HRESULT CConversionJob::GetSource(LONG index, REFIID riid, void** source) {
  if (!source) return E_POINTER;
  *source = nullptr;
  ComPtr<IUnknown> s;
  {
    std::lock_guard<std::mutex> g(lock_);
    if (index < 0 || static_cast<size_t>(index) >= inputs_.size()) return E_INVALIDARG;
    s = inputs_[static_cast<size_t>(index)].source;
  }
  if (!s) return E_INVALIDARG;
  return s->QueryInterface(riid, source);
}

HRESULT CConversionJob::SetTags(IMediaPropertyBag5* tags) {
  std::lock_guard<std::mutex> g(lock_);
  tags_ = tags;
  return S_OK;
}

HRESULT CConversionJob::GetTags(IMediaPropertyBag5** tags) {
  if (!tags) return E_POINTER;
  std::lock_guard<std::mutex> g(lock_);
  *tags = tags_.Copy();
  return *tags ? S_OK : S_FALSE;
}

HRESULT CConversionJob::Setup(LONG mode, IMediaPropertyBag5* configuration, LONG reserved) {
  std::lock_guard<std::mutex> g(lock_);
  setupMode_ = mode;
  configuration_ = configuration;
  return S_OK;
}

ComPtr<IMediaPropertyBag5> CConversionJob::Configuration() const {
  std::lock_guard<std::mutex> g(lock_);
  return configuration_;
}

HRESULT CConversionJob::Command(LONG command, IUnknown* argument) {
  return Guard([&]() -> HRESULT {
    if (command != MEDIAJOB_CMD_PREPARE) {
      // Item commands go to the sources.
      if (command != MEDIAJOB_CMD_BEGIN_ITEM && command != MEDIAJOB_CMD_END_ITEM) return E_INVALIDARG;
      ComPtr<IMediaSource5> source;
      HRESULT hr = GetSource(0, IID_IMediaSource5, source.OutVoid());
      return FAILED(hr) ? hr : source->Command(command, argument);
    }
    // Ready when the output can be written and every input is a source.
    std::vector<ComPtr<IUnknown>> sources;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (!media::FileWriteSide::IsWritableContainer(container_)) return MEDIA_E_UNSUPPORTED_CONTAINER;
      if (inputs_.empty()) return E_INVALIDARG;
      for (const Input& in : inputs_) sources.push_back(in.source);
    }
    // The output is written through FFmpeg: open it before the sources start,
    // or a first recording's first block waits for it. The writer reports
    // a failure to open it.
    media::LoadFFmpeg(nullptr);
    for (const ComPtr<IUnknown>& s : sources) {
      ComPtr<IMediaSource5> source;
      if (!s || FAILED(s->QueryInterface(IID_IMediaSource5, source.OutVoid()))) return E_NOINTERFACE;
      HRESULT hr = source->Command(MEDIAJOB_CMD_PREPARE, argument);
      if (FAILED(hr)) return hr;
    }
    return S_OK;
  });
}

HRESULT CreateConversionJob(REFIID riid, void** ppv) {
  return Guard([&] { return ComObject<CConversionJob>::Create(riid, ppv); });
}

}  // namespace engine
