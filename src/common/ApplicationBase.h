// The application frame of the common components, between the framework's
// application class and the program's own: the program's folders, OS facts
// read once, a named mutex held for the program's life, COM and framework
// set-up, the language, both loggers with their lock, the skin list, and
// the main dialog run modally with a catch-all. One instance per process,
// reached through GetInstance().
//
// The members other parts read are public, as the framework's own are.
#pragma once

#include <afxwin.h>

#include <memory>

#include "common/Logging.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"

class CLanguageStrings;

class CApplicationBase : public CWinApp
{
public:
    CApplicationBase(LPCTSTR pszMutexName, LPCTSTR pszAppName);
    ~CApplicationBase() override;

    // The instance made last and still alive; null when there is none.
    static CApplicationBase* AFXAPI GetInstance();

    // What this class adds to the framework's application, in slot order.
    virtual void LoadSettings() {}
    virtual void SaveSettings() {}
    // Stores both flags and starts COM (apartment-threaded) and OLE as they
    // ask; TRUE whatever the calls return.
    virtual BOOL InitCOM(DWORD dwReserved, BOOL bCom, BOOL bOle);
    // Loads an XML string pack; FALSE only when COM was not started here.
    virtual BOOL InitLanguages(LPCTSTR pszPath);
    // Loads the trace library and opens its channel "Core"; TRUE when a
    // channel exists.
    virtual BOOL InitP7Log(LPCTSTR pszOptions, BOOL bInstallCrashHandler);
    // Opens <application data>\<relative folder>\<application name>.log (the
    // exe folder when there is no application-data folder); without a
    // relative folder the log has no file. TRUE when the log object exists.
    virtual BOOL InitFileLog(LPCTSTR pszRelativeFolder);
    // Common controls, the framework's own start-up and its registry key
    // (the framework's default name when none is given); always TRUE.
    virtual BOOL InitMfc(LPCTSTR pszRegistryKey);

    // Lets go of the languages, the mutex, a main dialog still held, the
    // loggers, OLE and COM, as the destructor does; the framework calls it
    // when the application ends.
    int ExitInstance() override;

    // Folders. Every folder path ends in a backslash.
    // Appends the part and a backslash (not to an empty result); with
    // bCreate the folder is created (an existing one is fine).
    static void AFXAPI AppendPathPart(CString& strPath, LPCTSTR pszPart, BOOL bCreate);
    // A shell folder. On failure FALSE, and with bUseFallback the exe folder,
    // plus the fallback name (created) when one is given.
    BOOL GetSpecialFolder(int nCsidl, CString& strPath, BOOL bUseFallback, LPCTSTR pszFallbackName);

    // Appends the full path of every file (not folder) in the folder that
    // matches the pattern.
    static void AFXAPI ListFiles(LPCTSTR pszFolder, LPCTSTR pszPattern, CStringArray& files);

    // Skins: "*.qvstyles" files, then "*.msstyles" files, of one folder.
    void ScanSkins(LPCTSTR pszFolder);
    // The first skin file of that name, case aside; -1 when none.
    int FindSkin(LPCTSTR pszName) const;
    // The skin's full path; the first skin's for an index outside the list;
    // empty when there is none.
    CString GetSkinPath(int nIndex) const;

    // The main dialog, owned from here until it is deleted.
    void SetMainDialog(CDialog* pDialog) { m_pMainDialog.reset(pDialog); }
    CDialog* GetMainDialog() const { return m_pMainDialog.get(); }
    void DeleteMainDialog() { m_pMainDialog.reset(); }
    // Runs the main dialog modally. FALSE when there is none, or when an
    // exception ended the run (it is swallowed); else TRUE with its result.
    BOOL RunMainDialog(INT_PTR& nResult);

    // Languages.
    CString GetLanguageCode() const;
    // Switches the resource manager to a language resource in
    // <exe folder>Localizations\ (plus pszFolder): the named file, or the
    // language id's own file with the run-time locale set for it. TRUE.
    BOOL LoadLanguage(LPCTSTR pszFolder, LPCTSTR pszFileName);
    CLanguageStrings* GetLanguageStrings() const { return m_pLanguageStrings.get(); }

    // Logging: one line, never taken as a format, to each logger there is.
    void WriteLogInto(LPCTSTR pszText);
    // Closes the text log, releases the channel and client, unloads the
    // trace library. Safe from another thread while lines are written.
    void CloseLogs();
    // Flushes the trace library's buffers when the process is crashing.
    void ExceptionalFlush();
    // One traced line: to the channel, else to the text log (flags -1).
    void TraceV(int nLine, const char* pszFile, const char* pszFunction, LPCWSTR pszFormat, va_list args);
    IP7Client* GetTraceClient() const { return m_pTraceClient; }
    IP7Trace* GetTraceChannel() const { return m_pTraceChannel; }
    P7ModuleHandle GetTraceModule() const { return m_hTraceModule; }
    CFileLog* GetFileLog() const { return m_pFileLog.get(); }
    HMODULE GetLoggerModule() const { return m_loggerModule.GetHandle(); }
    CRITICAL_SECTION& GetLogLock() { return m_logLock; }
    // Which library InitP7Log loads (tests point it elsewhere).
    void SetTraceLibraryName(LPCTSTR pszName) { m_strTraceLibrary = pszName; }

    CString m_strMutexName;
    CString m_strAppName;
    BOOL m_bComInitialized = FALSE;
    BOOL m_bOleInitialized = FALSE;
    CString m_strDriveRoot;  // the exe path up to its first backslash, plus one
    CString m_strExeFolder;  // the exe path up to its last backslash, plus one
    CString m_strExePath;
    CString m_strCommandLine;   // nothing fills it; the engine is told it as it is
    CString m_strCommonFolder;  // the common program-files folder
    CString m_strSkinsFolder;   // the folder last scanned for skins
    CStringArray m_skinFiles;   // names, in the order the file system gave them
    int m_nLanguageId = 0;      // 0 English, 1 to 14 the language table's rows
    BOOL m_bOSVersionExFound = FALSE;
    BOOL m_bOSVersionFound = FALSE;
    OSVERSIONINFOEXW m_osVersion;
    SYSTEM_INFO m_systemInfo;

protected:
    HANDLE m_hMutex = nullptr;

private:
    // What the destructor releases, once.
    void ReleaseFrame();
    void ReleaseLoggers(bool bUnload);

    BOOL m_bReleased = FALSE;

    std::unique_ptr<CDialog> m_pMainDialog;
    std::unique_ptr<CLanguageStrings> m_pLanguageStrings;

    // The loggers, their lock and the trace library's entry points.
    CRITICAL_SECTION m_logLock;
    CString m_strTraceLibrary;
    CQVTModuleHandle m_loggerModule;
    P7_Set_Crash_Handler_Proc m_pfnSetCrashHandler = nullptr;
    P7_Clr_Crash_Handler_Proc m_pfnClrCrashHandler = nullptr;
    P7_Exceptional_Flush_Proc m_pfnExceptionalFlush = nullptr;
    P7_Create_Client_Proc m_pfnCreateClient = nullptr;
    P7_Create_Trace_Proc m_pfnCreateTrace = nullptr;
    BOOL m_bCrashHandlerSet = FALSE;
    IP7Client* m_pTraceClient = nullptr;
    IP7Trace* m_pTraceChannel = nullptr;
    P7ModuleHandle m_hTraceModule = nullptr;
    std::unique_ptr<CFileLog> m_pFileLog;
};

// The application's own texts by string id, from the current language
// resource (the resource manager's answer for an id it lacks included).
CString AFXAPI LoadAppString(UINT nID);
