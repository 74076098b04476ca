// The player: plays a file to the sound server's null output and reports
// position and end through its event interface on the creating thread.
#include "sondrel_gtest.h"

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <cstdlib>
#include <cstdio>
#include <string>

#include "engine/MediaEngine.h"
#include "engine/core/ComBase.h"

using engine::ComPtr;

class EventSink : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, DIID__IMediaPlayer5Events)) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    EXPECT_EQ(GetCurrentThreadId(), owner);
    if (id == MEDIAPLAYER_DISPID_POSITION) {
      ++positions;
      if (params && params->cArgs == 1 && V_VT(&params->rgvarg[0]) == VT_R8) lastPosition = V_R8(&params->rgvarg[0]);
    } else if (id == MEDIAPLAYER_DISPID_STOPPED) {
      ++stops;
    }
    return S_OK;
  }
  ULONG refs = 1;
  DWORD owner = GetCurrentThreadId();
  int positions = 0;
  int stops = 0;
  double lastPosition = -1;
};

namespace {

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    char tmpl[] = "/tmp/sondrel-play-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    dir_ = tmpl;
    std::string cmd = "ffmpeg -v error -f lavfi -i sine=frequency=440:duration=1.5 -ac 2 '" + dir_ + "/tone.wav'";
    ASSERT_EQ(0, std::system(cmd.c_str()));
    std::u16string path = u"Z:";
    for (char c : dir_ + "/tone.wav") path.push_back(c == '/' ? u'\\' : static_cast<char16_t>(c));

    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_MediaFile5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaFile5, file_.OutVoid()));
    ComPtr<IMediaPropertyBag5> op;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaPropertyBag5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaPropertyBag5,
                                     op.OutVoid()));
    BSTR operation = SysAllocString(MEDIA_PROP_OPERATION), mode = SysAllocString(MEDIA_PROP_OPERATION_MODE),
         name = SysAllocString(MEDIA_PROP_FILE_NAME),
         value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(path.data()), static_cast<UINT>(path.size()));
    op->SetInteger(operation, 0, MEDIA_OPERATION_READ, 0);
    op->SetInteger(mode, 0, MEDIA_MODE_FILE, 0);
    op->SetString(name, 0, value, 0);
    SysFreeString(operation);
    SysFreeString(mode);
    SysFreeString(name);
    SysFreeString(value);
    ASSERT_EQ(S_OK, file_->Command(MEDIAFILE_CMD_OPEN, op.Get()));

    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaPlayer5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaPlayer5,
                                     player_.OutVoid()));
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, player_.As(&container, IID_IConnectionPointContainer));
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__IMediaPlayer5Events, point_.Out()));
    ASSERT_EQ(S_OK, point_->Advise(&sink_, &cookie_));
  }
  void TearDown() override {
    if (point_ && cookie_) point_->Unadvise(cookie_);
    point_.Reset();
    player_.Reset();
    file_.Reset();
    std::system(("rm -rf '" + dir_ + "'").c_str());
    CoUninitialize();
  }

  std::string dir_;
  ComPtr<IMediaFile5> file_;
  ComPtr<IMediaPlayer5> player_;
  ComPtr<IConnectionPoint> point_;
  EventSink sink_;
  DWORD cookie_ = 0;
};

namespace {

TEST_F(Player, PlaysToTheEndWithPositionEventsThenReportsTheStop) {
  ASSERT_EQ(S_OK, player_->Open(file_.Get()));
  double duration = 0;
  player_->GetDuration(&duration);
  EXPECT_NEAR(1500, duration, 50);
  ASSERT_EQ(S_OK, player_->Run(MEDIAPLAYER_RUN_PLAY));
  LONG state = -1;
  player_->GetState(&state);
  EXPECT_EQ(MEDIAPLAYER_PLAYING, state);
  for (int i = 0; i < 100 && sink_.stops == 0; ++i) Pump(50);
  EXPECT_EQ(1, sink_.stops);
  EXPECT_GE(sink_.positions, 2);
  EXPECT_GT(sink_.lastPosition, 0);
  EXPECT_LE(sink_.lastPosition, 1550);
  player_->GetState(&state);
  EXPECT_EQ(MEDIAPLAYER_STOPPED, state);
}

TEST_F(Player, PauseHoldsThePositionAndASeekWhilePreparedStartsThere) {
  ASSERT_EQ(S_OK, player_->Open(file_.Get()));
  ASSERT_EQ(S_OK, player_->Run(MEDIAPLAYER_RUN_PLAY));
  Pump(400);
  ASSERT_EQ(S_OK, player_->Pause());
  double held = 0, later = 0;
  player_->GetPosition(&held);
  EXPECT_GT(held, 100);
  Pump(300);
  player_->GetPosition(&later);
  EXPECT_DOUBLE_EQ(held, later);

  ASSERT_EQ(S_OK, player_->Run(MEDIAPLAYER_RUN_PREPARE));
  ASSERT_EQ(S_OK, player_->SetPosition(1200));
  ASSERT_EQ(S_OK, player_->Run(MEDIAPLAYER_RUN_PLAY));
  double at = 0;
  player_->GetPosition(&at);
  EXPECT_GE(at, 1200);
  for (int i = 0; i < 60 && sink_.stops == 0; ++i) Pump(50);
  EXPECT_EQ(1, sink_.stops);  // only 300 ms were left
  ASSERT_EQ(S_OK, player_->Stop());
  player_->GetPosition(&at);
  EXPECT_EQ(0, at);
}

}  // namespace
