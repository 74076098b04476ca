// The engine's COM plumbing: a reference-counted object base, a small smart
// pointer, the module's object count, and string helpers. Every engine class
// is written as
//
//   class CThing : public engine::ComClass, public IThing5 {
//    public:
//     void* FindInterface(REFIID riid);   // the IIDs it answers, or null
//     ...
//   };
//   engine::ComObject<CThing>::Create(riid, out)  // or new ComObject<CThing>()
//
// ComObject supplies QueryInterface, AddRef and Release once for all bases.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <atomic>
#include <new>
#include <string>
#include <utility>

#include "engine/MediaEngine.h"
#include "engine/core/RefCount.h"

namespace engine {

// Live objects and LockServer locks of the module (DllCanUnloadNow).
void ModuleAddObject();
void ModuleReleaseObject();
void ModuleLock(bool lock);
bool ModuleCanUnload();
HINSTANCE ModuleInstance();

// Marker base of engine classes; holds nothing.
class ComClass {
 public:
  virtual ~ComClass() = default;
};

template <class Base>
class ComObject final : public Base {
 public:
  template <class... Args>
  explicit ComObject(Args&&... args) : Base(std::forward<Args>(args)...) {
    ModuleAddObject();
  }
  ~ComObject() override { ModuleReleaseObject(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    void* found = nullptr;
    try {
      found = Base::FindInterface(riid);
    } catch (...) {
      return E_UNEXPECTED;
    }
    if (!found) return E_NOINTERFACE;
    refs_.Add();
    *ppv = found;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = refs_.Drop();
    if (left == 0) delete this;
    return left;
  }

  // Makes an object and hands it out as `riid`; the caller's reference is the
  // only one.
  template <class... Args>
  static HRESULT Create(REFIID riid, void** ppv, Args&&... args) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    ComObject* object = new (std::nothrow) ComObject(std::forward<Args>(args)...);
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }

 private:
  RefCount refs_;
};

// A minimal owning interface pointer.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }  // NOLINT: takes a new reference
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr& operator=(const ComPtr& o) {
    Reset(o.p_);
    return *this;
  }
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) {
      if (p_) p_->Release();
      p_ = o.p_;
      o.p_ = nullptr;
    }
    return *this;
  }
  ComPtr& operator=(T* p) {
    Reset(p);
    return *this;
  }

  void Reset(T* p = nullptr) {
    if (p) p->AddRef();
    if (p_) p_->Release();
    p_ = p;
  }
  // Takes over a reference the caller already owns.
  void Attach(T* p) {
    if (p_) p_->Release();
    p_ = p;
  }
  T* Detach() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  T** Out() {
    Reset();
    return &p_;
  }
  void** OutVoid() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands out a new reference (for out parameters).
  T* Copy() const {
    if (p_) p_->AddRef();
    return p_;
  }

  template <class U>
  HRESULT As(ComPtr<U>* out, REFIID riid) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(riid, out->OutVoid());
  }

 private:
  T* p_ = nullptr;
};

// ---------------------------------------------------------------------------
// Strings. Win32 strings are UTF-16 (char16_t); the native libraries want UTF-8.

inline std::u16string FromWide(const WCHAR* s) {
  if (!s) return std::u16string();
  const char16_t* p = reinterpret_cast<const char16_t*>(s);
  size_t n = 0;
  while (p[n]) ++n;
  return std::u16string(p, n);
}

// A new BSTR, or null when out of memory.
inline BSTR ToBstr(const std::u16string& s) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

// Writes a new BSTR to *out; E_POINTER / E_OUTOFMEMORY as COM expects.
inline HRESULT ReturnBstr(const std::u16string& s, BSTR* out) {
  if (!out) return E_POINTER;
  *out = ToBstr(s);
  return *out ? S_OK : E_OUTOFMEMORY;
}

std::string ToUtf8(const std::u16string& s);
// Invalid sequences become U+FFFD; *valid (when given) tells whether all was valid.
std::u16string FromUtf8(const std::string& s, bool* valid = nullptr);

// The Unix path of a Windows path (through Wine), or empty when it has none.
std::string ToUnixPath(const std::u16string& windowsPath);
// The Windows path of a Unix path, or empty.
std::u16string ToWindowsPath(const std::string& unixPath);

// Sets the thread's IErrorInfo to `text` for `iid` and returns hr, so methods
// can end with `return Fail(hr, IID_..., u"...")`.
HRESULT Fail(HRESULT hr, REFIID iid, const std::u16string& text);

// Runs a method body with every C++ exception turned into an HRESULT: no
// exception may unwind into Wine's code.
template <class F>
HRESULT Guard(F&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace engine
