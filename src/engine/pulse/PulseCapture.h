// Capture from one source as interleaved signed 16-bit samples. Data arrives
// on the sound server's thread and waits in a queue until Read takes it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct pa_stream;

namespace engine::pulse {

class PulseConnection;

// Interrupted: the waiting callback asked the read to end.
enum class CaptureStatus { Ok, Stopped, Failed, TimedOut, Interrupted };

// Where a pause or a continue took effect: at the moment of the call, where
// the sound delivered so far ends (the server did not answer in time), or
// nowhere, the stream having failed.
enum class CaptureMark { AtMoment, AtDelivered, Failed };

// What the waiting callback of a read answers: wait on; end the read with
// the sound it has (while paused, once the sound from before the pause is
// in); or end it at once.
enum class WaitAnswer { GoOn, End, EndNow };

class PulseCapture {
 public:
  // Sound kept for a reader that has fallen behind; older sound is dropped.
  static constexpr int kMaxQueuedSeconds = 120;

  PulseCapture(std::shared_ptr<PulseConnection> connection, std::string source, int sampleRate, int channels);
  ~PulseCapture();
  PulseCapture(const PulseCapture&) = delete;
  PulseCapture& operator=(const PulseCapture&) = delete;

  bool Start(std::string* error);
  // Pause and Resume mark the moment of the call in the stream, which runs on:
  // sound captured before the pause is still handed over, however late the
  // server delivers it, and sound captured between the two never reaches the
  // queue. When the server does not answer in time, the moment is where the
  // sound it has delivered ends.
  CaptureMark Pause();
  CaptureMark Resume();
  void Stop();

  // Blocks until exactly `bytes` are copied, the stream ends or fails, or no
  // data came for `stallMs` while running (a device that went silent for good).
  // While paused, a read ends short once everything from before the pause is
  // handed over, and one that has nothing waits for Resume.
  // `got` receives what was copied in every case. `onWait`, when given, is
  // called without the lock at least every `waitMs` until the read is done,
  // also while data trickles in. A read it ends while paused still takes the
  // sound from before the pause, waiting at most `stallMs` for more of it.
  CaptureStatus Read(uint8_t* dst, size_t bytes, size_t* got, int stallMs = 5000,
                     const std::function<WaitAnswer()>& onWait = nullptr, int waitMs = 100);

  bool IsRunning() const;
  bool IsPaused() const;
  bool HasFailed() const;
  const std::string& LastError() const { return error_; }
  int SampleRate() const { return sampleRate_; }
  int Channels() const { return channels_; }
  int BlockAlign() const { return 2 * channels_; }
  size_t Available() const;
  void DropQueued();

 private:
  static void OnState(pa_stream* s, void* userdata);
  static void OnRead(pa_stream* s, size_t nbytes, void* userdata);
  static void OnTimingUpdate(pa_stream* s, int success, void* query);
  void Fail(const std::string& why);
  CaptureMark CapturedBytes(uint64_t* at);
  void Queue(const uint8_t* data, size_t n);
  bool PausedSoundHandedOver() const;

  std::shared_ptr<PulseConnection> connection_;
  std::string source_;
  int sampleRate_;
  int channels_;
  pa_stream* stream_ = nullptr;

  mutable std::mutex lock_;
  std::condition_variable arrived_;
  std::deque<uint8_t> queue_;
  uint64_t received_ = 0;  // bytes the stream has handed over since it started
  // Stream byte ranges [first, second) that were paused; the last one stays
  // open (second at the maximum) while the capture is paused.
  std::deque<std::pair<uint64_t, uint64_t>> pausedRanges_;
  bool running_ = false;
  bool paused_ = false;
  bool failed_ = false;
  std::string error_;
};

}  // namespace engine::pulse
