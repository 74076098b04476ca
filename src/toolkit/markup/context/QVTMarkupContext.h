// The host of a markup tree inside one window: it makes the tree's objects,
// keeps the defaults drawing needs (font, text colour, smoothing, DPI
// scaler), turns the window's mouse messages into enter, leave, move, button,
// wheel and cursor events on the elements, and turns the elements' repaint
// requests into repaints of the window, deferred while frozen.
#pragma once

#include <afxwin.h>

#include <activscp.h>

#include <memory>
#include <map>
#include <vector>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"

class CQVTActiveScriptEngine;
class CQVTActiveScriptStdRuntime;
class CQVTImageManager;
class CQVTMarkupBuilder;
class CQVTMarkupContextInternalDispatch;
class CQVTMarkupDelegate;
class CQVTMarkupDelegateMap;
class CQVTMarkupEventHandlerTable;
class CQVTMarkupFont;
class CQVTMarkupInputElement;
class CQVTMarkupKeyboardNavigation;
class CQVTMarkupMouseEventArgs;
class CQVTMarkupObject;
class CQVTMarkupRoutedEvent;
class CQVTMarkupStaticExtension;
class CQVTMarkupType;
class CQVTMarkupUIElement;
class CQVTToolTipContext;

// Sent to the host window after its markup content invalidated part of it.
#define QVT_WM_MARKUPREDRAW 0x2A5C

class CQVTMarkupContext
{
public:
    explicit CQVTMarkupContext(HWND hWndHost = nullptr);

    // The message relay: returns whether the message was handled; pResult
    // receives 1 for a handled cursor or wheel message.
    virtual BOOL OnWndMsg(CQVTMarkupUIElement* pRoot, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult);
    virtual void InvalidateElement(CQVTMarkupObject* pElement);
    virtual void InvalidateAll();

    ULONG AddRef();
    // Deletes the context when the count reaches 0.
    ULONG Release();

    HWND GetHostWindow() const { return m_hWndHost; }

    // An object of the type made for this context (one reference, which
    // holds a reference on the context), or null.
    CQVTMarkupObject* CreateMarkupObject(CQVTMarkupType* pType);
    // Called by an object's final release.
    void OnElementReleased(CQVTMarkupObject* pObject);

    void CaptureMouse(CQVTMarkupInputElement* pElement);
    void ReleaseMouseCapture();
    CQVTMarkupInputElement* GetCaptureElement() const { return m_pCaptureElement; }
    CQVTMarkupInputElement* GetMouseOverElement() const { return m_pMouseOverElement; }
    void ResetMouseState();
    // Asks the elements under the mouse for a cursor; TRUE when one was set.
    BOOL QueryCursor() { return OnQueryCursor(); }

    // Defaults for drawing.
    const LOGFONT& GetDefaultFont() const { return m_lfDefault; }
    void SetDefaultFont(const LOGFONT& lf);
    // Changes with the default font: layouts made in another are stale.
    UINT GetDefaultFontVersion() const { return m_nDefaultFontVersion; }
    COLORREF GetDefaultTextColor() const { return m_clrDefaultText; }
    void SetDefaultTextColor(COLORREF clr) { m_clrDefaultText = clr; }
    int GetDefaultSmoothingMode() const { return m_nDefaultSmoothingMode; }
    void SetDefaultSmoothingMode(int nMode) { m_nDefaultSmoothingMode = nMode; }
    BOOL GetDefaultTextSmoothing() const { return m_bDefaultTextSmoothing; }
    void SetDefaultTextSmoothing(BOOL bEnable) { m_bDefaultTextSmoothing = bEnable; }
    BOOL IsGdiPlusEnabled() const { return m_bGdiPlus; }
    void EnableGdiPlus(BOOL bEnable) { m_bGdiPlus = bEnable; }

    // A shared font equal to the request (width and precisions aside), with a
    // reference for the caller.
    CQVTMarkupFont* GetFont(const LOGFONT* pLogFont);
    // Called by a font that goes away.
    void OnFontReleased(CQVTMarkupFont* pFont);

    // The context's own image manager, else the process-wide one.
    CQVTImageManager* GetImageManager();
    // Holds a reference on the manager; null returns to the process-wide one.
    void SetImageManager(CQVTImageManager* pImageManager);
    // The context's mask colour, else the image manager's, else green.
    COLORREF GetMaskColor();
    void SetMaskColor(COLORREF clr) { m_clrMask = clr; }

    // DPI scaling from 96 DPI; unchanged without a scaler. Results that do
    // not fit in 32 bits saturate.
    int ScaleX(int nValue);
    int ScaleY(int nValue);
    float ScaleXFloat(float fValue);
    float ScaleYFloat(float fValue);
    double ScaleXDouble(double dValue);
    double ScaleYDouble(double dValue);
    SIZE ScaleSize(SIZE size);
    void SetDpiAware(BOOL bEnable, HWND hWnd);
    BOOL IsDpiAware() const { return m_pDpiScaler != nullptr; }

    CQVTMarkupStaticExtension* GetExtensionRoot();

    // Invalidation, deferred while frozen.
    void FreezeUpdates() { m_bFrozen = TRUE; }
    void UnfreezeUpdates();
    BOOL IsFrozen() const { return m_bFrozen; }
    // The element's rectangle in the host window's client coordinates.
    CRect GetElementWindowRect(CQVTMarkupObject* pElement, BOOL bUseUpdateRect);

    // Delegates by name and the context-wide handlers.
    void SetDelegate(LPCWSTR lpszName, CQVTMarkupDelegate* pDelegate);
    void SetMethod(IDispatch* pDispatch, LPCWSTR lpszName);
    void SetHandler(IDispatch* pDispatch);
    CQVTMarkupDelegate* LookupDelegate(LPCWSTR lpszName);
    CQVTMarkupDelegate* FindDelegate(LPCWSTR lpszName);
    // Takes the caller's reference of the delegate.
    void AddHandler(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupDelegate* pDelegate);
    CQVTMarkupEventHandlerTable* GetHandlerTable() const { return m_pHandlerTable.get(); }

    // Scripts (one engine, one language per context).
    // The first script makes the engine; a later one in another language
    // fails the load. The text joins the list run after building.
    void AddScript(CQVTMarkupBuilder* pBuilder, LPCWSTR lpszLanguage, LPCWSTR lpszCode);
    // Hands the named elements of the tree to the engine, depth-first.
    void AddNamedElements(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pElement);
    // Parses the collected scripts in order and starts the engine.
    void RunScripts(CQVTMarkupBuilder* pBuilder);
    // Drops the engine, the runtime and the collected texts.
    void CloseScript();
    // Parses asked for by the context's automation object: scripts calling
    // it keep running in the engine, so such a parse adds to it.
    void EnterScriptParse() { ++m_nScriptParses; }
    void LeaveScriptParse() { --m_nScriptParses; }
    BOOL IsInScriptParse() const { return m_nScriptParses > 0; }
    BOOL HasPendingScripts() const { return !m_arrScripts.empty(); }
    void DropPendingScripts() { m_arrScripts.clear(); }
    // A tree built with scripts: they live on after the host lets go of the
    // context while such a tree lives.
    void AddScriptRoot(CQVTMarkupObject* pRoot);
    // The host lets go: the scripts close now, or when the last tree built
    // with them goes (the engine holds named elements and the context, a
    // cycle nothing else would break).
    void OnHostReleased();
    // The host let go of an element: closes scripts nobody else needs.
    void OnElementLetGo() { CloseScriptWhenUnused(); }
    CQVTActiveScriptEngine* GetScriptEngine() const { return m_pScriptEngine; }
    IActiveScriptSite* GetScriptSite() { return &m_xActiveScriptSite; }
    // Names of the objects the context offers scripts, and the object behind one.
    virtual void GetNamedItems(CStringArray& arrNames);
    virtual HRESULT GetNamedItem(LPCWSTR lpszName, IUnknown** ppUnknown);
    // The context's automation object, made on first use (borrowed).
    CQVTMarkupContextInternalDispatch* GetInternalDispatch();

    CQVTMarkupKeyboardNavigation* GetKeyboardNavigation() const { return m_pKeyboardNavigation; }

    // The input element whose tooltip the mouse position shows, or null.
    CQVTMarkupInputElement* GetToolTipElement(CString& strText);
    // The tool under the mouse filled into the record (the element is its
    // id); -1 when no element there has a ToolTip.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pToolInfo);
    CQVTToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }

    // Guarded: the first context of the process registers every markup type.
    static void AFX_CDECL RegisterMarkupTypes();

protected:
    virtual ~CQVTMarkupContext();

private:
    class CTooltipContext;

    // The engine's site: it shares the context's reference count.
    class CScriptSite : public IActiveScriptSite
    {
    public:
        explicit CScriptSite(CQVTMarkupContext* pContext) : m_pContext(pContext) {}
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(GetLCID)(LCID* plcid) override;
        STDMETHOD(GetItemInfo)
        (LPCOLESTR pstrName, DWORD dwReturnMask, IUnknown** ppiunkItem, ITypeInfo** ppti) override;
        STDMETHOD(GetDocVersionString)(BSTR* pbstrVersion) override;
        STDMETHOD(OnScriptTerminate)(const VARIANT* pvarResult, const EXCEPINFO* pexcepinfo) override;
        STDMETHOD(OnStateChange)(SCRIPTSTATE ssScriptState) override;
        STDMETHOD(OnScriptError)(IActiveScriptError* pscripterror) override;
        STDMETHOD(OnEnterScript)() override;
        STDMETHOD(OnLeaveScript)() override;

    private:
        CQVTMarkupContext* m_pContext;
    };

    [[noreturn]] void ThrowScriptError(HRESULT hr);
    void CloseScriptWhenUnused();
    BOOL IsHeldOnlyByScripts(CQVTMarkupObject* pRoot);

    void OnMouseMove(CQVTMarkupUIElement* pRoot, CPoint point);
    void ChangeMouseOver(CQVTMarkupInputElement* pNew, CPoint point);
    BOOL OnButton(UINT message, CPoint point);
    BOOL OnWheel(short nDelta, CPoint point);
    BOOL OnQueryCursor();
    void OnCaptureChanged();
    void BuildRoute(CQVTMarkupInputElement* pElement, std::vector<CQVTMarkupInputElement*>& route);
    void FlushPendingUpdates();

    HWND m_hWndHost;
    COLORREF m_clrDefaultText;  // 0 black
    COLORREF m_clrMask;         // -1 not set
    LOGFONT m_lfDefault;
    UINT m_nDefaultFontVersion = 0;
    int m_nDefaultSmoothingMode;
    BOOL m_bDefaultTextSmoothing;
    CQVTMarkupInputElement* m_pMouseOverElement;  // not counted
    CQVTMarkupInputElement* m_pCaptureElement;    // not counted
    CQVTMarkupUIElement* m_pMouseRoot;            // the root whose tree the mouse is in, not counted
    CQVTMarkupFont* m_pFontHead;                  // live fonts made here; they own themselves
    CQVTMarkupFont* m_pFontTail;
    std::unique_ptr<CQVTMarkupEventHandlerTable> m_pHandlerTable;
    std::unique_ptr<CQVTMarkupDelegateMap> m_pDelegateMap;
    CQVTMarkupKeyboardNavigation* m_pKeyboardNavigation;  // owned, holds no context reference
    CQVTToolTipContext* m_pToolTipContext;                // counted; its tool hits are asked here
    BOOL m_bToolRectOverride;                             // nothing sets it yet; tool records honour it
    CPoint m_ptToolRectOverride;
    LONG m_nRefCount;
    CQVTImageManager* m_pImageManager;  // counted, or null for the process-wide one
    std::unique_ptr<CQVTMarkupStaticExtension> m_pExtensionRoot;
    BOOL m_bGdiPlus;
    std::unique_ptr<CQVTDpiScaler> m_pDpiScaler;
    BOOL m_bFrozen;
    BOOL m_bWholeWindowPending;
    std::vector<CQVTMarkupObject*> m_arrPending;        // counted
    CString m_strScriptLanguage;                        // the language of the engine, empty without one
    CQVTActiveScriptEngine* m_pScriptEngine;            // counted, or null
    std::vector<CString> m_arrScripts;                  // script texts not run yet, in document order
    int m_nScriptParses = 0;                            // parses of the automation object under way
    std::vector<CQVTMarkupObject*> m_arrScriptRoots;    // trees built with the engine, not counted
    std::map<CQVTMarkupObject*, int> m_mapScriptHolds;  // references to named elements handed to the engine
    BOOL m_bHostReleased = FALSE;                       // MarkupReleaseContext has run
    CQVTActiveScriptStdRuntime* m_pStdRuntime;          // counted, made on the engine's first request
    CQVTMarkupContextInternalDispatch* m_pInternalDispatch;  // counted, made on first use
    CScriptSite m_xActiveScriptSite;
};
