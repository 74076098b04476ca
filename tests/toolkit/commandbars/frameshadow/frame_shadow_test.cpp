// Frame shadows as the screen shows them: four layered bands around the
// frame, below it, each given its part of the gradients; hidden while the
// frame is maximized or minimized, back 250 ms after a restored frame's
// first border paint; options that turn shadows off or let the mouse
// through, also when a remote session starts; the manager's bookkeeping when
// a shadow cannot be made; bad sizes and blend stops.
#include <afxwin.h>

#include "frame_shadow_support.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "toolkit/commandbars/frame/QVTWinEventHook.h"

using namespace frameshadowtest;

namespace {

const CRect kFrameRect(CPoint(100, 120), CSize(1000, 600));

// Everything waiting, timers left out: what the shadow does without its
// restore timer.
void FrameShadowPumpWithoutTimers()
{
    MSG msg;
    for (int i = 0; i < 10; ++i)
    {
        while (::PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               ::PeekMessageW(&msg, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

bool AllBandsVisible(CQVTFrameShadow* pShadow)
{
    for (int i = 0; i < CQVTFrameShadow::bandCount; ++i)
        if (!pShadow->IsBandVisible(i))
            return false;
    return true;
}

bool NoBandVisible(CQVTFrameShadow* pShadow)
{
    for (int i = 0; i < CQVTFrameShadow::bandCount; ++i)
        if (pShadow->IsBandVisible(i))
            return false;
    return true;
}

int g_nShadowCreations = 0;
int g_nReorderEvents = 0;

// Refuses the third window titled as the shadows are.
LRESULT CALLBACK RefuseThirdShadowWindow(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND)
    {
        LPCWSTR lpszName = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszName;
        if (!IS_INTRESOURCE(lpszName) && lpszName != nullptr && lstrcmpW(lpszName, u"QVTFrameShadow") == 0 &&
            ++g_nShadowCreations == 3)
            return 1;
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK RefuseFirstWindow(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && ++g_nShadowCreations == 1)
        return 1;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CALLBACK CountReorderEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD)
{
    if (event == EVENT_OBJECT_REORDER)
        ++g_nReorderEvents;
}

void CALLBACK IgnoreWinEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

class CObserverLog : public IQVTFrameShadowManagerEvents
{
public:
    void OnShadowCreated(HWND hWndFrame, CQVTFrameShadow*) override { m_created.push_back(hWndFrame); }
    void OnShadowDestroyed(HWND hWndFrame, CQVTFrameShadow*) override { m_destroyed.push_back(hWndFrame); }
    void OnShadowOptionsChanged(int nOld, int nNew) override { m_options.push_back(CPoint(nOld, nNew)); }

    std::vector<HWND> m_created;
    std::vector<HWND> m_destroyed;
    std::vector<CPoint> m_options;
};

}  // namespace

TEST(FrameShadow, BandsSurroundTheFrameBelowItAndLeaveItsPixelsAlone)
{
    CLayeredRecorder recorder;
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(kFrameRect));
    frame.UpdateWindow();
    PumpMessages(100);
    std::unique_ptr<DibCanvas> before = screentest::Capture(frame.m_hWnd);

    CQVTFrameShadow* pShadow = CreateThemeShadow(frame.m_hWnd);
    ASSERT_NE(pShadow, nullptr);
    PumpMessages(100);
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(95, 115, 1105, 725));

    // The bands tile the shadow less the frame, each below the frame.
    const CRect expected[4] = {CRect(95, 115, 1105, 120), CRect(95, 720, 1105, 725), CRect(95, 120, 100, 720),
                               CRect(1100, 120, 1105, 720)};
    for (int i = 0; i < CQVTFrameShadow::bandCount; ++i)
    {
        HWND hBand = pShadow->GetBandWindow(i);
        CRect rc;
        ::GetWindowRect(hBand, &rc);
        EXPECT_EQ(rc, expected[i]) << "band " << i;
        EXPECT_TRUE(::IsWindowVisible(hBand)) << "band " << i;
        EXPECT_TRUE(IsBelow(hBand, frame.m_hWnd)) << "band " << i;
        const LONG exStyle = ::GetWindowLongW(hBand, GWL_EXSTYLE);
        EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT),
                  WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
        const CLayeredCall* pCall = LastLayeredCall(hBand);
        ASSERT_NE(pCall, nullptr) << "band " << i;
        EXPECT_EQ(CRect(pCall->ptDst, pCall->size), expected[i]);
        EXPECT_EQ(pCall->nConstantAlpha, 128);
    }

    // The gradients darken towards the frame and fade to nothing outwards,
    // premultiplied; the corner's outermost pixel is clear.
    const CLayeredCall* pTop = LastLayeredCall(pShadow->GetBandWindow(CQVTFrameShadow::bandTop));
    ASSERT_NE(pTop, nullptr);
    const int xMiddle = 505;
    EXPECT_LT(pTop->AlphaAt(xMiddle, 0), 60);
    EXPECT_GT(pTop->AlphaAt(xMiddle, 4), 100);
    for (int y = 1; y < 5; ++y)
        EXPECT_GT(pTop->AlphaAt(xMiddle, y), pTop->AlphaAt(xMiddle, y - 1)) << y;
    EXPECT_EQ(pTop->AlphaAt(0, 0), 0);
    EXPECT_GT(pTop->AlphaAt(4, 4), 0);
    const CLayeredCall* pRight = LastLayeredCall(pShadow->GetBandWindow(CQVTFrameShadow::bandRight));
    ASSERT_NE(pRight, nullptr);
    EXPECT_GT(pRight->AlphaAt(0, 300), pRight->AlphaAt(4, 300));
    EXPECT_EQ(pRight->pixels[300 * 5] & 0x00FFFFFF, 0u);  // black stays black

    // The frame's own pixels are as they were, the band beside it is not
    // the frame.
    std::unique_ptr<DibCanvas> after = screentest::Capture(frame.m_hWnd);
    int nChanged = 0;
    for (int y = 0; y < before->Height(); y += 7)
        for (int x = 0; x < before->Width(); x += 7)
            nChanged += before->At(x, y) != after->At(x, y);
    EXPECT_EQ(nChanged, 0);

    // A resizable frame's shadow catches the mouse; one without a sizing
    // border lets it through.
    EXPECT_EQ(::WindowFromPoint(CPoint(1102, 400)), pShadow->GetBandWindow(CQVTFrameShadow::bandRight));
    frame.ModifyStyle(WS_THICKFRAME, 0);
    EXPECT_TRUE(::GetWindowLongW(pShadow->GetBandWindow(CQVTFrameShadow::bandRight), GWL_EXSTYLE) &
                WS_EX_TRANSPARENT);
    EXPECT_NE(::WindowFromPoint(CPoint(1102, 400)), pShadow->GetBandWindow(CQVTFrameShadow::bandRight));

    // On the screen the band beside the frame shows the shadow's colour,
    // strongest next to the frame.
    pShadow->SetShadowColor(RGB(0, 0, 255));
    PumpMessages(50);
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clrInner = ::GetPixel(hScreen, 1100, 400);
    const COLORREF clrOuter = ::GetPixel(hScreen, 1104, 400);
    ::ReleaseDC(nullptr, hScreen);
    EXPECT_GT(GetBValue(clrInner), GetRValue(clrInner));
    EXPECT_GT(GetBValue(clrInner), GetBValue(clrOuter));
    EXPECT_EQ(LastLayeredCall(pShadow->GetBandWindow(CQVTFrameShadow::bandRight))->pixels[300 * 5] &
                  0x00FFFF00,
              0u);

    // Moving the frame takes the shadow along.
    frame.SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(50);
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(195, 145, 1205, 755));
    CRect rcLeft;
    ::GetWindowRect(pShadow->GetBandWindow(CQVTFrameShadow::bandLeft), &rcLeft);
    EXPECT_EQ(rcLeft, CRect(195, 150, 200, 750));
    const HWND hWndFrame = frame.m_hWnd;
    frame.DestroyWindow();
    EXPECT_EQ(CQVTFrameShadowManager::GetInstance()->GetShadow(hWndFrame), nullptr);
    EXPECT_EQ(CountShadowWindows(), 0);
}

TEST(FrameShadow, MaximizeHidesItAndAMinimizedFrameGetsItBackOnTheRestoreTimer)
{
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(kFrameRect,
                                  WS_POPUP | WS_THICKFRAME | WS_VISIBLE | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    CQVTFrameShadow* pShadow = CreateThemeShadow(frame.m_hWnd);
    ASSERT_NE(pShadow, nullptr);
    PumpMessages(50);
    ASSERT_TRUE(AllBandsVisible(pShadow));

    frame.ShowWindow(SW_MAXIMIZE);
    PumpMessages(50);
    ASSERT_TRUE(frame.IsZoomed());
    EXPECT_TRUE(NoBandVisible(pShadow));
    frame.ShowWindow(SW_RESTORE);
    FrameShadowPumpWithoutTimers();
    EXPECT_TRUE(AllBandsVisible(pShadow));
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(95, 115, 1105, 725));

    frame.ShowWindow(SW_MINIMIZE);
    PumpMessages(50);
    ASSERT_TRUE(frame.IsIconic());
    EXPECT_TRUE(NoBandVisible(pShadow));
    frame.ShowWindow(SW_RESTORE);
    frame.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    FrameShadowPumpWithoutTimers();
    EXPECT_TRUE(NoBandVisible(pShadow)) << "back before the restore timer";
    EXPECT_TRUE(PumpUntil([&] { return AllBandsVisible(pShadow); }, 3000));
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(95, 115, 1105, 725));

    // Hidden with its frame, shown with it.
    frame.ShowWindow(SW_HIDE);
    PumpMessages(20);
    EXPECT_TRUE(NoBandVisible(pShadow));
    frame.ShowWindow(SW_SHOWNA);
    PumpMessages(20);
    EXPECT_TRUE(AllBandsVisible(pShadow));
    frame.DestroyWindow();
}

TEST(FrameShadow, OptionsTurnShadowsOffOrLetTheMouseThroughAlsoForRemoteSessions)
{
    CLayeredRecorder recorder;
    CQVTFrameShadowManager* pManager = CQVTFrameShadowManager::GetInstance();
    CObserverLog log;
    pManager->AddObserver(&log);
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(kFrameRect));

    pManager->SetOptions(CQVTFrameShadowManager::optionNoShadows);
    EXPECT_EQ(pManager->GetEffectiveOptions(), 7);
    EXPECT_EQ(CreateThemeShadow(frame.m_hWnd), nullptr);
    EXPECT_EQ(CountShadowWindows(), 0);
    EXPECT_TRUE(log.m_created.empty());
    pManager->SetOptions(CQVTFrameShadowManager::optionRemoteInvisibleNoHitTest);
    EXPECT_EQ(pManager->GetEffectiveOptions(), 0);

    CQVTFrameShadow* pShadow = CreateThemeShadow(frame.m_hWnd);
    ASSERT_NE(pShadow, nullptr);
    ASSERT_EQ(log.m_created.size(), 1u);
    EXPECT_EQ(log.m_created[0], frame.m_hWnd);
    HWND hBand = pShadow->GetBandWindow(CQVTFrameShadow::bandTop);
    PumpMessages(30);

    // A remote desktop connecting: with the default options the shadow
    // paints nothing and lets the mouse through; the listener hears it.
    log.m_options.clear();
    HWND hListener = ::FindWindowW(nullptr, u"CQVTFrameShadowManager::CWtsEventListener");
    ASSERT_NE(hListener, nullptr);
    LayeredCalls().clear();
    ::SendMessageW(hListener, WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT, 1);
    EXPECT_TRUE(pManager->IsRemoteSession());
    EXPECT_EQ(pManager->GetEffectiveOptions(), 6);
    ASSERT_EQ(log.m_options.size(), 1u);
    EXPECT_EQ(log.m_options[0], CPoint(0, 6));
    EXPECT_TRUE(::GetWindowLongW(hBand, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    const CLayeredCall* pCall = LastLayeredCall(hBand);
    ASSERT_NE(pCall, nullptr);
    EXPECT_EQ(pCall->nConstantAlpha, 0);
    for (DWORD pixel : pCall->pixels)
        ASSERT_EQ(pixel, 0u);
    // Only invisible: nearly, and the mouse is still caught.
    pManager->SetOptions(CQVTFrameShadowManager::optionRemoteInvisible);
    EXPECT_EQ(pManager->GetEffectiveOptions(), 2);
    EXPECT_FALSE(::GetWindowLongW(hBand, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    pShadow->Update(FALSE, TRUE);
    EXPECT_EQ(LastLayeredCall(hBand)->nConstantAlpha, 2);
    // Disconnecting brings the shadow back.
    pManager->SetOptions(CQVTFrameShadowManager::optionRemoteInvisibleNoHitTest);
    ::SendMessageW(hListener, WM_WTSSESSION_CHANGE, WTS_REMOTE_DISCONNECT, 1);
    EXPECT_FALSE(pManager->IsRemoteSession());
    EXPECT_EQ(pManager->GetEffectiveOptions(), 0);
    EXPECT_EQ(LastLayeredCall(hBand)->nConstantAlpha, 128);
    EXPECT_FALSE(::GetWindowLongW(hBand, GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    const HWND hWndFrame = frame.m_hWnd;
    frame.DestroyWindow();
    ASSERT_EQ(log.m_destroyed.size(), 1u);
    EXPECT_EQ(log.m_destroyed[0], hWndFrame);
    pManager->RemoveObserver(&log);
}

TEST(FrameShadow, HooksAreCountedPerShadowAndAShadowThatCannotBeMadeLeavesNothing)
{
    CQVTFrameShadowManager* pManager = CQVTFrameShadowManager::GetInstance();
    const DWORD dwThread = ::GetCurrentThreadId();
    CShadowedFrame first, second;
    ASSERT_TRUE(first.CreateFrame(CRect(50, 50, 450, 400)));
    ASSERT_TRUE(second.CreateFrame(CRect(500, 50, 900, 400)));
    ASSERT_NE(CreateThemeShadow(first.m_hWnd), nullptr);
    EXPECT_EQ(CreateThemeShadow(first.m_hWnd), pManager->GetShadow(first.m_hWnd));
    EXPECT_EQ(pManager->GetThreadHookCount(dwThread), 1);
    ASSERT_NE(CreateThemeShadow(second.m_hWnd), nullptr);
    EXPECT_EQ(pManager->GetThreadHookCount(dwThread), 2);
    pManager->DisableShadow(second.m_hWnd);
    EXPECT_EQ(pManager->GetThreadHookCount(dwThread), 1);

    // The third of the shadow's windows is refused.
    g_nShadowCreations = 0;
    HHOOK hRefuse = ::SetWindowsHookExW(WH_CBT, &RefuseThirdShadowWindow, nullptr, dwThread);
    ASSERT_NE(hRefuse, nullptr);
    const LONG nLive = CQVTFrameShadow::GetLiveCount();
    EXPECT_EQ(CreateThemeShadow(second.m_hWnd), nullptr);
    ::UnhookWindowsHookEx(hRefuse);
    EXPECT_EQ(g_nShadowCreations, 3);
    EXPECT_EQ(pManager->GetShadow(second.m_hWnd), nullptr);
    EXPECT_EQ(pManager->GetShadowCount(), 1);
    EXPECT_EQ(pManager->GetThreadHookCount(dwThread), 1);
    EXPECT_EQ(CQVTFrameShadow::GetLiveCount(), nLive);
    EXPECT_EQ(CountShadowWindows(), 5);  // the first frame's

    // Refused for the only shadow of the thread: the hook goes too.
    first.DestroyWindow();
    EXPECT_EQ(pManager->GetThreadHookCount(dwThread), 0);
    g_nShadowCreations = 0;
    hRefuse = ::SetWindowsHookExW(WH_CBT, &RefuseFirstWindow, nullptr, dwThread);
    EXPECT_EQ(CreateThemeShadow(second.m_hWnd), nullptr);
    ::UnhookWindowsHookEx(hRefuse);
    EXPECT_EQ(pManager->GetThreadHookCount(dwThread), 0);
    EXPECT_EQ(pManager->GetShadowCount(), 0);
    EXPECT_EQ(CountShadowWindows(), 0);
    second.DestroyWindow();
}

TEST(FrameShadow, BadSizesAndBlendStopsAreBoundedOrRefused)
{
    CLayeredRecorder recorder;
    CQVTFrameShadowManager* pManager = CQVTFrameShadowManager::GetInstance();

    // Edge rectangles of frames smaller than twice the corner stop at 0.
    for (CSize sz : {CSize(0, 0), CSize(1, 1), CSize(5, 7), CSize(9, 3), CSize(16, 16)})
    {
        const CQVTFrameShadow::CDrawingRects rects = CQVTFrameShadow::ComputeDrawingRects(sz.cx, sz.cy, 5, 3);
        for (const CRect& rc : rects.rcEdges)
        {
            EXPECT_GE(rc.Width(), 0) << sz.cx << "x" << sz.cy;
            EXPECT_GE(rc.Height(), 0) << sz.cx << "x" << sz.cy;
            EXPECT_LE(rc.right, sz.cx);
            EXPECT_LE(rc.bottom, sz.cy);
        }
        EXPECT_GE(rects.rcCentre.Width(), 0);
        EXPECT_GE(rects.rcCentre.Height(), 0);
    }

    // Size 0 with no default: a shadow the size of the frame, no band shown.
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(300, 300, 700, 700)));
    CQVTFrameShadow* pShadow = pManager->EnableShadow(frame.m_hWnd, RGB(0, 0, 0), 0, 0, CPoint(0, 0), 128);
    ASSERT_NE(pShadow, nullptr);
    PumpMessages(20);
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(300, 300, 700, 700));
    EXPECT_TRUE(NoBandVisible(pShadow));
    EXPECT_TRUE(LayeredCalls().empty());
    pManager->DisableShadow(frame.m_hWnd);

    // Huge sizes are held to the largest kept.
    pShadow = pManager->EnableShadow(frame.m_hWnd, RGB(0, 0, 0), INT_MAX, INT_MAX, CPoint(0, 0), 128);
    ASSERT_NE(pShadow, nullptr);
    const int nMax = CQVTFrameShadowManager::kMaxShadowSize;
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(300 - nMax, 300 - nMax, 700 + nMax, 700 + nMax));
    pManager->DisableShadow(frame.m_hWnd);
    pShadow = pManager->EnableShadow(frame.m_hWnd, RGB(0, 0, 0), -40, -3, CPoint(0, 0), 128);
    ASSERT_NE(pShadow, nullptr);
    EXPECT_EQ(pShadow->GetShadowRect(), CRect(300, 300, 700, 700));
    pManager->DisableShadow(frame.m_hWnd);

    // Stops of unequal length, or ones GDI+ would refuse, are not kept.
    EXPECT_FALSE(pManager->SetBlendStops({0.0f, 0.5f, 1.0f}, {1.0f, 1.0f}));
    EXPECT_FALSE(pManager->SetBlendStops({0.0f, 1.0f}, {1.0f, 1.0f, 1.0f}));
    EXPECT_FALSE(pManager->SetBlendStops({0.2f, 1.0f}, {1.0f, 1.0f}));
    EXPECT_FALSE(pManager->SetBlendStops({0.0f, 1.0f}, {1.0f, 2.0f}));
    EXPECT_EQ(pManager->GetBlendStops(nullptr, nullptr), 0);
    // Full strength across the edge: the outermost row turns dark.
    ASSERT_TRUE(pManager->SetBlendStops({0.0f, 1.0f}, {1.0f, 1.0f}));
    EXPECT_EQ(pManager->GetBlendStops(nullptr, nullptr), 2);
    pShadow = CreateThemeShadow(frame.m_hWnd);
    ASSERT_NE(pShadow, nullptr);
    const CLayeredCall* pTop = LastLayeredCall(pShadow->GetBandWindow(CQVTFrameShadow::bandTop));
    ASSERT_NE(pTop, nullptr);
    EXPECT_GT(pTop->AlphaAt(200, 0), 200);
    const float badPositions[] = {0.0f, 0.7f, 0.4f, 1.0f};
    const float factors[] = {1.0f, 1.0f, 1.0f, 1.0f};
    EXPECT_FALSE(pShadow->SetBlendStops(4, badPositions, factors));
    EXPECT_FALSE(pShadow->SetBlendStops(1, badPositions, factors));
    EXPECT_FALSE(pShadow->SetBlendStops(2, nullptr, factors));
    ASSERT_TRUE(pShadow->SetBlendStops(0, nullptr, nullptr));
    EXPECT_LT(LastLayeredCall(pShadow->GetBandWindow(CQVTFrameShadow::bandTop))->AlphaAt(200, 0), 60);
    ASSERT_TRUE(pManager->SetBlendStops({}, {}));
    frame.DestroyWindow();
}

TEST(FrameShadow, WinEventHookDeliversRaisedReorderEventsUntilUninstalled)
{
    g_nReorderEvents = 0;
    CShadowedFrame frame;
    ASSERT_TRUE(frame.CreateFrame(CRect(50, 50, 450, 400)));
    CQVTWinEventHook hook;
    ASSERT_TRUE(hook.Install(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, &CountReorderEvent));
    EXPECT_FALSE(hook.Install(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, &IgnoreWinEvent));
    ::NotifyWinEvent(EVENT_OBJECT_REORDER, frame.m_hWnd, OBJID_WINDOW, CHILDID_SELF);
    EXPECT_TRUE(PumpUntil([&] { return g_nReorderEvents == 1; }, 2000));
    hook.Uninstall();
    EXPECT_FALSE(hook.IsInstalled());
    ::NotifyWinEvent(EVENT_OBJECT_REORDER, frame.m_hWnd, OBJID_WINDOW, CHILDID_SELF);
    PumpMessages(50);
    EXPECT_EQ(g_nReorderEvents, 1);
    frame.DestroyWindow();
}
