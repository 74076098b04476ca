// The main window's ribbon: its tabs, groups and controls, the colour
// styles, and the layout that grows the window by what the bars take.
#include "app/mainwindow/MainDlg.h"

#include "app/formats/AudioFormats.h"
#include "app/mainwindow/MainWindowResource.h"
#include "app/mainwindow/RibbonLinkControls.h"
#include "app/program/SondrelApp.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/bar/QVTRibbonControls.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

// The ribbon's large buttons: caption below the image.
const int kLargeButtonStyle = 4;
const int kIconOnlyStyle = 2;
// Longest first item text of the Options menu taken as the caption.
const int kMenuTextLimit = 1024;

const UINT kFileImageIds[] = {ID_DELETE_FILES, ID_DELETE_ALL_FILES,         ID_DELETE_FILES_FROM_DISK,
                              ID_RENAME_FILE,  ID_RIBBON_UNUSED_FILE_IMAGE, ID_FILE_INFORMATION};
const UINT kHelpImageIds[] = {ID_DONATE, ID_NO_COMMAND_IMAGE, ID_ABOUT, ID_RIBBON_RECORD, ID_RECORD,
                              ID_STOP,   ID_PAUSE_CONTINUE};
const UINT kStyleImageIds[] = {IDR_RIBBON_STYLE, ID_STYLE_BLUE, ID_STYLE_BLACK, ID_STYLE_AQUA,
                               ID_STYLE_SILVER};
const UINT kLogoImageIds[] = {ID_RIBBON_LOGO};

CQVTControl* AddLargeButton(CQVTRibbonGroup* pGroup, int nType, int nId, BOOL bBeginGroup)
{
    CQVTControl* pControl = pGroup->Add(nType, nId);
    if (pControl)
    {
        pControl->SetStyle(kLargeButtonStyle);
        if (bBeginGroup)
            pControl->SetBeginGroup(TRUE);
    }
    return pControl;
}

// Stop's popup pauses with the command Continue goes on with: its Pause
// item gets its own description and tooltip, not Continue's.
void DescribePauseItem(CQVTControl* pStop)
{
    auto* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pStop);
    CQVTCommandBar* pBar = pPopup ? pPopup->GetCommandBar() : nullptr;
    CQVTControl* pPause = pBar ? pBar->GetControls()->FindControl(ID_PAUSE_CONTINUE) : nullptr;
    if (!pPause)
        return;
    CString strText = LoadAppString(IDS_PAUSE_RECORDING);
    int nBreak = strText.Find(_T('\n'));
    pPause->SetDescription(nBreak >= 0 ? strText.Left(nBreak) : strText);
    if (nBreak >= 0)
        pPause->SetTooltip(strText.Mid(nBreak + 1));
}

// Adds a control the group takes over; the caller's reference goes to it.
CQVTControl* AddOwnControl(CQVTRibbonGroup* pGroup, CQVTControl* pControl, int nId, DWORD dwFlags,
                           BOOL bBeginGroup)
{
    CQVTControl* pAdded = pGroup->AddControl(pControl, nId);
    if (pAdded)
    {
        pAdded->SetFlags(dwFlags);
        if (bBeginGroup)
            pAdded->SetBeginGroup(TRUE);
    }
    return pAdded;
}

}  // namespace

LPCTSTR AFXAPI CMainDlg::RibbonStyleIni(int nStyle)
{
    switch (nStyle)
    {
    case ID_STYLE_BLUE:
        return _T("OFFICE2007BLUE.INI");
    case ID_STYLE_BLACK:
        return _T("OFFICE2007BLACK.INI");
    case ID_STYLE_AQUA:
        return _T("OFFICE2007AQUA.INI");
    case ID_STYLE_SILVER:
        return _T("OFFICE2007SILVER.INI");
    default:
        return nullptr;
    }
}

void CMainDlg::ApplyRibbonStyle(int nStyle, BOOL bInitial)
{
    if (m_pCommandBars)
    {
        LPCTSTR lpszIni = RibbonStyleIni(nStyle);
        if (CQVTPaintManager* pPaintManager = m_pCommandBars->GetPaintManager())
            pPaintManager->SetImageHandle(AfxGetInstanceHandle(), lpszIni ? lpszIni : _T(""));
        m_pCommandBars->GetImageManager()->RefreshAll();
        if (!bInitial)
        {
            m_pCommandBars->RedrawCommandBars();
            SendMessage(WM_NCPAINT);
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
    }
    if (CSondrelApp* pApp = GetSondrelApp())
        pApp->m_nRibbonStyle = nStyle;
}

void CMainDlg::BuildRibbon()
{
    if (!m_pCommandBars)
        return;
    m_pCommandBars->GetCommandBarsOptions()->ShowKeyboardCues(2);
    if (CQVTToolTipContext* pContext = m_pCommandBars->GetToolTipContext())
        pContext->SetStyle(2);
    m_pCommandBars->SetTheme(qvtThemeRibbon);
    CSondrelApp* pApp = GetSondrelApp();
    ApplyRibbonStyle(pApp ? pApp->m_nRibbonStyle : ID_STYLE_BLACK, TRUE);

    m_pRibbonBar = DYNAMIC_DOWNCAST(
        CQVTRibbonBar, m_pCommandBars->Add(_T("The Ribbon"), qvtBarTop, RUNTIME_CLASS(CQVTRibbonBar)));
    if (!m_pRibbonBar)
        return;
    CQVTImageManager* pImages = m_pCommandBars->GetImageManager();
    // Laid out once, when every tab, group and control is in.
    m_pRibbonBar->LockLayout();
    BuildFilesTab(pImages);
    BuildFormatsTab(pImages);
    BuildHelpTab(pImages);
    AddTabRowControls();
    AddQuickAccessControls(pImages);
    m_pRibbonBar->UnlockLayout();

    m_pRibbonBar->SetMinVisibleWidth(0);
    m_pRibbonBar->EnableDocking(0);

    m_bLayoutEnabled = TRUE;
    RepositionBars(0xE800, 0xE8FF, 0);
    // The themed frame's borders and caption replace the system's: the
    // layout keeps the client's size from here on.
    m_szNonClient = NonClientSize();
    m_pRibbonBar->EnableFrameTheme();
    m_pRibbonBar->SetCurrentTab(1);
}

CSize CMainDlg::NonClientSize() const
{
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    return rcWindow.Size() - rcClient.Size();
}

// Files: managing the list, and Record.
void CMainDlg::BuildFilesTab(CQVTImageManager* pImages)
{
    m_pTabFiles = m_pRibbonBar->AddTab(IDS_TAB_FILES);
    if (m_pTabFiles)
    {
        if (CQVTRibbonGroup* pGroup = m_pTabFiles->AddGroup(IDS_GROUP_FILES_MANAGING))
        {
            AddLargeButton(pGroup, qvtControlButton, ID_DELETE_FILES, TRUE);
            AddLargeButton(pGroup, qvtControlButton, ID_DELETE_ALL_FILES, FALSE);
            AddLargeButton(pGroup, qvtControlButton, ID_DELETE_FILES_FROM_DISK, FALSE);
            AddLargeButton(pGroup, qvtControlButton, ID_RENAME_FILE, TRUE);
            AddLargeButton(pGroup, qvtControlButton, ID_FILE_INFORMATION, FALSE);
        }
        if (CQVTRibbonGroup* pGroup = m_pTabFiles->AddGroup(IDS_GROUP_AUDIO_RECORDING))
        {
            pGroup->SetControlsCentering(TRUE);
            AddLargeButton(pGroup, qvtControlButton, ID_RIBBON_RECORD, FALSE);
        }
    }
    pImages->SetIcons(IDB_RIBBON_FILES, kFileImageIds, _countof(kFileImageIds), CSize(0, 0));
}

// Formats: one button a format, and Record with Stop and Continue in its
// place while recording.
void CMainDlg::BuildFormatsTab(CQVTImageManager* pImages)
{
    m_pTabFormats = m_pRibbonBar->AddTab(IDS_TAB_FORMATS);
    if (m_pTabFormats)
    {
        m_pGroupFormats = m_pTabFormats->AddGroup(IDS_GROUP_SELECT_FORMAT);
        if (m_pGroupFormats)
        {
            for (int i = 0; i < AUDIO_FORMAT_COUNT; ++i)
                AddLargeButton(m_pGroupFormats, qvtControlButton,
                               g_AudioFormats[g_AudioFormatOrder[i]].nCommandId, FALSE);
        }
        if (CQVTRibbonGroup* pGroup = m_pTabFormats->AddGroup(IDS_GROUP_AUDIO_RECORDING))
        {
            pGroup->SetControlsCentering(TRUE);
            AddLargeButton(pGroup, qvtControlButton, ID_RECORD, TRUE);
            if (CQVTControl* pStop = AddLargeButton(pGroup, qvtControlSplitButtonPopup, ID_STOP, TRUE))
            {
                pStop->SetVisible(FALSE);
                DescribePauseItem(pStop);
            }
            if (CQVTControl* pContinue =
                    AddLargeButton(pGroup, qvtControlSplitButtonPopup, ID_PAUSE_CONTINUE, TRUE))
                pContinue->SetVisible(FALSE);
        }
    }
    UINT formatIds[AUDIO_FORMAT_COUNT];
    for (int i = 0; i < AUDIO_FORMAT_COUNT; ++i)
        formatIds[i] = static_cast<UINT>(g_AudioFormats[g_AudioFormatOrder[i]].nCommandId);
    pImages->SetIcons(IDB_RIBBON_FORMATS, formatIds, AUDIO_FORMAT_COUNT, CSize(0, 0));
}

// Help: the logo, donate, about and the three links.
void CMainDlg::BuildHelpTab(CQVTImageManager* pImages)
{
    m_pTabHelp = m_pRibbonBar->AddTab(IDS_TAB_HELP);
    if (m_pTabHelp)
    {
        if (CQVTRibbonGroup* pGroup = m_pTabHelp->AddGroup(IDS_GROUP_INFORMATION))
        {
            pGroup->SetControlsCentering(TRUE);
            AddOwnControl(pGroup, new CLogoControlBitmap(), ID_RIBBON_LOGO,
                          qvtFlagSkipFocus | qvtFlagManualUpdate | qvtFlagNoMovable, FALSE);
            if (CQVTControl* pDonate = AddLargeButton(pGroup, qvtControlButton, ID_DONATE, TRUE))
                pDonate->SetFlags(qvtFlagNoMovable);
            AddLargeButton(pGroup, qvtControlButton, ID_ABOUT, FALSE);
            const DWORD dwLinkFlags = qvtFlagManualUpdate | qvtFlagNoMovable;
            CQVTControl* pSite =
                AddOwnControl(pGroup, new CSiteControlHyperlink(), ID_SITE_LINK, dwLinkFlags, TRUE);
            AddOwnControl(pGroup, new CEmailControlHyperlink(), ID_SUPPORT_LINK, dwLinkFlags, FALSE);
            AddOwnControl(pGroup, new CUpdatesControlHyperlink(), ID_UPDATES_LINK, dwLinkFlags, FALSE);
            if (pSite)
            {
                // "Go to official site of %s\nVisit %s Site" names the maker.
                const CString strMaker = LoadAppString(IDS_MAKER_NAME);
                CString strCaption = pSite->GetCaption();
                strCaption.Replace(_T("%s"), strMaker);
                pSite->SetCaption(strCaption);
                CString strTooltip = pSite->GetTooltip();
                strTooltip.Replace(_T("%s"), strMaker);
                pSite->SetTooltip(strTooltip);
                CString strDescription = pSite->GetDescription();
                strDescription.Replace(_T("%s"), LoadAppString(IDS_MAKER_COMPANY));
                pSite->SetDescription(strDescription);
            }
        }
    }
    pImages->SetIcons(IDB_RIBBON_LOGO, kLogoImageIds, _countof(kLogoImageIds), CSize(0, 0));
    pImages->SetIcons(IDB_RIBBON_HELP, kHelpImageIds, _countof(kHelpImageIds), CSize(0, 0));
}

// The Options popup and About beside the tabs.
void CMainDlg::AddTabRowControls()
{
    CQVTControls* pBarControls = m_pRibbonBar->GetControls();
    if (CQVTControlPopup* pOptions =
            DYNAMIC_DOWNCAST(CQVTControlPopup, pBarControls->Add(new CQVTControlPopup(), IDR_RIBBON_OPTIONS)))
    {
        pOptions->SetFlags(qvtFlagRightAlign);
        CString strCaption;
        CMenu menu;
        if (QVTResourceManager()->LoadMenu(&menu, IDR_RIBBON_OPTIONS))
        {
            WCHAR szText[kMenuTextLimit] = {};
            if (::GetMenuStringW(menu.GetSafeHmenu(), 0, szText, kMenuTextLimit, MF_BYPOSITION) > 0)
                strCaption = szText;
            strCaption.Trim();
            if (CMenu* pSubMenu = menu.GetSubMenu(0))
                pOptions->SetPopupFromMenu(pSubMenu);
            menu.DestroyMenu();
        }
        pOptions->SetCaption(strCaption.IsEmpty() ? CString(_T("Options")) : strCaption);
    }
    if (CQVTControl* pAbout = pBarControls->AddByType(qvtControlButton, ID_ABOUT))
        pAbout->SetFlags(qvtFlagRightAlign);
}

// The Style popup in the quick-access area.
void CMainDlg::AddQuickAccessControls(CQVTImageManager* pImages)
{
    if (CQVTRibbonQuickAccessControls* pQuickAccess = m_pRibbonBar->GetQuickAccessControls())
    {
        if (CQVTControl* pStyle = pQuickAccess->AddByType(qvtControlPopup, IDR_RIBBON_STYLE))
        {
            pStyle->SetStyle(kIconOnlyStyle);
            pStyle->SetFlags(qvtFlagNoMovable);
        }
        pQuickAccess->CreateOriginalControls();
    }
    pImages->SetIcons(IDB_RIBBON_STYLES, kStyleImageIds, _countof(kStyleImageIds), CSize(0, 0));
}

void CMainDlg::LayoutBars()
{
    if (!m_bLayoutEnabled || m_bLayoutBusy || IsIconic())
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    m_bLayoutBusy = TRUE;
    CRect rcRemain;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rcRemain, &rcClient);
    const CRect rcInsets(rcRemain.left - rcClient.left, rcRemain.top - rcClient.top,
                         rcClient.right - rcRemain.right, rcClient.bottom - rcRemain.bottom);
    // A frame drawn by the bars' theme has borders and a caption of its
    // own, which change with the status bar merged into it: the window
    // follows, so that the client keeps its size.
    const CSize szNonClient = NonClientSize();
    const BOOL bZoomed = IsZoomed();
    if (!bZoomed && m_szNonClient != CSize(0, 0) && szNonClient != m_szNonClient)
    {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        rcWindow.right += szNonClient.cx - m_szNonClient.cx;
        rcWindow.bottom += szNonClient.cy - m_szNonClient.cy;
        m_szNonClient = szNonClient;
        if (GetStyle() & WS_CHILD)
            GetParent()->ScreenToClient(&rcWindow);
        MoveWindow(rcWindow, TRUE);
        GetClientRect(&rcClient);
    }
    if (!bZoomed)
        m_szNonClient = szNonClient;
    if (rcInsets != m_rcBarInsets)
    {
        const int dxLeft = rcInsets.left - m_rcBarInsets.left;
        const int dyTop = rcInsets.top - m_rcBarInsets.top;
        const CSize szGrowth(dxLeft + rcInsets.right - m_rcBarInsets.right,
                             dyTop + rcInsets.bottom - m_rcBarInsets.bottom);
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        rcWindow.right += szGrowth.cx;
        rcWindow.bottom += szGrowth.cy;
        MoveControlsToSize(CSize(dxLeft, dyTop));
        m_szInit += szGrowth;
        m_szMin += szGrowth;
        m_rcBarInsets = rcInsets;
        if (GetStyle() & WS_CHILD)
            GetParent()->ScreenToClient(&rcWindow);
        MoveWindow(rcWindow, TRUE);
    }
    m_rcBarInsets = rcInsets;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bLayoutBusy = FALSE;
}
