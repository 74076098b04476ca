// The frame's loops under the real pointer: a caption button hot, pressed
// and clicked; the thumb dragged over the whole int range, too far away and
// back, and centred by a Shift-click; a held arrow's repeat intervals; and
// windows destroyed and WM_QUIT posted inside each loop.
#include <atomic>
#include <climits>

#include "frame_test_support.h"
#include "real_input.h"

namespace {
const DWORD kSkinFrameInputStyle = WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL;

std::vector<std::pair<UINT_PTR, UINT>> g_skinFrameTimers;
std::atomic<int> g_skinFrameRepeats{0};

UINT_PTR WINAPI SkinFrameRecordTimer(HWND hWnd, UINT_PTR nID, UINT nElapse, TIMERPROC pfnProc)
{
    if (nID == qvtSkinFrameRepeatTimer)
    {
        g_skinFrameTimers.emplace_back(nID, nElapse);
        ++g_skinFrameRepeats;
    }
    return ::SetTimer(hWnd, nID, nElapse, pfnProc);
}

void SkinFrameSetVertical(HWND hWnd, int nMin, int nMax, UINT nPage, int nPos)
{
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, nMin, nMax, nPage, nPos, 0};
    ::SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    if (pFrame != nullptr)
        pFrame->RedrawFrame();
}

// A key held or let go on the X display itself: Wine takes the modifier
// state of a pointer event from the display, so a Shift sent with SendInput
// alone is up again by the time the press arrives.
bool SkinFrameXKey(LPCTSTR lpszAction)
{
    CString strCommand = CString(u"/usr/bin/xdotool ") + lpszAction + u" Shift_L";
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, strCommand.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return false;
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

POINT SkinFrameThumbCentre(HWND hWnd)
{
    const QVT_SKIN_SCROLLBARPOSINFO& bar = *SkinFrameOf(hWnd)->GetScrollBarPosInfo(SB_VERT);
    return SkinFrameToScreen(
        hWnd, CPoint((bar.pxLeft + bar.pxRight) / 2, (bar.pxThumbTop + bar.pxThumbBottom) / 2));
}
}  // namespace

class SkinFrameInput : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_pSkin = new SkinFrameLoadedSkin;
        s_hWnd = SkinFrameCreate(SkinFrameWindowClass(), kSkinFrameInputStyle);
    }
    static void TearDownTestSuite()
    {
        ::DestroyWindow(s_hWnd);
        delete s_pSkin;
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_hWnd);
        MouseMoveTo(POINT{600, 500});
        PumpMessages(30);
        g_skinFrameLog.Clear();
        m_pFrame = SkinFrameOf(s_hWnd);
        ASSERT_NE(nullptr, m_pFrame);
        m_pFrame->RedrawFrame();
    }
    void TearDown() override { CQVTSkinObjectFrame::s_pfnSetTimer = ::SetTimer; }

    static SkinFrameLoadedSkin* s_pSkin;
    static HWND s_hWnd;
    CQVTSkinObjectFrame* m_pFrame = nullptr;
};
SkinFrameLoadedSkin* SkinFrameInput::s_pSkin = nullptr;
HWND SkinFrameInput::s_hWnd = nullptr;

TEST_F(SkinFrameInput, CaptionButtonShowsHotAndPressedAndAClickSendsOneSysCommand)
{
    const auto& buttons = m_pFrame->GetCaptionButtons();
    ASSERT_EQ(3u, buttons.size());
    CQVTSkinObjectFrame::CCaptionButton* pClose = buttons[0].get();
    const CRect rc = pClose->m_rcButton;
    const CPoint ptCentre = rc.CenterPoint();
    const CPoint ptPixel(rc.left + rc.Width() / 4, rc.top + rc.Height() / 4);
    auto rendered = [&](int nState) {
        return SkinFrameRenderedPixel(u"WINDOW", 18, nState, rc.Size(), ptPixel - rc.TopLeft());
    };
    EXPECT_EQ(rendered(1), SkinFrameWindowPixel(s_hWnd, ptPixel.x, ptPixel.y));

    MouseMoveTo(SkinFrameToScreen(s_hWnd, ptCentre));
    PumpUntil([&] { return m_pFrame->GetHotButton() == pClose; }, 2000);
    EXPECT_EQ(pClose, m_pFrame->GetHotButton());
    EXPECT_EQ(rendered(2), SkinFrameWindowPixel(s_hWnd, ptPixel.x, ptPixel.y));

    COLORREF clrPressed = CLR_INVALID;
    CQVTSkinObjectFrame::CCaptionButton* pPressed = nullptr;
    const DWORD dwThread = ::GetCurrentThreadId();
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(50);
        pPressed = m_pFrame->GetPressedButton();
        clrPressed = SkinFrameWindowPixel(s_hWnd, ptPixel.x, ptPixel.y);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    EXPECT_EQ(pClose, pPressed);
    EXPECT_EQ(rendered(3), clrPressed);
    ASSERT_EQ(1u, g_skinFrameLog.sysCommands.size());
    EXPECT_EQ(static_cast<UINT>(SC_CLOSE), g_skinFrameLog.sysCommands[0]);
    EXPECT_EQ(nullptr, ::GetCapture());

    // Pressed, moved off and let go: no command.
    g_skinFrameLog.Clear();
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseMove(SkinFrameToScreen(s_hWnd, CPoint(160, 120)));
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    EXPECT_TRUE(g_skinFrameLog.sysCommands.empty());
}

TEST_F(SkinFrameInput, BarPartUnderThePointerIsHotUntilThePointerLeaves)
{
    SkinFrameSetVertical(s_hWnd, 0, 1000, 100, 0);
    const QVT_SKIN_SCROLLBARPOSINFO& bar = *m_pFrame->GetScrollBarPosInfo(SB_VERT);
    const CSize szArrow(bar.pxRight - bar.pxLeft, bar.pxBottom - bar.pxDownArrow);
    const CPoint ptPixel(bar.pxLeft + szArrow.cx / 3, bar.pxDownArrow + szArrow.cy / 3);
    auto rendered = [&](int nState) {
        return SkinFrameRenderedPixel(u"SCROLLBAR", 1, nState, szArrow,
                                      CPoint(szArrow.cx / 3, szArrow.cy / 3));
    };
    ASSERT_NE(rendered(5), rendered(6)) << "the skin's normal and hot down arrows differ there";
    MouseMoveTo(SkinFrameToScreen(
        s_hWnd, CPoint((bar.pxLeft + bar.pxRight) / 2, (bar.pxDownArrow + bar.pxBottom) / 2)));
    PumpUntil([&] { return bar.ht == qvtSkinScrollSecondArrow; }, 2000);
    EXPECT_EQ(qvtSkinScrollSecondArrow, bar.ht);
    EXPECT_EQ(rendered(6), SkinFrameWindowPixel(s_hWnd, ptPixel.x, ptPixel.y));
    // Into the client, where no non-client message comes: the hot timer
    // sees the pointer gone.
    MouseMoveTo(SkinFrameToScreen(s_hWnd, CPoint(80, 120)));
    PumpUntil([&] { return bar.ht == qvtSkinScrollNone; }, 2000);
    EXPECT_EQ(qvtSkinScrollNone, bar.ht);
    EXPECT_EQ(rendered(5), SkinFrameWindowPixel(s_hWnd, ptPixel.x, ptPixel.y));
}

TEST_F(SkinFrameInput, ThumbDragSendsEachNewPositionOnceOverTheWholeIntRange)
{
    // Wine keeps a range of 2^31 or more with a page of 2^31: the largest
    // it holds as given is INT_MAX positions.
    SkinFrameSetVertical(s_hWnd, 0, INT_MAX - 1, 0, 0);
    ASSERT_TRUE(::GetWindowLongW(s_hWnd, GWL_STYLE) & WS_VSCROLL);
    const POINT ptThumb = SkinFrameThumbCentre(s_hWnd);
    const DWORD dwThread = ::GetCurrentThreadId();
    const int nMoves = 12;
    const int nStep = 15;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptThumb);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        for (int i = 1; i <= nMoves; ++i)
            ScriptMouseMove(POINT{ptThumb.x, ptThumb.y + i * nStep}, 20);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    const auto& scrolls = g_skinFrameLog.scrolls;
    ASSERT_GE(scrolls.size(), 4u);
    const int nTracks = g_skinFrameLog.Count(SB_THUMBTRACK);
    EXPECT_LE(nTracks, nMoves + 1) << "one SB_THUMBTRACK per move at most";
    EXPECT_GE(nTracks, 3);
    EXPECT_EQ(SB_THUMBTRACK, scrolls.front().code);
    EXPECT_EQ(0, scrolls.front().pos);
    int nLast = -1;
    for (const SkinFrameScroll& scroll : scrolls)
    {
        EXPECT_EQ(static_cast<UINT>(WM_VSCROLL), scroll.message);
        if (scroll.code != SB_THUMBTRACK)
            continue;
        EXPECT_GT(scroll.pos, nLast) << "positions only grow while the thumb goes down";
        nLast = scroll.pos;
    }
    // The thumb went to the end of the track: the end of the range.
    EXPECT_EQ(INT_MAX - 1, nLast);
    ASSERT_EQ(2, scrolls.end() - std::find_if(scrolls.begin(), scrolls.end(), [](const SkinFrameScroll& s) {
                     return s.code == SB_THUMBPOSITION;
                 }));
    EXPECT_EQ(INT_MAX - 1, scrolls[scrolls.size() - 2].pos);
    EXPECT_EQ(static_cast<UINT>(SB_ENDSCROLL), scrolls.back().code);
    EXPECT_FALSE(m_pFrame->IsTracking());
}

TEST_F(SkinFrameInput, ThumbDraggedFarAwaySnapsBackAndComesBack)
{
    SkinFrameSetVertical(s_hWnd, 0, 1000, 100, 300);
    const POINT ptThumb = SkinFrameThumbCentre(s_hWnd);
    const QVT_SKIN_SCROLLBARPOSINFO& bar = *m_pFrame->GetScrollBarPosInfo(SB_VERT);
    const int nThumbTop = bar.pxThumbTop;
    const int nThickness = bar.pxRight - bar.pxLeft;
    const DWORD dwThread = ::GetCurrentThreadId();
    int nTopAway = 0, nTopBack = 0;
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptThumb);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ScriptMouseMove(POINT{ptThumb.x, ptThumb.y + 40});
        // Beyond eight bar widths to the left: the thumb goes home.
        ScriptMouseMove(POINT{ptThumb.x - 9 * nThickness, ptThumb.y + 40}, 80);
        nTopAway = bar.pxThumbTop;
        ScriptMouseMove(POINT{ptThumb.x - 2 * nThickness, ptThumb.y + 40}, 80);
        nTopBack = bar.pxThumbTop;
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    EXPECT_EQ(nThumbTop, nTopAway);
    EXPECT_EQ(nThumbTop + 40, nTopBack);
    std::vector<int> tracks;
    for (const SkinFrameScroll& scroll : g_skinFrameLog.scrolls)
        if (scroll.code == SB_THUMBTRACK)
            tracks.push_back(scroll.pos);
    ASSERT_EQ(4u, tracks.size());
    EXPECT_EQ(300, tracks[0]);
    EXPECT_GT(tracks[1], 300);
    EXPECT_EQ(300, tracks[2]) << "home again, the position the drag began with";
    EXPECT_EQ(tracks[1], tracks[3]);
}

TEST_F(SkinFrameInput, ShiftClickOnThePageCentresTheThumb)
{
    SkinFrameSetVertical(s_hWnd, 0, 1000, 100, 0);
    const QVT_SKIN_SCROLLBARPOSINFO& bar = *m_pFrame->GetScrollBarPosInfo(SB_VERT);
    const int yPage = bar.pxThumbBottom + (bar.pxDownArrow - bar.pxThumbBottom) / 2;
    const POINT ptPage = SkinFrameToScreen(s_hWnd, CPoint((bar.pxLeft + bar.pxRight) / 2, yPage));
    const DWORD dwThread = ::GetCurrentThreadId();
    int nTop = 0, nThumb = 0;
    BOOL bThumbTracking = FALSE;
    bool bXKey = false;
    // Shift reaches the thread of the foreground window.
    ::SetWindowLongW(s_hWnd, GWL_EXSTYLE, ::GetWindowLongW(s_hWnd, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
    ::SetForegroundWindow(s_hWnd);
    PumpMessages(50);
    EXPECT_EQ(s_hWnd, ::GetForegroundWindow());
    ASSERT_TRUE(RunInputScript([&] {
        bXKey = SkinFrameXKey(u"keydown");
        ::Sleep(50);
        ScriptMouseMove(ptPage);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        ::Sleep(50);
        nTop = bar.pxThumbTop;
        nThumb = bar.cpxThumb;
        bThumbTracking = m_pFrame->GetTrackInfo() != nullptr && m_pFrame->GetTrackInfo()->bTrackThumb;
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
        SkinFrameXKey(u"keyup");
    }));
    ASSERT_TRUE(bXKey);
    ::SetWindowLongW(s_hWnd, GWL_EXSTYLE, ::GetWindowLongW(s_hWnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE);
    EXPECT_TRUE(bThumbTracking);
    EXPECT_EQ(yPage - nThumb / 2, nTop);
    ASSERT_GE(g_skinFrameLog.Count(SB_THUMBTRACK), 2);
    EXPECT_EQ(0, g_skinFrameLog.Count(SB_PAGEDOWN));
    EXPECT_EQ(1, g_skinFrameLog.Count(SB_THUMBPOSITION));
}

TEST_F(SkinFrameInput, HeldArrowRepeatsAfterFourFifthsThenEveryTenthOfTheDoubleClickTime)
{
    SkinFrameSetVertical(s_hWnd, 0, 1000, 100, 0);
    const UINT nDoubleClick = ::GetDoubleClickTime();
    ::SetDoubleClickTime(1000);
    g_skinFrameTimers.clear();
    g_skinFrameRepeats = 0;
    CQVTSkinObjectFrame::s_pfnSetTimer = &SkinFrameRecordTimer;
    const QVT_SKIN_SCROLLBARPOSINFO& bar = *m_pFrame->GetScrollBarPosInfo(SB_VERT);
    const POINT ptArrow = SkinFrameToScreen(
        s_hWnd, CPoint((bar.pxLeft + bar.pxRight) / 2, (bar.pxDownArrow + bar.pxBottom) / 2));
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseMove(ptArrow);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        const DWORD dwStart = ::GetTickCount();
        while (g_skinFrameRepeats < 4 && ::GetTickCount() - dwStart < 5000)
            ::Sleep(10);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    ::SetDoubleClickTime(nDoubleClick);
    ASSERT_GE(g_skinFrameTimers.size(), 4u);
    EXPECT_EQ(800u, g_skinFrameTimers[0].second);
    for (size_t i = 1; i < g_skinFrameTimers.size(); ++i)
        EXPECT_EQ(100u, g_skinFrameTimers[i].second) << i;
    // One line for the press and one for each repeat, then the end.
    EXPECT_EQ(static_cast<int>(g_skinFrameTimers.size()), g_skinFrameLog.Count(SB_LINEDOWN));
    EXPECT_EQ(static_cast<UINT>(SB_ENDSCROLL), g_skinFrameLog.scrolls.back().code);
}

// The loops started by the messages a click sends, on hidden windows whose
// own procedure destroys them or posts WM_QUIT from inside the loop.
TEST(SkinFrameLoops, WindowDestroyedInsideEachLoopEndsItCleanly)
{
    SkinFrameLoadedSkin skin;
    for (int nLoop = 0; nLoop < 2; ++nLoop)
    {
        g_skinFrameLog.Clear();
        const int nLiveBefore = CSkinFrameCountedObject::s_nLive;
        HWND hWnd = SkinFrameCreate(SkinFrameCountedClass(), kSkinFrameInputStyle, 0, FALSE);
        CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
        ASSERT_NE(nullptr, pFrame);
        ASSERT_EQ(nLiveBefore + 1, CSkinFrameCountedObject::s_nLive);
        SkinFrameSetVertical(hWnd, 0, 100, 10, 0);
        pFrame->RedrawFrame();
        int nLiveInside = -1;
        g_skinFrameLog.onApp = [&](HWND h) {
            ::DestroyWindow(h);
            nLiveInside = CSkinFrameCountedObject::s_nLive;
        };
        ::PostMessageW(hWnd, WM_APP, 0, 0);
        // Called straight, as a derived object's handler may: only the
        // loop's own reference keeps the frame.
        if (nLoop == 0)
        {
            pFrame->OnNcMouseMoveHook(
                SkinFrameToScreen(hWnd, pFrame->GetCaptionButtons()[0]->m_rcButton.CenterPoint()));
            ASSERT_NE(nullptr, pFrame->GetHotButton());
            pFrame->TrackCaptionButton();
        }
        else
        {
            QVT_SKIN_SCROLLBARPOSINFO* pBar = pFrame->GetScrollBarPosInfo(SB_VERT);
            pFrame->TrackInit(
                CPoint((pBar->pxLeft + pBar->pxRight) / 2, (pBar->pxDownArrow + pBar->pxBottom) / 2), pBar,
                FALSE);
        }
        EXPECT_FALSE(::IsWindow(hWnd)) << nLoop;
        EXPECT_EQ(nLiveBefore + 1, nLiveInside) << nLoop << ": the loop's frame outlives its window";
        EXPECT_EQ(nLiveBefore, CSkinFrameCountedObject::s_nLive) << nLoop << ": and goes once the loop ends";
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_TRUE(g_skinFrameLog.sysCommands.empty());
    }
    g_skinFrameLog.Clear();
}

TEST(SkinFrameLoops, QuitPostedInsideEachLoopReachesTheApplicationLoop)
{
    SkinFrameLoadedSkin skin;
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), kSkinFrameInputStyle, 0, FALSE);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    SkinFrameSetVertical(hWnd, 0, 100, 10, 0);
    pFrame->RedrawFrame();
    for (int nLoop = 0; nLoop < 2; ++nLoop)
    {
        g_skinFrameLog.Clear();
        g_skinFrameLog.onApp = [](HWND) { ::PostQuitMessage(37); };
        ::PostMessageW(hWnd, WM_APP, 0, 0);
        const QVT_SKIN_SCROLLBARPOSINFO& bar = *pFrame->GetScrollBarPosInfo(SB_VERT);
        const CPoint pt =
            nLoop == 0 ? SkinFrameToScreen(hWnd, pFrame->GetCaptionButtons()[0]->m_rcButton.CenterPoint())
                       : SkinFrameToScreen(hWnd, CPoint((bar.pxLeft + bar.pxRight) / 2,
                                                        (bar.pxDownArrow + bar.pxBottom) / 2));
        ::SendMessageW(hWnd, WM_NCLBUTTONDOWN, nLoop == 0 ? HTCLOSE : HTVSCROLL, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(nullptr, ::GetCapture()) << nLoop;
        EXPECT_FALSE(pFrame->IsTracking());
        MSG msg = {};
        ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << nLoop;
        EXPECT_EQ(37u, msg.wParam) << nLoop;
        EXPECT_TRUE(g_skinFrameLog.sysCommands.empty());
        if (nLoop == 1)
        {
            EXPECT_EQ(static_cast<UINT>(SB_ENDSCROLL), g_skinFrameLog.scrolls.back().code);
        }
    }
    g_skinFrameLog.Clear();
    ::DestroyWindow(hWnd);
}
