#include "toolkit/commandbars/dialog/QVTDialogBaseImpl.h"

#include "toolkit/commandbars/bars/QVTCommandBars.h"

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

void CQVTDialogBaseImpl::SaveCommandBars(LPCTSTR)
{
    if (!m_pCommandBars)
        return;
    // The options ("%s-Options"), the layout of the customized bars and the
    // keyboard shortcuts are saved here, in this order, once the options,
    // layout state and shortcut packages exist.
}

void CQVTDialogBaseImpl::LoadCommandBars(LPCTSTR, BOOL)
{
    if (!m_pCommandBars)
        return;
    // The options, the layout and the keyboard shortcuts are loaded here, in
    // this order, once those packages exist.
}

BOOL CQVTDialogBaseImpl::PreTranslateMessage(MSG* pMsg)
{
    // Typing in a command-bar edit reaches it untouched, except for Tab,
    // Enter and Escape, once such edits exist.
    return m_pCommandBars ? m_pCommandBars->PreTranslateFrameMessage(pMsg) : FALSE;
}

BOOL CQVTDialogBaseImpl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return m_pCommandBars ? m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult) : FALSE;
}
