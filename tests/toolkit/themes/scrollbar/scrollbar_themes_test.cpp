// The scroll-bar looks drawn on DIBs for each class and state: arrows by
// the system's frame controls or the visual style, the disabled range, the
// inverted page area, the gripper above 13 px, the flat frames and colours,
// and the size box. The program runs again in the prefix without visual
// styles, where the visual-style look must equal the classic one.
#include <afxwin.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>
#include <uxtheme.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/themes/scrollbar/QVTScrollBarThemes.h"

namespace {

bool ExpectVisualStyles()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return !pszValue || std::string(pszValue) != "0";
}

// Pixels of two canvases that differ inside a rectangle.
int DiffersIn(const DibCanvas& a, const DibCanvas& b, const CRect& rc)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += a.At(x, y) != b.At(x, y);
    return n;
}

bool IsUniform(const DibCanvas& canvas, const CRect& rc)
{
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (canvas.At(x, y) != canvas.At(rc.left, rc.top))
                return false;
    return true;
}

int CountIn(const DibCanvas& canvas, const CRect& rc, COLORREF clr)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += canvas.At(x, y) == clr;
    return n;
}

template <class TTheme>
struct Bar
{
    Bar() : scroll(&theme) { theme.RefreshMetrics(); }
    void Draw(DibCanvas& canvas) { theme.DrawScrollBar(&canvas.dc, &scroll); }
    QVT_SCROLLBAR_PARTS Parts() { return CQVTScrollBarPaintManager::CalcParts(&scroll); }
    TTheme theme;
    ScrollBaseStub scroll;
};

const CRect kVert(0, 0, 17, 160);
const CRect kHorz(0, 0, 160, 17);

TEST(ScrollBarClassic, ArrowsAreTheSystemFrameControlsPushedWhilePressed)
{
    Bar<CQVTScrollBarThemeWindowsClassic> bar;
    bar.scroll.Set(kVert, TRUE, 0, 99, 10, 30);
    const QVT_SCROLLBAR_PARTS parts = bar.Parts();

    DibCanvas drawn(17, 160), expected(17, 160);
    bar.Draw(drawn);
    CRect rcUp(parts.rcArrowFirst), rcDown(parts.rcArrowSecond);
    expected.dc.DrawFrameControl(rcUp, DFC_SCROLL, DFCS_SCROLLUP);
    expected.dc.DrawFrameControl(rcDown, DFC_SCROLL, DFCS_SCROLLDOWN);
    EXPECT_EQ(0, DiffersIn(drawn, expected, parts.rcArrowFirst));
    EXPECT_EQ(0, DiffersIn(drawn, expected, parts.rcArrowSecond));

    bar.scroll.Press(qvtScrollHitDownArrow);
    drawn.Clear(RGB(255, 255, 255));
    bar.Draw(drawn);
    expected.dc.DrawFrameControl(rcDown, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    EXPECT_EQ(0, DiffersIn(drawn, expected, parts.rcArrowSecond));
    EXPECT_EQ(0, DiffersIn(drawn, expected, parts.rcArrowFirst)) << "only the pressed arrow is pushed";

    // The raised thumb in the button face, inside the track.
    const CPoint ptThumb = parts.rcThumb.CenterPoint();
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), drawn.At(ptThumb.x, ptThumb.y));
}

TEST(ScrollBarClassic, EmptyRangeDrawsInactiveArrowsAndNoThumb)
{
    for (int nCase = 0; nCase < 2; ++nCase)
    {
        Bar<CQVTScrollBarThemeWindowsClassic> bar;
        if (nCase == 0)
            bar.scroll.Set(kHorz, FALSE, 0, 9, 10, 0);  // max - page - min + 1 == 0
        else
        {
            bar.scroll.Set(kHorz, FALSE, 0, 99, 10, 30);
            bar.scroll.m_bEnabled = FALSE;
        }
        const QVT_SCROLLBAR_PARTS parts = bar.Parts();
        EXPECT_FALSE(parts.bEnabled);
        EXPECT_TRUE(parts.rcThumb.IsRectEmpty());
        EXPECT_TRUE(parts.rcPageBefore.IsRectEmpty());
        EXPECT_EQ(parts.rcTrack, parts.rcPageAfter);

        DibCanvas drawn(160, 17), expected(160, 17);
        bar.Draw(drawn);
        CRect rcLeft(parts.rcArrowFirst);
        expected.dc.DrawFrameControl(rcLeft, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_INACTIVE);
        EXPECT_EQ(0, DiffersIn(drawn, expected, parts.rcArrowFirst)) << nCase;
        EXPECT_TRUE(IsUniform(drawn, parts.rcTrack)) << "no thumb in the track " << nCase;
    }
}

TEST(ScrollBarClassic, OnlyThePressedPageBeforeTheThumbIsInverted)
{
    Bar<CQVTScrollBarThemeWindowsClassic> bar;
    bar.scroll.Set(kVert, TRUE, 0, 99, 10, 40);
    const QVT_SCROLLBAR_PARTS parts = bar.Parts();
    ASSERT_FALSE(parts.rcPageBefore.IsRectEmpty());
    ASSERT_FALSE(parts.rcPageAfter.IsRectEmpty());
    DibCanvas idle(17, 160), before(17, 160), after(17, 160);
    bar.Draw(idle);
    bar.scroll.Press(qvtScrollHitPageUp);
    bar.Draw(before);
    bar.scroll.Press(qvtScrollHitPageDown);
    bar.Draw(after);

    const CPoint pt = parts.rcPageBefore.CenterPoint();
    const COLORREF clr = idle.At(pt.x, pt.y);
    EXPECT_EQ(RGB(255 - GetRValue(clr), 255 - GetGValue(clr), 255 - GetBValue(clr)), before.At(pt.x, pt.y));
    EXPECT_EQ(parts.rcPageBefore.Width() * parts.rcPageBefore.Height(),
              DiffersIn(idle, before, parts.rcWhole));
    EXPECT_EQ(0, DiffersIn(idle, after, parts.rcWhole)) << "the area after the thumb stays as it is";
}

TEST(ScrollBarVisualStyle, ThemedPartsOrTheClassicLookWithoutStyles)
{
    Bar<CQVTScrollBarThemeWindowsUx> ux;
    Bar<CQVTScrollBarThemeWindowsClassic> classic;
    EXPECT_EQ(ExpectVisualStyles(), ux.theme.IsThemed() != FALSE);
    for (BOOL bVert : {TRUE, FALSE})
    {
        const CRect rc = bVert ? kVert : kHorz;
        ux.scroll.Set(rc, bVert, 0, 99, 10, 40);
        classic.scroll.Set(rc, bVert, 0, 99, 10, 40);
        DibCanvas drawnUx(rc.Width(), rc.Height()), drawnClassic(rc.Width(), rc.Height());
        ux.Draw(drawnUx);
        classic.Draw(drawnClassic);
        if (ExpectVisualStyles())
        {
            // Each part is the style's own: the arrows and the thumb as the
            // style draws them in their states.
            CQVTWinThemeWrapper style;
            ASSERT_TRUE(style.OpenThemeData(nullptr, u"SCROLLBAR"));
            const QVT_SCROLLBAR_PARTS parts = ux.Parts();
            DibCanvas expected(rc.Width(), rc.Height());
            style.DrawThemeBackground(expected.dc.GetSafeHdc(), 1, bVert ? 1 : 9, parts.rcArrowFirst,
                                      nullptr);
            style.DrawThemeBackground(expected.dc.GetSafeHdc(), 1, bVert ? 5 : 13, parts.rcArrowSecond,
                                      nullptr);
            style.DrawThemeBackground(expected.dc.GetSafeHdc(), bVert ? 3 : 2, 1, parts.rcThumb, nullptr);
            if ((bVert ? parts.rcThumb.Height() : parts.rcThumb.Width()) > 13)
                style.DrawThemeBackground(expected.dc.GetSafeHdc(), bVert ? 9 : 8, 1, parts.rcThumb, nullptr);
            EXPECT_EQ(0, DiffersIn(drawnUx, expected, parts.rcArrowFirst));
            EXPECT_EQ(0, DiffersIn(drawnUx, expected, parts.rcArrowSecond));
            EXPECT_EQ(0, DiffersIn(drawnUx, expected, parts.rcThumb));
        }
        else
            EXPECT_EQ(0, DiffersIn(drawnUx, drawnClassic, rc)) << "without styles the classic bar";
    }
}

TEST(ScrollBarVisualStyle, StatesFollowHotPressedAndDisabled)
{
    if (!ExpectVisualStyles())
        GTEST_SKIP() << "the prefix has no visual styles";
    Bar<CQVTScrollBarThemeWindowsUx> bar;
    bar.scroll.Set(kVert, TRUE, 0, 99, 10, 40);
    const QVT_SCROLLBAR_PARTS parts = bar.Parts();
    CQVTWinThemeWrapper style;
    ASSERT_TRUE(style.OpenThemeData(nullptr, u"SCROLLBAR"));
    auto Expect = [&](int nState, const char* pszWhat) {
        DibCanvas drawn(17, 160), expected(17, 160);
        bar.Draw(drawn);
        style.DrawThemeBackground(expected.dc.GetSafeHdc(), 1, 4 + nState, parts.rcArrowSecond, nullptr);
        EXPECT_EQ(0, DiffersIn(drawn, expected, parts.rcArrowSecond)) << pszWhat;
    };
    bar.scroll.SetHotPart(qvtScrollHitDownArrow);
    Expect(2, "hot");
    bar.scroll.Press(qvtScrollHitDownArrow);
    Expect(3, "pressed");
    bar.scroll.Release();
    bar.scroll.m_bEnabled = FALSE;
    Expect(4, "disabled");
}

// The visual-style bar with its drawing calls recorded instead of drawn.
class RecordedUx : public CQVTScrollBarThemeWindowsUx
{
public:
    struct Call
    {
        int nPart, nState;
        CRect rc;
    };
    static std::vector<Call> calls;
    static HRESULT WINAPI Record(HTHEME, HDC, int nPart, int nState, const RECT* pRect, const RECT*)
    {
        calls.push_back({nPart, nState, *pRect});
        return S_OK;
    }
    void RefreshMetrics() override
    {
        m_pTheme->ReloadApiTable();
        m_pTheme->SetApiPointer(CQVTWinThemeApiTable::slotDrawThemeBackground,
                                reinterpret_cast<void*>(&Record));
        CQVTScrollBarThemeWindowsUx::RefreshMetrics();
    }
};
std::vector<RecordedUx::Call> RecordedUx::calls;

TEST(ScrollBarVisualStyle, PartsStatesAndTheGripperAbove13Pixels)
{
    if (!ExpectVisualStyles())
        GTEST_SKIP() << "the prefix has no visual styles";
    Bar<RecordedUx> bar;
    ASSERT_TRUE(bar.theme.IsThemed());
    DibCanvas canvas(160, 17);
    for (int nThumb : {13, 14})
    {
        bar.theme.m_nThumbSize = nThumb;
        bar.scroll.Set(kHorz, FALSE, 0, 99, 10, 40);
        RecordedUx::calls.clear();
        bar.Draw(canvas);
        const QVT_SCROLLBAR_PARTS parts = bar.Parts();
        std::vector<std::pair<int, int>> seen;
        for (const RecordedUx::Call& call : RecordedUx::calls)
            seen.push_back({call.nPart, call.nState});
        std::vector<std::pair<int, int>> expected = {{1, 9}, {1, 13}, {4, 1}, {5, 1}, {2, 1}};
        if (nThumb > 13)
            expected.push_back({8, 1});
        EXPECT_EQ(expected, seen) << nThumb;
        ASSERT_GE(RecordedUx::calls.size(), 5u);
        EXPECT_EQ(parts.rcThumb, RecordedUx::calls[4].rc);
    }

    // Hot, pressed and disabled states of the second arrow and the thumb.
    bar.theme.m_nThumbSize = 0;
    bar.scroll.Set(kVert, TRUE, 0, 99, 10, 40);
    auto StatesOf = [&](int nPart) {
        RecordedUx::calls.clear();
        bar.Draw(canvas);
        std::vector<int> states;
        for (const RecordedUx::Call& call : RecordedUx::calls)
            if (call.nPart == nPart)
                states.push_back(call.nState);
        return states;
    };
    bar.scroll.SetHotPart(qvtScrollHitDownArrow);
    EXPECT_EQ((std::vector<int>{1, 6}), StatesOf(1)) << "hot second arrow";
    bar.scroll.Press(qvtScrollHitThumb);
    EXPECT_EQ((std::vector<int>{1, 5}), StatesOf(1)) << "no hot part while tracking";
    EXPECT_EQ((std::vector<int>{3}), StatesOf(3)) << "pressed thumb";
    bar.scroll.Release();
    bar.scroll.m_bEnabled = FALSE;
    EXPECT_EQ((std::vector<int>{4, 8}), StatesOf(1)) << "disabled arrows";
    EXPECT_TRUE(StatesOf(3).empty()) << "no thumb on a disabled bar";
}

TEST(ScrollBarFlat, ArrowsFramedLightOverDarkAndReversedWhilePressed)
{
    Bar<CQVTScrollBarThemeFlat> bar;
    bar.scroll.Set(kHorz, FALSE, 0, 99, 10, 40);
    const QVT_SCROLLBAR_PARTS parts = bar.Parts();
    const COLORREF clrLight = GetColorByIndex(COLOR_3DHILIGHT), clrDark = GetColorByIndex(COLOR_3DSHADOW);
    DibCanvas drawn(160, 17);
    bar.Draw(drawn);
    const CRect& rcLeft = parts.rcArrowFirst;
    EXPECT_EQ(clrLight, drawn.At(rcLeft.left, rcLeft.top + 5));
    EXPECT_EQ(clrDark, drawn.At(rcLeft.right - 1, rcLeft.top + 5));
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), drawn.At(rcLeft.left + 2, rcLeft.top + 2));
    // A black glyph in the middle of each arrow.
    EXPECT_GT(CountIn(drawn, rcLeft, RGB(0, 0, 0)), 0);
    // The thumb framed the same way, in the face colour.
    EXPECT_EQ(clrLight, drawn.At(parts.rcThumb.left, parts.rcThumb.top + 5));
    EXPECT_EQ(clrDark, drawn.At(parts.rcThumb.right - 1, parts.rcThumb.top + 5));

    bar.scroll.Press(qvtScrollHitUpArrow);
    bar.Draw(drawn);
    EXPECT_EQ(clrDark, drawn.At(rcLeft.left, rcLeft.top + 5));
    EXPECT_EQ(clrLight, drawn.At(rcLeft.right - 1, rcLeft.top + 5));

    // Disabled: the glyph in the shadow colour, the frame not reversed.
    bar.scroll.m_bEnabled = FALSE;
    bar.Draw(drawn);
    EXPECT_EQ(0, CountIn(drawn, rcLeft, RGB(0, 0, 0)));
    EXPECT_EQ(clrLight, drawn.At(rcLeft.left, rcLeft.top + 5));
}

TEST(ScrollBarFlat, TinyArrowsGetNoGlyphAndUltraFlatHasOneEdgeColour)
{
    Bar<CQVTScrollBarThemeFlat> bar;
    bar.scroll.Set(CRect(0, 0, 10, 5), FALSE, 0, 99, 10, 40);
    DibCanvas drawn(10, 5);
    bar.Draw(drawn);
    EXPECT_EQ(0, drawn.CountOf(RGB(0, 0, 0))) << "arrows below 6 px show no glyph";

    Bar<CQVTScrollBarThemeUltraFlat> ultra;
    EXPECT_EQ(ultra.theme.m_crBorder, ultra.theme.m_crBorderHilite);
    EXPECT_EQ(CQVTColorManager::BlendColors(GetColorByIndex(16), GetColorByIndex(15), 50),
              ultra.theme.m_crBackPushed);
    EXPECT_EQ(CQVTColorManager::BlendColors(GetColorByIndex(15), GetColorByIndex(5), 30),
              ultra.theme.m_crBackHilite);
    ultra.scroll.Set(kVert, TRUE, 0, 99, 10, 40);
    DibCanvas flat(17, 160);
    ultra.Draw(flat);
    const CRect rcUp = ultra.Parts().rcArrowFirst;
    EXPECT_EQ(flat.At(rcUp.left, rcUp.top + 5), flat.At(rcUp.right - 1, rcUp.top + 5));
}

TEST(ScrollBarOffice, ArrowFramesAndXpColours)
{
    Bar<CQVTScrollBarThemeOffice2000> office;
    office.scroll.Set(kVert, TRUE, 0, 99, 10, 40);
    const CRect rcUp = office.Parts().rcArrowFirst;
    DibCanvas drawn(17, 160);
    office.Draw(drawn);
    EXPECT_EQ(GetColorByIndex(COLOR_3DHILIGHT), drawn.At(rcUp.left, rcUp.top));
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), drawn.At(rcUp.right - 1, rcUp.bottom - 1));
    office.scroll.Press(qvtScrollHitUpArrow);
    office.Draw(drawn);
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), drawn.At(rcUp.left, rcUp.top));
    EXPECT_EQ(GetColorByIndex(COLOR_3DHILIGHT), drawn.At(rcUp.right - 1, rcUp.bottom - 1));

    Bar<CQVTScrollBarThemeOfficeXP> xp;
    EXPECT_EQ(GetColorByIndex(33), xp.theme.m_crBackPushed);
    EXPECT_EQ(GetColorByIndex(31), xp.theme.m_crBackHilite);
    EXPECT_EQ(GetColorByIndex(32), xp.theme.m_crBorderHilite);
}

TEST(ScrollBarSizeBox, GripOrFaceInsteadOfABar)
{
    const CRect rc(0, 0, 17, 17);
    Bar<CQVTScrollBarThemeWindowsClassic> classic;
    classic.scroll.SetSizeBox(rc);
    DibCanvas drawn(17, 17), expected(17, 17);
    classic.Draw(drawn);
    CRect rcGrip(rc);
    expected.dc.DrawFrameControl(rcGrip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    EXPECT_EQ(0, DiffersIn(drawn, expected, rc));

    Bar<CQVTScrollBarThemeFlat> flat;
    flat.scroll.SetSizeBox(rc);
    flat.Draw(drawn);
    EXPECT_EQ(17 * 17, drawn.CountOf(GetColorByIndex(COLOR_3DFACE)));
}

}  // namespace
