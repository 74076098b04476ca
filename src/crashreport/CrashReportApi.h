// The crash-report DLL's interface: CrashRptx64.dll exports its calls by
// ordinal only, so callers load them with GetProcAddress(MAKEINTRESOURCE(n)).
#pragma once

#include <windows.h>

#include <cstddef>

// The installation record. Strings are the caller's and are copied.
struct CrashInstallRecord
{
    DWORD cbSize;        // sizeof(CrashInstallRecord): 184
    DWORD dwFlags;       // handed to the sender as they are
    LPCWSTR pszAppName;  // names the report folder and the dialog
    LPCWSTR pszAppVersion;
    LPCWSTR pszMailTo;  // recipient of mail and MAPI delivery
    LPCWSTR pszMailSubject;
    LPCWSTR pszUploadUrl;     // multipart POST target
    LPCWSTR pszPrivacyUrl;    // the consent dialog's link
    LPCWSTR pszLanguageFile;  // the sender's INI; English texts when missing
    LPCWSTR pszReportFolder;  // null: <local application data>\<name>\CrashReports
    UINT nPriorityUpload;     // delivery order: higher first, 0 never
    UINT nPriorityMail;
    UINT nPriorityMapi;
    int nRestartTimeout;  // seconds
    BYTE reserved[96];
};
static_assert(sizeof(CrashInstallRecord) == 184, "the record's size is part of the interface");

// A report asked for without a crash.
struct CrashExceptionRecord
{
    DWORD cbSize;  // sizeof(CrashExceptionRecord): 72
    int nType;     // 0: an exception of the code below
    DWORD dwCode;
    DWORD dwReserved;
    EXCEPTION_POINTERS* pExceptionPointers;  // null: the caller's own context
    BYTE reserved[48];
};
static_assert(sizeof(CrashExceptionRecord) == 72, "the record's size is part of the interface");

// Called on the crashing thread before the report is written; the files and
// properties it adds go into the report.
typedef int(CALLBACK* CrashCallbackProc)(void* pUserData);

enum CrashReportOrdinal
{
    kCrashOrdinalInstall = 7,
    kCrashOrdinalUninstall = 9,
    kCrashOrdinalAddFile = 15,
    kCrashOrdinalAddProperty = 18,
    kCrashOrdinalGenerateReport = 20,
    kCrashOrdinalAddRegistryKey = 25,
    kCrashOrdinalAddScreenshot = 27,
    kCrashOrdinalSetCallback = 29,
};

typedef int(WINAPI* CrashInstallProc)(const CrashInstallRecord* pRecord);
typedef int(WINAPI* CrashUninstallProc)();
typedef int(WINAPI* CrashAddFileProc)(LPCWSTR pszPath, LPCWSTR pszDestName, LPCWSTR pszDescription,
                                      DWORD dwFlags);
typedef int(WINAPI* CrashAddPropertyProc)(LPCWSTR pszName, LPCWSTR pszValue);
typedef int(WINAPI* CrashGenerateReportProc)(CrashExceptionRecord* pRecord);
typedef int(WINAPI* CrashAddRegistryKeyProc)(LPCWSTR pszKeyPath, LPCWSTR pszFileName, DWORD dwFlags);
typedef int(WINAPI* CrashAddScreenshotProc)(DWORD dwFlags, int nQuality);
typedef int(WINAPI* CrashSetCallbackProc)(CrashCallbackProc pfnCallback, void* pUserData);

// The one file a report folder always has, naming everything else in it.
#define CRASH_REPORT_DESCRIPTION u"description.txt"
#define CRASH_REPORT_MINIDUMP u"crashdump.dmp"
#define CRASH_REPORT_SCREENSHOT u"screenshot.png"
