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

    // A found resource's bytes, with the size it claims held to the mapping
    // of the module: a skin or a language module may claim more than its
    // file holds, and Wine hands the claim over unchecked. Null when the
    // resource's entry or its first byte lies outside the mapping.
    static const BYTE* AFX_CDECL LockBounded(HMODULE hModule, HRSRC hResource, DWORD* pcbSize);
    // FindResourceW, then LockBounded.
    static const BYTE* AFX_CDECL LockBounded(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType,
                                             DWORD* pcbSize);

    HRSRC m_hResInfo;
    HGLOBAL m_hResource;
    LPVOID m_pvResourceData;
    DWORD m_dwSize;
};
