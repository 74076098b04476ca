// What a recording leaves behind when things go wrong: a full disk, a capture
// device that disappears, a process killed in the middle.
#include "recording_support.h"
#include "file_size_limit.h"

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

using namespace recording_test;

class RecordingFailures : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

namespace {

const FormatCase kAiff{"AIFF", MEDIA_CONTAINER_AIFF, ".aif", MEDIA_CODEC_PCM_BE, 44100, 2, 0, "aiff", "pcm_s16be"};
const FormatCase kAu{"AU", MEDIA_CONTAINER_AU, ".au", MEDIA_CODEC_PCM_BE, 44100, 2, 0, "au", "pcm_s16be"};
const FormatCase kM4a{"M4A", MEDIA_CONTAINER_MP4, ".m4a", MEDIA_CODEC_AAC, 44100, 2, 128000, "mov", "aac"};

// `slackMs`: how far the duration reported for the cut file may stray from
// what it plays.
void ExpectDiskFullLeavesPlayableFile(const FormatCase& format, rlim_t limit, double minMs, double slackMs) {
  TempFolder folder;
  DriverOptions o;
  o.format = format;
  int blocks = 0;
  o.progress = [&](double, LONG*, bool* stop) { *stop = ++blocks >= 40; };
  DriverResult r;
  {
    FileSizeLimit full(limit);
    r = RunRecording(folder, o);
  }
  // The write fails with the disk-full error and the driver's copy error, and
  // nothing else: finishing the cut file succeeds.
  ASSERT_EQ(std::vector<int>{6}, r.errors);
  EXPECT_EQ(MEDIA_E_DISK_FULL, r.failure);
  ASSERT_EQ(1u, r.files.size());
  EXPECT_LE(FileSize(r.files[0].unixPath), static_cast<long>(limit));
  Probe p = ProbeFile(r.files[0].unixPath);
  ASSERT_TRUE(p.ok) << p.raw;
  EXPECT_EQ(format.probeCodec, p.codec);
  EXPECT_GT(PlayableMs(p), minMs) << p.raw;
  EXPECT_NEAR(PlayableMs(p), r.files[0].writtenMs, slackMs) << p.raw;
}

TEST_F(RecordingFailures, AFullDiskEndsTheWriteWithItsOwnErrorAndLeavesAPlayableWav) {
  // 176,400 bytes a second: the limit cuts in during the third second.
  ExpectDiskFullLeavesPlayableFile(kWav, 400 * 1024, 2000, 5);
}

TEST_F(RecordingFailures, AFullDiskLeavesAPlayableMp3) { ExpectDiskFullLeavesPlayableFile(kMp3, 40 * 1024, 2000, 100); }

// A second sine source that the test may take away without disturbing others.
struct VanishingSource {
  VanishingSource() {
    FILE* p = popen(
        "pactl load-module module-sine-source source_name=sondrel_vanish "
        "rate=44100 frequency=660 2>/dev/null",
        "r");
    char buf[64] = {0};
    if (p) {
      if (!fgets(buf, sizeof buf, p)) buf[0] = 0;
      pclose(p);
    }
    module = std::atoi(buf);
  }
  ~VanishingSource() { Unload(); }
  void Unload() {
    if (module > 0) RunShell("pactl unload-module " + std::to_string(module));
    module = 0;
  }
  int module = 0;
};

TEST_F(RecordingFailures, ACaptureDeviceThatDisappearsEndsTheRecordingWithAnError) {
  VanishingSource vanishing;
  ASSERT_GT(vanishing.module, 0);
  ComPtr<IMediaCaptureSource5> capture =
      Create<IMediaCaptureSource5>(CLSID_MediaCaptureSource5, IID_IMediaCaptureSource5);
  // The newest sine source is the one just loaded.
  ASSERT_TRUE(capture && SelectDevice(capture.Get(), u"Sine", true));
  TempFolder folder;
  DriverOptions o;
  o.format = kWav;
  o.capture = capture.Get();
  int blocks = 0;
  std::thread remover;
  o.progress = [&](double, LONG*, bool* stop) {
    if (++blocks == 2) remover = std::thread([&] { vanishing.Unload(); });
    *stop = blocks >= 40;  // 20 s: far beyond the removal
  };
  auto begin = std::chrono::steady_clock::now();
  DriverResult r = RunRecording(folder, o);
  if (remover.joinable()) remover.join();
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(10));
  ASSERT_EQ(std::vector<int>{6}, r.errors);
  EXPECT_EQ(MEDIA_E_DEVICE_LOST, r.failure);
  ASSERT_EQ(1u, r.files.size());
  Probe p = ProbeFile(r.files[0].unixPath);
  ASSERT_TRUE(p.ok) << p.raw;
  EXPECT_GE(PlayableMs(p), 900);

  // Back again, the device records as before.
  VanishingSource back;
  ASSERT_GT(back.module, 0);
  ASSERT_TRUE(SelectDevice(capture.Get(), u"Sine", true));
  blocks = 0;
  o.progress = [&](double, LONG*, bool* stop) { *stop = ++blocks >= 2; };
  TempFolder again;
  DriverResult r2 = RunRecording(again, o);
  EXPECT_TRUE(r2.errors.empty());
}

// Run in a child process by the test below: records until it is killed.
TEST_F(RecordingFailures, DISABLED_RecordUntilKilled) {
  const char* folderEnv = std::getenv("SONDREL_KILL_FOLDER");
  const char* which = std::getenv("SONDREL_KILL_FORMAT");
  if (!folderEnv || !which) GTEST_SKIP();
  const FormatCase* all[] = {&kWav, &kAiff, &kAu, &kM4a, &kMp3};
  DriverOptions o;
  o.format = *all[std::atoi(which)];
  std::string progress = std::string(folderEnv) + "/progress";
  o.progress = [&](double written, LONG*, bool* stop) {
    // Tells the parent how far the file has got.
    FILE* f = std::fopen(progress.c_str(), "w");
    if (f) {
      std::fprintf(f, "%.0f\n", written);
      std::fclose(f);
    }
    *stop = false;
  };
  TempFolder folder;
  RunShell("rmdir '" + folder.unix + "'");
  folder.unix = folderEnv;
  RunRecording(folder, o);
  folder.unix.clear();
}

TEST_F(RecordingFailures, AKilledRecordingLeavesAPlayableFile) {
  const FormatCase* all[] = {&kWav, &kAiff, &kAu, &kM4a, &kMp3};
  const char* loader = std::getenv("WINELOADER");
  ASSERT_TRUE(loader);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(all[i]->name);
    TempFolder folder;
    setenv("SONDREL_KILL_FOLDER", folder.unix.c_str(), 1);
    setenv("SONDREL_KILL_FORMAT", std::to_string(i).c_str(), 1);
    std::string self =
        std::string(::testing::UnitTest::GetInstance()->original_working_dir()) + "/engine_recording_test.exe.so";
    std::string filter = "--gtest_filter=RecordingFailures.DISABLED_RecordUntilKilled";
    const char* argv[] = {loader, self.c_str(), filter.c_str(), "--gtest_also_run_disabled_tests", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(0, posix_spawn(&pid, loader, nullptr, nullptr, const_cast<char* const*>(argv), environ));
    std::string file = folder.unix + "/Record-000" + all[i]->extension;
    // Once three seconds are written, kill it outright.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    double written = 0;
    while (written < 3000 && std::chrono::steady_clock::now() < deadline) {
      Sleep(20);
      FILE* f = std::fopen((folder.unix + "/progress").c_str(), "r");
      if (f) {
        if (std::fscanf(f, "%lf", &written) != 1) written = 0;
        std::fclose(f);
      }
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    unsetenv("SONDREL_KILL_FOLDER");
    Probe p = ProbeFile(file);
    ASSERT_TRUE(p.ok) << p.raw;
    EXPECT_EQ(all[i]->probeCodec, p.codec);
    // Playable up to its last second: all that was written before the kill,
    // less at most a second the encoder or muxer still held; the recorder may
    // have written one more burst meanwhile.
    EXPECT_GE(PlayableMs(p), written - 1000) << p.raw;
    EXPECT_LE(PlayableMs(p), 5100) << p.raw;
  }
}

}  // namespace
