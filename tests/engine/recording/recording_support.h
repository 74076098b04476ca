// Shared pieces of the recording tests: engine objects made by CLSID, a
// profile for a format, a driver loop that uses the engine the way the
// program's conversion driver does (one item, one pass, audio only), and a
// probe of the written files with ffprobe.
#pragma once

#include "sondrel_gtest.h"

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/MediaEngine.h"
#include "engine/core/ComBase.h"

#include "tests/engine/engine_test_support.h"

namespace recording_test {

using engine::ComPtr;
using engine_test::Bstr;
using engine_test::Create;

struct FormatCase {
  const char* name;
  LONG container;
  const char* extension;  // with its dot
  LONG codec;             // 0: the container's own
  LONG sampleRate;
  LONG channels;
  LONG bitrate;
  const char* probeFormat;  // ffprobe's format_name (first entry)
  const char* probeCodec;
};

// The formats most recording tests write: one plain, one encoded.
const FormatCase kWav{"WAV", MEDIA_CONTAINER_WAV, ".wav", MEDIA_CODEC_PCM, 44100, 2, 0, "wav", "pcm_s16le"};
const FormatCase kMp3{"MP3", MEDIA_CONTAINER_MP3, ".mp3", MEDIA_CODEC_MP3, 44100, 2, 128000, "mp3", "mp3"};

// A profile bag: "ContainerType" and one "AudioStreamInfo" element whose
// "AVFormat" carries the codec settings.
ComPtr<IMediaPropertyBag5> MakeProfile(const FormatCase& f);

struct Probe {
  bool ok = false;
  std::string formatName;
  std::string codec;
  int sampleRate = 0;
  int channels = 0;
  double durationMs = -1;  // the container's own figure
  long packets = 0;
  long bitRate = 0;  // the stream's, when the container tells it
  std::string raw;
};
Probe ProbeFile(const std::string& unixPath);
// Duration as a player would reckon it: AMR, RealMedia and ADTS carry no
// duration, so these count their frames.
double PlayableMs(const Probe& p);

// A fresh folder under /tmp; its Windows name on drive Z:.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  std::string unix;
  std::u16string windows;  // ends with a backslash
};
std::u16string WindowsPath(const std::string& unixPath);
long FileSize(const std::string& unixPath);

// Selects the first capture device whose name contains `namePart` (the last
// one when `last`); false when none.
bool SelectDevice(IMediaCaptureSource5* capture, const char16_t* namePart, bool last = false);

struct DriverOptions {
  FormatCase format;
  LONG splitFlags = 0;
  LONG splitKilobytes = 0;
  double markerEverySeconds = 0;
  long sizeMargin = 32768;
  double chunkMs = 500;
  // Called after every block with the milliseconds written to the current
  // file; may ask for a split (1) or the end (stop = true).
  std::function<void(double writtenMs, LONG* split, bool* stop)> progress;
  IMediaCaptureSource5* capture = nullptr;  // else a new one on the sine source
  IMediaPropertyBag5* profile = nullptr;    // else MakeProfile(format)
};

struct DriverFile {
  std::string unixPath;
  double writtenMs = 0;
};

struct DriverResult {
  std::vector<DriverFile> files;
  std::vector<int> errors;  // the driver's error codes, in order
  HRESULT failure = S_OK;   // the HRESULT behind the first error
};

DriverResult RunRecording(const TempFolder& folder, const DriverOptions& options);

// Runs `command` through the shell; its exit status.
int RunShell(const std::string& command);

}  // namespace recording_test
