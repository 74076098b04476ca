#include "engine/pulse/PulseStream.h"

#include "engine/pulse/PulseConnection.h"

#include <pulse/pulseaudio.h>

namespace engine::pulse {

namespace {

void SetContextError(const PulseConnection& connection, std::string* error) {
  if (error) *error = pa_strerror(pa_context_errno(connection.Context()));
}

}  // namespace

pa_stream* CreateSampleStream(const PulseConnection& connection, const char* name, int sampleRate, int channels,
                              pa_sample_spec* sampleSpec, std::string* error) {
  sampleSpec->format = PA_SAMPLE_S16LE;
  sampleSpec->rate = static_cast<uint32_t>(sampleRate);
  sampleSpec->channels = static_cast<uint8_t>(channels);
  pa_channel_map map;
  pa_channel_map_init_extend(&map, sampleSpec->channels, PA_CHANNEL_MAP_DEFAULT);
  pa_stream* stream = pa_stream_new(connection.Context(), name, sampleSpec, &map);
  if (!stream) SetContextError(connection, error);
  return stream;
}

void DiscardUnconnectedStream(const PulseConnection& connection, pa_stream*& stream, std::string* error) {
  SetContextError(connection, error);
  pa_stream_unref(stream);
  stream = nullptr;
}

bool WaitUntilStreamReady(const PulseConnection& connection, pa_stream*& stream, std::string* error) {
  for (;;) {
    pa_stream_state_t st = pa_stream_get_state(stream);
    if (st == PA_STREAM_READY) return true;
    if (!PA_STREAM_IS_GOOD(st)) {
      SetContextError(connection, error);
      CloseStream(stream);
      return false;
    }
    pa_threaded_mainloop_wait(connection.Loop());
  }
}

void CloseStream(pa_stream*& stream) {
  pa_stream_set_state_callback(stream, nullptr, nullptr);
  pa_stream_set_read_callback(stream, nullptr, nullptr);
  pa_stream_set_write_callback(stream, nullptr, nullptr);
  pa_stream_disconnect(stream);
  pa_stream_unref(stream);
  stream = nullptr;
}

}  // namespace engine::pulse
