// The module's classes, their class objects, the object and lock counts, and
// registration of every class under HKCR\CLSID with its InprocServer32 path
// and threading model. The DLL's exports (dll/EngineDll.cpp) call these.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <atomic>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"

namespace engine {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
HINSTANCE g_instance = nullptr;

const ClassEntry kClasses[] = {
    {&CLSID_MediaPropertyBag5, u"Sondrel media engine property bag", CreatePropertyBag},
    {&CLSID_MediaFile5, u"Sondrel media engine media file", CreateMediaFile},
    {&CLSID_MediaConversionJob5, u"Sondrel media engine conversion job", CreateConversionJob},
    {&CLSID_MediaMarkerList5, u"Sondrel media engine marker list", CreateMarkerList},
    {&CLSID_MediaAudioFormat5, u"Sondrel media engine audio format", CreateAudioFormat},
    {&CLSID_MediaMp3Settings5, u"Sondrel media engine MP3 settings", CreateMp3Settings},
    {&CLSID_MediaAacSettings5, u"Sondrel media engine AAC settings", CreateAacSettings},
    {&CLSID_MediaProfileCollection5, u"Sondrel media engine profile collection", CreateProfileCollection},
    {&CLSID_MediaSampleConverter5, u"Sondrel media engine sample converter", CreateSampleConverter},
    {&CLSID_MediaSampleBuffer5, u"Sondrel media engine sample buffer", CreateSampleBuffer},
    {&CLSID_MediaCaptureSource5, u"Sondrel media engine capture source", CreateCaptureSource},
    {&CLSID_MediaPlayer5, u"Sondrel media engine player", CreatePlayer},
    {&CLSID_MediaEngineAux5, u"Sondrel media engine configuration", CreateEngineAux},
    {nullptr, nullptr, nullptr},
};

// Every class may be used from any apartment: the objects guard their own state.
const WCHAR kThreadingModel[] = u"Both";

class ClassFactory : public ComClass, public IClassFactory {
 public:
  explicit ClassFactory(const ClassEntry* entry) : entry_(entry) {}

  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) return static_cast<IClassFactory*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return Guard([&] { return entry_->create(riid, ppv); });
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    ModuleLock(lock != FALSE);
    return S_OK;
  }

 private:
  const ClassEntry* entry_;
};

std::u16string GuidText(const GUID& guid) {
  WCHAR text[40] = {};
  StringFromGUID2(guid, text, 40);
  return FromWide(text);
}

LONG SetValue(HKEY key, const WCHAR* name, const std::u16string& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
}

HRESULT RegisterClass(const ClassEntry& entry, const std::u16string& modulePath) {
  std::u16string keyPath = u"CLSID\\" + GuidText(*entry.clsid);
  HKEY classKey = nullptr;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, reinterpret_cast<LPCWSTR>(keyPath.c_str()), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &classKey, nullptr);
  if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  rc = SetValue(classKey, nullptr, entry.name);
  HKEY serverKey = nullptr;
  if (rc == ERROR_SUCCESS)
    rc = RegCreateKeyExW(classKey, u"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey, nullptr);
  if (rc == ERROR_SUCCESS) {
    rc = SetValue(serverKey, nullptr, modulePath);
    if (rc == ERROR_SUCCESS) rc = SetValue(serverKey, u"ThreadingModel", kThreadingModel);
    RegCloseKey(serverKey);
  }
  RegCloseKey(classKey);
  return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const ClassEntry* e = kClasses; e->clsid; ++e) {
    if (IsEqualCLSID(clsid, *e->clsid)) return ComObject<ClassFactory>::Create(riid, ppv, e);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterServer() {
  WCHAR path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(g_instance, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
  std::u16string modulePath = FromWide(path);
  for (const ClassEntry* e = kClasses; e->clsid; ++e) {
    if (FAILED(RegisterClass(*e, modulePath))) return SELFREG_E_CLASS;
  }
  return S_OK;
}

HRESULT UnregisterServer() {
  HRESULT result = S_OK;
  for (const ClassEntry* e = kClasses; e->clsid; ++e) {
    std::u16string keyPath = u"CLSID\\" + GuidText(*e->clsid);
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, reinterpret_cast<LPCWSTR>(keyPath.c_str()));
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) result = SELFREG_E_CLASS;
  }
  return result;
}

void ModuleAddObject() { g_objects.fetch_add(1); }
void ModuleReleaseObject() { g_objects.fetch_sub(1); }
void ModuleLock(bool lock) {
  if (lock)
    g_locks.fetch_add(1);
  else
    g_locks.fetch_sub(1);
}
bool ModuleCanUnload() { return g_objects.load() == 0 && g_locks.load() == 0; }
HINSTANCE ModuleInstance() { return g_instance; }
const ClassEntry* EngineClasses() { return kClasses; }

}  // namespace engine
