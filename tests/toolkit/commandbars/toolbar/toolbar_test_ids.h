// Ids of the toolbar tests' resources.
#pragma once

#define IDR_TOOLBAR24 300
#define IDR_TOOLBAR16 301
#define IDR_TOOLBAR_SHORT 302
#define IDR_TOOLBAR_NOBITMAP 303
#define IDR_TOOLBAR_OLDVERSION 304

#define ID_TB_FIRST 40300
#define ID_TB_SECOND 40301
#define ID_TB_THIRD 40302
