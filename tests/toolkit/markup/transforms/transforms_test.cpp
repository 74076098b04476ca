// Render transforms read back from DIBs and through hit tests: rotation,
// scale, skew and translation about their centres, the one-transform rule,
// plain GDI ignoring them, and scales of nothing or of 1e30.
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/transforms/QVTMarkupRenderTransform.h"
#include "toolkit/markup/transforms/QVTMarkupRotateTransform.h"
#include "toolkit/markup/transforms/QVTMarkupScaleTransform.h"
#include "toolkit/markup/transforms/QVTMarkupTranslateTransform.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

// A canvas holding one blue 40 by 10 rectangle at (50, 50) under the transform.
class MarkupTransforms : public testing::Test
{
protected:
    MarkupTransforms() : m_pContext(MarkupCreateContext(nullptr, FALSE)), m_canvas(150, 150) {}
    ~MarkupTransforms() override
    {
        MarkupReleaseElement(m_pRoot);
        MarkupReleaseContext(m_pContext);
    }

    CString Load(LPCWSTR lpszTransform)
    {
        MarkupReleaseElement(m_pRoot);
        CString strText;
        strText.Format(u"<Canvas xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
                       u"xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml'>"
                       u"<Rectangle x:Name='r' Canvas.Left='50' Canvas.Top='50' Width='40' Height='10' "
                       u"Fill='#0000FF'><Rectangle.RenderTransform><RenderTransform>%ls</RenderTransform>"
                       u"</Rectangle.RenderTransform></Rectangle></Canvas>",
                       lpszTransform);
        CString strError;
        m_pRoot = BuildMarkup(m_pContext, strText, &strError);
        return strError;
    }
    void Render()
    {
        m_canvas.Clear(kWhite);
        MarkupRenderElement(m_pRoot, m_canvas.dc.m_hDC, CRect(0, 0, 150, 150));
    }
    CQVTMarkupObject* Rectangle() { return m_pRoot->FindName(u"r"); }
    BOOL Hits(int x, int y) { return m_pRoot->InputHitTest(POINT{x, y}) == Rectangle(); }

    CQVTMarkupContext* m_pContext;
    CQVTMarkupUIElement* m_pRoot = nullptr;
    DibCanvas m_canvas;
};

TEST_F(MarkupTransforms, RotationTurnsDrawingAndHitsAboutTheCentre)
{
    ASSERT_EQ(Load(u"<RotateTransform Angle='90' CenterX='20' CenterY='5'/>"), CString());
    Render();
    // Turned a quarter about (70, 55): now 10 wide and 40 high.
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(65, 35, 75, 75));
    EXPECT_EQ(m_canvas.At(70, 40), kBlue);
    EXPECT_EQ(m_canvas.At(52, 55), kWhite);
    EXPECT_TRUE(Hits(70, 40));
    EXPECT_TRUE(Hits(66, 70));
    EXPECT_FALSE(Hits(52, 55));
    EXPECT_FALSE(Hits(88, 55));
    // The image's edges count as inside.
    EXPECT_TRUE(Hits(65, 35));
    EXPECT_TRUE(Hits(75, 75));
    EXPECT_FALSE(Hits(76, 75));
    // Repaints cover where it was drawn.
    CQVTMarkupVisual* pRectangle = MarkupCast<CQVTMarkupVisual>(Rectangle());
    CRect rcUpdate = m_pContext->GetElementWindowRect(pRectangle, TRUE);
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(70, 36)));
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(70, 74)));
}

TEST_F(MarkupTransforms, ScaleSkewAndTranslateAct)
{
    ASSERT_EQ(Load(u"<ScaleTransform ScaleX='2' ScaleY='3'/>"), CString());
    Render();
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(50, 50, 130, 80));
    EXPECT_TRUE(Hits(125, 75));

    // ScaleY unset reads 0: the rectangle collapses and is hit nowhere.
    ASSERT_EQ(Load(u"<ScaleTransform ScaleX='2'/>"), CString());
    Render();
    EXPECT_EQ(m_canvas.CountOf(kWhite), 150 * 150);
    EXPECT_FALSE(Hits(60, 50));
    EXPECT_FALSE(Hits(60, 55));

    // 45 degrees shear x by exactly y.
    ASSERT_EQ(Load(u"<SkewTransform AngleX='45'/>"), CString());
    Render();
    EXPECT_EQ(m_canvas.At(50, 50), kBlue);
    EXPECT_EQ(m_canvas.At(50, 58), kWhite);
    EXPECT_EQ(m_canvas.At(58, 58), kBlue);
    EXPECT_EQ(m_canvas.At(97, 58), kBlue);
    EXPECT_TRUE(Hits(97, 58));
    EXPECT_FALSE(Hits(51, 58));

    ASSERT_EQ(Load(u"<TranslateTransform X='30' Y='-20'/>"), CString());
    Render();
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(80, 30, 120, 40));
    EXPECT_TRUE(Hits(100, 35));
    EXPECT_FALSE(Hits(60, 55));
}

TEST_F(MarkupTransforms, AHolderTakesOneTransformAndGdiIgnoresIt)
{
    EXPECT_EQ(
        Load(u"<RotateTransform Angle='10'/><ScaleTransform ScaleX='2' ScaleY='2'/>"),
        CString(
            u"'CQVTMarkupRenderTransform' already has a child and cannot add "
            u"'CQVTMarkupGdiPlusScaleTransform'. 'CQVTMarkupRenderTransform' can accept only one child."));
    EXPECT_FALSE(Load(u"<Rectangle/>").IsEmpty());
    // A RotateTransform is a kind of the plain rotate transform.
    EXPECT_TRUE(
        FindMarkupType(u"RotateTransform")->IsDerivedFrom(CQVTMarkupRotateTransform::GetMarkupType()));

    // Under GDI the element is drawn and hit as if untransformed.
    m_pContext->EnableGdiPlus(FALSE);
    ASSERT_EQ(Load(u"<RotateTransform Angle='90' CenterX='20' CenterY='5'/>"), CString());
    Render();
    EXPECT_EQ(m_canvas.BoundsOfAllBut(kWhite), CRect(50, 50, 90, 60));
    EXPECT_TRUE(Hits(52, 55));
    EXPECT_FALSE(Hits(70, 40));
}

TEST_F(MarkupTransforms, ChangingATransformRelaysOutItsElement)
{
    CRecordingContext* pContext = new CRecordingContext();
    CQVTMarkupUIElement* pRoot = BuildMarkup(
        pContext, u"<Rectangle xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' Width='10' "
                  u"Height='10'><Rectangle.RenderTransform><RenderTransform><TranslateTransform X='1'/>"
                  u"</RenderTransform></Rectangle.RenderTransform></Rectangle>");
    ASSERT_NE(pRoot, nullptr);
    DibCanvas canvas(20, 20);
    MarkupRenderElement(pRoot, canvas.dc.m_hDC, CRect(0, 0, 20, 20));
    pContext->m_elements.clear();
    CQVTMarkupRenderTransform* pHolder = MarkupCast<CQVTMarkupRenderTransform>(
        pRoot->GetValue(CQVTMarkupUIElement::m_pRenderTransformProperty));
    ASSERT_NE(pHolder, nullptr);
    pHolder->GetTransform()->SetValue(CQVTMarkupTranslateTransform::m_pXProperty, new CQVTMarkupDouble(5));
    ASSERT_EQ(pContext->m_elements.size(), 1u);
    EXPECT_EQ(pContext->m_elements[0], pRoot);
    pRoot->InternalRelease();
    pContext->Release();
}

TEST_F(MarkupTransforms, HugeScalesStayWithinTheScreenAndTheHitTest)
{
    ASSERT_EQ(Load(u"<ScaleTransform ScaleX='1000000000000000000000000000000' "
                   u"ScaleY='1000000000000000000000000000000' CenterX='1' CenterY='1'/>"),
              CString());
    Render();
    EXPECT_TRUE(Hits(60, 60));
    CQVTMarkupVisual* pRectangle = MarkupCast<CQVTMarkupVisual>(Rectangle());
    const CRect rcUpdate = m_pContext->GetElementWindowRect(pRectangle, TRUE);
    EXPECT_LE(rcUpdate.left, 51);
    EXPECT_GT(rcUpdate.right, 1000000);

    // The matrix on its own: an image without area holds no point, huge
    // corners saturate instead of wrapping.
    QVTGdiPlus::CGpMatrix matrix = QVTGdiPlus::CreateMatrix();
    QVTGdiPlus::GdipScaleMatrix(matrix, 0.0f, 1.0f, Gdiplus::MatrixOrderPrepend);
    CQVTMarkupGdiPlusTransformationMatrix flat(matrix.Detach());
    EXPECT_FALSE(flat.HitTest(RECT{0, 0, 10, 10}, POINT{0, 0}, POINT{0, 5}));
    matrix = QVTGdiPlus::CreateMatrix();
    QVTGdiPlus::GdipScaleMatrix(matrix, 1e30f, 1e30f, Gdiplus::MatrixOrderPrepend);
    CQVTMarkupGdiPlusTransformationMatrix huge(matrix.Detach());
    EXPECT_EQ(CRect(huge.GetBoundingRect(RECT{-1, 0, 10, 10}, POINT{0, 0})),
              CRect(-2147483647, 0, 2147483647, 2147483647));
    EXPECT_TRUE(huge.HitTest(RECT{0, 0, 10, 10}, POINT{0, 0}, POINT{5, 5}));
}
