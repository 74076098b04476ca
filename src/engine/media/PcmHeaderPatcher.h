// Keeps the size fields of a WAV, AIFF or AU header true to the bytes already
// on disk, so that a recording cut short (killed process, full disk) still
// plays up to its last written sample.
#pragma once

#include <cstdint>
#include <string>

namespace engine::media {

class PcmHeaderPatcher {
 public:
  PcmHeaderPatcher() = default;
  ~PcmHeaderPatcher();
  PcmHeaderPatcher(const PcmHeaderPatcher&) = delete;
  PcmHeaderPatcher& operator=(const PcmHeaderPatcher&) = delete;

  // Reads the header already written to `path`. `frameBytes` is the size of
  // one sample frame (all channels); 0 leaves frame counts alone.
  bool Attach(const std::string& path, int containerType, int frameBytes);
  // Rewrites the sizes for the file's current length on disk.
  bool Update();
  // The last update, once nothing writes to the file any more: a partly
  // written last frame is cut off, so the sizes match the file's length.
  bool Seal();
  void Detach();
  bool IsAttached() const { return fd_ >= 0; }
  uint64_t DataStart() const { return dataStart_; }
  // Whole sample frames of sound now on disk (0 when frames are not counted).
  uint64_t FramesOnDisk() const;

 private:
  bool ParseWav(const uint8_t* h, size_t n);
  bool ParseAiff(const uint8_t* h, size_t n);
  bool ParseAu(const uint8_t* h, size_t n);
  bool Put32(uint64_t offset, uint32_t value, bool bigEndian);

  int fd_ = -1;
  int container_ = 0;
  int frameBytes_ = 0;
  uint64_t dataStart_ = 0;
  uint64_t dataSizeOffset_ = 0;
  uint64_t factOffset_ = 0;        // WAV sample count, 0 when absent
  uint64_t commFramesOffset_ = 0;  // AIFF frame count
};

}  // namespace engine::media
