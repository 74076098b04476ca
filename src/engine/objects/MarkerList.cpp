// Marker list: the times at which a conversion job starts a new file. Markers
// keep the order they were added in; the driver sorts what it takes.
#include <windows.h>

#include <mutex>
#include <vector>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"

namespace engine {

namespace {

struct Marker {
  double time = 0;
  double length = 0;
  bool enabled = false;
  ComPtr<IMediaPropertyBag5> properties;
};

class CMarkerList : public ComClass, public IMediaMarkerList5 {
 public:
  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaMarkerList5))
      return static_cast<IMediaMarkerList5*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE SetEnabled(VARIANT_BOOL enabled) override {
    std::lock_guard<std::mutex> hold(lock_);
    enabled_ = enabled != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEnabled(VARIANT_BOOL* enabled) override {
    if (!enabled) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *enabled = enabled_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Add(double time, double length, IMediaPropertyBag5* properties, LONG* index) override {
    if (index) *index = -1;
    if (!(time >= 0) || !(length >= 0)) return E_INVALIDARG;  // also refuses NaN
    return Guard([&]() -> HRESULT {
      std::lock_guard<std::mutex> hold(lock_);
      Marker m;
      m.time = time;
      m.length = length;
      m.properties = properties;
      markers_.push_back(std::move(m));
      if (index) *index = static_cast<LONG>(markers_.size() - 1);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE EnableMarker(LONG index, VARIANT_BOOL enabled) override {
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    markers_[index].enabled = enabled != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCount(LONG* count) override {
    if (!count) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *count = static_cast<LONG>(markers_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMarker(LONG index, double* time, double* length, VARIANT_BOOL* enabled) override {
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    const Marker& m = markers_[index];
    if (time) *time = m.time;
    if (length) *length = m.length;
    if (enabled) *enabled = m.enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetProperties(LONG index, IMediaPropertyBag5** properties) override {
    if (!properties) return E_POINTER;
    *properties = nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    Marker& m = markers_[index];
    if (!m.properties) {
      HRESULT hr = CreatePropertyBag(IID_IMediaPropertyBag5, m.properties.OutVoid());
      if (FAILED(hr)) return hr;
    }
    *properties = m.properties.Copy();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Remove(LONG index) override {
    Marker dropped;
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    dropped = std::move(markers_[index]);
    markers_.erase(markers_.begin() + index);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clear() override {
    std::vector<Marker> dropped;
    std::lock_guard<std::mutex> hold(lock_);
    dropped.swap(markers_);
    return S_OK;
  }

 private:
  bool Valid(LONG index) const { return index >= 0 && index < static_cast<LONG>(markers_.size()); }

  std::mutex lock_;
  bool enabled_ = false;
  std::vector<Marker> markers_;
};

}  // namespace

HRESULT CreateMarkerList(REFIID riid, void** ppv) { return ComObject<CMarkerList>::Create(riid, ppv); }

}  // namespace engine
