// Sondrel's main window with the frame its ribbon's theme draws: the
// theme's region, the title in the ribbon's caption row beside the quick
// access toolbar, and minimize, maximize, restore and close clicked on the
// caption buttons the ribbon shows. Run where Wine leaves frames to the
// program (no window manager confirms a maximize on the test display).
#include <afxwin.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"

using namespace mainroad;

namespace {

BOOL CALLBACK FrameTestFindRibbon(HWND hWnd, LPARAM lParam)
{
    if (Text(hWnd) == u"The Ribbon")
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND RibbonOf(HWND hMain)
{
    HWND hRibbon = nullptr;
    ::EnumChildWindows(hMain, &FrameTestFindRibbon, reinterpret_cast<LPARAM>(&hRibbon));
    return hRibbon;
}

// The centre of the caption button n places from the right (0 close, 1
// maximize or restore, 2 minimize): the frame theme's buttons are the
// system's caption size, at the right end of the ribbon's caption row.
POINT CaptionButtonCentre(HWND hMain, int nFromRight)
{
    CRect rcRibbon;
    ::GetWindowRect(RibbonOf(hMain), &rcRibbon);
    const int cx = ::GetSystemMetrics(SM_CYSIZE);
    return POINT{rcRibbon.right - nFromRight * cx - cx / 2, rcRibbon.top + ::GetSystemMetrics(SM_CYSIZE) / 2};
}

// Pixels of an area that differ clearly from a colour.
int FrameTestInk(const DibCanvas& canvas, const CRect& area, COLORREF clr)
{
    int nInk = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
        {
            const COLORREF c = canvas.At(x, y);
            nInk += std::abs(GetRValue(c) - GetRValue(clr)) + std::abs(GetGValue(c) - GetGValue(clr)) +
                        std::abs(GetBValue(c) - GetBValue(clr)) >
                    60;
        }
    return nInk;
}

TEST(MainRoadFrame, RibbonDrawsTheCaptionAndItsButtonsMinimizeMaximizeRestoreAndClose)
{
    ResetProgramSettings(u"C:\\mainroad-frame\\");
    SondrelProcess program;
    ASSERT_TRUE(program.Start());
    HWND hMain = ShowMainWindow(program);
    ASSERT_NE(hMain, nullptr);
    HWND hRibbon = RibbonOf(hMain);
    ASSERT_NE(hRibbon, nullptr);

    // The theme's frame: a region of its own around the window.
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(hMain, hRgn), ERROR);
    ::DeleteObject(hRgn);

    // The caption row: the title in the middle of the bar, ink on the
    // caption's own colour, which shows between the title and the buttons.
    CRect rcScreen;
    std::unique_ptr<DibCanvas> shot = Shot(hMain, &rcScreen);
    CRect rcRibbon;
    ::GetWindowRect(hRibbon, &rcRibbon);
    rcRibbon.OffsetRect(-rcScreen.TopLeft());
    const int nCaption = ::GetSystemMetrics(SM_CYSIZE);
    const COLORREF clrCaption = shot->At(rcRibbon.right - 4 * nCaption, rcRibbon.top + nCaption / 2);
    const int xMiddle = rcRibbon.CenterPoint().x;
    const CRect rcTitle(xMiddle - 30, rcRibbon.top + 2, xMiddle + 30, rcRibbon.top + nCaption - 2);
    EXPECT_GT(FrameTestInk(*shot, rcTitle, clrCaption), 20);
    // The quick access toolbar after the icon, left of the title.
    const CRect rcQuickAccess(rcRibbon.left + 30, rcRibbon.top + 2, rcRibbon.left + 110,
                              rcRibbon.top + nCaption - 2);
    EXPECT_GT(FrameTestInk(*shot, rcQuickAccess, clrCaption), 20);

    // Maximize, then restore from the same place.
    ClickAt(CaptionButtonCentre(hMain, 1));
    EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(hMain) != FALSE; }, 5000));
    Wait(500);
    ClickAt(CaptionButtonCentre(hMain, 1));
    EXPECT_TRUE(WaitUntil([&] { return !::IsZoomed(hMain); }, 5000));
    Wait(500);

    // Minimize; the program comes back as the taskbar would bring it.
    ClickAt(CaptionButtonCentre(hMain, 2));
    EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(hMain) != FALSE; }, 5000));
    ::PostMessage(hMain, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(hMain); }, 5000));
    Wait(500);
    ::SetForegroundWindow(hMain);
    Wait(300);

    // Close ends the program.
    ClickAt(CaptionButtonCentre(hMain, 0));
    EXPECT_TRUE(program.WaitForExit(20000));
}

}  // namespace
