// Crash reporting: CrashRptx64.dll, loaded by name and called by ordinal.
// Without the DLL the program runs without reports.
#include "app/program/SondrelApp.h"

#include "app/program/ProductInfo.h"
#include "crashreport/CrashReportApi.h"

namespace {

template <class T>
T CrashEntry(HMODULE hModule, int nOrdinal)
{
    return reinterpret_cast<T>(
        reinterpret_cast<void*>(::GetProcAddress(hModule, MAKEINTRESOURCEA(nOrdinal))));
}

// Removes every entry equal to one of the others (case aside, as paths are).
void RemoveStrings(CStringArray& list, const CStringArray& remove)
{
    for (INT_PTR i = list.GetSize() - 1; i >= 0; --i)
    {
        for (INT_PTR j = 0; j < remove.GetSize(); ++j)
        {
            if (list[i].CompareNoCase(remove[j]) == 0)
            {
                list.RemoveAt(i);
                break;
            }
        }
    }
}

}  // namespace

BOOL CSondrelApp::InstallCrashReport()
{
    if (m_hCrashReport != nullptr)
        return FALSE;
    m_hCrashReport = ::LoadLibraryW(m_strCrashLibrary);
    if (m_hCrashReport == nullptr)
        return FALSE;
    auto pfnInstall = CrashEntry<CrashInstallProc>(m_hCrashReport, kCrashOrdinalInstall);
    auto pfnSetCallback = CrashEntry<CrashSetCallbackProc>(m_hCrashReport, kCrashOrdinalSetCallback);
    auto pfnAddProperty = CrashEntry<CrashAddPropertyProc>(m_hCrashReport, kCrashOrdinalAddProperty);
    auto pfnAddKey = CrashEntry<CrashAddRegistryKeyProc>(m_hCrashReport, kCrashOrdinalAddRegistryKey);
    auto pfnAddScreenshot = CrashEntry<CrashAddScreenshotProc>(m_hCrashReport, kCrashOrdinalAddScreenshot);
    if (!pfnInstall || !pfnSetCallback || !pfnAddProperty || !pfnAddKey || !pfnAddScreenshot)
    {
        ::FreeLibrary(m_hCrashReport);
        m_hCrashReport = nullptr;
        return FALSE;
    }

    // The record points into these until it is installed (the DLL copies).
    const CString strVersion = GetVersionText();
    const CString strSubject =
        CString(ProductInfo::kName) + _T(" Crash Error Report -- ") + ProductInfo::kWebDomain;
    const CString strUrl =
        CString(ProductInfo::kCrashReportServer) + _T("/index.php/crashReport/uploadExternal");
    const CString strPrivacy = CString(ProductInfo::kPrivacyPage) + _T("?id=crashprivacy");
    CString strLanguageFile;
    strLanguageFile.Format(CString(m_strExeFolder + _T("Localizations\\crashrpt_lang_%s.ini")),
                           GetLanguageCode().GetString());

    CrashInstallRecord record;
    memset(&record, 0, sizeof(record));
    record.cbSize = sizeof(record);
    record.pszAppName = ProductInfo::kName;
    record.pszAppVersion = strVersion;
    record.pszMailTo = ProductInfo::kCrashReportMail;
    record.pszMailSubject = strSubject;
    record.pszUploadUrl = strUrl;
    record.nPriorityUpload = 3;
    record.nPriorityMail = 2;
    record.nPriorityMapi = 1;
    record.dwFlags = 0x601FFF;
    record.pszPrivacyUrl = strPrivacy;
    record.pszLanguageFile = strLanguageFile;
    record.nRestartTimeout = 50;
    if (pfnInstall(&record) != 0)
    {
        ::FreeLibrary(m_hCrashReport);
        m_hCrashReport = nullptr;
        return FALSE;
    }
    m_bCrashReportInstalled = TRUE;
    pfnSetCallback(&CSondrelApp::CrashCallbackEntry, nullptr);

    for (const auto& property : GetSystemProperties())
        pfnAddProperty(property.first, property.second);
    pfnAddKey(_T("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment"),
              _T("Environment.xml"), 16);
    pfnAddKey(_T("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ProductOptions"),
              _T("ProductOptions.xml"), 16);
    pfnAddScreenshot(26, 80);
    return TRUE;
}

std::vector<std::pair<CString, CString>> CSondrelApp::GetSystemProperties() const
{
    std::vector<std::pair<CString, CString>> properties;
    auto add = [&properties](LPCTSTR pszName, const CString& strValue) {
        properties.emplace_back(pszName, strValue);
    };
    auto number = [](unsigned long long nValue) {
        CString strValue;
        strValue.Format(_T("%I64u"), nValue);
        return strValue;
    };
    auto pointer = [](const void* pValue) {
        CString strValue;
        strValue.Format(_T("%p"), pValue);
        return strValue;
    };
    const OSVERSIONINFOEXW& os = m_osVersion;
    const SYSTEM_INFO& si = m_systemInfo;
    add(_T("OsVersionExExist"), number(m_bOSVersionExFound ? 1 : 0));
    add(_T("OsVersionExist"), number(m_bOSVersionFound ? 1 : 0));
    add(_T("OsVersion: dwOSVersionInfoSize"), number(os.dwOSVersionInfoSize));
    add(_T("OsVersion: dwMajorVersion"), number(os.dwMajorVersion));
    add(_T("OsVersion: dwMinorVersion"), number(os.dwMinorVersion));
    add(_T("OsVersion: dwBuildNumber"), number(os.dwBuildNumber));
    add(_T("OsVersion: dwPlatformId"), number(os.dwPlatformId));
    add(_T("OsVersion: szCSDVersion"),
        CString(os.szCSDVersion,
                static_cast<int>(::lstrlenW(os.szCSDVersion) < 128 ? ::lstrlenW(os.szCSDVersion) : 128)));
    add(_T("OsVersion: wServicePackMajor"), number(os.wServicePackMajor));
    add(_T("OsVersion: wServicePackMinor"), number(os.wServicePackMinor));
    add(_T("OsVersion: wSuiteMask"), number(os.wSuiteMask));
    add(_T("OsVersion: wProductType"), number(os.wProductType));
    add(_T("OsVersion: wReserved"), number(os.wReserved));
    add(_T("siSysInfo: wProcessorArchitecture"), number(si.wProcessorArchitecture));
    add(_T("siSysInfo: wReserved"), number(si.wReserved));
    add(_T("siSysInfo: dwPageSize"), number(si.dwPageSize));
    add(_T("siSysInfo: lpMinimumApplicationAddress"), pointer(si.lpMinimumApplicationAddress));
    add(_T("siSysInfo: lpMaximumApplicationAddress"), pointer(si.lpMaximumApplicationAddress));
    add(_T("siSysInfo: dwActiveProcessorMask"),
        pointer(reinterpret_cast<const void*>(si.dwActiveProcessorMask)));
    add(_T("siSysInfo: dwNumberOfProcessors"), number(si.dwNumberOfProcessors));
    add(_T("siSysInfo: dwProcessorType"), number(si.dwProcessorType));
    add(_T("siSysInfo: dwAllocationGranularity"), number(si.dwAllocationGranularity));
    add(_T("siSysInfo: wProcessorLevel"), number(si.wProcessorLevel));
    add(_T("siSysInfo: wProcessorRevision"), number(si.wProcessorRevision));
    return properties;
}

void CSondrelApp::UninstallCrashReport()
{
    if (!m_bCrashReportInstalled)
        return;
    if (auto pfnUninstall = CrashEntry<CrashUninstallProc>(m_hCrashReport, kCrashOrdinalUninstall))
        pfnUninstall();
    m_bCrashReportInstalled = FALSE;
    ::FreeLibrary(m_hCrashReport);
    m_hCrashReport = nullptr;
}

void CSondrelApp::GenerateCrashReport(DWORD dwCode)
{
    if (!m_bCrashReportInstalled)
        return;
    if (auto pfnGenerate = CrashEntry<CrashGenerateReportProc>(m_hCrashReport, kCrashOrdinalGenerateReport))
    {
        CrashExceptionRecord record;
        memset(&record, 0, sizeof(record));
        record.cbSize = sizeof(record);
        record.nType = 0;
        record.dwCode = dwCode;
        pfnGenerate(&record);
    }
}

int CALLBACK CSondrelApp::CrashCallbackEntry(void*)
{
    try
    {
        if (auto pApp = dynamic_cast<CSondrelApp*>(CApplicationBase::GetInstance()))
            return pApp->CrashCallback();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return 1;
}

int CSondrelApp::CrashCallback()
{
    CStringArray files;
    if (CFileLog* pLog = GetFileLog())
    {
        pLog->Flush();
        files.Add(pLog->GetPath());
    }
    ExceptionalFlush();
    CloseLogs();
    ListFiles(m_strLogFolder, _T("*.p7d"), files);
    // Only this run's trace files and the text log.
    RemoveStrings(files, m_startupTraceFiles);
    if (m_hCrashReport == nullptr)
        return 1;
    auto pfnAddFile = CrashEntry<CrashAddFileProc>(m_hCrashReport, kCrashOrdinalAddFile);
    auto pfnAddProperty = CrashEntry<CrashAddPropertyProc>(m_hCrashReport, kCrashOrdinalAddProperty);
    for (INT_PTR i = 0; i < files.GetSize(); ++i)
    {
        const DWORD dwAttributes = ::GetFileAttributesW(files[i]);
        if (pfnAddFile && dwAttributes != INVALID_FILE_ATTRIBUTES &&
            !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
            pfnAddFile(files[i], nullptr, _T("Log File"), 5);
    }
    QueryDirectXText();
    if (pfnAddProperty)
    {
        pfnAddProperty(_T("DirectXVersion"), m_strDirectXText);
        CString strLanguage;
        strLanguage.Format(_T("%d"), m_nLanguageId);
        pfnAddProperty(_T("LangID"), strLanguage);
    }
    return 1;
}
