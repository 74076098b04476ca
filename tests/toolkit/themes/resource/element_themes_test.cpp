// The element looks drawn from the resource image set, in each colour
// scheme: scroll bars by part and state, light and dark, with the dark
// images falling back to the light ones; progress bars at their lower bound
// and with bad bounds; sliders; message bars; status bars. Pixels are compared with the
// frames of the scheme's own images.
#include <afxwin.h>

#include <map>
#include <memory>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/color_near.h"
#include "tests/toolkit/themes/scroll_base_stub.h"
#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/commandbars/messagebar/QVTMessageBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/elements/QVTMessageBarPaintManager.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/resource/QVTScrollBarThemeResource.h"
#include "toolkit/themes/resource/QVTSliderResourceTheme.h"
#include "tests/toolkit/themes/theme_test_helpers.h"

namespace {

const COLORREF kBack = RGB(1, 2, 3);

// A pixel of an image's frame, read from the image drawn at its own size.
COLORREF ImagePixel(LPCTSTR lpszName, int nFrame, int nFrames, int x, int y)
{
    CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszName);
    if (!pImage)
        return CLR_INVALID;
    DibCanvas canvas(pImage->GetWidth(), pImage->GetHeight(), kBack);
    pImage->DrawImage(&canvas.dc, CRect(0, 0, pImage->GetWidth(), pImage->GetHeight()),
                      CRect(0, 0, pImage->GetWidth(), pImage->GetHeight()));
    const CRect rcFrame = pImage->GetSource(nFrame, nFrames);
    return canvas.At(x < 0 ? rcFrame.Width() + x : x, rcFrame.top + (y < 0 ? rcFrame.Height() + y : y));
}

// A scroll base whose theme style can be set.
class StyledScroll : public ScrollBaseStub
{
public:
    using ScrollBaseStub::ScrollBaseStub;
    void SetStyle(int nStyle) { m_nThemeStyle = nStyle; }
};

struct ResourceBar
{
    ResourceBar() : scroll(&theme) { theme.RefreshMetrics(); }
    void Draw(DibCanvas& canvas)
    {
        canvas.Clear(kBack);
        theme.DrawScrollBar(&canvas.dc, &scroll);
    }
    QVT_SCROLLBAR_PARTS Parts() { return CQVTScrollBarPaintManager::CalcParts(&scroll); }
    CQVTScrollBarThemeResource theme;
    StyledScroll scroll;
};

// Where a scroll-bar part shows its frame and glyph: the left (or top)
// edge of an arrow, the centre of its glyph, the edge of the thumb.
COLORREF ArrowEdge(const DibCanvas& canvas, const CRect& rc, BOOL bVert)
{
    return bVert ? canvas.At(rc.left, rc.CenterPoint().y) : canvas.At(rc.CenterPoint().x, rc.top);
}

}  // namespace

TEST(ResourceScrollBar, ArrowsGlyphsThumbAndPagesShowTheFramesOfTheirStates)
{
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
        for (BOOL bVert : {TRUE, FALSE})
        {
            SCOPED_TRACE(::testing::Message()
                         << CStringA(lpszIni).GetString() << (bVert ? " vertical" : " horizontal"));
            ThemeTest::UseResourceScheme(lpszIni);
            ResourceBar bar;
            const CRect rc = bVert ? CRect(0, 0, 17, 200) : CRect(0, 0, 200, 17);
            bar.scroll.Set(rc, bVert, 0, 99, 10, 30);
            const QVT_SCROLLBAR_PARTS parts = bar.Parts();
            LPCTSTR lpszArrows = bVert ? _T("CONTROLGALLERYSCROLLARROWSVERTICALLIGHT")
                                       : _T("CONTROLGALLERYSCROLLARROWSHORIZONTALLIGHT");
            LPCTSTR lpszThumb =
                bVert ? _T("CONTROLGALLERYSCROLLTHUMBVERTICAL") : _T("CONTROLGALLERYSCROLLTHUMBHORIZONTAL");
            LPCTSTR lpszTrack =
                bVert ? _T("CONTROLGALLERYSCROLLVERTICALLIGHT") : _T("CONTROLGALLERYSCROLLHORIZONTALLIGHT");
            const int nRunFirst = bVert ? 0 : 8, nRunSecond = bVert ? 4 : 12;  // cells from 0
            auto arrowFrame = [&](int nFrame) {
                return bVert ? ImagePixel(lpszArrows, nFrame, 4, 0, 8)
                             : ImagePixel(lpszArrows, nFrame, 4, 8, 0);
            };
            auto glyph = [&](int nCell) {
                return ImagePixel(_T("CONTROLGALLERYSCROLLARROWGLYPHS"), nCell, 16, 4, 4);
            };
            auto thumbFrame = [&](int nFrame) {
                return bVert ? ImagePixel(lpszThumb, nFrame, 3, 0, 9)
                             : ImagePixel(lpszThumb, nFrame, 3, 9, 0);
            };
            DibCanvas canvas(200, 200);

            bar.Draw(canvas);
            EXPECT_EQ(arrowFrame(0), ArrowEdge(canvas, parts.rcArrowFirst, bVert));
            EXPECT_EQ(arrowFrame(0), ArrowEdge(canvas, parts.rcArrowSecond, bVert));
            EXPECT_EQ(glyph(nRunFirst),
                      canvas.At(parts.rcArrowFirst.CenterPoint().x, parts.rcArrowFirst.CenterPoint().y));
            EXPECT_EQ(glyph(nRunSecond),
                      canvas.At(parts.rcArrowSecond.CenterPoint().x, parts.rcArrowSecond.CenterPoint().y));
            EXPECT_EQ(thumbFrame(0), ArrowEdge(canvas, parts.rcThumb, bVert));
            // Behind the pages the track's first frame.
            const CPoint ptAfter = parts.rcPageAfter.CenterPoint();
            EXPECT_TRUE(NearColor(ImagePixel(lpszTrack, 0, 2, 8, 8), canvas.At(ptAfter.x, ptAfter.y), 12));

            bar.scroll.SetHotPart(qvtScrollHitDownArrow);
            bar.Draw(canvas);
            EXPECT_EQ(arrowFrame(1), ArrowEdge(canvas, parts.rcArrowFirst, bVert)) << "another part is hot";
            EXPECT_EQ(arrowFrame(2), ArrowEdge(canvas, parts.rcArrowSecond, bVert));
            EXPECT_EQ(glyph(nRunFirst + 1),
                      canvas.At(parts.rcArrowFirst.CenterPoint().x, parts.rcArrowFirst.CenterPoint().y));
            EXPECT_EQ(glyph(nRunSecond + 1),
                      canvas.At(parts.rcArrowSecond.CenterPoint().x, parts.rcArrowSecond.CenterPoint().y));

            bar.scroll.SetHotPart(qvtScrollHitThumb);
            bar.Draw(canvas);
            EXPECT_EQ(thumbFrame(1), ArrowEdge(canvas, parts.rcThumb, bVert));
            // A thumb longer than 10 px carries the gripper at its centre.
            const CPoint ptThumb = parts.rcThumb.CenterPoint();
            EXPECT_NE(canvas.At(ptThumb.x, ptThumb.y), thumbFrame(1));

            bar.scroll.SetHotPart(0);
            bar.scroll.Press(qvtScrollHitUpArrow);
            bar.Draw(canvas);
            EXPECT_EQ(arrowFrame(3), ArrowEdge(canvas, parts.rcArrowFirst, bVert));
            EXPECT_EQ(arrowFrame(1), ArrowEdge(canvas, parts.rcArrowSecond, bVert));

            bar.scroll.Press(qvtScrollHitPageDown);
            bar.Draw(canvas);
            EXPECT_TRUE(NearColor(ImagePixel(lpszTrack, 1, 2, 8, 8), canvas.At(ptAfter.x, ptAfter.y), 12))
                << "the pressed page";
            const CPoint ptBefore = parts.rcPageBefore.CenterPoint();
            EXPECT_TRUE(NearColor(ImagePixel(lpszTrack, 0, 2, 8, 8), canvas.At(ptBefore.x, ptBefore.y), 12));

            bar.scroll.Press(qvtScrollHitThumb);
            bar.Draw(canvas);
            EXPECT_EQ(thumbFrame(2), ArrowEdge(canvas, parts.rcThumb, bVert));
            bar.scroll.Release();

            // Disabled: idle arrows, the disabled glyphs and no thumb.
            bar.scroll.m_bEnabled = FALSE;
            bar.scroll.SetHotPart(qvtScrollHitDownArrow);
            bar.Draw(canvas);
            EXPECT_EQ(arrowFrame(0), ArrowEdge(canvas, parts.rcArrowSecond, bVert));
            EXPECT_EQ(glyph(nRunSecond + 3),
                      canvas.At(parts.rcArrowSecond.CenterPoint().x, parts.rcArrowSecond.CenterPoint().y));
            EXPECT_TRUE(NearColor(ImagePixel(lpszTrack, 0, 2, 8, 8), canvas.At(ptThumb.x, ptThumb.y), 12));
        }
}

TEST(ResourceScrollBar, TheDarkStyleTakesTheDarkImagesAndTheLightOnesWhereItHasNone)
{
    for (LPCTSTR lpszIni : {_T("Office2007Blue.ini"), _T("LightOnly.ini")})
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        const BOOL bLightOnly = lpszIni[0] == _T('L');
        ThemeTest::UseResourceScheme(lpszIni);
        ResourceBar bar;
        bar.scroll.SetStyle(CQVTScrollBarThemeResource::kDarkStyle);
        bar.scroll.Set(CRect(0, 0, 17, 200), TRUE, 0, 99, 10, 30);
        const QVT_SCROLLBAR_PARTS parts = bar.Parts();
        DibCanvas canvas(200, 200);
        bar.Draw(canvas);
        EXPECT_EQ(ImagePixel(_T("CONTROLGALLERYSCROLLARROWSVERTICALDARK"), 0, 4, 0, 8),
                  ArrowEdge(canvas, parts.rcArrowFirst, TRUE));
        const CPoint ptAfter = parts.rcPageAfter.CenterPoint();
        EXPECT_TRUE(NearColor(ImagePixel(_T("CONTROLGALLERYSCROLLVERTICALDARK"), 0, 2, 8, 8),
                              canvas.At(ptAfter.x, ptAfter.y), 12));
        LPCTSTR lpszGlyphs =
            bLightOnly ? _T("CONTROLGALLERYSCROLLARROWGLYPHS") : _T("CONTROLGALLERYSCROLLARROWGLYPHSDARK");
        const CPoint ptGlyph = parts.rcArrowFirst.CenterPoint();
        EXPECT_EQ(ImagePixel(lpszGlyphs, 0, 16, 4, 4), canvas.At(ptGlyph.x, ptGlyph.y));
        LPCTSTR lpszThumb = bLightOnly ? _T("CONTROLGALLERYSCROLLTHUMBVERTICAL")
                                       : _T("CONTROLGALLERYSCROLLTHUMBVERTICALDARK");
        EXPECT_EQ(ImagePixel(lpszThumb, 0, 3, 0, 9), ArrowEdge(canvas, parts.rcThumb, TRUE));
        CStringArray missing;
        QVTResourceImages()->GetMissingImages(missing);
        EXPECT_EQ(bLightOnly ? 2 : 0, missing.GetSize());
    }
}

TEST(ResourceScrollBar, SizeBoxIsTheBoxImageWithTheStatusGripperInItsCorner)
{
    ThemeTest::UseResourceScheme(_T("Office2007Silver.ini"));
    ResourceBar bar;
    bar.scroll.SetSizeBox(CRect(0, 0, 17, 17));
    DibCanvas canvas(17, 17);
    bar.Draw(canvas);
    EXPECT_EQ(ImagePixel(_T("CONTROLGALLERYSCROLLSIZEBOXLIGHT"), 0, 1, 2, 2), canvas.At(2, 2));
    EXPECT_EQ(ImagePixel(_T("STATUSBARGRIPPER"), 0, 1, -3, -3), canvas.At(14, 14));
}

namespace {
class ProgressStub : public CQVTProgressBase
{
public:
    CRect GetProgressRect() override { return CRect(10, 10, 110, 26); }
    void RedrawProgress() override {}
    CQVTProgressPaintManager* GetProgressPaintManager() override { return nullptr; }
    // A position the bar itself would never keep.
    void ForcePos(int nPos) { m_nPos = nPos; }
};
}  // namespace

TEST(ResourceProgress, LowerBoundShowsTrackAndCapAndBadBoundsStayInsideTheBar)
{
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        CQVTProgressPaintManager* pPaint = pTheme->GetProgressPaintManager();
        ProgressStub progress;
        const CRect rcInner(12, 12, 108, 24);
        auto draw = [&](DibCanvas& canvas) {
            canvas.Clear(kBack);
            pPaint->DrawProgress(&canvas.dc, &progress);
        };
        // The track alone, for what the chunk leaves uncovered.
        DibCanvas track(120, 40, kBack);
        CQVTResourceImage* pTrack = pTheme->LoadImage(_T("PROGRESSTRACK"));
        pTrack->DrawImageColorKeyed(&track.dc, CRect(10, 10, 110, 26), pTrack->GetSource(0, 1),
                                    CRect(2, 2, 2, 2), RGB(255, 0, 255));
        auto differsFromTrack = [&](const DibCanvas& canvas, int x0, int x1) {
            int n = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = x0; x < x1; ++x)
                    n += canvas.At(x, y) != track.At(x, y);
            return n;
        };

        DibCanvas lower(120, 40), equal(120, 40), full(120, 40), beyond(120, 40), half(120, 40);
        progress.SetRange(0, 100);
        draw(lower);
        EXPECT_GT(differsFromTrack(lower, rcInner.left, rcInner.left + 4), 0) << "the end cap";
        EXPECT_EQ(0, differsFromTrack(lower, rcInner.left + 4, 120)) << "only the track after it";
        EXPECT_EQ(0, differsFromTrack(lower, 0, rcInner.left));

        progress.SetRange(5, 5);
        draw(equal);
        EXPECT_EQ(0, differsFromTrack(equal, 0, 120) - differsFromTrack(lower, 0, 120));
        EXPECT_EQ(0, differsFromTrack(equal, rcInner.left + 4, 120));

        progress.SetRange(0, 100);
        progress.SetPos(100);
        draw(full);
        EXPECT_GT(differsFromTrack(full, rcInner.right - 10, rcInner.right), 20) << "chunk to the end";
        EXPECT_EQ(0, differsFromTrack(full, rcInner.right, 120)) << "no cap beyond the bar";

        progress.ForcePos(1000);
        draw(beyond);
        EXPECT_EQ(0, differsFromTrack(beyond, rcInner.right, 120));
        EXPECT_EQ(0, differsFromTrack(beyond, 0, rcInner.left));
        progress.ForcePos(-1000);
        draw(beyond);
        EXPECT_EQ(0, differsFromTrack(beyond, rcInner.left + 4, 120)) << "as at the lower bound";

        progress.SetPos(50);
        draw(half);
        EXPECT_GT(differsFromTrack(half, rcInner.left + 40, rcInner.left + 48), 0);
        EXPECT_GT(differsFromTrack(half, rcInner.left + 48, rcInner.left + 52), 0)
            << "the cap after the fill";
        EXPECT_EQ(0, differsFromTrack(half, rcInner.left + 53, 120));
    }
}

TEST(ResourceSlider, TrackButtonsAndThumbFromTheirImages)
{
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        CQVTSliderResourceTheme* pSlider =
            DYNAMIC_DOWNCAST(CQVTSliderResourceTheme, pTheme->GetSliderPaintManager());
        ASSERT_NE(nullptr, pSlider);
        CQVTResourceImage* pUp = pTheme->LoadImage(_T("SLIDERUP"));
        EXPECT_EQ(CSize(pUp->GetWidth(), pUp->GetHeight() / 3), pSlider->m_szArrowButton);
        ScrollBaseStub slider(pSlider);
        slider.Set(CRect(0, 0, 200, 20), FALSE, 0, 100, 0, 50);
        const QVT_SCROLLBAR_PARTS parts = CQVTScrollBarPaintManager::CalcParts(&slider);
        DibCanvas canvas(200, 20, kBack), expected(200, 20, kBack);
        auto compareArrow = [&](const CRect& rcArrow, LPCTSTR lpszName, int nFrame) {
            expected.Clear(kBack);
            CQVTResourceImage* pImage = pTheme->LoadImage(lpszName);
            pImage->DrawImageStretched(&expected.dc, rcArrow, pImage->GetSource(nFrame, 3));
            int n = 0;
            for (int y = rcArrow.top; y < rcArrow.bottom; ++y)
                for (int x = rcArrow.left; x < rcArrow.right; ++x)
                    n += canvas.At(x, y) != expected.At(x, y);
            return n;
        };

        pSlider->DrawScrollBar(&canvas.dc, &slider);
        EXPECT_EQ(0, compareArrow(parts.rcArrowFirst, _T("SLIDERUP"), 0));
        EXPECT_EQ(0, compareArrow(parts.rcArrowSecond, _T("SLIDERDOWN"), 0));
        // The track across the channel, the thumb at its place.
        EXPECT_EQ(ImagePixel(_T("SLIDERTRACK"), 0, 1, 5, 0), canvas.At(parts.rcTrack.left + 20, 9));
        const CPoint ptThumb = parts.rcThumb.CenterPoint();
        EXPECT_EQ(ImagePixel(_T("SLIDERTHUMB"), 0, 3, 5, 5), canvas.At(ptThumb.x, ptThumb.y - 3));

        slider.SetHotPart(qvtScrollHitDownArrow);
        canvas.Clear(kBack);
        pSlider->DrawScrollBar(&canvas.dc, &slider);
        EXPECT_EQ(0, compareArrow(parts.rcArrowSecond, _T("SLIDERDOWN"), 1));
        slider.SetHotPart(qvtScrollHitPageDown);
        canvas.Clear(kBack);
        pSlider->DrawScrollBar(&canvas.dc, &slider);
        EXPECT_EQ(ImagePixel(_T("SLIDERTHUMB"), 1, 3, 5, 5), canvas.At(ptThumb.x, ptThumb.y - 3))
            << "a hot page";
        slider.SetHotPart(0);
        slider.Press(qvtScrollHitThumb);
        canvas.Clear(kBack);
        pSlider->DrawScrollBar(&canvas.dc, &slider);
        EXPECT_EQ(ImagePixel(_T("SLIDERTHUMB"), 2, 3, 5, 5), canvas.At(ptThumb.x, ptThumb.y - 3));
        slider.Press(qvtScrollHitUpArrow);
        canvas.Clear(kBack);
        pSlider->DrawScrollBar(&canvas.dc, &slider);
        EXPECT_EQ(0, compareArrow(parts.rcArrowFirst, _T("SLIDERUP"), 2));
    }
}

TEST(ResourceMessageBar, BarFrameGradientButtonsAndCloseGlyph)
{
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        CQVTMessageBarPaintManager* pPaint = pTheme->GetMessageBarPaintManager();
        CQVTMessageBar bar;
        bar.SetClientRect(CRect(0, 0, 300, 40));
        CQVTMessageBarButton* pIdle = bar.AddButton(1, CRect(150, 8, 200, 32));
        CQVTMessageBarButton* pHot = bar.AddButton(2, CRect(205, 8, 255, 32));
        pHot->m_bHot = TRUE;
        CQVTMessageBarButton* pClose = bar.AddButton(SC_CLOSE, CRect(270, 11, 288, 29));
        pClose->m_bPressed = TRUE;
        DibCanvas canvas(300, 40, kBack);
        pPaint->FillMessageBar(&canvas.dc, &bar);
        for (int i = 0; i < bar.GetButtonCount(); ++i)
            pPaint->DrawMessageBarButton(&canvas.dc, bar.GetButton(i));

        const CRect rcContent = bar.GetContentRect();
        EXPECT_EQ(pTheme->m_clrMessageBar.GetValue(), canvas.At(0, 0));
        EXPECT_EQ(pTheme->m_clrMessageBarFrame.GetValue(), canvas.At(rcContent.left, rcContent.top));
        EXPECT_EQ(pTheme->m_grcMessageBar.clrLight.GetValue(),
                  canvas.At(rcContent.left + 5, rcContent.top + 1));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(pIdle->m_rcButton.left + 3, pIdle->m_rcButton.top + 3));
        EXPECT_EQ(pTheme->m_clrMessageBarFrame.GetValue(),
                  canvas.At(pIdle->m_rcButton.left, pIdle->m_rcButton.top));
        EXPECT_EQ(pTheme->GetColor(31), canvas.At(pHot->m_rcButton.left + 3, pHot->m_rcButton.top + 3));
        EXPECT_EQ(pTheme->GetColor(32), canvas.At(pHot->m_rcButton.left, pHot->m_rcButton.top));
        EXPECT_EQ(pTheme->GetColor(50), canvas.At(pClose->m_rcButton.left, pClose->m_rcButton.top));
        // The close glyph: frame 0 of the caption close image at its centre.
        const CPoint ptClose = pClose->m_rcButton.CenterPoint();
        EXPECT_EQ(ImagePixel(_T("FRAMECAPTIONCLOSE17"), 0, 5, 8, 8), canvas.At(ptClose.x, ptClose.y));
    }
}

TEST(ResourceStatusBar, LightFaceDarkPanesEdgesAndGripperFromTheSet)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP | WS_THICKFRAME,
                                CRect(0, 0, 420, 80), nullptr, 0));
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        CQVTStatusBarPaintManager* pPainter = pTheme->GetStatusBarPaintManager();
        CQVTStatusBar bar;
        ASSERT_TRUE(bar.Create(&parent));
        bar.AddIndicator(0)->SetText(_T("Ready"));
        for (UINT nId : {2001u, 2002u, 2003u})
            bar.AddIndicator(nId)->SetWidth(50);
        bar.GetPane(1)->SetDarkFace(TRUE);
        bar.GetPane(3)->SetDarkFace(TRUE);
        bar.MoveWindow(0, 0, 400, 24);
        CRect rcClient;
        bar.GetClientRect(&rcClient);
        EXPECT_EQ(pTheme->GetResourceImages()->GetIniColor(_T("StatusBar"), _T("StatusBarText"), 0),
                  pPainter->m_clrText.GetValue());

        DibCanvas canvas(rcClient.Width(), rcClient.Height(), kBack),
            expected(rcClient.Width(), rcClient.Height(), kBack);
        pPainter->FillStatusBar(&canvas.dc, &bar);
        CQVTResourceImage* pLight = pTheme->LoadImage(_T("STATUSBARLIGHT"));
        CQVTResourceImage* pDark = pTheme->LoadImage(_T("STATUSBARDARK"));
        pLight->DrawImageStretched(&expected.dc, rcClient, pLight->GetSource(0, 1));
        pDark->DrawImageStretched(&expected.dc, bar.GetPane(1)->GetRect(), pDark->GetSource(0, 1));
        // The last dark pane runs on to the bar's right end.
        CRect rcLast = bar.GetPane(3)->GetRect();
        rcLast.right = rcClient.right;
        pDark->DrawImageStretched(&expected.dc, rcLast, pDark->GetSource(0, 1));
        int nDiffers = 0;
        for (int y = 0; y < rcClient.Height(); ++y)
            for (int x = 0; x < rcClient.Width(); ++x)
                nDiffers += canvas.At(x, y) != expected.At(x, y);
        EXPECT_EQ(0, nDiffers);
        const CPoint ptLightPane = bar.GetPane(2)->GetRect().CenterPoint(),
                     ptDarkPane = bar.GetPane(1)->GetRect().CenterPoint();
        EXPECT_NE(canvas.At(ptLightPane.x, ptLightPane.y), canvas.At(ptDarkPane.x, ptDarkPane.y));

        // Pane edges: the dark line inside the right edge, the light one on it.
        canvas.Clear(kBack);
        pPainter->DrawPaneBorder(&canvas.dc, CRect(10, 2, 100, 22), bar.GetPane(2), FALSE);
        EXPECT_EQ(pPainter->m_clrGripperDark.GetValue(), canvas.At(99, 5));
        EXPECT_EQ(pPainter->m_clrGripperLite.GetValue(), canvas.At(100, 5));
        EXPECT_EQ(kBack, canvas.At(99, 20)) << "two pixels short of the bottom";
        EXPECT_EQ(kBack, canvas.At(10, 5));

        // The gripper image, 1 px from the right and 4 px from the bottom.
        canvas.Clear(kBack);
        pPainter->DrawGripper(&canvas.dc, CRect(0, 0, 100, 24));
        EXPECT_EQ(ImagePixel(_T("STATUSBARGRIPPER"), 0, 1, -3, -3), canvas.At(99 - 3, 20 - 3));
        EXPECT_EQ(kBack, canvas.At(99, 23));
        bar.DestroyWindow();
    }
    parent.DestroyWindow();
}

TEST(ResourceImages, DrawingEveryThemedPartMissesNoImageOfAnyScheme)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP | WS_THICKFRAME,
                                CRect(0, 0, 420, 80), nullptr, 0));
    for (LPCTSTR lpszIni : ThemeTest::kSchemeInis)
    {
        SCOPED_TRACE(CStringA(lpszIni).GetString());
        CQVTResourceTheme* pTheme = ThemeTest::UseResourceScheme(lpszIni);
        DibCanvas canvas(400, 300, kBack);
        CDC* pDC = &canvas.dc;

        for (int nStyle : {0, CQVTScrollBarThemeResource::kDarkStyle})
            for (BOOL bVert : {TRUE, FALSE})
            {
                StyledScroll scroll(pTheme->GetScrollBarPaintManager());
                scroll.SetStyle(nStyle);
                scroll.Set(bVert ? CRect(0, 0, 17, 200) : CRect(0, 0, 200, 17), bVert, 0, 99, 10, 30);
                pTheme->GetScrollBarPaintManager()->DrawScrollBar(pDC, &scroll);
                scroll.Press(qvtScrollHitPageUp);
                pTheme->GetScrollBarPaintManager()->DrawScrollBar(pDC, &scroll);
                scroll.SetSizeBox(CRect(0, 0, 17, 17));
                pTheme->GetScrollBarPaintManager()->DrawScrollBar(pDC, &scroll);
            }
        ProgressStub progress;
        progress.SetPos(50);
        pTheme->GetProgressPaintManager()->DrawProgress(pDC, &progress);
        ScrollBaseStub slider(pTheme->GetSliderPaintManager());
        slider.Set(CRect(0, 0, 200, 20), FALSE, 0, 100, 0, 50);
        pTheme->GetSliderPaintManager()->DrawScrollBar(pDC, &slider);

        CQVTMessageBar message;
        message.SetClientRect(CRect(0, 0, 300, 40));
        message.AddButton(SC_CLOSE, CRect(270, 11, 288, 29));
        pTheme->GetMessageBarPaintManager()->FillMessageBar(pDC, &message);
        pTheme->GetMessageBarPaintManager()->DrawMessageBarButton(pDC, message.GetButton(0));

        CQVTStatusBar status;
        ASSERT_TRUE(status.Create(&parent));
        status.AddIndicator(0)->SetDarkFace(TRUE);
        status.MoveWindow(0, 0, 400, 24);
        CQVTStatusBarPaintManager* pStatus = pTheme->GetStatusBarPaintManager();
        pStatus->FillStatusBar(pDC, &status);
        pStatus->DrawPaneBorder(pDC, CRect(0, 0, 50, 20), status.GetPane(0), TRUE);
        pStatus->DrawGripper(pDC, CRect(0, 0, 400, 24));
        status.DestroyWindow();

        pTheme->FillWorkspace(pDC, CRect(0, 0, 400, 300));

        CStringArray missing;
        QVTResourceImages()->GetMissingImages(missing);
        for (int i = 0; i < missing.GetSize(); ++i)
            ADD_FAILURE() << "missing " << CStringA(missing[i]).GetString();
    }
    parent.DestroyWindow();
}
