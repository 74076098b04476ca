// Drop shadows: the strips' rectangles and styles, joined strips, cut-out
// regions, corner shadows, shadows following their owner, the system
// setting, and the strip pixels handed to UpdateLayeredWindow (Xvfb has no
// compositor to blend them on screen).
#include <afxwin.h>

#include <map>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"

namespace {
struct Captured
{
    HWND hWnd;
    SIZE size;
    DWORD dwFlags;
    BLENDFUNCTION blend;
    std::vector<DWORD> pixels;  // bottom-up rows, as the strip was made
};
std::vector<Captured> g_captured;

BOOL WINAPI CaptureLayered(HWND hWnd, HDC, POINT*, SIZE* pSize, HDC hdcSrc, POINT*, COLORREF,
                           BLENDFUNCTION* pBlend, DWORD dwFlags)
{
    Captured c = {hWnd, *pSize, dwFlags, *pBlend, {}};
    HBITMAP hBitmap = static_cast<HBITMAP>(GetCurrentObject(hdcSrc, OBJ_BITMAP));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = pSize->cx;
    bmi.bmiHeader.biHeight = pSize->cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    c.pixels.resize(static_cast<size_t>(pSize->cx) * pSize->cy);
    GetDIBits(hdcSrc, hBitmap, 0, pSize->cy, c.pixels.data(), &bmi, DIB_RGB_COLORS);
    g_captured.push_back(c);
    return TRUE;
}

HWND MakePopup(const CRect& rc, DWORD dwExStyle = 0)
{
    HWND hWnd = CreateWindowExW(dwExStyle, u"STATIC", u"", WS_POPUP, rc.left, rc.top, rc.Width(), rc.Height(),
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return hWnd;
}

std::vector<CQVTShadowManager::CShadowWnd*> ShadowsOf(CQVTShadowManager& manager, HWND hOwner)
{
    std::vector<CQVTShadowManager::CShadowWnd*> shadows;
    for (POSITION pos = manager.GetShadows().GetHeadPosition(); pos;)
    {
        CQVTShadowManager::CShadowWnd* pShadow = manager.GetShadows().GetNext(pos);
        if (pShadow->GetOwnerWindow() == hOwner)
            shadows.push_back(pShadow);
    }
    return shadows;
}

CRect WindowRect(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

CQVTShadowManager::CShadowWnd* ShadowOfKind(CQVTShadowManager& manager, HWND hOwner, int nKind)
{
    for (CQVTShadowManager::CShadowWnd* pShadow : ShadowsOf(manager, hOwner))
        if (pShadow->GetKind() == nKind)
            return pShadow;
    return nullptr;
}

// Whether a window-relative point lies in the shadow's region (or the whole
// window when it has none).
bool InRegion(CWnd* pWnd, int x, int y)
{
    HRGN hRegion = CreateRectRgn(0, 0, 0, 0);
    bool bInside =
        GetWindowRgn(pWnd->GetSafeHwnd(), hRegion) == ERROR ? true : PtInRegion(hRegion, x, y) != FALSE;
    DeleteObject(hRegion);
    return bInside;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

struct DropShadowSetting
{
    BOOL bOld = FALSE;
    explicit DropShadowSetting(BOOL bOn)
    {
        SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bOld, 0);
        SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(bOn)), 0);
    }
    ~DropShadowSetting()
    {
        SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(bOld)), 0);
    }
};

DWORD Pixel(COLORREF clr, int a, double f)
{
    return (static_cast<DWORD>(a) << 24) | (static_cast<DWORD>(GetRValue(clr) * f) << 16) |
           (static_cast<DWORD>(GetGValue(clr) * f) << 8) | static_cast<DWORD>(GetBValue(clr) * f);
}
}  // namespace

TEST(ShadowManager, StripsAtTheirRectanglesFollowingTheOwner)
{
    CQVTShadowManager manager;
    ASSERT_TRUE(manager.IsAlphaShadow()) << "Wine has UpdateLayeredWindow";
    manager.SetShadowOptions(CQVTShadowManager::shadowAlways);
    HWND hOwner = MakePopup(CRect(100, 100, 300, 250));
    manager.SetShadow(hOwner);
    CQVTShadowManager::CShadowWnd* pRight = ShadowOfKind(manager, hOwner, CQVTShadowManager::shadowRight);
    CQVTShadowManager::CShadowWnd* pBottom = ShadowOfKind(manager, hOwner, CQVTShadowManager::shadowBottom);
    ASSERT_NE(pRight, nullptr);
    ASSERT_NE(pBottom, nullptr);
    EXPECT_EQ(ShadowsOf(manager, hOwner).size(), 2u) << "no corner shadow without a complex region";
    EXPECT_EQ(WindowRect(pRight), CRect(300, 104, 304, 250));
    EXPECT_EQ(WindowRect(pBottom), CRect(104, 250, 304, 254));
    for (CWnd* pShadow : {static_cast<CWnd*>(pRight), static_cast<CWnd*>(pBottom)})
    {
        EXPECT_TRUE(pShadow->IsWindowVisible());
        EXPECT_EQ(pShadow->GetStyle() & WS_POPUP, static_cast<DWORD>(WS_POPUP));
        EXPECT_EQ(pShadow->GetExStyle() & (WS_EX_TOOLWINDOW | WS_EX_LAYERED),
                  static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_LAYERED));
        EXPECT_EQ(pShadow->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(301, 150)), HTTRANSPARENT);
        EXPECT_EQ(pShadow->SendMessage(WM_ERASEBKGND, 0, 0), TRUE);
    }

    ShowWindow(hOwner, SW_SHOWNOACTIVATE);
    ShowWindow(hOwner, SW_HIDE);
    EXPECT_FALSE(pRight->IsWindowVisible());
    EXPECT_FALSE(pBottom->IsWindowVisible());
    ShowWindow(hOwner, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(pRight->IsWindowVisible());

    SetWindowPos(hOwner, nullptr, 100, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    manager.OffsetShadows(CWnd::FromHandle(hOwner), 10);
    EXPECT_EQ(WindowRect(pRight), CRect(300, 114, 304, 260));
    EXPECT_EQ(WindowRect(pBottom), CRect(104, 260, 304, 264));

    HWND hRight = pRight->GetSafeHwnd();
    DestroyWindow(hOwner);
    EXPECT_FALSE(IsWindow(hRight)) << "the shadows go with their owner";
    EXPECT_TRUE(manager.GetShadows().IsEmpty());
}

TEST(ShadowManager, TheSystemSettingDecidesUnlessForced)
{
    CQVTShadowManager manager;
    HWND hOwner = MakePopup(CRect(10, 10, 60, 60));
    {
        DropShadowSetting off(FALSE);
        manager.SetShadow(hOwner);
        EXPECT_TRUE(manager.GetShadows().IsEmpty());
    }
    {
        DropShadowSetting on(TRUE);
        manager.SetShadow(hOwner);
        EXPECT_EQ(ShadowsOf(manager, hOwner).size(), 2u);
    }
    manager.RemoveShadowsOf(CWnd::FromHandle(hOwner));
    EXPECT_TRUE(manager.GetShadows().IsEmpty());
    EXPECT_EQ(QVTHookManager()->Lookup(hOwner), nullptr) << "unhooked from their owner";
    DestroyWindow(hOwner);
}

TEST(ShadowManager, NeighbouringStripsJoinAndKeepOutOfOtherOwners)
{
    CQVTShadowManager manager;
    manager.SetShadowOptions(CQVTShadowManager::shadowAlways);
    HWND hMenu = MakePopup(CRect(0, 0, 100, 100));
    manager.SetShadow(hMenu);
    // A submenu overlapping the menu's right edge by a pixel.
    HWND hSubmenu = MakePopup(CRect(99, 20, 199, 80));
    manager.SetShadow(hSubmenu);
    CQVTShadowManager::CShadowWnd* pBottom = ShadowOfKind(manager, hSubmenu, CQVTShadowManager::shadowBottom);
    ASSERT_NE(pBottom, nullptr);
    EXPECT_EQ(WindowRect(pBottom), CRect(94, 80, 203, 84)) << "reaches left by one pixel and twice the strip";
    EXPECT_FALSE(InRegion(pBottom, 2, 1)) << "over the menu";
    EXPECT_TRUE(InRegion(pBottom, 8, 1));

    // A popup below the menu whose right strip meets the menu's bottom strip.
    HWND hBelow = MakePopup(CRect(20, 99, 80, 200));
    manager.SetShadow(hBelow);
    CQVTShadowManager::CShadowWnd* pRight = ShadowOfKind(manager, hBelow, CQVTShadowManager::shadowRight);
    ASSERT_NE(pRight, nullptr);
    EXPECT_EQ(WindowRect(pRight), CRect(80, 95, 84, 200)) << "reaches up twice the strip";

    // Another level keeps out of nothing.
    HWND hOther = MakePopup(CRect(40, 40, 140, 90));
    manager.SetShadow(hOther, CRect(0, 0, 0, 0), 1);
    EXPECT_FALSE(ShadowOfKind(manager, hOther, CQVTShadowManager::shadowRight)->HasRegion());

    // With option bit 1, the given rectangle is cut out too.
    manager.SetShadowOptions(CQVTShadowManager::shadowAlways | CQVTShadowManager::shadowExcludeRect);
    HWND hCombo = MakePopup(CRect(500, 500, 600, 600));
    manager.SetShadow(hCombo, CRect(500, 600, 550, 620), 2);
    CQVTShadowManager::CShadowWnd* pComboBottom =
        ShadowOfKind(manager, hCombo, CQVTShadowManager::shadowBottom);
    EXPECT_FALSE(InRegion(pComboBottom, 10, 1));
    EXPECT_TRUE(InRegion(pComboBottom, 60, 1));

    for (HWND h : {hMenu, hSubmenu, hBelow, hOther, hCombo})
        DestroyWindow(h);
    EXPECT_TRUE(manager.GetShadows().IsEmpty());
}

TEST(ShadowManager, RoundedWindowsGetACornerShadowAndControlsOnlyWhenAsked)
{
    CQVTShadowManager manager;
    manager.SetShadowOptions(CQVTShadowManager::shadowAlways);
    HWND hOwner = MakePopup(CRect(200, 200, 300, 300));
    SetWindowRgn(hOwner, CreateRoundRectRgn(0, 0, 101, 101, 30, 30), TRUE);
    manager.SetShadow(hOwner);
    CQVTShadowManager::CShadowWnd* pCorner = ShadowOfKind(manager, hOwner, CQVTShadowManager::shadowCorner);
    ASSERT_NE(pCorner, nullptr);
    EXPECT_TRUE(pCorner->HasRegion());
    EXPECT_TRUE(InRegion(pCorner, 0, 0)) << "the corner the region cut away";
    EXPECT_FALSE(InRegion(pCorner, 50, 50)) << "not over the owner itself";

    CWnd* pOwner = CWnd::FromHandle(hOwner);
    manager.SetControlShadow(CRect(210, 210, 240, 230), pOwner);
    EXPECT_EQ(ShadowsOf(manager, hOwner).size(), 3u) << "controls need option bit 1 too";
    manager.SetShadowOptions(CQVTShadowManager::shadowAlways | CQVTShadowManager::shadowExcludeRect);
    manager.SetControlShadow(CRect(210, 210, 240, 230), pOwner);
    int nControlShadows = 0;
    for (CQVTShadowManager::CShadowWnd* pShadow : ShadowsOf(manager, hOwner))
        nControlShadows += pShadow->IsControlShadow();
    EXPECT_EQ(nControlShadows, 2);
    DestroyWindow(hOwner);
}

TEST(ShadowManager, ARoundedOwnerStaysInSightUnderItsCornerShadow)
{
    // An owner painted in a flat colour, shown as a menu is: rounded,
    // topmost, not activated.
    const COLORREF clrOwner = RGB(30, 200, 90);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(clrOwner);
    wc.lpszClassName = u"ShadowTestOwner";
    RegisterClassW(&wc);
    HWND hOwner = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"ShadowTestOwner", u"", WS_POPUP, 300,
                                  300, 120, 80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowRgn(hOwner, CreateRoundRectRgn(0, 0, 121, 81, 12, 12), TRUE);
    ShowWindow(hOwner, SW_SHOWNOACTIVATE);
    UpdateWindow(hOwner);

    CQVTShadowManager manager;
    manager.SetShadowOptions(CQVTShadowManager::shadowAlways);
    manager.SetShadow(hOwner);
    ASSERT_NE(ShadowOfKind(manager, hOwner, CQVTShadowManager::shadowCorner), nullptr);
    // Wine maps the shadows and restacks them as the X server reports them.
    const DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < 600)
    {
        Pump();
        Sleep(20);
    }
    HDC hScreen = GetDC(nullptr);
    const COLORREF clrCentre = GetPixel(hScreen, 360, 340);
    ReleaseDC(nullptr, hScreen);
    EXPECT_EQ(clrCentre, clrOwner) << std::hex << clrCentre;

    DestroyWindow(hOwner);
    UnregisterClassW(u"ShadowTestOwner", GetModuleHandleW(nullptr));
    DeleteObject(wc.hbrBackground);
}

TEST(ShadowManager, StripPixelsGradeFromTheOwnerOutwards)
{
    for (int nOptions : {static_cast<int>(CQVTShadowManager::shadowAlways), 0})
    {
        DropShadowSetting on(TRUE);
        CQVTShadowManager manager;
        manager.m_pfnUpdateLayeredWindow = &CaptureLayered;
        manager.SetShadowOptions(nOptions);
        const COLORREF clr = RGB(200, 100, 40);
        manager.SetShadowColor(clr);
        g_captured.clear();
        HWND hOwner = MakePopup(CRect(0, 0, 60, 40));
        manager.SetShadow(hOwner);
        Pump();
        std::map<int, const Captured*> byKind;
        for (const Captured& c : g_captured)
            for (CQVTShadowManager::CShadowWnd* pShadow : ShadowsOf(manager, hOwner))
                if (pShadow->GetSafeHwnd() == c.hWnd)
                    byKind[pShadow->GetKind()] = &c;
        ASSERT_EQ(byKind.size(), 2u);
        const int m = nOptions ? 1 : 2;

        const Captured& bottom = *byKind[CQVTShadowManager::shadowBottom];
        ASSERT_EQ(bottom.size.cx, 60);
        ASSERT_EQ(bottom.size.cy, 4);
        EXPECT_EQ(bottom.dwFlags, static_cast<DWORD>(ULW_ALPHA));
        EXPECT_EQ(bottom.blend.AlphaFormat, AC_SRC_ALPHA);
        auto at = [](const Captured& c, int x, int rowFromBottom) {
            return c.pixels[rowFromBottom * c.size.cx + x];
        };
        EXPECT_EQ(at(bottom, 0, 0), Pixel(clr, 3 * m, 0.05)) << "the outer corner is the faintest";
        EXPECT_EQ(at(bottom, 3, 3), Pixel(clr, 3 * m * 16, 0.8));
        EXPECT_EQ(at(bottom, 30, 0), Pixel(clr, 15 * m, 0.25));
        EXPECT_EQ(at(bottom, 30, 3), Pixel(clr, 60 * m, 1.0)) << "darkest next to the owner";
        EXPECT_EQ(at(bottom, 59, 2), Pixel(clr, 3 * m * 3, 0.15));

        const Captured& right = *byKind[CQVTShadowManager::shadowRight];
        ASSERT_EQ(right.size.cx, 4);
        ASSERT_EQ(right.size.cy, 36);
        const int top = right.size.cy - 1;
        EXPECT_EQ(at(right, 3, top), Pixel(clr, 3 * m, 0.05)) << "top of the outer column";
        EXPECT_EQ(at(right, 0, top - 3), Pixel(clr, 3 * m * 16, 0.8));
        EXPECT_EQ(at(right, 0, 10), Pixel(clr, 15 * m * 4, 1.0));
        EXPECT_EQ(at(right, 3, 10), Pixel(clr, 15 * m, 0.25));
        DestroyWindow(hOwner);
    }

    std::vector<DWORD> corner(6);
    CQVTShadowManager::FillShadowBits(corner.data(), 3, 2, CQVTShadowManager::shadowCorner, 0,
                                      RGB(10, 20, 30));
    EXPECT_EQ(corner[5], Pixel(RGB(10, 20, 30), 120, 1.0));
}
