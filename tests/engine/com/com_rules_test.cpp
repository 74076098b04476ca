// COM rules of every engine class, through the registered DLL: creation by
// CLSID, QueryInterface identity/symmetry/transitivity, reference counts,
// refused aggregation and unknown interfaces, registration and unloading.
#include "tests/engine/engine_test_support.h"

#include <ocidl.h>

#include <vector>

using namespace engine_test;

namespace {

struct ClassCase {
  const char* name;
  const CLSID* clsid;
  std::vector<const IID*> interfaces;  // besides IUnknown
  std::vector<const IID*> refused;     // interfaces the class must not answer
};

std::vector<ClassCase> Classes() {
  return {
      {"property bag", &CLSID_MediaPropertyBag5, {&IID_IMediaPropertyBag5}, {&IID_IMediaFile5}},
      {"media file",
       &CLSID_MediaFile5,
       {&IID_IMediaFile5, &IID_IMediaContainerInfo5, &IID_IConnectionPointContainer},
       {&IID_IMediaPropertyBag5}},
      {"conversion job", &CLSID_MediaConversionJob5, {&IID_IMediaConversionJob5}, {&IID_IMediaJobList5}},
      {"marker list", &CLSID_MediaMarkerList5, {&IID_IMediaMarkerList5}, {}},
      {"audio format",
       &CLSID_MediaAudioFormat5,
       {&IID_IMediaAudioFormat5},
       {&IID_IMediaMp3Settings5, &IID_IMediaAacSettings5}},
      {"MP3 settings",
       &CLSID_MediaMp3Settings5,
       {&IID_IMediaMp3Settings5, &IID_IMediaAudioFormat5},
       {&IID_IMediaAacSettings5}},
      {"AAC settings",
       &CLSID_MediaAacSettings5,
       {&IID_IMediaAacSettings5, &IID_IMediaAudioFormat5},
       {&IID_IMediaMp3Settings5}},
      {"profile collection", &CLSID_MediaProfileCollection5, {&IID_IMediaProfileCollection5}, {}},
      {"sample converter", &CLSID_MediaSampleConverter5, {&IID_IMediaSampleConverter5}, {}},
      {"sample buffer", &CLSID_MediaSampleBuffer5, {&IID_IMediaSample5}, {}},
      {"capture source", &CLSID_MediaCaptureSource5, {&IID_IMediaCaptureSource5, &IID_IMediaSource5}, {}},
      {"player", &CLSID_MediaPlayer5, {&IID_IMediaPlayer5, &IID_IConnectionPointContainer}, {}},
      {"auxiliary object", &CLSID_MediaEngineAux5, {&IID_IMediaEngineAux5}, {}},
  };
}

// {0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}: no engine class knows it.
const IID kForeignIid = {0x0F1E2D3C, 0x4B5A, 0x6978, {0x87, 0x96, 0xA5, 0xB4, 0xC3, 0xD2, 0xE1, 0xF0}};

IUnknown* Identity(IUnknown* p) {
  IUnknown* id = nullptr;
  EXPECT_EQ(S_OK, p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&id)));
  if (id) id->Release();
  return id;
}

class ComRulesTest : public ComTest {};

TEST_F(ComRulesTest, EveryClassFollowsQueryInterfaceRules) {
  for (const ClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    ComPtr<IUnknown> object = Create<IUnknown>(*c.clsid, IID_IUnknown);
    ASSERT_TRUE(object);
    IUnknown* identity = Identity(object.Get());
    EXPECT_EQ(object.Get(), identity);
    for (const IID* a : c.interfaces) {
      ComPtr<IUnknown> viaA;
      ASSERT_EQ(S_OK, object->QueryInterface(*a, viaA.OutVoid()));
      // Identity: every interface leads back to one IUnknown.
      EXPECT_EQ(identity, Identity(viaA.Get()));
      // Reflexive.
      ComPtr<IUnknown> again;
      EXPECT_EQ(S_OK, viaA->QueryInterface(*a, again.OutVoid()));
      for (const IID* b : c.interfaces) {
        // Symmetric and transitive: from any interface to any other and back.
        ComPtr<IUnknown> viaB, back;
        EXPECT_EQ(S_OK, viaA->QueryInterface(*b, viaB.OutVoid()));
        ASSERT_TRUE(viaB);
        EXPECT_EQ(S_OK, viaB->QueryInterface(*a, back.OutVoid()));
      }
    }
    for (const IID* r : c.refused) {
      void* p = reinterpret_cast<void*>(1);
      EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(*r, &p));
      EXPECT_EQ(nullptr, p);
    }
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(kForeignIid, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
  }
}

TEST_F(ComRulesTest, ReferenceCountsRiseAndFallByOne) {
  for (const ClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    IUnknown* object = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&object)));
    EXPECT_EQ(2u, object->AddRef());
    IUnknown* second = nullptr;
    ASSERT_EQ(S_OK, object->QueryInterface(*c.interfaces[0], reinterpret_cast<void**>(&second)));
    EXPECT_EQ(4u, second->AddRef());
    EXPECT_EQ(3u, second->Release());
    EXPECT_EQ(2u, second->Release());
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(0u, object->Release());
  }
}

TEST_F(ComRulesTest, AggregationAndUnknownClassesAreRefused) {
  BareUnknown outer;  // a controlling unknown offered for aggregation
  for (const ClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(*c.clsid, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &p));
    EXPECT_EQ(nullptr, p);
    // Asking for an interface the class lacks fails cleanly at creation too.
    p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, kForeignIid, &p));
    EXPECT_EQ(nullptr, p);
  }
  void* p = nullptr;
  EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(kForeignIid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &p));
}

TEST_F(ComRulesTest, EveryClassIsRegisteredInProcessWithItsThreadingModel) {
  for (const ClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    WCHAR guid[40] = {};
    StringFromGUID2(*c.clsid, guid, 40);
    std::u16string key = u"CLSID\\" + engine::FromWide(guid) + u"\\InprocServer32";
    WCHAR value[MAX_PATH] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CLASSES_ROOT, reinterpret_cast<LPCWSTR>(key.c_str()), nullptr,
                                          RRF_RT_REG_SZ, nullptr, value, &size));
    std::u16string server = engine::FromWide(value);
    EXPECT_NE(std::u16string::npos, server.find(u"sondrelengine.dll")) << Narrow(server);
    size = sizeof value;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CLASSES_ROOT, reinterpret_cast<LPCWSTR>(key.c_str()), u"ThreadingModel",
                                          RRF_RT_REG_SZ, nullptr, value, &size));
    EXPECT_EQ(u"Both", engine::FromWide(value));
  }
}

TEST_F(ComRulesTest, ModuleStaysLoadedWhileObjectsOrLocksLive) {
  HMODULE module = LoadLibraryW(u"sondrelengine.dll");
  ASSERT_NE(nullptr, module);
  using CanUnload = HRESULT(WINAPI*)();
  auto canUnload = reinterpret_cast<CanUnload>(GetProcAddress(module, "DllCanUnloadNow"));
  ASSERT_NE(nullptr, canUnload);
  ASSERT_EQ(S_OK, canUnload()) << "an earlier test leaked an engine object";

  ComPtr<IMediaPropertyBag5> bag = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  EXPECT_EQ(S_FALSE, canUnload());
  bag.Reset();
  EXPECT_EQ(S_OK, canUnload());

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, CoGetClassObject(CLSID_MediaMarkerList5, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.OutVoid()));
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.Reset();
  EXPECT_EQ(S_FALSE, canUnload());
  ASSERT_EQ(S_OK, CoGetClassObject(CLSID_MediaMarkerList5, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.OutVoid()));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(S_OK, canUnload());
  FreeLibrary(module);
}

}  // namespace
