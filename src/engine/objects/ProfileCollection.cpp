// Profile collection: an ordered list of profile bags kept in a ".prop" file.
// Loading is strict: a missing, unreadable or corrupt file fails with the
// reason and leaves both the collection and the file as they were, so a
// user's edited profiles are never replaced behind their back.
#include <windows.h>

#include <mutex>
#include <vector>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"
#include "engine/objects/ProfileFile.h"

namespace engine {

namespace {

class CProfileCollection : public ComClass, public IMediaProfileCollection5, public ISupportErrorInfo {
 public:
  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaProfileCollection5))
      return static_cast<IMediaProfileCollection5*>(this);
    if (IsEqualIID(riid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, IID_IMediaProfileCollection5) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Load(BSTR path) override {
    return Guard([&]() -> HRESULT {
      std::u16string file = FromWide(path);
      if (file.empty()) return Report(E_INVALIDARG, u"no profile file was named");
      std::string text;
      std::u16string why;
      HRESULT hr = ReadTextFile(file, &text, &why);
      if (FAILED(hr)) return Report(hr, u"Profile file \"" + file + u"\" cannot be read: " + why);
      std::vector<ComPtr<IMediaPropertyBag5>> loaded;
      hr = ParseProfiles(text, &loaded, &why);
      if (FAILED(hr)) return Report(hr, u"Profile file \"" + file + u"\" is damaged and was not loaded: " + why);
      std::vector<ComPtr<IMediaPropertyBag5>> old;
      {
        std::lock_guard<std::mutex> hold(lock_);
        old.swap(items_);
        items_.swap(loaded);
        lastError_.clear();
      }
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE Save(BSTR path) override {
    return Guard([&]() -> HRESULT {
      std::u16string file = FromWide(path);
      if (file.empty()) return Report(E_INVALIDARG, u"no profile file was named");
      std::vector<ComPtr<IMediaPropertyBag5>> items;
      {
        std::lock_guard<std::mutex> hold(lock_);
        items = items_;
      }
      std::string text;
      std::u16string why;
      HRESULT hr = FormatProfiles(items, &text, &why);
      if (FAILED(hr)) return Report(hr, u"Profiles cannot be saved to \"" + file + u"\": " + why);
      hr = ReplaceTextFile(file, text, &why);
      if (FAILED(hr)) return Report(hr, u"Profiles cannot be saved to \"" + file + u"\": " + why);
      std::lock_guard<std::mutex> hold(lock_);
      lastError_.clear();
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE GetCount(LONG* count) override {
    if (!count) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *count = static_cast<LONG>(items_.size());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetItem(LONG index, IMediaPropertyBag5** profile) override {
    if (!profile) return E_POINTER;
    *profile = nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    *profile = items_[index].Copy();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Replace(LONG index, IMediaPropertyBag5* profile) override {
    if (!profile) return E_POINTER;
    ComPtr<IMediaPropertyBag5> old;
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    old = items_[index];
    items_[index] = profile;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Insert(LONG index, IMediaPropertyBag5* profile) override {
    if (!profile) return E_POINTER;
    return Guard([&]() -> HRESULT {
      std::lock_guard<std::mutex> hold(lock_);
      LONG count = static_cast<LONG>(items_.size());
      if (index == -1) index = count;
      if (index < 0 || index > count) return E_INVALIDARG;
      items_.insert(items_.begin() + index, ComPtr<IMediaPropertyBag5>(profile));
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE Remove(LONG index) override {
    ComPtr<IMediaPropertyBag5> old;
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(index)) return E_INVALIDARG;
    old = items_[index];
    items_.erase(items_.begin() + index);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Move(LONG destination, LONG source) override {
    std::lock_guard<std::mutex> hold(lock_);
    if (!Valid(source) || !Valid(destination)) return E_INVALIDARG;
    ComPtr<IMediaPropertyBag5> item = items_[source];
    items_.erase(items_.begin() + source);
    items_.insert(items_.begin() + destination, item);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetLastErrorText(BSTR* text) override {
    if (!text) return E_POINTER;
    *text = nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    if (lastError_.empty()) return S_FALSE;
    return ReturnBstr(lastError_, text);
  }

 private:
  bool Valid(LONG index) const { return index >= 0 && index < static_cast<LONG>(items_.size()); }

  HRESULT Report(HRESULT hr, const std::u16string& text) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      lastError_ = text;
    }
    return Fail(hr, IID_IMediaProfileCollection5, text);
  }

  std::mutex lock_;
  std::vector<ComPtr<IMediaPropertyBag5>> items_;
  std::u16string lastError_;
};

}  // namespace

HRESULT CreateProfileCollection(REFIID riid, void** ppv) { return ComObject<CProfileCollection>::Create(riid, ppv); }

}  // namespace engine
