// Plays interleaved signed 16-bit samples that a pull function supplies (the
// file decoder). The pull function runs on the sound server's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

struct pa_stream;

namespace engine::pulse {

class PulseConnection;

class PulsePlayback {
 public:
  // Fills up to `max` bytes; 0 means the end of the sound.
  using Pull = std::function<size_t(uint8_t* dst, size_t max)>;

  PulsePlayback(std::shared_ptr<PulseConnection> connection, int sampleRate, int channels);
  ~PulsePlayback();
  PulsePlayback(const PulsePlayback&) = delete;
  PulsePlayback& operator=(const PulsePlayback&) = delete;

  // Plays to the default sink; `startMs` is added to every reported position.
  bool Start(Pull pull, double startMs, std::string* error);
  void Pause();
  void Resume();
  void Stop();

  double PositionMs() const;
  bool IsPaused() const;
  // The pull function ran dry and the server played everything out.
  bool HasFinished() const;
  bool HasFailed() const;

 private:
  static void OnState(pa_stream* s, void* userdata);
  static void OnWrite(pa_stream* s, size_t nbytes, void* userdata);
  static void OnDrained(pa_stream* s, int success, void* userdata);

  std::shared_ptr<PulseConnection> connection_;
  int sampleRate_;
  int channels_;
  pa_stream* stream_ = nullptr;
  Pull pull_;
  double startMs_ = 0;

  mutable std::mutex lock_;
  bool paused_ = false;
  bool endOfData_ = false;
  bool finished_ = false;
  bool failed_ = false;
  uint64_t bytesWritten_ = 0;
  mutable double lastPositionMs_ = 0;
};

}  // namespace engine::pulse
