// The auxiliary engine object: holds the application's global engine
// configuration and answers the encoder questions of the conversion driver.
// This engine writes audio only, so every format takes one pass.
#include <windows.h>

#include <mutex>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"

namespace engine {

namespace {

class CEngineAux : public ComClass, public IMediaEngineAux5 {
 public:
  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaEngineAux5))
      return static_cast<IMediaEngineAux5*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE Initialize(IMediaPropertyBag5* globalConfig) override {
    if (!globalConfig) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    config_ = globalConfig;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPassCount(IUnknown* format, LONG* passes) override {
    if (!passes) return E_POINTER;
    *passes = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPassInfo(IUnknown* format, LONG pass, BSTR statFile) override {
    // One-pass encoders keep no statistics; nothing to remember.
    return pass == 0 ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE GetConfiguration(IMediaPropertyBag5** globalConfig) override {
    if (!globalConfig) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *globalConfig = config_.Copy();
    return *globalConfig ? S_OK : S_FALSE;
  }

 private:
  std::mutex lock_;
  ComPtr<IMediaPropertyBag5> config_;
};

}  // namespace

HRESULT CreateEngineAux(REFIID riid, void** ppv) { return ComObject<CEngineAux>::Create(riid, ppv); }

}  // namespace engine
