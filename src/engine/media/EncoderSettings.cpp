#include "engine/media/EncoderSettings.h"

namespace engine::media {

const char* MuxerForContainer(int containerType) {
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
      return "ipod";
    case kContainerAsf:
      return "asf";
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
    default:
      return kCodecNone;
  }
}

bool ContainerAccepts(int containerType, int codec) {
  switch (containerType) {
    case kContainerWav:
      return codec == kCodecPcm || codec == kCodecPcmBigEndian || codec == kCodecALaw || codec == kCodecMuLaw ||
             codec == kCodecPcm24 || codec == kCodecMsAdpcm || codec == kCodecImaAdpcm || codec == kCodecImaAdpcm0 ||
             codec == kCodecImaAdpcm2 || codec == kCodecGsmMs || codec == kCodecMp3;
    case kContainerAiff:
    case kContainerAu:
      return codec == kCodecPcm || codec == kCodecPcmBigEndian || codec == kCodecALaw || codec == kCodecMuLaw;
    case kContainerMp3:
      return codec == kCodecMp3;
    case kContainerAmr:
      return codec == kCodecAmrNb;
    case kContainerAdts:
      return codec == kCodecAac;
    case kContainerOgg:
      return codec == kCodecVorbis || codec == kCodecOpus;
    case kContainerM4a:
      return codec == kCodecAac || codec == kCodecMp3 || codec == kCodecALaw || codec == kCodecMuLaw;
    case kContainerAsf:
      return codec == kCodecWma || codec == kCodecMp3;
    default:
      return false;
  }
}

}  // namespace engine::media
