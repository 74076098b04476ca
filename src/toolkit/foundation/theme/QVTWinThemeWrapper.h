// The visual-styles functions of the theme library and three functions of the
// desktop window manager, all bound by name on first use. Every operation has
// a defined failure value, so the toolkit runs unchanged where a library or a
// function is missing. Each wrapper owns one theme handle.
#pragma once

#include <afx.h>
#include <uxtheme.h>

#include <atomic>

// Entry points of the theme library, one slot per function.
class CQVTWinThemeApiTable
{
public:
    enum
    {
        slotCount = 53,
        slotDrawThemeBackground = 0,
        slotCloseThemeData = 1,
        slotOpenThemeData = 4,
        slotIsThemeActive = 8,
        slotIsAppThemed = 9,
        slotGetThemeSysColor = 19,
        slotGetThemeSysBool = 20,
        slotGetThemePartSize = 25,
        slotGetThemeInt = 29,
        slotGetThemeColor = 34,
        slotGetCurrentThemeName = 40,
        slotBeginBufferedPaint = 49,
        slotEndBufferedPaint = 50,
        slotDrawThemeTextEx = 51
    };

    // bOwnsModule: the table frees the library reference it took.
    explicit CQVTWinThemeApiTable(BOOL bOwnsModule);
    ~CQVTWinThemeApiTable();
    CQVTWinThemeApiTable(const CQVTWinThemeApiTable&) = delete;
    CQVTWinThemeApiTable& operator=(const CQVTWinThemeApiTable&) = delete;

    // The slot's function, looked up by name when still unbound.
    void* Bind(int nSlot);
    void SetSlot(int nSlot, void* pfn);
    void* GetSlot(int nSlot) const;
    void ClearSlots();

    // Takes the theme library now loaded; rebinds everything when it moved.
    void FollowLoadedModule();

    HMODULE GetModule() const { return m_hModule.load(std::memory_order_acquire); }
    DWORD GetComCtlVersion() const { return m_dwComCtlVersion; }

    // The name bound into a slot, or null for a slot the toolkit leaves alone.
    static LPCSTR AFXAPI GetSlotName(int nSlot);

private:
    std::atomic<void*> m_slots[slotCount];
    std::atomic<HMODULE> m_hModule{nullptr};
    HMODULE m_hLoadedModule = nullptr;
    BOOL m_bOwnsModule;
    DWORD m_dwComCtlVersion;
};

class CQVTWinThemeWrapper
{
public:
    // The module handle the skin framework hands out for the theme library
    // while its skin stands in for it.
    static const UINT_PTR skinModuleMarker = 0x021FFFF1;

    explicit CQVTWinThemeWrapper(BOOL bFollowLoadedModule = TRUE);
    virtual ~CQVTWinThemeWrapper();
    CQVTWinThemeWrapper(const CQVTWinThemeWrapper&) = delete;
    CQVTWinThemeWrapper& operator=(const CQVTWinThemeWrapper&) = delete;

    HRESULT DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect,
                                const RECT* pClipRect = nullptr);
    HRESULT DrawThemeTextEx(HDC hDC, int nPartId, int nStateId, LPCWSTR pszText, int cchText,
                            DWORD dwTextFlags, LPRECT pRect, const DTTOPTS* pOptions);
    HRESULT GetThemeColor(int nPartId, int nStateId, int nPropId, COLORREF* pColor);
    HRESULT GetThemeInt(int nPartId, int nStateId, int nPropId, int* piVal);
    HRESULT GetThemePartSize(HDC hDC, int nPartId, int nStateId, LPCRECT pRect, THEMESIZE eSize, SIZE* pSize);
    BOOL GetThemeSysBool(int nBoolId);
    COLORREF GetThemeSysColor(int nColorId);
    HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
    BOOL IsAppThemed();
    BOOL IsThemeActive();
    HPAINTBUFFER BeginBufferedPaint(HDC hdcTarget, const RECT* prcTarget, BP_BUFFERFORMAT dwFormat,
                                    BP_PAINTPARAMS* pPaintParams, HDC* phdc);
    void EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget);

    // Closes the handle held, then opens one for the class list; the handle
    // stays null on failure.
    HTHEME OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
    void CloseThemeData();
    HTHEME GetThemeHandle() const { return m_hTheme; }

    BOOL IsAppThemeActive();
    BOOL IsVisualStylesAvailable();

    // Desktop composition's entries, shared by the process. Where no
    // compositor runs, a stand-in may take a slot; null binds dwmapi's own.
    enum DwmSlot
    {
        dwmDefWindowProc,
        dwmIsCompositionEnabled,
        dwmExtendFrameIntoClientArea
    };
    static void AFXAPI SetDwmApiPointer(DwmSlot nSlot, void* pfn);
    HRESULT DwmDefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);
    BOOL DwmIsCompositionEnabled();
    HRESULT DwmExtendFrameIntoClientArea(HWND hWnd, int cxLeftWidth, int cyTopHeight, int cxRightWidth,
                                         int cyBottomHeight);

    // A private table for this wrapper alone, and the slots of the table in
    // use; the skin framework routes this wrapper's calls to its skin so.
    void ReloadApiTable();
    void SetApiPointer(int nSlot, void* pfn);

    BOOL IsFollowingLoadedModule() const { return m_bFollowLoadedModule; }
    CQVTWinThemeApiTable* GetApiTable();

    // user32's SetProcessDPIAware when exported; 0 otherwise.
    static BOOL AFXAPI CallSetProcessDPIAware();

private:
    template <class TResult, class TFunction, class... TArgs>
    TResult Call(int nSlot, TResult failure, TArgs... args);

    HTHEME m_hTheme = nullptr;
    BOOL m_bFollowLoadedModule;
    CQVTWinThemeApiTable* m_pPrivateTable = nullptr;
};
