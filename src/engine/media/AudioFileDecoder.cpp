#include "engine/media/AudioFileDecoder.h"

#include "engine/media/FFmpegLibrary.h"

#include <algorithm>
#include <cstring>

namespace engine::media {

namespace {

// A resampler from the decoder's layout and sample format to interleaved
// 16-bit samples at the same rate; a layout of unknown order counts as the
// default one for its channel count. Negative on failure.
int OpenResampler(SwrContext** swr, const AVCodecContext* dec, int channels, int rate) {
  AVChannelLayout out;
  Av().av_channel_layout_default(&out, channels);
  AVChannelLayout in;
  if (dec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    Av().av_channel_layout_default(&in, dec->ch_layout.nb_channels);
  else
    Av().av_channel_layout_copy(&in, &dec->ch_layout);
  int err = Av().swr_alloc_set_opts2(swr, &out, AV_SAMPLE_FMT_S16, rate, &in, dec->sample_fmt, rate, 0, nullptr);
  Av().av_channel_layout_uninit(&in);
  if (err < 0) return err;
  return Av().swr_init(*swr);
}

}  // namespace

AudioFileDecoder::~AudioFileDecoder() { Close(); }

void AudioFileDecoder::Close() {
  std::lock_guard<std::mutex> g(lock_);
  // Nothing is held unless FFmpeg was loaded.
  if (dec_) Av().avcodec_free_context(&dec_);
  if (fmt_) Av().avformat_close_input(&fmt_);
  if (swr_) Av().swr_free(&swr_);
  if (frame_) Av().av_frame_free(&frame_);
  if (pkt_) Av().av_packet_free(&pkt_);
  stream_ = -1;
  pending_.clear();
  pendingPos_ = 0;
}

bool AudioFileDecoder::IsOpen() const {
  std::lock_guard<std::mutex> g(lock_);
  return dec_ != nullptr;
}

bool AudioFileDecoder::Open(const std::string& path, std::string* error) {
  Close();
  std::lock_guard<std::mutex> g(lock_);
  if (!LoadFFmpeg(error)) return false;
  std::string url = "file:" + path;
  auto fail = [&](const char* why) {
    if (error) *error = why;
    Av().avcodec_free_context(&dec_);
    if (fmt_) Av().avformat_close_input(&fmt_);
    Av().swr_free(&swr_);
    return false;
  };
  if (Av().avformat_open_input(&fmt_, url.c_str(), nullptr, nullptr) < 0) return fail("cannot open the file");
  if (Av().avformat_find_stream_info(fmt_, nullptr) < 0) return fail("cannot read the file");
  const AVCodec* codec = nullptr;
  stream_ = Av().av_find_best_stream(fmt_, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (stream_ < 0 || !codec) return fail("the file has no sound");
  dec_ = Av().avcodec_alloc_context3(codec);
  if (!dec_ || Av().avcodec_parameters_to_context(dec_, fmt_->streams[stream_]->codecpar) < 0 ||
      Av().avcodec_open2(dec_, codec, nullptr) < 0)
    return fail("the sound cannot be decoded");
  rate_ = dec_->sample_rate;
  channels_ = std::min(2, std::max(1, dec_->ch_layout.nb_channels));
  if (OpenResampler(&swr_, dec_, channels_, rate_) < 0) return fail("the sound cannot be converted");
  frame_ = Av().av_frame_alloc();
  pkt_ = Av().av_packet_alloc();
  AVStream* st = fmt_->streams[stream_];
  if (st->duration > 0)
    durationMs_ = 1000.0 * st->duration * av_q2d(st->time_base);
  else if (fmt_->duration > 0)
    durationMs_ = fmt_->duration / 1000.0;
  framesOut_ = 0;
  baseMs_ = skipMs_ = 0;
  eof_ = false;
  return true;
}

double AudioFileDecoder::PositionMs() const {
  std::lock_guard<std::mutex> g(lock_);
  double buffered =
      rate_ > 0 ? 1000.0 * static_cast<double>((pending_.size() - pendingPos_) / (2 * channels_)) / rate_ : 0;
  return baseMs_ + (rate_ > 0 ? 1000.0 * static_cast<double>(framesOut_) / rate_ : 0) - buffered;
}

bool AudioFileDecoder::Seek(double ms) {
  std::lock_guard<std::mutex> g(lock_);
  if (!fmt_) return false;
  ms = std::max(0.0, ms);
  int64_t ts = static_cast<int64_t>(ms * 1000.0);
  if (Av().av_seek_frame(fmt_, -1, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
      Av().avformat_seek_file(fmt_, -1, INT64_MIN, ts, INT64_MAX, 0) < 0)
    return false;
  Av().avcodec_flush_buffers(dec_);
  Av().swr_free(&swr_);
  OpenResampler(&swr_, dec_, channels_, rate_);
  pending_.clear();
  pendingPos_ = 0;
  eof_ = false;
  framesOut_ = 0;
  baseMs_ = ms;
  skipMs_ = -1;  // the first decoded frame tells how much lies before the target
  return true;
}

bool AudioFileDecoder::Refill() {
  pending_.clear();
  pendingPos_ = 0;
  while (!eof_) {
    int err = Av().avcodec_receive_frame(dec_, frame_);
    if (err == 0) {
      int outMax = Av().swr_get_out_samples(swr_, frame_->nb_samples);
      pending_.resize(static_cast<size_t>(std::max(outMax, 0)) * 2 * channels_);
      uint8_t* outPlanes[1] = {pending_.data()};
      int got = Av().swr_convert(swr_, outPlanes, outMax, const_cast<const uint8_t**>(frame_->extended_data),
                                 frame_->nb_samples);
      AVStream* st = fmt_->streams[stream_];
      double frameMs = frame_->pts != AV_NOPTS_VALUE ? 1000.0 * frame_->pts * av_q2d(st->time_base) : -1;
      Av().av_frame_unref(frame_);
      if (got <= 0) continue;
      pending_.resize(static_cast<size_t>(got) * 2 * channels_);
      if (skipMs_ < 0) {
        skipMs_ = frameMs >= 0 ? std::max(0.0, baseMs_ - frameMs) : 0;
      }
      if (skipMs_ > 0) {
        size_t skipBytes = static_cast<size_t>(skipMs_ * rate_ / 1000.0) * 2 * channels_;
        size_t drop = std::min(skipBytes, pending_.size());
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(drop));
        skipMs_ -= 1000.0 * static_cast<double>(drop / (2 * channels_)) / rate_;
        if (pending_.empty()) continue;
      }
      framesOut_ += pending_.size() / (2 * channels_);
      return true;
    }
    if (err == AVERROR_EOF) {
      eof_ = true;
      break;
    }
    if (err != AVERROR(EAGAIN)) {
      eof_ = true;
      break;
    }
    int r = Av().av_read_frame(fmt_, pkt_);
    if (r < 0) {
      Av().avcodec_send_packet(dec_, nullptr);
      continue;
    }
    if (pkt_->stream_index == stream_) Av().avcodec_send_packet(dec_, pkt_);
    Av().av_packet_unref(pkt_);
  }
  return false;
}

size_t AudioFileDecoder::Read(uint8_t* dst, size_t max) {
  std::lock_guard<std::mutex> g(lock_);
  if (!dec_) return 0;
  size_t frame = static_cast<size_t>(2 * channels_);
  max -= max % frame;
  size_t done = 0;
  while (done < max) {
    if (pendingPos_ >= pending_.size() && !Refill()) break;
    size_t n = std::min(max - done, pending_.size() - pendingPos_);
    std::memcpy(dst + done, pending_.data() + pendingPos_, n);
    pendingPos_ += n;
    done += n;
  }
  return done;
}

}  // namespace engine::media
