#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"

#include <dwmapi.h>
#include <tchar.h>
#include <vssym32.h>

#include <cstdlib>
#include <vector>

namespace {
// The prefix this run uses has the visual style on unless told otherwise.
bool VisualStylesExpected()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return !pszValue || std::atoi(pszValue) != 0;
}

// The shared DIB canvas filled with a sentinel; a changed pixel is any
// difference from it, alpha included.
struct Canvas : DibCanvas
{
    Canvas(int cx, int cy) : DibCanvas(cx, cy, RGB(0x12, 0x34, 0x56)), hDC(dc.m_hDC), pBits(Pixels()) {}
    int ChangedPixels() const
    {
        ::GdiFlush();
        int n = 0;
        for (int i = 0; i < Width() * Height(); ++i)
            n += pBits[i] != kSentinel;
        return n;
    }

    static const DWORD kSentinel = 0x00123456;
    HDC hDC;
    DWORD* pBits;
};

// Stand-ins a skin would put into a wrapper's table.
struct FakeTheme
{
    static std::vector<HTHEME> opened, closed;
    static int nDrawCalls;
    static HTHEME hLastDrawn;

    static HTHEME WINAPI Open(HWND, LPCWSTR pszClassList)
    {
        if (::lstrcmpW(pszClassList, _T("THROW")) == 0)
            throw 42;
        HTHEME h = reinterpret_cast<HTHEME>(static_cast<UINT_PTR>(0x1000 + opened.size()));
        opened.push_back(h);
        return h;
    }
    static HRESULT WINAPI Close(HTHEME h)
    {
        closed.push_back(h);
        return S_OK;
    }
    static HRESULT WINAPI Draw(HTHEME h, HDC, int, int, const RECT*, const RECT*)
    {
        ++nDrawCalls;
        hLastDrawn = h;
        return S_OK;
    }
    static BOOL WINAPI Themed() { return TRUE; }
    static BOOL WINAPI ActiveSeven() { return 7; }
    static COLORREF WINAPI SysColorThrows(HTHEME, int) { throw CString(_T("no colour")); }
    static HRESULT WINAPI ColorThrows(HTHEME, int, int, int, COLORREF*) { AfxThrowInvalidArgException(); }
    static BOOL WINAPI SysBoolThrows(HTHEME, int) { throw 1; }
};
std::vector<HTHEME> FakeTheme::opened, FakeTheme::closed;
int FakeTheme::nDrawCalls = 0;
HTHEME FakeTheme::hLastDrawn = nullptr;
}  // namespace

TEST(ThemeWrapper, PrivateTableRoutesOneWrapperAndSwallowsFailures)
{
    typedef CQVTWinThemeApiTable T;
    CQVTWinThemeWrapper ordinary(TRUE);
    {
        CQVTWinThemeWrapper skinned(TRUE);
        skinned.ReloadApiTable();
        ASSERT_NE(ordinary.GetApiTable(), skinned.GetApiTable());
        skinned.SetApiPointer(T::slotOpenThemeData, reinterpret_cast<void*>(&FakeTheme::Open));
        skinned.SetApiPointer(T::slotCloseThemeData, reinterpret_cast<void*>(&FakeTheme::Close));
        skinned.SetApiPointer(T::slotDrawThemeBackground, reinterpret_cast<void*>(&FakeTheme::Draw));
        skinned.SetApiPointer(T::slotIsAppThemed, reinterpret_cast<void*>(&FakeTheme::Themed));
        skinned.SetApiPointer(T::slotGetThemeSysColor, reinterpret_cast<void*>(&FakeTheme::SysColorThrows));
        skinned.SetApiPointer(T::slotGetThemeColor, reinterpret_cast<void*>(&FakeTheme::ColorThrows));
        skinned.SetApiPointer(T::slotGetThemeSysBool, reinterpret_cast<void*>(&FakeTheme::SysBoolThrows));
        skinned.SetApiPointer(T::slotIsThemeActive, reinterpret_cast<void*>(&FakeTheme::ActiveSeven));

        // Following the loaded library keeps the table while the library stays put.
        EXPECT_EQ(7, skinned.IsThemeActive());

        // Opening again closes the handle held first.
        HTHEME hFirst = skinned.OpenThemeData(nullptr, _T("BUTTON"));
        ASSERT_NE(nullptr, hFirst);
        EXPECT_TRUE(skinned.IsAppThemeActive());
        HTHEME hSecond = skinned.OpenThemeData(nullptr, _T("SCROLLBAR"));
        ASSERT_EQ(2u, FakeTheme::opened.size());
        ASSERT_EQ(1u, FakeTheme::closed.size());
        EXPECT_EQ(hFirst, FakeTheme::closed[0]);
        EXPECT_EQ(hSecond, skinned.GetThemeHandle());

        RECT rc = {0, 0, 10, 10};
        EXPECT_EQ(S_OK, skinned.DrawThemeBackground(nullptr, 1, 1, &rc));
        EXPECT_EQ(hSecond, FakeTheme::hLastDrawn) << "the wrapper's handle goes first";

        // Whatever a bound function throws ends at the wrapper.
        EXPECT_EQ(COLORREF(0xFFFFFFFF), skinned.GetThemeSysColor(COLOR_BTNFACE));
        COLORREF cr = 0;
        EXPECT_EQ(E_FAIL, skinned.GetThemeColor(1, 1, 3803, &cr));
        EXPECT_FALSE(skinned.GetThemeSysBool(TMT_FLATMENUS));
        EXPECT_EQ(nullptr, skinned.OpenThemeData(nullptr, _T("THROW")));
        EXPECT_EQ(nullptr, skinned.GetThemeHandle());
        EXPECT_FALSE(skinned.IsAppThemeActive());
        EXPECT_EQ(2u, FakeTheme::closed.size()) << "the open handle is closed before the failed open";

        skinned.OpenThemeData(nullptr, _T("BUTTON"));
        // The other wrapper still reaches the library itself.
        EXPECT_NE(reinterpret_cast<void*>(&FakeTheme::Open),
                  ordinary.GetApiTable()->GetSlot(T::slotOpenThemeData));
        const int nDrawCalls = FakeTheme::nDrawCalls;
        Canvas canvas(8, 8);
        ordinary.DrawThemeBackground(canvas.hDC, 1, 1, &rc);
        EXPECT_EQ(nDrawCalls, FakeTheme::nDrawCalls);
    }
    // The destructor closed the last handle.
    ASSERT_EQ(3u, FakeTheme::closed.size());
    EXPECT_EQ(FakeTheme::opened.back(), FakeTheme::closed.back());

    // Reloading gives a fresh table with nothing of the skin left.
    CQVTWinThemeWrapper reloaded(FALSE);
    reloaded.ReloadApiTable();
    reloaded.SetApiPointer(T::slotIsAppThemed, reinterpret_cast<void*>(&FakeTheme::Themed));
    reloaded.ReloadApiTable();
    EXPECT_EQ(nullptr, reloaded.GetApiTable()->GetSlot(T::slotIsAppThemed));
    EXPECT_NE(nullptr, reloaded.GetApiTable()->GetModule());
}

TEST(ThemeWrapper, RealThemeHandlesWhenAVisualStyleIsActive)
{
    CQVTWinThemeWrapper wrapper(TRUE);
    CQVTWinThemeWrapper keeper(FALSE);
    const bool bStyles = VisualStylesExpected();

    EXPECT_EQ(bStyles, !!wrapper.IsThemeActive());
    EXPECT_EQ(bStyles, !!keeper.IsThemeActive());
    EXPECT_EQ(bStyles, !!wrapper.IsAppThemed());

    HTHEME hTheme = wrapper.OpenThemeData(nullptr, _T("BUTTON"));
    EXPECT_EQ(hTheme, wrapper.GetThemeHandle());
    EXPECT_EQ(bStyles, hTheme != nullptr);
    EXPECT_EQ(bStyles, !!wrapper.IsAppThemeActive());

    Canvas canvas(40, 24);
    RECT rc = {0, 0, 40, 24};
    const HRESULT hrDraw = wrapper.DrawThemeBackground(canvas.hDC, BP_PUSHBUTTON, PBS_NORMAL, &rc);
    SIZE size = {};
    const HRESULT hrSize =
        wrapper.GetThemePartSize(canvas.hDC, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, nullptr, TS_TRUE, &size);
    WCHAR szName[MAX_PATH] = {}, szColor[64] = {}, szSize[64] = {};
    const HRESULT hrName = wrapper.GetCurrentThemeName(szName, MAX_PATH, szColor, 64, szSize, 64);

    if (bStyles)
    {
        EXPECT_EQ(S_OK, hrDraw);
        EXPECT_GT(canvas.ChangedPixels(), 40 * 24 / 2) << "the button was not drawn";
        EXPECT_EQ(S_OK, hrSize);
        EXPECT_GT(size.cx, 0);
        EXPECT_EQ(S_OK, hrName);
        CString strName(szName);
        EXPECT_NE(-1, strName.MakeLower().Find(_T(".msstyles")));
        EXPECT_NE(COLORREF(0xFFFFFFFF), wrapper.GetThemeSysColor(COLOR_BTNFACE));
    }
    else
    {
        EXPECT_TRUE(FAILED(hrDraw));
        EXPECT_EQ(0, canvas.ChangedPixels());
        EXPECT_TRUE(FAILED(hrSize));
        EXPECT_TRUE(FAILED(hrName));
        EXPECT_FALSE(wrapper.IsVisualStylesAvailable());
    }

    // Visual styles also need the newer common controls.
    const bool bNewControls = HIWORD(wrapper.GetApiTable()->GetComCtlVersion()) > 5;
    EXPECT_EQ(bStyles && bNewControls, !!wrapper.IsVisualStylesAvailable());

    wrapper.CloseThemeData();
    EXPECT_EQ(nullptr, wrapper.GetThemeHandle());
    EXPECT_FALSE(wrapper.IsAppThemeActive());
    wrapper.CloseThemeData();

    // Buffered painting through the library, onto the canvas.
    if (bStyles)
    {
        Canvas target(16, 16);
        RECT rcTarget = {0, 0, 16, 16};
        HDC hBufferDC = nullptr;
        HPAINTBUFFER hBuffer =
            wrapper.BeginBufferedPaint(target.hDC, &rcTarget, BPBF_TOPDOWNDIB, nullptr, &hBufferDC);
        if (hBuffer)
        {
            HBRUSH hRed = ::CreateSolidBrush(RGB(255, 0, 0));
            ::FillRect(hBufferDC, &rcTarget, hRed);
            ::DeleteObject(hRed);
            wrapper.EndBufferedPaint(hBuffer, TRUE);
            ::GdiFlush();
            EXPECT_EQ(0x00FF0000u, target.pBits[17] & 0x00FFFFFF);
        }
    }
}

TEST(ThemeWrapper, DesktopWindowManagerCalls)
{
    CQVTWinThemeWrapper wrapper(TRUE);
    BOOL bLibrary = FALSE;
    const bool bAnswered = SUCCEEDED(::DwmIsCompositionEnabled(&bLibrary));
    EXPECT_EQ(bAnswered && bLibrary, !!wrapper.DwmIsCompositionEnabled());

    HWND hWnd = ::CreateWindowExW(0, _T("STATIC"), _T("dwm"), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    MARGINS margins = {1, 2, 3, 4};
    EXPECT_EQ(::DwmExtendFrameIntoClientArea(hWnd, &margins),
              wrapper.DwmExtendFrameIntoClientArea(hWnd, 1, 2, 3, 4));
    LRESULT lResult = 0;
    const HRESULT hr = wrapper.DwmDefWindowProc(hWnd, WM_NCHITTEST, 0, 0, &lResult);
    EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << "the function is there: " << std::hex << hr;
    ::DestroyWindow(hWnd);

    EXPECT_TRUE(CQVTWinThemeWrapper::CallSetProcessDPIAware());
}
