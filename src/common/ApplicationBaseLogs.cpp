// CApplicationBase: the loggers (a file of its own, being the larger half
// of the class and the part the crash handler reaches from other threads).
#include "common/ApplicationBase.h"

#include <shlobj.h>

namespace {

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

}  // namespace

BOOL CApplicationBase::InitP7Log(LPCTSTR pszOptions, BOOL bInstallCrashHandler)
{
    EnterCriticalSection(&m_logLock);
    if (!m_pTraceChannel)
    {
        if (!m_loggerModule.GetHandle())
            m_loggerModule.Load(m_strTraceLibrary);
        if (m_loggerModule.GetHandle())
        {
            m_loggerModule.GetProcAddress(&m_pfnSetCrashHandler, "P7_Set_Crash_Handler");
            m_loggerModule.GetProcAddress(&m_pfnClrCrashHandler, "P7_Clr_Crash_Handler");
            m_loggerModule.GetProcAddress(&m_pfnExceptionalFlush, "P7_Exceptional_Flush");
            m_loggerModule.GetProcAddress(&m_pfnCreateClient, "P7_Create_Client");
            m_loggerModule.GetProcAddress(&m_pfnCreateTrace, "P7_Create_Trace");
        }
        if (bInstallCrashHandler && m_pfnSetCrashHandler && !m_bCrashHandlerSet)
        {
            m_pfnSetCrashHandler();
            m_bCrashHandlerSet = TRUE;
        }
        if (m_pfnCreateClient && !m_pTraceClient)
            m_pTraceClient = m_pfnCreateClient(pszOptions ? pszOptions : _T(""));
        if (m_pfnCreateTrace && m_pTraceClient)
            m_pTraceChannel = m_pfnCreateTrace(m_pTraceClient, _T("Core"), nullptr);
        if (m_pTraceChannel)
        {
            m_pTraceChannel->RegisterThread(_T("Main"), 0);
            m_pTraceChannel->RegisterModule(_T("App"), &m_hTraceModule);
            m_pTraceChannel->Trace(0, P7_LEVEL_INFO, m_hTraceModule, __LINE__, __FILE__,
                                   "CApplicationBase::InitP7Log", _T("Init P7 logging system: done"));
        }
        else if (m_pTraceClient)
        {
            // A client without a channel would only leave an empty trace file.
            m_pTraceClient->Release();
            m_pTraceClient = nullptr;
        }
    }
    BOOL bResult = m_pTraceChannel != nullptr;
    LeaveCriticalSection(&m_logLock);
    return bResult;
}

BOOL CApplicationBase::InitFileLog(LPCTSTR pszRelativeFolder)
{
    EnterCriticalSection(&m_logLock);
    try
    {
        CString strPath;
        if (pszRelativeFolder)
        {
            CString strFolder;
            WCHAR szAppData[MAX_PATH] = {};
            if (SUCCEEDED(
                    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, szAppData)))
            {
                strFolder = szAppData;
                strFolder += _T('\\');
                strFolder += pszRelativeFolder;
                strFolder += _T('\\');
                CreateFolderLevels(strFolder);
            }
            else
            {
                strFolder = m_strExeFolder;
            }
            strPath = strFolder + m_strAppName + _T(".log");
        }
        m_pFileLog.reset();
        m_pFileLog = std::make_unique<CFileLog>(strPath);
        FileLogPrintfA(m_pFileLog.get(), LOG_FLAGS_ALL, "Init logging system: done");
    }
    catch (...)
    {
    }
    BOOL bResult = m_pFileLog != nullptr;
    LeaveCriticalSection(&m_logLock);
    return bResult;
}

void CApplicationBase::WriteLogInto(LPCTSTR pszText)
{
    if (!pszText)
        return;
    EnterCriticalSection(&m_logLock);
    try
    {
        if (m_pFileLog && m_pFileLog->IsOpen())
        {
            std::string utf8 = LogTextToUtf8(pszText, std::char_traits<char16_t>::length(pszText));
            m_pFileLog->WriteLine(LOG_FLAGS_ALL, utf8.data(), utf8.size());
        }
        if (m_pTraceChannel)
            m_pTraceChannel->Trace(0, P7_LEVEL_INFO, m_hTraceModule, 593, __FILE__,
                                   "CApplicationBase::WriteLogInto", _T("%s"), pszText);
    }
    catch (...)
    {
    }
    LeaveCriticalSection(&m_logLock);
}

void CApplicationBase::TraceV(int nLine, const char* pszFile, const char* pszFunction, LPCWSTR pszFormat,
                              va_list args)
{
    if (!pszFormat)
        return;
    // The lock keeps a crash handler's CloseLogs on another thread from
    // releasing a logger under a writer.
    EnterCriticalSection(&m_logLock);
    try
    {
        if (m_pTraceChannel)
        {
            m_pTraceChannel->TraceV(0, P7_LEVEL_INFO, m_hTraceModule, static_cast<WORD>(nLine), pszFile,
                                    pszFunction, pszFormat, args);
        }
        else if (m_pFileLog && m_pFileLog->IsOpen())
        {
            std::u16string message;
            _AfxFormatToStringW(message, pszFormat, args);
            CutLogMessage(message);
            std::string utf8 = LogTextToUtf8(message.data(), message.size());
            m_pFileLog->WriteLine(LOG_FLAGS_ALL, utf8.data(), utf8.size());
        }
    }
    catch (...)
    {
    }
    LeaveCriticalSection(&m_logLock);
}

void CApplicationBase::ReleaseLoggers(bool bUnload)
{
    EnterCriticalSection(&m_logLock);
    m_pFileLog.reset();
    if (m_pTraceChannel)
        m_pTraceChannel->Release();
    m_pTraceChannel = nullptr;
    m_hTraceModule = nullptr;
    if (m_pTraceClient)
        m_pTraceClient->Release();
    m_pTraceClient = nullptr;
    if (bUnload)
    {
        // Our crash filter must not outlive the library that holds its code.
        if (m_bCrashHandlerSet && m_pfnClrCrashHandler)
            m_pfnClrCrashHandler();
        m_bCrashHandlerSet = FALSE;
        m_loggerModule.FreeLibrary();
        m_pfnSetCrashHandler = nullptr;
        m_pfnClrCrashHandler = nullptr;
        m_pfnExceptionalFlush = nullptr;
        m_pfnCreateClient = nullptr;
        m_pfnCreateTrace = nullptr;
    }
    LeaveCriticalSection(&m_logLock);
}

void CApplicationBase::CloseLogs()
{
    ReleaseLoggers(true);
}

void CApplicationBase::ExceptionalFlush()
{
    // No lock: the crashed thread may hold it.
    if (m_pTraceClient && m_pfnExceptionalFlush)
        m_pfnExceptionalFlush();
}
