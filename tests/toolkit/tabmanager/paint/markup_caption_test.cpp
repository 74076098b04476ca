// Captions that are markup, in a strip with a markup context: parsed when the
// context or the caption is set, measured in the item's font without limits,
// drawn in the item's font and text colour and centred across the item as the
// text format asks; captions that are not markup stay plain text.
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"

namespace {

const COLORREF kCaptionPaper = RGB(255, 255, 255);
const COLORREF kCaptionInk = RGB(0, 0, 255);

const WCHAR kBoldTail[] = u"<TextBlock>Caption <Bold>one</Bold></TextBlock>";
const WCHAR kRedTail[] = u"<TextBlock>Caption <Run Foreground='#FF0000'>red</Run></TextBlock>";

int TextWidth(CQVTFont& font, LPCWSTR lpszText)
{
    CClientDC dc(nullptr);
    CQVTFontDC fontDC(&dc, &font);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), lpszText, lstrlenW(lpszText), &size);
    return size.cx;
}

// The bounds of the pixels in rc that match the test.
template <class TTest>
CRect InkBounds(const DibCanvas& canvas, const CRect& rc, TTest test)
{
    CRect bounds(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = std::max<LONG>(rc.top, 0); y < std::min<LONG>(rc.bottom, canvas.Height()); ++y)
        for (int x = std::max<LONG>(rc.left, 0); x < std::min<LONG>(rc.right, canvas.Width()); ++x)
            if (test(canvas.At(x, y)))
            {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return bounds;
}
bool IsBlue(COLORREF c)
{
    return GetBValue(c) > 150 && GetRValue(c) < 130 && GetGValue(c) < 130;
}
bool IsRed(COLORREF c)
{
    return GetRValue(c) > 150 && GetGValue(c) < 130 && GetBValue(c) < 130;
}

// A top strip in a large font whose items are white with blue text, with a
// markup context of its own that draws through GDI, as the plain captions do.
struct MarkupStrip
{
    MarkupStrip()
    {
        CQVTTabPaintManager* p = host.m_pPaintManager;
        p->SetColor(qvtTabColorDefault);
        LOGFONT lf = {};
        lf.lfHeight = -20;
        lstrcpyW(lf.lfFaceName, u"Tahoma");
        p->SetFontIndirect(&lf);
        host.SetLayoutRect(CRect(0, 0, 600, 120));
        host.SetMarkupContext(GdiContext());
    }
    static CQVTMarkupContext* GdiContext()
    {
        CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, FALSE);
        pContext->EnableGdiPlus(FALSE);
        return pContext;
    }
    void Paint()
    {
        CQVTTabPaintManagerColorSet* pColors = host.m_pPaintManager->GetColorSet();
        for (CQVTPaintManagerColor* pColor :
             {&pColors->m_clrButton, &pColors->m_clrButtonSelected, &pColors->m_clrClientFace})
            pColor->SetCustomValue(kCaptionPaper);
        pColors->m_grcHeaderFace.clrLight.SetCustomValue(kCaptionPaper);
        pColors->m_grcHeaderFace.clrDark.SetCustomValue(kCaptionPaper);
        pColors->m_clrText.SetCustomValue(kCaptionInk);
        pColors->m_clrTextSelected.SetCustomValue(kCaptionInk);
        canvas.Clear(kCaptionPaper);
        host.PaintTo(&canvas.dc, CRect(0, 0, 600, 120));
    }
    // Text inset and margins around an item's caption.
    int Insets() const
    {
        const CQVTTabPaintManager* p = host.m_pPaintManager;
        return p->m_rcButtonTextPadding.left + p->m_rcButtonTextPadding.right + p->m_rcButtonMargin.left +
               p->m_rcButtonMargin.right;
    }
    CTabTestHost host;
    DibCanvas canvas{600, 120};
};

}  // namespace

TEST(TabMarkupCaptions, MarkupIsParsedWhereTheStripHasAContextAndMeasuredInEachItemsFont)
{
    MarkupStrip strip;
    CTabTestHost& host = strip.host;
    CQVTTabPaintManager* p = host.m_pPaintManager;
    p->m_bBoldSelected = TRUE;
    host.AddItems({kBoldTail, kBoldTail, u"<TextBlock>", u"Caption one"});
    host.SetCurSel(0);
    ASSERT_NE(nullptr, host.GetItem(0)->GetMarkupUIElement());
    ASSERT_NE(nullptr, host.GetItem(1)->GetMarkupUIElement());
    // Markup that does not build, and plain text, are captions as they stand.
    EXPECT_EQ(nullptr, host.GetItem(2)->GetMarkupUIElement());
    EXPECT_EQ(nullptr, host.GetItem(3)->GetMarkupUIElement());

    const int nNormal = TextWidth(p->GetNormalFont(), u"Caption ") + TextWidth(p->GetBoldFont(), u"one");
    const int nBold = TextWidth(p->GetBoldFont(), u"Caption one");
    ASSERT_GT(nBold, nNormal);
    // The selected item of the active strip is bold; each caption is measured
    // in its own item's font, and again when the selection moves.
    host.Reposition();
    EXPECT_EQ(strip.Insets() + nBold, host.GetItem(0)->GetContentLength());
    EXPECT_EQ(strip.Insets() + nNormal, host.GetItem(1)->GetContentLength());
    EXPECT_EQ(strip.Insets() + TextWidth(p->GetNormalFont(), u"Caption one"),
              host.GetItem(3)->GetContentLength());
    host.SetCurSel(1);
    EXPECT_EQ(strip.Insets() + nNormal, host.GetItem(0)->GetContentLength());
    EXPECT_EQ(strip.Insets() + nBold, host.GetItem(1)->GetContentLength());

    // A new caption is parsed again; without a context nothing is markup.
    host.GetItem(3)->SetCaption(kBoldTail);
    EXPECT_NE(nullptr, host.GetItem(3)->GetMarkupUIElement());
    host.GetItem(0)->SetCaption(u"Caption one");
    EXPECT_EQ(nullptr, host.GetItem(0)->GetMarkupUIElement());
    host.SetMarkupContext(nullptr);
    for (int i = 0; i < host.GetItemCount(); ++i)
        EXPECT_EQ(nullptr, host.GetItem(i)->GetMarkupUIElement());
    // A context given later parses the captions there are.
    host.SetMarkupContext(MarkupStrip::GdiContext());
    EXPECT_NE(nullptr, host.GetItem(3)->GetMarkupUIElement());
    EXPECT_EQ(strip.Insets() + nNormal, host.GetItem(3)->GetContentLength());
}

TEST(TabMarkupCaptions, DrawnInTheItemFontAndTextColourAndCentredAcrossAsTheFormatAsks)
{
    MarkupStrip strip;
    CTabTestHost& host = strip.host;
    // Rows as tall as a large image, so that a caption drawn at the top of
    // its item stands well apart from a centred one.
    host.m_nImageSize = 60;
    host.m_pPaintManager->m_szIcon = CSize(60, 60);
    host.AddItems({kRedTail, u"Caption"});
    host.GetItem(1)->SetImageIndex(0);
    host.SetCurSel(1);
    host.Reposition();
    strip.Paint();

    const CRect rcMarkup = host.GetItem(0)->GetRect(), rcPlain = host.GetItem(1)->GetRect();
    ASSERT_GT(rcMarkup.Height(), 60);
    // The markup's own colour, and the DC's text colour where it names none.
    const CRect rcBlue = InkBounds(strip.canvas, rcMarkup, IsBlue);
    const CRect rcRed = InkBounds(strip.canvas, rcMarkup, IsRed);
    ASSERT_FALSE(rcBlue.IsRectEmpty());
    ASSERT_FALSE(rcRed.IsRectEmpty());
    EXPECT_LE(rcBlue.right, rcRed.left);
    // "Caption" in the same font and at the same height as the plain caption
    // that DrawText centres in the next item.
    const CRect rcPlainInk = InkBounds(strip.canvas, rcPlain, IsBlue);
    ASSERT_FALSE(rcPlainInk.IsRectEmpty());
    EXPECT_EQ(rcPlainInk.Width(), rcBlue.Width());
    EXPECT_EQ(rcPlainInk.top, rcBlue.top);
    EXPECT_EQ(rcPlainInk.bottom, rcBlue.bottom);
    EXPECT_GT(rcBlue.top, rcMarkup.top + 15);

    // Without DT_VCENTER both go to the top of the text rectangle.
    host.m_pPaintManager->m_nDrawTextFormat = 0;
    strip.Paint();
    const CRect rcTopBlue = InkBounds(strip.canvas, rcMarkup, IsBlue);
    const CRect rcTopPlain = InkBounds(strip.canvas, rcPlain, IsBlue);
    EXPECT_EQ(rcTopPlain.top, rcTopBlue.top);
    EXPECT_LT(rcTopBlue.top, rcBlue.top - 10);
}

TEST(TabMarkupCaptions, AFixedLengthItemFollowsItsFontWhenTheSelectionMoves)
{
    // Fixed items are never measured: drawing alone must pick up the font.
    MarkupStrip strip;
    CTabTestHost& host = strip.host;
    CQVTTabPaintManager* p = host.m_pPaintManager;
    p->m_bBoldSelected = TRUE;
    p->SetLayout(qvtTabLayoutFixed);
    p->m_nFixedTabWidth = 250;
    host.AddItems({u"<TextBlock>Wide caption</TextBlock>", u"Wide caption"});
    host.SetCurSel(0);
    strip.Paint();
    const CRect rcMarkup = host.GetItem(0)->GetRect(), rcPlain = host.GetItem(1)->GetRect();
    const int nBoldInk = InkBounds(strip.canvas, rcMarkup, IsBlue).Width();
    const int nNormalInk = InkBounds(strip.canvas, rcPlain, IsBlue).Width();
    ASSERT_GT(nBoldInk, nNormalInk);

    host.SetCurSel(1);
    strip.Paint();
    EXPECT_EQ(rcMarkup, host.GetItem(0)->GetRect());
    EXPECT_EQ(nNormalInk, InkBounds(strip.canvas, rcMarkup, IsBlue).Width());
    EXPECT_EQ(nBoldInk, InkBounds(strip.canvas, rcPlain, IsBlue).Width());
}
