#include "engine/objects/CodecTable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/MediaEngine.h"

namespace engine {

namespace {

const CodecInfo kCodecs[] = {
    {MEDIA_CODEC_PCM, u"PCM", "pcm_s16le", 0x0001, false},
    {MEDIA_CODEC_PCM_BE, u"PCM", "pcm_s16be", 0x0001, false},
    {MEDIA_CODEC_PCM24, u"PCM24", "pcm_s24le", 0x0001, false},
    {MEDIA_CODEC_MULAW, u"u-Law", "pcm_mulaw", 0x0007, false},
    {MEDIA_CODEC_ALAW, u"a-Law", "pcm_alaw", 0x0006, false},
    {MEDIA_CODEC_IMA_ADPCM_QT, u"IMA ADPCM", "adpcm_ima_qt", 0x0000, false},
    {MEDIA_CODEC_IMA_ADPCM, u"IMA ADPCM", "adpcm_ima_wav", 0x0011, false},
    {MEDIA_CODEC_MS_ADPCM, u"MS ADPCM", "adpcm_ms", 0x0002, false},
    {MEDIA_CODEC_G726, u"GSM 726", "adpcm_g726", 0x0045, true},
    {MEDIA_CODEC_IMA_ADPCM_OTHER, u"IMA ADPCM", "adpcm_ima_ws", 0x0000, false},
    {MEDIA_CODEC_AMR_NB, u"AMR NB", "amr_nb", 0x0000, true},
    {MEDIA_CODEC_AMR_WB, u"AMR WB ACELP", "amr_wb", 0x0000, true},
    {MEDIA_CODEC_MP2, u"Mpeg Layer 2", "mp2", 0x0050, true},
    {MEDIA_CODEC_MP3, u"Mpeg Layer 3", "mp3", 0x0055, true},
    {MEDIA_CODEC_AAC, u"AAC MPEG2/4", "aac", 0x00FF, true},
    {MEDIA_CODEC_AC3, u"AC3 Audio", "ac3", 0x2000, true},
    {MEDIA_CODEC_VORBIS, u"Ogg Vorbis", "vorbis", 0x0000, true},
    {MEDIA_CODEC_GSM, u"GSM 6.10", "gsm", 0x0000, true},
    {MEDIA_CODEC_REALAUDIO, u"RealAudio", "ra_144", 0x0000, true},
    {MEDIA_CODEC_GSM_MS, u"GSM 6.10", "gsm_ms", 0x0031, true},
    {MEDIA_CODEC_REALAUDIO_SIPR, u"RealAudio Sipr", "sipr", 0x0000, true},
    {MEDIA_CODEC_OPUS, u"Opus Interactive", "opus", 0x0000, true},
    {MEDIA_CODEC_FLAC, u"FLAC", "flac", 0xF1AC, false},
    {MEDIA_CODEC_WMA1, u"Windows Media Audio 1", "wmav1", 0x0160, true},
    {MEDIA_CODEC_WMA2, u"Windows Media Audio 2", "wmav2", 0x0161, true},
    {MEDIA_CODEC_REALAUDIO_LOSSLESS, u"RealAudio Lossless", "ralf", 0x0000, false},
};

// Decoders that report a name of their own for a codec above.
struct Alias {
  const char* ffmpegName;
  LONG id;
};
const Alias kAliases[] = {
    {"mp3float", MEDIA_CODEC_MP3},     {"aac_fixed", MEDIA_CODEC_AAC},
    {"aac_latm", MEDIA_CODEC_AAC},     {"libopencore_amrnb", MEDIA_CODEC_AMR_NB},
    {"libvorbis", MEDIA_CODEC_VORBIS}, {"libmp3lame", MEDIA_CODEC_MP3},
    {"pcm_s24be", MEDIA_CODEC_PCM24},  {"libopus", MEDIA_CODEC_OPUS},
};

const LONG kAmrNbRates[8] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
const LONG kAmrNbEditorValues[8] = {4000, 5000, 6000, 7000, 8000, 9000, 10000, 12000};

}  // namespace

const CodecInfo* FindCodec(LONG id) {
  for (const CodecInfo& c : kCodecs)
    if (c.id == id) return &c;
  return nullptr;
}

LONG CodecIdFromFfmpegName(const char* ffmpegName) {
  if (!ffmpegName) return 0;
  for (const CodecInfo& c : kCodecs)
    if (c.ffmpegName && std::strcmp(c.ffmpegName, ffmpegName) == 0) return c.id;
  for (const Alias& a : kAliases)
    if (std::strcmp(a.ffmpegName, ffmpegName) == 0) return a.id;
  if (std::strncmp(ffmpegName, "pcm_", 4) == 0) return MEDIA_CODEC_PCM;  // other PCM layouts
  return 0;
}

LONG CodecIdFromWaveTag(WORD tag, WORD bitsPerSample) {
  if (tag == 0x0001 || tag == 0xFFFE) return bitsPerSample == 24 ? MEDIA_CODEC_PCM24 : MEDIA_CODEC_PCM;
  if (tag == 0) return 0;
  for (const CodecInfo& c : kCodecs)
    if (c.waveTag == tag) return c.id;
  return 0;
}

int AmrNbModeForBitrate(LONG bitsPerSecond) {
  for (int i = 0; i < 8; ++i)
    if (kAmrNbEditorValues[i] == bitsPerSecond || kAmrNbRates[i] == bitsPerSecond) return i;
  int best = 7;
  LONG bestDistance = 0x7FFFFFFF;
  for (int i = 0; i < 8; ++i) {
    LONG d = std::labs(kAmrNbRates[i] - bitsPerSecond);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

LONG AmrNbModeBitrate(int mode) { return (mode >= 0 && mode < 8) ? kAmrNbRates[mode] : kAmrNbRates[7]; }

std::vector<std::vector<ListedFormat>> ListContainerCodecs(LONG containerType) {
  std::vector<std::vector<ListedFormat>> codecs;
  if (containerType != MEDIA_CONTAINER_ASF) return codecs;
  // The encoder's own limits: rates up to 48 kHz, roughly 24..192 kbit/s for
  // stereo. The 128 kbit/s 44.1 kHz stereo format comes first.
  static const LONG kRates[] = {44100, 48000, 32000, 22050};
  static const LONG kStereoRates[] = {128000, 160000, 192000, 96000, 64000, 48000};
  static const LONG kMonoRates[] = {64000, 48000, 32000};
  for (LONG codec : {static_cast<LONG>(MEDIA_CODEC_WMA2), static_cast<LONG>(MEDIA_CODEC_WMA1)}) {
    std::vector<ListedFormat> formats;
    for (LONG rate : kRates) {
      for (LONG bitrate : kStereoRates)
        if (rate >= 32000 || bitrate <= 96000) formats.push_back({codec, rate, 2, bitrate});
      for (LONG bitrate : kMonoRates) formats.push_back({codec, rate, 1, bitrate});
    }
    codecs.push_back(std::move(formats));
  }
  return codecs;
}

std::u16string DescribeFormat(LONG codec, LONG sampleRate, LONG channels, LONG bitrate, LONG bits) {
  char text[128];
  const char* layout = channels == 1 ? "Mono" : channels == 2 ? "Stereo" : nullptr;
  char layoutText[32];
  if (!layout) {
    std::snprintf(layoutText, sizeof layoutText, "%d channels", static_cast<int>(channels));
    layout = layoutText;
  }
  const CodecInfo* info = FindCodec(codec);
  if (info && info->compressed && bitrate > 0) {
    if (codec == MEDIA_CODEC_AMR_NB)
      std::snprintf(text, sizeof text, "%.2f kbps, %d Hz, %s", AmrNbModeBitrate(AmrNbModeForBitrate(bitrate)) / 1000.0,
                    static_cast<int>(sampleRate), layout);
    else
      std::snprintf(text, sizeof text, "%d kbps, %d Hz, %s", static_cast<int>(bitrate / 1000),
                    static_cast<int>(sampleRate), layout);
  } else if (!info || !info->compressed) {
    std::snprintf(text, sizeof text, "%d Hz, %d bit, %s", static_cast<int>(sampleRate), static_cast<int>(bits), layout);
  } else {
    std::snprintf(text, sizeof text, "%d Hz, %s", static_cast<int>(sampleRate), layout);
  }
  std::u16string out;
  for (const char* p = text; *p; ++p) out += static_cast<char16_t>(static_cast<unsigned char>(*p));
  return out;
}

}  // namespace engine
