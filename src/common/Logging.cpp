#include "common/Logging.h"

#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<CApplicationLogs*> g_currentLogs{nullptr};

// Lines without the flush flag wait in memory up to this much.
constexpr size_t kPendingLimit = 4096;

std::string ToUtf8(const char16_t* text, size_t length)
{
    std::string out;
    if (length == 0)
        return out;
    int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<LPCWSTR>(text), static_cast<int>(length),
                                nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return out;
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<LPCWSTR>(text), static_cast<int>(length), &out[0], n,
                        nullptr, nullptr);
    return out;
}

// Cuts a wide message to the formatting buffer, never inside a surrogate pair.
void CutWide(std::u16string& text)
{
    const size_t limit = LOG_MESSAGE_BUFFER - 1;
    if (text.size() <= limit)
        return;
    size_t n = limit;
    if (text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    text.resize(n);
}

// Creates each missing level of a folder path that ends in a backslash.
void CreateFolderLevels(const CString& folder)
{
    for (int i = 1; i < folder.GetLength(); ++i)
    {
        if ((folder[i] == _T('\\') || folder[i] == _T('/')) && folder[i - 1] != _T(':') &&
            folder[i - 1] != _T('\\'))
            CreateDirectoryW(folder.Left(i), nullptr);
    }
}

// Whether a line with these flags reaches the log at all; the printf forms
// format nothing otherwise.
bool LogTakesLine(const CFileLog* pLog, int nFlags)
{
    return pLog && pLog->IsOpen() && (static_cast<DWORD>(nFlags) & pLog->GetMask()) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// CFileLog

CFileLog::CFileLog(LPCTSTR pszPath) : m_strPath(pszPath ? pszPath : _T(""))
{
    InitializeCriticalSection(&m_lock);
    if (!m_strPath.IsEmpty())
    {
        // A new, empty file each run; other processes may read but not write.
        m_hFile = CreateFileW(m_strPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    }
}

CFileLog::~CFileLog()
{
    Flush();
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    DeleteCriticalSection(&m_lock);
}

void CFileLog::WriteOut(const char* pData, size_t cbSize)
{
    size_t done = 0;
    while (done < cbSize)
    {
        DWORD written = 0;
        if (!WriteFile(m_hFile, pData + done, static_cast<DWORD>(cbSize - done), &written, nullptr) ||
            written == 0)
            break;  // a full disk drops the line
        done += written;
    }
}

void CFileLog::Flush()
{
    EnterCriticalSection(&m_lock);
    if (m_hFile != INVALID_HANDLE_VALUE && !m_pending.empty())
        WriteOut(m_pending.data(), m_pending.size());
    m_pending.clear();
    LeaveCriticalSection(&m_lock);
}

void CFileLog::WriteLine(int nFlags, const char* pszUtf8, size_t cbLength)
{
    if (m_hFile == INVALID_HANDLE_VALUE || (static_cast<DWORD>(nFlags) & m_dwMask) == 0)
        return;
    std::string line;
    line.reserve(cbLength + 24);
    if (nFlags & LOG_FLAG_DATE_TIME)
    {
        // The C run-time's _strdate/_strtime forms: MM/DD/YY and HH:MM:SS.
        SYSTEMTIME now;
        GetLocalTime(&now);
        char prefix[40];
        std::snprintf(prefix, sizeof(prefix), "(%02u/%02u/%02u %02u:%02u:%02u): ", now.wMonth, now.wDay,
                      now.wYear % 100, now.wHour, now.wMinute, now.wSecond);
        line += prefix;
    }
    line.append(pszUtf8, cbLength);
    line += "\r\n";

    EnterCriticalSection(&m_lock);
    try
    {
        m_pending += line;
        if ((nFlags & LOG_FLAG_FLUSH) || m_pending.size() >= kPendingLimit)
        {
            WriteOut(m_pending.data(), m_pending.size());
            m_pending.clear();
        }
    }
    catch (...)
    {
    }
    LeaveCriticalSection(&m_lock);
}

void FileLogPrintfImpl(CFileLog* pLog, int nFlags, LPCWSTR pszFormat, ...)
{
    if (!LogTakesLine(pLog, nFlags) || !pszFormat)
        return;
    try
    {
        std::u16string message;
        va_list args;
        va_start(args, pszFormat);
        _AfxFormatToStringW(message, pszFormat, args);
        va_end(args);
        CutWide(message);
        std::string utf8 = ToUtf8(message.data(), message.size());
        pLog->WriteLine(nFlags, utf8.data(), utf8.size());
    }
    catch (...)
    {
    }
}

void FileLogPrintfImplA(CFileLog* pLog, int nFlags, LPCSTR pszFormat, ...)
{
    if (!LogTakesLine(pLog, nFlags) || !pszFormat)
        return;
    try
    {
        std::string message;
        va_list args;
        va_start(args, pszFormat);
        _AfxFormatToStringA(message, pszFormat, args);
        va_end(args);
        if (message.size() > LOG_MESSAGE_BUFFER - 1)
            message.resize(LOG_MESSAGE_BUFFER - 1);
        pLog->WriteLine(nFlags, message.data(), message.size());
    }
    catch (...)
    {
    }
}

// ---------------------------------------------------------------------------
// CApplicationLogs

CApplicationLogs::CApplicationLogs() : m_strTraceLibrary(P7_LIBRARY_NAME)
{
    InitializeCriticalSection(&m_lock);
    g_currentLogs = this;
}

CApplicationLogs::~CApplicationLogs()
{
    CApplicationLogs* self = this;
    g_currentLogs.compare_exchange_strong(self, nullptr);
    CloseLoggers(true);
    DeleteCriticalSection(&m_lock);
}

CApplicationLogs* CApplicationLogs::GetCurrent()
{
    return g_currentLogs.load();
}

BOOL CApplicationLogs::InitP7Log(LPCTSTR pszOptions, BOOL bInstallCrashHandler)
{
    EnterCriticalSection(&m_lock);
    if (!m_pTrace)
    {
        if (!m_hLoggerModule)
            m_hLoggerModule = LoadLibraryW(m_strTraceLibrary);
        if (m_hLoggerModule)
        {
            auto bind = [this](const char* name) {
                return reinterpret_cast<void*>(GetProcAddress(m_hLoggerModule, name));
            };
            m_pfnSetCrashHandler = reinterpret_cast<P7_Set_Crash_Handler_Proc>(bind("P7_Set_Crash_Handler"));
            m_pfnClrCrashHandler = reinterpret_cast<P7_Clr_Crash_Handler_Proc>(bind("P7_Clr_Crash_Handler"));
            m_pfnExceptionalFlush = reinterpret_cast<P7_Exceptional_Flush_Proc>(bind("P7_Exceptional_Flush"));
            m_pfnCreateClient = reinterpret_cast<P7_Create_Client_Proc>(bind("P7_Create_Client"));
            m_pfnCreateTrace = reinterpret_cast<P7_Create_Trace_Proc>(bind("P7_Create_Trace"));
        }
        if (bInstallCrashHandler && m_pfnSetCrashHandler && !m_bCrashHandlerSet)
        {
            m_pfnSetCrashHandler();
            m_bCrashHandlerSet = TRUE;
        }
        if (m_pfnCreateClient && !m_pClient)
            m_pClient = m_pfnCreateClient(pszOptions ? pszOptions : _T(""));
        if (m_pfnCreateTrace && m_pClient)
            m_pTrace = m_pfnCreateTrace(m_pClient, _T("Core"), nullptr);
        if (m_pTrace)
        {
            m_pTrace->RegisterThread(_T("Main"), 0);
            m_pTrace->RegisterModule(_T("App"), &m_hTraceModule);
            m_pTrace->Trace(0, P7_LEVEL_INFO, m_hTraceModule, __LINE__, __FILE__,
                            "CApplicationBase::InitP7Log", _T("Init P7 logging system: done"));
        }
        else if (m_pClient)
        {
            // A client without a channel would only leave an empty trace file.
            m_pClient->Release();
            m_pClient = nullptr;
        }
    }
    BOOL result = m_pTrace != nullptr;
    LeaveCriticalSection(&m_lock);
    return result;
}

BOOL CApplicationLogs::InitFileLog(LPCTSTR pszRelativeFolder, LPCTSTR pszApplicationName,
                                   LPCTSTR pszFallbackFolder)
{
    EnterCriticalSection(&m_lock);
    try
    {
        CString path;
        if (pszRelativeFolder)
        {
            CString folder;
            WCHAR appData[MAX_PATH] = {};
            if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData)))
            {
                folder = appData;
                folder += _T('\\');
                folder += pszRelativeFolder;
                folder += _T('\\');
                CreateFolderLevels(folder);
            }
            else
            {
                folder = pszFallbackFolder ? pszFallbackFolder : _T("");
                if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != _T('\\'))
                    folder += _T('\\');
            }
            path = folder + (pszApplicationName ? pszApplicationName : _T("")) + _T(".log");
        }
        delete m_pFileLog;
        m_pFileLog = nullptr;
        m_pFileLog = new CFileLog(path);
        FileLogPrintfA(m_pFileLog, LOG_FLAGS_ALL, "Init logging system: done");
    }
    catch (...)
    {
    }
    BOOL result = m_pFileLog != nullptr;
    LeaveCriticalSection(&m_lock);
    return result;
}

void CApplicationLogs::WriteLogInto(LPCTSTR pszText)
{
    if (!pszText)
        return;
    EnterCriticalSection(&m_lock);
    try
    {
        if (m_pFileLog && m_pFileLog->IsOpen())
        {
            std::string utf8 = ToUtf8(pszText, std::char_traits<char16_t>::length(pszText));
            m_pFileLog->WriteLine(LOG_FLAGS_ALL, utf8.data(), utf8.size());
        }
        if (m_pTrace)
            m_pTrace->Trace(0, P7_LEVEL_INFO, m_hTraceModule, 593, __FILE__, "CApplicationBase::WriteLogInto",
                            _T("%s"), pszText);
    }
    catch (...)
    {
    }
    LeaveCriticalSection(&m_lock);
}

void CApplicationLogs::TraceV(int nLine, const char* pszFile, const char* pszFunction, LPCWSTR pszFormat,
                              va_list args)
{
    if (!pszFormat)
        return;
    // The lock keeps a crash handler's CloseLogs on another thread from
    // releasing a logger under a writer.
    EnterCriticalSection(&m_lock);
    try
    {
        if (m_pTrace)
        {
            m_pTrace->TraceV(0, P7_LEVEL_INFO, m_hTraceModule, static_cast<WORD>(nLine), pszFile, pszFunction,
                             pszFormat, args);
        }
        else if (m_pFileLog && m_pFileLog->IsOpen())
        {
            std::u16string message;
            _AfxFormatToStringW(message, pszFormat, args);
            CutWide(message);
            std::string utf8 = ToUtf8(message.data(), message.size());
            m_pFileLog->WriteLine(LOG_FLAGS_ALL, utf8.data(), utf8.size());
        }
    }
    catch (...)
    {
    }
    LeaveCriticalSection(&m_lock);
}

void CApplicationLogs::CloseLoggers(bool bUnload)
{
    EnterCriticalSection(&m_lock);
    delete m_pFileLog;
    m_pFileLog = nullptr;
    if (m_pTrace)
        m_pTrace->Release();
    m_pTrace = nullptr;
    m_hTraceModule = nullptr;
    if (m_pClient)
        m_pClient->Release();
    m_pClient = nullptr;
    if (bUnload)
    {
        // Our crash filter must not outlive the library that holds its code.
        if (m_bCrashHandlerSet && m_pfnClrCrashHandler)
            m_pfnClrCrashHandler();
        m_bCrashHandlerSet = FALSE;
        if (m_hLoggerModule)
            FreeLibrary(m_hLoggerModule);
        m_hLoggerModule = nullptr;
        m_pfnSetCrashHandler = nullptr;
        m_pfnClrCrashHandler = nullptr;
        m_pfnExceptionalFlush = nullptr;
        m_pfnCreateClient = nullptr;
        m_pfnCreateTrace = nullptr;
    }
    LeaveCriticalSection(&m_lock);
}

void CApplicationLogs::CloseLogs()
{
    CloseLoggers(true);
}

void CApplicationLogs::ReleaseLoggers()
{
    CloseLoggers(false);
}

void CApplicationLogs::ExceptionalFlush()
{
    // No lock: the crashed thread may hold it.
    if (m_pClient && m_pfnExceptionalFlush)
        m_pfnExceptionalFlush();
}

// ---------------------------------------------------------------------------
// Free trace helpers

const char* TraceFunctionName(const char* pszPretty, char* buffer, size_t cbBuffer)
{
    if (!buffer || cbBuffer == 0)
        return "";
    buffer[0] = 0;
    if (!pszPretty)
        return buffer;
    size_t end = std::strlen(pszPretty);
    const char* with = std::strstr(pszPretty, " [with ");
    if (with)
        end = static_cast<size_t>(with - pszPretty);
    // Drop qualifiers after the parameter list: " const", " &", " noexcept"...
    size_t close = end;
    while (close > 0 && pszPretty[close - 1] != ')')
        --close;
    size_t begin = 0;
    size_t stop = end;
    if (close > 0 && std::strchr(pszPretty, '('))
    {
        // The parameter list's '(' matches the last ')'.
        int depth = 0;
        size_t open = close;
        while (open > 0)
        {
            --open;
            if (pszPretty[open] == ')')
                ++depth;
            else if (pszPretty[open] == '(' && --depth == 0)
                break;
        }
        stop = open;
        // The name starts after the last space outside <> and ().
        int nest = 0;
        size_t p = stop;
        while (p > 0)
        {
            char c = pszPretty[p - 1];
            if (c == '>' || c == ')')
                ++nest;
            else if ((c == '<' || c == '(') && nest > 0)
                --nest;
            else if (c == ' ' && nest == 0)
                break;
            --p;
        }
        begin = p;
    }
    size_t length = stop > begin ? stop - begin : 0;
    if (length >= cbBuffer)
        length = cbBuffer - 1;
    std::memcpy(buffer, pszPretty + begin, length);
    buffer[length] = 0;
    return buffer;
}

void AppTraceImpl(int nLine, const char* pszFile, const char* pszFunction, LPCWSTR pszFormat, ...)
{
    CApplicationLogs* logs = CApplicationLogs::GetCurrent();
    if (!logs)
        return;
    char name[256];
    TraceFunctionName(pszFunction, name, sizeof(name));
    va_list args;
    va_start(args, pszFormat);
    logs->TraceV(nLine, pszFile, name, pszFormat, args);
    va_end(args);
}

CAppLogScope::CAppLogScope(LPCWSTR pszName, int nLine, const char* pszFile, const char* pszFunction)
    : m_nLine(nLine), m_pszFile(pszFile), m_pszFunction(pszFunction)
{
    try
    {
        m_strName = pszName;
    }
    catch (...)
    {
    }
    AppTraceImpl(nLine, pszFile, pszFunction, _T("%s: start"), m_strName.GetString());
}

CAppLogScope::~CAppLogScope()
{
    AppTraceImpl(m_nLine, m_pszFile, m_pszFunction, _T("%s: end"), m_strName.GetString());
}
