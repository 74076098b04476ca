#include "engine/pulse/PulsePlayback.h"

#include "engine/pulse/PulseConnection.h"
#include "engine/pulse/PulseStream.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace engine::pulse {

PulsePlayback::PulsePlayback(std::shared_ptr<PulseConnection> connection, int sampleRate, int channels)
    : connection_(std::move(connection)),
      sampleRate_(sampleRate > 0 ? sampleRate : 44100),
      channels_(channels > 0 ? std::min(channels, 8) : 2) {}

PulsePlayback::~PulsePlayback() { Stop(); }

void PulsePlayback::OnState(pa_stream* s, void* userdata) {
  auto* self = static_cast<PulsePlayback*>(userdata);
  pa_stream_state_t st = pa_stream_get_state(s);
  if (st == PA_STREAM_FAILED || st == PA_STREAM_TERMINATED) {
    std::lock_guard<std::mutex> g(self->lock_);
    self->failed_ = true;
  }
  pa_threaded_mainloop_signal(self->connection_->Loop(), 0);
}

void PulsePlayback::OnDrained(pa_stream*, int, void* userdata) {
  auto* self = static_cast<PulsePlayback*>(userdata);
  std::lock_guard<std::mutex> g(self->lock_);
  self->finished_ = true;
}

void PulsePlayback::OnWrite(pa_stream* s, size_t nbytes, void* userdata) {
  auto* self = static_cast<PulsePlayback*>(userdata);
  {
    std::lock_guard<std::mutex> g(self->lock_);
    if (self->endOfData_) return;
  }
  size_t frame = static_cast<size_t>(2 * self->channels_);
  while (nbytes >= frame) {
    void* buf = nullptr;
    size_t n = nbytes;
    if (pa_stream_begin_write(s, &buf, &n) < 0 || !buf) return;
    n -= n % frame;
    size_t filled = 0;
    while (filled < n) {
      size_t got = self->pull_ ? self->pull_(static_cast<uint8_t*>(buf) + filled, n - filled) : 0;
      if (got == 0) break;
      filled += got;
    }
    filled -= filled % frame;
    if (filled == 0) {
      pa_stream_cancel_write(s);
      {
        std::lock_guard<std::mutex> g(self->lock_);
        self->endOfData_ = true;
      }
      pa_operation* op = pa_stream_drain(s, OnDrained, self);
      if (op) pa_operation_unref(op);
      return;
    }
    pa_stream_write(s, buf, filled, nullptr, 0, PA_SEEK_RELATIVE);
    {
      std::lock_guard<std::mutex> g(self->lock_);
      self->bytesWritten_ += filled;
    }
    nbytes -= std::min(nbytes, filled);
  }
}

bool PulsePlayback::Start(Pull pull, double startMs, std::string* error) {
  Stop();
  if (!connection_) {
    if (error) *error = "no sound server";
    return false;
  }
  pull_ = std::move(pull);
  startMs_ = startMs;
  {
    std::lock_guard<std::mutex> g(lock_);
    paused_ = endOfData_ = finished_ = failed_ = false;
    bytesWritten_ = 0;
    lastPositionMs_ = startMs;
  }
  PulseConnection::Lock lock(*connection_);
  pa_sample_spec sampleSpec;
  stream_ = CreateSampleStream(*connection_, "Sondrel playback", sampleRate_, channels_, &sampleSpec, error);
  if (!stream_) return false;
  pa_stream_set_state_callback(stream_, OnState, this);
  pa_stream_set_write_callback(stream_, OnWrite, this);
  pa_buffer_attr attr;
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(200 * 1000, &sampleSpec));
  attr.prebuf = attr.minreq = attr.fragsize = static_cast<uint32_t>(-1);
  int flags = PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY;
  if (pa_stream_connect_playback(stream_, nullptr, &attr, static_cast<pa_stream_flags_t>(flags), nullptr, nullptr) <
      0) {
    DiscardUnconnectedStream(*connection_, stream_, error);
    return false;
  }
  return WaitUntilStreamReady(*connection_, stream_, error);
}

void PulsePlayback::Pause() {
  if (!stream_) return;
  double pos = PositionMs();
  PulseConnection::Lock lock(*connection_);
  pa_operation* op = pa_stream_cork(stream_, 1, nullptr, nullptr);
  if (op) pa_operation_unref(op);
  std::lock_guard<std::mutex> g(lock_);
  paused_ = true;
  lastPositionMs_ = pos;
}

void PulsePlayback::Resume() {
  if (!stream_) return;
  PulseConnection::Lock lock(*connection_);
  pa_operation* op = pa_stream_cork(stream_, 0, nullptr, nullptr);
  if (op) pa_operation_unref(op);
  std::lock_guard<std::mutex> g(lock_);
  paused_ = false;
}

void PulsePlayback::Stop() {
  if (!stream_) return;
  {
    PulseConnection::Lock lock(*connection_);
    CloseStream(stream_);
  }
  pull_ = nullptr;
}

double PulsePlayback::PositionMs() const {
  if (!stream_) {
    std::lock_guard<std::mutex> g(lock_);
    return lastPositionMs_;
  }
  pa_usec_t usec = 0;
  int r;
  {
    PulseConnection::Lock lock(*connection_);
    r = pa_stream_get_time(stream_, &usec);
  }
  std::lock_guard<std::mutex> g(lock_);
  if (paused_) return lastPositionMs_;
  if (r >= 0) {
    double written = 1000.0 * static_cast<double>(bytesWritten_) / (2.0 * channels_ * sampleRate_);
    double played = std::min(static_cast<double>(usec) / 1000.0, written);
    lastPositionMs_ = startMs_ + played;
  }
  return lastPositionMs_;
}

bool PulsePlayback::IsPaused() const {
  std::lock_guard<std::mutex> g(lock_);
  return paused_;
}
bool PulsePlayback::HasFinished() const {
  std::lock_guard<std::mutex> g(lock_);
  return finished_;
}
bool PulsePlayback::HasFailed() const {
  std::lock_guard<std::mutex> g(lock_);
  return failed_;
}

}  // namespace engine::pulse
