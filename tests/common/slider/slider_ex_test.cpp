// The slider driven by real mouse input on a real window: click-to-jump,
// drags and their notifications in order, the settle timer, markers that
// part, the greyed look, and the thumb where the geometry puts it, read
// from the screen.
#include "sondrel_gtest.h"

#include <vector>

#include "common/SliderEx.h"
#include "tests/common/screen_test_support.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

using namespace screentest;

struct Note
{
    UINT message;
    int value;  // the position, or for limit messages the limit that moved
    bool operator==(const Note& other) const { return message == other.message && value == other.value; }
};

// Beside Note, where gtest looks for it.
static void PrintTo(const Note& note, std::ostream* os)
{
    static const char* const names[] = {"RELEASED", "CHANGING", "LIMITS_RELEASED", "LOWER_CHANGED",
                                        "UPPER_CHANGED"};
    *os << "{" << names[note.message - WM_SLIDEREX_RELEASED] << ", " << note.value << "}";
}

// The slider's parent: it records the notifications with the value each
// one reports.
class SliderParent : public CWnd
{
public:
    CSliderEx* m_pSlider = nullptr;
    std::vector<Note> m_notes;
    HWND m_hFrom = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_SLIDEREX_RELEASED && message <= WM_SLIDEREX_UPPER_CHANGED && m_pSlider)
        {
            m_hFrom = reinterpret_cast<HWND>(wParam);
            int value = m_pSlider->GetPos();
            if (message == WM_SLIDEREX_LOWER_CHANGED)
                value = m_pSlider->GetLowerLimit();
            if (message == WM_SLIDEREX_UPPER_CHANGED)
                value = m_pSlider->GetUpperLimit();
            if (message == WM_SLIDEREX_LIMITS_RELEASED)
                value = 0;
            m_notes.push_back({message, value});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

namespace {

void SendMouse(DWORD flags, int x = 0, int y = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE)
    {
        // Absolute coordinates run from 0 to 65535 across the screen.
        int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (x * 65536 + width / 2) / width;
        input.mi.dy = (y * 65536 + height / 2) / height;
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(1, &input, sizeof(input));
    Pump();
}

}  // namespace

class SliderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, AfxRegisterWndClass(0),
                                      _T("slider parent"), WS_POPUP | WS_VISIBLE, kLeft, kTop, 340, 60,
                                      nullptr, nullptr));
        // A dialog's placeholder control, taken over as the recorder does.
        HWND control = CreateWindowExW(0, _T("STATIC"), _T(""), WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10,
                                       216, 24, m_parent.m_hWnd, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_slider.SubclassControl(control));
        m_parent.m_pSlider = &m_slider;
        m_slider.SetRange(0, 176);  // one value a pixel: value = x - 20
        Park();
    }
    void TearDown() override
    {
        SendMouse(MOUSEEVENTF_LEFTUP);
        if (m_slider.m_hWnd)
            m_slider.DestroyWindow();
        if (m_parent.m_hWnd)
            m_parent.DestroyWindow();
    }

    // Mouse actions at a point of the slider's client area.
    void Move(int x, int y = 12) { SendMouse(MOUSEEVENTF_MOVE, kLeft + 10 + x, kTop + 10 + y); }
    void Press(int x, int y = 12)
    {
        Move(x, y);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
    }
    void Release() { SendMouse(MOUSEEVENTF_LEFTUP); }
    // The mouse away from the slider, so nothing is drawn hovered.
    void Park() { SendMouse(MOUSEEVENTF_MOVE, kLeft + 5, kTop + 55); }

    // Every move stays inside the parent, which lies apart from the other
    // windows these tests show.
    static constexpr int kLeft = 880, kTop = 560;
    SliderParent m_parent;
    CSliderEx m_slider;
};

TEST_F(SliderTest, AClickJumpsAndADragNotifiesInOrder)
{
    m_slider.EnableLimits(FALSE);
    Press(120);
    EXPECT_TRUE(m_slider.IsThumbDragged());
    EXPECT_EQ(GetCapture(), m_slider.m_hWnd);
    Move(140);
    Move(60);
    Move(60, 40);  // off the control: the drag goes on
    Move(320);     // past the end: the top of the range
    Release();
    const std::vector<Note> expected = {{WM_SLIDEREX_CHANGING, 100},
                                        {WM_SLIDEREX_CHANGING, 120},
                                        {WM_SLIDEREX_CHANGING, 40},
                                        {WM_SLIDEREX_CHANGING, 176},
                                        {WM_SLIDEREX_RELEASED, 176}};
    EXPECT_EQ(m_parent.m_notes, expected);
    EXPECT_EQ(m_parent.m_hFrom, m_slider.m_hWnd);
    EXPECT_FALSE(m_slider.IsThumbDragged());
    EXPECT_EQ(GetCapture(), nullptr);

    // A press beside the channel does nothing.
    m_parent.m_notes.clear();
    Press(5, 2);
    Release();
    EXPECT_TRUE(m_parent.m_notes.empty());
    EXPECT_EQ(m_slider.GetPos(), 176);
}

TEST_F(SliderTest, AThumbHeldStillIsReleasedOnceThenAgainOnButtonUp)
{
    m_slider.EnableLimits(FALSE);
    Press(50);
    Move(70);
    ASSERT_EQ(m_parent.m_notes.size(), 2u);
    // Still, with the button down, until the settle timer has spoken.
    for (int i = 0; i < 300 && m_parent.m_notes.size() < 3; ++i)
        Pump();
    for (int i = 0; i < 20; ++i)
        Pump();  // a while longer: it speaks only once
    const std::vector<Note> settled = {
        {WM_SLIDEREX_CHANGING, 30}, {WM_SLIDEREX_CHANGING, 50}, {WM_SLIDEREX_RELEASED, 50}};
    EXPECT_EQ(m_parent.m_notes, settled);
    EXPECT_TRUE(m_slider.IsThumbDragged());
    Release();
    ASSERT_EQ(m_parent.m_notes.size(), 4u);
    EXPECT_EQ(m_parent.m_notes[3], (Note{WM_SLIDEREX_RELEASED, 50}));
}

TEST_F(SliderTest, MarkersHeldTogetherPartAtTheFirstMove)
{
    // Equal limits: no band and no markers drawn, but the marker places
    // still take the mouse; the position is pinned to the limit.
    m_slider.SetLimits(88, 88);
    EXPECT_EQ(m_slider.GetPos(), 88);
    CRect lower = m_slider.GetLowerMarkerRect();
    EXPECT_EQ(lower, m_slider.GetUpperMarkerRect());
    Press(lower.CenterPoint().x, lower.CenterPoint().y);
    Move(90, lower.CenterPoint().y);   // leftward: the lower marker goes
    Move(130, lower.CenterPoint().y);  // the upper one was let go
    Release();
    std::vector<Note> expected = {
        {WM_SLIDEREX_LOWER_CHANGED, 70}, {WM_SLIDEREX_LOWER_CHANGED, 88}, {WM_SLIDEREX_LIMITS_RELEASED, 0}};
    EXPECT_EQ(m_parent.m_notes, expected);

    m_parent.m_notes.clear();
    m_slider.SetLimits(88, 88);
    Press(lower.CenterPoint().x, lower.CenterPoint().y);
    Move(130, lower.CenterPoint().y);  // rightward: the upper marker goes
    Move(60, lower.CenterPoint().y);   // and can't pass the lower one
    Release();
    expected = {
        {WM_SLIDEREX_UPPER_CHANGED, 110}, {WM_SLIDEREX_UPPER_CHANGED, 88}, {WM_SLIDEREX_LIMITS_RELEASED, 0}};
    EXPECT_EQ(m_parent.m_notes, expected);

    // A lower limit dragged past the position takes the position along.
    m_parent.m_notes.clear();
    m_slider.SetLimits(40, 150);
    m_slider.SetPos(50);
    CRect marker = m_slider.GetLowerMarkerRect();
    Press(marker.CenterPoint().x, marker.CenterPoint().y);
    Move(120, marker.CenterPoint().y);
    Release();
    expected = {
        {WM_SLIDEREX_LOWER_CHANGED, 100}, {WM_SLIDEREX_RELEASED, 100}, {WM_SLIDEREX_LIMITS_RELEASED, 0}};
    EXPECT_EQ(m_parent.m_notes, expected);
    EXPECT_EQ(m_slider.GetPos(), 100);
}

TEST_F(SliderTest, TheGreyedLookIgnoresClicksAndDrawsGrey)
{
    m_slider.EnableLimits(FALSE);
    m_slider.SetPos(100);
    const COLORREF face = CQVTDrawHelpers::DarkenColor(60, GetSysColor(COLOR_BTNHIGHLIGHT));
    const COLORREF grey = RGB(0xA8, 0xA8, 0xA8);
    CRect thumb = m_slider.GetThumbRect();
    CPoint middle = thumb.CenterPoint();
    std::unique_ptr<DibCanvas> shot = Capture(m_slider.m_hWnd);
    EXPECT_EQ(shot->At(middle.x, middle.y), face);

    m_slider.SetEnabledLook(FALSE);
    shot = Capture(m_slider.m_hWnd);
    EXPECT_EQ(shot->At(middle.x, middle.y), CQVTDrawHelpers::BlendColors(grey, face, 0.7));
    // The channel beyond the upper limit (100, at x 120).
    CRect channel = m_slider.GetChannelRect();
    const COLORREF channelFill = CQVTDrawHelpers::LightenColor(200, GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shot->At(150, channel.CenterPoint().y), CQVTDrawHelpers::BlendColors(grey, channelFill, 0.7));

    Press(40);
    Move(60);
    Release();
    EXPECT_TRUE(m_parent.m_notes.empty());
    EXPECT_EQ(m_slider.GetPos(), 100);
}

TEST_F(SliderTest, TheThumbStandsWhereTheGeometryPutsIt)
{
    // A range that does not start at 0 spans the channel all the same.
    m_slider.EnableLimits(FALSE);
    m_slider.SetRange(1176, 1000);  // reversed: ordered
    EXPECT_EQ(m_slider.GetRangeMin(), 1000);
    m_slider.SetPos(1100);
    CRect thumb = m_slider.GetThumbRect();
    EXPECT_EQ(thumb, CRect(108, 7, 132, 17));
    const COLORREF edge = CQVTDrawHelpers::DarkenColor(60, GetSysColor(COLOR_BTNSHADOW));
    std::unique_ptr<DibCanvas> shot = Capture(m_slider.m_hWnd);
    for (int y = thumb.top; y < thumb.bottom; ++y)
    {
        EXPECT_EQ(shot->At(thumb.left, y), edge) << y;
        EXPECT_EQ(shot->At(thumb.right - 1, y), edge) << y;
        EXPECT_NE(shot->At(thumb.left - 1, y), edge) << y;
        EXPECT_NE(shot->At(thumb.right, y), edge) << y;
    }
    EXPECT_EQ(CountIn(*shot, CRect(0, 0, thumb.left, 24), edge), 0);

    // And a click reads the point from the minimum.
    Press(60);
    Release();
    EXPECT_EQ(m_slider.GetPos(), 1040);

    // A slider narrower than its thumb: no channel, and no division by it.
    m_slider.SetWindowPos(nullptr, 0, 0, 20, 24, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(m_slider.PointToValue(10), 1000);
    Press(8);
    Release();
    Capture(m_slider.m_hWnd);
    EXPECT_GE(m_slider.GetPos(), 1000);
}
