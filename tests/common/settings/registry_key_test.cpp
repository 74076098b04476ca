// The registry key wrapper: values of the wrong type or size leave the
// caller's default, strings are cut to whole characters at the limit.
#include "sondrel_gtest.h"

#include "common/RegistryKey.h"
#include "tests/common/common_test_support.h"

using namespace commontest;

namespace {

const char16_t kKey[] = u"Software\\Quorvane\\Sondrel";

}  // namespace

TEST(RegistryKey, NumbersOnlyFromFourByteNumbers)
{
    RegistryRedirect hives;
    SetRegistryDword(HKEY_CURRENT_USER, kKey, u"Dword", 7);
    SetRegistryDword(HKEY_CURRENT_USER, kKey, u"Binary", 8, REG_BINARY);
    SetRegistryDword(HKEY_CURRENT_USER, kKey, u"AllBits", 0xFFFFFFFF);
    SetRegistryString(HKEY_CURRENT_USER, kKey, u"Text", u"1");
    BYTE one = 3;
    SetRegistryBytes(HKEY_CURRENT_USER, kKey, u"OneByte", REG_BINARY, &one, 1);
    ULONGLONG wide = 5;
    SetRegistryBytes(HKEY_CURRENT_USER, kKey, u"Qword", REG_QWORD, &wide, sizeof(wide));

    CRegistryKey key;
    DWORD value = 99;
    EXPECT_FALSE(key.ReadDword(_T("Dword"), value));  // not open yet
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    EXPECT_TRUE(key.ReadDword(_T("Dword"), value));
    EXPECT_EQ(value, 7u);
    EXPECT_TRUE(key.ReadDword(_T("Binary"), value));
    EXPECT_EQ(value, 8u);
    EXPECT_TRUE(key.ReadDword(_T("AllBits"), value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    for (LPCTSTR bad : {_T("Text"), _T("OneByte"), _T("Qword"), _T("Missing")})
    {
        value = 99;
        EXPECT_FALSE(key.ReadDword(bad, value)) << bad;
        EXPECT_EQ(value, 99u) << bad;
    }

    // Binary reads: the default first; a value too large for the buffer
    // leaves it whole.
    DWORD defaultValue = 0x11223344;
    DWORD buffer = 0;
    DWORD size = sizeof(buffer);
    EXPECT_FALSE(key.ReadBinary(_T("Qword"), &defaultValue, size, &buffer));
    EXPECT_EQ(buffer, 0x11223344u);
    size = sizeof(buffer);
    EXPECT_TRUE(key.ReadBinary(_T("OneByte"), &defaultValue, size, &buffer));
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(buffer, 0x11223303u);
}

TEST(RegistryKey, StringsAreCutToWholeCharactersAndOnlyReadFromText)
{
    RegistryRedirect hives;
    // Stored without its terminating zero, and with an odd byte count.
    const char16_t bare[] = {u'v', u'i', u's', u't', u'a'};
    SetRegistryBytes(HKEY_CURRENT_USER, kKey, u"Bare", REG_SZ, bare, sizeof(bare));
    SetRegistryBytes(HKEY_CURRENT_USER, kKey, u"Odd", REG_SZ, bare, sizeof(bare) - 1);
    SetRegistryString(HKEY_CURRENT_USER, kKey, u"Long", std::u16string(5000, u'x') + u"tail");
    // A musical symbol (a surrogate pair) straddling the limit of 3.
    SetRegistryString(HKEY_CURRENT_USER, kKey, u"Pair", u"ab\xD834\xDD1E");
    SetRegistryString(HKEY_CURRENT_USER, kKey, u"Zero", std::u16string(u"one\0two", 7));
    SetRegistryDword(HKEY_CURRENT_USER, kKey, u"Number", 0x00410041);

    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    CString text;
    EXPECT_TRUE(key.ReadString(_T("Bare"), nullptr, text, 1024));
    EXPECT_EQ(CString(text), CString(_T("vista")));
    EXPECT_TRUE(key.ReadString(_T("Odd"), nullptr, text, 1024));
    EXPECT_EQ(CString(text), CString(_T("vist")));
    EXPECT_TRUE(key.ReadString(_T("Long"), nullptr, text, 1024));
    EXPECT_EQ(text.GetLength(), 1024);
    EXPECT_EQ(text.Find(_T("tail")), -1);
    EXPECT_TRUE(key.ReadString(_T("Pair"), nullptr, text, 3));
    EXPECT_EQ(CString(text), CString(_T("ab")));
    EXPECT_TRUE(key.ReadString(_T("Zero"), nullptr, text, 1024));
    EXPECT_EQ(CString(text), CString(_T("one")));

    // Another type, or nothing there: the default, and FALSE.
    EXPECT_FALSE(key.ReadString(_T("Number"), _T("vista.qvstyles"), text, 1024));
    EXPECT_EQ(CString(text), CString(_T("vista.qvstyles")));
    text = _T("kept");
    EXPECT_FALSE(key.ReadString(_T("Missing"), nullptr, text, 1024));
    EXPECT_EQ(CString(text), CString(_T("kept")));
}

TEST(RegistryKey, WritesGoWhereTheKeyMayBeWritten)
{
    RegistryRedirect hives;
    CRegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.WriteDword(_T("RibbonStyle"), 1));
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey, KEY_WRITE));
    EXPECT_TRUE(key.WriteDword(_T("RibbonStyle"), 32803));
    EXPECT_TRUE(key.WriteString(_T("Skin"), _T("caf\x00e9.qvstyles")));
    BYTE bytes[3] = {1, 2, 3};
    EXPECT_TRUE(key.WriteBinary(_T("Blob"), bytes, sizeof(bytes)));
    key.Close();
    EXPECT_FALSE(key.IsOpen());

    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    DWORD value = 0;
    EXPECT_TRUE(key.ReadDword(_T("RibbonStyle"), value));
    EXPECT_EQ(value, 32803u);
    CString text;
    EXPECT_TRUE(key.ReadString(_T("Skin"), nullptr, text, 1024));
    EXPECT_EQ(CString(text), CString(_T("caf\x00e9.qvstyles")));
    BYTE back[3] = {};
    DWORD size = sizeof(back);
    EXPECT_TRUE(key.ReadBinary(_T("Blob"), nullptr, size, back));
    EXPECT_EQ(back[2], 3);

    // A key no one may write: opening it for writing fails, even by Create.
    ASSERT_TRUE(MakeKeyReadOnly(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_FALSE(key.Create(HKEY_LOCAL_MACHINE, kKey, KEY_WRITE));
    EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kKey, KEY_READ));
}
