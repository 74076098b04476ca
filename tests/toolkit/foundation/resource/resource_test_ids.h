// Resource ids shared by the test program, its language module and its XML
// language files.
#pragma once
#define IDD_LANGTEST 300
#define IDD_DEFAULTS 301
#define IDC_LANG_LABEL 2001
#define IDC_LANG_EDIT 2002
#define IDR_LANGMENU 400
#define ID_LANG_OPEN 401
#define ID_LANG_EXIT 402
#define IDS_LANG_HELLO 500
#define IDS_LANG_PROGRAM_ONLY 501
#define IDS_BLOCK_FIRST 0x1230
#define IDS_BLOCK_FOURTH 0x1234
#define IDS_BLOCK_NEXT 0x1241
#define IDS_BLOCK_LAST 0x123F
#define IDS_BLOCK_NEXT_FIRST 0x1240
#define IDR_LANG_XAML 600
#define IDR_LANG_HTML 700
#define IDR_BLOB 800
#define IDR_EMPTY 801
#define IDC_LANG_CURSOR 900
