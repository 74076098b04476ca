#include "toolkit/controls/tooltip/QVTToolTipHTML.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/xml/QVTXmlDispatch.h"

#include <algorithm>

using CHTMLTip = CQVTToolTipContext::CHTMLToolTip;

namespace {

const int kBrowserWidth = 650;
const int kBrowserHeight = 200;
const DWORD kDocumentTimeout = 5000;

// IUnknown of an interface part, through the object's reference count.
#define QVT_HTMLTIP_IUNKNOWN(localClass)                                                                     \
    STDMETHODIMP_(ULONG) CHTMLTip::X##localClass::AddRef()                                                   \
    {                                                                                                        \
        METHOD_PROLOGUE(CHTMLTip, localClass)                                                                \
        return pThis->ExternalAddRef();                                                                      \
    }                                                                                                        \
    STDMETHODIMP_(ULONG) CHTMLTip::X##localClass::Release()                                                  \
    {                                                                                                        \
        METHOD_PROLOGUE(CHTMLTip, localClass)                                                                \
        return pThis->ExternalRelease();                                                                     \
    }                                                                                                        \
    STDMETHODIMP CHTMLTip::X##localClass::QueryInterface(REFIID iid, LPVOID* ppvObj)                         \
    {                                                                                                        \
        METHOD_PROLOGUE(CHTMLTip, localClass)                                                                \
        return (HRESULT)pThis->ExternalQueryInterface(&iid, ppvObj);                                         \
    }

}  // namespace

BEGIN_INTERFACE_MAP(CHTMLTip, CQVTToolTipContextToolTip)
    INTERFACE_PART(CHTMLTip, IID_IOleClientSite, OleClientSite)
    INTERFACE_PART(CHTMLTip, IID_IOleInPlaceSite, OleInPlaceSite)
    INTERFACE_PART(CHTMLTip, IID_IOleWindow, OleInPlaceSite)
    INTERFACE_PART(CHTMLTip, IID_IOleInPlaceFrame, OleInPlaceFrame)
    INTERFACE_PART(CHTMLTip, IID_IOleInPlaceUIWindow, OleInPlaceFrame)
    INTERFACE_PART(CHTMLTip, IID_IDocHostUIHandler, DocHostUIHandler)
END_INTERFACE_MAP()

CHTMLTip::CHTMLToolTip(CQVTToolTipContext* pContext)
    : CQVTToolTipContextToolTip(pContext), m_pBrowserObject(nullptr), m_pWebBrowser(nullptr),
      m_bBrowserFailed(FALSE), m_bRendering(FALSE), m_hCapture(nullptr), m_szCapture(0, 0)
{
}

CHTMLTip::~CHTMLToolTip()
{
    ReleaseBrowser();
    FreeCapture();
}

void CHTMLTip::FreeCapture()
{
    if (m_hCapture)
        ::DeleteObject(m_hCapture);
    m_hCapture = nullptr;
    m_szCapture = CSize(0, 0);
    m_strCaptured.Empty();
}

CString CHTMLTip::BuildDocumentUrl() const
{
    LOGFONT lf = {};
    CString strFace;
    if (m_pContext->GetFont().GetLogFont(&lf))
        strFace = lf.lfFaceName;
    if (strFace.IsEmpty())
        strFace = _T("Arial");
    int nSize = Scale(11);
    COLORREF clrBack = GetTipBackColor();
    CString strColor;
    strColor.Format(_T("#%0.2x%0.2x%0.2x"), GetRValue(clrBack), GetGValue(clrBack), GetBValue(clrBack));
    CString strUrl;
    strUrl.Format(_T("about:<head><style> body {font-family:%s; font-size:%i;}table {font-family:%s; ")
                  _T("font-size:%i;}</style></head><body topmargin=0 leftmargin=0 bottommargin=0 ")
                  _T("rightmargin=0 bgColor=%s></body>"),
                  (LPCTSTR)strFace, nSize, (LPCTSTR)strFace, nSize, (LPCTSTR)strColor);
    return strUrl;
}

BOOL CHTMLTip::CreateBrowser()
{
    if (m_pWebBrowser)
        return TRUE;
    if (m_bBrowserFailed)
        return FALSE;
    m_bBrowserFailed = TRUE;

    m_rcBrowser = CRect(0, 0, Scale(kBrowserWidth), QVTDpiScaler()->ScaleY(kBrowserHeight));
    if (!m_wndHost.m_hWnd &&
        !m_wndHost.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), _T(""), WS_POPUP, -32000, -32000,
                            m_rcBrowser.Width(), m_rcBrowser.Height(), nullptr, nullptr))
        return FALSE;
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_pBrowserObject))) ||
        !m_pBrowserObject)
    {
        m_pBrowserObject = nullptr;
        return FALSE;
    }
    if (FAILED(m_pBrowserObject->SetClientSite(&m_xOleClientSite)) ||
        FAILED(m_pBrowserObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &m_xOleClientSite, 0,
                                        m_wndHost.m_hWnd, &m_rcBrowser)) ||
        FAILED(
            m_pBrowserObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pWebBrowser))) ||
        !m_pWebBrowser)
    {
        m_pWebBrowser = nullptr;
        ReleaseBrowser();
        return FALSE;
    }
    m_bBrowserFailed = FALSE;
    return TRUE;
}

void CHTMLTip::ReleaseBrowser()
{
    if (m_pWebBrowser)
    {
        m_pWebBrowser->Release();
        m_pWebBrowser = nullptr;
    }
    if (m_pBrowserObject)
    {
        m_pBrowserObject->Close(OLECLOSE_NOSAVE);
        m_pBrowserObject->SetClientSite(nullptr);
        m_pBrowserObject->Release();
        m_pBrowserObject = nullptr;
    }
    if (m_wndHost.m_hWnd)
        m_wndHost.DestroyWindow();
}

BOOL CHTMLTip::WaitForDocument()
{
    DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        if (IsAbandoned())
            return FALSE;
        READYSTATE state = READYSTATE_UNINITIALIZED;
        if (FAILED(m_pWebBrowser->get_ReadyState(&state)))
            return FALSE;
        if (state == READYSTATE_COMPLETE)
            return TRUE;
        if (::GetTickCount() - dwStart > kDocumentTimeout)
            return FALSE;
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage((int)msg.wParam);
                return FALSE;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

BOOL CHTMLTip::RenderDocument(const CString& strText)
{
    if (m_hCapture && m_strCaptured == strText)
        return TRUE;
    if (m_bRendering || !CreateBrowser())
        return FALSE;
    m_bRendering = TRUE;
    FreeCapture();
    BOOL bDone = FALSE;
    do
    {
        _variant_t url((LPCTSTR)BuildDocumentUrl());
        _variant_t empty;
        if (FAILED(m_pWebBrowser->Navigate2(&url, &empty, &empty, &empty, &empty)) || !WaitForDocument())
            break;
        IDispatch* pDocumentRaw = nullptr;
        if (FAILED(m_pWebBrowser->get_Document(&pDocumentRaw)) || !pDocumentRaw)
            break;
        IDispatchPtr pDocument(pDocumentRaw, false);
        IDispatchPtr pBody = XmlGetObject(pDocument, u"body");
        if (!pBody || !XmlPutProperty(pBody, u"innerHTML", _variant_t((LPCTSTR)strText)))
            break;
        long nWidth = 0, nHeight = 0;
        if (!XmlGetLong(pBody, u"scrollWidth", nWidth) || !XmlGetLong(pBody, u"scrollHeight", nHeight))
            break;
        int nMaxWidth = std::max(1, m_pContext->GetMaxTipWidth());
        CSize szDocument(std::min<int>(std::max<long>(nWidth, 1), nMaxWidth), std::max<long>(nHeight, 1));

        // The page, drawn by the browser into a bitmap of the document's size.
        IViewObject* pView = nullptr;
        if (FAILED(pDocument->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&pView))) || !pView)
            break;
        CDC dcScreen;
        dcScreen.Attach(::GetDC(nullptr));
        HDC hMemDC = ::CreateCompatibleDC(dcScreen.m_hDC);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(dcScreen.m_hDC, szDocument.cx, szDocument.cy);
        ::ReleaseDC(nullptr, dcScreen.Detach());
        HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
        RECTL rcBounds = {0, 0, szDocument.cx, szDocument.cy};
        HRESULT hr = pView->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hMemDC, &rcBounds, nullptr,
                                 nullptr, 0);
        ::SelectObject(hMemDC, hOld);
        ::DeleteDC(hMemDC);
        pView->Release();
        if (FAILED(hr))
        {
            ::DeleteObject(hBitmap);
            break;
        }
        m_hCapture = hBitmap;
        m_szCapture = szDocument;
        m_strCaptured = strText;
        bDone = TRUE;
    } while (false);
    if (!bDone)
    {
        // A browser that cannot show a document is not asked again.
        m_bBrowserFailed = TRUE;
        ReleaseBrowser();
    }
    m_bRendering = FALSE;
    return bDone;
}

CSize CHTMLTip::CalcToolSize(CDC* pDC, TOOLITEM* pTool)
{
    // Making the browser and waiting for its document dispatch messages,
    // whose handlers may release the context or destroy this window: both
    // stay until the outermost busy frame ends.
    CBusyScope busy(this);
    HoldContext();
    CString strText = GetToolText(pTool);
    if (strText.IsEmpty())
        return CSize(0, 0);
    if (!RenderDocument(strText))
        return IsAbandoned() ? CSize(0, 0) : CQVTToolTipContextToolTip::CalcToolSize(pDC, pTool);
    const CRect& rcMargin = m_pContext->GetMargin();
    return CSize(m_szCapture.cx + rcMargin.left + rcMargin.right + 2 * Scale(3),
                 m_szCapture.cy + rcMargin.top + rcMargin.bottom + 2 * Scale(3));
}

void CHTMLTip::DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc)
{
    CString strText = GetToolText(pTool);
    if (!m_hCapture || m_strCaptured != strText)
    {
        CQVTToolTipContextToolTip::DrawTool(pDC, pTool, rc);
        return;
    }
    CRect rcContent = GetContentRect(rc);
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    HGDIOBJ hOld = ::SelectObject(dcMem.m_hDC, m_hCapture);
    pDC->BitBlt(rcContent.left, rcContent.top, m_szCapture.cx, m_szCapture.cy, &dcMem, 0, 0, SRCCOPY);
    ::SelectObject(dcMem.m_hDC, hOld);
}

// The client site.
QVT_HTMLTIP_IUNKNOWN(OleClientSite)

STDMETHODIMP CHTMLTip::XOleClientSite::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleClientSite::GetMoniker(DWORD, DWORD, IMoniker** ppMoniker)
{
    if (ppMoniker)
        *ppMoniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleClientSite::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CHTMLTip::XOleClientSite::ShowObject()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleClientSite::OnShowWindow(BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleClientSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// The in-place site.
QVT_HTMLTIP_IUNKNOWN(OleInPlaceSite)

STDMETHODIMP CHTMLTip::XOleInPlaceSite::GetWindow(HWND* phWnd)
{
    METHOD_PROLOGUE(CHTMLTip, OleInPlaceSite)
    if (!phWnd)
        return E_POINTER;
    *phWnd = pThis->m_wndHost.m_hWnd;
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::OnInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::OnUIActivate()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::GetWindowContext(IOleInPlaceFrame** ppFrame,
                                                         IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                                         LPRECT lprcClipRect,
                                                         LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    METHOD_PROLOGUE(CHTMLTip, OleInPlaceSite)
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect || !lpFrameInfo)
        return E_POINTER;
    *ppFrame = &pThis->m_xOleInPlaceFrame;
    pThis->ExternalAddRef();
    *ppDoc = nullptr;
    *lprcPosRect = pThis->m_rcBrowser;
    *lprcClipRect = pThis->m_rcBrowser;
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = pThis->m_wndHost.m_hWnd;
    lpFrameInfo->haccel = nullptr;
    lpFrameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::Scroll(SIZE)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::OnInPlaceDeactivate()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceSite::OnPosRectChange(LPCRECT)
{
    return S_OK;
}

// The frame the browser believes it is in.
QVT_HTMLTIP_IUNKNOWN(OleInPlaceFrame)

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::GetWindow(HWND* phWnd)
{
    METHOD_PROLOGUE(CHTMLTip, OleInPlaceFrame)
    if (!phWnd)
        return E_POINTER;
    *phWnd = pThis->m_wndHost.m_hWnd;
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::GetBorder(LPRECT)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::RemoveMenus(HMENU)
{
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XOleInPlaceFrame::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

// The document host: no borders, no scroll bars, no menus of its own.
QVT_HTMLTIP_IUNKNOWN(DocHostUIHandler)

STDMETHODIMP CHTMLTip::XDocHostUIHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (!pInfo)
        return E_POINTER;
    pInfo->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_DIALOG;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                                 IOleInPlaceFrame*, IOleInPlaceUIWindow*)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::HideUI()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::UpdateUI()
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::GetOptionKeyPath(LPOLESTR* ppKey, DWORD)
{
    if (ppKey)
        *ppKey = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    if (ppDropTarget)
        *ppDropTarget = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch)
        *ppDispatch = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppTranslated)
{
    if (ppTranslated)
        *ppTranslated = nullptr;
    return S_FALSE;
}

STDMETHODIMP CHTMLTip::XDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject** ppObject)
{
    if (ppObject)
        *ppObject = nullptr;
    return S_FALSE;
}
