// The HTML look: the tip is the body of a document shown by a hosted web
// browser control, measured in a hidden window and captured into a bitmap
// that painting copies. The tip window is the browser's site itself. Where no
// browser can be made, the tip shows plain.
#pragma once

#include <exdisp.h>
#include <mshtmhst.h>
#include <ole2.h>

#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/controls/tooltip/QVTToolTipContextToolTip.h"

class CQVTToolTipContext::CHTMLToolTip : public CQVTToolTipContextToolTip
{
public:
    explicit CHTMLToolTip(CQVTToolTipContext* pContext);
    ~CHTMLToolTip() override;

    CSize CalcToolSize(CDC* pDC, TOOLITEM* pTool) override;
    void DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc) override;

    // The about-scheme document a tip is shown in.
    CString BuildDocumentUrl() const;
    // FALSE once a browser could not be made or could not show a document.
    BOOL IsBrowserAvailable() const { return !m_bBrowserFailed; }

protected:
    // Shows the text in the browser and captures it; FALSE when it cannot.
    BOOL RenderDocument(const CString& strText);
    BOOL CreateBrowser();
    void ReleaseBrowser();
    BOOL WaitForDocument();
    void FreeCapture();

    DECLARE_INTERFACE_MAP()

    BEGIN_INTERFACE_PART(OleClientSite, IOleClientSite)
        STDMETHOD(SaveObject)() override;
        STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override;
        STDMETHOD(GetContainer)(IOleContainer**) override;
        STDMETHOD(ShowObject)() override;
        STDMETHOD(OnShowWindow)(BOOL) override;
        STDMETHOD(RequestNewObjectLayout)() override;
    END_INTERFACE_PART(OleClientSite)

    BEGIN_INTERFACE_PART(OleInPlaceSite, IOleInPlaceSite)
        STDMETHOD(GetWindow)(HWND*) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL) override;
        STDMETHOD(CanInPlaceActivate)() override;
        STDMETHOD(OnInPlaceActivate)() override;
        STDMETHOD(OnUIActivate)() override;
        STDMETHOD(GetWindowContext)
        (IOleInPlaceFrame**, IOleInPlaceUIWindow**, LPRECT, LPRECT, LPOLEINPLACEFRAMEINFO) override;
        STDMETHOD(Scroll)(SIZE) override;
        STDMETHOD(OnUIDeactivate)(BOOL) override;
        STDMETHOD(OnInPlaceDeactivate)() override;
        STDMETHOD(DiscardUndoState)() override;
        STDMETHOD(DeactivateAndUndo)() override;
        STDMETHOD(OnPosRectChange)(LPCRECT) override;
    END_INTERFACE_PART(OleInPlaceSite)

    BEGIN_INTERFACE_PART(OleInPlaceFrame, IOleInPlaceFrame)
        STDMETHOD(GetWindow)(HWND*) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL) override;
        STDMETHOD(GetBorder)(LPRECT) override;
        STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS) override;
        STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS) override;
        STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject*, LPCOLESTR) override;
        STDMETHOD(InsertMenus)(HMENU, LPOLEMENUGROUPWIDTHS) override;
        STDMETHOD(SetMenu)(HMENU, HOLEMENU, HWND) override;
        STDMETHOD(RemoveMenus)(HMENU) override;
        STDMETHOD(SetStatusText)(LPCOLESTR) override;
        STDMETHOD(EnableModeless)(BOOL) override;
        STDMETHOD(TranslateAccelerator)(LPMSG, WORD) override;
    END_INTERFACE_PART(OleInPlaceFrame)

    BEGIN_INTERFACE_PART(DocHostUIHandler, IDocHostUIHandler)
        STDMETHOD(ShowContextMenu)(DWORD, POINT*, IUnknown*, IDispatch*) override;
        STDMETHOD(GetHostInfo)(DOCHOSTUIINFO*) override;
        STDMETHOD(ShowUI)
        (DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*, IOleInPlaceUIWindow*)
            override;
        STDMETHOD(HideUI)() override;
        STDMETHOD(UpdateUI)() override;
        STDMETHOD(EnableModeless)(BOOL) override;
        STDMETHOD(OnDocWindowActivate)(BOOL) override;
        STDMETHOD(OnFrameWindowActivate)(BOOL) override;
        STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
        STDMETHOD(TranslateAccelerator)(LPMSG, const GUID*, DWORD) override;
        STDMETHOD(GetOptionKeyPath)(LPOLESTR*, DWORD) override;
        STDMETHOD(GetDropTarget)(IDropTarget*, IDropTarget**) override;
        STDMETHOD(GetExternal)(IDispatch**) override;
        STDMETHOD(TranslateUrl)(DWORD, LPWSTR, LPWSTR*) override;
        STDMETHOD(FilterDataObject)(IDataObject*, IDataObject**) override;
    END_INTERFACE_PART(DocHostUIHandler)

    IOleObject* m_pBrowserObject;  // the browser control, or null
    IWebBrowser2* m_pWebBrowser;
    CWnd m_wndHost;     // hidden window the browser lays out in
    CRect m_rcBrowser;  // the browser's place in the host
    BOOL m_bBrowserFailed;
    BOOL m_bRendering;   // a document is being shown: no second one
    HBITMAP m_hCapture;  // the captured document, owned
    CSize m_szCapture;
    CString m_strCaptured;  // the text the capture shows
};
