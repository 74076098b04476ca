#include "sondrel_gtest.h"
#include <windows.h>

// The harness must give tests a display, a Wine prefix and UTF-16 WCHAR;
// everything else in the suite depends on these three.
TEST(Harness, WideCharIsUtf16)
{
    static_assert(sizeof(WCHAR) == 2, "WCHAR must be 16-bit");
    WCHAR buffer[16] = {};
    int written = MultiByteToWideChar(CP_UTF8, 0, "h\xc3\xa9llo", -1, buffer, 16);
    EXPECT_EQ(written, 6);
    EXPECT_EQ(buffer[1], 0x00E9);
    EXPECT_EQ(lstrlenW(buffer), 5);
}

TEST(Harness, WindowsCanBeCreatedOnTheTestDisplay)
{
    HWND window = CreateWindowExW(0, u"STATIC", u"harness", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    WCHAR text[32] = {};
    GetWindowTextW(window, text, 32);
    EXPECT_EQ(lstrcmpW(text, u"harness"), 0);
    EXPECT_TRUE(DestroyWindow(window));
}
