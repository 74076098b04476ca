#include "engine/media/EncoderSettings.h"

namespace engine::media {

namespace {

struct KnownCodec {
  int id;
  const char* name;
};
const KnownCodec kKnownCodecs[] = {
    {kCodecPcm, "PCM"},
    {kCodecPcmBigEndian, "PCM"},
    {kCodecMuLaw, "u-Law"},
    {kCodecALaw, "a-Law"},
    {kCodecPcm24, "PCM24"},
    {kCodecImaAdpcm0, "IMA ADPCM (QuickTime)"},
    {kCodecImaAdpcm, "IMA ADPCM"},
    {kCodecMsAdpcm, "MS ADPCM"},
    {kCodecG726, "G.726"},
    {kCodecImaAdpcm2, "IMA ADPCM (Westwood)"},
    {kCodecAmrNb, "AMR NB"},
    {kCodecAmrWb, "AMR WB"},
    {kCodecMp2, "MPEG Layer 2"},
    {kCodecMp3, "MPEG Layer 3"},
    {kCodecAac, "AAC"},
    {kCodecAc3, "AC3"},
    {kCodecVorbis, "Ogg Vorbis"},
    {kCodecGsm, "GSM 6.10"},
    {kCodecRealAudio, "RealAudio"},
    {kCodecGsmMs, "GSM 6.10"},
    {kCodecRealAudioSipr, "RealAudio Sipr"},
    {kCodecOpus, "Opus"},
    {kCodecWma1, "Windows Media Audio 1"},
    {kCodecWma, "Windows Media Audio 2"},
    {kCodecRealAudioLossless, "RealAudio Lossless"},
};

}  // namespace

const char* MuxerForContainer(int containerType, int codec) {
  switch (containerType) {
    case kContainerWav:
      return "wav";
    case kContainerMp3:
      return "mp3";
    case kContainerAiff:
      return "aiff";
    case kContainerAmr:
      return "amr";
    case kContainerAdts:
      return "adts";
    case kContainerAu:
      return "au";
    case kContainerOgg:
      return "ogg";
    case kContainerM4a:
      // mp4 refuses AMR, which 3GP holds; mov would make a QuickTime file.
      if (codec == kCodecMp3) return "mp4";
      if (codec == kCodecAmrNb || codec == kCodecAmrWb) return "3gp";
      return "ipod";
    case kContainerAsf:
      return "asf";
    case kContainerRealMedia:
      return "rm";
    default:
      return nullptr;
  }
}

int DefaultCodecForContainer(int containerType) {
  switch (containerType) {
    case kContainerWav:
      return kCodecPcm;
    case kContainerMp3:
      return kCodecMp3;
    case kContainerAiff:
      return kCodecPcmBigEndian;
    case kContainerAmr:
      return kCodecAmrNb;
    case kContainerAdts:
      return kCodecAac;
    case kContainerAu:
      return kCodecPcmBigEndian;
    case kContainerOgg:
      return kCodecVorbis;
    case kContainerM4a:
      return kCodecAac;
    case kContainerAsf:
      return kCodecWma;
    case kContainerRealMedia:
      return kCodecRealAudio;
    default:
      return kCodecNone;
  }
}

bool ContainerAccepts(int containerType, int codec) {
  switch (containerType) {
    case kContainerWav:
      // The QuickTime and Westwood IMA ADPCM have no WAVE tag: written as the
      // WAVE kind, the file would no longer say which the profile named.
      return codec == kCodecPcm || codec == kCodecPcmBigEndian || codec == kCodecALaw || codec == kCodecMuLaw ||
             codec == kCodecPcm24 || codec == kCodecMsAdpcm || codec == kCodecImaAdpcm || codec == kCodecGsmMs ||
             codec == kCodecMp3 || codec == kCodecMp2 || codec == kCodecAc3 || codec == kCodecG726;
    case kContainerAiff:
    case kContainerAu:
      return codec == kCodecPcm || codec == kCodecPcmBigEndian || codec == kCodecALaw || codec == kCodecMuLaw;
    case kContainerMp3:
      return codec == kCodecMp3;
    case kContainerAmr:
      return codec == kCodecAmrNb || codec == kCodecAmrWb;
    case kContainerAdts:
      return codec == kCodecAac;
    case kContainerOgg:
      return codec == kCodecVorbis || codec == kCodecOpus;
    case kContainerM4a:
      // G.711 and GSM fit only the QuickTime brand, which is no M4A file.
      return codec == kCodecAac || codec == kCodecMp3 || codec == kCodecAmrNb || codec == kCodecAmrWb;
    case kContainerAsf:
      return codec == kCodecWma || codec == kCodecWma1 || codec == kCodecMp3;
    case kContainerRealMedia:
      // Sipr and Lossless belong here too, though no encoder makes them.
      return codec == kCodecRealAudio || codec == kCodecRealAudioSipr || codec == kCodecRealAudioLossless;
    default:
      return false;
  }
}

bool IsKnownCodec(int codec) { return CodecDisplayName(codec) != nullptr; }

const char* CodecDisplayName(int codec) {
  for (const KnownCodec& c : kKnownCodecs)
    if (c.id == codec) return c.name;
  return nullptr;
}

}  // namespace engine::media
