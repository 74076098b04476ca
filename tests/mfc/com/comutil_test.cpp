// _bstr_t and _variant_t over oleaut32.
#include <comdef.h>

#include <cstring>
#include <vector>

#include "sondrel_gtest.h"
#include "thrown_hresult.h"
#include "win_thread.h"

namespace {

bool SameText(const OLECHAR* a, const char16_t* b)
{
    if (!a || !b)
        return a == b;
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

}  // namespace

TEST(BstrT, CopiesShareUntilOneChanges)
{
    _bstr_t original(u"recorder");
    _bstr_t copy = original;
    EXPECT_EQ(static_cast<const OLECHAR*>(original), static_cast<const OLECHAR*>(copy));

    copy += u" one";
    EXPECT_TRUE(SameText(original, u"recorder"));
    EXPECT_TRUE(SameText(copy, u"recorder one"));

    _bstr_t third = original;
    third.Assign(_bstr_t(u"other").GetBSTR());
    EXPECT_TRUE(SameText(original, u"recorder"));

    // Writing through GetBSTR must not reach the other copies.
    _bstr_t fourth = original;
    BSTR& slot = fourth.GetBSTR();
    slot[0] = u'R';
    EXPECT_TRUE(SameText(fourth, u"Recorder"));
    EXPECT_TRUE(SameText(original, u"recorder"));

    // Detaching a shared string hands out a copy; the others keep theirs.
    _bstr_t fifth = original;
    BSTR detached = fifth.Detach();
    EXPECT_TRUE(!fifth);
    EXPECT_TRUE(SameText(detached, u"recorder"));
    EXPECT_NE(static_cast<const OLECHAR*>(original), detached);
    SysFreeString(detached);
    EXPECT_TRUE(SameText(original, u"recorder"));
}

TEST(BstrT, AttachDetachAndAddressOwnership)
{
    _bstr_t s;
    EXPECT_TRUE(!s);
    EXPECT_EQ(0u, s.length());
    EXPECT_EQ(nullptr, static_cast<const char*>(s));

    BSTR raw = SysAllocString(u"owned");
    s.Attach(raw);
    EXPECT_EQ(raw, static_cast<const OLECHAR*>(s));
    EXPECT_EQ(raw, s.Detach());
    SysFreeString(raw);

    // An [out] parameter filled through GetAddress is freed by the wrapper.
    _bstr_t out(u"old");
    *out.GetAddress() = SysAllocString(u"filled");
    EXPECT_TRUE(SameText(out, u"filled"));

    BSTR copied = out.copy();
    EXPECT_NE(copied, static_cast<const OLECHAR*>(out));
    SysFreeString(copied);
    EXPECT_EQ(static_cast<const OLECHAR*>(out), out.copy(false));

    // fCopy false takes ownership; embedded nulls survive.
    OLECHAR text[] = {u'a', 0, u'b'};
    _bstr_t embedded(SysAllocStringLen(text, 3), false);
    EXPECT_EQ(3u, embedded.length());
    _bstr_t embeddedCopy(static_cast<BSTR>(embedded), true);
    EXPECT_EQ(3u, embeddedCopy.length());
    EXPECT_TRUE(embedded == embeddedCopy);
}

TEST(BstrT, AnsiConversionsComparisonsAndConcatenation)
{
    _bstr_t fromAnsi("Record-001.mp3");
    EXPECT_TRUE(SameText(fromAnsi, u"Record-001.mp3"));
    const char* narrow = fromAnsi;
    EXPECT_STREQ("Record-001.mp3", narrow);
    EXPECT_EQ(narrow, static_cast<const char*>(fromAnsi));  // made once, owned by the string

    _bstr_t joined = "C:\\" + fromAnsi + _bstr_t(u".tmp");
    EXPECT_STREQ("C:\\Record-001.mp3.tmp", static_cast<const char*>(joined));
    EXPECT_EQ(21u, joined.length());

    EXPECT_TRUE(_bstr_t(u"abc") < _bstr_t(u"abd"));
    EXPECT_TRUE(_bstr_t(u"ab") < _bstr_t(u"abc"));
    EXPECT_TRUE(_bstr_t(u"b") > _bstr_t(u"abc"));
    EXPECT_TRUE(_bstr_t(u"x") == _bstr_t("x"));
    EXPECT_TRUE(_bstr_t(u"x") != _bstr_t(u"X"));
    // No string and the empty string compare equal; only the first is "!".
    _bstr_t none, empty(u"");
    EXPECT_TRUE(none == empty);
    EXPECT_TRUE(!none);
    EXPECT_FALSE(!empty);
    EXPECT_TRUE(SameText(none + empty, u""));
}

TEST(BstrT, SharedStringsSurviveThreadsCopyingAndDropping)
{
    _bstr_t shared(u"shared text for many threads");
    std::vector<WinThread> threads;
    volatile LONG mismatches = 0;
    for (int t = 0; t < 8; ++t)
    {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i)
            {
                _bstr_t a = shared;
                _bstr_t b(a);
                std::vector<_bstr_t> many(4, b);
                const char* narrow = many[i % 4];
                if (!narrow || strcmp(narrow, "shared text for many threads") != 0)
                    InterlockedIncrement(&mismatches);
                b = many[1];
            }
        });
    }
    threads.clear();
    EXPECT_EQ(0, mismatches);
    EXPECT_STREQ("shared text for many threads", static_cast<const char*>(shared));
}

TEST(VariantT, ConstructorsStoreTheExpectedTypes)
{
    EXPECT_EQ(VT_I2, _variant_t(short(3)).vt);
    EXPECT_EQ(VT_BOOL, _variant_t(short(3), VT_BOOL).vt);
    EXPECT_EQ(VARIANT_TRUE, _variant_t(short(3), VT_BOOL).boolVal);
    EXPECT_EQ(VT_I4, _variant_t(LONG(-5)).vt);
    EXPECT_EQ(VT_INT, _variant_t(7, VT_INT).vt);
    EXPECT_EQ(VT_ERROR, _variant_t(LONG(DISP_E_PARAMNOTFOUND), VT_ERROR).vt);
    EXPECT_EQ(VT_I4, _variant_t(42L).vt);                // Windows' long
    EXPECT_EQ(VT_I8, _variant_t(LONGLONG(1) << 40).vt);  // too wide for 32 bits
    EXPECT_EQ(LONGLONG(1) << 40, _variant_t(LONGLONG(1) << 40).llVal);
    EXPECT_EQ(VT_I8, _variant_t(LONGLONG(3), VT_I8).vt);
    EXPECT_EQ(VT_UI1, _variant_t(BYTE(200)).vt);
    EXPECT_EQ(VT_UI2, _variant_t((unsigned short)(9)).vt);
    EXPECT_EQ(VT_UI4, _variant_t(DWORD(9)).vt);
    EXPECT_EQ(VT_UINT, _variant_t(UINT(9), VT_UINT).vt);
    EXPECT_EQ(VT_UI8, _variant_t(ULONGLONG(1) << 33).vt);
    EXPECT_EQ(VT_R4, _variant_t(1.5f).vt);
    EXPECT_EQ(VT_R8, _variant_t(1.5).vt);
    EXPECT_EQ(VT_DATE, _variant_t(2.25, VT_DATE).vt);
    EXPECT_EQ(VT_BOOL, _variant_t(true).vt);
    EXPECT_EQ(VT_BSTR, _variant_t("ansi").vt);
    EXPECT_EQ(VT_BSTR, _variant_t(u"wide").vt);
    CY cy;
    cy.int64 = 12345;
    EXPECT_EQ(VT_CY, _variant_t(cy).vt);
    DECIMAL dec;
    VarDecFromI4(-77, &dec);
    _variant_t decimal(dec);
    EXPECT_EQ(VT_DECIMAL, decimal.vt);
    EXPECT_EQ(-77, int(decimal));
    EXPECT_EQ(E_INVALIDARG, ThrownHResult([] { _variant_t bad(short(1), VT_BSTR); }));
}

TEST(VariantT, ExtractorsConvertOrRaiseTheRightError)
{
    _variant_t number(u"42");
    EXPECT_EQ(42, long(number));
    EXPECT_EQ(42, LONG(number));
    EXPECT_EQ(42, short(number));
    EXPECT_DOUBLE_EQ(42.0, double(number));
    EXPECT_EQ(BYTE(42), BYTE(number));

    _variant_t word(u"recorder");
    EXPECT_EQ(DISP_E_TYPEMISMATCH, ThrownHResult([&] { (void)long(word); }));
    _variant_t big(LONG(70000));
    EXPECT_EQ(DISP_E_OVERFLOW, ThrownHResult([&] { (void)short(big); }));
    _variant_t null;
    null.vt = VT_NULL;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, ThrownHResult([&] { (void)double(null); }));
    // Empty converts to zero, as oleaut32 defines it.
    EXPECT_EQ(0, int(_variant_t()));

    _variant_t wide(LONGLONG(5000000000));
    EXPECT_EQ(5000000000L, long(wide));
    EXPECT_EQ(DISP_E_OVERFLOW, ThrownHResult([&] { (void)LONG(wide); }));

    _bstr_t text = _variant_t(LONG(-12));
    EXPECT_TRUE(SameText(text, u"-12"));
    EXPECT_TRUE(bool(_variant_t(LONG(1))));
    EXPECT_FALSE(bool(_variant_t(LONG(0))));

    _variant_t changed(LONG(7));
    changed.ChangeType(VT_BSTR);
    EXPECT_EQ(VT_BSTR, changed.vt);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, ThrownHResult([&] {
                  _variant_t w(u"x");
                  w.ChangeType(VT_I4);
              }));
    _variant_t converted;
    converted.ChangeType(VT_R8, &changed);
    EXPECT_DOUBLE_EQ(7.0, converted.dblVal);
}

TEST(VariantT, CopiesAttachDetachAndEquality)
{
    _variant_t a(u"text");
    _variant_t b = a;
    EXPECT_NE(a.bstrVal, b.bstrVal);  // deep copy
    EXPECT_TRUE(a == b);
    b = u"other";
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(_variant_t(LONG(1)) == _variant_t(short(1)));  // types differ
    EXPECT_TRUE(_variant_t(2.5) == _variant_t(2.5));

    VARIANT raw = a.Detach();
    EXPECT_EQ(VT_EMPTY, a.vt);
    _variant_t attached;
    attached.Attach(raw);
    EXPECT_EQ(VT_EMPTY, raw.vt);
    EXPECT_TRUE(attached == b || SameText(attached.bstrVal, u"text"));

    _variant_t taken(raw, false);
    EXPECT_EQ(VT_EMPTY, taken.vt);

    VARIANT* out = attached.GetAddress();
    EXPECT_EQ(VT_EMPTY, out->vt);
    out->vt = VT_BSTR;
    out->bstrVal = SysAllocString(u"from callee");  // freed by the wrapper

    _variant_t s;
    s.SetString("ansi");
    EXPECT_TRUE(SameText(s.bstrVal, u"ansi"));

    // Assignment of every kind releases what was there before.
    _variant_t reused(u"first");
    for (int i = 0; i < 1000; ++i)
    {
        reused = u"again";
        reused = LONG(i);
        reused = _bstr_t("more");
    }
    EXPECT_TRUE(SameText(_bstr_t(reused), u"more"));
}
