// The ribbon drawn from markup parts: which part each element takes (context
// colours, grouped controls), the scroll glyphs on a right-to-left DC, the
// quick-access band, a theme without an archive, and theme 11's ribbon on
// screen drawn from the built-in style.
#include <afxwin.h>

#include <memory>
#include <vector>

#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/paint/QVTRibbonMarkupTheme.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

namespace {

// A markup theme without an archive that notes the parts it is asked for.
class CMarkupThemeRecorder : public CQVTRibbonMarkupTheme
{
public:
    CMarkupThemeRecorder() : CQVTRibbonMarkupTheme(QVTPaintManager()) { RefreshMetrics(); }
    int GetRibbonCaptionHeight(const CQVTRibbonBar*) const override { return 20; }
    void DrawPart(CDC* pDC, CRect rc, int nPart) override
    {
        m_parts.push_back(nPart);
        CQVTRibbonMarkupTheme::DrawPart(pDC, rc, nPart);
    }
    std::vector<int> Take()
    {
        std::vector<int> parts;
        parts.swap(m_parts);
        return parts;
    }

private:
    std::vector<int> m_parts;
};

// Whether two canvases of one size hold the same pixels.
BOOL MarkupSamePixels(const DibCanvas& a, const DibCanvas& b, int cx, int cy)
{
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            if (a.At(x, y) != b.At(x, y))
                return FALSE;
    return TRUE;
}

int MarkupCountNot(const DibCanvas& canvas, CRect rc, COLORREF clr)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += canvas.At(x, y) != clr;
    return n;
}

}  // namespace

class RibbonMarkupTheme : public CRibbonHostSuite<RibbonMarkupTheme>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(40, 60, 880, 400)); }

protected:
    void SetUp() override { ResetHost(820, 300); }
    void TearDown() override { CQVTPaintManager::SetTheme(qvtThemeRibbon); }
    void Relayout()
    {
        s_pHost->GetCommandBars()->RecalcFrameLayout();
        s_pHost->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpHost(30);
    }
};

TEST_F(RibbonMarkupTheme, TabsAndHeadersTakeTheirContextColoursParts)
{
    CMarkupThemeRecorder theme;
    DibCanvas canvas(900, 200);
    CQVTRibbonTab* pTab = m_pRibbon->GetTab(0);
    m_pRibbon->SetCurrentTab(0);
    ASSERT_TRUE(pTab->IsSelected());
    ASSERT_FALSE(m_pRibbon->GetControlTab()->IsFocused());

    // Colour 2 is yellow: its selected part, not blue's.
    const struct
    {
        int nColor;
        int nPart;
    } cases[] = {{2, 48}, {0, 20}, {1, 30}, {3, 36}, {4, 45}, {5, 42}, {6, 33}, {7, 39}, {9, 20}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nColor);
        pTab->SetContextColor(c.nColor);
        theme.DrawRibbonTab(&canvas.dc, pTab);
        EXPECT_EQ(std::vector<int>{c.nPart}, theme.Take());
    }
    pTab->SetContextColor(0);
    // An unselected tab that is not hot draws nothing.
    theme.DrawRibbonTab(&canvas.dc, m_pRibbon->GetTab(1));
    EXPECT_TRUE(theme.Take().empty());

    // Headers: the context tab part of their colour, none without one.
    CQVTRibbonTabContextHeader yellow(pTab);
    yellow.m_nColor = 2;
    yellow.m_rcRect = CRect(10, 0, 120, 24);
    CQVTRibbonTabContextHeader cyan(pTab);
    cyan.m_nColor = 6;
    cyan.m_rcRect = CRect(130, 0, 220, 24);
    CQVTRibbonTabContextHeader none(pTab);
    none.m_nColor = 0;
    none.m_rcRect = CRect(230, 0, 300, 24);
    theme.DrawContextHeaders(&canvas.dc, m_pRibbon, CQVTRibbonTabContextHeaders{&yellow, &cyan, &none});
    EXPECT_EQ((std::vector<int>{29, 24}), theme.Take());
}

TEST_F(RibbonMarkupTheme, ControlGroupsDrawLeftEntryAndRight)
{
    CMarkupThemeRecorder theme;
    DibCanvas canvas(900, 200);
    CQVTRibbonGroup* pRecord = s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD);
    ASSERT_NE(nullptr, pRecord);
    ASSERT_EQ(3, pRecord->GetCount());
    // Outside a control group the theme leaves the button to the owner.
    EXPECT_FALSE(theme.DrawRibbonGroupControlButton(&canvas.dc, pRecord->GetAt(0)));
    pRecord->SetControlsGrouping(TRUE);
    std::vector<int> parts;
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(theme.DrawRibbonGroupControlButton(&canvas.dc, pRecord->GetAt(i)));
        const std::vector<int> drawn = theme.Take();
        parts.insert(parts.end(), drawn.begin(), drawn.end());
    }
    EXPECT_EQ((std::vector<int>{6, 5, 8}), parts);

    // A new segment at the second control: Left-Right, then Left, Right.
    pRecord->GetAt(1)->SetBeginGroup(TRUE);
    parts.clear();
    for (int i = 0; i < 3; ++i)
    {
        theme.DrawRibbonGroupControlButton(&canvas.dc, pRecord->GetAt(i));
        const std::vector<int> drawn = theme.Take();
        parts.insert(parts.end(), drawn.begin(), drawn.end());
    }
    EXPECT_EQ((std::vector<int>{7, 6, 8}), parts);

    // A group whose only other control is hidden.
    CQVTRibbonGroup* pHelp = s_pHost->FindGroup(4005);
    ASSERT_NE(nullptr, pHelp);
    ASSERT_EQ(2, pHelp->GetCount());
    pHelp->SetControlsGrouping(TRUE);
    pHelp->GetAt(1)->SetVisible(FALSE);
    theme.DrawRibbonGroupControlButton(&canvas.dc, pHelp->GetAt(0));
    EXPECT_EQ(std::vector<int>{7}, theme.Take());
}

// A collapsed group shows its large image at the top; a group that has
// only a small image shows it at its own size, lower down.
TEST_F(RibbonMarkupTheme, ACollapsedGroupShowsASmallImageAtItsOwnSize)
{
    CMarkupThemeRecorder theme;
    CQVTRibbonGroup* pGroup = s_pHost->FindGroup(4003);
    ASSERT_NE(nullptr, pGroup);
    CQVTRibbonGroupControlPopup* pPopup = pGroup->GetControlGroupPopup();
    ASSERT_NE(nullptr, pPopup);
    const CRect rc(0, 0, ScaleX(60), ScaleY(90));
    pPopup->SetRect(rc);
    struct
    {
        int nIconId;
        int nSize;
        int nTop;
    } const cases[] = {{ID_RIBBON_PLAY, 32, 4}, {ID_RIBBON_RENAME, 16, 9}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nSize);
        pGroup->SetIconId(c.nIconId);
        const COLORREF clrBack = RGB(1, 2, 3);
        DibCanvas canvas(rc.Width(), rc.Height(), clrBack);
        theme.DrawControlGroupPopup(&canvas.dc, pPopup, TRUE);
        const COLORREF clrIcon = RGB(40 + c.nIconId % 7 * 30, 90, 160);
        CRect rcIcon;
        for (int y = 0; y < rc.Height(); ++y)
            for (int x = 0; x < rc.Width(); ++x)
                if (canvas.At(x, y) == clrIcon)
                    rcIcon.UnionRect(rcIcon, CRect(x, y, x + 1, y + 1));
        EXPECT_EQ(ScaleX(c.nSize), rcIcon.Width());
        EXPECT_EQ(ScaleY(c.nTop), rcIcon.top);
    }
}

TEST_F(RibbonMarkupTheme, ScrollGlyphsSwapOnARightToLeftDC)
{
    CMarkupThemeRecorder theme;
    CQVTControlButton button;
    const CRect rc(4, 4, 20, 40);
    button.SetRect(rc);
    const COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT);
    auto drawn = [&](BOOL bRtl, BOOL bScrollLeft) {
        auto canvas = std::make_unique<DibCanvas>(24, 44, RGB(250, 250, 250));
        if (bRtl)
            canvas->dc.SetLayout(LAYOUT_RTL);
        theme.DrawRibbonScrollButton(&canvas->dc, &button, bScrollLeft);
        return canvas;
    };
    auto glyph = [&](BOOL bRtl, WCHAR chGlyph) {
        auto canvas = std::make_unique<DibCanvas>(24, 44, RGB(250, 250, 250));
        if (bRtl)
            canvas->dc.SetLayout(LAYOUT_RTL);
        QVTGlyphFont()->DrawGlyph(&canvas->dc, chGlyph, rc, clrText);
        return canvas;
    };
    ASSERT_FALSE(MarkupSamePixels(*glyph(FALSE, 74), *glyph(FALSE, 75), 24, 44));
    EXPECT_TRUE(MarkupSamePixels(*drawn(FALSE, TRUE), *glyph(FALSE, 74), 24, 44));
    EXPECT_TRUE(MarkupSamePixels(*drawn(FALSE, FALSE), *glyph(FALSE, 75), 24, 44));
    EXPECT_TRUE(MarkupSamePixels(*drawn(TRUE, TRUE), *glyph(TRUE, 75), 24, 44));
    EXPECT_TRUE(MarkupSamePixels(*drawn(TRUE, FALSE), *glyph(TRUE, 74), 24, 44));
    EXPECT_EQ((std::vector<int>{17, 18, 17, 18}), theme.Take());
}

TEST_F(RibbonMarkupTheme, QuickAccessBandOnlyWithAVisibleControlAboveTheRibbon)
{
    CQVTRibbonThemeOffice2007System theme(QVTPaintManager());
    theme.RefreshMetrics();
    CQVTRibbonQuickAccessControls* pQuickAccess = m_pRibbon->GetQuickAccessControls();
    pQuickAccess->RemoveAllQuickAccess();
    m_pRibbon->ShowQuickAccess(TRUE);
    m_pRibbon->ShowQuickAccessBelowRibbon(FALSE);
    Relayout();
    auto band = [&]() {
        CRect rcClient;
        m_pRibbon->GetClientRect(&rcClient);
        DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(0, 0, 0));
        theme.DrawRibbonFrameQuickAccess(&canvas.dc, m_pRibbon);
        return MarkupCountNot(canvas, rcClient, RGB(0, 0, 0));
    };
    EXPECT_FALSE(CQVTRibbonThemeOffice2007System::HasQuickAccessBand(m_pRibbon));
    EXPECT_EQ(0, band());

    CQVTControl* pControl = pQuickAccess->Add(new CQVTControlButton(), ID_RIBBON_RECORD);
    Relayout();
    EXPECT_TRUE(CQVTRibbonThemeOffice2007System::HasQuickAccessBand(m_pRibbon));
    EXPECT_GT(band(), 0);

    pControl->SetVisible(FALSE);
    Relayout();
    EXPECT_EQ(0, band());
    pControl->SetVisible(TRUE);
    m_pRibbon->ShowQuickAccessBelowRibbon(TRUE);
    Relayout();
    EXPECT_EQ(0, band());
}

TEST_F(RibbonMarkupTheme, WithoutAnArchiveTheGdiPartsAreDrawnAndNothingFails)
{
    CMarkupThemeRecorder theme;
    EXPECT_FALSE(theme.IsPartsLoaded());
    CRect rcClient;
    m_pRibbon->GetClientRect(&rcClient);
    const COLORREF clrBack = RGB(1, 2, 3);
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), clrBack);

    // Parts draw nothing.
    theme.FillGroupsArea(&canvas.dc, m_pRibbon->GetTab(0), m_pRibbon->GetGroupsRect());
    theme.DrawRibbonFrameCaption(&canvas.dc, m_pRibbon, TRUE);
    theme.DrawRibbonFrameCaptionBar(&canvas.dc, m_pRibbon, TRUE);
    theme.DrawGroup(&canvas.dc, s_pHost->FindGroup(IDS_RIBBON_GROUP_RECORD));
    theme.DrawRibbonTab(&canvas.dc, m_pRibbon->GetTab(0));
    EXPECT_EQ(0, MarkupCountNot(canvas, m_pRibbon->GetGroupsRect(), clrBack));

    // The face is filled with GDI, and the option button's glyph drawn.
    theme.FillRibbonBar(&canvas.dc, m_pRibbon);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(rcClient.Width() / 2, rcClient.bottom - 10));
    DibCanvas option(40, 40, clrBack);
    CQVTControlButton button;
    button.SetRect(CRect(0, 0, 40, 40));
    EXPECT_EQ(CSize(ScaleX(15), ScaleY(14)), theme.DrawControlGroupOption(&option.dc, &button, TRUE));
    EXPECT_EQ(RGB(255, 255, 255), option.At(20 - ScaleX(6) / 2 + ScaleX(1), 20 - ScaleY(8) / 2 + ScaleY(3)));
    EXPECT_EQ(CSize(ScaleX(8), ScaleY(8)), theme.GetOptionButtonSize());
}

TEST_F(RibbonMarkupTheme, Theme11DrawsTheRibbonFromTheBuiltInStyleOnScreen)
{
    CQVTPaintManager::SetTheme(qvtThemeOffice2007System);
    CQVTRibbonThemeOffice2007System* pTheme =
        DYNAMIC_DOWNCAST(CQVTRibbonThemeOffice2007System, m_pRibbon->GetRibbonPaintManager());
    ASSERT_NE(nullptr, pTheme);
    // The bars' text asks for the look's own face at 12 pixels (whether the
    // display has it is the font mapper's business).
    CQVTPaintManager* pBars = QVTPaintManager();
    EXPECT_EQ(CString(_T("Segoe UI")), pBars->m_strOfficeFont);
    EXPECT_TRUE(pBars->m_bUseOfficeFont);
    EXPECT_EQ(ScaleY(12), pBars->GetFontHeight());
    LOGFONT lf = {};
    ASSERT_TRUE(pBars->GetRegularFont()->GetLogFont(&lf));
    EXPECT_EQ(-ScaleY(12), lf.lfHeight);
    EXPECT_TRUE(pTheme->IsPartsLoaded());
    for (int i = 0; i < CQVTRibbonMarkupTheme::partCount; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_NE(nullptr, pTheme->GetPart(i)->GetElement());
    }
    Relayout();
    std::unique_ptr<DibCanvas> canvas = screentest::Capture(m_pRibbon->GetSafeHwnd());
    // The groups area's top edge and a group's left edge in the shadow
    // colour, the face in the button face.
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const CRect rcGroups = m_pRibbon->GetGroupsRect();
    EXPECT_EQ(clrShadow, canvas->At(rcGroups.CenterPoint().x + 3, rcGroups.top));
    const CRect rcGroup = s_pHost->FindGroup(4002)->GetRect();
    // The part's one-pixel outline lies on the group's first column inside.
    EXPECT_EQ(clrShadow, canvas->At(rcGroup.left + 1, rcGroup.CenterPoint().y));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas->At(rcGroup.left + 3, rcGroup.top + 3));
    // The selected tab's outline on screen.
    const CRect rcScreenTab = m_pRibbon->GetTab(0)->GetRect();
    EXPECT_EQ(clrShadow, canvas->At(rcScreenTab.left, rcScreenTab.CenterPoint().y));
    // The selected tab drawn alone: its outline in the shadow colour.
    CQVTRibbonTab* pTab = m_pRibbon->GetTab(0);
    ASSERT_TRUE(pTab->IsSelected());
    const CRect rcTab = pTab->GetRect();
    DibCanvas tab(rcTab.right + 4, rcTab.bottom + 4, RGB(1, 2, 3));
    pTheme->DrawRibbonTab(&tab.dc, pTab);
    EXPECT_EQ(clrShadow, tab.At(rcTab.left, rcTab.CenterPoint().y));
    EXPECT_EQ(clrShadow, tab.At(rcTab.CenterPoint().x, rcTab.top + ScaleY(1)));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), tab.At(rcTab.CenterPoint().x, rcTab.CenterPoint().y));
}
