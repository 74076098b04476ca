// Read access to one raw resource of a loaded module. The bytes belong to the
// module and stay valid while it stays loaded.
#pragma once

#include <afx.h>

class CQVTResource
{
public:
    CQVTResource();
    virtual ~CQVTResource();

    // Finds, sizes, loads and locks; FALSE at the first step that gives
    // nothing. The fields keep what the steps before it gave.
    BOOL Load(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType);

    HRSRC GetInfo() const { return m_hResInfo; }
    HGLOBAL GetHandle() const { return m_hResource; }
    const void* GetData() const { return m_pvResourceData; }
    DWORD GetSize() const { return m_dwSize; }

    HRSRC m_hResInfo;
    HGLOBAL m_hResource;
    LPVOID m_pvResourceData;
    DWORD m_dwSize;
};
