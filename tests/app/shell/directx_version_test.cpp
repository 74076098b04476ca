// The DirectX version: Wine's diagnostics provider, the system files'
// versions, the provider's answers that count as failed, and the text and
// packed forms.
#include <dxdiag.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sondrel_gtest.h"
#include "app/program/DirectXVersion.h"
#include "app/program/SondrelApp.h"

namespace {

const CLSID kClsidDxDiagProvider = {
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
const IID kIidDxDiagProvider = {0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
const IID kIidDxDiagContainer = {
    0x7D0F462F, 0x4064, 0x4862, {0xBC, 0x7F, 0x93, 0x3E, 0x50, 0x58, 0xC1, 0x0F}};

// A provider whose system container answers each property as the test says;
// its one object stands for the provider and both containers.
class CFakeDxDiag : public IDxDiagProvider, public IDxDiagContainer
{
public:
    std::function<HRESULT(LPCWSTR, VARIANT*)> m_answer;
    LONG m_nRefs = 1;

    // IUnknown, shared by both faces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidDxDiagProvider))
            *ppv = static_cast<IDxDiagProvider*>(this);
        else if (IsEqualIID(riid, kIidDxDiagContainer))
            *ppv = static_cast<IDxDiagContainer*>(this);
        else
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_nRefs); }
    ULONG STDMETHODCALLTYPE Release() override { return ::InterlockedDecrement(&m_nRefs); }

    // The provider.
    HRESULT STDMETHODCALLTYPE Initialize(DXDIAG_INIT_PARAMS* pParams) override
    {
        return pParams && pParams->dwSize == sizeof(DXDIAG_INIT_PARAMS) &&
                       pParams->dwDxDiagHeaderVersion == 111
                   ? S_OK
                   : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetRootContainer(IDxDiagContainer** ppInstance) override
    {
        AddRef();
        *ppInstance = this;
        return S_OK;
    }

    // The containers.
    HRESULT STDMETHODCALLTYPE GetNumberOfChildContainers(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumChildContainerNames(DWORD, LPWSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChildContainer(LPCWSTR lpszName, IDxDiagContainer** ppInstance) override
    {
        if (CString(lpszName) != _T("DxDiag_SystemInfo"))
            return E_INVALIDARG;
        AddRef();
        *ppInstance = this;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfProps(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumPropNames(DWORD, LPWSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProp(LPCWSTR lpszName, VARIANT* pVar) override
    {
        return m_answer(lpszName, pVar);
    }
};

// Hands out the fake, or fails every creation when there is none.
class CFakeFactory : public IClassFactory
{
public:
    explicit CFakeFactory(CFakeDxDiag* pFake) : m_pFake(pFake) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory))
        {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        return m_pFake ? m_pFake->QueryInterface(riid, ppv) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    CFakeDxDiag* m_pFake;
};

// The provider's class replaced for the test's life.
class CProviderStandIn
{
public:
    explicit CProviderStandIn(CFakeDxDiag* pFake) : m_factory(pFake)
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_hr = ::CoRegisterClassObject(kClsidDxDiagProvider, &m_factory, CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, &m_dwCookie);
    }
    ~CProviderStandIn()
    {
        if (SUCCEEDED(m_hr))
            ::CoRevokeClassObject(m_dwCookie);
        ::CoUninitialize();
    }
    HRESULT m_hr;

private:
    CFakeFactory m_factory;
    DWORD m_dwCookie = 0;
};

HRESULT AnswerVersion(LPCWSTR lpszName, VARIANT* pVar, VARTYPE vtNumbers, LPCWSTR lpszLetter)
{
    const CString strName(lpszName);
    if (strName == _T("dwDirectXVersionMajor") || strName == _T("dwDirectXVersionMinor"))
    {
        pVar->vt = vtNumbers;
        pVar->ulVal = strName == _T("dwDirectXVersionMajor") ? 8 : 1;
        return S_OK;
    }
    if (strName == _T("szDirectXVersionLetter"))
    {
        pVar->vt = VT_BSTR;
        pVar->bstrVal = ::SysAllocString(lpszLetter);
        return S_OK;
    }
    return E_INVALIDARG;
}

typedef std::array<WORD, 4> FileVersion;
typedef std::vector<std::pair<std::u16string, FileVersion>> SystemFiles;

// The system folder holds the files the test names, with their versions,
// and nothing else.
class CSystemFilesStandIn
{
public:
    explicit CSystemFilesStandIn(const SystemFiles& files)
    {
        std::map<std::u16string, FileVersion> byName(files.begin(), files.end());
        SetDirectXFileVersionQuery([byName](LPCTSTR lpszFile, FileVersion& version) {
            auto found = byName.find(lpszFile);
            if (found == byName.end())
                return FALSE;
            version = found->second;
            return TRUE;
        });
    }
    ~CSystemFilesStandIn() { SetDirectXFileVersionQuery(nullptr); }
};

std::string Narrow(const CString& text)
{
    return std::string(text.GetString(), text.GetString() + text.GetLength());
}

std::string VersionFromFiles(const SystemFiles& files)
{
    CSystemFilesStandIn standIn(files);
    DWORD dwMajor = 7, dwMinor = 7;
    TCHAR chLetter = _T('x');
    EXPECT_EQ(GetDirectXVersionViaFileVersions(dwMajor, dwMinor, chLetter), S_OK);
    CString strVersion;
    DWORD dwPacked = 0;
    FormatDirectXVersion(dwMajor, dwMinor, chLetter, strVersion, dwPacked);
    return Narrow(strVersion);
}

}  // namespace

// Each threshold at its exact value and one revision below it; the rows
// with two thresholds by a file of major version 4, 5 and neither.
TEST(DirectXVersion, TheFileChecksTakeEachThresholdToTheRevision)
{
    const FileVersion ddraw70 = {4, 7, 0, 700};
    struct Case
    {
        SystemFiles files;
        const char* pszVersion;
    };
    const Case cases[] = {
        {{}, "0.0"},
        {{{u"ddraw.dll", {4, 2, 0, 94}}}, "0.0"},
        {{{u"ddraw.dll", {4, 2, 0, 95}}}, "1.0"},
        {{{u"ddraw.dll", {4, 3, 0, 1096}}}, "2.0"},
        {{{u"ddraw.dll", {4, 4, 0, 68}}, {u"d3drg8x.dll", {4, 4, 0, 69}}}, "3.0"},
        {{{u"ddraw.dll", {4, 4, 0, 68}}, {u"d3drg8x.dll", {4, 4, 0, 70}}}, "3.0a"},
        {{{u"ddraw.dll", {4, 5, 0, 155}}}, "5.0"},
        {{{u"ddraw.dll", {4, 6, 0, 435}}}, "6.0"},
        {{{u"ddraw.dll", {4, 6, 0, 436}}, {u"dplayx.dll", {4, 6, 3, 517}}}, "6.1"},
        {{{u"ddraw.dll", {4, 6, 0, 436}}, {u"dplayx.dll", {4, 6, 3, 518}}}, "6.1a"},
        {{{u"ddraw.dll", {4, 7, 0, 699}}}, "6.1"},
        {{{u"ddraw.dll", ddraw70}, {u"dinput.dll", {4, 7, 0, 715}}}, "7.0"},
        {{{u"ddraw.dll", ddraw70}, {u"dinput.dll", {4, 7, 0, 716}}}, "7.0a"},
        // ddraw.dll 8.0: 4.08.0000.0400 or 5.01.2258.0400; major 5 passes
        // every one-threshold row before it.
        {{{u"ddraw.dll", {4, 8, 0, 399}}}, "7.0"},
        {{{u"ddraw.dll", {4, 8, 0, 400}}}, "8.0"},
        {{{u"ddraw.dll", {5, 1, 2258, 399}}}, "7.0"},
        {{{u"ddraw.dll", {5, 1, 2258, 400}}}, "8.0"},
        {{{u"ddraw.dll", {4, 9, 0, 0}}}, "8.0"},
        {{{u"ddraw.dll", {6, 0, 0, 0}}}, "7.0"},
        // d3d8.dll 8.1 and 8.1a.
        {{{u"d3d8.dll", {4, 8, 1, 880}}}, "0.0"},
        {{{u"d3d8.dll", {4, 8, 1, 881}}}, "8.1"},
        {{{u"d3d8.dll", {4, 8, 1, 900}}}, "8.1"},
        {{{u"d3d8.dll", {4, 8, 1, 901}}}, "8.1a"},
        {{{u"d3d8.dll", {5, 1, 2600, 880}}}, "0.0"},
        {{{u"d3d8.dll", {5, 1, 2600, 881}}}, "8.1"},
        {{{u"d3d8.dll", {5, 1, 2600, 900}}}, "8.1"},
        {{{u"d3d8.dll", {5, 1, 2600, 901}}}, "8.1a"},
        {{{u"d3d8.dll", {6, 0, 0, 0}}}, "0.0"},
        {{{u"mpg2splt.ax", {6, 3, 1, 884}}}, "0.0"},
        {{{u"mpg2splt.ax", {6, 3, 1, 885}}}, "8.1b"},
        // dpnet.dll 8.2: 4.09.0000.0134 or 5.02.3677.0134.
        {{{u"dpnet.dll", {4, 9, 0, 133}}}, "0.0"},
        {{{u"dpnet.dll", {4, 9, 0, 134}}}, "8.2"},
        {{{u"dpnet.dll", {5, 2, 3677, 133}}}, "0.0"},
        {{{u"dpnet.dll", {5, 2, 3677, 134}}}, "8.2"},
        {{{u"dpnet.dll", {6, 0, 0, 0}}}, "0.0"},
        // A later row wins; d3d9.dll of any version ends the checks at 9.0.
        {{{u"ddraw.dll", {5, 1, 2258, 400}}, {u"mpg2splt.ax", {6, 3, 1, 885}}}, "8.1b"},
        {{{u"d3d9.dll", {0, 0, 0, 0}}}, "9.0"},
        {{{u"dpnet.dll", {5, 2, 3677, 134}}, {u"d3d9.dll", {1, 0, 0, 0}}}, "9.0"},
    };
    for (const Case& c : cases)
    {
        std::string files;
        for (const auto& file : c.files)
            files += std::string(file.first.begin(), file.first.end()) + " " +
                     std::to_string(file.second[0]) + "." + std::to_string(file.second[1]) + "." +
                     std::to_string(file.second[2]) + "." + std::to_string(file.second[3]) + "; ";
        EXPECT_EQ(VersionFromFiles(c.files), c.pszVersion) << files;
    }
}

// What the support text and the crash report say: a version, or none.
TEST(DirectXVersion, NoFilesOfDirectXReadAsNotInstalled)
{
    CProviderStandIn noProvider(nullptr);
    ASSERT_EQ(noProvider.m_hr, S_OK);
    const std::pair<SystemFiles, LPCTSTR> cases[] = {
        {{}, _T("DirectX not installed")},
        {{{u"ddraw.dll", {4, 2, 0, 94}}}, _T("DirectX not installed")},
        {{{u"ddraw.dll", {4, 2, 0, 95}}}, _T("DirectX 1.0 installed")},
    };
    for (const auto& c : cases)
    {
        CSystemFilesStandIn standIn(c.first);
        CSondrelApp app;
        app.QueryDirectXText();
        EXPECT_EQ(Narrow(app.m_strDirectXText), Narrow(c.second));
    }
}

TEST(DirectXVersion, WinesProviderAndFilesGiveTheirVersions)
{
    CString strVersion;
    DWORD dwPacked = 1;
    ASSERT_EQ(GetDirectXVersion(strVersion, dwPacked), S_OK);
    EXPECT_EQ(strVersion, CString(_T("9.0c")));
    EXPECT_EQ(dwPacked, 0x090003u);

    // Wine's d3d9.dll makes the files say 9.0, whatever the older files say.
    DWORD dwMajor = 0, dwMinor = 7;
    TCHAR chLetter = _T('x');
    EXPECT_EQ(GetDirectXVersionViaFileVersions(dwMajor, dwMinor, chLetter), S_OK);
    EXPECT_EQ(dwMajor, 9u);
    EXPECT_EQ(dwMinor, 0u);
    EXPECT_EQ(chLetter, _T(' '));
}

TEST(DirectXVersion, AFailingProviderLeavesTheFilesToDecide)
{
    CProviderStandIn standIn(nullptr);
    ASSERT_EQ(standIn.m_hr, S_OK);
    DWORD dwMajor = 0, dwMinor = 0;
    TCHAR chLetter = _T(' ');
    EXPECT_EQ(GetDirectXVersionViaDxDiag(dwMajor, dwMinor, chLetter), E_FAIL);
    CString strVersion;
    DWORD dwPacked = 0;
    ASSERT_EQ(GetDirectXVersion(strVersion, dwPacked), S_OK);
    EXPECT_EQ(strVersion, CString(_T("9.0")));
    EXPECT_EQ(dwPacked, 0x090000u);
}

TEST(DirectXVersion, TheProviderCountsOnlyUnsignedNumbersAndALetter)
{
    CFakeDxDiag fake;
    CProviderStandIn standIn(&fake);
    ASSERT_EQ(standIn.m_hr, S_OK);

    // 8.1 and "B": lower-cased, the third letter packed as 2.
    fake.m_answer = [](LPCWSTR lpszName, VARIANT* pVar) {
        return AnswerVersion(lpszName, pVar, VT_UI4, u"B");
    };
    DWORD dwMajor = 0, dwMinor = 0;
    TCHAR chLetter = _T(' ');
    ASSERT_EQ(GetDirectXVersionViaDxDiag(dwMajor, dwMinor, chLetter), S_OK);
    EXPECT_EQ(dwMajor, 8u);
    EXPECT_EQ(dwMinor, 1u);
    CString strVersion;
    DWORD dwPacked = 0;
    ASSERT_EQ(GetDirectXVersion(strVersion, dwPacked), S_OK);
    EXPECT_EQ(strVersion, CString(_T("8.1b")));
    EXPECT_EQ(dwPacked, 0x080102u);

    // An empty letter, or numbers of another type, fail the provider: the
    // files' 9.0 stands.
    fake.m_answer = [](LPCWSTR lpszName, VARIANT* pVar) {
        return AnswerVersion(lpszName, pVar, VT_UI4, u"");
    };
    EXPECT_EQ(GetDirectXVersionViaDxDiag(dwMajor, dwMinor, chLetter), E_FAIL);
    ASSERT_EQ(GetDirectXVersion(strVersion, dwPacked), S_OK);
    EXPECT_EQ(strVersion, CString(_T("9.0")));
    fake.m_answer = [](LPCWSTR lpszName, VARIANT* pVar) {
        return AnswerVersion(lpszName, pVar, VT_I4, u"b");
    };
    EXPECT_EQ(GetDirectXVersionViaDxDiag(dwMajor, dwMinor, chLetter), E_FAIL);
    // Every interface it took was given back.
    EXPECT_EQ(fake.m_nRefs, 1);
}

TEST(DirectXVersion, TextAndPackedForms)
{
    struct Case
    {
        DWORD dwMajor, dwMinor;
        TCHAR chLetter;
        LPCTSTR lpszText;
        DWORD dwPacked;
    };
    const Case cases[] = {
        {8, 1, _T('b'), _T("8.1b"), 0x080102}, {9, 0, _T(' '), _T("9.0"), 0x090000},
        {3, 0, _T('a'), _T("3.0a"), 0x030001}, {6, 1, _T('Z'), _T("6.1z"), 0x06011A},
        {0, 0, _T(' '), _T("0.0"), 0},         {7, 0, _T('1'), _T("7.01"), 0x070000},
    };
    for (const Case& c : cases)
    {
        CString strVersion;
        DWORD dwPacked = 0;
        FormatDirectXVersion(c.dwMajor, c.dwMinor, c.chLetter, strVersion, dwPacked);
        EXPECT_EQ(strVersion, CString(c.lpszText)) << c.lpszText;
        EXPECT_EQ(dwPacked, c.dwPacked) << c.lpszText;
    }
}
