#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiAnswers.h"

#include <algorithm>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"
#include "toolkit/skinframework/hook/QVTSkinManagerApiHookBase.h"
#include "toolkit/skinframework/hook/QVTSkinManagerLegacyApiHook.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"
#include "toolkit/skinframework/objects/QVTSkinPopupMenu.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchemaProperty.h"

using namespace QVTSkinAnswers;

void(AFXAPI* QVTSkinAnswers::g_pfnThemeNameChecked)() = nullptr;

namespace {
typedef LRESULT(WINAPI* PFNSKINANSWERDEFPROC)(HWND, UINT, WPARAM, LPARAM);
typedef LRESULT(WINAPI* PFNSKINANSWERDEFFRAMEPROC)(HWND, HWND, UINT, WPARAM, LPARAM);
typedef LRESULT(WINAPI* PFNSKINANSWERCALLPROC)(WNDPROC, HWND, UINT, WPARAM, LPARAM);

// The function a replacement falls to.
template <class TFunction>
TFunction SkinAnswerSaved(int nId)
{
    return reinterpret_cast<TFunction>(CQVTSkinManagerLegacyApiHook::GetSavedAddress(nId));
}

// The manager while the row is active and a skin is loaded; else null.
CQVTSkinManager* SkinAnswerManager(int nId)
{
    if (!CQVTSkinManagerLegacyApiHook::IsRowActive(nId))
        return nullptr;
    CQVTSkinManager* pManager = QVTSkinManager();
    return pManager != nullptr && pManager->IsSkinLoaded() ? pManager : nullptr;
}

// The theme answers stand on the loaded skin alone: a module may reach them
// through GetProcAddress while no import entry holds them.
CQVTSkinManager* SkinAnswerThemeManager()
{
    if (!CQVTSkinManagerLegacyApiHook::IsInstalled())
        return nullptr;
    CQVTSkinManager* pManager = QVTSkinManager();
    return pManager != nullptr && pManager->IsSkinLoaded() ? pManager : nullptr;
}

// Runs a replacement's skin part; an exception counts as "not answered",
// and the saved function then answers. Nothing unwinds into the caller.
template <class Fn>
BOOL SkinAnswerGuard(Fn fn)
{
    try
    {
        return fn();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return FALSE;
}

// The skin metrics' colour or brush, under the manager's shared lock.
BOOL SkinAnswerColor(int nId, int nIndex, COLORREF* pColor)
{
    CQVTSkinManager* pManager = SkinAnswerManager(nId);
    if (pManager == nullptr)
        return FALSE;
    CQVTReadLock lock(pManager->GetLock());
    CQVTSkinManagerMetrics* pMetrics = pManager->GetMetrics();
    const COLORREF clr = pMetrics != nullptr ? pMetrics->GetColor(nIndex) : CLR_INVALID;
    if (clr == CLR_INVALID)
        return FALSE;
    *pColor = clr;
    return TRUE;
}

HBRUSH SkinAnswerBrush(int nId, int nIndex)
{
    CQVTSkinManager* pManager = SkinAnswerManager(nId);
    if (pManager == nullptr)
        return nullptr;
    CQVTReadLock lock(pManager->GetLock());
    CQVTSkinManagerMetrics* pMetrics = pManager->GetMetrics();
    return pMetrics != nullptr ? pMetrics->GetBrush(nIndex) : nullptr;
}

// A default procedure: offered to the window's skin object first.
LRESULT SkinAnswerDefProc(int nId, UINT nKind, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PFNSKINANSWERDEFPROC pfnSaved = SkinAnswerSaved<PFNSKINANSWERDEFPROC>(nId);
    if (pfnSaved == nullptr)
        return 0;
    LRESULT lResult = 0;
    if (CQVTSkinManagerLegacyApiHook::IsRowActive(nId) && SkinAnswerGuard([&]() -> BOOL {
            return CQVTSkinManagerApiHookBase::DispatchDefWindowProc(
                hWnd, reinterpret_cast<void*>(pfnSaved), nKind, 0, message, wParam, lParam, lResult);
        }))
        return lResult;
    return pfnSaved(hWnd, message, wParam, lParam);
}

LRESULT WINAPI SkinAnswerDefWindowProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefProc(kDefWindowProcA, 2, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefWindowProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefProc(kDefWindowProcW, 2, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefMDIChildProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefProc(kDefMDIChildProcA, 3, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefMDIChildProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefProc(kDefMDIChildProcW, 3, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefDlgProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefProc(kDefDlgProcA, 5, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefDlgProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefProc(kDefDlgProcW, 5, hWnd, message, wParam, lParam);
}

LRESULT SkinAnswerDefFrameProc(int nId, HWND hWnd, HWND hClient, UINT message, WPARAM wParam, LPARAM lParam)
{
    PFNSKINANSWERDEFFRAMEPROC pfnSaved = SkinAnswerSaved<PFNSKINANSWERDEFFRAMEPROC>(nId);
    if (pfnSaved == nullptr)
        return 0;
    LRESULT lResult = 0;
    if (CQVTSkinManagerLegacyApiHook::IsRowActive(nId) && SkinAnswerGuard([&]() -> BOOL {
            return CQVTSkinManagerApiHookBase::DispatchDefWindowProc(hWnd, reinterpret_cast<void*>(pfnSaved),
                                                                     4, reinterpret_cast<ULONG_PTR>(hClient),
                                                                     message, wParam, lParam, lResult);
        }))
        return lResult;
    return pfnSaved(hWnd, hClient, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefFrameProcA(HWND hWnd, HWND hClient, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefFrameProc(kDefFrameProcA, hWnd, hClient, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerDefFrameProcW(HWND hWnd, HWND hClient, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SkinAnswerDefFrameProc(kDefFrameProcW, hWnd, hClient, message, wParam, lParam);
}

LRESULT SkinAnswerCallWindowProc(int nId, WNDPROC pfnPrev, HWND hWnd, UINT message, WPARAM wParam,
                                 LPARAM lParam)
{
    PFNSKINANSWERCALLPROC pfnSaved = SkinAnswerSaved<PFNSKINANSWERCALLPROC>(nId);
    if (pfnSaved == nullptr)
        return 0;
    LRESULT lResult = 0;
    if (pfnPrev != nullptr && CQVTSkinManagerLegacyApiHook::IsRowActive(nId) &&
        SkinAnswerGuard([&]() -> BOOL {
            return CQVTSkinManagerApiHookBase::DispatchDefWindowProc(hWnd, reinterpret_cast<void*>(pfnSaved),
                                                                     1, reinterpret_cast<ULONG_PTR>(pfnPrev),
                                                                     message, wParam, lParam, lResult);
        }))
        return lResult;
    return pfnSaved(pfnPrev, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerCallWindowProcA(WNDPROC pfnPrev, HWND hWnd, UINT message, WPARAM wParam,
                                         LPARAM lParam)
{
    return SkinAnswerCallWindowProc(kCallWindowProcA, pfnPrev, hWnd, message, wParam, lParam);
}
LRESULT WINAPI SkinAnswerCallWindowProcW(WNDPROC pfnPrev, HWND hWnd, UINT message, WPARAM wParam,
                                         LPARAM lParam)
{
    return SkinAnswerCallWindowProc(kCallWindowProcW, pfnPrev, hWnd, message, wParam, lParam);
}

// A class registered with a replacement as its procedure gets the saved
// function instead: it must keep working once the interception is gone.
template <class TClass>
ATOM SkinAnswerRegisterClass(int nId, const TClass* pClass, const int* pDefIds)
{
    typedef ATOM(WINAPI * PFNREGISTER)(const TClass*);
    PFNREGISTER pfnSaved = SkinAnswerSaved<PFNREGISTER>(nId);
    if (pfnSaved == nullptr)
        return 0;
    if (pClass == nullptr || !CQVTSkinManagerLegacyApiHook::IsRowActive(nId))
        return pfnSaved(pClass);
    TClass copy = *pClass;
    for (int i = 0; i < 3; i++)
        if (reinterpret_cast<void*>(copy.lpfnWndProc) == GetReplacement(pDefIds[i]))
        {
            void* pSaved = CQVTSkinManagerLegacyApiHook::GetSavedAddress(pDefIds[i]);
            if (pSaved != nullptr)
                copy.lpfnWndProc = reinterpret_cast<WNDPROC>(pSaved);
        }
    return pfnSaved(&copy);
}
ATOM WINAPI SkinAnswerRegisterClassA(const WNDCLASSA* pClass)
{
    static const int s_ids[3] = {kDefWindowProcA, kDefFrameProcA, kDefDlgProcA};
    return SkinAnswerRegisterClass(kRegisterClassA, pClass, s_ids);
}
ATOM WINAPI SkinAnswerRegisterClassW(const WNDCLASSW* pClass)
{
    static const int s_ids[3] = {kDefWindowProcW, kDefFrameProcW, kDefDlgProcW};
    return SkinAnswerRegisterClass(kRegisterClassW, pClass, s_ids);
}

DWORD WINAPI SkinAnswerGetSysColor(int nIndex)
{
    typedef DWORD(WINAPI * PFN)(int);
    COLORREF clr = 0;
    if (SkinAnswerGuard([&]() -> BOOL { return SkinAnswerColor(kGetSysColor, nIndex, &clr); }))
        return clr;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetSysColor);
    return pfnSaved != nullptr ? pfnSaved(nIndex) : 0;
}

HBRUSH WINAPI SkinAnswerGetSysColorBrush(int nIndex)
{
    typedef HBRUSH(WINAPI * PFN)(int);
    HBRUSH hBrush = nullptr;
    if (SkinAnswerGuard(
            [&]() -> BOOL { return (hBrush = SkinAnswerBrush(kGetSysColorBrush, nIndex)) != nullptr; }))
        return hBrush;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetSysColorBrush);
    return pfnSaved != nullptr ? pfnSaved(nIndex) : nullptr;
}

int WINAPI SkinAnswerFillRect(HDC hDC, const RECT* pRect, HBRUSH hBrush)
{
    typedef int(WINAPI * PFN)(HDC, const RECT*, HBRUSH);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kFillRect);
    if (pfnSaved == nullptr)
        return 0;
    // A system colour index plus one stands for that colour's brush.
    const ULONG_PTR nValue = reinterpret_cast<ULONG_PTR>(hBrush);
    if (nValue >= 1 && nValue <= 30)
    {
        HBRUSH hSkin = nullptr;
        if (SkinAnswerGuard([&]() -> BOOL {
                return (hSkin = SkinAnswerBrush(kFillRect, static_cast<int>(nValue - 1))) != nullptr;
            }))
            hBrush = hSkin;
    }
    return pfnSaved(hDC, pRect, hBrush);
}

BOOL WINAPI SkinAnswerDeleteObject(HGDIOBJ hObject)
{
    typedef BOOL(WINAPI * PFN)(HGDIOBJ);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kDeleteObject);
    if (pfnSaved == nullptr)
        return FALSE;
    // The skin's brushes and fonts are shared by every caller: they stay.
    if (hObject != nullptr && CQVTSkinManagerLegacyApiHook::IsRowActive(kDeleteObject) &&
        SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = QVTSkinManager();
            if (pManager == nullptr)
                return FALSE;
            CQVTReadLock lock(pManager->GetLock());
            CQVTSkinManagerMetrics* pMetrics = pManager->GetMetrics();
            return pMetrics != nullptr && pMetrics->IsMetricObject(hObject);
        }))
        return FALSE;
    return pfnSaved(hObject);
}

BOOL WINAPI SkinAnswerDrawEdge(HDC hDC, LPRECT pRect, UINT nEdge, UINT nFlags)
{
    typedef BOOL(WINAPI * PFN)(HDC, LPRECT, UINT, UINT);
    if (SkinAnswerManager(kDrawEdge) != nullptr &&
        SkinAnswerGuard([&]() -> BOOL { return QVTSkinDrawEdge(hDC, pRect, nEdge, nFlags); }))
        return TRUE;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kDrawEdge);
    return pfnSaved != nullptr && pfnSaved(hDC, pRect, nEdge, nFlags);
}

BOOL WINAPI SkinAnswerDrawFrameControl(HDC hDC, LPRECT pRect, UINT nType, UINT nState)
{
    typedef BOOL(WINAPI * PFN)(HDC, LPRECT, UINT, UINT);
    if (SkinAnswerManager(kDrawFrameControl) != nullptr &&
        SkinAnswerGuard([&]() -> BOOL { return QVTSkinDrawFrameControl(hDC, pRect, nType, nState); }))
        return TRUE;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kDrawFrameControl);
    return pfnSaved != nullptr && pfnSaved(hDC, pRect, nType, nState);
}

int WINAPI SkinAnswerGetSystemMetrics(int nIndex)
{
    typedef int(WINAPI * PFN)(int);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetSystemMetrics);
    return pfnSaved != nullptr ? pfnSaved(nIndex) : 0;
}

// The skin's fonts replace the system's only when metrics, frames and
// colours are all applied.
CQVTSkinManager* SkinAnswerFontManager(int nId)
{
    CQVTSkinManager* pManager = SkinAnswerManager(nId);
    const UINT nAll = qvtSkinApplyMetrics | qvtSkinApplyFrames | qvtSkinApplyColors;
    return pManager != nullptr && (pManager->GetApplyOptions() & nAll) == nAll ? pManager : nullptr;
}

BOOL SkinAnswerFont(CQVTSkinManager* pManager, UINT nProperty, LOGFONTW* pFont)
{
    CQVTReadLock lock(pManager->GetLock());
    CQVTSkinManagerSchema* pSchema = pManager->GetSchema();
    if (pSchema == nullptr)
        return FALSE;
    CQVTReadLock schemaLock(pSchema->GetLock());
    LOGFONTW lf = {};
    if (pSchema->GetFontProperty(pSchema->GetClassCode(u"SYSMETRICS"), 0, 0, nProperty, &lf) != S_OK)
        return FALSE;
    *pFont = lf;
    return TRUE;
}

void SkinAnswerNarrowFont(const LOGFONTW& lf, LOGFONTA* pFont)
{
    memcpy(pFont, &lf, offsetof(LOGFONTA, lfFaceName));
    char szFace[LF_FACESIZE] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, lf.lfFaceName, -1, szFace, LF_FACESIZE, nullptr, nullptr) == 0)
        szFace[0] = '\0';
    szFace[LF_FACESIZE - 1] = '\0';
    memcpy(pFont->lfFaceName, szFace, LF_FACESIZE);
}

enum : UINT
{
    kSkinAnswerCaptionFont = 801,
    kSkinAnswerSmallCaptionFont = 802,
    kSkinAnswerMenuFont = 803,
    kSkinAnswerStatusFont = 804,
    kSkinAnswerIconTitleFont = 806,
};

// Fills the fonts of the skin into a wide or narrow record; TFont is
// LOGFONTW or LOGFONTA.
template <class TMetrics, class TFont>
void SkinAnswerMetricsFonts(CQVTSkinManager* pManager, UINT nAction, void* pvParam,
                            void (*pfnStore)(const LOGFONTW&, TFont*))
{
    LOGFONTW lf;
    if (nAction == SPI_GETNONCLIENTMETRICS)
    {
        TMetrics* pMetrics = static_cast<TMetrics*>(pvParam);
        if (SkinAnswerFont(pManager, kSkinAnswerCaptionFont, &lf))
            pfnStore(lf, &pMetrics->lfCaptionFont);
        if (SkinAnswerFont(pManager, kSkinAnswerSmallCaptionFont, &lf))
            pfnStore(lf, &pMetrics->lfSmCaptionFont);
        if (SkinAnswerFont(pManager, kSkinAnswerMenuFont, &lf))
            pfnStore(lf, &pMetrics->lfMenuFont);
        if (SkinAnswerFont(pManager, kSkinAnswerStatusFont, &lf))
            pfnStore(lf, &pMetrics->lfStatusFont);
    }
    else if (SkinAnswerFont(pManager, kSkinAnswerIconTitleFont, &lf))
        pfnStore(lf, static_cast<TFont*>(pvParam));
}

void SkinAnswerWideFont(const LOGFONTW& lf, LOGFONTW* pFont)
{
    *pFont = lf;
}

// The size of the record the caller passed, for the two actions whose fonts
// the skin replaces: 500 or 340 for the metrics, 92 or 60 for the icon title.
BOOL SkinAnswerFontRecord(UINT nAction, UINT nParam, void* pvParam, UINT cbMetrics, UINT cbFont)
{
    if (pvParam == nullptr)
        return FALSE;
    if (nAction == SPI_GETNONCLIENTMETRICS)
        return *static_cast<const UINT*>(pvParam) == cbMetrics;
    if (nAction == SPI_GETICONTITLELOGFONT)
        return nParam == cbFont;
    return FALSE;
}

// The system's answer, with the skin's fonts put into the two records whose
// fonts it replaces; the wide and narrow forms differ only in their records.
template <class TMetrics, class TFont>
BOOL SkinAnswerSystemParametersInfo(int nRow, UINT cbMetrics, void (*pfnStore)(const LOGFONTW&, TFont*),
                                    UINT nAction, UINT nParam, void* pvParam, UINT nWinIni)
{
    typedef BOOL(WINAPI * PFN)(UINT, UINT, void*, UINT);
    PFN pfnSaved = SkinAnswerSaved<PFN>(nRow);
    if (pfnSaved == nullptr)
        return FALSE;
    const BOOL bResult = pfnSaved(nAction, nParam, pvParam, nWinIni);
    if (bResult && SkinAnswerFontRecord(nAction, nParam, pvParam, cbMetrics, sizeof(TFont)))
        SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerFontManager(nRow);
            if (pManager != nullptr)
                SkinAnswerMetricsFonts<TMetrics, TFont>(pManager, nAction, pvParam, pfnStore);
            return TRUE;
        });
    return bResult;
}

BOOL WINAPI SkinAnswerSystemParametersInfoW(UINT nAction, UINT nParam, void* pvParam, UINT nWinIni)
{
    return SkinAnswerSystemParametersInfo<NONCLIENTMETRICSW, LOGFONTW>(
        kSystemParametersInfoW, 500, &SkinAnswerWideFont, nAction, nParam, pvParam, nWinIni);
}

BOOL WINAPI SkinAnswerSystemParametersInfoA(UINT nAction, UINT nParam, void* pvParam, UINT nWinIni)
{
    return SkinAnswerSystemParametersInfo<NONCLIENTMETRICSA, LOGFONTA>(
        kSystemParametersInfoA, 340, &SkinAnswerNarrowFont, nAction, nParam, pvParam, nWinIni);
}

// Grows a rectangle by the skin's frame borders; FALSE when the system's
// own function must answer.
BOOL SkinAnswerAdjust(int nId, LPRECT pRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    if (pRect == nullptr || bMenu || (dwStyle & WS_MAXIMIZE) != 0)
        return FALSE;
    CQVTSkinManager* pManager = SkinAnswerManager(nId);
    if (pManager == nullptr || (pManager->GetApplyOptions() & qvtSkinApplyFrames) == 0)
        return FALSE;
    CQVTReadLock lock(pManager->GetLock());
    CQVTSkinManagerSchema* pSchema = pManager->GetSchema();
    if (pSchema == nullptr)
        return FALSE;
    const CRect rcBorders = pSchema->CalcFrameBorders(dwStyle, dwExStyle);
    pRect->left -= rcBorders.left;
    pRect->top -= rcBorders.top;
    pRect->right += rcBorders.right;
    pRect->bottom += rcBorders.bottom;
    return TRUE;
}

BOOL WINAPI SkinAnswerAdjustWindowRectEx(LPRECT pRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle)
{
    typedef BOOL(WINAPI * PFN)(LPRECT, DWORD, BOOL, DWORD);
    if (SkinAnswerGuard(
            [&] { return SkinAnswerAdjust(kAdjustWindowRectEx, pRect, dwStyle, bMenu, dwExStyle); }))
        return TRUE;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kAdjustWindowRectEx);
    return pfnSaved != nullptr && pfnSaved(pRect, dwStyle, bMenu, dwExStyle);
}

BOOL WINAPI SkinAnswerAdjustWindowRect(LPRECT pRect, DWORD dwStyle, BOOL bMenu)
{
    typedef BOOL(WINAPI * PFN)(LPRECT, DWORD, BOOL);
    const DWORD dwCaption = dwStyle & WS_CAPTION;
    const DWORD dwExStyle =
        (dwStyle & WS_THICKFRAME) != 0 || dwCaption == WS_DLGFRAME || dwCaption == WS_CAPTION
            ? WS_EX_WINDOWEDGE
            : 0;
    if (SkinAnswerGuard(
            [&] { return SkinAnswerAdjust(kAdjustWindowRect, pRect, dwStyle, bMenu, dwExStyle); }))
        return TRUE;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kAdjustWindowRect);
    return pfnSaved != nullptr && pfnSaved(pRect, dwStyle, bMenu);
}

// The skin frame of a window of this thread while the row is active and a
// skin is loaded, held by a reference the caller releases. Frames draw the
// non-client scroll bars and the menu bar; other skin objects leave them
// to the system.
CQVTSkinObjectFrame* SkinAnswerFrame(int nId, HWND hWnd)
{
    CQVTSkinManager* pManager = SkinAnswerManager(nId);
    if (pManager == nullptr || hWnd == nullptr ||
        ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId())
        return nullptr;
    CQVTReadLock lock(pManager->GetLock());
    CQVTSkinObject* pObject = pManager->Lookup(hWnd);
    if (pObject == nullptr || !pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
        return nullptr;
    pObject->InternalAddRef();
    return static_cast<CQVTSkinObjectFrame*>(pObject);
}

int WINAPI SkinAnswerSetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO pInfo, BOOL bRedraw)
{
    typedef int(WINAPI * PFN)(HWND, int, LPCSCROLLINFO, BOOL);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kSetScrollInfo);
    if (pfnSaved == nullptr)
        return 0;
    CQVTSkinObjectFrame* pObject = nullptr;
    if (bRedraw && nBar != SB_CTL)
        SkinAnswerGuard(
            [&]() -> BOOL { return (pObject = SkinAnswerFrame(kSetScrollInfo, hWnd)) != nullptr; });
    if (pObject == nullptr)
        return pfnSaved(hWnd, nBar, pInfo, bRedraw);
    // The system would draw its own bar over the skin's: it sets the values
    // only, and the skin object draws.
    int nResult = 0;
    {
        CQVTReadLock objectLock(pObject->GetLock());
        nResult = pfnSaved(hWnd, nBar, pInfo, FALSE);
        SkinAnswerGuard([&]() -> BOOL {
            pObject->RedrawScrollBar(nBar);
            return TRUE;
        });
    }
    pObject->InternalRelease();
    return nResult;
}

int WINAPI SkinAnswerSetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    typedef int(WINAPI * PFN)(HWND, int, int, BOOL);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kSetScrollPos);
    if (pfnSaved == nullptr)
        return 0;
    CQVTSkinObjectFrame* pObject = nullptr;
    if (bRedraw)
        SkinAnswerGuard(
            [&]() -> BOOL { return (pObject = SkinAnswerFrame(kSetScrollPos, hWnd)) != nullptr; });
    if (pObject == nullptr)
        return pfnSaved(hWnd, nBar, nPos, bRedraw);
    int nResult = 0;
    {
        CQVTReadLock objectLock(pObject->GetLock());
        nResult = pfnSaved(hWnd, nBar, nPos, FALSE);
        SkinAnswerGuard([&]() -> BOOL {
            if (nBar == SB_CTL)
                ::InvalidateRect(hWnd, nullptr, FALSE);
            else
                pObject->RedrawScrollBar(nBar);
            return TRUE;
        });
    }
    pObject->InternalRelease();
    return nResult;
}

BOOL WINAPI SkinAnswerEnableScrollBar(HWND hWnd, UINT nBars, UINT nArrows)
{
    typedef BOOL(WINAPI * PFN)(HWND, UINT, UINT);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kEnableScrollBar);
    if (pfnSaved == nullptr)
        return FALSE;
    CQVTSkinObjectFrame* pObject = nullptr;
    SkinAnswerGuard([&]() -> BOOL { return (pObject = SkinAnswerFrame(kEnableScrollBar, hWnd)) != nullptr; });
    if (pObject == nullptr)
        return pfnSaved(hWnd, nBars, nArrows);
    BOOL bResult = FALSE;
    {
        CQVTReadLock objectLock(pObject->GetLock());
        bResult = pfnSaved(hWnd, nBars, nArrows);
        SkinAnswerGuard([&]() -> BOOL {
            if (nBars == SB_HORZ || nBars == SB_BOTH)
                pObject->RedrawScrollBar(SB_HORZ);
            if (nBars == SB_VERT || nBars == SB_BOTH)
                pObject->RedrawScrollBar(SB_VERT);
            return TRUE;
        });
    }
    pObject->InternalRelease();
    return bResult;
}

BOOL WINAPI SkinAnswerGetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO pInfo)
{
    typedef BOOL(WINAPI * PFN)(HWND, int, LPSCROLLINFO);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetScrollInfo);
    if (pfnSaved == nullptr)
        return FALSE;
    const BOOL bResult = pfnSaved(hWnd, nBar, pInfo);
    if (!bResult || pInfo == nullptr || (pInfo->fMask & SIF_TRACKPOS) == 0)
        return bResult;
    // While the frame drags a thumb, the system's track position is stale.
    CQVTSkinObjectFrame* pObject = nullptr;
    SkinAnswerGuard([&]() -> BOOL { return (pObject = SkinAnswerFrame(kGetScrollInfo, hWnd)) != nullptr; });
    if (pObject != nullptr)
    {
        {
            CQVTReadLock objectLock(pObject->GetLock());
            const CQVTSkinObjectFrame::SCROLLBARTRACKINFO* pTrack = pObject->GetTrackInfo();
            if (pTrack != nullptr && pTrack->bTrackThumb && pTrack->nBar == nBar)
                pInfo->nTrackPos = pTrack->posNew;
        }
        pObject->InternalRelease();
    }
    return bResult;
}

BOOL WINAPI SkinAnswerDrawMenuBar(HWND hWnd)
{
    typedef BOOL(WINAPI * PFN)(HWND);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kDrawMenuBar);
    CQVTSkinObjectFrame* pObject = nullptr;
    SkinAnswerGuard([&]() -> BOOL {
        CQVTSkinManager* pManager = SkinAnswerManager(kDrawMenuBar);
        if (pManager == nullptr || (pManager->GetApplyOptions() & qvtSkinApplyFrames) == 0)
            return FALSE;
        return (pObject = SkinAnswerFrame(kDrawMenuBar, hWnd)) != nullptr;
    });
    if (pObject != nullptr)
    {
        // The application frame's OnMenuChanged rebuilds the bar that
        // RefreshMenuBar redraws.
        BOOL bResult = FALSE;
        SkinAnswerGuard([&]() -> BOOL {
            CQVTReadLock objectLock(pObject->GetLock());
            bResult = pObject->RefreshMenuBar();
            return TRUE;
        });
        pObject->InternalRelease();
        return bResult;
    }
    return pfnSaved != nullptr && pfnSaved(hWnd);
}

// With a skin and the menus applied, the skinned popup tracks the menu.
// The menu answers take the menus option as it is now, not as it was when
// the import entry was patched.
BOOL SkinAnswerSkinsMenus(int nId)
{
    return SkinAnswerGuard([&]() -> BOOL {
        CQVTSkinManager* pManager = SkinAnswerManager(nId);
        return pManager != nullptr && (pManager->GetApplyOptions() & qvtSkinApplyMenus) != 0;
    });
}

BOOL WINAPI SkinAnswerTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, int nReserved, HWND hWnd,
                                     const RECT* pRect)
{
    typedef BOOL(WINAPI * PFN)(HMENU, UINT, int, int, int, HWND, const RECT*);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kTrackPopupMenu);
    if (SkinAnswerSkinsMenus(kTrackPopupMenu))
        return (BOOL)QVTSkinTrackPopupMenu(hMenu, nFlags, x, y, hWnd, nullptr);
    return pfnSaved != nullptr ? pfnSaved(hMenu, nFlags, x, y, nReserved, hWnd, pRect) : FALSE;
}
BOOL WINAPI SkinAnswerTrackPopupMenuEx(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd, LPTPMPARAMS pParams)
{
    typedef BOOL(WINAPI * PFN)(HMENU, UINT, int, int, HWND, LPTPMPARAMS);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kTrackPopupMenuEx);
    if (SkinAnswerSkinsMenus(kTrackPopupMenuEx))
        return (BOOL)QVTSkinTrackPopupMenu(hMenu, nFlags, x, y, hWnd,
                                           pParams != nullptr ? &pParams->rcExclude : nullptr);
    return pfnSaved != nullptr ? pfnSaved(hMenu, nFlags, x, y, hWnd, pParams) : FALSE;
}
BOOL WINAPI SkinAnswerNtUserTrackPopupMenuEx(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd,
                                             LPTPMPARAMS pParams)
{
    typedef BOOL(WINAPI * PFN)(HMENU, UINT, int, int, HWND, LPTPMPARAMS);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kNtUserTrackPopupMenuEx);
    if (SkinAnswerSkinsMenus(kNtUserTrackPopupMenuEx))
        return (BOOL)QVTSkinTrackPopupMenu(hMenu, nFlags, x, y, hWnd,
                                           pParams != nullptr ? &pParams->rcExclude : nullptr);
    return pfnSaved != nullptr ? pfnSaved(hMenu, nFlags, x, y, hWnd, pParams) : FALSE;
}

BOOL WINAPI SkinAnswerGetMenuItemRect(HWND hWnd, HMENU hMenu, UINT nItem, LPRECT pRect)
{
    typedef BOOL(WINAPI * PFN)(HWND, HMENU, UINT, LPRECT);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetMenuItemRect);
    // The skinned menus' items have no system rectangle.
    if (SkinAnswerSkinsMenus(kGetMenuItemRect))
        return FALSE;
    return pfnSaved != nullptr && pfnSaved(hWnd, hMenu, nItem, pRect);
}

HRESULT WINAPI SkinAnswerDwmExtendFrameIntoClientArea(HWND hWnd, const void* pMargins)
{
    typedef HRESULT(WINAPI * PFN)(HWND, const void*);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kDwmExtendFrameIntoClientArea);
    CQVTSkinObject* pObject = nullptr;
    if (CQVTSkinManagerLegacyApiHook::IsRowActive(kDwmExtendFrameIntoClientArea))
        SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = QVTSkinManager();
            if (pManager == nullptr)
                return FALSE;
            pObject = pManager->Lookup(hWnd);
            return pObject != nullptr;
        });
    // A skinned frame is drawn by its skin object, never extended by the
    // compositor: the caller is refused, as it is when no system function
    // was found to call.
    if (pObject != nullptr)
        return E_NOTIMPL;
    return pfnSaved != nullptr ? pfnSaved(hWnd, pMargins) : E_NOTIMPL;
}

// Theme handles: those the manager maps to a class of the skin.

void SkinAnswerRecordTheme(HANDLE hTheme, HWND hWnd, LPCWSTR lpszClassList)
{
    if (hTheme == nullptr || lpszClassList == nullptr)
        return;
    SkinAnswerGuard([&]() -> BOOL {
        CQVTSkinManager* pManager = SkinAnswerThemeManager();
        if (pManager == nullptr)
            return FALSE;
        CQVTReadLock lock(pManager->GetLock());
        CQVTSkinObject* pObject = hWnd != nullptr ? pManager->Lookup(hWnd) : nullptr;
        CQVTSkinManagerClass* pClass = pManager->GetSkinClass(pObject, CString(lpszClassList));
        if (pClass != nullptr)
            CQVTSkinManager::RegisterThemeHandle(hTheme, pClass);
        return TRUE;
    });
}

HANDLE WINAPI SkinAnswerOpenThemeData(HWND hWnd, LPCWSTR lpszClassList)
{
    typedef HANDLE(WINAPI * PFN)(HWND, LPCWSTR);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kOpenThemeData);
    HANDLE hTheme = pfnSaved != nullptr ? pfnSaved(hWnd, lpszClassList) : nullptr;
    SkinAnswerRecordTheme(hTheme, hWnd, lpszClassList);
    return hTheme;
}
HANDLE WINAPI SkinAnswerOpenThemeDataForDpi(HWND hWnd, LPCWSTR lpszClassList, UINT nDpi)
{
    typedef HANDLE(WINAPI * PFN)(HWND, LPCWSTR, UINT);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kOpenThemeDataForDpi);
    HANDLE hTheme = pfnSaved != nullptr ? pfnSaved(hWnd, lpszClassList, nDpi) : nullptr;
    SkinAnswerRecordTheme(hTheme, hWnd, lpszClassList);
    return hTheme;
}
HANDLE WINAPI SkinAnswerOpenThemeDataEx(HWND hWnd, LPCWSTR lpszClassList, DWORD dwFlags)
{
    typedef HANDLE(WINAPI * PFN)(HWND, LPCWSTR, DWORD);
    PFN pfnSaved = SkinAnswerSaved<PFN>(kOpenThemeDataEx);
    HANDLE hTheme = pfnSaved != nullptr ? pfnSaved(hWnd, lpszClassList, dwFlags) : nullptr;
    SkinAnswerRecordTheme(hTheme, hWnd, lpszClassList);
    return hTheme;
}

HRESULT WINAPI SkinAnswerCloseThemeData(HANDLE hTheme)
{
    typedef HRESULT(WINAPI * PFN)(HANDLE);
    if (hTheme != nullptr)
        SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager::UnregisterThemeHandle(hTheme);
            return TRUE;
        });
    PFN pfnSaved = SkinAnswerSaved<PFN>(kCloseThemeData);
    return pfnSaved != nullptr ? pfnSaved(hTheme) : E_FAIL;
}

// The class a theme handle stands for while a skin is loaded; the caller
// holds the manager's shared lock.
CQVTSkinManagerClass* SkinAnswerThemeClass(CQVTSkinManager* pManager, HANDLE hTheme)
{
    if (pManager == nullptr || hTheme == nullptr || !pManager->IsSkinLoaded())
        return nullptr;
    return CQVTSkinManager::GetThemeClass(hTheme);
}

HRESULT WINAPI SkinAnswerDrawThemeBackground(HANDLE hTheme, HDC hDC, int nPart, int nState, const RECT* pRect,
                                             const RECT* pClip)
{
    typedef HRESULT(WINAPI * PFN)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    if (pRect != nullptr && hDC != nullptr && SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerThemeManager();
            if (pManager == nullptr)
                return FALSE;
            CQVTReadLock lock(pManager->GetLock());
            CQVTSkinManagerClass* pClass = SkinAnswerThemeClass(pManager, hTheme);
            if (pClass == nullptr)
                return FALSE;
            const BOOL bClip = pClip != nullptr && !::EqualRect(pClip, pRect);
            HRGN hSaved = nullptr;
            int nSaved = 0;
            if (bClip)
            {
                hSaved = ::CreateRectRgn(0, 0, 0, 0);
                nSaved = ::GetClipRgn(hDC, hSaved);
                ::IntersectClipRect(hDC, pClip->left, pClip->top, pClip->right, pClip->bottom);
            }
            CDC* pDC = CDC::FromHandle(hDC);
            BOOL bDrawn = FALSE;
            try
            {
                bDrawn = pClass->DrawThemeBackground(pDC, nPart, nState, pRect);
            }
            catch (...)
            {
                bDrawn = FALSE;
            }
            if (bClip)
            {
                ::SelectClipRgn(hDC, nSaved == 1 ? hSaved : nullptr);
                ::DeleteObject(hSaved);
            }
            return bDrawn;
        }))
        return S_OK;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kDrawThemeBackground);
    return pfnSaved != nullptr ? pfnSaved(hTheme, hDC, nPart, nState, pRect, pClip) : E_FAIL;
}

HRESULT WINAPI SkinAnswerGetThemeColor(HANDLE hTheme, int nPart, int nState, int nProperty, COLORREF* pColor)
{
    typedef HRESULT(WINAPI * PFN)(HANDLE, int, int, int, COLORREF*);
    if (pColor == nullptr)
        return E_POINTER;
    COLORREF clr = CLR_INVALID;
    if (SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerThemeManager();
            if (pManager == nullptr)
                return FALSE;
            CQVTReadLock lock(pManager->GetLock());
            CQVTSkinManagerClass* pClass = SkinAnswerThemeClass(pManager, hTheme);
            if (pClass != nullptr)
                clr = pClass->GetThemeColor(nPart, nState, static_cast<UINT>(nProperty), CLR_INVALID);
            return clr != CLR_INVALID;
        }))
    {
        *pColor = clr;
        return S_OK;
    }
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetThemeColor);
    return pfnSaved != nullptr ? pfnSaved(hTheme, nPart, nState, nProperty, pColor) : E_FAIL;
}

HRESULT WINAPI SkinAnswerGetThemeInt(HANDLE hTheme, int nPart, int nState, int nProperty, int* pnValue)
{
    typedef HRESULT(WINAPI * PFN)(HANDLE, int, int, int, int*);
    int nValue = 0;
    if (SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerThemeManager();
            if (pManager == nullptr)
                return FALSE;
            CQVTReadLock lock(pManager->GetLock());
            CQVTSkinManagerClass* pClass = SkinAnswerThemeClass(pManager, hTheme);
            CQVTSkinManagerSchemaProperty* pProperty =
                pClass != nullptr
                    ? pClass->GetProperty(qvtSkinTypeInt, nPart, nState, static_cast<UINT>(nProperty))
                    : nullptr;
            if (pProperty == nullptr)
                return FALSE;
            nValue = pClass->GetThemeInt(nPart, nState, static_cast<UINT>(nProperty), 0);
            return TRUE;
        }))
    {
        if (pnValue != nullptr)
            *pnValue = nValue;
        return S_OK;
    }
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetThemeInt);
    return pfnSaved != nullptr ? pfnSaved(hTheme, nPart, nState, nProperty, pnValue) : E_FAIL;
}

BOOL WINAPI SkinAnswerGetThemeSysBool(HANDLE hTheme, int nBoolId)
{
    typedef BOOL(WINAPI * PFN)(HANDLE, int);
    if (hTheme == nullptr)
        return FALSE;
    BOOL bValue = FALSE;
    BOOL bSkin = FALSE;
    SkinAnswerGuard([&]() -> BOOL {
        CQVTSkinManager* pManager = SkinAnswerThemeManager();
        if (pManager == nullptr)
            return FALSE;
        CQVTReadLock lock(pManager->GetLock());
        bSkin = SkinAnswerThemeClass(pManager, hTheme) != nullptr;
        CQVTSkinManagerSchema* pSchema = bSkin ? pManager->GetSchema() : nullptr;
        if (pSchema != nullptr)
        {
            CQVTReadLock schemaLock(pSchema->GetLock());
            if (pSchema->GetBoolProperty(pSchema->GetClassCode(u"SYSMETRICS"), 0, 0,
                                         static_cast<UINT>(nBoolId), &bValue) != S_OK)
                bValue = FALSE;
        }
        return TRUE;
    });
    if (bSkin)
        return bValue;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetThemeSysBool);
    return pfnSaved != nullptr && pfnSaved(hTheme, nBoolId);
}

COLORREF WINAPI SkinAnswerGetThemeSysColor(HANDLE hTheme, int nColorId)
{
    typedef COLORREF(WINAPI * PFN)(HANDLE, int);
    COLORREF clr = 0;
    if (hTheme != nullptr && SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerThemeManager();
            if (pManager == nullptr)
                return FALSE;
            CQVTReadLock lock(pManager->GetLock());
            if (SkinAnswerThemeClass(pManager, hTheme) == nullptr)
                return FALSE;
            clr = pManager->GetThemeSysColor(nColorId);
            return TRUE;
        }))
        return clr;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetThemeSysColor);
    return pfnSaved != nullptr ? pfnSaved(hTheme, nColorId) : 0;
}

HRESULT WINAPI SkinAnswerGetThemePartSize(HANDLE hTheme, HDC hDC, int nPart, int nState, const RECT* pRect,
                                          int nKind, SIZE* pSize)
{
    typedef HRESULT(WINAPI * PFN)(HANDLE, HDC, int, int, const RECT*, int, SIZE*);
    if (pSize == nullptr)
        return E_POINTER;
    SIZE size = {};
    if (SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerThemeManager();
            if (pManager == nullptr)
                return FALSE;
            CQVTReadLock lock(pManager->GetLock());
            CQVTSkinManagerClass* pClass = SkinAnswerThemeClass(pManager, hTheme);
            if (pClass == nullptr || !pClass->GetThemePartSize(nPart, nState, pRect, nKind, &size))
                return FALSE;
            POINT pt = {size.cx, size.cy};
            QVTDpiScaler()->ScalePoint(&pt);
            size.cx = pt.x;
            size.cy = pt.y;
            return TRUE;
        }))
    {
        *pSize = size;
        return S_OK;
    }
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetThemePartSize);
    return pfnSaved != nullptr ? pfnSaved(hTheme, hDC, nPart, nState, pRect, nKind, pSize) : E_FAIL;
}

BOOL SkinAnswerThemed()
{
    return SkinAnswerGuard([&]() -> BOOL { return SkinAnswerThemeManager() != nullptr; });
}

BOOL WINAPI SkinAnswerIsAppThemed()
{
    typedef BOOL(WINAPI * PFN)();
    if (SkinAnswerThemed())
        return TRUE;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kIsAppThemed);
    return pfnSaved != nullptr && pfnSaved();
}
BOOL WINAPI SkinAnswerIsThemeActive()
{
    typedef BOOL(WINAPI * PFN)();
    if (SkinAnswerThemed())
        return TRUE;
    PFN pfnSaved = SkinAnswerSaved<PFN>(kIsThemeActive);
    return pfnSaved != nullptr && pfnSaved();
}

// Copies a text into a caller's buffer, cut to fit and always terminated.
void SkinAnswerCopyName(LPWSTR pBuffer, int cchBuffer, const CString& strText)
{
    if (pBuffer == nullptr || cchBuffer <= 0)
        return;
    const int nLength = std::min(strText.GetLength(), cchBuffer - 1);
    memcpy(pBuffer, static_cast<LPCWSTR>(strText), nLength * sizeof(WCHAR));
    pBuffer[nLength] = 0;
}

HRESULT WINAPI SkinAnswerGetCurrentThemeName(LPWSTR pFile, int cchFile, LPWSTR pColor, int cchColor,
                                             LPWSTR pSize, int cchSize)
{
    typedef HRESULT(WINAPI * PFN)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    CString strFile;
    CString strColor;
    if (SkinAnswerGuard([&]() -> BOOL {
            CQVTSkinManager* pManager = SkinAnswerThemeManager();
            if (pManager == nullptr)
                return FALSE;
            if (g_pfnThemeNameChecked != nullptr)
                g_pfnThemeNameChecked();
            CQVTReadLock lock(pManager->GetLock());
            // A change marks the skin unloaded under this lock before it
            // rewrites the file's names, and the next one loaded only after.
            CQVTSkinManagerResourceFile* pFile = pManager->GetResourceFile();
            if (pFile == nullptr || !pManager->IsSkinLoaded())
                return FALSE;
            strFile = pFile->GetResourcePath();
            strColor = pFile->GetIniFileName();
            strColor.MakeUpper();
            // The system's colour names for the skins that copy its themes.
            if (strColor.Find(u"METALLIC") > 0)
                strColor = u"metallic";
            if (strColor.Find(u"BLUE") > 0)
                strColor = u"normalcolor";
            if (strColor.Find(u"HOMESTEAD") > 0)
                strColor = u"homestead";
            return TRUE;
        }))
    {
        SkinAnswerCopyName(pFile, cchFile, strFile);
        SkinAnswerCopyName(pColor, cchColor, strColor);
        SkinAnswerCopyName(pSize, cchSize, CString());
        return S_OK;
    }
    PFN pfnSaved = SkinAnswerSaved<PFN>(kGetCurrentThemeName);
    return pfnSaved != nullptr ? pfnSaved(pFile, cchFile, pColor, cchColor, pSize, cchSize) : E_FAIL;
}
}  // namespace

void* AFXAPI QVTSkinAnswers::GetReplacement(int nId)
{
#define SKINANSWER_CASE(id, fn)                                                                              \
    case id:                                                                                                 \
        return reinterpret_cast<void*>(&fn)
    switch (nId)
    {
        SKINANSWER_CASE(kRegisterClassA, SkinAnswerRegisterClassA);
        SKINANSWER_CASE(kRegisterClassW, SkinAnswerRegisterClassW);
        SKINANSWER_CASE(kGetSysColor, SkinAnswerGetSysColor);
        SKINANSWER_CASE(kGetSysColorBrush, SkinAnswerGetSysColorBrush);
        SKINANSWER_CASE(kDrawEdge, SkinAnswerDrawEdge);
        SKINANSWER_CASE(kDrawFrameControl, SkinAnswerDrawFrameControl);
        SKINANSWER_CASE(kSetScrollInfo, SkinAnswerSetScrollInfo);
        SKINANSWER_CASE(kSetScrollPos, SkinAnswerSetScrollPos);
        SKINANSWER_CASE(kGetScrollInfo, SkinAnswerGetScrollInfo);
        SKINANSWER_CASE(kEnableScrollBar, SkinAnswerEnableScrollBar);
        SKINANSWER_CASE(kOpenThemeData, SkinAnswerOpenThemeData);
        SKINANSWER_CASE(kOpenThemeDataForDpi, SkinAnswerOpenThemeDataForDpi);
        SKINANSWER_CASE(kOpenThemeDataEx, SkinAnswerOpenThemeDataEx);
        SKINANSWER_CASE(kDrawThemeBackground, SkinAnswerDrawThemeBackground);
        SKINANSWER_CASE(kCloseThemeData, SkinAnswerCloseThemeData);
        SKINANSWER_CASE(kGetThemeColor, SkinAnswerGetThemeColor);
        SKINANSWER_CASE(kGetThemeInt, SkinAnswerGetThemeInt);
        SKINANSWER_CASE(kIsAppThemed, SkinAnswerIsAppThemed);
        SKINANSWER_CASE(kIsThemeActive, SkinAnswerIsThemeActive);
        SKINANSWER_CASE(kGetCurrentThemeName, SkinAnswerGetCurrentThemeName);
        SKINANSWER_CASE(kGetThemeSysBool, SkinAnswerGetThemeSysBool);
        SKINANSWER_CASE(kGetThemeSysColor, SkinAnswerGetThemeSysColor);
        SKINANSWER_CASE(kGetThemePartSize, SkinAnswerGetThemePartSize);
        SKINANSWER_CASE(kSystemParametersInfoA, SkinAnswerSystemParametersInfoA);
        SKINANSWER_CASE(kSystemParametersInfoW, SkinAnswerSystemParametersInfoW);
        SKINANSWER_CASE(kDefWindowProcA, SkinAnswerDefWindowProcA);
        SKINANSWER_CASE(kDefWindowProcW, SkinAnswerDefWindowProcW);
        SKINANSWER_CASE(kDefMDIChildProcA, SkinAnswerDefMDIChildProcA);
        SKINANSWER_CASE(kDefMDIChildProcW, SkinAnswerDefMDIChildProcW);
        SKINANSWER_CASE(kDefFrameProcA, SkinAnswerDefFrameProcA);
        SKINANSWER_CASE(kDefFrameProcW, SkinAnswerDefFrameProcW);
        SKINANSWER_CASE(kDefDlgProcA, SkinAnswerDefDlgProcA);
        SKINANSWER_CASE(kDefDlgProcW, SkinAnswerDefDlgProcW);
        SKINANSWER_CASE(kCallWindowProcA, SkinAnswerCallWindowProcA);
        SKINANSWER_CASE(kCallWindowProcW, SkinAnswerCallWindowProcW);
        SKINANSWER_CASE(kFillRect, SkinAnswerFillRect);
        SKINANSWER_CASE(kDeleteObject, SkinAnswerDeleteObject);
        SKINANSWER_CASE(kAdjustWindowRectEx, SkinAnswerAdjustWindowRectEx);
        SKINANSWER_CASE(kAdjustWindowRect, SkinAnswerAdjustWindowRect);
        SKINANSWER_CASE(kGetSystemMetrics, SkinAnswerGetSystemMetrics);
        SKINANSWER_CASE(kTrackPopupMenu, SkinAnswerTrackPopupMenu);
        SKINANSWER_CASE(kTrackPopupMenuEx, SkinAnswerTrackPopupMenuEx);
        SKINANSWER_CASE(kNtUserTrackPopupMenuEx, SkinAnswerNtUserTrackPopupMenuEx);
        SKINANSWER_CASE(kDrawMenuBar, SkinAnswerDrawMenuBar);
        SKINANSWER_CASE(kGetMenuItemRect, SkinAnswerGetMenuItemRect);
        SKINANSWER_CASE(kDwmExtendFrameIntoClientArea, SkinAnswerDwmExtendFrameIntoClientArea);
    default:
        return nullptr;
    }
#undef SKINANSWER_CASE
}
