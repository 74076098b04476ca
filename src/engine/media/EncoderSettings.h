// What an output file is made of: the container type and codec numbers the
// engine's callers use, and the codec settings of the profile's audio format.
#pragma once

#include <cstdint>
#include <string>

namespace engine::media {

// Container type numbers of the engine's interface.
enum ContainerType : int {
  kContainerWav = 1,
  kContainerMp3 = 2,
  kContainerAiff = 3,
  kContainerAmr = 7,
  kContainerAdts = 8,
  kContainerAu = 11,
  kContainerOgg = 101,
  kContainerRealMedia = 122,
  kContainerM4a = 125,
  kContainerAsf = 130,
};

// Codec identifiers of the engine's audio formats.
enum CodecId : int {
  kCodecNone = 0,
  kCodecPcm = 0x10000,
  kCodecPcmBigEndian = 0x10001,
  kCodecMuLaw = 0x10006,
  kCodecALaw = 0x10007,
  kCodecPcm24 = 0x1000C,
  kCodecImaAdpcm0 = 0x11000,
  kCodecImaAdpcm = 0x11001,
  kCodecMsAdpcm = 0x11006,
  kCodecG726 = 0x1100B,
  kCodecImaAdpcm2 = 0x11013,
  kCodecAmrNb = 0x12000,
  kCodecAmrWb = 0x12001,
  kCodecMp2 = 0x15000,
  kCodecMp3 = 0x15001,
  kCodecAac = 0x15002,
  kCodecAc3 = 0x15004,
  kCodecVorbis = 0x15006,
  kCodecGsm = 0x15015,
  kCodecRealAudio = 0x15017,
  kCodecGsmMs = 0x15021,
  kCodecRealAudioSipr = 0x1502D,
  kCodecOpus = 0x15040,
  kCodecWma1 = 0x16001,
  kCodecWma = 0x16002,
  kCodecRealAudioLossless = 0x30002,
};

struct EncoderSettings {
  int containerType = kContainerWav;
  int codec = kCodecNone;  // kCodecNone: the container's usual codec
  int sampleRate = 44100;
  int channels = 2;
  int bitRate = 0;  // bit/s; 0: the codec's default
  bool vbr = false;
  int vbrQuality = 4;  // 0 best .. 9 smallest, as the MP3 encoder counts
};

// The sample rates a format may name; a file is written at its format's rate.
constexpr int kMinSampleRate = 8000;
constexpr int kMaxSampleRate = 384000;

// Interleaved signed 16-bit samples, as capture delivers them.
struct PcmFormat {
  int sampleRate = 44100;
  int channels = 2;
  int BlockAlign() const { return 2 * channels; }
  double BytesToMs(uint64_t bytes) const {
    return 1000.0 * static_cast<double>(bytes) / (static_cast<double>(BlockAlign()) * sampleRate);
  }
};

// The container's muxer name for a codec (kCodecNone: the container's own), or
// null for a type the engine does not write. M4A files take the MP4 family's
// muxer that accepts the codec: the iPod brand holds only AAC, 3GP the AMR
// codecs.
const char* MuxerForContainer(int containerType, int codec = kCodecNone);
// The codec a container uses when the profile names none or one it cannot hold.
int DefaultCodecForContainer(int containerType);
// Whether the container can carry the codec.
bool ContainerAccepts(int containerType, int codec);
// Whether the engine knows the identifier at all (a profile file may name any).
bool IsKnownCodec(int codec);
// The codec's name for error texts ("RealAudio Sipr"), or null.
const char* CodecDisplayName(int codec);

}  // namespace engine::media
