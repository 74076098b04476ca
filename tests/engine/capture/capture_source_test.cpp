// The capture source over the sound server: devices, inputs, volume, blocks.
#include "sondrel_gtest.h"

#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/MediaEngine.h"
#include "engine/core/ComBase.h"

#include "tests/engine/engine_test_support.h"
#include "tests/support/sound_module.h"
#include "win_thread.h"

#include <fcntl.h>
#include <sys/ioctl.h>

using engine::ComPtr;

namespace {

// Sound server modules of one test, unloaded at its end.
class PulseModules {
 public:
  ~PulseModules() {
    for (auto it = modules_.rbegin(); it != modules_.rend(); ++it)
      std::system(("pactl unload-module " + std::to_string(*it) + " >/dev/null 2>&1").c_str());
  }
  bool Load(const std::string& arguments) {
    const int module = std::atoi(CommandOutput("pactl load-module " + arguments + " 2>/dev/null").c_str());
    if (module > 0) modules_.push_back(module);
    return module > 0;
  }

 private:
  std::vector<int> modules_;
};

}  // namespace

class CaptureSource : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaCaptureSource5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaCaptureSource5,
                                     capture_.OutVoid()));
    ASSERT_EQ(S_OK, capture_->RefreshDevices());
  }
  void TearDown() override {
    capture_.Reset();
    CoUninitialize();
  }

  std::vector<std::u16string> Names() {
    LONG count = 0;
    capture_->GetDeviceCount(&count);
    std::vector<std::u16string> names;
    for (LONG i = 0; i < count; ++i) {
      BSTR b = nullptr;
      EXPECT_EQ(S_OK, capture_->GetDeviceName(i, &b));
      names.push_back(engine::FromWide(b));
      SysFreeString(b);
    }
    return names;
  }

  LONG IndexOf(const char16_t* part) {
    std::vector<std::u16string> names = Names();
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i].find(part) != std::u16string::npos) return static_cast<LONG>(i);
    return -1;
  }

  // Loads a source of the test's own, whose arguments give it the
  // description, and chooses it; the source the samples are read from.
  void ChooseOwnSource(PulseModules& modules, const std::string& arguments, const char16_t* description,
                       ComPtr<IMediaSource5>& source) {
    ASSERT_TRUE(modules.Load(arguments));
    ASSERT_EQ(S_OK, capture_->RefreshDevices());
    ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(description)));
    ASSERT_EQ(S_OK, capture_.As(&source, IID_IMediaSource5));
  }

  ComPtr<IMediaCaptureSource5> capture_;
};

namespace {

TEST_F(CaptureSource, ListsTheSineSourceButNoMonitorOfAnOutput) {
  EXPECT_GE(IndexOf(u"Sine"), 0);
  EXPECT_EQ(-1, IndexOf(u"Monitor"));
  BSTR b = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(E_INVALIDARG, capture_->GetDeviceName(99, &b));
  EXPECT_EQ(nullptr, b);
  EXPECT_EQ(E_INVALIDARG, capture_->SelectDevice(-1));
}

TEST_F(CaptureSource, VolumeIsTheSourceVolumeInPercent) {
  ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"Sine")));
  ASSERT_EQ(S_OK, capture_->SetVolume(37));
  LONG v = -1;
  ASSERT_EQ(S_OK, capture_->GetVolume(&v));
  EXPECT_EQ(37, v);
  // Both ends of 0..100 are volumes; one step beyond either is refused and
  // leaves the volume alone.
  EXPECT_EQ(E_INVALIDARG, capture_->SetVolume(-1));
  ASSERT_EQ(S_OK, capture_->GetVolume(&v));
  EXPECT_EQ(37, v);
  ASSERT_EQ(S_OK, capture_->SetVolume(100));
  EXPECT_EQ(E_INVALIDARG, capture_->SetVolume(101));
  ASSERT_EQ(S_OK, capture_->GetVolume(&v));
  EXPECT_EQ(100, v);
  // A source without ports has no inputs; selecting one is refused.
  ASSERT_EQ(S_OK, capture_->RefreshInputs());
  LONG inputs = -1;
  capture_->GetInputCount(&inputs);
  EXPECT_EQ(0, inputs);
  EXPECT_EQ(E_INVALIDARG, capture_->SelectInput(0));
}

TEST_F(CaptureSource, DeliversBlocksOfTheAskedLengthInItsFormat) {
  ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"Sine")));
  ComPtr<IMediaSource5> source;
  ASSERT_EQ(S_OK, capture_.As(&source, IID_IMediaSource5));
  double live = 0;
  source->GetDuration(MEDIA_STREAM_ANY, &live);
  EXPECT_EQ(MEDIA_LIVE_SOURCE_DURATION_MS, live);
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  double position = -1;
  for (int i = 0; i < 2; ++i) {
    ComPtr<IMediaSample5> sample;
    ASSERT_EQ(S_OK, source->ReadAudio(250, sample.Out()));
    ComPtr<IMediaAudioFormat5> format;
    ASSERT_EQ(S_OK, sample->GetFormat(format.Out()));
    LONG rate = 0, channels = 0, length = 0;
    format->GetSampleRate(&rate);
    format->GetChannels(&channels);
    sample->GetLength(&length);
    EXPECT_EQ(44100, rate);
    EXPECT_EQ(1, channels);  // the sine source is mono
    EXPECT_EQ(44100 / 4 * 2, length);
    double start = -1, end = -1;
    sample->GetTimes(&start, &end);
    EXPECT_DOUBLE_EQ(i * 250.0, start);
    EXPECT_DOUBLE_EQ(start + 250.0, end);
    // A sine wave, not silence.
    BYTE* data = nullptr;
    LONG capacity = 0;
    sample->GetBuffer(&data, &capacity);
    int peak = 0;
    for (LONG k = 0; k + 1 < length; k += 2)
      peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(data[k] | (data[k + 1] << 8)))));
    EXPECT_GT(peak, 1000);
  }
  source->GetPosition(MEDIA_STREAM_AUDIO, &position);
  EXPECT_DOUBLE_EQ(500.0, position);
  ASSERT_EQ(S_OK, capture_->Stop());
}

// The loudest sample of 16-bit sound from `from` to `to` (bytes).
int Peak(IMediaSample5* sample, LONG from, LONG to) {
  BYTE* data = nullptr;
  LONG capacity = 0;
  sample->GetBuffer(&data, &capacity);
  int peak = 0;
  for (LONG k = from; k + 1 < to; k += 2)
    peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(data[k] | (data[k + 1] << 8)))));
  return peak;
}

// Sound from before the item began belongs to no file: a source kept silent
// until the item begins gives sound from the start of the first block.
TEST_F(CaptureSource, SoundFromBeforeTheItemIsDropped) {
  PulseModules modules;
  ComPtr<IMediaSource5> source;
  ASSERT_NO_FATAL_FAILURE(ChooseOwnSource(modules,
                                          "module-sine-source source_name=sondrel_before_item rate=44100 "
                                          "frequency=330 source_properties=device.description=SondrelBeforeItem",
                                          u"SondrelBeforeItem", source));
  ASSERT_EQ(S_OK, capture_->SetVolume(0));
  ASSERT_EQ(S_OK, capture_->Start(0));
  Sleep(1000);  // a second of silence waits in the queue
  ASSERT_EQ(S_OK, capture_->SetVolume(100));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  ComPtr<IMediaSample5> sample;
  ASSERT_EQ(S_OK, source->ReadAudio(400, sample.Out()));
  LONG length = 0;
  sample->GetLength(&length);
  ASSERT_EQ(44100 * 2 * 4 / 10, length);
  // What the server had already captured may still be silent; the rest is the tone.
  EXPECT_GT(Peak(sample.Get(), length / 2, length), 1000);
  ASSERT_EQ(S_OK, capture_->Stop());
}

// Positions count frames, whatever their width: a stereo source moves as far
// per block as a mono one.
TEST_F(CaptureSource, AStereoSourceDeliversStereoBlocksAtTheirTimes) {
  PulseModules modules;
  ASSERT_TRUE(modules.Load("module-sine-source source_name=sondrel_stereo_master rate=44100 frequency=550"));
  ComPtr<IMediaSource5> source;
  ASSERT_NO_FATAL_FAILURE(
      ChooseOwnSource(modules,
                      "module-remap-source master=sondrel_stereo_master source_name=sondrel_stereo channels=2 "
                      "channel_map=front-left,front-right master_channel_map=mono,mono remix=no "
                      "source_properties=device.description=SondrelStereo",
                      u"SondrelStereo", source));
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  for (int i = 0; i < 2; ++i) {
    ComPtr<IMediaSample5> sample;
    ASSERT_EQ(S_OK, source->ReadAudio(250, sample.Out()));
    ComPtr<IMediaAudioFormat5> format;
    ASSERT_EQ(S_OK, sample->GetFormat(format.Out()));
    LONG channels = 0, length = 0;
    format->GetChannels(&channels);
    sample->GetLength(&length);
    EXPECT_EQ(2, channels);
    EXPECT_EQ(44100 / 4 * 4, length);
    double start = -1, end = -1;
    sample->GetTimes(&start, &end);
    EXPECT_DOUBLE_EQ(i * 250.0, start);
    EXPECT_DOUBLE_EQ(start + 250.0, end);
    EXPECT_GT(Peak(sample.Get(), 0, length), 1000);
  }
  double position = -1;
  source->GetPosition(MEDIA_STREAM_AUDIO, &position);
  EXPECT_DOUBLE_EQ(500.0, position);
  ASSERT_EQ(S_OK, capture_->Stop());
}

// The bag that opens a device: "Operation" and "OperationMode" 3.
ComPtr<IMediaPropertyBag5> DeviceOperation(LONGLONG operation) {
  ComPtr<IMediaPropertyBag5> op;
  EXPECT_EQ(S_OK, CoCreateInstance(CLSID_MediaPropertyBag5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaPropertyBag5,
                                   op.OutVoid()));
  BSTR name = SysAllocString(MEDIA_PROP_OPERATION), mode = SysAllocString(MEDIA_PROP_OPERATION_MODE);
  op->SetInteger(name, 0, operation, 0);
  op->SetInteger(mode, 0, MEDIA_MODE_DEVICE, 0);
  SysFreeString(name);
  SysFreeString(mode);
  return op;
}

TEST_F(CaptureSource, OpensTheSelectedDeviceAsAMediaFileForReadingOnly) {
  ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"Sine")));
  ComPtr<IMediaFile5> file;
  ASSERT_EQ(S_OK, capture_.As(&file, IID_IMediaFile5));
  EXPECT_EQ(E_INVALIDARG, file->Command(MEDIAFILE_CMD_OPEN, DeviceOperation(MEDIA_OPERATION_WRITE).Get()));
  EXPECT_EQ(S_OK, file->Command(MEDIAFILE_CMD_OPEN, DeviceOperation(MEDIA_OPERATION_READ).Get()));
  LONG count = 0;
  file->GetStreamCount(MEDIA_STREAM_AUDIO, &count);
  EXPECT_EQ(1, count);
  ComPtr<IMediaAudioFormat5> format;
  ASSERT_EQ(S_OK, file->GetStreamFormat(MEDIA_STREAM_AUDIO, IID_IMediaAudioFormat5, format.OutVoid()));
  LONG rate = 0;
  format->GetSampleRate(&rate);
  EXPECT_EQ(44100, rate);
  EXPECT_EQ(MEDIA_E_UNSUPPORTED_CONTAINER, file->SetContainerType(MEDIA_CONTAINER_WAV));
  EXPECT_EQ(S_OK, file->Command(MEDIAFILE_CMD_FINISH, nullptr));
}

// The recorder opens its source when it starts, and the user chooses the
// device afterwards: the device chosen after opening is the one recorded,
// until the stream runs.
TEST_F(CaptureSource, ADeviceChosenAfterOpeningIsTheOneRead) {
  PulseModules modules;
  ASSERT_TRUE(modules.Load("module-sine-source source_name=sondrel_chosen_master rate=44100 frequency=880"));
  ASSERT_TRUE(
      modules.Load("module-remap-source master=sondrel_chosen_master source_name=sondrel_chosen channels=2 "
                   "channel_map=front-left,front-right master_channel_map=mono,mono remix=no "
                   "source_properties=device.description=SondrelChosen"));
  ASSERT_EQ(S_OK, capture_->RefreshDevices());
  ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"Sine")));
  ComPtr<IMediaFile5> file;
  ASSERT_EQ(S_OK, capture_.As(&file, IID_IMediaFile5));
  ASSERT_EQ(S_OK, file->Command(MEDIAFILE_CMD_OPEN, DeviceOperation(MEDIA_OPERATION_READ).Get()));

  ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"SondrelChosen")));
  ComPtr<IMediaSource5> source;
  ASSERT_EQ(S_OK, capture_.As(&source, IID_IMediaSource5));
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  ComPtr<IMediaSample5> sample;
  ASSERT_EQ(S_OK, source->ReadAudio(250, sample.Out()));
  ComPtr<IMediaAudioFormat5> format;
  ASSERT_EQ(S_OK, sample->GetFormat(format.Out()));
  LONG channels = 0;
  format->GetChannels(&channels);
  EXPECT_EQ(2, channels) << "read from the device opened first";
  EXPECT_EQ(MEDIA_E_ALREADY_OPEN, capture_->SelectDevice(IndexOf(u"Sine")));
  ASSERT_EQ(S_OK, capture_->Stop());
  EXPECT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"Sine")));
}

TEST(SampleConverter, ResamplesAndRemixesToTheConfiguredFormat) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    ComPtr<IMediaSampleConverter5> converter;
    ComPtr<IMediaSample5> sample;
    ComPtr<IMediaAudioFormat5> target, from;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaSampleConverter5, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IMediaSampleConverter5, converter.OutVoid()));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaSampleBuffer5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaSample5,
                                     sample.OutVoid()));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaAudioFormat5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaAudioFormat5,
                                     target.OutVoid()));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaAudioFormat5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaAudioFormat5,
                                     from.OutVoid()));
    target->SetSampleRate(8000);
    target->SetChannels(2);
    from->SetSampleRate(16000);
    from->SetChannels(1);
    from->SetBitsPerSample(16);
    ASSERT_EQ(S_OK, sample->SetFormat(from.Get()));
    ASSERT_EQ(S_OK, sample->Allocate(16000 * 2));  // one second of silence
    double ms = 0;
    sample->GetDuration(&ms);
    EXPECT_DOUBLE_EQ(1000.0, ms);
    ASSERT_EQ(S_OK, converter->Command(MEDIACONV_CMD_CONFIGURE, target.Get(), nullptr));
    ComPtr<IUnknown> out;
    ASSERT_EQ(S_OK, converter->Command(MEDIACONV_CMD_CONVERT, sample.Get(), out.Out()));
    ComPtr<IMediaSample5> converted;
    ASSERT_EQ(S_OK, out.As(&converted, IID_IMediaSample5));
    LONG length = 0;
    converted->GetLength(&length);
    // Resampling holds back a few frames for the next block.
    EXPECT_NEAR(8000 * 4, length, 64 * 4);
    EXPECT_EQ(E_INVALIDARG, converter->Command(77, nullptr, nullptr));
  }
  CoUninitialize();
}

}  // namespace

// A wait sink that runs the test's action on each call.
class TestWaitSink : public IMediaWaitSink5 {
 public:
  explicit TestWaitSink(std::function<HRESULT()> action) : action_(std::move(action)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IMediaWaitSink5)) return E_NOINTERFACE;
    *ppv = static_cast<IMediaWaitSink5*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE OnWaiting() override {
    ++calls_;
    if (GetCurrentThreadId() != thread_) ++foreignCalls_;
    return action_();
  }
  int Calls() const { return calls_; }
  int ForeignCalls() const { return foreignCalls_; }
  ULONG Refs() const { return refs_; }

 private:
  std::function<HRESULT()> action_;
  std::atomic<ULONG> refs_{1};
  int calls_ = 0;
  int foreignCalls_ = 0;
  DWORD thread_ = GetCurrentThreadId();
};

// A reader on a window thread keeps its window answering through the sink:
// the read calls it on the reading thread while it waits for the source's
// next block, without holding the capture, so that what the sink does (a
// stop, here) takes effect; S_FALSE ends the read with what it has, a
// failing sink ends it with its failure, and a removed sink is no longer
// called.
TEST_F(CaptureSource, AWaitingReadCallsItsSinkUnlockedOnTheReadingThread) {
  ASSERT_EQ(S_OK, capture_->SelectDevice(IndexOf(u"Sine")));
  ComPtr<IMediaSource5> source;
  ASSERT_EQ(S_OK, capture_.As(&source, IID_IMediaSource5));
  ComPtr<IMediaReadWait5> wait;
  ASSERT_EQ(S_OK, capture_.As(&wait, IID_IMediaReadWait5));
  TestWaitSink stopping([&]() { return capture_->Stop(); });
  EXPECT_EQ(E_INVALIDARG, wait->SetWaitSink(&stopping, 5));
  EXPECT_EQ(E_INVALIDARG, wait->SetWaitSink(&stopping, 5000));
  ASSERT_EQ(S_OK, wait->SetWaitSink(&stopping, 50));

  // Three seconds are more than the sine source has handed over: the read
  // waits, the sink stops the capture, and the read ends short.
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  ComPtr<IMediaSample5> sample;
  const HRESULT hr = source->ReadAudio(3000, sample.Out());
  EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << std::hex << hr;
  LONG length = 0;
  if (sample) sample->GetLength(&length);
  EXPECT_LT(length, 44100 * 2 * 3) << "the read did not end at the sink's stop";
  EXPECT_GE(stopping.Calls(), 1);
  EXPECT_EQ(0, stopping.ForeignCalls());

  // S_FALSE ends the read with the sound it has.
  TestWaitSink ending([]() { return S_FALSE; });
  ASSERT_EQ(S_OK, wait->SetWaitSink(&ending, 50));
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  sample.Reset();
  const HRESULT hrEnded = source->ReadAudio(3000, sample.Out());
  EXPECT_TRUE(hrEnded == S_OK || hrEnded == S_FALSE) << std::hex << hrEnded;
  length = 0;
  if (sample) sample->GetLength(&length);
  EXPECT_LT(length, 44100 * 2 * 3) << "the read did not end at the sink's S_FALSE";
  EXPECT_EQ(1, ending.Calls());

  TestWaitSink failing([]() { return E_ABORT; });
  ASSERT_EQ(S_OK, wait->SetWaitSink(&failing, 50));
  EXPECT_EQ(1u, ending.Refs()) << "the replaced sink is still held";
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  EXPECT_EQ(E_ABORT, source->ReadAudio(3000, sample.Out()));
  EXPECT_EQ(1, failing.Calls());

  ASSERT_EQ(S_OK, wait->SetWaitSink(nullptr, 0));
  EXPECT_EQ(1u, failing.Refs());
  ASSERT_EQ(S_OK, source->ReadAudio(250, sample.Out()));
  sample->GetLength(&length);
  EXPECT_EQ(44100 / 4 * 2, length);
  EXPECT_EQ(1, failing.Calls());
  ASSERT_EQ(S_OK, capture_->Stop());
}

namespace {

// Ends a read that waits longer than a guard (a capture that never hands
// over what the test waits for), and takes itself off the capture at the end.
class ReadGuard {
 public:
  explicit ReadGuard(IMediaCaptureSource5* capture) : sink_([this]() { return ++calls_ < 300 ? S_OK : S_FALSE; }) {
    capture->QueryInterface(IID_IMediaReadWait5, wait_.OutVoid());
    if (wait_) wait_->SetWaitSink(&sink_, 50);
  }
  ~ReadGuard() {
    if (wait_) wait_->SetWaitSink(nullptr, 0);
  }
  // For each read: the guard's time starts anew.
  void Reset() { calls_ = 0; }
  // Until the next Reset every read is asked at once to end.
  void EndAtOnce() { calls_ = 300; }

 private:
  int calls_ = 0;
  TestWaitSink sink_;
  ComPtr<IMediaReadWait5> wait_;
};

// 16-bit mono frames of a sample that are silence, counted from its start or
// from its end.
LONG SilentFrames(IMediaSample5* sample, bool fromEnd) {
  BYTE* data = nullptr;
  LONG capacity = 0, length = 0;
  sample->GetBuffer(&data, &capacity);
  sample->GetLength(&length);
  const LONG frames = length / 2;
  LONG n = 0;
  while (n < frames) {
    const LONG k = fromEnd ? frames - 1 - n : n;
    if (data[2 * k] != 0 || data[2 * k + 1] != 0) break;
    ++n;
  }
  return n;
}

}  // namespace

// The sine source hands over every 2 s a block of what it captured over the
// 2 s before, so sound from before a Pause arrives after it, and sound from
// the pause after the Continue. A block's sound has the volume the source
// had when it came: loud before the Pause, silent from just after it until
// the first block after the Continue has come. The sound held back at the
// Pause is kept (the read after it ends in silence), even by a read asked to
// end at once, and of the first block after the Continue only what followed
// the Continue comes in, never the whole block.
TEST_F(CaptureSource, APauseKeepsTheSoundHeldBackBeforeItAndNothingFromItsOwnTime) {
  PulseModules modules;
  ComPtr<IMediaSource5> source;
  ASSERT_NO_FATAL_FAILURE(ChooseOwnSource(modules,
                                          "module-sine-source source_name=sondrel_paused rate=44100 frequency=440 "
                                          "source_properties=device.description=SondrelPaused",
                                          u"SondrelPaused", source));
  ReadGuard guard(capture_.Get());
  ASSERT_EQ(S_OK, capture_->SetVolume(100));
  ASSERT_EQ(S_OK, capture_->Start(0));
  ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
  ComPtr<IMediaSample5> sample;
  ASSERT_EQ(S_OK, source->ReadAudio(100, sample.Out()));  // comes with a block
  Sleep(1000);                                            // the pause falls inside the next one

  ASSERT_EQ(S_OK, capture_->Pause());
  ASSERT_EQ(S_OK, capture_->SetVolume(0));
  guard.EndAtOnce();  // as a Stop held at its click asks
  ASSERT_EQ(S_OK, source->ReadAudio(8000, sample.Out()));
  LONG length = 0;
  sample->GetLength(&length);
  EXPECT_LT(length, 8 * 44100 * 2) << "the read did not end with the sound from before the pause";
  EXPECT_GT(Peak(sample.Get(), 0, 882), 1000);
  EXPECT_GT(SilentFrames(sample.Get(), true), 441) << "the sound the source held back at the Pause was lost";

  Sleep(500);  // the Continue falls inside the source's next block
  ASSERT_EQ(S_OK, capture_->Start(0));
  guard.Reset();
  ASSERT_EQ(S_OK, source->ReadAudio(1, sample.Out()));
  ASSERT_EQ(S_OK, capture_->SetVolume(100));  // long before the block after
  // Silence until the next block's sound, read on for at most two blocks.
  LONG silent = 0;
  for (int i = 0; i < 40; ++i) {
    sample->GetLength(&length);
    const LONG frames = SilentFrames(sample.Get(), false);
    silent += frames;
    if (frames < length / 2) break;
    guard.Reset();
    ASSERT_EQ(S_OK, source->ReadAudio(100, sample.Out()));
  }
  EXPECT_GT(silent, 0);
  EXPECT_LT(silent, 2 * 44100) << "a whole block captured during the pause came in after the Continue";
  ASSERT_EQ(S_OK, capture_->Stop());
}

// A device taken away while it records: a Pause or a Continue on its dead
// stream reports the loss, not a server that stayed silent.
TEST_F(CaptureSource, PauseAndContinueOnALostDeviceReportTheLoss) {
  ComPtr<IMediaSource5> source;
  {
    PulseModules modules;
    ASSERT_NO_FATAL_FAILURE(ChooseOwnSource(modules,
                                            "module-sine-source source_name=sondrel_lost rate=44100 frequency=440 "
                                            "source_properties=device.description=SondrelLost",
                                            u"SondrelLost", source));
    ASSERT_EQ(S_OK, capture_->Start(0));
  }
  ComPtr<IMediaSample5> sample;
  ASSERT_EQ(MEDIA_E_DEVICE_LOST, source->ReadAudio(3000, sample.Out()));
  EXPECT_EQ(MEDIA_E_DEVICE_LOST, capture_->Pause());
  EXPECT_EQ(MEDIA_E_DEVICE_LOST, capture_->Start(0));
  EXPECT_EQ(S_OK, capture_->Stop());
}

namespace {

// A FIFO source's writer whose every stereo frame holds its own number
// (from 1), so that a recording tells exactly which frames it kept.
class NumberedFrames {
 public:
  explicit NumberedFrames(const std::string& fifo) : fd_(open(fifo.c_str(), O_WRONLY)) {}
  ~NumberedFrames() {
    if (fd_ >= 0) close(fd_);
  }
  bool Write(int frames) {
    std::vector<int16_t> data;
    for (int i = 0; i < frames; ++i, ++next_) {
      data.push_back(static_cast<int16_t>(next_ & 0x7FFF));
      data.push_back(static_cast<int16_t>(next_ >> 15));
    }
    const size_t bytes = data.size() * sizeof(int16_t);
    return fd_ >= 0 && write(fd_, data.data(), bytes) == static_cast<ssize_t>(bytes);
  }
  // Whether the server has read everything written (bounded).
  bool Drained() const {
    for (int i = 0; i < 500; ++i) {
      int queued = 0;
      if (ioctl(fd_, FIONREAD, &queued) == 0 && queued == 0) return true;
      Sleep(10);
    }
    return false;
  }

 private:
  int fd_;
  int next_ = 1;
};

// The frame numbers a sample holds.
std::vector<long> FrameNumbers(IMediaSample5* sample) {
  BYTE* data = nullptr;
  LONG capacity = 0, length = 0;
  sample->GetBuffer(&data, &capacity);
  sample->GetLength(&length);
  const auto* v = reinterpret_cast<const int16_t*>(data);
  std::vector<long> numbers;
  for (LONG i = 0; i + 1 < length / 2; i += 2) numbers.push_back(v[i] + (static_cast<long>(v[i + 1]) << 15));
  return numbers;
}

// Whether the numbers run on one by one.
bool Unbroken(const std::vector<long>& numbers) {
  for (size_t i = 1; i < numbers.size(); ++i)
    if (numbers[i] != numbers[i - 1] + 1) return false;
  return !numbers.empty();
}

// The call's result, made on a second thread; E_PENDING when it has not
// returned after a guard against a hang (far beyond the wait for a server
// that does not answer, far within the half minute the sound library itself
// waits). The server is let go then, so that the call can end.
HRESULT ReturnedResult(const std::function<HRESULT()>& call, const PrivateSoundServer& server) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HRESULT hr = E_PENDING;
  WinThread thread([&]() {
    hr = call();
    SetEvent(done);
  });
  const bool returned = WaitForSingleObject(done, 15000) == WAIT_OBJECT_0;
  server.Resume();
  thread.join();
  CloseHandle(done);
  return returned ? hr : E_PENDING;
}

}  // namespace

// A sound server that hangs but stays connected never answers where the
// stream stands: Pause and Continue go on without it, from where the sound it
// delivered ends, and say so. Frames the server delivers after an unanswered
// Pause stay out until the Continue; those after an unanswered Continue come
// in. A server of the test's own, in a process of its own, with a FIFO source
// the test writes numbered frames into.
TEST(HungSoundServer, PauseAndContinueGoOnFromTheDeliveredSoundWithoutAnAnswer) {
  if (!engine_test::IsAloneRun()) {
    EXPECT_EQ(0u, engine_test::RunAlone("HungSoundServer.*"));
    return;
  }
  PrivateSoundServer server;
  const std::string fifo = server.Folder() + "/hung.fifo";
  ASSERT_TRUE(
      server.Load("module-pipe-source source_name=sondrel_hung file=" + fifo + " format=s16le rate=44100 channels=2"));
  // This process has not met a sound server yet: its connection goes to this one.
  setenv("PULSE_SERVER", server.Address().c_str(), 1);
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    ComPtr<IMediaCaptureSource5> capture;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MediaCaptureSource5, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaCaptureSource5,
                                     capture.OutVoid()));
    ASSERT_EQ(S_OK, capture->RefreshDevices());
    ASSERT_EQ(S_OK, capture->SelectDevice(0));
    ComPtr<IMediaSource5> source;
    ASSERT_EQ(S_OK, capture.As(&source, IID_IMediaSource5));
    ASSERT_EQ(S_OK, capture->Start(0));
    ASSERT_EQ(S_OK, source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr));
    NumberedFrames frames(fifo);
    ComPtr<IMediaSample5> sample;
    ASSERT_TRUE(frames.Write(22050));
    ASSERT_EQ(S_OK, source->ReadAudio(500, sample.Out()));
    std::vector<long> read = FrameNumbers(sample.Get());
    ASSERT_TRUE(Unbroken(read) && read.front() == 1 && read.back() == 22050);

    server.Hang();
    EXPECT_EQ(MEDIA_S_MOMENT_AT_DELIVERED, ReturnedResult([&]() { return capture->Pause(); }, server))
        << "the Pause waited for the server (E_PENDING)";
    server.Resume();
    ASSERT_TRUE(frames.Write(11025) && frames.Drained());  // 22051 to 33075, delivered while paused
    ASSERT_EQ(S_OK, capture->Start(0));
    ASSERT_TRUE(frames.Write(22050) && frames.Drained());  // 33076 to 55125
    ASSERT_EQ(S_OK, source->ReadAudio(250, sample.Out()));
    read = FrameNumbers(sample.Get());
    ASSERT_TRUE(Unbroken(read));
    // The server's answer counts the transport's delay too: a frame or so.
    EXPECT_GE(read.front(), 33076) << "frames delivered after the Pause came in";
    EXPECT_LT(read.front(), 33076 + 441) << "frames from after the Continue were lost";

    ASSERT_EQ(S_OK, capture->Pause());
    server.Hang();
    EXPECT_EQ(MEDIA_S_MOMENT_AT_DELIVERED, ReturnedResult([&]() { return capture->Start(0); }, server))
        << "the Continue waited for the server (E_PENDING)";
    ASSERT_TRUE(frames.Write(11025));  // 55126 to 66150, delivered after the Continue
    const long expected = 66150 - read.back();
    ASSERT_EQ(S_OK, source->ReadAudio(1000.0 * expected / 44100, sample.Out()));
    std::vector<long> rest = FrameNumbers(sample.Get());
    EXPECT_TRUE(Unbroken(rest) && rest.front() == read.back() + 1 && rest.back() == 66150)
        << rest.front() << " to " << rest.back();
    ASSERT_EQ(S_OK, capture->Stop());
  }
  CoUninitialize();
}
