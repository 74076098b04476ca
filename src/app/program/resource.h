// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_MAINDLG 130
