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

}  // namespace

class ComRulesTest : public ComTest {};

namespace {

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

// The ids as clients outside this code base write them down: a digit wrong in
// the header would leave such a client with nothing.
TEST_F(ComRulesTest, EveryClassAnswersTheIdsClientsKnowItBy) {
  const char16_t* const kPublished[][2] = {
      {u"{2363E3B2-BBE5-4670-ABA9-6C89079DF009}", u"{FEB371B6-4D5C-493F-B78D-BB59CE1F8CE4}"},
      {u"{A53AD242-5EB2-47E8-9286-885C1167E204}", u"{62AC1BD0-8E78-4663-8514-4DE92AEC9268}"},
      {u"{177C39CA-94FF-4859-BA90-8A1F58E9A153}", u"{166C81F4-8B0C-4FCF-9B2B-525ED68194B4}"},
      {u"{D23EBD5D-91B9-43D7-88E1-108BE97DA151}", u"{59CC1804-0091-4E78-B467-3CF62A6D269B}"},
      {u"{6E970212-5604-4E4D-903C-91383C12A8B9}", u"{34957411-3552-4BC3-8AAF-8C12CD017E65}"},
      {u"{C0584457-81D0-4B53-BA82-02B73795EAED}", u"{C0BC635F-7009-4F80-B6D7-922AB3D5FE55}"},
      {u"{0A78AEAD-4A0B-46B8-8ABA-2EE98E7B9767}", u"{05525292-AD4B-4760-B5F9-E0C965CCCFBF}"},
      {u"{A344D606-303B-462C-AA3D-BE49B64E3CAB}", u"{E0E666A9-5C05-4081-9B27-57A1C34C791E}"},
      {u"{0ACD67AB-8436-4605-8C1B-C51B035F0730}", u"{AE4C2DDC-1F4E-4E5E-8114-D89323171C16}"},
      {u"{4275D5BA-C230-4EBE-8E44-CA4C9C47B17D}", u"{B09503D4-FBED-4788-B3AF-0794A78BB3AF}"},
      {u"{55D08311-7C7B-438C-8B93-7B6B08468B44}", u"{B9E18087-0F97-446C-84F7-99C5D9B6C275}"},
      {u"{55D08311-7C7B-438C-8B93-7B6B08468B44}", u"{6EAE28E0-424E-4642-A408-BC118DE35F45}"},
      {u"{B71A5B45-14F3-4E21-92D8-261A46E237B2}", u"{67006D58-E0F0-4CD9-B143-26FCFE10A827}"},
      {u"{CAFF7B6F-E64A-4F94-BA39-3AC027834D8E}", u"{3413EEC7-3124-451D-8A4D-4625D2A6A693}"},
  };
  for (const auto& ids : kPublished) {
    SCOPED_TRACE(Narrow(ids[1]));
    CLSID clsid;
    IID iid;
    ASSERT_EQ(S_OK, CLSIDFromString(reinterpret_cast<LPCOLESTR>(ids[0]), &clsid));
    ASSERT_EQ(S_OK, IIDFromString(reinterpret_cast<LPCOLESTR>(ids[1]), &iid));
    ComPtr<IUnknown> object;
    EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.OutVoid()));
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
