// Property bag: named lists of typed values (integer, string, object). The
// program's profiles, operations, tags and configuration are all bags.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"

namespace engine {

namespace {

struct Value {
  LONG type = MEDIA_VALUE_NONE;
  LONGLONG integer = 0;
  std::u16string text;
  ComPtr<IUnknown> object;
  LONG flags = 0;
};

struct Property {
  std::u16string name;
  std::vector<Value> elements;
};

class CPropertyBag : public ComClass, public IMediaPropertyBag5 {
 public:
  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaPropertyBag5))
      return static_cast<IMediaPropertyBag5*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE SetOptions(LONG options) override {
    std::lock_guard<std::mutex> hold(lock_);
    options_ = options;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetOptions(LONG* options) override {
    if (!options) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *options = options_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetInteger(BSTR name, LONG element, LONGLONG value, LONG flags) override {
    Value v;
    v.type = MEDIA_VALUE_INTEGER;
    v.integer = value;
    v.flags = flags;
    return Store(name, element, std::move(v));
  }
  HRESULT STDMETHODCALLTYPE SetString(BSTR name, LONG element, BSTR value, LONG flags) override {
    return Guard([&] {
      Value v;
      v.type = MEDIA_VALUE_STRING;
      v.text = FromWide(value);
      v.flags = flags;
      return Store(name, element, std::move(v));
    });
  }
  HRESULT STDMETHODCALLTYPE SetObject(BSTR name, LONG element, IUnknown* value, LONG flags) override {
    if (!value) return E_POINTER;
    // Held by its identity, so that getters can ask it for any interface.
    ComPtr<IUnknown> identity;
    HRESULT hr = value->QueryInterface(IID_IUnknown, identity.OutVoid());
    if (FAILED(hr)) return hr;
    if (identity.Get() == static_cast<IUnknown*>(static_cast<IMediaPropertyBag5*>(this)))
      return E_INVALIDARG;  // a bag inside itself could never be freed or saved
    Value v;
    v.type = MEDIA_VALUE_OBJECT;
    v.object = identity;
    v.flags = flags;
    return Store(name, element, std::move(v));
  }

  HRESULT STDMETHODCALLTYPE GetInteger(BSTR name, LONG element, LONGLONG* value) override {
    if (!value) return E_POINTER;
    *value = 0;
    std::lock_guard<std::mutex> hold(lock_);
    const Value* v = Find(name, element);
    if (!v) return E_INVALIDARG;
    if (v->type != MEDIA_VALUE_INTEGER) return DISP_E_TYPEMISMATCH;
    *value = v->integer;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetString(BSTR name, LONG element, BSTR* value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    return Guard([&]() -> HRESULT {
      std::lock_guard<std::mutex> hold(lock_);
      const Value* v = Find(name, element);
      if (!v) return E_INVALIDARG;
      if (v->type != MEDIA_VALUE_STRING) return DISP_E_TYPEMISMATCH;
      return ReturnBstr(v->text, value);
    });
  }
  HRESULT STDMETHODCALLTYPE GetObject(BSTR name, LONG element, REFIID riid, void** value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    ComPtr<IUnknown> object;
    {
      std::lock_guard<std::mutex> hold(lock_);
      const Value* v = Find(name, element);
      if (!v) return E_INVALIDARG;
      if (v->type != MEDIA_VALUE_OBJECT) return DISP_E_TYPEMISMATCH;
      object = v->object;
    }
    return object->QueryInterface(riid, value);
  }
  HRESULT STDMETHODCALLTYPE GetCount(BSTR name, LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    std::lock_guard<std::mutex> hold(lock_);
    const Property* p = FindProperty(name);
    if (p) *count = static_cast<LONG>(p->elements.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetValueType(BSTR name, LONG element, LONG* type) override {
    if (!type) return E_POINTER;
    *type = MEDIA_VALUE_NONE;
    std::lock_guard<std::mutex> hold(lock_);
    const Value* v = Find(name, element);
    if (!v) return E_INVALIDARG;
    *type = v->type;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFlags(BSTR name, LONG element, LONG* flags) override {
    if (!flags) return E_POINTER;
    *flags = 0;
    std::lock_guard<std::mutex> hold(lock_);
    const Value* v = Find(name, element);
    if (!v) return E_INVALIDARG;
    *flags = v->flags;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Remove(BSTR name, LONG element) override {
    std::vector<Value> dropped;  // objects are released outside the lock
    std::lock_guard<std::mutex> hold(lock_);
    std::u16string key = FromWide(name);
    for (size_t i = 0; i < props_.size(); ++i) {
      if (props_[i].name != key) continue;
      if (element == -1) {
        dropped.swap(props_[i].elements);
        props_.erase(props_.begin() + i);
        return S_OK;
      }
      auto& elements = props_[i].elements;
      if (element < 0 || element >= static_cast<LONG>(elements.size())) return S_FALSE;
      dropped.push_back(std::move(elements[element]));
      elements.erase(elements.begin() + element);
      if (elements.empty()) props_.erase(props_.begin() + i);
      return S_OK;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE RemoveAll() override {
    std::vector<Property> dropped;
    std::lock_guard<std::mutex> hold(lock_);
    dropped.swap(props_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyCount(LONG* count) override {
    if (!count) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *count = static_cast<LONG>(props_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyName(LONG index, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || index >= static_cast<LONG>(props_.size())) return E_INVALIDARG;
    return ReturnBstr(props_[index].name, name);
  }

 private:
  const Property* FindProperty(BSTR name) const {
    if (!name) return nullptr;
    std::u16string key = FromWide(name);
    for (const Property& p : props_)
      if (p.name == key) return &p;
    return nullptr;
  }
  const Value* Find(BSTR name, LONG element) const {
    const Property* p = FindProperty(name);
    if (!p || element < 0 || element >= static_cast<LONG>(p->elements.size())) return nullptr;
    return &p->elements[element];
  }

  HRESULT Store(BSTR name, LONG element, Value value) {
    if (!name || !*name) return E_INVALIDARG;
    return Guard([&]() -> HRESULT {
      Value old;  // released outside the lock
      std::lock_guard<std::mutex> hold(lock_);
      std::u16string key = FromWide(name);
      Property* target = nullptr;
      for (Property& p : props_)
        if (p.name == key) target = &p;
      LONG count = target ? static_cast<LONG>(target->elements.size()) : 0;
      if (element < -1 || element > count) return E_INVALIDARG;
      if (!target) {
        props_.push_back(Property{key, {}});
        target = &props_.back();
      }
      if (element == -1 || element == count) {
        target->elements.push_back(std::move(value));
      } else {
        old = std::move(target->elements[element]);
        target->elements[element] = std::move(value);
      }
      return S_OK;
    });
  }

  std::mutex lock_;
  LONG options_ = 0;
  std::vector<Property> props_;
};

}  // namespace

HRESULT CreatePropertyBag(REFIID riid, void** ppv) { return ComObject<CPropertyBag>::Create(riid, ppv); }

}  // namespace engine
