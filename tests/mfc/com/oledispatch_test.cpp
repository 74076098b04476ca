// COleVariant, COleDateTime and COleDateTimeSpan.
#include <afxdisp.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "archive_bytes.h"
#include "sondrel_gtest.h"

namespace {

const LCID kEnglishUS = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += char(s[i] < 128 ? s[i] : '?');
    return out;
}

template <class F>
SCODE ThrownOleError(F&& f)
{
    try
    {
        f();
    }
    catch (COleException* e)
    {
        SCODE sc = e->m_sc;
        e->Delete();
        return sc;
    }
    return S_OK;
}

void ExpectParts(const COleDateTime& t, int y, int mo, int d, int h, int mi, int s)
{
    EXPECT_EQ(COleDateTime::valid, t.GetStatus());
    EXPECT_EQ(y, t.GetYear());
    EXPECT_EQ(mo, t.GetMonth());
    EXPECT_EQ(d, t.GetDay());
    EXPECT_EQ(h, t.GetHour());
    EXPECT_EQ(mi, t.GetMinute());
    EXPECT_EQ(s, t.GetSecond());
}

}  // namespace

TEST(OleDateTime, KnownDatesAroundAndBeforeTheEpoch)
{
    EXPECT_EQ(0.0, COleDateTime(1899, 12, 30, 0, 0, 0).m_dt);
    EXPECT_EQ(2.0, COleDateTime(1900, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(36526.0, COleDateTime(2000, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(36526.5, COleDateTime(2000, 1, 1, 12, 0, 0).m_dt);
    EXPECT_EQ(-1.25, COleDateTime(1899, 12, 29, 6, 0, 0).m_dt);
    EXPECT_EQ(-36522.0, COleDateTime(1800, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(-657434.0, COleDateTime(100, 1, 1, 0, 0, 0).m_dt);

    ExpectParts(COleDateTime(-1.25), 1899, 12, 29, 6, 0, 0);
    ExpectParts(COleDateTime(-0.5), 1899, 12, 30, 12, 0, 0);
    ExpectParts(COleDateTime(0.0), 1899, 12, 30, 0, 0, 0);
    ExpectParts(COleDateTime(2958465.0 + 86399.0 / 86400), 9999, 12, 31, 23, 59, 59);
    // A value a hair below a whole second rounds to it, across midnight too.
    ExpectParts(COleDateTime(1.0 - 1e-9), 1899, 12, 31, 0, 0, 0);
    ExpectParts(COleDateTime(-2.0 + 1e-9 - 0.999999999), 1899, 12, 29, 0, 0, 0);

    EXPECT_EQ(7, COleDateTime(0.0).GetDayOfWeek());  // a Saturday
    EXPECT_EQ(2, COleDateTime(2026, 12, 7, 0, 0, 0).GetDayOfWeek());
    EXPECT_EQ(4, COleDateTime(1800, 1, 1, 0, 0, 0).GetDayOfWeek());
    EXPECT_EQ(366, COleDateTime(2024, 12, 31, 0, 0, 0).GetDayOfYear());
    EXPECT_EQ(364, COleDateTime(1899, 12, 30, 0, 0, 0).GetDayOfYear());
}

TEST(OleDateTime, AgreesWithOleAutomationAcrossTheRange)
{
    const int samples[][6] = {
        {100, 1, 1, 0, 0, 0},      {1600, 2, 29, 23, 59, 59}, {1752, 9, 3, 1, 2, 3},
        {1899, 12, 29, 18, 30, 0}, {1899, 12, 31, 0, 0, 1},   {1900, 2, 28, 12, 0, 0},
        {1970, 1, 1, 0, 0, 0},     {2026, 12, 7, 13, 5, 9},   {9999, 12, 31, 23, 59, 59}};
    for (const auto& s : samples)
    {
        SYSTEMTIME st = {};
        st.wYear = WORD(s[0]);
        st.wMonth = WORD(s[1]);
        st.wDay = WORD(s[2]);
        st.wHour = WORD(s[3]);
        st.wMinute = WORD(s[4]);
        st.wSecond = WORD(s[5]);
        DATE reference = 0;
        ASSERT_TRUE(SystemTimeToVariantTime(&st, &reference));
        COleDateTime ours(s[0], s[1], s[2], s[3], s[4], s[5]);
        EXPECT_NEAR(reference, ours.m_dt, 1e-9) << s[0] << "-" << s[1] << "-" << s[2];

        SYSTEMTIME back = {};
        ASSERT_TRUE(COleDateTime(st).GetAsSystemTime(back));
        EXPECT_EQ(st.wYear, back.wYear);
        EXPECT_EQ(st.wDay, back.wDay);
        EXPECT_EQ(st.wSecond, back.wSecond);
        SYSTEMTIME viaOle = {};
        ASSERT_TRUE(VariantTimeToSystemTime(reference, &viaOle));
        EXPECT_EQ(viaOle.wDayOfWeek, back.wDayOfWeek);
    }
}

TEST(OleDateTime, InvalidAndNullStatuses)
{
    COleDateTime t;
    EXPECT_NE(0, t.SetDate(2023, 2, 29));
    EXPECT_EQ(COleDateTime::invalid, t.GetStatus());
    EXPECT_EQ(AFX_OLE_DATETIME_ERROR, t.GetYear());
    EXPECT_EQ("Invalid DateTime", Narrow(t.Format(_T("%Y"))));
    EXPECT_EQ(0, t.SetDate(2024, 2, 29));
    EXPECT_NE(0, t.SetDateTime(2024, 1, 1, 24, 0, 0));
    EXPECT_NE(0, t.SetDate(99, 12, 31));
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(3e6).GetStatus());
    SYSTEMTIME st;
    EXPECT_FALSE(COleDateTime(3e6).GetAsSystemTime(st));

    EXPECT_EQ(0, t.SetTime(6, 30, 0));
    EXPECT_EQ(0.0 + 6.5 / 24, t.m_dt);

    VARIANT nullValue;
    VariantInit(&nullValue);
    nullValue.vt = VT_NULL;
    COleDateTime fromNull(nullValue);
    EXPECT_EQ(COleDateTime::null, fromNull.GetStatus());
    EXPECT_EQ("", Narrow(fromNull.Format(_T("%Y"))));
    // A null date added to anything stays null; invalid wins over null.
    EXPECT_EQ(COleDateTime::null, (fromNull + COleDateTimeSpan(1.0)).GetStatus());
    COleDateTime bad;
    bad.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(COleDateTimeSpan::invalid, (bad - fromNull).GetStatus());
}

TEST(OleDateTime, ComparisonAndArithmeticBeforeTheEpochAreChronological)
{
    COleDateTime midnight(1899, 12, 29, 0, 0, 0);  // -1.0
    COleDateTime morning(1899, 12, 29, 6, 0, 0);   // -1.25
    EXPECT_LT(morning.m_dt, midnight.m_dt);
    EXPECT_TRUE(morning > midnight);
    EXPECT_TRUE(midnight < morning);
    EXPECT_TRUE(midnight <= morning);
    EXPECT_FALSE(morning == midnight);
    EXPECT_TRUE(COleDateTime(-0.5) == COleDateTime(0.5));  // one moment, two spellings

    COleDateTimeSpan quarter = morning - midnight;
    EXPECT_DOUBLE_EQ(0.25, quarter.GetTotalDays());

    COleDateTime evening(1899, 12, 29, 18, 0, 0);
    COleDateTime next = evening + COleDateTimeSpan(0, 12, 0, 0);
    ExpectParts(next, 1899, 12, 30, 6, 0, 0);
    EXPECT_DOUBLE_EQ(0.25, next.m_dt);
    next -= COleDateTimeSpan(2, 0, 0, 0);
    ExpectParts(next, 1899, 12, 28, 6, 0, 0);
    EXPECT_DOUBLE_EQ(-2.25, next.m_dt);

    COleDateTime modern(2026, 3, 1, 0, 0, 0);
    modern -= COleDateTimeSpan(1, 0, 0, 1);
    ExpectParts(modern, 2026, 2, 27, 23, 59, 59);
    EXPECT_EQ(-1, (COleDateTime(2026, 3, 1, 0, 0, 0) - COleDateTime(2026, 3, 2, 0, 0, 0)).GetDays());
}

TEST(OleDateTime, FormatsByPatternAndByLocale)
{
    COleDateTime t(2026, 12, 7, 13, 5, 9);
    EXPECT_EQ("2026-12-07 13:05:09", Narrow(t.Format(_T("%Y-%m-%d %H:%M:%S"))));
    EXPECT_EQ("Monday, December 7, 2026", Narrow(t.Format(_T("%#x"))));
    EXPECT_EQ("Mon Dec 01 PM 341 %", Narrow(t.Format(_T("%a %b %I %p %j %%"))));
    EXPECT_EQ("12/07/26 13:05:09", Narrow(t.Format(_T("%c"))));
    EXPECT_EQ("1 7", Narrow(t.Format(_T("%w %#d"))));
    EXPECT_EQ("49 49", Narrow(t.Format(_T("%U %W"))));
    EXPECT_EQ("1899-12-29 06:00", Narrow(COleDateTime(-1.25).Format(_T("%Y-%m-%d %H:%M"))));

    EXPECT_EQ("12/7/2026 1:05:09 PM", Narrow(t.Format(0, kEnglishUS)));
    EXPECT_EQ("12/7/2026", Narrow(t.Format(VAR_DATEVALUEONLY, kEnglishUS)));
    EXPECT_EQ("1:05:09 PM", Narrow(t.Format(VAR_TIMEVALUEONLY, kEnglishUS)));
}

TEST(OleDateTime, ParsesThroughOleAutomation)
{
    COleDateTime t;
    ASSERT_TRUE(t.ParseDateTime(_T("12/7/2026 1:05:09 PM"), 0, kEnglishUS));
    ExpectParts(t, 2026, 12, 7, 13, 5, 9);
    ASSERT_TRUE(t.ParseDateTime(_T("13:30"), VAR_TIMEVALUEONLY, kEnglishUS));
    ExpectParts(t, 1899, 12, 30, 13, 30, 0);
    EXPECT_FALSE(t.ParseDateTime(_T("not a date"), 0, kEnglishUS));
    EXPECT_EQ(COleDateTime::invalid, t.GetStatus());
}

TEST(OleDateTime, FromTimeTFileTimeAndDos)
{
    // The same instant through time_t and FILETIME; both are local time.
    time_t instant = 1796648709;  // 2026-12-07 13:05:09 UTC
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (ULONGLONG(instant) + 11644473600ULL) * 10000000ULL;
    FILETIME ft = {ticks.LowPart, ticks.HighPart};
    COleDateTime fromTime(instant), fromFile(ft);
    EXPECT_TRUE(fromTime == fromFile);
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&ft, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    ExpectParts(fromTime, local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);

    // DOS: 2026-12-07 13:05:08 (two-second steps).
    WORD dosDate = WORD(((2026 - 1980) << 9) | (12 << 5) | 7);
    WORD dosTime = WORD((13 << 11) | (5 << 5) | 4);
    ExpectParts(COleDateTime(dosDate, dosTime), 2026, 12, 7, 13, 5, 8);

    COleDateTime now = COleDateTime::GetCurrentTime();
    EXPECT_EQ(COleDateTime::valid, now.GetStatus());
    EXPECT_GE(now.GetYear(), 2020);
}

TEST(OleDateTimeSpan, PartsTotalsAndFormat)
{
    COleDateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_NEAR(26.0 + 3.0 / 60 + 4.0 / 3600, span.GetTotalHours(), 1e-9);
    EXPECT_NEAR(93784.0, span.GetTotalSeconds(), 1e-6);
    EXPECT_EQ("1 days 02:03:04", Narrow(span.Format(_T("%D days %H:%M:%S"))));

    COleDateTimeSpan negative = -span;
    EXPECT_EQ(-1, negative.GetDays());
    EXPECT_EQ(-2, negative.GetHours());
    EXPECT_EQ(-4, negative.GetSeconds());
    EXPECT_TRUE(negative < span);

    // 59.9999 seconds is shown as a whole minute.
    COleDateTimeSpan almost(0, 0, 0, 60);
    almost -= COleDateTimeSpan(1e-9);
    EXPECT_EQ(1, almost.GetMinutes());
    EXPECT_EQ(0, almost.GetSeconds());

    COleDateTimeSpan sum = span + COleDateTimeSpan(0, 21, 56, 56);
    EXPECT_EQ(2, sum.GetDays());
    EXPECT_EQ(0, sum.GetHours());
    EXPECT_TRUE(sum == COleDateTimeSpan(2, 0, 0, 0));

    COleDateTimeSpan bad;
    bad.SetStatus(COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTimeSpan::invalid, (bad + span).GetStatus());
    EXPECT_EQ("Invalid DateTimeSpan", Narrow(bad.Format(_T("%D"))));
}

TEST(OleVariant, ConstructorsConversionsAndErrors)
{
    EXPECT_EQ(VT_BSTR, COleVariant(_T("text")).vt);
    CString name(_T("Record-001"));
    COleVariant fromString(name);
    EXPECT_EQ(VT_BSTR, fromString.vt);
    EXPECT_EQ(10u, SysStringLen(fromString.bstrVal));
    EXPECT_EQ(VT_BSTR, COleVariant(_T("x"), VT_BSTRT).vt);
    EXPECT_EQ(VT_I2, COleVariant(short(2)).vt);
    EXPECT_EQ(VT_BOOL, COleVariant(short(1), VT_BOOL).vt);
    EXPECT_EQ(VT_I4, COleVariant(LONG(5)).vt);
    EXPECT_EQ(VT_I4, COleVariant(5L).vt);
    EXPECT_EQ(VT_ERROR, COleVariant(LONG(DISP_E_PARAMNOTFOUND), VT_ERROR).vt);
    EXPECT_EQ(VT_I8, COleVariant(LONGLONG(1) << 40).vt);
    EXPECT_EQ(VT_UI1, COleVariant(BYTE(1)).vt);
    EXPECT_EQ(VT_R4, COleVariant(1.0f).vt);
    EXPECT_EQ(VT_R8, COleVariant(1.0).vt);
    COleVariant date(COleDateTime(2000, 1, 1, 0, 0, 0));
    EXPECT_EQ(VT_DATE, date.vt);
    EXPECT_EQ(36526.0, date.date);
    EXPECT_EQ(2000, COleDateTime(date).GetYear());

    COleVariant number(_T("1234"));
    number.ChangeType(VT_I4);
    EXPECT_EQ(VT_I4, number.vt);
    EXPECT_EQ(1234, number.lVal);
    COleVariant converted;
    converted.ChangeType(VT_BSTR, &number);
    EXPECT_EQ(VT_BSTR, converted.vt);

    COleVariant word(_T("recorder"));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, ThrownOleError([&] { word.ChangeType(VT_I4); }));
    EXPECT_EQ(VT_BSTR, word.vt);  // unchanged after the failure
    COleVariant big(LONG(100000));
    EXPECT_EQ(DISP_E_OVERFLOW, ThrownOleError([&] { big.ChangeType(VT_I2); }));
}

TEST(OleVariant, CopyAttachDetachAndEquality)
{
    COleVariant a(_T("same"));
    COleVariant b(a);
    EXPECT_NE(a.bstrVal, b.bstrVal);
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a == static_cast<LPCVARIANT>(b));
    b = LONG(3);
    EXPECT_TRUE(a != b);

    VARIANT raw = a.Detach();
    EXPECT_EQ(VT_EMPTY, a.vt);
    COleVariant c;
    c.Attach(raw);
    EXPECT_EQ(VT_EMPTY, raw.vt);
    EXPECT_EQ(VT_BSTR, c.vt);

    LPCVARIANT view = c;
    EXPECT_EQ(static_cast<const VARIANT*>(&c), view);
    c.Clear();
    EXPECT_EQ(VT_EMPTY, c.vt);

    COleVariant reused;
    for (int i = 0; i < 1000; ++i)
    {
        reused = _T("again");
        reused = CString(_T("more"));
        reused = 2.5;
    }
    EXPECT_EQ(VT_R8, reused.vt);
}

namespace {

using archive_bytes::Bytes;
using archive_bytes::LoadCause;
using archive_bytes::Store;

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

template <class T>
Bytes RawBytes(T value)
{
    Bytes out(sizeof value);
    memcpy(out.data(), &value, sizeof value);
    return out;
}

}  // namespace

TEST(OleArchive, StoredBytesOfVariantsAndDates)
{
    EXPECT_EQ(Bytes({0x03, 0x00, 0x05, 0x00, 0x00, 0x00}),
              Store([](CArchive& ar) { ar << COleVariant(LONG(5)); }));
    EXPECT_EQ(Bytes({0x08, 0x00, 0x04, 0x00, 0x00, 0x00, 'a', 0x00, 'b', 0x00}),
              Store([](CArchive& ar) { ar << COleVariant(_T("ab")); }));
    EXPECT_EQ(Bytes({0x0B, 0x00, 0xFF, 0xFF}),
              Store([](CArchive& ar) { ar << COleVariant(short(1), VT_BOOL); }));
    EXPECT_EQ(Bytes({0x00, 0x00}), Store([](CArchive& ar) { ar << COleVariant(); }));
    EXPECT_EQ(Concat({{0x00, 0x00, 0x00, 0x00}, RawBytes(36526.5)}),
              Store([](CArchive& ar) { ar << COleDateTime(2000, 1, 1, 12, 0, 0); }));
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(Concat({{0x01, 0x00, 0x00, 0x00}, RawBytes(0.0)}), Store([&](CArchive& ar) { ar << invalid; }));
    EXPECT_EQ(Concat({{0x00, 0x00, 0x00, 0x00}, RawBytes(1.5)}),
              Store([](CArchive& ar) { ar << COleDateTimeSpan(1.5); }));

    VARIANT unknown;
    VariantInit(&unknown);
    unknown.vt = VT_UNKNOWN;
    unknown.punkVal = nullptr;
    bool refused = false;
    try
    {
        Store([&](CArchive& ar) { ar << COleVariant(unknown); });
    }
    catch (CNotSupportedException* e)
    {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
}

TEST(OleArchive, RoundTripsEveryArchivedType)
{
    CY cy;
    cy.int64 = -123456789;
    std::vector<COleVariant> values;
    values.emplace_back(BYTE(7));
    values.emplace_back(short(-3));
    values.emplace_back(LONG(-70000));
    values.emplace_back(LONGLONG(1) << 50);
    values.emplace_back(ULONGLONG(1) << 63);
    values.emplace_back(UINT(4000000000u));
    values.emplace_back(1.25f);
    values.emplace_back(-2.5);
    values.emplace_back(cy);
    values.emplace_back(COleDateTime(1850, 6, 1, 8, 0, 0));
    values.emplace_back(_T("R\u00e9cord"));
    values.emplace_back(LONG(DISP_E_PARAMNOTFOUND), VT_ERROR);
    values.emplace_back(short(0), VT_BOOL);
    COleVariant nullValue;
    nullValue.vt = VT_NULL;
    values.push_back(nullValue);
    COleDateTimeSpan span(-2, 3, 4, 5);

    Bytes stored = Store([&](CArchive& ar) {
        for (const COleVariant& v : values)
            ar << v;
        ar << COleDateTime(1899, 12, 29, 6, 0, 0) << span;
    });
    EXPECT_EQ(-1, LoadCause(stored, [&](CArchive& ar) {
        for (const COleVariant& expected : values)
        {
            COleVariant loaded(_T("to be replaced"));
            ar >> loaded;
            EXPECT_TRUE(loaded == expected) << "type " << expected.vt;
        }
        COleDateTime date;
        COleDateTimeSpan loadedSpan;
        ar >> date >> loadedSpan;
        EXPECT_EQ(-1.25, date.m_dt);
        EXPECT_TRUE(loadedSpan == span);
    }));
}

TEST(OleArchive, DamagedInputEndsInAnArchiveException)
{
    // A string claiming 4 GB but holding two bytes.
    EXPECT_EQ(CArchiveException::endOfFile,
              LoadCause({0x08, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 0x00}, [](CArchive& ar) {
                  COleVariant v;
                  ar >> v;
              }));
    // A type that is never archived.
    COleVariant left(_T("kept?"));
    EXPECT_EQ(CArchiveException::badIndex,
              LoadCause({0x09, 0x00, 0x00, 0x00}, [&](CArchive& ar) { ar >> left; }));
    EXPECT_EQ(VT_EMPTY, left.vt);
    // Truncated date.
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({0x00, 0x00, 0x00, 0x00, 0x01}, [](CArchive& ar) {
                  COleDateTime date;
                  ar >> date;
              }));
    // An unknown status loads as invalid.
    EXPECT_EQ(-1, LoadCause(Concat({{0x07, 0x00, 0x00, 0x00}, RawBytes(2.0)}), [](CArchive& ar) {
        COleDateTime date;
        ar >> date;
        EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
    }));
}
