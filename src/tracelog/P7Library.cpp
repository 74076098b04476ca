// The DLL's entry points. None lets a C++ exception escape.
#include <windows.h>

#include "tracelog/P7Client.h"
#include "tracelog/P7File.h"
#include "tracelog/P7Trace.h"

namespace tracelog {
void FlushAllClientsFromCrash();
}

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
bool g_filterInstalled = false;

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info)
{
    try
    {
        tracelog::FlushAllClientsFromCrash();
    }
    catch (...)
    {
    }
    return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

extern "C" {

void __cdecl P7_Set_Crash_Handler(void)
{
    if (g_filterInstalled)
        return;
    g_previousFilter = SetUnhandledExceptionFilter(&CrashFilter);
    g_filterInstalled = true;
}

void __cdecl P7_Clr_Crash_Handler(void)
{
    if (!g_filterInstalled)
        return;
    // Only undo our own filter: someone may have chained after us.
    LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(g_previousFilter);
    if (current != &CrashFilter)
        SetUnhandledExceptionFilter(current);
    g_previousFilter = nullptr;
    g_filterInstalled = false;
}

void __cdecl P7_Exceptional_Flush(void)
{
    try
    {
        tracelog::FlushAllClientsFromCrash();
    }
    catch (...)
    {
    }
}

IP7Client* __cdecl P7_Create_Client(const WCHAR* options)
{
    try
    {
        return tracelog::Client::Create(reinterpret_cast<const char16_t*>(options));
    }
    catch (...)
    {
        return nullptr;
    }
}

IP7Trace* __cdecl P7_Create_Trace(IP7Client* client, const WCHAR* name, const void* reserved)
{
    if (!client)
        return nullptr;
    try
    {
        // Only this library's clients reach here.
        return static_cast<tracelog::Client*>(client)->CreateChannel(reinterpret_cast<const char16_t*>(name));
    }
    catch (...)
    {
        return nullptr;
    }
}

LONG __cdecl P7_Dump_File(const WCHAR* path, P7DumpLineProc onLine, void* context)
{
    try
    {
        return tracelog::DumpTraceFile(reinterpret_cast<const char16_t*>(path), onLine, context);
    }
    catch (...)
    {
        return P7_DUMP_CORRUPT;
    }
}

}  // extern "C"
