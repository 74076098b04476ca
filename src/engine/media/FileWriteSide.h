// The write side of the engine's media file object: container type and stream
// settings from the profile, then command 0 creates the file, samples are
// encoded as they come, command 3 finishes it. The media file class holds one
// of these and forwards its write-side calls here.
#pragma once

#include "engine/MediaEngine.h"
#include "engine/media/AudioFileWriter.h"

#include <memory>
#include <string>

namespace engine::media {

class FileWriteSide {
 public:
  FileWriteSide();
  ~FileWriteSide();

  // MEDIA_E_UNSUPPORTED_CONTAINER for a type the engine does not write.
  static bool IsWritableContainer(LONG type);
  HRESULT SetContainerType(LONG type);
  // Takes the codec settings of the profile's last audio stream ("AudioStreamInfo"
  // elements, each with its "AVFormat"); MEDIA_E_UNSUPPORTED_FORMAT when the
  // container cannot carry that codec or the codec cannot record those values.
  HRESULT SetStreamSettings(IMediaPropertyBag5* profile);
  // Command 0 with "Operation" 2: creates the file named by "FileName" (a
  // Windows path). E_INVALIDARG without a name; MEDIA_E_DISK_FULL when not even
  // the header fits.
  HRESULT Open(IMediaPropertyBag5* operation);
  // Encodes an audio sample (16-bit PCM in the sample's format). A full disk
  // gives MEDIA_E_DISK_FULL; the file stays playable up to what was written.
  HRESULT WriteSample(IMediaSample5* sample);
  // Command 3. After a write failure (already reported by WriteSample) it
  // still leaves a playable file and answers S_FALSE.
  HRESULT Finish();

  bool IsOpen() const { return writer_ && writer_->IsOpen(); }
  bool HasWritten() const { return written_; }
  LONG ContainerType() const { return settings_.containerType; }
  const EncoderSettings& Settings() const { return settings_; }
  const std::u16string& FileName() const { return fileName_; }
  // Milliseconds of sound taken so far (of the file being written, or of the
  // one just finished).
  double WrittenMs() const { return writtenMs_; }
  const std::string& LastError() const { return error_; }

 private:
  HRESULT MapStatus(WriteStatus s);

  EncoderSettings settings_;
  bool containerSet_ = false;
  std::unique_ptr<AudioFileWriter> writer_;
  PcmFormat input_;
  std::u16string fileName_;
  std::string unixPath_;
  double writtenMs_ = 0;
  bool written_ = false;
  HRESULT firstFailure_ = S_OK;
  std::string error_;
};

}  // namespace engine::media
