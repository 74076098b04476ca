// Splitting a recording at markers, by size and on request, and pausing it.
#include "recording_support.h"

#include <chrono>

using namespace recording_test;

class RecordingSplits : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

namespace {

TEST_F(RecordingSplits, MarkersEveryTwoSecondsOverSevenGiveFourFilesInSequence) {
  TempFolder folder;
  DriverOptions o;
  o.format = kWav;
  o.splitFlags = MEDIA_SPLIT_AT_MARKERS;
  o.markerEverySeconds = 2;
  int blocks = 0;
  o.progress = [&](double, LONG*, bool* stop) { *stop = ++blocks >= 14; };  // 14 x 500 ms
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty());
  ASSERT_EQ(4u, r.files.size());
  const double expected[] = {2000, 2000, 2000, 1000};
  for (size_t i = 0; i < 4; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/Record-%03zu.wav", i);
    EXPECT_EQ(folder.unix + name, r.files[i].unixPath);
    Probe p = ProbeFile(r.files[i].unixPath);
    ASSERT_TRUE(p.ok) << p.raw;
    EXPECT_NEAR(expected[i], PlayableMs(p), 100) << "file " << i;
  }
}

TEST_F(RecordingSplits, SizeSplitKeepsEveryFileWithinTheLimitAndLosesNothing) {
  TempFolder folder;
  DriverOptions o;
  o.format = kMp3;
  o.splitFlags = MEDIA_SPLIT_BY_SIZE;
  o.splitKilobytes = 64;
  int blocks = 0;
  o.progress = [&](double, LONG*, bool* stop) { *stop = ++blocks >= 16; };  // 8 s, about 128 KB
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty());
  ASSERT_GE(r.files.size(), 3u);
  double total = 0;
  for (const DriverFile& f : r.files) {
    EXPECT_LE(FileSize(f.unixPath), 64 * 1024 + o.sizeMargin) << f.unixPath;
    Probe p = ProbeFile(f.unixPath);
    ASSERT_TRUE(p.ok) << p.raw;
    EXPECT_NEAR(f.writtenMs, PlayableMs(p), 100) << f.unixPath;
    total += f.writtenMs;
  }
  EXPECT_NEAR(8000, total, 1);
}

TEST_F(RecordingSplits, ManualSplitStartsTheNextFileAtOnce) {
  TempFolder folder;
  DriverOptions o;
  o.format = kMp3;
  int blocks = 0;
  o.progress = [&](double, LONG* split, bool* stop) {
    ++blocks;
    if (blocks == 3) *split = 1;
    *stop = blocks >= 6;
  };
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty());
  ASSERT_EQ(2u, r.files.size());
  EXPECT_EQ(folder.unix + "/Record-001.mp3", r.files[1].unixPath);
  for (const DriverFile& f : r.files) {
    EXPECT_NEAR(1500, f.writtenMs, 1);
    Probe p = ProbeFile(f.unixPath);
    ASSERT_TRUE(p.ok) << p.raw;
    EXPECT_NEAR(1500, PlayableMs(p), 100);
  }
}

TEST_F(RecordingSplits, PausedTimeNeverReachesTheFile) {
  TempFolder folder;
  ComPtr<IMediaCaptureSource5> capture =
      Create<IMediaCaptureSource5>(CLSID_MediaCaptureSource5, IID_IMediaCaptureSource5);
  ASSERT_TRUE(capture && SelectDevice(capture.Get(), u"Sine"));
  DriverOptions o;
  o.format = kMp3;
  o.capture = capture.Get();
  // The clock starts with the first block; sources may deliver in bursts of
  // up to two seconds, so the bounds below allow one burst either way.
  std::chrono::steady_clock::time_point begin;
  bool started = false, paused = false;
  o.progress = [&](double written, LONG*, bool* stop) {
    if (!started) {
      started = true;
      begin = std::chrono::steady_clock::now();
    }
    if (!paused && written >= 500) {
      // As the recording job does: pause the source and wait.
      paused = true;
      EXPECT_EQ(S_OK, capture->Pause());
      Sleep(4000);
      EXPECT_EQ(S_OK, capture->Start(0));
    }
    *stop = std::chrono::steady_clock::now() - begin >= std::chrono::milliseconds(6000);
  };
  DriverResult r = RunRecording(folder, o);
  ASSERT_TRUE(r.errors.empty());
  ASSERT_EQ(1u, r.files.size());
  // Six seconds of wall time less four of pause; kept, the pause would make it six or more.
  EXPECT_GT(r.files[0].writtenMs, 900);
  EXPECT_LT(r.files[0].writtenMs, 5000);
  Probe p = ProbeFile(r.files[0].unixPath);
  ASSERT_TRUE(p.ok) << p.raw;
  EXPECT_NEAR(r.files[0].writtenMs, PlayableMs(p), 100);
}

}  // namespace
