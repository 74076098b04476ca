#include "engine/pulse/PulseConnection.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cmath>

namespace engine::pulse {

namespace {

void OnContextState(pa_context* c, void* userdata) {
  auto* loop = static_cast<pa_threaded_mainloop*>(userdata);
  switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY:
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
      pa_threaded_mainloop_signal(loop, 0);
      break;
    default:
      break;
  }
}

struct SourceQuery {
  pa_threaded_mainloop* loop;
  std::vector<SourceInfo>* out;
};

void OnSourceInfo(pa_context*, const pa_source_info* i, int eol, void* userdata) {
  auto* q = static_cast<SourceQuery*>(userdata);
  if (eol || !i) {
    pa_threaded_mainloop_signal(q->loop, 0);
    return;
  }
  SourceInfo s;
  s.index = i->index;
  s.name = i->name ? i->name : "";
  s.description = i->description ? i->description : s.name;
  s.channels = i->sample_spec.channels;
  s.sampleRate = static_cast<int>(i->sample_spec.rate);
  s.monitor = i->monitor_of_sink != PA_INVALID_INDEX;
  for (uint32_t p = 0; p < i->n_ports; ++p) {
    if (!i->ports[p]) continue;
    s.ports.push_back(
        {i->ports[p]->name ? i->ports[p]->name : "", i->ports[p]->description ? i->ports[p]->description : ""});
  }
  if (i->active_port && i->active_port->name) s.activePort = i->active_port->name;
  pa_volume_t avg = pa_cvolume_avg(&i->volume);
  s.volumePercent = static_cast<int>(std::lround(100.0 * avg / PA_VOLUME_NORM));
  q->out->push_back(std::move(s));
}

void OnSuccess(pa_context*, int, void* userdata) {
  pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(userdata), 0);
}

struct Deadline {
  pa_threaded_mainloop* loop;
  bool passed;
};

void OnDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* userdata) {
  auto* deadline = static_cast<Deadline*>(userdata);
  deadline->passed = true;
  pa_threaded_mainloop_signal(deadline->loop, 0);
}

std::mutex g_instanceLock;
std::shared_ptr<PulseConnection> g_instance;

}  // namespace

PulseConnection::Lock::Lock(const PulseConnection& c) : loop_(c.loop_) { pa_threaded_mainloop_lock(loop_); }
PulseConnection::Lock::~Lock() { pa_threaded_mainloop_unlock(loop_); }

std::shared_ptr<PulseConnection> PulseConnection::Get(std::string* error) {
  std::lock_guard<std::mutex> guard(g_instanceLock);
  if (g_instance && g_instance->IsReady()) return g_instance;
  std::shared_ptr<PulseConnection> fresh(new PulseConnection());
  if (!fresh->Connect(error)) return nullptr;
  g_instance = fresh;
  return fresh;
}

bool PulseConnection::Connect(std::string* error) {
  loop_ = pa_threaded_mainloop_new();
  if (!loop_) {
    if (error) *error = "cannot create the sound main loop";
    return false;
  }
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
  context_ = pa_context_new(api, "Sondrel");
  if (!context_) {
    if (error) *error = "cannot create the sound context";
    return false;
  }
  pa_context_set_state_callback(context_, OnContextState, loop_);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    if (error) *error = pa_strerror(pa_context_errno(context_));
    return false;
  }
  if (pa_threaded_mainloop_start(loop_) < 0) {
    if (error) *error = "cannot start the sound main loop";
    return false;
  }
  Lock lock(*this);
  for (;;) {
    pa_context_state_t st = pa_context_get_state(context_);
    if (st == PA_CONTEXT_READY) return true;
    if (!PA_CONTEXT_IS_GOOD(st)) {
      if (error) *error = pa_strerror(pa_context_errno(context_));
      return false;
    }
    pa_threaded_mainloop_wait(loop_);
  }
}

PulseConnection::~PulseConnection() {
  if (loop_) pa_threaded_mainloop_stop(loop_);
  if (context_) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  if (loop_) pa_threaded_mainloop_free(loop_);
}

bool PulseConnection::IsReady() const {
  if (!context_) return false;
  Lock lock(*this);
  return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

bool PulseConnection::Wait(pa_operation* op) { return Wait(op, -1); }

bool PulseConnection::Wait(pa_operation* op, int limitMs) {
  if (!op) return false;
  Deadline deadline{loop_, false};
  pa_time_event* timer =
      limitMs < 0
          ? nullptr
          : pa_context_rttime_new(context_, pa_rtclock_now() + static_cast<pa_usec_t>(limitMs) * PA_USEC_PER_MSEC,
                                  OnDeadline, &deadline);
  while (pa_operation_get_state(op) == PA_OPERATION_RUNNING && !deadline.passed &&
         pa_context_get_state(context_) == PA_CONTEXT_READY)
    pa_threaded_mainloop_wait(loop_);
  if (timer) pa_threaded_mainloop_get_api(loop_)->time_free(timer);
  if (pa_operation_get_state(op) == PA_OPERATION_RUNNING) pa_operation_cancel(op);
  const bool done = pa_operation_get_state(op) == PA_OPERATION_DONE;
  pa_operation_unref(op);
  return done;
}

std::vector<SourceInfo> PulseConnection::ListSources(bool includeMonitors) {
  std::vector<SourceInfo> all;
  {
    Lock lock(*this);
    SourceQuery q{loop_, &all};
    Wait(pa_context_get_source_info_list(context_, OnSourceInfo, &q));
  }
  if (!includeMonitors)
    all.erase(std::remove_if(all.begin(), all.end(), [](const SourceInfo& s) { return s.monitor; }), all.end());
  return all;
}

bool PulseConnection::GetSource(const std::string& name, SourceInfo* info) {
  std::vector<SourceInfo> found;
  {
    Lock lock(*this);
    SourceQuery q{loop_, &found};
    Wait(pa_context_get_source_info_by_name(context_, name.c_str(), OnSourceInfo, &q));
  }
  if (found.empty()) return false;
  if (info) *info = found.front();
  return true;
}

bool PulseConnection::SetSourcePort(const std::string& source, const std::string& port) {
  Lock lock(*this);
  return Wait(pa_context_set_source_port_by_name(context_, source.c_str(), port.c_str(), OnSuccess, loop_));
}

bool PulseConnection::SetSourceVolume(const std::string& source, int percent) {
  SourceInfo info;
  if (!GetSource(source, &info)) return false;
  percent = std::clamp(percent, 0, 100);
  pa_cvolume v;
  pa_cvolume_set(&v, static_cast<unsigned>(std::max(1, info.channels)),
                 static_cast<pa_volume_t>(std::lround(PA_VOLUME_NORM * (percent / 100.0))));
  Lock lock(*this);
  return Wait(pa_context_set_source_volume_by_name(context_, source.c_str(), &v, OnSuccess, loop_));
}

int PulseConnection::GetSourceVolume(const std::string& source) {
  SourceInfo info;
  if (!GetSource(source, &info)) return -1;
  return info.volumePercent;
}

}  // namespace engine::pulse
