// E2: the sample converter class: brings 16-bit PCM samples to a target rate
// and channel count.
#pragma once

#include "engine/core/ComBase.h"

#include <mutex>

struct SwrContext;

namespace engine {

class CSampleConverter : public ComClass, public IMediaSampleConverter5 {
 public:
  ~CSampleConverter() override;
  void* FindInterface(REFIID riid);

  HRESULT STDMETHODCALLTYPE Command(LONG command, IUnknown* argument, IUnknown** result) override;

 private:
  HRESULT Configure(IUnknown* argument);
  HRESULT Convert(IUnknown* argument, IUnknown** result);

  std::mutex lock_;
  ComPtr<IMediaAudioFormat5> target_;
  int targetRate_ = 0;
  int targetChannels_ = 0;
  SwrContext* swr_ = nullptr;
  int fromRate_ = 0;
  int fromChannels_ = 0;
};

}  // namespace engine
