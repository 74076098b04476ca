// Ids of the menu-bar tests' resources.
#pragma once

#define IDR_MB_MAIN 300
#define IDR_MB_MDI 301
#define IDR_MB_DRAWING 302
#define IDR_MB_TEXT 303

#define ID_MB_NEW 100
#define ID_MB_OPEN 101
#define ID_MB_EXIT 102
#define ID_MB_CLOSE 103
#define ID_MB_COPY 110
#define ID_MB_PASTE 111
#define ID_MB_STATUS 120
#define ID_MB_LINE 130
#define ID_MB_BOLD 140
#define ID_MB_WINDOW_NEW 0xE130
