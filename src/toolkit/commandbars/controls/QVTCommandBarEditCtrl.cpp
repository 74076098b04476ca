#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"

#include <richedit.h>

#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTRichEditClass.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarEditCtrl, CEdit)
IMPLEMENT_DYNAMIC(CQVTControlEditCtrl, CQVTCommandBarEditCtrl)

namespace {
// The process's rich-edit class, looked up once.
struct RichEditClass
{
    RichEditClass()
    {
        int nRow = 0;
        WNDCLASSW wc = {};
        if (FindRichEditClass(qvtRichEditAnyRow, nRow, &wc) && wc.lpszClassName)
        {
            strClassName = wc.lpszClassName;
            bVersion20 = nRow >= 1;
        }
    }
    CString strClassName;  // empty: no rich-edit class loads
    BOOL bVersion20 = FALSE;
};

const RichEditClass& GetRichEditClass()
{
    static const RichEditClass richEdit;
    return richEdit;
}

// The subclassing functions, bound from ComCtl32 with the first edit.
typedef BOOL(WINAPI* PFNSETWINDOWSUBCLASS)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
typedef BOOL(WINAPI* PFNREMOVEWINDOWSUBCLASS)(HWND, SUBCLASSPROC, UINT_PTR);
typedef LRESULT(WINAPI* PFNDEFSUBCLASSPROC)(HWND, UINT, WPARAM, LPARAM);

struct SubclassApi
{
    SubclassApi()
    {
        if (!module.LoadLibrary(u"ComCtl32.dll"))
            return;
        module.GetProcAddress(&pfnSet, "SetWindowSubclass");
        module.GetProcAddress(&pfnRemove, "RemoveWindowSubclass");
        module.GetProcAddress(&pfnDefault, "DefSubclassProc");
    }
    BOOL IsBound() const { return pfnSet && pfnRemove && pfnDefault; }
    CQVTModuleHandle module;
    PFNSETWINDOWSUBCLASS pfnSet = nullptr;
    PFNREMOVEWINDOWSUBCLASS pfnRemove = nullptr;
    PFNDEFSUBCLASSPROC pfnDefault = nullptr;
};

SubclassApi& GetSubclassApi()
{
    static SubclassApi api;
    return api;
}

// Whatever the clipboard holds as text is digits only; FALSE without text.
BOOL IsClipboardDigitsOnly(HWND hWnd)
{
    if (!::OpenClipboard(hWnd))
        return FALSE;
    BOOL bDigits = FALSE;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    if (hData)
    {
        const SIZE_T nBytes = ::GlobalSize(hData);
        const WCHAR* pText = static_cast<const WCHAR*>(::GlobalLock(hData));
        if (pText)
        {
            // The text ends at its terminator or at the block's end, whichever is first.
            const SIZE_T nMax = nBytes / sizeof(WCHAR);
            SIZE_T n = 0;
            while (n < nMax && pText[n])
                ++n;
            bDigits = n > 0;
            for (SIZE_T i = 0; i < n && bDigits; ++i)
                bDigits = pText[i] >= u'0' && pText[i] <= u'9';
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return bDigits;
}

LRESULT CALLBACK NumbersOnlyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR uIdSubclass,
                                 DWORD_PTR /*dwRefData*/)
{
    SubclassApi& api = GetSubclassApi();
    BOOL bPaste = message == WM_PASTE;
    if (message == WM_KEYDOWN)
    {
        const BOOL bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        bPaste = (wParam == 'V' && bCtrl) || (wParam == VK_INSERT && bShift && !bCtrl);
    }
    if (message == WM_CHAR)
    {
        // Ctrl+V arrives as a character too.
        if (wParam == 0x16)
            bPaste = TRUE;
        else if (wParam >= 0x20 && !(wParam >= u'0' && wParam <= u'9'))
            return 0;
    }
    if (bPaste && !IsClipboardDigitsOnly(hWnd))
    {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return 0;
    }
    if (message == WM_NCDESTROY)
        api.pfnRemove(hWnd, NumbersOnlyProc, uIdSubclass);
    return api.pfnDefault(hWnd, message, wParam, lParam);
}
}  // namespace

BOOL AFXAPI QVTIsDigitsOnly(LPCWSTR lpszText)
{
    if (!lpszText || !*lpszText)
        return FALSE;
    for (; *lpszText; ++lpszText)
        if (*lpszText < u'0' || *lpszText > u'9')
            return FALSE;
    return TRUE;
}

BOOL AFXAPI QVTSetNumbersOnly(HWND hWnd, BOOL bNumbersOnly)
{
    SubclassApi& api = GetSubclassApi();
    if (!api.IsBound() || !::IsWindow(hWnd))
        return FALSE;
    if (bNumbersOnly)
        return api.pfnSet(hWnd, NumbersOnlyProc, 0, 0);
    return api.pfnRemove(hWnd, NumbersOnlyProc, 0);
}

// The window.

CQVTCommandBarEditCtrl::CQVTCommandBarEditCtrl()
    : m_bComposited(FALSE), m_bGlass(FALSE), m_bSettingText(FALSE), m_bRichEdit(FALSE)
{
    // The subclassing functions are bound with the first edit.
    GetSubclassApi();
}

CQVTCommandBarEditCtrl::~CQVTCommandBarEditCtrl()
{
    DestroyWindow();
}

BOOL AFX_CDECL CQVTCommandBarEditCtrl::IsRichEdit20()
{
    return GetRichEditClass().bVersion20;
}

BOOL CQVTCommandBarEditCtrl::CreateEdit(DWORD dwStyle, CQVTCommandBar* pParentBar)
{
    if (!pParentBar || !pParentBar->GetSafeHwnd())
        return FALSE;
    const RichEditClass& richEdit = GetRichEditClass();
    m_bRichEdit = !richEdit.strClassName.IsEmpty();
    if (m_bRichEdit)
    {
        if (!CreateEx(0, richEdit.strClassName, nullptr, dwStyle | ES_NOOLEDRAGDROP, CRect(0, 0, 0, 0),
                      pParentBar, 0))
            return FALSE;
        SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
        SendMessage(EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
        return TRUE;
    }
    return CEdit::Create(dwStyle, CRect(0, 0, 0, 0), pParentBar, 0);
}

CString CQVTCommandBarEditCtrl::GetEditText() const
{
    if (!GetSafeHwnd())
        return CString();
    if (!m_bRichEdit)
    {
        CString strText;
        GetWindowText(strText);
        return strText;
    }
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT nLength =
        ::SendMessage(GetSafeHwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (nLength <= 0)
        return CString();
    std::vector<WCHAR> buffer(static_cast<size_t>(nLength) + 1);
    GETTEXTEX text = {};
    text.cb = static_cast<DWORD>(buffer.size() * sizeof(WCHAR));
    text.flags = GT_DEFAULT;
    text.codepage = 1200;
    ::SendMessage(GetSafeHwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&text),
                  reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = 0;
    return CString(buffer.data());
}

void CQVTCommandBarEditCtrl::SetEditText(const CString& strText)
{
    if (!GetSafeHwnd())
        return;
    // The clearing step notifies nobody.
    m_bSettingText = TRUE;
    SetWindowText(_T(""));
    m_bSettingText = FALSE;
    SetWindowText(strText);
}

BOOL CQVTCommandBarEditCtrl::IsCommandEnabled(UINT nID) const
{
    if (!GetSafeHwnd())
        return FALSE;
    const BOOL bWritable = !(GetStyle() & ES_READONLY) && IsWindowEnabled();
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    switch (nID)
    {
    case ID_EDIT_PASTE:
        return bWritable && ::IsClipboardFormatAvailable(CF_TEXT);
    case ID_EDIT_COPY:
        return nStart != nEnd;
    case ID_EDIT_CUT:
        return nStart != nEnd && bWritable;
    default:
        return FALSE;
    }
}

void CQVTCommandBarEditCtrl::ExecuteCommand(UINT nID)
{
    if (!IsCommandEnabled(nID))
        return;
    SendMessage(nID == ID_EDIT_CUT ? WM_CUT : nID == ID_EDIT_COPY ? WM_COPY : WM_PASTE);
}

LRESULT CQVTCommandBarEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A rich edit in plain-text mode replaces its whole text when it pastes
    // on its own: the text goes in at the selection instead.
    if (m_bRichEdit)
    {
        const BOOL bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        const BOOL bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (message == WM_KEYDOWN && ((wParam == 'V' && bCtrl) || (wParam == VK_INSERT && bShift && !bCtrl)))
        {
            SendMessage(WM_PASTE);
            return 0;
        }
        if (message == WM_PASTE)
        {
            PasteAtSelection();
            return 0;
        }
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

void CQVTCommandBarEditCtrl::PasteAtSelection()
{
    if ((GetStyle() & ES_READONLY) || !IsWindowEnabled() || !::OpenClipboard(GetSafeHwnd()))
        return;
    CString strText;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    const WCHAR* pText = hData ? static_cast<const WCHAR*>(::GlobalLock(hData)) : nullptr;
    if (pText)
    {
        // Up to the terminator, the block's end or the first line break.
        const SIZE_T nMax = ::GlobalSize(hData) / sizeof(WCHAR);
        SIZE_T n = 0;
        while (n < nMax && pText[n] && pText[n] != u'\r' && pText[n] != u'\n')
            ++n;
        strText = CString(pText, static_cast<int>(n));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    if (!strText.IsEmpty())
        SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
}

BOOL CQVTCommandBarEditCtrl::ShowContextMenu(CQVTControl* pControl, CPoint point)
{
    // Without the command strings the window's own menu shows.
    CString strCut;
    if (!QVTResourceManager()->LoadString(&strCut, ID_EDIT_CUT))
        return FALSE;
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(pBar ? pBar->GetCommandBars() : nullptr);
    for (UINT nId :
         {static_cast<UINT>(ID_EDIT_CUT), static_cast<UINT>(ID_EDIT_COPY), static_cast<UINT>(ID_EDIT_PASTE)})
    {
        CQVTControl* pEntry = pPopup->GetControls()->AddByType(qvtControlButton, static_cast<int>(nId));
        if (!pEntry)
            continue;
        // The edit decides, not the site's command handlers.
        pEntry->SetFlags(pEntry->GetFlags() | qvtFlagManualUpdate);
        pEntry->SetEnabled(IsCommandEnabled(nId));
    }
    UINT nFlags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RECURSE;
    if (GetExStyle() & WS_EX_LAYOUTRTL)
        nFlags |= TPM_RIGHTALIGN;
    CQVTObjectRef<CQVTCommandBar> keepBar(pBar);
    // The menu's entries hover while it is up.
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    const BOOL bLowered = pMouseManager->GetFocusedControlCount() > 0;
    if (bLowered)
        pMouseManager->RemoveFocusedControl();
    const int nCommand = CQVTCommandBars::TrackPopupBar(pPopup, nFlags, point.x, point.y, this);
    if (bLowered)
        pMouseManager->AddFocusedControl();
    pPopup->InternalRelease();
    if (nCommand > 0 && GetSafeHwnd())
        ExecuteCommand(static_cast<UINT>(nCommand));
    if (pBar && pBar->GetSafeHwnd())
        pBar->Redraw();
    return TRUE;
}

// The window of an edit control.

BEGIN_MESSAGE_MAP(CQVTControlEditCtrl, CQVTCommandBarEditCtrl)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_WM_KEYDOWN()
    ON_CONTROL_REFLECT_EX(EN_CHANGE, &CQVTControlEditCtrl::OnEditChange)
    ON_WM_ENABLE()
    ON_MESSAGE(WM_IME_STARTCOMPOSITION, &CQVTControlEditCtrl::OnImeStartComposition)
    ON_MESSAGE(WM_IME_ENDCOMPOSITION, &CQVTControlEditCtrl::OnImeEndComposition)
    ON_WM_PAINT()
    ON_MESSAGE(WM_QVT_ISCOMMANDBAREDIT, &CQVTControlEditCtrl::OnIsCommandBarEdit)
    ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_PASTE, &CQVTControlEditCtrl::OnEditCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_COPY, ID_EDIT_PASTE, &CQVTControlEditCtrl::OnUpdateEditCommand)
END_MESSAGE_MAP()

CQVTCommandBar* CQVTControlEditCtrl::GetHostBar() const
{
    CQVTControl* pControl = GetHostControl();
    return pControl ? pControl->GetParent() : nullptr;
}

LRESULT CQVTControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CQVTCommandBar* pBar = GetHostBar();
    CQVTCommandBars* pCommandBars = pBar ? pBar->GetCommandBars() : nullptr;
    if (pCommandBars && pCommandBars->GetToolTipContext() && message >= WM_MOUSEFIRST &&
        message <= WM_MOUSELAST)
        pCommandBars->GetToolTipContext()->RelayToolTipMessage(pBar, message, wParam, lParam);
    return CQVTCommandBarEditCtrl::WindowProc(message, wParam, lParam);
}

void CQVTControlEditCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CQVTCommandBar* pBar = GetHostBar();
    if (m_pHost && !(pBar && pBar->IsCustomizeMode()))
        m_pHost->OnEditSetFocus(pOldWnd ? pOldWnd->GetSafeHwnd() : nullptr);
    Default();
    SetSel(0, 0);
    SendMessage(EM_SCROLLCARET);
    PostMessage(EM_SETSEL, 0, -1);
}

void CQVTControlEditCtrl::OnKillFocus(CWnd* /*pNewWnd*/)
{
    m_bComposited = FALSE;
    Default();
    if (m_pHost)
        m_pHost->OnEditKillFocus();
}

void CQVTControlEditCtrl::OnDestroy()
{
    if (m_pHost)
        m_pHost->OnEditDestroy(GetEditText());
    Default();
}

void CQVTControlEditCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    CQVTCommandBar* pBar = GetHostBar();
    if (pBar && pBar->GetSafeHwnd())
    {
        MapWindowPoints(pBar, &point, 1);
        pBar->SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
    }
}

void CQVTControlEditCtrl::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    CQVTCommandBar* pBar = GetHostBar();
    if (pBar && pBar->IsCustomizeMode())
    {
        MapWindowPoints(pBar, &point, 1);
        GetHostControl()->OnClick(FALSE, point);
        return;
    }
    Default();
}

void CQVTControlEditCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    CQVTCommandBar* pBar = GetHostBar();
    if (pBar && pBar->IsCustomizeMode())
    {
        MapWindowPoints(pBar, &point, 1);
        pBar->SendMessage(WM_RBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
        return;
    }
    CQVTControl* pControl = GetHostControl();
    if (pControl)
        pControl->SetFocused(TRUE);
    CPoint ptScreen(point);
    ClientToScreen(&ptScreen);
    if (!ShowContextMenu(pControl, ptScreen))
        Default();
}

void CQVTControlEditCtrl::OnContextMenu(CWnd* /*pWnd*/, CPoint /*point*/) {}

void CQVTControlEditCtrl::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    CQVTControl* pControl = GetHostControl();
    if (nChar == VK_RETURN && pControl && ::GetFocus() == GetSafeHwnd())
    {
        pControl->OnExecute();
        return;
    }
    Default();
}

BOOL CQVTControlEditCtrl::OnEditChange()
{
    if (!m_pHost)
        return FALSE;
    m_pHost->OnEditTextChange(m_bSettingText);
    if (GetSafeHwnd())
        SetMargins(0, 0);
    return FALSE;
}

void CQVTControlEditCtrl::OnEnable(BOOL /*bEnable*/)
{
    Invalidate();
}

LRESULT CQVTControlEditCtrl::OnImeStartComposition(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    m_bComposited = TRUE;
    return Default();
}

LRESULT CQVTControlEditCtrl::OnImeEndComposition(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    m_bComposited = FALSE;
    return Default();
}

void CQVTControlEditCtrl::OnPaint()
{
    Default();
    if (m_bGlass)
    {
        CClientDC dc(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        CQVTPaintManager::FillCompositeAlpha(&dc, rcClient);
    }
}

LRESULT CQVTControlEditCtrl::OnIsCommandBarEdit(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return TRUE;
}

void CQVTControlEditCtrl::OnEditCommand(UINT nID)
{
    if (nID == ID_EDIT_CUT || nID == ID_EDIT_COPY || nID == ID_EDIT_PASTE)
        ExecuteCommand(nID);
}

void CQVTControlEditCtrl::OnUpdateEditCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsCommandEnabled(pCmdUI->m_nID));
}
