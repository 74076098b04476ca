#include "tests/toolkit/ribbon/frame/ribbon_frame_host.h"

#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"

void CFrameHost::ResetFrame(int cx, int cy)
{
    Reset();
    m_commands.clear();
    m_menus.clear();
    m_nMenusOffered = 0;
    m_nCustomizeNotifies = 0;
    m_nDragControlChanges = 0;
    m_notifies.clear();
    GetCommandBars()->GetCommandBarsOptions()->bShowKeyboardTips = TRUE;
    CQVTRibbonQuickAccessControls* pQuickAccess = m_pRibbon->GetQuickAccessControls();
    for (int i = 0; i < kQuickAccessCount; ++i)
    {
        CQVTControl* pControl = pQuickAccess->AddByType(qvtControlButton, kFirstQuickAccessId + i);
        CString strCaption;
        strCaption.Format(_T("Command %d"), i + 1);
        pControl->SetCaption(strCaption);
        // Icons of the ribbon's commands keep the buttons small.
        pControl->SetIconId(ID_RIBBON_RECORD + i % (ID_RIBBON_ABOUT - ID_RIBBON_RECORD + 1));
        pControl->SetStyle(qvtButtonIcon);
    }
    pQuickAccess->CreateOriginalControls();
    ResizeClient(cx, cy);
    PumpHost(30);
}

CQVTControl* CFrameHost::GetQuickAccess(int nIndex) const
{
    return m_pRibbon->GetQuickAccessControls()->GetAt(nIndex);
}

CQVTControl* CFrameHost::GetCustomizeButton() const
{
    return m_pRibbon->GetControls()->FindControl(QVT_ID_RIBBONCONTROLQUICKACCESS);
}

CQVTControl* CFrameHost::GetMoreButton() const
{
    return m_pRibbon->GetControls()->FindControl(QVT_ID_RIBBONCONTROLQUICKACCESSMORE);
}

CQVTPopupBar* CFrameHost::GetOpenPopup(CQVTControl* pControl) const
{
    CQVTPopupBar* pPopup = pControl ? DYNAMIC_DOWNCAST(CQVTPopupBar, pControl->GetCommandBar()) : nullptr;
    return pPopup && pPopup->IsVisible() ? pPopup : nullptr;
}

CRect CFrameHost::ScreenRectOf(CQVTControl* pControl) const
{
    CRect rc = pControl->GetRect();
    pControl->GetParent()->ClientToScreen(&rc);
    return rc;
}

BOOL CFrameHost::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == QVTWM_TOOLBARSCONTEXTMENU && lParam)
    {
        CQVTCommandBar* pMenu = reinterpret_cast<CQVTCommandBar*>(lParam);
        std::vector<int> ids;
        for (int i = 0; i < pMenu->GetControlCount(); ++i)
            if (pMenu->GetControl(i)->IsVisible())
                ids.push_back(pMenu->GetControl(i)->GetID());
        m_menus.push_back(ids);
        ++m_nMenusOffered;
    }
    if (message == QVTWM_CONTROLNOTIFY && wParam == 9607)
        ++m_nCustomizeNotifies;
    if (message == QVTWM_CONTROLNOTIFY && lParam)
        m_notifies.emplace_back(reinterpret_cast<NMHDR*>(lParam)->code, static_cast<int>(wParam));
    if (message == QVTWM_DRAGCONTROLCHANGED)
        ++m_nDragControlChanges;
    return CRibbonHost::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CFrameHost::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The test commands, the customize command and the recent files.
    const BOOL bTestCommand = (nID >= 3301 && nID < 3500) || nID == 9607u || (nID >= 57616u && nID < 57632u);
    if (bTestCommand && static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI)
    {
        static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
        return TRUE;
    }
    if (bTestCommand && nCode == CN_COMMAND)
    {
        if (!pHandlerInfo)
            m_commands.push_back(static_cast<int>(nID));
        return TRUE;
    }
    return CRibbonHost::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
