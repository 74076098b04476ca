#include "engine/pulse/PulseCapture.h"

#include "engine/pulse/PulseConnection.h"
#include "engine/pulse/PulseStream.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <limits>

namespace engine::pulse {

PulseCapture::PulseCapture(std::shared_ptr<PulseConnection> connection, std::string source, int sampleRate,
                           int channels)
    : connection_(std::move(connection)),
      source_(std::move(source)),
      sampleRate_(sampleRate > 0 ? sampleRate : 44100),
      channels_(channels > 0 ? std::min(channels, 8) : 2) {}

PulseCapture::~PulseCapture() { Stop(); }

void PulseCapture::Fail(const std::string& why) {
  {
    std::lock_guard<std::mutex> g(lock_);
    if (!failed_) error_ = why;
    failed_ = true;
  }
  arrived_.notify_all();
}

void PulseCapture::OnState(pa_stream* s, void* userdata) {
  auto* self = static_cast<PulseCapture*>(userdata);
  switch (pa_stream_get_state(s)) {
    case PA_STREAM_FAILED:
      self->Fail(pa_strerror(pa_context_errno(pa_stream_get_context(s))));
      break;
    case PA_STREAM_TERMINATED:
      self->Fail("the capture device was removed");
      break;
    case PA_STREAM_READY:
      pa_threaded_mainloop_signal(self->connection_->Loop(), 0);
      break;
    default:
      break;
  }
  if (!PA_STREAM_IS_GOOD(pa_stream_get_state(s))) pa_threaded_mainloop_signal(self->connection_->Loop(), 0);
}

namespace {

// How long the caller (a window's thread) waits for the server to tell the
// stream's position.
constexpr int kTimingReplyMs = 1000;

struct TimingQuery {
  pa_threaded_mainloop* loop;
  bool answered;
};

}  // namespace

void PulseCapture::OnTimingUpdate(pa_stream*, int success, void* query) {
  auto* q = static_cast<TimingQuery*>(query);
  q->answered = success != 0;
  pa_threaded_mainloop_signal(q->loop, 0);
}

void PulseCapture::OnRead(pa_stream* s, size_t, void* userdata) {
  auto* self = static_cast<PulseCapture*>(userdata);
  const void* data = nullptr;
  size_t n = 0;
  while (pa_stream_readable_size(s) > 0) {
    if (pa_stream_peek(s, &data, &n) < 0) {
      self->Fail("cannot read from the capture device");
      return;
    }
    if (n == 0) break;
    {
      std::lock_guard<std::mutex> g(self->lock_);
      // Stopped streams keep nothing; paused stretches are left out.
      if (self->running_) {
        const uint64_t begin = self->received_;
        const uint64_t end = begin + n;
        uint64_t at = begin;
        const auto* b = static_cast<const uint8_t*>(data);
        for (const auto& range : self->pausedRanges_) {
          if (range.second <= at) continue;
          if (range.first >= end) break;
          if (range.first > at) self->Queue(b ? b + (at - begin) : nullptr, static_cast<size_t>(range.first - at));
          at = std::min(end, range.second);
          if (at == end) break;
        }
        if (at < end) self->Queue(b ? b + (at - begin) : nullptr, static_cast<size_t>(end - at));
        self->received_ = end;
        while (!self->pausedRanges_.empty() && self->pausedRanges_.front().second <= end)
          self->pausedRanges_.pop_front();
      }
    }
    pa_stream_drop(s);
  }
  self->arrived_.notify_all();
}

// With the lock held. A hole in the stream becomes silence.
void PulseCapture::Queue(const uint8_t* data, size_t n) {
  if (data)
    queue_.insert(queue_.end(), data, data + n);
  else
    queue_.insert(queue_.end(), n, 0);
  // Nobody has read for minutes: keep the newest sound, not all memory.
  const size_t cap = static_cast<size_t>(sampleRate_) * BlockAlign() * kMaxQueuedSeconds;
  if (queue_.size() > cap) {
    size_t drop = queue_.size() - cap;
    drop -= drop % static_cast<size_t>(BlockAlign());
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<long>(drop));
  }
}

bool PulseCapture::Start(std::string* error) {
  if (stream_) {
    Resume();
    return true;
  }
  if (!connection_) {
    if (error) *error = "no sound server";
    return false;
  }
  {
    std::lock_guard<std::mutex> g(lock_);
    queue_.clear();
    received_ = 0;
    pausedRanges_.clear();
    failed_ = false;
    error_.clear();
    running_ = true;
    paused_ = false;
  }
  PulseConnection::Lock lock(*connection_);
  pa_sample_spec sampleSpec;
  stream_ = CreateSampleStream(*connection_, "Sondrel recording", sampleRate_, channels_, &sampleSpec, error);
  if (!stream_) return false;
  pa_stream_set_state_callback(stream_, OnState, this);
  pa_stream_set_read_callback(stream_, OnRead, this);
  pa_buffer_attr attr;
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(50 * 1000, &sampleSpec));
  int flags = PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE;
  if (pa_stream_connect_record(stream_, source_.empty() ? nullptr : source_.c_str(), &attr,
                               static_cast<pa_stream_flags_t>(flags)) < 0) {
    DiscardUnconnectedStream(*connection_, stream_, error);
    return false;
  }
  if (WaitUntilStreamReady(*connection_, stream_, error)) return true;
  std::lock_guard<std::mutex> g(lock_);
  running_ = false;
  return false;
}

// Where the stream stands in the sound being captured now: the server's
// position plus what the device holds that it has not handed over yet.
// Without the server's answer, where the delivered sound ends; a stream that
// is gone has no moment to tell. Called with the main loop locked.
CaptureMark PulseCapture::CapturedBytes(uint64_t* at) {
  TimingQuery query{connection_->Loop(), false};
  if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)) &&
      connection_->Wait(pa_stream_update_timing_info(stream_, OnTimingUpdate, &query), kTimingReplyMs) &&
      query.answered) {
    pa_usec_t usec = 0;
    if (pa_stream_get_time(stream_, &usec) == 0) {
      *at = pa_usec_to_bytes(usec, pa_stream_get_sample_spec(stream_));
      return CaptureMark::AtMoment;
    }
  }
  // Only a live stream whose server stayed silent goes on from the delivered
  // sound: a dead one would pass for a slow server.
  const bool good = PA_STREAM_IS_GOOD(pa_stream_get_state(stream_));
  std::lock_guard<std::mutex> g(lock_);
  *at = received_;
  return good && !failed_ ? CaptureMark::AtDelivered : CaptureMark::Failed;
}

CaptureMark PulseCapture::Pause() {
  if (!stream_) return CaptureMark::AtMoment;
  PulseConnection::Lock lock(*connection_);
  if (IsPaused()) return CaptureMark::AtMoment;
  uint64_t at = 0;
  const CaptureMark told = CapturedBytes(&at);
  std::lock_guard<std::mutex> g(lock_);
  if (!pausedRanges_.empty()) at = std::max(at, pausedRanges_.back().second);
  // Sound from after the moment that arrived meanwhile goes again.
  if (at < received_) {
    size_t extra = static_cast<size_t>(std::min<uint64_t>(received_ - at, queue_.size()));
    extra -= extra % static_cast<size_t>(BlockAlign());
    queue_.erase(queue_.end() - static_cast<long>(extra), queue_.end());
  }
  pausedRanges_.emplace_back(at, std::numeric_limits<uint64_t>::max());
  paused_ = true;
  return told;
}

CaptureMark PulseCapture::Resume() {
  if (!stream_) return CaptureMark::AtMoment;
  PulseConnection::Lock lock(*connection_);
  if (!IsPaused()) return CaptureMark::AtMoment;
  uint64_t at = 0;
  const CaptureMark told = CapturedBytes(&at);
  std::lock_guard<std::mutex> g(lock_);
  if (!pausedRanges_.empty()) pausedRanges_.back().second = std::max(at, pausedRanges_.back().first);
  paused_ = false;
  return told;
}

void PulseCapture::Stop() {
  if (stream_) {
    PulseConnection::Lock lock(*connection_);
    CloseStream(stream_);
  }
  {
    std::lock_guard<std::mutex> g(lock_);
    running_ = false;
    paused_ = false;
    queue_.clear();
    pausedRanges_.clear();
  }
  arrived_.notify_all();
}

CaptureStatus PulseCapture::Read(uint8_t* dst, size_t bytes, size_t* got, int stallMs,
                                 const std::function<WaitAnswer()>& onWait, int waitMs) {
  using Clock = std::chrono::steady_clock;
  size_t dummy = 0;
  size_t& copied = got ? *got : dummy;
  copied = 0;
  const auto waitStep = std::chrono::milliseconds(onWait ? std::clamp(waitMs, 1, 100) : 100);
  std::unique_lock<std::mutex> g(lock_);
  auto lastData = Clock::now();
  auto lastCall = lastData;
  // Asked to end while the sound from before a pause is still on its way (a
  // stop held at its click): that sound belongs to the recording.
  bool ending = false;
  while (copied < bytes) {
    if (onWait && Clock::now() - lastCall >= waitStep) {
      // The callback may pump a window thread's messages: it runs unlocked,
      // so that what it does with this capture (a stop, a volume) goes on.
      g.unlock();
      const WaitAnswer answer = onWait();
      g.lock();
      lastCall = Clock::now();
      if (answer == WaitAnswer::EndNow || (answer == WaitAnswer::End && !paused_)) return CaptureStatus::Interrupted;
      if (answer == WaitAnswer::End && !ending) {
        ending = true;
        lastData = lastCall;
      }
      continue;
    }
    if (!queue_.empty()) {
      size_t n = std::min(bytes - copied, queue_.size());
      std::copy(queue_.begin(), queue_.begin() + static_cast<long>(n), dst + copied);
      queue_.erase(queue_.begin(), queue_.begin() + static_cast<long>(n));
      copied += n;
      lastData = Clock::now();
      continue;
    }
    if (failed_) return CaptureStatus::Failed;
    if (!running_) return CaptureStatus::Stopped;
    if ((copied > 0 || ending) && PausedSoundHandedOver())
      return copied > 0 ? CaptureStatus::Ok : CaptureStatus::Interrupted;
    const auto waitFor =
        onWait ? std::max(std::chrono::duration_cast<std::chrono::milliseconds>(waitStep - (Clock::now() - lastCall)),
                          std::chrono::milliseconds(1))
               : waitStep;
    arrived_.wait_for(g, waitFor);
    if (paused_ && !ending) {
      lastData = Clock::now();
    } else if (queue_.empty() && Clock::now() - lastData > std::chrono::milliseconds(stallMs)) {
      if (ending) return CaptureStatus::Interrupted;
      if (!failed_) error_ = "the capture device stopped delivering sound";
      failed_ = true;
      return CaptureStatus::TimedOut;
    }
  }
  return CaptureStatus::Ok;
}

// With the lock held: paused, and the sound from before the pause is all in.
bool PulseCapture::PausedSoundHandedOver() const {
  return paused_ && !pausedRanges_.empty() && received_ >= pausedRanges_.back().first;
}

bool PulseCapture::IsRunning() const {
  std::lock_guard<std::mutex> g(lock_);
  return running_;
}
bool PulseCapture::IsPaused() const {
  std::lock_guard<std::mutex> g(lock_);
  return paused_;
}
bool PulseCapture::HasFailed() const {
  std::lock_guard<std::mutex> g(lock_);
  return failed_;
}
size_t PulseCapture::Available() const {
  std::lock_guard<std::mutex> g(lock_);
  return queue_.size();
}
void PulseCapture::DropQueued() {
  std::lock_guard<std::mutex> g(lock_);
  queue_.clear();
}

}  // namespace engine::pulse
