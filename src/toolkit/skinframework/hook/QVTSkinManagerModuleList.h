// The modules of one process, read through PSAPI or, without it, through the
// tool-help snapshot, optionally holding a reference on each so that none
// unloads while the interception patches their import tables.
#pragma once

#include <afx.h>
// Before our declarations: it renames GetModuleInformation for every reader.
#include <psapi.h>

#include <vector>

// One module. The first three fields have MODULEINFO's layout, so that
// GetModuleInformation fills them directly.
struct QVT_MODULEINFO
{
    LPVOID lpBaseOfDll;
    DWORD SizeOfImage;
    LPVOID EntryPoint;
    HMODULE hModule;
    DWORD nPinCount;
    // Set when a pin pass could not pin the module; such a record is skipped.
    DWORD bUnpinned;
};

class CQVTSkinManagerModuleList
{
public:
    typedef HMODULE(WINAPI* PFNLOADLIBRARYEXW)(LPCWSTR, HANDLE, DWORD);
    typedef BOOL(WINAPI* PFNFREELIBRARY)(HMODULE);

    class CModuleEnumerator
    {
    public:
        CModuleEnumerator(DWORD dwProcessId, BOOL bCached);
        virtual ~CModuleEnumerator();
        CModuleEnumerator(const CModuleEnumerator&) = delete;
        CModuleEnumerator& operator=(const CModuleEnumerator&) = delete;

        virtual BOOL GetModuleInformation(HMODULE hModule, QVT_MODULEINFO* pInfo);
        virtual void Enumerate(std::vector<QVT_MODULEINFO>& records) = 0;

        void Refresh(BOOL bPin);
        HMODULE GetFirstModule();
        HMODULE GetNextModule();
        void Reset(BOOL bDropPins);

        // The records as read (tests).
        const std::vector<QVT_MODULEINFO>& GetRecords() const { return m_records; }
        int GetPinDepth() const { return m_nPinDepth; }

    protected:
        void ReadRecords();
        // TRUE raises the pin depth and pins; FALSE drops one pass.
        void Pin(BOOL bPin);

        std::vector<QVT_MODULEINFO> m_records;
        size_t m_nPosition = 0;
        DWORD m_dwProcessId;
        BOOL m_bCached;
        BOOL m_bFilled = FALSE;
        int m_nPinDepth = 0;
        PFNLOADLIBRARYEXW m_pfnLoadLibraryEx;
        PFNFREELIBRARY m_pfnFreeLibrary;
    };

    class CPsapiModuleEnumerator : public CModuleEnumerator
    {
    public:
        typedef BOOL(WINAPI* PFNENUMPROCESSMODULES)(HANDLE, HMODULE*, DWORD, LPDWORD);
        typedef BOOL(WINAPI* PFNGETMODULEINFORMATION)(HANDLE, HMODULE, LPMODULEINFO, DWORD);

        CPsapiModuleEnumerator(DWORD dwProcessId, BOOL bCached, HMODULE hPsapi);
        BOOL GetModuleInformation(HMODULE hModule, QVT_MODULEINFO* pInfo) override;
        void Enumerate(std::vector<QVT_MODULEINFO>& records) override;

    protected:
        HMODULE m_hPsapi;
        PFNENUMPROCESSMODULES m_pfnEnumProcessModules = nullptr;
        PFNGETMODULEINFORMATION m_pfnGetModuleInformation = nullptr;
    };

    // This process's modules, read from the loader's own list in place:
    // PSAPI reads it through the server, a request for every read.
    class CLoaderModuleEnumerator : public CModuleEnumerator
    {
    public:
        explicit CLoaderModuleEnumerator(BOOL bCached) : CModuleEnumerator(::GetCurrentProcessId(), bCached)
        {
        }
        void Enumerate(std::vector<QVT_MODULEINFO>& records) override;
        // FALSE when the loader's lock cannot be taken.
        static BOOL AFXAPI IsAvailable();
    };

    class CToolHelpModuleEnumerator : public CModuleEnumerator
    {
    public:
        CToolHelpModuleEnumerator(DWORD dwProcessId, BOOL bCached) : CModuleEnumerator(dwProcessId, bCached)
        {
        }
        void Enumerate(std::vector<QVT_MODULEINFO>& records) override;
    };

    // This process: the loader's list. Another: PSAPI's enumerator when
    // PSAPI.DLL loads, else tool help's when the snapshot functions exist,
    // else none (every operation yields nothing).
    CQVTSkinManagerModuleList(DWORD dwProcessId, BOOL bCached);
    // Takes the enumerator given (tests force one of the two).
    explicit CQVTSkinManagerModuleList(CModuleEnumerator* pEnumerator) : m_pEnumerator(pEnumerator) {}
    ~CQVTSkinManagerModuleList();
    CQVTSkinManagerModuleList(const CQVTSkinManagerModuleList&) = delete;
    CQVTSkinManagerModuleList& operator=(const CQVTSkinManagerModuleList&) = delete;

    void Refresh(BOOL bPin);
    HMODULE GetFirstModule();
    HMODULE GetNextModule();
    BOOL GetModuleInformation(HMODULE hModule, QVT_MODULEINFO* pInfo);
    CModuleEnumerator* GetEnumerator() const { return m_pEnumerator; }

    static BOOL AFXAPI IsModuleEnumerationSupported();
    // TRUE when the handle points at a readable image with both signatures.
    static BOOL AFXAPI IsValidImage(HMODULE hModule);
    // TRUE when [pAddress, pAddress + cb) lies in committed, readable memory.
    static BOOL AFXAPI IsReadable(const void* pAddress, SIZE_T cb);

    // The loader functions the lists made from now on take references
    // through (the interception's saved ones while it patches the loader);
    // null restores the system's.
    static void AFXAPI SetLoaderFunctions(PFNLOADLIBRARYEXW pfnLoadLibraryEx, PFNFREELIBRARY pfnFreeLibrary);

private:
    CModuleEnumerator* m_pEnumerator = nullptr;
};
