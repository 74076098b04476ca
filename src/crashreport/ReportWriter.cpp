// The report folder's parts. This runs inside a crashing process: plain
// Win32 calls, no exception leaves, every failure is written down and the
// next part still tried.
#include <windows.h>

#include <dbghelp.h>
#include <shlobj.h>

#include <cstdio>

#include "crashreport/CrashReporter.h"

namespace crashreport {

namespace {

std::u16string Hex(unsigned long long value, int digits)
{
    char16_t text[32] = {};
    int n = 0;
    char16_t reversed[32];
    do
    {
        int digit = static_cast<int>(value & 0xF);
        reversed[n++] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + digit - 10);
        value >>= 4;
    } while (value != 0 && n < 31);
    while (n < digits && n < 31)
        reversed[n++] = u'0';
    for (int i = 0; i < n; ++i)
        text[i] = reversed[n - 1 - i];
    return text;
}

std::u16string Decimal(unsigned long long value)
{
    char buffer[32];
    snprintf(buffer, sizeof(buffer), "%llu", value);
    std::u16string text;
    for (const char* p = buffer; *p; ++p)
        text.push_back(static_cast<char16_t>(*p));
    return text;
}

std::u16string DefaultReportRoot(const std::u16string& appName)
{
    WCHAR folder[MAX_PATH] = {};
    std::u16string root;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        root = folder;
    else
    {
        DWORD n = GetTempPathW(MAX_PATH, folder);
        if (n > 0 && n < MAX_PATH)
            root = folder;
    }
    if (!root.empty() && root.back() != u'\\')
        root += u'\\';
    root += (appName.empty() ? u"Application" : appName) + u"\\CrashReports\\";
    return root;
}

// Creates every missing folder of the path.
bool MakeFolders(const std::u16string& path)
{
    for (size_t i = 3; i <= path.size(); ++i)
    {
        if (i == path.size() || path[i] == u'\\')
        {
            std::u16string part = path.substr(0, i);
            if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
    }
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A folder of its own: the time, the process and a counter keep two reports
// apart, even two of one process within a second.
std::u16string MakeReportFolder(const ReporterState& state)
{
    std::u16string root = state.reportFolder.empty() ? DefaultReportRoot(state.appName) : state.reportFolder;
    if (root.back() != u'\\')
        root += u'\\';
    if (!MakeFolders(root))
        return std::u16string();
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char stamp[64];
    snprintf(stamp, sizeof(stamp), "%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond, static_cast<unsigned long>(GetCurrentProcessId()));
    std::u16string base;
    for (const char* p = stamp; *p; ++p)
        base.push_back(static_cast<char16_t>(*p));
    for (int n = 0; n < 1000; ++n)
    {
        std::u16string folder = root + base + (n ? u"-" + Decimal(n) : std::u16string());
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return folder + u"\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::u16string();
    }
    return std::u16string();
}

bool WriteFileText(const std::u16string& path, const std::string& text)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    return CloseHandle(file) && ok;
}

std::u16string ModuleOf(const void* address)
{
    HMODULE module = nullptr;
    WCHAR path[MAX_PATH] = {};
    if (address != nullptr &&
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(address), &module) &&
        GetModuleFileNameW(module, path, MAX_PATH) > 0)
        return path;
    return u"unknown";
}

bool WriteMinidump(const std::u16string& path, EXCEPTION_POINTERS* pointers)
{
    HMODULE dbghelp = LoadLibraryW(u"dbghelp.dll");
    if (dbghelp == nullptr)
        return false;
    typedef BOOL(WINAPI * WriteDumpProc)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                         PMINIDUMP_EXCEPTION_INFORMATION, PMINIDUMP_USER_STREAM_INFORMATION,
                                         PMINIDUMP_CALLBACK_INFORMATION);
    auto writeDump = reinterpret_cast<WriteDumpProc>(GetProcAddress(dbghelp, "MiniDumpWriteDump"));
    bool ok = false;
    if (writeDump != nullptr)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
        {
            MINIDUMP_EXCEPTION_INFORMATION exception = {};
            exception.ThreadId = GetCurrentThreadId();
            exception.ExceptionPointers = pointers;
            exception.ClientPointers = FALSE;
            ok = writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                           pointers ? &exception : nullptr, nullptr, nullptr) != FALSE;
            ok = CloseHandle(file) && ok;
            if (!ok)
                DeleteFileW(path.c_str());
        }
    }
    FreeLibrary(dbghelp);
    return ok;
}

std::u16string FileNameOf(const std::u16string& path)
{
    size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// A name from the caller must stay inside the report folder.
bool IsPlainFileName(const std::u16string& name)
{
    return !name.empty() && name.find_first_of(u"\\/:*?\"<>|") == std::u16string::npos && name != u"." &&
           name != u"..";
}

void Line(std::string& text, const char* label, const std::u16string& value)
{
    text += label;
    text += ": ";
    text += Utf8(value);
    text += "\r\n";
}

}  // namespace

std::u16string Text(LPCWSTR psz)
{
    return psz ? std::u16string(psz) : std::u16string();
}

std::string Utf8(const std::u16string& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string result(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], n, nullptr,
                            nullptr);
    return result;
}

std::u16string WriteReport(const ReporterState& state, EXCEPTION_POINTERS* pointers)
{
    std::u16string folder = MakeReportFolder(state);
    if (folder.empty())
        return folder;

    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    std::string description;
    Line(description, "Application", state.appName);
    Line(description, "Version", state.appVersion);
    Line(description, "Exception code", Hex(record ? record->ExceptionCode : 0, 8));
    Line(description, "Exception address",
         Hex(record ? reinterpret_cast<ULONG_PTR>(record->ExceptionAddress) : 0, 16));
    Line(description, "Module", ModuleOf(record ? record->ExceptionAddress : nullptr));
    Line(description, "Process", Decimal(GetCurrentProcessId()));
    Line(description, "Thread", Decimal(GetCurrentThreadId()));
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    char time[64];
    snprintf(time, sizeof(time), "%04u-%02u-%02u %02u:%02u:%02u UTC", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    description += std::string("Time: ") + time + "\r\n";
    for (const auto& property : state.properties)
        description += "Property: " + Utf8(property.first) + " = " + Utf8(property.second) + "\r\n";

    Line(description, "Minidump",
         WriteMinidump(folder + CRASH_REPORT_MINIDUMP, pointers) ? CRASH_REPORT_MINIDUMP : u"failed");

    for (const AddedFile& file : state.files)
    {
        std::u16string name = file.destName.empty() ? FileNameOf(file.path) : file.destName;
        if (!IsPlainFileName(name))
        {
            Line(description, "File refused", file.path);
            continue;
        }
        if (CopyFileW(file.path.c_str(), (folder + name).c_str(), FALSE))
            description += "File: " + Utf8(name) + " (" + Utf8(file.description) + ")\r\n";
        else
            Line(description, "File missing", file.path);
    }
    for (const RegistryDump& dump : state.dumps)
    {
        std::string xml;
        bool opened = RegistryKeyToXml(dump.keyPath, xml);
        if (IsPlainFileName(dump.fileName) && WriteFileText(folder + dump.fileName, xml))
            description += "Registry: " + Utf8(dump.keyPath) + " -> " + Utf8(dump.fileName) +
                           (opened ? "" : " (key not found)") + "\r\n";
        else
            Line(description, "Registry failed", dump.keyPath);
    }
    if (state.screenshot)
        Line(description, "Screenshot",
             WriteScreenshot(folder + CRASH_REPORT_SCREENSHOT) ? CRASH_REPORT_SCREENSHOT : u"failed");

    // The description goes last: a report whose description exists is whole.
    if (!WriteFileText(folder + CRASH_REPORT_DESCRIPTION, description))
        return std::u16string();
    return folder;
}

}  // namespace crashreport
