// The engine's codec identifiers with their names, wave-format tags and the
// FFmpeg codec each stands for. Shared by the audio formats, the probe and the
// writer (E2 may use FfmpegName to pick an encoder).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace engine {

struct CodecInfo {
  LONG id;                 // MEDIA_CODEC_*
  const char16_t* name;    // shown to the user ("Mpeg Layer 3")
  const char* ffmpegName;  // FFmpeg's codec name ("mp3"), or null
  WORD waveTag;            // WAVEFORMATEX wFormatTag, 0 when none
  bool compressed;         // has a bitrate of its own (not PCM-like)
};

// The entry of an identifier, or null.
const CodecInfo* FindCodec(LONG id);
// The engine identifier of an FFmpeg codec name; 0 when the table lacks it.
LONG CodecIdFromFfmpegName(const char* ffmpegName);
// The engine identifier of a wave-format tag (PCM by bit depth); 0 when unknown.
LONG CodecIdFromWaveTag(WORD tag, WORD bitsPerSample);

// AMR-NB: the encoder mode (0 = 4.75 kbit/s ... 7 = 12.2 kbit/s) for a bitrate
// in bit/s. The profile editor offers 4000, 5000, 6000, 7000, 8000, 9000,
// 10000 and 12000 for the eight modes in order; other values take the mode
// whose rate is nearest.
int AmrNbModeForBitrate(LONG bitsPerSecond);
// The true rate of a mode in bit/s (4750 ... 12200).
LONG AmrNbModeBitrate(int mode);

// One format a container lists for a codec (Windows Media).
struct ListedFormat {
  LONG codec;
  LONG sampleRate;
  LONG channels;
  LONG bitrate;
};
// Codecs of a container type in listing order, each with its formats. Only the
// Windows Media container lists codecs; others give none.
std::vector<std::vector<ListedFormat>> ListContainerCodecs(LONG containerType);

// "128 kbps, 44100 Hz, Stereo" and alike.
std::u16string DescribeFormat(LONG codec, LONG sampleRate, LONG channels, LONG bitrate, LONG bits);

}  // namespace engine
