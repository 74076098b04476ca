// Thickness, points, point lists, brushes and the context's shared fonts.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupPoint.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
CString Sides(LPCWSTR lpszText)
{
    CQVTMarkupThickness* pThickness = ConvertText<CQVTMarkupThickness>(lpszText);
    if (pThickness == nullptr)
        return u"none";
    CString str;
    str.Format(u"%d,%d,%d,%d", pThickness->left, pThickness->top, pThickness->right, pThickness->bottom);
    pThickness->InternalRelease();
    return str;
}
}  // namespace

TEST(MarkupThickness, TextFormsAndUnits)
{
    EXPECT_EQ(Sides(u"1, 2, 3, 4"), CString(u"1,2,3,4"));
    EXPECT_EQ(Sides(u"1,2,3,4"), CString(u"1,2,3,4"));
    EXPECT_EQ(Sides(u"2"), CString(u"2,2,2,2"));
    EXPECT_EQ(Sides(u"1,2"), CString(u"none"));
    EXPECT_EQ(Sides(u"1 ,2,3,4"), CString(u"none"));
    EXPECT_EQ(Sides(u"1pt"), CString(u"1,1,1,1"));
    EXPECT_EQ(Sides(u"3pt, 6pt, 9pt, 12pt"), CString(u"4,8,12,16"));
    EXPECT_EQ(Sides(u"1in,1cm,10mm,0in"), CString(u"none"));
    EXPECT_EQ(Sides(u"1in, 2in, 3in, 4in"), CString(u"96,192,288,384"));
    EXPECT_EQ(Sides(u"x"), CString(u"0,0,0,0"));
    // Huge numbers with units saturate rather than wrap.
    EXPECT_EQ(Sides(u"99999999999999999in"), CString(u"2147483647,2147483647,2147483647,2147483647"));
    EXPECT_EQ(Sides(u"-4000000000in, 1, 2, 3"), CString(u"none"));
    EXPECT_EQ(Sides(u"-40000000in, -1in, 2in, 3in"), CString(u"-2147483648,-96,192,288"));
}

TEST(MarkupThickness, DeflatesAndComparesAndIsScriptable)
{
    CQVTMarkupThickness thickness(2, 3, 4, 5);
    const RECT rc = {10, 10, 30, 20};
    const RECT rcInner = CQVTMarkupThickness::Deflate(rc, &thickness);
    EXPECT_EQ(rcInner.left, 12);
    EXPECT_EQ(rcInner.top, 13);
    EXPECT_EQ(rcInner.right, 26);
    EXPECT_EQ(rcInner.bottom, 15);
    const RECT rcTiny = {0, 0, 3, 3};
    const RECT rcNone = CQVTMarkupThickness::Deflate(rcTiny, &thickness);
    EXPECT_EQ(rcNone.right, rcNone.left);
    EXPECT_EQ(rcNone.bottom, rcNone.top);
    const RECT rcSame = CQVTMarkupThickness::Deflate(rc, nullptr);
    EXPECT_TRUE(::EqualRect(&rcSame, &rc));

    CQVTMarkupThickness other(2, 3, 4, 5);
    EXPECT_TRUE(thickness.IsEqual(&other));
    other.bottom = 6;
    EXPECT_FALSE(thickness.IsEqual(&other));

    CQVTMarkupThickness* pScripted = new CQVTMarkupThickness(1, 2, 3, 4);
    IDispatch* pDispatch = pScripted->GetIDispatch(FALSE);
    LPOLESTR pszName = const_cast<LPOLESTR>(u"Bottom");
    DISPID dispid = 0;
    ASSERT_EQ(pDispatch->GetIDsOfNames(IID_NULL, &pszName, 1, 0, &dispid), S_OK);
    EXPECT_EQ(dispid, 103);
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = 42;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &put, 1, 1};
    EXPECT_EQ(pDispatch->Invoke(100, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(pScripted->left, 42);
    pScripted->InternalRelease();
}

TEST(MarkupPoints, PointsAndListsReadNumbersStrictly)
{
    CQVTMarkupPoint* pPoint = ConvertText<CQVTMarkupPoint>(u"1.5, -2");
    ASSERT_NE(pPoint, nullptr);
    EXPECT_DOUBLE_EQ(pPoint->x, 1.5);
    EXPECT_DOUBLE_EQ(pPoint->y, -2.0);
    pPoint->InternalRelease();
    EXPECT_EQ(ConvertText<CQVTMarkupPoint>(u"1.5"), nullptr);
    EXPECT_EQ(ConvertText<CQVTMarkupPoint>(u"1.5,"), nullptr);
    EXPECT_EQ(ConvertText<CQVTMarkupPoint>(u"1e2,3"), nullptr);

    CQVTMarkupPointCollection* pOne = ConvertText<CQVTMarkupPointCollection>(u"1.5,2.5");
    ASSERT_NE(pOne, nullptr);
    ASSERT_EQ(pOne->GetPoints().size(), 1u);
    EXPECT_FLOAT_EQ(pOne->GetPoints()[0].Y, 2.5f);
    pOne->InternalRelease();
    CQVTMarkupPointCollection* pCommas = ConvertText<CQVTMarkupPointCollection>(u"0,0 10,0 10,10");
    CQVTMarkupPointCollection* pSpaces = ConvertText<CQVTMarkupPointCollection>(u"0 0 10 0 10 10");
    ASSERT_NE(pCommas, nullptr);
    ASSERT_NE(pSpaces, nullptr);
    ASSERT_EQ(pCommas->GetPoints().size(), 3u);
    ASSERT_EQ(pSpaces->GetPoints().size(), 3u);
    EXPECT_FLOAT_EQ(pSpaces->GetPoints()[2].X, 10.0f);
    EXPECT_EQ(pCommas->GetBounds().right, 10);
    pCommas->InternalRelease();
    pSpaces->InternalRelease();
    for (LPCWSTR lpszBad : {u"1.5.5,2", u"1,,2", u"1,2 3", u"-,1", u"+1,2"})
        EXPECT_EQ(ConvertText<CQVTMarkupPointCollection>(lpszBad), nullptr) << CStringA(lpszBad).GetString();
    CQVTMarkupPointCollection* pEmpty = ConvertText<CQVTMarkupPointCollection>(u"");
    ASSERT_NE(pEmpty, nullptr);
    EXPECT_TRUE(pEmpty->GetPoints().empty());
    pEmpty->InternalRelease();
}

TEST(MarkupPoints, StretchingAVerticalLineScalesOnlyY)
{
    const Gdiplus::PointF points[] = {Gdiplus::PointF(5, 10), Gdiplus::PointF(5, 30)};
    CQVTMarkupPointCollection* pLine = new CQVTMarkupPointCollection(points, 2);
    std::vector<Gdiplus::PointF> stretched;
    pLine->GetStretchedPoints(stretched, SIZE{100, 40});
    ASSERT_EQ(stretched.size(), 2u);
    EXPECT_FLOAT_EQ(stretched[0].X, 5.0f);
    EXPECT_FLOAT_EQ(stretched[1].X, 5.0f);
    EXPECT_FLOAT_EQ(stretched[0].Y, 0.0f);
    EXPECT_FLOAT_EQ(stretched[1].Y, 40.0f);
    pLine->InternalRelease();
}

TEST(MarkupBrushes, ColoursComparisonAndScripting)
{
    CContextHolder context;
    CQVTMarkupSolidColorBrush* pOpaque = new CQVTMarkupSolidColorBrush(0xFF, RGB(255, 0, 0));
    CQVTMarkupSolidColorBrush* pHalf = new CQVTMarkupSolidColorBrush(0x80, RGB(255, 0, 0));
    EXPECT_TRUE(pOpaque->IsEqual(pHalf));
    EXPECT_EQ(pHalf->GetColor(), 0x800000FFu);
    EXPECT_EQ(pHalf->GetColorRef(), RGB(255, 0, 0));

    // Text converts through any brush prototype into a solid brush.
    CQVTMarkupBrush* pBrush = ConvertText<CQVTMarkupBrush>(u"#80FF0000");
    ASSERT_NE(pBrush, nullptr);
    CQVTMarkupSolidColorBrush* pSolid = MarkupCast<CQVTMarkupSolidColorBrush>(pBrush);
    ASSERT_NE(pSolid, nullptr);
    EXPECT_EQ(pSolid->GetColor(), 0x800000FFu);
    pBrush->InternalRelease();
    EXPECT_EQ(ConvertText<CQVTMarkupBrush>(u"Reddish"), nullptr);

    CQVTMarkupLinearGradientBrush* pGradient = new CQVTMarkupLinearGradientBrush();
    EXPECT_EQ(pGradient->GetColorRef(), 0u);
    EXPECT_EQ(pGradient->GetGradientStops()->GetCount(), 0);
    pGradient->InternalRelease();

    // A top byte of 0 written by a script means opaque.
    IDispatch* pDispatch = pHalf->GetIDispatch(FALSE);
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = 0x0000FF00;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &put, 1, 1};
    EXPECT_EQ(pDispatch->Invoke(100, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(pHalf->GetColor(), 0xFF00FF00u);
    pOpaque->InternalRelease();
    pHalf->InternalRelease();
}

TEST(MarkupFonts, TheContextSharesEqualFontsAndForgetsReleasedOnes)
{
    CContextHolder context;
    LOGFONT lf = context->GetDefaultFont();
    lf.lfHeight = -13;
    CQVTMarkupFont* pFirst = context->GetFont(&lf);
    lf.lfWidth = 7;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    CQVTMarkupFont* pSame = context->GetFont(&lf);
    EXPECT_EQ(pFirst, pSame);
    ASSERT_NE(pFirst->GetFontHandle(), nullptr);
    lf.lfWeight = FW_BOLD;
    CQVTMarkupFont* pBold = context->GetFont(&lf);
    EXPECT_NE(pBold, pFirst);
    lf.lfWeight = 0;
    _tcscpy_s(lf.lfFaceName, u"Courier New");
    CQVTMarkupFont* pOtherFace = context->GetFont(&lf);
    EXPECT_NE(pOtherFace, pFirst);

    // Released from the middle and the tail of the cache: a new request
    // finds the survivors and links a new font behind them.
    pBold->InternalRelease();
    pOtherFace->InternalRelease();
    lf.lfWeight = FW_BOLD;
    CQVTMarkupFont* pBoldAgain = context->GetFont(&lf);
    ASSERT_NE(pBoldAgain, nullptr);
    EXPECT_EQ(pBoldAgain->GetLogFont().lfWeight, FW_BOLD);
    lf = context->GetDefaultFont();
    lf.lfHeight = -13;
    EXPECT_EQ(context->GetFont(&lf), pFirst);
    pFirst->InternalRelease();
    pBoldAgain->InternalRelease();
    pFirst->InternalRelease();
    pSame->InternalRelease();
}
