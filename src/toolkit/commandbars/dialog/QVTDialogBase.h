// A dialog that carries command bars. The bars see every message before the
// dialog and its queued keys before its own translation; WM_SIZE (which the
// bars send when they change) places the dock bars along the edges and gives
// the rest of the client area to the pane of id AFX_IDW_PANE_FIRST, if any.
// Idle time in the modal loop reaches the bars as their command update.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/dialog/QVTDialogBaseImpl.h"

template <class TBase>
class CQVTDialogBase : public TBase, public CQVTDialogBaseImpl
{
public:
    CQVTDialogBase() = default;
    CQVTDialogBase(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : TBase(nIDTemplate, pParentWnd) {}
    CQVTDialogBase(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr) : TBase(lpszTemplateName, pParentWnd)
    {
    }

    CWnd* GetWindow() const override { return const_cast<CQVTDialogBase*>(this); }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (CQVTDialogBaseImpl::PreTranslateMessage(pMsg))
            return TRUE;
        return TBase::PreTranslateMessage(pMsg);
    }

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (CQVTDialogBaseImpl::OnWndMsg(message, wParam, lParam, pResult))
            return TRUE;
        if (message == WM_SIZE && wParam != SIZE_MINIMIZED)
            this->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
        if (message == WM_KICKIDLE)
            this->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        return TBase::OnWndMsg(message, wParam, lParam, pResult);
    }
};
