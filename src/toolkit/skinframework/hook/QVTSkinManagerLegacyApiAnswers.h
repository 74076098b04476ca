// The replacements of the interception's window, colour, metric, scroll-bar,
// menu and theme rows: each keeps the signature of the function it stands
// for, answers from the loaded skin while its row is active and otherwise
// calls the function saved at installation.
#pragma once

#include <afxwin.h>

namespace QVTSkinAnswers {
// Row identifiers of the table.
enum : int
{
    kRegisterClassA = 91,
    kRegisterClassW = 92,
    kGetSysColor = 93,
    kGetSysColorBrush = 94,
    kDrawEdge = 95,
    kDrawFrameControl = 96,
    kSetScrollInfo = 97,
    kSetScrollPos = 98,
    kGetScrollInfo = 99,
    kEnableScrollBar = 100,
    kOpenThemeData = 101,
    kOpenThemeDataForDpi = 102,
    kOpenThemeDataEx = 103,
    kDrawThemeBackground = 104,
    kCloseThemeData = 105,
    kGetThemeColor = 106,
    kGetThemeInt = 107,
    kIsAppThemed = 108,
    kIsThemeActive = 109,
    kGetCurrentThemeName = 110,
    kGetThemeSysBool = 111,
    kGetThemeSysColor = 112,
    kGetThemePartSize = 113,
    kSystemParametersInfoA = 114,
    kSystemParametersInfoW = 115,
    kDefWindowProcA = 116,
    kDefWindowProcW = 117,
    kDefMDIChildProcA = 118,
    kDefMDIChildProcW = 119,
    kDefFrameProcA = 120,
    kDefFrameProcW = 121,
    kDefDlgProcA = 122,
    kDefDlgProcW = 123,
    kCallWindowProcA = 124,
    kCallWindowProcW = 125,
    kFillRect = 126,
    kDeleteObject = 127,
    kAdjustWindowRectEx = 128,
    kAdjustWindowRect = 129,
    kGetSystemMetrics = 130,
    kTrackPopupMenu = 131,
    kTrackPopupMenuEx = 132,
    kNtUserTrackPopupMenuEx = 133,
    kDrawMenuBar = 134,
    kGetMenuItemRect = 135,
    kDwmExtendFrameIntoClientArea = 136,
};

// The replacement of a row, null for the loader rows and unknown ids.
void* AFXAPI GetReplacement(int nId);

// Called by the theme-name answer between its check that a skin is loaded
// and its read of the skin's names (tests hold the thread there while a
// skin changes); null in the program.
extern void(AFXAPI* g_pfnThemeNameChecked)();
}  // namespace QVTSkinAnswers
