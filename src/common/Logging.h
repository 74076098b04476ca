// The program's logging: a trace channel of the trace-log DLL when it can be
// loaded, else a plain UTF-8 text log, else nothing.
//
// The application base (ApplicationBase.h) holds both loggers and their
// lock. Everything else logs through the APP_LOG* macros below, which reach
// the application base of the process and write to whichever logger exists
// (nothing is written while there is none):
//
//   APP_LOG(_T("Open %s: fail"), path);        // one line
//   APP_LOG_SCOPE(_T("OnStartConvert"));       // "OnStartConvert: start" now,
//                                              // "OnStartConvert: end" at scope exit
//   APP_LOG_RESULT(_T("Create media file"), SUCCEEDED(hr)); // "...: done" / "...: fail"
//
// Formats are the Windows printf conventions (%s wide, %S narrow, %I64d);
// CString arguments may be passed as they are.
#pragma once

#include <afx.h>

#include <string>

#include "tracelog/P7Trace.h"

// Flag word of a text-log line.
constexpr int LOG_FLAG_DATE_TIME = 0x40000000;                 // "(date time): " prefix
constexpr int LOG_FLAG_FLUSH = static_cast<int>(0x80000000u);  // flush after the line
constexpr int LOG_FLAGS_ALL = -1;  // what the program passes: every level, prefix, flush

// Longest message, in characters (wide form) or bytes (narrow form); longer
// messages are cut.
constexpr int LOG_MESSAGE_BUFFER = 10240;

// The plain text log: one UTF-8 file without byte-order mark, created empty
// and written by this process alone (others may read it).
class CFileLog
{
public:
    // An empty path opens nothing: lines are then dropped.
    explicit CFileLog(LPCTSTR pszPath);
    ~CFileLog();
    CFileLog(const CFileLog&) = delete;
    CFileLog& operator=(const CFileLog&) = delete;

    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    const CString& GetPath() const { return m_strPath; }
    DWORD GetMask() const { return m_dwMask; }
    void SetMask(DWORD dwMask) { m_dwMask = dwMask; }
    void Flush();

    // Writes one message as a line, as the flags ask; no formatting.
    void WriteLine(int nFlags, const char* pszUtf8, size_t cbLength);

private:
    void WriteOut(const char* pData, size_t cbSize);

    CString m_strPath;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    DWORD m_dwMask = 0xFFFFFFFF;
    std::string m_pending;    // lines written without the flush flag
    CRITICAL_SECTION m_lock;  // one line at a time, whole
};

// A message as the text log writes it: UTF-8, cut to the formatting buffer
// (never inside a surrogate pair).
std::string LogTextToUtf8(const char16_t* text, size_t length);
void CutLogMessage(std::u16string& text);

void FileLogPrintfImpl(CFileLog* pLog, int nFlags, LPCWSTR pszFormat, ...);
void FileLogPrintfImplA(CFileLog* pLog, int nFlags, LPCSTR pszFormat, ...);

// One formatted line to a text log; nothing when it is null or not open, or
// when the flags share no bit with its mask.
template <typename... A>
inline void FileLogPrintf(CFileLog* pLog, int nFlags, LPCWSTR pszFormat, A&&... args)
{
    FileLogPrintfImpl(pLog, nFlags, pszFormat, _AfxFormatArg(std::forward<A>(args))...);
}

template <typename... A>
inline void FileLogPrintfA(CFileLog* pLog, int nFlags, LPCSTR pszFormat, A&&... args)
{
    FileLogPrintfImplA(pLog, nFlags, pszFormat, _AfxFormatArg(std::forward<A>(args))...);
}

// "BOOL CSondrelApp::InitInstance()" -> "CSondrelApp::InitInstance"; a name
// without a parameter list is copied as it stands. Returns buffer.
const char* TraceFunctionName(const char* pszPretty, char* buffer, size_t cbBuffer);

void AppTraceImpl(int nLine, const char* pszFile, const char* pszFunction, LPCWSTR pszFormat, ...);

// One traced line with an explicit place (function name as it should appear).
template <typename... A>
inline void AppTrace(int nLine, const char* pszFile, const char* pszFunction, LPCWSTR pszFormat, A&&... args)
{
    AppTraceImpl(nLine, pszFile, pszFunction, pszFormat, _AfxFormatArg(std::forward<A>(args))...);
}

// Writes "<name>: start" now and "<name>: end" when it goes out of scope.
class CAppLogScope
{
public:
    CAppLogScope(LPCWSTR pszName, int nLine, const char* pszFile, const char* pszFunction);
    ~CAppLogScope();
    CAppLogScope(const CAppLogScope&) = delete;
    CAppLogScope& operator=(const CAppLogScope&) = delete;

private:
    CString m_strName;
    int m_nLine;
    const char* m_pszFile;
    const char* m_pszFunction;
};

#define APP_LOG(format, ...) ::AppTrace(__LINE__, __FILE__, __PRETTY_FUNCTION__, format, ##__VA_ARGS__)
#define APP_LOG_START(name) ::AppTrace(__LINE__, __FILE__, __PRETTY_FUNCTION__, _T("%s: start"), name)
#define APP_LOG_END(name) ::AppTrace(__LINE__, __FILE__, __PRETTY_FUNCTION__, _T("%s: end"), name)
#define APP_LOG_RESULT(description, ok)                                                                      \
    ::AppTrace(__LINE__, __FILE__, __PRETTY_FUNCTION__, (ok) ? _T("%s: done") : _T("%s: fail"), description)
#define APP_LOG_SCOPE_NAME2(a, b) a##b
#define APP_LOG_SCOPE_NAME(a, b) APP_LOG_SCOPE_NAME2(a, b)
#define APP_LOG_SCOPE(name)                                                                                  \
    ::CAppLogScope APP_LOG_SCOPE_NAME(appLogScope_, __LINE__)(name, __LINE__, __FILE__, __PRETTY_FUNCTION__)
