#include "toolkit/markup/context/QVTMarkupFunctions.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupGuard.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/parser/QVTMarkupParser.h"

namespace {

CQVTMarkupUIElement* BuildParsed(CQVTMarkupContext* pContext, CQVTMarkupParser& parser, BOOL bLoaded)
{
    if (!bLoaded)
        return nullptr;
    CQVTMarkupBuilder builder(pContext);
    return builder.Parse(&parser);
}
}  // namespace

CQVTMarkupContext* AFXAPI MarkupCreateContext(HWND hWnd, BOOL bDpiAware)
{
    return MarkupGuard<CQVTMarkupContext*>(nullptr, [&]() {
        CQVTMarkupContext* pContext = new CQVTMarkupContext(hWnd);
        if (bDpiAware)
            pContext->SetDpiAware(TRUE, hWnd);
        return pContext;
    });
}

CQVTMarkupContext* AFXAPI MarkupGetElementContext(CQVTMarkupUIElement* pElement)
{
    return pElement != nullptr ? pElement->GetMarkupContext() : nullptr;
}

CQVTMarkupUIElement* AFXAPI MarkupParseText(CQVTMarkupContext* pContext, LPCWSTR lpszText)
{
    if (pContext == nullptr || lpszText == nullptr)
        return nullptr;
    return MarkupGuard<CQVTMarkupUIElement*>(nullptr, [&]() {
        CQVTMarkupParser parser;
        return BuildParsed(pContext, parser, parser.LoadText(lpszText, lpszText + _tcslen(lpszText)));
    });
}

CQVTMarkupUIElement* AFXAPI MarkupParseDocument(CQVTMarkupContext* pContext, IStream* pSource)
{
    if (pContext == nullptr || pSource == nullptr)
        return nullptr;
    return MarkupGuard<CQVTMarkupUIElement*>(nullptr, [&]() {
        CQVTMarkupParser parser;
        return BuildParsed(pContext, parser, parser.LoadDocument(pSource));
    });
}

CSize AFXAPI MarkupMeasureElement(CQVTMarkupUIElement* pElement, int cxAvailable, int cyAvailable)
{
    if (pElement == nullptr)
        return CSize(0, 0);
    return MarkupGuard<CSize>(CSize(0, 0), [&]() {
        CQVTMarkupDrawingContext dc(pElement->GetMarkupContext());
        pElement->Measure(&dc, SIZE{cxAvailable, cyAvailable});
        return CSize(pElement->GetDesiredSize());
    });
}

void AFXAPI MarkupRenderElement(CQVTMarkupUIElement* pElement, HDC hDC, LPCRECT lpRect)
{
    if (pElement == nullptr || hDC == nullptr || lpRect == nullptr)
        return;
    MarkupGuard<int>(0, [&]() {
        CQVTMarkupDrawingContext dc(pElement->GetMarkupContext(), hDC);
        pElement->Measure(&dc, SIZE{lpRect->right - lpRect->left, lpRect->bottom - lpRect->top});
        pElement->Arrange(*lpRect);
        pElement->Render(&dc);
        return 0;
    });
}

BOOL AFXAPI MarkupRelayMessage(CQVTMarkupContext* pContext, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult)
{
    if (pContext == nullptr)
        return FALSE;
    return MarkupGuard<BOOL>(FALSE,
                             [&]() { return pContext->OnWndMsg(nullptr, message, wParam, lParam, pResult); });
}

BOOL AFXAPI MarkupRelayElementMessage(CQVTMarkupUIElement* pElement, UINT message, WPARAM wParam,
                                      LPARAM lParam, LRESULT* pResult)
{
    CQVTMarkupContext* pContext = pElement != nullptr ? pElement->GetMarkupContext() : nullptr;
    if (pContext == nullptr)
        return FALSE;
    return MarkupGuard<BOOL>(FALSE, [&]() {
        // Handlers may let go of the tree the message reaches.
        CQVTMarkupAutoPtr hold(pElement);
        pElement->InternalAddRef();
        return pContext->OnWndMsg(pElement, message, wParam, lParam, pResult);
    });
}

void AFXAPI MarkupReleaseContext(CQVTMarkupContext*& pContext)
{
    if (pContext == nullptr)
        return;
    CQVTMarkupContext* p = pContext;
    pContext = nullptr;
    // The engine holds the context and the named elements: the scripts end
    // once no tree built with them is held by anyone else, or the context
    // would never be freed.
    MarkupGuard<int>(0, [&]() {
        p->OnHostReleased();
        return 0;
    });
    p->Release();
}

void AFXAPI MarkupReleaseElement(CQVTMarkupUIElement*& pElement)
{
    if (pElement == nullptr)
        return;
    CQVTMarkupUIElement* p = pElement;
    pElement = nullptr;
    // A tree the scripts name at its root outlives this release in the
    // engine only: that may end the scripts of a context the host let go.
    CQVTMarkupContext* pContext = p->GetMarkupContext();
    if (pContext != nullptr)
        pContext->AddRef();
    p->InternalRelease();
    if (pContext != nullptr)
    {
        MarkupGuard<int>(0, [&]() {
            pContext->OnElementLetGo();
            return 0;
        });
        pContext->Release();
    }
}

void AFXAPI MarkupSetDefaultFont(CQVTMarkupContext* pContext, HFONT hFont, COLORREF clrText)
{
    if (pContext == nullptr)
        return;
    if (hFont != nullptr)
    {
        LOGFONTW lf = {};
        if (::GetObjectW(hFont, sizeof(LOGFONTW), &lf) == sizeof(LOGFONTW))
            pContext->SetDefaultFont(lf);
    }
    if (clrText != static_cast<COLORREF>(-1))
        pContext->SetDefaultTextColor(clrText);
}
