// Stream set-up and tear-down shared by capture and playback. Every call
// expects the connection's loop to be locked by the caller.
#pragma once

#include <string>

struct pa_stream;
struct pa_sample_spec;

namespace engine::pulse {

class PulseConnection;

// A new, unconnected stream of interleaved signed 16-bit samples with the
// default channel map; fills `sampleSpec`. Null (with a reason) on failure.
pa_stream* CreateSampleStream(const PulseConnection& connection, const char* name, int sampleRate, int channels,
                              pa_sample_spec* sampleSpec, std::string* error);

// Releases a stream whose connect call failed and clears the pointer.
void DiscardUnconnectedStream(const PulseConnection& connection, pa_stream*& stream, std::string* error);

// Waits until a connecting stream is ready. On failure gives the reason,
// closes the stream and clears the pointer.
bool WaitUntilStreamReady(const PulseConnection& connection, pa_stream*& stream, std::string* error);

// Detaches every callback, disconnects and releases the stream; clears the pointer.
void CloseStream(pa_stream*& stream);

}  // namespace engine::pulse
