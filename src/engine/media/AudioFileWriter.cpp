#include "engine/media/AudioFileWriter.h"

#include "engine/media/FFmpegLibrary.h"

extern "C" {
#include <libavutil/opt.h>
#include <opencore-amrnb/interf_enc.h>
#include <vo-amrwbenc/enc_if.h>
}

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace engine::media {

namespace {

bool IsDiskFull(int err) { return err == AVERROR(ENOSPC) || err == AVERROR(EFBIG) || err == AVERROR(EDQUOT); }

const char* EncoderName(int codec, int container) {
  bool bigEndian = container == kContainerAiff || container == kContainerAu;
  switch (codec) {
    case kCodecPcm:
    case kCodecPcmBigEndian:
      return bigEndian ? "pcm_s16be" : "pcm_s16le";
    case kCodecPcm24:
      return bigEndian ? "pcm_s24be" : "pcm_s24le";
    case kCodecALaw:
      return "pcm_alaw";
    case kCodecMuLaw:
      return "pcm_mulaw";
    case kCodecMsAdpcm:
      return "adpcm_ms";
    case kCodecImaAdpcm:
      return "adpcm_ima_wav";
    case kCodecGsmMs:
      return "libgsm_ms";
    case kCodecGsm:
      return "libgsm";
    case kCodecG726:
      return "g726";
    case kCodecRealAudio:
      return "real_144";
    case kCodecMp2:
      return "mp2";
    case kCodecMp3:
      return "libmp3lame";
    case kCodecAac:
      return "aac";
    case kCodecAc3:
      return "ac3";
    case kCodecVorbis:
      return "libvorbis";
    case kCodecOpus:
      return "libopus";
    case kCodecWma1:
      return "wmav1";
    case kCodecWma:
      return "wmav2";
    default:
      return nullptr;
  }
}

int DefaultBitRate(int codec) {
  switch (codec) {
    case kCodecMp2:
    case kCodecAc3:
      return 192000;
    case kCodecOpus:
      return 96000;
    case kCodecMp3:
    case kCodecAac:
    case kCodecVorbis:
    case kCodecWma1:
    case kCodecWma:
      return 128000;
    default:
      return 0;
  }
}

// Codecs whose size the profile's bit rate sets; the others ignore it.
bool TakesBitRate(int codec) { return DefaultBitRate(codec) > 0; }

// The rates (kbit/s) a profile that names none may get in place of the
// codec's usual one.
const int kStandardBitRates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 192, 224, 256, 320};

bool TakesRate(const AVCodec* c, int rate) {
  if (!c->supported_samplerates) return true;
  for (const int* r = c->supported_samplerates; *r; ++r)
    if (*r == rate) return true;
  return false;
}

// LAME writes constant rates from the MPEG version's table alone, and takes
// any other value for its nearest entry; below 16 kHz it stops at 64 kbit/s.
bool Mp3TakesBitRate(int rate, int64_t bitRate) {
  static const int kMpeg1[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kMpeg2[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kMpeg25[] = {8, 16, 24, 32, 40, 48, 56, 64};
  const int* table = rate >= 32000 ? kMpeg1 : rate >= 16000 ? kMpeg2 : kMpeg25;
  const int count = rate >= 32000 ? 14 : rate >= 16000 ? 14 : 8;
  for (int i = 0; i < count; ++i)
    if (table[i] * 1000LL == bitRate) return true;
  return false;
}

std::string LayoutText(int channels) {
  return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " channels";
}

std::string RateText(int64_t bitRate) {
  return bitRate % 1000 ? std::to_string(bitRate) + " bit/s" : std::to_string(bitRate / 1000) + " kbit/s";
}

// AMR modes by their bit rate (bit/s), and the whole kbit/s profiles store for
// them ("7.4" is kept as 8000, "7.95" as 9000): nearest would mistake those.
const int kAmrNbModeRates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
const int kAmrNbProfileRates[] = {4000, 5000, 6000, 7000, 8000, 9000, 10000, 12000};
const int kAmrWbModeRates[] = {6600, 8850, 12650, 14250, 15850, 18250, 19850, 23050, 23850};
const int kAmrWbProfileRates[] = {7000, 9000, 13000, 14000, 16000, 18000, 20000, 23000, 24000};

int AmrModeFor(int bitRate, const int* rates, const int* stored, int modes) {
  if (bitRate <= 0) return modes - 1;
  for (int m = 0; m < modes; ++m)
    if (stored[m] == bitRate || rates[m] == bitRate) return m;
  int best = 0;
  for (int m = 1; m < modes; ++m)
    if (std::abs(rates[m] - bitRate) < std::abs(rates[best] - bitRate)) best = m;
  return best;
}

// G.726 codes 2 to 5 bits a sample at 8 kHz: 16 to 40 kbit/s in steps of 8.
bool G726TakesBitRate(int bitRate) { return bitRate >= 16000 && bitRate <= 40000 && bitRate % 8000 == 0; }

}  // namespace

void AudioFileWriter::CloseFormat::operator()(AVFormatContext* p) const {
  if (!p) return;
  if (p->pb) Av().avio_closep(&p->pb);
  Av().avformat_free_context(p);
}
void AudioFileWriter::FreeEncoder::operator()(AVCodecContext* p) const { Av().avcodec_free_context(&p); }
void AudioFileWriter::FreeResampler::operator()(SwrContext* p) const { Av().swr_free(&p); }
void AudioFileWriter::FreeFifo::operator()(AVAudioFifo* p) const {
  if (p) Av().av_audio_fifo_free(p);
}
void AudioFileWriter::FreeFrame::operator()(AVFrame* p) const { Av().av_frame_free(&p); }
void AudioFileWriter::FreePacket::operator()(AVPacket* p) const { Av().av_packet_free(&p); }
void AudioFileWriter::EndAmrEncoder::operator()(void* p) const {
  if (p) Encoder_Interface_exit(p);
}
void AudioFileWriter::EndAmrWbEncoder::operator()(void* p) const {
  if (p) E_IF_exit(p);
}
void AudioFileWriter::FreeSamples::operator()(uint8_t* p) const { Av().av_free(p); }

AudioFileWriter::AudioFileWriter() = default;

AudioFileWriter::~AudioFileWriter() {
  if (fmt_ && !dryRun_) Finish();
  Release();
}

WriteStatus AudioFileWriter::Check(const EncoderSettings& settings, std::string* error) {
  AudioFileWriter probe;
  probe.dryRun_ = true;
  const PcmFormat input{settings.sampleRate > 0 ? settings.sampleRate : 44100, std::clamp(settings.channels, 1, 2)};
  WriteStatus s = probe.Open(std::string(), settings, input);
  if (error) *error = probe.error_;
  return s;
}

WriteStatus AudioFileWriter::Fail(int averror, const char* what) {
  char buf[AV_ERROR_MAX_STRING_SIZE] = {0};
  if (averror) Av().av_strerror(averror, buf, sizeof buf);
  error_ = std::string(what) + (averror ? std::string(": ") + buf : std::string());
  WriteStatus s = IsDiskFull(averror) ? WriteStatus::DiskFull : WriteStatus::Failed;
  if (state_ == WriteStatus::Ok) state_ = s;
  return s;
}

void AudioFileWriter::Release() {
  if (dryRun_ && fmt_ && fmt_->pb) {
    uint8_t* bytes = nullptr;
    Av().avio_close_dyn_buf(fmt_->pb, &bytes);
    Av().av_free(bytes);
    fmt_->pb = nullptr;
  }
  fmt_.reset();
  stream_ = nullptr;
  enc_.reset();
  swr_.reset();
  fifo_.reset();
  frame_.reset();
  pkt_.reset();
  amr_.reset();
  amrWb_.reset();
  convertPlanes_.clear();
  convertBuffer_.reset();
  convertCapacity_ = 0;
  patcher_.Detach();
}

WriteStatus AudioFileWriter::Open(const std::string& path, const EncoderSettings& settings, const PcmFormat& input) {
  Release();
  state_ = WriteStatus::Ok;
  error_.clear();
  headerWritten_ = false;
  path_ = path;
  input_ = input;
  inputFrames_ = 0;
  inputMsBefore_ = 0;
  cutMs_ = -1;
  nextPts_ = 0;
  container_ = settings.containerType;
  // Whatever step fails, nothing of the half-made file stays open, and a
  // file this call made is removed: it never held a recording.
  struct stat before;
  const bool existed = dryRun_ || stat(path.c_str(), &before) == 0;
  WriteStatus s = OpenSteps(path, settings);
  if (s != WriteStatus::Ok) {
    Release();
    if (!existed) unlink(path.c_str());
  }
  return s;
}

WriteStatus AudioFileWriter::OpenSteps(const std::string& path, const EncoderSettings& settings) {
  if (!LoadFFmpeg(&error_)) return WriteStatus::Failed;
  static const bool quiet = (Av().av_log_set_level(AV_LOG_ERROR), true);
  (void)quiet;
  if (input_.sampleRate <= 0 || input_.channels <= 0 || input_.channels > 8) {
    error_ = "invalid input format";
    return WriteStatus::BadSettings;
  }
  if (!MuxerForContainer(container_)) {
    error_ = "unknown container type";
    return WriteStatus::BadSettings;
  }
  codec_ = settings.codec == kCodecNone ? DefaultCodecForContainer(container_) : settings.codec;
  if (!IsKnownCodec(codec_)) {
    error_ = "unknown codec " + std::to_string(codec_);
    return WriteStatus::BadSettings;
  }
  const int rate = settings.sampleRate > 0 ? settings.sampleRate : input_.sampleRate;
  if (rate < kMinSampleRate || rate > kMaxSampleRate) {
    error_ = "a sample rate of " + std::to_string(rate) + " Hz is outside " + std::to_string(kMinSampleRate) + " to " +
             std::to_string(kMaxSampleRate) + " Hz";
    return WriteStatus::BadSettings;
  }
  if (!ContainerAccepts(container_, codec_)) {
    error_ = std::string("the container cannot hold ") + CodecDisplayName(codec_);
    return WriteStatus::BadSettings;
  }
  const char* muxer = MuxerForContainer(container_, codec_);
  AVFormatContext* made = nullptr;
  int err = Av().avformat_alloc_output_context2(&made, nullptr, muxer, nullptr);
  fmt_.reset(made);
  if (err < 0 || !fmt_) {
    Fail(err, "cannot create the container");
    return WriteStatus::BadSettings;
  }
  stream_ = Av().avformat_new_stream(fmt_.get(), nullptr);
  if (!stream_) return Fail(AVERROR(ENOMEM), "cannot create the stream");

  WriteStatus s = codec_ == kCodecAmrNb || codec_ == kCodecAmrWb ? SetUpAmr(settings) : SetUpEncoder(settings);
  if (s != WriteStatus::Ok) return s;

  if (!MakeResampler()) {
    Fail(0, "cannot set up the sample conversion");
    return WriteStatus::BadSettings;
  }
  fifo_.reset(Av().av_audio_fifo_alloc(static_cast<AVSampleFormat>(outFormat_), outChannels_, frameSize_ * 4));
  frame_.reset(Av().av_frame_alloc());
  pkt_.reset(Av().av_packet_alloc());
  if (!fifo_ || !frame_ || !pkt_) return Fail(AVERROR(ENOMEM), "out of memory");

  std::string url = "file:" + path;
  // A check writes the header into memory: what the muxer refuses shows there.
  err = dryRun_ ? Av().avio_open_dyn_buf(&fmt_->pb) : Av().avio_open(&fmt_->pb, url.c_str(), AVIO_FLAG_WRITE);
  if (err < 0) return Fail(err, "cannot create the file");
  if (dryRun_) fmt_->pb->seekable = AVIO_SEEKABLE_NORMAL;
  AVDictionary* opts = nullptr;
  if (container_ == kContainerM4a) {
    // Fragments of one second: a file cut short keeps every finished fragment.
    Av().av_dict_set(&opts, "movflags", "+empty_moov+default_base_moof", 0);
    Av().av_dict_set(&opts, "frag_duration", "1000000", 0);
  }
  // Past 4 GiB a WAV file becomes RF64 when it is finished.
  if (container_ == kContainerWav) Av().av_dict_set(&opts, "rf64", "auto", 0);
  err = Av().avformat_write_header(fmt_.get(), &opts);
  Av().av_dict_free(&opts);
  if (err < 0) {
    if (err == AVERROR(EINVAL)) {
      // The muxer takes the codec but not these settings (MP3 in MP4 below 16 kHz).
      error_ = std::string("the container cannot hold ") + CodecDisplayName(codec_) + " at " +
               std::to_string(outRate_) + " Hz";
      return WriteStatus::BadSettings;
    }
    WriteStatus f = Fail(err, "cannot write the file header");
    return f == WriteStatus::DiskFull ? f : WriteStatus::BadSettings;
  }
  headerWritten_ = true;
  if (dryRun_) return WriteStatus::Ok;
  Av().avio_flush(fmt_->pb);
  if (fmt_->pb->error < 0) return Fail(fmt_->pb->error, "cannot write the file header");
  if (container_ == kContainerWav || container_ == kContainerAiff || container_ == kContainerAu) {
    int bits = Av().av_get_bits_per_sample(stream_->codecpar->codec_id);
    patcher_.Attach(path, container_, bits > 0 ? bits / 8 * outChannels_ : 0);
  }
  return WriteStatus::Ok;
}

bool AudioFileWriter::MakeResampler() {
  AVChannelLayout inLayout, outLayout;
  Av().av_channel_layout_default(&inLayout, input_.channels);
  Av().av_channel_layout_default(&outLayout, outChannels_);
  SwrContext* made = nullptr;
  int err = Av().swr_alloc_set_opts2(&made, &outLayout, static_cast<AVSampleFormat>(outFormat_), outRate_, &inLayout,
                                     AV_SAMPLE_FMT_S16, input_.sampleRate, 0, nullptr);
  swr_.reset(made);
  Av().av_channel_layout_uninit(&inLayout);
  Av().av_channel_layout_uninit(&outLayout);
  return err >= 0 && Av().swr_init(swr_.get()) >= 0;
}

WriteStatus AudioFileWriter::SetInputFormat(const PcmFormat& input) {
  if (input.sampleRate == input_.sampleRate && input.channels == input_.channels) return WriteStatus::Ok;
  if (input.sampleRate <= 0 || input.channels <= 0 || input.channels > 8) return WriteStatus::BadSettings;
  if (!fmt_) {
    input_ = input;
    return WriteStatus::Ok;
  }
  if (state_ != WriteStatus::Ok) return state_;
  WriteStatus s = Convert(nullptr, 0);
  if (s != WriteStatus::Ok) return s;
  inputMsBefore_ = WrittenMs();
  inputFrames_ = 0;
  input_ = input;
  if (!MakeResampler()) return Fail(0, "cannot set up the sample conversion");
  return WriteStatus::Ok;
}

int AudioFileWriter::OpenEncoder(const AVCodec* c, const EncoderSettings& s, int64_t bitRate) {
  enc_.reset(Av().avcodec_alloc_context3(c));
  if (!enc_) return AVERROR(ENOMEM);
  enc_->sample_rate = outRate_;
  Av().av_channel_layout_default(&enc_->ch_layout, outChannels_);
  enc_->sample_fmt = static_cast<AVSampleFormat>(outFormat_);
  enc_->time_base = AVRational{1, outRate_};
  if (codec_ == kCodecMp3 && s.vbr) {
    enc_->flags |= AV_CODEC_FLAG_QSCALE;
    enc_->global_quality = FF_QP2LAMBDA * std::clamp(s.vbrQuality, 0, 9);
  } else if (bitRate > 0) {
    enc_->bit_rate = bitRate;
  }
  if (fmt_->oformat->flags & AVFMT_GLOBALHEADER) enc_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  return Av().avcodec_open2(enc_.get(), c, nullptr);
}

// The codec's usual rate where it takes it at the output's sample rate and
// channels, else the standard rate nearest to it that it takes (the lower of
// two as near); `usual` itself when it takes none.
int64_t AudioFileWriter::BitRateTakenNear(const AVCodec* c, const EncoderSettings& s, int64_t usual) {
  std::vector<int64_t> tried{usual};
  for (int kbps : kStandardBitRates)
    if (kbps * 1000LL != usual) tried.push_back(kbps * 1000LL);
  std::stable_sort(tried.begin() + 1, tried.end(), [usual](int64_t a, int64_t b) {
    return std::llabs(a - usual) < std::llabs(b - usual) || (std::llabs(a - usual) == std::llabs(b - usual) && a < b);
  });
  for (int64_t rate : tried) {
    if (codec_ == kCodecMp3 ? Mp3TakesBitRate(outRate_, rate)
                            : OpenEncoder(c, s, rate) >= 0 && enc_ && enc_->bit_rate == rate)
      return rate;
  }
  return usual;
}

WriteStatus AudioFileWriter::SetUpEncoder(const EncoderSettings& s) {
  const char* name = EncoderName(codec_, container_);
  const AVCodec* c = name ? Av().avcodec_find_encoder_by_name(name) : nullptr;
  if (!c) {
    error_ = std::string("no encoder for ") + CodecDisplayName(codec_);
    return WriteStatus::BadSettings;
  }
  // The file holds what the profile says or nothing: a value the codec cannot
  // take is refused, never moved to one it can.
  outRate_ = s.sampleRate > 0 ? s.sampleRate : input_.sampleRate;
  outChannels_ = s.channels > 0 ? s.channels : input_.channels;
  const std::string codecName = CodecDisplayName(codec_);
  if (outChannels_ > 2) {
    error_ = codecName + " records mono or stereo, not " + LayoutText(outChannels_);
    return WriteStatus::BadSettings;
  }
  // Telephone codecs: 8 kHz mono only.
  const bool narrowband =
      codec_ == kCodecGsmMs || codec_ == kCodecGsm || codec_ == kCodecG726 || codec_ == kCodecRealAudio;
  if ((narrowband && (outRate_ != 8000 || outChannels_ != 1)) || !TakesRate(c, outRate_)) {
    error_ = codecName + " cannot record at " + std::to_string(outRate_) + " Hz, " + LayoutText(outChannels_);
    return WriteStatus::BadSettings;
  }
  outFormat_ = c->sample_fmts ? c->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  // Fixed-rate codecs take no bit rate from the profile (the editor's GSM preset is 13000).
  int64_t bitRate = TakesBitRate(codec_) ? (s.bitRate > 0 ? s.bitRate : DefaultBitRate(codec_)) : 0;
  if (codec_ == kCodecG726) bitRate = s.bitRate > 0 ? s.bitRate : 40000;
  const bool quality = codec_ == kCodecMp3 && s.vbr;
  // A profile that names no rate gets one the codec takes here: a rate the
  // user never chose is no reason to refuse it.
  if (TakesBitRate(codec_) && s.bitRate <= 0 && !quality) bitRate = BitRateTakenNear(c, s, bitRate);
  const std::string refusal = codecName + " cannot record " + RateText(bitRate) + " at " + std::to_string(outRate_) +
                              " Hz, " + LayoutText(outChannels_);
  if ((codec_ == kCodecG726 && !G726TakesBitRate(static_cast<int>(bitRate))) ||
      (codec_ == kCodecMp3 && !quality && !Mp3TakesBitRate(outRate_, bitRate))) {
    error_ = refusal;
    return WriteStatus::BadSettings;
  }
  int err = OpenEncoder(c, s, bitRate);
  if (!enc_) return Fail(AVERROR(ENOMEM), "out of memory");
  // Encoders that cannot make a rate refuse it (Vorbis, MP2) or quietly take
  // another (AAC, AC3): both are refused here.
  if (err < 0 || (bitRate > 0 && !quality && enc_->bit_rate != bitRate)) {
    error_ = bitRate > 0 ? refusal : codecName + " refused the settings";
    return WriteStatus::BadSettings;
  }
  frameSize_ = (c->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) || enc_->frame_size <= 0
                   ? std::max(64, outRate_ / 20)
                   : enc_->frame_size;
  err = Av().avcodec_parameters_from_context(stream_->codecpar, enc_.get());
  if (err < 0) return Fail(err, "cannot describe the stream");
  stream_->time_base = enc_->time_base;
  if (Av().avformat_query_codec(fmt_->oformat, enc_->codec_id, FF_COMPLIANCE_NORMAL) == 0) {
    error_ = "the container cannot hold this codec";
    return WriteStatus::BadSettings;
  }
  return WriteStatus::Ok;
}

// AMR NB (8 kHz) and WB (16 kHz) frames of 20 ms come from their own encoders,
// each frame with its header byte as the AMR file and MP4 family store them.
WriteStatus AudioFileWriter::SetUpAmr(const EncoderSettings& s) {
  const bool wide = codec_ == kCodecAmrWb;
  const int rate = s.sampleRate > 0 ? s.sampleRate : input_.sampleRate;
  const int channels = s.channels > 0 ? s.channels : input_.channels;
  if (rate != (wide ? 16000 : 8000) || channels != 1) {
    error_ = std::string(CodecDisplayName(codec_)) + " cannot record at " + std::to_string(rate) + " Hz, " +
             LayoutText(channels);
    return WriteStatus::BadSettings;
  }
  if (wide) {
    amrWb_.reset(E_IF_init());
    if (!amrWb_) return Fail(AVERROR(ENOMEM), "cannot start the AMR WB encoder");
    amrMode_ = AmrModeFor(s.bitRate, kAmrWbModeRates, kAmrWbProfileRates, 9);
  } else {
    amr_.reset(Encoder_Interface_init(0));
    if (!amr_) return Fail(AVERROR(ENOMEM), "cannot start the AMR encoder");
    amrMode_ = AmrModeFor(s.bitRate, kAmrNbModeRates, kAmrNbProfileRates, 8);
  }
  outRate_ = wide ? 16000 : 8000;
  outChannels_ = 1;
  outFormat_ = AV_SAMPLE_FMT_S16;
  frameSize_ = outRate_ / 50;
  AVCodecParameters* par = stream_->codecpar;
  par->codec_type = AVMEDIA_TYPE_AUDIO;
  par->codec_id = wide ? AV_CODEC_ID_AMR_WB : AV_CODEC_ID_AMR_NB;
  par->sample_rate = outRate_;
  par->frame_size = frameSize_;
  Av().av_channel_layout_default(&par->ch_layout, 1);
  par->bit_rate = wide ? kAmrWbModeRates[amrMode_] : kAmrNbModeRates[amrMode_];
  stream_->time_base = AVRational{1, outRate_};
  return WriteStatus::Ok;
}

WriteStatus AudioFileWriter::Write(const uint8_t* pcm, size_t bytes) {
  if (!fmt_) return state_ == WriteStatus::Ok ? WriteStatus::Failed : state_;
  if (state_ != WriteStatus::Ok) return state_;
  int frames = static_cast<int>(bytes / static_cast<size_t>(input_.BlockAlign()));
  if (frames <= 0) return WriteStatus::Ok;
  const uint64_t accepted = inputFrames_;
  inputFrames_ += static_cast<uint64_t>(frames);
  WriteStatus s = Take(pcm, frames);
  if (s != WriteStatus::Ok) CountRefusedBlock(accepted);
  return s;
}

WriteStatus AudioFileWriter::Take(const uint8_t* pcm, int frames) {
  WriteStatus s = Convert(pcm, frames);
  if (s == WriteStatus::Ok) s = EncodeQueued(false);
  if (s != WriteStatus::Ok) return s;
  // Hand everything to the file system now, so a killed process loses little:
  // the fragmented MP4 closes its fragment, Ogg its page.
  if (container_ == kContainerM4a || container_ == kContainerOgg) {
    int err = Av().av_write_frame(fmt_.get(), nullptr);
    if (err < 0) return Fail(err, "cannot write the file");
  }
  Av().avio_flush(fmt_->pb);
  if (fmt_->pb->error < 0) return Fail(fmt_->pb->error, "cannot write the file");
  if (patcher_.IsAttached()) patcher_.Update();
  return WriteStatus::Ok;
}

WriteStatus AudioFileWriter::Convert(const uint8_t* pcm, int frames) {
  int outMax = Av().swr_get_out_samples(swr_.get(), frames);
  if (outMax < 0) return Fail(outMax, "sample conversion failed");
  if (outMax > convertCapacity_) {
    convertBuffer_.reset();
    convertCapacity_ = 0;
    convertPlanes_.assign(static_cast<size_t>(outChannels_), nullptr);
    int err = Av().av_samples_alloc(convertPlanes_.data(), nullptr, outChannels_, outMax + 256,
                                    static_cast<AVSampleFormat>(outFormat_), 0);
    if (err < 0) {
      convertPlanes_.clear();
      return Fail(err, "out of memory");
    }
    convertBuffer_.reset(convertPlanes_[0]);
    convertCapacity_ = outMax + 256;
  }
  const uint8_t* in[1] = {pcm};
  int got = Av().swr_convert(swr_.get(), convertPlanes_.data(), convertCapacity_, pcm ? in : nullptr, frames);
  if (got < 0) return Fail(got, "sample conversion failed");
  if (got > 0 && Av().av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(convertPlanes_.data()), got) < got)
    return Fail(AVERROR(ENOMEM), "out of memory");
  return WriteStatus::Ok;
}

WriteStatus AudioFileWriter::EncodeQueued(bool flush) {
  while (Av().av_audio_fifo_size(fifo_.get()) >= frameSize_ || (flush && Av().av_audio_fifo_size(fifo_.get()) > 0)) {
    int n = std::min(frameSize_, Av().av_audio_fifo_size(fifo_.get()));
    if (amr_ || amrWb_) {
      int16_t speech[320] = {0};
      void* planes[1] = {speech};
      Av().av_audio_fifo_read(fifo_.get(), planes, n);
      uint8_t out[128];
      int len = amr_ ? Encoder_Interface_Encode(amr_.get(), static_cast<Mode>(amrMode_), speech, out, 0)
                     : E_IF_encode(amrWb_.get(), amrMode_, speech, out, 0);
      if (len <= 0) return Fail(0, "the AMR encoder failed");
      Av().av_packet_unref(pkt_.get());
      if (Av().av_new_packet(pkt_.get(), len) < 0) return Fail(AVERROR(ENOMEM), "out of memory");
      std::copy(out, out + len, pkt_->data);
      pkt_->pts = pkt_->dts = nextPts_;
      pkt_->duration = frameSize_;
      nextPts_ += frameSize_;
      WriteStatus s = WritePacket(pkt_.get());
      if (s != WriteStatus::Ok) return s;
      continue;
    }
    Av().av_frame_unref(frame_.get());
    frame_->nb_samples = n;
    frame_->format = outFormat_;
    frame_->sample_rate = outRate_;
    Av().av_channel_layout_copy(&frame_->ch_layout, &enc_->ch_layout);
    int err = Av().av_frame_get_buffer(frame_.get(), 0);
    if (err < 0) return Fail(err, "out of memory");
    Av().av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame_->data), n);
    frame_->pts = nextPts_;
    nextPts_ += n;
    WriteStatus s = SendFrame(frame_.get());
    if (s != WriteStatus::Ok) return s;
  }
  return WriteStatus::Ok;
}

WriteStatus AudioFileWriter::SendFrame(AVFrame* frame) {
  int err = Av().avcodec_send_frame(enc_.get(), frame);
  if (err < 0 && err != AVERROR_EOF) return Fail(err, "the encoder failed");
  for (;;) {
    err = Av().avcodec_receive_packet(enc_.get(), pkt_.get());
    if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return WriteStatus::Ok;
    if (err < 0) return Fail(err, "the encoder failed");
    Av().av_packet_rescale_ts(pkt_.get(), enc_->time_base, stream_->time_base);
    WriteStatus s = WritePacket(pkt_.get());
    if (s != WriteStatus::Ok) return s;
  }
}

WriteStatus AudioFileWriter::WritePacket(AVPacket* pkt) {
  pkt->stream_index = stream_->index;
  int err = Av().av_write_frame(fmt_.get(), pkt);
  Av().av_packet_unref(pkt);
  if (err < 0) return Fail(err, "cannot write the file");
  if (fmt_->pb && fmt_->pb->error < 0) return Fail(fmt_->pb->error, "cannot write the file");
  return WriteStatus::Ok;
}

WriteStatus AudioFileWriter::Finish() {
  if (!fmt_) return state_;
  if (state_ == WriteStatus::Ok) {
    WriteStatus s = Convert(nullptr, 0);
    if (s == WriteStatus::Ok) s = EncodeQueued(true);
    if (s == WriteStatus::Ok && enc_) s = SendFrame(nullptr);
  }
  if (headerWritten_) {
    int err = Av().av_write_trailer(fmt_.get());
    if (err < 0 && state_ == WriteStatus::Ok) Fail(err, "cannot finish the file");
  }
  if (fmt_->pb) {
    Av().avio_flush(fmt_->pb);
    if (fmt_->pb->error < 0 && state_ == WriteStatus::Ok) Fail(fmt_->pb->error, "cannot finish the file");
    Av().avio_closep(&fmt_->pb);
  }
  // The trailer could not go out: make the header match what the disk holds.
  if (state_ != WriteStatus::Ok && patcher_.IsAttached()) patcher_.Seal();
  WriteStatus result = state_;
  Release();
  return result;
}

// The duration reported for a cut file is what it plays: for PCM the whole
// frames on disk, for encoded formats the blocks written before the refused one
// (an encoder's output of a block lags its input, so partial output is not
// counted).
void AudioFileWriter::CountRefusedBlock(uint64_t acceptedFrames) {
  inputFrames_ = acceptedFrames;
  cutMs_ = WrittenMs();
  if (patcher_.IsAttached() && outRate_ > 0) cutMs_ = 1000.0 * static_cast<double>(patcher_.FramesOnDisk()) / outRate_;
}

double AudioFileWriter::WrittenMs() const {
  if (cutMs_ >= 0) return cutMs_;
  return inputMsBefore_ + (input_.sampleRate > 0 ? 1000.0 * static_cast<double>(inputFrames_) / input_.sampleRate : 0);
}

uint64_t AudioFileWriter::FileBytes() const {
  if (!fmt_ || !fmt_->pb) return 0;
  int64_t pos = Av().avio_seek(fmt_->pb, 0, SEEK_CUR);  // avio_tell, which calls avio_seek itself
  return pos > 0 ? static_cast<uint64_t>(pos) : 0;
}

}  // namespace engine::media
