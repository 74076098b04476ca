// Where the layouts put controls of known sizes: rows wrapped at a length
// with groups kept together, far-end and stretched controls, what does not
// fit hidden, the width search of floating bars, the adaptive layout whose
// styles shrink by runs of three, and the columns of popup bars.
#include <afxwin.h>
#include <afxext.h>

#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

// A control whose size is given per button style, whatever the fonts.
class CMeasuredControl : public CQVTControlButton
{
    DECLARE_DYNCREATE(CMeasuredControl)

public:
    CSize GetSize(CDC*) override
    {
        switch (GetStyle())
        {
        case qvtButtonIconAndCaptionBelow:
            return m_szLarge;
        case qvtButtonIcon:
            return m_szIconOnly;
        default:
            return m_sz;
        }
    }
    CSize m_sz{20, 20};
    CSize m_szLarge{40, 60};
    CSize m_szIconOnly{20, 20};
};
IMPLEMENT_DYNCREATE(CMeasuredControl, CQVTControlButton)

const DWORD kDocked = LM_HORZ | LM_HORZDOCK | LM_COMMIT;

}  // namespace

class Layout : public ::testing::Test
{
protected:
    Layout() : m_pBar(new CTestBar()) {}
    ~Layout() override { m_pBar->InternalRelease(); }

    CMeasuredControl* Add(int cx, int cy, BOOL bBeginGroup = FALSE, DWORD dwFlags = 0)
    {
        CMeasuredControl* pControl = new CMeasuredControl();
        pControl->m_sz = CSize(cx, cy);
        pControl->SetBeginGroup(bBeginGroup);
        pControl->SetFlags(dwFlags);
        m_pBar->GetControls()->AddControl(pControl);
        return pControl;
    }
    CSize Calc(int nLength, DWORD dwMode, CRect rcBorder = CRect(0, 0, 0, 0))
    {
        return m_pBar->GetControls()->CalcDynamicSize(&m_dc, nLength, dwMode, rcBorder);
    }
    CQVTControl* At(int i) const { return m_pBar->GetControls()->GetAt(i); }
    static int Sep() { return QVTDpiScaler()->ScaleX(6); }

    CTestBar* m_pBar;
    CClientDC m_dc{nullptr};
};

namespace {

TEST_F(Layout, RowsWrapAtTheLengthAndRowsAreAsTallAsTheirTallestControl)
{
    for (int i = 0; i < 5; ++i)
        Add(20, i == 1 ? 30 : 20);
    const CSize sz = Calc(72, kDocked, CRect(2, 3, 4, 5));
    // Three fit in 72 - 6; the rest wraps below the first row.
    EXPECT_EQ(CRect(2, 8, 22, 28), At(0)->GetRect());
    EXPECT_EQ(CRect(22, 3, 42, 33), At(1)->GetRect());
    EXPECT_TRUE(At(3)->GetWrap());
    EXPECT_FALSE(At(2)->GetWrap());
    EXPECT_EQ(CRect(2, 33, 22, 53), At(3)->GetRect());
    EXPECT_EQ(CRect(2, 3, 62, 33), At(2)->GetRowRect());
    EXPECT_EQ(CSize(60 + 6, 50 + 8), sz);
}

TEST_F(Layout, AGroupThatDoesNotFitMovesToTheNextRowWhole)
{
    Add(20, 20);
    Add(20, 20);
    Add(20, 20, TRUE);
    Add(20, 20);
    Calc(40 + Sep() + 30, kDocked);
    // C fits but D does not: C, which starts D's group, moves down with it,
    // below a separator's height.
    EXPECT_EQ(CRect(20, 0, 40, 20), At(1)->GetRect());
    EXPECT_TRUE(At(2)->GetWrap());
    EXPECT_EQ(CRect(0, 20 + QVTDpiScaler()->ScaleY(6), 20, 40 + QVTDpiScaler()->ScaleY(6)), At(2)->GetRect());
    EXPECT_EQ(20, At(3)->GetRect().left);

    // Wrapping at every group breaks before C whatever the length.
    m_pBar->SetMRUWidth(1000);
    Calc(1000, kDocked | qvtLayoutWrapGroups);
    EXPECT_TRUE(At(2)->GetWrap());
    EXPECT_FALSE(At(3)->GetWrap());
}

TEST_F(Layout, FarEndControlsGoToTheRowsEndAndStretchedOnesShareWhatIsLeft)
{
    Add(20, 20);
    Add(20, 20, FALSE, qvtFlagControlStretched);
    Add(20, 20, FALSE, qvtFlagControlStretched);
    Add(20, 20);
    const CSize sz = Calc(111, kDocked | LM_STRETCH);
    EXPECT_EQ(111, sz.cx);
    EXPECT_EQ(CRect(20, 0, 55, 20), At(1)->GetRect());
    EXPECT_EQ(CRect(55, 0, 91, 20), At(2)->GetRect());
    EXPECT_EQ(CRect(91, 0, 111, 20), At(3)->GetRect());

    for (int i = 0; i < 4; ++i)
        At(i)->SetFlags(i == 3 ? qvtFlagRightAlign : 0);
    Calc(111, kDocked | LM_STRETCH);
    EXPECT_EQ(CRect(91, 0, 111, 20), At(3)->GetRect());
    EXPECT_EQ(CRect(40, 0, 60, 20), At(2)->GetRect());
    // Not committed, nothing moves.
    At(3)->SetRect(CRect(0, 0, 1, 1));
    Calc(200, LM_HORZ | LM_HORZDOCK | LM_STRETCH);
    EXPECT_EQ(CRect(0, 0, 1, 1), At(3)->GetRect());
}

TEST_F(Layout, WhatDoesNotFitIsHiddenUpToTheNextControlThatStartsARow)
{
    for (int i = 0; i < 6; ++i)
        Add(20, 20, FALSE, i == 5 ? qvtFlagWrapRow : 0);
    Calc(70, kDocked | qvtLayoutHideWrap);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0u, At(i)->GetHideFlags()) << i;
    EXPECT_EQ(static_cast<DWORD>(qvtHideWrap), At(3)->GetHideFlags());
    EXPECT_EQ(static_cast<DWORD>(qvtHideWrap), At(4)->GetHideFlags());
    EXPECT_EQ(0u, At(5)->GetHideFlags());
    EXPECT_TRUE(At(5)->GetWrap());
    EXPECT_FALSE(At(3)->IsVisible());
    EXPECT_TRUE(At(3)->IsVisible(qvtHideWrap));
    // Room again: every control shows.
    Calc(500, kDocked | qvtLayoutHideWrap);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(0u, At(i)->GetHideFlags()) << i;
}

TEST_F(Layout, AFloatingBarFindsTheWidthOfTheRequestedHeightOrTheNearestOne)
{
    for (int i = 0; i < 12; ++i)
        Add(20, 20);
    const DWORD dwHeight = LM_HORZ | LM_LENGTHY | LM_COMMIT;
    EXPECT_EQ(CSize(80, 60), Calc(60, dwHeight));
    EXPECT_EQ(CSize(120, 40), Calc(40, dwHeight));
    // 50 cannot be met: 40 and 60 are as near, and the narrower bar wins.
    EXPECT_EQ(CSize(80, 60), Calc(50, dwHeight));
    EXPECT_EQ(CSize(240, 20), Calc(5, dwHeight));
    // Asked for a width, the narrowest bar with as many rows.
    EXPECT_EQ(CSize(80, 60), Calc(95, LM_HORZ | LM_COMMIT));
}

TEST_F(Layout, TheAdaptiveLayoutShrinksRunsOfThreeFromTheEndUntilTheBarFits)
{
    m_pBar->SetFlags(qvtBarFlagAdaptiveLayout);
    for (int i = 0; i < 6; ++i)
    {
        CMeasuredControl* pControl = Add(60, 20);
        pControl->m_szIconOnly = CSize(20, 20);
    }
    // Three to a column (the column limit is taller than three rows), two
    // columns of 60: 120 long. At 100 only the last run turns icon-only.
    const CSize sz = Calc(100, kDocked);
    EXPECT_LE(sz.cx, 100);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(qvtButtonIconAndCaption, At(i)->GetStyle()) << i;
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(qvtButtonIcon, At(i)->GetStyle()) << i;
    EXPECT_EQ(60, At(3)->GetRect().left);

    // With room, nobody shrinks.
    Calc(500, kDocked);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(qvtButtonIconAndCaption, At(i)->GetStyle()) << i;

    // A group starts a column of its own and ends a run, and a run must
    // share one column: only the first three can shrink now.
    At(4)->SetBeginGroup(TRUE);
    Calc(500, kDocked);
    EXPECT_EQ(120 + Sep(), At(4)->GetRect().left);
    Calc(100, kDocked);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(qvtButtonIcon, At(i)->GetStyle()) << i;
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(qvtButtonIconAndCaption, At(i)->GetStyle()) << i;
    // Told to hide what still does not fit, it does, after the first.
    Calc(30, kDocked | qvtLayoutHideWrap);
    EXPECT_EQ(0u, At(0)->GetHideFlags());
    EXPECT_EQ(static_cast<DWORD>(qvtHideWrap), At(5)->GetHideFlags());

    // Fewer than three controls never shrink.
    CTestBar* pSmall = new CTestBar();
    pSmall->SetFlags(qvtBarFlagAdaptiveLayout);
    for (int i = 0; i < 2; ++i)
        pSmall->GetControls()->AddControl(new CMeasuredControl());
    pSmall->GetControls()->CalcDynamicSize(&m_dc, 1, kDocked, CRect(0, 0, 0, 0));
    EXPECT_EQ(qvtButtonIconAndCaption, pSmall->GetControls()->GetAt(1)->GetStyle());
    pSmall->InternalRelease();
}

TEST_F(Layout, PopupBarsStackColumnsAndLimitAControlToAThirdOfTheScreen)
{
    m_pBar->SetType(qvtBarTypePopup);
    for (int i = 0; i < 5; ++i)
        Add(50 + i, 20, FALSE, i == 4 ? qvtFlagWrapRow : 0);
    CSize sz;
    m_pBar->GetControls()->CalcPopupSize(sz, &m_dc, 50, 0, CRect(1, 2, 3, 4));
    // Two to a column within 50 less the bottom border; the fifth starts a
    // column because it must.
    EXPECT_EQ(CRect(1, 2, 52, 22), At(0)->GetRect());
    EXPECT_EQ(CRect(1, 22, 52, 42), At(1)->GetRect());
    EXPECT_TRUE(At(2)->GetWrap());
    EXPECT_EQ(CRect(52, 2, 55, 22).left, At(2)->GetRect().left);
    EXPECT_EQ(53, At(2)->GetRect().Width());
    EXPECT_TRUE(At(4)->GetWrap());
    EXPECT_EQ(CRect(105, 2, 159, 22), At(4)->GetRect());
    EXPECT_EQ(CRect(105, 2, 159, 42), At(4)->GetRowRect());
    EXPECT_EQ(CSize(159 + 3, 40 + 2 + 4), sz);

    CRect rcWork;
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
    CTestBar* pWide = new CTestBar();
    pWide->SetType(qvtBarTypePopup);
    CMeasuredControl* pControl = new CMeasuredControl();
    pControl->m_sz = CSize(rcWork.right, 20);
    pWide->GetControls()->AddControl(pControl);
    pWide->GetControls()->CalcPopupSize(sz, &m_dc, 0, 0, CRect(0, 0, 0, 0));
    EXPECT_EQ(rcWork.right / 3, pControl->GetRect().Width());
    // A fixed width sets the last column.
    pWide->GetControls()->CalcPopupSize(sz, &m_dc, 0, 300, CRect(10, 0, 10, 0));
    EXPECT_EQ(280, pControl->GetRect().Width());
    pWide->InternalRelease();

    CTestBar* pEmpty = new CTestBar();
    pEmpty->SetType(qvtBarTypePopup);
    pEmpty->GetControls()->CalcPopupSize(sz, &m_dc, 0, 0, CRect(1, 1, 1, 1));
    EXPECT_EQ(CSize(QVTDpiScaler()->ScaleX(24), QVTDpiScaler()->ScaleY(22)), sz);
    pEmpty->InternalRelease();
}

TEST_F(Layout, ABarWithoutVisibleControlsKeepsARoomForOne)
{
    Add(20, 20)->SetVisible(FALSE);
    EXPECT_EQ(CSize(2 + QVTDpiScaler()->ScaleX(23), 4 + QVTDpiScaler()->ScaleY(22)),
              Calc(300, kDocked, CRect(1, 2, 1, 2)));
}

}  // namespace
