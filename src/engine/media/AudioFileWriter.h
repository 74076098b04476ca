// Encodes interleaved 16-bit PCM into one output file of any container the
// engine writes, through FFmpeg's encoders and muxers (AMR NB and WB frames
// come from their own encoders and go through FFmpeg's muxers).
#pragma once

#include "engine/media/EncoderSettings.h"
#include "engine/media/PcmHeaderPatcher.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVStream;
struct AVCodecContext;
struct SwrContext;
struct AVAudioFifo;
struct AVFrame;
struct AVPacket;
struct AVCodec;

namespace engine::media {

enum class WriteStatus {
  Ok,
  DiskFull,     // the file system refused more bytes (no space, size limit, quota)
  BadSettings,  // the container or codec cannot be made with these settings
  Failed,       // any other failure of the encoder, muxer or file
};

class AudioFileWriter {
 public:
  AudioFileWriter();
  ~AudioFileWriter();
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  // Whether a file with these settings can be made (encoder and header, in
  // memory); `error` says why not.
  static WriteStatus Check(const EncoderSettings& settings, std::string* error);

  // `path` is a file-system path of this machine.
  WriteStatus Open(const std::string& path, const EncoderSettings& settings, const PcmFormat& input);
  // Later input arrives in another format (rate or channels); what came before
  // is converted in full first.
  WriteStatus SetInputFormat(const PcmFormat& input);
  const PcmFormat& InputFormat() const { return input_; }
  // Takes whole sample frames of the input format.
  WriteStatus Write(const uint8_t* pcm, size_t bytes);
  // Drains the encoder and closes the file; after a write failure it still
  // leaves the file with headers that match what reached the disk.
  WriteStatus Finish();

  bool IsOpen() const { return fmt_ != nullptr; }
  // Milliseconds of input taken so far. A block refused by a failed write
  // counts only as far as it reached the file.
  double WrittenMs() const;
  uint64_t FileBytes() const;
  const std::string& LastError() const { return error_; }
  // What the file really holds (the encoder may have moved to a rate it supports).
  int OutputSampleRate() const { return outRate_; }
  int OutputChannels() const { return outChannels_; }
  int Codec() const { return codec_; }

 private:
  WriteStatus OpenSteps(const std::string& path, const EncoderSettings& settings);
  WriteStatus SetUpEncoder(const EncoderSettings& s);
  // A new encoder context for the output format, opened; `bitRate` 0 leaves
  // the codec's own. A negative AVERROR when the codec refuses, with enc_
  // still holding the context it refused.
  int OpenEncoder(const AVCodec* codec, const EncoderSettings& s, int64_t bitRate);
  int64_t BitRateTakenNear(const AVCodec* codec, const EncoderSettings& s, int64_t usual);
  WriteStatus SetUpAmr(const EncoderSettings& s);
  WriteStatus Take(const uint8_t* pcm, int frames);
  void CountRefusedBlock(uint64_t acceptedFrames);
  WriteStatus Convert(const uint8_t* pcm, int frames);
  bool MakeResampler();
  WriteStatus EncodeQueued(bool flush);
  WriteStatus SendFrame(AVFrame* frame);
  WriteStatus WritePacket(AVPacket* pkt);
  WriteStatus Fail(int averror, const char* what);
  void Release();

  std::string path_;
  int container_ = 0;
  int codec_ = 0;
  PcmFormat input_;
  uint64_t inputFrames_ = 0;
  double inputMsBefore_ = 0;  // input taken in earlier input formats
  double cutMs_ = -1;         // what the file holds after a refused block
  int outRate_ = 0;
  int outChannels_ = 0;
  int outFormat_ = 0;  // AVSampleFormat
  int frameSize_ = 0;
  int64_t nextPts_ = 0;

  // Owners of the native objects; each deleter takes null.
  struct CloseFormat {
    void operator()(AVFormatContext* p) const;  // closes the file too
  };
  struct FreeEncoder {
    void operator()(AVCodecContext* p) const;
  };
  struct FreeResampler {
    void operator()(SwrContext* p) const;
  };
  struct FreeFifo {
    void operator()(AVAudioFifo* p) const;
  };
  struct FreeFrame {
    void operator()(AVFrame* p) const;
  };
  struct FreePacket {
    void operator()(AVPacket* p) const;
  };
  struct EndAmrEncoder {
    void operator()(void* p) const;
  };
  struct EndAmrWbEncoder {
    void operator()(void* p) const;
  };
  struct FreeSamples {
    void operator()(uint8_t* p) const;
  };

  std::unique_ptr<AVFormatContext, CloseFormat> fmt_;
  AVStream* stream_ = nullptr;  // fmt_'s, not owned
  std::unique_ptr<AVCodecContext, FreeEncoder> enc_;
  std::unique_ptr<SwrContext, FreeResampler> swr_;
  std::unique_ptr<AVAudioFifo, FreeFifo> fifo_;
  std::unique_ptr<AVFrame, FreeFrame> frame_;
  std::unique_ptr<AVPacket, FreePacket> pkt_;
  std::unique_ptr<void, EndAmrEncoder> amr_;
  std::unique_ptr<void, EndAmrWbEncoder> amrWb_;
  int amrMode_ = 7;
  // Converted samples: one block, planes pointing into it.
  std::unique_ptr<uint8_t, FreeSamples> convertBuffer_;
  std::vector<uint8_t*> convertPlanes_;
  int convertCapacity_ = 0;

  PcmHeaderPatcher patcher_;
  WriteStatus state_ = WriteStatus::Ok;
  bool headerWritten_ = false;
  bool dryRun_ = false;  // Check: the header goes to memory
  std::string error_;
};

}  // namespace engine::media
