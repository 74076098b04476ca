// Every value type through every store, in this process and in a second one
// that reads what the first wrote.
#include <afxwin.h>

#include "propexchange_sample.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeIniFile.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

namespace {
const char16_t kChildVariable[] = u"SONDREL_PROPEXCHANGE_CHILD";
const char16_t kRegistryRoot[] = u"Software\\SondrelTests\\PropExchange";

HKEY OpenTestRoot()
{
    HKEY hKey = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryRoot, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &hKey,
                    nullptr);
    return hKey;
}

void Save(Store store, const std::u16string& where, Sample sample)
{
    switch (store)
    {
    case Store::Xml:
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, u"Settings");
        ExchangeSample(&px, store, sample);
        ASSERT_TRUE(px.SaveToFile(where.c_str()));
        break;
    }
    case Store::Archive:
        try
        {
            CFile file(where.c_str(), CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store);
            CQVTPropExchangeArchive px(ar);
            ExchangeSample(&px, store, sample);
            ar.Close();
        }
        catch (CException* e)
        {
            ADD_FAILURE() << "saving raised " << e->GetRuntimeClass()->m_lpszClassName << " cause "
                          << (e->IsKindOf(RUNTIME_CLASS(CArchiveException))
                                  ? static_cast<CArchiveException*>(e)->m_cause
                                  : -1);
            e->Delete();
        }
        break;
    case Store::Registry:
    {
        HKEY hRoot = OpenTestRoot();
        ASSERT_NE(hRoot, nullptr);
        RegDeleteTreeW(hRoot, where.c_str());
        {
            CQVTPropExchangeRegistry px(FALSE, hRoot, where.c_str());
            ExchangeSample(&px, store, sample);
        }
        RegCloseKey(hRoot);
        break;
    }
    case Store::Ini:
    {
        DeleteFileW(where.c_str());
        CQVTPropExchangeIniFile px(FALSE, nullptr, u"Settings");
        px.SetIniFileName(where.c_str());
        ExchangeSample(&px, store, sample);
        break;
    }
    }
}

Sample Load(Store store, const std::u16string& where)
{
    Sample sample;
    switch (store)
    {
    case Store::Xml:
    {
        CQVTPropExchangeXMLNode px(TRUE, nullptr, u"Settings");
        EXPECT_TRUE(px.LoadFromFile(where.c_str()));
        ExchangeSample(&px, store, sample);
        break;
    }
    case Store::Archive:
        try
        {
            CFile file(where.c_str(), CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            CQVTPropExchangeArchive px(ar);
            ExchangeSample(&px, store, sample);
        }
        catch (CException* e)
        {
            ADD_FAILURE() << "loading raised " << e->GetRuntimeClass()->m_lpszClassName << " cause "
                          << (e->IsKindOf(RUNTIME_CLASS(CArchiveException))
                                  ? static_cast<CArchiveException*>(e)->m_cause
                                  : -1);
            e->Delete();
        }
        break;
    case Store::Registry:
    {
        HKEY hRoot = OpenTestRoot();
        {
            CQVTPropExchangeRegistry px(TRUE, hRoot, where.c_str());
            ExchangeSample(&px, store, sample);
        }
        RegCloseKey(hRoot);
        break;
    }
    case Store::Ini:
    {
        CQVTPropExchangeIniFile px(TRUE, nullptr, u"Settings");
        px.SetIniFileName(where.c_str());
        ExchangeSample(&px, store, sample);
        break;
    }
    }
    return sample;
}

std::u16string Where(Store store)
{
    return StorePlace(store, u"propexchange-roundtrip", u"RoundTrip").GetString();
}

}  // namespace

class RoundTrip : public testing::TestWithParam<Store>
{
protected:
    ComScope m_com;
};

TEST_P(RoundTrip, EveryValueComesBackInThisProcessAndInAnother)
{
    Store store = GetParam();
    std::u16string where = Where(store);
    Sample expected = Sample::Filled(store);
    Save(store, where, expected);
    ExpectSameSample(expected, Load(store, where), store);

    std::u16string marker = TempPath(u"propexchange-child.ok");
    DeleteFileW(marker.c_str());
    std::u16string value =
        std::u16string(1, static_cast<char16_t>(u'0' + static_cast<int>(store))) + u"|" + where;
    EXPECT_EQ(RunChild(u"PropExchangeChild.ReadsWhatTheParentWrote", kChildVariable, value), 0u);
    EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the child did not run its test";
    DeleteFileW(marker.c_str());
}

INSTANTIATE_TEST_SUITE_P(Stores, RoundTrip,
                         testing::Values(Store::Xml, Store::Archive, Store::Registry, Store::Ini));

// Runs only in the second process that the round trip starts.
TEST(PropExchangeChild, ReadsWhatTheParentWrote)
{
    WCHAR szValue[1024] = {};
    if (GetEnvironmentVariableW(kChildVariable, szValue, 1024) == 0)
        GTEST_SKIP() << "runs only as the second process of a round trip";
    ComScope com;
    std::u16string value(szValue);
    Store store = static_cast<Store>(value[0] - u'0');
    ExpectSameSample(Sample::Filled(store), Load(store, value.substr(2)), store);
    if (!HasFailure())
        WriteFileBytes(TempPath(u"propexchange-child.ok"), "ok");
}
