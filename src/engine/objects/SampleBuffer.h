// E2: the sample buffer class.
// Sample buffer: a block of interleaved 16-bit PCM with its format and times.
#pragma once

#include "engine/core/ComBase.h"

#include <vector>

namespace engine {

class CSampleBuffer : public ComClass, public IMediaSample5 {
 public:
  CSampleBuffer() = default;
  void* FindInterface(REFIID riid);

  // For the engine's own producers: format and data in one go.
  void Assign(int sampleRate, int channels, std::vector<BYTE>&& data, double start);
  int SampleRate() const { return rate_; }
  int Channels() const { return channels_; }

  HRESULT STDMETHODCALLTYPE GetStreamType(LONG* type) override;
  HRESULT STDMETHODCALLTYPE SetFormat(IMediaAudioFormat5* format) override;
  HRESULT STDMETHODCALLTYPE GetFormat(IMediaAudioFormat5** format) override;
  HRESULT STDMETHODCALLTYPE Allocate(LONG bytes) override;
  HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, LONG* capacity) override;
  HRESULT STDMETHODCALLTYPE GetLength(LONG* bytes) override;
  HRESULT STDMETHODCALLTYPE SetLength(LONG bytes) override;
  HRESULT STDMETHODCALLTYPE GetTimes(double* start, double* end) override;
  HRESULT STDMETHODCALLTYPE SetTimes(double start, double end) override;
  HRESULT STDMETHODCALLTYPE GetDuration(double* ms) override;

 private:
  double BytesToMs(size_t bytes) const;

  ComPtr<IMediaAudioFormat5> format_;
  int rate_ = 44100;
  int channels_ = 2;
  int bits_ = 16;
  std::vector<BYTE> data_;
  size_t length_ = 0;
  double start_ = 0;
  double end_ = -1;  // -1: derived from the length
};

}  // namespace engine
