#include "engine/media/PcmHeaderPatcher.h"

#include "engine/media/EncoderSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace engine::media {

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint32_t Be32(const uint8_t* p) { return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

}  // namespace

PcmHeaderPatcher::~PcmHeaderPatcher() { Detach(); }

bool PcmHeaderPatcher::Attach(const std::string& path, int containerType, int frameBytes) {
  Detach();
  container_ = containerType;
  frameBytes_ = frameBytes;
  fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) return false;
  std::vector<uint8_t> head(4096);
  ssize_t n = ::pread(fd_, head.data(), head.size(), 0);
  bool ok = false;
  if (n > 0) {
    switch (containerType) {
      case kContainerWav:
        ok = ParseWav(head.data(), static_cast<size_t>(n));
        break;
      case kContainerAiff:
        ok = ParseAiff(head.data(), static_cast<size_t>(n));
        break;
      case kContainerAu:
        ok = ParseAu(head.data(), static_cast<size_t>(n));
        break;
      default:
        break;
    }
  }
  if (!ok) Detach();
  return ok;
}

void PcmHeaderPatcher::Detach() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  dataStart_ = dataSizeOffset_ = factOffset_ = commFramesOffset_ = 0;
}

bool PcmHeaderPatcher::ParseWav(const uint8_t* h, size_t n) {
  if (n < 12 || std::memcmp(h, "RIFF", 4) != 0 || std::memcmp(h + 8, "WAVE", 4) != 0) return false;
  size_t pos = 12;
  while (pos + 8 <= n) {
    uint32_t size = Le32(h + pos + 4);
    if (std::memcmp(h + pos, "data", 4) == 0) {
      dataSizeOffset_ = pos + 4;
      dataStart_ = pos + 8;
      return true;
    }
    if (std::memcmp(h + pos, "fact", 4) == 0) factOffset_ = pos + 8;
    pos += 8 + size + (size & 1);
  }
  return false;
}

bool PcmHeaderPatcher::ParseAiff(const uint8_t* h, size_t n) {
  if (n < 12 || std::memcmp(h, "FORM", 4) != 0) return false;
  size_t pos = 12;
  while (pos + 8 <= n) {
    uint32_t size = Be32(h + pos + 4);
    if (std::memcmp(h + pos, "COMM", 4) == 0) commFramesOffset_ = pos + 10;
    if (std::memcmp(h + pos, "SSND", 4) == 0) {
      if (pos + 16 > n) return false;
      dataSizeOffset_ = pos + 4;
      dataStart_ = pos + 16 + Be32(h + pos + 8);
      return commFramesOffset_ != 0;
    }
    pos += 8 + size + (size & 1);
  }
  return false;
}

bool PcmHeaderPatcher::ParseAu(const uint8_t* h, size_t n) {
  if (n < 24 || std::memcmp(h, ".snd", 4) != 0) return false;
  dataStart_ = Be32(h + 4);
  dataSizeOffset_ = 8;
  return dataStart_ >= 24;
}

bool PcmHeaderPatcher::Put32(uint64_t offset, uint32_t v, bool bigEndian) {
  uint8_t b[4];
  if (bigEndian) {
    b[0] = v >> 24;
    b[1] = v >> 16;
    b[2] = v >> 8;
    b[3] = v;
  } else {
    b[0] = v;
    b[1] = v >> 8;
    b[2] = v >> 16;
    b[3] = v >> 24;
  }
  return ::pwrite(fd_, b, 4, static_cast<off_t>(offset)) == 4;
}

uint64_t PcmHeaderPatcher::FramesOnDisk() const {
  struct stat st;
  if (fd_ < 0 || frameBytes_ <= 0 || ::fstat(fd_, &st) != 0) return 0;
  uint64_t size = static_cast<uint64_t>(st.st_size);
  return size > dataStart_ ? (size - dataStart_) / static_cast<uint64_t>(frameBytes_) : 0;
}

bool PcmHeaderPatcher::Seal() {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (frameBytes_ > 0 && size > dataStart_) {
    const uint64_t partial = (size - dataStart_) % static_cast<uint64_t>(frameBytes_);
    if (partial > 0 && ::ftruncate(fd_, static_cast<off_t>(size - partial)) != 0) return false;
  }
  return Update();
}

bool PcmHeaderPatcher::Update() {
  if (fd_ < 0) return false;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return false;
  uint64_t size = static_cast<uint64_t>(st.st_size);
  uint64_t data = size > dataStart_ ? size - dataStart_ : 0;
  // A partly written last frame is left out of the counts.
  if (frameBytes_ > 0) data -= data % static_cast<uint64_t>(frameBytes_);
  if (data > 0xFFFFFF00u - dataStart_) data = 0xFFFFFF00u - dataStart_;
  uint64_t end = dataStart_ + data;
  bool ok = true;
  switch (container_) {
    case kContainerWav:
      ok &= Put32(4, static_cast<uint32_t>(end - 8), false);
      ok &= Put32(dataSizeOffset_, static_cast<uint32_t>(data), false);
      if (factOffset_ && frameBytes_ > 0) ok &= Put32(factOffset_, static_cast<uint32_t>(data / frameBytes_), false);
      break;
    case kContainerAiff:
      ok &= Put32(4, static_cast<uint32_t>(end - 8), true);
      ok &= Put32(dataSizeOffset_, static_cast<uint32_t>(end - dataSizeOffset_ - 4), true);
      if (frameBytes_ > 0) ok &= Put32(commFramesOffset_, static_cast<uint32_t>(data / frameBytes_), true);
      break;
    case kContainerAu:
      ok &= Put32(dataSizeOffset_, static_cast<uint32_t>(data), true);
      break;
    default:
      return false;
  }
  return ok;
}

}  // namespace engine::media
