// The viewbox's fitted scale and offset, its clipping, drawing and hits;
// the page that is never hit itself; and a real child window placed, hidden
// when clipped away and shown again by a window container.
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/panels/QVTMarkupViewbox.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

class MarkupContent : public testing::Test
{
protected:
    MarkupContent() : m_pContext(MarkupCreateContext(nullptr, FALSE)) {}
    ~MarkupContent() override
    {
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
    }
    template <class T = CQVTMarkupUIElement>
    T* Load(const CString& strText)
    {
        MarkupReleaseElement(m_pRoot);
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, strText, &strError);
        EXPECT_NE(m_pRoot, nullptr) << CStringA(strError).GetString();
        return MarkupCast<T>(m_pRoot);
    }
    BOOL ClipsToBounds()
    {
        CQVTMarkupBool* pValue =
            MarkupCast<CQVTMarkupBool>(m_pRoot->GetValue(CQVTMarkupUIElement::m_pClipToBoundsProperty));
        return pValue != nullptr && pValue->GetValue();
    }

    CQVTMarkupContext* m_pContext;
    CQVTMarkupUIElement* m_pRoot = nullptr;
};

TEST_F(MarkupContent, AViewboxFitsItsChildByStretch)
{
    const WCHAR kChild[] = u"<Rectangle Width='100' Height='50' Fill='#0000FF'/>";
    CQVTMarkupViewbox* pViewbox =
        Load<CQVTMarkupViewbox>(RootMarkup(u"Viewbox", u"Stretch='Uniform'", kChild));
    ASSERT_NE(pViewbox, nullptr);
    EXPECT_EQ(MarkupMeasureElement(m_pRoot, 200, 200), CSize(100, 50));
    pViewbox->Arrange(RECT{0, 0, 200, 200});
    EXPECT_FLOAT_EQ(pViewbox->GetScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(pViewbox->GetScaleY(), 2.0f);
    EXPECT_FLOAT_EQ(pViewbox->GetOffsetX(), 0.0f);
    EXPECT_FLOAT_EQ(pViewbox->GetOffsetY(), 50.0f);
    EXPECT_FALSE(ClipsToBounds());
    // The child keeps its own size: the scale comes at drawing time.
    EXPECT_EQ(CSize(pViewbox->GetChild()->GetRenderSize()), CSize(100, 50));

    pViewbox = Load<CQVTMarkupViewbox>(RootMarkup(u"Viewbox", u"Stretch='UniformToFill'", kChild));
    MarkupMeasureElement(m_pRoot, 200, 200);
    pViewbox->Arrange(RECT{0, 0, 200, 200});
    EXPECT_FLOAT_EQ(pViewbox->GetScaleX(), 4.0f);
    EXPECT_FLOAT_EQ(pViewbox->GetOffsetX(), -100.0f);
    EXPECT_FLOAT_EQ(pViewbox->GetOffsetY(), 0.0f);
    EXPECT_TRUE(ClipsToBounds());

    pViewbox = Load<CQVTMarkupViewbox>(RootMarkup(u"Viewbox", u"Stretch='Fill'", kChild));
    MarkupMeasureElement(m_pRoot, 300, 100);
    pViewbox->Arrange(RECT{0, 0, 300, 100});
    EXPECT_FLOAT_EQ(pViewbox->GetScaleX(), 3.0f);
    EXPECT_FLOAT_EQ(pViewbox->GetScaleY(), 2.0f);

    // None clips only a child larger than the viewbox's own explicit size.
    Load(RootMarkup(u"Viewbox", u"Width='60' Height='60'", kChild));
    MarkupMeasureElement(m_pRoot, 200, 200);
    m_pRoot->Arrange(RECT{0, 0, 60, 60});
    EXPECT_TRUE(ClipsToBounds());
    Load(RootMarkup(u"Viewbox", u"", kChild));
    MarkupMeasureElement(m_pRoot, 60, 60);
    m_pRoot->Arrange(RECT{0, 0, 60, 60});
    EXPECT_FALSE(ClipsToBounds());
    // No child, or a child without size: nothing happens.
    Load(RootMarkup(u"Viewbox", u"Stretch='Uniform'", u"<Rectangle/>"));
    MarkupMeasureElement(m_pRoot, 60, 60);
    m_pRoot->Arrange(RECT{0, 0, 60, 60});
    EXPECT_FALSE(ClipsToBounds());
}

TEST_F(MarkupContent, AViewboxDrawsAndIsHitThroughItsScale)
{
    DibCanvas canvas(100, 100);
    Load(RootMarkup(
        u"Viewbox", u"Stretch='Uniform'",
        u"<Canvas Width='10' Height='10'><Rectangle x:Name='r' Canvas.Left='5' Width='5' Height='5' "
        u"Fill='#0000FF'/></Canvas>"));
    MarkupRenderElement(m_pRoot, canvas.dc.m_hDC, CRect(0, 0, 100, 100));
    EXPECT_EQ(canvas.BoundsOfAllBut(kWhite), CRect(50, 0, 100, 50));
    CQVTMarkupObject* pRectangle = m_pRoot->FindName(u"r");
    EXPECT_EQ(m_pRoot->InputHitTest(POINT{75, 25}), pRectangle);
    EXPECT_NE(m_pRoot->InputHitTest(POINT{25, 25}), pRectangle);
    // The viewbox itself is hit over its own area, not a scaled one.
    EXPECT_EQ(m_pRoot->InputHitTest(POINT{25, 75}), m_pRoot);

    // Under GDI there is no scaling: the child draws at its own size.
    m_pContext->EnableGdiPlus(FALSE);
    canvas.Clear(kWhite);
    MarkupRenderElement(m_pRoot, canvas.dc.m_hDC, CRect(0, 0, 100, 100));
    EXPECT_EQ(canvas.BoundsOfAllBut(kWhite), CRect(5, 0, 10, 5));
}

TEST_F(MarkupContent, APageHoldsOneChildAndIsNeverHitItself)
{
    Load(RootMarkup(u"Page", u"",
                    u"<Rectangle x:Name='r' Width='10' Height='10' HorizontalAlignment='Left' "
                    u"VerticalAlignment='Top' Fill='#0000FF'/>"));
    EXPECT_EQ(MarkupMeasureElement(m_pRoot, 50, 50), CSize(10, 10));
    m_pRoot->Arrange(RECT{0, 0, 50, 50});
    EXPECT_EQ(m_pRoot->InputHitTest(POINT{5, 5}), m_pRoot->FindName(u"r"));
    EXPECT_EQ(m_pRoot->InputHitTest(POINT{30, 30}), nullptr);
    CString strError;
    EXPECT_EQ(BuildMarkup(m_pContext, RootMarkup(u"Page", u"", u"<Rectangle/><Ellipse/>"), &strError),
              nullptr);
    EXPECT_EQ(strError, CString(u"'CQVTMarkupPage' already has a child and cannot add 'CQVTMarkupEllipse'. "
                                u"'CQVTMarkupPage' can accept only one child."));
}

TEST(MarkupWindowContainer, TheWindowFollowsItsElementAndHidesWhenClippedAway)
{
    HWND hHost = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, u"STATIC", u"", WS_POPUP, 400, 300, 200,
                                   150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hHost, nullptr);
    HWND hChild =
        ::CreateWindowExW(0, u"STATIC", u"", WS_CHILD, 0, 0, 30, 20, hHost, nullptr, nullptr, nullptr);
    ASSERT_NE(hChild, nullptr);
    CQVTMarkupContext* pContext = MarkupCreateContext(hHost, FALSE);
    CQVTMarkupUIElement* pRoot =
        BuildMarkup(pContext, RootMarkup(u"Canvas", u"",
                                         u"<WindowContainer x:Name='w' Canvas.Left='40' Canvas.Top='25'/>"));
    ASSERT_NE(pRoot, nullptr);
    CQVTMarkupWindowContainer* pContainer = MarkupCast<CQVTMarkupWindowContainer>(pRoot->FindName(u"w"));
    ASSERT_NE(pContainer, nullptr);
    pContainer->AttachWindow(hChild);
    EXPECT_EQ(pContainer->GetWindow(), hChild);
    EXPECT_EQ(MarkupMeasureElement(pContainer, 500, 500), CSize(30, 20));

    // The host stays hidden: the child's own visibility is what changes.
    auto shown = [&]() { return (::GetWindowLongW(hChild, GWL_STYLE) & WS_VISIBLE) != 0; };
    HDC hDC = ::GetDC(hHost);
    auto childRect = [&]() {
        RECT rc;
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, hHost, reinterpret_cast<POINT*>(&rc), 2);
        return CRect(rc);
    };
    MarkupRenderElement(pRoot, hDC, CRect(0, 0, 200, 150));
    EXPECT_TRUE(shown());
    EXPECT_EQ(childRect(), CRect(40, 25, 70, 45));

    // Scrolled out of the clip: hidden; drawn again at a new place: back.
    ::IntersectClipRect(hDC, 100, 100, 200, 150);
    MarkupRenderElement(pRoot, hDC, CRect(0, 0, 200, 150));
    EXPECT_FALSE(shown());
    ::SelectClipRgn(hDC, nullptr);
    MarkupRenderElement(pRoot, hDC, CRect(10, 5, 210, 155));
    EXPECT_TRUE(shown());
    EXPECT_EQ(childRect(), CRect(50, 30, 80, 50));
    ::ReleaseDC(hHost, hDC);

    MarkupReleaseElement(pRoot);
    MarkupReleaseContext(pContext);
    ::DestroyWindow(hHost);
}
