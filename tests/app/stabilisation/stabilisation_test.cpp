// Stabilisation on synthetic frames: a textured scene seen by a camera that
// jumps 6 pixels sideways every other frame comes out steady.
#include "sondrel_gtest.h"

#include <afx.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/recording/Stabilisation.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 40;

struct Frame
{
    std::vector<BYTE> y, u, v;
    BYTE* planes[4];
    int lines[4];

    Frame() : y(kWidth * kHeight), u(kWidth * kHeight / 4, 128), v(kWidth * kHeight / 4, 128)
    {
        planes[0] = y.data();
        planes[1] = u.data();
        planes[2] = v.data();
        planes[3] = nullptr;
        lines[0] = kWidth;
        lines[1] = lines[2] = kWidth / 2;
        lines[3] = 0;
    }
};

// A scene of random blocks with soft edges, larger than the frame.
BYTE Scene(int x, int y)
{
    auto block = [](int bx, int by) {
        unsigned h = static_cast<unsigned>(bx) * 73856093u ^ static_cast<unsigned>(by) * 19349663u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        return static_cast<int>((h >> 8) & 0xFF);
    };
    const int bx = x / 8, by = y / 8;
    return static_cast<BYTE>((block(bx, by) * 3 + block(bx + 1, by) + block(bx, by + 1)) / 5);
}

// The camera's jitter: 0 or 6 pixels to the right.
int ShiftOf(int nFrame)
{
    return (nFrame % 2) ? 6 : 0;
}

std::vector<Frame> MakeFrames()
{
    std::vector<Frame> frames(kFrames);
    for (int k = 0; k < kFrames; ++k)
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                frames[k].y[y * kWidth + x] = Scene(x + 40 + ShiftOf(k), y + 40);
    }
    return frames;
}

// Mean absolute luma difference of consecutive frames, away from the borders.
double Unsteadiness(const std::vector<Frame>& frames)
{
    double sum = 0;
    long count = 0;
    for (int k = 5; k + 1 < kFrames - 5; ++k)
    {
        for (int y = 30; y < kHeight - 30; ++y)
            for (int x = 30; x < kWidth - 30; ++x)
            {
                sum += std::abs(frames[k].y[y * kWidth + x] - frames[k + 1].y[y * kWidth + x]);
                ++count;
            }
    }
    return sum / count;
}

TEST(Stabilisation, AJitteringCameraComesOutSteady)
{
    char pattern[] = "/tmp/sondrel-stab-test-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    const std::string unix = pattern;
    WCHAR* dos = wine_get_dos_file_name(unix.c_str());
    ASSERT_TRUE(dos);
    CString folder = CString(dos) + _T("\\");
    HeapFree(GetProcessHeap(), 0, dos);

    std::vector<Frame> frames = MakeFrames();
    const double before = Unsteadiness(frames);
    ASSERT_GT(before, 10);

    CStabilisationContext stab;
    StabilisationSettings settings;
    settings.nMaxAngleDegrees = 5;
    stab.ApplySettings(settings);
    EXPECT_NEAR(5 * 3.1415927 / 180, stab.m_dMaxAngle, 1e-9);
    stab.m_nOptimalZoom = 0;  // compare whole frames, without a zoom
    ASSERT_TRUE(stab.BeginDetection(kWidth, kHeight, folder));
    EXPECT_EQ(0, stab.GetStatFileName().Find(folder + _T("vid_stab_")));
    for (Frame& f : frames)
        ASSERT_TRUE(stab.DetectFrame(f.planes, f.lines));
    stab.EndDetection();
    EXPECT_EQ(0, GetFileAttributesW(stab.GetStatFileName()) & FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(stab.BeginTransforms());
    for (Frame& f : frames)
        ASSERT_TRUE(stab.TransformFrame(f.planes, f.lines));
    stab.EndTransforms();

    const double after = Unsteadiness(frames);
    EXPECT_LT(after, before * 0.3) << "before " << before << ", after " << after;

    // A second transform pass reads the same statistics again.
    EXPECT_TRUE(stab.BeginTransforms());
    stab.EndTransforms();

    DeleteFileW(stab.GetStatFileName());
    std::system(("rm -rf '" + unix + "'").c_str());
}

TEST(Stabilisation, NoStatisticsMeansNoTransforms)
{
    CStabilisationContext stab;
    EXPECT_FALSE(stab.BeginTransforms());
    EXPECT_FALSE(stab.BeginDetection(0, 0, _T("C:\\")));
    EXPECT_FALSE(stab.BeginDetection(kWidth, kHeight, _T("Q:\\no\\such\\folder\\")));
    Frame f;
    EXPECT_FALSE(stab.DetectFrame(f.planes, f.lines));
    EXPECT_FALSE(stab.TransformFrame(f.planes, f.lines));
}

}  // namespace
