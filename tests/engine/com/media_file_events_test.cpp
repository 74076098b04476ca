// _IMediaFile5Events as the file list's sink receives them: connected through
// the media file's connection point, told dispid 1 when a written file is
// finished, and disconnected again.
#include "tests/engine/engine_test_support.h"

#include <ocidl.h>
#include <olectl.h>

#include <vector>

using namespace engine_test;

namespace {

// A sink like the file list's: IDispatch answering the event IID.
class Sink : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, DIID__IMediaFile5Events)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (dispid != MEDIAFILE_DISPID_PROGRESS) return E_NOTIMPL;
    // Parameter 0 is the last in rgvarg: a 32-bit value, then a 16-bit one by reference.
    if (!params || params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    VARIANT& first = params->rgvarg[1];
    VARIANT& second = params->rgvarg[0];
    if (first.vt != VT_I4 || second.vt != (VT_BOOL | VT_BYREF)) return DISP_E_TYPEMISMATCH;
    percents.push_back(first.lVal);
    *second.pboolVal = VARIANT_FALSE;
    return S_OK;
  }
  ULONG refs = 1;
  std::vector<LONG> percents;
};

}  // namespace

class MediaFileEventsTest : public ComTest {
 protected:
  ScratchFolder folder;
};

namespace {

TEST_F(MediaFileEventsTest, FinishingAWrittenFileTellsConnectedSinks) {
  ASSERT_TRUE(folder.Ok());
  auto file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(S_OK, file->QueryInterface(IID_IConnectionPointContainer, container.OutVoid()));
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__IMediaFile5Events, point.Out()));
  ComPtr<IConnectionPointContainer> back;
  ASSERT_EQ(S_OK, point->GetConnectionPointContainer(back.Out()));
  EXPECT_EQ(container.Get(), back.Get());

  Sink sink;
  DWORD cookie = 0;
  ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));
  EXPECT_NE(0u, cookie);
  EXPECT_EQ(2u, sink.refs);  // the point holds the sink

  // A one-second PCM WAV file written through the write side.
  ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_WAV));
  auto profile = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  auto stream = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  auto format = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
  Bstr avformat(u"AVFormat"), streams(u"AudioStreamInfo");
  stream->SetObject(avformat, 0, format.Get(), 1);
  profile->SetObject(streams, MEDIA_ELEMENT_APPEND, stream.Get(), 1);
  ASSERT_EQ(S_OK, file->SetStreamSettings(profile.Get()));
  auto op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  Bstr operation(u"Operation"), mode(u"OperationMode"), fileName(u"FileName"), path(folder.Windows("events.wav"));
  op->SetInteger(operation, 0, MEDIA_OPERATION_WRITE, 0);
  op->SetInteger(mode, 0, MEDIA_MODE_FILE, 0);
  op->SetString(fileName, 0, path, 0);
  ASSERT_EQ(S_OK, file->Command(MEDIAFILE_CMD_OPEN, op.Get()));
  auto sample = Create<IMediaSample5>(CLSID_MediaSampleBuffer5, IID_IMediaSample5);
  ASSERT_EQ(S_OK, sample->SetFormat(format.Get()));
  ASSERT_EQ(S_OK, sample->Allocate(44100 * 4));
  ASSERT_EQ(S_OK, file->WriteSample(sample.Get()));
  double written = 0;
  file->GetDuration(MEDIA_STREAM_AUDIO, &written);
  EXPECT_NEAR(1000.0, written, 1.0);
  EXPECT_TRUE(sink.percents.empty());
  ASSERT_TRUE(SUCCEEDED(file->Command(MEDIAFILE_CMD_FINISH, nullptr)));
  ASSERT_EQ(1u, sink.percents.size());
  EXPECT_EQ(100, sink.percents[0]);

  ASSERT_EQ(S_OK, point->Unadvise(cookie));
  EXPECT_EQ(1u, sink.refs);
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));

  // The written file reads back as what was written.
  auto reader = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  op->SetInteger(operation, 0, MEDIA_OPERATION_READ, 0);
  ASSERT_EQ(S_OK, reader->Command(MEDIAFILE_CMD_OPEN, op.Get()));
  double ms = 0;
  reader->GetDuration(MEDIA_STREAM_AUDIO, &ms);
  EXPECT_NEAR(1000.0, ms, 1.0);

  // A sink that offers neither the event interface nor IDispatch is refused.
  BareUnknown plain;
  DWORD none = 7;
  EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&plain, &none));
  EXPECT_EQ(0u, none);
}

}  // namespace
