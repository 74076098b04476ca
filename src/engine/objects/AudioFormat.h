// Audio format objects (generic, MP3 settings, AAC settings) and their full
// state, which the profile files, the probe and the writer read and write.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/MediaEngine.h"

namespace engine {

struct AudioFormatState {
  LONG kind = MEDIA_FORMAT_KIND_GENERIC;
  LONG codec = MEDIA_CODEC_PCM;
  LONG sampleRate = 44100;
  LONG channels = 2;
  LONG bitrate = 0;  // bit/s; 0 for PCM-like codecs
  LONG bitsPerSample = 16;
  LONG mp3RateMode = MEDIA_MP3_CBR;
  LONG aacStreamFormat = MEDIA_AAC_RAW;
  std::u16string codecName;     // empty: the codec table's name
  std::u16string description;   // empty: made from the values
  std::vector<BYTE> waveExtra;  // bytes after WAVEFORMATEX (cbSize of them)
};

// The defaults of a kind (MP3 and AAC: 44100 Hz stereo 128000 bit/s).
AudioFormatState DefaultAudioFormat(LONG kind);

// Engine-internal access to a format's whole state; every audio format object
// of this module answers it.
// {5E1F2A63-3C4D-4B8E-9A71-0D2C6B8E4F10}
inline constexpr GUID IID_IAudioFormatInternal = {
    0x5E1F2A63, 0x3C4D, 0x4B8E, {0x9A, 0x71, 0x0D, 0x2C, 0x6B, 0x8E, 0x4F, 0x10}};
struct IAudioFormatInternal : public IUnknown {
  virtual AudioFormatState GetState() = 0;
  virtual HRESULT SetState(const AudioFormatState& state) = 0;  // E_INVALIDARG for another kind
};

// Reads a format's state through the internal interface, or through the
// public one for a foreign object.
HRESULT ReadAudioFormat(IUnknown* format, AudioFormatState* state);

// A new object of the state's kind holding the state.
HRESULT CreateAudioFormatFromState(const AudioFormatState& state, IMediaAudioFormat5** format);

// The WAVEFORMATEX of a state (18 bytes plus the extra bytes).
std::vector<BYTE> MakeWaveFormat(const AudioFormatState& state);

}  // namespace engine
