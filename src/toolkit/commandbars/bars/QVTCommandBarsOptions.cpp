#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOptions, CQVTCmdTarget)

CQVTCommandBarsOptions::CQVTCommandBarsOptions(CQVTCommandBars* pCommandBars)
    : bAlwaysShowFullMenus(TRUE), bShowFullAfterDelay(TRUE), bToolBarScreenTips(TRUE),
      bToolBarAccelTips(FALSE), bLargeIcons(FALSE), bSyncFloatingBars(TRUE), bShowExpandButtonAlways(TRUE),
      bDblClickFloat(FALSE), bShowTextBelowIcons(FALSE), bAltDragCustomization(TRUE),
      bAutoHideUnusedPopups(TRUE), bDirty(FALSE), bShowPopupBarToolTips(FALSE),
      bShowContextMenuAccelerators(FALSE), animationType(0), bAutoUpdateShortcuts(TRUE), keyboardCuesUse(1),
      bShowDescriptions(TRUE), szIcons(0, 0), szLargeIcons(0, 0), szPopupIcons(0, 0),
      bUseNumPadMnemonics(FALSE), bUseSaveBits(TRUE), bDisableCommandIfNoHandler(TRUE),
      bWrapLargePopups(FALSE), bShowKeyboardTips(FALSE), bAutoScaleDpiGalleryItems(TRUE),
      bAutoScaleDpiToolbarIcons(FALSE), bAutoScaleDpiToolbarIconsModified(FALSE),
      m_pCommandBars(pCommandBars), m_nShowKeyboardCues(0)
{
    m_mapHiddenCommands.InitHashTable(10);
    m_mapUsedCommands.InitHashTable(10);
    EnableAutomation();
}

void CQVTCommandBarsOptions::ShowKeyboardCues(int nMode)
{
    m_nShowKeyboardCues = nMode;
    if (!m_pCommandBars)
        return;
    m_pCommandBars->m_bKeyboardCuesToggling = FALSE;
    m_pCommandBars->m_bKeyboardCuesVisible = nMode != 1;
    if (nMode != 2)
        return;
    BOOL bSystemCues = TRUE;
    if (::SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &bSystemCues, 0) && !bSystemCues)
    {
        m_pCommandBars->m_bKeyboardCuesToggling = TRUE;
        m_pCommandBars->m_bKeyboardCuesVisible = FALSE;
    }
}

void CQVTCommandBarsOptions::SetDpiScaling(BOOL bEnable)
{
    bAutoScaleDpiToolbarIcons = bEnable;
    bAutoScaleDpiToolbarIconsModified = TRUE;
}

BOOL CQVTCommandBarsOptions::IsDpiScalingEnabled() const
{
    if (bAutoScaleDpiToolbarIconsModified)
        return bAutoScaleDpiToolbarIcons;
    return CQVTDpiScaler::IsImageScalingEnabled();
}
