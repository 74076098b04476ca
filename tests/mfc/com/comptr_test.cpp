// _com_ptr_t and _com_error against real Wine COM objects.
#include <comdef.h>

#include <cstring>

#include "sondrel_gtest.h"
#include "thrown_hresult.h"

_COM_SMARTPTR_TYPEDEF(IPersistStreamInit, __uuidof(IPersistStreamInit));
_COM_SMARTPTR_TYPEDEF(IEnumString, IID_IEnumString);

namespace {

// The XML DOM document classes (6.0 and 3.0), reached through IDispatch.
const CLSID kDomDocument60 = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};

_variant_t Invoke(IDispatch* object, const OLECHAR* name, WORD flags, const _variant_t* arg = nullptr)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        _com_issue_error(hr);
    VARIANTARG args[1];
    if (arg)
        args[0] = *arg;
    DISPPARAMS params = {args, nullptr, arg ? 1u : 0u, 0};
    _variant_t result;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr, nullptr);
    if (FAILED(hr))
        _com_issue_error(hr);
    return result;
}

ULONG RefCount(IUnknown* p)
{
    p->AddRef();
    return p->Release();
}

}  // namespace

class ComPtrTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

namespace {

// Vouches for error information on IDispatch only.
class ErrorSource : public ISupportErrorInfo
{
public:
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISupportErrorInfo))
        {
            *ppv = static_cast<ISupportErrorInfo*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(--refs); }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
    }
};

}  // namespace

TEST_F(ComPtrTest, StreamReferenceCounts)
{
    IStream* raw = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &raw));
    {
        IStreamPtr stream(raw, false);  // takes the creation reference
        EXPECT_EQ(1u, RefCount(stream));
        {
            IStreamPtr copy = stream;
            EXPECT_EQ(2u, RefCount(stream));
            ISequentialStreamPtr sequential = stream;  // QueryInterface
            EXPECT_TRUE(sequential);
            EXPECT_EQ(3u, RefCount(stream));
            EXPECT_TRUE(sequential == stream);
            IUnknownPtr unknown(stream);
            EXPECT_TRUE(unknown == copy);
        }
        EXPECT_EQ(1u, RefCount(stream));

        ULONG written = 0;
        EXPECT_EQ(S_OK, stream->Write("abc", 3, &written));
        EXPECT_EQ(3u, written);

        IStreamPtr clone;
        ASSERT_EQ(S_OK, stream->Clone(&clone));
        EXPECT_FALSE(clone == stream);
        // operator& releases the old pointer before the callee fills it.
        ASSERT_EQ(S_OK, stream->Clone(&clone));
        EXPECT_EQ(1u, RefCount(clone));

        IStream* detached = clone.Detach();
        EXPECT_TRUE(clone == nullptr);
        clone.Attach(detached);
        EXPECT_EQ(1u, RefCount(clone));
        clone.AddRef();
        EXPECT_EQ(2u, RefCount(clone));
        clone->Release();
        clone.Release();
        EXPECT_TRUE(!clone);

        // A stream is no dispatch object: E_NOINTERFACE leaves the pointer empty.
        IDispatchPtr notDispatch(stream);
        EXPECT_TRUE(notDispatch == NULL);
        EXPECT_EQ(1u, RefCount(stream));
    }
}

TEST_F(ComPtrTest, EmptyPointerRaisesThroughTheComError)
{
    IStreamPtr empty;
    EXPECT_EQ(E_POINTER, ThrownHResult([&] { empty->Commit(0); }));
    EXPECT_EQ(E_POINTER, ThrownHResult([&] { empty.Release(); }));
    IStreamPtr fromNull = NULL;
    EXPECT_TRUE(fromNull == 0);
    fromNull = NULL;
    EXPECT_FALSE(fromNull != NULL);
    EXPECT_EQ(nullptr, empty.GetInterfacePtr());
}

TEST_F(ComPtrTest, CreatesDomDocumentsByClassIdAndProgId)
{
    IDispatchPtr doc;
    ASSERT_EQ(S_OK, doc.CreateInstance(kDomDocument60, nullptr, CLSCTX_INPROC_SERVER));
    _variant_t xml(u"<profiles><profile name=\"MP3\"/></profiles>");
    EXPECT_TRUE(bool(Invoke(doc, u"loadXML", DISPATCH_METHOD, &xml)));
    _bstr_t text = Invoke(doc, u"xml", DISPATCH_PROPERTYGET);
    EXPECT_NE(nullptr, strstr(static_cast<const char*>(text), "<profile name=\"MP3\"/>"));

    IDispatchPtr byProgId("Msxml2.DOMDocument.3.0");
    EXPECT_TRUE(byProgId);
    IDispatchPtr byString;
    EXPECT_EQ(S_OK, byString.CreateInstance(u"{F5078F32-C551-11D3-89B9-0000F81FE221}"));  // 3.0
    EXPECT_TRUE(byString);
    EXPECT_FALSE(byString == byProgId);

    // Through a variant and back, keeping one object identity.
    _variant_t asVariant(static_cast<IDispatch*>(doc));
    EXPECT_EQ(VT_DISPATCH, asVariant.vt);
    IUnknownPtr back(asVariant);
    EXPECT_TRUE(back == doc);
    IPersistStreamInitPtr persist = back;
    EXPECT_TRUE(persist);
    // A document has no string enumerator: the pointer stays empty.
    IEnumStringPtr strings = doc;
    EXPECT_TRUE(strings == NULL);

    EXPECT_EQ(CO_E_CLASSSTRING, ThrownHResult([] { IDispatchPtr none(u"Sondrel.NoSuchClass"); }));
    IDispatchPtr none;
    EXPECT_EQ(CO_E_CLASSSTRING, none.CreateInstance("Sondrel.NoSuchClass"));
    EXPECT_EQ(DISP_E_UNKNOWNNAME, ThrownHResult([&] { Invoke(doc, u"noSuchMethod", DISPATCH_METHOD); }));
}

TEST_F(ComPtrTest, ComErrorCarriesErrorInfoAndMessages)
{
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(S_OK, CreateErrorInfo(&create));
    create->SetDescription(const_cast<LPOLESTR>(u"The device is busy"));
    create->SetSource(const_cast<LPOLESTR>(u"Sondrel.Engine"));
    IErrorInfoPtr info = create;
    create->Release();

    try
    {
        throw _com_error(E_FAIL, info, true);
    }
    catch (const _com_error& e)
    {
        EXPECT_EQ(E_FAIL, e.Error());
        EXPECT_STREQ("The device is busy", static_cast<const char*>(e.Description()));
        EXPECT_STREQ("Sondrel.Engine", static_cast<const char*>(e.Source()));
        IErrorInfo* fromError = e.ErrorInfo();
        EXPECT_EQ(info.GetInterfacePtr(), fromError);
        fromError->Release();
        _com_error copy = e;
        EXPECT_STREQ("The device is busy", static_cast<const char*>(copy.Description()));
    }

    _com_error noInfo(E_OUTOFMEMORY);
    EXPECT_TRUE(!noInfo.Description());
    const TCHAR* message = noInfo.ErrorMessage();
    ASSERT_NE(nullptr, message);
    EXPECT_NE(0, message[0]);
    EXPECT_EQ(message, noInfo.ErrorMessage());

    _com_error dispatch(_com_error::WCodeToHRESULT(5));
    EXPECT_EQ(5, dispatch.WCode());
    EXPECT_EQ(HRESULT(0x80040205), dispatch.Error());
    EXPECT_EQ(0, _com_error(E_FAIL).WCode());

    _com_error unknown(HRESULT(0xA0F0BEEF));
    EXPECT_STREQ("Unknown error 0xA0F0BEEF", static_cast<const char*>(_bstr_t(unknown.ErrorMessage())));

    // Without an object, or for an interface it doesn't vouch for, the
    // thread's error information is left alone.
    SetErrorInfo(0, info);
    ErrorSource source;
    try
    {
        _com_issue_errorex(E_ACCESSDENIED, nullptr, IID_IUnknown);
    }
    catch (const _com_error& e)
    {
        EXPECT_EQ(E_ACCESSDENIED, e.Error());
        EXPECT_TRUE(!e.Description());
    }
    try
    {
        _com_issue_errorex(E_ACCESSDENIED, &source, IID_IStream);
    }
    catch (const _com_error& e)
    {
        EXPECT_TRUE(!e.Description());
    }
    // The error information an object offers travels with the error.
    try
    {
        _com_issue_errorex(E_ACCESSDENIED, &source, IID_IDispatch);
    }
    catch (const _com_error& e)
    {
        EXPECT_EQ(E_ACCESSDENIED, e.Error());
        EXPECT_STREQ("The device is busy", static_cast<const char*>(e.Description()));
    }
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(1, source.refs);  // every reference taken was given back
}
