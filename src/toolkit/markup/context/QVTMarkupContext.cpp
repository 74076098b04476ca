#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/markup/context/QVTMarkupContextInternalDispatch.h"

#include <windowsx.h>

#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/markup/context/QVTMarkupDelegate.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/elements/QVTMarkupKeyboardNavigation.h"
#include "toolkit/markup/elements/QVTMarkupRoutedEventArgs.h"
#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"
#include "toolkit/markup/values/QVTMarkupFont.h"
#include "toolkit/markup/values/QVTMarkupString.h"

// Makes sure every markup class of the library is linked and registered.
void AFXAPI MarkupEnsureAllClasses();

namespace {
BOOL g_bTypesRegistered = FALSE;

int SaturateToInt(double dValue)
{
    if (dValue >= 2147483647.0)
        return INT_MAX;
    if (dValue <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(dValue);
}

// The route holds a reference on each entry while events run along it.
class CRoute
{
public:
    ~CRoute()
    {
        for (CQVTMarkupInputElement* pElement : m_elements)
            pElement->InternalRelease();
    }
    std::vector<CQVTMarkupInputElement*> m_elements;
};
}  // namespace

// The context's tooltips, in the markup look: the tools are the elements
// with a ToolTip under the mouse.
class CQVTMarkupContext::CTooltipContext : public CQVTToolTipContext
{
public:
    explicit CTooltipContext(CQVTMarkupContext* pContext) : m_pContext(pContext) { SetStyle(toolTipMarkup); }
    void Detach() { m_pContext = nullptr; }

protected:
    INT_PTR OnToolHitTest(CWnd*, CPoint point, TOOLINFO* pToolInfo) override
    {
        return m_pContext != nullptr ? m_pContext->OnToolHitTest(point, pToolInfo) : -1;
    }

private:
    CQVTMarkupContext* m_pContext;  // not counted: the context holds this object
};

void AFX_CDECL CQVTMarkupContext::RegisterMarkupTypes()
{
    if (g_bTypesRegistered)
        return;
    g_bTypesRegistered = TRUE;
    CQVTMarkupType::RegisterAllTypes();
    MarkupEnsureAllClasses();
}

CQVTMarkupContext::CQVTMarkupContext(HWND hWndHost)
    : m_hWndHost(hWndHost), m_clrDefaultText(0), m_clrMask(static_cast<COLORREF>(-1)), m_lfDefault{},
      m_nDefaultSmoothingMode(0), m_bDefaultTextSmoothing(0), m_pMouseOverElement(nullptr),
      m_pCaptureElement(nullptr), m_pMouseRoot(nullptr), m_pFontHead(nullptr), m_pFontTail(nullptr),
      m_pDelegateMap(new CQVTMarkupDelegateMap()), m_pKeyboardNavigation(nullptr), m_pToolTipContext(nullptr),
      m_bToolRectOverride(FALSE), m_ptToolRectOverride(0, 0), m_nRefCount(1), m_pImageManager(nullptr),
      m_bGdiPlus(TRUE), m_bFrozen(FALSE), m_bWholeWindowPending(FALSE), m_pScriptEngine(nullptr),
      m_pStdRuntime(nullptr), m_pInternalDispatch(nullptr), m_xActiveScriptSite(this)
{
    RegisterMarkupTypes();

    CQVTNonClientMetrics metrics;
    m_lfDefault = metrics.lfMessageFont;
    m_lfDefault.lfCharSet = QVTResourceManager()->GetFontCharset();
    m_lfDefault.lfWidth = 0;
    m_lfDefault.lfEscapement = 0;
    m_lfDefault.lfOrientation = 0;
    m_lfDefault.lfWeight = 0;
    m_lfDefault.lfItalic = 0;
    m_lfDefault.lfUnderline = 0;
    m_lfDefault.lfStrikeOut = 0;

    m_pKeyboardNavigation = new CQVTMarkupKeyboardNavigation(this);
    m_pToolTipContext = new CTooltipContext(this);
}

CQVTMarkupContext::~CQVTMarkupContext()
{
    CloseScript();
    m_pExtensionRoot.reset();
    SetImageManager(nullptr);
    m_pMouseOverElement = nullptr;
    m_pMouseRoot = nullptr;
    if (m_pKeyboardNavigation != nullptr)
    {
        CQVTMarkupKeyboardNavigation* pNavigation = m_pKeyboardNavigation;
        m_pKeyboardNavigation = nullptr;
        pNavigation->InternalRelease();
    }
    if (m_bFrozen)
        UnfreezeUpdates();
    if (m_pToolTipContext != nullptr)
    {
        CTooltipContext* pToolTipContext = static_cast<CTooltipContext*>(m_pToolTipContext);
        m_pToolTipContext = nullptr;
        pToolTipContext->Detach();
        pToolTipContext->InternalRelease();
    }
    m_pHandlerTable.reset();
    m_pDelegateMap.reset();
    for (CQVTMarkupFont* pFont = m_pFontHead; pFont != nullptr; pFont = pFont->m_pNextFont)
        pFont->DetachOwner();
    m_pFontHead = m_pFontTail = nullptr;
    if (m_pInternalDispatch != nullptr)
    {
        CQVTMarkupContextInternalDispatch* pDispatch = m_pInternalDispatch;
        m_pInternalDispatch = nullptr;
        pDispatch->Detach();
        pDispatch->InternalRelease();
    }
    m_pDpiScaler.reset();
    for (CQVTMarkupObject* pElement : m_arrPending)
        pElement->InternalRelease();
    m_arrPending.clear();
}

ULONG CQVTMarkupContext::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefCount));
}

ULONG CQVTMarkupContext::Release()
{
    if (m_nRefCount == 0)
        return 0;
    LONG nCount = ::InterlockedDecrement(&m_nRefCount);
    if (nCount == 0)
        delete this;
    return static_cast<ULONG>(nCount < 0 ? 0 : nCount);
}

CQVTMarkupObject* CQVTMarkupContext::CreateMarkupObject(CQVTMarkupType* pType)
{
    return pType != nullptr ? pType->CreateObject(this) : nullptr;
}

void CQVTMarkupContext::OnElementReleased(CQVTMarkupObject* pObject)
{
    if (m_pMouseOverElement != nullptr && static_cast<CQVTMarkupObject*>(m_pMouseOverElement) == pObject)
        m_pMouseOverElement = nullptr;
    if (m_pMouseRoot != nullptr && static_cast<CQVTMarkupObject*>(m_pMouseRoot) == pObject)
        m_pMouseRoot = nullptr;
    if (m_pCaptureElement != nullptr && static_cast<CQVTMarkupObject*>(m_pCaptureElement) == pObject)
    {
        m_pCaptureElement = nullptr;
        ::ReleaseCapture();
    }
    m_mapScriptHolds.erase(pObject);
    auto it = std::find(m_arrScriptRoots.begin(), m_arrScriptRoots.end(), pObject);
    if (it != m_arrScriptRoots.end())
    {
        m_arrScriptRoots.erase(it);
        CloseScriptWhenUnused();
    }
    Release();
}

void CQVTMarkupContext::CaptureMouse(CQVTMarkupInputElement* pElement)
{
    if (pElement == m_pCaptureElement)
        return;
    if (m_hWndHost != nullptr)
        ::SetCapture(m_hWndHost);
    m_pCaptureElement = pElement;
}

void CQVTMarkupContext::ReleaseMouseCapture()
{
    m_pCaptureElement = nullptr;
    ::ReleaseCapture();
}

void CQVTMarkupContext::ResetMouseState()
{
    m_pMouseOverElement = nullptr;
    m_pMouseRoot = nullptr;
    if (m_pCaptureElement != nullptr)
    {
        m_pCaptureElement = nullptr;
        ::ReleaseCapture();
    }
}

// Fonts

void CQVTMarkupContext::SetDefaultFont(const LOGFONT& lf)
{
    if (memcmp(&lf, &m_lfDefault, sizeof(LOGFONT)) == 0)
        return;
    m_lfDefault = lf;
    ++m_nDefaultFontVersion;
}

CQVTMarkupFont* CQVTMarkupContext::GetFont(const LOGFONT* pLogFont)
{
    if (pLogFont == nullptr)
        return nullptr;
    for (CQVTMarkupFont* pFont = m_pFontHead; pFont != nullptr; pFont = pFont->m_pNextFont)
    {
        if (pFont->GetFontHandle() != nullptr && pFont->Matches(pLogFont))
        {
            pFont->InternalAddRef();
            return pFont;
        }
    }
    CQVTMarkupFont* pFont = new CQVTMarkupFont(this, pLogFont);
    if (m_pFontTail != nullptr)
        m_pFontTail->m_pNextFont = pFont;
    else
        m_pFontHead = pFont;
    m_pFontTail = pFont;
    return pFont;
}

void CQVTMarkupContext::OnFontReleased(CQVTMarkupFont* pFont)
{
    CQVTMarkupFont* pPrevious = nullptr;
    for (CQVTMarkupFont* p = m_pFontHead; p != nullptr; pPrevious = p, p = p->m_pNextFont)
    {
        if (p != pFont)
            continue;
        if (pPrevious == nullptr)
            m_pFontHead = p->m_pNextFont;
        else
            pPrevious->m_pNextFont = p->m_pNextFont;
        if (m_pFontTail == p)
            m_pFontTail = pPrevious;
        p->m_pNextFont = nullptr;
        return;
    }
}

CQVTImageManager* CQVTMarkupContext::GetImageManager()
{
    return m_pImageManager != nullptr ? m_pImageManager : QVTImageManager();
}

void CQVTMarkupContext::SetImageManager(CQVTImageManager* pImageManager)
{
    if (pImageManager == m_pImageManager)
        return;
    if (pImageManager != nullptr)
        pImageManager->InternalAddRef();
    CQVTImageManager* pOld = m_pImageManager;
    m_pImageManager = pImageManager;
    if (pOld != nullptr)
        pOld->InternalRelease();
}

COLORREF CQVTMarkupContext::GetMaskColor()
{
    if (m_clrMask != static_cast<COLORREF>(-1))
        return m_clrMask;
    const COLORREF clrManager = GetImageManager()->GetMaskColor();
    if (clrManager != static_cast<COLORREF>(-1))
        return clrManager;
    return RGB(0, 255, 0);
}

// DPI

int CQVTMarkupContext::ScaleX(int nValue)
{
    if (m_pDpiScaler == nullptr)
        return nValue;
    const double dScaled = static_cast<double>(nValue) * m_pDpiScaler->GetDpiX() / 96.0;
    if (dScaled >= 2147483647.0 || dScaled <= -2147483648.0)
        return SaturateToInt(dScaled);
    return m_pDpiScaler->ScaleX(nValue);
}

int CQVTMarkupContext::ScaleY(int nValue)
{
    if (m_pDpiScaler == nullptr)
        return nValue;
    const double dScaled = static_cast<double>(nValue) * m_pDpiScaler->GetDpiY() / 96.0;
    if (dScaled >= 2147483647.0 || dScaled <= -2147483648.0)
        return SaturateToInt(dScaled);
    return m_pDpiScaler->ScaleY(nValue);
}

float CQVTMarkupContext::ScaleXFloat(float fValue)
{
    return m_pDpiScaler != nullptr ? m_pDpiScaler->ScaleXFloat(fValue) : fValue;
}

float CQVTMarkupContext::ScaleYFloat(float fValue)
{
    return m_pDpiScaler != nullptr ? m_pDpiScaler->ScaleYFloat(fValue) : fValue;
}

double CQVTMarkupContext::ScaleXDouble(double dValue)
{
    return m_pDpiScaler != nullptr ? m_pDpiScaler->ScaleXDouble(dValue) : dValue;
}

double CQVTMarkupContext::ScaleYDouble(double dValue)
{
    return m_pDpiScaler != nullptr ? m_pDpiScaler->ScaleYDouble(dValue) : dValue;
}

SIZE CQVTMarkupContext::ScaleSize(SIZE size)
{
    SIZE result = {ScaleX(size.cx), ScaleY(size.cy)};
    return result;
}

void CQVTMarkupContext::SetDpiAware(BOOL bEnable, HWND hWnd)
{
    m_pDpiScaler.reset();
    if (bEnable)
        m_pDpiScaler.reset(new CQVTDpiScaler(hWnd));
}

CQVTMarkupStaticExtension* CQVTMarkupContext::GetExtensionRoot()
{
    if (m_pExtensionRoot == nullptr)
        m_pExtensionRoot.reset(CQVTMarkupStaticExtension::CreateRoot());
    return m_pExtensionRoot.get();
}

// Delegates

void CQVTMarkupContext::SetDelegate(LPCWSTR lpszName, CQVTMarkupDelegate* pDelegate)
{
    if (m_pDelegateMap == nullptr)
        m_pDelegateMap.reset(new CQVTMarkupDelegateMap());
    m_pDelegateMap->SetAt(lpszName, pDelegate);
}

void CQVTMarkupContext::SetMethod(IDispatch* pDispatch, LPCWSTR lpszName)
{
    if (pDispatch == nullptr || lpszName == nullptr)
        return;
    SetDelegate(lpszName, new CQVTMarkupOleDelegate(pDispatch, lpszName));
}

void CQVTMarkupContext::SetHandler(IDispatch* pDispatch)
{
    if (m_pDelegateMap == nullptr)
        m_pDelegateMap.reset(new CQVTMarkupDelegateMap());
    m_pDelegateMap->SetHandler(pDispatch);
}

CQVTMarkupDelegate* CQVTMarkupContext::LookupDelegate(LPCWSTR lpszName)
{
    return m_pDelegateMap != nullptr ? m_pDelegateMap->Lookup(lpszName) : nullptr;
}

CQVTMarkupDelegate* CQVTMarkupContext::FindDelegate(LPCWSTR lpszName)
{
    if (m_pDelegateMap == nullptr || lpszName == nullptr)
        return nullptr;
    if (CQVTMarkupDelegate* pDelegate = m_pDelegateMap->Lookup(lpszName))
        return pDelegate;
    CQVTMarkupDelegate* pDelegate = new CQVTMarkupOleAutoDelegate(m_pDelegateMap.get(), lpszName);
    m_pDelegateMap->SetAt(lpszName, pDelegate);
    return pDelegate;
}

void CQVTMarkupContext::AddHandler(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupDelegate* pDelegate)
{
    if (pEvent == nullptr || pDelegate == nullptr)
        return;
    if (m_pHandlerTable == nullptr)
        m_pHandlerTable.reset(new CQVTMarkupEventHandlerTable());
    m_pHandlerTable->Add(pEvent, pDelegate);
}

// Invalidation

CRect CQVTMarkupContext::GetElementWindowRect(CQVTMarkupObject* pElement, BOOL bUseUpdateRect)
{
    CQVTMarkupVisual* pVisual = MarkupCast<CQVTMarkupVisual>(pElement);
    if (pVisual == nullptr)
    {
        if (CQVTMarkupFrameworkContentElement* pContent =
                MarkupCast<CQVTMarkupFrameworkContentElement>(pElement))
            pVisual = pContent->GetParentFrameworkElement();
    }
    if (pVisual == nullptr)
        return CRect(0, 0, 0, 0);
    CRect rc = bUseUpdateRect ? CRect(pVisual->GetUpdateRect()) : CRect(pVisual->GetBoundingRect());
    const POINT ptOffset = pVisual->GetAbsoluteOffset();
    rc.OffsetRect(ptOffset.x, ptOffset.y);
    return rc;
}

void CQVTMarkupContext::InvalidateElement(CQVTMarkupObject* pElement)
{
    if (m_hWndHost == nullptr || pElement == nullptr)
        return;
    if (m_bFrozen)
    {
        pElement->InternalAddRef();
        m_arrPending.push_back(pElement);
        return;
    }
    CRect rc = GetElementWindowRect(pElement, TRUE);
    ::InvalidateRect(m_hWndHost, &rc, FALSE);
    ::SendMessageW(m_hWndHost, QVT_WM_MARKUPREDRAW, 0, 0);
}

void CQVTMarkupContext::InvalidateAll()
{
    if (m_hWndHost == nullptr)
        return;
    if (m_bFrozen)
    {
        m_bWholeWindowPending = TRUE;
        return;
    }
    ::InvalidateRect(m_hWndHost, nullptr, FALSE);
    ::SendMessageW(m_hWndHost, QVT_WM_MARKUPREDRAW, 0, 0);
}

void CQVTMarkupContext::UnfreezeUpdates()
{
    if (!m_bFrozen)
        return;
    m_bFrozen = FALSE;
    std::vector<CQVTMarkupObject*> pending;
    pending.swap(m_arrPending);
    const BOOL bWholeWindow = m_bWholeWindowPending;
    m_bWholeWindowPending = FALSE;
    for (CQVTMarkupObject* pElement : pending)
    {
        if (!bWholeWindow && m_hWndHost != nullptr)
        {
            CRect rc = GetElementWindowRect(pElement, TRUE);
            ::InvalidateRect(m_hWndHost, &rc, FALSE);
            ::UpdateWindow(m_hWndHost);
        }
        pElement->InternalRelease();
    }
    if (m_hWndHost == nullptr)
        return;
    if (bWholeWindow)
        ::InvalidateRect(m_hWndHost, nullptr, FALSE);
    if (bWholeWindow || !pending.empty())
        ::SendMessageW(m_hWndHost, QVT_WM_MARKUPREDRAW, 0, 0);
}

// Input routing

void CQVTMarkupContext::BuildRoute(CQVTMarkupInputElement* pElement,
                                   std::vector<CQVTMarkupInputElement*>& route)
{
    for (CQVTMarkupObject* p = pElement; p != nullptr; p = p->GetLogicalParent())
    {
        if (CQVTMarkupInputElement* pInput = MarkupCast<CQVTMarkupInputElement>(p))
        {
            pInput->InternalAddRef();
            route.push_back(pInput);
        }
    }
}

BOOL CQVTMarkupContext::OnWndMsg(CQVTMarkupUIElement* pRoot, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* pResult)
{
    if (m_hWndHost == nullptr)
        return FALSE;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (pRoot == nullptr)
    {
        if (m_pMouseRoot != nullptr)
            ChangeMouseOver(nullptr, CPoint(-1, -1));
        return FALSE;
    }
    if (message == WM_MOUSEMOVE)
        OnMouseMove(pRoot, point);
    if (message == WM_DESTROY || message == WM_MOUSELEAVE)
        ChangeMouseOver(nullptr, CPoint(-1, -1));
    if (m_pToolTipContext != nullptr &&
        ((message >= WM_MOUSEFIRST && message <= WM_MOUSEHWHEEL) || message == WM_MOUSELEAVE))
        m_pToolTipContext->RelayToolTipMessage(CWnd::FromHandle(m_hWndHost), message, wParam, lParam);
    switch (message)
    {
    case WM_SETCURSOR:
        if (!OnQueryCursor())
            return FALSE;
        if (pResult != nullptr)
            *pResult = 1;
        return TRUE;
    case WM_MOUSEWHEEL:
    {
        CPoint ptClient(point);
        ::ScreenToClient(m_hWndHost, &ptClient);
        if (!OnWheel(static_cast<short>(HIWORD(wParam)), ptClient))
            return FALSE;
        if (pResult != nullptr)
            *pResult = 1;
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return OnButton(message, point);
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return FALSE;
    case WM_KEYDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return m_pKeyboardNavigation != nullptr &&
               m_pKeyboardNavigation->OnWndMsg(message, wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

void CQVTMarkupContext::OnMouseMove(CQVTMarkupUIElement* pRoot, CPoint point)
{
    CQVTMarkupInputElement* pHit = pRoot->InputHitTest(point);
    CQVTMarkupInputElement* pNew = pHit;
    if (m_pCaptureElement != nullptr)
    {
        pNew = nullptr;
        for (CQVTMarkupObject* p = pHit; p != nullptr; p = p->GetLogicalParent())
        {
            if (p == static_cast<CQVTMarkupObject*>(m_pCaptureElement))
            {
                pNew = m_pCaptureElement;
                break;
            }
        }
    }
    if (pNew != m_pMouseOverElement)
    {
        ChangeMouseOver(pNew, point);
        if (pNew != nullptr)
        {
            TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWndHost, 0};
            ::TrackMouseEvent(&track);
        }
        if (!OnQueryCursor())
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
    m_pMouseRoot = m_pMouseOverElement != nullptr ? pRoot : nullptr;
    if (m_pMouseOverElement == nullptr)
        return;
    CRoute route;
    BuildRoute(m_pMouseOverElement, route.m_elements);
    CQVTMarkupAutoPtr args(new CQVTMarkupMouseEventArgs(CQVTMarkupInputElement::m_pMouseMoveEvent,
                                                        m_pMouseOverElement, m_hWndHost, point));
    CQVTMarkupMouseEventArgs* pArgs = static_cast<CQVTMarkupMouseEventArgs*>(args.Get());
    for (CQVTMarkupInputElement* pElement : route.m_elements)
    {
        pElement->RaiseEvent(pArgs);
        if (pArgs->IsHandled())
            break;
        pElement->OnMouseMove(pArgs);
        if (pArgs->IsHandled())
            break;
    }
}

void CQVTMarkupContext::ChangeMouseOver(CQVTMarkupInputElement* pNew, CPoint point)
{
    CQVTMarkupInputElement* pOld = m_pMouseOverElement;
    if (pNew == pOld)
        return;
    if (pNew == nullptr)
        m_pMouseRoot = nullptr;
    CRoute leaveRoute, enterRoute;
    BuildRoute(pOld, leaveRoute.m_elements);
    BuildRoute(pNew, enterRoute.m_elements);
    // Common ancestors receive neither event.
    while (!leaveRoute.m_elements.empty() && !enterRoute.m_elements.empty() &&
           leaveRoute.m_elements.back() == enterRoute.m_elements.back())
    {
        leaveRoute.m_elements.back()->InternalRelease();
        leaveRoute.m_elements.pop_back();
        enterRoute.m_elements.back()->InternalRelease();
        enterRoute.m_elements.pop_back();
    }
    CQVTMarkupAutoPtr leaveArgs(
        new CQVTMarkupMouseEventArgs(CQVTMarkupInputElement::m_pMouseLeaveEvent, pOld, m_hWndHost, point));
    CQVTMarkupAutoPtr enterArgs(
        new CQVTMarkupMouseEventArgs(CQVTMarkupInputElement::m_pMouseEnterEvent, pNew, m_hWndHost, point));
    m_pMouseOverElement = pNew;
    CQVTMarkupMouseEventArgs* pLeave = static_cast<CQVTMarkupMouseEventArgs*>(leaveArgs.Get());
    for (CQVTMarkupInputElement* pElement : leaveRoute.m_elements)
    {
        pElement->RaiseEvent(pLeave);
        if (pLeave->IsHandled())
            break;
        pElement->OnMouseLeave(pLeave);
        if (pLeave->IsHandled())
            break;
    }
    CQVTMarkupMouseEventArgs* pEnter = static_cast<CQVTMarkupMouseEventArgs*>(enterArgs.Get());
    for (CQVTMarkupInputElement* pElement : enterRoute.m_elements)
    {
        pElement->RaiseEvent(pEnter);
        if (pEnter->IsHandled())
            break;
        pElement->OnMouseEnter(pEnter);
        if (pEnter->IsHandled())
            break;
    }
}

BOOL CQVTMarkupContext::OnButton(UINT message, CPoint point)
{
    CQVTMarkupInputElement* pTarget = m_pCaptureElement != nullptr ? m_pCaptureElement : m_pMouseOverElement;
    if (pTarget == nullptr)
        return FALSE;
    CQVTMarkupRoutedEvent* pEvent = nullptr;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pEvent = CQVTMarkupInputElement::m_pMouseLeftButtonDownEvent;
        break;
    case WM_LBUTTONUP:
        pEvent = CQVTMarkupInputElement::m_pMouseLeftButtonUpEvent;
        break;
    case WM_RBUTTONDOWN:
        pEvent = CQVTMarkupInputElement::m_pMouseRightButtonDownEvent;
        break;
    default:
        pEvent = CQVTMarkupInputElement::m_pMouseRightButtonUpEvent;
        break;
    }
    CRoute route;
    BuildRoute(pTarget, route.m_elements);
    CQVTMarkupAutoPtr args(new CQVTMarkupMouseButtonEventArgs(pEvent, pTarget, m_hWndHost, point));
    CQVTMarkupMouseButtonEventArgs* pArgs = static_cast<CQVTMarkupMouseButtonEventArgs*>(args.Get());
    for (CQVTMarkupInputElement* pElement : route.m_elements)
    {
        pElement->RaiseEvent(pArgs);
        if (pArgs->IsHandled())
            break;
        switch (message)
        {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pElement->OnMouseLeftButtonDown(pArgs);
            break;
        case WM_LBUTTONUP:
            pElement->OnMouseLeftButtonUp(pArgs);
            break;
        case WM_RBUTTONDOWN:
            pElement->OnMouseRightButtonDown(pArgs);
            break;
        default:
            pElement->OnMouseRightButtonUp(pArgs);
            break;
        }
        if (pArgs->IsHandled())
            break;
    }
    return pArgs->IsHandled();
}

BOOL CQVTMarkupContext::OnWheel(short nDelta, CPoint point)
{
    if (m_pMouseOverElement == nullptr)
        return FALSE;
    CRoute route;
    BuildRoute(m_pMouseOverElement, route.m_elements);
    CQVTMarkupAutoPtr args(new CQVTMarkupMouseWheelEventArgs(m_pMouseOverElement, m_hWndHost, point, nDelta));
    CQVTMarkupMouseWheelEventArgs* pArgs = static_cast<CQVTMarkupMouseWheelEventArgs*>(args.Get());
    for (CQVTMarkupInputElement* pElement : route.m_elements)
    {
        pElement->OnMouseWheel(pArgs);
        if (pArgs->IsHandled())
            return TRUE;
    }
    return FALSE;
}

BOOL CQVTMarkupContext::OnQueryCursor()
{
    if (m_pMouseOverElement == nullptr)
        return FALSE;
    CPoint point(0, 0);
    ::GetCursorPos(&point);
    ::ScreenToClient(m_hWndHost, &point);
    CRoute route;
    BuildRoute(m_pMouseOverElement, route.m_elements);
    CQVTMarkupAutoPtr args(new CQVTMarkupQueryCursorEventArgs(m_pMouseOverElement, m_hWndHost, point));
    CQVTMarkupQueryCursorEventArgs* pArgs = static_cast<CQVTMarkupQueryCursorEventArgs*>(args.Get());
    for (CQVTMarkupInputElement* pElement : route.m_elements)
    {
        pElement->OnQueryCursor(pArgs);
        if (!pArgs->IsHandled())
            continue;
        if (pArgs->GetCursor() == nullptr)
            return FALSE;
        ::SetCursor(pArgs->GetCursor());
        return TRUE;
    }
    return FALSE;
}

void CQVTMarkupContext::OnCaptureChanged()
{
    CQVTMarkupInputElement* pCapture = m_pCaptureElement;
    if (pCapture == nullptr)
        return;
    CQVTMarkupAutoPtr hold(pCapture);
    pCapture->InternalAddRef();
    CQVTMarkupAutoPtr args(new CQVTMarkupMouseEventArgs(CQVTMarkupInputElement::m_pLostMouseCaptureEvent,
                                                        pCapture, m_hWndHost, CPoint(-1, -1)));
    CQVTMarkupMouseEventArgs* pArgs = static_cast<CQVTMarkupMouseEventArgs*>(args.Get());
    pCapture->RaiseEvent(pArgs);
    if (!pArgs->IsHandled())
        pCapture->OnLostMouseCapture(pArgs);
    m_pCaptureElement = nullptr;
}

INT_PTR CQVTMarkupContext::OnToolHitTest(CPoint, TOOLINFO* pToolInfo)
{
    CString strText;
    CQVTMarkupInputElement* pElement = GetToolTipElement(strText);
    if (pElement == nullptr || pToolInfo == nullptr)
        return -1;
    QVT_TOOLTIPHITINFO* pHit = reinterpret_cast<QVT_TOOLTIPHITINFO*>(pToolInfo);
    CQVTToolTipContext::FillInToolInfo(pHit, m_hWndHost, GetElementWindowRect(pElement, FALSE),
                                       reinterpret_cast<INT_PTR>(pElement), strText);
    if (m_bToolRectOverride)
        pHit->rect.left = m_ptToolRectOverride.x;
    return reinterpret_cast<INT_PTR>(pElement);
}

CQVTMarkupInputElement* CQVTMarkupContext::GetToolTipElement(CString& strText)
{
    for (CQVTMarkupObject* p = m_pMouseOverElement; p != nullptr; p = p->GetLogicalParent())
    {
        CQVTMarkupInputElement* pElement = MarkupCast<CQVTMarkupInputElement>(p);
        if (pElement == nullptr)
            continue;
        if (CQVTMarkupString* pTip =
                MarkupCast<CQVTMarkupString>(pElement->GetValue(CQVTMarkupInputElement::m_pToolTipProperty)))
        {
            strText = pTip->GetText();
            return pElement;
        }
    }
    return nullptr;
}
