#include "toolkit/foundation/resource/QVTResource.h"

#include <algorithm>

namespace {
// The committed, readable pages of the allocation that holds the module's
// first byte (a data-file handle has its low bits set). Wine checks the
// resource directory it walks, not what an entry claims.
bool ResourceModuleExtent(HMODULE hModule, const BYTE** ppStart, const BYTE** ppEnd)
{
    const BYTE* pBase = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(hModule) & ~ULONG_PTR(3));
    MEMORY_BASIC_INFORMATION mbi = {};
    if (pBase == nullptr || ::VirtualQuery(pBase, &mbi, sizeof mbi) == 0 || mbi.State != MEM_COMMIT)
        return false;
    const BYTE* pAllocation = static_cast<const BYTE*>(mbi.AllocationBase);
    const BYTE* pEnd = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
    while (::VirtualQuery(pEnd, &mbi, sizeof mbi) != 0 && mbi.AllocationBase == pAllocation &&
           mbi.State == MEM_COMMIT && !(mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
        pEnd = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
    *ppStart = pBase;
    *ppEnd = pEnd;
    return true;
}
}  // namespace

CQVTResource::CQVTResource()
    : m_hResInfo(nullptr), m_hResource(nullptr), m_pvResourceData(nullptr), m_dwSize(0)
{
}

CQVTResource::~CQVTResource() = default;

BOOL CQVTResource::Load(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType)
{
    m_hResInfo = ::FindResourceW(hModule, lpszName, lpszType);
    if (m_hResInfo == nullptr)
        return FALSE;
    DWORD dwSize = 0;
    const BYTE* pData = LockBounded(hModule, m_hResInfo, &dwSize);
    if (pData == nullptr)
        return FALSE;
    m_dwSize = dwSize;
    if (m_dwSize == 0)
        return FALSE;
    m_hResource = ::LoadResource(hModule, m_hResInfo);
    m_pvResourceData = const_cast<BYTE*>(pData);
    return TRUE;
}

const BYTE* CQVTResource::LockBounded(HMODULE hModule, HRSRC hResource, DWORD* pcbSize)
{
    *pcbSize = 0;
    if (hResource == nullptr)
        return nullptr;
    if (hModule == nullptr)
        hModule = ::GetModuleHandleW(nullptr);
    // The handle is the resource's data entry: a damaged directory can point
    // it outside the module, where reading its size would fault.
    const BYTE *pStart = nullptr, *pEnd = nullptr;
    const BYTE* pEntry = reinterpret_cast<const BYTE*>(hResource);
    if (!ResourceModuleExtent(hModule, &pStart, &pEnd) || pEntry < pStart ||
        pEntry + sizeof(IMAGE_RESOURCE_DATA_ENTRY) > pEnd)
        return nullptr;
    const DWORD cbSize = ::SizeofResource(hModule, hResource);
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    const BYTE* pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    if (pData == nullptr || pData < pStart || pData >= pEnd)
        return nullptr;
    *pcbSize = static_cast<DWORD>(std::min<ULONG_PTR>(cbSize, static_cast<ULONG_PTR>(pEnd - pData)));
    return pData;
}

const BYTE* CQVTResource::LockBounded(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType, DWORD* pcbSize)
{
    *pcbSize = 0;
    if (lpszName == nullptr || (!IS_INTRESOURCE(lpszName) && *lpszName == 0))
        return nullptr;
    return LockBounded(hModule, ::FindResourceW(hModule, lpszName, lpszType), pcbSize);
}
