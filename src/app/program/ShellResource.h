// Resource ids of the program's shell: message box, about box and the
// support texts.
#pragma once

#define IDS_START_FAILED 20990
#define IDS_VERSION 20025
#define IDS_DONATE 20108
#define IDS_BUTTON_ALL 20112
#define IDS_BUTTON_SKIP_ALL 20114

// The about box.
#define IDD_HELP 130
#define IDT_LICENSE 216
#define IDT_DESCRIPTION 217
#define IDC_HELP_CLOSE 1130
#define IDC_HELP_DONATE 1132
#define IDC_HELP_LICENSE 1133
#define IDC_HELP_CREDITS 1134
#define IDC_HELP_VERSION 1135
#define IDC_HELP_TEXT 1136
#define IDC_HELP_SUPPORT_LINK 1222
#define IDC_HELP_SITE_LINK 1223
#define IDC_HELP_LEGAL 1225
