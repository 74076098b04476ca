// The flat frames (Windows 10, Visual Studio 2012 light and dark, Visual
// Studio 2015) on a real captioned frame with the test style archives, their
// caption buttons under the real pointer: the active set when idle, the hot
// set under the pointer and the pressed set while held, read back from the
// screen. Runs where Wine leaves captions to the program.
#include <afxwin.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/frame/QVTCommandBarsFrameHook.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/visualstudio/QVTFrameThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTCommandBarsNativeWindows10Theme.h"
#include "toolkit/themes/windows10/QVTFrameThemeNativeWindows10.h"

namespace {

class CFlatFramesTestApp : public CWinApp
{
public:
    CFlatFramesTestApp() : CWinApp(_T("FlatFramesTest")) {}
};
CFlatFramesTestApp theApp;

const CRect kFlatFrameRect(120, 100, 620, 400);

class CFlatFrame : public CFrameWnd
{
public:
    BOOL CreateFrame(int nTheme)
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!Create(lpszClass, _T("Flat frame"), WS_OVERLAPPEDWINDOW, kFlatFrameRect, nullptr, nullptr,
                    WS_EX_TOPMOST))
            return FALSE;
        m_pCommandBars = CQVTCommandBars::CreateCommandBars();
        m_pCommandBars->SetSite(this);
        m_pCommandBars->SetPaintManager(CQVTPaintManager::CreateTheme(nTheme));
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
        UpdateWindow();
        m_pCommandBars->EnableFrameTheme(TRUE);
        return TRUE;
    }
    void PostNcDestroy() override
    {
        if (m_pCommandBars)
            m_pCommandBars->InternalRelease();
        m_pCommandBars = nullptr;
        delete this;
    }

    CQVTCommandBars* m_pCommandBars = nullptr;
};

COLORREF FlatFramesScreenPixel(POINT pt)
{
    ::GdiFlush();
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(nullptr, hScreen);
    return clr;
}

// What a caption button's background shows idle, under the pointer and while
// the left button holds it; the press is dragged off so nothing runs.
struct FlatFramesStates
{
    COLORREF clrIdle = 0, clrHot = 0, clrPressed = 0;
};

FlatFramesStates FlatFramesButtonStates(CFlatFrame* pFrame, int nId)
{
    FlatFramesStates states;
    CQVTCommandBarsFrameHook* pHook = pFrame->m_pCommandBars->GetFrameHook();
    CQVTControl* pButton = pHook ? pHook->GetCaptionButtons()->FindControl(nId) : nullptr;
    EXPECT_TRUE(pButton);
    if (!pButton)
        return states;
    CRect rcWindow;
    pFrame->GetWindowRect(&rcWindow);
    const CRect rcButton = pButton->GetRect() + rcWindow.TopLeft();
    // The test style's button: its background at the corner.
    const POINT ptBack{rcButton.left + 2, rcButton.top + 2};
    const POINT ptCentre{rcButton.CenterPoint().x, rcButton.CenterPoint().y};

    MouseMoveTo(POINT{5, 5});
    PumpMessages(50);
    states.clrIdle = FlatFramesScreenPixel(ptBack);

    MouseMoveTo(POINT{ptCentre.x - 60, ptCentre.y});
    MouseMoveTo(ptCentre);
    EXPECT_TRUE(PumpUntil([&] { return pHook->GetHotButton() == pButton; }));
    PumpMessages(30);
    states.clrHot = FlatFramesScreenPixel(ptBack);

    const DWORD dwThread = ::GetCurrentThreadId();
    EXPECT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptCentre);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(100);
        states.clrPressed = FlatFramesScreenPixel(ptBack);
        ScriptMouseMove(POINT{ptCentre.x - 150, ptCentre.y + 80}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        ScriptWaitForCapture(dwThread, false);
    }));
    return states;
}

TEST(FlatFramesOnScreen, VisualStudioCaptionButtonsShowEachStatesColoursUnderTheRealPointer)
{
    const struct
    {
        int nTheme;
        LPCTSTR lpszIni;
        COLORREF clrIdle, clrHot, clrPressed;
    } cases[] = {
        // The 2012 frames take the sets from the scheme's frame sections.
        {qvtThemeVisualStudio2012Light, _T("VisualStudio2012Frame.ini"), RGB(30, 40, 50), RGB(60, 70, 80),
         RGB(90, 100, 110)},
        {qvtThemeVisualStudio2012Dark, _T("VisualStudio2012Frame.ini"), RGB(30, 40, 50), RGB(60, 70, 80),
         RGB(90, 100, 110)},
        // The 2015 frame has its own defaults: no background while idle.
        {qvtThemeVisualStudio2015, _T("Windows10Frame.ini"), RGB(255, 255, 255), RGB(213, 225, 242),
         RGB(163, 189, 227)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nTheme);
        ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), c.lpszIni));
        CFlatFrame* pFrame = new CFlatFrame();
        ASSERT_TRUE(pFrame->CreateFrame(c.nTheme));
        PumpMessages(100);
        const FlatFramesStates states = FlatFramesButtonStates(pFrame, SC_MAXIMIZE);
        EXPECT_EQ(c.clrIdle, states.clrIdle) << "the active set";
        EXPECT_EQ(c.clrHot, states.clrHot) << "the hot set";
        EXPECT_EQ(c.clrPressed, states.clrPressed) << "the pressed set";
        EXPECT_FALSE(pFrame->IsZoomed());
        MouseMoveTo(POINT{5, 5});
        PumpMessages(50);
        pFrame->DestroyWindow();
        PumpMessages(20);
    }
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
}

TEST(Windows10FrameOnScreen, CaptionButtonsShowEachStatesColoursUnderTheRealPointer)
{
    ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("Windows10Frame.ini")));
    CFlatFrame* pFrame = new CFlatFrame();
    ASSERT_TRUE(pFrame->CreateFrame(qvtThemeNativeWindows10));
    PumpMessages(100);
    CQVTCommandBarsFrameHook* pHook = pFrame->m_pCommandBars->GetFrameHook();
    ASSERT_TRUE(pHook);
    CQVTControl* pMaximize = pHook->GetCaptionButtons()->FindControl(SC_MAXIMIZE);
    ASSERT_TRUE(pMaximize);
    CRect rcWindow;
    pFrame->GetWindowRect(&rcWindow);
    const CRect rcButton = pMaximize->GetRect() + rcWindow.TopLeft();
    // The test style's button: its background at the corner, its outline
    // on the 12-pixel canvas in the middle.
    const POINT ptBack{rcButton.left + 2, rcButton.top + 2};
    const POINT ptCentre{rcButton.CenterPoint().x, rcButton.CenterPoint().y};

    // Idle and active: the active set has no background, so the caption shows.
    MouseMoveTo(POINT{5, 5});
    PumpMessages(50);
    const COLORREF clrIdle = FlatFramesScreenPixel(ptBack);
    EXPECT_EQ(RGB(255, 255, 255), clrIdle);

    MouseMoveTo(POINT{ptCentre.x - 60, ptCentre.y});
    MouseMoveTo(ptCentre);
    ASSERT_TRUE(PumpUntil([&] { return pHook->GetHotButton() == pMaximize; }));
    PumpMessages(30);
    EXPECT_EQ(RGB(213, 225, 242), FlatFramesScreenPixel(ptBack)) << "the hot set";

    const DWORD dwThread = ::GetCurrentThreadId();
    COLORREF clrPressed = 0;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptCentre);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(100);
        clrPressed = FlatFramesScreenPixel(ptBack);
        ScriptMouseMove(POINT{ptCentre.x - 150, ptCentre.y + 80}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        ScriptWaitForCapture(dwThread, false);
    }));
    EXPECT_EQ(RGB(163, 189, 227), clrPressed) << "the pressed set";
    EXPECT_FALSE(pFrame->IsZoomed());

    // Maximized, the restore button shows the part of its state.
    pFrame->ShowWindow(SW_MAXIMIZE);
    PumpMessages(100);
    ASSERT_TRUE(pFrame->IsZoomed());
    CQVTControl* pRestore = pHook->GetCaptionButtons()->FindControl(SC_RESTORE);
    ASSERT_TRUE(pRestore && pRestore->IsVisible());
    pFrame->GetWindowRect(&rcWindow);
    const CRect rcRestore = pRestore->GetRect() + rcWindow.TopLeft();
    const POINT ptRestore{rcRestore.CenterPoint().x, rcRestore.CenterPoint().y};
    const COLORREF markers[] = {RGB(10, 11, 12), RGB(13, 14, 15), RGB(16, 17, 18), RGB(19, 20, 21)};
    // The marker colours the restore button shows: active, inactive, hot, pressed.
    auto shownMarkers = [&]() {
        int nShown = 0;
        for (int i = 0; i < 4; ++i)
            for (int y = rcRestore.top; y < rcRestore.bottom; ++y)
                for (int x = rcRestore.left; x < rcRestore.right; ++x)
                    if (FlatFramesScreenPixel(POINT{x, y}) == markers[i])
                    {
                        nShown |= 1 << i;
                        y = rcRestore.bottom;
                        break;
                    }
        return nShown;
    };
    MouseMoveTo(POINT{5, 300});
    PumpMessages(50);
    EXPECT_EQ(1, shownMarkers()) << "active";
    MouseMoveTo(POINT{ptRestore.x - 60, ptRestore.y});
    MouseMoveTo(ptRestore);
    ASSERT_TRUE(PumpUntil([&] { return pHook->GetHotButton() == pRestore; }));
    PumpMessages(30);
    EXPECT_EQ(4, shownMarkers()) << "hot";
    int nPressedMarkers = 0;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptRestore);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(100);
        nPressedMarkers = shownMarkers();
        ScriptMouseMove(POINT{ptRestore.x - 150, ptRestore.y + 80}, 100);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        ScriptWaitForCapture(dwThread, false);
    }));
    EXPECT_EQ(8, nPressedMarkers) << "pressed";
    EXPECT_TRUE(pFrame->IsZoomed());

    MouseMoveTo(POINT{5, 5});
    PumpMessages(50);
    pFrame->DestroyWindow();
    PumpMessages(20);
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
}

}  // namespace
