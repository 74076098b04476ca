#include "toolkit/foundation/core/QVTToolHelpApi.h"
#include "toolkit/foundation/core/QVTSingletonPointer.h"

#include <tchar.h>

QVT_IMPLEMENT_SINGLETON(CQVTToolHelpApi, QVTToolHelpApi, nullptr)

CQVTToolHelpApi::CQVTToolHelpApi()
{
    // The kernel stays mapped after FreeLibrary, so the addresses stay good.
    HMODULE hKernel = ::LoadLibraryW(_T("KERNEL32"));
    if (!hKernel)
        return;
    m_pfnCreateToolhelp32Snapshot =
        reinterpret_cast<PFNCREATETOOLHELP32SNAPSHOT>(::GetProcAddress(hKernel, "CreateToolhelp32Snapshot"));
    m_pfnThread32First = reinterpret_cast<PFNTHREAD32>(::GetProcAddress(hKernel, "Thread32First"));
    m_pfnThread32Next = reinterpret_cast<PFNTHREAD32>(::GetProcAddress(hKernel, "Thread32Next"));
    m_pfnModule32First = reinterpret_cast<PFNMODULE32W>(::GetProcAddress(hKernel, "Module32FirstW"));
    m_pfnModule32Next = reinterpret_cast<PFNMODULE32W>(::GetProcAddress(hKernel, "Module32NextW"));
    ::FreeLibrary(hKernel);

    m_bValid = m_pfnCreateToolhelp32Snapshot && m_pfnThread32First && m_pfnThread32Next &&
               m_pfnModule32First && m_pfnModule32Next;
}

HANDLE CQVTToolHelpApi::CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID)
{
    return m_bValid ? m_pfnCreateToolhelp32Snapshot(dwFlags, th32ProcessID) : nullptr;
}

BOOL CQVTToolHelpApi::Thread32First(HANDLE hSnapshot, LPTHREADENTRY32 lpte)
{
    return m_bValid ? m_pfnThread32First(hSnapshot, lpte) : FALSE;
}

BOOL CQVTToolHelpApi::Thread32Next(HANDLE hSnapshot, LPTHREADENTRY32 lpte)
{
    return m_bValid ? m_pfnThread32Next(hSnapshot, lpte) : FALSE;
}

BOOL CQVTToolHelpApi::Module32First(HANDLE hSnapshot, LPMODULEENTRY32W lpme)
{
    return m_bValid ? m_pfnModule32First(hSnapshot, lpme) : FALSE;
}

BOOL CQVTToolHelpApi::Module32Next(HANDLE hSnapshot, LPMODULEENTRY32W lpme)
{
    return m_bValid ? m_pfnModule32Next(hSnapshot, lpme) : FALSE;
}
