// The tooltip settings of one owner (the command bars of a frame, a markup
// context, a button) and the tooltip window that shows them. The owner hands
// every mouse and keyboard message to the filter; the context asks the owner
// which tool is under the cursor and keeps one tooltip window in step.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

#include <cstddef>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/gdi/QVTGdiObject.h"

class CQVTImageManager;
class CQVTToolTipContextToolTip;

// The extended part of a hit record: filled only when title and
// description are both given.
struct QVT_TOOLTIPHITINFO_EX
{
    LPTSTR lpszDescription;  // calloc copy
    LPTSTR lpszTitle;        // calloc copy
    CQVTImageManager* pImageManager;
};

// What an owner's tool hit test fills. The first 56 bytes are a TOOLINFO's,
// so OnToolHitTest receives the record as one; the 64-byte form carries the
// extended part where a TOOLINFO has its lParam.
struct QVT_TOOLTIPHITINFO
{
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPTSTR lpszText;  // calloc copy
    QVT_TOOLTIPHITINFO_EX* pExtended;
};
static_assert(offsetof(QVT_TOOLTIPHITINFO, lpszText) == offsetof(TTTOOLINFOW, lpszText),
              "a hit record starts like a TOOLINFO");
static_assert(offsetof(QVT_TOOLTIPHITINFO, pExtended) == 56, "the extended part follows the text");

class CQVTToolTipContext : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTToolTipContext)

public:
    // The looks, by style number.
    enum ToolTipStyle
    {
        toolTipStandard = 0,
        toolTipBalloon = 1,
        toolTipPlain = 2,
        toolTipRichText = 3,
        toolTipLuna = 4,
        toolTipOffice = 5,
        toolTipHTML = 6,
        toolTipMarkup = 7,
        toolTipOffice2013 = 8,
    };
    // Window style bits of the toolkit's own tooltip windows.
    enum
    {
        styleFrame3D = 0x1000,   // the border's top-left in COLOR_3DFACE
        styleNoShadow = 0x2000,  // no drop shadow
        styleOffice = 0x4000,    // rounded corners, Office text colour
        styleOffice2013 = 0x8000,
    };
    // A hit whose flags carry this bit shows its tip while the application is
    // not active.
    static const UINT hitShowWhenInactive = 0x40000000;
    static const UINT hitSize = 56;
    static const UINT hitSizeEx = 64;

    // Private messages of the tooltip windows.
    enum
    {
        WM_QVT_TOOLTIPPARENTTOOL = 0x2A48,  // a child answering 1 stands for its parent
        WM_QVT_TOOLTIPSETIMAGE = 0x2A49,    // lParam: the CQVTImageManagerIcon to show, or none
    };

    CQVTToolTipContext();
    ~CQVTToolTipContext() override;

    void SetStyle(int nStyle);
    int GetStyle() const { return m_nToolTipStyle; }
    void ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd);
    DWORD GetToolTipStyle() const { return m_dwToolTipStyle; }
    // 1 reshow, 2 auto-pop, 3 initial (the TTDT_ values).
    void SetDelayTime(DWORD dwDuration, int nTime);
    void SetFont(CFont* pFont);
    void SetMargin(const RECT& rcMargin);
    const CRect& GetMargin() const { return m_rcMargin; }
    void SetMaxTipWidth(int nWidth);
    // Half the screen unless set.
    int GetMaxTipWidth() const;
    void SetShowImage(BOOL bShowImage, int nImageBase = 0, int nImageSize = 1);
    void SetShowTitle(BOOL bShowTitle, int nTitleIcon = TTI_INFO);
    void SetTipBkColor(COLORREF clr);
    void SetTipTextColor(COLORREF clr);
    COLORREF GetTipBkColor() const { return m_clrTipBack; }
    COLORREF GetTipTextColor() const { return m_clrTipText; }
    void SetStripEllipsis(BOOL bStrip) { m_bStripEllipsis = bStrip; }
    BOOL IsShowImage() const { return m_bShowImage; }
    int GetImageSize() const { return m_nImageSize; }

    // Hides a shown tip.
    void DeactivateToolTip();
    void FilterToolTipMessage(CWnd* pOwner, MSG* pMsg);
    // The message made with the cursor position, then filtered.
    void RelayToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam);

    // For owners' hit tests: copies of the texts go into the record.
    static void AFX_CDECL FillInToolInfo(QVT_TOOLTIPHITINFO* pInfo, HWND hWnd, const RECT& rc, INT_PTR nHit,
                                         LPCTSTR lpszToolTip);
    static void AFX_CDECL FillInToolInfoEx(QVT_TOOLTIPHITINFO* pInfo, HWND hWnd, const RECT& rc, INT_PTR nHit,
                                           LPCTSTR lpszToolTip, LPCTSTR lpszDescription,
                                           CQVTImageManager* pImageManager = nullptr);
    static void AFX_CDECL FillInToolInfo(TOOLINFO* pTI, HWND hWnd, const RECT& rc, INT_PTR nHit,
                                         LPCTSTR lpszToolTip)
    {
        FillInToolInfo(reinterpret_cast<QVT_TOOLTIPHITINFO*>(pTI), hWnd, rc, nHit, lpszToolTip);
    }
    static void AFX_CDECL FillInToolInfoEx(TOOLINFO* pTI, HWND hWnd, const RECT& rc, INT_PTR nHit,
                                           LPCTSTR lpszToolTip, LPCTSTR lpszDescription,
                                           CQVTImageManager* pImageManager = nullptr)
    {
        FillInToolInfoEx(reinterpret_cast<QVT_TOOLTIPHITINFO*>(pTI), hWnd, rc, nHit, lpszToolTip,
                         lpszDescription, pImageManager);
    }
    // Frees the copies a record holds.
    static void AFX_CDECL FreeToolInfo(QVT_TOOLTIPHITINFO* pInfo);

    // The tip text as the window shows it: ampersands removed unless the
    // window keeps prefixes, a trailing "..." dropped when asked.
    CString PrepareText(LPCTSTR lpszText) const;

    // The tooltip window, or null before the filter first needed one.
    CWnd* GetToolTip() const { return m_pToolTip; }
    CQVTFont& GetFont() { return m_fntToolTip; }
    CQVTFont& GetBoldFont() { return m_fntToolTipBold; }

    class CRichEditToolTip;
    class CLunaToolTip;
    class COfficeToolTip;
    class CHTMLToolTip;
    class CMarkupToolTip;
    class COffice2013ToolTip;

protected:
    // The tool under a point of the owner's client area, filled into the
    // record; -1 for none. The owner's own hit test unless a context that
    // knows its tools better answers.
    virtual INT_PTR OnToolHitTest(CWnd* pOwner, CPoint point, TOOLINFO* pToolInfo);
    // Makes the window for the current style; false when it cannot be made.
    virtual BOOL CreateToolTip(CWnd* pOwner);
    void DestroyToolTip();
    void CreateFonts(const LOGFONT* pLogFont);
    BOOL IsOwnWindow() const;
    LRESULT SendToToolTip(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // TTM_RELAYEVENT with the point in the client coordinates of the window
    // under it.
    void RelayToToolTip(const MSG* pMsg) const;
    void NewTool(CWnd* pOwner, QVT_TOOLTIPHITINFO& hit, INT_PTR nHit);

    BOOL m_bShowTitleAndDescription;  // a description becomes the body under a title
    int m_nIconTitle;                 // the title icon (TTI_ value)
    BOOL m_bShowImage;
    int m_nImageSize;         // 0 small, 1 large
    int m_nImageBase;         // added to the tool id to find its image
    int m_nToolTipStyle;      // the look
    DWORD m_dwComCtlVersion;  // MAKELONG(minor, major)
    // Read from the screen when a tip first needs it: every control with a
    // context of its own would otherwise ask the monitors at its making.
    mutable int m_nMaxTipWidth;
    mutable BOOL m_bMaxTipWidthKnown = FALSE;
    DWORD m_dwToolTipStyle;  // window style bits of the tooltip
    CRect m_rcMargin;
    int m_nDelayInitial;  // ms, -1 unset
    int m_nDelayReshow;
    int m_nDelayAutoPop;
    CWnd* m_pToolTip;               // owned, made on demand
    QVT_TOOLTIPHITINFO m_lastInfo;  // the last hit, its copies owned
    QVT_TOOLTIPHITINFO_EX m_lastInfoEx;
    INT_PTR m_nLastHit;     // -1: no tool
    COLORREF m_clrTipBack;  // -1 unset
    COLORREF m_clrTipText;
    BOOL m_bStripEllipsis;
    CQVTFont m_fntToolTip;
    CQVTFont m_fntToolTipBold;

    friend class CQVTToolTipContextToolTip;
};
