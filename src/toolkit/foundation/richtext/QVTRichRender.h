// Rich text (RTF) or plain text drawn and measured without a window, through
// the system's windowless rich-edit text services. The object is the text
// services' host itself, with fixed answers: rich, multi-line, word-wrapped,
// transparent, in the system's message font.
#pragma once

#include <afxwin.h>
#include <richedit.h>
#include <textserv.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTRichRender : public CQVTCmdTarget
{
public:
    CQVTRichRender();
    ~CQVTRichRender() override;

    // The number of characters read; 0 for an empty text or without text
    // services. Text beginning with "{" is read as RTF, else (or when that
    // reads nothing) as plain text.
    LRESULT SetText(LPCTSTR lpszText);
    void SetDefaultCharFormat(const CHARFORMATW& cf);
    void Draw(HDC hDC, const CRect& rc);
    // The narrowest width that keeps the text as high as at the maximum
    // width, and that height.
    CSize GetTextExtent(HDC hDC, int nMaxWidth);

    ITextServices* GetTextServices() const { return m_pTextServices; }
    const CHARFORMATW& GetDefaultCharFormat() const { return m_charFormat; }

protected:
    DECLARE_INTERFACE_MAP()

    BEGIN_INTERFACE_PART(TextHost, ITextHost)
        HDC __thiscall TxGetDC() override;
        INT __thiscall TxReleaseDC(HDC hdc) override;
        BOOL __thiscall TxShowScrollBar(INT fnBar, BOOL fShow) override;
        BOOL __thiscall TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
        BOOL __thiscall TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, BOOL fRedraw) override;
        BOOL __thiscall TxSetScrollPos(INT fnBar, INT nPos, BOOL fRedraw) override;
        void __thiscall TxInvalidateRect(LPCRECT prc, BOOL fMode) override;
        void __thiscall TxViewChange(BOOL fUpdate) override;
        BOOL __thiscall TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
        BOOL __thiscall TxShowCaret(BOOL fShow) override;
        BOOL __thiscall TxSetCaretPos(INT x, INT y) override;
        BOOL __thiscall TxSetTimer(UINT idTimer, UINT uTimeout) override;
        void __thiscall TxKillTimer(UINT idTimer) override;
        void __thiscall TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip,
                                         HRGN hRgnUpdate, LPRECT lprcUpdate, UINT fuScroll) override;
        void __thiscall TxSetCapture(BOOL fCapture) override;
        void __thiscall TxSetFocus() override;
        void __thiscall TxSetCursor(HCURSOR hcur, BOOL fText) override;
        BOOL __thiscall TxScreenToClient(LPPOINT lppt) override;
        BOOL __thiscall TxClientToScreen(LPPOINT lppt) override;
        HRESULT __thiscall TxActivate(LONG * plOldState) override;
        HRESULT __thiscall TxDeactivate(LONG lNewState) override;
        HRESULT __thiscall TxGetClientRect(LPRECT prc) override;
        HRESULT __thiscall TxGetViewInset(LPRECT prc) override;
        HRESULT __thiscall TxGetCharFormat(const CHARFORMATW** ppCF) override;
        HRESULT __thiscall TxGetParaFormat(const PARAFORMAT** ppPF) override;
        COLORREF __thiscall TxGetSysColor(int nIndex) override;
        HRESULT __thiscall TxGetBackStyle(TXTBACKSTYLE * pStyle) override;
        HRESULT __thiscall TxGetMaxLength(DWORD * plength) override;
        HRESULT __thiscall TxGetScrollBars(DWORD * pdwScrollBar) override;
        HRESULT __thiscall TxGetPasswordChar(WCHAR * pch) override;
        HRESULT __thiscall TxGetAcceleratorPos(LONG * pch) override;
        HRESULT __thiscall TxGetExtent(LPSIZEL lpExtent) override;
        HRESULT __thiscall OnTxCharFormatChange(const CHARFORMATW* pcf) override;
        HRESULT __thiscall OnTxParaFormatChange(const PARAFORMAT* ppf) override;
        HRESULT __thiscall TxGetPropertyBits(DWORD dwMask, DWORD * pdwBits) override;
        HRESULT __thiscall TxNotify(DWORD iNotify, void* pv) override;
        HIMC __thiscall TxImmGetContext() override;
        void __thiscall TxImmReleaseContext(HIMC himc) override;
        HRESULT __thiscall TxGetSelectionBarWidth(LONG * lSelBarWidth) override;
    END_INTERFACE_PART(TextHost)

private:
    // Lays the text out at a width; the height it needs.
    int LayOut(HDC hDC, int nWidth);

    ITextServices* m_pTextServices = nullptr;  // null without the rich-edit library
    CHARFORMATW m_charFormat;                  // the default: the system's message font
    PARAFORMAT m_paraFormat;
    CSize m_szRequested;              // from the last resize request of the text services
    BOOL m_bResizeRequested = FALSE;  // a request came since the last layout began
    BOOL m_bLayoutStale = FALSE;      // the content changed since it was last drawn
    HMODULE m_hRichEdit = nullptr;
};
