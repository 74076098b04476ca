// Resource ids of the skinned-menu tests.
#pragma once

#define IDR_SKINMENU_MAIN 100
#define IDR_SKINMENU_LONG 101

#define ID_SKINMENU_OPEN 201
#define ID_SKINMENU_SAVE 202
#define ID_SKINMENU_ALPHA 203
#define ID_SKINMENU_BETA 204
#define ID_SKINMENU_PRINT 205
#define ID_SKINMENU_PREVIEW 206
#define ID_SKINMENU_QUIET 207
#define ID_SKINMENU_EXIT 208
#define ID_SKINMENU_UNDO 209
// The long menu's items are 301 to 360.
#define ID_SKINMENU_LONGFIRST 301
