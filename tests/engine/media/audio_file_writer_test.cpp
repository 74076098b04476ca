// The file writer on its own: what a full disk leaves in a WAV header, and
// opens that fail part-way through.
#include "sondrel_gtest.h"
#include "file_size_limit.h"

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/AudioFileWriter.h"
#include "engine/media/PcmHeaderPatcher.h"

extern "C" {
#include <libavutil/mem.h>
}

using namespace engine::media;

namespace {

struct TempDir {
  TempDir() {
    char pattern[] = "/tmp/sondrel-writer-XXXXXX";
    const char* made = mkdtemp(pattern);
    path = made ? made : "";
  }
  ~TempDir() {
    if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
  }
  std::string path;
};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Stereo 16-bit sound of a steady tone, `ms` long.
std::vector<uint8_t> Tone(int ms) {
  std::vector<uint8_t> pcm(static_cast<size_t>(44100) * ms / 1000 * 4);
  for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
    const int16_t v = static_cast<int16_t>((i / 2 % 100) * 300 - 15000);
    pcm[i] = static_cast<uint8_t>(v & 0xFF);
    pcm[i + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
  }
  return pcm;
}

// The data chunk's size and where its bytes begin, or a start of 0.
std::pair<uint32_t, size_t> DataChunk(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return {0, 0};
  size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    const uint32_t size = Le32(bytes, pos + 4);
    if (std::memcmp(&bytes[pos], "data", 4) == 0) return {size, pos + 8};
    pos += 8 + size + (size & 1);
  }
  return {0, 0};
}

TEST(AudioFileWriter, AWavCutOffAFrameBoundaryCountsOnlyWholeFramesAndEndsWithThem) {
  TempDir dir;
  const std::string path = dir.path + "/cut.wav";
  EncoderSettings settings;  // WAV, 16-bit stereo
  AudioFileWriter writer;
  ASSERT_EQ(WriteStatus::Ok, writer.Open(path, settings, PcmFormat{44100, 2})) << writer.LastError();
  const size_t dataStart = DataChunk(ReadFile(path)).second;
  ASSERT_GT(dataStart, 0u);
  // The disk fills two bytes into a frame.
  const rlim_t limit = dataStart + 300 * 1024 + 2;
  const std::vector<uint8_t> block = Tone(500);
  WriteStatus status = WriteStatus::Ok;
  {
    FileSizeLimit full(limit);
    for (int i = 0; i < 10 && status == WriteStatus::Ok; ++i) status = writer.Write(block.data(), block.size());
    EXPECT_EQ(WriteStatus::DiskFull, status);
    EXPECT_EQ(WriteStatus::DiskFull, writer.Finish());
  }

  const std::vector<uint8_t> bytes = ReadFile(path);
  const std::pair<uint32_t, size_t> data = DataChunk(bytes);
  ASSERT_EQ(dataStart, data.second);
  EXPECT_EQ(300u * 1024, data.first);
  EXPECT_EQ(bytes.size(), dataStart + data.first);
  EXPECT_EQ(bytes.size() - 8, Le32(bytes, 4));
  EXPECT_NEAR(1000.0 * data.first / 4 / 44100, writer.WrittenMs(), 0.05);
}

// A 44-byte WAV header (16-bit stereo) with `frames` frames and `extra` bytes
// of a frame cut short after it, sizes as a killed recording left them.
std::vector<uint8_t> WavWithTail(uint32_t frames, uint32_t extra) {
  std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 36, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                            ' ', 16,  0,   0,   0,  1, 0,   2,   0,   0x44, 0xAC, 0,   0,   0x10, 0xB1,
                            2,   0,   4,   0,   16, 0, 'd', 'a', 't', 'a',  0,    0,   0,   0};
  b.resize(b.size() + frames * 4 + extra, 0x11);
  return b;
}

TEST(PcmHeaderPatcher, CountsWholeFramesAndSealingCutsThePartOfOne) {
  TempDir dir;
  const std::string path = dir.path + "/tail.wav";
  const std::vector<uint8_t> bytes = WavWithTail(10, 3);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

  PcmHeaderPatcher patcher;
  ASSERT_TRUE(patcher.Attach(path, kContainerWav, 4));
  EXPECT_EQ(44u, patcher.DataStart());
  ASSERT_TRUE(patcher.Update());
  std::vector<uint8_t> now = ReadFile(path);
  EXPECT_EQ(40u, DataChunk(now).first);
  EXPECT_EQ(36u + 40, Le32(now, 4));
  EXPECT_EQ(10u, patcher.FramesOnDisk());

  ASSERT_TRUE(patcher.Seal());
  now = ReadFile(path);
  EXPECT_EQ(44u + 40, now.size());
  EXPECT_EQ(40u, DataChunk(now).first);
  EXPECT_EQ(now.size() - 8, Le32(now, 4));
}

int OpenDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

// An allocation limit that rises step by step makes each step of opening fail
// in turn; after every failure the writer holds nothing and is closed.
TEST(AudioFileWriter, AnOpenThatFailsPartWayLeavesNothingOpen) {
  TempDir dir;
  EncoderSettings wav, mp3, amr;
  mp3.containerType = kContainerMp3;
  mp3.codec = kCodecMp3;
  mp3.bitRate = 128000;
  amr.containerType = kContainerAmr;
  amr.codec = kCodecAmrNb;
  amr.sampleRate = 8000;
  amr.channels = 1;
  std::set<std::string> failures;
  for (const EncoderSettings& settings : {wav, mp3, amr}) {
    const std::string path = dir.path + "/part" + std::to_string(settings.containerType);
    {
      // Once in full, so that what FFmpeg sets up for good is there before counting.
      AudioFileWriter writer;
      ASSERT_EQ(WriteStatus::Ok, writer.Open(path, settings, PcmFormat{44100, 2})) << writer.LastError();
      EXPECT_EQ(WriteStatus::Ok, writer.Finish());
    }
    const int descriptors = OpenDescriptors();
    bool opened = false;
    for (size_t limit = 64; limit < (size_t{64} << 20) && !opened; limit += limit / 16) {
      av_max_alloc(limit);
      AudioFileWriter writer;
      const WriteStatus status = writer.Open(path, settings, PcmFormat{44100, 2});
      av_max_alloc(INT_MAX);
      opened = status == WriteStatus::Ok;
      if (opened) break;
      failures.insert(writer.LastError());
      EXPECT_FALSE(writer.IsOpen()) << writer.LastError();
      const std::vector<uint8_t> block = Tone(20);
      EXPECT_NE(WriteStatus::Ok, writer.Write(block.data(), block.size())) << writer.LastError();
      EXPECT_EQ(descriptors, OpenDescriptors()) << writer.LastError();
    }
    av_max_alloc(INT_MAX);
    EXPECT_TRUE(opened);
  }
  std::string seen;
  for (const std::string& f : failures) seen += f + "; ";
  EXPECT_GE(failures.size(), 3u) << seen;
}

}  // namespace
