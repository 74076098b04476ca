// Values written in markup are lengths at 96 DPI: a DPI-aware context scales
// them to the screen per axis, saturating where the scaled value no longer
// fits; a context that is not DPI-aware keeps them.
#include <cstdlib>

#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/panels/QVTMarkupGrid.h"
#include "toolkit/markup/shapes/QVTMarkupRectangle.h"
#include "toolkit/markup/shapes/QVTMarkupPath.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
int ScreenDpi()
{
    const char* pszExpected = std::getenv("SONDREL_EXPECTED_DPI");
    return pszExpected != nullptr ? std::atoi(pszExpected) : 96;
}

int Scaled(int n)
{
    return ::MulDiv(n, ScreenDpi(), 96);
}

int IntOf(CQVTMarkupObject* pObject, CQVTMarkupDependencyProperty* pProperty)
{
    CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(pObject->GetValue(pProperty));
    return pValue != nullptr ? pValue->GetValue() : -1;
}

const WCHAR kBody[] =
    u"<TestElement x:Name='e' Width='10' Height='3pt' MinWidth='Auto' MaxWidth='2000000000' "
    u"Margin='2,4,6,8' Spot='10,20.5' Level='10'/>";
}  // namespace

TEST(MarkupDpi, ADpiAwareContextScalesLengthsThicknessAndPoints)
{
    CContextHolder context;
    context->SetDpiAware(TRUE, nullptr);
    CTreeHolder root(BuildMarkup(context, PanelMarkup(kBody)));
    CQVTMarkupObject* pElement = root.Find<CQVTMarkupObject>(u"e");
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pWidthProperty), Scaled(10));
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pHeightProperty), Scaled(4));
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pMinWidthProperty), 2147483647);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pMaxWidthProperty),
              ScreenDpi() > 96 ? 2147483647 : 2000000000);
    // Properties that are no lengths stay as written.
    EXPECT_EQ(IntOf(pElement, CTestElement::m_pLevelProperty), 10);

    CQVTMarkupThickness* pMargin =
        MarkupCast<CQVTMarkupThickness>(pElement->GetValue(CQVTMarkupFrameworkElement::m_pMarginProperty));
    ASSERT_NE(pMargin, nullptr);
    EXPECT_EQ(pMargin->left, Scaled(2));
    EXPECT_EQ(pMargin->top, Scaled(4));
    EXPECT_EQ(pMargin->right, Scaled(6));
    EXPECT_EQ(pMargin->bottom, Scaled(8));

    CQVTMarkupPoint* pSpot = MarkupCast<CQVTMarkupPoint>(pElement->GetValue(CTestElement::m_pSpotProperty));
    ASSERT_NE(pSpot, nullptr);
    EXPECT_DOUBLE_EQ(pSpot->x, 10.0 * ScreenDpi() / 96);
    EXPECT_DOUBLE_EQ(pSpot->y, 20.5 * ScreenDpi() / 96);

    // Point lists scale every coordinate.
    CQVTMarkupObject* pText = CreateTextValue(u"10,20 -4,0");
    CQVTMarkupPointCollection* pPrototype = static_cast<CQVTMarkupPointCollection*>(
        context->CreateMarkupObject(CQVTMarkupPointCollection::GetMarkupType()));
    CQVTMarkupPointCollection* pPoints =
        static_cast<CQVTMarkupPointCollection*>(pPrototype->ConvertFrom(nullptr, pText));
    ASSERT_NE(pPoints, nullptr);
    ASSERT_EQ(pPoints->GetPoints().size(), 2u);
    EXPECT_FLOAT_EQ(pPoints->GetPoints()[0].X, 10.0f * ScreenDpi() / 96);
    EXPECT_FLOAT_EQ(pPoints->GetPoints()[1].X, -4.0f * ScreenDpi() / 96);
    pPoints->InternalRelease();
    pPrototype->InternalRelease();
    pText->InternalRelease();

    // Laid out, the scaled lengths are the element's size.
    CQVTMarkupFrameworkElement* pLaid = root.Find<CQVTMarkupFrameworkElement>(u"e");
    CQVTMarkupDrawingContext dc(context);
    pLaid->Measure(&dc, SIZE{1000, 1000});
    EXPECT_EQ(pLaid->GetDesiredSize().cx, Scaled(10) + Scaled(2) + Scaled(6));
    EXPECT_EQ(pLaid->GetDesiredSize().cy, Scaled(4) + Scaled(4) + Scaled(8));
}

TEST(MarkupDpi, AContextThatIsNotDpiAwareKeepsWhatIsWritten)
{
    CContextHolder context;
    CTreeHolder root(BuildMarkup(context, PanelMarkup(kBody)));
    CQVTMarkupObject* pElement = root.Find<CQVTMarkupObject>(u"e");
    ASSERT_NE(pElement, nullptr);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pWidthProperty), 10);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pHeightProperty), 4);
    EXPECT_EQ(IntOf(pElement, CQVTMarkupFrameworkElement::m_pMaxWidthProperty), 2000000000);
    CQVTMarkupThickness* pMargin =
        MarkupCast<CQVTMarkupThickness>(pElement->GetValue(CQVTMarkupFrameworkElement::m_pMarginProperty));
    ASSERT_NE(pMargin, nullptr);
    EXPECT_EQ(pMargin->bottom, 8);
    EXPECT_EQ(context->ScaleX(7), 7);
}

TEST(MarkupDpi, PathCoordinatesAndShapeLengthsScaleWithTheScreen)
{
    CContextHolder context;
    context->SetDpiAware(TRUE, nullptr);
    CTreeHolder root(BuildMarkup(context, PanelMarkup(u"<Path x:Name='p' Data='M 0 0 L 10 20' "
                                                      u"StrokeThickness='2'/>")));
    CQVTMarkupPath* pPath = root.Find<CQVTMarkupPath>(u"p");
    ASSERT_NE(pPath, nullptr);
    CQVTMarkupPathData* pData = pPath->GetData();
    ASSERT_NE(pData, nullptr);
    ASSERT_EQ(pData->GetCount(), 2);
    EXPECT_FLOAT_EQ(pData->GetPoints()[1].x, 10.0f * ScreenDpi() / 96);
    EXPECT_FLOAT_EQ(pData->GetPoints()[1].y, 20.0f * ScreenDpi() / 96);
    EXPECT_EQ(pPath->GetStrokeThickness(), Scaled(2));

    // Values of one type convert with their own property's scaling, whatever
    // was converted before them.
    CTreeHolder shapes(BuildMarkup(
        context,
        PanelMarkup(u"<Rectangle x:Name='r' Grid.Row='3' RadiusX='10' RadiusY='4' Grid.Column='5'/>")));
    CQVTMarkupObject* pRectangle = shapes.Find<CQVTMarkupObject>(u"r");
    ASSERT_NE(pRectangle, nullptr);
    EXPECT_EQ(IntOf(pRectangle, CQVTMarkupGrid::m_pRowProperty), 3);
    EXPECT_EQ(IntOf(pRectangle, CQVTMarkupRectangle::m_pRadiusXProperty), Scaled(10));
    EXPECT_EQ(IntOf(pRectangle, CQVTMarkupRectangle::m_pRadiusYProperty), Scaled(4));
    EXPECT_EQ(IntOf(pRectangle, CQVTMarkupGrid::m_pColumnProperty), 5);
}
