#include "engine/media/FileWriteSide.h"

#include "engine/core/ComBase.h"

#include <string>
#include <vector>

namespace engine::media {

namespace {

// LAME's VBR levels for the bitrate a profile names (V0 best .. V9 smallest).
int VbrLevelFor(int bitRate) {
  const int kbps = bitRate / 1000;
  if (kbps >= 245) return 0;
  if (kbps >= 220) return 1;
  if (kbps >= 190) return 2;
  if (kbps >= 170) return 3;
  if (kbps >= 150) return 4;
  if (kbps >= 130) return 5;
  if (kbps >= 115) return 6;
  if (kbps >= 100) return 7;
  if (kbps >= 85) return 8;
  return 9;
}

HRESULT ReadSampleFormat(IMediaSample5* sample, PcmFormat* format) {
  ComPtr<IMediaAudioFormat5> f;
  HRESULT hr = sample->GetFormat(f.Out());
  if (FAILED(hr) || !f) return FAILED(hr) ? hr : MEDIA_E_UNSUPPORTED_FORMAT;
  LONG rate = 0, channels = 0, bits = 16;
  f->GetSampleRate(&rate);
  f->GetChannels(&channels);
  f->GetBitsPerSample(&bits);
  if (rate <= 0 || channels <= 0 || channels > 8 || (bits != 16 && bits != 0)) return MEDIA_E_UNSUPPORTED_FORMAT;
  format->sampleRate = rate;
  format->channels = channels;
  return S_OK;
}

}  // namespace

FileWriteSide::FileWriteSide() = default;
FileWriteSide::~FileWriteSide() {
  if (IsOpen()) Finish();
}

bool FileWriteSide::IsWritableContainer(LONG type) { return MuxerForContainer(type) != nullptr; }

HRESULT FileWriteSide::SetContainerType(LONG type) {
  if (!IsWritableContainer(type)) return MEDIA_E_UNSUPPORTED_CONTAINER;
  if (IsOpen()) return MEDIA_E_ALREADY_OPEN;
  settings_.containerType = type;
  containerSet_ = true;
  // A codec chosen earlier that this container cannot carry falls back to its own.
  if (settings_.codec != kCodecNone && !ContainerAccepts(type, settings_.codec)) settings_.codec = kCodecNone;
  return S_OK;
}

HRESULT FileWriteSide::SetStreamSettings(IMediaPropertyBag5* profile) {
  if (IsOpen()) return MEDIA_E_ALREADY_OPEN;
  if (!profile) return E_POINTER;
  EncoderSettings s = settings_;
  s.codec = kCodecNone;
  s.sampleRate = 44100;
  s.channels = 2;
  s.bitRate = 0;
  s.vbr = false;
  BSTR streams = SysAllocString(MEDIA_PROP_AUDIO_STREAM_INFO);
  BSTR avformat = SysAllocString(MEDIA_PROP_AV_FORMAT);
  LONG count = 0;
  profile->GetCount(streams, &count);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IMediaPropertyBag5> stream;
    if (FAILED(profile->GetObject(streams, i, IID_IMediaPropertyBag5, stream.OutVoid())) || !stream) continue;
    ComPtr<IMediaAudioFormat5> format;
    if (FAILED(stream->GetObject(avformat, 0, IID_IMediaAudioFormat5, format.OutVoid())) || !format) continue;
    // The last audio stream wins, as for the silence format of the driver.
    LONG kind = 0, codec = 0, rate = 0, channels = 0, bitrate = 0;
    format->GetKind(&kind);
    format->GetCodecId(&codec);
    format->GetSampleRate(&rate);
    format->GetChannels(&channels);
    format->GetBitrate(&bitrate);
    if (kind == MEDIA_FORMAT_KIND_MP3) codec = MEDIA_CODEC_MP3;
    if (kind == MEDIA_FORMAT_KIND_AAC) codec = MEDIA_CODEC_AAC;
    s.codec = codec;
    if (rate > 0) s.sampleRate = rate;
    if (channels > 0) s.channels = channels;
    s.bitRate = bitrate > 0 ? bitrate : 0;
    s.vbr = false;
    ComPtr<IMediaMp3Settings5> mp3;
    if (SUCCEEDED(format->QueryInterface(IID_IMediaMp3Settings5, mp3.OutVoid())) && mp3) {
      LONG mode = MEDIA_MP3_CBR;
      mp3->GetRateMode(&mode);
      s.vbr = mode == MEDIA_MP3_VBR;
      s.vbrQuality = VbrLevelFor(s.bitRate > 0 ? s.bitRate : 128000);
    }
  }
  SysFreeString(streams);
  SysFreeString(avformat);
  // A generic PCM format says PCM whatever the byte order; the container picks it.
  if (s.codec == kCodecPcm || s.codec == kCodecPcmBigEndian) s.codec = kCodecNone;
  if (s.codec != kCodecNone && !IsKnownCodec(s.codec)) {
    error_ = "unknown codec " + std::to_string(s.codec);
    return MEDIA_E_UNSUPPORTED_FORMAT;
  }
  if (containerSet_ && s.codec != kCodecNone && !ContainerAccepts(s.containerType, s.codec)) {
    error_ = std::string("the container cannot hold ") + CodecDisplayName(s.codec);
    return MEDIA_E_UNSUPPORTED_FORMAT;
  }
  // What the encoder or the muxer would refuse at the start is refused now,
  // with its reason, before any file exists.
  if (containerSet_ && AudioFileWriter::Check(s, &error_) != WriteStatus::Ok) return MEDIA_E_UNSUPPORTED_FORMAT;
  error_.clear();
  settings_ = s;
  return S_OK;
}

HRESULT FileWriteSide::MapStatus(WriteStatus s) {
  HRESULT hr;
  switch (s) {
    case WriteStatus::Ok:
      return S_OK;
    case WriteStatus::DiskFull:
      hr = MEDIA_E_DISK_FULL;
      break;
    case WriteStatus::BadSettings:
      hr = MEDIA_E_UNSUPPORTED_FORMAT;
      break;
    default:
      hr = E_FAIL;
      break;
  }
  if (writer_) error_ = writer_->LastError();
  if (SUCCEEDED(firstFailure_)) firstFailure_ = hr;
  return hr;
}

HRESULT FileWriteSide::Open(IMediaPropertyBag5* operation) {
  if (IsOpen()) return MEDIA_E_ALREADY_OPEN;
  if (!operation) return E_POINTER;
  if (!containerSet_) return MEDIA_E_UNSUPPORTED_CONTAINER;
  BSTR nameProp = SysAllocString(MEDIA_PROP_FILE_NAME);
  BSTR name = nullptr;
  HRESULT hr = operation->GetString(nameProp, 0, &name);
  SysFreeString(nameProp);
  fileName_ = FromWide(name);
  SysFreeString(name);
  if (FAILED(hr) || fileName_.empty()) return E_INVALIDARG;
  unixPath_ = ToUnixPath(fileName_);
  if (unixPath_.empty()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  firstFailure_ = S_OK;
  error_.clear();
  writtenMs_ = 0;
  written_ = false;
  input_ = PcmFormat{settings_.sampleRate, settings_.channels};
  writer_ = std::make_unique<AudioFileWriter>();
  WriteStatus s = writer_->Open(unixPath_, settings_, input_);
  if (s != WriteStatus::Ok) {
    error_ = writer_->LastError();
    writer_.reset();
    if (s == WriteStatus::DiskFull) return MEDIA_E_DISK_FULL;
    if (s == WriteStatus::BadSettings) return MEDIA_E_UNSUPPORTED_FORMAT;
    return HRESULT_FROM_WIN32(ERROR_CANNOT_MAKE);
  }
  return S_OK;
}

HRESULT FileWriteSide::WriteSample(IMediaSample5* sample) {
  if (!IsOpen()) return MEDIA_E_NOT_OPEN;
  if (!sample) return E_POINTER;
  if (FAILED(firstFailure_)) return firstFailure_;
  LONG type = MEDIA_STREAM_AUDIO;
  sample->GetStreamType(&type);
  if (type != MEDIA_STREAM_AUDIO) return MEDIA_E_UNSUPPORTED_FORMAT;
  PcmFormat format;
  HRESULT hr = ReadSampleFormat(sample, &format);
  if (FAILED(hr)) return hr;
  if (format.sampleRate != writer_->InputFormat().sampleRate || format.channels != writer_->InputFormat().channels) {
    hr = MapStatus(writer_->SetInputFormat(format));
    if (FAILED(hr)) return hr;
  }
  BYTE* data = nullptr;
  LONG capacity = 0, length = 0;
  if (FAILED(sample->GetBuffer(&data, &capacity)) || FAILED(sample->GetLength(&length))) return E_FAIL;
  if (length <= 0) return S_OK;
  if (!data || length > capacity) return E_INVALIDARG;
  hr = MapStatus(writer_->Write(data, static_cast<size_t>(length)));
  writtenMs_ = writer_->WrittenMs();
  written_ = true;
  return hr;
}

HRESULT FileWriteSide::Finish() {
  if (!writer_) return MEDIA_E_NOT_OPEN;
  writtenMs_ = writer_->WrittenMs();
  // A write failure was already reported to the writer of the samples; the
  // file is then closed with what reached the disk, and that succeeds.
  const bool reported = FAILED(firstFailure_);
  HRESULT hr = MapStatus(writer_->Finish());
  writer_.reset();
  return reported ? S_FALSE : hr;
}

}  // namespace engine::media
