#include "sondrel_gtest.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

#include <cstdlib>

namespace {
// A scaler on a memory DC with its DPI forced, so any DPI can be checked.
struct ForcedScaler
{
    explicit ForcedScaler(int dpiX, int dpiY = 0) : dc(CreateCompatibleDC(nullptr)), scaler(dc)
    {
        scaler.Refresh(dpiX, dpiY ? dpiY : dpiX, TRUE);
    }
    ~ForcedScaler() { DeleteDC(dc); }
    HDC dc;
    CQVTDpiScaler scaler;
};
}  // namespace

TEST(DpiScaler, At96EveryOperationReturnsItsInput)
{
    ForcedScaler f(96);
    EXPECT_EQ(f.scaler.ScaleX(7), 7);
    EXPECT_EQ(f.scaler.ScaleY(-300), -300);
    EXPECT_EQ(f.scaler.UnscaleX(13), 13);
    EXPECT_FLOAT_EQ(f.scaler.ScaleXFloat(1.5f), 1.5f);
    RECT r = f.scaler.ScaleRect(RECT{1, 2, 3, 4});
    EXPECT_EQ(r.right, 3);
}

TEST(DpiScaler, At144RoundsHalvesAwayFromZero)
{
    ForcedScaler f(144);
    EXPECT_EQ(f.scaler.ScaleX(1), 2);
    EXPECT_EQ(f.scaler.ScaleX(3), 5);
    EXPECT_EQ(f.scaler.ScaleX(-3), -5);
    EXPECT_EQ(f.scaler.ScaleXDirect(1), 1) << "direct scaling truncates";
    EXPECT_EQ(f.scaler.ScaleX(257), 386) << "beyond the table";
    EXPECT_EQ(f.scaler.ScaleX(-257), -386);
    EXPECT_EQ(f.scaler.UnscaleX(5), 3);
    EXPECT_DOUBLE_EQ(f.scaler.ScaleXDouble(10.0), 15.0);
    EXPECT_EQ(f.scaler.ScaleX(7, 144), 7) << "a reference at the device DPI leaves values alone";
    EXPECT_EQ(f.scaler.ScaleX(7, 0), 11) << "a reference of 0 always scales";
}

TEST(DpiScaler, At120TableEdges)
{
    ForcedScaler f(120);
    EXPECT_EQ(f.scaler.ScaleX(256), 320);
    EXPECT_EQ(f.scaler.ScaleX(-256), -320);
    EXPECT_EQ(f.scaler.ScaleY(256), 320);
}

TEST(DpiScaler, AxesScaleApartOnAnAnisotropicDevice)
{
    ForcedScaler f(144, 192);
    RECT r = f.scaler.ScaleRect(RECT{10, 10, 20, 20});
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.bottom, 40);
    SIZE s = f.scaler.ScaleSize(SIZE{4, 4});
    EXPECT_EQ(s.cx, 6);
    EXPECT_EQ(s.cy, 8);
    POINT p = f.scaler.UnscalePoint(POINT{15, 20});
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 10);
}

TEST(DpiScaler, ZeroDpiGivesIdentityWithoutDividing)
{
    CQVTDpiScaler scaler(static_cast<HDC>(nullptr));
    EXPECT_EQ(scaler.GetDpiX(), 0);
    EXPECT_EQ(scaler.ScaleX(300), 300);
    EXPECT_EQ(scaler.UnscaleY(300), 300);
}

TEST(DpiScaler, ProcessWideScalerReadsTheScreen)
{
    const char* expected = std::getenv("SONDREL_EXPECTED_DPI");
    const int dpi = expected ? std::atoi(expected) : 96;
    CQVTDpiScaler* scaler = QVTDpiScaler();
    ASSERT_NE(scaler, nullptr);
    EXPECT_EQ(scaler, QVTDpiScaler());
    EXPECT_EQ(scaler->GetDpiX(), dpi);
    EXPECT_EQ(scaler->GetDpiY(), dpi);
    EXPECT_EQ(scaler->ScaleX(3), MulDiv(3, dpi, 96));
}
