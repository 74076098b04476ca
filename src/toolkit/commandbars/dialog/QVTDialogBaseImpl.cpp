#include "toolkit/commandbars/dialog/QVTDialogBaseImpl.h"

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"
#include "toolkit/commandbars/shortcuts/QVTShortcutManager.h"

CQVTDialogBaseImpl::CQVTDialogBaseImpl() : m_pCommandBars(nullptr) {}

CQVTDialogBaseImpl::~CQVTDialogBaseImpl()
{
    if (m_pCommandBars)
        m_pCommandBars->InternalRelease();
    m_pCommandBars = nullptr;
}

BOOL CQVTDialogBaseImpl::InitCommandBars(CRuntimeClass* pCommandBarsClass)
{
    if (!pCommandBarsClass)
        pCommandBarsClass = RUNTIME_CLASS(CQVTCommandBars);
    if (m_pCommandBars)
    {
        m_pCommandBars->InternalRelease();
        m_pCommandBars = nullptr;
    }
    CObject* pObject = pCommandBarsClass->CreateObject();
    m_pCommandBars = DYNAMIC_DOWNCAST(CQVTCommandBars, pObject);
    if (!m_pCommandBars)
    {
        delete pObject;
        return FALSE;
    }
    m_pCommandBars->SetSite(GetWindow());
    m_pCommandBars->EnableDocking();
    return TRUE;
}

void CQVTDialogBaseImpl::SaveCommandBars(LPCTSTR lpszProfileName)
{
    if (!m_pCommandBars)
        return;
    m_pCommandBars->SaveOptions(lpszProfileName);
    m_pCommandBars->WriteLayoutState(lpszProfileName, TRUE);
    m_pCommandBars->GetShortcutManager()->SaveAccelerators(lpszProfileName);
}

void CQVTDialogBaseImpl::LoadCommandBars(LPCTSTR lpszProfileName, BOOL bSilent)
{
    if (!m_pCommandBars)
        return;
    m_pCommandBars->LoadOptions(lpszProfileName);
    m_pCommandBars->ReadLayoutState(lpszProfileName, bSilent);
    m_pCommandBars->GetShortcutManager()->LoadAccelerators(lpszProfileName);
}

BOOL CQVTDialogBaseImpl::PreTranslateMessage(MSG* pMsg)
{
    // Typing in a command-bar edit reaches it untouched, except for Tab,
    // Enter and Escape.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && pMsg->wParam != VK_TAB &&
        pMsg->wParam != VK_RETURN && pMsg->wParam != VK_ESCAPE)
    {
        CWnd* pFocus = CWnd::FromHandlePermanent(::GetFocus());
        if (pFocus && pFocus->IsKindOf(RUNTIME_CLASS(CQVTCommandBarEditCtrl)))
            return FALSE;
    }
    return m_pCommandBars ? m_pCommandBars->PreTranslateFrameMessage(pMsg) : FALSE;
}

BOOL CQVTDialogBaseImpl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return m_pCommandBars ? m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult) : FALSE;
}
