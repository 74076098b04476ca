// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME 128

// Message box titles.
#define IDS_TITLE_INFORMATION 20001
#define IDS_TITLE_CONFIRMATION 20002
#define IDS_TITLE_ERROR 20004
