// Value primitives: texts and their comparisons, numbers, booleans, colours
// with every name, number lists, and the number list's automation face.
#include "tests/toolkit/markup/support/markup_test_support.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupDoubleCollection.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
// The colour a text gives, or 0x12345678 when it is no colour.
DWORD ColorOf(LPCWSTR lpszText)
{
    DWORD dwValue = 0;
    return CQVTMarkupColor::ParseColor(lpszText, dwValue) ? dwValue : 0x12345678;
}

std::vector<float> ListOf(LPCWSTR lpszText, bool* pOk = nullptr)
{
    std::vector<float> values;
    const BOOL bOk = CQVTMarkupDoubleCollection::ParseList(lpszText, values);
    if (pOk != nullptr)
        *pOk = bOk != FALSE;
    return values;
}

HRESULT Invoke(IDispatch* pDispatch, DISPID dispid, WORD wFlags, std::vector<VARIANT> args, VARIANT* pResult)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(),
                         wFlags == DISPATCH_PROPERTYPUT ? &put : nullptr, static_cast<UINT>(reversed.size()),
                         wFlags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO excep = {};
    UINT nArgErr = 0;
    if (pResult != nullptr)
        ::VariantInit(pResult);
    HRESULT hr = pDispatch->Invoke(dispid, IID_NULL, 0, wFlags, &params, pResult, &excep, &nArgErr);
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    return hr;
}

VARIANT I4(long n)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

VARIANT R8(double d)
{
    VARIANT v;
    v.vt = VT_R8;
    v.dblVal = d;
    return v;
}
}  // namespace

TEST(MarkupString, ValuesHashesAndComparisons)
{
    CQVTMarkupString* pSpace = CQVTMarkupString::CreateValue(u" ");
    CQVTMarkupString* pEmpty = CQVTMarkupString::CreateValue(u"abc", 0);
    CQVTMarkupString* pPrefix = CQVTMarkupString::CreateValue(u"abcdef", 3);
    EXPECT_EQ(CString(pSpace->GetText()), CString(u" "));
    EXPECT_EQ(pEmpty->GetLength(), 0);
    EXPECT_EQ(pEmpty->GetHashCode(), 0u);
    EXPECT_EQ(CString(pPrefix->GetText()), CString(u"abc"));

    CQVTMarkupString* pUpper = CQVTMarkupString::CreateValue(u"Hello");
    CQVTMarkupString* pLower = CQVTMarkupString::CreateValue(u"hello");
    CQVTMarkupString* pSame = CQVTMarkupString::CreateValue(u"Hello");
    EXPECT_TRUE(pUpper->IsEqualNoCase(pLower));
    EXPECT_FALSE(pUpper->IsEqual(pLower));
    EXPECT_TRUE(pUpper->IsEqual(pSame));
    EXPECT_EQ(pUpper->GetHashCode(), pSame->GetHashCode());
    // Strings and numbers never compare equal.
    CQVTMarkupInt* pNumber = new CQVTMarkupInt(5);
    EXPECT_FALSE(pUpper->IsEqual(pNumber));
    EXPECT_TRUE(pUpper->IsEqualNoCase(&QVTMarkupKeyword::Auto) == FALSE);
    EXPECT_TRUE(pLower->IsEqualNoCase(CQVTMarkupString::CreateValue(u"HELLO")));
    for (CQVTMarkupObject* p :
         std::initializer_list<CQVTMarkupObject*>{pSpace, pEmpty, pPrefix, pUpper, pLower, pSame, pNumber})
        p->InternalRelease();
}

// Keywords compare without case: plain letters and digits by their folded
// forms, anything else as the platform compares it.
TEST(MarkupString, KeywordsCompareWithoutCase)
{
    CQVTMarkupString* pAuto = CQVTMarkupString::CreateValue(u"aUTo");
    EXPECT_TRUE(pAuto->IsEqualNoCase(u"Auto"));
    EXPECT_TRUE(pAuto->IsEqualNoCase(u"AUTO"));
    EXPECT_FALSE(pAuto->IsEqualNoCase(u"Aut"));
    EXPECT_FALSE(pAuto->IsEqualNoCase(u"Autos"));
    EXPECT_FALSE(pAuto->IsEqualNoCase(u"Au1o"));
    EXPECT_FALSE(pAuto->IsEqualNoCase(u"Au-to"));
    EXPECT_FALSE(pAuto->IsEqualNoCase(u""));
    EXPECT_FALSE(pAuto->IsEqualNoCase(nullptr));
    CQVTMarkupString* pDigits = CQVTMarkupString::CreateValue(u"x64");
    EXPECT_TRUE(pDigits->IsEqualNoCase(u"X64"));
    EXPECT_FALSE(pDigits->IsEqualNoCase(u"X6D"));
    // Beyond plain letters the platform decides: accented capitals fold.
    CQVTMarkupString* pAccented = CQVTMarkupString::CreateValue(u"\u00C9t\u00C9");
    EXPECT_TRUE(pAccented->IsEqualNoCase(u"\u00E9t\u00E9"));
    EXPECT_FALSE(pAccented->IsEqualNoCase(u"ete"));
    CQVTMarkupString* pSpaced = CQVTMarkupString::CreateValue(u"Top Left");
    EXPECT_TRUE(pSpaced->IsEqualNoCase(u"top left"));
    EXPECT_FALSE(pSpaced->IsEqualNoCase(u"topleft"));
    // Taken over instead of copied; an empty text makes an empty value.
    CString strText(u"moved");
    CQVTMarkupString* pMoved = CQVTMarkupString::CreateValue(std::move(strText));
    EXPECT_EQ(CString(pMoved->GetText()), CString(u"moved"));
    CQVTMarkupString* pNone = CQVTMarkupString::CreateValue(CString());
    EXPECT_EQ(pNone->GetLength(), 0);
    for (CQVTMarkupObject* p :
         std::initializer_list<CQVTMarkupObject*>{pAuto, pDigits, pAccented, pSpaced, pMoved, pNone})
        p->InternalRelease();
}

TEST(MarkupNumbers, WholeAndRealNumbersFollowTheLanguage)
{
    EXPECT_EQ(CQVTMarkupBuilder::ReadWholeNumber(u"12px"), 12);
    EXPECT_EQ(CQVTMarkupBuilder::ReadWholeNumber(u"  -7x"), -7);
    EXPECT_EQ(CQVTMarkupBuilder::ReadWholeNumber(u"px"), 0);
    EXPECT_EQ(CQVTMarkupBuilder::ReadWholeNumber(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(CQVTMarkupBuilder::ReadWholeNumber(u"-99999999999999999999"), INT_MIN);

    double d = 0;
    EXPECT_TRUE(CQVTMarkupBuilder::ReadNumber(u" +1.5 ", d));
    EXPECT_DOUBLE_EQ(d, 1.5);
    EXPECT_TRUE(CQVTMarkupBuilder::ReadNumber(u"-.25", d));
    EXPECT_DOUBLE_EQ(d, -0.25);
    for (LPCWSTR lpszBad : {u"1e3", u"1..5", u"abc", u".", u"-", u"", u"1.5x", u"1 2"})
        EXPECT_FALSE(CQVTMarkupBuilder::ReadNumber(lpszBad, d)) << CStringA(lpszBad).GetString();

    CQVTMarkupObject* pInt = ConvertText<CQVTMarkupInt>(u"12px");
    ASSERT_NE(pInt, nullptr);
    EXPECT_EQ(static_cast<CQVTMarkupInt*>(pInt)->GetValue(), 12);
    pInt->InternalRelease();
    EXPECT_EQ(ConvertText<CQVTMarkupDouble>(u"ten"), nullptr);
}

TEST(MarkupNumbers, LengthUnitsSaturateInsteadOfOverflowing)
{
    struct
    {
        LPCWSTR lpszText;
        int nPixels;
    } const cases[] = {{u"0pt", 0},
                       {u"2in", 192},
                       {u"1cm", 37},
                       {u"10mm", 37},
                       {u"3pt", 4},
                       {u"12.5pt", 16},
                       {u"-3pt", -4},
                       {u"1PT", 1},
                       {u"7", 7},
                       {u"abc", 0},
                       {u"40in", 3840},
                       {u"2147483647in", INT_MAX},
                       {u"-2147483647in", INT_MIN},
                       {u"99999999999999cm", INT_MAX},
                       {u"30000000pt", 40000000}};
    for (const auto& c : cases)
    {
        LPCWSTR lpszUnit = CQVTMarkupBuilder::GetLengthUnit(c.lpszText);
        EXPECT_EQ(
            CQVTMarkupBuilder::ApplyLengthUnit(CQVTMarkupBuilder::ReadWholeNumber(c.lpszText), lpszUnit),
            c.nPixels)
            << CStringA(c.lpszText).GetString();
    }
}

TEST(MarkupBool, OnlyTheTwoKeywordsConvert)
{
    for (LPCWSTR lpszTrue : {u"True", u"true", u"TRUE"})
    {
        CQVTMarkupObject* pValue = ConvertText<CQVTMarkupBool>(lpszTrue);
        ASSERT_NE(pValue, nullptr);
        EXPECT_TRUE(static_cast<CQVTMarkupBool*>(pValue)->GetValue());
        pValue->InternalRelease();
    }
    CQVTMarkupObject* pFalse = ConvertText<CQVTMarkupBool>(u"false");
    ASSERT_NE(pFalse, nullptr);
    EXPECT_FALSE(static_cast<CQVTMarkupBool*>(pFalse)->GetValue());
    pFalse->InternalRelease();
    EXPECT_EQ(ConvertText<CQVTMarkupBool>(u"1"), nullptr);
    EXPECT_EQ(ConvertText<CQVTMarkupBool>(u"yes"), nullptr);
    // Fresh objects every time, equal by value.
    CQVTMarkupBool* pA = CQVTMarkupBool::CreateTrue();
    CQVTMarkupBool* pB = CQVTMarkupBool::CreateTrue();
    EXPECT_NE(pA, pB);
    EXPECT_TRUE(pA->IsEqual(pB));
    pA->InternalRelease();
    pB->InternalRelease();
}

TEST(MarkupColor, HexFormsAndAlpha)
{
    EXPECT_EQ(ColorOf(u"#FF0000"), 0xFF0000FFu);
    EXPECT_EQ(ColorOf(u"#80FF0000"), 0x800000FFu);
    EXPECT_EQ(ColorOf(u"#00ff00"), 0xFF00FF00u);
    EXPECT_EQ(ColorOf(u"#123456"), 0xFF563412u);
    for (LPCWSTR lpszBad : {u"#F00", u"#GG0000", u"#FF00000", u"#", u"#1 2345", u"#+12345"})
        EXPECT_EQ(ColorOf(lpszBad), 0x12345678u) << CStringA(lpszBad).GetString();
}

TEST(MarkupColor, AllNamesResolveCaseInsensitively)
{
    EXPECT_EQ(CQVTMarkupColor::GetColorNameCount(), 141);
    for (int i = 0; i < CQVTMarkupColor::GetColorNameCount(); ++i)
    {
        CString strName(CQVTMarkupColor::GetColorName(i));
        EXPECT_NE(ColorOf(strName), 0x12345678u) << CStringA(strName).GetString();
        EXPECT_EQ(ColorOf(strName.MakeLower()), ColorOf(CQVTMarkupColor::GetColorName(i)));
    }
    EXPECT_EQ(ColorOf(u"Red"), 0xFF0000FFu);
    EXPECT_EQ(ColorOf(u"CornflowerBlue"), 0xFFED9564u);
    EXPECT_EQ(ColorOf(u"transparent"), 0x00FFFFFFu);
    EXPECT_EQ(ColorOf(u"Aqua"), ColorOf(u"Cyan"));
    EXPECT_EQ(ColorOf(u"Fuchsia"), ColorOf(u"Magenta"));
    EXPECT_EQ(ColorOf(u"Grey"), 0x12345678u);
    EXPECT_EQ(ColorOf(u"DarkGrey"), 0x12345678u);
    EXPECT_EQ(ColorOf(u"Zebra"), 0x12345678u);
    EXPECT_EQ(ColorOf(u""), 0x12345678u);
}

TEST(MarkupDoubleCollection, ListsSeparatedByCommasOrSpaces)
{
    bool bOk = false;
    std::vector<float> values = ListOf(u"1.5,-2 .25", &bOk);
    EXPECT_TRUE(bOk);
    EXPECT_EQ(values, (std::vector<float>{1.5f, -2.0f, 0.25f}));
    EXPECT_EQ(ListOf(u"1,2, 3"), ListOf(u"1 2 3"));
    EXPECT_EQ(ListOf(u"1,2,", &bOk), (std::vector<float>{1.0f, 2.0f}));
    EXPECT_TRUE(bOk);
    EXPECT_TRUE(ListOf(u"", &bOk).empty());
    EXPECT_TRUE(bOk);
    for (LPCWSTR lpszBad : {u"1 ,2", u"1..5", u"1e3", u"-", u",1", u"1,,2", u"1;2"})
    {
        ListOf(lpszBad, &bOk);
        EXPECT_FALSE(bOk) << CStringA(lpszBad).GetString();
    }
}

TEST(MarkupDoubleCollection, AutomationReportsBadIndexesAsDispatchErrors)
{
    const float values[] = {1.0f, 2.5f};
    CQVTMarkupDoubleCollection* pList = new CQVTMarkupDoubleCollection(values, 2);
    IDispatch* pDispatch = pList->GetIDispatch(FALSE);
    VARIANT result;
    ASSERT_EQ(Invoke(pDispatch, 1, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.lVal, 2);
    ASSERT_EQ(Invoke(pDispatch, 0, DISPATCH_METHOD, {I4(1)}, &result), S_OK);
    EXPECT_DOUBLE_EQ(result.dblVal, 2.5);
    EXPECT_EQ(Invoke(pDispatch, 2, DISPATCH_METHOD, {R8(4.0)}, nullptr), S_OK);
    EXPECT_EQ(pList->GetCount(), 3);

    // The framework's invalid-argument exception must come back as an
    // error, never unwind into the caller.
    EXPECT_EQ(Invoke(pDispatch, 0, DISPATCH_METHOD, {I4(3)}, &result), DISP_E_EXCEPTION);
    EXPECT_EQ(Invoke(pDispatch, 0, DISPATCH_METHOD, {I4(-1)}, &result), DISP_E_EXCEPTION);
    EXPECT_EQ(Invoke(pDispatch, 5, DISPATCH_METHOD, {I4(7)}, nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(pList->GetCount(), 3);
    EXPECT_EQ(Invoke(pDispatch, 5, DISPATCH_METHOD, {I4(0)}, nullptr), S_OK);
    EXPECT_EQ(pList->GetValues(), (std::vector<float>{2.5f, 4.0f}));
    EXPECT_EQ(Invoke(pDispatch, 4, DISPATCH_METHOD, {}, nullptr), S_OK);
    EXPECT_EQ(pList->GetCount(), 0);
    pList->InternalRelease();
}
