// The user's preferences for one set of command bars: menus, tips, icon
// sizes, keyboard cues, animation, customization gestures and DPI scaling.
// Every bar reads them through its command bars.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBars;
class CQVTPropExchange;

class CQVTCommandBarsOptions : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTCommandBarsOptions)

public:
    explicit CQVTCommandBarsOptions(CQVTCommandBars* pCommandBars);

    // 0 always shown, 1 never, 2 as the system's keyboard-cue setting says.
    void ShowKeyboardCues(int nMode);
    int GetShowKeyboardCues() const { return m_nShowKeyboardCues; }
    void SetDpiScaling(BOOL bEnable);
    BOOL IsDpiScalingEnabled() const;

    // The persisted options; with bUserOnly only those a user changes by
    // working (used commands and the animation). The exchange is written in
    // QVTCommandBarsOptionsExchange.cpp.
    void DoPropExchange(CQVTPropExchange* pPX, BOOL bUserOnly = FALSE);
    void Serialize(CArchive& ar) override;

    BOOL bAlwaysShowFullMenus;
    BOOL bShowFullAfterDelay;
    BOOL bToolBarScreenTips;
    BOOL bToolBarAccelTips;
    BOOL bLargeIcons;
    BOOL bSyncFloatingBars;
    BOOL bShowExpandButtonAlways;
    BOOL bDblClickFloat;
    BOOL bShowTextBelowIcons;
    BOOL bAltDragCustomization;
    BOOL bAutoHideUnusedPopups;
    BOOL bDirty;  // state the options save was changed
    BOOL bShowPopupBarToolTips;
    BOOL bShowContextMenuAccelerators;
    int animationType;
    BOOL bAutoUpdateShortcuts;
    int keyboardCuesUse;     // bit set: 2 no mnemonics, 1 every bar, 4 marked only
    BOOL bShowDescriptions;  // hot controls put their description in the status bar
    CSize szIcons;
    CSize szLargeIcons;
    CSize szPopupIcons;
    BOOL bUseNumPadMnemonics;
    BOOL bUseSaveBits;
    BOOL bDisableCommandIfNoHandler;
    BOOL bWrapLargePopups;
    CMap<UINT, UINT, BOOL, BOOL> m_mapHiddenCommands;
    CMap<UINT, UINT, BOOL, BOOL> m_mapUsedCommands;
    BOOL bShowKeyboardTips;
    BOOL bAutoScaleDpiGalleryItems;
    BOOL bAutoScaleDpiToolbarIcons;
    BOOL bAutoScaleDpiToolbarIconsModified;

protected:
    CQVTCommandBars* m_pCommandBars;
    int m_nShowKeyboardCues;
};
