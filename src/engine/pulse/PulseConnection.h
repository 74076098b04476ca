// One connection to the sound server, shared by every capture and playback
// stream of the process. Runs libpulse's threaded main loop; its callbacks run
// on a native thread and must never call into Win32.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_operation;

namespace engine::pulse {

struct PortInfo {
  std::string name;
  std::string description;
};

struct SourceInfo {
  uint32_t index = 0;
  std::string name;
  std::string description;
  int channels = 0;
  int sampleRate = 0;
  bool monitor = false;
  std::vector<PortInfo> ports;
  std::string activePort;
  int volumePercent = 0;
};

class PulseConnection {
 public:
  // The process-wide connection; null (with a reason) when no server answers.
  static std::shared_ptr<PulseConnection> Get(std::string* error = nullptr);

  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  bool IsReady() const;
  std::vector<SourceInfo> ListSources(bool includeMonitors);
  bool GetSource(const std::string& name, SourceInfo* info);
  bool SetSourcePort(const std::string& source, const std::string& port);
  // Volume 0..100 maps linearly onto the source's normal volume.
  bool SetSourceVolume(const std::string& source, int percent);
  int GetSourceVolume(const std::string& source);

  pa_threaded_mainloop* Loop() const { return loop_; }
  pa_context* Context() const { return context_; }

  // Locks the main loop for the calling scope.
  class Lock {
   public:
    explicit Lock(const PulseConnection& c);
    ~Lock();

   private:
    pa_threaded_mainloop* loop_;
  };

  // Waits (with the loop locked) until the operation is done or the context
  // fails; releases the operation. Returns false on failure.
  bool Wait(pa_operation* op);
  // The same, for no longer than `limitMs`: a server that hangs but stays
  // connected would otherwise hold the caller until the library gives up
  // (half a minute). An operation not done by then is cancelled.
  bool Wait(pa_operation* op, int limitMs);

 private:
  PulseConnection() = default;
  bool Connect(std::string* error);

  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
};

}  // namespace engine::pulse
