#include "common/Logging.h"

#include "common/ApplicationBase.h"

#include <cstdio>
#include <cstring>

namespace {

// Lines without the flush flag wait in memory up to this much.
constexpr size_t kPendingLimit = 4096;

// Whether a line with these flags reaches the log at all; the printf forms
// format nothing otherwise.
bool LogTakesLine(const CFileLog* pLog, int nFlags)
{
    return pLog && pLog->IsOpen() && (static_cast<DWORD>(nFlags) & pLog->GetMask()) != 0;
}

}  // namespace

std::string LogTextToUtf8(const char16_t* text, size_t length)
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

void CutLogMessage(std::u16string& text)
{
    const size_t limit = LOG_MESSAGE_BUFFER - 1;
    if (text.size() <= limit)
        return;
    size_t n = limit;
    if (text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    text.resize(n);
}

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
        CutLogMessage(message);
        std::string utf8 = LogTextToUtf8(message.data(), message.size());
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
    CApplicationBase* pApp = CApplicationBase::GetInstance();
    if (!pApp)
        return;
    char name[256];
    TraceFunctionName(pszFunction, name, sizeof(name));
    va_list args;
    va_start(args, pszFormat);
    pApp->TraceV(nLine, pszFile, name, pszFormat, args);
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
