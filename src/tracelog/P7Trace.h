// The trace-log library "P7x64.dll": what its callers see.
//
// The program loads the DLL at run time and binds its entry points by name
// (the P7_* names below). A client owns one rolling set of binary "*.p7d"
// files; trace channels are created on a client and write lines into it.
// Clients and channels are reference counted: the creator holds one
// reference and gives it back with Release(). Every entry point and method is
// safe to call from any thread and never lets a C++ exception escape.
//
// Both sides are Winelib code built by the same compiler, so the interface
// methods use the compiler's own calling convention (the variadic Trace
// needs that); the exported functions use the platform's.
#pragma once

#include <windows.h>
#include <cstdarg>

// Trace levels, lowest first.
enum P7TraceLevel : int
{
    P7_LEVEL_TRACE = 0,
    P7_LEVEL_DEBUG = 1,
    P7_LEVEL_INFO = 2,
    P7_LEVEL_WARNING = 3,
    P7_LEVEL_ERROR = 4,
    P7_LEVEL_CRITICAL = 5,
};

// Handle of a module registered on a channel; null means "no module".
typedef struct P7ModuleTag* P7ModuleHandle;

struct IP7Client
{
    virtual LONG AddRef() = 0;
    virtual LONG Release() = 0;
    // Writes everything buffered so far to the current file.
    virtual BOOL Flush() = 0;

protected:
    ~IP7Client() = default;
};

struct IP7Trace
{
    virtual LONG AddRef() = 0;
    virtual LONG Release() = 0;
    // Names a thread for the lines it writes; threadId 0 is the calling thread.
    virtual BOOL RegisterThread(const WCHAR* name, DWORD threadId) = 0;
    virtual BOOL UnregisterThread(DWORD threadId) = 0;
    // Registers (or finds) a module by name; its handle goes with each line.
    virtual BOOL RegisterModule(const WCHAR* name, P7ModuleHandle* module) = 0;
    // One line: printf-style UTF-16 format (%s is a wide string, %S a narrow
    // one, %I64d and friends as on Windows). file and function are narrow.
    virtual BOOL Trace(WORD traceId, P7TraceLevel level, P7ModuleHandle module, WORD line, const char* file,
                       const char* function, const WCHAR* format, ...) = 0;
    virtual BOOL TraceV(WORD traceId, P7TraceLevel level, P7ModuleHandle module, WORD line, const char* file,
                        const char* function, const WCHAR* format, va_list args) = 0;
    virtual BOOL Flush() = 0;

protected:
    ~IP7Trace() = default;
};

// Called by the reader for every text line it produces; FALSE stops reading.
typedef BOOL(__cdecl* P7DumpLineProc)(void* context, const WCHAR* line);

// Results of P7_Dump_File.
enum P7DumpResult : LONG
{
    P7_DUMP_OK = 0,
    P7_DUMP_CANNOT_OPEN = 1,
    P7_DUMP_NOT_A_TRACE_FILE = 2,
    P7_DUMP_TRUNCATED = 3,
    P7_DUMP_CORRUPT = 4,
    P7_DUMP_STOPPED = 5,
    P7_DUMP_BAD_ARGUMENT = 6,
};

// Entry points, bound with GetProcAddress by these names.
typedef void(__cdecl* P7_Set_Crash_Handler_Proc)(void);
typedef void(__cdecl* P7_Clr_Crash_Handler_Proc)(void);
typedef void(__cdecl* P7_Exceptional_Flush_Proc)(void);
// options: "/P7.Dir=<folder> /P7.Sink=FileBin /P7.Pool=<bytes> /P7.Files=<n>
// /P7.Roll=<size>[kb|mb|gb]"; null on failure (bad sink, folder not writable).
typedef IP7Client*(__cdecl* P7_Create_Client_Proc)(const WCHAR* options);
// reserved: no channel options yet, pass null.
typedef IP7Trace*(__cdecl* P7_Create_Trace_Proc)(IP7Client* client, const WCHAR* name, const void* reserved);
// The reader: dumps one .p7d file as text lines.
typedef LONG(__cdecl* P7_Dump_File_Proc)(const WCHAR* path, P7DumpLineProc onLine, void* context);

#define P7_LIBRARY_NAME u"P7x64.dll"
