#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"

#include <dwmapi.h>
#include <tchar.h>

namespace {
const char* const g_slotNames[CQVTWinThemeApiTable::slotCount] = {
    /*  0 */ "DrawThemeBackground",
    "CloseThemeData",
    nullptr,
    nullptr,
    "OpenThemeData",
    /*  5 */ nullptr,
    nullptr,
    nullptr,
    "IsThemeActive",
    "IsAppThemed",
    /* 10 */ nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    /* 15 */ nullptr,
    nullptr,
    nullptr,
    nullptr,
    "GetThemeSysColor",
    /* 20 */ "GetThemeSysBool",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    /* 25 */ "GetThemePartSize",
    nullptr,
    nullptr,
    nullptr,
    "GetThemeInt",
    /* 30 */ nullptr,
    nullptr,
    nullptr,
    nullptr,
    "GetThemeColor",
    /* 35 */ nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    /* 40 */ "GetCurrentThemeName",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    /* 45 */ nullptr,
    nullptr,
    nullptr,
    nullptr,
    "BeginBufferedPaint",
    /* 50 */ "EndBufferedPaint",
    "DrawThemeTextEx",
    nullptr,
};

typedef HRESULT(WINAPI* PFNDRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* PFNCLOSETHEMEDATA)(HTHEME);
typedef HTHEME(WINAPI* PFNOPENTHEMEDATA)(HWND, LPCWSTR);
typedef BOOL(WINAPI* PFNISTHEMEACTIVE)();
typedef BOOL(WINAPI* PFNISAPPTHEMED)();
typedef COLORREF(WINAPI* PFNGETTHEMESYSCOLOR)(HTHEME, int);
typedef BOOL(WINAPI* PFNGETTHEMESYSBOOL)(HTHEME, int);
typedef HRESULT(WINAPI* PFNGETTHEMEPARTSIZE)(HTHEME, HDC, int, int, LPCRECT, THEMESIZE, SIZE*);
typedef HRESULT(WINAPI* PFNGETTHEMEINT)(HTHEME, int, int, int, int*);
typedef HRESULT(WINAPI* PFNGETTHEMECOLOR)(HTHEME, int, int, int, COLORREF*);
typedef HRESULT(WINAPI* PFNGETCURRENTTHEMENAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
typedef HPAINTBUFFER(WINAPI* PFNBEGINBUFFEREDPAINT)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*);
typedef HRESULT(WINAPI* PFNENDBUFFEREDPAINT)(HPAINTBUFFER, BOOL);
typedef HRESULT(WINAPI* PFNDRAWTHEMETEXTEX)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPRECT,
                                            const DTTOPTS*);

typedef BOOL(WINAPI* PFNDWMDEFWINDOWPROC)(HWND, UINT, WPARAM, LPARAM, LRESULT*);
typedef HRESULT(WINAPI* PFNDWMISCOMPOSITIONENABLED)(BOOL*);
typedef HRESULT(WINAPI* PFNDWMEXTENDFRAMEINTOCLIENTAREA)(HWND, const MARGINS*);
typedef BOOL(WINAPI* PFNSETPROCESSDPIAWARE)();

const char g_themeLibraryA[] = "UXTHEME.DLL";

// Table A: wrappers that keep the library they first bound.
CQVTWinThemeApiTable& SharedTable()
{
    static CQVTWinThemeApiTable table(FALSE);
    return table;
}

// Table B: wrappers that follow the library now loaded.
CQVTWinThemeApiTable& SharedFollowingTable()
{
    static CQVTWinThemeApiTable table(FALSE);
    return table;
}

// The desktop window manager's three functions; the library is never freed.
struct DwmApiTable
{
    // The wrapper's public slots, so that the two cannot drift apart.
    enum
    {
        slotDefWindowProc = CQVTWinThemeWrapper::dwmDefWindowProc,
        slotIsCompositionEnabled = CQVTWinThemeWrapper::dwmIsCompositionEnabled,
        slotExtendFrameIntoClientArea = CQVTWinThemeWrapper::dwmExtendFrameIntoClientArea,
        slotCount
    };

    DwmApiTable() : hModule(::LoadLibraryW(_T("dwmapi.dll")))
    {
        for (auto& slot : slots)
            slot.store(nullptr, std::memory_order_relaxed);
    }

    void* Bind(int nSlot)
    {
        static const char* const names[slotCount] = {"DwmDefWindowProc", "DwmIsCompositionEnabled",
                                                     "DwmExtendFrameIntoClientArea"};
        void* pfn = slots[nSlot].load(std::memory_order_acquire);
        if (!pfn && hModule)
        {
            pfn = reinterpret_cast<void*>(::GetProcAddress(hModule, names[nSlot]));
            slots[nSlot].store(pfn, std::memory_order_release);
        }
        return pfn;
    }

    HMODULE hModule;
    std::atomic<void*> slots[slotCount];
};

DwmApiTable& DwmTable()
{
    static DwmApiTable table;
    return table;
}

// Guards one call into a bound function: nothing thrown gets past it.
template <class TResult, class TBody>
TResult Guarded(TResult failure, TBody body)
{
    try
    {
        return body();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return failure;
}
}  // namespace

// --- CQVTWinThemeApiTable ----------------------------------------------------------

CQVTWinThemeApiTable::CQVTWinThemeApiTable(BOOL bOwnsModule) : m_bOwnsModule(bOwnsModule)
{
    ClearSlots();
    m_hLoadedModule = ::LoadLibraryW(_T("UXTHEME.DLL"));
    m_hModule.store(m_hLoadedModule, std::memory_order_release);
    m_dwComCtlVersion = CQVTModuleHandle::GetComCtlVersion();
}

CQVTWinThemeApiTable::~CQVTWinThemeApiTable()
{
    if (m_bOwnsModule && m_hLoadedModule)
        ::FreeLibrary(m_hLoadedModule);
}

LPCSTR AFXAPI CQVTWinThemeApiTable::GetSlotName(int nSlot)
{
    return nSlot >= 0 && nSlot < slotCount ? g_slotNames[nSlot] : nullptr;
}

void* CQVTWinThemeApiTable::Bind(int nSlot)
{
    if (nSlot < 0 || nSlot >= slotCount)
        return nullptr;
    // Two threads may bind the same slot; both write the same address.
    void* pfn = m_slots[nSlot].load(std::memory_order_acquire);
    if (pfn)
        return pfn;
    HMODULE hModule = GetModule();
    if (!hModule || !g_slotNames[nSlot] ||
        reinterpret_cast<UINT_PTR>(hModule) == CQVTWinThemeWrapper::skinModuleMarker)
        return nullptr;
    pfn = reinterpret_cast<void*>(::GetProcAddress(hModule, g_slotNames[nSlot]));
    m_slots[nSlot].store(pfn, std::memory_order_release);
    return pfn;
}

void CQVTWinThemeApiTable::SetSlot(int nSlot, void* pfn)
{
    if (nSlot >= 0 && nSlot < slotCount)
        m_slots[nSlot].store(pfn, std::memory_order_release);
}

void* CQVTWinThemeApiTable::GetSlot(int nSlot) const
{
    return nSlot >= 0 && nSlot < slotCount ? m_slots[nSlot].load(std::memory_order_acquire) : nullptr;
}

void CQVTWinThemeApiTable::ClearSlots()
{
    for (auto& slot : m_slots)
        slot.store(nullptr, std::memory_order_release);
}

void CQVTWinThemeApiTable::FollowLoadedModule()
{
    HMODULE hLoaded = ::GetModuleHandleA(g_themeLibraryA);
    if (hLoaded == GetModule())
        return;
    m_hModule.store(hLoaded, std::memory_order_release);
    ClearSlots();
}

// --- CQVTWinThemeWrapper -----------------------------------------------------------

CQVTWinThemeWrapper::CQVTWinThemeWrapper(BOOL bFollowLoadedModule)
    : m_bFollowLoadedModule(bFollowLoadedModule)
{
}

CQVTWinThemeWrapper::~CQVTWinThemeWrapper()
{
    CloseThemeData();
    delete m_pPrivateTable;
}

CQVTWinThemeApiTable* CQVTWinThemeWrapper::GetApiTable()
{
    if (m_pPrivateTable)
        return m_pPrivateTable;
    return m_bFollowLoadedModule ? &SharedFollowingTable() : &SharedTable();
}

template <class TResult, class TFunction, class... TArgs>
TResult CQVTWinThemeWrapper::Call(int nSlot, TResult failure, TArgs... args)
{
    return Guarded(failure, [&]() -> TResult {
        TFunction pfn = reinterpret_cast<TFunction>(GetApiTable()->Bind(nSlot));
        if (!pfn)
            return failure;
        return pfn(args...);
    });
}

HRESULT CQVTWinThemeWrapper::DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect,
                                                 const RECT* pClipRect)
{
    return Call<HRESULT, PFNDRAWTHEMEBACKGROUND>(CQVTWinThemeApiTable::slotDrawThemeBackground, E_FAIL,
                                                 m_hTheme, hDC, nPartId, nStateId, pRect, pClipRect);
}

HRESULT CQVTWinThemeWrapper::DrawThemeTextEx(HDC hDC, int nPartId, int nStateId, LPCWSTR pszText, int cchText,
                                             DWORD dwTextFlags, LPRECT pRect, const DTTOPTS* pOptions)
{
    return Call<HRESULT, PFNDRAWTHEMETEXTEX>(CQVTWinThemeApiTable::slotDrawThemeTextEx, E_FAIL, m_hTheme, hDC,
                                             nPartId, nStateId, pszText, cchText, dwTextFlags, pRect,
                                             pOptions);
}

HRESULT CQVTWinThemeWrapper::GetThemeColor(int nPartId, int nStateId, int nPropId, COLORREF* pColor)
{
    return Call<HRESULT, PFNGETTHEMECOLOR>(CQVTWinThemeApiTable::slotGetThemeColor, E_FAIL, m_hTheme, nPartId,
                                           nStateId, nPropId, pColor);
}

HRESULT CQVTWinThemeWrapper::GetThemeInt(int nPartId, int nStateId, int nPropId, int* piVal)
{
    return Call<HRESULT, PFNGETTHEMEINT>(CQVTWinThemeApiTable::slotGetThemeInt, E_FAIL, m_hTheme, nPartId,
                                         nStateId, nPropId, piVal);
}

HRESULT CQVTWinThemeWrapper::GetThemePartSize(HDC hDC, int nPartId, int nStateId, LPCRECT pRect,
                                              THEMESIZE eSize, SIZE* pSize)
{
    return Call<HRESULT, PFNGETTHEMEPARTSIZE>(CQVTWinThemeApiTable::slotGetThemePartSize, E_FAIL, m_hTheme,
                                              hDC, nPartId, nStateId, pRect, eSize, pSize);
}

BOOL CQVTWinThemeWrapper::GetThemeSysBool(int nBoolId)
{
    return Call<BOOL, PFNGETTHEMESYSBOOL>(CQVTWinThemeApiTable::slotGetThemeSysBool, FALSE, m_hTheme,
                                          nBoolId);
}

COLORREF CQVTWinThemeWrapper::GetThemeSysColor(int nColorId)
{
    return Call<COLORREF, PFNGETTHEMESYSCOLOR>(CQVTWinThemeApiTable::slotGetThemeSysColor,
                                               COLORREF(0xFFFFFFFF), m_hTheme, nColorId);
}

HRESULT CQVTWinThemeWrapper::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                                 LPWSTR pszColorBuff, int cchMaxColorChars,
                                                 LPWSTR pszSizeBuff, int cchMaxSizeChars)
{
    if (m_bFollowLoadedModule)
        Guarded(0, [&]() {
            GetApiTable()->FollowLoadedModule();
            return 0;
        });
    return Call<HRESULT, PFNGETCURRENTTHEMENAME>(CQVTWinThemeApiTable::slotGetCurrentThemeName, E_FAIL,
                                                 pszThemeFileName, cchMaxNameChars, pszColorBuff,
                                                 cchMaxColorChars, pszSizeBuff, cchMaxSizeChars);
}

BOOL CQVTWinThemeWrapper::IsAppThemed()
{
    return Call<BOOL, PFNISAPPTHEMED>(CQVTWinThemeApiTable::slotIsAppThemed, FALSE);
}

BOOL CQVTWinThemeWrapper::IsThemeActive()
{
    if (m_bFollowLoadedModule)
        Guarded(0, [&]() {
            GetApiTable()->FollowLoadedModule();
            return 0;
        });
    return Call<BOOL, PFNISTHEMEACTIVE>(CQVTWinThemeApiTable::slotIsThemeActive, FALSE);
}

HPAINTBUFFER CQVTWinThemeWrapper::BeginBufferedPaint(HDC hdcTarget, const RECT* prcTarget,
                                                     BP_BUFFERFORMAT dwFormat, BP_PAINTPARAMS* pPaintParams,
                                                     HDC* phdc)
{
    return Call<HPAINTBUFFER, PFNBEGINBUFFEREDPAINT>(CQVTWinThemeApiTable::slotBeginBufferedPaint,
                                                     HPAINTBUFFER(nullptr), hdcTarget, prcTarget, dwFormat,
                                                     pPaintParams, phdc);
}

void CQVTWinThemeWrapper::EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget)
{
    Call<HRESULT, PFNENDBUFFEREDPAINT>(CQVTWinThemeApiTable::slotEndBufferedPaint, E_FAIL, hBufferedPaint,
                                       fUpdateTarget);
}

HTHEME CQVTWinThemeWrapper::OpenThemeData(HWND hWnd, LPCWSTR pszClassList)
{
    CloseThemeData();
    if (m_bFollowLoadedModule)
        Guarded(0, [&]() {
            GetApiTable()->FollowLoadedModule();
            return 0;
        });
    m_hTheme = Call<HTHEME, PFNOPENTHEMEDATA>(CQVTWinThemeApiTable::slotOpenThemeData, HTHEME(nullptr), hWnd,
                                              pszClassList);
    return m_hTheme;
}

void CQVTWinThemeWrapper::CloseThemeData()
{
    if (m_hTheme)
        Call<HRESULT, PFNCLOSETHEMEDATA>(CQVTWinThemeApiTable::slotCloseThemeData, E_FAIL, m_hTheme);
    m_hTheme = nullptr;
}

BOOL CQVTWinThemeWrapper::IsAppThemeActive()
{
    return IsAppThemed() && m_hTheme != nullptr;
}

BOOL CQVTWinThemeWrapper::IsVisualStylesAvailable()
{
    if (!IsThemeActive() || !IsAppThemed())
        return FALSE;
    CQVTWinThemeApiTable* pTable = GetApiTable();
    if (reinterpret_cast<UINT_PTR>(pTable->GetModule()) == skinModuleMarker)
        return TRUE;
    return HIWORD(pTable->GetComCtlVersion()) > 5;
}

void AFXAPI CQVTWinThemeWrapper::SetDwmApiPointer(DwmSlot nSlot, void* pfn)
{
    const int nIndex = nSlot;
    if (nIndex >= 0 && nIndex < DwmApiTable::slotCount)
        DwmTable().slots[nIndex].store(pfn, std::memory_order_release);
}

HRESULT CQVTWinThemeWrapper::DwmDefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                              LRESULT* plResult)
{
    return Guarded(HRESULT(E_FAIL), [&]() -> HRESULT {
        auto pfn = reinterpret_cast<PFNDWMDEFWINDOWPROC>(DwmTable().Bind(DwmApiTable::slotDefWindowProc));
        if (!pfn)
            return E_FAIL;
        // The function answers whether it handled the message.
        return pfn(hWnd, msg, wParam, lParam, plResult) ? S_OK : S_FALSE;
    });
}

BOOL CQVTWinThemeWrapper::DwmIsCompositionEnabled()
{
    return Guarded(BOOL(FALSE), [&]() -> BOOL {
        auto pfn = reinterpret_cast<PFNDWMISCOMPOSITIONENABLED>(
            DwmTable().Bind(DwmApiTable::slotIsCompositionEnabled));
        BOOL bEnabled = FALSE;
        if (!pfn || FAILED(pfn(&bEnabled)))
            return FALSE;
        return bEnabled;
    });
}

HRESULT CQVTWinThemeWrapper::DwmExtendFrameIntoClientArea(HWND hWnd, int cxLeftWidth, int cyTopHeight,
                                                          int cxRightWidth, int cyBottomHeight)
{
    return Guarded(HRESULT(E_FAIL), [&]() -> HRESULT {
        auto pfn = reinterpret_cast<PFNDWMEXTENDFRAMEINTOCLIENTAREA>(
            DwmTable().Bind(DwmApiTable::slotExtendFrameIntoClientArea));
        if (!pfn)
            return E_FAIL;
        MARGINS margins = {cxLeftWidth, cxRightWidth, cyTopHeight, cyBottomHeight};
        return pfn(hWnd, &margins);
    });
}

void CQVTWinThemeWrapper::ReloadApiTable()
{
    CQVTWinThemeApiTable* pTable = new CQVTWinThemeApiTable(TRUE);
    delete m_pPrivateTable;
    m_pPrivateTable = pTable;
}

void CQVTWinThemeWrapper::SetApiPointer(int nSlot, void* pfn)
{
    GetApiTable()->SetSlot(nSlot, pfn);
}

BOOL AFXAPI CQVTWinThemeWrapper::CallSetProcessDPIAware()
{
    static const PFNSETPROCESSDPIAWARE pfn = []() {
        HMODULE hUser32 = ::GetModuleHandleW(_T("user32.dll"));
        return hUser32
                   ? reinterpret_cast<PFNSETPROCESSDPIAWARE>(::GetProcAddress(hUser32, "SetProcessDPIAware"))
                   : nullptr;
    }();
    return pfn ? pfn() : 0;
}
