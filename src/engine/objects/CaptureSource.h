// E2: the capture source class. Devices are the sound server's sources
// (monitors of outputs left out), inputs are a source's ports, the volume
// 0..100 is the source volume. As a job's input it delivers what it captures
// in blocks of the asked length. As a media file it stands for the selected
// device opened for reading (operation 1, mode 3); it writes nothing.
#pragma once

#include "engine/core/ComBase.h"
#include "engine/pulse/PulseCapture.h"
#include "engine/pulse/PulseConnection.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace engine {

class CCaptureSource : public ComClass,
                       public IMediaCaptureSource5,
                       public IMediaSource5,
                       public IMediaFile5,
                       public IMediaReadWait5 {
 public:
  CCaptureSource();
  ~CCaptureSource() override;
  void* FindInterface(REFIID riid);

  // IUnknown comes from ComObject; both bases share it.
  HRESULT STDMETHODCALLTYPE RefreshDevices() override;
  HRESULT STDMETHODCALLTYPE GetDeviceCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetDeviceName(LONG index, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE SelectDevice(LONG index) override;
  HRESULT STDMETHODCALLTYPE GetSelectedDevice(LONG* index) override;
  HRESULT STDMETHODCALLTYPE RefreshInputs() override;
  HRESULT STDMETHODCALLTYPE GetInputCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetInputName(LONG index, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE SelectInput(LONG index) override;
  HRESULT STDMETHODCALLTYPE SetVolume(LONG percent) override;
  HRESULT STDMETHODCALLTYPE GetVolume(LONG* percent) override;
  HRESULT STDMETHODCALLTYPE Start(LONG mode) override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Stop() override;

  HRESULT STDMETHODCALLTYPE Command(LONG command, IUnknown* argument) override;
  HRESULT STDMETHODCALLTYPE GetStreamCount(LONG streamType, LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONG streamType, double* ms) override;
  HRESULT STDMETHODCALLTYPE GetPosition(LONG streamType, double* ms) override;
  HRESULT STDMETHODCALLTYPE Rewind(LONG streamType) override;
  HRESULT STDMETHODCALLTYPE ReadAudio(double ms, IMediaSample5** sample) override;
  HRESULT STDMETHODCALLTYPE ReadVideo(IMediaSample5** frame) override;
  HRESULT STDMETHODCALLTYPE GetAudioFormat(IMediaAudioFormat5** format) override;

  // IMediaReadWait5: the sink a reader on a window thread pumps through.
  HRESULT STDMETHODCALLTYPE SetWaitSink(IMediaWaitSink5* sink, LONG intervalMs) override;

  // IMediaFile5 (GetStreamCount and GetDuration are shared with IMediaSource5).
  HRESULT STDMETHODCALLTYPE SetContainerType(LONG type) override;
  HRESULT STDMETHODCALLTYPE GetContainerType(LONG* type) override;
  HRESULT STDMETHODCALLTYPE SetStreamSettings(IMediaPropertyBag5* profile) override;
  HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5* tags) override;
  HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** tags) override;
  HRESULT STDMETHODCALLTYPE Command(LONG command, IMediaPropertyBag5* operation) override;
  HRESULT STDMETHODCALLTYPE GetFileName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE SelectStream(LONG streamType, LONG index) override;
  HRESULT STDMETHODCALLTYPE GetSelectedStream(LONG streamType, LONG* index) override;
  HRESULT STDMETHODCALLTYPE GetStreamFormat(LONG streamType, REFIID riid, void** format) override;
  HRESULT STDMETHODCALLTYPE GetStreamProperties(LONG streamType, IMediaPropertyBag5** properties) override;
  HRESULT STDMETHODCALLTYPE IsSeekable(VARIANT_BOOL* seekable) override;
  HRESULT STDMETHODCALLTYPE WriteSample(IMediaSample5* sample) override;
  HRESULT STDMETHODCALLTYPE ReadVideoFrame(double ms, IMediaSample5** frame) override;
  HRESULT STDMETHODCALLTYPE GetCodecCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetCodecFormatCount(LONG codec, LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetCodecFormat(LONG codec, LONG format, IMediaAudioFormat5** value) override;

 private:
  HRESULT EnsureConnection();
  HRESULT StartCapture();
  HRESULT FindSelectedDevice();
  const pulse::SourceInfo* Selected() const;

  std::mutex lock_;
  std::shared_ptr<pulse::PulseConnection> connection_;
  std::vector<pulse::SourceInfo> devices_;
  int selected_ = -1;
  std::vector<pulse::PortInfo> inputs_;
  int selectedInput_ = -1;
  std::shared_ptr<pulse::PulseCapture> capture_;
  int rate_ = 44100;
  int channels_ = 2;
  double position_ = 0;  // ms delivered since the item began
  ComPtr<IMediaWaitSink5> waitSink_;
  int waitMs_ = 100;
};

}  // namespace engine
