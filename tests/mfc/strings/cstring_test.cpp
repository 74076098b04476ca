// CString and CStringA as MFC code uses them.
#include <afx.h>
#include <string>
#include "strings_resource.h"
#include "mfc_exception_checks.h"
#include "sondrel_gtest.h"

namespace {
std::u16string U(const CString& s)
{
    return std::u16string(s.GetString(), size_t(s.GetLength()));
}
}  // namespace

TEST(CStringTest, ConstructionAssignmentAndConcatenation)
{
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.GetString()[0], 0);
    CString s(_T("abc"));
    CString part(_T("abcdef"), 4);
    CString run(u'x', 3);
    CString fromNarrow("narrow");
    EXPECT_EQ(U(part), u"abcd");
    EXPECT_EQ(U(run), u"xxx");
    EXPECT_EQ(U(fromNarrow), u"narrow");
    EXPECT_EQ(U(CString(u'a', 0)), u"");

    CString t = s + _T("-") + u'd' + 'e' + CString(_T("f")) + "g";
    EXPECT_EQ(U(t), u"abc-defg");
    EXPECT_EQ(U(_T(">") + s), u">abc");
    t = _T("x");
    t += s;
    t += u'!';
    t += "n";
    EXPECT_EQ(U(t), u"xabc!n");
    t = t;  // self-assignment keeps the text
    EXPECT_EQ(U(t), u"xabc!n");
    t += t;  // appending itself
    EXPECT_EQ(U(t), u"xabc!nxabc!n");
    CString moved(std::move(t));
    EXPECT_EQ(moved.GetLength(), 12);
    t = moved.GetString() + 6;  // assigning from its own buffer's tail
    moved = moved.GetString() + 6;
    EXPECT_EQ(U(moved), u"xabc!n");
    moved.Empty();
    EXPECT_TRUE(moved.IsEmpty());

    LPCTSTR p = s;  // implicit conversion, as Win32 calls take it
    EXPECT_EQ(_tcslen(p), 3u);
    EXPECT_EQ(s.GetAt(1), u'b');
    EXPECT_EQ(s[2], u'c');
    s.SetAt(0, u'A');
    EXPECT_EQ(U(s), u"Abc");
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.SetAt(3, u'x'); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.GetAt(-1); }));
}

TEST(CStringTest, ComparisonsAndCase)
{
    CString a(_T("apple")), b(_T("Banana"));
    EXPECT_TRUE(a == _T("apple"));
    EXPECT_TRUE(_T("apple") == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(b < a);  // code unit order: 'B' < 'a'
    EXPECT_LT(a.CompareNoCase(b), 0);
    EXPECT_EQ(CString(_T("\u00c9t\u00e9")).CompareNoCase(_T("\u00e9T\u00c9")), 0);
    EXPECT_LT(a.Collate(_T("banana")), 0);
    EXPECT_EQ(a.CollateNoCase(_T("APPLE")), 0);
    EXPECT_GT(a.Compare(_T("app")), 0);
    EXPECT_TRUE(CString(_T("x")) == u'x');

    CString mixed(_T("Stra\u00dfe \u00e4BC"));
    EXPECT_EQ(U(CString(mixed).MakeUpper()), u"STRA\u00dfE \u00c4BC");
    EXPECT_EQ(U(mixed.MakeLower()), u"stra\u00dfe \u00e4bc");
    EXPECT_EQ(U(CString(_T("ab\U0001D11Ec")).MakeReverse()), u"c\U0001D11Eba");
}

TEST(CStringTest, SearchingAndExtractionClampLikeMfc)
{
    CString s(_T("one,two;three,two"));
    EXPECT_EQ(s.Find(u','), 3);
    EXPECT_EQ(s.Find(u',', 4), 13);
    EXPECT_EQ(s.Find(_T("two")), 4);
    EXPECT_EQ(s.Find(_T("two"), 5), 14);
    EXPECT_EQ(s.Find(_T("four")), -1);
    EXPECT_EQ(s.Find(u'o', 100), -1);
    EXPECT_EQ(s.Find(u'o', -1), -1);
    EXPECT_EQ(s.ReverseFind(u','), 13);
    EXPECT_EQ(s.ReverseFind(u'x'), -1);
    EXPECT_EQ(s.FindOneOf(_T(";,")), 3);
    EXPECT_EQ(s.FindOneOf(_T("xyz")), -1);

    EXPECT_EQ(U(s.Mid(4)), u"two;three,two");
    EXPECT_EQ(U(s.Mid(4, 3)), u"two");
    EXPECT_EQ(U(s.Mid(-2, 3)), u"one");
    EXPECT_EQ(U(s.Mid(15, 10)), u"wo");
    EXPECT_EQ(U(s.Mid(50)), u"");
    EXPECT_EQ(U(s.Mid(2, -1)), u"");
    EXPECT_EQ(U(s.Left(3)), u"one");
    EXPECT_EQ(U(s.Left(-1)), u"");
    EXPECT_EQ(U(s.Left(100)), U(s));
    EXPECT_EQ(U(s.Right(3)), u"two");
    EXPECT_EQ(U(s.Right(100)), U(s));
    EXPECT_EQ(U(s.SpanIncluding(_T("eno"))), u"one");
    EXPECT_EQ(U(s.SpanExcluding(_T(";"))), u"one,two");
}

TEST(CStringTest, EditingFunctionsReturnMfcCounts)
{
    CString s(_T("a-b-c"));
    EXPECT_EQ(s.Replace(u'-', u'+'), 2);
    EXPECT_EQ(U(s), u"a+b+c");
    EXPECT_EQ(s.Replace(_T("+"), _T("<->")), 2);
    EXPECT_EQ(U(s), u"a<->b<->c");
    EXPECT_EQ(s.Replace(_T("<->"), nullptr), 2);
    EXPECT_EQ(U(s), u"abc");
    EXPECT_EQ(s.Replace(_T(""), _T("x")), 0);
    CString aaa(_T("aaaa"));
    EXPECT_EQ(aaa.Replace(_T("aa"), _T("a")), 2);  // left to right, no overlaps
    EXPECT_EQ(U(aaa), u"aa");

    CString r(_T("banana"));
    EXPECT_EQ(r.Remove(u'a'), 3);
    EXPECT_EQ(U(r), u"bnn");
    EXPECT_EQ(r.Insert(1, u'a'), 4);
    EXPECT_EQ(r.Insert(100, _T("!")), 5);
    EXPECT_EQ(r.Insert(-5, _T("<")), 6);
    EXPECT_EQ(U(r), u"<bann!");
    EXPECT_EQ(r.Insert(0, r), 12);  // inserting itself
    EXPECT_EQ(U(r), u"<bann!<bann!");
    EXPECT_EQ(r.Delete(0, 6), 6);
    EXPECT_EQ(r.Delete(4, 100), 4);
    EXPECT_EQ(r.Delete(10), 4);
    EXPECT_EQ(U(r), u"<ban");

    CString t(_T(" \t padded \r\n"));
    EXPECT_EQ(U(CString(t).TrimLeft()), u"padded \r\n");
    EXPECT_EQ(U(CString(t).TrimRight()), u" \t padded");
    EXPECT_EQ(U(t.Trim()), u"padded");
    EXPECT_EQ(U(CString(_T("xxaxx")).Trim(u'x')), u"a");
    EXPECT_EQ(U(CString(_T("-=a=-")).TrimLeft(_T("-="))), u"a=-");
    EXPECT_EQ(U(CString(_T("-=a=-")).TrimRight(_T("=-"))), u"-=a");
    EXPECT_EQ(U(CString(_T("\u3000ideographic\u3000")).Trim()), u"ideographic");
    EXPECT_EQ(U(CString(_T("    ")).Trim()), u"");
}

TEST(CStringTest, TokenizeWalksAndEnds)
{
    CString s(_T(";;alpha;beta,,gamma;"));
    int pos = 0;
    std::u16string seen;
    for (CString tok = s.Tokenize(_T(";,"), pos); pos != -1; tok = s.Tokenize(_T(";,"), pos))
        seen += U(tok) + u"|";
    EXPECT_EQ(seen, u"alpha|beta|gamma|");

    // With no delimiters the rest comes back once, then the walk ends.
    pos = 2;
    EXPECT_EQ(U(s.Tokenize(_T(""), pos)), u"alpha;beta,,gamma;");
    EXPECT_NE(pos, -1);
    EXPECT_EQ(U(s.Tokenize(_T(""), pos)), u"");
    EXPECT_EQ(pos, -1);

    CString field;
    EXPECT_TRUE(AfxExtractSubString(field, _T("a\nbb\n\nd"), 1));
    EXPECT_EQ(U(field), u"bb");
    EXPECT_TRUE(AfxExtractSubString(field, _T("a\nbb\n\nd"), 2));
    EXPECT_EQ(U(field), u"");
    EXPECT_TRUE(AfxExtractSubString(field, _T("a,b"), 1, u','));
    EXPECT_EQ(U(field), u"b");
    EXPECT_FALSE(AfxExtractSubString(field, _T("a,b"), 2, u','));
    EXPECT_TRUE(field.IsEmpty());
}

TEST(CStringTest, FormatTakesStringObjectsDirectly)
{
    CString name(_T("Take \u00e9"));
    CStringA narrow("ansi");
    CString s;
    s.Format(_T("%s|%S|%d|%5.1f|%I64d"), name, narrow, -3, 2.25, (__int64)1 << 40);
    EXPECT_EQ(U(s), u"Take \u00e9|ansi|-3|  2.2|1099511627776");
    s.AppendFormat(_T("+%s"), name);
    EXPECT_EQ(U(s.Right(7)), u"+Take \u00e9");
    CString big;
    big.Format(_T("%s%s"), CString(u'x', 5000).GetString(), _T("end"));
    EXPECT_EQ(big.GetLength(), 5003);
    EXPECT_EQ(U(big.Right(3)), u"end");
    s.Format(_T("bad %n"), nullptr);
    EXPECT_TRUE(s.IsEmpty());

    CStringA a;
    a.Format("%s=%S %03d", narrow, name.Left(4), 7);
    EXPECT_STREQ(a, "ansi=Take 007");

    CString msg;
    msg.FormatMessage(_T("%2 then %1!d!, %3"), 42, _T("first"), name);
    EXPECT_EQ(U(msg), u"first then 42, Take \u00e9");
}

namespace {
CString MessageV(LPCTSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatMessageV(format, &args);
    va_end(args);
    return s;
}
}  // namespace

TEST(CStringTest, FormatMessageVReadsItsInserts)
{
    EXPECT_EQ(U(MessageV(_T("%3|%1|%2!x!|%%"), _T("a"), 255, _T("c"))), u"c|a|ff|%");
    EXPECT_EQ(U(MessageV(_T("no inserts"))), u"no inserts");
}

TEST(CStringTest, BufferAccessKeepsLengthsRight)
{
    CString path;
    LPTSTR buf = path.GetBuffer(MAX_PATH);
    DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    path.ReleaseBuffer();
    EXPECT_EQ(path.GetLength(), int(n));
    EXPECT_GT(n, 0u);

    CString s(_T("abc"));
    LPTSTR p = s.GetBuffer(10);
    EXPECT_EQ(std::u16string(p), u"abc");  // the old text is kept
    p[3] = u'd';
    p[4] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(U(s), u"abcd");
    p = s.GetBuffer();
    p[1] = u'X';
    s.ReleaseBuffer(2);
    EXPECT_EQ(U(s), u"aX");
    p = s.GetBufferSetLength(5);
    p[2] = p[3] = p[4] = u'z';
    s.ReleaseBufferSetLength(5);
    EXPECT_EQ(U(s), u"aXzzz");
    s.Preallocate(1000);
    EXPECT_GE(s.GetAllocLength(), 1000);
    EXPECT_EQ(U(s), u"aXzzz");
    s.FreeExtra();
    EXPECT_EQ(U(s), u"aXzzz");
    s.Truncate(2);
    EXPECT_EQ(U(s), u"aX");
    CString e;
    LPTSTR ep = e.GetBuffer(0);
    ep[0] = 0;
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
    // A buffer filled without a terminator stops at its own end.
    CString full;
    LPTSTR fp = full.GetBufferSetLength(4);
    for (int i = 0; i < full.GetAllocLength(); ++i)
        fp[i] = u'q';
    full.ReleaseBuffer();
    EXPECT_EQ(full.GetLength(), full.GetAllocLength());
}

TEST(CStringTest, ResourcesBstrsAndConversions)
{
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_GREETING));
    EXPECT_EQ(U(s), u"Hello, world");
    EXPECT_TRUE(s.LoadString(IDS_UNICODE));
    EXPECT_EQ(U(s), u"Gr\u00fc\u00dfe \u20ac \U0001D11E");
    EXPECT_TRUE(s.LoadString(IDS_LAST_OF_BLOCK));
    EXPECT_EQ(U(s), u"sixteenth");
    EXPECT_FALSE(s.LoadString(IDS_MISSING));
    EXPECT_EQ(U(CString(MAKEINTRESOURCE(IDS_GREETING))), u"Hello, world");
    s.Format(IDS_FORMAT, _T("List"), 3);
    EXPECT_EQ(U(s), u"List has 3 items");
    s.FormatMessage(IDS_MESSAGE, _T("one"), _T("two"));
    EXPECT_EQ(U(s), u"two before one");
    CStringA a;
    EXPECT_TRUE(a.LoadString(IDS_GREETING));
    EXPECT_STREQ(a, "Hello, world");

    CString text(_T("bstr \u00e9"));
    BSTR b = text.AllocSysString();
    EXPECT_EQ(SysStringLen(b), 6u);
    EXPECT_EQ(std::u16string(b), u"bstr \u00e9");
    CString(_T("again")).SetSysString(&b);
    EXPECT_EQ(std::u16string(b), u"again");
    SysFreeString(b);

    CString wide(_T("plain \u00e9"));
    char expected[32] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, expected, sizeof expected, nullptr, nullptr);
    CStringA narrow(wide);
    EXPECT_STREQ(narrow, expected);
    EXPECT_STREQ(CT2A(wide), expected);
    EXPECT_STREQ(CW2A(_T("utf8 \u20ac"), CP_UTF8), "utf8 \xe2\x82\xac");
    EXPECT_EQ(std::u16string(CA2W("utf8 \xe2\x82\xac", CP_UTF8)), u"utf8 \u20ac");
    EXPECT_EQ(U(CString(narrow)), U(CString(CA2T(expected))));
    EXPECT_EQ(std::u16string(CT2W(wide)), U(wide));
    {
        USES_CONVERSION;
        LPCSTR n1 = T2A(wide.GetString());
        LPCWSTR w1 = A2T(n1);
        LPCSTR n2 = T2A(_T("second"));
        EXPECT_STREQ(n1, expected);  // still alive after later conversions
        EXPECT_STREQ(n2, "second");
        EXPECT_EQ(U(CString(w1)), U(CString(CA2T(expected))));
    }
    CStringA na("abc");
    na += 'd';
    na += u'e';
    EXPECT_STREQ(na, "abcde");
    EXPECT_EQ(na.Find("cd"), 2);
    EXPECT_STREQ(na.Mid(1, 2), "bc");
    EXPECT_STREQ(CStringA(" x ").Trim(), "x");
    EXPECT_STREQ(CStringA("Ab").MakeUpper(), "AB");
}
