// Resource ids shared by the program's resources and the language module.
#pragma once
#define IDD_ABOUT 201
#define IDC_ABOUT_TEXT 2001
#define IDR_MAINMENU 202
#define IDI_MAIN 203
#define IDR_BLOB 204
#define ID_FILE_OPEN_TEST 40001
#define ID_FILE_EXIT_TEST 40002
#define IDS_HELLO 300
#define IDS_ONLY_IN_PROGRAM 301
#define IDS_SECOND_BLOCK 333
