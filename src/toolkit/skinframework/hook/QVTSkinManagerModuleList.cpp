#include "toolkit/skinframework/hook/QVTSkinManagerModuleList.h"

#include <afxwin.h>

#include <psapi.h>

#include <algorithm>

#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTToolHelpApi.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"

static_assert(offsetof(QVT_MODULEINFO, lpBaseOfDll) == offsetof(MODULEINFO, lpBaseOfDll),
              "MODULEINFO layout");
static_assert(offsetof(QVT_MODULEINFO, SizeOfImage) == offsetof(MODULEINFO, SizeOfImage),
              "MODULEINFO layout");
static_assert(offsetof(QVT_MODULEINFO, EntryPoint) == offsetof(MODULEINFO, EntryPoint), "MODULEINFO layout");
static_assert(offsetof(QVT_MODULEINFO, hModule) == sizeof(MODULEINFO), "MODULEINFO layout");

namespace {
struct SkinModuleListSupport
{
    CQVTModuleHandle psapi;
    BOOL bSupported = FALSE;

    SkinModuleListSupport()
    {
        psapi.LoadLibrary(u"PSAPI.DLL");
        bSupported = psapi.GetHandle() != nullptr ? TRUE : QVTToolHelpApi()->m_bValid;
    }
};

SkinModuleListSupport& SkinModuleListGetSupport()
{
    static SkinModuleListSupport support;
    return support;
}

CQVTSkinManagerModuleList::PFNLOADLIBRARYEXW g_pfnSkinModuleListLoad = nullptr;
CQVTSkinManagerModuleList::PFNFREELIBRARY g_pfnSkinModuleListFree = nullptr;

const DWORD kSkinModuleListProcessAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

// PSAPI reads the loader's list through the server, a request for each read
// even in its own process (thousands at a start): the list of this process
// is read in place, the same records in the same order, under the loader's
// lock.
struct SkinModuleListLoader
{
    typedef LONG(WINAPI* PFNLOCK)(ULONG, ULONG*, ULONG_PTR*);
    typedef LONG(WINAPI* PFNUNLOCK)(ULONG, ULONG_PTR);
    PFNLOCK pfnLock = nullptr;
    PFNUNLOCK pfnUnlock = nullptr;

    SkinModuleListLoader()
    {
        HMODULE hNtdll = ::GetModuleHandleW(u"ntdll.dll");
        if (hNtdll == nullptr)
            return;
        pfnLock = reinterpret_cast<PFNLOCK>(::GetProcAddress(hNtdll, "LdrLockLoaderLock"));
        pfnUnlock = reinterpret_cast<PFNUNLOCK>(::GetProcAddress(hNtdll, "LdrUnlockLoaderLock"));
    }
};

SkinModuleListLoader& SkinModuleListGetLoader()
{
    static SkinModuleListLoader loader;
    return loader;
}

// The head of the loader's module records (x64 layout): the links in load
// order come first, the base, entry point and image size after the two
// other link pairs.
struct SkinModuleListLoaderEntry
{
    LIST_ENTRY loadOrder;
    LIST_ENTRY memoryOrder;
    LIST_ENTRY initializationOrder;
    void* pBase;
    void* pEntryPoint;
    ULONG cbImage;
};
static_assert(offsetof(SkinModuleListLoaderEntry, pBase) == 0x30, "loader entry layout");
static_assert(offsetof(SkinModuleListLoaderEntry, cbImage) == 0x40, "loader entry layout");
// The thread block's process block, its loader data, and the load-order
// list in that.
const size_t kSkinModuleListTebPeb = 0x60;
const size_t kSkinModuleListPebLoaderData = 0x18;
const size_t kSkinModuleListLoaderDataLoadOrder = 0x10;

// The records of this process's modules in load order; FALSE when the
// loader's lock is out of reach (PSAPI answers then). Nothing that can throw
// runs under that lock, or a failed allocation would leave it held for good:
// room is made before it is taken, and the list read again when it grew
// past the room meanwhile.
BOOL SkinModuleListReadOwn(std::vector<QVT_MODULEINFO>& records)
{
    const SkinModuleListLoader& loader = SkinModuleListGetLoader();
    if (loader.pfnLock == nullptr || loader.pfnUnlock == nullptr)
        return FALSE;
    size_t nRoom = 64;
    for (int nTry = 0; nTry < 16; nTry++)
    {
        records.assign(nRoom, QVT_MODULEINFO{});
        ULONG_PTR nCookie = 0;
        if (loader.pfnLock(0, nullptr, &nCookie) != 0)
            return FALSE;
        const BYTE* pTeb = reinterpret_cast<const BYTE*>(NtCurrentTeb());
        const BYTE* pPeb = *reinterpret_cast<const BYTE* const*>(pTeb + kSkinModuleListTebPeb);
        const BYTE* pLoaderData =
            pPeb != nullptr ? *reinterpret_cast<const BYTE* const*>(pPeb + kSkinModuleListPebLoaderData)
                            : nullptr;
        size_t nCount = 0;
        if (pLoaderData != nullptr)
        {
            const LIST_ENTRY* pHead =
                reinterpret_cast<const LIST_ENTRY*>(pLoaderData + kSkinModuleListLoaderDataLoadOrder);
            // A count no process comes near bounds a damaged list.
            size_t nLimit = 65536;
            for (const LIST_ENTRY* pLink = pHead->Flink; pLink != nullptr && pLink != pHead && nLimit-- > 0;
                 pLink = pLink->Flink, nCount++)
            {
                if (nCount >= nRoom)
                    continue;
                const SkinModuleListLoaderEntry* pEntry =
                    reinterpret_cast<const SkinModuleListLoaderEntry*>(pLink);
                QVT_MODULEINFO& record = records[nCount];
                record.lpBaseOfDll = pEntry->pBase;
                record.SizeOfImage = pEntry->cbImage;
                record.EntryPoint = pEntry->pEntryPoint;
                record.hModule = static_cast<HMODULE>(pEntry->pBase);
            }
        }
        loader.pfnUnlock(0, nCookie);
        if (pLoaderData == nullptr)
            return FALSE;
        if (nCount <= nRoom)
        {
            records.resize(nCount);
            return TRUE;
        }
        // Room for a few arrivals before the next read.
        nRoom = nCount + 16;
    }
    return FALSE;
}

BOOL SkinModuleListHandleIsImage(HMODULE hModule)
{
    return hModule != nullptr && (reinterpret_cast<ULONG_PTR>(hModule) & 3) == 0;
}
}  // namespace

BOOL AFXAPI CQVTSkinManagerModuleList::IsReadable(const void* pAddress, SIZE_T cb)
{
    const BYTE* pByte = static_cast<const BYTE*>(pAddress);
    const BYTE* pEnd = pByte + cb;
    if (pByte == nullptr || pEnd < pByte)
        return FALSE;
    while (pByte < pEnd)
    {
        MEMORY_BASIC_INFORMATION mbi = {};
        if (::VirtualQuery(pByte, &mbi, sizeof(mbi)) != sizeof(mbi) || mbi.State != MEM_COMMIT ||
            (mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0 || mbi.Protect == 0)
            return FALSE;
        const BYTE* pRegionEnd = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize;
        if (pRegionEnd <= pByte)
            return FALSE;
        pByte = pRegionEnd;
    }
    return TRUE;
}

BOOL AFXAPI CQVTSkinManagerModuleList::IsValidImage(HMODULE hModule)
{
    const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
    if (pBase == nullptr || !IsReadable(pBase, 64))
        return FALSE;
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    if (pDos->e_magic != IMAGE_DOS_SIGNATURE)
        return FALSE;
    const BYTE* pNt = pBase + static_cast<DWORD>(pDos->e_lfanew);
    return IsReadable(pNt, 264) && *reinterpret_cast<const DWORD*>(pNt) == IMAGE_NT_SIGNATURE;
}

BOOL AFXAPI CQVTSkinManagerModuleList::IsModuleEnumerationSupported()
{
    return SkinModuleListGetSupport().bSupported;
}

void AFXAPI CQVTSkinManagerModuleList::SetLoaderFunctions(PFNLOADLIBRARYEXW pfnLoadLibraryEx,
                                                          PFNFREELIBRARY pfnFreeLibrary)
{
    g_pfnSkinModuleListLoad = pfnLoadLibraryEx;
    g_pfnSkinModuleListFree = pfnFreeLibrary;
}

CQVTSkinManagerModuleList::CModuleEnumerator::CModuleEnumerator(DWORD dwProcessId, BOOL bCached)
    : m_dwProcessId(dwProcessId), m_bCached(bCached)
{
    // The list's own references must never reach the interception's loader
    // replacements: the saved functions when the loader is patched.
    m_pfnLoadLibraryEx = g_pfnSkinModuleListLoad != nullptr ? g_pfnSkinModuleListLoad : &::LoadLibraryExW;
    m_pfnFreeLibrary = g_pfnSkinModuleListFree != nullptr ? g_pfnSkinModuleListFree : &::FreeLibrary;
}

CQVTSkinManagerModuleList::CModuleEnumerator::~CModuleEnumerator()
{
    Reset(TRUE);
}

void CQVTSkinManagerModuleList::CModuleEnumerator::Reset(BOOL bDropPins)
{
    if (bDropPins)
    {
        while (m_nPinDepth > 0)
            Pin(FALSE);
        m_bFilled = FALSE;
    }
    // Records that still hold references stay, or the references would
    // never be given back.
    if (!m_bCached && m_nPinDepth == 0)
        m_records.clear();
    m_nPosition = 0;
}

void CQVTSkinManagerModuleList::CModuleEnumerator::ReadRecords()
{
    Reset(FALSE);
    if (m_bCached && !m_records.empty())
        return;
    if (m_nPinDepth > 0)
        return;
    Enumerate(m_records);
}

void CQVTSkinManagerModuleList::CModuleEnumerator::Refresh(BOOL bPin)
{
    ReadRecords();
    if (bPin)
        Pin(TRUE);
    m_bFilled = TRUE;
}

HMODULE CQVTSkinManagerModuleList::CModuleEnumerator::GetFirstModule()
{
    if (!m_bFilled)
    {
        ReadRecords();
        m_bFilled = TRUE;
    }
    return GetNextModule();
}

HMODULE CQVTSkinManagerModuleList::CModuleEnumerator::GetNextModule()
{
    while (m_nPosition < m_records.size())
    {
        const QVT_MODULEINFO& record = m_records[m_nPosition++];
        if (!record.bUnpinned && IsValidImage(record.hModule))
            return record.hModule;
    }
    Reset(FALSE);
    return nullptr;
}

void CQVTSkinManagerModuleList::CModuleEnumerator::Pin(BOOL bPin)
{
    if (!bPin)
    {
        if (m_nPinDepth == 0)
            return;
        m_nPinDepth--;
        for (QVT_MODULEINFO& record : m_records)
            if (record.hModule != nullptr && !record.bUnpinned && record.nPinCount > 0 &&
                m_pfnFreeLibrary(record.hModule))
                record.nPinCount--;
        return;
    }

    m_nPinDepth++;
    CQVTSkinManager* pManager = QVTSkinManager();
    for (QVT_MODULEINFO& record : m_records)
    {
        if (record.hModule == nullptr || record.bUnpinned)
            continue;
        record.bUnpinned = TRUE;
        WCHAR szPath[261] = {};
        if (!SkinModuleListHandleIsImage(record.hModule) ||
            ::GetModuleFileNameW(record.hModule, szPath, 261) == 0)
            continue;
        HMODULE hLoaded = m_pfnLoadLibraryEx(szPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (hLoaded == nullptr)
            continue;
        if (hLoaded != record.hModule || !IsValidImage(record.hModule))
        {
            m_pfnFreeLibrary(hLoaded);
            continue;
        }
        record.bUnpinned = FALSE;
        if (pManager != nullptr && pManager->IsPersistentModule(record.hModule))
            m_pfnFreeLibrary(hLoaded);
        else
            record.nPinCount++;
    }
}

BOOL CQVTSkinManagerModuleList::CModuleEnumerator::GetModuleInformation(HMODULE hModule,
                                                                        QVT_MODULEINFO* pInfo)
{
    if (pInfo == nullptr || !IsValidImage(hModule))
        return FALSE;
    std::vector<QVT_MODULEINFO> temporary;
    const std::vector<QVT_MODULEINFO>* pRecords = &m_records;
    if (m_bCached)
    {
        if (m_records.empty())
            Enumerate(m_records);
    }
    else
    {
        Enumerate(temporary);
        pRecords = &temporary;
    }
    for (const QVT_MODULEINFO& record : *pRecords)
        if (record.hModule == hModule)
        {
            *pInfo = record;
            return TRUE;
        }
    return FALSE;
}

CQVTSkinManagerModuleList::CPsapiModuleEnumerator::CPsapiModuleEnumerator(DWORD dwProcessId, BOOL bCached,
                                                                          HMODULE hPsapi)
    : CModuleEnumerator(dwProcessId, bCached), m_hPsapi(hPsapi)
{
    if (hPsapi != nullptr)
    {
        m_pfnEnumProcessModules =
            reinterpret_cast<PFNENUMPROCESSMODULES>(::GetProcAddress(hPsapi, "EnumProcessModules"));
        m_pfnGetModuleInformation =
            reinterpret_cast<PFNGETMODULEINFORMATION>(::GetProcAddress(hPsapi, "GetModuleInformation"));
    }
}

void CQVTSkinManagerModuleList::CPsapiModuleEnumerator::Enumerate(std::vector<QVT_MODULEINFO>& records)
{
    records.clear();
    if (m_pfnEnumProcessModules == nullptr || m_pfnGetModuleInformation == nullptr)
        return;
    HANDLE hProcess = ::OpenProcess(kSkinModuleListProcessAccess, FALSE, m_dwProcessId);
    if (hProcess == nullptr)
        return;
    // Modules load and unload between the calls: the count that holds is
    // the one of the call that filled the buffer, grown until it fits.
    std::vector<HMODULE> handles(1);
    DWORD cbNeeded = 0;
    for (int nTry = 0; nTry < 16; nTry++)
    {
        const DWORD cbBuffer = static_cast<DWORD>(handles.size() * sizeof(HMODULE));
        cbNeeded = 0;
        if (!m_pfnEnumProcessModules(hProcess, handles.data(), cbBuffer, &cbNeeded) ||
            cbNeeded < sizeof(HMODULE))
        {
            cbNeeded = 0;
            break;
        }
        if (cbNeeded <= cbBuffer)
            break;
        // Room for a few arrivals before the next call.
        handles.assign(cbNeeded / sizeof(HMODULE) + 8, nullptr);
    }
    const size_t nCount = std::min<size_t>(cbNeeded / sizeof(HMODULE), handles.size());
    for (size_t i = 0; i < nCount; i++)
    {
        QVT_MODULEINFO record = {};
        if (m_pfnGetModuleInformation(hProcess, handles[i], reinterpret_cast<LPMODULEINFO>(&record),
                                      sizeof(MODULEINFO)))
        {
            record.hModule = handles[i];
            records.push_back(record);
        }
    }
    ::CloseHandle(hProcess);
}

BOOL CQVTSkinManagerModuleList::CPsapiModuleEnumerator::GetModuleInformation(HMODULE hModule,
                                                                             QVT_MODULEINFO* pInfo)
{
    if (m_pfnGetModuleInformation == nullptr || hModule == nullptr || pInfo == nullptr)
        return FALSE;
    HANDLE hProcess = ::OpenProcess(kSkinModuleListProcessAccess, FALSE, m_dwProcessId);
    if (hProcess == nullptr)
        return FALSE;
    *pInfo = QVT_MODULEINFO{};
    const BOOL bResult = m_pfnGetModuleInformation(hProcess, hModule, reinterpret_cast<LPMODULEINFO>(pInfo),
                                                   sizeof(MODULEINFO));
    pInfo->hModule = hModule;
    ::CloseHandle(hProcess);
    return bResult;
}

BOOL AFXAPI CQVTSkinManagerModuleList::CLoaderModuleEnumerator::IsAvailable()
{
    const SkinModuleListLoader& loader = SkinModuleListGetLoader();
    return loader.pfnLock != nullptr && loader.pfnUnlock != nullptr;
}

void CQVTSkinManagerModuleList::CLoaderModuleEnumerator::Enumerate(std::vector<QVT_MODULEINFO>& records)
{
    records.clear();
    if (!SkinModuleListReadOwn(records))
        records.clear();
}

void CQVTSkinManagerModuleList::CToolHelpModuleEnumerator::Enumerate(std::vector<QVT_MODULEINFO>& records)
{
    records.clear();
    CQVTToolHelpApi* pApi = QVTToolHelpApi();
    if (!pApi->m_bValid)
        return;
    HANDLE hSnapshot = pApi->CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, m_dwProcessId);
    if (hSnapshot == INVALID_HANDLE_VALUE || hSnapshot == nullptr)
        return;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    static_assert(sizeof(MODULEENTRY32W) == 1080, "the wide module entry");
    for (BOOL bMore = pApi->Module32First(hSnapshot, &entry); bMore;
         bMore = pApi->Module32Next(hSnapshot, &entry))
    {
        if (entry.hModule == nullptr)
            continue;
        QVT_MODULEINFO record = {};
        record.lpBaseOfDll = entry.modBaseAddr;
        record.SizeOfImage = entry.modBaseSize;
        record.hModule = entry.hModule;
        records.push_back(record);
    }
    ::CloseHandle(hSnapshot);
}

CQVTSkinManagerModuleList::CQVTSkinManagerModuleList(DWORD dwProcessId, BOOL bCached)
{
    SkinModuleListSupport& support = SkinModuleListGetSupport();
    if (dwProcessId == ::GetCurrentProcessId() && support.bSupported &&
        CLoaderModuleEnumerator::IsAvailable())
        m_pEnumerator = new CLoaderModuleEnumerator(bCached);
    else if (support.psapi.GetHandle() != nullptr)
        m_pEnumerator = new CPsapiModuleEnumerator(dwProcessId, bCached, support.psapi.GetHandle());
    else if (QVTToolHelpApi()->m_bValid)
        m_pEnumerator = new CToolHelpModuleEnumerator(dwProcessId, bCached);
}

CQVTSkinManagerModuleList::~CQVTSkinManagerModuleList()
{
    delete m_pEnumerator;
}

void CQVTSkinManagerModuleList::Refresh(BOOL bPin)
{
    if (m_pEnumerator != nullptr)
        m_pEnumerator->Refresh(bPin);
}

HMODULE CQVTSkinManagerModuleList::GetFirstModule()
{
    return m_pEnumerator != nullptr ? m_pEnumerator->GetFirstModule() : nullptr;
}

HMODULE CQVTSkinManagerModuleList::GetNextModule()
{
    return m_pEnumerator != nullptr ? m_pEnumerator->GetNextModule() : nullptr;
}

BOOL CQVTSkinManagerModuleList::GetModuleInformation(HMODULE hModule, QVT_MODULEINFO* pInfo)
{
    return m_pEnumerator != nullptr && m_pEnumerator->GetModuleInformation(hModule, pInfo);
}
