// The rules every store shares: text forms, dates, escapes, blobs, defaults,
// enumerators and class creation; and what each keyed store writes.
#include <afxwin.h>

#include <cstring>
#include <iterator>

#include "propexchange_sample.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeIniFile.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

namespace {
CString Text(VARTYPE vt, const void* pv)
{
    CString str;
    EXPECT_TRUE(CQVTPropExchange::ValueToText(vt, pv, str));
    return str;
}

std::u16string U(const CString& str)
{
    return std::u16string(str.GetString());
}

CString IniValue(const std::u16string& file, LPCWSTR pszSection, LPCWSTR pszKey)
{
    WCHAR sz[32768] = {};
    GetPrivateProfileStringW(pszSection, pszKey, u"<missing>", sz, 32768, file.c_str());
    return CString(sz);
}

}  // namespace

class IniFile : public testing::Test
{
protected:
    void SetUp() override { DeleteFileW(m_path.c_str()); }
    void TearDown() override { DeleteFileW(m_path.c_str()); }
    std::u16string m_path = TempPath(u"propexchange-rules.ini");
};

TEST(PropExchangeText, IntegersFloatsAndRectanglesKeepTheirValues)
{
    short s = -1;
    EXPECT_EQ(U(Text(VT_I2, &s)), u"65535");
    short sBack = 0;
    EXPECT_TRUE(CQVTPropExchange::TextToValue(VT_I2, u"65535", &sBack, nullptr));
    EXPECT_EQ(sBack, -1);
    BOOL b = TRUE;
    EXPECT_EQ(U(Text(VT_BOOL, &b)), u"1");

    // Six digits used to lose precision; the short form stays where it is exact.
    double d = 0.1234567;
    CString strDouble = Text(VT_R8, &d);
    double dBack = 0;
    EXPECT_TRUE(CQVTPropExchange::TextToValue(VT_R8, strDouble, &dBack, nullptr));
    EXPECT_EQ(dBack, d);
    double dHalf = 0.5;
    EXPECT_EQ(U(Text(VT_R8, &dHalf)), u"0.5");
    float f = 16777217.0f / 3.0f;
    float fBack = 0;
    EXPECT_TRUE(CQVTPropExchange::TextToValue(VT_R4, Text(VT_R4, &f), &fBack, nullptr));
    EXPECT_EQ(fBack, f);

    RECT rc = {1, -2, 3, 4};
    EXPECT_EQ(U(Text(VT_QVT_RECT, &rc)), u"1, -2, 3, 4");
    RECT rcDefault = {9, 9, 9, 9};
    RECT rcBack = {};
    EXPECT_TRUE(CQVTPropExchange::TextToValue(VT_QVT_RECT, u"10, 20", &rcBack, &rcDefault));
    EXPECT_EQ(0, std::memcmp(&rcBack, &rcDefault, sizeof rcBack));
    CY cy = {};
    CString strUnused;
    EXPECT_FALSE(CQVTPropExchange::ValueToText(VT_CY, &cy, strUnused));
}

TEST(PropExchangeText, DatesWriteYearDayMonthAndMustSurviveTheRoundTrip)
{
    COleDateTime dt(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(U(Text(VT_DATE, &dt)), u"2024-05-03T14:07:09");
    COleDateTime midnight(2024, 3, 5, 0, 0, 0);
    EXPECT_EQ(U(Text(VT_DATE, &midnight)), u"2024-05-03");
    COleDateTime time(9.5 / 24.0);
    EXPECT_EQ(U(Text(VT_DATE, &time)), u"09:30:00");
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(U(Text(VT_DATE, &null)), u"");

    COleDateTime back;
    EXPECT_TRUE(CQVTPropExchange::TextToDate(u"2024-05-03T14:07", back));
    EXPECT_EQ(back.GetYear(), 2024);
    EXPECT_EQ(back.GetMonth(), 3);
    EXPECT_EQ(back.GetDay(), 5);
    EXPECT_EQ(back.GetHour(), 14);
    EXPECT_EQ(back.GetMinute(), 7);
    EXPECT_FALSE(CQVTPropExchange::TextToDate(u"2024-31-02", back));
    EXPECT_FALSE(CQVTPropExchange::TextToDate(u"2024-05-03T14", back));
    EXPECT_FALSE(CQVTPropExchange::TextToDate(u"garbage", back));

    COleDateTime dtClose(dt.m_dt + 0.4 / 86400.0);
    COleDateTime dtApart(dt.m_dt + 0.6 / 86400.0);
    EXPECT_TRUE(CQVTPropExchange::IsSamePropValue(VT_DATE, &dtClose, &dt));
    EXPECT_FALSE(CQVTPropExchange::IsSamePropValue(VT_DATE, &dtApart, &dt));
}

TEST(PropExchangeText, ControlCharactersAreEscapedAndRestored)
{
    CString str = u"a\\b\n";
    CQVTPropExchange::EscapeControlChars(str);
    EXPECT_EQ(U(str), u"a\\\\b\\n");
    CQVTPropExchange::UnescapeControlChars(str);
    EXPECT_EQ(U(str), u"a\\b\n");
    WCHAR sz[] = u"a\\nb\\\\t";
    CQVTPropExchange::UnescapeControlChars(sz);
    EXPECT_EQ(std::u16string(sz), u"a\nb\\t");
}

TEST_F(IniFile, BlobsAreLetterPairsAndOddTextFails)
{
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Blob");
        px.SetIniFileName(m_path.c_str());
        BYTE bytes[] = {0x12, 0xAB, 0x00};
        BYTE* p = bytes;
        DWORD n = 3;
        EXPECT_TRUE(px.ExchangeBlob(u"Data", p, n));
    }
    EXPECT_EQ(U(IniValue(m_path, u"Blob", u"Data")), u"CBLKAA");
    WritePrivateProfileStringW(u"Blob", u"Odd", u"CBL", m_path.c_str());
    WritePrivateProfileStringW(u"Blob", u"Bad", u"CBZZ", m_path.c_str());

    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Blob");
    px.SetIniFileName(m_path.c_str());
    BYTE* p = nullptr;
    DWORD n = 0;
    ASSERT_TRUE(px.ExchangeBlob(u"Data", p, n));
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(p[0], 0x12);
    EXPECT_EQ(p[1], 0xAB);
    free(p);
    p = nullptr;
    EXPECT_FALSE(px.ExchangeBlob(u"Odd", p, n));
    EXPECT_FALSE(px.ExchangeBlob(u"Bad", p, n));
    EXPECT_EQ(p, nullptr);

    // The bytes read, not the room the caller offered.
    BYTE buffer[16] = {};
    EXPECT_EQ(px.ReadBlock(u"Data", buffer, sizeof buffer), 3u);
    BYTE tiny[2] = {};
    EXPECT_EQ(px.ReadBlock(u"Data", tiny, sizeof tiny), 0u);
}

TEST_F(IniFile, DefaultsAreNotStoredUnlessBothFlagsAreCleared)
{
    WritePrivateProfileStringW(u"Opts", u"Size", u"99", m_path.c_str());
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Opts");
        px.SetIniFileName(m_path.c_str());
        int nSize = 5;
        EXPECT_TRUE(PropExchangeInt(&px, u"Size", nSize, 5));
    }
    // Equal to its default: the old key is gone.
    EXPECT_EQ(U(IniValue(m_path, u"Opts", u"Size")), u"<missing>");
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Opts");
        px.SetIniFileName(m_path.c_str());
        px.UseDefaultOnSave(FALSE);
        px.UseDefaultOnLoad(FALSE);
        int nSize = 5;
        EXPECT_TRUE(PropExchangeInt(&px, u"Size", nSize, 5));
    }
    EXPECT_EQ(U(IniValue(m_path, u"Opts", u"Size")), u"5");

    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Opts");
    px.SetIniFileName(m_path.c_str());
    px.UseDefaultOnLoad(FALSE);
    int nMissing = 42;
    EXPECT_FALSE(PropExchangeInt(&px, u"Missing", nMissing, 7));
    EXPECT_EQ(nMissing, 42);
    px.ExchangeSchema();
    EXPECT_EQ(px.GetSchema(), 43u);
}

TEST_F(IniFile, EmptyAndLongStringsComeBackWhole)
{
    CString strLong300(u'x', 300);
    CString strLong20000(u'y', 20000);
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Text");
        px.SetIniFileName(m_path.c_str());
        CString strEmpty;
        EXPECT_TRUE(PropExchangeString(&px, u"Empty", strEmpty, u"default"));
        EXPECT_TRUE(PropExchangeString(&px, u"Long300", strLong300, u""));
        EXPECT_TRUE(PropExchangeString(&px, u"Long20000", strLong20000, u""));
    }
    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Text");
    px.SetIniFileName(m_path.c_str());
    CString strEmpty = u"untouched";
    EXPECT_TRUE(PropExchangeString(&px, u"Empty", strEmpty, u"default"));
    EXPECT_EQ(U(strEmpty), u"");
    CString strMissing;
    EXPECT_TRUE(PropExchangeString(&px, u"Missing", strMissing, u"default"));
    EXPECT_EQ(U(strMissing), u"default");
    CString str300, str20000;
    EXPECT_TRUE(PropExchangeString(&px, u"Long300", str300, u""));
    EXPECT_TRUE(PropExchangeString(&px, u"Long20000", str20000, u""));
    EXPECT_EQ(str300.GetLength(), 300);
    EXPECT_EQ(str20000.GetLength(), 20000);
}

TEST_F(IniFile, SectionsEnumeratorsAndEmptying)
{
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Bars");
        px.SetIniFileName(m_path.c_str());
        CQVTPropExchangeEnumeratorPtr items(px.GetEnumerator(u"Item"));
        POSITION pos = items->GetPosition(3);
        int n = 0;
        while (pos != nullptr)
        {
            CQVTPropExchangeSection item(items->GetNext(pos));
            ++n;
            int nValue = n * 10;
            PropExchangeInt(&item, u"Value", nValue, 0);
            CQVTPropExchangeSection sub(item->GetSection(u"Sub"));
            PropExchangeInt(&sub, u"Value", nValue, 0);
        }
        EXPECT_EQ(n, 3);
        CQVTPropExchangeSection empty(px.GetSection(u"Empty"));
        CQVTPropExchangeEnumeratorPtr none(empty->GetEnumerator(u"None"));
        EXPECT_EQ(none->GetPosition(0, FALSE), nullptr);
    }
    WritePrivateProfileStringW(u"BarsOld", u"Keep", u"1", m_path.c_str());
    EXPECT_EQ(U(IniValue(m_path, u"Bars", u"Count")), u"3");
    EXPECT_EQ(U(IniValue(m_path, u"Bars\\Item2", u"Value")), u"30");
    EXPECT_EQ(U(IniValue(m_path, u"Bars\\Item0\\Sub", u"Value")), u"10");

    {
        CQVTPropExchangeIniFile px(TRUE, nullptr, u"Bars");
        px.SetIniFileName(m_path.c_str());
        CQVTPropExchangeEnumeratorPtr items(px.GetEnumerator(u"Item"));
        POSITION pos = items->GetPosition();
        EXPECT_EQ(items->GetCount(), 3u);
        int nSum = 0;
        while (pos != nullptr)
        {
            CQVTPropExchangeSection item(items->GetNext(pos));
            int nValue = 0;
            PropExchangeInt(&item, u"Value", nValue, 0);
            nSum += nValue;
        }
        EXPECT_EQ(nSum, 60);
    }
    WritePrivateProfileStringW(u"Forged", u"Count", u"2147483647", m_path.c_str());
    {
        CQVTPropExchangeIniFile px(TRUE, nullptr, u"Forged");
        px.SetIniFileName(m_path.c_str());
        CQVTPropExchangeEnumeratorPtr items(px.GetEnumerator(u"Item"));
        EXPECT_EQ(items->GetPosition(), nullptr) << "a forged count is refused";
    }
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Bars");
        px.SetIniFileName(m_path.c_str());
        px.EmptySection();
    }
    EXPECT_EQ(U(IniValue(m_path, u"Bars", u"Count")), u"<missing>");
    EXPECT_EQ(U(IniValue(m_path, u"Bars\\Item0", u"Value")), u"<missing>");
    EXPECT_EQ(U(IniValue(m_path, u"Bars\\Item0\\Sub", u"Value")), u"<missing>");
    EXPECT_EQ(U(IniValue(m_path, u"BarsOld", u"Keep")), u"1");
}

TEST_F(IniFile, PaddedAndQuotedStringsKeepEveryCharacter)
{
    // The profile reader trims blanks at each end and strips a pair of
    // matching quotes: one character at one edge is enough to lose.
    const char16_t* kTexts[] = {u"  padded  ", u"\"quoted\"", u" \"both\" ", u"\"",         u"'single'",
                                u"trail ",     u" lead",      u" ",          u"\"a\" \"b\""};
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Text");
        px.SetIniFileName(m_path.c_str());
        for (int i = 0; i < static_cast<int>(std::size(kTexts)); ++i)
        {
            CString str = kTexts[i];
            CString strName;
            strName.Format(u"T%i", i);
            EXPECT_TRUE(PropExchangeString(&px, strName, str, u""));
        }
    }
    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Text");
    px.SetIniFileName(m_path.c_str());
    for (int i = 0; i < static_cast<int>(std::size(kTexts)); ++i)
    {
        CString str;
        CString strName;
        strName.Format(u"T%i", i);
        EXPECT_TRUE(PropExchangeString(&px, strName, str, u""));
        EXPECT_EQ(U(str), std::u16string(kTexts[i])) << i;
    }
}

TEST_F(IniFile, ObjectsSerializeIntoBlobs)
{
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Objects");
        px.SetIniFileName(m_path.c_str());
        CTestCircle circle;
        circle.m_nRadius = 0x01020304;
        EXPECT_TRUE(PropExchangeSerializeObject(&px, u"Circle", &circle));
    }
    EXPECT_EQ(U(IniValue(m_path, u"Objects", u"Circle")), u"EADACABA");
    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Objects");
    px.SetIniFileName(m_path.c_str());
    CTestCircle circle;
    EXPECT_TRUE(PropExchangeSerializeObject(&px, u"Circle", &circle));
    EXPECT_EQ(circle.m_nRadius, 0x01020304);
    EXPECT_FALSE(PropExchangeSerializeObject(&px, u"Missing", &circle));
    // Too few bytes for the object: the archive says so, nothing leaks.
    WritePrivateProfileStringW(u"Objects", u"Short", u"EACA", m_path.c_str());
    try
    {
        PropExchangeSerializeObject(&px, u"Short", &circle);
        ADD_FAILURE() << "a short blob must raise the archive's end of file";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
}

TEST_F(IniFile, ScaledValuesAreStoredAt96Dpi)
{
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    RECT rc = pScaler->ScaleRect(RECT{10, 20, 110, 220});
    const LONG kUnset = static_cast<LONG>(0x80000000);
    RECT rcUnset = {kUnset, kUnset, kUnset, kUnset};
    SIZE sz = pScaler->ScaleSize(SIZE{16, 32});
    int nX = pScaler->ScaleX(24);
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Dpi");
        px.SetIniFileName(m_path.c_str());
        EXPECT_TRUE(PropExchangeRectScaled(&px, u"Rect", rc, RECT{}));
        EXPECT_TRUE(PropExchangeRectScaled(&px, u"Unset", rcUnset, RECT{}));
        EXPECT_TRUE(PropExchangeSizeScaled(&px, u"Size", sz, SIZE{}));
        // Always written, even when equal to the default.
        EXPECT_TRUE(PropExchangeIntScaledX(&px, u"X", nX, 24));
    }
    EXPECT_EQ(U(IniValue(m_path, u"Dpi", u"Rect")), u"10, 20, 110, 220");
    EXPECT_EQ(U(IniValue(m_path, u"Dpi", u"Unset")), u"-2147483648, -2147483648, -2147483648, -2147483648");
    EXPECT_EQ(U(IniValue(m_path, u"Dpi", u"Size")), u"16, 32");
    EXPECT_EQ(U(IniValue(m_path, u"Dpi", u"X")), u"24");

    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Dpi");
    px.SetIniFileName(m_path.c_str());
    RECT rcBack = {};
    SIZE szBack = {};
    int nBack = 0;
    EXPECT_TRUE(PropExchangeRectScaled(&px, u"Rect", rcBack, RECT{}));
    EXPECT_TRUE(PropExchangeSizeScaled(&px, u"Size", szBack, SIZE{}));
    EXPECT_TRUE(PropExchangeIntScaledX(&px, u"X", nBack, 0));
    EXPECT_EQ(0, std::memcmp(&rcBack, &rc, sizeof rc));
    EXPECT_EQ(szBack.cx, sz.cx);
    EXPECT_EQ(szBack.cy, sz.cy);
    EXPECT_EQ(nBack, nX);
    EXPECT_FALSE(PropExchangeInt(nullptr, u"X", nBack, 0));
}

TEST(PropExchangeIniScratch, AnExchangeWithoutAFileLeavesNothingBehind)
{
    CString strFile;
    {
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Scratch");
        int n = 3;
        EXPECT_TRUE(PropExchangeInt(&px, u"Value", n, 0));
        strFile = px.GetIniFileName();
        EXPECT_NE(GetFileAttributesW(strFile), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(GetFileAttributesW(strFile), INVALID_FILE_ATTRIBUTES);
}

TEST_F(IniFile, ClassesAreCreatedOnlyWithinTheExpectedFamily)
{
    WritePrivateProfileStringW(u"Obj\\Good", u"Class", u"CTestCircle", m_path.c_str());
    WritePrivateProfileStringW(u"Obj\\Intruder", u"Class", u"CTestIntruder", m_path.c_str());
    WritePrivateProfileStringW(u"Obj\\Unknown", u"Class", u"CNoSuchClass", m_path.c_str());
    CQVTPropExchangeIniFile px(TRUE, nullptr, u"Obj");
    px.SetIniFileName(m_path.c_str());

    auto load = [&](LPCWSTR pszSection, CObject*& pObject) {
        CQVTPropExchangeSection section(px.GetSection(pszSection));
        return section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape));
    };
    CObject* pObject = nullptr;
    ASSERT_TRUE(load(u"Good", pObject));
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CTestCircle)));
    delete pObject;

    int nCreated = CTestIntruder::s_nCreated;
    pObject = nullptr;
    EXPECT_FALSE(load(u"Intruder", pObject));
    EXPECT_EQ(pObject, nullptr);
    EXPECT_EQ(CTestIntruder::s_nCreated, nCreated);
    EXPECT_FALSE(load(u"Unknown", pObject));
    EXPECT_EQ(pObject, nullptr);
    // No class stored: the base class itself.
    ASSERT_TRUE(load(u"Nothing", pObject));
    EXPECT_EQ(pObject->GetRuntimeClass(), RUNTIME_CLASS(CTestShape));
    delete pObject;
}

TEST(PropExchangeRegistry, ValuesTakeTheirRegistryTypes)
{
    HKEY hRoot = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\SondrelTests\\PropExchange", 0, nullptr, 0,
                              KEY_READ | KEY_WRITE, nullptr, &hRoot, nullptr),
              ERROR_SUCCESS);
    RegDeleteTreeW(hRoot, u"Types");
    {
        CQVTPropExchangeRegistry px(FALSE, hRoot, u"Types");
        RECT rc = {1, 2, 3, 4};
        RECT rcDefault = {};
        EXPECT_TRUE(px.ExchangeProp(u"Rect", VT_QVT_RECT, &rc, &rcDefault));
        short s = -1;
        EXPECT_TRUE(PropExchangeShort(&px, u"Short", s, 0));
        double d = 1.0 / 7.0;
        double dDefault = 0;
        EXPECT_TRUE(px.ExchangeProp(u"Double", VT_R8, &d, &dDefault));
        int nKeep = 1;
        EXPECT_TRUE(PropExchangeInt(&px, u"Same", nKeep, 0));
        COleDateTime dt;
        EXPECT_FALSE(px.ExchangeProp(u"Date", VT_DATE, &dt, nullptr));
    }
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyExW(hRoot, u"Types", 0, KEY_READ | KEY_WRITE, &hKey), ERROR_SUCCESS);
    WCHAR sz[64] = {};
    DWORD nSize = sizeof sz;
    DWORD dwType = 0;
    EXPECT_EQ(RegQueryValueExW(hKey, u"Rect", nullptr, &dwType, reinterpret_cast<BYTE*>(sz), &nSize),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::u16string(sz), u"1, 2, 3, 4");
    DWORD dw = 0;
    nSize = sizeof dw;
    EXPECT_EQ(RegQueryValueExW(hKey, u"Short", nullptr, &dwType, reinterpret_cast<BYTE*>(&dw), &nSize),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dw, 65535u);
    double d = 0;
    nSize = sizeof d;
    EXPECT_EQ(RegQueryValueExW(hKey, u"Double", nullptr, &dwType, reinterpret_cast<BYTE*>(&d), &nSize),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(d, 1.0 / 7.0);
    RegSetValueExW(hKey, u"Rect2", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"1, 2"), 10);
    RegCloseKey(hKey);

    {
        CQVTPropExchangeRegistry px(FALSE, hRoot, u"Types");
        int nSame = 0;
        EXPECT_TRUE(PropExchangeInt(&px, u"Same", nSame, 0));
    }
    {
        CQVTPropExchangeRegistry px(TRUE, hRoot, u"Types");
        int nSame = 5;
        EXPECT_TRUE(PropExchangeInt(&px, u"Same", nSame, 9));
        EXPECT_EQ(nSame, 9) << "a value equal to its default is deleted";
        short s = 0;
        EXPECT_TRUE(PropExchangeShort(&px, u"Short", s, 0));
        EXPECT_EQ(s, -1);
        RECT rc = {};
        RECT rcDefault = {7, 7, 7, 7};
        EXPECT_TRUE(px.ExchangeProp(u"Rect2", VT_QVT_RECT, &rc, &rcDefault));
        EXPECT_EQ(rc.left, 7);
        BYTE block[16] = {};
        BYTE bytes[4] = {1, 2, 3, 4};
        BYTE* p = bytes;
        DWORD n = 4;
        CQVTPropExchangeRegistry writer(FALSE, hRoot, u"Types");
        EXPECT_TRUE(writer.ExchangeBlob(u"Blob", p, n));
        EXPECT_EQ(px.ReadBlock(u"Blob", block, sizeof block), 4u);
    }
    RegDeleteTreeW(hRoot, u"Missing");
    {
        CQVTPropExchangeRegistry px(TRUE, hRoot, u"Missing");
        int n = 0;
        EXPECT_TRUE(PropExchangeInt(&px, u"Value", n, 12));
        EXPECT_EQ(n, 12);
    }
    EXPECT_EQ(RegOpenKeyExW(hRoot, u"Missing", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    RegCloseKey(hKey);
    RegDeleteTreeW(hRoot, u"Types");
    RegDeleteTreeW(hRoot, u"Missing");
    RegCloseKey(hRoot);
}

TEST(PropExchangeXml, CompactModeDecidesBetweenAttributesAndElements)
{
    ComScope com;
    std::u16string path = TempPath(u"propexchange-rules.xml");
    WriteFileBytes(path, "<resource CompactMode=\"1\" Title=\"attr\"><Title>elem</Title>own"
                         "<List><Row>1</Row><Row>2</Row><Other>3</Other></List></resource>");
    {
        CQVTPropExchangeXMLNode px(TRUE, nullptr, u"resource");
        ASSERT_TRUE(px.LoadFromFile(path.c_str()));
        CString str;
        EXPECT_TRUE(PropExchangeString(&px, u"Title", str, u""));
        EXPECT_EQ(U(str), u"attr");
        int nMissing = 0;
        EXPECT_TRUE(PropExchangeInt(&px, u"Missing", nMissing, 8));
        EXPECT_EQ(nMissing, 8);
        CQVTPropExchangeSection list(px.GetSection(u"List"));
        CQVTPropExchangeEnumeratorPtr all(list->GetEnumerator(u""));
        POSITION pos = all->GetPosition();
        EXPECT_EQ(all->GetCount(), 3u);
        int nItems = 0;
        while (pos != nullptr)
        {
            CQVTPropExchangeSection item(all->GetNext(pos));
            ++nItems;
        }
        EXPECT_EQ(nItems, 3);
    }
    WriteFileBytes(path, "<resource Title=\"attr\"><Title>elem</Title>own text</resource>");
    CQVTPropExchangeXMLNode px(TRUE, nullptr, u"resource");
    ASSERT_TRUE(px.LoadFromFile(path.c_str()));
    CString str;
    EXPECT_TRUE(PropExchangeString(&px, u"Title", str, u""));
    EXPECT_EQ(U(str), u"elem");
    EXPECT_FALSE(px.IsCompactMode());
    DeleteFileW(path.c_str());
}

TEST(PropExchangeXml, SavedCollectionsAppendAndBstrsAreEscaped)
{
    ComScope com;
    std::u16string path = TempPath(u"propexchange-rules.xml");
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, u"Settings");
        px.SetCompactMode(FALSE);
        BSTR bstr = SysAllocString(u"a\nb");
        EXPECT_TRUE(PropExchangeBstr(&px, u"Note", bstr, u""));
        SysFreeString(bstr);
        for (int nRun = 0; nRun < 2; ++nRun)
        {
            CQVTPropExchangeEnumeratorPtr items(px.GetEnumerator(u"Row"));
            POSITION pos = items->GetPosition(3);
            int n = 0;
            while (pos != nullptr)
            {
                CQVTPropExchangeSection item(items->GetNext(pos));
                PropExchangeInt(&item, u"", ++n, -1);
            }
        }
        ASSERT_TRUE(px.SaveToFile(path.c_str()));
    }
    std::string text = ReadFileBytes(path);
    EXPECT_NE(text.find("<Note>a\\nb</Note>"), std::string::npos) << text;
    EXPECT_EQ(text.find("CompactMode"), std::string::npos) << text;
    size_t nRows = 0;
    for (size_t at = text.find("<Row>"); at != std::string::npos; at = text.find("<Row>", at + 1))
        ++nRows;
    EXPECT_EQ(nRows, 6u);

    CQVTPropExchangeXMLNode px(TRUE, nullptr, u"Settings");
    ASSERT_TRUE(px.LoadFromFile(path.c_str()));
    BSTR bstr = nullptr;
    EXPECT_TRUE(PropExchangeBstr(&px, u"Note", bstr, u""));
    EXPECT_EQ(std::u16string(bstr), u"a\nb");
    SysFreeString(bstr);
    DeleteFileW(path.c_str());
}

TEST(PropExchangeXml, FilesThatAreNotDocumentsAreRefused)
{
    ComScope com;
    WCHAR szFolder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szFolder);
    CQVTPropExchangeXMLNode px(TRUE, nullptr, u"resource");
    EXPECT_FALSE(px.LoadFromFile(szFolder));
    EXPECT_EQ(px.GetDocument(), nullptr);
    EXPECT_FALSE(px.LoadFromFile(TempPath(u"propexchange-no-such-file.xml").c_str()));
    std::u16string path = TempPath(u"propexchange-broken.xml");
    WriteFileBytes(path, "<resource><unclosed></resource>");
    EXPECT_FALSE(px.LoadFromFile(path.c_str()));
    DeleteFileW(path.c_str());
}
