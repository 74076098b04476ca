// The numbers command bars share with their sites, their controls and the
// paint managers: positions, bar and control kinds, flags, and the private
// messages a bar sends its site window.
#pragma once

#include <afxwin.h>

class CQVTCommandBar;
class CQVTControl;

// The schema of new layout blocks; the serializable bar and control classes
// carry it in their class records, which tell a loaded block's age.
const UINT QVT_LAYOUT_SCHEMA = 43;

enum QVTBarPosition
{
    qvtBarTop = 0,
    qvtBarBottom = 1,
    qvtBarLeft = 2,
    qvtBarRight = 3,
    qvtBarFloating = 4,
    qvtBarPopup = 5,
    qvtBarListBox = 6,  // not registered as a drop target
    qvtBarNone = 7
};

enum QVTBarType
{
    qvtBarTypeMenuBar = 0,
    qvtBarTypeNormal = 1,
    qvtBarTypePopup = 2,
    qvtBarTypeRibbon = 3
};

enum QVTControlType
{
    qvtControlError = 0,
    qvtControlButton = 1,
    qvtControlPopup = 2,
    qvtControlButtonPopup = 3,
    qvtControlSplitButtonPopup = 4,
    qvtControlComboBox = 5,
    qvtControlEdit = 6,
    qvtControlCustom = 7,
    qvtControlLabel = 8,
    qvtControlCheckBox = 9,
    qvtControlGallery = 10,
    qvtControlRadioButton = 11
};

enum QVTButtonStyle
{
    qvtButtonAutomatic = 0,
    qvtButtonCaption = 1,
    qvtButtonIcon = 2,
    qvtButtonIconAndCaption = 3,
    qvtButtonIconAndCaptionBelow = 4,
    qvtButtonCaptionAndDescription = 5
};

// Reasons a control is hidden; any one hides it.
enum QVTHideFlags
{
    qvtHideGeneric = 1,
    qvtHideWrap = 2,  // did not fit into its bar
    qvtHideDockingPosition = 4,
    qvtHidePopup = 8,
    qvtHideCustomize = 16,
    qvtHideExpand = 32,  // rarely used
    qvtHideDocTemplate = 64,
    // Reasons a copy does not inherit.
    qvtHideTransient = qvtHideWrap | qvtHideDockingPosition | qvtHidePopup | qvtHideExpand
};

// A control's behaviour flags.
enum QVTControlFlags
{
    qvtFlagRightAlign = 1,
    qvtFlagSkipFocus = 2,
    qvtFlagLeftPopup = 4,
    qvtFlagManualUpdate = 8,
    qvtFlagNoMovable = 16,
    qvtFlagControlStretched = 32,
    qvtFlagShowPopupBarTip = 64,
    qvtFlagWrapRow = 128,
    qvtFlagInactiveTabColor = 256
};

// Bits of a bar's "Flags" word read by the layouts and the themes.
enum QVTBarFlags
{
    qvtBarFlagFlat = 0x80,
    qvtBarFlagStretchNeighbours = 0x100000,
    qvtBarFlagAdaptiveLayout = 0x200000
};

// Results of a customize-mode drop: cancelled leaves the source its control.
enum QVTDropEffect : DWORD
{
    qvtDropEffectNone = 0,
    qvtDropEffectCopy = 1,
    qvtDropEffectMove = 2,
    qvtDropEffectCancelled = 5
};

// A bar's style bit that shows its gripper.
const DWORD QVT_CBRS_GRIPPER = 0x400000;

// Layout mode bits beyond the framework's LM_ flags.
enum QVTLayoutModeFlags
{
    qvtLayoutHideWrap = 0x80,
    qvtLayoutWrapGroups = 0x100
};

// Messages a bar sends its site.
enum QVTCommandBarsMessage : UINT
{
    QVTWM_TOOLBARVISIBLECHANGED = 0x2855,
    QVTWM_HOTCONTROLCHANGED = 0x2856,
    QVTWM_DRAGCONTROLCHANGED = 0x2857,
    QVTWM_MENUBARTRACKING = 0x2858,
    QVTWM_CONTROLRBUTTONUP = 0x2859,
    QVTWM_TRACKINGKEY = 0x285A,
    QVTWM_INITPOPUP = 0x285B,
    QVTWM_TOOLBARSCONTEXTMENU = 0x285C,
    QVTWM_POPUPCLOSED = 0x285D,
    QVTWM_BEFORECREATECONTROL = 0x285E,
    QVTWM_AFTERCREATECONTROL = 0x285F,
    QVTWM_MDICHILDICON = 0x2860,
    QVTWM_CREATECOMMANDBAR = 0x2861,
    QVTWM_CONTROLNOTIFY = 0x2862,
    QVTWM_RESETCOMMANDBAR = 0x2864,
    QVTWM_TEAROFFTOOLBAR = 0x2867
};

// The notification code of a control that executes its command.
const UINT QVT_CN_EXECUTE = 100;

// The record of QVTWM_CONTROLNOTIFY: the NMHDR part holds no window, the
// control id and the code.
struct NMQVTCONTROL : public NMHDR
{
    CQVTControl* pControl;
};

// The record of QVTWM_BEFORECREATECONTROL and QVTWM_AFTERCREATECONTROL: the
// site may change the type, caption, id and style, or hand back a control of
// its own.
struct QVTCREATECONTROLSTRUCT
{
    UINT nID;
    CQVTControl* pControl;
    BOOL bToolBar;
    int nIndex;
    CMenu* pMenu;
    CQVTCommandBar* pCommandBar;
    CString strCaption;
    int controlType;
    int buttonStyle;
    BOOL bBeginGroup;
};

// Command ids with a fixed meaning in the bars.
enum QVTCommandBarsIds : UINT
{
    QVT_ID_WINDOWLIST = 35000,
    QVT_ID_CUSTOMIZE = 35001,
    QVT_ID_WORKSPACE_ACTIONS = 35002,
    QVT_ID_FILE_MRU = 35003,
    QVT_ID_TOOLBARLIST = 59392,
    QVT_ID_DOCKBAR_TOP = 59419,
    QVT_ID_DOCKBAR_BOTTOM = 59422,
    QVT_ID_DOCKBAR_LEFT = 59420,
    QVT_ID_DOCKBAR_RIGHT = 59421,
    QVT_ID_FILE_MRU_FIRST = 57616,
    QVT_ID_OLE_VERB_FIRST = 57872,
    QVT_ID_MDI_FIRSTCHILD = 65280,
    QVT_ID_ADDREMOVE_BUTTONS = 9122,
    QVT_ID_TOOLKIT_FIRST = 9100,
    QVT_ID_TOOLKIT_LAST = 9299,
    QVT_ID_REBAR = 59396,
    QVT_ID_HELP = 57670,
    QVT_ID_MAX_ACTION = 268435455
};

// The record of QVTWM_CREATECOMMANDBAR: the site may hand back a bar of its
// own for a popup control, a toolbar's expand button or a bar the user
// makes.
struct QVTCREATEBARSTRUCT
{
    CQVTCommandBar* pCommandBar;  // out: the site's bar (in: the bar being made)
    void* pReserved;
    BOOL bPopup;            // a popup bar is asked for
    BOOL bFloating;         // a bar the user makes floats
    LPCTSTR lpcstrCaption;  // the control's caption or the bar's title
    UINT nID;
    int nType;             // 1: the list of a toolbar's expand button
    CString strParameter;  // the control's parameter; the site may change it
};
