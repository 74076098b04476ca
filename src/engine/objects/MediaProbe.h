// Reading an existing media file's description with libavformat: container,
// streams with their durations and formats, and tags.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/objects/AudioFormat.h"

namespace engine {

struct VideoFormatState {
  LONG codec = 0;
  std::u16string codecName;
  LONGLONG bitrate = 0;
  LONG width = 0;
  LONG height = 0;
  double frameRate = 0;
  LONG aspectNumerator = 0;
  LONG aspectDenominator = 0;
  LONG pixelFormat = MEDIA_PIXEL_FORMAT_YUV420P;
  LONG rateControl = MEDIA_RATE_CONSTANT;
  LONG targetKilobytes = 0;
};

struct ProbedStream {
  LONG type = MEDIA_STREAM_AUDIO;
  double durationMs = 0;
  AudioFormatState audio;
  VideoFormatState video;
  std::u16string language;
};

struct ProbeResult {
  LONG container = MEDIA_CONTAINER_UNKNOWN;
  double durationMs = 0;
  bool seekable = false;
  std::vector<ProbedStream> streams;                            // audio and video only, in file order
  std::vector<std::pair<std::u16string, std::u16string>> tags;  // engine tag names
};

// Probes a file named by its Windows path. A missing file gives the Win32
// error as HRESULT; an unreadable or unknown one MEDIA_E_PROBE_FAILED.
HRESULT ProbeMediaFile(const std::u16string& windowsPath, ProbeResult* result, std::u16string* error);

// The container type of a libavformat demuxer name (and MP4 brand).
LONG ContainerTypeFromDemuxer(const char* demuxerName, const char* majorBrand);

// A video format object holding the state.
HRESULT CreateVideoFormatFromState(const VideoFormatState& state, IMediaVideoFormat5** format);

}  // namespace engine
