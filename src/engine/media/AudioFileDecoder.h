// Decodes the first audio stream of a file into interleaved 16-bit PCM (at
// most two channels, the stream's own rate), for playback.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVFrame;
struct AVPacket;

namespace engine::media {

class AudioFileDecoder {
 public:
  AudioFileDecoder() = default;
  ~AudioFileDecoder();
  AudioFileDecoder(const AudioFileDecoder&) = delete;
  AudioFileDecoder& operator=(const AudioFileDecoder&) = delete;

  bool Open(const std::string& path, std::string* error);
  void Close();
  bool IsOpen() const;
  int SampleRate() const { return rate_; }
  int Channels() const { return channels_; }
  double DurationMs() const { return durationMs_; }
  // Next position to be decoded.
  double PositionMs() const;
  bool Seek(double ms);
  // Up to `max` bytes of whole frames; 0 at the end or on a decoding failure.
  size_t Read(uint8_t* dst, size_t max);

 private:
  bool Refill();

  mutable std::mutex lock_;
  AVFormatContext* fmt_ = nullptr;
  AVCodecContext* dec_ = nullptr;
  SwrContext* swr_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* pkt_ = nullptr;
  int stream_ = -1;
  int rate_ = 0;
  int channels_ = 0;
  double durationMs_ = 0;
  uint64_t framesOut_ = 0;
  double baseMs_ = 0;
  double skipMs_ = 0;  // decoded sound before a seek target, dropped
  bool eof_ = false;
  std::vector<uint8_t> pending_;
  size_t pendingPos_ = 0;
};

}  // namespace engine::media
