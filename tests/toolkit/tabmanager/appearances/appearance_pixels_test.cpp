// Every appearance painted at the top and left positions, each colour role
// in a colour of its own: the pixels where the shapes put their frames,
// fills, corners and edges.
#include <afxwin.h>

#include <set>

#include "painted_strip.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"

using namespace Marker;

namespace {

const int kPositions[] = {qvtTabPositionTop, qvtTabPositionLeft};

// The blend a corner pixel gets: clrTowards weighted nWeight of 255.
std::string Blend(COLORREF clrTowards, COLORREF clrPixel, int nWeight)
{
    const double f = nWeight / 255.0;
    auto channel = [f](int a, int b) { return static_cast<int>(a * f + b * (1 - f)); };
    return Hex(RGB(channel(GetRValue(clrTowards), GetRValue(clrPixel)),
                   channel(GetGValue(clrTowards), GetGValue(clrPixel)),
                   channel(GetBValue(clrTowards), GetBValue(clrPixel))));
}

}  // namespace

TEST(TabAppearancePixels, EveryAppearanceInstallsItsDefaultColours)
{
    const int kDefaults[17] = {1, 1, 1, 4, 2, 2, 2, 2, 1, 4, 32, 128, 256, 512, 2048, 4096, 8192};
    for (int nAppearance = 0; nAppearance < 17; ++nAppearance)
    {
        SCOPED_TRACE(nAppearance);
        for (int nPosition = 0; nPosition < 4; ++nPosition)
        {
            PaintedStrip strip(nAppearance, nPosition);
            EXPECT_EQ(kDefaults[nAppearance], strip.PaintManager()->GetColor());
            EXPECT_EQ(kDefaults[nAppearance], strip.Appearance()->GetDefaultColorSet());
            // Something of the strip was drawn over the whole control.
            EXPECT_EQ(0, strip.canvas.CountOf(RGB(0xFF, 0x00, 0xFF)));
        }
        // A colour chosen afterwards keeps the appearance.
        PaintedStrip strip(nAppearance, 0);
        strip.PaintManager()->SetColor(qvtTabColorOffice2003);
        EXPECT_EQ(nAppearance, strip.PaintManager()->GetAppearance());
        EXPECT_EQ(qvtTabColorOffice2003, strip.PaintManager()->GetColor());
    }
    // An id it does not know gives the classic look.
    PaintedStrip unknown(99, 0);
    EXPECT_EQ(1, unknown.PaintManager()->GetColor());
    EXPECT_EQ(CRect(2, 3, 6, 0), unknown.Appearance()->GetHeaderMargin());
}

TEST(TabAppearancePixels, ClassicTabsAreLitFromTheTopLeft)
{
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip strip(qvtTabAppearancePropertyPage, nPosition, qvtTabColorDefault);
        strip.UseMarkers();
        // The selected tab stands out by 2 at its ends and its outer side.
        const CRect rc = strip.Grown(strip.Item(1), CRect(2, 2, 2, 0));
        const int w = strip.Along(rc), h = strip.Across(rc);
        EXPECT_EQ(Hex(kFrames[0]), strip.At(strip.Map(rc, 0, h / 2)));      // light, leading edge
        EXPECT_EQ(Hex(kFrames[0]), strip.At(strip.Map(rc, w / 2, 0)));      // light, outer edge
        EXPECT_EQ(Hex(kFrames[0]), strip.At(strip.Map(rc, 1, 1)));          // light corner
        EXPECT_EQ(Hex(kFrames[2]), strip.At(strip.Map(rc, w - 1, h / 2)));  // outer shadow
        EXPECT_EQ(Hex(kFrames[2]), strip.At(strip.Map(rc, w - 2, 1)));      // shadow corner
        EXPECT_EQ(Hex(kFrames[1]), strip.At(strip.Map(rc, w - 2, h / 2)));  // inner shadow
        EXPECT_EQ(Hex(kSelected), strip.At(strip.Map(rc, w - 3, 2)));       // the fill
        EXPECT_EQ(Hex(kSelected), strip.At(strip.Map(rc, w / 2, h - 1)));   // merged with the client
        // The client's frame: light towards the top left, two shadows after.
        const CRect rcClient = strip.Appearance()->GetClientRect(PaintedStrip::Control(), &strip.host);
        const int y = rcClient.CenterPoint().y + 30;
        // (The side towards the header lies under the header.)
        const CPoint ptLight =
            nPosition == 0 ? CPoint(rcClient.left, y) : CPoint(rcClient.right - 30, rcClient.top);
        EXPECT_EQ(Hex(kFrames[0]), strip.At(ptLight));
        EXPECT_EQ(Hex(kFrames[2]), strip.At(CPoint(rcClient.right - 1, y)));
        EXPECT_EQ(Hex(kFrames[1]), strip.At(CPoint(rcClient.right - 2, y)));
        EXPECT_EQ(Hex(kFrames[2]), strip.At(CPoint(rcClient.CenterPoint().x + 30, rcClient.bottom - 1)));
        // Other tabs keep their place and their light edge.
        const CRect rc0 = strip.Item(0);
        EXPECT_EQ(Hex(kFrames[0]), strip.At(strip.Map(rc0, 0, strip.Across(rc0) / 2)));
        EXPECT_EQ(Hex(kButton), strip.At(strip.Map(rc0, 3, 3)));

        // The variant frames only the selected and the hot tab.
        PaintedStrip selected(qvtTabAppearancePropertyPageSelected, nPosition, qvtTabColorDefault);
        selected.UseMarkers();
        const CRect rc2 = selected.Item(2);
        const int w2 = selected.Along(rc2);
        EXPECT_EQ(Hex(kHeader), selected.At(selected.Map(rc2, w2 / 2, 0)));
        EXPECT_EQ(Hex(kHeader), selected.At(selected.Map(rc2, w2 - 3, 3)));
        selected.host.SetHighlightedForTest(selected.host.GetItem(2));
        selected.Paint();
        EXPECT_EQ(Hex(kFrames[0]), selected.At(selected.Map(rc2, w2 / 2, 0)));
        EXPECT_EQ(Hex(kHighlighted), selected.At(selected.Map(rc2, w2 - 3, 3)));
    }
}

TEST(TabAppearancePixels, FlatTabsAreFramedFillsAndPropertyPagesSoftenTheirCorners)
{
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip flat(qvtTabAppearanceFlat, nPosition, qvtTabColorDefault);
        flat.UseMarkers();
        // One longer on the trailing side, the selected one into the client.
        const CRect rc = flat.Grown(flat.Item(1), CRect(0, 0, 1, 1));
        const int w = flat.Along(rc), h = flat.Across(rc);
        EXPECT_EQ(Hex(kFrame), flat.At(flat.Map(rc, 0, h / 2)));
        EXPECT_EQ(Hex(kFrame), flat.At(flat.Map(rc, w - 1, h / 2)));
        EXPECT_EQ(Hex(kFrame), flat.At(flat.Map(rc, w / 2, 0)));
        EXPECT_EQ(Hex(kSelected), flat.At(flat.Map(rc, 2, 2)));
        const CRect rcClient = flat.Appearance()->GetClientRect(PaintedStrip::Control(), &flat.host);
        EXPECT_EQ(Hex(kFrame), flat.At(CPoint(rcClient.right - 1, rcClient.bottom - 20)));
        EXPECT_EQ(Hex(kSelected), flat.At(CPoint(rcClient.right - 3, rcClient.bottom - 20)));

        PaintedStrip page(qvtTabAppearancePropertyPageFlat, nPosition, qvtTabColorDefault);
        page.UseMarkers();
        const CRect rcPage = page.Grown(page.Item(1), CRect(0, 0, 0, 1));
        const int wp = page.Along(rcPage);
        EXPECT_EQ(Hex(kFrame), page.At(page.Map(rcPage, 0, page.Across(rcPage) / 2)));
        // The outer corner is cut; around it pixels lean towards the header
        // (120 of 255) and towards the frame (180 and 60 of 255).
        EXPECT_EQ(Hex(kHeader), page.At(page.Map(rcPage, 0, 0)));
        EXPECT_EQ(Blend(kHeader, kFrame, 120), page.At(page.Map(rcPage, 0, 1)));
        EXPECT_EQ(Blend(kHeader, kFrame, 120), page.At(page.Map(rcPage, 1, 0)));
        EXPECT_EQ(Blend(kHeader, kFrame, 120), page.At(page.Map(rcPage, wp - 1, 1)));
        EXPECT_EQ(Blend(kFrame, kSelected, 180), page.At(page.Map(rcPage, 1, 1)));
        EXPECT_EQ(Blend(kFrame, kSelected, 180), page.At(page.Map(rcPage, wp - 2, 1)));
        EXPECT_EQ(Blend(kFrame, kSelected, 60), page.At(page.Map(rcPage, 2, 1)));
        EXPECT_EQ(Blend(kFrame, kSelected, 60), page.At(page.Map(rcPage, 1, 2)));
        EXPECT_EQ(Blend(kFrame, kSelected, 60), page.At(page.Map(rcPage, wp - 3, 1)));
        // Unselected pages are framed too; a hot one in the hot frame colour.
        CQVTTabPaintManagerColorSet* pColors = page.ColorSet();
        pColors->m_clrButtonBorderHot.SetCustomValue(kSeparator);
        page.host.SetHighlightedForTest(page.host.GetItem(2));
        page.Paint();
        const CRect rc2 = page.Item(2);
        EXPECT_EQ(Hex(kSeparator), page.At(page.Map(rc2, 0, page.Across(rc2) / 2)));
        EXPECT_EQ(Hex(kFrame), page.At(page.Map(page.Item(0), 0, page.Across(rc2) / 2)));
    }
}

TEST(TabAppearancePixels, VisualStudio2010FramesOnlyTheSelectedAndHotTabs)
{
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip strip(qvtTabAppearanceVisualStudio2010, nPosition);
        CQVTTabPaintManagerColorSet* pColors = strip.ColorSet();
        // Its own set defines a selected-frame colour: the selected tab is not
        // framed but one wider on its outer sides.
        const CRect rc = strip.Grown(strip.Item(1), CRect(1, 1, 1, 0));
        const int h = strip.Across(rc);
        EXPECT_EQ(Hex(pColors->m_clrButtonSelected), strip.At(strip.Map(rc, 0, h - 2)));
        EXPECT_EQ(Hex(RGB(0xFF, 0xE8, 0xA6)), strip.At(strip.Map(rc, 2, h - 2)));
        // The outer half glows towards the strip's edge.
        EXPECT_NE(Hex(pColors->m_clrButtonSelected), strip.At(strip.Map(rc, 2, 1)));
        // Others have no shape: the header's dark colour shows.
        const CRect rc0 = strip.Item(0);
        EXPECT_EQ(Hex(RGB(0x2D, 0x3F, 0x5C)), strip.At(strip.Map(rc0, 3, 3)));
    }
}

TEST(TabAppearancePixels, FlatFillsFromVisualStudio2012OnHaveNoFrame)
{
    const int kAppearances[] = {13, 14, 15, 16};
    for (int nAppearance : kAppearances)
        for (int nPosition : kPositions)
        {
            SCOPED_TRACE(testing::Message() << nAppearance << " at " << nPosition);
            PaintedStrip strip(nAppearance, nPosition);
            strip.UseMarkers();
            const CRect rc = strip.Item(1);
            const int w = strip.Along(rc), h = strip.Across(rc);
            EXPECT_EQ(Hex(kSelected), strip.At(strip.Map(rc, 0, h / 2)));
            EXPECT_EQ(Hex(kSelected), strip.At(strip.Map(rc, w - 1, 1)));
            const CRect rc2 = strip.Item(2);
            EXPECT_EQ(Hex(kButton), strip.At(strip.Map(rc2, 0, 1)));
            // The client takes the pane colour.
            const CRect rcClient = strip.Appearance()->GetClientRect(PaintedStrip::Control(), &strip.host);
            EXPECT_EQ(Hex(kPane), strip.At(CPoint(rcClient.right - 4, rcClient.bottom - 4)));
        }
}

TEST(TabAppearancePixels, StateButtonsDitherTheSelectedAndPartTheOthers)
{
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        // The default set's selected face is the 8x8 dither of face and highlight.
        PaintedStrip strip(qvtTabAppearanceStateButtons, nPosition);
        const CRect rc = strip.Item(1);
        const std::string face = Hex(GetColorByIndex(COLOR_3DFACE));
        const std::string light = Hex(GetColorByIndex(COLOR_3DHIGHLIGHT));
        ASSERT_NE(face, light);
        for (int u = 2; u < 6; ++u)
        {
            const std::string a = strip.At(strip.Map(rc, u, 2)), b = strip.At(strip.Map(rc, u + 1, 2));
            EXPECT_TRUE((a == face && b == light) || (a == light && b == face)) << a << " " << b;
        }
        strip.UseMarkers();
        EXPECT_EQ(Hex(kSelectedBorderLight), strip.At(CPoint(rc.left, rc.top + 1)));
        EXPECT_EQ(Hex(kSelectedBorderDark), strip.At(CPoint(rc.right - 1, rc.bottom - 2)));
        // A two-pixel parting after the last tab.
        const CRect rc2 = strip.Item(2);
        const CPoint pt = strip.Map(rc2, strip.Along(rc2), strip.Across(rc2) / 2);
        EXPECT_EQ(Hex(kFrame), strip.At(pt));
        EXPECT_EQ(Hex(kSeparator),
                  strip.At(nPosition == 0 ? CPoint(pt.x + 1, pt.y) : CPoint(pt.x, pt.y + 1)));
    }
}

TEST(TabAppearancePixels, VisualStudio2003RaisesTheSelectedTab)
{
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip strip(qvtTabAppearanceVisualStudio2003, nPosition, qvtTabColorDefault);
        strip.UseMarkers();
        const CRect rc = strip.Grown(strip.Item(1), CRect(0, 0, 0, 1));
        EXPECT_EQ(Hex(kFrames[0]), strip.At(CPoint(rc.left, rc.top + 3)));
        // The side that grew into the client is clipped at the header.
        EXPECT_EQ(Hex(kFrames[3]), strip.At(nPosition == 0 ? CPoint(rc.right - 1, rc.top + 3)
                                                           : CPoint(rc.left + 3, rc.bottom - 1)));
        const CRect rc2 = strip.Item(2);
        EXPECT_EQ(Hex(kFrame), strip.At(strip.Map(rc2, strip.Along(rc2) - 1, strip.Across(rc2) / 2)));
        EXPECT_EQ(Hex(kHeader), strip.At(strip.Map(rc2, strip.Along(rc2) - 1, 1)));
    }
}

TEST(TabAppearancePixels, ExcelTabsAreTrapezoidsWithTheirOwnEdges)
{
    for (int nPosition : kPositions)
    {
        // Rows of odd and even height: the outer edge lies on the item's
        // outer row in both.
        std::set<int> parities;
        for (int nExtra : {0, 1})
        {
            SCOPED_TRACE(testing::Message() << nPosition << " extra " << nExtra);
            PaintedStrip strip(qvtTabAppearanceExcel2003, nPosition, qvtTabColorDefault);
            strip.PaintManager()->m_rcButtonMargin.bottom += nExtra;
            strip.host.SetLayoutRect(PaintedStrip::Control());
            strip.UseMarkers();
            const CRect rc = strip.Item(1);
            const int w = strip.Along(rc), h = strip.Across(rc) - 1, k = h / 2;
            parities.insert(h % 2);
            // Narrow outside, wide towards the client, pulled back a quarter row.
            EXPECT_EQ(Hex(kStateB[1]), strip.At(strip.Map(rc, w / 2, 0)));
            EXPECT_EQ(Hex(kStateB[4]), strip.At(strip.Map(rc, w / 2, 1)));
            EXPECT_EQ(Hex(kStateB[0]), strip.At(strip.Map(rc, -k / 2, h)));
            EXPECT_EQ(Hex(kStateB[2]), strip.At(strip.Map(rc, w + k / 2, h)));
            EXPECT_EQ(Hex(kSelected), strip.At(strip.Map(rc, w / 2, h - 2)));
            // Outside the slant near the outer corner lies the header.
            EXPECT_EQ(Hex(kHeader), strip.At(strip.Map(rc, -k / 2 + 1, 1)));
            // Other tabs take the other edge colours.
            const CRect rc2 = strip.Item(2);
            EXPECT_EQ(Hex(kStateA[1]), strip.At(strip.Map(rc2, strip.Along(rc2) / 2, 0)));
            EXPECT_EQ(Hex(kButton), strip.At(strip.Map(rc2, strip.Along(rc2) / 2, h - 2)));
        }
        EXPECT_EQ(2u, parities.size()) << "the margins gave rows of one parity only";
    }
}

TEST(TabAppearancePixels, PropertyPage2003AndVisualStudio2005SlantTheirTabs)
{
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip page(qvtTabAppearancePropertyPage2003, nPosition, qvtTabColorDefault);
        page.UseMarkers();
        const CRect rc = page.Item(1);
        const int w = page.Along(rc), h = page.Across(rc);
        EXPECT_EQ(Hex(kSelectedBorderLight), page.At(page.Map(rc, w / 2, 0)));
        EXPECT_EQ(Hex(kSelectedBorderLight), page.At(page.Map(rc, w, h / 2)));
        EXPECT_EQ(Hex(RGB(255, 255, 255)), page.At(page.Map(rc, w / 2, 1)));
        EXPECT_EQ(Hex(RGB(255, 255, 255)), page.At(page.Map(rc, w - 1, h / 2)));
        EXPECT_EQ(Hex(kSelected), page.At(page.Map(rc, w - 3, h - 3)));
        // The slant: the leading corner stays outside the tab.
        EXPECT_NE(Hex(kSelected), page.At(page.Map(rc, 1, 3)));
        const CRect rc2 = page.Item(2);
        EXPECT_EQ(Hex(kFrame), page.At(page.Map(rc2, page.Along(rc2) / 2, 0)));
        EXPECT_EQ(Hex(kFrames[5]), page.At(page.Map(rc2, page.Along(rc2) / 2, 1)));
        EXPECT_EQ(Hex(kFrames[6]), page.At(page.Map(rc2, page.Along(rc2) - 1, h / 2)));

        PaintedStrip studio(qvtTabAppearanceVisualStudio2005, nPosition, qvtTabColorDefault);
        studio.UseMarkers();
        const CRect rcs = studio.Item(1);
        EXPECT_EQ(Hex(kSelectedBorderLight), studio.At(studio.Map(rcs, studio.Along(rcs) / 2, 0)));
        EXPECT_EQ(Hex(kSelected), studio.At(studio.Map(rcs, studio.Along(rcs) - 8, 3)));
        const CRect rc0 = studio.Item(0);
        EXPECT_EQ(Hex(kFrame), studio.At(studio.Map(rc0, studio.Along(rc0) / 2, 0)));
    }
}

TEST(TabAppearancePixels, Office2007TabsFallBackToTheItemFillWithoutImages)
{
    NoResourceImages none;
    for (int nPosition : kPositions)
    {
        SCOPED_TRACE(nPosition);
        PaintedStrip page(qvtTabAppearancePropertyPage2007, nPosition, qvtTabColorDefault);
        page.UseMarkers();
        const CRect rc = page.Item(1);
        EXPECT_EQ(Hex(kSelected), page.At(page.Map(rc, 2, 2)));
        EXPECT_EQ(Hex(kSelected), page.At(page.Map(rc, page.Along(rc) - 2, page.Across(rc) - 2)));
        // Tabs neither selected nor hot show only their content.
        EXPECT_EQ(Hex(kHeader), page.At(page.Map(page.Item(2), 2, 2)));
        // Without the page image the client is filled and framed.
        const CRect rcClient = page.Appearance()->GetClientRect(PaintedStrip::Control(), &page.host);
        EXPECT_EQ(Hex(kFrame), page.At(CPoint(rcClient.right - 1, rcClient.bottom - 20)));

        // Access tabs exist only as images: without a set none is drawn, and
        // their text needs rows of at least 24.
        PaintedStrip access(qvtTabAppearancePropertyPageAccess2007, nPosition, qvtTabColorDefault);
        access.UseMarkers();
        EXPECT_EQ(Hex(kHeader), access.At(access.Map(access.Item(1), 2, 2)));
        EXPECT_GE(access.Appearance()->GetRowHeight(&access.host), 24);
        EXPECT_EQ(24, access.Appearance()->GetFontHeight());
    }
}

TEST(TabAppearancePixels, VisioStacksBarsAroundTheSelectedPage)
{
    PaintedStrip strip(qvtTabAppearanceVisio, qvtTabPositionTop, qvtTabColorDefault);
    strip.UseMarkers();
    const int nRow = strip.Appearance()->GetRowHeight(&strip.host);
    const CRect rc0 = strip.Item(0), rc1 = strip.Item(1), rc2 = strip.Item(2);
    EXPECT_EQ(CRect(1, 1, PaintedStrip::kWidth, 1 + nRow), rc0);
    EXPECT_EQ(rc0.bottom, rc1.top);
    EXPECT_EQ(PaintedStrip::kHeight - nRow, rc2.top);
    // The page lies between the selected bar and the next.
    const CRect rcClient = strip.host.GetTabClientRect();
    EXPECT_EQ(rc1.bottom, rcClient.top);
    EXPECT_EQ(rc2.top, rcClient.bottom);
    EXPECT_TRUE(strip.host.GetHeaderRect().IsRectEmpty());
    // Bars: fill, light and dark edges, a grip of dashes in colour 38.
    EXPECT_EQ(Hex(kFrames[0]), strip.At(CPoint(rc0.left, rc0.top + 5)));
    EXPECT_EQ(Hex(kFrames[3]), strip.At(CPoint(rc0.right - 1, rc0.top + 5)));
    EXPECT_EQ(Hex(GetColorByIndex(38)), strip.At(CPoint(rc0.right - 7, rc0.top + 2)));
    EXPECT_EQ(Hex(kButton), strip.At(CPoint(rc0.right - 7, rc0.top + 3)));
    EXPECT_EQ(Hex(kSelected), strip.At(CPoint(rc1.left + 3, rc1.top + 3)));

    // The last bar selected: its page directly below it.
    strip.host.SetCurSel(2);
    EXPECT_EQ(strip.Item(2).bottom, strip.host.GetTabClientRect().top);
}

TEST(TabAppearancePixels, WorkspacePartsWithAndWithoutTheStaticFrame)
{
    for (int nAppearance : {qvtTabAppearancePropertyPage, qvtTabAppearanceVisualStudio2012})
        for (BOOL bStatic : {FALSE, TRUE})
        {
            SCOPED_TRACE(testing::Message() << nAppearance << " static " << bStatic);
            PaintedStrip strip(nAppearance, qvtTabPositionTop, nAppearance ? qvtTabColorVisualStudio2012 : 1);
            strip.PaintManager()->m_bStaticFrame = bStatic;
            CQVTTabPaintManagerColorSet* p = strip.ColorSet();
            p->m_clrTabClientBack.SetCustomValue(kPane);
            p->m_clrFrameBorder.SetCustomValue(kFrame);
            p->m_clrClientFace.SetCustomValue(kBack);
            p->m_grcHeaderFace.clrDark.SetCustomValue(kHeader);
            DibCanvas canvas(40, 40);
            CRect rc(4, 4, 36, 36);
            strip.Appearance()->DrawWorkspacePart(&canvas.dc, rc,
                                                  CQVTTabPaintManagerTheme::workspacePartWorkspace);
            EXPECT_EQ(Hex(kPane), Hex(canvas.At(20, 20)));
            // The splitter part only moves the rectangle.
            CRect rcSplitter = rc;
            strip.Appearance()->DrawWorkspacePart(&canvas.dc, rcSplitter,
                                                  CQVTTabPaintManagerTheme::workspacePartVSplitter);
            EXPECT_EQ(bStatic ? CRect(4, 3, 36, 36) : CRect(2, 2, 38, 38), rcSplitter);
            // Splitter fills: the header colour, or with the static frame the
            // background and a frame line (the flat looks always draw the line).
            canvas.Clear(RGB(255, 255, 255));
            strip.Appearance()->DrawWorkspacePart(&canvas.dc, rc,
                                                  CQVTTabPaintManagerTheme::workspacePartVSplitterFill);
            const bool bLine = bStatic || nAppearance != qvtTabAppearancePropertyPage;
            EXPECT_EQ(Hex(bStatic && !nAppearance ? kBack : kHeader), Hex(canvas.At(20, 20)));
            EXPECT_EQ(Hex(bLine ? kFrame : (bStatic ? kBack : kHeader)), Hex(canvas.At(35, 20)));
        }
}
