// The support mail: its body describes this system, every field is encoded
// so that no character cuts or garbles it, and the mail program receives it
// whole, whatever the registry holds as the processor's name.
#include "sondrel_gtest.h"

#include "app/program/SondrelApp.h"
#include "shell_test_support.h"
#include "tests/support/url_catcher.h"

using namespace shelltest;

namespace {

// The figure of the free-memory line, blanked in plain and in encoded text.
std::string WithoutFreeMemory(std::string text)
{
    for (const std::string& label :
         {std::string("Free physical memory: "), std::string("Free%20physical%20memory%3A%20")})
    {
        const size_t nAt = text.find(label);
        if (nAt == std::string::npos)
            continue;
        size_t nEnd = nAt + label.size();
        while (nEnd < text.size() && isdigit(static_cast<unsigned char>(text[nEnd])))
            ++nEnd;
        text.erase(nAt + label.size(), nEnd - nAt - label.size());
    }
    return text;
}

const WCHAR kEnvironmentKey[] = u"System\\CurrentControlSet\\Control\\Session Manager\\Environment";

// Sets PROCESSOR_IDENTIFIER for the test and puts the old value back.
class ProcessorIdentifier
{
public:
    ProcessorIdentifier()
    {
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEnvironmentKey, 0, KEY_ALL_ACCESS, &m_hKey);
        DWORD cb = sizeof(m_old);
        m_bHadValue = ::RegQueryValueExW(m_hKey, u"PROCESSOR_IDENTIFIER", nullptr, &m_dwOldType,
                                         reinterpret_cast<BYTE*>(m_old), &cb) == ERROR_SUCCESS;
        m_cbOld = cb;
    }
    ~ProcessorIdentifier()
    {
        if (m_bHadValue)
            ::RegSetValueExW(m_hKey, u"PROCESSOR_IDENTIFIER", 0, m_dwOldType, reinterpret_cast<BYTE*>(m_old),
                             m_cbOld);
        else
            ::RegDeleteValueW(m_hKey, u"PROCESSOR_IDENTIFIER");
        ::RegCloseKey(m_hKey);
    }
    void Set(DWORD dwType, const void* pData, DWORD cbData)
    {
        ASSERT_EQ(::RegSetValueExW(m_hKey, u"PROCESSOR_IDENTIFIER", 0, dwType,
                                   static_cast<const BYTE*>(pData), cbData),
                  ERROR_SUCCESS);
    }
    void SetText(const CString& text)
    {
        Set(REG_SZ, text.GetString(), static_cast<DWORD>((text.GetLength() + 1) * sizeof(WCHAR)));
    }

private:
    HKEY m_hKey = nullptr;
    BOOL m_bHadValue = FALSE;
    DWORD m_dwOldType = 0, m_cbOld = 0;
    WCHAR m_old[2048] = {};
};

CString LineAfter(const CString& report, LPCTSTR pszLabel)
{
    int nStart = report.Find(pszLabel);
    if (nStart < 0)
        return _T("<absent>");
    nStart += CString(pszLabel).GetLength();
    int nEnd = report.Find(_T("\r\n"), nStart);
    return report.Mid(nStart, nEnd < 0 ? -1 : nEnd - nStart);
}

}  // namespace

TEST(SupportMail, TheBodyDescribesThisSystem)
{
    CSondrelApp app;
    const CString strReport = app.BuildSystemReport(0);
    const CString strHead =
        CString(_T("Reason: customer request\r\n\r\nRequest:\r\nPlease write text here!!!\r\n")) +
        _T("\r\n\r\n\r\n") + CString(_T('='), 70) + _T("\r\n\r\nAdditional information:\r\n\r\n") +
        _T("Application: Sondrel\r\nApplication version info: 1.2.6.196\r\n");
    EXPECT_EQ(strReport.Left(strHead.GetLength()), strHead);

    // Wine presents itself as Windows 7 to programs.
    EXPECT_EQ(LineAfter(strReport, _T("OS version info: ")).Left(10), CString(_T("Windows 7 ")));
    CString strBuild;
    strBuild.Format(_T("(Build %d)"), static_cast<int>(app.m_osVersion.dwBuildNumber & 0xFFFF));
    EXPECT_GE(LineAfter(strReport, _T("OS version info: ")).Find(strBuild), 0);

    const CString strDashes(_T('-'), 49);
    EXPECT_GE(strReport.Find(_T("Hardware information: \r\n") + strDashes + _T("\r\nOEM ID: ")), 0);
    CString strCount;
    strCount.Format(_T("%u"), static_cast<unsigned>(app.m_systemInfo.dwNumberOfProcessors));
    EXPECT_EQ(LineAfter(strReport, _T("Number of processors: ")), strCount);
    MEMORYSTATUSEX memory = {sizeof(memory)};
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    CString strTotal;
    strTotal.Format(_T("%I64u Mb"), static_cast<unsigned __int64>(memory.ullTotalPhys >> 20));
    EXPECT_EQ(LineAfter(strReport, _T("Total physical memory: ")), strTotal);
    const CString strTail = _T("\r\nDirectX 9.0c installed\r\n") + strDashes;
    EXPECT_EQ(strReport.Right(strTail.GetLength()), strTail);

    EXPECT_EQ(app.BuildSystemReport(1).Left(53),
              CString(_T("Reason: critical exception - application terminated\r\n")));
    // An unknown reason leaves the line empty.
    EXPECT_EQ(app.BuildSystemReport(2).Left(12), CString(_T("Reason: \r\n\r\n")));
}

TEST(SupportMail, TheDirectXTextIsAskedForOnce)
{
    CSondrelApp app;
    app.QueryDirectXText();
    EXPECT_EQ(app.m_strDirectXText, CString(_T("DirectX 9.0c installed")));
    app.m_strDirectXText = _T("DirectX 8.1b installed");
    app.QueryDirectXText();
    EXPECT_EQ(app.m_strDirectXText, CString(_T("DirectX 8.1b installed")));
    EXPECT_GE(app.BuildSystemReport(0).Find(_T("DirectX 8.1b installed\r\n")), 0);
}

TEST(SupportMail, TheProcessorIdentifierIsReadWithinItsBoundsWhateverItsType)
{
    CSondrelApp app;
    ProcessorIdentifier identifier;

    // Longer than the report takes: cut at 1024 characters.
    identifier.SetText(CString(_T('x'), 5000));
    EXPECT_EQ(LineAfter(app.BuildSystemReport(0), _T("Processor identifier: ")), CString(_T('x'), 1024));

    // Not text at all: nothing is shown.
    DWORD dwNumber = 0x41424344;
    identifier.Set(REG_DWORD, &dwNumber, sizeof(dwNumber));
    EXPECT_EQ(LineAfter(app.BuildSystemReport(0), _T("Processor identifier: ")), CString());
    BYTE binary[3] = {0x41, 0x00, 0x42};
    identifier.Set(REG_BINARY, binary, sizeof(binary));
    EXPECT_EQ(LineAfter(app.BuildSystemReport(0), _T("Processor identifier: ")), CString());

    // Text stored without its terminator, and with an odd byte at the end.
    const WCHAR unterminated[] = {u'A', u'B', u'C'};
    identifier.Set(REG_SZ, unterminated, sizeof(unterminated));
    EXPECT_EQ(LineAfter(app.BuildSystemReport(0), _T("Processor identifier: ")), CString(_T("ABC")));
    identifier.Set(REG_SZ, unterminated, sizeof(unterminated) - 1);
    EXPECT_EQ(LineAfter(app.BuildSystemReport(0), _T("Processor identifier: ")), CString(_T("AB")));
}

TEST(SupportMail, EveryFieldReachesTheMailProgramWhole)
{
    CSondrelApp app;
    ProcessorIdentifier identifier;
    // Characters that end a field, start a fragment, start an escape or
    // stand for a space, and some beyond ASCII (one outside the BMP).
    const CString strName = _T("Intel64 & Family #6 100% + Gr\u00f6\u00dfe \u65e5\u672c \U0001F3B5 a=b?c");
    identifier.SetText(strName);

    const CString strUrl = app.BuildSupportMailto(0);
    const std::string url = Utf8(strUrl);
    const std::string head = "mailto:support@quorvane.example?subject=";
    ASSERT_EQ(url.rfind(head, 0), 0u);
    // One "?" and one "&" separate the fields; everything else is encoded.
    EXPECT_EQ(std::count(url.begin(), url.end(), '?'), 1);
    EXPECT_EQ(std::count(url.begin(), url.end(), '&'), 1);
    for (size_t i = head.size(); i < url.size(); ++i)
    {
        const char c = url[i];
        const bool bAllowed = isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_' ||
                              c == '~' || c == '%' || c == '&' || c == '=';
        ASSERT_TRUE(bAllowed) << "unencoded '" << c << "' at " << i;
    }
    EXPECT_EQ(urlcatcher::MailField(url, "subject"), "Support Sondrel -- www.quorvane.example");
    // The free memory moves between two reports; every other line must agree.
    EXPECT_EQ(WithoutFreeMemory(urlcatcher::MailField(url, "body")),
              WithoutFreeMemory(Utf8(app.BuildSystemReport(0))));
    EXPECT_NE(url.find("%0D%0A"), std::string::npos);

    // Through the shell to the mail program.
    std::u16string log = urlcatcher::RegisterUrlCatcher(u"C:\\supportmail_urls.log");
    app.OpenSupportMail(0);
    std::vector<std::string> urls = urlcatcher::WaitForCaughtUrls(log, 1);
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(WithoutFreeMemory(urls[0]), WithoutFreeMemory(url));
    const std::string body = urlcatcher::MailField(urls[0], "body");
    EXPECT_NE(body.find("Processor identifier: " + Utf8(strName) + "\r\n"), std::string::npos) << body;
}
