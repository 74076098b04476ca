// Ids of the resources the command-bar and theme tests share.
#pragma once

#define IDD_TEST_SITE 100
#define IDR_TEST_MENU 200
#define IDR_TEST_MENU_EDGES 201
#define IDR_TEST_MENU_HUGE 202

#define ID_TEST_NEW 40001
#define ID_TEST_OPEN 40002
#define ID_TEST_BOLD 40003
#define ID_TEST_GRAY 40004
#define ID_TEST_BREAK 40005
#define ID_TEST_SAVE 40006
#define ID_TEST_PRINT 40007
#define ID_TEST_SUBITEM 40008
