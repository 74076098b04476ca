#include "engine/objects/MediaProbe.h"

#include <cmath>
#include <cstring>
#include <mutex>

#include "engine/media/FFmpegLibrary.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/rational.h>
}

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"
#include "engine/objects/CodecTable.h"

namespace engine {

namespace {

// Files up to this size are scanned packet by packet when the demuxer can
// only guess the duration from the bitrate (ADTS, AMR, VBR MP3 without header).
constexpr int64_t kScanLimitBytes = 512LL * 1024 * 1024;

struct FormatContext {
  AVFormatContext* ctx = nullptr;
  ~FormatContext() {
    if (ctx) media::Av().avformat_close_input(&ctx);
  }
};

double ToMs(int64_t value, AVRational base) {
  if (value == AV_NOPTS_VALUE || value < 0) return 0;
  return static_cast<double>(value) * av_q2d(base) * 1000.0;
}

std::u16string Utf8(const char* s) { return s ? FromUtf8(s) : std::u16string(); }

const char* Tag(AVDictionary* dict, const char* key) {
  AVDictionaryEntry* e = media::Av().av_dict_get(dict, key, nullptr, 0);
  return e ? e->value : nullptr;
}

void ReadTags(AVFormatContext* ctx, ProbeResult* result) {
  struct Map {
    const char* key;
    const char16_t* name;
  };
  static const Map kTags[] = {
      {"title", MEDIA_PROP_TITLE},         {"artist", MEDIA_PROP_ARTIST}, {"album", MEDIA_PROP_ALBUM},
      {"genre", MEDIA_PROP_GENRE},         {"date", MEDIA_PROP_DATE},     {"comment", MEDIA_PROP_COMMENT},
      {"copyright", MEDIA_PROP_COPYRIGHT}, {"track", MEDIA_PROP_TRACK},
  };
  for (const Map& m : kTags) {
    const char* value = Tag(ctx->metadata, m.key);
    // Ogg and some others keep the tags on the stream.
    for (unsigned i = 0; !value && i < ctx->nb_streams; ++i) value = Tag(ctx->streams[i]->metadata, m.key);
    if (!value && std::strcmp(m.key, "date") == 0) value = Tag(ctx->metadata, "year");
    if (value) result->tags.emplace_back(m.name, Utf8(value));
  }
}

LONG VideoCodecId(AVCodecID id) {
  if (id == AV_CODEC_ID_MPEG4) return MEDIA_VIDEO_CODEC_MPEG4;
  if (id == AV_CODEC_ID_H264) return MEDIA_VIDEO_CODEC_H264;
  return MEDIA_VIDEO_CODEC_OTHER_BASE + static_cast<LONG>(id);
}

void FillAudio(AVFormatContext* ctx, AVStream* st, ProbedStream* out) {
  AVCodecParameters* par = st->codecpar;
  AudioFormatState& a = out->audio;
  const char* ffName = media::Av().avcodec_get_name(par->codec_id);
  LONG codec = CodecIdFromFfmpegName(ffName);
  a.kind = codec == MEDIA_CODEC_MP3   ? MEDIA_FORMAT_KIND_MP3
           : codec == MEDIA_CODEC_AAC ? MEDIA_FORMAT_KIND_AAC
                                      : MEDIA_FORMAT_KIND_GENERIC;
  a.codec = codec;
  if (!FindCodec(codec)) {
    const AVCodecDescriptor* d = media::Av().avcodec_descriptor_get(par->codec_id);
    a.codecName = Utf8(d && d->long_name ? d->long_name : ffName);
  }
  a.sampleRate = par->sample_rate;
  a.channels = par->ch_layout.nb_channels;
  int bits = media::Av().av_get_bits_per_sample(par->codec_id);
  if (bits <= 0) bits = par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample : 16;
  a.bitsPerSample = bits;
  int64_t bitrate = par->bit_rate;
  if (bitrate <= 0 && ctx->nb_streams == 1) bitrate = ctx->bit_rate;
  if (bitrate <= 0 && media::Av().av_get_bits_per_sample(par->codec_id) > 0)
    bitrate = static_cast<int64_t>(par->sample_rate) * a.channels * media::Av().av_get_bits_per_sample(par->codec_id);
  if (bitrate <= 0 && out->durationMs > 0 && ctx->pb) {
    int64_t size = media::Av().avio_size(ctx->pb);
    if (size > 0) bitrate = static_cast<int64_t>(size * 8000.0 / out->durationMs);
  }
  a.bitrate = bitrate > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<LONG>(bitrate);
  const char* language = Tag(st->metadata, "language");
  if (language && std::strcmp(language, "und") != 0) out->language = Utf8(language);
}

void FillVideo(AVStream* st, ProbedStream* out) {
  AVCodecParameters* par = st->codecpar;
  VideoFormatState& v = out->video;
  v.codec = VideoCodecId(par->codec_id);
  const AVCodecDescriptor* d = media::Av().avcodec_descriptor_get(par->codec_id);
  v.codecName = Utf8(d && d->long_name ? d->long_name : media::Av().avcodec_get_name(par->codec_id));
  v.bitrate = par->bit_rate;
  v.width = par->width;
  v.height = par->height;
  AVRational rate = st->avg_frame_rate.num && st->avg_frame_rate.den ? st->avg_frame_rate : st->r_frame_rate;
  v.frameRate = rate.den ? av_q2d(rate) : 0;
  AVRational sar = par->sample_aspect_ratio.num > 0 ? par->sample_aspect_ratio : AVRational{1, 1};
  if (par->width > 0 && par->height > 0) {
    int num = 0, den = 0;
    media::Av().av_reduce(&num, &den, static_cast<int64_t>(par->width) * sar.num,
                          static_cast<int64_t>(par->height) * sar.den, 1 << 16);
    v.aspectNumerator = num;
    v.aspectDenominator = den;
  }
}

// Sums packet durations per stream, for demuxers that only estimate.
void ScanDurations(AVFormatContext* ctx, std::vector<double>* perStream) {
  perStream->assign(ctx->nb_streams, 0.0);
  std::vector<int64_t> first(ctx->nb_streams, AV_NOPTS_VALUE), last(ctx->nb_streams, AV_NOPTS_VALUE);
  std::vector<int64_t> summed(ctx->nb_streams, 0);
  AVPacket* pkt = media::Av().av_packet_alloc();
  if (!pkt) return;
  while (media::Av().av_read_frame(ctx, pkt) >= 0) {
    unsigned i = static_cast<unsigned>(pkt->stream_index);
    if (i < ctx->nb_streams) {
      summed[i] += pkt->duration > 0 ? pkt->duration : 0;
      if (pkt->pts != AV_NOPTS_VALUE) {
        int64_t end = pkt->pts + (pkt->duration > 0 ? pkt->duration : 0);
        if (first[i] == AV_NOPTS_VALUE || pkt->pts < first[i]) first[i] = pkt->pts;
        if (last[i] == AV_NOPTS_VALUE || end > last[i]) last[i] = end;
      }
    }
    media::Av().av_packet_unref(pkt);
  }
  media::Av().av_packet_free(&pkt);
  for (unsigned i = 0; i < ctx->nb_streams; ++i) {
    AVRational base = ctx->streams[i]->time_base;
    double bySum = ToMs(summed[i], base);
    double bySpan = (first[i] != AV_NOPTS_VALUE && last[i] != AV_NOPTS_VALUE) ? ToMs(last[i] - first[i], base) : 0;
    (*perStream)[i] = bySum > 0 ? bySum : bySpan;
  }
}

}  // namespace

LONG ContainerTypeFromDemuxer(const char* name, const char* majorBrand) {
  if (!name) return MEDIA_CONTAINER_UNKNOWN;
  struct Map {
    const char* demuxer;
    LONG type;
  };
  static const Map kMap[] = {
      {"wav", MEDIA_CONTAINER_WAV},      {"w64", MEDIA_CONTAINER_WAV},
      {"mp3", MEDIA_CONTAINER_MP3},      {"aiff", MEDIA_CONTAINER_AIFF},
      {"amr", MEDIA_CONTAINER_AMR},      {"amrnb", MEDIA_CONTAINER_AMR},
      {"aac", MEDIA_CONTAINER_AAC_ADTS}, {"au", MEDIA_CONTAINER_AU},
      {"ogg", MEDIA_CONTAINER_OGG},      {"matroska,webm", MEDIA_CONTAINER_MATROSKA},
      {"avi", MEDIA_CONTAINER_AVI},      {"mpeg", MEDIA_CONTAINER_MPEG},
      {"mpegts", MEDIA_CONTAINER_MPEG},  {"asf", MEDIA_CONTAINER_ASF},
      {"flac", MEDIA_CONTAINER_FLAC},    {"swf", MEDIA_CONTAINER_SWF},
      {"amrwb", MEDIA_CONTAINER_AMR},    {"rm", MEDIA_CONTAINER_REALMEDIA},
  };
  if (std::strcmp(name, "mov,mp4,m4a,3gp,3g2,mj2") == 0)
    return (majorBrand && std::strncmp(majorBrand, "qt", 2) == 0) ? MEDIA_CONTAINER_MOV : MEDIA_CONTAINER_MP4;
  for (const Map& m : kMap)
    if (std::strcmp(m.demuxer, name) == 0) return m.type;
  return MEDIA_CONTAINER_UNKNOWN;
}

HRESULT ProbeMediaFile(const std::u16string& windowsPath, ProbeResult* result, std::u16string* error) {
  if (!result) return E_POINTER;
  *result = ProbeResult();
  if (windowsPath.empty()) {
    if (error) *error = u"no file name";
    return E_INVALIDARG;
  }
  DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(windowsPath.c_str()));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD code = GetLastError();
    if (error) *error = u"the file does not exist";
    return HRESULT_FROM_WIN32(code ? code : ERROR_FILE_NOT_FOUND);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (error) *error = u"the name is a folder";
    return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  }
  std::string unixPath = ToUnixPath(windowsPath);
  if (unixPath.empty()) {
    if (error) *error = u"the path cannot be reached";
    return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  }

  std::string missing;
  if (!media::LoadFFmpeg(&missing)) {
    if (error) *error = FromUtf8(missing);
    return MEDIA_E_PROBE_FAILED;
  }
  // The library's own console chatter ("estimating duration ...") helps no one.
  static std::once_flag quiet;
  std::call_once(quiet, [] {
    if (media::Av().av_log_get_level() > AV_LOG_FATAL) media::Av().av_log_set_level(AV_LOG_FATAL);
  });

  FormatContext fc;
  int rc = media::Av().avformat_open_input(&fc.ctx, unixPath.c_str(), nullptr, nullptr);
  if (rc < 0) {
    if (error) *error = u"the file is not a media file this engine reads";
    return rc == AVERROR(ENOENT) ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : MEDIA_E_PROBE_FAILED;
  }
  if (media::Av().avformat_find_stream_info(fc.ctx, nullptr) < 0) {
    if (error) *error = u"the file's streams cannot be read";
    return MEDIA_E_PROBE_FAILED;
  }
  AVFormatContext* ctx = fc.ctx;
  result->container = ContainerTypeFromDemuxer(ctx->iformat->name, Tag(ctx->metadata, "major_brand"));
  result->seekable = ctx->pb && (ctx->pb->seekable & AVIO_SEEKABLE_NORMAL) && ctx->duration != AV_NOPTS_VALUE;

  std::vector<double> scanned;
  // The RealMedia muxer leaves the duration in its header at zero.
  bool estimated = ctx->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE ||
                   (result->container == MEDIA_CONTAINER_REALMEDIA && ctx->duration <= 0);
  if (estimated && ctx->pb && media::Av().avio_size(ctx->pb) <= kScanLimitBytes &&
      media::Av().avio_seek(ctx->pb, 0, SEEK_SET) >= 0 &&
      media::Av().av_seek_frame(ctx, -1, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_BYTE) >= 0)
    ScanDurations(ctx, &scanned);

  double containerMs = ctx->duration != AV_NOPTS_VALUE ? ctx->duration * 1000.0 / AV_TIME_BASE : 0;
  for (unsigned i = 0; i < ctx->nb_streams; ++i) {
    AVStream* st = ctx->streams[i];
    AVMediaType type = st->codecpar->codec_type;
    if (type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_VIDEO) continue;
    if (type == AVMEDIA_TYPE_VIDEO && (st->disposition & AV_DISPOSITION_ATTACHED_PIC)) continue;  // cover art
    ProbedStream ps;
    ps.type = type == AVMEDIA_TYPE_AUDIO ? MEDIA_STREAM_AUDIO : MEDIA_STREAM_VIDEO;
    if (i < scanned.size() && scanned[i] > 0)
      ps.durationMs = scanned[i];
    else if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
      ps.durationMs = ToMs(st->duration, st->time_base);
    else
      ps.durationMs = containerMs;
    if (ps.type == MEDIA_STREAM_AUDIO)
      FillAudio(ctx, st, &ps);
    else
      FillVideo(st, &ps);
    result->durationMs = std::max(result->durationMs, ps.durationMs);
    result->streams.push_back(std::move(ps));
  }
  if (result->durationMs <= 0) result->durationMs = containerMs;
  ReadTags(ctx, result);
  return S_OK;
}

// ---------------------------------------------------------------------------
// Video format objects of probed streams.

namespace {

class CVideoFormat : public ComClass, public IMediaVideoFormat5 {
 public:
  explicit CVideoFormat(const VideoFormatState& s) : s_(s) {}

  void* FindInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaVideoFormat5))
      return static_cast<IMediaVideoFormat5*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE GetCodecId(LONG* codec) override { return Out(codec, s_.codec); }
  HRESULT STDMETHODCALLTYPE GetCodecName(BSTR* name) override {
    if (!name) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    return ReturnBstr(s_.codecName, name);
  }
  HRESULT STDMETHODCALLTYPE GetBitrate(LONGLONG* bps) override {
    if (!bps) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *bps = s_.bitrate;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetBitrate(LONGLONG bps) override {
    std::lock_guard<std::mutex> hold(lock_);
    s_.bitrate = bps;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetWidth(LONG* width) override { return Out(width, s_.width); }
  HRESULT STDMETHODCALLTYPE GetHeight(LONG* height) override { return Out(height, s_.height); }
  HRESULT STDMETHODCALLTYPE GetFrameRate(double* fps) override {
    if (!fps) return E_POINTER;
    *fps = s_.frameRate;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAspect(LONG* numerator, LONG* denominator) override {
    if (!numerator || !denominator) return E_POINTER;
    *numerator = s_.aspectNumerator;
    *denominator = s_.aspectDenominator;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(LONG* format) override {
    if (!format) return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *format = s_.pixelFormat;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPixelFormat(LONG format) override {
    std::lock_guard<std::mutex> hold(lock_);
    s_.pixelFormat = format;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRateControl(LONG* mode, LONG* targetKilobytes) override {
    if (!mode || !targetKilobytes) return E_POINTER;
    *mode = s_.rateControl;
    *targetKilobytes = s_.targetKilobytes;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetOutputFormat(IMediaVideoFormat5** format) override {
    if (!format) return E_POINTER;
    AddRef();
    *format = this;
    return S_OK;
  }

 private:
  static HRESULT Out(LONG* out, LONG v) {
    if (!out) return E_POINTER;
    *out = v;
    return S_OK;
  }
  std::mutex lock_;
  VideoFormatState s_;
};

}  // namespace

HRESULT CreateVideoFormatFromState(const VideoFormatState& state, IMediaVideoFormat5** format) {
  if (!format) return E_POINTER;
  return ComObject<CVideoFormat>::Create(IID_IMediaVideoFormat5, reinterpret_cast<void**>(format), state);
}

}  // namespace engine
