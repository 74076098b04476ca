// The archive store: its exact byte layout, the schema magic, and damaged
// or forged streams.
#include <afxwin.h>

#include <cstring>
#include <functional>

#include "propexchange_sample.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"

namespace {
void LoadArchive(const std::string& bytes, const std::function<void(CQVTPropExchange*)>& body)
{
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CQVTPropExchangeArchive px(ar);
    body(&px);
}

// The cause of the archive exception a load raises, or -1 when none.
int LoadCause(const std::string& bytes, const std::function<void(CQVTPropExchange*)>& body)
{
    try
    {
        LoadArchive(bytes, body);
    }
    catch (CArchiveException* e)
    {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return -1;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
}  // namespace

TEST(PropExchangeArchive, WritesTheFrameworkLayout)
{
    std::string bytes = SaveArchive([](CQVTPropExchange* px) {
        px->ExchangeSchema();
        int n = 5;
        PropExchangeInt(px, u"Value", n, 5);
        CString str = u"ab";
        PropExchangeString(px, u"Text", str, u"");
    });
    EXPECT_EQ(bytes, Bytes({0xBF, 0xAD, 0xF0, 0x0F, 0x2B, 0, 0,    0, 5,    0,
                            0,    0,    0xFF, 0xFE, 0xFF, 2, 0x61, 0, 0x62, 0}));

    LoadArchive(Bytes({5, 0, 0, 0}), [](CQVTPropExchange* px) {
        px->ExchangeSchema();
        EXPECT_EQ(px->GetSchema(), 17u);
        int n = 0;
        EXPECT_TRUE(PropExchangeInt(px, u"Value", n, 0));
        EXPECT_EQ(n, 5);
    });
    EXPECT_EQ(LoadCause(Bytes({0xBF, 0xAD}), [](CQVTPropExchange* px) { px->ExchangeSchema(); }),
              CArchiveException::endOfFile);
}

TEST(PropExchangeArchive, BstrsAreRefusedInsteadOfSilentlyDropped)
{
    std::string bytes = SaveArchive([](CQVTPropExchange* px) {
        BSTR bstr = SysAllocString(u"lost");
        EXPECT_FALSE(PropExchangeBstr(px, u"Note", bstr, u""));
        SysFreeString(bstr);
        BYTE by = 9;
        PropExchangeByte(px, u"After", by, 0);
    });
    EXPECT_EQ(bytes, Bytes({9}));
}

TEST(PropExchangeArchive, BlocksAndBlobsReportWhatWasRead)
{
    std::string bytes = SaveArchive([](CQVTPropExchange* px) {
        BYTE data[4] = {1, 2, 3, 4};
        px->WriteBlock(u"Block", data, 4);
    });
    LoadArchive(bytes, [](CQVTPropExchange* px) {
        BYTE buffer[16] = {};
        EXPECT_EQ(px->ReadBlock(u"Block", buffer, sizeof buffer), 4u);
        EXPECT_EQ(buffer[3], 4);
    });

    // A forged count bigger than the stream: refused, nothing reserved for it.
    LoadArchive(Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F, 1, 2, 3}), [](CQVTPropExchange* px) {
        BYTE* p = nullptr;
        DWORD n = 0;
        EXPECT_FALSE(px->ExchangeBlob(u"Blob", p, n));
        EXPECT_EQ(p, nullptr);
    });
    // A blob too big for the caller's buffer is refused, and what follows it
    // is still read from its own place.
    LoadArchive(Bytes({3, 0, 1, 2, 3, 7, 0, 0, 0}), [](CQVTPropExchange* px) {
        BYTE tiny[2] = {};
        BYTE* p = tiny;
        DWORD n = sizeof tiny;
        EXPECT_FALSE(px->ExchangeBlob(u"Blob", p, n));
        int nAfter = 0;
        EXPECT_TRUE(PropExchangeInt(px, u"After", nAfter, 0));
        EXPECT_EQ(nAfter, 7);
    });
    // A string that claims two billion characters.
    EXPECT_EQ(LoadCause(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F, 0x61, 0}),
                        [](CQVTPropExchange* px) {
                            CString str;
                            PropExchangeString(px, u"Text", str, u"");
                        }),
              CArchiveException::endOfFile);
}

TEST(PropExchangeArchive, ObjectInstancesKeepTheirClassFamilyAndSchema)
{
    std::string good = SaveArchive([](CQVTPropExchange* px) {
        CTestCircle circle;
        CObject* pObject = &circle;
        EXPECT_TRUE(px->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
    });
    LoadArchive(good, [](CQVTPropExchange* px) {
        CObject* pObject = nullptr;
        EXPECT_TRUE(px->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
        ASSERT_NE(pObject, nullptr);
        EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CTestCircle)));
        EXPECT_EQ(px->GetSchema(), 1u);
        delete pObject;
    });

    std::string intruder = SaveArchive([](CQVTPropExchange* px) {
        CTestIntruder object;
        CRuntimeClass* pClass = RUNTIME_CLASS(CTestIntruder);
        EXPECT_TRUE(px->ExchangeRuntimeClass(u"Class", pClass, RUNTIME_CLASS(CObject)));
        (void)object;
    });
    int nCreated = CTestIntruder::s_nCreated;
    EXPECT_EQ(LoadCause(intruder,
                        [](CQVTPropExchange* px) {
                            CObject* pObject = nullptr;
                            px->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape));
                        }),
              CArchiveException::badClass);
    EXPECT_EQ(CTestIntruder::s_nCreated, nCreated);
}

TEST(PropExchangeArchive, ForgedVariantsAndDatesEndInAnArchiveError)
{
    const VARTYPE kTypes[] = {VT_BSTR,          VT_DISPATCH, VT_UNKNOWN, VT_ARRAY | VT_I4,
                              VT_BYREF | VT_I4, 0x7FFF,      VT_DECIMAL};
    for (VARTYPE vt : kTypes)
    {
        for (UINT nForged : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 3u})
        {
            std::string bytes(reinterpret_cast<const char*>(&vt), 2);
            bytes.append(reinterpret_cast<const char*>(&nForged), 4);
            bytes += "abc";
            try
            {
                LoadArchive(bytes, [](CQVTPropExchange* px) {
                    COleVariant var;
                    px->ExchangeProp(u"Extra", VT_VARIANT, &var, nullptr);
                });
            }
            catch (CException* e)
            {
                e->Delete();
            }
        }
    }
    int nCause = LoadCause(Bytes({0, 0, 0, 0, 0, 0, 0xF0}), [](CQVTPropExchange* px) {
        COleDateTime dt;
        px->ExchangeProp(u"When", VT_DATE, &dt, nullptr);
    });
    EXPECT_EQ(nCause, CArchiveException::endOfFile);
}
