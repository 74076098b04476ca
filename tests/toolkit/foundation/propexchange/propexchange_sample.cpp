#include "propexchange_sample.h"
#include "tests/support/child_process.h"

#include <cstring>

#include "sondrel_gtest.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"

IMPLEMENT_SERIAL(CTestShape, CObject, 1)
IMPLEMENT_SERIAL(CTestCircle, CTestShape, 1)
IMPLEMENT_SERIAL(CTestIntruder, CObject, 1)

int CTestIntruder::s_nCreated = 0;

void CTestCircle::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_nRadius;
    else
        ar >> m_nRadius;
}

Sample Sample::Filled(Store store)
{
    Sample s;
    s.bEnabled = TRUE;
    s.nAlpha = 200;
    s.nOffset = -1;
    s.nWidth = -123456;
    s.nSame = 7;
    s.fRatio = 0.1234567f;
    s.dScale = 1.0 / 3.0;
    if (store == Store::Archive)
        s.cyPrice.int64 = 1234567890123LL;
    if (store != Store::Registry)
    {
        s.dtWhen = COleDateTime(2024, 3, 5, 14, 7, 9);
        s.varExtra = store == Store::Archive ? COleVariant(u"variant text") : COleVariant(u"variant text");
        if (store == Store::Archive)
        {
            VARIANT v;
            ::VariantInit(&v);
            v.vt = VT_I4;
            v.lVal = 4242;
            s.varExtra = v;
        }
    }
    // Blanks at both ends: the INI reader trims them unless they are quoted.
    s.strTitle = u" a\\b\nc\td \u00FC\u20AC \\n ";
    s.strEmpty = u"";
    s.rcBounds = {1, -2, 300, 4000};
    s.szExtent = {640, 480};
    if (store == Store::Xml)
        s.strNote = u"line1\nline2\\x";
    for (int i = 0; i < 256; ++i)
        s.blob.push_back(static_cast<BYTE>(i));
    s.blob.push_back(0);
    s.items = {u"first", u"second", u"third"};
    s.nDepth = 2;
    s.pKind = RUNTIME_CLASS(CTestCircle);
    s.nRadius = 17;
    return s;
}

void ExchangeSample(CQVTPropExchange* pPX, Store store, Sample& s, bool bExpect)
{
#define CHECK(x)                                                                                             \
    do                                                                                                       \
    {                                                                                                        \
        BOOL bOk_ = (x);                                                                                     \
        if (bExpect)                                                                                         \
        {                                                                                                    \
            EXPECT_TRUE(bOk_);                                                                               \
        }                                                                                                    \
    } while (0)
    const bool bArchive = store == Store::Archive;
    const bool bText = store == Store::Xml || store == Store::Ini;
    pPX->ExchangeSchema();
    CHECK(PropExchangeBool(pPX, u"Enabled", s.bEnabled, FALSE));
    CHECK(PropExchangeByte(pPX, u"Alpha", s.nAlpha, 0));
    CHECK(PropExchangeShort(pPX, u"Offset", s.nOffset, 0));
    CHECK(PropExchangeInt(pPX, u"Width", s.nWidth, 0));
    CHECK(PropExchangeInt(pPX, u"Same", s.nSame, 7));
    float fDefault = 0;
    CHECK(pPX->ExchangeProp(u"Ratio", VT_R4, &s.fRatio, &fDefault));
    double dDefault = 0;
    CHECK(pPX->ExchangeProp(u"Scale", VT_R8, &s.dScale, &dDefault));
    if (bArchive)
        CHECK(pPX->ExchangeProp(u"Price", VT_CY, &s.cyPrice, nullptr));
    if (bArchive || bText)
    {
        COleDateTime dtDefault;
        CHECK(pPX->ExchangeProp(u"When", VT_DATE, &s.dtWhen, &dtDefault));
        COleVariant varDefault;
        CHECK(pPX->ExchangeProp(u"Extra", VT_VARIANT, &s.varExtra, &varDefault));
    }
    CHECK(PropExchangeString(pPX, u"Title", s.strTitle, u""));
    CHECK(PropExchangeString(pPX, u"Empty", s.strEmpty, u"none"));
    RECT rcDefault = {};
    CHECK(pPX->ExchangeProp(u"Bounds", VT_QVT_RECT, &s.rcBounds, &rcDefault));
    CHECK(PropExchangeSize(pPX, u"Extent", s.szExtent, SIZE{0, 0}));
    if (store == Store::Xml)
    {
        BSTR bstr = pPX->IsLoading() ? nullptr : ::SysAllocString(s.strNote);
        CHECK(PropExchangeBstr(pPX, u"Note", bstr, u""));
        if (pPX->IsLoading())
            s.strNote = bstr;
        ::SysFreeString(bstr);
    }

    BYTE* pData = pPX->IsLoading() ? nullptr : s.blob.data();
    DWORD nBytes = static_cast<DWORD>(s.blob.size());
    CHECK(ExchangeBlobRaw(pPX, u"Data", pData, nBytes));
    if (pPX->IsLoading() && pData != nullptr)
    {
        s.blob.assign(pData, pData + nBytes);
        free(pData);
    }

    CHECK(PropExchangeRuntimeClass(pPX, u"Kind", s.pKind, RUNTIME_CLASS(CTestShape)));

    {
        CQVTPropExchangeSection child(pPX->GetSection(u"Child"));
        CHECK(PropExchangeInt(&child, u"Depth", s.nDepth, 0));
        CQVTPropExchangeEnumeratorPtr items(child->GetEnumerator(u"Item"));
        POSITION pos = items->GetPosition(static_cast<DWORD>(s.items.size()));
        if (pPX->IsLoading())
            s.items.clear();
        size_t nIndex = 0;
        while (pos != nullptr)
        {
            CQVTPropExchangeSection item(items->GetNext(pos));
            CString strItem = pPX->IsLoading() ? CString() : s.items[nIndex++];
            CHECK(PropExchangeString(&item, u"Text", strItem, u""));
            if (pPX->IsLoading())
                s.items.push_back(strItem);
        }
    }
    {
        CQVTPropExchangeSection shape(pPX->GetSection(u"Shape"));
        CObject* pObject = nullptr;
        CTestCircle circle;
        circle.m_nRadius = s.nRadius;
        if (!pPX->IsLoading())
            pObject = &circle;
        CHECK(shape->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
        CTestCircle* pCircle = dynamic_cast<CTestCircle*>(pObject);
        if (bExpect)
        {
            EXPECT_NE(pCircle, nullptr);
        }
        if (pCircle == nullptr)
        {
            if (pObject != &circle)
                delete pObject;
            return;
        }
        CHECK(PropExchangeInt(&shape, u"Radius", pCircle->m_nRadius, 0));
        if (pPX->IsLoading())
        {
            s.nRadius = pCircle->m_nRadius;
            delete pCircle;
        }
    }
}
#undef CHECK

void ExpectSameSample(const Sample& e, const Sample& a, Store store)
{
    EXPECT_EQ(a.bEnabled, e.bEnabled);
    EXPECT_EQ(a.nAlpha, e.nAlpha);
    EXPECT_EQ(a.nOffset, e.nOffset);
    EXPECT_EQ(a.nWidth, e.nWidth);
    EXPECT_EQ(a.nSame, e.nSame);
    EXPECT_EQ(a.fRatio, e.fRatio);  // bit for bit, whatever the store
    EXPECT_EQ(a.dScale, e.dScale);
    EXPECT_EQ(a.cyPrice.int64, e.cyPrice.int64);
    EXPECT_EQ(a.dtWhen.GetStatus(), e.dtWhen.GetStatus());
    EXPECT_NEAR(a.dtWhen.m_dt, e.dtWhen.m_dt, 1e-9);
    EXPECT_TRUE(a.varExtra == e.varExtra);
    EXPECT_EQ(std::u16string(a.strTitle.GetString()), std::u16string(e.strTitle.GetString()));
    EXPECT_EQ(std::u16string(a.strEmpty.GetString()), std::u16string(e.strEmpty.GetString()));
    EXPECT_EQ(0, std::memcmp(&a.rcBounds, &e.rcBounds, sizeof(RECT)));
    EXPECT_EQ(a.szExtent.cx, e.szExtent.cx);
    EXPECT_EQ(a.szExtent.cy, e.szExtent.cy);
    EXPECT_EQ(std::u16string(a.strNote.GetString()), std::u16string(e.strNote.GetString()));
    EXPECT_EQ(a.blob, e.blob);
    ASSERT_EQ(a.items.size(), e.items.size());
    for (size_t i = 0; i < a.items.size(); ++i)
        EXPECT_EQ(std::u16string(a.items[i].GetString()), std::u16string(e.items[i].GetString()));
    EXPECT_EQ(a.nDepth, e.nDepth);
    EXPECT_EQ(a.pKind, e.pKind);
    EXPECT_EQ(a.nRadius, e.nRadius);
}

void LoadAnything(CQVTPropExchange* pPX, Store store)
{
    if (store == Store::Archive)
    {
        // Positional: only the order of the save reaches every reader.
        Sample sample;
        ExchangeSample(pPX, store, sample, false);
        return;
    }
    pPX->ExchangeSchema();
    int n = 0;
    BOOL b = FALSE;
    CString str;
    RECT rc = {};
    SIZE sz = {};
    double d = 0;
    COleDateTime dt;
    COleVariant var;
    PropExchangeBool(pPX, u"Enabled", b, FALSE);
    PropExchangeInt(pPX, u"Width", n, 0);
    pPX->ExchangeProp(u"Scale", VT_R8, &d, &d);
    if (store != Store::Registry)
    {
        pPX->ExchangeProp(u"When", VT_DATE, &dt, nullptr);
        pPX->ExchangeProp(u"Extra", VT_VARIANT, &var, nullptr);
    }
    PropExchangeString(pPX, u"Title", str, u"");
    pPX->ExchangeProp(u"Bounds", VT_QVT_RECT, &rc, &rc);
    PropExchangeSize(pPX, u"Extent", sz, sz);
    BYTE* pData = nullptr;
    DWORD nBytes = 0;
    if (ExchangeBlobRaw(pPX, u"Data", pData, nBytes))
        free(pData);
    BYTE block[16];
    pPX->ReadBlock(u"Data", block, sizeof block);
    CRuntimeClass* pClass = nullptr;
    PropExchangeRuntimeClass(pPX, u"Kind", pClass, RUNTIME_CLASS(CTestShape));
    CQVTPropExchangeSection child(pPX->GetSection(u"Child"));
    CQVTPropExchangeEnumeratorPtr items(child->GetEnumerator(u"Item"));
    POSITION pos = items->GetPosition(0);
    // A forged count must not make this walk forever: each item reads
    // something or the store says it has nothing.
    for (int i = 0; pos != nullptr && i < 2000; ++i)
    {
        CQVTPropExchangeSection item(items->GetNext(pos));
        PropExchangeString(&item, u"Text", str, u"");
    }
    CQVTPropExchangeSection shape(pPX->GetSection(u"Shape"));
    CObject* pObject = nullptr;
    if (shape->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)))
    {
        EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CTestShape)));
        delete pObject;
    }
}

std::string SaveArchive(const std::function<void(CQVTPropExchange*)>& body)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CQVTPropExchangeArchive px(ar);
        body(&px);
        ar.Close();
    }
    size_t n = static_cast<size_t>(file.GetLength());
    BYTE* p = file.Detach();
    std::string bytes(reinterpret_cast<char*>(p), n);
    free(p);
    return bytes;
}

std::u16string TempPath(const char16_t* pszName)
{
    WCHAR szFolder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szFolder);
    return std::u16string(szFolder) + pszName;
}

std::string ReadFileBytes(const std::u16string& path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        bytes.append(buf, n);
    CloseHandle(h);
    return bytes;
}

void WriteFileBytes(const std::u16string& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

DWORD RunChild(const char16_t* pszTest, const char16_t* pszVariable, const std::u16string& value)
{
    return RunTestInChildProcess(pszTest, pszVariable, value);
}
