// The appearances and colour sets that read the resource image set: the
// image frames by state at the top and left positions (magenta left
// transparent), the page image, the fallbacks for missing images, and the
// INI colours with the defaults of keys the set lacks.
#include <afxwin.h>

#include "painted_strip.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/tabmanager/appearances/QVTTabThemePropertyPage2007.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2003.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetOffice2013.h"
#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio2012.h"

namespace {

// The process-wide set loaded from this program's resources, for one test.
struct LoadedScheme
{
    explicit LoadedScheme(LPCTSTR lpszIni)
    {
        bLoaded = QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), lpszIni) != FALSE;
    }
    ~LoadedScheme() { QVTResourceImages()->LoadIni(_T("Nowhere.ini")); }
    bool bLoaded;
};

// The frames of the generated images.
const COLORREF kRibbonTab[6] = {RGB(200, 0, 0),   RGB(0, 200, 0),   RGB(0, 0, 200),
                                RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 200)};
const COLORREF kAccessTab[4] = {RGB(120, 30, 30), RGB(30, 120, 30), RGB(30, 30, 120), RGB(120, 120, 30)};
const COLORREF kPage = RGB(90, 160, 220), kPageEdge = RGB(20, 40, 60);

}  // namespace

TEST(TabResourceImages, Office2007TabsShowTheFrameOfTheirState)
{
    LoadedScheme scheme(_T("TabTest.ini"));
    ASSERT_TRUE(scheme.bLoaded);
    for (int nPosition : {qvtTabPositionTop, qvtTabPositionLeft})
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip strip(qvtTabAppearancePropertyPage2007, nPosition);
        strip.UseMarkers();
        auto frameAt = [&](int nItem) {
            const CRect rc = strip.Item(nItem);
            return strip.At(strip.Map(rc, strip.Along(rc) - 3, strip.Across(rc) / 2));
        };
        EXPECT_EQ(Hex(kRibbonTab[3]), frameAt(1));    // selected
        EXPECT_EQ(Hex(Marker::kHeader), frameAt(0));  // neither: no image
        // Magenta stays transparent: the header shows at the corner.
        EXPECT_EQ(Hex(Marker::kHeader), strip.At(strip.Map(strip.Item(1), 0, 0)));

        strip.host.SetHighlightedForTest(strip.host.GetItem(0));
        strip.host.SetPressedForTest(strip.host.GetItem(2));
        strip.Paint();
        EXPECT_EQ(Hex(kRibbonTab[1]), frameAt(0));  // hot
        EXPECT_EQ(Hex(kRibbonTab[3]), frameAt(1));
        strip.host.SetHighlightedForTest(strip.host.GetItem(1));
        strip.Paint();
        EXPECT_EQ(Hex(kRibbonTab[4]), frameAt(1));  // selected and hot
        strip.host.SetHighlightedForTest(strip.host.GetItem(2));
        strip.Paint();
        EXPECT_EQ(Hex(kRibbonTab[2]), frameAt(2));  // pressed before hot
        strip.host.m_bFocused = TRUE;
        strip.Paint();
        EXPECT_EQ(Hex(kRibbonTab[5]), frameAt(1));  // selected in a focused strip

        // The page: the image stretched over the client, its edge kept.
        const CRect rcClient = strip.Appearance()->GetClientRect(PaintedStrip::Control(), &strip.host);
        EXPECT_EQ(Hex(kPage), strip.At(CPoint(rcClient.right - 20, rcClient.bottom - 20)));
        EXPECT_EQ(Hex(kPageEdge), strip.At(CPoint(rcClient.right - 1, rcClient.bottom - 20)));
    }
}

TEST(TabResourceImages, PressedTabsAndAccessTabs)
{
    LoadedScheme scheme(_T("TabTest.ini"));
    ASSERT_TRUE(scheme.bLoaded);
    {
        PaintedStrip strip(qvtTabAppearancePropertyPage2007, qvtTabPositionTop);
        strip.host.SetPressedForTest(strip.host.GetItem(2));
        // Pressed alone gives no shape (neither selected nor hot) ...
        strip.Paint();
        const CRect rc2 = strip.Item(2);
        EXPECT_NE(Hex(kRibbonTab[2]), strip.At(CPoint(rc2.right - 3, rc2.CenterPoint().y)));
        // ... the frame shows for the image itself.
        DibCanvas canvas(40, 40);
        auto* pAppearance = dynamic_cast<CAppearanceSetPropertyPage2007*>(strip.Appearance());
        ASSERT_NE(nullptr, pAppearance);
        pAppearance->DrawImageTab(&canvas.dc, strip.host.GetItem(2), CRect(0, 0, 40, 40));
        EXPECT_EQ(Hex(kRibbonTab[2]), Hex(canvas.At(20, 20)));
    }
    for (int nPosition : {qvtTabPositionTop, qvtTabPositionLeft})
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip strip(qvtTabAppearancePropertyPageAccess2007, nPosition);
        // Each tab reaches under the next by half the text height less one.
        const int nOverlap = strip.Appearance()->GetFontHeight() / 2 - 1;
        // Where no other tab reaches and no text lies: the start of the
        // first tab and of the selected one (drawn last), the end of the last.
        auto frameAt = [&](int nItem) {
            const CRect rc = strip.Item(nItem);
            return strip.At(strip.Map(rc, nItem == 2 ? strip.Along(rc) - 3 : 3, strip.Across(rc) / 2));
        };
        EXPECT_EQ(Hex(kAccessTab[2]), frameAt(1));
        EXPECT_EQ(Hex(kAccessTab[0]), frameAt(0));
        strip.host.SetHighlightedForTest(strip.host.GetItem(1));
        strip.Paint();
        EXPECT_EQ(Hex(kAccessTab[3]), frameAt(1));
        strip.host.SetHighlightedForTest(strip.host.GetItem(2));
        strip.Paint();
        EXPECT_EQ(Hex(kAccessTab[1]), frameAt(2));
        const CRect rc1 = strip.Item(1);
        EXPECT_EQ(Hex(kAccessTab[2]),
                  strip.At(strip.Map(rc1, strip.Along(rc1) + nOverlap - 3, strip.Across(rc1) / 2)));
    }
}

TEST(TabResourceImages, MissingImagesFallBackToTheItemFill)
{
    LoadedScheme scheme(_T("TabBare.ini"));
    ASSERT_TRUE(scheme.bLoaded);
    PaintedStrip page(qvtTabAppearancePropertyPage2007, qvtTabPositionTop, qvtTabColorDefault);
    page.UseMarkers();
    const CRect rc = page.Item(1);
    EXPECT_EQ(Hex(Marker::kSelected), page.At(CPoint(rc.right - 3, rc.CenterPoint().y)));
    const CRect rcClient = page.Appearance()->GetClientRect(PaintedStrip::Control(), &page.host);
    EXPECT_EQ(Hex(Marker::kFrame), page.At(CPoint(rcClient.right - 1, rcClient.bottom - 20)));

    // Access tabs with the set loaded but no image: the fill, 10 short.
    PaintedStrip access(qvtTabAppearancePropertyPageAccess2007, qvtTabPositionTop, qvtTabColorDefault);
    access.UseMarkers();
    const CRect rcAccess = access.Item(1);
    const int nTrailing = access.Appearance()->GetFontHeight() / 2 - 1;
    EXPECT_EQ(Hex(Marker::kSelected), access.At(CPoint(rcAccess.left + 3, rcAccess.CenterPoint().y)));
    EXPECT_NE(Hex(Marker::kSelected),
              access.At(CPoint(rcAccess.right + nTrailing - 5, rcAccess.CenterPoint().y)));
}

TEST(TabResourceImages, ColourSetsReadTheSchemeWithDefaultsForWhatItLacks)
{
    LoadedScheme scheme(_T("TabTest.ini"));
    ASSERT_TRUE(scheme.bLoaded);
    CTabTestHost host;
    host.m_pPaintManager->SetColor(qvtTabColorOffice2007);
    auto* o7 = dynamic_cast<CQVTTabColorSetOffice2007*>(host.m_pPaintManager->GetColorSet());
    ASSERT_NE(nullptr, o7);
    EXPECT_EQ(RGB(10, 20, 30), o7->m_clrFrameBorder.GetValue());
    EXPECT_EQ(RGB(10, 20, 30), o7->m_csFrame[4].GetValue());
    EXPECT_EQ(RGB(40, 50, 60), o7->m_csFrame[2].GetValue());
    EXPECT_EQ(RGB(0, 0, 0), o7->m_csFrame[1].GetValue());  // "seven": what the set makes of it
    EXPECT_EQ(RGB(130, 140, 150), o7->m_grcHeaderFace.clrLight.GetValue());
    EXPECT_EQ(RGB(130, 140, 150), o7->m_grcAutoHideFace.clrDark.GetValue());
    EXPECT_EQ(RGB(190, 200, 210), o7->m_clrButton.GetValue());
    EXPECT_EQ(0x73C2FFu, o7->m_clrButtonSelected.GetValue());  // key missing
    EXPECT_EQ(RGB(11, 22, 33), o7->m_clrNavigateButtonBorder.GetValue());
    EXPECT_EQ(0x8B4215u, o7->m_clrText.GetValue());
    EXPECT_EQ(RGB(160, 170, 180), o7->m_clrTextSelected.GetValue());

    host.m_pPaintManager->SetColor(qvtTabColorOffice2007Access);
    auto* access = dynamic_cast<CQVTTabColorSetOffice2007Access*>(host.m_pPaintManager->GetColorSet());
    EXPECT_EQ(RGB(0, 0, 0), access->m_clrText.GetValue());
    EXPECT_EQ(RGB(70, 80, 90), access->m_clrFrameBorder.GetValue());
    EXPECT_EQ(RGB(100, 110, 120), access->m_grcHeaderFace.clrDark.GetValue());

    host.m_pPaintManager->SetColor(qvtTabColorOffice2013);
    auto* office = dynamic_cast<CQVTTabColorSetOffice2013*>(host.m_pPaintManager->GetColorSet());
    EXPECT_EQ(RGB(1, 2, 3), office->m_clrButton.GetValue());
    EXPECT_EQ(RGB(4, 5, 6), office->m_clrButtonSelected.GetValue());
    EXPECT_EQ(RGB(4, 5, 6), office->m_grcSelectedFace.clrLight.GetValue());
    EXPECT_EQ(0xFFFFFFFFu, office->m_clrText.GetValue());         // "-1": no colour
    EXPECT_EQ(0xB56D3Eu, office->m_clrButtonPressed.GetValue());  // key missing
    EXPECT_EQ(RGB(10, 20, 30), office->m_clrSeparatorHighlight.GetValue());
    EXPECT_EQ(RGB(7, 8, 9), office->m_clrTabClientBack.GetValue());
    EXPECT_EQ(RGB(7, 8, 9), office->m_clrPaneFace.GetValue());
    EXPECT_EQ(0xABABABu, office->m_clrTabClientBorder.GetValue());

    host.m_pPaintManager->SetColor(qvtTabColorVisualStudio2015);
    auto* vs = dynamic_cast<CQVTTabColorSetVisualStudio2015*>(host.m_pPaintManager->GetColorSet());
    EXPECT_EQ(RGB(1, 2, 3), vs->m_clrButton.GetValue());
    EXPECT_EQ(0xE9DBD6u, vs->m_clrPaneFace.GetValue());
    EXPECT_EQ(0x6A4935u, vs->m_clrTabClientBorder.GetValue());
    // The light 2012 set keeps its fixed colours.
    host.m_pPaintManager->SetColor(qvtTabColorVisualStudio2012);
    auto* light = dynamic_cast<CQVTTabColorSetVisualStudio2012*>(host.m_pPaintManager->GetColorSet());
    EXPECT_EQ(0xF2EEEEu, light->m_clrButton.GetValue());
    EXPECT_EQ(RGB(7, 8, 9), light->m_clrPaneFace.GetValue());
}
