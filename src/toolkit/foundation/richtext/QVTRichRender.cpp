#include "toolkit/foundation/richtext/QVTRichRender.h"

#include <algorithm>
#include <cstring>

#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/core/QVTRichEditClass.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {
// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
const IID kIIDTextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
// {13E670F4-1A5A-11CF-ABEB-00AA00B65EA1}
const IID kIIDTextHost = {0x13E670F4, 0x1A5A, 0x11CF, {0xAB, 0xEB, 0x00, 0xAA, 0x00, 0xB6, 0x5E, 0xA1}};

typedef HRESULT(WINAPI* PFNCREATETEXTSERVICES)(IUnknown*, ITextHost*, IUnknown**);

// Bytes handed to the text services in pieces no larger than they ask for.
struct StreamSource
{
    const BYTE* pData;
    size_t nSize;
    size_t nPosition;
};

DWORD CALLBACK ReadStreamSource(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    StreamSource* pSource = reinterpret_cast<StreamSource*>(dwCookie);
    const size_t nLeft = pSource->nSize - pSource->nPosition;
    const size_t nCount = cb > 0 ? std::min(nLeft, static_cast<size_t>(cb)) : 0;
    memcpy(pbBuff, pSource->pData + pSource->nPosition, nCount);
    pSource->nPosition += nCount;
    *pcb = static_cast<LONG>(nCount);
    return 0;
}

LRESULT StreamIn(ITextServices* pServices, const void* pData, size_t nSize, WPARAM nFormat)
{
    StreamSource source = {static_cast<const BYTE*>(pData), nSize, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadStreamSource;
    LRESULT lResult = 0;
    pServices->TxSendMessage(EM_STREAMIN, nFormat, reinterpret_cast<LPARAM>(&stream), &lResult);
    return lResult;
}
}  // namespace

BEGIN_INTERFACE_MAP(CQVTRichRender, CQVTCmdTarget)
    INTERFACE_PART(CQVTRichRender, kIIDTextHost, TextHost)
END_INTERFACE_MAP()

CQVTRichRender::CQVTRichRender()
{
    CQVTNonClientMetrics metrics;
    HDC hScreen = ::GetDC(nullptr);
    const int nDpiY = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(nullptr, hScreen);

    memset(&m_charFormat, 0, sizeof m_charFormat);
    m_charFormat.cbSize = sizeof m_charFormat;
    m_charFormat.dwMask =
        CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET;
    m_charFormat.yHeight = -::MulDiv(metrics.lfMessageFont.lfHeight, 1440, nDpiY);
    m_charFormat.crTextColor = ::GetSysColor(COLOR_BTNTEXT);
    lstrcpynW(m_charFormat.szFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);

    memset(&m_paraFormat, 0, sizeof m_paraFormat);
    m_paraFormat.cbSize = sizeof m_paraFormat;
    m_paraFormat.dwMask = 0x8001003F;
    m_paraFormat.wAlignment = PFA_LEFT;

    // The newest library that can make text services.
    for (int nRow = QVT_RICHEDIT_ROWS - 1; nRow >= 0 && !m_pTextServices; --nRow)
    {
        int nIndex = nRow;
        WNDCLASSW wc = {};
        if (!FindRichEditClass(qvtRichEditThisRow, nIndex, &wc) || !wc.hInstance)
            continue;
        PFNCREATETEXTSERVICES pfnCreate =
            reinterpret_cast<PFNCREATETEXTSERVICES>(::GetProcAddress(wc.hInstance, "CreateTextServices"));
        if (!pfnCreate)
            continue;
        IUnknown* pUnknown = nullptr;
        if (FAILED(pfnCreate(nullptr, &m_xTextHost, &pUnknown)) || !pUnknown)
            continue;
        pUnknown->QueryInterface(kIIDTextServices, reinterpret_cast<void**>(&m_pTextServices));
        pUnknown->Release();
        if (m_pTextServices)
            m_hRichEdit = wc.hInstance;
    }
}

CQVTRichRender::~CQVTRichRender()
{
    if (m_pTextServices)
        m_pTextServices->Release();
}

LRESULT CQVTRichRender::SetText(LPCTSTR lpszText)
{
    if (!m_pTextServices)
        return 0;
    m_bLayoutStale = TRUE;
    if (!lpszText || !*lpszText)
    {
        m_pTextServices->TxSetText(u"");
        return 0;
    }
    if (lpszText[0] == u'{')
    {
        CQVTCodePageString rtf(lpszText);
        LRESULT nRead = StreamIn(m_pTextServices, static_cast<LPCSTR>(rtf), strlen(rtf), SF_RTF);
        if (nRead > 0)
            return nRead;
    }
    const size_t nLength = static_cast<size_t>(lstrlenW(lpszText));
    // The text services count a Unicode stream in bytes; the caller gets characters.
    LRESULT nRead = StreamIn(m_pTextServices, lpszText, nLength * sizeof(WCHAR), SF_TEXT | SF_UNICODE);
    return nRead > 0 ? static_cast<LRESULT>(nLength) : 0;
}

void CQVTRichRender::SetDefaultCharFormat(const CHARFORMATW& cf)
{
    m_charFormat = cf;
    m_bLayoutStale = TRUE;
    if (m_pTextServices)
    {
        LRESULT lResult = 0;
        m_pTextServices->TxSendMessage(EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&m_charFormat),
                                       &lResult);
    }
}

void CQVTRichRender::Draw(HDC hDC, const CRect& rc)
{
    if (!m_pTextServices || !hDC)
        return;
    if (m_bLayoutStale)
    {
        // Wine's text services lay new content out only when the bounds
        // change: one pass at other bounds, clipped away, makes them do it.
        const int nSaved = ::SaveDC(hDC);
        ::IntersectClipRect(hDC, 0, 0, 0, 0);
        RECTL rcOther = {rc.left, rc.top, rc.right + 1, rc.bottom};
        m_pTextServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr, &rcOther, nullptr,
                                nullptr, nullptr, 0, TXTVIEW_INACTIVE);
        ::RestoreDC(hDC, nSaved);
        m_bLayoutStale = FALSE;
    }
    RECTL rcBounds = {rc.left, rc.top, rc.right, rc.bottom};
    m_pTextServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr, &rcBounds, nullptr, nullptr,
                            nullptr, 0, TXTVIEW_INACTIVE);
}

int CQVTRichRender::LayOut(HDC hDC, int nWidth)
{
    m_bResizeRequested = FALSE;
    Draw(hDC, CRect(0, 0, nWidth, 1));
    // Wine's text services ask for a new size only when the wrapped height
    // changes, and not with the laid-out width: every width is measured.
    LONG cx = nWidth, cy = 0;
    SIZEL szExtent = {0, 0};
    if (SUCCEEDED(m_pTextServices->TxGetNaturalSize(DVASPECT_CONTENT, hDC, nullptr, nullptr,
                                                    TXTNS_FITTOCONTENT, &szExtent, &cx, &cy)))
        m_szRequested = CSize(nWidth, cy);
    return m_szRequested.cy;
}

CSize CQVTRichRender::GetTextExtent(HDC hDC, int nMaxWidth)
{
    if (!m_pTextServices || !hDC)
        return CSize(0, 0);
    LRESULT lResult = 0;
    m_pTextServices->TxSendMessage(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE, &lResult);
    m_szRequested = CSize(0, 0);
    int nLow = 0, nHigh = 2 * nMaxWidth;
    int nReference = -1;
    int nLast = 0;
    while (nLow < nHigh)
    {
        const int nMid = (nLow + nHigh) / 2;
        nLast = LayOut(hDC, nMid);
        if (nReference < 0)
            nReference = nLast;
        if (nLast > nReference)
            nLow = nMid + 1;
        else
            nHigh = nMid - 1;
    }
    if (nLast > nReference)
        LayOut(hDC, nHigh + 1);
    return m_szRequested;
}

// The host interface

ULONG STDMETHODCALLTYPE CQVTRichRender::XTextHost::AddRef()
{
    return 1;
}

ULONG STDMETHODCALLTYPE CQVTRichRender::XTextHost::Release()
{
    return 1;
}

STDMETHODIMP CQVTRichRender::XTextHost::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    METHOD_PROLOGUE(CQVTRichRender, TextHost)
    return static_cast<HRESULT>(pThis->ExternalQueryInterface(&iid, ppvObj));
}

HDC __thiscall CQVTRichRender::XTextHost::TxGetDC()
{
    return nullptr;
}

INT __thiscall CQVTRichRender::XTextHost::TxReleaseDC(HDC)
{
    return 0;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxShowScrollBar(INT, BOOL)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxEnableScrollBar(INT, INT)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxSetScrollRange(INT, LONG, INT, BOOL)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxSetScrollPos(INT, INT, BOOL)
{
    return FALSE;
}

void __thiscall CQVTRichRender::XTextHost::TxInvalidateRect(LPCRECT, BOOL) {}

void __thiscall CQVTRichRender::XTextHost::TxViewChange(BOOL) {}

BOOL __thiscall CQVTRichRender::XTextHost::TxCreateCaret(HBITMAP, INT, INT)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxShowCaret(BOOL)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxSetCaretPos(INT, INT)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxSetTimer(UINT, UINT)
{
    return FALSE;
}

void __thiscall CQVTRichRender::XTextHost::TxKillTimer(UINT) {}

void __thiscall CQVTRichRender::XTextHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void __thiscall CQVTRichRender::XTextHost::TxSetCapture(BOOL) {}

void __thiscall CQVTRichRender::XTextHost::TxSetFocus() {}

void __thiscall CQVTRichRender::XTextHost::TxSetCursor(HCURSOR, BOOL) {}

BOOL __thiscall CQVTRichRender::XTextHost::TxScreenToClient(LPPOINT)
{
    return FALSE;
}

BOOL __thiscall CQVTRichRender::XTextHost::TxClientToScreen(LPPOINT)
{
    return FALSE;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxActivate(LONG*)
{
    return E_FAIL;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxDeactivate(LONG)
{
    return E_FAIL;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetClientRect(LPRECT)
{
    return E_FAIL;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetViewInset(LPRECT prc)
{
    if (prc)
        ::SetRectEmpty(prc);
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    METHOD_PROLOGUE(CQVTRichRender, TextHost)
    *ppCF = &pThis->m_charFormat;
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    METHOD_PROLOGUE(CQVTRichRender, TextHost)
    *ppPF = &pThis->m_paraFormat;
    return S_OK;
}

COLORREF __thiscall CQVTRichRender::XTextHost::TxGetSysColor(int nIndex)
{
    return ::GetSysColor(nIndex);
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetBackStyle(TXTBACKSTYLE* pStyle)
{
    *pStyle = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetMaxLength(DWORD* plength)
{
    *plength = 0x1000000;
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    *pdwScrollBar = 0;
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetPasswordChar(WCHAR*)
{
    return S_FALSE;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetAcceleratorPos(LONG* pch)
{
    *pch = -1;
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetExtent(LPSIZEL)
{
    return E_NOTIMPL;
}

HRESULT __thiscall CQVTRichRender::XTextHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return E_FAIL;
}

HRESULT __thiscall CQVTRichRender::XTextHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return E_FAIL;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    *pdwBits = dwMask & (TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP);
    return S_OK;
}

HRESULT __thiscall CQVTRichRender::XTextHost::TxNotify(DWORD iNotify, void* pv)
{
    METHOD_PROLOGUE(CQVTRichRender, TextHost)
    if (iNotify == EN_REQUESTRESIZE && pv)
    {
        const REQRESIZE* pRequest = static_cast<const REQRESIZE*>(pv);
        pThis->m_szRequested =
            CSize(pRequest->rc.right - pRequest->rc.left, pRequest->rc.bottom - pRequest->rc.top);
        pThis->m_bResizeRequested = TRUE;
    }
    return S_OK;
}

HIMC __thiscall CQVTRichRender::XTextHost::TxImmGetContext()
{
    return nullptr;
}

void __thiscall CQVTRichRender::XTextHost::TxImmReleaseContext(HIMC) {}

HRESULT __thiscall CQVTRichRender::XTextHost::TxGetSelectionBarWidth(LONG* lSelBarWidth)
{
    *lSelBarWidth = 0;
    return S_OK;
}
