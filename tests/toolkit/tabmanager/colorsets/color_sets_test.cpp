// The colour sets' values: system colours, the Office 2003 palettes by the
// colour scheme, the fixed and the resource-driven sets at their defaults,
// the native visual style; and the fills that depend on them.
#include <afxwin.h>

#include <cstdlib>
#include <set>

#include <vssym32.h>

#include "sondrel_gtest.h"
#include "tests/toolkit/tabmanager/appearances/painted_strip.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2003.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2013.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio2012.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetWinNative.h"

namespace {

// The colour scheme the colour manager reports, for one test.
struct SystemTheme
{
    explicit SystemTheme(int nTheme) : m_nOld(QVTColorManager()->GetCurrentSystemTheme())
    {
        QVTColorManager()->SetCurrentSystemTheme(nTheme);
    }
    ~SystemTheme() { QVTColorManager()->SetCurrentSystemTheme(qvtSystemThemeAuto); }
    int m_nOld;
};

// A paint manager with the set of the id, refreshed under the current scheme.
template <class TSet>
TSet* SetOf(CTabTestHost& host, int nColor)
{
    host.m_pPaintManager->SetColor(nColor);
    return dynamic_cast<TSet*>(host.m_pPaintManager->GetColorSet());
}

}  // namespace

TEST(TabColorSets, SystemColoursAndTheDither)
{
    CTabTestHost host;
    CQVTTabPaintManagerColorSet* p = SetOf<CQVTTabPaintManagerColorSet>(host, qvtTabColorDefault);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(GetColorByIndex(COLOR_3DSHADOW), p->m_clrFrameBorder.GetValue());
    EXPECT_EQ(GetColorByIndex(COLOR_APPWORKSPACE), p->m_clrTabClientBack.GetValue());
    EXPECT_EQ(RGB(0, 0, 0x80), p->m_clrTextHighlighted.GetValue());
    EXPECT_EQ(GetColorByIndex(COLOR_GRAYTEXT), p->m_clrTextDisabled.GetValue());
    EXPECT_EQ(0xFFFFFFFFu, p->m_clrButtonHighlightedClose.GetValue());
    EXPECT_EQ(QVT_TAB_DITHER_COLOR, p->m_grcSelectedFace.clrLight.GetValue());
    EXPECT_EQ(GetColorByIndex(COLOR_3DDKSHADOW), p->m_csFrame[2].GetValue());
    EXPECT_EQ(GetColorByIndex(COLOR_WINDOW), p->m_csStateB[3].GetValue());
    EXPECT_EQ(0xFFFFFFFFu, p->m_csStateA[3].GetValue());
    // Under the Excel appearance the default set swaps its button colours.
    host.m_pPaintManager->SetAppearance(qvtTabAppearanceExcel2003);
    p = SetOf<CQVTTabPaintManagerColorSet>(host, qvtTabColorDefault);
    EXPECT_EQ(GetColorByIndex(COLOR_WINDOW), p->m_clrButton.GetValue());
    EXPECT_EQ(GetColorByIndex(COLOR_BTNTEXT), p->m_clrFrameBorder.GetValue());
    // A refresh forgets custom values.
    p->m_clrButton.SetCustomValue(RGB(1, 2, 3));
    host.m_pPaintManager->RefreshMetrics();
    EXPECT_EQ(GetColorByIndex(COLOR_WINDOW), host.m_pPaintManager->GetColorSet()->m_clrButton.GetValue());
}

TEST(TabColorSets, Office2003PalettesFollowTheColourScheme)
{
    struct Row
    {
        int nTheme;
        COLORREF clrFrame, clrDark, clrLight, clrBorder, clrHeaderLight, clrButton, clrHot;
    };
    const Row kRows[] = {
        {1, 0x9C613B, 0x9A3500, 0xF1A675, 0x800000, 0xFADAC4, 0xF6C0A2, 0xC9F0FF},
        {4, 0x9C613B, 0x9A3500, 0xF1A675, 0x800000, 0xFADAC4, 0xF6C0A2, 0xC9F0FF},
        {5, 0x9C613B, 0x9A3500, 0xF1A675, 0x800000, 0xFADAC4, 0xF6C0A2, 0xC9F0FF},
        {2, 0x588060, 0x6B7760, 0x8CC2B0, 0x385D3F, 0xE4F1F2, 0xAADED0, 0xC7F0FF},
        {3, 0x947C7C, 0x927476, 0xCEB9BA, 0x6F4B4B, 0xF7F3F3, 0xE6D9D9, 0xC2EEFF},
    };
    for (const Row& row : kRows)
    {
        SCOPED_TRACE(row.nTheme);
        SystemTheme theme(row.nTheme);
        CTabTestHost host;
        CQVTTabColorSetOffice2003* p = SetOf<CQVTTabColorSetOffice2003>(host, qvtTabColorOffice2003);
        ASSERT_NE(nullptr, p);
        EXPECT_TRUE(p->m_bLunaColors);
        EXPECT_EQ(row.clrFrame, p->m_clrFrameBorder.GetValue());
        EXPECT_EQ(row.clrFrame, p->m_csFrame[4].GetValue());
        EXPECT_EQ(row.clrDark, p->m_csFrame[2].GetValue());
        EXPECT_EQ(row.clrDark, p->m_csFrame[3].GetValue());
        EXPECT_EQ(row.clrLight, p->m_csFrame[1].GetValue());
        EXPECT_EQ(0xFFFFFFu, p->m_csFrame[6].GetValue());
        EXPECT_EQ(row.clrBorder, p->m_grcSelectedBorder.clrLight.GetValue());
        EXPECT_EQ(row.clrBorder, p->m_clrNavigateButtonBorder.GetValue());
        EXPECT_EQ(row.clrHeaderLight, p->m_grcHeaderFace.clrLight.GetValue());
        EXPECT_EQ(row.clrButton, p->m_clrButton.GetValue());
        EXPECT_EQ(row.clrHot, p->m_clrButtonHighlighted.GetValue());
        EXPECT_EQ(0x73C2FFu, p->m_clrButtonSelected.GetValue());
        EXPECT_EQ(0x4B8EFEu, p->m_clrButtonPressed.GetValue());
        EXPECT_EQ(row.clrFrame, p->m_csStateA[0].GetValue());
        EXPECT_EQ(0xFFFFFFFFu, p->m_csStateB[4].GetValue());
    }

    // Another scheme, or theme colours switched off: system blends only.
    for (BOOL bOff : {FALSE, TRUE})
    {
        SystemTheme theme(bOff ? 1 : 7);
        CTabTestHost host;
        host.m_pPaintManager->m_bDisableLunaColors = bOff;
        CQVTTabColorSetOffice2003* p = SetOf<CQVTTabColorSetOffice2003>(host, qvtTabColorOffice2003);
        EXPECT_FALSE(p->m_bLunaColors);
        EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), p->m_grcHeaderFace.clrLight.GetValue());
        EXPECT_EQ(GetColorByIndex(36), p->m_grcSelectedFace.clrLight.GetValue());
        EXPECT_EQ(GetColorByIndex(33), p->m_clrButtonPressed.GetValue());
        EXPECT_EQ(bOff ? GetColorByIndex(COLOR_3DFACE) : GetColorByIndex(36),
                  p->m_clrButtonSelected.GetValue());
    }

    // Under state buttons the header is plain face.
    SystemTheme blue(1);
    CTabTestHost host;
    host.m_pPaintManager->SetAppearance(qvtTabAppearanceStateButtons);
    CQVTTabColorSetOffice2003* p = SetOf<CQVTTabColorSetOffice2003>(host, qvtTabColorOffice2003);
    EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), p->m_grcHeaderFace.clrDark.GetValue());
    EXPECT_EQ(GetColorByIndex(15), p->m_grcAutoHideFace.clrLight.GetValue());
}

TEST(TabColorSets, VisualStudioSetsByScheme)
{
    {
        SystemTheme olive(2);
        CTabTestHost host;
        auto* p = SetOf<CColorSetVisualStudio2005>(host, qvtTabColorVisualStudio2005);
        EXPECT_EQ(0xD5E2E4u, p->m_grcHeaderFace.clrLight.GetValue());
        EXPECT_EQ(GetColorByIndex(COLOR_WINDOW), p->m_clrButtonSelected.GetValue());
        EXPECT_EQ(GetColorByIndex(57), p->m_clrFrameBorder.GetValue());
        EXPECT_EQ(p->m_clrText.GetValue(), p->m_clrTextSelectedHighlighted.GetValue());
        EXPECT_EQ(p->m_clrButton.GetValue(), p->m_clrButtonSelectedHighlighted.GetValue());
    }
    {
        SystemTheme silver(3);
        CTabTestHost host;
        auto* p = SetOf<CColorSetVisualStudio2005>(host, qvtTabColorVisualStudio2005);
        EXPECT_EQ(0xEEEEEEu, p->m_grcHeaderFace.clrLight.GetValue());
        EXPECT_EQ(0xF8F5F5u, p->m_clrButton.GetValue());
    }
    {
        SystemTheme aero(5);
        CTabTestHost host;
        auto* p = SetOf<CQVTTabColorSetVisualStudio2008>(host, qvtTabColorVisualStudio2008);
        EXPECT_EQ(0xFAE6D2u, p->m_clrButtonSelected.GetValue());
        EXPECT_EQ(0xF1D081u, p->m_clrButtonHighlighted.GetValue());
        EXPECT_EQ(0xBFA169u, p->m_clrFrameBorder.GetValue());
        EXPECT_EQ(0xD2B498u, p->m_clrButton.GetValue());
        // Theme colours off: the set's own system colours, not the Office
        // 2003 ones they replace.
        host.m_pPaintManager->m_bDisableLunaColors = TRUE;
        host.m_pPaintManager->RefreshMetrics();
        auto* q = dynamic_cast<CQVTTabColorSetVisualStudio2008*>(host.m_pPaintManager->GetColorSet());
        ASSERT_NE(GetColorByIndex(36), GetColorByIndex(COLOR_WINDOW));
        EXPECT_EQ(GetColorByIndex(COLOR_WINDOW), q->m_clrButtonHighlighted.GetValue());
        EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), q->m_clrButtonSelected.GetValue());
        EXPECT_EQ(GetColorByIndex(COLOR_3DFACE), q->m_clrButton.GetValue());
        EXPECT_EQ(GetColorByIndex(57), q->m_clrFrameBorder.GetValue());
        EXPECT_EQ(GetColorByIndex(33), q->m_clrButtonPressed.GetValue());
    }
    CTabTestHost host;
    auto* p = SetOf<CQVTTabColorSetVisualStudio2010>(host, qvtTabColorVisualStudio2010);
    EXPECT_EQ(0x805D4Au, p->m_clrButton.GetValue());
    EXPECT_EQ(0xA6E8FFu, p->m_clrButtonSelected.GetValue());
    EXPECT_EQ(0x5F412Fu, p->m_clrFrameBorder.GetValue());
    EXPECT_EQ(0x563A29u, p->m_csFrame[6].GetValue());
    EXPECT_EQ(0xB7A79Bu, p->m_csFrame[3].GetValue());
    EXPECT_EQ(0x65C3E5u, p->m_clrNavigateButtonBorder.GetValue());
    EXPECT_TRUE(p->m_clrNavigateButtonBorder.IsCustomValue());
    auto* v = SetOf<CColorSetVisualStudio2003>(host, qvtTabColorVisualStudio2003);
    EXPECT_EQ(GetColorByIndex(48), v->m_grcHeaderFace.clrDark.GetValue());
    EXPECT_EQ(GetColorByIndex(49), v->m_clrText.GetValue());
}

TEST(TabColorSets, ResourceDrivenSetsTakeTheirDefaultsWithoutASet)
{
    CTabTestHost host;
    auto* o7 = SetOf<CQVTTabColorSetOffice2007>(host, qvtTabColorOffice2007);
    EXPECT_EQ(0x9C613Bu, o7->m_clrFrameBorder.GetValue());
    EXPECT_EQ(0x9A3500u, o7->m_csFrame[3].GetValue());
    EXPECT_EQ(0xFADAC4u, o7->m_grcHeaderFace.clrLight.GetValue());
    EXPECT_EQ(0xFEFDFCu, o7->m_grcHeaderFace.clrDark.GetValue());
    EXPECT_EQ(0xF5BE9Eu, o7->m_grcAutoHideFace.clrLight.GetValue());
    EXPECT_EQ(0x8B4215u, o7->m_clrText.GetValue());
    EXPECT_EQ(0x73C2FFu, o7->m_clrButtonSelected.GetValue());
    EXPECT_EQ(0x6FC0FFu, o7->m_grcSelectedFace.clrLight.GetValue());
    auto* access = SetOf<CQVTTabColorSetOffice2007Access>(host, qvtTabColorOffice2007Access);
    EXPECT_EQ(0x8B4215u, access->m_clrText.GetValue());

    auto* light = SetOf<CQVTTabColorSetVisualStudio2012>(host, qvtTabColorVisualStudio2012);
    EXPECT_EQ(0xF2EEEEu, light->m_clrButton.GetValue());
    EXPECT_EQ(0xCC7A00u, light->m_clrButtonSelected.GetValue());
    EXPECT_EQ(0xF5DEC9u, light->m_clrActiveFilesBackHighlighted.GetValue());
    EXPECT_EQ(0xF2EEEEu, light->m_clrTabClientBack.GetValue());
    EXPECT_EQ(light->m_clrTabClientBack.GetValue(), light->m_clrPaneFace.GetValue());
    EXPECT_EQ(light->m_clrFrameBorder.GetValue(), light->m_clrSeparatorHighlight.GetValue());
    auto* dark = SetOf<CQVTTabColorSetVisualStudio2012Dark>(host, qvtTabColorVisualStudio2012Dark);
    EXPECT_EQ(0x302D2Du, dark->m_clrButton.GetValue());
    EXPECT_EQ(0xF1F1F1u, dark->m_clrText.GetValue());
    EXPECT_EQ(0x302D2Du, dark->m_clrTabClientBorder.GetValue());
    auto* vs15 = SetOf<CQVTTabColorSetVisualStudio2015>(host, qvtTabColorVisualStudio2015);
    EXPECT_EQ(0xE9DBD6u, vs15->m_clrPaneFace.GetValue());
    EXPECT_EQ(0x6A4935u, vs15->m_clrTabClientBack.GetValue());
    EXPECT_EQ(0x000000u, vs15->m_clrTextSelectedHighlighted.GetValue());
    EXPECT_EQ(0xFFFFFFFFu, vs15->m_clrNonActiveButton.GetValue());
    auto* office = SetOf<CQVTTabColorSetOffice2013>(host, qvtTabColorOffice2013);
    EXPECT_EQ(0xFFFFFFu, office->m_clrButton.GetValue());
    EXPECT_EQ(0x9A572Bu, office->m_clrButtonSelected.GetValue());
    EXPECT_EQ(0xE6E6E6u, office->m_grcHeaderFace.clrLight.GetValue());
    EXPECT_EQ(0xABABABu, office->m_clrTabClientBorder.GetValue());
    EXPECT_EQ(0xFFFFFFu, office->m_clrPaneFace.GetValue());
    EXPECT_EQ(0x999999u, office->m_clrButtonSeparator.GetValue());
    EXPECT_EQ(0x9A572Bu, office->m_grcSelectedFace.clrDark.GetValue());
    EXPECT_EQ(office->m_clrFrameBorder.GetValue(), office->m_grcSelectedBorder.clrLight.GetValue());
    auto* win10 = SetOf<CQVTTabColorSetNativeWindows10>(host, qvtTabColorNativeWindows10);
    EXPECT_EQ(0xEA971Cu, win10->m_clrButtonHighlighted.GetValue());
}

TEST(TabColorSets, ItemColoursByStateAndStripActivity)
{
    CTabTestHost host;
    host.AddItems({_T("a"), _T("b"), _T("c")});
    host.SetCurSel(0);
    host.SetHighlightedForTest(host.GetItem(1));
    auto* office = SetOf<CQVTTabColorSetOffice2013>(host, qvtTabColorOffice2013);
    EXPECT_EQ(office->m_clrButtonSelected.GetValue(), office->GetItemColor(host.GetItem(0)));
    EXPECT_EQ(office->m_clrButtonHighlighted.GetValue(), office->GetItemColor(host.GetItem(1)));
    EXPECT_EQ(office->m_clrButton.GetValue(), office->GetItemColor(host.GetItem(2)));
    host.SetActive(FALSE);
    EXPECT_EQ(office->m_clrNonActiveButtonSelected.GetValue(), office->GetItemColor(host.GetItem(0)));
    EXPECT_EQ(office->m_clrNonActiveButton.GetValue(), office->GetItemColor(host.GetItem(2)));
    DibCanvas canvas(4, 4);
    office->SetTextColor(&canvas.dc, host.GetItem(0));
    EXPECT_EQ(office->m_clrNonActiveTextSelected.GetValue(), canvas.dc.GetTextColor());
    host.GetItem(2)->SetEnabled(FALSE);
    office->SetTextColor(&canvas.dc, host.GetItem(2));
    EXPECT_EQ(office->m_clrTextDisabled.GetValue(), canvas.dc.GetTextColor());
    host.SetActive(TRUE);

    // With the item-colour option every item shows its own colour; the
    // flat sets from 2012 on ignore it.
    host.m_pPaintManager->m_bOneNoteColors = TRUE;
    auto* plain = SetOf<CQVTTabPaintManagerColorSet>(host, qvtTabColorDefault);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(host.GetItem(i)->GetColor(), plain->GetItemColor(host.GetItem(i)));
    auto* light = SetOf<CQVTTabColorSetVisualStudio2012>(host, qvtTabColorVisualStudio2012);
    EXPECT_EQ(light->m_clrButtonSelected.GetValue(), light->GetItemColor(host.GetItem(0)));
}

TEST(TabColorSets, GradientsRunLightToDarkFromTheStripsEdge)
{
    CTabTestHost host;
    CQVTTabPaintManagerColorSet* p = host.m_pPaintManager->GetColorSet();
    CQVTPaintManagerColorGradient grc;
    grc.SetStandardValues(RGB(255, 255, 255), RGB(0, 0, 0));
    for (int nPosition = 0; nPosition < 4; ++nPosition)
        for (BOOL bInvert : {FALSE, TRUE})
        {
            SCOPED_TRACE(testing::Message() << nPosition << " invert " << bInvert);
            host.m_pPaintManager->SetPosition(nPosition);
            host.m_pPaintManager->m_bInvertGradient = bInvert;
            DibCanvas canvas(50, 50);
            p->GradientFill(&canvas.dc, CRect(0, 0, 50, 50), grc, nPosition);
            // Light at the top of a top strip, the left of a left one, and so on.
            const bool bLightFirst = (nPosition == 0 || nPosition == 1) != (bInvert != FALSE);
            const bool bAcross = nPosition == 1 || nPosition == 3;
            const COLORREF clrStart = canvas.At(bAcross ? 0 : 25, bAcross ? 25 : 0);
            const COLORREF clrEnd = canvas.At(bAcross ? 49 : 25, bAcross ? 25 : 49);
            EXPECT_EQ(bLightFirst, GetRValue(clrStart) > 200 && GetRValue(clrEnd) < 55);
            EXPECT_EQ(Hex(canvas.At(bAcross ? 10 : 0, bAcross ? 0 : 10)),
                      Hex(canvas.At(bAcross ? 10 : 49, bAcross ? 49 : 10)));
        }
}

TEST(TabColorSets, SetsThatDifferShowInTheClassicTabs)
{
    // The blue palette's shadows on the classic tab.
    SystemTheme blue(1);
    PaintedStrip strip(qvtTabAppearancePropertyPage, qvtTabPositionTop, qvtTabColorOffice2003);
    const CRect rc = strip.Grown(strip.Item(1), CRect(2, 2, 2, 0));
    EXPECT_EQ(Hex(0xF1A675), strip.At(CPoint(rc.right - 2, rc.CenterPoint().y)));
    EXPECT_EQ(Hex(0x9A3500), strip.At(CPoint(rc.right - 1, rc.CenterPoint().y)));
    // Office 2003 fills tabs from a lightened colour to the colour itself.
    const COLORREF clrSelected = strip.ColorSet()->m_clrButtonSelected.GetValue();
    EXPECT_EQ(Hex(clrSelected), strip.At(CPoint(rc.right - 3, rc.bottom - 1)));
    EXPECT_NE(Hex(clrSelected), strip.At(CPoint(rc.right - 3, rc.top + 2)));
    // Its items with the item-colour option: each its own automatic colour.
    strip.PaintManager()->m_bOneNoteColors = TRUE;
    strip.Paint();
    const CRect rc0 = strip.Item(0);
    const COLORREF clrEnd = strip.canvas.At(rc0.right - 3, rc0.bottom - 1);
    const COLORREF clrOwn = strip.host.GetItem(0)->GetColor();
    EXPECT_LE(std::abs(GetRValue(clrEnd) - GetRValue(clrOwn)) +
                  std::abs(GetGValue(clrEnd) - GetGValue(clrOwn)) +
                  std::abs(GetBValue(clrEnd) - GetBValue(clrOwn)),
              6)
        << Hex(clrEnd) << " " << Hex(clrOwn);
}

TEST(TabColorSets, NavigateButtonsOfTheFlatSetsByState)
{
    CTabTestHost host;
    host.SetCloseButtonMode(CQVTTabManagerNavigateButton::displayAlways);
    host.AddItems({_T("a"), _T("b")});
    host.SetCurSel(0);
    auto* p = SetOf<CQVTTabColorSetVisualStudio2012Dark>(host, qvtTabColorVisualStudio2012Dark);
    DibCanvas canvas(30, 30);
    CRect rc(0, 0, 30, 30);
    // A strip button at rest, and an item's close button on the selected item.
    p->FillNavigateButton(&canvas.dc, host.FindNavigateButton(1), rc);
    EXPECT_EQ(Hex(0x302D2D), Hex(canvas.At(1, 1)));
    p->FillNavigateButton(&canvas.dc, host.GetItem(0)->GetNavigateButtons().GetAt(0), rc);
    EXPECT_EQ(Hex(0xCC7A00), Hex(canvas.At(1, 1)));
    host.SetActive(FALSE);
    p->FillNavigateButton(&canvas.dc, host.GetItem(0)->GetNavigateButtons().GetAt(0), rc);
    EXPECT_EQ(Hex(0x463F3F), Hex(canvas.At(1, 1)));
    // On another item that is not hot, the glyph takes the button's colour.
    canvas.Clear(RGB(0, 0, 0));
    p->FillNavigateButton(&canvas.dc, host.GetItem(1)->GetNavigateButtons().GetAt(0), rc);
    EXPECT_EQ(900, canvas.CountOf(p->m_clrButton.GetValue()));
}

TEST(TabColorSets, NativeSetUsesTheVisualStyleWhileThemed)
{
    const char* pszExpect = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    const bool bThemed = !pszExpect || std::atoi(pszExpect) != 0;
    PaintedStrip strip(qvtTabAppearancePropertyPage, qvtTabPositionTop, qvtTabColorWinNative);
    auto* p = dynamic_cast<CColorSetWinNative*>(strip.ColorSet());
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(bThemed, p->IsThemed() != FALSE);
    if (bThemed)
    {
        // The 3D edges give way to the theme's tab parts.
        EXPECT_EQ(0xFFFFFFFFu, p->m_csFrame[0].GetValue());
        EXPECT_EQ(0xFFFFFFFFu, p->m_csFrame[2].GetValue());
        // The selected tab is the theme's own part, drawn where the classic
        // tab fills (in by one from its raised frame, into the pane by two).
        CRect rc = strip.Grown(strip.Item(1), CRect(2, 2, 2, 0));
        rc.DeflateRect(1, 1, 1, 0);
        CQVTWinThemeWrapper theme;
        ASSERT_NE(nullptr, theme.OpenThemeData(nullptr, _T("TAB")));
        DibCanvas part(PaintedStrip::kWidth, PaintedStrip::kHeight);
        theme.DrawThemeBackground(part.dc.GetSafeHdc(), TABP_TOPTABITEM, TIS_SELECTED,
                                  CRect(rc.left, rc.top, rc.right, rc.bottom + 2));
        for (int y = rc.top; y < rc.top + 4; ++y)
            EXPECT_EQ(Hex(part.At(rc.left + 4, y)), strip.At(CPoint(rc.left + 4, y))) << y;
    }
    else
    {
        // The default set's drawing: the classic 3D edge.
        EXPECT_EQ(GetColorByIndex(COLOR_3DHIGHLIGHT), p->m_csFrame[0].GetValue());
        const CRect rc = strip.Grown(strip.Item(1), CRect(2, 2, 2, 0));
        EXPECT_EQ(Hex(GetColorByIndex(COLOR_3DHIGHLIGHT)), strip.At(CPoint(rc.left, rc.CenterPoint().y)));
    }
}
