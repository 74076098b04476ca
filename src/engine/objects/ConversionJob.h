// E2: the conversion job class: one item (a source and its output settings)
// that the conversion driver reads back while it runs.
#pragma once

#include "engine/core/ComBase.h"

#include <mutex>
#include <vector>

namespace engine {

class CConversionJob : public ComClass, public IMediaConversionJob5 {
 public:
  void* FindInterface(REFIID riid);

  HRESULT STDMETHODCALLTYPE SetContainerType(LONG type) override;
  HRESULT STDMETHODCALLTYPE GetContainerType(LONG* type) override;
  HRESULT STDMETHODCALLTYPE SetOption(LONG value) override;
  HRESULT STDMETHODCALLTYPE GetOption(LONG* value) override;
  HRESULT STDMETHODCALLTYPE SetProfile(IMediaPropertyBag5* profile) override;
  HRESULT STDMETHODCALLTYPE GetProfile(IMediaPropertyBag5** profile) override;
  HRESULT STDMETHODCALLTYPE SetSplitFlags(LONG flags) override;
  HRESULT STDMETHODCALLTYPE GetSplitFlags(LONG* flags) override;
  HRESULT STDMETHODCALLTYPE SetSplitSize(LONG kilobytes) override;
  HRESULT STDMETHODCALLTYPE GetSplitSize(LONG* kilobytes) override;
  HRESULT STDMETHODCALLTYPE SetDurationLimit(double ms) override;
  HRESULT STDMETHODCALLTYPE GetDurationLimit(double* ms) override;
  HRESULT STDMETHODCALLTYPE SetMarkerList(IUnknown* markers) override;
  HRESULT STDMETHODCALLTYPE GetMarkerList(IMediaMarkerList5** markers) override;
  HRESULT STDMETHODCALLTYPE SetInput(LONG index, IUnknown* source, double duration) override;
  HRESULT STDMETHODCALLTYPE GetInputCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetSource(LONG index, REFIID riid, void** source) override;
  HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5* tags) override;
  HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** tags) override;
  HRESULT STDMETHODCALLTYPE Setup(LONG mode, IMediaPropertyBag5* configuration, LONG reserved) override;
  HRESULT STDMETHODCALLTYPE Command(LONG command, IUnknown* argument) override;

  // The configuration bag given to Setup (null before).
  ComPtr<IMediaPropertyBag5> Configuration() const;

 private:
  struct Input {
    ComPtr<IUnknown> source;
    double duration = 0;
  };
  mutable std::mutex lock_;
  LONG container_ = -1;
  LONG option_ = 0;
  ComPtr<IMediaPropertyBag5> profile_;
  LONG splitFlags_ = 0;
  LONG splitKilobytes_ = 0;
  double durationLimit_ = 0;
  ComPtr<IMediaMarkerList5> markers_;
  std::vector<Input> inputs_;
  ComPtr<IMediaPropertyBag5> tags_;
  ComPtr<IMediaPropertyBag5> configuration_;
  LONG setupMode_ = 0;
};

}  // namespace engine
