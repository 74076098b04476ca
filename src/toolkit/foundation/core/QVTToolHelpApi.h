// The kernel's tool-help functions, bound at run time.
#pragma once

#include <afx.h>
#include <tlhelp32.h>

class CQVTToolHelpApi
{
public:
    CQVTToolHelpApi();
    virtual ~CQVTToolHelpApi() {}

    // Each answers 0 when the table is not valid.
    HANDLE CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID);
    BOOL Thread32First(HANDLE hSnapshot, LPTHREADENTRY32 lpte);
    BOOL Thread32Next(HANDLE hSnapshot, LPTHREADENTRY32 lpte);
    BOOL Module32First(HANDLE hSnapshot, LPMODULEENTRY32W lpme);
    BOOL Module32Next(HANDLE hSnapshot, LPMODULEENTRY32W lpme);

    // Valid only when all five functions were found.
    BOOL m_bValid = FALSE;

private:
    typedef HANDLE(WINAPI* PFNCREATETOOLHELP32SNAPSHOT)(DWORD, DWORD);
    typedef BOOL(WINAPI* PFNTHREAD32)(HANDLE, LPTHREADENTRY32);
    typedef BOOL(WINAPI* PFNMODULE32W)(HANDLE, LPMODULEENTRY32W);

    PFNCREATETOOLHELP32SNAPSHOT m_pfnCreateToolhelp32Snapshot = nullptr;
    PFNTHREAD32 m_pfnThread32First = nullptr;
    PFNTHREAD32 m_pfnThread32Next = nullptr;
    PFNMODULE32W m_pfnModule32First = nullptr;
    PFNMODULE32W m_pfnModule32Next = nullptr;
};

CQVTToolHelpApi* AFXAPI QVTToolHelpApi();
