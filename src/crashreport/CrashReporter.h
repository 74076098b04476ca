// What the crash-report DLL keeps between its calls, and the report writer:
// one folder per report with its description, minidump, added files,
// registry dumps and screenshot.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "crashreport/CrashReportApi.h"

namespace crashreport {

struct AddedFile
{
    std::u16string path;
    std::u16string destName;  // empty: the file's own name
    std::u16string description;
    DWORD flags = 0;
};

struct RegistryDump
{
    std::u16string keyPath;
    std::u16string fileName;
    DWORD flags = 0;
};

struct ReporterState
{
    bool installed = false;
    DWORD flags = 0;
    std::u16string appName, appVersion, mailTo, mailSubject, uploadUrl, privacyUrl, languageFile,
        reportFolder;
    UINT priorities[3] = {};  // upload, mail, MAPI
    int restartTimeout = 0;
    std::vector<std::pair<std::u16string, std::u16string>> properties;
    std::vector<AddedFile> files;
    std::vector<RegistryDump> dumps;
    bool screenshot = false;
    DWORD screenshotFlags = 0;
    int screenshotQuality = 0;
    CrashCallbackProc callback = nullptr;
    void* callbackData = nullptr;
};

// A null string becomes empty.
std::u16string Text(LPCWSTR psz);

// Writes one report; the folder's full path (with a trailing backslash), or
// empty when the folder could not be made. Parts that fail are named in the
// description and the rest is still written.
std::u16string WriteReport(const ReporterState& state, EXCEPTION_POINTERS* pointers);

// The registry key's values and sub-keys as XML text; false when the key
// cannot be opened (the text then says so).
bool RegistryKeyToXml(const std::u16string& keyPath, std::string& xml);

// Every visible top-level window of this process, drawn from the screen into
// one PNG covering them all.
bool WriteScreenshot(const std::u16string& path);

std::string Utf8(const std::u16string& text);

// Writes what the sender needs into the folder ("delivery.ini") and starts
// it beside the program's image; false when it could not be started.
bool StartSender(const ReporterState& state, const std::u16string& folder);

}  // namespace crashreport
